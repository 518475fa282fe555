// Numbers of the host's geometry helpers against values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/base/CZELF_DBLineObjData.h"
#include "host/base/GeomTypes.h"
#include "platform/afx/CString.h"

namespace {

constexpr double kTol = 1e-9;
constexpr double kPi = 3.14159265358979323846;
const double kSqrt2 = std::sqrt(2.0);

TEST(CMathFuncTest, LengthsAreasAndUnitVectors) {
    struct Row {
        const char* label;
        double v[3];
        double length;
    } rows[] = {
        {"3-4-5 in plan", {3, 4, 0}, 5.0},
        {"2-3-6 in space", {2, 3, 6}, 7.0},
        {"negative parts", {-1, -2, -2}, 3.0},
        {"zero", {0, 0, 0}, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_NEAR(CMathFunc::mathLength(r.v[0], r.v[1], r.v[2]), r.length, kTol);
        EXPECT_NEAR(CMathFunc::mathLength(r.v), r.length, kTol);
        EXPECT_NEAR(CMathFunc::mathLength(C3DPoint(1, 1, 1), C3DPoint(1 + r.v[0], 1 + r.v[1], 1 + r.v[2])), r.length, kTol);
        double u[3] = {r.v[0], r.v[1], r.v[2]};
        const int ok = CMathFunc::mathNormalize(u);
        if (r.length == 0.0) {
            // A vector of no length has no direction: refused and left alone.
            EXPECT_EQ(ok, 0);
            EXPECT_EQ(u[0], 0.0);
        } else {
            EXPECT_EQ(ok, 1);
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(u[i], r.v[i] / r.length, kTol);
        }
    }
    double px = 0.0, py = -2.0;
    EXPECT_EQ(CMathFunc::mathNormalize(px, py), 1);
    EXPECT_NEAR(py, -1.0, kTol);

    struct Tri {
        const char* label;
        C3DPoint a, b, c;
        double area;
    } tris[] = {
        {"right triangle 3-4 in plan", {0, 0, 0}, {3, 0, 0}, {0, 4, 0}, 6.0},
        {"clockwise order gives the same area", {0, 0, 0}, {0, 4, 0}, {3, 0, 0}, 6.0},
        {"vertical triangle", {1, 1, 0}, {1, 3, 0}, {1, 1, 5}, 5.0},
        {"collinear points", {0, 0, 0}, {1, 1, 1}, {2, 2, 2}, 0.0},
    };
    for (const Tri& t : tris) {
        SCOPED_TRACE(t.label);
        EXPECT_NEAR(CMathFunc::mathArea(t.a, t.b, t.c), t.area, kTol);
    }
    const C3DPoint c = CMathFunc::mathCross(C3DPoint(1, 0, 0), C3DPoint(0, 1, 0));
    EXPECT_NEAR(c.z, 1.0, kTol);
}

TEST(CMathFuncTest, RotationsAreRightHandedInDegrees) {
    struct Row {
        const char* label;
        double angle;
        double axis[3];
        double p[3];
        double expect[3];
    } rows[] = {
        {"x to y about +z", 90, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        {"x to -y about -z", 90, {0, 0, -1}, {1, 0, 0}, {0, -1, 0}},
        {"y to z about +x", 90, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"z to x about +y", 90, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
        {"half turn about +x", 180, {1, 0, 0}, {0, 2, 3}, {0, -2, -3}},
        {"axis need not be unit", 90, {0, 0, 5}, {2, 0, 7}, {0, 2, 7}},
        {"third of a turn about the diagonal cycles the axes", 120, {1, 1, 1}, {1, 0, 0}, {0, 1, 0}},
        {"45 degrees about z", 45, {0, 0, 1}, {1, 0, 0}, {1 / kSqrt2, 1 / kSqrt2, 0}},
        {"point on the axis stays", 33, {0, 0, 1}, {0, 0, 4}, {0, 0, 4}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        double x = r.p[0], y = r.p[1], z = r.p[2];
        EXPECT_EQ(CMathFunc::mathRotate(r.angle, r.axis[0], r.axis[1], r.axis[2], x, y, z), 1);
        EXPECT_NEAR(x, r.expect[0], kTol);
        EXPECT_NEAR(y, r.expect[1], kTol);
        EXPECT_NEAR(z, r.expect[2], kTol);
        // About a parallel axis through a centre: the same turn, shifted.
        double cx = r.p[0] + 10, cy = r.p[1] - 3, cz = r.p[2] + 1;
        EXPECT_EQ(CMathFunc::mathRotate(r.angle, 10, -3, 1, r.axis[0], r.axis[1], r.axis[2], cx, cy, cz), 1);
        EXPECT_NEAR(cx, r.expect[0] + 10, kTol);
        EXPECT_NEAR(cy, r.expect[1] - 3, kTol);
        EXPECT_NEAR(cz, r.expect[2] + 1, kTol);
    }
    double x = 1, y = 2, z = 3;
    EXPECT_EQ(CMathFunc::mathRotate(90, 0, 0, 0, x, y, z), 0) << "an axis of no length cannot turn anything";
    EXPECT_EQ(x, 1.0);
    EXPECT_EQ(y, 2.0);
    // mathRotateZ agrees with mathRotate about +z and leaves z alone.
    double p[3] = {3, 1, 8};
    CMathFunc::mathRotateZ(30, p);
    double q[3] = {3, 1, 8};
    CMathFunc::mathRotate(30, 0, 0, 1, q);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], q[i], kTol);
}

TEST(CMathFuncTest, SignedAnglesAndDirections) {
    struct Row {
        const char* label;
        double u[3], w[3];
        double angle;
    } rows[] = {
        {"w a quarter turn counter-clockwise", {1, 0, 0}, {0, 1, 0}, 90},
        {"w a quarter turn clockwise", {1, 0, 0}, {0, -1, 0}, -90},
        {"45 degrees, lengths ignored", {2, 0, 0}, {5, 5, 0}, 45},
        {"opposite", {1, 0, 0}, {-3, 0, 0}, 180},
        {"same direction", {0, 2, 0}, {0, 7, 0}, 0},
        {"zero vector", {0, 0, 0}, {1, 0, 0}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_NEAR(CMathFunc::mathCrossAngleNormalizeWithSign(r.u, r.w), r.angle, 1e-9);
    }
    struct Dir {
        double x2, y2;
        double deg;
    } dirs[] = {{1, 0, 0}, {1, 1, 45}, {0, 1, 90}, {-1, 0, 180}, {0, -1, 270}, {1, -1, 315}, {0, 0, 0}};
    for (const Dir& d : dirs) {
        SCOPED_TRACE(d.deg);
        EXPECT_NEAR(CMathFunc::GetAngle(5, 5, 5 + d.x2, 5 + d.y2, 1), d.deg, 1e-9);
        EXPECT_NEAR(CMathFunc::GetAngle(5, 5, 5 + d.x2, 5 + d.y2, 0), d.deg * CMathFunc::m_trrad, 1e-12);
    }
}

TEST(CMathFuncTest, PlanIntersections) {
    // Cutting segment against an element edge: the crossing, its fraction along the edge, and
    // the edge's height there.
    struct Row {
        const char* label;
        C3DPoint p1, p2, a, b;
        int hit;
        double t;
        C3DPoint x;
    } rows[] = {
        {"square cut through an edge", {0, -1, 0}, {0, 1, 0}, {-2, 0, 0}, {2, 0, 4}, 1, 0.5, {0, 0, 2}},
        {"edge end on the cut", {0, -1, 0}, {0, 1, 0}, {0, 0, 0}, {2, 0, 0}, 1, 0.0, {0, 0, 0}},
        {"parallel", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, 0, 0, {}},
        {"edge beyond the cut's end", {0, -1, 0}, {0, 1, 0}, {-1, 3, 0}, {1, 3, 0}, 0, 0, {}},
        {"cut misses the edge", {5, -1, 0}, {5, 1, 0}, {-1, 0, 0}, {1, 0, 0}, 0, 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        double t = -7;
        C3DPoint X(9, 9, 9);
        EXPECT_EQ(CMathFunc::mathIntersectLine2(r.p1, r.p2, r.a, r.b, 1e-7, t, X), r.hit);
        if (r.hit) {
            EXPECT_NEAR(t, r.t, 1e-12);
            EXPECT_NEAR(X.x, r.x.x, 1e-12);
            EXPECT_NEAR(X.y, r.x.y, 1e-12);
            EXPECT_NEAR(X.z, r.x.z, 1e-12);
        } else {
            EXPECT_EQ(t, -7.0) << "outputs stay as they were";
        }
    }
    struct Seg {
        const char* label;
        T_POINT2D p1, p2, q1, q2;
        int ccw;
    } segs[] = {
        {"proper crossing", {0, 0}, {2, 2}, {0, 2}, {2, 0}, 1},
        {"touching at an end", {0, 0}, {2, 0}, {1, 0}, {1, 5}, 0},
        {"collinear overlap", {0, 0}, {2, 0}, {1, 0}, {3, 0}, 0},
        {"collinear apart", {0, 0}, {1, 0}, {2, 0}, {3, 0}, -1},
        {"apart", {0, 0}, {1, 1}, {3, 0}, {4, 1}, -1},
    };
    for (const Seg& s : segs) {
        SCOPED_TRACE(s.label);
        EXPECT_EQ(CMathFunc::mathIntersect_ccw2D(s.p1, s.p2, s.q1, s.q2), s.ccw);
    }
    T_POINT2D out;
    EXPECT_EQ(CMathFunc::mathLineLineCross2D({0, 0}, {1, 1}, {4, 0}, {4, 1}, out), 1) << "unbounded lines";
    EXPECT_NEAR(out.x, 4.0, kTol);
    EXPECT_NEAR(out.y, 4.0, kTol);
    EXPECT_EQ(CMathFunc::mathLineLineCross2D({0, 0}, {1, 1}, {0, 1}, {1, 2}, out), 0);
    EXPECT_TRUE(CMathFunc::mathIsPointOfLine2D({1, 1}, {0, 0}, {2, 2}));
    EXPECT_FALSE(CMathFunc::mathIsPointOfLine2D({3, 3}, {0, 0}, {2, 2})) << "on the line but past the end";
    EXPECT_FALSE(CMathFunc::mathIsPointOfLine2D({1, 1.01}, {0, 0}, {2, 2}));
}

TEST(CMathFuncTest, CentroidsProductsAndSplitting) {
    // L shape: 2x2 square minus its upper-right 1x1 quarter. Area 3; centroid
    // (4*1 - 1*1.5) / 3 = 5/6 in x and in y.
    const double lx[] = {0, 2, 2, 1, 1, 0}, ly[] = {0, 0, 1, 1, 2, 2};
    double cx = 0, cy = 0;
    EXPECT_EQ(CMathFunc::mathPolyCentroid(6, lx, ly, cx, cy), 1);
    EXPECT_NEAR(cx, 5.0 / 6.0, kTol);
    EXPECT_NEAR(cy, 5.0 / 6.0, kTol);
    // Far from the origin the same shape keeps its precision.
    double fx[6], fy[6];
    for (int i = 0; i < 6; ++i) {
        fx[i] = lx[i] + 4.0e6;
        fy[i] = ly[i] + 3.0e6;
    }
    EXPECT_EQ(CMathFunc::mathPolyCentroid(6, fx, fy, cx, cy), 1);
    EXPECT_NEAR(cx, 4.0e6 + 5.0 / 6.0, 1e-6);
    // Degenerate outline: the mean of its points.
    const double dx[] = {0, 4, 2}, dy[] = {0, 0, 0};
    EXPECT_EQ(CMathFunc::mathPolyCentroid(3, dx, dy, cx, cy), 1);
    EXPECT_NEAR(cx, 2.0, kTol);
    EXPECT_EQ(CMathFunc::mathPolyCentroid(0, dx, dy, cx, cy), 0);

    // The Hermite basis H times G (rows P0, P1, T0, T1) gives the cubic's coefficients.
    const double H[4][4] = {{2, -2, 1, 1}, {-3, 3, -2, -1}, {0, 0, 1, 0}, {1, 0, 0, 0}};
    const double G[4][4] = {{0, 1, 0, 0}, {1, 3, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}};
    double C[4][4];
    CMathFunc::mathMxMult(H, G, C);
    // Column 0 is the curve x(t) = t (P0 = 0, P1 = 1, tangents 1): coefficients 0, 0, 1, 0.
    EXPECT_NEAR(C[0][0], 0.0, kTol);
    EXPECT_NEAR(C[1][0], 0.0, kTol);
    EXPECT_NEAR(C[2][0], 1.0, kTol);
    EXPECT_NEAR(C[3][0], 0.0, kTol);
    // Column 1: y(0) = 1, y(1) = 3, no tangents: 2t^2... coefficients -4, 6, 0, 1.
    EXPECT_NEAR(C[0][1], -4.0, kTol);
    EXPECT_NEAR(C[1][1], 6.0, kTol);
    EXPECT_NEAR(C[3][1], 1.0, kTol);

    struct Split {
        const char* text;
        const char* sep;
        int n;
        const char* last;
    } splits[] = {
        {"a\nbb\nccc", "\n", 3, "ccc"},
        {"反力\n位移", "\n", 2, "位移"},
        {"one", "\n", 1, "one"},
        {"x\n", "\n", 2, ""},
        {"", "\n", 0, nullptr},
        {"a--b", "--", 2, "b"},
    };
    for (const Split& s : splits) {
        SCOPED_TRACE(s.text);
        CStringArray lines;
        lines.Add("stale");
        EXPECT_EQ(CMathFunc::SplitCStringByChar(CString(s.text), lines, s.sep), s.n);
        ASSERT_EQ(lines.GetSize(), s.n);
        if (s.last) {
            EXPECT_STREQ(static_cast<LPCTSTR>(lines[s.n - 1]), s.last);
        }
    }
}

TEST(GeomTypesTest, LinePositionsOutlinesAndArcs) {
    const T_LINE_G line(T_POINT3D(1, 2, 3), T_POINT3D(4, 6, 3));  // length 5 in plan
    struct Row {
        const char* label;
        bool byLength;
        double arg;
        double x, y;
    } rows[] = {
        {"ratio 0 is the start", false, 0.0, 1, 2},
        {"ratio 1/8", false, 0.125, 1.375, 2.5},
        {"ratio 7/8", false, 0.875, 3.625, 5.5},
        {"ratio beyond the end extends", false, 1.2, 4.6, 6.8},
        {"length 2.5 is the middle", true, 2.5, 2.5, 4},
        {"length 5 is the end", true, 5.0, 4, 6},
        {"negative length is behind the start", true, -5.0, -2, -2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_POINT3D p;
        EXPECT_EQ(r.byLength ? line.GetPosByLength(p, r.arg) : line.GetPosByRatio(p, r.arg), 1);
        EXPECT_NEAR(p.x, r.x, kTol);
        EXPECT_NEAR(p.y, r.y, kTol);
        EXPECT_NEAR(p.z, 3.0, kTol);
        C3DPoint c;
        EXPECT_EQ(r.byLength ? line.GetPosByLength(c, r.arg) : line.GetPosByRatio(c, r.arg), 1);
        EXPECT_NEAR(c.x, r.x, kTol);
    }
    const T_LINE_G dot(T_POINT3D(1, 1, 1), T_POINT3D(1, 1, 1));
    T_POINT3D p(7, 7, 7);
    EXPECT_EQ(dot.GetPosByLength(p, 1.0), 0) << "a line of no length has no direction";
    EXPECT_EQ(p.x, 7.0);
    EXPECT_EQ(dot.GetPosByRatio(p, 0.5), 1);
    EXPECT_EQ(p.x, 1.0);

    // Outline: closing appends the first point once; the centre ignores the repeat.
    T_POLYGON2D poly;
    const T_POINT2D pts[] = {{0, 0}, {4, 0}, {4, 2}, {0, 2}};
    poly.Set(pts, 4);
    EXPECT_FALSE(poly.IsClosed());
    poly.MakeColse();
    poly.MakeColse();
    EXPECT_EQ(poly.GetCount(), 5);
    const T_POINT2D c = poly.Center();
    EXPECT_NEAR(c.x, 2.0, kTol);
    EXPECT_NEAR(c.y, 1.0, kTol);

    struct Left {
        T_POINT2D a, b;
        int left;
    } lefts[] = {{{0, 0}, {1, 0}, 1}, {{1, 0}, {0, 0}, 0}, {{0, 0}, {0.005, 1}, 1}, {{0, 1}, {0.005, 0}, 0}, {{0, 0}, {0.005, 0.005}, 0}};
    for (const Left& l : lefts) EXPECT_EQ(CZELF_Point2D(l.a).IsLeft2(l.b, 0.01), l.left) << l.a.x << "," << l.a.y;
    CZELF_Point2D s(1, 2);
    T_POINT2D t(3, 4);
    s.Swap(t);
    EXPECT_EQ(s.x, 3.0);
    EXPECT_EQ(t.y, 2.0);

    // Arc height: positive when the arc bulges to the left of start -> end. A half circle of
    // radius 2 has height 2; a quarter circle of radius r has r (1 - cos 45); three quarters
    // r (1 + cos 45).
    struct Arc {
        const char* label;
        T_POINT2D a, m, b;
        int ok;
        double chord;
    } arcs[] = {
        {"half circle right of +x", {-2, 0}, {0, -2}, {2, 0}, 1, -2.0},
        {"half circle left of -x", {2, 0}, {0, -2}, {-2, 0}, 1, 2.0},
        {"quarter circle counter-clockwise bulges right", {2, 0}, {kSqrt2, kSqrt2}, {0, 2}, 1, -2.0 * (1.0 - std::cos(CMathFunc::m_pi / 4))},
        {"three quarters of a circle", {2, 0}, {-2, 0}, {0, -2}, 1, -2.0 * (1.0 + std::cos(CMathFunc::m_pi / 4))},
        {"straight", {0, 0}, {1, 1}, {2, 2}, 0, 0.0},
    };
    for (const Arc& a : arcs) {
        SCOPED_TRACE(a.label);
        CZELF_Arc2D arc;
        EXPECT_EQ(arc.SetData(a.a, a.m, a.b), a.ok);
        EXPECT_NEAR(arc.Chord(), a.chord, 1e-9);
    }
    EXPECT_NEAR(math_lib::distance_2d(1, 1, 4, 5), 5.0, kTol);
}

TEST(GeomTypesTest, PlanLineOrArcPlacesPointsByFractionOfItsLength) {
    // The half circle from (-1, 0) to (1, 0) bulging to +y (left of the chord's direction): arc
    // height 1, radius 1, length pi; the point at fraction t is at angle pi (1 - t).
    // The straight line from (4, 1) to (0, 4): length 5.
    struct Row {
        const char* label;
        CZELF_Point2D a, b;
        double arc;
        int reversed;  // the object keeps lines in reading order and arcs counter-clockwise
        int order;     // stored chord in reading order: every line; an arc bulging down (or to +x)
        double length;
        double t, offset;
        double x, y;  // after turning back to the given direction
    } const rows[] = {
        {"half circle, start", {-1, 0}, {1, 0}, 1.0, 1, 0, kPi, 0.0, 0.0, -1, 0},
        {"half circle, top", {-1, 0}, {1, 0}, 1.0, 1, 0, kPi, 0.5, 0.0, 0, 1},
        {"half circle, a quarter", {-1, 0}, {1, 0}, 1.0, 1, 0, kPi, 0.25, 0.0, -std::sqrt(0.5), std::sqrt(0.5)},
        {"half circle, end", {-1, 0}, {1, 0}, 1.0, 1, 0, kPi, 1.0, 0.0, 1, 0},
        // Clockwise: left of the travel is away from the centre.
        {"half circle, top, 0.5 to the left", {-1, 0}, {1, 0}, 1.0, 1, 0, kPi, 0.5, 0.5, 0, 1.5},
        {"the same arc the other way", {1, 0}, {-1, 0}, -1.0, 0, 0, kPi, 0.5, 0.5, 0, 0.5},
        // Rise 2 over the chord 8 (radius 5 about (4, -3)): the middle at (4, 2).
        {"flat arc, middle", {0, 0}, {8, 0}, 2.0, 1, 0, 5.0 * 2.0 * std::atan2(4.0, 3.0), 0.5, 0.0, 4, 2},
        {"line against reading order, middle", {4, 1}, {0, 4}, 0.0, 1, 1, 5.0, 0.5, 0.0, 2, 2.5},
        {"line, 1/8 with an offset of 1 to the left", {4, 1}, {0, 4}, 0.0, 1, 1, 5.0, 0.125, 1.0, 3.5 - 0.6, 1.375 - 0.8},
        {"line in reading order", {0, 0}, {3, 4}, 0.0, 0, 1, 5.0, 1.0, 0.0, 3, 4},
        {"an arc height of 1e-12 is a line", {0, 0}, {3, 4}, 1e-12, 0, 1, 5.0, 0.5, 0.0, 1.5, 2},
        // Bulging down (right of the chord read left to right): kept as given, the bottom at (0, -1).
        {"half circle bulging down", {-1, 0}, {1, 0}, -1.0, 0, 1, kPi, 0.5, 0.0, 0, -1},
        // Upright chord, bulging to -x (left of upwards): kept from (0, 1) down to (0, -1).
        {"half circle bulging to -x", {0, -1}, {0, 1}, 1.0, 1, 0, kPi, 0.5, 0.0, -1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CZELF_DBLineObjData line;
        ASSERT_EQ(line.SetData(r.a, r.b, r.arc, 0.0, 0.0), 1);
        EXPECT_EQ(line.IsReverse(), r.reversed);
        EXPECT_EQ(line.IsReadingOrder(), r.order);
        EXPECT_NEAR(line.GetLength(), r.length, kTol);
        if (line.IsReverse()) line.ReVerSeData();
        EXPECT_EQ(line.IsReverse(), 0);
        EXPECT_NEAR(line.GetPtStart().x, r.a.x, kTol);
        EXPECT_NEAR(line.GetPtEnd().y, r.b.y, kTol);
        const CZELF_Point2D p = line.GetPointByDist(r.t, r.offset);
        EXPECT_NEAR(p.x, r.x, kTol);
        EXPECT_NEAR(p.y, r.y, kTol);
    }
    CZELF_DBLineObjData none;
    EXPECT_EQ(none.SetData(CZELF_Point2D(2, 3), CZELF_Point2D(2, 3), 1.0, 0.0, 0.0), 0) << "no line between one point";
    EXPECT_EQ(none.IsValid(), 0);
    EXPECT_EQ(none.GetLength(), 0.0);
    EXPECT_EQ(none.SetData(CZELF_Point2D(0, 0), CZELF_Point2D(1, 0), std::nan(""), 0.0, 0.0), 0);
}

}  // namespace
