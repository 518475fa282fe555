// The multi-graph view: the shared x scale of its two graphs, their layout, the right-click menu,
// the property dialog and saving the picture, closing by hint and forgetting the model.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "module/graphs/CPVXMultiGraphView.h"
#include "module/model/I_PVXModel.h"
#include "module/resources/PVXResources.h"
#include "platform/gdi/BmpFile.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/uiapi.h"

namespace {

// A graph of one series reaching x = magnitude (and -magnitude / 2) over levels 0 ... 3.
void Fill(PVXGraphSeriesMap& map, double magnitude) {
    auto* p = new PVXGraphSeries;
    T_GRPH_D a{0, 0}, b{magnitude, 3}, c{-magnitude / 2, 6};
    p->Add(a);
    p->Add(b);
    p->Add(c);
    map.SetAt(1, p);
}

class MultiGraphViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        PVXRegisterResources();
        CUiDriver::Get().Reset();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
    }
    void TearDown() override {
        if (m_pFrame && m_pFrame->GetSafeHwnd()) m_pFrame->DestroyWindow();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
        CUiDriver::Get().Reset();
    }

    // Gives the view graphs of these magnitudes at scale 50.
    static void Show(CPVXMultiGraphView& v, double left, double right) {
        PVXGraphSeriesMap l, r;
        Fill(l, left);
        Fill(r, right);
        v.SetLeftGraphData(l, "L", "UX", "Level");
        v.SetRightGraphData(r, "R", "UY", "Level");
        FreePVXGraphSeriesMap(l);
        FreePVXGraphSeriesMap(r);
        v.SetScale(50);
        v.DrawGraph();
    }

    // A view in a frame, laid out by a move to 801 x 300 pixels of client (plus the frame).
    CPVXMultiGraphView* OpenView() {
        m_pFrame = new CFrameWnd;
        EXPECT_TRUE(m_pFrame->Create(nullptr, "graphs", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 900, 400)));
        auto* v = new CPVXMultiGraphView;
        EXPECT_TRUE(v->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), m_pFrame, AFX_IDW_PANE_FIRST));
        v->SetWindowPos(nullptr, 0, 0, 801 + GetSystemMetrics(SM_CXFRAME), 300 + GetSystemMetrics(SM_CYFRAME),
                        SWP_NOZORDER);
        v->OnInitialUpdate();
        return v;
    }

    // Right-clicks the view at a client point, choosing nCmd from the menu when it comes up.
    static void RightClick(CPVXMultiGraphView* v, CPoint pt, UINT nCmd = 0) {
        if (nCmd) CUiDriver::Get().QueueMenuChoice(nCmd);
        v->ClientToScreen(&pt);
        v->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
        CUiDriver::Get().PumpMessages();
    }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    CFrameWnd* m_pFrame = nullptr;
};

}  // namespace

TEST_F(MultiGraphViewTest, BothGraphsShareOneXScale) {
    struct Row {
        const char* label;
        double left, right;
        double leftFactor, rightFactor;
        double leftX1, rightX1;
    } rows[] = {
        // Scale 50 on the larger: factor 2, span 2 x 2 = 4; the other 1 / 2 x 50 = 25: factor
        // 4, span 4 x 1 = 4. Both -4 ... 4.
        {"left larger", 2, 1, 2, 4, 4, 4},
        {"right larger", 1, 2, 4, 2, 4, 4},
        // 0 / 0: both take the view's scale instead of a factor that is not a number.
        {"both zero", 0, 0, 2, 2, 0, 0},
        // The zero graph's scale 0 is refused: it keeps its factor (1.5) and spans nothing.
        {"left zero", 0, 1, 1.5, 2, 0, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CPVXMultiGraphView v;
        Show(v, r.left, r.right);
        EXPECT_DOUBLE_EQ(v.GetLeftGraph().GetRangeFactor(), r.leftFactor);
        EXPECT_DOUBLE_EQ(v.GetRightGraph().GetRangeFactor(), r.rightFactor);
        EXPECT_DOUBLE_EQ(v.GetLeftGraph().GetRange().x1, r.leftX1);
        EXPECT_DOUBLE_EQ(v.GetRightGraph().GetRange().x1, r.rightX1);
        EXPECT_DOUBLE_EQ(v.GetLeftGraph().GetRange().x0, -r.leftX1);
    }
}

TEST_F(MultiGraphViewTest, GraphsShareTheWidthAndARightClickOffersTheMenuOverAGraphOnly) {
    CPVXMultiGraphView* v = OpenView();
    // cx 801: each graph 801 / 2 = 400 wide, the right one from x + 400; one column left over.
    EXPECT_EQ(v->GetLeftRect(), CRect(0, 0, 400, 300));
    EXPECT_EQ(v->GetRightRect(), CRect(400, 0, 800, 300));
    CRect rc;
    v->GetRightGraph().GetWindowRect(&rc);
    v->ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(400, 0, 800, 300));

    const auto& menus = CUiDriver::Get().Menus();
    struct Row {
        const char* label;
        CPoint pt;
        bool menu;
        int clicked;
    } rows[] = {{"left graph", CPoint(100, 10), true, 0}, {"right graph", CPoint(500, 10), true, 1},
                {"between and beside the graphs", CPoint(800, 10), false, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const size_t n = menus.size();
        RightClick(v, r.pt);
        EXPECT_EQ(menus.size(), n + (r.menu ? 1 : 0));
        EXPECT_EQ(v->GetClickedGraph(), r.clicked);
    }
    ASSERT_FALSE(menus.empty());
    EXPECT_EQ(menus.back().ids, (std::vector<UINT>{CPVXMultiGraphView::kCmdProperty, CPVXMultiGraphView::kCmdSaveAs}));
    EXPECT_EQ(menus.back().texts[0], CString("修改特性"));

    // A click on the left graph window reaches the view in screen coordinates.
    CUiDriver::Get().SendMouse(&v->GetLeftGraph(), WM_RBUTTONDOWN, CPoint(10, 10), MK_RBUTTON);
    EXPECT_EQ(v->GetClickedGraph(), 0);
}

TEST_F(MultiGraphViewTest, ThePropertyDialogSpeaksOfTheClickedGraph) {
    CPVXMultiGraphView* v = OpenView();
    struct Row {
        const char* label;
        CPoint pt;               // the graph clicked
        const char* scale;       // typed, or null: left as shown
        const char* title;       // typed, or null
        double shown;            // what the dialog showed
        double viewScale;        // afterwards
        double leftX1, rightX1;  // afterwards
        bool refused;
    } rows[] = {
        // The right graph (magnitude 1 of 2) shows 100 / 4 = 25; OK as it is changes nothing.
        {"smaller graph, unchanged", CPoint(500, 10), nullptr, nullptr, 25, 50, 4, 4, false},
        // 20 on the right graph is 20 / (1 / 2) = 40 on the larger: both span 2 x 100 / 40 = 5.
        {"smaller graph, new scale", CPoint(500, 10), "20", nullptr, 25, 40, 5, 5, false},
        {"larger graph, new scale", CPoint(100, 10), "25", "Mode 1, sway", 50, 25, 8, 8, false},
        {"below the range", CPoint(100, 10), "0.5", nullptr, 50, 50, 4, 4, true},
        {"above the range", CPoint(100, 10), "150", nullptr, 50, 50, 4, 4, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Show(*v, 2, 1);
        CUiDriver& ui = CUiDriver::Get();
        ui.ClearMessageBoxes();
        CString shown;
        ui.QueueModal(CPVX2DGraphDlg::IDD, {[&](CUiDialogSession& user) -> int {
                          user.Dialog()->GetDlgItemText(CPVX2DGraphDlg::kScaleEdit, shown);
                          if (r.scale) user.SetControlText(CPVX2DGraphDlg::kScaleEdit, r.scale);
                          if (r.title) user.SetControlText(CPVX2DGraphDlg::kTitleEdit, r.title);
                          return IDOK;
                      }});
        RightClick(v, r.pt, CPVXMultiGraphView::kCmdProperty);
        EXPECT_DOUBLE_EQ(std::atof(shown), r.shown);
        EXPECT_EQ(ui.ModalLog().back().result, r.refused ? IDCANCEL : IDOK);
        EXPECT_EQ(ui.MessageBoxes().size(), r.refused ? 1u : 0u);
        EXPECT_DOUBLE_EQ(v->GetScale(), r.viewScale);
        EXPECT_DOUBLE_EQ(v->GetLeftGraph().GetRange().x1, r.leftX1);
        EXPECT_DOUBLE_EQ(v->GetRightGraph().GetRange().x1, r.rightX1);
        if (r.title) {
            EXPECT_EQ(v->GetLeftGraph().GetTitle(), CString(r.title));
        }
    }
}

TEST_F(MultiGraphViewTest, SavingWritesBmpAndEmfAndSaysWhatItDoesNotWrite) {
    CPVXMultiGraphView* v = OpenView();
    Show(*v, 2, 1);
    const CString invalid = CMsgDll::pfuncLoadStr("IDS_UTIL__Invalid_Extension_", 0);
    const CString jpeg = CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Graph_JPEG_Not_Written", 0);
    struct Row {
        const char* label;
        const char* name;
        bool written;
        CString message;  // start of the message shown, empty for none
    } rows[] = {
        {"bmp", "graphs.bmp", true, ""},
        {"emf", "graphs.emf", true, ""},
        {"jpeg", "graphs.jpg", false, jpeg},
        {"extension in mixed case", "graphs2.Bmp", false, invalid + "Bmp"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string path = std::string(PVX_TEST_TMPDIR) + "/" + r.name;
        std::remove(path.c_str());
        CUiDriver& ui = CUiDriver::Get();
        ui.ClearMessageBoxes();
        ui.QueueFileDialogAnswer(path.c_str());
        RightClick(v, CPoint(100, 10), CPVXMultiGraphView::kCmdSaveAs);
        FILE* f = std::fopen(path.c_str(), "rb");
        EXPECT_EQ(f != nullptr, r.written);
        if (f) std::fclose(f);
        ASSERT_EQ(ui.MessageBoxes().size(), r.message.IsEmpty() ? 0u : 1u);
        if (!r.message.IsEmpty()) {
            EXPECT_EQ(ui.MessageBoxes()[0].text.Left(r.message.GetLength()), r.message);
        }
    }
    // The BMP is both graphs side by side: 800 x 300, white inside, the left graph's black
    // frame 1 % (4 px, 3 px) in from its corner.
    std::vector<COLORREF> px;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadBmp((std::string(PVX_TEST_TMPDIR) + "/graphs.bmp").c_str(), px, w, h));
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 300);
    EXPECT_EQ(px[3 * w + 50], RGB(0, 0, 0));
    EXPECT_EQ(px[20 * w + 50], RGB(255, 255, 255));
}

TEST_F(MultiGraphViewTest, HintSevenClosesTheFrameAndTheViewForgetsItsModel) {
    CPVXMultiGraphView* v = OpenView();
    HWND hFrame = m_pFrame->GetSafeHwnd();
    v->OnUpdate(nullptr, 3, nullptr);
    CUiDriver::Get().PumpMessages();
    EXPECT_TRUE(::IsWindow(hFrame)) << "another hint leaves the frame";

    auto model = std::make_unique<I_PVXModel>();
    model->m_pMultiGraphView = v;
    v->SetPointer(model.get());
    v->OnUpdate(nullptr, CPVXMultiGraphView::kHintClose, nullptr);
    CUiDriver::Get().PumpMessages();
    EXPECT_FALSE(::IsWindow(hFrame));
    EXPECT_EQ(model->m_pMultiGraphView, nullptr) << "the view's end clears the model's pointer";
    m_pFrame = nullptr;
}
