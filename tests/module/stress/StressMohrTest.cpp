// The principal stresses the engine draws on the sample project agree with Mohr's circle of the
// stresses the project file stores for its wall and T-girder plates (element types 204, 209 and
// 210). The file is read here with SQLite alone: sigma-xx, sigma-yy
// and tau-xy of the first surface at the element centre (STRP.blk values 0, 1, 2 of block 0),
// the element's corners (PELEM.node, PNODE) and its angle (PELEM.beta). From them, by hand:
//   centre c = (sxx + syy) / 2, radius R = sqrt(((sxx - syy) / 2)^2 + txy^2),
//   sigma-1 = c + R, sigma-2 = c - R, and sigma-1 lies at theta = atan2(2 txy, sxx - syy) / 2
//   from local x toward local y;
//   local x along the first edge, z the normal of the diagonals, y = z x x, both turned by beta.
// The engine's arrows must point along theta (sigma-1) and theta + 90 degrees (sigma-2) with
// lengths |sigma| (vector factor 1), and its labels and values must give sigma-1 and sigma-2.
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/module/stress/StressTestSupport.h"

namespace {

struct ElementStress {
    UINT key = 0;
    double sxx = 0, syy = 0, txy = 0;
    double corner[4][3] = {};
    double beta = 0;
};

// Elements of load case lc from the file: the n with the largest |tau-xy| at the centre and the
// n others with the largest difference of the normal stresses.
std::vector<ElementStress> ReadElements(const std::string& path, UINT lc, int n) {
    std::vector<ElementStress> out;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return out;
    const std::string sql =
        "SELECT id & 4294967295, blk FROM STRP WHERE (id >> 32) = " + std::to_string(lc) +
        " AND (id & 4294967295) IN (SELECT key FROM PELEM WHERE type IN (204, 209, 210)) ORDER BY id";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    std::vector<ElementStress> all;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ElementStress e;
        e.key = static_cast<UINT>(sqlite3_column_int64(st, 0));
        double blk[150];
        if (sqlite3_column_bytes(st, 1) != static_cast<int>(sizeof blk)) continue;
        std::memcpy(blk, sqlite3_column_blob(st, 1), sizeof blk);
        e.sxx = blk[0];
        e.syy = blk[1];
        e.txy = blk[2];
        all.push_back(e);
    }
    sqlite3_finalize(st);
    // By |tau-xy|, then by |sxx - syy| for elements not taken yet.
    auto take = [&](auto larger) {
        std::stable_sort(all.begin(), all.end(), larger);
        int taken = 0;
        for (const ElementStress& e : all) {
            if (taken == n) break;
            if (std::any_of(out.begin(), out.end(), [&](const ElementStress& o) { return o.key == e.key; })) continue;
            out.push_back(e);
            ++taken;
        }
    };
    take([](const ElementStress& a, const ElementStress& b) { return std::fabs(a.txy) > std::fabs(b.txy); });
    take([](const ElementStress& a, const ElementStress& b) {
        return std::fabs(a.sxx - a.syy) > std::fabs(b.sxx - b.syy);
    });

    sqlite3_prepare_v2(db, "SELECT node, beta FROM PELEM WHERE key = ?", -1, &st, nullptr);
    sqlite3_stmt* nd = nullptr;
    sqlite3_prepare_v2(db, "SELECT x, y, z FROM PNODE WHERE key = ?", -1, &nd, nullptr);
    for (ElementStress& e : out) {
        sqlite3_bind_int64(st, 1, e.key);
        if (sqlite3_step(st) == SQLITE_ROW) {
            UINT nodes[8];
            std::memcpy(nodes, sqlite3_column_blob(st, 0), sizeof nodes);
            e.beta = sqlite3_column_double(st, 1);
            for (int k = 0; k < 4; ++k) {
                sqlite3_bind_int64(nd, 1, nodes[k]);
                if (sqlite3_step(nd) == SQLITE_ROW)
                    for (int c = 0; c < 3; ++c) e.corner[k][c] = sqlite3_column_double(nd, c);
                sqlite3_reset(nd);
            }
        }
        sqlite3_reset(st);
    }
    sqlite3_finalize(nd);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

C3DPoint Unit(const C3DPoint& v) { return v * (1.0 / std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z)); }
C3DPoint Cross(const C3DPoint& a, const C3DPoint& b) {
    return C3DPoint(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

class StressMohrTest : public StressFixture {};

TEST_F(StressMohrTest, DrawnPrincipalStressesFollowMohrsCircle) {
    const std::string path = SampleProjectPath();
    ASSERT_TRUE(OpenFile(path));
    M().m_bContour = 1;
    M().m_pDeformEngine = new CDeformEngine(&M());
    M().m_pDispOpt->m_Number.m_nDecimals = 3;
    M().m_pDispOpt->m_Number.m_bExponent = 0;
    M().m_pDispOpt->m_Number.m_nNumberOpt2 = 0;
    for (UINT lc : {1u, 2u}) {
        const std::vector<ElementStress> elems = ReadElements(path, lc, 2);
        ASSERT_EQ(elems.size(), 4u) << "load case " << lc;
        SelectStatic(lc);
        E().m_nComponent = 7;
        ASSERT_EQ(E().InitEngine(nullptr, PVXMode::kPlateStress), 1);
        E().m_bKeepVectorFactor = 1;
        E().m_dVectorFactor = 1.0;
        for (const ElementStress& e : elems) {
            SCOPED_TRACE(::testing::Message() << "load case " << lc << ", element " << e.key << ": sxx " << e.sxx
                                              << ", syy " << e.syy << ", txy " << e.txy);
            const double c = 0.5 * (e.sxx + e.syy);
            const double r = std::sqrt(0.25 * (e.sxx - e.syy) * (e.sxx - e.syy) + e.txy * e.txy);
            const double s1 = c + r, s2 = c - r;
            const double theta = 0.5 * std::atan2(2 * e.txy, e.sxx - e.syy);
            const C3DPoint p0(e.corner[0][0], e.corner[0][1], e.corner[0][2]);
            const C3DPoint p1(e.corner[1][0], e.corner[1][1], e.corner[1][2]);
            const C3DPoint p2(e.corner[2][0], e.corner[2][1], e.corner[2][2]);
            const C3DPoint p3(e.corner[3][0], e.corner[3][1], e.corner[3][2]);
            const C3DPoint z = Unit(Cross(p2 - p0, p3 - p1));
            const C3DPoint x0 = Unit(p1 - p0), y0 = Cross(z, x0);
            const double b = e.beta * M_PI / 180.0;
            const C3DPoint x = x0 * std::cos(b) + y0 * std::sin(b), y = y0 * std::cos(b) - x0 * std::sin(b);
            const C3DPoint d1 = x * std::cos(theta) + y * std::sin(theta);
            const C3DPoint d2 = y * std::cos(theta) - x * std::sin(theta);

            E().arrows.clear();
            CRecordDC dc;
            ASSERT_TRUE(dc.Create());
            ASSERT_EQ(E().DoPStrsElementVector(&dc, e.key), 1);
            ASSERT_EQ(E().arrows.size(), 2u);
            const C3DPoint a1 = E().arrows[0].tip - E().arrows[0].base;
            const C3DPoint a2 = E().arrows[1].tip - E().arrows[1].base;
            const double tol = 1e-9 * (1.0 + std::fabs(s1) + std::fabs(s2));
            EXPECT_NEAR(a1.x, std::fabs(s1) * d1.x, tol);
            EXPECT_NEAR(a1.y, std::fabs(s1) * d1.y, tol);
            EXPECT_NEAR(a1.z, std::fabs(s1) * d1.z, tol);
            EXPECT_NEAR(a2.x, std::fabs(s2) * d2.x, tol);
            EXPECT_NEAR(a2.y, std::fabs(s2) * d2.y, tol);
            EXPECT_NEAR(a2.z, std::fabs(s2) * d2.z, tol);

            // The values of the two principal components at the centre.
            T_STRP_DL rec;
            ASSERT_TRUE(E().GetPlateStress(e.key, rec));
            E().m_nComponent = 3;
            EXPECT_NEAR(E().CalcPStrsValue(rec, 0, 0), s1, tol);
            E().m_nComponent = 4;
            EXPECT_NEAR(E().CalcPStrsValue(rec, 0, 0), s2, tol);
            E().m_nComponent = 7;
        }

        // The centre labels of sigma-1: the element's label sits at its centre on the screen.
        E().m_nComponent = 3;
        ASSERT_EQ(E().InitEngine(nullptr, PVXMode::kPlateStress), 1);
        E().m_nNumberPos = 1;
        CRecordDC dc;
        ASSERT_TRUE(dc.Create());
        E().OutputPStrsNumbers(&dc);
        for (const ElementStress& e : elems) {
            SCOPED_TRACE(::testing::Message() << "label of element " << e.key);
            C3DPoint centre;
            centre.Init();
            for (const auto& k : e.corner) centre = centre + C3DPoint(k[0], k[1], k[2]) * 0.25;
            const CPoint at = M().Get3DPtTo2DPt(&centre);
            const double s1 =
                0.5 * (e.sxx + e.syy) + std::sqrt(0.25 * (e.sxx - e.syy) * (e.sxx - e.syy) + e.txy * e.txy);
            char want[64];
            std::snprintf(want, sizeof want, "%.3f", s1);
            bool found = false;
            for (const GdiRecord* t : dc.GetRecords("TextOut"))
                if (t->Arg(0) == at.x && t->Arg(1) == at.y && t->text == want) found = true;
            EXPECT_TRUE(found) << "no label " << want << " at " << at.x << ", " << at.y;
        }
    }
}

}  // namespace
