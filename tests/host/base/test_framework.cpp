// The host's framework bases: the main frame and the docking bar recording what modules ask,
// the point-picking edit, the current host model and the model callback defaults.
#include <gtest/gtest.h>

#include <vector>

#include "host/base/CDockDlgBarBase.h"
#include "host/base/CHostRequestLog.h"
#include "host/base/CMouseEdit.h"
#include "host/base/CViewBase.h"
#include "host/base/I_MainFrameBase.h"
#include "host/base/I_ModelBase.h"
#include "host/base/I_PVXModelBase.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/CWinApp.h"

namespace {

std::vector<int> Kinds() {
    std::vector<int> k;
    for (const CHostRequest& r : CHostRequestLog::GetAll()) k.push_back(r.nKind);
    return k;
}

TEST(MainFrameTest, RecordsCommandsPanelsAndTreeItems) {
    CHostRequestLog::Clear();
    // Requests made while no frame exists are still recorded.
    I_MainFrameBase::CloseFigureDlg();
    EXPECT_EQ(Kinds(), (std::vector<int>{HR_CLOSE_FIGURE_DLG}));

    I_MainFrameBase* frame = new I_MainFrameBase;
    ASSERT_TRUE(frame->Create(nullptr, "pvxhost", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600)));
    EXPECT_EQ(I_MainFrameBase::m_pMyself, frame);
    AfxGetApp()->m_pMainWnd = frame;
    CHostRequestLog::Clear();

    // A result-table command sent and one posted; the low word of lParam is kept.
    AfxGetMainWnd()->SendMessage(WM_COMMAND, MAKEWPARAM(33160, 0), 1);
    AfxGetMainWnd()->PostMessage(WM_COMMAND, MAKEWPARAM(42091, 0), 0);
    EXPECT_EQ(CHostRequestLog::CountOfKind(HR_COMMAND), 1) << "posted commands wait for the queue";
    CUiDriver::Get().PumpMessages();
    I_MainFrameBase::CreateFigureDlg();
    EXPECT_TRUE(I_MainFrameBase::IsFigureDlgOpen());
    I_MainFrameBase::SetFigureTreeItem();
    const int top = I_MainFrameBase::AddFigureTreeItem("桩基础", 0);
    const int sub = I_MainFrameBase::AddFigureTreeItem("桩反力", top);
    EXPECT_EQ(top, 1);
    EXPECT_EQ(sub, 2);
    ASSERT_EQ(I_MainFrameBase::GetFigureTreeItems().size(), 2u);
    EXPECT_EQ(I_MainFrameBase::GetFigureTreeItems()[1].parent, top);
    I_MainFrameBase::CloseFigureDlg();
    EXPECT_FALSE(I_MainFrameBase::IsFigureDlgOpen());
    I_MainFrameBase::CloseFigureTree();
    I_MainFrameBase::CloseDesignTree();
    EXPECT_TRUE(I_MainFrameBase::GetFigureTreeItems().empty()) << "closing the tree forgets its items";
    EXPECT_EQ(I_MainFrameBase::AddFigureTreeItem("again", 0), 1) << "a new tree numbers from 1";
    I_MainFrameBase::CloseFigureTree();

    const std::vector<CHostRequest> all = CHostRequestLog::GetAll();
    const std::vector<int> want = {HR_COMMAND,        HR_COMMAND,           HR_CREATE_FIGURE_DLG,    HR_SET_FIGURE_TREE,
                                   HR_ADD_FIGURE_TREE_ITEM, HR_ADD_FIGURE_TREE_ITEM, HR_CLOSE_FIGURE_DLG, HR_CLOSE_FIGURE_TREE,
                                   HR_CLOSE_DESIGN_TREE, HR_ADD_FIGURE_TREE_ITEM, HR_CLOSE_FIGURE_TREE};
    EXPECT_EQ(Kinds(), want);
    ASSERT_GE(all.size(), 6u);
    EXPECT_EQ(all[0].nId, 33160);
    EXPECT_EQ(all[0].nArg, 1);
    EXPECT_EQ(all[1].nId, 42091);
    EXPECT_EQ(all[5].text, "桩反力");
    EXPECT_EQ(all[5].nArg, top);

    AfxGetApp()->m_pMainWnd = nullptr;
    frame->DestroyWindow();  // the frame deletes itself
    EXPECT_EQ(I_MainFrameBase::m_pMyself, nullptr);
}

class CountingBar : public CDockDlgBarBase {
public:
    std::vector<int> shown;
    int closed = 0;

protected:
    BOOL OnShowBarMode(int nMode, int nOption) override {
        shown.push_back(nMode);
        return nMode != 9999;  // a result id this host has no bar for
    }
    void OnCloseBar() override { ++closed; }
};

TEST(DockBarTest, TracksTheShownResultAndRecordsRequests) {
    CHostRequestLog::Clear();
    EXPECT_EQ(CDockDlgBarBase::GetDlgBarMode(), -1);
    CDockDlgBarBase::ShowDlgBarMode(7101, 0);
    EXPECT_EQ(CDockDlgBarBase::GetDlgBarMode(), 7101);
    CDockDlgBarBase::CloseDlgBar();
    EXPECT_EQ(CDockDlgBarBase::GetDlgBarMode(), -1);
    {
        CountingBar bar;
        EXPECT_EQ(CDockDlgBarBase::m_pMyself, &bar);
        CDockDlgBarBase::ShowDlgBarMode(7201, 0);
        CDockDlgBarBase::ShowDlgBarMode(7305, 1);
        EXPECT_EQ(CDockDlgBarBase::GetDlgBarMode(), 7305);
        CDockDlgBarBase::ShowDlgBarMode(9999, 0);
        EXPECT_EQ(CDockDlgBarBase::GetDlgBarMode(), -1) << "a bar that cannot open stays closed";
        CDockDlgBarBase::CloseDlgBar();
        EXPECT_EQ(bar.shown, (std::vector<int>{7201, 7305, 9999}));
        EXPECT_EQ(bar.closed, 1);
    }
    EXPECT_EQ(CDockDlgBarBase::m_pMyself, nullptr);
    const std::vector<CHostRequest> all = CHostRequestLog::GetAll();
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[0].nKind, HR_SHOW_DLGBAR);
    EXPECT_EQ(all[1].nKind, HR_CLOSE_DLGBAR);
    EXPECT_EQ(all[1].nId, 7101) << "a close names the result it closed";
    EXPECT_EQ(all[3].nArg, 1);
    EXPECT_EQ(all[5].nKind, HR_CLOSE_DLGBAR);
    EXPECT_EQ(all[5].nId, -1) << "nothing was open after the refused result";
}

// A page that hears the pick edit's messages.
class PickPage : public CWnd {
public:
    struct Heard {
        UINT message;
        WPARAM id;
        CMouseEdit* edit;
    };
    std::vector<Heard> heard;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == CMouseEdit::WM_LBUTTONDOWN_FROM_MVIEW || message == CMouseEdit::WM_MOUSEMOVE_FROM_MVIEW ||
            message == CMouseEdit::WM_MOUSEEDITESCAPE) {
            heard.push_back({message, wParam, reinterpret_cast<CMouseEdit*>(lParam)});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(MouseEditTest, PicksGoToTheCurrentEditAndItsPage) {
    PickPage page;
    ASSERT_TRUE(page.CreateEx(0, nullptr, "page", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
    CMouseEdit first, second;
    ASSERT_TRUE(first.Create(WS_CHILD, CRect(0, 0, 80, 20), &page, 11570));
    ASSERT_TRUE(second.Create(WS_CHILD, CRect(0, 30, 80, 50), &page, 11571));
    for (CMouseEdit* e : {&first, &second}) {
        e->SetAttUcsPos();
        e->SetXYOnlyMode(1);
        e->SetNotifyWnd(&page, &page, &page);
        e->SetWindowText("0, 0");
    }
    EXPECT_FALSE(CMouseEdit::PickInModelView(T_PICKED_OBJECT{}, FALSE)) << "nobody is picking";

    first.SetPickMode(CMouseEdit::PICK_MODE_POINT);
    T_PICKED_OBJECT pt;
    pt.nType = PICKED_POINT;
    pt.pos = C3DPoint(3.5, -2, 7);
    ASSERT_TRUE(CMouseEdit::PickInModelView(pt, FALSE));
    ASSERT_EQ(page.heard.size(), 1u);
    EXPECT_EQ(page.heard[0].message, CMouseEdit::WM_LBUTTONDOWN_FROM_MVIEW);
    EXPECT_EQ(page.heard[0].id, 11570u);
    EXPECT_EQ(page.heard[0].edit, &first);
    double x = 0, y = 0, z = 9;
    EXPECT_TRUE(first.GetPosition(x, y, z));
    EXPECT_EQ(x, 3.5);
    EXPECT_EQ(y, -2.0);
    EXPECT_EQ(z, 0.0) << "plane-only picking drops the height";
    T_PICKED_OBJECT got;
    ASSERT_TRUE(CMouseEdit::GetCurPickedPVXObjectDataST(got));
    EXPECT_EQ(got.nType, PICKED_POINT);
    EXPECT_EQ(got.pos.z, 0.0);

    // The second edit takes over; moves report the cursor and whether a key was held.
    second.SetPickMode(CMouseEdit::PICK_MODE_POINT);
    EXPECT_EQ(CMouseEdit::GetCurPickingEditST(), &second);
    ASSERT_TRUE(CMouseEdit::MoveInModelView(C3DPoint(1, 2, 3), TRUE));
    EXPECT_TRUE(second.IsKeyPressed());
    C3DPoint cursor;
    ASSERT_TRUE(CMouseEdit::GetCurCursorPosST(cursor));
    EXPECT_EQ(cursor.x, 1.0);
    T_PICKED_OBJECT node;
    node.nType = PICKED_NODE;
    node.nKey = 1207;
    ASSERT_TRUE(CMouseEdit::PickInModelView(node, FALSE));
    CString text;
    second.GetWindowText(text);
    EXPECT_STREQ(static_cast<LPCTSTR>(text), "1207");
    ASSERT_TRUE(CMouseEdit::EscapeInModelView());
    EXPECT_FALSE(CMouseEdit::GetCurPickedPVXObjectDataST(got)) << "Escape forgets the pick";
    ASSERT_EQ(page.heard.size(), 4u);
    EXPECT_EQ(page.heard[1].message, CMouseEdit::WM_MOUSEMOVE_FROM_MVIEW);
    EXPECT_EQ(page.heard[3].message, CMouseEdit::WM_MOUSEEDITESCAPE);
    EXPECT_EQ(page.heard[3].edit, &second);
    second.SetPickMode(0);
    EXPECT_EQ(CMouseEdit::GetCurPickingEditST(), nullptr);

    // Texts GetPosition accepts and refuses.
    struct Row {
        const char* text;
        BOOL ok;
        double x, y, z;
    } rows[] = {
        {"1.5, 2", TRUE, 1.5, 2, 0},      {" -1 ,2 , 3.25", TRUE, -1, 2, 3.25}, {"1e3,0", TRUE, 1000, 0, 0},
        {"5", FALSE, 0, 0, 0},            {"1, 2, 3, 4", FALSE, 0, 0, 0},      {"1,", FALSE, 0, 0, 0},
        {"a, b", FALSE, 0, 0, 0},         {"1 2", FALSE, 0, 0, 0},             {"", FALSE, 0, 0, 0},
        {"nan, 1", FALSE, 0, 0, 0},       {"1, 2x", FALSE, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        first.SetWindowText(r.text);
        double a = -9, b = -9, c = -9;
        EXPECT_EQ(first.GetPosition(a, b, c), r.ok);
        if (r.ok) {
            EXPECT_EQ(a, r.x);
            EXPECT_EQ(b, r.y);
            EXPECT_EQ(c, r.z);
        } else {
            EXPECT_EQ(a, -9.0) << "outputs stay as they were";
        }
    }
    first.DestroyWindow();
    second.DestroyWindow();
    page.DestroyWindow();
}

class RecordingModel : public I_PVXModelBase {
public:
    std::vector<UINT> nodeFlags, memberFlags;
    void PV_OnActiveDeActiveChangeByFlag(CArray<UINT, UINT>&, CArray<UINT, UINT>&, CArray<UINT, UINT>& nf,
                                         CArray<UINT, UINT>& mf) override {
        nodeFlags.assign(nf.GetData(), nf.GetData() + nf.GetSize());
        memberFlags.assign(mf.GetData(), mf.GetData() + mf.GetSize());
    }
};

TEST(ModelBaseTest, CallbackDefaultsAndTheCurrentHostModel) {
    RecordingModel model;
    I_PVXModelBase& base = model;
    CArray<UINT, UINT> nodes, members;
    nodes.Add(4);
    nodes.Add(9);
    members.Add(12);
    base.PV_OnActiveDeActiveChange(nodes, members);
    EXPECT_EQ(model.nodeFlags, (std::vector<UINT>{1, 1})) << "the base passes every key on as active";
    EXPECT_EQ(model.memberFlags, (std::vector<UINT>{1}));
    // Queries nobody answers say so and touch nothing.
    int nodeType = 5, objType = 6;
    EXPECT_EQ(base.RE_GetNode_ElemTypeByCDBDocSelection(nodeType, objType), 0);
    EXPECT_EQ(nodeType, 5);
    EXPECT_EQ(objType, 6);
    EXPECT_EQ(base.RE_GetRangeModel(nullptr, nullptr), 0);
    EXPECT_EQ(base.RE_GetNormalSumTol(), 0.0);
    EXPECT_TRUE(base.PV_OnDynViewPreDraw(nullptr));
    EXPECT_FALSE(base.PV_OnPreparePrinting(nullptr));
    CStringArray tip;
    base.PV_OnToolTip(1, 2, tip);
    EXPECT_EQ(tip.GetSize(), 0);

    EXPECT_EQ(I_ModelBase::GetCurMySelfST(), nullptr);
    CHostRequestLog::Clear();
    {
        I_ModelBase hostModel;
        I_ModelBase::SetCurMySelfST(&hostModel);
        EXPECT_EQ(I_ModelBase::GetCurMySelfST(), &hostModel);
        CArray<C3DPoint, C3DPoint&> line;
        C3DPoint a(0, 0, 0), b(6, 0, 0);
        line.Add(a);
        line.Add(b);
        I_ModelBase::GetCurMySelfST()->BeginStripDraw();
        I_ModelBase::GetCurMySelfST()->AddStrip("S1", line, 0);
        I_ModelBase::GetCurMySelfST()->SelectStrip(-1, 1);
        I_ModelBase::GetCurMySelfST()->EndStripDraw();
    }
    EXPECT_EQ(I_ModelBase::GetCurMySelfST(), nullptr) << "a destroyed model is no longer current";
    const std::vector<CHostRequest> all = CHostRequestLog::GetOfKind(HR_MODEL_REQUEST);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[1].text, "strip S1");
    EXPECT_EQ(all[1].nArg, 2);
    EXPECT_EQ(all[2].nId, -1);
    EXPECT_EQ(all[2].nArg, 1);
}

TEST(ViewBaseTest, IsAViewByRunTimeClass) {
    const CRuntimeClass* rc = RUNTIME_CLASS(CViewBase);
    ASSERT_NE(rc, nullptr);
    EXPECT_STREQ(rc->m_lpszClassName, "CViewBase");
    EXPECT_TRUE(rc->IsDerivedFrom(RUNTIME_CLASS(CView)));
    EXPECT_TRUE(RUNTIME_CLASS(I_MainFrameBase)->IsDerivedFrom(RUNTIME_CLASS(CFrameWnd)));
    EXPECT_TRUE(RUNTIME_CLASS(CDockDlgBarBase)->IsDerivedFrom(RUNTIME_CLASS(CControlBar)));
}

}  // namespace
