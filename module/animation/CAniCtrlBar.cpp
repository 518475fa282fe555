#include "module/animation/CAniCtrlBar.h"

#include "module/animation/CAnimationEngine.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/uiapi.h"
#include "platform/video/MCIWnd.h"

// ---- CExtMarquee ----------------------------------------------------------------------------

CExtMarquee::CExtMarquee() : m_bScrolling(0), m_nStep(0), m_dPeriod(0.0) {}
CExtMarquee::~CExtMarquee() = default;

BOOL CExtMarquee::Create(LPCTSTR pszTitle, DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID) {
    if (!CWnd::Create(nullptr, pszTitle, dwStyle, rect, pParent, nID)) return FALSE;
    SetText(pszTitle);
    return TRUE;
}

void CExtMarquee::Reset() {
    m_strText.Empty();
    m_bScrolling = 0;
}

void CExtMarquee::SetText(LPCTSTR pszText) {
    m_strText = pszText ? pszText : "";
    if (GetSafeHwnd()) SetWindowText(m_strText);
}

void CExtMarquee::StartScrolling(int bStart) { m_bScrolling = bStart ? 1 : 0; }

void CExtMarquee::SetScrollParameters(int nStep, double dPeriod) {
    m_nStep = nStep;
    m_dPeriod = dPeriod;
}

// ---- CAniCtrlBar ----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CAniCtrlBar, CBCGPToolBar)

BEGIN_MESSAGE_MAP(CAniCtrlBar, CBCGPToolBar)
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

CAniCtrlBar::CAniCtrlBar() : m_pModel(nullptr) {}
CAniCtrlBar::~CAniCtrlBar() = default;

BOOL CAniCtrlBar::LoadToolBar(UINT nIDResource) {
    if (!CBCGPToolBar::LoadToolBar(nIDResource)) return FALSE;
    for (UINT nSlot : {UINT(ID_MARQUEE_SLOT), UINT(ID_PROGRESS_SLOT)}) {
        const int i = CommandToIndex(nSlot);
        if (i >= 0) SetSeparatorWidth(i, kSlotWidth);
    }
    return TRUE;
}

void CAniCtrlBar::AdjustLocations() {
    CBCGPToolBar::AdjustLocations();
    if (IsHorizontal() && CanCenterRows() && m_bCenterRows) {
        int lastRow = -1;
        for (const Item& item : m_items) {
            const int y = item.rect.top;
            if (y == lastRow) continue;
            lastRow = y;
            // Half the free width, truncated; a row with less than 2 pixels to spare stays.
            const int shift = RowFreeWidth(y) / 2;
            if (shift >= 1) ShiftRow(y, shift);
        }
    }
    // The inner controls follow their places.
    CRect rc;
    if (m_wndMarquee.GetSafeHwnd() && SlotRect(ID_MARQUEE_SLOT, rc)) m_wndMarquee.MoveWindow(&rc, FALSE);
    if (SlotRect(ID_PROGRESS_SLOT, rc)) {
        if (m_wndProgress.GetSafeHwnd()) m_wndProgress.MoveWindow(&rc, FALSE);
        if (m_wndSlider.GetSafeHwnd()) m_wndSlider.MoveWindow(&rc, FALSE);
    }
    UpdateTooltips();
}

BOOL CAniCtrlBar::SlotRect(UINT nSlot, CRect& rc) const {
    const int i = CommandToIndex(nSlot);
    if (i < 0) return FALSE;
    GetItemRect(i, &rc);
    return TRUE;
}

CString CAniCtrlBar::GetAnimationTitle() {
    CString title;
    title.Format("%s Post-processor Animation", AfxGetAppName() ? AfxGetAppName() : "");
    return title;
}

void CAniCtrlBar::ShowTitle() {
    m_wndMarquee.Reset();
    m_wndMarquee.SetText(GetAnimationTitle());
}

void CAniCtrlBar::PlaceMarquee() {
    CRect rc;
    if (!GetSafeHwnd() || !SlotRect(ID_MARQUEE_SLOT, rc)) return;
    if (!m_wndMarquee.GetSafeHwnd()) m_wndMarquee.Create(GetAnimationTitle(), WS_CHILD | WS_VISIBLE, rc, this, IDC_MARQUEE);
    m_wndMarquee.SetScrollParameters(4, 0.25);
    m_wndMarquee.ShowWindow(SW_SHOW);
}

template <class Ctrl>
void CAniCtrlBar::ShowInSharedSlot(Ctrl& ctrl, UINT nID, CWnd& other) {
    CRect rc;
    if (!GetSafeHwnd() || !SlotRect(ID_PROGRESS_SLOT, rc)) return;
    if (ctrl.GetSafeHwnd())
        ctrl.MoveWindow(&rc, FALSE);
    else
        ctrl.Create(WS_CHILD | WS_VISIBLE, rc, this, nID);
    if (other.GetSafeHwnd()) other.ShowWindow(SW_HIDE);
    ctrl.ShowWindow(SW_SHOW);
}

void CAniCtrlBar::ShowProgress() { ShowInSharedSlot(m_wndProgress, IDC_PROGRESS, m_wndSlider); }

void CAniCtrlBar::ShowSlider() { ShowInSharedSlot(m_wndSlider, IDC_SLIDER, m_wndProgress); }

void CAniCtrlBar::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    CBCGPToolBar::OnHScroll(nSBCode, nPos, pScrollBar);
    if (!m_pModel || !m_wndSlider.GetSafeHwnd()) return;
    CAnimationEngine& ani = m_pModel->m_AnimationEngine;
    if (ani.m_nPlayState != CAnimationEngine::PLAY_PAUSED) ani.m_nPlayState = CAnimationEngine::PLAY_STOPPED;
    const HWND hMCI = ::IsWindow(ani.m_hMCIWnd) ? ani.m_hMCIWnd : nullptr;
    if (!hMCI) return;
    if (MCIWndGetMode(hMCI, nullptr, 0) == MCI_MODE_PLAY) {
        MCIWndStop(hMCI);
        m_wndMarquee.StartScrolling(0);
    }
    MCIWndSeek(hMCI, m_wndSlider.GetPos());
}
