// The column forces of the design figures (display mode 32): the gathered records against the
// sample's column forces read straight from the file with SQLite, the load slots, the summary of
// extremes, and the plan-view tests of two-dimensional diagrams.
#include <sqlite3.h>

#include <cfloat>
#include <cstring>
#include <string>
#include <vector>

#include "tests/module/clforce/SampleProject.h"
#include "tests/module/diagram/DiagramTestSupport.h"

namespace diagramtest {

namespace {

// Every column of the sample (PMEMB type 101) with its end node positions and its MBCL blocks
// under load case 1 (DL), read with SQLite.
struct DbColumn {
    UINT key = 0;
    C3DPoint first, last;
    std::vector<double> blocks;  // 4 x 6, empty when the column has no row
};

std::vector<DbColumn> ReadSampleColumns() {
    std::vector<DbColumn> out;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(clforcetest::SamplePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return out;
    auto node = [&](UINT key) {
        sqlite3_stmt* st = nullptr;
        C3DPoint p;
        sqlite3_prepare_v2(db, "SELECT x, y, z FROM PNODE WHERE key = ?", -1, &st, nullptr);
        sqlite3_bind_int64(st, 1, key);
        if (sqlite3_step(st) == SQLITE_ROW)
            p = C3DPoint(sqlite3_column_double(st, 0), sqlite3_column_double(st, 1), sqlite3_column_double(st, 2));
        sqlite3_finalize(st);
        return p;
    };
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT key, nodes FROM PMEMB WHERE type = 101 ORDER BY seq", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        DbColumn c;
        c.key = static_cast<UINT>(sqlite3_column_int64(st, 0));
        std::vector<uint32_t> nodes(static_cast<size_t>(sqlite3_column_bytes(st, 1)) / 4);
        if (!nodes.empty()) std::memcpy(nodes.data(), sqlite3_column_blob(st, 1), nodes.size() * 4);
        if (nodes.size() >= 2) {
            c.first = node(nodes.front());
            c.last = node(nodes.back());
        }
        out.push_back(c);
    }
    sqlite3_finalize(st);
    for (DbColumn& c : out) {
        sqlite3_prepare_v2(db, "SELECT d FROM MBCL WHERE id = ?", -1, &st, nullptr);
        sqlite3_bind_int64(st, 1, (sqlite3_int64{1} << 32) | c.key);
        if (sqlite3_step(st) == SQLITE_ROW) {
            c.blocks.resize(static_cast<size_t>(sqlite3_column_bytes(st, 0)) / sizeof(double));
            std::memcpy(c.blocks.data(), sqlite3_column_blob(st, 0), c.blocks.size() * sizeof(double));
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

bool Same(const C3DPoint& a, const C3DPoint& b) { return a.Distance(b) < 1e-9; }

}  // namespace

TEST(FigColumnSampleTest, RecordsAreTheDatabaseColumnForcesAtBothEnds) {
    ResetBarState();
    CDBDoc doc;
    ASSERT_TRUE(doc.OpenDocument(clforcetest::SamplePath().c_str()));
    CDBDoc* saved = CDBDoc::m_pDBDoc;
    CDBDoc::m_pDBDoc = &doc;
    {
        GRenderView view;
        I_PVXModel m;
        LinkModelToCtrl(m, view.GetI_PVXCtrl(), &view);
        m.m_nLoadType = 1;
        m.m_nLoadKey = 1;  // DL
        m.m_nLoadStep = 0;
        m.m_bLoadSelected = 1;
        m.m_nDisplayMode = 32;
        CForceEngine e(&m);
        ASSERT_EQ(e.InitEngine(nullptr, 32), 1);
        EXPECT_EQ(e.m_bCForcData4Figure, 1);

        const std::vector<DbColumn> cols = ReadSampleColumns();
        std::vector<const DbColumn*> withForces;
        for (const DbColumn& c : cols)
            if (c.blocks.size() == 24) withForces.push_back(&c);
        ASSERT_FALSE(withForces.empty());
        CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&> recs;
        e.GetCForcData(recs);
        ASSERT_EQ(recs.GetSize(), static_cast<INT_PTR>(withForces.size())) << "one record per column with forces";
        // Record values: at each end shear y, shear z, axial, moment y, moment z, i.e. block
        // components 1, 2, 0, 4, 5 of block 0 (first node) and block 1 (last node).
        const int comp[5] = {1, 2, 0, 4, 5};
        for (INT_PTR i = 0; i < recs.GetSize(); ++i) {
            const DbColumn& c = *withForces[static_cast<size_t>(i)];
            const T_PVX_BFORC_D& r = recs[i];
            SCOPED_TRACE("column " + std::to_string(c.key));
            EXPECT_EQ(r.nMembKey, c.key);
            for (int end = 0; end < 2; ++end)
                for (int k = 0; k < 5; ++k) EXPECT_DOUBLE_EQ(r.dForce[5 * end + k], c.blocks[6 * end + comp[k]]);
            EXPECT_TRUE(Same(r.ptI, c.first));
            EXPECT_TRUE(Same(r.ptJ, c.last));
        }
    }
    CDBDoc::m_pDBDoc = saved;
    ResetBarState();
}

class FigColumnTest : public DiagramProjectTest {};

TEST_F(FigColumnTest, LoadSlotsAndColumnsWithoutForces) {
    // The project's column 3 holds axial -100 under DL and +50 under LL (every block); columns
    // 31..33 have no forces; member 999 is listed but not in the database.
    M().m_arrAllMembKey.Add(999);
    struct Row {
        const char* label;
        UINT type, key;
        int step, mode;
        double first, second;  // axial force of m_mapCForc and (both sides) m_mapCForcMin
        bool bBoth;
    } rows[] = {
        {"DL value", 1, kDL, 0, 32, -100.0, 0.0, false},
        {"envelope maximum", 12, kEnv, 1, 32, 50.0, 0.0, false},
        {"envelope minimum", 12, kEnv, 2, 32, -100.0, 0.0, false},
        {"envelope larger magnitude", 12, kEnv, 3, 32, -100.0, 0.0, false},
        {"envelope diagram: both sides", 12, kEnv, 3, 7, 50.0, -100.0, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        SelectLoad(r.type, r.key, r.step);
        M().m_nDisplayMode = r.mode;
        ASSERT_EQ(E().MakeCForcDataList4Figure(), 1);
        ASSERT_EQ(E().m_arrMembKey.GetSize(), 1);
        EXPECT_EQ(E().m_arrMembKey[0], static_cast<UINT>(kColumn));
        T_MBCL_D c;
        ASSERT_TRUE(E().GetColmForce(kColumn, c));
        EXPECT_DOUBLE_EQ(c.d[0][0], r.first);
        EXPECT_EQ(E().GetColmForceMin(kColumn, c) != 0, r.bBoth);
        if (r.bBoth) {
            EXPECT_DOUBLE_EQ(c.d[0][0], r.second);
        }
        ASSERT_EQ(E().m_arrCForc4Figure.GetSize(), 1);
        EXPECT_DOUBLE_EQ(E().m_arrCForc4Figure[0].dForce[2], r.first) << "axial force at the first node";
    }
}

TEST_F(FigColumnTest, NothingWithoutALoad) {
    E().m_bCForcData4Figure = 1;  // an earlier build
    M().m_bResultDataReady = 0;
    EXPECT_EQ(E().MakeCForcDataList4Figure(), 0);
    EXPECT_EQ(E().m_bCForcData4Figure, 0);
}

TEST_F(FigColumnTest, SummaryPointsToTheFirstOfEqualsAndPrefersTheMaximum) {
    // Columns 3 and 31 by hand: equal axial force 20 at the first node (value 2), moment y at the
    // first node (value 3) 8 and -8 (equal magnitudes), shear y at the last node (value 5) -1
    // and -9.
    T_MBCL_D a, b;
    a.Initialize();
    b.Initialize();
    a.d[0][0] = b.d[0][0] = 20.0;
    a.d[0][4] = 8.0;
    b.d[0][4] = -8.0;
    a.d[1][1] = -1.0;
    b.d[1][1] = -9.0;
    E().m_mapCForc.RemoveAll();
    E().m_mapCForc.SetAt(kColumn, a);
    E().m_mapCForc.SetAt(kColumnInner1, b);
    E().m_bCForcData4Figure = 1;
    E().MakeCForcNumbers4Figure();
    ASSERT_EQ(E().m_arrCForc4Figure.GetSize(), 2);
    const CForceEngine::FigColmSummary& s = E().m_figColmSummary;
    EXPECT_EQ(s.nMaxIdx[2], 0) << "equal largest axial forces: the first record";
    EXPECT_EQ(s.nMinIdx[2], 0);
    EXPECT_EQ(s.nMaxIdx[3], 0);
    EXPECT_EQ(s.nMinIdx[3], 1);
    EXPECT_EQ(s.nAbsIdx[3], 0) << "|min| = |max|: the maximum";
    EXPECT_DOUBLE_EQ(s.dAbsVal[3], 8.0);
    EXPECT_EQ(s.nAbsKey[3], static_cast<UINT>(kColumn));
    EXPECT_EQ(s.nAbsIdx[5], 1) << "|-9| > |-1|: the minimum";
    EXPECT_DOUBLE_EQ(s.dAbsVal[5], -9.0);
    EXPECT_EQ(s.nAbsKey[5], static_cast<UINT>(kColumnInner1));
}

TEST(FigColumnAxesTest, PlanViewMatrixAndTwoDimensionalAxes) {
    struct Row {
        const char* label;
        double m[3][3];
        int expected;
    } rows[] = {
        {"identity", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, 1},
        {"row 2 not looked at", {{1, 0, 0}, {0, 1, 0}, {5, 6, 7}}, 1},
        {"row 0 off by 1e-12", {{1, 0, 1e-12}, {0, 1, 0}, {0, 0, 1}}, 0},
        {"all zero", {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(CForceEngine::IsXYPlaneVector(r.m), r.expected) << r.label;

    I_PVXModel m;
    CForceEngine e(&m);
    struct AxesRow {
        const char* label;
        bool bPlan;
        int comp;
        bool bCopied;  // row 2 becomes row 1
    } axesRows[] = {
        {"plan view, moment", true, 4, true},
        {"other view, axial force", false, 0, true},
        {"other view, moment", false, 4, false},
    };
    for (const AxesRow& r : axesRows) {
        SCOPED_TRACE(r.label);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) e.m_dLclVec2D[i][j] = r.bPlan && i == j ? 1.0 : 0.0;
        e.m_nBForcComp = r.comp;
        double axes[3][3] = {{1, 0, 0}, {0, 0.6, 0.8}, {0, -0.8, 0.6}};
        e.GetLclVec4BeamDgrm2D(77, axes);
        EXPECT_DOUBLE_EQ(axes[2][1], r.bCopied ? 0.6 : -0.8);
        EXPECT_DOUBLE_EQ(axes[2][2], r.bCopied ? 0.8 : 0.6);
        EXPECT_DOUBLE_EQ(axes[1][1], 0.6) << "row 1 unchanged";
    }
}

}  // namespace diagramtest
