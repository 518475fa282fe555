// Set-up shared by the plate and wall force tests: a small project of walls, a wall beam, a
// T-girder and a raft with their plate, wall-column and wall-beam forces, a model linked to a
// view's graphics control, and an engine that notes the faces it hands to the band cutter.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
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

namespace wallplatetest {

// Keys of the project.
enum : UINT {
    kWall = 1,         // 209: four panels of 2 m in the x-z plane (y = 0), x 0..4, z 0..4
    kWallBeam = 2,     // 210: one panel x 6..14, z 4..6 (y = 0)
    kGirder = 3,       // 204: one horizontal panel at z = 0, its first edge 30 degrees from global x
    kRaft = 4,         // 301: one raft plate under the walls
    kWallResult = 50,  // result number of the wall column
    kBeamResult = 51,  // result number of the wall beam
    kDL = 1,
    kLL = 2,
    // Elements.
    kPanel00 = 11, kPanel10 = 12, kPanel01 = 13, kPanel11 = 14,  // wall panels (i along x, j along z)
    kBeamPanel = 15,
    kGirderPanel = 16,
    kRaftPlate = 17,
};

// Largest extent of the project's nodes: x runs from 0 to node 121 at 20 + 2 cos 30°.
inline const double kModelExtent = 20.0 + std::sqrt(3.0);

// Node of the wall's 3 x 3 grid: x = 2 i, z = 2 j.
inline UINT WallNode(int i, int j) { return static_cast<UINT>(101 + i + 3 * j); }

// Plate forces used by the conversion tests, in every block of the T-girder and of panel 00.
constexpr double kFxx = 10.0, kFyy = 4.0, kFxy = 3.0, kMxx = 5.0, kMyy = -2.0, kMxy = 1.0, kVxx = 6.0, kVyy = -8.0;

// Fxx at each corner of the four wall panels (element node order). The centre node 105 is
// corner 3 of panel 00, corner 4 of panel 10, corner 2 of panel 01 and corner 1 of panel 11,
// where the panels hold 1, 2, 6 and 11.
inline double PanelFxx(UINT elem, int corner) {
    static const double v[4][4] = {{0.0, 3.0, 1.0, 0.0},    // panel 00: 101, 102, 105, 104
                                   {7.0, 0.0, 0.0, 2.0},    // panel 10: 102, 103, 106, 105
                                   {0.0, 6.0, 0.0, 0.0},    // panel 01: 104, 105, 108, 107
                                   {11.0, 0.0, 0.0, 0.0}};  // panel 11: 105, 106, 109, 108
    return v[elem - kPanel00][corner - 1];
}

// A plate record with the conversion forces in every block (derived values recomputed).
inline T_STRP_DL ConversionRecord() {
    T_STRP_DL r;
    r.Initialize();
    for (auto& b : r.blk) {
        b[14] = kFxx;
        b[15] = kFyy;
        b[16] = kFxy;
        b[20] = kMxx;
        b[21] = kMyy;
        b[22] = kMxy;
        b[26] = kVxx;
        b[27] = kVyy;
    }
    r.UpdateDerived();
    return r;
}

// Wall column blocks of component 4 (moment y): bottom 0, top 10, inner station (z = 2) 7; axial
// force -100 at the bottom and -20 at the top.
inline T_MBCL_D WallColumnForces(double f) {
    T_MBCL_D c;
    c.Initialize();
    c.d[0][4] = 0.0 * f;
    c.d[1][4] = 10.0 * f;
    c.d[2][4] = 7.0 * f;
    c.d[0][0] = -100.0 * f;
    c.d[1][0] = -20.0 * f;
    c.d[2][0] = -60.0 * f;
    return c;
}

// Wall beam moment y at station k (k/8 from P1): 2 k - 8, so -8 at P1, 0 at the middle, 8 at P2.
inline double WallBeamMy(int k) { return 2.0 * k - 8.0; }
inline T_STRG_D WallBeamForces(double f) {
    T_STRG_D r;
    r.Initialize();
    for (int s = 0; s < 8; ++s) {
        r.d[12 * s + 4] = f * WallBeamMy(s);
        r.d[12 * s + 6 + 4] = f * WallBeamMy(s + 1);
    }
    return r;
}

// The project; bWallForces 0 leaves the wall-column and wall-beam forces out.
inline void FillWallPlateProject(PostDBBuilder& b, int bWallForces = 1) {
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) b.AddNode(WallNode(i, j), 2.0 * i, 0.0, 2.0 * j);
    b.AddNode(110, 6, 0, 4);
    b.AddNode(111, 14, 0, 4);
    b.AddNode(112, 14, 0, 6);
    b.AddNode(113, 6, 0, 6);
    const double c = std::cos(M_PI / 6.0), s = std::sin(M_PI / 6.0);
    b.AddNode(120, 20, 0, 0);
    b.AddNode(121, 20 + 2 * c, 2 * s, 0);
    b.AddNode(122, 20 + 2 * c - 2 * s, 2 * s + 2 * c, 0);
    b.AddNode(123, 20 - 2 * s, 2 * c, 0);
    b.AddNode(130, 0, -1, -1);
    b.AddNode(131, 4, -1, -1);
    b.AddNode(132, 4, 1, -1);
    b.AddNode(133, 0, 1, -1);
    T_PSECT_D sect;
    sect.Initialize();
    sect.type = 1;
    sect.dim[0] = 0.25;
    b.AddSect(1, sect);
    const UINT panels[4] = {kPanel00, kPanel10, kPanel01, kPanel11};
    for (int k = 0; k < 4; ++k) {
        const int i = k % 2, j = k / 2;
        b.AddElem(panels[k], PELEM_KIND_WALL, 209, {WallNode(i, j), WallNode(i + 1, j), WallNode(i + 1, j + 1), WallNode(i, j + 1)},
                  1, 1);
    }
    b.AddElem(kBeamPanel, PELEM_KIND_WALL, 210, {110, 111, 112, 113}, 1, 1);
    b.AddElem(kGirderPanel, PELEM_KIND_WALL, 204, {120, 121, 122, 123}, 1, 1);
    b.AddElem(kRaftPlate, PELEM_KIND_PLATE, 301, {130, 131, 132, 133}, 1, 1);

    T_PMEMB_D wall;
    wall.type = 209;
    wall.node3 = WallNode(0, 1);  // inner station at z = 2
    for (UINT n : {WallNode(0, 0), WallNode(2, 0), WallNode(2, 2), WallNode(0, 2)}) wall.aNode.Add(n);
    for (UINT e : panels) wall.aElem.Add(e);
    b.AddMemb(kWall, wall);
    const UINT nb[] = {110, 111, 112, 113}, eb[] = {kBeamPanel};
    b.AddMemb(kWallBeam, 210, nb, eb, 8.0);
    const UINT ng[] = {120, 121, 122, 123}, eg[] = {kGirderPanel};
    b.AddMemb(kGirder, 204, ng, eg, 2.0);
    const UINT nr[] = {130, 131, 132, 133}, er[] = {kRaftPlate};
    b.AddMemb(kRaft, 301, nr, er, 0.0);

    T_PWALL_D w;
    w.Initialize();
    w.type = 209;
    w.resultNo = kWallResult;
    w.x = 2.0;  // the middle of the wall in plan
    w.dx = 1.0;
    w.x1 = 0.0;
    w.z1 = 0.0;
    w.x2 = 4.0;
    w.z2 = 4.0;
    b.AddWall(kWall, w);
    w.Initialize();
    w.type = 210;
    w.resultNo = kBeamResult;
    w.x = 6.0;
    w.dx = 1.0;
    w.x1 = 6.0;
    w.z1 = 5.0;
    w.x2 = 14.0;
    w.z2 = 5.0;
    b.AddWall(kWallBeam, w);

    b.AddLoadCase(kDL, PLOAD_STATIC, "DL");
    b.AddLoadCase(kLL, PLOAD_STATIC, "LL");
    for (UINT lc : {kDL, kLL}) {
        const double f = lc == kDL ? 1.0 : -0.5;
        for (UINT e : panels) {
            T_STRP_DL r = e == kPanel00 ? ConversionRecord() : T_STRP_DL{};
            if (e != kPanel00) r.Initialize();
            for (int blk = 1; blk <= 4; ++blk) r.blk[blk][14] = f * PanelFxx(e, blk);
            r.blk[0][14] = f * 100.0;  // centre, apart from every corner
            r.UpdateDerived();
            b.AddStrp(lc, e, r);
        }
        T_STRP_DL g = ConversionRecord();
        for (auto& blk : g.blk)
            for (double& v : blk) v *= f;
        g.UpdateDerived();
        b.AddStrp(lc, kGirderPanel, g);
        T_STRP_DL beam;
        beam.Initialize();
        for (int blk = 0; blk < 5; ++blk) beam.blk[blk][14] = f * (blk == 0 ? 0.0 : 20.0 * blk);
        beam.UpdateDerived();
        b.AddStrp(lc, kBeamPanel, beam);
        b.AddStrp(lc, kRaftPlate, g);
        if (!bWallForces) continue;
        b.AddMbwc(lc, kWallResult, WallColumnForces(f));
        b.AddMbwb(lc, kBeamResult, WallBeamForces(f));
    }
}

class TestView : public GRenderView {};

// An engine that notes the faces it hands to the band cutter and hands them on when asked.
class NoteEngine : public CForceEngine {
public:
    explicit NoteEngine(I_PVXModelBase* pModel) : CForceEngine(pModel) {}
    struct Poly {
        std::vector<C3DPoint> pts;
        std::vector<double> values;
    };
    void DoSubPolyContour(CDC* pDC, double* pValues, CList<C3DPoint, C3DPoint>* pPoints, int* pFlags,
                          int bFrame) override {
        Poly p;
        int i = 0;
        for (POSITION pos = pPoints->GetHeadPosition(); pos; ++i) {
            p.pts.push_back(pPoints->GetNext(pos));
            p.values.push_back(pValues[i]);
        }
        m_polys.push_back(p);
        if (m_bPassOn) CForceEngine::DoSubPolyContour(pDC, pValues, pPoints, pFlags, bFrame);
    }
    std::vector<Poly> m_polys;
    bool m_bPassOn = false;
};

// The project installed and a model linked to the view's control, front view (looking along +y).
class WallPlateTest : public ::testing::Test {
protected:
    void SetUp() override {
        Install([](PostDBBuilder&) {});
        ASSERT_TRUE(m_dc.Create());
    }
    // Installs the project with extra records from more.
    template <class F>
    void Install(F more) {
        ResetBarState();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        FillWallPlateProject(b);
        more(b);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        I_PVXModel& m = *m_model;
        LinkModelInView(m, Ctrl(), &m_view, 400, 300, GViewCamera::VIEW_FRONT);
        m.m_nPenFactor = 1;
        SetPlainDrawing(*m.m_pDispOpt);
        m.m_pDispOpt->m_Number.m_bShowNumbers = 0;
        m.m_bContour = 1;
        SelectLoad(1, kDL, 0);
    }
    void TearDown() override {
        m_model.reset();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    void SelectLoad(UINT type, UINT key, int step) { SelectModelLoad(*m_model, type, key, step); }
    // A fresh reinstall of the project: the test body calls it before anything else.
    template <class F>
    void Reinstall(F more) {
        TearDown();
        Install(more);
    }
    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    I_PVXModel& M() { return *m_model; }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    TestView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    CRecordDC m_dc;
};

inline bool Near(const C3DPoint& a, const C3DPoint& b, double tol = 1e-9) {
    return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol && std::fabs(a.z - b.z) <= tol;
}

// An engine given kept's plate lists, component and colour scale, its legend steps run for the
// first time: what every kept value of kept must agree with.
inline std::unique_ptr<CForceEngine> FirstWeighing(const CForceEngine& kept) {
    auto e = std::make_unique<CForceEngine>(kept.GetModel());
    e->m_nPForcComp = kept.m_nPForcComp;
    e->m_mapPForc = kept.m_mapPForc;
    e->m_mapSbem = kept.m_mapSbem;
    e->m_arrElemKey.Copy(kept.m_arrElemKey);
    if (kept.m_pContourEngine) e->m_pContourEngine = new CContourEngine(*kept.m_pContourEngine);
    EXPECT_EQ(e->MakePForcDataList_MnMx(), 1);
    e->m_bPForcData = 1;
    return e;
}

}  // namespace wallplatetest
