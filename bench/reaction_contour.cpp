// The reaction contour (display mode 70) of the sample's raft of 100,000 plates at 1920x1080,
// against the same band polygons drawn straight into the raster DC.
//
// BM_ReactionContour draws the spring-pressure contour of load case DL through the reaction
// engine and its plot engine, as the render switch does: the members in depth order, the raft's
// faces with their node pressures, cut into bands by the engine's colour scale and filled in
// the graphics control's memory image (the other members drawn plain). BM_BandPolygonsRaw fills
// the band polygons of the same faces, cut by the same scale and projected once beforehand,
// with one cached brush and pen per colour: what any drawing of that picture has to pay. The
// ratio of the two is the cost of the engine's path over bare filling. BM_RawOwnPolygons and
// BM_RawFrame replay one recorded drawing of the engine: its filled polygons alone, and every
// line and polygon it drew, in order.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/model/PVXModes.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"

namespace {

constexpr long kPlates = 100000;
using pvxbench::kHeight;
using pvxbench::kWidth;

// One band polygon in memory-image pixels.
struct Band {
    COLORREF color;
    std::vector<POINT> pts;
};

struct Setup : pvxbench::Project {
    std::vector<Band> bands;
    pvxbench::RecordedFrame frame;
};

// The engine's drawing on dc, as the benchmark times it.
void DrawReactions(CReactionEngine& e, CDC* dc) {
    dc->FillSolidRect(0, 0, kWidth, kHeight, RGB(0, 0, 0));
    e.BeginPlotEng(dc);
    benchmark::DoNotOptimize(e.DrawReactionValueNew());
    e.EndPlotEng();
}

// The raft's faces cut into bands by the engine's scale, as the contour draws them, projected.
void CutRaftBands(Setup& s) {
    I_PVXModel& m = s.Model();
    CReactionEngine& e = *m.m_pReactionEngine;
    CContourEngine& ce = *e.m_pContourEngine;
    I_PVXCtrl* ctrl = s.Ctrl();
    for (INT_PTR i = 0; i < e.m_arrContrElem.GetSize(); ++i) {
        T_PELEM_D elem;
        if (!m.GetAttrCtrl()->GetElem(e.m_arrContrElem[i], elem) || elem.nNode != 4) continue;
        C3DPoint p[4];
        double v[4];
        for (int k = 0; k < 4; ++k) {
            T_PNODE_D n;
            m.GetAttrCtrl()->GetNode(elem.node[k], n);
            p[k].Set(n.x, n.y, n.z);
            T_REAC_D r;
            e.GetReacData(elem.node[k], r);
            v[k] = e.CalcReacValue(e.m_nComponent, r);
        }
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vertices;
        ce.ContourRectangle(v[0], v[1], v[2], v[3], p[0], p[1], p[2], p[3], 1, 1, 1, 1, sizes, vertices, nullptr, nullptr);
        INT_PTR at = 0;
        for (INT_PTR b = 0; b < sizes.GetSize(); ++b) {
            Band band;
            band.color = ce.GetValueColor(vertices[at].dValue);
            for (int k = 0; k < sizes[b]; ++k, ++at) {
                const CPoint q = ctrl->GetWorldToMemDCP2D(vertices[at].pt);
                band.pts.push_back(POINT{q.x, q.y});
            }
            s.bands.push_back(std::move(band));
        }
    }
}

Setup* GetSetup() {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(kPlates, [](long n) {
        auto s = std::make_unique<Setup>();
        if (!s->Open("reaction_contour", "--size " + std::to_string(n))) return std::unique_ptr<Setup>();
        I_PVXModel& m = s->Model();
        pvxbench::ShowAll(m, s->Ctrl());
        pvxbench::Frame(s->Ctrl(), GViewCamera::VIEW_TOP);
        pvxbench::SelectDeadLoad(m);
        m.m_nDisplayMode = PVXMode::kReactionContour;
        m.m_pReactionEngine = new CReactionEngine(&m);
        CReactionEngine& e = *m.m_pReactionEngine;
        e.m_nDataKind = CReactionEngine::KIND_CONTOUR;
        e.m_nMembKind = CReactionEngine::MEMB_RAFT;
        e.m_nComponent = CReactionEngine::COMP_FZ;
        if (!e.InitEngine(nullptr, -1)) {
            std::fprintf(stderr, "reaction_contour: the sample has no spring pressures\n");
            return std::unique_ptr<Setup>();
        }
        CutRaftBands(*s);
        s->frame.Record([&](CDC* dc) { DrawReactions(e, dc); });
        return s;
    });
}

void BM_ReactionContour(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    CReactionEngine& e = *s->Model().m_pReactionEngine;
    for (auto _ : state) {
        pvxbench::DrawToMemImage(s->Ctrl(), [&](CDC* dc) { DrawReactions(e, dc); });
    }
    state.counters["plates"] = static_cast<double>(e.m_arrContrElem.GetSize());
    state.counters["bands"] = static_cast<double>(s->bands.size());
}

void BM_BandPolygonsRaw(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    std::map<COLORREF, std::pair<std::unique_ptr<CBrush>, std::unique_ptr<CPen>>> tools;
    for (const Band& b : s->bands)
        if (!tools.count(b.color))
            tools[b.color] = {std::make_unique<CBrush>(b.color), std::make_unique<CPen>(PS_SOLID, 1, b.color)};
    for (auto _ : state) {
        pvxbench::DrawToMemImage(s->Ctrl(), [&](CDC* dc) {
            dc->FillSolidRect(0, 0, kWidth, kHeight, RGB(0, 0, 0));
            CBrush* pOldBrush = nullptr;
            CPen* pOldPen = nullptr;
            COLORREF cur = 0xffffffff;
            for (const Band& b : s->bands) {
                if (b.color != cur) {
                    auto& t = tools[b.color];
                    CBrush* ob = dc->SelectObject(t.first.get());
                    CPen* op = dc->SelectObject(t.second.get());
                    if (!pOldBrush) {
                        pOldBrush = ob;
                        pOldPen = op;
                    }
                    cur = b.color;
                }
                dc->Polygon(b.pts.data(), static_cast<int>(b.pts.size()));
            }
            if (pOldBrush) dc->SelectObject(pOldBrush);
            if (pOldPen) dc->SelectObject(pOldPen);
        });
    }
    state.counters["bands"] = static_cast<double>(s->bands.size());
}

void BM_RawOwnPolygons(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    pvxbench::TimeReplay(state, s->Ctrl(), s->frame, true);
}

void BM_RawFrame(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    pvxbench::TimeReplay(state, s->Ctrl(), s->frame, false);
}

// The part of the contour that builds the raft's faces with their node keys (depth-sorted).
void BM_RaftShapes(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    I_PVXModel& m = s->Model();
    UINT nRaft = 0;
    T_PMEMB_D memb;
    for (INT_PTR i = 0; i < m.m_arrAllMembKey.GetSize() && !nRaft; ++i)
        if (m.GetAttrCtrl()->GetMemb(m.m_arrAllMembKey[i], memb) && memb.type == 301) nRaft = m.m_arrAllMembKey[i];
    for (auto _ : state) {
        PVXPolyListArray faces;
        PVXKeyArrayList keys;
        T_SHAPE_ARGUMENT arg;
        arg.pFaceNodeKeys = &keys;
        benchmark::DoNotOptimize(m.GetShapeMember(nRaft, memb, faces, nullptr, arg, 1, 1));
        I_PVXModel::FreeMemoryPolyList(&faces, nullptr, &keys, nullptr);
    }
}

BENCHMARK(BM_RaftShapes)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ReactionContour)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_BandPolygonsRaw)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RawOwnPolygons)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RawFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
