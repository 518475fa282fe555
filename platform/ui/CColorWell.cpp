#include "platform/ui/CColorWell.h"

#include "platform/gdi/afxgdi.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/UiWindow.h"

IMPLEMENT_DYNAMIC(CColorWell, CWnd)

BEGIN_MESSAGE_MAP(CColorWell, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CColorWell::CColorWell() : m_crColor(RGB(0, 0, 0)) {}

CColorWell::~CColorWell() {
    // The window belongs to the dialog; the well only lets go of it.
    if (m_hWnd) Detach();
}

BOOL CColorWell::Attach(UINT nID, CWnd* pParent, COLORREF crInitial) {
    if (m_hWnd) {
        ui::Error("Colour well %u: this well is already attached to a control.", nID);
        return FALSE;
    }
    if (!SubclassDlgItem(nID, pParent)) return FALSE;
    m_crColor = crInitial;
    Invalidate();
    return TRUE;
}

void CColorWell::SetColor(COLORREF cr) {
    m_crColor = cr;
    if (m_hWnd) Invalidate();
}

BOOL CColorWell::UserPick(COLORREF cr) {
    if (!m_hWnd || !IsWindowEnabled()) return FALSE;
    SetColor(cr);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COLORWELL_CHANGED, static_cast<WPARAM>(GetDlgCtrlID()), static_cast<LPARAM>(cr));
    return TRUE;
}

BOOL CColorWell::UserPick(HWND hWell, COLORREF cr) {
    CColorWell* pWell = dynamic_cast<CColorWell*>(CWnd::FromHandlePermanent(hWell));
    if (!pWell) {
        ui::Error("Colour well: window %p is not a colour well.", static_cast<void*>(hWell));
        return FALSE;
    }
    return pWell->UserPick(cr);
}

void CColorWell::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CBrush brush(m_crColor);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CBrush* pOldBrush = dc.SelectObject(&brush);
    CPen* pOldPen = dc.SelectObject(&pen);
    dc.Rectangle(&rc);
    dc.SelectObject(pOldPen);
    dc.SelectObject(pOldBrush);
}
