// The controls of a result bar and its pages as the pvxhost commands set them: found by id or
// short name, set as a person's hands would.
#include "host/app/HostPageControls.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/app/HostCommand.h"
#include "host/app/ModeTable.h"
#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"
#include "host/base/CDlgPanel.h"
#include "host/base/CDockDlgBarBase.h"
#include "host/base/CMouseEdit.h"
#include "host/base/CPHPageDlg.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CUiDriver.h"

namespace hostpage {

// Controls a page (or its bar) shows that draw the same whatever their value, by result id:
// the member bar's only-truss box on the frame force pages (trusses are drawn by their kind),
// the diagram page's method radios (the curve is built the same either way), the undeformed box
// of pages without a deformed picture, the plate stress axes (stresses are kept in the element
// axes), and the contour boxes of displays drawn as contours always.
namespace {
struct NoEffect {
    long nResult;
    const char* pszNames;  // short names, space separated
};
const NoEffect kNoEffect[] = {
    {7301, "onlytruss"},
    {7302, "onlytruss method undeformed"},
    {7306, "undeformed"},
    {7308, "axes"},
    {7501, "contour"},
    {7102, "contour"},
};
}  // namespace

bool HasNoEffect(long nResult, const std::string& name) {
    for (const NoEffect& n : kNoEffect)
        if (n.nResult == nResult && !name.empty() && (" " + std::string(n.pszNames) + " ").find(" " + name + " ") != std::string::npos)
            return true;
    return false;
}

std::string TextOf(CWnd* p) {
    CString s;
    p->GetWindowText(s);
    return s.GetString();
}

std::string NameOf(UINT id, const std::vector<CBarControlName>& names) {
    for (const CBarControlName& n : names)
        if (n.nID == id && n.pszName) return n.pszName;
    return "";
}

// The value controls of a window, in tab order; hidden ones and the pages inside are left out.
std::vector<Control> CollectControls(CWnd* pOwner, const std::vector<CBarControlName>& names) {
    std::vector<Control> out;
    Control* pGroup = nullptr;  // the radio group being filled
    for (CWnd* c = pOwner->GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT)) {
        CWnd* w = CWnd::FromHandle(c->GetSafeHwnd());
        const DWORD style = w->GetStyle();
        const UINT id = static_cast<UINT>(w->GetDlgCtrlID());
        const bool bRadio = dynamic_cast<CButton*>(w) &&
                            ((style & BS_TYPEMASK) == BS_AUTORADIOBUTTON || (style & BS_TYPEMASK) == BS_RADIOBUTTON);
        if (!bRadio || (style & WS_GROUP)) pGroup = nullptr;
        if (!(style & WS_VISIBLE) || dynamic_cast<CDialog*>(w)) continue;
        Control k;
        k.pOwner = pOwner;
        k.nID = id;
        k.bEnabled = w->IsWindowEnabled() != FALSE;
        if (bRadio) {
            if (pGroup) {
                pGroup->radios.push_back(id);
                continue;
            }
            k.strKind = "radio group";
            k.radios.push_back(id);
        } else if (auto* b = dynamic_cast<CButton*>(w)) {
            const DWORD t = style & BS_TYPEMASK;
            (void)b;
            if (t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE) {
                k.strKind = "check box";
            } else if ((t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON) && !NameOf(id, names).empty() &&
                       TextOf(w) != "...") {
                k.strKind = "button";  // the actions a page names (add, delete ...); "..." is --details
            } else {
                continue;
            }
        } else if (dynamic_cast<CListBox*>(w)) {
            k.strKind = "list";
        } else if (dynamic_cast<CComboBox*>(w)) {
            k.strKind = "combo";
        } else if (dynamic_cast<CMouseEdit*>(w)) {
            k.strKind = "point edit";
        } else if (dynamic_cast<CEdit*>(w)) {
            k.strKind = "edit";
        } else {
            continue;
        }
        k.strName = NameOf(id, names);
        out.push_back(k);
        if (bRadio) pGroup = &out.back();
    }
    return out;
}

std::string CaptionOf(const Control& k) {
    if (k.strKind == "radio group") {
        std::string s;
        for (UINT id : k.radios) {
            if (!s.empty()) s += '|';
            s += TextOf(k.pOwner->GetDlgItem(static_cast<int>(id)));
        }
        return s;
    }
    if (k.strKind == "check box" || k.strKind == "button") return TextOf(k.pOwner->GetDlgItem(static_cast<int>(k.nID)));
    return "";
}

std::string ValueOf(const Control& k) {
    CWnd* w = k.pOwner->GetDlgItem(static_cast<int>(k.nID));
    if (k.strKind == "radio group") {
        for (size_t i = 0; i < k.radios.size(); ++i)
            if (k.pOwner->IsDlgButtonChecked(static_cast<int>(k.radios[i]))) return std::to_string(i);
        return "-1";
    }
    if (k.strKind == "check box") return std::to_string(k.pOwner->IsDlgButtonChecked(static_cast<int>(k.nID)));
    if (k.strKind == "button") return "-";
    if (auto* l = dynamic_cast<CListBox*>(w)) {
        // Each item: index, text, [x] when checked, * when selected.
        auto* c = dynamic_cast<CCheckListBox*>(w);
        std::string out = std::to_string(l->GetCount()) + " items";
        for (int i = 0; i < l->GetCount(); ++i) {
            CString t;
            l->GetText(i, t);
            out += std::string(i ? ", " : ": ") + std::to_string(i) + " \"" + t.GetString() + "\"" +
                   (c && c->GetCheck(i) > 0 ? " [x]" : "") + (l->GetSel(i) > 0 ? " *" : "");
        }
        return out;
    }
    if (auto* c = dynamic_cast<CComboBox*>(w)) {
        const int sel = c->GetCurSel();
        if (sel < 0) return "-1";
        CString s;
        c->GetLBText(sel, s);
        return std::to_string(sel) + " \"" + s.GetString() + "\"";
    }
    return "\"" + TextOf(w) + "\"";
}

namespace {
void PrintControlLines(const std::vector<Control>& controls, bool (*noEffect)(long, const std::string&), long nWhat) {
    if (controls.empty()) std::printf("  (no controls)\n");
    for (const Control& k : controls)
        std::printf("  %-6u %-12s %-12s %-28s %s%s%s\n", k.nID, k.strName.empty() ? "-" : k.strName.c_str(),
                    k.strKind.c_str(), std::string(1, '"').append(CaptionOf(k)).append(1, '"').c_str(), ValueOf(k).c_str(),
                    k.bEnabled ? "" : " (disabled)", noEffect(nWhat, k.strName) ? " (no effect here)" : "");
}
}  // namespace

void PrintControls(const char* what, const std::vector<Control>& controls, long nResult) {
    std::printf("%s\n", what);
    PrintControlLines(controls, HasNoEffect, nResult);
}

// The control a command-line word names: its id (a radio button of a group names the group
// with that button) or its short name; the page's controls first.
const Control* FindControl(const std::vector<Control>& controls, const std::string& key, UINT* pRadio) {
    char* end = nullptr;
    const long id = std::strtol(key.c_str(), &end, 10);
    const bool bNumber = !key.empty() && end && *end == '\0';
    for (const Control& k : controls) {
        if (bNumber) {
            for (UINT r : k.radios)
                if (static_cast<long>(r) == id && r != k.nID) {
                    *pRadio = r;
                    return &k;
                }
            if (static_cast<long>(k.nID) == id) return &k;
        } else if (!k.strName.empty() && HostLower(key) == k.strName) {
            return &k;
        }
    }
    return nullptr;
}

bool ReadSwitch(const std::string& v, int& on) {
    const std::string s = HostLower(v);
    if (s == "1" || s == "on" || s == "true" || s == "yes") on = 1;
    else if (s == "0" || s == "off" || s == "false" || s == "no") on = 0;
    else return false;
    return true;
}

bool ReadIndex(const std::string& v, long n, long& i) {
    char* end = nullptr;
    i = std::strtol(v.c_str(), &end, 10);
    return !v.empty() && end && *end == '\0' && i >= 0 && i < n;
}

// "X,Y" or "X,Y,Z" (z = 0 when absent).
bool ReadPoint(const std::string& v, C3DPoint& p) {
    double x = 0, y = 0, z = 0;
    char tail = 0;
    const int n = std::sscanf(v.c_str(), " %lf , %lf , %lf %c", &x, &y, &z, &tail);
    if (n == 3 || (n == 2 && std::sscanf(v.c_str(), " %lf , %lf %c", &x, &y, &tail) == 2)) {
        p = C3DPoint(x, y, n == 3 ? z : 0.0);
        return true;
    }
    return false;
}

// The index of a list item named by its index or its text; -1 when none.
int ListItem(CListBox& l, const std::string& word) {
    for (int j = 0; j < l.GetCount(); ++j) {
        CString t;
        l.GetText(j, t);
        if (word == t.GetString()) return j;
    }
    long i = -1;
    return ReadIndex(word, l.GetCount(), i) ? static_cast<int>(i) : -1;
}

// The item a word of a list value names, its ":double" or check-box ":0"/":1" left off; -1 when none.
int WordItem(CListBox& l, const std::string& word) {
    const size_t colon = word.rfind(':');
    int on = 0;
    if (colon != std::string::npos && (HostLower(word.substr(colon + 1)) == "double" || ReadSwitch(word.substr(colon + 1), on)))
        if (const int i = ListItem(l, word.substr(0, colon)); i >= 0) return i;
    return ListItem(l, word);
}

// The words of a list value joined by '+'. An item's text may hold '+' itself (a combination
// "1.3DL+1.5LL"): at each place the longest run of words that names an item is one word.
std::vector<std::string> ListWords(CListBox& l, const std::string& value) {
    std::vector<std::string> words;
    for (size_t from = 0;;) {
        size_t end = value.find('+', from);
        for (size_t e = value.size(); end != std::string::npos && e > end; e = value.rfind('+', e - 1))
            if (WordItem(l, value.substr(from, e - from)) >= 0) {
                end = e < value.size() ? e : std::string::npos;
                break;
            }
        words.push_back(value.substr(from, end == std::string::npos ? std::string::npos : end - from));
        if (end == std::string::npos) return words;
        from = end + 1;
    }
}

// A list box as a person uses it: "A+B" selects the items A and B (only them), "A:0" / "A:1"
// clears or sets the check box of item A, "A:double" double-clicks item A. 0, or the exit status
// after a message.
int SetList(CListBox& l, const std::string& label, const std::string& value) {
    const std::vector<std::string> words = ListWords(l, value);
    auto* pCheck = dynamic_cast<CCheckListBox*>(&l);
    bool bCleared = false;
    for (const std::string& w : words) {
        const size_t colon = w.rfind(':');
        if (colon != std::string::npos && HostLower(w.substr(colon + 1)) == "double") {
            const int i = ListItem(l, w.substr(0, colon));
            if (i < 0) {
                HostMessage("%s has no item \"%s\" (%d items)", label.c_str(), w.substr(0, colon).c_str(), l.GetCount());
                return HOST_EXIT_USAGE;
            }
            ui::ListBoxUserDoubleClick(l.GetSafeHwnd(), i);
            continue;
        }
        int on = -1;
        std::string item = w;
        if (pCheck && colon != std::string::npos && ReadSwitch(w.substr(colon + 1), on)) item = w.substr(0, colon);
        else on = -1;
        const int i = ListItem(l, item);
        if (i < 0) {
            HostMessage("%s has no item \"%s\" (%d items)", label.c_str(), item.c_str(), l.GetCount());
            return HOST_EXIT_USAGE;
        }
        if (on >= 0) {
            if ((pCheck->GetCheck(i) > 0) != (on != 0)) ui::ListBoxUserCheck(l.GetSafeHwnd(), i);
            continue;
        }
        if (!bCleared) {
            for (int j = 0; j < l.GetCount(); ++j) l.SetSel(j, FALSE);
            bCleared = true;
        }
        ui::ListBoxUserSelect(l.GetSafeHwnd(), i);
    }
    return 0;
}

// Sets a control as a person would. 0, or the exit status after a message.
int SetControl(const Control& k, UINT nRadio, const std::string& label, const std::string& value) {
    if (!k.bEnabled) {
        HostMessage("%s is disabled on this page: it takes no value now", label.c_str());
        return HOST_EXIT_FAILED;
    }
    CUiDialogSession user(k.pOwner);
    CWnd* w = k.pOwner->GetDlgItem(static_cast<int>(k.nID));
    if (k.strKind == "check box") {
        int on = 0;
        if (!ReadSwitch(value, on)) {
            HostMessage("%s is a check box: give 0 or 1, not \"%s\"", label.c_str(), value.c_str());
            return HOST_EXIT_USAGE;
        }
        user.SetCheck(k.nID, on ? BST_CHECKED : BST_UNCHECKED);
        return 0;
    }
    if (k.strKind == "radio group") {
        int on = 0;
        long i = 0;
        if (nRadio) {
            if (!ReadSwitch(value, on) || !on) {
                HostMessage("%s is a radio button: give 1 to choose it (choose another button to leave it)",
                            label.c_str());
                return HOST_EXIT_USAGE;
            }
            user.SetCheck(nRadio);
            return 0;
        }
        if (!ReadIndex(value, static_cast<long>(k.radios.size()), i)) {
            HostMessage("%s is a radio group of %zu buttons: give the index of one, 0 to %zu, not \"%s\"", label.c_str(),
                        k.radios.size(), k.radios.size() - 1, value.c_str());
            return HOST_EXIT_USAGE;
        }
        user.SetCheck(k.radios[static_cast<size_t>(i)]);
        return 0;
    }
    if (auto* c = dynamic_cast<CComboBox*>(w)) {
        long i = -1;
        for (int j = 0; j < c->GetCount() && i < 0; ++j) {
            CString s;
            c->GetLBText(j, s);
            if (value == s.GetString()) i = j;
        }
        if (i < 0 && !ReadIndex(value, c->GetCount(), i)) {
            std::string items;
            for (int j = 0; j < c->GetCount(); ++j) {
                CString s;
                c->GetLBText(j, s);
                items += std::string(j ? ", \"" : "\"") + s.GetString() + "\"";
            }
            HostMessage("%s has no item \"%s\"; its items: %s", label.c_str(), value.c_str(),
                        items.empty() ? "none" : items.c_str());
            // A list the project's rows fill lacks the items whose rows it refused.
            CDataBase* db = CDBDoc::m_pDBDoc ? CDBDoc::m_pDBDoc->GetMDBCtrl()->GetDBPost() : nullptr;
            if (db && !db->GetReadErrors().empty()) {
                HostMessage("the list leaves out what the project's refused rows (above) hold");
                return HOST_EXIT_FAILED;
            }
            return HOST_EXIT_USAGE;
        }
        user.SelectComboIndex(k.nID, static_cast<int>(i));
        return 0;
    }
    if (k.strKind == "button") {
        int on = 0;
        if (!ReadSwitch(value, on) || !on) {
            HostMessage("%s is a button: give 1 to press it, not \"%s\"", label.c_str(), value.c_str());
            return HOST_EXIT_USAGE;
        }
        user.ClickButton(k.nID);
        return 0;
    }
    if (auto* l = dynamic_cast<CListBox*>(w)) return SetList(*l, label, value);
    if (auto* pick = dynamic_cast<CMouseEdit*>(w)) {
        // An edit that picks nodes takes a node key: that node is picked in the view.
        long nNode = 0;
        if (pick->GetPickMode() != CMouseEdit::PICK_MODE_POINT && ReadIndex(value, 0x7FFFFFFF, nNode) && nNode > 0) {
            user.ClickButton(k.nID);
            pick->SetFocus();
            T_PICKED_OBJECT obj;
            obj.nType = PICKED_NODE;
            obj.nKey = static_cast<UINT>(nNode);
            if (CMouseEdit::GetCurPickingEditST() != pick || !CMouseEdit::PickInModelView(obj)) {
                HostMessage("%s does not pick nodes now", label.c_str());
                return HOST_EXIT_FAILED;
            }
            return 0;
        }
        C3DPoint p;
        if (ReadPoint(value, p)) {
            // A click into the edit starts its picking; the point is then picked in the view.
            user.ClickButton(k.nID);
            pick->SetFocus();
            if (CMouseEdit::GetCurPickingEditST() != pick) {
                HostMessage("%s does not pick points now", label.c_str());
                return HOST_EXIT_FAILED;
            }
            T_PICKED_OBJECT obj;
            obj.nType = PICKED_POINT;
            obj.pos = p;
            CMouseEdit::PickInModelView(obj);
            return 0;
        }
    }
    user.SetControlText(k.nID, value.c_str());
    return 0;
}

// Messages the page showed since `from`, printed; non-zero when there were any.
bool ReportRefusals(size_t from) {
    const auto& boxes = CUiDriver::Get().MessageBoxes();
    for (size_t i = from; i < boxes.size(); ++i) HostMessage("%s", boxes[i].text.GetString());
    return boxes.size() > from;
}

// Sets controls of a dialog (or window) as a person does, each found as the dialog is then (a
// box set before may have enabled others). 0, or the exit status after a message.
int SetDialogControls(CWnd* pDlg, const std::vector<std::pair<std::string, std::string>>& settings) {
    auto* pNamed = dynamic_cast<IHostControlNames*>(pDlg);
    const std::vector<CBarControlName> names = pNamed ? pNamed->GetControlNames() : std::vector<CBarControlName>();
    for (const auto& kv : settings) {
        const std::vector<Control> controls = CollectControls(pDlg, names);
        UINT nRadio = 0;
        const Control* k = FindControl(controls, kv.first, &nRadio);
        if (!k) {
            HostMessage("the dialog \"%s\" has no control \"%s\"", TextOf(pDlg).c_str(), kv.first.c_str());
            return HOST_EXIT_USAGE;
        }
        const std::string label = "control " + (k->strName.empty() ? std::to_string(nRadio ? nRadio : k->nID)
                                                                  : "\"" + k->strName + "\"") + " of the dialog";
        if (int status = SetControl(*k, nRadio, label, kv.second)) return status;
    }
    return 0;
}

// The cutting-line window of the result view: a dialog over the view whose controls include the
// two point edits; null when none is open.
CWnd* FindCutLineWindow(CWnd* pView) {
    for (CWnd* c = pView ? pView->GetWindow(GW_CHILD) : nullptr; c; c = c->GetWindow(GW_HWNDNEXT)) {
        CWnd* w = CWnd::FromHandle(c->GetSafeHwnd());
        auto* pNamed = dynamic_cast<IHostControlNames*>(w);
        if (!dynamic_cast<CDialog*>(w) || !pNamed || !(w->GetStyle() & WS_VISIBLE)) continue;
        for (const CBarControlName& n : pNamed->GetControlNames())
            if (n.pszName && std::string(n.pszName) == "point1") return w;
    }
    return nullptr;
}

// Presses a "..." button of the page; the dialog it opens takes the settings and its OK is
// pressed. 0, or the exit status after a message.
int RunDetails(CPHPageDlg* pPage, long nResult, CWnd* pView, const std::string& button,
               const std::vector<std::pair<std::string, std::string>>& settings, size_t nBoxes) {
    UINT nButton = 0;
    char* end = nullptr;
    const long id = std::strtol(button.c_str(), &end, 10);
    if (!button.empty() && end && *end == '\0') {
        nButton = static_cast<UINT>(id);
    } else {
        for (const CBarControlName& n : pPage->GetControlNames())
            if (n.pszName && HostLower(button) == n.pszName) nButton = n.nID;
    }
    auto* pButton = nButton ? dynamic_cast<CButton*>(pPage->GetDlgItem(static_cast<int>(nButton))) : nullptr;
    if (!pButton || (pButton->GetStyle() & BS_TYPEMASK) > BS_DEFPUSHBUTTON) {
        HostMessage("the page of result %ld has no button \"%s\" (its \"...\" buttons: names ending in -more)", nResult,
                    button.c_str());
        return HOST_EXIT_USAGE;
    }
    if (!pButton->IsWindowEnabled() || !(pButton->GetStyle() & WS_VISIBLE)) {
        HostMessage("the button \"%s\" cannot be pressed on this page now", button.c_str());
        return HOST_EXIT_FAILED;
    }
    bool bOpened = false;
    int nStatus = 0;
    std::string strCaption;
    CUiDriver::Get().QueueModalAny({[&](CUiDialogSession& s) -> int {
        bOpened = true;
        strCaption = TextOf(s.Dialog());
        nStatus = SetDialogControls(s.Dialog(), settings);
        return nStatus ? IDCANCEL : IDOK;
    }});
    CUiDialogSession(pPage).ClickButton(nButton);
    if (!bOpened) {
        if (FindCutLineWindow(pView))
            HostMessage("the button \"%s\" opens the cutting-line window, which stays open: give --cut X1,Y1,X2,Y2 "
                        "to add a line in it (and --detail-set for its settings)",
                        button.c_str());
        else
            HostMessage("the button \"%s\" opened no dialog", button.c_str());
        return HOST_EXIT_FAILED;
    }
    if (nStatus) return nStatus;
    if (ReportRefusals(nBoxes)) return HOST_EXIT_FAILED;
    return 0;
}

namespace {
// One CONTROL=VALUE against the controls as they are now: found, noted when it has no effect
// there, set, and what the window refused reported. 0, or the exit status after a message.
int SetFoundControl(const std::vector<Control>& controls, const std::pair<std::string, std::string>& kv,
                    const std::string& where, const std::string& listHint, bool (*noEffect)(long, const std::string&),
                    long nWhat, size_t nBoxes) {
    UINT nRadio = 0;
    const Control* k = FindControl(controls, kv.first, &nRadio);
    if (!k) {
        HostMessage("%s no control \"%s\" (see %s)", where.c_str(), kv.first.c_str(), listHint.c_str());
        return HOST_EXIT_USAGE;
    }
    const std::string label = "control " + (k->strName.empty() ? std::to_string(nRadio ? nRadio : k->nID)
                                                              : "\"" + k->strName + "\"");
    if (noEffect(nWhat, k->strName)) HostMessage("note: %s has no effect here", label.c_str());
    if (int status = SetControl(*k, nRadio, label, kv.second)) return status;
    return ReportRefusals(nBoxes) ? HOST_EXIT_FAILED : 0;
}
}  // namespace

int SetPageControls(CFormViewInBar* pBar, long nResult, const std::vector<std::pair<std::string, std::string>>& sets,
                    size_t nBoxes) {
    for (const auto& kv : sets) {
        // The controls as they are now: a control set before may have enabled or disabled others.
        auto* pNow = dynamic_cast<CPHPageDlg*>(pBar->GetShownPageWnd());
        std::vector<Control> controls = pNow ? CollectControls(pNow, pNow->GetControlNames()) : std::vector<Control>();
        const std::vector<Control> barNow = CollectControls(pBar, pBar->GetControlNames());
        controls.insert(controls.end(), barNow.begin(), barNow.end());
        const std::string hint = "pvxhost show " + std::to_string(nResult) + " --list-controls";
        if (int status = SetFoundControl(controls, kv, "the page of result " + std::to_string(nResult) + " and its bar have",
                                         hint, HasNoEffect, nResult, nBoxes))
            return status;
    }
    return 0;
}

std::vector<PanelPage> PanelPages(CWnd* pPanel, UINT nTabCtrl) {
    std::vector<PanelPage> pages;
    CWnd* pItem = pPanel ? pPanel->GetDlgItem(static_cast<int>(nTabCtrl)) : nullptr;
    auto* tabs = pItem ? dynamic_cast<CDlgTabAlive*>(CWnd::FromHandle(pItem->GetSafeHwnd())) : nullptr;
    for (int i = 0; tabs && i < tabs->GetPageCount(); ++i) pages.push_back({i, tabs->GetCaption(i).GetString(), tabs->GetPage(i)});
    return pages;
}

std::vector<Control> PageControls(CWnd* pPage) {
    // A hidden page's controls keep their own visible style: its tab shows them.
    auto* pNamed = dynamic_cast<IHostControlNames*>(pPage);
    return CollectControls(pPage, pNamed ? pNamed->GetControlNames() : std::vector<CBarControlName>());
}

void PrintPanelControls(CWnd* pPanel, UINT nTabCtrl, bool (*noEffect)(long, const std::string&), long nWhat) {
    for (const PanelPage& p : PanelPages(pPanel, nTabCtrl)) {
        std::printf("page %d \"%s\"%s\n", p.nTab, p.strCaption.c_str(),
                    (p.pPage->GetStyle() & WS_VISIBLE) ? " (shown)" : "");
        PrintControlLines(PageControls(p.pPage), noEffect, nWhat);
    }
}

int SetPanelControls(CWnd* pPanel, UINT nTabCtrl, const std::vector<std::pair<std::string, std::string>>& sets,
                     bool (*noEffect)(long, const std::string&), long nWhat, const std::string& listHint,
                     std::vector<CWnd*>* pTouched, size_t nBoxes) {
    for (const auto& kv : sets) {
        // The page that has the control, its controls as they are now.
        const PanelPage* pOn = nullptr;
        std::vector<PanelPage> pages = PanelPages(pPanel, nTabCtrl);
        for (const PanelPage& p : pages) {
            UINT nRadio = 0;
            if (FindControl(PageControls(p.pPage), kv.first, &nRadio)) {
                pOn = &p;
                break;
            }
        }
        if (!pOn) {
            HostMessage("the panel's pages have no control \"%s\" (see %s)", kv.first.c_str(), listHint.c_str());
            return HOST_EXIT_USAGE;
        }
        if (!(pOn->pPage->GetStyle() & WS_VISIBLE)) {
            // A person picks the page's tab first; the panel may refuse to leave its page.
            CUiDialogSession(pPanel).SelectTab(nTabCtrl, pOn->nTab);
            if (!(pOn->pPage->GetStyle() & WS_VISIBLE)) {
                HostMessage("the panel did not change to its page \"%s\"", pOn->strCaption.c_str());
                return HOST_EXIT_FAILED;
            }
        }
        if (int status = SetFoundControl(PageControls(pOn->pPage), kv, "the panel's page \"" + pOn->strCaption + "\" has", listHint, noEffect,
                                         nWhat, nBoxes))
            return status;
        if (pTouched && std::find(pTouched->begin(), pTouched->end(), pOn->pPage) == pTouched->end())
            pTouched->push_back(pOn->pPage);
    }
    return 0;
}

bool ReadSetWords(const std::vector<std::string>& words, const char* option,
                  std::vector<std::pair<std::string, std::string>>& sets) {
    for (const std::string& s : words) {
        const size_t eq = s.find('=');
        if (eq == std::string::npos || eq == 0) {
            HostMessage("%s expects CONTROL=VALUE, not \"%s\"", option, s.c_str());
            return false;
        }
        sets.emplace_back(s.substr(0, eq), s.substr(eq + 1));
    }
    return true;
}

long ReadResultOperand(const std::string& word, const char* pszVerb) {
    char* end = nullptr;
    const long nResult = std::strtol(word.c_str(), &end, 10);
    if (!word.empty() && end && *end == '\0' && nResult > 0) return nResult;
    if (word.empty())
        HostMessage("give the result id to %s (see pvxhost show --list)", pszVerb);
    else
        HostMessage("\"%s\" is no result id (see pvxhost show --list)", word.c_str());
    return 0;
}

int OpenResultBar(CHostDockBar& bar, long nResult, CWnd* pFrame, CHostDockBar::Offer& offer, CFormViewInBar*& pBar) {
    if (!CHostDockBar::FindOffer(static_cast<int>(nResult), offer)) {
        HostMessage("no result bar of the module offers result %ld (see pvxhost show --list)", nResult);
        return HOST_EXIT_USAGE;
    }
    if (!bar.CreateInFrame(pFrame)) {
        HostMessage("the result bar window could not be made");
        return HOST_EXIT_FAILED;
    }
    CDockDlgBarBase::ShowDlgBarMode(static_cast<int>(nResult), 0);
    pBar = bar.GetContent();
    if (!pBar || CDockDlgBarBase::GetDlgBarMode() != nResult) {
        HostMessage("the bar container %s did not open", offer.strContainer.c_str());
        return HOST_EXIT_FAILED;
    }
    return 0;
}

int ClickApply(CPHPageDlg* pPage, long nResult, size_t nBoxes) {
    if (!pPage || !pPage->GetDlgItem(kApplyButton)) {
        HostMessage("the page of result %ld has no Apply button", nResult);
        return HOST_EXIT_FAILED;
    }
    CUiDialogSession(pPage).ClickButton(kApplyButton);
    return ReportRefusals(nBoxes) ? HOST_EXIT_FAILED : 0;
}

namespace {
// Pages that show a display mode of the table with other settings than its own page: the
// support reaction page is the reaction display of the supports of type 2.
struct PageMode {
    int nResult;
    int nMode;
    const char* pszOption;
};
const PageMode kPageModes[] = {{7103, 0, "data-kind=2"}};
}  // namespace

int ResolvePageLoad(int nResult, const std::vector<Control>& controls, CDataBase* db, std::string& strLoad) {
    UINT nRadio = 0;
    const Control* pLoad = FindControl(controls, "load", &nRadio);
    auto* pCombo = pLoad ? dynamic_cast<CComboBox*>(pLoad->pOwner->GetDlgItem(static_cast<int>(pLoad->nID))) : nullptr;
    if (!pCombo || !db) return 0;
    const CHostMode* pMode = nullptr;
    std::vector<std::string> options;
    for (const PageMode& p : kPageModes)
        if (p.nResult == nResult) pMode = FindHostMode(std::to_string(p.nMode)), options = {p.pszOption};
    for (const CHostMode& m : GetHostModes())
        if (!pMode && m.nResultId == nResult) pMode = &m;
    if (!pMode || pMode->eLoad != EHostLoad::kStatic) return 0;
    const std::string mode = std::to_string(pMode->nMode);
    CHostResultChoice choice;
    // Unasked, the page's own load stays when it has the result (the one its settings kept, or
    // its first).
    CString current;
    if (strLoad.empty() && pCombo->GetCurSel() >= 0) pCombo->GetLBText(pCombo->GetCurSel(), current);
    if (!current.IsEmpty() && !choice.Parse(mode, current.GetString(), "", options) && !choice.Resolve(*db, true))
        return 0;
    if (int status = choice.Parse(mode, strLoad, "", options)) return status;
    if (int status = choice.Resolve(*db)) return status;
    // Unasked, the load is taken only when the page offers it (the rebar page lists the
    // combinations alone).
    if (strLoad.empty() && pCombo->FindStringExact(-1, choice.GetLoadName().c_str()) < 0) return 0;
    strLoad = choice.GetLoadName();
    return 0;
}

}  // namespace hostpage
