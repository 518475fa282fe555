// Geometry and number helpers: points on lines, vectors, segment crossing, window slopes,
// fixed-width value texts and run-time number formats.
#include "module/model/CUtilFuncs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

static void ExpectPoint(const C3DPoint& p, double x, double y, double z) {
    EXPECT_NEAR(p.x, x, 1e-12);
    EXPECT_NEAR(p.y, y, 1e-12);
    EXPECT_NEAR(p.z, z, 1e-12);
}

TEST(UtilFuncs, PointsAndVectors) {
    const C3DPoint a(1, 2, 3), b(5, 2, -1);
    C3DPoint out;
    CUtilFuncs::GetInnerLinePoint(1.0, 3.0, a, b, out);
    ExpectPoint(out, 2, 2, 2);
    CUtilFuncs::GetInnerLinePoint(2.0, -2.0, a, b, out);  // zero sum: the first point, not NaN
    ExpectPoint(out, 1, 2, 3);
    CUtilFuncs::GetInnerLinePoint2(2.0, 8.0, a, b, out);
    ExpectPoint(out, 2, 2, 2);
    CUtilFuncs::GetInnerLinePoint2(2.0, 0.0, a, b, out);
    ExpectPoint(out, 1, 2, 3);
    const double dir[3] = {0.0, 1.0, -2.0};
    CUtilFuncs::GetVectorDirectionPoint(dir, 2.0, 1.5, a, out);
    ExpectPoint(out, 1, 5, -3);
    EXPECT_EQ(CUtilFuncs::GetInterPtOfTwoPtsByVals(1.0, -3.0, C3DPoint(0, 0, 0), C3DPoint(4, 0, 0), out), 1);
    ExpectPoint(out, 1, 0, 0);
    EXPECT_EQ(CUtilFuncs::GetInterPtOfTwoPtsByVals(0.0, 0.0, a, b, out), 0);  // no crossing
    ExpectPoint(out, 1, 2, 3);

    double v[3] = {3, 0, 4}, z[3] = {0, 0, 0}, nan[3] = {std::nan(""), 1, 0};
    CUtilFuncs::MakeUnitVector(v);
    CUtilFuncs::MakeUnitVector(z);
    CUtilFuncs::MakeUnitVector(nan);
    ExpectPoint(C3DPoint(v[0], v[1], v[2]), 0.6, 0, 0.8);
    ExpectPoint(C3DPoint(z[0], z[1], z[2]), 0, 0, 0);
    ExpectPoint(C3DPoint(nan[0], nan[1], nan[2]), 0, 0, 0);
    double p[3] = {2, 0, 0}, q[3] = {1, 1, 0};
    EXPECT_NEAR(CUtilFuncs::GetCosFrom2Vec(p, q), std::sqrt(0.5), 1e-15);

    const C3DPoint square[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const C3DPoint reversed[4] = {square[3], square[2], square[1], square[0]};
    double n[3];
    CUtilFuncs::GetNormalVector(4, square, n);
    ExpectPoint(C3DPoint(n[0], n[1], n[2]), 0, 0, 2);
    CUtilFuncs::GetNormalVector(4, reversed, n);
    ExpectPoint(C3DPoint(n[0], n[1], n[2]), 0, 0, -2);
    CUtilFuncs::GetNormalVector(0, square, n);
    ExpectPoint(C3DPoint(n[0], n[1], n[2]), 0, 0, 0);
}

// A vector with no x and y comes out with exactly the bits the root and three divisions give,
// zero signs included, at every magnitude (squares that overflow or underflow among them).
TEST(UtilFuncs, UnitVectorAlongZHasTheBitsOfTheDivisions) {
    auto plain = [](const double* v, double* out) {
        const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (len == 0.0 || std::isnan(len)) {
            out[0] = out[1] = out[2] = 0.0;
            return;
        }
        for (int i = 0; i < 3; ++i) out[i] = v[i] / len;
    };
    auto check = [&](double x, double y, double z) {
        double v[3] = {x, y, z}, want[3];
        plain(v, want);
        CUtilFuncs::MakeUnitVector(v);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(std::memcmp(&v[i], &want[i], sizeof(double)), 0) << "component " << i << ": " << v[i]
                                                                          << " instead of " << want[i];
    };
    const double inf = std::numeric_limits<double>::infinity();
    const double rows[] = {1.0, -1.0, 2.0, -0.75, 3.0e-5, 7.123e100, 0x1p-500, -0x1p-500, 0x1.fffffffffffffp-501,
                           0x1p500, 0x1.0000000000001p500, 1e-160, 1e160, 1e-300, -1e300, 4.9e-324,
                           std::numeric_limits<double>::max(), 0.0, -0.0, inf, -inf, std::nan("")};
    const double zeros[][2] = {{0.0, 0.0}, {-0.0, 0.0}, {0.0, -0.0}, {-0.0, -0.0}};
    for (double z : rows)
        for (const auto& xy : zeros) {
            SCOPED_TRACE(testing::Message() << "z " << z << " x " << xy[0] << " y " << xy[1]);
            check(xy[0], xy[1], z);
        }
    // Magnitudes across the whole range the shortcut takes and beyond it, every mantissa kind.
    std::uint64_t bits = 0x9e3779b97f4a7c15ull;
    for (int i = 0; i < 200000; ++i) {
        bits = bits * 6364136223846793005ull + 1442695040888963407ull;
        const double z = std::ldexp(1.0 + static_cast<double>(bits >> 12) * 0x1p-52, static_cast<int>(bits % 1300) - 650);
        SCOPED_TRACE(testing::Message() << "z " << z);
        check(0.0, (bits & 1) ? -0.0 : 0.0, (bits & 2) ? -z : z);
        if (HasFailure()) break;
    }
}

TEST(UtilFuncs, SegmentIntersection) {
    struct Row {
        const char* label;
        double a[3], b[3], c[3], d[3], tol;
        int result;
        double dist, out[3];  // dist checked when >= 0
    } rows[] = {
        {"crossing", {0, 0, 0}, {2, 0, 0}, {1, -1, 0}, {1, 1, 0}, 1e-3, 1, 0, {1, 0, 0}},
        {"parallel", {0, 0, 0}, {2, 0, 0}, {0, 1, 0}, {2, 1, 0}, 1e-3, 0, -1, {0, 0, 0}},
        {"skew 0.5 apart", {0, 0, 0}, {2, 0, 0}, {1, -1, 0.5}, {1, 1, 0.5}, 0.1, 0, 0.5, {0, 0, 0}},
        {"skew within tol", {0, 0, 0}, {2, 0, 0}, {1, -1, 0.5}, {1, 1, 0.5}, 0.5, 1, 0.5, {1, 0, 0.5}},
        {"past the end of a-b", {0, 0, 0}, {2, 0, 0}, {3, -1, 0}, {3, 1, 0}, 1e-3, 0, 0, {0, 0, 0}},
        {"touching at an end", {0, 0, 0}, {2, 0, 0}, {2, 0, 0}, {2, 5, 0}, 1e-3, 1, 0, {2, 0, 0}},
        {"y-z plane", {0, 0, 0}, {0, 4, 4}, {0, 4, 0}, {0, 0, 4}, 1e-6, 1, 0, {0, 2, 2}},
        {"x-z plane", {0, 0, 0}, {4, 0, 4}, {4, 0, 0}, {0, 0, 4}, 1e-6, 1, 0, {2, 0, 2}},
        {"degenerate", {1, 1, 1}, {1, 1, 1}, {0, 0, 0}, {2, 2, 2}, 1e-3, 0, -1, {0, 0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        double dist = -99, out[3] = {9, 9, 9};
        EXPECT_EQ(CUtilFuncs::mathIntersectLine4PVX(r.a, r.b, r.c, r.d, r.tol, dist, out), r.result);
        if (r.dist >= 0) {
            EXPECT_NEAR(dist, r.dist, 1e-12);
        }
        ExpectPoint(C3DPoint(out[0], out[1], out[2]), r.out[0], r.out[1], r.out[2]);
    }
}

TEST(UtilFuncs, WindowSlope) {
    const int rows[][6] = {
        // x1, y1, x2, y2, angle, turned
        {0, 0, 10, 0, 0, 0},   {10, 0, 0, 0, 0, 1},      {0, 10, 0, 0, 900, 0},  {0, 0, 0, 10, 900, 1},
        {0, 10, 10, 0, 450, 0}, {10, 10, 0, 0, 3150, 1}, {0, 0, 10, 10, 3150, 0}, {0, 0, -10, 10, 450, 1},
        {0, 0, 1000, -577, 299, 0},  // tenths truncated, not rounded
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r[0] << "," << r[1] << ")->(" << r[2] << "," << r[3] << ")");
        int angle = -1;
        EXPECT_EQ(CUtilFuncs::GetSlope2Point(angle, r[0], r[1], r[2], r[3]), r[5]);
        EXPECT_EQ(angle, r[4]);
    }
}

TEST(UtilFuncs, ValueTextsAndFormats) {
    struct Row {
        double value;
        int width, precision, exponent;
        const char* text;
    } rows[] = {
        {1234.5, 8, 2, 0, " 1234.50"},     {123456.0, 8, 2, 0, "*****"},        {123456.0, 10, 2, 0, " 123456.00"},
        {1.5e6, 10, 2, 0, " 1.50e+006"},   {1e-20, 8, 2, 0, "    0.00"},        {-1234.5, 8, 2, 0, "-1234.50"},
        {-12345.0, 8, 2, 0, "*****"},      {9999.996, 8, 2, 0, "*****"},        {9999.994, 8, 2, 0, " 9999.99"},
        {1.25, 12, 3, 1, " 1.2500e+000"},  {1.25, 8, 3, 1, "   1.250"},         {2.0, 6, -1, 0, "     2"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.value << " w" << r.width << " p" << r.precision << " e" << r.exponent);
        EXPECT_STREQ(CUtilFuncs::ConvertValToFmtStr(r.value, r.width, r.precision, r.exponent), r.text);
    }
    // Any stored width, precision or value gives a bounded text and never a broken format.
    const int kInt = std::numeric_limits<int>::max();
    const double odd[][4] = {{1, 1e6, 2, 0}, {1, -5, 2, 0}, {1, 12, 1e5, 1}, {1e300, 64, 20, 0}, {-1e300, 100, 2, 1},
                             {NAN, 12, 2, 0}, {INFINITY, 12, 2, 1}, {1.7e308, double(kInt), -double(kInt), 0}};
    for (const auto& o : odd) {
        SCOPED_TRACE(testing::Message() << o[0] << " w" << o[1] << " p" << o[2]);
        const std::string t(CUtilFuncs::ConvertValToFmtStr(o[0], int(o[1]), int(o[2]), int(o[3])));
        EXPECT_FALSE(t.empty());
        EXPECT_LE(t.size(), size_t(CUtilFuncs::kMaxTextWidth + 8));
        EXPECT_EQ(t.find('%'), std::string::npos);
    }

    struct Fmt {
        int exponent, digits;
        const char *lead, *trail, *format;
        double value;
        const char* text;
    } fmts[] = {
        {0, 3, "", "", "%.3f", 1.5, "1.500"},          {1, 3, "", "", "%.3e", 1234.5, "1.234e+003"},
        {0, -4, " ", " ", " %.0f ", 2.4, " 2 "},
        {0, 5000, "", "", "%.20f", 0.5, "0.50000000000000000000"},
    };
    for (const Fmt& f : fmts) {
        SCOPED_TRACE(f.format);
        const CString fmt = CUtilFuncs::MakeNumberFormat(f.exponent, f.digits, f.lead, f.trail);
        EXPECT_STREQ(fmt, f.format);
        CString text;
        text.Format(fmt, f.value);
        EXPECT_STREQ(text, f.text);
    }
    EXPECT_EQ(CUtilFuncs::FormatNumber(1e308, 0, 1 << 30).GetLength(), 309 + 1 + CUtilFuncs::kMaxDigits);
}

TEST(UtilFuncs, ColourChannels) {
    UINT r, g, b;
    float fr, fg, fb;
    CUtilFuncs::GetRgb(RGB(12, 34, 56), r, g, b);
    CUtilFuncs::GetRgbF(0x0000FF, fr, fg, fb);
    EXPECT_EQ(r * 10000 + g * 100 + b, 123456u);
    EXPECT_FLOAT_EQ(fr, 1.0f) << "red from the low byte";
    EXPECT_FLOAT_EQ(fg + fb, 0.0f);
}
