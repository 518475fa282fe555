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

namespace {

const std::string kHost = PVX_BINARY_DIR "/bin/pvxhost";
const std::string kSample = PVX_BINARY_DIR "/examples/sample.pvxdb";
const std::string kTmp = PVX_TEST_TMPDIR;
const std::string kPid = std::to_string(getpid());

struct HostRun {
    int code = -1;
    std::string out, err;
    double seconds = 0;
};

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

HostRun RunHost(const std::string& args) {
    const std::string out = kTmp + "/damaged_" + kPid + ".out", err = kTmp + "/damaged_" + kPid + ".err";
    const std::string cmd = "'" + kHost + "' " + args + " >'" + out + "' 2>'" + err + "'";
    auto t0 = std::chrono::steady_clock::now();
    const int status = std::system(cmd.c_str());
    HostRun r;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadAll(out);
    r.err = ReadAll(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return r;
}

// A copy of the sample project changed by sql.
std::string EditedSample(const std::string& name, const std::string& sql) {
    const std::string path = kTmp + "/damaged_" + name + kPid + ".pvxdb";
    std::filesystem::copy_file(kSample, path, std::filesystem::copy_options::overwrite_existing);
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
    const HostRun r = RunHost("--db '" + path + "' info");
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
    const std::string path = kTmp + "/damaged_many" + std::to_string(n) + kPid + ".pvxdb";
    EXPECT_TRUE(b.Save(path.c_str())) << b.GetLastError();
    return path;
}
}  // namespace

// info walks the results once per table, not once per load case and node: 10,000 of each took
// 36 s in this build before, a hundred times the 1,000 case. Timed against the small case in the
// same run, since a shared machine's absolute times vary several-fold.
TEST(PvxHostDamaged, InfoIsLinearInLoadCasesAndNodes) {
    const int n = 10000;
    const HostRun small = RunHost("--db '" + ManyCasesProject(n / 10) + "' info");
    ASSERT_EQ(small.code, 0) << small.err;
    const HostRun r = RunHost("--db '" + ManyCasesProject(n) + "' info");
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
    const std::string bmp = kTmp + "/damaged_repeated" + kPid + ".bmp";
    const HostRun r = RunHost("--db '" + path + "' render --out '" + bmp + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_LT(r.seconds, 15.0);
    EXPECT_EQ(CountLines(r.err, "warning: "), 11) << r.err;
    EXPECT_EQ(CountLines(r.err, "table PMEMB, column elems, key "), 10) << r.err;
    EXPECT_NE(r.err.find(" 1000 times; each element is kept once"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("10 more members list an element more than once"), std::string::npos) << r.err;
    std::remove(bmp.c_str());
}

// When nothing can be seen the picture is still written, and standard error says why.
TEST(PvxHostDamaged, RenderSaysWhenNothingIsVisible) {
    struct Row {
        const char* label;
        const char* sql;
        const char* why;  // "" when the picture shows the model
    } rows[] = {
        {"every node missing", "DELETE FROM PNODE", "has all of its nodes"},
        // Before, this said that no element had all of its nodes, though every one has.
        {"no members", "DELETE FROM PMEMB", "elements but no members (table PMEMB is empty)"},
        {"every node at one point", "UPDATE PNODE SET x = 1, y = 2, z = 3", "lies at one point (1, 2, 3)"},
        {"denormal coordinates", "UPDATE PNODE SET x = x * 1e-315, y = y * 1e-315, z = z * 1e-315", "lies at one point"},
        {"untouched", "SELECT 1", ""},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const std::string path = EditedSample("visible" + std::to_string(n++), row.sql);
        const std::string bmp = kTmp + "/damaged_visible" + kPid + ".bmp";
        const HostRun r = RunHost("--db '" + path + "' render --out '" + bmp + "'");
        EXPECT_EQ(r.code, 0) << r.err;
        if (*row.why) {
            EXPECT_NE(r.err.find("pvxhost render: nothing visible to draw: "), std::string::npos) << r.err;
            EXPECT_NE(r.err.find(row.why), std::string::npos) << r.err;
        } else {
            EXPECT_EQ(r.err.find("nothing visible"), std::string::npos) << r.err;
        }
        std::remove(bmp.c_str());
    }
}
