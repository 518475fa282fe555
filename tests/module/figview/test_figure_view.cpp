// The figure view: export titles and names from Windows and Linux paths, the load-case list kept
// in step with the controller through hints 114 and 116, the double-click that redraws and tells
// the panel (115), the export through the save dialog and its failure box, and the context menu
// only over the drawing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <map>
#include <memory>
#include <vector>

#include "FoundationDoc.h"
#include "module/figures/CFVDBase.h"
#include "module/figures/CPVXFigure.h"
#include "module/figures/CPVXFigureView.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/afxwin.h"

namespace figview {

// A stand-in for the raft punching sheet under columns: it offers three load cases and records
// every drawing with the load case it was drawn for. It is registered under the sheet's class
// name for each test only (the latest registration wins the name), so the module's own sheet of
// that name, built or not, is never made here.
namespace {

class StandInSheet : public CFVDBase {
public:
    void CollectLoadCases(std::map<UINT, CString>& out) override {
        if (s_bNoCases) return;
        out[0] = "most unfavourable";
        out[3] = "1.35D+0.98L";
        out[7] = "1.2D+1.4L";
    }
    void DrawFigure() override {
        ApplyScale();
        if (GetDrawing()) GetDrawing()->DrawLine(0, 0, 10, 5);
        s_drawn.push_back(GetCurLoadCase());
    }
    void ForceLoadCase(UINT key) { m_nCurLoadCase = key; }

    static inline bool s_bNoCases = false;
    static inline std::vector<UINT> s_drawn;
};

// The document: opens the test's figure view and records the hints it hands to its listeners.
class CFigureDoc : public CDBDoc {
public:
    CView* OpenFigureView(LPCTSTR) override { return m_pView; }
    void UpdateAllViews(CView* sender, LPARAM hint, CObject* obj) override {
        m_hints.push_back(static_cast<long>(hint));
        CDBDoc::UpdateAllViews(sender, hint, obj);
    }
    CPVXFigureView* m_pView = nullptr;
    std::vector<long> m_hints;
};

CObject* MakeStandInSheet() { return new StandInSheet; }

class FigureViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_standIn = std::make_unique<AFX_CLASSINIT>(&m_standInClass);
        PVXRegisterResources();
        CUiDriver::Get().Reset();
        StandInSheet::s_bNoCases = false;
        StandInSheet::s_drawn.clear();
        PostDBBuilder b;
        AddTextOwners(b);
        b.Install(m_doc);
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "figure", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)));
        m_pView = new CPVXFigureView;
        ASSERT_TRUE(m_pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), m_pFrame,
                                    AFX_IDW_PANE_FIRST));
        m_pView->OnInitialUpdate();
        m_doc.m_pView = m_pView;
        m_ctrl = std::make_unique<CPVXFigure>();
        m_ctrl->InitFigureMap(nullptr);
        m_ctrl->SetCurentSelItem(EFVDT_MTSB_CHECK_ColCQ, 0);
        CArray<UINT> types;
        types.Add(EFVDT_MTSB_CHECK_ColCQ);
        m_ctrl->DisplayFigureDlgData(types, FALSE);
        ASSERT_EQ(m_ctrl->GetFigureView(), m_pView);
        m_doc.m_hints.clear();
        StandInSheet::s_drawn.clear();
    }
    void TearDown() override {
        m_doc.m_pView = nullptr;
        m_pFrame->DestroyWindow();
        CUiDriver::Get().PumpMessages();
        m_ctrl.reset();
        CUiDriver::Get().Reset();
        m_standIn.reset();
    }
    CRuntimeClass m_standInClass{"CFVDMTSBCheck_ColCQ", static_cast<int>(sizeof(StandInSheet)), 0xFFFF,
                                 &MakeStandInSheet, RUNTIME_CLASS(CFVDBase)};
    std::unique_ptr<AFX_CLASSINIT> m_standIn;
    StandInSheet* Figure() { return static_cast<StandInSheet*>(m_ctrl->GetFVDBase(EFVDT_MTSB_CHECK_ColCQ)); }
    std::vector<UINT> Rows() {
        std::vector<UINT> keys;
        for (int i = 0; i < m_pView->m_ListLoadCase.GetCount(); ++i)
            keys.push_back(static_cast<UINT>(m_pView->m_ListLoadCase.GetItemData(i)));
        return keys;
    }
    int Sel() { return m_pView->m_ListLoadCase.GetCurSel(); }

    CFigureDoc m_doc;
    DocScope m_scope{m_doc};
    CFrameWnd* m_pFrame = nullptr;
    CPVXFigureView* m_pView = nullptr;
    std::unique_ptr<CPVXFigure> m_ctrl;
};

}  // namespace

TEST(FigureViewExport, TitlesAndNamesOfDocumentPaths) {
    struct Row {
        const char* path;
        const char* title;  // up to the first dot of the file name
        const char* name;   // title + "_" + caption, made a file name
        const char* caption;
    } rows[] = {
        {"C:\\work\\raft.model.db", "C:\\work\\raft", "C-_work_raft_", ""},
        {"/home/u/raft.model.db", "/home/u/raft", "_home_u_raft_", ""},
        {"/home/a.b/raft.model.db", "/home/a.b/raft", "_home_a.b_raft_", ""},
        {"C:\\a.b\\c d\\raft.db", "C:\\a.b\\c d\\raft", "C-_a.b_c_d_raft_", ""},
        {"/home/u/raft", "/home/u/raft", "_home_u_raft_", ""},
        {"/home/u/.raft.db", "/home/u/.raft", "_home_u_.raft_", ""},
        {"", "", "_", ""},
        {"/p/raft.db", "/p/raft", "_p_raft_A-B_c_d_e_f_g_h_i|j", "A:B*c?d\"e<f>g h/i|j"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        const CString title = CPVXFigureView::MakeExportTitle(r.path);
        EXPECT_STREQ(title.GetString(), r.title);
        EXPECT_STREQ(CPVXFigureView::MakeExportFileName(title, r.caption).GetString(), r.name);
    }
    // A path far longer than any fixed buffer keeps all of it up to the file name's dot.
    const std::string dir = "/" + std::string(700, 'd') + ".x/";
    EXPECT_STREQ(CPVXFigureView::MakeExportTitle((dir + "raft.model.db").c_str()).GetString(),
                 (dir + "raft").c_str());
}

TEST_F(FigureViewTest, HintsFillAndSelectTheLoadCaseList) {
    struct Row {
        const char* label;
        long hint;
        bool noCases;
        UINT current;            // the figure's load case before the hint
        std::vector<UINT> rows;  // list afterwards, key order
        int sel;
    } rows[] = {
        {"114 fills the list in key order, current 0 selected", 114, false, 0, {0, 3, 7}, 0},
        {"114 with current 7", 114, false, 7, {0, 3, 7}, 2},
        {"114 with a current key the map has not: no selection", 114, false, 5, {0, 3, 7}, -1},
        {"114 with no load cases empties the list", 114, true, 0, {}, -1},
        {"116 selects the current load case", 116, false, 3, {0, 3, 7}, 1},
        {"116 with key 0 keeps the selection", 116, false, 0, {0, 3, 7}, 2},
        {"116 with a key absent from the map keeps it", 116, false, 5, {0, 3, 7}, 2},
        {"113 changes nothing", 113, false, 3, {0, 3, 7}, 2},
        {"7 changes nothing", 7, false, 3, {0, 3, 7}, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        StandInSheet::s_bNoCases = false;
        m_ctrl->SetCurentSelItem(EFVDT_BaseMap_QSN_AXIG, 1);
        m_ctrl->SetCurentSelItem(EFVDT_MTSB_CHECK_ColCQ, 0);  // rebuilds the figure's map
        Figure()->ForceLoadCase(7);
        m_pView->OnUpdate(nullptr, 114, nullptr);  // start from the full list, row of 7 selected
        ASSERT_EQ(Sel(), 2);
        StandInSheet::s_bNoCases = r.noCases;
        if (r.noCases) {
            m_ctrl->SetCurentSelItem(EFVDT_BaseMap_QSN_AXIG, 1);
            m_ctrl->SetCurentSelItem(EFVDT_MTSB_CHECK_ColCQ, 0);
        }
        Figure()->ForceLoadCase(r.current);
        const int result = r.hint == 114 ? m_pView->RefreshLoadCaseList() : -1;
        m_doc.UpdateAllViews(nullptr, r.hint, nullptr);  // the view listens to the document
        EXPECT_EQ(Rows(), r.rows);
        EXPECT_EQ(Sel(), r.sel);
        if (r.hint == 114) {
            EXPECT_EQ(result, static_cast<int>(r.rows.size()));
            EXPECT_EQ(m_pView->m_bHasLoadCase, r.rows.empty() ? FALSE : TRUE);
        }
    }
}

TEST_F(FigureViewTest, DoubleClickRedrawsZoomsAndTellsThePanel) {
    struct Row {
        const char* label;
        bool controller;
        UINT key;
        int result;
        std::vector<UINT> drawn;  // load cases the figure was drawn for
        std::vector<long> hints;
        int zooms;                // zoom-all calls on the drawing
    } rows[] = {
        {"with a controller", true, 7, 1, {7}, {115}, 1},
        {"without one, the base's answer", false, 3, 0, {}, {}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        StandInSheet::s_drawn.clear();
        m_doc.m_hints.clear();
        const int zooms = m_pView->GetDrawing()->GetZoomAllCount();
        CPVXFigure* saved = CPVXFigure::m_pMyself;
        if (!r.controller) CPVXFigure::m_pMyself = nullptr;
        EXPECT_EQ(m_pView->DblclkListLoadcase(r.key), r.result);
        CPVXFigure::m_pMyself = saved;
        EXPECT_EQ(StandInSheet::s_drawn, r.drawn);
        EXPECT_EQ(m_doc.m_hints, r.hints);
        EXPECT_EQ(m_pView->GetDrawing()->GetZoomAllCount() - zooms, r.zooms);
        if (r.controller) {
            EXPECT_EQ(Figure()->GetCurLoadCase(), r.key);
        }
    }
}

// The export: the save dialog with the suggested name of the document's path, the path as the
// user chose it to the drawing, and the failure box for a name the drawing cannot write.
TEST_F(FigureViewTest, ExportThroughTheSaveDialog) {
    const std::string dir = std::string(PVX_TEST_TMPDIR) + "/figview.d" + std::to_string(getpid());
    ASSERT_EQ(std::system(("mkdir -p " + dir).c_str()), 0);
    const std::string project = dir + "/raft.model.pvxdb";
    {
        PostDBBuilder b;
        AddTextOwners(b);
        ASSERT_TRUE(b.Save(project.c_str()));
    }
    ASSERT_TRUE(m_doc.OpenDocument(project.c_str())) << m_doc.GetLastError().GetString();
    std::string suggested = dir + "/raft_";
    for (char& c : suggested)
        if (c == '/') c = '_';
    struct Row {
        const char* label;
        std::string answer;
        bool written;
        size_t boxes;
    } rows[] = {
        {"a .dxf name is written", dir + "/out.dxf", true, 0},
        {"a .dwg name fails with the box", dir + "/out.dwg", false, 1},
        {"cancelled", "", false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CUiDriver::Get().ClearMessageBoxes();
        CUiDriver::Get().QueueFileDialogAnswer(r.answer.c_str());
        m_pView->SendMessage(WM_COMMAND, ID_FIGURE_EXPORT, 0);
        const UiFileDialogRecord& dlg = CUiDriver::Get().FileDialogs().back();
        EXPECT_FALSE(dlg.bOpenFileDialog);
        EXPECT_STREQ(dlg.title.GetString(), "Export to DWG");
        EXPECT_STREQ(dlg.fileName.GetString(), suggested.c_str());
        EXPECT_STREQ(dlg.filter.GetString(), "AutoCAD Drawing (*.dwg)|*.dwg|AutoCAD DXF (*.dxf)|*.dxf||");
        if (!r.answer.empty()) {
            EXPECT_EQ(access(r.answer.c_str(), F_OK) == 0, r.written);
        }
        const auto& boxes = CUiDriver::Get().MessageBoxes();
        ASSERT_EQ(boxes.size(), r.boxes);
        if (r.boxes) {
            EXPECT_STREQ(boxes[0].text.GetString(), "输出失败。");
        }
    }
    std::system(("rm -rf " + dir).c_str());
}

// The menu comes up only over the drawing-control window; the list beside it has none.
TEST_F(FigureViewTest, ContextMenuOnlyOverTheDrawing) {
    m_pView->OnUpdate(nullptr, 114, nullptr);  // the list is shown at the left
    ASSERT_TRUE(m_pView->m_bHasLoadCase);
    CRect drawing, list;
    m_pView->m_DrawCtrl.GetWindowRect(&drawing);
    m_pView->m_ListLoadCase.GetWindowRect(&list);
    struct Row {
        const char* label;
        CPoint at;
        UINT choice;
        size_t menus;
        int zoomAlls;
    } rows[] = {
        {"over the drawing, zoom all chosen", drawing.CenterPoint(), ID_FIGURE_ZOOM_ALL, 1, 1},
        {"over the drawing, zoom window chosen", drawing.CenterPoint(), ID_FIGURE_ZOOM_WINDOW, 1, 0},
        {"over the load-case list", list.CenterPoint(), ID_FIGURE_ZOOM_ALL, 0, 0},
        {"outside the view", CPoint(drawing.right + 50, drawing.bottom + 50), ID_FIGURE_ZOOM_ALL, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const size_t menus = CUiDriver::Get().Menus().size();
        const int zooms = m_pView->GetDrawing()->GetZoomAllCount();
        const int windows = m_pView->GetDrawing()->GetZoomWindowCount();
        CUiDriver::Get().QueueMenuChoice(r.choice);
        m_pView->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_pView->GetSafeHwnd()),
                             MAKELPARAM(r.at.x, r.at.y));
        CUiDriver::Get().PumpMessages();
        ASSERT_EQ(CUiDriver::Get().Menus().size() - menus, r.menus);
        if (r.menus) {
            const UiMenuRecord& m = CUiDriver::Get().Menus().back();
            EXPECT_EQ(m.ids, (std::vector<UINT>{42088, 42089, 0, 42090, 42091}));
            EXPECT_STREQ(m.texts[0].GetString(), "全部缩放");
            EXPECT_STREQ(m.texts[4].GetString(), "生成DWG文件");
        } else {
            CUiDriver::Get().TakeMenuChoice();  // the unused answer
        }
        EXPECT_EQ(m_pView->GetDrawing()->GetZoomAllCount() - zooms, r.zoomAlls);
        EXPECT_EQ(m_pView->GetDrawing()->GetZoomWindowCount() - windows,
                  r.menus && r.choice == ID_FIGURE_ZOOM_WINDOW ? 1 : 0);
    }
}

}  // namespace figview
