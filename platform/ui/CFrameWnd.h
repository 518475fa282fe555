// Frame windows: CFrameWnd (a top-level frame holding views and control bars), CMDIFrameWnd
// (the main frame with an MDI client window) and CMDIChildWnd (a child frame inside it), plus
// CControlBar, the base of docking and tool bars, and CCreateContext.
//
// A frame routes commands to its active view first, then handles them itself, then passes
// them to the application. ShowControlBar shows or hides the bar and records the call
// (m_controlBarCalls) so tests can check what the module asked for. Frames and views delete
// themselves after their window is destroyed, as they always did: create them with new.
#pragma once

#include <vector>

#include "platform/ui/CWnd.h"

class CView;
class CDocument;
class CMDIChildWnd;

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;   // view to create in the frame's client area
    CDocument* m_pCurrentDoc = nullptr;
    void* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    BOOL IsVisible() const { return IsWindowVisible(); }
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    CFrameWnd* m_pDockSite;   // frame the bar belongs to
    DWORD m_dwDockStyle;
    DWORD m_dwStyle;          // CBRS_* style bits
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW, CWnd* pParentWnd = nullptr,
                           CCreateContext* pContext = nullptr);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CFrameWnd* GetActiveFrame() { return this; }
    virtual CDocument* GetActiveDocument();
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);

    struct ControlBarCall {
        CControlBar* pBar;
        BOOL bShow;
        BOOL bDelay;
    };
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    std::vector<ControlBarCall> m_controlBarCalls;   // every ShowControlBar, in order
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    // Lays the view (the AFX_IDW_PANE_FIRST child) over the whole client area.
    virtual void RecalcLayout(BOOL bNotify = TRUE);

    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }
    CString GetTitle() const { return m_strTitle; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    CView* m_pViewActive;
    CString m_strTitle;
    DWORD m_dwDockStyle;

    DECLARE_MESSAGE_MAP()
};

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    HWND m_hWndMDIClient;   // the MDI client window holding the child frames

    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDINext();
    void MDITile(int nType = 0) {}
    void MDICascade() {}
    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void MDIDestroy();
    void MDIMaximize() { ShowWindow(SW_SHOWMAXIMIZED); }
    void MDIRestore() { ShowWindow(SW_RESTORE); }

protected:
    // bActivate: this child becomes active; pActivateWnd/pDeactivateWnd: the frames involved.
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    DECLARE_MESSAGE_MAP()
};
