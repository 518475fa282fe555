// Shared set-up of the reaction engine tests: a small project with supports, reactions, a raft of
// two plates and a beam on springs, a model linked to a render view the way the result view mode
// leaves it, and a reaction engine that records the contour calls it makes.
//
// The project (keys are chosen so that each role is easy to tell apart):
//   supports (type 1): nodes 1 (0,0,0), 2 (10,0,0), 3 (0,10,0), 4 (10,10,0); node 5 (5,5,0) type 2
//   raft member 501 (301): plates 101 on nodes 10, 11, 14, 13 and 102 on 11, 12, 15, 14
//     (4 m squares at y = 20..24), both on springs
//   beam member 502 (201): element 301 from node 20 (0,30,0) to 21 (8,30,0), a 1.0 x 0.6 m
//     rectangle, on springs
//   load cases 1 DL and 2 LL (static), 3 TH (time history); combinations 10 and 12
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/engines/CReactionEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXDataCtrls.h"
#include "platform/gdi/CRecordDC.h"
#include "tests/module/model/LinkedModelSupport.h"

namespace reactest {

// Reactions of load case 1 (FX, FY, FZ, MX, MY, MZ).
inline const T_REAC_D kReac1{3.0, 4.0, 0.0, 0.0, 0.0, 12.0};
inline const T_REAC_D kReac2{0.0, 0.0, -20.0, 0.0, 0.0, 0.0};
inline const T_REAC_D kReac3{0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
inline const T_REAC_D kReac4{-5.0, 0.0, 40.0, 1.0, 0.0, 0.0};
inline const T_REAC_D kReac5{0.0, 0.0, 7.0, 0.0, 0.0, 0.0};

// Spring pressures of load case 1: plates in their node order, the beam at its quarter points.
inline const double kPlate101[4] = {10.0, 20.0, 30.0, 40.0};   // nodes 10, 11, 14, 13
inline const double kPlate102[4] = {24.0, 60.0, 50.0, 36.0};   // nodes 11, 12, 15, 14
inline const double kBeam301[5] = {-8.0, -4.0, 0.0, 4.0, 2.0};
// Load case 2: the largest magnitude of plate 101 at its first node, negative.
inline const double kPlate101LL[4] = {-50.0, 10.0, 20.0, 30.0};
inline const double kPlate102LL[4] = {10.0, 10.0, 10.0, 10.0};

inline void AddSpring(PostDBBuilder& b, UINT elem, double width) {
    T_PESPR_D s;
    s.Initialize();
    s.elem = elem;
    s.kv = 2.0e4;
    s.width = width;
    b.Add<DBT_PESPR>(elem, s);
}

inline void AddSupport(PostDBBuilder& b, UINT node, int type) {
    T_PRTND_D s;
    s.Initialize();
    s.type = type;
    s.dof = 7;
    b.Add<DBT_PRTND>(node, s);
}

inline void AddPressure(PostDBBuilder& b, UINT lc, UINT elem, const double* v, int n) {
    T_STWS_D s;
    s.Initialize();
    for (int i = 0; i < n; ++i) s.d[i] = v[i];
    b.AddStws(lc, elem, s);
}

inline void BuildProject(PostDBBuilder& b) {
    b.AddNode(1, 0, 0, 0);
    b.AddNode(2, 10, 0, 0);
    b.AddNode(3, 0, 10, 0);
    b.AddNode(4, 10, 10, 0);
    b.AddNode(5, 5, 5, 0);
    b.AddNode(10, 0, 20, 0);
    b.AddNode(11, 4, 20, 0);
    b.AddNode(12, 8, 20, 0);
    b.AddNode(13, 0, 24, 0);
    b.AddNode(14, 4, 24, 0);
    b.AddNode(15, 8, 24, 0);
    b.AddNode(20, 0, 30, 0);
    b.AddNode(21, 8, 30, 0);
    b.AddElem(101, PELEM_KIND_PLATE, 301, {10, 11, 14, 13});
    b.AddElem(102, PELEM_KIND_PLATE, 301, {11, 12, 15, 14});
    T_PSECT_D sect;  // the beam's 1.0 x 0.6 m rectangle
    sect.Initialize();
    sect.type = 1;
    sect.dim[0] = 1.0;
    sect.dim[1] = 0.6;
    b.AddSect(1, sect);
    b.AddElem(301, PELEM_KIND_FRAME, 201, {20, 21}, 0, 1);
    b.AddMemb(501, 301, {10, 12, 15, 13}, {101, 102});
    b.AddMemb(502, 201, {20, 21}, {301});
    for (UINT n : {1u, 2u, 3u, 4u}) AddSupport(b, n, PRTND_SUPPORT);
    AddSupport(b, 5, PRTND_REVERSED);
    AddSpring(b, 101, 0.0);
    AddSpring(b, 102, 0.0);
    AddSpring(b, 301, 1.0);
    b.AddLoadCase(1, PLOAD_STATIC, "DL");
    b.AddLoadCase(2, PLOAD_STATIC, "LL");
    b.AddLoadCase(3, PLOAD_TIMEHISTORY, "TH");
    b.AddLoadComb(10, PLCOM_LINEAR, "1.2DL", {{PLOAD_STATIC, 1, 1.2}});
    b.AddLoadComb(12, PLCOM_LINEAR, "DL+LL", {{PLOAD_STATIC, 1, 1.0}, {PLOAD_STATIC, 2, 1.0}});
    const T_REAC_D* reac[5] = {&kReac1, &kReac2, &kReac3, &kReac4, &kReac5};
    for (UINT n = 1; n <= 5; ++n) b.AddReac(1, n, *reac[n - 1]);
    AddPressure(b, 1, 101, kPlate101, 4);
    AddPressure(b, 1, 102, kPlate102, 4);
    AddPressure(b, 1, 301, kBeam301, 5);
    AddPressure(b, 2, 101, kPlate101LL, 4);
    AddPressure(b, 2, 102, kPlate102LL, 4);
}

class ReactionView : public GRenderView {};

// A reaction engine that notes the band drawing it asks of the engine base.
class RecordingReactionEngine : public CReactionEngine {
public:
    using CReactionEngine::CReactionEngine;
    struct Poly {
        std::vector<C3DPoint> points;
        std::vector<double> values;
    };
    void DoSubPolyContour(CDC* pDC, double* pValues, CList<C3DPoint, C3DPoint>* pPoints, int* pFlags,
                          int bFrame) override {
        Poly p;
        POSITION pos = pPoints->GetHeadPosition();
        while (pos) p.points.push_back(pPoints->GetNext(pos));
        p.values.assign(pValues, pValues + p.points.size());
        m_polys.push_back(p);
        CReactionEngine::DoSubPolyContour(pDC, pValues, pPoints, pFlags, bFrame);
    }
    void DrawContourLine(CDC* pDC, CArray<C3DPoint, C3DPoint>& points, CArray<double, double>& values) override {
        Poly p;
        for (INT_PTR i = 0; i < points.GetSize(); ++i) p.points.push_back(points[i]);
        for (INT_PTR i = 0; i < values.GetSize(); ++i) p.values.push_back(values[i]);
        m_lines.push_back(p);
        CReactionEngine::DrawContourLine(pDC, points, values);
    }
    std::vector<Poly> m_polys;
    std::vector<Poly> m_lines;
};

class ReactionFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        BuildProject(b);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        MakeModel();
    }
    void TearDown() override {
        m_engine.reset();
        m_model.reset();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }

    void MakeModel() {
        m_model = std::make_unique<I_PVXModel>();
        I_PVXModel& m = *m_model;
        LinkModelInView(m, Ctrl(), &m_view, kWidth, kHeight, GViewCamera::VIEW_TOP);
        T_PVX_DOPT_D& o = *m.m_pDispOpt;
        SetPlainDrawing(o);
        o.m_nColorMode = 2;
        o.m_Number.m_nDecimals = 3;
        m.m_bLoadSelected = 1;
        m.m_nLoadType = 1;
        m.m_nLoadKey = 1;
        m.m_nLoadStep = 0;
        m_engine = std::make_unique<RecordingReactionEngine>(&m);
    }

    // Builds the engine for a data kind, component and member kind; returns the data-ready flag.
    int Build(int nDataKind, int nComp, int nMembKind = CReactionEngine::MEMB_RAFT, UINT nLoad = 1) {
        M().m_nLoadKey = nLoad;
        E().m_nDataKind = nDataKind;
        E().m_nComponent = nComp;
        E().m_nMembKind = nMembKind;
        return E().InitEngine(nullptr, -1);
    }

    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    I_PVXModel& M() { return *m_model; }
    RecordingReactionEngine& E() { return *m_engine; }

    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    ReactionView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    std::unique_ptr<RecordingReactionEngine> m_engine;
};

}  // namespace reactest
