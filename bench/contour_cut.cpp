// Band cutting of element faces: one million triangles of a plate mesh cut against 12 levels,
// as a result engine cuts every face of a large slab model for a filled contour.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "module/contour/CContourEngine.h"

namespace {

// A grid of 1000 x 500 cells, two triangles per cell: one million triangles.
constexpr int kCellsX = 1000;
constexpr int kCellsY = 500;
constexpr int64_t kTriangles = 2LL * kCellsX * kCellsY;

struct Mesh {
    std::vector<double> values;  // one per grid node, (kCellsX + 1) x (kCellsY + 1)
    double Value(int i, int j) const { return values[static_cast<size_t>(j) * (kCellsX + 1) + i]; }
};

// A smooth bending-moment-like field: a few bands cross each region, most triangles lie in one.
const Mesh& SmoothMesh() {
    static const Mesh mesh = [] {
        Mesh m;
        m.values.resize(static_cast<size_t>(kCellsX + 1) * (kCellsY + 1));
        for (int j = 0; j <= kCellsY; j++)
            for (int i = 0; i <= kCellsX; i++)
                m.values[static_cast<size_t>(j) * (kCellsX + 1) + i] =
                    100.0 * std::sin(i * 0.01) * std::cos(j * 0.013);
        return m;
    }();
    return mesh;
}

// Noise across the whole range: nearly every triangle is crossed by several levels.
const Mesh& RoughMesh() {
    static const Mesh mesh = [] {
        Mesh m;
        m.values.resize(static_cast<size_t>(kCellsX + 1) * (kCellsY + 1));
        std::mt19937_64 rng(2026);
        std::uniform_real_distribution<double> d(-100.0, 100.0);
        for (double& v : m.values) v = d(rng);
        return m;
    }();
    return mesh;
}

// Cuts every triangle; the lists are emptied after each face when perFace is set (as a result
// engine draws and clears them per face), else every 1024 faces.
void CutMesh(benchmark::State& state, const Mesh& mesh, bool perFace) {
    CContourEngine scale(-100.0, 100.0);
    scale.m_nNumColor = 12;
    scale.MakeRankMap();
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> vertices;
    int64_t polygons = 0;
    for (auto _ : state) {
        int64_t faces = 0;
        for (int j = 0; j < kCellsY; j++) {
            for (int i = 0; i < kCellsX; i++) {
                C3DPoint a(i, j, 0), b(i + 1, j, 0), c(i + 1, j + 1, 0), d(i, j + 1, 0);
                const double wa = mesh.Value(i, j), wb = mesh.Value(i + 1, j);
                const double wc = mesh.Value(i + 1, j + 1), wd = mesh.Value(i, j + 1);
                scale.ContourTriangle(wa, wb, wc, a, b, c, 0, 0, 0, sizes, vertices, nullptr, nullptr, 1);
                if (perFace) {
                    polygons += sizes.GetSize();
                    sizes.RemoveAll();
                    vertices.RemoveAll();
                }
                scale.ContourTriangle(wa, wc, wd, a, c, d, 0, 0, 0, sizes, vertices, nullptr, nullptr, 1);
                faces += 2;
                if (perFace || (faces & 1023) == 0) {
                    polygons += sizes.GetSize();
                    sizes.RemoveAll();
                    vertices.RemoveAll();
                }
            }
        }
        polygons += sizes.GetSize();
        sizes.RemoveAll();
        vertices.RemoveAll();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kTriangles);
    state.counters["polygons_per_triangle"] =
        static_cast<double>(polygons) / static_cast<double>(static_cast<int64_t>(state.iterations()) * kTriangles);
}

void CutSmoothPerFace(benchmark::State& state) { CutMesh(state, SmoothMesh(), true); }
void CutSmoothBatched(benchmark::State& state) { CutMesh(state, SmoothMesh(), false); }
void CutRoughPerFace(benchmark::State& state) { CutMesh(state, RoughMesh(), true); }

BENCHMARK(CutSmoothPerFace)->Unit(benchmark::kMillisecond);
BENCHMARK(CutSmoothBatched)->Unit(benchmark::kMillisecond);
BENCHMARK(CutRoughPerFace)->Unit(benchmark::kMillisecond);

}  // namespace
