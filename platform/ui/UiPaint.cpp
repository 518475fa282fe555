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

// A new DC on the window's surface, kept among the outstanding ones; nullptr when none can be made.
CDC* HandOut(HWND hWnd, BOOL bWindowCoords) {
    CDC* pDC = new CDC;
    if (!OpenOnSurface(*pDC, hWnd, bWindowCoords)) {
        delete pDC;
        return nullptr;
    }
    Outstanding().emplace(hWnd, pDC);
    return pDC;
}

// Frees the outstanding DC that is pDC, or else the one whose handle is hdc; FALSE when none is.
BOOL TakeBack(const CDC* pDC, HDC hdc) {
    auto& out = Outstanding();
    for (auto it = out.begin(); it != out.end(); ++it) {
        if ((pDC && it->second == pDC) || (!pDC && hdc && it->second->m_hDC == hdc)) {
            delete it->second;
            out.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

// Painting takes the update area (and whether it wants erasing) and validates the window.
void TakeUpdate(UiWindow& w, PAINTSTRUCT& ps) {
    ps.rcPaint = w.bUpdate ? static_cast<RECT>(w.rcUpdate) : RECT{0, 0, 0, 0};
    ps.fErase = w.bErase;
    ui::ClearUpdate(w);
}

// Limits the paint DC to the update area and lets the window erase its background.
void PreparePaintDC(CDC& dc, HWND hWnd, PAINTSTRUCT& ps) {
    dc.IntersectClipRect(&ps.rcPaint);
    ps.hdc = dc.m_hDC;
    if (ps.fErase && ui::Send(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps.hdc), 0)) ps.fErase = FALSE;
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
    const HWND h = w.hwnd;
    TakeUpdate(w, ps);
    CDC* pDC = HandOut(h, FALSE);
    if (!pDC) return nullptr;
    PreparePaintDC(*pDC, h, ps);
    return ps.hdc;
}

void EndPaintDC(PAINTSTRUCT& ps) { TakeBack(nullptr, ps.hdc); }

}  // namespace ui

// ---- CWnd DC members ----

CDC* CWnd::GetDC() { return HandOut(m_hWnd, FALSE); }

CDC* CWnd::GetWindowDC() { return HandOut(m_hWnd, TRUE); }

int CWnd::ReleaseDC(CDC* pDC) { return pDC && TakeBack(pDC, nullptr) ? 1 : 0; }

CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) {
    UiWindow* w = ui::Find(m_hWnd);
    if (!w || !lpPaint) return nullptr;
    HDC h = ui::BeginPaintDC(*w, *lpPaint);
    return h ? CDC::FromHandle(h) : nullptr;
}

void CWnd::EndPaint(LPPAINTSTRUCT lpPaint) {
    if (lpPaint) ui::EndPaintDC(*lpPaint);
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
    TakeUpdate(*w, m_ps);
    if (OpenOnSurface(*this, m_hWnd, FALSE)) PreparePaintDC(*this, m_hWnd, m_ps);
}
CPaintDC::~CPaintDC() = default;
