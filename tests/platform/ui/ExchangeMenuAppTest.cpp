// More data exchange (combo and list strings, unsigned and small numbers), dialog keys, menu
// editing, scroll views, the application object and re-parenting.
#include <cstdio>
#include <fstream>

#include "UiTestSupport.h"

namespace {

const UINT IDD_EXCHANGE = 10593;
enum { IDC_COMBO = 11170, IDC_EDITCOMBO, IDC_LISTBOX, IDC_UINT, IDC_BYTE, IDC_FLOAT, IDC_PUSH };

UiDlgTemplate ExchangeTemplate() {
    UiDlgTemplate t;
    t.nID = IDD_EXCHANGE;
    t.size = CSize(143, 147);
    auto add = [&](UINT id, UiCtl kind, const char* caption = "") {
        UiDlgItem it;
        it.nID = id;
        it.kind = kind;
        it.caption = caption;
        it.rect = CRect(5, 5 + 14 * static_cast<int>(t.items.size()), 100, 17 + 14 * static_cast<int>(t.items.size()));
        t.items.push_back(it);
    };
    add(IDC_COMBO, UiCtl::Combo);
    add(IDC_EDITCOMBO, UiCtl::ComboEdit);
    add(IDC_LISTBOX, UiCtl::ListBox);
    add(IDC_UINT, UiCtl::Edit);
    add(IDC_BYTE, UiCtl::Edit);
    add(IDC_FLOAT, UiCtl::Edit);
    add(IDC_PUSH, UiCtl::Button, "Push");
    add(IDOK, UiCtl::DefButton, "OK");
    add(IDCANCEL, UiCtl::Button, "Cancel");
    return t;
}

class CExchangeDlg : public CDialog {
public:
    CExchangeDlg() : CDialog(IDD_EXCHANGE) {}
    CString m_strCombo = "Numbers";
    CString m_strEditCombo = "custom";
    CString m_strList = "Piles";
    int m_nList = -1;
    UINT m_nUint = 5;
    BYTE m_nByte = 7;
    float m_fFloat = 0.1f;
    int m_nPushes = 0;
    BOOL m_bUseIndex = FALSE;

protected:
    BOOL OnInitDialog() override {
        for (const char* s : {"Contour", "Diagram", "Numbers"}) {
            SendDlgItemMessage(IDC_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
            SendDlgItemMessage(IDC_EDITCOMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        }
        for (const char* s : {"Footings", "Piles", "Rafts"}) SendDlgItemMessage(IDC_LISTBOX, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_CBString(pDX, IDC_COMBO, m_strCombo);
        DDX_CBStringExact(pDX, IDC_EDITCOMBO, m_strEditCombo);
        if (m_bUseIndex)
            DDX_LBIndex(pDX, IDC_LISTBOX, m_nList);
        else
            DDX_LBString(pDX, IDC_LISTBOX, m_strList);
        DDX_Text(pDX, IDC_UINT, m_nUint);
        DDX_Text(pDX, IDC_BYTE, m_nByte);
        DDX_Text(pDX, IDC_FLOAT, m_fFloat);
    }
    afx_msg void OnPush() { ++m_nPushes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CExchangeDlg, CDialog)
    ON_BN_CLICKED(IDC_PUSH, OnPush)
END_MESSAGE_MAP()

class ExchangeTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(RegisterDialogTemplate(ExchangeTemplate()));
    }
    void TearDown() override {
        UnregisterDialogTemplate(IDD_EXCHANGE);
        UiTest::TearDown();
    }
};

BOOL PressKey(CWnd* pTarget, UINT vk) {
    MSG msg{pTarget->m_hWnd, WM_KEYDOWN, vk, 0, 0, {0, 0}};
    return AfxPreTranslateMessage(&msg);
}

BOOL g_loaderCalled = FALSE;
BOOL TestLoader(UINT nID, CString& s) {
    g_loaderCalled = TRUE;
    if (nID != 61700) return FALSE;
    s = "Loaded prompt";
    return TRUE;
}

}  // namespace

TEST_F(ExchangeTest, StringsAndSmallNumbersExchangeBothWays) {
    CExchangeDlg dlg;
    CString shown[4];
    CUiDriver::Get().QueueModal(IDD_EXCHANGE, {[&](CUiDialogSession& s) {
        CWnd* p = s.Dialog();
        p->GetDlgItemText(IDC_COMBO, shown[0]);
        p->GetDlgItemText(IDC_EDITCOMBO, shown[1]);
        shown[2].Format("%d", static_cast<int>(p->SendDlgItemMessage(IDC_LISTBOX, LB_GETCURSEL)));
        p->GetDlgItemText(IDC_FLOAT, shown[3]);
        EXPECT_TRUE(s.SelectComboIndex(IDC_COMBO, 0));
        EXPECT_TRUE(s.SetControlText(IDC_EDITCOMBO, "typed"));
        EXPECT_TRUE(s.SelectListIndex(IDC_LISTBOX, 2));
        EXPECT_TRUE(s.SetControlText(IDC_UINT, "4000000000"));
        EXPECT_TRUE(s.SetControlText(IDC_BYTE, "255"));
        EXPECT_TRUE(s.SetControlText(IDC_FLOAT, "2.5"));
        return IDOK;
    }});
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_STREQ("Numbers", shown[0]);
    EXPECT_STREQ("custom", shown[1]);   // not an item: the edit part keeps the text
    EXPECT_STREQ("1", shown[2]);
    EXPECT_STREQ("0.1", shown[3]);      // floats show FLT_DIG digits
    EXPECT_STREQ("Contour", dlg.m_strCombo);
    EXPECT_STREQ("typed", dlg.m_strEditCombo);
    EXPECT_STREQ("Rafts", dlg.m_strList);
    EXPECT_EQ(4000000000u, dlg.m_nUint);
    EXPECT_EQ(255, dlg.m_nByte);
    EXPECT_FLOAT_EQ(2.5f, dlg.m_fFloat);
}

TEST_F(ExchangeTest, UnsignedFieldsRefuseNegativeAndOversizedNumbers) {
    struct Row {
        UINT id;
        const char* text;
        const char* message;
    } rows[] = {
        {IDC_UINT, "-1", "Please enter a positive integer."},
        {IDC_UINT, "4294967296", "Please enter a positive integer."},
        {IDC_BYTE, "256", "Please enter a positive integer."},
        {IDC_FLOAT, "1e999", "Please enter a number."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        CUiDriver::Get().Reset();
        CExchangeDlg dlg;
        CUiDriver::Get().QueueModal(IDD_EXCHANGE, {[&](CUiDialogSession& s) {
            s.SetControlText(r.id, r.text);
            return IDOK;
        }});
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        ASSERT_EQ(1u, CUiDriver::Get().MessageBoxes().size());
        EXPECT_STREQ(r.message, CUiDriver::Get().MessageBoxes()[0].text);
        EXPECT_EQ(5u, dlg.m_nUint);
    }
}

TEST_F(ExchangeTest, ListIndexAndDialogKeys) {
    CExchangeDlg dlg;
    dlg.m_bUseIndex = TRUE;
    dlg.m_nList = 2;
    ASSERT_TRUE(dlg.Create(IDD_EXCHANGE));
    EXPECT_EQ(2, static_cast<int>(dlg.SendDlgItemMessage(IDC_LISTBOX, LB_GETCURSEL)));
    CWnd* pPush = dlg.GetDlgItem(IDC_PUSH);
    CWnd* pUint = dlg.GetDlgItem(IDC_UINT);
    // Return on a focused push button presses that button, not OK.
    pPush->SetFocus();
    EXPECT_TRUE(PressKey(pPush, VK_RETURN));
    EXPECT_EQ(1, dlg.m_nPushes);
    EXPECT_FALSE(dlg.IsEnded());
    // Tab moves to the next tab stop.
    pUint->SetFocus();
    EXPECT_TRUE(PressKey(pUint, VK_TAB));
    EXPECT_EQ(IDC_BYTE, CWnd::GetFocus()->GetDlgCtrlID());
    // Keys for other windows are left alone; Escape cancels.
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, nullptr, "other", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_FALSE(PressKey(&other, VK_ESCAPE));
    EXPECT_TRUE(PressKey(pUint, VK_ESCAPE));
    EXPECT_TRUE(dlg.IsEnded());
    other.DestroyWindow();
    dlg.DestroyWindow();
}

TEST_F(UiTest, MenusAreEditedInCode) {
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    EXPECT_TRUE(popup.AppendMenu(MF_STRING, 42077, "修改特性"));
    EXPECT_TRUE(popup.AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(popup.AppendMenu(MF_STRING | MF_CHECKED, 42078, "保存为图形文件"));
    EXPECT_TRUE(popup.InsertMenu(0, MF_BYPOSITION | MF_STRING, 42076, "First"));
    EXPECT_TRUE(popup.InsertMenu(42078, MF_BYCOMMAND | MF_STRING, 42079, "Before save"));
    std::vector<UINT> ids;
    for (int i = 0; i < popup.GetMenuItemCount(); ++i) ids.push_back(popup.GetMenuItemID(i));
    EXPECT_EQ((std::vector<UINT>{42076, 42077, 0, 42079, 42078}), ids);
    EXPECT_TRUE(popup.ModifyMenu(42079, MF_BYCOMMAND | MF_STRING | MF_GRAYED, 42080, "Renamed"));
    CString s;
    popup.GetMenuString(3, s, MF_BYPOSITION);
    EXPECT_STREQ("Renamed", s);
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), popup.GetMenuState(42080, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(popup.CheckMenuRadioItem(42076, 42078, 42077, MF_BYCOMMAND));
    EXPECT_EQ(0u, popup.GetMenuState(42078, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(popup.RemoveMenu(2, MF_BYPOSITION));
    EXPECT_TRUE(popup.DeleteMenu(42076, MF_BYCOMMAND));
    EXPECT_FALSE(popup.DeleteMenu(42076, MF_BYCOMMAND));
    EXPECT_EQ(3, popup.GetMenuItemCount());

    // A bar with the pop-up owns it: destroying the bar frees both.
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    HMENU hPopup = popup.m_hMenu;
    EXPECT_TRUE(bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Detach()), "Graph Menu"));
    EXPECT_EQ(hPopup, bar.GetSubMenu(0)->m_hMenu);
    EXPECT_EQ(static_cast<UINT>(MF_POPUP), bar.GetMenuState(0, MF_BYPOSITION) & MF_POPUP);
    EXPECT_TRUE(bar.DestroyMenu());
    EXPECT_FALSE(::IsMenu(hPopup));
}

TEST_F(UiTest, ApplicationObjectAndResources) {
    CWinApp* pApp = AfxGetApp();
    ASSERT_NE(nullptr, pApp);   // a built-in one until the host makes its own
    EXPECT_EQ(pApp, AfxGetThread());
    EXPECT_EQ(0u, pApp->GetProfileInt("ENV_GRAPHICS", "EnableVBPrintOut", 0));
    EXPECT_TRUE(pApp->WriteProfileInt("ENV_GRAPHICS", "EnableVBPrintOut", 1));
    EXPECT_EQ(1u, pApp->GetProfileInt("ENV_GRAPHICS", "EnableVBPrintOut", 0));
    EXPECT_STREQ("x", pApp->GetProfileString("S", "missing", "x"));
    EXPECT_TRUE(pApp->WriteProfileString("ENV_GRAPHICS", "EnableVBPrintOut", nullptr));   // removes the entry
    EXPECT_EQ(7u, pApp->GetProfileInt("ENV_GRAPHICS", "EnableVBPrintOut", 7));
    {
        CWinApp hostApp("pvxhost");
        EXPECT_EQ(&hostApp, AfxGetApp());
        EXPECT_STREQ("pvxhost", AfxGetAppName());
        AfxMessageBox("hello");
        EXPECT_STREQ("pvxhost", CUiDriver::Get().MessageBoxes().back().caption);
    }
    EXPECT_NE(nullptr, AfxGetApp());

    AFX_STRING_LOADER old = CString::SetStringLoader(&TestLoader);
    AfxMessageBox(61700u);
    EXPECT_TRUE(g_loaderCalled);
    EXPECT_STREQ("Loaded prompt", CUiDriver::Get().MessageBoxes().back().text);
    AfxMessageBox(61701u);
    EXPECT_NE(-1, CUiDriver::Get().MessageBoxes().back().text.Find("61701"));
    CString::SetStringLoader(old);

    HINSTANCE h = AfxFindResourceHandle(MAKEINTRESOURCE(10554), RT_MENU);
    EXPECT_NE(nullptr, h);
    AfxSetResourceHandle(reinterpret_cast<HINSTANCE>(0x1000));
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(0x1000), AfxGetResourceHandle());
    AfxSetResourceHandle(nullptr);

    CCmdTarget target;
    target.BeginWaitCursor();
    target.BeginWaitCursor();
    target.EndWaitCursor();
    EXPECT_EQ(1, CCmdTarget::GetWaitCursorCount());
    target.EndWaitCursor();
    target.EndWaitCursor();   // unbalanced ends do not go negative
    EXPECT_EQ(0, CCmdTarget::GetWaitCursorCount());
}

TEST_F(UiTest, ReparentingAndStyleChanges) {
    CWnd a, b;
    ASSERT_TRUE(a.CreateEx(0, nullptr, "a", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(b.CreateEx(0, nullptr, "b", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "c", WS_VISIBLE, CRect(0, 0, 10, 10), &a, 3));
    EXPECT_EQ(&a, child.SetParent(&b));
    EXPECT_EQ(nullptr, a.GetDlgItem(3));
    EXPECT_EQ(&child, b.GetDlgItem(3));
    EXPECT_EQ(nullptr, b.SetParent(&child));   // a window cannot go under its own child
    EXPECT_FALSE(child.ModifyStyle(0, WS_VISIBLE));   // nothing changed
    EXPECT_TRUE(child.ModifyStyle(0, WS_CLIPCHILDREN));
    EXPECT_TRUE(child.GetStyle() & WS_CLIPCHILDREN);
    EXPECT_TRUE(child.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED));
    CRect rc;
    child.GetClientRect(&rc);
    EXPECT_EQ(CRect(0, 0, 6, 6), rc);   // the edge takes two pixels a side
    b.DestroyWindow();
    EXPECT_EQ(nullptr, child.m_hWnd);
    a.DestroyWindow();
}

TEST_F(UiTest, ScrollViewScrollsWithinItsTotalSize) {
    class CListView : public CScrollView {
    public:
        void OnDraw(CDC*) override {}
        void PostNcDestroy() override {}   // on the stack here
    } view;
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "h", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr));
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &host, 1));
    view.SetScrollSizes(MM_TEXT, CSize(226, 500));
    struct Row {
        UINT code;
        UINT pos;
        int expected;
    } rows[] = {
        {SB_LINEDOWN, 0, 5}, {SB_PAGEDOWN, 0, 55}, {SB_THUMBPOSITION, 380, 380}, {SB_BOTTOM, 0, 400},
        {SB_PAGEDOWN, 0, 400}, {SB_TOP, 0, 0}, {SB_LINEUP, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "code " << r.code);
        view.SendMessage(WM_VSCROLL, MAKEWPARAM(r.code, r.pos), 0);
        EXPECT_EQ(r.expected, view.GetScrollPosition().y);
    }
    EXPECT_EQ(CSize(226, 500), view.GetTotalSize());
    host.DestroyWindow();
}

TEST_F(UiTest, RegisteredMessagesAndFileCopies) {
    UINT a = RegisterWindowMessage("WM_LBUTTONDOWN_FROM_MVIEW");
    UINT b = RegisterWindowMessage("WM_MOUSEEDITESCAPE");
    EXPECT_GE(a, 0xC000u);
    EXPECT_NE(a, b);
    EXPECT_EQ(a, RegisterWindowMessage("WM_LBUTTONDOWN_FROM_MVIEW"));
    EXPECT_EQ(0u, RegisterWindowMessage(""));

    std::string dir = PVX_TEST_TMPDIR;
    std::string src = dir + "/ui_copy_src.avi", dst = dir + "/ui_copy_dst.avi", empty = dir + "/ui_copy_empty";
    { std::ofstream(src, std::ios::binary) << std::string(70000, 'x'); }
    { std::ofstream(empty, std::ios::binary); }
    std::remove(dst.c_str());
    struct Row {
        const char* label;
        std::string from;
        BOOL failIfExists;
        BOOL ok;
        size_t size;   // of the target afterwards
    } rows[] = {
        {"copy", src, TRUE, TRUE, 70000},
        {"target kept", empty, TRUE, FALSE, 70000},
        {"overwrite with empty", empty, FALSE, TRUE, 0},
        {"missing source", dir + "/no_such_file", FALSE, FALSE, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(r.ok, CopyFile(r.from.c_str(), dst.c_str(), r.failIfExists));
        std::ifstream in(dst, std::ios::binary | std::ios::ate);
        ASSERT_TRUE(in.good());
        EXPECT_EQ(r.size, static_cast<size_t>(in.tellg()));
    }
    std::remove(src.c_str());
    std::remove(dst.c_str());
    std::remove(empty.c_str());
}
