// The plate stress build of display mode 11 on a large project: the sample project generated with
// a raft of N plates (pvxhost make-sample --size N, beside this program), dead load selected,
// every member shown. BM_StressBuild is one CStressEngine::InitEngine (records read and folded,
// shapes, element axes, extremes, colour scale and percentages); BM_StressRecordsOnly is the
// part no build can avoid, the host's record query of every plate element into an array. Their
// ratio is the engine's cost per record read.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/engines/CStressEngine.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"

namespace {

std::string ProgramDir() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return ".";
    std::string p(buf, static_cast<size_t>(n));
    return p.substr(0, p.find_last_of('/'));
}

class BenchView : public GRenderView {};

struct Setup {
    CDBDoc doc;
    BenchView view;
    std::unique_ptr<I_PVXModel> model;
    std::vector<UINT> plates;  // plate elements of the plate members, in member order
};

Setup* GetSetup(long plates) {
    static std::map<long, std::unique_ptr<Setup>> cache;
    auto it = cache.find(plates);
    if (it != cache.end()) return it->second.get();
    cache.clear();
    const char* t = getenv("TMPDIR");
    const std::string path = std::string(t && *t ? t : "/tmp") + "/bench_stress_" + std::to_string(getpid()) + "_" +
                             std::to_string(plates) + ".pvxdb";
    const std::string cmd = "'" + ProgramDir() + "/pvxhost' make-sample --size " + std::to_string(plates) + " --out '" +
                            path + "' >/dev/null";
    auto s = std::make_unique<Setup>();
    if (std::system(cmd.c_str()) != 0 || !s->doc.OpenDocument(path.c_str())) {
        std::fprintf(stderr, "stress_build: cannot make the sample project with %s\n", cmd.c_str());
        std::remove(path.c_str());
        return nullptr;
    }
    std::remove(path.c_str());
    CDBDoc::m_pDBDoc = &s->doc;
    s->model = std::make_unique<I_PVXModel>();
    I_PVXModel& m = *s->model;
    I_PVXCtrl* ctrl = s->view.GetI_PVXCtrl();
    m.GetAttrCtrl()->ConnectToPostDB();
    m.GetGeomCtrl()->ConnectToPostDB();
    m.Link_I_RDXModel(ctrl);
    m.SetView(&s->view);
    m.GetAttrCtrl()->GetMembKeyList(m.m_arrAllMembKey);
    m.m_arrActiveMembKey.Copy(m.m_arrAllMembKey);
    m.m_bLoadSelected = 1;
    m.m_nLoadType = 1;
    m.m_nLoadKey = 1;
    m.SelectLoad();
    for (INT_PTR i = 0; i < m.m_arrAllMembKey.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!m.GetAttrCtrl()->GetMemb(m.m_arrAllMembKey[i], memb) || !CStressEngine::IsPlateMembType(memb.type))
            continue;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) s->plates.push_back(memb.aElem[e]);
    }
    Setup* p = s.get();
    cache[plates] = std::move(s);
    return p;
}

void BM_StressBuild(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s) {
        state.SkipWithError("the sample project could not be made");
        return;
    }
    CStressEngine engine(s->model.get());
    for (auto _ : state) benchmark::DoNotOptimize(engine.InitEngine(nullptr, PVXMode::kPlateStress));
    const double records = static_cast<double>(engine.m_mapPStrs.GetCount());
    state.counters["records/s"] = benchmark::Counter(records, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_StressRecordsOnly(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s) {
        state.SkipWithError("the sample project could not be made");
        return;
    }
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
