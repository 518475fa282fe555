// CColorWell: a colour-well control, the small swatch a dialog shows for a colour the user may
// change.
//
// A dialog attaches one to a control of its template (usually a static or button frame) with
// Attach(nID, pParent, crInitial), then reads and writes the colour with GetColor/SetColor.
// SetColor from code sends nothing. A user's pick (UserPick, which CUiDriver scripts and tests
// call to play the user) stores the colour and sends WM_COLORWELL_CHANGED to the parent with the
// control id in wParam and the colour in lParam, as the vendor's wells did. The well repaints
// itself as a filled swatch framed in black.
#pragma once

#include "platform/ui/CWnd.h"

// Notification of a colour picked in a well (WM_USER + 101).
#define WM_COLORWELL_CHANGED (WM_USER + 101)

class CColorWell : public CWnd {
    DECLARE_DYNAMIC(CColorWell)
public:
    CColorWell();
    ~CColorWell() override;

    // Takes over the parent's control nID and gives it crInitial. FALSE (with a reported error)
    // when the parent has no such control or this well already has a window.
    BOOL Attach(UINT nID, CWnd* pParent, COLORREF crInitial);
    using CWnd::Attach;

    void SetColor(COLORREF cr);
    COLORREF GetColor() const { return m_crColor; }

    // A user's pick: refused (FALSE) when the well is disabled or has no window; otherwise the
    // colour changes and the parent is told with WM_COLORWELL_CHANGED.
    BOOL UserPick(COLORREF cr);
    // The same for the well that owns hWell (FALSE when hWell is no colour well).
    static BOOL UserPick(HWND hWell, COLORREF cr);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_crColor;   // colour shown in the swatch
};
