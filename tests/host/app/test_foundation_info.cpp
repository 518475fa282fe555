// The foundation model as pvxhost info shows it, against the project files read directly with
// SQLite: the sample's, the documentation's small foundation, and a project without one; and the
// sample's foundation checked against its analysis model by an independent script.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/app/HostRun.h"

namespace {

struct ShellRun {
    int code = -1;
    std::string out;
};

ShellRun RunShellCommand(const std::string& cmd) {
    const std::string out = hostrun::kTmp + "/fdninfo_" + hostrun::kPid + ".out";
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
    const ShellRun r = RunShellCommand("'" + hostrun::kHost + "' --quiet --db '" + hostrun::kSample + "' info");
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
        const long n = Count(hostrun::kSample, row.sql);
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
    const std::string path = hostrun::kTmp + "/small_foundation_" + hostrun::kPid + ".pvxdb";
    const ShellRun py = RunShellCommand("/usr/bin/python3 '" + hostrun::kSource + "/docs/examples/small_foundation.py' '" + path + "'");
    ASSERT_EQ(py.code, 0) << py.out;
    const ShellRun r = RunShellCommand("'" + hostrun::kHost + "' --quiet --db '" + path + "' info");
    EXPECT_EQ(r.code, 0) << r.out;
    for (const char* text : {"\nColumn footings: 1\n", "Column footing 11: pile cap CT11, centre (0.000, 0.000) m, 1 step, "
                             "bottom 2.200 x 1.000 m", "\nPiles: 2 in 1 pile section\n",
                             "Pile section 1: ZH500, diameter 0.500 m, 2 piles", "\nColumns above the foundation: 1\n",
                             "Check load group 101: 1.35DL (basic, design)"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text << " in:\n" << r.out;
    // Storey 0 holds the supports at the pile tips, 10 m below the pile heads: DL 500 kN at each.
    const ShellRun tips =
        RunShellCommand("'" + hostrun::kHost + "' --quiet --db '" + path + "' render --mode 0 --load DL --storey 0 --out '" + path + ".bmp'");
    std::remove(path.c_str());
    std::remove((path + ".bmp").c_str());
    EXPECT_EQ(tips.code, 0) << tips.out;
    EXPECT_NE(tips.out.find("min 500.000 (500) at node"), std::string::npos) << tips.out;
}

// The texts of layer L50 (values, then the notes) of a DXF in drawing order.
std::vector<std::string> TextsOfLayer50(const std::string& path) {
    std::ifstream f(path);
    std::vector<std::string> texts;
    std::string code, value, type, layer;
    while (std::getline(f, code) && std::getline(f, value)) {
        if (!value.empty() && value.back() == '\r') value.pop_back();
        const int c = std::atoi(code.c_str());
        if (c == 0) type = value, layer.clear();
        if (c == 8) layer = value;
        if (c == 1 && type == "TEXT" && layer == "L50") texts.push_back(value);
    }
    return texts;
}

// The documentation's raft example drawn as its user draws it, under check group 201 "1.35DL"
// (no combination has its key): each sheet writes first what the script's header works out by
// hand (a check ratio: its end), and its notes end with the drawing scale. A quoted case name
// reads the same; a case the project lacks is said, and the sheet, of no value then, refused.
// info counts the settlement points.
TEST(FoundationInfo, RaftExampleSheetsShowItsValues) {
    const std::string path = hostrun::kTmp + "/raft_foundation_" + hostrun::kPid + ".pvxdb", dxf = hostrun::kTmp + "/raft_" + hostrun::kPid + ".dxf";
    ASSERT_EQ(RunShellCommand("/usr/bin/python3 '" + hostrun::kSource + "/docs/examples/raft_foundation.py' '" + path + "'").code, 0);
    struct Row {
        const char *sql, *args;
        std::vector<std::string> values;
        const char *scale, *message;
        int code = 0;  // 1: the sheet shows no value and is refused
    } rows[] = {
        {"", "511 --load 201 --set precision=1", {"31.9"}, " 1:1", ""},  // 1.35 x 850 kN / 36 m2
        {"", "512 --load 201 --set precision=1", {"-11.1"}, " 1:1", ""},  // 1.35 x -8.25 mm
        {"", "524 --load 201 --set precision=1", {"31.9"}, " 1:1", ""},  // 1.35 x mean(R / 9 m2)
        {"", "525 --load 201 --set precision=1", {"-11.1"}, " 1:1", ""},
        {"", "502 --load 201", {":2.84"}, " 1:1", ""},  // 0.7 x 1430 x 3.4 x 0.45 / (1.35 x 400)
        {"", "600 --load 1 --set precision=2", {"0.25", "4.25", "8.25", "4.25"}, " 1:1", ""},
        {"", "522 --load 201", {}, " 3:1", ""},
        {"UPDATE CKLG SET sort_text = '1.0\"DL\"+0.35DL'", "511 --load 201 --set precision=1", {"31.9"}, " 1:1", ""},
        {"UPDATE CKLG SET sort_text = '1.35DL+1.0LL'", "511 --load 201", {}, "",
         "\"LL\" names no static load case (a case name holding \"+\" is written in double quotes", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args);
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, r.sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        const ShellRun run = RunShellCommand("'" + hostrun::kHost + "' --quiet --db '" + path + "' figure " + r.args + " --out '" + dxf + "'");
        ASSERT_EQ(run.code, r.code) << run.out;
        EXPECT_NE(run.out.find(r.message), std::string::npos) << run.out;
        if (r.code) continue;
        const std::vector<std::string> texts = TextsOfLayer50(dxf);
        ASSERT_GT(texts.size(), r.values.size()) << run.out;
        for (size_t i = 0; i < r.values.size(); ++i)
            EXPECT_EQ(texts[i].substr(texts[i].size() - std::min(texts[i].size(), r.values[i].size())), r.values[i]);
        EXPECT_EQ(texts.back().substr(texts.back().size() - std::strlen(r.scale)), r.scale);
    }
    const ShellRun info = RunShellCommand("'" + hostrun::kHost + "' --quiet --db '" + path + "' info");
    std::remove(dxf.c_str());
    std::remove(path.c_str());
    EXPECT_NE(info.out.find("\nSettlement points: 4\nSettlement groups: 1: SETTLE\n"), std::string::npos) << info.out;
}

// The documentation's beam grid (2 x 1 bays, a link beam) drawn as its user draws it: 264 writes
// each grade beam's share of the springs, 205.71 kN/m under 101 (1.3 x 4800 + 1.5 x 1600 kN over
// 42 m), the link beam on neither 264 nor 265; 266 writes every span's three values (the first
// span's start: Mq = 0.7 x 133.33 x 36 / 12 = 280 kN m on 1200 mm2, w = 0.255 mm); mode 70
// draws the beams' pressures, kv x w = 20000 x 5.714 mm; two cases of one name open. Nothing
// says the numbers of two storeys lie over each other: the columns above have none.
TEST(FoundationInfo, BeamExampleSheetsShowItsValues) {
    const std::string path = hostrun::kTmp + "/beam_foundation_" + hostrun::kPid + ".pvxdb",
                      out = hostrun::kTmp + "/beams_" + hostrun::kPid;
    ASSERT_EQ(RunShellCommand("/usr/bin/python3 '" + hostrun::kSource + "/docs/examples/beam_foundation.py' '" + path + "'").code, 0);
    const std::string plcom = "CREATE TABLE PLCOM (key INTEGER PRIMARY KEY, seq INTEGER NOT NULL, type INTEGER, name TEXT, "
                              "entries BLOB); INSERT INTO PLCOM VALUES (1, 0, 0, 'C1', CAST(x'0100000001000000cdccccccccccf43f"
                              "0100000002000000000000000000f83f' || zeroblob(992) AS BLOB))";
    struct Row {
        std::string sql;
        const char* args;
        int code;
        const char* says;
        size_t values;        // texts of L50 before the notes (figures)
        const char* first;    // the first of them; on 264 and 265 every value
    } rows[] = {
        {"", "figure 264 --load 101 --set precision=2", 0, "", 7, "205.71"},
        {"", "figure 265 --load 101 --set precision=2", 0, "", 7, "-10.29"},
        {"", "figure 266 --load 301", 0, "", 21, " 0.25"},
        {"", "render --mode 70 --load DL", 0, "max 114.286", 0, ""},
        // The envelopes of the foundation beams with both storeys active: no note of stacked storeys.
        {"", "design 35 --size 1024x768", 0, "design figure 35", 0, ""},
        {"", "design 36 --size 1024x768", 0, "design figure 36", 0, ""},
        {"", "render --mode 70 --load DL --option member-kind=0", 2, "beams only: member-kind=1 draws them", 0, ""},
        // Combination 1 has group 101's terms (1.3DL+1.5LL): the tie goes to the group, "(1)".
        {plcom, "figure 264 --load 0 --set precision=2", 0, "", 7, "205.71(1)"},
        {"UPDATE PSTLD SET name = 'DL' WHERE key = 3", "info", 0, "Loads named DL: load case 1, load case 3", 0, ""},
        {"", "render --mode 0 --load DL", 2, "\"DL\" names 2 loads (load case 1, load case 3)", 0, ""},
        {"", "render --mode 0 --load 3", 0, "max", 0, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args);
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, r.sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        const bool figure = std::strncmp(r.args, "figure", 6) == 0, info = std::strcmp(r.args, "info") == 0;
        const std::string file = out + (figure ? ".dxf" : ".bmp");
        std::remove(file.c_str());
        const ShellRun run = RunShellCommand("'" + hostrun::kHost + "' --quiet --db '" + path + "' " + r.args +
                                             (info ? "" : " --out '" + file + "'"));
        EXPECT_EQ(run.code, r.code) << run.out;
        EXPECT_NE(run.out.find(r.says), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("storeys over each other"), std::string::npos) << run.out;
        if (!figure) continue;
        std::vector<std::string> texts = TextsOfLayer50(file);
        // The notes: the title, the load's text (none under load 0), the unit and the scale.
        texts.resize(texts.size() - (std::strstr(r.args, "--load 0") ? 3 : 4));
        EXPECT_EQ(texts.size(), r.values);
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts[0], r.first);
        if (std::strstr(r.args, "--load 101")) {
            EXPECT_EQ(std::count(texts.begin(), texts.end(), texts[0]), 7);
        }
    }
    std::remove(path.c_str());
    std::remove((out + ".dxf").c_str());
    std::remove((out + ".bmp").c_str());
}

TEST(FoundationInfo, ProjectWithoutOneSaysSo) {
    const std::string path = hostrun::kTmp + "/no_foundation_" + hostrun::kPid + ".pvxdb";
    const ShellRun py = RunShellCommand("/usr/bin/python3 '" + hostrun::kSource + "/docs/examples/two_elements.py' '" + path + "'");
    ASSERT_EQ(py.code, 0) << py.out;
    const ShellRun r = RunShellCommand("'" + hostrun::kHost + "' --quiet --db '" + path + "' info");
    std::remove(path.c_str());
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("\nno foundation model\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Column footings"), std::string::npos) << r.out;
}

// The sample's footings stand under column bases, its piles at their elements' tops and its raft
// outline around the raft plates (the script reads the file itself); a pile point moved off its
// element fails the same script.
TEST(FoundationInfo, SampleFoundationFitsItsAnalysisModel) {
    const std::string script = "/usr/bin/python3 '" + hostrun::kSource + "/scripts/check_sample_foundation.py' ";
    const ShellRun ok = RunShellCommand(script + "'" + hostrun::kSample + "'");
    EXPECT_EQ(ok.code, 0) << ok.out;
    EXPECT_NE(ok.out.find("piles at pile element tops: 20 checked"), std::string::npos) << ok.out;

    const std::string moved = hostrun::kTmp + "/moved_pile_" + hostrun::kPid + ".pvxdb";
    ASSERT_EQ(RunShellCommand("cp '" + hostrun::kSample + "' '" + moved + "'").code, 0);
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
    const ShellRun bad = RunShellCommand(script + "'" + moved + "'");
    std::remove(moved.c_str());
    EXPECT_EQ(bad.code, 1) << bad.out;
    EXPECT_NE(bad.out.find("pile 7"), std::string::npos) << bad.out;
}

}  // namespace
