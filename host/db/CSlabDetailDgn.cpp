#include "host/db/CSlabDetailDgn.h"

#include "host/db/CDBDoc.h"

namespace {

bool SameList(const CArray<double, double>& a, const CArray<double, double>& b) {
    if (a.GetSize() != b.GetSize()) return false;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

}  // namespace

CDataBase* CSlabDetailDgn::PostDB() {
    CDBDoc* pDoc = CDBDoc::m_pDBDoc;
    return pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr;
}

UINT CSlabDetailDgn::GetDesignLcomKey(int k) const {
    if (k < 1) return 0;
    if (m_arrLcomKey.GetSize() > 0) return k <= m_arrLcomKey.GetSize() ? m_arrLcomKey[k - 1] : 0;
    CDataBase* pDB = PostDB();
    if (!pDB) return 0;
    CClassPLcom table;
    table.ConnectToDB(pDB);
    CArray<UINT, UINT> keys;
    table.GetKeyList(keys);
    int n = 0;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const T_PLCOM_D* pComb = pDB->Table<DBT_PLCOM>().Find(keys[i]);
        if (pComb && pComb->type == PLCOM_LINEAR && ++n == k) return keys[i];
    }
    return 0;
}

int CSlabDetailDgn::Get_MembDgnForce(UINT nMembKey, int k, double& dForceA, double& dForceB,
                                     CArray<double, double>& arrA, CArray<double, double>& arrB, int) {
    m_nForceMemb = 0;
    m_nForceComb = 0;
    m_bForceSet = 0;
    CDataBase* pDB = PostDB();
    const UINT nComb = GetDesignLcomKey(k);
    const T_SLDG_D* pRec = pDB && nComb ? pDB->Table<DBT_SLDG>().Find(nComb, nMembKey) : nullptr;
    if (!pRec) return 0;
    dForceA = pRec->forceA;
    dForceB = pRec->forceB;
    arrA.Copy(pRec->aForceA);
    arrB.Copy(pRec->aForceB);
    m_nForceMemb = nMembKey;
    m_nForceComb = k;
    return 1;
}

int CSlabDetailDgn::Set_MembDgnForce(double dForceA, double dForceB, const CArray<double, double>& arrA,
                                     const CArray<double, double>& arrB, double) {
    m_bForceSet = 0;
    CDataBase* pDB = PostDB();
    const UINT nComb = GetDesignLcomKey(m_nForceComb);
    const T_SLDG_D* pRec = pDB && m_nForceMemb && nComb ? pDB->Table<DBT_SLDG>().Find(nComb, m_nForceMemb) : nullptr;
    if (!pRec) return 0;
    // The project holds the design of its own forces only.
    if (dForceA != pRec->forceA || dForceB != pRec->forceB || !SameList(arrA, pRec->aForceA) ||
        !SameList(arrB, pRec->aForceB))
        return 0;
    m_bForceSet = 1;
    return 1;
}

int CSlabDetailDgn::Get_MembDgnResult(UINT nMembKey, int k, double& dResultA, double& dResultB,
                                      CArray<double, double>& arrA, CArray<double, double>& arrB, double& dThird) {
    if (!m_bForceSet || nMembKey != m_nForceMemb || k != m_nForceComb) return 0;
    CDataBase* pDB = PostDB();
    const UINT nComb = GetDesignLcomKey(k);
    const T_SLDG_D* pRec = pDB && nComb ? pDB->Table<DBT_SLDG>().Find(nComb, nMembKey) : nullptr;
    if (!pRec) return 0;
    dResultA = pRec->resultA;
    dResultB = pRec->resultB;
    dThird = pRec->resultC;
    arrA.Copy(pRec->aResultA);
    arrB.Copy(pRec->aResultB);
    return 1;
}
