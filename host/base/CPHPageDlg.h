// CPHPageDlg and CChangePHPage: the pages of a docked form view and the switch between them.
//
// A page is a child dialog made from its template inside its owner (the form view), at the
// place of the owner's place-holder control; only one page shows at a time. The owner keeps its
// pages by key (a result id) in a CChangePHPage and shows one with ShowCurChildDlg, which makes
// the page's window the first time (OnInitDialog runs then) and hides the page shown before.
// A page does not end like a dialog: Return and Escape leave it open.
//
//     m_pages.SetPlaceHolder(this, 10646);
//     m_pages.SetChildPage(7101, pPage);
//     m_pages.ShowCurChildDlg(7101, 2, 0);   // made, placed and shown
#pragma once

#include <utility>
#include <vector>

#include "host/base/CFormViewInBar.h"
#include "platform/ui/CDialog.h"

class CPHPageDlg : public CDialog {
    DECLARE_DYNAMIC(CPHPageDlg)
public:
    CPHPageDlg(UINT nIDTemplate, CWnd* pParent);
    ~CPHPageDlg() override;

    // Makes the page's window from its template as a child of pParent with its top-left at
    // ptTopLeft (pParent's client coordinates), hidden; OnInitDialog runs. FALSE, with a
    // reported error, when the template is missing or the window cannot be made.
    BOOL CreatePage(CWnd* pParent, CPoint ptTopLeft);
    // Short names of the page's controls that the host program accepts in place of their ids.
    virtual std::vector<CBarControlName> GetControlNames() const;

    // A page stays open on Return and Escape.
    void OnOK() override;
    void OnCancel() override;
};

class CChangePHPage {
public:
    // How ShowCurChildDlg places a page.
    enum {
        PH_FILL = 1,      // over the place holder's rectangle
        PH_OWN_SIZE = 2,  // at its own size, its top-left at the place holder's top-left
    };

    CChangePHPage();
    virtual ~CChangePHPage();
    CChangePHPage(const CChangePHPage&) = delete;
    CChangePHPage& operator=(const CChangePHPage&) = delete;

    // The window the pages belong to and its place-holder control.
    void SetPlaceHolder(CWnd* pOwner, UINT nIDPlaceHolder);
    // Registers a page under a key; a page already under that key is replaced (not deleted).
    void SetChildPage(int nKey, CPHPageDlg* pPage);
    // The page of a key; null when none.
    CPHPageDlg* GetChildPage(int nKey) const;
    // Shows the page of nKey placed by nPlacement (PH_*), making its window when it has none,
    // and hides every other page; nFocus non-zero gives it the focus. FALSE, with nothing
    // changed, when no page is registered under the key or its window cannot be made.
    BOOL ShowCurChildDlg(int nKey, int nPlacement, int nFocus);
    // The page shown and its key; null and -1 when none.
    CPHPageDlg* GetCurChildPage() const;
    int GetCurChildKey() const { return m_nCurKey; }
    // Forgets every page (the pages are not deleted).
    void RemoveAllChildPages();

private:
    std::vector<std::pair<int, CPHPageDlg*>> m_pages;  // by key, in registration order
    CWnd* m_pOwner = nullptr;
    UINT m_nIDPlaceHolder = 0;
    int m_nCurKey = -1;
};
