// Controls: list and tree controls, their notifications, combo and list boxes, sliders, spins,
// tabs and buttons.
#include "UiTestSupport.h"

#include <functional>

namespace {

const UINT IDC_LIST = 11263;
const UINT IDC_TREE = 11264;

// A parent that records the notifications its controls send.
class CHostWnd : public CWnd {
public:
    std::vector<NMLISTVIEW> m_changed;
    std::vector<std::pair<int, int>> m_treeSel;   // old, new item data
    std::vector<std::string> m_log;
    BOOL m_bVetoChanging = FALSE;
    BOOL Make() { return CreateEx(0, nullptr, "host", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr); }

protected:
    afx_msg void OnItemChanging(NMHDR*, LRESULT* pResult) { *pResult = m_bVetoChanging; }
    afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult) {
        m_changed.push_back(*reinterpret_cast<NMLISTVIEW*>(pNMHDR));
        *pResult = 0;
    }
    afx_msg void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT*) {
        NMTREEVIEW* p = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
        m_treeSel.emplace_back(static_cast<int>(p->itemOld.lParam), static_cast<int>(p->itemNew.lParam));
    }
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
        m_log.push_back("hscroll " + std::to_string(nSBCode) + " " + std::to_string(nPos) + " id " +
                        std::to_string(reinterpret_cast<CWnd*>(pScrollBar)->GetDlgCtrlID()));
    }
    afx_msg void OnDeltaPos(NMHDR* pNMHDR, LRESULT* pResult) {
        NMUPDOWN* p = reinterpret_cast<NMUPDOWN*>(pNMHDR);
        m_log.push_back("delta " + std::to_string(p->iPos) + " " + std::to_string(p->iDelta));
        *pResult = p->iPos + p->iDelta > 3;   // refuse to go past 3
    }
    afx_msg void OnTabChange(NMHDR*, LRESULT*) { m_log.push_back("tab change"); }
    afx_msg void OnRadio(UINT nID) { m_log.push_back("radio " + std::to_string(nID)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
    ON_NOTIFY(LVN_ITEMCHANGING, IDC_LIST, OnItemChanging)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, OnItemChanged)
    ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, OnTreeSelChanged)
    ON_WM_HSCROLL()
    ON_NOTIFY(UDN_DELTAPOS, 30, OnDeltaPos)
    ON_NOTIFY(TCN_SELCHANGE, 40, OnTabChange)
    ON_CONTROL_RANGE(BN_CLICKED, 51, 53, OnRadio)
END_MESSAGE_MAP()

}  // namespace

TEST_F(UiTest, ListControlStateChangesReachTheParentThroughWmNotify) {
    CHostWnd host;
    ASSERT_TRUE(host.Make());
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL, CRect(0, 0, 200, 100), &host, IDC_LIST));
    EXPECT_EQ(0, list.InsertColumn(0, "Name", LVCFMT_LEFT, 80));
    EXPECT_EQ(1, list.InsertColumn(1, "Value", LVCFMT_RIGHT, 60));
    EXPECT_EQ(0, list.InsertItem(0, "Load 1", 2));
    EXPECT_EQ(1, list.InsertItem(1, "Load 2", 3));
    EXPECT_EQ(1, list.InsertItem(1, "Load 1a", 4));   // inserted in the middle
    EXPECT_TRUE(list.SetItemText(1, 1, "12.5"));
    EXPECT_FALSE(list.SetItemText(1, 2, "no such column"));
    EXPECT_FALSE(list.SetItemText(9, 0, "no such item"));
    list.SetItemData(2, 77);
    EXPECT_EQ(3, list.GetItemCount());
    EXPECT_STREQ("Load 1a", list.GetItemText(1, 0));
    EXPECT_STREQ("12.5", list.GetItemText(1, 1));
    EXPECT_EQ(4, list.GetItemImage(1));

    EXPECT_TRUE(list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED));
    ASSERT_EQ(1u, host.m_changed.size());
    EXPECT_EQ(2, host.m_changed[0].iItem);
    EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED), host.m_changed[0].uNewState);
    EXPECT_EQ(0u, host.m_changed[0].uOldState);
    EXPECT_EQ(77, host.m_changed[0].lParam);
    EXPECT_EQ(static_cast<UINT>(LVN_ITEMCHANGED), host.m_changed[0].hdr.code);
    EXPECT_EQ(static_cast<UINT_PTR>(IDC_LIST), host.m_changed[0].hdr.idFrom);

    // Single selection: selecting item 0 first clears item 2.
    host.m_changed.clear();
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(2u, host.m_changed.size());
    EXPECT_EQ(2, host.m_changed[0].iItem);
    EXPECT_EQ(0u, host.m_changed[0].uNewState);
    EXPECT_EQ(0, host.m_changed[1].iItem);

    POSITION pos = list.GetFirstSelectedItemPosition();
    ASSERT_NE(nullptr, pos);
    EXPECT_EQ(0, list.GetNextSelectedItem(pos));
    EXPECT_EQ(nullptr, pos);

    // A vetoed change does not happen and is not announced as changed.
    host.m_changed.clear();
    host.m_bVetoChanging = TRUE;
    EXPECT_FALSE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(0u, list.GetItemState(1, LVIS_SELECTED));
    EXPECT_TRUE(host.m_changed.empty());
    host.m_bVetoChanging = FALSE;

    // A user's click selects the item alone and tells the parent of each change.
    host.m_changed.clear();
    CUiDialogSession user(&host);
    EXPECT_TRUE(user.ClickListItem(IDC_LIST, 1));
    ASSERT_EQ(2u, host.m_changed.size());
    EXPECT_EQ(0, host.m_changed[0].iItem);   // item 0 loses the selection first
    EXPECT_EQ(1, host.m_changed[1].iItem);
    EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED), host.m_changed[1].uNewState);
    EXPECT_FALSE(user.ClickListItem(IDC_LIST, 7));

    EXPECT_TRUE(list.DeleteItem(1));
    EXPECT_EQ(nullptr, list.GetFirstSelectedItemPosition());
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(0, list.GetItemCount());
    host.DestroyWindow();
}

TEST_F(UiTest, TreeControlKeepsItsStructureAndRefusesStaleItems) {
    CHostWnd host;
    ASSERT_TRUE(host.Make());
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_CHECKBOXES, CRect(0, 0, 200, 200), &host, IDC_TREE));
    HTREEITEM a = tree.InsertItem("Footings");
    HTREEITEM b = tree.InsertItem("Piles");
    HTREEITEM a2 = tree.InsertItem("F2", a);
    HTREEITEM a1 = tree.InsertItem("F1", a, TVI_FIRST);
    HTREEITEM a3 = tree.InsertItem("F3", a, a2);
    HTREEITEM c = tree.InsertItem("Beams", TVI_ROOT, TVI_SORT);
    ASSERT_TRUE(a && b && a1 && a2 && a3 && c);
    EXPECT_EQ(nullptr, tree.InsertItem("orphan", a1, b));   // insert-after item of another parent

    // Walk: roots in order, children in order.
    std::vector<std::string> order;
    for (HTREEITEM h = tree.GetRootItem(); h; h = tree.GetNextSiblingItem(h)) {
        order.push_back(std::string(tree.GetItemText(h)));
        for (HTREEITEM k = tree.GetChildItem(h); k; k = tree.GetNextSiblingItem(k))
            order.push_back("  " + std::string(tree.GetItemText(k)));
    }
    std::vector<std::string> expected = {"Beams", "Footings", "  F1", "  F2", "  F3", "Piles"};
    EXPECT_EQ(expected, order);
    EXPECT_EQ(a, tree.GetParentItem(a3));
    EXPECT_EQ(nullptr, tree.GetParentItem(a));
    EXPECT_EQ(6u, tree.GetCount());

    tree.SetItemData(a1, 11);
    tree.SetItemData(a2, 12);
    EXPECT_TRUE(tree.SelectItem(a1));
    CUiDialogSession user(&host);
    EXPECT_TRUE(user.SelectTreeItem(IDC_TREE, a2));
    EXPECT_EQ(a2, tree.GetSelectedItem());
    std::vector<std::pair<int, int>> sel = {{0, 11}, {11, 12}};
    EXPECT_EQ(sel, host.m_treeSel);

    EXPECT_FALSE(tree.GetCheck(a3));
    EXPECT_TRUE(tree.SetCheck(a3, TRUE));
    EXPECT_TRUE(tree.GetCheck(a3));
    EXPECT_TRUE(tree.Expand(a, TVE_EXPAND));
    EXPECT_EQ(static_cast<UINT>(TVIS_EXPANDED), tree.GetItemState(a, TVIS_EXPANDED));

    // Deleting a parent removes its children; their handles are refused afterwards.
    EXPECT_TRUE(tree.DeleteItem(a));
    EXPECT_EQ(nullptr, tree.GetSelectedItem());
    EXPECT_STREQ("", tree.GetItemText(a2));
    EXPECT_FALSE(tree.SetItemText(a3, "x"));
    EXPECT_FALSE(tree.SelectItem(a1));
    EXPECT_EQ(2u, tree.GetCount());
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(nullptr, tree.GetRootItem());
    host.DestroyWindow();
}

TEST_F(UiTest, ComboAndListBoxesFindSortAndSelect) {
    CHostWnd host;
    ASSERT_TRUE(host.Make());
    CComboBox sorted, plain;
    ASSERT_TRUE(sorted.Create(WS_CHILD | CBS_DROPDOWNLIST | CBS_SORT, CRect(0, 0, 50, 100), &host, 10));
    ASSERT_TRUE(plain.Create(WS_CHILD | CBS_DROPDOWN, CRect(0, 0, 50, 100), &host, 11));
    for (const char* s : {"Mode 3", "mode 1", "Mode 2"}) {
        sorted.AddString(s);
        plain.AddString(s);
    }
    CString t;
    sorted.GetLBText(0, t);
    EXPECT_STREQ("mode 1", t);
    plain.GetLBText(0, t);
    EXPECT_STREQ("Mode 3", t);
    struct Row {
        int start;
        const char* text;
        BOOL exact;
        int expected;
    } rows[] = {
        {-1, "MODE 2", TRUE, 2}, {-1, "Mode", FALSE, 0}, {0, "Mode", FALSE, 1}, {2, "Mode", FALSE, 0},
        {-1, "Mode", TRUE, CB_ERR}, {-1, "Beam", FALSE, CB_ERR},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.start << " " << r.text << " exact " << r.exact);
        EXPECT_EQ(r.expected, r.exact ? plain.FindStringExact(r.start, r.text) : plain.FindString(r.start, r.text));
    }
    EXPECT_EQ(CB_ERR, plain.GetCurSel());
    EXPECT_EQ(2, plain.SetCurSel(2));
    plain.GetWindowText(t);
    EXPECT_STREQ("Mode 2", t);
    EXPECT_EQ(CB_ERR, plain.SetCurSel(7));
    EXPECT_EQ(CB_ERR, plain.GetCurSel());
    plain.SetItemData(1, 0x1234);
    EXPECT_EQ(0x1234u, plain.GetItemData(1));
    EXPECT_EQ(2, plain.DeleteString(0));
    EXPECT_EQ(0x1234u, plain.GetItemData(0));
    EXPECT_EQ(CB_ERR, static_cast<int>(plain.GetItemData(5)));
    // A drop-down list takes text only by selecting the matching item.
    EXPECT_EQ(1, sorted.SelectString(-1, "MODE 2"));
    sorted.GetWindowText(t);
    EXPECT_STREQ("Mode 2", t);

    CListBox multi;
    ASSERT_TRUE(multi.Create(WS_CHILD | LBS_MULTIPLESEL | LBS_NOTIFY, CRect(0, 0, 50, 100), &host, 12));
    for (int i = 0; i < 5; ++i) multi.AddString(std::to_string(i).c_str());
    multi.SetSel(1);
    multi.SetSel(3);
    multi.SetSel(4);
    multi.SetSel(4, FALSE);
    int items[100];
    ASSERT_EQ(2, multi.GetSelItems(100, items));
    EXPECT_EQ(1, items[0]);
    EXPECT_EQ(3, items[1]);
    EXPECT_EQ(2, multi.GetSelCount());
    EXPECT_EQ(LB_ERR, multi.SetCurSel(1));   // single selection calls do not apply
    host.DestroyWindow();
}

TEST_F(UiTest, UserActionsOnSmallControlsNotifyTheParent) {
    CHostWnd host;
    ASSERT_TRUE(host.Make());
    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &host, 20));
    slider.SetRange(0, 100);
    slider.SetPos(150);
    EXPECT_EQ(100, slider.GetPos());   // clamped
    EXPECT_EQ(100, static_cast<int>(slider.SendMessage(TBM_GETRANGEMAX)));
    CUiDialogSession user(&host);
    EXPECT_TRUE(user.MoveSlider(20, 35));
    EXPECT_EQ(35, slider.GetPos());

    CEdit buddy;
    ASSERT_TRUE(buddy.Create(WS_CHILD | WS_VISIBLE, CRect(0, 30, 40, 50), &host, 31));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT, CRect(40, 30, 55, 50), &host, 30));
    spin.SetRange32(0, 10);
    spin.SetBuddy(&buddy);
    spin.SetPos32(2);
    CString text;
    buddy.GetWindowText(text);
    EXPECT_STREQ("2", text);
    EXPECT_TRUE(ui::SpinUserStep(spin.m_hWnd, 1));
    EXPECT_FALSE(ui::SpinUserStep(spin.m_hWnd, 1));   // the parent refuses 4
    EXPECT_EQ(3, spin.GetPos32());
    buddy.GetWindowText(text);
    EXPECT_STREQ("3", text);

    CTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 60, 200, 80), &host, 40));
    tab.InsertItem(0, "View");
    tab.InsertItem(1, "Display");
    EXPECT_EQ(0, tab.SetCurSel(1));   // from code: no notification
    EXPECT_TRUE(user.SelectTab(40, 0));
    EXPECT_EQ(0, tab.GetCurSel());

    CButton radios[3];
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(radios[i].Create("r", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0),
                                     CRect(0, 90 + 10 * i, 40, 100 + 10 * i), &host, 51 + i));
    radios[0].SetCheck(BST_CHECKED);
    EXPECT_TRUE(user.ClickButton(53));
    EXPECT_EQ(BST_UNCHECKED, radios[0].GetCheck());
    EXPECT_EQ(BST_CHECKED, radios[2].GetCheck());
    radios[1].EnableWindow(FALSE);
    EXPECT_FALSE(user.ClickButton(52));

    std::vector<std::string> expected = {"hscroll 4 35 id 20", "hscroll 8 0 id 20", "delta 2 1", "delta 3 1",
                                         "tab change", "radio 53"};
    EXPECT_EQ(expected, host.m_log);
    host.DestroyWindow();
}

// Deleting an item from a combo box, list box or tab control: the selection follows the items
// after it, goes when its own item goes (a drop-down list then shows no text), and a missing
// item is refused.
TEST_F(UiTest, DeletingItemsMovesOrDropsTheSelection) {
    CHostWnd host;
    ASSERT_TRUE(host.Make());
    CComboBox dropList, dropDown;
    CListBox list;
    CTabCtrl tab;
    ASSERT_TRUE(dropList.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 50, 100), &host, 10));
    ASSERT_TRUE(dropDown.Create(WS_CHILD | CBS_DROPDOWN, CRect(0, 0, 50, 100), &host, 11));
    ASSERT_TRUE(list.Create(WS_CHILD, CRect(0, 0, 50, 100), &host, 12));
    ASSERT_TRUE(tab.Create(WS_CHILD, CRect(0, 0, 50, 20), &host, 13));
    const char* names[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i) {
        dropList.AddString(names[i]);
        dropDown.AddString(names[i]);
        list.AddString(names[i]);
        tab.InsertItem(i, names[i]);
    }
    struct Ctl {
        const char* name;
        std::function<int()> count, cur;
        std::function<void(int)> select;
        std::function<bool(int)> erase;  // true when the control reports success
        const char* textAfterSelectedGoes;  // window text then; nullptr where there is none
    } ctls[] = {
        {"drop-down list", [&] { return dropList.GetCount(); }, [&] { return dropList.GetCurSel(); },
         [&](int i) { dropList.SetCurSel(i); }, [&](int i) { return dropList.DeleteString(i) != CB_ERR; }, ""},
        {"drop-down", [&] { return dropDown.GetCount(); }, [&] { return dropDown.GetCurSel(); },
         [&](int i) { dropDown.SetCurSel(i); }, [&](int i) { return dropDown.DeleteString(i) != CB_ERR; }, "c"},
        {"list box", [&] { return list.GetCount(); }, [&] { return list.GetCurSel(); },
         [&](int i) { list.SetCurSel(i); }, [&](int i) { return list.DeleteString(i) != LB_ERR; }, nullptr},
        {"tab", [&] { return tab.GetItemCount(); }, [&] { return tab.GetCurSel(); },
         [&](int i) { tab.SetCurSel(i); }, [&](int i) { return tab.DeleteItem(i) != FALSE; }, nullptr},
    };
    CWnd* wnds[] = {&dropList, &dropDown, &list, nullptr};
    for (size_t k = 0; k < 4; ++k) {
        const Ctl& c = ctls[k];
        SCOPED_TRACE(c.name);
        c.select(2);
        EXPECT_TRUE(c.erase(0));
        EXPECT_EQ(3, c.count());
        EXPECT_EQ(1, c.cur()) << "the selection moves with its item";
        EXPECT_TRUE(c.erase(2));
        EXPECT_EQ(1, c.cur()) << "removing a later item leaves it";
        EXPECT_FALSE(c.erase(5));
        EXPECT_FALSE(c.erase(-1));
        EXPECT_EQ(2, c.count());
        EXPECT_TRUE(c.erase(1));
        EXPECT_EQ(-1, c.cur()) << "the selected item went";
        if (c.textAfterSelectedGoes) {
            CString t;
            wnds[k]->GetWindowText(t);
            EXPECT_STREQ(c.textAfterSelectedGoes, t);
        }
    }
    CString t;
    list.GetText(0, t);
    EXPECT_STREQ("b", t);
    host.DestroyWindow();
}

TEST_F(UiTest, WrappersFromHandleMatchTheControlClass) {
    CHostWnd host;
    ASSERT_TRUE(host.Make());
    CWnd raw;
    ASSERT_TRUE(raw.CreateEx(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 10, 10), &host, 60));
    HWND h = raw.Detach();
    CWnd* p = host.GetDlgItem(60);
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CComboBox)));
    static_cast<CComboBox*>(p)->AddString("x");
    // Subclassing puts the caller's object in the wrapper's place; both see the same items.
    CComboBox mine;
    EXPECT_TRUE(mine.SubclassDlgItem(60, &host));
    EXPECT_EQ(&mine, host.GetDlgItem(60));
    EXPECT_EQ(1, mine.GetCount());
    CComboBox other;
    EXPECT_FALSE(other.SubclassWindow(h));   // already owned
    host.DestroyWindow();
    EXPECT_EQ(nullptr, mine.m_hWnd);
}
