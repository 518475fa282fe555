// CListBox and CCheckListBox: lists of strings with item data, single or multiple selection
// (LBS_MULTIPLESEL, LBS_EXTENDEDSEL) and, for the check list, a check state per item.
// Programmatic changes do not notify; a selection by CUiDriver sends LBN_SELCHANGE when the
// list has LBS_NOTIFY, and a user's check toggle sends CLBN_CHKCHANGE.
#pragma once

#include "platform/ui/CWnd.h"

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int AddString(LPCTSTR lpszItem);
    int InsertString(int nIndex, LPCTSTR lpszItem);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetSel(int nIndex) const;
    int SetSel(int nIndex, BOOL bSelect = TRUE);
    int GetSelCount() const;
    int GetSelItems(int nMaxItems, int* rgIndex) const;
    int GetText(int nIndex, LPTSTR lpszBuffer) const;
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const;
    int FindString(int nStartAfter, LPCTSTR lpszItem) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszItem);
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetCaretIndex(int nIndex, BOOL bScroll = TRUE);
    int GetCaretIndex() const;
    int SetTopIndex(int nIndex);
    int GetTopIndex() const;
};

class CCheckListBox : public CListBox {
    DECLARE_DYNAMIC(CCheckListBox)
public:
    void SetCheck(int nIndex, int nCheck);
    int GetCheck(int nIndex) const;   // -1 for a bad index
    void SetCheckStyle(UINT nStyle) { m_nCheckStyle = nStyle; }
    UINT GetCheckStyle() const { return m_nCheckStyle; }

private:
    UINT m_nCheckStyle = BS_AUTOCHECKBOX;
};

namespace ui {
// A user's click on a list item: selects it (toggles it in a multi-selection list).
BOOL ListBoxUserSelect(HWND hList, int nIndex);
// A user's double-click on an item: selected as a click does, then LBN_DBLCLK.
BOOL ListBoxUserDoubleClick(HWND hList, int nIndex);
// A user's click on an item's check box: toggles it and sends CLBN_CHKCHANGE.
BOOL ListBoxUserCheck(HWND hList, int nIndex);
}
