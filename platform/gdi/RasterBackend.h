// RasterBackend: draws a DC's calls into the pixels of its selected bitmap with cairo.
//
// Drawing follows the platform's pixel rules rather than cairo's defaults: no antialiasing
// (shapes and text, unless a font asks for antialiased quality), odd-width strokes on pixel
// centres, pen width 0 drawn as 1 pixel, dashed styles only for 1-pixel pens (wider pens draw
// solid), Rectangle and Ellipse exclusive of their right and bottom edges (one pixel smaller
// still with a null pen), LineTo leaving out its end pixel, polygons filled by pixel centres.
// Raster operations other than copy (ROP2 modes, XOR/AND blits) are applied pixel by pixel,
// since cairo has no such operators. Blits sample the nearest source pixel and convert
// monochrome sources and targets with the DCs' text and background colours.
//
// One cairo context per DC, made for the selected bitmap; nothing is shared between DCs except
// the font cache.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/DCBackend.h"

class RasterBackend : public DCBackend {
public:
    // Whether small polygons are drawn from their kept shapes (on by default); off, cairo draws
    // each one, as tests compare. For the whole process.
    static void KeepShapes(bool bOn);

    RasterBackend() = default;
    ~RasterBackend() override;

    void OnStateChange(const DCState& st, DCChange what, int arg) override;

    BOOL LineTo(const DCState& st, int x, int y) override;
    BOOL Polyline(const DCState& st, const POINT* pts, int n) override;
    // Several polylines (counts[i] points each, one after the other in pts): the pixels of one
    // Polyline call per polyline, with the context set up once for all.
    BOOL PolyPolyline(const DCState& st, const POINT* pts, const int* counts, int polylines);
    // n two-point lines (pts[2i] to pts[2i+1]): the pixels of PolyPolyline with n two-point polylines.
    BOOL LineSegments(const DCState& st, const POINT* pts, int n) override;
    BOOL LineSegmentsBothWays(const DCState& st, const POINT* pts, int n) override;
    BOOL Polygon(const DCState& st, const POINT* pts, int n) override;
    BOOL PolyPolygon(const DCState& st, const POINT* pts, const int* counts, int polys) override;
    // Small polygons inside the picture in copy mode, unclipped, from their kept shapes.
    BOOL SolidPolygon(const DCState& st, const POINT* pts, int n, COLORREF c) override;
    int SolidPolygons(const DCState& st, const POINT* pts, const int* counts, const COLORREF* colors,
                      int polys) override;
    // Kept-shape fills and kept lines face after face, the picture read from the state once.
    void SolidFaces(const DCState& st, SolidFaceRun& run) override;
    BOOL Rectangle(const DCState& st, int l, int t, int r, int b) override;
    BOOL RoundRect(const DCState& st, int l, int t, int r, int b, int ew, int eh) override;
    BOOL Ellipse(const DCState& st, int l, int t, int r, int b) override;
    BOOL ArcShape(const DCState& st, int kind, const RECT& box, POINT start, POINT end) override;

    BOOL FillRect(const DCState& st, const RECT& r, const LOGBRUSH& brush) override;
    BOOL InvertRect(const DCState& st, const RECT& r) override;
    BOOL FillRgn(const DCState& st, const GdiRegion& rgnLogical, const LOGBRUSH& brush) override;
    COLORREF SetPixel(const DCState& st, int x, int y, COLORREF c) override;
    COLORREF GetPixel(const DCState& st, int x, int y) override;

    BOOL ExtTextOut(const DCState& st, int x, int y, UINT options, const RECT* rect, const std::string& text,
                    const int* dx) override;

    BOOL StretchBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys, int cxs,
                    int cys, DWORD rop) override;
    int StretchDIBits(const DCState& st, int x, int y, int cx, int cy, int xs, int ys, int cxs, int cys,
                      const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop) override;
    BOOL AlphaBlend(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys, int cxs,
                    int cys, BLENDFUNCTION blend) override;
    BOOL GradientFill(const DCState& st, const TRIVERTEX* v, ULONG nv, const void* mesh, ULONG nmesh,
                      ULONG mode) override;

    void Close(const DCState& st) override;

private:
    void ThickenMinus(cairo_scaled_font_t* font, const cairo_glyph_t* glyphs, int n, const std::string& text);
    typedef std::function<void(cairo_t*)> PathFn;

    // Small polygons filled and outlined in copy mode are drawn from their pixels, kept per
    // shape: cairo's pixels for a shape are the same wherever whole pixels move it, so each
    // shape is drawn by cairo once, on a scratch surface of the target's format, and its pixel
    // runs are painted wherever the shape comes again (a raft repeats a few shapes many times).
    struct Run {
        int dy, x0, x1;  // a row's pixels [x0, x1) at dy, from the polygon's first point
    };
    // A run packed in 4 bytes: len pixels from x0 in the row dy from the first point (a kept
    // shape with its margin spans less than 128 pixels each way from it).
    struct SolidRun {
        std::int8_t dy, x0;
        std::uint8_t len, unused;
    };
    struct ShapePixels {
        std::vector<Run> fill, outline;
        // With both fill and outline: the pixels of either, row by row, joined where they touch,
        // which is what the two paint in one colour (each pixel once).
        std::vector<SolidRun> solid;
        std::vector<Run> longSolid;  // the same for a shape longer than SolidRun's bytes reach
    };
    bool DrawKeptShape(const DCState& st, const POINT* pts, int n);
    // The same with the fill and the 1-pixel solid outline given (each drawn or not, in its
    // colour) instead of the selected brush and pen.
    // With run given, a run of shapes: the surface is flushed before the first one only and
    // their boxes gathered in run->dirty for the caller to mark once.
    struct ShapeRun {
        bool started = false;  // a shape was drawn: the surface flushed, dirty its box so far
        RECT dirty{};
    };
    // What kept shapes are painted into, read from the state once for a call (a run of shapes
    // shares it); no data when they cannot be painted there (kept shapes off, no plain colour
    // picture, a raster operation or a clip).
    struct KeptTarget {
        GdiBitmapObject* bm = nullptr;
        unsigned char* data = nullptr;  // the picture's pixels and their row stride in bytes
        std::ptrdiff_t stride = 0;
        RECT inner{};  // where a kept shape's points may lie: the picture less the shape's margin
        bool evenOdd = false;
    };
    static KeptTarget TargetOf(const DCState& st);
    // With parts given, pts holds nParts polygons of parts[k] points each (n in all), filled and
    // outlined in one colour: painted as one shape, the pixels of each polygon joined, which is
    // what painting them one after the other paints.
    bool DrawKeptShape(const KeptTarget& t, const DCState& st, const POINT* pts, int n, bool fill, bool outline,
                       COLORREF fillColor, COLORREF penColor, ShapeRun* run = nullptr, const int* parts = nullptr,
                       int nParts = 1);
    // Solid polygons (fill and outline in colors[k]) one after the other as kept shapes, a few
    // of one colour next to each other as one; how many were drawn from the first (the next one
    // is no kept shape here).
    int DrawKeptSolids(const KeptTarget& t, const DCState& st, const POINT* pts, const int* counts,
                       const COLORREF* colors, int polys, ShapeRun& run);
    // Thin solid two-point lines (pts[2k], pts[2k + 1]), each as its own stroke, the same way;
    // true when some were drawn so, the others (too long, at the border) then left in
    // m_restPts/m_restCounts, which StrokeRest strokes. bothWays: each line and its way back.
    bool DrawKeptLines(const DCState& st, const POINT* pts, int lines, bool bothWays);
    template <bool kBothWays>
    bool DrawKeptLinesOf(const DCState& st, const POINT* pts, int lines);
    BOOL StrokeRest(const DCState& st);
    // Each polyline stroked by cairo (total points in all).
    BOOL StrokeLines(const DCState& st, const POINT* pts, const int* counts, int polylines, int total);
    // A shape as the kept shapes are looked up by: its points from the first (each within a
    // kept shape's side of it, so a byte each way), their count and how it is drawn, packed.
    struct ShapeKey {
        std::array<std::uint64_t, 4> words{};
        bool operator==(const ShapeKey& o) const {
            return ((words[0] ^ o.words[0]) | (words[1] ^ o.words[1]) | (words[2] ^ o.words[2]) |
                    (words[3] ^ o.words[3])) == 0;
        }
    };
    struct ShapeKeyHash {
        size_t operator()(const ShapeKey& k) const;
    };
    // The key of the points dev[0, n) (from the first point, each within kShapeMaxSide of it),
    // dev holding zeros up to kShapeMaxPoints: packed straight into the words, no byte stores.
    static ShapeKey KeyOf(const POINT* dev, int n, bool fill, bool outline, bool evenOdd, bool line);
    // The key of a long polygon (longer than a kept shape's side, kLongShapeMaxPoints points at
    // most): as KeyOf, the points given 16 bits each way.
    static ShapeKey LongKeyOf(const POINT* dev, int n, bool fill, bool outline, bool evenOdd);
    // The pixels of a shape given from its first point: a polygon (fill, outline) or a thin
    // line of two points; null when it reaches beyond its scratch surface.
    const ShapePixels* ShapeOf(const POINT* dev, int n, bool fill, bool outline, bool evenOdd, bool line);
    // The shapes met last, one per slot of their hash: most look-ups of a raft end here
    // without the map's bucket search. Emptied with the map (the pointers are its elements).
    // A slot is a cache line holding what painting needs: a shape seen again costs the slot
    // and its runs.
    // What a closed backend leaves to the next one of its thread (see ~RasterBackend).
    struct SpareTables;
    static SpareTables* Spare();  // null once the thread's is gone
    struct alignas(64) RecentShape {
        ShapeKey key;
        const ShapePixels* px = nullptr;
        const SolidRun* solid = nullptr;  // px->solid
        int solidCount = 0;
    };
    // ShapeOf for a key made by KeyOf from dev (zeros after n): its slot, null as ShapeOf.
    const RecentShape* Recall(const ShapeKey& key, const POINT* dev, int n, bool fill, bool outline, bool evenOdd,
                              bool line);
    // The same for nParts solid polygons of parts[k] points each in dev (KeyOf's key of all
    // their points, marked by GroupKey): the solid pixels of each polygon, joined.
    static void GroupKey(ShapeKey& key, const int* parts, int nParts);
    const RecentShape* RecallGroup(const ShapeKey& key, const POINT* dev, const int* parts, int nParts, bool evenOdd);
    // The slot of a key; a kept shape put in its slot; room for one more kept shape (all are
    // forgotten when they reach their most).
    RecentShape& SlotOf(const ShapeKey& key);
    static const RecentShape* Remember(RecentShape& slot, const ShapeKey& key, const ShapePixels& px);
    void MakeRoomForShape();
    static std::vector<SolidRun> JoinRuns(const std::vector<Run>& a, const std::vector<Run>& b);
    static std::vector<Run> JoinedRuns(const std::vector<Run>& a, const std::vector<Run>& b);
    // Runs row by row from the top, each row's from the left.
    static bool RunBefore(const Run& l, const Run& r);
    static void PaintRuns(const KeptTarget& t, POINT at, const std::vector<Run>& runs, COLORREF c);
    static void PaintSolid(const KeptTarget& t, POINT at, const SolidRun* runs, int count, COLORREF c);
    static void MarkDirty(GdiBitmapObject& bm, const RECT& box);
    std::unordered_map<ShapeKey, ShapePixels, ShapeKeyHash> m_shapes;
    static constexpr size_t kRecentShapes = 4096;  // a power of two
    std::vector<RecentShape> m_recentShapes;       // made on the first kept shape
    // The pixels of a thin line by its direction alone, (dx, dy) each within kLineMaxSide, as
    // offsets from its first point in rows of m_lineStride pixels: copied from ShapeOf's runs
    // once into m_linePixels, their count padded to a multiple of 4 with the last one again, so
    // a line is painted four pixels a step. A table entry per direction says where they are (or
    // that the line is not kept, or not asked yet): a line is looked up without a key or a hash.
    // Made on the first kept line, emptied when a picture of another stride comes.
    struct LineShape {
        int first = 0;   // m_linePixels[first, first + count)
        int count = -2;  // -2 not asked yet, -1 not kept
    };
    LineShape LearnLine(int dx, int dy);
    std::vector<LineShape> m_lineShapes;
    // A short line and its way back in one, by the direction there (dy > 0, or dy == 0 and
    // dx > 0: a line and its way back are the same pair): the union of both lines' offsets from
    // the first point, without repeats, in m_linePixels too. Made and emptied with m_lineShapes.
    LineShape LearnPair(int dx, int dy);
    std::vector<LineShape> m_pairShapes;
    std::vector<std::int32_t> m_linePixels;
    std::ptrdiff_t m_lineStride = 0;
    // Longer thin lines (up to kLongLineSide each way) the same, by direction in a map, kept
    // when a direction comes the kLongLineLearnAfter-th time: learning one costs a few strokes,
    // so directions met only now and then stay stroked, while a frame and the next repeat theirs.
    static constexpr int kLongLineSide = 256;
    static constexpr int kLongLineLearnAfter = 8;
    static constexpr size_t kMaxLongPixels = size_t{1} << 20;  // 4 MB at the most
    LineShape LearnLongLine(int dx, int dy);
    std::unordered_map<std::uint32_t, LineShape> m_longLines;
    std::vector<std::int32_t> m_longPixels;
    std::vector<int> m_segmentCounts;              // LineSegments' counts when they are stroked
    std::vector<POINT> m_bothPts;                 // LineSegmentsBothWays' lines when they are stroked
    std::vector<POINT> m_restPts;                 // lines DrawKeptLines left to be stroked
    std::vector<int> m_restCounts;

    // The pixels the last gradient triangles put down (transparent where they put none), at
    // their place, with what they were drawn from: a film's frames repeat their legend panel's.
    struct GradientPixels {
        std::vector<int> key;                 // picture size, clip, triangles' points and colours
        RECT box{};                           // device area of surface
        cairo_surface_t* surface = nullptr;   // ARGB, device offset at box's corner
        ~GradientPixels();
    };
    GradientPixels m_gradient;

    cairo_t* m_cr = nullptr;
    cairo_surface_t* m_crSurface = nullptr;  // the surface m_cr draws on
    RECT m_op{};                             // device area the current call may touch

    // Prepares a call touching `bounds` (device): context, clip, DIB read-in. FALSE when there
    // is no bitmap or nothing of bounds is visible.
    bool Begin(const DCState& st, RECT bounds);
    void End(const DCState& st);
    void ApplyClip(cairo_t* cr, const DCState& st);
    void SetBrushSource(cairo_t* cr, const DCState& st, const LOGBRUSH& brush);
    bool SetPenStyle(cairo_t* cr, const DCState& st, double* offset);
    // Fill or stroke the path made by fn, honouring ROP2.
    void Fill(const DCState& st, const PathFn& fn, const LOGBRUSH& brush, bool evenOdd);
    void Stroke(const DCState& st, const PathFn& fn);
    // Non-copy ROP2: `paint` draws in opaque black on a clipped, unantialiased mask of m_op
    // (returning false when there is nothing to draw); the mask's pixels are then combined
    // with `color` through the ROP2.
    void DrawThroughMask(const DCState& st, COLORREF color, const std::function<bool(cairo_t*)>& paint);
    void ApplyMaskWithRop2(const DCState& st, cairo_surface_t* mask, COLORREF color);
    RECT PenBounds(const DCState& st, const POINT* pts, int n) const;
    // Writes source pixels (0x00RRGGBB, srcW x srcH) into the destination with a ternary rop.
    BOOL Blit(const DCState& st, int x, int y, int cx, int cy, const uint32_t* srcPix, int srcW, int srcH, int xs,
              int ys, int cxs, int cys, DWORD rop, bool srcMono, COLORREF srcBk, int alpha);
};
