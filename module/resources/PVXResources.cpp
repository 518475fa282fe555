// Registration of the module's resources with the platform's and the host's registries.
#include "module/resources/PVXResources.h"

#include <cstdio>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/ui/CBCGPToolBar.h"
#include "platform/ui/DialogTemplate.h"
#include "module/resources/PVXResourceIds.h"

// The contour and legend settings dialogs' templates and images (PVXContourDialogs.cpp); ids go
// into registered so they are unregistered with the others.
int PVXRegisterContourDialogs(std::vector<UINT>& registered);

namespace {

struct Registration {
    BOOL bStrings = FALSE;
    BOOL bLoader = FALSE;
    AFX_STRING_LOADER pfnPrevious = nullptr;  // loader that answered before the module's
    std::vector<UINT> menus;
    std::vector<UINT> dialogs;
    BOOL bToolBar = FALSE;
};

Registration& State() {
    static Registration s_state;
    return s_state;
}

// Numbered strings of the module first, then whatever loader was installed before it.
BOOL ModuleStringLoader(UINT nID, CString& rString) {
    if (PVXLoadNumberedString(nID, rString)) return TRUE;
    AFX_STRING_LOADER pfn = State().pfnPrevious;
    return pfn ? pfn(nID, rString) : FALSE;
}

}  // namespace

BOOL PVXLoadNumberedString(UINT nID, CString& rString) {
    int n = 0;
    const PVXNumberedString* table = PVXGetNumberedStrings(n);
    for (int i = 0; i < n; ++i)
        if (table[i].nID == nID) {
            rString = table[i].pszText;
            return TRUE;
        }
    return FALSE;
}

int PVXRegisterResources() {
    Registration& s = State();
    int ok = 1;
    if (!s.bStrings) {
        int n = 0;
        const CMsgDll::StringEntry* table = PVXGetStringTable(n);
        s.bStrings = CMsgDll::RegisterStringTable(table, n);
        if (!s.bStrings) {
            AfxDiagnostic("qsn_pvx", "the module's string table could not be registered with the host's string "
                                     "loader; texts will show as their keys.");
            ok = 0;
        }
    }
    if (!s.bLoader) {
        s.pfnPrevious = CString::SetStringLoader(ModuleStringLoader);
        s.bLoader = TRUE;
    }
    if (s.menus.empty()) {
        const std::pair<UINT, std::vector<UiMenuTemplateItem>> menus[] = {
            {IDR_PVX_CONTEXT_MENU, PVXGetContextMenu()},
            {IDR_PVX_GRAPH_MENU, PVXGetGraphMenu()},
        };
        for (const auto& m : menus) {
            if (RegisterMenuTemplate(m.first, m.second)) {
                s.menus.push_back(m.first);
            } else {
                AfxDiagnostic("qsn_pvx", "the menu %u could not be registered.", m.first);
                ok = 0;
            }
        }
    }
    if (!s.bToolBar) s.bToolBar = RegisterToolBarResource(IDR_PVX_ANIMATION_TOOLBAR, PVXGetAnimationToolBar(), CSize(16, 15));
    if (s.dialogs.empty()) {
        for (const UiDlgTemplate& t : PVXGetDialogTemplates()) {
            if (RegisterDialogTemplate(t)) {
                s.dialogs.push_back(t.nID);
            } else {
                AfxDiagnostic("qsn_pvx", "the dialog template %u could not be registered.", t.nID);
                ok = 0;
            }
        }
        if (!PVXRegisterContourDialogs(s.dialogs)) ok = 0;
    }
    return ok;
}

void PVXUnregisterResources() {
    Registration& s = State();
    for (UINT id : s.dialogs) UnregisterDialogTemplate(id);
    s.dialogs.clear();
    for (UINT id : s.menus) UnregisterMenuTemplate(id);
    s.menus.clear();
    if (s.bToolBar) UnregisterToolBarResource(IDR_PVX_ANIMATION_TOOLBAR);
    s.bToolBar = FALSE;
    if (s.bLoader) {
        AFX_STRING_LOADER current = CString::SetStringLoader(s.pfnPrevious);
        if (current != ModuleStringLoader) {
            // A loader installed after the module's stays; it may still pass ids on to ours.
            CString::SetStringLoader(current);
            AfxDiagnostic("qsn_pvx", "another string loader was installed after the module's and stays in "
                                     "place; unload that library first.");
        }
        s.bLoader = FALSE;
        s.pfnPrevious = nullptr;
    }
    if (s.bStrings) {
        int n = 0;
        CMsgDll::UnregisterStringTable(PVXGetStringTable(n));
        s.bStrings = FALSE;
    }
}
