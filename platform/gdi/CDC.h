// CDC: a device context. It keeps the drawing state (selected pen, brush, font and bitmap,
// colours, modes, clip region, current position, origins, saved states) and forwards each
// drawing call with that state to its back end (DCBackend.h).
//
// Kinds of DC:
//   - memory DC (CreateCompatibleDC): draws on the selected bitmap through the raster back end;
//     it starts with a 1x1 monochrome bitmap, as on the platform, and takes the resolution
//     (LOGPIXELSX/Y ...) of the DC it is made compatible with;
//   - display DC (CreateDisplayDC): draws on a given colour bitmap, the picture of a window;
//     the ui layer builds its client and paint DCs on this;
//   - back-end DC (CreateBackendDC): any other back end (metafile, recording).
// Device capabilities default to a 96-dpi display whose size is the bitmap's; SetDeviceCaps
// overrides any index (for printers and high-resolution exports) and SetPrinting marks a
// printer DC. Measuring text uses the shared font engine whatever the back end.
//
// The handle (m_hDC) owns the state; a CDC wraps it. Attach/Detach move a handle between
// wrappers; FromHandle returns the wrapper a handle belongs to. Calls on a CDC without a handle
// fail quietly (FALSE, 0, nullptr or CLR_INVALID), as on the platform.
#pragma once

#include <memory>
#include <string>

#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/SolidFaceRun.h"
#include "platform/gdi/gdidefs.h"

#include "platform/afx/CString.h"

class DCBackend;
struct DCState;

class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;   // same as m_hDC here; metafile DCs may point it at a reference DC
    BOOL m_bPrinting = FALSE;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    static CDC* PASCAL FromHandle(HDC h);
    BOOL Attach(HDC h);
    HDC Detach();
    BOOL DeleteDC();

    // ---- creation
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL CreateDisplayDC(int width, int height);    // owns a new colour bitmap of that size
    BOOL CreateDisplayDC(HBITMAP surface);          // draws on surface (kept alive while used)
    BOOL CreateBackendDC(std::unique_ptr<DCBackend> backend);
    DCBackend* GetBackend() const;
    // The state the next drawing call will use (nullptr without a handle). For back ends and tests.
    const DCState* GetState() const;

    // ---- device capabilities and printing
    int GetDeviceCaps(int index) const;
    void SetDeviceCaps(int index, int value);  // ours: overrides GetDeviceCaps(index)
    BOOL IsPrinting() const { return m_bPrinting; }
    void SetPrinting(BOOL printing) { m_bPrinting = printing; }

    // ---- objects
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* rgn);  // = SelectClipRgn; returns the region kind
    CGdiObject* SelectObject(CGdiObject* obj);
    HGDIOBJ SelectObject(HGDIOBJ h);
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;
    int SaveDC();
    BOOL RestoreDC(int saved);  // a SaveDC number, or -1 for the latest

    // ---- attributes (each setter returns the previous value)
    COLORREF SetBkColor(COLORREF c);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    COLORREF SetTextColor(COLORREF c);
    COLORREF GetTextColor() const;
    UINT SetTextAlign(UINT flags);
    UINT GetTextAlign() const;
    int SetROP2(int rop);
    int GetROP2() const;
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const;
    int SetStretchBltMode(int mode);
    int GetStretchBltMode() const;
    int SetMapMode(int mode);  // only MM_TEXT is drawn; others are kept and reported
    int GetMapMode() const;
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    CPoint GetViewportOrg() const;
    CPoint OffsetViewportOrg(int dx, int dy);
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
    CPoint GetWindowOrg() const;
    CPoint SetBrushOrg(int x, int y);
    void LPtoDP(LPPOINT pts, int count = 1) const;
    void LPtoDP(LPRECT r) const;
    void DPtoLP(LPPOINT pts, int count = 1) const;
    void DPtoLP(LPRECT r) const;

    // ---- clipping (regions are in device coordinates)
    int SelectClipRgn(CRgn* rgn);  // nullptr removes the clip
    int ExtSelectClipRgn(CRgn* rgn, int mode);
    int IntersectClipRect(int l, int t, int r, int b);
    int IntersectClipRect(LPCRECT r) { return IntersectClipRect(r->left, r->top, r->right, r->bottom); }
    int ExcludeClipRect(int l, int t, int r, int b);
    int GetClipBox(LPRECT r) const;  // logical coordinates
    BOOL PtVisible(int x, int y) const;

    // ---- lines and shapes
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    CPoint GetCurrentPosition() const;
    BOOL Polyline(const POINT* pts, int count);
    BOOL PolylineTo(const POINT* pts, int count);
    BOOL Polygon(const POINT* pts, int count);
    BOOL PolyPolygon(const POINT* pts, const int* counts, int polys);
    // Polygon with a solid brush and a solid 1-pixel pen of colour c, the selected objects left
    // as they are. FALSE, nothing drawn, when the DC cannot draw it so (a recording DC, or a
    // polygon its raster cannot serve that way): then select such objects and call Polygon. A
    // run of polygons of many colours costs no selection per polygon this way.
    BOOL SolidPolygon(const POINT* pts, int count, COLORREF c);
    // n separate lines with the selected pen, pts[2i] to pts[2i + 1]: what MoveTo(pts[2i]),
    // LineTo(pts[2i + 1]) for each i draws and leaves (a recording DC gets those very calls), in
    // one call where the back end takes them so.
    BOOL LineSegments(const POINT* pts, int n);
    // The same lines each drawn there and back: MoveTo(pts[2i]), LineTo(pts[2i + 1]),
    // LineTo(pts[2i]) for each i (a recording DC gets those calls). An edge two faces share, one
    // each way, costs one line where the back end takes them so.
    BOOL LineSegmentsBothWays(const POINT* pts, int n);
    // SolidPolygon of polys polygons in a row (counts[k] points each, one after the other in
    // pts, colour colors[k]), stopping at the first it answers FALSE for: how many were drawn.
    // The caller draws that one its own way and goes on from the next.
    int SolidPolygons(const POINT* pts, const int* counts, const COLORREF* colors, int polys);
    // The faces of run from its cursor, each its SolidPolygon fills then its LineSegments lines,
    // as far as the DC draws them at once; the cursor is left at what it did not draw (a
    // recording DC draws nothing), which the caller draws its own way before going on.
    void SolidFaces(SolidFaceRun& run);
    BOOL Rectangle(int l, int t, int r, int b);
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(int l, int t, int r, int b, int ew, int eh);
    BOOL RoundRect(LPCRECT r, POINT p) { return RoundRect(r->left, r->top, r->right, r->bottom, p.x, p.y); }
    BOOL Ellipse(int l, int t, int r, int b);
    BOOL Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
    BOOL Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4);
    BOOL Arc(LPCRECT r, POINT s, POINT e) { return Arc(r->left, r->top, r->right, r->bottom, s.x, s.y, e.x, e.y); }
    BOOL Chord(int l, int t, int r, int b, int x3, int y3, int x4, int y4);
    BOOL Chord(LPCRECT r, POINT s, POINT e) { return Chord(r->left, r->top, r->right, r->bottom, s.x, s.y, e.x, e.y); }
    BOOL Pie(int l, int t, int r, int b, int x3, int y3, int x4, int y4);
    BOOL Pie(LPCRECT r, POINT s, POINT e) { return Pie(r->left, r->top, r->right, r->bottom, s.x, s.y, e.x, e.y); }

    // ---- fills
    void FillRect(LPCRECT r, CBrush* brush);
    // Fills with colour c through the background colour, which stays set to c afterwards, as
    // the class library's version leaves it.
    void FillSolidRect(LPCRECT r, COLORREF c);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF c);
    void FrameRect(LPCRECT r, CBrush* brush);
    void Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    void InvertRect(LPCRECT r);
    BOOL FillRgn(CRgn* rgn, CBrush* brush);
    BOOL PaintRgn(CRgn* rgn);
    COLORREF SetPixel(int x, int y, COLORREF c);
    COLORREF SetPixel(POINT p, COLORREF c) { return SetPixel(p.x, p.y, c); }
    BOOL SetPixelV(int x, int y, COLORREF c) { return SetPixel(x, y, c) != CLR_INVALID; }
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }

    // ---- text (UTF-8; count -1 = up to the terminating NUL)
    BOOL TextOut(int x, int y, LPCTSTR text, int count);
    BOOL TextOut(int x, int y, const std::string& text);
    BOOL TextOut(int x, int y, LPCTSTR text) { return TextOut(x, y, text, -1); }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, const int* dx);
    int DrawText(LPCTSTR text, int count, LPRECT rect, UINT format);
    int DrawText(const std::string& text, LPRECT rect, UINT format);
    int DrawText(LPCTSTR text, LPRECT rect, UINT format) { return DrawText(text, -1, rect, format); }
    CSize GetTextExtent(LPCTSTR text, int count) const;
    CSize GetTextExtent(const std::string& text) const;
    CSize GetTextExtent(LPCTSTR text) const { return GetTextExtent(text, -1); }
    CSize GetOutputTextExtent(LPCTSTR text, int count) const { return GetTextExtent(text, count); }
    CSize GetOutputTextExtent(const std::string& text) const { return GetTextExtent(text); }
    CSize GetOutputTextExtent(LPCTSTR text) const { return GetTextExtent(text, -1); }
    BOOL GetTextMetrics(LPTEXTMETRIC tm) const;
    BOOL GetOutputTextMetrics(LPTEXTMETRIC tm) const { return GetTextMetrics(tm); }
    int GetTextFace(int count, LPTSTR face) const;
    BOOL TextOut(int x, int y, const CString& text);
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, const int* dx);
    int DrawText(const CString& text, LPRECT rect, UINT format);
    CSize GetTextExtent(const CString& text) const;
    CSize GetOutputTextExtent(const CString& text) const { return GetTextExtent(text); }

    // ---- blits
    BOOL BitBlt(int x, int y, int cx, int cy, CDC* src, int xs, int ys, DWORD rop);
    BOOL StretchBlt(int x, int y, int cx, int cy, CDC* src, int xs, int ys, int cxs, int cys, DWORD rop);
    BOOL PatBlt(int x, int y, int cx, int cy, DWORD rop);
    int StretchDIBits(int x, int y, int cx, int cy, int xs, int ys, int cxs, int cys, const void* bits,
                      const BITMAPINFO* bmi, UINT usage, DWORD rop);
    BOOL AlphaBlend(int x, int y, int cx, int cy, CDC* src, int xs, int ys, int cxs, int cys, BLENDFUNCTION blend);
    BOOL GradientFill(TRIVERTEX* vertices, ULONG nVertices, void* mesh, ULONG nMesh, DWORD mode);

protected:
    // Wraps a freshly made handle; fails when this CDC already has one.
    BOOL AttachNew(HDC h);
};

// DC calls that take a raw handle.
BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count);
BOOL GradientFill(HDC hdc, TRIVERTEX* vertices, ULONG nVertices, void* mesh, ULONG nMesh, ULONG mode);
BOOL AlphaBlend(HDC dest, int x, int y, int cx, int cy, HDC src, int xs, int ys, int cxs, int cys, BLENDFUNCTION blend);
BOOL BitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int xs, int ys, DWORD rop);
