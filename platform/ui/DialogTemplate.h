// Dialog templates: the module's dialogs as data, registered by id when its resources load.
//
// A template gives the dialog's size in dialog units, caption, font and its controls in tab
// order: id, kind, caption, style, rectangle in dialog units and initial state. Dialogs, form
// views and property pages are built from these; dialog units become pixels with the fixed
// base units of uiapi.h. A control's style of 0 takes its kind's usual style; any other value
// is the full style (WS_CHILD is always added). Registering an id again replaces the template.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/CWnd.h"

enum class UiCtl {
    Button,      // push button
    DefButton,   // default push button
    Check,       // automatic check box
    Radio,       // automatic radio button
    Group,       // group box
    Edit,
    Static,
    Combo,       // drop-down list
    ComboEdit,   // drop-down with an edit field
    ListBox,
    ListCtrl,
    Tree,
    Slider,
    Spin,
    Tab,
    Progress,
    Custom,      // className names a registered window class
};

struct UiDlgItem {
    UINT nID = 0;
    UiCtl kind = UiCtl::Static;
    std::string caption;
    DWORD style = 0;       // 0: the kind's usual style
    CRect rect;            // dialog units
    int nInitial = 0;      // check boxes and radios: check state; sliders, spins, progress: position
    BOOL bHidden = FALSE;
    BOOL bDisabled = FALSE;
    std::string className; // UiCtl::Custom only
    DWORD exStyle = 0;
};

struct UiDlgTemplate {
    UINT nID = 0;
    CSize size;            // dialog units
    std::string caption;
    std::string fontName;  // empty: the default dialog font
    int nFontSize = 9;     // points
    DWORD style = 0;       // 0: a modal frame with caption and system menu
    std::vector<UiDlgItem> items;
};

// One control of a template: id, kind, caption, rectangle in dialog units and style (0: the
// kind's usual style).
UiDlgItem MakeDlgItem(UINT nID, UiCtl kind, const char* caption, CRect rect, DWORD style = 0);

BOOL RegisterDialogTemplate(const UiDlgTemplate& tmpl);
BOOL UnregisterDialogTemplate(UINT nID);
const UiDlgTemplate* FindDialogTemplate(UINT nID);

namespace ui {
// Creates pWnd's window from a template (child of hParent when bChild, else a pop-up owned by
// it), its controls and font, then sends WM_INITDIALOG. FALSE (with a reported error) when the
// window or a control could not be made.
BOOL CreateFromTemplate(CWnd* pWnd, const UiDlgTemplate& tmpl, HWND hParent, BOOL bChild);
// The dialog, view or page's template id from its name (a MAKEINTRESOURCE or "#123").
UINT TemplateId(LPCTSTR lpszTemplateName, UINT nIDTemplate);
}
