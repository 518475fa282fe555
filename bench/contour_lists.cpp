// Contour-list drawing of a whole raft: the sample project generated with 10,000 and 100,000 raft
// plates (pvxhost make-sample --size N, beside this program). Every plate, with a smooth value
// per corner, goes through the engine base's DoSubPolyContour (cut into bands at 12 levels, filled
// flat into the memory image, band edges drawn, contour letters recorded) into a 1920 x 1080
// picture of the raft seen from the top. The baseline on the same plates is the raw fill of each
// plate in one colour through the graphics control; BM_RawOwnPolygons replays the band polygons
// of one recorded drawing of the engine, BM_RawFrame every line and polygon of it. A second pair
// fills the plate sub-element records of the model (the map and the plate key list) and copies
// them into another engine with ImportEngine. Plates per second (items_per_second) that stay the same from 10,000 to 100,000
// plates show linear time. (With glibc's default allocator the second pair loses some speed per
// plate at 100,000: freeing the half-million small blocks of the records makes it consolidate its
// free lists; GLIBC_TUNABLES=glibc.malloc.mxfast=0 shows the code's own cost.)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CEngineBase.h"

namespace {

struct Plate {
    UINT key;
    UINT nodes[4];
    C3DPoint pts[4];
    double values[4];
};

struct Setup : pvxbench::Project {
    std::vector<Plate> plates;
    pvxbench::RecordedFrame frame;  // one drawing of the engine
};

Setup* GetSetup(long n) {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(n, [](long n) {
        auto s = std::make_unique<Setup>();
        if (!s->Open("contour_lists", "--size " + std::to_string(n))) return std::unique_ptr<Setup>();
        I_PVXCtrl* ctrl = s->Ctrl();
        ctrl->SetClientSize(pvxbench::kWidth, pvxbench::kHeight);

        // The raft plates (type 301) with a smooth value per corner.
        C3DPoint lo(1e300, 1e300, 1e300), hi(-1e300, -1e300, -1e300);
        pvxbench::ForEachQuad(s->doc, 301, [&](UINT key, const T_PELEM_D& e, const C3DPoint* pts) {
            Plate p;
            p.key = key;
            for (int k = 0; k < 4; ++k) {
                const C3DPoint& q = pts[k];
                p.nodes[k] = e.node[k];
                p.pts[k] = q;
                p.values[k] = 100.0 * std::sin(q.x * 0.3) * std::cos(q.y * 0.25);
                lo = C3DPoint(std::min(lo.x, q.x), std::min(lo.y, q.y), std::min(lo.z, q.z));
                hi = C3DPoint(std::max(hi.x, q.x), std::max(hi.y, q.y), std::max(hi.z, q.z));
            }
            s->plates.push_back(p);
        });
        ctrl->SetStandardView(GViewCamera::VIEW_TOP);
        ctrl->ZoomToRange(lo, hi);
        return s;
    });
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

void Finish(benchmark::State& state, const Setup& s) { pvxbench::CountItems(state, "plates", s.plates.size()); }

// Every plate through the engine on dc, its letters collected by the model afresh.
void DrawPlates(RaftEngine& engine, I_PVXModel& m, const Setup& s, CDC* dc) {
    m.m_bContourAnnot = 1;
    m.m_nAnnotCellWidth = 40;
    m.m_nAnnotCellHeight = 20;
    m.m_arrContAnnot.RemoveAll();
    CList<C3DPoint, C3DPoint> pts;
    for (const Plate& p : s.plates) {
        pts.RemoveAll();
        for (const C3DPoint& q : p.pts) pts.AddTail(q);
        double v[4] = {p.values[0], p.values[1], p.values[2], p.values[3]};
        engine.DoSubPolyContour(dc, v, &pts, nullptr, 0);
    }
}

void BM_ContourLists(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) return state.SkipWithError("the sample project could not be made");
    I_PVXModel& m = s->Model();
    RaftEngine engine(&m);
    size_t letters = 0;
    for (auto _ : state) {
        pvxbench::DrawToMemImage(s->Ctrl(), [&](CDC* dc) { DrawPlates(engine, m, *s, dc); });
        letters = static_cast<size_t>(m.m_arrContAnnot.GetSize());
    }
    m.m_arrContAnnot.RemoveAll();
    engine.m_pModel = nullptr;
    state.counters["letters"] = static_cast<double>(letters);
    Finish(state, *s);
}

// One drawing of the engine replayed raw: its own filled polygons alone (fillsOnly), or every
// line and polygon it drew.
void TimeRecordedPlates(benchmark::State& state, bool fillsOnly) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) return state.SkipWithError("the sample project could not be made");
    if (s->frame.Polygons() == 0) {
        RaftEngine engine(&s->Model());
        s->frame.Record([&](CDC* dc) { DrawPlates(engine, s->Model(), *s, dc); });
        s->Model().m_arrContAnnot.RemoveAll();
        engine.m_pModel = nullptr;
    }
    pvxbench::TimeReplay(state, s->Ctrl(), s->frame, fillsOnly);
    Finish(state, *s);
}

void BM_RawOwnPolygons(benchmark::State& state) { TimeRecordedPlates(state, true); }
void BM_RawFrame(benchmark::State& state) { TimeRecordedPlates(state, false); }

void BM_RawFill(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) return state.SkipWithError("the sample project could not be made");
    I_PVXCtrl* ctrl = s->Ctrl();
    for (auto _ : state) {
        pvxbench::DrawToMemImage(ctrl, [&](CDC* dc) {
            CList<C3DPoint, C3DPoint> pts;
            for (const Plate& p : s->plates) {
                pts.RemoveAll();
                for (const C3DPoint& q : p.pts) pts.AddTail(q);
                ctrl->DrawPolygon3DFill(dc, pts, RGB(0, 128, 255));
            }
        });
    }
    Finish(state, *s);
}

// The plate sub-element records of the whole raft, built and copied to another engine.
void BM_SubElementImport(benchmark::State& state) {
    Setup* s = GetSetup(state.range(0));
    if (!s || s->plates.empty()) return state.SkipWithError("the sample project could not be made");
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
BENCHMARK(BM_RawOwnPolygons)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawFrame)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SubElementImport)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
