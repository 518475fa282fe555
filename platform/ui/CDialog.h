// CDialog: a dialog built from a registered template, modal (DoModal) or modeless (Create).
//
// DoModal creates the dialog and its controls, calls OnInitDialog (which fills the controls
// with UpdateData(FALSE)), shows it and then, since no person is there, plays the script that
// CUiDriver holds for the template id or the dialog's class name: each step sets controls like
// a user and may press OK or Cancel. OnOK validates with UpdateData(TRUE) and keeps the dialog
// open when a value is refused; when the steps run out with the dialog still open, it is
// cancelled (OnCancel, then EndDialog(IDCANCEL)). Without a script DoModal returns IDCANCEL.
// A template that is not registered makes DoModal return -1 with a reported error.
#pragma once

#include "platform/ui/CWnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Ends a modal dialog with nResult; a modeless dialog is hidden.
    void EndDialog(int nResult);

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    BOOL IsModal() const { return m_bModal; }
    BOOL IsEnded() const { return m_bEnded; }
    UINT GetTemplateId() const { return m_nIDHelp; }

    LPCTSTR m_lpszTemplateName;
    UINT m_nIDHelp;          // template id
    CWnd* m_pParentWnd;

protected:
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg void OnOKCommand() { OnOK(); }
    afx_msg void OnCancelCommand() { OnCancel(); }
    DECLARE_MESSAGE_MAP()

    BOOL m_bModal;
    BOOL m_bEnded;
    int m_nModalResult;
};

namespace ui {
// The dialog keys of a dialog-like window: Return presses the focused push button or the
// default button, Escape presses Cancel, Tab moves the focus. TRUE when the key was used.
BOOL IsDialogMessage(CWnd* pDlg, MSG* pMsg);
// The name a script is queued under: the object's class name without namespaces.
CString ClassNameOf(const CObject* pObject);
}
