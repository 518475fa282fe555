// The story shear page (7501) and the slab strip page (7402): what each offers, what Apply hands
// the editing force engine, and the strips the strip page keeps in the host's cutting-line table.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "host/base/CMouseEdit.h"
#include "host/base/CMsgDll.h"
#include "host/base/I_ModelBase.h"
#include "host/db/DBTables.h"
#include "module/bars/CPVXBarContainerSlabDetail.h"
#include "module/bars/CPVXBarContainerStory.h"
#include "module/bars/CPVXBarSStrip.h"
#include "module/bars/CPVXBarStrShrFrcRtio.h"
#include "module/bars/SlabStripLines.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CListBox.h"
#include "tests/module/bars/BarTestSupport.h"

namespace bartest {
namespace {

CDataBase& Post() { return *CDBDoc::m_pDBDoc->GetMDBCtrl()->GetDBPost(); }

// ---- the strip geometry ------------------------------------------------------------------------------

TEST(SlabStripLinesTest, OrthogonalSnap) {
    // The axis along which the cursor moved less is taken from the first point (1, 1).
    struct Row {
        const char* label;
        double x, y, wantX, wantY;
    } const rows[] = {
        {"more horizontal", 5.0, 2.0, 5.0, 1.0},
        {"more vertical", 2.0, -6.0, 1.0, -6.0},
        {"tie: vertical", 4.0, 4.0, 1.0, 4.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const slabstrip::PlanPoint p = slabstrip::SnapOrthogonal({1.0, 1.0}, {r.x, r.y});
        EXPECT_EQ(p.x, r.wantX);
        EXPECT_EQ(p.y, r.wantY);
    }
}

TEST(SlabStripLinesTest, SplitAtOutlinesAndColumns) {
    // A square outline x, y in -1..8 and columns at (0, 0) and (6, 0); lines along y = const.
    const std::vector<std::vector<slabstrip::PlanPoint>> outline = {{{-1, -1}, {8, -1}, {8, 8}, {-1, 8}}};
    const std::vector<slabstrip::PlanPoint> columns = {{0, 0}, {6, 0}};
    struct Row {
        const char* label;
        slabstrip::PlanPoint P, Q;
        std::vector<double> wantX;  // x of the polyline's points, all at the line's y
    } const rows[] = {
        {"crosses the outline twice", {-3, 2}, {10, 2}, {-3, -1, 8, 10}},
        {"and passes both columns", {-3, 0}, {10, 0}, {-3, -1, 0, 6, 8, 10}},
        {"drawn the other way", {10, 0}, {-3, 0}, {10, 8, 6, 0, -1, -3}},
        {"inside: no cut", {0, 3}, {5, 3}, {0, 5}},
        {"ends on the outline", {-1, 3}, {8, 3}, {-1, 8}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const auto line = slabstrip::SplitLine(r.P, r.Q, outline, columns);
        ASSERT_EQ(line.size(), r.wantX.size());
        for (size_t i = 0; i < line.size(); ++i) {
            EXPECT_NEAR(line[i].x, r.wantX[i], 1e-9) << i;
            EXPECT_NEAR(line[i].y, r.P.y, 1e-9) << i;
        }
    }
}

TEST(SlabStripLinesTest, CrossingsCloserThanTheToleranceAreOne) {
    // A column 0.4 mm beside the outline's edge at x = -1: one cut there, not a sliver.
    const std::vector<std::vector<slabstrip::PlanPoint>> outline = {{{-1, -1}, {8, -1}, {8, 8}, {-1, 8}}};
    const auto line = slabstrip::SplitLine({-3, 0}, {5, 0}, outline, {{-0.9996, 0}});
    ASSERT_EQ(line.size(), 3u);
    EXPECT_NEAR(line[1].x, -1.0, 1e-9);
}

TEST(SlabStripLinesTest, PieceNames) {
    EXPECT_EQ(std::string(slabstrip::PieceName("S", 0, 1).GetString()), "S");
    EXPECT_EQ(std::string(slabstrip::PieceName("S", 0, 3).GetString()), "S-1");
    EXPECT_EQ(std::string(slabstrip::PieceName("S", 2, 3).GetString()), "S-3");
}

// ---- the story shear page ------------------------------------------------------------------------------

void AddStoryShear(UINT lc, UINT memb, double ratio0, double force0) {
    T_SSFR_D r;
    r.Initialize();
    r.story = 1;
    r.ratio[0] = ratio0;
    r.force[0] = force0;
    r.ratio[1] = r.ratio[2] = ratio0 / 2;
    r.force[1] = r.force[2] = force0 / 2;
    Post().Table<DBT_SSFR>().Set(lc, memb, r);
}

CPVXBarStrShrFrcRtio* ShowStoryPage(CPVXBarContainerStory* bar) {
    bar->ShowChildDlgByMode(PVXResult::kStoryShear);
    auto* page = dynamic_cast<CPVXBarStrShrFrcRtio*>(bar->GetCurrentChild());
    return page && page->GetSafeHwnd() ? page : nullptr;
}

std::vector<std::string> Items(CWnd* page, UINT id) {
    std::vector<std::string> out;
    auto* c = dynamic_cast<CComboBox*>(page->GetDlgItem(static_cast<int>(id)));
    for (int i = 0; c && i < c->GetCount(); ++i) {
        CString s;
        c->GetLBText(i, s);
        out.push_back(s.GetString());
    }
    return out;
}

int Count(const std::string& call) {
    const auto& calls = EngineCallLog::Calls();
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

TEST_F(BarFixture, StoryPageOffersTheDirectionsOfTheRecords) {
    auto* bar = MakeBar<CPVXBarContainerStory>();
    auto* page = ShowStoryPage(bar);
    ASSERT_NE(page, nullptr);
    using P = CPVXBarStrShrFrcRtio;
    const std::vector<std::string> want = {"0", "45", "90"};
    CUiDialogSession user(page);
    for (int load : {0, 1, 0}) {  // DL, LL, DL: static cases
        SCOPED_TRACE(load);
        ASSERT_TRUE(user.SelectComboIndex(P::IDC_LOAD, load));
        EXPECT_EQ(Items(page, P::IDC_ANGLE_STATIC), want);
        auto* list = dynamic_cast<CComboBox*>(page->GetDlgItem(P::IDC_ANGLE_STATIC));
        EXPECT_EQ(list->GetCurSel(), 0);
        EXPECT_NE(list->GetStyle() & WS_VISIBLE, 0u);
        EXPECT_EQ(page->GetDlgItem(P::IDC_ANGLE_SETTLE)->GetStyle() & WS_VISIBLE, 0u);
        list->SetCurSel(2);  // chosen, then reset by the next load change
    }
    // Only cases are offered: no combination.
    for (const std::string& s : Items(page, P::IDC_LOAD)) EXPECT_NE(s, "1.2DL+1.4LL");
    bar->DestroyWindow();
}

TEST_F(BarFixture, StoryPageOffersTheDirectionsForASettlementCase) {
    // A settlement case (load type 4) has its own direction list, filled as the static one, and
    // Apply keeps the index chosen in it.
    T_PSTLD_D st;
    st.Initialize();
    st.type = PLOAD_SETTLEMENT;
    std::snprintf(st.name, sizeof st.name, "ST");
    Post().Table<DBT_PSTLD>().Set(3, st);
    auto* bar = MakeBar<CPVXBarContainerStory>();
    auto* page = ShowStoryPage(bar);
    ASSERT_NE(page, nullptr);
    using P = CPVXBarStrShrFrcRtio;
    const std::vector<std::string> loads = Items(page, P::IDC_LOAD);
    const auto it = std::find(loads.begin(), loads.end(), "ST");
    ASSERT_NE(it, loads.end());
    CUiDialogSession user(page);
    ASSERT_TRUE(user.SelectComboIndex(P::IDC_LOAD, static_cast<int>(it - loads.begin())));
    EXPECT_EQ(Items(page, P::IDC_ANGLE_SETTLE), (std::vector<std::string>{"0", "45", "90"}));
    EXPECT_NE(page->GetDlgItem(P::IDC_ANGLE_SETTLE)->GetStyle() & WS_VISIBLE, 0u);
    EXPECT_EQ(page->GetDlgItem(P::IDC_ANGLE_STATIC)->GetStyle() & WS_VISIBLE, 0u);
    dynamic_cast<CComboBox*>(page->GetDlgItem(P::IDC_ANGLE_SETTLE))->SetCurSel(2);
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    ASSERT_NE(page->m_pForceEngine, nullptr);
    EXPECT_EQ(page->m_pForceEngine->m_dSSFRAngle, 90.0);
    EXPECT_EQ(page->m_pForceEngine->m_nSSFRAngleIndex, 2);
    bar->DestroyWindow();
}

TEST_F(BarFixture, StoryPageExecutesTheRecordsOfItsChoice) {
    AddStoryShear(kCaseDead, 1, 0.25, 10.0);
    AddStoryShear(kCaseDead, 3, 0.75, 30.0);
    auto* bar = MakeBar<CPVXBarContainerStory>();
    auto* page = ShowStoryPage(bar);
    ASSERT_NE(page, nullptr);
    using P = CPVXBarStrShrFrcRtio;
    CUiDialogSession user(page);
    ASSERT_TRUE(user.SelectComboIndex(P::IDC_LOAD, 0));
    struct Step {
        const char* label;
        UINT radio;
        int angle;         // list index
        double want1, want3;
        int rebuilds;      // builds of the story values by this Apply
    } const steps[] = {
        {"forces at 0", P::IDC_OUT_FORCE, 0, 10.0, 30.0, 1},
        {"the same again: no rebuild", P::IDC_OUT_FORCE, 0, 10.0, 30.0, 0},
        {"ratios", P::IDC_OUT_RATIO, 0, 0.25, 0.75, 1},
        {"ratios at 45", P::IDC_OUT_RATIO, 1, 0.125, 0.375, 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.label);
        ASSERT_TRUE(user.SetCheck(s.radio));
        dynamic_cast<CComboBox*>(page->GetDlgItem(P::IDC_ANGLE_STATIC))->SetCurSel(s.angle);
        EngineCallLog::Enable(true);
        EngineCallLog::Clear();
        Model().m_nDisplayMode = -5;
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_EQ(Count("CForceEngine::MakeSSFRData") > 0 ? 1 : 0, s.rebuilds);
        EngineCallLog::Enable(false);
        EXPECT_EQ(Model().m_nDisplayMode, PVXMode::kStoryShearRatio);
        ASSERT_NE(Model().m_pForceEngine, nullptr);
        double v = 0.0;
        ASSERT_TRUE(Model().m_pForceEngine->m_mapSSFR.Lookup(1, v));
        EXPECT_EQ(v, s.want1);
        ASSERT_TRUE(Model().m_pForceEngine->m_mapSSFR.Lookup(3, v));
        EXPECT_EQ(v, s.want3);
        EXPECT_FALSE(Model().m_pForceEngine->m_mapSSFR.Lookup(2, v));  // the beam has no record
        EXPECT_EQ(Model().m_bResultPresent, 1);
    }
    bar->DestroyWindow();
}

// ---- the slab strip page ---------------------------------------------------------------------------------

using S = CPVXBarSStrip;

class StripPageTest : public BarFixture {
protected:
    void SetUp() override {
        BarFixture::SetUp();
        S::ResetCheckMemory();
        // A raft outline x, y in -1..8 (member 10, type 301); the fixture's columns stand at (0, 0)
        // and (6, 0).
        const double xy[4][2] = {{-1, -1}, {8, -1}, {8, 8}, {-1, 8}};
        T_PMEMB_D raft;
        raft.type = 301;
        for (int i = 0; i < 4; ++i) {
            T_PNODE_D n{xy[i][0], xy[i][1], 0.0};
            Post().Table<DBT_PNODE>().Set(20 + i, n);
            raft.aNode.Add(20 + i);
        }
        Post().Table<DBT_PMEMB>().Set(10, raft);
    }
    void TearDown() override {
        S::ResetCheckMemory();
        BarFixture::TearDown();
    }
    S* Open() {
        m_pBar = MakeBar<CPVXBarContainerSlabDetail>();
        if (!m_pBar) return nullptr;
        m_pBar->ShowChildDlgByMode(PVXResult::kSlabStrip);
        auto* page = dynamic_cast<S*>(m_pBar->GetCurrentChild());
        return page && page->GetSafeHwnd() ? page : nullptr;
    }
    void Close() {
        if (m_pBar) m_pBar->DestroyWindow();
        m_pBar = nullptr;
    }
    // Picks the two points in the view and adds the strip under the name and width.
    void AddByPicks(S* page, const char* name, double x1, double y1, double x2, double y2, const char* width = "2") {
        CUiDialogSession user(page);
        user.SetControlText(S::IDC_NAME, name);
        user.SetControlText(S::IDC_WIDTH, width);
        page->GetDlgItem(S::IDC_PT1)->SetFocus();  // a click into the first point edit
        Pick(x1, y1);
        Pick(x2, y2);
        user.ClickButton(S::IDC_ADD);
    }
    static void Pick(double x, double y) {
        T_PICKED_OBJECT o;
        o.nType = PICKED_POINT;
        o.pos = C3DPoint(x, y, 0.0);
        CMouseEdit::PickInModelView(o);
    }
    // The strips of the host's table: name -> line.
    std::map<std::string, T_CTLN_D> Table() const {
        std::map<std::string, T_CTLN_D> out;
        const auto& t = Post().Table<DBT_CTLN>();
        for (size_t i = 0; i < t.Keys().size(); ++i)
            if (t.Records()[i].kind == CTLN_KIND_STRIP) out[t.Records()[i].name] = t.Records()[i];
        return out;
    }
    static std::vector<std::string> ListTexts(S* page) {
        std::vector<std::string> out;
        auto* l = dynamic_cast<CListBox*>(page->GetDlgItem(S::IDC_LIST));
        for (int i = 0; l && i < l->GetCount(); ++i) {
            CString s;
            l->GetText(i, s);
            out.push_back(s.GetString());
        }
        return out;
    }
    static CCheckListBox* List(S* page) { return dynamic_cast<CCheckListBox*>(page->GetDlgItem(S::IDC_LIST)); }
    size_t Messages() const { return CUiDriver::Get().MessageBoxes().size(); }
    std::string LastMessage() const {
        const auto& b = CUiDriver::Get().MessageBoxes();
        return b.empty() ? "" : b.back().text.GetString();
    }
    static std::string Text(const char* key) { return CMsgDll::pfuncLoadStr(key, 0).GetString(); }

    CPVXBarContainerSlabDetail* m_pBar = nullptr;
};

TEST_F(StripPageTest, AStripCrossingTheRaftOutlineBecomesThreeStrips) {
    S* page = Open();
    ASSERT_NE(page, nullptr);
    // The second pick is snapped to y = 2: it moved more along x than along y.
    AddByPicks(page, "S", -3, 2, 10, 2.4);
    const auto t = Table();
    ASSERT_EQ(t.size(), 3u);
    struct Want {
        const char* name;
        double x1, x2;
    } const want[] = {{"S-1", -3, -1}, {"S-2", -1, 8}, {"S-3", 8, 10}};
    for (const Want& w : want) {
        SCOPED_TRACE(w.name);
        auto it = t.find(w.name);
        ASSERT_NE(it, t.end());
        EXPECT_NEAR(it->second.x1, w.x1, 1e-9);
        EXPECT_NEAR(it->second.x2, w.x2, 1e-9);
        EXPECT_EQ(it->second.y1, 2.0);
        EXPECT_EQ(it->second.y2, 2.0);
        EXPECT_EQ(it->second.width, 2.0);
    }
    EXPECT_EQ(ListTexts(page), (std::vector<std::string>{"S-1", "S-2", "S-3"}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(List(page)->GetCheck(i), 1);
    EXPECT_EQ(page->GetNameCounter(), 2);
    CString name;
    page->GetDlgItem(S::IDC_NAME)->GetWindowText(name);
    EXPECT_EQ(std::string(name.GetString()), Text("IDS_TBX_PVX_SLAB_DETAIL_STRIP_NAMEHEADER") + "2");
    Close();
}

TEST_F(StripPageTest, NamesAndPointsThatCannotMakeAStripAreRefused) {
    const std::string kLongName(100000, 'n'), kName64(64, 'n');
    S* page = Open();
    ASSERT_NE(page, nullptr);
    AddByPicks(page, "Edge", 0, 3, 5, 3);  // inside the raft: one strip of the plain name
    ASSERT_EQ(Table().size(), 1u);
    struct Row {
        const char* label;
        const char* name;
        double x1, y1, x2, y2;
        const char* width;
        const char* message;
    } const rows[] = {
        {"used name, another letter case", "EDGE", 0, 4, 5, 4, "2", "IDS_TBX_PVX_SLAB_DETAIL_STRIP_SAMENAME"},
        {"empty name", "  ", 0, 4, 5, 4, "2", "IDS_TBX_PVX_SLAB_DETAIL_STRIP_NONAME"},
        // Before, a name too long for the table was answered with the empty-name prompt.
        {"a 100,000-byte name", kLongName.c_str(), 0, 4, 5, 4, "2", "IDS_TBX_PVX_SLAB_DETAIL_STRIP_LONGNAME"},
        {"a 64-byte name", kName64.c_str(), 0, 4, 5, 4, "2", "IDS_TBX_PVX_SLAB_DETAIL_STRIP_LONGNAME"},
        {"one point twice", "P", 2, 4, 2, 4, "2", "IDS_TBX_PVX_SLAB_DETAIL_STRIP_BADPOINT"},
        {"negative width", "W", 0, 4, 5, 4, "-1", "IDS_TBX_PVX_SLAB_DETAIL_STRIP_BADWIDTH"},
        // The piece beyond the outline lies outside the coordinates a project holds: the host
        // refuses it, and the piece inside, stored first, is taken back.
        {"a piece the host refuses", "Far", 0, 4, 2e9, 4, "2", "IDS_TBX_PVX_SLAB_DETAIL_STRIP_NOT_SAVED"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const size_t before = Messages();
        AddByPicks(page, r.name, r.x1, r.y1, r.x2, r.y2, r.width);
        ASSERT_EQ(Messages(), before + 1);
        EXPECT_EQ(LastMessage(), Text(r.message));
        EXPECT_EQ(Table().size(), 1u);
        EXPECT_EQ(ListTexts(page).size(), 1u);
    }
    Close();
}

TEST_F(StripPageTest, EditKeepsPlaceAndCheckAndRefusesAUsedName) {
    S* page = Open();
    ASSERT_NE(page, nullptr);
    AddByPicks(page, "A", 0, 1, 5, 1);
    AddByPicks(page, "B", 0, 2, 5, 2);
    AddByPicks(page, "C", 0, 3, 5, 3);
    CUiDialogSession user(page);
    List(page)->SetCheck(1, 0);
    for (int i = 0; i < 3; ++i) List(page)->SetSel(i, i == 1);
    // Another strip's name (any letter case) is refused.
    user.SetControlText(S::IDC_PT1, "1, 6");
    user.SetControlText(S::IDC_PT2, "4, 6");
    user.SetControlText(S::IDC_NAME, "c");
    const size_t before = Messages();
    user.ClickButton(S::IDC_EDIT);
    ASSERT_EQ(Messages(), before + 1);
    EXPECT_EQ(LastMessage(), Text("IDS_TBX_PVX_SLAB_DETAIL_STRIP_SAMENAME"));
    // A new name and points: the line of B's key changes, the entry keeps its place and check.
    const UINT keyB = page->GetStripKey(1);
    user.SetControlText(S::IDC_NAME, "B2");
    user.ClickButton(S::IDC_EDIT);
    EXPECT_EQ(ListTexts(page), (std::vector<std::string>{"A", "B2", "C"}));
    EXPECT_EQ(List(page)->GetCheck(1), 0);
    const T_CTLN_D* line = Post().Table<DBT_CTLN>().Find(keyB);
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line->name, "B2");
    EXPECT_EQ(line->x1, 1.0);
    EXPECT_EQ(line->y2, 6.0);
    // Several selected: one must be chosen.
    for (int i = 0; i < 3; ++i) List(page)->SetSel(i, TRUE);
    user.ClickButton(S::IDC_EDIT);
    EXPECT_EQ(LastMessage(), Text("IDS_CMD_SELECT_ONE_ITEM"));
    Close();
}

TEST_F(StripPageTest, DeleteRenumbersAndGivesTheLastNumberBack) {
    S* page = Open();
    ASSERT_NE(page, nullptr);
    AddByPicks(page, "A", 0, 1, 5, 1);
    AddByPicks(page, "B", 0, 2, 5, 2);
    AddByPicks(page, "C", 0, 3, 5, 3);
    EXPECT_EQ(page->GetNameCounter(), 4);
    CUiDialogSession user(page);
    // Nothing selected.
    for (int i = 0; i < 3; ++i) List(page)->SetSel(i, FALSE);
    user.ClickButton(S::IDC_DELETE);
    EXPECT_EQ(LastMessage(), Text("IDS_CMD_NO_SELECTED_ITEM"));
    // The first and the last: the counter goes back one, the remaining entry is item 0.
    List(page)->SetSel(0, TRUE);
    List(page)->SetSel(2, TRUE);
    user.ClickButton(S::IDC_DELETE);
    EXPECT_EQ(ListTexts(page), (std::vector<std::string>{"B"}));
    EXPECT_EQ(List(page)->GetItemData(0), 0u);
    EXPECT_EQ(page->GetNameCounter(), 3);
    const auto t = Table();
    EXPECT_EQ(t.size(), 1u);
    EXPECT_EQ(t.count("B"), 1u);
    Close();
}

// The number positions the page opens with follow "all" and "max" as their own switches do: all
// sets the I-end, centre and J-end, max clears them; without either the engine's stand.
TEST_F(StripPageTest, NumberPositionsFollowAllAndMaxWhenThePageOpens) {
    struct Row {
        const char* label;
        int all, max, i, centre, j;  // the engine's switches
        int wantI, wantCentre, wantJ;
    } const rows[] = {
        {"all, positions clear (a fresh engine)", 1, 0, 0, 0, 0, 1, 1, 1},
        {"max, positions set", 0, 1, 1, 1, 1, 0, 0, 0},
        {"neither: the engine's positions", 0, 0, 1, 0, 1, 1, 0, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        // The page edits a copy of the model's engine.
        if (!Model().m_pForceEngine) Model().m_pForceEngine = new CForceEngine(&Model());
        CForceEngine* e = Model().m_pForceEngine;
        e->m_bNumAtAll = r.all;
        e->m_bNumAtMax = r.max;
        e->m_bNumIEnd = r.i;
        e->m_bNumMiddle = r.centre;
        e->m_bNumJEnd = r.j;
        S* page = Open();
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->IsDlgButtonChecked(S::IDC_OUT_I), static_cast<UINT>(r.wantI));
        EXPECT_EQ(page->IsDlgButtonChecked(S::IDC_OUT_CENTRE), static_cast<UINT>(r.wantCentre));
        EXPECT_EQ(page->IsDlgButtonChecked(S::IDC_OUT_J), static_cast<UINT>(r.wantJ));
        Close();
    }
}

TEST_F(StripPageTest, ChecksOutliveThePageByStrip) {
    {
        S* page = Open();
        ASSERT_NE(page, nullptr);
        AddByPicks(page, "A", 0, 1, 5, 1);
        AddByPicks(page, "B", 0, 2, 5, 2);
        AddByPicks(page, "C", 0, 3, 5, 3);
        ui::ListBoxUserCheck(List(page)->GetSafeHwnd(), 2);  // C unchecked
        for (int i = 0; i < 3; ++i) List(page)->SetSel(i, i == 0);
        CUiDialogSession(page).ClickButton(S::IDC_DELETE);  // A deleted: C is now entry 1
        CUiDialogSession(page).ClickButton(CPVXBarDlgBase::IDC_PAGE_CLOSE);
        Close();
    }
    S* page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ListTexts(page), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(List(page)->GetCheck(0), 1);
    EXPECT_EQ(List(page)->GetCheck(1), 0);
    // A new strip starts checked.
    AddByPicks(page, "D", 0, 4, 5, 4);
    EXPECT_EQ(List(page)->GetCheck(2), 1);
    Close();
}

TEST_F(StripPageTest, PicksOnlyWhileTheStripResultIsShownAndEscapeClears) {
    // The host's current model takes the rubber band.
    I_ModelBase host;
    I_ModelBase::SetCurMySelfST(&host);
    S* page = Open();
    ASSERT_NE(page, nullptr);
    CString t1, t2;
    CPVXBarContainerBase::m_nCurrentTMMode = PVXResult::kSlabWall;
    Pick(3, 3);
    page->GetDlgItem(S::IDC_PT2)->GetWindowText(t2);
    EXPECT_EQ(std::string(t2.GetString()), "0, 0");  // the second edit did not start picking
    CPVXBarContainerBase::m_nCurrentTMMode = PVXResult::kSlabStrip;
    page->GetDlgItem(S::IDC_PT1)->SetFocus();
    Pick(3, 3);
    page->GetDlgItem(S::IDC_PT1)->GetWindowText(t1);
    EXPECT_EQ(std::string(t1.GetString()), "3, 3");
    EXPECT_EQ(CMouseEdit::GetCurPickingEditST(), page->GetDlgItem(S::IDC_PT2));
    // The rubber band from the first point follows the cursor.
    CHostRequestLog::Clear();
    CMouseEdit::MoveInModelView(C3DPoint(7, 4, 0));
    const auto requests = CHostRequestLog::GetOfKind(HR_MODEL_REQUEST);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].text, "temp-polyline");
    EXPECT_EQ(requests[0].nId, 2);
    // Escape empties both edits; the first picks again.
    CMouseEdit::EscapeInModelView();
    page->GetDlgItem(S::IDC_PT1)->GetWindowText(t1);
    page->GetDlgItem(S::IDC_PT2)->GetWindowText(t2);
    EXPECT_TRUE(t1.IsEmpty());
    EXPECT_TRUE(t2.IsEmpty());
    EXPECT_EQ(CMouseEdit::GetCurPickingEditST(), page->GetDlgItem(S::IDC_PT1));
    Close();
    I_ModelBase::SetCurMySelfST(nullptr);
}

TEST_F(StripPageTest, ApplyHandsTheCheckedStripsOverAndExecutesMode21) {
    S* page = Open();
    ASSERT_NE(page, nullptr);
    AddByPicks(page, "A", 0, 1, 5, 1, "1.5");
    AddByPicks(page, "B", 0, 2, 5, 2);
    AddByPicks(page, "C", 0, 3, 5, 3);
    ui::ListBoxUserCheck(List(page)->GetSafeHwnd(), 1);  // B unchecked
    CUiDialogSession user(page);
    ASSERT_TRUE(user.SetCheck(S::IDC_COMP_SHEAR));
    Model().m_nDisplayMode = -5;
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(Model().m_nDisplayMode, PVXMode::kSlabStrip);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentMode, PVXMode::kSlabStrip);
    ASSERT_NE(Model().m_pForceEngine, nullptr);
    const auto& strips = Model().m_pForceEngine->m_arrStripInfo;
    ASSERT_EQ(strips.GetSize(), 2);
    EXPECT_EQ(std::string(strips[0].strName.GetString()), "A");
    EXPECT_EQ(strips[0].dWidth, 1.5);
    EXPECT_EQ(strips[0].x1, 0.0);
    EXPECT_EQ(strips[0].y1, 1.0);
    EXPECT_EQ(strips[0].x2, 5.0);
    EXPECT_EQ(std::string(strips[1].strName.GetString()), "C");
    EXPECT_EQ(Model().m_pForceEngine->m_nCLForcComp, 1);
    Close();
}

}  // namespace
}  // namespace bartest
