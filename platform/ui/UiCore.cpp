// Handle table, window classes, synchronous dispatch, default processing, focus, destruction,
// the posted-message queue and timers.
#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <deque>
#include <map>
#include <unordered_map>

#include "platform/ui/CUiDriver.h"
#include "platform/ui/UiWindow.h"
#include "platform/ui/uiapi.h"


UINT UiWindow::Kind() const { return style & BS_TYPEMASK; }

namespace {

struct Table {
    std::unordered_map<uintptr_t, std::unique_ptr<UiWindow>> windows;
    std::vector<HWND> order;   // creation order of live windows
    uintptr_t nextHandle = 0x10000;
    std::vector<std::unique_ptr<UiWindowClass>> classes;
    BOOL bBuiltins = FALSE;
    HWND hFocus = nullptr;
    HWND hActive = nullptr;
    HWND hCapture = nullptr;
    std::deque<MSG> posted;
    int nSendDepth = 0;
};

Table& T() {
    static Table* t = new Table;   // lives to the end of the process: windows may outlive statics
    return *t;
}

const int kMaxSendDepth = 200;

BOOL InRange(UINT msg, UINT lo, UINT hi) { return (lo == 0 && hi == 0) || (msg >= lo && msg <= hi); }

BOOL MatchesWindow(HWND hFilter, HWND hMsg) {
    if (hFilter == nullptr) return TRUE;
    if (hMsg == hFilter) return TRUE;
    return hMsg != nullptr && IsChild(hFilter, hMsg);
}

}  // namespace

namespace ui {

UiWindow* Find(HWND hWnd) {
    if (!hWnd) return nullptr;
    auto it = T().windows.find(reinterpret_cast<uintptr_t>(hWnd));
    return it == T().windows.end() ? nullptr : it->second.get();
}

UiWindow& Require(HWND hWnd) { return *Find(hWnd); }

HWND NewHandle() {
    Table& t = T();
    t.nextHandle += 4;
    return reinterpret_cast<HWND>(t.nextHandle);
}

void Register(std::unique_ptr<UiWindow> w) {
    HWND h = w->hwnd;
    T().order.push_back(h);
    T().windows[reinterpret_cast<uintptr_t>(h)] = std::move(w);
}

void Unregister(HWND hWnd) {
    Table& t = T();
    auto it = t.windows.find(reinterpret_cast<uintptr_t>(hWnd));
    if (it == t.windows.end()) return;
    std::unique_ptr<UiWindow> w = std::move(it->second);
    t.windows.erase(it);
    t.order.erase(std::remove(t.order.begin(), t.order.end(), hWnd), t.order.end());
    ReleaseSurface(*w);
    for (auto& p : w->wrappers) p->m_hWnd = nullptr;
    w->wrappers.clear();
}

std::vector<HWND> AllWindows() { return T().order; }

BOOL EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return FALSE;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return FALSE;
    return TRUE;
}

BOOL PrefixNoCase(const std::string& prefix, const std::string& s) {
    if (prefix.size() > s.size()) return FALSE;
    return EqualNoCase(prefix, s.substr(0, prefix.size()));
}

const UiWindowClass* FindClass(LPCTSTR lpszClassName) {
    Table& t = T();
    if (!t.bBuiltins) {
        t.bBuiltins = TRUE;
        RegisterBuiltinClasses();
    }
    std::string name = lpszClassName ? lpszClassName : "AfxWnd";
    for (auto& c : t.classes)
        if (EqualNoCase(c->name, name)) return c.get();
    return nullptr;
}

const UiWindowClass* RegisterClass(const UiWindowClass& cls) {
    Table& t = T();
    for (auto& c : t.classes)
        if (EqualNoCase(c->name, cls.name)) return c.get();
    t.classes.push_back(std::make_unique<UiWindowClass>(cls));
    return t.classes.back().get();
}

void Error(const char* fmt, ...) {
    char buf[1024];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    CUiDriver::Get().ReportError(buf);
}

LRESULT CopyText(const std::string& s, WPARAM cch, LPARAM buffer) {
    char* out = reinterpret_cast<char*>(buffer);
    if (!out || cch == 0) return 0;
    size_t n = std::min<size_t>(s.size(), cch - 1);
    // Never cut a multi-byte character in half.
    if (n < s.size()) n = static_cast<size_t>(CString::CharBoundary(s.c_str(), static_cast<int>(s.size()), static_cast<int>(n)));
    memcpy(out, s.data(), n);
    out[n] = '\0';
    return static_cast<LRESULT>(n);
}

CRect NonClientInsets(DWORD style, DWORD exStyle) {
    CRect r;
    int frame = 0;
    if (style & WS_THICKFRAME)
        frame = GetSystemMetrics(SM_CXFRAME);
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        frame = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        frame = GetSystemMetrics(SM_CXBORDER);
    r.SetRect(frame, frame, frame, frame);
    if ((style & WS_CAPTION) == WS_CAPTION) r.top += GetSystemMetrics(SM_CYCAPTION);
    int edge = (exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : ((exStyle & WS_EX_STATICEDGE) ? 1 : 0);
    r.left += edge;
    r.top += edge;
    r.right += edge;
    r.bottom += edge;
    if (style & WS_VSCROLL) r.right += GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL) r.bottom += GetSystemMetrics(SM_CYHSCROLL);
    return r;
}

static CRect Insets(const UiWindow& w) {
    CRect r = NonClientInsets(w.style, w.exStyle);
    if (w.hMenu && !(w.style & WS_CHILD)) r.top += GetSystemMetrics(SM_CYMENU);
    return r;
}

CRect ClientRect(const UiWindow& w) {
    CRect in = Insets(w);
    int cx = std::max<int>(0, w.rect.Width() - in.left - in.right);
    int cy = std::max<int>(0, w.rect.Height() - in.top - in.bottom);
    return CRect(0, 0, cx, cy);
}

CPoint ClientOriginOnScreen(const UiWindow& w) {
    CRect in = Insets(w);
    CPoint p(w.rect.left + in.left, w.rect.top + in.top);
    if ((w.style & WS_CHILD) && w.hParent) {
        if (UiWindow* parent = Find(w.hParent)) p += ClientOriginOnScreen(*parent);
    }
    return p;
}

BOOL IsVisible(const UiWindow& w) {
    const UiWindow* p = &w;
    while (p) {
        if (!(p->style & WS_VISIBLE)) return FALSE;
        if (!(p->style & WS_CHILD)) return TRUE;
        p = Find(p->hParent);
    }
    return TRUE;
}

void AddUpdate(UiWindow& w, const RECT* pRect, BOOL bErase) {
    if (!(w.style & WS_VISIBLE) || !w.bRedraw) return;
    CRect client = ClientRect(w);
    CRect r = pRect ? CRect(*pRect) : client;
    r.NormalizeRect();
    CRect clipped;
    if (!clipped.IntersectRect(&r, &client)) return;
    if (w.bUpdate)
        w.rcUpdate.UnionRect(&w.rcUpdate, &clipped);
    else
        w.rcUpdate = clipped;
    w.bUpdate = TRUE;
    if (bErase) w.bErase = TRUE;
}

void ClearUpdate(UiWindow& w) {
    w.bUpdate = FALSE;
    w.bErase = FALSE;
    w.rcUpdate.SetRectEmpty();
}

HWND FocusHandle() { return T().hFocus; }

LRESULT Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    UiWindow* w = Find(hWnd);
    if (!w) return 0;
    Table& t = T();
    if (t.nSendDepth >= kMaxSendDepth) {
        Error("Message 0x%04x to window %p was dropped: messages are nested %d deep; a handler keeps sending to itself.",
              message, static_cast<void*>(hWnd), kMaxSendDepth);
        return 0;
    }
    ++t.nSendDepth;
    LRESULT r;
    if (CWnd* pWnd = w->pWnd) {
        r = UiDispatchToObject(pWnd, hWnd, message, wParam, lParam);
    } else {
        r = DefProc(hWnd, message, wParam, lParam);
    }
    --t.nSendDepth;
    return r;
}

void NotifyParent(UiWindow& w, UINT nCode) {
    if (!(w.style & WS_CHILD) || !w.hParent) return;
    HWND hSelf = w.hwnd;
    Send(w.hParent, WM_COMMAND, MAKEWPARAM(w.id, nCode), reinterpret_cast<LPARAM>(hSelf));
}

LRESULT NotifyParent(UiWindow& w, NMHDR* pHdr, int nCode) {
    pHdr->hwndFrom = w.hwnd;
    pHdr->idFrom = w.id;
    pHdr->code = static_cast<UINT>(nCode);
    if (!w.hParent) return 0;
    return Send(w.hParent, WM_NOTIFY, w.id, reinterpret_cast<LPARAM>(pHdr));
}

// Whether a shown child covers the whole client area, so that nothing of the window's own
// picture can be seen.
static BOOL CoveredByChild(const UiWindow& w) {
    const CRect client = ClientRect(w);
    for (HWND h : w.children) {
        const UiWindow* c = Find(h);
        CRect both;
        if (c && (c->style & WS_VISIBLE) && both.IntersectRect(&c->rect, &client) && both == client) return TRUE;
    }
    return FALSE;
}

LRESULT DefProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    UiWindow* w = Find(hWnd);
    if (!w) return 0;
    if (w->pClass && w->pClass->pfnProc) {
        LRESULT r = 0;
        if (w->pClass->pfnProc(*w, message, wParam, lParam, r)) return r;
        w = Find(hWnd);
        if (!w) return 0;
    }
    switch (message) {
    case WM_SETTEXT:
        w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        return TRUE;
    case WM_GETTEXT:
        return CopyText(w->text, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->text.size());
    case WM_SETFONT:
        w->hFont = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) AddUpdate(*w, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w->hFont);
    case WM_SETREDRAW:
        w->bRedraw = wParam != 0;
        return 0;
    case WM_CLOSE:
        Destroy(hWnd);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) Send(hWnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_ERASEBKGND:
        EraseBackground(*w, reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_PAINT: {
        // A window its child hides whole is only validated: no picture is made for it.
        if (CoveredByChild(*w)) {
            ClearUpdate(*w);
            return 0;
        }
        PAINTSTRUCT ps;
        BeginPaintDC(*w, ps);
        EndPaintDC(ps);  // also when erasing destroyed the window, so its DC is not left behind
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!pos) return 0;
        if (!(pos->flags & UI_SWP_NOCLIENTSIZE)) {
            CRect c = ClientRect(*w);
            UINT type = (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : ((w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : SIZE_RESTORED);
            Send(hWnd, WM_SIZE, type, MAKELPARAM(c.Width(), c.Height()));
            w = Find(hWnd);
            if (!w) return 0;
        }
        if (!(pos->flags & UI_SWP_NOCLIENTMOVE)) {
            CRect in = Insets(*w);
            Send(hWnd, WM_MOVE, 0, MAKELPARAM(w->rect.left + in.left, w->rect.top + in.top));
        }
        return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
        if ((w->style & WS_CHILD) && w->hParent) return Send(w->hParent, message, wParam, lParam);
        return 0;
    default:
        return 0;
    }
}

// WM_PARENTNOTIFY to each ancestor in turn, stopping at a window that asked not to tell.
void ParentNotify(HWND hChild, UINT event, LPARAM lParam) {
    UiWindow* w = Find(hChild);
    WPARAM wp = MAKEWPARAM(event, w ? w->id : 0);
    while (w && (w->style & WS_CHILD) && !(w->exStyle & WS_EX_NOPARENTNOTIFY) && w->hParent) {
        HWND hParent = w->hParent;
        Send(hParent, WM_PARENTNOTIFY, wp, lParam);
        w = Find(hParent);
    }
}

static void DestroyTree(HWND hWnd, BOOL bTop) {
    UiWindow* w = Find(hWnd);
    if (!w || w->bDestroying) return;
    w->bDestroying = TRUE;
    Table& t = T();
    if (bTop && (w->style & WS_CHILD)) ParentNotify(hWnd, WM_DESTROY, reinterpret_cast<LPARAM>(hWnd));

    // Owned pop-ups go first.
    for (HWND h : AllWindows()) {
        UiWindow* o = Find(h);
        if (o && o->hOwner == hWnd && !(o->style & WS_CHILD)) DestroyTree(h, TRUE);
    }
    w = Find(hWnd);
    if (!w) return;
    w->style &= ~WS_VISIBLE;
    if (t.hFocus == hWnd || (t.hFocus && IsChild(hWnd, t.hFocus))) t.hFocus = nullptr;
    if (t.hCapture == hWnd) t.hCapture = nullptr;
    if (t.hActive == hWnd) t.hActive = nullptr;

    Send(hWnd, WM_DESTROY, 0, 0);
    w = Find(hWnd);
    if (!w) return;
    std::vector<HWND> kids = w->children;
    for (HWND k : kids) DestroyTree(k, FALSE);
    w = Find(hWnd);
    if (!w) return;
    w->timers.clear();
    t.posted.erase(std::remove_if(t.posted.begin(), t.posted.end(), [&](const MSG& m) { return m.hwnd == hWnd; }),
                   t.posted.end());

    Send(hWnd, WM_NCDESTROY, 0, 0);
    w = Find(hWnd);
    if (!w) return;
    CWnd* pWnd = w->pWnd;
    BOOL bWrapper = FALSE;
    for (auto& p : w->wrappers)
        if (p.get() == pWnd) bWrapper = TRUE;
    if (pWnd) pWnd->m_hWnd = nullptr;
    w->pWnd = nullptr;
    if (w->hParent) {
        if (UiWindow* parent = Find(w->hParent))
            parent->children.erase(std::remove(parent->children.begin(), parent->children.end(), hWnd), parent->children.end());
    }
    Unregister(hWnd);
    if (pWnd && !bWrapper) UiPostNcDestroy(pWnd);
}

BOOL Destroy(HWND hWnd) {
    UiWindow* w = Find(hWnd);
    if (!w) return FALSE;
    if (w->bDestroying) return TRUE;
    DestroyTree(hWnd, TRUE);
    return TRUE;
}

void SetFocusHandle(HWND hNew) {
    Table& t = T();
    if (hNew && !Find(hNew)) return;
    HWND hOld = t.hFocus;
    if (hOld == hNew) return;
    if (hOld && Find(hOld)) Send(hOld, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hNew), 0);
    t.hFocus = hNew;
    if (hNew && Find(hNew)) Send(hNew, WM_SETFOCUS, reinterpret_cast<WPARAM>(hOld), 0);
}

HWND ActiveHandle() { return T().hActive; }

void SetActiveHandle(HWND hNew) {
    Table& t = T();
    if (hNew && !Find(hNew)) return;
    HWND hOld = t.hActive;
    if (hOld == hNew) return;
    t.hActive = hNew;
    if (hOld && Find(hOld)) Send(hOld, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hNew));
    if (hNew && Find(hNew)) Send(hNew, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(hOld));
}

HWND CaptureHandle() { return T().hCapture; }

HWND SetCaptureHandle(HWND hNew) {
    Table& t = T();
    HWND hOld = t.hCapture;
    if (hNew && !Find(hNew)) return hOld;
    t.hCapture = hNew;
    if (hOld && hOld != hNew && Find(hOld)) Send(hOld, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hNew));
    return hOld;
}

// ---- Queue ----

BOOL Post(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hWnd && !Find(hWnd)) return FALSE;
    MSG m{};
    m.hwnd = hWnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(CUiDriver::Get().Now());
    T().posted.push_back(m);
    return TRUE;
}

size_t PostedCount() { return T().posted.size(); }

BOOL Peek(MSG* pMsg, HWND hFilter, UINT lo, UINT hi, UINT flags) {
    Table& t = T();
    for (auto it = t.posted.begin(); it != t.posted.end(); ++it) {
        if (!InRange(it->message, lo, hi) || !MatchesWindow(hFilter, it->hwnd)) continue;
        if (pMsg) *pMsg = *it;
        if (flags & PM_REMOVE) t.posted.erase(it);
        return TRUE;
    }
    if (InRange(WM_PAINT, lo, hi)) {
        for (HWND h : t.order) {
            UiWindow* w = Find(h);
            if (w && w->bUpdate && IsVisible(*w) && MatchesWindow(hFilter, h)) {
                if (pMsg) {
                    *pMsg = MSG{};
                    pMsg->hwnd = h;
                    pMsg->message = WM_PAINT;
                    pMsg->time = static_cast<DWORD>(CUiDriver::Get().Now());
                }
                return TRUE;
            }
        }
    }
    if (InRange(WM_TIMER, lo, hi)) {
        ULONGLONG now = CUiDriver::Get().Now();
        // Earliest due timer first, so timers fire in the order their times came.
        UiWindow* best = nullptr;
        size_t bestIndex = 0;
        for (HWND h : t.order) {
            UiWindow* w = Find(h);
            if (!w || !MatchesWindow(hFilter, h)) continue;
            for (size_t i = 0; i < w->timers.size(); ++i) {
                if (w->timers[i].due > now) continue;
                if (!best || w->timers[i].due < best->timers[bestIndex].due) {
                    best = w;
                    bestIndex = i;
                }
            }
        }
        if (best) {
            UiTimer& tm = best->timers[bestIndex];
            if (pMsg) {
                *pMsg = MSG{};
                pMsg->hwnd = best->hwnd;
                pMsg->message = WM_TIMER;
                pMsg->wParam = tm.id;
                pMsg->lParam = reinterpret_cast<LPARAM>(tm.pfn);
                pMsg->time = static_cast<DWORD>(now);
            }
            if (flags & PM_REMOVE) tm.due = now + tm.nElapse;
            return TRUE;
        }
    }
    return FALSE;
}

UINT_PTR AddTimer(HWND hWnd, UINT_PTR id, UINT nElapse, TIMERPROC pfn) {
    UiWindow* w = Find(hWnd);
    if (!w) {
        Error("SetTimer: the window %p does not exist; no timer was set.", static_cast<void*>(hWnd));
        return 0;
    }
    if (nElapse < 10) nElapse = 10;
    ULONGLONG due = CUiDriver::Get().Now() + nElapse;
    for (auto& tm : w->timers) {
        if (tm.id == id) {
            tm.nElapse = nElapse;
            tm.due = due;
            tm.pfn = pfn;
            return id ? id : 1;
        }
    }
    w->timers.push_back(UiTimer{id, nElapse, due, pfn});
    return id ? id : 1;
}

void RestartTimers() {
    const ULONGLONG now = CUiDriver::Get().Now();
    for (HWND h : T().order)
        if (UiWindow* w = Find(h))
            for (UiTimer& tm : w->timers) tm.due = now + tm.nElapse;
}

BOOL RemoveTimer(HWND hWnd, UINT_PTR id) {
    UiWindow* w = Find(hWnd);
    if (!w) return FALSE;
    for (auto it = w->timers.begin(); it != w->timers.end(); ++it) {
        if (it->id == id) {
            w->timers.erase(it);
            // A WM_TIMER already posted for it is dropped too.
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace ui

// ---- Platform functions on handles and the queue ----

BOOL IsWindow(HWND hWnd) { return ui::Find(hWnd) != nullptr; }

BOOL IsChild(HWND hWndParent, HWND hWnd) {
    UiWindow* w = ui::Find(hWnd);
    while (w && (w->style & WS_CHILD)) {
        if (w->hParent == hWndParent) return TRUE;
        w = ui::Find(w->hParent);
    }
    return FALSE;
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) { return ui::Send(hWnd, message, wParam, lParam); }
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) { return ui::Post(hWnd, message, wParam, lParam); }
LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) { return ui::DefProc(hWnd, message, wParam, lParam); }
BOOL DestroyWindow(HWND hWnd) { return ui::Destroy(hWnd); }

BOOL PeekMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    return ui::Peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
}

BOOL GetMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    MSG m{};
    if (!ui::Peek(&m, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE)) {
        if (lpMsg) *lpMsg = MSG{};
        return FALSE;
    }
    if (lpMsg) *lpMsg = m;
    return m.message != WM_QUIT;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessage(const MSG* lpMsg) {
    if (!lpMsg || !lpMsg->hwnd) return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
        reinterpret_cast<TIMERPROC>(lpMsg->lParam)(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, lpMsg->time);
        return 0;
    }
    LRESULT r = ui::Send(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
    if (lpMsg->message == WM_PAINT) {
        // A paint handler that did not validate would be asked again forever; the area counts
        // as painted once the handler has run.
        if (UiWindow* w = ui::Find(lpMsg->hwnd)) ui::ClearUpdate(*w);
    }
    return r;
}

void PostQuitMessage(int nExitCode) { ui::Post(nullptr, WM_QUIT, static_cast<WPARAM>(nExitCode), 0); }

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    return ui::AddTimer(hWnd, nIDEvent, uElapse, lpTimerFunc);
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) { return ui::RemoveTimer(hWnd, uIDEvent); }

HWND GetFocus() { return ui::FocusHandle(); }

HWND SetFocus(HWND hWnd) {
    HWND hOld = ui::FocusHandle();
    ui::SetFocusHandle(hWnd);
    return hOld;
}
