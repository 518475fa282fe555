// The built-in window classes: generic windows, dialogs, the MDI client and the controls, with
// the wrapper object FromHandle makes for each.
#include <algorithm>

#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CTreeCtrl.h"
#include "platform/ui/CommonCtrls.h"
#include "platform/ui/UiWindow.h"

namespace {

template <class T>
CWnd* Make() {
    return new T;
}

const int kWhite = static_cast<int>(RGB(255, 255, 255));
const int kFace = static_cast<int>(RGB(240, 240, 240));

BOOL DialogProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM, LRESULT& r) {
    switch (message) {
    case DM_GETDEFID:
        r = MAKELONG(w.nDefID, DC_HASDEFID);
        return TRUE;
    case DM_SETDEFID:
        w.nDefID = static_cast<UINT>(wParam);
        r = TRUE;
        return TRUE;
    case WM_INITDIALOG:
        r = TRUE;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL ActivateChild(UiWindow& client, HWND hNew) {
    HWND hOld = client.hMdiActive;
    if (hOld == hNew) return TRUE;
    if (hNew && !::IsChild(client.hwnd, hNew)) return FALSE;
    client.hMdiActive = hNew;
    HWND hClient = client.hwnd;
    if (ui::Find(hOld)) ui::Send(hOld, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hOld), reinterpret_cast<LPARAM>(hNew));
    if (ui::Find(hNew) && ui::Find(hClient)) ui::Send(hNew, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hOld), reinterpret_cast<LPARAM>(hNew));
    return TRUE;
}

}  // namespace

namespace ui {

BOOL MdiClientProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    switch (message) {
    case WM_MDIACTIVATE:
        ActivateChild(w, reinterpret_cast<HWND>(wParam));
        r = 0;
        return TRUE;
    case WM_MDIGETACTIVE: {
        UiWindow* a = Find(w.hMdiActive);
        if (lParam) *reinterpret_cast<BOOL*>(lParam) = a && (a->style & WS_MAXIMIZE);
        r = reinterpret_cast<LRESULT>(a ? w.hMdiActive : nullptr);
        return TRUE;
    }
    case WM_MDIDESTROY:
        Destroy(reinterpret_cast<HWND>(wParam));
        r = 0;
        return TRUE;
    case WM_MDINEXT: {
        if (w.children.size() > 1) {
            auto it = std::find(w.children.begin(), w.children.end(), w.hMdiActive);
            size_t i = it == w.children.end() ? 0 : static_cast<size_t>(it - w.children.begin());
            ActivateChild(w, w.children[(i + 1) % w.children.size()]);
        }
        r = 0;
        return TRUE;
    }
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_DESTROY && reinterpret_cast<HWND>(lParam) == w.hMdiActive) {
            // The active child is going: the most recent other child takes its place.
            HWND next = nullptr;
            for (HWND h : w.children)
                if (h != w.hMdiActive) next = h;
            w.hMdiActive = nullptr;
            if (next) ActivateChild(w, next);
        }
        r = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

void RegisterBuiltinClasses() {
    const UiWindowClass table[] = {
        {"AfxWnd", nullptr, nullptr, CS_DBLCLKS, kWhite},
        {"AfxFrameOrView", nullptr, nullptr, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, kWhite},
        {"AfxMDIFrame", nullptr, nullptr, CS_DBLCLKS, kFace},
        {"AfxControlBar", nullptr, nullptr, 0, kFace},
        {"#32770", DialogProc, nullptr, CS_DBLCLKS | CS_SAVEBITS, kFace},
        {"MDICLIENT", MdiClientProc, nullptr, 0, static_cast<int>(RGB(171, 171, 171))},
        {"BUTTON", ButtonProc, &Make<CButton>, CS_DBLCLKS, kFace},
        {"STATIC", StaticProc, &Make<CStatic>, 0, kFace},
        {"EDIT", EditProc, &Make<CEdit>, CS_DBLCLKS, kWhite},
        {"COMBOBOX", ComboProc, &Make<CComboBox>, CS_DBLCLKS, kWhite},
        {"LISTBOX", ListBoxProc, &Make<CListBox>, CS_DBLCLKS, kWhite},
        {"SCROLLBAR", nullptr, &Make<CScrollBar>, CS_DBLCLKS, kFace},
        {"SysListView32", ListViewProc, &Make<CListCtrl>, CS_DBLCLKS, kWhite},
        {"SysTreeView32", TreeViewProc, &Make<CTreeCtrl>, CS_DBLCLKS, kWhite},
        {"msctls_trackbar32", TrackBarProc, &Make<CSliderCtrl>, 0, kFace},
        {"msctls_updown32", UpDownProc, &Make<CSpinButtonCtrl>, 0, kFace},
        {"SysTabControl32", TabProc, &Make<CTabCtrl>, CS_DBLCLKS, kFace},
        {"msctls_progress32", ProgressProc, &Make<CProgressCtrl>, 0, kFace},
    };
    for (const auto& c : table) RegisterClass(c);
}

}  // namespace ui
