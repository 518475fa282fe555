#include "host/base/CTitleCtrlView.h"

IMPLEMENT_DYNAMIC(CTitleCtrlView, CView)

CTitleCtrlView::CTitleCtrlView() = default;
CTitleCtrlView::~CTitleCtrlView() = default;

void CTitleCtrlView::SetTitleText(LPCTSTR pszTitle) {
    m_strTitle = pszTitle ? pszTitle : "";
    if (CFrameWnd* pFrame = GetSafeHwnd() ? GetParentFrame() : nullptr) {
        pFrame->SetTitle(m_strTitle);
        pFrame->SetWindowText(m_strTitle);
    }
}
