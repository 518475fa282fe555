// The reaction engine's values, builders, scale factors and copies.
#include <cfloat>
#include <cmath>
#include <utility>
#include <vector>

#include "module/contour/CContourEngine.h"
#include "tests/module/reaction/ReactionTestSupport.h"

namespace reactest {

namespace {

double Resultant(double a, double b, double c) { return std::sqrt(a * a + b * b + c * c); }

}  // namespace

TEST(ReactionValues, SelectorsAndResultants) {
    CReactionEngine e(nullptr);
    T_REAC_D r{3.0, 4.0, 0.0, 0.0, 0.0, 12.0};
    struct Row {
        int comp;
        double byComp;      // CalcReacValue(comp, r)
        double bySelector;  // CalcReacValue(r) with the selector set to comp
    } rows[] = {
        {0, 3.0, 3.0},  {1, 4.0, 4.0},  {2, 0.0, 0.0},  {3, 5.0, 0.0},  // sqrt(0 + 16 + 9) = 5
        {4, 0.0, 0.0},  {5, 0.0, 0.0},  {6, 12.0, 12.0}, {7, 12.0, 0.0}, // sqrt(144 + 0 + 0)
        {8, 0.0, 0.0},  {-1, 0.0, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comp);
        e.m_nComponent = row.comp;
        EXPECT_DOUBLE_EQ(e.CalcReacValue(row.comp, r), row.byComp);
        EXPECT_DOUBLE_EQ(e.CalcReacValue(r), row.bySelector);
    }
    T_REAC_D m{-7.0, 2.0, 5.0, 1.0, -9.0, 3.0};
    EXPECT_DOUBLE_EQ(e.CalcMaxReacForce(m), 7.0);
    EXPECT_DOUBLE_EQ(e.CalcMaxReacMoment(m), 9.0);
}

// Many nodes at once give each node its own record, a zeroed one where the map has none, by
// either way of reading the map (a walk over it, or a look-up per node).
TEST(ReactionValues, RecordsOfManyNodesAreThoseOfEachNode) {
    CReactionEngine e(nullptr);
    // Node k (every third one left out) has FZ = k / 2 and MX = -k.
    for (UINT k = 1; k <= 3000; ++k) {
        T_REAC_D r{0.0, 0.0, k * 0.5, -double(k), 0.0, 0.0};
        if (k % 3 != 0) e.m_mapReac.SetAt(k, r);
    }
    struct Row {
        const char* label;
        std::vector<UINT> nodes;
    } rows[] = {
        {"a few nodes", {5, 6, 7, 3000, 4000}},
        {"every node, descending, some twice", {}},
        {"nodes beyond the map's keys", {}},
        {"nodes spread far", {}},
        {"a small share of the map", {}},
    };
    for (UINT k = 3000; k >= 1; --k) rows[1].nodes.push_back(k);
    for (UINT k = 1; k <= 1500; ++k) rows[1].nodes.push_back(2 * k);
    for (UINT k = 1; k <= 6000; ++k) rows[2].nodes.push_back(k);
    for (UINT k = 1; k <= 3000; ++k) rows[3].nodes.push_back(k % 100 == 0 ? 4000000000u - k : k);
    for (UINT k = 1; k <= 300; ++k) rows[4].nodes.push_back(10 * k);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        std::vector<T_REAC_D> out{T_REAC_D{9, 9, 9, 9, 9, 9}};
        e.GetReacDataOf(r.nodes.data(), r.nodes.size(), out);
        ASSERT_EQ(out.size(), r.nodes.size());
        for (size_t i = 0; i < out.size(); ++i) {
            const UINT k = r.nodes[i];
            const bool has = k <= 3000 && k % 3 != 0;
            const double want[6] = {0.0, 0.0, has ? k * 0.5 : 0.0, has ? -double(k) : 0.0, 0.0, 0.0};
            const double got[6] = {out[i].FX, out[i].FY, out[i].FZ, out[i].MX, out[i].MY, out[i].MZ};
            for (int c = 0; c < 6; ++c) EXPECT_EQ(got[c], want[c]) << "node " << k << " component " << c;
            if (HasFailure()) return;
        }
    }
}

// The values of many nodes at once are each node's record by the selector, also when kept from
// an earlier call: after every change of the map or of the selector the engine answers as a
// fresh engine with the same map.
TEST(ReactionValues, KeptValuesOfManyNodesFollowEveryChangeOfTheMapAndSelector) {
    auto fill = [](CReactionEngine& e, UINT from, UINT to, UINT step) {
        for (UINT k = from; k <= to; k += step) e.m_mapReac[k] = T_REAC_D{k * 1.0, 2.0, k * 0.5, -double(k), 0, 1};
    };
    CReactionEngine other(nullptr);
    fill(other, 1, 900, 1);
    struct Row {
        const char* label;
        void (*change)(CReactionEngine& e, int& comp, CReactionEngine& other);
    } rows[] = {
        {"nothing", [](CReactionEngine&, int&, CReactionEngine&) {}},
        {"one record set again", [](CReactionEngine& e, int&, CReactionEngine&) {
             T_REAC_D r{1, 1, 99, 1, 1, 1};
             e.m_mapReac.SetAt(7, r);
         }},
        {"one record written in place", [](CReactionEngine& e, int&, CReactionEngine&) { e.m_mapReac[8].FZ = -3.0; }},
        {"a record added", [](CReactionEngine& e, int&, CReactionEngine&) { e.m_mapReac[3] = T_REAC_D{0, 0, 5, 0, 0, 0}; }},
        {"a record removed", [](CReactionEngine& e, int&, CReactionEngine&) { e.m_mapReac.RemoveKey(10); }},
        {"the selector", [](CReactionEngine&, int& comp, CReactionEngine&) { comp = 3; }},
        {"another selector", [](CReactionEngine&, int& comp, CReactionEngine&) { comp = 4; }},
        {"a key far away (no table)", [](CReactionEngine& e, int&, CReactionEngine&) { e.m_mapReac[4000000000u] = T_REAC_D{}; }},
        {"the far key removed again", [](CReactionEngine& e, int&, CReactionEngine&) { e.m_mapReac.RemoveKey(4000000000u); }},
        {"the map emptied", [](CReactionEngine& e, int&, CReactionEngine&) { e.m_mapReac.RemoveAll(); }},
        {"another engine's map imported", [](CReactionEngine& e, int&, CReactionEngine& o) { e.ImportEngine(&o); }},
    };
    CReactionEngine e(nullptr);
    fill(e, 2, 3000, 2);
    std::vector<UINT> nodes;
    for (UINT k = 0; k <= 3200; ++k) nodes.push_back(k);
    nodes.push_back(4000000000u);
    int comp = 2;
    std::vector<double> out;
    e.GetReacValuesOf(comp, nodes.data(), nodes.size(), out);  // kept from here on
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        r.change(e, comp, other);
        e.GetReacValuesOf(comp, nodes.data(), nodes.size(), out);
        CReactionEngine fresh(nullptr);
        for (const auto* a = std::as_const(e.m_mapReac).PGetFirstAssoc(); a;
             a = std::as_const(e.m_mapReac).PGetNextAssoc(a)) {
            T_REAC_D v = a->value;
            fresh.m_mapReac.SetAt(a->key, v);
        }
        std::vector<double> want;
        fresh.GetReacValuesOf(comp, nodes.data(), nodes.size(), want);
        ASSERT_EQ(out.size(), nodes.size());
        for (size_t i = 0; i < nodes.size(); ++i) {
            T_REAC_D rec;
            e.GetReacData(nodes[i], rec);
            ASSERT_EQ(out[i], e.CalcReacValue(comp, rec)) << "node " << nodes[i];
            ASSERT_EQ(out[i], want[i]) << "node " << nodes[i];
        }
    }
}

TEST(ReactionValues, BeamPressureRecordInterpolatesBetweenQuarterPoints) {
    // Quarter-point values 0, 4, 8, 4, 0: the segment ends at eighths take the mean of their
    // neighbours, so the nine stations read 0, 2, 4, 6, 8, 6, 4, 2, 0.
    const double d[5] = {0.0, 4.0, 8.0, 4.0, 0.0};
    T_STRG_D rec;
    MakeBeamPressureRecord(d, rec);
    const double stations[9] = {0, 2, 4, 6, 8, 6, 4, 2, 0};
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        EXPECT_DOUBLE_EQ(rec.d[12 * k], stations[k]);
        EXPECT_DOUBLE_EQ(rec.d[12 * k + 6], stations[k + 1]);
        for (int c = 1; c < 6; ++c) {
            EXPECT_EQ(rec.d[12 * k + c], 0.0);
            EXPECT_EQ(rec.d[12 * k + 6 + c], 0.0);
        }
    }
}

TEST(ReactionValues, FreshEngineHasDefinedExtremesAndFactors) {
    CReactionEngine src(nullptr), dst(nullptr);
    dst.ImportEngine(&src);
    for (const CReactionEngine* e : {&src, &dst}) {
        EXPECT_EQ(e->m_dMaxValue, 0.0);
        EXPECT_EQ(e->m_dMinValue, 0.0);
        EXPECT_EQ(e->m_nMaxNode, 0u);
        EXPECT_EQ(e->m_nMinNode, 0u);
        EXPECT_EQ(e->m_dRContrAdjustFactor, 1.0);
        EXPECT_EQ(e->m_nComponent, 2);
        EXPECT_EQ(e->m_dArrowScale, 1.0);
    }
}

class ReactionBuild : public ReactionFixture {};

TEST_F(ReactionBuild, ReactionsOfTheSupportsBySelector) {
    // Supports of type 1 are nodes 1 to 4; node 3 has only zeros, node 5 is of type 2.
    struct Row {
        const char* label;
        int comp;
        std::vector<UINT> nodes;      // in the model's node order
        double dMax, dMin;            // the engine's extremes
        UINT nMax, nMin;
        double dLegendMax, dLegendMin;
    } rows[] = {
        {"FX", 0, {1, 4}, 3.0, -5.0, 1, 4, 3.0, -5.0},
        {"FY", 1, {1}, 4.0, 4.0, 1, 1, 4.0, 4.0},
        {"FZ", 2, {2, 4}, 40.0, -20.0, 4, 2, 40.0, -20.0},
        // Resultant: node 2 has FZ alone (kept), node 3 none; the legend spans the components.
        {"FXYZ", 3, {1, 2, 4}, Resultant(-5, 0, 40), 5.0, 4, 1, 40.0, -20.0},
        {"MX", 4, {4}, 1.0, 1.0, 4, 4, 1.0, 1.0},
        {"MZ", 6, {1}, 12.0, 12.0, 1, 1, 12.0, 12.0},
        {"MXYZ", 7, {1, 4}, 12.0, 1.0, 1, 4, 12.0, 0.0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, r.comp), 1);
        ASSERT_EQ(E().m_arrNodeKey.GetSize(), static_cast<INT_PTR>(r.nodes.size()));
        for (size_t i = 0; i < r.nodes.size(); ++i) EXPECT_EQ(E().m_arrNodeKey[i], r.nodes[i]);
        EXPECT_DOUBLE_EQ(E().m_dMaxValue, r.dMax);
        EXPECT_DOUBLE_EQ(E().m_dMinValue, r.dMin);
        EXPECT_EQ(E().m_nMaxNode, r.nMax);
        EXPECT_EQ(E().m_nMinNode, r.nMin);
        EXPECT_EQ(M().m_nMaxKey, r.nMax);
        EXPECT_EQ(M().m_nMinKey, r.nMin);
        EXPECT_DOUBLE_EQ(E().m_dLegendMax, r.dLegendMax);
        EXPECT_DOUBLE_EQ(E().m_dLegendMin, r.dLegendMin);
        ASSERT_NE(E().m_pContourEngine, nullptr);
        EXPECT_DOUBLE_EQ(E().m_pContourEngine->m_dMinValue, r.dMin);
        EXPECT_DOUBLE_EQ(E().m_pContourEngine->m_dMaxValue, r.dMax);
        T_REAC_D got;
        ASSERT_EQ(E().GetReacData(r.nodes[0], got), 1);
        EXPECT_EQ(got.FX, (r.nodes[0] == 1 ? kReac1 : r.nodes[0] == 2 ? kReac2 : kReac4).FX);
    }
}

TEST_F(ReactionBuild, NothingFoundLeavesNoDataAndZeroExtremes) {
    struct Row {
        const char* label;
        int comp;
        int suppress;
        UINT load;
    } rows[] = {
        {"every MY is zero", 5, 0, 1},
        {"suppressed", 2, 1, 1},
        {"load case without reactions", 2, 0, 2},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 2), 1);  // data from an earlier build
        E().m_bSuppressReac = r.suppress;
        EXPECT_EQ(Build(CReactionEngine::KIND_REACTION, r.comp, 0, r.load), 0);
        EXPECT_EQ(E().m_bDataReady, 0);
        EXPECT_EQ(E().m_dMaxValue, 0.0);
        EXPECT_EQ(E().m_dMinValue, 0.0);
        EXPECT_EQ(E().m_nMaxNode, 0u);
        EXPECT_EQ(M().m_nMaxKey, 0u);
        EXPECT_EQ(M().m_nMinKey, 0u);
        EXPECT_EQ(E().m_arrNodeKey.GetSize(), 0);
        E().m_bSuppressReac = 0;
    }
    // The reversed page lists its own support type: node 5 alone.
    ASSERT_EQ(Build(CReactionEngine::KIND_REVERSED, 2), 1);
    ASSERT_EQ(E().m_arrNodeKey.GetSize(), 1);
    EXPECT_EQ(E().m_arrNodeKey[0], 5u);
    // Other data kinds build nothing.
    EXPECT_EQ(Build(3, 2), 0);
}

TEST_F(ReactionBuild, EnvelopeSlotFollowsTheLoadStep) {
    // Every load step reads its slot; a linear combination fills every slot with its value,
    // here 1.2 x DL.
    M().m_nLoadType = 9;
    for (int step : {0, 1, 2, 3}) {
        SCOPED_TRACE(step);
        M().m_nLoadStep = step;
        ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 2, 0, 10), 1);
        EXPECT_DOUBLE_EQ(E().m_dMaxValue, 1.2 * 40.0);
        EXPECT_DOUBLE_EQ(E().m_dMinValue, 1.2 * -20.0);
    }
}

TEST_F(ReactionBuild, RaftPressureByNodeWithSharedNodesAveraged) {
    ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 2), 1);
    // Nodes 11 and 14 belong to both plates: 101 gives them 20 and 30, 102 gives 24 and 36.
    struct Row {
        UINT node;
        double fz;
    } rows[] = {{10, 10.0}, {11, 22.0}, {14, 33.0}, {13, 40.0}, {12, 60.0}, {15, 50.0}};
    ASSERT_EQ(E().m_arrNodeKey.GetSize(), 6) << "each node listed once";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.node);
        T_REAC_D got;
        ASSERT_EQ(E().GetReacData(r.node, got), 1);
        EXPECT_DOUBLE_EQ(got.FZ, r.fz);
        EXPECT_EQ(got.FX, 0.0);
    }
    // Extremes over the values the host stores, keyed by the member.
    EXPECT_DOUBLE_EQ(E().m_dMaxValue, 60.0);
    EXPECT_DOUBLE_EQ(E().m_dMinValue, 10.0);
    EXPECT_EQ(E().m_nMaxNode, 501u);
    EXPECT_DOUBLE_EQ(E().m_dLegendMax, 60.0);
    EXPECT_DOUBLE_EQ(E().m_dLegendMin, 10.0);
    // Element extremes and centres, one per plate.
    ASSERT_EQ(E().m_arrContrElem.GetSize(), 2);
    EXPECT_EQ(E().m_arrContrElem[0], 101u);
    double v;
    ASSERT_EQ(E().GetReacForce_Contr(101, v), 1);
    EXPECT_DOUBLE_EQ(v, 40.0);
    ASSERT_EQ(E().GetReacForce_Contr(102, v), 1);
    EXPECT_DOUBLE_EQ(v, 60.0);
    EXPECT_DOUBLE_EQ(E().m_arrElemCenter[0].x, 2.0);
    EXPECT_DOUBLE_EQ(E().m_arrElemCenter[0].y, 22.0);
    EXPECT_DOUBLE_EQ(E().m_arrElemCenter[1].x, 6.0);
    // The percent statistics count each node once: six values of weight 1.
    EXPECT_NEAR(E().m_pContourEngine->m_dPctTotal, 6.0, 1e-12);
    // Scale: the 10 x 30 model box (nodes 1 .. 21) over 20 x 60.
    C3DPoint lo, hi;
    ASSERT_TRUE(M().GetRangeModel(&lo, &hi, 1));
    const double extent = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
    EXPECT_DOUBLE_EQ(E().m_dRContrAdjustFactor, extent / (60.0 * 20.0));
}

TEST_F(ReactionBuild, ElementExtremeKeepsTheSignOfItsLargestMagnitude) {
    // Load case 2: plate 101 reads -50, 10, 20, 30; its extreme is -50, not 50.
    ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 2, CReactionEngine::MEMB_RAFT, 2), 1);
    double v;
    ASSERT_EQ(E().GetReacForce_Contr(101, v), 1);
    EXPECT_DOUBLE_EQ(v, -50.0);
    EXPECT_DOUBLE_EQ(E().m_dMinValue, -50.0);
}

TEST_F(ReactionBuild, RaftContourOfAnotherComponentIsZero) {
    // The pressure is stored as FZ: any other selector values every node 0.0.
    ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 0), 1);
    EXPECT_EQ(E().m_dMaxValue, 0.0);
    EXPECT_EQ(E().m_dMinValue, 0.0);
    double v;
    ASSERT_EQ(E().GetReacForce_Contr(101, v), 1);
    EXPECT_EQ(v, 0.0);
}

TEST_F(ReactionBuild, BeamPressureSegmentsAndTheirExtremes) {
    ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 2, CReactionEngine::MEMB_BEAM), 1);
    T_STRG_D rec;
    ASSERT_EQ(E().GetReacForce_Beam(301, rec), 1);
    // Quarter points -8, -4, 0, 4, 2: stations -8, -6, -4, -2, 0, 2, 4, 3, 2.
    const double stations[9] = {-8, -6, -4, -2, 0, 2, 4, 3, 2};
    for (int k = 0; k < 8; ++k) {
        EXPECT_DOUBLE_EQ(rec.d[12 * k], stations[k]);
        EXPECT_DOUBLE_EQ(rec.d[12 * k + 6], stations[k + 1]);
    }
    // The smallest value is the start of segment 0 (-8), which a segment's larger end (-6)
    // would miss; the element extreme keeps its sign.
    EXPECT_DOUBLE_EQ(E().m_dMinValue, -8.0);
    EXPECT_DOUBLE_EQ(E().m_dMaxValue, 4.0);
    EXPECT_EQ(E().m_nMinNode, 502u);
    double v;
    ASSERT_EQ(E().GetReacForce_Contr(301, v), 1);
    EXPECT_DOUBLE_EQ(v, -8.0);
    ASSERT_EQ(E().m_arrElemCenter.GetSize(), 1);
    EXPECT_DOUBLE_EQ(E().m_arrElemCenter[0].x, 4.0);
    EXPECT_DOUBLE_EQ(E().m_arrElemCenter[0].y, 30.0);
    // Nine stations at 1/9 each.
    EXPECT_NEAR(E().m_pContourEngine->m_dPctTotal, 1.0, 1e-12);
}

TEST_F(ReactionBuild, ScaleFactors) {
    // Model extent: nodes from (0,0) to (10,30): 30.
    struct Row {
        double v, factor;
    } rows[] = {{0.0, 30.0 / 20.0}, {1e-16, 30.0 / 20.0}, {4.0, 30.0 / 80.0}, {-6.0, 30.0 / 120.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.v);
        E().InitRContrAdjustFactor(r.v);
        EXPECT_DOUBLE_EQ(E().m_dRContrAdjustFactor, r.factor);
    }
    // Arrows: (800 + 600) / 30 = 46 pixels (integer division) over the larger extreme, 40.
    ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 2), 1);
    E().InitReacAdjustFactor();
    EXPECT_DOUBLE_EQ(E().m_dReacAdjustFactor, Ctrl()->GetWorldLength(46) / 40.0);
}

TEST_F(ReactionBuild, ImportCopiesSettingsAndExactlyTheBuiltData) {
    ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 2), 1);  // raft records for nodes 10 .. 15
    CReactionEngine src(&M());
    src.m_nDataKind = CReactionEngine::KIND_REACTION;
    src.m_nComponent = 2;
    src.m_dArrowScale = 2.5;
    src.m_arrPickedNode.Add(4);
    ASSERT_EQ(src.InitEngine(nullptr, -1), 1);
    src.m_dRContrAdjustFactor = 99.0;
    E().m_dRContrAdjustFactor = 7.0;
    E().ImportEngine(&src);
    EXPECT_EQ(E().m_nDataKind, CReactionEngine::KIND_REACTION);
    EXPECT_DOUBLE_EQ(E().m_dArrowScale, 2.5);
    EXPECT_EQ(E().m_arrPickedNode.GetSize(), 1);
    EXPECT_DOUBLE_EQ(E().m_dMaxValue, 40.0);
    EXPECT_DOUBLE_EQ(E().m_dRContrAdjustFactor, 7.0) << "the contour scale factor stays";
    EXPECT_EQ(E().m_mapReac.GetCount(), 2) << "nodes 2 and 4 only";
    T_REAC_D r;
    EXPECT_EQ(E().GetReacData(10, r), 0) << "no raft record of the earlier build is left";
    EXPECT_EQ(E().m_mapElemExtreme.GetCount(), 0);
    ASSERT_NE(E().m_pContourEngine, nullptr);
    EXPECT_NE(E().m_pContourEngine, src.m_pContourEngine);
    // Nothing for a null source.
    E().ImportEngine(static_cast<CReactionEngine*>(nullptr));
    EXPECT_EQ(E().m_mapReac.GetCount(), 2);
}

TEST_F(ReactionBuild, LoadListAndNodePositions) {
    CArray<T_SELECTEDLOAD, T_SELECTEDLOAD&> loads;
    ASSERT_EQ(E().GetLCList(loads), 1);
    // Static cases 1 and 2 (the time-history case 3 is not one), then combinations 10 and 12.
    const int types[] = {1, 1, 9, 9};
    const UINT keys[] = {1, 2, 10, 12};
    ASSERT_EQ(loads.GetSize(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(loads[i].nType, types[i]);
        EXPECT_EQ(loads[i].nKey, keys[i]);
    }
    // Every node with its own position, also after a contour build (whose element centres are
    // a list of their own).
    ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 2), 1);
    CArray<UINT, UINT&> nodes;
    CArray<C3DPoint, C3DPoint&> pts;
    ASSERT_EQ(E().MakeNodeData4Output(nodes, pts), 1);
    ASSERT_EQ(nodes.GetSize(), 6);
    ASSERT_EQ(pts.GetSize(), 6);
    for (INT_PTR i = 0; i < nodes.GetSize(); ++i) {
        T_PNODE_D n;
        ASSERT_TRUE(M().GetAttrCtrl()->GetNode(nodes[i], n));
        EXPECT_EQ(pts[i].x, n.x);
        EXPECT_EQ(pts[i].y, n.y);
    }
    EXPECT_EQ(E().IsPossibleRContr(101), 1);
    EXPECT_EQ(E().IsPossibleRContr(301), 0);
    EXPECT_EQ(E().IsPossibleRContr(999), 0);
}

}  // namespace reactest
