// The wall force, wall diagram, plate force and plate stress pages of the member bar: the display
// mode each executes, the component each radio stands for, the enabling rules of their handlers,
// and what Apply writes into the editing engines.
#include "module/bars/CPVXBarContainerMember.h"
#include "module/bars/CPVXBarPForc.h"
#include "module/bars/CPVXBarPStrs.h"
#include "module/bars/CPVXBarWForc.h"
#include "module/bars/CPVXBarWSfd.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "tests/module/bars/BarTestSupport.h"

namespace bartest {
namespace {

TEST_F(BarFixture, WallAndPlatePagesExecuteTheirDisplayModes) {
    struct Row {
        int resultId;
        const char* page;
        int mode;
        int type;
    } rows[] = {
        {PVXResult::kWallForce, "CPVXBarWForc", PVXMode::kWallForceContour, CPVXBarDlgBase::PAGE_FRAME_FORCE},
        {PVXResult::kWallDiagram, "CPVXBarWSfd", PVXMode::kWallForceDiagram, CPVXBarDlgBase::PAGE_FRAME_FORCE},
        {PVXResult::kPlateForce, "CPVXBarPForc", PVXMode::kPlateForce, CPVXBarDlgBase::PAGE_PLATE_FORCE},
        {PVXResult::kPlateStress, "CPVXBarPStrs", PVXMode::kPlateStress, CPVXBarDlgBase::PAGE_PLATE_STRESS},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.page);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerMember>();
        ASSERT_NE(bar, nullptr);
        auto* page = ShowPage<CPVXBarWallPlatePage>(bar, r.resultId);
        ASSERT_NE(page, nullptr);
        EXPECT_STREQ(page->GetRuntimeClass()->m_lpszClassName, r.page);
        EXPECT_EQ(page->GetPageType(), r.type);
        Model().m_nDisplayMode = -5;
        CUiDialogSession user(page);
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_EQ(Model().m_nDisplayMode, r.mode);
        EXPECT_EQ(CPVXBarContainerBase::m_nCurrentMode, r.mode);
        bar->DestroyWindow();
    }
}

TEST_F(BarFixture, WallDiagramRadiosStandForTheirWallComponents) {
    // Radio index -> wall component: 0 Vy 1, 1 Vz 2, 2 larger shear 6, 3 My 4, 4 Mz 5, 5 larger
    // moment 7, 6 N 0, 7 T 3.
    const int want[8] = {1, 2, 6, 4, 5, 7, 0, 3};
    auto* bar = MakeBar<CPVXBarContainerMember>();
    auto* page = ShowPage<CPVXBarWSfd>(bar, PVXResult::kWallDiagram);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(CPVXBarWSfd::ComponentOfIndex(i), want[i]);
        EXPECT_EQ(CPVXBarWSfd::IndexOfComponent(want[i]), i);
        ASSERT_TRUE(user.SetCheck(CPVXBarWSfd::IDC_COMP_FIRST + static_cast<UINT>(i)));
        EXPECT_EQ(page->m_pForceEngine->m_nWForcComp, want[i]);
    }
    bar->DestroyWindow();
}

TEST_F(BarFixture, WallForcePageRules) {
    auto* bar = MakeBar<CPVXBarContainerMember>();
    auto* page = ShowPage<CPVXBarWForc>(bar, PVXResult::kWallForce);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    // The contour box is on and cannot be changed.
    EXPECT_EQ(page->m_bContour, 1);
    EXPECT_FALSE(Enabled(page, CPVXBarWForc::IDC_CONTOUR));
    // Without values the number boxes and positions are greyed; with values and a family's box
    // its positions are enabled.
    EXPECT_FALSE(Enabled(page, CPVXBarWForc::IDC_COLM_NUMBER));
    ASSERT_TRUE(user.SetCheck(CPVXBarWForc::IDC_VALUES, BST_CHECKED));
    EXPECT_TRUE(Enabled(page, CPVXBarWForc::IDC_COLM_NUMBER));
    EXPECT_FALSE(Enabled(page, CPVXBarWForc::IDC_COLM_TOP));
    ASSERT_TRUE(user.SetCheck(CPVXBarWForc::IDC_COLM_NUMBER, BST_CHECKED));
    EXPECT_TRUE(Enabled(page, CPVXBarWForc::IDC_COLM_TOP + 3));
    EXPECT_FALSE(Enabled(page, CPVXBarWForc::IDC_BEAM_ALL)) << "the wall-beam box is still off";
    ASSERT_TRUE(user.SetCheck(CPVXBarWForc::IDC_COLM_TOP + 2));  // "最大"
    // The deformed shape takes no numbers: values cleared and greyed with their "..." button.
    ASSERT_TRUE(user.SetCheck(CPVXBarWForc::IDC_DEFORMED, BST_CHECKED));
    EXPECT_EQ(page->m_bValues, 0);
    EXPECT_FALSE(Enabled(page, CPVXBarWForc::IDC_VALUES));
    EXPECT_FALSE(Enabled(page, CPVXBarWForc::IDC_VALUES_MORE));
    ASSERT_TRUE(user.SetCheck(CPVXBarWForc::IDC_DEFORMED, BST_UNCHECKED));
    EXPECT_TRUE(Enabled(page, CPVXBarWForc::IDC_VALUES));
    ASSERT_TRUE(user.SetCheck(CPVXBarWForc::IDC_VALUES, BST_CHECKED));
    // Component "My" (index 4), then Apply: all of it in the engine and the settings block.
    ASSERT_TRUE(user.SetCheck(CPVXBarWForc::IDC_COMP_N));  // N first: a change from the default My
    EXPECT_EQ(EditingForce()->m_nWForcComp, 0);
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    CForceEngine* e = EditingForce();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_nWForcComp, 0);
    EXPECT_EQ(e->m_nWColmNumPos, 2);
    EXPECT_EQ(e->m_bWColmNumber, 1);
    EXPECT_EQ(e->m_bWBeamNumber, 0);
    EXPECT_EQ(bar->m_BarInfo.bValues, 1);
    EXPECT_EQ(bar->m_BarInfo.bContour, 1);
    EXPECT_EQ(page->m_bForceRebuild, 0) << "rebuilt by the Apply";
    bar->DestroyWindow();
}

// The wall pages' numbers take the model's decimals of their component's kind, as the frame
// pages' do (they were left at 0: "-68" for -67.5), and what the number dialog sets goes to the
// kind of the component applied.
TEST_F(BarFixture, WallPagesNumbersTakeTheDecimalsOfTheirKind) {
    struct Row {
        const char* label;
        int resultId;
        UINT radioN;  // the page's radio of component N
    } rows[] = {
        {"wall forces", PVXResult::kWallForce, CPVXBarWForc::IDC_COMP_N},
        {"wall diagrams", PVXResult::kWallDiagram,
         CPVXBarWSfd::IDC_COMP_FIRST + static_cast<UINT>(CPVXBarWSfd::IndexOfComponent(0))},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ResetBars();
        Model().m_nMomentDecimals = 2;
        Model().m_nForceDecimals = 4;
        auto* bar = MakeBar<CPVXBarContainerMember>();
        ASSERT_NE(bar, nullptr);
        auto* page = ShowPage<CPVXBarWallPlatePage>(bar, r.resultId);
        ASSERT_NE(page, nullptr);
        ASSERT_NE(page->m_pForceEngine, nullptr);
        // The page opens on the engine's component: My (4) takes the moment decimals, N (0) the
        // force decimals.
        const int opening = page->m_pForceEngine->m_nWForcComp;
        ASSERT_TRUE(opening == 4 || opening == 0) << opening;
        const int want = opening == 4 ? 2 : 4;
        EXPECT_EQ(bar->m_BarInfo.nDecimals, want) << "the decimals of the kind when the page opens";
        CUiDialogSession user(page);
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        ASSERT_NE(Model().m_pDispOpt, nullptr);
        EXPECT_EQ(Model().m_pDispOpt->m_Number.m_nDecimals, want) << "what the numbers are written with";
        // Component N, and 5 decimals as the number dialog's OK leaves them: the force decimals.
        ASSERT_TRUE(user.SetCheck(r.radioN));
        bar->m_BarInfo.nDecimals = 5;
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_EQ(Model().m_nForceDecimals, 5);
        EXPECT_EQ(Model().m_nMomentDecimals, 2);
        bar->DestroyWindow();
    }
}

TEST_F(BarFixture, PlateForcePageRules) {
    auto* bar = MakeBar<CPVXBarContainerMember>();
    auto* page = ShowPage<CPVXBarPForc>(bar, PVXResult::kPlateForce);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    // Radio -> plate component: Fxx 0, Fyy 1, Fxy 2, Fmax 3, Fmin 4, Fvector 5, FMax 14, VMax 16.
    const UINT ids[8] = {CPVXBarPForc::IDC_COMP_FXX,  CPVXBarPForc::IDC_COMP_FYY,     CPVXBarPForc::IDC_COMP_FXY,
                         CPVXBarPForc::IDC_COMP_FMAX, CPVXBarPForc::IDC_COMP_FMIN,    CPVXBarPForc::IDC_COMP_FVECTOR,
                         CPVXBarPForc::IDC_COMP_FABS, CPVXBarPForc::IDC_COMP_VMAX};
    const int codes[8] = {0, 1, 2, 3, 4, 5, 14, 16};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(user.SetCheck(ids[i]));
        EXPECT_EQ(page->m_pForceEngine->m_nPForcComp, codes[i]);
        // The vector component takes no numbers and uses the vector scale.
        EXPECT_EQ(Enabled(page, CPVXBarPForc::IDC_VECTOR_SCALE), codes[i] == 5);
        EXPECT_EQ(Enabled(page, CPVXBarPForc::IDC_VALUES), codes[i] != 5);
    }
    // The derived components clear nodal averaging (the rebuild flag set when it was on).
    ASSERT_TRUE(user.SetCheck(CPVXBarPForc::IDC_COMP_FXX));
    ASSERT_TRUE(user.SetCheck(CPVXBarPForc::IDC_AVERAGE, BST_CHECKED));
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(EditingForce()->m_bPAverageNodal, 1);
    page->m_bForceRebuild = 0;
    ASSERT_TRUE(user.SetCheck(CPVXBarPForc::IDC_COMP_VMAX));
    EXPECT_EQ(page->m_bAverage, 0);
    EXPECT_EQ(page->m_pForceEngine->m_bPAverageNodal, 0);
    EXPECT_EQ(page->m_bForceRebuild, 1);
    // The angle list and the axes drawing belong to the global axes.
    EXPECT_FALSE(Enabled(page, CPVXBarPForc::IDC_AXIS_ANGLE));
    ASSERT_TRUE(user.SetCheck(CPVXBarPForc::IDC_AXIS_UCS));
    EXPECT_TRUE(Enabled(page, CPVXBarPForc::IDC_AXIS_ANGLE));
    EXPECT_TRUE(Enabled(page, CPVXBarPForc::IDC_SHOW_AXES));
    ASSERT_TRUE(user.SelectComboIndex(CPVXBarPForc::IDC_AXIS_ANGLE, 2));  // 30 degrees
    ASSERT_TRUE(user.SetCheck(CPVXBarPForc::IDC_COMP_FXX));
    // The number positions wait for the values box.
    EXPECT_FALSE(Enabled(page, CPVXBarPForc::IDC_NUMBER_CENTRE));
    ASSERT_TRUE(user.SetCheck(CPVXBarPForc::IDC_VALUES, BST_CHECKED));
    ASSERT_TRUE(user.SetCheck(CPVXBarPForc::IDC_NUMBER_CENTRE));
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    CForceEngine* e = EditingForce();
    EXPECT_EQ(e->m_bLocalAxis, 0);
    EXPECT_EQ(e->m_dPLocalAngle, 30.0);
    EXPECT_EQ(e->m_nPForcComp, 0);
    EXPECT_EQ(e->m_nPNumberMode, 1);
    bar->DestroyWindow();
}

TEST_F(BarFixture, PlateVectorScaleTakesPositiveNumbersOnly) {
    struct Row {
        const char* text;
        double stored;  // after Apply, from 2.0
    } rows[] = {{"3.5", 3.5}, {"0", 2.0}, {"-1", 2.0}, {"abc", 2.0}, {"4x", 2.0}, {"", 2.0}, {"1e400", 2.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerMember>();
        auto* page = ShowPage<CPVXBarPForc>(bar, PVXResult::kPlateForce);
        ASSERT_NE(page, nullptr);
        page->m_pForceEngine->m_dPVectorScale = 2.0;
        CUiDialogSession user(page);
        ASSERT_TRUE(user.SetCheck(CPVXBarPForc::IDC_COMP_FVECTOR));
        ASSERT_TRUE(user.SetControlText(CPVXBarPForc::IDC_VECTOR_SCALE, r.text));
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_EQ(EditingForce()->m_dPVectorScale, r.stored);
        bar->DestroyWindow();
    }
}

TEST_F(BarFixture, PlateStressRadiosSetTheStressComponentTheEngineShows) {
    // Radio -> stress engine component: xx 0, yy 1, xy 2, max 3, min 4, eff 5, max shear 6; the
    // out-of-plane radios zz, yz, xz leave it as it was.
    const int want[10] = {0, 1, -1, 2, -1, -1, 3, 4, 5, 6};
    auto* bar = MakeBar<CPVXBarContainerMember>();
    auto* page = ShowPage<CPVXBarPStrs>(bar, PVXResult::kPlateStress);
    ASSERT_NE(page, nullptr);
    ASSERT_NE(page->m_pStressEngine, nullptr);
    CUiDialogSession user(page);
    int last = page->m_pStressEngine->m_nComponent;
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(CPVXBarPStrs::ComponentOfIndex(i), want[i]);
        ASSERT_TRUE(user.SetCheck(CPVXBarPStrs::IDC_COMP_FIRST + static_cast<UINT>(i)));
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        auto* e = dynamic_cast<CStressEngine*>(CPVXBarContainerBase::m_pCurrentEngine);
        ASSERT_NE(e, nullptr);
        if (want[i] >= 0) last = want[i];
        EXPECT_EQ(e->m_nComponent, last);
        EXPECT_EQ(Model().m_nDisplayMode, PVXMode::kPlateStress);
    }
    bar->DestroyWindow();
}

}  // namespace
}  // namespace bartest
