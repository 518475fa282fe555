// CStatic and CButton: text labels and picture frames; push buttons, check boxes, radio buttons
// and group boxes.
//
// Both are thin views of their window: the check state, image and text live with the window,
// so a CButton made by FromHandle and one attached by DDX_Control see the same state. A click
// (BM_CLICK, or CUiDriver) toggles an automatic check box, checks an automatic radio button and
// clears the other automatic radios of its group (the controls from the one with WS_GROUP up to
// the next), then sends BN_CLICKED to the parent. SetCheck never notifies.
#pragma once

#include "platform/ui/CWnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff);
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
};

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCheck() const;            // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
    void SetCheck(int nCheck);
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
};

namespace ui {
// A user's click on a button: does nothing when the button is disabled or gone.
BOOL ButtonClick(HWND hButton);
}
