// The settlement queries of CClassPCDSink: values in metres, the point at a position and the
// least-squares plane of a raft's points.
#include <gtest/gtest.h>

#include <cmath>

#include "host/db/DBTables.h"
#include "host/db/PostDBBuilder.h"

namespace {

// Points (x, y, settlement mm of group 1, of group 2, constant).
struct Pt {
    double x, y, s1, s2, c;
};

void Add(PostDBBuilder& b, UINT key, const Pt& p) {
    T_PCDSINK_D r;
    r.x = p.x;
    r.y = p.y;
    r.constant = p.c;
    r.aGroup.Add(1);
    r.aValue.Add(p.s1);
    r.aGroup.Add(2);
    r.aValue.Add(p.s2);
    b.AddSettlementPoint(key, r);
}

TEST(SettlementQueries, ValuesAreMetresWithTheConstant) {
    PostDBBuilder b;
    Add(b, 1, {0, 0, 10, -30, 5});  // group 1: 15 mm; group 2: -25 mm, the larger magnitude
    Add(b, 2, {3, 0, 10, -12, 5});  // group 2: -7 mm; group 1: 15 mm is larger
    CClassPCDSink t;
    t.ConnectToDB(&b.DB());
    struct Row {
        UINT key, group;
        BOOL ok;
        double metres;
    };
    const Row rows[] = {{1, 1, TRUE, 0.015}, {1, 2, TRUE, -0.025}, {1, 0, TRUE, -0.025},
                        {2, 0, TRUE, 0.015},  {1, 9, FALSE, 0.0},   {7, 1, FALSE, 0.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key * 100 + r.group);
        double v = 0.0;
        EXPECT_EQ(t.GetValue(r.key, r.group, v), r.ok);
        if (r.ok) {
            EXPECT_NEAR(v, r.metres, 1e-15);
        }
    }
    struct Pos {
        double x, y;
        BOOL ok;
        UINT key;
    };
    const Pos pos[] = {{0.005, 0, TRUE, 1}, {3, 0.001, TRUE, 2}, {1.5, 0, FALSE, 0}};
    for (const Pos& p : pos) {
        SCOPED_TRACE(p.x);
        UINT key = 0;
        EXPECT_EQ(t.GetByPos(p.x, p.y, key), p.ok);
        if (p.ok) {
            EXPECT_EQ(key, p.key);
        }
    }
}

TEST(SettlementQueries, PlaneFitTiltsAverageAndDeflection) {
    // Corners of a 10 m square on s = 10 + 0.2 x + 0.1 y (mm) and the centre 2 mm below it:
    // about the centroid (5, 5) sxx = syy = 100, sxy = 0; sum dx s = -50 + 60 - 55 + 65 = 20
    // -> b = 0.2 mm/m = 0.0002; sum dy s = 10 -> c = 0.0001; mean 59.5 / 5 = 11.9 mm; the
    // centre is 13.5 - 11.9 = 1.6 mm off the plane, over the diagonal 10 sqrt 2 m.
    struct Row {
        const char* name;
        std::vector<Pt> pts;
        BOOL ok;
        double xTilt, yTilt, average, deflection;
    };
    const Row rows[] = {
        {"square and centre",
         {{0, 0, 10, 0, 0}, {10, 0, 12, 0, 0}, {0, 10, 11, 0, 0}, {10, 10, 13, 0, 0}, {5, 5, 13.5, 0, 0}},
         TRUE, 0.0002, 0.0001, 0.0119, 0.0016 / (10 * std::sqrt(2.0))},
        {"on one line", {{0, 0, 1, 0, 0}, {1, 1, 2, 0, 0}, {2, 2, 3, 0, 0}}, FALSE, 0, 0, 0, 0},
        {"two points", {{0, 0, 1, 0, 0}, {1, 0, 2, 0, 0}}, FALSE, 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        PostDBBuilder b;
        CArray<UINT, UINT> keys;
        for (size_t i = 0; i < r.pts.size(); ++i) {
            Add(b, static_cast<UINT>(i + 1), r.pts[i]);
            keys.Add(static_cast<UINT>(i + 1));
        }
        CClassPCDSink t;
        t.ConnectToDB(&b.DB());
        double xt = 0, yt = 0, avg = 0, defl = 0;
        EXPECT_EQ(t.GetCJAngle(keys, 1, xt, yt, avg, defl), r.ok);
        if (!r.ok) continue;
        EXPECT_NEAR(xt, r.xTilt, 1e-12);
        EXPECT_NEAR(yt, r.yTilt, 1e-12);
        EXPECT_NEAR(avg, r.average, 1e-12);
        EXPECT_NEAR(defl, r.deflection, 1e-12);
    }
}

}  // namespace
