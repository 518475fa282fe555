// List-view controls: items, columns, states and their notifications.
#include "platform/ui/CListCtrl.h"

#include <algorithm>
#include <cstring>

#include "platform/ui/UiWindow.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {

struct Column {
    std::string text;
    int width;
    int fmt;
};

struct Item {
    std::vector<std::string> texts;   // [0] the item, then sub-items
    int image = 0;
    LPARAM param = 0;
    UINT state = 0;
};

struct ListViewData : UiControlData {
    std::vector<Column> columns;
    std::vector<Item> items;
    DWORD exStyle = 0;
    CImageList* lists[3] = {nullptr, nullptr, nullptr};
};

ListViewData* ListData(HWND h) {
    UiWindow* w = ui::Find(h);
    if (!w) return nullptr;
    if (!w->ext) w->ext = std::make_unique<ListViewData>();
    return dynamic_cast<ListViewData*>(w->ext.get());
}

BOOL ValidItem(ListViewData* d, int i) { return d && i >= 0 && i < static_cast<int>(d->items.size()); }

LRESULT Notify(HWND h, int code, int item, UINT newState, UINT oldState, UINT changed, LPARAM param) {
    UiWindow* w = ui::Find(h);
    if (!w) return 0;
    NMLISTVIEW nm{};
    nm.iItem = item;
    nm.iSubItem = 0;
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.uChanged = changed;
    nm.lParam = param;
    return ui::NotifyParent(*w, &nm.hdr, code);
}

// Changes one item's state with the notifications; FALSE when vetoed or nothing to change.
BOOL ChangeState(HWND h, int i, UINT state, UINT mask) {
    ListViewData* d = ListData(h);
    if (!ValidItem(d, i)) return FALSE;
    UINT old = d->items[static_cast<size_t>(i)].state;
    UINT now = (old & ~mask) | (state & mask);
    if (now == old) return TRUE;
    if (Notify(h, LVN_ITEMCHANGING, i, now, old, LVIF_STATE, d->items[static_cast<size_t>(i)].param)) return FALSE;
    d = ListData(h);
    if (!ValidItem(d, i)) return FALSE;
    d->items[static_cast<size_t>(i)].state = now;
    if (UiWindow* w = ui::Find(h)) ui::AddUpdate(*w, nullptr, TRUE);
    Notify(h, LVN_ITEMCHANGED, i, now, old, LVIF_STATE, d->items[static_cast<size_t>(i)].param);
    return TRUE;
}

BOOL SetState(HWND h, int nItem, UINT nState, UINT nMask) {
    ListViewData* d = ListData(h);
    UiWindow* w = ui::Find(h);
    if (!d || !w) return FALSE;
    BOOL single = (w->style & LVS_SINGLESEL) != 0;
    if (nItem == -1) {
        BOOL ok = TRUE;
        for (int i = 0; i < static_cast<int>(ListData(h)->items.size()); ++i) ok = ChangeState(h, i, nState, nMask) && ok;
        return ok;
    }
    if (!ValidItem(d, nItem)) return FALSE;
    if (single && (nMask & LVIS_SELECTED) && (nState & LVIS_SELECTED)) {
        for (int i = 0; i < static_cast<int>(ListData(h)->items.size()); ++i)
            if (i != nItem && (ListData(h)->items[static_cast<size_t>(i)].state & LVIS_SELECTED)) ChangeState(h, i, 0, LVIS_SELECTED);
    }
    if ((nMask & LVIS_FOCUSED) && (nState & LVIS_FOCUSED)) {
        for (int i = 0; i < static_cast<int>(ListData(h)->items.size()); ++i)
            if (i != nItem && (ListData(h)->items[static_cast<size_t>(i)].state & LVIS_FOCUSED)) ChangeState(h, i, 0, LVIS_FOCUSED);
    }
    return ChangeState(h, nItem, nState, nMask);
}

}  // namespace

namespace ui {

BOOL ListViewProc(UiWindow& w, UINT message, WPARAM, LPARAM, LRESULT& r) {
    switch (message) {
    case WM_GETDLGCODE:
        r = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        NMHDR hdr{};
        NotifyParent(w, &hdr, message == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
        r = 0;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL ListViewUserClick(HWND hList, int nItem, BOOL bAdd) {
    ListViewData* d = ListData(hList);
    UiWindow* w = Find(hList);
    if (!ValidItem(d, nItem) || !w || (w->style & WS_DISABLED)) return FALSE;
    if (!bAdd || (w->style & LVS_SINGLESEL)) {
        for (int i = 0; i < static_cast<int>(ListData(hList)->items.size()); ++i)
            if (i != nItem) ChangeState(hList, i, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
    SetState(hList, nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if (UiWindow* again = Find(hList)) {
        NMLISTVIEW nm{};
        nm.iItem = nItem;
        NotifyParent(*again, &nm.hdr, NM_CLICK);
    }
    return TRUE;
}

}  // namespace ui

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("SysListView32", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int) {
    ListViewData* d = ListData(m_hWnd);
    if (!d || nCol < 0) return -1;
    size_t at = std::min(static_cast<size_t>(nCol), d->columns.size());
    d->columns.insert(d->columns.begin() + static_cast<long>(at),
                      Column{lpszColumnHeading ? lpszColumnHeading : "", nWidth < 0 ? 100 : nWidth, nFormat});
    for (auto& it : d->items)
        if (at > 0 && at < it.texts.size()) it.texts.insert(it.texts.begin() + static_cast<long>(at), std::string());
    return static_cast<int>(at);
}

int CListCtrl::InsertColumn(int nCol, const LVCOLUMN* p) {
    if (!p) return -1;
    return InsertColumn(nCol, (p->mask & LVCF_TEXT) ? p->pszText : "", (p->mask & LVCF_FMT) ? p->fmt : LVCFMT_LEFT,
                        (p->mask & LVCF_WIDTH) ? p->cx : -1);
}

BOOL CListCtrl::DeleteColumn(int nCol) {
    ListViewData* d = ListData(m_hWnd);
    if (!d || nCol < 0 || nCol >= static_cast<int>(d->columns.size())) return FALSE;
    d->columns.erase(d->columns.begin() + nCol);
    for (auto& it : d->items)
        if (nCol < static_cast<int>(it.texts.size()) && nCol > 0) it.texts.erase(it.texts.begin() + nCol);
    return TRUE;
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
    ListViewData* d = ListData(m_hWnd);
    if (!d || nCol < 0 || nCol >= static_cast<int>(d->columns.size())) return FALSE;
    if (cx == LVSCW_AUTOSIZE || cx == LVSCW_AUTOSIZE_USEHEADER) {
        // Widest text at an average character width of 7 pixels, plus margins.
        size_t widest = cx == LVSCW_AUTOSIZE_USEHEADER ? d->columns[static_cast<size_t>(nCol)].text.size() : 0;
        for (auto& it : d->items)
            if (static_cast<size_t>(nCol) < it.texts.size()) widest = std::max(widest, it.texts[static_cast<size_t>(nCol)].size());
        cx = static_cast<int>(widest) * 7 + 12;
    }
    d->columns[static_cast<size_t>(nCol)].width = cx;
    return TRUE;
}

int CListCtrl::GetColumnWidth(int nCol) const {
    ListViewData* d = ListData(m_hWnd);
    if (!d || nCol < 0 || nCol >= static_cast<int>(d->columns.size())) return 0;
    return d->columns[static_cast<size_t>(nCol)].width;
}

int CListCtrl::GetColumnCount() const {
    ListViewData* d = ListData(m_hWnd);
    return d ? static_cast<int>(d->columns.size()) : 0;
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) { return InsertItem(nItem, lpszItem, 0); }

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
    LVITEM it{};
    it.mask = LVIF_TEXT | LVIF_IMAGE;
    it.iItem = nItem;
    it.pszText = const_cast<LPTSTR>(lpszItem ? lpszItem : "");
    it.iImage = nImage;
    return InsertItem(&it);
}

int CListCtrl::InsertItem(const LVITEM* p) {
    ListViewData* d = ListData(m_hWnd);
    if (!d || !p || p->iItem < 0) return -1;
    Item item;
    item.texts.push_back((p->mask & LVIF_TEXT) && p->pszText ? p->pszText : "");
    if (p->mask & LVIF_IMAGE) item.image = p->iImage;
    if (p->mask & LVIF_PARAM) item.param = p->lParam;
    if (p->mask & LVIF_STATE) item.state = p->state & p->stateMask;
    size_t at = std::min(static_cast<size_t>(p->iItem), d->items.size());
    UiWindow* w = ui::Find(m_hWnd);
    if (w && (w->style & (LVS_SORTASCENDING | LVS_SORTDESCENDING))) {
        BOOL asc = (w->style & LVS_SORTASCENDING) != 0;
        at = 0;
        while (at < d->items.size()) {
            int c = CString(d->items[at].texts[0].c_str()).Compare(item.texts[0].c_str());
            if (asc ? c > 0 : c < 0) break;
            ++at;
        }
    }
    d->items.insert(d->items.begin() + static_cast<long>(at), item);
    if (w) ui::AddUpdate(*w, nullptr, TRUE);
    Notify(m_hWnd, LVN_INSERTITEM, static_cast<int>(at), 0, 0, 0, item.param);
    return static_cast<int>(at);
}

BOOL CListCtrl::DeleteItem(int nItem) {
    ListViewData* d = ListData(m_hWnd);
    if (!ValidItem(d, nItem)) return FALSE;
    Notify(m_hWnd, LVN_DELETEITEM, nItem, 0, 0, 0, d->items[static_cast<size_t>(nItem)].param);
    d = ListData(m_hWnd);
    if (!ValidItem(d, nItem)) return FALSE;
    d->items.erase(d->items.begin() + nItem);
    if (UiWindow* w = ui::Find(m_hWnd)) ui::AddUpdate(*w, nullptr, TRUE);
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
    ListViewData* d = ListData(m_hWnd);
    if (!d) return FALSE;
    // A FALSE answer asks for one LVN_DELETEITEM per item as well.
    if (!Notify(m_hWnd, LVN_DELETEALLITEMS, -1, 0, 0, 0, 0)) {
        for (int i = 0; i < static_cast<int>(ListData(m_hWnd)->items.size()); ++i)
            Notify(m_hWnd, LVN_DELETEITEM, i, 0, 0, 0, ListData(m_hWnd)->items[static_cast<size_t>(i)].param);
    }
    if ((d = ListData(m_hWnd))) d->items.clear();
    if (UiWindow* w = ui::Find(m_hWnd)) ui::AddUpdate(*w, nullptr, TRUE);
    return TRUE;
}

int CListCtrl::GetItemCount() const {
    ListViewData* d = ListData(m_hWnd);
    return d ? static_cast<int>(d->items.size()) : 0;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
    ListViewData* d = ListData(m_hWnd);
    if (!ValidItem(d, nItem) || nSubItem < 0) return FALSE;
    // Sub-items beyond the columns are refused, as the control does.
    if (nSubItem > 0 && nSubItem >= static_cast<int>(d->columns.size())) return FALSE;
    auto& texts = d->items[static_cast<size_t>(nItem)].texts;
    if (static_cast<int>(texts.size()) <= nSubItem) texts.resize(static_cast<size_t>(nSubItem) + 1);
    texts[static_cast<size_t>(nSubItem)] = lpszText ? lpszText : "";
    if (UiWindow* w = ui::Find(m_hWnd)) ui::AddUpdate(*w, nullptr, TRUE);
    return TRUE;
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    ListViewData* d = ListData(m_hWnd);
    if (!ValidItem(d, nItem) || nSubItem < 0) return CString();
    const auto& texts = d->items[static_cast<size_t>(nItem)].texts;
    return nSubItem < static_cast<int>(texts.size()) ? CString(texts[static_cast<size_t>(nSubItem)].c_str()) : CString();
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const {
    if (!lpszText || nLen <= 0) return 0;
    CString s = GetItemText(nItem, nSubItem);
    return static_cast<int>(ui::CopyText(std::string(s), static_cast<WPARAM>(nLen), reinterpret_cast<LPARAM>(lpszText)));
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
    ListViewData* d = ListData(m_hWnd);
    if (!ValidItem(d, nItem)) return FALSE;
    d->items[static_cast<size_t>(nItem)].param = static_cast<LPARAM>(dwData);
    return TRUE;
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
    ListViewData* d = ListData(m_hWnd);
    return ValidItem(d, nItem) ? static_cast<DWORD_PTR>(d->items[static_cast<size_t>(nItem)].param) : 0;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) { return SetState(m_hWnd, nItem, nState, nMask); }

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
    ListViewData* d = ListData(m_hWnd);
    return ValidItem(d, nItem) ? (d->items[static_cast<size_t>(nItem)].state & nMask) : 0;
}

BOOL CListCtrl::SetItem(const LVITEM* p) {
    ListViewData* d = ListData(m_hWnd);
    if (!p || !ValidItem(d, p->iItem)) return FALSE;
    if (p->mask & LVIF_TEXT) SetItemText(p->iItem, p->iSubItem, p->pszText);
    d = ListData(m_hWnd);
    if (!ValidItem(d, p->iItem)) return FALSE;
    if (p->mask & LVIF_IMAGE) d->items[static_cast<size_t>(p->iItem)].image = p->iImage;
    if (p->mask & LVIF_PARAM) d->items[static_cast<size_t>(p->iItem)].param = p->lParam;
    if (p->mask & LVIF_STATE) return SetItemState(p->iItem, p->state, p->stateMask);
    return TRUE;
}

BOOL CListCtrl::GetItem(LVITEM* p) const {
    ListViewData* d = ListData(m_hWnd);
    if (!p || !ValidItem(d, p->iItem)) return FALSE;
    const Item& it = d->items[static_cast<size_t>(p->iItem)];
    if ((p->mask & LVIF_TEXT) && p->pszText && p->cchTextMax > 0) {
        std::string s = p->iSubItem >= 0 && p->iSubItem < static_cast<int>(it.texts.size()) ? it.texts[static_cast<size_t>(p->iSubItem)] : "";
        ui::CopyText(s, static_cast<WPARAM>(p->cchTextMax), reinterpret_cast<LPARAM>(p->pszText));
    }
    if (p->mask & LVIF_IMAGE) p->iImage = it.image;
    if (p->mask & LVIF_PARAM) p->lParam = it.param;
    if (p->mask & LVIF_STATE) p->state = it.state & p->stateMask;
    return TRUE;
}

int CListCtrl::GetItemImage(int nItem) const {
    ListViewData* d = ListData(m_hWnd);
    return ValidItem(d, nItem) ? d->items[static_cast<size_t>(nItem)].image : -1;
}

// Positions are item index + 1, so that NULL ends the walk.
POSITION CListCtrl::GetFirstSelectedItemPosition() const {
    int i = GetNextItem(-1, LVNI_SELECTED);
    return i < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(i) + 1);
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
    int i = static_cast<int>(reinterpret_cast<uintptr_t>(pos)) - 1;
    int next = GetNextItem(i, LVNI_SELECTED);
    pos = next < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(next) + 1);
    return i;
}

UINT CListCtrl::GetSelectedCount() const {
    ListViewData* d = ListData(m_hWnd);
    if (!d) return 0;
    return static_cast<UINT>(std::count_if(d->items.begin(), d->items.end(), [](const Item& it) { return (it.state & LVIS_SELECTED) != 0; }));
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const {
    ListViewData* d = ListData(m_hWnd);
    if (!d) return -1;
    UINT want = ((nFlags & LVNI_SELECTED) ? LVIS_SELECTED : 0) | ((nFlags & LVNI_FOCUSED) ? LVIS_FOCUSED : 0);
    for (int i = nItem + 1; i < static_cast<int>(d->items.size()); ++i)
        if ((d->items[static_cast<size_t>(i)].state & want) == want) return i;
    return -1;
}

DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) {
    ListViewData* d = ListData(m_hWnd);
    if (!d) return 0;
    DWORD old = d->exStyle;
    d->exStyle = dwNewStyle;
    return old;
}

DWORD CListCtrl::GetExtendedStyle() const {
    ListViewData* d = ListData(m_hWnd);
    return d ? d->exStyle : 0;
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    ListViewData* d = ListData(m_hWnd);
    if (!d || nImageListType < 0 || nImageListType > 2) return nullptr;
    CImageList* old = d->lists[nImageListType];
    d->lists[nImageListType] = pImageList;
    return old;
}

CImageList* CListCtrl::GetImageList(int nImageListType) const {
    ListViewData* d = ListData(m_hWnd);
    return (d && nImageListType >= 0 && nImageListType <= 2) ? d->lists[nImageListType] : nullptr;
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL) { return ValidItem(ListData(m_hWnd), nItem); }

// Check boxes are state image 1 (unchecked) and 2 (checked).
BOOL CListCtrl::SetCheck(int nItem, BOOL fCheck) {
    return SetItemState(nItem, static_cast<UINT>((fCheck ? 2 : 1) << 12), LVIS_STATEIMAGEMASK);
}

BOOL CListCtrl::GetCheck(int nItem) const { return (GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) == 2; }
