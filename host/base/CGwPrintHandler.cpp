#include "host/base/CGwPrintHandler.h"

#include <cfenv>

#include "platform/gdi/afxgdi.h"
#include "platform/ui/CView.h"

BOOL CGwPrintHandler::m_bDrawRect = FALSE;
GW_PrintParam CGwPrintHandler::m_PrintParam = {0, 0};

BOOL CGwPrintHandler::PreparePrintDC(CPrintInfo* pInfo) {
    if (!pInfo) return FALSE;
    pInfo->SetMinPage(1);
    pInfo->SetMaxPage(1);
    return TRUE;
}

void CGwPrintHandler::InitPrintParam(CView* pView) {
    m_PrintParam = {0, 0};
    if (!pView || !pView->GetSafeHwnd()) return;
    CRect rc;
    pView->GetClientRect(&rc);
    m_PrintParam = {rc.Width(), rc.Height()};
}

void CGwPrintHandler::SetPrintDC(CView*, CDC* pDC, CPrintInfo* pInfo) {
    if (pInfo && !pInfo->m_rectDraw.IsRectEmpty()) {
        m_PrintParam = {pInfo->m_rectDraw.Width(), pInfo->m_rectDraw.Height()};
        return;
    }
    if (pDC && pDC->GetSafeHdc()) m_PrintParam = {pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES)};
}

void CGwPrintHandler::ResetPrintDC() { m_PrintParam = {0, 0}; }

void EnableDivideByZero() {
    // Division by zero is masked by default here; make sure nothing switched the trap on.
    std::feclearexcept(FE_DIVBYZERO);
#if defined(__GLIBC__)
    fedisableexcept(FE_DIVBYZERO);
#endif
}
