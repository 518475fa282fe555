// The displacement contour (display mode 2) of the sample project with a raft of 100,000 plates at
// 1920x1080, against the same band polygons drawn straight into a raster DC.
//
// BM_DispContour: one PVXRender of mode 2 (load case DL, component DZ, on the deformed shape):
// depth sort, deformed member shapes, node values, band cutting, fills and edges, the undeformed
// outline. The engine's data are built once, before the timing, as a redraw finds them.
// BM_RawBandPolygons: the filled polygons that render drew (points in pixels, brush and pen of
// each, recorded once), replayed with CDC::Polygon into a 1920x1080 raster DC with one brush and
// one pen per colour made beforehand. The ratio of the two times is the cost of everything the
// contour does around the raster fills.
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
#include "module/engines/CDeformEngine.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CRecordDC.h"

namespace {

constexpr long kPlates = 100000;
constexpr int kWidth = 1920, kHeight = 1080;

std::string ProgramDir() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return ".";
    std::string p(buf, static_cast<size_t>(n));
    return p.substr(0, p.find_last_of('/'));
}

class BenchView : public GRenderView {};

// A filled polygon of the render: its pixels and the brush and pen it was drawn with.
struct BandPolygon {
    std::vector<POINT> points;
    COLORREF brush;
    LOGPEN pen;
};

struct Setup {
    CDBDoc doc;
    BenchView view;  // owns the graphics control; no window, so no client copies
    std::unique_ptr<I_PVXModel> model;
    std::vector<BandPolygon> polygons;
};

Setup* GetSetup() {
    static std::unique_ptr<Setup> s;
    if (s) return s.get();
    const char* t = getenv("TMPDIR");
    const std::string path =
        std::string(t && *t ? t : "/tmp") + "/bench_deform_contour_" + std::to_string(getpid()) + ".pvxdb";
    const std::string cmd = "'" + ProgramDir() + "/pvxhost' make-sample --size " + std::to_string(kPlates) +
                            " --out '" + path + "' >/dev/null";
    auto p = std::make_unique<Setup>();
    if (std::system(cmd.c_str()) != 0 || !p->doc.OpenDocument(path.c_str())) {
        std::fprintf(stderr, "deform_contour: cannot make the sample project with %s\n", cmd.c_str());
        std::remove(path.c_str());
        return nullptr;
    }
    std::remove(path.c_str());
    CDBDoc::m_pDBDoc = &p->doc;
    p->model = std::make_unique<I_PVXModel>();
    I_PVXModel& m = *p->model;
    I_PVXCtrl* ctrl = p->view.GetI_PVXCtrl();
    m.GetAttrCtrl()->ConnectToPostDB();
    m.GetGeomCtrl()->ConnectToPostDB();
    m.Link_I_RDXModel(ctrl);
    m.SetView(&p->view);
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
    ctrl->SetClientSize(kWidth, kHeight);
    ctrl->SetStandardView(GViewCamera::VIEW_ISO);

    // Mode 2: load case DL (key 1), DZ on the deformed shape, contours on.
    m.m_pDeformEngine = new CDeformEngine(&m);
    m.m_pDeformEngine->m_nComponent = CDeformEngine::COMP_DZ;
    m.m_pDeformEngine->m_bDeformed = 1;
    m.m_bLoadSelected = 1;
    m.m_nLoadType = 1;
    m.m_nLoadKey = 1;
    m.m_nDisplayMode = PVXMode::kDispContour;
    m.m_bContour = 1;
    m.SelectLoad();
    if (!m.m_pDeformEngine->InitEngine()) {
        std::fprintf(stderr, "deform_contour: no displacement data\n");
        return nullptr;
    }
    m.InitDeformed(0);

    // The polygons one render fills, recorded with their pixels and objects.
    CRecordDC rec;
    rec.Create();
    m.m_nPenFactor = 1;
    m._PVXRender(&rec);
    for (const GdiRecord* r : rec.GetRecords("Polygon")) p->polygons.push_back({r->points, r->brush.lbColor, r->pen});
    s = std::move(p);
    return s.get();
}

void BM_DispContour(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) {
        state.SkipWithError("the sample project could not be made");
        return;
    }
    I_PVXModel& m = *s->model;
    for (auto _ : state) {
        m.PVXRender();
        benchmark::DoNotOptimize(s->view.GetI_PVXCtrl()->IsImageValid());
    }
    state.counters["polygons"] = static_cast<double>(s->polygons.size());
}

void BM_RawBandPolygons(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) {
        state.SkipWithError("the sample project could not be made");
        return;
    }
    CDC dc;
    dc.CreateDisplayDC(kWidth, kHeight);
    // One brush and one pen per colour and width, made and looked up before the timing.
    std::map<COLORREF, std::unique_ptr<CBrush>> brushes;
    std::map<std::pair<COLORREF, int>, std::unique_ptr<CPen>> pens;
    std::vector<std::pair<CBrush*, CPen*>> objects;
    for (const BandPolygon& p : s->polygons) {
        auto& b = brushes[p.brush];
        if (!b) b = std::make_unique<CBrush>(p.brush);
        const int width = p.pen.lopnStyle == PS_NULL ? -1 : static_cast<int>(p.pen.lopnWidth.x);
        auto& pen = pens[{p.pen.lopnColor, width}];
        if (!pen) {
            pen = std::make_unique<CPen>();
            pen->CreatePen(p.pen.lopnStyle, p.pen.lopnWidth.x, p.pen.lopnColor);
        }
        objects.push_back({b.get(), pen.get()});
    }
    for (auto _ : state) {
        for (size_t i = 0; i < s->polygons.size(); ++i) {
            dc.SelectObject(objects[i].first);
            dc.SelectObject(objects[i].second);
            dc.Polygon(s->polygons[i].points.data(), static_cast<int>(s->polygons[i].points.size()));
        }
        benchmark::DoNotOptimize(dc.GetSafeHdc());
    }
    state.counters["polygons"] = static_cast<double>(s->polygons.size());
}

BENCHMARK(BM_DispContour)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RawBandPolygons)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
