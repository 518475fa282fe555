#include "host/grx/GKriging.h"

#include <algorithm>
#include <cmath>
#include <map>
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

// Kriging matrix of the listed samples with the unbiasedness row and column.
std::vector<double> BuildMatrix(const std::vector<double>& x, const std::vector<double>& y,
                                const std::vector<int>& idx) {
    const int m = static_cast<int>(idx.size()), n = m + 1;
    std::vector<double> a(static_cast<size_t>(n) * n, 0.0);
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < m; ++j)
            a[i * n + j] = std::hypot(x[idx[i]] - x[idx[j]], y[idx[i]] - y[idx[j]]);
        a[i * n + m] = 1.0;
        a[m * n + i] = 1.0;
    }
    return a;
}
}  // namespace

int GKriging::SetSamples(const std::vector<double>& xs, const std::vector<double>& ys, const std::vector<double>& vs) {
    m_x.clear();
    m_y.clear();
    m_v.clear();
    m_lu.clear();
    m_piv.clear();
    m_bGlobal = m_bSingular = false;
    const size_t n = std::min({xs.size(), ys.size(), vs.size()});
    // Merge coincident samples (exactly equal coordinates) into their mean value.
    std::map<std::pair<double, double>, std::pair<double, int>> merged;
    std::vector<std::pair<double, double>> order;
    for (size_t i = 0; i < n; ++i) {
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i]) || !std::isfinite(vs[i])) continue;
        auto key = std::make_pair(xs[i], ys[i]);
        auto it = merged.find(key);
        if (it == merged.end()) {
            merged.emplace(key, std::make_pair(vs[i], 1));
            order.push_back(key);
        } else {
            it->second.first += vs[i];
            it->second.second += 1;
        }
    }
    for (auto& k : order) {
        auto& s = merged[k];
        m_x.push_back(k.first);
        m_y.push_back(k.second);
        m_v.push_back(s.first / s.second);
    }
    if (m_v.empty()) return 0;
    m_dMin = *std::min_element(m_v.begin(), m_v.end());
    m_dMax = *std::max_element(m_v.begin(), m_v.end());
    const int m = GetCount();
    if (m > 1 && m <= kGlobalLimit) {
        std::vector<int> idx(m);
        std::iota(idx.begin(), idx.end(), 0);
        m_lu = BuildMatrix(m_x, m_y, idx);
        m_bGlobal = true;
        m_bSingular = !Factor(m_lu, m_piv, m + 1);
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
        std::vector<double> b(m + 1);
        for (int i = 0; i < m; ++i) b[i] = std::hypot(x - m_x[i], y - m_y[i]);
        b[m] = 1.0;
        Substitute(m_lu, m_piv, m + 1, b);
        double e = 0.0;
        for (int i = 0; i < m; ++i) e += b[i] * m_v[i];
        return e;
    }
    // Local neighbourhood: the nearest samples.
    std::vector<std::pair<double, int>> d(m);
    for (int i = 0; i < m; ++i) d[i] = {std::hypot(x - m_x[i], y - m_y[i]), i};
    std::partial_sort(d.begin(), d.begin() + kLocalCount, d.end());
    std::vector<int> idx(kLocalCount);
    for (int i = 0; i < kLocalCount; ++i) idx[i] = d[i].second;
    return Solve(idx, x, y);
}
