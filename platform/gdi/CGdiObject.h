// CGdiObject and its kinds (CPen, CBrush, CFont, CBitmap, CRgn): owners of GDI handles.
//
// A wrapper owns the handle it created or attached and deletes it when destroyed; Detach gives
// it up. FromHandle returns the wrapper a handle is attached to, or a wrapper kept with the
// handle's object (valid while the object lives), which is how SelectObject returns the
// previous selection. Create calls fail (return FALSE) on bad arguments or when the wrapper
// already holds a handle.
#pragma once

#include "platform/gdi/gdidefs.h"

class CDC;

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    static CGdiObject* PASCAL FromHandle(HGDIOBJ h);
    BOOL Attach(HGDIOBJ h);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    BOOL CreateStockObject(int index);
    int GetObject(int count, LPVOID buf) const;
    UINT GetObjectType() const;
    BOOL UnrealizeObject() { return m_hObject != nullptr; }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    static CPen* PASCAL FromHandle(HPEN h) { return static_cast<CPen*>(CGdiObject::FromHandle(h)); }
    operator HPEN() const { return m_hObject; }
    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL CreatePenIndirect(const LOGPEN* lp);
    int GetLogPen(LOGPEN* lp) const { return GetObject(sizeof(LOGPEN), lp); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    CBrush(int hatch, COLORREF color) { CreateHatchBrush(hatch, color); }
    static CBrush* PASCAL FromHandle(HBRUSH h) { return static_cast<CBrush*>(CGdiObject::FromHandle(h)); }
    operator HBRUSH() const { return m_hObject; }
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatch, COLORREF color);
    BOOL CreateBrushIndirect(const LOGBRUSH* lb);
    int GetLogBrush(LOGBRUSH* lb) const { return GetObject(sizeof(LOGBRUSH), lb); }
};

class CFont : public CGdiObject {
public:
    static CFont* PASCAL FromHandle(HFONT h) { return static_cast<CFont*>(CGdiObject::FromHandle(h)); }
    operator HFONT() const { return m_hObject; }
    BOOL CreateFontIndirect(const LOGFONT* lf);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName);
    // Height in tenths of a point for the DC's LOGPIXELSY (the screen's 96 when dc is nullptr):
    // lfHeight = -MulDiv(pointSize, LOGPIXELSY, 720).
    BOOL CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONT* lf, CDC* dc = nullptr);
    int GetLogFont(LOGFONT* lf) const { return GetObject(sizeof(LOGFONT), lf); }
};

class CBitmap : public CGdiObject {
public:
    static CBitmap* PASCAL FromHandle(HBITMAP h) { return static_cast<CBitmap*>(CGdiObject::FromHandle(h)); }
    operator HBITMAP() const { return m_hObject; }
    // planes must be 1; bitCount 1 gives a monochrome bitmap, anything else a colour one.
    // bits (rows padded to 16 bits, top-down) may be nullptr; read for 1 and 32 bits per pixel.
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
    BOOL CreateBitmapIndirect(const BITMAP* bm);
    // Same format as the bitmap selected into dc: monochrome for a memory DC that still holds
    // its initial 1x1 bitmap, as on the platform; colour for any other DC or for nullptr.
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bm) const { return GetObject(sizeof(BITMAP), bm); }
    // Pixel words of the bitmap, top-down: 1 bit per pixel rows padded to 16 bits, or 32-bit
    // B, G, R, X pixels. Returns bytes copied.
    DWORD GetBitmapBits(DWORD count, LPVOID bits) const;
    DWORD SetBitmapBits(DWORD count, const void* bits);
    CSize GetBitmapDimension() const;
};

class CRgn : public CGdiObject {
public:
    static CRgn* PASCAL FromHandle(HRGN h) { return static_cast<CRgn*>(CGdiObject::FromHandle(h)); }
    operator HRGN() const { return m_hObject; }
    BOOL CreateRectRgn(int l, int t, int r, int b);
    BOOL CreateRectRgnIndirect(LPCRECT r);
    BOOL CreateEllipticRgn(int l, int t, int r, int b);
    BOOL CreateEllipticRgnIndirect(LPCRECT r);
    BOOL CreatePolygonRgn(const POINT* pts, int count, int fillMode);
    BOOL CreatePolyPolygonRgn(const POINT* pts, const int* counts, int polys, int fillMode);
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* src);
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
    int GetRgnBox(LPRECT r) const;
    int OffsetRgn(int dx, int dy);
    BOOL EqualRgn(const CRgn* other) const;
    void SetRectRgn(int l, int t, int r, int b);
};
