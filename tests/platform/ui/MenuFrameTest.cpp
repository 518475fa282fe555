// Menus and pop-up tracking, frames, views, documents and MDI activation.
#include "UiTestSupport.h"

namespace {

const UINT IDR_FIGURE_VIEW = 10633;

std::vector<UiMenuTemplateItem> FigureMenu() {
    UiMenuTemplateItem popup;
    popup.text = "Figure View";
    popup.popup = {
        {"全部缩放", 42088, 0, {}},
        {"窗口放大", 42089, 0, {}},
        {"", 0, MF_SEPARATOR, {}},
        {"输出", 42090, 0, {}},
        {"生成DWG文件", 42091, MF_GRAYED, {}},
    };
    return {popup};
}

class CFigureView : public CView {
public:
    int m_nZoom = 0, m_nExport = 0, m_nDraws = 0, m_nUpdates = 0;
    std::vector<std::string> m_activations;
    void OnDraw(CDC* pDC) override {
        ++m_nDraws;
        pDC->FillSolidRect(0, 0, 4, 4, RGB(0, 0, 255));
    }
    void OnUpdate(CView* pSender, LPARAM lHint, CObject*) override {
        ++m_nUpdates;
        CView::OnUpdate(pSender, lHint, nullptr);
    }
    void OnActivateView(BOOL bActivate, CView* a, CView* d) override {
        m_activations.push_back(bActivate ? "on" : "off");
        CView::OnActivateView(bActivate, a, d);
    }
    DECLARE_DYNCREATE(CFigureView)

protected:
    void OnZoomAll() { ++m_nZoom; }
    void OnUpdateZoomAll(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nZoom > 0); }
    void OnExport() { ++m_nExport; }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CFigureView, CView)

BEGIN_MESSAGE_MAP(CFigureView, CView)
    ON_COMMAND(42088, OnZoomAll)
    ON_UPDATE_COMMAND_UI(42088, OnUpdateZoomAll)
    ON_COMMAND(42090, OnExport)
END_MESSAGE_MAP()

class MenuTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(RegisterMenuTemplate(IDR_FIGURE_VIEW, FigureMenu()));
    }
    void TearDown() override {
        UnregisterMenuTemplate(IDR_FIGURE_VIEW);
        UiTest::TearDown();
    }
};

}  // namespace

TEST_F(MenuTest, LoadedMenuKeepsItemsAndStates) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_FIGURE_VIEW));
    CMenu* pSub = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, pSub);
    EXPECT_EQ(5, pSub->GetMenuItemCount());
    EXPECT_EQ(static_cast<UINT>(-1), menu.GetMenuItemID(0));   // a pop-up
    const UINT ids[] = {42088, 42089, 0, 42090, 42091};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ids[i], pSub->GetMenuItemID(i));
    }
    CString s;
    pSub->GetMenuString(42091, s, MF_BYCOMMAND);
    EXPECT_STREQ("生成DWG文件", s);
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), pSub->GetMenuState(42091, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(static_cast<UINT>(MF_UNCHECKED), menu.CheckMenuItem(42089, MF_BYCOMMAND | MF_CHECKED));   // found through the pop-up
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), pSub->GetMenuState(42089, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(static_cast<UINT>(-1), menu.EnableMenuItem(12345, MF_GRAYED));
    EXPECT_TRUE(pSub->AppendMenu(MF_STRING, 42092, "Extra"));
    EXPECT_EQ(6, pSub->GetMenuItemCount());
    HMENU hSub = pSub->m_hMenu;
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(::IsMenu(hSub));   // pop-ups go with their menu
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(777));
}

TEST_F(MenuTest, TrackPopupMenuIsAnsweredByTheDriver) {
    CFrameWnd* pFrame = new CFrameWnd;
    CCreateContext ctx;
    ctx.m_pNewViewClass = RUNTIME_CLASS(CFigureView);
    ASSERT_TRUE(pFrame->Create(nullptr, "Figure", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, nullptr, 0, &ctx));
    CFigureView* pView = static_cast<CFigureView*>(pFrame->GetDlgItem(AFX_IDW_PANE_FIRST));
    ASSERT_NE(nullptr, pView);
    pFrame->SetActiveView(pView);
    CUiDriver& d = CUiDriver::Get();

    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_FIGURE_VIEW));
    CMenu* pSub = menu.GetSubMenu(0);
    struct Row {
        UINT queued;   // 0: nothing queued
        UINT flags;
        UINT returned;
        int zoom, exported;
    } rows[] = {
        {42088, TPM_RETURNCMD, 42088, 0, 0},   // returned, not sent
        {42090, TPM_RIGHTBUTTON, TRUE, 0, 1},  // posted to the owner, routed to the view
        {42091, TPM_RETURNCMD, 0, 0, 1},       // grayed: nothing chosen
        {0, TPM_RETURNCMD, 0, 0, 1},
        {42088, 0, TRUE, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "choice " << r.queued);
        if (r.queued) d.QueueMenuChoice(r.queued);
        EXPECT_EQ(static_cast<BOOL>(r.returned), pSub->TrackPopupMenu(r.flags, 10, 10, pFrame));
        d.PumpMessages();
        EXPECT_EQ(r.zoom, pView->m_nZoom);
        EXPECT_EQ(r.exported, pView->m_nExport);
    }
    ASSERT_EQ(5u, d.Menus().size());
    EXPECT_STREQ("输出", d.Menus()[0].texts[3]);
    EXPECT_EQ(0u, d.Menus()[2].chosen);
    // Before a pop-up opens the frame updates its items through the view's handlers; items
    // nobody handles are disabled.
    EXPECT_EQ(0u, pSub->GetMenuState(42088, MF_BYCOMMAND) & MF_CHECKED);   // zoom was 0 when it opened
    pSub->TrackPopupMenu(TPM_RETURNCMD, 0, 0, pFrame);
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), pSub->GetMenuState(42089, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), pSub->GetMenuState(42088, MF_BYCOMMAND) & MF_CHECKED);
    pFrame->DestroyWindow();   // deletes frame and view
}

TEST_F(UiTest, ViewPaintsUpdatesAndRoutesThroughItsFrame) {
    CDocument doc;
    CFrameWnd* pFrame = new CFrameWnd;
    CCreateContext ctx;
    ctx.m_pNewViewClass = RUNTIME_CLASS(CFigureView);
    ctx.m_pCurrentDoc = &doc;
    ASSERT_TRUE(pFrame->Create(nullptr, "Figure", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, nullptr, 0, &ctx));
    pFrame->InitialUpdateFrame(&doc, TRUE);
    CFigureView* pView = static_cast<CFigureView*>(pFrame->GetActiveView());
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(&doc, pView->GetDocument());
    EXPECT_EQ(pFrame, pView->GetParentFrame());
    CRect rc;
    pView->GetClientRect(&rc);
    CRect frameClient;
    pFrame->GetClientRect(&frameClient);
    EXPECT_EQ(frameClient.Size(), rc.Size());   // the view fills the frame

    CUiDriver::Get().PumpMessages();
    EXPECT_EQ(1, pView->m_nDraws);
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(2, pView->m_nUpdates);   // initial update + this one
    CUiDriver::Get().PumpMessages();
    EXPECT_EQ(2, pView->m_nDraws);
    doc.UpdateAllViews(pView);         // the sender is skipped
    EXPECT_EQ(2, pView->m_nUpdates);

    pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(42090, 0), 0);
    EXPECT_EQ(1, pView->m_nExport);
    CPrintInfo info;
    EXPECT_FALSE(pView->DoPreparePrinting(&info));
    CUiDriver::Get().SetPrintAnswer(TRUE);
    EXPECT_TRUE(pView->DoPreparePrinting(&info));

    POSITION pos = doc.GetFirstViewPosition();
    EXPECT_EQ(pView, doc.GetNextView(pos));
    EXPECT_EQ(nullptr, pos);
    pFrame->DestroyWindow();
    EXPECT_EQ(nullptr, doc.GetFirstViewPosition());   // the view left the document as it went
}

TEST_F(UiTest, MdiFrameActivatesChildrenAndRoutesToTheActiveOne) {
    CWinApp* pApp = AfxGetApp();
    CMDIFrameWnd* pMain = new CMDIFrameWnd;
    ASSERT_TRUE(pMain->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)));
    pApp->m_pMainWnd = pMain;
    ASSERT_TRUE(::IsWindow(pMain->m_hWndMDIClient));
    EXPECT_EQ(pMain, AfxGetMainWnd());

    CCreateContext ctx;
    ctx.m_pNewViewClass = RUNTIME_CLASS(CFigureView);
    CMDIChildWnd* pA = new CMDIChildWnd;
    CMDIChildWnd* pB = new CMDIChildWnd;
    ASSERT_TRUE(pA->Create(nullptr, "A", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, pMain, &ctx));
    ASSERT_TRUE(pB->Create(nullptr, "B", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, pMain, &ctx));
    EXPECT_EQ(pB, pMain->MDIGetActive());
    CFigureView* pViewA = static_cast<CFigureView*>(pA->GetDlgItem(AFX_IDW_PANE_FIRST));
    CFigureView* pViewB = static_cast<CFigureView*>(pB->GetDlgItem(AFX_IDW_PANE_FIRST));
    ASSERT_TRUE(pViewA && pViewB);
    EXPECT_EQ((std::vector<std::string>{"on", "off"}), pViewA->m_activations);

    // WM_MDIACTIVATE through the client switches the active child.
    ::SendMessage(pMain->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pA->m_hWnd), 0);
    EXPECT_EQ(pA, pMain->MDIGetActive());
    pMain->SendMessage(WM_COMMAND, MAKEWPARAM(42088, 0), 0);
    EXPECT_EQ(1, pViewA->m_nZoom);
    EXPECT_EQ(0, pViewB->m_nZoom);

    // Closing the active child makes the other one active.
    pA->MDIDestroy();
    EXPECT_EQ(pB, pMain->MDIGetActive());
    pMain->ShowControlBar(nullptr, FALSE, FALSE);
    ASSERT_EQ(1u, pMain->m_controlBarCalls.size());
    EXPECT_FALSE(pMain->m_controlBarCalls[0].bShow);

    pMain->SendMessage(WM_CLOSE);   // the main frame's close ends the application
    EXPECT_EQ(nullptr, pApp->m_pMainWnd);
    CUiDriver::Get().PumpMessages();
    EXPECT_TRUE(CUiDriver::Get().QuitReceived());
}

TEST_F(UiTest, RegisteredClassPopupLegendWindow) {
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_STREQ(cls, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr));
    CWnd legend;
    ASSERT_TRUE(legend.CreateEx(0, cls, "Legend Window", WS_POPUP | WS_VISIBLE | WS_THICKFRAME, 10, 10, 100, 120, owner.m_hWnd, nullptr));
    EXPECT_EQ(&owner, legend.GetOwner());
    EXPECT_EQ(&owner, legend.GetParent());   // a pop-up's parent is its owner
    EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
    CRect rc;
    legend.GetClientRect(&rc);
    EXPECT_EQ(CRect(0, 0, 92, 112), rc);
    CString title;
    legend.GetWindowText(title);
    EXPECT_STREQ("Legend Window", title);
    // Owned pop-ups go with their owner.
    HWND hLegend = legend.m_hWnd;
    owner.DestroyWindow();
    EXPECT_FALSE(::IsWindow(hLegend));
}
