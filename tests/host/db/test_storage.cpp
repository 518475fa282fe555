// Saving and opening project files: every table survives a round trip in table order, and
// files that are not ours, damaged or incomplete are refused with a message naming the
// problem, without a byte of them changing.
#include "DbTestUtil.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace dbtest {

namespace {

template <int ID> std::map<uint64_t, std::string> ResultImage(CDataBase& db) {
    std::map<uint64_t, std::string> m;
    for (const auto& kv : db.Table<ID>().Records()) m[kv.first] = ImageOf(kv.second);
    return m;
}

}  // namespace

TEST(PostDbStorage, RoundTripKeepsEveryTableAndTableOrder) {
    PostDBBuilder b;
    BuildProject(b);
    b.SetFloor(TRUE);
    b.Set3D(FALSE);
    std::string path = TmpPath("roundtrip.pvxdb");
    ASSERT_TRUE(b.Save(path.c_str())) << b.GetLastError();

    CDataBase in;
    ASSERT_TRUE(in.Open(path.c_str())) << in.GetLastError();
    CDataBase& out = b.DB();
#define CHECK_MODEL(id, type, name)                                                       \
    {                                                                                     \
        SCOPED_TRACE(name);                                                               \
        EXPECT_GT(out.Table<DBT_##id>().Count(), 0u) << "the test project leaves it empty"; \
        EXPECT_EQ(TableImage<DBT_##id>(in), TableImage<DBT_##id>(out));                  \
    }
#define CHECK_RESULT(id, type, name)                                     \
    {                                                                    \
        SCOPED_TRACE(name);                                              \
        EXPECT_GT(out.Table<DBT_##id>().Count(), 0u);                    \
        EXPECT_EQ(ResultImage<DBT_##id>(in), ResultImage<DBT_##id>(out)); \
    }
    PVXDB_MODEL_TABLES(CHECK_MODEL)
    PVXDB_RESULT_TABLES(CHECK_RESULT)
#undef CHECK_MODEL
#undef CHECK_RESULT
    EXPECT_TRUE(in.IsFloor());
    EXPECT_FALSE(in.Is3D());

    // Table order, not key order, and named fields read back as written.
    CClassPNode nodes;
    nodes.ConnectToDB(&in);
    CArray<UINT, UINT> keys;
    ASSERT_EQ(nodes.GetKeyList(keys), 5);
    const UINT expect[] = {10, 3, 7, 5, 4000000000u};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(keys[i], expect[i]) << "position " << i;
    T_PNODE_D n;
    ASSERT_TRUE(nodes.Get(4000000000u, n));
    EXPECT_EQ(n.x, -1.25);
    EXPECT_EQ(n.z, 1e-9);
    CClassPSect sects;
    sects.ConnectToDB(&in);
    T_PSECT_D s;
    ASSERT_TRUE(sects.Get(2, s));
    EXPECT_STREQ(s.name, "柱 400x600");
    EXPECT_EQ(s.stiff[2].d[12], 0.03 + 12);
    CClassPMemb membs;
    membs.ConnectToDB(&in);
    T_PMEMB_D m;
    ASSERT_TRUE(membs.Get(3, m));
    ASSERT_EQ(m.aNode.GetSize(), 4);
    EXPECT_EQ(m.aNode[3], 5u);
    EXPECT_EQ(m.offsetZ, -0.25);
    EXPECT_EQ(membs.GetMembKeyByElemKey(20), 3u);
    CClassPNodeSE sn;
    sn.ConnectToDB(&in);
    T_PNODE_D inner;
    ASSERT_TRUE(sn.GetSuperPNodeD(900, 2, inner));
    EXPECT_EQ(inner.z, 3.0);
}

TEST(PostDbStorage, GetOfUnknownKeyReturnsZeroAndLeavesRecord) {
    PostDBBuilder b;
    BuildProject(b);
    CDataBase& db = b.DB();
    CClassPNode nodes;
    CClassPElem elems;
    CClassPMemb membs;
    CClassPNodeSE snodes;

    T_PNODE_D n;
    n.x = 11; n.y = 22; n.z = 33;
    EXPECT_FALSE(nodes.Get(10, n)) << "an unbound table has no records";
    nodes.ConnectToDB(&db);
    elems.ConnectToDB(&db);
    membs.ConnectToDB(&db);
    snodes.ConnectToDB(&db);
    for (UINT key : {0u, 1u, 11u, 0xffffffffu}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(nodes.Get(key, n));
        EXPECT_FALSE(nodes.Exist(key));
        EXPECT_EQ(n.x, 11);
        EXPECT_EQ(n.y, 22);
        EXPECT_EQ(n.z, 33);
        T_PMEMB_D m;
        m.aNode.Add(99);
        EXPECT_FALSE(membs.Get(key == 1 ? 4 : key, m));
        ASSERT_EQ(m.aNode.GetSize(), 1);
        EXPECT_EQ(m.aNode[0], 99u);
        EXPECT_FALSE(snodes.GetSuperPNodeD(900, key == 1 ? 77 : key, n));
        EXPECT_EQ(n.x, 11);
    }
    EXPECT_EQ(elems.GetCount(), 3);
    EXPECT_TRUE(elems.Exist(22));
}

// Super nodes and super elements are found by the pair (super element, key), the two halves
// never swapped, and a record added later is found too.
TEST(PostDbStorage, SuperElementRowsByPairFollowTableChanges) {
    PostDBBuilder b;
    BuildProject(b);
    CClassPNodeSE snodes;
    CClassPElemSE selems;
    snodes.ConnectToDB(&b.DB());
    selems.ConnectToDB(&b.DB());
    T_PNODE_D n;
    T_PELEM_D e;
    ASSERT_TRUE(snodes.GetSuperPNodeD(900, 2, n));
    EXPECT_EQ(n.y, 2.0);
    ASSERT_TRUE(selems.GetSuperPElemD(900, 1, e));
    EXPECT_EQ(e.type, 301);
    EXPECT_FALSE(snodes.GetSuperPNodeD(2, 900, n)) << "the pair is ordered";
    EXPECT_FALSE(selems.GetSuperPElemD(1, 900, e));
    EXPECT_FALSE(selems.GetSuperPElemD(900, 2, e)) << "node keys are not element keys";

    T_PNODESE_D ns;
    ns.Initialize();
    ns.seKey = 901;
    ns.nodeKey = 2;
    ns.node.y = 7;
    ASSERT_TRUE(b.Add<DBT_PNODESE>(2, ns));
    T_PELEMSE_D es;
    es.Initialize();
    es.seKey = 900;
    es.elemKey = 5;
    es.elem.type = 303;
    ASSERT_TRUE(b.Add<DBT_PELEMSE>(2, es));
    ASSERT_TRUE(snodes.GetSuperPNodeD(901, 2, n)) << "the index is rebuilt after a change";
    EXPECT_EQ(n.y, 7.0);
    ASSERT_TRUE(snodes.GetSuperPNodeD(900, 2, n));
    EXPECT_EQ(n.y, 2.0);
    ASSERT_TRUE(selems.GetSuperPElemD(900, 5, e));
    EXPECT_EQ(e.type, 303);
}

// The model version moves with every change of a model table and not with results, and two
// databases built by the same steps never share one, so a box or index kept for one database
// is not served for the other.
TEST(PostDbStorage, ModelVersionFollowsModelTablesAndDiffersBetweenDatabases) {
    PostDBBuilder a, b;
    a.AddNode(1, 0, 0, 0);
    b.AddNode(1, 0, 0, 0);
    EXPECT_NE(a.DB().GetModelVersion(), b.DB().GetModelVersion()) << "same steps, two databases";

    struct Row {
        const char* label;
        void (*change)(CDataBase&);
        bool moves;
    } rows[] = {
        {"node moved", [](CDataBase& db) { T_PNODE_D n{}; n.x = 5; db.Table<DBT_PNODE>().Set(1, n); }, true},
        {"section added", [](CDataBase& db) { T_PSECT_D s{}; db.Table<DBT_PSECT>().Set(3, s); }, true},
        {"missing key removed", [](CDataBase& db) { db.Table<DBT_PNODE>().Remove(99); }, false},
        {"result written", [](CDataBase& db) { T_DISP_D d; d.Initialize(); db.Table<DBT_DISP>().Set(1, 1, d); }, false},
        {"table emptied", [](CDataBase& db) { db.Table<DBT_PMEMB>().Clear(); }, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const unsigned long long before = a.DB().GetModelVersion();
        r.change(a.DB());
        EXPECT_EQ(a.DB().GetModelVersion() != before, r.moves);
    }
}

// A model table finds its records by key through dense keys, far keys, removals and a read
// back from a file of keys out of order.
TEST(PostDbStorage, ModelTableFindsEveryKey) {
    enum Op { kAdd, kRemoveEvery, kReadBack };
    struct Row {
        const char* label;
        Op op;
        std::vector<UINT> keys;  // added in this order (kAdd); n of kRemoveEvery in keys[0]
    } rows[] = {
        {"dense", kAdd, {}},  // 2 .. 3001, filled below
        {"every 7th removed", kRemoveEvery, {7}},
        // Keys run from 1: key 0 is refused when read back.
        {"out of key order, the lowest key last", kAdd, {9000, 3002, 7024, 1}},
        {"read back", kReadBack, {}},
        {"far keys", kAdd, {4000000000u, 123456789, 3003}},
        {"every 5th removed", kRemoveEvery, {5}},
        {"read back with far keys", kReadBack, {}},
    };
    for (UINT k = 2; k <= 3001; ++k) rows[0].keys.push_back(k);
    auto t = std::make_unique<pvxdb::DBTable<T_PNODE_D>>("PNODE");
    std::vector<UINT> want;  // table order
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        if (r.op == kAdd) {
            for (UINT k : r.keys) {
                T_PNODE_D n{};
                n.x = k % 1000003;
                t->Set(k, n);
                want.push_back(k);
            }
        } else if (r.op == kRemoveEvery) {
            std::vector<UINT> keep;
            for (size_t i = 0; i < want.size(); ++i) {
                if (i % r.keys[0] == 0) EXPECT_EQ(t->Remove(want[i]), 1);
                else keep.push_back(want[i]);
            }
            want.swap(keep);
        } else {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
            std::string err;
            ASSERT_TRUE(t->Save(db, err)) << err;
            t = std::make_unique<pvxdb::DBTable<T_PNODE_D>>("PNODE");
            ASSERT_TRUE(t->Load(db, "memory", err)) << err;
            sqlite3_close(db);
        }
        EXPECT_EQ(t->Keys(), want);
        for (UINT k : want) {
            const T_PNODE_D* n = t->Find(k);
            ASSERT_NE(n, nullptr) << k;
            EXPECT_EQ(n->x, static_cast<double>(k % 1000003));
        }
        for (UINT k : {3004u, 4294967295u, 8999u}) EXPECT_EQ(t->Find(k), nullptr) << k;
    }
}

// Names go into fixed text fields whole or cut before the first character that does not fit,
// so a stored name is always valid UTF-8 and terminated.
TEST(PostDbStorage, TextFieldsAreCutAtWholeCharacters) {
    struct Row {
        const char* label;
        const char* src;
        size_t cap;
        const char* stored;
    } rows[] = {
        {"fits", "恒载", 7, "恒载"},
        {"one byte short of the second character", "恒载", 6, "恒"},
        {"ASCII cut", "LiveLoad", 5, "Live"},
        {"mixed cut inside a character", "A恒载", 6, "A恒"},
        {"no room for a character", "恒", 3, ""},
        {"null source", nullptr, 8, ""},
        {"terminator only", "x", 1, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        char buf[16];
        std::memset(buf, 'Z', sizeof buf);
        pvxdb::CopyText(buf, r.cap, r.src);
        EXPECT_STREQ(buf, r.stored);
        EXPECT_EQ(buf[r.cap], 'Z') << "nothing written past the field";
    }
    // Through the builder: a long load-case name keeps whole characters.
    PostDBBuilder b;
    std::string longName;
    for (int i = 0; i < 30; ++i) longName += "载";  // 90 bytes into a 64-byte field
    ASSERT_TRUE(b.AddLoadCase(7, PLOAD_STATIC, longName.c_str()));
    const T_PSTLD_D* lc = b.DB().Table<DBT_PSTLD>().Find(7);
    ASSERT_NE(lc, nullptr);
    EXPECT_EQ(std::string(lc->name), longName.substr(0, 63));
}

TEST(PostDbStorage, BadFilesAreRefusedAndLeftUnchanged) {
    std::string good = SavedProject("good.pvxdb");
    std::string bytes = ReadFile(good);

    std::string truncated = TmpPath("truncated.pvxdb");
    WriteFile(truncated, bytes.substr(0, bytes.size() / 2 + 100));
    std::string truncatedPage = TmpPath("truncated_page.pvxdb");
    WriteFile(truncatedPage, bytes.substr(0, bytes.size() - 4096));
    std::string appended = TmpPath("appended.pvxdb");
    WriteFile(appended, bytes + "garbage");
    std::string bigSeq = EditedCopy("big_seq.pvxdb", "UPDATE PNODE SET seq = 4294967296 WHERE key = 7");
    std::string text = TmpPath("text.pvxdb");
    WriteFile(text, "This is a text file, not a project.\nLine two.\n");
    std::string empty = TmpPath("empty.pvxdb");
    WriteFile(empty, "");
    std::string foreign = TmpPath("foreign.pvxdb");
    {
        remove(foreign.c_str());
        sqlite3* db = nullptr;
        sqlite3_open(foreign.c_str(), &db);
        sqlite3_exec(db, "CREATE TABLE customers (id INTEGER PRIMARY KEY, name TEXT); INSERT INTO customers VALUES (1,'x')",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    std::string corrupt = TmpPath("corrupt.pvxdb");
    {
        std::string c = bytes;
        for (size_t i = 4096 * 2; i < c.size(); i += 7) c[i] = static_cast<char>(c[i] ^ 0x5a);
        WriteFile(corrupt, c);
    }
    std::string noTable = EditedCopy("no_table.pvxdb", "DROP TABLE PMEMB");
    std::string noResultTable = EditedCopy("no_result_table.pvxdb", "DROP TABLE MBWC; DROP TABLE MBWB");
    std::string noColumn = EditedCopy("no_column.pvxdb", "ALTER TABLE PNODE DROP COLUMN y");
    std::string textValue = EditedCopy("text_value.pvxdb", "UPDATE PNODE SET x = 'abc' WHERE key = 7");
    std::string badBlob = EditedCopy("bad_blob.pvxdb", "UPDATE PELEM SET node = x'0102' WHERE key = 22");
    std::string badKey = EditedCopy("bad_key.pvxdb", "UPDATE PELEM SET matl = -1 WHERE key = 21");
    std::string nullValue = EditedCopy("null_value.pvxdb",
                                       "CREATE TABLE t AS SELECT * FROM PMATL; DROP TABLE PMATL;"
                                       "CREATE TABLE PMATL (key INTEGER PRIMARY KEY, seq INTEGER, name TEXT, E REAL, nu REAL, gamma REAL);"
                                       "INSERT INTO PMATL SELECT key, seq, name, NULL, nu, gamma FROM t");
    std::string newer = EditedCopy("newer.pvxdb", "UPDATE pvx_header SET value = '99' WHERE name = 'version'");
    std::string dupSeq = EditedCopy("dup_seq.pvxdb", "UPDATE PNODE SET seq = 0");
    std::string badResult = EditedCopy("bad_result.pvxdb", "UPDATE REAC SET FZ = 'x' WHERE id = 2 * 4294967296 + 10");
    // The settlement tables may be absent, but one that is there is checked like any other.
    // PCDSINK rows hold one value (8 bytes) per group (4 bytes): two groups, one value.
    std::string shortSettle = EditedCopy("short_settle.pvxdb",
                                         "UPDATE PCDSINK SET groups = x'0100000002000000', \"values\" = zeroblob(8) "
                                         "WHERE key = (SELECT min(key) FROM PCDSINK)");
    std::string badSettle = EditedCopy("bad_settle.pvxdb", "ALTER TABLE PCDSINK DROP COLUMN constant");

    struct Case {
        const char* label;
        std::string path;
        std::vector<const char*> words;  // the message must contain each
    } cases[] = {
        {"missing file", TmpPath("does_not_exist.pvxdb"), {"does_not_exist.pvxdb", "cannot open"}},
        {"truncated in the middle", truncated, {"truncated"}},
        {"last page cut off", truncatedPage, {"truncated"}},
        {"bytes appended", appended, {"7 bytes appended"}},
        {"seq beyond 32 bits", bigSeq, {"table PNODE", "column seq", "key 7", "4294967296", "32 bits"}},
        {"text file", text, {"text.pvxdb", "not an SQLite database"}},
        {"empty file", empty, {"empty.pvxdb", "not an SQLite database"}},
        {"foreign SQLite file", foreign, {"foreign.pvxdb", "not a project database", "pvx_header"}},
        {"corrupt pages", corrupt, {"corrupt.pvxdb"}},
        {"column missing", noColumn, {"table PNODE", "column y", "missing"}},
        {"text in a number column", textValue, {"table PNODE", "column x", "key 7", "found text"}},
        {"blob of the wrong size", badBlob, {"table PELEM", "column node", "key 22", "bytes"}},
        {"negative key value", badKey, {"table PELEM", "column matl", "key 21", "out of range"}},
        {"null value", nullValue, {"table PMATL", "column E", "NULL"}},
        {"newer format version", newer, {"newer", "99"}},
        {"two rows in one position", dupSeq, {"table PNODE", "column seq", "used twice"}},
        {"fewer settlements than groups", shortSettle, {"table PCDSINK", "column values", "1 values for 2 groups"}},
        {"optional table without a column", badSettle, {"table PCDSINK", "column constant", "missing"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        bool exists = !ReadFile(c.path).empty() || c.path == empty;
        unsigned long long before = exists ? FileHash(c.path) : 0;
        CDataBase db;
        db.Table<DBT_PNODE>().Set(1, T_PNODE_D{1, 2, 3});
        EXPECT_FALSE(db.Open(c.path.c_str()));
        std::string msg = static_cast<LPCTSTR>(db.GetLastError());
        for (const char* w : c.words) EXPECT_NE(msg.find(w), std::string::npos) << "message: " << msg << "\nlacks: " << w;
        EXPECT_EQ(db.Table<DBT_PNODE>().Count(), 0u) << "a failed open holds nothing";
        if (exists) {
            EXPECT_EQ(FileHash(c.path), before) << "the file changed";
        }
        // No journal or lock file was left beside it.
        EXPECT_TRUE(ReadFile(c.path + "-journal").empty());
    }
    // A damaged result table is refused when first read; the other tables are read as usual and
    // a whole save of such a database writes that table empty.
    {
        ExpectRefusedWhenRead(badResult, DBT_REAC, {"table REAC", "column FZ", "load 2, key 10", "found text"});
        CDataBase db;
        ASSERT_TRUE(db.Open(badResult.c_str())) << db.GetLastError();
        EXPECT_GT(db.Table<DBT_DISP>().Count(), 0u);
        std::string copy = TmpPath("bad_result_saved.pvxdb");
        EXPECT_TRUE(db.Save(copy.c_str())) << db.GetLastError();
        EXPECT_EQ(db.GetReadErrors().size(), 1u) << "the refusal is kept after the file is closed";
        CDataBase back;
        ASSERT_TRUE(back.Open(copy.c_str())) << back.GetLastError();
        EXPECT_EQ(back.Table<DBT_REAC>().Count(), 0u);
        EXPECT_EQ(back.Table<DBT_DISP>().Count(), db.Table<DBT_DISP>().Count());
        EXPECT_TRUE(back.GetReadErrors().empty());
    }
    // A project without a table (an older file, or one with no results of that kind) opens with
    // that table empty; the others are read in full.
    {
        CDataBase partial;
        EXPECT_TRUE(partial.Open(noTable.c_str())) << partial.GetLastError();
        EXPECT_EQ(partial.Table<DBT_PMEMB>().Count(), 0u);
        EXPECT_GT(partial.Table<DBT_PNODE>().Count(), 0u);
        // The same for result tables: a project written before the wall force tables existed.
        CDataBase older;
        EXPECT_TRUE(older.Open(noResultTable.c_str())) << older.GetLastError();
        EXPECT_EQ(older.Table<DBT_MBWC>().Count(), 0u);
        EXPECT_EQ(older.Table<DBT_MBWB>().Count(), 0u);
        EXPECT_GT(older.Table<DBT_MBCL>().Count(), 0u);
    }
    CDataBase ok;
    EXPECT_TRUE(ok.Open(good.c_str())) << ok.GetLastError();

    // A project written before the settlement tables existed opens, with none of their records.
    std::string noSettle = EditedCopy("no_settlement.pvxdb", "DROP TABLE LDGP; DROP TABLE PCDSINK");
    CDataBase old;
    old.Table<DBT_PCDSINK>().Set(9, T_PCDSINK_D());
    EXPECT_TRUE(old.Open(noSettle.c_str())) << old.GetLastError();
    EXPECT_EQ(old.Table<DBT_LDGP>().Count(), 0u);
    EXPECT_EQ(old.Table<DBT_PCDSINK>().Count(), 0u);
    EXPECT_GT(old.Table<DBT_PNODE>().Count(), 0u);
}

TEST(PostDbStorage, SaveIsAtomicAndDocumentKeepsProjectOnFailedOpen) {
    std::string path = SavedProject("atomic.pvxdb");
    unsigned long long before = FileHash(path);

    // A save that cannot be written leaves nothing behind.
    PostDBBuilder b;
    BuildProject(b);
    std::string bad = TmpPath("no_such_dir/x.pvxdb");
    EXPECT_FALSE(b.Save(bad.c_str()));
    EXPECT_NE(std::string(b.GetLastError()).find("no_such_dir"), std::string::npos) << b.GetLastError();

    // A save whose final rename fails (the target is a directory) removes its temporary file.
    std::string dir = TmpPath("a_directory.pvxdb");
    mkdir(dir.c_str(), 0755);
    EXPECT_FALSE(b.Save(dir.c_str()));
    EXPECT_NE(std::string(b.GetLastError()).find("cannot replace"), std::string::npos) << b.GetLastError();
    for (const auto& entry : std::filesystem::directory_iterator(PVX_TEST_TMPDIR))
        EXPECT_EQ(entry.path().filename().string().find("db_a_directory.pvxdb.tmp"), std::string::npos) << entry.path();

    // Saving over an existing project replaces it whole.
    b.AddNode(99, 9, 9, 9);
    ASSERT_TRUE(b.Save(path.c_str()));
    EXPECT_NE(FileHash(path), before);
    CDataBase reread;
    ASSERT_TRUE(reread.Open(path.c_str()));
    EXPECT_EQ(reread.Table<DBT_PNODE>().Count(), 6u);

    CDBDoc doc;
    ASSERT_TRUE(doc.OpenDocument(path.c_str())) << doc.GetLastError();
    CDataBase* post = doc.GetMDBCtrl()->GetDBPost();
    std::string text = TmpPath("doc_text.pvxdb");
    WriteFile(text, "not a database");
    EXPECT_FALSE(doc.OpenDocument(text.c_str()));
    EXPECT_NE(std::string(doc.GetLastError()).find("doc_text.pvxdb"), std::string::npos);
    EXPECT_EQ(doc.GetMDBCtrl()->GetDBPost(), post) << "the open project stays";
    EXPECT_EQ(post->Table<DBT_PNODE>().Count(), 6u);
    EXPECT_EQ(std::string(doc.GetPathName()), path);
}

}  // namespace dbtest
