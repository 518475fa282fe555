// DCBackend: what a device context draws on. CDC keeps the state (selected objects, colours,
// modes, clip, current position, origins) and forwards every drawing call here with that state;
// the back end turns it into pixels (RasterBackend), metafile records (the EMF back end) or a
// list of records for tests (CRecordDC).
//
// Coordinates are the caller's logical coordinates; DCState::ToDevice maps them (MM_TEXT with
// window and viewport origins). The clip region is in device coordinates. A back end that
// cannot do an operation returns FALSE. Text is UTF-8. Measuring text is not a back-end call:
// every DC measures with the shared font engine (FontEngine.h), so all back ends agree.
//
// State-setting calls reach OnStateChange after CDC has updated the state, so a back end that
// writes records (metafile, recording) can write them in order; drawing back ends ignore it.
#pragma once

#include <memory>
#include <string>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/GdiRegion.h"
#include "platform/gdi/SolidFaceRun.h"
#include "platform/gdi/gdidefs.h"

// Everything a drawing call may depend on. Copied whole by SaveDC.
struct DCState {
    GdiRef<GdiPenObject> pen;        // never null once the DC exists (stock BLACK_PEN at start)
    GdiRef<GdiBrushObject> brush;    // stock WHITE_BRUSH at start
    GdiRef<GdiFontObject> font;      // stock SYSTEM_FONT at start
    GdiRef<GdiBitmapObject> bitmap;  // memory DC: the selected bitmap (1x1 monochrome at start)
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int stretchBltMode = BLACKONWHITE;
    int mapMode = MM_TEXT;
    POINT curPos{0, 0};              // logical
    POINT viewportOrg{0, 0};         // device
    POINT windowOrg{0, 0};           // logical
    POINT brushOrg{0, 0};
    bool hasClip = false;            // false: the whole surface
    GdiRegion clip;                  // device coordinates, valid when hasClip

    const LOGPEN& Pen() const { return pen->lp; }
    const LOGBRUSH& Brush() const { return brush->lb; }
    const LOGFONT& Font() const { return font->lf; }
    int ToDeviceX(int x) const { return x - windowOrg.x + viewportOrg.x; }
    int ToDeviceY(int y) const { return y - windowOrg.y + viewportOrg.y; }
    POINT ToDevice(POINT p) const { return POINT{ToDeviceX(p.x), ToDeviceY(p.y)}; }
    int ToLogicalX(int x) const { return x - viewportOrg.x + windowOrg.x; }
    int ToLogicalY(int y) const { return y - viewportOrg.y + windowOrg.y; }
};

// Which part of the state a state-setting call changed.
enum class DCChange {
    Pen, Brush, Font, Bitmap, TextColor, BkColor, BkMode, TextAlign, Rop2, PolyFillMode,
    StretchBltMode, MapMode, CurrentPosition, ViewportOrg, WindowOrg, BrushOrg, Clip,
    SaveDC, RestoreDC
};

// Name of a change as the state-setting call that makes it ("SelectPen" style names are not
// used: pens, brushes, fonts and bitmaps all come from "SelectObject").
const char* DCChangeName(DCChange what);

// The source of a blit: the source DC's state (its bitmap has the pixels, its colours convert
// monochrome) or nullptr for operations that take no source.
struct DCSource {
    const DCState* state = nullptr;
    GdiBitmapObject* Bitmap() const { return state ? state->bitmap.get() : nullptr; }
};

class DCBackend {
public:
    virtual ~DCBackend() = default;

    // Technology for GetDeviceCaps(TECHNOLOGY): DT_RASDISPLAY, DT_RASPRINTER, DT_METAFILE.
    virtual int Technology() const { return DT_RASDISPLAY; }

    virtual void OnStateChange(const DCState& st, DCChange what, int arg) {}

    // Lines and shapes with the selected pen (and brush for closed shapes).
    virtual BOOL LineTo(const DCState& st, int x, int y) = 0;  // from st.curPos
    virtual BOOL Polyline(const DCState& st, const POINT* pts, int n) = 0;
    virtual BOOL PolylineTo(const DCState& st, const POINT* pts, int n);  // default: Polyline from curPos
    virtual BOOL Polygon(const DCState& st, const POINT* pts, int n) = 0;
    virtual BOOL PolyPolygon(const DCState& st, const POINT* pts, const int* counts, int polys) = 0;
    // A polygon filled and outlined in c, as Polygon draws it with a solid brush and a solid
    // 1-pixel pen of c selected, without selecting them; FALSE (nothing drawn) when this back
    // end cannot draw that polygon so: the caller then selects the objects and calls Polygon.
    virtual BOOL SolidPolygon(const DCState& st, const POINT* pts, int n, COLORREF c) { return FALSE; }
    // n separate lines, pts[2i] to pts[2i + 1], drawn as MoveTo/LineTo pairs draw them; FALSE
    // (nothing drawn) when this back end does not take them at once: the caller then makes the
    // pairs.
    virtual BOOL LineSegments(const DCState& st, const POINT* pts, int n) { return FALSE; }
    // n lines each drawn both ways, pts[2i] to pts[2i + 1] and back, as LineSegments draws the
    // pairs (a, b) and (b, a); FALSE (nothing drawn) as LineSegments.
    virtual BOOL LineSegmentsBothWays(const DCState& st, const POINT* pts, int n) { return FALSE; }
    // SolidPolygon of polygon after polygon (counts[k] points each, one after the other in pts,
    // colours[k]) until one answers FALSE: how many were drawn.
    virtual int SolidPolygons(const DCState& st, const POINT* pts, const int* counts, const COLORREF* colors,
                              int polys) {
        int k = 0;
        for (; k < polys && SolidPolygon(st, pts, counts[k], colors[k]); ++k) pts += counts[k];
        return k;
    }
    // The faces of run from its cursor, as far as this back end draws them at once: it stops at
    // a polygon SolidPolygon would answer FALSE for, or at lines it does not take at once, with
    // the cursor there (the caller draws that its own way and goes on). By default nothing.
    virtual void SolidFaces(const DCState& st, SolidFaceRun& run) {}
    virtual BOOL Rectangle(const DCState& st, int l, int t, int r, int b) = 0;
    virtual BOOL RoundRect(const DCState& st, int l, int t, int r, int b, int ew, int eh) = 0;
    virtual BOOL Ellipse(const DCState& st, int l, int t, int r, int b) = 0;
    // kind: 0 arc, 1 chord, 2 pie; the curve runs counter-clockwise from the start to the end
    // radial as the platform draws by default.
    virtual BOOL ArcShape(const DCState& st, int kind, const RECT& box, POINT start, POINT end) = 0;

    // Fills that do not use the pen.
    virtual BOOL FillRect(const DCState& st, const RECT& r, const LOGBRUSH& brush) = 0;
    virtual BOOL FillSolidRect(const DCState& st, const RECT& r, COLORREF color);  // default: FillRect
    virtual BOOL FrameRect(const DCState& st, const RECT& r, const LOGBRUSH& brush);  // default: 4 FillRects
    virtual BOOL InvertRect(const DCState& st, const RECT& r) = 0;
    // The region is in logical coordinates, as FillRgn and PaintRgn take it (clip regions are not).
    virtual BOOL FillRgn(const DCState& st, const GdiRegion& rgnLogical, const LOGBRUSH& brush) = 0;
    virtual COLORREF SetPixel(const DCState& st, int x, int y, COLORREF c) = 0;
    virtual COLORREF GetPixel(const DCState& st, int x, int y) { return CLR_INVALID; }

    // Text. TextOut's default is ExtTextOut without options; DrawText's default lays the text out
    // with the font engine and calls ExtTextOut per line (rect is updated for DT_CALCRECT by CDC).
    virtual BOOL ExtTextOut(const DCState& st, int x, int y, UINT options, const RECT* rect,
                            const std::string& text, const int* dx) = 0;
    virtual BOOL TextOut(const DCState& st, int x, int y, const std::string& text);
    virtual int DrawText(const DCState& st, const std::string& text, RECT* rect, UINT format);

    // Blits. rop is a ternary raster operation (SRCCOPY ...).
    virtual BOOL BitBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                        DWORD rop);  // default: StretchBlt with equal sizes
    virtual BOOL StretchBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                            int cxs, int cys, DWORD rop) = 0;
    virtual BOOL PatBlt(const DCState& st, int x, int y, int cx, int cy, DWORD rop);  // default: StretchBlt, no source
    virtual int StretchDIBits(const DCState& st, int x, int y, int cx, int cy, int xs, int ys, int cxs, int cys,
                              const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop) = 0;
    virtual BOOL AlphaBlend(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                            int cxs, int cys, BLENDFUNCTION blend) = 0;
    virtual BOOL GradientFill(const DCState& st, const TRIVERTEX* v, ULONG nv, const void* mesh, ULONG nmesh,
                              ULONG mode) = 0;

    // Called before the DC goes away or the back end is replaced.
    virtual void Close(const DCState& st) {}
};
