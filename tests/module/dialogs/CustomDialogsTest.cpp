// The custom colour table, custom range and legend details dialogs driven like a user.
#include <cstdlib>

#include "DialogsTestSupport.h"
#include "module/contour/CColorTableDlg.h"
#include "module/contour/CContourRangeDlg.h"
#include "module/contour/CLegendDetDlg.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/ui/CListCtrl.h"

namespace dlgtest {

namespace {

// ---- custom colour table ----

struct ColorTableFixture : DialogsFixture {
    int Run(std::vector<UiDialogStep> steps) {
        CPVXCtmzCtDlg dlg;
        dlg.m_pView = m_pView;
        dlg.m_pContourEngine = m_pScale;
        CUiDriver::Get().QueueModal(IDD_PVX_CUSTOM_COLOR_TABLE, std::move(steps));
        return static_cast<int>(dlg.DoModal());
    }
};

TEST_F(ColorTableFixture, WellsShowTheKeysAndOkWritesThemBackInterpolated) {
    const int entries[] = {0, 1, 2, 3, 4, 5, 30};
    Run({[&](CUiDialogSession& s) {
        for (int i = 0; i < CPVXCtmzCtDlg::NUM_KEYS; i++) {
            SCOPED_TRACE(testing::Message() << "CW" << i + 1);
            EXPECT_EQ(WellColor(s, CPVXCtmzCtDlg::s_nWellIds[i]), m_pScale->GetSerialColor(entries[i]));
        }
        PickColor(s, IDC_CCT_WELL1, RGB(0, 0, 0));
        PickColor(s, IDC_CCT_WELL2, RGB(200, 100, 50));
        PickColor(s, IDC_CCT_WELL7, RGB(255, 255, 255));
        EXPECT_NE(m_pScale->GetSerialColor(0), RGB(0, 0, 0)) << "the table changes only on OK";
        return IDOK;
    }});
    EXPECT_EQ(m_pScale->GetSerialColor(0), RGB(0, 0, 0));
    EXPECT_EQ(m_pScale->GetSerialColor(1), RGB(200, 100, 50));
    EXPECT_EQ(m_pScale->GetSerialColor(30), RGB(255, 255, 255));
}

TEST_F(ColorTableFixture, CancelAfterDefaultRestoresEveryTable) {
    // Custom keys in two tables, as earlier OKs would leave them.
    m_pScale->m_nColorTableKind = 1;
    m_pScale->SetSerialColor(2, RGB(11, 22, 33));
    m_pScale->m_nColorTableKind = 0;
    m_pScale->SetSerialColor(3, RGB(44, 55, 66));
    m_pScale->MakeColorTable();
    COLORREF before[CContourEngine::TABLE_KINDS][CContourEngine::TABLE_ENTRIES];
    std::memcpy(before, m_pScale->m_crColorTable, sizeof(before));
    COLORREF afterDefault = 0;
    Run({[&](CUiDialogSession& s) {
        s.ClickButton(IDC_CCT_DEFAULT);
        afterDefault = m_pScale->GetSerialColor(3);
        EXPECT_EQ(WellColor(s, IDC_CCT_WELL4), afterDefault) << "the wells follow Default";
        return IDCANCEL;
    }});
    EXPECT_NE(afterDefault, RGB(44, 55, 66)) << "Default brings back the built-in keys";
    for (int k = 0; k < CContourEngine::TABLE_KINDS; k++)
        for (int e = 0; e < CContourEngine::TABLE_ENTRIES; e++)
            EXPECT_EQ(m_pScale->m_crColorTable[k][e], before[k][e]) << "table " << k << " entry " << e;
}

// ---- custom ranges ----

struct RangeFixture : DialogsFixture {
    // Scale 0..11 with 12 levels 0, 1, ..., 11.
    void SetUp() override {
        DialogsFixture::SetUp();
        delete m_pScale;
        m_pScale = new CContourEngine(0.0, 11.0);
    }
    int Run(std::vector<UiDialogStep> steps) {
        CPVXCtmzRrDlg dlg;
        dlg.m_pView = m_pView;
        dlg.m_pContourEngine = m_pScale;
        CUiDriver::Get().QueueModal(IDD_PVX_CUSTOM_RANGE, std::move(steps));
        return static_cast<int>(dlg.DoModal());
    }
    static CListCtrl* List(CUiDialogSession& s) {
        return static_cast<CListCtrl*>(s.Dialog()->GetDlgItem(IDC_CRR_LIST));
    }
    // Selects a rank, ticks the user value and types v, then leaves the field.
    static void Pin(CUiDialogSession& s, int rank, const char* v) {
        s.ClickListItem(IDC_CRR_LIST, rank);
        s.SetCheck(IDC_CRR_USER_VALUE);
        s.SetControlText(IDC_CRR_VALUE, v);
        s.Dialog()->GetDlgItem(IDC_CRR_DEFAULT)->SetFocus();
    }
};

TEST_F(RangeFixture, RowsColumnsAndRangeTexts) {
    Run({[&](CUiDialogSession& s) {
        CListCtrl* list = List(s);
        EXPECT_TRUE(list->GetStyle() & LVS_REPORT);
        EXPECT_EQ(list->GetColumnCount(), 2);
        EXPECT_EQ(list->GetColumnWidth(0), 100);
        EXPECT_EQ(list->GetItemCount(), 12);
        EXPECT_STREQ(list->GetItemText(0, 0), "Rank 0");
        EXPECT_STREQ(list->GetItemText(11, 0), "Rank 11");
        EXPECT_STREQ(list->GetItemText(3, 1), "3.0000000000");
        EXPECT_EQ(list->GetItemImage(3), 0);
        CString max, min;
        s.Dialog()->GetDlgItemText(IDC_CRR_MAX_TEXT, max);
        s.Dialog()->GetDlgItemText(IDC_CRR_MIN_TEXT, min);
        EXPECT_STREQ(max, "11.0000000000");
        EXPECT_STREQ(min, "0.0000000000");
        EXPECT_FALSE(Enabled(s, IDC_CRR_USER_VALUE));
        EXPECT_FALSE(Enabled(s, IDC_CRR_VALUE));
        return IDOK;
    }});
}

TEST_F(RangeFixture, OnlyInnerRanksTakeUserValues) {
    struct Row {
        int rank;
        BOOL enabled;
        const char* text;
    } rows[] = {{0, FALSE, "0.000000"}, {1, TRUE, "1.000000"}, {10, TRUE, "10.000000"}, {11, FALSE, "11.000000"}};
    Run({[&](CUiDialogSession& s) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.rank);
            s.ClickListItem(IDC_CRR_LIST, row.rank);
            EXPECT_EQ(Enabled(s, IDC_CRR_USER_VALUE), row.enabled);
            CString text;
            s.Dialog()->GetDlgItemText(IDC_CRR_VALUE, text);
            EXPECT_STREQ(text, row.text);
        }
        return IDOK;
    }});
}

TEST_F(RangeFixture, ValidKnotIsPinnedMarkedAndNeighboursReinterpolated) {
    Run({[&](CUiDialogSession& s) {
        Pin(s, 4, "6");
        EXPECT_TRUE(m_pScale->IsCustomRank(4));
        EXPECT_DOUBLE_EQ(m_pScale->m_dRankMap[4], 6.0);
        EXPECT_DOUBLE_EQ(m_pScale->m_dRankMap[2], 3.0) << "0..6 over ranks 0..4";
        EXPECT_DOUBLE_EQ(m_pScale->m_dRankMap[7], 6.0 + 3 * 5.0 / 7) << "6..11 over ranks 4..11";
        CListCtrl* list = List(s);
        EXPECT_EQ(list->GetItemImage(4), 1);
        EXPECT_EQ(list->GetItemImage(3), 0);
        EXPECT_STREQ(list->GetItemText(2, 1), "3.0000000000");
        EXPECT_TRUE(CUiDriver::Get().MessageBoxes().empty());
        return IDOK;
    }});
}

TEST_F(RangeFixture, InvalidOrUnchangedValuesLeaveTheScaleAlone) {
    struct Row {
        const char* label;
        int rank;
        const char* text;
        size_t boxes;  // message boxes shown
    } rows[] = {
        {"equal to the current level", 5, "5.000000", 0},
        {"below the lower neighbour", 5, "-1", 1},
        {"above the range", 5, "12", 1},
        {"not a number", 5, "abc", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CUiDriver::Get().ClearMessageBoxes();
        delete m_pScale;
        m_pScale = new CContourEngine(0.0, 11.0);
        Run({[&](CUiDialogSession& s) {
            Pin(s, row.rank, row.text);
            EXPECT_FALSE(m_pScale->IsCustomRank(row.rank));
            for (int i = 0; i < 12; i++) EXPECT_DOUBLE_EQ(m_pScale->m_dRankMap[i], i);
            CString text;
            s.Dialog()->GetDlgItemText(IDC_CRR_VALUE, text);
            if (row.boxes) {
                EXPECT_STREQ(text, "5.000000") << "the field shows the level again";
            }
            return IDOK;
        }});
        ASSERT_EQ(CUiDriver::Get().MessageBoxes().size(), row.boxes);
        if (row.boxes) {
            EXPECT_STREQ(CUiDriver::Get().MessageBoxes()[0].text, "Invalid Contour Value!");
        }
    }
}

TEST_F(RangeFixture, LeavingTheShownRoundedLevelUntouchedPinsNothing) {
    delete m_pScale;
    m_pScale = new CContourEngine(0.0, 1.0);  // level 1 is 1/11, shown as "0.090909"
    Run({[&](CUiDialogSession& s) {
        s.ClickListItem(IDC_CRR_LIST, 1);
        s.SetCheck(IDC_CRR_USER_VALUE);
        s.Dialog()->GetDlgItem(IDC_CRR_DEFAULT)->SetFocus();  // leave the field as shown
        EXPECT_FALSE(m_pScale->IsCustomRank(1));
        EXPECT_DOUBLE_EQ(m_pScale->m_dRankMap[1], 1.0 / 11);
        return IDOK;
    }});
    EXPECT_TRUE(CUiDriver::Get().MessageBoxes().empty());
}

TEST_F(RangeFixture, ValueOutsideTheNeighbouringKnotsIsRefusedAndDefaultRemovesAKnot) {
    Run({[&](CUiDialogSession& s) {
        Pin(s, 6, "7");      // knot at rank 6
        EXPECT_TRUE(m_pScale->IsCustomRank(6));
        Pin(s, 3, "8");      // between ranks 2 and 4 of the old levels, but beyond the knot at 6
        EXPECT_FALSE(m_pScale->IsCustomRank(3));
        EXPECT_EQ(CUiDriver::Get().MessageBoxes().size(), 1u);
        s.ClickListItem(IDC_CRR_LIST, 6);
        EXPECT_EQ(Check(s, IDC_CRR_USER_VALUE), 1) << "a pinned rank shows its check";
        EXPECT_TRUE(Enabled(s, IDC_CRR_VALUE));
        s.ClickButton(IDC_CRR_DEFAULT);
        EXPECT_FALSE(m_pScale->IsCustomRank(6));
        EXPECT_DOUBLE_EQ(m_pScale->m_dRankMap[6], 6.0);
        EXPECT_EQ(Check(s, IDC_CRR_USER_VALUE), 0);
        EXPECT_FALSE(Enabled(s, IDC_CRR_VALUE));
        EXPECT_EQ(List(s)->GetItemImage(6), 0);
        return IDOK;
    }});
}

// ---- legend details ----

struct LegendFixture : DialogsFixture {
    T_PVX_LEGEND_SET set{0, 1, 1, 0, RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)};
    int Run(CPVXBarDlgBase* page, std::vector<UiDialogStep> steps) {
        CPVXLegDetDlg dlg;
        dlg.m_pPage = page;
        dlg.m_pView = m_pView;
        dlg.m_pSettings = &set;
        CUiDriver::Get().QueueModal(IDD_PVX_LEGEND_DETAIL, std::move(steps));
        return static_cast<int>(dlg.DoModal());
    }
};

TEST_F(LegendFixture, OpeningLoadsTheRecordAndOkStoresItWithColoursUnchanged) {
    set.nPosition = 5;  // any non-zero side is the right one
    Run(nullptr, {[&](CUiDialogSession& s) {
        EXPECT_EQ(Check(s, IDC_LEG_RIGHT), 1);
        EXPECT_EQ(Check(s, IDC_LEG_DECIMAL), 1);
        EXPECT_EQ(Check(s, IDC_LEG_PCT_INTEGER), 1);
        EXPECT_TRUE(Visible(s, IDC_LEG_APPLY_ON_OK));
        EXPECT_EQ(WellColor(s, IDC_LEG_WELL_FIGURE), RGB(2, 2, 2));
        s.SetCheck(IDC_LEG_LEFT);
        s.SetCheck(IDC_LEG_EXPONENT);
        s.SetCheck(IDC_LEG_PCT_ONE);
        return IDOK;
    }});
    EXPECT_EQ(set.nPosition, 0);
    EXPECT_EQ(set.nNumberFormat, 0);
    EXPECT_EQ(set.nPercentDecimals, 1);
    EXPECT_EQ(set.nPassThrough, 1);
    EXPECT_EQ(set.crBack, RGB(1, 1, 1));
    EXPECT_EQ(set.crText, RGB(3, 3, 3));
}

TEST_F(LegendFixture, DirectApplySetsTheMarginOnTheLegendSideAndZoomsAll) {
    I_PVXModel& m = Model();
    m.m_arrActiveMembKey.Add(1);  // the members shown, so there is a model range to fit
    m.m_arrActiveMembKey.Add(2);
    ASSERT_NE(m.m_pDispOpt, nullptr);
    m.m_pDispOpt->m_Legend.m_nLegendWidth = 10;
    I_PVXCtrl* ctrl = m.m_pPVXCtrl;
    ASSERT_NE(ctrl, nullptr);
    struct Row {
        UINT radio;
        int side;
    } rows[] = {{IDC_LEG_RIGHT, 1}, {IDC_LEG_LEFT, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.side);
        ctrl->ResetClientWindowMargin();
        ctrl->ViewZoom(2.0);
        Run(nullptr, {[&](CUiDialogSession& s) {
            s.SetCheck(row.radio);
            return IDOK;
        }});
        const int m0 = 10 * m.m_LegendEngine.m_nTitleCharWidth;
        EXPECT_EQ(m.m_LegendEngine.m_nPanelPlacement, row.side);
        EXPECT_EQ(ctrl->GetClientWindowMargin(row.side).Width(), m0);
        EXPECT_EQ(ctrl->GetClientWindowMargin(1 - row.side).Width(), 0);
        EXPECT_EQ(ctrl->IsZoomAllState(), 1);
        EXPECT_EQ(m.m_pDispOpt->m_Legend.m_bShowLegend, 1);
    }
}

TEST_F(LegendFixture, PageExecutesOnlyWithApplyOnOk) {
    for (int bApply = 0; bApply < 2; bApply++) {
        SCOPED_TRACE(bApply);
        CountingPage page;
        Run(&page, {[&](CUiDialogSession& s) {
            s.SetCheck(IDC_LEG_APPLY_ON_OK, bApply ? BST_CHECKED : BST_UNCHECKED);
            return IDOK;
        }});
        EXPECT_EQ(page.m_nExecuted, bApply);
        EXPECT_EQ(Model().m_bApplyOnOK, bApply);
    }
}

}  // namespace

namespace {

// Openers that forgot what to edit get a dialog that closes at once and changes nothing.
TEST_F(DialogsFixture, DialogsWithNothingToEditCloseCancelled) {
    Model().m_bApplyOnOK = 0;
    struct Row {
        const char* label;
        std::function<INT_PTR()> run;
        UINT nID;
    } rows[] = {
        {"colour table", [] { CPVXCtmzCtDlg d; return d.DoModal(); }, IDD_PVX_CUSTOM_COLOR_TABLE},
        {"ranges", [] { CPVXCtmzRrDlg d; return d.DoModal(); }, IDD_PVX_CUSTOM_RANGE},
        {"legend", [this] { CPVXLegDetDlg d; d.m_pView = m_pView; return d.DoModal(); }, IDD_PVX_LEGEND_DETAIL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CUiDriver::Get().QueueModal(row.nID, {[](CUiDialogSession& s) {
            s.SetCheck(IDC_LEG_APPLY_ON_OK);
            return IDOK;
        }});
        EXPECT_EQ(row.run(), IDCANCEL);
    }
    EXPECT_EQ(Model().m_bApplyOnOK, 0);
}

}  // namespace

}  // namespace dlgtest
