#include "host/db/CViewCtrl.h"

#include <algorithm>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/db/CDBUpdateConnector.h"
#include "host/db/CMDBCtrl.h"
#include "host/db/DBTables.h"

namespace {
struct Selection {
    std::vector<UINT> all;      // every selected member, in the order selected
    std::vector<UINT> current;  // the members of the last step
};
Selection& State() {
    static Selection s;
    return s;
}

CDataBase* PostDB() { return CDBDoc::m_pDBDoc ? CDBDoc::m_pDBDoc->GetMDBCtrl()->GetDBPost() : nullptr; }

void CopyOut(const std::vector<UINT>& v, CArray<UINT, UINT>& keys) {
    keys.RemoveAll();
    for (UINT k : v) keys.Add(k);
}
}  // namespace

int CViewCtrl::Select(const CArray<UINT, UINT>& keys, int bAdd, int nHint) {
    Selection& s = State();
    CDataBase* pDB = PostDB();
    CClassPMemb members;
    if (pDB) members.ConnectToDB(pDB);
    s.current.clear();
    if (!bAdd) s.all.clear();
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const UINT k = keys[i];
        if (!pDB || !members.Exist(k)) continue;
        if (std::find(s.current.begin(), s.current.end(), k) == s.current.end()) s.current.push_back(k);
        if (std::find(s.all.begin(), s.all.end(), k) == s.all.end()) s.all.push_back(k);
    }
    CDBUpdateConnector::BroadcastUpdate(pDB, nHint, nullptr);
    return static_cast<int>(s.all.size());
}

int CViewCtrl::SelectPMemb(const CArray<UINT, UINT>& keys, int bAdd, int, int, int, int, int, int) {
    return Select(keys, bAdd, HINT_MEMB_SELECTED);
}

int CViewCtrl::SelectPMembInView(const CArray<UINT, UINT>& keys) { return Select(keys, 0, HINT_MEMB_PICKED); }

int CViewCtrl::GetCurrentPMemb(CArray<UINT, UINT>& keys) {
    CopyOut(State().current, keys);
    return static_cast<int>(keys.GetSize());
}

int CViewCtrl::GetAllSelectedPMemb(CArray<UINT, UINT>& keys) {
    CopyOut(State().all, keys);
    return static_cast<int>(keys.GetSize());
}

void CViewCtrl::ClearSelection() {
    State().all.clear();
    State().current.clear();
}
