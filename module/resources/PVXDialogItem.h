// Building blocks of the module's dialog templates: one control of a template with the usual
// style of its kind.
//
// Every control but a radio button marked as continuing a group starts a group, so each radio
// group ends at the next control:
//     pvxres::Item(IDC_A, UiCtl::Radio, "法向", 12, 161, 40, 10),          // starts the group
//     pvxres::Item(IDC_B, UiCtl::Radio, "平面内", 56, 161, 45, 10, FALSE),  // second of the group
// Rectangles are in dialog units: left, top, width, height.
#pragma once

#include "platform/gdi/afxgdi.h"
#include "platform/ui/DialogTemplate.h"

namespace pvxres {

const UINT kNoId = 0xFFFF;  // labels nobody addresses
// Width of the bars and their pages in dialog units: 225 pixels, the bars' scroll width.
inline constexpr int kBarWidth = 150;

inline UiDlgItem Item(UINT nID, UiCtl kind, const char* caption, int x, int y, int cx, int cy,
                      BOOL bGroupStart = TRUE) {
    UiDlgItem it;
    it.nID = nID;
    it.kind = kind;
    it.caption = caption;
    it.rect = CRect(x, y, x + cx, y + cy);
    DWORD s = WS_VISIBLE;
    switch (kind) {
    case UiCtl::Button: s |= WS_TABSTOP | BS_PUSHBUTTON; break;
    case UiCtl::DefButton: s |= WS_TABSTOP | BS_DEFPUSHBUTTON; break;
    case UiCtl::Check: s |= WS_TABSTOP | BS_AUTOCHECKBOX; break;
    case UiCtl::Radio: s |= BS_AUTORADIOBUTTON | (bGroupStart ? WS_TABSTOP : 0); break;
    case UiCtl::Group: s |= BS_GROUPBOX; break;
    case UiCtl::Edit: s |= WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL; break;
    case UiCtl::Static: s |= SS_LEFT; break;
    case UiCtl::Combo: s |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST; break;
    case UiCtl::ListCtrl: s |= WS_TABSTOP | WS_BORDER | LVS_SINGLESEL | LVS_SHOWSELALWAYS; break;
    case UiCtl::Slider: s |= WS_TABSTOP | TBS_HORZ; break;
    default: break;
    }
    if (bGroupStart) s |= WS_GROUP;
    it.style = s;
    return it;
}

// A dialog's template with its id, caption and size in dialog units; the controls follow.
inline UiDlgTemplate Dialog(UINT nID, const char* caption, int cx, int cy) {
    UiDlgTemplate t;
    t.nID = nID;
    t.caption = caption;
    t.size = CSize(cx, cy);
    return t;
}

// The control kept in the template but not shown (its value stays, the user cannot reach it).
inline UiDlgItem Hidden(UiDlgItem it) {
    it.bHidden = TRUE;
    it.style &= ~static_cast<DWORD>(WS_VISIBLE);
    return it;
}

}  // namespace pvxres
