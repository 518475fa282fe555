// The popup legend window over a live result view: layout, typed end values, reset, the global
// range imposed when it closes, self-closing on deactivation and its drawing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/contour/CLegendEngine.h"
#include "module/contour/CPVXLegendWnd.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "platform/gdi/CRecordDC.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/afxwin.h"

namespace {

constexpr int kRow = 12;  // legend row height given to the legend engine

// Opens the protected state of the window to the tests.
class ProbeLegendWnd : public CPVXLegendWnd {
public:
    using CPVXLegendWnd::CPVXLegendWnd;
    using CPVXLegendWnd::DrawLegendImage;
    using CPVXLegendWnd::GetMaxValue;
    using CPVXLegendWnd::GetMinValue;
    using CPVXLegendWnd::m_arrLevel;
    using CPVXLegendWnd::m_bChanged;
    using CPVXLegendWnd::m_bCustomized;
    using CPVXLegendWnd::m_edit;
    using CPVXLegendWnd::m_nEditTarget;
    using CPVXLegendWnd::m_rcClient;
};

std::vector<double> Levels(const ProbeLegendWnd& w) {
    return std::vector<double>(w.m_arrLevel.GetData(), w.m_arrLevel.GetData() + w.m_arrLevel.GetSize());
}
std::vector<double> Steps(double lo, double hi, int n) {
    std::vector<double> v;
    for (int i = 0; i < n - 1; i++) v.push_back(lo + i * (hi - lo) / (n - 1));
    v.push_back(hi);
    return v;
}
void ExpectLevels(const std::vector<double>& got, const std::vector<double>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); i++) EXPECT_NEAR(got[i], want[i], 1e-12) << "level " << i;
}

// An 11-level scale on 0..10.
void MakeScale(CContourEngine& e) {
    e.m_nNumColor = 11;
    e.MakeRankMap(0.0, 10.0);
}

struct LegendWndFixture : testing::Test {
    CDBDoc doc;
    CWnd frame;
    CPVXView* view = nullptr;
    CContourEngine scale;
    ProbeLegendWnd* wnd = nullptr;
    const CRect rcLegend{300, 20, 380, 200};  // legend rectangle, screen coordinates

    void SetUp() override {
        CUiDriver::Get().Reset();
        CUiDriver::Get().UseVirtualClock(TRUE);
        ResetBars();
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 0, 0, 3);
        b.AddElem(1, PELEM_KIND_FRAME, 101, {1, 2});
        b.AddMemb(1, 101, {1, 2}, {1});
        b.Install(doc);
        CDBDoc::m_pDBDoc = &doc;
        ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr));
        view = MakeView();
        ASSERT_NE(view, nullptr);
        MakeScale(scale);
        ASSERT_EQ(scale.m_nNumColor, 11);
        for (int i = 0; i < 11; i++) ASSERT_NEAR(scale.m_dRankMap[i], i, 1e-12);
        CLegendEngine& legend = Legend();
        legend.m_pContourEngine = &scale;
        legend.m_nValueLineHeight = kRow;
        Model()->m_nDisplayMode = 2;
    }
    void TearDown() override {
        if (wnd && ::IsWindow(hWnd)) wnd->DestroyWindow();
        if (view && view->GetSafeHwnd()) view->DestroyWindow();
        if (frame.GetSafeHwnd()) frame.DestroyWindow();
        ResetBars();
        CDBDoc::m_pDBDoc = nullptr;
        CUiDriver::Get().Reset();
    }
    static void ResetBars() {
        CPVXBarContainerBase::DestroyCurrentEngine();
        CPVXBarContainerBase::DestroyDeformEngine();
        CPVXBarContainerBase::m_nCurrentMode = -1;
    }
    CPVXView* MakeView() {
        auto* v = new CPVXView;  // deletes itself with its window
        if (!v->Create(nullptr, "result", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &frame, AFX_IDW_PANE_FIRST))
            return nullptr;
        v->GetI_PVXCtrl()->SetPVXViewMode(1);
        return v;
    }
    I_PVXModel* Model() { return view->GetPVXModel(); }
    CLegendEngine& Legend() { return Model()->m_LegendEngine; }

    HWND hWnd = nullptr;
    // Opens the window the way the view does.
    void Open() {
        wnd = new ProbeLegendWnd(1, view);
        CRect rc = rcLegend;
        ASSERT_TRUE(wnd->Create(view, rc, 0));
        hWnd = wnd->GetSafeHwnd();
        Legend().m_pLegendWnd = wnd;
        // Value labels as the popup scale leaves them: top level, bottom level.
        Legend().m_arrValRect[0].m_rect.SetRect(40, 10, 80, 22);
        Legend().m_arrValRect[1].m_rect.SetRect(40, 150, 80, 162);
    }
    void Click(CPoint pt) { CUiDriver::Get().SendMouse(wnd, WM_LBUTTONDOWN, pt); }
    void ClickMax() { Click(CPoint(50, 15)); }
    void ClickMin() { Click(CPoint(50, 155)); }
    void ClickOutsideLabels() { Click(CPoint(5, 100)); }
    void Type(const char* text) { ASSERT_TRUE(ui::EditUserText(wnd->m_edit.GetSafeHwnd(), text)); }
    // Enter in the edit, through the message queue as a key press arrives.
    void PressEnter() {
        ::PostMessage(wnd->m_edit.GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0);
        CUiDriver::Get().PumpMessages();
    }
    BOOL IsOpen() const { return ::IsWindow(hWnd); }
    void Close() {
        wnd->DestroyWindow();
        wnd = nullptr;
    }
};

TEST_F(LegendWndFixture, CreateCopiesTheLevelsAndLaysOutWindowEditAndButton) {
    Open();
    ExpectLevels(Levels(*wnd), Steps(0, 10, 11));
    EXPECT_EQ(wnd->GetMode(), 1);
    EXPECT_EQ(wnd->m_bCustomized, 0) << "the engine has no global range";
    EXPECT_EQ(wnd->m_bChanged, 0);
    EXPECT_EQ(wnd->m_nEditTarget, -1);

    CRect rc;
    wnd->GetWindowRect(&rc);
    EXPECT_EQ(rc, CRect(300, 20, 380, 200 + 4 * kRow)) << "four rows added below the legend rectangle";
    EXPECT_EQ(wnd->m_rcClient, CRect(0, 0, 80, 180));
    CString caption;
    wnd->GetWindowText(caption);
    EXPECT_STREQ(caption, "Legend Window");
    EXPECT_EQ(wnd->GetStyle() & (WS_POPUP | WS_VISIBLE | WS_THICKFRAME), DWORD(WS_POPUP | WS_VISIBLE | WS_THICKFRAME));
    EXPECT_EQ(CWnd::GetActiveWindow(), wnd);

    CWnd* edit = wnd->GetDlgItem(CPVXLegendWnd::IDC_LEGEND_EDIT);
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->IsWindowVisible());
    EXPECT_TRUE(edit->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(edit->GetStyle() & ES_AUTOHSCROLL);
    ASSERT_NE(edit->GetFont(), nullptr);
    LOGFONT lf;
    edit->GetFont()->GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, 10) << "the edit uses its own small font";
    EXPECT_EQ(lf.lfWidth, 4);
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_STREQ(lf.lfFaceName, "宋体");

    CWnd* button = wnd->GetDlgItem(CPVXLegendWnd::IDC_RESET_MNMX);
    ASSERT_NE(button, nullptr);
    CString text;
    button->GetWindowText(text);
    EXPECT_STREQ(text, "Reset Max/Min");
    EXPECT_TRUE(button->IsWindowVisible());
    CRect rb;
    button->GetWindowRect(&rb);
    wnd->ScreenToClient(&rb);
    EXPECT_EQ(rb, CRect(kRow / 2, 180 + 2 * kRow - 2, 80 - kRow, 180 + 3 * kRow));

    MINMAXINFO mmi{};
    wnd->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 80);
    EXPECT_EQ(mmi.ptMaxTrackSize.x, 80);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 180 + 4 * kRow);
    EXPECT_EQ(mmi.ptMaxTrackSize.y, 180 + 4 * kRow) << "the window cannot be resized";
}

TEST_F(LegendWndFixture, CreateFailsWithoutAScaleAndStartsCustomisedUnderAGlobalRange) {
    Legend().m_pContourEngine = nullptr;
    auto* bare = new ProbeLegendWnd(1, view);
    CRect rc = rcLegend;
    EXPECT_FALSE(bare->Create(view, rc, 0));
    EXPECT_EQ(bare->GetSafeHwnd(), nullptr);
    delete bare;

    Legend().m_pContourEngine = &scale;
    CArray<double, double> imposed;
    for (int i = 0; i < 11; i++) imposed.Add(i * 3.0);
    scale.MakeGlobalRange(1, &imposed);
    scale.MakeRankMap();
    Open();
    EXPECT_EQ(wnd->m_bCustomized, 1);
    EXPECT_NEAR(wnd->GetMaxValue(), scale.m_dRankMap[10], 1e-12);
}

TEST_F(LegendWndFixture, TypedEndValuesRebuildEqualStepsOrAreIgnored) {
    struct Row {
        const char* label;
        bool atMax;
        const char* text;
        bool accepted;
        double lo, hi;
    } rows[] = {
        {"a larger maximum widens the scale", true, "20", true, 0, 20},
        {"a smaller maximum narrows it", true, "5", true, 0, 5},
        {"a maximum below the minimum", true, "-5", false, 0, 10},
        {"the same maximum within 1e-10", true, "10.00000000001", false, 0, 10},
        {"a maximum equal to the minimum", true, "0", false, 0, 10},
        {"text that is no number reads as 0", true, "abc", false, 0, 10},
        {"a leading number is read", true, "12.5kN", true, 0, 12.5},
        {"a minimum above the maximum", false, "12", false, 0, 10},
        {"a minimum below widens the scale", false, "-10", true, -10, 10},
        {"the same minimum", false, "0.00000000001", false, 0, 10},
        {"a minimum equal to the maximum", false, "10", false, 0, 10},
        {"a minimum inside the range", false, "4", true, 4, 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        // Closing imposes the edit on the scale and redraws; every row starts from 0..10.
        scale.MakeGlobalRange(0, nullptr);
        MakeScale(scale);
        Legend().m_pContourEngine = &scale;
        Open();
        if (r.atMax)
            ClickMax();
        else
            ClickMin();
        EXPECT_EQ(wnd->m_nEditTarget, r.atMax ? 0 : 1);
        Type(r.text);
        PressEnter();
        EXPECT_EQ(wnd->m_nEditTarget, -1);
        EXPECT_FALSE(wnd->m_edit.IsWindowVisible());
        ExpectLevels(Levels(*wnd), Steps(r.lo, r.hi, 11));
        EXPECT_EQ(wnd->m_bChanged, r.accepted ? 1 : 0);
        EXPECT_EQ(wnd->m_bCustomized, r.accepted ? 1 : 0);
        Close();
    }
}

TEST_F(LegendWndFixture, LabelClicksOpenTheEditAndAClickElsewhereAcceptsIt) {
    Open();
    ClickMax();
    CRect re;
    wnd->m_edit.GetWindowRect(&re);
    wnd->ScreenToClient(&re);
    EXPECT_EQ(re, CRect(40, 10, 78, 22)) << "two pixels short of the label's right edge";
    EXPECT_TRUE(wnd->m_edit.IsWindowVisible());
    CString text;
    wnd->m_edit.GetWindowText(text);
    EXPECT_STREQ(text, "1.00e+001");

    ClickMin();
    EXPECT_EQ(wnd->m_nEditTarget, 1);
    wnd->m_edit.GetWindowText(text);
    EXPECT_STREQ(text, "0.00e+000");

    // Overlapping labels: the last one that holds the point wins.
    Legend().m_arrValRect[1].m_rect.SetRect(40, 10, 80, 22);
    ClickMax();
    EXPECT_EQ(wnd->m_nEditTarget, 1);

    Type("-2");
    ClickOutsideLabels();
    EXPECT_EQ(wnd->m_nEditTarget, -1);
    EXPECT_FALSE(wnd->m_edit.IsWindowVisible());
    ExpectLevels(Levels(*wnd), Steps(-2, 10, 11));

    // With no edit open a click elsewhere reads nothing.
    wnd->m_edit.SetWindowText("50");
    ClickOutsideLabels();
    ExpectLevels(Levels(*wnd), Steps(-2, 10, 11));
}

TEST_F(LegendWndFixture, ResetGoesBackToTheEngineRangeOnlyWhenCustomised) {
    Open();
    HWND hButton = wnd->GetDlgItem(CPVXLegendWnd::IDC_RESET_MNMX)->GetSafeHwnd();
    ui::ButtonClick(hButton);
    EXPECT_EQ(wnd->m_bChanged, 0) << "nothing to reset";

    ClickMax();
    Type("20");
    PressEnter();
    ASSERT_EQ(wnd->m_bCustomized, 1);
    ui::ButtonClick(hButton);
    ExpectLevels(Levels(*wnd), Steps(0, 10, 11));
    EXPECT_EQ(wnd->m_bCustomized, 0);
    EXPECT_EQ(wnd->m_bChanged, 1);
    Close();

    // Customised by the engine's global range, but already on its range: nothing happens.
    CArray<double, double> imposed;
    for (int i = 0; i < 11; i++) imposed.Add(i);
    scale.MakeGlobalRange(1, &imposed);
    Open();
    ASSERT_EQ(wnd->m_bCustomized, 1);
    ui::ButtonClick(wnd->GetDlgItem(CPVXLegendWnd::IDC_RESET_MNMX)->GetSafeHwnd());
    EXPECT_EQ(wnd->m_bCustomized, 1);
    EXPECT_EQ(wnd->m_bChanged, 0);
}

struct LegendWndCloseFixture : LegendWndFixture {
    CContourEngine* deformScale = nullptr;
    CContourEngine* currentScale = nullptr;
    void SetUp() override {
        LegendWndFixture::SetUp();
        if (HasFatalFailure()) return;
        auto* deform = new CDeformEngine(Model());
        deform->m_pContourEngine = deformScale = new CContourEngine;
        MakeScale(*deformScale);
        CPVXBarContainerBase::m_pDeformEngine = deform;
        auto* current = new CReactionEngine(Model());
        current->m_pContourEngine = currentScale = new CContourEngine;
        MakeScale(*currentScale);
        CPVXBarContainerBase::m_pCurrentEngine = current;
    }
    std::vector<CContourEngine*> Engines() { return {deformScale, currentScale, &scale}; }
    void ImposeOnAll(double factor) {
        CArray<double, double> list;
        for (int i = 0; i < 11; i++) list.Add(i * factor);
        for (CContourEngine* e : Engines()) e->MakeGlobalRange(1, &list);
    }
};

TEST_F(LegendWndCloseFixture, ClosingImposesOrLiftsTheGlobalRangeOnTheThreeEngines) {
    struct Row {
        const char* label;
        bool edit, reset;
        int globalAfter;      // global switch of each engine after closing
        double topAfter;      // last imposed level, when imposed
        bool modelTouched;    // the bars were taken again
    } rows[] = {
        {"an edit is imposed", true, false, 1, 20.0, true},
        {"an edit then reset lifts the range", true, true, 0, 0.0, true},
        {"no edit leaves the engines alone", false, false, 1, 30.0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ImposeOnAll(3.0);
        Open();
        if (r.edit) {
            ClickMax();
            Type("20");
            PressEnter();
        }
        if (r.reset) ui::ButtonClick(wnd->GetDlgItem(CPVXLegendWnd::IDC_RESET_MNMX)->GetSafeHwnd());
        Model()->m_nBarDisplayMode = 99;
        Close();
        EXPECT_EQ(Legend().m_pLegendWnd, nullptr) << "the legend forgets the closed window";
        for (CContourEngine* e : Engines()) {
            EXPECT_EQ(e->m_bGlobalRange, r.globalAfter);
            if (r.globalAfter) {
                CArray<double, double> got;
                e->GetGlobalRange(&got);
                ASSERT_EQ(got.GetSize(), 11);
                EXPECT_NEAR(got[10], r.topAfter, 1e-12);
                EXPECT_NEAR(got[1], r.topAfter / 10, 1e-12);
            }
        }
        EXPECT_EQ(Model()->m_nBarDisplayMode != 99, r.modelTouched);
        Legend().m_pContourEngine = &scale;
    }
}

TEST_F(LegendWndCloseFixture, LosingActivationClosesTheWindowWithoutApplyingAnOpenEdit) {
    Open();
    ClickMax();
    Type("20");
    frame.SetActiveWindow();
    EXPECT_TRUE(IsOpen()) << "the close message is posted, not sent";
    CUiDriver::Get().PumpMessages();
    EXPECT_FALSE(IsOpen());
    wnd = nullptr;
    EXPECT_EQ(Legend().m_pLegendWnd, nullptr);
    for (CContourEngine* e : Engines()) EXPECT_EQ(e->m_bGlobalRange, 0) << "only Enter or a click applies";
}

TEST_F(LegendWndCloseFixture, AWindowWhoseViewIsGoneTouchesNothingWhenItCloses) {
    struct Row {
        const char* label;
        bool parentIsFrame;  // else the view itself is the parent, as the view opens it
    } rows[] = {{"window parented by the frame outlives the view", true},
                {"window closing with its view", false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        if (!view) view = MakeView();
        ASSERT_NE(view, nullptr);
        Legend().m_pContourEngine = &scale;
        Legend().m_nValueLineHeight = kRow;
        CPVXView* other = MakeView();  // keeps a model alive
        ASSERT_NE(other, nullptr);
        wnd = new ProbeLegendWnd(1, view);
        CRect rc = rcLegend;
        ASSERT_TRUE(wnd->Create(r.parentIsFrame ? static_cast<CWnd*>(&frame) : view, rc, 0));
        hWnd = wnd->GetSafeHwnd();
        Legend().m_pLegendWnd = wnd;
        Legend().m_arrValRect[0].m_rect.SetRect(40, 10, 80, 22);
        ClickMax();
        Type("20");
        PressEnter();
        ASSERT_EQ(wnd->m_bChanged, 1);
        view->DestroyWindow();
        view = nullptr;
        ASSERT_GT(I_PVXModel::nNumOfPVXModel, 0);
        if (IsOpen()) Close();
        wnd = nullptr;
        EXPECT_EQ(deformScale->m_bGlobalRange, 0);
        EXPECT_EQ(currentScale->m_bGlobalRange, 0);
        other->DestroyWindow();
    }
}

TEST_F(LegendWndFixture, DrawsTheScaleOfTheModeAndTheEngineRangeInBlue) {
    struct Row {
        const char* label;
        int mode, contour, msContour;
        bool scale;
    } rows[] = {
        {"mode 2 always", 2, 0, 0, true},       {"mode 70 always", 70, 0, 0, true},
        {"mode 0 with contours", 0, 1, 0, true}, {"mode 0 without", 0, 0, 0, false},
        {"mode 69 with contours", 69, 1, 0, true}, {"mode 4 mode-shape contour", 4, 0, 1, true},
        {"mode 4 plain", 4, 1, 0, false},        {"mode 3 never", 3, 1, 1, false},
    };
    Open();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Model()->m_nDisplayMode = r.mode;
        Model()->m_bContour = r.contour;
        Model()->m_bModeShapeContour = r.msContour;
        CRecordDC dc;
        ASSERT_TRUE(dc.Create());
        wnd->DrawLegendImage(&dc);
        auto fills = dc.GetRecords("FillSolidRect");
        ASSERT_FALSE(fills.empty());
        CRect client;
        wnd->GetClientRect(&client);
        ASSERT_TRUE(fills.front()->hasRect);
        EXPECT_EQ(CRect(fills.front()->rect), client) << "the whole client area in the window colour";
        ASSERT_EQ(fills.front()->args.size(), 5u);
        EXPECT_EQ(COLORREF(fills.front()->args[4]), Legend().m_crWindow);
        auto texts = dc.GetRecords("TextOut");
        ASSERT_GE(texts.size(), 2u);
        const GdiRecord* mx = texts[texts.size() - 2];
        const GdiRecord* mn = texts.back();
        EXPECT_EQ(mx->text, "Max : 1.00000e+001");
        EXPECT_EQ(mn->text, "Min : 0.00000e+000");
        EXPECT_EQ(mx->textColor, RGB(0, 0, 255));
        ASSERT_GE(mx->args.size(), 2u);
        EXPECT_EQ(mx->args[0], kRow / 2);
        EXPECT_EQ(mx->args[1], 180 + kRow / 2 + 4);
        EXPECT_EQ(mn->args[1], 180 + kRow / 2 + 4 + kRow);
        EXPECT_EQ(texts.size() > 2, r.scale) << "scale values are drawn before the two range lines";
    }
}

TEST_F(LegendWndFixture, ThePopupScaleLabelsAreTheOnesAClickEdits) {
    Open();
    CRecordDC dc;
    ASSERT_TRUE(dc.Create());
    Legend().m_arrValRect[0].Initialize();
    Legend().m_rcPanel.SetRect(300, 0, 400, 300);  // the labels reach the panel's right edge
    wnd->DrawLegendImage(&dc);
    const CRect top = Legend().m_arrValRect[0].m_rect;
    ASSERT_FALSE(top.IsRectEmpty()) << "the scale recorded its top label";
    Click(top.CenterPoint());
    EXPECT_EQ(wnd->m_nEditTarget, 0);
}

TEST_F(LegendWndFixture, ThePopupScaleShowsTheWindowsEditedLevels) {
    Open();
    ClickMax();
    Type("20");
    PressEnter();
    ExpectLevels(Levels(*wnd), Steps(0, 20, 11));
    ASSERT_NEAR(scale.m_dRankMap[10], 10.0, 1e-12) << "the engine keeps its levels until the window closes";
    Legend().m_bCompact = 1;
    Legend().m_bAutoDigits = 1;
    // Displacement contour, and the mode-shape contour the window draws without its period.
    for (int mode : {2, 4}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        Model()->m_nDisplayMode = mode;
        Model()->m_bModeShapeContour = mode == 4;
        CRecordDC dc;
        ASSERT_TRUE(dc.Create());
        wnd->DrawLegendImage(&dc);
        // The value column: every text but the percentages and the two range lines, top band
        // first. Decimals from the window's ends 0 and 20: "%g" lengths 1 and 2, compact lengths
        // 7 and 8, digits 5 and 5 + 7 - 8 = 4; the smaller, 4.
        std::vector<std::string> values;
        for (const GdiRecord* t : dc.GetRecords("TextOut"))
            if (t->text.back() != '%' && t->text.rfind("M", 0) != 0) values.push_back(t->text);
        const std::vector<std::string> want = {"20.0000", "18.0000", "16.0000", "14.0000", "12.0000", "10.0000",
                                               "8.0000",  "6.0000",  "4.0000",  "2.0000",  "0.0000"};
        EXPECT_EQ(values, want);
        EXPECT_EQ(Legend().m_arrValRect[0].m_dValue, 20.0) << "the top label holds the value it shows";
        EXPECT_EQ(Legend().m_arrValRect[1].m_dValue, 0.0);
    }
    // The panel itself keeps showing the engine's levels.
    Model()->m_nDisplayMode = 2;
    CRecordDC panel;
    ASSERT_TRUE(panel.Create());
    CRect rc(0, 0, 180, 300);
    Legend().DrawContourRainbow(&panel, &rc, 0, 1, 0);
    EXPECT_EQ(Legend().m_arrValRect[0].m_dValue, 10.0);
}

TEST_F(LegendWndFixture, AClickOnTheViewsEditableScaleOpensThePopupAndAViewChangeClosesIt) {
    CLegendEngine& legend = Legend();
    legend.m_bLegendRect = 1;
    legend.m_rcLegend.SetRect(300, 20, 380, 200);
    CUiDriver::Get().SendMouse(view, WM_LBUTTONDOWN, CPoint(340, 100));
    CPVXLegendWnd* popup = legend.m_pLegendWnd;
    ASSERT_NE(popup, nullptr);
    HWND hPopup = popup->GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(hPopup));
    EXPECT_EQ(popup->GetMode(), 1);
    CRect expected = legend.m_rcLegend;
    view->ClientToScreen(&expected);
    expected.bottom += 4 * kRow;
    CRect rc;
    popup->GetWindowRect(&rc);
    EXPECT_EQ(rc, expected) << "laid over the legend rectangle in screen coordinates";

    Model()->PV_OnViewPointChange();
    EXPECT_FALSE(::IsWindow(hPopup));
    EXPECT_EQ(legend.m_pLegendWnd, nullptr);
}

}  // namespace
