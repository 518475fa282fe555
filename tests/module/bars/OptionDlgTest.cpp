// The deformation and number details dialogs: what they accept and refuse, what they store,
// the apply-on-OK path into the page's Execute (also of the reaction page, whose arrow factor
// check must hold there too), and the direct apply without a page.
#include "host/base/CMsgDll.h"
#include "module/bars/CPVXBarContainerReac.h"
#include "module/bars/CPVXBarContainerSystem.h"
#include "module/bars/CPVXBarDeformPages.h"
#include "module/bars/CPVXBarReacf.h"
#include "module/bars/CPVXOptionDlgs.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "tests/module/bars/DeformBarFixture.h"

namespace bartest {
namespace {

TEST_F(DeformBarFixture, NumberDialogStaysOpenOnValuesOutOfRange) {
    struct Row {
        const char* label;
        const char* decimals;
        const char* ratio;
        bool accepted;
    } rows[] = {
        {"bounds", "15", "100", true},
        {"lower bounds", "0", "0", true},
        {"decimals 16", "16", "50", false},
        {"decimals -1", "-1", "50", false},
        {"ratio 101", "4", "101", false},
        {"ratio -0.5", "4", "-0.5", false},
        {"decimals no number", "abc", "50", false},
        {"ratio no number", "4", "5x", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerSystem>();
        auto* page = ShowPage<CPVXBarDeform>(bar, PVXResult::kDeform);
        ASSERT_NE(page, nullptr);
        bar->m_BarInfo.nDecimals = 3;
        bar->m_BarInfo.dMaxRatio = 20.0;
        CUiDriver::Get().ClearMessageBoxes();
        bool open = false;
        CUiDriver::Get().QueueModal(IDD_PVX_NUMBER_DETAIL, {[&](CUiDialogSession& s) {
                                        s.SetCheck(IDC_OPT_APPLY_ON_OK, BST_UNCHECKED);
                                        s.SetCheck(IDC_NUM_ONLY_MINMAX, BST_CHECKED);
                                        s.SetControlText(IDC_NUM_DECIMALS, r.decimals);
                                        s.SetControlText(IDC_NUM_RATIO, r.ratio);
                                        s.ClickButton(IDOK);
                                        open = s.IsOpen() != FALSE;
                                        return open ? IDCANCEL : 0;
                                    }});
        ASSERT_TRUE(CUiDialogSession(page).ClickButton(CPVXBarDeform::IDC_VALUES_MORE));
        EXPECT_EQ(open, !r.accepted);
        EXPECT_EQ(CUiDriver::Get().MessageBoxes().empty(), r.accepted) << "the refusal says why";
        if (r.accepted) {
            EXPECT_EQ(bar->m_BarInfo.nDecimals, std::atoi(r.decimals));
            EXPECT_EQ(bar->m_BarInfo.dMaxRatio, std::atof(r.ratio));
            EXPECT_EQ(bar->m_BarInfo.bOnlyMinMax, 1);
        } else {
            EXPECT_EQ(bar->m_BarInfo.nDecimals, 3) << "nothing stored";
            EXPECT_EQ(bar->m_BarInfo.dMaxRatio, 20.0);
        }
        EXPECT_EQ(page->m_bValues, 1) << "the launcher turned the values box on";
        bar->DestroyWindow();
    }
}

TEST_F(DeformBarFixture, NumberDialogKeepsTheAngleInTenthsOfADegree) {
    auto* bar = MakeBar<CPVXBarContainerSystem>();
    auto* page = ShowPage<CPVXBarDeform>(bar, PVXResult::kDeform);
    ASSERT_NE(page, nullptr);
    CUiDriver::Get().QueueModal(IDD_PVX_NUMBER_DETAIL, {[](CUiDialogSession& s) {
                                    s.SetCheck(IDC_OPT_APPLY_ON_OK, BST_UNCHECKED);
                                    s.SetCheck(IDC_NUM_DIRECTION, BST_CHECKED);
                                    s.SelectComboIndex(IDC_NUM_ANGLE, 6);  // "90"
                                    s.SetCheck(IDC_NUM_EXPONENT, BST_CHECKED);
                                    return IDOK;
                                }});
    ASSERT_TRUE(CUiDialogSession(page).ClickButton(CPVXBarDeform::IDC_VALUES_MORE));
    EXPECT_EQ(bar->m_BarInfo.nTextAngle, 900);
    EXPECT_EQ(bar->m_BarInfo.bOutputDirection, 1);
    EXPECT_EQ(bar->m_BarInfo.bExponent, 1);
    // Opened again it shows "90"; with the direction not offered its list stays greyed.
    int shown = -1;
    bool angleEnabled = true;
    CUiDriver::Get().QueueModal(IDD_PVX_NUMBER_DETAIL, {[&](CUiDialogSession& s) {
                                    auto* c = dynamic_cast<CComboBox*>(s.Dialog()->GetDlgItem(IDC_NUM_ANGLE));
                                    shown = c ? c->GetCurSel() : -1;
                                    angleEnabled = c && c->IsWindowEnabled();
                                    return IDCANCEL;
                                }});
    page->OnNumberDetails(0);
    EXPECT_EQ(shown, 6);
    EXPECT_FALSE(angleEnabled);
    bar->DestroyWindow();
}

TEST_F(DeformBarFixture, NumberDialogAppliesOnOkThroughThePage) {
    for (int bApply : {0, 1}) {
        SCOPED_TRACE(bApply);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerSystem>();
        auto* page = ShowPage<CPVXBarDeform>(bar, PVXResult::kDeform);
        ASSERT_NE(page, nullptr);
        SelectLoad(page, "DL");
        Model().m_nDisplayMode = -5;
        CUiDriver::Get().QueueModal(IDD_PVX_NUMBER_DETAIL, {[&](CUiDialogSession& s) {
                                        s.SetCheck(IDC_OPT_APPLY_ON_OK, bApply ? BST_CHECKED : BST_UNCHECKED);
                                        s.SetControlText(IDC_NUM_DECIMALS, "2");
                                        return IDOK;
                                    }});
        ASSERT_TRUE(CUiDialogSession(page).ClickButton(CPVXBarDeform::IDC_VALUES_MORE));
        EXPECT_EQ(Model().m_bApplyOnOK, bApply);
        EXPECT_EQ(Model().m_nDisplayMode, bApply ? PVXMode::kDeformedShape : -5);
        if (bApply) {
            EXPECT_EQ(Model().m_nDispDecimals, 2);
            ASSERT_NE(Model().m_pDispOpt, nullptr);
            EXPECT_EQ(Model().m_pDispOpt->m_Number.m_nDecimals, 2);
            EXPECT_EQ(Model().m_pDispOpt->m_Number.m_bShowNumbers, 1) << "the values box the launcher turned on";
        }
        bar->DestroyWindow();
    }
}

TEST_F(DeformBarFixture, ReactionPageRefusesABadFactorAlsoFromTheNumberDialog) {
    const CString refusal = CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Scale_Factor_Invalid_Abs10", 0);
    for (const char* text : {"10.5", "-11", "abc"}) {
        SCOPED_TRACE(text);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerReac>();
        bar->ShowChildDlgByMode(PVXResult::kReacPile);
        auto* page = dynamic_cast<CPVXBarReacf*>(bar->GetCurrentChild());
        ASSERT_NE(page, nullptr);
        CUiDialogSession user(page);
        ASSERT_TRUE(user.SetControlText(CPVXBarReacf::IDC_SCALE, text));
        Model().m_nDisplayMode = -5;
        CUiDriver::Get().ClearMessageBoxes();
        CUiDriver::Get().QueueModal(IDD_PVX_NUMBER_DETAIL, {[](CUiDialogSession& s) {
                                        s.SetCheck(IDC_OPT_APPLY_ON_OK, BST_CHECKED);
                                        return IDOK;
                                    }});
        ASSERT_TRUE(user.ClickButton(CPVXBarReacf::IDC_VALUES_MORE));
        const auto& boxes = CUiDriver::Get().MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_STREQ(boxes[0].text.GetString(), refusal.GetString());
        EXPECT_EQ(Model().m_nDisplayMode, -5) << "nothing executed";
        bar->DestroyWindow();
    }
}

TEST_F(DeformBarFixture, DeformationDialogKeepsTheScaleOfTextThatIsNoNumber) {
    struct Row {
        const char* text;
        double stored;  // from 1.0; a scale of 0 or below is refused and the old one kept
    } rows[] = {{"2.5", 2.5}, {"0", 1.0}, {"-100", 1.0}, {"abc", 1.0}, {"2x", 1.0}, {"", 1.0}, {"nan", 1.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerSystem>();
        auto* page = ShowPage<CPVXBarDeform>(bar, PVXResult::kDeform);
        ASSERT_NE(page, nullptr);
        page->m_pDeformEngine->m_dUserScale = 1.0;
        CUiDriver::Get().QueueModal(IDD_PVX_DEFORM_DETAIL, {[&](CUiDialogSession& s) {
                                        s.SetCheck(IDC_OPT_APPLY_ON_OK, BST_UNCHECKED);
                                        s.SetControlText(IDC_DEF_SCALE, r.text);
                                        return IDOK;
                                    }});
        ASSERT_TRUE(CUiDialogSession(page).ClickButton(CPVXBarDeform::IDC_DEFORMED_MORE));
        EXPECT_EQ(page->m_pDeformEngine->m_dUserScale, r.stored);
        bar->DestroyWindow();
    }
}

TEST_F(DeformBarFixture, DeformationDialogOffersRealDeformationToTheDeformationAndFrameModesOnly) {
    struct Row {
        int barMode;
        int viewState;
        bool real;
    } rows[] = {{PVXMode::kDeformedShape, 0, true}, {PVXMode::kDispContour, 0, true},
                {PVXMode::kFrameForceContour, 0, true}, {PVXMode::kFrameForceDiagram, 0, false},
                {PVXMode::kSettlement, 0, false},       {PVXMode::kDeformedShape, 1, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.barMode << " " << r.viewState);
        Model().m_nBarDisplayMode = r.barMode;
        m_pView->m_nViewState = r.viewState;
        CDeformEngine engine(&Model());
        engine.m_bExactBeamRange = 1;
        bool enabled = false;
        int radio = -1;
        CUiDriver::Get().QueueModal(IDD_PVX_DEFORM_DETAIL, {[&](CUiDialogSession& s) {
                                        enabled = s.Dialog()->GetDlgItem(IDC_DEF_REAL)->IsWindowEnabled() != FALSE;
                                        radio = s.Dialog()->IsDlgButtonChecked(IDC_DEF_REAL) ? 1 : 0;
                                        return IDCANCEL;
                                    }});
        CPVXDefDetDlg dlg(nullptr);
        dlg.m_pView = m_pView;
        dlg.m_pEngine = &engine;
        dlg.DoModal();
        EXPECT_EQ(enabled, r.real);
        EXPECT_EQ(radio, r.real ? 1 : 0);
    }
    m_pView->m_nViewState = 0;
}

TEST_F(DeformBarFixture, DirectApplyOfTheDeformationDialogNeedsNoForceEngine) {
    struct Row {
        const char* label;
        bool deform, force;
    } rows[] = {{"no engine", false, false}, {"deformation only", true, false}, {"both", true, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Model().ResetEngines();
        if (r.deform) Model().m_pDeformEngine = new CDeformEngine(&Model());
        if (r.force) Model().m_pForceEngine = new CForceEngine(&Model());
        Model().m_bDeformedShape = 0;
        CDeformEngine edited(&Model());
        CUiDriver::Get().QueueModal(IDD_PVX_DEFORM_DETAIL, {[](CUiDialogSession& s) {
                                        s.SetCheck(IDC_OPT_APPLY_ON_OK, BST_CHECKED);
                                        s.SetControlText(IDC_DEF_SCALE, "3");
                                        return IDOK;
                                    }});
        CPVXDefDetDlg dlg(nullptr);
        dlg.m_pView = m_pView;
        dlg.m_pEngine = &edited;
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(edited.m_dUserScale, 3.0);
        EXPECT_EQ(Model().m_bDeformedShape, 1);
        if (r.deform) {
            EXPECT_EQ(Model().m_pDeformEngine->m_bDeformed, 1);
        }
        if (r.force) {
            EXPECT_EQ(Model().m_pForceEngine->m_bDeformed, 1);
        }
    }
    Model().ResetEngines();
}

}  // namespace
}  // namespace bartest
