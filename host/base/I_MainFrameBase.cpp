#include "host/base/I_MainFrameBase.h"

#include <mutex>

#include "host/base/CHostRequestLog.h"
#include "host/base/I_PVXModelBase.h"
#include "host/grx/GRenderView.h"

IMPLEMENT_DYNAMIC(I_MainFrameBase, CMDIFrameWnd)

I_MainFrameBase* I_MainFrameBase::m_pMyself = nullptr;

namespace {
struct FigureState {
    std::mutex lock;
    BOOL bDlgOpen = FALSE;
    int nNextItem = 1;
    std::vector<I_MainFrameBase::TreeItem> items;
};
FigureState& State() {
    static FigureState* s = new FigureState;  // never destroyed: modules may call during exit
    return *s;
}
}  // namespace

I_MainFrameBase::I_MainFrameBase() { m_pMyself = this; }

I_MainFrameBase::~I_MainFrameBase() {
    if (m_pMyself == this) m_pMyself = nullptr;
}

void I_MainFrameBase::CreateFigureDlg() {
    CHostRequestLog::Add(HR_CREATE_FIGURE_DLG);
    FigureState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    s.bDlgOpen = TRUE;
}

void I_MainFrameBase::CloseFigureDlg() {
    CHostRequestLog::Add(HR_CLOSE_FIGURE_DLG);
    FigureState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    s.bDlgOpen = FALSE;
}

BOOL I_MainFrameBase::IsFigureDlgOpen() {
    FigureState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    return s.bDlgOpen;
}

void I_MainFrameBase::SetFigureTreeItem() { CHostRequestLog::Add(HR_SET_FIGURE_TREE); }

void I_MainFrameBase::CloseFigureTree() {
    CHostRequestLog::Add(HR_CLOSE_FIGURE_TREE);
    FigureState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    s.items.clear();
    s.nNextItem = 1;
}

void I_MainFrameBase::CloseDesignTree() { CHostRequestLog::Add(HR_CLOSE_DESIGN_TREE); }

int I_MainFrameBase::AddFigureTreeItem(LPCTSTR caption, int parentId) {
    FigureState& s = State();
    int id = 0;
    {
        std::lock_guard<std::mutex> g(s.lock);
        id = s.nNextItem++;
        s.items.push_back(TreeItem{id, parentId, caption ? caption : ""});
    }
    CHostRequestLog::Add(HR_ADD_FIGURE_TREE_ITEM, id, parentId, caption ? caption : "");
    return id;
}

std::vector<I_MainFrameBase::TreeItem> I_MainFrameBase::GetFigureTreeItems() {
    FigureState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    return s.items;
}

namespace {
// The first render view below a window, depth first; null when none.
GRenderView* FindRenderView(CWnd* pParent) {
    for (CWnd* c = pParent->GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT)) {
        CWnd* w = CWnd::FromHandlePermanent(c->GetSafeHwnd());
        if (auto* v = dynamic_cast<GRenderView*>(w)) return v;
        if (w)
            if (GRenderView* v = FindRenderView(w)) return v;
    }
    return nullptr;
}
}  // namespace

CView* I_MainFrameBase::OpenNewWindow() {
    CView* pActive = GetActiveView();
    GRenderView* pModelView = dynamic_cast<GRenderView*>(pActive);
    if (!pModelView) pModelView = FindRenderView(this);
    if (!pModelView || !::IsWindow(m_hWndMDIClient)) return nullptr;
    auto* pChild = new CMDIChildWnd;  // deletes itself with its window
    CCreateContext ctx;
    ctx.m_pNewViewClass = pModelView->GetRuntimeClass();
    ctx.m_pCurrentFrame = pChild;
    if (!pChild->Create(nullptr, "pvxhost", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, rectDefault, this, &ctx))
        return nullptr;
    GRenderView* pView = FindRenderView(pChild);
    if (!pView) return nullptr;
    // Shown as the first view is: the result view mode, the standard view.
    pView->GetI_PVXCtrl()->SetPVXViewMode(1);
    if (I_PVXModelBase* pModel = pView->GetI_PVXCtrl()->GetI_PVXModel()) pModel->PV_OnModeChange();
    pView->DoInitialView();
    return pView;
}

BOOL I_MainFrameBase::OnCommand(WPARAM wParam, LPARAM lParam) {
    CHostRequestLog::Add(HR_COMMAND, LOWORD(wParam), LOWORD(lParam));
    if (LOWORD(wParam) == ID_WINDOW_NEW) {
        OpenNewWindow();
        return TRUE;
    }
    CMDIFrameWnd::OnCommand(wParam, lParam);
    return TRUE;
}
