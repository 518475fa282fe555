// Contour-list drawing of a whole raft: the sample project generated with 10,000 and 100,000 raft
// plates (pvxhost make-sample --size N, beside this program). Every plate, with a smooth value
// per corner, goes through the engine base's DoSubPolyContour (cut into bands at 12 levels, filled
// flat into the memory image, band edges drawn, contour letters recorded) into a 1920 x 1080
// picture of the raft seen from the top. The baseline on the same plates is the raw fill of each
// plate in one colour through the graphics control. A second pair fills the plate sub-element
// records of the model (the map and the plate key list) and copies them into another engine with
// ImportEngine. Plates per second (items_per_second) that stay the same from 10,000 to 100,000
// plates show linear time. (With glibc's default allocator the second pair loses some speed per
// plate at 100,000: freeing the half-million small blocks of the records makes it consolidate its
// free lists; GLIBC_TUNABLES=glibc.malloc.mxfast=0 shows the code's own cost.)
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "module/contour/CContourEngine.h"
#include "module/engines/CEngineBase.h"
#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
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

struct Plate {
    UINT key;
    UINT nodes[4];
    C3DPoint pts[4];
    double values[4];
};

struct Setup {
    CDBDoc doc;
    BenchView view;
    std::unique_ptr<I_PVXModel> model;
    std::vector<Plate> plates;
};

Setup* GetSetup(long n) {
    static std::map<long, std::unique_ptr<Setup>> cache;
    auto it = cache.find(n);
    if (it != cache.end()) return it->second.get();
    cache.clear();
    const char* t = getenv("TMPDIR");
    const std::string path = std::string(t && *t ? t : "/tmp") + "/bench_contour_lists_" + std::to_string(getpid()) +
                             "_" + std::to_string(n) + ".pvxdb";
    const std::string cmd = "'" + ProgramDir() + "/pvxhost' make-sample --size " + std::to_string(n) + " --out '" +
                            path + "' >/dev/null";
    auto s = std::make_unique<Setup>();
    if (std::system(cmd.c_str()) != 0 || !s->doc.OpenDocument(path.c_str())) {
        std::fprintf(stderr, "contour_lists: cannot make the sample project with %s\n", cmd.c_str());
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
    ctrl->SetClientSize(1920, 1080);

    // The raft plates (type 301) with a smooth value per corner.
    CDataBase* db = s->doc.GetMDBCtrl()->GetDBPost();
    CClassPElem elems;
    elems.ConnectToDB(db);
    CClassPNode nodes;
    nodes.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    elems.GetKeyList(keys);
    C3DPoint lo(1e300, 1e300, 1e300), hi(-1e300, -1e300, -1e300);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PELEM_D e;
        if (!elems.Get(keys[i], e) || e.type != 301 || e.nNode != 4) continue;
        Plate p;
        p.key = keys[i];
        bool ok = true;
        for (int k = 0; k < 4 && ok; ++k) {
            T_PNODE_D nd;
            ok = nodes.Get(e.node[k], nd) != 0;
            p.nodes[k] = e.node[k];
            p.pts[k] = C3DPoint(nd.x, nd.y, nd.z);
            p.values[k] = 100.0 * std::sin(nd.x * 0.3) * std::cos(nd.y * 0.25);
            lo = C3DPoint(std::min(lo.x, nd.x), std::min(lo.y, nd.y), std::min(lo.z, nd.z));
            hi = C3DPoint(std::max(hi.x, nd.x), std::max(hi.y, nd.y), std::max(hi.z, nd.z));
        }
        if (ok) s->plates.push_back(p);
    }
    ctrl->SetStandardView(GViewCamera::VIEW_TOP);
    ctrl->ZoomToRange(lo, hi);
    Setup* p = s.get();
    cache[n] = std::move(s);
    return p;
}

// The engine drawing the raft: 12 levels over the value range, band edges and letters on.
struct RaftEngine : CEngineBase {
    explicit RaftEngine(I_PVXModel* m) {
        m_pModel = m;
        m_pContourEngine = new CContourEngine(-100.0, 100.0);
        m_pContourEngine->m_nNumColor = 12;
        m_pContourEngine->MakeRankMap();
        m_pContourEngine->m_bDrawContourLine = 1;
    }
};

void Finish(benchmark::State& state, const Setup& s) {
    state.counters["plates"] = static_cast<double>(s.plates.size());
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.plates.size()));
}

void BM_ContourLists(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) {
        state.SkipWithError("the sample project could not be made");
        return;
    }
    I_PVXModel& m = *s->model;
    I_PVXCtrl* ctrl = s->view.GetI_PVXCtrl();
    RaftEngine engine(&m);
    m.m_bContourAnnot = 1;
    m.m_nAnnotCellWidth = 40;
    m.m_nAnnotCellHeight = 20;
    size_t letters = 0;
    for (auto _ : state) {
        ctrl->BeginDrawToMemDC(false);
        CDC* dc = ctrl->GetMemDC();
        m.m_arrContAnnot.RemoveAll();
        CList<C3DPoint, C3DPoint> pts;
        for (const Plate& p : s->plates) {
            pts.RemoveAll();
            for (const C3DPoint& q : p.pts) pts.AddTail(q);
            double v[4] = {p.values[0], p.values[1], p.values[2], p.values[3]};
            engine.DoSubPolyContour(dc, v, &pts, nullptr, 0);
        }
        letters = static_cast<size_t>(m.m_arrContAnnot.GetSize());
        ctrl->EndDrawToMemDC(false);
    }
    m.m_arrContAnnot.RemoveAll();
    engine.m_pModel = nullptr;
    state.counters["letters"] = static_cast<double>(letters);
    Finish(state, *s);
}

void BM_RawFill(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) {
        state.SkipWithError("the sample project could not be made");
        return;
    }
    I_PVXCtrl* ctrl = s->view.GetI_PVXCtrl();
    for (auto _ : state) {
        ctrl->BeginDrawToMemDC(false);
        CDC* dc = ctrl->GetMemDC();
        CList<C3DPoint, C3DPoint> pts;
        for (const Plate& p : s->plates) {
            pts.RemoveAll();
            for (const C3DPoint& q : p.pts) pts.AddTail(q);
            ctrl->DrawPolygon3DFill(dc, pts, RGB(0, 128, 255));
        }
        ctrl->EndDrawToMemDC(false);
    }
    Finish(state, *s);
}

// The plate sub-element records of the whole raft, built and copied to another engine.
void BM_SubElementImport(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) {
        state.SkipWithError("the sample project could not be made");
        return;
    }
    for (auto _ : state) {
        CEngineBase src, dst;
        for (const Plate& p : s->plates) {
            T_PVX_SBEM_D& r = src.m_mapSbem[p.key];
            r.m_nKey = p.key;
            for (int k = 0; k < 4; ++k) {
                r.m_arrNodeKey.Add(p.nodes[k]);
                T_PNODE_D nd{p.pts[k].x, p.pts[k].y, p.pts[k].z};
                r.m_arrNode.Add(nd);
            }
            src.m_arrElemKey.Add(p.key);
        }
        dst.ImportEngine(&src);
        T_PVX_SBEM_D probe;
        benchmark::DoNotOptimize(dst.GetSbemD(s->plates.back().key, probe));
    }
    Finish(state, *s);
}

BENCHMARK(BM_RawFill)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ContourLists)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SubElementImport)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
