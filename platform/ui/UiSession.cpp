// What a scripted user does to a dialog's controls.
#include "platform/ui/CButton.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/CommonCtrls.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CPropertySheet.h"
#include "platform/ui/UiWindow.h"

namespace {
// A user acting on a control moves the focus there first (sending the kill-focus of the last).
void FocusOn(HWND h) { ui::SetFocusHandle(h); }

BOOL IsClass(const UiWindow& w, const char* cls) { return ui::EqualNoCase(w.className, cls); }
}  // namespace

CWnd* CUiDialogSession::Item(UINT nID, LPCTSTR lpszWhat) const {
    if (!m_pDialog || !::IsWindow(m_pDialog->m_hWnd)) {
        ui::Error("%s(%u): the dialog is closed.", lpszWhat, nID);
        return nullptr;
    }
    CWnd* p = m_pDialog->GetDlgItem(static_cast<int>(nID));
    if (!p) {
        // Controls of a property page or form inside the window: the first visible match.
        std::vector<HWND> todo = ui::Find(m_pDialog->m_hWnd)->children;
        for (size_t i = 0; i < todo.size() && !p; ++i) {
            UiWindow* w = ui::Find(todo[i]);
            if (!w || !(w->style & WS_VISIBLE)) continue;
            if (w->id == nID && (w->style & WS_CHILD) && todo[i] != m_pDialog->m_hWnd && ui::Find(w->hParent) &&
                ui::Find(w->hParent)->hwnd != m_pDialog->m_hWnd)
                p = CWnd::FromHandle(todo[i]);
            todo.insert(todo.end(), w->children.begin(), w->children.end());
        }
    }
    if (!p) ui::Error("%s: the dialog has no control with id %u.", lpszWhat, nID);
    return p;
}

BOOL CUiDialogSession::IsOpen() const {
    if (!m_pDialog || !::IsWindow(m_pDialog->m_hWnd)) return FALSE;
    if (m_pDialog->IsKindOf(RUNTIME_CLASS(CDialog))) return !static_cast<CDialog*>(m_pDialog)->IsEnded();
    if (m_pDialog->IsKindOf(RUNTIME_CLASS(CPropertySheet))) return !static_cast<CPropertySheet*>(m_pDialog)->IsEnded();
    return TRUE;
}

BOOL CUiDialogSession::SetControlText(UINT nID, LPCTSTR lpszText) {
    CWnd* p = Item(nID, "SetControlText");
    if (!p) return FALSE;
    HWND h = p->m_hWnd;
    UiWindow* w = ui::Find(h);
    if (w->style & WS_DISABLED) {
        ui::Error("SetControlText(%u): the control is disabled.", nID);
        return FALSE;
    }
    FocusOn(h);
    if (!(w = ui::Find(h))) return FALSE;
    if (IsClass(*w, "EDIT")) return ui::EditUserText(h, lpszText);
    if (IsClass(*w, "COMBOBOX")) {
        if ((w->style & 3) == CBS_DROPDOWNLIST) {
            ui::Error("SetControlText(%u): a drop-down list takes no typing; select an item.", nID);
            return FALSE;
        }
        w->text = lpszText ? lpszText : "";
        w->nCurSel = -1;
        ui::NotifyParent(*w, CBN_EDITUPDATE);
        if ((w = ui::Find(h))) ui::NotifyParent(*w, CBN_EDITCHANGE);
        return TRUE;
    }
    ui::Error("SetControlText(%u): the control is not an edit field.", nID);
    return FALSE;
}

BOOL CUiDialogSession::SetCheck(UINT nID, int nCheck) {
    CWnd* p = Item(nID, "SetCheck");
    if (!p) return FALSE;
    HWND h = p->m_hWnd;
    UiWindow* w = ui::Find(h);
    if (!IsClass(*w, "BUTTON") || (w->style & WS_DISABLED)) {
        ui::Error("SetCheck(%u): the control is not an enabled check box or radio button.", nID);
        return FALSE;
    }
    FocusOn(h);
    if (!(w = ui::Find(h))) return FALSE;
    UINT kind = w->Kind();
    if (kind == BS_AUTORADIOBUTTON && nCheck == BST_CHECKED) return ui::ButtonClick(h);
    if ((kind == BS_AUTOCHECKBOX || kind == BS_AUTO3STATE) && w->nCheck != nCheck) {
        // Click until the box shows the state asked for.
        for (int i = 0; i < 3 && ui::Find(h) && ui::Find(h)->nCheck != nCheck; ++i) ui::ButtonClick(h);
        return ui::Find(h) && ui::Find(h)->nCheck == nCheck;
    }
    // Manual buttons: the owner decides the state; the click is reported and the state set.
    ui::Send(h, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0);
    if ((w = ui::Find(h))) ui::NotifyParent(*w, BN_CLICKED);
    return TRUE;
}

BOOL CUiDialogSession::SelectComboIndex(UINT nID, int nIndex) {
    CWnd* p = Item(nID, "SelectComboIndex");
    if (!p) return FALSE;
    HWND h = p->m_hWnd;
    UiWindow* w = ui::Find(h);
    if (!IsClass(*w, "COMBOBOX") || (w->style & WS_DISABLED) || nIndex < 0 || nIndex >= static_cast<int>(w->items.size())) {
        ui::Error("SelectComboIndex(%u, %d): not an enabled combo box with that item.", nID, nIndex);
        return FALSE;
    }
    FocusOn(h);
    if (!ui::Find(h)) return FALSE;
    ui::Send(h, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    if ((w = ui::Find(h))) ui::NotifyParent(*w, CBN_SELCHANGE);
    if ((w = ui::Find(h))) ui::NotifyParent(*w, CBN_SELENDOK);
    return TRUE;
}

BOOL CUiDialogSession::SelectListIndex(UINT nID, int nIndex) {
    CWnd* p = Item(nID, "SelectListIndex");
    if (!p) return FALSE;
    HWND h = p->m_hWnd;
    UiWindow* w = ui::Find(h);
    if (!IsClass(*w, "LISTBOX")) {
        ui::Error("SelectListIndex(%u): the control is not a list box.", nID);
        return FALSE;
    }
    FocusOn(h);
    if (!ui::ListBoxUserSelect(h, nIndex)) {
        ui::Error("SelectListIndex(%u, %d): no such item, or the list is disabled.", nID, nIndex);
        return FALSE;
    }
    return TRUE;
}

BOOL CUiDialogSession::MoveSlider(UINT nID, int nPos) {
    CWnd* p = Item(nID, "MoveSlider");
    if (!p) return FALSE;
    HWND h = p->m_hWnd;
    if (!IsClass(*ui::Find(h), "msctls_trackbar32")) {
        ui::Error("MoveSlider(%u): the control is not a slider.", nID);
        return FALSE;
    }
    FocusOn(h);
    return ui::SliderUserMove(h, nPos);
}

BOOL CUiDialogSession::SelectTab(UINT nID, int nIndex) {
    CWnd* p = Item(nID, "SelectTab");
    if (!p) return FALSE;
    return ui::TabUserSelect(p->m_hWnd, nIndex);
}

BOOL CUiDialogSession::ClickButton(UINT nID) {
    if (!m_pDialog || !::IsWindow(m_pDialog->m_hWnd)) {
        ui::Error("ClickButton(%u): the dialog is closed.", nID);
        return FALSE;
    }
    HWND h = ::GetDlgItem(m_pDialog->m_hWnd, static_cast<int>(nID));
    if (!h && nID != IDOK && nID != IDCANCEL)
        if (CWnd* p = Item(nID, "ClickButton")) h = p->m_hWnd;
    if (!h) {
        // OK and Cancel work without buttons, as Return and Escape do.
        if (nID == IDOK || nID == IDCANCEL) {
            m_pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0);
            return TRUE;
        }
        return FALSE;
    }
    UiWindow* w = ui::Find(h);
    if ((w->style & WS_DISABLED) || !(w->style & WS_VISIBLE)) {
        ui::Error("ClickButton(%u): the button is disabled or hidden.", nID);
        return FALSE;
    }
    FocusOn(h);
    if (!ui::Find(h)) return FALSE;
    return ui::ButtonClick(h);
}

BOOL CUiDialogSession::ToggleCheckListItem(UINT nID, int nIndex) {
    CWnd* p = Item(nID, "ToggleCheckListItem");
    if (!p) return FALSE;
    FocusOn(p->m_hWnd);
    if (!ui::ListBoxUserCheck(p->m_hWnd, nIndex)) {
        ui::Error("ToggleCheckListItem(%u, %d): no such item, or the list is disabled.", nID, nIndex);
        return FALSE;
    }
    return TRUE;
}

BOOL CUiDialogSession::ClickListItem(UINT nID, int nItem) {
    CWnd* p = Item(nID, "ClickListItem");
    if (!p) return FALSE;
    FocusOn(p->m_hWnd);
    if (!ui::ListViewUserClick(p->m_hWnd, nItem, FALSE)) {
        ui::Error("ClickListItem(%u, %d): no such item, or the control is disabled.", nID, nItem);
        return FALSE;
    }
    return TRUE;
}

BOOL CUiDialogSession::SelectTreeItem(UINT nID, HTREEITEM hItem) {
    CWnd* p = Item(nID, "SelectTreeItem");
    if (!p) return FALSE;
    FocusOn(p->m_hWnd);
    if (!ui::TreeViewUserSelect(p->m_hWnd, hItem)) {
        ui::Error("SelectTreeItem(%u): no such item, the control is disabled or the change was refused.", nID);
        return FALSE;
    }
    return TRUE;
}

BOOL CUiDialogSession::SpinSteps(UINT nID, int nSteps) {
    CWnd* p = Item(nID, "SpinSteps");
    if (!p) return FALSE;
    for (int i = 0; i < (nSteps < 0 ? -nSteps : nSteps); ++i)
        if (!ui::SpinUserStep(p->m_hWnd, nSteps < 0 ? -1 : 1)) return FALSE;
    return TRUE;
}
