// The graph windows: the world-to-pixel mapping, the ranges and colours of a mode-shape graph,
// its value labels, and the time function window's nearest-point pick. Expected values are
// worked by hand in the comments from the mapping px = trunc((x - mid) w / span) + centre.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

#include "module/graphs/CGraphWnd.h"
#include "module/graphs/CPVX2DGraphWnd.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "module/resources/PVXResources.h"
#include "platform/gdi/CRecordDC.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CUiDriver.h"

namespace {

using Points = std::vector<T_GRPH_D>;

void AddSeries(PVXGraphSeriesMap& map, UINT key, const Points& pts) {
    auto* p = new PVXGraphSeries;
    for (T_GRPH_D pt : pts) p->Add(pt);
    map.SetAt(key, p);
}

PVXGraphSeries Series(const Points& pts) {
    PVXGraphSeries s;
    for (T_GRPH_D pt : pts) s.Add(pt);
    return s;
}

class GraphWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        PVXRegisterResources();
        CUiDriver::Get().Reset();
    }
    void TearDown() override {
        FreePVXGraphSeriesMap(m_map);
        CUiDriver::Get().Reset();
    }
    PVXGraphSeriesMap m_map;
};

}  // namespace

TEST_F(GraphWndTest, WorldPointsMapOntoThePlotRectangle) {
    // Client 200 x 100: margins of 20 and 10 pixels, plot (20,10)-(180,90), w 160, h 80.
    const CRect plot = GraphPlotRect(CRect(0, 0, 200, 100));
    EXPECT_EQ(plot, CRect(20, 10, 180, 90));
    struct Row {
        const char* label;
        GraphRange range;
        double x, y;
        CPoint expected;
    } rows[] = {
        // (2 - 0) 160 / 8 = 40 + 100; -(5 - 5) 80 / 10 = 0 + 50.
        {"inside", {-4, 4, 0, 10}, 2, 5, CPoint(140, 50)},
        // -4 160 / 8 = -80 + 100; -(10 - 5) 80 / 10 = -40 + 50: the top left corner.
        {"corner", {-4, 4, 0, 10}, -4, 10, CPoint(20, 10)},
        // Zero x span counts as 1: 0.5 160 / 1 = 80 + 100.
        {"zero x range", {0, 0, 0, 10}, 0.5, 5, CPoint(180, 50)},
        // Truncated toward zero: -0.3 160 / 8 = -6 exactly; -0.31 -> -6.2 -> -6.
        {"truncation", {-4, 4, 0, 10}, -0.31, 5, CPoint(94, 50)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(GraphWorldToPixel(plot, r.range, r.x, r.y), r.expected);
        double x = 0, y = 0;
        GraphPixelToWorld(plot, r.range, r.expected, x, y);
        EXPECT_NEAR(x, r.x, std::fabs(r.range.x1 - r.range.x0 ? r.range.x1 - r.range.x0 : 1) / 160 + 1e-12);
        EXPECT_NEAR(y, r.y, 10.0 / 80 + 1e-12);
    }
}

TEST_F(GraphWndTest, SeriesSetRangesFromTheirCopiesAndTheScaleFactor) {
    struct Row {
        const char* label;
        std::vector<Points> series;
        double magnitude, x1, y0, y1;
        double lowX, highX;
    } rows[] = {
        // m = max(|-2|, |1|) = 2; x to = 2 x 1.5; y to = 6 x 1.2; y from the lowest y, 0.
        {"two series", {{{-2, 0}, {1, 3}}, {{0.5, 6}}}, 2, 3, 0, 7.2, -2, 1},
        // Every x below zero: the highest x is -1 (a "lowest double" of DBL_MIN would keep ~0).
        {"all negative", {{{-3, 1}, {-1, 2}}}, 3, 4.5, 1, 2.4, -3, -1},
        // One series at x = 0 only: a zero range, nothing divides by it.
        {"flat", {{{0, 0}, {0, 4}}}, 0, 0, 0, 4.8, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        UINT key = 1;
        for (const Points& pts : r.series) AddSeries(m_map, key++, pts);
        CPVX2DGraphWnd g;
        EXPECT_TRUE(g.SetGraphData(m_map));
        FreePVXGraphSeriesMap(m_map);  // the caller's arrays go: the graph keeps copies
        EXPECT_TRUE(g.HasData());
        EXPECT_DOUBLE_EQ(g.GetLargestMagnitude(), r.magnitude);
        EXPECT_DOUBLE_EQ(g.GetRange().x0, -r.x1);
        EXPECT_DOUBLE_EQ(g.GetRange().x1, r.x1);
        EXPECT_DOUBLE_EQ(g.GetRange().y0, r.y0);
        EXPECT_NEAR(g.GetRange().y1, r.y1, 1e-12);
        PVXGraphSeries* p = nullptr;
        ASSERT_TRUE(g.GetSeries().Lookup(g.GetLowSeries(), p));
        EXPECT_DOUBLE_EQ(p->GetAt(g.GetLowIndex()).x, r.lowX);
        ASSERT_TRUE(g.GetSeries().Lookup(g.GetHighSeries(), p));
        ASSERT_GE(g.GetHighIndex(), 0);
        EXPECT_DOUBLE_EQ(p->GetAt(g.GetHighIndex()).x, r.highX);

        // Scale 50: factor 100 / 50 = 2, the half-range twice the magnitude. A scale of 0 or
        // below (or not a number) is refused and the factor stays.
        struct Scale {
            double s;
            BOOL ok;
            double factor;
        } scales[] = {{50, TRUE, 2}, {0, FALSE, 2}, {-10, FALSE, 2}, {NAN, FALSE, 2}, {25, TRUE, 4}};
        for (const Scale& s : scales) {
            SCOPED_TRACE(s.s);
            EXPECT_EQ(g.SetScaleFactor(s.s), s.ok);
            EXPECT_DOUBLE_EQ(g.GetRangeFactor(), s.factor);
            EXPECT_DOUBLE_EQ(g.GetRange().x1, r.magnitude * s.factor);
            EXPECT_TRUE(std::isfinite(g.GetRange().x0));
        }
    }
}

TEST_F(GraphWndTest, SeriesTakeColoursByTheirPlaceInTheMapsOrder) {
    // Keys 1 to 6 all hash to bucket 0 (key >> 4) and iterate newest first: 6, 5, 4, 3, 2, 1.
    // So 6 red, 5 blue, 4 green, 3 magenta, 2 cyan and the sixth, key 1, 0x010101.
    for (UINT k = 1; k <= 6; ++k) AddSeries(m_map, k, {{0, 0}, {1, 1}});
    CPVX2DGraphWnd g;
    g.SetGraphData(m_map);
    const COLORREF expected[] = {RGB(1, 1, 1), RGB(0, 255, 255), RGB(255, 0, 255), RGB(0, 255, 0), RGB(0, 0, 255),
                                 RGB(255, 0, 0)};
    for (UINT k = 1; k <= 6; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(g.GetSeriesColor(k), expected[k - 1]);
    }
}

TEST_F(GraphWndTest, ValueLabelsFollowTheNumberOptions) {
    struct Row {
        const char* label;
        int decimals, exponent;
        const char* format;
        const char* low;
        const char* high;
        int xLow, xHigh;  // where the extremes are written
        UINT alignLow;    // TA_LEFT: reading right from its point, as long as the two do not meet
        Points a = {{0, 0}, {-2, 3}}, b = {{0, 0}, {1, 6}};  // the series
    } rows[] = {
        {"fixed", 3, 0, "%.3f", "-2.000", "1.000", 47, 126, TA_LEFT},
        // The runtime writes three exponent digits. Both labels are wider than the 79 px between
        // their points: they turn outward, 2 px off their points.
        {"exponent", 3, 1, "%.3e", "-2.000e+000", "1.000e+000", 45, 128, TA_RIGHT},
        {"no decimals", 0, 0, "%.0f", "-2", "1", 47, 126, TA_LEFT},
        {"levels both series share, once", 3, 0, "%.3f", "-2.000", "1.000", 47, 126, TA_LEFT, {{0, 0}, {-2, 3}, {-1, 6}},
         {{0, 0}, {1, 3}, {1, 6}}},
        // A graph of zeros: both extremes at the zero axis (x = 100), one label.
        {"zeros", 3, 0, "%.3f", "0.000", "0.000", 100, 100, TA_CENTER, {{0, 0}, {0, 3}, {0, 6}}, {}},
    };
    CPVX2DGraphWnd g;
    g.SetTexts("Title", "UX", "Level");
    const CRect client(0, 0, 200, 100);
    const CRect plot = GraphPlotRect(client);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        FreePVXGraphSeriesMap(m_map);
        AddSeries(m_map, 1, r.a);
        if (!r.b.empty()) AddSeries(m_map, 2, r.b);
        g.SetGraphData(m_map);
        T_PVX_DOPT_NUMBER_D numbers{};
        numbers.m_nDecimals = r.decimals;
        numbers.m_bExponent = r.exponent;
        numbers.m_bShowNumbers = 1;
        EXPECT_EQ(CPVX2DGraphWnd::LabelFormat(numbers), CString(r.format));

        CRecordDC dc;
        dc.Create();
        g.Draw(&dc, client, &numbers);
        std::vector<std::string> texts;
        for (const GdiRecord* t : dc.GetRecords("TextOut")) texts.push_back(t->text);
        // Title, axis label, the two extremes (one where they read alike), then each level of a
        // point but the first of its series ("%3.2lf"), once.
        std::vector<std::string> expected = {"Title", "UX", r.low, "6.00", "3.00"};
        if (std::string(r.high) != r.low) expected.push_back(r.high);
        std::vector<std::string> sorted = texts, want = expected;
        std::sort(sorted.begin(), sorted.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(sorted, want);
        for (const GdiRecord* t : dc.GetRecords("TextOut")) {
            // x range -3 ... 3 over 160 px: -2 -> trunc(-2 x 160 / 6) = -53 + 100 = 47; 1 -> 126.
            if (t->text == r.low) {
                EXPECT_EQ(t->args[0], r.xLow);
                EXPECT_EQ(t->textAlign & (TA_LEFT | TA_RIGHT | TA_CENTER), r.alignLow);
            }
            if (t->text == r.high) {
                EXPECT_EQ(t->args[0], r.xHigh);
            }
            if (t->text == r.low || t->text == r.high) {
                EXPECT_EQ(t->args[1], plot.bottom + 5);
            }
            if (t->text == "6.00") {
                EXPECT_EQ(t->args[0], 95);  // 5 px left of the zero axis
            }
        }
        numbers.m_bShowNumbers = 0;
        CRecordDC quiet;
        quiet.Create();
        g.Draw(&quiet, client, &numbers);
        EXPECT_EQ(quiet.Count("TextOut"), 2u) << "title and axis label only";
    }
}

TEST_F(GraphWndTest, AClickPicksThePointNearestInX) {
    struct Row {
        const char* label;
        Points pts;
        double x;
        int expected;
    } rows[] = {
        {"below the middle", {{0, 0}, {1, 0}, {2, 0}, {3, 0}}, 1.4, 1},
        {"above the middle", {{0, 0}, {1, 0}, {2, 0}, {3, 0}}, 1.6, 2},
        {"on a point", {{0, 0}, {1, 0}, {2, 0}, {3, 0}}, 2 + 1e-14, 2},
        {"one point", {{5, 0}}, -7, 0},
        {"two points, tie goes to the second", {{0, 0}, {1, 0}}, 0.5, 1},
        {"before the first", {{0, 0}, {1, 0}, {2, 0}}, -3, 0},
        {"after the last", {{0, 0}, {1, 0}, {2, 0}}, 9, 2},
        {"empty", {}, 1, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(CGraphWnd::FindNearest(Series(r.pts), r.x), r.expected);
    }

    // The window: plot (20,10)-(180,90) over x 0 ... 3; a click at pixel 100 + trunc-free
    // (1.4 - 1.5) 160 / 3 = -5.3 -> pixel 95 maps back to 1.5 - 5 x 3 / 160 = 1.406: point 1.
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    CComboBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 50, 100), &parent, 5));
    for (int i = 0; i < 4; ++i) list.AddString("step");
    CGraphWnd w;
    ASSERT_TRUE(w.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &parent, 6));
    w.SetSeries(Series({{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    w.SetRange(GraphRange{0, 3, -1, 1});
    w.SetPlotRect(GraphPlotRect(CRect(0, 0, 200, 100)));
    w.SetLinkedCtrl(&list);
    struct Click {
        const char* label;
        CPoint pt;
        int selected;
    } clicks[] = {{"on the plot", CPoint(95, 50), 1}, {"outside the plot", CPoint(5, 50), 1},
                  {"near the end", CPoint(179, 50), 3}};
    for (const Click& c : clicks) {
        SCOPED_TRACE(c.label);
        CUiDriver::Get().SendMouse(&w, WM_LBUTTONDOWN, c.pt, MK_LBUTTON);
        EXPECT_EQ(list.GetCurSel(), c.selected);
        EXPECT_EQ(w.GetSelectedIndex(), c.selected);
    }
    // The cursor line follows the mouse over the plot only.
    CUiDriver::Get().SendMouse(&w, WM_MOUSEMOVE, CPoint(60, 40));
    EXPECT_TRUE(w.IsCursorVisible());
    EXPECT_EQ(w.GetCursorPoint(), CPoint(60, 40));
    CUiDriver::Get().SendMouse(&w, WM_MOUSEMOVE, CPoint(190, 40));
    EXPECT_FALSE(w.IsCursorVisible());
    list.DestroyWindow();
    CUiDriver::Get().SendMouse(&w, WM_LBUTTONDOWN, CPoint(30, 50), MK_LBUTTON);
    EXPECT_EQ(w.GetSelectedIndex(), 0) << "a destroyed list is skipped, not followed";
    w.DestroyWindow();
    parent.DestroyWindow();
}
