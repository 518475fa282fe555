#include "module/graphs/CPVX2DGraphWnd.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "host/base/CMsgDll.h"
#include "module/graphs/CPVXMultiGraphView.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CSelectScope.h"
#include "platform/gdi/afxgdi.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/afxmsg.h"

namespace {

const int kTitlePoints = 12;
const int kAxisLabelPoints = 9;
const int kValuePoints = 7;
const COLORREF kValueColor = RGB(0, 0, 255);  // value labels in blue
const int kValueGap = 5;                      // pixels between a label and its point or axis

// Font height (em size in pixels) of a point size on pDC.
int PointHeight(CDC* pDC, int nPoints) { return -MulDiv(nPoints, pDC->GetDeviceCaps(LOGPIXELSY), 72); }

}  // namespace

IMPLEMENT_DYNAMIC(CPVX2DGraphWnd, CWnd)

BEGIN_MESSAGE_MAP(CPVX2DGraphWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CPVX2DGraphWnd::CPVX2DGraphWnd()
    : m_bHasData(FALSE), m_dRangeFactor(kDefaultRangeFactor), m_dMaxMagnitude(0.0), m_nLowIndex(-1), m_nHighIndex(-1),
      m_nLowSeries(0), m_nHighSeries(0) {
    std::memset(&m_lf, 0, sizeof m_lf);
    m_lf.lfHeight = 80;
    m_lf.lfWeight = FW_NORMAL;
    m_lf.lfCharSet = 1;
    m_lf.lfOutPrecision = 2;
    m_lf.lfClipPrecision = 1;
    const CString face = CMsgDll::pfuncLoadStr("IDS_TBX_PVX_FONT_ARIAL", 0);
    std::snprintf(m_lf.lfFaceName, sizeof m_lf.lfFaceName, "%s", face.GetString());
    m_mapColor.InitHashTable(17);
    m_mapSeries.InitHashTable(17);
}

CPVX2DGraphWnd::~CPVX2DGraphWnd() { FreeSeries(); }

void CPVX2DGraphWnd::FreeSeries() { FreePVXGraphSeriesMap(m_mapSeries); }

COLORREF CPVX2DGraphWnd::SeriesColor(int i) {
    static const COLORREF kColors[] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0), RGB(255, 0, 255),
                                       RGB(0, 255, 255)};
    const int n = static_cast<int>(sizeof kColors / sizeof kColors[0]);
    return i >= 0 && i < n ? kColors[i] : RGB(1, 1, 1);
}

COLORREF CPVX2DGraphWnd::GetSeriesColor(UINT nKey) const {
    COLORREF cr = RGB(1, 1, 1);
    m_mapColor.Lookup(nKey, cr);
    return cr;
}

BOOL CPVX2DGraphWnd::SetGraphData(PVXGraphSeriesMap& map) {
    FreeSeries();
    m_mapColor.RemoveAll();
    // The lowest double is -DBL_MAX: an all-negative series must still raise the highest x.
    double xLo = DBL_MAX, yLo = DBL_MAX, xHi = -DBL_MAX, yHi = -DBL_MAX;
    m_nLowIndex = m_nHighIndex = -1;
    m_nLowSeries = m_nHighSeries = 0;
    m_bHasData = !map.IsEmpty();

    int nSeries = 0;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        UINT key = 0;
        PVXGraphSeries* p = nullptr;
        map.GetNextAssoc(pos, key, p);
        // The caller keeps its arrays and may free them at once: the graph draws from a copy.
        auto* pCopy = new PVXGraphSeries;
        if (p) pCopy->Copy(*p);
        m_mapSeries.SetAt(key, pCopy);
        for (int i = 0; i < pCopy->GetSize(); ++i) {
            const T_GRPH_D& pt = pCopy->GetAt(i);
            if (pt.x < xLo) {
                xLo = pt.x;
                m_nLowIndex = i;
                m_nLowSeries = key;
            }
            if (!(pt.x < xHi)) {
                xHi = pt.x;
                m_nHighIndex = i;
                m_nHighSeries = key;
            }
            yLo = std::fmin(yLo, pt.y);
            yHi = std::fmax(yHi, pt.y);
        }
        COLORREF cr = SeriesColor(nSeries++);
        m_mapColor.SetAt(key, cr);
    }
    if (m_nLowIndex < 0) {
        // No point at all: an empty, zero range.
        xLo = xHi = yLo = yHi = 0.0;
    }
    m_dMaxMagnitude = std::fmax(std::fabs(xLo), std::fabs(xHi));
    UpdateXRange();
    m_range.y1 = std::fmax(std::fabs(yLo), std::fabs(yHi)) * kYHeadroom;
    m_range.y0 = yLo;
    return TRUE;
}

void CPVX2DGraphWnd::UpdateXRange() {
    m_range.x0 = -m_dMaxMagnitude * m_dRangeFactor;
    m_range.x1 = m_dMaxMagnitude * m_dRangeFactor;
}

BOOL CPVX2DGraphWnd::SetScaleFactor(double s) {
    // 100 / 0 would make the range infinite; a negative scale would turn the graph over.
    if (!(s > 0.0) || !std::isfinite(100.0 / s)) return FALSE;
    m_dRangeFactor = 100.0 / s;
    UpdateXRange();
    if (GetSafeHwnd()) Invalidate(FALSE);
    return TRUE;
}

void CPVX2DGraphWnd::SetTexts(const CString& strTitle, const CString& strXLabel, const CString& strThird) {
    m_strTitle = strTitle;
    m_strXLabel = strXLabel;
    m_strThird = strThird;
}

CString CPVX2DGraphWnd::LabelFormat(const T_PVX_DOPT_NUMBER_D& numbers) {
    CString fmt;
    fmt.Format(numbers.m_bExponent ? "%s%de" : "%s%df", "%.", numbers.m_nDecimals);
    return fmt;
}

const T_PVX_DOPT_NUMBER_D* CPVX2DGraphWnd::ParentNumberOptions() const {
    const auto* pView = dynamic_cast<const CPVXMultiGraphView*>(GetParent());
    const I_PVXModel* pModel = pView ? pView->GetPointer() : nullptr;
    return pModel && pModel->m_pDispOpt ? &pModel->m_pDispOpt->m_Number : nullptr;
}

void CPVX2DGraphWnd::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    Draw(&dc, rc, ParentNumberOptions());
}

void CPVX2DGraphWnd::OnRButtonDown(UINT nFlags, CPoint point) {
    // The view owns the menu: it hears the click in screen coordinates.
    ClientToScreen(&point);
    if (CWnd* pParent = GetParent()) pParent->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
}

void CPVX2DGraphWnd::Draw(CDC* pDC, const CRect& rcClient, const T_PVX_DOPT_NUMBER_D* pNumbers) const {
    if (!pDC) return;
    const CRect plot = GraphPlotRect(rcClient);
    pDC->FillSolidRect(&rcClient, RGB(255, 255, 255));
    {
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        CSelectScope<CPen> selPen(pDC, &pen);
        CSelectScope<CGdiObject> selBrush(pDC, CGdiObject::FromHandle(GetStockObject(HOLLOW_BRUSH)));
        const int dx = rcClient.Width() / 100, dy = rcClient.Height() / 100;
        pDC->Rectangle(rcClient.left + dx, rcClient.top + dy, rcClient.right - dx, rcClient.bottom - dy);
    }
    if (!m_bHasData) return;

    {
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        CSelectScope<CPen> sel(pDC, &pen);
        pDC->MoveTo(plot.left, plot.bottom);
        pDC->LineTo(plot.right, plot.bottom);
        const int xMid = (plot.left + plot.right) / 2;
        pDC->MoveTo(xMid, plot.top);
        pDC->LineTo(xMid, plot.bottom);
    }
    DrawTexts(pDC, plot);

    POSITION pos = m_mapSeries.GetStartPosition();
    while (pos) {
        UINT key = 0;
        PVXGraphSeries* p = nullptr;
        m_mapSeries.GetNextAssoc(pos, key, p);
        CPen pen(PS_SOLID, 2, GetSeriesColor(key));
        CSelectScope<CPen> sel(pDC, &pen);
        for (int i = 1; i < p->GetSize(); ++i) {
            pDC->MoveTo(GraphWorldToPixel(plot, m_range, p->GetAt(i - 1).x, p->GetAt(i - 1).y));
            pDC->LineTo(GraphWorldToPixel(plot, m_range, p->GetAt(i).x, p->GetAt(i).y));
        }
    }
    if (pNumbers && pNumbers->m_bShowNumbers) DrawLabels(pDC, plot, *pNumbers);
}

void CPVX2DGraphWnd::DrawTexts(CDC* pDC, const CRect& plot) const {
    const int gap = plot.Height() / 30;
    const int nOldBk = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOld = pDC->SetTextColor(RGB(0, 0, 0));
    const UINT nOldAlign = pDC->GetTextAlign();
    LOGFONT lf = m_lf;
    lf.lfHeight = PointHeight(pDC, kTitlePoints);
    CFont titleFont;
    titleFont.CreateFontIndirect(&lf);
    {
        CSelectScope<CFont> sel(pDC, &titleFont);
        pDC->SetTextAlign(TA_CENTER | TA_BOTTOM);
        pDC->TextOut((plot.left + plot.right) / 2, plot.top - gap, m_strTitle);
    }
    lf.lfHeight = PointHeight(pDC, kAxisLabelPoints);
    CFont labelFont;
    labelFont.CreateFontIndirect(&lf);
    {
        CSelectScope<CFont> sel(pDC, &labelFont);
        pDC->SetTextAlign(TA_CENTER | TA_TOP);
        pDC->TextOut((plot.left + plot.right) / 2, plot.bottom + gap, m_strXLabel);
    }
    pDC->SetTextAlign(nOldAlign);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nOldBk);
}

void CPVX2DGraphWnd::DrawLabels(CDC* pDC, const CRect& plot, const T_PVX_DOPT_NUMBER_D& numbers) const {
    LOGFONT lf = m_lf;
    lf.lfHeight = PointHeight(pDC, kValuePoints);
    lf.lfWeight = FW_NORMAL;
    CFont font;
    font.CreateFontIndirect(&lf);
    CSelectScope<CFont> sel(pDC, &font);
    const int nOldBk = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOld = pDC->SetTextColor(kValueColor);
    const UINT nOldAlign = pDC->GetTextAlign();
    const CString fmt = LabelFormat(numbers);

    // The extreme x values under the axis, at their points' pixel x: the lowest reading to the
    // right of its point, the highest to the left. Where the two would run into each other (both
    // extremes near one x) they turn outward, half a text height apart at least; two that read
    // alike there (a graph of zeros) are one label, centred on its point.
    struct Extreme {
        UINT series;
        int index;
        UINT align;
        bool bShown = false;
        int x = 0;
        CString text;
    } extremes[] = {{m_nLowSeries, m_nLowIndex, TA_LEFT | TA_TOP}, {m_nHighSeries, m_nHighIndex, TA_RIGHT | TA_TOP}};
    for (Extreme& e : extremes) {
        PVXGraphSeries* p = nullptr;
        if (e.index < 0 || !m_mapSeries.Lookup(e.series, p) || e.index >= p->GetSize()) continue;
        const T_GRPH_D& pt = p->GetAt(e.index);
        e.text.Format(fmt, pt.x);
        e.x = GraphWorldToPixel(plot, m_range, pt.x, pt.y).x;
        e.bShown = true;
    }
    Extreme& low = extremes[0];
    Extreme& high = extremes[1];
    constexpr int kApart = 2;  // pixels at least between the labels and their shared x
    if (low.bShown && high.bShown &&
        low.x + pDC->GetTextExtent(low.text).cx + kApart > high.x - pDC->GetTextExtent(high.text).cx) {
        if (low.text == high.text) {
            low.align = TA_CENTER | TA_TOP;
            low.x = (low.x + high.x) / 2;
            high.bShown = false;
        } else {
            const int nGap = pDC->GetTextExtent(low.text).cy / 2 + 1;
            const int nApart = std::max(kApart, (nGap - (high.x - low.x) + 1) / 2);
            low.align = TA_RIGHT | TA_TOP;
            low.x -= nApart;
            high.align = TA_LEFT | TA_TOP;
            high.x += nApart;
        }
    }
    for (const Extreme& e : extremes) {
        if (!e.bShown) continue;
        pDC->SetTextAlign(e.align);
        pDC->TextOut(e.x, plot.bottom + kValueGap, e.text);
    }

    // The levels beside the zero axis, for every point but the first of its series; a level
    // that several series share is written once.
    pDC->SetTextAlign(TA_RIGHT | TA_BOTTOM);
    const int xLabel = (plot.left + plot.right) / 2 - kValueGap;
    std::set<std::pair<int, std::string>> written;
    POSITION pos = m_mapSeries.GetStartPosition();
    while (pos) {
        UINT key = 0;
        PVXGraphSeries* p = nullptr;
        m_mapSeries.GetNextAssoc(pos, key, p);
        for (int i = 1; i < p->GetSize(); ++i) {
            const T_GRPH_D& pt = p->GetAt(i);
            CString text;
            text.Format("%3.2lf", pt.y);
            const int y = GraphWorldToPixel(plot, m_range, pt.x, pt.y).y;
            if (written.emplace(y, text.GetString()).second) pDC->TextOut(xLabel, y, text);
        }
    }
    pDC->SetTextAlign(nOldAlign);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nOldBk);
}
