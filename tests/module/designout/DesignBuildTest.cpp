// The design engine's area-steel records, beam force pickers and column-force labels, checked
// against values worked out by hand from the test database (DesignOutTestSupport.h).
#include <cfloat>
#include <cmath>

#include "tests/module/designout/DesignOutTestSupport.h"

namespace designout {

namespace {

bool Near(const C3DPoint& a, const C3DPoint& b) {
    return std::fabs(a.x - b.x) < 1e-9 && std::fabs(a.y - b.y) < 1e-9 && std::fabs(a.z - b.z) < 1e-9;
}

}  // namespace

// A slab gets one record per outline edge, the last edge from its last node back to the first,
// and one centre record; a slab whose result has another number of edge values gets neither.
TEST_F(DesignOutTest, AreaSteelSlabEdges) {
    ASSERT_EQ(D().MakeAreaSteelDrawingDataList(), 1);
    struct Edge {
        double value;
        C3DPoint a, b;
    };
    struct Row {
        UINT slab;
        std::vector<Edge> edges;
        bool bCentre;
        C3DPoint centre;  // centroid in plan, z of the last edge's first point
        double d0, d1;
    } rows[] = {
        {kSlabRect,
         {{11, {0, 0, 0}, {6, 0, 0}}, {12, {6, 0, 0}, {6, 4, 0}}, {13, {6, 4, 0}, {0, 4, 0}}, {14, {0, 4, 0}, {0, 0, 0}}},
         true, {3, 2, 0}, 100, 200},
        {kSlabBad, {}, false, {}, 0, 0},
        // Triangle: the centroid is the mean of its corners, (22/3, 4/3).
        {kSlabTri, {{31, {6, 0, 0}, {10, 0, 0}}, {32, {10, 0, 0}, {6, 4, 0}}, {33, {6, 4, 0}, {6, 0, 0}}}, true,
         {22.0 / 3.0, 4.0 / 3.0, 0}, 102, 202},
    };
    CArray<T_SFORCE_D, T_SFORCE_D&> all;
    D().GetSlabAs(all);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.slab);
        std::vector<T_SFORCE_D> got;
        for (INT_PTR i = 0; i < all.GetSize(); ++i)
            if (all[i].nKey == r.slab) got.push_back(all[i]);
        ASSERT_EQ(got.size(), r.edges.size());
        for (size_t k = 0; k < got.size(); ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(got[k].dValue, r.edges[k].value);
            EXPECT_TRUE(Near(got[k].ptA, r.edges[k].a));
            EXPECT_TRUE(Near(got[k].ptB, r.edges[k].b));
        }
        T_SMOMENT_D m;
        ASSERT_EQ(D().GetSlabAsSMomentD(r.slab, m), r.bCentre ? 1 : 0);
        if (!r.bCentre) continue;
        EXPECT_EQ(m.d[0], r.d0);
        EXPECT_EQ(m.d[1], r.d1);
        for (int k = 2; k < 6; ++k) EXPECT_EQ(m.d[k], 0.0);
        EXPECT_EQ(m.nKey, r.slab);
        EXPECT_TRUE(Near(m.pt, r.centre));
    }
    EXPECT_EQ(D().m_arrBrtrAs.GetSize(), 0);
}

// Column, beam, wall-beam and wall records: the largest values over the blocks, the ratios of
// kinds 1 and 2, the stirrups, at the top node or the member centre; a one-node beam, a member
// of type 210 whose first element is not of type 211, and a column without result get none.
TEST_F(DesignOutTest, AreaSteelMemberRecords) {
    ASSERT_EQ(D().MakeAreaSteelDrawingDataList(), 1);
    CArray<T_COLM_AS, T_COLM_AS&> colm;
    CArray<T_BEAM_AS, T_BEAM_AS&> beam;
    CArray<T_WBEM_AS, T_WBEM_AS&> wbeam;
    CArray<T_WALL_AS, T_WALL_AS&> wall;
    D().GetColmAs(colm);
    D().GetBeamAs(beam);
    D().GetWallBAs(wbeam);
    D().GetWallCAs(wall);
    ASSERT_EQ(colm.GetSize(), 1);  // column B has no design result
    ASSERT_EQ(beam.GetSize(), 1);  // the one-node beam has no centre
    ASSERT_EQ(wbeam.GetSize(), 1); // the 210 of a 209 element is no wall beam
    ASSERT_EQ(wall.GetSize(), 1);
    // Zones of the beam stations k (top 10 + k, bottom 20 + k, stirrups 30 + k, torsion 1 + k at
    // even k): left 0-2, middle 3-5, right 6-8.
    struct Row {
        const char* what;
        UINT key, gotKey;
        std::vector<double> want, got;
        C3DPoint anchor, gotAnchor;
    } rows[] = {
        {"column", kColA, colm[0].nKey, {150, 260, 40, 0, 0.45, 0.62, 7, 4.5},
         std::vector<double>(colm[0].d, colm[0].d + 8), {0, 0, 3}, colm[0].pt},
        {"beam", kBeam, beam[0].nKey, {12, 15, 18, 22, 25, 28, 38, 0.7, 9, 5},
         std::vector<double>(beam[0].d, beam[0].d + 10), {3, 0, 3}, beam[0].ptLabel[0]},
        {"wall beam", kWallBeam, wbeam[0].nKey, {12, 15, 18, 22, 25, 28, 38, 1.1, 9, 5},
         std::vector<double>(wbeam[0].d, wbeam[0].d + 10), {3, 4, 3}, wbeam[0].ptLabel[0]},
        {"wall", kWall, wall[0].nKey, {320, 6}, std::vector<double>(wall[0].d, wall[0].d + 2), {3, 4, 0}, wall[0].pt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(r.gotKey, r.key);
        ASSERT_EQ(r.got.size(), r.want.size());
        for (size_t k = 0; k < r.want.size(); ++k) EXPECT_DOUBLE_EQ(r.got[k], r.want[k]) << "value " << k;
        EXPECT_TRUE(Near(r.gotAnchor, r.anchor));
    }
    EXPECT_TRUE(Near(beam[0].ptLabel[1], C3DPoint(3, 0, 3)));
    EXPECT_TRUE(Near(beam[0].ptEnd[0], C3DPoint(0, 0, 3)));
    EXPECT_TRUE(Near(beam[0].ptEnd[1], C3DPoint(6, 0, 3)));
    EXPECT_TRUE(Near(wall[0].ptEnd[0], C3DPoint(0, 4, 0)));
    EXPECT_TRUE(Near(wall[0].ptEnd[1], C3DPoint(6, 4, 0)));
}

// The selected component of a segment end, and the extremes over the 16 segment ends.
TEST_F(DesignOutTest, BeamForcePickersAndExtremes) {
    // Block b = 2 x segment + end: component 4 = b - 5 (-5 .. 10), component 2 = 3b - 20 (-20 .. 25).
    T_STRG_D f;
    f.Initialize();
    for (int b = 0; b < 16; ++b) {
        f.d[6 * b + 4] = b - 5;
        f.d[6 * b + 2] = 3 * b - 20;
    }
    struct Row {
        int sel;
        double atSeg3End1, max, min;
    } rows[] = {{4, 2, 10, -5}, {2, 1, 25, -20}, {0, 0, 0, 0}, {3, 0, 0, 0}, {5, 0, 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.sel);
        D().m_nCForcSel[0] = r.sel;
        EXPECT_EQ(D().CalcBForcValue(f, 3, 1), r.atSeg3End1);
        EXPECT_EQ(D().GetMaxMembBForc(f), r.max);
        EXPECT_EQ(D().GetMinMembBForc(f), r.min);
    }
    // The running extremes move only for a strictly larger maximum or smaller minimum.
    D().m_nCForcSel[0] = 4;
    struct Run {
        double max, min, wantMax, wantMin;
    } runs[] = {{10, -5, 10, -5}, {9, -4, 10, -5}, {11, -6, 11, -6}, {-DBL_MAX, DBL_MAX, 10, -5}};
    for (const Run& r : runs) {
        SCOPED_TRACE(testing::Message() << r.max << " " << r.min);
        double mx = r.max, mn = r.min;
        D().MinMaxMembBForc(0, f, mx, mn);
        EXPECT_EQ(mx, r.wantMax);
        EXPECT_EQ(mn, r.wantMin);
    }
}

// In the plan (the exact plan matrix) the diagram axis becomes the member's second local axis.
TEST_F(DesignOutTest, DiagramAxesInPlan) {
    struct Row {
        const char* what;
        double view[3][3];
        bool bPlan;
    } rows[] = {
        {"plan", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, true},
        {"plan with rounding noise", {{1, 0, 1e-17}, {0, 1, 0}, {0, 0, 1}}, false},
        {"front", {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        D().SetViewMatrix(r.view);
        double axes[3][3] = {{0.6, 0.8, 0}, {-0.8, 0.6, 0}, {0, 0, 1}};
        D().GetLclVec4BeamDgrm2D(7, axes);
        const double want[3] = {r.bPlan ? -0.8 : 0.0, r.bPlan ? 0.6 : 0.0, r.bPlan ? 0.0 : 1.0};
        for (int k = 0; k < 3; ++k) EXPECT_EQ(axes[2][k], want[k]);
        EXPECT_EQ(axes[0][0], 0.6);
        EXPECT_EQ(axes[1][1], 0.6);
    }
}

// Components 0 to 5 of the end's block; 6 and 7 the larger magnitude of the shears and of the
// moments, the second one on a tie.
TEST_F(DesignOutTest, ColumnForceComponents) {
    T_MBCL_D f;
    f.Initialize();
    const double i[6] = {100, -7, 7, 1, 3, -3};
    const double j[6] = {-200, -9, 4, 2, -6, 5};
    for (int c = 0; c < 6; ++c) {
        f.d[0][c] = i[c];
        f.d[1][c] = j[c];
    }
    struct Row {
        int comp, end;
        double want;
    } rows[] = {{0, 0, 100}, {1, 0, -7}, {5, 0, -3}, {0, 1, -200}, {4, 1, -6},
                {6, 0, 7},   // |-7| = |7|: component 2
                {7, 0, -3},  // |3| = |-3|: component 5
                {6, 1, -9}, {7, 1, -6}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "component " << r.comp << " end " << r.end);
        EXPECT_EQ(D().CalcCForcValue(f, r.comp, r.end), r.want);
    }
}

// The load selection type picks the envelope's maximum (0, 1), minimum (2) or larger magnitude
// (3); 4 stores no column. Labels: i end shear y (component 1) first, axial force (0) third.
TEST_F(DesignOutTest, ColumnForcesByLoadSelectionType) {
    struct Row {
        int step;
        bool bStored;
        double n, fy;  // i-end components 0 and 1
    } rows[] = {{0, true, 100, 50}, {1, true, 100, 50}, {2, true, -150, -20}, {3, true, -150, 50}, {4, false, 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.step);
        SelectModelLoad(M(), 12, kEnvelope, r.step);
        ASSERT_EQ(M().m_bResultDataReady, 1);
        ASSERT_EQ(D().MakeColumnForceDataList(), 1);
        EXPECT_EQ(D().m_mapColmForce.GetCount(), r.bStored ? 2 : 0);
        CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&> labels, same;
        D().GetCForcData(labels);
        D().GetBForcD(same);
        ASSERT_EQ(labels.GetSize(), r.bStored ? 2 : 0);
        ASSERT_EQ(same.GetSize(), labels.GetSize());
        for (INT_PTR k = 0; k < labels.GetSize(); ++k) {
            EXPECT_EQ(labels[k].nMembKey, k == 0 ? kColA : kColB);
            EXPECT_EQ(labels[k].dForce[0], r.fy);
            EXPECT_EQ(labels[k].dForce[2], r.n);
            EXPECT_EQ(same[k].dForce[2], r.n);
        }
    }
}

// Without columns the build succeeds with nothing; without members it fails and leaves the labels.
TEST_F(DesignOutTest, ColumnForcesWithoutColumns) {
    SelectModelLoad(M(), 1, kCaseA, 0);
    ASSERT_EQ(D().MakeColumnForceDataList(), 1);
    ASSERT_EQ(D().m_arrCForc.GetSize(), 2);
    struct Row {
        const char* what;
        std::vector<UINT> keys;
        int result;
        INT_PTR labels;
    } rows[] = {{"beams only", {kBeam, kWall}, 1, 0}, {"no members", {}, 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        T_PVX_BFORC_D kept;
        kept.nMembKey = 99;
        D().m_arrCForc.RemoveAll();
        D().m_arrCForc.Add(kept);
        CArray<UINT, UINT> keys;
        for (UINT k : r.keys) keys.Add(k);
        D().SetMemberKeys(keys);
        EXPECT_EQ(D().MakeColumnForceDataList(), r.result);
        EXPECT_EQ(D().m_mapColmForce.GetCount(), 0);
        // A failed build rebuilds no labels.
        EXPECT_EQ(D().m_arrCForc.GetSize(), r.result ? 0 : 1);
    }
}

// End positions come from the member's shape; no shape, or a deformed shape asked of a model
// without deformation data, gives none (0) instead of a read of nothing.
TEST_F(DesignOutTest, ColumnEndPositions) {
    struct Row {
        const char* what;
        UINT key;
        int bDeformed;
        int result;
    } rows[] = {{"column", kColA, 0, 1}, {"deformed without engine", kColA, 1, 0}, {"slab without elements", kSlabRect, 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        D().m_nCForcSel[1] = r.bDeformed;
        T_PMEMB_D memb;
        ASSERT_TRUE(M().m_pAttrCtrl->GetMemb(r.key, memb));
        C3DPoint pi(-1, -1, -1), pj(-1, -1, -1);
        EXPECT_EQ(D().GetIJPosBForcMemb(r.key, memb, pi, pj), r.result);
        if (!r.result) continue;
        // On the 0.4 m square column between z 0 and 3.
        for (const C3DPoint& p : {pi, pj}) {
            EXPECT_LE(std::fabs(p.x), 0.2 + 1e-9);
            EXPECT_LE(std::fabs(p.y), 0.2 + 1e-9);
            EXPECT_GE(p.z, -1e-9);
            EXPECT_LE(p.z, 3 + 1e-9);
        }
    }
    D().m_nCForcSel[1] = 0;
}

}  // namespace designout
