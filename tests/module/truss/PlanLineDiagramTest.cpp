// The beam diagram along the member's plan line: stations on the arc of a curved member (equal
// arcs, equal angles), heights linear from end to end, the number rules, and the curved beam of
// the small project drawn by the frame force diagram.
#include <cfloat>

#include "tests/module/truss/TrussTestSupport.h"

namespace trusstest {

class PlanLineDiagramTest : public TrussProjectTest {
protected:
    void SetUp() override {
        TrussProjectTest::SetUp();
        E().m_dBSfdBmdAdjustFactor = 0.1;
        E().m_dBSfdBmdScale = 1.0;
        E().m_bBSfdBmdFill = 0;
        E().m_bBSfdBmdLine = 1;
        Ctrl()->GetCamera().SetScale(1.0);  // a piece is 16 m: one per segment
    }
    // The diagram of one component between I and J with the arc height h; the diagram line
    // (start and end point of each segment) in line.
    Lists Build(T_STRG_D rec, int comp, C3DPoint i, C3DPoint j, double h, CForceEngine::DiagramPointList* line = nullptr,
                C3DPoint* labels = nullptr, double* extremes = nullptr) {
        Lists l;
        double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        E().BSfdBmdMakePolygon_New(rec, comp, axes, i, j, l.points, l.values, l.edges, l.quads, labels, extremes, 0, line,
                                   h);
        return l;
    }
    // Axis points (the first and the last vertex of each polygon) of a build.
    static std::vector<C3DPoint> AxisPoints(const Lists& l) {
        std::vector<C3DPoint> out;
        for (const auto& p : l.Polys()) {
            out.push_back(p.pts.front());
            out.push_back(p.pts.back());
        }
        return out;
    }
};

TEST_F(PlanLineDiagramTest, StationsOfACurvedMemberLieOnItsArc) {
    // The project's arc: chord (0,12) - (8,12), rise 2 to the left of I -> J (+y): radius 5 about
    // (4, 9). Equal parts of the arc are equal angles, so station k stands at angle
    // a0 + (a1 - a0) k / 8. A constant moment y of 10 is drawn 1 m below every station.
    CForceEngine::DiagramPointList line;
    const Lists l = Build(StationRecord(4, [](int) { return 10.0; }), 4, C3DPoint(0, 12, 3), C3DPoint(8, 12, 3), 2.0, &line);
    ASSERT_EQ(l.quads.GetSize(), 8);
    ASSERT_EQ(line.GetSize(), 16);
    for (int s = 0; s < 8; ++s) {
        const C3DPoint start = ArcPoint(s / 8.0), end = ArcPoint((s + 1) / 8.0);
        EXPECT_TRUE(Near(line[2 * s], start - C3DPoint(0, 0, 1.0), 1e-9)) << "segment " << s;
        EXPECT_TRUE(Near(line[2 * s + 1], end - C3DPoint(0, 0, 1.0), 1e-9)) << "segment " << s;
    }
    for (const C3DPoint& p : AxisPoints(l)) {
        EXPECT_NEAR(std::hypot(p.x - kArcCx, p.y - kArcCy), kArcR, 1e-9) << "an axis point off the arc";
        EXPECT_NEAR(p.z, 3.0, 1e-12);
    }
    // The same member given from J to I bulges to its right: the same arc.
    const Lists back = Build(StationRecord(4, [](int) { return 10.0; }), 4, C3DPoint(8, 12, 3), C3DPoint(0, 12, 3), -2.0);
    for (const C3DPoint& p : AxisPoints(back)) EXPECT_NEAR(std::hypot(p.x - kArcCx, p.y - kArcCy), kArcR, 1e-9);
}

TEST_F(PlanLineDiagramTest, StraightSlopedAndVerticalMembers) {
    struct Row {
        const char* label;
        C3DPoint i, j;
        C3DPoint station4;  // axis point of the middle station
    } const rows[] = {
        // Station k at (k, 0, k / 2): heights linear from zI to zJ.
        {"sloped", {0, 0, 0}, {8, 0, 4}, {4, 0, 2}},
        {"level", {0, 0, 3}, {8, 0, 3}, {4, 0, 3}},
        // No plan line between ends on one plan point: the stations run straight from I to J.
        {"vertical", {1, 1, 0}, {1, 1, 8}, {1, 1, 4}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CForceEngine::DiagramPointList line;
        const Lists l = Build(StationRecord(0, [](int) { return 10.0; }), 0, r.i, r.j, 0.0, &line);
        ASSERT_EQ(l.quads.GetSize(), 8);
        const auto polys = l.Polys();
        EXPECT_TRUE(Near(polys[4].pts[0], r.station4));
        for (int s = 0; s < 8; ++s) {
            const C3DPoint at = r.i + (r.j - r.i) * (s / 8.0);
            EXPECT_TRUE(Near(polys[static_cast<size_t>(s)].pts[0], at)) << "station " << s;
        }
        // The straight builder gives the same polygons.
        Lists first;
        double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        T_STRG_D rec = StationRecord(0, [](int) { return 10.0; });
        C3DPoint i = r.i, j = r.j;
        E().BSfdBmdMakePolygon(rec, 0, axes, i, j, first.points, first.values, first.edges, first.quads, nullptr, 0,
                               nullptr, 0, nullptr, 0.0);
        ASSERT_EQ(first.points.GetSize(), l.points.GetSize());
        for (INT_PTR k = 0; k < l.points.GetSize(); ++k) EXPECT_TRUE(Near(first.points[k], l.points[k]));
        EXPECT_EQ(first.edges.GetSize(), l.edges.GetSize());
    }
}

TEST_F(PlanLineDiagramTest, SmallValuesOfOneSignAndTheNumbers) {
    // 1e-6 all along (a product of 1e-12): one quadrilateral per segment, no zero in between.
    const Lists tiny = Build(StationRecord(0, [](int) { return 1e-6; }), 0, C3DPoint(0, 0, 0), C3DPoint(8, 0, 0), 0.0);
    EXPECT_EQ(tiny.quads.GetSize(), 8);
    for (INT_PTR k = 0; k < tiny.quads.GetSize(); ++k) EXPECT_EQ(tiny.quads[k], 1);
    for (INT_PTR k = 0; k < tiny.values.GetSize(); ++k) EXPECT_NE(tiny.values[k], 0.0);

    // Values 5 at the start and -5 at the end of segment 0 (zero in its middle), -5 further on.
    double seg[8][2];
    for (auto& v : seg) v[0] = v[1] = -5.0;
    seg[0][0] = 5.0;
    const T_STRG_D rec = SegmentRecord(0, seg);
    const auto polys = Build(rec, 0, C3DPoint(0, 0, 0), C3DPoint(8, 0, 0), 0.0).Polys();
    ASSERT_EQ(polys.size(), 9u) << "two triangles and seven quadrilaterals";
    EXPECT_TRUE(Near(polys[0].pts[2], C3DPoint(0.5, 0, 0)));
    EXPECT_EQ(polys[0].values[2], 0.0);

    // Numbers: the diagram-values switch gives (minimum, maximum) with their points, also with
    // the member-extreme option on; the member-extreme option alone (0, signed extreme).
    struct Row {
        const char* label;
        int absMax, atMax;
        double v0, v1;
    } const rows[] = {{"diagram values", 1, 0, -5, 5}, {"both", 1, 1, -5, 5}, {"member extreme", 0, 1, 0, 5},
                      {"neither", 0, 0, 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        E().m_bAbsMaxNumber = r.absMax;
        E().m_bNumAtMax = r.atMax;
        C3DPoint labels[4];
        double extremes[2] = {7, 7};
        Build(rec, 0, C3DPoint(0, 0, 0), C3DPoint(8, 0, 0), 0.0, nullptr, labels, extremes);
        EXPECT_EQ(extremes[0], r.v0);
        EXPECT_EQ(extremes[1], r.v1);
    }
    // Combined selectors have no diagram of their own here: nothing, labels untouched.
    C3DPoint labels[4] = {C3DPoint(9, 9, 9), C3DPoint(9, 9, 9), C3DPoint(9, 9, 9), C3DPoint(9, 9, 9)};
    const Lists none = Build(rec, 6, C3DPoint(0, 0, 0), C3DPoint(8, 0, 0), 0.0, nullptr, labels);
    EXPECT_EQ(none.quads.GetSize(), 0);
    EXPECT_TRUE(Near(labels[1], C3DPoint(9, 9, 9)));
}

TEST_F(PlanLineDiagramTest, CurvedBeamOfTheFrameForceDiagram) {
    // The curved beam's arc height from its node positions: rise 2 to the left of I -> J.
    auto arcHeight = [&](UINT key) {
        CArray<double, double> poses;
        M().RE_GetMembNodePosesFrame(M().m_nObjectIDFirst, key, poses);
        return CForceEngine::MembArcHeight(poses);
    };
    EXPECT_NEAR(arcHeight(kCurved), 2.0, 1e-9);
    EXPECT_EQ(arcHeight(kTwoElem), 0.0) << "three points on a line";
    EXPECT_EQ(arcHeight(kBeam), 0.0) << "two points";

    // Its moment y diagram (5 k - 20 at station k) drawn by the display. Between stations the
    // diagram runs straight, so in plan every band vertex lies between the arc and the chords of
    // its eighths (a sagitta of r (1 - cos(angle / 16)) inside it), and 0.1 m per unit below the
    // axis or on it.
    E().m_nBForcComp = 4;
    E().m_bands.clear();
    E().DoBeamElementSfdBmd(&m_dc, kCurved, 0);
    ASSERT_FALSE(E().m_bands.empty());
    const double inner = kArcR * std::cos((ArcAngle(0.0) - ArcAngle(1.0)) / 16.0);
    for (const auto& b : E().m_bands)
        for (const VtxInfo_tag& t : b.v) {
            const double r = std::hypot(t.pt.x - kArcCx, t.pt.y - kArcCy);
            EXPECT_TRUE(r > inner - 1e-9 && r < kArcR + 1e-9) << "a vertex " << r << " from the arc's centre";
            const double depth = 3.0 - t.pt.z;
            EXPECT_TRUE(std::fabs(depth) < 1e-12 || std::fabs(depth - 0.1 * t.dValue) < 1e-9)
                << "offset " << depth << " for " << t.dValue;
        }
    // The stations stand on the arc at equal angles (a0 + (a1 - a0) k / 8) with their values.
    for (int k = 0; k <= 8; ++k) {
        const C3DPoint at = ArcPoint(k / 8.0);
        bool found = false;
        for (const auto& b : E().m_bands)
            for (const VtxInfo_tag& t : b.v)
                found = found || (std::hypot(t.pt.x - at.x, t.pt.y - at.y) < 1e-9 && std::fabs(t.dValue - CurvedDL(k)) < 1e-9);
        EXPECT_TRUE(found) << "station " << k;
    }
}

TEST_F(PlanLineDiagramTest, BothSidesOfAnEnvelopeDiagramFollowTheArc) {
    // The envelope of DL and LL with both sides drawn: the maximum and the minimum side lie on
    // the arc and its eighths' chords alike (along the whole member's chord the minimum side
    // would come within r cos(angle / 2) = 3 m of the centre).
    SelectLoad(12, kEnv, 3);
    E().m_bMinMaxDiagram = 1;
    E().m_nBForcComp = 4;
    ASSERT_EQ(E().InitEngine(nullptr, 7), 1);
    ASSERT_EQ(E().IsMinMaxDiagram(), 1);
    E().m_dBSfdBmdAdjustFactor = 0.1;
    E().m_bands.clear();
    E().DoBeamElementSfdBmd(&m_dc, kCurved, 0);
    ASSERT_FALSE(E().m_bands.empty());
    const double inner = kArcR * std::cos((ArcAngle(0.0) - ArcAngle(1.0)) / 16.0);
    bool negative = false, positive = false;
    for (const auto& b : E().m_bands)
        for (const VtxInfo_tag& t : b.v) {
            const double r = std::hypot(t.pt.x - kArcCx, t.pt.y - kArcCy);
            EXPECT_TRUE(r > inner - 1e-9 && r < kArcR + 1e-9) << "a vertex " << r << " from the arc's centre";
            negative = negative || t.dValue < 0.0;
            positive = positive || t.dValue > 0.0;
        }
    EXPECT_TRUE(negative && positive);
}

}  // namespace trusstest
