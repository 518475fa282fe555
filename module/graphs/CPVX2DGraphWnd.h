// CPVX2DGraphWnd: a child window that draws several series of points (mode shapes: a lateral
// value against the story level) about a vertical zero axis, with a title, an x-axis label and
// the extreme values written beside their points.
//
// SetGraphData copies the series (series number to points) and sets the ranges: x symmetric,
// ±(largest magnitude × x-range factor); y from the lowest y to 1.2 times the largest |y|.
// SetScaleFactor(s) makes the factor 100 / s, so a scale of 50 spans twice the largest
// magnitude. Series take red, blue, green, magenta and cyan by their position in the given
// map's order, any further one 0x010101. Two of these fill the multi-graph view, which is the
// parent: a right click is passed on to it, and the value labels follow its model's number
// options (shown or not, decimals, fixed or exponent).
#pragma once

#include "module/graphs/GraphMapping.h"
#include "module/graphs/T_GRPH_D.h"
#include "platform/afx/CString.h"
#include "platform/ui/CWnd.h"

class CDC;
struct T_PVX_DOPT_NUMBER_D;

class CPVX2DGraphWnd : public CWnd {
    DECLARE_DYNAMIC(CPVX2DGraphWnd)
public:
    static constexpr double kDefaultRangeFactor = 1.5;
    static constexpr double kYHeadroom = 1.2;  // y to = this × the largest |y|

    CPVX2DGraphWnd();
    ~CPVX2DGraphWnd() override;

    // Replaces the series with copies of the map's and sets the ranges and colours; 1.
    BOOL SetGraphData(PVXGraphSeriesMap& map);
    // x-range factor := 100 / s and the x range follows; a scale of 0 or below (or not a number)
    // is refused with FALSE and the factor kept.
    BOOL SetScaleFactor(double s);

    // Draws the graph into pDC over the client rectangle rcClient; pNumbers, when given and
    // showing numbers, adds the value labels.
    void Draw(CDC* pDC, const CRect& rcClient, const T_PVX_DOPT_NUMBER_D* pNumbers) const;
    // The label format of the number options: "%.<d>f", or "%.<d>e" for exponent notation.
    static CString LabelFormat(const T_PVX_DOPT_NUMBER_D& numbers);
    // The colour of the i-th series of a map.
    static COLORREF SeriesColor(int i);

    void SetTexts(const CString& strTitle, const CString& strXLabel, const CString& strThird);
    const CString& GetTitle() const { return m_strTitle; }
    const CString& GetXLabel() const { return m_strXLabel; }
    const CString& GetThird() const { return m_strThird; }

    BOOL HasData() const { return m_bHasData; }
    double GetRangeFactor() const { return m_dRangeFactor; }
    double GetLargestMagnitude() const { return m_dMaxMagnitude; }
    const GraphRange& GetRange() const { return m_range; }
    const PVXGraphSeriesMap& GetSeries() const { return m_mapSeries; }
    COLORREF GetSeriesColor(UINT nKey) const;
    // Where the lowest and the highest x were found: series key and point index.
    UINT GetLowSeries() const { return m_nLowSeries; }
    int GetLowIndex() const { return m_nLowIndex; }
    UINT GetHighSeries() const { return m_nHighSeries; }
    int GetHighIndex() const { return m_nHighIndex; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    void FreeSeries();
    void UpdateXRange();
    void DrawTexts(CDC* pDC, const CRect& plot) const;
    void DrawLabels(CDC* pDC, const CRect& plot, const T_PVX_DOPT_NUMBER_D& numbers) const;
    const T_PVX_DOPT_NUMBER_D* ParentNumberOptions() const;

    BOOL m_bHasData;
    double m_dRangeFactor;    // x half-range over the largest magnitude
    double m_dMaxMagnitude;   // larger of |lowest x| and |highest x|
    int m_nLowIndex, m_nHighIndex;
    UINT m_nLowSeries, m_nHighSeries;
    GraphRange m_range;
    LOGFONT m_lf;
    CMap<UINT, UINT, COLORREF, COLORREF&> m_mapColor;
    CString m_strTitle, m_strXLabel, m_strThird;
    PVXGraphSeriesMap m_mapSeries;  // owned copies
};
