// Outline geometry of the check library against values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "host/check/ICheckToolUtil.h"

namespace {

constexpr double kTol = 1e-9;

CArray<T_POINT2D> Pts(std::initializer_list<T_POINT2D> pts) {
    CArray<T_POINT2D> a;
    for (const T_POINT2D& p : pts) a.Add(p);
    return a;
}

TEST(ICheckToolUtilTest, RectanglesTurnedAndScaled) {
    // 2 by 1 about the origin turned 90 degrees: the corner (-1,-0.5) goes to (0.5,-1), and so
    // on round the rectangle, which ends where it began.
    CArray<T_POINT2D> r;
    ASSERT_TRUE(ICheckToolUtil::s_MakePolyLine(2, 1, 90, T_POINT2D(0, 0), r));
    const T_POINT2D want[5] = {{0.5, -1}, {0.5, 1}, {-0.5, 1}, {-0.5, -1}, {0.5, -1}};
    ASSERT_EQ(r.GetSize(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(r[i].x, want[i].x, kTol);
        EXPECT_NEAR(r[i].y, want[i].y, kTol);
    }
    EXPECT_FALSE(ICheckToolUtil::s_MakePolyLine(0, 1, 0, T_POINT2D(0, 0), r));
    EXPECT_FALSE(ICheckToolUtil::s_MakePolyLine(1, NAN, 0, T_POINT2D(0, 0), r));

    // Turned in place by 90 degrees about (1,1): (2,1) -> (1,2), (1,1) stays.
    CArray<T_POINT2D> p = Pts({{2, 1}, {1, 1}});
    ASSERT_TRUE(ICheckToolUtil::s_RotatePolyLine(T_POINT2D(1, 1), p, p, 90));
    EXPECT_NEAR(p[0].x, 1.0, kTol);
    EXPECT_NEAR(p[0].y, 2.0, kTol);
    EXPECT_NEAR(p[1].x, 1.0, kTol);

    // Millimetres to metres.
    CArray<T_POINT2D> mm = Pts({{1500, -2500}});
    ASSERT_TRUE(ICheckToolUtil::s_ConvertPolyByRatio(mm, 0.001));
    EXPECT_NEAR(mm[0].x, 1.5, kTol);
    EXPECT_NEAR(mm[0].y, -2.5, kTol);
    EXPECT_FALSE(ICheckToolUtil::s_ConvertPolyByRatio(mm, INFINITY));
    EXPECT_NEAR(mm[0].x, 1.5, kTol);
}

TEST(ICheckToolUtilTest, CentroidsIncludingDegenerateOutlines) {
    struct Row {
        const char* label;
        CArray<T_POINT2D> pts;
        T_POINT2D centre;
        double area;
    } rows[] = {
        {"unit square", Pts({{0, 0}, {1, 0}, {1, 1}, {0, 1}}), {0.5, 0.5}, 1.0},
        {"closed, clockwise triangle", Pts({{0, 0}, {0, 3}, {3, 0}, {0, 0}}), {1, 1}, 4.5},
        // L of the 4x4 square less its 2x2 corner: (16 (2,2) - 4 (3,3)) / 12 = (5/3, 5/3).
        {"L shape", Pts({{0, 0}, {4, 0}, {4, 2}, {2, 2}, {2, 4}, {0, 4}}), {5.0 / 3, 5.0 / 3}, 12.0},
        {"one point", Pts({{2, 3}}), {2, 3}, 0.0},
        // Mean of all three points would be (5/3, 1); of the distinct ones (2, 1).
        {"repeated point", Pts({{1, 1}, {1, 1}, {3, 1}}), {2, 1}, 0.0},
        {"collinear", Pts({{0, 0}, {1, 0}, {2, 0}, {2, 0}}), {1, 0}, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_POINT2D c;
        double area = -1.0;
        ASSERT_TRUE(ICheckToolUtil::s_GetPolyCentroid(r.pts, c, area));
        EXPECT_NEAR(c.x, r.centre.x, kTol);
        EXPECT_NEAR(c.y, r.centre.y, kTol);
        EXPECT_NEAR(area, r.area, kTol);
    }
    T_POINT2D c(7, 7);
    double area = 0.0;
    EXPECT_FALSE(ICheckToolUtil::s_GetPolyCentroid(CArray<T_POINT2D>(), c, area));
    EXPECT_FALSE(ICheckToolUtil::s_GetPolyCentroid(Pts({{0, 0}, {NAN, 1}}), c, area));
    EXPECT_EQ(c.x, 7.0);
}

TEST(ICheckToolUtilTest, EdgeInformation) {
    CArray<double> info, lengths;
    // 2 wide, 4 high, closed: edges 2, 4, 2, 4; the first longest is edge 1.
    ASSERT_TRUE(ICheckToolUtil::s_GetPolyLineInfo(Pts({{0, 0}, {2, 0}, {2, 4}, {0, 4}, {0, 0}}), info, lengths));
    ASSERT_EQ(lengths.GetSize(), 4);
    EXPECT_NEAR(lengths[0], 2.0, kTol);
    EXPECT_NEAR(lengths[1], 4.0, kTol);
    ASSERT_EQ(info.GetSize(), 3);
    EXPECT_EQ(info[0], 4.0);
    EXPECT_NEAR(info[1], 12.0, kTol);
    EXPECT_EQ(info[2], 1.0);
    EXPECT_FALSE(ICheckToolUtil::s_GetPolyLineInfo(Pts({{1, 1}, {1, 1}}), info, lengths));
}

TEST(ICheckToolUtilTest, ReadingOrderSideTest) {
    struct Row {
        const char* label;
        double x1, y1, x2, y2;
        BOOL forwards;
    } rows[] = {
        {"left to right", 0, 0, 1, 0, TRUE},
        {"right to left", 1, 0, 0, 0, FALSE},
        {"right and down still reads forwards", 0, 0, 1, -5, TRUE},
        {"vertical, bottom to top", 0, 0, 0, 1, TRUE},
        {"vertical, top to bottom", 0, 1, 0, 0, FALSE},
        {"x within 1e-6 counts as vertical: up", 0, 0, 5e-7, 1, TRUE},
        {"x within 1e-6 counts as vertical: down", 0, 0, 5e-7, -1, FALSE},
        {"x 2e-6 to the right reads forwards even downwards", 0, 0, 2e-6, -1, TRUE},
        {"one point", 2, 2, 2, 2, FALSE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(ICheckToolUtil::s_IsLeftPt(r.x1, r.y1, r.x2, r.y2), r.forwards);
        // The point form keeps the same rule with its own tolerance.
        EXPECT_EQ(CZELF_Point2D(r.x1, r.y1).IsLeft2(T_POINT2D(r.x2, r.y2), 1e-6), r.forwards);
    }
}

}  // namespace
