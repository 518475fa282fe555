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

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "host/db/CDBDoc.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/force/CForceEngine.h"
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
    long nMembers = 0;
};

// One opened frame project as entering the result view leaves it, load case DL selected, the
// force engine's mode 7 lists built.
Setup* GetSetup(long bays) {
    static std::map<long, std::unique_ptr<Setup>> cache;
    auto it = cache.find(bays);
    if (it != cache.end()) return it->second.get();
    cache.clear();
    const char* t = getenv("TMPDIR");
    const std::string path = std::string(t && *t ? t : "/tmp") + "/bench_force_diagram_" + std::to_string(getpid()) +
                             "_" + std::to_string(bays) + ".pvxdb";
    const std::string cmd = "'" + ProgramDir() + "/pvxhost' --quiet make-sample --frame-bays " + std::to_string(bays) +
                            " --out '" + path + "' >/dev/null";
    auto s = std::make_unique<Setup>();
    if (std::system(cmd.c_str()) != 0 || !s->doc.OpenDocument(path.c_str())) {
        std::fprintf(stderr, "force_diagram: cannot make the frame project with %s\n", cmd.c_str());
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
    ctrl->SetClientSize(1920, 1080);
    ctrl->SetStandardView(GViewCamera::VIEW_ISO);
    m.m_nLoadType = 1;  // static case DL
    m.m_nLoadKey = 1;
    m.m_nLoadStep = 0;
    m.m_bLoadSelected = 1;
    m.SelectLoad();
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
    Setup* p = s.get();
    cache[bays] = std::move(s);
    return p;
}

void Render(benchmark::State& state, int mode) {
    Setup* s = GetSetup(state.range(0));
    if (!s) return state.SkipWithError("the frame project could not be made");
    I_PVXModel& m = *s->model;
    m.m_nDisplayMode = mode;
    for (auto _ : state) {
        m.PVXRender();
        benchmark::DoNotOptimize(s->view.GetI_PVXCtrl()->IsImageValid());
    }
    state.counters["members"] = static_cast<double>(s->nMembers);
    state.counters["members/s"] =
        benchmark::Counter(static_cast<double>(s->nMembers), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_DrawFrameDiagram(benchmark::State& state) { Render(state, PVXMode::kFrameForceDiagram); }
void BM_DrawPlainModel(benchmark::State& state) { Render(state, PVXMode::kNone); }

// Frame bays 15 and 47: 2,208 and 20,448 members. Processor time: the machine is shared.
#define PVX_SIZES ->Arg(15)->Arg(47)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_DrawFrameDiagram) PVX_SIZES;
BENCHMARK(BM_DrawPlainModel) PVX_SIZES;

}  // namespace
