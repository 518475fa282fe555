// Shared set-up of the design data tests: a small post database with its design results and a
// model linked to a view's control seen in plan, owning an engine whose protected members the
// tests call.
//
// Model (plan extent 40 m x 10 m, every node at z = 3 except the column bases at z = 0):
//   beam 20 (201) node 1 (0,0,3) -> node 2 (8,0,3); beam 21 (205) node 2 -> node 3 (16,0,3);
//   columns 10 (101) node 6 (0,0,0) -> 1, 11 (101) node 5 (40,10,0) -> 4 (40,10,3), 12 (101)
//   node 7 (16,0,0) -> 3 without design result; slab 30 (301) nodes 1, 2, 3 without result.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/GViewCamera.h"
#include "module/designdata/CFigureDesignData.h"
#include "module/figures/CPVXFigure.h"
#include "module/model/I_PVXModel.h"
#include "tests/module/model/LinkedModelSupport.h"

// The engine with the members the tests call made public.
class DesignDataProbe : public CFigureDesignData {
public:
    using CFigureDesignData::CFigureDesignData;
    using CFigureDesignData::BeamAsVMakePolygon;
    using CFigureDesignData::BSfdBmdMakePolyline;
    using CFigureDesignData::CalcBForcValue;
    using CFigureDesignData::DrawBeamSfdBmd_Envelope;
    using CFigureDesignData::DrawContourList;
    using CFigureDesignData::GetBeamSteel;
    using CFigureDesignData::GetCentPt;
    using CFigureDesignData::GetLclVec4BeamDgrm2D;
    using CFigureDesignData::GetMaxMembBForc;
    using CFigureDesignData::GetMemberCentPt;
    using CFigureDesignData::GetMinMembBForc;
    using CFigureDesignData::GetRotateAngleBy2Points;
    using CFigureDesignData::MakeAxialCompRatioDataList;
    using CFigureDesignData::MakeBeamBM_SFDataList_Envelope;
    using CFigureDesignData::MakeBeamSteelDataList;
    using CFigureDesignData::MinMaxMembBForc;
    using CFigureDesignData::DrawBeamDgnSteelDiagram;
    using CFigureDesignData::DrawBeamDeformDiagram;
};

class DesignDataView : public GRenderView {};

namespace designdata {

enum : UINT { kColA = 10, kColB = 11, kColNoResult = 12, kBeamA = 20, kBeamB = 21, kSlab = 30 };

// Station rows of beam 20 and 21 (top, bottom, stirrups; torsion 0).
constexpr double kTopA[9] = {9, 1, 2, 5, 3, 5, 1, 0, 10};
constexpr double kBotA[9] = {0, 4, 4, 1, 1, 1, 1, 1, 0};
constexpr double kAsvA[9] = {1, 1, 1, 1, 1, 1, 1, 7, 1};
constexpr double kTopB[9] = {2, 2, 2, 2, 2, 2, 2, 2, 2};
constexpr double kBotB[9] = {0, 1, 2, 3, 4, 6, 5, 3, 12};
constexpr double kAsvB[9] = {3, 3, 3, 3, 3, 3, 3, 3, 3};

inline T_RBEM_D BeamResult(const double* top, const double* bot, const double* asv) {
    T_RBEM_D r;
    for (int k = 0; k < 9; ++k) {
        r.base[k].dAsTop = top[k];
        r.base[k].dAsBot = bot[k];
        r.base[k].dAsv = asv[k];
    }
    r.shear[0] = {30.0, 2.0};
    r.shear[1] = {50.0, 4.0};
    return r;
}

inline T_RCOL_D ColumnResult(double ratio1, double ratio2, double n, double m) {
    T_RCOL_D r;
    r.part[0] = {n, ratio1};
    r.part[1] = {n, ratio2};
    r.part[2] = {10.0, 0.05};
    r.part[3] = {12.0, 0.06};
    r.nPartLoad[0] = 101;
    r.nPartLoad[1] = 102;
    r.dNmax = n;
    r.dMmax = m;
    return r;
}

// Builds the model's database; bDesign false leaves the design tables out.
inline void BuildDesignModel(PostDBBuilder& b) {
    const double nodes[][3] = {{0, 0, 3}, {8, 0, 3}, {16, 0, 3}, {40, 10, 3}, {40, 10, 0}, {0, 0, 0}, {16, 0, 0}};
    for (UINT i = 0; i < 7; ++i) b.AddNode(i + 1, nodes[i][0], nodes[i][1], nodes[i][2]);
    T_PSECT_D sect;
    sect.Initialize();
    sect.type = 1;
    sect.dim[0] = 0.3;
    sect.dim[1] = 0.6;
    b.AddSect(1, sect);
    b.AddElem(101, PELEM_KIND_FRAME, 101, {6, 1}, 1, 1);
    b.AddElem(102, PELEM_KIND_FRAME, 101, {5, 4}, 1, 1);
    b.AddElem(103, PELEM_KIND_FRAME, 101, {7, 3}, 1, 1);
    b.AddElem(201, PELEM_KIND_FRAME, 201, {1, 2}, 1, 1);
    b.AddElem(202, PELEM_KIND_FRAME, 205, {2, 3}, 1, 1);
    b.AddMemb(kColA, 101, {6, 1}, {101});
    b.AddMemb(kColB, 101, {5, 4}, {102});
    b.AddMemb(kColNoResult, 101, {7, 3}, {103});
    b.AddMemb(kBeamA, 201, {1, 2}, {201});
    b.AddMemb(kBeamB, 205, {2, 3}, {202});
}

inline void AddDesignTables(PostDBBuilder& b) {
    b.Add<DBT_RBEM>(kBeamA, BeamResult(kTopA, kBotA, kAsvA));
    b.Add<DBT_RBEM>(kBeamB, BeamResult(kTopB, kBotB, kAsvB));
    b.Add<DBT_RCOL>(kColA, ColumnResult(0.4, 0.7, 900.0, 30.0));
    b.Add<DBT_RCOL>(kColB, ColumnResult(0.7, 0.2, 400.0, 12.0));
}

}  // namespace designdata

class DesignDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        Open(true, true);
    }
    // (Re)opens the model: bBeams false leaves the beams out of the member-key list, bDesign false
    // the design tables out of the database.
    void Open(bool bDesign, bool bBeams) {
        m_model.reset();
        PostDBBuilder b;
        designdata::BuildDesignModel(b);
        if (bDesign) designdata::AddDesignTables(b);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        LinkModelInView(*m_model, m_view.GetI_PVXCtrl(), &m_view, 800, 600, GViewCamera::VIEW_TOP);
        m_design = new DesignDataProbe(m_model.get());
        m_model->m_pDesignData = m_design;  // the model owns it
        CArray<UINT, UINT> keys;
        for (INT_PTR i = 0; i < m_model->m_arrAllMembKey.GetSize(); ++i) {
            const UINT k = m_model->m_arrAllMembKey[i];
            if (bBeams || (k != designdata::kBeamA && k != designdata::kBeamB)) keys.Add(k);
        }
        m_design->SetMemberKeys(keys);
    }
    void TearDown() override {
        m_model.reset();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    void SetFigureMode(int mode) { m_model->m_pFigure->m_nFigureMode = mode; }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    DesignDataView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    DesignDataProbe* m_design = nullptr;
};
