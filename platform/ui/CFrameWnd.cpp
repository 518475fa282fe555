// Frame windows and control bars.
#include "platform/ui/CFrameWnd.h"

#include "platform/ui/CMenu.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/UiWindow.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/uiapi.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CControlBar::CControlBar() : m_pDockSite(nullptr), m_dwDockStyle(0), m_dwStyle(0) {}

CFrameWnd::CFrameWnd() : m_pViewActive(nullptr), m_dwDockStyle(0) {}
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
    m_strTitle = lpszWindowName ? lpszWindowName : "";
    HMENU hMenu = nullptr;
    if (lpszMenuName && !(dwStyle & WS_CHILD)) {
        hMenu = ::LoadMenu(nullptr, lpszMenuName);
        if (!hMenu) {
            PostNcDestroy();   // the frame owns itself: it goes as a frame that failed to open
            return FALSE;
        }
    }
    // The default rectangle holds CW_USEDEFAULT (INT_MIN): never subtract from it.
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
    if (rect.left != CW_USEDEFAULT) {
        x = rect.left;
        y = rect.top;
        cx = rect.right - rect.left;
        cy = rect.bottom - rect.top;
    }
    if (!CreateEx(dwExStyle, lpszClassName ? lpszClassName : "AfxFrameOrView", lpszWindowName, dwStyle, x, y, cx, cy,
                  pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, hMenu, pContext)) {
        if (hMenu) ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    CString title;
    title.LoadString(nIDResource);
    LPCTSTR menu = ::LoadMenu(nullptr, MAKEINTRESOURCE(nIDResource)) ? MAKEINTRESOURCE(nIDResource) : nullptr;
    return Create(nullptr, title, dwDefaultStyle, rectDefault, pParentWnd, menu, 0, pContext);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
    CCreateContext* pContext = lpcs ? static_cast<CCreateContext*>(lpcs->lpCreateParams) : nullptr;
    if (!OnCreateClient(lpcs, pContext)) return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    if (pContext && pContext->m_pNewViewClass) {
        if (!CreateView(pContext, AFX_IDW_PANE_FIRST)) return FALSE;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    if (!pContext || !pContext->m_pNewViewClass) return nullptr;
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    CWnd* pView = pObject ? dynamic_cast<CWnd*>(pObject) : nullptr;
    if (!pView) {
        ui::Error("CreateView: class %s cannot be created as a window.", pContext->m_pNewViewClass->m_lpszClassName);
        delete pObject;
        return nullptr;
    }
    CRect client;
    GetClientRect(&client);
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, client, this, nID, pContext)) return nullptr;   // a failed view deleted itself
    return pView;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CView* pView = GetActiveView();
    if (!pView) {
        if (CWnd* p = GetDlgItem(AFX_IDW_PANE_FIRST))
            if (p->IsKindOf(RUNTIME_CLASS(CView))) pView = static_cast<CView*>(p);
        if (pView) SetActiveView(pView, FALSE);
    }
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
    if (pView) pView->OnInitialUpdate();
    (void)pDoc;
    if (bMakeVisible) ActivateFrame();
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    SetActiveWindow();
}

CDocument* CFrameWnd::GetActiveDocument() {
    CView* pView = GetActiveView();
    return pView ? pView->GetDocument() : nullptr;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* pOld = m_pViewActive;
    if (pOld == pViewNew) return;
    m_pViewActive = nullptr;
    if (bNotify && pOld) pOld->OnActivateView(FALSE, pViewNew, pOld);
    m_pViewActive = pViewNew;
    if (bNotify && pViewNew) pViewNew->OnActivateView(TRUE, pViewNew, pOld);
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
    m_controlBarCalls.push_back(ControlBarCall{pBar, bShow, bDelay});
    if (pBar && pBar->m_hWnd) {
        pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
        if (!bDelay) RecalcLayout();
    }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT, LPCRECT) {
    if (pBar) pBar->m_pDockSite = this;
}

void CFrameWnd::RecalcLayout(BOOL) {
    CWnd* pPane = GetDlgItem(AFX_IDW_PANE_FIRST);
    if (!pPane) return;
    CRect client;
    GetClientRect(&client);
    pPane->MoveWindow(&client, TRUE);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The active view (and through it its document) first, then the frame, then the application.
    if (CView* pView = GetActiveView())
        if (pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnSize(UINT nType, int, int) {
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnClose() {
    CWinApp* pApp = AfxGetApp();
    BOOL bMain = pApp && pApp->m_pMainWnd == this;
    DestroyWindow();
    if (bMain) PostQuitMessage(0);
}

void CFrameWnd::OnDestroy() {
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) pApp->m_pMainWnd = nullptr;
    m_pViewActive = nullptr;
    Default();
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu || !pPopupMenu) return;
    // Each command item asks the command routing for its state; items nobody handles are disabled.
    int n = pPopupMenu->GetMenuItemCount();
    for (int i = 0; i < n; ++i) {
        UINT id = pPopupMenu->GetMenuItemID(i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;
        CCmdUI state;
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_pMenu = pPopupMenu;
        state.DoUpdate(this, TRUE);
    }
}

void CFrameWnd::PostNcDestroy() { delete this; }

// ---- MDI ----

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(nullptr) {}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*) { return CreateClient(lpcs, nullptr); }

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu*) {
    CRect client;
    GetClientRect(&client);
    CWnd* pClient = new CWnd;
    if (!pClient->CreateEx(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, client, this,
                           AFX_IDW_PANE_FIRST)) {
        delete pClient;
        return FALSE;
    }
    m_hWndMDIClient = pClient->Detach();
    delete pClient;
    return TRUE;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
    if (!::IsWindow(m_hWndMDIClient)) {
        if (pbMaximized) *pbMaximized = FALSE;
        return nullptr;
    }
    HWND h = reinterpret_cast<HWND>(::SendMessage(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pbMaximized)));
    CWnd* p = CWnd::FromHandlePermanent(h);
    return (p && p->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) ? static_cast<CMDIChildWnd*>(p) : nullptr;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
    if (pWndActivate && ::IsWindow(m_hWndMDIClient))
        ::SendMessage(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->m_hWnd), 0);
}

void CMDIFrameWnd::MDINext() {
    if (::IsWindow(m_hWndMDIClient)) ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd* p = MDIGetActive();
    return p ? static_cast<CFrameWnd*>(p) : this;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CMDIChildWnd* pChild = MDIGetActive())
        if (pChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMDIFrameWnd::RecalcLayout(BOOL) {
    if (!::IsWindow(m_hWndMDIClient)) return;
    CRect client;
    GetClientRect(&client);
    ::MoveWindow(m_hWndMDIClient, client.left, client.top, client.Width(), client.Height(), TRUE);
}

CMDIChildWnd::CMDIChildWnd() = default;

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
    CMDIFrameWnd* pFrame = pParentWnd;
    if (!pFrame) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain && pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) pFrame = static_cast<CMDIFrameWnd*>(pMain);
    }
    if (!pFrame || !::IsWindow(pFrame->m_hWndMDIClient)) {
        ui::Error("CMDIChildWnd::Create: there is no MDI frame with a client window to hold the child.");
        return FALSE;
    }
    m_strTitle = lpszWindowName ? lpszWindowName : "";
    CRect r = rect;
    if (rect.left == CW_USEDEFAULT) {
        CRect client;
        ::GetClientRect(pFrame->m_hWndMDIClient, &client);
        r = client;
    }
    if (!CreateEx(WS_EX_MDICHILD, lpszClassName ? lpszClassName : "AfxFrameOrView", lpszWindowName, dwStyle | WS_CHILD,
                  r.left, r.top, r.Width(), r.Height(), pFrame->m_hWndMDIClient, nullptr, pContext))
        return FALSE;
    MDIActivate();
    return TRUE;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    CWnd* pClient = GetParent();
    CWnd* pFrame = pClient ? pClient->GetParent() : nullptr;
    return (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) ? static_cast<CMDIFrameWnd*>(pFrame) : nullptr;
}

void CMDIChildWnd::MDIActivate() {
    UiWindow* w = ui::Find(m_hWnd);
    if (w && ::IsWindow(w->hParent)) ::SendMessage(w->hParent, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIDestroy() {
    UiWindow* w = ui::Find(m_hWnd);
    if (w && ::IsWindow(w->hParent)) ::SendMessage(w->hParent, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd*, CWnd*) {
    CView* pView = GetActiveView();
    if (!pView) {
        if (CWnd* p = GetDlgItem(AFX_IDW_PANE_FIRST))
            if (p->IsKindOf(RUNTIME_CLASS(CView))) {
                pView = static_cast<CView*>(p);
                m_pViewActive = pView;
            }
    }
    if (pView) pView->OnActivateView(bActivate, pView, pView);
}
