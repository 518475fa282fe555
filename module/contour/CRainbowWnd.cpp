#include "module/contour/CRainbowWnd.h"

#include "module/contour/CContourEngine.h"
#include "module/contour/CGradientDrawing.h"
#include "module/engines/CEngineBase.h"
#include "platform/gdi/afxgdi.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNAMIC(CRainbowWnd, CWnd)

BEGIN_MESSAGE_MAP(CRainbowWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CRainbowWnd::CRainbowWnd() : m_pContourEngine(nullptr), m_pEngine(nullptr), m_nStyle(0) {}

CRainbowWnd::~CRainbowWnd() {
    // The frame belongs to the dialog; the preview only lets go of it.
    if (m_hWnd) Detach();
}

BOOL CRainbowWnd::CreateFromStatic(UINT nID, CWnd* pParent) {
    if (!SubclassDlgItem(nID, pParent)) return FALSE;
    ModifyStyle(0, WS_CLIPCHILDREN);
    return TRUE;
}

int CRainbowWnd::LevelCount() const {
    int n = m_pContourEngine->m_nNumColor;
    // A band bar needs two levels; fewer would divide the width by zero.
    if (n < 2) n = 2;
    if (n > CContourEngine::MAX_LEVELS) n = CContourEngine::MAX_LEVELS;
    return n;
}

void CRainbowWnd::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    Draw(&dc, rc);
}

void CRainbowWnd::Draw(CDC* pDC, const CRect& rc) const {
    if (!pDC || !m_pContourEngine) return;
    switch (m_nStyle) {
    case 0: DrawBands(pDC, rc); break;
    case 1: DrawLines(pDC, rc); break;
    case 2: DrawTwoBands(pDC, rc); break;
    default: break;
    }
}

void CRainbowWnd::DrawBands(CDC* pDC, const CRect& rc) const {
    const CContourEngine& ce = *m_pContourEngine;
    const int n = LevelCount();
    const double w = static_cast<double>(rc.right - rc.left) / (n - 1);
    const BOOL bGradient = m_pEngine && m_pEngine->m_bGradient;
    int nPrevRight = rc.left + 1;  // so that the first band starts at the left edge
    for (int i = 1; i < n; i++) {
        const int x0 = nPrevRight - 1;
        const int x1 = rc.left + static_cast<int>(i * w);
        nPrevRight = x1;
        if (bGradient) {
            COLORREF colors[4] = {ce.GetRankColor(i - 1), ce.GetRankColor(i - 1), ce.GetRankColor(i),
                                  ce.GetRankColor(i)};
            CPoint pts[4] = {CPoint(x0, rc.bottom), CPoint(x0, rc.top), CPoint(x1, rc.top), CPoint(x1, rc.bottom)};
            CGradientDrawing::GradientPolygon(pDC, colors, pts, 4);
            if (ce.m_bDrawContourLine) {
                CPen pen(PS_SOLID, 1, ce.m_crContourLine);
                CPen* pOldPen = pDC->SelectObject(&pen);
                CGdiObject* pOldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
                pDC->Rectangle(x0, rc.top, x1, rc.bottom);
                pDC->SelectObject(pOldBrush);
                pDC->SelectObject(pOldPen);
            }
        } else {
            const COLORREF crFill = ce.GetRankColor(i);
            CBrush brush(crFill);
            CPen pen(PS_SOLID, 1, ce.m_bDrawContourLine ? ce.m_crContourLine : crFill);
            CBrush* pOldBrush = pDC->SelectObject(&brush);
            CPen* pOldPen = pDC->SelectObject(&pen);
            pDC->Rectangle(x0, rc.top, x1, rc.bottom);
            pDC->SelectObject(pOldPen);
            pDC->SelectObject(pOldBrush);
        }
    }
}

void CRainbowWnd::DrawLines(CDC* pDC, const CRect& rc) const {
    const CContourEngine& ce = *m_pContourEngine;
    const int n = LevelCount();
    pDC->FillSolidRect(&rc, RGB(255, 128, 255));
    const double w = static_cast<double>(rc.right - rc.left) / (n + 1);
    for (int i = 0; i < n; i++) {
        const int x = rc.left + static_cast<int>((i + 1) * w);
        CPen pen(PS_SOLID, 1, ce.GetRankColor(i));
        CPen* pOldPen = pDC->SelectObject(&pen);
        pDC->MoveTo(x, rc.top);
        pDC->LineTo(x, rc.bottom);
        pDC->SelectObject(pOldPen);
    }
}

void CRainbowWnd::DrawTwoBands(CDC* pDC, const CRect& rc) const {
    const CContourEngine& ce = *m_pContourEngine;
    const int n = LevelCount();
    const double w = static_cast<double>(rc.right - rc.left) / (n - 1);
    int nPrevRight = rc.left + 1;
    for (int i = 1; i < n; i++) {
        const int x0 = nPrevRight - 1;
        const int x1 = rc.left + static_cast<int>(i * w);
        nPrevRight = x1;
        const COLORREF crFill = ((i - 1) % 2 == 0) ? ce.m_crBand1 : ce.m_crBand2;
        CBrush brush(crFill);
        CPen pen(PS_SOLID, 1, ce.m_bDrawContourLine ? ce.m_crContourLine : crFill);
        CBrush* pOldBrush = pDC->SelectObject(&brush);
        CPen* pOldPen = pDC->SelectObject(&pen);
        pDC->Rectangle(x0, rc.top, x1, rc.bottom);
        pDC->SelectObject(pOldPen);
        pDC->SelectObject(pOldBrush);
    }
}
