// Opening and saving the post database file.
#include "host/db/CDataBase.h"
#include "host/db/CDataBaseTables.h"
#include "host/db/FoundationCheck.h"

#include <sqlite3.h>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/afx/OutputFiles.h"
#include "platform/afx/WorkCrew.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char* const CDataBase::m_szFormat = "PVX post database";
const int CDataBase::m_nVersion = 1;

CDataBase::CDataBase() : m_b3D(TRUE), m_bFloor(FALSE) {
    pvxdb::MakeTables<0>(m_tables);
    pvxdb::MakeTables<1>(m_tables);
    pvxdb::MakeTables<2>(m_tables);
}

namespace pvxdb {
// A private copy of a project and its -wal file, for a WAL project SQLite cannot read where it
// lies (a read-only folder without its -shm file); removed with the last connection to it.
struct ScratchCopy {
    std::string folder;  // empty when none
    std::string file;    // the copy of the project
    ScratchCopy() = default;
    ScratchCopy(const ScratchCopy&) = delete;
    ScratchCopy& operator=(const ScratchCopy&) = delete;
    ~ScratchCopy() {
        if (folder.empty()) return;
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) unlink((file + suffix).c_str());
        rmdir(folder.c_str());
    }
};
}  // namespace pvxdb

namespace {
std::atomic<int> g_partReaders{-1};  // SetPartReaders
}  // namespace

// How long a connection waits for another program's lock before it gives up, in ms.
constexpr int kBusyTimeoutMs = 10000;

// Whether the last call on db failed because another connection held its lock past the wait.
bool IsBusy(sqlite3* db) { return db && (sqlite3_extended_errcode(db) & 0xff) == SQLITE_BUSY; }

// What to tell when another program kept the project locked past the wait: it is writing it.
std::string LockedMessage(const std::string& path, const std::string& what) {
    return path + ": another program is writing the project and kept it locked for " +
           std::to_string(kBusyTimeoutMs / 1000) + " s; " + what + ": try again when it is done";
}

// The project file kept open read-only for the result tables not read yet. One lock serialises
// the reads of every thread; a table read by another thread meanwhile is not read again.
// From the second load on, a load's rows are read in parts on further connections at once
// (opened then, kept). They see the file as the first connection does because it holds its read
// lock while they read, so no save can end meanwhile, and they wait for no lock: a part they
// cannot read is read on the first connection. In WAL mode a save ends while others read, so
// there the first connection reads alone.
class CDataBase::PendingFile : public pvxdb::PendingReader, public pvxdb::SideReaders {
public:
    PendingFile(sqlite3* db, std::string path, std::unique_ptr<pvxdb::ScratchCopy> scratch,
                std::function<sqlite3*()> openSide)
        : m_db(db), m_path(std::move(path)), m_scratch(std::move(scratch)), m_openSide(std::move(openSide)) {
        bool bWal = true;  // unless the file says otherwise
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, "PRAGMA journal_mode", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
            const unsigned char* mode = sqlite3_column_text(st, 0);
            bWal = !mode || strcmp(reinterpret_cast<const char*>(mode), "wal") == 0;
        }
        sqlite3_finalize(st);
        constexpr int kMaxSides = 7;
        const int nSides = g_partReaders.load() >= 0 ? g_partReaders.load() : WorkThreads() - 1;
        if (m_openSide && !bWal) m_sides.resize(static_cast<size_t>(std::clamp(nSides, 0, kMaxSides)));
    }
    ~PendingFile() override {
        for (Side& s : m_sides) sqlite3_close_v2(s.db);
        sqlite3_close_v2(m_db);
        m_scratch.reset();
    }

    int Count() const override { return static_cast<int>(m_sides.size()); }
    sqlite3* Begin(int i) override {
        Side& s = m_sides[static_cast<size_t>(i)];
        if (!s.db && !s.bFailed) s.bFailed = !(s.db = m_openSide());
        std::string ignored;
        if (!s.db || !pvxdb::Exec(s.db, "BEGIN", ignored)) return nullptr;
        ++m_nSideReads;
        return s.db;
    }
    int SideReads() const { return m_nSideReads.load(); }
    void End(int i) override {
        std::string ignored;
        pvxdb::Exec(m_sides[static_cast<size_t>(i)].db, "COMMIT", ignored);
    }

    void Read(pvxdb::DBTableBase& t) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!t.IsPending()) return;
        ReadPart(t, nullptr);
        // The records are complete before other threads stop waiting for them.
        t.SetPendingReader(nullptr);
    }

    void ReadLoad(pvxdb::DBTableBase& t, UINT lc) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (t.IsPending() && !t.HasLoad(lc)) ReadPart(t, &lc);
    }
    bool AnyIdIn(const pvxdb::DBTableBase& t, uint64_t lo, uint64_t hi, const std::unordered_set<UINT>& keys) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::string err;
        void* st = pvxdb::Prepare(m_db, std::string("SELECT id FROM \"") + t.Name() + "\" WHERE id BETWEEN ?1 AND ?2", err);
        if (!st) return false;
        pvxdb::BindInt64(st, 1, static_cast<long long>(lo));
        pvxdb::BindInt64(st, 2, static_cast<long long>(hi));
        bool found = false;
        while (!found && pvxdb::StepRow(st) == 1)
            found = keys.count(static_cast<UINT>(static_cast<uint64_t>(pvxdb::ColumnInt64(st, 0)) & 0xffffffffu)) != 0;
        pvxdb::Finalize(st);
        return found;
    }

    // One read transaction per call: its rows come from one state of the file. A damaged table
    // is emptied and read no more.
    void ReadPart(pvxdb::DBTableBase& t, const UINT* pLoad) {
        std::string err;
        int ok = pvxdb::Exec(m_db, "BEGIN", err);
        // Further connections cost more to open than they save on one load: a command that
        // reads one load reads it alone, and they are opened once a second load is asked for.
        if (pLoad && !m_bSecondLoad) {
            if (!m_firstLoad) m_firstLoad = *pLoad;
            m_bSecondLoad = *m_firstLoad != *pLoad;
        }
        if (ok) ok = t.LoadPart(m_db, m_path, pLoad, err, pLoad && m_bSecondLoad ? this : nullptr);
        else err = m_path + ": cannot read the project database: " + err;
        if (!ok && IsBusy(m_db)) err = LockedMessage(m_path, std::string("table ") + t.Name() + " was not read");
        std::string ignored;
        pvxdb::Exec(m_db, "COMMIT", ignored);
        if (ok) return;
        t.Clear();
        t.SetPendingReader(nullptr);
        m_errors.push_back(err);
        AfxDiagnostic("database", "%s", err.c_str());
    }

    std::vector<std::string> Errors() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_errors;
    }

private:
    sqlite3* m_db;
    std::string m_path;
    std::unique_ptr<pvxdb::ScratchCopy> m_scratch;  // the copy m_db reads, if any
    std::function<sqlite3*()> m_openSide;           // a further connection, or null
    struct Side {
        sqlite3* db = nullptr;
        bool bFailed = false;  // not opened, and not tried again
    };
    std::vector<Side> m_sides;
    std::atomic<int> m_nSideReads{0};  // parts read on the further connections
    std::optional<UINT> m_firstLoad;  // the first load read from the file, of any table
    bool m_bSecondLoad = false;        // another load asked for since
    std::mutex m_mutex;
    std::vector<std::string> m_errors;
};

CDataBase::~CDataBase() { ClosePending(); }

void CDataBase::SetPartReaders(int n) { g_partReaders.store(n); }

int CDataBase::GetPartReads() const { return m_pending ? m_pending->SideReads() : 0; }

void CDataBase::KeepReadErrors() {
    if (m_pending) m_readErrors = m_pending->Errors();
    ClosePending();
}

void CDataBase::ClosePending() {
    for (auto& t : m_tables)
        if (t) t->SetPendingReader(nullptr);
    m_pending.reset();
}

void CDataBase::ReadPendingTables() {
    for (auto& t : m_tables)
        if (t) t->ReadIfPending();
}

std::vector<std::string> CDataBase::GetReadErrors() const {
    return m_pending ? m_pending->Errors() : m_readErrors;
}

void CDataBase::Clear() {
    ClosePending();
    m_readErrors.clear();
    for (auto& t : m_tables)
        if (t) t->Clear();
    m_warnings.clear();
    m_b3D = TRUE;
    m_bFloor = FALSE;
}

unsigned long long CDataBase::GetModelVersion() const {
    unsigned long long v = 0;
    for (int id = 0; id < DBT_MODEL_COUNT; ++id) v = std::max(v, m_tables[id]->Version());
    return v;
}

UINT CDataBase::GetMembKeyOfElem(UINT elemKey) {
    auto& t = Table<DBT_PMEMB>();
    if (m_membOfElem.version != t.Version()) {
        m_membOfElem.map.clear();
        const auto& keys = t.Keys();
        const auto& recs = t.Records();
        for (size_t i = 0; i < keys.size(); ++i)
            for (INT_PTR j = 0; j < recs[i].aElem.GetSize(); ++j) m_membOfElem.map.emplace(recs[i].aElem[j], keys[i]);
        m_membOfElem.version = t.Version();
    }
    auto it = m_membOfElem.map.find(elemKey);
    return it == m_membOfElem.map.end() ? 0 : it->second;
}

namespace {
unsigned long long PairKey(UINT a, UINT b) { return (static_cast<unsigned long long>(a) << 32) | b; }

// Row key of the record of table t whose (seKey, r.*member) is (seKey, key); the index is
// rebuilt when the table has changed since it was made.
template <class Index, class Tab, class Rec>
UINT FindSERow(Index& index, const Tab& t, UINT Rec::*member, UINT seKey, UINT key) {
    if (index.version != t.Version()) {
        index.map.clear();
        for (size_t i = 0; i < t.Keys().size(); ++i) {
            const Rec& r = t.Records()[i];
            index.map.emplace(PairKey(r.seKey, r.*member), t.Keys()[i]);
        }
        index.version = t.Version();
    }
    auto it = index.map.find(PairKey(seKey, key));
    return it == index.map.end() ? 0 : it->second;
}
}  // namespace

UINT CDataBase::GetNodeSERow(UINT seKey, UINT nodeKey) {
    return FindSERow(m_nodeSE, Table<DBT_PNODESE>(), &T_PNODESE_D::nodeKey, seKey, nodeKey);
}

UINT CDataBase::GetElemSERow(UINT seKey, UINT elemKey) {
    return FindSERow(m_elemSE, Table<DBT_PELEMSE>(), &T_PELEMSE_D::elemKey, seKey, elemKey);
}

const std::vector<UINT>& CDataBase::GetElemsEndingAt(UINT nodeKey) {
    static const std::vector<UINT> none;
    auto& t = Table<DBT_PELEM>();
    if (m_endNodeVersion != t.Version()) {
        m_elemsEndingAt.clear();
        for (size_t i = 0; i < t.Keys().size(); ++i) {
            const T_PELEM_D& e = t.Records()[i];
            if (e.nNode > 0 && e.nNode <= PELEM_MAX_NODE) m_elemsEndingAt[e.node[e.nNode - 1]].push_back(t.Keys()[i]);
        }
        m_endNodeVersion = t.Version();
    }
    auto it = m_elemsEndingAt.find(nodeKey);
    return it == m_elemsEndingAt.end() ? none : it->second;
}

void CDataBase::DropRepeatedMemberElems(const std::string& path) {
    const size_t kMaxMemberWarnings = 10;  // then one line for the rest
    auto& t = Table<DBT_PMEMB>();
    std::vector<std::pair<UINT, T_PMEMB_D>> changed;
    std::unordered_map<UINT, int> seen;
    for (size_t i = 0; i < t.Keys().size(); ++i) {
        const T_PMEMB_D& m = t.Records()[i];
        INT_PTR n = m.aElem.GetSize();
        seen.clear();
        bool repeated = false;
        for (INT_PTR j = 0; j < n; ++j)
            if (++seen[m.aElem[j]] > 1) repeated = true;
        if (!repeated) continue;
        T_PMEMB_D fixed = m;
        fixed.aElem.RemoveAll();
        std::string which;
        int nRepeated = 0;
        for (INT_PTR j = 0; j < n; ++j) {
            int& count = seen[m.aElem[j]];
            if (count == 0) continue;  // taken at its first place
            fixed.aElem.Add(m.aElem[j]);
            if (count > 1 && nRepeated++ < 3)
                which += (which.empty() ? "element " : ", element ") + std::to_string(m.aElem[j]) + " " +
                         std::to_string(count) + " times";
            count = 0;
        }
        if (nRepeated > 3) which += " and " + std::to_string(nRepeated - 3) + " more elements more than once";
        if (changed.size() < kMaxMemberWarnings)
            m_warnings.push_back(path + ": table PMEMB, column elems, key " + std::to_string(t.Keys()[i]) + ": lists " +
                                 which + "; each element is kept once, at its first place");
        changed.emplace_back(t.Keys()[i], std::move(fixed));
    }
    if (changed.size() > kMaxMemberWarnings)
        m_warnings.push_back(path + ": table PMEMB, column elems: " + std::to_string(changed.size() - kMaxMemberWarnings) +
                             " more members list an element more than once; each element is kept once");
    for (auto& kv : changed) t.Set(kv.first, kv.second);
}

int CDataBase::Fail(const std::string& msg) {
    m_strError = msg.c_str();
    return 0;
}

namespace {

// Closes the connection on every path out of Open and Save. Each connection lives inside
// one call on one thread, so it is opened without SQLite's per-call locking.
struct Connection {
    sqlite3* db = nullptr;
    ~Connection() {
        if (db) sqlite3_close_v2(db);
    }
};

std::atomic<CDataBase::PFN_PROGRESS> g_progress{nullptr};

// SQLite calls this every kProgressOps virtual-machine steps of a statement.
constexpr int kProgressOps = 20000;

// Reading: pages fetched from the file so far out of the file's pages (a table is scanned
// once, so each page is fetched about once).
struct ReadProgress {
    sqlite3* db;
    double pages;
    static int Tick(void* p) {
        auto* self = static_cast<ReadProgress*>(p);
        int cur = 0, high = 0;
        if (CDataBase::PFN_PROGRESS h = g_progress.load())
            if (sqlite3_db_status(self->db, SQLITE_DBSTATUS_CACHE_MISS, &cur, &high, 0) == SQLITE_OK)
                h(std::min(1.0, cur / self->pages));
        return 0;
    }
};

// Writing: rows inserted so far out of the rows to write.
struct WriteProgress {
    sqlite3* db;
    double rows;
    static int Tick(void* p) {
        auto* self = static_cast<WriteProgress*>(p);
        if (CDataBase::PFN_PROGRESS h = g_progress.load())
            h(std::min(1.0, static_cast<double>(sqlite3_total_changes64(self->db)) / self->rows));
        return 0;
    }
};

// Pages of the open database; 0 when unknown.
long long PageCount(sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    long long n = 0;
    if (sqlite3_prepare_v2(db, "PRAGMA page_count", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return n;
}

// Checks what can be told from the file's first page before SQLite reads it: that it is an
// SQLite file at all, and that it is as long as its header says.
int CheckFileHead(const std::string& path, unsigned long long& fileSize, std::string& err) {
    struct stat sb;
    if (stat(path.c_str(), &sb) != 0) {
        err = path + ": cannot open the project file: " + strerror(errno);
        return 0;
    }
    if (!S_ISREG(sb.st_mode)) {
        err = path + ": not a project file (not a regular file)";
        return 0;
    }
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) {
        err = path + ": cannot open the project file: " + strerror(errno);
        return 0;
    }
    unsigned char head[100];
    size_t n = fread(head, 1, sizeof(head), f);
    fclose(f);
    if (n < sizeof(head) || memcmp(head, "SQLite format 3", 16) != 0) {
        err = path + ": not a project database (the file is not an SQLite database)";
        return 0;
    }
    unsigned pageSize = (static_cast<unsigned>(head[16]) << 8) | head[17];
    if (pageSize == 1) pageSize = 65536;
    unsigned long long pages = (static_cast<unsigned long long>(head[28]) << 24) | (head[29] << 16) | (head[30] << 8) | head[31];
    bool countValid = memcmp(head + 24, head + 92, 4) == 0 && pages != 0;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) {
        err = path + ": the project database is corrupt (bad page size)";
        return 0;
    }
    fileSize = static_cast<unsigned long long>(sb.st_size);
    const unsigned long long size = fileSize;
    if (countValid && size < pages * pageSize) {
        err = path + ": the project database is truncated (" + std::to_string(size) + " bytes, its header counts " +
              std::to_string(pages * pageSize) + ")";
        return 0;
    }
    if (size % pageSize != 0) {
        // Longer than its pages: something was written after the database's end.
        if (countValid && size > pages * pageSize)
            err = path + ": the project database has " + std::to_string(size - pages * pageSize) +
                  " bytes appended after its last page (" + std::to_string(pages * pageSize) +
                  " bytes); remove them or restore the file";
        else
            err = path + ": the project database is truncated (" + std::to_string(size) + " bytes, not a whole number of " +
                  std::to_string(pageSize) + "-byte pages)";
        return 0;
    }
    return 1;
}

bool FileExists(const std::string& path) {
    struct stat sb;
    return lstat(path.c_str(), &sb) == 0;
}

bool NonEmptyFile(const std::string& path) {
    struct stat sb;
    return stat(path.c_str(), &sb) == 0 && sb.st_size > 0;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Whether this process may write the file and make files in its folder (SQLite's journal, or
// a WAL project's -wal and -shm files).
bool Writable(const std::string& path) {
    return access(path.c_str(), W_OK) == 0 && access(FolderOf(path).c_str(), W_OK | X_OK) == 0;
}


// Opens the project at uri for reading, as every connection of ours reads it; false with db
// left open for its message on failure.
bool Connect(const std::string& uri, bool bReadWrite, unsigned long long fileSize, int busyMs, sqlite3*& db) {
    if (sqlite3_open_v2(uri.c_str(), &db,
                        (bReadWrite ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK)
        return false;
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyMs);
    // The file is data, not code: its schema may not call functions with side effects, and no
    // value may be larger than the file itself (a column default could otherwise make one).
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    const unsigned long long kLengthSlack = 1 << 20;
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH,
                  static_cast<int>(std::min<unsigned long long>(fileSize + kLengthSlack, sqlite3_limit(db, SQLITE_LIMIT_LENGTH, -1))));
    return true;
}

// What to tell a user who cannot write the project about the journal of a stopped save.
std::string JournalAdvice(const std::string& path) {
    return path + ": a save that was stopped left its journal \"" + path +
           "-journal\" beside the project, and this user cannot write the project or its folder to roll "
           "that save back: run  sqlite3 '" + path + "' 'PRAGMA integrity_check'  as a user who can write both "
           "(SQLite then restores the project as it was before that save)";
}

// A save killed midway leaves a hot journal: the file may hold part of the new pages until the
// journal is played back. SQLite plays it back on the first read of a connection that may
// write, so a project the user can write is read once that way before anything else.
int RollBackStoppedSave(const std::string& path, std::string& err) {
    if (!NonEmptyFile(path + "-journal") || !Writable(path)) return 1;
    Connection c;
    std::string ignored;
    if (sqlite3_open_v2(path.c_str(), &c.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK ||
        sqlite3_busy_timeout(c.db, kBusyTimeoutMs) != SQLITE_OK ||
        !pvxdb::Exec(c.db, "SELECT count(*) FROM sqlite_schema", err)) {
        if (err.empty()) err = pvxdb::DbMessage(c.db);
        // A file that is no database at all is told apart by the checks that follow.
        if (sqlite3_errcode(c.db) == SQLITE_NOTADB) return 1;
        // A locked project's journal is the save in progress of the program holding the lock.
        if (IsBusy(c.db))
            err = LockedMessage(path, "its journal \"" + path + "-journal\" is that program's save in progress; nothing was read");
        else
            err = path + ": cannot roll back the stopped save recorded in \"" + path + "-journal\": " + err;
        return 0;
    }
    return 1;
}

// How a project is opened for reading (the rules docs/DATABASE.md gives):
// - a file the user can write, in a folder they can write, is opened as any SQLite client
//   opens it, with its locks and a busy timeout: a reader waits for a save in progress and then
//   reads the committed state, and a WAL project's -wal and -shm are removed by SQLite when
//   the last connection closes. Nothing is written through this connection.
// - otherwise read-only, with locks and a busy timeout; nothing is made beside the file.
// - a WAL project in a folder the user cannot write that has no -shm file (no connection is
//   using it, so no program is writing it) cannot be read in place with locks: immutable (no
//   locks, no -shm) when its -wal file is empty or absent, else from a private copy of the
//   project and its -wal file.
std::string UriOf(const std::string& path) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string uri = path[0] == '/' ? "file://" : "file:";
    for (unsigned char c : path) {
        if (isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_' || c == '~' || c >= 0x80) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

bool CopyFile(const std::string& from, const std::string& to) {
    FILE* in = fopen(from.c_str(), "rb");
    if (!in) return false;
    FILE* out = fopen(to.c_str(), "wb");
    bool ok = out != nullptr;
    char buf[1 << 16];
    size_t n;
    while (ok && (n = fread(buf, 1, sizeof buf, in)) > 0) ok = fwrite(buf, 1, n, out) == n;
    ok = ok && !ferror(in);
    fclose(in);
    if (out && fclose(out) != 0) ok = false;
    return ok;
}

std::string ReadUri(const std::string& path, bool& bReadWrite, std::unique_ptr<pvxdb::ScratchCopy>& scratch,
                    std::string& err) {
    std::string uri = UriOf(path);
    bReadWrite = Writable(path);
    if (bReadWrite) return uri + "?mode=rw";
    uri += "?mode=ro";
    unsigned char head[20] = {};
    if (FILE* f = fopen(path.c_str(), "rb")) {
        if (fread(head, 1, sizeof head, f) != sizeof head) head[18] = 0;
        fclose(f);
    }
    const bool wal = head[18] == 2;
    if (wal && !FileExists(path + "-shm") && access(FolderOf(path).c_str(), W_OK | X_OK) != 0) {
        if (NonEmptyFile(path + "-wal")) {
            // SQLite reads the -wal file only with a -shm file beside it, which cannot be made
            // here: the two files are read from a private copy instead.
            const char* tmp = getenv("TMPDIR");
            std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/pvxwal.XXXXXX";
            auto copy = std::make_unique<pvxdb::ScratchCopy>();
            if (mkdtemp(folder.data())) {
                copy->folder = folder;
                copy->file = folder + "/project.pvxdb";
                if (CopyFile(path, copy->file) && CopyFile(path + "-wal", copy->file + "-wal")) {
                    scratch = std::move(copy);
                    bReadWrite = true;
                    return UriOf(scratch->file) + "?mode=rw";
                }
            }
            err = path + ": the project is in WAL mode and its \"" + path +
                  "-wal\" file holds changes, but its folder is read-only and no copy could be made to read them: "
                  "copy the project together with its -wal file to a folder you can write, or run  sqlite3 '" + path +
                  "' 'PRAGMA wal_checkpoint(TRUNCATE)'  as a user who can write the folder";
            return "";
        }
        uri += "&immutable=1";
    }
    return uri;
}

// The system's SQLite file layer, but for names of open descriptors (/proc/self/fd/N): such a
// name is kept as it is (SQLite would follow the link and open the file's name, which another
// program may have replaced meanwhile), and opening it duplicates descriptor N (SQLite opens
// with O_NOFOLLOW, which the link refuses). Other names open as before.
constexpr char kFdPrefix[] = "/proc/self/fd/";
sqlite3_vfs* g_pSystemVfs = nullptr;
sqlite3_syscall_ptr g_pSystemOpen = nullptr;

// The descriptor a /proc/self/fd/N name gives, or -1.
int DescriptorOfName(const char* name) {
    if (std::strncmp(name, kFdPrefix, sizeof kFdPrefix - 1) != 0) return -1;
    char* end = nullptr;
    const long fd = std::strtol(name + sizeof kFdPrefix - 1, &end, 10);
    return end && *end == 0 && fd >= 0 && fd <= INT_MAX ? static_cast<int>(fd) : -1;
}

int OpenOfFd(const char* name, int flags, int mode) {
    const int fd = DescriptorOfName(name);
    if (fd >= 0) return fcntl(fd, F_DUPFD_CLOEXEC, 0);
    return reinterpret_cast<int (*)(const char*, int, int)>(g_pSystemOpen)(name, flags, mode);
}

int FullPathnameOfFd(sqlite3_vfs*, const char* name, int n, char* out) {
    if (DescriptorOfName(name) < 0) return g_pSystemVfs->xFullPathname(g_pSystemVfs, name, n, out);
    if (static_cast<int>(std::strlen(name)) >= n) return SQLITE_CANTOPEN;
    std::strcpy(out, name);
    return SQLITE_OK;
}

// The name of that file layer; null where SQLite's own cannot be changed so.
const char* DescriptorVfs() {
    static const char* const name = [] {
        static sqlite3_vfs vfs{};
        g_pSystemVfs = sqlite3_vfs_find(nullptr);
        if (!g_pSystemVfs || g_pSystemVfs->iVersion < 3 || !g_pSystemVfs->xSetSystemCall) return static_cast<const char*>(nullptr);
        g_pSystemOpen = g_pSystemVfs->xGetSystemCall(g_pSystemVfs, "open");
        if (!g_pSystemOpen || g_pSystemVfs->xSetSystemCall(g_pSystemVfs, "open", reinterpret_cast<sqlite3_syscall_ptr>(OpenOfFd)) != SQLITE_OK)
            return static_cast<const char*>(nullptr);
        vfs = *g_pSystemVfs;  // its own data (the file layer's lock styles) kept
        vfs.zName = "pvx-descriptor";
        vfs.pNext = nullptr;
        vfs.xFullPathname = FullPathnameOfFd;
        return sqlite3_vfs_register(&vfs, 0) == SQLITE_OK ? vfs.zName : nullptr;
    }();
    return name;
}

}  // namespace

int CDataBase::Open(LPCTSTR pszPath) {
    Clear();
    m_strError.Empty();
    m_strPath.Empty();
    std::string path = pszPath ? pszPath : "";
    if (path.empty()) return Fail("no project file given");
    std::string err;
    if (!RollBackStoppedSave(path, err)) return Fail(err);
    unsigned long long fileSize = 0;
    if (!CheckFileHead(path, fileSize, err)) return Fail(err);

    bool bReadWrite = false;
    std::unique_ptr<pvxdb::ScratchCopy> scratch;
    const std::string uri = ReadUri(path, bReadWrite, scratch, err);
    if (uri.empty()) return Fail(err);
    Connection c;
    if (!Connect(uri, bReadWrite, fileSize, kBusyTimeoutMs, c.db))
        return Fail(path + ": cannot open the project database: " + pvxdb::DbMessage(c.db));
    // A read that waited past the lock of a program writing the project says so.
    const auto failRead = [&](const std::string& why) {
        return Fail(IsBusy(c.db) ? LockedMessage(path, "nothing was read") : why);
    };
    if (!pvxdb::Exec(c.db, "BEGIN", err)) return failRead(path + ": cannot read the project database: " + err);
    // The first read meets a journal left by a stopped save that this user cannot roll back.
    if (!bReadWrite) {
        std::string probe;
        if (!pvxdb::Exec(c.db, "SELECT count(*) FROM sqlite_schema", probe) &&
            sqlite3_extended_errcode(c.db) == SQLITE_READONLY_ROLLBACK)
            return Fail(JournalAdvice(path));
    }
    ReadProgress progress{c.db, static_cast<double>(std::max(1LL, PageCount(c.db)))};
    if (g_progress.load()) sqlite3_progress_handler(c.db, kProgressOps, &ReadProgress::Tick, &progress);
    // Every table's layout read at once, for the checks below; it goes with this transaction.
    std::optional<pvxdb::SchemaSnapshot> schema(std::in_place, c.db);

    // Header: format name and version.
    std::string format, version, post3d, floor;
    {
        const int kind = pvxdb::CheckTableKind(c.db, path, "pvx_header", err);
        if (kind < 0) return Fail(path + ": not a project database (table pvx_header is missing)");
        if (kind == 0) return failRead(err);
        void* st = pvxdb::Prepare(c.db, "SELECT name, value FROM pvx_header", err);
        if (!st) {
            if (err.find("no such table") != std::string::npos)
                return Fail(path + ": not a project database (table pvx_header is missing)");
            return failRead(path + ": cannot read the project database: " + err);
        }
        sqlite3_stmt* s = static_cast<sqlite3_stmt*>(st);
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            const char* n = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
            const char* v = reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
            if (!n || !v) continue;
            if (!strcmp(n, "format")) format = v;
            else if (!strcmp(n, "version")) version = v;
            else if (!strcmp(n, "post3d")) post3d = v;
            else if (!strcmp(n, "floor")) floor = v;
        }
        std::string msg = pvxdb::DbMessage(c.db);
        sqlite3_finalize(s);
        if (rc != SQLITE_DONE) return failRead(path + ": cannot read the project database: " + msg);
    }
    if (format != m_szFormat)
        return Fail(path + ": not a project database (format \"" + format + "\", expected \"" + m_szFormat + "\")");
    char* end = nullptr;
    long ver = strtol(version.c_str(), &end, 10);
    if (version.empty() || *end || ver < 1)
        return Fail(path + ": table pvx_header, row version: bad value \"" + version + "\"");
    if (ver > m_nVersion)
        return Fail(path + ": written by a newer program (format version " + version + "); this program reads version " +
                    std::to_string(m_nVersion));

    // Model tables are read now; result tables only have their columns checked and are read
    // when first used.
    std::vector<int> pending;
    for (int id = 0; id < DBT_COUNT; ++id) {
        pvxdb::DBTableBase& t = *m_tables[id];
        if (id >= DBT_MODEL_COUNT) {
            const int layout = t.CheckLayout(c.db, path, err);
            if (!layout) {
                Clear();
                return failRead(err);
            }
            if (layout > 0) pending.push_back(id);
            continue;
        }
        if (!t.Load(c.db, path, err)) {
            Clear();
            return failRead(err);
        }
    }
    schema.reset();
    pvxdb::Exec(c.db, "COMMIT", err);
    sqlite3_progress_handler(c.db, 0, nullptr, nullptr);
    if (!pending.empty()) {
        // Further readers open what the first one opened (the private copy, if any).
        auto openSide = [uri, bReadWrite, fileSize]() -> sqlite3* {
            Connection side;
            return Connect(uri, bReadWrite, fileSize, 0, side.db) ? std::exchange(side.db, nullptr) : nullptr;
        };
        m_pending = std::make_unique<PendingFile>(c.db, path, std::move(scratch), openSide);
        c.db = nullptr;
        for (int id : pending) m_tables[id]->SetPendingReader(m_pending.get());
    }
    {
        std::string problem = pvxdb::CheckAnalysedModel(*this, path);
        if (problem.empty()) problem = pvxdb::CheckFoundationModel(*this, path);
        if (!problem.empty()) {
            Clear();
            return Fail(problem);
        }
    }
    DropRepeatedMemberElems(path);
    // Edits from here on are what a save into this file writes (SaveTables).
    for (int id = 0; id < DBT_MODEL_COUNT; ++id) m_tables[id]->TrackEdits(true);
    m_b3D = post3d != "0";
    m_bFloor = floor == "1";
    m_strPath = path.c_str();
    return 1;
}

void CDataBase::SetProgressHandler(PFN_PROGRESS pfnHandler) { g_progress.store(pfnHandler); }

int CDataBase::Save(LPCTSTR pszPath) {
    m_strError.Empty();
    // Every record goes into the new file, and the file read from may be the one replaced.
    ReadPendingTables();
    KeepReadErrors();
    std::string path = pszPath ? pszPath : "";
    if (path.empty()) return Fail("no project file given");
    // A file its maker made beforehand (the program's temporary file) is written through the
    // descriptor that made it: SQLite writes the file that descriptor holds (/proc/self/fd/N
    // leads to that very file, whatever its name leads to meanwhile), page by page, so that no
    // image of the whole project is held in memory. Without /proc the database is made in
    // memory and its image written there.
    const bool bAdopted = IsAdoptedOutputFile(path.c_str());
    struct OwnFd {
        int fd = -1;
        ~OwnFd() {
            if (fd >= 0) close(fd);
        }
    } out;
    std::string tmp = path + ".tmp" + std::to_string(getpid());
    if (bAdopted) {
        out.fd = OpenOutputFile(path.c_str());
        if (out.fd < 0) return Fail(path + ": cannot write the project file: " + strerror(errno));
        tmp = kFdPrefix + std::to_string(out.fd);
        if (access(tmp.c_str(), W_OK) != 0 || !DescriptorVfs()) tmp = ":memory:";
    }
    const bool bImage = tmp == ":memory:";
    if (!bAdopted) unlink(tmp.c_str());
    std::string err;
    {
        Connection c;
        if (sqlite3_open_v2(tmp.c_str(), &c.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                            bAdopted && !bImage ? DescriptorVfs() : nullptr) != SQLITE_OK) {
            std::string msg = pvxdb::DbMessage(c.db);
            unlink(tmp.c_str());
            return Fail(path + ": cannot write the project file: " + msg);
        }
        double rows = 1.0;
        for (auto& t : m_tables) rows += static_cast<double>(t->Count());
        WriteProgress progress{c.db, rows};
        if (g_progress.load()) sqlite3_progress_handler(c.db, kProgressOps, &WriteProgress::Tick, &progress);
        // The rename below makes the save atomic; the temporary file needs no journal.
        bool ok = pvxdb::Exec(c.db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", err) &&
                  pvxdb::Exec(c.db, "CREATE TABLE pvx_header (name TEXT PRIMARY KEY, value TEXT NOT NULL)", err);
        if (ok) {
            std::string sql = std::string("INSERT INTO pvx_header VALUES ('format','") + m_szFormat + "'),('version','" +
                              std::to_string(m_nVersion) + "'),('post3d','" + (m_b3D ? "1" : "0") + "'),('floor','" +
                              (m_bFloor ? "1" : "0") + "')";
            ok = pvxdb::Exec(c.db, sql, err);
        }
        for (auto& t : m_tables) {
            if (!ok) break;
            ok = t->Save(c.db, err) != 0;
        }
        if (ok) ok = pvxdb::Exec(c.db, "COMMIT", err);
        if (ok && bImage) {
            sqlite3_int64 n = 0;
            unsigned char* image = sqlite3_serialize(c.db, "main", &n, 0);
            const int nErr = image ? WriteOutputFile(path.c_str(), image, static_cast<size_t>(n)) : ENOMEM;
            sqlite3_free(image);
            ok = nErr == 0;
            if (!ok) err = strerror(nErr);
        }
        if (!ok) {
            sqlite3_close_v2(c.db);
            c.db = nullptr;
            if (!bAdopted) unlink(tmp.c_str());
            return Fail(path + ": cannot write the project file: " + err);
        }
    }
    if (bAdopted) return Saved(path);
    int fd = open(tmp.c_str(), O_RDONLY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
    if (rename(tmp.c_str(), path.c_str()) != 0) {
        std::string msg = strerror(errno);
        unlink(tmp.c_str());
        return Fail(path + ": cannot replace the project file: " + msg);
    }
    return Saved(path);
}

int CDataBase::Saved(const std::string& path) {
    m_strPath = path.c_str();
    // The new file holds every record: later edits are saved against it.
    for (int id = 0; id < DBT_MODEL_COUNT; ++id) m_tables[id]->TrackEdits(true);
    return 1;
}

int CDataBase::SaveTables(LPCTSTR pszPath, const std::vector<int>& tableIds) {
    m_strError.Empty();
    // The file read from is about to change under the read-only connection: read what is left.
    ReadPendingTables();
    KeepReadErrors();
    std::string path = pszPath ? pszPath : "";
    if (path.empty()) return Fail("no project file given");
    std::string err;
    unsigned long long fileSize = 0;
    if (!CheckFileHead(path, fileSize, err)) return Fail(err);
    Connection c;
    if (sqlite3_open_v2(path.c_str(), &c.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
        return Fail(path + ": cannot open the project file for writing: " + pvxdb::DbMessage(c.db));
    sqlite3_extended_result_codes(c.db, 1);
    sqlite3_db_config(c.db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(c.db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_busy_timeout(c.db, kBusyTimeoutMs);
    // The write lock first, so that everything the save reads of the file is read under it.
    if (!pvxdb::Exec(c.db, "BEGIN IMMEDIATE", err)) {
        if ((sqlite3_extended_errcode(c.db) & 0xff) == SQLITE_BUSY)
            return Fail(path + ": another program kept the project locked for " + std::to_string(kBusyTimeoutMs / 1000) +
                        " s; nothing was saved: save again when it is done");
        return Fail(path + ": cannot write the project file: " + err);
    }
    auto rollback = [&](const std::string& msg) {
        std::string ignored;
        pvxdb::Exec(c.db, "ROLLBACK", ignored);
        return Fail(msg);
    };
    std::string format, version;
    if (void* st = pvxdb::Prepare(c.db, "SELECT name, value FROM pvx_header", err)) {
        while (pvxdb::StepRow(st) == 1) {
            sqlite3_stmt* q = static_cast<sqlite3_stmt*>(st);
            const char* n = reinterpret_cast<const char*>(sqlite3_column_text(q, 0));
            const char* v = reinterpret_cast<const char*>(sqlite3_column_text(q, 1));
            if (n && v && !strcmp(n, "format")) format = v;
            if (n && v && !strcmp(n, "version")) version = v;
        }
        pvxdb::Finalize(st);
    }
    if (format != m_szFormat) return rollback(path + ": not a project database (table pvx_header names no project format)");
    if (std::atol(version.c_str()) > m_nVersion)
        return rollback(path + ": written by a newer program (format version " + version + ")");
    // Into the file the tables were read from, only the edits go: rows another program added or
    // changed since stay. Another file gets the tables whole.
    const bool bSameFile = !m_strPath.IsEmpty() && path == m_strPath.GetString();
    std::vector<std::vector<std::pair<UINT, UINT>>> moved(tableIds.size());
    for (size_t i = 0; i < tableIds.size(); ++i) {
        pvxdb::DBTableBase* t = GetTable(tableIds[i]);
        if (!t) return rollback(path + ": no such table to write");
        // The foundation tables are changed by moving texts, each move adding to the offset read.
        const int id = tableIds[i];
        const auto rule = id == DBT_PAGESET                                            ? pvxdb::DBTableBase::kKeysNamed
                          : id == DBT_MEMB || id == DBT_GBPA || id == DBT_FVDTEXT ? pvxdb::DBTableBase::kEditsRelative
                                                                                  : pvxdb::DBTableBase::kKeysAllocated;
        if (!(bSameFile ? t->Merge(c.db, rule, moved[i], err) : t->Rewrite(c.db, err)))
            return rollback(path + ": " + err + "; nothing was saved");
    }
    // Lines are told apart by their names: two programs may have added one name each.
    if (std::find(tableIds.begin(), tableIds.end(), DBT_CTLN) != tableIds.end()) {
        if (void* st = pvxdb::Prepare(c.db, "SELECT name FROM CTLN GROUP BY kind, name HAVING count(*) > 1 LIMIT 1", err)) {
            std::string twice;
            if (pvxdb::StepRow(st) == 1) twice = pvxdb::ColumnValueText(st, 0);
            pvxdb::Finalize(st);
            if (!twice.empty())
                return rollback(path + ": table CTLN: another program added a line named " + twice +
                                " after this one read the file; nothing was saved");
        }
    }
    if (!pvxdb::Exec(c.db, "COMMIT", err)) return rollback(path + ": cannot write the project file: " + err + "; nothing was saved");
    for (size_t i = 0; i < tableIds.size(); ++i) GetTable(tableIds[i])->Merged(moved[i]);
    return 1;
}
