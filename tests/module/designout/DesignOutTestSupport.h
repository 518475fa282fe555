// Shared set-up of the design output tests: a small post database (two columns with sections,
// a beam, a one-node beam, a wall, two members of type 210, three slabs, design results, column
// forces of two load cases and their envelope), a model linked to a view's control seen in plan,
// and an engine whose protected members the tests may call.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/GViewCamera.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/designdata/CFigureDesignData.h"
#include "module/figures/CPVXFigure.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CRecordDC.h"
#include "tests/module/model/LinkedModelSupport.h"

// The engine with the members the tests call made public.
class TestDesignData : public CFigureDesignData {
public:
    using CFigureDesignData::CFigureDesignData;
    using CFigureDesignData::BSfdBmdMakePolygon;
    using CFigureDesignData::CalcBForcValue;
    using CFigureDesignData::CalcCForcValue;
    using CFigureDesignData::GetIJPosBForcMemb;
    using CFigureDesignData::GetLclVec4BeamDgrm2D;
    using CFigureDesignData::GetMaxMembBForc;
    using CFigureDesignData::GetMinMembBForc;
    using CFigureDesignData::MakeAreaSteelDrawingDataList;
    using CFigureDesignData::MakeCForcNumbers;
    using CFigureDesignData::MakeColumnForceDataList;
    using CFigureDesignData::MinMaxMembBForc;
};

class DesignOutView : public GRenderView {};

namespace designout {

// Member keys of the test model.
enum : UINT {
    kColA = 10,        // column (0,0,0)-(0,0,3)
    kColB = 11,        // column (6,0,0)-(6,0,3)
    kBeam = 20,        // beam (0,0,3)-(6,0,3)
    kOneNodeBeam = 21, // a beam with one node
    kWall = 22,        // wall, outline (0,4,0) (6,4,0) (6,4,3) (0,4,3)
    kWallBeam = 23,    // type 210 of an element of type 211, (0,4,3)-(6,4,3)
    kOther210 = 24,    // type 210 of an element of type 209
    kGradeBeam = 25,   // type 204, outline (0,0,3) (6,0,3) (6,0,0) (0,0,0)
    kSlabRect = 30,    // slab (0,0) (6,0) (6,4) (0,4)
    kSlabBad = 31,     // slab of three nodes with four edge values
    kSlabTri = 32,     // slab (6,0) (10,0) (6,4)
};
enum : UINT { kCaseA = 1, kCaseB = 2, kEnvelope = 3 };

}  // namespace designout

class DesignOutTest : public ::testing::Test {
protected:
    void SetUp() override {
        using namespace designout;
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        const double nodes[][3] = {{0, 0, 0}, {0, 0, 3}, {6, 0, 0}, {6, 0, 3}, {6, 4, 0}, {0, 4, 0},
                                   {6, 4, 3}, {0, 4, 3}, {10, 0, 0}};
        for (UINT i = 0; i < 9; ++i) b.AddNode(i + 1, nodes[i][0], nodes[i][1], nodes[i][2]);
        T_PSECT_D sect;
        sect.Initialize();
        sect.type = 1;
        sect.dim[0] = sect.dim[1] = 0.4;
        b.AddSect(1, sect);
        b.AddElem(101, PELEM_KIND_FRAME, 101, {1, 2}, 1, 1);
        b.AddElem(102, PELEM_KIND_FRAME, 101, {3, 4}, 1, 1);
        b.AddElem(103, PELEM_KIND_FRAME, 201, {2, 4}, 1, 1);
        b.AddElem(104, PELEM_KIND_WALL, 209, {6, 5, 7, 8}, 1, 1);
        b.AddElem(105, PELEM_KIND_WALL, 211, {8, 7}, 1, 1);
        b.AddElem(106, PELEM_KIND_WALL, 209, {8, 7}, 1, 1);
        b.AddMemb(kColA, 101, {1, 2}, {101});
        b.AddMemb(kColB, 101, {3, 4}, {102});
        b.AddMemb(kBeam, 201, {2, 4}, {103});
        b.AddMemb(kOneNodeBeam, 201, {2}, {103});
        b.AddMemb(kWall, 209, {6, 5, 7, 8}, {104});
        b.AddMemb(kWallBeam, 210, {8, 7}, {105});
        b.AddMemb(kOther210, 210, {8, 7}, {106});
        b.AddElem(107, PELEM_KIND_WALL, 204, {2, 4, 3, 1}, 1, 1);
        b.AddMemb(kGradeBeam, 204, {2, 4, 3, 1}, {107});
        const UINT slabNodes[3][4] = {{1, 3, 5, 6}, {1, 3, 5, 0}, {3, 9, 5, 0}};
        const UINT slabKeys[3] = {kSlabRect, kSlabBad, kSlabTri};
        for (int s = 0; s < 3; ++s) {
            T_PSLAB_D slab;
            for (UINT n : slabNodes[s])
                if (n) slab.aNode.Add(n);
            b.AddSlab(slabKeys[s], slab);
            b.AddMemb(slabKeys[s], 301, std::span<const UINT>(slab.aNode.GetData(), slab.aNode.GetSize()),
                      std::span<const UINT>());
        }
        AddDesignResults(b);
        AddColumnForces(b);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;

        m_model = std::make_unique<I_PVXModel>();
        LinkModelInView(*m_model, m_view.GetI_PVXCtrl(), &m_view, 800, 600, GViewCamera::VIEW_TOP);
        T_PVX_DOPT_NUMBER_D& num = M().m_pDispOpt->m_Number;
        num.m_nDecimals = 2;
        num.m_bExponent = 0;
        m_design = new TestDesignData(m_model.get());
        M().m_pDesignData = m_design;  // the model owns it
        m_design->SetMemberKeys(M().m_arrAllMembKey);
    }
    void TearDown() override {
        m_model.reset();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }

    // Column results: block values chosen so that each maximum sits in another block, factors of
    // kinds 1 and 2, and the stirrups of the middle zone. Beam and wall-beam results by zone;
    // wall blocks; slab edge values.
    static void AddDesignResults(PostDBBuilder& b) {
        using namespace designout;
        T_RCOL_D c;
        const double blocks[4][5] = {{100, 200, 30, 5, 6}, {150, 180, 30, 1, 1}, {120, 260, 25, 2, 2}, {90, 90, 40, 7, 7}};
        for (int k = 0; k < 4; ++k) c.base[k] = {blocks[k][0], blocks[k][1], blocks[k][2], blocks[k][3], blocks[k][4]};
        c.part[0] = {1500, 0.45};
        c.part[1] = {1400, 0.62};
        c.part[2] = {80, 0.1};
        c.part[3] = {70, 0.2};
        c.dNmax = 1500;
        c.dMmax = 85;
        c.shear[0] = {3.5, 4.5};
        c.shear[1] = {9, 8};
        b.Add<DBT_RCOL>(kColA, c);
        T_RBEM_D r;
        for (int k = 0; k < 9; ++k) r.base[k] = {10.0 + k, 20.0 + k, 30.0 + k, k % 2 ? 0.0 : 1.0 + k};
        r.shear[0] = {50, 0.7};
        r.shear[1] = {90, 1.1};
        b.Add<DBT_RBEM>(kBeam, r);
        b.Add<DBT_RBEM>(kOneNodeBeam, r);
        b.Add<DBT_RBEM>(kWallBeam, r);
        b.Add<DBT_RBEM>(kOther210, r);
        T_RWAL_D w;
        const double wb[4][2] = {{5, 300}, {6, 280}, {4, 320}, {6, 310}};
        for (int k = 0; k < 4; ++k) w.base[k] = {wb[k][0], wb[k][1]};
        b.Add<DBT_RWAL>(kWall, w);
        const double edges[3][4] = {{11, 12, 13, 14}, {21, 22, 23, 24}, {31, 32, 33, 0}};
        const int counts[3] = {4, 4, 3};
        const UINT keys[3] = {kSlabRect, kSlabBad, kSlabTri};
        for (int s = 0; s < 3; ++s) {
            T_RSLB_D sl;
            sl.dAsX = 100 + s;
            sl.dAsY = 200 + s;
            for (int e = 0; e < counts[s]; ++e) sl.aEdge.Add(edges[s][e]);
            b.Add<DBT_RSLB>(keys[s], sl);
        }
    }

    // Column forces of two cases and their envelope: component 0 of the i end 100 and -150,
    // component 1 50 and -20 (the envelope: maximum 100 / 50, minimum -150 / -20, larger
    // magnitude -150 / 50).
    static void AddColumnForces(PostDBBuilder& b) {
        using namespace designout;
        b.AddLoadCase(kCaseA, PLOAD_STATIC, "A");
        b.AddLoadCase(kCaseB, PLOAD_STATIC, "B");
        b.AddLoadComb(kEnvelope, PLCOM_ENVELOPE, "ENV",
                      {T_PLCOM_ENTRY{PLOAD_STATIC, kCaseA, 1.0}, T_PLCOM_ENTRY{PLOAD_STATIC, kCaseB, 1.0}});
        for (UINT col : {kColA, kColB}) {
            T_MBCL_D a, bb;
            a.Initialize();
            bb.Initialize();
            a.d[0][0] = 100;
            a.d[0][1] = 50;
            bb.d[0][0] = -150;
            bb.d[0][1] = -20;
            b.AddMbcl(kCaseA, col, a);
            b.AddMbcl(kCaseB, col, bb);
        }
    }

    I_PVXModel& M() { return *m_model; }
    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    TestDesignData& D() { return *m_design; }
    // Window point of a world point on the memory image.
    CPoint Win(const C3DPoint& p) { return Ctrl()->GetWorldToMemDCP2D(p); }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    DesignOutView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    TestDesignData* m_design = nullptr;
};
