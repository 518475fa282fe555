// List boxes: item lists shared with combo boxes, window behaviour and wrappers.
#include "platform/ui/CListBox.h"

#include <algorithm>
#include <cstring>

#include "platform/ui/UiWindow.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

namespace {
BOOL Multi(const UiWindow& w) { return (w.style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }

int CompareNoCase(const std::string& a, const std::string& b) {
    return CString(a.c_str()).CompareNoCase(b.c_str());
}
}  // namespace

namespace ui {

int ListInsert(UiWindow& w, int nIndex, const char* text, BOOL bSorted) {
    UiListItem item;
    item.text = text ? text : "";
    size_t at;
    if (bSorted) {
        at = 0;
        while (at < w.items.size() && CompareNoCase(w.items[at].text, item.text) <= 0) ++at;
    } else if (nIndex < 0) {
        at = w.items.size();
    } else if (static_cast<size_t>(nIndex) > w.items.size()) {
        return LB_ERR;
    } else {
        at = static_cast<size_t>(nIndex);
    }
    w.items.insert(w.items.begin() + static_cast<long>(at), item);
    if (w.nCurSel >= static_cast<int>(at)) ++w.nCurSel;
    AddUpdate(w, nullptr, TRUE);
    return static_cast<int>(at);
}

int ListFind(const UiWindow& w, int nStart, const char* text, BOOL bExact) {
    int n = static_cast<int>(w.items.size());
    if (n == 0 || !text) return LB_ERR;
    std::string t = text;
    int first = (nStart < 0 || nStart >= n) ? 0 : nStart + 1;
    for (int k = 0; k < n; ++k) {
        const std::string& s = w.items[static_cast<size_t>((first + k) % n)].text;
        if (bExact ? EqualNoCase(s, t) : PrefixNoCase(t, s)) return (first + k) % n;
    }
    return LB_ERR;
}

BOOL ListErase(UiWindow& w, WPARAM i) {
    if (!ui::ItemIndexValid(w, i)) return FALSE;
    const int n = static_cast<int>(i);
    w.items.erase(w.items.begin() + n);
    if (w.nCurSel == n) w.nCurSel = -1;
    else if (w.nCurSel > n) --w.nCurSel;
    return TRUE;
}

int ListGetText(const UiWindow& w, WPARAM i, char* buf) {
    if (!ui::ItemIndexValid(w, i) || !buf) return -1;
    const std::string& s = w.items[i].text;
    memcpy(buf, s.c_str(), s.size() + 1);
    return static_cast<int>(s.size());
}

BOOL ListBoxProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    const char* text = reinterpret_cast<const char*>(lParam);
    switch (message) {
    case WM_GETDLGCODE:
        r = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return TRUE;
    case LB_ADDSTRING:
        r = ListInsert(w, -1, text, (w.style & LBS_SORT) != 0);
        return TRUE;
    case LB_INSERTSTRING:
        r = ListInsert(w, static_cast<int>(static_cast<intptr_t>(wParam)), text, FALSE);
        return TRUE;
    case LB_DELETESTRING:
        r = ListErase(w, wParam) ? static_cast<LRESULT>(w.items.size()) : LB_ERR;
        return TRUE;
    case LB_RESETCONTENT:
        w.items.clear();
        w.nCurSel = -1;
        w.nCaret = 0;
        w.nTop = 0;
        r = 0;
        return TRUE;
    case LB_GETCOUNT:
        r = static_cast<LRESULT>(w.items.size());
        return TRUE;
    case LB_GETCURSEL:
        r = Multi(w) ? (w.items.empty() ? LB_ERR : w.nCaret) : w.nCurSel;
        return TRUE;
    case LB_SETCURSEL:
        if (Multi(w)) {
            r = LB_ERR;
            return TRUE;
        }
        w.nCurSel = ui::ItemIndexValid(w, wParam) ? static_cast<int>(wParam) : -1;
        if (w.nCurSel >= 0) w.nCaret = w.nCurSel;
        AddUpdate(w, nullptr, TRUE);
        r = ui::ItemIndexValid(w, wParam) ? w.nCurSel : LB_ERR;
        return TRUE;
    case LB_GETSEL:
        if (!ui::ItemIndexValid(w, static_cast<WPARAM>(wParam))) {
            r = LB_ERR;
            return TRUE;
        }
        r = Multi(w) ? w.items[wParam].bSelected : (w.nCurSel == static_cast<int>(wParam));
        return TRUE;
    case LB_SETSEL: {
        if (!Multi(w)) {
            r = LB_ERR;
            return TRUE;
        }
        int i = static_cast<int>(lParam);
        if (i == -1) {
            for (auto& it : w.items) it.bSelected = wParam != 0;
        } else if (i >= 0 && i < static_cast<int>(w.items.size())) {
            w.items[static_cast<size_t>(i)].bSelected = wParam != 0;
        } else {
            r = LB_ERR;
            return TRUE;
        }
        r = 0;
        return TRUE;
    }
    case LB_GETSELCOUNT:
        if (!Multi(w)) {
            r = LB_ERR;
            return TRUE;
        }
        r = std::count_if(w.items.begin(), w.items.end(), [](const UiListItem& it) { return it.bSelected; });
        return TRUE;
    case LB_GETSELITEMS: {
        if (!Multi(w)) {
            r = LB_ERR;
            return TRUE;
        }
        int* out = reinterpret_cast<int*>(lParam);
        int n = 0;
        for (size_t i = 0; i < w.items.size() && n < static_cast<int>(wParam); ++i)
            if (w.items[i].bSelected) {
                if (out) out[n] = static_cast<int>(i);
                ++n;
            }
        r = n;
        return TRUE;
    }
    case LB_GETTEXT: {
        const int n = ListGetText(w, wParam, reinterpret_cast<char*>(lParam));
        r = n < 0 ? LB_ERR : n;
        return TRUE;
    }
    case LB_GETTEXTLEN:
        r = ui::ItemIndexValid(w, wParam) ? static_cast<LRESULT>(w.items[wParam].text.size()) : LB_ERR;
        return TRUE;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        r = ListFind(w, static_cast<int>(static_cast<intptr_t>(wParam)), text, message == LB_FINDSTRINGEXACT);
        return TRUE;
    case LB_SELECTSTRING: {
        int i = ListFind(w, static_cast<int>(static_cast<intptr_t>(wParam)), text, FALSE);
        if (i >= 0 && !Multi(w)) w.nCurSel = i;
        r = Multi(w) ? LB_ERR : i;
        return TRUE;
    }
    case LB_GETITEMDATA:
        r = ui::ItemIndexValid(w, wParam) ? static_cast<LRESULT>(w.items[wParam].data) : LB_ERR;
        return TRUE;
    case LB_SETITEMDATA:
        if (!ui::ItemIndexValid(w, wParam)) {
            r = LB_ERR;
            return TRUE;
        }
        w.items[wParam].data = static_cast<DWORD_PTR>(lParam);
        r = 0;
        return TRUE;
    case LB_SETCARETINDEX:
        if (!ui::ItemIndexValid(w, wParam)) {
            r = LB_ERR;
            return TRUE;
        }
        w.nCaret = static_cast<int>(wParam);
        r = 0;
        return TRUE;
    case LB_GETCARETINDEX:
        r = w.nCaret;
        return TRUE;
    case LB_SETTOPINDEX:
        if (!ui::ItemIndexValid(w, wParam)) {
            r = LB_ERR;
            return TRUE;
        }
        w.nTop = static_cast<int>(wParam);
        r = 0;
        return TRUE;
    case LB_GETTOPINDEX:
        r = w.nTop;
        return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (w.style & LBS_NOTIFY) NotifyParent(w, message == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
        r = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL ListBoxUserSelect(HWND hList, int nIndex) {
    UiWindow* w = Find(hList);
    if (!w || (w->style & WS_DISABLED) || nIndex < 0 || nIndex >= static_cast<int>(w->items.size())) return FALSE;
    if (Multi(*w))
        w->items[static_cast<size_t>(nIndex)].bSelected = !w->items[static_cast<size_t>(nIndex)].bSelected;
    else
        w->nCurSel = nIndex;
    w->nCaret = nIndex;
    if (w->style & LBS_NOTIFY) NotifyParent(*w, LBN_SELCHANGE);
    return TRUE;
}

BOOL ListBoxUserDoubleClick(HWND hList, int nIndex) {
    // The first click selects the item as a click does; the second one tells the double-click.
    if (!ListBoxUserSelect(hList, nIndex)) return FALSE;
    UiWindow* w = Find(hList);
    if (w && (w->style & LBS_NOTIFY)) NotifyParent(*w, LBN_DBLCLK);
    return TRUE;
}

BOOL ListBoxUserCheck(HWND hList, int nIndex) {
    UiWindow* w = Find(hList);
    if (!w || (w->style & WS_DISABLED) || nIndex < 0 || nIndex >= static_cast<int>(w->items.size())) return FALSE;
    int& c = w->items[static_cast<size_t>(nIndex)].nCheck;
    c = c ? 0 : 1;
    NotifyParent(*w, CLBN_CHKCHANGE);
    return TRUE;
}

}  // namespace ui

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

#define IDX(i) static_cast<WPARAM>(static_cast<intptr_t>(i))
int CListBox::AddString(LPCTSTR s) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
int CListBox::InsertString(int nIndex, LPCTSTR s) { return static_cast<int>(SendMessage(LB_INSERTSTRING, IDX(nIndex), reinterpret_cast<LPARAM>(s))); }
int CListBox::DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(LB_DELETESTRING, nIndex)); }
void CListBox::ResetContent() { SendMessage(LB_RESETCONTENT); }
int CListBox::GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
int CListBox::GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
int CListBox::SetCurSel(int nSelect) { return static_cast<int>(SendMessage(LB_SETCURSEL, IDX(nSelect))); }
int CListBox::GetSel(int nIndex) const { return static_cast<int>(SendMessage(LB_GETSEL, IDX(nIndex))); }
int CListBox::SetSel(int nIndex, BOOL bSelect) { return static_cast<int>(SendMessage(LB_SETSEL, bSelect, nIndex)); }
int CListBox::GetSelCount() const { return static_cast<int>(SendMessage(LB_GETSELCOUNT)); }
int CListBox::GetSelItems(int nMaxItems, int* rgIndex) const {
    return static_cast<int>(SendMessage(LB_GETSELITEMS, IDX(nMaxItems), reinterpret_cast<LPARAM>(rgIndex)));
}
int CListBox::GetText(int nIndex, LPTSTR lpszBuffer) const {
    return static_cast<int>(SendMessage(LB_GETTEXT, IDX(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}
void CListBox::GetText(int nIndex, CString& rString) const {
    int n = GetTextLen(nIndex);
    if (n < 0) {
        rString.Empty();
        return;
    }
    std::vector<char> buf(static_cast<size_t>(n) + 1, '\0');
    GetText(nIndex, buf.data());
    rString = buf.data();
}
int CListBox::GetTextLen(int nIndex) const { return static_cast<int>(SendMessage(LB_GETTEXTLEN, IDX(nIndex))); }
int CListBox::FindString(int nStartAfter, LPCTSTR s) const {
    return static_cast<int>(SendMessage(LB_FINDSTRING, IDX(nStartAfter), reinterpret_cast<LPARAM>(s)));
}
int CListBox::FindStringExact(int nIndexStart, LPCTSTR s) const {
    return static_cast<int>(SendMessage(LB_FINDSTRINGEXACT, IDX(nIndexStart), reinterpret_cast<LPARAM>(s)));
}
int CListBox::SelectString(int nStartAfter, LPCTSTR s) {
    return static_cast<int>(SendMessage(LB_SELECTSTRING, IDX(nStartAfter), reinterpret_cast<LPARAM>(s)));
}
int CListBox::SetItemData(int nIndex, DWORD_PTR d) { return static_cast<int>(SendMessage(LB_SETITEMDATA, IDX(nIndex), static_cast<LPARAM>(d))); }
DWORD_PTR CListBox::GetItemData(int nIndex) const { return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, IDX(nIndex))); }
int CListBox::SetCaretIndex(int nIndex, BOOL) { return static_cast<int>(SendMessage(LB_SETCARETINDEX, IDX(nIndex))); }
int CListBox::GetCaretIndex() const { return static_cast<int>(SendMessage(LB_GETCARETINDEX)); }
int CListBox::SetTopIndex(int nIndex) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, IDX(nIndex))); }
int CListBox::GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }

void CCheckListBox::SetCheck(int nIndex, int nCheck) {
    UiWindow* w = ui::Find(m_hWnd);
    if (!w || nIndex < 0 || nIndex >= static_cast<int>(w->items.size())) return;
    w->items[static_cast<size_t>(nIndex)].nCheck = nCheck;
    ui::AddUpdate(*w, nullptr, TRUE);
}

int CCheckListBox::GetCheck(int nIndex) const {
    UiWindow* w = ui::Find(m_hWnd);
    if (!w || nIndex < 0 || nIndex >= static_cast<int>(w->items.size())) return -1;
    return w->items[static_cast<size_t>(nIndex)].nCheck;
}

#undef IDX
