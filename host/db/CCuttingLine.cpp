#include "host/db/CCuttingLine.h"

#include <cmath>

#include "host/db/CDBDoc.h"

namespace {

bool Near(const T_PNODE_D& n, const T_POINT2D& p) {
    return std::fabs(n.x - p.x) <= CCuttingLine::kLineTol && std::fabs(n.y - p.y) <= CCuttingLine::kLineTol;
}

}  // namespace

UINT CCuttingLine::FindWallByLine(CDataBase* pDB, const T_LINE2D& wallLine) {
    if (!pDB) return 0;
    CClassPMemb members;
    members.ConnectToDB(pDB);
    CArray<UINT, UINT> keys;
    members.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const T_PMEMB_D* m = pDB->Table<DBT_PMEMB>().Find(keys[i]);
        if (!m || m->type != 202 || m->aNode.GetSize() < 2) continue;
        const T_PNODE_D* a = pDB->Table<DBT_PNODE>().Find(m->aNode[0]);
        const T_PNODE_D* b = pDB->Table<DBT_PNODE>().Find(m->aNode[m->aNode.GetSize() - 1]);
        if (a && b && Near(*a, wallLine.p1) && Near(*b, wallLine.p2)) return keys[i];
    }
    return 0;
}

int CCuttingLine::GetWallDesignForce(const T_LINE2D& wallLine, int nEnd, double dCutLength, UINT nLoadKey,
                                     const CArray<UINT, UINT>& slabElemKeys, double* pValues,
                                     int bSlabLoadKind) const {
    if (!pValues || (nEnd != 0 && nEnd != 1) || !std::isfinite(dCutLength) || dCutLength <= 0.0) return 0;
    if (slabElemKeys.GetSize() == 0) return 0;
    CDBDoc* pDoc = CDBDoc::m_pDBDoc;
    CDataBase* pDB = pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr;
    const UINT nWall = FindWallByLine(pDB, wallLine);
    if (!nWall) return 0;

    CPostCtrl post(pDB);
    T_PLCOM_D lcom;
    lcom.Initialize();
    if (!post.MakeLoadComb(bSlabLoadKind ? 1 : 10, nLoadKey, lcom)) return 0;
    T_SWDF_D value, hi, lo;
    value.Initialize();
    hi.Initialize();
    lo.Initialize();
    if (!post.GetSwdf_ByLcomb(nWall, lcom, &hi, &lo, &value)) return 0;
    // The depth is no force: it comes whole with the record of the first term (an envelope's
    // larger-magnitude slot holds the forces only).
    const int h0 = hi.h0;
    if (h0 <= 0) return 0;

    const double dMoment = value.m[nEnd] * dCutLength;
    pValues[0] = dMoment;
    pValues[1] = value.v[nEnd] * dCutLength;
    pValues[2] = std::fabs(dMoment) * 1e6 / (0.9 * kRebarFy * h0);
    return 1;
}
