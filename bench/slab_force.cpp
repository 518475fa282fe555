// Slab forces per element (display mode 16) on the sample project with a raft of at least
// 100,000 plates (pvxhost make-sample --size N, beside this program), the whole model shown at
// 1920x1080 in plan, the moment Mxx of the dead load as colour bands.
//
// Each measurement has a baseline on the same data in the same program:
//   BM_SlabForceListsAndDraw  the force engine's mode 16: the slab lists built from the database
//                             (records turned into the rebar directions, extremes, colour scale
//                             and levels), then every raft plate drawn as colour bands into the
//                             memory image
//   BM_RawSlabPolygons        the same plates, each projected and filled in one colour straight
//                             into the raster device context of the memory image
//   BM_RawOwnPolygons          the filled polygons of one recorded drawing of the engine, replayed
//   BM_RawFrame                every line and polygon of that drawing, replayed in order
// The ratio of the engine to a baseline is the cost of the display over drawing alone.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/PVXModes.h"
#include "platform/gdi/CDC.h"

namespace {

struct Setup : pvxbench::Project {
    pvxbench::RecordedFrame frame;  // one drawing of the engine, recorded when first asked for
    std::vector<pvxbench::ValuedQuad> plates;  // Mxx at the centre
};

Setup* GetSetup(long nPlates) {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(nPlates, [](long n) {
        auto s = std::make_unique<Setup>();
        if (!s->Open("slab_force", "--size " + std::to_string(n))) return std::unique_ptr<Setup>();
        I_PVXModel& m = s->Model();
        pvxbench::ShowAll(m, s->Ctrl());
        pvxbench::Frame(s->Ctrl(), GViewCamera::VIEW_TOP);
        pvxbench::SelectDeadLoad(m);
        CPVXBarContainerBase::m_nCurrentMode = PVXMode::kSlabForce;
        m.m_bContour = 1;
        m.m_nDisplayMode = PVXMode::kSlabForce;
        m.m_pDispOpt->m_Number.m_bShowNumbers = 0;
        m.m_pDispOpt->m_nRenderMode = 1;  // faces without element edges, as the baseline draws them

        // The raft plates for the baseline: corners from the node table, Mxx (column 20 of the
        // centre block) from the plate table.
        s->plates = pvxbench::CentreValueQuads(s->doc, 301, 20);
        return s;
    });
}

// Mxx per metre, as the benchmark shows it.
void Configure(CForceEngine& e) {
    e.m_nSForcUnit = 1;
    e.m_nSForcComp = 0;
}

void Finish(benchmark::State& state, const Setup& s) { pvxbench::CountItems(state, "plates", s.plates.size()); }

void BM_SlabForceListsAndDraw(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) return state.SkipWithError("the sample project could not be made");
    I_PVXModel& m = s->Model();
    CForceEngine e(&m);
    Configure(e);
    for (auto _ : state) {
        e.InitEngine(nullptr, PVXMode::kSlabForce);
        pvxbench::DrawToMemImage(s->Ctrl(), [&](CDC* dc) { e.DrawSForcContour(dc); });
    }
    if (!e.m_bSForcData) state.SkipWithError("no slab forces were built");
    state.counters["elements"] = static_cast<double>(e.m_arrElemKey.GetSize());
    Finish(state, *s);
}

void BM_RawSlabPolygons(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) return state.SkipWithError("the sample project could not be made");
    CContourEngine scale(-40.0, 120.0);
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
        e.InitEngine(nullptr, PVXMode::kSlabForce);
        e.DrawSForcContour(dc);
    });
    Finish(state, *s);
}

void BM_RawOwnPolygons(benchmark::State& state) { TimeRecorded(state, true); }
void BM_RawFrame(benchmark::State& state) { TimeRecorded(state, false); }

// At least 100,000 raft plates (101,568: a mesh of 368 x 276). Processor
// time: the machine is shared.
#define PVX_SIZES ->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_SlabForceListsAndDraw) PVX_SIZES;
BENCHMARK(BM_RawSlabPolygons) PVX_SIZES;
BENCHMARK(BM_RawOwnPolygons) PVX_SIZES;
BENCHMARK(BM_RawFrame) PVX_SIZES;

}  // namespace
