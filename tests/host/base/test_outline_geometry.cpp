// Plan outline helpers (CGeomFunc, CMathLib::Rotate, CZELF_Polyline2D, the 3-D point lists)
// against coordinates worked out by hand on small outlines.
#include <gtest/gtest.h>

#include <cmath>

#include "host/base/CGeomFunc.h"
#include "host/base/CZELF_Polyline2D.h"

namespace {

constexpr double kOutlineTol = 1e-9;

CArray<T_POINT2D> Ring(std::initializer_list<T_POINT2D> pts) {
    CArray<T_POINT2D> a;
    for (const T_POINT2D& p : pts) a.Add(p);
    return a;
}

// The 4 by 2 rectangle (0,0)-(4,2), not closed.
CArray<T_POINT2D> Rect42() { return Ring({{0, 0}, {4, 0}, {4, 2}, {0, 2}}); }

void ExpectPoints(const CArray<T_POINT2D>& got, std::initializer_list<T_POINT2D> want) {
    ASSERT_EQ(got.GetSize(), static_cast<INT_PTR>(want.size()));
    int i = 0;
    for (const T_POINT2D& w : want) {
        EXPECT_NEAR(got[i].x, w.x, kOutlineTol) << "point " << i;
        EXPECT_NEAR(got[i].y, w.y, kOutlineTol) << "point " << i;
        ++i;
    }
}

TEST(CGeomFuncTest, BoundingBoxOfPoints) {
    T_REGION2D box(9, 9, 9, 9);
    ASSERT_TRUE(CGeomFunc::GetMBR(Ring({{3, -1}, {-2, 5}, {1, 2}}), box));
    EXPECT_EQ(box.x1, -2.0);
    EXPECT_EQ(box.y1, -1.0);
    EXPECT_EQ(box.x2, 3.0);
    EXPECT_EQ(box.y2, 5.0);
    // No points, or a coordinate that is not a number: refused, box untouched.
    EXPECT_FALSE(CGeomFunc::GetMBR(CArray<T_POINT2D>(), box));
    EXPECT_FALSE(CGeomFunc::GetMBR(Ring({{0, 0}, {NAN, 1}}), box));
    EXPECT_EQ(box.x1, -2.0);
}

TEST(CGeomFuncTest, SegmentCrossingsWithAnOutlineFollowTheFlags) {
    struct Row {
        const char* label;
        T_POINT2D p1, p2;
        int closed, line, ends, unique;
        std::initializer_list<T_POINT2D> want;
    } rows[] = {
        {"up from the middle crosses the top edge", {2, 1}, {2, 5}, 1, 0, 1, 1, {{2, 2}}},
        {"segment ending on the edge, ends counted", {2, 1}, {2, 2}, 1, 0, 1, 1, {{2, 2}}},
        {"segment ending on the edge, ends not counted", {2, 1}, {2, 2}, 1, 0, 0, 1, {}},
        {"the same segment as a line meets bottom and top", {2, 1}, {2, 2}, 1, 1, 1, 1, {{2, 0}, {2, 2}}},
        {"closing edge (0,2)-(0,0) counts when closed", {-1, 1}, {1, 1}, 1, 0, 1, 1, {{0, 1}}},
        {"closing edge left out when open", {-1, 1}, {1, 1}, 0, 0, 1, 1, {}},
        // The diagonal from (2,0) through the corner (4,2) meets edges 1 and 2 there.
        {"a corner once when unique", {2, 0}, {5, 3}, 1, 0, 1, 1, {{2, 0}, {4, 2}}},
        {"a corner twice otherwise", {2, 0}, {5, 3}, 1, 0, 1, 0, {{2, 0}, {4, 2}, {4, 2}}},
        {"parallel to an edge: none", {-1, 3}, {5, 3}, 1, 0, 1, 1, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<T_POINT2D> out;
        out.Add(T_POINT2D(7, 7));  // emptied first
        const int n = CGeomFunc::s_GetIntersectPointsFromPolyLine(Rect42(), r.p1, r.p2, out, r.closed, r.line, r.ends,
                                                                  r.unique);
        EXPECT_EQ(n, static_cast<int>(r.want.size()));
        ExpectPoints(out, r.want);
    }
}

TEST(CGeomFuncTest, PointInOutline) {
    // An L: the 4 by 4 square without its upper right 2 by 2 quarter.
    const CArray<T_POINT2D> ell = Ring({{0, 0}, {4, 0}, {4, 2}, {2, 2}, {2, 4}, {0, 4}, {0, 0}});
    struct Row {
        const char* label;
        T_POINT2D p;
        int edgeInside;
        BOOL in, onEdge;
    } rows[] = {
        {"inside the foot", {3, 1}, 1, TRUE, FALSE},
        {"in the notch", {3, 3}, 1, FALSE, FALSE},
        {"far outside", {-1, 1}, 1, FALSE, FALSE},
        {"on the notch edge, edge inside", {3, 2.005}, 1, TRUE, TRUE},
        {"on the notch edge, edge outside", {3, 2.005}, 0, FALSE, TRUE},
        {"at a corner", {0, 4}, 1, TRUE, TRUE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        BOOL onEdge = 7;
        EXPECT_EQ(CGeomFunc::IsPointInPolygon2(r.p, ell, r.edgeInside, 0.01, &onEdge), r.in);
        EXPECT_EQ(onEdge, r.onEdge);
    }
    // Fewer than three edges contain nothing.
    EXPECT_FALSE(CGeomFunc::IsPointInPolygon2(T_POINT2D(1, 0), Ring({{0, 0}, {2, 0}}), 1, 0.01));
    // The polyline form: the half disc over (0,0)-(2,0). The arc edge runs (2,0) -> (0,0),
    // whose left is -y, so a height of -1 bulges upwards. It holds (1, 0.9) but not (0.1, 0.9),
    // which lies outside the circle of radius 1 about (1, 0).
    CZELF_Polyline2D half;
    half.Add(T_POINT2D(0, 0));
    half.Add(T_POINT2D(2, 0), -1.0);
    half.Add(T_POINT2D(0, 0));
    EXPECT_TRUE(CGeomFunc::IsPointInPolygon2(T_POINT2D(1, 0.9), half, 1, 0.001));
    EXPECT_FALSE(CGeomFunc::IsPointInPolygon2(T_POINT2D(0.1, 0.9), half, 1, 0.001));
}

TEST(CGeomFuncTest, LinesClippedByAnOutline) {
    T_MEMBDLG_3DPOINT_LIST_ITEM outline;
    for (const T_POINT2D& p : {T_POINT2D(0, 0), T_POINT2D(4, 0), T_POINT2D(4, 2), T_POINT2D(0, 2)})
        outline.Add(T_MEMBDLG_3DPOINT(p.x, p.y, 3.0));
    CArray<T_LINE2D> lines;
    lines.Add(T_LINE2D(T_POINT2D(-1, 1), T_POINT2D(5, 1)));  // through: inside (0,1)-(4,1)
    lines.Add(T_LINE2D(T_POINT2D(1, -1), T_POINT2D(1, 1)));  // enters: inside (1,0)-(1,1)
    lines.Add(T_LINE2D(T_POINT2D(5, 0), T_POINT2D(5, 2)));   // misses
    CArray<T_LINE2D> pieces;
    ASSERT_EQ(CGeomFunc::GetIntersectLines(outline, lines, pieces, 1), 2);
    EXPECT_NEAR(pieces[0].p1.x, 0.0, kOutlineTol);
    EXPECT_NEAR(pieces[0].p2.x, 4.0, kOutlineTol);
    EXPECT_NEAR(pieces[1].p1.y, 0.0, kOutlineTol);
    EXPECT_NEAR(pieces[1].p2.y, 1.0, kOutlineTol);
    // Outside: the two ends of the first line, the stub below the outline and the missing line.
    ASSERT_EQ(CGeomFunc::GetIntersectLines(outline, lines, pieces, 0), 4);
    EXPECT_NEAR(pieces[0].Length() + pieces[1].Length() + pieces[2].Length() + pieces[3].Length(), 1 + 1 + 1 + 2, kOutlineTol);
}

TEST(CGeomFuncTest, PointsAlongAndTurnedAboutACentre) {
    // A third of the way along (0,0)-(3,0) is (1,0); left of +x is +y.
    T_POINT2D p = CGeomFunc::s_GetPointFromVLine(T_POINT2D(0, 0), T_POINT2D(3, 0), 1.0 / 3.0, 0.0);
    EXPECT_NEAR(p.x, 1.0, kOutlineTol);
    EXPECT_NEAR(p.y, 0.0, kOutlineTol);
    p = CGeomFunc::s_GetPointFromVLine(T_POINT2D(0, 0), T_POINT2D(3, 0), 1.0 / 3.0, 2.0);
    EXPECT_NEAR(p.y, 2.0, kOutlineTol);
    // Going down (0,3) -> (0,0), left is +x.
    p = CGeomFunc::s_GetPointFromVLine(T_POINT2D(0, 3), T_POINT2D(0, 0), 0.5, 1.0);
    EXPECT_NEAR(p.x, 1.0, kOutlineTol);
    EXPECT_NEAR(p.y, 1.5, kOutlineTol);

    struct Row {
        const char* label;
        T_POINT2D pt, centre;
        double angle;
        T_POINT2D want;
    } rows[] = {
        {"quarter turn about the origin", {1, 0}, {0, 0}, 90, {0, 1}},
        {"half turn about (1,1)", {2, 1}, {1, 1}, 180, {0, 1}},
        {"clockwise 30 degrees", {2, 0}, {0, 0}, -30, {std::sqrt(3.0), -1.0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_POINT2D q = r.pt;
        CMathLib::Rotate(q, r.centre, r.angle);
        EXPECT_NEAR(q.x, r.want.x, kOutlineTol);
        EXPECT_NEAR(q.y, r.want.y, kOutlineTol);
    }
}

TEST(CZELF_Polyline2DTest, ArcsDividedAndPointListsConverted) {
    // Half circle over (0,0)-(2,0) bulging left of +x (upwards): centre (1,0), radius 1, sweep
    // 180 degrees; chords of 45 degrees give the points at 180, 135, 90, 45 and 0 degrees.
    CZELF_Polyline2D arc;
    arc.Add(T_POINT2D(0, 0), 1.0);
    arc.Add(T_POINT2D(2, 0));
    CArray<T_POINT2D> pts;
    const double h = std::sqrt(0.5);
    EXPECT_EQ(arc.ToPolyLine(pts, 45.0, 1), 5);
    ExpectPoints(pts, {{0, 0}, {1 - h, h}, {1, 1}, {1 + h, h}, {2, 0}});
    // Vertices only.
    EXPECT_EQ(arc.ToPolyLine(pts, 45.0, 0), 2);
    // A negative height bulges the other way.
    arc.SetArc(0, -1.0);
    arc.ToPolyLine(pts, 90.0, 1);
    ExpectPoints(pts, {{0, 0}, {1, -1}, {2, 0}});

    T_MEMBDLG_3DPOINT_LIST_ITEM list;
    list.Add(T_MEMBDLG_3DPOINT(0, 0, 5));
    list.Add(T_MEMBDLG_3DPOINT(1, 0, 5));
    list.Add(T_MEMBDLG_3DPOINT(1, 1, 5));
    list.MakeColse();
    EXPECT_EQ(list.GetCount(), 4);
    list.MakeColse();  // already closed
    EXPECT_EQ(list.GetCount(), 4);
    CZELF_Polyline2D plan;
    list.To_POLYLINE2D(plan);
    EXPECT_EQ(plan.GetCount(), 4);
    EXPECT_TRUE(plan.IsClosed());
    T_MEMBDLG_3DPOINT_LIST_ITEM back;
    back.From_POLYLINE2D(plan);
    ASSERT_EQ(back.GetCount(), 4);
    EXPECT_EQ(back.m_Points[2].x, 1.0);
    EXPECT_EQ(back.m_Points[2].z, 0.0);  // z is not kept by the plan polyline
}

}  // namespace
