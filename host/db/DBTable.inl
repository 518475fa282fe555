// Out-of-line members of the table templates (included by DBTable.h).
#pragma once

#include <algorithm>
#include <iterator>
#include <numeric>

#include "platform/afx/WorkCrew.h"

namespace pvxdb {

template <class T> void DBTable<T>::SortByKey(std::vector<uint32_t>& order) const {
    std::sort(order.begin(), order.end(), [this](uint32_t a, uint32_t b) { return m_keys[a] < m_keys[b]; });
}

// The scan came in key order; put the rows back in table order. Two rows with one position
// mean the file was not written by us.
template <class T>
int DBTable<T>::RestoreOrder(const std::vector<long long>& seqs, const std::string& file, std::string& err) {
    std::vector<uint32_t> order(seqs.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&seqs](uint32_t a, uint32_t b) { return seqs[a] < seqs[b]; });
    for (size_t i = 1; i < order.size(); ++i)
        if (seqs[order[i]] == seqs[order[i - 1]]) {
            err = file + ": table " + std::string(m_name) + ", column seq, key " + std::to_string(m_keys[order[i]]) +
                  ": position " + std::to_string(seqs[order[i]]) + " is used twice";
            return 0;
        }
    std::vector<UINT> keys(order.size());
    std::vector<T> recs(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        keys[i] = m_keys[order[i]];
        recs[i] = std::move(m_recs[order[i]]);
    }
    m_keys.swap(keys);
    m_recs.swap(recs);
    return 1;
}

template <class T> int DBResultTable<T>::Save(sqlite3* db, std::string& err) const {
    ReadIfPending();
    const auto& cols = ColumnsOf<T>();
    if (!Exec(db, CreateSql(m_name, "id INTEGER PRIMARY KEY", cols), err)) return 0;
    void* st = Prepare(db, InsertSql(m_name, 1, cols), err);
    if (!st) return 0;
    // Loads in ascending order, each in ascending key order: the ids append to the b-tree.
    std::vector<uint32_t> order;
    for (const auto& [lc, load] : m_loads) {
        order.resize(load->keys.size());
        std::iota(order.begin(), order.end(), 0u);
        if (!std::is_sorted(load->keys.begin(), load->keys.end()))
            std::sort(order.begin(), order.end(),
                      [&keys = load->keys](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
        for (uint32_t i : order) {
            BindInt64(st, 1, static_cast<long long>(Id(lc, load->keys[i])));
            T rec = load->recs[i];
            BindVisitor b(st, 2);
            rec.Fields(b);
            if (!b.Ok() || !StepDone(st)) {
                err = std::string("cannot write table ") + m_name + ": " + DbMessage(db);
                Finalize(st);
                return 0;
            }
            Reset(st);
        }
    }
    Finalize(st);
    return 1;
}

template <class T> int DBResultTable<T>::Load(sqlite3* db, const std::string& file, std::string& err) {
    Clear();
    return LoadPart(db, file, nullptr, err);
}

template <class T>
int DBResultTable<T>::ReadRows(void* st, sqlite3* db, const std::string& file, bool bSkipRead, Loads& added,
                               std::string& err) const {
    LoadRecords* cur = nullptr;
    UINT curLoad = 0;
    int rc;
    bool first = true;
    long long last = 0;
    while ((rc = StepRow(st)) == 1) {
        // Rows come in id order (see Load of DBTable): a repeated id follows its first row.
        if (!ColumnIsInteger(st, 0)) {
            err = file + ": table " + std::string(m_name) + ", column id, id " + ColumnValueText(st, 0) +
                  ": a result id must be a whole number";
            return 0;
        }
        long long id = ColumnInt64(st, 0);
        if (!first && id == last) {
            unsigned long long u = static_cast<unsigned long long>(id);
            err = file + ": table " + std::string(m_name) + ", column id, load " + std::to_string(u >> 32) + ", key " +
                  std::to_string(u & 0xffffffffULL) + ": the result is stored in more than one row";
            return 0;
        }
        first = false;
        last = id;
        const UINT lc = static_cast<UINT>(static_cast<uint64_t>(id) >> 32);
        // Loads and objects are keyed from 1: a row of load 0 or of key 0 belongs to nothing.
        if (lc == 0 || static_cast<UINT>(id) == 0) {
            err = file + ": table " + std::string(m_name) + ", column id, load " + std::to_string(lc) + ", key " +
                  std::to_string(static_cast<UINT>(id)) + ": id " + std::to_string(id) +
                  " names load 0 or key 0; loads and keys run from 1 to 4294967295";
            return 0;
        }
        // A whole read after reads by load keeps the rows read already.
        if (bSkipRead && m_loadsRead.count(lc)) continue;
        T rec;
        rec.Initialize();
        ReadVisitor r(st, 1, file, m_name, id, true);
        ReadRecord(rec, r, st, 1, true);
        if (!r.Ok()) {
            err = r.Error();
            return 0;
        }
        if (!cur || lc != curLoad) {
            auto& load = added[lc];
            if (!load) load = std::make_shared<LoadRecords>();
            cur = load.get();
            curLoad = lc;
        }
        cur->keys.push_back(static_cast<UINT>(id));
        cur->recs.push_back(rec);
    }
    if (rc < 0) {
        err = file + ": table " + std::string(m_name) + ": " + DbMessage(db);
        return -1;
    }
    return 1;
}

template <class T>
int DBResultTable<T>::ReadRowsInParts(sqlite3* db, const std::string& file, UINT lc, SideReaders& side,
                                      Loads& added, std::string& err) const {
    const auto& cols = ColumnsOf<T>();
    // The load's first and last ids, found through the id's index; the parts split the ids
    // between them evenly, and a part reads only when it has that many ids at least.
    constexpr uint64_t kPartIds = 8192;
    uint64_t ends[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
        void* st = Prepare(db, "SELECT id FROM \"" + std::string(m_name) + "\" WHERE id BETWEEN ?1 AND ?2 ORDER BY id" +
                                   (k ? " DESC" : "") + " LIMIT 1", err);
        if (!st) {
            err = file + ": table " + m_name + ": " + err;
            return 0;
        }
        BindInt64(st, 1, static_cast<long long>(Id(lc, 0)));
        BindInt64(st, 2, static_cast<long long>(Id(lc, 0xffffffffu)));
        const int rc = StepRow(st);
        if (rc == 1) ends[k] = static_cast<uint64_t>(ColumnInt64(st, 0));
        Finalize(st);
        if (rc < 0) {
            err = file + ": table " + std::string(m_name) + ": " + DbMessage(db);
            return 0;
        }
        if (rc == 0) return 1;  // the load has no rows
    }
    const uint64_t span = ends[1] - ends[0] + 1;
    // As many parts as there are threads to read them: a part more is only a connection more to
    // open (a busy machine gives fewer helpers).
    const int nWanted = static_cast<int>(std::min<uint64_t>(1 + static_cast<uint64_t>(side.Count()), span / kPartIds));
    WorkCrew crew(nWanted - 1);
    const int nParts = std::min(nWanted, crew.Size());
    std::vector<uint64_t> bound(static_cast<size_t>(std::max(nParts, 1)) + 1);
    for (size_t k = 0; k < bound.size(); ++k) bound[k] = ends[0] + span * k / (bound.size() - 1);
    std::vector<Loads> got(bound.size() - 1);
    std::vector<std::string> errs(got.size());
    std::vector<int> result(got.size(), -1);
    // Part k from connection c; -1 when c cannot read it (the part is then read on db).
    auto read = [&](size_t k, sqlite3* c) {
        std::string e;
        void* st = c ? Prepare(c, SelectIdRangeSql(m_name, cols), e) : nullptr;
        if (!st) {
            errs[k] = file + ": table " + m_name + ": " + e;
            return;
        }
        struct Finalized {
            void* st;
            ~Finalized() { Finalize(st); }
        } finalized{st};
        BindInt64(st, 1, static_cast<long long>(bound[k]));
        BindInt64(st, 2, static_cast<long long>(bound[k + 1] - 1));
        result[k] = ReadRows(st, c, file, false, got[k], errs[k]);
    };
    // Parts taken by whichever thread comes first, part k > 0 on side connection k - 1 (what
    // fails there is read again on db below); what part 0 throws reaches the caller.
    std::atomic<size_t> next{0};
    crew.Run([&](int) {
        for (size_t k; (k = next.fetch_add(1)) < got.size();) {
            if (k == 0) {
                read(0, db);
                continue;
            }
            sqlite3* c = side.Begin(static_cast<int>(k) - 1);
            try {
                read(k, c);
            } catch (...) {
                result[k] = -1;
            }
            if (c) side.End(static_cast<int>(k) - 1);
        }
    });
    for (size_t k = 0; k < got.size(); ++k) {
        if (result[k] < 0 && k > 0) {
            got[k].clear();
            errs[k].clear();
            read(k, db);
        }
        // The first part not sound gives the message a read of the whole range would.
        if (result[k] <= 0) {
            err = errs[k].empty() ? file + ": table " + std::string(m_name) + ": cannot be read" : errs[k];
            return 0;
        }
    }
    // One load: its parts joined in id order.
    size_t n = 0;
    for (const Loads& part : got)
        for (const auto& [l, load] : part) n += load->keys.size();
    auto all = std::make_shared<LoadRecords>();
    all->keys.reserve(n);
    all->recs.reserve(n);
    for (Loads& part : got)
        for (auto& [l, load] : part) {
            all->keys.insert(all->keys.end(), load->keys.begin(), load->keys.end());
            all->recs.insert(all->recs.end(), std::make_move_iterator(load->recs.begin()),
                             std::make_move_iterator(load->recs.end()));
            load.reset();
        }
    if (n) added[lc] = std::move(all);
    return 1;
}

template <class T>
int DBResultTable<T>::LoadPart(sqlite3* db, const std::string& file, const UINT* pLoad, std::string& err,
                               SideReaders* pSide) {
    const auto& cols = ColumnsOf<T>();
    // An absent result table reads as empty, as a model table does.
    const int layout = CheckColumns(db, file, m_name, cols, "id", err);
    if (layout < 0) return 1;
    if (!layout) return 0;
    // The loads this call reads, joined to the table only when every row is sound.
    Loads added;
    if (pLoad && pSide && pSide->Count() > 0) {
        if (!ReadRowsInParts(db, file, *pLoad, *pSide, added, err)) return 0;
    } else {
        // One load's rows are the ids [lc x 2^32, lc x 2^32 + 2^32 - 1], found through the id's index.
        void* st = Prepare(db, pLoad ? SelectIdRangeSql(m_name, cols) : SelectSql(m_name, "id", "id", cols), err);
        if (!st) {
            err = file + ": table " + m_name + ": " + err;
            return 0;
        }
        if (pLoad) {
            BindInt64(st, 1, static_cast<long long>(Id(*pLoad, 0)));
            BindInt64(st, 2, static_cast<long long>(Id(*pLoad, 0xffffffffu)));
        }
        const int ok = ReadRows(st, db, file, !pLoad, added, err);
        Finalize(st);
        if (ok <= 0) return 0;
    }
    // Rows come in id order: each load's keys ascend.
    for (auto& [lc, load] : added) {
        load->index.Build(load->keys);
        std::shared_ptr<LoadRecords>& held = m_loads[lc];
        m_count += load->keys.size() - (held ? held->keys.size() : 0);
        held = std::move(load);
    }
    Touch();
    if (pLoad) m_loadsRead.insert(*pLoad);
    return 1;
}

template <class T>
int DBTable<T>::Merge(sqlite3* db, EMergeRule rule, std::vector<std::pair<UINT, UINT>>& moved, std::string& err) const {
    if (!m_tracking) return Rewrite(db, err);
    const auto& cols = ColumnsOf<T>();
    if (!Exec(db, CreateIfAbsentSql(m_name, kKeyColumns, cols), err)) return 0;
    const std::string table = std::string("\"") + m_name + "\"";
    std::string sameSql = "SELECT count(*) FROM " + table + " WHERE key = ?1";
    for (size_t i = 0; i < cols.size(); ++i) sameSql += " AND \"" + cols[i].name + "\" IS ?" + std::to_string(i + 2);
    struct Stmts {
        void* same = nullptr;
        void* seq = nullptr;
        void* del = nullptr;
        void* ins = nullptr;
        void* top = nullptr;
        ~Stmts() {
            for (void* st : {same, seq, del, ins, top}) Finalize(st);
        }
    } q;
    if (!(q.same = Prepare(db, sameSql, err)) || !(q.seq = Prepare(db, "SELECT seq FROM " + table + " WHERE key = ?1", err)) ||
        !(q.del = Prepare(db, "DELETE FROM " + table + " WHERE key = ?1", err)) ||
        !(q.ins = Prepare(db, InsertNamedSql(m_name, "key, seq", cols), err)) ||
        !(q.top = Prepare(db, "SELECT coalesce(max(key), 0), coalesce(max(seq), -1) FROM " + table, err)))
        return 0;
    const auto failed = [&](const std::string& what) {
        err = std::string("cannot write table ") + m_name + ": " + what;
        return 0;
    };
    // Whether the file's row of key holds rec exactly.
    const auto rowIs = [&](UINT key, const T& rec) {
        T copy = rec;
        BindInt64(q.same, 1, key);
        BindVisitor b(q.same, 2);
        copy.Fields(b);
        const bool same = b.Ok() && StepRow(q.same) == 1 && ColumnInt64(q.same, 0) == 1;
        Reset(q.same);
        return same;
    };
    // The file's seq of key, or -1 when the file has no such row.
    const auto fileSeq = [&](UINT key) {
        BindInt64(q.seq, 1, key);
        const long long seq = StepRow(q.seq) == 1 ? ColumnInt64(q.seq, 0) : -1;
        Reset(q.seq);
        return seq;
    };
    const auto top = [&](long long& maxKey, long long& maxSeq) {
        const bool ok = StepRow(q.top) == 1;
        maxKey = ok ? ColumnInt64(q.top, 0) : 0;
        maxSeq = ok ? ColumnInt64(q.top, 1) : -1;
        Reset(q.top);
    };
    const auto remove = [&](UINT key) {
        BindInt64(q.del, 1, key);
        const bool ok = StepDone(q.del) == 1;
        Reset(q.del);
        return ok;
    };
    const auto insert = [&](UINT key, long long seq, const T& rec) {
        T copy = rec;
        BindInt64(q.ins, 1, key);
        BindInt64(q.ins, 2, seq);
        BindVisitor b(q.ins, 3);
        copy.Fields(b);
        const bool ok = b.Ok() && StepDone(q.ins) == 1;
        Reset(q.ins);
        return ok;
    };
    UINT ownMax = 0;
    for (UINT k : m_keys) ownMax = std::max(ownMax, k);
    // Edited keys in table order, removed ones after them: added rows keep their order.
    std::vector<UINT> edited;
    edited.reserve(m_orig.size());
    for (UINT k : m_keys)
        if (m_orig.count(k)) edited.push_back(k);
    for (const auto& kv : m_orig)
        if (!Find(kv.first)) edited.push_back(kv.first);
    for (UINT key : edited) {
        const T* orig = m_orig.find(key)->second.get();
        const T* cur = Find(key);
        const long long seq = fileSeq(key);
        const bool untouched = orig ? rowIs(key, *orig) : seq < 0;
        if (!untouched && rule != kKeysNamed) {
            if (!orig && cur && rule == kKeysAllocated) {
                // Added here and there under one key: this row takes the next key free on
                // both sides.
                long long maxKey, maxSeq;
                top(maxKey, maxSeq);
                const long long next = std::max<long long>(maxKey, ownMax) + 1;
                if (next > 0xffffffffLL) return failed("no key is left for a new row");
                if (!insert(static_cast<UINT>(next), maxSeq + 1, *cur)) return failed(DbMessage(db));
                moved.emplace_back(key, static_cast<UINT>(next));
                ownMax = static_cast<UINT>(next);
                continue;
            }
            // The same edit made on both sides is no conflict, unless edits add up.
            if (rule == kKeysAllocated && (cur ? seq >= 0 && rowIs(key, *cur) : seq < 0)) continue;
            return failed("key " + std::to_string(key) + " was " + (seq < 0 ? "removed" : orig ? "changed" : "added") +
                          " by another program after this one read the file");
        }
        long long at = seq;
        if (at < 0) {
            long long maxKey;
            top(maxKey, at);
            ++at;
        }
        if (seq >= 0 && !remove(key)) return failed(DbMessage(db));
        if (cur && !insert(key, at, *cur)) return failed(DbMessage(db));
    }
    return 1;
}

}  // namespace pvxdb
