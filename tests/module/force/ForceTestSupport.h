// Set-up shared by the force engine tests: a small frame project (beams, a column, a T-girder,
// a two-element beam and a beam without results) linked to a view's graphics control, an engine
// that notes what it hands to the band drawing, and record builders.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CRecordDC.h"
#include "tests/module/model/LinkedModelSupport.h"

namespace forcetest {

// Members and loads of the project.
enum : UINT {
    kBeam = 1,       // 201, (0,0,3) to (8,0,3), one element
    kRoofBeam = 2,   // 205, (0,0,3) to (0,8,3), one element
    kColumn = 3,     // 101, (0,0,0) to (0,0,3)
    kGirder = 4,     // 204 panel below y = -2, forces at result key kGirderResult
    kTwoElem = 5,    // 201, (0,4,3) to (8,4,3) through (3,4,3): elements 51 (3 m) and 52 (5 m)
    kNoResult = 6,   // 201, (8,0,3) to (8,8,3), no forces at all
    kGirderResult = 40,
    kDL = 1,
    kLL = 2,
    kEnv = 10,       // envelope of DL and LL
};

// A beam record whose component c at station k (k/8 of the length) is f(k), the start of
// segment k and the end of segment k - 1 sharing the station's value.
template <class F>
T_STRG_D StationRecord(int c, F f) {
    T_STRG_D r;
    r.Initialize();
    for (int s = 0; s < 8; ++s) {
        r.d[12 * s + c] = f(s);
        r.d[12 * s + 6 + c] = f(s + 1);
    }
    return r;
}

// A beam record with component c given per segment as (start, end) pairs.
inline T_STRG_D SegmentRecord(int c, const double (&v)[8][2]) {
    T_STRG_D r;
    r.Initialize();
    for (int s = 0; s < 8; ++s) {
        r.d[12 * s + c] = v[s][0];
        r.d[12 * s + 6 + c] = v[s][1];
    }
    return r;
}

// Moment y of the beams under DL: member 1 runs linearly from -40 at i to +40 at j
// (m = 10 k - 40 at station k); the roof beam is 5 throughout; the two-element beam is
// 4 k - 16; the girder's nine stations are 2 k.
inline double BeamDL(int k) { return 10.0 * k - 40.0; }
inline double TwoElemDL(int k) { return 4.0 * k - 16.0; }
inline double GirderDL(int k) { return 2.0 * k; }

inline void FillForceProject(PostDBBuilder& b) {
    b.AddNode(1, 0, 0, 3);
    b.AddNode(2, 8, 0, 3);
    b.AddNode(3, 0, 0, 0);
    b.AddNode(4, 0, 8, 3);
    b.AddNode(5, 0, -2, 3);
    b.AddNode(6, 8, -2, 3);
    b.AddNode(7, 8, -2, 2);
    b.AddNode(8, 0, -2, 2);
    b.AddNode(9, 0, 4, 3);
    b.AddNode(10, 3, 4, 3);
    b.AddNode(11, 8, 4, 3);
    b.AddNode(12, 8, 8, 3);
    T_PSECT_D sect;
    sect.Initialize();
    sect.type = 1;
    sect.dim[0] = 0.3;
    sect.dim[1] = 0.6;
    b.AddSect(1, sect);
    b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2}, 1, 1);
    b.AddElem(2, PELEM_KIND_FRAME, 205, {1, 4}, 1, 1);
    b.AddElem(3, PELEM_KIND_FRAME, 101, {3, 1}, 1, 1);
    b.AddElem(4, PELEM_KIND_WALL, 204, {5, 6, 7, 8}, 1, 0);
    b.AddElem(51, PELEM_KIND_FRAME, 201, {9, 10}, 1, 1);
    b.AddElem(52, PELEM_KIND_FRAME, 201, {10, 11}, 1, 1);
    b.AddElem(6, PELEM_KIND_FRAME, 201, {2, 12}, 1, 1);
    const UINT n1[] = {1, 2}, n2[] = {1, 4}, n3[] = {3, 1}, n4[] = {5, 6, 7, 8}, n5[] = {9, 10, 11}, n6[] = {2, 12};
    const UINT e1[] = {1}, e2[] = {2}, e3[] = {3}, e4[] = {4}, e5[] = {51, 52}, e6[] = {6};
    b.AddMemb(kBeam, 201, n1, e1, 8.0);
    b.AddMemb(kRoofBeam, 205, n2, e2, 8.0);
    b.AddMemb(kColumn, 101, n3, e3, 3.0);
    b.AddMemb(kGirder, 204, n4, e4, 8.0);
    b.AddMemb(kTwoElem, 201, n5, e5, 8.0);
    b.AddMemb(kNoResult, 201, n6, e6, 8.0);
    T_PWALL_D wall;
    wall.Initialize();
    wall.type = 204;
    wall.resultNo = kGirderResult;
    b.AddWall(kGirder, wall);
    b.AddLoadCase(kDL, PLOAD_STATIC, "DL");
    b.AddLoadCase(kLL, PLOAD_STATIC, "LL");
    b.AddLoadComb(kEnv, PLCOM_ENVELOPE, "ENV", {T_PLCOM_ENTRY{PLOAD_STATIC, kDL, 1.0}, T_PLCOM_ENTRY{PLOAD_STATIC, kLL, 1.0}});
    // DL moment y as above; LL is DL x -0.5, so the envelope holds DL as maximum where DL is
    // positive and LL where DL is negative.
    for (UINT lc : {kDL, kLL}) {
        const double f = lc == kDL ? 1.0 : -0.5;
        b.AddStrg(lc, kBeam, StationRecord(4, [&](int k) { return f * BeamDL(k); }));
        b.AddStrg(lc, kRoofBeam, StationRecord(4, [&](int) { return f * 5.0; }));
        b.AddStrg(lc, kTwoElem, StationRecord(4, [&](int k) { return f * TwoElemDL(k); }));
        T_MBWG_D w;
        w.Initialize();
        for (int k = 0; k < 9; ++k) w.d[k][4] = f * GirderDL(k);
        b.AddMbwg(lc, kGirderResult, w);
        T_MBCL_D c;
        c.Initialize();
        for (int blk = 0; blk < 4; ++blk) c.d[blk][0] = f * -100.0;
        b.AddMbcl(lc, kColumn, c);
    }
    // Under DL every node stands still but node 2, the beam's j end, which sinks 80 mm.
    for (UINT n = 1; n <= 12; ++n) {
        T_DISP_D d;
        d.Initialize();
        if (n == 2) d.DZ = -80.0;
        b.AddDisp(kDL, n, d);
    }
}

class TestView : public GRenderView {};

// An engine that notes the polygons and lines it hands to the band drawing, and hands them on
// only when asked.
class NoteForceEngine : public CForceEngine {
public:
    explicit NoteForceEngine(I_PVXModelBase* pModel) : CForceEngine(pModel) {}

    struct Poly {
        std::vector<C3DPoint> pts;
        std::vector<double> values;
        std::vector<int> flags;
        int bFrame;
    };
    void DoSubPolyContour(CDC* pDC, double* pValues, CList<C3DPoint, C3DPoint>* pPoints, int* pFlags,
                          int bFrame) override {
        Poly p;
        p.bFrame = bFrame;
        int i = 0;
        for (POSITION pos = pPoints->GetHeadPosition(); pos; ++i) {
            p.pts.push_back(pPoints->GetNext(pos));
            p.values.push_back(pValues[i]);
            p.flags.push_back(pFlags ? pFlags[i] : 0);
        }
        m_polys.push_back(p);
        if (m_bPassOn) CForceEngine::DoSubPolyContour(pDC, pValues, pPoints, pFlags, bFrame);
    }
    void DrawContourLine(CDC* pDC, CArray<C3DPoint, C3DPoint>& points, CArray<double, double>& values) override {
        std::vector<std::pair<C3DPoint, double>> line;
        for (INT_PTR i = 0; i < points.GetSize(); ++i) line.emplace_back(points[i], values[i]);
        m_lines.push_back(line);
        if (m_bPassOn) CForceEngine::DrawContourLine(pDC, points, values);
    }
    std::vector<Poly> m_polys;
    std::vector<std::vector<std::pair<C3DPoint, double>>> m_lines;
    bool m_bPassOn = false;
};

// The project installed and a model linked to the view's control in plan view.
class ForceProjectTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 400, kHeight = 300;

    void SetUp() override {
        ResetBarState();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        FillForceProject(b);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        LinkModelInView(M(), Ctrl(), &m_view, kWidth, kHeight, GViewCamera::VIEW_TOP);
        M().m_nPenFactor = 1;
        SetPlainDrawing(*M().m_pDispOpt);
        SelectLoad(1, kDL, 0);
        ASSERT_TRUE(m_dc.Create());
    }
    void TearDown() override {
        m_model.reset();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    // Chooses a load (type 1 static case, 12 envelope) and load-result kind.
    void SelectLoad(UINT type, UINT key, int step) { SelectModelLoad(M(), type, key, step); }
    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    I_PVXModel& M() { return *m_model; }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    TestView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    CRecordDC m_dc;
};

}  // namespace forcetest
