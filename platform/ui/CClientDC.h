// Device contexts of a window: CClientDC (draws on the client area at any time), CPaintDC (the
// DC of a WM_PAINT handler: it erases if asked, clips to the update area and validates it) and
// CWindowDC (window coordinates; a headless window has no frame pixels, so only the client part
// of what is drawn is kept).
//
// Each window owns a drawing surface: a 32-bit bitmap of its client size, white when made and
// made again when the client size changes. UiGetWindowSurface gives it to the host program and
// tests so they can save or inspect what a window drew.
#pragma once

#include "platform/gdi/afxgdi.h"
#include "platform/ui/CWnd.h"

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;   // update area being painted

protected:
    HWND m_hWnd;
};

// The window's surface bitmap (made on first use), or NULL for an unknown window.
HBITMAP UiGetWindowSurface(HWND hWnd);
