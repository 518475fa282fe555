#include "platform/ui/CBCGPToolBar.h"

#include <map>

#include "platform/ui/afxmsg.h"

namespace {
struct ToolBarResource {
    std::vector<UINT> ids;
    CSize image;
};
std::map<UINT, ToolBarResource>& ToolBars() {
    static std::map<UINT, ToolBarResource> s;
    return s;
}
}  // namespace

BOOL RegisterToolBarResource(UINT nIDResource, const std::vector<UINT>& ids, CSize buttonImage) {
    ToolBars()[nIDResource] = ToolBarResource{ids, buttonImage};
    return TRUE;
}

BOOL UnregisterToolBarResource(UINT nIDResource) { return ToolBars().erase(nIDResource) ? TRUE : FALSE; }

IMPLEMENT_DYNAMIC(CBCGPToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CBCGPToolBar, CControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CBCGPToolBar::CBCGPToolBar() : m_bCenterRows(TRUE), m_sizeButton(0, 0) {}
CBCGPToolBar::~CBCGPToolBar() = default;

BOOL CBCGPToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
    (void)dwCtrlStyle;
    m_rcBorders = rcBorders;
    m_dwStyle = dwStyle;
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(pParentWnd);
    m_pDockSite = pFrame;
    CRect rc(0, 0, 0, 0);
    if (pParentWnd && pParentWnd->GetSafeHwnd()) {
        // Docked along the whole width of the frame.
        pParentWnd->GetClientRect(&rc);
        rc.bottom = rc.top + 28;
    }
    // The bar styles are kept apart: only visibility reaches the window.
    return CWnd::Create(nullptr, nullptr, WS_CHILD | (dwStyle & WS_VISIBLE), rc, pParentWnd, nID);
}

BOOL CBCGPToolBar::LoadToolBar(UINT nIDResource) {
    const auto it = ToolBars().find(nIDResource);
    if (it == ToolBars().end()) return FALSE;
    m_sizeButton = CSize(it->second.image.cx + kButtonMargin, it->second.image.cy + kButtonMargin);
    m_items.clear();
    for (UINT id : it->second.ids) {
        Item item;
        item.nID = id;
        item.bSeparator = id == 0;
        item.nWidth = id == 0 ? kSeparatorWidth : m_sizeButton.cx;
        m_items.push_back(item);
    }
    AdjustLocations();
    return TRUE;
}

UINT CBCGPToolBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_items[static_cast<size_t>(nIndex)].nID : 0;
}

int CBCGPToolBar::CommandToIndex(UINT nID) const {
    for (int i = 0; i < GetCount(); ++i)
        if (nID && m_items[static_cast<size_t>(i)].nID == nID) return i;
    return -1;
}

void CBCGPToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (!lpRect) return;
    *lpRect = nIndex >= 0 && nIndex < GetCount() ? static_cast<RECT>(m_items[static_cast<size_t>(nIndex)].rect)
                                                   : static_cast<RECT>(CRect(0, 0, 0, 0));
}

void CBCGPToolBar::SetSeparatorWidth(int nIndex, int nWidth) {
    if (nIndex < 0 || nIndex >= GetCount()) return;
    Item& item = m_items[static_cast<size_t>(nIndex)];
    item.bSeparator = TRUE;
    item.nWidth = nWidth;
    AdjustLocations();
}

void CBCGPToolBar::AdjustLocations() {
    CRect client(0, 0, 0, 0);
    if (GetSafeHwnd()) GetClientRect(&client);
    const int left = client.left + m_rcBorders.left;
    const int right = client.right - m_rcBorders.right;
    const int height = m_sizeButton.cy;
    int x = left, y = client.top + m_rcBorders.top;
    for (Item& item : m_items) {
        // A row wraps before an item that would cross the right edge, unless it is the row's first.
        if (x > left && x + item.nWidth > right) {
            x = left;
            y += height;
        }
        item.rect = CRect(x, y, x + item.nWidth, y + height);
        x += item.nWidth;
    }
    UpdateTooltips();
}

BOOL CBCGPToolBar::CanCenterRows() const { return IsHorizontal() && m_pDockSite != nullptr; }

int CBCGPToolBar::RowFreeWidth(int y) const {
    CRect client(0, 0, 0, 0);
    if (GetSafeHwnd()) GetClientRect(&client);
    int end = client.left + m_rcBorders.left;
    for (const Item& item : m_items)
        if (item.rect.top == y && item.rect.right > end) end = item.rect.right;
    return client.right - m_rcBorders.right - end;
}

void CBCGPToolBar::ShiftRow(int y, int dx) {
    for (Item& item : m_items)
        if (item.rect.top == y) item.rect.OffsetRect(dx, 0);
}

void CBCGPToolBar::UpdateTooltips() {
    for (Item& item : m_items) {
        CString text;
        item.strTip.Empty();
        if (!item.nID || !text.LoadString(item.nID)) continue;
        const int nl = text.Find('\n');
        item.strTip = nl >= 0 ? text.Mid(nl + 1) : text;
    }
}

void CBCGPToolBar::OnSize(UINT nType, int cx, int cy) {
    CControlBar::OnSize(nType, cx, cy);
    AdjustLocations();
}
