// Tree-view controls: the item tree and its notifications.
#include "platform/ui/CTreeCtrl.h"

#include <algorithm>
#include <memory>
#include <set>

#include "platform/ui/UiWindow.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {

struct Node {
    std::string text;
    int image = 0;
    int selImage = 0;
    LPARAM data = 0;
    UINT state = 0;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
};

struct TreeData : UiControlData {
    Node root;
    std::set<const Node*> live;   // handles that may be followed
    Node* selected = nullptr;
    CImageList* lists[3] = {nullptr, nullptr, nullptr};
};

TreeData* TreeDataOf(HWND h) {
    UiWindow* w = ui::Find(h);
    if (!w) return nullptr;
    if (!w->ext) w->ext = std::make_unique<TreeData>();
    return dynamic_cast<TreeData*>(w->ext.get());
}

Node* NodeOf(TreeData* d, HTREEITEM h) {
    if (!d || !h) return nullptr;
    Node* n = reinterpret_cast<Node*>(h);
    return d->live.count(n) ? n : nullptr;
}

HTREEITEM H(Node* n) { return reinterpret_cast<HTREEITEM>(n); }

void FillItem(TVITEM& it, Node* n) {
    it.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    it.hItem = H(n);
    if (!n) return;
    it.lParam = n->data;
    it.state = n->state;
    it.iImage = n->image;
    it.iSelectedImage = n->selImage;
}

LRESULT NotifyTree(HWND h, int code, Node* oldNode, Node* newNode, UINT action) {
    UiWindow* w = ui::Find(h);
    if (!w) return 0;
    NMTREEVIEW nm{};
    nm.action = action;
    FillItem(nm.itemOld, oldNode);
    FillItem(nm.itemNew, newNode);
    return ui::NotifyParent(*w, &nm.hdr, code);
}

void Collect(Node* n, std::vector<Node*>& out) {
    for (auto& c : n->children) Collect(c.get(), out);
    out.push_back(n);
}

BOOL Select(HWND h, Node* n, UINT action) {
    TreeData* d = TreeDataOf(h);
    if (!d) return FALSE;
    Node* old = d->selected;
    if (old == n) return TRUE;
    if (NotifyTree(h, TVN_SELCHANGING, old, n, action)) return FALSE;
    d = TreeDataOf(h);
    if (!d || (n && !d->live.count(n))) return FALSE;
    if (old && d->live.count(old)) old->state &= ~static_cast<UINT>(TVIS_SELECTED);
    else old = nullptr;
    d->selected = n;
    if (n) n->state |= TVIS_SELECTED;
    if (UiWindow* w = ui::Find(h)) ui::AddUpdate(*w, nullptr, TRUE);
    NotifyTree(h, TVN_SELCHANGED, old, n, action);
    return TRUE;
}

}  // namespace

namespace ui {

BOOL TreeViewProc(UiWindow& w, UINT message, WPARAM, LPARAM, LRESULT& r) {
    switch (message) {
    case WM_GETDLGCODE:
        r = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return TRUE;
    default:
        return FALSE;
    }
    (void)w;
}

// A user's click on a tree item.
BOOL TreeViewUserSelect(HWND hTree, HTREEITEM hItem) {
    TreeData* d = TreeDataOf(hTree);
    Node* n = NodeOf(d, hItem);
    UiWindow* w = Find(hTree);
    if (!n || !w || (w->style & WS_DISABLED)) return FALSE;
    return Select(hTree, n, TVC_BYMOUSE);
}

}  // namespace ui

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("SysTreeView32", nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    return InsertItem(lpszItem, 0, 0, hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    TVINSERTSTRUCT is{};
    is.hParent = hParent;
    is.hInsertAfter = hInsertAfter;
    is.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    is.item.pszText = const_cast<LPTSTR>(lpszItem ? lpszItem : "");
    is.item.iImage = nImage;
    is.item.iSelectedImage = nSelectedImage;
    return InsertItem(&is);
}

HTREEITEM CTreeCtrl::InsertItem(const TVINSERTSTRUCT* p) {
    TreeData* d = TreeDataOf(m_hWnd);
    if (!d || !p) return nullptr;
    Node* parent = (p->hParent == TVI_ROOT || !p->hParent) ? &d->root : NodeOf(d, p->hParent);
    if (!parent) return nullptr;
    auto n = std::make_unique<Node>();
    n->parent = parent;
    if (p->item.mask & TVIF_TEXT) n->text = p->item.pszText ? p->item.pszText : "";
    if (p->item.mask & TVIF_IMAGE) n->image = p->item.iImage;
    if (p->item.mask & TVIF_SELECTEDIMAGE) n->selImage = p->item.iSelectedImage;
    if (p->item.mask & TVIF_PARAM) n->data = p->item.lParam;
    if (p->item.mask & TVIF_STATE) n->state = p->item.state & p->item.stateMask & ~static_cast<UINT>(TVIS_SELECTED);
    auto& kids = parent->children;
    size_t at = kids.size();
    if (p->hInsertAfter == TVI_FIRST) {
        at = 0;
    } else if (p->hInsertAfter == TVI_SORT) {
        at = 0;
        while (at < kids.size() && CString(kids[at]->text.c_str()).CompareNoCase(n->text.c_str()) <= 0) ++at;
    } else if (p->hInsertAfter != TVI_LAST && p->hInsertAfter) {
        Node* after = NodeOf(d, p->hInsertAfter);
        if (!after || after->parent != parent) return nullptr;
        for (size_t i = 0; i < kids.size(); ++i)
            if (kids[i].get() == after) at = i + 1;
    }
    Node* raw = n.get();
    kids.insert(kids.begin() + static_cast<long>(at), std::move(n));
    d->live.insert(raw);
    if (UiWindow* w = ui::Find(m_hWnd)) ui::AddUpdate(*w, nullptr, TRUE);
    return H(raw);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem) {
    TreeData* d = TreeDataOf(m_hWnd);
    if (!d) return FALSE;
    Node* n = (hItem == TVI_ROOT || !hItem) ? &d->root : NodeOf(d, hItem);
    if (!n) return FALSE;
    std::vector<Node*> doomed;
    Collect(n, doomed);
    if (n == &d->root) doomed.pop_back();
    for (Node* x : doomed) NotifyTree(m_hWnd, TVN_DELETEITEM, x, nullptr, 0);
    d = TreeDataOf(m_hWnd);
    if (!d) return FALSE;
    for (Node* x : doomed) {
        d->live.erase(x);
        if (d->selected == x) d->selected = nullptr;
    }
    if (n == &d->root) {
        d->root.children.clear();
    } else {
        auto& sib = n->parent->children;
        sib.erase(std::remove_if(sib.begin(), sib.end(), [n](const std::unique_ptr<Node>& p) { return p.get() == n; }), sib.end());
    }
    if (UiWindow* w = ui::Find(m_hWnd)) ui::AddUpdate(*w, nullptr, TRUE);
    return TRUE;
}

BOOL CTreeCtrl::DeleteAllItems() { return DeleteItem(TVI_ROOT); }

HTREEITEM CTreeCtrl::GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUS); }
HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
HTREEITEM CTreeCtrl::GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const {
    TreeData* d = TreeDataOf(m_hWnd);
    if (!d) return nullptr;
    if (nCode == TVGN_ROOT) return d->root.children.empty() ? nullptr : H(d->root.children.front().get());
    if (nCode == TVGN_CARET) return H(d->selected);
    Node* n = (hItem == TVI_ROOT) ? &d->root : NodeOf(d, hItem);
    if (!n) return nullptr;
    switch (nCode) {
    case TVGN_CHILD:
        return n->children.empty() ? nullptr : H(n->children.front().get());
    case TVGN_PARENT:
        return (n->parent && n->parent != &d->root) ? H(n->parent) : nullptr;
    case TVGN_NEXT:
    case TVGN_PREVIOUS: {
        if (!n->parent) return nullptr;
        auto& sib = n->parent->children;
        for (size_t i = 0; i < sib.size(); ++i) {
            if (sib[i].get() != n) continue;
            if (nCode == TVGN_NEXT) return i + 1 < sib.size() ? H(sib[i + 1].get()) : nullptr;
            return i > 0 ? H(sib[i - 1].get()) : nullptr;
        }
        return nullptr;
    }
    default:
        return nullptr;
    }
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
    Node* n = NodeOf(TreeDataOf(m_hWnd), hItem);
    return n && !n->children.empty();
}

UINT CTreeCtrl::GetCount() const {
    TreeData* d = TreeDataOf(m_hWnd);
    return d ? static_cast<UINT>(d->live.size()) : 0;
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    Node* n = NodeOf(TreeDataOf(m_hWnd), hItem);
    return n ? CString(n->text.c_str()) : CString();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem) {
    Node* n = NodeOf(TreeDataOf(m_hWnd), hItem);
    if (!n) return FALSE;
    n->text = lpszItem ? lpszItem : "";
    return TRUE;
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
    Node* n = NodeOf(TreeDataOf(m_hWnd), hItem);
    return n ? static_cast<DWORD_PTR>(n->data) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
    Node* n = NodeOf(TreeDataOf(m_hWnd), hItem);
    if (!n) return FALSE;
    n->data = static_cast<LPARAM>(dwData);
    return TRUE;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const {
    Node* n = NodeOf(TreeDataOf(m_hWnd), hItem);
    if (!n) return FALSE;
    nImage = n->image;
    nSelectedImage = n->selImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) {
    Node* n = NodeOf(TreeDataOf(m_hWnd), hItem);
    if (!n) return FALSE;
    n->image = nImage;
    n->selImage = nSelectedImage;
    return TRUE;
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const {
    Node* n = NodeOf(TreeDataOf(m_hWnd), hItem);
    return n ? (n->state & nStateMask) : 0;
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
    TreeData* d = TreeDataOf(m_hWnd);
    Node* n = NodeOf(d, hItem);
    if (!n) return FALSE;
    if (nStateMask & TVIS_SELECTED) {
        if (nState & TVIS_SELECTED) Select(m_hWnd, n, TVC_UNKNOWN);
        else if (d->selected == n) Select(m_hWnd, nullptr, TVC_UNKNOWN);
        nStateMask &= ~static_cast<UINT>(TVIS_SELECTED);
        n = NodeOf(TreeDataOf(m_hWnd), hItem);
        if (!n) return FALSE;
    }
    n->state = (n->state & ~nStateMask) | (nState & nStateMask);
    return TRUE;
}

// Check marks are state image 1 (unchecked) and 2 (checked).
BOOL CTreeCtrl::GetCheck(HTREEITEM hItem) const { return (GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12) == 2; }

BOOL CTreeCtrl::SetCheck(HTREEITEM hItem, BOOL fCheck) {
    return SetItemState(hItem, static_cast<UINT>((fCheck ? 2 : 1) << 12), TVIS_STATEIMAGEMASK);
}

BOOL CTreeCtrl::SelectItem(HTREEITEM hItem) {
    TreeData* d = TreeDataOf(m_hWnd);
    if (!d) return FALSE;
    Node* n = hItem ? NodeOf(d, hItem) : nullptr;
    if (hItem && !n) return FALSE;
    return Select(m_hWnd, n, TVC_UNKNOWN);
}

BOOL CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode) {
    Node* n = NodeOf(TreeDataOf(m_hWnd), hItem);
    if (!n) return FALSE;
    BOOL was = (n->state & TVIS_EXPANDED) != 0;
    BOOL now = (nCode & 3) == TVE_EXPAND ? TRUE : (nCode & 3) == TVE_COLLAPSE ? FALSE : (nCode & 3) == TVE_TOGGLE ? !was : was;
    if (now)
        n->state |= TVIS_EXPANDED;
    else
        n->state &= ~static_cast<UINT>(TVIS_EXPANDED);
    return TRUE;
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM hItem) {
    Node* n = NodeOf(TreeDataOf(m_hWnd), hItem);
    if (!n) return FALSE;
    for (Node* p = n->parent; p && p->parent; p = p->parent) p->state |= TVIS_EXPANDED;
    return TRUE;
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    TreeData* d = TreeDataOf(m_hWnd);
    if (!d || nImageListType < 0 || nImageListType > 2) return nullptr;
    CImageList* old = d->lists[nImageListType];
    d->lists[nImageListType] = pImageList;
    return old;
}

CImageList* CTreeCtrl::GetImageList(int nImageListType) const {
    TreeData* d = TreeDataOf(m_hWnd);
    return (d && nImageListType >= 0 && nImageListType <= 2) ? d->lists[nImageListType] : nullptr;
}
