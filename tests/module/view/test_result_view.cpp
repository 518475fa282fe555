// The result view: its life with its model, the routing table, the initial view, the result
// instructions and their check marks, the context menu, activation, the animation commands and
// timers against a media-player window, resizing during playback, and the test toggles.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/module/view/ViewIncludes.h"
#include "tests/module/view/ViewTestSupport.h"

namespace {

const int kModes[] = {0, 1, 4, 5, 6, 8};

struct ViewFixture : testing::Test {
    CDBDoc doc;
    CWnd frame;
    CPVXView* view = nullptr;

    virtual bool EmptyDatabase() const { return false; }

    void SetUp() override {
        CUiDriver::Get().Reset();
        CUiDriver::Get().UseVirtualClock(TRUE);
        if (CDockDlgBarBase::GetDlgBarMode() != -1) CDockDlgBarBase::CloseDlgBar();
        CHostRequestLog::Clear();
        PostDBBuilder b;
        b.Set3D(TRUE);
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 0, 0, 3);
        b.AddNode(3, 6, 0, 3);
        if (!EmptyDatabase()) {
            b.AddElem(1, PELEM_KIND_FRAME, 101, {1, 2});
            b.AddElem(2, PELEM_KIND_FRAME, 201, {2, 3});
            b.AddMemb(1, 101, {1, 2}, {1});
            b.AddMemb(2, 201, {2, 3}, {2});
        }
        b.Install(doc);
        CDBDoc::m_pDBDoc = &doc;
        ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr));
        view = MakeView();
        ASSERT_NE(view, nullptr);
    }

    void TearDown() override {
        if (view && view->GetSafeHwnd()) view->DestroyWindow();
        if (frame.GetSafeHwnd()) frame.DestroyWindow();
        CDBDoc::m_pDBDoc = nullptr;
        CPVXBarContainerBase::m_nCurrentMode = -1;
        CPVXBarContainerBase::m_nCurrentTMMode = -1;
        if (CDockDlgBarBase::GetDlgBarMode() != -1) CDockDlgBarBase::CloseDlgBar();
        CHostRequestLog::Clear();
        CUiDriver::Get().Reset();
    }

    CPVXView* MakeView() {
        auto* v = new CPVXView;  // deletes itself with its window
        if (!v->Create(nullptr, "result", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &frame, AFX_IDW_PANE_FIRST)) {
            return nullptr;
        }
        v->GetI_PVXCtrl()->SetPVXViewMode(1);
        return v;
    }

    I_PVXModel* Model() { return view->GetPVXModel(); }
    I_PVXCtrl* Ctrl() { return view->GetI_PVXCtrl(); }

    void Command(UINT id) { view->SendMessage(WM_COMMAND, id, 0); }

    struct Probe {
        int enabled;  // 1, 0, or -1 when the handler left it alone
        int checked;  // 0, 1, or -1
    };
    Probe Update(UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        ui.DoUpdate(view, FALSE);
        return {ui.m_nEnabled, ui.m_nChecked};
    }

    std::vector<CHostRequest> BarRequests() {
        std::vector<CHostRequest> out;
        for (const CHostRequest& r : CHostRequestLog::GetAll())
            if (r.nKind == HR_SHOW_DLGBAR || r.nKind == HR_CLOSE_DLGBAR || r.nKind == HR_CLOSE_FIGURE_DLG ||
                r.nKind == HR_SET_FIGURE_TREE)
                out.push_back(r);
        return out;
    }
};

struct EmptyViewFixture : ViewFixture {
    bool EmptyDatabase() const override { return true; }
};

TEST_F(ViewFixture, OwnsOneModelLinkedToItsControlAndNeverLeavesTheCurrentViewDangling) {
    ASSERT_NE(Model(), nullptr);
    EXPECT_EQ(Ctrl()->GetI_PVXModel(), static_cast<I_PVXModelBase*>(Model())) << "the control calls the model back";
    EXPECT_EQ(Model()->GetView(), view);
    EXPECT_EQ(CPVXView::m_pMyself, view);
    EXPECT_EQ(view->GetDBDoc(), &doc);

    CPVXView* second = MakeView();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(CPVXView::m_pMyself, second) << "the newest view is the current one";
    view->DestroyWindow();
    view = nullptr;
    EXPECT_EQ(CPVXView::m_pMyself, second) << "destroying another view keeps the current one";
    second->DestroyWindow();
    EXPECT_EQ(CPVXView::m_pMyself, nullptr) << "the current view is forgotten when it is destroyed";
}

TEST_F(ViewFixture, MessageMapHasFiftyEntriesInTheirOrder) {
    struct Row {
        UINT msg;
        UINT code;
        UINT id;
    };
    std::vector<Row> rows = {{WM_CREATE, 0, 0}, {WM_COMMAND, CN_COMMAND, 42015},
                             {WM_COMMAND, UINT(CN_UPDATE_COMMAND_UI), 42015}, {WM_PARENTNOTIFY, 0, 0},
                             {WM_SIZE, 0, 0}, {WM_TIMER, 0, 0}, {WM_DESTROY, 0, 0}, {WM_LBUTTONDOWN, 0, 0},
                             {WM_LBUTTONUP, 0, 0}, {WM_MOUSEMOVE, 0, 0}};
    auto addIds = [&](std::initializer_list<UINT> ids) {
        for (UINT id : ids) rows.push_back({WM_COMMAND, CN_COMMAND, id});
        for (UINT id : ids) rows.push_back({WM_COMMAND, UINT(CN_UPDATE_COMMAND_UI), id});
    };
    addIds({42004, 42088, 42089, 42090, 42046, 42003});
    addIds({42016, 42017, 42022, 42018, 42051, 42020, 42021, 42023, 42024, 42025});
    addIds({42064, 42065, 42066, 42067});
    ASSERT_EQ(rows.size(), 50u);
    const AFX_MSGMAP_ENTRY* e = CPVXView::GetThisMessageMap()->lpEntries;
    size_t n = 0;
    while (e[n].nSig != AfxSig_end) ++n;
    ASSERT_EQ(n, rows.size());
    for (size_t i = 0; i < n; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_EQ(e[i].nMessage, rows[i].msg);
        EXPECT_EQ(e[i].nCode, rows[i].code);
        EXPECT_EQ(e[i].nID, rows[i].id);
    }
}

TEST_F(ViewFixture, InitialViewClosesTheModuleBarAndResetsModelAndControl) {
    struct Row {
        const char* label;
        int barMode;       // what the docking bar shows before, -1 closed
        bool closesBar;
    } rows[] = {
        {"module bar open", 7301, true},
        {"host bar open", 100, false},
        {"no bar", -1, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        if (r.barMode != -1) CDockDlgBarBase::ShowDlgBarMode(r.barMode, 0);
        CPVXBarContainerBase::m_nCurrentMode = 6;
        Model()->m_nDisplayMode = 6;
        Model()->m_nBarDisplayMode = 6;
        Model()->m_AnimationEngine.m_bAnimationMode = 1;
        Ctrl()->SetClientWindowMargin(60, 0, 0, 0, 0, 0);
        Ctrl()->BeginAccumulateMode();
        Ctrl()->XGL_ClearGroupLog();
        CHostRequestLog::Clear();

        view->DoInitialView();

        std::vector<CHostRequest> req = BarRequests();
        std::vector<int> kinds;
        for (auto& q : req) kinds.push_back(q.nKind);
        if (r.closesBar) {
            ASSERT_EQ(kinds, (std::vector<int>{HR_CLOSE_DLGBAR, HR_CLOSE_FIGURE_DLG})) << "bar first, then the figure panel";
            EXPECT_EQ(req[0].nId, r.barMode);
            EXPECT_EQ(CPVXBarContainerBase::m_nCurrentMode, -1);
            EXPECT_EQ(CDockDlgBarBase::GetDlgBarMode(), -1);
        } else {
            EXPECT_EQ(kinds, (std::vector<int>{HR_CLOSE_FIGURE_DLG}));
            EXPECT_EQ(CPVXBarContainerBase::m_nCurrentMode, 6) << "a bar of the host is none of the module's business";
            EXPECT_EQ(CDockDlgBarBase::GetDlgBarMode(), r.barMode);
        }
        EXPECT_EQ(Model()->m_nDisplayMode, -1);
        EXPECT_EQ(Model()->m_nBarDisplayMode, -1);
        EXPECT_EQ(Model()->m_bInitializing, 0) << "the model's initialisation ends the initialising state";
        EXPECT_EQ(CPVXBarContainerBase::m_pMyself, nullptr);
        EXPECT_TRUE(Ctrl()->GetClientWindowMargin(0).IsRectEmpty());
        EXPECT_EQ(Ctrl()->IsAccumulateMode(), 0);
        const auto& log = Ctrl()->XGL_GetGroupLog();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[0].kind, GXglGroup::CUTTING_BEGIN);
        EXPECT_EQ(log[1].kind, GXglGroup::CUTTING_END);
        EXPECT_EQ(Model()->m_AnimationEngine.m_bAnimationMode, 0) << "animation mode is left";
        if (CDockDlgBarBase::GetDlgBarMode() != -1) CDockDlgBarBase::CloseDlgBar();
    }
}

TEST_F(ViewFixture, ResultInstructionsOpenTheirBarPageAndCheckTheirItem) {
    struct Row {
        UINT id;
        int mode;
        int resultId;
    } rows[] = {{42004, 0, 7101}, {42088, 1, 7201}, {42089, 4, 7203},
                {42090, 5, 7501}, {42046, 6, 7301}, {42003, 8, 7305}};
    for (const Row& r : rows) {
        SCOPED_TRACE("command " + std::to_string(r.id));
        CHostRequestLog::Clear();
        Model()->m_nBarDisplayMode = -1;
        Command(r.id);
        EXPECT_EQ(Model()->m_nBarDisplayMode, r.mode);
        auto shows = CHostRequestLog::GetOfKind(HR_SHOW_DLGBAR);
        ASSERT_EQ(shows.size(), 1u);
        EXPECT_EQ(shows[0].nId, r.resultId);
        EXPECT_EQ(shows[0].nArg, 0);
        for (const Row& other : rows) {
            SCOPED_TRACE("item " + std::to_string(other.id));
            Probe p = Update(other.id);
            EXPECT_NE(p.enabled, 0);
            EXPECT_EQ(p.checked, other.id == r.id ? 1 : 0) << "only the item of the bar's result is checked";
        }
    }
    // Outside the result view mode nothing happens and the items are disabled.
    Ctrl()->SetPVXViewMode(0);
    CHostRequestLog::Clear();
    Model()->m_nBarDisplayMode = -1;
    for (const Row& r : rows) {
        SCOPED_TRACE("outside the mode, command " + std::to_string(r.id));
        Command(r.id);
        EXPECT_EQ(Update(r.id).enabled, 0);
    }
    EXPECT_EQ(Model()->m_nBarDisplayMode, -1);
    EXPECT_EQ(CHostRequestLog::CountOfKind(HR_SHOW_DLGBAR), 0);
}

TEST_F(EmptyViewFixture, ResultInstructionsDoNothingWithoutElements) {
    for (UINT id : {42004u, 42088u, 42089u, 42090u, 42046u, 42003u}) {
        SCOPED_TRACE("command " + std::to_string(id));
        Command(id);
        EXPECT_EQ(Model()->m_nBarDisplayMode, -1);
        EXPECT_EQ(Update(id).enabled, 0);
    }
    EXPECT_EQ(CHostRequestLog::CountOfKind(HR_SHOW_DLGBAR), 0);
}

TEST_F(ViewFixture, ContextMenuOpensOnARightClickOnlyInResultViewMode) {
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 110), view, 77));
    CUiDriver& d = CUiDriver::Get();

    d.SendMouse(&child, WM_LBUTTONDOWN, CPoint(5, 5));
    EXPECT_TRUE(d.Menus().empty()) << "a left click opens no menu";

    d.QueueMenuChoice(42004);
    d.SendMouse(&child, WM_RBUTTONDOWN, CPoint(5, 5));
    ASSERT_EQ(d.Menus().size(), 1u);
    const UiMenuRecord& m = d.Menus()[0];
    const std::vector<UINT> ids = {42004, 42088, 42089, 0, 42090, 0, 42046, 42003, 0, 0};
    EXPECT_EQ(m.ids, ids);
    ASSERT_EQ(m.texts.size(), ids.size());
    EXPECT_EQ(m.texts[0], "反力");
    EXPECT_EQ(m.texts[9], "动画");
    EXPECT_EQ(m.chosen, 42004u);
    d.PumpMessages();
    auto shows = CHostRequestLog::GetOfKind(HR_SHOW_DLGBAR);
    ASSERT_EQ(shows.size(), 1u) << "the chosen item reaches the view";
    EXPECT_EQ(shows[0].nId, 7101);

    Ctrl()->SetPVXViewMode(0);
    d.SendMouse(&child, WM_RBUTTONDOWN, CPoint(5, 5));
    EXPECT_EQ(d.Menus().size(), 1u) << "no menu outside the result view mode";
    child.DestroyWindow();
}

TEST_F(ViewFixture, ActivationMakesTheViewCurrentAndReopensItsBarPage) {
    CPVXView* other = MakeView();
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(CPVXView::m_pMyself, other);
    I_PVXModel* m1 = Model();
    I_PVXModel* m2 = other->GetPVXModel();

    // The bar shows frame forces; the first view's bars had display mode 6.
    CDockDlgBarBase::ShowDlgBarMode(7301, 0);
    m1->m_nBarDisplayMode = 6;
    CPVXFigure::m_pMyself = nullptr;
    CHostRequestLog::Clear();
    view->OnActivateView(TRUE, view, other);
    EXPECT_EQ(CPVXView::m_pMyself, view);
    EXPECT_EQ(m1->m_bActivated, 1);
    EXPECT_EQ(CPVXFigure::m_pMyself, m1->m_pFigure);
    std::vector<CHostRequest> req = BarRequests();
    ASSERT_EQ(req.size(), 3u);
    EXPECT_EQ(req[0].nKind, HR_SET_FIGURE_TREE) << "a first figure controller on a 3-D model builds the tree";
    EXPECT_EQ(req[1].nKind, HR_CLOSE_DLGBAR);
    EXPECT_EQ(req[2].nKind, HR_SHOW_DLGBAR);
    EXPECT_EQ(req[2].nId, 7301) << "the page of the view's own result is reopened";

    // The other view had no result: its activation closes the bar and keeps the figure tree.
    m2->m_nBarDisplayMode = -1;
    CHostRequestLog::Clear();
    other->OnActivateView(TRUE, other, view);
    EXPECT_EQ(CPVXView::m_pMyself, other);
    EXPECT_EQ(CPVXFigure::m_pMyself, m2->m_pFigure);
    req = BarRequests();
    ASSERT_EQ(req.size(), 1u);
    EXPECT_EQ(req[0].nKind, HR_CLOSE_DLGBAR);

    // Activating the current view again, or outside the result view mode, does nothing.
    CDockDlgBarBase::ShowDlgBarMode(7301, 0);
    CHostRequestLog::Clear();
    other->OnActivateView(TRUE, other, other);
    view->GetI_PVXCtrl()->SetPVXViewMode(0);
    view->OnActivateView(TRUE, view, other);
    EXPECT_TRUE(BarRequests().empty());
    EXPECT_EQ(CPVXView::m_pMyself, other);

    // The host's own activation call: current view and bar, without the figure controller.
    m1->m_nBarDisplayMode = 8;
    m1->m_bActivated = 0;
    CPVXFigure* figure = CPVXFigure::m_pMyself;
    CHostRequestLog::Clear();
    view->HandleActivateView();
    EXPECT_EQ(CPVXView::m_pMyself, view);
    EXPECT_EQ(m1->m_bActivated, 1);
    EXPECT_EQ(CPVXFigure::m_pMyself, figure);
    req = BarRequests();
    ASSERT_EQ(req.size(), 2u);
    EXPECT_EQ(req[0].nKind, HR_CLOSE_DLGBAR);
    EXPECT_EQ(req[1].nKind, HR_SHOW_DLGBAR);
    EXPECT_EQ(req[1].nId, 7301) << "reopened on the bar's own mode";
    m1->m_nBarDisplayMode = -1;
    CHostRequestLog::Clear();
    view->HandleActivateView();
    req = BarRequests();
    ASSERT_EQ(req.size(), 1u);
    EXPECT_EQ(req[0].nKind, HR_CLOSE_DLGBAR);
    other->DestroyWindow();
}

TEST_F(ViewFixture, TestCommandsToggleTheirSwitchAndShowIt) {
    struct Row {
        UINT id;
        std::function<int(I_PVXModel*)> get;
    } rows[] = {
        {42064, [](I_PVXModel* m) { return m->m_pDispOpt->m_nRenderStyle; }},
        {42065, [](I_PVXModel* m) { return m->m_bTestSwitch1; }},
        {42066, [](I_PVXModel* m) { return m->m_bTestSwitch2; }},
        {42067, [](I_PVXModel* m) { return m->m_pDispOpt->m_bWireFrame; }},
    };
    ASSERT_NE(Model()->m_pDispOpt, nullptr);
    for (const Row& r : rows) {
        SCOPED_TRACE("command " + std::to_string(r.id));
        const int before = r.get(Model()) ? 1 : 0;
        Command(r.id);
        EXPECT_EQ(r.get(Model()) ? 1 : 0, 1 - before);
        EXPECT_EQ(Update(r.id).checked, 1 - before);
        Ctrl()->SetPVXViewMode(0);
        Command(r.id);
        EXPECT_EQ(r.get(Model()) ? 1 : 0, 1 - before) << "no toggle outside the result view mode";
        EXPECT_EQ(Update(r.id).checked, 1 - before) << "the check mark shows the switch in any mode";
        Ctrl()->SetPVXViewMode(1);
    }
}

TEST_F(ViewFixture, ExportCommandsAskTheModelForAFileOnlyInResultViewMode) {
    CUiDriver& d = CUiDriver::Get();
    for (const char* ext : {"emf", "bmp"}) {
        SCOPED_TRACE(ext);
        auto exportImage = [&] {
            if (std::string(ext) == "emf")
                view->OnPvxWriteemf();
            else
                view->OnPvxWritebmp();
        };
        const size_t before = d.FileDialogs().size();
        Ctrl()->SetPVXViewMode(0);
        exportImage();
        EXPECT_EQ(d.FileDialogs().size(), before) << "nothing outside the result view mode";
        Ctrl()->SetPVXViewMode(1);
        exportImage();  // no answer queued: the save dialog is cancelled
        ASSERT_EQ(d.FileDialogs().size(), before + 1);
        EXPECT_FALSE(d.FileDialogs().back().bOpenFileDialog);
        EXPECT_EQ(d.FileDialogs().back().defExt, ext);
    }
}

TEST_F(ViewFixture, LegendClickOutsideTheResultModeOrWithoutEditableScaleClearsTheLegendRectangle) {
    CLegendEngine& legend = Model()->m_LegendEngine;
    struct Row {
        const char* label;
        int resultMode;
    } rows[] = {{"outside the result view mode", 0}, {"no result shown", 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Ctrl()->SetPVXViewMode(r.resultMode);
        Model()->m_nDisplayMode = -1;
        legend.m_bLegendRect = 1;
        legend.m_rcLegend.SetRect(300, 20, 380, 200);
        CUiDriver::Get().SendMouse(view, WM_LBUTTONDOWN, CPoint(340, 100));
        EXPECT_EQ(legend.m_bLegendRect, 0);
        EXPECT_EQ(legend.m_pLegendWnd, nullptr);
    }
}

TEST_F(ViewFixture, LegendClickInsideAnEditableScaleOpensThePopupLegendOverIt) {
    CLegendEngine& legend = Model()->m_LegendEngine;
    CContourEngine scale;
    legend.m_pContourEngine = &scale;
    Model()->m_nDisplayMode = 6;  // frame force contour: the user may type its levels
    legend.m_rcLegend.SetRect(300, 20, 380, 200);

    legend.m_bLegendRect = 1;
    CUiDriver::Get().SendMouse(view, WM_LBUTTONDOWN, CPoint(100, 100));
    EXPECT_EQ(legend.m_pLegendWnd, nullptr) << "a click beside the scale opens nothing";
    EXPECT_EQ(legend.m_bLegendRect, 1);

    CUiDriver::Get().SendMouse(view, WM_LBUTTONDOWN, CPoint(340, 100));
    ASSERT_NE(legend.m_pLegendWnd, nullptr);
    CWnd* popup = legend.m_pLegendWnd;
    ASSERT_TRUE(::IsWindow(popup->GetSafeHwnd()));
    CRect rcScreen = legend.m_rcLegend;
    view->ClientToScreen(&rcScreen);
    CRect rcPopup;
    popup->GetWindowRect(&rcPopup);
    EXPECT_EQ(rcPopup.TopLeft(), rcScreen.TopLeft()) << "the popup lies over the scale";
    EXPECT_EQ(rcPopup.Width(), rcScreen.Width());
    popup->DestroyWindow();  // the popup deletes itself
    legend.m_pLegendWnd = nullptr;
    legend.m_pContourEngine = nullptr;
}

// ---- animation ------------------------------------------------------------------------------

struct AnimationFixture : ViewFixture {
    HWND hFilm = nullptr;
    std::string film;

    void SetUp() override {
        ViewFixture::SetUp();
        if (HasFatalFailure()) return;
        CAnimationEngine& ani = Model()->m_AnimationEngine;
        film = viewtest::WriteFilm("view_film.avi", 400, 10);
        hFilm = MCIWndCreate(view->GetSafeHwnd(), nullptr, 0x5000400E, film.c_str());
        ASSERT_NE(hFilm, nullptr);
        ani.m_hMCIWnd = hFilm;
        ani.m_strFinalPath = film.c_str();
        ani.m_bRecorded = 1;
        Model()->m_bAnimation = 1;
        ASSERT_NE(ani.m_pAniCtrlBar, nullptr);
        ASSERT_TRUE(ani.m_pAniCtrlBar->m_wndSlider.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 20), view, 11259));
        ani.m_pAniCtrlBar->m_wndSlider.SetRange(0, 400);
        view->SetTimer(CAnimationEngine::TIMER_PLAY, 250);
        view->SetTimer(CAnimationEngine::TIMER_SLIDER, 10);
    }
    void TearDown() override {
        if (view) {
            view->KillTimer(CAnimationEngine::TIMER_PLAY);
            view->KillTimer(CAnimationEngine::TIMER_SLIDER);
        }
        if (::IsWindow(hFilm)) MCIWndDestroy(hFilm);
        if (!film.empty()) std::remove(film.c_str());
        ViewFixture::TearDown();
    }
    CAnimationEngine& Ani() { return Model()->m_AnimationEngine; }
    int FilmMode() { return MCIWndGetMode(hFilm, nullptr, 0); }
    // The clock moves in steps of 10 ms, each followed by the timers that fell due.
    void Wait(DWORD ms) {
        for (DWORD t = 0; t < ms; t += 10) {
            CUiDriver::Get().AdvanceTime(10);
            CUiDriver::Get().PumpMessages();
        }
    }
    int SliderPos() { return Ani().m_pAniCtrlBar->m_wndSlider.GetPos(); }
};

TEST_F(AnimationFixture, PlayStatesFollowCommandsAndTicks) {
    struct Step {
        const char* label;
        UINT cmd;     // 0: only wait
        DWORD wait;   // ms of the clock after the command, timers firing
        int state;
        int filmMode;
        int speed;    // -1: not checked
    } steps[] = {
        {"play", 42015, 0, 3, MCI_MODE_STOP, -1},
        {"the next tick plays at normal speed", 0, 500, 3, MCI_MODE_PLAY, 1000},
        {"fast forward pauses the film", 42020, 0, 4, MCI_MODE_PAUSE, -1},
        {"the tick plays at double speed", 0, 1000, 4, MCI_MODE_PLAY, 2000},
        {"pause", 42016, 0, 1, MCI_MODE_PAUSE, 2000},
        {"ticks leave a paused film alone", 0, 1000, 1, MCI_MODE_PAUSE, 2000},
        {"pause while paused asks for a resume", 42016, 0, 2, MCI_MODE_PAUSE, 2000},
        {"the next tick resumes at the earlier speed", 0, 250, 4, MCI_MODE_PLAY, 2000},
        {"and plays on", 0, 1000, 4, MCI_MODE_PLAY, 2000},
        {"replay pauses", 42051, 0, 5, MCI_MODE_PAUSE, -1},
        {"the tick plays backward at double speed", 0, 500, 5, MCI_MODE_PLAY, 2000},
        {"play after replay", 42015, 0, 3, MCI_MODE_PLAY, -1},
        {"the tick goes back to normal speed", 0, 250, 3, MCI_MODE_PLAY, 1000},
        {"and plays forward", 0, 500, 3, MCI_MODE_PLAY, 1000},
        {"stop", 42017, 0, 0, MCI_MODE_STOP, -1},
        {"ticks leave a stopped film alone", 0, 1000, 0, MCI_MODE_STOP, -1},
    };
    LONG lastPos = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.label);
        const LONG before = MCIWndGetPosition(hFilm);
        if (s.cmd) Command(s.cmd);
        Wait(s.wait);
        EXPECT_EQ(Ani().m_nPlayState, s.state);
        EXPECT_EQ(FilmMode(), s.filmMode);
        if (s.speed > 0) {
            EXPECT_EQ(MCIWndGetSpeed(hFilm), s.speed);
        }
        const LONG pos = MCIWndGetPosition(hFilm);
        // A tick changes the film within one period; movement shows over longer waits.
        if (s.state >= 3 && s.wait >= 500) {
            EXPECT_EQ(SliderPos(), pos) << "the slider follows the film";
            if (s.state == 5) {
                EXPECT_LT(pos, before) << "replay runs backward";
            } else {
                EXPECT_GT(pos, before);
            }
        }
        if (s.state == 1 && s.wait > 0) {
            EXPECT_EQ(pos, before) << "a paused film holds its frame";
        }
        lastPos = pos;
    }
    EXPECT_EQ(lastPos, 0) << "stop returns to the start";
    EXPECT_EQ(SliderPos(), 0);

    Command(42021);
    EXPECT_EQ(MCIWndGetPosition(hFilm), 400) << "jump forward seeks the end";
    EXPECT_EQ(SliderPos(), 400);
    Command(42018);
    EXPECT_EQ(MCIWndGetPosition(hFilm), 0) << "jump back seeks the start";
    EXPECT_EQ(SliderPos(), 0);
}

TEST_F(AnimationFixture, CommandsNeedAnAnimationAndAWindowForARecordedFilm) {
    Model()->m_bAnimation = 0;
    Ani().m_bAnimationMode = 0;
    Command(42015);
    EXPECT_EQ(Ani().m_nPlayState, 0) << "no animation: nothing happens";
    Model()->m_bAnimation = 1;
    Ani().m_hMCIWnd = nullptr;
    Command(42015);
    EXPECT_EQ(Ani().m_nPlayState, 0) << "a recorded film without its window cannot be played";
    Ani().m_hMCIWnd = hFilm;
    Ctrl()->SetPVXViewMode(0);
    Command(42015);
    EXPECT_EQ(Ani().m_nPlayState, 0) << "nothing outside the result view mode";
    Ctrl()->SetPVXViewMode(1);
    Command(42015);
    EXPECT_EQ(Ani().m_nPlayState, 3);
}

TEST_F(AnimationFixture, SavingCopiesTheFilmAndResumesOnlyWhatItPaused) {
    const std::string dir = viewtest::TempPath("view_save");
    std::filesystem::create_directories(dir);
    struct Row {
        const char* label;
        int stateBefore;
        std::string answer;  // empty: cancelled
        bool copied;
        int stateAfter;
        bool messageBox;
    } rows[] = {
        {"playing", 3, dir + "/a.avi", true, 2, false},
        {"paused by the user", 1, dir + "/b.avi", true, 1, false},
        {"stopped", 0, dir + "/c.avi", true, 0, false},
        {"cancelled while fast", 4, "", false, 2, false},
        {"folder missing", 3, dir + "/missing/d.avi", false, 2, true},
    };
    CUiDriver& d = CUiDriver::Get();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        d.ClearMessageBoxes();
        if (!r.answer.empty()) std::filesystem::remove(r.answer);
        Ani().m_nPlayState = r.stateBefore;
        d.QueueFileDialogAnswer(r.answer.c_str());
        const size_t dialogs = d.FileDialogs().size();
        Command(42022);
        ASSERT_EQ(d.FileDialogs().size(), dialogs + 1);
        const UiFileDialogRecord& rec = d.FileDialogs().back();
        EXPECT_FALSE(rec.bOpenFileDialog);
        EXPECT_EQ(rec.defExt, "avi");
        EXPECT_EQ(rec.fileName, "*.avi");
        EXPECT_EQ(rec.filter, "Avi Files (*.avi)|*.avi|All Files (*.*)|*.*||");
        EXPECT_EQ(!r.answer.empty() && std::filesystem::exists(r.answer), r.copied);
        if (r.copied) {
            EXPECT_EQ(std::filesystem::file_size(r.answer), std::filesystem::file_size(film));
        }
        EXPECT_EQ(Ani().m_nPlayState, r.stateAfter);
        EXPECT_EQ(d.MessageBoxes().empty(), !r.messageBox) << "a failed copy is reported";
    }
    // The film resumes at the speed it had before the save paused it.
    Ani().m_nPlayState = 4;
    Wait(250);
    d.QueueFileDialogAnswer("");
    Command(42022);
    EXPECT_EQ(FilmMode(), MCI_MODE_PAUSE);
    Wait(250);
    EXPECT_EQ(Ani().m_nPlayState, 4);
    EXPECT_EQ(FilmMode(), MCI_MODE_PLAY);
    std::filesystem::remove_all(dir);
}

// Counts the size changes of the film window.
class SizeCounter : public CWnd {
public:
    int m_nSizes = 0;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy) {
        ++m_nSizes;
        CWnd::OnSize(nType, cx, cy);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SizeCounter, CWnd)
    ON_WM_SIZE()
END_MESSAGE_MAP()

TEST_F(AnimationFixture, ABurstOfSizeMessagesMovesTheFilmOnce) {
    struct Row {
        const char* label;
        int state;
        int stateAfter;
        int width;  // of the last size message
    } rows[] = {
        {"playing", 3, 2, 500},
        {"paused by the user", 1, 1, 510},
        {"stopped", 0, 0, 520},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        SizeCounter counter;
        ASSERT_TRUE(counter.SubclassWindow(hFilm));
        Ani().m_nPlayState = r.state;
        view->PostMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
        view->PostMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(420, 250));
        view->PostMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.width, 260));
        CUiDriver::Get().PumpMessages();
        EXPECT_EQ(counter.m_nSizes, 1) << "only the last size message moves the film";
        CRect rc;
        ::GetWindowRect(hFilm, &rc);
        view->ScreenToClient(&rc);
        EXPECT_EQ(rc, CRect(0, 0, r.width, 260)) << "the film covers the last size";
        EXPECT_EQ(Ani().m_nPlayState, r.stateAfter);
        counter.UnsubclassWindow();
    }
    // The paused film resumes in the state the resize interrupted.
    Ani().m_nPlayState = 4;
    Wait(250);
    view->PostMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(450, 250));
    CUiDriver::Get().PumpMessages();
    EXPECT_EQ(Ani().m_nPlayState, 2);
    Wait(250);
    EXPECT_EQ(Ani().m_nPlayState, 4);
    EXPECT_EQ(MCIWndGetSpeed(hFilm), 2000);

    // While frames are still to be recorded the film window is left alone.
    Ani().m_bRecorded = 0;
    Ani().m_bRecording = 0;
    SizeCounter counter;
    ASSERT_TRUE(counter.SubclassWindow(hFilm));
    view->PostMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 240));
    CUiDriver::Get().PumpMessages();
    EXPECT_EQ(counter.m_nSizes, 0);
    counter.UnsubclassWindow();
}

TEST_F(AnimationFixture, UpdateHandlersEnableWhatTheFilmAllows) {
    CAniCtrlBar* bar = Ani().m_pAniCtrlBar;
    ASSERT_TRUE(bar->Create(nullptr, "Animation", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 30), &frame, 300));
    struct Case {
        const char* label;
        int run, recorded, recording, ready, state;
        // ids and what is expected: enabled, checked (-1 untouched)
        std::vector<std::tuple<UINT, int, int>> expect;
    } cases[] = {
        {"ready to record", 0, 0, 0, 1, 0,
         {{42023, 1, -1}, {42024, 0, -1}, {42015, 0, -1}, {42016, 0, -1}, {42025, 1, 1}}},
        {"recording", 1, 0, 1, 1, 0, {{42023, 0, -1}, {42024, 0, -1}, {42022, 0, -1}}},
        {"animation without readiness", 1, 0, 0, 0, 0, {{42023, 0, -1}, {42024, 1, -1}}},
        {"playing", 1, 1, 0, 0, 3,
         {{42016, 1, 0}, {42018, 1, -1}, {42020, 1, -1}, {42021, 1, -1}, {42051, 1, -1}, {42023, 0, -1},
          {42024, 1, -1}, {42015, 1, -1}, {42017, 1, -1}, {42022, 1, -1}}},
        {"paused", 1, 1, 0, 0, 1,
         {{42016, 1, 1}, {42018, 0, -1}, {42020, 0, -1}, {42021, 0, -1}, {42051, 0, -1}, {42015, 1, -1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Model()->m_bAnimation = c.run;
        Ani().m_bRecorded = c.recorded;
        Ani().m_bRecording = c.recording;
        Ani().m_bAnimationMode = c.ready;
        Ani().m_nPlayState = c.state;
        for (const auto& [id, enabled, checked] : c.expect) {
            SCOPED_TRACE("item " + std::to_string(id));
            Probe p = Update(id);
            EXPECT_EQ(p.enabled, enabled);
            if (checked != -1) {
                EXPECT_EQ(p.checked, checked);
            }
        }
    }
    // Show control bar toggles the bar and its check mark follows.
    Model()->m_bAnimation = 1;
    Command(42025);
    EXPECT_FALSE(bar->IsWindowVisible());
    EXPECT_EQ(Update(42025).checked, 0);
    Command(42025);
    EXPECT_TRUE(bar->IsWindowVisible());
    // Outside the result view mode the items are left as they are.
    Ctrl()->SetPVXViewMode(0);
    EXPECT_EQ(Update(42016).enabled, -1);
    bar->DestroyWindow();
}

}  // namespace
