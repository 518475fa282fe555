// Property sheets and pages.
#include "platform/ui/CPropertySheet.h"

#include <algorithm>

#include "platform/ui/CUiDriver.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/UiWindow.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/uiapi.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_COMMAND(IDOK, OnOKButton)
    ON_COMMAND(IDCANCEL, OnCancelButton)
    ON_COMMAND(ID_APPLY_NOW, OnApplyButton)
END_MESSAGE_MAP()

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate, nullptr) {
    if (nIDCaption) m_strCaption.LoadString(nIDCaption);
}

CPropertyPage::CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption) : CDialog(lpszTemplateName, nullptr) {
    if (nIDCaption) m_strCaption.LoadString(nIDCaption);
}

BOOL CPropertyPage::OnSetActive() {
    if (!m_bModified) UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply() {
    OnOK();
    m_bModified = FALSE;
    return TRUE;
}

void CPropertyPage::SetModified(BOOL bChanged) { m_bModified = bChanged; }

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption ? pszCaption : ""), m_pParentWnd(pParentWnd), m_nActive(static_cast<int>(iSelectPage)) {}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    if (!pPage) return;
    pPage->m_pSheet = this;
    m_pages.push_back(pPage);
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) { RemovePage(GetPageIndex(pPage)); }

void CPropertySheet::RemovePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount()) return;
    CPropertyPage* p = m_pages[static_cast<size_t>(nPage)];
    if (p->m_hWnd) p->DestroyWindow();
    p->m_pSheet = nullptr;
    m_pages.erase(m_pages.begin() + nPage);
    if (m_nActive >= GetPageCount()) m_nActive = GetPageCount() - 1;
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    return (nPage >= 0 && nPage < GetPageCount()) ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(m_nActive); }

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
    auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

BOOL CPropertySheet::IsApplyEnabled() const {
    return std::any_of(m_pages.begin(), m_pages.end(), [](const CPropertyPage* p) { return p->IsModified(); });
}

BOOL CPropertySheet::SetActivePage(int nPage) {
    CPropertyPage* pNew = GetPage(nPage);
    if (!pNew) return FALSE;
    if (!m_hWnd) {
        m_nActive = nPage;
        return TRUE;
    }
    CPropertyPage* pOld = GetActivePage();
    if (pOld == pNew && pNew->m_hWnd) return TRUE;
    if (pOld && pOld->m_hWnd) {
        if (!pOld->OnKillActive()) return FALSE;
        pOld->ShowWindow(SW_HIDE);
    }
    if (!pNew->m_hWnd) {
        const UiDlgTemplate* t = FindDialogTemplate(pNew->GetTemplateId());
        if (!t) {
            ui::Error("Property page template %u is not registered.", pNew->GetTemplateId());
            return FALSE;
        }
        UiDlgTemplate child = *t;
        child.style = WS_CHILD;
        if (!ui::CreateFromTemplate(pNew, child, m_hWnd, TRUE)) return FALSE;
    }
    m_nActive = nPage;
    pNew->ShowWindow(SW_SHOW);
    pNew->OnSetActive();
    return TRUE;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle) {
    if (pParentWnd) m_pParentWnd = pParentWnd;
    CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    // Large enough for the largest page.
    CRect area(0, 0, 0, 0);
    for (CPropertyPage* p : m_pages)
        if (const UiDlgTemplate* t = FindDialogTemplate(p->GetTemplateId())) {
            area.right = std::max<LONG>(area.right, t->size.cx);
            area.bottom = std::max<LONG>(area.bottom, t->size.cy);
        }
    ::MapDialogRect(nullptr, &area);
    if (!CreateEx(0, "#32770", m_strCaption, dwStyle & ~WS_CHILD, 0, 0, area.Width() + 16, area.Height() + 80,
                  pParent ? pParent->GetSafeHwnd() : nullptr, nullptr))
        return FALSE;
    int first = (m_nActive >= 0 && m_nActive < GetPageCount()) ? m_nActive : 0;
    m_nActive = -1;
    if (GetPageCount() > 0 && !SetActivePage(first)) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL CPropertySheet::Apply() {
    CPropertyPage* pActive = GetActivePage();
    if (pActive && pActive->m_hWnd && !pActive->OnKillActive()) return FALSE;
    for (CPropertyPage* p : m_pages)
        if (p->m_hWnd && !p->OnApply()) return FALSE;
    return TRUE;
}

void CPropertySheet::OnOKButton() {
    if (Apply()) EndDialog(IDOK);
}

void CPropertySheet::OnCancelButton() {
    for (CPropertyPage* p : m_pages)
        if (p->m_hWnd) p->OnCancel();
    EndDialog(IDCANCEL);
}

void CPropertySheet::OnApplyButton() { Apply(); }

void CPropertySheet::EndDialog(int nEndID) {
    m_nResult = nEndID;
    m_bEnded = TRUE;
    if (m_hWnd) ShowWindow(SW_HIDE);
}

INT_PTR CPropertySheet::DoModal() {
    CString cls = ui::ClassNameOf(this);
    m_bModal = TRUE;
    m_bEnded = FALSE;
    m_nResult = -1;
    if (!Create(m_pParentWnd, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE)) {
        m_bModal = FALSE;
        CUiDriver::Get().RecordModal(0, cls, -1);
        return -1;
    }
    CUiDriver::Get().RunModalScript(
        0, cls, this, [this] { return !m_bEnded && m_hWnd; },
        [this](int r) { SendMessage(WM_COMMAND, MAKEWPARAM(r, BN_CLICKED), 0); }, [this](int r) { EndDialog(r); });
    if (!m_bEnded && m_hWnd) OnCancelButton();
    int result = m_nResult;
    for (CPropertyPage* p : m_pages)
        if (p->m_hWnd) p->DestroyWindow();
    if (m_hWnd) DestroyWindow();
    m_bModal = FALSE;
    CUiDriver::Get().RecordModal(0, cls, result);
    return result;
}
