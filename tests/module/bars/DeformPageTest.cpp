// The system bar's pages: deformed shape, displacement contour, settlement, node displacement
// and mode shapes. Each is driven through the dialog driver as a person would; after Apply the
// model's display mode, the engine it draws with and the settings are checked against the
// fixture's records.
#include <set>

#include "host/base/CMsgOutWnd.h"
#include "module/bars/CPVXBarContainerSystem.h"
#include "module/bars/CPVXBarDeformPages.h"
#include "module/bars/CPVXBarMdShp.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "platform/ui/CComboBox.h"
#include "tests/module/bars/DeformBarFixture.h"

namespace bartest {
namespace {

TEST_F(DeformBarFixture, SystemPagesExecuteTheirDisplayModesWithTheDeformationEngine) {
    struct Row {
        int resultId;
        const char* page;
        int mode;
        double max;  // the model's engine's largest value after Apply (see the fixture's records)
    } rows[] = {
        // Dead load, total displacement (the engine's default component): node 2 sqrt(3^2+4^2) = 5.
        {PVXResult::kDeform, "CPVXBarDeform", PVXMode::kDeformedShape, 5.0},
        {PVXResult::kDispContour, "CPVXBarDContr", PVXMode::kDispContour, 5.0},
        // Settlement group 7: points 10 and 12 mm.
        {PVXResult::kSettlement, "CPVXBarSetMnt", PVXMode::kSettlement, 12.0},
        {PVXResult::kNodeDisp, "CPVXBarSrhdsp", PVXMode::kNodeDisp, 5.0},
        // Mode 1: node 2 moves 1 along X, node 3 0.5 along X.
        {PVXResult::kModeShape, "CPVXBarMdShp", PVXMode::kModeShape, 1.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.page);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerSystem>();
        ASSERT_NE(bar, nullptr);
        auto* page = ShowPage<CPVXBarDeformPage>(bar, r.resultId);
        ASSERT_NE(page, nullptr);
        EXPECT_STREQ(page->GetRuntimeClass()->m_lpszClassName, r.page);
        EXPECT_EQ(page->GetPageType(), CPVXBarDlgBase::PAGE_DEFORM);
        if (r.resultId == PVXResult::kDeform || r.resultId == PVXResult::kDispContour || r.resultId == PVXResult::kNodeDisp)
            SelectLoad(page, "DL");
        Model().m_nDisplayMode = -5;
        CUiDialogSession user(page);
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_EQ(Model().m_nDisplayMode, r.mode);
        EXPECT_EQ(bar->m_nEngineKind, CPVXBarContainerBase::ENGINE_DEFORM);
        ASSERT_NE(Model().m_pDeformEngine, nullptr);
        EXPECT_EQ(Model().m_pDeformEngine->m_bDataReady, 1);
        EXPECT_DOUBLE_EQ(Model().m_pDeformEngine->m_dLegendMax, r.max);
        EXPECT_EQ(Model().m_pForceEngine, nullptr);
        bar->DestroyWindow();
    }
}

TEST_F(DeformBarFixture, DeformedShapePageOffersTheTranslationsOnly) {
    // Radio index -> component code: r for r <= 3, r + 3 above.
    const int code[7] = {0, 1, 2, 3, 7, 8, 9};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(CPVXBarDeformPage::RadioToComponent(i), code[i]) << i;
        EXPECT_EQ(CPVXBarDeformPage::ComponentToRadio(code[i]), i) << i;
    }
    // The rotations come back as the total displacement.
    for (int c : {4, 5, 6}) EXPECT_EQ(CPVXBarDeformPage::ComponentToRadio(c), 3) << c;

    // A model engine showing RY (5): the page shows DXYZ and writes 3 back on Apply.
    Model().m_pDeformEngine = new CDeformEngine(&Model());
    Model().m_pDeformEngine->m_nComponent = CDeformEngine::COMP_RY;
    auto* bar = MakeBar<CPVXBarContainerSystem>();
    auto* page = ShowPage<CPVXBarDeform>(bar, PVXResult::kDeform);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->m_nRadio, 3);
    SelectLoad(page, "DL");
    ASSERT_TRUE(CUiDialogSession(page).ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(CPVXBarContainerBase::m_pDeformEngine->m_nComponent, CDeformEngine::COMP_TOTAL);
    // The deformed box is the page's result and cannot be cleared.
    CUiDialogSession user(page);
    EXPECT_FALSE(page->GetDlgItem(CPVXBarDeform::IDC_DEFORMED)->IsWindowEnabled());
    EXPECT_EQ(page->m_bDeformed, 1);
    // The page's own undeformed box goes to the settings block at once.
    ASSERT_TRUE(user.SetCheck(CPVXBarDeform::IDC_UNDEFORMED, BST_CHECKED));
    EXPECT_EQ(bar->m_BarInfo.bUndeformed, 1);
    bar->DestroyWindow();
}

TEST_F(DeformBarFixture, CutSectionClearsTheDeformedBoxAndOpensTheCuttingLineDialogOnce) {
    auto* bar = MakeBar<CPVXBarContainerSystem>();
    auto* page = ShowPage<CPVXBarDContr>(bar, PVXResult::kDispContour);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    ASSERT_TRUE(user.SetCheck(CPVXBarDContr::IDC_DEFORMED, BST_CHECKED));
    ASSERT_TRUE(user.SetCheck(CPVXBarDContr::IDC_CUT_SECTION, BST_CHECKED));
    EXPECT_EQ(page->m_bDeformed, 0);
    EXPECT_FALSE(page->GetDlgItem(CPVXBarDContr::IDC_DEFORMED)->IsWindowEnabled());
    EXPECT_FALSE(page->GetDlgItem(CPVXBarDContr::IDC_DEFORMED_MORE)->IsWindowEnabled());
    CPVXCutLineDetDlg* pDlg = I_PVXModel::m_pCutLineDetDlg;
    ASSERT_NE(pDlg, nullptr);
    const HWND hWnd = pDlg->GetSafeHwnd();
    ASSERT_NE(hWnd, nullptr) << "the cutting-line dialog is open";
    // "..." again only brings the same window forward.
    ASSERT_TRUE(user.ClickButton(CPVXBarDContr::IDC_CUT_SECTION_MORE));
    EXPECT_EQ(I_PVXModel::m_pCutLineDetDlg, pDlg);
    EXPECT_EQ(pDlg->GetSafeHwnd(), hWnd);
    SelectLoad(page, "DL");
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(Model().m_nDisplayMode, PVXMode::kDispContour);
    ASSERT_NE(Model().m_pDeformEngine, nullptr);
    EXPECT_EQ(Model().m_pDeformEngine->m_bCuttingLine, 1);
    EXPECT_EQ(Model().m_pDeformEngine->m_bDeformed, 0);
    EXPECT_EQ(bar->m_BarInfo.bContour, 1);
    // Off again: the deformed box comes back.
    ASSERT_TRUE(user.SetCheck(CPVXBarDContr::IDC_CUT_SECTION, BST_UNCHECKED));
    EXPECT_TRUE(page->GetDlgItem(CPVXBarDContr::IDC_DEFORMED)->IsWindowEnabled());
    pDlg->DestroyWindow();
    bar->DestroyWindow();
}

TEST_F(DeformBarFixture, SettlementPageShowsTheGroupItNames) {
    struct Row {
        int item;
        UINT group;       // the group's key
        UINT loadKey;     // its place among the project's settlement groups
        double max, min;  // the group's settlements at the two points (fixture)
    } rows[] = {{0, kGroupA, 1, 12.0, 10.0}, {1, kGroupB, 2, 30.0, 20.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.item);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerSystem>();
        auto* page = ShowPage<CPVXBarSetMnt>(bar, PVXResult::kSettlement);
        ASSERT_NE(page, nullptr);
        auto* combo = dynamic_cast<CComboBox*>(page->GetDlgItem(CPVXBarSetMnt::IDC_GROUP));
        ASSERT_NE(combo, nullptr);
        ASSERT_EQ(combo->GetCount(), 2) << "the static group is not listed";
        CUiDialogSession user(page);
        ASSERT_TRUE(user.SelectComboIndex(CPVXBarSetMnt::IDC_GROUP, r.item));
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_EQ(Model().m_nDisplayMode, PVXMode::kSettlement);
        EXPECT_EQ(Model().m_nLoadKey, r.loadKey);
        ASSERT_NE(Model().m_pDeformEngine, nullptr);
        EXPECT_EQ(Model().m_pDeformEngine->m_nSettlementGroup, r.group);
        EXPECT_DOUBLE_EQ(Model().m_pDeformEngine->m_dLegendMax, r.max);
        EXPECT_DOUBLE_EQ(Model().m_pDeformEngine->m_dLegendMin, r.min);
        bar->DestroyWindow();
    }
    // Without a settlement group Apply executes nothing and the load is no longer selected.
    ResetBars();
    auto* bar = MakeBar<CPVXBarContainerSystem>();
    auto* page = ShowPage<CPVXBarSetMnt>(bar, PVXResult::kSettlement);
    ASSERT_NE(page, nullptr);
    dynamic_cast<CComboBox*>(page->GetDlgItem(CPVXBarSetMnt::IDC_GROUP))->ResetContent();
    Model().m_nDisplayMode = -5;
    ASSERT_TRUE(CUiDialogSession(page).ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(Model().m_nDisplayMode, -5);
    EXPECT_EQ(Model().m_bLoadSelected, 0);
    bar->DestroyWindow();
}

TEST_F(DeformBarFixture, NodeQueryReportsTheDisplacementOfAnActiveNode) {
    auto* bar = MakeBar<CPVXBarContainerSystem>();
    auto* page = ShowPage<CPVXBarSrhdsp>(bar, PVXResult::kNodeDisp);
    ASSERT_NE(page, nullptr);
    SelectLoad(page, "DL");
    CUiDialogSession user(page);
    // Text that is no node key reports nothing.
    for (const char* text : {"abc", "2x", "-2", "", "99"}) {
        SCOPED_TRACE(text);
        CMsgOutWnd::Clear();
        ASSERT_TRUE(user.SetControlText(CPVXBarSrhdsp::IDC_NODE, text));
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_TRUE(CMsgOutWnd::GetLines().empty());
        EXPECT_EQ(Model().m_nDisplayMode, PVXMode::kNodeDisp);
    }
    CMsgOutWnd::Clear();
    ASSERT_TRUE(user.SetControlText(CPVXBarSrhdsp::IDC_NODE, "2"));
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    // Node 2 under DL: DX 3, DY 0, DZ -4 mm, DXYZ = 5; "%12.5E" with three exponent digits.
    const std::vector<std::string> want = {
        "节点号 2",
        "DX=3.00000E+000  DY=0.00000E+000  DZ=-4.00000E+000  DXYZ=5.00000E+000",
    };
    EXPECT_EQ(CMsgOutWnd::GetLines(), want);
    ASSERT_EQ(CPVXBarContainerBase::m_pDeformEngine->m_arrPickedNode.GetSize(), 1);
    // With the node picked, a second Apply adds no report.
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(CMsgOutWnd::GetLines(), want);
    bar->DestroyWindow();
}

TEST_F(DeformBarFixture, ModeShapePageKeepsOneOfItsBoxesAndSetsEveryComponent) {
    auto* bar = MakeBar<CPVXBarContainerSystem>();
    auto* page = ShowPage<CPVXBarMdShp>(bar, PVXResult::kModeShape);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    // Clearing both boxes is impossible: the one cleared last comes back.
    ASSERT_TRUE(user.SetCheck(CPVXBarMdShp::IDC_CONTOUR, BST_UNCHECKED));
    EXPECT_FALSE(user.SetCheck(CPVXBarMdShp::IDC_MODE_SHAPE, BST_UNCHECKED)) << "the box stays on";
    EXPECT_EQ(page->m_bModeShape, 1);
    ASSERT_TRUE(user.SetCheck(CPVXBarMdShp::IDC_CONTOUR, BST_CHECKED));
    ASSERT_TRUE(user.SetCheck(CPVXBarMdShp::IDC_MODE_SHAPE, BST_UNCHECKED));
    EXPECT_FALSE(user.SetCheck(CPVXBarMdShp::IDC_CONTOUR, BST_UNCHECKED)) << "the box stays on";
    EXPECT_EQ(page->m_bContour, 1);
    EXPECT_EQ(page->m_bModeShape, 0);
    // Every radio sets its component, Md-Z, Md-XY, Md-YZ and Md-XZ too.
    const UINT ids[7] = {CPVXBarMdShp::IDC_COMP_X,  CPVXBarMdShp::IDC_COMP_Y,  CPVXBarMdShp::IDC_COMP_Z,
                         CPVXBarMdShp::IDC_COMP_XYZ, CPVXBarMdShp::IDC_COMP_XY, CPVXBarMdShp::IDC_COMP_YZ,
                         CPVXBarMdShp::IDC_COMP_XZ};
    const int code[7] = {0, 1, 2, 3, 7, 8, 9};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        page->m_bDeformRebuild = 0;
        ASSERT_TRUE(user.SetCheck(ids[i]));
        EXPECT_EQ(page->m_pDeformEngine->m_nComponent, code[i]);
        EXPECT_EQ(page->m_bDeformRebuild, 1);
    }
    // Mode 2 as a contour on the mode shape.
    ASSERT_TRUE(user.SelectComboIndex(CPVXBarMdShp::IDC_LOAD, 1));
    ASSERT_TRUE(user.SetCheck(CPVXBarMdShp::IDC_COMP_Y));
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(Model().m_nDisplayMode, PVXMode::kModeShape);
    EXPECT_EQ(Model().m_nLoadKey, 2u);
    EXPECT_EQ(Model().m_bModeShape, 1);
    EXPECT_EQ(Model().m_bModeShapeContour, 1);
    ASSERT_NE(Model().m_pDeformEngine, nullptr);
    EXPECT_EQ(Model().m_pDeformEngine->m_bDeformed, 0) << "the contour alone, on the undeformed model";
    // Mode 2 moves node 3 by 2 along Y (fixture).
    EXPECT_DOUBLE_EQ(Model().m_pDeformEngine->m_dLegendMax, 2.0);
    bar->DestroyWindow();
}

TEST_F(DeformBarFixture, ModeChoiceKeepsTheFirstHundredModes) {
    auto* bar = MakeBar<CPVXBarContainerSystem>();
    auto* page = ShowPage<CPVXBarMdShp>(bar, PVXResult::kModeShape);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(dynamic_cast<CComboBox*>(page->GetDlgItem(CPVXBarMdShp::IDC_LOAD))->GetCount(), kModeCount);
    CUiDriver::Get().QueueModal(CPVXMultiModeDlg::IDD, {[](CUiDialogSession& s) {
                                    for (int i = 0; i < kModeCount; ++i) s.SelectListIndex(CPVXMultiModeDlg::IDC_MODES, i);
                                    return IDOK;
                                }});
    CPVXMultiModeDlg dlg(nullptr);
    dlg.m_pPage = page;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nCount, CPVXMultiModeDlg::kMaxModes);
    EXPECT_EQ(dlg.m_anSelected[0], 0);
    EXPECT_EQ(dlg.m_anSelected[99], 99);
    EXPECT_EQ(dlg.m_nArrangement, 1) << "one above the other unless chosen";
    bar->DestroyWindow();
}

TEST_F(DeformBarFixture, MultiModeDisplayShowsEachModeInAViewOfItsOwn) {
    auto* bar = MakeBar<CPVXBarContainerSystem>();
    auto* page = ShowPage<CPVXBarMdShp>(bar, PVXResult::kModeShape);
    ASSERT_NE(page, nullptr);
    CHostRequestLog::Clear();
    CUiDriver::Get().QueueModal(CPVXMultiModeDlg::IDD, {[](CUiDialogSession& s) {
                                    s.SelectListIndex(CPVXMultiModeDlg::IDC_MODES, 0);
                                    s.SelectListIndex(CPVXMultiModeDlg::IDC_MODES, 1);
                                    s.SelectListIndex(CPVXMultiModeDlg::IDC_MODES, 2);
                                    s.SetCheck(CPVXMultiModeDlg::IDC_SIDE_BY_SIDE);
                                    return IDOK;
                                }});
    ASSERT_TRUE(CUiDialogSession(page).ClickButton(CPVXBarMdShp::IDC_MULTI_MODE));
    const std::vector<CPVXView*> views = CPVXBarMdShp::CollectResultViews();
    ASSERT_EQ(views.size(), 3u) << "the page's view and two new windows";
    // The page's view shows the first mode chosen, the new windows the others; the largest
    // translation of each mode (fixture) is its number.
    EXPECT_EQ(m_pView->GetPVXModel()->m_nLoadKey, 1u);
    std::set<UINT> shown;
    for (CPVXView* v : views) {
        I_PVXModel* m = v->GetPVXModel();
        ASSERT_NE(m, nullptr);
        SCOPED_TRACE(m->m_nLoadKey);
        shown.insert(m->m_nLoadKey);
        EXPECT_EQ(m->m_nDisplayMode, PVXMode::kModeShape);
        ASSERT_NE(m->m_pDeformEngine, nullptr);
        EXPECT_EQ(m->m_pDeformEngine->m_bDataReady, 1);
        EXPECT_DOUBLE_EQ(m->m_pDeformEngine->m_dLegendMax, static_cast<double>(m->m_nLoadKey));
    }
    EXPECT_EQ(shown, (std::set<UINT>{1, 2, 3}));
    // The host was asked for two new windows and to tile them side by side.
    int nNew = 0, nTile = 0;
    for (const CHostRequest& q : CHostRequestLog::GetOfKind(HR_COMMAND)) {
        nNew += q.nId == CPVXBarMdShp::ID_NEW_WINDOW;
        nTile += q.nId == CPVXBarMdShp::ID_TILE_SIDE_BY_SIDE;
    }
    EXPECT_EQ(nNew, 2);
    EXPECT_EQ(nTile, 1);
    EXPECT_EQ(CPVXView::m_pMyself, m_pView) << "the bars go on with the page's view";
    // One mode after that: the windows no mode needs are closed.
    std::vector<int> one = {3};
    EXPECT_EQ(page->ShowModes(one, 1), 1);
    ASSERT_EQ(CPVXBarMdShp::CollectResultViews().size(), 1u);
    EXPECT_EQ(m_pView->GetPVXModel()->m_nLoadKey, 3u);
    bar->DestroyWindow();
}

// An animated time-history load plays without amplitude: the deformation and displacement
// contour pages tell the model on Apply; any other load, or no animation, leaves it off.
TEST_F(DeformBarFixture, AnimatedTimeHistoryLoadPlaysWithoutAmplitude) {
    struct Row {
        const char* label;
        int resultId;
        const char* load;
        int animation;
        int amplitudeOff;
    } rows[] = {
        {"deformed shape, time history", PVXResult::kDeform, "THX", 1, 1},
        {"deformed shape, static", PVXResult::kDeform, "DL", 1, 0},
        {"contour, time history", PVXResult::kDispContour, "THX", 1, 1},
        {"contour, static", PVXResult::kDispContour, "DL", 1, 0},
        {"time history without animation", PVXResult::kDeform, "THX", 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerSystem>();
        ASSERT_NE(bar, nullptr);
        auto* page = ShowPage<CPVXBarDeformPage>(bar, r.resultId);
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(SelectLoad(page, r.load));
        CUiDialogSession user(page);
        const UINT box = r.resultId == PVXResult::kDeform ? UINT(CPVXBarDeform::IDC_ANIMATION)
                                                          : UINT(CPVXBarDContr::IDC_ANIMATION);
        ASSERT_TRUE(user.SetCheck(box, r.animation ? BST_CHECKED : BST_UNCHECKED));
        Model().m_bAmplitudeOff = 0;
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_EQ(Model().m_bAmplitudeOff, r.amplitudeOff);
        Model().m_AnimationEngine.ExitAnimationMode();
        bar->DestroyWindow();
    }
}

// The deformed-shape and displacement contour pages list the time-history cases with the static
// ones, as they open, so that their animation can play them.
TEST_F(DeformBarFixture, DeformationPagesOfferTimeHistoryCases) {
    struct Row {
        const char* label;
        int resultId;
        UINT combo;
    } rows[] = {
        {"deformed shape", PVXResult::kDeform, CPVXBarDeform::IDC_LOAD},
        {"displacement contour", PVXResult::kDispContour, CPVXBarDContr::IDC_LOAD},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerSystem>();
        ASSERT_NE(bar, nullptr);
        auto* page = ShowPage<CPVXBarDeformPage>(bar, r.resultId);
        ASSERT_NE(page, nullptr);
        auto* combo = dynamic_cast<CComboBox*>(page->GetDlgItem(static_cast<int>(r.combo)));
        ASSERT_NE(combo, nullptr);
        std::set<std::string> names;
        for (int i = 0; i < combo->GetCount(); ++i) {
            CString s;
            combo->GetLBText(i, s);
            names.insert(s.GetString());
        }
        EXPECT_EQ(names.count("THX"), 1u);
        EXPECT_EQ(names.count("DL"), 1u);
        bar->DestroyWindow();
    }
}

}  // namespace
}  // namespace bartest
