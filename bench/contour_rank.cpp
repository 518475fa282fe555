// Ranking values against a colour scale: GetUpperRank, GetValueColor and the percent map over
// ten million values, as a result engine does for every node of a large model.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "module/contour/CContourEngine.h"

namespace {

constexpr size_t kValues = 10'000'000;

const std::vector<double>& Values() {
    static const std::vector<double> values = [] {
        std::vector<double> v(kValues);
        std::mt19937_64 rng(2026);
        // A little beyond the range on both sides, so every branch of the lookup is taken.
        std::uniform_real_distribution<double> d(-130.0, 130.0);
        for (double& x : v) x = d(rng);
        return v;
    }();
    return values;
}

void RankValues(benchmark::State& state) {
    const std::vector<double>& values = Values();
    CContourEngine scale(-120.0, 120.0);
    scale.m_nNumColor = static_cast<int>(state.range(0));
    scale.MakeRankMap();
    for (auto _ : state) {
        long long sum = 0;
        for (double v : values) sum += scale.GetUpperRank(v);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(values.size()));
}
BENCHMARK(RankValues)->Arg(12)->Arg(24)->Arg(30)->Unit(benchmark::kMillisecond);

void ColourValues(benchmark::State& state) {
    const std::vector<double>& values = Values();
    CContourEngine scale(-120.0, 120.0);
    for (auto _ : state) {
        COLORREF mix = 0;
        for (double v : values) mix ^= scale.GetValueColor(v);
        benchmark::DoNotOptimize(mix);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(values.size()));
}
BENCHMARK(ColourValues)->Unit(benchmark::kMillisecond);

void PercentMap(benchmark::State& state) {
    const std::vector<double>& values = Values();
    CContourEngine scale(-120.0, 120.0);
    for (auto _ : state) {
        scale.ClearPecentRankMap();
        for (double v : values) scale.AddPecentRankMapData(v, 1.0);
        scale.FinishPecentRankMapData();
        benchmark::DoNotOptimize(scale.m_dPctRankMap[6]);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(values.size()));
}
BENCHMARK(PercentMap)->Unit(benchmark::kMillisecond);

}  // namespace
