#include "host/db/CDBDoc.h"

#include <algorithm>

CDBDoc* CDBDoc::m_pDBDoc = nullptr;

CDBDoc::CDBDoc() : m_pDB(std::make_unique<CDataBase>()), m_mdb(m_pDB.get()), m_post(m_pDB.get()) {}

CDBDoc::~CDBDoc() {
    if (m_pDBDoc == this) m_pDBDoc = nullptr;
}

int CDBDoc::OpenDocument(LPCTSTR pszPath) {
    auto db = std::make_unique<CDataBase>();
    if (!db->Open(pszPath)) {
        m_strError = db->GetLastError();
        return 0;
    }
    AttachDataBase(std::move(db));
    m_strError.Empty();
    return 1;
}

int CDBDoc::SaveTables(LPCTSTR pszPath, const std::vector<int>& tableIds) {
    if (!m_pDB->SaveTables(pszPath, tableIds)) {
        m_strError = m_pDB->GetLastError();
        return 0;
    }
    m_strError.Empty();
    return 1;
}

int CDBDoc::SaveDocument(LPCTSTR pszPath) {
    if (!m_pDB->Save(pszPath)) {
        m_strError = m_pDB->GetLastError();
        return 0;
    }
    m_strError.Empty();
    return 1;
}

void CDBDoc::AttachDataBase(std::unique_ptr<CDataBase> pDB) {
    if (!pDB) pDB = std::make_unique<CDataBase>();
    m_pDB = std::move(pDB);
    m_mdb.SetDBPost(m_pDB.get());
    m_post.SetDataBase(m_pDB.get());
}

BOOL CDBDoc::IsPostMode() {
    if (m_nPostMode >= 0) return m_nPostMode != 0;
    // An analysis writes displacements or reactions of the load cases at the nodes; asked from
    // the result ids alone, so a table still in its file is not read.
    const std::vector<UINT>& cases = m_pDB->Table<DBT_PSTLD>().Keys();
    const std::vector<UINT>& nodes = m_pDB->Table<DBT_PNODE>().Keys();
    return !m_pDB->Table<DBT_DISP>().LoadsWithAnyOf(cases, nodes).empty() ||
           !m_pDB->Table<DBT_REAC>().LoadsWithAnyOf(cases, nodes).empty();
}

void CDBDoc::UpdateAllViews(CView* /*pSender*/, LPARAM lHint, CObject* /*pHint*/) {
    // A listener may add or remove listeners while it runs: walk a copy, skipping the removed.
    const auto listeners = m_hintListeners;
    for (const auto& l : listeners)
        if (std::find(m_hintListeners.begin(), m_hintListeners.end(), l) != m_hintListeners.end()) l.second(l.first, lHint);
}

void CDBDoc::RemoveHintListener(void* owner) {
    std::erase_if(m_hintListeners, [owner](const auto& l) { return l.first == owner; });
}
