// The axial-compression ratio list of the columns and its extremes.
#include "module/designdata/CFigureDesignData.h"

#include <cfloat>

#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"
#include "host/db/CPostCtrl4Dgn.h"
#include "host/db/DBTables.h"
#include "module/model/I_PVXModel.h"
#include "module/contour/KeyedExtremes.h"

int CFigureDesignData::MakeAxialCompRatioDataList() {
    m_arrAxialCompR.RemoveAll();
    // The extremes belong to the list: an early return must not leave those of a previous build.
    m_dACRMax = -DBL_MAX;
    m_dACRMin = DBL_MAX;
    m_nACRMaxKey = m_nACRMinKey = 0;

    CArray<UINT, UINT> columns;
    for (INT_PTR i = 0; i < m_arrMembKey.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (ReadMember(m_arrMembKey[i], memb) && memb.type == 101) columns.Add(m_arrMembKey[i]);
    }
    CDataBase* pDB = GetPostDB();
    if (!pDB) return 0;
    CClassPMemb membs;
    membs.ConnectToDB(pDB);
    CPostCtrl4Dgn* dgn = CPostCtrl4Dgn::GetPostCtrl4DgnPtr_ST();
    if (!dgn) return 0;

    for (INT_PTR c = 0; c < columns.GetSize(); ++c) {
        const UINT key = columns[c];
        T_RCOL_D res;
        if (!dgn->GetColmMaxResult(key, 0, res) || res.nKey == 0) continue;
        T_AXIAL_COMP_R rec;
        rec.dValue3 = res.dNmax;
        rec.dValue4 = res.dMmax;
        UINT u1 = 0, u2 = 0, u3 = 0;
        T_RCOL_ELSE f1, f2;
        if (!dgn->GetMaxColmElseFactors(key, u1, u2, u3, f1, 1) || !dgn->GetMaxColmElseFactors(key, u1, u2, u3, f2, 2))
            continue;
        rec.dRatio1 = f1.dFactor;
        rec.dRatio2 = f2.dFactor;
        T_PMEMB_D memb;
        if (!membs.Get(key, memb)) {
            m_arrAxialCompR.FreeExtra();
            return 0;
        }
        const double hi = rec.dRatio1 > rec.dRatio2 ? rec.dRatio1 : rec.dRatio2;
        const double lo = rec.dRatio1 > rec.dRatio2 ? rec.dRatio2 : rec.dRatio1;
        contour::TakeExtremes(hi, lo, key, m_dACRMax, m_nACRMaxKey, m_dACRMin, m_nACRMinKey);
        if (memb.aNode.GetSize() == 0 || !ReadNode(memb.aNode[memb.aNode.GetSize() - 1], rec.pt)) {
            m_arrAxialCompR.FreeExtra();
            return 0;
        }
        rec.nKey = key;
        m_arrAxialCompR.Add(rec);
    }
    m_arrAxialCompR.FreeExtra();
    return 1;
}
