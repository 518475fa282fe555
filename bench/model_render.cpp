// A full render of the plain model of a large project at 1920x1080: the sample project generated
// with a raft of N plates (pvxhost make-sample --size N, beside this program), opened once per
// size, every member shown; each iteration is one PVXRender into the graphics control's memory
// image (depth sort, shapes, flat faces with their edges). Sizes 10,000, 30,000 and 100,000
// plates show how the time grows with the model.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/BenchSupport.h"

namespace {

// One opened project with a model shown the way entering the result view leaves it.
struct Setup : pvxbench::Project {
    long nMembers = 0;
};

Setup* GetSetup(long plates) {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(plates, [](long n) {
        auto s = std::make_unique<Setup>();
        if (!s->Open("model_render", "--size " + std::to_string(n))) return std::unique_ptr<Setup>();
        I_PVXModel& m = s->Model();
        pvxbench::ShowAll(m, s->Ctrl());
        m.m_pDispOpt->m_bWireFrame = 0;
        pvxbench::Frame(s->Ctrl(), GViewCamera::VIEW_ISO);
        s->nMembers = static_cast<long>(m.m_arrAllMembKey.GetSize());
        return s;
    });
}

void BM_RenderPlainModel(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s) return state.SkipWithError("the sample project could not be made");
    pvxbench::TimeRenders(state, s->Model(), s->Ctrl());
    pvxbench::CountMembers(state, s->nMembers);
}

BENCHMARK(BM_RenderPlainModel)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
