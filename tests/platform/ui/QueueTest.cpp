// The message queue, timers, paints and the window life cycle.
#include "UiTestSupport.h"

namespace {

class CTimedWnd : public CWnd {
public:
    std::vector<UINT_PTR> m_fired;
    DWORD m_nBusy = 0;  // milliseconds a tick takes
    std::vector<std::string> m_log;
    int m_nPaints = 0;
    BOOL m_bDeleteSelf = FALSE;
    BOOL* m_pDeleted = nullptr;
    ~CTimedWnd() override {
        if (m_pDeleted) *m_pDeleted = TRUE;
    }

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent) { m_fired.push_back(nIDEvent), CUiDriver::Get().AdvanceTime(m_nBusy); }
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        ++m_nPaints;
    }
    afx_msg void OnSize(UINT nType, int cx, int cy) {
        m_log.push_back("size " + std::to_string(nType) + " " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    afx_msg void OnDestroy() { m_log.push_back("destroy"); }
    afx_msg void OnClose() {
        m_log.push_back("close");
        DestroyWindow();
    }
    void PostNcDestroy() override {
        m_log.push_back("postncdestroy");
        if (m_bDeleteSelf) delete this;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTimedWnd, CWnd)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

BOOL MakeTop(CWnd& w, DWORD style = WS_OVERLAPPED | WS_VISIBLE) {
    return w.CreateEx(0, nullptr, "top", style, 10, 10, 200, 100, nullptr, nullptr);
}

}  // namespace

TEST_F(UiTest, TimerFiresOnlyAfterItsIntervalWhenPumped) {
    CTimedWnd wnd;
    ASSERT_TRUE(MakeTop(wnd));
    CUiDriver& d = CUiDriver::Get();
    d.PumpMessages();
    EXPECT_EQ(1u, wnd.SetTimer(0, 250));   // id 0 works and reports success
    EXPECT_EQ(1u, wnd.SetTimer(1, 10));

    struct Step {
        DWORD advance;
        std::vector<UINT_PTR> expected;   // ids fired by the pump after the advance
        DWORD busy = 0;                   // ms a tick takes: over 10, the timer is due again at once
    } steps[] = {
        {0, {}}, {9, {}}, {1, {1}}, {5, {}}, {5, {1}}, {230, {1, 0}}, {0, {}}, {10, {1}}, {10, {1}, 30},
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(::testing::Message() << "step " << n++ << " advance " << s.advance);
        d.AdvanceTime(s.advance);
        wnd.m_fired.clear();
        wnd.m_nBusy = s.busy;
        d.PumpMessages();
        EXPECT_EQ(s.expected, wnd.m_fired);
    }
    EXPECT_TRUE(wnd.KillTimer(1));
    EXPECT_FALSE(wnd.KillTimer(1));
    d.AdvanceTime(1000);
    wnd.m_fired.clear();
    d.PumpMessages();
    EXPECT_EQ(std::vector<UINT_PTR>{0}, wnd.m_fired);   // a late timer fires once, not once per interval missed
    wnd.DestroyWindow();
    // Timers die with their window.
    d.AdvanceTime(1000);
    EXPECT_EQ(0, d.PumpMessages());
}

TEST_F(UiTest, PeekMessageFindsQueuedSizeForTheWindow) {
    CTimedWnd a, b;
    ASSERT_TRUE(MakeTop(a, WS_OVERLAPPED));
    ASSERT_TRUE(MakeTop(b, WS_OVERLAPPED));
    b.PostMessage(WM_USER + 1, 0, 0);
    a.PostMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));

    MSG msg{};
    EXPECT_TRUE(::PeekMessage(&msg, a.m_hWnd, WM_SIZE, WM_SIZE, PM_NOREMOVE));
    EXPECT_EQ(a.m_hWnd, msg.hwnd);
    EXPECT_EQ(static_cast<UINT>(WM_SIZE), msg.message);
    EXPECT_EQ(640, LOWORD(msg.lParam));
    EXPECT_FALSE(::PeekMessage(&msg, b.m_hWnd, WM_SIZE, WM_SIZE, PM_NOREMOVE));
    // Without a filter the oldest message comes first; PM_NOREMOVE leaves it queued.
    EXPECT_TRUE(::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(b.m_hWnd, msg.hwnd);
    EXPECT_TRUE(::PeekMessage(&msg, a.m_hWnd, 0, 0, PM_REMOVE));
    EXPECT_FALSE(::PeekMessage(&msg, a.m_hWnd, WM_SIZE, WM_SIZE, PM_NOREMOVE));
    // GetMessage never waits.
    EXPECT_TRUE(::GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(static_cast<UINT>(WM_USER + 1), msg.message);
    EXPECT_FALSE(::GetMessage(&msg, nullptr, 0, 0));
    // Messages for a destroyed window are dropped with it.
    a.PostMessage(WM_USER + 2, 0, 0);
    a.DestroyWindow();
    EXPECT_FALSE(::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
    b.DestroyWindow();
}

TEST_F(UiTest, InvalidatedVisibleWindowsArePaintedOnceWhenPumped) {
    CTimedWnd shown, hidden;
    ASSERT_TRUE(MakeTop(shown));
    ASSERT_TRUE(MakeTop(hidden, WS_OVERLAPPED));
    CUiDriver::Get().PumpMessages();
    EXPECT_EQ(1, shown.m_nPaints);   // shown at creation
    EXPECT_EQ(0, hidden.m_nPaints);

    shown.Invalidate();
    shown.InvalidateRect(CRect(0, 0, 5, 5));
    hidden.Invalidate();
    CUiDriver::Get().PumpMessages();
    EXPECT_EQ(2, shown.m_nPaints);
    EXPECT_EQ(0, hidden.m_nPaints);

    // UpdateWindow paints at once; a validated window is not painted.
    shown.Invalidate();
    shown.UpdateWindow();
    EXPECT_EQ(3, shown.m_nPaints);
    shown.Invalidate();
    shown.ValidateRect(nullptr);
    CUiDriver::Get().PumpMessages();
    EXPECT_EQ(3, shown.m_nPaints);
    shown.DestroyWindow();
    hidden.DestroyWindow();
}

namespace {
// Paints by default; its background erase notes the DC and may destroy the window.
class CErasingWnd : public CWnd {
public:
    std::vector<HDC> m_erased;
    BOOL m_bDestroyOnErase = FALSE;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
        m_erased.push_back(pDC ? pDC->m_hDC : nullptr);
        if (m_bDestroyOnErase) DestroyWindow();
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CErasingWnd, CWnd)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()
}  // namespace

// Every DC handed out for painting or by GetDC is freed when it is done with, also when the
// window is destroyed while it paints.
TEST_F(UiTest, PaintAndWindowDcsAreFreedWhenDone) {
    for (BOOL destroy : {FALSE, TRUE}) {
        SCOPED_TRACE(destroy ? "destroyed while erasing" : "erased");
        CErasingWnd wnd;
        ASSERT_TRUE(MakeTop(wnd, WS_OVERLAPPED));
        wnd.m_bDestroyOnErase = destroy;
        wnd.ShowWindow(SW_SHOW);
        wnd.Invalidate(TRUE);
        CUiDriver::Get().PumpMessages();
        ASSERT_FALSE(wnd.m_erased.empty());
        for (HDC h : wnd.m_erased) {
            EXPECT_NE(nullptr, h);
            EXPECT_EQ(nullptr, CDC::FromHandle(h)) << "the paint DC is gone";
        }
        EXPECT_EQ(!destroy, ::IsWindow(wnd.m_hWnd));
        if (!destroy) {
            CDC* pDC = wnd.GetDC();
            ASSERT_NE(nullptr, pDC);
            const HDC h = pDC->m_hDC;
            EXPECT_EQ(1, wnd.ReleaseDC(pDC));
            EXPECT_EQ(nullptr, CDC::FromHandle(h));
            EXPECT_EQ(0, wnd.ReleaseDC(pDC)) << "released twice";
            EXPECT_EQ(0, wnd.ReleaseDC(nullptr));
            wnd.DestroyWindow();
        }
    }
}

// A window a shown child hides whole is validated without being erased (nothing of it shows);
// one the child leaves partly open, or a hidden child covers, is erased as usual.
TEST_F(UiTest, AWindowItsChildHidesWholeIsOnlyValidated) {
    const struct Row {
        const char* label;
        CRect child;  // in the parent's client area of 200 x 100
        DWORD style;
        bool erased;
    } rows[] = {{"covered and more", CRect(-5, -5, 300, 300), WS_CHILD | WS_VISIBLE, false},
                {"covered in part", CRect(0, 0, 200, 99), WS_CHILD | WS_VISIBLE, true},
                {"covered by a hidden child", CRect(0, 0, 200, 100), WS_CHILD, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CErasingWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "top", WS_POPUP, 10, 10, 200, 100, nullptr, nullptr));
        CWnd child;
        ASSERT_TRUE(child.CreateEx(0, nullptr, "child", r.style, r.child, &wnd, 1));
        wnd.ShowWindow(SW_SHOW);
        wnd.Invalidate(TRUE);
        CUiDriver::Get().PumpMessages();
        EXPECT_EQ(r.erased, !wnd.m_erased.empty());
        EXPECT_FALSE(wnd.GetUpdateRect(nullptr)) << "validated either way";
        wnd.DestroyWindow();
    }
}

TEST_F(UiTest, SetWindowPosHonoursItsFlags) {
    CTimedWnd wnd;
    ASSERT_TRUE(MakeTop(wnd));
    CUiDriver::Get().PumpMessages();
    struct Row {
        const char* label;
        int x, y, cx, cy;
        UINT flags;
        CRect expected;
        const char* size;   // WM_SIZE seen, or "" for none
        BOOL repaint;
    } rows[] = {
        {"move and size", 20, 30, 300, 150, SWP_NOZORDER, CRect(20, 30, 320, 180), "size 0 300x150", TRUE},
        {"no size", 5, 6, 1, 1, SWP_NOSIZE | SWP_NOZORDER, CRect(5, 6, 305, 156), "", TRUE},
        {"no move", 0, 0, 100, 50, SWP_NOMOVE | SWP_NOZORDER, CRect(5, 6, 105, 56), "size 0 100x50", TRUE},
        {"no redraw", 0, 0, 120, 60, SWP_NOMOVE | SWP_NOREDRAW | SWP_NOZORDER, CRect(5, 6, 125, 66), "size 0 120x60", FALSE},
        {"same size", 0, 0, 120, 60, SWP_NOMOVE | SWP_NOZORDER, CRect(5, 6, 125, 66), "", FALSE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        wnd.m_log.clear();
        int paints = wnd.m_nPaints;
        EXPECT_TRUE(wnd.SetWindowPos(nullptr, r.x, r.y, r.cx, r.cy, r.flags));
        CRect rc;
        wnd.GetWindowRect(&rc);
        EXPECT_EQ(r.expected, rc);
        std::vector<std::string> expectedLog;
        if (*r.size) expectedLog.push_back(r.size);
        EXPECT_EQ(expectedLog, wnd.m_log);
        CUiDriver::Get().PumpMessages();
        EXPECT_EQ(r.repaint ? paints + 1 : paints, wnd.m_nPaints);
    }
    wnd.DestroyWindow();
}

TEST_F(UiTest, DestroyWindowNotifiesThenDeletesSelfOwningWindows) {
    BOOL deleted = FALSE;
    CTimedWnd* pWnd = new CTimedWnd;
    pWnd->m_bDeleteSelf = TRUE;
    pWnd->m_pDeleted = &deleted;
    ASSERT_TRUE(MakeTop(*pWnd));
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 10, 10), pWnd, 5));
    HWND hWnd = pWnd->m_hWnd, hChild = child.m_hWnd;
    std::vector<std::string>* log = &pWnd->m_log;
    (void)log;
    // WM_CLOSE posted and pumped: close, destroy, then the object deletes itself.
    pWnd->PostMessage(WM_CLOSE);
    CUiDriver::Get().PumpMessages();
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_FALSE(::IsWindow(hChild));
    EXPECT_EQ(nullptr, child.m_hWnd);
    // Stale handles are refused, not followed.
    EXPECT_EQ(nullptr, CWnd::FromHandle(hWnd));
    EXPECT_EQ(0, ::SendMessage(hWnd, WM_SIZE, 0, 0));
    EXPECT_FALSE(::PostMessage(hWnd, WM_USER, 0, 0));
}

TEST_F(UiTest, ShowWindowMinimiseAndRestoreReportSizes) {
    CTimedWnd wnd;
    ASSERT_TRUE(MakeTop(wnd, WS_OVERLAPPED));
    EXPECT_FALSE(wnd.IsWindowVisible());
    wnd.m_log.clear();
    EXPECT_FALSE(wnd.ShowWindow(SW_SHOW));
    EXPECT_TRUE(wnd.IsWindowVisible());
    EXPECT_TRUE(wnd.ShowWindow(SW_MINIMIZE));
    EXPECT_TRUE(wnd.IsIconic());
    wnd.ShowWindow(SW_RESTORE);
    EXPECT_FALSE(wnd.IsIconic());
    std::vector<std::string> expected = {"size 1 0x0", "size 0 200x100"};
    EXPECT_EQ(expected, wnd.m_log);
    wnd.ShowWindow(SW_HIDE);
    EXPECT_FALSE(wnd.IsWindowVisible());
    wnd.DestroyWindow();
}

TEST_F(UiTest, GeometryConvertsBetweenClientAndScreen) {
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME, 100, 50, 400, 300,
                               nullptr, nullptr));
    CRect client;
    frame.GetClientRect(&client);
    // Sizing frame 4 on each side, caption 23.
    EXPECT_EQ(CRect(0, 0, 400 - 8, 300 - 8 - 23), client);
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "c", WS_VISIBLE, CRect(10, 20, 60, 70), &frame, 9));
    CPoint pt(1, 2);
    child.ClientToScreen(&pt);
    EXPECT_EQ(CPoint(100 + 4 + 10 + 1, 50 + 4 + 23 + 20 + 2), pt);
    frame.ScreenToClient(&pt);
    EXPECT_EQ(CPoint(11, 22), pt);
    CRect rc;
    child.GetWindowRect(&rc);
    frame.ScreenToClient(&rc);
    EXPECT_EQ(CRect(10, 20, 60, 70), rc);
    EXPECT_EQ(&child, frame.GetDlgItem(9));
    EXPECT_EQ(9, child.GetDlgCtrlID());
    EXPECT_EQ(&frame, child.GetParent());
    EXPECT_EQ(&frame, child.GetTopLevelParent());
    frame.DestroyWindow();
}

TEST_F(UiTest, EscapePressArrivesAfterTheGivenPolls) {
    CUiDriver& d = CUiDriver::Get();
    d.PressEscapeAfterPolls(3);
    std::vector<int> seen;
    for (int i = 0; i < 6; ++i) seen.push_back((GetAsyncKeyState(VK_ESCAPE) & 0x8000) ? 1 : 0);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 1, 0, 0}), seen);
    d.SetKeyDown(VK_SHIFT, TRUE);
    EXPECT_EQ(static_cast<SHORT>(0x8001), GetAsyncKeyState(VK_SHIFT));
    EXPECT_EQ(static_cast<SHORT>(0x8000), GetAsyncKeyState(VK_SHIFT));
    d.SetKeyDown(VK_SHIFT, FALSE);
    EXPECT_EQ(0, GetKeyState(VK_SHIFT));
}

TEST_F(UiTest, ClientDcDrawsIntoTheWindowSurface) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "s", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr));
    {
        CClientDC dc(&wnd);
        dc.FillSolidRect(0, 0, 10, 10, RGB(255, 0, 0));
    }
    HBITMAP h = UiGetWindowSurface(wnd.m_hWnd);
    ASSERT_NE(nullptr, h);
    BITMAP bm{};
    ASSERT_TRUE(GetObject(h, sizeof bm, &bm));
    EXPECT_EQ(40, bm.bmWidth);
    EXPECT_EQ(30, bm.bmHeight);
    std::vector<DWORD> px(40 * 30);
    CBitmap::FromHandle(h)->GetBitmapBits(static_cast<DWORD>(px.size() * 4), px.data());
    EXPECT_EQ(0x00FF0000u, px[0] & 0xFFFFFF);             // B, G, R, X: red
    EXPECT_EQ(0x00FFFFFFu, px[39 * 1 + 20] & 0xFFFFFF);   // untouched: white
    wnd.DestroyWindow();
}
