// pvxhost render --mode principal-stress on the sample project: the extremes it prints against
// the project file read with SQLite, the cutting line of --cut drawn in the diagram colour, and
// the misuse of --cut refused.
#include <sqlite3.h>
#include <sys/wait.h>

#include <cfloat>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/BmpFile.h"
#include "tests/module/ModuleTestSupport.h"
#include "tests/module/stress/StressTestSupport.h"

namespace {

using moduletest::HostRun;

HostRun RunHost(const std::string& args, const std::string& tag) {
    return moduletest::RunHost(args, "stress_host_" + tag);
}

// The number in parentheses after "max " or "min " in pvxhost's output.
double Printed(const std::string& out, const char* word, UINT& key) {
    const size_t at = out.find(word);
    if (at == std::string::npos) return NAN;
    double v = NAN;
    unsigned k = 0;
    const size_t open = out.find('(', at);
    std::sscanf(out.c_str() + open, "(%lf) at element %u", &v, &k);
    key = k;
    return v;
}

long CountColour(const std::vector<COLORREF>& pixels, COLORREF c) {
    long n = 0;
    for (COLORREF p : pixels) n += p == c;
    return n;
}

class StressHostTest : public ::testing::Test {};

TEST_F(StressHostTest, PrintedExtremesAreThoseOfTheProjectFile) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    // Effective stress (the default component) of the first surface at the corners of every
    // plate of load case DL (1): STRP.blk value 6 of blocks 1 to 4 of the wall and T-girder
    // plates (element types 204, 209, 210); rafts and slabs have displays of their own.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(sample.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    const char* sql =
        "SELECT id & 4294967295, blk FROM STRP WHERE (id >> 32) = 1 AND (id & 4294967295) IN "
        "(SELECT key FROM PELEM WHERE type IN (204, 209, 210))";
    ASSERT_EQ(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), SQLITE_OK);
    double vmax = -DBL_MAX, vmin = DBL_MAX;
    UINT kmax = 0, kmin = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        double blk[150];
        ASSERT_EQ(sqlite3_column_bytes(st, 1), static_cast<int>(sizeof blk));
        std::memcpy(blk, sqlite3_column_blob(st, 1), sizeof blk);
        const UINT key = static_cast<UINT>(sqlite3_column_int64(st, 0));
        double emax = -DBL_MAX, emin = DBL_MAX;
        for (int p = 1; p <= 4; ++p) {
            emax = std::max(emax, blk[30 * p + 6]);
            emin = std::min(emin, blk[30 * p + 6]);
        }
        if (emax > vmax) vmax = emax, kmax = key;
        if (emin < vmin) vmin = emin, kmin = key;
    }
    sqlite3_finalize(st);
    sqlite3_close(db);

    const std::string out = std::string(PVX_TEST_TMPDIR) + "/stress_host.bmp";
    const HostRun h =
        RunHost("--db " + sample + " render --mode principal-stress --load DL --size 400x300 --out " + out, "extremes");
    ASSERT_EQ(h.exitCode, 0) << h.err;
    EXPECT_EQ(h.err.find("not built"), std::string::npos) << h.err;
    UINT key = 0;
    EXPECT_NEAR(Printed(h.out, "max ", key), vmax, 1e-9 * std::fabs(vmax)) << h.out;
    EXPECT_EQ(key, kmax);
    EXPECT_NEAR(Printed(h.out, "min ", key), vmin, 1e-9 * std::fabs(vmin)) << h.out;
    EXPECT_EQ(key, kmin);
}

TEST_F(StressHostTest, CutDrawsItsDiagramAndIsCheckedFirst) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string plain = std::string(PVX_TEST_TMPDIR) + "/stress_host_plain.bmp";
    const std::string cut = std::string(PVX_TEST_TMPDIR) + "/stress_host_cut.bmp";
    HostRun h;
    // Plan cuts cross the slabs: the displacement contour draws along them (the stress display
    // shows walls and T-girders, which a plan cut meets edge on).
    for (const char* mode : {"displacement-contour"}) {
        SCOPED_TRACE(mode);
        // Contours off: the model is drawn plainly in its member colours, none of them red.
        const std::string common = "--db " + sample + " render --view plan --size 400x300 --mode " + mode +
                                   " --option contour=0 ";
        h = RunHost(common + "--out " + plain, "plain");
        ASSERT_EQ(h.exitCode, 0) << h.err;
        h = RunHost(common + "--cut 0,7,24,7 --cut=12,-1,12,19 --out " + cut, "cut");
        ASSERT_EQ(h.exitCode, 0) << h.err;
        std::vector<COLORREF> a, b;
        int w = 0, ht = 0;
        ASSERT_TRUE(ReadBmp(plain.c_str(), a, w, ht));
        ASSERT_TRUE(ReadBmp(cut.c_str(), b, w, ht));
        // The view-direction icon has red too; the diagrams add theirs.
        EXPECT_GT(CountColour(b, RGB(255, 0, 0)), CountColour(a, RGB(255, 0, 0)) + 100) << "the two diagrams in red";
    }

    struct Row {
        const char* label;
        std::string args;
        const char* says;
    } rows[] = {
        {"without a mode", "--cut 0,0,1,1", "--cut needs --mode"},
        {"a mode without cutting lines", "--mode reactions --cut 0,0,1,1", "draws no cutting-line diagrams"},
        {"three numbers", "--mode 11 --cut 0,0,1", "takes X1,Y1,X2,Y2"},
        {"a word", "--mode 11 --cut 0,0,1,x", "takes X1,Y1,X2,Y2"},
        {"one point twice", "--mode 11 --cut 2,3,2,3", "two different points"},
        {"far away", "--mode 11 --cut 0,0,2e9,0", "within 1e9"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        h = RunHost("--db " + sample + " render --out " + cut + " " + r.args, "bad");
        EXPECT_EQ(h.exitCode, 2) << h.err;
        EXPECT_NE(h.err.find(r.says), std::string::npos) << h.err;
    }
}

}  // namespace
