// CWnd: creation, destruction, message dispatch through the map, and the window operations.
#include "platform/ui/CWnd.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/gdi/afxgdi.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/UiWindow.h"
#include "platform/ui/uiapi.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

// Pseudo message under which ON_WM_CTLCOLOR rows are kept (the seven WM_CTLCOLOR* map to it).
#define UI_WM_CTLCOLOR 0x0019

namespace {
std::vector<MSG> g_current;   // messages being handled, innermost last

UiWindow* W(HWND h) { return ui::Find(h); }

// Changes the style bits in field (style or extended style); FALSE when the window is gone or
// nothing changed. With nFlags the frame is told through SetWindowPos.
BOOL ChangeStyleBits(CWnd* pWnd, DWORD UiWindow::*field, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    UiWindow* w = W(pWnd->m_hWnd);
    if (!w) return FALSE;
    const DWORD ns = (w->*field & ~dwRemove) | dwAdd;
    if (ns == w->*field) return FALSE;
    w->*field = ns;
    if (nFlags)
        pWnd->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}
}  // namespace

LRESULT UiDispatchToObject(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG m{};
    m.hwnd = hWnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    g_current.push_back(m);
    LRESULT r = pWnd->WindowProc(message, wParam, lParam);
    g_current.pop_back();
    return r;
}

void UiPostNcDestroy(CWnd* pWnd) { pWnd->PostNcDestroy(); }

CWnd::CWnd() : m_hWnd(nullptr) {}

CWnd::~CWnd() {
    if (m_hWnd) {
        UiWindow* w = W(m_hWnd);
        if (w && w->pWnd == this) ui::Destroy(m_hWnd);
        m_hWnd = nullptr;
    }
}

// ---- Handles and objects ----

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    UiWindow* w = W(hWnd);
    return w ? w->pWnd : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    UiWindow* w = W(hWnd);
    if (!w) return nullptr;
    if (w->pWnd) return w->pWnd;
    CWnd* p = (w->pClass && w->pClass->pfnWrapper) ? w->pClass->pfnWrapper() : new CWnd;
    w->wrappers.emplace_back(p);
    p->m_hWnd = hWnd;
    w->pWnd = p;
    return p;
}

BOOL CWnd::Attach(HWND hWndNew) {
    UiWindow* w = W(hWndNew);
    if (!w) {
        ui::Error("Attach: window %p does not exist.", static_cast<void*>(hWndNew));
        return FALSE;
    }
    if (m_hWnd) {
        ui::Error("Attach: this object already owns window %p; detach it first.", static_cast<void*>(m_hWnd));
        return FALSE;
    }
    if (w->pWnd && w->pWnd != this) {
        BOOL bWrapper = FALSE;
        for (auto& p : w->wrappers)
            if (p.get() == w->pWnd) bWrapper = TRUE;
        if (!bWrapper) {
            ui::Error("Attach: window %p (id %u) already belongs to another object.", static_cast<void*>(hWndNew), w->id);
            return FALSE;
        }
        w->pWnd->m_hWnd = nullptr;   // the wrapper stays alive, detached, until the window goes
    }
    w->pWnd = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (UiWindow* w = W(h))
        if (w->pWnd == this) w->pWnd = nullptr;
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    UiWindow* w = W(hWnd);
    if (w && w->pWnd == this) return TRUE;
    return Attach(hWnd);
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (!pParent || !pParent->m_hWnd) {
        ui::Error("SubclassDlgItem(%u): the parent window does not exist.", nID);
        return FALSE;
    }
    HWND h = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    if (!h) {
        ui::Error("SubclassDlgItem: the dialog has no control with id %u.", nID);
        return FALSE;
    }
    return SubclassWindow(h);
}

HWND CWnd::UnsubclassWindow() { return Detach(); }

// ---- Creation ----

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    CREATESTRUCT cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    return CreateInternal(cs, static_cast<UINT>(reinterpret_cast<UINT_PTR>(cs.hMenu)));
}

BOOL CWnd::CreateInternal(CREATESTRUCT& cs, UINT nID) {
    if (m_hWnd) {
        ui::Error("Create: this object already has window %p.", static_cast<void*>(m_hWnd));
        return FALSE;
    }
    const UiWindowClass* cls = ui::FindClass(cs.lpszClass);
    if (!cls) {
        ui::Error("Create: window class \"%s\" is not registered; register it with AfxRegisterWndClass.",
                  cs.lpszClass ? cs.lpszClass : "");
        PostNcDestroy();   // as when the window cannot be made: self-owning objects clean up
        return FALSE;
    }
    DWORD style = static_cast<DWORD>(cs.style);
    UiWindow* parent = W(cs.hwndParent);
    if ((style & WS_CHILD) && !parent) {
        ui::Error("Create: a child window (class \"%s\", id %u) needs an existing parent window.",
                  cs.lpszClass ? cs.lpszClass : "", nID);
        PostNcDestroy();
        return FALSE;
    }
    auto w = std::make_unique<UiWindow>();
    HWND h = ui::NewHandle();
    w->hwnd = h;
    w->pClass = cls;
    w->className = cls->name;
    w->text = cs.lpszName ? cs.lpszName : "";
    w->style = style & ~WS_VISIBLE;
    w->exStyle = cs.dwExStyle;
    int x = cs.x == CW_USEDEFAULT ? 0 : cs.x;
    int y = cs.y == CW_USEDEFAULT ? 0 : cs.y;
    int cx = cs.cx == CW_USEDEFAULT ? 800 : std::max(0, cs.cx);
    int cy = cs.cy == CW_USEDEFAULT ? 600 : std::max(0, cs.cy);
    w->rect.SetRect(x, y, x + cx, y + cy);
    if (style & WS_CHILD) {
        w->hParent = cs.hwndParent;
        w->id = nID;
    } else {
        // The owner of a pop-up is the top-level window of the window given.
        HWND hOwner = cs.hwndParent;
        while (UiWindow* o = W(hOwner)) {
            if (!(o->style & WS_CHILD)) break;
            hOwner = o->hParent;
        }
        w->hOwner = W(hOwner) ? hOwner : nullptr;
        w->hMenu = cs.hMenu;
    }
    UiWindow* raw = w.get();
    ui::Register(std::move(w));
    if (parent) parent->children.push_back(h);
    raw->pWnd = this;
    m_hWnd = h;

    LRESULT r = ui::Send(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
    raw = W(h);
    if (!raw) return FALSE;
    raw->bCreated = TRUE;
    if (r == -1) {
        ui::Destroy(h);
        return FALSE;
    }
    CRect c = ui::ClientRect(*raw);
    ui::Send(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.Width(), c.Height()));
    if (!W(h)) return FALSE;
    CRect in = ui::NonClientInsets(raw->style, raw->exStyle);
    ui::Send(h, WM_MOVE, 0, MAKELPARAM(raw->rect.left + in.left, raw->rect.top + in.top));
    if (!W(h)) return FALSE;
    if (style & WS_CHILD) ui::ParentNotify(h, WM_CREATE, reinterpret_cast<LPARAM>(h));
    if (!W(h)) return FALSE;
    if (style & WS_VISIBLE) ::ShowWindow(h, SW_SHOW);
    return W(h) != nullptr;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    return ui::Destroy(m_hWnd);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }
void CWnd::PostNcDestroy() {}

// ---- Dispatch ----

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT r = 0;
    if (!OnWndMsg(message, wParam, lParam, &r)) r = DefWindowProc(message, wParam, lParam);
    return r;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ui::DefProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    if (g_current.empty()) return 0;
    MSG m = g_current.back();
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

const MSG* CWnd::GetCurrentMessage() { return g_current.empty() ? nullptr : &g_current.back(); }

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        if (nID == 0) return FALSE;
        // A menu or accelerator command whose update handler disables it does nothing.
        CCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (state.m_nEnabled == 0) return TRUE;
        nCode = CN_COMMAND;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    NMHDR* pHdr = reinterpret_cast<NMHDR*>(lParam);
    if (!pHdr) return FALSE;
    AFX_NOTIFY notify{pResult, pHdr};
    int code = static_cast<int>(pHdr->code);
    return OnCmdMsg(static_cast<UINT>(pHdr->idFrom), MAKELONG(code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT r = 0;
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            if (pResult) *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY) {
        if (OnNotify(wParam, lParam, &r)) {
            if (pResult) *pResult = r;
            return TRUE;
        }
        return FALSE;
    }
    UINT lookup = message;
    UINT nCtlColor = 0;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        lookup = UI_WM_CTLCOLOR;
        nCtlColor = message - WM_CTLCOLORMSGBOX;
    }
    const AFX_MSGMAP_ENTRY* e = nullptr;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap && !e;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p && p->nSig != AfxSig_end; ++p) {
            if (p->pnRegisteredMsg) {
                if (*p->pnRegisteredMsg == message) {
                    e = p;
                    break;
                }
                continue;
            }
            if (p->nMessage == lookup && p->nMessage != WM_COMMAND && p->nMessage != WM_NOTIFY && p->nCode == 0 &&
                p->nID == 0) {
                e = p;
                break;
            }
        }
    }
    if (!e) return FALSE;

    typedef CWnd T;   // window-message rows hold CWnd member pointers
    AFX_PMSG pfn = e->pfn;
    switch (e->nSig) {
    case AfxSig_vv:
        (this->*AfxPmfCast<void (T::*)()>(pfn))();
        break;
    case AfxSig_lwl:
        r = (this->*AfxPmfCast<LRESULT (T::*)(WPARAM, LPARAM)>(pfn))(wParam, lParam);
        break;
    case AfxSig_is:
        r = (this->*AfxPmfCast<int (T::*)(LPCREATESTRUCT)>(pfn))(reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case AfxSig_vwii:
        (this->*AfxPmfCast<void (T::*)(UINT, int, int)>(pfn))(static_cast<UINT>(wParam), LOWORD(lParam),
                                                                      HIWORD(lParam));
        break;
    case AfxSig_vwp:
        (this->*AfxPmfCast<void (T::*)(UINT, CPoint)>(pfn))(static_cast<UINT>(wParam),
                                                                    CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        break;
    case AfxSig_vwl:
        (this->*AfxPmfCast<void (T::*)(UINT, LPARAM)>(pfn))(static_cast<UINT>(wParam), lParam);
        break;
    case AfxSig_vtimer:
        (this->*AfxPmfCast<void (T::*)(UINT_PTR)>(pfn))(static_cast<UINT_PTR>(wParam));
        break;
    case AfxSig_bD:
        r = (this->*AfxPmfCast<BOOL (T::*)(CDC*)>(pfn))(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        break;
    case AfxSig_vminmax:
        (this->*AfxPmfCast<void (T::*)(MINMAXINFO*)>(pfn))(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case AfxSig_vwWb:
        (this->*AfxPmfCast<void (T::*)(UINT, CWnd*, BOOL)>(pfn))(
            LOWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam) != 0);
        break;
    case AfxSig_vwwScroll:
        // The control that scrolled travels as a CScrollBar* whatever its class, as it always did.
        (this->*AfxPmfCast<void (T::*)(UINT, UINT, CScrollBar*)>(pfn))(
            LOWORD(wParam), static_cast<UINT>(static_cast<short>(HIWORD(wParam))),
            reinterpret_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))));
        break;
    case AfxSig_vbw:
        (this->*AfxPmfCast<void (T::*)(BOOL, UINT)>(pfn))(wParam != 0, static_cast<UINT>(lParam));
        break;
    case AfxSig_vW: {
        HWND hOther = message == WM_CAPTURECHANGED ? reinterpret_cast<HWND>(lParam) : reinterpret_cast<HWND>(wParam);
        (this->*AfxPmfCast<void (T::*)(CWnd*)>(pfn))(CWnd::FromHandle(hOther));
        break;
    }
    case AfxSig_vwww:
        (this->*AfxPmfCast<void (T::*)(UINT, UINT, UINT)>(pfn))(static_cast<UINT>(wParam), LOWORD(lParam),
                                                                        HIWORD(lParam));
        break;
    case AfxSig_hDWw: {
        HBRUSH hbr = (this->*AfxPmfCast<HBRUSH (T::*)(CDC*, CWnd*, UINT)>(pfn))(
            CDC::FromHandle(reinterpret_cast<HDC>(wParam)), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), nCtlColor);
        r = reinterpret_cast<LRESULT>(hbr);
        break;
    }
    case AfxSig_vWp:
        (this->*AfxPmfCast<void (T::*)(CWnd*, CPoint)>(pfn))(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)),
                                                                     CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        break;
    case AfxSig_vii:
        (this->*AfxPmfCast<void (T::*)(int, int)>(pfn))(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case AfxSig_vwr:
        (this->*AfxPmfCast<void (T::*)(UINT, LPRECT)>(pfn))(static_cast<UINT>(wParam), reinterpret_cast<LPRECT>(lParam));
        r = TRUE;
        break;
    case AfxSig_bwsp:
        r = (this->*AfxPmfCast<BOOL (T::*)(UINT, short, CPoint)>(pfn))(
            LOWORD(wParam), static_cast<short>(HIWORD(wParam)), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        break;
    case AfxSig_vpos:
        (this->*AfxPmfCast<void (T::*)(WINDOWPOS*)>(pfn))(reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case AfxSig_vMwb:
        (this->*AfxPmfCast<void (T::*)(CMenu*, UINT, BOOL)>(pfn))(
            CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam) != 0);
        break;
    case AfxSig_vbWW:
        (this->*AfxPmfCast<void (T::*)(BOOL, CWnd*, CWnd*)>(pfn))(
            reinterpret_cast<HWND>(lParam) == m_hWnd, CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),
            CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
        break;
    default:
        return FALSE;
    }
    if (pResult) *pResult = r;
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ui::Send(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!W(m_hWnd)) {
        ui::Error("PostMessage(0x%04x): the window does not exist; the message was not queued.", message);
        return FALSE;
    }
    return ui::Post(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep) const {
    UiWindow* w = W(m_hWnd);
    if (!w) return;
    std::vector<HWND> kids = w->children;
    for (HWND k : kids) {
        if (!W(k)) continue;
        ui::Send(k, message, wParam, lParam);
        if (bDeep)
            if (CWnd* p = CWnd::FromHandle(k)) p->SendMessageToDescendants(message, wParam, lParam, TRUE);
    }
}

// ---- Data exchange ----

void CWnd::DoDataExchange(CDataExchange*) {}

// ---- Family ----

CWnd* CWnd::GetParent() const { return CWnd::FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::SetParent(CWnd* pWndNewParent) {
    UiWindow* w = W(m_hWnd);
    if (!w) return nullptr;
    HWND hOld = w->hParent;
    HWND hNew = pWndNewParent ? pWndNewParent->m_hWnd : nullptr;
    if (hNew && (hNew == m_hWnd || IsChild(pWndNewParent))) {
        ui::Error("SetParent: a window cannot become a child of itself or of its own descendant.");
        return nullptr;
    }
    if (UiWindow* op = W(hOld)) op->children.erase(std::remove(op->children.begin(), op->children.end(), m_hWnd), op->children.end());
    w->hParent = hNew;
    if (UiWindow* np = W(hNew)) np->children.push_back(m_hWnd);
    return CWnd::FromHandle(hOld);
}

CWnd* CWnd::GetOwner() const {
    UiWindow* w = W(m_hWnd);
    if (!w) return nullptr;
    if (w->hOwner) return CWnd::FromHandle(w->hOwner);
    return GetParent();
}

void CWnd::SetOwner(CWnd* pOwnerWnd) {
    if (UiWindow* w = W(m_hWnd)) w->hOwner = pOwnerWnd ? pOwnerWnd->m_hWnd : nullptr;
}

CWnd* CWnd::GetParentOwner() const {
    UiWindow* w = W(m_hWnd);
    if (!w) return nullptr;
    return CWnd::FromHandle((w->style & WS_CHILD) ? w->hParent : w->hOwner);
}

CFrameWnd* CWnd::GetParentFrame() const {
    UiWindow* w = W(m_hWnd);
    if (!w) return nullptr;
    HWND h = (w->style & WS_CHILD) ? w->hParent : w->hOwner;
    while (UiWindow* p = W(h)) {
        CWnd* pWnd = CWnd::FromHandle(h);
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(pWnd);
        h = (p->style & WS_CHILD) ? p->hParent : p->hOwner;
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
    CFrameWnd* pFrame = IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this)) : GetParentFrame();
    while (pFrame) {
        CFrameWnd* pNext = pFrame->GetParentFrame();
        if (!pNext) break;
        pFrame = pNext;
    }
    return pFrame;
}

CWnd* CWnd::GetTopLevelParent() const {
    HWND h = m_hWnd;
    if (!W(h)) return nullptr;
    for (;;) {
        UiWindow* w = W(h);
        HWND up = (w->style & WS_CHILD) ? w->hParent : w->hOwner;
        if (!W(up)) break;
        h = up;
    }
    return CWnd::FromHandle(h);
}

CWnd* CWnd::GetDlgItem(int nID) const { return CWnd::FromHandle(::GetDlgItem(m_hWnd, nID)); }

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

int CWnd::SetDlgCtrlID(int nID) {
    UiWindow* w = W(m_hWnd);
    if (!w || !(w->style & WS_CHILD)) return 0;
    int old = static_cast<int>(w->id);
    w->id = static_cast<UINT>(nID);
    return old;
}

CWnd* CWnd::GetWindow(UINT nCmd) const {
    UiWindow* w = W(m_hWnd);
    if (!w) return nullptr;
    if (nCmd == GW_CHILD) return w->children.empty() ? nullptr : CWnd::FromHandle(w->children.front());
    if (nCmd == GW_OWNER) return CWnd::FromHandle(w->hOwner);
    UiWindow* p = W(w->hParent);
    if (!p) return nullptr;
    auto& sib = p->children;
    auto it = std::find(sib.begin(), sib.end(), m_hWnd);
    switch (nCmd) {
    case GW_HWNDFIRST:
        return CWnd::FromHandle(sib.front());
    case GW_HWNDLAST:
        return CWnd::FromHandle(sib.back());
    case GW_HWNDNEXT:
        return (it == sib.end() || it + 1 == sib.end()) ? nullptr : CWnd::FromHandle(*(it + 1));
    case GW_HWNDPREV:
        return (it == sib.begin() || it == sib.end()) ? nullptr : CWnd::FromHandle(*(it - 1));
    default:
        return nullptr;
    }
}

CWnd* CWnd::GetNextWindow(UINT nFlag) const { return GetWindow(nFlag); }

BOOL CWnd::IsChild(const CWnd* pWnd) const { return pWnd && ::IsChild(m_hWnd, pWnd->m_hWnd); }

static BOOL Reachable(const UiWindow& w) {
    return (w.style & WS_VISIBLE) && !(w.style & WS_DISABLED);
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const {
    UiWindow* w = W(m_hWnd);
    if (!w || w->children.empty()) return nullptr;
    const auto& kids = w->children;
    int n = static_cast<int>(kids.size());
    int start = -1;
    if (pWndCtl)
        for (int i = 0; i < n; ++i)
            if (kids[i] == pWndCtl->m_hWnd) start = i;
    for (int step = 1; step <= n; ++step) {
        int i = bPrevious ? ((start < 0 ? n : start) - step + 2 * n) % n : (start + step + n) % n;
        UiWindow* c = W(kids[i]);
        if (c && (c->style & WS_TABSTOP) && Reachable(*c)) return CWnd::FromHandle(kids[i]);
    }
    return nullptr;
}

CWnd* CWnd::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const {
    UiWindow* w = W(m_hWnd);
    if (!w || !pWndCtl) return nullptr;
    const auto& kids = w->children;
    int n = static_cast<int>(kids.size());
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (kids[i] == pWndCtl->m_hWnd) at = i;
    if (at < 0) return nullptr;
    int first = at;
    while (first > 0 && !(W(kids[first])->style & WS_GROUP)) --first;
    int last = at;
    while (last + 1 < n && !(W(kids[last + 1])->style & WS_GROUP)) ++last;
    int size = last - first + 1;
    for (int step = 1; step <= size; ++step) {
        int off = ((at - first) + (bPrevious ? -step : step) + 2 * size) % size;
        UiWindow* c = W(kids[first + off]);
        if (c && Reachable(*c)) return CWnd::FromHandle(kids[first + off]);
    }
    return pWndCtl;
}

// ---- Geometry ----

void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    SetWindowPos(nullptr, x, y, nWidth, nHeight, SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    if (lpRect) MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    HWND h = m_hWnd;
    UiWindow* w = W(h);
    if (!w) return FALSE;
    CRect old = w->rect;
    WINDOWPOS pos{};
    pos.hwnd = h;
    pos.hwndInsertAfter = pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr;
    pos.x = (nFlags & SWP_NOMOVE) ? old.left : x;
    pos.y = (nFlags & SWP_NOMOVE) ? old.top : y;
    pos.cx = (nFlags & SWP_NOSIZE) ? old.Width() : std::max(0, cx);
    pos.cy = (nFlags & SWP_NOSIZE) ? old.Height() : std::max(0, cy);
    pos.flags = nFlags;
    if (!(nFlags & SWP_NOSENDCHANGING)) {
        ui::Send(h, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        w = W(h);
        if (!w) return FALSE;
    }
    CRect nr(pos.x, pos.y, pos.x + std::max(0, pos.cx), pos.y + std::max(0, pos.cy));
    BOOL bSized = nr.Width() != old.Width() || nr.Height() != old.Height();
    BOOL bMoved = nr.left != old.left || nr.top != old.top;
    w->rect = nr;
    if (!(nFlags & SWP_NOZORDER)) {
        if (UiWindow* p = W(w->hParent)) {
            auto& sib = p->children;
            sib.erase(std::remove(sib.begin(), sib.end(), h), sib.end());
            HWND after = pos.hwndInsertAfter;
            if (after == HWND_BOTTOM) {
                sib.push_back(h);
            } else {
                auto it = std::find(sib.begin(), sib.end(), after);
                if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST || it == sib.end())
                    sib.insert(sib.begin(), h);
                else
                    sib.insert(it + 1, h);
            }
        }
    }
    if (bSized) ui::ReleaseSurface(*w);
    if (nFlags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (nFlags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    if (!(nFlags & SWP_NOREDRAW) && (bSized || bMoved || (nFlags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED)))) {
        ui::AddUpdate(*w, nullptr, TRUE);
        if (UiWindow* p = W(w->hParent)) {
            if (w->style & WS_CHILD) ui::AddUpdate(*p, &old, TRUE);
        }
    }
    pos.x = nr.left;
    pos.y = nr.top;
    pos.cx = nr.Width();
    pos.cy = nr.Height();
    pos.flags = nFlags | (bSized ? 0 : UI_SWP_NOCLIENTSIZE) | (bMoved ? 0 : UI_SWP_NOCLIENTMOVE);
    ui::Send(h, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }

void CWnd::ClientToScreen(LPRECT lpRect) const {
    if (!lpRect) return;
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }

void CWnd::ScreenToClient(LPRECT lpRect) const {
    if (!lpRect) return;
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
    for (UINT i = 0; lpPoint && i < nCount; ++i) {
        ClientToScreen(&lpPoint[i]);
        if (pwndTo) pwndTo->ScreenToClient(&lpPoint[i]);
    }
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
    if (lpRect) MapWindowPoints(pwndTo, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT) {
    UiWindow* w = W(m_hWnd);
    if (!w || !lpClientRect) return;
    CRect in = ui::NonClientInsets(w->style, w->exStyle);
    lpClientRect->left -= in.left;
    lpClientRect->top -= in.top;
    lpClientRect->right += in.right;
    lpClientRect->bottom += in.bottom;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    UiWindow* w = W(m_hWnd);
    if (!w) return;
    CRect area(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    CWnd* pCenter = pAlternateOwner ? pAlternateOwner : ((w->style & WS_CHILD) ? GetParent() : GetOwner());
    if (w->style & WS_CHILD) {
        if (CWnd* p = GetParent()) p->GetClientRect(&area);
    } else if (pCenter && pCenter->m_hWnd) {
        pCenter->GetWindowRect(&area);
    }
    int cx = w->rect.Width(), cy = w->rect.Height();
    int x = area.left + (area.Width() - cx) / 2;
    int y = area.top + (area.Height() - cy) / 2;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- State ----

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }

BOOL CWnd::IsIconic() const {
    UiWindow* w = W(m_hWnd);
    return w && (w->style & WS_MINIMIZE);
}

BOOL CWnd::IsZoomed() const {
    UiWindow* w = W(m_hWnd);
    return w && (w->style & WS_MAXIMIZE);
}

DWORD CWnd::GetStyle() const {
    UiWindow* w = W(m_hWnd);
    return w ? w->style : 0;
}

DWORD CWnd::GetExStyle() const {
    UiWindow* w = W(m_hWnd);
    return w ? w->exStyle : 0;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ChangeStyleBits(this, &UiWindow::style, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ChangeStyleBits(this, &UiWindow::exStyle, dwRemove, dwAdd, nFlags);
}

// ---- Text and font ----

void CWnd::SetWindowText(LPCTSTR lpszString) { ui::Send(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString ? lpszString : "")); }

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
    if (!lpszStringBuf || nMaxCount <= 0) return 0;
    lpszStringBuf[0] = '\0';
    return static_cast<int>(ui::Send(m_hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpszStringBuf)));
}

void CWnd::GetWindowText(CString& rString) const {
    int n = GetWindowTextLength();
    std::vector<char> buf(static_cast<size_t>(n) + 1, '\0');
    GetWindowText(buf.data(), n + 1);
    rString = buf.data();
}

int CWnd::GetWindowTextLength() const { return static_cast<int>(ui::Send(m_hWnd, WM_GETTEXTLENGTH, 0, 0)); }

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    ui::Send(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->GetSafeHandle() : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const {
    HFONT h = reinterpret_cast<HFONT>(ui::Send(m_hWnd, WM_GETFONT, 0, 0));
    return h ? CFont::FromHandle(h) : nullptr;
}

// ---- Painting ----

void CWnd::Invalidate(BOOL bErase) {
    if (UiWindow* w = W(m_hWnd)) ui::AddUpdate(*w, nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }

void CWnd::ValidateRect(LPCRECT lpRect) {
    UiWindow* w = W(m_hWnd);
    if (!w || !w->bUpdate) return;
    if (!lpRect) {
        ui::ClearUpdate(*w);
        return;
    }
    CRect v(lpRect);
    CRect& u = w->rcUpdate;
    if (v.left <= u.left && v.top <= u.top && v.right >= u.right && v.bottom >= u.bottom) {
        ui::ClearUpdate(*w);
        return;
    }
    // The update area is kept as one rectangle: cut off a band the validated rectangle spans.
    if (v.left <= u.left && v.right >= u.right) {
        if (v.top <= u.top && v.bottom > u.top) u.top = v.bottom;
        else if (v.bottom >= u.bottom && v.top < u.bottom) u.bottom = v.top;
    } else if (v.top <= u.top && v.bottom >= u.bottom) {
        if (v.left <= u.left && v.right > u.left) u.left = v.right;
        else if (v.right >= u.right && v.left < u.right) u.right = v.left;
    }
    if (u.IsRectEmpty()) ui::ClearUpdate(*w);
}

void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags) {
    UiWindow* w = W(m_hWnd);
    if (!w) return FALSE;
    CRect box;
    LPCRECT pArea = lpRectUpdate;
    if (!pArea && prgnUpdate && prgnUpdate->GetSafeHandle()) {
        prgnUpdate->GetRgnBox(&box);
        pArea = &box;
    }
    if (flags & RDW_INVALIDATE) ui::AddUpdate(*w, pArea, (flags & RDW_ERASE) != 0);
    if (flags & RDW_VALIDATE) ValidateRect(pArea);
    if (flags & RDW_ALLCHILDREN) {
        std::vector<HWND> kids = w->children;
        for (HWND k : kids)
            if (CWnd* p = CWnd::FromHandle(k)) p->RedrawWindow(nullptr, nullptr, flags & ~RDW_UPDATENOW);
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        UpdateWindow();
        if (flags & RDW_ALLCHILDREN) {
            if (UiWindow* again = W(m_hWnd)) {
                std::vector<HWND> kids = again->children;
                for (HWND k : kids) ::UpdateWindow(k);
            }
        }
    }
    return TRUE;
}

BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL) {
    UiWindow* w = W(m_hWnd);
    if (!w) return FALSE;
    if (lpRect) *lpRect = w->bUpdate ? static_cast<RECT>(w->rcUpdate) : RECT{0, 0, 0, 0};
    return w->bUpdate;
}

void CWnd::SetRedraw(BOOL bRedraw) { ui::Send(m_hWnd, WM_SETREDRAW, bRedraw, 0); }

// ---- Focus, activation, capture ----

CWnd* CWnd::SetFocus() { return CWnd::FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return CWnd::FromHandle(::GetFocus()); }

CWnd* CWnd::SetActiveWindow() {
    HWND hOld = ui::ActiveHandle();
    // A pop-up is a top-level window itself and becomes the active one; a child activates the
    // top-level window it sits in (its owner chain is not followed).
    HWND h = m_hWnd;
    while (UiWindow* w = W(h)) {
        if (!(w->style & WS_CHILD) || !W(w->hParent)) break;
        h = w->hParent;
    }
    ui::SetActiveHandle(W(h) ? h : m_hWnd);
    return CWnd::FromHandle(hOld);
}

CWnd* CWnd::GetActiveWindow() { return CWnd::FromHandle(ui::ActiveHandle()); }
BOOL CWnd::SetForegroundWindow() {
    SetActiveWindow();
    return TRUE;
}
CWnd* CWnd::GetForegroundWindow() { return GetActiveWindow(); }

void CWnd::BringWindowToTop() { SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

CWnd* CWnd::SetCapture() { return CWnd::FromHandle(ui::SetCaptureHandle(m_hWnd)); }
CWnd* CWnd::GetCapture() { return CWnd::FromHandle(ui::CaptureHandle()); }

// ---- Timers ----

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return ui::AddTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return ui::RemoveTimer(m_hWnd, nIDEvent); }

// ---- Dialog items ----

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) {
    HWND h = ::GetDlgItem(m_hWnd, nID);
    if (!h) {
        ui::Error("SetDlgItemText: there is no control with id %d.", nID);
        return;
    }
    ::SetWindowText(h, lpszString);
}

int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const {
    HWND h = ::GetDlgItem(m_hWnd, nID);
    if (!h) {
        if (lpStr && nMaxCount > 0) lpStr[0] = '\0';
        return 0;
    }
    return ::GetWindowText(h, lpStr, nMaxCount);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
    rString.Empty();
    CWnd* p = GetDlgItem(nID);
    if (!p) return 0;
    p->GetWindowText(rString);
    return rString.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) {
    CString s;
    if (bSigned)
        s.Format("%d", static_cast<int>(nValue));
    else
        s.Format("%u", nValue);
    SetDlgItemText(nID, s);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
    if (lpTrans) *lpTrans = FALSE;
    CString s;
    if (!GetDlgItem(nID)) return 0;
    GetDlgItemText(nID, s);
    const char* p = s;
    while (*p == ' ' || *p == '\t') ++p;
    BOOL neg = FALSE;
    if (bSigned && (*p == '-' || *p == '+')) {
        neg = *p == '-';
        ++p;
    }
    if (*p < '0' || *p > '9') return 0;
    long long v = 0;
    while (*p >= '0' && *p <= '9') {
        v = v * 10 + (*p - '0');
        if (v > 0xFFFFFFFFLL) return 0;
        ++p;
    }
    if (neg) v = -v;
    if (bSigned && (v > 0x7FFFFFFFLL || v < -0x80000000LL)) return 0;
    if (lpTrans) *lpTrans = TRUE;
    return static_cast<UINT>(static_cast<long long>(v));
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) {
    HWND h = ::GetDlgItem(m_hWnd, nIDButton);
    if (h) ui::Send(h, BM_SETCHECK, nCheck, 0);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const {
    HWND h = ::GetDlgItem(m_hWnd, nIDButton);
    return h ? static_cast<UINT>(ui::Send(h, BM_GETCHECK, 0, 0)) : 0;
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        HWND h = ::GetDlgItem(m_hWnd, id);
        if (h) ui::Send(h, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) {
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        if (IsDlgButtonChecked(id)) return id;
    return 0;
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND h = ::GetDlgItem(m_hWnd, nID);
    return h ? ui::Send(h, message, wParam, lParam) : 0;
}

void CWnd::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

// ---- Menus, message boxes, scroll bars ----

CMenu* CWnd::GetMenu() const {
    UiWindow* w = W(m_hWnd);
    return (w && w->hMenu && !(w->style & WS_CHILD)) ? CMenu::FromHandle(w->hMenu) : nullptr;
}

BOOL CWnd::SetMenu(CMenu* pMenu) {
    UiWindow* w = W(m_hWnd);
    if (!w || (w->style & WS_CHILD)) return FALSE;
    w->hMenu = pMenu ? pMenu->m_hMenu : nullptr;
    return TRUE;
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
    return CUiDriver::Get().AnswerMessageBox(m_hWnd, lpszText, lpszCaption ? lpszCaption : "Error", nType);
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL) {
    UiWindow* w = W(m_hWnd);
    if (!w) return 0;
    if (nBar == SB_CTL) {
        int old = w->nPos;
        w->nPos = std::clamp(nPos, std::min(w->nMin, w->nMax), std::max(w->nMin, w->nMax));
        return old;
    }
    if (nBar != SB_HORZ && nBar != SB_VERT) return 0;
    int old = w->scrollPos[nBar];
    w->scrollPos[nBar] = std::clamp(nPos, std::min(w->scrollMin[nBar], w->scrollMax[nBar]),
                                    std::max(w->scrollMin[nBar], w->scrollMax[nBar]));
    return old;
}

int CWnd::GetScrollPos(int nBar) const {
    UiWindow* w = W(m_hWnd);
    if (!w) return 0;
    if (nBar == SB_CTL) return w->nPos;
    return (nBar == SB_HORZ || nBar == SB_VERT) ? w->scrollPos[nBar] : 0;
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL) {
    UiWindow* w = W(m_hWnd);
    if (!w) return;
    if (nBar == SB_CTL) {
        w->nMin = nMinPos;
        w->nMax = nMaxPos;
        w->nPos = std::clamp(w->nPos, std::min(nMinPos, nMaxPos), std::max(nMinPos, nMaxPos));
        return;
    }
    if (nBar != SB_HORZ && nBar != SB_VERT) return;
    w->scrollMin[nBar] = nMinPos;
    w->scrollMax[nBar] = nMaxPos;
    w->scrollPos[nBar] = std::clamp(w->scrollPos[nBar], std::min(nMinPos, nMaxPos), std::max(nMinPos, nMaxPos));
}

void CWnd::GetScrollRange(int nBar, int* lpMinPos, int* lpMaxPos) const {
    UiWindow* w = W(m_hWnd);
    int lo = 0, hi = 0;
    if (w && nBar == SB_CTL) {
        lo = w->nMin;
        hi = w->nMax;
    } else if (w && (nBar == SB_HORZ || nBar == SB_VERT)) {
        lo = w->scrollMin[nBar];
        hi = w->scrollMax[nBar];
    }
    if (lpMinPos) *lpMinPos = lo;
    if (lpMaxPos) *lpMaxPos = hi;
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) {
    UiWindow* w = W(m_hWnd);
    if (!w) return;
    DWORD bits = nBar == SB_HORZ ? WS_HSCROLL : nBar == SB_VERT ? WS_VSCROLL : nBar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : 0;
    if (!bits) return;
    DWORD ns = bShow ? (w->style | bits) : (w->style & ~bits);
    if (ns == w->style) return;
    // The client area changes size, as it does when a real scroll bar appears.
    CRect before = ui::ClientRect(*w);
    w->style = ns;
    CRect after = ui::ClientRect(*w);
    if (before.Size() != after.Size()) {
        ui::ReleaseSurface(*w);
        ui::Send(m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(after.Width(), after.Height()));
    }
}

int CScrollBar::GetScrollPos() const { return CWnd::GetScrollPos(SB_CTL); }
int CScrollBar::SetScrollPos(int nPos, BOOL bRedraw) { return CWnd::SetScrollPos(SB_CTL, nPos, bRedraw); }

// ---- Default handlers ----

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnSizing(UINT, LPRECT) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnClose() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnParentNotify(UINT, LPARAM) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }

// ---- Handle functions ----

BOOL IsWindowVisible(HWND hWnd) {
    UiWindow* w = ui::Find(hWnd);
    return w && ui::IsVisible(*w);
}

BOOL IsWindowEnabled(HWND hWnd) {
    UiWindow* w = ui::Find(hWnd);
    return w && !(w->style & WS_DISABLED);
}

HWND GetParent(HWND hWnd) {
    UiWindow* w = ui::Find(hWnd);
    if (!w) return nullptr;
    if (w->style & WS_CHILD) return w->hParent;
    if (w->style & WS_POPUP) return w->hOwner;
    return nullptr;
}

HWND GetDlgItem(HWND hDlg, int nID) {
    UiWindow* w = ui::Find(hDlg);
    if (!w) return nullptr;
    for (HWND k : w->children) {
        UiWindow* c = ui::Find(k);
        if (c && static_cast<int>(c->id) == nID) return k;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
    UiWindow* w = ui::Find(hWnd);
    return (w && (w->style & WS_CHILD)) ? static_cast<int>(w->id) : 0;
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    UiWindow* w = ui::Find(hWnd);
    if (!w) return FALSE;
    ui::AddUpdate(*w, lpRect, bErase);
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd) {
    UiWindow* w = ui::Find(hWnd);
    if (!w) return FALSE;
    if (w->bUpdate && ui::IsVisible(*w)) {
        ui::Send(hWnd, WM_PAINT, 0, 0);
        if (UiWindow* again = ui::Find(hWnd)) ui::ClearUpdate(*again);
    }
    return TRUE;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    UiWindow* w = ui::Find(hWnd);
    if (!w) return FALSE;
    BOOL wasVisible = (w->style & WS_VISIBLE) != 0;
    if (nCmdShow == SW_HIDE) {
        if (!wasVisible) return FALSE;
        ui::Send(hWnd, WM_SHOWWINDOW, FALSE, 0);
        w = ui::Find(hWnd);
        if (!w) return TRUE;
        w->style &= ~WS_VISIBLE;
        ui::ClearUpdate(*w);
        if (ui::FocusHandle() == hWnd || (ui::FocusHandle() && IsChild(hWnd, ui::FocusHandle()))) ui::SetFocusHandle(nullptr);
        if ((w->style & WS_CHILD))
            if (UiWindow* p = ui::Find(w->hParent)) ui::AddUpdate(*p, &w->rect, TRUE);
        return TRUE;
    }
    if (!wasVisible) {
        ui::Send(hWnd, WM_SHOWWINDOW, TRUE, 0);
        w = ui::Find(hWnd);
        if (!w) return FALSE;
        w->style |= WS_VISIBLE;
        ui::AddUpdate(*w, nullptr, TRUE);
    }
    CRect c;
    switch (nCmdShow) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        if (!(w->style & WS_MINIMIZE)) {
            w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
            ui::Send(hWnd, WM_SIZE, SIZE_MINIMIZED, 0);
        }
        break;
    case SW_SHOWMAXIMIZED: {
        if (w->style & WS_MAXIMIZE) break;
        CRect area(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        if ((w->style & WS_CHILD))
            if (UiWindow* p = ui::Find(w->hParent)) area = ui::ClientRect(*p);
        if (!(w->style & WS_MINIMIZE)) {
            w->rcRestore = w->rect;
            w->bRestore = TRUE;
        }
        w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        CWnd::FromHandle(hWnd)->SetWindowPos(nullptr, area.left, area.top, area.Width(), area.Height(),
                                             SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
            BOOL wasMin = (w->style & WS_MINIMIZE) != 0;
            w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
            CRect r = w->rcRestore;
            BOOL bHad = w->bRestore;
            w->bRestore = FALSE;
            if (bHad && !wasMin) {
                CWnd::FromHandle(hWnd)->SetWindowPos(nullptr, r.left, r.top, r.Width(), r.Height(),
                                                     SWP_NOZORDER | SWP_NOACTIVATE);
            } else if (UiWindow* again = ui::Find(hWnd)) {
                c = ui::ClientRect(*again);
                ui::Send(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.Width(), c.Height()));
            }
        }
        break;
    default:
        break;
    }
    return wasVisible;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
    UiWindow* w = ui::Find(hWnd);
    if (!w) return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    if (bEnable == !wasDisabled) return wasDisabled;
    if (bEnable)
        w->style &= ~WS_DISABLED;
    else
        w->style |= WS_DISABLED;
    if (!bEnable && ui::FocusHandle() == hWnd) ui::SetFocusHandle(nullptr);
    ui::Send(hWnd, WM_ENABLE, bEnable, 0);
    if (UiWindow* again = ui::Find(hWnd)) ui::AddUpdate(*again, nullptr, TRUE);
    return wasDisabled;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    UiWindow* w = ui::Find(hWnd);
    if (!lpRect) return FALSE;
    *lpRect = w ? static_cast<RECT>(ui::ClientRect(*w)) : RECT{0, 0, 0, 0};
    return w != nullptr;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    UiWindow* w = ui::Find(hWnd);
    if (!lpRect) return FALSE;
    if (!w) {
        *lpRect = RECT{0, 0, 0, 0};
        return FALSE;
    }
    CRect r = w->rect;
    if ((w->style & WS_CHILD))
        if (UiWindow* p = ui::Find(w->hParent)) r.OffsetRect(ui::ClientOriginOnScreen(*p));
    *lpRect = r;
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    CWnd* p = CWnd::FromHandle(hWnd);
    if (!p) return FALSE;
    p->MoveWindow(x, y, nWidth, nHeight, bRepaint);
    return TRUE;
}

BOOL SetWindowText(HWND hWnd, LPCTSTR lpString) {
    if (!ui::Find(hWnd)) return FALSE;
    return ui::Send(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString ? lpString : "")) != 0;
}

int GetWindowText(HWND hWnd, LPTSTR lpString, int nMaxCount) {
    if (!lpString || nMaxCount <= 0) return 0;
    lpString[0] = '\0';
    return static_cast<int>(ui::Send(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

LONG GetWindowLong(HWND hWnd, int nIndex) {
    UiWindow* w = ui::Find(hWnd);
    if (!w) return 0;
    switch (nIndex) {
    case GWL_STYLE:
        return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
        return static_cast<LONG>(w->exStyle);
    case GWL_ID:
        return static_cast<LONG>(w->id);
    default:
        return 0;
    }
}

LONG SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong) {
    UiWindow* w = ui::Find(hWnd);
    if (!w) return 0;
    LONG old = GetWindowLong(hWnd, nIndex);
    switch (nIndex) {
    case GWL_STYLE:
        w->style = static_cast<DWORD>(dwNewLong);
        break;
    case GWL_EXSTYLE:
        w->exStyle = static_cast<DWORD>(dwNewLong);
        break;
    case GWL_ID:
        w->id = static_cast<UINT>(dwNewLong);
        break;
    default:
        return 0;
    }
    return old;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    UiWindow* w = ui::Find(hWnd);
    if (!w || !lpPoint) return FALSE;
    CPoint o = ui::ClientOriginOnScreen(*w);
    lpPoint->x += o.x;
    lpPoint->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    UiWindow* w = ui::Find(hWnd);
    if (!w || !lpPoint) return FALSE;
    CPoint o = ui::ClientOriginOnScreen(*w);
    lpPoint->x -= o.x;
    lpPoint->y -= o.y;
    return TRUE;
}

HWND GetCapture() { return ui::CaptureHandle(); }

BOOL ReleaseCapture() {
    ui::SetCaptureHandle(nullptr);
    return TRUE;
}

#undef UI_WM_CTLCOLOR
