// The small common controls: CSliderCtrl (track bar), CSpinButtonCtrl (up-down), CTabCtrl and
// CProgressCtrl. Ranges and positions live with the window and answer the control messages
// (TBM_*, UDM_*, TCM_*, PBM_*) as well as the wrapper calls.
//
// A slider moved by CUiDriver sends WM_HSCROLL (WM_VSCROLL with TBS_VERT) with TB_THUMBPOSITION
// and then TB_ENDTRACK to its parent. A spin step asks the parent first with UDN_DELTAPOS (a
// non-zero answer vetoes), then moves, updates a UDS_SETBUDDYINT buddy and sends WM_VSCROLL
// (WM_HSCROLL with UDS_HORZ) with SB_THUMBPOSITION. A tab picked by the driver sends
// TCN_SELCHANGING (non-zero vetoes) and TCN_SELCHANGE; SetCurSel from code sends nothing.
#pragma once

#include "platform/ui/CWnd.h"

class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    void GetRange(int& nMin, int& nMax) const;
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE);
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int nPos);
    int GetPos() const;
    void SetTicFreq(int nFreq);
    int SetPageSize(int nSize);   // previous page size
    int GetPageSize() const;
    int SetLineSize(int nSize);   // previous line size
    int GetLineSize() const;
};

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    void GetRange32(int& nLower, int& nUpper) const { GetRange(nLower, nUpper); }
    int SetPos(int nPos);   // previous position
    int SetPos32(int nPos) { return SetPos(nPos); }
    int GetPos() const;     // position in the low word, as the control reports it
    int GetPos32(BOOL* lpbError = nullptr) const;
    CWnd* SetBuddy(CWnd* pWndBuddy);   // previous buddy
    CWnd* GetBuddy() const;
};

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    LONG InsertItem(int nItem, LPCTSTR lpszItem);
    LONG InsertItem(int nItem, TCITEM* pTabCtrlItem);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    int GetCurSel() const;
    int SetCurSel(int nItem);   // previous selection, -1 on failure
    BOOL GetItem(int nItem, TCITEM* pTabCtrlItem) const;
    BOOL SetItem(int nItem, TCITEM* pTabCtrlItem);
};

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    int SetPos(int nPos);       // previous position
    int GetPos() const;
    int OffsetPos(int nPos);    // previous position
    int SetStep(int nStep);     // previous step
    int StepIt();               // previous position; wraps to the minimum past the maximum
};

namespace ui {
// What a user's hands do to these controls (see the class comments).
BOOL SliderUserMove(HWND hSlider, int nPos);
BOOL SpinUserStep(HWND hSpin, int nDelta);
BOOL TabUserSelect(HWND hTab, int nItem);
BOOL TreeViewUserSelect(HWND hTree, HTREEITEM hItem);
}
