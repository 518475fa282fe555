// The frame force contour pass (display mode 6) on the small project: which members get bands,
// which are drawn plain, the pass's pen, the culling of members outside the window, Escape, the
// deformed-shape guard, and the bands a member shows on the picture.
#include <cmath>

#include "module/engines/CDeformEngine.h"
#include "platform/ui/CUiDriver.h"
#include "tests/module/force/ForceTestSupport.h"

namespace forcetest {

namespace {

// Every point the engine handed to the band drawing.
std::vector<C3DPoint> NotedPoints(const NoteForceEngine& e) {
    std::vector<C3DPoint> pts;
    for (const auto& p : e.m_polys) pts.insert(pts.end(), p.pts.begin(), p.pts.end());
    for (const auto& l : e.m_lines)
        for (const auto& v : l) pts.push_back(v.first);
    return pts;
}

}  // namespace

class ContourPassTest : public ForceProjectTest {
protected:
    void SetUp() override {
        ForceProjectTest::SetUp();
        M().m_nDisplayMode = 6;
        M().m_bContour = 1;
        m_engine = std::make_unique<NoteForceEngine>(&M());
        ASSERT_EQ(m_engine->InitEngine(nullptr, 6), 1);
    }
    void TearDown() override {
        m_engine.reset();
        CUiDriver::Get().PressEscapeAfterPolls(-1);
        Ctrl()->ResetEscKeyPress();
        ForceProjectTest::TearDown();
    }
    NoteForceEngine& E() { return *m_engine; }
    std::unique_ptr<NoteForceEngine> m_engine;
};

TEST_F(ContourPassTest, BeamsGirdersAndColumnsGetBandsOthersArePlain) {
    E().DrawBForcContour(&m_dc);
    const std::vector<C3DPoint> pts = NotedPoints(E());
    ASSERT_FALSE(pts.empty());
    // The beam without results (x 8, y 0 to 8) is drawn plain: no band point on it away from
    // the beams it meets at y 0 and y 4.
    for (const C3DPoint& p : pts)
        EXPECT_FALSE(p.x > 7.5 && p.y > 0.5 && std::fabs(p.y - 4.0) > 0.5) << "a band point on the beam without results";
    // Bands on all five members with forces: beam, roof beam (along y), girder (y -2),
    // two-element beam (y 4) and the column (z 0 to 3, below the girder's bottom at z 2).
    auto any = [&](auto pred) { return std::any_of(pts.begin(), pts.end(), pred); };
    EXPECT_TRUE(any([](const C3DPoint& p) { return p.z < 1.9; }));
    EXPECT_TRUE(any([](const C3DPoint& p) { return std::fabs(p.y) < 0.2 && p.x > 4; }));
    EXPECT_TRUE(any([](const C3DPoint& p) { return std::fabs(p.x) < 0.2 && p.y > 6; }));
    EXPECT_TRUE(any([](const C3DPoint& p) { return std::fabs(p.y + 2) < 1e-9; }));
    EXPECT_TRUE(any([](const C3DPoint& p) { return std::fabs(p.y - 4) < 0.2 && p.x > 4; }));
    // The plain members are drawn all the same (the bands are only noted here).
    EXPECT_GT(m_dc.Count("Polygon") + m_dc.Count("LineTo"), 0u);
}

TEST_F(ContourPassTest, MemberDrawerAnswersWhatItDid) {
    EXPECT_EQ(E().DoBForcMemberContour(&m_dc, kBeam), 1);
    EXPECT_EQ(E().DoBForcMemberContour(&m_dc, kNoResult), 0) << "no forces: drawn plain";
    EXPECT_EQ(E().DoBForcMemberContour(&m_dc, kColumn), 1) << "column forces read with the column box on";
    EXPECT_EQ(E().DoBForcMemberContour(&m_dc, 999), 0) << "no such member";
    // Bands on the undeformed shape need no deformation engine.
    ASSERT_EQ(M().m_pDeformEngine, nullptr);
    E().m_polys.clear();
    EXPECT_EQ(E().DoBForcMemberContour(&m_dc, kRoofBeam), 1);
    EXPECT_FALSE(E().m_polys.empty());
    // A one-element beam drawn as a prism: four sides of eight pieces and two caps.
    EXPECT_EQ(E().m_polys.size(), 4u * 8u + 2u);
}

TEST_F(ContourPassTest, LineMembersAndThePassPen) {
    M().m_nPenFactor = 10;
    M().m_pDispOpt->m_bWireFrame = 1;
    E().m_pContourEngine->m_crElemEdge = RGB(1, 2, 3);
    E().DrawBForcContour(&m_dc);
    // The first pen of the pass: 1.7 times the pen unit, in the scale's edge colour.
    const std::vector<const GdiRecord*> sel = m_dc.GetRecords("SelectObject");
    ASSERT_FALSE(sel.empty());
    EXPECT_EQ(sel[0]->pen.lopnWidth.x, 17);
    EXPECT_EQ(sel[0]->pen.lopnColor, RGB(1, 2, 3));
    // Every beam face is the member's axis as a banded line of eight segments: the beam, the
    // roof beam and the two element faces of the two-element beam; the column's axis one line
    // (from x = y = 0 up); the girder keeps its face.
    EXPECT_EQ(E().m_lines.size(), 4u * 8u + 1u);
    for (const auto& l : E().m_lines)
        for (const auto& v : l)
            EXPECT_TRUE(std::fabs(v.first.z - 3.0) < 1e-9 || std::hypot(v.first.x, v.first.y) < 1e-9) << "on an axis";
    EXPECT_EQ(E().m_polys.size(), 1u) << "the girder's one face";
}

TEST_F(ContourPassTest, EdgesOfTheFacesWithDrawStylesTwoAndThree) {
    struct Row {
        int style;
        bool edges;
    } const rows[] = {{1, false}, {2, true}, {3, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "draw style " << r.style);
        m_dc.Clear();
        M().m_pDispOpt->m_nRenderMode = r.style;
        E().DoBForcMemberContour(&m_dc, kBeam);
        EXPECT_EQ(m_dc.Count("LineTo") > 0, r.edges);
    }
}

TEST_F(ContourPassTest, MembersOutsideTheWindowAreSkipped) {
    // The view narrowed to the far end of the roof beam (x 0, y 8): the other members lie
    // wholly outside it.
    Ctrl()->ZoomToRange(C3DPoint(-0.5, 6.5, 2.5), C3DPoint(0.5, 8.5, 3.5));
    Ctrl()->ViewZoom(1.0);
    ASSERT_EQ(Ctrl()->IsZoomAllState(), 0);
    E().DrawBForcContour(&m_dc);
    const std::vector<C3DPoint> pts = NotedPoints(E());
    ASSERT_FALSE(pts.empty());
    for (const C3DPoint& p : pts) EXPECT_LT(std::fabs(p.x), 0.5) << "only the roof beam";
    // With the whole model in view every member is drawn.
    E().m_polys.clear();
    Ctrl()->ViewZoomAll(0);
    E().DrawBForcContour(&m_dc);
    EXPECT_GT(E().m_polys.size(), 4u * 8u + 2u);
}

TEST_F(ContourPassTest, EscapeEndsThePass) {
    // Escape at the fourth face of a member: three faces drawn, -1 answered.
    CUiDriver::Get().PressEscapeAfterPolls(3);
    EXPECT_EQ(E().DoBForcMemberContour(&m_dc, kBeam), -1);
    EXPECT_GT(E().m_polys.size(), 0u);
    EXPECT_LT(E().m_polys.size(), 4u * 8u + 2u);
    // The pass stops at once: fewer bands than a whole pass.
    Ctrl()->ResetEscKeyPress();
    E().m_polys.clear();
    E().DrawBForcContour(&m_dc);
    const size_t whole = E().m_polys.size();
    E().m_polys.clear();
    CUiDriver::Get().PressEscapeAfterPolls(5);
    E().DrawBForcContour(&m_dc);
    EXPECT_LT(E().m_polys.size(), whole);
}

TEST_F(ContourPassTest, WhatIsDrawnWithoutBandsOrWithoutData) {
    // Contour switch off: the plain model only.
    M().m_bContour = 0;
    E().DrawBForcContour(&m_dc);
    EXPECT_TRUE(E().m_polys.empty());
    EXPECT_GT(m_dc.Count("Polygon") + m_dc.Count("LineTo"), 0u);
    // On the deformed shape without a deformation engine: nothing at all.
    m_dc.Clear();
    M().m_bContour = 1;
    E().m_bDeformed = 1;
    E().DrawBForcContour(&m_dc);
    EXPECT_TRUE(E().m_polys.empty());
    EXPECT_EQ(m_dc.GetRecords().size(), 0u);
    // No frame lists: nothing.
    E().m_bDeformed = 0;
    E().m_bBForcData = 0;
    E().DrawBForcContour(&m_dc);
    EXPECT_EQ(m_dc.GetRecords().size(), 0u);
}

TEST_F(ContourPassTest, AMemberStraddlingALevelShowsBothBands) {
    // The beam runs from -40 at x 0 to +40 at x 8 (10 per metre). With levels every 10 from -55
    // the level -35 crosses it at x 0.5: its top face shows the band (-45, -35) left of it and
    // (-35, -25) right of it, each in the colour of its values.
    E().m_bPassOn = true;
    E().m_pContourEngine->MakeRankMap(-55.0, 55.0);
    CRecordDC raster;
    ASSERT_TRUE(raster.Create(kWidth, kHeight));
    raster.FillSolidRect(CRect(0, 0, kWidth, kHeight), RGB(255, 255, 255));
    E().DoBForcMemberContour(&raster, kBeam);
    struct Probe {
        double x;
        double value;  // the moment there
    } const probes[] = {{0.3, -37.0}, {0.7, -33.0}, {4.2, 2.0}, {7.7, 37.0}};
    const CContourEngine& s = *E().m_pContourEngine;
    for (const Probe& p : probes) {
        const CPoint at = Ctrl()->GetWorldToMemDCP2D(C3DPoint(p.x, 0.0, 3.3));
        EXPECT_EQ(raster.GetPixel(at.x, at.y), s.GetValueColor(p.value)) << "x " << p.x;
    }
    const CPoint left = Ctrl()->GetWorldToMemDCP2D(C3DPoint(0.3, 0.0, 3.3));
    const CPoint right = Ctrl()->GetWorldToMemDCP2D(C3DPoint(0.7, 0.0, 3.3));
    EXPECT_NE(raster.GetPixel(left.x, left.y), raster.GetPixel(right.x, right.y)) << "two bands";
}

TEST_F(ContourPassTest, BandsLieOnTheDeformedShape) {
    // The deformation engine built for the load, its drawing scale fixed at 0.01 m per mm: the
    // beam's j end (node 2) is drawn 0.8 m down, at z 2.2. Its section stands square to the
    // beam, which now falls 0.8 over 8 m: the top corners of the j end lie 0.3 cos(a) above it,
    // cos(a) = 8 / sqrt(64.64), and 0.3 sin(a) back along x.
    M().m_pDeformEngine = new CDeformEngine(&M());
    ASSERT_EQ(M().m_pDeformEngine->InitEngine(), 1);
    M().m_pDeformEngine->m_dAdjustFactor = 0.01;
    M().m_pDeformEngine->m_dUserScale = 1.0;
    M().m_pDeformEngine->m_nComponent = CDeformEngine::COMP_DZ;
    M().InitDeformed(0);
    E().m_bDeformed = 1;
    E().m_polys.clear();
    EXPECT_EQ(E().DoBForcMemberContour(&m_dc, kBeam), 1);
    ASSERT_FALSE(E().m_polys.empty());
    const double cosA = 8.0 / std::sqrt(64.64), sinA = 0.8 / std::sqrt(64.64);
    double topZ = -1e9, endX = -1e9;
    for (const C3DPoint& p : NotedPoints(E())) {
        endX = std::max(endX, p.x);
        if (p.x > 7.5) topZ = std::max(topZ, p.z);
    }
    EXPECT_NEAR(topZ, 2.2 + 0.3 * cosA, 1e-9);
    EXPECT_NEAR(endX, 8.0 + 0.3 * sinA, 1e-9) << "the bottom corner of the j end";
    // The whole pass on the deformed shape: the roof beam, whose nodes stand still, keeps its
    // place; the undeformed outline follows with the show-undeformed switch.
    E().m_polys.clear();
    M().m_pDispOpt->m_bUndeformedWireFrame = 1;
    m_dc.Clear();
    E().DrawBForcContour(&m_dc);
    EXPECT_FALSE(E().m_polys.empty());
    bool roof = false;
    for (const C3DPoint& p : NotedPoints(E())) roof = roof || (std::fabs(p.x) < 0.2 && p.y > 7.5 && std::fabs(p.z - 3.3) < 1e-9);
    EXPECT_TRUE(roof);
    EXPECT_EQ(M().m_pDispOpt->m_nRenderMode, 1) << "the draw style is put back after the outline";
}

}  // namespace forcetest
