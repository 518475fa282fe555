// The figure panel and the owner-type selector over a controller with recording figures: the
// DISPLAY page's round trip, button 42092, the VIEW base-map list, the LOADCASE double-click,
// the refused tab change, the panel's placement, the page constructors' selection mode and the
// owner combo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/vdraw/CVdView.h"
#include "module/figures/CFigureDetailPages.h"
#include "module/figures/CPVXFigure.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/CWinApp.h"

namespace {

class RecFigure : public CFVDBase {
public:
    void DrawFigure() override {}
    void CreateLayers() override {}
    void CollectLoadCases(std::map<UINT, CString>& out) override {
        out[0] = "unfavourable";
        out[3] = "C3";
        out[4] = "C4";
    }
};

// The document records the hints and still tells its listeners (the panel).
class RecDoc : public CDBDoc {
public:
    std::vector<long> hints;
    void UpdateAllViews(CView* sender, LPARAM hint, CObject* obj) override {
        hints.push_back(static_cast<long>(hint));
        CDBDoc::UpdateAllViews(sender, hint, obj);
    }
};

class ContourView : public CVdView {
public:
    int can = 0;
    int _CanFigureContour() override { return can; }
};

class TestCatalogue : public CPVXFigure {
public:
    RecFigure* Add(EFigureType t) {
        if (m_Figures.count(t)) return static_cast<RecFigure*>(m_Figures[t]);
        auto* f = new RecFigure;
        f->SetType(t);
        m_Figures[t] = f;
        return f;
    }
    void Record(EFigureType t, const char* caption) {
        m_Records[t].eType = t;
        m_Records[t].strCaption = caption;
    }
    void AddSource(EFigureType t) { m_BaseMapSources[t] = t; }
    void Drawn(EFigureType t) { m_Drawn[t] = t; }
    void SetView(CVdView* v) { m_pFigureView = v; }
};

// A panel with the TEXT page as a fourth tab, which no panel of the module shows.
class FourTabPanel : public CFigureDetailTab {
public:
    using CFigureDetailTab::CFigureDetailTab;
    CFigureDetailText text;
    BOOL OnInitDialog() override {
        CFigureDetailTab::OnInitDialog();
        GetTabCtrl().AddTab(&text, "TEXT", IDD_FIGURE_DETAIL_TEXT, 1);
        return 1;
    }
    void PostNcDestroy() override {}  // a member of the test, not self-owned
};

class FigurePanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        PVXRegisterResources();
        CUiDriver::Get().Reset();
        m_saved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 50, 1700, 950)));
        AfxGetApp()->m_pMainWnd = m_pFrame;
        m_fig = m_ctrl.Add(static_cast<EFigureType>(95));
        m_ctrl.Add(static_cast<EFigureType>(41));
        m_ctrl.SetCurentSelItem(static_cast<EFigureType>(95), 0);
    }
    void TearDown() override {
        if (m_pPanel && m_pPanel->GetSafeHwnd()) m_pPanel->DestroyWindow();  // deletes itself
        AfxGetApp()->m_pMainWnd = nullptr;
        m_pFrame->DestroyWindow();
        CUiDriver::Get().PumpMessages();
        CDBDoc::m_pDBDoc = m_saved;
        CUiDriver::Get().Reset();
    }
    CFigureDetailTab* OpenPanel(int tab = 0) {
        m_pPanel = new CFigureDetailTab(tab, m_pFrame);
        EXPECT_TRUE(m_pPanel->Create(CFigureDetailTab::IDD, m_pFrame));
        return m_pPanel;
    }
    sFVDDisplaySettings* Settings() { return m_fig->GetDisplaySettings(); }

    RecDoc m_doc;
    CDBDoc* m_saved = nullptr;
    CFrameWnd* m_pFrame = nullptr;
    TestCatalogue m_ctrl;
    RecFigure* m_fig = nullptr;
    CFigureDetailTab* m_pPanel = nullptr;
};

}  // namespace

// The DISPLAY page reads the figure's settings, the user types and ticks, Apply writes back: the
// box is disabled for ratio flag -1 (which Apply keeps), checked for 0, and a clear box writes 1.
TEST_F(FigurePanelTest, DisplayRoundTrip) {
    struct Row {
        const char* name;
        int flag;
        bool enabled, checked;  // the box as the page shows the figure
        int tick;               // what the user does to the box: -1 nothing, else the new state
        int flagAfter;
    } rows[] = {
        {"no choice", -1, false, false, -1, -1},
        {"values", 0, true, true, -1, 0},
        {"values, box cleared", 0, true, true, 0, 1},
        {"ratios", 1, true, false, -1, 1},
        {"ratios, box ticked", 1, true, false, 1, 0},
    };
    OpenPanel(1);
    CFigureDetailDisplay* page = m_pPanel->GetDisplayPage();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        *Settings() = sFVDDisplaySettings{1.0, 1.0, r.flag, 2.0};
        page->Data2Dlg();
        EXPECT_EQ(page->GetDlgItem(IDC_FIGURE_VALUES)->IsWindowEnabled() != FALSE, r.enabled);
        EXPECT_EQ(page->IsDlgButtonChecked(IDC_FIGURE_VALUES) == BST_CHECKED, r.checked);
        CString precision;
        page->GetDlgItemText(IDC_FIGURE_PRECISION, precision);
        EXPECT_STREQ(precision.GetString(), "2");  // decimals: a whole number
        CUiDialogSession user(page);
        user.SetControlText(IDC_FIGURE_DRAW_SCALE, "2");
        user.SetControlText(IDC_FIGURE_VALUE_SCALE, "0.5");
        user.SetControlText(IDC_FIGURE_PRECISION, "1");
        if (r.tick >= 0) user.SetCheck(IDC_FIGURE_VALUES, r.tick ? BST_CHECKED : BST_UNCHECKED);
        user.ClickButton(IDC_FIGURE_APPLY);
        EXPECT_DOUBLE_EQ(Settings()->m_dDrawScale, 2.0);
        EXPECT_DOUBLE_EQ(Settings()->m_dScale2, 0.5);
        EXPECT_DOUBLE_EQ(Settings()->m_dPrecision, 1.0);
        EXPECT_EQ(Settings()->m_nRatio, r.flagAfter);
    }
}

// An edit whose text is no number (or out of range) leaves its setting as it was; blanks around
// a number are fine.
TEST_F(FigurePanelTest, DisplayKeepsASettingForTextThatIsNoNumber) {
    struct Row {
        const char* typed;
        double scale;
    } rows[] = {{"abc", 1.5}, {"1e400", 1.5}, {"", 1.5},     {"2x", 1.5},
                {" 2.5 ", 2.5}, {"-3", 1.5},   {"0", 1.5},    {"1000.5", 1.5}};  // scales: 0.001 to 1000
    OpenPanel(1);
    CFigureDetailDisplay* page = m_pPanel->GetDisplayPage();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        *Settings() = sFVDDisplaySettings{1.5, 1.0, -1, 0.0};
        page->Data2Dlg();
        CUiDialogSession user(page);
        user.SetControlText(IDC_FIGURE_DRAW_SCALE, r.typed);
        user.ClickButton(IDC_FIGURE_APPLY);
        EXPECT_DOUBLE_EQ(Settings()->m_dDrawScale, r.scale);
    }
}

// Button 42092 follows the figure view's answer; without a figure view it stays as it was.
TEST_F(FigurePanelTest, ContourButtonFollowsTheFigureView) {
    ContourView view;
    struct Row {
        const char* name;
        bool hasView;
        int can;
        bool before, enabled;
    } rows[] = {
        {"view cannot", true, 0, true, false},
        {"view can", true, 1, false, true},
        {"no view, enabled", false, 0, true, true},
        {"no view, disabled", false, 1, false, false},
    };
    OpenPanel(1);
    CFigureDetailDisplay* page = m_pPanel->GetDisplayPage();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        view.can = r.can;
        m_ctrl.SetView(r.hasView ? &view : nullptr);
        page->GetDlgItem(IDC_FIGURE_CONTOUR)->EnableWindow(r.before);
        page->ShowControl(1);
        EXPECT_EQ(page->GetDlgItem(IDC_FIGURE_CONTOUR)->IsWindowEnabled() != FALSE, r.enabled);
    }
    m_ctrl.SetView(nullptr);
}

// The VIEW list: the base maps of the catalogue but the figure's own type and those without a
// caption, ticked when drawn in the last pass; nothing for a figure below 91. A tick switches
// the base map on at once (into the figure's list and the drawn map).
TEST_F(FigurePanelTest, ViewListAndTicks) {
    m_ctrl.Add(static_cast<EFigureType>(31));
    for (int t : {31, 41, 42, 95}) m_ctrl.AddSource(static_cast<EFigureType>(t));
    m_ctrl.Record(static_cast<EFigureType>(31), "Axes");
    m_ctrl.Record(static_cast<EFigureType>(41), "Footings");
    m_ctrl.Record(static_cast<EFigureType>(42), "");
    m_ctrl.Record(static_cast<EFigureType>(95), "Own");
    m_ctrl.Drawn(static_cast<EFigureType>(31));
    struct Row {
        const char* name;
        int current;
        std::vector<std::string> texts;
        std::vector<int> ticks;
    } rows[] = {
        {"raft design figure", 95, {"Axes", "Footings"}, {1, 0}},
        {"base map", 41, {}, {}},
        {"below 91", 90, {}, {}},
    };
    OpenPanel(0);
    CFigureDetailView* page = m_pPanel->GetViewPage();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        m_ctrl.Add(static_cast<EFigureType>(r.current));
        m_ctrl.SetCurentSelItem(static_cast<EFigureType>(r.current), 0);
        page->Data2Dlg();
        ASSERT_EQ(page->m_ListBaseMap.GetCount(), static_cast<int>(r.texts.size()));
        for (int i = 0; i < page->m_ListBaseMap.GetCount(); ++i) {
            CString t;
            page->m_ListBaseMap.GetText(i, t);
            EXPECT_EQ(std::string(t.GetString()), r.texts[static_cast<size_t>(i)]);
            EXPECT_EQ(page->m_ListBaseMap.GetCheck(i), r.ticks[static_cast<size_t>(i)]);
        }
    }
    // Ticking "Footings" on figure 95 switches base map 41 on and redraws with it; every row's
    // tick is written, so "Axes" (ticked) stays on.
    m_ctrl.SetCurentSelItem(static_cast<EFigureType>(95), 0);
    page->Data2Dlg();
    ui::ListBoxUserCheck(page->m_ListBaseMap.GetSafeHwnd(), 1);
    const std::list<EFigureType>& maps = m_ctrl.GetCurFVDBase()->GetBaseMapListRef();
    EXPECT_NE(std::find(maps.begin(), maps.end(), static_cast<EFigureType>(41)), maps.end());
    NMFVD nm;
    m_ctrl.GetCurentSelItem(&nm);
    EXPECT_EQ(nm.pDrawn->count(static_cast<EFigureType>(41)), 1u);
    EXPECT_EQ(nm.pDrawn->count(static_cast<EFigureType>(31)), 1u);
    ui::ListBoxUserCheck(page->m_ListBaseMap.GetSafeHwnd(), 0);  // unticked: off at once
    m_ctrl.GetCurentSelItem(&nm);
    EXPECT_EQ(nm.pDrawn->count(static_cast<EFigureType>(31)), 0u);
}

// A double-click in the LOADCASE list marks the figure modified, sets its load case without
// zooming and sends hint 116; the list starts at the current load case.
TEST_F(FigurePanelTest, LoadCaseDoubleClick) {
    OpenPanel(2);
    m_doc.UpdateAllViews(nullptr, 114, nullptr);  // the controller's refill
    CFigureDetailLoadCase* page = m_pPanel->GetLoadCasePage();
    ASSERT_EQ(page->m_ListLoadCase.GetCount(), 3);
    EXPECT_EQ(page->m_ListLoadCase.GetCurSel(), 0);
    struct Row {
        int row;
        UINT key;
    } rows[] = {{2, 4}, {1, 3}, {0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.row);
        m_fig->SetModify(0);
        m_doc.hints.clear();
        ui::ListBoxUserDoubleClick(page->m_ListLoadCase.GetSafeHwnd(), r.row);
        EXPECT_EQ(m_fig->GetCurLoadCase(), r.key);
        EXPECT_TRUE(m_fig->IsModified());
        EXPECT_EQ(m_doc.hints, std::vector<long>{116});
    }
    // A double-click beside the rows (nothing selected) chooses nothing.
    m_doc.hints.clear();
    page->m_ListLoadCase.SetCurSel(-1);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FIGURE_LOADCASE_LIST, LBN_DBLCLK),
                      reinterpret_cast<LPARAM>(page->m_ListLoadCase.GetSafeHwnd()));
    EXPECT_EQ(m_fig->GetCurLoadCase(), 0u);
    EXPECT_TRUE(m_doc.hints.empty());
}

// Leaving a tab writes its page back; a tab with no page to write back (the TEXT tab the module
// never shows) refuses the change.
TEST_F(FigurePanelTest, RefusedTabChange) {
    auto* panel = new FourTabPanel(0, m_pFrame);
    ASSERT_TRUE(panel->Create(CFigureDetailTab::IDD, m_pFrame));
    struct Row {
        int from, to, after;
    } rows[] = {{0, 2, 2}, {2, 1, 1}, {1, 0, 0}, {3, 0, 3}, {3, 2, 3}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.from) + " to " + std::to_string(r.to));
        panel->GetTabCtrl().SetCurSel(r.from);
        CUiDialogSession(panel).SelectTab(IDC_FIGURE_DETAIL_TAB, r.to);
        EXPECT_EQ(panel->GetTabCtrl().GetCurSel(), r.after);
    }
    panel->DestroyWindow();
    delete panel;
}

// The panel sits at the bottom right of the main window: right edge 25 and bottom edge 44 pixels
// inside the main window's, its size kept; Enter and Esc do not close it; hint 7 does.
TEST_F(FigurePanelTest, PlacementKeysAndClose) {
    OpenPanel();
    CRect main, panel;
    m_pFrame->GetWindowRect(&main);
    m_pPanel->GetWindowRect(&panel);
    EXPECT_EQ(panel.right, 1700 - 25);
    EXPECT_EQ(panel.bottom, 950 - 44);
    EXPECT_GT(panel.Width(), 0);
    for (WPARAM key : {static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>(VK_ESCAPE)}) {
        m_pPanel->GetDisplayPage()->GetDlgItem(IDC_FIGURE_DRAW_SCALE)->PostMessage(WM_KEYDOWN, key, 0);
        CUiDriver::Get().PumpMessages();
        ASSERT_NE(m_pPanel->GetSafeHwnd(), nullptr) << key;
    }
    m_doc.UpdateAllViews(nullptr, 7, nullptr);
    CUiDriver::Get().PumpMessages();
    m_pPanel = nullptr;  // gone with its window
}

// Every page that the panel makes resets the selection mode; the DISPLAY page leaves it.
TEST_F(FigurePanelTest, PagesResetTheSelectionMode) {
    struct Row {
        const char* name;
        int (*make)();
        int after;
    } rows[] = {
        {"view", [] { CFigureDetailView p; return CPVXFigure::nSelectMode; }, 0},
        {"load case", [] { CFigureDetailLoadCase p; return CPVXFigure::nSelectMode; }, 0},
        {"text", [] { CFigureDetailText p; return CPVXFigure::nSelectMode; }, 0},
        {"display", [] { CFigureDetailDisplay p; return CPVXFigure::nSelectMode; }, 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CPVXFigure::nSelectMode = 5;
        EXPECT_EQ(r.make(), r.after);
    }
    CPVXFigure::nSelectMode = 0;
}

// The owner combo: 13 rows in number order with their masks, ALL chosen first; a choice sets the
// controller's mask and calls the host's class-12 function; no selection (CB_ERR) changes
// nothing and calls nothing.
TEST_F(FigurePanelTest, OwnerTypeCombo) {
    int calls = 0;
    CFunctionRegestor* reg = CFunctionRegestor::Create();
    reg->Register(12, sFunctionInfor{7, 9}, [&calls](UINT second, UINT first, int flag) {
        EXPECT_EQ(second, 9u);
        EXPECT_EQ(first, 7u);
        EXPECT_EQ(flag, 1);
        ++calls;
    });
    CFigureWndOwnerType owner(m_pFrame);
    ASSERT_TRUE(owner.Create(CFigureWndOwnerType::IDD, m_pFrame));
    const UINT masks[13] = {4095, 1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048};
    ASSERT_EQ(owner.m_Combo.GetCount(), 13);
    EXPECT_EQ(owner.m_Combo.GetCurSel(), 0);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(owner.m_Combo.GetItemData(i), masks[i]) << i;
    struct Row {
        const char* name;
        int row;  // -1: no selection
        UINT mask;
        int calls;
    } rows[] = {{"SLAB", 11, 1024, 1}, {"none", -1, 1024, 1}, {"ISO_CAP", 1, 1, 2}, {"ALL", 0, 4095, 3}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        if (r.row >= 0) {
            CUiDialogSession(&owner).SelectComboIndex(IDC_FIGURE_OWNER_COMBO, r.row);
        } else {
            owner.m_Combo.SetCurSel(-1);
            owner.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FIGURE_OWNER_COMBO, CBN_SELCHANGE),
                              reinterpret_cast<LPARAM>(owner.m_Combo.GetSafeHwnd()));
        }
        EXPECT_EQ(m_ctrl.GetOwnerMask(), r.mask);
        EXPECT_EQ(calls, r.calls);
    }
    EXPECT_EQ(CFigureWndOwnerType::FindOwnerType("iso_cap"), 1);
    EXPECT_EQ(CFigureWndOwnerType::FindOwnerType("ISO"), -1);
    owner.DestroyWindow();
    CFunctionRegestor::Destroy();
}
