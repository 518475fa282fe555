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
    CRuntimeClass* pClass = CRuntimeClass::FromName(kFigureViewClassName);
    if (!pClass || !pClass->IsDerivedFrom(RUNTIME_CLASS(CVdView))) {
        HostMessage("the figure view %s is not registered (is the results module loaded?)", kFigureViewClassName);
        return nullptr;
    }
    I_MainFrameBase* pMain = I_MainFrameBase::m_pMyself;
    if (!pMain) {
        HostMessage("there is no main window to open the figure view in");
        return nullptr;
    }
    auto* pChild = new CMDIChildWnd;  // deletes itself with its window
    CCreateContext ctx;
    ctx.m_pNewViewClass = pClass;
    ctx.m_pCurrentFrame = pChild;
    CRect rc(0, 0, m_sizeFigure.cx, m_sizeFigure.cy);
    ::AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_MDICHILD);
    rc.OffsetRect(-rc.left, -rc.top);
    if (!pChild->Create(nullptr, pszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, rc, pMain, &ctx)) {
        HostMessage("the figure view's frame could not be made");
        return nullptr;
    }
    CVdView* pView = FigureViewOfFrame(pChild);
    if (!pView) {
        pChild->DestroyWindow();
        HostMessage("the figure view could not be created in its frame");
        return nullptr;
    }
    m_hFigureFrame = pChild->GetSafeHwnd();
    pChild->SetActiveView(pView, FALSE);
    pChild->InitialUpdateFrame(nullptr, TRUE);
    pChild->MDIActivate();
    return pView;
}

void CHostDocument::CloseFigureView(LPCTSTR) {
    if (::IsWindow(m_hFigureFrame)) CWnd::FromHandlePermanent(m_hFigureFrame)->DestroyWindow();
    m_hFigureFrame = nullptr;
}
