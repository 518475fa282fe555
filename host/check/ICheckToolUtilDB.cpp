// The ICheckToolUtil queries that read the document's project.
#include "host/check/ICheckToolUtil.h"

#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"

namespace {

CDataBase* ProjectDB() {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    return doc ? doc->GetMDBCtrl()->GetDBPost() : nullptr;
}

}  // namespace

int ICheckToolUtil::s_GetLoadCaseKeys(CArray<UINT, UINT>& keys, int kind) {
    keys.RemoveAll();
    CDataBase* pDB = ProjectDB();
    if (!pDB) return 0;
    CClassLdgp groups;
    groups.ConnectToDB(pDB);
    return groups.GetLoadCaseKeys(keys, kind);
}

CString ICheckToolUtil::s_GetCombText(UINT key) {
    CDataBase* pDB = ProjectDB();
    if (!pDB) return CString();
    CClassLdgp groups;
    groups.ConnectToDB(pDB);
    return groups.GetCombText(key);
}
