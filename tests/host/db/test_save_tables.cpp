// Writing the tables the program edits into a project file in place: one transaction, the rest
// of the file untouched, and a file that is no project refused unchanged.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>

#include <string>

#include "host/db/CDataBase.h"
#include "host/db/DBTables.h"
#include "tests/host/db/DbTestUtil.h"

namespace dbtest {
namespace {

ino_t Inode(const std::string& path) {
    struct stat sb;
    return stat(path.c_str(), &sb) == 0 ? sb.st_ino : 0;
}

// Rows of a table counted with SQLite itself.
long long CountRows(const std::string& path, const char* table) {
    sqlite3* db = nullptr;
    long long n = -1;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        const std::string sql = std::string("SELECT COUNT(*) FROM \"") + table + "\"";
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return n;
}

TEST(SaveTablesTest, StripsWrittenInPlaceAndReadBack) {
    const std::string path = SavedProject("save_tables.pvxdb");
    const ino_t inode = Inode(path);
    CDataBase db;
    ASSERT_TRUE(db.Open(path.c_str())) << db.GetLastError().GetString();
    const std::string nodes = TableImage<DBT_PNODE>(db);
    CClassCtln lines;
    lines.ConnectToDB(&db);
    CArray<UINT, UINT> before;
    lines.GetKeyList(before);
    const double p1[3] = {1, 2, 0}, p2[3] = {7, 2, 0};
    const UINT key = lines.TR_Add(CTLN_KIND_STRIP, "板带9", 1.5, p1, p2);
    ASSERT_NE(key, 0u);
    ASSERT_GT(before.GetSize(), 0);
    ASSERT_TRUE(lines.TR_Del(before[0]));
    ASSERT_TRUE(db.SaveTables(path.c_str(), {DBT_CTLN})) << db.GetLastError().GetString();
    EXPECT_EQ(Inode(path), inode) << "the file itself is written, not replaced";

    CDataBase again;
    ASSERT_TRUE(again.Open(path.c_str())) << again.GetLastError().GetString();
    EXPECT_EQ(TableImage<DBT_CTLN>(again), TableImage<DBT_CTLN>(db));
    EXPECT_EQ(TableImage<DBT_PNODE>(again), nodes);
    const T_CTLN_D* rec = again.Table<DBT_CTLN>().Find(key);
    ASSERT_NE(rec, nullptr);
    EXPECT_STREQ(rec->name, "板带9");
    EXPECT_EQ(rec->kind, CTLN_KIND_STRIP);
    EXPECT_EQ(rec->width, 1.5);
    EXPECT_EQ(CountRows(path, "CTLN"), static_cast<long long>(before.GetSize()));  // one added, one deleted
}

TEST(SaveTablesTest, TableMadeWhenTheFileHasNone) {
    // An older project without the cutting-line table gets one.
    const std::string path = EditedCopy("save_tables_old.pvxdb", "DROP TABLE CTLN");
    CDataBase db;
    ASSERT_TRUE(db.Open(path.c_str())) << db.GetLastError().GetString();
    EXPECT_EQ(db.Table<DBT_CTLN>().Count(), 0u);
    CClassCtln lines;
    lines.ConnectToDB(&db);
    const double p1[3] = {0, 0, 0}, p2[3] = {0, 5, 0};
    ASSERT_NE(lines.TR_Add(CTLN_KIND_STRIP, "S", 1.0, p1, p2), 0u);
    ASSERT_TRUE(db.SaveTables(path.c_str(), {DBT_CTLN})) << db.GetLastError().GetString();
    EXPECT_EQ(CountRows(path, "CTLN"), 1);
}

TEST(SaveTablesTest, RefusalsLeaveTheFileAsItWas) {
    CDataBase db;
    ASSERT_TRUE(db.Open(SavedProject("save_tables_src.pvxdb").c_str()));
    // A plain SQLite file that is no project.
    const std::string plain = TmpPath("save_tables_plain.sqlite");
    std::remove(plain.c_str());
    {
        sqlite3* s = nullptr;
        ASSERT_EQ(sqlite3_open(plain.c_str(), &s), SQLITE_OK);
        sqlite3_exec(s, "CREATE TABLE t (a INTEGER)", nullptr, nullptr, nullptr);
        sqlite3_close(s);
    }
    const std::string text = TmpPath("save_tables_text.pvxdb");
    WriteFile(text, "not a database at all, just text in a file of the project's name\n");
    struct Case {
        const char* label;
        std::string path;
        std::vector<int> tables;
        const char* message;
    } const cases[] = {
        {"no project (no header table)", plain, {DBT_CTLN}, "not a project database"},
        {"not SQLite", text, {DBT_CTLN}, "not a project database"},
        {"a result table", SavedProject("save_tables_res.pvxdb"), {DBT_DISP}, "cannot be written in place"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const unsigned long long hash = FileHash(c.path);
        EXPECT_FALSE(db.SaveTables(c.path.c_str(), c.tables));
        EXPECT_NE(std::string(db.GetLastError().GetString()).find(c.message), std::string::npos)
            << db.GetLastError().GetString();
        EXPECT_EQ(FileHash(c.path), hash);
    }
}

}  // namespace

}  // namespace dbtest
