// Pure numerics of the control: the picking quadtree and the kriging interpolation behind the
// Kriging contour display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "host/grx/GKrigContour.h"
#include "host/grx/GKriging.h"
#include "host/grx/GQuadTree.h"

namespace {

// Every inserted rectangle is found at each of its corners and centre, also after the root had
// to grow; points off all rectangles find nothing; bad rectangles are refused.
TEST(GrxQuadTree, FindsEveryRectangleIncludingAfterGrowth) {
    GQuadTree qt;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> pos(-100.0, 100.0), size(0.0, 3.0);
    std::vector<GRect2D> rects;
    for (int i = 0; i < 500; ++i) {
        const double x = pos(rng) * (i < 250 ? 1.0 : 40.0), y = pos(rng) * (i < 250 ? 1.0 : 40.0);  // later ones far out
        rects.push_back(GRect2D{x, y, x + size(rng), y + size(rng)});
        ASSERT_EQ(qt.Insert(i, rects.back()), 1);
    }
    EXPECT_EQ(qt.GetCount(), 500);
    std::vector<int> ids;
    for (int i = 0; i < 500; ++i) {
        const GRect2D& r = rects[static_cast<size_t>(i)];
        const double px[3] = {r.left, r.right, (r.left + r.right) / 2};
        const double py[3] = {r.bottom, r.top, (r.bottom + r.top) / 2};
        for (int k = 0; k < 3; ++k) {
            qt.Query(px[k], py[k], 0.0, ids);
            EXPECT_TRUE(std::find(ids.begin(), ids.end(), i) != ids.end()) << "rect " << i << " point " << k;
            for (int id : ids) EXPECT_TRUE(rects[static_cast<size_t>(id)].Contains(px[k], py[k])) << "false hit " << id;
        }
    }
    qt.Query(1e7, 1e7, 1.0, ids);
    EXPECT_TRUE(ids.empty());
    EXPECT_EQ(qt.Insert(9, GRect2D{1, 1, 0, 2}), 0) << "inverted";
    EXPECT_EQ(qt.Insert(9, GRect2D{NAN, 0, 1, 1}), 0) << "not finite";
    // Tolerance widens the hit.
    GQuadTree one;
    one.Insert(3, GRect2D{0, 0, 1, 1});
    one.Query(1.5, 0.5, 0.4, ids);
    EXPECT_TRUE(ids.empty());
    one.Query(1.5, 0.5, 0.6, ids);
    EXPECT_EQ(ids, std::vector<int>{3});
}

// Kriging honours the samples, stays within their range along a line of monotone data, and is
// symmetric for symmetric data; coincident samples merge into their mean.
TEST(GrxKriging, InterpolatesThroughSamples) {
    struct Row {
        const char* name;
        std::vector<double> x, y, v;
    } rows[] = {
        {"square", {0, 10, 10, 0}, {0, 0, 10, 10}, {1, 2, 3, 4}},
        {"scattered", {0, 3, 7, 1, 9, 5}, {0, 8, 2, 5, 9, 5}, {-2, 4, 0.5, 1, 7, 3}},
        {"collinear", {0, 1, 2, 3}, {0, 0, 0, 0}, {0, 1, 2, 3}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        GKriging k;
        ASSERT_EQ(k.SetSamples(r.x, r.y, r.v), static_cast<int>(r.x.size()));
        for (size_t i = 0; i < r.x.size(); ++i) EXPECT_NEAR(k.Estimate(r.x[i], r.y[i]), r.v[i], 1e-9) << "sample " << i;
    }
    GKriging line;
    line.SetSamples({0, 1, 2, 3}, {0, 0, 0, 0}, {0, 1, 2, 3});
    EXPECT_NEAR(line.Estimate(1.5, 0.0), 1.5, 1e-9) << "linear data on a line is reproduced";
    GKriging sym;
    sym.SetSamples({-1, 1, 0, 0}, {0, 0, -1, 1}, {5, 5, 1, 1});
    EXPECT_NEAR(sym.Estimate(0.3, 0.2), sym.Estimate(-0.3, -0.2), 1e-9);
    GKriging dup;
    EXPECT_EQ(dup.SetSamples({0, 0, 4}, {0, 0, 0}, {1, 3, 10}), 2);
    EXPECT_NEAR(dup.Estimate(0, 0), 2.0, 1e-9);
    GKriging none;
    EXPECT_EQ(none.SetSamples({}, {}, {}), 0);
    EXPECT_EQ(none.Estimate(1, 1), 0.0);
}

// More samples than one system takes: each estimate uses the nearest ones and still honours
// the samples.
TEST(GrxKriging, LocalNeighbourhoodForManySamples) {
    std::vector<double> x, y, v;
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 20; ++j) {
            x.push_back(i);
            y.push_back(j);
            v.push_back(std::sin(i * 0.3) + j * 0.1);
        }
    GKriging k;
    ASSERT_EQ(k.SetSamples(x, y, v), 600);
    for (size_t s : {0u, 123u, 599u}) EXPECT_NEAR(k.Estimate(x[s], y[s]), v[s], 1e-7) << s;
    const double mid = k.Estimate(10.5, 5.5);
    EXPECT_GT(mid, std::min({v[10 * 20 + 5], v[11 * 20 + 6]}) - 0.5);
    EXPECT_LT(mid, std::max({v[10 * 20 + 5], v[11 * 20 + 6]}) + 0.5);
}

// The grid's nearest points are those of a scan of every point ranked by (distance, index),
// in that order, also where many points tie at the last place taken (points on a lattice,
// places on lattice nodes and cell middles), for thin and clustered sets and places outside.
TEST(GrxKriging, NearestGridMatchesScan) {
    struct Row {
        const char* name;
        std::vector<double> x, y;
        int k;
    };
    std::vector<Row> rows;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-50.0, 50.0);
    Row lattice{"lattice 40 x 25, 1.5 m", {}, {}, 24}, random{"random", {}, {}, 24}, line{"one line", {}, {}, 24},
        clusters{"two clusters far apart", {}, {}, 24}, few{"fewer points than asked", {}, {}, 24},
        edges{"unit lattice 21 x 21 and 359 repeats", {}, {}, 24};
    // 800 points over 20 x 20 m: cells of 1 m at two points a cell, points on the cells' sides.
    for (int i = 0; i < 800; ++i) {
        edges.x.push_back(i % 21);
        edges.y.push_back((i % 441) / 21);
    }
    for (int i = 0; i < 40; ++i)
        for (int j = 0; j < 25; ++j) {
            lattice.x.push_back(3.0 + 1.5 * i);
            lattice.y.push_back(-7.0 + 1.5 * j);
        }
    for (int i = 0; i < 2000; ++i) {
        random.x.push_back(u(rng));
        random.y.push_back(u(rng) * 0.3);
    }
    for (int i = 0; i < 700; ++i) {
        line.x.push_back(0.25 * (i % 350));  // each place twice: equal distances, the index decides
        line.y.push_back(4.0);
    }
    for (int i = 0; i < 600; ++i) {
        clusters.x.push_back((i % 2 ? 1000.0 : 0.0) + 0.01 * u(rng));
        clusters.y.push_back(0.01 * u(rng));
    }
    few.x = {0, 1, 2, 0, 1};
    few.y = {0, 0, 0, 1, 1};
    rows = {lattice, random, line, clusters, few, edges};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        GNearestGrid grid;
        grid.Build(r.x, r.y);
        std::vector<std::pair<double, double>> places = {{-100, -100}, {500, 2}, {1e6, -1e6}};
        for (size_t i = 0; i < r.x.size(); i += 7) {
            places.emplace_back(r.x[i], r.y[i]);
            places.emplace_back(r.x[i] + 0.75, r.y[i] + 0.75);  // a lattice cell's middle
            places.emplace_back(r.x[i] + 0.75, r.y[i]);
        }
        std::vector<std::pair<double, int>> got;
        for (const auto& [px, py] : places) {
            std::vector<std::pair<double, int>> scan;
            for (size_t i = 0; i < r.x.size(); ++i) scan.emplace_back(std::hypot(px - r.x[i], py - r.y[i]), static_cast<int>(i));
            const size_t k = std::min(scan.size(), static_cast<size_t>(r.k));
            std::partial_sort(scan.begin(), scan.begin() + static_cast<long>(k), scan.end());
            scan.resize(k);
            grid.Nearest(px, py, r.k, got);
            EXPECT_EQ(got, scan) << "at " << px << ", " << py;
        }
    }
}

// Band colours run from the first serial colour at the smallest value to the last at the largest.
TEST(GrxKriging, ContourBandColours) {
    GKrigContour kc;
    GKrigContourDetail d;
    d.m_nColorNum = 7;
    const COLORREF serial[7] = {RGB(0, 0, 255), RGB(0, 128, 255), RGB(0, 255, 255), RGB(0, 255, 0),
                                RGB(255, 255, 0), RGB(255, 128, 0), RGB(255, 0, 0)};
    std::copy(serial, serial + 7, d.m_crSerial);
    std::vector<C3DPoint> pts = {C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), C3DPoint(0, 10, 0)};
    ASSERT_EQ(kc.Set(pts, {0.0, 70.0, 35.0}, 1, d), 1);
    EXPECT_TRUE(kc.IsOn());
    EXPECT_EQ(kc.GetKind(), 1);
    for (int b = 0; b < 7; ++b) EXPECT_EQ(kc.GetValueColor(b * 10.0 + 5.0), serial[b]) << "band " << b;
    EXPECT_EQ(kc.GetValueColor(-100.0), serial[0]) << "below the range";
    EXPECT_EQ(kc.GetValueColor(1e9), serial[6]) << "above the range";
    kc.Off();
    EXPECT_FALSE(kc.IsOn());
    // Nothing usable: stays off.
    EXPECT_EQ(kc.Set({C3DPoint(NAN, 0, 0)}, {1.0}, 0, d), 0);
    EXPECT_FALSE(kc.IsOn());
}

}  // namespace
