#include "host/base/CFormViewInBar.h"

IMPLEMENT_DYNAMIC(CFormViewInBar, CFormView)

CFormViewInBar::CFormViewInBar(UINT nIDTemplate) : CFormView(nIDTemplate) {}

CFormViewInBar::CFormViewInBar(LPCTSTR lpszTemplateName) : CFormView(lpszTemplateName) {}

CFormViewInBar::~CFormViewInBar() = default;

void CFormViewInBar::ShowChildDlgByMode(int) {}

void CFormViewInBar::OnChangeBarTab() {}

std::vector<CBarResultInfo> CFormViewInBar::GetBarResults() const { return {}; }

std::vector<CBarControlName> CFormViewInBar::GetControlNames() const { return {}; }

CWnd* CFormViewInBar::GetShownPageWnd() const { return nullptr; }
