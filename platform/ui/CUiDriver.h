// CUiDriver: the one place where a test or the host program plays the user.
//
// Headless, nothing may wait for a person, so every question the module asks a user is
// answered here from queues filled beforehand, with a documented default when nothing was
// queued:
//   - DoModal: scripts queued by template id or dialog class name. A script is a list of steps;
//     each step receives a CUiDialogSession after OnInitDialog, sets control values like a user
//     and returns 0 (go on with the next step), IDOK/IDCANCEL (click that button) or another
//     value (EndDialog with it). A script queued for any dialog serves the next dialog that has
//     no script of its own. A dialog still open when its steps run out (for example after a
//     failed validation) ends with IDCANCEL. Without a script DoModal returns IDCANCEL.
//   - MessageBox/AfxMessageBox: answers in call order. Without one: IDOK for MB_OK, IDCANCEL
//     when the box has a Cancel button, IDNO for MB_YESNO, IDABORT for MB_ABORTRETRYIGNORE.
//     Every box is recorded with text, caption, type and answer.
//   - File dialogs: paths in call order; no path (or an empty one) answers IDCANCEL.
//   - TrackPopupMenu: command ids in call order; none (or 0) chooses nothing. Disabled items
//     cannot be chosen.
//   - DoPreparePrinting: one answer for all calls, FALSE (cancelled) by default.
//   - Keys: SetKeyDown holds a key down; PressEscapeAfterPolls(n) makes the (n+1)-th poll of
//     Escape report a press, once, so a long loop that polls Escape can be interrupted.
//   - Time: the message clock is real (monotonic milliseconds) until UseVirtualClock(TRUE);
//     then it moves only by AdvanceTime (and Sleep), so timers fire deterministically; a switch
//     of clock starts every timer's period afresh.
// PumpMessages dispatches posted messages, paints and due timers, each timer once; it never
// sleeps. Keys reach windows as a user's would when posted (PostMessage(WM_KEYDOWN, VK_RETURN))
// and pumped: each window from the target up to its top-level window may take them in
// PreTranslateMessage.
// All window calls belong to one thread, as on the original platform.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/CWnd.h"

class CDialog;

// A user's hands on one open dialog (or any parent window) for a script step.
class CUiDialogSession {
public:
    explicit CUiDialogSession(CWnd* pDialog) : m_pDialog(pDialog) {}
    CWnd* Dialog() const { return m_pDialog; }
    // Types into an edit (or an editable combo): focus, new text, EN_CHANGE / CBN_EDITCHANGE.
    BOOL SetControlText(UINT nID, LPCTSTR lpszText);
    // Sets a check box or radio button as a click would: BN_CLICKED follows.
    BOOL SetCheck(UINT nID, int nCheck = BST_CHECKED);
    // Picks a combo or list box item: CBN_SELCHANGE / LBN_SELCHANGE follow.
    BOOL SelectComboIndex(UINT nID, int nIndex);
    BOOL SelectListIndex(UINT nID, int nIndex);
    // Drags a slider to nPos: WM_HSCROLL (WM_VSCROLL for TBS_VERT) with TB_THUMBPOSITION, then TB_ENDTRACK.
    BOOL MoveSlider(UINT nID, int nPos);
    // Picks a tab: TCN_SELCHANGING, then TCN_SELCHANGE.
    BOOL SelectTab(UINT nID, int nIndex);
    // Clicks a button: focus moves to it, BN_CLICKED follows (IDOK/IDCANCEL reach OnOK/OnCancel).
    BOOL ClickButton(UINT nID);
    // Toggles the check box of a check list item: CLBN_CHKCHANGE follows.
    BOOL ToggleCheckListItem(UINT nID, int nIndex);
    // Clicks a list-control item (alone selected): LVN_ITEMCHANGED for each change, then NM_CLICK.
    BOOL ClickListItem(UINT nID, int nItem);
    // Clicks a tree item: TVN_SELCHANGING, then TVN_SELCHANGED.
    BOOL SelectTreeItem(UINT nID, HTREEITEM hItem);
    // Presses a spin button nSteps times up (positive) or down: UDN_DELTAPOS, then the scroll message.
    BOOL SpinSteps(UINT nID, int nSteps);
    // TRUE while the dialog has not ended.
    BOOL IsOpen() const;

private:
    CWnd* Item(UINT nID, LPCTSTR lpszWhat) const;
    CWnd* m_pDialog;
};

typedef std::function<int(CUiDialogSession&)> UiDialogStep;

struct UiMessageBoxRecord {
    CString text;
    CString caption;
    UINT type;    // MB_*
    int answer;   // ID*
};

struct UiModalRecord {
    UINT nIDTemplate;
    CString className;
    int result;
};

struct UiFileDialogRecord {
    BOOL bOpenFileDialog;
    CString title;
    CString defExt;
    CString fileName;   // initial name
    CString filter;     // as given, '|' separated
    CString answer;     // chosen path, empty when cancelled
    int result;
};

struct UiMenuRecord {
    std::vector<CString> texts;   // item texts, "" for separators
    std::vector<UINT> ids;        // item ids, 0 for separators and popups
    std::vector<UINT> states;     // MF_GRAYED / MF_CHECKED bits when shown
    UINT chosen;                  // 0 = nothing chosen
};

class CUiDriver {
public:
    static CUiDriver& Get();

    // Forgets every queued answer and record, releases keys and returns to the real clock.
    void Reset();

    // ---- Message clock ----
    void UseVirtualClock(BOOL bVirtual);
    BOOL IsVirtualClock() const { return m_bVirtual; }
    void AdvanceTime(DWORD dwMilliseconds);
    ULONGLONG Now() const;   // milliseconds

    // ---- Queue ----
    // Dispatches queued messages, paints and due timers until none is left, a timer comes due
    // a second time, or nMax were dispatched (nMax < 0: at most 100000, so a window that keeps
    // posting cannot hang the caller). Returns the number dispatched. A WM_QUIT stops the pump and is remembered.
    int PumpMessages(int nMax = -1);
    BOOL QuitReceived() const { return m_bQuit; }
    int QuitCode() const { return m_nQuitCode; }

    // ---- Modal dialogs ----
    void QueueModal(UINT nIDTemplate, std::vector<UiDialogStep> steps);
    void QueueModal(LPCTSTR lpszDialogClass, std::vector<UiDialogStep> steps);
    // A script for the next modal dialog that has none queued by its class or template.
    void QueueModalAny(std::vector<UiDialogStep> steps);
    const std::vector<UiModalRecord>& ModalLog() const { return m_modalLog; }

    // ---- Message boxes ----
    void QueueMessageBoxAnswer(int nAnswer);
    const std::vector<UiMessageBoxRecord>& MessageBoxes() const { return m_boxes; }
    void ClearMessageBoxes() { m_boxes.clear(); }

    // ---- File dialogs ----
    void QueueFileDialogAnswer(LPCTSTR lpszPath);
    const std::vector<UiFileDialogRecord>& FileDialogs() const { return m_fileLog; }

    // ---- Pop-up menus ----
    void QueueMenuChoice(UINT nID);
    const std::vector<UiMenuRecord>& Menus() const { return m_menuLog; }

    // ---- Printing ----
    void SetPrintAnswer(BOOL bPrint) { m_bPrint = bPrint; }

    // ---- Keys ----
    void SetKeyDown(int nVirtKey, BOOL bDown);
    void PressEscapeAfterPolls(int nPolls);
    // State word as the platform reports it: 0x8000 while down, plus 1 (async) when pressed
    // since the last query.
    SHORT KeyState(int nVirtKey, BOOL bAsync);

    // ---- Mouse ----
    // Sends a mouse message to a window as a user's click would arrive: button-down messages
    // are first announced to the ancestors with WM_PARENTNOTIFY. point is in client coordinates.
    LRESULT SendMouse(CWnd* pWnd, UINT message, CPoint point, UINT nFlags = 0);

    // ---- Failures reported by the window layer ----
    const std::vector<CString>& Errors() const { return m_errors; }
    void ClearErrors() { m_errors.clear(); }

    // ---- Used by the stand-ins ----
    int AnswerMessageBox(HWND hOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType);
    BOOL TakeModalScript(UINT nIDTemplate, LPCTSTR lpszClass, std::vector<UiDialogStep>& steps);
    // Runs the script queued for a modal window (by class first, then template id) while
    // isOpen() holds: each step acts through a session on pWnd; its answer IDOK or IDCANCEL
    // goes to press, another non-zero answer to end. What was posted meanwhile is delivered
    // after each step, as the modal loop does.
    void RunModalScript(UINT nIDTemplate, LPCTSTR lpszClass, CWnd* pWnd, const std::function<BOOL()>& isOpen,
                        const std::function<void(int)>& press, const std::function<void(int)>& end);
    void RecordModal(UINT nIDTemplate, LPCTSTR lpszClass, int nResult);
    BOOL TakeFileAnswer(CString& rPath);
    void RecordFileDialog(const UiFileDialogRecord& rec) { m_fileLog.push_back(rec); }
    UINT TakeMenuChoice();
    void RecordMenu(const UiMenuRecord& rec) { m_menuLog.push_back(rec); }
    BOOL PrintAnswer() const { return m_bPrint; }
    void ReportError(LPCTSTR lpszText);

private:
    CUiDriver();

    BOOL m_bVirtual = FALSE;
    ULONGLONG m_nVirtualNow = 0;
    BOOL m_bQuit = FALSE;
    int m_nQuitCode = 0;

    std::map<UINT, std::deque<std::vector<UiDialogStep>>> m_scriptsById;
    std::map<std::string, std::deque<std::vector<UiDialogStep>>> m_scriptsByClass;
    std::deque<std::vector<UiDialogStep>> m_scriptsAny;
    std::vector<UiModalRecord> m_modalLog;

    std::deque<int> m_boxAnswers;
    std::vector<UiMessageBoxRecord> m_boxes;

    std::deque<CString> m_fileAnswers;
    std::vector<UiFileDialogRecord> m_fileLog;

    std::deque<UINT> m_menuChoices;
    std::vector<UiMenuRecord> m_menuLog;

    BOOL m_bPrint = FALSE;

    std::map<int, BOOL> m_keysDown;
    std::map<int, BOOL> m_keysPressedSinceQuery;
    int m_nEscapePolls = -1;   // polls left before the scripted Escape press; -1 none

    std::vector<CString> m_errors;
};

// ---- Queue and clock functions of the platform ----
BOOL PeekMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
// Never blocks: FALSE when nothing is queued (or for WM_QUIT).
BOOL GetMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
BOOL TranslateMessage(const MSG* lpMsg);
LRESULT DispatchMessage(const MSG* lpMsg);
void PostQuitMessage(int nExitCode);
// Pumps everything pending (see CUiDriver::PumpMessages).
int AfxPumpMessages();
BOOL AfxPreTranslateMessage(MSG* pMsg);
DWORD GetTickCount();
ULONGLONG GetTickCount64();
// Does not wait: advances the virtual clock, or returns at once on the real clock.
void Sleep(DWORD dwMilliseconds);
SHORT GetAsyncKeyState(int vKey);
SHORT GetKeyState(int vKey);
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);
