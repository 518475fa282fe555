// Contour value annotation: the result engines collect candidate labels during a render; the
// model writes each one along its contour line, never upside down, at most one per grid cell of
// about one label's size and never next to a label of the same level. Also the clearing of the
// client window's background before a memory-image render.
#include <algorithm>
#include <cmath>

#include "host/base/CGwPrintHandler.h"
#include "host/grx/I_PVXCtrl.h"
#include "host/grx/XGL_PrintHandler.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CView.h"

namespace {

// Text alignment of a label: its baseline centred on the position.
constexpr UINT kAnnotAlign = TA_BASELINE | TA_CENTER;  // 30

// Upper bound of grid cells: a cell is at least one pixel, so this covers any real page while
// keeping a bad page size from asking for an absurd allocation.
constexpr long long kMaxAnnotCells = 64LL * 1024 * 1024;

}  // namespace

void I_PVXModel::BackgroundClearInClientWnd() {
    if (m_bAnimation || !m_pDispOpt || !m_pView || !m_pView->GetSafeHwnd()) return;
    CClientDC dc(m_pView);
    if (!dc.GetSafeHdc()) return;
    CRect rc;
    m_pView->GetClientRect(&rc);
    const COLORREF oldBk = dc.GetBkColor();
    dc.FillSolidRect(&rc, m_pDispOpt->m_Color.m_crBackground);
    dc.SetBkColor(oldBk);
}

void I_PVXModel::SetContAnnotOrientation(int nAngle) {
    if (!m_pDispOpt) return;
    m_pDispOpt->m_Legend.m_lfAnnot.lfEscapement = nAngle;
    m_pDispOpt->m_Legend.m_lfAnnot.lfOrientation = nAngle;
}

void I_PVXModel::initContourValAnnot(CDC* pDC) {
    if (!m_bContourAnnot || !pDC) return;
    m_arrAnnotGrid.RemoveAll();
    m_arrContAnnot.RemoveAll();
    m_nAnnotCols = m_nAnnotRows = 0;

    const double k = m_dAnnotSize * 1.7 + 0.2;
    const int baseW = static_cast<int>(pDC->GetDeviceCaps(LOGPIXELSX) * 0.55);
    const int baseH = static_cast<int>(pDC->GetDeviceCaps(LOGPIXELSY) * 0.55);
    m_nAnnotCellWidth = static_cast<int>(baseW * k);
    m_nAnnotCellHeight = static_cast<int>(baseH * k);
    // The grid divides by the cell size: a size that rounds to nothing (or below) is one pixel.
    if (m_nAnnotCellWidth < 1) m_nAnnotCellWidth = 1;
    if (m_nAnnotCellHeight < 1) m_nAnnotCellHeight = 1;

    CRect area(0, 0, 0, 0);
    if (m_bExternalDevice) {
        // The printed page of the framework's print handler; a metafile export sets up no page
        // there (it is empty between prints), so the graphics library's page stands in.
        if (CGwPrintHandler::m_PrintParam.m_nWidth > 0 && CGwPrintHandler::m_PrintParam.m_nHeight > 0)
            area = CRect(0, 0, CGwPrintHandler::m_PrintParam.m_nWidth, CGwPrintHandler::m_PrintParam.m_nHeight);
        else
            area = CRect(0, 0, XGL_PrintHandler::m_PrintParam.m_nWidth, XGL_PrintHandler::m_PrintParam.m_nHeight);
    } else if (m_pView && m_pView->GetSafeHwnd()) {
        m_pView->GetClientRect(&area);
    } else if (m_pPVXCtrl) {
        area = m_pPVXCtrl->GetClientRect();
    }
    const int w = std::max(0, static_cast<int>(area.Width()));
    const int h = std::max(0, static_cast<int>(area.Height()));
    const long long cols = w / m_nAnnotCellWidth + 1;
    const long long rows = h / m_nAnnotCellHeight + 1;
    if (cols * rows > kMaxAnnotCells) return;  // no grid: every candidate is refused
    m_nAnnotCols = static_cast<int>(cols);
    m_nAnnotRows = static_cast<int>(rows);
    m_arrAnnotGrid.SetSize(static_cast<INT_PTR>(cols * rows));
    for (INT_PTR i = 0; i < m_arrAnnotGrid.GetSize(); ++i) m_arrAnnotGrid[i] = 0;
}

BOOL I_PVXModel::DoPutAnnotation(int nRow, int nCol, int nLevel, C3DPoint&) {
    if (nRow < 0 || nRow >= m_nAnnotRows || nCol < 0 || nCol >= m_nAnnotCols) return FALSE;
    if (m_arrAnnotGrid.GetSize() < static_cast<INT_PTR>(m_nAnnotRows) * m_nAnnotCols) return FALSE;
    auto cell = [&](int r, int c) { return m_arrAnnotGrid[static_cast<INT_PTR>(r) * m_nAnnotCols + c]; };
    if (cell(nRow, nCol) != 0) return FALSE;
    for (int r = nRow - 1; r <= nRow + 1; ++r) {
        if (r < 0 || r >= m_nAnnotRows) continue;
        for (int c = nCol - 1; c <= nCol + 1; ++c) {
            if (c < 0 || c >= m_nAnnotCols || (r == nRow && c == nCol)) continue;
            if (cell(r, c) == nLevel) return FALSE;
        }
    }
    return TRUE;
}

void I_PVXModel::AnnotateContourValue(CDC* pDC) {
    if (!m_bContourAnnot || !pDC) return;
    for (INT_PTR i = m_arrContAnnot.GetSize() - 1; i >= 0; --i) {
        ContAnnotData& a = m_arrContAnnot[i];
        if (!DoPutAnnotation(a.nRow, a.nCol, a.nLevel, a.pt3)) continue;
        OutputContAnnotOn2DPoint(pDC, CPoint(a.x, a.y), a.strText, a.pt1, a.pt2);
        m_arrAnnotGrid[static_cast<INT_PTR>(a.nRow) * m_nAnnotCols + a.nCol] = a.nLevel;
    }
}

void I_PVXModel::OutputContAnnotOn2DPoint(CDC* pDC, CPoint pos, CString& text, C3DPoint& from, C3DPoint& to) {
    if (!pDC || !m_pPVXCtrl || !m_pDispOpt) return;
    if (pos.x < 0 || pos.y < 0) return;
    const CPoint a = m_bExternalDevice ? m_pPVXCtrl->GetWorldToWindowP2D(from) : m_pPVXCtrl->GetWorldToMemDCP2D(from);
    const CPoint b = m_bExternalDevice ? m_pPVXCtrl->GetWorldToWindowP2D(to) : m_pPVXCtrl->GetWorldToMemDCP2D(to);
    if (a.x < 0 || a.y < 0 || b.x < 0 || b.y < 0) return;

    // Window y grows downward, so the angle of the piece is measured against -y.
    const int t = static_cast<int>(std::atan2(static_cast<double>(a.y - b.y), static_cast<double>(b.x - a.x)) *
                                   (-1800.0 / M_PI));
    int angle = ((3600 - t) % 3600 + 3600) % 3600;
    if (angle > 900 && angle <= 2700) angle = (angle + 1800) % 3600;  // never upside down

    T_PVX_DOPT_LEGEND_D& l = m_pDispOpt->m_Legend;
    SetContAnnotOrientation(angle);
    CFont font;
    CFont* pOldFont = nullptr;
    if (font.CreatePointFontIndirect(&l.m_lfAnnot, pDC)) pOldFont = pDC->SelectObject(&font);
    pDC->SetBkMode(l.m_bAnnotOpaque ? OPAQUE : TRANSPARENT);
    pDC->SetTextColor(l.m_crAnnotText);
    pDC->SetBkColor(l.m_crAnnotBack);
    pDC->SetTextAlign(kAnnotAlign);
    pDC->TextOut(pos.x, pos.y, text);
    if (pOldFont) pDC->SelectObject(pOldFont);
    font.DeleteObject();
    SetContAnnotOrientation(0);
}
