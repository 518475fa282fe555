// Pile bearing figure 302 on a raft of 1,000, 10,000 and 100,000 piles (pvxhost make-sample
// --piles N), drawn and exported to DXF, against the same texts written straight into a
// CVdrawUtil and exported. The ratio figure / direct is what the figure adds to the drawing
// itself: the pile walk, the check records read and decoded, the governing groups, the envelope
// of the raft's pile sections, the text blocks (target at most 2).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "host/db/CDBDoc.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDPileCheckFigures.h"

namespace {

struct Setup {
    CDBDoc doc;
};

Setup* GetSetup(long n) {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(n, [](long n) {
        auto s = std::make_unique<Setup>();
        if (!pvxbench::OpenSample(s->doc, "pile_figure", "--piles " + std::to_string(n))) std::exit(1);
        return s;
    });
}

std::string TmpFile(long n, const char* what) {
    return "/tmp/bench_pile_figure_" + std::to_string(getpid()) + "_" + std::to_string(n) + what + ".dxf";
}

// Draws figure 302 with the most unfavourable entry into d.
void DrawFigure(CVdrawUtil& d) {
    CFVDPileCheck_CZL fig;
    fig.SetType(EFVDT_Pile_CHECK_CZL);
    fig.Prepare(FALSE);
    fig.Display(&d);
    fig.SetNotesFlag(TRUE);
    fig.SetLoadCase(0);
    fig.DrawFigure();
}

// The texts of a drawn figure, to be written again straight into a drawing.
struct Item {
    int layer;
    T_POINT2D at;
    CString str;
    double angle;
    int ver, hor;
    COLORREF colour;
    BOOL hasColour;
};

std::vector<Item> Items() {
    CVdrawUtil d;
    DrawFigure(d);
    std::vector<Item> out;
    for (long id : d.GetFigureIds()) {
        const CvdFigure* f = d.GetFigure(id);
        if (f->GetKind() != VdKindText) continue;
        out.push_back({f->GetLayer(), f->m_points[0], f->m_text, f->m_angle, f->m_verJust, f->m_horJust, f->m_colour,
                       f->m_hasColour});
    }
    return out;
}

void BM_Figure(benchmark::State& state) {
    const long n = state.range(0);
    GetSetup(n);
    const std::string path = TmpFile(n, "");
    size_t count = 0;
    for (auto _ : state) {
        CVdrawUtil d;
        DrawFigure(d);
        count = d.GetFigureIds().size();
        if (!d.ExportToDwg(100, path.c_str())) state.SkipWithError("export failed");
    }
    state.counters["entities"] = static_cast<double>(count);
    state.counters["us_per_pile"] = benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate |
                                                                                benchmark::Counter::kInvert);
    std::remove(path.c_str());
}

void BM_Direct(benchmark::State& state) {
    const long n = state.range(0);
    GetSetup(n);
    const std::vector<Item> items = Items();
    const std::string path = TmpFile(n, "_direct");
    for (auto _ : state) {
        CVdrawUtil d;
        pvxbench::PrepareDirectDrawing(d, {50});
        d.SetCurrentLayer(50);
        for (const Item& it : items) {
            const long id = d.DrawText(it.str, it.at.x, it.at.y, it.ver, it.hor, 0.0, it.angle);
            if (it.hasColour) d.SetFigureColor(id, it.colour, 0);
        }
        if (!d.ExportToDwg(100, path.c_str())) state.SkipWithError("export failed");
    }
    state.counters["entities"] = static_cast<double>(items.size());
    std::remove(path.c_str());
}

}  // namespace

// Figure and direct drawing of one size after the other: one project made per size.
BENCHMARK(BM_Figure)->Arg(1000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Direct)->Arg(1000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Figure)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Direct)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Figure)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Direct)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
