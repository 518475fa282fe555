// GXgrTapBackend: the back end of the graphics control's memory DC. It draws on the DC's
// selected bitmap like any memory DC (through a raster back end) except while the control
// records retained geometry: then every drawing call is kept, with the DC state it saw, instead
// of drawn. The control replays the kept calls (GXgrRawCall) on any DC later, in order with its
// own world-space primitives, so 2-D drawing made between the add brackets (gradient fills,
// texts, blits) survives into every retained-geometry render.
//
// Plain solid lines in copy mode are not drawn call by call: consecutive lines of one pen are
// kept and drawn together, with the raster context set up once for all of them (a model's edges
// are hundreds of thousands of short lines, and the set-up costs more than the line). Any other
// call, a bitmap change, Close and Flush draw the kept lines first, so the picture is the same
// as call by call; whoever reads the bitmap without a call of this back end (a blit from the DC,
// a file writer) calls Flush.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/gdi/DCBackend.h"

class RasterBackend;

// One kept drawing call: draws on a back end with a state (the target's bitmap is used).
typedef std::function<void(DCBackend& target, const DCState& targetState)> GXgrRawCall;

class GXgrTapBackend : public DCBackend {
public:
    GXgrTapBackend();
    ~GXgrTapBackend() override;

    // While a sink is set, drawing calls go into it instead of onto the bitmap.
    void SetSink(std::function<void(GXgrRawCall)> sink) { m_sink = std::move(sink); }
    void ClearSink() { m_sink = nullptr; }
    bool IsRecording() const { return static_cast<bool>(m_sink); }

    // Draws the kept lines.
    void Flush();

    int Technology() const override;
    void OnStateChange(const DCState& st, DCChange what, int arg) override;

    BOOL LineTo(const DCState& st, int x, int y) override;
    BOOL Polyline(const DCState& st, const POINT* pts, int n) override;
    BOOL PolylineTo(const DCState& st, const POINT* pts, int n) override;
    BOOL Polygon(const DCState& st, const POINT* pts, int n) override;
    BOOL PolyPolygon(const DCState& st, const POINT* pts, const int* counts, int polys) override;
    BOOL SolidPolygon(const DCState& st, const POINT* pts, int n, COLORREF c) override;
    BOOL LineSegments(const DCState& st, const POINT* pts, int n) override;
    BOOL LineSegmentsBothWays(const DCState& st, const POINT* pts, int n) override;
    int SolidPolygons(const DCState& st, const POINT* pts, const int* counts, const COLORREF* colors,
                      int polys) override;
    void SolidFaces(const DCState& st, SolidFaceRun& run) override;
    BOOL Rectangle(const DCState& st, int l, int t, int r, int b) override;
    BOOL RoundRect(const DCState& st, int l, int t, int r, int b, int ew, int eh) override;
    BOOL Ellipse(const DCState& st, int l, int t, int r, int b) override;
    BOOL ArcShape(const DCState& st, int kind, const RECT& box, POINT start, POINT end) override;
    BOOL FillRect(const DCState& st, const RECT& r, const LOGBRUSH& brush) override;
    BOOL FillSolidRect(const DCState& st, const RECT& r, COLORREF color) override;
    BOOL FrameRect(const DCState& st, const RECT& r, const LOGBRUSH& brush) override;
    BOOL InvertRect(const DCState& st, const RECT& r) override;
    BOOL FillRgn(const DCState& st, const GdiRegion& rgn, const LOGBRUSH& brush) override;
    COLORREF SetPixel(const DCState& st, int x, int y, COLORREF c) override;
    COLORREF GetPixel(const DCState& st, int x, int y) override;
    BOOL ExtTextOut(const DCState& st, int x, int y, UINT options, const RECT* rect, const std::string& text,
                    const int* dx) override;
    BOOL TextOut(const DCState& st, int x, int y, const std::string& text) override;
    int DrawText(const DCState& st, const std::string& text, RECT* rect, UINT format) override;
    BOOL BitBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                DWORD rop) override;
    BOOL StretchBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys, int cxs,
                    int cys, DWORD rop) override;
    BOOL PatBlt(const DCState& st, int x, int y, int cx, int cy, DWORD rop) override;
    int StretchDIBits(const DCState& st, int x, int y, int cx, int cy, int xs, int ys, int cxs, int cys,
                      const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop) override;
    BOOL AlphaBlend(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys, int cxs,
                    int cys, BLENDFUNCTION blend) override;
    BOOL GradientFill(const DCState& st, const TRIVERTEX* v, ULONG nv, const void* mesh, ULONG nmesh,
                      ULONG mode) override;
    void Close(const DCState& st) override;

private:
    // Keeps a call: f(target back end, state as recorded with the target's bitmap).
    template <class F>
    BOOL Keep(const DCState& st, F f);
    // Keeps a call on a point list (Polyline, PolylineTo, Polygon) with a copy of the points.
    BOOL KeepPoints(const DCState& st, BOOL (DCBackend::*draw)(const DCState&, const POINT*, int), const POINT* pts,
                    int n);

    // Kept lines: one state, their points and point counts.
    bool Batchable(const DCState& st) const;
    static bool SameLines(const DCState& a, const DCState& b);
    void KeepLine(const DCState& st, const POINT* pts, int n);
    static constexpr size_t kMaxBatchPoints = 1 << 20;

    std::unique_ptr<DCBackend> m_pRaster;
    RasterBackend* m_pLines = nullptr;  // m_pRaster, for its one-path strokes
    std::function<void(GXgrRawCall)> m_sink;
    DCState m_batchState;
    std::vector<POINT> m_batchPts;
    std::vector<int> m_batchCounts;
};
