// Ordinary kriging of scattered values in the plane, for the control's Kriging contour display.
//
// Given sample points (x, y) with values, `Estimate` returns the best linear unbiased estimate
// at any point under a linear variogram (gamma(h) = h): it honours every sample exactly and
// varies smoothly between them. Samples at the same place are merged into their mean, since
// they would make the kriging system singular. Up to `kGlobalLimit` samples one system is
// solved for all of them; beyond that each estimate uses its `kLocalCount` nearest samples,
// found through a `GNearestGrid`.
#pragma once

#include <utility>
#include <vector>

// Bucket grid over points in the plane for the k nearest points to a place. Points are ranked by
// their distance (std::hypot of the differences) and then by their index, so that points at the
// same distance, common when the points lie on a grid, always fall in the same order, the order
// a scan of every point sorting (distance, index) pairs gives. Cells are searched in square rings
// around the place until no unsearched cell can hold a point as near as the k-th found.
class GNearestGrid {
public:
    void Build(const std::vector<double>& xs, const std::vector<double>& ys);
    // The min(k, count) nearest points to (x, y) as (distance, index) pairs, nearest first.
    void Nearest(double x, double y, int k, std::vector<std::pair<double, int>>& out) const;

private:
    struct Point {
        double x, y;
        int index;
    };
    std::vector<Point> m_points;  // grouped by cell, each cell's points in index order
    std::vector<int> m_cellStart;  // per cell (row-major, then one end entry): first point
    double m_x0 = 0.0, m_y0 = 0.0, m_cell = 1.0;  // grid origin and cell side
    int m_nx = 0, m_ny = 0;
};

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
    GNearestGrid m_grid;  // over the samples when there are more than kGlobalLimit

    std::vector<double> m_x, m_y, m_v;
    double m_dMin = 0.0, m_dMax = 0.0;
    // Global system solved once for the values: the estimate at (x, y) is the sum of these
    // weights times the distances to the samples, plus the last (the unbiasedness term).
    std::vector<double> m_dual;
    bool m_bGlobal = false;
    bool m_bSingular = false;
};
