// Command routing through message maps, and the CCmdUI probe.
#include "platform/ui/CCmdTarget.h"

#include "platform/ui/CMenu.h"
#include "platform/ui/CWnd.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {
int g_nWaitCursor = 0;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;

void CCmdTarget::BeginWaitCursor() { ++g_nWaitCursor; }
void CCmdTarget::EndWaitCursor() {
    if (g_nWaitCursor > 0) --g_nWaitCursor;
}
void CCmdTarget::RestoreWaitCursor() {}
int CCmdTarget::GetWaitCursorCount() { return g_nWaitCursor; }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMsg, UINT nCode, UINT nID) {
    for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e && e->nSig != AfxSig_end; ++e) {
            UINT msg = e->pnRegisteredMsg ? *e->pnRegisteredMsg : e->nMessage;
            if (msg == nMsg && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID) return e;
        }
    }
    return nullptr;
}

static BOOL DispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, const AFX_MSGMAP_ENTRY* e, void* pExtra) {
    typedef void (CCmdTarget::*PV)();
    typedef void (CCmdTarget::*PW)(UINT);
    typedef BOOL (CCmdTarget::*PBW)(UINT);
    typedef void (CCmdTarget::*PUI)(CCmdUI*);
    typedef void (CCmdTarget::*PN)(NMHDR*, LRESULT*);
    typedef void (CCmdTarget::*PNR)(UINT, NMHDR*, LRESULT*);
    switch (e->nSig) {
    case AfxSig_vv:
        (pTarget->*AfxPmfCast<PV>(e->pfn))();
        return TRUE;
    case AfxSig_vw:
        (pTarget->*AfxPmfCast<PW>(e->pfn))(nID);
        return TRUE;
    case AfxSig_bw:
        return (pTarget->*AfxPmfCast<PBW>(e->pfn))(nID);
    case AfxSig_cmdui: {
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
        if (!pCmdUI) return FALSE;
        pCmdUI->m_bContinueRouting = FALSE;
        (pTarget->*AfxPmfCast<PUI>(e->pfn))(pCmdUI);
        return !pCmdUI->m_bContinueRouting;
    }
    case AfxSig_notify: {
        AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        if (!pNotify) return FALSE;
        (pTarget->*AfxPmfCast<PN>(e->pfn))(pNotify->pNMHDR, pNotify->pResult);
        return TRUE;
    }
    case AfxSig_notify_range: {
        AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        if (!pNotify) return FALSE;
        (pTarget->*AfxPmfCast<PNR>(e->pfn))(nID, pNotify->pNMHDR, pNotify->pResult);
        return TRUE;
    }
    default:
        return FALSE;
    }
    (void)nCode;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    UINT nMsg = 0;
    UINT code = static_cast<UINT>(nCode);
    if (nCode != CN_UPDATE_COMMAND_UI) {
        nMsg = HIWORD(code);
        code = LOWORD(code);
    }
    if (nMsg == 0) nMsg = WM_COMMAND;
    // Notification codes are stored as their low word (negative codes included).
    const AFX_MSGMAP_ENTRY* e = nullptr;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap && !e;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p && p->nSig != AfxSig_end; ++p) {
            if (p->nMessage != nMsg || p->pnRegisteredMsg) continue;
            UINT entryCode = (nCode == CN_UPDATE_COMMAND_UI) ? p->nCode : static_cast<UINT>(LOWORD(p->nCode));
            if (p->nCode == static_cast<UINT>(CN_UPDATE_COMMAND_UI) && nCode != CN_UPDATE_COMMAND_UI) continue;
            if (entryCode != code) continue;
            if (nID < p->nID || nID > p->nLastID) continue;
            // Command handlers need a real id; notification rows with id 0 only match id 0.
            e = p;
            break;
        }
    }
    if (!e) return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pmf = e->pfn;
        return TRUE;
    }
    return DispatchCmdMsg(this, nID, nCode, e, pExtra);
}

// ---- CCmdUI ----

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(nullptr), m_pSubMenu(nullptr), m_pOther(nullptr), m_bEnableChanged(FALSE),
      m_bContinueRouting(FALSE), m_nEnabled(-1), m_nChecked(-1), m_nRadio(-1), m_bTextSet(FALSE) {}

void CCmdUI::Enable(BOOL bOn) {
    m_nEnabled = bOn ? 1 : 0;
    m_bEnableChanged = TRUE;
    if (m_pMenu) {
        if (!m_pSubMenu) m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        // A control losing its enabled state while it has the focus hands the focus on.
        if (!bOn && CWnd::GetFocus() == m_pOther) {
            if (CWnd* pParent = m_pOther->GetParent()) pParent->SetFocus();
        }
        m_pOther->EnableWindow(bOn);
    }
}

void CCmdUI::SetCheck(int nCheck) {
    m_nChecked = nCheck;
    if (m_pMenu) {
        if (!m_pSubMenu) m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther) {
        // Only buttons have a check mark.
        if (m_pOther->SendMessage(WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) m_pOther->SendMessage(BM_SETCHECK, nCheck, 0);
    }
}

void CCmdUI::SetRadio(BOOL bOn) {
    m_nRadio = bOn ? 1 : 0;
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCTSTR lpszText) {
    m_bTextSet = TRUE;
    m_strText = lpszText ? lpszText : "";
    if (m_pMenu) {
        if (!m_pSubMenu) {
            UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
            if (state == static_cast<UINT>(-1)) return;
            UINT id = m_pMenu->GetMenuItemID(static_cast<int>(m_nIndex));
            m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)), id,
                                lpszText);
        }
    } else if (m_pOther) {
        m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    if (!pTarget) return FALSE;
    m_bEnableChanged = FALSE;
    BOOL bHandled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info{nullptr, nullptr};
        BOOL bHasHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(bHasHandler);
    }
    return bHandled;
}
