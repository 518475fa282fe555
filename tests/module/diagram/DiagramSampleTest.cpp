// Statics of the drawn diagrams against the sample project's database: a first-floor beam under
// the dead load (a fixed-end beam under a uniform load, with rigid end zones of 0.25 m) is drawn
// between its end offsets with the moment stored at each of its nine stations, crosses the axis
// where the stored values change sign (linear between stations), and its ordinates follow the
// diagram scale. Every expected value is read from the project file with SQLite, not through the
// engine. The whole diagram display of the sample is also drawn into a picture.
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "host/grx/GRenderView.h"
#include "platform/gdi/BmpFile.h"
#include "tests/module/diagram/DiagramTestSupport.h"

namespace diagramtest {

namespace {

std::string SamplePath() { return std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb"; }

// What the database holds of one beam: its ends, its end offsets for bending about local y
// (direction 3) and its moment y at the nine stations under one load case.
struct DbBeam {
    UINT key = 0;
    UINT loadCase = 0;
    C3DPoint ptI, ptJ;
    double length = 0.0, ri = 0.0, rj = 0.0;
    double moment[9] = {};
};

template <class T>
std::vector<T> Blob(sqlite3_stmt* st, int col) {
    std::vector<T> out(static_cast<size_t>(sqlite3_column_bytes(st, col)) / sizeof(T));
    if (!out.empty()) std::memcpy(out.data(), sqlite3_column_blob(st, col), out.size() * sizeof(T));
    return out;
}

// The first beam (type 201) with an end record, under the load case named DL.
bool ReadBeam(const std::string& path, DbBeam& b) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return false;
    bool ok = false;
    sqlite3_stmt* st = nullptr;
    auto query = [&](const char* sql) {
        sqlite3_finalize(st);
        st = nullptr;
        return sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK;
    };
    do {
        if (!query("SELECT key FROM PSTLD WHERE name = 'DL'") || sqlite3_step(st) != SQLITE_ROW) break;
        b.loadCase = static_cast<UINT>(sqlite3_column_int64(st, 0));
        if (!query("SELECT key, length, ri3, rj3 FROM CFMO WHERE type = 201 ORDER BY key LIMIT 1") ||
            sqlite3_step(st) != SQLITE_ROW)
            break;
        b.key = static_cast<UINT>(sqlite3_column_int64(st, 0));
        b.length = sqlite3_column_double(st, 1);
        b.ri = sqlite3_column_double(st, 2);
        b.rj = sqlite3_column_double(st, 3);
        if (!query("SELECT nodes FROM PMEMB WHERE key = ?")) break;
        sqlite3_bind_int64(st, 1, b.key);
        if (sqlite3_step(st) != SQLITE_ROW) break;
        const std::vector<uint32_t> nodes = Blob<uint32_t>(st, 0);
        if (nodes.size() != 2) break;
        C3DPoint* ends[2] = {&b.ptI, &b.ptJ};
        bool bNodes = true;
        for (int k = 0; k < 2 && bNodes; ++k) {
            bNodes = query("SELECT x, y, z FROM PNODE WHERE key = ?");
            sqlite3_bind_int64(st, 1, nodes[static_cast<size_t>(k)]);
            bNodes = bNodes && sqlite3_step(st) == SQLITE_ROW;
            if (bNodes) ends[k]->Set(sqlite3_column_double(st, 0), sqlite3_column_double(st, 1), sqlite3_column_double(st, 2));
        }
        if (!bNodes || !query("SELECT d FROM STRG WHERE id = ?")) break;
        sqlite3_bind_int64(st, 1, (static_cast<sqlite3_int64>(b.loadCase) << 32) | b.key);
        if (sqlite3_step(st) != SQLITE_ROW) break;
        const std::vector<double> d = Blob<double>(st, 0);
        if (d.size() != 96) break;
        // Station k is the start of segment k (12 k + 4); station 8 the end of segment 7.
        for (int k = 0; k < 8; ++k) b.moment[k] = d[static_cast<size_t>(12 * k + 4)];
        b.moment[8] = d[12 * 7 + 6 + 4];
        ok = true;
    } while (false);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return ok;
}

class SampleView : public GRenderView {};

}  // namespace

class DiagramSampleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ReadBeam(SamplePath(), m_beam)) << "the sample project has no beam with an end record";
        ASSERT_TRUE(m_doc.OpenDocument(SamplePath().c_str()));
        m_pSaved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        I_PVXModel& m = *m_model;
        LinkModelInView(m, m_view.GetI_PVXCtrl(), &m_view, 800, 600, GViewCamera::VIEW_ISO);
        SelectModelLoad(m, 1, m_beam.loadCase, 0);
        m.m_nDisplayMode = 7;
        m.m_bContour = 1;
        m.m_pDispOpt->m_Number.m_bShowNumbers = 0;
        m_engine = std::make_unique<NoteDiagramEngine>(&m);
        m_engine->m_nBForcComp = 4;
        ASSERT_EQ(m_engine->InitEngine(nullptr, 7), 1);
        ASSERT_TRUE(m_dc.Create());
    }
    void TearDown() override {
        m_engine.reset();
        m_model.reset();
        CDBDoc::m_pDBDoc = m_pSaved;
    }

    // Drawn ordinate of a band vertex: its distance from the beam axis along the direction a
    // moment y is drawn in (local -z, down for a level beam), and where along the axis it stands.
    struct Ordinate {
        double along;  // from the i end, m
        double offset;
    };
    Ordinate Measure(const C3DPoint& p) const {
        const C3DPoint u = (m_beam.ptJ - m_beam.ptI) / m_beam.length;
        const C3DPoint w = p - m_beam.ptI;
        const double along = w.x * u.x + w.y * u.y + w.z * u.z;
        const C3DPoint axis = m_beam.ptI + u * along;
        return {along, -(p.z - axis.z)};
    }
    // Band vertices of one beam's diagram drawn at the given diagram scale.
    std::vector<VtxInfo_tag> Draw(double scale) {
        m_engine->m_dBSfdBmdAdjustFactor = 0.01;  // m per kN m
        m_engine->m_dBSfdBmdScale = scale;
        m_engine->m_bands.clear();
        m_engine->DoBeamElementSfdBmd(&m_dc, m_beam.key, 0);
        std::vector<VtxInfo_tag> v;
        for (const auto& b : m_engine->m_bands) v.insert(v.end(), b.v.begin(), b.v.end());
        return v;
    }
    // Station k of the drawn diagram: between the end offsets, in eight equal parts.
    double Station(int k) const { return m_beam.ri + k * (m_beam.length - m_beam.ri - m_beam.rj) / 8.0; }

    DbBeam m_beam;
    CDBDoc m_doc;
    CDBDoc* m_pSaved = nullptr;
    SampleView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    std::unique_ptr<NoteDiagramEngine> m_engine;
    CRecordDC m_dc;
};

TEST_F(DiagramSampleTest, DrawnMomentEqualsTheStoredStationValues) {
    ASSERT_GT(m_beam.ri, 0.0) << "the beam has rigid end zones";
    const std::vector<VtxInfo_tag> v = Draw(1.0);
    ASSERT_FALSE(v.empty());
    // Every vertex of every band lies on the axis or at its own value times the scale.
    for (const VtxInfo_tag& t : v) {
        const Ordinate o = Measure(t.pt);
        EXPECT_TRUE(std::fabs(o.offset) < 1e-12 || std::fabs(o.offset - 0.01 * t.dValue) < 1e-9)
            << "offset " << o.offset << " for value " << t.dValue;
        EXPECT_GE(o.along, m_beam.ri - 1e-9) << "nothing drawn inside the rigid end zone";
        EXPECT_LE(o.along, m_beam.length - m_beam.rj + 1e-9);
    }
    // The diagram line passes through the stored value at each station.
    for (int k = 0; k <= 8; ++k) {
        const bool found = std::any_of(v.begin(), v.end(), [&](const VtxInfo_tag& t) {
            const Ordinate o = Measure(t.pt);
            return std::fabs(o.along - Station(k)) < 1e-9 && std::fabs(t.dValue - m_beam.moment[k]) < 1e-9 &&
                   std::fabs(o.offset - 0.01 * m_beam.moment[k]) < 1e-9;
        });
        EXPECT_TRUE(found) << "station " << k << ", stored " << m_beam.moment[k];
    }
}

TEST_F(DiagramSampleTest, ZeroCrossingsWhereTheStoredValuesChangeSign) {
    const std::vector<VtxInfo_tag> v = Draw(1.0);
    int crossings = 0;
    for (int k = 0; k < 8; ++k) {
        const double a = m_beam.moment[k], b = m_beam.moment[k + 1];
        if (a * b >= 0.0) continue;
        ++crossings;
        const double x0 = Station(k) + (Station(k + 1) - Station(k)) * std::fabs(a) / (std::fabs(a) + std::fabs(b));
        const bool found = std::any_of(v.begin(), v.end(), [&](const VtxInfo_tag& t) {
            const Ordinate o = Measure(t.pt);
            return std::fabs(o.along - x0) < 1e-9 && t.dValue == 0.0 && std::fabs(o.offset) < 1e-12;
        });
        EXPECT_TRUE(found) << "zero between stations " << k << " and " << k + 1 << " at " << x0;
    }
    // A fixed-end moment changes sign twice.
    EXPECT_EQ(crossings, 2);
    // No band straddles the axis.
    for (const auto& band : m_engine->m_bands) {
        double lo = 0.0, hi = 0.0;
        for (const VtxInfo_tag& t : band.v) {
            lo = std::min(lo, t.dValue);
            hi = std::max(hi, t.dValue);
        }
        EXPECT_FALSE(lo < 0.0 && hi > 0.0);
    }
}

TEST_F(DiagramSampleTest, OrdinatesFollowTheDiagramScale) {
    auto ordinateAt = [&](const std::vector<VtxInfo_tag>& v, int k) {
        for (const VtxInfo_tag& t : v) {
            const Ordinate o = Measure(t.pt);
            if (std::fabs(o.along - Station(k)) < 1e-9 && t.dValue == m_beam.moment[k] && t.dValue != 0.0)
                return o.offset;
        }
        return std::nan("");
    };
    const std::vector<VtxInfo_tag> one = Draw(1.0), three = Draw(3.0);
    for (int k = 0; k <= 8; k += 4) {
        const double a = ordinateAt(one, k), b = ordinateAt(three, k);
        ASSERT_FALSE(std::isnan(a) || std::isnan(b)) << "station " << k;
        EXPECT_NEAR(b, 3.0 * a, 1e-9) << "station " << k;
    }
}

TEST_F(DiagramSampleTest, WholeDisplayDrawsEveryBeamWithForces) {
    I_PVXModel& m = *m_model;
    I_PVXCtrl* ctrl = m_view.GetI_PVXCtrl();
    m.m_pDispOpt->m_Number.m_bShowNumbers = 1;
    m_engine->m_bBSfdBmdLine = 0;  // full fill
    m_engine->m_bBSfdBmdFill = 1;
    m_engine->m_bPassOn = true;
    m_engine->m_bNumIEnd = m_engine->m_bNumMiddle = m_engine->m_bNumJEnd = 1;
    m.m_pDispOpt->m_Number.m_nDecimals = 1;
    m.m_pForceEngine = m_engine.release();  // the model owns it from here
    ctrl->ViewZoomAll(1);
    m.RenderImpl();
    const std::string out = std::string(PVX_TEST_TMPDIR) + "/diagram_sample_my.bmp";
    ASSERT_TRUE(WriteBmp24(out.c_str(), ctrl->GetMemDC()));
    const auto* pEngine = static_cast<NoteDiagramEngine*>(m.m_pForceEngine);
    // One list drawing per beam and T-girder with forces, all shown in zoom-all.
    EXPECT_EQ(pEngine->m_nCalls, pEngine->m_arrMembKey.GetSize());
    // With numbers on, one output record per diagram.
    EXPECT_EQ(pEngine->m_arrBSfdBmdOutVal.GetSize(), pEngine->m_arrMembKey.GetSize());
    EXPECT_EQ(pEngine->m_arrBSfdBmdOutValMin.GetSize(), 0);
}

}  // namespace diagramtest
