// Window surfaces, the window DCs, painting and background erasing.
#include <map>

#include "platform/ui/CClientDC.h"
#include "platform/ui/UiWindow.h"
#include "platform/ui/uiapi.h"

namespace {

// DCs handed out by GetDC/GetWindowDC/BeginPaint until ReleaseDC/EndPaint, by window.
std::multimap<HWND, CDC*>& Outstanding() {
    static auto* m = new std::multimap<HWND, CDC*>;
    return *m;
}

BOOL OpenOnSurface(CDC& dc, HWND hWnd, BOOL bWindowCoords) {
    UiWindow* w = ui::Find(hWnd);
    HBITMAP h = w ? UiGetWindowSurface(hWnd) : nullptr;
    if (!h) {
        // No window: a screen-sized stand-in so measuring and device caps still work.
        if (!dc.CreateDisplayDC(1, 1)) return FALSE;
        dc.SetDeviceCaps(HORZRES, GetSystemMetrics(SM_CXSCREEN));
        dc.SetDeviceCaps(VERTRES, GetSystemMetrics(SM_CYSCREEN));
        return TRUE;
    }
    if (!dc.CreateDisplayDC(h)) return FALSE;
    if (bWindowCoords) {
        CRect in = ui::NonClientInsets(w->style, w->exStyle);
        dc.SetViewportOrg(-in.left, -in.top);
    }
    return TRUE;
}

}  // namespace

HBITMAP UiGetWindowSurface(HWND hWnd) {
    UiWindow* w = ui::Find(hWnd);
    if (!w) return nullptr;
    CRect c = ui::ClientRect(*w);
    int cx = std::max(1, c.Width()), cy = std::max(1, c.Height());
    if (w->hSurface) {
        BITMAP bm{};
        if (GetObject(w->hSurface, sizeof bm, &bm) && bm.bmWidth == cx && bm.bmHeight == cy) return w->hSurface;
        ui::ReleaseSurface(*w);
    }
    w->hSurface = CreateBitmap(cx, cy, 1, 32, nullptr);
    if (!w->hSurface) {
        ui::Error("The drawing surface of a window (%d x %d pixels) could not be made.", cx, cy);
        return nullptr;
    }
    CDC dc;
    if (dc.CreateDisplayDC(w->hSurface)) dc.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
    return w->hSurface;
}

namespace ui {

void ReleaseSurface(UiWindow& w) {
    // A DC still out holds its own reference to the old bitmap until it is released.
    if (w.hSurface) {
        DeleteObject(w.hSurface);
        w.hSurface = nullptr;
    }
}

void EraseBackground(UiWindow& w, HDC hdc) {
    if (!w.pClass || w.pClass->nBackground < 0) return;
    CDC* pDC = CDC::FromHandle(hdc);
    if (!pDC) return;
    CRect c = ClientRect(w);
    pDC->FillSolidRect(&c, static_cast<COLORREF>(w.pClass->nBackground));
}

HDC BeginPaintDC(UiWindow& w, PAINTSTRUCT& ps) {
    ps = PAINTSTRUCT{};
    HWND h = w.hwnd;
    ps.rcPaint = w.bUpdate ? static_cast<RECT>(w.rcUpdate) : RECT{0, 0, 0, 0};
    ps.fErase = w.bErase;
    ClearUpdate(w);
    CDC* pDC = new CDC;
    if (!OpenOnSurface(*pDC, h, FALSE)) {
        delete pDC;
        return nullptr;
    }
    pDC->IntersectClipRect(&ps.rcPaint);
    ps.hdc = pDC->m_hDC;
    Outstanding().emplace(h, pDC);
    if (ps.fErase) {
        if (Send(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps.hdc), 0)) ps.fErase = FALSE;
    }
    return ps.hdc;
}

void EndPaintDC(UiWindow& w, PAINTSTRUCT& ps) {
    auto& out = Outstanding();
    for (auto it = out.begin(); it != out.end(); ++it) {
        if (it->second->m_hDC == ps.hdc && ps.hdc) {
            delete it->second;
            out.erase(it);
            break;
        }
    }
    (void)w;
}

}  // namespace ui

// ---- CWnd DC members ----

CDC* CWnd::GetDC() {
    CDC* pDC = new CDC;
    if (!OpenOnSurface(*pDC, m_hWnd, FALSE)) {
        delete pDC;
        return nullptr;
    }
    Outstanding().emplace(m_hWnd, pDC);
    return pDC;
}

CDC* CWnd::GetWindowDC() {
    CDC* pDC = new CDC;
    if (!OpenOnSurface(*pDC, m_hWnd, TRUE)) {
        delete pDC;
        return nullptr;
    }
    Outstanding().emplace(m_hWnd, pDC);
    return pDC;
}

int CWnd::ReleaseDC(CDC* pDC) {
    auto& out = Outstanding();
    for (auto it = out.begin(); it != out.end(); ++it) {
        if (it->second == pDC) {
            delete pDC;
            out.erase(it);
            return 1;
        }
    }
    return 0;
}

CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) {
    UiWindow* w = ui::Find(m_hWnd);
    if (!w || !lpPaint) return nullptr;
    HDC h = ui::BeginPaintDC(*w, *lpPaint);
    return h ? CDC::FromHandle(h) : nullptr;
}

void CWnd::EndPaint(LPPAINTSTRUCT lpPaint) {
    UiWindow* w = ui::Find(m_hWnd);
    if (!lpPaint) return;
    if (w) {
        ui::EndPaintDC(*w, *lpPaint);
    } else {
        auto& out = Outstanding();
        for (auto it = out.begin(); it != out.end(); ++it) {
            if (it->second->m_hDC == lpPaint->hdc) {
                delete it->second;
                out.erase(it);
                break;
            }
        }
    }
}

// ---- The DC classes ----

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    if (!OpenOnSurface(*this, m_hWnd, FALSE)) ui::Error("CClientDC: no device context could be made for the window.");
}
CClientDC::~CClientDC() = default;

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    if (!OpenOnSurface(*this, m_hWnd, TRUE)) ui::Error("CWindowDC: no device context could be made for the window.");
}
CWindowDC::~CWindowDC() = default;

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps(), m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    UiWindow* w = ui::Find(m_hWnd);
    if (!w) {
        ui::Error("CPaintDC: the window does not exist.");
        return;
    }
    m_ps.rcPaint = w->bUpdate ? static_cast<RECT>(w->rcUpdate) : RECT{0, 0, 0, 0};
    m_ps.fErase = w->bErase;
    ui::ClearUpdate(*w);
    if (!OpenOnSurface(*this, m_hWnd, FALSE)) return;
    IntersectClipRect(&m_ps.rcPaint);
    m_ps.hdc = m_hDC;
    if (m_ps.fErase && ui::Send(m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(m_hDC), 0)) m_ps.fErase = FALSE;
}
CPaintDC::~CPaintDC() = default;
