#include "host/base/CGraphViewBase.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdi/CSelectScope.h"
#include "platform/gdi/afxgdi.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/uiapi.h"

namespace {

constexpr int kDivisions = 5;      // grid divisions per axis
constexpr int kMarginLeft = 78;    // room for the y values and the upright y title
constexpr int kMarginRight = 24;
constexpr int kMarginTop = 16;
constexpr int kMarginBottom = 52;  // room for the x values and the x title
constexpr int kMarker = 4;         // half side of a point's marker, pixels
constexpr int kTextHeight = 14;    // pixels

bool ValidAxis(int axis) { return axis == CMySRGraph::AXIS_X || axis == CMySRGraph::AXIS_Y; }

}  // namespace

std::vector<CMySRGraph::Tick> CMySRGraph::AxisTicks(double dMin, double dMax) {
    std::vector<Tick> ticks;
    const double raw = (dMax - dMin) / kDivisions;
    if (!(raw > 0.0) || !std::isfinite(raw)) return ticks;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    const double norm = raw / mag;
    const double step = (norm < 1.5 ? 1.0 : norm < 3.5 ? 2.0 : norm < 7.5 ? 5.0 : 10.0) * mag;
    const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 15);
    const double first = std::ceil(dMin / step - 1e-9);
    for (double k = first; k * step <= dMax + step * 1e-9 && ticks.size() < 4 * kDivisions; k += 1.0) {
        Tick t{k * step, CString()};
        t.text.Format("%.*f", decimals, std::fabs(t.v) < step * 1e-9 ? 0.0 : t.v);
        ticks.push_back(t);
    }
    return ticks;
}

CMySRGraph::CMySRGraph() : m_strFont("Courier New"), m_crBack(RGB(255, 255, 255)), m_crGrid(RGB(0x98, 0x98, 0x98)) {}

void CMySRGraph::SetAxisTitle(int axis, LPCTSTR lpszTitle) {
    if (ValidAxis(axis)) m_strTitle[axis] = lpszTitle ? lpszTitle : "";
}

CString CMySRGraph::GetAxisTitle(int axis) const { return ValidAxis(axis) ? m_strTitle[axis] : CString(); }

void CMySRGraph::SetAxisRange(int axis, double dMin, double dMax) {
    if (!ValidAxis(axis)) return;
    m_dMin[axis] = dMin;
    m_dMax[axis] = dMax;
}

void CMySRGraph::GetAxisRange(int axis, double& dMin, double& dMax) const {
    if (!ValidAxis(axis)) return;
    dMin = m_dMin[axis];
    dMax = m_dMax[axis];
}

BOOL CMySRGraph::SetValue(int nIndex, int nSeries, double x, double y, int nKind) {
    if (nIndex < 0 || nSeries < 0) return FALSE;
    Point& p = m_series[nSeries][nIndex];
    p.x = x;
    p.y = y;
    p.nKind = nKind;
    return TRUE;
}

std::vector<CMySRGraph::Point> CMySRGraph::GetSeries(int nSeries) const {
    std::vector<Point> out;
    auto it = m_series.find(nSeries);
    if (it == m_series.end()) return out;
    for (const auto& [index, p] : it->second) out.push_back(p);
    return out;
}

COLORREF CMySRGraph::SeriesColor(int nSeries) {
    static const COLORREF colors[] = {RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 128, 0), RGB(128, 0, 128)};
    return colors[static_cast<size_t>(nSeries) % (sizeof colors / sizeof colors[0])];
}

CRect CMySRGraph::PlotRect(const CRect& rcClient) {
    CRect r(rcClient.left + kMarginLeft, rcClient.top + kMarginTop, rcClient.right - kMarginRight,
            rcClient.bottom - kMarginBottom);
    if (r.right <= r.left) r.right = r.left + 1;
    if (r.bottom <= r.top) r.bottom = r.top + 1;
    return r;
}

void CMySRGraph::DrawnRange(int axis, double& dMin, double& dMax) const {
    dMin = m_dMin[axis];
    dMax = m_dMax[axis];
    if (!std::isfinite(dMin) || !std::isfinite(dMax) || !(dMax > dMin)) {
        dMin = 0.0;
        dMax = 1.0;
    }
}

CPoint CMySRGraph::ToPixel(const CRect& rcClient, double x, double y) const {
    const CRect rc = PlotRect(rcClient);
    double x0, x1, y0, y1;
    DrawnRange(AXIS_X, x0, x1);
    DrawnRange(AXIS_Y, y0, y1);
    const double px = rc.left + (x - x0) / (x1 - x0) * rc.Width();
    const double py = rc.bottom - (y - y0) / (y1 - y0) * rc.Height();
    // Far-off points stay far off without overflowing the pixel type.
    auto clampPx = [](double v) { return static_cast<int>(std::lround(std::clamp(v, -1.0e6, 1.0e6))); };
    return CPoint(clampPx(px), clampPx(py));
}

void CMySRGraph::DrawGrid(CDC* pDC, const CRect& rcPlot) const {
    CPen grid(PS_SOLID, 1, m_crGrid);
    CFont font;
    font.CreateFont(-kTextHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, m_strFont);
    CSelectScope<CPen> selPen(pDC, &grid);
    CSelectScope<CFont> selFont(pDC, &font);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));
    double x0, x1, y0, y1;
    DrawnRange(AXIS_X, x0, x1);
    DrawnRange(AXIS_Y, y0, y1);
    for (const Tick& t : AxisTicks(x0, x1)) {
        const int x = rcPlot.left + static_cast<int>(std::lround((t.v - x0) / (x1 - x0) * rcPlot.Width()));
        pDC->MoveTo(x, rcPlot.top);
        pDC->LineTo(x, rcPlot.bottom);
        pDC->TextOut(x - pDC->GetTextExtent(t.text).cx / 2, rcPlot.bottom + 4, t.text);
    }
    for (const Tick& t : AxisTicks(y0, y1)) {
        const int y = rcPlot.bottom - static_cast<int>(std::lround((t.v - y0) / (y1 - y0) * rcPlot.Height()));
        pDC->MoveTo(rcPlot.left, y);
        pDC->LineTo(rcPlot.right, y);
        const CSize ye = pDC->GetTextExtent(t.text);
        pDC->TextOut(rcPlot.left - ye.cx - 4, y - ye.cy / 2, t.text);
    }
    CPen frame(PS_SOLID, 1, RGB(0, 0, 0));
    CSelectScope<CPen> selFrame(pDC, &frame);
    const POINT box[5] = {{rcPlot.left, rcPlot.top}, {rcPlot.right, rcPlot.top}, {rcPlot.right, rcPlot.bottom},
                          {rcPlot.left, rcPlot.bottom}, {rcPlot.left, rcPlot.top}};
    pDC->Polyline(box, 5);
}

void CMySRGraph::DrawTitles(CDC* pDC, const CRect& rcClient, const CRect& rcPlot) const {
    CFont font, upright;
    font.CreateFont(-kTextHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, m_strFont);
    upright.CreateFont(-kTextHeight, 0, 900, 900, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, m_strFont);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));
    {
        CSelectScope<CFont> sel(pDC, &font);
        const CSize e = pDC->GetTextExtent(m_strTitle[AXIS_X]);
        pDC->TextOut(rcPlot.CenterPoint().x - e.cx / 2, rcClient.bottom - e.cy - 6, m_strTitle[AXIS_X]);
    }
    {
        // Turned a quarter left: the text runs upwards from its start point.
        CSelectScope<CFont> sel(pDC, &upright);
        const CSize e = pDC->GetTextExtent(m_strTitle[AXIS_Y]);
        pDC->TextOut(rcClient.left + 6, rcPlot.CenterPoint().y + e.cx / 2, m_strTitle[AXIS_Y]);
    }
}

void CMySRGraph::DrawSeries(CDC* pDC, const CRect& rcClient, const CRect& rcPlot) const {
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(rcPlot.left, rcPlot.top, rcPlot.right + 1, rcPlot.bottom + 1);
    // Lines first, markers over them, so a line never hides a point.
    for (int kind : {KIND_LINE, KIND_POINT}) {
        for (const auto& [series, points] : m_series) {
            CPen pen(PS_SOLID, 2, SeriesColor(series));
            CBrush brush(SeriesColor(series));
            CSelectScope<CPen> selPen(pDC, &pen);
            CSelectScope<CBrush> selBrush(pDC, &brush);
            std::vector<POINT> line;
            for (const auto& [index, p] : points) {
                if (!std::isfinite(p.x) || !std::isfinite(p.y) || (p.nKind == KIND_LINE) != (kind == KIND_LINE)) continue;
                const CPoint px = ToPixel(rcClient, p.x, p.y);
                if (kind == KIND_LINE)
                    line.push_back(px);
                else
                    pDC->Rectangle(px.x - kMarker, px.y - kMarker, px.x + kMarker + 1, px.y + kMarker + 1);
            }
            if (line.size() >= 2) pDC->Polyline(line.data(), static_cast<int>(line.size()));
        }
    }
    pDC->RestoreDC(saved);
}

void CMySRGraph::Draw(CDC* pDC, const CRect& rcClient) const {
    if (!pDC) return;
    pDC->FillSolidRect(&rcClient, m_crBack);
    const CRect rcPlot = PlotRect(rcClient);
    DrawGrid(pDC, rcPlot);
    DrawTitles(pDC, rcClient, rcPlot);
    DrawSeries(pDC, rcClient, rcPlot);
}

// ---- the chart's window ------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CGraphViewBase, CWnd)

BEGIN_MESSAGE_MAP(CGraphViewBase, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CGraphViewBase::~CGraphViewBase() = default;

BOOL CGraphViewBase::Create(CWnd* pParent, const CRect& rect, UINT nID, CMySRGraph* pGraph) {
    m_pGraph = pGraph;
    return CWnd::Create(nullptr, "Chart", WS_CHILD | WS_VISIBLE, rect, pParent, nID);
}

void CGraphViewBase::Refresh() {
    if (!GetSafeHwnd()) return;
    Invalidate(FALSE);
    UpdateWindow();
}

void CGraphViewBase::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    if (m_pGraph) {
        m_pGraph->Draw(&dc, rc);
    } else {
        dc.FillSolidRect(&rc, RGB(255, 255, 255));
    }
}
