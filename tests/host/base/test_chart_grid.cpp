// The host's chart (CMySRGraph) and record-browser grid (CTBBrowserWnd): what the chart paints
// where, and which part of the grid a point hits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "host/base/CGraphViewBase.h"
#include "host/base/CTBBrowserWnd.h"
#include "platform/gdi/CDC.h"

namespace {

TEST(ChartTest, PointsAndRanges) {
    const CRect client(0, 0, 600, 400);
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        const char* label;
        double x0, x1, y0, y1;  // axis ranges as set
        int nFallback;          // the axis drawn over 0 … 1 instead; -1 none
    } rows[] = {
        {"a plain range", 0.0, 20.0, 0.0, 0.1, -1},
        {"an empty x range", 5.0, 5.0, 0.0, 0.1, CMySRGraph::AXIS_X},
        {"a reversed y range", 0.0, 20.0, 0.1, 0.0, CMySRGraph::AXIS_Y},
        {"infinite bounds", -inf, inf, 0.0, 0.1, CMySRGraph::AXIS_X},
    };
    CMySRGraph unit;  // 0 … 1 on both axes: the fallback's picture
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CMySRGraph chart;
        chart.SetAxisRange(CMySRGraph::AXIS_X, r.x0, r.x1);
        chart.SetAxisRange(CMySRGraph::AXIS_Y, r.y0, r.y1);
        if (r.nFallback >= 0) {
            const CPoint expected = unit.ToPixel(client, 0.5, 0.5), got = chart.ToPixel(client, 0.5, 0.5);
            EXPECT_EQ(r.nFallback == CMySRGraph::AXIS_X ? expected.x : expected.y,
                      r.nFallback == CMySRGraph::AXIS_X ? got.x : got.y);
            continue;
        }
        // The ends of the ranges are the plot area's corners; the middle is its centre.
        const CRect plot = CMySRGraph::PlotRect(client);
        EXPECT_EQ(CPoint(plot.left, plot.bottom), chart.ToPixel(client, r.x0, r.y0));
        EXPECT_EQ(CPoint(plot.right, plot.top), chart.ToPixel(client, r.x1, r.y1));
        EXPECT_EQ(plot.CenterPoint(), chart.ToPixel(client, (r.x0 + r.x1) / 2, (r.y0 + r.y1) / 2));
    }
}

TEST(ChartTest, PaintsBackgroundGridMarkersAndClipsTheCurve) {
    const CRect client(0, 0, 600, 400);
    CMySRGraph chart;
    chart.SetAxisRange(CMySRGraph::AXIS_X, 0.0, 10.0);
    chart.SetAxisRange(CMySRGraph::AXIS_Y, 0.0, 1.0);
    chart.SetValue(0, 0, 2.0, 0.3, CMySRGraph::KIND_POINT);
    // A line from inside to far outside the x range: nothing of it beyond the plot area.
    chart.SetValue(0, 1, 7.0, 0.5, CMySRGraph::KIND_LINE);
    chart.SetValue(1, 1, 70.0, 0.5, CMySRGraph::KIND_LINE);
    CDC dc;
    ASSERT_TRUE(dc.CreateDisplayDC(client.Width(), client.Height()));
    chart.Draw(&dc, client);
    const CRect plot = CMySRGraph::PlotRect(client);
    const CPoint marker = chart.ToPixel(client, 2.0, 0.3);
    const CPoint onLine = chart.ToPixel(client, 8.0, 0.5);
    struct Probe {
        const char* label;
        CPoint at;
        COLORREF color;
    } probes[] = {
        {"the marker of series 0", marker, CMySRGraph::SeriesColor(0)},
        {"the line of series 1", onLine, CMySRGraph::SeriesColor(1)},
        {"the line clipped right of the plot", CPoint(plot.right + 10, onLine.y), RGB(255, 255, 255)},
        {"the background", CPoint(plot.left + 10, plot.top + 5), RGB(255, 255, 255)},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(p.label);
        EXPECT_EQ(p.color, dc.GetPixel(p.at));
    }
    // Five divisions: a vertical grid line within a pixel of a fifth of the width.
    int grid = 0;
    for (int dx = -1; dx <= 1; ++dx) grid += dc.GetPixel(plot.left + plot.Width() / 5 + dx, plot.top + 5) == RGB(0x98, 0x98, 0x98);
    EXPECT_EQ(1, grid);
}

// Ticks by hand: a fifth of the span rounded to 1, 2 or 5 x 10^k, its multiples inside the range.
TEST(ChartTest, TicksStandAtRoundValuesInsideTheRange) {
    const struct {
        double x0, x1;
        const char* ticks;
    } rows[] = {{0.0, 0.0556, "0.00 0.01 0.02 0.03 0.04 0.05"}, {0.0, 20.0, "0 5 10 15 20"},
                {0.0, 66.0, "0 10 20 30 40 50 60"}, {-0.3, 0.7, "-0.2 0.0 0.2 0.4 0.6"}, {5.0, 5.0, ""}};
    for (const auto& r : rows) {
        std::string ticks;
        for (const CMySRGraph::Tick& t : CMySRGraph::AxisTicks(r.x0, r.x1)) ticks.append(" ").append(t.text.GetString());
        EXPECT_EQ(ticks, *r.ticks ? std::string(" ") + r.ticks : "") << r.x0 << " ... " << r.x1;
    }
}

TEST(BrowserGridTest, HitsAndReadOnlyMode) {
    CTBBrowserWnd grid;
    grid.Initialize();
    grid.SetHeader({"No.", "Value"}, {40, 70});
    ASSERT_EQ(1, grid.AppendRow({"1", "0.05"}));
    ASSERT_EQ(2, grid.AppendRow({"2", "0.07", "dropped"}));
    EXPECT_STREQ("0.07", grid.GetValueRowCol(2, 2).GetString());
    EXPECT_STREQ("", grid.GetValueRowCol(2, 3).GetString());
    // Rows are 20 pixels high, the header first; column 1 spans 0 … 40, column 2 40 … 110.
    struct Row {
        const char* label;
        CPoint point;
        CTBBrowserWnd::EHit hit;
        int row, col;
    } rows[] = {
        {"header of column 1", CPoint(5, 5), CTBBrowserWnd::HIT_CELL, 0, 1},
        {"cell (2, 2)", CPoint(75, 45), CTBBrowserWnd::HIT_CELL, 2, 2},
        {"border right of column 1", CPoint(42, 25), CTBBrowserWnd::HIT_BORDER, 1, 1},
        {"right of the last column", CPoint(300, 25), CTBBrowserWnd::HIT_NOTHING, 0, 0},
        {"below the last row", CPoint(10, 65), CTBBrowserWnd::HIT_NOTHING, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        int row = -1, col = -1;
        EXPECT_EQ(r.hit, grid.HitTest(r.point, row, col));
        EXPECT_EQ(r.row, row);
        EXPECT_EQ(r.col, col);
    }
    grid.SetModeDisplayOnly(1);
    EXPECT_EQ(-1, grid.AppendRow({"3", "0.1"}));
    EXPECT_FALSE(grid.SetValueRowCol(1, 2, "9"));
    EXPECT_EQ(2, grid.GetRowCount());
    grid.SetModeDisplayOnly(0);
    EXPECT_TRUE(grid.SetValueRowCol(1, 2, "9"));
}

}  // namespace
