// The plate stress build of display mode 11 on a large project: the sample project generated with
// a raft of N plates (pvxhost make-sample --size N, beside this program), dead load selected,
// every member shown. BM_StressBuild is one CStressEngine::InitEngine (records read and folded,
// shapes, element axes, extremes, colour scale and percentages); BM_StressRecordsOnly is the
// part no build can avoid, the host's record query of every plate element into an array. Their
// ratio is the engine's cost per record read.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "host/db/CPostCtrl.h"
#include "module/engines/CStressEngine.h"
#include "module/model/PVXModes.h"

namespace {

struct Setup : pvxbench::Project {
    std::vector<UINT> plates;  // plate elements of the plate members, in member order
};

Setup* GetSetup(long plates) {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(plates, [](long n) {
        auto s = std::make_unique<Setup>();
        if (!s->Open("stress_build", "--size " + std::to_string(n))) return std::unique_ptr<Setup>();
        I_PVXModel& m = s->Model();
        m.GetAttrCtrl()->GetMembKeyList(m.m_arrAllMembKey);
        m.m_arrActiveMembKey.Copy(m.m_arrAllMembKey);
        pvxbench::SelectDeadLoad(m);
        for (INT_PTR i = 0; i < m.m_arrAllMembKey.GetSize(); ++i) {
            T_PMEMB_D memb;
            if (!m.GetAttrCtrl()->GetMemb(m.m_arrAllMembKey[i], memb) || !CStressEngine::IsPlateMembType(memb.type))
                continue;
            for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) s->plates.push_back(memb.aElem[e]);
        }
        return s;
    });
}

void BM_StressBuild(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s) return state.SkipWithError("the sample project could not be made");
    CStressEngine engine(&s->Model());
    for (auto _ : state) benchmark::DoNotOptimize(engine.InitEngine(nullptr, PVXMode::kPlateStress));
    const double records = static_cast<double>(engine.m_mapPStrs.GetCount());
    state.counters["records/s"] = benchmark::Counter(records, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_StressRecordsOnly(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s) return state.SkipWithError("the sample project could not be made");
    CPostCtrl* post = s->doc.GetPostCtrl();
    std::vector<T_STRP_DL> records(s->plates.size());
    for (auto _ : state) {
        size_t n = 0;
        for (UINT key : s->plates) n += post->GetStrp_L(key, &records[n], nullptr, nullptr, 0) ? 1 : 0;
        benchmark::DoNotOptimize(n);
    }
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(s->plates.size()), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_StressBuild)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StressRecordsOnly)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
