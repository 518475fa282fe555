// The sample's design tables: every value equals the closed forms that the checking script
// computes from the file's own force rows (the script reads the file with sqlite3), a changed
// value fails the script, and a negative design value refuses the project with a message naming
// table and column.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/db/CDataBase.h"
#include "tests/host/app/HostRun.h"

namespace {

const std::string kScript = std::string("/usr/bin/python3 '") + PVX_SOURCE_DIR + "/scripts/check_sample_design.py' ";

struct ScriptRun {
    int code = -1;
    std::string out;
};

ScriptRun RunScript(const std::string& path) {
    const std::string out = hostrun::kTmp + "/design_tables_" + hostrun::kPid + ".out";
    const int status = std::system((kScript + "'" + path + "' >'" + out + "' 2>&1").c_str());
    ScriptRun r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = hostrun::ReadFile(out);
    std::remove(out.c_str());
    return r;
}

long CountRows(const std::string& path, const char* table) {
    sqlite3* db = nullptr;
    long n = -1;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        const std::string sql = std::string("SELECT count(*) FROM ") + table;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return n;
}

// A copy of the sample with one SQL statement applied.
std::string ChangedCopy(const std::string& name, const std::string& sql) {
    const std::string path = hostrun::kTmp + "/" + name + "_" + hostrun::kPid + ".pvxdb";
    std::system(("cp '" + hostrun::SamplePath() + "' '" + path + "'").c_str());
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
    return path;
}

}  // namespace

// Every design row of the sample matches the script's closed forms, table by table.
TEST(DesignTables, SampleMatchesTheClosedForms) {
    const ScriptRun r = RunScript(hostrun::SamplePath());
    EXPECT_EQ(r.code, 0) << r.out;
    for (const char* table : {"RBEM", "RCOL", "RWAL", "RSLB"}) {
        SCOPED_TRACE(table);
        const long n = CountRows(hostrun::SamplePath(), table);
        EXPECT_GT(n, 0);
        EXPECT_NE(r.out.find(std::string(table) + ": " + std::to_string(n) + " rows checked"), std::string::npos)
            << r.out;
    }
}

// A value changed in the file, or a row too many, fails the script naming table and member.
TEST(DesignTables, ChangedValuesFailTheScript) {
    struct Row {
        const char* name;
        const char* sql;
        const char* want;
    };
    const Row rows[] = {
        {"changed_ratio", "UPDATE RCOL SET n_max = n_max + 1 WHERE key = (SELECT min(key) FROM RCOL)", "FAIL RCOL "},
        {"extra_row", "INSERT INTO RWAL (key, seq, blocks) SELECT 999999, 999999, blocks FROM RWAL LIMIT 1",
         "FAIL RWAL 999999"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = ChangedCopy(row.name, row.sql);
        const ScriptRun r = RunScript(path);
        std::remove(path.c_str());
        EXPECT_EQ(r.code, 1) << r.out;
        EXPECT_NE(r.out.find(row.want), std::string::npos) << r.out;
    }
}

// A negative steel area is no design result: opening refuses the project, naming table and column.
TEST(DesignTables, NegativeDesignValueRefusesTheProject) {
    struct Row {
        const char* name;
        const char* sql;
        const char* want;
    };
    const Row rows[] = {
        {"negative_slab", "UPDATE RSLB SET as_x = -1.0", "RSLB"},
        {"unchanged_copy", "UPDATE RWAL SET blocks = blocks WHERE 0", nullptr},  // opens as before
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = ChangedCopy(row.name, row.sql);
        CDataBase db;
        const int ok = db.Open(path.c_str());
        std::remove(path.c_str());
        if (!row.want) {
            EXPECT_EQ(ok, 1) << static_cast<const char*>(db.GetLastError());
            continue;
        }
        EXPECT_EQ(ok, 0);
        const std::string msg = static_cast<const char*>(db.GetLastError());
        EXPECT_NE(msg.find(row.want), std::string::npos) << msg;
        EXPECT_NE(msg.find("as_x"), std::string::npos) << msg;
    }
}
