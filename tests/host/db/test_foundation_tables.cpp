// The foundation model's tables: a small foundation written, damaged with SQLite and refused
// with a message naming file, table, column and key; older files without the tables; the load
// groups answered from both load-group tables; arcs of the axes; the editable member and
// global-parameter tables written back in place.
#include "DbTestUtil.h"

#include "host/db/DBTables.h"
#include "host/db/FoundationTables.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>

namespace dbtest {

namespace {

// Points 11..14 (a 4 x 3 m rectangle), a footing member 21 at point 11, a raft member 22 on the
// four points, a wall member 23 from point 13 to 14, a pile 1 (member 1, section 31) under the footing, an axis 41, global parameters
// and groundwater; LDGP groups 1 (static) and 2 (settlement), check groups 101..103.
void BuildFoundation(PostDBBuilder& b) {
    b.AddNode(1, 0, 0, 0);
    const double pts[4][2] = {{0, 0}, {4, 0}, {4, 3}, {0, 3}};
    for (int i = 0; i < 4; ++i) b.Add<DBT_PONT>(11 + i, T_PONT_D{pts[i][0], pts[i][1]});
    T_AXIS_D a;
    a.Initialize();
    a.pont1 = 11;
    a.pont2 = 12;
    strcpy(a.name, "A");
    b.Add<DBT_AXIS>(41, a);
    T_MEMB_D m;
    m.type = MEMB_FOOTING;
    m.fosp = 51;
    m.aPont.Add(11);
    b.Add<DBT_MEMB>(21, m);
    T_COLF_D c;
    c.Initialize();
    c.kind = COLF_PILECAP;
    c.nStep = 2;
    c.step[0] = {2.0, 2.0, 0.5};
    c.step[1] = {1.0, 1.0, 0.5};
    b.Add<DBT_COLF>(21, c);
    b.Add<DBT_FOSP>(51, T_FOSP_D{2, 1, 0});
    T_MEMB_D r;
    r.type = MEMB_RAFT;
    for (UINT k = 11; k <= 14; ++k) r.aPont.Add(k);
    b.Add<DBT_MEMB>(22, r);
    b.Add<DBT_MTSB>(22, T_MTSB_D{1, 0, 0.8});
    T_MEMB_D w;
    w.type = MEMB_WALL;
    w.aPont.Add(13);
    w.aPont.Add(14);
    b.Add<DBT_MEMB>(23, w);
    b.Add<DBT_WALL>(23, T_WALL_D{0.3});
    T_MEMB_D p;
    p.type = MEMB_PILE;
    p.fosp = 31;
    p.aPont.Add(11);
    b.Add<DBT_MEMB>(1, p);
    T_PILE_D pile;
    pile.aMemb.Add(21);
    pile.length = 12.0;
    pile.capacity = 2000.0;
    b.Add<DBT_PILE>(1, pile);
    b.Add<DBT_PISP>(31, T_PISP_D{"ZH600", 0.6});
    b.Add<DBT_SRCT>(1, T_SRCT_D{1.5, 1.5, 3.0, 3.0, 0.0});
    T_GBPA_D g;
    g.Initialize();
    g.diffSettle = 0.002;
    g.designCode.code = GBPA_CODE_GB;
    b.Add<DBT_GBPA>(GBPA_KEY, g);
    b.Add<DBT_WDLD>(1, T_WDLD_D{-1.5});
    b.AddLoadGroup(1, LDGP_STATIC, "GRAVITY");
    b.AddLoadGroup(2, LDGP_SETTLEMENT, "SETTLE");
    //                       number kind blast seismic design lcType text
    b.Add<DBT_CKLG>(101, T_CKLG_D{12, LDGP_KIND_BASIC, 1, 0, 1, 0, "1.0D+1.0B"});
    b.Add<DBT_CKLG>(102, T_CKLG_D{7, LDGP_KIND_STANDARD, 0, 1, 0, 18, "1.0D+0.5L+1.0E"});
    b.Add<DBT_CKLG>(103, T_CKLG_D{3, LDGP_KIND_QUASI, 0, 0, 1, 5, "1.0D+0.5L"});
}

std::string FoundationFile(const std::string& name, const char* sql) {
    PostDBBuilder b;
    BuildFoundation(b);
    const std::string path = TmpPath(name);
    EXPECT_TRUE(b.Save(path.c_str())) << b.GetLastError();
    if (sql) {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        char* msg = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &msg), SQLITE_OK) << name << ": " << (msg ? msg : "");
        sqlite3_free(msg);
        sqlite3_close(db);
    }
    return path;
}

struct Damage {
    const char* label;
    const char* sql;
    const char* table;
    const char* column;
    const char* key;  // "key N" as the message gives it
};

// Each damaged copy is refused at opening with file, table, column and key in the message, and
// nothing of it is kept. Each test names its copies apart, since tests run in parallel.
void ExpectFoundationRefused(const char* pszGroup, const std::vector<Damage>& rows) {
    int n = 0;
    for (const Damage& d : rows) {
        SCOPED_TRACE(d.label);
        const std::string path = FoundationFile(std::string("fdn_") + pszGroup + "_" + std::to_string(n++) + ".pvxdb", d.sql);
        CDataBase db;
        EXPECT_FALSE(db.Open(path.c_str()));
        const std::string msg = static_cast<LPCTSTR>(db.GetLastError());
        for (const std::string& w : {path, std::string("table ") + d.table, std::string("column ") + d.column,
                                    std::string(d.key)})
            EXPECT_NE(msg.find(w), std::string::npos) << "message: " << msg << "\nlacks: " << w;
        EXPECT_EQ(db.Table<DBT_MEMB>().Count(), 0u);
        EXPECT_EQ(db.Table<DBT_PNODE>().Count(), 0u);
    }
}

TEST(FoundationTables, SoundFileOpensWithEveryTable) {
    CDataBase db;
    const std::string path = FoundationFile("fdn_sound.pvxdb", nullptr);
    ASSERT_TRUE(db.Open(path.c_str())) << db.GetLastError().GetString();
    EXPECT_EQ(db.Table<DBT_PONT>().Count(), 4u);
    EXPECT_EQ(db.Table<DBT_MEMB>().Count(), 4u);
    EXPECT_EQ(db.Table<DBT_CKLG>().Count(), 3u);
    const T_COLF_D* c = db.Table<DBT_COLF>().Find(21);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->step[1].b, 1.0);
}

TEST(FoundationTables, OutOfRangeCodesAndSizesAreRefused) {
    ExpectFoundationRefused("range", {
        {"unknown member type", "UPDATE MEMB SET type = 999 WHERE key = 21", "MEMB", "type", "key 21"},
        {"footing kind 2", "UPDATE COLF SET kind = 2", "COLF", "kind", "key 21"},
        {"footing circular flag 2", "UPDATE COLF SET circle = 2", "COLF", "circle", "key 21"},
        {"footing join flag -1", "UPDATE COLF SET join_flag = -1", "COLF", "join_flag", "key 21"},
        {"footing of no step", "UPDATE COLF SET steps = 0", "COLF", "steps", "key 21"},
        {"footing of five steps", "UPDATE COLF SET steps = 5", "COLF", "steps", "key 21"},
        {"footing steps of size 0", "UPDATE COLF SET step_data = zeroblob(96)", "COLF", "step_data", "key 21"},
        {"raft type 4", "UPDATE MTSB SET type = 4", "MTSB", "type", "key 22"},
        {"raft of thickness 0", "UPDATE MTSB SET thick = 0", "MTSB", "thick", "key 22"},
        {"pile of length 0", "UPDATE PILE SET length = 0", "PILE", "length", "key 1"},
        {"negative bearing capacity", "UPDATE PILE SET capacity = -1", "PILE", "capacity", "key 1"},
        {"pile section of diameter 0", "UPDATE PISP SET d = 0", "PISP", "d", "key 31"},
        {"wall of thickness 0", "UPDATE WALL SET thick = 0", "WALL", "thick", "key 23"},
        {"mesh cell of width 0", "UPDATE SRCT SET width = 0", "SRCT", "width", "key 1"},
        {"design code 0", "UPDATE GBPA SET design_code = 0", "GBPA", "design_code", "key 2"},
        {"negative allowed tilt", "UPDATE GBPA SET tilt_y = -0.1", "GBPA", "tilt_y", "key 2"},
        {"check group kind 3", "UPDATE CKLG SET kind = 3 WHERE key = 102", "CKLG", "kind", "key 102"},
        {"blast flag 2", "UPDATE CKLG SET blast = 2 WHERE key = 101", "CKLG", "blast", "key 101"},
        {"seismic flag 3", "UPDATE CKLG SET seismic = 3 WHERE key = 102", "CKLG", "seismic", "key 102"},
        {"point beyond the largest coordinate", "UPDATE PONT SET x = 1e12 WHERE key = 13", "PONT", "x", "key 13"},
        // Before, read and drawn as one-colour sheets. 0x41CDCD6500000000 = 1e9.
        {"footing centre 1e9 m away", "UPDATE COLF SET cy = 1e9", "COLF", "cy", "key 21"},
        {"member text moved 1e9 m", "UPDATE MEMB SET text_x = x'0000000065CDCD41' || zeroblob(56) WHERE key = 21",
         "MEMB", "text_x", "key 21"},
        {"title text moved -1e9 m", "UPDATE GBPA SET text_y = zeroblob(8) || x'0000000065CDCDC1' || zeroblob(48)", "GBPA",
         "text_y", "key 2"},
        // Before, read and drawn as one-colour sheets, or the plan shrunk to a speck beside a text.
        {"footing step 1e9 m wide", "UPDATE COLF SET step_data = CAST(x'0000000065CDCD41' || substr(step_data, 9) AS BLOB)",
         "COLF", "step_data", "key 21"},
        {"pile section 1e300 m across", "UPDATE PISP SET d = 1e300", "PISP", "d", "key 31"},
        // 0x4059000000000000 = 100: beyond 8 x 10 m (the plan's 4 m side is less than 10 m).
        {"member text moved 100 m beside a 4 m plan",
         "UPDATE MEMB SET text_x = CAST(x'0000000000005940' || zeroblob(56) AS BLOB) WHERE key = 21", "MEMB", "text_x",
         "key 21"},
        {"sheet title moved 1e300 m",
         "INSERT INTO FVDTEXT (key, seq, text_x, text_y) VALUES (132, 0, CAST(x'9C7500883CE4377E' || zeroblob(56) AS BLOB), "
         "zeroblob(64))",
         "FVDTEXT", "text_x", "key 132"},
        {"axis of one point", "UPDATE AXIS SET pont2 = 11", "AXIS", "pont2", "key 41"},
        {"footing without its point", "UPDATE MEMB SET ponts = x'' WHERE key = 21", "MEMB", "ponts", "key 21"},
        {"raft outline of two points", "UPDATE MEMB SET ponts = x'0B0000000C000000' WHERE key = 22", "MEMB", "ponts",
         "key 22"},
    });
}

TEST(FoundationTables, KeysNamingNothingAreRefused) {
    ExpectFoundationRefused("keys", {
        {"axis to a missing point", "UPDATE AXIS SET pont2 = 99", "AXIS", "pont2", "key 41"},
        // 0x270F = 9999
        {"member on a missing point", "UPDATE MEMB SET ponts = x'0F270000' WHERE key = 21", "MEMB", "ponts", "key 21"},
        {"missing foundation section", "UPDATE MEMB SET fosp = 52 WHERE key = 21", "MEMB", "fosp", "key 21"},
        {"pile of a missing pile section", "UPDATE MEMB SET fosp = 32 WHERE key = 1", "MEMB", "fosp", "key 1"},
        {"footing without its member", "DELETE FROM MEMB WHERE key = 21; UPDATE PILE SET membs = x'16000000'", "COLF",
         "key", "key 21"},
        {"member without its footing", "DELETE FROM COLF", "MEMB", "type", "key 21"},
        {"wall record of a footing member", "INSERT INTO WALL (key, seq, thick) VALUES (21, 1, 0.2)", "WALL", "key", "key 21"},
        {"sub-raft of a missing raft", "UPDATE MTSB SET parent = 77", "MTSB", "parent", "key 22"},
        {"raft inside itself", "UPDATE MTSB SET parent = 22", "MTSB", "parent", "key 22"},
        // 0x63 = 99
        {"pile under a missing member", "UPDATE PILE SET membs = x'63000000'", "PILE", "membs", "key 1"},
        {"check group sharing an LDGP key", "UPDATE CKLG SET key = 2 WHERE key = 103", "CKLG", "key", "key 2"},
        {"global parameters under key 3", "UPDATE GBPA SET key = 3", "GBPA", "key", "key 3"},
    });
}

TEST(FoundationTables, OlderFilesWithoutTheTablesReadThemAsEmpty) {
    const std::string path = FoundationFile(
        "fdn_old.pvxdb",
        "DROP TABLE PONT; DROP TABLE AXIS; DROP TABLE MEMB; DROP TABLE COLM; DROP TABLE WALL; DROP TABLE COLF;"
        "DROP TABLE FOSP; DROP TABLE BEAM; DROP TABLE MTSB; DROP TABLE PILE; DROP TABLE PISP; DROP TABLE SRCT;"
        "DROP TABLE GBPA; DROP TABLE WDLD; DROP TABLE CKLG;");
    CDataBase db;
    ASSERT_TRUE(db.Open(path.c_str())) << db.GetLastError().GetString();
    for (int id = DBT_PONT; id <= DBT_CKLG; ++id) {
        SCOPED_TRACE(id);
        EXPECT_EQ(db.GetTable(id)->Count(), 0u);
    }
    EXPECT_EQ(db.Table<DBT_LDGP>().Count(), 2u);
}

// Load groups of both tables, by key: what Get answers and the two flags.
TEST(FoundationTables, LoadGroupsAnswerFromBothTables) {
    CDataBase db;
    ASSERT_TRUE(db.Open(FoundationFile("fdn_ldgp.pvxdb", nullptr).c_str()));
    CClassLdgp ldgp;
    ldgp.ConnectToDB(&db);
    struct Row {
        UINT key;
        int found, number, kind, bomb, equa;
        const char* text;
    } rows[] = {
        {1, 1, 1, LDGP_KIND_NONE, 0, 0, "GRAVITY"},
        {2, 1, 2, LDGP_KIND_QUASI, 0, 0, "SETTLE"},
        {101, 1, 12, LDGP_KIND_BASIC, 1, 0, "1.0D+1.0B (人防)"},
        {102, 1, 7, LDGP_KIND_STANDARD, 0, 1, "1.0D+0.5L+1.0E (地震)"},
        {9, 0, -5, -5, 0, 0, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        T_CKLG_D rec;
        rec.Initialize();
        rec.number = rec.kind = -5;
        EXPECT_EQ(ldgp.Get(r.key, rec), r.found);
        EXPECT_EQ(rec.number, r.number);
        EXPECT_EQ(rec.kind, r.kind);
        EXPECT_EQ(ldgp.IsBombLoadComb(r.key), r.bomb);
        EXPECT_EQ(ldgp.IsEquaLoadComb(r.key), r.equa);
        EXPECT_EQ(std::string(ldgp.GetCombText(r.key).GetString()), r.text);
    }
}

// Key lists: by kind (LDGP settlement groups first), design use, and the sort text filter.
TEST(FoundationTables, LoadGroupListsAndFilter) {
    CDataBase db;
    ASSERT_TRUE(db.Open(FoundationFile("fdn_lists.pvxdb", nullptr).c_str()));
    CClassLdgp ldgp;
    ldgp.ConnectToDB(&db);
    auto list = [](const CArray<UINT, UINT>& a) {
        std::vector<UINT> v;
        for (INT_PTR i = 0; i < a.GetSize(); ++i) v.push_back(a[i]);
        return v;
    };
    CArray<UINT, UINT> keys;
    struct KindRow {
        int kind;
        std::vector<UINT> keys;
    } kinds[] = {{LDGP_KIND_STANDARD, {102}}, {LDGP_KIND_BASIC, {101}}, {LDGP_KIND_QUASI, {2, 103}}, {LDGP_KIND_NONE, {}}};
    for (const KindRow& k : kinds) {
        SCOPED_TRACE(k.kind);
        EXPECT_EQ(ldgp.GetLoadCaseKeys(keys, k.kind), static_cast<int>(k.keys.size()));
        EXPECT_EQ(list(keys), k.keys);
    }
    ldgp.GetDesignUseLoadComb(keys, 1);
    EXPECT_EQ(list(keys), (std::vector<UINT>{101, 103}));

    const std::set<int> slabFilter = {0, 1, 18, 19};
    struct TextRow {
        UINT key;
        const std::set<int>* filter;
        int ok;
        const char* text;
    } texts[] = {
        {101, &slabFilter, 1, "1.0D+1.0B (人防)"},  // type 0, a blast group
        {102, &slabFilter, 1, "1.0D+0.5L+1.0E (地震)"},  // type 18, a seismic group
        {103, &slabFilter, 0, ""},           // type 5
        {103, nullptr, 1, "1.0D+0.5L"},
        {2, &slabFilter, 1, "SETTLE"},       // LDGP rows are of type 0
        {8, nullptr, 0, ""},
    };
    for (const TextRow& t : texts) {
        SCOPED_TRACE(t.key);
        CString text = "stale";
        EXPECT_EQ(ldgp.GetLdgpSortStrTex(t.key, text, nullptr, nullptr, nullptr, t.filter), t.ok);
        EXPECT_EQ(std::string(text.GetString()), t.text);
    }
}

// Arcs from two points and a signed rise. Expected values by hand: chord 6 m, rise 1.5 m:
// R = (3^2 + 1.5^2) / (2 x 1.5) = 3.75, centre 3.75 - 1.5 = 2.25 below (rise > 0, to the left of
// +x is +y) or above the chord; start and end angles from atan2.
TEST(FoundationTables, AxisArcsFromTwoPoints) {
    PostDBBuilder b;
    b.Add<DBT_PONT>(1, T_PONT_D{0.0, 0.0});
    b.Add<DBT_PONT>(2, T_PONT_D{6.0, 0.0});
    CClassPont ponts;
    ponts.ConnectToDB(&b.DB());
    const double deg = 180.0 / 3.14159265358979323846;
    struct Row {
        const char* label;
        UINT k1, k2;
        double chord;
        int ok;
        double cx, cy, r, s, e;
        int ccw;
    } rows[] = {
        {"bulging to +y", 1, 2, 1.5, 1, 3.0, -2.25, 3.75, std::atan2(2.25, -3.0) * deg, std::atan2(2.25, 3.0) * deg, 0},
        {"bulging to -y", 1, 2, -1.5, 1, 3.0, 2.25, 3.75, 360.0 + std::atan2(-2.25, -3.0) * deg,
         360.0 + std::atan2(-2.25, 3.0) * deg, 1},
        {"half circle", 1, 2, 3.0, 1, 3.0, 0.0, 3.0, 180.0, 0.0, 0},
        {"straight", 1, 2, 0.0, 0, 0, 0, 0, 0, 0, 0},
        {"missing point", 1, 3, 1.0, 0, 0, 0, 0, 0, 0, 0},
        {"one point twice", 1, 1, 1.0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_PONT_ARC arc;
        ASSERT_EQ(ponts.FormArc(r.k1, r.k2, r.chord, arc, 0.0), r.ok);
        if (!r.ok) continue;
        EXPECT_NEAR(arc.Center().x, r.cx, 1e-12);
        EXPECT_NEAR(arc.Center().y, r.cy, 1e-12);
        EXPECT_NEAR(arc.Radius(), r.r, 1e-12);
        EXPECT_NEAR(arc.GetAngleS(), r.s, 1e-9);
        EXPECT_NEAR(arc.GetAngleE(), r.e, 1e-9);
        EXPECT_EQ(arc.IsCCW(), r.ccw);
    }
}

// The member and global-parameter tables are changed in memory and written back in place; the
// file then holds the new offsets (read with SQLite) and every other table as it was.
TEST(FoundationTables, TextOffsetsWrittenBackInPlace) {
    const std::string path = FoundationFile("fdn_save.pvxdb", nullptr);
    CDataBase db;
    ASSERT_TRUE(db.Open(path.c_str()));
    CClassMemb membs;
    membs.ConnectToDB(&db);
    T_MEMB_D m;
    ASSERT_TRUE(membs.Get(21, m));
    m.textX[3] = 0.25;
    m.textY[3] = -1.5;
    EXPECT_TRUE(membs.PrivateModify(21, m, 1));
    EXPECT_FALSE(membs.PrivateModify(99, m, 1)) << "no member 99";
    CClassGbpa gbpa;
    gbpa.ConnectToDB(&db);
    T_GBPA_D g;
    ASSERT_TRUE(gbpa.Get(GBPA_KEY, g));
    g.buffer.textX[0] = 2.0;
    EXPECT_TRUE(gbpa.PrivateModify(g));
    ASSERT_TRUE(db.SaveTables(path.c_str(), {DBT_MEMB, DBT_GBPA})) << db.GetLastError().GetString();

    sqlite3* s = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &s), SQLITE_OK);
    auto blobDouble = [&](const char* sql, int index) {
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(s, sql, -1, &st, nullptr), SQLITE_OK);
        double v = NAN;
        if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_bytes(st, 0) >= 8 * (index + 1))
            memcpy(&v, static_cast<const char*>(sqlite3_column_blob(st, 0)) + 8 * index, 8);
        sqlite3_finalize(st);
        return v;
    };
    EXPECT_EQ(blobDouble("SELECT text_x FROM MEMB WHERE key = 21", 3), 0.25);
    EXPECT_EQ(blobDouble("SELECT text_y FROM MEMB WHERE key = 21", 3), -1.5);
    EXPECT_EQ(blobDouble("SELECT text_x FROM GBPA WHERE key = 2", 0), 2.0);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(s, "SELECT count(*) FROM PILE", -1, &st, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 1);
    sqlite3_finalize(st);
    sqlite3_close(s);
}

}  // namespace

namespace {

std::vector<UINT> KeyList(const CArray<UINT, UINT>& a) {
    std::vector<UINT> v;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) v.push_back(a[i]);
    return v;
}

// The table operations over the small foundation: members 21 footing, 22 raft, 23 wall, pile 1
// under the footing; a sub-raft, two beams of one group and one alone added here.
TEST(FoundationTables, MemberRaftBeamAndPileOperations) {
    PostDBBuilder b;
    BuildFoundation(b);
    T_MEMB_D sub;
    sub.type = MEMB_RAFT;
    for (UINT k : {11u, 12u, 13u}) sub.aPont.Add(k);
    b.Add<DBT_MEMB>(24, sub);
    b.Add<DBT_MTSB>(24, T_MTSB_D{2, 22, 0.8});
    for (UINT k : {31u, 32u, 33u}) {
        T_MEMB_D m;
        m.type = MEMB_BEAM;
        m.aPont.Add(11);
        m.aPont.Add(12);
        b.Add<DBT_MEMB>(k, m);
    }
    b.Add<DBT_BEAM>(31, T_BEAM_D{0, 0, 5});
    b.Add<DBT_BEAM>(32, T_BEAM_D{0, 0, 0});
    b.Add<DBT_BEAM>(33, T_BEAM_D{0, 0, 5});
    T_PILE_D p2;
    p2.aMemb.Add(22);
    p2.aMemb.Add(21);
    p2.length = 8.0;
    p2.capacity = 500.0;
    b.Add<DBT_PILE>(2, p2);
    CDataBase& db = b.DB();

    CClassMemb membs;
    membs.ConnectToDB(&db);
    struct FilterRow {
        const char* label;
        std::vector<UINT> in;
        int type, keepOthers;
        std::vector<UINT> out;
    } filters[] = {
        {"keep the walls", {21, 23, 22, 99}, MEMB_WALL, 0, {23}},
        {"drop the walls, missing kept", {21, 23, 22, 99}, MEMB_WALL, 1, {21, 22, 99}},
        {"keep the rafts", {24, 21, 22}, MEMB_RAFT, 0, {24, 22}},
    };
    for (const FilterRow& f : filters) {
        SCOPED_TRACE(f.label);
        CArray<UINT, UINT> keys;
        for (UINT k : f.in) keys.Add(k);
        EXPECT_EQ(membs.FilterByMembType(keys, f.type, f.keepOthers), static_cast<int>(f.out.size()));
        EXPECT_EQ(KeyList(keys), f.out);
    }
    CArray<int, int> types;
    ASSERT_EQ(membs.GetEnableMembType(types, 1), 5);  // in order of first appearance
    EXPECT_EQ(types[0], MEMB_FOOTING);
    EXPECT_EQ(types[1], MEMB_RAFT);
    EXPECT_EQ(types[2], MEMB_WALL);
    EXPECT_EQ(types[3], MEMB_PILE);
    EXPECT_EQ(types[4], MEMB_BEAM);

    struct PileRow {
        UINT memb;
        std::vector<UINT> piles;
    } piles[] = {{21, {1, 2}}, {22, {2}}, {23, {}}};
    for (const PileRow& r : piles) {
        SCOPED_TRACE(r.memb);
        CArray<UINT, UINT> keys;
        EXPECT_EQ(membs.GetPileKeyListUnderFoundation(r.memb, keys, 1), static_cast<int>(r.piles.size()));
        EXPECT_EQ(KeyList(keys), r.piles);
    }
    CClassPile pileTable;
    pileTable.ConnectToDB(&db);
    CArray<UINT, UINT> both;
    both.Add(1);
    both.Add(2);
    both.Add(9);
    EXPECT_EQ(pileTable.GetPileAllFak(both), 2500.0);  // 2000 + 500, pile 9 missing
    double len = 0.0;
    EXPECT_TRUE(pileTable.GetPileLength(2, len));
    EXPECT_EQ(len, 8.0);
    EXPECT_FALSE(pileTable.GetPileLength(9, len));

    CClassMtsb rafts;
    rafts.ConnectToDB(&db);
    CArray<UINT, UINT> mains;
    rafts.GetMainMtsbList(mains, -1, -1, 0, nullptr);
    EXPECT_EQ(KeyList(mains), (std::vector<UINT>{22}));
    EXPECT_EQ(rafts.GetMtsbType(24), 2);
    EXPECT_EQ(rafts.GetMtsbType(99), 0);
    EXPECT_TRUE(rafts.IsSubMtsb(24));
    EXPECT_FALSE(rafts.IsSubMtsb(22));
    CArray<double, double> xy;
    ASSERT_TRUE(rafts.GetPolygonShape(22, xy, 1));
    const double outline[] = {0, 0, 4, 0, 4, 3, 0, 3};
    ASSERT_EQ(xy.GetSize(), 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(xy[i], outline[i]) << i;

    CClassBeam beams;
    beams.ConnectToDB(&db);
    CArray<UINT, UINT> beamKeys;
    for (UINT k : {31u, 32u, 99u, 33u}) beamKeys.Add(k);
    CArray<CArray<UINT, UINT>*, CArray<UINT, UINT>*> groups;
    ASSERT_EQ(beams.GetBeamGroup(groups, beamKeys), 2);
    EXPECT_EQ(KeyList(*groups[0]), (std::vector<UINT>{31, 33}));
    EXPECT_EQ(KeyList(*groups[1]), (std::vector<UINT>{32}));
    CClassBeam::FreeBeamGroup(groups);

    CClassPont ponts;
    ponts.ConnectToDB(&db);
    const double a[2] = {-1.0, 0.0}, c[2] = {5.0, 0.0};
    CArray<UINT, UINT> onLine;
    EXPECT_EQ(ponts.GetKeyListBy2Point(c, a, onLine, 0.01), 2);  // from x = 5 back: 12 then 11
    EXPECT_EQ(KeyList(onLine), (std::vector<UINT>{12, 11}));
}

}  // namespace

}  // namespace dbtest
