// The render view base: paint order, tool tips and picking through window messages, text
// display heights; and the control's window-side services (Escape polling, menu accelerators).
#include <gtest/gtest.h>

#include "host/grx/CTipView.h"
#include "platform/gdi/CRecordDC.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CUiDriver.h"
#include "tests/host/grx/GrxTestModel.h"

namespace {

// A model that renders its members as lines into the control's memory image and answers tips.
class ViewModel : public GrxTestModel {
public:
    I_PVXCtrl* m_pCtrl = nullptr;
    int m_nRenders = 0;
    std::vector<std::pair<int, int>> m_picks;
    std::vector<std::pair<UINT, UINT>> m_tipAsks;
    CDC* m_pLive = nullptr;  // a window DC the members are also copied onto while drawn, as live progress

    void PV_OnRedrawOnly() override {
        ++m_nRenders;
        m_pCtrl->BeginDrawToMemDC(false);
        CDC* dc = m_pCtrl->GetMemDC();
        for (auto& kv : m_members) {
            m_pCtrl->DrawLine3D(dc, m_nodes[kv.second.first], m_nodes[kv.second.second], 0.0);
            if (m_pLive)
                m_pCtrl->DrawLine3DOnClientWindow(m_pLive, m_nodes[kv.second.first], m_nodes[kv.second.second], 0.0);
        }
        m_pCtrl->EndDrawToMemDC(false);
    }
    void PV_OnViewPointChange() override { PV_OnRedrawOnly(); }
    void PV_OnPickingObject(int nType, int nKey) override { m_picks.emplace_back(nType, nKey); }
    void PV_OnToolTip(UINT node, UINT memb, CStringArray& lines) override {
        m_tipAsks.emplace_back(node, memb);
        CString s;
        s.Format("Node:%u Memb:%u", node, memb);
        lines.Add(s);
        lines.Add(CString("second line"));
    }
};

class TestView : public CTipView {
public:
    using CTipView::m_ctrl;
};

struct ViewFixture : testing::Test {
    ViewModel model;
    CWnd frame;
    TestView* view = nullptr;
    void SetUp() override {
        CUiDriver::Get().Reset();
        model.m_nodes[1] = C3DPoint(0, 0, 0);
        model.m_nodes[2] = C3DPoint(0, 0, 6);
        model.m_nodes[3] = C3DPoint(10, 0, 0);
        model.m_nodes[4] = C3DPoint(10, 0, 6);
        model.m_members[1] = {1, 2};
        model.m_members[2] = {3, 4};
        ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr));
        view = new TestView;  // deletes itself when its window goes
        if (!view->Create(nullptr, "result", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &frame, 1)) {
            delete view;
            view = nullptr;
            FAIL() << "the view window was not made";
        }
        model.m_pCtrl = view->GetI_PVXCtrl();
        model.m_pCtrl->SetI_PVXModel(&model);
        model.RegisterAll(*model.m_pCtrl);
        model.m_pCtrl->UpdateAllWcsVcsMBR();
        for (auto& kv : model.m_members) {
            GRE_Atom a(I_PVXCtrl::kObjectIDFirst, kv.first);
            model.m_pCtrl->QTreeAdd(a);
        }
        for (auto& kv : model.m_nodes) {
            GRE_Atom a(I_PVXCtrl::kNodeIDFirst, kv.first);
            model.m_pCtrl->QTreeAdd(a);
        }
        model.m_pCtrl->GetCamera().SetStandardView(GViewCamera::VIEW_FRONT);
    }
    void TearDown() override {
        if (view) view->DestroyWindow();
        if (frame.GetSafeHwnd()) frame.DestroyWindow();
        CUiDriver::Get().Reset();
    }
};

// The view sizes its control, renders through the model only when the image is stale, and
// always lets the model draw on the window after the image.
TEST_F(ViewFixture, PaintRendersWhenStaleThenModelDrawsOnWindow) {
    EXPECT_EQ(view->GetI_PVXCtrl()->GetClientRect(), CRect(0, 0, 400, 300));
    view->ZoomAll();
    EXPECT_EQ(model.m_nRenders, 1) << "a new view point redraws";
    EXPECT_TRUE(view->GetI_PVXCtrl()->IsZoomAllState());
    CRecordDC win;
    ASSERT_TRUE(win.Create(400, 300));
    view->OnDraw(&win);
    EXPECT_EQ(model.m_nRenders, 1) << "the image was current: copied, not redrawn";
    EXPECT_EQ(model.m_nDrawCalls, 1);
    const CPoint mid = view->GetI_PVXCtrl()->GetWorldToWindowP2D(C3DPoint(10, 0, 3));
    EXPECT_EQ(win.GetPixel(mid.x, mid.y), RGB(0, 0, 0)) << "member line copied to the window";
    view->GetI_PVXCtrl()->ViewPan(5, 0);
    view->OnDraw(&win);
    EXPECT_EQ(model.m_nRenders, 2) << "a moved picture is rendered again";
    EXPECT_EQ(model.m_nDrawCalls, 2);
    // Resizing the window follows into the control and refits a zoomed-all view.
    view->GetI_PVXCtrl()->ViewZoomAll(0);
    view->MoveWindow(0, 0, 600, 200);
    EXPECT_EQ(view->GetI_PVXCtrl()->GetClientRect(), CRect(0, 0, 600, 200));
    const CPoint c = view->GetI_PVXCtrl()->GetWorldToWindowP2D(C3DPoint(5, 0, 3));
    EXPECT_NEAR(c.x, 300, 1);
    EXPECT_NEAR(c.y, 100, 1);
}

// While the image is drawn anew, the model's live copies on the window are left out when the
// image is copied over the whole window right after, and drawn when only part of it is painted.
TEST_F(ViewFixture, LiveCopiesOnTheWindowAreLeftOutWhereTheImageCoversThem) {
    struct Row {
        const char* label;
        CRect paint;   // the paint DC's clip
        size_t lines;  // live copies drawn on the window
    } rows[] = {
        {"the whole window painted", CRect(0, 0, 400, 300), 0},
        {"its left half painted", CRect(0, 0, 200, 300), 2},
    };
    // The lines the paint draws itself after the image (the view-point icon).
    size_t own = 0;
    {
        CRecordDC win;
        ASSERT_TRUE(win.Create(400, 300));
        view->GetI_PVXCtrl()->InvalidateImage();
        view->OnDraw(&win);
        own = win.GetRecords("LineTo").size();
    }
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CRecordDC win;
        ASSERT_TRUE(win.Create(400, 300));
        win.IntersectClipRect(&r.paint);
        model.m_pLive = &win;
        view->GetI_PVXCtrl()->InvalidateImage();
        view->OnDraw(&win);
        model.m_pLive = nullptr;
        EXPECT_EQ(win.GetRecords("LineTo").size(), own + r.lines);
        EXPECT_EQ(win.GetRecords("BitBlt").size(), 1u) << "the image is copied either way";
    }
    // Outside painting every copy is drawn.
    CRecordDC win;
    ASSERT_TRUE(win.Create(400, 300));
    view->GetI_PVXCtrl()->DrawLine3DOnClientWindow(&win, model.m_nodes[1], model.m_nodes[2], 0.0);
    EXPECT_EQ(win.GetRecords("LineTo").size(), 1u);
}

// Mouse moves ask the model for tip lines of the node and member under the cursor; a click
// picks and selects.
TEST_F(ViewFixture, MouseGivesTipsAndPicks) {
    view->GetI_PVXCtrl()->ViewZoomAll(0);
    I_PVXCtrl* ctrl = view->GetI_PVXCtrl();
    const CPoint onMemb2 = ctrl->GetWorldToWindowP2D(C3DPoint(10, 0, 3));
    const CPoint onNode1 = ctrl->GetWorldToWindowP2D(C3DPoint(0, 0, 0));
    const CPoint empty = ctrl->GetWorldToWindowP2D(C3DPoint(5, 0, 3));
    CUiDriver::Get().SendMouse(view, WM_MOUSEMOVE, onMemb2);
    EXPECT_EQ(view->GetTipMembKey(), 2u);
    EXPECT_EQ(view->GetTipNodeKey(), 0u);
    EXPECT_EQ(view->GetTipText(), CString("Node:0 Memb:2\nsecond line"));
    CUiDriver::Get().SendMouse(view, WM_MOUSEMOVE, onNode1);
    EXPECT_EQ(view->GetTipNodeKey(), 1u);
    EXPECT_EQ(view->GetTipMembKey(), 1u) << "the node lies on member 1";
    const size_t asked = model.m_tipAsks.size();
    CUiDriver::Get().SendMouse(view, WM_MOUSEMOVE, empty);
    EXPECT_TRUE(view->GetTipText().IsEmpty());
    EXPECT_EQ(model.m_tipAsks.size(), asked) << "nothing under the cursor: the model is not asked";

    CUiDriver::Get().SendMouse(view, WM_LBUTTONDOWN, onMemb2);
    ASSERT_EQ(model.m_picks.size(), 1u);
    EXPECT_EQ(model.m_picks[0], std::make_pair(I_PVXCtrl::kObjectIDFirst, 2));
    EXPECT_TRUE(ctrl->FindObject(I_PVXCtrl::kObjectIDFirst, 2)->selected);
    CUiDriver::Get().SendMouse(view, WM_LBUTTONDOWN, empty);
    EXPECT_EQ(model.m_picks.size(), 1u);
    ctrl->UnselectAllObject();
    EXPECT_FALSE(ctrl->FindObject(I_PVXCtrl::kObjectIDFirst, 2)->selected);
}

TEST_F(ViewFixture, InitialViewAndTextHeights) {
    view->GetI_PVXCtrl()->SetDynamicViewMode(1);
    view->GetI_PVXCtrl()->XGR_SetRebuildGeom(0);
    view->DoInitialView();
    EXPECT_FALSE(view->GetI_PVXCtrl()->IsDynamicViewMode());
    EXPECT_TRUE(view->GetI_PVXCtrl()->XGR_IsRebuildGeom());
    EXPECT_EQ(view->GetI_PVXCtrl()->GetCamera().GetStandardView(), GViewCamera::VIEW_ISO);
    view->GetI_PVXCtrl()->SetDynamicViewMode(1);
    view->ResetCurDynamicViewMode();
    EXPECT_FALSE(view->GetI_PVXCtrl()->IsDynamicViewMode());
    struct Row {
        double scale;
        long in;
        int out;
    } rows[] = {{1.0, 120, 120}, {1.5, 100, 150}, {0.5, 25, 13}, {2.0, -90, -180}};
    for (const auto& r : rows) {
        view->SetTextDisplayScale(r.scale);
        EXPECT_EQ(view->GetTextDisplayHeight(r.in), r.out) << r.scale << " x " << r.in;
    }
    view->SetTextDisplayScale(0.0);  // refused
    EXPECT_EQ(view->GetTextDisplayScale(), 2.0);
    EXPECT_EQ(view->GetDispSetting()->m_crCenterLine, RGB(143, 177, 213));
}

// Escape is polled from the driver's key state and stays reported until the next draw starts.
TEST(GrxWindowServices, EscapeIsLatchedUntilNextDraw) {
    CUiDriver::Get().Reset();
    I_PVXCtrl ctrl;
    CUiDriver::Get().PressEscapeAfterPolls(2);
    const int want[] = {0, 0, 1, 1, 1};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(ctrl.WatchEscKeyPress() != 0, want[i] != 0) << "poll " << i;
    ctrl.BeginDrawToMemDC(false);
    EXPECT_EQ(ctrl.WatchEscKeyPress(), 0) << "a new draw starts without Escape";
    ctrl.EndDrawToMemDC(false);
    CUiDriver::Get().Reset();
}

// Accelerator texts go after a tab on matching command items, in sub-menus too, replacing an
// earlier one and keeping the item state.
TEST(GrxWindowServices, AcceleratorsAppliedToMenu) {
    I_PVXCtrl ctrl;
    ctrl.SetCustomAccelerator(42015, "Ctrl+P");
    ctrl.SetCustomAccelerator(42017, "Esc");
    ctrl.SetCustomAccelerator(42017, "Ctrl+S");  // replaces
    CMenu menu, sub;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(sub.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 42004, "反力");
    menu.AppendMenu(MF_STRING | MF_GRAYED, 42015, "播放\tF5");
    menu.AppendMenu(MF_SEPARATOR);
    sub.AppendMenu(MF_STRING | MF_CHECKED, 42017, "停止");
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "动画");
    ctrl.ApplyCustomAcceleratorToMenu(&menu);
    CString s;
    menu.GetMenuString(0, s, MF_BYPOSITION);
    EXPECT_EQ(s, CString("反力"));
    menu.GetMenuString(1, s, MF_BYPOSITION);
    EXPECT_EQ(s, CString("播放\tCtrl+P"));
    EXPECT_TRUE(menu.GetMenuState(1, MF_BYPOSITION) & MF_GRAYED);
    CMenu* pSub = menu.GetSubMenu(3);
    ASSERT_NE(pSub, nullptr);
    pSub->GetMenuString(0, s, MF_BYPOSITION);
    EXPECT_EQ(s, CString("停止\tCtrl+S"));
    EXPECT_TRUE(pSub->GetMenuState(0, MF_BYPOSITION) & MF_CHECKED);
    ctrl.ApplyCustomAcceleratorToMenu(nullptr);  // harmless
}

}  // namespace
