// Truss values and the truss list: the value picker, interpolation along a member, the list the
// frame force displays build with its extremes, and the legend the frame lists are finished with.
#include <cfloat>

#include "module/engines/EngineCallLog.h"
#include "tests/module/truss/TrussTestSupport.h"

namespace trusstest {

class TrussListTest : public TrussProjectTest {};

TEST_F(TrussListTest, EndValuesByComponentAndSelector) {
    // End I (1, 3, -3, 4, 7, -7), end J (-5, 2, 2, 0, -1, 6).
    const double i[6] = {1, 3, -3, 4, 7, -7}, j[6] = {-5, 2, 2, 0, -1, 6};
    const T_MBBR_D rec = TrussRecord(i, j);
    struct Row {
        const char* label;
        int comp, sel;
        double value;
    } const rows[] = {
        {"axial at I", 0, 0, 1},
        {"axial at J", 0, 1, -5},
        {"axial, end of larger magnitude", 0, 4, -5},
        {"shears of equal magnitude at I give shear z", 6, 0, -3},
        {"shears at J: 2 and 2", 6, 1, 2},
        {"moments of equal magnitude at I give moment z", 7, 0, -7},
        {"moments at J: -1 and 6", 7, 1, 6},
        {"moment y, larger end", 4, 4, 7},
        {"no such selector", 0, 2, 0},
        {"no such component", 8, 0, 0},
    };
    for (const Row& r : rows) {
        E().m_nBForcComp = r.comp;
        EXPECT_EQ(E().CalcTForcValue(rec, r.sel), r.value) << r.label;
    }
    E().m_nBForcComp = 0;
    EXPECT_EQ(E().GetMaxMembTForc(rec), 1.0);
    EXPECT_EQ(E().GetMinMembTForc(rec), -5.0);
    // Ends of equal magnitude: end I.
    const double a[6] = {-5, 0, 0, 0, 0, 0}, b[6] = {5, 0, 0, 0, 0, 0};
    EXPECT_EQ(E().CalcTForcValue(TrussRecord(a, b), 4), -5.0);
}

TEST_F(TrussListTest, InterpolatedValuesAreLinearBetweenTheStoredEnds) {
    // Truss A from (0,-6,3) to (4,-6,3), as the list holds it: each component at fraction t of
    // the member is vI + t (vJ - vI) of the stored end values.
    T_MBBR_D rec;
    ASSERT_EQ(E().GetTrussForce(kTrussA, rec), 1);
    const C3DPoint a(0, -6, 3), b(4, -6, 3);
    for (int comp = 0; comp <= 5; ++comp) {
        E().m_nBForcComp = comp;
        const double vI = kTrussAI[comp], vJ = kTrussAJ[comp];
        for (double t : {0.0, 0.1, 0.25, 0.5, 0.9, 1.0}) {
            const C3DPoint p = a + (b - a) * t;
            EXPECT_NEAR(E().CalcPart4NearValue(rec, p, a, b), vI + t * (vJ - vI), 1e-12) << "component " << comp << ", t " << t;
        }
        EXPECT_EQ(E().CalcPart4NearValue(rec, a, a, b), vI) << "exactly the end value at I";
        EXPECT_EQ(E().CalcPart4NearValue(rec, b, a, b), vJ) << "exactly the end value at J";
    }
    // A point beside the member goes by its two distances: 1 m beside the middle, the mean.
    E().m_nBForcComp = 0;
    EXPECT_NEAR(E().CalcPart4NearValue(rec, C3DPoint(2, -5, 3), a, b), 20.0, 1e-12);
}

TEST_F(TrussListTest, FrameDisplaysBuildTheTrussList) {
    // Axial force under DL: A 10 and 30, B -50 at both ends; C has no forces and is left out
    // while the others show.
    EXPECT_EQ(E().m_bTForcData, 1);
    ASSERT_EQ(E().m_arrTrussKey.GetSize(), 2);
    EXPECT_EQ(E().m_arrTrussKey[0], kTrussA);
    EXPECT_EQ(E().m_arrTrussKey[1], kTrussB);
    EXPECT_EQ(E().m_mapTForc.GetCount(), 2);
    EXPECT_EQ(E().m_dTForcMax, 30.0);
    EXPECT_EQ(E().m_nTMaxMembKey, kTrussA);
    EXPECT_EQ(E().m_dTForcMin, -50.0);
    EXPECT_EQ(E().m_nTMinMembKey, kTrussB);

    // The builders each display runs, in order.
    struct Row {
        int mode;
        bool truss;
    } const rows[] = {{6, true}, {7, true}, {30, false}, {38, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "display mode " << r.mode);
        EngineCallLog::Enable(true);
        EngineCallLog::Clear();
        CForceEngine e(&M());
        e.m_nBForcComp = 0;
        e.InitEngine(nullptr, r.mode);
        const std::vector<std::string> calls = EngineCallLog::Calls();
        EngineCallLog::Enable(false);
        std::vector<std::string> want = {"CForceEngine::MakeBForcDataList"};
        if (r.truss) want.push_back("CForceEngine::MakeTForcDataList");
        want.push_back("CForceEngine::FinishMakeBForcData");
        EXPECT_EQ(calls, want);
        EXPECT_EQ(e.m_bTForcData, r.truss ? 1 : 0);
    }
}

TEST_F(TrussListTest, RecordOfTheLoadResultKind) {
    // The envelope of DL and LL (LL = -0.5 DL): kind 1 the maximum, 2 the minimum, 3 the larger
    // magnitude, per end and component. Truss A axial: DL 10 / 30, LL -5 / -15.
    struct Row {
        int step;
        double vI, vJ;
    } const rows[] = {{1, 10, 30}, {2, -5, -15}, {3, 10, 30}, {0, 10, 30}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "load result kind " << r.step);
        SelectLoad(12, kEnv, r.step);
        ASSERT_EQ(E().MakeTForcDataList(), 1);
        T_MBBR_D rec;
        ASSERT_EQ(E().GetTrussForce(kTrussA, rec), 1);
        EXPECT_EQ(rec.d[0][0], r.vI);
        EXPECT_EQ(rec.d[1][0], r.vJ);
    }
}

TEST_F(TrussListTest, TiesHiddenTrussesAndNoLoad) {
    // Torsion: A 0 / 5, B 5 / 0: both maxima 5 and both minima 0; the first member in the
    // model's list (A) holds them.
    E().m_nBForcComp = 3;
    ASSERT_EQ(E().MakeTForcDataList(), 1);
    EXPECT_EQ(E().m_dTForcMax, 5.0);
    EXPECT_EQ(E().m_nTMaxMembKey, kTrussA);
    EXPECT_EQ(E().m_dTForcMin, 0.0);
    EXPECT_EQ(E().m_nTMinMembKey, kTrussA);

    // Trusses hidden: 0, lists emptied.
    E().m_bShowTruss = 0;
    EXPECT_EQ(E().MakeTForcDataList(), 0);
    EXPECT_EQ(E().m_arrTrussKey.GetSize(), 0);
    EXPECT_EQ(E().m_mapTForc.GetCount(), 0);

    // No load applied: 0 and the lists as they were.
    E().m_bShowTruss = 1;
    ASSERT_EQ(E().MakeTForcDataList(), 1);
    M().m_bResultDataReady = 0;
    E().m_nBForcComp = 0;
    EXPECT_EQ(E().MakeTForcDataList(), 0);
    EXPECT_EQ(E().m_arrTrussKey.GetSize(), 2);
    EXPECT_EQ(E().m_dTForcMax, 5.0) << "the torsion list is left";
}

class TrussListWithoutTrusses : public forcetest::ForceProjectTest {};

TEST_F(TrussListWithoutTrusses, BuiltWithNothingToShow) {
    // The force tests' project has no truss: 1, no data, extremes 0, no legend keys.
    CForceEngine e(&M());
    M().m_nMaxKey = M().m_nMinKey = 7;
    EXPECT_EQ(e.MakeTForcDataList(), 1);
    EXPECT_EQ(e.m_bTForcData, 0);
    EXPECT_EQ(e.m_dTForcMax, 0.0);
    EXPECT_EQ(e.m_dTForcMin, 0.0);
    EXPECT_EQ(M().m_nMaxKey, 0u);
    EXPECT_EQ(M().m_nMinKey, 0u);
}

TEST_F(TrussListTest, LegendIsSetAfterTheListsAreBuilt) {
    // Axial force under DL: the beams carry none (0 .. 0), the trusses 30 (A) .. -50 (B).
    EXPECT_EQ(E().m_dLegendMax, 30.0);
    EXPECT_EQ(E().m_dLegendMin, -50.0);
    EXPECT_EQ(M().m_nMaxKey, kTrussA);
    EXPECT_EQ(M().m_nMinKey, kTrussB);
    ASSERT_NE(E().m_pContourEngine, nullptr);
    EXPECT_EQ(E().m_pContourEngine->m_dMinValue, -50.0);
    EXPECT_EQ(E().m_pContourEngine->m_dMaxValue, 30.0);
    // Diagram scale from the end of larger magnitude: the nodes span x 0..8, y -6..14 (the
    // arc's crown), z 0..5, so the largest extent 20 over 20 x 50.
    EXPECT_DOUBLE_EQ(E().m_dBSfdBmdAdjustFactor, 20.0 / (20.0 * 50.0));
    // Every member weighs 1 in the percent map: the two trusses and the five beams with
    // forces (the beam, the roof beam, the girder, the two-element beam, the curved beam).
    EXPECT_NEAR(E().m_pContourEngine->m_dPctTotal, 7.0, 1e-9);

    // Moment y: the trusses carry none, the beam spans -40 .. 40 and keeps the keys.
    CForceEngine e(&M());
    e.m_nBForcComp = 4;
    ASSERT_EQ(e.InitEngine(nullptr, 6), 1);
    EXPECT_EQ(e.m_dLegendMax, 40.0);
    EXPECT_EQ(e.m_dLegendMin, -40.0);
    EXPECT_EQ(M().m_nMaxKey, kBeam);
    EXPECT_EQ(M().m_nMinKey, kBeam);
    EXPECT_DOUBLE_EQ(e.m_dBSfdBmdAdjustFactor, 20.0 / (20.0 * 40.0));
    EXPECT_NEAR(e.m_pContourEngine->m_dPctTotal, 8.0, 1e-9) << "the trusses' and the column's zeros count too";
}

}  // namespace trusstest
