// CListCtrl: the list-view control (report view with columns, or icon/list views): items with
// sub-item texts, an image index, item data and state bits (LVIS_SELECTED, LVIS_FOCUSED).
//
// State changes, from code or from CUiDriver, send LVN_ITEMCHANGING (a non-zero answer vetoes)
// and LVN_ITEMCHANGED to the parent through WM_NOTIFY with an NMLISTVIEW; with LVS_SINGLESEL
// selecting one item clears the others first. Inserting and deleting send LVN_INSERTITEM,
// LVN_DELETEITEM and LVN_DELETEALLITEMS.
#pragma once

#include "platform/ui/CImageList.h"
#include "platform/ui/CWnd.h"

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1);
    int InsertColumn(int nCol, const LVCOLUMN* pColumn);
    BOOL DeleteColumn(int nCol);
    BOOL SetColumnWidth(int nCol, int cx);
    int GetColumnWidth(int nCol) const;
    int GetColumnCount() const;

    int InsertItem(int nItem, LPCTSTR lpszItem);
    int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    int InsertItem(const LVITEM* pItem);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const;
    BOOL SetItem(const LVITEM* pItem);
    BOOL GetItem(LVITEM* pItem) const;
    int GetItemImage(int nItem) const;

    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    UINT GetSelectedCount() const;
    int GetNextItem(int nItem, int nFlags) const;
    int GetSelectionMark() const { return m_nSelectionMarkUnused; }

    DWORD SetExtendedStyle(DWORD dwNewStyle);
    DWORD GetExtendedStyle() const;
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageListType) const;
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    BOOL SetCheck(int nItem, BOOL fCheck = TRUE);
    BOOL GetCheck(int nItem) const;

private:
    int m_nSelectionMarkUnused = -1;
};

namespace ui {
// A user's click on an item: selects it (alone unless bAdd) and sends NM_CLICK.
BOOL ListViewUserClick(HWND hList, int nItem, BOOL bAdd);
}
