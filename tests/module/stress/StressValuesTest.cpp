// The data side of the stress engine on a small model built in code: values per component,
// surface folding, element extremes, the range pass, the vector factor, element axes, import
// and the cutting-line values.
//
// The model: two T-girder plates (members 204): plate 1 (type 301, 2 m x 2 m, nodes 1 2 3 4
// from the origin), plate 2 (type 302, 4 m x 2 m, nodes 2 5 6 3, local axes turned by 30 degrees), a wall panel 3 (209) standing on
// edge 1-2 up to z = 3 and a beam 4 (201) along edge 4-3, each its own member. Load case 1 holds
// the plate records of TwoPlateRecords.
#include <cfloat>

#include "module/contour/CContourEngine.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "tests/module/stress/StressTestSupport.h"

namespace {

// Plate 1: centre, surface 1 sxx 7, syy -1, txy 3 (Mohr: centre 3, radius 5, principal 8 and
// -2), surface 2 the negative (2 and -8); corners with equal normal stresses a and no shear,
// so every stress of the corner is a: surface 1 a = 1, 2, 3, 4, surface 2 a = -10 .. -40.
// Plate 2: centre pure shear 5 (principal 5 and -5 at 45 degrees; surface 2 at -45); corners
// surface 1 a = 6, -12, 0, 3, surface 2 a = -6, 12, 0, -3.
struct TwoPlateRecords {
    T_STRP_DL r1, r2;
    TwoPlateRecords() {
        r1.Initialize();
        r2.Initialize();
        SetSurface(r1.blk[0], 0, 7, -1, 3);
        SetSurface(r1.blk[0], 1, -7, 1, -3);
        SetSurface(r2.blk[0], 0, 0, 0, 5);
        SetSurface(r2.blk[0], 1, 0, 0, -5);
        const double a1[4] = {1, 2, 3, 4}, b1[4] = {-10, -20, -30, -40};
        const double a2[4] = {6, -12, 0, 3}, b2[4] = {-6, 12, 0, -3};
        for (int k = 0; k < 4; ++k) {
            SetSurface(r1.blk[k + 1], 0, a1[k], a1[k], 0);
            SetSurface(r1.blk[k + 1], 1, b1[k], b1[k], 0);
            SetSurface(r2.blk[k + 1], 0, a2[k], a2[k], 0);
            SetSurface(r2.blk[k + 1], 1, b2[k], b2[k], 0);
        }
    }
};

class StressValuesTest : public StressFixture {
protected:
    void Build(const TwoPlateRecords& rec = TwoPlateRecords()) {
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 2, 0, 0);
        b.AddNode(3, 2, 2, 0);
        b.AddNode(4, 0, 2, 0);
        b.AddNode(5, 6, 0, 0);
        b.AddNode(6, 6, 2, 0);
        b.AddNode(7, 2, 0, 3);
        b.AddNode(8, 0, 0, 3);
        b.AddElem(1, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        b.AddElem(2, PELEM_KIND_PLATE, 302, {2, 5, 6, 3}, 0, 0, 30.0);
        b.AddElem(3, PELEM_KIND_WALL, 209, {1, 2, 7, 8});
        b.AddElem(4, PELEM_KIND_FRAME, 201, {4, 3});
        b.AddMemb(10, 204, {1, 2, 3, 4}, {1});
        b.AddMemb(11, 204, {2, 5, 6, 3}, {2});
        b.AddMemb(12, 209, {1, 2, 7, 8}, {3});
        b.AddMemb(13, 201, {4, 3}, {4});
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        b.AddStrp(1, 1, rec.r1);
        b.AddStrp(1, 2, rec.r2);
        b.AddCutLine(1, CTLN_KIND_CUTLINE, "Cut-Line #1", 0.0, 0.5, -1, 0, 0.5, 3, 0);
        Open(b);
        SelectStatic(1);
    }
    // Builds with the given component and surface; the build's answer.
    int Make(int nComponent, int nSurface) {
        E().m_nComponent = nComponent;
        E().m_nSurface = nSurface;
        return E().InitEngine(nullptr, PVXMode::kPlateStress);
    }
};

TEST_F(StressValuesTest, NewEngineDrawsContoursOfTheEffectiveStress) {
    Build();
    // Every setting has a value before the first build: the contour switch and the reference
    // values too, which the reset leaves alone.
    const CStressEngine e(&M());
    EXPECT_EQ(e.m_bContour, 1);
    EXPECT_EQ(e.m_dRefMagnitude, 0.0);
    EXPECT_EQ(e.m_nRefElem, 0u);
    EXPECT_EQ(e.m_nComponent, 5);
    EXPECT_EQ(e.m_nSurface, 0);
    EXPECT_EQ(e.m_dVectorScale, 1.0);
    EXPECT_EQ(e.m_dVectorFactor, 1.0);
    EXPECT_EQ(e.m_bIncludePlate, 1);
    EXPECT_EQ(e.m_bIncludeWall, 1);
    EXPECT_EQ(e.m_nNumberPos, 0);
    EXPECT_EQ(e.m_bDataReady, 0);
    EXPECT_EQ(e.m_bKeepVectorFactor, 0);

    ASSERT_EQ(Make(3, 2), 1);
    E().m_bContour = 0;
    E().m_dVectorScale = 3.0;
    E().ResetEngine();
    EXPECT_EQ(E().m_nComponent, 5);
    EXPECT_EQ(E().m_nSurface, 0);
    EXPECT_EQ(E().m_dVectorScale, 1.0);
    EXPECT_EQ(E().m_bDataReady, 0);
    EXPECT_EQ(E().m_mapPStrs.GetCount(), 0);
    EXPECT_EQ(E().m_arrElemKey.GetSize(), 0);
    EXPECT_EQ(E().m_bContour, 0) << "the contour switch is the page's";
    EXPECT_EQ(E().m_dRefMagnitude, 40.0) << "the reference stays until the next build";
}

TEST_F(StressValuesTest, ValuesByComponentPointAndSurface) {
    Build();
    const T_STRP_DL r = IndexedRecord();  // blk[p][i] = 1000 p + i + 1
    struct Row {
        const char* label;
        int comp, point, surface;
        double expected;
    } rows[] = {
        {"sigma-xx centre", 0, 0, 0, 1},
        {"sigma-yy corner 1", 1, 1, 0, 1002},
        {"tau-xy corner 2 surface 2", 2, 2, 1, 2010},
        {"sigma-1 corner 3", 3, 3, 0, 3004},
        {"sigma-2 corner 4 surface 2", 4, 4, 1, 4012},
        {"effective stress, not the angle", 5, 1, 0, 1007},
        {"effective stress surface 2, not the angle", 5, 1, 1, 1014},
        {"maximum shear surface 1", 6, 3, 0, 3029},
        {"maximum shear surface 2", 6, 3, 1, 3030},
        {"vectors have no scalar", 7, 0, 0, 0},
        {"unknown component", 9, 0, 0, 0},
        {"no fifth corner", 0, 5, 0, 0},
        {"no third surface", 0, 0, 2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        E().m_nComponent = row.comp;
        EXPECT_EQ(E().CalcPStrsValue(r, row.point, row.surface), row.expected);
    }
}

TEST_F(StressValuesTest, SurfacesFoldWhenRecordsAreStored) {
    TwoPlateRecords rec;
    // Centre of plate 1: sigma-1 -5 (surface 1) against 5 (surface 2), sigma-2 4 against -6.
    rec.r1.blk[0][3] = -5;
    rec.r1.blk[0][10] = 5;
    rec.r1.blk[0][4] = 4;
    rec.r1.blk[0][11] = -6;
    Build(rec);
    T_STRP_DL got;
    ASSERT_EQ(Make(3, 3), 1);
    ASSERT_TRUE(E().GetPlateStress(1, got));
    EXPECT_EQ(got.blk[0][3], -5) << "equal magnitudes keep the first surface";
    EXPECT_EQ(got.blk[0][4], -6) << "the larger magnitude wins";
    EXPECT_EQ(got.blk[1][3], -10) << "corner 1: |-10| > |1|";
    EXPECT_EQ(got.blk[0][10], 5) << "the second surface stays as read";

    ASSERT_EQ(Make(3, 1), 1);
    ASSERT_TRUE(E().GetPlateStress(1, got));
    for (int p = 0; p < 5; ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(E().CalcPStrsValue(got, p, 0), E().CalcPStrsValue(got, p, 1));
        EXPECT_EQ(E().CalcPStrsValue(got, p, 0), rec.r1.blk[p][10]);
    }

    ASSERT_EQ(Make(3, 0), 1);
    ASSERT_TRUE(E().GetPlateStress(1, got));
    EXPECT_EQ(got.blk[2][3], 2.0) << "surface 0 keeps the record";
    EXPECT_EQ(E().GetPlateStress(3, got), 0) << "the wall panel has no record in the project";
    EXPECT_EQ(E().m_mapSbem.GetCount(), 2);
}

TEST_F(StressValuesTest, ElementExtremes) {
    Build();
    // On the heap alone, so that a read past the record is caught.
    const auto pRec = std::make_unique<T_STRP_DL>(TwoPlateRecords().r1);
    const T_STRP_DL& r1 = *pRec;
    struct Row {
        const char* label;
        int comp, nodes, both;
        double max, min;
    } rows[] = {
        {"sigma-1 of plate 1's four corners", 3, 4, 0, 4, 1},
        {"both surfaces", 3, 4, 1, 4, -40},
        {"two corners only", 3, 2, 0, 2, 1},
        // A sub-element of more corners than the record holds reads the four it has.
        {"six corners read as four", 3, 6, 0, 4, 1},
        {"vectors: the centre's principal stresses", 7, 4, 0, 8, -2},
        {"vectors on both surfaces", 7, 0, 1, 8, -8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        E().m_nComponent = row.comp;
        EXPECT_EQ(E().GetMaxElemPStrs(r1, row.nodes, row.both), row.max);
        EXPECT_EQ(E().GetMinElemPStrs(r1, row.nodes, row.both), row.min);
    }
    E().m_nComponent = 3;
    EXPECT_EQ(E().GetMaxElemPStrs(r1, 0, 0), -DBL_MAX) << "nothing read";
    EXPECT_EQ(E().GetMinElemPStrs(r1, 0, 0), DBL_MAX);
}

TEST_F(StressValuesTest, RangePassGivesExtremesKeysAndScale) {
    Build();
    struct Row {
        const char* label;
        int comp, surface;
        double max, min;
        UINT maxKey, minKey;
        double ref;
        UINT refKey;
    } rows[] = {
        // Plate 1 corners 1..4, plate 2 corners 6, -12, 0, 3.
        {"sigma-1, surface 1", 3, 0, 6, -12, 2, 2, 12, 2},
        // Second surface: plate 1 -10..-40, plate 2 -6, 12, 0, -3.
        {"sigma-1, surface 2", 3, 1, 12, -40, 2, 1, 40, 1},
        {"sigma-1, both", 3, 2, 12, -40, 2, 1, 40, 1},
        // Centre principal stresses: plate 1 8 and -2, plate 2 5 and -5.
        {"vectors", 7, 0, 8, -5, 1, 2, 8, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        ASSERT_EQ(Make(row.comp, row.surface), 1);
        EXPECT_EQ(E().m_dLegendMax, row.max);
        EXPECT_EQ(E().m_dLegendMin, row.min);
        EXPECT_EQ(M().m_nMaxKey, row.maxKey);
        EXPECT_EQ(M().m_nMinKey, row.minKey);
        EXPECT_EQ(E().m_dRefMagnitude, row.ref);
        EXPECT_EQ(E().m_nRefElem, row.refKey);
        ASSERT_NE(E().m_pContourEngine, nullptr);
        EXPECT_EQ(E().m_pContourEngine->m_dMinValue, row.min);
        EXPECT_EQ(E().m_pContourEngine->m_dMaxValue, row.max);
    }
}

TEST_F(StressValuesTest, PercentagesOfTheValuesShown) {
    Build();
    auto percentOf = [&](double v) {
        const CContourEngine& s = *E().m_pContourEngine;
        return s.m_dPctRankMap[s.GetSeqPecentRankByValue(v)];
    };
    auto total = [&] {
        double t = 0.0;
        for (double p : E().m_pContourEngine->m_dPctRankMap) t += p;
        return t;
    };
    // Sigma-1 at the five points of both plates: plate 1 8, 1, 2, 3, 4; plate 2 5, 6, -12, 0, 3.
    // The scale spans the corners, -12 to 6: plate 1's centre (8) lies beyond it and is not
    // counted, so -12 is one value of nine.
    ASSERT_EQ(Make(3, 0), 1);
    EXPECT_NEAR(total(), 100.0, 1e-9);
    EXPECT_NEAR(percentOf(-12.0), 100.0 / 9.0, 1e-9);
    // Vectors: the centres' principal stresses 8, -2, 5, -5, one in four each where their bands
    // differ (the vector component itself has no value to count).
    ASSERT_EQ(Make(7, 0), 1);
    EXPECT_NEAR(total(), 100.0, 1e-9);
    EXPECT_NEAR(percentOf(8.0), 25.0, 1e-9);
    EXPECT_NEAR(percentOf(-5.0), 25.0, 1e-9);
}

TEST_F(StressValuesTest, BuildsForModeElevenWithResultsOnly) {
    Build();
    EXPECT_EQ(E().InitEngine(nullptr, PVXMode::kPlateForce), 0);
    EXPECT_EQ(E().m_bDataReady, 0);
    EXPECT_EQ(E().m_mapPStrs.GetCount(), 0);
    CPVXBarContainerBase::m_nCurrentMode = PVXMode::kPlateStress;
    EXPECT_EQ(E().InitEngine(nullptr, -1), 1) << "-1 takes the bars' mode";
    EXPECT_EQ(E().m_mapPStrs.GetCount(), 2);
    EXPECT_EQ(E().m_arrElemKey.GetSize(), 2);

    M().m_bLoadSelected = 0;  // no load: the host's queries have no results
    EXPECT_EQ(E().InitEngine(nullptr, PVXMode::kPlateStress), 0);

    // Without plate members (both switches off) the build still succeeds, with nothing in it.
    M().m_bLoadSelected = 1;
    E().m_bIncludePlate = 0;
    E().m_bIncludeWall = 0;
    EXPECT_EQ(E().InitEngine(nullptr, PVXMode::kPlateStress), 1);
    EXPECT_EQ(E().m_mapPStrs.GetCount(), 0);
    EXPECT_EQ(E().m_dLegendMax, 0.0);
    EXPECT_EQ(E().m_dLegendMin, 0.0);
    EXPECT_EQ(M().m_nMaxKey, 0u);
    EXPECT_EQ(M().m_nMinKey, 0u);
    ASSERT_NE(E().m_pContourEngine, nullptr);
    EXPECT_EQ(E().m_pContourEngine->m_dMaxValue, 0.0);
}

TEST_F(StressValuesTest, VectorFactorFromModelAndReferenceElement) {
    Build();
    ASSERT_EQ(Make(3, 0), 1);
    ASSERT_EQ(E().m_nRefElem, 2u);
    // Model box 6 x 2 x 3 m: L = 6; plate 2 is 4 x 2 m: E = 4; max(0.35 x 4, 0.025 x 6) = 1.4.
    struct Row {
        const char* label;
        UINT ref;
        double magnitude, expected;
        int keep;
    } rows[] = {
        {"reference 12", 2, 12.0, 1.4 / 12.0, 0},
        {"reference -7", 2, -7.0, 1.4 / -7.0, 0},
        {"reference near 0 counts as 1", 2, 1e-16, 1.4, 0},
        {"unknown element", 77, 12.0, 1.0, 0},
        {"kept factor", 2, 12.0, 0.5, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        E().m_nRefElem = row.ref;
        E().m_bKeepVectorFactor = row.keep;
        E().m_dVectorFactor = 0.5;
        E().InitVectorAdjustFactor(row.magnitude);
        EXPECT_NEAR(E().m_dVectorFactor, row.expected, 1e-12);
    }
}

TEST_F(StressValuesTest, ElementAxes) {
    Build();
    const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
    struct Row {
        const char* label;
        UINT key;
        double angle;
        int unit, ok;
        double x[3], y[3], z[3];
    } rows[] = {
        {"plate along its first edge", 1, 0, 0, 1, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"turned by 30 degrees", 2, 30, 0, 1, {c, s, 0}, {-s, c, 0}, {0, 0, 1}},
        {"global axes asked for", 2, 0, 1, 1, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        // Wall 1 2 7 8: x along 1-2, normal of the diagonals (2,0,3) x (-2,0,3) = (0,-12,0).
        {"wall from its four corners", 3, 0, 0, 1, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
        {"a beam has no plate axes", 4, 0, 0, 0, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        T_PELEM_D elem;
        ASSERT_TRUE(M().GetAttrCtrl()->GetElem(row.key, elem));
        double axes[3][3];
        ASSERT_EQ(E().CalcSElemLocalVec(row.key, elem, axes, nullptr, row.angle, row.unit), row.ok);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(axes[0][k], row.x[k], 1e-12) << "x " << k;
            EXPECT_NEAR(axes[1][k], row.y[k], 1e-12) << "y " << k;
            EXPECT_NEAR(axes[2][k], row.z[k], 1e-12) << "z " << k;
        }
    }
    // A user system of x along (3,4,0) and y along z: axis 3 = x cross y.
    T_NUCS_D ucs;
    ucs.Initialize();
    ucs.dir1[0] = 3;
    ucs.dir1[1] = 4;
    ucs.dir2[2] = 2;
    double axes[3][3];
    CStressEngine::GetUCSVector(ucs, axes);
    EXPECT_NEAR(axes[0][0], 0.6, 1e-12);
    EXPECT_NEAR(axes[1][2], 1.0, 1e-12);
    EXPECT_NEAR(axes[2][0], 0.8, 1e-12);
    EXPECT_NEAR(axes[2][1], -0.6, 1e-12);
}

TEST_F(StressValuesTest, ImportCopiesSettingsDataScaleAndCuttingLines) {
    Build();
    CPVXCutLineDetDlg::m_arrSelCutLine.RemoveAll();
    CPVXCutLineDetDlg::m_arrSelCutLine.Add(1);
    E().m_bCuttingLine = 1;
    E().m_dVectorScale = 2.5;
    E().m_bContour = 0;
    E().m_nNumberPos = 1;
    ASSERT_EQ(Make(3, 2), 1);
    ASSERT_EQ(E().m_arrCutLineData.GetSize(), 1);

    CStressEngine copy(&M());
    copy.ImportEngine(&E());
    EXPECT_EQ(copy.m_bDataReady, 1);
    EXPECT_EQ(copy.m_nComponent, 3);
    EXPECT_EQ(copy.m_nSurface, 2);
    EXPECT_EQ(copy.m_dVectorScale, 2.5);
    EXPECT_EQ(copy.m_bContour, 0);
    EXPECT_EQ(copy.m_nNumberPos, 1);
    EXPECT_EQ(copy.m_nRefElem, E().m_nRefElem);
    EXPECT_EQ(copy.m_dLegendMax, 12);
    EXPECT_EQ(copy.m_dLegendMin, -40);
    EXPECT_EQ(copy.m_mapPStrs.GetCount(), 2);
    EXPECT_EQ(copy.m_mapSbem.GetCount(), 2);
    ASSERT_NE(copy.m_pContourEngine, nullptr);
    EXPECT_NE(copy.m_pContourEngine, E().m_pContourEngine) << "each engine owns its scale";
    EXPECT_EQ(copy.m_pContourEngine->m_dMinValue, -40);
    // The model's engine takes the cutting lines with the data, or it would draw none.
    EXPECT_EQ(copy.m_bCuttingLine, 1);
    ASSERT_EQ(copy.m_arrCutLine.GetSize(), 1);
    ASSERT_EQ(copy.m_arrCutLineData.GetSize(), 1);
    EXPECT_NE(copy.m_arrCutLineData[0], E().m_arrCutLineData[0]);
    EXPECT_EQ(copy.m_arrCutLineData[0]->GetSize(), 1);
    EXPECT_EQ(copy.m_arrCutLineMinMax.GetSize(), 1);

    // A source without a colour scale leaves the scale as it is.
    CStressEngine empty(&M());
    copy.ImportEngine(&empty);
    ASSERT_NE(copy.m_pContourEngine, nullptr);
    EXPECT_EQ(copy.m_mapPStrs.GetCount(), 0);
    CPVXCutLineDetDlg::m_arrSelCutLine.RemoveAll();
}

TEST_F(StressValuesTest, CuttingLinesCarryTheStresses) {
    Build();
    CPVXCutLineDetDlg::m_arrSelCutLine.RemoveAll();
    CPVXCutLineDetDlg::m_arrSelCutLine.Add(1);
    E().m_bCuttingLine = 1;
    ASSERT_EQ(Make(3, 0), 1);
    ASSERT_EQ(E().m_arrCutLineData.GetSize(), 1);
    const auto& pieces = *E().m_arrCutLineData[0];
    // Line x = 0.5 crosses plate 1 only: on edge 1-2 at (0.5, 0), 1 + (2 - 1) x 0.5 / 2 = 1.25;
    // on edge 3-4 at (0.5, 2), 1.5 m from node 3: 3 + (4 - 3) x 1.5 / 2 = 3.75.
    ASSERT_EQ(pieces.GetSize(), 1);
    EXPECT_EQ(pieces[0].nElemKey, 1u);
    EXPECT_NEAR(pieces[0].dValueA, 1.25, 1e-12);
    EXPECT_NEAR(pieces[0].dValueB, 3.75, 1e-12);
    EXPECT_NEAR(E().m_arrCutLineMinMax[0].dMax, 3.75, 1e-12);
    CPVXCutLineDetDlg::m_arrSelCutLine.RemoveAll();
}

}  // namespace
