// Combo boxes: window behaviour and wrapper.
#include "platform/ui/CComboBox.h"

#include <cstring>

#include "platform/ui/UiWindow.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {
BOOL IsDropList(const UiWindow& w) { return (w.style & 3) == CBS_DROPDOWNLIST; }
}  // namespace

namespace ui {

BOOL ComboProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    const char* text = reinterpret_cast<const char*>(lParam);
    switch (message) {
    case WM_GETDLGCODE:
        r = DLGC_WANTCHARS | DLGC_WANTARROWS;
        return TRUE;
    case CB_ADDSTRING:
        r = ListInsert(w, -1, text, (w.style & CBS_SORT) != 0);
        return TRUE;
    case CB_INSERTSTRING:
        r = ListInsert(w, static_cast<int>(static_cast<intptr_t>(wParam)), text, FALSE);
        return TRUE;
    case CB_DELETESTRING: {
        const int sel = w.nCurSel;
        if (!ListErase(w, wParam)) {
            r = CB_ERR;
            return TRUE;
        }
        // A drop-down list shows only its selection, so losing it empties the field.
        if (sel == static_cast<int>(wParam) && IsDropList(w)) w.text.clear();
        r = static_cast<LRESULT>(w.items.size());
        return TRUE;
    }
    case CB_RESETCONTENT:
        w.items.clear();
        w.nCurSel = -1;
        w.text.clear();
        r = CB_OKAY;
        return TRUE;
    case CB_GETCOUNT:
        r = static_cast<LRESULT>(w.items.size());
        return TRUE;
    case CB_GETCURSEL:
        r = w.nCurSel;
        return TRUE;
    case CB_SETCURSEL:
        if (!ui::ItemIndexValid(w, wParam)) {
            w.nCurSel = -1;
            if (IsDropList(w)) w.text.clear();
            r = CB_ERR;
            return TRUE;
        }
        w.nCurSel = static_cast<int>(wParam);
        w.text = w.items[wParam].text;
        AddUpdate(w, nullptr, TRUE);
        r = w.nCurSel;
        return TRUE;
    case CB_GETLBTEXT: {
        const int n = ListGetText(w, wParam, reinterpret_cast<char*>(lParam));
        r = n < 0 ? CB_ERR : n;
        return TRUE;
    }
    case CB_GETLBTEXTLEN:
        r = ui::ItemIndexValid(w, wParam) ? static_cast<LRESULT>(w.items[wParam].text.size()) : CB_ERR;
        return TRUE;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
        r = ListFind(w, static_cast<int>(static_cast<intptr_t>(wParam)), text, message == CB_FINDSTRINGEXACT);
        return TRUE;
    case CB_SELECTSTRING: {
        int i = ListFind(w, static_cast<int>(static_cast<intptr_t>(wParam)), text, FALSE);
        if (i >= 0) {
            w.nCurSel = i;
            w.text = w.items[static_cast<size_t>(i)].text;
        }
        r = i;
        return TRUE;
    }
    case CB_GETITEMDATA:
        r = ui::ItemIndexValid(w, wParam) ? static_cast<LRESULT>(w.items[wParam].data) : CB_ERR;
        return TRUE;
    case CB_SETITEMDATA:
        if (!ui::ItemIndexValid(w, wParam)) {
            r = CB_ERR;
            return TRUE;
        }
        w.items[wParam].data = static_cast<DWORD_PTR>(lParam);
        r = CB_OKAY;
        return TRUE;
    case CB_LIMITTEXT:
        w.nLimit = static_cast<int>(wParam);
        r = TRUE;
        return TRUE;
    case CB_SHOWDROPDOWN:
        r = TRUE;
        return TRUE;
    case CB_GETDROPPEDSTATE:
        r = FALSE;
        return TRUE;
    case CB_SETEDITSEL:
        r = IsDropList(w) ? CB_ERR : TRUE;
        return TRUE;
    case CB_GETEDITSEL:
        r = 0;
        return TRUE;
    case WM_SETTEXT:
        if (IsDropList(w)) {
            // A drop-down list shows only its items: the text selects the matching one.
            int i = ListFind(w, -1, text ? text : "", TRUE);
            if (i < 0) {
                r = CB_ERR;
                return TRUE;
            }
            w.nCurSel = i;
            w.text = w.items[static_cast<size_t>(i)].text;
        } else {
            w.text = text ? text : "";
        }
        r = TRUE;
        return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        NotifyParent(w, message == WM_SETFOCUS ? CBN_SETFOCUS : CBN_KILLFOCUS);
        r = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace ui

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}
int CComboBox::AddString(LPCTSTR s) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
int CComboBox::InsertString(int nIndex, LPCTSTR s) {
    return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(static_cast<intptr_t>(nIndex)), reinterpret_cast<LPARAM>(s)));
}
int CComboBox::DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(CB_DELETESTRING, nIndex)); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
int CComboBox::SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(static_cast<intptr_t>(nSelect)))); }
int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const {
    return static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(static_cast<intptr_t>(nIndex)), reinterpret_cast<LPARAM>(lpszText)));
}
void CComboBox::GetLBText(int nIndex, CString& rString) const {
    int n = GetLBTextLen(nIndex);
    if (n < 0) {
        rString.Empty();
        return;
    }
    std::vector<char> buf(static_cast<size_t>(n) + 1, '\0');
    GetLBText(nIndex, buf.data());
    rString = buf.data();
}
int CComboBox::GetLBTextLen(int nIndex) const {
    return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(static_cast<intptr_t>(nIndex))));
}
int CComboBox::FindString(int nStartAfter, LPCTSTR s) const {
    return static_cast<int>(SendMessage(CB_FINDSTRING, static_cast<WPARAM>(static_cast<intptr_t>(nStartAfter)), reinterpret_cast<LPARAM>(s)));
}
int CComboBox::FindStringExact(int nIndexStart, LPCTSTR s) const {
    return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(static_cast<intptr_t>(nIndexStart)), reinterpret_cast<LPARAM>(s)));
}
int CComboBox::SelectString(int nStartAfter, LPCTSTR s) {
    return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(static_cast<intptr_t>(nStartAfter)), reinterpret_cast<LPARAM>(s)));
}
int CComboBox::SetItemData(int nIndex, DWORD_PTR d) {
    return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(static_cast<intptr_t>(nIndex)), static_cast<LPARAM>(d)));
}
DWORD_PTR CComboBox::GetItemData(int nIndex) const {
    return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(static_cast<intptr_t>(nIndex))));
}
BOOL CComboBox::LimitText(int nMaxChars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars))); }
