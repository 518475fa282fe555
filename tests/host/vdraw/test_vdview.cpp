// The figure view's base: run-time class, layout of the list and the drawing, the three
// commands with their dialogs played through CUiDriver, the load-case double-click and the
// text drag hook.
#include <gtest/gtest.h>

#include "host/vdraw/CVdView.h"
#include "platform/ui/CColorWell.h"
#include "platform/ui/afxwin.h"

namespace {

// A view that records what the base hands to the figure view's overrides.
class CRecordingView : public CVdView {
public:
    int m_nStyleChanged = 0;
    int m_nContourSet = 0;
    int m_bContour = 0;
    std::vector<UINT> m_dblclk;
    CvdFigure* m_pMoved = nullptr;
    double m_dx = 0.0, m_dy = 0.0;

    int DblclkListLoadcase(UINT key) override {
        m_dblclk.push_back(key);
        return 1;
    }
    void AfterTextMove(CvdFigure* text, double dx, double dy) override {
        m_pMoved = text;
        m_dx = dx;
        m_dy = dy;
    }
    void AfterFormatTextstyle() override { ++m_nStyleChanged; }
    void _OnContourSet() override { ++m_nContourSet; }
    int _CanFigureContour() override { return m_bContour; }
};

class CVdViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        CUiDriver::Get().Reset();
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "figure", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300)));
        m_pView = new CRecordingView;
        ASSERT_TRUE(m_pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), m_pFrame,
                                    AFX_IDW_PANE_FIRST));
        m_pView->OnInitialUpdate();
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();  // the frame and the view delete themselves
        CUiDriver::Get().PumpMessages();
        CUiDriver::Get().Reset();
    }
    void Command(UINT id) { m_pView->SendMessage(WM_COMMAND, id, 0); }

    CFrameWnd* m_pFrame = nullptr;
    CRecordingView* m_pView = nullptr;
};

TEST_F(CVdViewTest, RunTimeClassMakesAFormView) {
    CObject* p = CRuntimeClass::CreateObject("CVdView");
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CFormView)));
    EXPECT_STREQ(p->GetRuntimeClass()->m_lpszClassName, "CVdView");
    delete p;
}

TEST_F(CVdViewTest, ListBesideTheDrawing) {
    struct Row {
        const char* label;
        BOOL hasLoadCases;
        int cx, cy;
        CRect list, drawing;  // list empty when hidden
        BOOL listShown;
    } rows[] = {
        {"no load cases: the drawing takes all", FALSE, 400, 300, CRect(0, 0, 0, 300), CRect(0, 0, 400, 300), FALSE},
        {"load cases: 160 pixels of list at the left", TRUE, 400, 300, CRect(0, 0, 160, 300), CRect(160, 0, 400, 300),
         TRUE},
        {"narrow: the list takes half", TRUE, 200, 100, CRect(0, 0, 100, 100), CRect(100, 0, 200, 100), TRUE},
        {"no room at all", TRUE, 0, 0, CRect(0, 0, 0, 0), CRect(0, 0, 0, 0), TRUE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        m_pView->m_bHasLoadCase = r.hasLoadCases;
        m_pView->OnSize(0, r.cx, r.cy);
        EXPECT_EQ(m_pView->GetDrawCtrlRect(), r.drawing);
        CRect list;
        m_pView->m_ListLoadCase.GetWindowRect(&list);
        m_pView->ScreenToClient(&list);
        EXPECT_EQ(list, r.list);
        EXPECT_EQ(m_pView->m_ListLoadCase.IsWindowVisible(), r.listShown);
    }
}

TEST_F(CVdViewTest, LayerColourCommand) {
    CVdrawUtil& d = *m_pView->GetDrawing();
    d.AddLayer(50, "文字", 0xFFFFFF, 0, VdPenSolid);
    d.AddLayer(20, "梁", 0x00FF00, 0, VdPenSolid);
    // Layers list in id order: 0, 20, 50. Pick 50 and give it yellow; cancel changes nothing.
    auto pick = [](COLORREF colour, int answer) {
        return std::vector<UiDialogStep>{[colour, answer](CUiDialogSession& s) {
            s.SelectListIndex(IDC_VD_LAYER_LIST, 2);
            CColorWell::UserPick(s.Dialog()->GetDlgItem(IDC_VD_LAYER_COLOUR)->m_hWnd, colour);
            return answer;
        }};
    };
    CUiDriver::Get().QueueModal(IDD_VD_LAYERS, pick(0x00FFFF, IDCANCEL));
    Command(ID_VD_LAYER_SET);
    EXPECT_EQ(d.GetLayer(50)->colour, 0xFFFFFFu);
    CUiDriver::Get().QueueModal(IDD_VD_LAYERS, pick(0x00FFFF, IDOK));
    Command(ID_VD_LAYER_SET);
    EXPECT_EQ(d.GetLayer(50)->colour, 0x00FFFFu);
    EXPECT_EQ(d.GetLayer(20)->colour, 0x00FF00u);
    ASSERT_EQ(CUiDriver::Get().ModalLog().size(), 2u);
}

TEST_F(CVdViewTest, TextStyleCommand) {
    CVdrawUtil& d = *m_pView->GetDrawing();
    sEVETextStyle style;
    style.strFaceName = "宋体";
    style.dHeight = 0.5;
    ASSERT_GT(d.AddTextStyle("FIG10", style, 0), 0);
    const std::vector<CString> names = d.GetTextStyleNames();
    int index = -1;
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == "FIG10") index = static_cast<int>(i);
    ASSERT_GE(index, 0);
    struct Row {
        const char* label;
        const char* height;
        double want;
        int hooks;
    } rows[] = {
        // A height that is not above 0 is refused: the dialog stays, runs out of steps and cancels.
        {"refused height", "-1", 0.5, 0},
        {"new height", "0.75", 0.75, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CUiDriver::Get().QueueModal(IDD_VD_TEXTSTYLE, {[&](CUiDialogSession& s) {
                                        s.SelectComboIndex(IDC_VD_STYLE_LIST, index);
                                        s.SetControlText(IDC_VD_STYLE_HEIGHT, r.height);
                                        return IDOK;
                                    }});
        Command(ID_VD_TEXTSTYLE_SET);
        ASSERT_TRUE(d.GetTextStyle("FIG10", style));
        EXPECT_DOUBLE_EQ(style.dHeight, r.want);
        EXPECT_EQ(style.strFaceName, "宋体");  // the rest of the style is kept
        EXPECT_EQ(m_pView->m_nStyleChanged, r.hooks);
    }
}

TEST_F(CVdViewTest, ContourCommandAsksTheFigure) {
    Command(ID_VD_CONTOUR_SET);  // no contour: the user is told
    ASSERT_EQ(CUiDriver::Get().MessageBoxes().size(), 1u);
    EXPECT_STREQ(CUiDriver::Get().MessageBoxes()[0].text, "当前图形没有等值线参数。");
    EXPECT_EQ(m_pView->m_nContourSet, 0);
    m_pView->m_bContour = 1;
    Command(ID_VD_CONTOUR_SET);
    EXPECT_EQ(m_pView->m_nContourSet, 1);
    EXPECT_EQ(CUiDriver::Get().MessageBoxes().size(), 1u);
}

TEST_F(CVdViewTest, LoadCaseDoubleClickAndTextDrag) {
    CListBox& list = m_pView->m_ListLoadCase;
    list.SetItemData(list.AddString("1 恒载"), 11);
    list.SetItemData(list.AddString("2 活载"), 12);
    list.SetCurSel(1);
    m_pView->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_VDVIEW_LOADCASE, LBN_DBLCLK),
                         reinterpret_cast<LPARAM>(list.m_hWnd));
    ASSERT_EQ(m_pView->m_dblclk.size(), 1u);
    EXPECT_EQ(m_pView->m_dblclk[0], 12u);

    // A text not marked movable does not follow the mouse; a movable one moves by the drag in
    // drawing units (scale 2: model (1, 1) is drawing (2, 2)) and is reported.
    CVdrawUtil& d = *m_pView->GetDrawing();
    d.SetDrawScale(2.0);
    const long id = d.DrawText("R:1.20", 1.0, 1.0, VdTextVerCenter, VdTextHorCenter, 0.0, 0.0);
    const long line = d.DrawLine(0, 0, 1, 0);
    EXPECT_FALSE(m_pView->_MoveTextWithCtrl(id, 3.0, -1.0));
    EXPECT_FALSE(m_pView->_MoveTextWithCtrl(line, 3.0, -1.0));
    EXPECT_EQ(m_pView->m_pMoved, nullptr);
    ASSERT_TRUE(d.ReSetTextType(id, nullptr));
    EXPECT_TRUE(m_pView->_MoveTextWithCtrl(id, 3.0, -1.0));
    EXPECT_EQ(m_pView->m_pMoved, d.GetFigure(id));
    EXPECT_EQ(m_pView->m_dx, 3.0);
    EXPECT_EQ(m_pView->m_dy, -1.0);
    EXPECT_DOUBLE_EQ(d.GetFigure(id)->m_points[0].x, 5.0);
    EXPECT_DOUBLE_EQ(d.GetFigure(id)->m_points[0].y, 1.0);
}

}  // namespace
