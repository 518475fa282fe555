#include "host/db/ElementDesignTables.h"

#include <cmath>

#include "host/db/DBTables.h"

int CClassPDDElem::Get(UINT comb, UINT elem, T_PDDELEM_D& rec) const {
    const T_PDDELEM_D* p = m_pDB ? m_pDB->Table<DBT_PDDELEM>().Find(comb, elem) : nullptr;
    if (!p) return 0;
    rec = *p;
    return 1;
}

int CClassPDDElem::HasRows() const { return m_pDB && m_pDB->Table<DBT_PDDELEM>().Count() > 0; }

BOOL T_PDDELEM_D::GetData(CDataBase* pDB, UINT elem, UINT loadKey, CArray<double, double>& values,
                          CArray<double, double>& combs, int kind) {
    values.RemoveAll();
    combs.RemoveAll();
    if (!pDB) return FALSE;
    CClassPDDElem table;
    table.ConnectToDB(pDB);
    CArray<UINT, UINT> keys;
    if (loadKey != 0) {
        keys.Add(loadKey);
    } else {
        CClassLdgp groups;
        groups.ConnectToDB(pDB);
        groups.GetDesignUseLoadComb(keys, 1);
    }
    BOOL found = FALSE;
    for (INT_PTR k = 0; k < keys.GetSize(); ++k) {
        T_PDDELEM_D rec;
        if (!table.Get(keys[k], elem, rec)) continue;
        const CArray<double, double>& v = kind == 0 ? rec.aM : kind == 1 ? rec.aAs : rec.aW;
        for (INT_PTR i = 0; i < v.GetSize(); ++i) {
            if (i >= values.GetSize()) {
                values.Add(v[i]);
                combs.Add(static_cast<double>(keys[k]));
            } else if (std::fabs(v[i]) > std::fabs(values[i])) {
                // The first combination of equal magnitudes keeps the value.
                values[i] = v[i];
                combs[i] = static_cast<double>(keys[k]);
            }
        }
        found = TRUE;
    }
    return found;
}
