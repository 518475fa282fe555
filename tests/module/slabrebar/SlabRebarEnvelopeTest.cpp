// The design envelope of one slab member over the design combinations, from a project built in
// code: combinations without a design are passed over, ties keep the earlier value, and edge
// lists of different lengths are merged without reading past the shorter one. Then pvxhost
// drawing modes 17, 18 and 20 on the sample.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/db/CSlabDetailDgn.h"
#include "host/db/PostDBBuilder.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"

namespace {

constexpr UINT kSlab = 7;

std::vector<double> ToVector(const CArray<double, double>& a) {
    std::vector<double> v;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) v.push_back(a[i]);
    return v;
}

// One design of the member under combination comb: centre results a, b and the edge lists.
void AddDesign(PostDBBuilder& b, UINT comb, double a, double bb, std::vector<double> top, std::vector<double> bottom) {
    T_SLDG_D d;
    d.resultA = a;
    d.resultB = bb;
    for (double v : top) {
        d.aResultA.Add(v);
        d.aForceA.Add(-v / 10.0);
    }
    for (double v : bottom) {
        d.aResultB.Add(v);
        d.aForceB.Add(v / 10.0);
    }
    d.forceA = a / 10.0;
    d.forceB = bb / 10.0;
    b.AddResult<DBT_SLDG>(comb, kSlab, d);
}

class SlabRebarEnvelopeTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        // Combinations 201..204 in this table order; 201 has no design of the member.
        for (UINT c : {201u, 202u, 203u, 204u})
            b.AddLoadComb(c, PLCOM_LINEAR, ("C" + std::to_string(c)).c_str(), {T_PLCOM_ENTRY{PLOAD_STATIC, 1, 1.0}});
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        AddDesign(b, 202, 100.0, -50.0, {10.0, -20.0}, {5.0, 6.0, 7.0});
        // A tie of magnitude (-100 against 100) keeps the earlier; longer lists than 202's.
        AddDesign(b, 203, -100.0, 80.0, {-10.0, 30.0, 40.0, 4.0}, {-9.0, 1.0});
        AddDesign(b, 204, 50.0, -80.0, {15.0, 20.0, -50.0}, {2.0, 2.0, 2.0, 8.0});
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        m_model->m_nLoadType = 12;
    }
    void TearDown() override {
        m_model.reset();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    std::unique_ptr<I_PVXModel> m_model;
};

TEST_F(SlabRebarEnvelopeTest, LargestMagnitudePerPlace) {
    struct Row {
        const char* label;
        int count;  // design combinations enveloped
        int ok;
        double a, b;
        std::vector<double> top, bottom;
    } const rows[] = {
        {"combination 1 has no design: none", 1, 0, 0, 0, {}, {}},
        {"from combination 2 on", 2, 1, 100.0, -50.0, {10.0, -20.0}, {5.0, 6.0, 7.0}},
        // a: |-100| ties 100, the earlier stays; top[2] and [3] only in 203; bottom[2] only
        // in 202 stays 7.
        {"ties keep the earlier, longer lists extend", 3, 1, 100.0, 80.0, {10.0, 30.0, 40.0, 4.0}, {-9.0, 6.0, 7.0}},
        {"all four", 4, 1, 100.0, 80.0, {15.0, 30.0, -50.0, 4.0}, {-9.0, 6.0, 7.0, 8.0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CForceEngine e(m_model.get());
        e.m_nSRbarType10Count = r.count;
        double a = 0.0, b = 0.0;
        CArray<double, double> top, bottom;
        ASSERT_EQ(e.GetSRbarMembEnvelope(kSlab, a, b, top, bottom), r.ok);
        if (!r.ok) continue;
        EXPECT_EQ(a, r.a);
        EXPECT_EQ(b, r.b);
        EXPECT_EQ(ToVector(top), r.top);
        EXPECT_EQ(ToVector(bottom), r.bottom);
    }
    // Under a single combination there is no envelope.
    m_model->m_nLoadType = 11;
    CForceEngine e(m_model.get());
    e.m_nSRbarType10Count = 4;
    double a = 0.0, b = 0.0;
    CArray<double, double> top, bottom;
    EXPECT_EQ(e.GetSRbarMembEnvelope(kSlab, a, b, top, bottom), 0);
}

TEST_F(SlabRebarEnvelopeTest, DesignObjectGivesResultsOnlyForTheForcesHandedOver) {
    CSlabDetailDgn d;
    EXPECT_EQ(d.GetDesignLcomKey(1), 201u);
    EXPECT_EQ(d.GetDesignLcomKey(4), 204u);
    EXPECT_EQ(d.GetDesignLcomKey(5), 0u);
    EXPECT_EQ(d.GetDesignLcomKey(0), 0u);
    double fA = 0, fB = 0, rA = 0, rB = 0, third = 0;
    CArray<double, double> arrA, arrB, resA, resB;
    EXPECT_EQ(d.Get_MembDgnForce(kSlab, 1, fA, fB, arrA, arrB, 1), 0) << "no design under 201";
    ASSERT_EQ(d.Get_MembDgnForce(kSlab, 2, fA, fB, arrA, arrB, 1), 1);
    EXPECT_EQ(fA, 10.0);
    // Other forces than the member's are not designed here; nor a result asked for another
    // combination than the one whose forces were handed over.
    EXPECT_EQ(d.Set_MembDgnForce(fA + 1.0, fB, arrA, arrB, 0.0), 0);
    EXPECT_EQ(d.Get_MembDgnResult(kSlab, 2, rA, rB, resA, resB, third), 0);
    ASSERT_EQ(d.Get_MembDgnForce(kSlab, 2, fA, fB, arrA, arrB, 1), 1);
    ASSERT_EQ(d.Set_MembDgnForce(fA, fB, arrA, arrB, 0.0), 1);
    EXPECT_EQ(d.Get_MembDgnResult(kSlab, 3, rA, rB, resA, resB, third), 0);
    ASSERT_EQ(d.Get_MembDgnResult(kSlab, 2, rA, rB, resA, resB, third), 1);
    EXPECT_EQ(rA, 100.0);
    EXPECT_EQ(ToVector(resB), (std::vector<double>{5.0, 6.0, 7.0}));
    // A design list of its own replaces the project's combinations.
    d.m_arrLcomKey.Add(204);
    EXPECT_EQ(d.GetDesignLcomKey(1), 204u);
    EXPECT_EQ(d.GetDesignLcomKey(2), 0u);
}

// ---- the host program ------------------------------------------------------------------------------

std::string Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// Captures of pvxhost's streams, one pair per test: ctest runs the tests of this program at once.
std::string HostBase() {
    return std::string(PVX_TEST_TMPDIR) + "/slabrebar_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

int RunHost(const std::string& args, std::string& err) {
    const std::string base = HostBase();
    const std::string cmd = std::string(PVX_BINARY_DIR) + "/bin/pvxhost " + args + " >" + base + ".out 2>" + base + ".err";
    const int status = std::system(cmd.c_str());
    err = Slurp(base + ".err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SlabRebarHostTest, PvxhostDrawsModes17To20) {
    const std::string tmp = PVX_TEST_TMPDIR;
    std::string err;
    const std::string plainPath = tmp + "/slabrebar_plain.bmp";
    ASSERT_EQ(RunHost("render --view plan --size 400x300 --out " + plainPath, err), 0) << err;
    const std::string plain = Slurp(plainPath);
    struct Row {
        const char* label;
        const char* args;
        bool differs;  // a result drawn over the model
    } const rows[] = {
        {"reinforcement numbers of the design envelope", "--mode slab-rebar --load ENV", true},
        {"top face only", "--mode 17 --load ENV --option rebar-bottom=0", true},
        {"crack: the plain model", "--mode slab-crack --option legend=0", false},
        {"slab walls: cuts and moments", "--mode slab-wall", true},
        {"slab walls: reinforcement over 2 m cuts", "--mode 20 --load LL --option wall-width=2 --option wall-value=2", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string out = tmp + "/slabrebar_mode.bmp";
        std::remove(out.c_str());
        ASSERT_EQ(RunHost("render --view plan --size 400x300 --out " + out + " " + r.args, err), 0) << err;
        EXPECT_EQ(err.find("not built"), std::string::npos) << err;
        const std::string shown = Slurp(out);
        ASSERT_EQ(shown.size(), plain.size());
        EXPECT_EQ(shown != plain, r.differs);
    }
    // A cut needs a length.
    EXPECT_NE(RunHost("render --out " + tmp + "/slabrebar_x.bmp --mode 20 --option wall-width=0", err), 0);
}

// Reinforcement per member has no single range (the legend gives the top and the bottom maxima
// apart): pvxhost prints no extremes for it, rather than 0 at a member.
TEST(SlabRebarHostTest, PvxhostPrintsNoRangeForTheReinforcementPerMember) {
    const std::string tmp = PVX_TEST_TMPDIR;
    std::string err;
    ASSERT_EQ(RunHost("render --view plan --size 400x300 --out " + tmp + "/slabrebar_nr.bmp --mode slab-rebar --load ENV",
                      err),
              0)
        << err;
    const std::string out = Slurp(HostBase() + ".out");
    EXPECT_NE(out.find("Wrote "), std::string::npos) << out;
    EXPECT_EQ(out.find("max "), std::string::npos) << out;
    EXPECT_EQ(out.find("min "), std::string::npos) << out;
}

// The extremes pvxhost prints for the slab walls are the numbers written at the wall ends, named
// by their wall: under WX the first wall (table order) carries -m at its first end and +m at its
// last (SWDF read directly), and a cut of 1 m writes m x 1.
TEST(SlabRebarHostTest, PvxhostPrintsTheWallEndExtremes) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2((std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb").c_str(), &db,
                              SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "SELECT w.key, s.m FROM PMEMB w JOIN PSTLD l ON l.name = 'WX' JOIN SWDF s "
                                 "ON s.id = (l.key << 32) + w.key WHERE w.type = 202 ORDER BY w.seq LIMIT 1",
                                 -1, &st, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    const unsigned wall = static_cast<unsigned>(sqlite3_column_int64(st, 0));
    double m[2] = {0.0, 0.0};
    ASSERT_EQ(sqlite3_column_bytes(st, 1), static_cast<int>(sizeof m));
    std::memcpy(m, sqlite3_column_blob(st, 1), sizeof m);
    sqlite3_finalize(st);
    sqlite3_close(db);
    ASSERT_LT(m[0], 0.0);
    ASSERT_GT(m[1], 0.0);

    const std::string tmp = PVX_TEST_TMPDIR;
    std::string err;
    ASSERT_EQ(RunHost("render --view plan --size 400x300 --out " + tmp + "/slabrebar_ext.bmp --mode 20 --load WX", err),
              0)
        << err;
    std::istringstream out(Slurp(HostBase() + ".out"));
    int seen = 0;
    for (std::string line; std::getline(out, line);) {
        const bool isMax = line.rfind("max ", 0) == 0, isMin = line.rfind("min ", 0) == 0;
        if (!isMax && !isMin) continue;
        SCOPED_TRACE(line);
        const size_t open = line.find('('), at = line.find(" at member ");
        ASSERT_NE(open, std::string::npos);
        ASSERT_NE(at, std::string::npos);
        EXPECT_NEAR(std::strtod(line.c_str() + open + 1, nullptr), isMax ? m[1] : m[0], 1e-12);
        EXPECT_EQ(std::strtoul(line.c_str() + at + 11, nullptr, 10), wall);
        ++seen;
    }
    EXPECT_EQ(seen, 2);
}

}  // namespace
