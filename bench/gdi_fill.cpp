// Raster DC fill speed: 100,000 small solid triangles on a 1920x1080 memory DC, each with its
// own colour, no pen, as the contour bands are drawn.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/gdi/afxgdi.h"

namespace {

struct Triangle {
    POINT p[3];
    COLORREF color;
};

std::vector<Triangle> MakeTriangles(int n) {
    std::vector<Triangle> out;
    out.reserve(static_cast<size_t>(n));
    unsigned seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xffff;
    };
    for (int i = 0; i < n; ++i) {
        const int x = static_cast<int>(next() % 1900), y = static_cast<int>(next() % 1060);
        Triangle t;
        t.p[0] = POINT{x, y};
        t.p[1] = POINT{x + 4 + static_cast<int>(next() % 12), y + static_cast<int>(next() % 6)};
        t.p[2] = POINT{x + static_cast<int>(next() % 6), y + 4 + static_cast<int>(next() % 12)};
        t.color = RGB(next() & 0xff, next() & 0xff, next() & 0xff);
        out.push_back(t);
    }
    return out;
}

void BM_FillSmallTriangles(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::vector<Triangle> tris = MakeTriangles(count);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bm;
    bm.CreateCompatibleBitmap(nullptr, 1920, 1080);
    CBitmap* oldBm = dc.SelectObject(&bm);
    dc.SelectStockObject(NULL_PEN);
    // One brush per colour is what the band drawing does.
    for (auto _ : state) {
        for (const Triangle& t : tris) {
            CBrush brush(t.color);
            CBrush* old = dc.SelectObject(&brush);
            dc.Polygon(t.p, 3);
            dc.SelectObject(old);
        }
    }
    benchmark::DoNotOptimize(dc.GetPixel(960, 540));
    state.SetItemsProcessed(state.iterations() * count);
    dc.SelectObject(oldBm);
}
BENCHMARK(BM_FillSmallTriangles)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
