// The frame force lists of the frame display modes and the value pickers: components, positions,
// member and model extremes, the station nearest to a point, the diagram scale, the list builder
// on a small project, the legend range and its check against the sample project's database.
#include <sqlite3.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tests/module/force/ForceTestSupport.h"

namespace forcetest {

namespace {

// A beam record whose block b holds value b (component c) plus the given extra.
T_STRG_D Blocks(int c, double scale = 1.0) {
    T_STRG_D r;
    r.Initialize();
    for (int b = 0; b < 16; ++b) r.d[6 * b + c] = scale * b;
    return r;
}

}  // namespace

TEST(FramePickers, ComponentsOfABeamBlock) {
    // One block (segment 2, end 1 = block 5) with shear y, shear z, moment y and moment z chosen
    // per row; selectors 6 and 7 take the larger magnitude, the second component on a tie.
    struct Row {
        const char* label;
        double vy, vz, my, mz;
        int comp;
        double expected;
    } const rows[] = {
        {"shear y", -5, 5, 0, 0, 1, -5},
        {"shear yz, tie", -5, 5, 0, 0, 6, 5},
        {"shear yz, y larger", -6, 5, 0, 0, 6, -6},
        {"moment yz, tie", 0, 0, 3, -3, 7, -3},
        {"moment yz, y larger", 0, 0, -7, 3, 7, -7},
        {"moment z", 0, 0, -7, 3, 5, 3},
        {"not a selector", -5, 5, 3, 3, 8, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_STRG_D rec;
        rec.Initialize();
        const int b = 2 * 2 + 1;
        rec.d[6 * b + 1] = r.vy;
        rec.d[6 * b + 2] = r.vz;
        rec.d[6 * b + 4] = r.my;
        rec.d[6 * b + 5] = r.mz;
        EXPECT_DOUBLE_EQ(CForceEngine::CalcBForcValue(rec, r.comp, 2, 1), r.expected);
        EXPECT_DOUBLE_EQ(CForceEngine::CalcBForcValue(rec, r.comp, 8, 0), 0.0) << "no ninth segment";
        CForceEngine e(nullptr);
        e.m_nBForcComp = r.comp;
        EXPECT_DOUBLE_EQ(e.CalcBForcValue(rec, 2, 1), r.expected) << "the engine's selector";
    }
}

TEST(FramePickers, ValuesByPosition) {
    CForceEngine e(nullptr);
    e.m_nBForcComp = 4;
    // Moment y at block b is b: i end block 0, j end block 15, mid-span block 7 (end of
    // segment 3). Member maximum 15, minimum 0: the extreme is the maximum.
    T_STRG_D rec = Blocks(4);
    struct Row {
        int pos;
        double expected;
    } const rows[] = {{0, 0.0}, {1, 15.0}, {2, 7.0}, {3, 15.0}, {4, 0.0}, {-1, 0.0}};
    for (const Row& r : rows) EXPECT_DOUBLE_EQ(e.CalcBForcValue(rec, r.pos), r.expected) << "position " << r.pos;
    // Maximum 4, minimum -4: the maximum; minimum -4.5: the minimum.
    T_STRG_D sym;
    sym.Initialize();
    sym.d[4] = 4.0;
    sym.d[6 * 9 + 4] = -4.0;
    EXPECT_DOUBLE_EQ(e.CalcBForcValue(sym, 3), 4.0);
    sym.d[6 * 9 + 4] = -4.5;
    EXPECT_DOUBLE_EQ(e.CalcBForcValue(sym, 3), -4.5);

    // Columns: block 2 = 3, block 3 = -3 gives -3 at the middle (block 3 on a tie).
    T_MBCL_D col;
    col.Initialize();
    col.d[0][4] = 1.0;
    col.d[1][4] = -2.0;
    col.d[2][4] = 3.0;
    col.d[3][4] = -3.0;
    const Row colRows[] = {{0, 1.0}, {1, -2.0}, {2, -3.0}, {3, 3.0}, {7, 0.0}};
    for (const Row& r : colRows) EXPECT_DOUBLE_EQ(e.CalcCForcValue(col, r.pos), r.expected) << "column position " << r.pos;
    col.d[3][4] = -3.5;
    EXPECT_DOUBLE_EQ(e.CalcCForcValue(col, 3), -3.5) << "the minimum when larger";
}

TEST(FramePickers, MemberExtremesOverAllBlocks) {
    CForceEngine e(nullptr);
    T_STRG_D rec;
    rec.Initialize();
    rec.d[6 * 3 + 1] = -9.0;   // shear y, block 3
    rec.d[6 * 12 + 2] = 7.0;   // shear z, block 12
    rec.d[6 * 15 + 4] = 11.0;  // moment y, block 15
    rec.d[6 * 0 + 5] = -13.0;  // moment z, block 0
    struct Row {
        int comp;
        double max, min;
    } const rows[] = {{1, 0.0, -9.0}, {2, 7.0, 0.0}, {6, 7.0, -9.0}, {7, 11.0, -13.0}, {4, 11.0, 0.0}};
    for (const Row& r : rows) {
        e.m_nBForcComp = r.comp;
        EXPECT_DOUBLE_EQ(e.GetMaxMembBForc(rec), r.max) << "component " << r.comp;
        EXPECT_DOUBLE_EQ(e.GetMinMembBForc(rec), r.min) << "component " << r.comp;
    }
    // Running extremes: ties keep the member seen first.
    e.m_nBForcComp = 4;
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    e.MinMaxMembBForc(5, rec, dMax, dMin);
    e.MinMaxMembBForc(6, rec, dMax, dMin);
    EXPECT_DOUBLE_EQ(dMax, 11.0);
    EXPECT_EQ(e.m_nMaxMembKey, 5u);
    EXPECT_EQ(e.m_nMinMembKey, 5u);
    rec.d[6 * 7 + 4] = -1.0;
    e.MinMaxMembBForc(7, rec, dMax, dMin);
    EXPECT_EQ(e.m_nMinMembKey, 7u);
    EXPECT_EQ(e.m_nMaxMembKey, 5u);
}

TEST(FramePickers, StationNearestToAPoint) {
    CForceEngine e(nullptr);
    e.m_nBForcComp = 4;
    T_STRG_D rec = Blocks(4);  // segment s start 2 s, end 2 s + 1
    struct Row {
        const char* label;
        C3DPoint i, j, p;
        double expected;
    } const rows[] = {
        // Along x over 8 m: 3/16 of the length is half-way through segment 1: (2 + 3) / 2.
        {"inside segment 1", {0, 0, 0}, {8, 0, 0}, {1.5, 0, 0}, 2.5},
        {"on station 1", {0, 0, 0}, {8, 0, 0}, {1, 0, 0}, 2.0},
        {"on the i end", {0, 0, 0}, {8, 0, 0}, {0, 0, 0}, 0.0},
        {"on the j end", {0, 0, 0}, {8, 0, 0}, {8, 0, 0}, 15.0},
        {"just short of j", {0, 0, 0}, {8, 0, 0}, {8 - 1e-13, 0, 0}, 15.0},
        // On a long member a point 5e-10 short of j is past the tolerance in distance but within
        // it as a fraction of the last segment: still the j end, not a ninth segment.
        {"a hair short of j, long member", {0, 0, 0}, {80, 0, 0}, {80 - 5e-10, 0, 0}, 15.0},
        {"height ignored", {0, 0, 0}, {8, 0, 0}, {1.5, 0, 5}, 2.5},
        // A member vertical in plan is measured along its own axis.
        {"vertical, inside segment 1", {0, 0, 0}, {0, 0, 8}, {0, 0, 1.5}, 2.5},
        {"vertical, at mid-height", {0, 0, 0}, {0, 0, 8}, {0, 0, 4}, 8.0},
    };
    for (const Row& r : rows) {
        const double v = e.CalcPart4NearValue(rec, r.p, r.i, r.j);
        EXPECT_TRUE(std::isfinite(v)) << r.label;
        EXPECT_NEAR(v, r.expected, 1e-9) << r.label;
    }
}

// ---- on the project -------------------------------------------------------------------------

class FrameListTest : public ForceProjectTest {
protected:
    void Build(CForceEngine& e, int mode = 6) { e.InitEngine(nullptr, mode); }
    std::vector<UINT> Keys(const CForceEngine& e) {
        std::vector<UINT> keys;
        for (INT_PTR i = 0; i < e.m_arrMembKey.GetSize(); ++i) keys.push_back(e.m_arrMembKey[i]);
        return keys;
    }
    double Station(const CMap<UINT, UINT, T_STRG_D, T_STRG_D&>& map, UINT key, int k) {
        T_STRG_D r;
        if (!map.Lookup(key, r)) return NAN;
        return k < 8 ? r.d[12 * k + 4] : r.d[12 * 7 + 6 + 4];
    }
};

TEST_F(FrameListTest, BeamsAndGirdersOfTheLoadAreRead) {
    CForceEngine e(&M());
    Build(e);
    ASSERT_EQ(e.m_bBForcData, 1);
    // Beams, the roof beam, the girder and the two-element beam in the model's member order;
    // the column goes to the column list, and the beam without results is left out without
    // ending the build.
    EXPECT_EQ(Keys(e), (std::vector<UINT>{kBeam, kRoofBeam, kGirder, kTwoElem}));
    for (int k = 0; k <= 8; ++k) {
        EXPECT_DOUBLE_EQ(Station(e.m_mapBForc, kBeam, k), BeamDL(k)) << "station " << k;
        EXPECT_DOUBLE_EQ(Station(e.m_mapBForc, kGirder, k), GirderDL(k)) << "girder station " << k;
    }
    EXPECT_EQ(e.m_arrColmKey.GetSize(), 1) << "the column";
    // Extremes of moment y: the beam's -40 and +40.
    EXPECT_DOUBLE_EQ(e.m_dBForcMax, 40.0);
    EXPECT_DOUBLE_EQ(e.m_dBForcMin, -40.0);
    EXPECT_EQ(e.m_nMaxMembKey, kBeam);
    EXPECT_EQ(e.m_nMinMembKey, kBeam);
}

TEST_F(FrameListTest, RecordSlotFollowsTheLoadResultKind) {
    // Envelope of DL (m) and LL (-m/2), station 0 of the beam: DL -40, LL 20; station 8: DL 40,
    // LL -20. Maximum side 20 and 40, minimum side -40 and -20, larger magnitude -40 and 40.
    struct Row {
        const char* label;
        int step, mode, minmax;
        double st0, st8;         // force map
        bool bMin;               // a minimum-force map is kept
        double min0, min8;       // minimum-force map
    } const rows[] = {
        {"value/maximum", 0, 6, 0, 20, 40, false, 0, 0},
        {"maximum", 1, 6, 0, 20, 40, false, 0, 0},
        {"minimum", 2, 6, 0, -40, -20, false, 0, 0},
        {"all, contour", 3, 6, 1, -40, 40, false, 0, 0},
        {"all, diagram without min/max", 3, 7, 0, -40, 40, false, 0, 0},
        {"all, diagram with min/max", 3, 7, 1, 20, 40, true, -40, -20},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        SelectLoad(12, kEnv, r.step);
        CForceEngine e(&M());
        e.m_bMinMaxDiagram = r.minmax;
        Build(e, r.mode);
        EXPECT_DOUBLE_EQ(Station(e.m_mapBForc, kBeam, 0), r.st0);
        EXPECT_DOUBLE_EQ(Station(e.m_mapBForc, kBeam, 8), r.st8);
        EXPECT_EQ(e.m_mapBForcMin.GetCount() > 0, r.bMin);
        if (r.bMin) {
            EXPECT_DOUBLE_EQ(Station(e.m_mapBForcMin, kBeam, 0), r.min0);
            EXPECT_DOUBLE_EQ(Station(e.m_mapBForcMin, kBeam, 8), r.min8);
            // Both sides count for the extremes.
            EXPECT_DOUBLE_EQ(e.m_dBForcMin, -40.0);
        }
        EXPECT_EQ(e.IsMinMaxDiagram(), r.step == 3 && r.minmax ? 1 : 0);
    }
}

TEST_F(FrameListTest, NothingToReadIsNotReportedAsBuilt) {
    // No load selected: nothing read, the extremes untouched.
    {
        CForceEngine e(&M());
        M().m_bResultDataReady = 0;
        e.m_dBForcMax = 123.0;
        EXPECT_EQ(e.MakeBForcDataList(), 0);
        EXPECT_DOUBLE_EQ(e.m_dBForcMax, 123.0);
        EXPECT_EQ(e.m_bBForcData, 0);
    }
    // Beams and columns switched off: no member stored, extremes and legend keys 0, 0 returned.
    {
        SelectLoad(1, kDL, 0);
        CForceEngine e(&M());
        e.m_bShowBeam = e.m_bShowColumn = 0;
        M().m_nMaxKey = M().m_nMinKey = 77;
        EXPECT_EQ(e.MakeBForcDataList(), 0);
        EXPECT_EQ(e.m_bBForcData, 0);
        EXPECT_DOUBLE_EQ(e.m_dBForcMax, 0.0);
        EXPECT_DOUBLE_EQ(e.m_dBForcMin, 0.0);
        EXPECT_EQ(M().m_nMaxKey, 0u);
        EXPECT_EQ(M().m_nMinKey, 0u);
    }
}

TEST_F(FrameListTest, LegendRangeKeysAndScaleFromTheExtremes) {
    CForceEngine e(&M());
    Build(e);
    EXPECT_DOUBLE_EQ(e.m_dLegendMax, 40.0);
    EXPECT_DOUBLE_EQ(e.m_dLegendMin, -40.0);
    EXPECT_EQ(M().m_nMaxKey, kBeam);
    EXPECT_EQ(M().m_nMinKey, kBeam);
    ASSERT_NE(e.m_pContourEngine, nullptr);
    EXPECT_DOUBLE_EQ(e.m_pContourEngine->m_dMinValue, -40.0);
    EXPECT_DOUBLE_EQ(e.m_pContourEngine->m_dMaxValue, 40.0);
    // Every member weighs 1 in the percent map: four beams and the column.
    EXPECT_NEAR(e.m_pContourEngine->m_dPctTotal, 5.0, 1e-9);
    // Diagram scale: the project's nodes span 8 x 10 x 3 m; 10 / (20 x 40).
    EXPECT_DOUBLE_EQ(e.m_dBSfdBmdAdjustFactor, 10.0 / 800.0);

    // Without a load selection the legend is empty, not the limits of double.
    CForceEngine none(&M());
    M().m_bLoadSelected = 0;
    Build(none);
    EXPECT_DOUBLE_EQ(none.m_dLegendMax, 0.0);
    EXPECT_DOUBLE_EQ(none.m_dLegendMin, 0.0);
    ASSERT_NE(none.m_pContourEngine, nullptr);
    EXPECT_TRUE(std::isfinite(none.m_pContourEngine->m_dMaxValue));
}

TEST_F(FrameListTest, TrussExtremesWinOnlyWhenLarger) {
    struct Row {
        const char* label;
        int truss;
        double tMax, tMin;
        double max, min;
        UINT maxKey, minKey;
    } const rows[] = {
        {"no trusses", 0, 90, -90, 40, -40, kBeam, kBeam},
        {"larger trusses", 1, 90, -90, 90, -90, 801, 802},
        {"tie keeps the frame", 1, 40, -40, 40, -40, kBeam, kBeam},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CForceEngine e(&M());
        e.InitEngine(nullptr, 6);
        e.m_bTForcData = r.truss;
        e.m_dTForcMax = r.tMax;
        e.m_dTForcMin = r.tMin;
        e.m_nTMaxMembKey = 801;
        e.m_nTMinMembKey = 802;
        e.FinishMakeBForcData();
        EXPECT_DOUBLE_EQ(e.m_dLegendMax, r.max);
        EXPECT_DOUBLE_EQ(e.m_dLegendMin, r.min);
        EXPECT_EQ(M().m_nMaxKey, r.maxKey);
        EXPECT_EQ(M().m_nMinKey, r.minKey);
    }
}

// The colour scale's percent map of the beams, taken as the build reads the records, is what
// the records give: finished a second time, imported into another engine (whose own lists,
// of another load, it replaces), after the component changed without a new build.
TEST_F(FrameListTest, PercentMapIsTheSameHoweverTheListsCame) {
    auto percents = [](const CForceEngine& e) {
        const CContourEngine& s = *e.m_pContourEngine;
        std::vector<double> p(s.m_dPctRankMap, s.m_dPctRankMap + CContourEngine::MAX_LEVELS);
        p.push_back(s.m_dPctTotal);
        return p;
    };
    enum Way { kFinishedAgain, kImported, kComponentChanged };
    for (Way way : {kFinishedAgain, kImported, kComponentChanged}) {
        SCOPED_TRACE(testing::Message() << "way " << way);
        CForceEngine fresh(&M()), e(&M()), other(&M());
        fresh.m_nBForcComp = way == kComponentChanged ? 2 : 4;
        Build(fresh);
        e.m_nBForcComp = 4;
        Build(e);
        CForceEngine* finished = &e;
        if (way == kImported) {
            other.m_nBForcComp = 4;
            SelectLoad(12, kEnv, 2);
            Build(other);
            SelectLoad(1, kDL, 0);
            other.ImportEngine(&e);
            finished = &other;
        }
        finished->m_nBForcComp = fresh.m_nBForcComp;
        finished->m_dBForcMax = fresh.m_dBForcMax;  // the extremes are not imported
        finished->m_dBForcMin = fresh.m_dBForcMin;
        finished->FinishMakeBForcData();
        ASSERT_NE(fresh.m_pContourEngine, nullptr);
        EXPECT_EQ(percents(*finished), percents(fresh));
    }
}

TEST_F(FrameListTest, DiagramScaleFromTheModelExtent) {
    // The project's nodes span x 0..8, y -2..8, z 0..3: the largest extent is 10 m.
    CForceEngine e(&M());
    struct Row {
        double value, expected;
    } const rows[] = {{0.0, 10.0 / 20.0}, {1e-16, 10.0 / 20.0}, {-2.0, 10.0 / 40.0}, {5.0, 10.0 / 100.0}};
    for (const Row& r : rows) {
        e.InitBSfdBmdAdjustFactor(r.value);
        EXPECT_DOUBLE_EQ(e.m_dBSfdBmdAdjustFactor, r.expected) << "value " << r.value;
    }
}

TEST_F(FrameListTest, ColumnExtremesCountInnerBlocksOfTheirMember) {
    // The project's column has no inner nodes: with its key only blocks 0 and 1 count.
    CForceEngine e(&M());
    e.m_nBForcComp = 0;
    T_MBCL_D c;
    c.Initialize();
    c.d[0][0] = -1.0;
    c.d[1][0] = 2.0;
    c.d[2][0] = 9.0;
    c.d[3][0] = -9.0;
    EXPECT_DOUBLE_EQ(e.GetMaxMembCForc(kColumn, c), 2.0);
    EXPECT_DOUBLE_EQ(e.GetMinMembCForc(kColumn, c), -1.0);
    EXPECT_DOUBLE_EQ(e.GetMaxMembCForc(0, c), 9.0) << "without a key all four blocks count";
    EXPECT_DOUBLE_EQ(e.GetMinMembCForc(0, c), -9.0);
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    e.MinMaxMembCForc(kColumn, c, dMax, dMin);
    EXPECT_DOUBLE_EQ(dMax, 2.0);
    EXPECT_EQ(e.m_nMaxMembKey, kColumn);
}

// ---- the sample project against its database --------------------------------------------------

namespace {

// Extremes of one frame component over the beams (201, 205), T-girders (204) and columns (101) of
// the sample under one load case, read from the project file with SQLite: beam forces from STRG
// (96 doubles, component c of segment s, end e at 12 s + 6 e + c), girder forces from MBWG (54
// doubles, nine stations of six) at the PWALL result key. Selectors 6 and 7 take both shears or
// both moments.
struct DbExtremes {
    double max = -DBL_MAX, min = DBL_MAX;
    int members = 0;
    // The trusses (206) from MBBR (two ends of six): one value per end, for 6 and 7 the one of
    // the two components of larger magnitude (the second on a tie).
    double trussMax = -DBL_MAX, trussMin = DBL_MAX;
    // The columns (101) from MBCL (blocks i end, j end, node3, node4; an inner one when set).
    double colmMax = -DBL_MAX, colmMin = DBL_MAX;
    int columns = 0;
};

std::vector<double> Blob(sqlite3* db, const char* sql, sqlite3_int64 id) {
    std::vector<double> out;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return out;
    sqlite3_bind_int64(st, 1, id);
    if (sqlite3_step(st) == SQLITE_ROW) {
        const int n = sqlite3_column_bytes(st, 0) / static_cast<int>(sizeof(double));
        out.resize(static_cast<size_t>(n));
        if (n > 0) std::memcpy(out.data(), sqlite3_column_blob(st, 0), static_cast<size_t>(n) * sizeof(double));
    }
    sqlite3_finalize(st);
    return out;
}

DbExtremes ReadExtremes(const std::string& path, UINT lc, int comp) {
    DbExtremes x;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return x;
    std::vector<int> comps = comp == 6 ? std::vector<int>{1, 2} : comp == 7 ? std::vector<int>{4, 5} : std::vector<int>{comp};
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT key, type FROM PMEMB WHERE type IN (201, 204, 205)", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        const sqlite3_int64 key = sqlite3_column_int64(st, 0);
        const int type = sqlite3_column_int(st, 1);
        std::vector<double> v;
        int stride = 6;
        if (type == 204) {
            sqlite3_stmt* w = nullptr;
            sqlite3_prepare_v2(db, "SELECT result_no FROM PWALL WHERE key = ?", -1, &w, nullptr);
            sqlite3_bind_int64(w, 1, key);
            const sqlite3_int64 res = sqlite3_step(w) == SQLITE_ROW ? sqlite3_column_int64(w, 0) : 0;
            sqlite3_finalize(w);
            if (res) v = Blob(db, "SELECT d FROM MBWG WHERE id = ?", (static_cast<sqlite3_int64>(lc) << 32) | res);
        } else {
            v = Blob(db, "SELECT d FROM STRG WHERE id = ?", (static_cast<sqlite3_int64>(lc) << 32) | key);
        }
        if (v.empty()) continue;
        ++x.members;
        for (size_t b = 0; b + stride <= v.size(); b += static_cast<size_t>(stride))
            for (int c : comps) {
                x.max = std::max(x.max, v[b + static_cast<size_t>(c)]);
                x.min = std::min(x.min, v[b + static_cast<size_t>(c)]);
            }
    }
    sqlite3_finalize(st);
    sqlite3_prepare_v2(db, "SELECT key, node3, node4 FROM PMEMB WHERE type = 101", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        const sqlite3_int64 key = sqlite3_column_int64(st, 0);
        const bool inner[2] = {sqlite3_column_int64(st, 1) != 0, sqlite3_column_int64(st, 2) != 0};
        const std::vector<double> v = Blob(db, "SELECT d FROM MBCL WHERE id = ?", (static_cast<sqlite3_int64>(lc) << 32) | key);
        x.columns += v.size() == 24;
        for (size_t b = 0; v.size() == 24 && b < 4; ++b)
            for (int c : comps) {
                if (b >= 2 && !inner[b - 2]) continue;
                x.colmMax = std::max(x.colmMax, v[6 * b + static_cast<size_t>(c)]);
                x.colmMin = std::min(x.colmMin, v[6 * b + static_cast<size_t>(c)]);
            }
    }
    sqlite3_finalize(st);
    sqlite3_prepare_v2(db, "SELECT key FROM PMEMB WHERE type = 206", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        const sqlite3_int64 key = sqlite3_column_int64(st, 0);
        const std::vector<double> v = Blob(db, "SELECT d FROM MBBR WHERE id = ?", (static_cast<sqlite3_int64>(lc) << 32) | key);
        if (v.size() != 12) continue;
        for (int e = 0; e < 2; ++e) {
            const double* d = v.data() + 6 * e;
            double val = d[comps[0]];
            if (comps.size() == 2) val = std::fabs(d[comps[0]]) > std::fabs(d[comps[1]]) ? d[comps[0]] : d[comps[1]];
            x.trussMax = std::max(x.trussMax, val);
            x.trussMin = std::min(x.trussMin, val);
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return x;
}

std::string SampleProjectPath() { return std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb"; }

}  // namespace

TEST(FrameListSample, LegendExtremesAreThoseOfTheDatabase) {
    const std::string path = SampleProjectPath();
    CDBDoc doc;
    ASSERT_TRUE(doc.OpenDocument(path.c_str())) << path;
    CDBDoc* pSaved = CDBDoc::m_pDBDoc;
    CDBDoc::m_pDBDoc = &doc;
    {
        I_PVXModel m;
        m.GetAttrCtrl()->ConnectToPostDB();
        m.GetAttrCtrl()->GetMembKeyList(m.m_arrAllMembKey);
        m.m_bLoadSelected = 1;
        m.m_nLoadType = 1;
        const struct Row {
            UINT lc;  // DL and WX
            int columns;
        } rows[] = {{1, 1}, {3, 1}, {1, 0}};
        for (const Row& r : rows) {
            const UINT lc = r.lc;
            m.m_nLoadKey = lc;
            for (int comp = 0; comp <= 7; ++comp) {
                SCOPED_TRACE(testing::Message() << "load case " << lc << ", component " << comp << ", columns "
                                                << r.columns);
                const DbExtremes x = ReadExtremes(path, lc, comp);
                ASSERT_GT(x.members, 0);
                CForceEngine e(&m);
                e.m_nBForcComp = comp;
                e.m_bShowColumn = r.columns;
                ASSERT_EQ(e.InitEngine(nullptr, 6), 1);
                EXPECT_EQ(e.m_arrMembKey.GetSize(), x.members);
                EXPECT_EQ(e.m_arrColmKey.GetSize(), r.columns ? x.columns : 0);
                // The legend spans the beams, the trusses and, with the column box on, the columns.
                const double lo = std::min({x.min, x.trussMin, r.columns ? x.colmMin : DBL_MAX});
                const double hi = std::max({x.max, x.trussMax, r.columns ? x.colmMax : -DBL_MAX});
                EXPECT_DOUBLE_EQ(e.m_dLegendMax, hi);
                EXPECT_DOUBLE_EQ(e.m_dLegendMin, lo);
                ASSERT_NE(e.m_pContourEngine, nullptr);
                EXPECT_DOUBLE_EQ(e.m_pContourEngine->m_dMaxValue, hi) << "the legend's scale";
                EXPECT_DOUBLE_EQ(e.m_pContourEngine->m_dMinValue, lo);
            }
        }
    }
    CDBDoc::m_pDBDoc = pSaved;
}

TEST_F(FrameListTest, ExtremesOfTheMemberHoldingAnElement) {
    // Element 1 belongs to the beam (-40 to +40): its member extreme is +40 (the maximum, as
    // -min does not exceed max). The two-element member's elements have no beam records.
    CForceEngine e(&M());
    Build(e);
    struct Row {
        const char* label;
        UINT elem;
        double max, absMax;
    } const rows[] = {
        {"element of the beam", 1, 40.0, 40.0},
        {"element of the two-element beam", 51, -DBL_MAX, 0.0},
        {"no such element", 999, 0.0, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        UINT key = r.elem;
        EXPECT_DOUBLE_EQ(e.GetMaxBForcInMember(key), r.max);
        EXPECT_DOUBLE_EQ(e.GetAbsMaxBForcInMember(key), r.absMax);
    }
    // Envelope diagrams look at both sides: the minimum side's -40 at the i end outweighs the
    // maximum side's +40 only on a strictly larger magnitude, so +40 stays.
    SelectLoad(12, kEnv, 3);
    CForceEngine env(&M());
    env.m_bMinMaxDiagram = 1;
    Build(env, 7);
    UINT key = 1;
    EXPECT_DOUBLE_EQ(env.GetAbsMaxBForcInMember(key), 40.0);
}

}  // namespace forcetest
