#include "host/db/CDBDoc.h"

#include <algorithm>
#include <array>

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
    // The answer holds while none of the tables it reads changes: table versions are never
    // reused, so a new database cannot pass for the one the answer was made on.
    const auto& cases = m_pDB->Table<DBT_PSTLD>();
    const auto& nodes = m_pDB->Table<DBT_PNODE>();
    const auto& disp = m_pDB->Table<DBT_DISP>();
    const auto& reac = m_pDB->Table<DBT_REAC>();
    const std::array<unsigned long long, 4> versions{cases.Version(), nodes.Version(), disp.Version(), reac.Version()};
    if (m_postAnswer.known && m_postAnswer.versions == versions) return m_postAnswer.post;
    // An analysis writes displacements or reactions of the load cases at the nodes; asked from
    // the result ids alone, so a table still in its file is not read.
    const BOOL post = !disp.LoadsWithAnyOf(cases.Keys(), nodes.Keys()).empty() ||
                      !reac.LoadsWithAnyOf(cases.Keys(), nodes.Keys()).empty();
    m_postAnswer = {true, post, versions};
    return post;
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
