// Project files made hostile with SQLite itself: objects that only look like tables, keys and
// result ids of the wrong type or repeated, values no drawing can use, a database in WAL mode,
// members listing an element many times. Each is refused with a message naming file, table,
// column and key (or read as the writer meant it), and the file is never changed.
#include "DbTestUtil.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/afx/WorkCrew.h"

namespace dbtest {

namespace {

struct Refusal {
    const char* label;
    const char* sql;                 // run on a copy of the test project
    std::vector<const char*> words;  // the message must contain each
    int resultTable = -1;            // a result table: refused when first read, not at opening
};

// Opens each edited copy: the open fails, the message holds every word and none of `absent`,
// the database holds nothing, and the file and its folder are as they were. A damaged result
// table is refused when first read instead (ExpectRefusedWhenRead).
void ExpectRefused(const char* group, const std::vector<Refusal>& rows, const char* absent = nullptr) {
    int n = 0;
    for (const Refusal& r : rows) {
        SCOPED_TRACE(r.label);
        std::string path = EditedCopy(std::string(group) + "_" + std::to_string(n++) + ".pvxdb", r.sql);
        unsigned long long before = FileHash(path);
        if (r.resultTable >= 0) {
            std::string msg = ExpectRefusedWhenRead(path, r.resultTable, r.words);
            if (absent) {
                EXPECT_EQ(msg.find(absent), std::string::npos) << "message: " << msg;
            }
            EXPECT_EQ(FileHash(path), before) << "the file changed";
            continue;
        }
        CDataBase db;
        EXPECT_FALSE(db.Open(path.c_str()));
        std::string msg = static_cast<LPCTSTR>(db.GetLastError());
        EXPECT_NE(msg.find(path), std::string::npos) << "message: " << msg;
        for (const char* w : r.words) EXPECT_NE(msg.find(w), std::string::npos) << "message: " << msg << "\nlacks: " << w;
        if (absent) {
            EXPECT_EQ(msg.find(absent), std::string::npos) << "message: " << msg << "\nshould not mention " << absent;
        }
        EXPECT_EQ(db.Table<DBT_PNODE>().Count(), 0u);
        EXPECT_EQ(FileHash(path), before) << "the file changed";
        for (const char* suffix : {"-wal", "-shm", "-journal"})
            EXPECT_FALSE(std::ifstream(path + suffix).good()) << suffix << " file left beside it";
    }
}

// The key column of PNODE (or the id column of REAC) made an ordinary column, so that it can
// hold any value, repeated ones too.
#define PLAIN_PNODE "CREATE TABLE t AS SELECT * FROM PNODE; DROP TABLE PNODE; ALTER TABLE t RENAME TO PNODE;"
#define PLAIN_REAC "CREATE TABLE t AS SELECT * FROM REAC; DROP TABLE REAC; ALTER TABLE t RENAME TO REAC;"
#define PLAIN(t) "CREATE TABLE t AS SELECT * FROM " t "; DROP TABLE " t "; ALTER TABLE t RENAME TO " t ";"
// The first row of a table keyed 0.
#define KEY_0(t) "UPDATE " t " SET key = 0 WHERE key = (SELECT min(key) FROM " t ")"
// Result id of load case 2, node 10: 2 x 2^32 + 10.
#define REAC_2_10 "8589934602"

}  // namespace

// Views and virtual tables compute their rows when read: a recursive view never ends, and a view
// can make a 400 MB value from a small file. Only stored tables are read.
TEST(PostDbDamaged, OnlyStoredTablesAreRead) {
    ExpectRefused(
        "kind",
        {
            {"a view over the real rows", "ALTER TABLE PNODE RENAME TO n2; CREATE VIEW PNODE AS SELECT * FROM n2",
             {"table PNODE", "not a stored table", "a view"}},
            {"a recursive view without end",
             "DROP TABLE PNODE; CREATE VIEW PNODE AS WITH RECURSIVE r(key, seq, x, y, z) AS "
             "(SELECT 1, 0, 0.0, 0.0, 0.0 UNION ALL SELECT key + 1, seq + 1, x, y, z FROM r) SELECT * FROM r",
             {"table PNODE", "a view"}},
            {"a view making a 400 MB element list",
             "ALTER TABLE PMEMB RENAME TO m2; CREATE VIEW PMEMB AS SELECT key, seq, type, subkind, model_key, "
             "pile_key, node3, node4, length, offset_z, nodes, zeroblob(400000000) AS elems FROM m2",
             {"table PMEMB", "a view"}},
            {"the header a view",
             "ALTER TABLE pvx_header RENAME TO h2; CREATE VIEW pvx_header AS SELECT * FROM h2",
             {"table pvx_header", "a view"}},
            {"a virtual table",
             "DROP TABLE PSLAB; CREATE VIRTUAL TABLE PSLAB USING fts4(key, seq, result_type, nodes)",
             {"table PSLAB", "virtual table"}},
            {"a computed column",
             "DROP TABLE PSLAB; CREATE TABLE PSLAB (key INTEGER PRIMARY KEY, seq INTEGER NOT NULL, "
             "result_type INTEGER NOT NULL, nodes BLOB GENERATED ALWAYS AS (zeroblob(400000000)))",
             {"table PSLAB", "column nodes", "computed"}},
        });
    // Nothing of the 400 MB was ever made.
    EXPECT_LT(sqlite3_memory_highwater(0), 64LL << 20);

    // Triggers have names of their own: one named like a table leaves the table readable.
    std::string path = EditedCopy("kind_trigger.pvxdb", "CREATE TRIGGER PNODE AFTER INSERT ON PMATL BEGIN SELECT 1; END");
    CDataBase db;
    EXPECT_TRUE(db.Open(path.c_str())) << db.GetLastError();
    EXPECT_EQ(db.Table<DBT_PNODE>().Count(), 5u);
}

// A key is a whole number used by one row; a result id likewise. Before, text and NULL became
// key 0, 10.5 became 10 beside the real node 10, and repeats were kept or blamed on seq.
TEST(PostDbDamaged, KeysAndResultIdsAreWholeNumbersUsedOnce) {
    ExpectRefused("keys",
                  {
                      {"text key", PLAIN_PNODE "UPDATE PNODE SET key = 'abc' WHERE key = 7",
                       {"table PNODE", "column key", "key \"abc\"", "whole number"}},
                      {"text key with a control character", PLAIN_PNODE "UPDATE PNODE SET key = 'a' || char(27) WHERE key = 7",
                       {"table PNODE", "column key", "key \"a\\x1b\""}},
                      {"NULL key", PLAIN_PNODE "UPDATE PNODE SET key = NULL WHERE key = 7",
                       {"table PNODE", "column key", "key NULL", "whole number"}},
                      {"fractional key next to a real one", PLAIN_PNODE "UPDATE PNODE SET key = 10.5 WHERE key = 3",
                       {"table PNODE", "column key", "key 10.5", "whole number"}},
                      {"key repeated with another seq", PLAIN_PNODE "INSERT INTO PNODE SELECT key, 99, x + 1, y, z FROM PNODE WHERE key = 7",
                       {"table PNODE", "column key", "key 7", "more than one row"}},
                      {"result id repeated with other values",
                       PLAIN_REAC "INSERT INTO REAC SELECT id, FX, FY, FZ + 1, MX, MY, MZ FROM REAC WHERE id = " REAC_2_10,
                       {"table REAC", "column id", "load 2, key 10", "more than one row"}, DBT_REAC},
                      {"result id repeated exactly", PLAIN_REAC "INSERT INTO REAC SELECT * FROM REAC WHERE id = " REAC_2_10,
                       {"table REAC", "column id", "load 2, key 10", "more than one row"}, DBT_REAC},
                      // Before, these rows were met only by a read of the whole table: a read
                      // by load passed over them and drew without them.
                      {"text result id", PLAIN_REAC "UPDATE REAC SET id = 'x' WHERE id = " REAC_2_10,
                       {"table REAC", "column id", "id \"x\"", "whole number"}},
                      {"NULL result id", PLAIN_REAC "UPDATE REAC SET id = NULL WHERE id = " REAC_2_10,
                       {"table REAC", "column id", "id NULL"}},
                      {"fractional result id", PLAIN_REAC "UPDATE REAC SET id = id + 0.5 WHERE id = " REAC_2_10,
                       {"table REAC", "column id", "id 8589934602.5"}},
                      {"NULL displacement id", PLAIN("DISP") "UPDATE DISP SET id = NULL WHERE rowid = 2",
                       {"table DISP", "column id", "row 2", "id NULL"}},
                      {"text mode id", PLAIN("MODE") "UPDATE MODE SET id = 'x' WHERE rowid = 1",
                       {"table MODE", "column id", "row 1", "id \"x\""}},
                      // Keys run from 1: before, a load case keyed 0 was listed and then could not
                      // be selected.
                      {"node keyed 0", KEY_0("PNODE"), {"table PNODE", "column key", "key 0", "1 to 4294967295"}},
                      {"load case keyed 0", KEY_0("PSTLD"), {"table PSTLD", "column key", "key 0"}},
                      {"frequency keyed 0", KEY_0("FREQ"), {"table FREQ", "column key", "key 0"}},
                      // Before, these were read and drawn or listed without a word.
                      {"result row of key 0", "UPDATE REAC SET id = 8589934592 WHERE id = " REAC_2_10,
                       {"table REAC", "column id", "load 2, key 0", "names load 0 or key 0"}, DBT_REAC},
                      {"result row of load 0", "UPDATE REAC SET id = 10 WHERE id = " REAC_2_10,
                       {"table REAC", "column id", "load 0, key 10"}, DBT_REAC},
                      // Node 4294967295 in place of node 7 (bytes 5-8) of element 22.
                      {"element naming a node that does not exist",
                       "UPDATE PELEM SET node = CAST(substr(node, 1, 4) || x'FFFFFFFF' || substr(node, 9) AS BLOB) WHERE key = 22",
                       {"table PELEM", "column node", "key 22", "no node 4294967295 in PNODE"}},
                      // Before, each of these opened: drawn by one command and refused by another, or
                      // printed raw, or (the archive) decoded in quadratic time.
                      {"member naming an element that does not exist", "UPDATE PMEMB SET elems = x'3F420F00' WHERE key = 1",
                       {"table PMEMB", "column elems", "key 1", "no element 999999 in PELEM"}},
                      {"element of 0 nodes naming nodes", "UPDATE PELEM SET nnode = 0 WHERE key = 22",
                       {"table PELEM", "column node", "key 22", "entry 1 names node 5, past the 0 used entries"}},
                      {"load case of type 77", "UPDATE PSTLD SET type = 77 WHERE key = 1",
                       {"table PSTLD", "column type", "key 1", "load case type 77 is none of"}},
                      {"combination term of kind 7",
                       "UPDATE PLCOM SET entries = CAST(x'07000000' || substr(entries, 5) AS BLOB) WHERE key = 101",
                       {"table PLCOM", "column entries", "key 101", "term 1 is of kind 7"}},
                      {"name that is not UTF-8", "UPDATE PSTLD SET name = CAST(x'44FF' AS TEXT) WHERE key = 1",
                       {"table PSTLD", "column name", "key 1", "not valid UTF-8 at byte 2 (0xFF)"}},
                      {"page settings of 8 MiB", "UPDATE PAGESET SET archive = hex(zeroblob(4194304)) WHERE key = 7301",
                       {"table PAGESET", "column archive", "key 7301", "8388608 hexadecimal digits, longer than the 1160"}},
                      // Before, the check was drawn without its load ("10.00", not "...(102)").
                      {"check map keyed by no load group", "DELETE FROM CKLG WHERE key = 102",
                       {"table PCDCOLF", "column czl", "key 7", "load group 102 of its map is in neither CKLG nor LDGP"}},
                      // Before, the map kept one entry and the figure dropped the other's texts.
                      {"check map naming a load group twice",
                       "UPDATE PCDCOLF SET czl = CAST(x'02000000' || substr(czl, 5) || substr(czl, 5) AS BLOB) WHERE key = 7",
                       {"table PCDCOLF", "column czl", "key 7", "a load group named twice"}},
                      // Entries 101 and 103: the second key's low byte (byte 17) made the first's (byte 5).
                      {"design map naming a load group twice",
                       "UPDATE PDDCOLF SET mz = CAST(substr(mz, 1, 16) || substr(mz, 5, 1) || substr(mz, 18) AS BLOB) WHERE key = 7",
                       {"table PDDCOLF", "column mz", "key 7", "a load group named twice"}},
                  });
    // An exactly repeated row is a repeated key, not a question of its position (seq).
    ExpectRefused("keys_exact",
                  {{"row repeated exactly", PLAIN_PNODE "INSERT INTO PNODE SELECT * FROM PNODE WHERE key = 7",
                    {"table PNODE", "column key", "key 7", "more than one row"}}},
                  "seq");
}

// SQLite keeps +-infinity in REAL columns (9e999 reads as infinity) and NaN inside blobs.
// Lengths that place things are also held to 1e7 m in magnitude, moved-text offsets to 4e7 m.
TEST(PostDbDamaged, NonFiniteValuesAndFarCoordinatesAreRefused) {
    ExpectRefused(
        "values",
        {
            {"node at +infinity", "UPDATE PNODE SET x = 9e999 WHERE key = 7",
             {"table PNODE", "column x", "key 7", "not a finite number (+infinity)"}},
            {"node at -infinity", "UPDATE PNODE SET y = -9e999 WHERE key = 3",
             {"table PNODE", "column y", "key 3", "-infinity"}},
            {"node at 1e300", "UPDATE PNODE SET z = 1e300 WHERE key = 5",
             {"table PNODE", "column z", "key 5", "coordinate 1e+300 is beyond 1e+07"}},
            {"node just beyond 1e7", "UPDATE PNODE SET x = -10000000.5 WHERE key = 10",
             {"table PNODE", "column x", "key 10", "coordinate -10000000.5 is beyond 1e+07"}},
            {"element of 10^6 nodes", "UPDATE PELEM SET nnode = 1000000 WHERE key = 22",
             {"table PELEM", "column nnode", "key 22", "1000000 used node entries; an element has 0 to 8"}},
            {"element of 2^31 - 1 nodes", "UPDATE PELEM SET nnode = 2147483647 WHERE key = 21",
             {"table PELEM", "column nnode", "key 21", "2147483647 used node entries"}},
            {"section 1e9 m wide", "UPDATE PSECT SET dim = CAST(x'0000000065CDCD41' || substr(dim, 9) AS BLOB) WHERE key = 2",
             {"table PSECT", "column dim", "key 2", "value 1 of 4 is 1e+09, beyond 1000"}},
            // Before, these were read and their sheets drawn in one colour.
            {"settlement point 1e9 m away", "UPDATE PCDSINK SET x = 1e9 WHERE key = 30",
             {"table PCDSINK", "column x", "key 30", "coordinate 1e+09 is beyond 1e+07"}},
            {"super node at infinity", "UPDATE PNODESE SET x = 9e999 WHERE key = 1",
             {"table PNODESE", "column x", "key 1", "infinity"}},
            {"wall corner far away", "UPDATE PWALL SET z2 = 2e9 WHERE key = 3",
             {"table PWALL", "column z2", "key 3", "beyond"}},
            {"super-node offset far away", "UPDATE PRDSTSE SET dx = 1e10 WHERE key = 20",
             {"table PRDSTSE", "column dx", "key 20", "beyond"}},
            {"member drawn far below", "UPDATE PMEMB SET offset_z = -1e12 WHERE key = 3",
             {"table PMEMB", "column offset_z", "key 3", "beyond"}},
            {"cutting line far away", "UPDATE CTLN SET y2 = 5e9 WHERE key = 2",
             {"table CTLN", "column y2", "key 2", "beyond"}},
            {"line of an unknown kind", "UPDATE CTLN SET kind = 2 WHERE key = 8",
             {"table CTLN", "column kind", "key 8", "neither 0 (cutting line) nor 1 (slab strip)"}},
            {"strip of negative width", "UPDATE CTLN SET width = -1.5 WHERE key = 8",
             {"table CTLN", "column width", "key 8", "width is negative"}},
            {"reaction of infinity", "UPDATE REAC SET FZ = 9e999 WHERE id = " REAC_2_10,
             {"table REAC", "column FZ", "load 2, key 10", "+infinity"}, DBT_REAC},
            // Finite but huge: sums and squares of such values overflow. Before, they printed
            // "max inf" and drew the model undeformed.
            {"reaction of 1e300", "UPDATE REAC SET FZ = 1e300 WHERE id = " REAC_2_10,
             {"table REAC", "column FZ", "load 2, key 10", "1e+300 is beyond 1e+15 in magnitude"}, DBT_REAC},
            {"member force of -2e15",
             "UPDATE MBWG SET d = CAST(substr(d, 1, 8) || x'00003426F56B1CC3' || substr(d, 17) AS BLOB) WHERE id = 8589934593",
             {"table MBWG", "column d", "load 2, key 1", "value 2 of 54 is -2e+15, beyond 1e+15"}, DBT_MBWG},
            {"frequency of -infinity", "UPDATE FREQ SET omega = -9e999 WHERE key = 1",
             {"table FREQ", "column omega", "key 1", "-infinity"}},
            // Value 2 of the 54 member forces (bytes 9-16) becomes the NaN 0x7FF8000000000000.
            {"NaN among member forces",
             "UPDATE MBWG SET d = CAST(substr(d, 1, 8) || x'000000000000F87F' || substr(d, 17) AS BLOB) WHERE id = 8589934593",
             {"table MBWG", "column d", "load 2, key 1", "value 2 of 54", "NaN"}, DBT_MBWG},
            // Term 2 of combination 101 (bytes 17-32; its factor at bytes 25-32) becomes -infinity.
            {"combination factor of -infinity",
             "UPDATE PLCOM SET entries = CAST(substr(entries, 1, 24) || x'000000000000F0FF' || substr(entries, 33) AS BLOB) "
             "WHERE key = 101",
             {"table PLCOM", "column entries", "key 101", "factor of term 2 is not a finite number"}},
            // Two steps need 2 x 18 values; the first 8 bytes (one value) cut off leave 35.
            {"time history one value short", "UPDATE DISPHIS SET \"values\" = substr(\"values\", 9)",
             {"table DISPHIS", "column values", "load 4, key 7", "35 values where 2 steps need 18 x 2 = 36"}, DBT_DISPHIS},
            {"negative number of steps", "UPDATE DISPHIS SET nstep = -1",
             {"table DISPHIS", "column nstep", "load 4, key 7", "negative"}, DBT_DISPHIS},
            {"time step of 0", "UPDATE DISPHIS SET dt = 0",
             {"table DISPHIS", "column dt", "load 4, key 7", "a time step of 0 s"}, DBT_DISPHIS},
            {"negative time step", "UPDATE DISPHIS SET dt = -0.01",
             {"table DISPHIS", "column dt", "load 4, key 7", "a time step of -0.01 s"}, DBT_DISPHIS},
            // Value 1 of the 36 history values (two steps of 18) becomes +infinity 0x7FF0000000000000.
            {"infinity in a time history",
             "UPDATE DISPHIS SET \"values\" = CAST(x'000000000000F07F' || substr(\"values\", 9) AS BLOB)",
             {"table DISPHIS", "column values", "load 4, key 7", "value 1 of 36", "+infinity"}, DBT_DISPHIS},
        });

    // The limits themselves, and tiny (denormal) coordinates, are data.
    // A negative result id is a load of 2^31 or above: id -1 is load 4294967295, key 4294967295.
    std::string path = EditedCopy("values_ok.pvxdb",
                                  "UPDATE PNODE SET x = 1e7, y = -1e7, z = 4.9e-324 WHERE key = 7;"
                                  "UPDATE PWALL SET x1 = -1e7 WHERE key = 3;"
                                  "UPDATE REAC SET id = -1 WHERE id = " REAC_2_10);
    CDataBase db;
    ASSERT_TRUE(db.Open(path.c_str())) << db.GetLastError();
    const T_PNODE_D* n = db.Table<DBT_PNODE>().Find(7);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->x, 1e7);
    EXPECT_EQ(n->y, -1e7);
    EXPECT_EQ(n->z, 4.9e-324);
    EXPECT_EQ(db.Table<DBT_PWALL>().Find(3)->x1, -1e7);
    EXPECT_NE(db.Table<DBT_REAC>().Find(4294967295u, 4294967295u), nullptr);
}

// Opening never writes beside the file: a database in WAL mode without a -wal file is read as
// it is (no -wal or -shm made), and one whose -wal holds committed changes shows them.
TEST(PostDbDamaged, WalModeDatabasesAreReadWithoutWritingBesideThem) {
    std::string path = EditedCopy("wal.pvxdb", "PRAGMA journal_mode=WAL");
    unsigned long long before = FileHash(path);
    {
        CDataBase db;
        ASSERT_TRUE(db.Open(path.c_str())) << db.GetLastError();
        EXPECT_EQ(db.Table<DBT_PNODE>().Count(), 5u);
    }
    // SQLite's own -wal and -shm files live while the project is open and go when it closes.
    for (const char* suffix : {"-wal", "-shm"})
        EXPECT_FALSE(std::ifstream(path + suffix).good()) << suffix << " file left beside it";
    EXPECT_EQ(FileHash(path), before);

    // A writer keeps its connection (and so its -wal file) open with a change not yet copied
    // into the database file.
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "PRAGMA wal_autocheckpoint=0; UPDATE PNODE SET x = 42 WHERE key = 7", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    EXPECT_TRUE(std::ifstream(path + "-wal").good());
    {
        CDataBase db;
        ASSERT_TRUE(db.Open(path.c_str())) << db.GetLastError();
        ASSERT_NE(db.Table<DBT_PNODE>().Find(7), nullptr);
        EXPECT_EQ(db.Table<DBT_PNODE>().Find(7)->x, 42.0) << "the -wal file's content was ignored";
    }
    sqlite3_close(writer);

    // File names with the characters a URI gives meaning to.
    for (const char* name : {"db_a?b#c%20d&e.pvxdb", "db_with space;=.pvxdb", "db_载荷.pvxdb"}) {
        SCOPED_TRACE(name);
        std::string p = TmpPath(name);
        WriteFile(p, ReadFile(SavedProject("uri_source.pvxdb")));
        CDataBase db;
        EXPECT_TRUE(db.Open(p.c_str())) << db.GetLastError();
        EXPECT_EQ(db.Table<DBT_PNODE>().Count(), 5u);
    }
}

// A member listing an element many times would draw it, and look its forces up, as often.
TEST(PostDbDamaged, MembersListEachElementOnce) {
    PostDBBuilder b;
    BuildProject(b);
    T_PMEMB_D m = *b.DB().Table<DBT_PMEMB>().Find(1);
    m.aElem.RemoveAll();
    for (int i = 0; i < 1000; ++i) m.aElem.Add(22);
    b.AddMemb(1, m);
    T_PMEMB_D mixed = *b.DB().Table<DBT_PMEMB>().Find(2);
    mixed.aElem.RemoveAll();
    for (UINT e : {21u, 22u, 21u, 20u, 22u, 21u}) mixed.aElem.Add(e);
    b.AddMemb(2, mixed);
    std::string path = TmpPath("repeated_elems.pvxdb");
    ASSERT_TRUE(b.Save(path.c_str())) << b.GetLastError();

    CDataBase db;
    ASSERT_TRUE(db.Open(path.c_str())) << db.GetLastError();
    struct Row {
        UINT memb;
        std::vector<UINT> elems;  // each at its first place
        const char* warning;      // "" for none
    } rows[] = {
        {1, {22}, "key 1: lists element 22 1000 times"},
        {2, {21, 22, 20}, "key 2: lists element 21 3 times, element 22 2 times"},
        {3, {20}, ""},
    };
    ASSERT_EQ(db.GetWarnings().size(), 2u);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.memb);
        const T_PMEMB_D* got = db.Table<DBT_PMEMB>().Find(r.memb);
        ASSERT_NE(got, nullptr);
        ASSERT_EQ(got->aElem.GetSize(), static_cast<INT_PTR>(r.elems.size()));
        for (size_t i = 0; i < r.elems.size(); ++i) EXPECT_EQ(got->aElem[static_cast<INT_PTR>(i)], r.elems[i]);
        if (*r.warning) {
            bool found = false;
            for (const std::string& w : db.GetWarnings())
                found |= w.find(r.warning) != std::string::npos && w.find("table PMEMB, column elems") != std::string::npos &&
                         w.find(path) != std::string::npos;
            EXPECT_TRUE(found) << r.warning;
        }
    }

    // A clean file has no warnings, and a later open forgets the earlier ones.
    ASSERT_TRUE(db.Open(SavedProject("clean.pvxdb").c_str()));
    EXPECT_TRUE(db.GetWarnings().empty());
}

// The loads holding a result of one of the given objects, in the order asked.
TEST(PostDbDamaged, LoadsWithResultsOfGivenObjects) {
    PostDBBuilder b;
    BuildProject(b);  // displacements of node 7 under cases 1, 2, 3, 4
    b.AddDisp(5, 99, Disp(1, 0, 0, 0, 0, 0));
    const auto& disp = b.DB().Table<DBT_DISP>();
    struct Row {
        const char* label;
        std::vector<UINT> loads, keys, expected;
    } rows[] = {
        {"order of the loads asked", {4, 2, 9, 1}, {10, 7}, {4, 2, 1}},
        {"a result of an object not asked for", {5, 2}, {7}, {2}},
        {"that object asked for", {5, 2}, {99}, {5}},
        {"no objects", {1, 2}, {}, {}},
    };
    // The same answers from a saved copy whose table is still in the file (read from the
    // result ids alone, the table left unread).
    std::string path = TmpPath("loads_with.pvxdb");
    ASSERT_TRUE(b.DB().Save(path.c_str())) << b.DB().GetLastError();
    CDataBase opened;
    ASSERT_TRUE(opened.Open(path.c_str())) << opened.GetLastError();
    const auto& pending = opened.Table<DBT_DISP>();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(disp.LoadsWithAnyOf(r.loads, r.keys), r.expected);
        EXPECT_EQ(pending.LoadsWithAnyOf(r.loads, r.keys), r.expected);
    }
    EXPECT_TRUE(pending.IsPending());
}

// Names are shown with their control characters escaped, so that a name cannot forge lines or
// drive the terminal.
TEST(PostDbDamaged, TextIsEscapedForShowing) {
    struct Row {
        const char* label;
        const char* in;
        size_t max;
        const char* out;
    } rows[] = {
        {"plain", "1.3D+1.5L", 100, "1.3D+1.5L"},
        {"Chinese", "恒载", 100, "恒载"},
        {"line breaks", "A\r\nLoad case 9: B", 100, "A\\r\\nLoad case 9: B"},
        {"escape sequence", "\x1b[2J", 100, "\\x1b[2J"},
        {"tab and DEL", "a\tb\x7f", 100, "a\\tb\\x7f"},
        {"C1 control U+009B", "x\xc2\x9b" "1m", 100, "x\\u009b1m"},
        {"bytes that are not UTF-8", "a\xff\xe6\x81", 100, "a\\xff\\xe6\\x81"},
        {"overlong encoding of '/'", "\xc0\xaf", 100, "\\xc0\\xaf"},
        {"cut at a whole character", "恒载", 4, "恒..."},
        {"cut in ASCII", "abcdef", 3, "abc..."},
        {"null", nullptr, 100, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(pvxdb::EscapeText(r.in, r.max), r.out);
    }
}

// A lookup reads only the rows of its load; asking for every record reads the rest, and the
// records are those of a whole read. A damage is found when the rows holding it are read: the
// table is then emptied (nothing of it is drawn), refused once, and not read again.
// A load of many rows, after a first load, is read in parts on several connections at once: the
// records one read gives, and the first damaged row in id order refused as one read refuses it.
// In WAL mode, where a save may end between the parts' reads, one connection reads the load, and
// so it does the first load a file is asked for.
TEST(PostDbDamaged, LoadsReadInPartsGiveWhatOneReadGives) {
    // Load 3: 60,000 rows of odd keys up to 119,999, many parts' worth of ids.
#define LOAD_3 "3 * 4294967296"
#define MANY_ROWS                                                                                      \
    "WITH RECURSIVE k(n) AS (SELECT 1 UNION ALL SELECT n + 2 FROM k WHERE n < 119999) "            \
    "INSERT INTO REAC SELECT " LOAD_3 " + n, n, -n, n * 0.5, 1.0 / n, 0, n % 7 FROM k;"
    const struct Row {
        const char* label;
        const char* sql;
        const char* refused;  // the key the message names, or null when the load is sound
        bool inParts = true;  // read on further connections
        int threads = 0;      // WorkThreads() for the row, 0 as the machine has it
        int made = -1;        // helper threads that can be made, -1 as many as asked
        bool bAfterLoad1 = true;  // load 1 read before
    } rows[] = {
        {"sound", MANY_ROWS, nullptr},
        {"the last row damaged", MANY_ROWS "UPDATE REAC SET FZ = 9e999 WHERE id = " LOAD_3 " + 119999;", "key 119999"},
        {"rows of two parts damaged",
         MANY_ROWS "UPDATE REAC SET MX = -9e999 WHERE id IN (" LOAD_3 " + 100001, " LOAD_3 " + 60001);", "key 60001"},
        {"in WAL mode", MANY_ROWS "PRAGMA journal_mode = WAL;", nullptr, false},
        {"no helper thread to be had: one connection reads the load", MANY_ROWS, nullptr, false, 8, 0},
        {"two helpers of seven, a row damaged", MANY_ROWS "UPDATE REAC SET FZ = 9e999 WHERE id = " LOAD_3 " + 90001;",
         "key 90001", true, 8, 2},
        {"the first load of the file: one connection reads it", MANY_ROWS, nullptr, false, 0, -1, false},
    };
    // As many further connections as a machine of four processors has, on any machine (before,
    // one processor read one way on both sides).
    CDataBase::SetPartReaders(3);
#undef MANY_ROWS
#undef LOAD_3
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        WorkCrew::TestLimit limit(r.threads, r.made);
        const std::string path = EditedCopy("in_parts_" + std::to_string(n++) + ".pvxdb", r.sql);
        CDataBase whole, parts;
        ASSERT_TRUE(whole.Open(path.c_str())) << whole.GetLastError();
        ASSERT_TRUE(parts.Open(path.c_str())) << parts.GetLastError();
        whole.ReadPendingTables();
        const auto& t = parts.Table<DBT_REAC>();
        if (r.bAfterLoad1) t.Find(1, 1);
        const T_REAC_D* found = t.Find(3, 1);
        EXPECT_EQ(parts.GetPartReads() > 0, r.inParts);
        if (r.refused) {
            EXPECT_EQ(found, nullptr);
            ASSERT_EQ(parts.GetReadErrors().size(), 1u);
            EXPECT_NE(parts.GetReadErrors()[0].find(r.refused), std::string::npos) << parts.GetReadErrors()[0];
            EXPECT_EQ(parts.GetReadErrors(), whole.GetReadErrors());
            continue;
        }
        const auto load = t.RecordsOf(3);
        ASSERT_NE(load, nullptr);
        ASSERT_EQ(load->keys.size(), 60000u);
        size_t same = 0;
        for (size_t i = 0; i < load->keys.size(); ++i) {
            const T_REAC_D* w = whole.Table<DBT_REAC>().Find(3, load->keys[i]);
            same += load->keys[i] == 2 * i + 1 && w && ImageOf(*w) == ImageOf(load->recs[i]) &&
                    load->Find(load->keys[i]) == &load->recs[i];
        }
        EXPECT_EQ(same, load->keys.size()) << "records in key order, each as one read gives it";
        EXPECT_TRUE(parts.GetReadErrors().empty());
    }
    CDataBase::SetPartReaders(-1);
}

TEST(PostDbDamaged, ResultRowsAreReadByLoadWhenLookedUp) {
    const std::string path = SavedProject("by_load.pvxdb");
    CDataBase whole;
    ASSERT_TRUE(whole.Open(path.c_str())) << whole.GetLastError();
    whole.ReadPendingTables();
    CDataBase lazy;
    ASSERT_TRUE(lazy.Open(path.c_str())) << lazy.GetLastError();
    const auto& reac = lazy.Table<DBT_REAC>();
    ASSERT_NE(reac.Find(2, 10), nullptr);
    EXPECT_EQ(reac.Find(2, 10)->FZ, 100.0);
    EXPECT_TRUE(reac.IsPending());
    EXPECT_TRUE(reac.HasLoad(2));
    EXPECT_FALSE(reac.HasLoad(1));
    EXPECT_EQ(reac.Find(7, 10), nullptr) << "a load without rows";
    const auto& all = whole.Table<DBT_REAC>().Records();
    EXPECT_EQ(reac.Records().size(), all.size());
    EXPECT_FALSE(reac.IsPending());
    for (const auto& kv : all) {
        const T_REAC_D* r = reac.Find(static_cast<UINT>(kv.first >> 32), static_cast<UINT>(kv.first));
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->FZ, kv.second.FZ);
        EXPECT_EQ(r->MX, kv.second.MX);
    }
    // A load's records held whole keep their values when the table changes after.
    const auto held = reac.RecordsOf(2);
    ASSERT_NE(held, nullptr);
    T_REAC_D changed = *held->Find(10);
    changed.FZ = -1.0;
    lazy.Table<DBT_REAC>().Set(2, 10, changed);
    EXPECT_EQ(held->Find(10)->FZ, 100.0);
    EXPECT_EQ(reac.Find(2, 10)->FZ, -1.0);

    const std::string damaged = EditedCopy("by_load_damaged.pvxdb", "UPDATE REAC SET FZ = 9e999 WHERE id = " REAC_2_10);
    struct Row {
        const char* label;
        std::vector<UINT> loadsLookedUp;  // in this order, node 10 each
        size_t found;                     // lookups that found a record
    } rows[] = {
        {"the sound load alone", {1}, 1},
        {"the sound load, then the damaged one", {1, 2}, 1},
        {"the damaged load first", {2, 1}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CDataBase db;
        ASSERT_TRUE(db.Open(damaged.c_str())) << db.GetLastError();
        const auto& t = db.Table<DBT_REAC>();
        size_t found = 0;
        for (UINT lc : r.loadsLookedUp) found += t.Find(lc, 10) != nullptr;
        EXPECT_EQ(found, r.found);
        const bool refused = std::find(r.loadsLookedUp.begin(), r.loadsLookedUp.end(), 2u) != r.loadsLookedUp.end();
        EXPECT_EQ(t.IsPending(), !refused);
        EXPECT_EQ(db.GetReadErrors().size(), refused ? 1u : 0u);
        if (refused) {
            EXPECT_EQ(t.Find(1, 10), nullptr) << "nothing of a refused table is kept";
            EXPECT_NE(db.GetReadErrors()[0].find("load 2, key 10"), std::string::npos) << db.GetReadErrors()[0];
        }
        db.ReadPendingTables();
        EXPECT_EQ(db.GetReadErrors().size(), 1u) << "refused once, whenever the damage is read";
    }
}

}  // namespace dbtest

#undef PLAIN_PNODE
#undef PLAIN_REAC
#undef PLAIN
#undef KEY_0
#undef REAC_2_10
