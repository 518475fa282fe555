// Diagram polygons of beams and columns: pieces, zero splits, edge and quad flags, offset
// directions, label points and extremes. The beam runs from I (0,0,3) to J (8,0,3), so its eight
// segments are 1 m long; the diagram scale is 0.1 m per unit value.
#include "tests/module/diagram/DiagramTestSupport.h"
#include "tests/module/ModuleTestSupport.h"

namespace diagramtest {

namespace {

const C3DPoint kI(0, 0, 3), kJ(8, 0, 3);
constexpr double kScale = 0.1;

}  // namespace

class DiagramPolygonTest : public DiagramProjectTest {
protected:
    void SetUp() override {
        DiagramProjectTest::SetUp();
        E().m_dBSfdBmdAdjustFactor = kScale;
        E().m_dBSfdBmdScale = 1.0;
        E().m_bBSfdBmdFill = 0;
        E().m_bBSfdBmdLine = 1;
        AxesAlongX(m_axes);
    }
    // Builds the beam diagram of one component.
    Lists Beam(T_STRG_D rec, int comp, C3DPoint* labels = nullptr, double* extremes = nullptr) {
        Lists l;
        C3DPoint i = kI, j = kJ;
        E().BSfdBmdMakePolygon(rec, comp, m_axes, i, j, l.points, l.values, l.edges, l.quads, labels, kBeam, extremes,
                               0, nullptr, 0.0);
        return l;
    }
    double m_axes[3][3];
};

TEST_F(DiagramPolygonTest, PieceCountOfASegment) {
    struct Row {
        const char* label;
        double length, step;
        int pieces;
    } const rows[] = {
        {"four steps exactly", 1.0, 0.25, 4},
        {"exact multiple lost to rounding (0.9 / 0.3)", 0.9, 0.3, 3},
        {"two and a half steps", 2.5, 1.0, 3},
        {"shorter than a step", 0.5, 1.0, 1},
        {"no length", 0.0, 1.0, 0},
        {"negative length", -1.0, 1.0, 0},
        {"no step (a view without scale)", 1.0, 0.0, 1},
        {"step not a number", 1.0, std::nan(""), 1},
        {"length not a number", std::nan(""), 1.0, 0},
        {"runaway count is held", 1e6, 1e-6, CForceEngine::kMaxSfdBmdPieces},
    };
    for (const Row& r : rows)
        EXPECT_EQ(CForceEngine::GetSfdBmdPieceCount(r.length, r.step), r.pieces) << r.label;
}

TEST_F(DiagramPolygonTest, PieceLengthIsASixthOfAnInchOnScreen) {
    // 96 pixels per inch: a sixth of an inch is 16 pixels, at 8 and 64 pixels per metre 2 m and
    // 0.25 m.
    EXPECT_DOUBLE_EQ(E().GetSfdBmdPieceLength(), 2.0);
    SetPixelsPerMetre(64.0);
    EXPECT_DOUBLE_EQ(E().GetSfdBmdPieceLength(), 0.25);
    // A 1 m segment is then four pieces: a constant diagram gives 8 x 4 quadrilaterals.
    const Lists l = Beam(StationRecord(4, [](int) { return 1.0; }), 4);
    EXPECT_EQ(l.quads.GetSize(), 32);
    for (INT_PTR i = 0; i < l.quads.GetSize(); ++i) EXPECT_EQ(l.quads[i], 1);
}

TEST_F(DiagramPolygonTest, ConstantDiagramEdgesByFillOption) {
    struct Row {
        const char* label;
        int fill, line, gradient;
        int first[4], middle[4], last[4];
    } const rows[] = {
        {"no closing edges: ends only", 0, 1, 0, {1, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 1, 0}},
        {"closing edges (line fill)", 1, 1, 0, {1, 1, 1, 0}, {1, 1, 1, 0}, {1, 1, 1, 0}},
        {"full fill, graded: no closing edges", 1, 0, 1, {1, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 1, 0}},
        {"full fill, flat: closing edges", 1, 0, 0, {1, 1, 1, 0}, {1, 1, 1, 0}, {1, 1, 1, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        E().m_bBSfdBmdFill = r.fill;
        E().m_bBSfdBmdLine = r.line;
        M().m_bGradient = r.gradient;
        const Lists l = Beam(StationRecord(4, [](int) { return 1.0; }), 4);
        const auto polys = l.Polys();
        ASSERT_EQ(polys.size(), 8u) << "one quadrilateral per 1 m segment (piece 2 m)";
        ASSERT_EQ(l.points.GetSize(), 32);
        for (size_t p = 0; p < polys.size(); ++p) {
            const int* want = p == 0 ? r.first : (p == 7 ? r.last : r.middle);
            for (int k = 0; k < 4; ++k) EXPECT_EQ(polys[p].edges[k], want[k]) << "quad " << p << " vertex " << k;
        }
        // Moment y 1 is drawn along -z (tension side): A0, T0, T1, A1 of the first quad.
        EXPECT_TRUE(Near(polys[0].pts[0], C3DPoint(0, 0, 3)));
        EXPECT_TRUE(Near(polys[0].pts[1], C3DPoint(0, 0, 3 - kScale)));
        EXPECT_TRUE(Near(polys[0].pts[2], C3DPoint(1, 0, 3 - kScale)));
        EXPECT_TRUE(Near(polys[0].pts[3], C3DPoint(1, 0, 3)));
    }
}

TEST_F(DiagramPolygonTest, OffsetDirectionAndSignOfEachComponent) {
    // Value -3 at every station; the first diagram point is I + sign x axis x (-3) x 0.1.
    struct Row {
        int comp;
        C3DPoint top;
    } const rows[] = {
        {0, C3DPoint(0, 0, 3 - 0.3)},   // axial force along +z
        {1, C3DPoint(0, -0.3, 3)},      // shear y along +y
        {2, C3DPoint(0, 0, 3 - 0.3)},   // shear z along +z
        {3, C3DPoint(0, 0, 3 + 0.3)},   // torsion along -z
        {4, C3DPoint(0, 0, 3 + 0.3)},   // moment y along -z
        {5, C3DPoint(0, 0.3, 3)},       // a negative moment z on the positive local y side
    };
    for (const Row& r : rows) {
        const Lists l = Beam(StationRecord(r.comp, [](int) { return -3.0; }), r.comp);
        ASSERT_GE(l.points.GetSize(), 2) << "component " << r.comp;
        EXPECT_TRUE(Near(l.points[1], r.top)) << "component " << r.comp;
        EXPECT_DOUBLE_EQ(l.values[1], -3.0);
    }
    // Components outside 0..5 add nothing, not even extremes.
    double ext[2] = {7, 7};
    const Lists l = Beam(StationRecord(4, [](int) { return -3.0; }), 6, nullptr, ext);
    EXPECT_EQ(l.points.GetSize(), 0);
    EXPECT_EQ(l.quads.GetSize(), 0);
    EXPECT_EQ(ext[0], 0.0);
    EXPECT_EQ(ext[1], 0.0);
}

TEST_F(DiagramPolygonTest, ZeroCrossingsAndZeroSegments) {
    // Segment 0 runs from 2 to -2 (shear y), the rest is zero.
    double seg[8][2] = {{2, -2}};
    const auto polys = Beam(SegmentRecord(1, seg), 1).Polys();
    ASSERT_EQ(polys.size(), 2u) << "two triangles meeting on the axis; zero segments add nothing";
    // Zero at |2| : |-2| of the way from x 0 to x 1.
    const C3DPoint Z(0.5, 0, 3);
    EXPECT_TRUE(Near(polys[0].pts[0], C3DPoint(0, 0, 3)));
    EXPECT_TRUE(Near(polys[0].pts[1], C3DPoint(0, 0.2, 3)));
    EXPECT_TRUE(Near(polys[0].pts[2], Z));
    EXPECT_EQ(polys[0].values[2], 0.0);
    EXPECT_TRUE(Near(polys[1].pts[0], Z));
    EXPECT_TRUE(Near(polys[1].pts[1], C3DPoint(1, -0.2, 3)));
    EXPECT_TRUE(Near(polys[1].pts[2], C3DPoint(1, 0, 3)));
    // Edges: axis side of the first triangle flagged as the member's first edge, the diagram
    // lines flagged, nothing along the axis.
    EXPECT_EQ(polys[0].edges, (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(polys[1].edges, (std::vector<int>{1, 0, 0}));

    // Small values of one sign stay one quadrilateral (no dip to zero inside the piece).
    double tiny[8][2] = {{1e-6, 1e-6}};
    const auto small = Beam(SegmentRecord(1, tiny), 1).Polys();
    ASSERT_EQ(small.size(), 1u);
    EXPECT_EQ(small[0].pts.size(), 4u);
}

TEST_F(DiagramPolygonTest, JumpAtAStationGetsAnEdgeOnlyWithASignChange) {
    struct Row {
        const char* label;
        double after;   // value of segment 4 (the value before station 4 is 5)
        int edgeBefore, edgeAfter;  // flag of the station edge on segment 3's end and segment 4's start
    } const rows[] = {{"sign change", -5.0, 1, 1}, {"same sign", 7.0, 0, 0}};
    for (const Row& r : rows) {
        double seg[8][2];
        for (int s = 0; s < 8; ++s) seg[s][0] = seg[s][1] = s < 4 ? 5.0 : r.after;
        const auto polys = Beam(SegmentRecord(1, seg), 1).Polys();
        ASSERT_EQ(polys.size(), 8u) << r.label;
        EXPECT_EQ(polys[3].edges[2], r.edgeBefore) << r.label;
        EXPECT_EQ(polys[4].edges[0], r.edgeAfter) << r.label;
    }
}

TEST_F(DiagramPolygonTest, LabelPointsAndExtremes) {
    // Fixed-end beam under w = 12 over L = 8: M(x) = w (6 L x - 6 x^2 - L^2) / 12, so M(0) =
    // M(8) = -64 and M(4) = 32 at the stations x = k.
    auto fixedEnd = [](int k) { return 12.0 * (6.0 * 8 * k - 6.0 * k * k - 64.0) / 12.0; };
    const T_STRG_D rec = StationRecord(4, fixedEnd);
    auto top = [](double x, double m) { return C3DPoint(x, 0, 3 - kScale * m); };  // moment y drawn along -z

    // Member extreme: the signed largest magnitude (the first of the equal ends) with its own
    // diagram point, not mid-span; the ends at stations 1 and 7.
    E().m_bNumAtMax = 1;
    C3DPoint labels[4];
    double ext[2] = {9, 9};
    Beam(rec, 4, labels, ext);
    EXPECT_EQ(ext[0], 0.0);
    EXPECT_EQ(ext[1], -64.0);
    EXPECT_TRUE(Near(labels[1], top(0, -64.0)));
    EXPECT_TRUE(Near(labels[0], top(1, fixedEnd(1))));
    EXPECT_TRUE(Near(labels[2], top(7, fixedEnd(7))));

    // Positions only: stations 1, 4 and 7; no extremes.
    E().m_bNumAtMax = 0;
    Beam(rec, 4, labels, ext);
    EXPECT_EQ(ext[0], 0.0);
    EXPECT_EQ(ext[1], 0.0);
    EXPECT_TRUE(Near(labels[1], top(4, 32.0)));

    // Diagram values: minimum and maximum with their points; all values equal put both at
    // station 0.
    E().m_bAbsMaxNumber = 1;
    Beam(rec, 4, labels, ext);
    EXPECT_EQ(ext[0], -64.0);
    EXPECT_EQ(ext[1], 32.0);
    EXPECT_TRUE(Near(labels[0], top(0, -64.0)));
    EXPECT_TRUE(Near(labels[1], top(4, 32.0)));
    Beam(StationRecord(4, [](int) { return 2.0; }), 4, labels, ext);
    EXPECT_TRUE(Near(labels[0], top(0, 2.0)));
    EXPECT_TRUE(Near(labels[1], top(0, 2.0)));
    EXPECT_EQ(ext[0], 2.0);
    EXPECT_EQ(ext[1], 2.0);
}

TEST_F(DiagramPolygonTest, ColumnPartsLabelsAndStations) {
    // A column from (0,0,0) to (0,0,3) with inner stations at z 1 and z 2; shear y along +y.
    double axes[3][3] = {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}};
    C3DPoint i(0, 0, 0), j(0, 0, 3), s1(0, 0, 1), s2(0, 0, 2);
    T_MBCL_D rec;
    rec.Initialize();
    rec.d[0][1] = 1;  // i end
    rec.d[2][1] = 2;  // first inner station
    rec.d[3][1] = 3;  // second inner station
    rec.d[1][1] = 4;  // j end
    T_PMEMB_D memb;
    memb.node3 = 11;
    memb.node4 = 12;
    Lists l;
    C3DPoint labels[4];
    double st[4] = {9, 9, 9, 9};
    E().BSfdBmdMakePolygonColm(rec, 1, axes, i, j, s1, s2, l.points, l.values, l.edges, l.quads, labels, kColumn, memb,
                               st, 0, nullptr);
    const auto polys = l.Polys();
    ASSERT_EQ(polys.size(), 3u) << "three 1 m parts, one piece each";
    EXPECT_EQ(polys[0].edges, (std::vector<int>{1, 1, 0, 0}));
    EXPECT_EQ(polys[2].edges, (std::vector<int>{0, 1, 1, 0}));
    EXPECT_TRUE(Near(labels[0], C3DPoint(0, 0.1, 0)));
    EXPECT_TRUE(Near(labels[1], C3DPoint(0, 0.2, 1)));
    EXPECT_TRUE(Near(labels[2], C3DPoint(0, 0.3, 2)));
    EXPECT_TRUE(Near(labels[3], C3DPoint(0, 0.4, 3)));
    EXPECT_EQ(std::vector<double>(st, st + 4), (std::vector<double>{1, 2, 3, 4}));

    // Without inner stations one part from the i end to the j end, here one piece (4 pixels per
    // metre: a piece is 4 m); opposite signs split it at the interpolated zero (1 : 1, z 1.5).
    memb.node3 = memb.node4 = 0;
    rec.d[1][1] = -1;
    SetPixelsPerMetre(4.0);
    Lists m;
    E().BSfdBmdMakePolygonColm(rec, 1, axes, i, j, s1, s2, m.points, m.values, m.edges, m.quads, nullptr, kColumn, memb,
                               nullptr, 0, nullptr);
    const auto split = m.Polys();
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].pts.size(), 3u);
    EXPECT_TRUE(Near(split[0].pts[2], C3DPoint(0, 0, 1.5)));
    EXPECT_EQ(split[0].values[2], 0.0);
    EXPECT_TRUE(Near(split[1].pts[1], C3DPoint(0, -0.1, 3)));
}

// While frames are recorded the ordinates follow the positive wave: for N = 8 the rendered
// frames k = 0 .. 8 carry k / 8 and k = 19 .. 26 carry (k - 18) / 8, the opposite swing drawn on
// the same side. Value -3 of the axial force at 0.1 m per unit: I + z x (-3) x 0.1 x share; at
// rest (share 0) the diagram has no area.
TEST_F(DiagramPolygonTest, RecordedFramesDrawTheirShareOfTheOrdinates) {
    CAnimationEngine& a = M().m_AnimationEngine;
    a.m_nFramesPerHalfCycle = 8;
    a.m_bAnimationMode = 1;
    M().m_bAnimation = 1;
    a.m_bRecording = 1;
    for (int k : moduletest::RecordedFactorIndices(8)) {
        SCOPED_TRACE(k);
        const double share = k <= 8 ? k / 8.0 : (k - 18) / 8.0;
        a.m_nCurFrame = k;
        const Lists l = Beam(StationRecord(0, [](int) { return -3.0; }), 0);
        if (share == 0.0) {
            EXPECT_EQ(l.points.GetSize(), 0) << "a diagram at rest has no area to draw";
            continue;
        }
        ASSERT_GE(l.points.GetSize(), 2);
        EXPECT_TRUE(Near(l.points[1], C3DPoint(0, 0, 3 - 0.3 * share)));
    }
    a.m_bRecording = 0;
    a.m_bAnimationMode = 0;
    M().m_bAnimation = 0;
}

}  // namespace diagramtest
