// The controls of a result bar and its pages, and of the figure panel's pages, as the pvxhost
// commands set them (show, animate, figure):
// each value control of a window in tab order with its id, short name and kind, found by id or
// name and set through the scripted user of CUiDriver as a person would.
//
//     std::vector<hostpage::Control> c = hostpage::CollectControls(pPage, pPage->GetControlNames());
//     if (int status = hostpage::SetPageControls(pBar, 7201, {{"load", "DL"}}, nBoxes)) return status;
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/app/HostDockBar.h"
#include "host/base/CFormViewInBar.h"

class CDataBase;
class CPHPageDlg;
class CWnd;

namespace hostpage {

constexpr UINT kApplyButton = 10647;  // every page's Apply

struct Control {
    CWnd* pOwner = nullptr;       // the page or the container
    UINT nID = 0;                 // the control's id (a radio group: its first button's)
    std::string strName;          // short name; empty when none
    std::string strKind;          // "check box", "radio group", "combo", "edit", "point edit", "list", "button"
    std::vector<UINT> radios;     // buttons of a radio group, in order
    bool bEnabled = true;
};

// The text of a window.
std::string TextOf(CWnd* p);
// The value controls of a window, in tab order; hidden ones and the pages inside are left out.
std::vector<Control> CollectControls(CWnd* pOwner, const std::vector<CBarControlName>& names);
// Whether the control of that short name draws the same whatever its value on the result's page
// (its bar's controls included): listed "(no effect here)", and noted when set.
bool HasNoEffect(long nResult, const std::string& name);
// One line per control: id, name, kind, caption and value; "(no effect here)" after the controls
// of the result's page that draw the same whatever their value.
void PrintControls(const char* what, const std::vector<Control>& controls, long nResult);
// The control a command-line word names (its id or short name); null when none.
const Control* FindControl(const std::vector<Control>& controls, const std::string& key, UINT* pRadio);
// Sets a control as a person would. 0, or the exit status after a message.
int SetControl(const Control& k, UINT nRadio, const std::string& label, const std::string& value);
// Prints the message boxes shown since `from`; true when there were any.
bool ReportRefusals(size_t from);
// Sets controls of a dialog (or window) as a person does, each found as the dialog is then.
// 0, or the exit status after a message.
int SetDialogControls(CWnd* pDlg, const std::vector<std::pair<std::string, std::string>>& settings);
// The cutting-line window over the result view (a dialog naming the point edits "point1" ...);
// null when none is open.
CWnd* FindCutLineWindow(CWnd* pView);
// Presses a "..." button of the page; the dialog it opens takes the settings and its OK is
// pressed. A button that opens the view's cutting-line window (no dialog) is told as such.
// 0, or the exit status after a message.
int RunDetails(CPHPageDlg* pPage, long nResult, CWnd* pView, const std::string& button,
               const std::vector<std::pair<std::string, std::string>>& settings, size_t nBoxes);
// Sets each CONTROL=VALUE on the bar's shown page or the bar, in order, each against the
// controls as they are then (a control with no effect on the page is noted). 0, or the exit
// status after a message.
int SetPageControls(CFormViewInBar* pBar, long nResult, const std::vector<std::pair<std::string, std::string>>& sets,
                    size_t nBoxes);

// A page of a tabbed panel (a CDlgTabAlive whose pages are the panel's children).
struct PanelPage {
    int nTab;
    std::string strCaption;
    CWnd* pPage;
};
std::vector<PanelPage> PanelPages(CWnd* pPanel, UINT nTabCtrl);
// The value controls of a page, shown or not (tab order).
std::vector<Control> PageControls(CWnd* pPage);
// One block per page: its tab, caption and controls as PrintControls writes them; noEffect(nWhat,
// name) marks the controls that draw the same whatever their value.
void PrintPanelControls(CWnd* pPanel, UINT nTabCtrl, bool (*noEffect)(long, const std::string&), long nWhat);
// Sets each CONTROL=VALUE on the panel's page that has it, in order: the page's tab is picked
// first as a person picks it (the panel may refuse), then the control is set as on a bar's page.
// The pages set are added to *pTouched (in order). 0, or the exit status after a message.
int SetPanelControls(CWnd* pPanel, UINT nTabCtrl, const std::vector<std::pair<std::string, std::string>>& sets,
                     bool (*noEffect)(long, const std::string&), long nWhat, const std::string& listHint,
                     std::vector<CWnd*>* pTouched, size_t nBoxes);

// The CONTROL=VALUE words of an option, each split at its first '='; false after a message when
// one is not of that shape.
bool ReadSetWords(const std::vector<std::string>& words, const char* option,
                  std::vector<std::pair<std::string, std::string>>& sets);

// The result id the command's operand names; 0 after a message when it names none.
long ReadResultOperand(const std::string& word, const char* pszVerb);
// Opens the bar that offers the result in the frame, on the result's page, as the view's result
// command does. 0, or the exit status after a message.
int OpenResultBar(CHostDockBar& bar, long nResult, CWnd* pFrame, CHostDockBar::Offer& offer, CFormViewInBar*& pBar);
// Presses the page's Apply and prints what the page refused. 0, or the exit status.
int ClickApply(CPHPageDlg* pPage, long nResult, size_t nBoxes);
// The load of a page whose display mode takes a load case or combination, as render resolves it
// for that mode (its results checked in db); strLoad becomes its name. 0, or the exit status
// after the message.
int ResolvePageLoad(int nResult, const std::vector<Control>& controls, CDataBase* db, std::string& strLoad);

}  // namespace hostpage
