// The displacement contour (display mode 2) of the sample project with a raft of 100,000 plates at
// 1920x1080, against the same band polygons drawn straight into a raster DC.
//
// BM_DispContour: one PVXRender of mode 2 (load case DL, component DZ, on the deformed shape):
// depth sort, deformed member shapes, node values, band cutting, fills and edges, the undeformed
// outline. The engine's data are built once, before the timing, as a redraw finds them.
// BM_RawBandPolygons: the filled polygons that render drew (points in pixels, brush and pen of
// each, recorded once), replayed with CDC::Polygon into the memory image with one brush and one
// pen per colour made beforehand. The ratio of the two times is the cost of everything the
// contour does around the raster fills. BM_RawFrame replays every line and polygon of that render
// (the band fills, the element edges and the undeformed outline) in order: the least that
// painting the same picture costs.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench/BenchSupport.h"
#include "module/engines/CDeformEngine.h"
#include "module/model/PVXModes.h"

namespace {

constexpr long kPlates = 100000;

struct Setup : pvxbench::Project {
    pvxbench::RecordedFrame frame;
};

Setup* GetSetup() {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(kPlates, [](long n) {
        auto s = std::make_unique<Setup>();
        // Mode 2: load case DL, DZ on the deformed shape, contours on.
        if (!pvxbench::OpenDispContour(*s, "deform_contour", n, 1)) return std::unique_ptr<Setup>();
        I_PVXModel& m = s->Model();
        m.InitDeformed(0);

        // What one render draws, recorded with its pixels and objects.
        m.m_nPenFactor = 1;
        s->frame.Record([&](CDC* dc) { m._PVXRender(dc); });
        return s;
    });
}

void BM_DispContour(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    pvxbench::TimeRenders(state, s->Model(), s->Ctrl());
    state.counters["polygons"] = static_cast<double>(s->frame.Polygons());
}

void BM_RawBandPolygons(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    pvxbench::TimeReplay(state, s->Ctrl(), s->frame, true);
}

void BM_RawFrame(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    pvxbench::TimeReplay(state, s->Ctrl(), s->frame, false);
}

BENCHMARK(BM_DispContour)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RawBandPolygons)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RawFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
