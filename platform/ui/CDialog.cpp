// Dialogs: creation from templates, the scripted modal loop, OK/Cancel, dialog keys.
#include "platform/ui/CDialog.h"

#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>

#include "platform/ui/CButton.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/UiWindow.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOKCommand)
    ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog() : CDialog(0u, nullptr) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(nullptr), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd), m_bModal(FALSE), m_bEnded(FALSE),
      m_nModalResult(-1) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_nIDHelp(ui::TemplateId(lpszTemplateName, 0)), m_pParentWnd(pParentWnd),
      m_bModal(FALSE), m_bEnded(FALSE), m_nModalResult(-1) {}

CDialog::~CDialog() = default;

namespace ui {

CString ClassNameOf(const CObject* pObject) {
    int status = 0;
    const char* mangled = typeid(*pObject).name();
    char* name = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string full = status == 0 && name ? name : mangled;
    free(name);
    // Scripts name classes without namespaces: "ns::CMyDlg" and "(anonymous namespace)::CMyDlg" are "CMyDlg".
    size_t colon = full.rfind("::");
    return CString((colon == std::string::npos ? full : full.substr(colon + 2)).c_str());
}

BOOL IsDialogMessage(CWnd* pDlg, MSG* pMsg) {
    if (!pDlg || !pMsg || pMsg->message != WM_KEYDOWN) return FALSE;
    if (pMsg->hwnd != pDlg->m_hWnd && !::IsChild(pDlg->m_hWnd, pMsg->hwnd)) return FALSE;
    UiWindow* target = Find(pMsg->hwnd);
    LRESULT code = target ? Send(pMsg->hwnd, WM_GETDLGCODE, pMsg->wParam, reinterpret_cast<LPARAM>(pMsg)) : 0;
    if (code & DLGC_WANTALLKEYS) return FALSE;
    switch (pMsg->wParam) {
    case VK_RETURN: {
        UINT id = IDOK;
        if (target && (code & DLGC_BUTTON) && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
            id = target->id;
        } else {
            LRESULT def = Send(pDlg->m_hWnd, DM_GETDEFID, 0, 0);
            if (HIWORD(def) == DC_HASDEFID) id = LOWORD(def);
        }
        HWND hBtn = ::GetDlgItem(pDlg->m_hWnd, static_cast<int>(id));
        UiWindow* b = Find(hBtn);
        if (b && (b->style & WS_DISABLED)) return TRUE;
        Send(pDlg->m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hBtn));
        return TRUE;
    }
    case VK_ESCAPE: {
        HWND hBtn = ::GetDlgItem(pDlg->m_hWnd, IDCANCEL);
        Send(pDlg->m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(hBtn));
        return TRUE;
    }
    case VK_TAB: {
        if (code & DLGC_WANTTAB) return FALSE;
        BOOL back = (CUiDriver::Get().KeyState(VK_SHIFT, FALSE) & 0x8000) != 0;
        CWnd* next = pDlg->GetNextDlgTabItem(CWnd::FromHandle(FocusHandle()), back);
        if (next) next->SetFocus();
        return TRUE;
    }
    default:
        return FALSE;
    }
}

}  // namespace ui

INT_PTR CDialog::DoModal() {
    UINT id = ui::TemplateId(m_lpszTemplateName, m_nIDHelp);
    CString cls = ui::ClassNameOf(this);
    const UiDlgTemplate* t = FindDialogTemplate(id);
    if (!t) {
        ui::Error("DoModal: dialog template %u (%s) is not registered.", id, static_cast<LPCTSTR>(cls));
        CUiDriver::Get().RecordModal(id, cls, -1);
        return -1;
    }
    if (m_hWnd) {
        ui::Error("DoModal: dialog %u is already open.", id);
        return -1;
    }
    CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND hParent = pParent ? pParent->GetSafeHwnd() : nullptr;
    if (hParent && !::IsWindow(hParent)) hParent = nullptr;
    // The owner is disabled while the dialog runs, as a modal dialog does.
    HWND hOwnerTop = hParent;
    while (UiWindow* o = ui::Find(hOwnerTop)) {
        if (!(o->style & WS_CHILD)) break;
        hOwnerTop = o->hParent;
    }
    BOOL bOwnerWasEnabled = hOwnerTop && ::IsWindowEnabled(hOwnerTop);
    if (bOwnerWasEnabled) ::EnableWindow(hOwnerTop, FALSE);
    HWND hOldActive = ui::ActiveHandle();

    m_bModal = TRUE;
    m_bEnded = FALSE;
    m_nModalResult = -1;
    if (!ui::CreateFromTemplate(this, *t, hParent, FALSE)) {
        if (bOwnerWasEnabled) ::EnableWindow(hOwnerTop, TRUE);
        m_bModal = FALSE;
        CUiDriver::Get().RecordModal(id, cls, -1);
        return -1;
    }
    if (!m_bEnded && m_hWnd) {
        ShowWindow(SW_SHOW);
        SetActiveWindow();
    }
    CUiDriver& driver = CUiDriver::Get();
    driver.RunModalScript(
        id, cls, this, [this] { return !m_bEnded && m_hWnd; },
        [this](int r) { CUiDialogSession(this).ClickButton(static_cast<UINT>(r)); }, [this](int r) { EndDialog(r); });
    if (!m_bEnded && m_hWnd) {
        OnCancel();
        if (!m_bEnded) EndDialog(IDCANCEL);
    }
    int result = m_nModalResult;
    if (m_hWnd) DestroyWindow();
    m_bModal = FALSE;
    if (bOwnerWasEnabled && ::IsWindow(hOwnerTop)) ::EnableWindow(hOwnerTop, TRUE);
    if (hOldActive && ::IsWindow(hOldActive)) ui::SetActiveHandle(hOldActive);
    driver.RecordModal(id, cls, result);
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDHelp = nIDTemplate;
    m_lpszTemplateName = nullptr;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    const UiDlgTemplate* t = FindDialogTemplate(nIDTemplate);
    if (!t) {
        ui::Error("Create: dialog template %u is not registered.", nIDTemplate);
        return FALSE;
    }
    m_bModal = FALSE;
    m_bEnded = FALSE;
    CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    BOOL bChild = (t->style & WS_CHILD) != 0;
    return ui::CreateFromTemplate(this, *t, pParent ? pParent->GetSafeHwnd() : nullptr, bChild);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    return Create(ui::TemplateId(lpszTemplateName, 0), pParentWnd);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int nResult) {
    if (m_bModal) {
        m_nModalResult = nResult;
        m_bEnded = TRUE;
        if (m_hWnd) ::ShowWindow(m_hWnd, SW_HIDE);
    } else if (m_hWnd) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        m_bEnded = TRUE;
        m_nModalResult = nResult;
    }
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (!pWndCtrl || !pWndCtrl->m_hWnd) return;
    pWndCtrl->SetFocus();
    if (pWndCtrl->SendMessage(WM_GETDLGCODE) & DLGC_HASSETSEL) pWndCtrl->SendMessage(EM_SETSEL, 0, -1);
}

void CDialog::NextDlgCtrl() const {
    if (CWnd* p = GetNextDlgTabItem(CWnd::GetFocus(), FALSE)) const_cast<CDialog*>(this)->GotoDlgCtrl(p);
}

void CDialog::PrevDlgCtrl() const {
    if (CWnd* p = GetNextDlgTabItem(CWnd::GetFocus(), TRUE)) const_cast<CDialog*>(this)->GotoDlgCtrl(p);
}

void CDialog::SetDefID(UINT nID) { SendMessage(DM_SETDEFID, nID); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(SendMessage(DM_GETDEFID)); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) { return ui::IsDialogMessage(this, pMsg); }
