// The frame force contour (display mode 6) on frame projects of growing size: the frame project
// of N x N bays (pvxhost make-sample --frame-bays N, beside this program) with 2,208, 20,448 and
// 201,600 members, opened once per size, every member shown, at 1920x1080 in the iso view.
//
// Each measurement has a baseline on the same data in the same program:
//   BM_BuildFrameLists   InitEngine for mode 6 (the frame force lists, extremes, legend scale)
//   BM_ReadForcesRaw       reading the same member records and their extremes by hand
//   BM_DrawFrameContour  one PVXRender of mode 6 (beams in colour bands, columns plain)
//   BM_DrawPlainModel    one PVXRender of the plain model
// The ratios ours / baseline, and the times per member across the three sizes, show the cost of
// the contour and that it grows linearly with the member count. The colour scale's extrude
// factor needs the model's extent, which shapes every member; the model keeps that box, so the
// repeated list builds here measure the lists themselves.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cfloat>
#include <memory>
#include <string>

#include "bench/BenchSupport.h"
#include "host/db/CPostCtrl.h"
#include "module/force/CForceEngine.h"
#include "module/model/PVXModes.h"

namespace {

// One opened frame project, shown as entering the result view leaves it, with load case DL
// selected and a force engine on the model.
struct Setup : pvxbench::Project {
    long nMembers = 0;
};

Setup* GetSetup(long bays) {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(bays, [](long n) {
        auto s = std::make_unique<Setup>();
        if (!s->Open("force_contour", "--frame-bays " + std::to_string(n))) return std::unique_ptr<Setup>();
        I_PVXModel& m = s->Model();
        pvxbench::ShowAll(m, s->Ctrl());
        m.m_pDispOpt->m_bWireFrame = 0;
        pvxbench::Frame(s->Ctrl(), GViewCamera::VIEW_ISO);
        pvxbench::SelectDeadLoad(m);
        m.m_bContour = 1;
        m.m_pForceEngine = new CForceEngine(&m);
        m.m_pForceEngine->m_nBForcComp = 4;  // moment y
        s->nMembers = static_cast<long>(m.m_arrAllMembKey.GetSize());
        return s;
    });
}

void BM_BuildFrameLists(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s) return state.SkipWithError("the frame project could not be made");
    CForceEngine& e = *s->Model().m_pForceEngine;
    for (auto _ : state) benchmark::DoNotOptimize(e.InitEngine(nullptr, PVXMode::kFrameForceContour));
    pvxbench::CountMembers(state, s->nMembers);
}

// What a list builder cannot do without: every member record, its forces for the load and the
// extremes of one component.
void BM_ReadForcesRaw(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s) return state.SkipWithError("the frame project could not be made");
    I_PVXModel& m = s->Model();
    CPostCtrl* post = s->doc.GetPostCtrl();
    for (auto _ : state) {
        double hi = -DBL_MAX, lo = DBL_MAX;
        for (INT_PTR i = 0; i < m.m_arrAllMembKey.GetSize(); ++i) {
            T_PMEMB_D memb;
            if (!m.GetAttrCtrl()->GetMemb(m.m_arrAllMembKey[i], memb) || memb.type == 101) continue;
            T_STRG_D rec;
            if (!post->GetMbgd(m.m_arrAllMembKey[i], &rec, nullptr, nullptr, 0)) continue;
            for (int b = 0; b < 16; ++b) {
                hi = std::max(hi, rec.d[6 * b + 4]);
                lo = std::min(lo, rec.d[6 * b + 4]);
            }
        }
        benchmark::DoNotOptimize(hi - lo);
    }
    pvxbench::CountMembers(state, s->nMembers);
}

void Render(benchmark::State& state, int mode) {
    Setup* s = GetSetup(state.range(0));
    if (!s) return state.SkipWithError("the frame project could not be made");
    I_PVXModel& m = s->Model();
    m.m_pForceEngine->InitEngine(nullptr, PVXMode::kFrameForceContour);
    m.m_nDisplayMode = mode;
    pvxbench::TimeRenders(state, m, s->Ctrl());
    pvxbench::CountMembers(state, s->nMembers);
}

void BM_DrawFrameContour(benchmark::State& state) { Render(state, PVXMode::kFrameForceContour); }
void BM_DrawPlainModel(benchmark::State& state) { Render(state, PVXMode::kNone); }

// Frame bays 15, 47 and 149: 2,208, 20,448 and 201,600 members.
// Processor time: the machine is shared, and the ratios compare runs of this one program.
#define PVX_SIZES ->Arg(15)->Arg(47)->Arg(149)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_BuildFrameLists) PVX_SIZES;
BENCHMARK(BM_ReadForcesRaw) PVX_SIZES;
BENCHMARK(BM_DrawFrameContour) PVX_SIZES;
BENCHMARK(BM_DrawPlainModel) PVX_SIZES;

}  // namespace
