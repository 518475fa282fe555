// The foundation model as pvxhost info shows it, against the project files read directly with
// SQLite: the sample's, the documentation's small foundation, and a project without one; and the
// sample's foundation checked against its analysis model by an independent script.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string kSource = PVX_SOURCE_DIR;
const std::string kHost = PVX_BINARY_DIR "/bin/pvxhost";
const std::string kSample = PVX_BINARY_DIR "/examples/sample.pvxdb";
const std::string kTmp = PVX_TEST_TMPDIR;
const std::string kPid = std::to_string(getpid());

struct ShellRun {
    int code = -1;
    std::string out;
};

ShellRun Shell(const std::string& cmd) {
    const std::string out = kTmp + "/fdninfo_" + kPid + ".out";
    const int status = std::system((cmd + " >'" + out + "' 2>&1").c_str());
    ShellRun r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream f(out);
    std::stringstream ss;
    ss << f.rdbuf();
    r.out = ss.str();
    std::remove(out.c_str());
    return r;
}

long Count(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    long n = -1;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return n;
}

// Each info line of the sample's foundation carries the count SQLite finds in its table.
TEST(FoundationInfo, SampleCountsAsInTheFile) {
    const ShellRun r = Shell("'" + kHost + "' --quiet --db '" + kSample + "' info");
    ASSERT_EQ(r.code, 0) << r.out;
    struct Row {
        const char* label;  // the line starts "label: N"
        std::string sql;
    } rows[] = {
        {"Points", "SELECT count(*) FROM PONT"},
        {"Axes", "SELECT count(*) FROM AXIS"},
        {"Column footings", "SELECT count(*) FROM COLF"},
        {"Rafts", "SELECT count(*) FROM MTSB"},
        {"Piles", "SELECT count(*) FROM PILE"},
        {"Foundation beams", "SELECT count(*) FROM BEAM"},
        {"Walls above the foundation", "SELECT count(*) FROM WALL"},
        {"Columns above the foundation", "SELECT count(*) FROM COLM"},
        {"Settlement-mesh cells", "SELECT count(*) FROM SRCT"},
        {"Check load groups", "SELECT count(*) FROM CKLG"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const long n = Count(kSample, row.sql);
        ASSERT_GT(n, 0) << "the sample has none";
        const std::string line = std::string("\n") + row.label + ": " + std::to_string(n);
        EXPECT_NE(r.out.find(line), std::string::npos) << "no line \"" << line.substr(1) << "\" in:\n" << r.out;
    }
    // The two annex footings: a spread footing of three steps and a pile cap; two sub-rafts (the
    // shear wall bay's and the slab band); the link beam; the blast and seismic groups.
    for (const char* text : {"spread footing", "3 steps", "pile cap CT", "(sub-rafts 2)", "(link beams 1)",
                             "Groundwater level: -2.000 m", ", blast)", ", seismic, design)"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text << " in:\n" << r.out;
    EXPECT_EQ(r.out.find("no foundation model"), std::string::npos);
}

// The documentation's example script writes a foundation that info reads as the script says.
TEST(FoundationInfo, DocumentationExampleIsRead) {
    const std::string path = kTmp + "/small_foundation_" + kPid + ".pvxdb";
    const ShellRun py = Shell("/usr/bin/python3 '" + kSource + "/docs/examples/small_foundation.py' '" + path + "'");
    ASSERT_EQ(py.code, 0) << py.out;
    const ShellRun r = Shell("'" + kHost + "' --quiet --db '" + path + "' info");
    std::remove(path.c_str());
    ASSERT_EQ(r.code, 0) << r.out;
    for (const char* text : {"\nColumn footings: 1\n", "Column footing 11: pile cap CT11, centre (0.000, 0.000) m, 1 step, "
                             "bottom 2.200 x 1.000 m", "\nPiles: 2 in 1 pile section\n",
                             "Pile section 1: ZH500, diameter 0.500 m, 2 piles", "\nColumns above the foundation: 1\n",
                             "Check load group 101: 1.35DL (basic, design)"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text << " in:\n" << r.out;
}

TEST(FoundationInfo, ProjectWithoutOneSaysSo) {
    const std::string path = kTmp + "/no_foundation_" + kPid + ".pvxdb";
    const ShellRun py = Shell("/usr/bin/python3 '" + kSource + "/docs/examples/two_elements.py' '" + path + "'");
    ASSERT_EQ(py.code, 0) << py.out;
    const ShellRun r = Shell("'" + kHost + "' --quiet --db '" + path + "' info");
    std::remove(path.c_str());
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("\nno foundation model\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Column footings"), std::string::npos) << r.out;
}

// The sample's footings stand under column bases, its piles at their elements' tops and its raft
// outline around the raft plates (the script reads the file itself); a pile point moved off its
// element fails the same script.
TEST(FoundationInfo, SampleFoundationFitsItsAnalysisModel) {
    const std::string script = "/usr/bin/python3 '" + kSource + "/scripts/check_sample_foundation.py' ";
    const ShellRun ok = Shell(script + "'" + kSample + "'");
    EXPECT_EQ(ok.code, 0) << ok.out;
    EXPECT_NE(ok.out.find("piles at pile element tops: 20 checked"), std::string::npos) << ok.out;

    const std::string moved = kTmp + "/moved_pile_" + kPid + ".pvxdb";
    ASSERT_EQ(Shell("cp '" + kSample + "' '" + moved + "'").code, 0);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(moved.c_str(), &db), SQLITE_OK);
    // The point of pile 7 (its member's first point) moved 0.5 m in x.
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT ponts FROM MEMB WHERE key = 7", -1, &st, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    ASSERT_GE(sqlite3_column_bytes(st, 0), 4);
    unsigned point = 0;
    std::memcpy(&point, sqlite3_column_blob(st, 0), 4);
    sqlite3_finalize(st);
    const std::string sql = "UPDATE PONT SET x = x + 0.5 WHERE key = " + std::to_string(point);
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const ShellRun bad = Shell(script + "'" + moved + "'");
    std::remove(moved.c_str());
    EXPECT_EQ(bad.code, 1) << bad.out;
    EXPECT_NE(bad.out.find("pile 7"), std::string::npos) << bad.out;
}

}  // namespace
