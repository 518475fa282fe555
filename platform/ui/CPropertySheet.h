// CPropertyPage and CPropertySheet: tabbed pages of settings in one window.
//
// A page is a child dialog made from its template the first time it becomes active. Changing
// pages asks the old page OnKillActive (which validates with UpdateData(TRUE); FALSE keeps the
// page) and the new one OnSetActive. OK validates the active page, then applies every page
// made (OnApply, which calls OnOK) and ends with IDOK; Apply does the same without closing and
// clears the modified state; Cancel calls OnCancel on every page. DoModal plays the script
// CUiDriver holds for the sheet's class name (template id 0).
#pragma once

#include <vector>

#include "platform/ui/CDialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);

    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset() {}
    void OnOK() override {}
    void OnCancel() override { OnReset(); }
    void SetModified(BOOL bChanged = TRUE);
    BOOL IsModified() const { return m_bModified; }
    CPropertySheet* GetSheet() const { return m_pSheet; }
    CString m_strCaption;

private:
    friend class CPropertySheet;
    CPropertySheet* m_pSheet = nullptr;
    BOOL m_bModified = FALSE;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(LPCTSTR pszCaption = nullptr, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const { return m_nActive; }
    int GetPageIndex(CPropertyPage* pPage) const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }
    void SetTitle(LPCTSTR lpszText) { m_strCaption = lpszText ? lpszText : ""; }
    BOOL IsApplyEnabled() const;   // some page is modified

    virtual INT_PTR DoModal();
    BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
    void EndDialog(int nEndID);
    BOOL IsEnded() const { return m_bEnded; }

protected:
    afx_msg void OnOKButton();
    afx_msg void OnCancelButton();
    afx_msg void OnApplyButton();
    DECLARE_MESSAGE_MAP()

private:
    BOOL Apply();
    std::vector<CPropertyPage*> m_pages;
    CString m_strCaption;
    CWnd* m_pParentWnd;
    int m_nActive;
    BOOL m_bModal = FALSE;
    BOOL m_bEnded = FALSE;
    int m_nResult = -1;
};

#define ID_APPLY_NOW 0x3021
