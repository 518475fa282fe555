// The execute step of the bar container base: its call order for a reaction result, the engines
// the model receives by display mode, the legend and title rules of modes 3 and 4, the result
// table commands, the legend font ratio, the page layout, the settings block's round trip
// through the model, closing, and several containers living at once.
#include <algorithm>

#include "module/figures/CPVXFigure.h"
#include "tests/module/bars/BarTestSupport.h"

namespace bartest {
namespace {

// The bar steps of a call trace, without the engine calls the render path notes.
std::vector<std::string> BarSteps(const std::vector<std::string>& calls) {
    std::vector<std::string> out;
    bool bInRender = false;
    for (const std::string& c : calls) {
        if (c == "I_PVXModel::PVXRender") {
            out.push_back(c);
            bInRender = true;
            continue;
        }
        if (c == "I_PVXModel::RebuildQTree") bInRender = false;
        if (!bInRender) out.push_back(c);
    }
    return out;
}

TEST_F(BarFixture, ExecuteOfAReactionResultRunsItsStepsInOrder) {
    ReacBar* bar = MakeBar<ReacBar>();
    ASSERT_NE(bar, nullptr);
    bar->ShowChildDlgByMode(PVXResult::kReacPile);
    TestPage* page = bar->Page(1);
    ASSERT_TRUE(page->GetSafeHwnd()) << "the page of 7101 is shown";
    Model().m_pDispOpt->m_Legend.m_bShowLegend = 0;
    CUiDialogSession user(page);
    user.SetControlText(IDC_TEST_COMPONENT, "5");
    user.SetCheck(IDC_TEST_LEGEND, BST_CHECKED);
    EngineCallLog::Enable(true);
    CHostRequestLog::Clear();
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    const std::vector<std::string> want = {
        "I_PVXCtrl::UnselectAllObject",     // 1
        "I_MainFrameBase::CloseFigureDlg",
        "CLegendEngine::InitFont",          // 2
        "CAnimationEngine::ExitAnimationMode",  // 3
        "I_PVXCtrl::OffKrigContour",        // 5
        "CPVXBarDlgBase::ApplyOptions",
        "Copy2PVXModelBarInfo",             // 6
        "I_PVXModel::ResetEngines",
        "CReactionEngine::ImportEngine",
        "I_PVXModel::ActiveModelViewFrame",
        "I_PVXModel::ResetLegendRect",      // 7
        "I_PVXCtrl::ViewZoomAll",           // 8: the page's legend box brings the legend
        "I_PVXCtrl::SetShowVPointIcon",     // 9
        "I_PVXModel::ResetDeformed",        // 10
        "I_PVXModel::InitDeformed",
        "CPVXView::RestoreFrameTitle",      // 11
        "I_PVXCtrl::UpdateAllWcsVcsMBR",
        "I_PVXModel::PVXRender",            // 12
        "I_PVXModel::RebuildQTree",
    };
    EXPECT_EQ(BarSteps(EngineCallLog::Calls()), want);
    EXPECT_EQ(page->m_nApplied, 1);
    EXPECT_EQ(Model().m_nDisplayMode, PVXMode::kReaction);
    ASSERT_NE(Model().m_pReactionEngine, nullptr);
    EXPECT_NE(Model().m_pReactionEngine, CPVXBarContainerBase::m_pCurrentEngine) << "the model gets its own copy";
    EXPECT_EQ(Model().m_pReactionEngine->m_nComponent, 5) << "the page's component reached the model";
    EXPECT_EQ(Model().m_pReactionEngine->m_nDataKind, CReactionEngine::KIND_REACTION) << "the reactions page's kind";
    EXPECT_EQ(Model().m_pDispOpt->m_Legend.m_bShowLegend, 1) << "the page's legend box";
    EXPECT_EQ(Ctrl()->IsShowVPointIcon(), 0) << "no view-point icon beside a legend";
    EXPECT_EQ(Model().m_bRedrawRequested, 0) << "the render took the request";
    EXPECT_EQ(CHostRequestLog::CountOfKind(HR_CLOSE_FIGURE_DLG), 1) << "the host's figure panel closed";
}

TEST_F(BarFixture, ExecuteTwiceKeepsTheEditingEngineAndHandsOverFreshCopies) {
    TestBar* bar = MakeBar<TestBar>();
    bar->ShowChildDlgByMode(PVXResult::kReacPile);
    CEngineBase* editing = CPVXBarContainerBase::m_pCurrentEngine;
    CUiDialogSession user(bar->Page(0));
    user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY);
    CReactionEngine* first = Model().m_pReactionEngine;
    user.SetControlText(IDC_TEST_COMPONENT, "6");
    user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY);
    EXPECT_EQ(CPVXBarContainerBase::m_pCurrentEngine, editing) << "executing never discards the editing engine";
    ASSERT_NE(Model().m_pReactionEngine, nullptr);
    EXPECT_EQ(Model().m_pReactionEngine->m_nComponent, 6);
    (void)first;  // deleted by the second hand-over; only the new one is used
}

// The hand-over table: which engines the model has after Copy2PVXModelEngines, and whether each
// took the editing engine's settings (the editing engines carry components 7 and 5, which no
// engine starts with).
TEST_F(BarFixture, HandOverMakesTheEnginesOfTheDisplayMode) {
    enum Kind { kReac, kForce, kStress };
    struct Row {
        int mode;
        Kind editing;
        bool deform, force, reaction, stress;
    } rows[] = {
        {0, kReac, false, false, true, false},    {70, kReac, false, false, true, false},
        {1, kReac, true, false, false, false},    {2, kReac, true, false, false, false},
        {3, kReac, true, false, false, false},    {4, kReac, true, false, false, false},
        {63, kReac, true, false, false, false},   {69, kReac, true, false, false, false},
        {5, kForce, true, true, false, false},    {6, kForce, true, true, false, false},
        {7, kForce, true, true, false, false},    {8, kForce, true, true, false, false},
        {9, kForce, true, true, false, false},    {10, kForce, true, true, false, false},
        {16, kForce, true, true, false, false},   {17, kForce, true, true, false, false},
        {18, kForce, true, true, false, false},   {19, kForce, true, true, false, false},
        {20, kForce, true, true, false, false},   {21, kForce, true, true, false, false},
        {22, kForce, true, true, false, false},   {11, kStress, true, false, false, true},
    };
    TestBar* bar = MakeBar<TestBar>();
    I_PVXModel& m = Model();
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "display mode " << r.mode);
        ResetBars();
        m.ResetEngines();
        CPVXBarContainerBase::m_pDeformEngine = new CDeformEngine(&m);
        CPVXBarContainerBase::m_pDeformEngine->m_nComponent = 7;
        switch (r.editing) {
        case kReac: {
            auto* e = new CReactionEngine(&m);
            e->m_nComponent = 5;
            CPVXBarContainerBase::m_pCurrentEngine = e;
            break;
        }
        case kForce: {
            auto* e = new CForceEngine(&m);
            e->m_nBForcComp = 5;
            CPVXBarContainerBase::m_pCurrentEngine = e;
            break;
        }
        case kStress: {
            auto* e = new CStressEngine(&m);
            e->m_nComponent = 5;
            CPVXBarContainerBase::m_pCurrentEngine = e;
            break;
        }
        }
        bar->Copy2PVXModelEngines(r.mode);
        EXPECT_EQ(m.m_pDeformEngine != nullptr, r.deform);
        EXPECT_EQ(m.m_pForceEngine != nullptr, r.force);
        EXPECT_EQ(m.m_pReactionEngine != nullptr, r.reaction);
        EXPECT_EQ(m.m_pStressEngine != nullptr, r.stress);
        if (m.m_pDeformEngine) {
            EXPECT_EQ(m.m_pDeformEngine->m_nComponent, 7);
        }
        if (m.m_pForceEngine) {
            EXPECT_EQ(m.m_pForceEngine->m_nBForcComp, 5);
        }
        if (m.m_pReactionEngine) {
            EXPECT_EQ(m.m_pReactionEngine->m_nComponent, 5);
        }
        if (m.m_pStressEngine) {
            EXPECT_EQ(m.m_pStressEngine->m_nComponent, 5);
        }
        for (CEngineBase* e : {static_cast<CEngineBase*>(m.m_pDeformEngine), static_cast<CEngineBase*>(m.m_pForceEngine),
                               static_cast<CEngineBase*>(m.m_pReactionEngine),
                               static_cast<CEngineBase*>(m.m_pStressEngine)})
            if (e) {
                EXPECT_NE(e, CPVXBarContainerBase::m_pCurrentEngine);
                EXPECT_NE(e, CPVXBarContainerBase::m_pDeformEngine);
            }
    }
    m.ResetEngines();
}

TEST_F(BarFixture, HandOverOfAModeWithoutEnginesLeavesTheModelsEnginesAndStillRedraws) {
    TestBar* bar = MakeBar<TestBar>();
    I_PVXModel& m = Model();
    for (int mode : {12, 15, 23, 40, -1}) {
        SCOPED_TRACE(testing::Message() << "display mode " << mode);
        m.ResetEngines();
        m.m_pDeformEngine = new CDeformEngine(&m);
        m.m_pForceEngine = new CForceEngine(&m);
        CDeformEngine* d = m.m_pDeformEngine;
        CForceEngine* f = m.m_pForceEngine;
        CPVXBarContainerBase::m_nCurrentMode = mode;
        EngineCallLog::Enable(true);
        bar->OnTmExecute();
        const auto& calls = EngineCallLog::Calls();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "I_PVXModel::ResetEngines"), 0) << "not even reset";
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "I_PVXModel::PVXRender"), 1);
        EXPECT_EQ(m.m_pDeformEngine, d);
        EXPECT_EQ(m.m_pForceEngine, f);
        EXPECT_EQ(m.m_nDisplayMode, mode);
    }
}

// An editing engine of another kind than the display mode needs (left by another container)
// is not copied into the model's new engine, which stays as a new engine is.
TEST_F(BarFixture, HandOverImportsNoEditingEngineOfAnotherKind) {
    TestBar* bar = MakeBar<TestBar>();
    I_PVXModel& m = Model();
    const int freshReac = CReactionEngine(&m).m_nComponent;
    const int freshForce = CForceEngine(&m).m_nBForcComp;
    auto* force = new CForceEngine(&m);
    force->m_nBForcComp = 5;
    force->m_mapBForc[7] = T_STRG_D{};
    CPVXBarContainerBase::m_pCurrentEngine = force;
    bar->Copy2PVXModelEngines(PVXMode::kReaction);
    ASSERT_NE(m.m_pReactionEngine, nullptr);
    EXPECT_EQ(m.m_pReactionEngine->m_nComponent, freshReac);

    CPVXBarContainerBase::DestroyCurrentEngine();
    auto* reac = new CReactionEngine(&m);
    reac->m_nComponent = 5;
    CPVXBarContainerBase::m_pCurrentEngine = reac;
    bar->Copy2PVXModelEngines(PVXMode::kFrameForceContour);
    ASSERT_NE(m.m_pForceEngine, nullptr);
    EXPECT_EQ(m.m_pForceEngine->m_nBForcComp, freshForce);
    EXPECT_EQ(m.m_pForceEngine->m_mapBForc.GetCount(), 0);
}

TEST_F(BarFixture, NodeDisplacementQueryDrawsNoLegendAndModeShapesKeepTheFrameTitle) {
    TestBar* bar = MakeBar<TestBar>();
    I_PVXModel& m = Model();
    struct Row {
        int mode;
        int legendBox;
        int wantLegend;      // options' legend switch afterwards
        bool wantZoom;       // the legend came or went
        bool wantTitle;      // RestoreFrameTitle called
    } rows[] = {
        {PVXMode::kNodeDisp, 1, 0, true, true},
        {PVXMode::kModeShape, 1, 1, false, false},
        {PVXMode::kDeformedShape, 0, 0, true, true},
        {PVXMode::kDeformedShape, 1, 1, false, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << r.mode << ", legend box " << r.legendBox);
        m.m_nDisplayMode = PVXMode::kReaction;
        m.m_pDispOpt->m_Legend.m_bShowLegend = 1;
        bar->m_BarInfo.bLegend = r.legendBox;
        CPVXBarContainerBase::m_nCurrentMode = r.mode;
        EngineCallLog::Enable(true);
        bar->OnTmExecute();
        const auto& calls = EngineCallLog::Calls();
        EXPECT_EQ(m.m_pDispOpt->m_Legend.m_bShowLegend, r.wantLegend);
        EXPECT_EQ(Ctrl()->IsShowVPointIcon(), r.wantLegend ? 0 : 1);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "I_PVXCtrl::ViewZoomAll") == 1, r.wantZoom);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "CPVXView::RestoreFrameTitle") == 1, r.wantTitle);
    }
}

// The legend panel's margin comes with the first result even under a legend switch that was on
// already (a view without a result keeps no margin): the model is fitted again beside the panel.
// A margin that stays as it was keeps the view the person zoomed to.
TEST_F(BarFixture, ExecuteFitsTheModelBesideALegendPanelThatComes) {
    TestBar* bar = MakeBar<TestBar>();
    I_PVXModel& m = Model();
    I_PVXCtrl& ctrl = *Ctrl();
    struct Row {
        const char* label;
        bool marginBefore;  // the panel's margin was there before the execute
        bool wantZoom;
    } rows[] = {
        {"first result: the panel comes", false, true},
        {"panel already beside the model", true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ctrl.SetClientSize(400, 300);
        ctrl.SetStandardView(GViewCamera::VIEW_FRONT);
        m.m_nDisplayMode = PVXMode::kReaction;
        m.m_pDispOpt->m_Legend.m_bShowLegend = 1;
        bar->m_BarInfo.bLegend = 1;
        m.m_bResultDataReady = r.marginBefore ? 1 : 0;
        m.ResetLegendRect();
        ctrl.ViewZoomAll(0);
        ctrl.ViewZoom(r.marginBefore ? 2.0 : 1.0);  // the person's own zoom
        m.m_bResultDataReady = 1;
        CPVXBarContainerBase::m_nCurrentMode = PVXMode::kReaction;
        EngineCallLog::Enable(true);
        bar->OnTmExecute();
        const auto& calls = EngineCallLog::Calls();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "I_PVXCtrl::ViewZoomAll") == 1, r.wantZoom);
        const CRect area = ctrl.GetDrawingArea();
        ASSERT_LT(area.Width(), 400) << "the panel takes its margin";
        EXPECT_EQ(ctrl.IsZoomAllState() != 0, r.wantZoom);
        if (!r.wantZoom) continue;
        // The frame's corners (0, 0, 0) and (6, 0, 3) lie inside the area left beside the panel.
        for (const C3DPoint& p : {C3DPoint(0, 0, 0), C3DPoint(6, 0, 3)}) {
            const CPoint q = ctrl.GetWorldToMemDCP2D(p);
            EXPECT_TRUE(q.x >= area.left && q.x < area.right && q.y >= area.top && q.y < area.bottom)
                << q.x << ", " << q.y << " outside " << area.left << ".." << area.right;
        }
    }
}

TEST_F(BarFixture, ResultTableCommandsReachTheMainWindow) {
    TestBar* bar = MakeBar<TestBar>();
    struct Row {
        int resultId;
        UINT command;
    } rows[] = {
        {7101, 32884}, {7102, 32884}, {7103, 32884}, {7201, 32885}, {7204, 32885}, {7205, 32885},
        {7203, 33112}, {7301, 33789}, {7302, 33789}, {7305, 33773}, {7306, 33773}, {7501, 33012},
        {8201, 34095}, {8203, 34095}, {8202, 34096}, {8204, 34096}, {8101, 0},     {8103, 0},
        {7202, 0},     {7303, 0},     {12201, 0},    {-1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "result " << r.resultId);
        CPVXBarContainerBase::m_nCurrentTMMode = r.resultId;
        EXPECT_EQ(CPVXBarContainerBase::GetResultTableID(), r.command);
        CHostRequestLog::Clear();
        bar->OnPvxShowtable();
        const auto sent = CHostRequestLog::GetOfKind(HR_COMMAND);
        if (r.command == 0) {
            EXPECT_TRUE(sent.empty()) << "id 0 sends nothing";
        } else {
            ASSERT_EQ(sent.size(), 1u);
            EXPECT_EQ(static_cast<UINT>(sent[0].nId), r.command);
            EXPECT_EQ(sent[0].nArg, 0);
        }
    }
}

// Font ratio: 1.0 from 1024 pixels; below, width / 1400, so 800 pixels give 0.5714 and the
// legend fonts 18 x 0.5714 = 10.29 -> 10 and 12 x 0.5714 = 6.86 -> 6 (the title font is
// made 2 smaller than its height argument).
TEST_F(BarFixture, LegendFontsFollowTheViewWidth) {
    struct Row {
        int width;
        double ratio;
        int title, value;
    } rows[] = {{1280, 1.0, 18, 12}, {1024, 1.0, 18, 12}, {800, 800.0 / 1400.0, 10, 6}, {700, 0.5, 9, 6}};
    TestBar* bar = MakeBar<TestBar>();
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.width << " pixels");
        CPVXView* v = MakeView(r.width, 500);
        ASSERT_EQ(CPVXView::m_pMyself, v);
        EXPECT_EQ(CPVXBarContainerBase::GetCurPVXView(), v) << "the bars work on the current view";
        EXPECT_EQ(CPVXFigure::GetCurView(), v);
        EXPECT_DOUBLE_EQ(bar->GetFontRatio(), r.ratio);
        bar->InitLegendFont();
        EXPECT_EQ(v->GetPVXModel()->m_LegendEngine.m_lfTitle.lfHeight, r.title - 2);
        EXPECT_EQ(v->GetPVXModel()->m_LegendEngine.m_lfValue.lfHeight, r.value);
        v->DestroyWindow();
    }
}

// Height = close bottom + 7 - (group top - 45): 300 + 7 - 55 = 252; the deformation results
// add the extra height, other results do not.
TEST_F(BarFixture, PageLayoutHeightFromItsGroupAndCloseButton) {
    TestBar* bar = MakeBar<TestBar>();
    struct Row {
        int resultId;
        int extra;
        int height;
    } rows[] = {{7101, 40, 252}, {7201, 40, 292}, {7204, 40, 292}, {7205, 0, 252}, {14105, 15, 267}, {7202, 40, 252}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "result " << r.resultId);
        CPVXBarContainerBase::m_nCurrentTMMode = r.resultId;
        bar->m_nExtraLayoutHeight = r.extra;
        CRect group(10, 100, 200, 140), close(100, 280, 180, 300);
        bar->LayoutChildDlg(group, close);
        EXPECT_EQ(bar->GetTotalSize(), CSize(226, r.height));
    }
}

TEST_F(BarFixture, SettingsBlockGoesToTheModelAndComesBack) {
    TestBar* bar = MakeBar<TestBar>();
    I_PVXModel& m = Model();
    T_PVX_BAR_INFO& b = bar->m_BarInfo;
    b.nRepeatMode = 1;
    b.nBitsPerPixel = 24;
    b.nFramesPerHalfCycle = 30;
    b.nFramesPerSecond = 25;
    b.bAnimateContour = 0;
    b.bCompress = 1;
    for (int i = 0; i < T_PVX_BAR_INFO::kCompressWords; ++i) b.adwCompressOptions[i] = 100u + i;
    b.bContour = 1;
    b.nCarried21 = 0;
    b.m_Legend = {1, 1, 0, 1, RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)};
    b.bLegend = 1;
    b.bDeformed = 1;
    b.bUndeformed = 0;  // the model's switch starts on (the host's view state)
    b.nMinMaxMode = 2;
    b.nDecimals = 4;
    b.nTextAngle = 450;
    b.bValues = 1;
    b.bExponent = 1;
    b.bOnlyMinMax = 1;
    b.bOutputDirection = 1;
    b.dMaxRatio = 80.0;
    b.nCarried40 = 1;
    b.nCarried41 = 1;
    bar->Copy2PVXModelBarInfo();
    // Each counterpart, read in the model directly.
    EXPECT_EQ(m.m_AnimationEngine.m_bFullCycle, 1);
    EXPECT_EQ(m.m_AnimationEngine.m_nBitsPerPixel, 24);
    EXPECT_EQ(m.m_AnimationEngine.m_nFramesPerHalfCycle, 30);
    EXPECT_EQ(m.m_AnimationEngine.m_nFramesPerSecond, 25);
    EXPECT_EQ(m.m_AnimationEngine.m_bAnimateContour, 0);
    EXPECT_EQ(m.m_AnimationEngine.m_bCompress, 1);
    EXPECT_EQ(m.m_AnimationEngine.m_CompressOptions.dwInterleaveEvery, 110u);
    EXPECT_EQ(m.m_bContour, 1);
    EXPECT_EQ(m.m_bModeShape, 0);
    EXPECT_EQ(m.m_LegendEngine.m_nPanelPlacement, 1);
    EXPECT_EQ(m.m_LegendEngine.m_bExponent, 1);
    EXPECT_EQ(m.m_LegendEngine.m_bAutoDigits, 0);
    EXPECT_EQ(m.m_LegendEngine.m_bCompact, 1);
    EXPECT_EQ(m.m_pDispOpt->m_Legend.m_bShowLegend, 1);
    EXPECT_EQ(m.m_bDeformedShape, 1);
    EXPECT_EQ(m.m_pDispOpt->m_bUndeformedWireFrame, 0) << "field 31 is the switch the outline drawing reads";
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_nNumberOpt1, 2);
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_nDecimals, 4);
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_nNumberAngle, 450);
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_bShowNumbers, 1);
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_bExponent, 1) << "field 36 to the options";
    EXPECT_EQ(m.m_bExponent, 1) << "and to the model's copy";
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_nNumberOpt2, 1);
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_bFixedNumberAngle, 1);
    EXPECT_DOUBLE_EQ(m.m_pDispOpt->m_Number.m_dNumberFactor, 80.0);
    EXPECT_EQ(m.m_bRebuildMBR, 1);
    EXPECT_EQ(m.m_bModeShapeContour, 1);

    // Back: a fresh block of another container reads the same values; the mask is set and the
    // legend colours (not copied) stay the new block's.
    TestBar* other = MakeBar<TestBar>();
    other->m_BarInfo.m_Legend.crBack = RGB(9, 9, 9);
    m.m_bFigureMode = m.m_bFigurePanel = 1;
    other->InitDlgBarData(PVXResult::kReacPile);
    const T_PVX_BAR_INFO& c = other->m_BarInfo;
    EXPECT_EQ(c.dwLoadTypeMask, 0x18230F89u);
    EXPECT_EQ(c.nBitsPerPixel, 24);
    EXPECT_EQ(c.adwCompressOptions[3], 103u);
    EXPECT_EQ(c.m_Legend.nPosition, 1);
    EXPECT_EQ(c.m_Legend.nPercentDecimals, 1);
    EXPECT_EQ(c.m_Legend.crBack, RGB(9, 9, 9));
    EXPECT_EQ(c.bUndeformed, 0);
    EXPECT_EQ(c.nTextAngle, 450);
    EXPECT_EQ(c.bExponent, 1);
    EXPECT_DOUBLE_EQ(c.dMaxRatio, 80.0);
    EXPECT_EQ(c.nCarried40, 1);
    EXPECT_EQ(m.m_bFigureMode, 0);
    EXPECT_EQ(m.m_bFigurePanel, 0);
    // Field 36 comes from the model's copy, not from the options.
    m.m_pDispOpt->m_Number.m_bExponent = 0;
    other->InitDlgBarData(PVXResult::kReacPile);
    EXPECT_EQ(other->m_BarInfo.bExponent, 1);
}

TEST_F(BarFixture, ClosingForgetsTheModeAndResultIdEvenWhileTheModelShowsAResult) {
    TestBar* bar = MakeBar<TestBar>();
    bar->ShowChildDlgByMode(PVXResult::kReacPile);
    CUiDialogSession(bar->Page(0)).ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY);
    ASSERT_EQ(Model().m_nDisplayMode, PVXMode::kReaction);
    CUiDialogSession(bar->Page(0)).ClickButton(CPVXBarDlgBase::IDC_PAGE_CLOSE);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentMode, -1);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, -1);
    EXPECT_EQ(Model().m_nDisplayMode, PVXMode::kReaction) << "the model keeps its result";
    EXPECT_EQ(CHostRequestLog::CountOfKind(HR_CLOSE_DLGBAR), 1);
}

// Two containers at once: the editing engines belong to the one that prepared them last; the
// other takes them back before its page uses them, executes its own page (not the page at the
// other's index), and closing either leaves the other working.
TEST_F(BarFixture, TwoContainersShareTheStatesWithoutUsingFreedEnginesOrEachOthersPages) {
    TestBar* a = MakeBar<TestBar>();
    TestBar* b = MakeBar<TestBar>();
    a->ShowChildDlgByMode(PVXResult::kReacPile);   // a: page 0
    b->ShowChildDlgByMode(PVXResult::kDeform);     // b: page 1; a's reaction engine is gone
    EXPECT_EQ(CPVXBarContainerBase::m_pEngineOwner, b);
    EXPECT_EQ(CPVXBarContainerBase::m_pCurrentEngine, nullptr);

    CUiDialogSession(a->Page(0)).SetControlText(IDC_TEST_COMPONENT, "6");
    CUiDialogSession(a->Page(0)).ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY);
    EXPECT_EQ(a->Page(0)->m_nApplied, 1) << "a's own page";
    EXPECT_EQ(a->Page(1)->m_nApplied, 0);
    EXPECT_EQ(b->Page(1)->m_nApplied, 0);
    EXPECT_EQ(CPVXBarContainerBase::m_pEngineOwner, a) << "a took the engines back";
    ASSERT_NE(Model().m_pReactionEngine, nullptr);
    EXPECT_EQ(Model().m_pReactionEngine->m_nComponent, 6);
    EXPECT_EQ(a->Page(0)->m_pReactionEngine, CPVXBarContainerBase::m_pCurrentEngine);

    // Closing b (not the owner) keeps a's engines and a living bar.
    b->DestroyWindow();
    EXPECT_EQ(CPVXBarContainerBase::m_bIsPVXBarAlive, 1);
    EXPECT_EQ(CPVXBarContainerBase::m_bRemove, 0);
    ASSERT_NE(CPVXBarContainerBase::m_pCurrentEngine, nullptr);
    CUiDialogSession(a->Page(0)).ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY);
    EXPECT_EQ(a->Page(0)->m_nApplied, 2);

    // Closing a, the owner, deletes the engines; no bar is left.
    a->DestroyWindow();
    EXPECT_EQ(CPVXBarContainerBase::m_pCurrentEngine, nullptr);
    EXPECT_EQ(CPVXBarContainerBase::m_pDeformEngine, nullptr);
    EXPECT_EQ(CPVXBarContainerBase::m_bIsPVXBarAlive, 0);
    EXPECT_EQ(CPVXBarContainerBase::m_bRemove, 1);
}

TEST_F(BarFixture, AnimationIsDrawnAsAStillAndItsModeEnteredAgain) {
    TestBar* bar = MakeBar<TestBar>();
    bar->ShowChildDlgByMode(PVXResult::kDeform);
    bar->m_BarInfo.bAnimation = 1;
    EngineCallLog::Enable(true);
    CUiDialogSession(bar->Page(1)).ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY);
    const auto& calls = EngineCallLog::Calls();
    const auto exit = std::find(calls.begin(), calls.end(), "CAnimationEngine::ExitAnimationMode");
    const auto enter = std::find(calls.begin(), calls.end(), "CAnimationEngine::EnterAnimationMode");
    const auto render = std::find(calls.begin(), calls.end(), "I_PVXModel::PVXRender");
    ASSERT_NE(enter, calls.end());
    EXPECT_LT(exit, enter);
    EXPECT_LT(enter, render);
    EXPECT_EQ(Model().m_bAnimation, 1) << "set again after the still";
    EXPECT_EQ(Model().m_AnimationEngine.m_bAnimationMode, 1);

    // With the view's state flag set the mode is not entered again.
    m_pView->m_nViewState = 1;
    EngineCallLog::Enable(true);
    CUiDialogSession(bar->Page(1)).ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY);
    const auto& again = EngineCallLog::Calls();
    EXPECT_EQ(std::count(again.begin(), again.end(), "CAnimationEngine::EnterAnimationMode"), 0);
}

}  // namespace
}  // namespace bartest
