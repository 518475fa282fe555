#include "host/base/CTBBrowserWnd.h"

#include <algorithm>

#include "platform/gdi/CSelectScope.h"
#include "platform/gdi/afxgdi.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/afxmsg.h"

namespace {
constexpr int kDefaultWidth = 60;  // pixels
constexpr int kPadding = 3;        // pixels between a cell's left edge and its text
}  // namespace

IMPLEMENT_DYNAMIC(CTBBrowserWnd, CWnd)

BEGIN_MESSAGE_MAP(CTBBrowserWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CTBBrowserWnd::CTBBrowserWnd() = default;

CTBBrowserWnd::~CTBBrowserWnd() {
    // The control belongs to the dialog's template; the grid only lets go of it.
    if (m_hWnd) Detach();
}

void CTBBrowserWnd::Initialize() {
    m_header.clear();
    m_widths.clear();
    m_rows.clear();
    m_bDisplayOnly = 0;
    m_nValidRow = m_nValidCol = 0;
    m_nCurRow = m_nCurCol = 0;
}

void CTBBrowserWnd::SetHeader(const std::vector<CString>& texts, const std::vector<int>& widths) {
    m_header = texts;
    m_widths.assign(texts.size(), kDefaultWidth);
    for (size_t i = 0; i < texts.size() && i < widths.size(); ++i) m_widths[i] = std::max(0, widths[i]);
    for (auto& row : m_rows) row.resize(m_header.size());
}

void CTBBrowserWnd::SetCellFont(int nPointSize, int nWeight) {
    m_nFontSize = nPointSize;
    m_nFontWeight = nWeight;
}

int CTBBrowserWnd::AppendRow(const std::vector<CString>& texts) {
    if (m_bDisplayOnly) return -1;
    std::vector<CString> row(texts.begin(), texts.begin() + static_cast<long>(std::min(texts.size(), m_header.size())));
    row.resize(m_header.size());
    m_rows.push_back(std::move(row));
    if (GetSafeHwnd()) Invalidate(FALSE);
    return GetRowCount();
}

BOOL CTBBrowserWnd::SetValueRowCol(int nRow, int nCol, const CString& text) {
    if (m_bDisplayOnly || nRow < 1 || nRow > GetRowCount() || nCol < 1 || nCol > GetColCount()) return FALSE;
    m_rows[static_cast<size_t>(nRow - 1)][static_cast<size_t>(nCol - 1)] = text;
    return TRUE;
}

CString CTBBrowserWnd::GetValueRowCol(int nRow, int nCol) const {
    if (nCol < 1 || nCol > GetColCount() || nRow < 0 || nRow > GetRowCount()) return CString();
    return nRow == 0 ? m_header[static_cast<size_t>(nCol - 1)] : m_rows[static_cast<size_t>(nRow - 1)][static_cast<size_t>(nCol - 1)];
}

int CTBBrowserWnd::GetColWidth(int nCol) const {
    return (nCol < 1 || nCol > GetColCount()) ? 0 : m_widths[static_cast<size_t>(nCol - 1)];
}

void CTBBrowserWnd::SetRightValidCell(int nRow, int nCol) {
    m_nValidRow = nRow;
    m_nValidCol = nCol;
}

void CTBBrowserWnd::GetRightValidCell(int& nRow, int& nCol) const {
    nRow = m_nValidRow;
    nCol = m_nValidCol;
}

void CTBBrowserWnd::GetCurrentCell(int& nRow, int& nCol) const {
    nRow = m_nCurRow;
    nCol = m_nCurCol;
}

int CTBBrowserWnd::ColLeft(int nCol) const {
    int x = 0;
    for (int c = 1; c < nCol && c <= GetColCount(); ++c) x += m_widths[static_cast<size_t>(c - 1)];
    return x;
}

CRect CTBBrowserWnd::GetColRect(int nCol) const {
    if (nCol < 1 || nCol > GetColCount()) return CRect(0, 0, 0, 0);
    const int left = ColLeft(nCol);
    return CRect(left, 0, left + GetColWidth(nCol), (GetRowCount() + 1) * kRowHeight);
}

CTBBrowserWnd::EHit CTBBrowserWnd::HitTest(CPoint point, int& nRow, int& nCol) const {
    nRow = nCol = 0;
    if (point.x < 0 || point.y < 0 || point.y >= (GetRowCount() + 1) * kRowHeight) return HIT_NOTHING;
    nRow = point.y / kRowHeight;
    for (int c = 1; c <= GetColCount(); ++c) {
        const int right = ColLeft(c) + GetColWidth(c);
        if (point.x >= right - kBorderSlop && point.x <= right + kBorderSlop) {
            nCol = c;
            return HIT_BORDER;
        }
        if (point.x < right) {
            nCol = c;
            return HIT_CELL;
        }
    }
    nRow = 0;
    return HIT_NOTHING;
}

BOOL CTBBrowserWnd::AcceptsColumn(int nCol) const { return nCol >= 1 && nCol <= GetColCount(); }

void CTBBrowserWnd::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    int row = 0, col = 0;
    // Header presses and border presses make no cell current.
    if (HitTest(point, row, col) == HIT_CELL && row >= 1) {
        m_nCurRow = row;
        m_nCurCol = col;
    }
}

void CTBBrowserWnd::Draw(CDC* pDC) const {
    if (!pDC) return;
    int width = 0;
    for (int w : m_widths) width += w;
    const int height = (GetRowCount() + 1) * kRowHeight;
    CFont font;
    font.CreateFont(-MulDiv(m_nFontSize, 96, 72), 0, 0, 0, m_nFontWeight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                    "Microsoft YaHei");
    CPen grid(PS_SOLID, 1, RGB(0xC0, 0xC0, 0xC0));
    CSelectScope<CFont> selFont(pDC, &font);
    CSelectScope<CPen> selPen(pDC, &grid);
    pDC->FillSolidRect(0, 0, width, kRowHeight, RGB(0xE0, 0xE0, 0xE0));
    pDC->FillSolidRect(0, kRowHeight, width, height - kRowHeight, RGB(255, 255, 255));
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));
    for (int r = 0; r <= GetRowCount(); ++r) {
        for (int c = 1; c <= GetColCount(); ++c) {
            CRect cell(ColLeft(c) + kPadding, r * kRowHeight, ColLeft(c) + GetColWidth(c), (r + 1) * kRowHeight);
            pDC->DrawText(GetValueRowCol(r, c), &cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
        pDC->MoveTo(0, (r + 1) * kRowHeight - 1);
        pDC->LineTo(width, (r + 1) * kRowHeight - 1);
    }
    for (int c = 1; c <= GetColCount(); ++c) {
        const int x = ColLeft(c) + GetColWidth(c) - 1;
        pDC->MoveTo(x, 0);
        pDC->LineTo(x, height);
    }
}

void CTBBrowserWnd::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(255, 255, 255));
    Draw(&dc);
}
