#include "host/base/CMouseEdit.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMouseEdit, CEdit)

namespace {
CMouseEdit* g_pPickingEdit = nullptr;  // the edit picking last
T_PICKED_OBJECT g_picked;
BOOL g_bPicked = FALSE;
C3DPoint g_cursor;
BOOL g_bCursor = FALSE;

// Reads one number and the separator after it; nullptr when there is no number.
const char* ReadCoordinate(const char* s, double& v) {
    while (*s == ' ' || *s == '\t') ++s;
    char* end = nullptr;
    v = std::strtod(s, &end);
    if (end == s || !std::isfinite(v)) return nullptr;
    s = end;
    while (*s == ' ' || *s == '\t') ++s;
    return s;
}
}  // namespace

CMouseEdit::CMouseEdit() = default;

CMouseEdit::~CMouseEdit() {
    if (g_pPickingEdit == this) g_pPickingEdit = nullptr;
}

void CMouseEdit::SetNotifyWnd(CWnd* pButtonDown, CWnd* pMouseMove, CWnd* pEscape) {
    m_pNotifyDown = pButtonDown;
    m_pNotifyMove = pMouseMove;
    m_pNotifyEscape = pEscape;
}

void CMouseEdit::SetPickMode(int nMode) {
    m_nPickMode = nMode;
    if (nMode != 0)
        g_pPickingEdit = this;
    else if (g_pPickingEdit == this)
        g_pPickingEdit = nullptr;
}

BOOL CMouseEdit::GetPosition(double& x, double& y, double& z) const {
    CString text;
    GetWindowText(text);
    double v[3] = {0.0, 0.0, 0.0};
    const char* s = text;
    int n = 0;
    for (; n < 3; ++n) {
        s = ReadCoordinate(s, v[n]);
        if (!s) return FALSE;
        if (*s == ',') {
            ++s;
            continue;
        }
        if (*s != '\0') return FALSE;
        ++n;
        break;
    }
    if (n < 2 || *s != '\0') return FALSE;
    x = v[0];
    y = v[1];
    z = n == 3 ? v[2] : 0.0;
    return TRUE;
}

CMouseEdit* CMouseEdit::GetCurPickingEditST() { return g_pPickingEdit; }

BOOL CMouseEdit::GetCurPickedPVXObjectDataST(T_PICKED_OBJECT& obj) {
    if (!g_bPicked) return FALSE;
    obj = g_picked;
    return TRUE;
}

BOOL CMouseEdit::GetCurCursorPosST(C3DPoint& pos) {
    if (!g_bCursor) return FALSE;
    pos = g_cursor;
    return TRUE;
}

void CMouseEdit::Notify(UINT message, CWnd* pTarget) {
    CWnd* target = pTarget ? pTarget : GetParent();
    if (target && target->GetSafeHwnd())
        target->SendMessage(message, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(this));
}

BOOL CMouseEdit::PickInModelView(const T_PICKED_OBJECT& obj, BOOL bKeyPressed) {
    CMouseEdit* e = g_pPickingEdit;
    if (!e) return FALSE;
    g_picked = obj;
    if (e->m_bXYOnly) g_picked.pos.z = 0.0;
    g_bPicked = TRUE;
    g_cursor = g_picked.pos;
    g_bCursor = TRUE;
    e->m_bKeyPressed = bKeyPressed;
    char text[128];
    if (obj.nType == PICKED_NODE || obj.nType == PICKED_ELEM)
        std::snprintf(text, sizeof(text), "%u", obj.nKey);
    else if (e->m_bXYOnly)
        std::snprintf(text, sizeof(text), "%.10g, %.10g", g_picked.pos.x, g_picked.pos.y);
    else
        std::snprintf(text, sizeof(text), "%.10g, %.10g, %.10g", g_picked.pos.x, g_picked.pos.y, g_picked.pos.z);
    if (e->GetSafeHwnd()) e->SetWindowText(text);
    e->Notify(WM_LBUTTONDOWN_FROM_MVIEW, e->m_pNotifyDown);
    return TRUE;
}

BOOL CMouseEdit::MoveInModelView(const C3DPoint& pos, BOOL bKeyPressed) {
    CMouseEdit* e = g_pPickingEdit;
    if (!e) return FALSE;
    g_cursor = pos;
    if (e->m_bXYOnly) g_cursor.z = 0.0;
    g_bCursor = TRUE;
    e->m_bKeyPressed = bKeyPressed;
    e->Notify(WM_MOUSEMOVE_FROM_MVIEW, e->m_pNotifyMove);
    return TRUE;
}

BOOL CMouseEdit::EscapeInModelView() {
    CMouseEdit* e = g_pPickingEdit;
    if (!e) return FALSE;
    g_bPicked = FALSE;
    e->m_bKeyPressed = FALSE;
    e->Notify(WM_MOUSEEDITESCAPE, e->m_pNotifyEscape);
    return TRUE;
}
