// Opening a large project: a flat grid of 100,000 four-node plates (400 x 250) with its
// 100,651 nodes, 1,000 slab members of 100 plates each and one load case of nodal
// displacements, built with the builder, saved once, then opened again and again.
#include "host/db/PostDBBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const int kNx = 400, kNy = 250;
char g_path[4096];  // the saved project, removed at exit

std::string ProjectPath() {
    static const std::string path = [] {
        const char* t = getenv("TMPDIR");
        std::string p = std::string(t && *t ? t : "/tmp") + "/bench_host_db_" + std::to_string(getpid()) + ".pvxdb";
        PostDBBuilder b;
        auto node = [](int i, int j) { return static_cast<UINT>(j * (kNx + 1) + i + 1); };
        b.DB().Table<DBT_PNODE>().Reserve(static_cast<size_t>((kNx + 1) * (kNy + 1)));
        b.DB().Table<DBT_PELEM>().Reserve(static_cast<size_t>(kNx * kNy));
        for (int j = 0; j <= kNy; ++j)
            for (int i = 0; i <= kNx; ++i) b.AddNode(node(i, j), i * 0.5, j * 0.5, 0.0);
        T_PMATL_D m;
        m.Initialize();
        m.E = 3e7;
        b.AddMatl(1, m);
        UINT e = 0;
        T_PMEMB_D memb;
        memb.type = 301;
        for (int j = 0; j < kNy; ++j)
            for (int i = 0; i < kNx; ++i) {
                ++e;
                b.AddElem(e, PELEM_KIND_PLATE, 301, {node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1)}, 1, 0);
                memb.aElem.Add(e);
                if (memb.aElem.GetSize() == 100) {
                    b.AddMemb(e / 100, memb);
                    memb.aElem.RemoveAll();
                }
            }
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        T_DISP_D d;
        d.Initialize();
        for (int j = 0; j <= kNy; ++j)
            for (int i = 0; i <= kNx; ++i) {
                d.DZ = -0.001 * i * (kNx - i) * j * (kNy - j);
                b.AddDisp(1, node(i, j), d);
            }
        snprintf(g_path, sizeof(g_path), "%s", p.c_str());
        if (!b.Save(p.c_str())) {
            fprintf(stderr, "cannot save the benchmark project: %s\n", static_cast<LPCTSTR>(b.GetLastError()));
            exit(1);
        }
        return p;
    }();
    return path;
}

void BM_OpenPlateModel(benchmark::State& state) {
    std::string path = ProjectPath();
    for (auto _ : state) {
        CDataBase db;
        if (!db.Open(path.c_str())) {
            state.SkipWithError(static_cast<LPCTSTR>(db.GetLastError()));
            break;
        }
        benchmark::DoNotOptimize(db.Table<DBT_PELEM>().Count());
    }
    state.counters["plates"] = kNx * kNy;
}
BENCHMARK(BM_OpenPlateModel)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_SavePlateModel(benchmark::State& state) {
    CDataBase db;
    if (!db.Open(ProjectPath().c_str())) {
        state.SkipWithError(static_cast<LPCTSTR>(db.GetLastError()));
        return;
    }
    std::string out = ProjectPath() + ".copy";
    for (auto _ : state) benchmark::DoNotOptimize(db.Save(out.c_str()));
    unlink(out.c_str());
}
BENCHMARK(BM_SavePlateModel)->Unit(benchmark::kMillisecond)->Iterations(3);

// Removes the project file when the program ends.
struct Cleanup {
    ~Cleanup() {
        if (g_path[0]) unlink(g_path);
    }
} g_cleanup;

}  // namespace
