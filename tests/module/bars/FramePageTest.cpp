// The frame force pages of the member bar: the component each radio stands for, the output
// position rules, the diagram method, fill and scale, the truss rule, and what Apply leaves in
// the model, the editing force engine and the settings block.
#include "module/bars/CPVXBarContainerMember.h"
#include "module/bars/CPVXBarFramePages.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "tests/module/bars/BarTestSupport.h"

namespace bartest {
namespace {

TEST_F(BarFixture, FramePagesExecuteTheirDisplayModesWithTheForceEngine) {
    struct Row {
        int resultId;
        const char* page;
        int mode;
        UINT shear;   // the shear radio of the page
        UINT values;  // its values box
    } rows[] = {
        {PVXResult::kBeamForce, "CPVXBarBForc", PVXMode::kFrameForceContour, CPVXBarBForc::IDC_COMP_SHEAR,
         CPVXBarBForc::IDC_VALUES},
        {PVXResult::kBeamDiagram, "CPVXBarBSfd", PVXMode::kFrameForceDiagram, CPVXBarBSfd::IDC_COMP_SHEAR,
         CPVXBarBSfd::IDC_VALUES},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.page);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerMember>();
        ASSERT_NE(bar, nullptr);
        auto* page = ShowPage<CPVXBarFramePage>(bar, r.resultId);
        ASSERT_NE(page, nullptr);
        EXPECT_STREQ(page->GetRuntimeClass()->m_lpszClassName, r.page);
        EXPECT_EQ(page->GetPageType(), CPVXBarDlgBase::PAGE_FRAME_FORCE);
        Model().m_nDisplayMode = -5;
        CUiDialogSession user(page);
        ASSERT_TRUE(user.SetCheck(r.shear));
        ASSERT_TRUE(user.SetCheck(r.values, BST_CHECKED));
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_EQ(Model().m_nDisplayMode, r.mode);
        EXPECT_EQ(bar->m_nEngineKind, CPVXBarContainerBase::ENGINE_FORCE);
        ASSERT_NE(Model().m_pForceEngine, nullptr);
        EXPECT_EQ(Model().m_pForceEngine->m_nBForcComp, 2) << "shear";
        EXPECT_NE(Model().m_pDeformEngine, nullptr);
        EXPECT_EQ(bar->m_BarInfo.bValues, 1);
        EXPECT_EQ(page->m_bForceRebuild, 0) << "the fresh page rebuilt its engine";
        bar->DestroyWindow();
    }
}

TEST_F(BarFixture, FrameForceRadiosAndPositionRules) {
    // Radio index -> component: moment 4, shear 2, torque 3; back: 2 -> 1, 3 -> 2, others 0.
    EXPECT_EQ(CPVXBarFramePage::ComponentOfIndex(0), 4);
    EXPECT_EQ(CPVXBarFramePage::ComponentOfIndex(1), 2);
    EXPECT_EQ(CPVXBarFramePage::ComponentOfIndex(2), 3);
    EXPECT_EQ(CPVXBarFramePage::ComponentOfIndex(3), -1) << "hidden radios stand for no code";
    const int back[][2] = {{2, 1}, {3, 2}, {4, 0}, {5, 0}, {0, 0}};
    for (const auto& b : back) EXPECT_EQ(CPVXBarFramePage::IndexOfComponent(b[0]), b[1]) << b[0];

    auto* bar = MakeBar<CPVXBarContainerMember>();
    auto* page = ShowPage<CPVXBarBForc>(bar, PVXResult::kBeamForce);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    // Shear, Apply, then moment: the rebuild flag again; the same component twice: not.
    ASSERT_TRUE(user.SetCheck(CPVXBarBForc::IDC_COMP_SHEAR));
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(page->m_bForceRebuild, 0);
    ASSERT_TRUE(user.SetCheck(CPVXBarBForc::IDC_COMP_SHEAR));
    EXPECT_EQ(page->m_bForceRebuild, 0);
    ASSERT_TRUE(user.SetCheck(CPVXBarBForc::IDC_COMP_MOMENT));
    EXPECT_EQ(page->m_bForceRebuild, 1);
    EXPECT_EQ(EditingForce()->m_nBForcComp, 4);
    // Without values the positions are greyed.
    ASSERT_TRUE(user.SetCheck(CPVXBarBForc::IDC_VALUES, BST_UNCHECKED));
    EXPECT_FALSE(Enabled(page, CPVXBarBForc::IDC_ALL));
    ASSERT_TRUE(user.SetCheck(CPVXBarBForc::IDC_VALUES, BST_CHECKED));
    EXPECT_TRUE(Enabled(page, CPVXBarBForc::IDC_ALL));
    // "全部" checks I, centre and J and greys them; "最大值" then clears all four.
    ASSERT_TRUE(user.SetCheck(CPVXBarBForc::IDC_ALL, BST_CHECKED));
    EXPECT_EQ(page->m_bIEnd + page->m_bCentre + page->m_bJEnd, 3);
    EXPECT_FALSE(Enabled(page, CPVXBarBForc::IDC_IEND));
    EXPECT_FALSE(Enabled(page, CPVXBarBForc::IDC_CENTRE));
    ASSERT_TRUE(user.SetCheck(CPVXBarBForc::IDC_MAX, BST_CHECKED));
    EXPECT_EQ(page->m_bAll + page->m_bIEnd + page->m_bCentre + page->m_bJEnd, 0);
    EXPECT_EQ(page->m_bMax, 1);
    ASSERT_TRUE(user.SetCheck(CPVXBarBForc::IDC_MAX, BST_UNCHECKED));
    EXPECT_TRUE(Enabled(page, CPVXBarBForc::IDC_JEND));
    ASSERT_TRUE(user.SetCheck(CPVXBarBForc::IDC_JEND, BST_CHECKED));
    // The contour box cannot be cleared on the force contour page.
    EXPECT_FALSE(user.SetCheck(CPVXBarBForc::IDC_CONTOUR, BST_UNCHECKED));
    EXPECT_EQ(page->m_bContour, 1);
    // Decimals of a moment go to the model's moment decimals.
    bar->m_BarInfo.nDecimals = 5;
    Model().m_nForceDecimals = 1;
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    CForceEngine* e = EditingForce();
    EXPECT_EQ(e->m_bNumAtMax, 0);
    EXPECT_EQ(e->m_bNumAtAll, 0);
    EXPECT_EQ(e->m_bNumJEnd, 1);
    EXPECT_EQ(e->m_bNumIEnd, 0);
    EXPECT_EQ(Model().m_nMomentDecimals, 5);
    EXPECT_EQ(Model().m_nForceDecimals, 1);
    bar->DestroyWindow();
}

TEST_F(BarFixture, FrameForcePageWithNoMemberKindShownDrawsNoStaleResult) {
    auto* bar = MakeBar<CPVXBarContainerMember>();
    auto* page = ShowPage<CPVXBarBForc>(bar, PVXResult::kBeamForce);
    ASSERT_NE(page, nullptr);
    CForceEngine* e = EditingForce();
    e->m_bShowBeam = e->m_bShowColumn = e->m_bShowTruss = 0;
    Model().m_bResultPresent = 1;  // left over from a result shown before
    page->m_bForceRebuild = 1;
    page->ApplyOptions();
    EXPECT_EQ(page->m_bForceRebuild, 1) << "options stored, engine not rebuilt";
    EXPECT_EQ(Model().m_bResultPresent, 0) << "no stale result drawn";
    bar->DestroyWindow();
}

TEST_F(BarFixture, FrameDiagramMethodFillScaleAndTrussRule) {
    auto* bar = MakeBar<CPVXBarContainerMember>();
    auto* page = ShowPage<CPVXBarBSfd>(bar, PVXResult::kBeamDiagram);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    // Fill radio -> (line, fill): none (1, 0), line fill (1, 1), full fill (0, 1).
    const int want[3][2] = {{1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(user.SetCheck(CPVXBarBSfd::IDC_FILL_NONE + static_cast<UINT>(i)));
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_EQ(EditingForce()->m_bBSfdBmdLine, want[i][0]);
        EXPECT_EQ(EditingForce()->m_bBSfdBmdFill, want[i][1]);
        EXPECT_EQ(CPVXBarBSfd::SwitchesToFill(want[i][0], want[i][1]), i);
    }
    // The scale is read in single precision; text that is no number keeps the scale.
    struct Scale {
        const char* text;
        double stored;
    } scales[] = {{"2.5", 2.5}, {"0.1", static_cast<double>(0.1f)}, {"abc", static_cast<double>(0.1f)},
                  {"3x", static_cast<double>(0.1f)}, {"", static_cast<double>(0.1f)}, {"1e60", static_cast<double>(0.1f)}};
    for (const Scale& s : scales) {
        SCOPED_TRACE(s.text);
        ASSERT_TRUE(user.SetControlText(CPVXBarBSfd::IDC_SCALE, s.text));
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_EQ(EditingForce()->m_dBSfdBmdScale, s.stored);
    }
    // Exact, then five points: each change of method is stored and the engine rebuilt.
    ASSERT_TRUE(user.SetCheck(CPVXBarBSfd::IDC_EXACT));
    EXPECT_EQ(EditingForce()->m_bBSfdBmdExact, 1);
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(page->m_bForceRebuild, 0);
    ASSERT_TRUE(user.SetCheck(CPVXBarBSfd::IDC_FIVE_POINTS));
    EXPECT_EQ(EditingForce()->m_bBSfdBmdExact, 0);
    EXPECT_EQ(page->m_bForceRebuild, 1);
    // Trusses shown: the min/max diagram is cleared and greyed.
    CUiDialogSession(bar).SetCheck(CPVXBarContainerMember::IDC_SHOW_TRUSS, BST_UNCHECKED);
    CUiDialogSession(bar).SetCheck(CPVXBarContainerMember::IDC_ONLY_TRUSS, BST_UNCHECKED);
    ASSERT_TRUE(Enabled(page, CPVXBarBSfd::IDC_MINMAX));
    ASSERT_TRUE(user.SetCheck(CPVXBarBSfd::IDC_MINMAX, BST_CHECKED));
    ASSERT_TRUE(CUiDialogSession(bar).SetCheck(CPVXBarContainerMember::IDC_SHOW_TRUSS, BST_CHECKED));
    EXPECT_EQ(page->m_bMinMax, 0);
    EXPECT_FALSE(Enabled(page, CPVXBarBSfd::IDC_MINMAX));
    ASSERT_TRUE(CUiDialogSession(bar).SetCheck(CPVXBarContainerMember::IDC_SHOW_TRUSS, BST_UNCHECKED));
    EXPECT_TRUE(Enabled(page, CPVXBarBSfd::IDC_MINMAX));
    bar->DestroyWindow();
}

TEST_F(BarFixture, FrameDiagramOfALoadStepHasFivePointsOnly) {
    auto* bar = MakeBar<CPVXBarContainerMember>();
    auto* page = ShowPage<CPVXBarBSfd>(bar, PVXResult::kBeamDiagram);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    ASSERT_TRUE(user.SetCheck(CPVXBarBSfd::IDC_EXACT));
    EXPECT_TRUE(Enabled(page, CPVXBarBSfd::IDC_EXACT));
    // The maximum of an envelope (load step 1): exact diagrams are not offered.
    UINT type = 0, key = 0;
    ASSERT_TRUE(page->m_LoadSelector.GetSelectedLoad(type, key, nullptr));
    ASSERT_TRUE(page->m_LoadSelector.ChangeSelect(type, key, 1));
    page->OnLoadChange();
    EXPECT_EQ(Model().m_nLoadStep, 1);
    EXPECT_EQ(page->m_nMethod, 1);
    EXPECT_FALSE(Enabled(page, CPVXBarBSfd::IDC_EXACT));
    EXPECT_EQ(EditingForce()->m_bBSfdBmdExact, 0);
    bar->DestroyWindow();
}

}  // namespace
}  // namespace bartest
