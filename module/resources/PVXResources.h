// The results module's resources as data compiled into the module: the string table (message
// keys to Simplified Chinese texts, and the numbered prompts of the commands), the menus and
// the dialog templates.
//
// The module's start-up registers them with the platform's and the host's registries when the
// library is loaded and removes them again when it is unloaded, so a menu or text of the module
// can only be found while its code is in the process:
//
//   PVXRegisterResources();     // at load: non-zero when everything was registered
//   ...
//   PVXUnregisterResources();   // at unload
#pragma once

#include <vector>

#include "host/base/CMsgDll.h"
#include "platform/ui/CMenu.h"

struct UiDlgTemplate;

// A numbered string of the string table: a command's status prompt, a line feed and its tip.
struct PVXNumberedString {
    UINT nID;
    const char* pszText;  // UTF-8
};

// The tables (valid for the life of the module).
const CMsgDll::StringEntry* PVXGetStringTable(int& nCount);
const PVXNumberedString* PVXGetNumberedStrings(int& nCount);
// The context menu of the result view (one popup "PVXCtxt2").
std::vector<UiMenuTemplateItem> PVXGetContextMenu();
// The graph view's right-click menu (one popup "Graph Menu") and its property dialog.
std::vector<UiMenuTemplateItem> PVXGetGraphMenu();
UiDlgTemplate PVXGetGraphPropertyTemplate();
// The animation tool bar's items (buttons of 16 x 15 pixels; 0 is a separator).
std::vector<UINT> PVXGetAnimationToolBar();
// The dialog templates the module brings; those of the docked result bars among them.
const std::vector<UiDlgTemplate>& PVXGetDialogTemplates();
const std::vector<UiDlgTemplate>& PVXGetBarDialogTemplates();
// The wall force, wall diagram, plate force and plate stress pages of the member bar.
const std::vector<UiDlgTemplate>& PVXGetWallPlateDialogTemplates();
// The story shear page and the slab strip page.
const std::vector<UiDlgTemplate>& PVXGetStoryStripDialogTemplates();
// The system bar's pages, the frame force pages and their option dialogs.
const std::vector<UiDlgTemplate>& PVXGetDeformFrameDialogTemplates();
// The animation options dialog (PVXAnimationDialogs.cpp).
const std::vector<UiDlgTemplate>& PVXGetAnimationDialogTemplates();
// The slab pages' templates (PVXSlabDialogs.cpp).
const std::vector<UiDlgTemplate>& PVXGetSlabDialogTemplates();

// Text of a numbered string; FALSE when the module has no such id.
BOOL PVXLoadNumberedString(UINT nID, CString& rString);

// The Rayleigh damping dialog and its chart range dialog (PVXDampingDialogs.cpp).
const std::vector<UiDlgTemplate>& PVXGetDampingDialogTemplates();

// The figure panel, its pages and the owner-type selector (PVXFigurePanelDialogs.cpp).
const std::vector<UiDlgTemplate>& PVXGetFigurePanelDialogTemplates();

// Registers everything; non-zero when every part was registered (failures are reported on
// stderr). Calling it again while registered does nothing and answers non-zero.
int PVXRegisterResources();
// Removes whatever PVXRegisterResources registered.
void PVXUnregisterResources();
