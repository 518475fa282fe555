// Ordinary kriging of scattered values in the plane, for the control's Kriging contour display.
//
// Given sample points (x, y) with values, `Estimate` returns the best linear unbiased estimate
// at any point under a linear variogram (gamma(h) = h): it honours every sample exactly and
// varies smoothly between them. Samples at the same place are merged into their mean, since
// they would make the kriging system singular. Up to `kGlobalLimit` samples one system is
// solved for all of them; beyond that each estimate uses its `kLocalCount` nearest samples.
#pragma once

#include <vector>

class GKriging {
public:
    static constexpr int kGlobalLimit = 400;
    static constexpr int kLocalCount = 24;

    // Sets the samples; returns the number kept after merging coincident points.
    int SetSamples(const std::vector<double>& xs, const std::vector<double>& ys, const std::vector<double>& vs);
    int GetCount() const { return static_cast<int>(m_x.size()); }
    // Estimate at (x, y); 0 with no samples.
    double Estimate(double x, double y) const;
    double GetMin() const { return m_dMin; }
    double GetMax() const { return m_dMax; }

private:
    // Solves the kriging system of the listed samples at (x, y) and returns the estimate.
    double Solve(const std::vector<int>& idx, double x, double y) const;

    std::vector<double> m_x, m_y, m_v;
    double m_dMin = 0.0, m_dMax = 0.0;
    // Global weights: the factorised system, reused for every estimate.
    std::vector<double> m_lu;  // (n+1)^2 LU factors, row-major
    std::vector<int> m_piv;
    bool m_bGlobal = false;
    bool m_bSingular = false;
};
