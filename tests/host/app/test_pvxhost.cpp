// The pvxhost program: its command line, the sample project it writes and what info reports.
// Runs the built program; reads the written project back through the database.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "host/db/CDataBase.h"
#include "tests/CommandOutput.h"
#include "tests/host/app/HostRun.h"

namespace {

TEST(PvxHostTest, BadArgumentsFailWithAMessage) {
    const std::string text = hostrun::kTmp + "/not_a_project_" + hostrun::kPid + ".pvxdb";
    const std::string x = hostrun::kTmp + "/x_" + hostrun::kPid + ".pvxdb";
    {
        std::ofstream f(text);
        f << "this is not a project database\n";
    }
    struct Row {
        const char* label;
        std::string args;
        int code;
        const char* message;
    } rows[] = {
        {"no command", "", 2, "no command"},
        {"unknown command", "frobnicate", 2, "unknown command"},
        {"unknown option", "--frobnicate info", 2, "unknown option"},
        {"--db without a file", "--db", 2, "--db needs a value"},
        {"make-sample without --out", "make-sample", 2, "--out FILE.pvxdb is required"},
        {"--out without a value", "make-sample --out", 2, "needs a value"},
        {"size zero", "make-sample --out '" + x + "' --size 0", 2, "--size expects a whole number"},
        {"size not a number", "make-sample --out '" + x + "' --size abc", 2, "not \"abc\""},
        {"size with trailing text", "make-sample --out '" + x + "' --size 12x", 2, "not \"12x\""},
        {"size too large", "make-sample --out '" + x + "' --size 99999999999", 2, "--size expects"},
        {"unknown make-sample argument", "make-sample --out '" + x + "' --colour red", 2, "unknown option"},
        {"info takes no arguments", "--db '" + hostrun::SamplePath() + "' info extra", 2, "unexpected argument"},
        {"missing project", "--db '" + hostrun::kTmp + "/no_such_project.pvxdb' info", 1, "cannot open project"},
        {"a text file", "--db '" + text + "' info", 1, "cannot open project"},
        {"output below a plain file", "make-sample --out '" + text + "/x.pvxdb'", 1, "cannot"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const hostrun::RunResult res = hostrun::RunHost(r.args, "bad");
        EXPECT_EQ(res.code, r.code) << res.err;
        EXPECT_NE(res.err.find(r.message), std::string::npos) << "stderr was: " << res.err;
        EXPECT_TRUE(res.out.empty() || r.code == 0) << res.out;
    }
    std::remove(text.c_str());
    std::remove(x.c_str());

    // A missing output directory is made.
    const std::string nested = hostrun::kTmp + "/made_by_make_sample_" + hostrun::kPid + "/examples/s.pvxdb";
    const hostrun::RunResult made = hostrun::RunHost("make-sample --out '" + nested + "'", "nested");
    EXPECT_EQ(made.code, 0) << made.err;
    EXPECT_TRUE(std::ifstream(nested).good());
    std::filesystem::remove_all(hostrun::kTmp + "/made_by_make_sample_" + hostrun::kPid);
}

TEST(PvxHostTest, HelpListsTheCommands) {
    const hostrun::RunResult r = hostrun::RunHost("--help", "help");
    EXPECT_EQ(r.code, 0);
    for (const char* word : {"--db FILE", "info", "make-sample --out FILE.pvxdb [--size N]", "closed-form", "SAMPLE DATA"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word << " missing from:\n" << r.out;
    EXPECT_TRUE(r.err.empty());
}

TEST(PvxHostTest, InfoReportsTheSampleProject) {
    const hostrun::RunResult r = hostrun::RunHost("--db '" + hostrun::SamplePath() + "' info", "info");
    ASSERT_EQ(r.code, 0) << r.err;
    const auto m = hostrun::ParseReport(r.out);
    // Element types named after their codes (101 column, 201 and 205 beams, 200 line member,
    // 204 plane element with beam forces, 206 truss, 209 wall column, 210 wall beam, 301, 302
    // and 305 plates and slabs). The default sample, counted by hand: raft 16 x 12 plates
    // (17 x 13 nodes = 221), 20 column grid points on 3 floors (60), 20 pile tips, 5 grade-beam
    // bottoms, annex 2 footings, a truss of 2 x 5 nodes, the 9 nodes of the strip footing and
    // the 7 inner nodes of the balcony beam's 8 elements, and the 2 x 5 top nodes of the two walls
    // on the raft: 344 nodes.
    struct Row {
        const char* key;
        const char* value;
    } rows[] = {
        {"Nodes", "344"},
        // raft
        {"Elements of type 301 (plate or slab)", "192"},
        // 20 columns x 3 storeys + 2 annex columns
        {"Elements of type 101 (column)", "62"},
        // 31 beams on each of 2 floors (16 along x, 15 along y), 8 of the strip footing, 8 of the
        // balcony beam
        {"Elements of type 201 (beam)", "78"},
        // roof beams
        {"Elements of type 205 (beam)", "31"},
        // the tie beam
        {"Elements of type 200 (line member)", "1"},
        // 20 piles
        {"Elements of type 403 (pile)", "20"},
        // truss: 4 + 4 chords, 5 posts, 4 diagonals
        {"Elements of type 206 (truss)", "17"},
        // shear wall panels
        {"Elements of type 209 (wall column)", "3"},
        // spandrel
        {"Elements of type 210 (wall beam)", "1"},
        // the two walls on the raft, 4 panels each
        {"Elements of type 202 (other)", "8"},
        // grade beams
        {"Elements of type 204 (plane element with beam forces)", "4"},
        // floor slabs, 12 bays x 2
        {"Elements of type 302 (plate or slab)", "24"},
        // roof slabs
        {"Elements of type 305 (plate or slab)", "12"},
        {"Elements", "453"},
        // every element but the raft plates, the strip's and the balcony's, plus the raft, the
        // strip, the balcony and the two walls on the raft, and the three foundation beam members
        // of type 201 (over the first grade beam, the annex tie and, of rib kind, the second
        // grade beam)
        {"Members", "245"},
        {"Load cases", "5"},
        {"Load case 4", "THX (time history)"},
        {"Load case 5", "SETTLE (settlement)"},
        {"Combinations", "5"},
        {"Combination 110", "ENV (envelope, 4 terms)"},
        {"Displacements", "DL, LL, WX, THX, SETTLE"},
        {"Reactions", "DL, LL, WX, THX"},
        {"Member forces", "DL, LL, WX"},
        {"Plate forces", "DL, LL, WX"},
        {"Wall forces", "DL, LL, WX"},
        {"Truss forces", "DL, LL, WX"},
        {"Modes", "6 (mode shapes for 6)"},
        {"Time history", "THX"},
        {"Settlement load cases", "SETTLE"},
    };
    for (const Row& row : rows) {
        auto it = m.find(row.key);
        ASSERT_NE(it, m.end()) << row.key << " missing from:\n" << r.out;
        EXPECT_EQ(it->second, row.value) << row.key;
    }
    // The program's own steps only when asked for.
    EXPECT_EQ(r.out.find("loaded"), std::string::npos) << r.out;
    const hostrun::RunResult verbose = hostrun::RunHost("--db '" + hostrun::SamplePath() + "' info --verbose", "info_v");
    ASSERT_EQ(verbose.code, 0) << verbose.err;
    EXPECT_NE(verbose.out.find("Module: qsn_pvx loaded from"), std::string::npos) << verbose.out;
}

// Finds the element of a type whose first two nodes are at the given points.
UINT FindElement(CDataBase& db, int type, double x1, double y1, double z1, double x2, double y2, double z2) {
    const auto& elems = db.Table<DBT_PELEM>();
    const auto& nodes = db.Table<DBT_PNODE>();
    auto at = [&](UINT k, double x, double y, double z) {
        const T_PNODE_D* n = nodes.Find(k);
        return n && std::fabs(n->x - x) < 1e-9 && std::fabs(n->y - y) < 1e-9 && std::fabs(n->z - z) < 1e-9;
    };
    for (size_t i = 0; i < elems.Keys().size(); ++i) {
        const T_PELEM_D& e = elems.Records()[i];
        if (e.type == type && e.nNode >= 2 && at(e.node[0], x1, y1, z1) && at(e.node[1], x2, y2, z2)) return elems.Keys()[i];
    }
    return 0;
}

TEST(PvxHostTest, SampleResultsFollowTheirMechanics) {
    CDataBase db;
    ASSERT_TRUE(db.Open(hostrun::SamplePath().c_str())) << static_cast<LPCTSTR>(db.GetLastError());
    const auto& nodes = db.Table<DBT_PNODE>();
    const auto& reac = db.Table<DBT_REAC>();

    // Vertical reactions balance the loads, worked out by hand:
    //  DL: floors 5 + 5 + 4 kN/m2 and raft 25 kN/m2 over 24 x 18 m, 3 wall panels of
    //      25 x 0.25 x 6 x 3.6 = 135 kN, annex canopy 9 kN/m and tie beam 3.75 kN/m over 12 m:
    //      14 x 432 + 25 x 432 + 405 + 108 + 45 = 17406 kN; the strip footing: wall 10 kN/m and
    //      its own 25 x 1.0 x 0.6 = 15 kN/m over 24 m and two piers of 80 kN: 760 kN; 18166 kN.
    //  LL: (2 + 2 + 0.5 + 2) x 432 + 3 x 12 = 2844 kN, and 5 kN/m on the strip footing: 2964 kN.
    //  WX: 0.8 kN/m2 on 18 m wide storeys of 3.6, 3.6 and 1.8 m: 129.6 kN, resisted by -FX.
    //  The balcony beam adds its line load over its developed length: an arc of rise 1.5 m on a
    //  6 m chord has radius (3^2 + 1.5^2) / 3 = 3.75 m and length 2 x 3.75 x asin(3 / 3.75);
    //  DL 25 x 0.3 x 0.6 + 1.5 x 5 = 12 kN/m, LL 1.5 x 2 = 3 kN/m.
    const double balcony = 2.0 * 3.75 * std::asin(3.0 / 3.75);
    struct Sum {
        UINT lc;
        double fz, fx;
    } sums[] = {{1, 18166.0 + 12.0 * balcony, 0.0}, {2, 2964.0 + 3.0 * balcony, 0.0}, {3, 0.0, -129.6}};
    for (const Sum& s : sums) {
        SCOPED_TRACE(s.lc);
        double fz = 0.0, fx = 0.0;
        for (UINT k : nodes.Keys())
            if (const T_REAC_D* r = reac.Find(s.lc, k)) {
                fz += r->FZ;
                fx += r->FX;
            }
        EXPECT_NEAR(fz, s.fz, 1e-6 * std::max(1.0, s.fz));
        EXPECT_NEAR(fx, s.fx, 1e-9 * 1000);
    }

    // Interior floor beam along x on grid line y = 6 at level 1: 3 m of 5 kN/m2 gives
    // w = 15 kN/m over 6 m; fixed ends: -wL^2/12 = -45 at the ends, +wL^2/24 = 22.5 mid-span;
    // shear wL/2 = 45.
    const UINT beam = FindElement(db, 201, 6, 6, 3.6, 12, 6, 3.6);
    ASSERT_NE(beam, 0u);
    const T_MBWG_D* bf = db.Table<DBT_MBWG>().Find(1, beam);
    ASSERT_NE(bf, nullptr);
    EXPECT_NEAR(bf->d[0][4], -45.0, 1e-9);
    EXPECT_NEAR(bf->d[4][4], 22.5, 1e-9);
    EXPECT_NEAR(bf->d[8][4], -45.0, 1e-9);
    EXPECT_NEAR(bf->d[0][2], 45.0, 1e-9);
    EXPECT_NEAR(bf->d[8][2], -45.0, 1e-9);

    // Interior column of the first storey at (6, 6): 36 m2 of 5 + 5 + 4 kN/m2 = 504 kN.
    const UINT col = FindElement(db, 101, 6, 6, 0, 6, 6, 3.6);
    ASSERT_NE(col, 0u);
    const T_MBCL_D* cf = db.Table<DBT_MBCL>().Find(1, col);
    ASSERT_NE(cf, nullptr);
    EXPECT_NEAR(cf->d[0][0], -504.0, 1e-9);
    // Its storey shear under wind: 129.6 kN over 20 columns.
    const T_MBCL_D* cw = db.Table<DBT_MBCL>().Find(3, col);
    ASSERT_NE(cw, nullptr);
    EXPECT_NEAR(cw->d[0][1], 129.6 / 20, 1e-9);

    // Settlement of a flexible uniform load: the centre settles twice as much as a corner.
    UINT centre = 0, corner = 0;
    for (UINT k : nodes.Keys()) {
        const T_PNODE_D* n = nodes.Find(k);
        if (n->z != 0.0) continue;
        if (n->x == 12.0 && n->y == 9.0) centre = k;
        if (n->x == 0.0 && n->y == 0.0) corner = k;
    }
    ASSERT_NE(centre, 0u);
    ASSERT_NE(corner, 0u);
    const T_DISP_D* sc = db.Table<DBT_DISP>().Find(5, centre);
    const T_DISP_D* sk = db.Table<DBT_DISP>().Find(5, corner);
    ASSERT_TRUE(sc && sk);
    EXPECT_LT(sc->DZ, 0.0);
    EXPECT_NEAR(sc->DZ / sk->DZ, 2.0, 1e-9);

    // Shear-building modes: in each direction the periods of modes 1 and 2 are in the ratio
    // sin(3 pi / 14) / sin(pi / 14), and the participating masses add up to 100 %.
    const auto& freq = db.Table<DBT_FREQ>();
    const auto& mpam = db.Table<DBT_MPAM>();
    ASSERT_EQ(freq.Count(), 6u);
    for (int dir = 0; dir < 2; ++dir) {
        SCOPED_TRACE(dir);
        std::vector<double> periods;
        double mass = 0.0;
        for (UINT m : freq.Keys()) {
            const T_MPAM_D* p = mpam.Find(m);
            ASSERT_NE(p, nullptr);
            if (p->mass[dir] > 0.0) {
                periods.push_back(freq.Find(m)->period);
                mass += p->mass[dir];
            }
        }
        ASSERT_EQ(periods.size(), 3u);
        const double pi = 3.14159265358979323846;
        EXPECT_NEAR(periods[0] / periods[1], std::sin(3 * pi / 14) / std::sin(pi / 14), 1e-9);
        EXPECT_GT(periods[1], periods[2]);
        EXPECT_NEAR(mass, 100.0, 1e-9);
        EXPECT_NEAR(freq.Find(freq.Keys()[0])->period * freq.Find(freq.Keys()[0])->freq, 1.0, 1e-12);
    }
}

TEST(PvxHostTest, LargeRaftIsWritten) {
    const std::string p = hostrun::kTmp + "/test_sample_large_" + hostrun::kPid + ".pvxdb";
    const hostrun::RunResult r = hostrun::RunHost("make-sample --out '" + p + "' --size 100000", "large");
    ASSERT_EQ(r.code, 0) << r.err;
    // 12 k^2 >= 100000 first holds for k = 92: 368 x 276 plates.
    EXPECT_NE(r.out.find("368 x 276 plates (101568)"), std::string::npos) << r.out;
    const hostrun::RunResult info = hostrun::RunHost("--db '" + p + "' info", "large_info");
    EXPECT_EQ(info.code, 0) << info.err;
    EXPECT_EQ(hostrun::ParseReport(info.out)["Elements of type 301 (plate or slab)"], "101568");
    std::remove(p.c_str());
}

// A raft of more plates than a batch of faces has its bands cut on helper threads, handed out
// and waited for batch after batch: any number of them draws the picture one thread draws, and
// so do fewer when the system refuses threads (PVXHOST_FAULT).
TEST(PvxHostTest, HelperThreadsDrawTheOneThreadPicture) {
    const std::string p = hostrun::kTmp + "/test_sample_threads_" + hostrun::kPid + ".pvxdb";
    ASSERT_EQ(hostrun::RunHost("make-sample --out '" + p + "' --size 5000", "threads_make").code, 0);
    auto render = [&](const char* threads, const char* fault = nullptr) {
        const std::string out = hostrun::kTmp + "/test_threads_" + threads + "_" + hostrun::kPid + ".bmp";
        setenv("LP_NUM_THREADS", threads, 1);
        if (fault) setenv("PVXHOST_FAULT", fault, 1);
        const hostrun::RunResult r = hostrun::RunHost("--db '" + p + "' render --mode 2 --size 900x700 --out '" + out + "'", "threads");
        unsetenv("LP_NUM_THREADS");
        unsetenv("PVXHOST_FAULT");
        EXPECT_EQ(r.code, 0) << threads << ": " << r.err;
        std::string bytes = hostrun::ReadFile(out);
        std::remove(out.c_str());
        return bytes;
    };
    const std::string one = render("1");
    ASSERT_GT(one.size(), 900u * 700u * 3u);
    // Not one colour all over: the contour's bands are there.
    EXPECT_GT(std::count(one.begin() + 54, one.end(), '\0'), 0);
    EXPECT_NE(one.find_first_not_of(one[54], 54), std::string::npos);
    for (const char* threads : {"2", "3", "8"}) EXPECT_TRUE(render(threads) == one) << threads << " threads";
    for (const char* fault : {"threads-made-0", "threads-made-2"}) EXPECT_TRUE(render("8", fault) == one) << fault;
    std::remove(p.c_str());
}

// Commands that make no film and draw no OpenGL load neither FFmpeg nor OpenGL: the hundred
// libraries those bring are loaded at a film's or a GL view's first use. The loader's own account
// of what it maps (LD_DEBUG) tells; the database library, always mapped, shows that it speaks.
TEST(PvxHostTest, CommandsLoadOnlyTheLibrariesTheyUse) {
    const std::string out = hostrun::kTmp + "/maps_" + hostrun::kPid + ".bmp";
    for (const std::string& args : {std::string("info"), "render --size 320x240 --out '" + out + "'"}) {
        SCOPED_TRACE(args);
        const std::string maps = testcmd::Output("LD_DEBUG=files '" + hostrun::kHost + "' " + args +
                                                 " 2>&1 >/dev/null | grep -o 'file=[^ ]*'");
        EXPECT_NE(maps.find("file=libsqlite3"), std::string::npos) << maps;
        for (const char* lib : {"libavcodec", "libavformat", "libavutil", "libswscale", "libOSMesa", "libGL"})
            EXPECT_EQ(maps.find(std::string("file=") + lib), std::string::npos) << lib << " mapped:\n" << maps;
    }
    std::remove(out.c_str());
}

}  // namespace
