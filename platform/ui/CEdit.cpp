// Edit controls: window behaviour and wrapper.
#include "platform/ui/CEdit.h"

#include <algorithm>
#include <cctype>

#include "platform/ui/UiWindow.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

namespace {
const int kDefaultLimit = 0x7FFFFFFE;

int Limit(const UiWindow& w) { return w.nLimit > 0 ? w.nLimit : kDefaultLimit; }

void ClampSel(UiWindow& w) {
    int n = static_cast<int>(w.text.size());
    w.nSelStart = std::clamp(w.nSelStart, 0, n);
    w.nSelEnd = std::clamp(w.nSelEnd, 0, n);
}

void Changed(UiWindow& w, BOOL bChange) {
    HWND h = w.hwnd;
    ui::AddUpdate(w, nullptr, TRUE);
    ui::NotifyParent(w, EN_UPDATE);
    if (!bChange) return;
    if (UiWindow* again = ui::Find(h)) ui::NotifyParent(*again, EN_CHANGE);
}
}  // namespace

namespace ui {

BOOL EditProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    switch (message) {
    case WM_GETDLGCODE:
        r = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS | ((w.style & ES_MULTILINE) ? DLGC_WANTALLKEYS : 0);
        return TRUE;
    case WM_SETTEXT:
        w.text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        w.nSelStart = w.nSelEnd = 0;
        w.bModified = FALSE;
        Changed(w, !(w.style & ES_MULTILINE));
        r = TRUE;
        return TRUE;
    case EM_GETSEL: {
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(w.nSelStart);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(w.nSelEnd);
        r = MAKELONG(w.nSelStart, w.nSelEnd);
        return TRUE;
    }
    case EM_SETSEL: {
        int s = static_cast<int>(static_cast<intptr_t>(wParam)), e = static_cast<int>(lParam);
        int n = static_cast<int>(w.text.size());
        if (s < 0) {
            w.nSelStart = w.nSelEnd = n;   // remove the selection, caret at the end
        } else {
            if (e < 0) e = n;
            w.nSelStart = std::min(s, e);
            w.nSelEnd = std::max(s, e);
            ClampSel(w);
        }
        r = 0;
        return TRUE;
    }
    case EM_REPLACESEL: {
        ClampSel(w);
        std::string ins = lParam ? reinterpret_cast<const char*>(lParam) : "";
        size_t room = static_cast<size_t>(std::max(0, Limit(w) - static_cast<int>(w.text.size()) + (w.nSelEnd - w.nSelStart)));
        if (ins.size() > room) ins.resize(room);
        w.text.replace(static_cast<size_t>(w.nSelStart), static_cast<size_t>(w.nSelEnd - w.nSelStart), ins);
        w.nSelStart = w.nSelEnd = w.nSelStart + static_cast<int>(ins.size());
        w.bModified = TRUE;
        Changed(w, TRUE);
        r = 0;
        return TRUE;
    }
    case EM_LIMITTEXT:
        w.nLimit = static_cast<int>(wParam);
        r = 0;
        return TRUE;
    case EM_GETLIMITTEXT:
        r = Limit(w);
        return TRUE;
    case EM_SETREADONLY:
        if (wParam)
            w.style |= ES_READONLY;
        else
            w.style &= ~static_cast<DWORD>(ES_READONLY);
        r = TRUE;
        return TRUE;
    case EM_GETMODIFY:
        r = w.bModified;
        return TRUE;
    case EM_SETMODIFY:
        w.bModified = wParam != 0;
        r = 0;
        return TRUE;
    case EM_GETLINECOUNT:
        r = (w.style & ES_MULTILINE) ? 1 + std::count(w.text.begin(), w.text.end(), '\n') : 1;
        return TRUE;
    case WM_SETFOCUS:
        NotifyParent(w, EN_SETFOCUS);
        r = 0;
        return TRUE;
    case WM_KILLFOCUS:
        NotifyParent(w, EN_KILLFOCUS);
        r = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL EditUserText(HWND hEdit, LPCTSTR lpszText) {
    UiWindow* w = Find(hEdit);
    if (!w) return FALSE;
    if (w->style & (ES_READONLY | WS_DISABLED)) {
        Error("Typing into control %u was refused: it is read-only or disabled.", w->id);
        return FALSE;
    }
    std::string s = lpszText ? lpszText : "";
    if (w->style & ES_NUMBER) {
        for (char c : s)
            if (!std::isdigit(static_cast<unsigned char>(c))) {
                Error("Typing \"%s\" into control %u was refused: it accepts digits only.", s.c_str(), w->id);
                return FALSE;
            }
    }
    if (w->style & ES_UPPERCASE) std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    if (w->style & ES_LOWERCASE) std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    BOOL bCut = FALSE;
    if (static_cast<int>(s.size()) > Limit(*w)) {
        s.resize(static_cast<size_t>(CString::CharBoundary(s.c_str(), static_cast<int>(s.size()), Limit(*w))));
        bCut = TRUE;
    }
    w->text = s;
    w->nSelStart = w->nSelEnd = static_cast<int>(s.size());
    w->bModified = TRUE;
    Changed(*w, TRUE);
    if (bCut)
        if (UiWindow* again = Find(hEdit)) NotifyParent(*again, EN_MAXTEXT);
    return TRUE;
}

}  // namespace ui

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}
void CEdit::SetSel(int nStartChar, int nEndChar, BOOL) { SendMessage(EM_SETSEL, static_cast<WPARAM>(static_cast<intptr_t>(nStartChar)), nEndChar); }
void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll) {
    SetSel(static_cast<int>(static_cast<short>(LOWORD(dwSelection))), static_cast<int>(static_cast<short>(HIWORD(dwSelection))), bNoScroll);
}
DWORD CEdit::GetSel() const { return static_cast<DWORD>(SendMessage(EM_GETSEL)); }
void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    DWORD s = 0, e = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    nStartChar = static_cast<int>(s);
    nEndChar = static_cast<int>(e);
}
void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo) { SendMessage(EM_REPLACESEL, bCanUndo, reinterpret_cast<LPARAM>(lpszNewText)); }
void CEdit::LimitText(int nChars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
BOOL CEdit::SetReadOnly(BOOL bReadOnly) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, bReadOnly)); }
BOOL CEdit::GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
void CEdit::SetModify(BOOL bModified) { SendMessage(EM_SETMODIFY, bModified); }
int CEdit::GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
