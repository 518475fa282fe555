// The deformation engine's values, lists, extremes, scale and record sources, on the project of
// DeformTestSupport.h.
#include "tests/module/deform/DeformTestSupport.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <memory>
#include <map>

#include "module/contour/CContourEngine.h"
#include "module/model/CPVXView.h"
#include "module/resources/PVXResourceIds.h"
#include "platform/ui/CUiDriver.h"

namespace deformtest {

namespace {

TEST(DeformValues, SelectorTable) {
    // (DX, DY, DZ, RX, RY, RZ) = (3, 4, 12, 0.1, 0.2, 0.3).
    const T_DISP_D d = Disp(3, 4, 12, 0.1, 0.2, 0.3);
    const struct {
        int sel;
        double want;
        const char* why;
    } rows[] = {
        {0, 3.0, "DX"},
        {1, 4.0, "DY"},
        {2, 12.0, "DZ"},
        {3, 13.0, "sqrt(9 + 16 + 144)"},
        {4, 0.1, "RX"},
        {5, 0.2, "RY"},
        {6, 0.3, "RZ"},
        {7, 5.0, "sqrt(9 + 16)"},
        {8, std::sqrt(160.0), "sqrt(16 + 144)"},
        {9, std::sqrt(153.0), "sqrt(9 + 144)"},
        {10, 0.0, "no such selector"},
        {-1, 0.0, "no such selector"},
    };
    for (const auto& r : rows) EXPECT_DOUBLE_EQ(CDeformEngine::CalcDispValue(d, r.sel), r.want) << r.why;
}

class DeformEngineTest : public DeformFixture {};

TEST_F(DeformEngineTest, ListsExtremesAndScale) {
    // DZ: values 0, -tip, -3, -5, -8, 2 at nodes 1..6: largest 2 (node 6), smallest -tip (node 2).
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_DZ), 1);
    EXPECT_EQ(E().m_bDataReady, 1);
    EXPECT_DOUBLE_EQ(E().m_dLegendMax, 2.0);
    EXPECT_DOUBLE_EQ(E().m_dLegendMin, -kTipMM);
    EXPECT_EQ(M().m_nMaxKey, 6u);
    EXPECT_EQ(M().m_nMinKey, 2u);
    // Each node once, the members first (beam, then plate), in their node order.
    ASSERT_EQ(E().m_arrNodeKey.GetSize(), 6);
    const UINT order[6] = {1, 2, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(E().m_arrNodeKey[i], order[i]);
    // Governing value -tip: the scale draws it at L / 20 = 0.3 m.
    EXPECT_NEAR(E().GetScale(), 6.0 / (20.0 * kTipMM), 1e-15);
    E().m_dUserScale = 2.0;
    EXPECT_NEAR(E().GetScale(), 2.0 * 6.0 / (20.0 * kTipMM), 1e-15);
    // The colour scale spans the values.
    ASSERT_NE(E().m_pContourEngine, nullptr);
    EXPECT_DOUBLE_EQ(E().m_pContourEngine->m_dMinValue, -kTipMM);
    EXPECT_DOUBLE_EQ(E().m_pContourEngine->m_dMaxValue, 2.0);
    // Extreme translations per axis with their nodes: DZ only for selector 2.
    EXPECT_DOUBLE_EQ(E().m_ptMaxComp.z, -kTipMM);
    EXPECT_EQ(E().m_nMaxKeyZ, 2u);
    EXPECT_EQ(E().m_nMaxKeyX, 0u);
    EXPECT_DOUBLE_EQ(E().m_ptMaxComp.x, 0.0);
    EXPECT_NEAR(E().m_dMaxTotal, kTipMM, 1e-12);
    EXPECT_EQ(E().m_nMaxKeyTotal, 2u);

    // Rebuilt from scratch: the colour scale is re-ranked, not remade.
    CContourEngine* pScale = E().m_pContourEngine;
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_TOTAL), 1);
    EXPECT_EQ(E().m_pContourEngine, pScale);
    EXPECT_NEAR(E().m_dLegendMax, kTipMM, 1e-12);
    EXPECT_DOUBLE_EQ(E().m_dLegendMin, 0.0);
    EXPECT_EQ(M().m_nMinKey, 1u);
    // Total: |(1,2,-3)| = sqrt(14) etc.; node 5's total is 8, node 3's sqrt(14).
    T_DISP_D d;
    ASSERT_EQ(E().GetDispData(3, d), 1);
    EXPECT_DOUBLE_EQ(E().CalcDispValue(d), std::sqrt(14.0));
}

TEST_F(DeformEngineTest, ExtremeComponentsAndTies) {
    E().m_nComponent = CDeformEngine::COMP_RX;
    E().MakeMinMaxDispD(7, Disp(5, 5, 5, 1, 1, 1));
    EXPECT_EQ(E().m_nMaxKeyX + E().m_nMaxKeyY + E().m_nMaxKeyZ, 0u) << "a rotation moves no extreme";
    E().m_nComponent = CDeformEngine::COMP_DXY;
    E().MakeMinMaxDispD(8, Disp(-4, 2, 9));
    E().MakeMinMaxDispD(9, Disp(4, -2, 9));  // ties: the first node met stays
    EXPECT_DOUBLE_EQ(E().m_ptMaxComp.x, -4.0);
    EXPECT_EQ(E().m_nMaxKeyX, 8u);
    EXPECT_EQ(E().m_nMaxKeyY, 8u);
    EXPECT_EQ(E().m_nMaxKeyZ, 0u) << "Z takes no part in DXY";

    // Equal largest values: the first node in list order is reported. DX of nodes 1 and 2 is 0,
    // the smallest value; nodes 1 and 2 are first in the list.
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_DY), 1);
    EXPECT_DOUBLE_EQ(E().m_dLegendMin, 0.0);
    EXPECT_EQ(M().m_nMinKey, 1u);
}

TEST_F(DeformEngineTest, AdjustFactorFromTheModelBox) {
    // Box 6 x 5 x 0: L = 6.
    const struct {
        const char* label;
        double v;
        int bFigure;
        double want;
    } rows[] = {
        {"negative governing value", -0.5, 0, 6.0 / (20 * 0.5)},
        {"governing value within 1e-15 of zero counts as 1", 1e-16, 0, 6.0 / 20},
        {"figure mode takes X and Y only", 3.0, 1, 6.0 / 60},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        M().m_bFigureMode = r.bFigure;
        E().InitDispAdjustFactor(r.v);
        EXPECT_NEAR(E().m_dAdjustFactor, r.want, 1e-15);
    }
    // A model without nodes: extremes 0 and 0, no extreme node, factor L/20 of an empty box (0).
    M().m_bFigureMode = 0;
    M().m_arrActiveMembKey.RemoveAll();
    M().m_arrActiveNodeKey.RemoveAll();
    M().m_arrFlagNodeKey.RemoveAll();
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_DZ), 1);
    EXPECT_DOUBLE_EQ(E().m_dLegendMax, 0.0);
    EXPECT_DOUBLE_EQ(E().m_dLegendMin, 0.0);
    EXPECT_EQ(M().m_nMaxKey, 0u);
    EXPECT_EQ(M().m_nMinKey, 0u);
    EXPECT_EQ(E().m_nMaxKeyX + E().m_nMaxKeyY + E().m_nMaxKeyZ + E().m_nMaxKeyTotal, 0u)
        << "no node is reported as an extreme";
}

TEST_F(DeformEngineTest, RecordSourcesBySlot) {
    // Load step 0 and 1 read the first slot, 2 the second, 3 the third; the small project's load
    // is a plain case, so every slot holds the value. A step beyond 3 has no slot: nothing is
    // read and the node does not enter the lists.
    M().SelectLoad();
    for (int step : {0, 1, 2, 3}) {
        SCOPED_TRACE(step);
        M().m_nLoadStep = step;
        T_DISP_D d;
        EXPECT_EQ(E().GetNodeDispData(5, d), 1);
        EXPECT_DOUBLE_EQ(d.DZ, -8.0);
    }
    M().m_nLoadStep = 4;
    T_DISP_D d = Disp(9, 9, 9);
    EXPECT_EQ(E().GetNodeDispData(5, d), 0);
    EXPECT_DOUBLE_EQ(d.DZ, 0.0) << "a record not read is zeroed";
    EXPECT_EQ(E().MakeDispDataList(), 1);
    EXPECT_EQ(E().m_arrNodeKey.GetSize(), 0) << "no zero records taken for data";

    // A node already in the map reads as not read for list building, as read otherwise.
    M().m_nLoadStep = 0;
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_DZ), 1);
    EXPECT_EQ(E().GetNodeDispData(5, d), 0);
    EXPECT_EQ(E().GetDispData(5, d), 1);
    EXPECT_DOUBLE_EQ(d.DZ, -8.0);
    EXPECT_EQ(E().GetDispData(99, d), 0);
}

// The records by node key, row by row against an ordered map: keys set in and out of order
// (past a block of records and several growths of the index), set again (replaced), keys
// beyond the run indexed by key and that run grown over them, looked up present and absent,
// then all removed.
TEST(DeformRecords, FoundAsSet) {
    const struct {
        const char* what;
        UINT first, count, step;
        double dz;
    } rows[] = {{"ascending keys", 1, 5000, 1, 1.0},
                {"spread keys, out of order", 4000000000u, 3000, 4000000000u / 3000 + 7, 2.0},
                {"every third set again", 1, 1700, 3, 3.0},
                {"keys past the dense run", 400000, 50, 1, 4.0},
                {"the dense run grown over them", 5002, 400000, 1, 5.0},
                {"far keys, descending", 4500000, 5000, 0xFFFFFFFFu, 6.0}};
    CDispRecords recs;
    std::map<UINT, double> want;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        UINT key = r.first;
        for (UINT i = 0; i < r.count; ++i, key += r.step) {
            T_DISP_D d{0, 0, r.dz + key, 0, 0, 0};
            recs.SetAt(key, d);
            want[key] = d.DZ;
        }
        ASSERT_EQ(recs.GetCount(), static_cast<INT_PTR>(want.size()));
        T_DISP_D d;
        for (const auto& [k, dz] : want) ASSERT_TRUE(recs.Lookup(k, d) && d.DZ == dz) << k;
        for (UINT absent : {0u, 5001u, 4000000001u}) EXPECT_FALSE(recs.Lookup(absent, d)) << absent;
    }
    recs.RemoveAll();
    T_DISP_D d;
    EXPECT_EQ(recs.GetCount(), 0);
    EXPECT_FALSE(recs.Lookup(1, d));
}

// Records taken from a table's load stay in it: each reads back as the host reads one load case
// (DZ = key / 2 here; a stored -0 reads +0), a node the load lacks or taken already is refused,
// and a record set by hand over a taken one replaces it in the map only.
TEST(DeformRecords, TakenFromTheLoad) {
    auto load = std::make_shared<pvxdb::KeyedRecords<T_DISP_D>>();
    // Set in descending order: the load's index grows its run downwards.
    for (UINT k = 1003000; k-- > 1000000;) load->Set(k, T_DISP_D{-0.0, 0, k * 0.5, 0, 0, 0});
    load->Set(7, T_DISP_D{-0.0, 0, 3.5, 0, 0, 0});
    CDispRecords recs;
    recs.RemoveAll(load);
    const struct {
        const char* what;
        UINT key;
        BOOL taken;
        double dz;  // read back after the row; 0 none
    } rows[] = {{"first key of the load", 1000000, TRUE, 500000.0},
                {"a key far below the load's run", 7, TRUE, 3.5},
                {"taken again", 1000000, FALSE, 500000.0},
                {"a key the load lacks", 999999, FALSE, 0.0},
                {"last key of the load", 1002999, TRUE, 501499.5}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        T_DISP_D d{};
        EXPECT_EQ(recs.TakeFromSource(r.key, d), r.taken);
        T_DISP_D back{};
        EXPECT_EQ(recs.Lookup(r.key, back), r.dz != 0.0);
        EXPECT_EQ(back.DZ, r.dz);
        EXPECT_FALSE(std::signbit(back.DX)) << "-0 reads +0";
    }
    EXPECT_EQ(recs.GetCount(), 3);
    recs.SetAt(7, T_DISP_D{1, 2, 3, 4, 5, 6});
    T_DISP_D d;
    ASSERT_TRUE(recs.Lookup(7, d));
    EXPECT_EQ(d.RZ, 6.0);
    EXPECT_EQ(load->Find(7)->DZ, 3.5) << "the load keeps its record";
    EXPECT_EQ(recs.GetCount(), 3);
    // Read many at once, keys in no order (taken, own, never taken, absent), each as Lookup reads it.
    for (UINT k = 1000100; k < 1000400; ++k) recs.TakeFromSource(k, d);
    std::vector<UINT> keys{7, 0, 999999, 1000000};
    for (UINT i = 0; i < 400; ++i) keys.push_back(1000000 + (i * 37) % 400);
    size_t next = 0;
    recs.LookupEach(keys.data(), keys.size(), [&](size_t i, const T_DISP_D* got) {
        ASSERT_EQ(i, next++);
        T_DISP_D one{};
        ASSERT_EQ(got != nullptr, recs.Lookup(keys[i], one) != FALSE) << keys[i];
        if (got) {
            EXPECT_EQ(std::memcmp(got, &one, sizeof one), 0) << keys[i];
        }
    });
    EXPECT_EQ(next, keys.size());
}

TEST_F(DeformEngineTest, InitDataEmptiesAFilledMap) {
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_DZ), 1);
    ASSERT_EQ(E().DispRecords().GetCount(), 6);
    E().InitData();
    EXPECT_EQ(E().DispRecords().GetCount(), 0);
    T_DISP_D d;
    EXPECT_FALSE(E().DispRecords().Lookup(5, d)) << "the emptied records keep nothing";
    EXPECT_EQ(E().GetDispData(5, d), 1) << "no stale record: read from the host again";
    // The map takes records again after the reset.
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_DZ), 1);
    EXPECT_EQ(E().DispRecords().GetCount(), 6);
}

TEST_F(DeformEngineTest, ImportCopiesEverythingDeeply) {
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_DZ), 1);
    E().m_arrPickedNode.Add(5);
    CDeformEngine copy(&M());
    copy.ImportEngine(&E());
    EXPECT_EQ(copy.m_bDataReady, 1);
    EXPECT_EQ(copy.m_nComponent, CDeformEngine::COMP_DZ);
    EXPECT_DOUBLE_EQ(copy.GetScale(), E().GetScale());
    EXPECT_DOUBLE_EQ(copy.m_dLegendMin, -kTipMM);
    ASSERT_NE(copy.m_pContourEngine, nullptr);
    EXPECT_NE(copy.m_pContourEngine, E().m_pContourEngine);
    EXPECT_EQ(copy.m_arrNodeKey.GetSize(), 6);
    EXPECT_EQ(copy.m_arrPickedNode.GetSize(), 1);
    // Nothing is shared: changing the source's records leaves the copy's.
    T_DISP_D changed = Disp(0, 0, 100);
    E().SetDispRecord(5, changed);
    T_DISP_D d;
    ASSERT_EQ(copy.GetDispData(5, d), 1);
    EXPECT_DOUBLE_EQ(d.DZ, -8.0);
    copy.ImportEngine(static_cast<CDeformEngine*>(nullptr));
    EXPECT_EQ(copy.m_bDataReady, 1) << "a null source changes nothing";
}

TEST_F(DeformEngineTest, TimeHistoryStepsAndRefusals) {
    SelectLoad(PLOAD_TIMEHISTORY, kTHX);
    E().m_nTimeStep = 1;
    // Step 1: node 5 at DX 10; the other nodes are not in the history and stay at rest.
    ASSERT_EQ(Build(PVXMode::kTimeHistory, CDeformEngine::COMP_DX), 1);
    EXPECT_DOUBLE_EQ(E().m_dLegendMax, 10.0);
    EXPECT_EQ(M().m_nMaxKey, 5u);
    T_DISP_D d;
    ASSERT_EQ(E().GetDispData(5, d), 1);
    EXPECT_DOUBLE_EQ(d.DX, 10.0);
    // The legend's total displacement is the step's, not the reset value.
    EXPECT_DOUBLE_EQ(E().m_dMaxTotal, std::sqrt(d.DX * d.DX + d.DY * d.DY + d.DZ * d.DZ));
    EXPECT_EQ(E().m_nMaxKeyTotal, 5u);
    ASSERT_EQ(E().GetDispData(6, d), 1);
    EXPECT_DOUBLE_EQ(d.DX, 0.0) << "the peak record is not taken for a node at rest";
    // Quantity 1 is the velocity (stored 100 + step in the history).
    E().m_nTHKind = 1;
    ASSERT_EQ(Build(PVXMode::kTimeHistory, CDeformEngine::COMP_DX), 1);
    EXPECT_DOUBLE_EQ(E().m_dLegendMax, 101.0);
    E().m_nTHKind = 0;

    // A step beyond the history: the host refuses every node, so nothing is built.
    E().m_nTimeStep = 3;
    EXPECT_EQ(Build(PVXMode::kTimeHistory, CDeformEngine::COMP_DX), 0);
    EXPECT_EQ(E().m_bDataReady, 0);
    d = Disp(1, 1, 1);
    EXPECT_EQ(E().GetDispHistory(3, 5, d), 0);
    EXPECT_DOUBLE_EQ(d.DX, 0.0);
    // A load that is no time-history case has no steps at all.
    E().m_nTimeStep = 0;
    SelectLoad(PLOAD_STATIC, kDL);
    EXPECT_EQ(Build(PVXMode::kTimeHistory, CDeformEngine::COMP_DX), 0);
    // Velocity and acceleration tests: load type 5 with quantities 1 to 3.
    M().m_nLoadType = 5;
    for (int q : {0, 1, 2, 3, 4}) {
        E().m_nTHKind = q;
        EXPECT_EQ(E().IsTimeHistVelAcc(), q >= 1 && q <= 3 ? 1 : 0) << q;
    }
}

TEST_F(DeformEngineTest, SettlementOfTheFirstSettlementGroup) {
    // Group 3 is the first of type 2 (group 7 is static). Points 1 and 2 hold values of group 3:
    // 10 + 1 = 11 and 20 + 1 = 21; point 3 holds none and is left out.
    ASSERT_EQ(Build(PVXMode::kSettlement, CDeformEngine::COMP_DZ), 1);
    EXPECT_EQ(E().m_nSettlementGroup, 3u);
    ASSERT_EQ(E().m_arrSettleKey.GetSize(), 2);
    EXPECT_DOUBLE_EQ(E().m_dLegendMax, 21.0);
    EXPECT_DOUBLE_EQ(E().m_dLegendMin, 11.0);
    EXPECT_EQ(M().m_nMaxKey, 2u);
    EXPECT_EQ(M().m_nMinKey, 1u);
    T_PCDSINK_D rec;
    double v = 0.0;
    EXPECT_EQ(E().GetSettlementData(1, rec, v), 1);
    EXPECT_DOUBLE_EQ(v, 11.0);
    EXPECT_EQ(E().GetSettlementData(3, rec, v), 0);
}

TEST(DeformSettlement, NoSettlementGroupBuildsNothing) {
    // The project with its settlement group turned into a static one.
    PostDBBuilder b;
    BuildDeformProject(b);
    b.AddLoadGroup(3, LDGP_STATIC, "S");
    CDBDoc doc;
    CDBDoc* saved = CDBDoc::m_pDBDoc;
    b.Install(doc);
    CDBDoc::m_pDBDoc = &doc;
    {
        RenderTestView view;
        I_PVXModel m;
        LinkModelToCtrl(m, view.GetI_PVXCtrl(), &view);
        m.m_pDeformEngine = new CDeformEngine(&m);
        m.m_nDisplayMode = PVXMode::kSettlement;
        EXPECT_EQ(m.m_pDeformEngine->InitEngine(), 0);
        EXPECT_EQ(m.m_pDeformEngine->m_bDataReady, 0);
    }
    CDBDoc::m_pDBDoc = saved;
}

TEST_F(DeformEngineTest, SlabDeflectionDrawsWithTheDefaultKind) {
    // The default kind is per member: the plate members' nodes (3..6) with the largest
    // deflection and its member for the legend. Mode 19 is thus not empty by default.
    ASSERT_EQ(E().m_nSlabDeflKind, 0);
    ASSERT_EQ(Build(PVXMode::kSlabDeflection, CDeformEngine::COMP_DZ), 1);
    ASSERT_EQ(E().m_arrNodeKey.GetSize(), 4) << "only the plate member takes part";
    EXPECT_EQ(E().m_arrNodeKey[0], 3u);
    EXPECT_DOUBLE_EQ(E().m_dSlabDeflMax, 2.0);
    EXPECT_EQ(M().m_nMaxKey, kPlate);
    // Per plate element: the same values, extreme node keys for the legend.
    E().m_nSlabDeflKind = 1;
    ASSERT_EQ(Build(PVXMode::kSlabDeflection, CDeformEngine::COMP_DZ), 1);
    EXPECT_DOUBLE_EQ(E().m_dLegendMin, -8.0);
    EXPECT_EQ(M().m_nMinKey, 5u);
}

// Mode shapes are settled by one test: the mode being built is 4, or the bar page is the
// mode-shape page. Both entry points, the view's mode-shape command and display mode 4, give
// the mode shape of the selected mode.
TEST_F(DeformEngineTest, ModeShapeEntryPoints) {
    struct Row {
        const char* label;
        void (*enter)(I_PVXModel&);
    };
    const Row rows[] = {
        {"display mode 4 (as --mode 4 sets it)", [](I_PVXModel& m) { m.m_nDisplayMode = PVXMode::kModeShape; }},
        {"bars' current mode 4", [](I_PVXModel&) { CPVXBarContainerBase::m_nCurrentMode = PVXMode::kModeShape; }},
        {"bar display mode 4 (the view's mode-shape command)",
         [](I_PVXModel& m) {
             m.m_nDisplayMode = PVXMode::kDeformedShape;
             m.m_nBarDisplayMode = PVXMode::kModeShape;
         }},
        {"bar result id 7203 written by the bar page",
         [](I_PVXModel& m) {
             m.m_nDisplayMode = PVXMode::kDeformedShape;
             m.m_nBarDisplayMode = PVXResult::kModeShape;
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ResetBarState();
        M().m_nBarDisplayMode = -1;
        SelectLoad(PLOAD_STATIC, 1);  // the load key is the mode number
        r.enter(M());
        EXPECT_EQ(E().IsModeShapeShown(), 1);
        E().m_nComponent = CDeformEngine::COMP_DY;
        ASSERT_EQ(E().InitEngine(), 1);
        T_DISP_D d;
        ASSERT_EQ(E().GetDispData(5, d), 1);
        EXPECT_DOUBLE_EQ(d.DY, 1.0) << "mode 1 at node 5";
        EXPECT_DOUBLE_EQ(d.DZ, 0.0) << "not the static displacement";
        EXPECT_DOUBLE_EQ(E().m_dLegendMax, 1.0);
        EXPECT_EQ(M().m_nMaxKey, 5u);
    }
    ResetBarState();
    M().m_nBarDisplayMode = -1;
    M().m_nDisplayMode = PVXMode::kDeformedShape;
    EXPECT_EQ(E().IsModeShapeShown(), 0);
}

// The view's mode-shape command on a result view of the project: the engine of the view's model
// then reads mode shapes while the model's display mode is still the deformed shape.
TEST(DeformViewCommand, ModeShapeCommandReachesTheEngine) {
    CUiDriver::Get().Reset();
    ResetBarState();
    PostDBBuilder b;
    BuildDeformProject(b);
    CDBDoc doc;
    CDBDoc* saved = CDBDoc::m_pDBDoc;
    b.Install(doc);
    CDBDoc::m_pDBDoc = &doc;
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr));
    auto* view = new CPVXView;  // deletes itself with its window
    ASSERT_TRUE(view->Create(nullptr, "result", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &frame, AFX_IDW_PANE_FIRST));
    view->GetI_PVXCtrl()->SetPVXViewMode(1);
    I_PVXModel* m = view->GetPVXModel();
    ASSERT_NE(m, nullptr);
    m->m_nDisplayMode = PVXMode::kDeformedShape;
    m->m_pDeformEngine = new CDeformEngine(m);
    m->m_bLoadSelected = 1;
    m->m_nLoadType = PLOAD_STATIC;
    m->m_nLoadKey = 1;
    EXPECT_EQ(m->m_pDeformEngine->IsModeShapeShown(), 0);

    view->SendMessage(WM_COMMAND, ID_PVX_MODE_SHAPE, 0);
    EXPECT_EQ(m->m_nBarDisplayMode, PVXMode::kModeShape);
    EXPECT_EQ(m->GetBarResultId(), PVXResult::kModeShape);
    EXPECT_EQ(m->m_pDeformEngine->IsModeShapeShown(), 1);
    m->m_pDeformEngine->InitEngine();
    T_DISP_D d;
    ASSERT_EQ(m->m_pDeformEngine->GetDispData(6, d), 1);
    EXPECT_DOUBLE_EQ(d.DY, 0.5) << "mode 1 at node 6";
    EXPECT_DOUBLE_EQ(d.DX, 0.0) << "not the static displacement (4, 1, 2)";

    view->DestroyWindow();
    frame.DestroyWindow();
    ResetBarState();
    CDBDoc::m_pDBDoc = saved;
    CUiDriver::Get().Reset();
}

// Whether a member can show its displacement follows the element table: an element made a
// super element (without results of its own) or back, asked of an engine that answered before
// the change and of a fresh one.
TEST_F(DeformEngineTest, MembersOfSuperElementsFollowTheElementTable) {
    auto& table = m_doc.GetMDBCtrl()->GetDBPost()->Table<DBT_PELEM>();
    const struct {
        const char* label;
        UINT elem;
        int kind;
        int plate, beam;  // IsPossibleDisp of the plate and the beam member after the change
    } rows[] = {
        {"no super element", kPlate, PELEM_KIND_PLATE, 1, 1},
        {"the plate's element a super element", kPlate, PELEM_KIND_SUPER, 0, 1},
        {"the beam's too", kBeam, PELEM_KIND_SUPER, 0, 0},
        {"the plate's a plate again", kPlate, PELEM_KIND_PLATE, 1, 0},
        {"the beam's a frame again", kBeam, PELEM_KIND_FRAME, 1, 1},
    };
    auto possible = [&](const CDeformEngine& e, UINT key) {
        T_PMEMB_D memb;
        EXPECT_TRUE(M().GetAttrCtrl()->GetMemb(key, memb));
        return e.IsPossibleDisp(memb);
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        possible(E(), kPlate);
        T_PELEM_D e = *table.Find(row.elem);
        e.kind = row.kind;
        table.Set(row.elem, e);
        const CDeformEngine fresh(&M());
        EXPECT_EQ(possible(E(), kPlate), row.plate);
        EXPECT_EQ(possible(fresh, kPlate), row.plate);
        EXPECT_EQ(possible(E(), kBeam), row.beam);
        EXPECT_EQ(possible(fresh, kBeam), row.beam);
    }
}

}  // namespace

}  // namespace deformtest
