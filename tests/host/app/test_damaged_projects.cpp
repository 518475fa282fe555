// pvxhost on projects made hostile with SQLite: names that would forge lines of info, many load
// cases and nodes, members listing an element a thousand times, geometry with nothing to see.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>
#include <sys/wait.h>

#include "host/db/PostDBBuilder.h"
#include "platform/gdi/BmpFile.h"
#include "tests/host/app/HostRun.h"

namespace {

struct TimedRun {
    int code = -1;
    std::string out, err;
    double seconds = 0;
};

TimedRun RunHostTimed(const std::string& args) {
    const std::string out = hostrun::kTmp + "/damaged_" + hostrun::kPid + ".out", err = hostrun::kTmp + "/damaged_" + hostrun::kPid + ".err";
    const std::string cmd = "'" + hostrun::kHost + "' " + args + " >'" + out + "' 2>'" + err + "'";
    auto t0 = std::chrono::steady_clock::now();
    const int status = std::system(cmd.c_str());
    TimedRun r;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = hostrun::ReadFile(out);
    r.err = hostrun::ReadFile(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return r;
}

// A copy of the sample project changed by sql.
std::string EditedSample(const std::string& name, const std::string& sql) {
    const std::string path = hostrun::kTmp + "/damaged_" + name + hostrun::kPid + ".pvxdb";
    std::filesystem::copy_file(hostrun::kSample, path, std::filesystem::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* msg = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg), SQLITE_OK) << (msg ? msg : "");
    sqlite3_free(msg);
    sqlite3_close(db);
    return path;
}

int LinesStartingWith(const std::string& text, const std::string& start) {
    int n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) n += line.rfind(start, 0) == 0;
    return n;
}

int CountLines(const std::string& text, const std::string& part) {
    int n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) n += line.find(part) != std::string::npos;
    return n;
}

}  // namespace

// A name holding CR, LF and escape sequences must not add lines to info or reach the terminal.
TEST(PvxHostDamaged, InfoPrintsNamesEscaped) {
    const std::string path = EditedSample(
        "names", "UPDATE PSTLD SET name = 'Forged' || char(13, 10) || 'Load case 99: fake' || char(27) || '[2J' "
                 "WHERE key = (SELECT min(key) FROM PSTLD);"
                 "UPDATE PLCOM SET name = 'Combo' || char(27) || ']0;title' || char(7) "
                 "WHERE key = (SELECT min(key) FROM PLCOM)");
    const TimedRun r = RunHostTimed("--db '" + path + "' info");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << "an escape character reached the output";
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
    EXPECT_EQ(r.out.find('\a'), std::string::npos);
    EXPECT_EQ(LinesStartingWith(r.out, "Load case 99"), 0) << r.out;
    EXPECT_NE(r.out.find(": Forged\\r\\nLoad case 99: fake\\x1b[2J (static)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(": Combo\\x1b]0;title\\x07 ("), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Displacements: Forged\\r\\nLoad case 99: fake\\x1b[2J, "), std::string::npos) << r.out;
}

namespace {
// info finds each kind of result in its own table: a time history held only in DISPHIS is listed
// (before, info looked for it in DISP and said "none").
TEST(PvxHostDamaged, InfoFindsResultsInTheirOwnTables) {
    struct Row {
        const char *sql, *line;
    } rows[] = {{"DELETE FROM DISP WHERE (id >> 32) = 4", "\nTime history: THX\n"},
                {"DELETE FROM DISPHIS", "\nTime history: none\n"}};
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sql);
        const std::string path = EditedSample("info" + std::to_string(n++), row.sql);
        const TimedRun r = RunHostTimed("--db '" + path + "' info");
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find(row.line), std::string::npos) << r.out;
        std::remove(path.c_str());
    }
}

// A project of n nodes and n load cases with one displacement and one mode shape, for info.
std::string ManyCasesProject(int n) {
    PostDBBuilder b;
    for (int i = 1; i <= n; ++i) {
        b.AddNode(static_cast<UINT>(i), i, 0, 0);
        b.AddLoadCase(static_cast<UINT>(i), PLOAD_STATIC, ("LC" + std::to_string(i)).c_str());
    }
    T_DISP_D d;
    d.Initialize();
    b.AddDisp(n, n, d);  // only the last case has a result, of the last node
    T_FREQ_D f;
    f.Initialize();
    T_MPAM_D m;
    m.Initialize();
    b.AddMode(1, f, m);
    b.AddMode(2, f, m);
    T_MODE_D s;
    s.Initialize();
    b.AddModeShape(2, n, s);
    const std::string path = hostrun::kTmp + "/damaged_many" + std::to_string(n) + hostrun::kPid + ".pvxdb";
    EXPECT_TRUE(b.Save(path.c_str())) << b.GetLastError();
    return path;
}
}  // namespace

// info walks the results once per table, not once per load case and node: 10,000 of each took
// 36 s in this build before, a hundred times the 1,000 case. Timed against the small case in the
// same run, since a shared machine's absolute times vary several-fold.
TEST(PvxHostDamaged, InfoIsLinearInLoadCasesAndNodes) {
    const int n = 10000;
    const TimedRun small = RunHostTimed("--db '" + ManyCasesProject(n / 10) + "' info");
    ASSERT_EQ(small.code, 0) << small.err;
    const TimedRun r = RunHostTimed("--db '" + ManyCasesProject(n) + "' info");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Nodes: 10000\n"), std::string::npos);
    EXPECT_NE(r.out.find("Load cases: 10000\n"), std::string::npos);
    EXPECT_NE(r.out.find("Displacements: LC10000\n"), std::string::npos);
    EXPECT_NE(r.out.find("Reactions: none\n"), std::string::npos);
    EXPECT_NE(r.out.find("Modes: 2 (mode shapes for 1)\n"), std::string::npos);
    // Linear: at most ten times the small case plus the start-up both share; quadratic: 100 times.
    EXPECT_LT(r.seconds, 20.0 * small.seconds);
}

// Each element of a member is drawn once: the sample's first 20 members made to list their
// elements 1,000 times each took minutes to draw; now a warning names them.
TEST(PvxHostDamaged, MemberListingAnElementManyTimesIsDrawnOnce) {
    const std::string path = EditedSample("repeated", "SELECT 1");
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        sqlite3_stmt* sel = nullptr;
        sqlite3_stmt* upd = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT key, elems FROM PMEMB WHERE length(elems) > 0 ORDER BY key LIMIT 20", -1, &sel,
                                     nullptr),
                  SQLITE_OK);
        ASSERT_EQ(sqlite3_prepare_v2(db, "UPDATE PMEMB SET elems = ?1 WHERE key = ?2", -1, &upd, nullptr), SQLITE_OK);
        std::vector<std::pair<long long, std::string>> rows;
        while (sqlite3_step(sel) == SQLITE_ROW)
            rows.emplace_back(sqlite3_column_int64(sel, 0),
                              std::string(static_cast<const char*>(sqlite3_column_blob(sel, 1)),
                                          static_cast<size_t>(sqlite3_column_bytes(sel, 1))));
        sqlite3_finalize(sel);
        ASSERT_EQ(rows.size(), 20u);
        for (const auto& [key, elems] : rows) {
            std::string repeated;
            for (int i = 0; i < 1000; ++i) repeated += elems;
            sqlite3_bind_blob(upd, 1, repeated.data(), static_cast<int>(repeated.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(upd, 2, key);
            EXPECT_EQ(sqlite3_step(upd), SQLITE_DONE);
            sqlite3_reset(upd);
        }
        sqlite3_finalize(upd);
        sqlite3_close(db);
    }
    const std::string bmp = hostrun::kTmp + "/damaged_repeated" + hostrun::kPid + ".bmp";
    const TimedRun r = RunHostTimed("--db '" + path + "' render --out '" + bmp + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(CountLines(r.err, "warning: "), 11) << r.err;
    EXPECT_EQ(CountLines(r.err, "table PMEMB, column elems, key "), 10) << r.err;
    EXPECT_NE(r.err.find(" 1000 times; each element is kept once"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("10 more members list an element more than once"), std::string::npos) << r.err;
    std::remove(bmp.c_str());
}

// When nothing can be seen, or only a speck, the picture is still written and stderr says why.
TEST(PvxHostDamaged, RenderSaysWhenNothingIsVisible) {
    struct Row {
        const char* label;
        const char* sql;
        const char* why;  // "" when the picture shows the model
        int code = 0;
    } rows[] = {
        // Before, drawn blank with "nothing visible"; element 1 (the first by seq) starts at node 1.
        {"every node missing", "DELETE FROM PNODE", "table PELEM, column node, key 1: no node 1 in PNODE", 1},
        // Before, the elements were left out, though every one has its nodes: they are drawn.
        {"no members", "DELETE FROM PMEMB", ""},
        {"every node at one point", "UPDATE PNODE SET x = 1, y = 2, z = 3",
         "nothing visible to draw: the whole model lies at one point (1, 2, 3)"},
        {"denormal coordinates", "UPDATE PNODE SET x = x * 1e-315, y = y * 1e-315, z = z * 1e-315",
         "nothing visible to draw: the whole model lies at one point"},
        // Before, one line without a word. 24 m and the distance: the sample's nodes in Python.
        {"one node 1e7 m away", "UPDATE PNODE SET x = 1e7 WHERE key = 344",
         "the model is drawn small: the view spans 1e+07 m, while most of its nodes lie within 24 m; node 344 at (1e+07, "
         "12, 1.2) lies 9.99999e+06 m from them"},
        {"untouched", "SELECT 1", ""},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const std::string path = EditedSample("visible" + std::to_string(n++), row.sql);
        const std::string bmp = hostrun::kTmp + "/damaged_visible" + hostrun::kPid + ".bmp";
        const TimedRun r = RunHostTimed("--db '" + path + "' render --out '" + bmp + "'");
        EXPECT_EQ(r.code, row.code) << r.err;
        if (*row.why) {
            EXPECT_NE(r.err.find(row.why), std::string::npos) << r.err;
        } else {
            EXPECT_EQ(r.err.find("nothing visible"), std::string::npos) << r.err;
            EXPECT_EQ(r.err.find("drawn small"), std::string::npos) << r.err;
        }
        std::remove(bmp.c_str());
    }
}

// Lit pixels of a written picture left of the legend panel (the right 180 pixels of 1024); -1
// when it cannot be read.
static int LitLeftOfLegend(const std::string& bmp) {
    std::vector<COLORREF> px;
    int w = 0, h = 0;
    if (!ReadBmp(bmp.c_str(), px, w, h) || w != 1024) return -1;
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 840; ++x) n += px[static_cast<size_t>(y) * w + x] != RGB(0, 0, 0);
    return n;
}

// With an empty member table the plain model is drawn element by element: it covers the
// picture as the same model drawn by its members does (within 5%). A result is drawn on the
// members, so asking for one is refused, naming the empty table.
TEST(PvxHostDamaged, ProjectsWithoutMembersDrawTheirElements) {
    const std::string whole = EditedSample("members", "SELECT 1");
    const std::string bare = EditedSample("nomembers", "DELETE FROM PMEMB");
    const std::string bmp = hostrun::kTmp + "/damaged_nomembers" + hostrun::kPid + ".bmp";
    TimedRun r = RunHostTimed("--db '" + whole + "' render --out '" + bmp + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    const int withMembers = LitLeftOfLegend(bmp);
    ASSERT_GT(withMembers, 10000);
    r = RunHostTimed("--db '" + bare + "' render --out '" + bmp + "'");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err.find("nothing visible"), std::string::npos) << r.err;
    EXPECT_NEAR(LitLeftOfLegend(bmp), withMembers, withMembers / 20);
    std::remove(bmp.c_str());

    const std::string avi = hostrun::kTmp + "/damaged_nomembers" + hostrun::kPid + ".avi";
    struct Row {
        const char* label;
        const char* args;
        const char* mode;
        const std::string& out;
    } rows[] = {
        {"deformed shape", "render --mode 1", "mode 1 (deformed-shape)", bmp},
        {"frame force diagrams", "render --mode 7", "mode 7 (frame-force-diagram)", bmp},
        {"slab forces on beams", "render --mode 22", "mode 22 (slab-force-beam)", bmp},
        {"strip page", "show 7402", "mode 21 (slab-strip)", bmp},
        {"animated deformation", "animate 7201 --frames 3", "result 7201", avi},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        r = RunHostTimed("--db '" + bare + "' " + row.args + " --out '" + row.out + "'");
        EXPECT_EQ(r.code, 1) << r.err;
        EXPECT_NE(r.err.find(std::string(row.mode) + " draws its results on the members"), std::string::npos) << r.err;
        // 453: SELECT count(*) FROM PELEM of the sample.
        EXPECT_NE(r.err.find("453 elements but no members (table PMEMB is empty)"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(row.out));
        std::remove(row.out.c_str());
    }
    std::remove(whole.c_str());
    std::remove(bare.c_str());
}

// A line-only display (diagrams) is fitted to the lines it draws. A model shrunk by its
// coordinates only keeps its sections' sizes; fitting it to the section solids drew it ever
// smaller: the picture of a similar figure fitted to the view is the same at every size, so
// the lit pixels left of the legend stay those of the full-size model (within 5%).
TEST(PvxHostDamaged, LineDisplaysFitModelsOfAnySize) {
    struct Row {
        const char* label;
        const char* args;
    } rows[] = {
        {"slab forces on beams per member", "--mode 22"},
        {"frame force diagrams", "--mode 7"},
    };
    const char* scales[] = {"1", "0.01", "0.0001"};
    int n = 0;
    for (const Row& row : rows) {
        int full = 0;
        for (const char* scale : scales) {
            SCOPED_TRACE(std::string(row.label) + ", model scaled by " + scale);
            const std::string s(scale);
            const std::string path =
                EditedSample("size" + std::to_string(n++), "UPDATE PNODE SET x = x * " + s + ", y = y * " + s + ", z = z * " + s);
            const std::string bmp = hostrun::kTmp + "/damaged_size" + hostrun::kPid + ".bmp";
            // One size for every scale: the lit pixels are counted at 1024 x 768.
            const TimedRun r =
                RunHostTimed("--db '" + path + "' render " + row.args + " --size 1024x768 --out '" + bmp + "'");
            ASSERT_EQ(r.code, 0) << r.err;
            const int count = LitLeftOfLegend(bmp);
            std::remove(bmp.c_str());
            std::remove(path.c_str());
            if (s == "1") {
                full = count;
                // The full-size model covers far more than the triad's 160-odd pixels.
                EXPECT_GT(full, 4000);
                continue;
            }
            EXPECT_NEAR(count, full, full / 20);
        }
    }
}

// The first displacement row of load case 3 (WX).
#define DISP_WX_ROW "(SELECT min(rowid) FROM DISP WHERE (id >> 32) = 3)"

// Results a figure or dialog needs that the project lacks are named with their table, column
// and key. Before, design said only "the column forces of the load cannot be read", and the
// damping dialog's refusal named no row.
TEST(PvxHostDamaged, MissingResultsAreNamedWithTheirTable) {
    struct Row {
        const char* label;
        const char* sql;
        const char* args;
        std::vector<const char*> says;  // each in stderr, the last in its last line
        const char* ext = ".bmp";       // of the output
    } rows[] = {
        {"no column forces for figure 42", "DELETE FROM MBCL", "design 42", {"no column forces (table MBCL) for the load \"DL\""}},
        {"mode 1 of frequency 0", "UPDATE FREQ SET freq = 0 WHERE key = 1", "graph damping --mode1 1 --mass",
         {"振型1的频率无效。", "table FREQ, column freq, key 1: mode 1 has the frequency 0 Hz"}},
        {"mode 3 of a negative frequency", "UPDATE FREQ SET freq = -2 WHERE key = 3",
         "graph damping --mode1 1 --mode2 3 --mass --stiffness", {"振型2的频率无效。", "table FREQ, column freq, key 3"}},
        // Before, the film of the undeformed model was written, with status 0, as render refused.
        {"displacements stored twice, animated",
         "CREATE TABLE D2 AS SELECT * FROM DISP; INSERT INTO D2 SELECT * FROM DISP LIMIT 1; DROP TABLE DISP; "
         "ALTER TABLE D2 RENAME TO DISP",
         "animate 7201 --load DL --frames 3 --size 221x50",
         {"table DISP, column id, load 1, key 1: the result is stored in more than one row",
          "the displacements for \"DL\" could not be read from the project (above)"},
         ".avi"},
        // Before, each of these wrote a sheet, film or picture of nothing with status 0, or
        // refused with status 2 as if the command line were wrong.
        {"a node-value sheet without its results", "DELETE FROM DISP", "figure 512",
         {"figure 512", "table DISP gives none of its outlines a value"}, ".dxf"},
        {"a node-value sheet of refused rows", "UPDATE REAC SET FZ = 9e999 WHERE rowid = (SELECT min(rowid) FROM REAC)",
         "figure 511", {"table REAC, column FZ", "the rows it reads were refused"}, ".dxf"},
        {"a film of a load without its results", "DELETE FROM DISP", "animate 7201 --load DL --frames 3 --size 221x50",
         {"the project has no displacements for \"DL\""}, ".avi"},
        {"a combination with a refused term", "UPDATE DISP SET DX = 9e999 WHERE rowid = " DISP_WX_ROW,
         "render --mode 1 --load 1.3DL+1.5WX", {"table DISP, column DX, load 3", "no picture was written"}},
        {"an envelope a list leaves out for a refused term", "UPDATE DISP SET DX = 9e999 WHERE rowid = " DISP_WX_ROW,
         "show 7201 --load ENV", {"table DISP, column DX, load 3", "has no item \"ENV\"", "refused rows (above)"}},
        {"members of no elements", "DELETE FROM PELEM", "render", {"table PMEMB, column elems, key 193: no element 193 in PELEM"}},
    };
#undef DISP_WX_ROW
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const std::string path = EditedSample("missing" + std::to_string(n++), row.sql);
        const std::string bmp = hostrun::kTmp + "/damaged_missing" + hostrun::kPid + row.ext;
        const TimedRun r = RunHostTimed("--db '" + path + "' " + row.args + " --out '" + bmp + "'");
        EXPECT_EQ(r.code, 1) << r.err;
        for (const char* text : row.says) EXPECT_NE(r.err.find(text), std::string::npos) << text << " in " << r.err;
        EXPECT_NE(r.err.find(row.says.back(), r.err.rfind('\n', r.err.size() - 2) + 1), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(bmp));
        std::remove(path.c_str());
    }
}
