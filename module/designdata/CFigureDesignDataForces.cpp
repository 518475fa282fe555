// CFigureDesignData: column forces of the base-column figures.
//
// The column-force builders keep, per column of the member-key list, the force record of the
// load selection and a label record with ten end values and the column's two end positions.

#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
#include "module/designdata/CFigureDesignData.h"
#include "module/designdata/DesignMemberTypes.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"

namespace {

// Components of a label's five values per end: shear y, shear z, axial force, moment y, moment z.
constexpr int kLabelComp[5] = {1, 2, 0, 4, 5};

}  // namespace

// ---- column forces -------------------------------------------------------------------------------

double CFigureDesignData::CalcCForcValue(const T_MBCL_D& forc, int nComp, int nEnd) const {
    // Components 0 to 5 of the end's block; 6 and 7 the larger magnitude of the two shears and
    // of the two moments, the second on a tie.
    if (nEnd < 0 || nEnd > 1) return 0.0;
    return CForceEngine::CalcCForcValue(forc, nComp, nEnd);
}

int CFigureDesignData::MakeColumnForceDataList() {
    m_mapColmForce.RemoveAll();
    if (m_arrMembKey.GetSize() < 1) return 0;
    I_PVXModel* pModel = Model();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    CPostCtrl* pPost = pDoc ? pDoc->GetPostCtrl() : nullptr;
    if (!pPost) return 0;
    for (INT_PTR i = 0; i < m_arrMembKey.GetSize(); ++i) {
        const UINT key = m_arrMembKey[i];
        T_PMEMB_D memb;
        if (!ReadMember(key, memb)) return 0;
        if (memb.type != designmember::kColumnType) continue;
        T_MBCL_D rec;
        rec.Initialize();
        int bRead = 0;
        // The load selection type picks the plain result or one side of an envelope.
        switch (pModel->m_nLoadStep) {
        case 0: case 1: bRead = pPost->GetMbcl(key, &rec, nullptr, nullptr, 0); break;
        case 2: bRead = pPost->GetMbcl(key, nullptr, &rec, nullptr, 0); break;
        case 3: bRead = pPost->GetMbcl(key, nullptr, nullptr, &rec, 0); break;
        default: continue;
        }
        if (!bRead) return 0;
        m_mapColmForce.SetAt(key, rec);
    }
    MakeCForcNumbers();
    return 1;
}

void CFigureDesignData::MakeCForcNumbers() {
    m_arrCForc.RemoveAll();
    for (INT_PTR i = 0; i < m_arrMembKey.GetSize(); ++i) {
        const UINT key = m_arrMembKey[i];
        T_PMEMB_D memb;
        if (!ReadMember(key, memb) || memb.type != designmember::kColumnType) continue;
        T_MBCL_D rec;
        if (!m_mapColmForce.Lookup(key, rec)) return;
        T_PVX_BFORC_D label;
        label.nMembKey = key;
        for (int end = 0; end < 2; ++end)
            for (int k = 0; k < 5; ++k) label.dForce[5 * end + k] = CalcCForcValue(rec, kLabelComp[k], end);
        if (!GetIJPosBForcMemb(key, memb, label.ptI, label.ptJ)) return;
        m_arrCForc.Add(label);
    }
}

int CFigureDesignData::GetIJPosBForcMemb(UINT key, T_PMEMB_D& memb, C3DPoint& pi, C3DPoint& pj) {
    I_PVXModel* pModel = Model();
    if (!pModel || !pModel->m_pDispOpt) return 0;
    const int bDeformed = m_nCForcSel[1] != 0;
    // Asked for the deformed shape of a model without deformation data there is no shape.
    if (bDeformed && !pModel->m_pDeformEngine) return 0;
    // The outline shape, as the labels stand at the member's ends.
    OptionScope shape(pModel->m_pDispOpt->m_bWireFrame, 1);
    ShapeLists lists;
    T_SHAPE_ARGUMENT arg;
    arg.bDeformed = bDeformed;
    if (bDeformed)
        pModel->m_pDeformEngine->GetDeformedShapeMember(key, lists.faces, &lists.flags, arg, 0, 0);
    else
        pModel->GetShapeMember(key, memb, lists.faces, &lists.flags, arg, 0, 0);
    const PVXPolyList* pFirst = nullptr;
    const PVXPolyList* pLast = nullptr;
    for (INT_PTR i = 0; i < lists.faces.GetSize(); ++i) {
        const PVXPolyList* p = lists.faces[i];
        if (!p || p->GetCount() == 0) continue;
        if (!pFirst) pFirst = p;
        pLast = p;
    }
    // A member without a polygon has no end positions.
    if (!pFirst) return 0;
    pi = pFirst->GetHead();
    pj = pLast->GetTail();
    return 1;
}
