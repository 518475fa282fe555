// The settlement sheet's contour (figure 600): strip lines with their labels and legend, then the
// shaded map, over 1,000, 10,000, 100,000 and 1,000,000 settlement points (make-sample
// --settle-points). Each run regenerates the contour tool and the map's grid, as after a change
// of load case. The interpolation works on the 24 nearest samples of each grid node (kriging
// beyond 400 points), found through a bucket grid: a node costs about the same at any count, and
// the time grows with the points only through reading and sorting them into the grid.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "bench/BenchSupport.h"
#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDSinkFigures.h"

namespace {

struct Sample {
    CDBDoc doc;
    std::vector<T_POINT3D> points;  // x, y, -settlement (mm), as the sheet collects them
};

Sample& Open(long n) {
    static std::map<long, std::unique_ptr<Sample>> samples;
    auto& s = samples[n];
    if (!s) {
        s = std::make_unique<Sample>();
        if (!pvxbench::OpenSample(s->doc, "figure_contour", "--settle-points " + std::to_string(n))) std::exit(1);
        CClassPCDSink sinks;
        sinks.ConnectToDB(s->doc.GetMDBCtrl()->GetDBPost());
        CArray<UINT, UINT> keys;
        sinks.GetList(keys);
        for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
            T_PCDSINK_D r;
            double v = 0.0;
            if (sinks.Get(keys[i], r) && sinks.GetValue(keys[i], 0, v)) s->points.push_back(T_POINT3D{r.x, r.y, -v * 1000});
        }
    }
    CDBDoc::m_pDBDoc = &s->doc;
    return *s;
}

void BM_Contour(benchmark::State& state) {
    Sample& s = Open(state.range(0));
    size_t entities = 0;
    for (auto _ : state) {
        CFVDSink fig;
        fig.SetType(EFVDT_SINK_WHOLEVALVE);
        CVdrawUtil d;
        fig.Display(&d);
        fig.m_ContourPoints = s.points;
        fig.SetModify(1);
        fig.DrawContourStripLines();
        fig.DrawNephogram();
        entities = d.GetFigureIds().size();
    }
    state.counters["points"] = static_cast<double>(s.points.size());
    state.counters["entities"] = static_cast<double>(entities);
}

}  // namespace

BENCHMARK(BM_Contour)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
