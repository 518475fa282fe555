#include "platform/gdi/RasterBackend.h"

#include <algorithm>
#include <climits>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/afx/AfxDiagnostic.h"
#include "platform/gdi/FontEngine.h"

namespace {

// A 1-pixel line takes its first pixel and leaves out its last: both open ends are pulled back
// a little along the line so that the pixel centres on the end caps fall the right way.
void PullBack(POINT from, POINT to, double& x, double& y) {
    const double dx = to.x - from.x, dy = to.y - from.y, len = std::hypot(dx, dy);
    if (len > 0) {
        x -= 0.05 * dx / len;
        y -= 0.05 * dy / len;
    }
}

const double kPi = 3.14159265358979323846;

void SetColor(cairo_t* cr, COLORREF c) {
    cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

uint32_t ToPixel(COLORREF c) {
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.left >= r.right || r.top >= r.bottom) r = RECT{0, 0, 0, 0};
    return r;
}

bool Empty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

// The least rectangle holding both.
RECT Bound(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

uint32_t Rop2(int rop, uint32_t p, uint32_t d) {
    const unsigned t = static_cast<unsigned>(rop - 1) & 15;
    uint32_t r = 0;
    if (t & 8) r |= p & d;
    if (t & 4) r |= p & ~d;
    if (t & 2) r |= ~p & d;
    if (t & 1) r |= ~p & ~d;
    return r & 0xffffff;
}

uint32_t Rop3(unsigned code, uint32_t p, uint32_t s, uint32_t d) {
    switch (code) {
    case 0xCC: return s;
    case 0x66: return s ^ d;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x33: return ~s & 0xffffff;
    case 0x55: return ~d & 0xffffff;
    case 0x00: return 0;
    case 0xFF: return 0xffffff;
    case 0xF0: return p;
    default: break;
    }
    uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!((code >> i) & 1)) continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r & 0xffffff;
}

bool RopUsesSource(unsigned code) {
    return ((code >> 2) & 0x33) != (code & 0x33);
}

// The clip as device rectangles, restricted to `area`.
std::vector<RECT> ClipRects(const DCState& st, const RECT& area) {
    std::vector<RECT> out;
    if (!st.hasClip) {
        if (!Empty(area)) out.push_back(area);
        return out;
    }
    for (const RECT& r : st.clip.Rects()) {
        RECT i = Intersect(r, area);
        if (!Empty(i)) out.push_back(i);
    }
    return out;
}

cairo_pattern_t* HatchPattern(const DCState& st, const LOGBRUSH& brush) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    const uint32_t fg = 0xff000000u | ToPixel(brush.lbColor);
    const uint32_t bg = st.bkMode == OPAQUE ? 0xff000000u | ToPixel(st.bkColor) : 0;
    for (int y = 0; y < 8; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < 8; ++x) {
            bool on = false;
            switch (brush.lbHatch) {
            case HS_HORIZONTAL: on = y == 7; break;
            case HS_VERTICAL: on = x == 7; break;
            case HS_FDIAGONAL: on = x == y; break;
            case HS_BDIAGONAL: on = x + y == 7; break;
            case HS_CROSS: on = x == 7 || y == 7; break;
            case HS_DIAGCROSS: on = x == y || x + y == 7; break;
            }
            row[x] = on ? fg : bg;
        }
    }
    cairo_surface_mark_dirty(s);
    cairo_pattern_t* p = cairo_pattern_create_for_surface(s);
    cairo_surface_destroy(s);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST);
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, -st.brushOrg.x, -st.brushOrg.y);
    cairo_pattern_set_matrix(p, &m);
    return p;
}

}  // namespace

RasterBackend::GradientPixels::~GradientPixels() {
    if (surface) cairo_surface_destroy(surface);
}

// The line tables and the recent-shape slots of the last backend this thread closed, for the
// next one: a picture is often drawn through many short-lived device contexts (a text fit
// draws the view again at each size it tries), and half a megabyte made and filled afresh
// each time costs more than the drawing.
struct RasterBackend::SpareTables {
    std::vector<RasterBackend::LineShape> lines, pairs;
    std::vector<std::int32_t> linePixels, longPixels;
    std::unordered_map<std::uint32_t, RasterBackend::LineShape> longLines;
    std::ptrdiff_t stride = 0;
    std::vector<RasterBackend::RecentShape> recent;  // every slot empty
    ~SpareTables() { bGone = true; }
    // A backend closed after its thread's spare (a static one, at exit) keeps its tables.
    static inline thread_local bool bGone = false;
};
RasterBackend::SpareTables* RasterBackend::Spare() {
    thread_local SpareTables spare;
    return SpareTables::bGone ? nullptr : &spare;
}

RasterBackend::~RasterBackend() {
    if (m_cr) cairo_destroy(m_cr);
    SpareTables* spare = Spare();
    if (!spare) return;
    if (!m_lineShapes.empty() && spare->lines.empty()) {
        spare->lines.swap(m_lineShapes);
        spare->pairs.swap(m_pairShapes);
        spare->linePixels.swap(m_linePixels);
        spare->longPixels.swap(m_longPixels);
        spare->longLines.swap(m_longLines);
        spare->stride = m_lineStride;
    }
    if (!m_recentShapes.empty() && spare->recent.empty()) {
        std::fill(m_recentShapes.begin(), m_recentShapes.end(), RecentShape{});
        spare->recent.swap(m_recentShapes);
    }
}

void RasterBackend::Close(const DCState& st) {
    if (m_cr) cairo_destroy(m_cr);
    m_cr = nullptr;
    m_crSurface = nullptr;
}

void RasterBackend::OnStateChange(const DCState& st, DCChange what, int arg) {
    if (what == DCChange::Bitmap && m_cr && (!st.bitmap || st.bitmap->m_pSurface != m_crSurface)) {
        cairo_destroy(m_cr);
        m_cr = nullptr;
        m_crSurface = nullptr;
    }
}

bool RasterBackend::Begin(const DCState& st, RECT bounds) {
    GdiBitmapObject* bm = st.bitmap.get();
    if (!bm || !bm->m_pSurface) return false;
    if (m_crSurface != bm->m_pSurface) {
        if (m_cr) cairo_destroy(m_cr);
        m_cr = cairo_create(bm->m_pSurface);
        m_crSurface = bm->m_pSurface;
    }
    RECT area = Intersect(bounds, bm->Bounds());
    if (st.hasClip) {
        RECT box;
        st.clip.GetBox(&box);
        area = Intersect(area, box);
    }
    if (Empty(area)) return false;
    m_op = area;
    bm->SyncIn(m_op);
    cairo_save(m_cr);
    cairo_identity_matrix(m_cr);
    cairo_new_path(m_cr);
    cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_OVER);
    ApplyClip(m_cr, st);
    return true;
}

void RasterBackend::End(const DCState& st) {
    cairo_restore(m_cr);
    cairo_surface_flush(m_crSurface);
    st.bitmap->SyncOut(m_op);
}

void RasterBackend::ApplyClip(cairo_t* cr, const DCState& st) {
    // Without a clip region the call's own bounds already hold everything it draws.
    cairo_reset_clip(cr);
    cairo_new_path(cr);
    if (!st.hasClip) return;
    for (const RECT& r : st.clip.Rects()) {
        RECT i = Intersect(r, m_op);
        if (!Empty(i)) cairo_rectangle(cr, i.left, i.top, i.right - i.left, i.bottom - i.top);
    }
    cairo_clip(cr);
}

void RasterBackend::SetBrushSource(cairo_t* cr, const DCState& st, const LOGBRUSH& brush) {
    if (brush.lbStyle == BS_HATCHED) {
        cairo_pattern_t* p = HatchPattern(st, brush);
        cairo_set_source(cr, p);
        cairo_pattern_destroy(p);
    } else {
        SetColor(cr, brush.lbColor);
    }
}

// Sets width, dashes, caps and joins of the selected pen; *offset is the half-pixel shift that
// puts odd-width strokes on pixel centres. Returns false for a null pen.
bool RasterBackend::SetPenStyle(cairo_t* cr, const DCState& st, double* offset) {
    const LOGPEN& lp = st.Pen();
    const UINT style = lp.lopnStyle & PS_STYLE_MASK;
    if (style == PS_NULL) return false;
    const int width = std::max<int>(1, lp.lopnWidth.x);
    cairo_set_line_width(cr, width);
    *offset = (width & 1) ? 0.5 : 0.0;
    if (width > 1) {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    } else {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    }
    static const double dash[] = {18, 6}, dot[] = {3, 3}, dashdot[] = {9, 6, 3, 6}, dashdotdot[] = {9, 3, 3, 3, 3, 3};
    // Wider pens with a dash style draw solid, as on the platform.
    if (width == 1 && style >= PS_DASH && style <= PS_DASHDOTDOT) {
        switch (style) {
        case PS_DASH: cairo_set_dash(cr, dash, 2, 0); break;
        case PS_DOT: cairo_set_dash(cr, dot, 2, 0); break;
        case PS_DASHDOT: cairo_set_dash(cr, dashdot, 4, 0); break;
        default: cairo_set_dash(cr, dashdotdot, 6, 0); break;
        }
    } else {
        cairo_set_dash(cr, nullptr, 0, 0);
    }
    return true;
}

void RasterBackend::ApplyMaskWithRop2(const DCState& st, cairo_surface_t* mask, COLORREF color) {
    cairo_surface_flush(mask);
    cairo_surface_flush(m_crSurface);
    GdiBitmapObject* bm = st.bitmap.get();
    const unsigned char* md = cairo_image_surface_get_data(mask);
    const int ms = cairo_image_surface_get_stride(mask);
    const uint32_t p = ToPixel(color);
    for (int y = m_op.top; y < m_op.bottom; ++y) {
        uint32_t* row = bm->Row(y);
        const unsigned char* mrow = md + static_cast<size_t>(y - m_op.top) * ms;
        for (int x = m_op.left; x < m_op.right; ++x)
            if (mrow[x - m_op.left] >= 128) row[x] = Rop2(st.rop2, p, row[x]);
    }
    cairo_surface_mark_dirty_rectangle(m_crSurface, m_op.left, m_op.top, m_op.right - m_op.left,
                                       m_op.bottom - m_op.top);
}

void RasterBackend::Fill(const DCState& st, const PathFn& fn, const LOGBRUSH& brush, bool evenOdd) {
    if (brush.lbStyle == BS_NULL || st.rop2 == R2_NOP) return;
    if (st.rop2 == R2_COPYPEN) {
        cairo_new_path(m_cr);
        fn(m_cr);
        cairo_set_fill_rule(m_cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        SetBrushSource(m_cr, st, brush);
        cairo_fill(m_cr);
        return;
    }
    DrawThroughMask(st, brush.lbColor, [&](cairo_t* cr) {
        fn(cr);
        cairo_set_fill_rule(cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        cairo_fill(cr);
        return true;
    });
}

void RasterBackend::Stroke(const DCState& st, const PathFn& fn) {
    if (st.rop2 == R2_NOP) return;
    double off = 0;
    if (st.rop2 == R2_COPYPEN) {
        if (!SetPenStyle(m_cr, st, &off)) return;
        cairo_save(m_cr);
        cairo_translate(m_cr, off, off);
        cairo_new_path(m_cr);
        fn(m_cr);
        const UINT style = st.Pen().lopnStyle & PS_STYLE_MASK;
        if (st.bkMode == OPAQUE && style >= PS_DASH && style <= PS_DASHDOTDOT && st.Pen().lopnWidth.x <= 1) {
            // Gaps of styled lines show the background colour in opaque mode.
            cairo_save(m_cr);
            cairo_set_dash(m_cr, nullptr, 0, 0);
            SetColor(m_cr, st.bkColor);
            cairo_stroke_preserve(m_cr);
            cairo_restore(m_cr);
        }
        SetColor(m_cr, st.Pen().lopnColor);
        cairo_stroke(m_cr);
        cairo_restore(m_cr);
        return;
    }
    DrawThroughMask(st, st.Pen().lopnColor, [&](cairo_t* cr) {
        if (!SetPenStyle(cr, st, &off)) return false;
        cairo_translate(cr, off, off);
        fn(cr);
        cairo_stroke(cr);
        return true;
    });
}

void RasterBackend::DrawThroughMask(const DCState& st, COLORREF color, const std::function<bool(cairo_t*)>& paint) {
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, m_op.right - m_op.left, m_op.bottom - m_op.top);
    cairo_t* cr = cairo_create(mask);
    cairo_translate(cr, -m_op.left, -m_op.top);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    ApplyClip(cr, st);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    const bool painted = paint(cr);
    cairo_destroy(cr);
    if (painted) ApplyMaskWithRop2(st, mask, color);
    cairo_surface_destroy(mask);
}

RECT RasterBackend::PenBounds(const DCState& st, const POINT* pts, int n) const {
    RECT r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int i = 0; i < n; ++i) {
        const POINT p = st.ToDevice(pts[i]);
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    if (n <= 0) return RECT{0, 0, 0, 0};
    const int w = (st.Pen().lopnStyle & PS_STYLE_MASK) == PS_NULL ? 0 : std::max<int>(1, st.Pen().lopnWidth.x);
    const int m = w / 2 + 2;
    return RECT{r.left - m, r.top - m, r.right + m, r.bottom + m};
}

BOOL RasterBackend::LineTo(const DCState& st, int x, int y) {
    const POINT pts[2] = {st.curPos, POINT{x, y}};
    return Polyline(st, pts, 2);
}

BOOL RasterBackend::Polyline(const DCState& st, const POINT* pts, int n) {
    const int counts[1] = {n};
    return PolyPolyline(st, pts, counts, 1);
}

BOOL RasterBackend::PolyPolyline(const DCState& st, const POINT* pts, const int* counts, int polylines) {
    if (!pts || !counts || polylines < 1) return FALSE;
    int total = 0;
    for (int k = 0; k < polylines; ++k) {
        if (counts[k] < 2) return FALSE;
        total += counts[k];
    }
    bool segments = true;
    for (int k = 0; k < polylines && segments; ++k) segments = counts[k] == 2;
    if (segments && DrawKeptLines(st, pts, polylines, false)) return StrokeRest(st);
    return StrokeLines(st, pts, counts, polylines, total);
}

BOOL RasterBackend::LineSegments(const DCState& st, const POINT* pts, int n) {
    if (!pts || n < 1) return FALSE;
    if (DrawKeptLines(st, pts, n, false)) return StrokeRest(st);
    m_segmentCounts.assign(static_cast<size_t>(n), 2);
    return StrokeLines(st, pts, m_segmentCounts.data(), n, 2 * n);
}

BOOL RasterBackend::LineSegmentsBothWays(const DCState& st, const POINT* pts, int n) {
    if (!pts || n < 1) return FALSE;
    if (DrawKeptLines(st, pts, n, true)) return StrokeRest(st);
    m_bothPts.clear();
    for (int k = 0; k < n; ++k) m_bothPts.insert(m_bothPts.end(), {pts[2 * k], pts[2 * k + 1], pts[2 * k + 1], pts[2 * k]});
    m_segmentCounts.assign(static_cast<size_t>(2 * n), 2);
    return StrokeLines(st, m_bothPts.data(), m_segmentCounts.data(), 2 * n, 4 * n);
}

BOOL RasterBackend::StrokeRest(const DCState& st) {
    if (m_restCounts.empty()) return TRUE;
    std::vector<POINT> pts;
    std::vector<int> counts;
    pts.swap(m_restPts);
    counts.swap(m_restCounts);
    return StrokeLines(st, pts.data(), counts.data(), static_cast<int>(counts.size()), static_cast<int>(pts.size()));
}

BOOL RasterBackend::StrokeLines(const DCState& st, const POINT* pts, const int* counts, int polylines, int total) {
    if (!Begin(st, PenBounds(st, pts, total))) return TRUE;
    const bool thin = std::max<int>(1, st.Pen().lopnWidth.x) == 1;
    auto pullBack = [](POINT from, POINT to, double& x, double& y) { PullBack(from, to, x, y); };
    auto path = [&](cairo_t* cr, const POINT* line, int n) {
        for (int i = 0; i < n; ++i) {
            const POINT p = st.ToDevice(line[i]);
            double x = p.x, y = p.y;
            if (thin && i == 0) pullBack(p, st.ToDevice(line[1]), x, y);
            if (thin && i == n - 1) pullBack(st.ToDevice(line[n - 2]), p, x, y);
            if (i == 0) cairo_move_to(cr, x, y);
            else cairo_line_to(cr, x, y);
        }
    };
    // One stroke per polyline, as separate calls make them: one path of several polylines is
    // not drawn the same where they cross.
    const UINT style = st.Pen().lopnStyle & PS_STYLE_MASK;
    const bool styledOpaque = st.bkMode == OPAQUE && style >= PS_DASH && style <= PS_DASHDOTDOT;
    double off = 0;
    if (st.rop2 == R2_COPYPEN && !styledOpaque) {
        // Plain lines: the pen set up once for all of them.
        if (SetPenStyle(m_cr, st, &off)) {
            cairo_save(m_cr);
            cairo_translate(m_cr, off, off);
            SetColor(m_cr, st.Pen().lopnColor);
            const POINT* line = pts;
            for (int k = 0; k < polylines; line += counts[k], ++k) {
                cairo_new_path(m_cr);
                path(m_cr, line, counts[k]);
                cairo_stroke(m_cr);
            }
            cairo_restore(m_cr);
        }
    } else {
        const POINT* line = pts;
        for (int k = 0; k < polylines; line += counts[k], ++k) {
            const int n = counts[k];
            Stroke(st, [&](cairo_t* cr) { path(cr, line, n); });
        }
    }
    End(st);
    return TRUE;
}

BOOL RasterBackend::Polygon(const DCState& st, const POINT* pts, int n) {
    if (!pts || n < 2) return FALSE;
    const int counts[1] = {n};
    return PolyPolygon(st, pts, counts, 1);
}

BOOL RasterBackend::PolyPolygon(const DCState& st, const POINT* pts, const int* counts, int polys) {
    if (!pts || !counts || polys <= 0) return FALSE;
    int total = 0;
    for (int i = 0; i < polys; ++i) {
        if (counts[i] < 2) return FALSE;
        total += counts[i];
    }
    if (polys == 1 && DrawKeptShape(st, pts, total)) return TRUE;
    if (!Begin(st, PenBounds(st, pts, total))) return TRUE;
    auto path = [&](cairo_t* cr) {
        int base = 0;
        for (int k = 0; k < polys; ++k) {
            for (int i = 0; i < counts[k]; ++i) {
                const POINT p = st.ToDevice(pts[base + i]);
                if (i == 0) cairo_move_to(cr, p.x, p.y);
                else cairo_line_to(cr, p.x, p.y);
            }
            cairo_close_path(cr);
            base += counts[k];
        }
    };
    Fill(st, path, st.Brush(), st.polyFillMode == ALTERNATE);
    Stroke(st, path);
    End(st);
    return TRUE;
}

namespace {

constexpr int kShapeMaxPoints = 12;  // polygons kept by shape: at most this many points,
constexpr int kShapeMaxSide = 118;   // this many pixels across,
constexpr int kShapeMargin = 8;      // with room for miter tips (limit 10 x half a pixel)
constexpr size_t kShapeMaxKept = 8192;  // some tens of MB at the most
// Long thin polygons (a face seen almost edge-on) are kept too: up to this many points and this
// many pixels along, with no more pixels in their box than a kept shape's at most.
constexpr int kLongShapeMaxPoints = 4;
constexpr int kLongShapeMaxSide = 1024;
std::atomic<bool> g_keepShapes{true};

// The pixel runs of the set pixels of a scratch picture, from the origin (ox, oy); false when a
// set pixel lies on the picture's border (the shape may reach beyond it).
bool RunsOf(cairo_surface_t* s, int ox, int oy, std::vector<RECT>& runs) {
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    runs.clear();
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w;) {
            if (!(row[x] & 0xffffff)) {
                ++x;
                continue;
            }
            if (y == 0 || y == h - 1 || x == 0) return false;
            int e = x;
            while (e < w && (row[e] & 0xffffff)) ++e;
            if (e == w) return false;
            runs.push_back(RECT{x - ox, y - oy, e - ox, 0});
            x = e;
        }
    }
    return true;
}

}  // namespace

bool RasterBackend::RunBefore(const Run& l, const Run& r) { return l.dy != r.dy ? l.dy < r.dy : l.x0 < r.x0; }

// The pixels of two sets of runs, row by row from the top, runs that overlap or touch joined.
std::vector<RasterBackend::SolidRun> RasterBackend::JoinRuns(const std::vector<Run>& a, const std::vector<Run>& b) {
    static_assert(kShapeMaxSide + kShapeMargin + 1 < 128 && 2 * (kShapeMaxSide + kShapeMargin) + 1 < 256,
                  "a kept shape's runs fit SolidRun's bytes");
    std::vector<SolidRun> out;
    for (const Run& r : JoinedRuns(a, b))
        out.push_back(SolidRun{static_cast<std::int8_t>(r.dy), static_cast<std::int8_t>(r.x0),
                               static_cast<std::uint8_t>(r.x1 - r.x0), 0});
    return out;
}

std::vector<RasterBackend::Run> RasterBackend::JoinedRuns(const std::vector<Run>& a, const std::vector<Run>& b) {
    // Each set comes row by row already (as a picture is read, or as sets so read are joined):
    // merged, else sorted. Runs of one row and start may come in any order: the join is the same.
    const auto before = RunBefore;
    std::vector<Run> all(a.size() + b.size());
    if (std::is_sorted(a.begin(), a.end(), before) && std::is_sorted(b.begin(), b.end(), before)) {
        std::merge(a.begin(), a.end(), b.begin(), b.end(), all.begin(), before);
    } else {
        std::copy(b.begin(), b.end(), std::copy(a.begin(), a.end(), all.begin()));
        std::sort(all.begin(), all.end(), before);
    }
    std::vector<Run> out;
    for (size_t i = 0; i < all.size();) {
        Run r = all[i++];
        while (i < all.size() && all[i].dy == r.dy && all[i].x0 <= r.x1) r.x1 = std::max(r.x1, all[i++].x1);
        out.push_back(r);
    }
    return out;
}

size_t RasterBackend::ShapeKeyHash::operator()(const ShapeKey& k) const {
    // Each word multiplied on its own (no chain from word to word: a look-up per polygon), then
    // the sum mixed so every bit reaches the low ones the tables index by.
    std::uint64_t h = k.words[0] * 0x9e3779b97f4a7c15ull ^ k.words[1] * 0xc2b2ae3d27d4eb4full ^
                      k.words[2] * 0x165667b19e3779f9ull ^ k.words[3] * 0xff51afd7ed558ccdull;
    h ^= h >> 32;
    h *= 0xd6e8feb86659fd93ull;
    return static_cast<size_t>(h ^ (h >> 32));
}

RasterBackend::ShapeKey RasterBackend::KeyOf(const POINT* dev, int n, bool fill, bool outline, bool evenOdd,
                                             bool line) {
    // Byte 0 the count, byte 1 how it is drawn, then x and y of each point a byte each: 16 bits a
    // point, the first in the word's bits 16-31 after the two header bytes.
    static_assert(kShapeMaxSide < 128 && 1 + kShapeMaxPoints <= 16, "a shape key holds the points in bytes");
    auto at = [dev](int i) {
        return static_cast<std::uint64_t>(static_cast<std::uint8_t>(dev[i].x)) |
               static_cast<std::uint64_t>(static_cast<std::uint8_t>(dev[i].y)) << 8;
    };
    ShapeKey key;
    key.words[0] = static_cast<std::uint64_t>(static_cast<std::uint8_t>(n)) |
                   static_cast<std::uint64_t>((fill ? 1 : 0) | (outline ? 2 : 0) | (evenOdd ? 4 : 0) | (line ? 8 : 0))
                       << 8 |
                   at(0) << 16 | at(1) << 32 | at(2) << 48;
    key.words[1] = at(3) | at(4) << 16 | at(5) << 32 | at(6) << 48;
    key.words[2] = at(7) | at(8) << 16 | at(9) << 32 | at(10) << 48;
    key.words[3] = at(11);
    return key;
}

RasterBackend::ShapeKey RasterBackend::LongKeyOf(const POINT* dev, int n, bool fill, bool outline, bool evenOdd) {
    // As KeyOf, marked long (bit 5 of the how-drawn byte), 16 bits each way a point.
    static_assert(kLongShapeMaxSide < 32768 && kLongShapeMaxPoints <= 4, "a long shape's key holds its points");
    auto at = [dev](int i) {
        return static_cast<std::uint64_t>(static_cast<std::uint16_t>(dev[i].x)) |
               static_cast<std::uint64_t>(static_cast<std::uint16_t>(dev[i].y)) << 16;
    };
    ShapeKey key;
    key.words[0] = static_cast<std::uint64_t>(static_cast<std::uint8_t>(n)) |
                   static_cast<std::uint64_t>((fill ? 1 : 0) | (outline ? 2 : 0) | (evenOdd ? 4 : 0) | 32) << 8;
    key.words[1] = at(0) | at(1) << 32;
    key.words[2] = n > 2 ? at(2) : 0;
    key.words[3] = n > 3 ? at(3) : 0;
    return key;
}

const RasterBackend::ShapePixels* RasterBackend::ShapeOf(const POINT* dev, int n, bool fill, bool outline,
                                                       bool evenOdd, bool line) {
    if (n < 1 || n > kShapeMaxPoints) return nullptr;
    POINT padded[kShapeMaxPoints] = {};
    for (int i = 0; i < n; ++i) {
        if (std::abs(dev[i].x) > kShapeMaxSide || std::abs(dev[i].y) > kShapeMaxSide) return nullptr;
        padded[i] = dev[i];
    }
    const RecentShape* kept = Recall(KeyOf(padded, n, fill, outline, evenOdd, line), padded, n, fill, outline,
                                     evenOdd, line);
    return kept ? kept->px : nullptr;
}

inline RasterBackend::RecentShape& RasterBackend::SlotOf(const ShapeKey& key) {
    if (m_recentShapes.empty()) {
        if (SpareTables* spare = Spare()) m_recentShapes.swap(spare->recent);
        m_recentShapes.resize(kRecentShapes);
    }
    return m_recentShapes[ShapeKeyHash()(key) & (kRecentShapes - 1)];
}

inline const RasterBackend::RecentShape* RasterBackend::Remember(RecentShape& slot, const ShapeKey& key,
                                                          const ShapePixels& px) {
    slot = RecentShape{key, &px, px.solid.data(), static_cast<int>(px.solid.size())};
    return &slot;
}

inline void RasterBackend::MakeRoomForShape() {
    if (m_shapes.size() < kShapeMaxKept) return;
    m_shapes.clear();
    std::fill(m_recentShapes.begin(), m_recentShapes.end(), RecentShape{});
}

void RasterBackend::GroupKey(ShapeKey& key, const int* parts, int nParts) {
    // Marked in the how-drawn byte; the polygons' point counts, 4 bits each, above the last
    // point (the low 16 bits of the last word).
    static_assert(kShapeMaxPoints < 16 && 16 + 4 * (kShapeMaxPoints / 3) <= 64, "a group's counts fit the last word");
    key.words[0] |= std::uint64_t{16} << 8;
    for (int k = 0; k < nParts; ++k) key.words[3] |= static_cast<std::uint64_t>(parts[k] & 15) << (16 + 4 * k);
}

const RasterBackend::RecentShape* RasterBackend::RecallGroup(const ShapeKey& key, const POINT* dev, const int* parts,
                                                             int nParts, bool evenOdd) {
    RecentShape& recent = SlotOf(key);
    if (recent.px && recent.key == key) return &recent;
    if (auto it = m_shapes.find(key); it != m_shapes.end()) return Remember(recent, key, it->second);
    // Each polygon's pixels from its own kept shape, moved to the first point of all. Looking one
    // up may forget the others, so its runs are copied at once.
    std::vector<Run> all;
    int at = 0;
    for (int k = 0; k < nParts; ++k) {
        const int n = parts[k];
        POINT own[kShapeMaxPoints] = {};
        for (int i = 0; i < n; ++i) own[i] = POINT{dev[at + i].x - dev[at].x, dev[at + i].y - dev[at].y};
        const RecentShape* one = Recall(KeyOf(own, n, true, true, evenOdd, false), own, n, true, true, evenOdd, false);
        if (!one) return nullptr;
        // A kept shape's runs are row by row: so are the ones moved, and the sets joined.
        const size_t mid = all.size();
        for (const SolidRun* r = one->solid; r != one->solid + one->solidCount; ++r) {
            const int x0 = r->x0 + dev[at].x;
            all.push_back(Run{r->dy + dev[at].y, x0, x0 + r->len});
        }
        std::inplace_merge(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(mid), all.end(),
                           RunBefore);
        at += n;
    }
    MakeRoomForShape();
    ShapePixels px;
    px.solid = JoinRuns(all, {});
    return Remember(recent, key, m_shapes.emplace(key, std::move(px)).first->second);
}

const RasterBackend::RecentShape* RasterBackend::Recall(const ShapeKey& key, const POINT* dev, int n, bool fill,
                                                        bool outline, bool evenOdd, bool line) {
    RecentShape& recent = SlotOf(key);
    if (recent.px && recent.key == key) return &recent;
    if (auto it = m_shapes.find(key); it != m_shapes.end()) return Remember(recent, key, it->second);
    MakeRoomForShape();

    // Drawn by cairo as Fill and Stroke draw it, on black, in white, one after the other.
    int minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (int i = 0; i < n; ++i) {
        const POINT& p = dev[i];
        minX = std::min<int>(minX, p.x);
        minY = std::min<int>(minY, p.y);
        maxX = std::max<int>(maxX, p.x);
        maxY = std::max<int>(maxY, p.y);
    }
    const int ox = kShapeMargin - minX, oy = kShapeMargin - minY;
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, maxX - minX + 2 * kShapeMargin + 1,
                                                          maxY - minY + 2 * kShapeMargin + 1);
    cairo_t* cr = cairo_create(scratch);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    auto path = [&](double off) {
        cairo_new_path(cr);
        if (line) {
            // As PolyPolyline draws a thin line: its ends pulled back along it.
            double x0 = dev[0].x + ox, y0 = dev[0].y + oy, x1 = dev[1].x + ox, y1 = dev[1].y + oy;
            PullBack(dev[0], dev[1], x0, y0);
            PullBack(dev[0], dev[1], x1, y1);
            cairo_move_to(cr, x0 + off, y0 + off);
            cairo_line_to(cr, x1 + off, y1 + off);
            return;
        }
        for (int i = 0; i < n; ++i) {
            if (i == 0) cairo_move_to(cr, dev[i].x + ox + off, dev[i].y + oy + off);
            else cairo_line_to(cr, dev[i].x + ox + off, dev[i].y + oy + off);
        }
        cairo_close_path(cr);
    };
    ShapePixels px;
    std::vector<RECT> runs;
    bool ok = true;
    // Black to start with: a new image surface is zero in the colour bytes RunsOf reads, and
    // after a keep only the runs it found are set.
    bool fresh = true;
    auto clear = [&] {
        if (!fresh) {
            unsigned char* data = cairo_image_surface_get_data(scratch);
            const int stride = cairo_image_surface_get_stride(scratch);
            for (const RECT& r : runs)
                std::memset(data + static_cast<size_t>(r.top + oy) * stride + static_cast<size_t>(r.left + ox) * 4, 0,
                            static_cast<size_t>(r.right - r.left) * 4);
            cairo_surface_mark_dirty(scratch);
        }
        fresh = false;
        cairo_set_source_rgb(cr, 1, 1, 1);
    };
    auto keep = [&](std::vector<Run>& out) {
        ok = ok && RunsOf(scratch, ox, oy, runs);
        for (const RECT& r : runs) out.push_back(Run{r.top, r.left, r.right});
    };
    if (fill) {
        clear();
        cairo_set_fill_rule(cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        path(0.0);
        cairo_fill(cr);
        keep(px.fill);
    }
    if (outline && ok) {
        clear();
        cairo_set_line_width(cr, 1);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
        path(0.5);
        cairo_stroke(cr);
        keep(px.outline);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    if (!ok) return nullptr;
    if (fill && outline) {
        // A long shape's runs reach past SolidRun's bytes.
        if (maxX - minX <= kShapeMaxSide && maxY - minY <= kShapeMaxSide) px.solid = JoinRuns(px.fill, px.outline);
        else px.longSolid = JoinedRuns(px.fill, px.outline);
    }
    return Remember(recent, key, m_shapes.emplace(key, std::move(px)).first->second);
}

void RasterBackend::KeepShapes(bool bOn) { g_keepShapes.store(bOn); }

bool RasterBackend::DrawKeptShape(const DCState& st, const POINT* pts, int n) {
    const LOGBRUSH& brush = st.Brush();
    const LOGPEN& pen = st.Pen();
    const UINT penStyle = pen.lopnStyle & PS_STYLE_MASK;
    if ((brush.lbStyle != BS_SOLID && brush.lbStyle != BS_NULL) || (penStyle != PS_SOLID && penStyle != PS_NULL) ||
        pen.lopnWidth.x > 1)
        return false;
    return DrawKeptShape(TargetOf(st), st, pts, n, brush.lbStyle == BS_SOLID, penStyle == PS_SOLID, brush.lbColor,
                         pen.lopnColor);
}

RasterBackend::KeptTarget RasterBackend::TargetOf(const DCState& st) {
    KeptTarget t;
    if (!g_keepShapes.load(std::memory_order_relaxed)) return t;
    GdiBitmapObject* bm = st.bitmap.get();
    if (!bm || !bm->m_pSurface || bm->m_bDib || bm->IsMono() || st.rop2 != R2_COPYPEN || st.hasClip) return t;
    t.bm = bm;
    t.data = cairo_image_surface_get_data(bm->m_pSurface);
    t.stride = cairo_image_surface_get_stride(bm->m_pSurface);
    const RECT b = bm->Bounds();
    t.inner = RECT{b.left + kShapeMargin, b.top + kShapeMargin, b.right - kShapeMargin, b.bottom - kShapeMargin};
    t.evenOdd = st.polyFillMode == ALTERNATE;
    return t;
}

bool RasterBackend::DrawKeptShape(const KeptTarget& t, const DCState& st, const POINT* pts, int n, bool fill,
                                  bool outline, COLORREF fillColor, COLORREF penColor, ShapeRun* run,
                                  const int* parts, int nParts) {
    if (!t.data || n < 3 || n > kShapeMaxPoints) return false;
    POINT dev[kShapeMaxPoints] = {};  // zeros after n, as KeyOf reads them
    const POINT first = st.ToDevice(pts[0]);
    RECT box{first.x, first.y, first.x, first.y};
    for (int i = 0; i < n; ++i) {
        const POINT p = st.ToDevice(pts[i]);
        dev[i] = POINT{p.x - first.x, p.y - first.y};
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    // Whole inside the picture with the shape's margin: nothing of it is cut at the border.
    if (box.left < t.inner.left || box.top < t.inner.top || box.right >= t.inner.right || box.bottom >= t.inner.bottom)
        return false;
    const int w = box.right - box.left, h = box.bottom - box.top;
    const bool isLong = w > kShapeMaxSide || h > kShapeMaxSide;
    if (isLong && (parts || n > kLongShapeMaxPoints || w > kLongShapeMaxSide || h > kLongShapeMaxSide ||
                   (w + 1) * (h + 1) > (kShapeMaxSide + 1) * (kShapeMaxSide + 1)))
        return false;
    ShapeKey key = isLong ? LongKeyOf(dev, n, fill, outline, t.evenOdd) : KeyOf(dev, n, fill, outline, t.evenOdd, false);
    const RecentShape* kept;
    if (parts) {
        GroupKey(key, parts, nParts);
        kept = RecallGroup(key, dev, parts, nParts, t.evenOdd);
    } else {
        kept = Recall(key, dev, n, fill, outline, t.evenOdd, false);
    }
    if (!kept) return false;
    GdiBitmapObject* bm = t.bm;
    if (m_cr && !(run && run->started)) cairo_surface_flush(bm->m_pSurface);
    if (fill && outline && fillColor == penColor) {
        if (isLong) PaintRuns(t, first, kept->px->longSolid, fillColor);
        else PaintSolid(t, first, kept->solid, kept->solidCount, fillColor);
    } else {
        if (fill) PaintRuns(t, first, kept->px->fill, fillColor);
        if (outline) PaintRuns(t, first, kept->px->outline, penColor);
    }
    if (!run) {
        MarkDirty(*bm, box);
    } else if (!run->started) {
        run->started = true;
        run->dirty = box;
    } else {
        run->dirty = Bound(run->dirty, box);
    }
    return true;
}

BOOL RasterBackend::SolidPolygon(const DCState& st, const POINT* pts, int n, COLORREF c) {
    return pts && DrawKeptShape(TargetOf(st), st, pts, n, true, true, c, c);
}

int RasterBackend::SolidPolygons(const DCState& st, const POINT* pts, const int* counts, const COLORREF* colors,
                                 int polys) {
    if (!pts) return 0;
    ShapeRun run;
    const KeptTarget t = TargetOf(st);
    const int k = DrawKeptSolids(t, st, pts, counts, colors, polys, run);
    if (run.started) MarkDirty(*st.bitmap.get(), run.dirty);
    return k;
}

int RasterBackend::DrawKeptSolids(const KeptTarget& t, const DCState& st, const POINT* pts, const int* counts,
                                  const COLORREF* colors, int polys, ShapeRun& run) {
    int k = 0;
    while (k < polys) {
        // Polygons of one colour next to each other, a kept shape's points in all, as one shape:
        // a face inside one band comes as a few such polygons.
        int j = k + 1, total = counts[k];
        if (counts[k] >= 3)
            while (j < polys && colors[j] == colors[k] && counts[j] >= 3 && total + counts[j] <= kShapeMaxPoints)
                total += counts[j++];
        if (j - k > 1 &&
            DrawKeptShape(t, st, pts, total, true, true, colors[k], colors[k], &run, counts + k, j - k)) {
            pts += total;
            k = j;
            continue;
        }
        // Too large together, or not kept: one by one.
        for (; k < j; ++k) {
            if (!DrawKeptShape(t, st, pts, counts[k], true, true, colors[k], colors[k], &run)) return k;
            pts += counts[k];
        }
    }
    return k;
}

void RasterBackend::SolidFaces(const DCState& st, SolidFaceRun& r) {
    const KeptTarget t = TargetOf(st);
    if (!t.data) return;
    ShapeRun run;
    // The fills' box is marked before lines are drawn, as a call of their own would mark it.
    auto markFills = [&] {
        if (run.started) MarkDirty(*t.bm, run.dirty);
        run = ShapeRun{};
    };
    while (!r.Done()) {
        const int polys = r.facePolys[r.face] - r.poly;
        const int drawn = DrawKeptSolids(t, st, r.pts + r.ptAt, r.counts + r.polyAt, r.colors + r.polyAt, polys, run);
        for (int k = 0; k < drawn; ++k) r.PassPolygon();
        if (drawn < polys) return markFills();
        const int lines = r.faceLines[r.face];
        if (lines > 0) {
            markFills();
            if (!r.segs || !LineSegments(st, r.segs + r.segAt, lines)) return;
        }
        r.PassLines();
    }
    markFills();
}

namespace {
// Thin lines kept in the table by direction: up to this many pixels each way (learning one
// costs a stroke on a scratch picture, and longer directions come seldom twice).
constexpr int kLineMaxSide = 64;
static_assert(kLineMaxSide <= kShapeMaxSide, "a table line is a kept shape");
constexpr int kLineSide = 2 * kLineMaxSide + 1;  // directions per row of the line table
}  // namespace

RasterBackend::LineShape RasterBackend::LearnLine(int dx, int dy) {
    LineShape& line = m_lineShapes[static_cast<size_t>((dy + kLineMaxSide) * kLineSide + dx + kLineMaxSide)];
    const POINT dev[2] = {POINT{0, 0}, POINT{dx, dy}};
    const ShapePixels* shape = ShapeOf(dev, 2, false, true, false, true);
    line.count = -1;
    if (!shape) return line;
    line.first = static_cast<int>(m_linePixels.size());
    for (const Run& r : shape->outline)
        for (int x = r.x0; x < r.x1; ++x)
            m_linePixels.push_back(static_cast<std::int32_t>(r.dy * m_lineStride + x));
    // Painting a pixel twice paints it the same.
    while (m_linePixels.size() > static_cast<size_t>(line.first) && (m_linePixels.size() - line.first) % 4)
        m_linePixels.push_back(m_linePixels.back());
    line.count = static_cast<int>(m_linePixels.size()) - line.first;
    return line;
}

RasterBackend::LineShape RasterBackend::LearnPair(int dx, int dy) {
    const size_t at = static_cast<size_t>((dy + kLineMaxSide) * kLineSide + dx + kLineMaxSide);
    auto lineAt = [&](int x, int y) {
        const LineShape l = m_lineShapes[static_cast<size_t>((y + kLineMaxSide) * kLineSide + x + kLineMaxSide)];
        return l.count == -2 ? LearnLine(x, y) : l;
    };
    const LineShape there = lineAt(dx, dy), back = lineAt(-dx, -dy);
    LineShape& pair = m_pairShapes[at];
    pair.count = -1;
    if (there.count < 0 || back.count < 0) return pair;
    // The way back starts at the far end.
    const std::int32_t farEnd = static_cast<std::int32_t>(dy * m_lineStride + dx);
    std::vector<std::int32_t> both(m_linePixels.begin() + there.first, m_linePixels.begin() + there.first + there.count);
    for (int i = 0; i < back.count; ++i) both.push_back(m_linePixels[static_cast<size_t>(back.first + i)] + farEnd);
    std::sort(both.begin(), both.end());
    both.erase(std::unique(both.begin(), both.end()), both.end());
    pair.first = static_cast<int>(m_linePixels.size());
    m_linePixels.insert(m_linePixels.end(), both.begin(), both.end());
    // Painting a pixel twice paints it the same.
    while (m_linePixels.size() > static_cast<size_t>(pair.first) && (m_linePixels.size() - pair.first) % 4)
        m_linePixels.push_back(m_linePixels.back());
    pair.count = static_cast<int>(m_linePixels.size()) - pair.first;
    return pair;
}

namespace {

// The black scratch picture long lines are learned on, one per thread, made on the first: a
// learned line's pixels are cleared again where they were read, so the next line starts on black
// without clearing the whole picture.
struct LongLineScratch {
    cairo_surface_t* surface = nullptr;
    ~LongLineScratch() {
        if (surface) cairo_surface_destroy(surface);
    }
};
thread_local LongLineScratch t_longScratch;

}  // namespace

RasterBackend::LineShape RasterBackend::LearnLongLine(int dx, int dy) {
    LineShape line;
    line.count = -1;
    // Stroked by cairo as StrokeLines strokes a thin line (its ends pulled back along it, on
    // pixel centres), on the black scratch picture with the shape's margin round it.
    const int side = kLongLineSide + 2 * kShapeMargin + 1;
    if (!t_longScratch.surface) {
        // A new image surface is all zero (black).
        t_longScratch.surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, side, side);
        if (cairo_surface_status(t_longScratch.surface) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(t_longScratch.surface);
            t_longScratch.surface = nullptr;
            return line;
        }
    }
    cairo_surface_t* scratch = t_longScratch.surface;
    const int ox = kShapeMargin + std::max(0, -dx), oy = kShapeMargin + std::max(0, -dy);
    const int w = std::abs(dx) + 2 * kShapeMargin + 1, h = std::abs(dy) + 2 * kShapeMargin + 1;
    cairo_t* cr = cairo_create(scratch);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    const POINT from{0, 0}, to{dx, dy};
    double x0 = ox, y0 = oy, x1 = ox + dx, y1 = oy + dy;
    PullBack(from, to, x0, y0);
    PullBack(from, to, x1, y1);
    cairo_move_to(cr, x0 + 0.5, y0 + 0.5);
    cairo_line_to(cr, x1 + 0.5, y1 + 0.5);
    cairo_stroke(cr);
    cairo_destroy(cr);
    cairo_surface_flush(scratch);
    // A 1-pixel line's pixels have their centres within half a pixel of it: each row is read
    // (and cleared) only where the line passes, with room to spare, not across the picture.
    unsigned char* data = cairo_image_surface_get_data(scratch);
    const int stride = cairo_image_surface_get_stride(scratch);
    const size_t first = m_longPixels.size();
    bool ok = true;
    const double ax = ox + 0.5, ay = oy + 0.5;
    for (int y = 0; y < h; ++y) {
        const double yc = y + 0.5;
        double lo, hi;  // x of the line where it is within 3 pixels of the row
        if (dy == 0) {
            if (std::abs(yc - ay) > 3) continue;
            lo = std::min(ax, ax + dx);
            hi = std::max(ax, ax + dx);
        } else {
            double t0 = (yc - 3 - ay) / dy, t1 = (yc + 3 - ay) / dy;
            if (t0 > t1) std::swap(t0, t1);
            t0 = std::max(t0, 0.0);
            t1 = std::min(t1, 1.0);
            if (t0 > t1) continue;
            lo = std::min(ax + t0 * dx, ax + t1 * dx);
            hi = std::max(ax + t0 * dx, ax + t1 * dx);
        }
        const int xa = std::max(0, static_cast<int>(lo) - 3), xb = std::min(w, static_cast<int>(hi) + 4);
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = xa; x < xb; ++x) {
            if (!(row[x] & 0xffffff)) continue;
            // Never at the edge of what is read: the line lies whole inside it.
            if (x == xa || x == xb - 1 || y == 0 || y == h - 1) ok = false;
            m_longPixels.push_back(static_cast<std::int32_t>((y - oy) * m_lineStride + (x - ox)));
        }
        std::fill(row + xa, row + xb, 0u);
    }
    // A line reaching the edge of what was read may have left pixels beyond: all black again.
    if (!ok) std::memset(data, 0, static_cast<size_t>(stride) * side);
    cairo_surface_mark_dirty(scratch);
    if (!ok) {
        m_longPixels.resize(first);
        return line;
    }
    // Painting a pixel twice paints it the same.
    while (m_longPixels.size() > first && (m_longPixels.size() - first) % 4) m_longPixels.push_back(m_longPixels.back());
    line.first = static_cast<int>(first);
    line.count = static_cast<int>(m_longPixels.size() - first);
    return line;
}

bool RasterBackend::DrawKeptLines(const DCState& st, const POINT* pts, int lines, bool bothWays) {
    return bothWays ? DrawKeptLinesOf<true>(st, pts, lines) : DrawKeptLinesOf<false>(st, pts, lines);
}

template <bool bothWays>
bool RasterBackend::DrawKeptLinesOf(const DCState& st, const POINT* pts, int lines) {
    m_restPts.clear();
    m_restCounts.clear();
    if (!g_keepShapes.load(std::memory_order_relaxed)) return false;
    GdiBitmapObject* bm = st.bitmap.get();
    if (!bm || !bm->m_pSurface || bm->m_bDib || bm->IsMono()) return false;
    const LOGPEN& pen = st.Pen();
    if (st.rop2 != R2_COPYPEN || st.hasClip || (pen.lopnStyle & PS_STYLE_MASK) != PS_SOLID || pen.lopnWidth.x > 1)
        return false;
    // Every line is opaque in the one colour of the pen: the picture is the same whichever
    // order they are drawn in, so the lines a kept shape cannot serve (long, at the border) are
    // left to the caller's strokes afterwards.
    const RECT b = bm->Bounds();
    // A line's ends both inside this box (the picture less the shape's margin) keep all of its
    // pixels and their margin inside the picture.
    const RECT inner{b.left + kShapeMargin, b.top + kShapeMargin, b.right - kShapeMargin, b.bottom - kShapeMargin};
    // Opaque colour over RGB24 pixels, as cairo writes it, straight into the rows.
    const uint32_t colour = 0xff000000u | ToPixel(pen.lopnColor);
    uint32_t* const data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(bm->m_pSurface));
    const std::ptrdiff_t stride =
        cairo_image_surface_get_stride(bm->m_pSurface) / static_cast<std::ptrdiff_t>(sizeof(uint32_t));
    if (SpareTables* spare = Spare(); spare && m_lineShapes.empty() && !spare->lines.empty()) {
        m_lineShapes.swap(spare->lines);
        m_pairShapes.swap(spare->pairs);
        m_linePixels.swap(spare->linePixels);
        m_longPixels.swap(spare->longPixels);
        m_longLines.swap(spare->longLines);
        m_lineStride = spare->stride;
    }
    if (stride != m_lineStride || m_lineShapes.empty()) {
        m_lineShapes.assign(static_cast<size_t>(kLineSide * kLineSide), LineShape{});
        m_pairShapes.assign(static_cast<size_t>(kLineSide * kLineSide), LineShape{});
        m_linePixels.clear();
        m_longLines.clear();
        m_longPixels.clear();
        m_lineStride = stride;
    }
    constexpr size_t kCentre = static_cast<size_t>(kLineMaxSide * kLineSide + kLineMaxSide);
    const LineShape* const shapes = (bothWays ? m_pairShapes.data() : m_lineShapes.data()) + kCentre;
    const std::int32_t* pixels = m_linePixels.data();
    // The mapping read once: the pixels written below could otherwise be the state's numbers.
    const POINT vOrg = st.viewportOrg, wOrg = st.windowOrg;
    bool painted = false;
    RECT dirty{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    auto paint = [&](POINT at, const std::int32_t* o, int count) {
        if (!painted && m_cr) cairo_surface_flush(bm->m_pSurface);
        painted = true;
        uint32_t* const to = data + at.y * stride + at.x;
        for (const std::int32_t* end = o + count; o != end; o += 4) {
            to[o[0]] = colour;
            to[o[1]] = colour;
            to[o[2]] = colour;
            to[o[3]] = colour;
        }
    };
    auto rest = [&](POINT from, POINT to) {
        m_restPts.push_back(from);
        m_restPts.push_back(to);
        m_restCounts.push_back(2);
    };
    // A long line (up to kLongLineSide each way) from its kept shape: false when not kept (yet).
    auto paintLong = [&](POINT p, int dx, int dy) {
        const std::uint32_t key =
            static_cast<std::uint32_t>(dx + kLongLineSide) << 16 | static_cast<std::uint32_t>(dy + kLongLineSide);
        if (m_longPixels.size() >= kMaxLongPixels) {
            m_longLines.clear();
            m_longPixels.clear();
        }
        // Until kept, first counts the times the direction came.
        LineShape& known = m_longLines[key];
        if (known.count == -2 && ++known.first >= kLongLineLearnAfter) known = LearnLongLine(dx, dy);
        if (known.count < 0) return false;
        paint(p, m_longPixels.data() + known.first, known.count);
        return true;
    };
    for (int k = 0; k < lines; ++k) {
        POINT a = pts[2 * k], z = pts[2 * k + 1];
        POINT p{a.x - wOrg.x + vOrg.x, a.y - wOrg.y + vOrg.y};
        POINT q{z.x - wOrg.x + vOrg.x, z.y - wOrg.y + vOrg.y};
        int dx = q.x - p.x, dy = q.y - p.y;
        // A line and its way back are looked up from the end that makes the pair's direction.
        if (bothWays && (dy < 0 || (dy == 0 && dx < 0))) {
            std::swap(a, z);
            std::swap(p, q);
            dx = -dx;
            dy = -dy;
        }
        bool drawn = false, left = false;  // left: its lines are in the rest already
        if (std::min(p.x, q.x) >= inner.left && std::min(p.y, q.y) >= inner.top && std::max(p.x, q.x) < inner.right &&
            std::max(p.y, q.y) < inner.bottom) {
            if (std::abs(dx) <= kLineMaxSide && std::abs(dy) <= kLineMaxSide) {
                LineShape line = shapes[dy * kLineSide + dx];
                if (line.count == -2) {
                    line = bothWays ? LearnPair(dx, dy) : LearnLine(dx, dy);
                    pixels = m_linePixels.data();
                }
                if (line.count >= 0) {
                    paint(p, pixels + line.first, line.count);
                    drawn = true;
                }
            } else if (std::abs(dx) <= kLongLineSide && std::abs(dy) <= kLongLineSide) {
                // Long ones each way on their own.
                drawn = paintLong(p, dx, dy);
                if (!drawn) rest(a, z);
                if (bothWays) {
                    if (paintLong(q, -dx, -dy)) drawn = true;
                    else rest(z, a);
                }
                left = true;
            }
        }
        if (!drawn) {
            if (!left) {
                rest(a, z);
                if (bothWays) rest(z, a);
            }
            continue;
        }
        dirty = RECT{std::min({dirty.left, p.x, q.x}), std::min({dirty.top, p.y, q.y}),
                     std::max({dirty.right, p.x, q.x}), std::max({dirty.bottom, p.y, q.y})};
    }
    if (!painted) {
        m_restPts.clear();
        m_restCounts.clear();
        return false;
    }
    // One dirty box for all of them: marking tells cairo what changed, the pixels are the same.
    MarkDirty(*bm, dirty);
    return true;
}

namespace {

// len (> 0) pixels from p set to v: runs of four and more by 16-byte stores, the last one
// ending at the run's end (overlapping the one before: a pixel written twice is the same).
inline void SetPixels(uint32_t* p, int len, uint32_t v) {
#if defined(__SSE2__)
    if (len >= 4) {
        const __m128i q = _mm_set1_epi32(static_cast<int>(v));
        for (int i = 0; i + 4 < len; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), q);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + len - 4), q);
        return;
    }
#endif
    for (int i = 0; i < len; ++i) p[i] = v;
}

}  // namespace

// Opaque colours over RGB24 pixels, as cairo writes them.
void RasterBackend::PaintRuns(const KeptTarget& t, POINT at, const std::vector<Run>& runs, COLORREF c) {
    const uint32_t v = 0xff000000u | ToPixel(c);
    for (const Run& r : runs) {
        auto* row = reinterpret_cast<uint32_t*>(t.data + static_cast<std::ptrdiff_t>(at.y + r.dy) * t.stride);
        if (r.x1 > r.x0) SetPixels(row + at.x + r.x0, r.x1 - r.x0, v);
    }
}

void RasterBackend::PaintSolid(const KeptTarget& t, POINT at, const SolidRun* runs, int count, COLORREF c) {
    const uint32_t v = 0xff000000u | ToPixel(c);
    unsigned char* const origin = t.data + static_cast<std::ptrdiff_t>(at.y) * t.stride +
                                  static_cast<std::ptrdiff_t>(at.x) * static_cast<std::ptrdiff_t>(sizeof(uint32_t));
    for (const SolidRun* r = runs; r != runs + count; ++r)
        SetPixels(reinterpret_cast<uint32_t*>(origin + r->dy * t.stride) + r->x0, r->len, v);
}

void RasterBackend::MarkDirty(GdiBitmapObject& bm, const RECT& box) {
    cairo_surface_mark_dirty_rectangle(bm.m_pSurface, box.left - kShapeMargin, box.top - kShapeMargin,
                                       box.right - box.left + 2 * kShapeMargin + 1,
                                       box.bottom - box.top + 2 * kShapeMargin + 1);
}

BOOL RasterBackend::Rectangle(const DCState& st, int l, int t, int r, int b) {
    POINT a = st.ToDevice(POINT{std::min(l, r), std::min(t, b)});
    POINT z = st.ToDevice(POINT{std::max(l, r), std::max(t, b)});
    if (z.x - a.x < 1 || z.y - a.y < 1) return TRUE;
    const POINT corners[2] = {POINT{std::min(l, r), std::min(t, b)}, POINT{std::max(l, r), std::max(t, b)}};
    if (!Begin(st, PenBounds(st, corners, 2))) return TRUE;
    // The interior excludes the right and bottom edges; the outline runs through the pixels
    // of the first and last column and row.
    Fill(st, [&](cairo_t* cr) { cairo_rectangle(cr, a.x, a.y, z.x - a.x - 1, z.y - a.y - 1); }, st.Brush(), false);
    Stroke(st, [&](cairo_t* cr) { cairo_rectangle(cr, a.x, a.y, z.x - a.x - 1, z.y - a.y - 1); });
    End(st);
    return TRUE;
}

BOOL RasterBackend::RoundRect(const DCState& st, int l, int t, int r, int b, int ew, int eh) {
    POINT a = st.ToDevice(POINT{std::min(l, r), std::min(t, b)});
    POINT z = st.ToDevice(POINT{std::max(l, r), std::max(t, b)});
    if (z.x - a.x < 1 || z.y - a.y < 1) return TRUE;
    const POINT corners[2] = {POINT{std::min(l, r), std::min(t, b)}, POINT{std::max(l, r), std::max(t, b)}};
    if (!Begin(st, PenBounds(st, corners, 2))) return TRUE;
    const double w = z.x - a.x - 1, h = z.y - a.y - 1;
    const double rx = std::min(std::abs(ew) / 2.0, w / 2), ry = std::min(std::abs(eh) / 2.0, h / 2);
    auto path = [&](cairo_t* cr) {
        if (rx <= 0 || ry <= 0) {
            cairo_rectangle(cr, a.x, a.y, w, h);
            return;
        }
        auto corner = [&](double cx, double cy, double a0, double a1) {
            cairo_save(cr);
            cairo_translate(cr, cx, cy);
            cairo_scale(cr, rx, ry);
            cairo_arc(cr, 0, 0, 1, a0, a1);
            cairo_restore(cr);
        };
        cairo_new_sub_path(cr);
        corner(a.x + w - rx, a.y + ry, -kPi / 2, 0);
        corner(a.x + w - rx, a.y + h - ry, 0, kPi / 2);
        corner(a.x + rx, a.y + h - ry, kPi / 2, kPi);
        corner(a.x + rx, a.y + ry, kPi, 3 * kPi / 2);
        cairo_close_path(cr);
    };
    Fill(st, path, st.Brush(), false);
    Stroke(st, path);
    End(st);
    return TRUE;
}

BOOL RasterBackend::Ellipse(const DCState& st, int l, int t, int r, int b) {
    const RECT box{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
    if (box.right - box.left < 1 || box.bottom - box.top < 1) return TRUE;
    const POINT corners[2] = {POINT{box.left, box.top}, POINT{box.right, box.bottom}};
    if (!Begin(st, PenBounds(st, corners, 2))) return TRUE;
    const POINT a = st.ToDevice(POINT{box.left, box.top});
    const double rx = (box.right - box.left - 1) / 2.0, ry = (box.bottom - box.top - 1) / 2.0;
    const double cx = a.x + rx, cy = a.y + ry;
    // The ellipse path with its centre moved by off pixels.
    auto ellipse = [&](double off) {
        return [&, off](cairo_t* cr) {
            cairo_save(cr);
            cairo_translate(cr, cx + off, cy + off);
            cairo_scale(cr, std::max(rx, 0.01), std::max(ry, 0.01));
            cairo_new_sub_path(cr);
            cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
            cairo_restore(cr);
        };
    };
    // The fill covers pixel centres inside the outline drawn through pixel centres.
    Fill(st, ellipse(0.5), st.Brush(), false);
    Stroke(st, ellipse(0.0));
    End(st);
    return TRUE;
}

BOOL RasterBackend::ArcShape(const DCState& st, int kind, const RECT& boxIn, POINT start, POINT end) {
    const RECT box{std::min(boxIn.left, boxIn.right), std::min(boxIn.top, boxIn.bottom),
                   std::max(boxIn.left, boxIn.right), std::max(boxIn.top, boxIn.bottom)};
    if (box.right - box.left < 2 || box.bottom - box.top < 2) return TRUE;
    const POINT corners[2] = {POINT{box.left, box.top}, POINT{box.right, box.bottom}};
    if (!Begin(st, PenBounds(st, corners, 2))) return TRUE;
    const POINT a = st.ToDevice(POINT{box.left, box.top});
    const double rx = (box.right - box.left - 1) / 2.0, ry = (box.bottom - box.top - 1) / 2.0;
    const double cx = a.x + rx, cy = a.y + ry;
    const POINT s = st.ToDevice(start), e = st.ToDevice(end);
    const double a0 = std::atan2((s.y - cy) / ry, (s.x - cx) / rx);
    const double a1 = std::atan2((e.y - cy) / ry, (e.x - cx) / rx);
    auto path = [&](cairo_t* cr) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        // Counter-clockwise on screen is decreasing angle with y pointing down.
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, 0, 0, 1, a0, a1 >= a0 ? a1 - 2 * kPi : a1);
        if (kind == 2) cairo_line_to(cr, 0, 0);
        if (kind != 0) cairo_close_path(cr);
        cairo_restore(cr);
    };
    if (kind != 0) Fill(st, path, st.Brush(), false);
    Stroke(st, path);
    End(st);
    return TRUE;
}

BOOL RasterBackend::FillRect(const DCState& st, const RECT& rl, const LOGBRUSH& brush) {
    const POINT a = st.ToDevice(POINT{rl.left, rl.top}), z = st.ToDevice(POINT{rl.right, rl.bottom});
    const RECT r{a.x, a.y, z.x, z.y};
    if (Empty(r)) return TRUE;
    if (!Begin(st, r)) return TRUE;
    if (brush.lbStyle != BS_NULL) {
        cairo_rectangle(m_cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
        SetBrushSource(m_cr, st, brush);
        cairo_fill(m_cr);
    }
    End(st);
    return TRUE;
}

BOOL RasterBackend::FillRgn(const DCState& st, const GdiRegion& rgnLogical, const LOGBRUSH& brush) {
    GdiRegion rgn = rgnLogical;
    rgn.Offset(st.ToDeviceX(0), st.ToDeviceY(0));
    RECT box;
    rgn.GetBox(&box);
    if (rgn.IsEmpty() || !Begin(st, box)) return TRUE;
    if (brush.lbStyle != BS_NULL) {
        for (const RECT& r : rgn.Rects()) cairo_rectangle(m_cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
        SetBrushSource(m_cr, st, brush);
        cairo_fill(m_cr);
    }
    End(st);
    return TRUE;
}

BOOL RasterBackend::InvertRect(const DCState& st, const RECT& r) {
    return PatBlt(st, r.left, r.top, r.right - r.left, r.bottom - r.top, DSTINVERT);
}

COLORREF RasterBackend::SetPixel(const DCState& st, int x, int y, COLORREF c) {
    GdiBitmapObject* bm = st.bitmap.get();
    const POINT p = st.ToDevice(POINT{x, y});
    if (!bm || (st.hasClip && !st.clip.Contains(p.x, p.y))) return CLR_INVALID;
    const RECT r{p.x, p.y, p.x + 1, p.y + 1};
    if (Empty(Intersect(r, bm->Bounds()))) return CLR_INVALID;
    bm->SyncIn(r);
    bm->SetPixel(p.x, p.y, c);
    bm->SyncOut(r);
    return bm->GetPixel(p.x, p.y);
}

COLORREF RasterBackend::GetPixel(const DCState& st, int x, int y) {
    GdiBitmapObject* bm = st.bitmap.get();
    const POINT p = st.ToDevice(POINT{x, y});
    if (!bm || (st.hasClip && !st.clip.Contains(p.x, p.y))) return CLR_INVALID;
    const RECT r{p.x, p.y, p.x + 1, p.y + 1};
    bm->SyncIn(r);
    return bm->GetPixel(p.x, p.y);
}

// A turned text's minus drawn again as a bar at least 1.5 px thick and three quarters of a
// digit long along its baseline: unsmoothed, the thin glyph of a turned text keeps only 2 or 3 pixels, and "-26.388"
// reads ".26.388". The cairo context stands in the text's turned frame.
void RasterBackend::ThickenMinus(cairo_scaled_font_t* font, const cairo_glyph_t* glyphs, int n,
                                 const std::string& text) {
    if (text.find('-') == std::string::npos) return;
    cairo_glyph_t* minus = nullptr;
    int nm = 0;
    if (cairo_scaled_font_text_to_glyphs(font, 0, 0, "-", 1, &minus, &nm, nullptr, nullptr, nullptr) !=
            CAIRO_STATUS_SUCCESS ||
        nm != 1) {
        if (minus) cairo_glyph_free(minus);
        return;
    }
    cairo_text_extents_t e;
    cairo_scaled_font_glyph_extents(font, minus, 1, &e);
    const unsigned long index = minus[0].index;
    cairo_glyph_free(minus);
    if (e.width <= 0) return;
    cairo_text_extents_t zero;  // a minus as long as three quarters of a digit's advance
    cairo_scaled_font_text_extents(font, "0", &zero);
    const double t = std::max(e.height, 1.5), len = std::max({e.width, 0.75 * zero.x_advance, 4.0});
    bool any = false;
    for (int i = 0; i < n; ++i) {
        if (glyphs[i].index != index) continue;
        const double cx = glyphs[i].x + e.x_bearing + e.width / 2, cy = glyphs[i].y + e.y_bearing + e.height / 2;
        cairo_rectangle(m_cr, cx - len / 2, cy - t / 2, len, t);
        any = true;
    }
    if (any) cairo_fill(m_cr);
}

BOOL RasterBackend::ExtTextOut(const DCState& st, int x, int y, UINT options, const RECT* rect,
                               const std::string& raw, const int* dx) {
    const std::string text = Utf8Sanitize(raw);
    auto font = FontEngine::Instance().Get(st.Font());
    const TEXTMETRIC& tm = font->tm;
    const POINT org = st.ToDevice(POINT{x, y});

    // Glyphs laid out on an upright baseline at the origin.
    cairo_glyph_t* glyphs = nullptr;
    int n = 0;
    double width = 0;
    if (!text.empty()) {
        if (cairo_scaled_font_text_to_glyphs(font->scaled, 0, 0, text.c_str(), static_cast<int>(text.size()), &glyphs,
                                             &n, nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS) {
            glyphs = nullptr;
            n = 0;
        }
        cairo_text_extents_t ext;
        cairo_scaled_font_glyph_extents(font->scaled, glyphs, n, &ext);
        width = std::floor(ext.x_advance + 0.5);
        if (dx) {
            double pos = 0;
            for (int i = 0; i < n; ++i) {
                glyphs[i].x = pos;
                pos += dx[i];
            }
            width = pos;
        }
    }
    const double esc = st.Font().lfEscapement * kPi / 1800.0;
    double ox = 0, by = 0;
    const UINT ha = st.textAlign & (TA_LEFT | TA_RIGHT | TA_CENTER);
    if (ha == TA_CENTER) ox = -std::floor(width / 2);
    else if (ha == TA_RIGHT) ox = -width;
    const UINT va = st.textAlign & (TA_TOP | TA_BOTTOM | TA_BASELINE);
    if (va == TA_BASELINE) by = 0;
    else if (va == TA_BOTTOM) by = -tm.tmDescent;
    else by = tm.tmAscent;

    // Device bounds of the text cell, rotated, with room for overhanging glyphs.
    const double cs = std::cos(esc), sn = std::sin(esc);
    const double margin = tm.tmHeight + 2;
    const double cellX[2] = {ox - margin, ox + width + margin};
    const double cellY[2] = {by - tm.tmAscent - margin, by + tm.tmDescent + margin};
    RECT bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (double cxv : cellX)
        for (double cyv : cellY) {
            const double X = org.x + cxv * cs + cyv * sn, Y = org.y - cxv * sn + cyv * cs;
            bounds.left = std::min<LONG>(bounds.left, static_cast<LONG>(std::floor(X)));
            bounds.top = std::min<LONG>(bounds.top, static_cast<LONG>(std::floor(Y)));
            bounds.right = std::max<LONG>(bounds.right, static_cast<LONG>(std::ceil(X)) + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, static_cast<LONG>(std::ceil(Y)) + 1);
        }
    RECT devRect{0, 0, 0, 0};
    if (rect) {
        const POINT a = st.ToDevice(POINT{rect->left, rect->top}), z = st.ToDevice(POINT{rect->right, rect->bottom});
        devRect = RECT{a.x, a.y, z.x, z.y};
        if (options & ETO_OPAQUE) {
            bounds = Bound(bounds, devRect);
        }
        if (options & ETO_CLIPPED) bounds = Intersect(bounds, devRect);
    }
    if (!Begin(st, bounds)) {
        if (glyphs) cairo_glyph_free(glyphs);
        return TRUE;
    }
    if (rect && (options & ETO_OPAQUE) && !Empty(devRect)) {
        cairo_rectangle(m_cr, devRect.left, devRect.top, devRect.right - devRect.left, devRect.bottom - devRect.top);
        SetColor(m_cr, st.bkColor);
        cairo_fill(m_cr);
    }
    if (rect && (options & ETO_CLIPPED)) {
        cairo_rectangle(m_cr, devRect.left, devRect.top, devRect.right - devRect.left, devRect.bottom - devRect.top);
        cairo_clip(m_cr);
    }
    cairo_translate(m_cr, org.x, org.y);
    cairo_rotate(m_cr, -esc);
    if (st.bkMode == OPAQUE && width > 0) {
        cairo_rectangle(m_cr, ox, by - tm.tmAscent, width, tm.tmHeight);
        SetColor(m_cr, st.bkColor);
        cairo_fill(m_cr);
    }
    SetColor(m_cr, st.textColor);
    if (n > 0) {
        for (int i = 0; i < n; ++i) {
            glyphs[i].x += ox;
            glyphs[i].y = by;
        }
        cairo_set_font_face(m_cr, font->face);
        cairo_set_font_matrix(m_cr, &font->fontMatrix);
        cairo_set_font_options(m_cr, font->options);
        cairo_show_glyphs(m_cr, glyphs, n);
        if (std::fmod(st.Font().lfEscapement, 900) != 0) ThickenMinus(font->scaled, glyphs, n, text);
    }
    if (width > 0 && (font->underline || font->strikeOut)) {
        if (font->underline) cairo_rectangle(m_cr, ox, by + font->underlinePos, width, font->lineThickness);
        if (font->strikeOut) cairo_rectangle(m_cr, ox, by - std::floor(tm.tmAscent / 3.0), width, font->lineThickness);
        cairo_fill(m_cr);
    }
    if (glyphs) cairo_glyph_free(glyphs);
    End(st);
    return TRUE;
}

BOOL RasterBackend::Blit(const DCState& st, int x, int y, int cx, int cy, const uint32_t* srcPix, int srcW, int srcH,
                         int xs, int ys, int cxs, int cys, DWORD rop, bool srcMono, COLORREF srcBk, int alpha) {
    GdiBitmapObject* bm = st.bitmap.get();
    if (!bm) return FALSE;
    // Mirrored extents: flip to positive sizes and remember the direction.
    bool flipX = false, flipY = false;
    if (cx < 0) { x += cx; cx = -cx; flipX = !flipX; }
    if (cy < 0) { y += cy; cy = -cy; flipY = !flipY; }
    if (cxs < 0) { xs += cxs; cxs = -cxs; flipX = !flipX; }
    if (cys < 0) { ys += cys; cys = -cys; flipY = !flipY; }
    if (cx == 0 || cy == 0) return TRUE;
    const POINT d = st.ToDevice(POINT{x, y});
    const RECT dest{d.x, d.y, d.x + cx, d.y + cy};
    const RECT area = Intersect(dest, bm->Bounds());
    if (Empty(area)) return TRUE;
    const std::vector<RECT> rects = ClipRects(st, area);
    if (rects.empty()) return TRUE;
    bm->SyncIn(area);
    cairo_surface_flush(bm->m_pSurface);

    const unsigned code = (rop >> 16) & 0xff;
    const bool useSrc = srcPix && (alpha >= 0 || RopUsesSource(code));
    const bool dstMono = bm->IsMono();
    const uint32_t pat = ToPixel(st.Brush().lbStyle == BS_NULL ? RGB(0, 0, 0) : st.Brush().lbColor);
    const uint32_t fg = ToPixel(st.textColor), bg = ToPixel(st.bkColor), sbk = ToPixel(srcBk);
    // A straight copy of colour pixels at their size (the double buffer's swap).
    const bool plainCopy = useSrc && alpha < 0 && code == 0xCC && !srcMono && !dstMono && !flipX && cx == cxs;
    for (const RECT& r : rects) {
        for (int py = r.top; py < r.bottom; ++py) {
            uint32_t* row = bm->Row(py);
            int sy = 0;
            if (useSrc) {
                int oy = py - dest.top;
                if (flipY) oy = cy - 1 - oy;
                sy = ys + static_cast<int>((static_cast<long long>(oy) * cys) / cy);
                if (sy < 0 || sy >= srcH) continue;
            }
            if (plainCopy) {
                // One source pixel per destination pixel, copied as the loop below would.
                const int from = std::max(r.left, dest.left - xs), to = std::min(r.right, dest.left - xs + srcW);
                const uint32_t* src = srcPix + static_cast<size_t>(sy) * srcW + (xs - dest.left);
                for (int px = from; px < to; ++px) row[px] = src[px] & 0xffffff;
                continue;
            }
            for (int px = r.left; px < r.right; ++px) {
                uint32_t s = 0;
                if (useSrc) {
                    int ox = px - dest.left;
                    if (flipX) ox = cx - 1 - ox;
                    const int sx = xs + static_cast<int>((static_cast<long long>(ox) * cxs) / cx);
                    if (sx < 0 || sx >= srcW) continue;
                    s = srcPix[static_cast<size_t>(sy) * srcW + sx] & 0xffffff;
                    if (srcMono && !dstMono) s = (GdiLuma(s) >= 128) ? bg : fg;
                    else if (!srcMono && dstMono) s = (s == sbk) ? 0xffffff : 0;
                }
                uint32_t& dp = row[px];
                if (alpha >= 0) {
                    const uint32_t dv = dp;
                    uint32_t out = 0;
                    for (int shift = 0; shift <= 16; shift += 8) {
                        const int sc = (s >> shift) & 0xff, dc = (dv >> shift) & 0xff;
                        const int v = (sc * alpha + dc * (255 - alpha) + 127) / 255;
                        out |= static_cast<uint32_t>(v) << shift;
                    }
                    dp = out;
                } else {
                    dp = Rop3(code, pat, s, dp & 0xffffff);
                }
            }
        }
    }
    cairo_surface_mark_dirty_rectangle(bm->m_pSurface, area.left, area.top, area.right - area.left,
                                       area.bottom - area.top);
    bm->SyncOut(area);
    return TRUE;
}

BOOL RasterBackend::StretchBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                               int cxs, int cys, DWORD rop) {
    const unsigned code = (rop >> 16) & 0xff;
    GdiBitmapObject* sb = src.Bitmap();
    if (!RopUsesSource(code)) return Blit(st, x, y, cx, cy, nullptr, 0, 0, 0, 0, cx, cy, rop, false, 0, -1);
    if (!sb) return FALSE;
    // Copy the part of the source area inside the source bitmap first, so that a DC can blit
    // onto itself; destination pixels whose source lies outside the bitmap are left alone.
    const POINT s0 = src.state->ToDevice(POINT{std::min(xs, xs + cxs), std::min(ys, ys + cys)});
    const int w = std::abs(cxs), h = std::abs(cys);
    const RECT sr = Intersect(RECT{s0.x, s0.y, s0.x + w, s0.y + h}, sb->Bounds());
    if (Empty(sr)) return TRUE;
    sb->SyncIn(sr);
    cairo_surface_flush(sb->m_pSurface);
    const int bw = sr.right - sr.left, bh = sr.bottom - sr.top;
    // Whole rows of another bitmap are read where they lie (its rows follow one another).
    const uint32_t* pix = nullptr;
    std::unique_ptr<uint32_t[]> buf;
    if (sb != st.bitmap.get() && bw == sb->m_nWidth && (bh == 1 || sb->Row(1) - sb->Row(0) == bw)) {
        pix = sb->Row(sr.top);
    } else {
        buf = std::make_unique_for_overwrite<uint32_t[]>(static_cast<size_t>(bw) * bh);
        for (int yy = sr.top; yy < sr.bottom; ++yy) {
            const uint32_t* row = sb->Row(yy);
            std::copy(row + sr.left, row + sr.right, &buf[static_cast<size_t>(yy - sr.top) * bw]);
        }
        pix = buf.get();
    }
    const int ox = s0.x - sr.left, oy = s0.y - sr.top;  // source area origin in the copy (<= 0)
    return Blit(st, x, y, cx, cy, pix, bw, bh, ox + (cxs < 0 ? w : 0), oy + (cys < 0 ? h : 0), cxs, cys, rop,
                sb->IsMono(), src.state->bkColor, -1);
}

int RasterBackend::StretchDIBits(const DCState& st, int x, int y, int cx, int cy, int xs, int ys, int cxs, int cys,
                                 const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop) {
    if (!bits || !bmi || usage != DIB_RGB_COLORS) return 0;
    std::vector<uint32_t> pix;
    int w = 0, h = 0;
    if (!GdiReadDib(bits, bmi, pix, w, h)) return 0;
    // Source y counts from the bottom row for bottom-up DIBs.
    const int syTop = bmi->bmiHeader.biHeight > 0 ? h - (ys + cys) : ys;
    if (!Blit(st, x, y, cx, cy, pix.data(), w, h, xs, syTop, cxs, cys, rop, false, 0, -1)) return 0;
    return cys < 0 ? -cys : cys;
}

BOOL RasterBackend::AlphaBlend(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                               int cxs, int cys, BLENDFUNCTION blend) {
    GdiBitmapObject* sb = src.Bitmap();
    if (!sb || blend.BlendOp != AC_SRC_OVER || cx < 0 || cy < 0 || cxs < 0 || cys < 0) return FALSE;
    if (blend.AlphaFormat & AC_SRC_ALPHA) {
        AfxDiagnostic("gdi", "AlphaBlend with per-pixel alpha is not supported; use a constant alpha");
        return FALSE;
    }
    const POINT s0 = src.state->ToDevice(POINT{xs, ys});
    // The source rectangle must lie inside the source bitmap, as on the platform.
    if (s0.x < 0 || s0.y < 0 || s0.x + cxs > sb->m_nWidth || s0.y + cys > sb->m_nHeight) return FALSE;
    if (cxs == 0 || cys == 0) return TRUE;
    const RECT sr{s0.x, s0.y, s0.x + cxs, s0.y + cys};
    sb->SyncIn(sr);
    cairo_surface_flush(sb->m_pSurface);
    std::vector<uint32_t> buf(static_cast<size_t>(cxs) * cys);
    for (int yy = 0; yy < cys; ++yy) {
        const uint32_t* row = sb->Row(s0.y + yy);
        std::copy(row + s0.x, row + s0.x + cxs, &buf[static_cast<size_t>(yy) * cxs]);
    }
    return Blit(st, x, y, cx, cy, buf.data(), cxs, cys, 0, 0, cxs, cys, SRCCOPY, sb->IsMono(), src.state->bkColor,
                blend.SourceConstantAlpha);
}

BOOL RasterBackend::GradientFill(const DCState& st, const TRIVERTEX* v, ULONG nv, const void* mesh, ULONG nmesh,
                                 ULONG mode) {
    if (!v || !mesh || nv == 0) return FALSE;
    auto rgb = [](const TRIVERTEX& t, double* c) {
        c[0] = (t.Red >> 8) / 255.0;
        c[1] = (t.Green >> 8) / 255.0;
        c[2] = (t.Blue >> 8) / 255.0;
    };
    if (mode == GRADIENT_FILL_TRIANGLE) {
        const auto* tri = static_cast<const GRADIENT_TRIANGLE*>(mesh);
        for (ULONG i = 0; i < nmesh; ++i)
            if (tri[i].Vertex1 >= nv || tri[i].Vertex2 >= nv || tri[i].Vertex3 >= nv) return FALSE;
        GdiBitmapObject* bm = st.bitmap.get();
        if (!bm || !bm->m_pSurface) return TRUE;
        // What the pixels depend on: the picture's bounds, the clip, the triangles.
        const RECT bounds = bm->Bounds();
        RECT reach = bounds;
        std::vector<int> key{bounds.left, bounds.top, bounds.right, bounds.bottom, st.hasClip ? 1 : 0};
        if (st.hasClip) {
            RECT box;
            st.clip.GetBox(&box);
            reach = Intersect(reach, box);
            for (const RECT& r : st.clip.Rects()) key.insert(key.end(), {r.left, r.top, r.right, r.bottom});
        }
        RECT box{0, 0, 0, 0};
        std::vector<POINT> pts(3 * size_t{nmesh});  // device corners, three a triangle
        for (ULONG i = 0; i < nmesh; ++i) {
            RECT b{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
            const ULONG corners[3] = {tri[i].Vertex1, tri[i].Vertex2, tri[i].Vertex3};
            for (int c = 0; c < 3; ++c) {
                const TRIVERTEX& t = v[corners[c]];
                const POINT p = pts[3 * i + c] = st.ToDevice(POINT{t.x, t.y});
                key.insert(key.end(), {p.x, p.y, t.Red >> 8, t.Green >> 8, t.Blue >> 8});
                b = Bound(b, RECT{p.x, p.y, p.x + 1, p.y + 1});
            }
            b = Intersect(b, reach);
            if (!Empty(b)) box = Empty(box) ? b : Bound(box, b);
        }
        if (Empty(box)) return TRUE;
        if (key != m_gradient.key || !m_gradient.surface) {
            // Drawn on a transparent surface over the same device area: a mesh's pixels depend
            // only on the triangles' points relative to that area, so they are those the picture
            // would take directly.
            if (m_gradient.surface) cairo_surface_destroy(m_gradient.surface);
            m_gradient.key.clear();
            m_gradient.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, box.right - box.left, box.bottom - box.top);
            if (cairo_surface_status(m_gradient.surface) != CAIRO_STATUS_SUCCESS) {
                cairo_surface_destroy(m_gradient.surface);
                m_gradient.surface = nullptr;
                return FALSE;
            }
            cairo_surface_set_device_offset(m_gradient.surface, -box.left, -box.top);
            cairo_t* cr = cairo_create(m_gradient.surface);
            cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
            if (st.hasClip) {
                for (const RECT& r : st.clip.Rects()) {
                    const RECT i = Intersect(r, box);
                    if (!Empty(i)) cairo_rectangle(cr, i.left, i.top, i.right - i.left, i.bottom - i.top);
                }
                cairo_clip(cr);
            }
            for (ULONG i = 0; i < nmesh; ++i) {
                const TRIVERTEX* t[3] = {&v[tri[i].Vertex1], &v[tri[i].Vertex2], &v[tri[i].Vertex3]};
                const POINT* p = &pts[3 * i];
                cairo_pattern_t* pat = cairo_pattern_create_mesh();
                cairo_mesh_pattern_begin_patch(pat);
                cairo_mesh_pattern_move_to(pat, p[0].x, p[0].y);
                cairo_mesh_pattern_line_to(pat, p[1].x, p[1].y);
                cairo_mesh_pattern_line_to(pat, p[2].x, p[2].y);
                for (int k = 0; k < 3; ++k) {
                    double c[3];
                    rgb(*t[k], c);
                    cairo_mesh_pattern_set_corner_color_rgb(pat, k, c[0], c[1], c[2]);
                }
                cairo_mesh_pattern_end_patch(pat);
                cairo_move_to(cr, p[0].x, p[0].y);
                cairo_line_to(cr, p[1].x, p[1].y);
                cairo_line_to(cr, p[2].x, p[2].y);
                cairo_close_path(cr);
                cairo_set_source(cr, pat);
                cairo_fill(cr);
                cairo_pattern_destroy(pat);
            }
            cairo_destroy(cr);
            cairo_surface_flush(m_gradient.surface);
            m_gradient.key = std::move(key);
            m_gradient.box = box;
        }
        if (!Begin(st, m_gradient.box)) return TRUE;
        cairo_set_source_surface(m_cr, m_gradient.surface, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(m_cr), CAIRO_FILTER_NEAREST);
        cairo_rectangle(m_cr, m_gradient.box.left, m_gradient.box.top, m_gradient.box.right - m_gradient.box.left,
                        m_gradient.box.bottom - m_gradient.box.top);
        cairo_fill(m_cr);
        End(st);
        return TRUE;
    }
    if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return FALSE;
    const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    for (ULONG i = 0; i < nmesh; ++i)
        if (rects[i].UpperLeft >= nv || rects[i].LowerRight >= nv) return FALSE;
    for (ULONG i = 0; i < nmesh; ++i) {
        const TRIVERTEX& a = v[rects[i].UpperLeft];
        const TRIVERTEX& z = v[rects[i].LowerRight];
        const POINT pa = st.ToDevice(POINT{a.x, a.y}), pz = st.ToDevice(POINT{z.x, z.y});
        const RECT r{std::min(pa.x, pz.x), std::min(pa.y, pz.y), std::max(pa.x, pz.x), std::max(pa.y, pz.y)};
        if (Empty(r) || !Begin(st, r)) continue;
        double ca[3], cz[3];
        rgb(a, ca);
        rgb(z, cz);
        // Colours are at the first and last pixel centres of the rectangle.
        cairo_pattern_t* pat = mode == GRADIENT_FILL_RECT_H
                                   ? cairo_pattern_create_linear(pa.x + 0.5, 0, pz.x - 0.5, 0)
                                   : cairo_pattern_create_linear(0, pa.y + 0.5, 0, pz.y - 0.5);
        cairo_pattern_add_color_stop_rgb(pat, 0, ca[0], ca[1], ca[2]);
        cairo_pattern_add_color_stop_rgb(pat, 1, cz[0], cz[1], cz[2]);
        cairo_rectangle(m_cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
        cairo_set_source(m_cr, pat);
        cairo_fill(m_cr);
        cairo_pattern_destroy(pat);
        End(st);
    }
    return TRUE;
}
