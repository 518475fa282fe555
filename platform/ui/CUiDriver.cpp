// The scripted user: answers, records, keys, the message clock and the pump.
#include "platform/ui/CUiDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/UiWindow.h"

namespace {
ULONGLONG RealNow() {
    static const auto start = std::chrono::steady_clock::now();
    return static_cast<ULONGLONG>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}
}  // namespace

CUiDriver& CUiDriver::Get() {
    static CUiDriver* p = new CUiDriver;
    return *p;
}

CUiDriver::CUiDriver() = default;

void CUiDriver::Reset() {
    m_bVirtual = FALSE;
    m_bQuit = FALSE;
    m_nQuitCode = 0;
    m_scriptsById.clear();
    m_scriptsByClass.clear();
    m_scriptsAny.clear();
    m_modalLog.clear();
    m_boxAnswers.clear();
    m_boxes.clear();
    m_fileAnswers.clear();
    m_fileLog.clear();
    m_menuChoices.clear();
    m_menuLog.clear();
    m_bPrint = FALSE;
    m_keysDown.clear();
    m_keysPressedSinceQuery.clear();
    m_nEscapePolls = -1;
    m_errors.clear();
}

void CUiDriver::UseVirtualClock(BOOL bVirtual) {
    if (bVirtual == m_bVirtual) return;
    if (bVirtual) m_nVirtualNow = RealNow();
    m_bVirtual = bVirtual;
    // A timer set on the other clock ticks a full period after the switch, however long the
    // real clock ran before it, so what follows is the same on a loaded machine as on an idle one.
    ui::RestartTimers();
}

void CUiDriver::AdvanceTime(DWORD dwMilliseconds) {
    if (!m_bVirtual) UseVirtualClock(TRUE);
    m_nVirtualNow += dwMilliseconds;
}

ULONGLONG CUiDriver::Now() const { return m_bVirtual ? m_nVirtualNow : RealNow(); }

int CUiDriver::PumpMessages(int nMax) {
    const int kCap = 100000;
    int limit = nMax < 0 ? kCap : nMax;
    int n = 0;
    MSG msg{};
    // A timer fires once in a pump: one whose handler takes longer than its period is due
    // again when it returns, and the pump ends there, as the queue is otherwise empty; its
    // next tick comes with the next pump.
    std::vector<std::pair<HWND, UINT_PTR>> fired;
    while (n < limit && ::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_TIMER) {
            const std::pair<HWND, UINT_PTR> timer(msg.hwnd, msg.wParam);
            if (std::find(fired.begin(), fired.end(), timer) != fired.end()) break;
            fired.push_back(timer);
        }
        if (!::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) break;
        if (msg.message == WM_QUIT) {
            m_bQuit = TRUE;
            m_nQuitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (!AfxPreTranslateMessage(&msg)) DispatchMessage(&msg);
        ++n;
    }
    if (nMax < 0 && n >= kCap)
        ReportError("The message pump stopped after 100000 messages: a window keeps posting or repainting itself.");
    return n;
}

void CUiDriver::QueueModal(UINT nIDTemplate, std::vector<UiDialogStep> steps) {
    m_scriptsById[nIDTemplate].push_back(std::move(steps));
}

void CUiDriver::QueueModal(LPCTSTR lpszDialogClass, std::vector<UiDialogStep> steps) {
    m_scriptsByClass[lpszDialogClass ? lpszDialogClass : ""].push_back(std::move(steps));
}

namespace {
// Moves the oldest script queued under key into steps; FALSE when there is none.
template <class Queues, class Key> BOOL TakeOldest(Queues& queues, const Key& key, std::vector<UiDialogStep>& steps) {
    auto it = queues.find(key);
    if (it == queues.end() || it->second.empty()) return FALSE;
    steps = std::move(it->second.front());
    it->second.pop_front();
    return TRUE;
}
}  // namespace

BOOL CUiDriver::TakeModalScript(UINT nIDTemplate, LPCTSTR lpszClass, std::vector<UiDialogStep>& steps) {
    if (lpszClass && TakeOldest(m_scriptsByClass, std::string(lpszClass), steps)) return TRUE;
    if (TakeOldest(m_scriptsById, nIDTemplate, steps)) return TRUE;
    if (m_scriptsAny.empty()) return FALSE;
    steps = std::move(m_scriptsAny.front());
    m_scriptsAny.pop_front();
    return TRUE;
}

void CUiDriver::QueueModalAny(std::vector<UiDialogStep> steps) { m_scriptsAny.push_back(std::move(steps)); }

void CUiDriver::RunModalScript(UINT nIDTemplate, LPCTSTR lpszClass, CWnd* pWnd, const std::function<BOOL()>& isOpen,
                               const std::function<void(int)>& press, const std::function<void(int)>& end) {
    std::vector<UiDialogStep> steps;
    TakeModalScript(nIDTemplate, lpszClass, steps);
    for (auto& step : steps) {
        if (!isOpen()) break;
        CUiDialogSession session(pWnd);
        const int r = step ? step(session) : 0;
        if (isOpen()) {
            if (r == IDOK || r == IDCANCEL)
                press(r);
            else if (r != 0)
                end(r);
        }
        if (isOpen()) PumpMessages();
    }
}

void CUiDriver::RecordModal(UINT nIDTemplate, LPCTSTR lpszClass, int nResult) {
    m_modalLog.push_back(UiModalRecord{nIDTemplate, CString(lpszClass ? lpszClass : ""), nResult});
}

void CUiDriver::QueueMessageBoxAnswer(int nAnswer) { m_boxAnswers.push_back(nAnswer); }

int CUiDriver::AnswerMessageBox(HWND, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
    int answer;
    if (!m_boxAnswers.empty()) {
        answer = m_boxAnswers.front();
        m_boxAnswers.pop_front();
    } else {
        switch (nType & MB_TYPEMASK) {
        case MB_OK: answer = IDOK; break;
        case MB_YESNO: answer = IDNO; break;
        case MB_ABORTRETRYIGNORE: answer = IDABORT; break;
        default: answer = IDCANCEL; break;
        }
    }
    m_boxes.push_back(UiMessageBoxRecord{CString(lpszText ? lpszText : ""), CString(lpszCaption ? lpszCaption : ""), nType, answer});
    return answer;
}

void CUiDriver::QueueFileDialogAnswer(LPCTSTR lpszPath) { m_fileAnswers.push_back(CString(lpszPath ? lpszPath : "")); }

BOOL CUiDriver::TakeFileAnswer(CString& rPath) {
    if (m_fileAnswers.empty()) return FALSE;
    rPath = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    return !rPath.IsEmpty();
}

void CUiDriver::QueueMenuChoice(UINT nID) { m_menuChoices.push_back(nID); }

UINT CUiDriver::TakeMenuChoice() {
    if (m_menuChoices.empty()) return 0;
    UINT id = m_menuChoices.front();
    m_menuChoices.pop_front();
    return id;
}

void CUiDriver::SetKeyDown(int nVirtKey, BOOL bDown) {
    BOOL was = m_keysDown[nVirtKey];
    m_keysDown[nVirtKey] = bDown;
    if (bDown && !was) m_keysPressedSinceQuery[nVirtKey] = TRUE;
}

void CUiDriver::PressEscapeAfterPolls(int nPolls) { m_nEscapePolls = nPolls < 0 ? -1 : nPolls; }

SHORT CUiDriver::KeyState(int nVirtKey, BOOL bAsync) {
    if (nVirtKey == VK_ESCAPE && m_nEscapePolls >= 0) {
        if (m_nEscapePolls == 0) {
            m_nEscapePolls = -1;
            return static_cast<SHORT>(bAsync ? 0x8001 : 0x8000);   // a tap: down for this one poll
        }
        --m_nEscapePolls;
        return 0;
    }
    // Looked up without adding keys never set: a drawing polls Escape once per face, and the
    // maps then stay empty.
    const auto down = m_keysDown.find(nVirtKey);
    SHORT s = down != m_keysDown.end() && down->second ? static_cast<SHORT>(0x8000) : 0;
    if (bAsync) {
        const auto pressed = m_keysPressedSinceQuery.find(nVirtKey);
        if (pressed != m_keysPressedSinceQuery.end() && pressed->second) {
            s = static_cast<SHORT>(s | 1);
            pressed->second = FALSE;
        }
    }
    return s;
}

LRESULT CUiDriver::SendMouse(CWnd* pWnd, UINT message, CPoint point, UINT nFlags) {
    if (!pWnd || !ui::Find(pWnd->m_hWnd)) {
        ReportError("SendMouse: the window does not exist.");
        return 0;
    }
    HWND h = pWnd->m_hWnd;
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) {
        // Ancestors hear of the click in their own client coordinates.
        UiWindow* w = ui::Find(h);
        HWND child = h;
        CPoint screen = point;
        ::ClientToScreen(h, &screen);
        while (w && (w->style & WS_CHILD) && !(w->exStyle & WS_EX_NOPARENTNOTIFY) && w->hParent) {
            HWND parent = w->hParent;
            CPoint pt = screen;
            ::ScreenToClient(parent, &pt);
            ui::Send(parent, WM_PARENTNOTIFY, MAKEWPARAM(message, 0), MAKELPARAM(pt.x, pt.y));
            w = ui::Find(parent);
            child = parent;
        }
        (void)child;
        if (!ui::Find(h)) return 0;
    }
    return ui::Send(h, message, nFlags, MAKELPARAM(point.x, point.y));
}

void CUiDriver::ReportError(LPCTSTR lpszText) {
    m_errors.push_back(CString(lpszText ? lpszText : ""));
    AfxDiagnostic("pvx ui", "%s", lpszText ? lpszText : "");
}

// ---- Platform functions ----

int AfxPumpMessages() { return CUiDriver::Get().PumpMessages(); }

BOOL AfxPreTranslateMessage(MSG* pMsg) {
    if (!pMsg) return FALSE;
    // From the target window up to its top-level window, each may take the message first.
    HWND h = pMsg->hwnd;
    while (UiWindow* w = ui::Find(h)) {
        HWND up = (w->style & WS_CHILD) ? w->hParent : nullptr;
        if (CWnd* p = w->pWnd) {
            if (p->PreTranslateMessage(pMsg)) return TRUE;
        }
        h = up;
    }
    return FALSE;
}

DWORD GetTickCount() { return static_cast<DWORD>(CUiDriver::Get().Now()); }
ULONGLONG GetTickCount64() { return CUiDriver::Get().Now(); }

void Sleep(DWORD dwMilliseconds) {
    CUiDriver& d = CUiDriver::Get();
    if (d.IsVirtualClock())
        d.AdvanceTime(dwMilliseconds);
    else
        std::this_thread::yield();
}

SHORT GetAsyncKeyState(int vKey) { return CUiDriver::Get().KeyState(vKey, TRUE); }
SHORT GetKeyState(int vKey) { return CUiDriver::Get().KeyState(vKey, FALSE); }
