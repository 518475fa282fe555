// Plate forces of walls (display mode 10) on the wall project with at least 100,000 wall plates
// (pvxhost make-sample --wall-plates N, beside this program), every wall shown, at 1920x1080 in
// the iso view, the vertical membrane force Fyy of the dead load as colour bands.
//
// Each measurement has a baseline on the same data in the same program:
//   BM_PlateForceListsAndDraw  the force engine's mode 10: the plate lists built from the
//                              database (records, display axes, extremes, colour scale), then
//                              every wall plate drawn as colour bands into the memory image
//   BM_RawPlatePolygons        the same plates, each projected and filled in one colour straight
//                              into the raster device context of the memory image
// The ratio of the two is the cost of the display over drawing the polygons alone.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/db/CMDBCtrl.h"
#include "host/db/DBTables.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"

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
    C3DPoint pts[4];
    double value;  // Fyy at the centre
};

struct Setup {
    CDBDoc doc;
    BenchView view;
    std::unique_ptr<I_PVXModel> model;
    std::vector<Plate> plates;
};

Setup* GetSetup(long nPlates) {
    static std::map<long, std::unique_ptr<Setup>> cache;
    auto it = cache.find(nPlates);
    if (it != cache.end()) return it->second.get();
    cache.clear();
    const char* t = getenv("TMPDIR");
    const std::string path = std::string(t && *t ? t : "/tmp") + "/bench_wall_plate_force_" + std::to_string(getpid()) +
                             "_" + std::to_string(nPlates) + ".pvxdb";
    const std::string cmd = "'" + ProgramDir() + "/pvxhost' --quiet make-sample --wall-plates " + std::to_string(nPlates) +
                            " --out '" + path + "' >/dev/null";
    auto s = std::make_unique<Setup>();
    if (std::system(cmd.c_str()) != 0 || !s->doc.OpenDocument(path.c_str())) {
        std::fprintf(stderr, "wall_plate_force: cannot make the wall project with %s\n", cmd.c_str());
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
    m.m_nDisplayMode = PVXMode::kPlateForce;
    m.m_pDispOpt->m_Number.m_bShowNumbers = 0;
    m.m_pDispOpt->m_nRenderMode = 1;  // faces without element edges, as the baseline draws them

    // The plates for the baseline: corners from the node table, the centre value from the plate
    // table.
    CDataBase* db = s->doc.GetMDBCtrl()->GetDBPost();
    CClassPElem elems;
    elems.ConnectToDB(db);
    CClassPNode nodes;
    nodes.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    elems.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PELEM_D e;
        const T_STRP_DL* r = db->Table<DBT_STRP>().Find(1, keys[i]);
        if (!elems.Get(keys[i], e) || e.type != 209 || e.nNode != 4 || !r) continue;
        Plate p;
        bool ok = true;
        for (int k = 0; k < 4 && ok; ++k) {
            T_PNODE_D nd{0.0, 0.0, 0.0};
            ok = nodes.Get(e.node[k], nd) != 0;
            p.pts[k] = C3DPoint(nd.x, nd.y, nd.z);
        }
        p.value = r->blk[0][15];
        if (ok) s->plates.push_back(p);
    }
    Setup* p = s.get();
    cache[nPlates] = std::move(s);
    return p;
}

void Finish(benchmark::State& state, const Setup& s) {
    state.counters["plates"] = static_cast<double>(s.plates.size());
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.plates.size()));
}

void BM_PlateForceListsAndDraw(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) return state.SkipWithError("the wall project could not be made");
    I_PVXModel& m = *s->model;
    I_PVXCtrl* ctrl = s->view.GetI_PVXCtrl();
    CForceEngine e(&m);
    e.m_nPForcComp = 1;  // Fyy
    for (auto _ : state) {
        e.InitEngine(nullptr, PVXMode::kPlateForce);
        ctrl->BeginDrawToMemDC(false);
        e.DrawPForcContour(ctrl->GetMemDC());
        ctrl->EndDrawToMemDC(false);
    }
    if (!e.m_bPForcData) state.SkipWithError("no plate forces were built");
    state.counters["elements"] = static_cast<double>(e.m_arrElemKey.GetSize());
    Finish(state, *s);
}

void BM_RawPlatePolygons(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) return state.SkipWithError("the wall project could not be made");
    I_PVXCtrl* ctrl = s->view.GetI_PVXCtrl();
    CContourEngine scale(-150.0, 20.0);
    for (auto _ : state) {
        ctrl->BeginDrawToMemDC(false);
        CDC* dc = ctrl->GetMemDC();
        for (const Plate& p : s->plates) {
            POINT q[4];
            for (int k = 0; k < 4; ++k) {
                const CPoint w = ctrl->GetWorldToMemDCP2D(p.pts[k]);
                q[k] = POINT{w.x, w.y};
            }
            const COLORREF c = scale.GetValueColor(p.value);
            CPen pen(PS_SOLID, 1, c);
            CBrush brush(c);
            CPen* op = dc->SelectObject(&pen);
            CBrush* ob = dc->SelectObject(&brush);
            dc->Polygon(q, 4);
            dc->SelectObject(ob);
            dc->SelectObject(op);
        }
        ctrl->EndDrawToMemDC(false);
    }
    Finish(state, *s);
}

// At least 100,000 wall plates (109,296: 22 x 22 bays, 1,518 walls). Processor time: the
// machine is shared.
#define PVX_SIZES ->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_PlateForceListsAndDraw) PVX_SIZES;
BENCHMARK(BM_RawPlatePolygons) PVX_SIZES;

}  // namespace
