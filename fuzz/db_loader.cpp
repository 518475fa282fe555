// Fuzz target: the project database loader (CDataBase::Open) and the result queries on what it
// accepts.
//
// An input whose first byte is even is the project file itself (the rest of the bytes). One
// whose first byte is odd is SQL run on a small valid project before it is written out, so
// that the fuzzer reaches the loader's checks (tables replaced by views, columns of other types,
// repeated keys, odd values) rather than only SQLite's page parser. The SQL runs on an
// in-memory copy with bounded work and no ATTACH or VACUUM, so nothing outside the target's
// private folder is written.
//
// With PVX_FUZZ_SEED_DIR set, the target first writes its seed inputs into that folder.
#include "host/db/CPostCtrl.h"
#include "host/db/PostDBBuilder.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string g_dir;   // the target's private folder, removed at exit
std::string g_path;  // where each input is written and opened
std::string g_seed;  // bytes of the seed project

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A small project touching the tables the loader checks most: nodes, elements, members, walls,
// slabs, load cases, a combination, results of several kinds and a time history.
std::string MakeSeed(const std::string& path) {
    PostDBBuilder b;
    b.AddNode(1, 0, 0, 0);
    b.AddNode(2, 6, 0, 0);
    b.AddNode(3, 6, 0, 3.5);
    b.AddNode(4, 0, 0, 3.5);
    b.AddElem(11, PELEM_KIND_FRAME, 101, {1, 4}, 1, 1);
    b.AddElem(12, PELEM_KIND_FRAME, 201, {4, 3}, 1, 1);
    b.AddElem(13, PELEM_KIND_PLATE, 301, {1, 2, 3, 4}, 1, 0);
    b.AddMemb(21, 101, {1, 4}, {11});
    b.AddMemb(22, 201, {4, 3}, {12});
    T_PWALL_D w;
    w.Initialize();
    w.type = 209;
    w.x2 = 6;
    w.z2 = 3.5;
    b.AddWall(22, w);
    T_PSLAB_D s;
    s.resultType = 1;
    for (UINT n : {1u, 2u, 3u, 4u}) s.aNode.Add(n);
    b.AddSlab(22, s);
    b.AddLoadCase(1, PLOAD_STATIC, "D");
    b.AddLoadCase(2, PLOAD_STATIC, "L");
    b.AddLoadCase(3, PLOAD_TIMEHISTORY, "TH");
    b.AddLoadComb(9, PLCOM_LINEAR, "1.2D+1.6L", {{PLOAD_STATIC, 1, 1.2}, {PLOAD_STATIC, 2, 1.6}});
    T_DISP_D d;
    d.Initialize();
    d.DZ = -1.5;
    T_REAC_D r;
    r.Initialize();
    r.FZ = 100;
    T_MBWG_D m;
    m.Initialize();
    m.d[4][5] = 12;
    for (UINT lc : {1u, 2u}) {
        b.AddDisp(lc, 3, d);
        b.AddReac(lc, 1, r);
        b.AddMbwg(lc, 22, m);
    }
    T_DISPHIS_D h;
    h.nStep = 1;
    h.dt = 0.02;
    for (int i = 0; i < 18; ++i) h.aValue.Add(i);
    b.AddDispHistory(3, 3, h);
    if (!b.Save(path.c_str())) {
        std::fprintf(stderr, "fuzz_db_loader: cannot write the seed project: %s\n", static_cast<LPCTSTR>(b.GetLastError()));
        std::abort();
    }
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// The seed corpus: the project itself and SQL edits of the kinds the loader must refuse or mend.
void WriteSeeds(const std::string& dir) {
    WriteBytes(dir + "/seed_file", std::string(1, '\0') + g_seed);
    const char* const sql[] = {
        "UPDATE PNODE SET x = 1e300 WHERE key = 2",
        "UPDATE PNODE SET y = 9e999",
        "ALTER TABLE PNODE RENAME TO n; CREATE VIEW PNODE AS SELECT * FROM n",
        ("CREATE TABLE t AS SELECT * FROM PNODE; DROP TABLE PNODE; ALTER TABLE t RENAME TO PNODE; "
         "INSERT INTO PNODE SELECT * FROM PNODE WHERE key = 3"),
        "CREATE TABLE t AS SELECT * FROM REAC; DROP TABLE REAC; ALTER TABLE t RENAME TO REAC; UPDATE REAC SET id = 'x'",
        "UPDATE PMEMB SET elems = CAST(elems || elems || elems AS BLOB)",
        "UPDATE PELEM SET node = x'0102' WHERE key = 12",
        "UPDATE MBWG SET d = CAST(x'000000000000F87F' || substr(d, 9) AS BLOB)",
        "UPDATE PSTLD SET name = 'A' || char(27) || '[2J' WHERE key = 1",
        "UPDATE PNODE SET seq = 0",
        "PRAGMA journal_mode=WAL",
        "UPDATE pvx_header SET value = '2' WHERE name = 'version'",
        "DELETE FROM PNODE",
    };
    int n = 0;
    for (const char* s : sql) WriteBytes(dir + "/seed_sql_" + std::to_string(n++), std::string(1, '\1') + s);
}

int StopLongSql(void* p) { return ++*static_cast<int*>(p) > 2000; }

// The seed changed by sql, as file bytes; empty when SQLite could not make them.
std::string Edited(const std::string& sql) {
    // VACUUM INTO names a file to write; ATTACH is shut off by its limit below.
    std::string lower(sql);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower.find("vacuum") != std::string::npos) return {};
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return {};
    }
    auto* buf = static_cast<unsigned char*>(sqlite3_malloc64(g_seed.size()));
    memcpy(buf, g_seed.data(), g_seed.size());
    std::string out;
    if (sqlite3_deserialize(db, "main", buf, static_cast<sqlite3_int64>(g_seed.size()), static_cast<sqlite3_int64>(g_seed.size()),
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) == SQLITE_OK) {
        sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
        sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1 << 20);
        int steps = 0;
        sqlite3_progress_handler(db, 1000, StopLongSql, &steps);
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
        sqlite3_progress_handler(db, 0, nullptr, nullptr);
        sqlite3_int64 n = 0;
        unsigned char* bytes = sqlite3_serialize(db, "main", &n, 0);
        if (bytes) out.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(n));
        sqlite3_free(bytes);
    }
    sqlite3_close(db);
    return out;
}

// Queries over an accepted project: every load selected, every node and member asked.
void Exercise(CDataBase& db) {
    CPostCtrl post(&db);
    const auto& cases = db.Table<DBT_PSTLD>().Keys();
    const auto& combs = db.Table<DBT_PLCOM>().Keys();
    const auto& nodes = db.Table<DBT_PNODE>().Keys();
    const auto& membs = db.Table<DBT_PMEMB>().Keys();
    const auto& elems = db.Table<DBT_PELEM>().Keys();
    auto queries = [&] {
        T_DISP_D d[3];
        T_REAC_D r[3];
        T_STRG_D g[3];
        T_STRP_DL p[3];
        for (size_t i = 0; i < nodes.size() && i < 64; ++i) {
            post.GetDisp(nodes[i], &d[0], &d[1], &d[2]);
            post.GetReac(nodes[i], &r[0], &r[1], &r[2]);
            post.GetDispHistory(1, 0, nodes[i], d[0]);
            db.GetElemsEndingAt(nodes[i]);
        }
        for (size_t i = 0; i < membs.size() && i < 64; ++i) post.GetMbgd(membs[i], &g[0], &g[1], &g[2], 0);
        for (size_t i = 0; i < elems.size() && i < 64; ++i) {
            post.GetStrp_L(elems[i], &p[0], &p[1], &p[2], 0);
            db.GetMembKeyOfElem(elems[i]);
        }
    };
    T_PLCOM_D lc;
    for (size_t i = 0; i < cases.size() && i < 16; ++i) {
        const T_PSTLD_D* c = db.Table<DBT_PSTLD>().Find(cases[i]);
        if (c && post.MakeLoadComb(static_cast<UINT>(c->type), cases[i], lc) && post.SelectLoadComb(lc, 0, 0)) queries();
        if (c && c->type == PLOAD_TIMEHISTORY && post.SelectThlc(cases[i])) queries();
    }
    for (size_t i = 0; i < combs.size() && i < 16; ++i)
        for (UINT type : {9u, 12u})
            if (post.MakeLoadComb(type, combs[i], lc) && post.SelectLoadComb(lc, type == 12, 0)) queries();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A memory file system when there is one: every input is written and read back.
    std::string dir;
    for (const char* base : {"/dev/shm", "/tmp"}) {
        std::string tmpl = std::string(base) + "/pvx_fuzz_db_XXXXXX";
        if (mkdtemp(tmpl.data())) {
            dir = tmpl;
            break;
        }
    }
    if (dir.empty()) {
        std::perror("fuzz_db_loader: mkdtemp");
        std::abort();
    }
    g_dir = dir;
    g_path = dir + "/input.pvxdb";
    std::atexit([] {
        for (const char* name : {"/input.pvxdb", "/seed.pvxdb"}) unlink((g_dir + name).c_str());
        rmdir(g_dir.c_str());
    });
    g_seed = MakeSeed(dir + "/seed.pvxdb");
    if (const char* seeds = std::getenv("PVX_FUZZ_SEED_DIR")) WriteSeeds(seeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string bytes = (data[0] & 1) ? Edited(rest) : rest;
    if (bytes.empty() && (data[0] & 1)) return 0;
    WriteBytes(g_path, bytes);
    CDataBase db;
    if (db.Open(g_path.c_str())) {
        Exercise(db);
    } else if (db.GetLastError().IsEmpty()) {
        __builtin_trap();  // a refusal always explains itself
    }
    return 0;
}
