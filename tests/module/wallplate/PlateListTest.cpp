// Plate force lists of display mode 10: which plates are read, the value of each component,
// nodal averaging, the turn into display axes, the legend range and the colour weights, and the
// faults of the lists mended on the way.
#include <cfloat>
#include <cmath>
#include <functional>
#include <string>

#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
#include "host/db/DBTables.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/PVXModes.h"
#include "tests/module/ModuleTestSupport.h"
#include "tests/module/wallplate/WallPlateTestSupport.h"

namespace wallplatetest {
namespace {

constexpr double kC30 = 0.86602540378443865;  // cos 30°
constexpr double kS30 = 0.5;                  // sin 30°

class PlateListTest : public WallPlateTest {
protected:
    std::unique_ptr<CForceEngine> Build(int comp, int average = 0) {
        auto e = std::make_unique<CForceEngine>(&M());
        e->m_nPForcComp = comp;
        e->m_bPAverageNodal = average;
        e->InitEngine(nullptr, PVXMode::kPlateForce);
        return e;
    }
    static double Block(const CForceEngine& e, UINT key, int b, int pos) {
        T_STRP_DL r;
        EXPECT_TRUE(e.GetPlateForce(key, r)) << key;
        return r.blk[b][pos];
    }
};

TEST_F(PlateListTest, ReadsThePlatesOfWallsAndTGirdersWithTheirCheckBoxes) {
    struct Row {
        const char* label;
        int bTG, bWall;
        std::vector<UINT> keys;  // in member order
    } const rows[] = {
        {"both", 1, 1, {kPanel00, kPanel10, kPanel01, kPanel11, kBeamPanel, kGirderPanel}},
        {"walls only", 0, 1, {kPanel00, kPanel10, kPanel01, kPanel11, kBeamPanel}},
        {"T-girders only", 1, 0, {kGirderPanel}},
        {"neither: nothing is read", 0, 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CForceEngine e(&M());
        e.m_bPlateShowTG = r.bTG;
        e.m_bPlateShowWall = r.bWall;
        e.InitEngine(nullptr, PVXMode::kPlateForce);
        ASSERT_EQ(e.m_arrElemKey.GetSize(), static_cast<INT_PTR>(r.keys.size()));
        for (size_t i = 0; i < r.keys.size(); ++i) EXPECT_EQ(e.m_arrElemKey[static_cast<INT_PTR>(i)], r.keys[i]);
        EXPECT_EQ(e.m_mapPForc.GetCount(), static_cast<INT_PTR>(r.keys.size()));
        EXPECT_EQ(e.m_mapSbem.GetCount(), static_cast<INT_PTR>(r.keys.size()));
        T_STRP_DL raft;
        EXPECT_FALSE(e.GetPlateForce(kRaftPlate, raft)) << "raft plates belong to the slab results";
        // Nothing read is no data: the legend is empty and the mode shows the plain model.
        EXPECT_EQ(e.m_bPForcData, r.keys.empty() ? 0 : 1);
        if (r.keys.empty()) {
            EXPECT_EQ(e.m_dLegendMax, 0.0);
            EXPECT_EQ(e.m_dLegendMin, 0.0);
            EXPECT_EQ(M().m_nMaxKey, 0u);
            EXPECT_EQ(M().m_nMinKey, 0u);
        }
    }
}

TEST_F(PlateListTest, EachSelectorPicksItsPosition) {
    // Position p of block b holds 1000 b + p, so each selector's answer names its position.
    T_STRP_DL r;
    r.Initialize();
    for (int b = 0; b < 5; ++b)
        for (int p = 0; p < 30; ++p) r.blk[b][p] = 1000.0 * b + p;
    struct Row {
        int comp;
        double block2;  // the value read in block 2
    } const rows[] = {
        {0, 2014}, {1, 2015}, {2, 2016}, {3, 2017}, {4, 2018}, {6, 2020}, {7, 2021}, {8, 2022},
        {9, 2023}, {10, 2024}, {12, 2026}, {13, 2027},
        // Larger magnitude of two positions: 18 over 17, 24 over 23, 27 over 26.
        {14, 2018}, {15, 2024}, {16, 2027},
        // The vectors weigh in as their larger principal value.
        {5, 2018}, {11, 2024},
        // No such selector.
        {17, 0.0}, {-1, 0.0},
    };
    CForceEngine e(&M());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comp);
        e.m_nPForcComp = row.comp;
        EXPECT_EQ(e.CalcPForcValue(r, 2), row.block2);
        EXPECT_EQ(e.CalcPForcValue(r, 5), 0.0) << "no block 5";
    }
    // Equal magnitudes: the second position.
    T_STRP_DL t;
    t.Initialize();
    t.blk[1][17] = -5.0;
    t.blk[1][18] = 5.0;
    t.blk[1][26] = 3.0;
    t.blk[1][27] = -3.0;
    e.m_nPForcComp = 14;
    EXPECT_EQ(e.CalcPForcValue(t, 1), 5.0);
    e.m_nPForcComp = 16;
    EXPECT_EQ(e.CalcPForcValue(t, 1), -3.0);
    // Element extremes: corners only; the vectors the centre's principal values.
    e.m_nPForcComp = 0;
    EXPECT_EQ(e.GetMaxElemPForc(r, 4), 4014.0);
    EXPECT_EQ(e.GetMinElemPForc(r, 3), 1014.0);
    EXPECT_EQ(e.GetMaxElemPForc(r, 0), -DBL_MAX);
    EXPECT_EQ(e.GetMinElemPForc(r, 0), DBL_MAX);
    e.m_nPForcComp = 5;
    EXPECT_EQ(e.GetMaxElemPForc(r, 4), 18.0);
    EXPECT_EQ(e.GetMinElemPForc(r, 4), 17.0);
}

TEST_F(PlateListTest, NodalAveragingIsTheMeanOfTheCornersAtEachNode) {
    // Node 105 is shared by all four panels, which hold 1, 2, 6 and 11 there: (1+2+6+11)/4 = 5.
    // Node 102 is shared by panels 00 (3) and 10 (7): 5. Node 101 belongs to panel 00 alone (0).
    auto e = Build(0, 1);
    ASSERT_EQ(e->m_bPForcData, 1);
    struct Row {
        const char* label;
        UINT key;
        int block;
        double want;
    } const rows[] = {
        {"105 in panel 00", kPanel00, 3, 5.0}, {"105 in panel 10", kPanel10, 4, 5.0},
        {"105 in panel 01", kPanel01, 2, 5.0}, {"105 in panel 11", kPanel11, 1, 5.0},
        {"102 in panel 00", kPanel00, 2, 5.0}, {"102 in panel 10", kPanel10, 1, 5.0},
        {"101 alone", kPanel00, 1, 0.0},       {"centre untouched", kPanel11, 0, 100.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_DOUBLE_EQ(Block(*e, r.key, r.block, 14), r.want);
    }
    // Only the selected component is averaged.
    EXPECT_DOUBLE_EQ(Block(*e, kPanel00, 3, 15), kFyy);
}

TEST_F(PlateListTest, AveragingLeavesDerivedSelectorsAndVectorsAsRead) {
    for (int comp : {5, 11, 14, 15, 16}) {
        SCOPED_TRACE(comp);
        auto plain = Build(comp, 0);
        auto avg = Build(comp, 1);
        for (UINT key : {kPanel00, kPanel10, kPanel01, kPanel11}) {
            T_STRP_DL a, b;
            ASSERT_TRUE(plain->GetPlateForce(key, a));
            ASSERT_TRUE(avg->GetPlateForce(key, b));
            for (int blk = 0; blk < 5; ++blk)
                for (int p = 0; p < 30; ++p) EXPECT_EQ(a.blk[blk][p], b.blk[blk][p]) << key << " " << blk << " " << p;
        }
    }
}

TEST_F(PlateListTest, DisplayAxesFollowTheRotationFormulas) {
    // Turning the axes by a about the normal: Fx'x' = Fxx c^2 + Fyy s^2 + 2 Fxy s c,
    // Fy'y' = Fxx s^2 + Fyy c^2 - 2 Fxy s c, Fx'y' = (Fyy - Fxx) s c + Fxy (c^2 - s^2); the same
    // for the moments; the shears as a vector: Vx' = Vxx c + Vyy s, Vy' = -Vxx s + Vyy c.
    auto turn = [](double a, double c, double s, double xx, double yy, double xy, double out[3]) {
        (void)a;
        out[0] = xx * c * c + yy * s * s + 2.0 * xy * s * c;
        out[1] = xx * s * s + yy * c * c - 2.0 * xy * s * c;
        out[2] = (yy - xx) * s * c + xy * (c * c - s * s);
    };
    struct Row {
        const char* label;
        UINT key;
        int bLocal;
        double angle;  // display angle, degrees
        double c, s;   // of the turn from the element's axes to the display axes
    } const rows[] = {
        // The wall panel's own axes turned 30° about its normal.
        {"wall panel, display axes at 30 degrees", kPanel00, 1, 30.0, kC30, kS30},
        // The T-girder's first edge runs 30° from global x: global axes are its own turned by -30°.
        {"T-girder at 30 degrees in global axes", kGirderPanel, 0, 0.0, kC30, -kS30},
        // Both: the global axes turned by 30° give the girder's own axes back.
        {"T-girder, global axes turned by 30 degrees", kGirderPanel, 0, 30.0, 1.0, 0.0},
        {"own axes, no turn: the record as read", kGirderPanel, 1, 0.0, 1.0, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CForceEngine e(&M());
        e.m_bLocalAxis = r.bLocal;
        e.m_dPLocalAngle = r.angle;
        e.InitEngine(nullptr, PVXMode::kPlateForce);
        T_STRP_DL rec;
        ASSERT_TRUE(e.GetPlateForce(r.key, rec));
        double f[3], m[3];
        turn(r.angle, r.c, r.s, kFxx, kFyy, kFxy, f);
        turn(r.angle, r.c, r.s, kMxx, kMyy, kMxy, m);
        const double* b = rec.blk[r.key == kPanel00 ? 0 : 2];
        if (r.key == kPanel00) {
            // The panel's Fxx differs per block; its moments and shears are the conversion set.
            EXPECT_NEAR(b[20], m[0], 1e-9);
            EXPECT_NEAR(b[21], m[1], 1e-9);
            EXPECT_NEAR(b[22], m[2], 1e-9);
        } else {
            EXPECT_NEAR(b[14], f[0], 1e-9);
            EXPECT_NEAR(b[15], f[1], 1e-9);
            EXPECT_NEAR(b[16], f[2], 1e-9);
            EXPECT_NEAR(b[20], m[0], 1e-9);
            EXPECT_NEAR(b[21], m[1], 1e-9);
            EXPECT_NEAR(b[22], m[2], 1e-9);
        }
        EXPECT_NEAR(b[26], kVxx * r.c + kVyy * r.s, 1e-9);
        EXPECT_NEAR(b[27], -kVxx * r.s + kVyy * r.c, 1e-9);
        // Principal values do not depend on the axes: 7 +- sqrt(9 + 9) for the membrane forces.
        if (r.key == kGirderPanel) {
            EXPECT_NEAR(b[17], 7.0 + std::sqrt(18.0), 1e-9);
            EXPECT_NEAR(b[18], 7.0 - std::sqrt(18.0), 1e-9);
        }
    }
}

TEST_F(PlateListTest, LegendRangeKeysAndVectorReference) {
    // Fxx corners: the wall beam's panel holds 20, 40, 60, 80; the largest corner of all. The
    // girder holds 10 everywhere; the wall panels' smallest corner is 0 (panel 00 first).
    auto e = Build(0);
    EXPECT_EQ(e->m_dLegendMax, 80.0);
    EXPECT_EQ(e->m_dLegendMin, 0.0);
    EXPECT_EQ(M().m_nMaxKey, static_cast<UINT>(kBeamPanel));
    EXPECT_EQ(M().m_nMinKey, static_cast<UINT>(kPanel00)) << "ties: the first in list order";
    EXPECT_EQ(e->m_dPAbsMax, 80.0);
    EXPECT_EQ(e->m_nPAbsMaxElem, static_cast<UINT>(kBeamPanel));
    ASSERT_NE(e->m_pContourEngine, nullptr);
    // LL is DL x -0.5: the range turns over.
    SelectLoad(1, kLL, 0);
    auto l = Build(0);
    EXPECT_EQ(l->m_dLegendMax, 0.0);
    EXPECT_EQ(l->m_dLegendMin, -40.0);
    EXPECT_EQ(M().m_nMinKey, static_cast<UINT>(kBeamPanel));
}

TEST_F(PlateListTest, NoLoadSelectedBuildsNothing) {
    M().m_bResultDataReady = 0;
    CForceEngine e(&M());
    T_STRP_DL stale = ConversionRecord();
    e.m_mapPForc.SetAt(99, stale);  // left over from an earlier load
    EXPECT_EQ(e.MakePForcDataList(), 0);
    EXPECT_EQ(e.m_bPForcData, 0);
    EXPECT_EQ(e.m_mapPForc.GetCount(), 0) << "nothing of an earlier load stays";
}

TEST_F(PlateListTest, LoadResultKindPicksTheSlot) {
    // Kinds 0 to 3 read a record (the static case fills every slot alike); another kind reads
    // nothing.
    for (int step : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(step);
        SelectLoad(1, kDL, step);
        auto e = Build(0);
        EXPECT_EQ(e->m_mapPForc.GetCount(), step <= 3 ? 6 : 0);
    }
}

// ---- faults of the lists ---------------------------------------------------------------------

TEST_F(PlateListTest, ATriangleAddsNoFourthCornerToTheColourWeights) {
    // A triangular T-girder panel with corners -10, 20, 30 and centre 25: its four values weigh
    // 25 % each; the unused fourth block (0) lies inside the range but must weigh nothing.
    Reinstall([](PostDBBuilder& b) {
        b.AddNode(140, 30, 0, 0);
        b.AddNode(141, 32, 0, 0);
        b.AddNode(142, 30, 0, 2);
        b.AddElem(18, PELEM_KIND_WALL, 204, {140, 141, 142}, 1, 1);
        const UINT n[] = {140, 141, 142}, el[] = {18};
        b.AddMemb(5, 204, n, el, 2.0);
        T_STRP_DL r;
        r.Initialize();
        r.blk[0][14] = 25.0;
        r.blk[1][14] = -10.0;
        r.blk[2][14] = 20.0;
        r.blk[3][14] = 30.0;
        b.AddStrp(kDL, 18, r);
    });
    CForceEngine e(&M());
    // Only the triangle's member is active.
    M().m_arrActiveMembKey.RemoveAll();
    M().m_arrActiveMembKey.Add(5);
    e.InitEngine(nullptr, PVXMode::kPlateForce);
    ASSERT_EQ(e.m_bPForcData, 1);
    ASSERT_EQ(e.m_dLegendMin, -10.0);
    ASSERT_EQ(e.m_dLegendMax, 30.0);
    const CContourEngine& s = *e.m_pContourEngine;
    const int zeroBand = s.GetSeqPecentRankByValue(0.0);
    ASSERT_GE(zeroBand, 0);
    for (double v : {-10.0, 20.0, 25.0, 30.0}) ASSERT_NE(s.GetSeqPecentRankByValue(v), zeroBand) << v;
    EXPECT_EQ(s.m_dPctRankMap[zeroBand], 0.0);
    double total = 0.0;
    for (double p : s.m_dPctRankMap) total += p;
    EXPECT_NEAR(total, 100.0, 1e-9);
}

TEST_F(PlateListTest, ASubElementOfMoreThanFourNodesReadsNoFifthCorner) {
    // A pentagonal panel: its record has four corner blocks only. Averaging, the extremes and the
    // cutting-line values stay within them (the memory checker would report a read past them).
    Reinstall([](PostDBBuilder& b) {
        b.AddNode(150, 40, 0, 0);
        b.AddNode(151, 42, 0, 0);
        b.AddNode(152, 43, 0, 1);
        b.AddNode(153, 41, 0, 2);
        b.AddNode(154, 40, 0, 1);
        b.AddElem(19, PELEM_KIND_WALL, 209, {150, 151, 152, 153, 154}, 1, 1);
        const UINT n[] = {150, 151, 152, 153, 154}, el[] = {19};
        b.AddMemb(6, 209, n, el, 2.0);
        T_STRP_DL r;
        r.Initialize();
        for (int blk = 0; blk < 5; ++blk) r.blk[blk][14] = 10.0 * blk;
        b.AddStrp(kDL, 19, r);
    });
    M().m_arrActiveMembKey.RemoveAll();
    M().m_arrActiveMembKey.Add(6);
    auto e = Build(0, 1);
    ASSERT_EQ(e->m_bPForcData, 1);
    EXPECT_EQ(e->m_dLegendMax, 40.0) << "corner blocks 1..4";
    EXPECT_EQ(e->m_dLegendMin, 10.0);
    double v1 = -1.0, v2 = -1.0;
    e->GetNodalValueforCutting(19, v1, 3, v2, 4);
    EXPECT_EQ(v1, 40.0);
    EXPECT_EQ(v2, 0.0) << "the fifth corner has no block of its own";
}

TEST_F(PlateListTest, AVerticalLineElementHasFiniteAxes) {
    // Line objects lie along their first two nodes; a vertical one has no plan normal, and its y
    // axis is then the global y axis. Every axis comes out a unit vector, each pair orthogonal.
    Reinstall([](PostDBBuilder& b) {
        b.AddNode(160, 0, 0, 0);
        b.AddNode(161, 0, 0, 3);
        b.AddNode(162, 3, 0, 0);
        b.AddNode(163, 6, 0, 4);
        b.AddElem(20, PELEM_KIND_FRAME, 201, {160, 161}, 1, 1);
        b.AddElem(21, PELEM_KIND_FRAME, 201, {162, 163}, 1, 1);
    });
    CForceEngine e(&M());
    struct Row {
        const char* label;
        UINT key;
        double x[3];
    } const rows[] = {{"vertical", 20, {0, 0, 1}}, {"sloped 3:4", 21, {0.6, 0, 0.8}}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_PELEM_D elem;
        ASSERT_TRUE(M().m_pAttrCtrl->GetElem(r.key, elem));
        double axes[3][3];
        ASSERT_EQ(e.CalcSElemLocalVec(r.key, elem, axes, nullptr, 0.0, 0), 1);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(axes[0][k], r.x[k], 1e-12);
        for (int a = 0; a < 3; ++a) {
            EXPECT_NEAR(axes[a][0] * axes[a][0] + axes[a][1] * axes[a][1] + axes[a][2] * axes[a][2], 1.0, 1e-12);
            for (int b = a + 1; b < 3; ++b)
                EXPECT_NEAR(axes[a][0] * axes[b][0] + axes[a][1] * axes[b][1] + axes[a][2] * axes[b][2], 0.0, 1e-12);
        }
    }
}

// What an engine shows after a build: the built flag, legend and extremes, every element's record
// at a few positions, and the contour with its numbers drawn as calls with their points and colours.
std::string Shown(CForceEngine& e, I_PVXModel& m) {
    std::string out = std::to_string(e.m_bPForcData) + " legend " + std::to_string(e.m_dLegendMin) + " " +
                      std::to_string(e.m_dLegendMax) + " keys " + std::to_string(m.m_nMinKey) + " " +
                      std::to_string(m.m_nMaxKey) + "\n";
    for (INT_PTR i = 0; i < e.m_arrElemKey.GetSize(); ++i) {
        const UINT key = e.m_arrElemKey[i];
        T_STRP_DL r;
        out += std::to_string(key);
        if (e.GetPlateForce(key, r))
            for (int b = 0; b < 5; ++b)
                out += " " + std::to_string(r.blk[b][14]) + "/" + std::to_string(r.blk[b][15]) + "/" +
                       std::to_string(r.blk[b][20]);
        out += "\n";
    }
    CRecordDC dc;
    EXPECT_TRUE(dc.Create());
    e.DrawPForcContour(&dc);
    e.OutputPForcNumbers(&dc);
    return out + moduletest::RecordedCalls(dc);
}

TEST_F(PlateListTest, KeptListsFollowEveryChangeOfWhatTheyWereBuiltFrom) {
    // One engine builds under the first state, then under the second; what it shows must be what
    // a new engine shows that builds under the second state alone. LL is DL x -0.5; the panels'
    // Fxx differ at shared nodes (so averaging changes them) while their Fyy agree but in panel
    // 00, and the T-girder's axes lie 30 degrees from the global ones.
    struct State {
        UINT load = kDL;
        int comp = 0, average = 0, skipActive = 0, showTG = 1, showWall = 1, local = 1;
        double angle = 0.0;
        bool wallActive = true;
        double panelFxx = 0.0;   // added to panel 10's corner 1 Fxx under DL in the project
        double girderLift = 0.0; // the T-girder's corner 122 raised in the project
        int modeBefore = -1;     // a display mode the same engine builds just before
    };
    struct Row {
        const char* label;
        State first, second;
    };
    State dl, ll, fyy, avgFxx, avgFyy, noTG, noWall, global, turned, wallOff, edited, lifted, afterSlab, afterWall,
        avgSkip;
    ll.load = kLL;
    fyy.comp = 1;
    avgFxx.average = 1;
    avgFyy.average = 1;
    avgFyy.comp = 1;
    avgSkip = avgFxx;
    avgSkip.skipActive = 1;
    noTG.showTG = 0;
    noWall.showWall = 0;
    turned.angle = 30.0;
    wallOff.wallActive = false;
    edited.panelFxx = 50.0;
    global.local = 0;
    lifted.local = 0;  // in its own axes the girder's records would not move with it
    lifted.girderLift = 1.0;
    afterSlab.modeBefore = PVXMode::kSlabForce;
    afterWall.modeBefore = PVXMode::kWallForceContour;
    const Row rows[] = {
        {"load case DL then LL", dl, ll},
        {"load case LL then DL", ll, dl},
        {"component Fxx then Fyy", dl, fyy},
        {"averaged component Fxx then Fyy", avgFxx, avgFyy},
        {"averaging switched on", dl, avgFxx},
        {"averaged, then the built element list kept", avgFxx, avgSkip},
        {"T-girders switched off", dl, noTG},
        {"walls switched off", dl, noWall},
        {"global axes", dl, global},
        {"display axes turned", dl, turned},
        {"wall no longer active", dl, wallOff},
        {"plate forces edited in the project", dl, edited},
        {"T-girder corner moved in the project", global, lifted},
        {"nothing changed", ll, ll},
        {"slab forces built in between", dl, afterSlab},
        {"wall forces built in between", dl, afterWall},
    };
    CDataBase* db = m_doc.GetMDBCtrl()->GetDBPost();
    const T_STRP_DL strp0 = *db->Table<DBT_STRP>().Find(kDL, kPanel10);
    const T_PNODE_D node0 = *db->Table<DBT_PNODE>().Find(122);
    CArray<UINT, UINT> allActive;
    allActive.Copy(M().m_arrActiveMembKey);
    auto apply = [&](const State& st, CForceEngine& e) {
        SelectLoad(1, st.load, 0);
        e.m_nPForcComp = st.comp;
        e.m_bPAverageNodal = st.average;
        e.m_bSkipActivePlateList = st.skipActive;
        e.m_bPlateShowTG = st.showTG;
        e.m_bPlateShowWall = st.showWall;
        e.m_bLocalAxis = st.local;
        e.m_dPLocalAngle = st.angle;
        e.m_nSForcUnit = 1;
        M().m_arrActiveMembKey.Copy(allActive);
        if (!st.wallActive)
            for (INT_PTR i = M().m_arrActiveMembKey.GetSize(); i-- > 0;)
                if (M().m_arrActiveMembKey[i] == kWall) M().m_arrActiveMembKey.RemoveAt(i);
        // Records are written only when they change, as an edit of the project would.
        T_STRP_DL r = strp0;
        r.blk[1][14] += st.panelFxx;
        if (db->Table<DBT_STRP>().Find(kDL, kPanel10)->blk[1][14] != r.blk[1][14]) db->Table<DBT_STRP>().Set(kDL, kPanel10, r);
        T_PNODE_D n = node0;
        n.z += st.girderLift;
        if (db->Table<DBT_PNODE>().Find(122)->z != n.z) db->Table<DBT_PNODE>().Set(122, n);
        if (st.modeBefore >= 0) e.InitEngine(nullptr, st.modeBefore);
        return e.InitEngine(nullptr, PVXMode::kPlateForce);
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CForceEngine kept(&M());
        apply(row.first, kept);
        const int keptBuilt = apply(row.second, kept);
        const std::string keptShows = Shown(kept, M());
        CForceEngine fresh(&M());
        EXPECT_EQ(keptBuilt, apply(row.second, fresh));
        EXPECT_EQ(keptShows, Shown(fresh, M()));
        // Independently, from the project as made: in its own axes without averaging, panel 10's
        // first corner holds 7 (plus the edit) under DL and 7 x -0.5 under LL.
        const State& st = row.second;
        if (st.average == 0 && st.angle == 0.0 && st.local == 1 && st.showWall && st.wallActive) {
            const double f = st.load == kDL ? 1.0 : -0.5;
            EXPECT_DOUBLE_EQ(Block(kept, kPanel10, 1, 14), f * PanelFxx(kPanel10, 1) + (st.load == kDL ? st.panelFxx : 0.0));
        }
    }
}

// The legend's walk over the records (extremes and weighed values) is kept while the records,
// the component and the list stay the same, and its band weights while the levels do too: every
// change of any between two legends must show. The answer is an engine weighing the same lists
// for the first time.
TEST_F(PlateListTest, KeptBandWeightsFollowTheValuesAndTheLevels) {
    struct Row {
        const char* label;
        std::function<void(CForceEngine&)> change;
    } const rows[] = {
        {"nothing changed", [](CForceEngine&) {}},
        {"component Fyy", [](CForceEngine& e) { e.m_nPForcComp = 1; }},
        {"a corner value moved", [](CForceEngine& e) { e.m_mapPForc[kPanel00].blk[2][14] = 2.5; }},
        {"a centre value moved", [](CForceEngine& e) { e.m_mapPForc[kBeamPanel].blk[0][14] = 55.0; }},
        {"six levels", [](CForceEngine& e) { e.m_pContourEngine->m_nNumColor = 6; }},
        {"an element fewer weighed", [](CForceEngine& e) { e.m_arrElemKey.RemoveAt(0); }},
        {"the largest element's shape record removed", [](CForceEngine& e) { e.m_mapSbem.RemoveKey(kBeamPanel); }},
        {"a record removed", [](CForceEngine& e) { e.m_mapPForc.RemoveKey(kPanel10); }},
        {"the list in another order",
         [](CForceEngine& e) {
             const UINT first = e.m_arrElemKey[0];
             e.m_arrElemKey.RemoveAt(0);
             e.m_arrElemKey.Add(first);
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        auto kept = Build(0);
        ASSERT_NE(kept->m_pContourEngine, nullptr);
        r.change(*kept);
        ASSERT_EQ(kept->MakePForcDataList_MnMx(), 1);
        const auto first = FirstWeighing(*kept);
        const CContourEngine& a = *kept->m_pContourEngine;
        const CContourEngine& b = *first->m_pContourEngine;
        EXPECT_EQ(a.m_dPctTotal, b.m_dPctTotal);
        for (int k = 0; k < CContourEngine::MAX_LEVELS; ++k) EXPECT_EQ(a.m_dPctRankMap[k], b.m_dPctRankMap[k]) << k;
        EXPECT_GT(b.m_dPctTotal, 0.0);
        // The legend's extremes come from the same walk.
        EXPECT_EQ(kept->m_dLegendMax, first->m_dLegendMax);
        EXPECT_EQ(kept->m_dLegendMin, first->m_dLegendMin);
        EXPECT_EQ(kept->m_dPAbsMax, first->m_dPAbsMax);
        EXPECT_EQ(kept->m_nPAbsMaxElem, first->m_nPAbsMaxElem);
        const UINT keys[2] = {M().m_nMaxKey, M().m_nMinKey};
        ASSERT_EQ(kept->MakePForcDataList_MnMx(), 1);
        EXPECT_EQ(M().m_nMaxKey, keys[0]);
        EXPECT_EQ(M().m_nMinKey, keys[1]);
    }
}

TEST_F(PlateListTest, AnElementWithoutAxesIsLeftOut) {
    // A two-node wall panel has no axes: it is left out, and the element after it is read with
    // records of its own.
    Reinstall([](PostDBBuilder& b) {
        b.AddNode(170, 50, 0, 0);
        b.AddNode(171, 52, 0, 0);
        b.AddElem(22, PELEM_KIND_WALL, 209, {170, 171}, 1, 1);
        T_PMEMB_D m;
        m.type = 209;
        m.aElem.Add(22);
        m.aElem.Add(kPanel00);
        b.AddMemb(7, m);
        T_STRP_DL r = ConversionRecord();
        b.AddStrp(kDL, 22, r);
    });
    M().m_arrActiveMembKey.RemoveAll();
    M().m_arrActiveMembKey.Add(7);
    auto e = Build(0);
    ASSERT_EQ(e->m_arrElemKey.GetSize(), 1);
    EXPECT_EQ(e->m_arrElemKey[0], static_cast<UINT>(kPanel00));
    T_PVX_SBEM_D sb;
    ASSERT_TRUE(e->GetSbemD(kPanel00, sb));
    ASSERT_EQ(sb.m_arrNodeKey.GetSize(), 4);
    EXPECT_EQ(sb.m_arrNodeKey[0], WallNode(0, 0));
    EXPECT_EQ(sb.m_arrNodeKey[2], WallNode(1, 1));
}

}  // namespace
}  // namespace wallplatetest
