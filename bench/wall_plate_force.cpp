// Plate forces of walls (display mode 10) on the wall project with at least 100,000 wall plates
// (pvxhost make-sample --wall-plates N, beside this program), every wall shown, at 1920x1080 in
// the iso view, the vertical membrane force Fyy of the dead load as colour bands.
//
// Each measurement has a baseline on the same data in the same program:
//   BM_PlateForceListsAndDraw  the force engine's mode 10: the plate lists built from the
//                              database (records, display axes, extremes, colour scale), then
//                              every wall plate drawn as colour bands into the memory image
//   BM_RawPlatePolygons        the same plates, each projected and filled in one colour straight
//                              into the raster device context of the memory image
//   BM_RawOwnPolygons          the filled polygons of one recorded drawing of the engine, replayed
//   BM_RawFrame                every line and polygon of that drawing, replayed in order
// The ratio of the engine to a baseline is the cost of the display over drawing alone.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/PVXModes.h"
#include "platform/gdi/CDC.h"

namespace {

struct Setup : pvxbench::Project {
    pvxbench::RecordedFrame frame;  // one drawing of the engine, recorded when first asked for
    std::vector<pvxbench::ValuedQuad> plates;  // Fyy at the centre
};

Setup* GetSetup(long nPlates) {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(nPlates, [](long n) {
        auto s = std::make_unique<Setup>();
        if (!s->Open("wall_plate_force", "--wall-plates " + std::to_string(n))) return std::unique_ptr<Setup>();
        I_PVXModel& m = s->Model();
        pvxbench::ShowAll(m, s->Ctrl());
        pvxbench::Frame(s->Ctrl(), GViewCamera::VIEW_ISO);
        pvxbench::SelectDeadLoad(m);
        m.m_bContour = 1;
        m.m_nDisplayMode = PVXMode::kPlateForce;
        m.m_pDispOpt->m_Number.m_bShowNumbers = 0;
        m.m_pDispOpt->m_nRenderMode = 1;  // faces without element edges, as the baseline draws them

        // The plates for the baseline: corners from the node table, Fyy (column 15 of the centre
        // block) from the plate table.
        s->plates = pvxbench::CentreValueQuads(s->doc, 209, 15);
        return s;
    });
}

// Fyy, as the benchmark shows it.
void Configure(CForceEngine& e) { e.m_nPForcComp = 1; }

void Finish(benchmark::State& state, const Setup& s) { pvxbench::CountItems(state, "plates", s.plates.size()); }

void BM_PlateForceListsAndDraw(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) return state.SkipWithError("the wall project could not be made");
    I_PVXModel& m = s->Model();
    CForceEngine e(&m);
    Configure(e);
    for (auto _ : state) {
        e.InitEngine(nullptr, PVXMode::kPlateForce);
        pvxbench::DrawToMemImage(s->Ctrl(), [&](CDC* dc) { e.DrawPForcContour(dc); });
    }
    if (!e.m_bPForcData) state.SkipWithError("no plate forces were built");
    state.counters["elements"] = static_cast<double>(e.m_arrElemKey.GetSize());
    Finish(state, *s);
}

void BM_RawPlatePolygons(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) return state.SkipWithError("the wall project could not be made");
    CContourEngine scale(-150.0, 20.0);
    pvxbench::TimeRawQuads(state, s->Ctrl(), s->plates, scale);
    Finish(state, *s);
}

// One drawing of the engine replayed raw: its own filled polygons alone (fillsOnly), or every
// line and polygon it drew.
void TimeRecorded(benchmark::State& state, bool fillsOnly) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) return state.SkipWithError("the sample project could not be made");
    pvxbench::TimeReplay(state, s->Ctrl(), s->frame, fillsOnly, [&](CDC* dc) {
        CForceEngine e(&s->Model());
        Configure(e);
        e.InitEngine(nullptr, PVXMode::kPlateForce);
        e.DrawPForcContour(dc);
    });
    Finish(state, *s);
}

void BM_RawOwnPolygons(benchmark::State& state) { TimeRecorded(state, true); }
void BM_RawFrame(benchmark::State& state) { TimeRecorded(state, false); }

// At least 100,000 wall plates (109,296: 22 x 22 bays, 1,518 walls). Processor time: the
// machine is shared.
#define PVX_SIZES ->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_PlateForceListsAndDraw) PVX_SIZES;
BENCHMARK(BM_RawPlatePolygons) PVX_SIZES;
BENCHMARK(BM_RawOwnPolygons) PVX_SIZES;
BENCHMARK(BM_RawFrame) PVX_SIZES;

}  // namespace
