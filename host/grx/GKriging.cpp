#include "host/grx/GKriging.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace {
// LU factorisation with partial pivoting of an n x n row-major matrix; false when singular.
bool Factor(std::vector<double>& a, std::vector<int>& piv, int n) {
    piv.resize(n);
    for (int k = 0; k < n; ++k) {
        int p = k;
        for (int i = k + 1; i < n; ++i)
            if (std::fabs(a[i * n + k]) > std::fabs(a[p * n + k])) p = i;
        piv[k] = p;
        if (std::fabs(a[p * n + k]) < 1e-300) return false;
        if (p != k)
            for (int j = 0; j < n; ++j) std::swap(a[k * n + j], a[p * n + j]);
        for (int i = k + 1; i < n; ++i) {
            double f = a[i * n + k] /= a[k * n + k];
            for (int j = k + 1; j < n; ++j) a[i * n + j] -= f * a[k * n + j];
        }
    }
    return true;
}

void Substitute(const std::vector<double>& a, const std::vector<int>& piv, int n, std::vector<double>& b) {
    for (int k = 0; k < n; ++k)
        if (piv[k] != k) std::swap(b[k], b[piv[k]]);
    for (int i = 1; i < n; ++i)
        for (int j = 0; j < i; ++j) b[i] -= a[i * n + j] * b[j];
    for (int i = n - 1; i >= 0; --i) {
        for (int j = i + 1; j < n; ++j) b[i] -= a[i * n + j] * b[j];
        b[i] /= a[i * n + i];
    }
}

// Kriging matrix of the listed samples with the unbiasedness row and column. It is symmetric:
// hypot of the negated differences is the same number, so each pair is computed once.
std::vector<double> BuildMatrix(const std::vector<double>& x, const std::vector<double>& y,
                                const std::vector<int>& idx) {
    const int m = static_cast<int>(idx.size()), n = m + 1;
    std::vector<double> a(static_cast<size_t>(n) * n, 0.0);
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < i; ++j)
            a[i * n + j] = a[j * n + i] = std::hypot(x[idx[i]] - x[idx[j]], y[idx[i]] - y[idx[j]]);
        a[i * n + m] = 1.0;
        a[m * n + i] = 1.0;
    }
    return a;
}

// Points a grid cell holds on average: few enough that a search reads few far points, enough
// that the cells do not outnumber the points.
constexpr double kPointsPerCell = 2.0;
}  // namespace

void GNearestGrid::Build(const std::vector<double>& xs, const std::vector<double>& ys) {
    const size_t n = std::min(xs.size(), ys.size());
    m_points.clear();
    m_cellStart.assign(1, 0);
    m_nx = m_ny = 0;
    if (n == 0) return;
    double x1 = xs[0], y1 = ys[0];
    m_x0 = xs[0];
    m_y0 = ys[0];
    for (size_t i = 1; i < n; ++i) {
        m_x0 = std::min(m_x0, xs[i]);
        x1 = std::max(x1, xs[i]);
        m_y0 = std::min(m_y0, ys[i]);
        y1 = std::max(y1, ys[i]);
    }
    const double w = x1 - m_x0, h = y1 - m_y0, cells = std::max(1.0, n / kPointsPerCell);
    // The second term bounds each side's count by the cell target for long, thin point sets.
    m_cell = std::max(std::sqrt(w * h / cells), std::max(w, h) / cells);
    if (!(m_cell > 0.0) || !std::isfinite(m_cell)) m_cell = 1.0;
    m_nx = static_cast<int>(w / m_cell) + 1;
    m_ny = static_cast<int>(h / m_cell) + 1;
    // Counting sort by cell; points keep their index order within a cell.
    std::vector<int> cellOf(n);
    m_cellStart.assign(static_cast<size_t>(m_nx) * m_ny + 1, 0);
    for (size_t i = 0; i < n; ++i) {
        const int cx = std::min(m_nx - 1, static_cast<int>((xs[i] - m_x0) / m_cell));
        const int cy = std::min(m_ny - 1, static_cast<int>((ys[i] - m_y0) / m_cell));
        cellOf[i] = cy * m_nx + cx;
        ++m_cellStart[static_cast<size_t>(cellOf[i]) + 1];
    }
    for (size_t c = 1; c < m_cellStart.size(); ++c) m_cellStart[c] += m_cellStart[c - 1];
    m_points.resize(n);
    std::vector<int> fill(m_cellStart.begin(), m_cellStart.end() - 1);
    for (size_t i = 0; i < n; ++i) m_points[fill[cellOf[i]]++] = Point{xs[i], ys[i], static_cast<int>(i)};
}

void GNearestGrid::Nearest(double x, double y, int k, std::vector<std::pair<double, int>>& out) const {
    out.clear();
    k = std::min(k, static_cast<int>(m_points.size()));
    if (k <= 0) return;
    auto cellIndex = [this](double v, double v0, int count) {
        const double t = (v - v0) / m_cell;
        return t >= 0.0 ? static_cast<int>(std::min(t, count - 1.0)) : 0;  // also NaN to 0
    };
    const int cx = cellIndex(x, m_x0, m_nx), cy = cellIndex(y, m_y0, m_ny);
    // A point's cell comes from a rounded division: the ring bound keeps a margin for it.
    const double tol = 1e-9 * (m_cell + std::fabs(m_x0) + std::fabs(m_y0) + (m_nx + m_ny) * m_cell);
    // `out` is a max-heap of the k best (distance, index) pairs so far.
    auto take = [&](int c) {
        for (int p = m_cellStart[c]; p < m_cellStart[c + 1]; ++p) {
            const Point& pt = m_points[p];
            const std::pair<double, int> d{std::hypot(x - pt.x, y - pt.y), pt.index};
            if (static_cast<int>(out.size()) < k) {
                out.push_back(d);
                std::push_heap(out.begin(), out.end());
            } else if (d < out.front()) {
                std::pop_heap(out.begin(), out.end());
                out.back() = d;
                std::push_heap(out.begin(), out.end());
            }
        }
    };
    const int rMax = std::max({cx, m_nx - 1 - cx, cy, m_ny - 1 - cy});
    for (int r = 0; r <= rMax; ++r) {
        const int i0 = std::max(0, cx - r), i1 = std::min(m_nx - 1, cx + r);
        const int j0 = std::max(0, cy - r), j1 = std::min(m_ny - 1, cy + r);
        if (cy - r >= 0)
            for (int i = i0; i <= i1; ++i) take((cy - r) * m_nx + i);
        if (r > 0 && cy + r < m_ny)
            for (int i = i0; i <= i1; ++i) take((cy + r) * m_nx + i);
        for (int j = std::max(j0, cy - r + 1); j <= std::min(j1, cy + r - 1); ++j) {
            if (cx - r >= 0) take(j * m_nx + cx - r);
            if (r > 0 && cx + r < m_nx) take(j * m_nx + cx + r);
        }
        if (static_cast<int>(out.size()) < k) continue;
        // Nearest place an unsearched cell can hold a point.
        double bound = INFINITY;
        if (cx - r > 0) bound = std::min(bound, x - (m_x0 + (cx - r) * m_cell));
        if (cx + r < m_nx - 1) bound = std::min(bound, m_x0 + (cx + r + 1) * m_cell - x);
        if (cy - r > 0) bound = std::min(bound, y - (m_y0 + (cy - r) * m_cell));
        if (cy + r < m_ny - 1) bound = std::min(bound, m_y0 + (cy + r + 1) * m_cell - y);
        if (out.front().first < bound - tol) break;
    }
    std::sort_heap(out.begin(), out.end());
}

int GKriging::SetSamples(const std::vector<double>& xs, const std::vector<double>& ys, const std::vector<double>& vs) {
    m_x.clear();
    m_y.clear();
    m_v.clear();
    m_dual.clear();
    m_bGlobal = m_bSingular = false;
    m_grid = GNearestGrid();
    const size_t n = std::min({xs.size(), ys.size(), vs.size()});
    // Merge coincident samples (exactly equal coordinates) into their mean value, summed in input
    // order; the merged samples keep the order of their first appearance.
    std::vector<int> at;  // finite samples by place, then input order
    for (size_t i = 0; i < n; ++i)
        if (std::isfinite(xs[i]) && std::isfinite(ys[i]) && std::isfinite(vs[i])) at.push_back(static_cast<int>(i));
    std::sort(at.begin(), at.end(), [&](int a, int b) {
        if (xs[a] != xs[b]) return xs[a] < xs[b];
        if (ys[a] != ys[b]) return ys[a] < ys[b];
        return a < b;
    });
    std::vector<std::pair<int, double>> merged;  // (first input index, mean value)
    for (size_t g = 0; g < at.size();) {
        size_t e = g + 1;
        double sum = vs[at[g]];
        for (; e < at.size() && xs[at[e]] == xs[at[g]] && ys[at[e]] == ys[at[g]]; ++e) sum += vs[at[e]];
        merged.emplace_back(at[g], sum / static_cast<double>(e - g));
        g = e;
    }
    std::sort(merged.begin(), merged.end());
    for (const auto& [i, v] : merged) {
        m_x.push_back(xs[i]);
        m_y.push_back(ys[i]);
        m_v.push_back(v);
    }
    if (m_v.empty()) return 0;
    m_dMin = *std::min_element(m_v.begin(), m_v.end());
    m_dMax = *std::max_element(m_v.begin(), m_v.end());
    const int m = GetCount();
    if (m > 1 && m <= kGlobalLimit) {
        std::vector<int> idx(m);
        std::iota(idx.begin(), idx.end(), 0);
        std::vector<double> lu = BuildMatrix(m_x, m_y, idx);
        std::vector<int> piv;
        m_bGlobal = true;
        m_bSingular = !Factor(lu, piv, m + 1);
        // The system is symmetric, so the estimate v'A^-1 b(x) equals (A^-1 v)'b(x): one solve
        // here leaves each estimate a sum over the samples instead of a substitution.
        if (!m_bSingular) {
            m_dual.assign(m_v.begin(), m_v.end());
            m_dual.push_back(0.0);
            Substitute(lu, piv, m + 1, m_dual);
        }
    } else if (m > kGlobalLimit) {
        m_grid.Build(m_x, m_y);
    }
    return m;
}

double GKriging::Solve(const std::vector<int>& idx, double x, double y) const {
    const int m = static_cast<int>(idx.size());
    std::vector<double> a = BuildMatrix(m_x, m_y, idx);
    std::vector<int> piv;
    std::vector<double> b(m + 1);
    for (int i = 0; i < m; ++i) b[i] = std::hypot(x - m_x[idx[i]], y - m_y[idx[i]]);
    b[m] = 1.0;
    if (!Factor(a, piv, m + 1)) {
        double s = 0.0;
        for (int i : idx) s += m_v[i];
        return s / m;
    }
    Substitute(a, piv, m + 1, b);
    double e = 0.0;
    for (int i = 0; i < m; ++i) e += b[i] * m_v[idx[i]];
    return e;
}

double GKriging::Estimate(double x, double y) const {
    const int m = GetCount();
    if (m == 0) return 0.0;
    if (m == 1) return m_v[0];
    if (m_bGlobal) {
        if (m_bSingular) return std::accumulate(m_v.begin(), m_v.end(), 0.0) / m;
        double e = m_dual[m];
        for (int i = 0; i < m; ++i) e += m_dual[i] * std::hypot(x - m_x[i], y - m_y[i]);
        return e;
    }
    // Local neighbourhood: the nearest samples.
    std::vector<std::pair<double, int>> d;
    m_grid.Nearest(x, y, kLocalCount, d);
    std::vector<int> idx(kLocalCount);
    for (int i = 0; i < kLocalCount; ++i) idx[i] = d[i].second;
    return Solve(idx, x, y);
}
