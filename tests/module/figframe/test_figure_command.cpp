// pvxhost figure: the catalogue listing on the sample and on a copy without results, and the
// refusals of IDs that are unknown or groups, and of sizes out of range.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/module/ModuleTestSupport.h"

namespace {

const std::string kSample = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";

long long Count(const std::string& db, const char* table) {
    sqlite3* h = nullptr;
    long long n = -1;
    if (sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        const std::string sql = std::string("SELECT COUNT(*) FROM ") + table;
        if (sqlite3_prepare_v2(h, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(h);
    return n;
}

// A copy of the sample whose result tables are empty (a project before analysis).
std::string NoResultsCopy() {
    const std::string path = std::string(PVX_TEST_TMPDIR) + "/figframe_noresults.pvxdb";
    std::filesystem::copy_file(kSample, path, std::filesystem::copy_options::overwrite_existing);
    sqlite3* h = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &h), SQLITE_OK);
    for (const char* t : {"DISP", "REAC", "MODE", "STRP", "STRIPF", "RIBF", "MBWG", "STRG", "MBCL", "MBBR", "STRW",
                          "STWS", "DISPHIS", "FREQ"})
        sqlite3_exec(h, (std::string("DELETE FROM ") + t).c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(h);
    return path;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

TEST(FigureCommand, TheListShowsEightyFiveRecordsAndPostLeavesNeedResults) {
    const std::string noResults = NoResultsCopy();
    ASSERT_GT(Count(kSample, "DISP"), 0);
    ASSERT_EQ(Count(noResults, "DISP"), 0);
    ASSERT_EQ(Count(noResults, "REAC"), 0);
    // The catalogue has 35 post leaves, one of them the base map 47 (always reported disabled),
    // 39 other leaves (11 base maps among them) and 11 group rows.
    struct Row {
        const char* label;
        std::string db;
        int postEnabled, postDisabled, anyEnabled;
        const char* header;
    };
    const Row rows[] = {
        {"sample", kSample, 34, 1, 28, "project with results"},
        {"no results", noResults, 0, 35, 28, "project without results"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const moduletest::HostRun run = moduletest::RunHost("--quiet --db " + r.db + " figure --list", "figframe_list");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), 86u);
        EXPECT_NE(lines[0].find(r.header), std::string::npos) << lines[0];
        int postEnabled = 0, postDisabled = 0, anyEnabled = 0, groups = 0, disabledBaseMaps = 0;
        for (size_t i = 1; i < lines.size(); ++i) {
            const std::string& l = lines[i];
            postEnabled += l.find("  post  enabled") != std::string::npos;
            postDisabled += l.find("  post  disabled") != std::string::npos;
            anyEnabled += l.find("  any  enabled") != std::string::npos;
            groups += l.find("  group  ") != std::string::npos;
            disabledBaseMaps += l.rfind("BaseMap_") != std::string::npos && l.find("disabled") != std::string::npos;
        }
        EXPECT_EQ(postEnabled, r.postEnabled);
        EXPECT_EQ(postDisabled, r.postDisabled);
        EXPECT_EQ(anyEnabled, r.anyEnabled);
        EXPECT_EQ(groups, 11);
        EXPECT_EQ(disabledBaseMaps, 12);
        // Depth by parent: a raft check leaf sits three levels down, the piles' group at the top.
        EXPECT_EQ(lines[46].rfind("      516 MTSB_CHECK_NT  ", 0), 0u) << lines[46];
        EXPECT_EQ(lines[74].rfind("5 PILE  group", 0), 0u) << lines[74];
        EXPECT_EQ(lines[1].rfind("32 BaseMap_Top_Column  number -1  owners 4095  any  disabled", 0), 0u) << lines[1];
    }
}

TEST(FigureCommand, IdsThatCannotBeDrawnAreRefused) {
    struct Row {
        const char* label;
        const char* args;
        int exit;
        const char* message;
    };
    const Row rows[] = {
        {"no ID", "figure", 2, "give a figure ID"},
        {"ID and --list", "figure 41 --list", 2, "--list takes no figure ID"},
        {"no --out", "figure 41", 2, "--out"},
        {"unknown", "figure NOPE --out x.bmp", 2, "unknown figure ID \"NOPE\""},
        {"unknown number in a list", "figure 41,999 --out x.bmp", 2, "unknown figure ID \"999\""},
        {"a group", "figure iso --out x.bmp", 2, "is a group"},
        // Every leaf of the catalogue has its figure now; a size out of range is refused before drawing.
        {"size out of range", "figure mtsb_design_slabband --size 0x0 --out x.bmp", 2, "--size expects WIDTHxHEIGHT"},
        {"--list with an output", "figure --list --out x.bmp", 2, "no effect with --list"},
    };
    std::filesystem::remove("x.bmp");  // left by an earlier run that drew it
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const moduletest::HostRun run =
            moduletest::RunHost(std::string("--quiet ") + r.args, "figframe_refused");
        EXPECT_EQ(run.exitCode, r.exit);
        EXPECT_NE(run.err.find(r.message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists("x.bmp"));
    }
}

}  // namespace
