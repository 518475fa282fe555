// System metrics, window-class names, resource handles, message boxes and cursors.
#include "platform/ui/uiapi.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <map>
#include <string>

#include "platform/gdi/afxgdi.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/UiWindow.h"

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXSCREEN: case SM_CXVIRTUALSCREEN: return 1920;
    case SM_CYSCREEN: case SM_CYVIRTUALSCREEN: return 1080;
    case SM_CXFULLSCREEN: return 1920;
    case SM_CYFULLSCREEN: return 1080 - 23 - 40;
    case SM_CXMAXIMIZED: return 1920 + 2 * 4;
    case SM_CYMAXIMIZED: return 1040 + 2 * 4;
    case SM_CXMAXTRACK: return 1920 + 2 * 4 + 12;
    case SM_CYMAXTRACK: return 1080 + 2 * 4 + 12;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 17;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 23;
    case SM_CYSMCAPTION: return 23;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 20;
    case SM_CXSIZE: case SM_CYSIZE: return 23;
    case SM_CXMIN: return 136;
    case SM_CYMIN: return 39;
    case SM_CXMINTRACK: return 136;
    case SM_CYMINTRACK: return 39;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_MOUSEPRESENT: return 1;
    case SM_CMONITORS: return 1;
    default: return 0;
    }
}

BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
    if (!lpRect) return FALSE;
    CRect in = ui::NonClientInsets(dwStyle, dwExStyle);
    if (bMenu && !(dwStyle & WS_CHILD)) in.top += GetSystemMetrics(SM_CYMENU);
    lpRect->left -= in.left;
    lpRect->top -= in.top;
    lpRect->right += in.right;
    lpRect->bottom += in.bottom;
    return TRUE;
}

BOOL MapDialogRect(HWND, LPRECT lpRect) {
    if (!lpRect) return FALSE;
    lpRect->left = MulDiv(lpRect->left, UI_DLG_BASE_X, 4);
    lpRect->right = MulDiv(lpRect->right, UI_DLG_BASE_X, 4);
    lpRect->top = MulDiv(lpRect->top, UI_DLG_BASE_Y, 8);
    lpRect->bottom = MulDiv(lpRect->bottom, UI_DLG_BASE_Y, 8);
    return TRUE;
}

// Colour a class background brush paints with, -1 for none.
static int BrushColour(HBRUSH hbr) {
    if (!hbr) return -1;
    uintptr_t v = reinterpret_cast<uintptr_t>(hbr);
    if (v <= 31) {
        // A system colour index + 1.
        switch (v - 1) {
        case 15: return static_cast<int>(RGB(240, 240, 240));   // button face
        case 12: return static_cast<int>(RGB(171, 171, 171));   // application workspace
        default: return static_cast<int>(RGB(255, 255, 255));
        }
    }
    LOGBRUSH lb{};
    if (GetObject(hbr, sizeof lb, &lb) != sizeof lb) return static_cast<int>(RGB(255, 255, 255));
    if (lb.lbStyle == BS_NULL) return -1;
    return static_cast<int>(lb.lbColor & 0xFFFFFF);
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    char name[128];
    snprintf(name, sizeof name, "Afx:%x:%p:%p:%p", nClassStyle, static_cast<void*>(hCursor),
             static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    UiWindowClass cls;
    cls.name = name;
    cls.pfnProc = nullptr;
    cls.pfnWrapper = nullptr;
    cls.style = nClassStyle;
    cls.nBackground = BrushColour(hbrBackground);
    ui::FindClass(nullptr);   // built-in classes first
    return ui::RegisterClass(cls)->name.c_str();
}

namespace {
HINSTANCE g_hResource = nullptr;
HINSTANCE ProcessHandle() { return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x00400000)); }
}  // namespace

HINSTANCE AfxGetInstanceHandle() { return ProcessHandle(); }
HINSTANCE AfxGetResourceHandle() { return g_hResource ? g_hResource : ProcessHandle(); }
void AfxSetResourceHandle(HINSTANCE hInstResource) { g_hResource = hInstResource; }
HINSTANCE AfxFindResourceHandle(LPCTSTR, LPCTSTR) { return AfxGetResourceHandle(); }

int MessageBox(HWND hWnd, LPCTSTR lpText, LPCTSTR lpCaption, UINT uType) {
    return CUiDriver::Get().AnswerMessageBox(hWnd, lpText, lpCaption ? lpCaption : "Error", uType);
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
    CWnd* pMain = AfxGetMainWnd();
    return CUiDriver::Get().AnswerMessageBox(pMain ? pMain->m_hWnd : nullptr, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    if (!text.LoadString(nIDPrompt)) text.Format("String %u is missing from the string table.", nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp);
}

void MessageBeep(UINT) {}

HCURSOR LoadCursor(HINSTANCE, LPCTSTR lpCursorName) {
    uintptr_t id = reinterpret_cast<uintptr_t>(lpCursorName);
    return reinterpret_cast<HCURSOR>(0x7F000000u + (IS_INTRESOURCE(lpCursorName) ? id : 1));
}

namespace {
HCURSOR g_hCursor = nullptr;
}

HCURSOR SetCursor(HCURSOR hCursor) {
    HCURSOR old = g_hCursor;
    g_hCursor = hCursor;
    return old;
}

HICON LoadIcon(HINSTANCE, LPCTSTR lpIconName) {
    uintptr_t id = reinterpret_cast<uintptr_t>(lpIconName);
    return reinterpret_cast<HICON>(0x7E000000u + (IS_INTRESOURCE(lpIconName) ? id : 1));
}

UINT RegisterWindowMessage(LPCTSTR lpString) {
    static auto& names = *new std::map<std::string, UINT>;
    if (!lpString || !*lpString) return 0;
    auto it = names.find(lpString);
    if (it != names.end()) return it->second;
    UINT id = 0xC000 + static_cast<UINT>(names.size());
    if (id > 0xFFFF) return 0;
    names[lpString] = id;
    return id;
}

BOOL CopyFile(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName, BOOL bFailIfExists) {
    if (!lpExistingFileName || !lpNewFileName) return FALSE;
    struct stat st {};
    if (bFailIfExists && stat(lpNewFileName, &st) == 0) {
        ui::Error("CopyFile: \"%s\" already exists and was kept.", lpNewFileName);
        return FALSE;
    }
    std::ifstream in(lpExistingFileName, std::ios::binary);
    if (!in) {
        ui::Error("CopyFile: \"%s\" cannot be read: %s.", lpExistingFileName, strerror(errno));
        return FALSE;
    }
    // Written beside the target first, so a failed copy never leaves half a file in its place.
    std::string tmp = std::string(lpNewFileName) + ".part";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) {
            ui::Error("CopyFile: \"%s\" cannot be written: %s.", lpNewFileName, strerror(errno));
            return FALSE;
        }
        if (in.peek() != std::char_traits<char>::eof()) out << in.rdbuf();
        out.flush();
        if (!out || in.bad()) {
            out.close();
            std::remove(tmp.c_str());
            ui::Error("CopyFile: copying \"%s\" to \"%s\" failed (disk full?).", lpExistingFileName, lpNewFileName);
            return FALSE;
        }
    }
    if (std::rename(tmp.c_str(), lpNewFileName) != 0) {
        std::remove(tmp.c_str());
        ui::Error("CopyFile: \"%s\" cannot be replaced: %s.", lpNewFileName, strerror(errno));
        return FALSE;
    }
    return TRUE;
}
