// The displacement contour (display mode 2) of the sample project with a raft of 100,000 plates at
// 1920x1080, against the same band polygons drawn straight into a raster DC.
//
// BM_DispContour: one PVXRender of mode 2 (load case DL, component DZ, on the deformed shape):
// depth sort, deformed member shapes, node values, band cutting, fills and edges, the undeformed
// outline. The engine's data are built once, before the timing, as a redraw finds them.
// BM_RawBandPolygons: the filled polygons that render drew (points in pixels, brush and pen of
// each, recorded once), replayed with CDC::Polygon into a 1920x1080 raster DC with one brush and
// one pen per colour made beforehand. The ratio of the two times is the cost of everything the
// contour does around the raster fills.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "module/engines/CDeformEngine.h"
#include "module/model/PVXModes.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CRecordDC.h"

namespace {

constexpr long kPlates = 100000;

// A filled polygon of the render: its pixels and the brush and pen it was drawn with.
struct BandPolygon {
    std::vector<POINT> points;
    COLORREF brush;
    LOGPEN pen;
};

struct Setup : pvxbench::Project {
    std::vector<BandPolygon> polygons;
};

Setup* GetSetup() {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(kPlates, [](long n) {
        auto s = std::make_unique<Setup>();
        // Mode 2: load case DL, DZ on the deformed shape, contours on.
        if (!pvxbench::OpenDispContour(*s, "deform_contour", n, 1)) return std::unique_ptr<Setup>();
        I_PVXModel& m = s->Model();
        m.InitDeformed(0);

        // The polygons one render fills, recorded with their pixels and objects.
        CRecordDC rec;
        rec.Create();
        m.m_nPenFactor = 1;
        m._PVXRender(&rec);
        for (const GdiRecord* r : rec.GetRecords("Polygon")) s->polygons.push_back({r->points, r->brush.lbColor, r->pen});
        return s;
    });
}

void BM_DispContour(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    pvxbench::TimeRenders(state, s->Model(), s->Ctrl());
    state.counters["polygons"] = static_cast<double>(s->polygons.size());
}

void BM_RawBandPolygons(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    CDC dc;
    dc.CreateDisplayDC(pvxbench::kWidth, pvxbench::kHeight);
    // One brush and one pen per colour and width, made and looked up before the timing.
    std::map<COLORREF, std::unique_ptr<CBrush>> brushes;
    std::map<std::pair<COLORREF, int>, std::unique_ptr<CPen>> pens;
    std::vector<std::pair<CBrush*, CPen*>> objects;
    for (const BandPolygon& p : s->polygons) {
        auto& b = brushes[p.brush];
        if (!b) b = std::make_unique<CBrush>(p.brush);
        const int width = p.pen.lopnStyle == PS_NULL ? -1 : static_cast<int>(p.pen.lopnWidth.x);
        auto& pen = pens[{p.pen.lopnColor, width}];
        if (!pen) {
            pen = std::make_unique<CPen>();
            pen->CreatePen(p.pen.lopnStyle, p.pen.lopnWidth.x, p.pen.lopnColor);
        }
        objects.push_back({b.get(), pen.get()});
    }
    for (auto _ : state) {
        for (size_t i = 0; i < s->polygons.size(); ++i) {
            dc.SelectObject(objects[i].first);
            dc.SelectObject(objects[i].second);
            dc.Polygon(s->polygons[i].points.data(), static_cast<int>(s->polygons[i].points.size()));
        }
        benchmark::DoNotOptimize(dc.GetSafeHdc());
    }
    state.counters["polygons"] = static_cast<double>(s->polygons.size());
}

BENCHMARK(BM_DispContour)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RawBandPolygons)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
