// The reaction pages: the arrow factor check on every way into Execute, the node report in the
// message window, the settings archive, and the display mode, engine kind and settings after
// an Apply.
#include "host/base/CMsgDll.h"
#include "host/base/CMsgOutWnd.h"
#include "module/bars/CPVXBarRContr.h"
#include "module/bars/CPVXBarReacf.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "platform/afx/CArchive.h"
#include "platform/afx/CMemFile.h"
#include "tests/module/bars/BarTestSupport.h"

namespace bartest {
namespace {

TEST_F(BarFixture, ReactionPageChecksTheArrowFactorBeforeItExecutes) {
    const CString refusal = CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Scale_Factor_Invalid_Abs10", 0);
    struct Row {
        const char* label;
        const char* text;
        bool accepted;
        double stored;  // the editing engine's factor after an accepted Apply
    } rows[] = {
        {"upper bound", "10", true, 10.0},
        {"lower bound", "-10", true, -10.0},
        {"inside", "2.5", true, 2.5},
        {"just above", "10.5", false, 0},
        {"just below", "-10.01", false, 0},
        {"not a number", "abc", false, 0},
        {"number then text", "3x", false, 0},
        {"empty", "", false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerReac>();
        ASSERT_NE(bar, nullptr);
        CPVXBarReacPage* page = ShowPage<CPVXBarReacPage>(bar, PVXResult::kReacPile);
        ASSERT_NE(page, nullptr);
        ASSERT_NE(dynamic_cast<CPVXBarReacf*>(page), nullptr);
        Model().m_nDisplayMode = -5;
        CUiDriver::Get().ClearMessageBoxes();
        CUiDialogSession user(page);
        ASSERT_TRUE(user.SetControlText(CPVXBarReacf::IDC_SCALE, r.text));
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        const auto& boxes = CUiDriver::Get().MessageBoxes();
        if (r.accepted) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(Model().m_nDisplayMode, PVXMode::kReaction);
            auto* e = dynamic_cast<CReactionEngine*>(CPVXBarContainerBase::m_pCurrentEngine);
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(e->m_dArrowScale, r.stored);
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_STREQ(boxes[0].text.GetString(), refusal.GetString());
            EXPECT_EQ(Model().m_nDisplayMode, -5) << "nothing executed";
            // The way a detail dialog's apply-on-OK takes: Execute directly, refused the same.
            page->Execute();
            EXPECT_EQ(boxes.size(), 2u);
            EXPECT_EQ(Model().m_nDisplayMode, -5);
        }
        bar->DestroyWindow();
    }
}

TEST_F(BarFixture, ReactionPagesSetTheirModeEngineKindAndSettingsOnApply) {
    struct Row {
        const char* label;
        int resultId;
        int mode;
        int dataKind;
    } rows[] = {
        {"reaction contour", PVXResult::kReacContour, PVXMode::kReactionContour, CReactionEngine::KIND_CONTOUR},
        {"pile reactions", PVXResult::kReacPile, PVXMode::kReaction, CReactionEngine::KIND_REACTION},
        {"reversed reactions", PVXResult::kReacReverse, PVXMode::kReaction, CReactionEngine::KIND_REVERSED},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ResetBars();
        auto* bar = MakeBar<CPVXBarContainerReac>();
        ASSERT_NE(bar, nullptr);
        CPVXBarReacPage* page = ShowPage<CPVXBarReacPage>(bar, r.resultId);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->GetPageType(), CPVXBarDlgBase::PAGE_REACTION);
        CUiDialogSession user(page);
        user.SetCheck(page->GetControlNames()[2].nID, BST_UNCHECKED);  // legend off
        user.SetCheck(page->GetControlNames()[3].nID, BST_CHECKED);    // values on
        if (r.resultId == PVXResult::kReacContour) user.ClickButton(CPVXBarRContr::IDC_MEMB_BEAM);
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_EQ(Model().m_nDisplayMode, r.mode);
        EXPECT_EQ(bar->m_nEngineKind, CPVXBarContainerBase::ENGINE_REACTION);
        auto* e = dynamic_cast<CReactionEngine*>(CPVXBarContainerBase::m_pCurrentEngine);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->m_nDataKind, r.dataKind);
        if (r.resultId == PVXResult::kReacContour) {
            EXPECT_EQ(e->m_nMembKind, 1) << "beam";
        }
        EXPECT_EQ(bar->m_BarInfo.bLegend, 0);
        EXPECT_EQ(bar->m_BarInfo.bValues, 1);
        EXPECT_EQ(bar->m_BarInfo.bContour, 1);
        bar->DestroyWindow();
    }
}

TEST_F(BarFixture, ReactionPageReportsANodeInTheMessageWindow) {
    auto* bar = MakeBar<CPVXBarContainerReac>();
    ASSERT_NE(bar, nullptr);
    CPVXBarReacPage* page = ShowPage<CPVXBarReacPage>(bar, PVXResult::kReacPile);
    ASSERT_NE(page, nullptr);
    CReactionEngine* e = page->m_pReactionEngine;
    ASSERT_NE(e, nullptr);
    T_REAC_D r;
    r.FX = 3.0, r.FY = 4.0, r.FZ = 12.0, r.MX = -0.5, r.MY = 0.0, r.MZ = 1234.5;
    e->m_mapReac.SetAt(12, r);
    T_REAC_D zero;
    zero.Initialize();
    e->m_mapReac.SetAt(13, zero);
    e->m_arrPickedNode.RemoveAll();

    CMsgOutWnd::Clear();
    EXPECT_EQ(page->ReportNode(13), 0);
    EXPECT_EQ(CMsgOutWnd::GetLines(), std::vector<std::string>{"Node has no Reaction"});
    EXPECT_EQ(e->m_arrPickedNode.GetSize(), 0) << "the picked list stays as it was";

    CMsgOutWnd::Clear();
    EXPECT_EQ(page->ReportNode(12), 1);
    // FXYZ = sqrt(3^2 + 4^2 + 12^2) = 13; each number "%15.5E" with three exponent digits.
    const std::vector<std::string> want = {
        "NODE NUMBER=12",
        " FX=   3.00000E+000  FY=   4.00000E+000  FZ=   1.20000E+001  FXYZ=   1.30000E+001",
        " MX=  -5.00000E-001  MY=   0.00000E+000  MZ=   1.23450E+003",
    };
    EXPECT_EQ(CMsgOutWnd::GetLines(), want);
    ASSERT_EQ(e->m_arrPickedNode.GetSize(), 1);
    EXPECT_EQ(e->m_arrPickedNode[0], 12u);
    bar->DestroyWindow();
}

// The arrow factor and node fields are edit boxes as any other: framed and reached with Tab
// (the order of the template: values "...", the factor, the node, then Apply, the icon being
// hidden).
TEST_F(BarFixture, TabReachesTheArrowFactorAndTheNodeField) {
    auto* bar = MakeBar<CPVXBarContainerReac>();
    ASSERT_NE(bar, nullptr);
    CPVXBarReacPage* page = ShowPage<CPVXBarReacPage>(bar, PVXResult::kReacPile);
    ASSERT_NE(page, nullptr);
    struct Row {
        const char* label;
        UINT from, next;
    } const rows[] = {
        {"values ... to the factor", CPVXBarReacf::IDC_VALUES_MORE, CPVXBarReacf::IDC_SCALE},
        {"factor to node", CPVXBarReacf::IDC_SCALE, CPVXBarReacPage::IDC_REAC_NODE},
        {"node to Apply", CPVXBarReacPage::IDC_REAC_NODE, CPVXBarDlgBase::IDC_PAGE_APPLY},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CWnd* from = page->GetDlgItem(static_cast<int>(r.from));
        ASSERT_NE(from, nullptr);
        CWnd* next = page->GetNextDlgTabItem(from);
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(static_cast<UINT>(next->GetDlgCtrlID()), r.next);
    }
    for (UINT id : {static_cast<UINT>(CPVXBarReacf::IDC_SCALE), static_cast<UINT>(CPVXBarReacPage::IDC_REAC_NODE)}) {
        CWnd* edit = page->GetDlgItem(static_cast<int>(id));
        ASSERT_NE(edit, nullptr);
        EXPECT_NE(edit->GetStyle() & WS_BORDER, 0u) << "edit " << id;
    }
    bar->DestroyWindow();
}

TEST(ReacPageText, FactorAndNodeTextsAreReadWholeOrRefused) {
    struct Row {
        const char* text;
        BOOL ok;
        double value;
    } scales[] = {{"10", TRUE, 10}, {" -10 ", TRUE, -10}, {"0", TRUE, 0}, {"1e1", TRUE, 10},
                  {"10.0001", FALSE, 0}, {"nan", FALSE, 0}, {"1,5", FALSE, 0}, {"", FALSE, 0}};
    for (const Row& r : scales) {
        SCOPED_TRACE(r.text);
        double d = -99;
        EXPECT_EQ(CPVXBarReacPage::ParseScale(r.text, d), r.ok);
        if (r.ok) {
            EXPECT_EQ(d, r.value);
        }
    }
    struct NodeRow {
        const char* text;
        BOOL ok;
        UINT key;
    } nodes[] = {{"12", TRUE, 12}, {" 7", TRUE, 7}, {"0", FALSE, 0}, {"-3", FALSE, 0}, {"12a", FALSE, 0}, {"", FALSE, 0}};
    for (const NodeRow& r : nodes) {
        SCOPED_TRACE(r.text);
        UINT n = 0;
        EXPECT_EQ(CPVXBarReacPage::ParseNode(r.text, n), r.ok);
        if (r.ok) {
            EXPECT_EQ(n, r.key);
        }
    }
}

TEST(ReacPageArchive, SettingsComeBackFromTheArchive) {
    CPVXBarReacf a;
    a.m_nLoadStep = 1;
    a.m_nLoadKey = 10;
    a.m_nLoadType = 2;
    a.m_bContour = 1;
    a.m_bValues = 1;
    a.m_bLegend = 0;
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        a.Serialize(ar);
    }
    f.SeekToBegin();
    CPVXBarReacf b;
    {
        CArchive ar(&f, CArchive::load);
        b.Serialize(ar);
    }
    EXPECT_EQ(b.m_nLoadStep, 1);
    EXPECT_EQ(b.m_nLoadKey, 10);
    EXPECT_EQ(b.m_nLoadType, 2);
    EXPECT_EQ(b.m_bContour, 1);
    EXPECT_EQ(b.m_bValues, 1);
    EXPECT_EQ(b.m_bLegend, 0);
    EXPECT_STREQ(b.m_strTitle.GetString(), "Reaction");
}

}  // namespace
}  // namespace bartest
