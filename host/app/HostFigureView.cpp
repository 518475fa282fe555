// The host document's figure view: the results module's figure window in a headless frame.
#include "host/app/HostCommand.h"
#include "host/app/HostDocument.h"
#include "host/base/I_MainFrameBase.h"
#include "host/vdraw/CVdView.h"
#include "platform/ui/uiapi.h"

namespace {

CVdView* FigureViewOfFrame(CWnd* pFrame) {
    CWnd* pWnd = pFrame ? pFrame->GetDlgItem(AFX_IDW_PANE_FIRST) : nullptr;
    return dynamic_cast<CVdView*>(pWnd);
}

}  // namespace

CView* CHostDocument::GetFigureView() const {
    return ::IsWindow(m_hFigureFrame) ? FigureViewOfFrame(CWnd::FromHandlePermanent(m_hFigureFrame)) : nullptr;
}

CView* CHostDocument::OpenFigureView(LPCTSTR pszTitle) {
    if (CView* pView = GetFigureView()) {
        static_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(m_hFigureFrame))->MDIActivate();
        return pView;
    }
    return OpenHostChildView(kFigureViewClassName, RUNTIME_CLASS(CVdView), pszTitle, m_sizeFigure, "figure view",
                             m_hFigureFrame);
}

void CHostDocument::CloseFigureView(LPCTSTR) {
    if (::IsWindow(m_hFigureFrame)) CWnd::FromHandlePermanent(m_hFigureFrame)->DestroyWindow();
    m_hFigureFrame = nullptr;
}
