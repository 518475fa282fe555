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

CView* OpenHostChildView(const char* pszClassName, CRuntimeClass* pBase, LPCTSTR pszTitle, CSize size,
                         const char* pszWhat, HWND& hFrame) {
    CRuntimeClass* pClass = CRuntimeClass::FromName(pszClassName);
    if (!pClass || !pClass->IsDerivedFrom(pBase)) {
        HostMessage("the %s %s is not registered (is the results module loaded?)", pszWhat, pszClassName);
        return nullptr;
    }
    I_MainFrameBase* pMain = I_MainFrameBase::m_pMyself;
    if (!pMain) {
        HostMessage("there is no main window to open the %s in", pszWhat);
        return nullptr;
    }
    auto* pChild = new CMDIChildWnd;  // deletes itself with its window
    CCreateContext ctx;
    ctx.m_pNewViewClass = pClass;
    ctx.m_pCurrentFrame = pChild;
    CRect rc(0, 0, size.cx, size.cy);
    ::AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_MDICHILD);
    rc.OffsetRect(-rc.left, -rc.top);
    if (!pChild->Create(nullptr, pszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, rc, pMain, &ctx)) {
        HostMessage("the %s's frame could not be made", pszWhat);
        return nullptr;
    }
    CWnd* pPane = pChild->GetDlgItem(AFX_IDW_PANE_FIRST);
    auto* pView = dynamic_cast<CView*>(pPane);
    if (!pView || !pView->IsKindOf(pBase)) {
        pChild->DestroyWindow();
        HostMessage("the %s could not be created in its frame", pszWhat);
        return nullptr;
    }
    hFrame = pChild->GetSafeHwnd();
    pChild->SetActiveView(pView, FALSE);
    pChild->InitialUpdateFrame(nullptr, TRUE);
    pChild->MDIActivate();
    return pView;
}

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
    auto* pView = dynamic_cast<CTitleCtrlView*>(OpenHostChildView(
        kGraphViewClassName, RUNTIME_CLASS(CTitleCtrlView), pszCaption, m_sizeGraph, "graph view", m_hGraphFrame));
    if (!pView) return nullptr;
    pView->SetTitleText(pszCaption);
    return pView;
}
