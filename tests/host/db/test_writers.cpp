// Two programs with one project: saves that meet keep both programs' edits or refuse and change
// nothing; a reader waits for a save in progress; a save killed midway is rolled back when the
// project is next opened; a WAL project leaves no -wal or -shm behind.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "host/db/CDataBase.h"
#include "host/db/DBTables.h"
#include "tests/host/db/DbTestUtil.h"

namespace dbtest {
namespace {

// One column of every row of a table, in key order, read with SQLite itself.
std::vector<std::string> Column(const std::string& path, const std::string& sql) {
    std::vector<std::string> out;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW) {
                const unsigned char* t = sqlite3_column_text(st, 0);
                out.push_back(t ? reinterpret_cast<const char*>(t) : "NULL");
            }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

std::string Joined(const std::vector<std::string>& v) {
    std::string s;
    for (const std::string& x : v) s += (s.empty() ? "" : ",") + x;
    return s;
}

// A program that runs first and then sql on the project and ends without closing it, as kill -9
// would end it; bFlush writes its changed pages into the file first. Whether it ran and ended.
bool DiesWriting(const std::string& path, const char* first, const char* sql, bool bFlush) {
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        sqlite3* w = nullptr;
        sqlite3_open(path.c_str(), &w);
        sqlite3_exec(w, first, nullptr, nullptr, nullptr);
        sqlite3_exec(w, sql, nullptr, nullptr, nullptr);
        if (bFlush) sqlite3_db_cacheflush(w);
        _exit(0);
    }
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status);
}

const double kP1[3] = {1, 2, 0}, kP2[3] = {7, 2, 0};

// An edit one program makes to the lines it read: the project holds strip 8 "板带1" and
// cutting line 2 "Cut-Line #1"; or a move of the title of sheet `key` by 0.5 m (sheet 132's
// title is at 1.5 m).
struct Edit {
    enum EKind { kAdd, kRename, kDelete, kMove, kNone } kind;
    const char* name;  // added or new name
    UINT key;          // renamed or deleted line, moved figure
    void Apply(CDataBase& db) const {
        if (kind == kMove) {
            T_FVDTEXT_D notes;
            notes.Initialize();
            if (const T_FVDTEXT_D* p = db.Table<DBT_FVDTEXT>().Find(key)) notes = *p;
            notes.textX[0] += 0.5;
            db.Table<DBT_FVDTEXT>().Set(key, notes);
        }
        CClassCtln lines;
        lines.ConnectToDB(&db);
        if (kind == kAdd) {
            ASSERT_NE(lines.TR_Add(CTLN_KIND_STRIP, name, 1.0, kP1, kP2), 0u);
        }
        if (kind == kRename) {
            ASSERT_TRUE(lines.TR_Modify(key, name, 1.0, kP1, kP2));
        }
        if (kind == kDelete) {
            ASSERT_TRUE(lines.TR_Del(key));
        }
    }
};

}  // namespace

// Both programs open the project, edit, and save one after the other. Before, the second save
// wrote the whole table it had read, and the first program's edits were gone.
TEST(ProjectWriters, SavesThatMeetKeepBothEditsOrRefuseTheSecond) {
    struct Row {
        const char* label;
        Edit first, second;
        bool secondSaved;
        const char* names;  // CTLN names in key order afterwards, as SQLite reads them
        const char* message;  // words of the second save's refusal
        double moved = 1.5;  // the title offset of sheet 132 afterwards
    } rows[] = {
        // Both add under the next key (9): the second takes 10.
        {"both add a strip", {Edit::kAdd, "A", 0}, {Edit::kAdd, "B", 0}, true, "Cut-Line #1,板带1,A,B", ""},
        {"one renames, the other deletes another line", {Edit::kRename, "R", 8}, {Edit::kDelete, "", 2}, true, "R", ""},
        {"one adds, the other deletes", {Edit::kAdd, "A", 0}, {Edit::kDelete, "", 8}, true, "Cut-Line #1,A", ""},
        {"both delete one line", {Edit::kDelete, "", 8}, {Edit::kDelete, "", 8}, true, "Cut-Line #1", ""},
        {"both rename one line", {Edit::kRename, "R", 8}, {Edit::kRename, "S", 8}, false, "Cut-Line #1,R",
         "key 8 was changed by another program"},
        {"one deletes what the other renames", {Edit::kDelete, "", 8}, {Edit::kRename, "S", 8}, false, "Cut-Line #1",
         "key 8 was removed by another program"},
        {"both add one name", {Edit::kAdd, "A", 0}, {Edit::kAdd, "A", 0}, false, "Cut-Line #1,板带1,A",
         "another program added a line named \"A\""},
        // Moves add to the offset read: the second would store one move for two.
        {"both make one move", {Edit::kMove, "", 132}, {Edit::kMove, "", 132}, false, "Cut-Line #1,板带1",
         "key 132 was changed by another program", 2.0},
        {"both make a first move on one sheet", {Edit::kMove, "", 133}, {Edit::kMove, "", 133}, false, "Cut-Line #1,板带1",
         "key 133 was added by another program"},
        {"one moves, the other adds a strip", {Edit::kMove, "", 132}, {Edit::kAdd, "A", 0}, true, "Cut-Line #1,板带1,A", "",
         2.0},
    };
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string path = SavedProject("writers_" + std::to_string(n++) + ".pvxdb");
        CDataBase a, b;
        ASSERT_TRUE(a.Open(path.c_str())) << a.GetLastError().GetString();
        ASSERT_TRUE(b.Open(path.c_str())) << b.GetLastError().GetString();
        r.first.Apply(a);
        r.second.Apply(b);
        ASSERT_TRUE(a.SaveTables(path.c_str(), {DBT_CTLN, DBT_FVDTEXT})) << a.GetLastError().GetString();
        const std::string afterFirst = Joined(Column(path, "SELECT name FROM CTLN ORDER BY key"));
        EXPECT_EQ(b.SaveTables(path.c_str(), {DBT_CTLN, DBT_FVDTEXT}) != 0, r.secondSaved) << b.GetLastError().GetString();
        EXPECT_EQ(Joined(Column(path, "SELECT name FROM CTLN ORDER BY key")), r.names);
        CDataBase after;
        ASSERT_TRUE(after.Open(path.c_str())) << after.GetLastError().GetString();
        EXPECT_EQ(after.Table<DBT_FVDTEXT>().Find(132)->textX[0], r.moved);
        if (!r.secondSaved) {
            EXPECT_EQ(Joined(Column(path, "SELECT name FROM CTLN ORDER BY key")), afterFirst) << "a refusal changes nothing";
            const std::string msg = b.GetLastError().GetString();
            EXPECT_NE(msg.find(r.message), std::string::npos) << msg;
            EXPECT_NE(msg.find("nothing was saved"), std::string::npos) << msg;
        }
        EXPECT_EQ(Joined(Column(path, "PRAGMA integrity_check")), "ok");
        // Seq stays a distinct position for each row.
        EXPECT_EQ(Column(path, "SELECT DISTINCT seq FROM CTLN").size(), Column(path, "SELECT seq FROM CTLN").size());
    }

    // A row added under a key taken meanwhile takes a new key in memory too, and a second save
    // of the same program writes nothing twice.
    const std::string path = SavedProject("writers_again.pvxdb");
    CDataBase a, b;
    ASSERT_TRUE(a.Open(path.c_str()));
    ASSERT_TRUE(b.Open(path.c_str()));
    Edit{Edit::kAdd, "A", 0}.Apply(a);
    Edit{Edit::kAdd, "B", 0}.Apply(b);
    ASSERT_TRUE(a.SaveTables(path.c_str(), {DBT_CTLN}));
    ASSERT_TRUE(b.SaveTables(path.c_str(), {DBT_CTLN})) << b.GetLastError().GetString();
    CClassCtln lines;
    lines.ConnectToDB(&b);
    EXPECT_EQ(lines.GetKey("B", CTLN_KIND_STRIP), 10u);  // 8 strips' next key 9 went to A
    ASSERT_TRUE(lines.TR_Modify(10, "B2", 1.0, kP1, kP2));
    ASSERT_TRUE(b.SaveTables(path.c_str(), {DBT_CTLN})) << b.GetLastError().GetString();
    EXPECT_EQ(Joined(Column(path, "SELECT name FROM CTLN ORDER BY key")), "Cut-Line #1,板带1,A,B2");
}

// Page settings are keyed by the page: the last save's settings stand.
TEST(ProjectWriters, PageSettingsOfTheLastSaveStand) {
    const std::string path = SavedProject("writers_pages.pvxdb");
    CDataBase a, b;
    ASSERT_TRUE(a.Open(path.c_str()));
    ASSERT_TRUE(b.Open(path.c_str()));
    T_PAGESET_D s;
    s.title = "Strip";
    s.archive = "AA";
    a.Table<DBT_PAGESET>().Set(7402, s);
    s.archive = "BB";
    b.Table<DBT_PAGESET>().Set(7402, s);
    ASSERT_TRUE(a.SaveTables(path.c_str(), {DBT_PAGESET}));
    ASSERT_TRUE(b.SaveTables(path.c_str(), {DBT_PAGESET})) << b.GetLastError().GetString();
    EXPECT_EQ(Joined(Column(path, "SELECT archive FROM PAGESET WHERE key = 7402")), "BB");
}

// A reader that meets a save in progress waits for it and reads what it committed. Before, the
// reader failed with "database is locked" (or, opened immutable, read half-written pages).
TEST(ProjectWriters, ReaderWaitsForASaveInProgress) {
    const std::string path = SavedProject("writers_reader.pvxdb");
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE; UPDATE PNODE SET x = 42 WHERE key = 7", nullptr, nullptr, nullptr),
              SQLITE_OK);
    std::thread commit([writer] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr);
    });
    CDataBase db;
    const bool opened = db.Open(path.c_str());
    commit.join();
    sqlite3_close(writer);
    ASSERT_TRUE(opened) << db.GetLastError().GetString();
    ASSERT_NE(db.Table<DBT_PNODE>().Find(7), nullptr);
    EXPECT_EQ(db.Table<DBT_PNODE>().Find(7)->x, 42.0);
}

// A save that holds its lock past the reader's wait: the reader says that another program is
// writing the project, its journal that program's save in progress. Before, it said it could
// not roll back "the stopped save" (waits the 10 s of the wait).
TEST(ProjectWriters, ALockHeldPastTheWaitIsAWriterAtWork) {
    const std::string path = SavedProject("writers_held.pvxdb");
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE; UPDATE PNODE SET x = 42", nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_TRUE(std::ifstream(path + "-journal").good());
    CDataBase db;
    EXPECT_FALSE(db.Open(path.c_str()));
    const std::string err = db.GetLastError().GetString();
    EXPECT_NE(err.find("another program is writing the project and kept it locked for 10 s"), std::string::npos) << err;
    EXPECT_NE(err.find("-journal\" is that program's save in progress"), std::string::npos) << err;
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
}

// kill -9 in the middle of a save: the file holds some of the new pages and a hot journal lies
// beside it. The next opening rolls the save back. Before, the project could not be opened until
// another SQLite client had rolled it back.
TEST(ProjectWriters, SaveKilledMidwayIsRolledBackOnOpening) {
    struct Row {
        const char* label;
        const char* sql;  // run in the killed transaction; the cache of one page spills to the file
    } rows[] = {
        {"nodes moved", "UPDATE PNODE SET x = 99"},
        {"a table added and filled",
         "CREATE TABLE junk(a); WITH RECURSIVE r(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM r WHERE i < 300) "
         "INSERT INTO junk SELECT zeroblob(3000) FROM r; UPDATE PNODE SET x = 99"},
        {"lines removed", "DELETE FROM CTLN; UPDATE PNODE SET x = 99"},
    };
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string path = SavedProject("writers_killed_" + std::to_string(n++) + ".pvxdb");
        const std::string nodes = Joined(Column(path, "SELECT x FROM PNODE ORDER BY key"));
        // The spill: the changed pages go to the file before the commit that never comes.
        ASSERT_TRUE(DiesWriting(path, "PRAGMA cache_size = 1; BEGIN", r.sql, true));
        ASSERT_TRUE(std::ifstream(path + "-journal").good()) << "the killed save left its journal";
        CDataBase db;
        ASSERT_TRUE(db.Open(path.c_str())) << db.GetLastError().GetString();
        EXPECT_NE(db.Table<DBT_PNODE>().Find(7), nullptr);
        EXPECT_EQ(db.Table<DBT_CTLN>().Count(), 2u);
        EXPECT_FALSE(std::ifstream(path + "-journal").good()) << "the journal was played back";
        EXPECT_EQ(Joined(Column(path, "SELECT x FROM PNODE ORDER BY key")), nodes);
        EXPECT_EQ(Joined(Column(path, "PRAGMA integrity_check")), "ok");
    }
}

// A WAL project whose writer was killed keeps its -wal file: it is read with it, and the -wal
// and -shm are gone when the project closes. Before, reading made a -shm file and left it.
TEST(ProjectWriters, WalProjectLeavesNothingBeside) {
    const std::string path = EditedCopy("writers_wal.pvxdb", "PRAGMA journal_mode=WAL");
    ASSERT_TRUE(DiesWriting(path, "PRAGMA wal_autocheckpoint = 0", "UPDATE PNODE SET x = 42 WHERE key = 7", false));
    unlink((path + "-shm").c_str());
    ASSERT_TRUE(std::ifstream(path + "-wal").good());
    {
        CDataBase db;
        ASSERT_TRUE(db.Open(path.c_str())) << db.GetLastError().GetString();
        ASSERT_NE(db.Table<DBT_PNODE>().Find(7), nullptr);
        EXPECT_EQ(db.Table<DBT_PNODE>().Find(7)->x, 42.0) << "the -wal file's content was read";
    }
    for (const char* suffix : {"-wal", "-shm"})
        EXPECT_FALSE(std::ifstream(path + suffix).good()) << suffix << " left beside the project";
    EXPECT_EQ(Joined(Column(path, "SELECT x FROM PNODE WHERE key = 7")), "42.0");
}

namespace {

// Opens the project in a child process running as the user "nobody" (65534): "x=<x of node 7>"
// when it opens, else its message.
std::string OpenAsNobody(const std::string& path) {
    // The user's own temporary folder, which the test process's is not.
    const std::string tmp = std::string(PVX_TEST_TMPDIR) + "/nobody_tmp";
    mkdir(tmp.c_str(), 0777);
    chmod(tmp.c_str(), 0777);
    int fds[2];
    if (pipe(fds) != 0) return "no pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        std::string out = "cannot become nobody";
        if (setgid(65534) == 0 && setuid(65534) == 0 && setenv("TMPDIR", tmp.c_str(), 1) == 0) {
            CDataBase db;
            if (db.Open(path.c_str())) {
                const T_PNODE_D* n = db.Table<DBT_PNODE>().Find(7);
                out = "x=" + (n ? std::to_string(static_cast<int>(n->x)) : std::string("none"));
            } else {
                out = db.GetLastError().GetString();
            }
        }
        (void)!write(fds[1], out.data(), out.size());
        _exit(0);
    }
    close(fds[1]);
    std::string got;
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) got.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return got;
}

std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

// A user who may read the project but not write it or its folder. Before, a WAL project whose
// -wal held changes could not be opened at all there, and a stopped save's journal made the
// project unreadable with SQLite's own words only.
TEST(ProjectWriters, UsersWhoCannotWriteTheProjectStillReadItOrAreToldWhatToDo) {
    if (getuid() != 0) GTEST_SKIP() << "needs to run as root to read as another user";
    struct Row {
        const char* label;
        const char* mode;  // journal mode of the project
        const char* sql;   // run by a program that dies without closing it
        bool bFlush;
        const char* expect;  // what OpenAsNobody answers, or words of its message
    } rows[] = {
        {"WAL project with changes in its -wal", "PRAGMA journal_mode=WAL", "UPDATE PNODE SET x = 42 WHERE key = 7", false,
         "x=42"},
        {"WAL project without a -wal", "PRAGMA journal_mode=WAL", "SELECT 1", false, "x=0"},
        {"a stopped save's journal", "SELECT 1", "UPDATE PNODE SET x = 99", true, "PRAGMA integrity_check"},
    };
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string dir = std::string(PVX_TEST_TMPDIR) + "/db_readonly_" + std::to_string(n++);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        const std::string path = dir + "/p.pvxdb";
        WriteFile(path, ReadFile(EditedCopy("readonly_src.pvxdb", r.mode)));
        const std::string x7 = Joined(Column(path, "SELECT CAST(x AS INTEGER) FROM PNODE WHERE key = 7"));
        // A WAL writer commits into its -wal and dies (its -shm goes too); a rollback-journal
        // writer dies inside its transaction with pages already written.
        ASSERT_TRUE(DiesWriting(path, r.bFlush ? "PRAGMA cache_size = 1; BEGIN" : "PRAGMA wal_autocheckpoint = 0", r.sql,
                                r.bFlush));
        unlink((path + "-shm").c_str());
        const std::vector<std::string> before = Names(dir);
        chmod(dir.c_str(), 0555);
        chmod(path.c_str(), 0444);
        const std::string got = OpenAsNobody(path);
        chmod(dir.c_str(), 0755);
        if (std::string(r.expect).rfind("x=", 0) == 0) {
            EXPECT_EQ(got, std::string(r.expect) == "x=0" ? "x=" + x7 : r.expect);
        } else {
            EXPECT_NE(got.find(r.expect), std::string::npos) << got;
            EXPECT_NE(got.find(path + "-journal"), std::string::npos) << got;
        }
        EXPECT_EQ(Names(dir), before) << "nothing made or removed beside the project";
    }
}

}  // namespace dbtest
