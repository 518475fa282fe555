// The plate and wall force displays on the generated sample project: their extremes against the
// sample's closed forms and against its database read directly, and pvxhost drawing modes 8, 9
// and 10.
#include <sys/wait.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"
#include "host/db/CMDBCtrl.h"
#include "module/model/PVXModes.h"
#include "tests/module/SampleModelFixture.h"
#include "tests/module/wallplate/WallPlateTestSupport.h"

namespace wallplatetest {
namespace {

std::string SamplePath() { return std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb"; }

// The sample's shear wall: panels of 25 kN/m3 x 0.25 m x 6 m x 3.6 m = 135 kN, three storeys.
constexpr double kPanelWeight = 135.0;
constexpr double kWallLength = 6.0;

class WallPlateSampleTest : public SampleModelFixture {
protected:
    void SetUp() override {
        OpenSampleModel();
        if (HasFatalFailure()) return;
        I_PVXModel& m = *m_model;
        SelectModelLoad(m, 1, 1, 0);  // DL
        ASSERT_EQ(m.m_bResultDataReady, 1);
    }
    CDataBase& DB() { return *m_doc.GetMDBCtrl()->GetDBPost(); }
};

TEST_F(WallPlateSampleTest, WallPlatesCarryTheWeightOfThePanelsAbove) {
    // Fyy of the wall panels is N / L: -3 x 135 / 6 = -67.5 kN/m at the foot of the wall, 0 at
    // its top.
    CForceEngine e(m_model.get());
    e.m_nPForcComp = 1;
    e.m_bPlateShowTG = 0;
    ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kPlateForce), 1);
    EXPECT_NEAR(e.m_dLegendMin, -3.0 * kPanelWeight / kWallLength, 1e-9);
    EXPECT_NEAR(e.m_dLegendMax, 0.0, 1e-9);

    // Averaged: the floor between storeys 1 and 2 is the top of one panel and the foot of the
    // next, both -2 x 135 / 6 = -45: the mean is -45 in both panels.
    CForceEngine a(m_model.get());
    a.m_nPForcComp = 1;
    a.m_bPAverageNodal = 1;
    ASSERT_EQ(a.InitEngine(nullptr, PVXMode::kPlateForce), 1);
    int corners = 0;
    for (INT_PTR i = 0; i < a.m_arrElemKey.GetSize(); ++i) {
        T_PVX_SBEM_D sb;
        T_STRP_DL rec;
        if (!a.GetSbemD(a.m_arrElemKey[i], sb) || !a.GetPlateForce(a.m_arrElemKey[i], rec)) continue;
        for (INT_PTR k = 0; k < sb.m_arrNode.GetSize() && k < 4; ++k) {
            if (std::fabs(sb.m_arrNode[k].z - 3.6) > 1e-9 || std::fabs(sb.m_arrNode[k].x) > 1e-9) continue;
            EXPECT_NEAR(rec.blk[k + 1][15], -2.0 * kPanelWeight / kWallLength, 1e-9);
            ++corners;
        }
    }
    EXPECT_EQ(corners, 4) << "two corners of each of the two panels";
}

TEST_F(WallPlateSampleTest, PlateExtremesAreTheDatabasesCorners) {
    // Fxx over the corner blocks of every wall (209, 210) and T-girder (204) element with plate
    // forces under DL, read straight from the tables.
    CDataBase& db = DB();
    double hi = -DBL_MAX, lo = DBL_MAX;
    const auto& membs = db.Table<DBT_PMEMB>();
    for (UINT key : membs.Keys()) {
        const T_PMEMB_D* m = membs.Find(key);
        if (!m || (m->type != 204 && m->type != 209 && m->type != 210)) continue;
        for (INT_PTR i = 0; i < m->aElem.GetSize(); ++i) {
            const T_STRP_DL* r = db.Table<DBT_STRP>().Find(1, m->aElem[i]);
            if (!r) continue;
            for (int b = 1; b <= 4; ++b) {
                hi = std::max(hi, r->blk[b][14]);
                lo = std::min(lo, r->blk[b][14]);
            }
        }
    }
    ASSERT_GT(hi, lo);
    CForceEngine e(m_model.get());
    ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kPlateForce), 1);
    EXPECT_DOUBLE_EQ(e.m_dLegendMax, hi);
    EXPECT_DOUBLE_EQ(e.m_dLegendMin, lo);
}

TEST_F(WallPlateSampleTest, WallForcesMatchTheWallTable) {
    // Axial force of the wall columns: the foot of the wall carries its three panels, -405 kN;
    // each wall column's blocks are the STRW levels of its member at the bottom and the top.
    CForceEngine e(m_model.get());
    e.m_nWForcComp = 0;
    ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kWallForceContour), 1);
    EXPECT_NEAR(e.m_dLegendMin, -3.0 * kPanelWeight, 1e-9);
    EXPECT_NEAR(e.m_dLegendMax, 0.0, 1e-9);
    ASSERT_EQ(e.m_arrWColmKey.GetSize(), 3);
    ASSERT_EQ(e.m_arrWBeamKey.GetSize(), 1);
    CDataBase& db = DB();
    for (INT_PTR i = 0; i < e.m_arrWColmKey.GetSize(); ++i) {
        const UINT key = e.m_arrWColmKey[i];
        SCOPED_TRACE(key);
        const T_PWALL_D* w = db.Table<DBT_PWALL>().Find(key);
        ASSERT_NE(w, nullptr);
        const T_STRW_D* s = db.Table<DBT_STRW>().Find(1, w->resultNo);
        ASSERT_NE(s, nullptr);
        T_MBCL_D c;
        ASSERT_TRUE(e.GetWallDataC(key, c));
        EXPECT_DOUBLE_EQ(c.d[0][0], s->d[0][0]);
        EXPECT_DOUBLE_EQ(c.d[1][0], s->d[2][0]);
    }
    // The wall beam: its moment y at the ends is the fixed-end moment -W L / 12 = -67.5.
    T_STRG_D b;
    ASSERT_TRUE(e.GetWallDataB(e.m_arrWBeamKey[0], b));
    EXPECT_NEAR(b.d[4], -kPanelWeight * kWallLength / 12.0, 1e-9);
    EXPECT_NEAR(b.d[12 * 7 + 6 + 4], -kPanelWeight * kWallLength / 12.0, 1e-9);
}

// ---- the host program ------------------------------------------------------------------------------

std::string Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

int RunHost(const std::string& args, const std::string& tag, std::string& err, const std::string& db = SamplePath()) {
    const std::string base = std::string(PVX_TEST_TMPDIR) + "/wallplate_" + tag;
    const std::string cmd = std::string(PVX_BINARY_DIR) + "/bin/pvxhost --db " + db + " " + args + " >" + base +
                            ".out 2>" + base + ".err";
    const int status = std::system(cmd.c_str());
    err = Slurp(base + ".err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(WallPlateHostTest, PvxhostDrawsModes8To10) {
    const std::string tmp = PVX_TEST_TMPDIR;
    std::string err;
    ASSERT_EQ(RunHost("render --view iso --size 400x300 --out " + tmp + "/wallplate_plain.bmp", "plain", err), 0) << err;
    const std::string plain = Slurp(tmp + "/wallplate_plain.bmp");
    struct Row {
        const char* label;
        const char* args;
    } const rows[] = {
        {"wall contour", "--mode 8 --component N"},
        {"wall diagram", "--mode wall-force-diagram --component MY --option numbers=1"},
        {"plate forces", "--mode 10 --component FYY --option numbers=1"},
        {"plate vectors", "--mode plate-force --component FVECTOR --load WX"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string out = tmp + "/wallplate_mode.bmp";
        std::remove(out.c_str());
        EXPECT_EQ(RunHost(std::string("render --view iso --size 400x300 --out ") + out + " " + r.args, "mode", err), 0) << err;
        EXPECT_EQ(err.find("not built"), std::string::npos) << err;
        const std::string shown = Slurp(out);
        ASSERT_EQ(shown.size(), plain.size());
        EXPECT_NE(shown, plain) << "the result is drawn over the model";
    }
}

TEST(WallPlateHostTest, AProjectWithoutWallForcesSaysSo) {
    // Walls with plate forces but no wall-column or wall-beam forces: the wall modes are refused
    // with the missing results named (exit 1); the plate mode draws.
    const std::string tmp = PVX_TEST_TMPDIR;
    const std::string path = tmp + "/wallplate_no_wall_forces.pvxdb";
    PostDBBuilder b;
    FillWallPlateProject(b, 0);
    ASSERT_TRUE(b.Save(path.c_str())) << b.GetLastError();
    std::string err;
    for (const char* mode : {"8", "9"}) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(RunHost(std::string("render --out ") + tmp + "/wallplate_x.bmp --mode " + mode, "nowall", err, path), 1);
        EXPECT_NE(err.find("no wall forces for \"DL\""), std::string::npos) << err;
    }
    EXPECT_EQ(RunHost("render --out " + tmp + "/wallplate_x.bmp --mode 10", "nowall", err, path), 0) << err;
}

}  // namespace
}  // namespace wallplatetest
