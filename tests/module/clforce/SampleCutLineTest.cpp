// The strip and rib-beam records of the sample project against its tables read with SQLite:
// every rib of RIBB with its RIBF forces under DL (mode 22), and the strip of the cutting-line
// table with its STRIPF forces (mode 21, the strip handed over as the strip page would). The
// ribs' forces are also their beams' own forces (STRG moment y and shear z at the quarters).
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/engines/CDeformEngine.h"
#include "tests/module/clforce/SampleProject.h"
#include "tests/module/diagram/DiagramTestSupport.h"

namespace diagramtest {

namespace {

struct Rows {
    sqlite3* db = nullptr;
    Rows() { sqlite3_open_v2(clforcetest::SamplePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr); }
    ~Rows() { sqlite3_close(db); }
    // The doubles of one BLOB column of a row.
    std::vector<double> Blob(const std::string& sql, sqlite3_int64 id) {
        std::vector<double> out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return out;
        sqlite3_bind_int64(st, 1, id);
        if (sqlite3_step(st) == SQLITE_ROW) {
            out.resize(static_cast<size_t>(sqlite3_column_bytes(st, 0)) / sizeof(double));
            if (!out.empty()) std::memcpy(out.data(), sqlite3_column_blob(st, 0), out.size() * sizeof(double));
        }
        sqlite3_finalize(st);
        return out;
    }
    // Columns of the rows of a query, as doubles.
    std::vector<std::vector<double>> Table(const char* sql) {
        std::vector<std::vector<double>> out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return out;
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<double> row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) row.push_back(sqlite3_column_double(st, c));
            out.push_back(row);
        }
        sqlite3_finalize(st);
        return out;
    }
};

sqlite3_int64 Id(UINT lc, UINT key) { return (sqlite3_int64{lc} << 32) | key; }

// Value of component c at station j (j / 8 of the line) of a record.
double Station(const T_PVX_CLFC_D& r, int c, int j) { return j < 8 ? r.Forc.d[12 * j + c] : r.Forc.d[12 * 7 + 6 + c]; }

}  // namespace

class SampleCutLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetBarState();
        ASSERT_TRUE(m_doc.OpenDocument(clforcetest::SamplePath().c_str()));
        m_pSaved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        LinkModelToCtrl(*m_model, m_view.GetI_PVXCtrl(), &m_view);
        I_PVXModel& m = *m_model;
        m.m_nLoadType = 1;
        m.m_nLoadKey = 1;  // DL
        m.m_nLoadStep = 0;
        m.m_bLoadSelected = 1;
    }
    void TearDown() override {
        m_model.reset();
        CDBDoc::m_pDBDoc = m_pSaved;
        ResetBarState();
    }
    CDBDoc m_doc;
    CDBDoc* m_pSaved = nullptr;
    TestView m_view;
    std::unique_ptr<I_PVXModel> m_model;
};

TEST_F(SampleCutLineTest, RibRecordsAreTheRibTables) {
    m_model->m_nDisplayMode = 22;
    CForceEngine e(m_model.get());
    e.m_nSForcUnit = 1;
    ASSERT_EQ(e.InitEngine(nullptr, 22), 1);
    Rows db;
    const auto ribs = db.Table("SELECT key, memb, width_pos, width_neg, width, x1, y1, z1, x2, y2, z2, arc FROM RIBB ORDER BY seq");
    ASSERT_FALSE(ribs.empty());
    ASSERT_EQ(e.m_arrCLForc.GetSize(), static_cast<INT_PTR>(ribs.size())) << "every sample rib has DL forces";
    for (size_t i = 0; i < ribs.size(); ++i) {
        const std::vector<double>& row = ribs[i];
        const UINT key = static_cast<UINT>(row[0]), memb = static_cast<UINT>(row[1]);
        SCOPED_TRACE("rib " + std::to_string(key));
        const T_PVX_CLFC_D& r = e.m_arrCLForc[static_cast<INT_PTR>(i)];
        const double geo[10] = {r.dWidthPos, r.dWidthNeg, r.dWidth, r.dX1, r.dY1, r.dZ1, r.dX2, r.dY2, r.dZ2, r.dArc};
        for (int k = 0; k < 10; ++k) EXPECT_DOUBLE_EQ(geo[k], row[2 + k]);
        const std::vector<double> m = db.Blob("SELECT m FROM RIBF WHERE id = ?", Id(1, key));
        const std::vector<double> v = db.Blob("SELECT v FROM RIBF WHERE id = ?", Id(1, key));
        ASSERT_EQ(m.size(), 5u);
        ASSERT_EQ(v.size(), 5u);
        for (int j = 0; j <= 8; ++j) {
            // Even stations the stored quarter values, odd ones the mean of their neighbours.
            const double mj = j % 2 == 0 ? m[j / 2] : 0.5 * (m[j / 2] + m[j / 2 + 1]);
            const double vj = j % 2 == 0 ? v[j / 2] : 0.5 * (v[j / 2] + v[j / 2 + 1]);
            EXPECT_NEAR(Station(r, 0, j), mj, 1e-9);
            EXPECT_NEAR(Station(r, 3, j), vj, 1e-9);
        }
        // A raft's rib lies at the raft; a floor rib's quarter points carry its beam's moment y
        // and shear z (STRG: segment s start at double 12 s + c, the last end at 12 x 7 + 6 + c).
        const std::string raft = "SELECT key FROM PMEMB WHERE type = 301 AND key = " + std::to_string(memb);
        if (db.Table(raft.c_str()).size() == 1) {
            EXPECT_EQ(row[7], 0.0);
            EXPECT_EQ(row[10], 0.0);
            continue;
        }
        const std::vector<double> beam = db.Blob("SELECT d FROM STRG WHERE id = ?", Id(1, memb));
        ASSERT_EQ(beam.size(), 96u);
        for (int k = 0; k < 5; ++k) {
            const size_t at = k < 4 ? 12 * (2 * k) : 12 * 7 + 6;
            EXPECT_NEAR(m[k], beam[at + 4], 1e-9);
            EXPECT_NEAR(v[k], beam[at + 2], 1e-9);
        }
    }
}

TEST_F(SampleCutLineTest, StripRecordIsTheStripTable) {
    Rows db;
    const auto strips = db.Table("SELECT key, width, x1, y1, x2, y2 FROM CTLN WHERE kind = 1 ORDER BY seq");
    ASSERT_EQ(strips.size(), 1u);
    const std::vector<double>& s = strips[0];
    m_model->m_nDisplayMode = 21;
    CPVXBarContainerBase::m_nCurrentMode = 21;
    CForceEngine e(m_model.get());
    T_STRIP_INFO info;
    info.strName = "Strip-1";
    info.dWidth = s[1];
    info.x1 = s[2];
    info.y1 = s[3];
    info.x2 = s[4];
    info.y2 = s[5];
    e.m_arrStripInfo.Add(info);
    ASSERT_EQ(e.InitEngine(nullptr, 21), 1);
    ASSERT_EQ(e.m_arrCLForc.GetSize(), 1);
    const T_PVX_CLFC_D& r = e.m_arrCLForc[0];
    const std::vector<double> m = db.Blob("SELECT m FROM STRIPF WHERE id = ?", Id(1, static_cast<UINT>(s[0])));
    const std::vector<double> v = db.Blob("SELECT v FROM STRIPF WHERE id = ?", Id(1, static_cast<UINT>(s[0])));
    ASSERT_EQ(m.size(), 5u);
    double hi = -1e300, lo = 1e300;
    for (int k = 0; k < 5; ++k) {
        EXPECT_NEAR(Station(r, 0, 2 * k), m[k], 1e-9);
        EXPECT_NEAR(Station(r, 3, 2 * k), v[k], 1e-9);
        hi = std::max(hi, m[k]);
        lo = std::min(lo, m[k]);
    }
    // The legend spans the moments (the odd stations are means, so no further extreme).
    EXPECT_DOUBLE_EQ(e.m_dLegendMax, hi);
    EXPECT_DOUBLE_EQ(e.m_dLegendMin, lo);

    // Drawn in plan on the recording DC: one centre line and two width lines.
    m_model->m_pDispOpt->m_Number.m_bShowNumbers = 0;
    CRecordDC dc;
    ASSERT_TRUE(dc.Create());
    m_view.GetI_PVXCtrl()->SetClientSize(400, 300);
    m_view.GetI_PVXCtrl()->SetStandardView(GViewCamera::VIEW_TOP);
    e.DrawCLineSfdBmd(&dc);
    int centre = 0, width = 0;
    for (const GdiRecord* rec : dc.GetRecords("LineTo")) {
        centre += rec->pen.lopnColor == RGB(143, 177, 213);
        width += rec->pen.lopnColor == RGB(179, 202, 226);
    }
    EXPECT_EQ(centre, 1);
    EXPECT_EQ(width, 2);
}

TEST_F(SampleCutLineTest, PerMemberSlabBeamsListTheSlabMembersWithAResultType) {
    // Mode 22 per member lists the slab members (types 301, 302, 305) whose slab record gives a
    // result type and that have moments under DL.
    Rows db;
    const auto rows = db.Table(
        "SELECT PMEMB.key FROM PMEMB JOIN PSLAB ON PSLAB.key = PMEMB.key WHERE PMEMB.type IN (301, 302, 305) AND "
        "PSLAB.result_type > 0 AND PMEMB.key IN (SELECT id & 4294967295 FROM SMNT WHERE id >> 32 = 1) ORDER BY PMEMB.seq");
    ASSERT_FALSE(rows.empty());
    m_model->m_nDisplayMode = 22;
    CForceEngine e(m_model.get());
    e.m_nSForcUnit = 0;
    EXPECT_EQ(e.InitEngine(nullptr, 22), 1);
    ASSERT_EQ(e.m_arrElemKey.GetSize(), static_cast<INT_PTR>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(e.m_arrElemKey[static_cast<INT_PTR>(i)], static_cast<UINT>(rows[i][0]));
}

// The strips are lines of their own: their legend names no node or element, even when the render
// builds the deformation data only after the strips (the strip page hands over a deformation
// engine without data). A displacement contour built the same way names its own nodes.
TEST_F(SampleCutLineTest, LazyDeformationKeepsTheKeysOfTheShownResult) {
    Rows db;
    const auto strips = db.Table("SELECT width, x1, y1, x2, y2 FROM CTLN WHERE kind = 1 ORDER BY seq");
    ASSERT_EQ(strips.size(), 1u);
    struct Row {
        const char* label;
        int mode;
        bool wantKeys;  // the deformation's nodes named
    } const rows[] = {
        {"strip diagrams", PVXMode::kSlabStrip, false},
        {"displacement contour", PVXMode::kDispContour, true},
    };
    m_view.GetI_PVXCtrl()->SetClientSize(400, 300);
    m_view.GetI_PVXCtrl()->SetStandardView(GViewCamera::VIEW_TOP);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        I_PVXModel& m = *m_model;
        m.ResetEngines();
        m.m_nDisplayMode = r.mode;
        CPVXBarContainerBase::m_nCurrentMode = r.mode;
        m.m_pForceEngine = new CForceEngine(&m);
        m.m_pDeformEngine = new CDeformEngine(&m);
        T_STRIP_INFO info;
        info.strName = "Strip-1";
        info.dWidth = strips[0][0];
        info.x1 = strips[0][1];
        info.y1 = strips[0][2];
        info.x2 = strips[0][3];
        info.y2 = strips[0][4];
        m.m_pForceEngine->m_arrStripInfo.Add(info);
        ASSERT_EQ(m.m_pForceEngine->InitEngine(nullptr, PVXMode::kSlabStrip), 1);
        ASSERT_EQ(m.m_pForceEngine->m_bCLForcData, 1);
        EXPECT_EQ(m.m_nMaxKey, 0u) << "the strip builder names no key";
        m.m_bResultDataReady = 1;
        m.m_bInitializing = 0;
        m.m_pDispOpt->m_Number.m_bShowNumbers = 0;
        ASSERT_EQ(m.m_pDeformEngine->m_bDataReady, 0);
        CRecordDC dc;
        ASSERT_TRUE(dc.Create());
        m._PVXRender(&dc);
        const CDeformEngine& d = *m.m_pDeformEngine;
        ASSERT_EQ(d.m_bDataReady, 1) << "the render built the deformation";
        ASSERT_NE(d.m_nMaxKeyTotal, 0u) << "DL moves the raft: the deformation has nodes to name";
        if (r.wantKeys) {
            EXPECT_NE(m.m_nMaxKey, 0u);
            EXPECT_NE(m.m_nMinKey, 0u);
        } else {
            EXPECT_EQ(m.m_nMaxKey, 0u);
            EXPECT_EQ(m.m_nMinKey, 0u);
        }
    }
    m_model->ResetEngines();
}

}  // namespace diagramtest
