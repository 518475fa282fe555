// Message maps: command routing, update probes, overriding entries, window-message signatures.
#include "UiTestSupport.h"

namespace {

// A top-level window with a command, its update handler and a range.
class CCmdWnd : public CWnd {
public:
    int m_nZoomAll = 0;
    int m_nRange = 0;
    UINT m_nLastRangeId = 0;
    BOOL m_bChecked = TRUE;
    BOOL m_bEnabled = TRUE;
    BOOL Make() { return CreateEx(0, nullptr, "cmd", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr); }

protected:
    void OnZoomAll() { ++m_nZoomAll; }
    void OnUpdateZoomAll(CCmdUI* pCmdUI) {
        pCmdUI->SetCheck(m_bChecked);
        pCmdUI->Enable(m_bEnabled);
    }
    void OnAnimation(UINT nID) {
        ++m_nRange;
        m_nLastRangeId = nID;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCmdWnd, CWnd)
    ON_COMMAND(42088, OnZoomAll)
    ON_UPDATE_COMMAND_UI(42088, OnUpdateZoomAll)
    ON_COMMAND_RANGE(42015, 42025, OnAnimation)
END_MESSAGE_MAP()

// Base and derived maps handling the same command and message.
class CBaseWnd : public CWnd {
public:
    std::vector<std::string> m_calls;
    BOOL Make() { return CreateEx(0, nullptr, "base", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr); }

protected:
    void OnExport() { m_calls.push_back("base export"); }
    void OnPrintCmd() { m_calls.push_back("base print"); }
    afx_msg void OnSize(UINT nType, int cx, int cy) { m_calls.push_back("base size " + std::to_string(cx)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_COMMAND(42090, OnExport)
    ON_COMMAND(42091, OnPrintCmd)
    ON_WM_SIZE()
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
protected:
    void OnExport() { m_calls.push_back("derived export"); }
    afx_msg void OnSize(UINT nType, int cx, int cy) {
        m_calls.push_back("derived size " + std::to_string(cx));
        CBaseWnd::OnSize(nType, cx, cy);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_COMMAND(42090, OnExport)
    ON_WM_SIZE()
END_MESSAGE_MAP()

// Window messages of every argument shape the module relies on.
const UINT WM_COLOURCHANGED = WM_USER + 101;
UINT g_nRegistered = 0xC123;

class CSigWnd : public CWnd {
public:
    std::vector<std::string> m_log;
    BOOL m_bFailCreate = FALSE;
    BOOL Make(CWnd* pParent) {
        return CreateEx(0, nullptr, "sig", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 40), pParent, 7);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
        m_log.push_back(std::string("create ") + lpcs->lpszName);
        return m_bFailCreate ? -1 : 0;
    }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt) {
        m_log.push_back("ldown " + std::to_string(nFlags) + " " + std::to_string(pt.x) + "," + std::to_string(pt.y));
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { m_log.push_back("timer " + std::to_string(nIDEvent)); }
    afx_msg LRESULT OnColour(WPARAM wp, LPARAM lp) {
        m_log.push_back("colour " + std::to_string(wp) + " " + std::to_string(lp));
        return 77;
    }
    afx_msg LRESULT OnRegistered(WPARAM wp, LPARAM) {
        m_log.push_back("registered " + std::to_string(wp));
        return 5;
    }
    afx_msg void OnParentNotify(UINT message, LPARAM lParam) {
        m_log.push_back("parentnotify " + std::to_string(LOWORD(message)) + " " + std::to_string(GET_X_LPARAM(lParam)));
    }
    afx_msg BOOL OnMouseWheel(UINT, short zDelta, CPoint) {
        m_log.push_back("wheel " + std::to_string(zDelta));
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSigWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_MESSAGE(WM_COLOURCHANGED, OnColour)
    ON_REGISTERED_MESSAGE(g_nRegistered, OnRegistered)
    ON_WM_PARENTNOTIFY()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

}  // namespace

TEST_F(UiTest, CommandReachesHandlerAndUpdateProbeReportsCheck) {
    CCmdWnd wnd;
    ASSERT_TRUE(wnd.Make());
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(42088, 0), 0);
    EXPECT_EQ(1, wnd.m_nZoomAll);

    struct Row {
        BOOL checked, enabled;
    } rows[] = {{TRUE, TRUE}, {FALSE, TRUE}, {TRUE, FALSE}};
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "checked " << r.checked << " enabled " << r.enabled);
        wnd.m_bChecked = r.checked;
        wnd.m_bEnabled = r.enabled;
        CCmdUI probe;
        probe.m_nID = 42088;
        EXPECT_TRUE(probe.DoUpdate(&wnd, TRUE));
        EXPECT_EQ(r.checked ? 1 : 0, probe.m_nChecked);
        EXPECT_EQ(r.enabled ? 1 : 0, probe.m_nEnabled);
    }

    // A menu command whose update handler disables it does nothing.
    wnd.m_bEnabled = FALSE;
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(42088, 0), 0);
    EXPECT_EQ(1, wnd.m_nZoomAll);

    // An id nobody handles is disabled by the probe and unhandled by the routing.
    CCmdUI none;
    none.m_nID = 42099;
    EXPECT_FALSE(none.DoUpdate(&wnd, TRUE));
    EXPECT_EQ(0, none.m_nEnabled);
    EXPECT_FALSE(wnd.OnCmdMsg(42099, CN_COMMAND, nullptr, nullptr));
    wnd.DestroyWindow();
}

TEST_F(UiTest, CommandRangeDeliversTheId) {
    CCmdWnd wnd;
    ASSERT_TRUE(wnd.Make());
    const UINT ids[] = {42015, 42020, 42025};
    for (UINT id : ids) {
        SCOPED_TRACE(id);
        wnd.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        EXPECT_EQ(id, wnd.m_nLastRangeId);
    }
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(42026, 0), 0);
    EXPECT_EQ(3, wnd.m_nRange);
    wnd.DestroyWindow();
}

TEST_F(UiTest, DerivedEntryOverridesBaseEntry) {
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.Make());
    wnd.m_calls.clear();
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(42090, 0), 0);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(42091, 0), 0);
    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(30, 20));
    std::vector<std::string> expected = {"derived export", "base print", "derived size 30", "base size 30"};
    EXPECT_EQ(expected, wnd.m_calls);
    wnd.DestroyWindow();
}

TEST_F(UiTest, WindowMessageSignaturesUnpackTheirArguments) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    CSigWnd wnd;
    ASSERT_TRUE(wnd.Make(&parent));
    EXPECT_EQ("create sig", wnd.m_log.at(0));
    wnd.m_log.clear();
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 12));
    EXPECT_EQ(77, wnd.SendMessage(WM_COLOURCHANGED, 4, 9));
    EXPECT_EQ(5, wnd.SendMessage(g_nRegistered, 2, 0));
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    std::vector<std::string> expected = {"ldown 1 -3,12", "colour 4 9", "registered 2", "wheel -120"};
    EXPECT_EQ(expected, wnd.m_log);
    // Unhandled messages fall to the default processing.
    EXPECT_EQ(0, wnd.SendMessage(WM_USER + 500, 0, 0));
    wnd.DestroyWindow();
    parent.DestroyWindow();
}

TEST_F(UiTest, FailedCreateLeavesNoWindow) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPED, 0, 0, 300, 200, nullptr, nullptr));
    CSigWnd wnd;
    wnd.m_bFailCreate = TRUE;
    EXPECT_FALSE(wnd.Make(&parent));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, parent.GetDlgItem(7));
    // Unknown classes and orphan children are refused with a message.
    CWnd bad;
    EXPECT_FALSE(bad.CreateEx(0, "NoSuchClass", "", WS_CHILD, CRect(0, 0, 1, 1), &parent, 1));
    EXPECT_FALSE(bad.CreateEx(0, nullptr, "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr));
    EXPECT_EQ(2u, CUiDriver::Get().Errors().size());
    parent.DestroyWindow();
}
