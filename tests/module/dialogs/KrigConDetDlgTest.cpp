// The Kriging contour settings dialog driven like a user through the handlers it shares with the
// full dialog: closing without a scale, the immediate reverse and table changes undone by
// Cancel, and the Apply and OK hand-over to the page or the model.
#include "DialogsTestSupport.h"
#include "module/contour/CContourDetDlg.h"

namespace dlgtest {

namespace {

struct KrigFixture : DialogsFixture {
    void Prepare(CPVXConDetDlg_Krig& dlg, CPVXBarDlgBase* page = nullptr) {
        dlg.m_pPage = page;
        dlg.m_pView = m_pView;
        dlg.m_pContourEngine = m_pScale;
        dlg.m_pEngine = &m_engine;
    }
    int Run(CPVXConDetDlg_Krig& dlg, std::vector<UiDialogStep> steps) {
        CUiDriver::Get().QueueModal(IDD_PVX_CONTOUR_DETAIL_KRIG, std::move(steps));
        return static_cast<int>(dlg.DoModal());
    }
};

TEST_F(KrigFixture, NoScaleGivenClosesWithoutTouchingTheModel) {
    Model().m_bContour = 0;
    Model().m_bApplyOnOK = 0;
    CPVXConDetDlg_Krig dlg;
    dlg.m_pView = m_pView;
    EXPECT_EQ(Run(dlg, {[](CUiDialogSession& s) {
                  s.SetCheck(IDC_CON_APPLY_ON_OK);
                  return IDOK;
              }}),
              IDCANCEL);
    EXPECT_EQ(Model().m_bContour, 0);
    EXPECT_EQ(Model().m_bApplyOnOK, 0);
}

TEST_F(KrigFixture, ReverseAndTableChangeTheScaleAtOnceAndCancelRestoresThem) {
    const CContourEngine before(*m_pScale);
    CPVXConDetDlg_Krig dlg;
    Prepare(dlg);
    COLORREF rank0Reversed = 0;
    int nKindSeen = -1;
    EXPECT_EQ(Run(dlg, {[&](CUiDialogSession& s) {
                  EXPECT_EQ(Check(s, IDC_CON_REVERSE), before.m_bReverseColor) << "opened with the scale's switch";
                  s.SetCheck(IDC_CON_REVERSE, before.m_bReverseColor ? BST_UNCHECKED : BST_CHECKED);
                  rank0Reversed = m_pScale->GetRankColor(0);
                  s.SelectComboIndex(IDC_CON_COLOR_TABLE, before.m_nColorTableKind == 3 ? 1 : 3);
                  nKindSeen = m_pScale->m_nColorTableKind;
                  return IDCANCEL;
              }}),
              IDCANCEL);
    EXPECT_NE(rank0Reversed, before.GetRankColor(0)) << "reversing rebuilds the rank colours at once";
    EXPECT_EQ(nKindSeen, before.m_nColorTableKind == 3 ? 1 : 3) << "the table changes at once";
    EXPECT_EQ(m_pScale->m_bReverseColor, before.m_bReverseColor);
    EXPECT_EQ(m_pScale->m_nColorTableKind, before.m_nColorTableKind);
    EXPECT_EQ(m_pScale->GetRankColor(0), before.GetRankColor(0));
}

TEST_F(KrigFixture, ApplyAndOkHandOverToThePageOrTheModel) {
    struct Row {
        const char* label;
        bool page;
        int applyOnOK;     // the model's switch when the dialog opens
        UINT button;       // IDC_CON_APPLY (then Cancel) or IDOK
        int executed;      // page Execute calls
        int modelContour;  // model's contour switch afterwards
        int reverse;       // scale's reverse switch afterwards
    } rows[] = {
        {"OK, page, no apply-on-OK", true, 0, IDOK, 0, 0, 1},
        {"OK, page, apply-on-OK", true, 1, IDOK, 1, 0, 1},
        {"Apply, page", true, 0, IDC_CON_APPLY, 1, 0, 0},
        {"OK, no page", false, 0, IDOK, 0, 1, 1},
        {"Apply, no page, apply-on-OK", false, 1, IDC_CON_APPLY, 0, 1, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Model().m_bContour = 0;
        Model().m_bGradient = 0;
        Model().m_bApplyOnOK = row.applyOnOK;
        Model().m_bRedrawRequested = 0;
        m_pScale->m_bReverseColor = 0;
        m_pScale->m_bDrawElemOutline = 1;
        CountingPage page;
        CPVXConDetDlg_Krig dlg;
        Prepare(dlg, row.page ? &page : nullptr);
        Run(dlg, {[&](CUiDialogSession& s) {
            EXPECT_EQ(Check(s, IDC_CON_APPLY_ON_OK), row.applyOnOK) << "opened with the model's switch";
            s.SetCheck(IDC_CON_REVERSE);
            if (row.button == IDC_CON_APPLY) {
                s.ClickButton(IDC_CON_APPLY);
                EXPECT_EQ(m_pScale->m_bDrawElemOutline, 0) << "Apply stores the values";
                return IDCANCEL;  // Cancel restores the scale, not the model or the page's work
            }
            return IDOK;
        }});
        EXPECT_EQ(page.m_nExecuted, row.executed);
        EXPECT_EQ(Model().m_bContour, row.modelContour);
        EXPECT_EQ(Model().m_bGradient, 0) << "the Kriging dialog leaves the gradient alone";
        EXPECT_EQ(Model().m_bRedrawRequested, 0) << "no redraw request is left behind";
        EXPECT_EQ(m_pScale->m_bReverseColor, row.reverse);
    }
}

}  // namespace

}  // namespace dlgtest
