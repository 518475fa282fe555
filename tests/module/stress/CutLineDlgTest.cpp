// The cutting-line dialog and its graph dialog, driven like a user through CUiDriver: what the
// dialog shows of the settings and the host's cutting-line table, the options it writes at once,
// the lines it adds, edits and deletes, point picking, the keys and closing.
#include <gtest/gtest.h>

#include <string>

#include "host/base/CMouseEdit.h"
#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
#include "host/db/PostDBBuilder.h"
#include "module/engines/CCutlineGraphDetDlg.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "module/engines/CStressEngine.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/CColorWell.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/DialogTemplate.h"

namespace {

class CutLineDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        PVXRegisterResources();
        CUiDriver::Get().Reset();
        CUiDriver::Get().UseVirtualClock(TRUE);
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 4, 0, 0);
        b.AddNode(3, 4, 2, 0);
        b.AddNode(4, 0, 2, 0);
        b.AddElem(1, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        b.AddMemb(1, 301, {1, 2, 3, 4}, {1});
        b.AddCutLine(4, CTLN_KIND_CUTLINE, "Cut-Line #1", 0.0, -1, 1, 0, 5, 1, 0);
        b.AddCutLine(6, CTLN_KIND_STRIP, "Strip-1", 1.0, 1, -1, 0, 1, 3, 0);
        b.AddCutLine(9, CTLN_KIND_CUTLINE, "Cut-Line #3", 0.0, 2, -1, 0, 2, 3, 0);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr));
        m_pView = new CPVXView;  // deletes itself with its window
        ASSERT_TRUE(m_pView->Create(nullptr, "result", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &m_frame,
                                    AFX_IDW_PANE_FIRST));
        I_PVXModel::ResetCutLineDlg();
        CPVXCutLineDetDlg::m_nDirection = 1;
        CPVXCutLineDetDlg::m_crDiagram = RGB(255, 0, 0);
    }
    void TearDown() override {
        for (const CString& e : CUiDriver::Get().Errors()) ADD_FAILURE() << "window layer: " << e;
        m_dlg.reset();
        if (m_pView && m_pView->GetSafeHwnd()) m_pView->DestroyWindow();
        if (m_frame.GetSafeHwnd()) m_frame.DestroyWindow();
        I_PVXModel::ResetCutLineDlg();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
        CUiDriver::Get().Reset();
    }

    I_PVXModel& Model() { return *m_pView->GetPVXModel(); }
    CPVXCutLineDetDlg& Open() {
        if (!m_dlg) m_dlg = std::make_unique<CPVXCutLineDetDlg>(&CPVXCutLineDetDlg::m_arrSelCutLine);
        EXPECT_TRUE(m_dlg->Create(&Model(), 0));
        return *m_dlg;
    }
    CString Text(UINT nID) {
        CString s;
        m_dlg->GetDlgItemText(static_cast<int>(nID), s);
        return s;
    }
    int Checked(UINT nID) { return static_cast<int>(m_dlg->IsDlgButtonChecked(static_cast<int>(nID))); }
    BOOL Enabled(UINT nID) { return m_dlg->GetDlgItem(static_cast<int>(nID))->IsWindowEnabled(); }
    std::vector<UINT> Selected() {
        std::vector<UINT> v;
        for (INT_PTR i = 0; i < CPVXCutLineDetDlg::m_arrSelCutLine.GetSize(); ++i)
            v.push_back(CPVXCutLineDetDlg::m_arrSelCutLine[i]);
        return v;
    }
    size_t Boxes() { return CUiDriver::Get().MessageBoxes().size(); }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    CWnd m_frame;
    CPVXView* m_pView = nullptr;
    std::unique_ptr<CPVXCutLineDetDlg> m_dlg;
};

TEST_F(CutLineDlgTest, OpeningShowsTheSettingsAndTheTablesCuttingLines) {
    CPVXCutLineDetDlg::m_dScaleFactor = 2.5;
    CPVXCutLineDetDlg::m_nDirection = 0;
    CPVXCutLineDetDlg::m_bOutputValues = 0;
    CPVXCutLineDetDlg::m_bOnlyMinMax = 0;
    CPVXCutLineDetDlg::m_bGraph = 1;
    CPVXCutLineDetDlg::m_arrSelCutLine.Add(9);
    CPVXCutLineDetDlg& dlg = Open();
    CString caption;
    dlg.GetWindowText(caption);
    EXPECT_STREQ(caption, "Cutting Line Diagram");
    // The cutting lines of the table, not its strips, each with its key; the selected checked.
    ASSERT_EQ(dlg.m_ListCutLine.GetCount(), 2);
    CString name;
    dlg.m_ListCutLine.GetText(0, name);
    EXPECT_STREQ(name, "Cut-Line #1");
    EXPECT_EQ(dlg.m_ListCutLine.GetItemData(0), 4u);
    EXPECT_EQ(dlg.m_ListCutLine.GetItemData(1), 9u);
    EXPECT_EQ(dlg.m_ListCutLine.GetCheck(0), 0);
    EXPECT_EQ(dlg.m_ListCutLine.GetCheck(1), 1);
    EXPECT_STREQ(Text(IDC_CUT_FACTOR), "2.5");
    EXPECT_EQ(Checked(IDC_CUT_NORMAL), 1);
    EXPECT_EQ(Checked(IDC_CUT_VALUES), 0);
    EXPECT_FALSE(Enabled(IDC_CUT_MINMAX)) << "only with output values";
    EXPECT_EQ(Checked(IDC_CUT_MINMAX), 0) << "shows the setting, not the dialog's own start value";
    EXPECT_EQ(Checked(IDC_CUT_GRAPH), 1);
    // Two entries: the first candidate is #3, which exists, so #4.
    EXPECT_STREQ(Text(IDC_CUT_NAME), "Cut-Line #4");
    ASSERT_NE(CWnd::GetFocus(), nullptr);
    EXPECT_EQ(CWnd::GetFocus()->m_hWnd, dlg.m_EditPt1.m_hWnd);
    EXPECT_EQ(dlg.m_EditPt1.GetPickMode(), CUTLINE_PICK_PT1);
    EXPECT_EQ(dlg.m_WellColor.GetColor(), RGB(255, 0, 0));
}

TEST_F(CutLineDlgTest, OptionsGoIntoTheSettingsAtOnce) {
    CPVXCutLineDetDlg& dlg = Open();
    CUiDialogSession user(&dlg);
    EXPECT_TRUE(user.SetControlText(IDC_CUT_FACTOR, "3.5"));
    EXPECT_EQ(CPVXCutLineDetDlg::m_dScaleFactor, 3.5);
    // Out of -99..99: the class library's message, the setting keeps 3.5.
    EXPECT_TRUE(user.SetControlText(IDC_CUT_FACTOR, "150"));
    ASSERT_EQ(Boxes(), 1u);
    EXPECT_NE(std::string(CUiDriver::Get().MessageBoxes()[0].text).find("between -99 and 99"), std::string::npos);
    EXPECT_EQ(CPVXCutLineDetDlg::m_dScaleFactor, 3.5);
    EXPECT_TRUE(user.SetControlText(IDC_CUT_FACTOR, "-2"));
    EXPECT_EQ(CPVXCutLineDetDlg::m_dScaleFactor, -2.0);

    // Output values off: the extremes switch is disabled but keeps its check.
    ASSERT_EQ(Checked(IDC_CUT_MINMAX), 1);
    EXPECT_TRUE(user.SetCheck(IDC_CUT_VALUES, BST_UNCHECKED));
    EXPECT_EQ(CPVXCutLineDetDlg::m_bOutputValues, 0);
    EXPECT_FALSE(Enabled(IDC_CUT_MINMAX));
    EXPECT_EQ(Checked(IDC_CUT_MINMAX), 1);
    EXPECT_TRUE(user.SetCheck(IDC_CUT_VALUES, BST_CHECKED));
    EXPECT_EQ(CPVXCutLineDetDlg::m_bOutputValues, 1);
    EXPECT_TRUE(Enabled(IDC_CUT_MINMAX));
    EXPECT_TRUE(user.SetCheck(IDC_CUT_MINMAX, BST_UNCHECKED));
    EXPECT_EQ(CPVXCutLineDetDlg::m_bOnlyMinMax, 0);
    EXPECT_TRUE(user.SetCheck(IDC_CUT_GRAPH, BST_CHECKED));
    EXPECT_EQ(CPVXCutLineDetDlg::m_bGraph, 1);
    EXPECT_TRUE(user.SetCheck(IDC_CUT_NORMAL, BST_CHECKED));
    EXPECT_EQ(CPVXCutLineDetDlg::m_nDirection, 0);
    EXPECT_TRUE(user.SetCheck(IDC_CUT_INPLANE, BST_CHECKED));
    EXPECT_EQ(CPVXCutLineDetDlg::m_nDirection, 1);
    // A colour picked in the well becomes the diagram colour.
    EXPECT_TRUE(CColorWell::UserPick(dlg.GetDlgItem(IDC_CUT_COLOR)->m_hWnd, RGB(0, 128, 255)));
    EXPECT_EQ(CPVXCutLineDetDlg::m_crDiagram, RGB(0, 128, 255));
    EXPECT_EQ(dlg.m_crColor, RGB(0, 128, 255));
    EXPECT_EQ(Boxes(), 1u);
}

TEST_F(CutLineDlgTest, GraphDialogWritesBackOnOkOnly) {
    CPVXCutLineDetDlg::m_nGraphXAxis = 2;
    CPVXCutLineDetDlg::m_nGraphMode = 0;
    CPVXCutLineDetDlg& dlg = Open();
    CUiDialogSession user(&dlg);
    int shownAxis = -1, shownMode = -1;
    CUiDriver::Get().QueueModal(IDD_PVX_CUTLINE_GRAPH, {[&](CUiDialogSession& s) {
        shownAxis = s.Dialog()->GetCheckedRadioButton(IDC_CUTG_X_DISTANCE, IDC_CUTG_X_GLOBAL_Z);
        shownMode = s.Dialog()->GetCheckedRadioButton(IDC_CUTG_PER_ELEMENT, IDC_CUTG_ONLY_ONE);
        s.SetCheck(IDC_CUTG_X_GLOBAL_X);
        s.SetCheck(IDC_CUTG_ONLY_ONE);
        return IDCANCEL;
    }});
    EXPECT_TRUE(user.ClickButton(IDC_CUT_GRAPH_MORE));
    EXPECT_EQ(shownAxis, static_cast<int>(IDC_CUTG_X_GLOBAL_Y)) << "the dialog shows the settings";
    EXPECT_EQ(shownMode, static_cast<int>(IDC_CUTG_PER_ELEMENT));
    EXPECT_EQ(CPVXCutLineDetDlg::m_nGraphXAxis, 2) << "cancelled";
    EXPECT_EQ(CPVXCutLineDetDlg::m_nGraphMode, 0);

    CUiDriver::Get().QueueModal(IDD_PVX_CUTLINE_GRAPH, {[&](CUiDialogSession& s) {
        s.SetCheck(IDC_CUTG_X_GLOBAL_X);
        s.SetCheck(IDC_CUTG_ONLY_ONE);
        return IDOK;
    }});
    EXPECT_TRUE(user.ClickButton(IDC_CUT_GRAPH_MORE));
    EXPECT_EQ(CPVXCutLineDetDlg::m_nGraphXAxis, 1);
    EXPECT_EQ(CPVXCutLineDetDlg::m_nGraphMode, 1);
}

TEST_F(CutLineDlgTest, LinesAreAddedEditedAndDeletedInTheTableAndTheSelection) {
    CPVXCutLineDetDlg& dlg = Open();
    CUiDialogSession user(&dlg);
    CClassCtln table;
    table.ConnectToDB(m_doc.GetMDBCtrl()->GetDBPost());

    // Refusals, each with a message and nothing added.
    struct Refusal {
        const char* label;
        const char* name;
        const char* p1;
        const char* p2;
    } refusals[] = {
        {"no name", "  ", "0, 1, 0", "4, 1, 0"},
        {"a name the table has", "Cut-Line #3", "0, 1, 0", "4, 1, 0"},
        {"point 1 not a point", "A", "node 3", "4, 1, 0"},
        {"the same point twice", "A", "1, 1, 0", "1, 1"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.label);
        const size_t before = Boxes();
        user.SetControlText(IDC_CUT_NAME, r.name);
        user.SetControlText(IDC_CUT_PT1, r.p1);
        user.SetControlText(IDC_CUT_PT2, r.p2);
        EXPECT_TRUE(user.ClickButton(IDC_CUT_ADD));
        EXPECT_EQ(Boxes(), before + 1);
        EXPECT_EQ(table.GetCount(), 3);
        EXPECT_EQ(dlg.m_ListCutLine.GetCount(), 2);
    }

    // Added: key 10 (one more than the largest), listed, checked and selected for drawing.
    user.SetControlText(IDC_CUT_NAME, "North");
    user.SetControlText(IDC_CUT_PT1, "0, 1, 0");
    user.SetControlText(IDC_CUT_PT2, "4, 1.5, 0");
    EXPECT_TRUE(user.ClickButton(IDC_CUT_ADD));
    T_CTLN_D line;
    ASSERT_TRUE(table.Get(10, line));
    EXPECT_STREQ(line.name, "North");
    EXPECT_EQ(line.kind, CTLN_KIND_CUTLINE);
    EXPECT_EQ(line.y2, 1.5);
    ASSERT_EQ(dlg.m_ListCutLine.GetCount(), 3);
    EXPECT_EQ(dlg.m_ListCutLine.GetItemData(2), 10u);
    EXPECT_EQ(dlg.m_ListCutLine.GetCheck(2), 1);
    EXPECT_EQ(Selected(), std::vector<UINT>{10});
    EXPECT_STREQ(Text(IDC_CUT_NAME), "Cut-Line #4");

    // The engines build the selected line from the table.
    Model().m_pStressEngine = new CStressEngine(&Model());
    Model().m_pStressEngine->m_arrElemKey.Add(1);
    Model().m_pStressEngine->MakeCuttingLineData();
    ASSERT_EQ(Model().m_pStressEngine->m_arrCutLine.GetSize(), 1);
    EXPECT_STREQ(Model().m_pStressEngine->m_arrCutLine[0].strName, "North");

    // Checks select in the order the user checks.
    EXPECT_TRUE(user.ToggleCheckListItem(IDC_CUT_LIST, 0));
    EXPECT_EQ(Selected(), (std::vector<UINT>{10, 4}));
    EXPECT_TRUE(user.ToggleCheckListItem(IDC_CUT_LIST, 2));
    EXPECT_EQ(Selected(), std::vector<UINT>{4});

    // A selected entry shows its line; editing it renames it in place and keeps its check.
    EXPECT_TRUE(user.SelectListIndex(IDC_CUT_LIST, 0));
    EXPECT_STREQ(Text(IDC_CUT_NAME), "Cut-Line #1");
    EXPECT_STREQ(Text(IDC_CUT_PT1), "-1, 1, 0");
    EXPECT_STREQ(Text(IDC_CUT_PT2), "5, 1, 0");
    user.SetControlText(IDC_CUT_NAME, "South");
    user.SetControlText(IDC_CUT_PT2, "5, 0.5, 0");
    EXPECT_TRUE(user.ClickButton(IDC_CUT_EDIT));
    ASSERT_TRUE(table.Get(4, line));
    EXPECT_STREQ(line.name, "South");
    EXPECT_EQ(line.y2, 0.5);
    CString name;
    dlg.m_ListCutLine.GetText(0, name);
    EXPECT_STREQ(name, "South");
    EXPECT_EQ(dlg.m_ListCutLine.GetCheck(0), 1);
    // Another line's name is refused.
    const size_t before = Boxes();
    user.SetControlText(IDC_CUT_NAME, "North");
    EXPECT_TRUE(user.ClickButton(IDC_CUT_EDIT));
    EXPECT_EQ(Boxes(), before + 1);
    ASSERT_TRUE(table.Get(4, line));
    EXPECT_STREQ(line.name, "South");

    // Deleted: gone from the table, the list and the selection.
    EXPECT_TRUE(user.ClickButton(IDC_CUT_DELETE));
    EXPECT_FALSE(table.Exist(4));
    EXPECT_EQ(dlg.m_ListCutLine.GetCount(), 2);
    EXPECT_TRUE(Selected().empty());
    // Nothing selected: a message, nothing deleted.
    EXPECT_TRUE(user.ClickButton(IDC_CUT_DELETE));
    EXPECT_EQ(Boxes(), before + 2);
    EXPECT_EQ(table.GetCount(), 3);
}

TEST_F(CutLineDlgTest, LinesAddedWithoutTheWindowAreNamedAndSelectedAlike) {
    // Two cutting lines in the table (the strip does not count): #3 exists, so #4.
    EXPECT_STREQ(CPVXCutLineDetDlg::ProposeNameInTable(), "Cut-Line #4");
    const double p1[3] = {0, 0.5, 0}, p2[3] = {4, 0.5, 0};
    EXPECT_EQ(CPVXCutLineDetDlg::AddSelectedLine("Cut-Line #4", p1, p2), 10u);
    EXPECT_EQ(Selected(), std::vector<UINT>{10});
    EXPECT_STREQ(CPVXCutLineDetDlg::ProposeNameInTable(), "Cut-Line #5");
    EXPECT_EQ(CPVXCutLineDetDlg::AddSelectedLine("Cut-Line #4", p1, p2), 0u) << "the name is taken";
    EXPECT_EQ(Selected(), std::vector<UINT>{10});
    // The dialog lists it, checked.
    CPVXCutLineDetDlg& dlg = Open();
    ASSERT_EQ(dlg.m_ListCutLine.GetCount(), 3);
    EXPECT_EQ(dlg.m_ListCutLine.GetCheck(2), 1);
}

TEST_F(CutLineDlgTest, PointOneThenPointTwoArePickedInTheView) {
    CPVXCutLineDetDlg& dlg = Open();
    T_PICKED_OBJECT node;
    node.nType = PICKED_NODE;
    node.nKey = 3;
    node.pos = C3DPoint(4, 2, 0);
    EXPECT_TRUE(CMouseEdit::PickInModelView(node));
    EXPECT_STREQ(Text(IDC_CUT_PT1), "4, 2, 0") << "a node gives its position";
    EXPECT_EQ(dlg.m_EditPt2.GetPickMode(), CUTLINE_PICK_PT2);
    EXPECT_EQ(CWnd::GetFocus()->m_hWnd, dlg.m_EditPt2.m_hWnd);
    T_PICKED_OBJECT point;
    point.nType = PICKED_POINT;
    point.pos = C3DPoint(-1.5, 0.25, 0);
    EXPECT_TRUE(CMouseEdit::PickInModelView(point));
    EXPECT_STREQ(Text(IDC_CUT_PT2), "-1.5, 0.25, 0");
    EXPECT_EQ(dlg.m_EditPt2.GetPickMode(), 0);
    EXPECT_FALSE(CMouseEdit::PickInModelView(point)) << "picking ended";
}

TEST_F(CutLineDlgTest, KeysStayInTheDialogAndClosingKeepsTheObject) {
    CPVXCutLineDetDlg& dlg = Open();
    CUiDialogSession user(&dlg);
    user.SetControlText(IDC_CUT_FACTOR, "4");
    CWnd* pFactor = dlg.GetDlgItem(IDC_CUT_FACTOR);
    pFactor->PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    pFactor->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    AfxPumpMessages();
    EXPECT_TRUE(dlg.GetSafeHwnd() && dlg.IsWindowVisible()) << "Enter and Escape close nothing";
    EXPECT_EQ(CPVXCutLineDetDlg::m_dScaleFactor, 4.0);

    dlg.SendMessage(WM_CLOSE);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    // The object stays and opens again, showing the settings as they are now.
    CPVXCutLineDetDlg::m_bOnlyMinMax = 0;
    Open();
    EXPECT_STREQ(Text(IDC_CUT_FACTOR), "4");
    EXPECT_EQ(Checked(IDC_CUT_MINMAX), 0);
    EXPECT_EQ(dlg.m_ListCutLine.GetCount(), 2);
}

}  // namespace
