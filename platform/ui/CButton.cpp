// Buttons and statics: their window behaviour and wrappers.
#include "platform/ui/CButton.h"

#include "platform/ui/UiWindow.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)

namespace {
BOOL IsCheckKind(UINT kind) {
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON || kind == BS_3STATE ||
           kind == BS_AUTO3STATE || kind == BS_AUTORADIOBUTTON;
}

// The siblings of a control's group: from the nearest WS_GROUP at or before it to the next.
std::vector<HWND> GroupOf(UiWindow& w) {
    std::vector<HWND> group;
    UiWindow* parent = ui::Find(w.hParent);
    if (!parent) return group;
    const auto& kids = parent->children;
    int at = -1;
    for (size_t i = 0; i < kids.size(); ++i)
        if (kids[i] == w.hwnd) at = static_cast<int>(i);
    if (at < 0) return group;
    int first = at;
    while (first > 0 && !(ui::Find(kids[first])->style & WS_GROUP)) --first;
    for (size_t i = static_cast<size_t>(first); i < kids.size(); ++i) {
        if (static_cast<int>(i) > first && (ui::Find(kids[i])->style & WS_GROUP)) break;
        group.push_back(kids[i]);
    }
    return group;
}
}  // namespace

namespace ui {

BOOL ButtonProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    UINT kind = w.Kind();
    switch (message) {
    case WM_GETDLGCODE:
        r = DLGC_BUTTON | (kind == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON
                           : kind == BS_PUSHBUTTON  ? DLGC_UNDEFPUSHBUTTON
                           : (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON) ? DLGC_RADIOBUTTON
                                                                                      : 0);
        return TRUE;
    case BM_GETCHECK:
        r = IsCheckKind(kind) ? w.nCheck : BST_UNCHECKED;
        return TRUE;
    case BM_SETCHECK:
        if (IsCheckKind(kind)) {
            int v = static_cast<int>(wParam);
            if (v == BST_INDETERMINATE && kind != BS_3STATE && kind != BS_AUTO3STATE) v = BST_CHECKED;
            if (v != w.nCheck) AddUpdate(w, nullptr, TRUE);
            w.nCheck = v & 3;
        }
        r = 0;
        return TRUE;
    case BM_GETSTATE:
        r = (IsCheckKind(kind) ? w.nCheck : 0) | (w.bPushed ? BST_PUSHED : 0) | (FocusHandle() == w.hwnd ? BST_FOCUS : 0);
        return TRUE;
    case BM_SETSTATE:
        w.bPushed = wParam != 0;
        r = 0;
        return TRUE;
    case BM_SETSTYLE:
        w.style = (w.style & ~0xFFFFu) | (static_cast<DWORD>(wParam) & 0xFFFFu);
        if (LOWORD(lParam)) AddUpdate(w, nullptr, TRUE);
        r = 0;
        return TRUE;
    case BM_CLICK:
        ButtonClick(w.hwnd);
        r = 0;
        return TRUE;
    case BM_SETIMAGE: {
        HANDLE old = w.hImage;
        w.hImage = reinterpret_cast<HANDLE>(lParam);
        r = reinterpret_cast<LRESULT>(old);
        return TRUE;
    }
    case BM_GETIMAGE:
        r = reinterpret_cast<LRESULT>(w.hImage);
        return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (w.style & BS_NOTIFY) NotifyParent(w, message == WM_SETFOCUS ? BN_SETFOCUS : BN_KILLFOCUS);
        r = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL StaticProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    switch (message) {
    case WM_GETDLGCODE:
        r = DLGC_STATIC;
        return TRUE;
    case STM_SETICON:
    case STM_SETIMAGE: {
        HANDLE old = w.hImage;
        w.hImage = reinterpret_cast<HANDLE>(message == STM_SETICON ? static_cast<LPARAM>(wParam) : lParam);
        AddUpdate(w, nullptr, TRUE);
        r = reinterpret_cast<LRESULT>(old);
        return TRUE;
    }
    case STM_GETICON:
    case STM_GETIMAGE:
        r = reinterpret_cast<LRESULT>(w.hImage);
        return TRUE;
    case WM_SETTEXT:
        w.text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        AddUpdate(w, nullptr, TRUE);
        r = TRUE;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL ButtonClick(HWND hButton) {
    UiWindow* w = Find(hButton);
    if (!w || (w->style & WS_DISABLED)) return FALSE;
    UINT kind = w->Kind();
    if (kind == BS_AUTOCHECKBOX) {
        w->nCheck = w->nCheck == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    } else if (kind == BS_AUTO3STATE) {
        w->nCheck = (w->nCheck + 1) % 3;
    } else if (kind == BS_AUTORADIOBUTTON) {
        for (HWND h : GroupOf(*w)) {
            UiWindow* s = Find(h);
            if (s && s != w && s->pClass == w->pClass && s->Kind() == BS_AUTORADIOBUTTON) s->nCheck = BST_UNCHECKED;
        }
        w->nCheck = BST_CHECKED;
    }
    AddUpdate(*w, nullptr, TRUE);
    NotifyParent(*w, BN_CLICKED);
    return TRUE;
}

}  // namespace ui

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}
HICON CStatic::SetIcon(HICON hIcon) { return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(hIcon))); }
HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
HBITMAP CStatic::SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}
HBITMAP CStatic::GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP)); }

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}
int CButton::GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
void CButton::SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
UINT CButton::GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
void CButton::SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, bHighlight); }
UINT CButton::GetButtonStyle() const { return GetStyle() & 0xFFFF; }
void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) { SendMessage(BM_SETSTYLE, nStyle, bRedraw); }
HICON CButton::SetIcon(HICON hIcon) {
    return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
}
HICON CButton::GetIcon() const { return reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON)); }
HBITMAP CButton::SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}
HBITMAP CButton::GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP)); }
