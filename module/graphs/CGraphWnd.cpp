#include "module/graphs/CGraphWnd.h"

#include <cmath>

#include "platform/gdi/CSelectScope.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/afxmsg.h"

// ---- canvas ---------------------------------------------------------------------------------

BOOL CGraphCanvus::Create(CDC* pRef, int cx, int cy, CDC* pSource) {
    Release();
    if (cx <= 0 || cy <= 0) return FALSE;
    if (!m_dc.CreateCompatibleDC(pRef)) return FALSE;
    // A memory DC starts with a 1 x 1 monochrome bitmap: the canvas takes the reference's format.
    if (!m_bitmap.CreateCompatibleBitmap(pRef ? pRef : pSource, cx, cy)) {
        m_dc.DeleteDC();
        return FALSE;
    }
    m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
    m_dc.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
    if (pSource) m_dc.BitBlt(0, 0, cx, cy, pSource, 0, 0, SRCCOPY);
    return TRUE;
}

void CGraphCanvus::Release() {
    if (m_dc.GetSafeHdc()) {
        if (m_pOldBitmap) m_dc.SelectObject(m_pOldBitmap);
        m_dc.DeleteDC();
    }
    m_pOldBitmap = nullptr;
    m_bitmap.DeleteObject();
}

void CGraphCanvus::Paint(CDC* pDC, const CRect& rcDest) {
    if (pDC && IsReady()) pDC->BitBlt(rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), &m_dc, 0, 0, SRCCOPY);
}

// ---- window ---------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CGraphWnd, CWnd)

BEGIN_MESSAGE_MAP(CGraphWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CGraphWnd::CGraphWnd()
    : m_ptCursor(0, 0), m_ptClicked(-1, -1), m_bCursor(FALSE), m_nSelected(-1), m_rcPlot(0, 0, 0, 0),
      m_bHasData(FALSE), m_hLinked(nullptr) {}

CGraphWnd::~CGraphWnd() = default;

BOOL CGraphWnd::SetPicture(CDC* pSource, int cx, int cy) {
    CClientDC* pRef = GetSafeHwnd() ? new CClientDC(this) : nullptr;
    const BOOL ok = m_canvas.Create(pRef ? static_cast<CDC*>(pRef) : pSource, cx, cy, pSource);
    delete pRef;
    if (GetSafeHwnd()) Invalidate(FALSE);
    return ok;
}

void CGraphWnd::SetSeries(const PVXGraphSeries& series) {
    m_arrSeries.Copy(series);
    m_bHasData = series.GetSize() > 0;
    m_nSelected = -1;
    m_ptClicked = CPoint(-1, -1);
}

void CGraphWnd::Clear() {
    m_arrSeries.RemoveAll();
    m_bHasData = FALSE;
    m_nSelected = -1;
    m_ptClicked = CPoint(-1, -1);
    m_hLinked = nullptr;
    m_canvas.Release();
}

int CGraphWnd::FindNearest(const PVXGraphSeries& s, double x) {
    const int n = static_cast<int>(s.GetSize());
    if (n <= 0) return -1;
    if (n == 1) return 0;
    int lo = 0, hi = n - 1;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        if (std::fabs(s.GetAt(mid).x - x) < kSameX) return mid;
        if (s.GetAt(mid).x < x)
            lo = mid;
        else
            hi = mid;
    }
    // The nearer of the two neighbours; the second on a tie.
    return std::fabs(x - s.GetAt(lo).x) < std::fabs(s.GetAt(hi).x - x) ? lo : hi;
}

void CGraphWnd::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    m_canvas.Paint(&dc, rc);
    if (m_ptClicked.x >= 0) {
        CPen pen(PS_SOLID, 2, RGB(255, 255, 255));
        CSelectScope<CPen> sel(&dc, &pen);
        dc.MoveTo(m_ptClicked.x, m_rcPlot.top);
        dc.LineTo(m_ptClicked.x, m_rcPlot.bottom);
    }
    if (m_bCursor) {
        CPen pen(PS_SOLID, 1, RGB(0xAF, 0xAF, 0xAF));
        CSelectScope<CPen> sel(&dc, &pen);
        dc.MoveTo(m_ptCursor.x, m_rcPlot.top);
        dc.LineTo(m_ptCursor.x, m_rcPlot.bottom);
    }
}

void CGraphWnd::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_rcPlot.PtInRect(point)) {
        m_ptCursor = point;
        m_bCursor = TRUE;
        Invalidate(FALSE);
    } else {
        m_bCursor = FALSE;
    }
}

void CGraphWnd::OnLButtonDown(UINT nFlags, CPoint point) {
    if (!m_rcPlot.PtInRect(point) || !m_bHasData) return;
    double x = 0.0, y = 0.0;
    GraphPixelToWorld(m_rcPlot, m_range, point, x, y);
    const int i = FindNearest(m_arrSeries, x);
    if (i >= 0 && i < m_arrSeries.GetSize()) {
        m_nSelected = i;
        if (::IsWindow(m_hLinked)) ::SendMessage(m_hLinked, CB_SETCURSEL, i, 0);
    }
    m_ptClicked = point;
    Invalidate(FALSE);
}

void CGraphWnd::OnDestroy() {
    m_canvas.Release();
    CWnd::OnDestroy();
}
