// Writes an enhanced metafile record by record through libUEMF.
//
// The writer owns the file, the record buffer and the object-handle table. Coordinates are the
// reference device's pixels (the metafile DC's logical units); the header's frame is in .01 mm.
// Pens, brushes and fonts are created in the file when they are first selected. Selecting one
// identical to the selected object writes nothing; selecting one identical to an object still
// in the file selects that object. An object neither the current state nor a state saved by
// SaveDC refers to stays in the file for reuse, up to a number per kind; beyond it the one
// unused longest is deleted, so handles are never reused while a player could still restore
// them. After an object changes, a line starts with a move to the current position. Close()
// selects the stock objects, deletes what is left, writes the EOF record and fills in the
// header's size, record and handle counts; when the file cannot be written whole it is removed
// and Close() fails.
//
//     EmfWriter w;
//     if (!w.Open(path, ref, nullptr, "description")) report(w.LastError());
//     w.SelectPen(PS_SOLID, 1, RGB(255, 0, 0)); w.MoveTo(0, 0); w.LineTo(100, 50);
//     if (!w.Close()) report(w.LastError());
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/afx/afxtypes.h"

struct EmfTrack;

// The reference device a metafile is made for.
struct EmfDevice {
    int widthPixels = 1920;   // HORZRES
    int heightPixels = 1080;  // VERTRES
    int dpiX = 96;            // LOGPIXELSX
    int dpiY = 96;            // LOGPIXELSY
};

// One colour vertex of a gradient fill; channels 0..0xff00 as in TRIVERTEX.
struct EmfVertex {
    LONG x;
    LONG y;
    WORD red;
    WORD green;
    WORD blue;
    WORD alpha;
};

// Pixels of a device-independent bitmap embedded in the blit records.
struct EmfBitmap {
    int width = 0;                // pixels
    int height = 0;               // pixels
    int bitCount = 24;            // 24 or 32
    const BYTE* bits = nullptr;   // rows padded to 4 bytes
    bool topDown = false;         // first row in `bits` is the top one (else the bottom one)
};

class EmfWriter {
public:
    EmfWriter();
    ~EmfWriter();  // closes an open file so that nothing drawn is lost
    EmfWriter(const EmfWriter&) = delete;
    EmfWriter& operator=(const EmfWriter&) = delete;

    // Creates the file and writes the header. `frame` (.01 mm, may be null) fixes the picture
    // frame; when null the frame is the bounds of everything drawn, converted with the device's
    // resolution. `description` is UTF-8 (may be null). FALSE with LastError() when the file
    // cannot be created.
    BOOL Open(const char* path, const EmfDevice& device, const RECT* frame, const char* description);
    BOOL IsOpen() const { return m_track != nullptr; }
    // Finishes and writes the file. FALSE with LastError() when writing fails.
    BOOL Close();
    const std::string& LastError() const { return m_error; }
    const std::string& Path() const { return m_path; }

    // Object selection. Styles and colours are the platform's (PS_, BS_, COLORREF).
    BOOL SelectPen(UINT style, int width, COLORREF color);
    BOOL SelectBrush(UINT style, COLORREF color, LONG hatch);
    BOOL SelectFont(const LOGFONT& lf);
    // A stock object by the platform's index (WHITE_BRUSH 0 ... DEFAULT_GUI_FONT 17).
    BOOL SelectStockObject(int index);

    // Device state.
    int SaveDC();                  // the new state's level (1 for the first), 0 on failure
    BOOL RestoreDC(int saved);     // negative: relative; positive: a level SaveDC returned
    BOOL SetTextColor(COLORREF c);
    BOOL SetBkColor(COLORREF c);
    BOOL SetBkMode(int mode);      // TRANSPARENT 1, OPAQUE 2
    BOOL SetTextAlign(UINT align);
    BOOL SetPolyFillMode(int mode);  // ALTERNATE 1, WINDING 2
    BOOL SetROP2(int mode);
    BOOL SetStretchBltMode(int mode);

    // Lines and shapes, in device pixels.
    BOOL MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    BOOL Polyline(const POINT* pts, int count);
    BOOL Polygon(const POINT* pts, int count);
    BOOL PolyPolygon(const POINT* pts, const int* counts, int polygons);
    BOOL Rectangle(const RECT& r);
    BOOL Ellipse(const RECT& r);
    BOOL RoundRect(const RECT& r, int cornerW, int cornerH);
    // kind 0 arc, 1 chord, 2 pie, from the start radial to the end radial.
    BOOL Arc(int kind, const RECT& box, POINT start, POINT end);
    BOOL SetPixel(int x, int y, COLORREF c);
    // Fills r (right and bottom exclusive) with a brush (BS_SOLID or BS_HATCHED), leaving the
    // selected pen and brush as they were.
    BOOL FillRect(const RECT& r, UINT style, COLORREF color, LONG hatch);

    // Text: `text` is UTF-16LE code units; `dx` holds one advance per code unit (pixels).
    // `options` are ETO_ flags; `clip` the opaque/clip rectangle or null. `bounds` is the
    // text's extent on the device, for the record and header bounds.
    BOOL ExtTextOutW(int x, int y, UINT options, const RECT* clip, const std::vector<uint16_t>& text,
                     const std::vector<int32_t>& dx, const RECT& bounds);

    // Gouraud fills: `mesh` is 3 vertex indices per triangle (GRADIENT_FILL_TRIANGLE) or
    // 2 per rectangle (GRADIENT_FILL_RECT_H/V).
    BOOL GradientFill(const EmfVertex* vertices, int nVertices, const uint32_t* mesh, int nMesh, UINT mode);

    // Blits with the source picture embedded whole; the source rectangle, which must lie inside
    // it, is passed on as given. Blend: constant alpha and alpha format of BLENDFUNCTION.
    BOOL AlphaBlend(const RECT& dest, int srcX, int srcY, int srcW, int srcH, const EmfBitmap& src,
                    BYTE constantAlpha, BYTE alphaFormat);
    BOOL StretchDIBits(const RECT& dest, int srcX, int srcY, int srcW, int srcH, const EmfBitmap& src, DWORD rop);
    // BitBlt with a source (src non-null) or a pattern-only raster operation (src null).
    BOOL BitBlt(const RECT& dest, int srcX, int srcY, const EmfBitmap* src, DWORD rop, COLORREF bkColor);

    // Clipping: a list of rectangles combined with the clip region by `mode` (RGN_AND 1 ...
    // RGN_COPY 5); count 0 with RGN_COPY resets the clip region.
    BOOL ExtSelectClipRects(const RECT* rects, int count, int mode);

private:
    struct Selection {
        uint32_t pen;
        uint32_t brush;
        uint32_t font;
        POINT pos;     // current position
        int penWidth;  // pixels, of the selected pen
    };

    BOOL Append(char* rec, const char* what);
    BOOL Fail(const std::string& why);
    BOOL Select(uint32_t Selection::*slot, uint32_t ih);
    // Selects the object of a description (kind byte, then logical fields): none when it is
    // selected already, the one in the file when there is one, else a new one from `create`.
    template <class Create>
    BOOL SelectDescribed(uint32_t Selection::*slot, const std::string& key, Create create, const char* what);
    void ReleaseIfUnused(uint32_t ih);
    BOOL IsReferenced(uint32_t ih) const;
    void AddBounds(const RECT& r);
    BOOL ShapeRecord(char* rec, const RECT& bounds, const char* what);
    // Polyline or (closed) polygon, in 16-bit points when they all fit.
    BOOL PointListRecord(const POINT* pts, int count, bool closed);
    BOOL Blit(char* rec, const RECT& dest, const char* what);

    EmfTrack* m_track = nullptr;    // libUEMF file and handle table
    EmfDevice m_device;
    bool m_frameGiven = false;
    RECT m_frame{};                 // .01 mm, when given
    RECT m_bounds{0, 0, -1, -1};    // union of drawn extents in pixels, empty while right < left
    Selection m_cur{};
    std::vector<Selection> m_saved; // states saved by SaveDC, oldest first
    bool m_moveBeforeLine = false;  // an object changed since the last move
    std::string m_path;
    std::string m_error;
};
