// The frame force diagram (display mode 7) on frame projects of growing size: the frame project
// of N x N bays (pvxhost make-sample --frame-bays N, beside this program), every member shown,
// at 1920x1080 in the iso view, moment y of the dead load, filled diagrams.
//
// Each measurement has a baseline on the same data in the same program:
//   BM_DrawFrameDiagram  one PVXRender of mode 7 (members, then each beam's diagram cut into
//                        pieces of a sixth of an inch, split at zero and banded)
//   BM_DrawPlainModel    one PVXRender of the plain model
// The ratio diagram / plain shows the cost of the diagrams over drawing the members alone, and
// the times per member across the sizes that it grows linearly with the member count.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/BenchSupport.h"
#include "module/force/CForceEngine.h"
#include "module/model/PVXModes.h"

namespace {

struct Setup : pvxbench::Project {
    long nMembers = 0;
};

// One opened frame project as entering the result view leaves it, load case DL selected, the
// force engine's mode 7 lists built.
Setup* GetSetup(long bays) {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(bays, [](long n) {
        auto s = std::make_unique<Setup>();
        if (!s->Open("force_diagram", "--frame-bays " + std::to_string(n))) return std::unique_ptr<Setup>();
        I_PVXModel& m = s->Model();
        pvxbench::ShowAll(m, s->Ctrl());
        pvxbench::Frame(s->Ctrl(), GViewCamera::VIEW_ISO);
        pvxbench::SelectDeadLoad(m);
        m.m_bContour = 1;
        m.m_pDispOpt->m_Number.m_bShowNumbers = 0;
        CForceEngine* e = new CForceEngine(&m);
        e->m_nBForcComp = 4;  // moment y
        e->m_bBSfdBmdLine = 0;  // filled diagrams
        e->m_bBSfdBmdFill = 1;
        m.m_pForceEngine = e;
        m.m_nDisplayMode = PVXMode::kFrameForceDiagram;
        e->InitEngine(nullptr, PVXMode::kFrameForceDiagram);
        s->nMembers = static_cast<long>(m.m_arrAllMembKey.GetSize());
        return s;
    });
}

void Render(benchmark::State& state, int mode) {
    Setup* s = GetSetup(state.range(0));
    if (!s) return state.SkipWithError("the frame project could not be made");
    s->Model().m_nDisplayMode = mode;
    pvxbench::TimeRenders(state, s->Model(), s->Ctrl());
    pvxbench::CountMembers(state, s->nMembers);
}

void BM_DrawFrameDiagram(benchmark::State& state) { Render(state, PVXMode::kFrameForceDiagram); }
void BM_DrawPlainModel(benchmark::State& state) { Render(state, PVXMode::kNone); }

// Frame bays 15, 47 and 149: 2,208, 20,448 and 201,600 members. Processor time: the machine is
// shared.
#define PVX_SIZES ->Arg(15)->Arg(47)->Arg(149)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_DrawFrameDiagram) PVX_SIZES;
BENCHMARK(BM_DrawPlainModel) PVX_SIZES;

}  // namespace
