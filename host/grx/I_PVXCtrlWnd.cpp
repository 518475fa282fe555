// I_PVXCtrl: services that touch the window system: invalidating the owner window, Escape
// polling through the platform's key state, and accelerator texts in menus.
#include "host/grx/I_PVXCtrl.h"

#include "platform/ui/CMenu.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/CWnd.h"

void I_PVXCtrl::InvalidateOwner(BOOL bErase) {
    if (m_nPainting == 0 && m_pOwner && m_pOwner->GetSafeHwnd()) m_pOwner->Invalidate(bErase);
}

int I_PVXCtrl::WatchEscKeyPress() {
    // Latched: once a long loop saw Escape, every later poll of this draw reports it too, so
    // nested loops all stop.
    if (!m_bEscPressed && (GetAsyncKeyState(VK_ESCAPE) & 0x8001)) m_bEscPressed = 1;
    return m_bEscPressed;
}

void I_PVXCtrl::SetCustomAccelerator(UINT nID, const char* pszText) {
    for (auto& a : m_accel)
        if (a.first == nID) {
            a.second = pszText ? pszText : "";
            return;
        }
    m_accel.emplace_back(nID, pszText ? pszText : "");
}

void I_PVXCtrl::ApplyCustomAcceleratorToMenu(CMenu* pMenu) {
    if (!pMenu || !pMenu->GetSafeHmenu() || m_accel.empty()) return;
    const int n = pMenu->GetMenuItemCount();
    for (int pos = 0; pos < n; ++pos) {
        if (CMenu* sub = pMenu->GetSubMenu(pos)) {
            ApplyCustomAcceleratorToMenu(sub);
            continue;
        }
        const UINT id = pMenu->GetMenuItemID(pos);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or pop-up
        for (const auto& a : m_accel) {
            if (a.first != id || a.second.empty()) continue;
            CString text;
            pMenu->GetMenuString(static_cast<UINT>(pos), text, MF_BYPOSITION);
            const int tab = text.Find('\t');
            if (tab >= 0) text = text.Left(tab);  // replace an accelerator shown before
            text += "\t";
            text += a.second.c_str();
            // Keep the item's check and enable state.
            const UINT state = pMenu->GetMenuState(static_cast<UINT>(pos), MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED | MF_DISABLED);
            pMenu->ModifyMenu(static_cast<UINT>(pos), MF_BYPOSITION | MF_STRING | state, id, text);
            break;
        }
    }
}
