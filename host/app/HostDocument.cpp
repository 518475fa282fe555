#include "host/app/HostDocument.h"

#include "host/app/HostCommand.h"
#include "host/base/CTitleCtrlView.h"
#include "host/base/I_MainFrameBase.h"
#include "platform/ui/uiapi.h"

namespace {

CTitleCtrlView* ViewOfFrame(CWnd* pFrame) {
    CWnd* pWnd = pFrame ? pFrame->GetDlgItem(AFX_IDW_PANE_FIRST) : nullptr;
    return dynamic_cast<CTitleCtrlView*>(pWnd);
}

}  // namespace

CTitleCtrlView* CHostDocument::GetGraphView() const {
    return ::IsWindow(m_hGraphFrame) ? ViewOfFrame(CWnd::FromHandlePermanent(m_hGraphFrame)) : nullptr;
}

CTitleCtrlView* CHostDocument::OpenGraphView(LPCTSTR pszCaption) {
    if (CTitleCtrlView* pView = GetGraphView()) {
        auto* pFrame = static_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(m_hGraphFrame));
        pFrame->MDIActivate();
        pView->SetTitleText(pszCaption);
        return pView;
    }
    CRuntimeClass* pClass = CRuntimeClass::FromName(kGraphViewClassName);
    if (!pClass || !pClass->IsDerivedFrom(RUNTIME_CLASS(CTitleCtrlView))) {
        HostMessage("the graph view %s is not registered (is the results module loaded?)", kGraphViewClassName);
        return nullptr;
    }
    I_MainFrameBase* pMain = I_MainFrameBase::m_pMyself;
    if (!pMain) {
        HostMessage("there is no main window to open the graph view in");
        return nullptr;
    }
    auto* pChild = new CMDIChildWnd;  // deletes itself with its window
    CCreateContext ctx;
    ctx.m_pNewViewClass = pClass;
    ctx.m_pCurrentFrame = pChild;
    CRect rc(0, 0, m_sizeGraph.cx, m_sizeGraph.cy);
    ::AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_MDICHILD);
    rc.OffsetRect(-rc.left, -rc.top);
    if (!pChild->Create(nullptr, pszCaption, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, rc, pMain, &ctx)) {
        HostMessage("the graph view's frame could not be made");
        return nullptr;
    }
    CTitleCtrlView* pView = ViewOfFrame(pChild);
    if (!pView) {
        pChild->DestroyWindow();
        HostMessage("the graph view could not be created in its frame");
        return nullptr;
    }
    m_hGraphFrame = pChild->GetSafeHwnd();
    pChild->SetActiveView(pView, FALSE);
    pChild->InitialUpdateFrame(nullptr, TRUE);
    pChild->MDIActivate();
    pView->SetTitleText(pszCaption);
    return pView;
}
