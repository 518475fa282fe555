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

#include <unistd.h>

#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
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

// One opened frame project, shown as entering the result view leaves it, with load case DL
// selected and a force engine on the model.
struct Setup {
    CDBDoc doc;
    BenchView view;
    std::unique_ptr<I_PVXModel> model;
    long nMembers = 0;
};

Setup* GetSetup(long bays) {
    static std::map<long, std::unique_ptr<Setup>> cache;
    auto it = cache.find(bays);
    if (it != cache.end()) return it->second.get();
    cache.clear();  // one large project in memory at a time
    const char* t = getenv("TMPDIR");
    const std::string path = std::string(t && *t ? t : "/tmp") + "/bench_force_contour_" + std::to_string(getpid()) +
                             "_" + std::to_string(bays) + ".pvxdb";
    const std::string cmd = "'" + ProgramDir() + "/pvxhost' --quiet make-sample --frame-bays " + std::to_string(bays) +
                            " --out '" + path + "' >/dev/null";
    auto s = std::make_unique<Setup>();
    if (std::system(cmd.c_str()) != 0 || !s->doc.OpenDocument(path.c_str())) {
        std::fprintf(stderr, "force_contour: cannot make the frame project with %s\n", cmd.c_str());
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
    m.m_nLoadType = 1;  // static case DL
    m.m_nLoadKey = 1;
    m.m_nLoadStep = 0;
    m.m_bLoadSelected = 1;
    m.SelectLoad();
    m.m_bContour = 1;
    m.m_pForceEngine = new CForceEngine(&m);
    m.m_pForceEngine->m_nBForcComp = 4;  // moment y
    s->nMembers = static_cast<long>(m.m_arrAllMembKey.GetSize());
    Setup* p = s.get();
    cache[bays] = std::move(s);
    return p;
}

void Counters(benchmark::State& state, const Setup* s) {
    state.counters["members"] = static_cast<double>(s->nMembers);
    state.counters["members/s"] =
        benchmark::Counter(static_cast<double>(s->nMembers), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_BuildFrameLists(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s) return state.SkipWithError("the frame project could not be made");
    CForceEngine& e = *s->model->m_pForceEngine;
    for (auto _ : state) benchmark::DoNotOptimize(e.InitEngine(nullptr, PVXMode::kFrameForceContour));
    Counters(state, s);
}

// What a list builder cannot do without: every member record, its forces for the load and the
// extremes of one component.
void BM_ReadForcesRaw(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s) return state.SkipWithError("the frame project could not be made");
    I_PVXModel& m = *s->model;
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
    Counters(state, s);
}

void Render(benchmark::State& state, int mode) {
    Setup* s = GetSetup(state.range(0));
    if (!s) return state.SkipWithError("the frame project could not be made");
    I_PVXModel& m = *s->model;
    m.m_pForceEngine->InitEngine(nullptr, PVXMode::kFrameForceContour);
    m.m_nDisplayMode = mode;
    for (auto _ : state) {
        m.PVXRender();
        benchmark::DoNotOptimize(s->view.GetI_PVXCtrl()->IsImageValid());
    }
    Counters(state, s);
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
