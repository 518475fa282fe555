// Focus, activation, capture, parent notifications, tab order, dialog-item helpers, painting
// details and the safety limits of dispatch.
#include <chrono>
#include <thread>

#include "UiTestSupport.h"

namespace {

class CSpyWnd : public CWnd {
public:
    std::vector<std::string> m_log;
    int m_nEcho = 0;   // WM_USER messages to send back to itself

protected:
    afx_msg void OnSetFocus(CWnd* pOld) { m_log.push_back(std::string("setfocus from ") + (pOld ? "window" : "none")); }
    afx_msg void OnKillFocus(CWnd* pNew) { m_log.push_back(std::string("killfocus to ") + (pNew ? "window" : "none")); }
    afx_msg void OnActivate(UINT nState, CWnd*, BOOL) { m_log.push_back("activate " + std::to_string(nState)); }
    afx_msg void OnCaptureChanged(CWnd*) { m_log.push_back("capturechanged"); }
    afx_msg void OnParentNotify(UINT message, LPARAM lParam) {
        // Creation and destruction carry the child's handle, clicks the point.
        std::string where = (LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY)
                                ? (::IsWindow(reinterpret_cast<HWND>(lParam)) ? "child" : "gone")
                                : std::to_string(GET_X_LPARAM(lParam)) + "," + std::to_string(GET_Y_LPARAM(lParam));
        m_log.push_back("parentnotify " + std::to_string(LOWORD(message)) + " " + std::to_string(HIWORD(message)) + " " + where);
    }
    afx_msg void OnRButtonDown(UINT, CPoint pt) { m_log.push_back("rdown " + std::to_string(pt.x)); }
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint) { m_log.push_back(std::string("contextmenu ") + (pWnd == this ? "self" : "child")); }
    afx_msg LRESULT OnEcho(WPARAM, LPARAM) { return SendMessage(WM_USER + 7); }
    afx_msg void OnCommandEnable() { m_log.push_back("button"); }
    afx_msg void OnUpdateButton(CCmdUI* pCmdUI) {
        pCmdUI->Enable(FALSE);
        pCmdUI->SetCheck(1);
        pCmdUI->SetText("Renamed");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSpyWnd, CWnd)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_CAPTURECHANGED()
    ON_WM_PARENTNOTIFY()
    ON_WM_RBUTTONDOWN()
    ON_WM_CONTEXTMENU()
    ON_MESSAGE(WM_USER + 7, OnEcho)
    ON_BN_CLICKED(70, OnCommandEnable)
    ON_UPDATE_COMMAND_UI(70, OnUpdateButton)
END_MESSAGE_MAP()

BOOL MakeNamedTop(CWnd& w, const char* name) {
    return w.CreateEx(0, nullptr, name, WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 150, nullptr, nullptr);
}

}  // namespace

TEST_F(UiTest, FocusActivationAndCaptureTellBothSides) {
    CSpyWnd a, b;
    ASSERT_TRUE(MakeNamedTop(a, "a"));
    ASSERT_TRUE(MakeNamedTop(b, "b"));
    a.SetFocus();
    b.SetFocus();
    EXPECT_EQ(&b, CWnd::GetFocus());
    EXPECT_EQ((std::vector<std::string>{"setfocus from none", "killfocus to window"}), a.m_log);
    EXPECT_EQ((std::vector<std::string>{"setfocus from window"}), b.m_log);
    a.m_log.clear();
    b.m_log.clear();

    a.SetActiveWindow();
    b.SetActiveWindow();
    EXPECT_EQ(&b, CWnd::GetActiveWindow());
    EXPECT_EQ((std::vector<std::string>{"activate 1", "activate 0"}), a.m_log);
    EXPECT_EQ((std::vector<std::string>{"activate 1"}), b.m_log);
    a.m_log.clear();

    EXPECT_EQ(nullptr, a.SetCapture());
    EXPECT_EQ(&a, CWnd::GetCapture());
    ReleaseCapture();
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_EQ((std::vector<std::string>{"capturechanged"}), a.m_log);

    // A destroyed window gives up focus, activation and capture.
    b.SetCapture();
    b.DestroyWindow();
    EXPECT_EQ(nullptr, CWnd::GetFocus());
    EXPECT_EQ(nullptr, CWnd::GetActiveWindow());
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    a.DestroyWindow();
}

TEST_F(UiTest, ClicksAndChildLifetimesAreAnnouncedToAncestors) {
    CSpyWnd top;
    ASSERT_TRUE(MakeNamedTop(top, "top"));
    CSpyWnd mid;
    ASSERT_TRUE(mid.Create(nullptr, "mid", WS_VISIBLE, CRect(10, 10, 110, 110), &top, 1));
    CWnd leaf;
    ASSERT_TRUE(leaf.Create(nullptr, "leaf", WS_VISIBLE, CRect(5, 5, 50, 50), &mid, 2));
    // The leaf's creation reached both ancestors, with its id in the high word.
    EXPECT_EQ((std::vector<std::string>{"parentnotify 1 1 child", "parentnotify 1 2 child"}), top.m_log);
    top.m_log.clear();
    mid.m_log.clear();

    CUiDriver::Get().SendMouse(&leaf, WM_RBUTTONDOWN, CPoint(3, 4), MK_RBUTTON);
    EXPECT_EQ((std::vector<std::string>{"parentnotify 516 0 8,9"}), mid.m_log);
    EXPECT_EQ((std::vector<std::string>{"parentnotify 516 0 18,19"}), top.m_log);
    top.m_log.clear();

    // A context menu nobody handles in the child goes to its parent.
    leaf.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(leaf.m_hWnd), MAKELPARAM(1, 1));
    EXPECT_EQ("contextmenu child", mid.m_log.back());

    leaf.DestroyWindow();
    EXPECT_EQ((std::vector<std::string>{"parentnotify 2 2 child"}), top.m_log);   // told before it goes
    top.DestroyWindow();
}

TEST_F(UiTest, DialogItemHelpersAndTabOrder) {
    CSpyWnd dlg;
    ASSERT_TRUE(MakeNamedTop(dlg, "dlg"));
    CEdit e1, e2;
    CButton check, hidden, disabled;
    ASSERT_TRUE(e1.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 50, 20), &dlg, 61));
    ASSERT_TRUE(hidden.Create("h", WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, CRect(0, 0, 1, 1), &dlg, 62));
    ASSERT_TRUE(disabled.Create("d", WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | BS_AUTOCHECKBOX, CRect(0, 0, 1, 1), &dlg, 63));
    ASSERT_TRUE(check.Create("c", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, CRect(0, 0, 1, 1), &dlg, 64));
    ASSERT_TRUE(e2.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &dlg, 65));

    EXPECT_EQ(&check, dlg.GetNextDlgTabItem(&e1));
    EXPECT_EQ(&e1, dlg.GetNextDlgTabItem(&check));
    EXPECT_EQ(&check, dlg.GetNextDlgTabItem(&e1, TRUE));

    struct Row {
        const char* text;
        BOOL bSigned;
        UINT value;
        BOOL ok;
    } rows[] = {
        {"42", TRUE, 42, TRUE}, {"  -7", TRUE, static_cast<UINT>(-7), TRUE}, {"-7", FALSE, 0, FALSE},
        {"12abc", TRUE, 12, TRUE}, {"abc", TRUE, 0, FALSE}, {"", TRUE, 0, FALSE}, {"99999999999", TRUE, 0, FALSE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        dlg.SetDlgItemText(61, r.text);
        BOOL ok = -1;
        EXPECT_EQ(r.value, dlg.GetDlgItemInt(61, &ok, r.bSigned));
        EXPECT_EQ(r.ok, ok);
    }
    dlg.SetDlgItemInt(65, static_cast<UINT>(-12));
    CString s;
    dlg.GetDlgItemText(65, s);
    EXPECT_STREQ("-12", s);
    dlg.CheckDlgButton(64, BST_CHECKED);
    EXPECT_EQ(static_cast<UINT>(BST_CHECKED), dlg.IsDlgButtonChecked(64));
    EXPECT_EQ(0u, dlg.IsDlgButtonChecked(61));   // not a button
    EXPECT_EQ(0u, dlg.IsDlgButtonChecked(999));  // no such control

    // An update probe on a control enables, checks and renames it.
    CCmdUI probe;
    probe.m_nID = 70;
    CButton button;
    ASSERT_TRUE(button.Create("Button", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(0, 0, 1, 1), &dlg, 70));
    probe.m_pOther = &button;
    EXPECT_TRUE(probe.DoUpdate(&dlg, FALSE));
    EXPECT_FALSE(button.IsWindowEnabled());
    EXPECT_EQ(BST_CHECKED, button.GetCheck());
    button.GetWindowText(s);
    EXPECT_STREQ("Renamed", s);
    dlg.DestroyWindow();
}

TEST_F(UiTest, EditFieldSelectionLimitAndReadOnly) {
    CSpyWnd host;
    ASSERT_TRUE(MakeNamedTop(host, "host"));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 0, 80, 20), &host, 80));
    edit.SetWindowText("0123456789");
    EXPECT_FALSE(edit.GetModify());
    edit.SetSel(2, 5);
    int s = -1, e = -1;
    edit.GetSel(s, e);
    EXPECT_EQ(2, s);
    EXPECT_EQ(5, e);
    edit.ReplaceSel("ab");
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ("01ab56789", text);
    EXPECT_TRUE(edit.GetModify());
    edit.GetSel(s, e);
    EXPECT_EQ(4, s);
    EXPECT_EQ(4, e);
    edit.SetSel(0, -1);
    edit.GetSel(s, e);
    EXPECT_EQ(9, e);
    edit.LimitText(10);
    edit.SetSel(9, 9);
    edit.ReplaceSel("XYZ");   // only one byte of room left
    edit.GetWindowText(text);
    EXPECT_STREQ("01ab56789X", text);
    EXPECT_TRUE(edit.SetReadOnly(TRUE));
    EXPECT_TRUE(edit.GetStyle() & ES_READONLY);
    CUiDialogSession user(&host);
    EXPECT_FALSE(user.SetControlText(80, "typed"));   // a user cannot type into a read-only field
    edit.GetWindowText(text);
    EXPECT_STREQ("01ab56789X", text);
    host.DestroyWindow();
}

TEST_F(UiTest, UpdateAreaAndRedrawWindow) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 80, nullptr, nullptr));
    CUiDriver::Get().PumpMessages();
    CRect r;
    EXPECT_FALSE(wnd.GetUpdateRect(&r));
    wnd.InvalidateRect(CRect(10, 10, 20, 20));
    wnd.InvalidateRect(CRect(50, 5, 60, 15));
    EXPECT_TRUE(wnd.GetUpdateRect(&r));
    EXPECT_EQ(CRect(10, 5, 60, 20), r);
    wnd.ValidateRect(CRect(0, 0, 100, 10));   // a band across the top
    EXPECT_TRUE(wnd.GetUpdateRect(&r));
    EXPECT_EQ(CRect(10, 10, 60, 20), r);
    wnd.InvalidateRect(CRect(-50, -50, 500, 500));   // clipped to the client area
    wnd.GetUpdateRect(&r);
    EXPECT_EQ(CRect(0, 0, 100, 80), r);
    EXPECT_TRUE(wnd.RedrawWindow(nullptr, nullptr, RDW_VALIDATE));
    EXPECT_FALSE(wnd.GetUpdateRect(&r));
    wnd.SetRedraw(FALSE);
    wnd.Invalidate();
    EXPECT_FALSE(wnd.GetUpdateRect(&r));   // drawing switched off
    wnd.SetRedraw(TRUE);
    wnd.DestroyWindow();
}

TEST_F(UiTest, RunawayMessagesAreCutOffNotFatal) {
    CSpyWnd wnd;
    ASSERT_TRUE(MakeNamedTop(wnd, "echo"));
    EXPECT_EQ(0, wnd.SendMessage(WM_USER + 7));   // keeps sending to itself until the nesting limit
    ASSERT_FALSE(CUiDriver::Get().Errors().empty());
    EXPECT_NE(-1, CUiDriver::Get().Errors()[0].Find("nested"));
    // A pump with a limit stops there and leaves the rest queued.
    CUiDriver::Get().PumpMessages();
    for (int i = 0; i < 5; ++i) wnd.PostMessage(WM_NULL);
    EXPECT_EQ(3, CUiDriver::Get().PumpMessages(3));
    EXPECT_EQ(2, CUiDriver::Get().PumpMessages());
    wnd.DestroyWindow();
}

TEST_F(UiTest, TimerCallbacksAndRealClock) {
    static std::vector<UINT_PTR> fired;
    fired.clear();
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "t", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    const TIMERPROC record = [](HWND, UINT msg, UINT_PTR id, DWORD) {
        if (msg == WM_TIMER) fired.push_back(id);
    };
    wnd.SetTimer(9, 1, record);
    CUiDriver::Get().AdvanceTime(5);   // below the 10 ms minimum
    CUiDriver::Get().PumpMessages();
    EXPECT_TRUE(fired.empty());
    CUiDriver::Get().AdvanceTime(5);
    CUiDriver::Get().PumpMessages();
    EXPECT_EQ(std::vector<UINT_PTR>{9}, fired);
    EXPECT_EQ(0u, ::SetTimer(reinterpret_cast<HWND>(0x1234), 1, 100, nullptr));   // no such window
    // Sleep moves the virtual clock and never waits.
    ULONGLONG before = CUiDriver::Get().Now();
    Sleep(500);
    EXPECT_EQ(before + 500, CUiDriver::Get().Now());
    // The real clock runs on its own.
    CUiDriver::Get().UseVirtualClock(FALSE);
    ULONGLONG t0 = GetTickCount64();
    EXPECT_GE(GetTickCount64(), t0);
    // A timer due on the real clock before the switch ticks a full period after it, not at once.
    fired.clear();
    wnd.SetTimer(9, 20, record);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    CUiDriver::Get().UseVirtualClock(TRUE);
    for (int i = 0; i < 20; ++i, CUiDriver::Get().AdvanceTime(1)) CUiDriver::Get().PumpMessages();
    EXPECT_TRUE(fired.empty());
    CUiDriver::Get().PumpMessages();
    EXPECT_EQ(std::vector<UINT_PTR>{9}, fired);
    wnd.DestroyWindow();
}

TEST_F(UiTest, SystemMetricsAndWindowFrames) {
    struct Row {
        DWORD style, exStyle;
        BOOL menu;
        CRect expected;   // window rectangle around the client (0, 0, 100, 50)
    } rows[] = {
        {WS_CHILD, 0, FALSE, CRect(0, 0, 100, 50)},
        {WS_CHILD | WS_BORDER, 0, FALSE, CRect(-1, -1, 101, 51)},
        {WS_CHILD, WS_EX_CLIENTEDGE, FALSE, CRect(-2, -2, 102, 52)},
        {WS_OVERLAPPEDWINDOW, 0, FALSE, CRect(-4, -27, 104, 54)},
        {WS_OVERLAPPEDWINDOW, 0, TRUE, CRect(-4, -47, 104, 54)},
        {WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME, FALSE, CRect(-3, -26, 103, 53)},
        {WS_CHILD | WS_VSCROLL | WS_HSCROLL, 0, FALSE, CRect(0, 0, 117, 67)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << std::hex << r.style << " " << r.exStyle << " menu " << r.menu);
        CRect rc(0, 0, 100, 50);
        EXPECT_TRUE(AdjustWindowRectEx(&rc, r.style, r.menu, r.exStyle));
        EXPECT_EQ(r.expected, rc);
    }
    EXPECT_EQ(1920, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(17, GetSystemMetrics(SM_CXVSCROLL));
    CRect dlu(0, 0, 242, 199);
    MapDialogRect(nullptr, &dlu);
    EXPECT_EQ(CRect(0, 0, 363, 323), dlu);
}
