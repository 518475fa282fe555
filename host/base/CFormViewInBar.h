// CFormViewInBar: a form view that lives in the host's docking bar (a module's result bars).
//
// The host's docking bar makes the module's form view by run-time class, creates its window
// from its template inside the bar, calls OnInitialUpdate and then asks it to show a result id
// (ShowChildDlgByMode); OnChangeBarTab follows when the bar's tab turns back to it. A module's
// form view overrides those two. GetBarResults tells the host which results the view offers and
// which page class shows each; GetControlNames gives the short names of its controls that the
// host program accepts in place of their ids. The host reaches these through this base alone,
// without the module's headers.
//
//     CObject* p = CRuntimeClass::CreateObject("CPVXBarContainerReac");
//     auto* view = dynamic_cast<CFormViewInBar*>(p);
//     view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, bar, AFX_IDW_PANE_FIRST);
//     view->OnInitialUpdate();
//     view->ShowChildDlgByMode(7101);
#pragma once

#include <vector>

#include "platform/ui/CView.h"

// A result a docked form view offers.
struct CBarResultInfo {
    int nResultId;             // 7101 ...
    const char* pszPageClass;  // run-time class name of the page that shows it
    const char* pszTitleKey;   // string key of its title; null when it has none
};

// A short name of a control, for the host program's command line.
struct CBarControlName {
    UINT nID;                  // control id
    const char* pszName;       // lower case, no spaces
};

// A dialog whose controls have short names for the host program's command line (the option
// dialogs a bar page opens).
class IHostControlNames {
public:
    virtual ~IHostControlNames() = default;
    virtual std::vector<CBarControlName> GetControlNames() const = 0;
};

class CFormViewInBar : public CFormView {
    DECLARE_DYNAMIC(CFormViewInBar)
public:
    explicit CFormViewInBar(UINT nIDTemplate);
    explicit CFormViewInBar(LPCTSTR lpszTemplateName);
    ~CFormViewInBar() override;

    // Shows the page of a result id; a form view without pages does nothing.
    virtual void ShowChildDlgByMode(int nResultId);
    // The bar's tab turned back to this view.
    virtual void OnChangeBarTab();
    // The results offered, in the order the view lists them.
    virtual std::vector<CBarResultInfo> GetBarResults() const;
    // Short names of the view's own controls (not those of its pages).
    virtual std::vector<CBarControlName> GetControlNames() const;
    // The page window shown in the view; null when none.
    virtual CWnd* GetShownPageWnd() const;
};
