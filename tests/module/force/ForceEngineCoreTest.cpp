// The force engine's members, their defaults and the family initialisers, the copy between
// engines, the record accessors, the frame-member tests and the display-mode dispatch.
#include <functional>
#include <string>
#include <vector>

#include "host/db/CSlabDetailDgn.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/engines/EngineCallLog.h"
#include "module/figures/CFigureDetailPages.h"
#include "tests/module/force/ForceTestSupport.h"

namespace forcetest {

namespace {

T_STRP_DL PlateRecord(double v) {
    T_STRP_DL r;
    r.Initialize();
    r.blk[0][14] = v;
    return r;
}

T_STRG_D Constant(double v) { return StationRecord(4, [v](int) { return v; }); }

}  // namespace

TEST(ForceEngineCore, NewEngineHoldsTheDefaults) {
    CFigureDetailView view;
    CFigureDetailDisplay display;
    CForceEngine e(nullptr);
    struct IntRow {
        const char* name;
        int value, expected;
    } const ints[] = {
        {"component", e.m_nBForcComp, 4},        {"position", e.m_nBForcPos, 3},
        {"strip plane", e.m_nCLDiagramPlane, 1}, {"numbers at all", e.m_bNumAtAll, 1},
        {"numbers at max", e.m_bNumAtMax, 0},    {"diagram line", e.m_bBSfdBmdLine, 1},
        {"diagram fill", e.m_bBSfdBmdFill, 1},   {"beams shown", e.m_bShowBeam, 1},
        {"columns shown", e.m_bShowColumn, 1},   {"trusses shown", e.m_bShowTruss, 1},
        {"plates of T-girders", e.m_bPlateShowTG, 1}, {"plates of walls", e.m_bPlateShowWall, 1},
        {"wall component", e.m_nWForcComp, 4},   {"wall fill", e.m_bWContourFill, 1},
        {"slab positive", e.m_bSForcPos, 1},     {"slab negative", e.m_bSForcNeg, 1},
        {"rebar top", e.m_bSRbarTop, 1},         {"rebar bottom", e.m_bSRbarBottom, 1},
        {"slab granularity", e.m_nSForcUnit, 0}, {"rebar granularity", e.m_nSRbarUnit, 0},
        {"crack granularity", e.m_nSCracUnit, 0}, {"strip widths", e.m_bCLShowWidth, 1},
        {"frame data", e.m_bBForcData, 0},       {"truss data", e.m_bTForcData, 0},
        {"plate data", e.m_bPForcData, 0},       {"wall data", e.m_bWForcData, 0},
        {"slab wall built", e.m_bSWallBuilt, 0}, {"min/max diagrams", e.m_bMinMaxDiagram, 0},
    };
    for (const IntRow& r : ints) EXPECT_EQ(r.value, r.expected) << r.name;
    // The member keys of the extremes are set before any build (an import copies them).
    EXPECT_EQ(e.m_nMaxMembKey, 0u);
    EXPECT_EQ(e.m_nMinMembKey, 0u);
    EXPECT_EQ(e.m_nTMaxMembKey, 0u);
    EXPECT_EQ(e.m_nTMinMembKey, 0u);
    EXPECT_DOUBLE_EQ(e.m_dBSfdBmdAdjustFactor, 1.0);
    EXPECT_DOUBLE_EQ(e.m_dPVectorScale, 1.0);
    EXPECT_DOUBLE_EQ(e.m_dSWallWidth, 1.0);
    for (UINT size : {e.m_mapBForc.GetHashTableSize(), e.m_mapCForcMin.GetHashTableSize(),
                      e.m_mapPForc.GetHashTableSize(), e.m_mapSForcNeg.GetHashTableSize(),
                      e.m_mapSForcMemb.GetHashTableSize(), e.m_mapWBeam.GetHashTableSize()})
        EXPECT_EQ(size, 10007u);
    EXPECT_NE(e.m_pSlabDetailDgn, nullptr);
    EXPECT_EQ(e.m_pFigureView, &view) << "the figure pages current at construction";
    EXPECT_EQ(e.m_pFigureDisplay, &display);
}

TEST(ForceEngineCore, FamilyInitialisersEmptyTheirMapsAndKeepTheirTables) {
    // A map can take a new table only while empty: the initialisers empty it first, so a second
    // call on a built engine neither keeps old entries nor loses its 10007 buckets.
    CForceEngine e(nullptr);
    CSlabDetailDgn* pDesign = e.m_pSlabDetailDgn;
    auto fill = [&] {
        e.m_mapBForc[1] = T_STRG_D{};
        e.m_mapCForc[2] = T_MBCL_D{};
        e.m_mapBSfdBmdMembValue[3] = 1.0;
        e.m_mapWBeam[4] = T_PVX_WBEAM_D{};
        e.m_mapPForc[5] = PlateRecord(1.0);
        e.m_mapSForc[6] = PlateRecord(2.0);
        e.m_mapSForcMemb[7] = 7;
        e.m_nBForcComp = 1;
        e.m_nPForcComp = 3;
        e.m_nWForcComp = 2;
        e.m_nSForcComp = 5;
    };
    struct Row {
        const char* family;
        void (CForceEngine::*init)();
        std::vector<INT_PTR> counts;  // frame, column, member value, wall beam, plate, slab, slab member
    } const rows[] = {
        {"beams", &CForceEngine::InitBeamData, {0, 0, 0, 0, 1, 1, 1}},
        {"plates", &CForceEngine::InitPlatData, {1, 1, 1, 1, 0, 1, 1}},
        {"walls", &CForceEngine::InitWallData, {1, 1, 1, 1, 1, 1, 1}},
        {"slabs", &CForceEngine::InitSlabData, {1, 1, 1, 1, 1, 0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.family);
        e.InitBeamData();
        e.InitPlatData();
        e.InitSlabData();
        fill();
        (e.*r.init)();
        const std::vector<INT_PTR> counts = {e.m_mapBForc.GetCount(), e.m_mapCForc.GetCount(),
                                             e.m_mapBSfdBmdMembValue.GetCount(), e.m_mapWBeam.GetCount(),
                                             e.m_mapPForc.GetCount(), e.m_mapSForc.GetCount(),
                                             e.m_mapSForcMemb.GetCount()};
        EXPECT_EQ(counts, r.counts);
        EXPECT_EQ(e.m_mapBForc.GetHashTableSize(), 10007u);
        EXPECT_EQ(e.m_mapPForc.GetHashTableSize(), 10007u);
        EXPECT_EQ(e.m_mapSForc.GetHashTableSize(), 10007u);
        EXPECT_EQ(e.m_nBForcComp, r.init == &CForceEngine::InitBeamData ? 4 : 1);
        EXPECT_EQ(e.m_nPForcComp, r.init == &CForceEngine::InitPlatData ? 0 : 3);
        EXPECT_EQ(e.m_nWForcComp, r.init == &CForceEngine::InitWallData ? 4 : 2);
        EXPECT_EQ(e.m_nSForcComp, r.init == &CForceEngine::InitSlabData ? 0 : 5);
        EXPECT_EQ(e.m_pSlabDetailDgn, pDesign) << "one design object for the engine's life";
    }
}

TEST(ForceEngineCore, ImportMakesTheEngineShowWhatTheSourceShows) {
    I_PVXModel model;
    CForceEngine src(&model);
    src.m_nBForcComp = 7;
    src.m_bBForcData = 1;
    src.m_nMaxMembKey = 11;
    src.m_dLegendMax = 12.5;
    src.m_dLegendMin = -3.0;
    src.m_bDeformed = 1;
    src.m_nPForcComp = 9;
    src.m_nWForcComp = 2;
    src.m_nSForcUnit = 1;
    src.m_arrMembKey.Add(11);
    src.m_mapBForc[11] = Constant(1.0);
    src.m_mapCForc[21] = T_MBCL_D{};
    src.m_mapPForc[31] = PlateRecord(3.0);
    src.m_mapSForc[41] = PlateRecord(4.0);
    src.m_mapSForcMemb[51] = 1;
    src.m_mapTForc[61] = T_MBBR_D{};
    src.m_mapSSFR[71] = 0.5;
    T_STRIP_INFO strip{"S1", 2.0, 0, 0, 6, 0};
    src.m_arrStripInfo.Add(strip);
    T_PVX_CLFC_D cl;
    src.m_arrCLForc.Add(cl);
    src.m_pSlabDetailDgn->m_arrLcomKey.Add(104);
    T_SFDBMD_OUTVAL_D out;
    src.m_arrBSfdBmdOutVal.Add(out);
    src.m_mapBSfdBmdMembValue[11] = 2.0;
    src.m_dBForcMax = 99.0;
    src.m_pContourEngine = new CContourEngine(-3.0, 12.5);
    T_PVX_CUTL_D line{};
    src.m_arrCutLine.Add(line);
    auto* pieces = new CArray<T_CUTLINE_D, const T_CUTLINE_D&>;
    pieces->Add(T_CUTLINE_D{});
    src.m_arrCutLineData.Add(pieces);

    CForceEngine dst(nullptr);
    // Entries of an earlier build of the destination, of keys the source lacks.
    dst.m_mapBForc[99] = Constant(9.0);
    dst.m_mapPForc[98] = PlateRecord(9.0);
    dst.m_mapSForc[97] = PlateRecord(9.0);
    dst.m_mapSForcMemb[96] = 1;
    dst.m_dBForcMax = -1.0;
    dst.ImportEngine(&src);

    EXPECT_EQ(dst.m_pModel, &model) << "the model is taken when the destination has none";
    EXPECT_EQ(dst.m_nBForcComp, 7);
    EXPECT_EQ(dst.m_bBForcData, 1);
    EXPECT_EQ(dst.m_nMaxMembKey, 11u);
    EXPECT_DOUBLE_EQ(dst.m_dLegendMax, 12.5);
    EXPECT_EQ(dst.m_bDeformed, 1);
    EXPECT_EQ(dst.m_nPForcComp, 9);
    EXPECT_EQ(dst.m_nWForcComp, 2);
    EXPECT_EQ(dst.m_nSForcUnit, 1);
    struct MapRow {
        const char* map;
        INT_PTR count;
        bool hasNew, hasOld;
    } const maps[] = {
        {"beam forces", dst.m_mapBForc.GetCount(), dst.m_mapBForc.PLookup(11) != nullptr, dst.m_mapBForc.PLookup(99) != nullptr},
        {"plate forces", dst.m_mapPForc.GetCount(), dst.m_mapPForc.PLookup(31) != nullptr, dst.m_mapPForc.PLookup(98) != nullptr},
        {"slab forces", dst.m_mapSForc.GetCount(), dst.m_mapSForc.PLookup(41) != nullptr, dst.m_mapSForc.PLookup(97) != nullptr},
        {"slab members", dst.m_mapSForcMemb.GetCount(), dst.GetSlabForceMemb(51, 0) != 0, dst.GetSlabForceMemb(96, 0) != 0},
    };
    // Every map shows the source's entries only: plate and slab entries of an earlier load are
    // not kept beside the new ones.
    for (const MapRow& r : maps) {
        SCOPED_TRACE(r.map);
        EXPECT_EQ(r.count, 1);
        EXPECT_TRUE(r.hasNew);
        EXPECT_FALSE(r.hasOld);
    }
    EXPECT_EQ(dst.m_mapCForc.GetCount(), 1);
    EXPECT_EQ(dst.m_mapTForc.GetCount(), 1);
    EXPECT_EQ(dst.m_mapSSFR.GetCount(), 1);
    ASSERT_EQ(dst.m_arrStripInfo.GetSize(), 1);
    EXPECT_EQ(dst.m_arrStripInfo[0].strName, CString("S1"));
    EXPECT_EQ(dst.m_arrCLForc.GetSize(), 1);
    ASSERT_EQ(dst.m_pSlabDetailDgn->m_arrLcomKey.GetSize(), 1);
    EXPECT_NE(dst.m_pSlabDetailDgn, src.m_pSlabDetailDgn);
    // Not copied: diagram outputs, member values and the extremes of a build.
    EXPECT_EQ(dst.m_arrBSfdBmdOutVal.GetSize(), 0);
    EXPECT_EQ(dst.m_mapBSfdBmdMembValue.GetCount(), 0);
    EXPECT_DOUBLE_EQ(dst.m_dBForcMax, -1.0);
    // The colour scale and the cutting-line pieces are the destination's own copies.
    ASSERT_NE(dst.m_pContourEngine, nullptr);
    EXPECT_NE(dst.m_pContourEngine, src.m_pContourEngine);
    EXPECT_DOUBLE_EQ(dst.m_pContourEngine->m_dMaxValue, 12.5);
    ASSERT_EQ(dst.m_arrCutLineData.GetSize(), 1);
    EXPECT_NE(dst.m_arrCutLineData[0], src.m_arrCutLineData[0]);
    EXPECT_EQ(dst.m_arrCutLineData[0]->GetSize(), 1);

    // The source is left as it was, and later changes to it do not reach the copy.
    EXPECT_EQ(src.m_mapBForc.GetCount(), 1);
    src.m_mapBForc.RemoveAll();
    src.m_pSlabDetailDgn->m_arrLcomKey.RemoveAll();
    EXPECT_EQ(dst.m_mapBForc.GetCount(), 1);
    EXPECT_EQ(dst.m_pSlabDetailDgn->m_arrLcomKey.GetSize(), 1);

    // A source without a colour scale leaves the destination's scale; a null source changes
    // nothing; the model pointer is kept once set.
    CContourEngine* pScale = dst.m_pContourEngine;
    CForceEngine bare(nullptr);
    I_PVXModel other;
    dst.m_pModel = &other;
    bare.m_pModel = &model;
    dst.ImportEngine(&bare);
    EXPECT_EQ(dst.m_pContourEngine, pScale);
    EXPECT_EQ(dst.m_pModel, &other);
    EXPECT_EQ(dst.m_nBForcComp, 4) << "the bare source's settings";
    EXPECT_EQ(dst.m_nMaxMembKey, 0u) << "a source that never built has no extreme members";
    dst.m_nBForcComp = 6;
    dst.ImportEngine(static_cast<CForceEngine*>(nullptr));
    EXPECT_EQ(dst.m_nBForcComp, 6);
}

TEST(ForceEngineCore, ImportBackThroughASecondEngineKeepsTheFrameMaps) {
    CForceEngine a(nullptr), b(nullptr);
    for (UINT k : {3u, 17u, 40000u}) {
        a.m_arrMembKey.Add(k);
        a.m_mapBForc[k] = Constant(k);
    }
    b.ImportEngine(&a);
    a.ImportEngine(&b);
    ASSERT_EQ(a.m_mapBForc.GetCount(), 3);
    for (UINT k : {3u, 17u, 40000u}) {
        T_STRG_D r;
        ASSERT_TRUE(a.GetBeamForce(k, r));
        EXPECT_DOUBLE_EQ(r.d[4], k);
    }
    EXPECT_EQ(a.m_arrMembKey.GetSize(), 3);
}

TEST(ForceEngineCore, AccessorsCopyPresentRecordsAndLeaveOthersAlone) {
    CForceEngine e(nullptr);
    e.m_mapBForc[1] = Constant(1.0);
    e.m_mapBForcMin[1] = Constant(-1.0);
    T_MBCL_D col;
    col.Initialize();
    col.d[2][5] = 7.0;
    e.m_mapCForc[2] = col;
    e.m_mapCForcMin[2] = col;
    T_MBBR_D truss;
    truss.Initialize();
    truss.d[1][0] = 3.0;
    e.m_mapTForc[3] = truss;
    e.m_mapPForc[4] = PlateRecord(4.0);
    e.m_mapWBeamForc[5] = Constant(5.0);
    e.m_mapWColmForc[6] = col;
    T_PVX_WBEAM_D wb;
    wb.nKey = 5;
    wb.Pnt[2] = C3DPoint(1, 2, 3);
    e.m_mapWBeam[5] = wb;
    T_PVX_WCOLM_D wc;
    wc.nKey = 6;
    wc.dMax = 8.0;
    e.m_mapWColm[6] = wc;
    e.m_mapSForc[7] = PlateRecord(7.0);
    e.m_mapSForcPos[8] = PlateRecord(8.0);
    e.m_mapSForcNeg[9] = PlateRecord(9.0);
    e.m_mapSForcMemb[10] = 0;

    const double kUntouched = -123.0;
    T_STRG_D g;
    T_MBCL_D c;
    T_MBBR_D t;
    T_STRP_DL p;
    T_PVX_WBEAM_D b;
    T_PVX_WCOLM_D w;
    auto reset = [&] {
        g.d[4] = c.d[2][5] = t.d[1][0] = p.blk[0][14] = b.Pnt[2].y = w.dMax = kUntouched;
    };
    struct Row {
        const char* accessor;
        std::function<int(UINT)> get;
        std::function<double()> value;
        UINT key;
        double expected;
    } const rows[] = {
        {"beam", [&](UINT k) { return e.GetBeamForce(k, g); }, [&] { return g.d[4]; }, 1, 1.0},
        {"beam min", [&](UINT k) { return e.GetBeamForceMin(k, g); }, [&] { return g.d[4]; }, 1, -1.0},
        {"column", [&](UINT k) { return e.GetColmForce(k, c); }, [&] { return c.d[2][5]; }, 2, 7.0},
        {"column min", [&](UINT k) { return e.GetColmForceMin(k, c); }, [&] { return c.d[2][5]; }, 2, 7.0},
        {"truss", [&](UINT k) { return e.GetTrussForce(k, t); }, [&] { return t.d[1][0]; }, 3, 3.0},
        {"plate", [&](UINT k) { return e.GetPlateForce(k, p); }, [&] { return p.blk[0][14]; }, 4, 4.0},
        {"wall beam forces", [&](UINT k) { return e.GetWallDataB(k, g); }, [&] { return g.d[4]; }, 5, 5.0},
        {"wall column forces", [&](UINT k) { return e.GetWallDataC(k, c); }, [&] { return c.d[2][5]; }, 6, 7.0},
        {"wall beam record", [&](UINT k) { return e.GetWallDataB(k, b); }, [&] { return b.Pnt[2].y; }, 5, 2.0},
        {"wall column record", [&](UINT k) { return e.GetWallDataC(k, w); }, [&] { return w.dMax; }, 6, 8.0},
        {"slab", [&](UINT k) { return e.GetSlabForce(k, p); }, [&] { return p.blk[0][14]; }, 7, 7.0},
        {"slab positive", [&](UINT k) { return e.GetSlabForcePos(k, p); }, [&] { return p.blk[0][14]; }, 8, 8.0},
        {"slab negative", [&](UINT k) { return e.GetSlabForceNeg(k, p); }, [&] { return p.blk[0][14]; }, 9, 9.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.accessor);
        reset();
        EXPECT_EQ(r.get(r.key), 1);
        EXPECT_DOUBLE_EQ(r.value(), r.expected);
        reset();
        EXPECT_EQ(r.get(r.key + 100), 0);
        EXPECT_DOUBLE_EQ(r.value(), kUntouched) << "an absent key leaves the output as it was";
    }
    for (UINT second : {0u, 10u, 12345u}) EXPECT_EQ(e.GetSlabForceMemb(10, second), 1);
    EXPECT_EQ(e.GetSlabForceMemb(11, 10), 0);
}

TEST(ForceEngineCore, FrameMemberTests) {
    struct Row {
        int type;
        int possible;
    } const membs[] = {{201, 1}, {205, 1}, {204, 1}, {101, 0}, {200, 0}, {206, 0}, {209, 0}, {301, 0}};
    for (const Row& r : membs) {
        T_PMEMB_D m;
        m.type = r.type;
        EXPECT_EQ(CForceEngine::IsPossibleBForc(m), r.possible) << "member type " << r.type;
    }
    const Row elems[] = {{PELEM_KIND_FRAME, 1}, {PELEM_KIND_TRUSS, 0}, {PELEM_KIND_PLATE, 0}, {PELEM_KIND_WALL, 0}};
    for (const Row& r : elems) {
        T_PELEM_D el;
        el.Initialize();
        el.kind = r.type;
        EXPECT_EQ(CForceEngine::IsPossibleBForc(el), r.possible) << "element kind " << r.type;
    }
}

TEST(ForceEngineCore, ColumnRecordInThreeSegments) {
    // Host blocks 1 (i end), 2 (j end), 3 and 4 (inner stations): segments i-3, 3-4, 4-j.
    T_MBCL_D src;
    for (int b = 0; b < 4; ++b)
        for (int c = 0; c < 6; ++c) src.d[b][c] = b + 1.0;
    T_PVX_MBCL_D seg;
    seg.ConvertFromMbcl(src);
    const double expected[6] = {1, 3, 3, 4, 4, 2};
    for (int b = 0; b < 6; ++b)
        for (int c = 0; c < 6; ++c) EXPECT_DOUBLE_EQ(seg.d[b][c], expected[b]) << "block " << b << " component " << c;
    T_PVX_MBCL_D copy;
    copy = seg;
    EXPECT_DOUBLE_EQ(copy.d[5][3], 2.0);
    copy.Initialize();
    EXPECT_DOUBLE_EQ(copy.d[1][0], 0.0);
}

// ---- dispatch on the project ------------------------------------------------------------------

class ForceDispatchTest : public ForceProjectTest {
protected:
    std::vector<std::string> Build(CForceEngine& e, int mode) {
        EngineCallLog::Enable(true);
        e.InitEngine(nullptr, mode);
        std::vector<std::string> calls = EngineCallLog::Calls();
        EngineCallLog::Enable(false);
        return calls;
    }
};

TEST_F(ForceDispatchTest, ModeMinusOneIsTheBarsMode) {
    CForceEngine byMode(&M()), byBars(&M());
    Build(byMode, 6);
    CPVXBarContainerBase::m_nCurrentMode = 6;
    Build(byBars, -1);
    ASSERT_EQ(byMode.m_bBForcData, 1);
    EXPECT_EQ(byBars.m_bBForcData, 1);
    ASSERT_EQ(byBars.m_arrMembKey.GetSize(), byMode.m_arrMembKey.GetSize());
    for (INT_PTR i = 0; i < byMode.m_arrMembKey.GetSize(); ++i) EXPECT_EQ(byBars.m_arrMembKey[i], byMode.m_arrMembKey[i]);
    EXPECT_DOUBLE_EQ(byBars.m_dLegendMax, byMode.m_dLegendMax);
    EXPECT_DOUBLE_EQ(byBars.m_dLegendMin, byMode.m_dLegendMin);
}

TEST_F(ForceDispatchTest, BuildersByModeAndGranularity) {
    struct Row {
        const char* label;
        int mode;
        int unit;  // slab, rebar and crack granularity
        UINT loadType;
        std::vector<std::string> calls;
    };
    const std::string F = "CForceEngine::";
    const Row rows[] = {
        {"below the force modes", 4, 0, 1, {}},
        {"above them", 40, 0, 1, {}},
        // The frame contour and diagram read the trusses too, before the legend is set.
        {"frame contour", 6, 0, 1, {F + "MakeBForcDataList", F + "MakeTForcDataList", F + "FinishMakeBForcData"}},
        {"figure moments", 38, 0, 1, {F + "MakeBForcDataList", F + "FinishMakeBForcData"}},
        {"walls, static case", 8, 0, 1, {F + "MakeWForcDataList"}},
        {"walls, combination type 10", 8, 0, 10, {F + "MakeDgnWForcDataList"}},
        {"slab per member", 16, 0, 1, {F + "MakeSForcDataListMemb"}},
        {"slab per element", 16, 1, 1, {F + "MakeSForcDataList"}},
        {"slab, granularity 2", 16, 2, 1, {}},
        {"rebar, granularity 2", 17, 2, 1, {}},
        {"crack per element", 18, 1, 1, {F + "MakeSCracDataList"}},
        {"strips", 21, 0, 1, {F + "MakeSStripDataList", F + "FinishMakeCLForcData"}},
        // No rib beams in the project: no record, and the finish gives the empty legend range.
        {"slab beams per element", 22, 1, 1, {F + "MakeSBForcDataList", F + "FinishMakeCLForcData"}},
        {"slab beams per member", 22, 0, 1, {F + "MakeSBForcDataListMemb"}},
        {"figure columns", 32, 0, 1, {F + "MakeCForcDataList4Figure"}},
        {"no builder", 11, 0, 1, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CForceEngine e(&M());
        e.m_nSForcUnit = e.m_nSRbarUnit = e.m_nSCracUnit = r.unit;
        e.m_bBForcData = e.m_bPForcData = e.m_bSForcData = e.m_bCLForcData = 1;  // flags of an earlier build
        M().m_nLoadType = r.loadType;
        M().m_nLoadKey = r.loadType == 1 ? kDL : kEnv;
        EXPECT_EQ(Build(e, r.mode), r.calls);
        EXPECT_EQ(e.m_bPForcData + e.m_bSForcData + e.m_bCLForcData, 0) << "every flag cleared first";
        EXPECT_EQ(e.m_bBForcData, r.mode == 6 || r.mode == 38 ? 1 : 0);
    }
}

}  // namespace forcetest
