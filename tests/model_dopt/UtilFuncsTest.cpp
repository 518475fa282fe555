// Geometry and number helpers: points on lines, vectors, segment crossing, window slopes,
// fixed-width value texts and run-time number formats.
#include "model/CUtilFuncs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

void ExpectPoint(const C3DPoint& p, double x, double y, double z) {
    EXPECT_NEAR(p.x, x, 1e-12);
    EXPECT_NEAR(p.y, y, 1e-12);
    EXPECT_NEAR(p.z, z, 1e-12);
}

}  // namespace

TEST(UtilFuncs, PointsOnLines) {
    const C3DPoint a(1, 2, 3), b(5, 2, -1);
    C3DPoint out(9, 9, 9);

    CUtilFuncs::GetInnerLinePoint(1.0, 3.0, a, b, out);
    ExpectPoint(out, 2, 2, 2);
    // A zero sum has no inner point: the first point, never NaN.
    CUtilFuncs::GetInnerLinePoint(2.0, -2.0, a, b, out);
    ExpectPoint(out, 1, 2, 3);

    CUtilFuncs::GetInnerLinePoint2(2.0, 8.0, a, b, out);
    ExpectPoint(out, 2, 2, 2);
    CUtilFuncs::GetInnerLinePoint2(2.0, 0.0, a, b, out);
    ExpectPoint(out, 1, 2, 3);
    CUtilFuncs::GetInnerLinePoint2(2.0, -1.0, a, b, out);
    ExpectPoint(out, 1, 2, 3);

    const double dir[3] = {0.0, 1.0, -2.0};
    CUtilFuncs::GetVectorDirectionPoint(dir, 2.0, 1.5, a, out);
    ExpectPoint(out, 1, 5, -3);

    // Zero crossing of a value running linearly from 1 to -3 over (0,0,0)-(4,0,0).
    EXPECT_EQ(CUtilFuncs::GetInterPtOfTwoPtsByVals(1.0, -3.0, C3DPoint(0, 0, 0), C3DPoint(4, 0, 0), out), 1);
    ExpectPoint(out, 1, 0, 0);
    EXPECT_EQ(CUtilFuncs::GetInterPtOfTwoPtsByVals(-2.0, 2.0, C3DPoint(0, 0, 0), C3DPoint(0, 0, 8), out), 1);
    ExpectPoint(out, 0, 0, 4);
    // Two zero values cross nowhere: failure, first point.
    EXPECT_EQ(CUtilFuncs::GetInterPtOfTwoPtsByVals(0.0, 0.0, a, b, out), 0);
    ExpectPoint(out, 1, 2, 3);
}

TEST(UtilFuncs, Vectors) {
    struct Row {
        const char* label;
        double in[3];
        double out[3];
    } rows[] = {
        {"zero", {0, 0, 0}, {0, 0, 0}},
        {"3-0-4", {3, 0, 4}, {0.6, 0, 0.8}},
        {"negative", {0, -2, 0}, {0, -1, 0}},
        {"nan", {std::nan(""), 1, 0}, {0, 0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        double v[3] = {r.in[0], r.in[1], r.in[2]};
        CUtilFuncs::MakeUnitVector(v);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(v[i], r.out[i], 1e-15);
    }

    double a[3] = {2, 0, 0}, b[3] = {1, 1, 0};
    EXPECT_NEAR(CUtilFuncs::GetCosFrom2Vec(a, b), std::sqrt(0.5), 1e-15);
    EXPECT_NEAR(b[0], std::sqrt(0.5), 1e-15);  // normalised in place
    EXPECT_NEAR(a[0], 1.0, 1e-15);

    const C3DPoint square[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    double n[3];
    CUtilFuncs::GetNormalVector(4, square, n);
    EXPECT_DOUBLE_EQ(n[0], 0.0);
    EXPECT_DOUBLE_EQ(n[1], 0.0);
    EXPECT_DOUBLE_EQ(n[2], 2.0);
    const C3DPoint reversed[4] = {{0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0}};
    CUtilFuncs::GetNormalVector(4, reversed, n);
    EXPECT_DOUBLE_EQ(n[2], -2.0);
    // A triangle in the x-z plane, counter-clockwise seen from -y.
    const C3DPoint tri[3] = {{0, 0, 0}, {2, 0, 0}, {0, 0, 2}};
    CUtilFuncs::GetNormalVector(3, tri, n);
    EXPECT_DOUBLE_EQ(n[0], 0.0);
    EXPECT_DOUBLE_EQ(n[1], -4.0);
    EXPECT_DOUBLE_EQ(n[2], 0.0);
    n[0] = n[1] = n[2] = 7;
    CUtilFuncs::GetNormalVector(0, square, n);
    EXPECT_EQ(n[0] + n[1] + n[2], 0.0);
}

TEST(UtilFuncs, SegmentIntersection) {
    struct Row {
        const char* label;
        double a[3], b[3], c[3], d[3];
        double tol;
        int result;
        double dist;  // checked when >= 0
        double out[3];
    } rows[] = {
        {"cross in the plane", {0, 0, 0}, {2, 0, 0}, {1, -1, 0}, {1, 1, 0}, 1e-3, 1, 0.0, {1, 0, 0}},
        {"parallel", {0, 0, 0}, {2, 0, 0}, {0, 1, 0}, {2, 1, 0}, 1e-3, 0, -1, {0, 0, 0}},
        {"skew 0.5 apart", {0, 0, 0}, {2, 0, 0}, {1, -1, 0.5}, {1, 1, 0.5}, 0.1, 0, 0.5, {0, 0, 0}},
        {"skew within tol", {0, 0, 0}, {2, 0, 0}, {1, -1, 0.5}, {1, 1, 0.5}, 0.5, 1, 0.5, {1, 0, 0.5}},
        {"beyond the end of a-b", {0, 0, 0}, {2, 0, 0}, {3, -1, 0}, {3, 1, 0}, 1e-3, 0, 0.0, {0, 0, 0}},
        {"beyond the end of c-d", {0, 0, 0}, {2, 0, 0}, {1, 1, 0}, {1, 3, 0}, 1e-3, 0, 0.0, {0, 0, 0}},
        {"touching at an end", {0, 0, 0}, {2, 0, 0}, {2, 0, 0}, {2, 5, 0}, 1e-3, 1, 0.0, {2, 0, 0}},
        {"vertical plane (x largest)", {0, 0, 0}, {0, 4, 4}, {0, 4, 0}, {0, 0, 4}, 1e-6, 1, 0.0, {0, 2, 2}},
        {"x-z plane (y largest)", {0, 0, 0}, {4, 0, 4}, {4, 0, 0}, {0, 0, 4}, 1e-6, 1, 0.0, {2, 0, 2}},
        {"degenerate segment", {1, 1, 1}, {1, 1, 1}, {0, 0, 0}, {2, 2, 2}, 1e-3, 0, -1, {0, 0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        double dist = -99, out[3] = {9, 9, 9};
        EXPECT_EQ(CUtilFuncs::mathIntersectLine4PVX(r.a, r.b, r.c, r.d, r.tol, dist, out), r.result);
        if (r.dist >= 0) EXPECT_NEAR(dist, r.dist, 1e-12);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(out[i], r.out[i], 1e-12);
    }
}

TEST(UtilFuncs, WindowSlope) {
    struct Row {
        int x1, y1, x2, y2;
        int angle, turned;
    } rows[] = {
        {0, 0, 10, 0, 0, 0},      // left to right
        {10, 0, 0, 0, 0, 1},      // right to left: 1800 turned to 0
        {0, 10, 0, 0, 900, 0},    // upward on screen
        {0, 0, 0, 10, 900, 1},    // downward: 2700 turned to 900
        {0, 10, 10, 0, 450, 0},   // up and right
        {10, 10, 0, 0, 3150, 1},  // up and left: 1350 turned
        {0, 0, 10, 10, 3150, 0},  // down and right stays
        {0, 0, -10, 10, 450, 1},  // down and left: 2250 turned
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.x1 << "," << r.y1 << ")->(" << r.x2 << "," << r.y2 << ")");
        int angle = -1;
        EXPECT_EQ(CUtilFuncs::GetSlope2Point(angle, r.x1, r.y1, r.x2, r.y2), r.turned);
        EXPECT_EQ(angle, r.angle);
        EXPECT_GE(angle, 0);
        EXPECT_LT(angle, 3600);
    }
    // The tenths are truncated, not rounded: a slope of 29.98 degrees gives 299.
    int angle = 0;
    CUtilFuncs::GetSlope2Point(angle, 0, 0, 1000, -577);
    EXPECT_EQ(angle, 299);
}

TEST(UtilFuncs, ValueToFixedWidthText) {
    struct Row {
        double value;
        int width, precision, exponent;
        const char* text;
    } rows[] = {
        {1234.5, 8, 2, 0, " 1234.50"},
        {123456.0, 8, 2, 0, "*****"},          // no room for the exponent form
        {123456.0, 10, 2, 0, " 123456.00"},
        {1.5e6, 10, 2, 0, " 1.50e+006"},       // too wide: exponent form, 10 - 8 decimals
        {1e-20, 8, 2, 0, "    0.00"},          // below 1e-15 counts as 0
        {-1e-20, 8, 2, 0, "    0.00"},
        {-1234.5, 8, 2, 0, "-1234.50"},        // the sign fits in the width
        {-12345.0, 8, 2, 0, "*****"},
        {9999.996, 8, 2, 0, "*****"},          // rounds to 10000.00: does not fit
        {9999.994, 8, 2, 0, " 9999.99"},
        {1.25, 12, 3, 1, " 1.2500e+000"},      // exponent asked: width - 8 decimals
        {1.25, 8, 3, 1, "   1.250"},           // exponent asked without room: fixed
        {0.0, 6, 0, 0, "     0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.value << " w" << r.width << " p" << r.precision << " e" << r.exponent);
        EXPECT_STREQ(CUtilFuncs::ConvertValToFmtStr(r.value, r.width, r.precision, r.exponent), r.text);
    }
}

TEST(UtilFuncs, FormatsNeverRunAway) {
    // Settings read from old files or dialogs may hold any width, precision or digit count; the
    // texts stay bounded and the formats valid.
    struct Row {
        double value;
        int width, precision, exponent;
    } rows[] = {
        {1.0, 1000000, 2, 0},          {1.0, -5, 2, 0},        {1.0, 12, -3, 0},
        {1.0, 12, 100000, 1},          {1e300, 64, 20, 0},     {-1e300, 100, 2, 1},
        {std::nan(""), 12, 2, 0},      {INFINITY, 12, 2, 1},   {-INFINITY, 8, 2, 0},
        {std::numeric_limits<double>::max(), std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.value << " w" << r.width << " p" << r.precision);
        const CString text = CUtilFuncs::ConvertValToFmtStr(r.value, r.width, r.precision, r.exponent);
        EXPECT_GT(text.GetLength(), 0);
        EXPECT_LE(text.GetLength(), CUtilFuncs::kMaxTextWidth + 8);
        EXPECT_EQ(std::string(text).find('%'), std::string::npos) << "format leaked: " << (LPCTSTR)text;
    }
    // A negative precision counts as 0 decimals.
    EXPECT_STREQ(CUtilFuncs::ConvertValToFmtStr(2.0, 6, -1, 0), "     2");

    struct FmtRow {
        int exponent, digits;
        const char* lead;
        const char* trail;
        const char* format;
        double value;
        const char* text;
    } fmts[] = {
        {0, 3, "", "", "%.3f", 1.5, "1.500"},
        {1, 3, "", "", "%.3e", 1234.5, "1.234e+003"},
        {0, 2, " ", " ", " %.2f ", 1.5, " 1.50 "},
        {0, -4, "", "", "%.0f", 2.4, "2"},
        {0, 5000, "", "", "%.20f", 0.5, "0.50000000000000000000"},
        {1, 0, "", "", "%.0e", 5000.0, "5e+003"},
    };
    for (const FmtRow& f : fmts) {
        SCOPED_TRACE(f.format);
        const CString fmt = CUtilFuncs::MakeNumberFormat(f.exponent, f.digits, f.lead, f.trail);
        EXPECT_STREQ(fmt, f.format);
        CString text;
        text.Format(fmt, f.value);
        EXPECT_STREQ(text, f.text);
        if (!*f.lead && !*f.trail) EXPECT_STREQ(CUtilFuncs::FormatNumber(f.value, f.exponent, f.digits), f.text);
    }
    // The largest number printed with the most digits stays a bounded text.
    const CString big = CUtilFuncs::FormatNumber(1e308, 0, 1 << 30);
    EXPECT_EQ(big.GetLength(), 309 + 1 + CUtilFuncs::kMaxDigits);
}

TEST(UtilFuncs, ColourChannels) {
    struct Row {
        COLORREF cr;
        UINT r, g, b;
    } rows[] = {
        {0x0000FF, 255, 0, 0}, {0x00FF00, 0, 255, 0}, {0xFF0000, 0, 0, 255}, {RGB(12, 34, 56), 12, 34, 56},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << row.cr);
        UINT r = 9, g = 9, b = 9;
        CUtilFuncs::GetRgb(row.cr, r, g, b);
        EXPECT_EQ(r, row.r);
        EXPECT_EQ(g, row.g);
        EXPECT_EQ(b, row.b);
        float fr, fg, fb;
        CUtilFuncs::GetRgbF(row.cr, fr, fg, fb);
        EXPECT_FLOAT_EQ(fr, row.r / 255.0f);
        EXPECT_FLOAT_EQ(fg, row.g / 255.0f);
        EXPECT_FLOAT_EQ(fb, row.b / 255.0f);
    }
}
