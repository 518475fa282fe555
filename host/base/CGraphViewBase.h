// CMySRGraph and CGraphViewBase: the host's x-y chart and the child window that shows it.
//
// CMySRGraph keeps the chart's data and look: points by series (each point with its index in
// the series, x, y and a kind: 1 a marker, 2 a point of a line through the series' points in
// index order), the titles of the x axis (0) and the y axis (1), each axis's range, the font
// face of its texts, the background and the grid colour. Draw paints it into any device
// context: background, grid with five divisions per axis and their values ("%g"), the frame,
// the axis titles (the y title turned upright), then the series clipped to the plot area, the
// lines before the markers.
// An axis whose range is empty or not finite is drawn over 0 … 1 instead.
//
// CGraphViewBase is the chart's window: made as a child of a dialog, it paints the chart it is
// given whenever it is painted, so the window's surface holds the picture.
//
//     CMySRGraph chart;
//     chart.SetAxisTitle(0, "频率(Hz)");
//     chart.SetValue(0, 0, 1.0, 0.05, CMySRGraph::KIND_POINT);
//     chart.SetAxisRange(0, 0.0, 20.0);
//     CGraphViewBase view;
//     view.Create(pDlg, rect, 10500, &chart);
#pragma once

#include <map>
#include <vector>

#include "platform/afx/CString.h"
#include "platform/ui/CWnd.h"

class CDC;

class CMySRGraph {
public:
    enum { KIND_POINT = 1, KIND_LINE = 2 };
    enum { AXIS_X = 0, AXIS_Y = 1 };

    struct Point {
        double x = 0.0, y = 0.0;
        int nKind = KIND_POINT;
    };

    CMySRGraph();

    // Axis titles and ranges; an axis other than 0 or 1 is ignored.
    void SetAxisTitle(int axis, LPCTSTR lpszTitle);
    CString GetAxisTitle(int axis) const;
    void SetAxisRange(int axis, double dMin, double dMax);
    void GetAxisRange(int axis, double& dMin, double& dMax) const;

    void SetFontFace(LPCTSTR lpszFace) { m_strFont = lpszFace; }
    const CString& GetFontFace() const { return m_strFont; }
    void SetBackColor(COLORREF c) { m_crBack = c; }
    COLORREF GetBackColor() const { return m_crBack; }
    void SetGridColor(COLORREF c) { m_crGrid = c; }
    COLORREF GetGridColor() const { return m_crGrid; }

    // Stores point nIndex of a series (replacing one of the same index); a negative index or
    // series is refused (FALSE).
    BOOL SetValue(int nIndex, int nSeries, double x, double y, int nKind);
    void ClearData() { m_series.clear(); }
    int GetSeriesCount() const { return static_cast<int>(m_series.size()); }
    // The points of a series in index order; empty for an unknown series.
    std::vector<Point> GetSeries(int nSeries) const;

    // Colour of a series: blue markers for series 0, red lines for series 1, then others.
    static COLORREF SeriesColor(int nSeries);

    // The ticks of an axis drawn over [dMin, dMax] (its range as drawn): multiples of a round step
    // (1, 2 or 5 times a power of ten) near a fifth of the span that lie inside, each with its
    // text in the step's decimals; grid lines and values stand at them.
    struct Tick {
        double v = 0.0;
        CString text;
    };
    static std::vector<Tick> AxisTicks(double dMin, double dMax);
    // The range an axis is drawn over: its range, or 0 .. 1 when that is empty or not finite.
    void DrawnRange(int axis, double& dMin, double& dMax) const;

    // The plot area inside rcClient (margins for the values and titles).
    static CRect PlotRect(const CRect& rcClient);
    // Pixel of a chart point in the plot area of rcClient.
    CPoint ToPixel(const CRect& rcClient, double x, double y) const;

    void Draw(CDC* pDC, const CRect& rcClient) const;

private:
    void DrawGrid(CDC* pDC, const CRect& rcPlot) const;
    void DrawTitles(CDC* pDC, const CRect& rcClient, const CRect& rcPlot) const;
    void DrawSeries(CDC* pDC, const CRect& rcClient, const CRect& rcPlot) const;

    CString m_strTitle[2];
    double m_dMin[2] = {0.0, 0.0};
    double m_dMax[2] = {1.0, 1.0};
    CString m_strFont;
    COLORREF m_crBack;
    COLORREF m_crGrid;
    std::map<int, std::map<int, Point>> m_series;  // series -> index -> point
};

class CGraphViewBase : public CWnd {
    DECLARE_DYNAMIC(CGraphViewBase)
public:
    CGraphViewBase() = default;
    ~CGraphViewBase() override;

    // A visible child window of pParent at rect (pParent's client coordinates) with id nID,
    // showing pGraph (not owned; may be null: the window stays white).
    BOOL Create(CWnd* pParent, const CRect& rect, UINT nID, CMySRGraph* pGraph);
    void SetGraph(CMySRGraph* pGraph) { m_pGraph = pGraph; }
    CMySRGraph* GetGraph() const { return m_pGraph; }
    // Repaints the window now, so its surface shows the chart as it stands.
    void Refresh();

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CMySRGraph* m_pGraph = nullptr;
};
