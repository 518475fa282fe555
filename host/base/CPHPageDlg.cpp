#include "host/base/CPHPageDlg.h"

#include "platform/afx/AfxDiagnostic.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/uiapi.h"

IMPLEMENT_DYNAMIC(CPHPageDlg, CDialog)

CPHPageDlg::CPHPageDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

CPHPageDlg::~CPHPageDlg() {
    if (GetSafeHwnd()) DestroyWindow();
}

BOOL CPHPageDlg::CreatePage(CWnd* pParent, CPoint ptTopLeft) {
    const UiDlgTemplate* t = FindDialogTemplate(m_nIDHelp);
    if (!t || !pParent || !pParent->GetSafeHwnd()) {
        AfxDiagnostic("bar page", "page template %u cannot be shown: %s", m_nIDHelp,
                      t ? "its owner has no window" : "the template is not registered");
        return FALSE;
    }
    m_pParentWnd = pParent;
    m_bModal = FALSE;
    m_bEnded = FALSE;
    UiDlgTemplate page = *t;
    page.style = (page.style & ~static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION)) | WS_CHILD;
    if (!ui::CreateFromTemplate(this, page, pParent->GetSafeHwnd(), TRUE)) return FALSE;
    CRect rc;
    GetWindowRect(&rc);
    MoveWindow(ptTopLeft.x, ptTopLeft.y, rc.Width(), rc.Height(), FALSE);
    return TRUE;
}

std::vector<CBarControlName> CPHPageDlg::GetControlNames() const { return {}; }

void CPHPageDlg::OnOK() {}

void CPHPageDlg::OnCancel() {}

// ---- CChangePHPage ----

CChangePHPage::CChangePHPage() = default;

CChangePHPage::~CChangePHPage() = default;

void CChangePHPage::SetPlaceHolder(CWnd* pOwner, UINT nIDPlaceHolder) {
    m_pOwner = pOwner;
    m_nIDPlaceHolder = nIDPlaceHolder;
}

void CChangePHPage::SetChildPage(int nKey, CPHPageDlg* pPage) {
    for (auto& p : m_pages)
        if (p.first == nKey) {
            p.second = pPage;
            return;
        }
    m_pages.emplace_back(nKey, pPage);
}

CPHPageDlg* CChangePHPage::GetChildPage(int nKey) const {
    for (const auto& p : m_pages)
        if (p.first == nKey) return p.second;
    return nullptr;
}

CPHPageDlg* CChangePHPage::GetCurChildPage() const { return GetChildPage(m_nCurKey); }

BOOL CChangePHPage::ShowCurChildDlg(int nKey, int nPlacement, int nFocus) {
    CPHPageDlg* pPage = GetChildPage(nKey);
    if (!pPage || !m_pOwner || !m_pOwner->GetSafeHwnd()) return FALSE;
    CRect rcHolder(0, 0, 0, 0);
    if (CWnd* pHolder = m_pOwner->GetDlgItem(static_cast<int>(m_nIDPlaceHolder))) {
        pHolder->GetWindowRect(&rcHolder);
        m_pOwner->ScreenToClient(&rcHolder);
    }
    if (!pPage->GetSafeHwnd() && !pPage->CreatePage(m_pOwner, rcHolder.TopLeft())) return FALSE;
    for (const auto& p : m_pages)
        if (p.second && p.second != pPage && p.second->GetSafeHwnd()) p.second->ShowWindow(SW_HIDE);
    CRect rcPage;
    pPage->GetWindowRect(&rcPage);
    if (nPlacement == PH_FILL && !rcHolder.IsRectEmpty())
        pPage->MoveWindow(&rcHolder, FALSE);
    else
        pPage->MoveWindow(rcHolder.left, rcHolder.top, rcPage.Width(), rcPage.Height(), FALSE);
    pPage->ShowWindow(SW_SHOW);
    if (nFocus) pPage->SetFocus();
    m_nCurKey = nKey;
    return TRUE;
}

void CChangePHPage::RemoveAllChildPages() {
    m_pages.clear();
    m_nCurKey = -1;
}
