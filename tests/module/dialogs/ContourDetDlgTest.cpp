// The contour settings dialogs driven like a user: immediate changes of the scale, the values
// stored on Apply and OK, the page and model hand-over, Cancel restoring the scale, the layout
// flags, and the two custom dialogs opened from it.
#include <cmath>

#include "DialogsTestSupport.h"
#include "module/animation/CAnimationEngine.h"
#include "module/contour/CColorTableDlg.h"
#include "module/contour/CContourDetDlg.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CommonCtrls.h"

namespace dlgtest {

namespace {

struct ConDetFixture : DialogsFixture {
    void Prepare(CPVXConDetDlg& dlg, CPVXBarDlgBase* page = nullptr) {
        dlg.m_pPage = page;
        dlg.m_pView = m_pView;
        dlg.m_pContourEngine = m_pScale;
        dlg.m_pEngine = &m_engine;
    }
    int Run(CPVXConDetDlg& dlg, std::vector<UiDialogStep> steps) {
        CUiDriver::Get().QueueModal(IDD_PVX_CONTOUR_DETAIL, std::move(steps));
        return static_cast<int>(dlg.DoModal());
    }
};

TEST_F(ConDetFixture, ColourCountRebuildsLevelsAtOnceAndCancelRestoresThem) {
    struct Row {
        int sel;
        int n;
    } rows[] = {{0, 6}, {1, 12}, {2, 18}, {3, 24}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "selection " << row.sel);
        delete m_pScale;
        m_pScale = new CContourEngine(0.0, 12.0);
        double before[CContourEngine::MAX_LEVELS];
        std::copy(m_pScale->m_dRankMap, m_pScale->m_dRankMap + CContourEngine::MAX_LEVELS, before);
        const int nBefore = m_pScale->m_nNumColor;
        CPVXConDetDlg dlg;
        Prepare(dlg);
        int nSeen = -1;
        double topSeen = 0.0;
        double secondSeen = 0.0;
        const int rc = Run(dlg, {[&](CUiDialogSession& s) {
            s.SelectComboIndex(IDC_CON_COLOR_COUNT, row.sel);
            nSeen = m_pScale->m_nNumColor;
            topSeen = m_pScale->m_dRankMap[nSeen - 1];
            secondSeen = m_pScale->m_dRankMap[1];
            return IDCANCEL;
        }});
        EXPECT_EQ(rc, IDCANCEL);
        EXPECT_EQ(nSeen, row.n) << "the count changes the scale at once";
        EXPECT_NEAR(topSeen, 12.0, 1e-9);
        EXPECT_NEAR(secondSeen, 12.0 / (row.n - 1), 1e-9) << "levels rebuilt for the new count";
        EXPECT_EQ(m_pScale->m_nNumColor, nBefore) << "Cancel restores the count";
        for (int i = 0; i < nBefore; i++) EXPECT_DOUBLE_EQ(m_pScale->m_dRankMap[i], before[i]) << "level " << i;
    }
}

TEST_F(ConDetFixture, OpeningLoadsTheScaleTheModelAndTheResultEngine) {
    m_pScale->m_nNumColor = 18;
    m_pScale->MakeRankMap();
    m_pScale->m_nColorTableKind = 2;
    m_pScale->m_bThickContourLine = 0;
    m_pScale->m_bExactContour = 1;
    m_pScale->m_dContourFactor = 1.5;
    m_pScale->m_bDrawElemOutline = 1;
    m_pScale->m_nColorStyle = 0;
    m_engine.m_bGradient = 1;
    Model().m_dAnnotSize = 0.379;
    Model().m_bApplyOnOK = 1;
    CPVXConDetDlg dlg;
    Prepare(dlg);
    Run(dlg, {[&](CUiDialogSession& s) {
        CWnd* d = s.Dialog();
        EXPECT_EQ(static_cast<CComboBox*>(d->GetDlgItem(IDC_CON_COLOR_COUNT))->GetCurSel(), 2);
        EXPECT_EQ(static_cast<CComboBox*>(d->GetDlgItem(IDC_CON_COLOR_COUNT))->GetCount(), 4);
        CString text;
        static_cast<CComboBox*>(d->GetDlgItem(IDC_CON_COLOR_TABLE))->GetLBText(3, text);
        EXPECT_STREQ(text, "Gray Scaled");
        EXPECT_EQ(static_cast<CComboBox*>(d->GetDlgItem(IDC_CON_COLOR_TABLE))->GetCurSel(), 2);
        EXPECT_EQ(static_cast<CSliderCtrl*>(d->GetDlgItem(IDC_CON_INTERVAL))->GetPos(), 37) << "spacing x 100, truncated";
        EXPECT_EQ(Check(s, IDC_CON_GRADIENT), 1);
        EXPECT_EQ(Check(s, IDC_CON_THICK_LINES), 0);
        EXPECT_EQ(Check(s, IDC_CON_EXACT), 1);
        EXPECT_EQ(Check(s, IDC_CON_APPLY_ON_OK), 1);
        EXPECT_EQ(Check(s, IDC_CON_ELEM_OUTLINE), 0) << "element outlines always start unticked";
        EXPECT_EQ(Check(s, IDC_CON_STYLE_RAINBOW), 0) << "colour style is not loaded";
        EXPECT_EQ(Check(s, IDC_CON_FILL_BANDS), 1);
        EXPECT_FALSE(Enabled(s, IDC_CON_STYLE_BORDER));
        EXPECT_FALSE(Enabled(s, IDC_CON_STYLE_RANGE));
        CString factor;
        d->GetDlgItemText(IDC_CON_FACTOR, factor);
        EXPECT_DOUBLE_EQ(std::atof(factor), 1.5);
        EXPECT_EQ(WellColor(s, IDC_CON_WELL_LINE), m_pScale->m_crContourLine);
        EXPECT_EQ(WellColor(s, IDC_CON_WELL_BAND2), m_pScale->m_crBand2);
        return IDOK;
    }});
    EXPECT_EQ(m_pScale->m_bDrawElemOutline, 0) << "OK stores the unreachable outline check";
    EXPECT_EQ(m_pScale->m_nColorStyle, -1) << "and no colour style";
    EXPECT_EQ(m_pScale->m_nNumColor, 18);
}

TEST_F(ConDetFixture, FillStyleAndAnnotationGovernTheLineChecks) {
    m_pScale->m_nFillStyle = 0;
    CPVXConDetDlg dlg;
    Prepare(dlg);
    Run(dlg, {[&](CUiDialogSession& s) {
        EXPECT_TRUE(Enabled(s, IDC_CON_GRADIENT));
        EXPECT_TRUE(Enabled(s, IDC_CON_DRAW_LINES));
        EXPECT_EQ(Check(s, IDC_CON_DRAW_LINES), 0);
        s.SetCheck(IDC_CON_ANNOTATE);
        EXPECT_EQ(Check(s, IDC_CON_DRAW_LINES), 1) << "annotation with filled bands forces the lines on";
        s.SetCheck(IDC_CON_LINES_ONLY);
        EXPECT_FALSE(Enabled(s, IDC_CON_GRADIENT));
        EXPECT_FALSE(Enabled(s, IDC_CON_DRAW_LINES));
        EXPECT_TRUE(Enabled(s, IDC_CON_SINGLE_LINE));
        s.SetCheck(IDC_CON_FILL_BANDS);
        EXPECT_TRUE(Enabled(s, IDC_CON_GRADIENT));
        EXPECT_FALSE(Enabled(s, IDC_CON_SINGLE_LINE));
        return IDOK;
    }});
    EXPECT_EQ(m_pScale->m_bDrawContourLine, 1);
    EXPECT_EQ(m_pScale->m_nFillStyle, 0);
    EXPECT_EQ(Model().m_bContourAnnot, 1);
}

TEST_F(ConDetFixture, AnnotationOnOpeningWithFilledBandsTicksTheLinesAndOkStoresThem) {
    Model().m_bContourAnnot = 1;
    m_pScale->m_bDrawContourLine = 0;
    CPVXConDetDlg dlg;
    Prepare(dlg);
    Run(dlg, {[&](CUiDialogSession& s) {
        EXPECT_EQ(Check(s, IDC_CON_DRAW_LINES), 1);
        s.SetCheck(IDC_CON_DRAW_LINES, BST_UNCHECKED);  // the user clears it again
        return IDOK;
    }});
    EXPECT_EQ(m_pScale->m_bDrawContourLine, 1) << "annotated filled bands always draw their lines";
}

TEST_F(ConDetFixture, ApplyAndOkHandOverToThePageOrTheModel) {
    struct Row {
        const char* label;
        bool page;
        int applyOnOK;
        UINT button;       // IDC_CON_APPLY or IDOK
        int executed;      // page Execute calls
        int modelContour;  // model's contour switch afterwards
    } rows[] = {
        {"OK, page, no apply-on-OK", true, 0, IDOK, 0, 0},
        {"OK, page, apply-on-OK", true, 1, IDOK, 1, 0},
        {"Apply, page", true, 0, IDC_CON_APPLY, 1, 0},
        {"OK, no page", false, 0, IDOK, 0, 1},
        {"Apply, no page", false, 1, IDC_CON_APPLY, 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Model().m_bContour = 0;
        Model().m_bGradient = 0;
        Model().m_bApplyOnOK = row.applyOnOK;
        m_pScale->m_bExactContour = 0;
        CountingPage page;
        CPVXConDetDlg dlg;
        Prepare(dlg, row.page ? &page : nullptr);
        Run(dlg, {[&](CUiDialogSession& s) {
            s.SetCheck(IDC_CON_EXACT);
            s.SetCheck(IDC_CON_GRADIENT);
            s.MoveSlider(IDC_CON_INTERVAL, 50);
            if (row.button == IDC_CON_APPLY) {
                s.ClickButton(IDC_CON_APPLY);
                return IDCANCEL;  // Cancel restores the scale, not the model or the page's work
            }
            return IDOK;
        }});
        EXPECT_EQ(page.m_nExecuted, row.executed);
        EXPECT_EQ(Model().m_bContour, row.modelContour);
        EXPECT_EQ(Model().m_bGradient, row.modelContour) << "the model's gradient follows only a direct apply";
        EXPECT_DOUBLE_EQ(Model().m_dAnnotSize, 0.5);
        EXPECT_EQ(m_engine.m_bGradient, 1) << "the result engine's gradient switch is stored";
        if (row.button == IDOK) {
            EXPECT_EQ(m_pScale->m_bExactContour, 1) << "the values are stored on OK";
        }
    }
}

TEST_F(ConDetFixture, DirectApplyWithApplyOnOkRedrawsAndLeavesAnimationMode) {
    Model().m_bApplyOnOK = 1;
    Model().m_bAnimation = 0;
    Model().m_AnimationEngine.m_bAnimationMode = 1;
    CPVXConDetDlg dlg;
    Prepare(dlg);
    Run(dlg, {[](CUiDialogSession&) { return IDOK; }});
    EXPECT_EQ(Model().m_bContour, 1);
    EXPECT_EQ(Model().m_AnimationEngine.m_bAnimationMode, 0) << "no animation runs: animation mode is left";
    EXPECT_EQ(Model().m_bRedrawRequested, 0) << "no redraw request is left behind";
}

TEST_F(ConDetFixture, ImmediateReverseAndWellsChangeTheScaleAndCancelRestoresEverything) {
    const CContourEngine before(*m_pScale);
    CPVXConDetDlg dlg;
    Prepare(dlg);
    COLORREF rank0Reversed = 0;
    Run(dlg, {[&](CUiDialogSession& s) {
        s.SetCheck(IDC_CON_REVERSE);
        EXPECT_EQ(m_pScale->m_bReverseColor, 1);
        rank0Reversed = m_pScale->GetRankColor(0);
        EXPECT_TRUE(PickColor(s, IDC_CON_WELL_LINE, RGB(1, 2, 3)));
        EXPECT_TRUE(PickColor(s, IDC_CON_WELL_BAND1, RGB(4, 5, 6)));
        EXPECT_EQ(m_pScale->m_crContourLine, RGB(1, 2, 3));
        EXPECT_EQ(m_pScale->m_crBand1, RGB(4, 5, 6));
        s.SelectComboIndex(IDC_CON_COLOR_TABLE, 3);
        EXPECT_EQ(m_pScale->m_nColorTableKind, 3);
        return IDCANCEL;
    }});
    EXPECT_NE(rank0Reversed, before.GetRankColor(0)) << "reversing rebuilds the rank colours at once";
    EXPECT_EQ(m_pScale->m_bReverseColor, before.m_bReverseColor);
    EXPECT_EQ(m_pScale->m_crContourLine, before.m_crContourLine);
    EXPECT_EQ(m_pScale->m_crBand1, before.m_crBand1);
    EXPECT_EQ(m_pScale->m_nColorTableKind, before.m_nColorTableKind);
    EXPECT_EQ(m_pScale->GetRankColor(0), before.GetRankColor(0));
}

TEST_F(ConDetFixture, FixedScaleAndCompactLayoutFlags) {
    CPVXConDetDlg dlg;
    Prepare(dlg);
    dlg.m_bFixedScale = 1;
    dlg.m_bCompactLayout = 1;
    Run(dlg, {[&](CUiDialogSession& s) {
        for (UINT id : {IDC_CON_COLOR_COUNT, IDC_CON_CUSTOM_RANGE, IDC_CON_CUSTOM_TABLE}) {
            SCOPED_TRACE(id);
            EXPECT_FALSE(Enabled(s, id));
        }
        for (UINT id : {IDC_CON_GRADIENT, IDC_CON_EDGE_LABEL, IDC_CON_WELL_EDGE, IDC_CON_ANNOTATE, IDC_CON_INTERVAL_LABEL,
                        IDC_CON_INTERVAL, IDC_CON_FACTOR_LABEL, IDC_CON_EXACT, IDC_CON_FACTOR}) {
            SCOPED_TRACE(id);
            EXPECT_FALSE(Visible(s, id));
        }
        EXPECT_TRUE(Visible(s, IDC_CON_DRAW_LINES));
        CRect rcLines, rcGradient, rcThick, rcAnnot;
        s.Dialog()->GetDlgItem(IDC_CON_DRAW_LINES)->GetWindowRect(&rcLines);
        s.Dialog()->GetDlgItem(IDC_CON_GRADIENT)->GetWindowRect(&rcGradient);
        s.Dialog()->GetDlgItem(IDC_CON_THICK_LINES)->GetWindowRect(&rcThick);
        s.Dialog()->GetDlgItem(IDC_CON_ANNOTATE)->GetWindowRect(&rcAnnot);
        EXPECT_EQ(rcLines.top, rcGradient.top) << "the lines check moves into the freed row";
        EXPECT_EQ(rcThick.top, rcAnnot.top);
        return IDCANCEL;
    }});
}

TEST_F(ConDetFixture, CustomColourTableFromTheSettingsIsUndoneByCancel) {
    const COLORREF key0 = m_pScale->GetSerialColor(0);
    CPVXConDetDlg dlg;
    Prepare(dlg);
    CUiDriver::Get().QueueModal(IDD_PVX_CUSTOM_COLOR_TABLE, {[&](CUiDialogSession& s) {
        PickColor(s, IDC_CCT_WELL1, RGB(9, 9, 9));
        return IDOK;
    }});
    COLORREF seen = 0;
    Run(dlg, {[&](CUiDialogSession& s) {
        s.ClickButton(IDC_CON_CUSTOM_TABLE);
        seen = m_pScale->GetSerialColor(0);
        return IDCANCEL;
    }});
    EXPECT_EQ(seen, RGB(9, 9, 9));
    EXPECT_EQ(m_pScale->GetSerialColor(0), key0);
}

TEST_F(ConDetFixture, RefusedFactorKeepsTheDialogOpenAndStoresNothing) {
    m_pScale->m_dContourFactor = 2.0;
    m_pScale->m_bExactContour = 0;
    CountingPage page;
    CPVXConDetDlg dlg;
    Prepare(dlg, &page);
    CUiDriver::Get().ClearMessageBoxes();
    BOOL bOpenAfterOK = FALSE;
    const int rc = Run(dlg, {[&](CUiDialogSession& s) {
        s.SetCheck(IDC_CON_EXACT);
        s.SetControlText(IDC_CON_FACTOR, "abc");
        s.ClickButton(IDC_CON_APPLY_ON_OK);
        s.ClickButton(IDOK);
        bOpenAfterOK = s.IsOpen();
        return IDCANCEL;
    }});
    EXPECT_TRUE(bOpenAfterOK);
    EXPECT_EQ(rc, IDCANCEL);
    ASSERT_FALSE(CUiDriver::Get().MessageBoxes().empty());
    EXPECT_STREQ(CUiDriver::Get().MessageBoxes()[0].text, "Please enter a number.");
    EXPECT_EQ(m_pScale->m_bExactContour, 0);
    EXPECT_DOUBLE_EQ(m_pScale->m_dContourFactor, 2.0);
    EXPECT_EQ(page.m_nExecuted, 0);
}

TEST_F(ConDetFixture, NoScaleGivenClosesWithoutTouchingAnything) {
    CPVXConDetDlg dlg;
    dlg.m_pView = m_pView;
    CUiDriver::Get().QueueModal(IDD_PVX_CONTOUR_DETAIL, {[](CUiDialogSession&) { return IDOK; }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(ConDetFixture, KrigingDialogEditsOnlyItsFewValues) {
    m_engine.m_bGradient = 0;
    Model().m_bGradient = 0;
    Model().m_bApplyOnOK = 0;
    m_pScale->m_bDrawElemOutline = 1;
    const int nBefore = m_pScale->m_nNumColor;
    for (int bCancel = 0; bCancel < 2; bCancel++) {
        SCOPED_TRACE(bCancel ? "Cancel" : "OK");
        CPVXConDetDlg_Krig dlg;
        dlg.m_pView = m_pView;
        dlg.m_pContourEngine = m_pScale;
        dlg.m_pEngine = &m_engine;
        CUiDriver::Get().QueueModal(IDD_PVX_CONTOUR_DETAIL_KRIG, {[&](CUiDialogSession& s) {
            EXPECT_EQ(WellColor(s, IDC_CON_WELL_LINE), m_pScale->m_crContourLine);
            s.SelectComboIndex(IDC_CON_COLOR_COUNT, bCancel ? 0 : 3);
            EXPECT_EQ(m_pScale->m_nNumColor, bCancel ? 6 : 24);
            PickColor(s, IDC_CON_WELL_LINE, RGB(7, 7, 7));
            EXPECT_EQ(m_pScale->m_crContourLine, RGB(7, 7, 7));
            s.SetCheck(IDC_CON_APPLY_ON_OK);
            return bCancel ? IDCANCEL : IDOK;
        }});
        dlg.DoModal();
        if (bCancel) {
            EXPECT_EQ(m_pScale->m_nNumColor, 24) << "Cancel returns to the count of this opening";
            EXPECT_EQ(m_pScale->m_crContourLine, RGB(7, 7, 7)) << "as the first dialog's OK left it";
        } else {
            EXPECT_EQ(m_pScale->m_nNumColor, 24);
            EXPECT_EQ(m_pScale->m_bDrawElemOutline, 0);
            EXPECT_EQ(Model().m_bApplyOnOK, 1);
            EXPECT_EQ(Model().m_bContour, 1);
            EXPECT_EQ(Model().m_bGradient, 0) << "the Kriging dialog leaves the gradient alone";
        }
    }
    EXPECT_NE(nBefore, 24);
}

}  // namespace

}  // namespace dlgtest
