// Colour scale: level map, colour tables, rank lookups, knots, percent map and global range.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

#include "module/contour/CContourEngine.h"
#include "module/model/I_PVXModel.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

::testing::AssertionResult SameColor(COLORREF got, int r, int g, int b) {
    if (got == RGB(r, g, b)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got RGB(" << int(GetRValue(got)) << "," << int(GetGValue(got)) << ","
                                         << int(GetBValue(got)) << "), want RGB(" << r << "," << g << "," << b << ")";
}

class ProbeEngine : public CContourEngine {
public:
    using CContourEngine::FindMinMax;
};

// The rank rules as plain scans over the levels, to check the searches against.
int ScanUpper(const CContourEngine& e, double v) {
    const int n = e.m_nNumColor;
    if (v - e.m_dRankMap[0] < -1e-64) return 0;
    for (int i = 1; i < n; i++) {
        if (e.m_dRankMap[i] - v > 1e-64) return i;
        if (std::fabs(e.m_dRankMap[i] - v) < 1e-64) return -i;
    }
    return n - 1;
}
int ScanLower(const CContourEngine& e, double v) {
    const int n = e.m_nNumColor;
    if (v - e.m_dRankMap[n - 1] > 1e-64) return n - 1;
    for (int i = n - 2; i >= 0; i--) {
        if (e.m_dRankMap[i] - v < -1e-64) return i;
        if (std::fabs(e.m_dRankMap[i] - v) < 1e-64) return -i;
    }
    return 0;
}
int ScanPct(const CContourEngine& e, double v) {
    if (v < e.m_dRankMap[0]) return -10;
    for (int i = 1; i < e.m_nNumColor; i++) {
        if (e.m_dRankMap[i] > v) return i;
        if (e.m_dRankMap[i] == v) return -i;
    }
    return -10;
}

}  // namespace

TEST(ContourEngine, DefaultScaleLevelsAndTableColours) {
    CContourEngine e;
    ASSERT_EQ(e.m_nNumColor, 12);
    EXPECT_EQ(e.m_nColorTableKind, 1);
    for (int i = 0; i < 12; i++) {
        // Levels 5 and 6 are equally near zero; the first of them becomes exactly zero.
        if (i == 5)
            EXPECT_EQ(e.m_dRankMap[i], 0.0);
        else
            EXPECT_DOUBLE_EQ(e.m_dRankMap[i], -1.0 + i * (2.0 / 11.0)) << "level " << i;
    }
    CContourEngine noZero(0.0, 10.0);  // |min| not above 1e-10: no snapping
    EXPECT_DOUBLE_EQ(noZero.m_dRankMap[5], 50.0 / 11.0);

    // Twelve ranks take the key colours and the 2/5 points between them, rank 11 the top key.
    static const int kWant[4][12][3] = {
        {{0, 0, 255}, {0, 102, 255}, {0, 255, 255}, {0, 255, 153}, {0, 255, 0}, {102, 255, 0},
         {255, 255, 0}, {255, 153, 0}, {255, 0, 0}, {255, 0, 102}, {255, 0, 255}, {170, 0, 170}},
        {{0, 0, 255}, {0, 102, 255}, {0, 255, 255}, {0, 255, 153}, {0, 255, 0}, {68, 255, 0},
         {170, 255, 0}, {204, 255, 0}, {255, 255, 0}, {255, 205, 0}, {255, 127, 0}, {255, 0, 0}},
        {{0, 255, 0}, {0, 255, 68}, {0, 255, 170}, {0, 221, 204}, {0, 170, 255}, {0, 102, 255},
         {0, 0, 255}, {68, 0, 255}, {170, 0, 255}, {204, 0, 221}, {255, 0, 170}, {255, 0, 0}},
        {{255, 255, 255}, {239, 239, 239}, {212, 212, 212}, {196, 196, 196}, {170, 170, 170}, {154, 154, 154},
         {127, 127, 127}, {111, 111, 111}, {85, 85, 85}, {69, 69, 69}, {42, 42, 42}, {0, 0, 0}},
    };
    for (int k = 0; k < 4; k++) {
        e.m_nColorTableKind = k;
        for (int r = 0; r < 12; r++)
            EXPECT_TRUE(SameColor(e.GetRankColor(r), kWant[k][r][0], kWant[k][r][1], kWant[k][r][2]))
                << "table " << k << " rank " << r;
    }
    e.m_nColorTableKind = 0;  // 1/5 points of table 0
    EXPECT_TRUE(SameColor(e.GetSerialColor(6), 0, 51, 255));
    EXPECT_TRUE(SameColor(e.GetSerialColor(11), 238, 0, 238));
    e.m_nColorTableKind = 3;  // (0-42)/5 = -8.4 truncates to -8 before the multiplication
    EXPECT_TRUE(SameColor(e.GetSerialColor(29), 10, 10, 10));
}

TEST(ContourEngine, RankEntriesAndIndexBounds) {
    struct Row {
        int n, rank, entry;
    };
    static const Row kRows[] = {{6, 2, 2},    {6, 5, 30},   {12, 1, 12},  {12, 9, 16},  {12, 11, 30},
                                {18, 0, 6},   {18, 14, 22}, {18, 17, 30}, {24, 5, 7},   {24, 22, 17},
                                {24, 23, 30}, {10, 3, 30}};
    CContourEngine e;
    e.m_nColorTableKind = 0;
    for (const Row& row : kRows) {
        e.m_nNumColor = row.n;
        e.MakeRankMap();
        EXPECT_EQ(e.GetRankColor(row.rank), e.GetSerialColor(row.entry)) << "N " << row.n << " rank " << row.rank;
    }
    // Ranks, entries and table kinds outside the tables take the nearest valid one.
    EXPECT_EQ(e.GetRankColor(-4), e.GetRankColor(0));
    EXPECT_EQ(e.GetRankColor(1000), e.GetRankColor(9));
    EXPECT_EQ(e.GetSerialColor(31), e.GetSerialColor(30));
    e.SetSerialColor(31, RGB(1, 2, 3));
    EXPECT_NE(e.GetSerialColor(30), RGB(1, 2, 3));
    e.m_nColorTableKind = 9;
    EXPECT_EQ(e.GetSerialColor(0), RGB(255, 255, 255));
    // More than 30 colours are held to 30, hue mode to at least 2.
    e.m_nColorTableKind = 1;
    e.SetHUEColorMode(45);
    EXPECT_EQ(e.m_nNumColor, 30);
    EXPECT_EQ(e.m_dRankMap[29], 1.0);
    e.SetHUEColorMode(1);
    EXPECT_EQ(e.m_nNumColor, 2);
    e.m_nNumColor = 64;  // set behind the engine's back: lookups stay inside the map
    EXPECT_EQ(e.GetUpperRank(5.0), 29);
    EXPECT_EQ(e.GetLowerRank(5.0), 29);
    // Below level 0 and above level N-1 the gradient takes the end colours.
    CContourEngine g;
    EXPECT_EQ(g.GetValueColorGrad(-5.0), g.GetRankColor(0));
    EXPECT_EQ(g.GetValueColorGrad(5.0), g.GetRankColor(11));
    EXPECT_EQ(g.GetValueHalfColorGrad(5.0), RGB(127, 0, 0));
    EXPECT_EQ(g.GetValueColorGrad(kNaN), g.GetRankColor(10));
}

TEST(ContourEngine, ReversedAndHueColours) {
    CContourEngine e(-10.0, 5.0);
    EXPECT_EQ(e.m_bMinDominant, 1);
    e.m_nColorTableKind = 0;
    EXPECT_TRUE(SameColor(e.GetSerialColor(0), 170, 0, 170));
    EXPECT_TRUE(SameColor(e.GetSerialColor(2), 255, 0, 0));
    EXPECT_TRUE(SameColor(e.GetSerialColor(30), 0, 0, 255));
    e.m_bReverseColor = 1;  // reversing a reversed scale restores the normal order
    e.MakeRankMap();
    EXPECT_TRUE(SameColor(e.GetSerialColor(0), 0, 0, 255));

    CContourEngine h;
    h.SetHUEColorMode(12);
    EXPECT_EQ(h.GetSerialColor(0), h.GetSerialColor(1));   // t = 0 twice
    EXPECT_TRUE(SameColor(h.GetRankColor(1), 0, 0, 255));   // P6 of kind 1
    EXPECT_TRUE(SameColor(h.GetRankColor(11), 255, 0, 0));  // P0
    EXPECT_TRUE(SameColor(h.GetRankColor(4), 0, 255, 28));  // t = 0.3: 0.8 from P5 to P4, normalised
    h.m_nColorTableKind = 3;
    EXPECT_TRUE(SameColor(h.GetRankColor(5), 139, 139, 139));  // 255 x 6/11
    h.m_bReverseColor = 1;
    h.MakeRankMap();
    EXPECT_TRUE(SameColor(h.GetRankColor(5), 115, 115, 115));  // 255 x 5/11
    h.m_nColorTableKind = 1;
    EXPECT_TRUE(SameColor(h.GetRankColor(1), 255, 0, 0));
    h.SetRGBColorMode();
    EXPECT_EQ(h.GetRankColor(11), h.GetSerialColor(30));
}

TEST(ContourEngine, RankLookupsOnBetweenBelowAndAboveLevels) {
    CContourEngine e;
    const double* L = e.m_dRankMap;
    struct Row {
        const char* what;
        double v;
        int upper, lower;
    };
    const Row kRows[] = {
        {"on level 3", L[3], -3, -3},          {"between 3 and 4", 0.5 * (L[3] + L[4]), 4, 3},
        {"on level 0", L[0], 1, 0},            {"on the top level", L[11], -11, 10},
        {"below level 0", -7.0, 0, 0},         {"above the top", 7.0, 11, 11},
        {"within 1e-64 of zero", 1e-70, -5, -5}, {"beyond the tolerance", 1e-60, 6, 5},
        {"not a number", kNaN, 11, 0},
    };
    for (const Row& row : kRows) {
        EXPECT_EQ(e.GetUpperRank(row.v), row.upper) << row.what;
        EXPECT_EQ(e.GetLowerRank(row.v), row.lower) << row.what;
    }
    EXPECT_EQ(e.GetValueColor(L[3]), e.GetRankColor(3));
    e.m_nFillStyle = 1;  // lines only with a single colour
    e.m_bSingleLineColor = 1;
    EXPECT_EQ(e.GetValueColor(0.3), RGB(0, 120, 0));
    // A quarter of the way from level 3 (0,255,153) to level 4 (0,255,0), and at half intensity.
    const double v = L[3] + 0.25 * (L[4] - L[3]);
    EXPECT_TRUE(SameColor(e.GetValueColorGrad(v), 0, 255, 115));
    EXPECT_TRUE(SameColor(e.GetValueHalfColorGrad(v), 0, 127, 57));
    EXPECT_TRUE(SameColor(e.GetValueHalfColorGrad(L[3]), 0, 127, 76));
}

TEST(ContourEngine, SearchesAgreeWithPlainScans) {
    struct Map {
        const char* what;
        int n;
        double lo, hi;
        std::vector<double> imposed;
    };
    const std::vector<Map> kMaps = {
        {"12 levels", 12, -1, 1, {}},       {"two levels", 2, -1, 1, {}},     {"24 levels", 24, 0, 100, {}},
        {"tiny scale", 6, -1e-63, 1e-63, {}},  // levels 4e-64 apart: the tolerance decides
        {"descending", 6, 2, -2, {}},
        {"repeated", 6, 0, 1, {-1, -1, 0, 0, 0, 2}},
        {"unordered", 6, 0, 1, {0, 2, -1, 1, -2, 0.5}},
    };
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> spread(-1.5, 1.5);
    static const double kNudge[] = {0.0, 5e-65, -5e-65, 1e-64, -1e-64, 2e-64};
    for (const Map& m : kMaps) {
        SCOPED_TRACE(m.what);
        CContourEngine e;
        e.m_nNumColor = m.n;
        e.MakeRankMap(m.lo, m.hi);
        if (!m.imposed.empty()) {
            CArray<double, double> g;
            for (double x : m.imposed) g.Add(x);
            e.MakeGlobalRange(1, &g);
        }
        const double scale = std::fabs(m.hi) > std::fabs(m.lo) ? std::fabs(m.hi) : std::fabs(m.lo);
        // Colours of values one after the other, against the colour of each value's scanned rank.
        CContourEngine::ValueColors colors(e);
        auto colorOf = [&](double v) { return e.GetRankColor(std::abs(ScanUpper(e, v))); };
        for (int i = 0; i < 3000; i++) {
            const double v = (i % 2) ? e.m_dRankMap[i / 2 % m.n] + kNudge[i / 7 % 6] : spread(rng) * scale;
            ASSERT_EQ(e.GetUpperRank(v), ScanUpper(e, v)) << v;
            ASSERT_EQ(e.GetLowerRank(v), ScanLower(e, v)) << v;
            ASSERT_EQ(e.GetUpperRank4PctRank(v), ScanPct(e, v)) << v;
            ASSERT_EQ(colors(v), colorOf(v)) << v;
        }
        // Slow sweeps up and down, and each level approached within the tolerance from both sides.
        for (int i = -1600; i <= 1600; i++) {
            const double v = scale * (1.2 - std::abs(i) / 666.0);
            ASSERT_EQ(colors(v), colorOf(v)) << v;
        }
        for (int k = 0; k < m.n; k++)
            for (double d : {-2e-64, -1e-64, -5e-65, 0.0, 5e-65, 1e-64, 2e-64, 1e-64, 0.0, -1e-64}) {
                const double v = e.m_dRankMap[k] + d;
                ASSERT_EQ(colors(v), colorOf(v)) << v;
            }
        // Values no level comparison can place.
        for (double v : {std::nan(""), HUGE_VAL, -HUGE_VAL, DBL_MAX, -DBL_MAX}) {
            ASSERT_EQ(e.GetUpperRank(v), ScanUpper(e, v)) << v;
            ASSERT_EQ(e.GetLowerRank(v), ScanLower(e, v)) << v;
            ASSERT_EQ(colors(v), colorOf(v)) << v;
            ASSERT_EQ(colors(0.0), colorOf(0.0));
        }
    }
}

TEST(ContourEngine, CustomKnots) {
    CContourEngine e;
    EXPECT_TRUE(e.InsertKnot(0, -2.0));  // below the minimum: widens the lower end
    EXPECT_TRUE(e.InsertKnot(5, 0.0));
    EXPECT_TRUE(e.InsertKnot(9, 0.4));
    EXPECT_TRUE(e.InsertKnot(9, 0.5));  // same rank: replaced
    e.MakeRankMap();
    EXPECT_EQ(e.m_bLowerWidened, 1);
    const double want[12] = {-2.0, -1.6, -1.2, -0.8, -0.4, 0.0, 0.125, 0.25, 0.375, 0.5, 0.75, 1.0};
    for (int i = 0; i < 12; i++) EXPECT_DOUBLE_EQ(e.m_dRankMap[i], want[i]) << "level " << i;
    EXPECT_EQ(e.GetMinRangeCustomValue(), -2.0);
    EXPECT_FALSE(e.IsMaxRangeCustomValue());
    EXPECT_FALSE(e.InsertKnot(30, 0.0));
    EXPECT_FALSE(e.InsertKnot(-1, 0.0));

    struct Valid {
        int rank;
        double v;
        BOOL ok;
    };
    static const Valid kValid[] = {{0, -3.0, FALSE}, {11, 2.0, FALSE}, {40, 0.0, FALSE}, {3, -1.0, TRUE},
                                   {3, 0.0, FALSE},  {7, 0.2, TRUE},   {9, 0.9, TRUE},   {10, 1.0, FALSE}};
    for (const Valid& row : kValid) EXPECT_EQ(e.IsValidKnot(row.rank, row.v), row.ok) << row.rank << " " << row.v;
    e.DeleteKnot(5);
    e.DeleteKnot(6);
    EXPECT_EQ(e.m_arrKnots.GetSize(), 2);

    // Knots that narrow the range or lie outside it are all discarded at the next build.
    static const RankMapKnot_tag kBad[] = {{4, -2.0}, {7, 1.5}, {0, -0.5}, {11, 0.5}};
    for (const RankMapKnot_tag& bad : kBad) {
        CContourEngine b;
        b.InsertKnot(3, -0.2);
        b.InsertKnot(bad.rank, bad.value);
        b.MakeRankMap();
        EXPECT_EQ(b.m_arrKnots.GetSize(), 0) << "knot " << bad.rank;
        EXPECT_EQ(b.m_dRankMap[5], 0.0);
    }
    // Knots left beyond a smaller N take no part and write nothing past the map.
    CContourEngine f;
    f.m_nNumColor = 24;
    f.MakeRankMap();
    f.InsertKnot(20, 0.5);
    f.m_nNumColor = 12;
    f.MakeRankMap();
    EXPECT_DOUBLE_EQ(f.m_dRankMap[10], -1.0 + 10 * (2.0 / 11.0));

    CContourEngine a;  // the inner levels nearest the bounds become knots
    a.SetActiveContourRange(1, 1, -0.5, 1, 0.5);
    ASSERT_EQ(a.m_arrKnots.GetSize(), 2);
    EXPECT_EQ(a.m_arrKnots[0].rank, 3);
    EXPECT_EQ(a.m_arrKnots[1].rank, 8);
    EXPECT_DOUBLE_EQ(a.m_dRankMap[4], -0.3);
    EXPECT_DOUBLE_EQ(a.m_dRankMap[10], 0.5 + 1.0 / 3);
}

TEST(ContourEngine, PercentStatistics) {
    CContourEngine e;
    e.AddPecentRankMapData(0.05, 1.0);  // band 6
    e.AddPecentRankMapData(-1.0, 3.0);  // level 0 belongs to band 1
    e.AddPecentRankMapData(1.0, 4.0);   // the top level to band 11
    e.AddPecentRankMapData(-5.0, 9.0);  // outside the levels: ignored
    e.AddPecentRankMapData(1.5, 9.0);
    EXPECT_EQ(e.m_dPctTotal, 8.0);
    e.FinishPecentRankMapData();
    EXPECT_DOUBLE_EQ(e.m_dPctRankMap[6], 12.5);
    EXPECT_DOUBLE_EQ(e.m_dPctRankMap[1], 37.5);
    EXPECT_DOUBLE_EQ(e.m_dPctRankMap[11], 50.0);
    // Weights summing to zero leave the sums as they are.
    e.ClearPecentRankMap();
    e.AddPecentRankMapData(0.05, 2.0);
    e.AddPecentRankMapData(0.5, -2.0);
    e.FinishPecentRankMapData();
    EXPECT_EQ(e.m_dPctRankMap[6], 2.0);
    EXPECT_EQ(e.m_dPctRankMap[9], -2.0);
    EXPECT_EQ(e.GetSeqPecentRankByValue(0.0), 5);
    EXPECT_EQ(e.GetSeqPecentRankByValue(1.01), -10);
}

TEST(ContourEngine, GlobalRange) {
    CContourEngine e;
    CArray<double, double> levels;
    for (int i = 0; i < 12; i++) levels.Add(2.0 * i);
    e.InsertKnot(4, -0.5);
    e.MakeGlobalRange(1, &levels);
    EXPECT_EQ(e.m_bGlobalRange, 1);
    EXPECT_EQ(e.m_dGlobalMax, 22.0);
    EXPECT_EQ(e.m_arrKnots.GetSize(), 0);  // imposed levels discard the knots
    EXPECT_EQ(e.m_dRankMap[3], 6.0);
    EXPECT_EQ(e.GetUpperRank(5.0), 3);
    CArray<double> copy;
    e.GetGlobalRange(&copy);
    EXPECT_EQ(copy.GetSize(), 12);
    e.MakeRankMap(-3.0, 3.0);  // stays while N matches
    e.MakeGlobalRange(1, nullptr);
    EXPECT_EQ(e.m_dRankMap[1], 2.0);
    e.m_nNumColor = 6;  // the first build with another N drops it
    e.MakeRankMap();
    EXPECT_EQ(e.m_bGlobalRange, 0);
    EXPECT_EQ(e.m_arrGlobalRange.GetSize(), 0);
    EXPECT_EQ(e.m_dRankMap[5], 3.0);

    CContourEngine f;
    f.MakeGlobalRange(1, &levels);
    f.ResetGlobalRange();  // the switch at once, the list with the next build
    EXPECT_EQ(f.m_bGlobalRange, 0);
    EXPECT_EQ(f.m_arrGlobalRange.GetSize(), 12);
    f.MakeRankMap();
    EXPECT_EQ(f.m_arrGlobalRange.GetSize(), 0);
    f.MakeGlobalRange(1, &levels);
    f.MakeGlobalRange(0, nullptr);
    EXPECT_EQ(f.m_dRankMap[5], 0.0);

    struct Row {
        int kind, contourOn, loadType, stays;
    };
    static const Row kRows[] = {{1, 1, 17, 0}, {1, 1, 24, 0}, {1, 1, 18, 1}, {1, 0, 22, 1}, {0, 1, 22, 1}};
    for (const Row& row : kRows) {
        CContourEngine g;
        g.MakeGlobalRange(1, &levels);
        g.ResetGlobalRagneBy(row.kind, row.contourOn, row.loadType);
        EXPECT_EQ(g.m_bGlobalRange, row.stays) << row.kind << "/" << row.contourOn << "/" << row.loadType;

        // The exported form reads the same switch and load type from the model.
        I_PVXModel model;
        model.m_bContour = row.contourOn;
        model.m_nLoadType = static_cast<UINT>(row.loadType);
        CContourEngine h;
        h.MakeGlobalRange(1, &levels);
        h.ResetGlobalRagneBy(&model, row.kind);
        EXPECT_EQ(h.m_bGlobalRange, row.stays) << "model " << row.kind << "/" << row.contourOn << "/" << row.loadType;
    }
    CContourEngine n;
    n.MakeGlobalRange(1, &levels);
    n.ResetGlobalRagneBy(static_cast<I_PVXModel*>(nullptr), 1);
    EXPECT_EQ(n.m_bGlobalRange, 1);
}

TEST(ContourEngine, ResetsLockFrameValueAndExtrude) {
    CContourEngine e;
    e.SetLegendRangeLock(1);
    e.MakeRankMap(0.0, 50.0);
    EXPECT_EQ(e.m_dMaxValue, 1.0);
    e.SetLegendRangeLock(0);
    e.m_dContourFactor = 2.5;
    e.m_nNumColor = 18;
    e.m_nColorTableKind = 3;
    e.ResetRankMapforDGN();  // keeps N 18 and the table
    EXPECT_EQ(e.m_nNumColor, 18);
    EXPECT_EQ(e.m_nColorTableKind, 3);
    e.ResetContourEngine();  // keeps the factor only
    EXPECT_EQ(e.m_nNumColor, 12);
    EXPECT_EQ(e.m_nColorTableKind, 1);
    EXPECT_EQ(e.m_dContourFactor, 2.5);

    CContourEngine same(2.0, 10.0), across(-1.0, 1.0);
    EXPECT_DOUBLE_EQ(same.GetSubFrameValue(10.0, 0.5), 6.0);
    EXPECT_DOUBLE_EQ(across.GetSubFrameValue(1.0, 0.5), 0.5);

    CContourEngine::SetModelExtentSource(nullptr);
    e.MakeRankMap(-1.0, 1.0);
    EXPECT_EQ(e.m_dExtrudeAdjustFactor, 0.0);  // no model on show
    CContourEngine::SetModelExtentSource([](double* extent) { *extent = 13.0; return 1; });
    e.MakeRankMap(-2.0, 4.0);
    EXPECT_DOUBLE_EQ(e.m_dExtrudeAdjustFactor, 0.25);
    e.MakeRankMap(0.0, 0.0);
    EXPECT_EQ(e.m_dExtrudeAdjustFactor, 0.0);
    CContourEngine::SetModelExtentSource(nullptr);
}

TEST(ContourEngine, AssignmentAndListMode) {
    CArray<CString, const CString&> names;
    CArray<double, const double&> values;
    CContourEngine empty(names, values);  // an empty list gives the default scale
    EXPECT_EQ(empty.m_dRankMap[5], 0.0);
    for (int i = 1; i <= 4; i++) {
        names.Add("state");
        values.Add(i);
    }
    CContourEngine list(names, values);
    EXPECT_EQ(list.m_bListMode, 1);
    EXPECT_EQ(list.m_nNumColor, 5);   // one band per value
    EXPECT_EQ(list.m_dRankMap[2], 2.5);
    list.SetKillCustomRnakMapKnot(0);
    list.MakeRankMap(names, values);  // the list places the levels: no knots are kept
    EXPECT_EQ(list.m_arrKnots.GetSize(), 0);

    CContourEngine src(-4.0, 8.0);
    src.m_crElemEdge = RGB(3, 4, 5);
    src.InsertKnot(4, 1.0);
    src.MakeRankMap();
    list = src;
    EXPECT_EQ(list.m_bListMode, 1);  // the target keeps its own list flag
    EXPECT_EQ(list.m_crElemEdge, RGB(3, 4, 5));
    EXPECT_EQ(list.m_bHueColorMode, 0);
    for (int i = 0; i < 12; i++) EXPECT_EQ(list.m_dRankMap[i], src.m_dRankMap[i]);
    EXPECT_EQ(list.GetUpperRank(1.0), src.GetUpperRank(1.0));
    src.DeleteKnot(4);  // a deep copy
    EXPECT_EQ(list.m_arrKnots.GetSize(), 1);
    list.MakeRankMap(0.0, 1.0);  // a range change leaves list mode through a full reset
    EXPECT_EQ(list.m_bListMode, 0);
    EXPECT_EQ(list.m_nNumColor, 12);
}

TEST(ContourEngine, ListModeGivesEachListedValueItsOwnBand) {
    // The list 1..4 named A..D: four bands, N = 5. Each value lies halfway between its
    // neighbours' levels: levels 0.5, 1.5, 2.5, 3.5, 4.5, so value k lies inside band k, whose
    // colour is rank k's and whose legend name is name k - 1.
    CArray<CString, const CString&> names;
    CArray<double, const double&> values;
    const char* const kNames[] = {"A", "B", "C", "D"};
    for (int i = 0; i < 4; i++) {
        names.Add(kNames[i]);
        values.Add(i + 1.0);
    }
    const double kLevels[] = {0.5, 1.5, 2.5, 3.5, 4.5};
    CContourEngine byCtor(names, values);
    CContourEngine byMap(-7.0, 9.0);
    byMap.InsertKnot(3, 0.0);  // knots of the old scale do not move the list's levels
    byMap.MakeRankMap(names, values);
    for (CContourEngine* e : {&byCtor, &byMap}) {
        SCOPED_TRACE(e == &byCtor ? "list constructor" : "list MakeRankMap");
        ASSERT_EQ(e->m_nNumColor, 5);
        for (int i = 0; i < 5; i++) EXPECT_DOUBLE_EQ(e->m_dRankMap[i], kLevels[i]) << "level " << i;
        EXPECT_EQ(e->m_dMinValue, 1.0);
        EXPECT_EQ(e->m_dMaxValue, 4.0);
        e->ClearPecentRankMap();
        for (int k = 1; k <= 4; k++) {
            SCOPED_TRACE(kNames[k - 1]);
            EXPECT_EQ(e->GetUpperRank(k), k) << "inside band k, on no level";
            EXPECT_EQ(e->GetValueColor(k), e->GetRankColor(k));
            EXPECT_EQ(e->m_arrListName[k - 1], CString(kNames[k - 1])) << "the name band k shows";
            for (int j = 1; j < k; j++) EXPECT_NE(e->GetRankColor(k), e->GetRankColor(j)) << "bands " << j << ", " << k;
            e->AddPecentRankMapData(k, k);
        }
        e->FinishPecentRankMapData();
        // Weights 1..4 of a total of 10 land one per band.
        for (int k = 1; k <= 4; k++) EXPECT_DOUBLE_EQ(e->m_dPctRankMap[k], 10.0 * k);
        // A dialog changing N cannot unhook the bands from the list.
        e->m_nNumColor = 12;
        e->MakeRankMap();
        EXPECT_EQ(e->m_nNumColor, 5);
    }

    // One value: a single band a unit wide around it. Thirty values: the first 29 fit.
    CArray<CString, const CString&> one;
    CArray<double, const double&> oneValue;
    one.Add("only");
    oneValue.Add(2.0);
    CContourEngine single(one, oneValue);
    EXPECT_EQ(single.m_nNumColor, 2);
    EXPECT_DOUBLE_EQ(single.m_dRankMap[0], 1.5);
    EXPECT_DOUBLE_EQ(single.m_dRankMap[1], 2.5);
    EXPECT_EQ(single.GetUpperRank(2.0), 1);
    CArray<double, const double&> many;
    for (int i = 0; i < 30; i++) many.Add(i);
    CContourEngine full(names, many);
    EXPECT_EQ(full.m_nNumColor, 30);
    EXPECT_DOUBLE_EQ(full.m_dRankMap[29], 28.5);  // value 28 lies in band 29, the last
    EXPECT_EQ(full.GetUpperRank(28.0), 29);
}

TEST(ContourEngine, FindMinMaxOrdersCornersAndEdges) {
    struct Row {
        double w[3];
        int order[3];
        unsigned keys[3];  // keys 10, 11, 12 name edges 0-1, 1-2, 2-0
    };
    static const Row kRows[] = {
        {{1, 2, 3}, {2, 1, 0}, {11, 10, 12}}, {{1, 3, 2}, {1, 2, 0}, {11, 12, 10}}, {{2, 3, 1}, {1, 0, 2}, {10, 12, 11}},
        {{2, 1, 3}, {2, 0, 1}, {12, 10, 11}}, {{3, 1, 2}, {0, 2, 1}, {12, 11, 10}}, {{3, 2, 1}, {0, 1, 2}, {10, 11, 12}},
        {{5, 5, 1}, {1, 0, 2}, {10, 12, 11}},  // equal values: the higher index counts as larger
    };
    ProbeEngine e;
    for (const Row& row : kRows) {
        double w[3] = {row.w[0], row.w[1], row.w[2]};
        int order[3];
        unsigned keys[3] = {10, 11, 12};
        e.FindMinMax(w, order, keys);
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(order[i], row.order[i]) << row.w[0] << "," << row.w[1] << "," << row.w[2];
            EXPECT_EQ(keys[i], row.keys[i]) << row.w[0] << "," << row.w[1] << "," << row.w[2];
        }
    }
}
