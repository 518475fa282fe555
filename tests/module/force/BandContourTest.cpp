// Member band contours: which value each point of the drawn geometry takes, and how lines and
// faces are cut into pieces for the band drawing, for straight beams, T-girders, curved members
// and columns. The engine notes what it hands to DoSubPolyContour and DrawContourLine.
#include <cmath>
#include <vector>

#include "tests/module/force/ForceTestSupport.h"

namespace forcetest {

namespace {

// Segment s of moment y: start 10 s, end 10 s + 5 (a jump of 5 at every inner station).
T_STRG_D Sawtooth() {
    T_STRG_D r;
    r.Initialize();
    for (int s = 0; s < 8; ++s) {
        r.d[12 * s + 4] = 10.0 * s;
        r.d[12 * s + 6 + 4] = 10.0 * s + 5.0;
    }
    return r;
}
double Vs(int s) { return 10.0 * s; }
double Ve(int s) { return 10.0 * s + 5.0; }

CList<C3DPoint> Face(std::initializer_list<C3DPoint> pts) {
    CList<C3DPoint> f;
    for (const C3DPoint& p : pts) f.AddTail(p);
    return f;
}

template <class T>
CArray<T> Array(std::initializer_list<T> v) {
    CArray<T> a;
    for (const T& x : v) a.Add(x);
    return a;
}

void ExpectPoint(const C3DPoint& p, const C3DPoint& q, const char* what) {
    EXPECT_NEAR(p.x, q.x, 1e-9) << what;
    EXPECT_NEAR(p.y, q.y, 1e-9) << what;
    EXPECT_NEAR(p.z, q.z, 1e-9) << what;
}

}  // namespace

class BandContourTest : public ForceProjectTest {
protected:
    void SetUp() override {
        ForceProjectTest::SetUp();
        m_engine = std::make_unique<NoteForceEngine>(&M());
        m_engine->m_pContourEngine = new CContourEngine(0.0, 110.0);  // levels every 10
        m_engine->m_nBForcComp = 4;
    }
    void TearDown() override {
        m_engine.reset();
        ForceProjectTest::TearDown();
    }
    T_PMEMB_D Memb(UINT key) {
        T_PMEMB_D m;
        EXPECT_TRUE(M().GetAttrCtrl()->GetMemb(key, m));
        return m;
    }
    NoteForceEngine& E() { return *m_engine; }
    std::unique_ptr<NoteForceEngine> m_engine;
};

TEST_F(BandContourTest, LineRunsEachSegmentFromItsHigherEnd) {
    T_PMEMB_D memb = Memb(kBeam);
    C3DPoint A(0, 0, 3), B(8, 0, 3);
    // Rising segments (10 s to 10 s + 5) cross no level inside (levels every 10): each line has
    // its two ends, from the j side.
    T_STRG_D rec = Sawtooth();
    E().DoBForcLineContour(&m_dc, nullptr, memb, rec, A, B);
    ASSERT_EQ(E().m_lines.size(), 8u);
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(testing::Message() << "segment " << k);
        const auto& l = E().m_lines[static_cast<size_t>(k)];
        ASSERT_EQ(l.size(), 2u);
        ExpectPoint(l[0].first, C3DPoint(k + 1.0, 0, 3), "starts at P(k+1)");
        EXPECT_DOUBLE_EQ(l[0].second, Ve(k));
        ExpectPoint(l[1].first, C3DPoint(k, 0, 3), "ends at Pk");
        EXPECT_DOUBLE_EQ(l[1].second, Vs(k));
    }
    // A falling segment from 35 to 12 crosses levels 30 and 20, in that order from the i end;
    // equal values run from the j end.
    E().m_lines.clear();
    const double seg[8][2] = {{35, 12}, {7, 7}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}};
    T_STRG_D falling = SegmentRecord(4, seg);
    E().DoBForcLineContour(&m_dc, nullptr, memb, falling, A, B);
    const auto& l0 = E().m_lines[0];
    ASSERT_EQ(l0.size(), 4u);
    EXPECT_DOUBLE_EQ(l0[0].second, 35.0);
    EXPECT_DOUBLE_EQ(l0[1].second, 30.0);
    EXPECT_NEAR(l0[1].first.x, 5.0 / 23.0, 1e-12) << "35 to 30 is 5 of 23 along the first metre";
    EXPECT_DOUBLE_EQ(l0[2].second, 20.0);
    EXPECT_DOUBLE_EQ(l0[3].second, 12.0);
    ExpectPoint(E().m_lines[1][0].first, C3DPoint(2, 0, 3), "equal values from the j side");
}

TEST_F(BandContourTest, SideFaceOfAOneElementBeamInEightPieces) {
    T_PMEMB_D memb = Memb(kBeam);
    C3DPoint A(0, 0, 3), B(8, 0, 3);
    T_STRG_D rec = Sawtooth();
    // Vertices 0, 1 at the i end, 2, 3 at the j end; edge flags 1, 2, 3, 4 to tell them apart.
    CList<C3DPoint> face = Face({{0, 0, 3.3}, {0, 0, 2.7}, {8, 0, 2.7}, {8, 0, 3.3}});
    CArray<int> flags = Array<int>({1, 2, 3, 4});
    CArray<UINT> keys = Array<UINT>({1, 1, 2, 2});
    E().DoBForcPolyContour(&m_dc, &face, &flags, &keys, memb, rec, A, B, nullptr, nullptr, nullptr);
    ASSERT_EQ(E().m_polys.size(), 8u);
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(testing::Message() << "piece " << k);
        const NoteForceEngine::Poly& p = E().m_polys[static_cast<size_t>(k)];
        ASSERT_EQ(p.pts.size(), 4u);
        ExpectPoint(p.pts[0], C3DPoint(k, 0, 3.3), "corner 0");
        ExpectPoint(p.pts[1], C3DPoint(k, 0, 2.7), "corner 1");
        ExpectPoint(p.pts[2], C3DPoint(k + 1, 0, 2.7), "corner 2");
        ExpectPoint(p.pts[3], C3DPoint(k + 1, 0, 3.3), "corner 3");
        EXPECT_EQ(p.values, (std::vector<double>{Vs(k), Vs(k), Ve(k), Ve(k)}));
        EXPECT_EQ(p.flags, (std::vector<int>{k == 0 ? 1 : 0, 2, k == 7 ? 3 : 0, 4}));
        EXPECT_EQ(p.bFrame, 1);
    }
}

TEST_F(BandContourTest, TriangularSideFaceNarrowsToItsLastPoint) {
    // A side face of three vertices runs from its edge 0-1 at the i end to its point 2 at the
    // j end: eight pieces whose far corners meet there, the triangle's closing edge 2-0 kept as
    // the long edge of every piece.
    T_PMEMB_D memb = Memb(kBeam);
    C3DPoint A(0, 0, 3), B(8, 0, 3);
    T_STRG_D rec = Sawtooth();
    CList<C3DPoint> face = Face({{0, 0, 3.3}, {0, 0, 2.7}, {8, 0, 3.0}});
    CArray<int> flags = Array<int>({1, 2, 3});
    CArray<UINT> keys = Array<UINT>({1, 1, 2});
    E().DoBForcPolyContour(&m_dc, &face, &flags, &keys, memb, rec, A, B, nullptr, nullptr, nullptr);
    ASSERT_EQ(E().m_polys.size(), 8u);
    const NoteForceEngine::Poly& last = E().m_polys[7];
    ExpectPoint(last.pts[2], C3DPoint(8, 0, 3.0), "corner 2 at the point");
    ExpectPoint(last.pts[3], C3DPoint(8, 0, 3.0), "corner 3 at the point");
    ExpectPoint(E().m_polys[3].pts[3], C3DPoint(4, 0, 3.15), "half-way along the edge 0-2");
    EXPECT_EQ(E().m_polys[0].flags, (std::vector<int>{1, 2, 0, 3}));
    EXPECT_EQ(last.flags, (std::vector<int>{0, 2, 0, 3}));
    EXPECT_EQ(last.values, (std::vector<double>{Vs(7), Vs(7), Ve(7), Ve(7)}));
}

TEST_F(BandContourTest, EndCapsAndFacesOfOtherSizes) {
    T_PMEMB_D memb = Memb(kBeam);
    C3DPoint A(0, 0, 3), B(8, 0, 3);
    T_STRG_D rec = Sawtooth();
    CList<C3DPoint> cap = Face({{0, -0.15, 3.3}, {0, 0.15, 3.3}, {0, 0.15, 2.7}, {0, -0.15, 2.7}});
    CArray<int> flags = Array<int>({1, 1, 1, 1});
    struct Row {
        const char* label;
        std::vector<UINT> keys;
        size_t polys;
        double value;  // of every vertex of the first polygon
    } const rows[] = {
        {"cap at the first node", {1, 1, 1, 1}, 1, Vs(0)},
        {"cap at the last node", {2, 2, 2, 2}, 1, Ve(7)},
        {"cap at no end node", {9, 9, 9, 9}, 8, Vs(0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        E().m_polys.clear();
        CArray<UINT> keys;
        for (UINT k : r.keys) keys.Add(k);
        E().DoBForcPolyContour(&m_dc, &cap, &flags, &keys, memb, rec, A, B, nullptr, nullptr, nullptr);
        ASSERT_EQ(E().m_polys.size(), r.polys);
        EXPECT_DOUBLE_EQ(E().m_polys[0].values[0], r.value);
        if (r.polys == 1) {
            EXPECT_EQ(E().m_polys[0].values, std::vector<double>(4, r.value));
        }
    }
    E().m_polys.clear();
    CList<C3DPoint> five = Face({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}});
    CList<C3DPoint> two = Face({{0, 0, 3}, {8, 0, 3}});
    CArray<UINT> keys5 = Array<UINT>({1, 1, 2, 2, 2});
    E().DoBForcPolyContour(&m_dc, &five, &flags, &keys5, memb, rec, A, B, nullptr, nullptr, nullptr);
    E().DoBForcPolyContour(&m_dc, &two, &flags, &keys5, memb, rec, A, B, nullptr, nullptr, nullptr);
    E().DoTGForcPolyContour(&m_dc, &five, &flags, &keys5, memb, rec, A, B);
    EXPECT_TRUE(E().m_polys.empty()) << "faces of five or two vertices draw nothing";
}

TEST_F(BandContourTest, ElementOfALongerMemberShowsTheSegmentsItSpans) {
    // The two-element member: element 51 from node 9 (x 0) to node 10 (x 3), element 52 from
    // node 10 to node 11 (x 8). The member length decides where the nodes sit on the grid.
    T_STRG_D rec = Sawtooth();
    C3DPoint A(0, 4, 3), B(8, 4, 3);
    struct Piece {
        int seg;
        double u0, u1;      // fractions of the face
        double v0, v1;      // values at the piece's ends
    };
    struct Row {
        const char* label;
        double length;
        UINT from, to;      // node keys of the face's ends
        double x0, x1;      // the face's extent in x
        std::vector<Piece> pieces;
    };
    // Length 8, element 51: r 0 to 3/8, stations 0 to 3: segments 0, 1, 2 whole, no
    // interpolated values.
    // Length 16, element 52: r 3/16 (half-way through segment 1) to 1/2 (station 4): segment 1
    // from its middle (value Vs(1) + 0.5 x 5), then segments 2 and 3: three pieces, the first
    // 1/16 of the 5/16 the element spans (a fifth of the face), the others two fifths each.
    // Length 10, element 52: r 0.3 (0.4 of the way through segment 2) to 0.8 (0.4 through
    // segment 6): five pieces of 0.075, 0.125, 0.125, 0.125 and 0.05 over 0.5.
    // Length 4, element 52: the summed element lengths pass the member's: r 0.75 to 2, kept
    // within the member: segments 6 and 7.
    const Row rows[] = {
        {"on stations", 8.0, 9, 10, 0, 3,
         {{0, 0, 1.0 / 3, Vs(0), Ve(0)}, {1, 1.0 / 3, 2.0 / 3, Vs(1), Ve(1)}, {2, 2.0 / 3, 1, Vs(2), Ve(2)}}},
        {"starting inside a segment", 16.0, 10, 11, 3, 8,
         {{1, 0, 0.2, Vs(1) + 2.5, Ve(1)}, {2, 0.2, 0.6, Vs(2), Ve(2)}, {3, 0.6, 1, Vs(3), Ve(3)}}},
        {"both ends inside", 10.0, 10, 11, 3, 8,
         {{2, 0, 0.15, Vs(2) + 2.0, Ve(2)},
          {3, 0.15, 0.4, Vs(3), Ve(3)},
          {4, 0.4, 0.65, Vs(4), Ve(4)},
          {5, 0.65, 0.9, Vs(5), Ve(5)},
          {6, 0.9, 1, Vs(6), Vs(6) + 2.0}}},
        {"past the member's length", 4.0, 10, 11, 3, 8, {{6, 0, 0.5, Vs(6), Ve(6)}, {7, 0.5, 1, Vs(7), Ve(7)}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        E().m_polys.clear();
        T_PMEMB_D memb = Memb(kTwoElem);
        memb.length = r.length;
        CList<C3DPoint> face = Face({{r.x0, 4, 3.3}, {r.x0, 4, 2.7}, {r.x1, 4, 2.7}, {r.x1, 4, 3.3}});
        CArray<int> flags = Array<int>({1, 1, 1, 1});
        CArray<UINT> keys = Array<UINT>({r.from, r.from, r.to, r.to});
        E().DoBForcPolyContour(&m_dc, &face, &flags, &keys, memb, rec, A, B, nullptr, nullptr, nullptr);
        ASSERT_EQ(E().m_polys.size(), r.pieces.size());
        for (size_t i = 0; i < r.pieces.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "piece " << i);
            const Piece& want = r.pieces[i];
            const NoteForceEngine::Poly& p = E().m_polys[i];
            const double w = r.x1 - r.x0;
            EXPECT_NEAR(p.pts[0].x, r.x0 + want.u0 * w, 1e-9);
            EXPECT_NEAR(p.pts[3].x, r.x0 + want.u1 * w, 1e-9);
            EXPECT_NEAR(p.values[0], want.v0, 1e-9);
            EXPECT_NEAR(p.values[1], want.v0, 1e-9);
            EXPECT_NEAR(p.values[2], want.v1, 1e-9);
            EXPECT_NEAR(p.values[3], want.v1, 1e-9);
            EXPECT_EQ(p.flags[0], i == 0 ? 1 : 0) << "only the face's own start edge";
            EXPECT_EQ(p.flags[2], i + 1 == r.pieces.size() ? 1 : 0);
        }
    }
}

TEST_F(BandContourTest, GirderVerticesTakeTheValueOfTheirPlanPosition) {
    T_STRG_D rec = Sawtooth();
    C3DPoint A(0, 0, 0), B(8, 0, 0);
    struct Row {
        const char* label;
        double x, y, z;
        double expected;
    } const rows[] = {
        {"on station 3, any height", 3, 0, 7, Vs(3)},
        {"half-way through segment 3", 3.5, 0, 0, 0.5 * (Vs(3) + Ve(3))},
        {"at B", 8, 0, 0, Ve(7)},
        {"at A", 0, 0, 0, Vs(0)},
    };
    for (const Row& r : rows) {
        T_PNODE_D n{r.x, r.y, r.z};
        EXPECT_NEAR(E().CalcTGirderValueByNode(n, A, B, rec), r.expected, 1e-12) << r.label;
    }
    // A girder without plan length gives the i-end value, not a number divided by zero.
    T_PNODE_D n{0, 0, 5};
    const double v = E().CalcTGirderValueByNode(n, A, A, rec);
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_DOUBLE_EQ(v, Vs(0));

    // The project's girder face: nodes 5 (0,-2,3), 6 (8,-2,3), 7 (8,-2,2), 8 (0,-2,2).
    T_PMEMB_D memb = Memb(kGirder);
    C3DPoint GA(0, -2, 3), GB(8, -2, 2);
    CList<C3DPoint> face = Face({{0, -2, 3}, {8, -2, 3}, {8, -2, 2}, {0, -2, 2}});
    CArray<int> flags = Array<int>({1, 0, 1, 0});
    CArray<UINT> keys = Array<UINT>({5, 6, 7, 8});
    E().DoTGForcPolyContour(&m_dc, &face, &flags, &keys, memb, rec, GA, GB);
    ASSERT_EQ(E().m_polys.size(), 1u);
    EXPECT_EQ(E().m_polys[0].values, (std::vector<double>{Vs(0), Ve(7), Ve(7), Vs(0)}));
    EXPECT_EQ(E().m_polys[0].flags, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(E().m_polys[0].bFrame, 0) << "triangle and quadrilateral cutting";
}

TEST_F(BandContourTest, CurvedMembersByRelativePosition) {
    T_STRG_D rec = Sawtooth();
    CMap<int, int, double, double> pos;
    pos[1] = 0.0;
    pos[2] = 0.0;
    pos[3] = 1.0;
    pos[4] = 1.0;
    pos[5] = 3.0 / 16;  // half-way through segment 1
    pos[6] = 0.5;       // station 4
    pos[7] = 1.0 / 16;  // half-way through segment 0
    pos[8] = 0.25;      // station 2
    CList<C3DPoint> face = Face({{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}});
    CArray<int> flags = Array<int>({1, 1, 1, 1});
    struct Row {
        const char* label;
        std::vector<UINT> keys;
        std::vector<double> values;  // empty: nothing drawn
    } const rows[] = {
        {"all at the i end", {1, 2, 1, 2}, {Vs(0), Vs(0), Vs(0), Vs(0)}},
        {"all at the j end", {3, 4, 3, 4}, {Ve(7), Ve(7), Ve(7), Ve(7)}},
        // From the middle of segment 1 to station 4: the start inside segment 1, the end the
        // end of segment 3 (each end in its own segment).
        {"across segments", {5, 5, 6, 6}, {Vs(1) + 2.5, Vs(1) + 2.5, Ve(3), Ve(3)}},
        {"a key without position", {1, 2, 99, 2}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        E().m_polys.clear();
        CArray<UINT> keys;
        for (UINT k : r.keys) keys.Add(k);
        E().DoBForcPolyContour_curve(&m_dc, &face, &flags, nullptr, rec, &pos, 1.0, &keys);
        if (r.values.empty()) {
            EXPECT_TRUE(E().m_polys.empty());
        } else {
            ASSERT_EQ(E().m_polys.size(), 1u);
            EXPECT_EQ(E().m_polys[0].values, r.values);
        }
    }
    // A polyline through the i end, the middle of segment 0 and station 2: (0 to 2.5) and
    // (2.5 to the end of segment 1), each drawn from its higher point.
    CList<C3DPoint> line = Face({{0, 0, 0}, {0.5, 0, 0}, {2, 0, 0}});
    CArray<UINT> keys = Array<UINT>({1, 7, 8});
    T_PMEMB_D memb = Memb(kBeam);
    E().DoBForcLineContour_curve(&m_dc, &line, memb, rec, &pos, 1.0, &keys);
    ASSERT_EQ(E().m_lines.size(), 2u);
    EXPECT_DOUBLE_EQ(E().m_lines[0].front().second, 2.5);
    EXPECT_DOUBLE_EQ(E().m_lines[0].back().second, 0.0);
    EXPECT_DOUBLE_EQ(E().m_lines[1].front().second, Ve(1));
    EXPECT_DOUBLE_EQ(E().m_lines[1].back().second, 2.5);
    E().m_lines.clear();
    keys[2] = 99;
    E().DoBForcLineContour_curve(&m_dc, &line, memb, rec, &pos, 1.0, &keys);
    EXPECT_TRUE(E().m_lines.empty()) << "a point without position suppresses the polyline";
}

TEST_F(BandContourTest, ColumnValuesFromTheirFourBlocks) {
    E().m_nBForcComp = 0;
    T_MBCL_D col;
    col.Initialize();
    col.d[0][0] = 10.0;  // first node
    col.d[1][0] = 2.0;   // last node
    col.d[2][0] = 6.0;   // i-side inner node
    col.d[3][0] = 4.0;   // j-side inner node
    // A column from z 0 to 4 with inner nodes at z 1 (key 21) and z 3 (key 22).
    T_PMEMB_D memb;
    memb.type = 101;
    memb.aNode.Add(31);
    memb.aNode.Add(32);
    memb.node3 = 21;
    memb.node4 = 22;
    C3DPoint first(0, 0, 0), last(0, 0, 4), innerI(0, 0, 1), innerJ(0, 0, 3);
    // A point at z 2 without a node lies between the inner nodes, 1 from each: (6 + 4) / 2 = 5;
    // the last node takes block 1. The line runs from its higher end.
    CList<C3DPoint> pts = Face({{0, 0, 2}, {0, 0, 4}});
    CArray<UINT> keys = Array<UINT>({0, 32});
    E().DoCForcLineContour(&m_dc, &pts, &keys, memb, col, first, last, innerI, innerJ);
    ASSERT_EQ(E().m_lines.size(), 1u);
    EXPECT_DOUBLE_EQ(E().m_lines[0].front().second, 5.0);
    EXPECT_DOUBLE_EQ(E().m_lines[0].back().second, 2.0);

    // Faces of the project's column (node 3 at z 0 first, node 1 at z 3 last).
    T_PMEMB_D real = Memb(kColumn);
    CList<C3DPoint> side = Face({{0, 0, 0}, {0.3, 0, 0}, {0.3, 0, 1}, {0, 0, 1}});
    CArray<int> flags = Array<int>({1, 1, 1, 1});
    struct Row {
        const char* label;
        std::vector<UINT> keys;
        std::vector<double> values;
    } const rows[] = {
        {"cap at the first node", {3, 3, 3, 3}, {10, 10, 10, 10}},
        {"cap at the last node", {1, 1, 1, 1}, {2, 2, 2, 2}},
        // Vertices without a node at z 1 take (10 dL + 2 dF) / (dF + dL) by their distances
        // to the first and the last node: on the axis 1 and 2, i.e. 22 / 3; the corner at
        // x 0.3 sqrt(1.09) and sqrt(4.09).
        {"side between the ends", {3, 3, 0, 0},
         {10, 10, (10 * std::sqrt(4.09) + 2 * std::sqrt(1.09)) / (std::sqrt(1.09) + std::sqrt(4.09)), 22.0 / 3}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        E().m_polys.clear();
        CArray<UINT> k;
        for (UINT x : r.keys) k.Add(x);
        E().DoCForcPolyContour(&m_dc, &side, &flags, &k, real, col);
        ASSERT_EQ(E().m_polys.size(), 1u);
        for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(E().m_polys[0].values[i], r.values[i], 1e-12) << "vertex " << i;
    }
    // A vertex at the i-side inner node shows block 2 exactly.
    E().m_polys.clear();
    CArray<UINT> k = Array<UINT>({21, 21, 22, 22});
    E().DoCForcPolyContour(&m_dc, &side, &flags, &k, memb, col);
    ASSERT_EQ(E().m_polys.size(), 1u);
    EXPECT_EQ(E().m_polys[0].values, (std::vector<double>{6, 6, 4, 4}));
}

TEST_F(BandContourTest, ValuesFollowTheAnimationFrame) {
    // Frame 2 of 4 per half cycle: factor 0.5. The scale runs from 0, so a value is scaled about
    // 0: segment k of the sawtooth shows 5 k to 5 k + 2.5 on lines and faces alike.
    M().m_bAnimation = 1;
    M().m_AnimationEngine.m_bRecording = 1;
    M().m_AnimationEngine.m_nFramesPerHalfCycle = 4;
    M().m_AnimationEngine.m_nCurFrame = 2;
    T_PMEMB_D memb = Memb(kBeam);
    C3DPoint A(0, 0, 3), B(8, 0, 3);
    T_STRG_D rec = Sawtooth();
    E().DoBForcLineContour(&m_dc, nullptr, memb, rec, A, B);
    ASSERT_EQ(E().m_lines.size(), 8u);
    EXPECT_DOUBLE_EQ(E().m_lines[3].front().second, 0.5 * Ve(3));
    EXPECT_DOUBLE_EQ(E().m_lines[3].back().second, 0.5 * Vs(3));
    CList<C3DPoint> face = Face({{0, 0, 3.3}, {0, 0, 2.7}, {8, 0, 2.7}, {8, 0, 3.3}});
    CArray<int> flags = Array<int>({1, 1, 1, 1});
    CArray<UINT> keys = Array<UINT>({1, 1, 2, 2});
    E().DoBForcPolyContour(&m_dc, &face, &flags, &keys, memb, rec, A, B, nullptr, nullptr, nullptr);
    ASSERT_EQ(E().m_polys.size(), 8u);
    EXPECT_EQ(E().m_polys[5].values, (std::vector<double>{25, 25, 27.5, 27.5}));
    // Without the animation running, or with contours not animated, the values are the record's.
    for (int bAnimate : {0, 1}) {
        SCOPED_TRACE(bAnimate ? "contours not animated" : "no animation");
        M().m_bAnimation = bAnimate;
        M().m_AnimationEngine.m_bAnimateContour = bAnimate ? 0 : 1;
        E().m_polys.clear();
        E().DoBForcPolyContour(&m_dc, &face, &flags, &keys, memb, rec, A, B, nullptr, nullptr, nullptr);
        EXPECT_EQ(E().m_polys[5].values, (std::vector<double>{50, 50, 55, 55}));
    }
    M().m_AnimationEngine.m_bAnimateContour = 1;
    M().m_AnimationEngine.m_bRecording = 0;
    M().m_bAnimation = 0;
}

}  // namespace forcetest
