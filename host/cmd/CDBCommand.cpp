#include "host/cmd/CDBCommand.h"

#include "host/db/CDataBase.h"
#include "host/db/FoundationRecords.h"

#include <vector>

namespace {

template <int ID> struct TableCopy {
    using R = typename pvxdb::TableType<ID>::Record;
    std::vector<UINT> keys;
    std::vector<R> recs;
    void Take(CDataBase& db) {
        keys = db.Table<ID>().Keys();
        recs = db.Table<ID>().Records();
    }
    void Put(CDataBase& db) const {
        auto& t = db.Table<ID>();
        t.Clear();
        for (size_t i = 0; i < keys.size(); ++i) t.Set(keys[i], recs[i]);
    }
};

}  // namespace

// Its members are of types local to this file. Compiled in a unity batch, the file is
// included into the batch's unit, and GCC takes it for a header and warns of that.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsubobject-linkage"
struct CDBCommand::Saved {
    TableCopy<DBT_MEMB> memb;
    TableCopy<DBT_GBPA> gbpa;
    TableCopy<DBT_FVDTEXT> notes;
};
#pragma GCC diagnostic pop

CDBCommand::CDBCommand() = default;

CDBCommand::~CDBCommand() {
    if (IsOpen()) Abandon();
}

void CDBCommand::SetCmd(LPCTSTR name, int, int, int, int) { m_strName = name ? name : ""; }

int CDBCommand::Open(CDataBase* pDB) {
    if (!pDB || IsOpen() || m_strName.IsEmpty()) return 0;
    m_pSaved = std::make_unique<Saved>();
    m_pSaved->memb.Take(*pDB);
    m_pSaved->gbpa.Take(*pDB);
    m_pSaved->notes.Take(*pDB);
    m_pDB = pDB;
    return 1;
}

int CDBCommand::Commit() {
    m_strError.Empty();
    if (!IsOpen()) return 0;
    const CString path = m_pDB->GetPathName();
    if (s_bWriteFile && !path.IsEmpty() && !m_pDB->SaveTables(path, {DBT_MEMB, DBT_GBPA, DBT_FVDTEXT})) {
        m_strError = m_pDB->GetLastError();
        Abandon();
        return 0;
    }
    m_pDB = nullptr;
    m_pSaved.reset();
    ++s_nCommits;
    return 1;
}

int CDBCommand::Abandon() {
    if (!IsOpen()) return 0;
    m_pSaved->memb.Put(*m_pDB);
    m_pSaved->gbpa.Put(*m_pDB);
    m_pSaved->notes.Put(*m_pDB);
    m_pDB = nullptr;
    m_pSaved.reset();
    return 1;
}
