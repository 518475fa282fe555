#include "host/grx/GXgrTapBackend.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/FontEngine.h"
#include "platform/gdi/RasterBackend.h"

GXgrTapBackend::GXgrTapBackend() {
    auto raster = std::make_unique<RasterBackend>();
    m_pLines = raster.get();
    m_pRaster = std::move(raster);
}

GXgrTapBackend::~GXgrTapBackend() { Flush(); }

int GXgrTapBackend::Technology() const { return m_pRaster->Technology(); }

void GXgrTapBackend::OnStateChange(const DCState& st, DCChange what, int arg) {
    // The kept lines draw on the bitmap they were given; draw them before another is selected.
    if (what == DCChange::Bitmap) Flush();
    m_pRaster->OnStateChange(st, what, arg);
}

bool GXgrTapBackend::Batchable(const DCState& st) const {
    return !m_sink && st.rop2 == R2_COPYPEN && !st.hasClip && (st.Pen().lopnStyle & PS_STYLE_MASK) == PS_SOLID;
}

bool GXgrTapBackend::SameLines(const DCState& a, const DCState& b) {
    const LOGPEN& p = a.Pen();
    const LOGPEN& q = b.Pen();
    return p.lopnStyle == q.lopnStyle && p.lopnWidth.x == q.lopnWidth.x && p.lopnColor == q.lopnColor &&
           a.bitmap.get() == b.bitmap.get() && a.viewportOrg.x == b.viewportOrg.x &&
           a.viewportOrg.y == b.viewportOrg.y && a.windowOrg.x == b.windowOrg.x && a.windowOrg.y == b.windowOrg.y;
}

void GXgrTapBackend::KeepLine(const DCState& st, const POINT* pts, int n) {
    if (!m_batchCounts.empty() && !SameLines(m_batchState, st)) Flush();
    if (m_batchCounts.empty()) m_batchState = st;
    m_batchPts.insert(m_batchPts.end(), pts, pts + n);
    m_batchCounts.push_back(n);
    if (m_batchPts.size() >= kMaxBatchPoints) Flush();
}

void GXgrTapBackend::Flush() {
    if (m_batchCounts.empty()) return;
    m_pLines->PolyPolyline(m_batchState, m_batchPts.data(), m_batchCounts.data(), static_cast<int>(m_batchCounts.size()));
    m_batchPts.clear();
    m_batchCounts.clear();
    m_batchState = DCState();
}

template <class F>
BOOL GXgrTapBackend::Keep(const DCState& st, F f) {
    DCState kept = st;
    m_sink([kept, f](DCBackend& target, const DCState& targetState) {
        DCState s = kept;
        s.bitmap = targetState.bitmap;  // draw on the target's picture with the recorded objects
        f(target, s);
    });
    return TRUE;
}

BOOL GXgrTapBackend::LineTo(const DCState& st, int x, int y) {
    if (m_sink) return Keep(st, [x, y](DCBackend& b, const DCState& s) { b.LineTo(s, x, y); });
    if (Batchable(st)) {
        const POINT pts[2] = {st.curPos, POINT{x, y}};
        KeepLine(st, pts, 2);
        return TRUE;
    }
    Flush();
    return m_pRaster->LineTo(st, x, y);
}

BOOL GXgrTapBackend::LineSegments(const DCState& st, const POINT* pts, int n) {
    // Drawn at once after the kept lines: lines of one pen in copy mode make the same pixels
    // however they are grouped, and nothing comes between them. No copy of the state is kept.
    if (m_sink || !Batchable(st)) return FALSE;
    Flush();
    return m_pLines->LineSegments(st, pts, n);
}

BOOL GXgrTapBackend::LineSegmentsBothWays(const DCState& st, const POINT* pts, int n) {
    if (m_sink || !Batchable(st)) return FALSE;
    Flush();
    return m_pLines->LineSegmentsBothWays(st, pts, n);
}

BOOL GXgrTapBackend::KeepPoints(const DCState& st, BOOL (DCBackend::*draw)(const DCState&, const POINT*, int),
                                const POINT* pts, int n) {
    std::vector<POINT> p;
    if (pts && n > 0) p.assign(pts, pts + n);
    return Keep(st, [p, draw](DCBackend& b, const DCState& s) { (b.*draw)(s, p.data(), static_cast<int>(p.size())); });
}

BOOL GXgrTapBackend::Polyline(const DCState& st, const POINT* pts, int n) {
    if (m_sink) return KeepPoints(st, &DCBackend::Polyline, pts, n);
    if (pts && n >= 2 && Batchable(st)) {
        KeepLine(st, pts, n);
        return TRUE;
    }
    Flush();
    return m_pRaster->Polyline(st, pts, n);
}

BOOL GXgrTapBackend::PolylineTo(const DCState& st, const POINT* pts, int n) {
    Flush();
    return m_sink ? KeepPoints(st, &DCBackend::PolylineTo, pts, n) : m_pRaster->PolylineTo(st, pts, n);
}

BOOL GXgrTapBackend::Polygon(const DCState& st, const POINT* pts, int n) {
    Flush();
    return m_sink ? KeepPoints(st, &DCBackend::Polygon, pts, n) : m_pRaster->Polygon(st, pts, n);
}

BOOL GXgrTapBackend::SolidPolygon(const DCState& st, const POINT* pts, int n, COLORREF c) {
    // While recording, the caller's Polygon with its objects is what gets kept.
    if (m_sink) return FALSE;
    Flush();
    return m_pRaster->SolidPolygon(st, pts, n, c);
}

int GXgrTapBackend::SolidPolygons(const DCState& st, const POINT* pts, const int* counts, const COLORREF* colors,
                                  int polys) {
    if (m_sink) return 0;
    Flush();
    return m_pRaster->SolidPolygons(st, pts, counts, colors, polys);
}

void GXgrTapBackend::SolidFaces(const DCState& st, SolidFaceRun& run) {
    // While recording, or with lines LineSegments would not take, nothing: the caller draws each
    // polygon and line, which is then kept or drawn as such.
    if (m_sink || !Batchable(st)) return;
    Flush();
    m_pLines->SolidFaces(st, run);
}

BOOL GXgrTapBackend::PolyPolygon(const DCState& st, const POINT* pts, const int* counts, int polys) {
    Flush();
    if (m_sink) {
        std::vector<int> c(counts, counts + std::max(0, polys));
        size_t total = 0;
        for (int k : c) total += static_cast<size_t>(std::max(0, k));
        std::vector<POINT> p(pts, pts + total);
        return Keep(st, [p, c](DCBackend& b, const DCState& s) {
            b.PolyPolygon(s, p.data(), c.data(), static_cast<int>(c.size()));
        });
    }
    return m_pRaster->PolyPolygon(st, pts, counts, polys);
}

BOOL GXgrTapBackend::Rectangle(const DCState& st, int l, int t, int r, int bt) {
    Flush();
    if (m_sink) return Keep(st, [=](DCBackend& b, const DCState& s) { b.Rectangle(s, l, t, r, bt); });
    return m_pRaster->Rectangle(st, l, t, r, bt);
}

BOOL GXgrTapBackend::RoundRect(const DCState& st, int l, int t, int r, int bt, int ew, int eh) {
    Flush();
    if (m_sink) return Keep(st, [=](DCBackend& b, const DCState& s) { b.RoundRect(s, l, t, r, bt, ew, eh); });
    return m_pRaster->RoundRect(st, l, t, r, bt, ew, eh);
}

BOOL GXgrTapBackend::Ellipse(const DCState& st, int l, int t, int r, int bt) {
    Flush();
    if (m_sink) return Keep(st, [=](DCBackend& b, const DCState& s) { b.Ellipse(s, l, t, r, bt); });
    return m_pRaster->Ellipse(st, l, t, r, bt);
}

BOOL GXgrTapBackend::ArcShape(const DCState& st, int kind, const RECT& box, POINT start, POINT end) {
    Flush();
    if (m_sink) return Keep(st, [=](DCBackend& b, const DCState& s) { b.ArcShape(s, kind, box, start, end); });
    return m_pRaster->ArcShape(st, kind, box, start, end);
}

BOOL GXgrTapBackend::FillRect(const DCState& st, const RECT& r, const LOGBRUSH& brush) {
    Flush();
    if (m_sink) return Keep(st, [=](DCBackend& b, const DCState& s) { b.FillRect(s, r, brush); });
    return m_pRaster->FillRect(st, r, brush);
}

BOOL GXgrTapBackend::FillSolidRect(const DCState& st, const RECT& r, COLORREF color) {
    Flush();
    if (m_sink) return Keep(st, [=](DCBackend& b, const DCState& s) { b.FillSolidRect(s, r, color); });
    return m_pRaster->FillSolidRect(st, r, color);
}

BOOL GXgrTapBackend::FrameRect(const DCState& st, const RECT& r, const LOGBRUSH& brush) {
    Flush();
    if (m_sink) return Keep(st, [=](DCBackend& b, const DCState& s) { b.FrameRect(s, r, brush); });
    return m_pRaster->FrameRect(st, r, brush);
}

BOOL GXgrTapBackend::InvertRect(const DCState& st, const RECT& r) {
    Flush();
    if (m_sink) return Keep(st, [=](DCBackend& b, const DCState& s) { b.InvertRect(s, r); });
    return m_pRaster->InvertRect(st, r);
}

BOOL GXgrTapBackend::FillRgn(const DCState& st, const GdiRegion& rgn, const LOGBRUSH& brush) {
    Flush();
    if (m_sink) return Keep(st, [rgn, brush](DCBackend& b, const DCState& s) { b.FillRgn(s, rgn, brush); });
    return m_pRaster->FillRgn(st, rgn, brush);
}

COLORREF GXgrTapBackend::SetPixel(const DCState& st, int x, int y, COLORREF c) {
    Flush();
    if (m_sink) {
        Keep(st, [=](DCBackend& b, const DCState& s) { b.SetPixel(s, x, y, c); });
        return c;
    }
    return m_pRaster->SetPixel(st, x, y, c);
}

COLORREF GXgrTapBackend::GetPixel(const DCState& st, int x, int y) {
    Flush();
    return m_pRaster->GetPixel(st, x, y);
}

BOOL GXgrTapBackend::ExtTextOut(const DCState& st, int x, int y, UINT options, const RECT* rect, const std::string& text,
                                const int* dx) {
    Flush();
    if (m_sink) {
        const bool hasRect = rect != nullptr;
        const RECT rc = rect ? *rect : RECT{0, 0, 0, 0};
        std::vector<int> adv;
        // One advance per character, counted as every back end counts them (a bad byte is a
        // character too), so the replay never reads past the copy.
        if (dx) adv.assign(dx, dx + Utf8Decode(text).size());
        const bool hasDx = dx != nullptr;
        return Keep(st, [=](DCBackend& b, const DCState& s) {
            b.ExtTextOut(s, x, y, options, hasRect ? &rc : nullptr, text, hasDx ? adv.data() : nullptr);
        });
    }
    return m_pRaster->ExtTextOut(st, x, y, options, rect, text, dx);
}

BOOL GXgrTapBackend::TextOut(const DCState& st, int x, int y, const std::string& text) {
    Flush();
    if (m_sink) return Keep(st, [=](DCBackend& b, const DCState& s) { b.TextOut(s, x, y, text); });
    return m_pRaster->TextOut(st, x, y, text);
}

int GXgrTapBackend::DrawText(const DCState& st, const std::string& text, RECT* rect, UINT format) {
    Flush();
    if (m_sink && rect && !(format & DT_CALCRECT)) {
        const RECT rc = *rect;
        Keep(st, [=](DCBackend& b, const DCState& s) {
            RECT r = rc;
            b.DrawText(s, text, &r, format);
        });
        // The height is measured now, as the caller may use it.
        RECT probe = rc;
        return m_pRaster->DrawText(st, text, &probe, format | DT_CALCRECT);
    }
    return m_pRaster->DrawText(st, text, rect, format);
}

namespace {
// A copy of a blit source's state, kept alive with the call.
struct KeptSource {
    bool has = false;
    DCState st;
    explicit KeptSource(const DCSource& src) {
        if (src.state) {
            has = true;
            st = *src.state;
        }
    }
    DCSource Get() const {
        DCSource s;
        s.state = has ? &st : nullptr;
        return s;
    }
};
}  // namespace

BOOL GXgrTapBackend::BitBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                            DWORD rop) {
    Flush();
    if (m_sink) {
        auto ks = std::make_shared<KeptSource>(src);
        return Keep(st, [=](DCBackend& b, const DCState& s) { b.BitBlt(s, x, y, cx, cy, ks->Get(), xs, ys, rop); });
    }
    return m_pRaster->BitBlt(st, x, y, cx, cy, src, xs, ys, rop);
}

BOOL GXgrTapBackend::StretchBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                                int cxs, int cys, DWORD rop) {
    Flush();
    if (m_sink) {
        auto ks = std::make_shared<KeptSource>(src);
        return Keep(st, [=](DCBackend& b, const DCState& s) {
            b.StretchBlt(s, x, y, cx, cy, ks->Get(), xs, ys, cxs, cys, rop);
        });
    }
    return m_pRaster->StretchBlt(st, x, y, cx, cy, src, xs, ys, cxs, cys, rop);
}

BOOL GXgrTapBackend::PatBlt(const DCState& st, int x, int y, int cx, int cy, DWORD rop) {
    Flush();
    if (m_sink) return Keep(st, [=](DCBackend& b, const DCState& s) { b.PatBlt(s, x, y, cx, cy, rop); });
    return m_pRaster->PatBlt(st, x, y, cx, cy, rop);
}

int GXgrTapBackend::StretchDIBits(const DCState& st, int x, int y, int cx, int cy, int xs, int ys, int cxs, int cys,
                                  const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop) {
    Flush();
    if (m_sink && bits && bmi) {
        const BITMAPINFOHEADER& h = bmi->bmiHeader;
        const int bpp = h.biBitCount;
        const long w = h.biWidth, hh = h.biHeight < 0 ? -static_cast<long>(h.biHeight) : h.biHeight;
        if (w <= 0 || hh <= 0 || bpp <= 0 || bpp > 32) return 0;
        const size_t stride = static_cast<size_t>(((w * bpp + 31) / 32) * 4);
        const size_t colors = bpp <= 8 ? (h.biClrUsed ? h.biClrUsed : (1u << bpp)) : 0;
        std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + std::max<size_t>(colors, 1) * sizeof(RGBQUAD), 0);
        std::memcpy(info.data(), bmi, sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD));
        auto data = std::make_shared<std::vector<BYTE>>(static_cast<const BYTE*>(bits),
                                                        static_cast<const BYTE*>(bits) + stride * static_cast<size_t>(hh));
        auto hdr = std::make_shared<std::vector<BYTE>>(std::move(info));
        Keep(st, [=](DCBackend& b, const DCState& s) {
            b.StretchDIBits(s, x, y, cx, cy, xs, ys, cxs, cys, data->data(),
                            reinterpret_cast<const BITMAPINFO*>(hdr->data()), usage, rop);
        });
        return cys < 0 ? -cys : cys;
    }
    return m_pRaster->StretchDIBits(st, x, y, cx, cy, xs, ys, cxs, cys, bits, bmi, usage, rop);
}

BOOL GXgrTapBackend::AlphaBlend(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                                int cxs, int cys, BLENDFUNCTION blend) {
    Flush();
    if (m_sink) {
        auto ks = std::make_shared<KeptSource>(src);
        return Keep(st, [=](DCBackend& b, const DCState& s) {
            b.AlphaBlend(s, x, y, cx, cy, ks->Get(), xs, ys, cxs, cys, blend);
        });
    }
    return m_pRaster->AlphaBlend(st, x, y, cx, cy, src, xs, ys, cxs, cys, blend);
}

BOOL GXgrTapBackend::GradientFill(const DCState& st, const TRIVERTEX* v, ULONG nv, const void* mesh, ULONG nmesh,
                                  ULONG mode) {
    Flush();
    if (m_sink) {
        std::vector<TRIVERTEX> verts(v, v + nv);
        const size_t per = mode == GRADIENT_FILL_TRIANGLE ? 3 : 2;
        const ULONG* m = static_cast<const ULONG*>(mesh);
        std::vector<ULONG> meshCopy(m, m + (m ? per * nmesh : 0));
        return Keep(st, [=](DCBackend& b, const DCState& s) {
            b.GradientFill(s, verts.data(), static_cast<ULONG>(verts.size()), meshCopy.data(), nmesh, mode);
        });
    }
    return m_pRaster->GradientFill(st, v, nv, mesh, nmesh, mode);
}

void GXgrTapBackend::Close(const DCState& st) {
    Flush();
    m_pRaster->Close(st);
}
