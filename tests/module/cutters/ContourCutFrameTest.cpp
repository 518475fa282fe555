// Band strips of member diagrams and member faces: strip order, values and line flags of the
// diagram quadrilaterals and triangles, pieces the pairing cannot cut, and the range filters.
#include "tests/module/cutters/CutTestSupport.h"

namespace {

// The diagram quadrilateral of a member 4 long: axis P0-P1, diagram P2-P3, one unit apart.
const C3DPoint kQuad[4] = {C3DPoint(0, 0, 0), C3DPoint(4, 0, 0), C3DPoint(4, 1, 0), C3DPoint(0, 1, 0)};
// A diagram triangle: apex P0, base P1-P2.
const C3DPoint kTri[3] = {C3DPoint(0, 0, 0), C3DPoint(4, 0, 0), C3DPoint(4, 1, 0)};

TEST(ContourCutFrame, DiagramQuadrilateralStrips) {
    // Levels 10, 15, 20, 25, 30; P0 10, P1 30, P2 30, P3 10: class 1, cut from the P1-P2 side.
    CutProbe e(10.0, 30.0, 5);
    C3DPoint P[4] = {kQuad[0], kQuad[1], kQuad[2], kQuad[3]};
    double w[4] = {10, 30, 30, 10};
    int flags[4] = {1, 2, 3, 4};  // edge i runs from Pi to the next point
    {
        SCOPED_TRACE("SfdBmdFramePoly: caller's flags on input edges, level lines unmarked");
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        e.SfdBmdFramePoly(P, w, flags, 4, sizes, vtx, 99);
        ExpectPolys(sizes, vtx,
                    {{{4, 0, 2, 30}, {4, 1, 3, 30}, {3, 1, 0, 25}, {3, 0, 1, 25}},
                     {{3, 0, 0, 25}, {3, 1, 3, 25}, {2, 1, 0, 20}, {2, 0, 1, 20}},
                     {{2, 0, 0, 20}, {2, 1, 3, 20}, {1, 1, 0, 15}, {1, 0, 1, 15}},
                     {{1, 0, 0, 15}, {1, 1, 3, 15}, {0, 1, 4, 10}, {0, 0, 1, 10}}});
    }
    {
        SCOPED_TRACE("ContourFramePoly: every level line marked on both strips, no input edge");
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        CArray<double, double> f1, f2;
        e.ContourFramePoly(P, w, 4, sizes, vtx, &f1, &f2);
        ExpectPolys(sizes, vtx,
                    {{{4, 0, 0, 30}, {4, 1, 0, 30}, {3, 1, 1, 25}, {3, 0, 0, 25}},
                     {{3, 0, 1, 25}, {3, 1, 0, 25}, {2, 1, 1, 20}, {2, 0, 0, 20}},
                     {{2, 0, 1, 20}, {2, 1, 0, 20}, {1, 1, 1, 15}, {1, 0, 0, 15}},
                     {{1, 0, 1, 15}, {1, 1, 0, 15}, {0, 1, 0, 10}, {0, 0, 0, 10}}});
        ASSERT_EQ(f1.GetSize(), 4);
        ASSERT_EQ(f2.GetSize(), 4);
        EXPECT_EQ(f1[3], 1.0);
        EXPECT_EQ(f2[3], 0.0);
    }

    // Every orientation of the two constant sides: strip count, the leading value and full cover.
    struct Row {
        const char* label;
        double w[4];
        int strips;
        double firstValue;
        double firstX, firstY;  // where the first strip starts: the higher corner of the first side
    } rows[] = {
        {"class 1, P0 <= P1", {10, 30, 30, 10}, 4, 30, 4, 0},
        {"class 1, P0 > P1", {30, 10, 10, 30}, 4, 30, 0, 0},
        {"class 2, P0 <= P3", {10, 10, 30, 30}, 4, 30, 0, 1},
        {"class 2, P0 > P3", {30, 30, 10, 10}, 4, 30, 0, 0},
        {"between two levels", {16, 19, 19, 16}, 1, 19, 4, 0},
        {"sides on inner levels", {15, 25, 25, 15}, 2, 25, 4, 0},
        // Not a diagram shape: one colour would span the level 15, so it is cut band by band.
        {"three equal values, the fourth below a level", {20, 20, 20, 12}, 2, 20, 0, 0},
        {"all equal", {12, 12, 12, 12}, 1, 12, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        double wr[4] = {r.w[0], r.w[1], r.w[2], r.w[3]};
        e.ContourFramePoly(P, wr, 4, sizes, vtx, nullptr, nullptr);
        ASSERT_EQ(sizes.GetSize(), r.strips);
        EXPECT_EQ(vtx[0].dValue, r.firstValue);
        EXPECT_TRUE(vtx[0].pt == C3DPoint(r.firstX, r.firstY, 0));
        EXPECT_NEAR(CheckBandPurity(e, sizes, vtx), 4.0, 1e-12);
    }
}

TEST(ContourCutFrame, DiagramTriangles) {
    // Levels 0, 5, 10, 15, 20.
    CutProbe e(0.0, 20.0, 5);
    C3DPoint P[3] = {kTri[0], kTri[1], kTri[2]};
    int flags[3] = {1, 2, 3};
    struct Row {
        const char* label;
        double w[3];
        std::vector<ExpPoly> polys;
    } rows[] = {
        {"apex P0 lowest: strips from the base down, the apex band last",
         {0, 20, 20},
         {{{4, 0, 2, 20}, {4, 1, 3, 20}, {3, 0.75, 0, 15}, {3, 0, 1, 15}},
          {{3, 0, 0, 15}, {3, 0.75, 3, 15}, {2, 0.5, 0, 10}, {2, 0, 1, 10}},
          {{2, 0, 0, 10}, {2, 0.5, 3, 10}, {1, 0.25, 0, 5}, {1, 0, 1, 5}},
          {{1, 0, 0, 5}, {1, 0.25, 3, 5}, {0, 0, 1, 0}}}},
        {"apex P0 highest: the apex band first, strips down to the base",
         {20, 0, 0},
         {{{0, 0, 1, 20}, {1, 0, 0, 15}, {1, 0.25, 3, 15}},
          {{1, 0, 0, 15}, {1, 0.25, 3, 15}, {2, 0.5, 0, 10}, {2, 0, 1, 10}},
          {{2, 0, 0, 10}, {2, 0.5, 3, 10}, {3, 0.75, 0, 5}, {3, 0, 1, 5}},
          {{3, 0, 0, 5}, {3, 0.75, 3, 5}, {4, 1, 2, 0}, {4, 0, 1, 0}}}},
        {"apex inside one band: the base edge closes the apex triangle",
         {11, 14, 14},
         {{{4, 0, 2, 14}, {4, 1, 3, 14}, {0, 0, 1, 11}}}},
        {"all equal", {7, 7, 7}, {{{0, 0, 1, 7}, {4, 0, 2, 7}, {4, 1, 3, 7}}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        double w[3] = {r.w[0], r.w[1], r.w[2]};
        e.SfdBmdFramePoly(P, w, flags, 3, sizes, vtx, 0);
        ExpectPolys(sizes, vtx, r.polys);
    }

    // The apex at P2 (class 2) and at P1 (class 3, P0 = P2) are cut the same way.
    struct ApexRow {
        const char* label;
        double w[3];
        int polys;
        double firstValue;
    } apexRows[] = {
        {"apex P2 highest", {0, 0, 20}, 4, 20},
        {"apex P2 lowest", {20, 20, 0}, 4, 20},
        {"apex P1 highest", {0, 20, 0}, 4, 20},
        {"apex P1 lowest", {20, 0, 20}, 4, 20},
    };
    for (const ApexRow& r : apexRows) {
        SCOPED_TRACE(r.label);
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        double w[3] = {r.w[0], r.w[1], r.w[2]};
        e.ContourFramePoly(P, w, 3, sizes, vtx, nullptr, nullptr);
        EXPECT_EQ(sizes.GetSize(), r.polys);
        EXPECT_EQ(vtx[0].dValue, r.firstValue);
        EXPECT_NEAR(CheckBandPurity(e, sizes, vtx), 2.0, 1e-12);
        // Three interior level lines, each marked on the two polygons beside it.
        int marked = 0;
        for (INT_PTR i = 0; i < vtx.GetSize(); i++) marked += vtx[i].bLine;
        EXPECT_EQ(marked, 6);
    }
}

TEST(ContourCutFrame, PiecesThePairingCannotCut) {
    // Levels 10, 15, 20, 25, 30. Each piece is cut band by band: it is covered exactly, every
    // polygon lies in one band and starts at its highest value.
    CutProbe e(10.0, 30.0, 5);
    struct Row {
        const char* label;
        int n;
        double w[4];
        double area;
    } rows[] = {
        {"quadrilateral of four different values", 4, {10, 22, 30, 12}, 4.0},
        {"constant sides of different values", 4, {10, 30, 30, 20}, 4.0},
        {"triangle of three different values", 3, {12, 28, 20, 0}, 2.0},
        {"triangle with the middle value at P1", 3, {12, 20, 28, 0}, 2.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        C3DPoint P[4] = {kQuad[0], kQuad[1], kQuad[2], kQuad[3]};
        double w[4] = {r.w[0], r.w[1], r.w[2], r.w[3]};
        int zero[4] = {0, 0, 0, 0};
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        e.SfdBmdFramePoly(P, w, zero, r.n, sizes, vtx, 0);
        ASSERT_GT(sizes.GetSize(), 1);
        EXPECT_NEAR(CheckBandPurity(e, sizes, vtx), r.area, 1e-12);
        for (INT_PTR i = 0; i < vtx.GetSize(); i++) EXPECT_EQ(vtx[i].bLine, 0) << "all flags 0 mark nothing";

        sizes.RemoveAll();
        vtx.RemoveAll();
        e.ContourFramePoly(P, w, r.n, sizes, vtx, nullptr, nullptr);
        EXPECT_NEAR(CheckBandPurity(e, sizes, vtx), r.area, 1e-12);
        int marked = 0;
        for (INT_PTR i = 0; i < vtx.GetSize(); i++) marked += vtx[i].bLine;
        EXPECT_EQ(marked, 2 * (static_cast<int>(sizes.GetSize()) - 1)) << "level lines marked on both sides";
    }
}

TEST(ContourCutFrame, CountsAndListsOutsideTheShapes) {
    CutProbe e(10.0, 30.0, 5);
    C3DPoint P[5] = {C3DPoint(0, 0, 0), C3DPoint(4, 0, 0), C3DPoint(4, 1, 0), C3DPoint(2, 2, 0), C3DPoint(0, 1, 0)};
    int flags[5] = {1, 1, 1, 1, 1};
    struct Row {
        const char* label;
        int n;
        double w[5];
        INT_PTR polys;
        INT_PTR vertices;
    } rows[] = {
        {"five points of differing values", 5, {10, 20, 30, 20, 10}, 0, 0},
        {"five points of one value", 5, {17, 17, 17, 17, 17}, 1, 5},
        {"two points of differing values", 2, {10, 20, 0, 0, 0}, 0, 0},
        {"one point", 1, {10, 0, 0, 0, 0}, 1, 1},
        {"no point", 0, {0, 0, 0, 0, 0}, 0, 0},
        {"an undefined value", 4, {10, 30, 30, std::nan("")}, 0, 0},
        {"an infinite value", 3, {-HUGE_VAL, 30, 30, 0, 0}, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        double w[5] = {r.w[0], r.w[1], r.w[2], r.w[3], r.w[4]};
        e.SfdBmdFramePoly(P, w, flags, r.n, sizes, vtx, 0);
        EXPECT_EQ(sizes.GetSize(), r.polys);
        EXPECT_EQ(vtx.GetSize(), r.vertices);
    }
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> vtx;
    e.SfdBmdFramePoly(nullptr, nullptr, nullptr, 4, sizes, vtx, 0);
    EXPECT_EQ(sizes.GetSize(), 0) << "no arrays";

    // The list form never reads past its lists and cuts like the array form.
    CArray<C3DPoint, C3DPoint&> pts;
    CArray<double, double&> vals;
    double w[4] = {10, 30, 30, 10};
    for (int i = 0; i < 4; i++) {
        C3DPoint p = kQuad[i];
        pts.Add(p);
        vals.Add(w[i]);
    }
    CArray<int, int> s1, s2;
    CArray<VtxInfo_tag, VtxInfo_tag> v1, v2;
    e.ContourFramePoly(pts, vals, 6, s1, v1);
    C3DPoint Q[4] = {kQuad[0], kQuad[1], kQuad[2], kQuad[3]};
    e.ContourFramePoly(Q, w, 4, s2, v2, nullptr, nullptr);
    ASSERT_EQ(s1.GetSize(), 4);
    ASSERT_EQ(v1.GetSize(), v2.GetSize());
    for (INT_PTR i = 0; i < v1.GetSize(); i++) {
        EXPECT_TRUE(v1[i].pt == v2[i].pt);
        EXPECT_EQ(v1[i].bLine, v2[i].bLine);
        EXPECT_EQ(v1[i].dValue, v2[i].dValue);
    }
}

TEST(ContourCutFrame, RangeFiltersAfterCutting) {
    CutProbe e(10.0, 30.0, 5);
    e.m_bGlobalRange = 1;
    e.m_dGlobalMin = 0.0;
    e.m_dGlobalMax = 20.0;
    C3DPoint P[4] = {kQuad[0], kQuad[1], kQuad[2], kQuad[3]};
    double w[4] = {10, 30, 30, 10};
    int flags[4] = {0, 0, 0, 0};
    {
        SCOPED_TRACE("strips above 20 go whole, with their factor entries");
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        CArray<double, double> f1, f2;
        e.ContourFramePoly(P, w, 4, sizes, vtx, &f1, &f2);
        ASSERT_EQ(sizes.GetSize(), 2);
        EXPECT_EQ(vtx[0].dValue, 20.0);
        EXPECT_EQ(vtx[4].dValue, 15.0);
        EXPECT_EQ(f1.GetSize(), 2);
        EXPECT_EQ(f2.GetSize(), 2);
    }
    {
        SCOPED_TRACE("earlier pieces in the lists are filtered the same way");
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        e.SfdBmdFramePoly(P, w, flags, 4, sizes, vtx, 0);
        e.SfdBmdFramePoly(P, w, flags, 4, sizes, vtx, 0);
        EXPECT_EQ(sizes.GetSize(), 4);
        EXPECT_EQ(vtx.GetSize(), 16);
    }
    {
        SCOPED_TRACE("active range from knots");
        e.m_bGlobalRange = 0;
        e.m_bActiveRange = 1;
        e.m_bActiveRangeKnot = 1;
        e.m_nActiveRangeMode = 0;
        e.m_dActiveRangeMin = 14.0;
        e.m_dActiveRangeMax = 26.0;
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        e.SfdBmdFramePoly(P, w, flags, 4, sizes, vtx, 0);
        ASSERT_EQ(sizes.GetSize(), 2);
        EXPECT_EQ(vtx[0].dValue, 25.0);
    }
}

}  // namespace
