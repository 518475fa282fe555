// CForceEngine: slab reinforcement (display mode 17) and slab crack (display mode 18). Their
// lists per element (the slab element forces of the slab members, turned into the slabs' own
// axes) and per member (the slab members), and the per-element drawing loop. Per element the
// values are the raft element design's (CForceEngineSlabElemDesign.cpp). Per member, mode 17
// writes the host's slab design results (the numbers are CForceEngineSlabRebarNumbers.cpp);
// mode 18 shows the plain model.
#include <cfloat>

#include "module/contour/CContourEngine.h"
#include "host/db/DBTables.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceMemberWalk.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/engines/OptionScope.h"
#include "platform/ui/CWaitCursor.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/I_PVXModel.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CSelectScope.h"

// ---- per-element lists ------------------------------------------------------------------------

int CForceEngine::MakeSlabElementList(int nUnit) {
    ForgetKeptLists();
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;
    CPVXAttrCtrl& attr = *pModel->m_pAttrCtrl;
    m_arrElemKey.RemoveAll();
    m_mapSForc.RemoveAll();
    m_mapSbem.RemoveAll();
    // The member of each listed sub-element belongs to this build only.
    m_mapSForcMemb.RemoveAll();

    CPVXSElemCtrl ctrl;
    CArray<UINT, UINT> subKeys;
    T_PVX_SBEM_D sbem;
    const CArray<UINT, UINT>& membs = pModel->m_arrActiveMembKey;
    for (INT_PTR i = 0; i < membs.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!attr.GetMemb(membs[i], memb)) return 0;
        if (!CPVXAttrCtrl::IsSlabMembType(memb.type)) continue;
        if (nUnit != 1) return 0;
        double axes[3][3] = {};
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            const UINT elemKey = memb.aElem[e];
            if (!IsPossibleSForc(elemKey)) continue;
            subKeys.RemoveAll();
            ctrl.GetSuperElemNodeKeys(elemKey, subKeys);
            ctrl.GetSuperElemData(elemKey);
            attr.CalcSlabObjectLocalVector(elemKey, axes);
            for (INT_PTR s = 0; s < subKeys.GetSize(); ++s) {
                const UINT key = subKeys[s];
                if (!ctrl.GetSuperElemShapeNodes(key, sbem.m_arrNodeKey, &sbem.m_arrNode) ||
                    sbem.m_arrNodeKey.GetSize() < 3)
                    continue;
                double local[3][3] = {};
                attr.CalcPlaneLocalVector(key, local);
                if (!MakeSForcDataList_Sub(key, local, axes)) continue;
                sbem.m_nKey = key;
                m_mapSbem.SetAt(key, sbem);
                m_mapSForcMemb.SetAt(key, membs[i]);
            }
            ctrl.InitSuperElemRecords();
        }
    }
    return 1;
}

int CForceEngine::MakeSRbarDataList() {
    CWaitCursor wait;
    if (!MakeSlabElementList(m_nSRbarUnit)) return 0;
    if (!MakeSRbarDataList_MnMx()) return 0;
    m_bSRbarData = 1;
    return 1;
}

int CForceEngine::MakeSCracDataList() {
    CWaitCursor wait;
    if (!MakeSlabElementList(m_nSCracUnit)) return 0;
    if (!MakeSCracDataList_MnMx()) return 0;
    m_bSCracData = 1;
    return 1;
}

int CForceEngine::MakeSRbarDataList_MnMx() { return MakeSlabElemDesignRange(1); }

int CForceEngine::MakeSCracDataList_MnMx() { return MakeSlabElemDesignRange(2); }

// ---- per-member lists -------------------------------------------------------------------------

int CForceEngine::MakeSlabMemberList(int nUnit) {
    ForgetKeptLists();
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;
    m_arrElemKey.RemoveAll();
    const CArray<UINT, UINT>& membs = pModel->m_arrActiveMembKey;
    for (INT_PTR i = 0; i < membs.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!pModel->m_pAttrCtrl->GetMemb(membs[i], memb)) return 0;
        if (!CPVXAttrCtrl::IsSlabMembType(memb.type)) continue;
        if (nUnit != 0) return 0;
        m_arrElemKey.Add(membs[i]);
    }
    return 1;
}

int CForceEngine::MakeSRbarDataListMemb() {
    CWaitCursor wait;
    if (!MakeSlabMemberList(m_nSRbarUnit) || !MakeSRbarDataListMemb_MnMx()) return 0;
    FinishMakeSRbarMembData();
    m_bSRbarData = 1;
    return 1;
}

int CForceEngine::MakeSCracDataListMemb() {
    CWaitCursor wait;
    if (!MakeSlabMemberList(m_nSCracUnit) || !SetSRbarTotalLcom4Dgn() || !MakeSCracDataListMemb_MnMx()) return 0;
    m_bSCracData = 1;
    return 1;
}

int CForceEngine::KeepSlabMembersWithMoments() {
    const INT_PTR nListed = m_arrElemKey.GetSize();
    CArray<double, double> pos, neg;
    double cx = 0.0, cy = 0.0;
    for (INT_PTR i = nListed; i-- > 0;)
        if (!GetSmnt(m_arrElemKey[i], pos, neg, cx, cy)) m_arrElemKey.RemoveAt(i);
    return nListed == 0 || m_arrElemKey.GetSize() > 0 ? 1 : 0;
}

int CForceEngine::MakeSRbarDataListMemb_MnMx() {
    I_PVXModel* pModel = GetModel();
    m_dPAbsMax = 0.0;
    // Under a single load the slabs with moments are shown; the design envelope reads the design.
    if (pModel && pModel->m_nLoadType != 12 && !KeepSlabMembersWithMoments()) return 0;
    // The reinforcement numbers come from the design when drawn; no value is gathered here, so
    // the range stays empty; the legend's maxima and members come after (FinishMakeSRbarMembData).
    m_dSMembMax = m_dSMembMin = 0.0;
    if (pModel) pModel->m_nMaxKey = pModel->m_nMinKey = 0;
    return 1;
}

int CForceEngine::SetSRbarTotalLcom4Dgn() {
    if (m_nSRbarTotalLcom < 1) return 1;
    return KeepSlabMembersWithMoments();
}

// Per member the host keeps no crack widths: no maxima, and no member of another result's.
int CForceEngine::MakeSCracDataListMemb_MnMx() {
    m_dSlabCracMax = m_dSlabCracMaxBot = 0.0;
    if (I_PVXModel* pModel = GetModel()) pModel->m_nMaxKey = pModel->m_nMinKey = 0;
    return 1;
}

// ---- per-element drawing loop -----------------------------------------------------------------

void CForceEngine::DrawSlabElementLoop(CDC* pDC, int nUnit, int (CForceEngine::*elementDrawer)(CDC*, UINT, UINT)) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl) return;
    CWaitCursor wait;
    const int nLineWidth = pModel->m_nPenFactor > 0 ? pModel->m_nPenFactor : 1;
    CPen pen(PS_SOLID, nLineWidth, m_pContourEngine ? m_pContourEngine->m_crElemEdge : RGB(0, 0, 0));
    CSelectScope<CPen> selectPen(pDC, &pen);
    // The member drawings below change the model's pen factor; it is put back on every way out.
    OptionScope penFactor(pModel->m_nPenFactor);

    // The design envelope draws its values too (the largest over the design combinations); with
    // no value list the plain model stands.
    if (pModel->m_nLoadType == 12 && m_mapSDgnElem.empty()) {
        pModel->PVXDrawOriginal(pDC, 1);
        return;
    }
    UINT nInactiveMemb = 0xFFFFFFFF;
    auto member = [&](UINT nKey, T_PMEMB_D& memb) {
        if (memb.type == 201) {
            pModel->m_nPenFactor = 2 * nLineWidth;
            pModel->PVXDrawMember(pDC, nKey);
            return true;
        }
        pModel->m_nPenFactor = nLineWidth;
        if (nUnit != 1) return true;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            const UINT elemKey = memb.aElem[e];
            T_PELEM_D elem;
            if (!pModel->m_pAttrCtrl->GetElem(elemKey, elem)) continue;
            if (!elem.bActive) {
                pModel->PVXDrawInactiveMember(pDC, nKey);
                continue;
            }
            if (pModel->WatchEscKeyPress()) return false;
            if (IsPossibleSForc(elemKey)) {
                if ((this->*elementDrawer)(pDC, elemKey, nKey) == -1) return false;
            } else if (nKey != nInactiveMemb) {
                pModel->PVXDrawInactiveMember(pDC, nKey);
                nInactiveMemb = nKey;
            }
        }
        return true;
    };
    forcewalk::ForEachShownMember(*pModel, pModel->m_nObjectIDFirst, forcewalk::Escape::kIgnore, member);
}

void CForceEngine::DrawSRbarContour(CDC* pDC) {
    DrawSlabElementLoop(pDC, m_nSRbarUnit, &CForceEngine::DoSRbarElementContour);
}

void CForceEngine::DrawSCracContour(CDC* pDC) {
    DrawSlabElementLoop(pDC, m_nSCracUnit, &CForceEngine::DoSCracElementContour);
}

int CForceEngine::DoSRbarElementContour(CDC* pDC, UINT nElemKey, UINT) { return DoSlabElemDesignContour(pDC, nElemKey); }
int CForceEngine::DoSCracElementContour(CDC* pDC, UINT nElemKey, UINT) { return DoSlabElemDesignContour(pDC, nElemKey); }

void CForceEngine::OutputSRbarNumbers(CDC* pDC) { OutputSlabElemDesignNumbers(pDC, m_bSRbarData, m_nSRbarUnit); }
void CForceEngine::OutputSCracNumbers(CDC* pDC) { OutputSlabElemDesignNumbers(pDC, m_bSCracData, m_nSCracUnit); }

namespace {

// Double number n of a plate record, counted from its first leading value; 0.0 outside.
double StrpDouble(const T_STRP_DL& rec, int n) {
    if (n < 0 || n >= 24 + 5 * 30) return 0.0;
    return n < 24 ? rec.head[n] : rec.blk[(n - 24) / 30][(n - 24) % 30];
}

}  // namespace

// Mxx and Myy of a block: doubles 20 and 21 of block n, numbers 30 n + 44 and 30 n + 45.
double CForceEngine::CalcSForcMxx(const T_STRP_DL& rec, int nNode) const { return StrpDouble(rec, 30 * nNode + 44); }
double CForceEngine::CalcSForcMyy(const T_STRP_DL& rec, int nNode) const { return StrpDouble(rec, 30 * nNode + 45); }
