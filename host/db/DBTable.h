// In-memory tables of the post database and their SQLite form.
//
// A `DBTable<T>` holds the records of one model table keyed by UINT, in table (insertion)
// order, with a hash index for lookups. A `DBResultTable<T>` holds result records keyed by
// (load case or mode, object key). Both write themselves into an SQLite file and read
// themselves back, checking every value; the schema comes from the record's field list.
//
// Stored form: model table `key INTEGER PRIMARY KEY, seq INTEGER NOT NULL, <fields>` where seq
// is the position in table order; result table `id INTEGER PRIMARY KEY, <fields>` where
// id = load case key x 2^32 + object key (as a 64-bit two's-complement integer). Arrays are
// BLOBs of little-endian values (see DBField.h). CDataBase owns the tables.
#pragma once

#include "host/db/DBField.h"
#include "host/db/DBText.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct sqlite3;

namespace pvxdb {

class DBTableBase;

// What reads a result table from its project file when the table is first used (the database
// that opened the file): the rows of one load when a record of it is looked up, the rest when
// every record is asked for, each with the same checks as a whole read. A damaged table is
// emptied and not read again, and the reader reports why.
class PendingReader {
public:
    virtual ~PendingReader() = default;
    // Reads every row not read yet; the table is no longer pending afterwards.
    virtual void Read(DBTableBase& table) = 0;
    // Reads the rows of load lc unless they are read already.
    virtual void ReadLoad(DBTableBase& table, UINT lc) = 0;
    // Whether the file's table holds a row with an id in [lo, hi] whose object key (the low 32
    // bits) is in keys, read from the ids alone.
    virtual bool AnyIdIn(const DBTableBase& table, uint64_t lo, uint64_t hi,
                         const std::unordered_set<UINT>& keys) = 0;
};

// Further connections to the file a read transaction of another connection is open on, for
// reading the rows of one load in parts on several threads. Begin(i) runs on the thread of part
// i + 1 (each i on one thread at a time) and gives a connection in a read transaction that sees
// the file as the other connection does, or null when none can be had; End(i) ends it.
class SideReaders {
public:
    virtual ~SideReaders() = default;
    virtual int Count() const = 0;
    virtual sqlite3* Begin(int i) = 0;
    virtual void End(int i) = 0;
};

// One stored column of a record.
struct ColumnDef {
    std::string name;
    const char* sqlType;  // "INTEGER", "REAL", "TEXT", "BLOB"
};

class DBTableBase {
public:
    explicit DBTableBase(const char* name) : m_name(name), m_version(NextVersion()) {}
    virtual ~DBTableBase() = default;
    DBTableBase(const DBTableBase&) = delete;
    DBTableBase& operator=(const DBTableBase&) = delete;

    const char* Name() const { return m_name; }
    // Changes with every modification, so derived indexes know when to rebuild. Versions come
    // from one counter of the process: no two tables, of one database or of two, ever share
    // one, so a cache keyed by versions cannot take a new database for the one it was built on.
    unsigned long long Version() const { return m_version; }
    // The newest version handed out to any table: while it stays the same, no table of any
    // database has changed or been made.
    static unsigned long long LastVersion();
    virtual void Clear() = 0;
    virtual size_t Count() const = 0;
    // Creates the table in db and writes every record; 0 with a message on failure.
    virtual int Save(sqlite3* db, std::string& err) const = 0;
    // Replaces the rows of the table in an existing project file db by the records, the table
    // made when the file has none; the caller holds the transaction. Model tables only (a
    // result table refuses); 0 with a message on failure.
    virtual int Rewrite(sqlite3* db, std::string& err) const {
        err = std::string("table ") + m_name + " cannot be written in place";
        return 0;
    }
    // How Merge settles a row another program changed since this one read the file.
    enum EMergeRule {
        kKeysAllocated,  // keys are numbers handed out by the table: a row added here under a key
                         // added there meanwhile takes a new key; a row changed on both sides
                         // refuses the save, unless both made it the same
        kKeysNamed,      // keys name a thing (a page): the row written here replaces the other
        kEditsRelative   // an edit adds to the row as read (a moved text's offset): a row changed,
                         // added or removed on both sides refuses the save even when both made
                         // it the same, for the sum of the two edits is neither
    };
    // Writes the edits made since TrackEdits into the file db read from, leaving every row the
    // edits did not touch as the file holds it now (another program may have added or changed
    // rows meanwhile); the caller holds the write lock and the transaction. Rows given a new key
    // are added to `moved` (old key, new key). Without tracking it is Rewrite. Model tables only.
    virtual int Merge(sqlite3* db, EMergeRule rule, std::vector<std::pair<UINT, UINT>>& moved, std::string& err) const {
        return Rewrite(db, err);
    }
    // After a committed Merge: the moved rows take their new keys here too, and the edits
    // start again from the state now in the file.
    virtual void Merged(const std::vector<std::pair<UINT, UINT>>& moved) {}
    // Starts (or stops) remembering the records as read before each edit, for Merge.
    virtual void TrackEdits(bool on) {}
    // Replaces the contents with the table read from db; 0 with a message naming the file,
    // table, column and key on failure (the table is then left empty; the caller drops
    // the whole database).
    virtual int Load(sqlite3* db, const std::string& file, std::string& err) = 0;
    // Adds the rows of load *pLoad (or, for null, every row of a load not read yet) from db
    // with the checks of Load; 0 with its message on failure, the rows of this call left out.
    // A load's rows may be read in parts through pSide at once, with the same result.
    virtual int LoadPart(sqlite3* db, const std::string& file, const UINT* pLoad, std::string& err,
                         SideReaders* pSide = nullptr) {
        return Load(db, file, err);
    }
    // Whether the rows of load lc are read (a table read whole holds every load).
    virtual bool HasLoad(UINT lc) const { return true; }

    // A table left in its file until first used: its reader, or null once read (or for a table
    // filled in code). Clearing the table forgets the reader.
    void SetPendingReader(PendingReader* pReader) { m_pending.store(pReader); }
    bool IsPending() const { return m_pending.load() != nullptr; }
    // Reads a pending table now (every accessor of a result table's records calls this first).
    void ReadIfPending() const {
        if (PendingReader* r = m_pending.load()) r->Read(const_cast<DBTableBase&>(*this));
    }
    // Checks that the file's table has the record's columns, without reading rows: 1 when it
    // does, -1 when the file has no such table, 0 with a message otherwise.
    virtual int CheckLayout(sqlite3* db, const std::string& file, std::string& err) const { return 1; }

protected:
    void Touch() { m_version = NextVersion(); }
    PendingReader* Pending() const { return m_pending.load(); }

    const char* m_name;
    unsigned long long m_version;

private:
    static unsigned long long NextVersion();
    std::atomic<PendingReader*> m_pending{nullptr};
};

// The kinds, columns and row-id keys of every table of db, read in three queries. While one
// lives, CheckTableKind, CheckColumns and CheckIdsWhole asked of db on its thread answer from
// it instead of asking the file table by table; what it could not read they still ask. Made
// inside the read transaction of the reads it serves, and gone before that transaction ends.
class SchemaSnapshot {
public:
    explicit SchemaSnapshot(sqlite3* db);
    ~SchemaSnapshot();
    SchemaSnapshot(const SchemaSnapshot&) = delete;
    SchemaSnapshot& operator=(const SchemaSnapshot&) = delete;

    struct Layout;
    // The layout of table (named in any case) when this thread's snapshot is of db and holds
    // it; null otherwise, with *pbAbsent true when the snapshot knows the file has no such table.
    static const Layout* Find(sqlite3* db, const char* table, bool* pbAbsent);

private:
    sqlite3* m_db;
    const SchemaSnapshot* m_outer;  // the snapshot this one hides while it lives
    struct Tables;
    std::unique_ptr<Tables> m_tables;  // null when the schema could not be read
};

// Helpers shared by the table templates (DBTable.cpp).
// 1 when table is a stored table of db, 0 with err when it is something else (a view, a
// virtual table), -1 when the table is absent.
int CheckTableKind(sqlite3* db, const std::string& file, const char* table, std::string& err);
// 1 when the table is a stored table with every column, none of them computed; 0 with err when
// one is missing or computed or the table is not a stored table; -1 when the table is absent.
int CheckColumns(sqlite3* db, const std::string& file, const char* table, const std::vector<ColumnDef>& cols,
                 const char* keyCol, std::string& err);
int Exec(sqlite3* db, const std::string& sql, std::string& err);
std::string CreateSql(const char* table, const char* keyCols, const std::vector<ColumnDef>& cols);
std::string InsertSql(const char* table, int nKeyCols, const std::vector<ColumnDef>& cols);
// The same with the columns named (a file's table may hold them in another order), and the
// CREATE statement that leaves an existing table alone.
std::string InsertNamedSql(const char* table, const char* keyCols, const std::vector<ColumnDef>& cols);
std::string CreateIfAbsentSql(const char* table, const char* keyCols, const std::vector<ColumnDef>& cols);
std::string DeleteAllSql(const char* table);
std::string SelectSql(const char* table, const char* keyCols, const char* orderBy, const std::vector<ColumnDef>& cols);
// 1 when every id of the result table is a whole number (a row the reads by load would never
// meet: a NULL or text id, or one a fraction off); 0 with err naming the first other row.
int CheckIdsWhole(sqlite3* db, const std::string& file, const char* table, std::string& err);
// The rows of a result table with an id in [?1, ?2], in id order.
std::string SelectIdRangeSql(const char* table, const std::vector<ColumnDef>& cols);

// Binds one record's fields to statement parameters from a start index (DBTable.cpp).
class BindVisitor {
public:
    BindVisitor(void* stmt, int first) : m_stmt(stmt), m_index(first) {}
    void Int(const char*, int& v);
    void Key(const char*, UINT& v);
    void Real(const char*, double& v);
    void Coord(const char* n, double& v) { Real(n, v); }
    void Ints(const char*, int* p, int n) { BlobOf(p, sizeof(int) * n); }
    void Keys(const char*, UINT* p, int n) { BlobOf(p, sizeof(UINT) * n); }
    void Reals(const char*, double* p, int n) { BlobOf(p, sizeof(double) * n); }
    void Text(const char*, char* p, int cap);
    void Bytes(const char*, void* p, size_t n) { BlobOf(p, n); }
    void Data(const char*, std::string& bytes) { BlobOf(bytes.data(), bytes.size()); }
    template <class S> void Str(const char*, S& s) { TextOf(static_cast<const char*>(s), -1); }
    template <class L> void KeyList(const char*, L& list) {
        BlobOf(list.GetData(), sizeof(UINT) * static_cast<size_t>(list.GetSize()));
    }
    template <class L> void RealList(const char*, L& list) {
        BlobOf(list.GetData(), sizeof(double) * static_cast<size_t>(list.GetSize()));
    }
    template <class M> void KeyMap(const char*, M& map) {
        // Pairs in reverse iteration order: adding them back in file order rebuilds the same
        // iteration order of the hash map.
        std::vector<UINT> pairs;
        pairs.reserve(static_cast<size_t>(map.GetCount()) * 2);
        UINT k, v;
        for (auto pos = map.GetStartPosition(); pos != nullptr;) {
            map.GetNextAssoc(pos, k, v);
            pairs.push_back(v);
            pairs.push_back(k);
        }
        std::vector<UINT> rev(pairs.rbegin(), pairs.rend());
        BlobOf(rev.data(), sizeof(UINT) * rev.size());
    }
    int Ok() const { return m_rc; }

private:
    void BlobOf(const void* p, size_t n);
    void TextOf(const char* s, int n);
    void* m_stmt;
    int m_index;
    int m_rc = 1;
};

// Reads one record's fields from result columns from a start index, checking each value.
class ReadVisitor {
public:
    // key is the row's key, or for a result table (composite) its id.
    ReadVisitor(void* stmt, int first, const std::string& file, const char* table, long long key, bool composite = false)
        : m_stmt(stmt), m_index(first), m_file(file), m_table(table), m_key(key), m_composite(composite) {}
    void Int(const char* name, int& v);
    void Key(const char* name, UINT& v);
    void Real(const char* name, double& v);
    void Coord(const char* name, double& v);
    void Ints(const char* name, int* p, int n) { Blob(name, p, sizeof(int) * n); }
    void Keys(const char* name, UINT* p, int n) { Blob(name, p, sizeof(UINT) * n); }
    void Reals(const char* name, double* p, int n);
    void Text(const char* name, char* p, int cap);
    void Bytes(const char* name, void* p, size_t n) { Blob(name, p, n); }
    // A BLOB of any number of 4-byte words (a keyed map of check results, CheckData.h).
    void Data(const char* name, std::string& bytes) {
        std::vector<UINT> v;
        if (!VarBlob(name, v, 1)) return;
        bytes.assign(reinterpret_cast<const char*>(v.data()), v.size() * sizeof(UINT));
    }
    template <class S> void Str(const char* name, S& s) {
        const char* t = TextCol(name);
        if (t) s = t;
    }
    template <class L> void KeyList(const char* name, L& list) {
        std::vector<UINT> v;
        if (!VarBlob(name, v, 1)) return;
        list.SetSize(static_cast<INT_PTR>(v.size()));
        for (size_t i = 0; i < v.size(); ++i) list[static_cast<INT_PTR>(i)] = v[i];
    }
    template <class L> void RealList(const char* name, L& list) {
        std::vector<UINT> v;
        if (!VarBlob(name, v, 2)) return;
        std::vector<double> d(v.size() / 2);
        if (!v.empty()) memcpy(d.data(), v.data(), v.size() * sizeof(UINT));
        if (!CheckFinite(name, d.data(), d.size())) return;
        list.SetSize(static_cast<INT_PTR>(d.size()));
        if (!d.empty()) memcpy(list.GetData(), d.data(), d.size() * sizeof(double));
    }
    template <class M> void KeyMap(const char* name, M& map) {
        std::vector<UINT> v;
        if (!VarBlob(name, v, 2)) return;
        map.RemoveAll();
        for (size_t i = 0; i + 1 < v.size(); i += 2) map.SetAt(v[i], v[i + 1]);
    }
    int Ok() const { return m_err.empty(); }
    const std::string& Error() const { return m_err; }
    // Refuses the row for a problem found after its fields were read (see CheckRecord).
    void Reject(const char* column, const std::string& problem) { Fail(column, problem.c_str()); }

private:
    void Fail(const char* column, const char* problem);
    int Expect(const char* name, int type, const char* what);
    // 1 when the n values are finite numbers; else 0 with a message naming the column.
    int CheckFinite(const char* name, const double* p, size_t n);
    int Blob(const char* name, void* p, size_t n);
    int VarBlob(const char* name, std::vector<UINT>& out, int unit);
    const char* TextCol(const char* name);
    void* m_stmt;
    int m_index;
    const std::string& m_file;
    const char* m_table;
    long long m_key;
    bool m_composite;
    std::string m_err;
};

// A record type may check what its column types cannot (one field against another, values
// inside a BLOB of structs) with a member
//     std::string Validate(const char** pszColumn) const;
// returning "" when the record is sound, else the problem with *pszColumn set to its column.
template <class T> void CheckRecord(const T& rec, ReadVisitor& r) {
    if constexpr (requires(const T& t, const char** c) { t.Validate(c); }) {
        if (!r.Ok()) return;
        const char* column = "";
        std::string problem = rec.Validate(&column);
        if (!problem.empty()) r.Reject(column, problem);
    }
}

// A record whose fields all have a fixed size (numbers and BLOBs of n values or bytes; no text
// or lists) is read by a plan made once per record type: each column's kind, size and place in
// the record. ReadFixed takes a row by the plan with one look at each value; a row it refuses is
// read again by ReadVisitor, whose checks are the same and whose message says what is wrong.
struct FixedColumn {
    enum Kind { kInt, kKey, kReal, kCoord, kBlob, kReals } kind;
    size_t offset;  // bytes from the start of the record
    size_t bytes;   // of a BLOB
};

class FixedPlanCollector {
public:
    explicit FixedPlanCollector(const void* base) : m_base(static_cast<const char*>(base)) {}
    void Int(const char*, int& v) { Add(FixedColumn::kInt, &v, 0); }
    void Key(const char*, UINT& v) { Add(FixedColumn::kKey, &v, 0); }
    void Real(const char*, double& v) { Add(FixedColumn::kReal, &v, 0); }
    void Coord(const char*, double& v) { Add(FixedColumn::kCoord, &v, 0); }
    void Ints(const char*, int* p, int n) { Add(FixedColumn::kBlob, p, sizeof(int) * n); }
    void Keys(const char*, UINT* p, int n) { Add(FixedColumn::kBlob, p, sizeof(UINT) * n); }
    void Reals(const char*, double* p, int n) { Add(FixedColumn::kReals, p, sizeof(double) * n); }
    void Bytes(const char*, void* p, size_t n) { Add(FixedColumn::kBlob, p, n); }
    void Text(const char*, char*, int) { m_other = true; }
    void Data(const char*, std::string&) { m_other = true; }
    template <class S> void Str(const char*, S&) { m_other = true; }
    template <class L> void KeyList(const char*, L&) { m_other = true; }
    template <class L> void RealList(const char*, L&) { m_other = true; }
    template <class M> void KeyMap(const char*, M&) { m_other = true; }

    std::vector<FixedColumn> m_cols;
    bool m_other = false;  // a field of no fixed size

private:
    void Add(FixedColumn::Kind k, const void* p, size_t bytes) {
        m_cols.push_back({k, static_cast<size_t>(static_cast<const char*>(p) - m_base), bytes});
    }
    const char* m_base;
};

// The plan of record type T; null when a field has no fixed size.
template <class T> const std::vector<FixedColumn>* FixedPlanOf() {
    static const std::vector<FixedColumn> plan = [] {
        T rec = T();  // value-initialised: a member may have an explicit default constructor
        FixedPlanCollector c(&rec);
        rec.Fields(c);
        return c.m_other ? std::vector<FixedColumn>() : c.m_cols;
    }();
    return plan.empty() ? nullptr : &plan;
}

// Reads the columns from first on into rec by the plan; false when a value is not one ReadVisitor
// takes (rec is then partly written). composite: a result table's row (results are bounded).
bool ReadFixed(void* stmt, int first, const std::vector<FixedColumn>& plan, void* rec, bool composite);

// Reads a row's fields into rec: by the plan when T has one and the row passes, else field by
// field with the full checks; then the record's own checks.
template <class T> void ReadRecord(T& rec, ReadVisitor& r, void* stmt, int first, bool composite) {
    const std::vector<FixedColumn>* plan = FixedPlanOf<T>();
    if (!plan || !ReadFixed(stmt, first, *plan, &rec, composite)) rec.Fields(r);
    CheckRecord(rec, r);
}

// Collects the column list of a record type.
class SchemaVisitor {
public:
    void Int(const char* n, int&) { Add(n, "INTEGER"); }
    void Key(const char* n, UINT&) { Add(n, "INTEGER"); }
    void Real(const char* n, double&) { Add(n, "REAL"); }
    void Coord(const char* n, double&) { Add(n, "REAL"); }
    void Ints(const char* n, int*, int) { Add(n, "BLOB"); }
    void Keys(const char* n, UINT*, int) { Add(n, "BLOB"); }
    void Reals(const char* n, double*, int) { Add(n, "BLOB"); }
    void Text(const char* n, char*, int) { Add(n, "TEXT"); }
    void Bytes(const char* n, void*, size_t) { Add(n, "BLOB"); }
    void Data(const char* n, std::string&) { Add(n, "BLOB"); }
    template <class S> void Str(const char* n, S&) { Add(n, "TEXT"); }
    template <class L> void KeyList(const char* n, L&) { Add(n, "BLOB"); }
    template <class L> void RealList(const char* n, L&) { Add(n, "BLOB"); }
    template <class M> void KeyMap(const char* n, M&) { Add(n, "BLOB"); }
    std::vector<ColumnDef> m_cols;

private:
    void Add(const char* n, const char* t) { m_cols.push_back({n, t}); }
};

template <class T> const std::vector<ColumnDef>& ColumnsOf() {
    static const std::vector<ColumnDef> cols = [] {
        T rec;
        rec.Initialize();
        SchemaVisitor s;
        rec.Fields(s);
        return s.m_cols;
    }();
    return cols;
}

// Statement helpers (DBTable.cpp): prepare, step, finalize with messages.
void* Prepare(sqlite3* db, const std::string& sql, std::string& err);
int StepRow(void* stmt);     // 1 row, 0 done, -1 error
int StepDone(void* stmt);    // 1 done
void Reset(void* stmt);
void Finalize(void* stmt);
long long ColumnInt64(void* stmt, int i);
int ColumnIsInteger(void* stmt, int i);
// The value of a result column as it may appear in a message (text quoted and escaped).
std::string ColumnValueText(void* stmt, int i);
void BindInt64(void* stmt, int i, long long v);
std::string DbMessage(sqlite3* db);

// Positions of records by key: a position per key in one array over the run of keys from the
// lowest (a model numbers its nodes and elements densely, from any first number), and a hash
// map for the keys that lie far outside that run. The run grows over a key while it spans at
// most twice the keys plus kSlack; keys it grows over leave the hash map.
class KeyIndex {
public:
    static constexpr uint32_t kNone = 0xFFFFFFFFu;
    static constexpr uint64_t kSlack = 1024;
    uint32_t Find(UINT key) const {
        // A key below the run wraps far beyond it.
        const uint64_t at = static_cast<uint64_t>(key) - m_base;
        if (at < m_dense.size()) return m_dense[at];
        if (m_sparse.empty()) return kNone;
        auto it = m_sparse.find(key);
        return it == m_sparse.end() ? kNone : it->second;
    }
    void Set(UINT key, uint32_t pos) {
        uint64_t at = static_cast<uint64_t>(key) - m_base;
        if (at >= m_dense.size()) {
            if (auto it = m_sparse.find(key); it != m_sparse.end()) {
                it->second = pos;
                return;
            }
            if (!Cover(key)) {
                m_sparse.emplace(key, pos);
                ++m_count;
                return;
            }
            at = static_cast<uint64_t>(key) - m_base;
        }
        m_count += m_dense[at] == kNone;
        m_dense[at] = pos;
    }
    void Erase(UINT key) {
        const uint64_t at = static_cast<uint64_t>(key) - m_base;
        if (at < m_dense.size()) {
            if (m_dense[at] == kNone) return;
            m_dense[at] = kNone;
        } else if (!m_sparse.erase(key)) {
            return;
        }
        --m_count;
    }
    // After the record at pos is removed: the positions beyond it move down one.
    void CloseUp(uint32_t pos) {
        for (auto& p : m_dense)
            if (p != kNone && p > pos) --p;
        for (auto& kv : m_sparse)
            if (kv.second > pos) --kv.second;
    }
    void Clear() {
        std::vector<uint32_t>().swap(m_dense);
        std::unordered_map<UINT, uint32_t>().swap(m_sparse);
        m_base = 0;
        m_count = 0;
    }
    size_t Count() const { return m_count; }
    // Brings the key's dense slot towards the cache ahead of a Find.
    void Prefetch(UINT key) const {
        const uint64_t at = static_cast<uint64_t>(key) - m_base;
        if (at < m_dense.size()) __builtin_prefetch(&m_dense[at]);
    }
    // Keys[i] at position i, whatever their order.
    void Build(const std::vector<UINT>& keys) {
        Clear();
        if (keys.empty()) return;
        const auto [lo, hi] = std::minmax_element(keys.begin(), keys.end());
        if (static_cast<uint64_t>(*hi) - *lo <= 2 * static_cast<uint64_t>(keys.size()) + kSlack) {
            m_base = *lo;
            m_dense.assign(static_cast<size_t>(*hi - *lo) + 1, kNone);
        }
        for (size_t i = 0; i < keys.size(); ++i) Set(keys[i], static_cast<uint32_t>(i));
    }

private:
    // Grows the run over key when it stays dense (by half its length again, for growing one key
    // at a time); false when the key stays outside.
    bool Cover(UINT key) {
        const uint64_t limit = 2 * static_cast<uint64_t>(m_count + 1) + kSlack;
        uint64_t lo = m_dense.empty() ? key : std::min<uint64_t>(m_base, key);
        uint64_t hi = m_dense.empty() ? key : std::max<uint64_t>(m_base + m_dense.size() - 1, key);
        if (hi - lo >= limit) return false;
        const uint64_t extra = m_dense.size() / 2;
        if (key < m_base) lo = lo > extra ? lo - extra : 0;
        else hi = std::min<uint64_t>(hi + extra, 0xFFFFFFFFull);
        std::vector<uint32_t> dense(static_cast<size_t>(hi - lo + 1), kNone);
        // The run so far, where there is one (the first key makes it: m_base is no key yet).
        if (!m_dense.empty())
            std::copy(m_dense.begin(), m_dense.end(), dense.begin() + static_cast<ptrdiff_t>(m_base - lo));
        m_dense.swap(dense);
        m_base = lo;
        for (auto it = m_sparse.begin(); it != m_sparse.end();) {
            const uint64_t at = static_cast<uint64_t>(it->first) - m_base;
            if (at < m_dense.size()) {
                m_dense[at] = it->second;
                it = m_sparse.erase(it);
            } else {
                ++it;
            }
        }
        return true;
    }
    std::vector<uint32_t> m_dense;  // by key - m_base; kNone: no such key
    uint64_t m_base = 0;            // the key of m_dense[0]
    std::unordered_map<UINT, uint32_t> m_sparse;  // keys outside the run
    size_t m_count = 0;
};

// Records by key in the order added, with their index: one load of a result table.
template <class T> struct KeyedRecords {
    std::vector<UINT> keys;
    std::vector<T> recs;  // parallel to keys
    KeyIndex index;       // key -> position
    const T* Find(UINT key) const {
        const uint32_t pos = index.Find(key);
        return pos == KeyIndex::kNone ? nullptr : &recs[pos];
    }
    void Set(UINT key, const T& rec) {
        if (const uint32_t pos = index.Find(key); pos != KeyIndex::kNone) {
            recs[pos] = rec;
            return;
        }
        index.Set(key, static_cast<uint32_t>(keys.size()));
        keys.push_back(key);
        recs.push_back(rec);
    }
};

// A model table: records keyed by UINT in table order.
template <class T> class DBTable : public DBTableBase {
public:
    using DBTableBase::DBTableBase;

    void Clear() override {
        Touch();
        m_keys.clear();
        m_recs.clear();
        m_index.Clear();
        m_orig.clear();
        m_tracking = false;
    }
    size_t Count() const override { return m_keys.size(); }

    const T* Find(UINT key) const {
        const uint32_t pos = m_index.Find(key);
        return pos == KeyIndex::kNone ? nullptr : &m_recs[pos];
    }
    // Adds a record, or replaces the record of an existing key in place (its position stays).
    void Set(UINT key, const T& rec) {
        Touch();
        Remember(key);
        const uint32_t pos = m_index.Find(key);
        if (pos != KeyIndex::kNone) {
            m_recs[pos] = rec;
            return;
        }
        m_index.Set(key, static_cast<uint32_t>(m_keys.size()));
        m_keys.push_back(key);
        m_recs.push_back(rec);
    }
    // Removes the record of a key; the others keep their order. 0 when the key is absent.
    int Remove(UINT key) {
        const uint32_t pos = m_index.Find(key);
        if (pos == KeyIndex::kNone) return 0;
        Remember(key);
        Touch();
        m_keys.erase(m_keys.begin() + pos);
        m_recs.erase(m_recs.begin() + pos);
        m_index.Erase(key);
        m_index.CloseUp(pos);
        return 1;
    }
    void Reserve(size_t n) {
        m_keys.reserve(n);
        m_recs.reserve(n);
    }
    const std::vector<UINT>& Keys() const { return m_keys; }
    const std::vector<T>& Records() const { return m_recs; }

    int Save(sqlite3* db, std::string& err) const override {
        const auto& cols = ColumnsOf<T>();
        if (!Exec(db, CreateSql(m_name, kKeyColumns, cols), err)) return 0;
        return WriteRows(db, InsertSql(m_name, 2, cols), err);
    }

    int Rewrite(sqlite3* db, std::string& err) const override {
        const auto& cols = ColumnsOf<T>();
        if (!Exec(db, CreateIfAbsentSql(m_name, kKeyColumns, cols), err) || !Exec(db, DeleteAllSql(m_name), err)) return 0;
        return WriteRows(db, InsertNamedSql(m_name, "key, seq", cols), err);
    }

    int Merge(sqlite3* db, EMergeRule rule, std::vector<std::pair<UINT, UINT>>& moved, std::string& err) const override;
    void Merged(const std::vector<std::pair<UINT, UINT>>& moved) override {
        for (const auto& [from, to] : moved)
            if (const T* p = Find(from)) {
                const T rec = *p;
                Remove(from);
                Set(to, rec);
            }
        m_orig.clear();
    }
    void TrackEdits(bool on) override {
        m_tracking = on;
        m_orig.clear();
    }

    // Inserts every record with the statement sql (key, seq, then the fields).
    int WriteRows(sqlite3* db, const std::string& sql, std::string& err) const {
        void* st = Prepare(db, sql, err);
        if (!st) return 0;
        // Ascending key order makes the inserts append to the b-tree.
        std::vector<uint32_t> order(m_keys.size());
        bool sorted = true;
        for (size_t i = 0; i < order.size(); ++i) {
            order[i] = static_cast<uint32_t>(i);
            if (i && m_keys[i] < m_keys[i - 1]) sorted = false;
        }
        if (!sorted) SortByKey(order);
        for (uint32_t i : order) {
            BindInt64(st, 1, m_keys[i]);
            BindInt64(st, 2, i);
            T rec = m_recs[i];
            BindVisitor b(st, 3);
            rec.Fields(b);
            if (!b.Ok() || !StepDone(st)) {
                err = std::string("cannot write table ") + m_name + ": " + DbMessage(db);
                Finalize(st);
                return 0;
            }
            Reset(st);
        }
        Finalize(st);
        return 1;
    }

    int Load(sqlite3* db, const std::string& file, std::string& err) override {
        Clear();
        const auto& cols = ColumnsOf<T>();
        const int layout = CheckColumns(db, file, m_name, cols, "key,seq", err);
        if (layout < 0) return 1;
        if (!layout) return 0;
        void* st = Prepare(db, SelectSql(m_name, "key, seq", "key", cols), err);
        if (!st) {
            err = file + ": table " + m_name + ": " + err;
            return 0;
        }
        std::vector<long long> seqs;
        bool inOrder = true;
        int rc;
        while ((rc = StepRow(st)) == 1) {
            // A key column not declared as the row id may hold anything: only whole numbers
            // are keys, and rows come in key order, so a repeated key follows its first row.
            if (!ColumnIsInteger(st, 0)) {
                err = file + ": table " + std::string(m_name) + ", column key, key " + ColumnValueText(st, 0) +
                      ": a key must be a whole number";
                break;
            }
            long long key = ColumnInt64(st, 0);
            long long seq = ColumnInt64(st, 1);
            if (key < 1 || key > 0xffffffffLL) {
                err = file + ": table " + std::string(m_name) + ", column key, key " + std::to_string(key) +
                      ": keys run from 1 to 4294967295";
                break;
            }
            if (!m_keys.empty() && static_cast<UINT>(key) == m_keys.back()) {
                err = file + ": table " + std::string(m_name) + ", column key, key " + std::to_string(key) +
                      ": the key is used by more than one row";
                break;
            }
            if (!ColumnIsInteger(st, 1)) {
                err = file + ": table " + std::string(m_name) + ", column seq, key " + std::to_string(key) + ": not an integer";
                break;
            }
            if (seq < INT32_MIN || seq > INT32_MAX) {
                err = file + ": table " + std::string(m_name) + ", column seq, key " + std::to_string(key) + ": " +
                      std::to_string(seq) + " does not fit in 32 bits";
                break;
            }
            T rec;
            rec.Initialize();
            ReadVisitor r(st, 2, file, m_name, key);
            ReadRecord(rec, r, st, 2, false);
            if (!r.Ok()) {
                err = r.Error();
                break;
            }
            if (!seqs.empty() && seq <= seqs.back()) inOrder = false;
            seqs.push_back(seq);
            m_keys.push_back(static_cast<UINT>(key));
            m_recs.push_back(std::move(rec));
        }
        if (rc < 0 && err.empty()) err = file + ": table " + std::string(m_name) + ": " + DbMessage(db);
        Finalize(st);
        if (!err.empty()) {
            Clear();
            return 0;
        }
        if (!inOrder && !RestoreOrder(seqs, file, err)) {
            Clear();
            return 0;
        }
        m_index.Build(m_keys);
        return 1;
    }

private:
    static constexpr const char* kKeyColumns = "key INTEGER PRIMARY KEY, seq INTEGER NOT NULL";
    void SortByKey(std::vector<uint32_t>& order) const;
    int RestoreOrder(const std::vector<long long>& seqs, const std::string& file, std::string& err);

    // The record of key as read, before its first edit (none: the key was absent).
    void Remember(UINT key) {
        if (!m_tracking || m_orig.count(key)) return;
        const T* p = Find(key);
        m_orig.emplace(key, p ? std::make_unique<T>(*p) : nullptr);
    }

    std::vector<UINT> m_keys;                       // table order
    std::vector<T> m_recs;                          // parallel to m_keys
    KeyIndex m_index;                               // key -> position
    bool m_tracking = false;
    std::unordered_map<UINT, std::unique_ptr<T>> m_orig;  // edited keys -> record as read
};

// Result records keyed by (load case or mode, object key), load by load: each load's records
// in one array in key order as read, indexed by key (KeyedRecords). A load's records are shared
// with whoever asked for them whole (RecordsOf) and copied before the table changes them.
template <class T> class DBResultTable : public DBTableBase {
public:
    using DBTableBase::DBTableBase;
    using LoadRecords = KeyedRecords<T>;
    static uint64_t Id(UINT lc, UINT key) { return (static_cast<uint64_t>(lc) << 32) | key; }

    void Clear() override {
        Touch();
        m_loads.clear();
        m_count = 0;
        m_loadsRead.clear();
        m_lastLoad.store(0);
    }
    size_t Count() const override {
        ReadIfPending();
        return m_count;
    }
    // Reads only the load's rows of a table still in the file. A table partly read is meant
    // for one thread at a time: the reads themselves are serialised, lookups are not.
    const T* Find(UINT lc, UINT key) const {
        ReadLoadIfPending(lc);
        auto it = m_loads.find(lc);
        return it == m_loads.end() ? nullptr : it->second->Find(key);
    }
    // Every record of load lc (read first from a table still in the file); null when it has
    // none. The records stay as they are while held, whatever the table does meanwhile.
    std::shared_ptr<const LoadRecords> RecordsOf(UINT lc) const {
        ReadLoadIfPending(lc);
        auto it = m_loads.find(lc);
        return it == m_loads.end() ? nullptr : it->second;
    }
    // Lets go of the records of load lc read from a table still in its file (they are read
    // again when next looked up); nothing for a table read whole or filled in code.
    void ForgetLoad(UINT lc) {
        if (!Pending() || !m_loadsRead.count(lc)) return;
        if (auto it = m_loads.find(lc); it != m_loads.end()) {
            m_count -= it->second->keys.size();
            m_loads.erase(it);
        }
        m_loadsRead.erase(lc);
        m_lastLoad.store(0);
        Touch();
    }
    void Set(UINT lc, UINT key, const T& rec) {
        ReadIfPending();
        Touch();
        std::shared_ptr<LoadRecords>& load = m_loads[lc];
        if (!load) load = std::make_shared<LoadRecords>();
        else if (load.use_count() > 1) load = std::make_shared<LoadRecords>(*load);  // held by a reader
        const size_t n = load->keys.size();
        load->Set(key, rec);
        m_count += load->keys.size() - n;
    }

    // Every record with its Id(lc, key), load by load in ascending load order, each load's in
    // the order read (ascending keys) or set: `for (const auto& kv : t.Records())` gives
    // kv.first the id and kv.second the record.
    class Range {
    public:
        using Loads = std::map<UINT, std::shared_ptr<LoadRecords>>;
        class iterator {
        public:
            iterator(typename Loads::const_iterator at, typename Loads::const_iterator end) : m_at(at), m_end(end) { Skip(); }
            std::pair<uint64_t, const T&> operator*() const {
                return {Id(m_at->first, m_at->second->keys[m_pos]), m_at->second->recs[m_pos]};
            }
            iterator& operator++() {
                ++m_pos;
                Skip();
                return *this;
            }
            bool operator!=(const iterator& o) const { return m_at != o.m_at || m_pos != o.m_pos; }

        private:
            void Skip() {
                while (m_at != m_end && m_pos >= m_at->second->keys.size()) {
                    ++m_at;
                    m_pos = 0;
                }
            }
            typename Loads::const_iterator m_at, m_end;
            size_t m_pos = 0;
        };
        Range(const Loads& loads, size_t count) : m_loads(loads), m_count(count) {}
        iterator begin() const { return iterator(m_loads.begin(), m_loads.end()); }
        iterator end() const { return iterator(m_loads.end(), m_loads.end()); }
        size_t size() const { return m_count; }

    private:
        const Loads& m_loads;
        size_t m_count;
    };
    Range Records() const {
        ReadIfPending();
        return Range(m_loads, m_count);
    }

    // The loads of `loads`, in that order, that have a record for at least one key of `keys`,
    // each load asked through its index. A table still in its
    // file answers from the result ids of each load alone, without reading the records.
    std::vector<UINT> LoadsWithAnyOf(const std::vector<UINT>& loads, const std::vector<UINT>& keys) const {
        std::vector<UINT> out;
        if (PendingReader* r = Pending()) {
            const std::unordered_set<UINT> keySet(keys.begin(), keys.end());
            for (UINT lc : loads)
                if (r->AnyIdIn(*this, Id(lc, 0), Id(lc, 0xffffffffu), keySet)) out.push_back(lc);
            return out;
        }
        for (UINT lc : loads) {
            auto it = m_loads.find(lc);
            if (it != m_loads.end() &&
                std::any_of(keys.begin(), keys.end(), [&](UINT k) { return it->second->Find(k) != nullptr; }))
                out.push_back(lc);
        }
        return out;
    }

    int Save(sqlite3* db, std::string& err) const override;
    int Load(sqlite3* db, const std::string& file, std::string& err) override;
    int LoadPart(sqlite3* db, const std::string& file, const UINT* pLoad, std::string& err,
                 SideReaders* pSide = nullptr) override;
    bool HasLoad(UINT lc) const override { return m_loadsRead.count(lc) != 0; }
    int CheckLayout(sqlite3* db, const std::string& file, std::string& err) const override {
        const int layout = CheckColumns(db, file, m_name, ColumnsOf<T>(), "id", err);
        return layout > 0 ? CheckIdsWhole(db, file, m_name, err) : layout;
    }

private:
    void ReadLoadIfPending(UINT lc) const {
        if (PendingReader* r = Pending())
            if (m_lastLoad.load() != lc + 1ULL) {
                r->ReadLoad(const_cast<DBResultTable&>(*this), lc);
                m_lastLoad.store(lc + 1ULL);
            }
    }

    using Loads = std::map<UINT, std::shared_ptr<LoadRecords>>;
    // The rows of st into added: 1, 0 with err for a row that is not sound, -1 with err when the
    // database could not be read.
    int ReadRows(void* st, sqlite3* db, const std::string& file, bool bSkipRead, Loads& added, std::string& err) const;
    // The rows of one load read in parts, part 0 on db and the others on pSide's connections:
    // what ReadRows would give for the whole range.
    int ReadRowsInParts(sqlite3* db, const std::string& file, UINT lc, SideReaders& side, Loads& added,
                        std::string& err) const;

    std::map<UINT, std::shared_ptr<LoadRecords>> m_loads;
    size_t m_count = 0;                            // records of all loads
    std::unordered_set<UINT> m_loadsRead;          // loads read while the rest is in the file
    mutable std::atomic<uint64_t> m_lastLoad{0};  // 1 + the load Find last made sure of
};

}  // namespace pvxdb

#include "host/db/DBTable.inl"
