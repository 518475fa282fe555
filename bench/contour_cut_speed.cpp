// Speed of the face cutter against the cutter it replaced, in one program on the same data: a
// smooth field on 224 x 224 cells (100,352 triangles) and a rough one, 12 levels, the lists
// emptied after every face as a result engine draws and clears them. Before timing, both cutters'
// band areas are compared (1e-12 relative, per band over the whole mesh) and every polygon is
// checked: at least three vertices, every vertex value inside its band.
//
// OldCutter is the earlier cutter copied here as the baseline only: corner and crossing arrays of
// C3DPoint, the earlier tolerance (a zero counted as magnitude 1) and the rank look-ups called per
// face, one append per polygon. Its level crossings are the engine's own CrossLevels, which the
// earlier cutter called as well.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "module/contour/CContourEngine.h"

namespace {

constexpr int kCells = 224;  // 2 x 224 x 224 = 100,352 triangles
constexpr int64_t kTriangles = 2LL * kCells * kCells;
constexpr int kLevels = 12;

// ---- the earlier cutter (baseline) ------------------------------------------------------------

class OldCutter : public CContourEngine {
public:
    OldCutter(double lo, double hi) : CContourEngine(lo, hi) {}

    void Triangle(double w1, double w2, double w3, C3DPoint& p1, C3DPoint& p2, C3DPoint& p3, CArray<int, int>& sizes,
                  CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
        C3DPoint P[3] = {p1, p2, p3};
        double w[3] = {w1, w2, w3};
        int order[3];
        FindMinMax(w, order, nullptr);
        OldDoTriangle(w[order[0]], w[order[1]], w[order[2]], P[order[0]], P[order[1]], P[order[2]], 0, 0, 0, sizes,
                      vertices);
    }

private:
    static constexpr int kMaxChain = 2 * MAX_LEVELS + 3;

    // A zero counted as magnitude 1.
    static double OldTolerance(int n, const double* values) {
        double m = -1.0;
        for (int i = 0; values != nullptr && i < n; i++) {
            const double x = values[i];
            if (!std::isfinite(x)) continue;
            const double a = x == 0.0 ? 1.0 : std::fabs(x);
            if (a > m) m = a;
        }
        if (m < 0.0) m = 1.0;
        if (m < 1e-5) m = 1e-5;
        return m * 1e-10;
    }

    void OldDoTriangle(double vA, double vB, double vC, C3DPoint& A, C3DPoint& B, C3DPoint& C, int eAB, int eBC,
                       int eCA, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
        VtxInfo_tag poly[kMaxChain];
        double vals[kMaxChain];
        auto emit = [&](int count) {
            for (int i = 0; i < count; i++) vals[i] = poly[i].dValue;
            if (IsOutOfRange(count, vals)) return;
            const INT_PTR at = vertices.GetSize();
            vertices.SetSize(at + count);
            VtxInfo_tag* dst = vertices.GetData();
            if (dst == nullptr || vertices.GetSize() != at + count) return;
            for (int i = 0; i < count; i++) dst[at + i] = poly[i];
            sizes.Add(count);
        };
        const double ends[2] = {vA, vC};
        const double T = OldTolerance(2, ends);
        C3DPoint acPts[MAX_LEVELS];
        double acLev[MAX_LEVELS];
        int m = 0;
        if (!(std::fabs(vA - vB) < T && std::fabs(vB - vC) < T)) m = CrossLevels(A, C, vA, vC, acPts, acLev, nullptr);
        if (m == 0) {
            poly[0] = VtxInfo_tag{A, eAB, vA};
            poly[1] = VtxInfo_tag{B, eBC, vB};
            poly[2] = VtxInfo_tag{C, eCA, vC};
            emit(3);
        } else {
            C3DPoint chainPt[kMaxChain];
            double chainVal[kMaxChain];
            chainPt[0] = A;
            chainVal[0] = vA;
            const int idxB = 1 + CrossLevels(A, B, vA, vB, chainPt + 1, chainVal + 1, nullptr);
            chainPt[idxB] = B;
            chainVal[idxB] = vB;
            const int idxC = idxB + 1 + CrossLevels(B, C, vB, vC, chainPt + idxB + 1, chainVal + idxB + 1, nullptr);
            chainPt[idxC] = C;
            chainVal[idxC] = vC;
            int right[MAX_LEVELS + 1];
            int nextAB = 1, nextBC = idxB + 1;
            for (int j = 0; j < m; j++) {
                const double L = acLev[j];
                if (std::fabs(L - vB) < 1e-64) right[j] = idxB;
                else if (L > vB) right[j] = nextAB < idxB ? nextAB++ : idxB;
                else right[j] = nextBC < idxC ? nextBC++ : idxC;
            }
            for (int j = 0; j <= m; j++) {
                int count = 0;
                int from;
                if (j == 0) {
                    poly[count++] = VtxInfo_tag{A, eAB, vA};
                    from = 1;
                } else {
                    poly[count++] = VtxInfo_tag{acPts[j - 1], 1, acLev[j - 1]};
                    from = right[j - 1];
                }
                const int to = j < m ? right[j] : idxC;
                for (int i = from; i <= to && count < kMaxChain - 1; i++) {
                    int flag;
                    if (i == to) flag = j < m ? 0 : eCA;
                    else flag = i < idxB ? eAB : eBC;
                    poly[count++] = VtxInfo_tag{chainPt[i], flag, chainVal[i]};
                }
                if (j < m) poly[count++] = VtxInfo_tag{acPts[j], eCA, acLev[j]};
                if (count >= 3) emit(count);
            }
        }
        ExcludePolyOutofRange(sizes, vertices, nullptr, nullptr);
    }
};

// ---- fields ---------------------------------------------------------------------------------

struct Field {
    std::vector<double> values;  // (kCells + 1)^2 grid nodes
    double At(int i, int j) const { return values[static_cast<size_t>(j) * (kCells + 1) + i]; }
};

// The bending-moment-like field of contour_cut.cpp, stretched onto the smaller grid.
const Field& Smooth() {
    static const Field f = [] {
        Field r;
        r.values.resize(static_cast<size_t>(kCells + 1) * (kCells + 1));
        for (int j = 0; j <= kCells; j++)
            for (int i = 0; i <= kCells; i++)
                r.values[static_cast<size_t>(j) * (kCells + 1) + i] = 100.0 * std::sin(i * 0.045) * std::cos(j * 0.058);
        return r;
    }();
    return f;
}

const Field& Rough() {
    static const Field f = [] {
        Field r;
        r.values.resize(static_cast<size_t>(kCells + 1) * (kCells + 1));
        std::mt19937_64 rng(2026);
        std::uniform_real_distribution<double> d(-100.0, 100.0);
        for (double& v : r.values) v = d(rng);
        return r;
    }();
    return f;
}

// Cuts every triangle of the field with cut(values, points, sizes, vertices); visit sees the
// lists of each face before they are emptied.
template <class Cut, class Visit>
void CutField(const Field& f, Cut&& cut, Visit&& visit) {
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> vertices;
    for (int j = 0; j < kCells; j++)
        for (int i = 0; i < kCells; i++) {
            C3DPoint a(i, j, 0), b(i + 1, j, 0), c(i + 1, j + 1, 0), d(i, j + 1, 0);
            const double wa = f.At(i, j), wb = f.At(i + 1, j), wc = f.At(i + 1, j + 1), wd = f.At(i, j + 1);
            cut(wa, wb, wc, a, b, c, sizes, vertices);
            visit(sizes, vertices);
            sizes.RemoveAll();
            vertices.RemoveAll();
            C3DPoint a2(i, j, 0), c2(i + 1, j + 1, 0);
            cut(wa, wc, wd, a2, c2, d, sizes, vertices);
            visit(sizes, vertices);
            sizes.RemoveAll();
            vertices.RemoveAll();
        }
}

// Area per band over the whole field; empty string when every polygon is valid, else what is
// wrong.
template <class Cut>
std::string BandAreas(const Field& f, const CContourEngine& scale, Cut&& cut, std::vector<double>& areas) {
    areas.assign(kLevels + 1, 0.0);
    std::string error;
    const double* L = scale.m_dRankMap;
    CutField(f, cut, [&](const CArray<int, int>& sizes, const CArray<VtxInfo_tag, VtxInfo_tag>& v) {
        INT_PTR at = 0;
        for (INT_PTR p = 0; p < sizes.GetSize(); p++) {
            const int n = sizes[p];
            if (n < 3 && error.empty()) error = "a polygon of fewer than three vertices";
            double mean = 0.0, area = 0.0;
            for (int k = 0; k < n; k++) {
                mean += v[at + k].dValue;
                const C3DPoint& a = v[at + k].pt;
                const C3DPoint& b = v[at + (k + 1) % n].pt;
                area += a.x * b.y - b.x * a.y;
            }
            mean /= n;
            int r = scale.GetUpperRank(mean);
            if (r < 0) r = -r;
            const double lo = r > 0 ? L[r - 1] : -1e300, hi = r < kLevels - 1 ? L[r] : 1e300;
            for (int k = 0; k < n; k++) {
                const double x = v[at + k].dValue;
                if ((x < lo - 1e-9 || x > hi + 1e-9) && error.empty()) error = "a vertex value outside its band";
            }
            areas[static_cast<size_t>(r)] += 0.5 * std::fabs(area);
            at += n;
        }
        if (at != v.GetSize() && error.empty()) error = "vertices beyond the listed polygons";
    });
    return error;
}

template <class Cut>
void RunCutter(benchmark::State& state, const Field& f, CContourEngine& scale, Cut&& cut) {
    // The band areas of both cutters agree before anything is timed.
    static bool checked[2] = {false, false};
    bool& done = checked[&f == &Smooth() ? 0 : 1];
    if (!done) {
        OldCutter oldScale(-100.0, 100.0);
        oldScale.m_nNumColor = kLevels;
        oldScale.MakeRankMap();
        std::vector<double> want, got;
        std::string err = BandAreas(
            f, oldScale,
            [&](double a, double b, double c, C3DPoint& p, C3DPoint& q, C3DPoint& r, CArray<int, int>& s,
                CArray<VtxInfo_tag, VtxInfo_tag>& v) { oldScale.Triangle(a, b, c, p, q, r, s, v); },
            want);
        if (err.empty())
            err = BandAreas(
                f, scale,
                [&](double a, double b, double c, C3DPoint& p, C3DPoint& q, C3DPoint& r, CArray<int, int>& s,
                    CArray<VtxInfo_tag, VtxInfo_tag>& v) {
                    scale.ContourTriangle(a, b, c, p, q, r, 0, 0, 0, s, v, nullptr, nullptr, 1);
                },
                got);
        for (size_t r = 0; err.empty() && r < want.size(); r++)
            if (std::fabs(got[r] - want[r]) > 1e-12 * std::fabs(want[r])) err = "band areas differ in band " + std::to_string(r);
        if (!err.empty()) {
            state.SkipWithError(err.c_str());
            return;
        }
        done = true;
    }
    int64_t polygons = 0;
    for (auto _ : state) {
        CutField(f, cut, [&](const CArray<int, int>& sizes, const CArray<VtxInfo_tag, VtxInfo_tag>&) {
            polygons += sizes.GetSize();
        });
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kTriangles);
    state.counters["polygons_per_triangle"] =
        static_cast<double>(polygons) / static_cast<double>(static_cast<int64_t>(state.iterations()) * kTriangles);
}

void CutOld(benchmark::State& state, const Field& f) {
    OldCutter scale(-100.0, 100.0);
    scale.m_nNumColor = kLevels;
    scale.MakeRankMap();
    RunCutter(state, f, scale,
              [&](double a, double b, double c, C3DPoint& p, C3DPoint& q, C3DPoint& r, CArray<int, int>& s,
                  CArray<VtxInfo_tag, VtxInfo_tag>& v) { scale.Triangle(a, b, c, p, q, r, s, v); });
}

void CutNew(benchmark::State& state, const Field& f) {
    CContourEngine scale(-100.0, 100.0);
    scale.m_nNumColor = kLevels;
    scale.MakeRankMap();
    RunCutter(state, f, scale,
              [&](double a, double b, double c, C3DPoint& p, C3DPoint& q, C3DPoint& r, CArray<int, int>& s,
                  CArray<VtxInfo_tag, VtxInfo_tag>& v) {
                  scale.ContourTriangle(a, b, c, p, q, r, 0, 0, 0, s, v, nullptr, nullptr, 1);
              });
}

void SmoothOld(benchmark::State& s) { CutOld(s, Smooth()); }
void SmoothNew(benchmark::State& s) { CutNew(s, Smooth()); }
void RoughOld(benchmark::State& s) { CutOld(s, Rough()); }
void RoughNew(benchmark::State& s) { CutNew(s, Rough()); }

BENCHMARK(SmoothOld)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(SmoothNew)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(RoughOld)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(RoughNew)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
