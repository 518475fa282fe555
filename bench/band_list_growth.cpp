// Growth of the lists that grow with the model: the band polygons of a whole plate field gathered
// into one size list and one vertex list (48-byte records), for fields of 10,000 to 1,000,000
// triangles.
//
//   CutIntoOneList    the cutters append every triangle's polygons to one pair of lists, which
//                     grow in proportion to their size (GrowInProportion).
//   CutPerFace        the same cutting with the lists emptied after each triangle: the lists
//                     never grow, so this is the raw cost of cutting, the baseline of the above.
//   AppendInProportion / AppendLibraryRule / AppendStdVector
//                     the vertex records of the same field appended one by one to a CArray that
//                     grows in proportion, to a CArray under the class library's rule alone (at
//                     most 1,024 elements per reallocation), and to a std::vector (raw baseline).
//
// Each reports the time per triangle ("time_per_triangle", seconds); a flat column from 10,000 to
// 1,000,000 means the cost grows linearly. The library rule is quadratic, so it is measured up
// to 300,000 triangles only (about 0.9 million records); beyond that one run takes minutes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "module/contour/CContourEngine.h"

namespace {

// A strip of square cells, two triangles per cell, 1,000 cells across; nTriangles / 2000 rows.
constexpr int kCellsX = 1000;

double FieldValue(int i, int j) { return 100.0 * std::sin(i * 0.01) * std::cos(j * 0.013); }

CContourEngine& Scale() {
    static CContourEngine scale(-100.0, 100.0);
    return scale;
}

// Calls cut(a, b, c, wa, wb, wc) for every triangle of a field of n triangles.
template <class Cut>
void ForEachTriangle(int64_t n, Cut cut) {
    int64_t done = 0;
    for (int j = 0; done < n; j++) {
        for (int i = 0; i < kCellsX && done < n; i++) {
            C3DPoint a(i, j, 0), b(i + 1, j, 0), c(i + 1, j + 1, 0), d(i, j + 1, 0);
            const double wa = FieldValue(i, j), wb = FieldValue(i + 1, j);
            const double wc = FieldValue(i + 1, j + 1), wd = FieldValue(i, j + 1);
            cut(a, b, c, wa, wb, wc);
            if (++done < n) cut(a, c, d, wa, wc, wd);
            ++done;
        }
    }
}

void Report(benchmark::State& state, int64_t records) {
    const double triangles = static_cast<double>(state.range(0));
    state.SetComplexityN(state.range(0));
    state.counters["time_per_triangle"] =
        benchmark::Counter(triangles, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["records"] = static_cast<double>(records);
}

void CutIntoOneList(benchmark::State& state) {
    int64_t records = 0;
    for (auto _ : state) {
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vertices;
        ForEachTriangle(state.range(0), [&](C3DPoint& a, C3DPoint& b, C3DPoint& c, double wa, double wb, double wc) {
            Scale().ContourTriangle(wa, wb, wc, a, b, c, 0, 0, 0, sizes, vertices, nullptr, nullptr, 0);
        });
        records = vertices.GetSize();
        benchmark::DoNotOptimize(vertices.GetData());
    }
    Report(state, records);
}

void CutPerFace(benchmark::State& state) {
    int64_t records = 0;
    for (auto _ : state) {
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vertices;
        records = 0;
        ForEachTriangle(state.range(0), [&](C3DPoint& a, C3DPoint& b, C3DPoint& c, double wa, double wb, double wc) {
            Scale().ContourTriangle(wa, wb, wc, a, b, c, 0, 0, 0, sizes, vertices, nullptr, nullptr, 0);
            records += vertices.GetSize();
            // Emptied in place: the blocks stay, so no list ever grows.
            sizes.RemoveAt(0, sizes.GetSize());
            vertices.RemoveAt(0, vertices.GetSize());
        });
        benchmark::DoNotOptimize(records);
    }
    Report(state, records);
}

// The vertex records of a field, cut once.
const std::vector<VtxInfo_tag>& FieldRecords(int64_t n) {
    static std::vector<VtxInfo_tag> records;
    static int64_t made = -1;
    if (made != n) {
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vertices;
        records.clear();
        ForEachTriangle(n, [&](C3DPoint& a, C3DPoint& b, C3DPoint& c, double wa, double wb, double wc) {
            Scale().ContourTriangle(wa, wb, wc, a, b, c, 0, 0, 0, sizes, vertices, nullptr, nullptr, 0);
            for (INT_PTR i = 0; i < vertices.GetSize(); i++) records.push_back(vertices[i]);
            sizes.RemoveAll();
            vertices.RemoveAll();
        });
        made = n;
    }
    return records;
}

void AppendInProportion(benchmark::State& state) {
    const std::vector<VtxInfo_tag>& src = FieldRecords(state.range(0));
    for (auto _ : state) {
        CArray<VtxInfo_tag, VtxInfo_tag> list;
        for (const VtxInfo_tag& v : src) {
            GrowInProportion(list);
            list.Add(v);
        }
        benchmark::DoNotOptimize(list.GetData());
    }
    Report(state, static_cast<int64_t>(src.size()));
}

void AppendLibraryRule(benchmark::State& state) {
    const std::vector<VtxInfo_tag>& src = FieldRecords(state.range(0));
    for (auto _ : state) {
        CArray<VtxInfo_tag, VtxInfo_tag> list;
        for (const VtxInfo_tag& v : src) list.Add(v);
        benchmark::DoNotOptimize(list.GetData());
    }
    Report(state, static_cast<int64_t>(src.size()));
}

void AppendStdVector(benchmark::State& state) {
    const std::vector<VtxInfo_tag>& src = FieldRecords(state.range(0));
    for (auto _ : state) {
        std::vector<VtxInfo_tag> list;
        for (const VtxInfo_tag& v : src) list.push_back(v);
        benchmark::DoNotOptimize(list.data());
    }
    Report(state, static_cast<int64_t>(src.size()));
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int64_t n : {10000, 30000, 100000, 300000, 1000000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

BENCHMARK(CutIntoOneList)->Apply(Sizes);
BENCHMARK(CutPerFace)->Apply(Sizes);
BENCHMARK(AppendInProportion)->Apply(Sizes);
BENCHMARK(AppendStdVector)->Apply(Sizes);
BENCHMARK(AppendLibraryRule)
    ->Arg(10000)->Arg(30000)->Arg(100000)->Arg(300000)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN)->Iterations(1);

}  // namespace
