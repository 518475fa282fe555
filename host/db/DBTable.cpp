// SQLite side of the tables: schema text, binding, reading and checking of values.
#include "host/db/DBTable.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <atomic>
#include <bit>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>

static_assert(std::endian::native == std::endian::little, "stored arrays are little-endian copies of memory");

namespace pvxdb {

namespace {
std::atomic<unsigned long long> s_lastVersion{0};
}  // namespace

unsigned long long DBTableBase::NextVersion() { return s_lastVersion.fetch_add(1, std::memory_order_relaxed) + 1; }

unsigned long long DBTableBase::LastVersion() { return s_lastVersion.load(std::memory_order_relaxed); }

void CopyText(char* dst, size_t cap, const char* src) {
    if (!dst || cap == 0) return;
    size_t n = src ? strlen(src) : 0;
    if (n > cap - 1) {
        n = cap - 1;
        while (n > 0 && (static_cast<unsigned char>(src[n]) & 0xC0) == 0x80) --n;  // whole UTF-8 characters
    }
    if (n) memcpy(dst, src, n);
    dst[n] = 0;
}

std::string NumberText(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string CheckBound(const double* p, int n, double limit, const char* what) {
    for (int i = 0; i < n; ++i)
        if (!(std::fabs(p[i]) <= limit))
            return (n > 1 ? "value " + std::to_string(i + 1) + " of " + std::to_string(n) + " is " : std::string()) +
                   NumberText(p[i]) + (n > 1 ? ", beyond " : " is beyond ") + NumberText(limit) + " in magnitude" +
                   (what ? std::string(" (") + what + ")" : std::string());
    return {};
}

std::string CheckTextOffsets(const double* p, int n) { return CheckBound(p, n, kMaxTextOffset, "a moved text's reach"); }

std::string CheckSizes(const double* p, int n) { return CheckBound(p, n, kMaxSize, "the largest size a sheet draws"); }

namespace {
sqlite3_stmt* S(void* p) { return static_cast<sqlite3_stmt*>(p); }

std::string Quote(const std::string& name) { return "\"" + name + "\""; }
}  // namespace

std::string DbMessage(sqlite3* db) {
    if (!db) return "no database";
    std::string msg = sqlite3_errmsg(db);
    // An I/O error says no more than that: the system's reason (File too large, No space left ...)
    // tells the user what to do.
    if ((sqlite3_extended_errcode(db) & 0xff) != SQLITE_IOERR) return msg;
    if (const int sys = sqlite3_system_errno(db); sys > 0) return msg + " (" + std::strerror(sys) + ")";
    // A write refused by the file-size limit leaves no error number behind: the limit is asked.
    struct rlimit limit {};
    struct stat st {};
    const char* file = sqlite3_db_filename(db, "main");
    constexpr off_t kGrowth = 1 << 20;  // what a save may add to the file
    if (file && *file && getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && stat(file, &st) == 0 &&
        static_cast<unsigned long long>(st.st_size + kGrowth) >= static_cast<unsigned long long>(limit.rlim_cur))
        msg += " (" + std::string(std::strerror(EFBIG)) + ": the file-size limit (ulimit -f) is " +
               std::to_string(static_cast<unsigned long long>(limit.rlim_cur)) + " bytes, the project file " +
               std::to_string(static_cast<long long>(st.st_size)) + ")";
    return msg;
}

int Exec(sqlite3* db, const std::string& sql, std::string& err) {
    char* msg = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg) != SQLITE_OK) {
        err = msg && std::strcmp(msg, sqlite3_errmsg(db)) ? msg : DbMessage(db);
        sqlite3_free(msg);
        return 0;
    }
    return 1;
}

std::string CreateSql(const char* table, const char* keyCols, const std::vector<ColumnDef>& cols) {
    std::string s = "CREATE TABLE " + Quote(table) + " (" + keyCols;
    for (const auto& c : cols) s += ", " + Quote(c.name) + " " + c.sqlType + " NOT NULL";
    return s + ")";
}

std::string CreateIfAbsentSql(const char* table, const char* keyCols, const std::vector<ColumnDef>& cols) {
    return "CREATE TABLE IF NOT EXISTS" + CreateSql(table, keyCols, cols).substr(std::string("CREATE TABLE").size());
}

std::string DeleteAllSql(const char* table) { return "DELETE FROM " + Quote(table); }

std::string InsertNamedSql(const char* table, const char* keyCols, const std::vector<ColumnDef>& cols) {
    std::string names = keyCols, marks = "?";
    for (const char* p = keyCols; *p; ++p)
        if (*p == ',') marks += ",?";
    for (const auto& c : cols) {
        names += ", " + Quote(c.name);
        marks += ",?";
    }
    return "INSERT INTO " + Quote(table) + " (" + names + ") VALUES (" + marks + ")";
}

std::string InsertSql(const char* table, int nKeyCols, const std::vector<ColumnDef>& cols) {
    std::string s = "INSERT INTO " + Quote(table) + " VALUES (";
    size_t n = cols.size() + static_cast<size_t>(nKeyCols);
    for (size_t i = 0; i < n; ++i) s += i ? ",?" : "?";
    return s + ")";
}

std::string SelectSql(const char* table, const char* keyCols, const char* orderBy, const std::vector<ColumnDef>& cols) {
    std::string s = std::string("SELECT ") + keyCols;
    for (const auto& c : cols) s += ", " + Quote(c.name);
    return s + " FROM " + Quote(table) + " ORDER BY " + orderBy;
}

std::string SelectIdRangeSql(const char* table, const std::vector<ColumnDef>& cols) {
    std::string s = "SELECT id";
    for (const auto& c : cols) s += ", " + Quote(c.name);
    return s + " FROM " + Quote(table) + " WHERE id BETWEEN ?1 AND ?2 ORDER BY id";
}

struct SchemaSnapshot::Layout {
    std::string type, sql;
    bool bColumns = false;         // the columns below were read
    std::set<std::string> columns;
    int computedCid = INT_MAX;     // the first computed column, by position
    std::string computed;
    int idKeys = 0;                // columns "id" that are the INTEGER primary key
    bool bPkIndex = false;         // the primary key has an index of its own (no row id alias)
};

struct SchemaSnapshot::Tables {
    std::map<std::string, Layout> byName;  // by name in lower case, as SQLite compares names
};

namespace {
thread_local const SchemaSnapshot* t_schemaSnapshot = nullptr;

std::string LowerAscii(const char* p) {
    std::string s = p ? p : "";
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string ColumnString(sqlite3_stmt* st, int i) {
    const unsigned char* t = sqlite3_column_text(st, i);
    return t ? reinterpret_cast<const char*>(t) : "";
}

// Runs sql, handing each row to row; false when it fails.
template <class Row> bool EachSchemaRow(sqlite3* db, const char* sql, Row row) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return false;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) row(st);
    sqlite3_finalize(st);
    return rc == SQLITE_DONE;
}

// Columns of pragma p of each stored table m (a virtual table's would ask its module).
std::string StoredTablesSql(const char* columns, const char* pragma) {
    return std::string("SELECT ") + columns + " FROM main.sqlite_master AS m, pragma_" + pragma +
           "(m.name, 'main') AS p WHERE m.type = 'table' AND ltrim(m.sql) NOT LIKE 'CREATE VIRTUAL%'";
}
}  // namespace

SchemaSnapshot::SchemaSnapshot(sqlite3* db) : m_db(db), m_outer(t_schemaSnapshot) {
    t_schemaSnapshot = this;
    auto tables = std::make_unique<Tables>();
    // The first row of a name is the one a lookup by name meets.
    if (!EachSchemaRow(db, "SELECT name, type, sql FROM main.sqlite_master WHERE type <> 'trigger'", [&](sqlite3_stmt* st) {
            Layout l;
            l.type = ColumnString(st, 1);
            l.sql = ColumnString(st, 2);
            tables->byName.emplace(LowerAscii(ColumnString(st, 0).c_str()), std::move(l));
        }))
        return;
    bool ok = EachSchemaRow(db, StoredTablesSql("m.name, p.cid, p.name, p.hidden, p.pk, upper(p.type)", "table_xinfo").c_str(), [&](sqlite3_stmt* st) {
        auto it = tables->byName.find(LowerAscii(ColumnString(st, 0).c_str()));
        if (it == tables->byName.end()) return;
        Layout& l = it->second;
        l.bColumns = true;
        const std::string name = ColumnString(st, 2);
        if (sqlite3_column_type(st, 2) != SQLITE_NULL) l.columns.insert(name);
        const int cid = sqlite3_column_int(st, 1);
        if (sqlite3_column_int(st, 3) != 0 && cid < l.computedCid) {
            l.computedCid = cid;
            l.computed = name;
        }
        // table_info leaves computed columns out; a key column is never computed.
        if (sqlite3_column_int(st, 3) == 0 && name == "id" && sqlite3_column_int(st, 4) == 1 && ColumnString(st, 5) == "INTEGER")
            ++l.idKeys;
    });
    ok = ok && EachSchemaRow(db, StoredTablesSql("m.name, p.origin", "index_list").c_str(), [&](sqlite3_stmt* st) {
        auto it = tables->byName.find(LowerAscii(ColumnString(st, 0).c_str()));
        if (it != tables->byName.end() && ColumnString(st, 1) == "pk") it->second.bPkIndex = true;
    });
    if (!ok)
        for (auto& [name, l] : tables->byName) l.bColumns = false;
    m_tables = std::move(tables);
}

SchemaSnapshot::~SchemaSnapshot() {
    if (t_schemaSnapshot == this) t_schemaSnapshot = m_outer;
}

const SchemaSnapshot::Layout* SchemaSnapshot::Find(sqlite3* db, const char* table, bool* pbAbsent) {
    const SchemaSnapshot* snap = t_schemaSnapshot;
    *pbAbsent = false;
    if (!snap || snap->m_db != db || !snap->m_tables) return nullptr;
    auto it = snap->m_tables->byName.find(LowerAscii(table));
    if (it == snap->m_tables->byName.end()) {
        *pbAbsent = true;
        return nullptr;
    }
    return &it->second;
}

namespace {
// 1 when an entry of the schema of this type and CREATE text is a stored table, 0 with err
// otherwise.
int JudgeTableKind(const std::string& file, const char* table, const std::string& type, const std::string& sql,
                   std::string& err) {
    // A view or a virtual table computes its rows when read (without bound in time, memory or
    // temporary files); only stored rows are data.
    if (type != "table") {
        err = file + ": table " + table + " is not a stored table (it is " + (type == "index" ? "an " : "a ") +
              EscapeText(type.c_str(), 16) + ")";
        return 0;
    }
    size_t i = 0;
    while (i < sql.size() && isspace(static_cast<unsigned char>(sql[i]))) ++i;
    if (sqlite3_strnicmp(sql.c_str() + i, "CREATE VIRTUAL", 14) == 0) {
        err = file + ": table " + table + " is not a stored table (it is a virtual table)";
        return 0;
    }
    return 1;
}

// CheckColumns on the columns of a stored table: the names and the first computed one.
int JudgeColumns(const std::string& file, const char* table, const std::set<std::string>& have, const std::string& computed,
                 const std::vector<ColumnDef>& cols, const char* keyCols, std::string& err) {
    // A project carries only the tables of what it has: an absent table reads as empty.
    if (have.empty()) return -1;
    if (!computed.empty()) {
        err = file + ": table " + table + ", column " + EscapeText(computed.c_str(), 64) +
              ": the column is computed, not stored";
        return 0;
    }
    std::string keys = keyCols;
    size_t start = 0;
    while (start <= keys.size()) {
        size_t comma = keys.find(',', start);
        std::string k = keys.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!k.empty() && !have.count(k)) {
            err = file + ": table " + table + ": column " + k + " is missing";
            return 0;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    for (const auto& c : cols)
        if (!have.count(c.name)) {
            err = file + ": table " + table + ": column " + c.name + " is missing";
            return 0;
        }
    return 1;
}
}  // namespace

int CheckTableKind(sqlite3* db, const std::string& file, const char* table, std::string& err) {
    bool bAbsent = false;
    if (const SchemaSnapshot::Layout* l = SchemaSnapshot::Find(db, table, &bAbsent))
        return JudgeTableKind(file, table, l->type, l->sql, err);
    if (bAbsent) return -1;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT type, sql FROM main.sqlite_master WHERE name = ?1 COLLATE NOCASE AND type <> 'trigger'", -1, &st,
                           nullptr) != SQLITE_OK) {
        err = file + ": cannot read the layout of table " + table + ": " + DbMessage(db);
        return 0;
    }
    sqlite3_bind_text(st, 1, table, -1, SQLITE_STATIC);
    int rc = sqlite3_step(st);
    std::string type, sql;
    if (rc == SQLITE_ROW) {
        type = ColumnString(st, 0);
        sql = ColumnString(st, 1);
    }
    std::string msg = DbMessage(db);
    sqlite3_finalize(st);
    if (rc == SQLITE_DONE) return -1;
    if (rc != SQLITE_ROW) {
        err = file + ": cannot read the layout of table " + table + ": " + msg;
        return 0;
    }
    return JudgeTableKind(file, table, type, sql, err);
}

int CheckColumns(sqlite3* db, const std::string& file, const char* table, const std::vector<ColumnDef>& cols,
                 const char* keyCols, std::string& err) {
    const int kind = CheckTableKind(db, file, table, err);
    if (kind <= 0) return kind;
    bool bAbsent = false;
    // A table whose columns the snapshot could not read is asked of the file.
    const SchemaSnapshot::Layout* l = SchemaSnapshot::Find(db, table, &bAbsent);
    if (l && l->bColumns) return JudgeColumns(file, table, l->columns, l->computed, cols, keyCols, err);
    // table_xinfo also lists generated columns, whose values are computed, not stored.
    std::string sql = std::string("PRAGMA main.table_xinfo(") + Quote(table) + ")";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        err = file + ": cannot read the layout of table " + table + ": " + DbMessage(db);
        return 0;
    }
    std::set<std::string> have;
    std::string computed;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const unsigned char* n = sqlite3_column_text(st, 1);
        if (n) have.insert(reinterpret_cast<const char*>(n));
        if (sqlite3_column_int(st, 6) != 0 && computed.empty()) computed = n ? reinterpret_cast<const char*>(n) : "";
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        err = file + ": cannot read the layout of table " + table + ": " + DbMessage(db);
        return 0;
    }
    return JudgeColumns(file, table, have, computed, cols, keyCols, err);
}

int CheckIdsWhole(sqlite3* db, const std::string& file, const char* table, std::string& err) {
    const std::string t = std::string("'") + table + "'";
    // An id that is the row id (INTEGER PRIMARY KEY of a table with row ids) is whole always.
    bool whole = false, bAbsent = false;
    void* st = nullptr;
    const SchemaSnapshot::Layout* l = SchemaSnapshot::Find(db, table, &bAbsent);
    if (l && l->bColumns) {
        whole = l->idKeys == 1 && !l->bPkIndex;
    } else {
        const std::string alias = "SELECT (SELECT count(*) FROM pragma_table_info(" + t +
                                  ") WHERE name = 'id' AND pk = 1 AND upper(type) = 'INTEGER') = 1 AND "
                                  "(SELECT count(*) FROM pragma_index_list(" + t + ") WHERE origin = 'pk') = 0";
        st = Prepare(db, alias, err);
        whole = st && StepRow(st) == 1 && ColumnInt64(st, 0) == 1;
        if (st) Finalize(st);
    }
    err.clear();
    if (whole) return 1;
    st = Prepare(db, std::string("SELECT id, n FROM (SELECT id, row_number() OVER () AS n FROM \"") + table +
                         "\") WHERE typeof(id) <> 'integer' LIMIT 1", err);
    if (!st) {
        err = file + ": table " + table + ": " + err;
        return 0;
    }
    const int rc = StepRow(st);
    if (rc == 1)
        err = file + ": table " + table + ", column id, row " + std::to_string(ColumnInt64(st, 1)) + ", id " +
              ColumnValueText(st, 0) + ": a result id must be a whole number";
    else if (rc < 0)
        err = file + ": table " + table + ": " + DbMessage(db);
    Finalize(st);
    return rc == 0 ? 1 : 0;
}

void* Prepare(sqlite3* db, const std::string& sql, std::string& err) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        err = DbMessage(db);
        return nullptr;
    }
    return st;
}

int StepRow(void* stmt) {
    int rc = sqlite3_step(S(stmt));
    return rc == SQLITE_ROW ? 1 : (rc == SQLITE_DONE ? 0 : -1);
}
int StepDone(void* stmt) { return sqlite3_step(S(stmt)) == SQLITE_DONE; }
void Reset(void* stmt) {
    sqlite3_reset(S(stmt));
    sqlite3_clear_bindings(S(stmt));
}
void Finalize(void* stmt) { sqlite3_finalize(S(stmt)); }
long long ColumnInt64(void* stmt, int i) { return sqlite3_column_int64(S(stmt), i); }
int ColumnIsInteger(void* stmt, int i) { return sqlite3_column_type(S(stmt), i) == SQLITE_INTEGER; }

std::string ColumnValueText(void* stmt, int i) {
    switch (sqlite3_column_type(S(stmt), i)) {
        case SQLITE_NULL: return "NULL";
        case SQLITE_INTEGER: return std::to_string(sqlite3_column_int64(S(stmt), i));
        case SQLITE_FLOAT: {
            char buf[32];
            snprintf(buf, sizeof buf, "%.17g", sqlite3_column_double(S(stmt), i));
            return buf;
        }
        case SQLITE_TEXT: {
            const char* t = reinterpret_cast<const char*>(sqlite3_column_text(S(stmt), i));
            return "\"" + EscapeText(t ? t : "", 40) + "\"";
        }
        default: return "binary data of " + std::to_string(sqlite3_column_bytes(S(stmt), i)) + " bytes";
    }
}
void BindInt64(void* stmt, int i, long long v) { sqlite3_bind_int64(S(stmt), i, v); }

// ---- binding --------------------------------------------------------------------------------

void BindVisitor::Int(const char*, int& v) {
    if (sqlite3_bind_int64(S(m_stmt), m_index++, v) != SQLITE_OK) m_rc = 0;
}
void BindVisitor::Key(const char*, UINT& v) {
    if (sqlite3_bind_int64(S(m_stmt), m_index++, static_cast<long long>(v)) != SQLITE_OK) m_rc = 0;
}
void BindVisitor::Real(const char*, double& v) {
    if (sqlite3_bind_double(S(m_stmt), m_index++, v) != SQLITE_OK) m_rc = 0;
}
void BindVisitor::Text(const char*, char* p, int cap) { TextOf(p, static_cast<int>(strnlen(p, static_cast<size_t>(cap)))); }
void BindVisitor::BlobOf(const void* p, size_t n) {
    // An empty blob must stay a blob: a null pointer would store NULL.
    int rc = n == 0 ? sqlite3_bind_zeroblob(S(m_stmt), m_index++, 0)
                    : sqlite3_bind_blob64(S(m_stmt), m_index++, p, n, SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) m_rc = 0;
}
void BindVisitor::TextOf(const char* s, int n) {
    if (sqlite3_bind_text(S(m_stmt), m_index++, s ? s : "", s ? n : 0, SQLITE_TRANSIENT) != SQLITE_OK) m_rc = 0;
}

// ---- reading --------------------------------------------------------------------------------

void ReadVisitor::Fail(const char* column, const char* problem) {
    if (!m_err.empty()) return;
    std::string where;
    if (m_composite) {
        unsigned long long id = static_cast<unsigned long long>(m_key);
        where = "load " + std::to_string(id >> 32) + ", key " + std::to_string(id & 0xffffffffULL);
    } else {
        where = "key " + std::to_string(m_key);
    }
    m_err = m_file + ": table " + m_table + ", column " + column + ", " + where + ": " + problem;
}

static const char* TypeName(int t) {
    switch (t) {
        case SQLITE_INTEGER: return "an integer";
        case SQLITE_FLOAT: return "a real number";
        case SQLITE_TEXT: return "text";
        case SQLITE_BLOB: return "binary data";
        default: return "nothing (NULL)";
    }
}

int ReadVisitor::Expect(const char* name, int type, const char* what) {
    int t = sqlite3_column_type(S(m_stmt), m_index);
    if (t == type || (type == SQLITE_FLOAT && t == SQLITE_INTEGER)) return 1;
    std::string p = std::string("expected ") + what + ", found " + TypeName(t);
    Fail(name, p.c_str());
    return 0;
}

void ReadVisitor::Int(const char* name, int& v) {
    if (Expect(name, SQLITE_INTEGER, "an integer")) {
        long long x = sqlite3_column_int64(S(m_stmt), m_index);
        if (x < INT32_MIN || x > INT32_MAX)
            Fail(name, "integer out of range");
        else
            v = static_cast<int>(x);
    }
    ++m_index;
}

void ReadVisitor::Key(const char* name, UINT& v) {
    if (Expect(name, SQLITE_INTEGER, "a key")) {
        long long x = sqlite3_column_int64(S(m_stmt), m_index);
        if (x < 0 || x > 0xffffffffLL)
            Fail(name, "key out of range");
        else
            v = static_cast<UINT>(x);
    }
    ++m_index;
}

void ReadVisitor::Real(const char* name, double& v) {
    if (Expect(name, SQLITE_FLOAT, "a number")) {
        double x = sqlite3_column_double(S(m_stmt), m_index);
        if (CheckFinite(name, &x, 1)) v = x;
    }
    ++m_index;
}

void ReadVisitor::Coord(const char* name, double& v) {
    if (Expect(name, SQLITE_FLOAT, "a number")) {
        double x = sqlite3_column_double(S(m_stmt), m_index);
        if (!CheckFinite(name, &x, 1)) {
        } else if (!(std::fabs(x) <= kMaxCoord)) {
            Fail(name, ("coordinate " + NumberText(x) + " is beyond " + NumberText(kMaxCoord) + " in magnitude").c_str());
        } else {
            v = x;
        }
    }
    ++m_index;
}

int ReadVisitor::CheckFinite(const char* name, const double* p, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (!std::isfinite(p[i])) {
            std::string msg = std::string(n > 1 ? "value " + std::to_string(i + 1) + " of " + std::to_string(n) + " is " : "") +
                              "not a finite number (" + (std::isnan(p[i]) ? "NaN" : p[i] > 0 ? "+infinity" : "-infinity") + ")";
            Fail(name, msg.c_str());
            return 0;
        }
    // Finite, but sums, squares and scales of a larger result overflow: it would draw as nothing.
    const std::string beyond = m_composite ? CheckBound(p, static_cast<int>(n), kMaxResult, nullptr) : std::string();
    if (!beyond.empty()) Fail(name, beyond.c_str());
    return beyond.empty();
}

void ReadVisitor::Reals(const char* name, double* p, int n) {
    // A refused value stays in the record, but a refused row fails the whole table.
    if (Blob(name, p, sizeof(double) * static_cast<size_t>(n))) CheckFinite(name, p, static_cast<size_t>(n));
}

void ReadVisitor::Text(const char* name, char* p, int cap) {
    const char* t = TextCol(name);
    if (!t) return;
    size_t n = strlen(t);
    if (n >= static_cast<size_t>(cap)) {
        std::string msg = "text longer than " + std::to_string(cap - 1) + " bytes";
        Fail(name, msg.c_str());
        return;
    }
    memcpy(p, t, n + 1);
}

const char* ReadVisitor::TextCol(const char* name) {
    const char* t = nullptr;
    if (Expect(name, SQLITE_TEXT, "text")) {
        t = reinterpret_cast<const char*>(sqlite3_column_text(S(m_stmt), m_index));
        int bytes = sqlite3_column_bytes(S(m_stmt), m_index);
        if (!t) t = "";
        if (static_cast<int>(strlen(t)) != bytes) {
            Fail(name, "text holds a NUL byte");
            t = nullptr;
        } else if (const size_t bad = FirstNonUtf8(t, static_cast<size_t>(bytes)); bad < static_cast<size_t>(bytes)) {
            char msg[96];
            std::snprintf(msg, sizeof msg, "text is not valid UTF-8 at byte %zu (0x%02X)", bad + 1,
                          static_cast<unsigned char>(t[bad]));
            Fail(name, msg);
            t = nullptr;
        }
    }
    ++m_index;
    return t;
}

namespace {
// Whether the n values are ones ReadVisitor takes: finite, and results within kMaxResult.
bool FixedFinite(const double* p, size_t n, bool composite) {
    for (size_t i = 0; i < n; ++i)
        if (!std::isfinite(p[i]) || (composite && !(std::fabs(p[i]) <= kMaxResult))) return false;
    return true;
}
}  // namespace

bool ReadFixed(void* stmt, int first, const std::vector<FixedColumn>& plan, void* rec, bool composite) {
    char* base = static_cast<char*>(rec);
    int i = first;
    for (const FixedColumn& c : plan) {
        // One call to reach the value; its type and contents are then read off it directly.
        sqlite3_value* v = sqlite3_column_value(S(stmt), i++);
        const int t = sqlite3_value_type(v);
        char* at = base + c.offset;
        switch (c.kind) {
        case FixedColumn::kInt:
        case FixedColumn::kKey: {
            if (t != SQLITE_INTEGER) return false;
            const long long x = sqlite3_value_int64(v);
            if (c.kind == FixedColumn::kInt) {
                if (x < INT32_MIN || x > INT32_MAX) return false;
                *reinterpret_cast<int*>(at) = static_cast<int>(x);
            } else {
                if (x < 0 || x > 0xffffffffLL) return false;
                *reinterpret_cast<UINT*>(at) = static_cast<UINT>(x);
            }
            break;
        }
        case FixedColumn::kReal:
        case FixedColumn::kCoord: {
            if (t != SQLITE_FLOAT && t != SQLITE_INTEGER) return false;
            const double x = sqlite3_value_double(v);
            if (!FixedFinite(&x, 1, composite) || (c.kind == FixedColumn::kCoord && !(std::fabs(x) <= kMaxCoord)))
                return false;
            *reinterpret_cast<double*>(at) = x;
            break;
        }
        case FixedColumn::kBlob:
        case FixedColumn::kReals: {
            // The size before the bytes, as ReadVisitor::Blob asks.
            if (t != SQLITE_BLOB || static_cast<size_t>(sqlite3_value_bytes(v)) != c.bytes) return false;
            if (c.bytes) {
                const void* b = sqlite3_value_blob(v);
                if (!b) return false;
                memcpy(at, b, c.bytes);
            }
            if (c.kind == FixedColumn::kReals &&
                !FixedFinite(reinterpret_cast<const double*>(at), c.bytes / sizeof(double), composite))
                return false;
            break;
        }
        }
    }
    return true;
}

// The size is asked for before the bytes: only a blob of the expected size is fetched.
int ReadVisitor::Blob(const char* name, void* p, size_t n) {
    int ok = 0;
    if (Expect(name, SQLITE_BLOB, "binary data")) {
        size_t have = static_cast<size_t>(sqlite3_column_bytes(S(m_stmt), m_index));
        if (have != n) {
            std::string msg = "expected " + std::to_string(n) + " bytes, found " + std::to_string(have);
            Fail(name, msg.c_str());
        } else {
            const void* b = n ? sqlite3_column_blob(S(m_stmt), m_index) : nullptr;
            if (n && !b) {
                Fail(name, "the binary data cannot be read");
            } else {
                if (n) memcpy(p, b, n);
                ok = 1;
            }
        }
    }
    ++m_index;
    return ok;
}

int ReadVisitor::VarBlob(const char* name, std::vector<UINT>& out, int unit) {
    int ok = 0;
    if (Expect(name, SQLITE_BLOB, "binary data")) {
        size_t have = static_cast<size_t>(sqlite3_column_bytes(S(m_stmt), m_index));
        size_t step = sizeof(UINT) * static_cast<size_t>(unit);
        if (have % step != 0) {
            std::string msg = "binary data of " + std::to_string(have) + " bytes is not a whole number of " +
                              std::to_string(step) + "-byte entries";
            Fail(name, msg.c_str());
        } else {
            const void* b = have ? sqlite3_column_blob(S(m_stmt), m_index) : nullptr;
            if (have && !b) {
                Fail(name, "the binary data cannot be read");
            } else {
                out.resize(have / sizeof(UINT));
                if (have) memcpy(out.data(), b, have);
                ok = 1;
            }
        }
    }
    ++m_index;
    return ok;
}

}  // namespace pvxdb
