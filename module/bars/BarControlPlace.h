// Showing and moving the controls of a bar container by id, in the container's client
// coordinates: the containers hide the controls a page does not use and move the page's place
// holder up under the controls left.
//
//     barplace::ShowControl(*this, IDC_ANCHOR, SW_HIDE);
//     barplace::MoveTop(*this, IDC_BAR_PLACE_HOLDER, barplace::ControlTop(*this, IDC_ANCHOR));
#pragma once

#include "platform/afx/afxtypes.h"
#include "platform/ui/CWnd.h"

namespace barplace {

inline void ShowControl(CWnd& parent, UINT nID, int nCmd) {
    if (CWnd* p = parent.GetDlgItem(static_cast<int>(nID))) p->ShowWindow(nCmd);
}

// Top of a control in its parent's client coordinates (its whole rectangle in *pRect when
// given); -1 when it has none.
inline int ControlTop(CWnd& parent, UINT nID, CRect* pRect = nullptr) {
    CWnd* p = parent.GetDlgItem(static_cast<int>(nID));
    if (!p) return -1;
    CRect rc;
    p->GetWindowRect(&rc);
    parent.ScreenToClient(&rc);
    if (pRect) *pRect = rc;
    return rc.top;
}

// Moves a control so that its top is at y, keeping its size; nothing for y < 0.
inline void MoveTop(CWnd& parent, UINT nID, int y) {
    CWnd* p = parent.GetDlgItem(static_cast<int>(nID));
    if (!p || y < 0) return;
    CRect rc;
    p->GetWindowRect(&rc);
    parent.ScreenToClient(&rc);
    p->MoveWindow(rc.left, y, rc.Width(), rc.Height());
}

}  // namespace barplace
