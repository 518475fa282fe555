// A full render of the plain model of a large project at 1920x1080: the sample project generated
// with a raft of N plates (pvxhost make-sample --size N, beside this program), opened once per
// size, every member shown; each iteration is one PVXRender into the graphics control's memory
// image (depth sort, shapes, flat faces with their edges). Sizes 10,000, 30,000 and 100,000
// plates show how the time grows with the model.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "host/db/CDBDoc.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/I_PVXModel.h"

namespace {

std::string ProgramDir() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return ".";
    std::string p(buf, static_cast<size_t>(n));
    return p.substr(0, p.find_last_of('/'));
}

class BenchView : public GRenderView {};

// One opened project with a model shown the way entering the result view leaves it.
struct Setup {
    CDBDoc doc;
    BenchView view;  // owns the graphics control and the light; no window, so no client copies
    std::unique_ptr<I_PVXModel> model;
    long nMembers = 0;
};

Setup* GetSetup(long plates) {
    static std::map<long, std::unique_ptr<Setup>> cache;
    auto it = cache.find(plates);
    if (it != cache.end()) return it->second.get();
    cache.clear();  // one large project in memory at a time
    const char* t = getenv("TMPDIR");
    const std::string path = std::string(t && *t ? t : "/tmp") + "/bench_model_render_" + std::to_string(getpid()) +
                             "_" + std::to_string(plates) + ".pvxdb";
    const std::string cmd = "'" + ProgramDir() + "/pvxhost' make-sample --size " + std::to_string(plates) + " --out '" +
                            path + "' >/dev/null";
    auto s = std::make_unique<Setup>();
    if (std::system(cmd.c_str()) != 0 || !s->doc.OpenDocument(path.c_str())) {
        std::fprintf(stderr, "model_render: cannot make the sample project with %s\n", cmd.c_str());
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
    ctrl->GetObjectIDRange(m.m_nObjectIDFirst, m.m_nObjectIDLast);
    ctrl->GetNodeIDRange(m.m_nNodeIDFirst, m.m_nNodeIDLast);
    m.GetAttrCtrl()->GetMembKeyList(m.m_arrAllMembKey);
    m.GetAttrCtrl()->GetNodeKeyList(m.m_arrAllNodeKey);
    m.m_arrActiveMembKey.Copy(m.m_arrAllMembKey);
    m.m_arrFlagMembKey.Copy(m.m_arrAllMembKey);
    m.m_arrActiveNodeKey.Copy(m.m_arrAllNodeKey);
    m.m_arrFlagNodeKey.Copy(m.m_arrAllNodeKey);
    m.InitOriginal();
    m.m_pDispOpt->m_bWireFrame = 0;
    ctrl->SetClientSize(1920, 1080);
    ctrl->SetStandardView(GViewCamera::VIEW_ISO);
    s->nMembers = static_cast<long>(m.m_arrAllMembKey.GetSize());
    Setup* p = s.get();
    cache[plates] = std::move(s);
    return p;
}

void BM_RenderPlainModel(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s) {
        state.SkipWithError("the sample project could not be made");
        return;
    }
    I_PVXModel& m = *s->model;
    for (auto _ : state) {
        m.PVXRender();
        benchmark::DoNotOptimize(s->view.GetI_PVXCtrl()->IsImageValid());
    }
    state.counters["members"] = static_cast<double>(s->nMembers);
    state.counters["members/s"] =
        benchmark::Counter(static_cast<double>(s->nMembers), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_RenderPlainModel)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
