// The dialog-template registry and building windows from templates.
#include "platform/ui/DialogTemplate.h"

#include <cstdlib>
#include <map>

#include "platform/gdi/afxgdi.h"
#include "platform/ui/UiWindow.h"
#include "platform/ui/uiapi.h"

namespace {

std::map<UINT, UiDlgTemplate>& Templates() {
    static auto* m = new std::map<UINT, UiDlgTemplate>;
    return *m;
}

struct KindInfo {
    const char* cls;
    DWORD style;
};

KindInfo Kind(UiCtl k) {
    const DWORD base = WS_CHILD | WS_VISIBLE;
    switch (k) {
    case UiCtl::Button: return {"BUTTON", base | WS_TABSTOP | BS_PUSHBUTTON};
    case UiCtl::DefButton: return {"BUTTON", base | WS_TABSTOP | BS_DEFPUSHBUTTON};
    case UiCtl::Check: return {"BUTTON", base | WS_TABSTOP | BS_AUTOCHECKBOX};
    case UiCtl::Radio: return {"BUTTON", base | BS_AUTORADIOBUTTON};
    case UiCtl::Group: return {"BUTTON", base | BS_GROUPBOX};
    case UiCtl::Edit: return {"EDIT", base | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL};
    case UiCtl::Static: return {"STATIC", base | SS_LEFT};
    case UiCtl::Combo: return {"COMBOBOX", base | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
    case UiCtl::ComboEdit: return {"COMBOBOX", base | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL};
    case UiCtl::ListBox: return {"LISTBOX", base | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY};
    case UiCtl::ListCtrl: return {"SysListView32", base | WS_TABSTOP | WS_BORDER | LVS_REPORT};
    case UiCtl::Tree: return {"SysTreeView32", base | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES};
    case UiCtl::Slider: return {"msctls_trackbar32", base | WS_TABSTOP | TBS_HORZ};
    case UiCtl::Spin: return {"msctls_updown32", base | UDS_ARROWKEYS};
    case UiCtl::Tab: return {"SysTabControl32", base | WS_TABSTOP};
    case UiCtl::Progress: return {"msctls_progress32", base | WS_BORDER};
    case UiCtl::Custom: return {nullptr, base | WS_TABSTOP};
    }
    return {"STATIC", base};
}

// One font per face and size, kept for the process (dialogs share them as resources do).
HFONT DialogFont(const UiDlgTemplate& t) {
    static auto& fonts = *new std::map<std::string, HFONT>;
    std::string face = t.fontName.empty() ? "MS Shell Dlg" : t.fontName;
    std::string key = face + "/" + std::to_string(t.nFontSize);
    auto it = fonts.find(key);
    if (it != fonts.end()) return it->second;
    LOGFONT lf{};
    lf.lfHeight = -MulDiv(t.nFontSize, 96, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    strncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    HFONT h = CreateFontIndirect(&lf);
    fonts[key] = h;
    return h;
}

}  // namespace

UiDlgItem MakeDlgItem(UINT nID, UiCtl kind, const char* caption, CRect rect, DWORD style) {
    UiDlgItem it;
    it.nID = nID;
    it.kind = kind;
    it.caption = caption;
    it.rect = rect;
    it.style = style;
    return it;
}

BOOL RegisterDialogTemplate(const UiDlgTemplate& tmpl) {
    for (size_t i = 0; i < tmpl.items.size(); ++i) {
        if (tmpl.items[i].kind == UiCtl::Custom && tmpl.items[i].className.empty()) {
            ui::Error("Dialog template %u: control %u is a custom control without a class name.", tmpl.nID, tmpl.items[i].nID);
            return FALSE;
        }
    }
    Templates()[tmpl.nID] = tmpl;
    return TRUE;
}

BOOL UnregisterDialogTemplate(UINT nID) { return Templates().erase(nID) > 0; }

const UiDlgTemplate* FindDialogTemplate(UINT nID) {
    auto it = Templates().find(nID);
    return it == Templates().end() ? nullptr : &it->second;
}

namespace ui {

UINT TemplateId(LPCTSTR lpszTemplateName, UINT nIDTemplate) {
    if (!lpszTemplateName) return nIDTemplate;
    if (IS_INTRESOURCE(lpszTemplateName)) return static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszTemplateName));
    if (lpszTemplateName[0] == '#') return static_cast<UINT>(strtoul(lpszTemplateName + 1, nullptr, 10));
    return nIDTemplate;
}

BOOL CreateFromTemplate(CWnd* pWnd, const UiDlgTemplate& t, HWND hParent, BOOL bChild) {
    DWORD style = t.style ? t.style : (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    if (bChild) style = (style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME)) | WS_CHILD;
    else style &= ~WS_CHILD;
    DWORD visible = style & WS_VISIBLE;
    style &= ~WS_VISIBLE;
    CRect client(0, 0, t.size.cx, t.size.cy);
    MapDialogRect(nullptr, &client);
    CRect frame = client;
    AdjustWindowRectEx(&frame, style, FALSE, (style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
    frame.OffsetRect(-frame.left, -frame.top);
    if (!pWnd->CreateEx((style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0, "#32770", t.caption.c_str(), style, 0, 0,
                        frame.Width(), frame.Height(), hParent, nullptr)) {
        Error("Dialog %u: its window could not be made.", t.nID);
        return FALSE;
    }
    HWND hDlg = pWnd->m_hWnd;
    HFONT hFont = DialogFont(t);
    Send(hDlg, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    for (const UiDlgItem& item : t.items) {
        KindInfo k = Kind(item.kind);
        const char* cls = item.kind == UiCtl::Custom ? item.className.c_str() : k.cls;
        DWORD s = (item.style ? item.style : k.style) | WS_CHILD;
        if (item.bHidden) s &= ~WS_VISIBLE;
        if (item.bDisabled) s |= WS_DISABLED;
        CRect r = item.rect;
        MapDialogRect(hDlg, &r);
        if (!FindClass(cls)) {
            Error("Dialog %u: control %u has the unknown window class \"%s\".", t.nID, item.nID, cls ? cls : "");
            DestroyWindow(hDlg);
            return FALSE;
        }
        // Controls are window objects of their own, wrapped on demand (FromHandle).
        CWnd* pCtl = new CWnd;
        if (!pCtl->CreateEx(item.exStyle, cls, item.caption.c_str(), s, r, pWnd, item.nID)) {
            delete pCtl;
            Error("Dialog %u: control %u could not be made.", t.nID, item.nID);
            DestroyWindow(hDlg);
            return FALSE;
        }
        HWND hCtl = pCtl->Detach();
        delete pCtl;
        Send(hCtl, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
        if (item.kind == UiCtl::Check || item.kind == UiCtl::Radio) Send(hCtl, BM_SETCHECK, static_cast<WPARAM>(item.nInitial), 0);
        if (item.kind == UiCtl::DefButton) Send(hDlg, DM_SETDEFID, item.nID, 0);
        if (item.nInitial && item.kind == UiCtl::Slider) Send(hCtl, TBM_SETPOS, TRUE, item.nInitial);
        if (item.nInitial && item.kind == UiCtl::Spin) Send(hCtl, UDM_SETPOS32, 0, item.nInitial);
        if (item.nInitial && item.kind == UiCtl::Progress) Send(hCtl, PBM_SETPOS, static_cast<WPARAM>(item.nInitial), 0);
    }
    if (!Find(hDlg)) return FALSE;
    // The first control that takes the tab stop gets the focus unless the dialog sets it.
    HWND hFirst = nullptr;
    if (UiWindow* w = Find(hDlg))
        for (HWND k : w->children) {
            UiWindow* c = Find(k);
            if (c && (c->style & WS_TABSTOP) && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED)) {
                hFirst = k;
                break;
            }
        }
    LRESULT r = Send(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(hFirst), 0);
    if (!Find(hDlg)) return FALSE;
    if (r && hFirst && Find(hFirst)) SetFocusHandle(hFirst);
    if (visible) ::ShowWindow(hDlg, SW_SHOW);
    return Find(hDlg) != nullptr;
}

}  // namespace ui
