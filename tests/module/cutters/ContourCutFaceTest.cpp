// Band cutting of element faces: level crossings of a segment, the triangle core, triangles and
// quadrilaterals through the public cutters, extrusion, tolerances and the range filters.
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

#include "tests/module/cutters/CutTestSupport.h"

#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"

namespace {

TEST(ContourCut, RankVerticesOfASegment) {
    // Levels 0, 1, 2, 3; the segment runs from (0,0,0) to (6,0,0).
    CutProbe e(0.0, 3.0, 4);
    struct Row {
        const char* label;
        double w1, w2;
        std::vector<double> xs;      // expected crossing x, from p1 on
        std::vector<double> levels;  // expected level values
        int flag;
    } rows[] = {
        {"three crossings", 3.5, 0.5, {1.0, 3.0, 5.0}, {3.0, 2.0, 1.0}, 0},
        {"given from the lower end", 0.5, 3.5, {}, {}, 1},
        {"equal ends", 2.0, 2.0, {}, {}, 1},
        {"lower end on level 1", 2.5, 1.0, {2.0}, {2.0}, 1},
        {"upper end on level 2", 2.0, 0.5, {4.0}, {1.0}, 0},
        {"both ends on levels", 3.0, 1.0, {3.0}, {2.0}, 1},
        // Level 0 has no negative rank, so an end on it is not reported; it still gives no crossing.
        {"lower end on level 0", 2.0, 0.0, {3.0}, {1.0}, 0},
        // Both ends beyond the levels: no point may land outside the segment.
        {"both above the top level", 5.0, 4.0, {}, {}, 0},
        {"both below level 0", -1.0, -2.0, {}, {}, 0},
        {"above the top down into the range", 4.0, 2.5, {4.0}, {3.0}, 0},
        {"infinite upper end", HUGE_VAL, 0.5, {}, {}, 0},
        {"undefined upper end", std::nan(""), 0.5, {}, {}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<C3DPoint, C3DPoint> pts;
        CArray<double, double> lev;
        int flag = -7;
        e.GetRankVertices(C3DPoint(0, 0, 0), C3DPoint(6, 0, 0), r.w1, r.w2, pts, lev, &flag);
        EXPECT_EQ(flag, r.flag);
        ASSERT_EQ(pts.GetSize(), static_cast<INT_PTR>(r.xs.size()));
        ASSERT_EQ(lev.GetSize(), static_cast<INT_PTR>(r.levels.size()));
        for (size_t i = 0; i < r.xs.size(); i++) {
            EXPECT_NEAR(pts[i].x, r.xs[i], 1e-12) << "crossing " << i;
            EXPECT_EQ(lev[i], r.levels[i]) << "crossing " << i << " carries the exact level";
        }
    }
    // Appends to what the lists hold and accepts no flag pointer.
    CArray<C3DPoint, C3DPoint> pts;
    CArray<double, double> lev;
    pts.Add(C3DPoint(9, 9, 9));
    lev.Add(99.0);
    e.GetRankVertices(C3DPoint(0, 0, 0), C3DPoint(6, 0, 0), 3.5, 0.5, pts, lev, nullptr);
    ASSERT_EQ(pts.GetSize(), 4);
    EXPECT_EQ(pts[0].x, 9.0);
    EXPECT_EQ(lev[3], 1.0);
}

TEST(ContourCut, TriangleCoreBands) {
    // Levels 0..3; A = (0,0), B = (2,0), C = (0,2); edge flags 2 (AB), 3 (BC), 4 (CA) so every
    // bLine names the edge it follows, 1 a level line, 0 an unmarked lower level line.
    CutProbe e(0.0, 3.0, 4);
    struct Row {
        const char* label;
        double vA, vB, vC;
        std::vector<ExpPoly> polys;
    } rows[] = {
        {"crossings on both sides of B", 2.5, 1.5, 0.5,
         {{{0, 0, 2, 2.5}, {1, 0, 0, 2}, {0, 0.5, 4, 2}},
          {{0, 0.5, 1, 2}, {1, 0, 2, 2}, {2, 0, 3, 1.5}, {1, 1, 0, 1}, {0, 1.5, 4, 1}},
          {{0, 1.5, 1, 1}, {1, 1, 3, 1}, {0, 2, 4, 0.5}}}},
        {"B exactly on level 2", 2.5, 2.0, 0.5,
         {{{0, 0, 2, 2.5}, {2, 0, 0, 2.0}, {0, 0.5, 4, 2}},
          {{0, 0.5, 1, 2}, {2, 0, 3, 2.0}, {2.0 / 3, 4.0 / 3, 0, 1}, {0, 1.5, 4, 1}},
          {{0, 1.5, 1, 1}, {2.0 / 3, 4.0 / 3, 3, 1}, {0, 2, 4, 0.5}}}},
        {"two equal highest values", 2.5, 2.5, 0.5,
         {{{0, 0, 2, 2.5}, {2, 0, 3, 2.5}, {1.5, 0.5, 0, 2}, {0, 0.5, 4, 2}},
          {{0, 0.5, 1, 2}, {1.5, 0.5, 3, 2}, {0.5, 1.5, 0, 1}, {0, 1.5, 4, 1}},
          {{0, 1.5, 1, 1}, {0.5, 1.5, 3, 1}, {0, 2, 4, 0.5}}}},
        {"two equal lowest values", 2.5, 0.5, 0.5,
         {{{0, 0, 2, 2.5}, {0.5, 0, 0, 2}, {0, 0.5, 4, 2}},
          {{0, 0.5, 1, 2}, {0.5, 0, 2, 2}, {1.5, 0, 0, 1}, {0, 1.5, 4, 1}},
          {{0, 1.5, 1, 1}, {1.5, 0, 2, 1}, {2, 0, 3, 0.5}, {0, 2, 4, 0.5}}}},
        {"inside one band", 1.9, 1.5, 1.1, {{{0, 0, 2, 1.9}, {2, 0, 3, 1.5}, {0, 2, 4, 1.1}}}},
        {"flat", 1.0, 1.0, 1.0, {{{0, 0, 2, 1.0}, {2, 0, 3, 1.0}, {0, 2, 4, 1.0}}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        C3DPoint A(0, 0, 0), B(2, 0, 0), C(0, 2, 0);
        e.DoTriangleContour(r.vA, r.vB, r.vC, A, B, C, 2, 3, 4, sizes, vtx, nullptr, nullptr);
        ExpectPolys(sizes, vtx, r.polys);
        // Each level line inside the face is marked exactly once.
        int marked = 0;
        for (INT_PTR i = 0; i < vtx.GetSize(); i++) marked += vtx[i].bLine == 1;
        EXPECT_EQ(marked, static_cast<int>(r.polys.size()) - 1);
    }
}

TEST(ContourCut, TriangleOrdersCornersAndNeverMarksEdges) {
    CutProbe e(0.0, 3.0, 4);
    struct Row {
        const char* label;
        double w1, w2, w3;
        int a, b, c;  // corners (1-based) expected as highest, middle, lowest
    } rows[] = {
        {"ascending", 0.5, 1.5, 2.5, 3, 2, 1},  {"all equal", 10, 10, 10, 3, 2, 1},
        {"middle, top, low", 1.5, 2.5, 0.5, 2, 1, 3}, {"top, low, middle", 2.5, 0.5, 1.5, 1, 3, 2},
        {"descending", 2.5, 1.5, 0.5, 1, 2, 3},  {"low, top, middle", 0.5, 2.5, 1.5, 2, 3, 1},
    };
    const C3DPoint corner[4] = {C3DPoint(), C3DPoint(0, 0, 0), C3DPoint(2, 0, 0), C3DPoint(0, 2, 0)};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        C3DPoint p1 = corner[1], p2 = corner[2], p3 = corner[3];
        e.ContourTriangle(r.w1, r.w2, r.w3, p1, p2, p3, 7, 8, 9, sizes, vtx, nullptr, nullptr, 1);
        // The top polygon starts at the highest corner, the bottom one ends at the lowest, and the
        // middle corner is part of the cut.
        ASSERT_GT(vtx.GetSize(), 2);
        EXPECT_TRUE(vtx[0].pt == corner[r.a]);
        EXPECT_TRUE(vtx[vtx.GetSize() - 1].pt == corner[r.c]);
        bool hasB = false;
        for (INT_PTR i = 0; i < vtx.GetSize(); i++) {
            hasB = hasB || vtx[i].pt == corner[r.b];
            EXPECT_TRUE(vtx[i].bLine == 0 || vtx[i].bLine == 1) << "element edges are never marked";
        }
        EXPECT_TRUE(hasB);
        // Without the extrude option the caller's corners stay.
        EXPECT_TRUE(p1 == corner[1] && p2 == corner[2] && p3 == corner[3]);
    }
}

TEST(ContourCut, Quadrilaterals) {
    // Levels 0..4 over the square (0,0) (2,0) (2,2) (0,2) with values 1, 2, 3, 4.
    CutProbe e(0.0, 4.0, 5);
    struct Row {
        const char* label;
        int coarse;
        std::vector<int> sizes;
        std::vector<double> firstValues;
    } rows[] = {
        {"four triangles round the centre", 0, {3, 3, 3, 3, 3, 3, 5, 3}, {2.5, 2, 3, 4, 3, 4, 3, 2}},
        {"two triangles on the diagonal p2-p4", 1, {3, 4, 3, 3, 3}, {4, 3, 2, 4, 3}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        e.m_bCoarseContour = r.coarse;
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        C3DPoint p1(0, 0, 0), p2(2, 0, 0), p3(2, 2, 0), p4(0, 2, 0);
        e.ContourRectangle(1, 2, 3, 4, p1, p2, p3, p4, 0, 0, 0, 0, sizes, vtx, nullptr, nullptr);
        ASSERT_EQ(sizes.GetSize(), static_cast<INT_PTR>(r.sizes.size()));
        INT_PTR at = 0;
        for (size_t i = 0; i < r.sizes.size(); i++) {
            EXPECT_EQ(sizes[i], r.sizes[i]) << "polygon " << i;
            EXPECT_EQ(vtx[at].dValue, r.firstValues[i]) << "polygon " << i;
            at += sizes[i];
        }
        // The centre value 2.5 sits at the mean of the corners; the bands tile the square.
        for (INT_PTR i = 0; i < vtx.GetSize(); i++) {
            if (vtx[i].dValue == 2.5) {
                EXPECT_TRUE(vtx[i].pt == C3DPoint(1, 1, 0)) << "vertex " << i;
            }
        }
        EXPECT_NEAR(CheckBandPurity(e, sizes, vtx), 4.0, 1e-12);
    }
    e.m_bCoarseContour = 0;

    // A face of one value (within the tolerance) is one polygon led by the largest value, even
    // when the global range excludes it.
    e.m_bGlobalRange = 1;
    e.m_dGlobalMin = 0.0;
    e.m_dGlobalMax = 4.0;
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> vtx;
    CArray<double, double> f1, f2;
    C3DPoint p1(0, 0, 0), p2(2, 0, 0), p3(2, 2, 0), p4(0, 2, 0);
    e.ContourRectangle(9, 9 + 1e-12, 9, 9, p1, p2, p3, p4, 0, 0, 0, 0, sizes, vtx, &f1, &f2);
    ExpectPolys(sizes, vtx, {{{0, 0, 0, 9 + 1e-12}, {2, 0, 0, 9 + 1e-12}, {2, 2, 0, 9}, {0, 2, 0, 9}}});
    ASSERT_EQ(f1.GetSize(), 1);
    ASSERT_EQ(f2.GetSize(), 1);
    EXPECT_EQ(f1[0], 1.0);  // shading off: neutral factors keep the lists parallel
    EXPECT_EQ(f2[0], 0.0);
    EXPECT_TRUE(e.FindCrossPoint(C3DPoint(0, 0, 0), C3DPoint(4, 0, 0), C3DPoint(4, 8, 0), C3DPoint(0, 8, 4)) ==
                C3DPoint(2, 4, 1));
}

// A quadrilateral gives exactly the lists of its triangles cut one by one, whether a level
// crosses it, touches one of its values, or none comes near (those triangles go in one step).
TEST(ContourCut, QuadrilateralsAreTheirTrianglesCutOneByOne) {
    const double nan = std::nan("");
    struct Row {
        const char* label;
        double w[4];
        int coarse, globalRange;
    } rows[] = {
        {"inside one band", {1.2, 1.5, 1.9, 1.1}, 0, 0},
        {"the lowest corner on a level", {1.0, 1.5, 1.9, 1.2}, 0, 0},
        {"the highest corner on a level", {2.0, 1.5, 1.2, 1.1}, 0, 0},
        {"a level crossing", {1.5, 2.5, 1.9, 1.1}, 0, 0},
        {"below every level", {-3, -2, -2.5, -1}, 0, 0},
        {"above every level", {7, 6, 5, 8}, 0, 0},
        {"an undefined corner", {1.2, nan, 1.9, 1.1}, 0, 0},
        {"an infinite corner", {1.2, HUGE_VAL, 1.9, 1.1}, 0, 0},
        {"coarse, inside one band", {1.2, 1.5, 1.9, 1.1}, 1, 0},
        {"coarse, a level crossing", {0.5, 2.5, 3.5, 1.1}, 1, 0},
        {"inside one band, global range", {1.2, 1.5, 1.9, 1.1}, 0, 1},
        {"outside the global range", {5.2, 5.5, 5.9, 5.1}, 0, 1},
        {"on the top level, a corner outside the global range", {4.5, 4.0, 4.0, 4.0}, 0, 1},
        {"coarse, one triangle outside the global range", {4.5, 4.0, 4.0, 4.0}, 1, 1},
        {"coarse, global range, a level crossing", {0.5, 2.5, 3.5, 1.1}, 1, 1},
        // Equal values: a triangle's corners run from the largest down, the later one first.
        {"two pairs of equal corners", {1.5, 1.5, 1.2, 1.2}, 0, 0},
        {"corners equal to the centre", {1.4, 1.2, 1.4, 1.6}, 0, 0},
        {"three equal corners", {1.2, 1.5, 1.5, 1.5}, 0, 0},
        {"zeros of both signs", {0.5, -0.0, 0.0, 0.5}, 0, 0},
        {"coarse, three equal corners", {1.5, 1.5, 1.5, 1.2}, 1, 0},
        {"global range, equal corners", {1.5, 1.2, 1.5, 1.2}, 0, 1},
    };
    int recorded = 0;
    CutProbe e(0.0, 4.0, 5);
    e.m_dGlobalMin = 0.0;
    e.m_dGlobalMax = 4.0;
    const C3DPoint p[4] = {C3DPoint(0, 0, 0), C3DPoint(2, 0, 0.5), C3DPoint(2.5, 2, 0), C3DPoint(0, 2, 1)};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        e.m_bCoarseContour = r.coarse;
        e.m_bGlobalRange = r.globalRange;
        CArray<int, int> sizes, wantSizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx, want;
        sizes.Add(7);  // lists are appended to
        wantSizes.Add(7);
        C3DPoint q[4] = {p[0], p[1], p[2], p[3]};
        e.ContourRectangle(r.w[0], r.w[1], r.w[2], r.w[3], q[0], q[1], q[2], q[3], 1, 1, 1, 1, sizes, vtx, nullptr,
                           nullptr);
        // The triangles as ContourRectangle lays them: round the mean point, or on p2-p4.
        const double wc = (r.w[0] + r.w[1] + r.w[2] + r.w[3]) * 0.25;
        const C3DPoint c((p[0].x + p[1].x + p[2].x + p[3].x) * 0.25, (p[0].y + p[1].y + p[2].y + p[3].y) * 0.25,
                         (p[0].z + p[1].z + p[2].z + p[3].z) * 0.25);
        auto triangle = [&](int i, int j, int k) {
            C3DPoint a = i < 4 ? p[i] : c, b = p[j], d = k < 4 ? p[k] : c;
            e.ContourTriangle(r.w[i], r.w[j], k < 4 ? r.w[k] : wc, a, b, d, 0, 0, 0, wantSizes, want, nullptr,
                              nullptr, 0);
        };
        if (r.coarse) {
            triangle(0, 1, 3);
            triangle(1, 2, 3);
        } else {
            for (int i = 0; i < 4; i++) triangle(i, (i + 1) % 4, 4);
        }
        ASSERT_EQ(sizes.GetSize(), wantSizes.GetSize());
        for (INT_PTR i = 0; i < sizes.GetSize(); i++) EXPECT_EQ(sizes[i], wantSizes[i]) << "polygon " << i;
        ASSERT_EQ(vtx.GetSize(), want.GetSize());
        for (INT_PTR i = 0; i < vtx.GetSize(); i++) {
            EXPECT_TRUE(vtx[i].pt == want[i].pt) << "vertex " << i;
            EXPECT_EQ(vtx[i].bLine, want[i].bLine) << "vertex " << i;
            EXPECT_EQ(std::memcmp(&vtx[i].dValue, &want[i].dValue, sizeof(double)), 0) << "vertex " << i;
        }
        // A face the cutter copied whole notes, for each vertex, the corner it copies.
        if (!e.m_cornerRuns.empty()) {
            ++recorded;
            EXPECT_EQ(e.m_pCornerList, &vtx);
            ASSERT_EQ(e.m_cornerRuns.size(), 1u);
            const CContourEngine::CornerRun& run = e.m_cornerRuns[0];
            EXPECT_EQ(run.at + run.n, vtx.GetSize());
            for (int i = 0; i < run.n; i++) {
                ASSERT_LT(run.src[i], r.coarse ? 4 : 5);
                const C3DPoint& corner = run.src[i] < 4 ? p[run.src[i]] : c;
                EXPECT_EQ(std::memcmp(&vtx[run.at + i].pt.x, &corner.x, 3 * sizeof(double)), 0) << "vertex " << i;
            }
        }
        e.m_cornerRuns.clear();
    }
    EXPECT_GE(recorded, 5);
}

// The quadrilateral cutter tries the level it found above the last face first. After any change
// of the levels a scale that has cut faces before cuts as a freshly built one cuts the faces'
// triangles one by one.
TEST(ContourCut, QuadrilateralsFollowEveryChangeOfTheLevels) {
    struct Row {
        const char* label;
        std::function<void(CContourEngine&)> change;
    } rows[] = {
        {"nothing", [](CContourEngine&) {}},
        {"a new range", [](CContourEngine& e) { e.MakeRankMap(0.0, 2.0); }},
        {"a range shifted by half a band", [](CContourEngine& e) { e.MakeRankMap(0.5, 4.5); }},
        {"more levels", [](CContourEngine& e) {
             e.m_nNumColor = 9;
             e.MakeRankMap();
         }},
        {"fewer levels", [](CContourEngine& e) {
             e.m_nNumColor = 3;
             e.MakeRankMap();
         }},
        {"a knot", [](CContourEngine& e) {
             e.InsertKnot(2, 1.7);
             e.MakeRankMap();
         }},
        {"a global level list", [](CContourEngine& e) {
             CArray<double, double> levels;
             for (double v : {0.0, 1.3, 1.6, 2.4, 4.0}) levels.Add(v);
             e.MakeGlobalRange(1, &levels);
             e.MakeRankMap();
         }},
    };
    // Faces on 0..4 with levels 0, 1, 2, 3, 4: inside one band, crossed by a level below or
    // above the one found for the face before, below and above every level.
    const double faces[][4] = {{1.2, 1.5, 1.9, 1.1}, {2.2, 2.5, 2.9, 2.1}, {0.2, 0.6, 0.4, 0.3},
                               {3.3, 3.9, 3.5, 3.4}, {0.5, 1.5, 0.8, 0.6}, {1.45, 1.55, 1.5, 1.48},
                               {-0.5, -0.2, -0.4, -0.3}, {2.5, 3.5, 2.8, 2.6}, {4.5, 4.2, 4.9, 4.1},
                               {1.2, 1.5, 1.9, 1.1}};
    const C3DPoint p[4] = {C3DPoint(0, 0, 0), C3DPoint(2, 0, 0.5), C3DPoint(2.5, 2, 0), C3DPoint(0, 2, 1)};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CutProbe kept(0.0, 4.0, 5), fresh(0.0, 4.0, 5);
        CArray<int, int> sizes, wantSizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx, want;
        for (const auto& w : faces) {  // the kept scale meets every face once before the change
            C3DPoint q[4] = {p[0], p[1], p[2], p[3]};
            kept.ContourRectangle(w[0], w[1], w[2], w[3], q[0], q[1], q[2], q[3], 0, 0, 0, 0, sizes, vtx, nullptr,
                                  nullptr);
        }
        r.change(kept);
        r.change(fresh);
        sizes.RemoveAll();
        vtx.RemoveAll();
        for (const auto& w : faces) {
            C3DPoint q[4] = {p[0], p[1], p[2], p[3]};
            kept.ContourRectangle(w[0], w[1], w[2], w[3], q[0], q[1], q[2], q[3], 0, 0, 0, 0, sizes, vtx, nullptr,
                                  nullptr);
            const double wc = (w[0] + w[1] + w[2] + w[3]) * 0.25;
            const C3DPoint c((p[0].x + p[1].x + p[2].x + p[3].x) * 0.25, (p[0].y + p[1].y + p[2].y + p[3].y) * 0.25,
                             (p[0].z + p[1].z + p[2].z + p[3].z) * 0.25);
            for (int i = 0; i < 4; i++) {
                C3DPoint a = p[i], b = p[(i + 1) % 4], d = c;
                fresh.ContourTriangle(w[i], w[(i + 1) % 4], wc, a, b, d, 0, 0, 0, wantSizes, want, nullptr, nullptr, 0);
            }
        }
        ASSERT_EQ(sizes.GetSize(), wantSizes.GetSize());
        for (INT_PTR i = 0; i < sizes.GetSize(); i++) EXPECT_EQ(sizes[i], wantSizes[i]) << "polygon " << i;
        ASSERT_EQ(vtx.GetSize(), want.GetSize());
        for (INT_PTR i = 0; i < vtx.GetSize(); i++) {
            EXPECT_TRUE(vtx[i].pt == want[i].pt) << "vertex " << i;
            EXPECT_EQ(std::memcmp(&vtx[i].dValue, &want[i].dValue, sizeof(double)), 0) << "vertex " << i;
        }
    }
}

TEST(ContourCut, ListsOfAWholeFieldGrowInProportion) {
    // 100,000 triangles of value 5 on a 0..10 scale: one polygon of three vertices each, all
    // gathered into one pair of lists. Below 1,024 elements the library's own step holds (it is
    // at least size / 8 there); from 1,024 on a list that lacks room for the next polygon gets a
    // grow-by of its size, so each new block at least doubles the old one less the polygon that
    // did not fit (c + c - 2 for the vertices, whose sizes are multiples of three): from 1,024 to
    // 300,000 elements that is at most log2(300,000 / 1,024) + 1 = 9.2, so 9 blocks per list.
    // The library's rule alone would take about 300 blocks for the vertices.
    CutProbe e(0.0, 10.0, 12);
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> vertices;
    CArray<double, double> f1, f2;
    struct Blocks {
        INT_PTR cap = 0;
        int large = 0;       // blocks taken at 1,024 elements or more
        bool doubled = true;  // every such block at least doubled the one before, less 2
        void See(INT_PTR now) {
            if (now == cap) return;
            if (cap >= 1024) {
                ++large;
                doubled = doubled && now >= 2 * cap - 2;
            }
            cap = now;
        }
    } sizeBlocks, vertexBlocks, factorBlocks;
    for (int i = 0; i < 100000; i++) {
        C3DPoint a(i, 0, 0), b(i + 1, 0, 0), c(i, 1, 0);
        e.ContourTriangle(5.0, 5.0, 5.0, a, b, c, 0, 0, 0, sizes, vertices, &f1, &f2, 0);
        sizeBlocks.See(sizes.GetAllocSize());
        vertexBlocks.See(vertices.GetAllocSize());
        factorBlocks.See(f1.GetAllocSize());
    }
    ASSERT_EQ(sizes.GetSize(), 100000);
    ASSERT_EQ(vertices.GetSize(), 300000);
    EXPECT_EQ(f2.GetSize(), 100000);
    for (const Blocks* b : {&sizeBlocks, &vertexBlocks, &factorBlocks}) {
        EXPECT_TRUE(b->doubled);
        EXPECT_LE(b->large, 9);
    }
    // The last polygon is whole.
    EXPECT_EQ(sizes[99999], 3);
    EXPECT_DOUBLE_EQ(vertices[299999].pt.x + vertices[299998].pt.x + vertices[299997].pt.x, 3 * 99999 + 1);
}

TEST(ContourCut, MagnitudeTolerance) {
    struct Row {
        const char* label;
        std::vector<double> values;
        double tol;
    } rows[] = {
        {"hundred and zero", {100, 0}, 1e-8},
        {"tiny values floor at 1e-15", {1e-20, 1e-20}, 1e-15},
        {"a zero has no magnitude", {1e-20, 0}, 1e-15},
        {"tiny values and a zero: 1e-10 of the largest, floored", {2e-10, 0, -1e-10}, 1e-15},
        {"a zero beside magnitude 1e-4", {1e-4, 0}, 1e-14},
        {"largest magnitude rules, negative too", {-5000, 3}, 5e-7},
        {"infinite and undefined values are left out", {HUGE_VAL, NAN, 20.0}, 2e-9},
        {"empty set", {}, 1e-15},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_NEAR(CContourEngine::GetMagnitudeTolerance(static_cast<int>(r.values.size()), r.values.data()), r.tol,
                    r.tol * 1e-9);
    }
}

TEST(ContourCut, GlobalAndActiveRangeFilters) {
    CutProbe e(0.0, 3.0, 4);
    double in[] = {0.0, 2.0}, above[] = {1.0, 2.0 + 1e-15}, below[] = {-1e-19, 1.0}, near[] = {-1e-21, 1.0};
    EXPECT_EQ(e.IsOutOfRange(2, above), 0) << "global range off";
    e.m_bGlobalRange = 1;
    e.m_dGlobalMin = 0.0;
    e.m_dGlobalMax = 2.0;
    EXPECT_EQ(e.IsOutOfRange(2, in), 0);
    EXPECT_EQ(e.IsOutOfRange(2, above), 1);
    EXPECT_EQ(e.IsOutOfRange(2, below), 1);
    EXPECT_EQ(e.IsOutOfRange(2, near), 0) << "within 1e-20";
    EXPECT_EQ(e.IsOutOfRange(0, above), 0);
    EXPECT_EQ(e.ExcludePolyOutofRangeGlobal(2.0 + 1e-11), 0) << "within 1e-10 of the end magnitude";
    EXPECT_EQ(e.ExcludePolyOutofRangeGlobal(2.0 + 1e-9), 1);
    EXPECT_EQ(e.ExcludePolyOutofRangeGlobal(-1e-9), 1);

    // The triangle cutter skips the band polygon above 2 and keeps cutting.
    {
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        CArray<double, double> f1, f2;
        C3DPoint A(0, 0, 0), B(2, 0, 0), C(0, 2, 0);
        e.DoTriangleContour(2.5, 1.5, 0.5, A, B, C, 0, 0, 0, sizes, vtx, &f1, &f2);
        ASSERT_EQ(sizes.GetSize(), 2);
        EXPECT_EQ(vtx[0].dValue, 2.0);
        EXPECT_EQ(vtx[5].dValue, 1.0);
        EXPECT_EQ(f1.GetSize(), 2);
        EXPECT_EQ(f2.GetSize(), 2);
    }

    // Whole polygons go, with their factor entries; the rest keep their order.
    auto fill = [](CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vtx, CArray<double, double>& f1,
                   CArray<double, double>& f2) {
        const std::vector<std::vector<double>> polys = {{1.0, 0.5, 0.2}, {2.5, 1.5, 1.0, 1.2}, {2.0, 1.0, 0.0}};
        for (size_t p = 0; p < polys.size(); p++) {
            sizes.Add(static_cast<int>(polys[p].size()));
            for (double v : polys[p]) vtx.Add(VtxInfo_tag{C3DPoint(v, static_cast<double>(p), 0), 0, v});
            f1.Add(10.0 + p);
            f2.Add(20.0 + p);
        }
    };
    {
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        CArray<double, double> f1, f2;
        fill(sizes, vtx, f1, f2);
        e.ExcludePolyOutofRangeGlobal(sizes, vtx, &f1, &f2);
        ASSERT_EQ(sizes.GetSize(), 2);
        EXPECT_EQ(sizes[0], 3);
        EXPECT_EQ(sizes[1], 3);
        ASSERT_EQ(vtx.GetSize(), 6);
        EXPECT_EQ(vtx[3].pt.y, 2.0);
        EXPECT_EQ(vtx[5].dValue, 0.0);
        ASSERT_EQ(f1.GetSize(), 2);
        EXPECT_EQ(f1[1], 12.0);
        EXPECT_EQ(f2[1], 22.0);
    }

    // The active-range filter acts only while its restriction is on, from knots, in mode 0.
    struct Row {
        const char* label;
        int on, knot, mode;
        INT_PTR left;
    } rows[] = {
        {"restriction off", 0, 1, 0, 3},
        {"not from knots", 1, 0, 0, 3},
        {"mode 1", 1, 1, 1, 3},
        {"on, knots, mode 0", 1, 1, 0, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        CArray<double, double> f1, f2;
        fill(sizes, vtx, f1, f2);
        e.m_bActiveRange = r.on;
        e.m_bActiveRangeKnot = r.knot;
        e.m_nActiveRangeMode = r.mode;
        e.m_dActiveRangeMin = 0.1;
        e.m_dActiveRangeMax = 1.5;
        e.ExcludePolyOutofRange(sizes, vtx, &f1, nullptr);
        EXPECT_EQ(sizes.GetSize(), r.left);
        EXPECT_EQ(f1.GetSize(), r.left);
        EXPECT_EQ(f2.GetSize(), 3) << "a list not given is left alone";
    }
    e.MakeRankMap();
    EXPECT_EQ(e.m_bActiveRange, 0) << "a level-map build ends the restriction";
}

TEST(ContourCut, Extrusion) {
    auto model = std::make_unique<I_PVXModel>();
    ASSERT_TRUE(model->m_pDispOpt != nullptr);
    CutProbe e(0.0, 3.0, 4);
    e.m_dExtrudeAdjustFactor = 0.5;
    e.m_dExtrudeScale = 2.0;
    struct Row {
        const char* label;
        int option, request, firstRender, wire, culling;
        bool moves;
    } rows[] = {
        {"all conditions hold", 1, 1, 1, 0, 0, true},
        {"culling with wire frame", 1, 1, 1, 1, 1, true},
        {"culling without wire frame", 1, 1, 1, 0, 1, false},
        {"extrude option off", 0, 1, 1, 0, 0, false},
        {"request 0", 1, 0, 1, 0, 0, false},
        {"after the first render", 1, 1, 0, 0, 0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        e.m_bExtrudeContour = r.option;
        model->m_bFirstRender = r.firstRender;
        model->m_pDispOpt->m_bWireFrame = r.wire;
        model->m_pDispOpt->m_bPlaneCulling = r.culling;
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        // Counter-clockwise in the xy plane: the unit normal is +z, each corner rises by its value.
        C3DPoint p1(0, 0, 0), p2(1, 0, 0), p3(0, 1, 0);
        e.ContourTriangle(1.0, 2.0, 2.5, p1, p2, p3, 0, 0, 0, sizes, vtx, nullptr, nullptr, r.request);
        const double k = r.moves ? 1.0 : 0.0;
        EXPECT_DOUBLE_EQ(p1.z, 1.0 * k);
        EXPECT_DOUBLE_EQ(p2.z, 2.0 * k);
        EXPECT_DOUBLE_EQ(p3.z, 2.5 * k);
        // The polygons are cut on the moved corners.
        EXPECT_DOUBLE_EQ(vtx[0].pt.z, 2.5 * k);

        // The quadrilateral follows the same conditions without a request argument.
        C3DPoint q1(0, 0, 0), q2(1, 0, 0), q3(1, 1, 0), q4(0, 1, 0);
        e.ContourRectangle(1, 1, 1, 1, q1, q2, q3, q4, 0, 0, 0, 0, sizes, vtx, nullptr, nullptr);
        EXPECT_DOUBLE_EQ(q3.z, (r.moves || (r.option && !r.request && r.firstRender && !r.culling)) ? 1.0 : 0.0);
    }

    // The factor comes from the model on show; once no model lives it is 0, never a stale one.
    CContourEngine::SetModelExtentSource([](double* extent) { *extent = 13.0; return 1; });
    e.MakeRankMap(0.0, 0.0);
    EXPECT_EQ(e.m_dExtrudeAdjustFactor, 0.0) << "a zero range";
    e.MakeRankMap(-1.0, 1.0);
    EXPECT_DOUBLE_EQ(e.m_dExtrudeAdjustFactor, 1.0);
    CContourEngine::SetModelExtentSource(nullptr);
    model.reset();
    e.MakeRankMap(-1.0, 1.0);
    EXPECT_EQ(e.m_dExtrudeAdjustFactor, 0.0);
}

}  // namespace

TEST(ContourCut, TinyValuesWithZerosAreCut) {
    // Values of order 1e-10 with exact zeros: the face 0 / 0.6e-10 / 0.9e-10 crosses the levels
    // 0.25e-10, 0.5e-10 and 0.75e-10 of a scale 0 .. 2.75e-10 (12 levels, step 0.25e-10), so it is
    // four bands. The same face with every value times 1e10 on the scale times 1e10 has the same
    // geometry: its band areas are the oracle (the cut points divide the edges in the same ratios).
    struct Row {
        const char* label;
        double scale;
    } const rows[] = {{"tiny values", 1e-10}, {"the same field times 1e10", 1.0}};
    std::vector<double> areas[2];
    for (int r = 0; r < 2; ++r) {
        SCOPED_TRACE(rows[r].label);
        const double s = rows[r].scale;
        CutProbe e(0.0, 2.75 * s, 12);
        C3DPoint a(0, 0, 0), b(4, 0, 0), c(0, 3, 0);
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vtx;
        e.ContourTriangle(0.0, 0.6 * s, 0.9 * s, a, b, c, 0, 0, 0, sizes, vtx, nullptr, nullptr, 0);
        ASSERT_EQ(sizes.GetSize(), 4) << "cut at three levels";
        INT_PTR at = 0;
        double total = 0.0;
        for (INT_PTR p = 0; p < sizes.GetSize(); ++p) {
            // Every vertex of a band lies between the band's two levels.
            const double lo = (3 - p) * 0.25 * s, hi = (4 - p) * 0.25 * s;
            for (int i = 0; i < sizes[p]; ++i) {
                EXPECT_GE(vtx[at + i].dValue, (p == 3 ? 0.0 : lo) - 1e-12 * s) << "band " << p;
                EXPECT_LE(vtx[at + i].dValue, (p == 0 ? 0.9 * s : hi) + 1e-12 * s) << "band " << p;
            }
            const double area = std::fabs(PolyArea(vtx, at, sizes[p]));
            areas[r].push_back(area);
            total += area;
            at += sizes[p];
        }
        EXPECT_NEAR(total, 6.0, 6.0 * 1e-12) << "the bands cover the face";
    }
    ASSERT_EQ(areas[0].size(), areas[1].size());
    for (size_t i = 0; i < areas[0].size(); ++i) EXPECT_NEAR(areas[0][i], areas[1][i], areas[1][i] * 1e-12) << i;

    // A quadrilateral of tiny values with a zero corner is cut too (four triangles around the
    // centre, each crossed by levels), not drawn as one band.
    CutProbe q(0.0, 2.75e-10, 12);
    C3DPoint p1(0, 0, 0), p2(1, 0, 0), p3(1, 1, 0), p4(0, 1, 0);
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> vtx;
    q.ContourRectangle(0.0, 0.3e-10, 0.9e-10, 0.3e-10, p1, p2, p3, p4, 0, 0, 0, 0, sizes, vtx, nullptr, nullptr);
    EXPECT_GT(sizes.GetSize(), 4);
}

TEST(ContourCut, BandAreasOfAFieldAreExact) {
    // A linear field v = x on the square 0..10 cut into two triangles per cell of a 5 x 5 grid,
    // on levels 0, 1, ..., 11: band r (between x = r - 1 and x = r) has area 10 for r = 1..10,
    // however the cells split it.
    CutProbe e(0.0, 11.0, 12);
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> vtx;
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i) {
            const double x0 = 2.0 * i, y0 = 2.0 * j;
            C3DPoint a(x0, y0, 0), b(x0 + 2, y0, 0), c(x0 + 2, y0 + 2, 0), d(x0, y0 + 2, 0);
            e.ContourTriangle(x0, x0 + 2, x0 + 2, a, b, c, 0, 0, 0, sizes, vtx, nullptr, nullptr, 0);
            C3DPoint a2(x0, y0, 0), c2(x0 + 2, y0 + 2, 0);
            e.ContourTriangle(x0, x0 + 2, x0, a2, c2, d, 0, 0, 0, sizes, vtx, nullptr, nullptr, 0);
        }
    double band[12] = {};
    INT_PTR at = 0;
    for (INT_PTR p = 0; p < sizes.GetSize(); ++p) {
        ASSERT_GE(sizes[p], 3);
        // The band of a polygon: the mean of its vertex values lies strictly inside it.
        double mean = 0.0;
        for (int i = 0; i < sizes[p]; ++i) mean += vtx[at + i].dValue;
        mean /= sizes[p];
        const int r = static_cast<int>(std::ceil(mean));
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 10);
        const double area = PolyArea(vtx, at, sizes[p]);
        EXPECT_GT(std::fabs(area), 0.0) << "no degenerate polygon";
        band[r] += std::fabs(area);
        at += sizes[p];
    }
    EXPECT_EQ(at, vtx.GetSize());
    for (int r = 1; r <= 10; ++r) EXPECT_NEAR(band[r], 10.0, 10.0 * 1e-12) << "band " << r;
}
