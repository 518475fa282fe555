// CForceEngine: the slab's design forces at wall ends (display mode 20). Every wall end (member
// type 202) gets a cut of m_dSWallWidth across the wall, square to it in plan and centred on the
// end node; the host's cutting-line utility gives the slab's design moment, shear and
// reinforcement across it. Drawn as red cuts over the plain model, one number per wall end.
#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/base/GeomTypes.h"
#include "host/db/CCuttingLine.h"
#include "module/contour/CContourEngine.h"
#include "host/db/DBTables.h"
#include "host/grx/GRE_Atom.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/engines/KeyedRange.h"
#include "module/force/CForceEngine.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/engines/OptionScope.h"
#include "platform/ui/CWaitCursor.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/I_PVXModel.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CSelectScope.h"

namespace {

// The value written at a wall end for the page's choice: 0 moment, 1 shear, 2 reinforcement;
// false for an end without design values or another choice (nothing is written there).
bool SWallValue(const T_PVX_SWALL_D& rec, int nComp, double& v) {
    if (!rec.bDesigned) return false;
    switch (nComp) {
    case 0: v = rec.dMoment; return true;
    case 1: v = rec.dShear; return true;
    case 2: v = rec.dRebar; return true;
    default: return false;
    }
}

}  // namespace

int CForceEngine::MakeSWallDataList() {
    ForgetKeptLists();
    CWaitCursor wait;
    // A build that stops half-way must not leave the earlier data shown as built.
    m_bSWallBuilt = 0;
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;
    CPVXAttrCtrl& attr = *pModel->m_pAttrCtrl;
    const CArray<UINT, UINT>& membs = pModel->m_arrActiveMembKey;

    m_arrSWall.RemoveAll();
    m_arrSWallKey2.RemoveAll();
    if (m_bSWallUserKeys == 1 && m_arrSWallKey.GetSize() > 0) {
        m_arrSWallKey2.Copy(m_arrSWallKey);
    } else {
        for (INT_PTR i = 0; i < membs.GetSize(); ++i) {
            T_PMEMB_D memb;
            if (attr.GetMemb(membs[i], memb) && memb.type == 202) m_arrSWallKey2.Add(membs[i]);
        }
    }
    for (INT_PTR i = 0; i < m_arrSWallKey2.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!attr.GetMemb(m_arrSWallKey2[i], memb) || !MakeSWallWColDataList(m_arrSWallKey2[i], memb)) return 0;
    }

    // The slab elements under the cuts: every analysis element of the active slab members.
    m_mapSbem.RemoveAll();
    CPVXSElemCtrl ctrl;
    CArray<UINT, UINT> subKeys;
    T_PVX_SBEM_D sbem;
    for (INT_PTR i = 0; i < membs.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!attr.GetMemb(membs[i], memb)) return 0;
        if (!CPVXAttrCtrl::IsSlabMembType(memb.type)) continue;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            const UINT elemKey = memb.aElem[e];
            T_PELEM_D elem;
            if (!IsPossibleSForc(elemKey) || !attr.GetElem(elemKey, elem)) continue;
            subKeys.RemoveAll();
            ctrl.GetSuperElemNodeKeys(elemKey, subKeys);
            ctrl.GetSuperElemData(elemKey);
            for (INT_PTR s = 0; s < subKeys.GetSize(); ++s) {
                if (!ctrl.GetSuperElemShapeNodes(subKeys[s], sbem.m_arrNodeKey, &sbem.m_arrNode) ||
                    sbem.m_arrNodeKey.GetSize() < 3)
                    continue;
                sbem.m_nKey = subKeys[s];
                m_mapSbem.SetAt(subKeys[s], sbem);
            }
            ctrl.InitSuperElemRecords();
        }
    }
    if (!m_pContourEngine) m_pContourEngine = new CContourEngine;

    CArray<UINT, UINT> slabKeys;
    UINT key = 0;
    for (POSITION pos = m_mapSbem.GetStartPosition(); pos;) {
        m_mapSbem.GetNextAssoc(pos, key, sbem);
        slabKeys.Add(key);
    }
    const int bSlabLoadKind = CPVXAttrCtrl::IsSlabForceLoadType(static_cast<int>(pModel->m_nLoadType)) ? 1 : 0;
    CCuttingLine cutting;
    for (INT_PTR i = 0; i < m_arrSWall.GetSize(); ++i) {
        T_PVX_SWALL_D& rec = m_arrSWall[i];
        const double dCut = math_lib::distance_2d(rec.dCut1[0], rec.dCut1[1], rec.dCut2[0], rec.dCut2[1]);
        T_PMEMB_D memb;
        T_PNODE_D first, last;
        if (!attr.GetMemb(rec.nWallKey, memb) || memb.aNode.GetSize() < 1 || !attr.GetNode(memb.aNode[0], first) ||
            !attr.GetNode(memb.aNode[memb.aNode.GetSize() - 1], last))
            continue;
        const T_LINE2D line(T_POINT2D(first.x, first.y), T_POINT2D(last.x, last.y));
        double values[3] = {0.0, 0.0, 0.0};
        if (cutting.GetWallDesignForce(line, rec.nEnd, dCut, pModel->m_nLoadKey, slabKeys, values, bSlabLoadKind)) {
            rec.dMoment = values[0];
            rec.dShear = values[1];
            rec.dRebar = values[2];
            rec.bDesigned = 1;
        } else {
            // No design across this cut: no value, which is not a zero force.
            rec.dMoment = rec.dShear = rec.dRebar = 0.0;
            rec.bDesigned = 0;
        }
    }
    // Without a wall there is nothing to show: the mode draws the plain model.
    if (m_arrSWall.GetSize() == 0) return 0;
    FinishMakeSWallData();
    m_bSWallBuilt = 1;
    return 1;
}

void CForceEngine::FinishMakeSWallData() {
    // The legend ranges the numbers written at the wall ends and names the wall of each extreme
    // (the first in wall order on a tie); each written number weighs once in the percentages.
    KeyedRange r;
    for (INT_PTR i = 0; i < m_arrSWall.GetSize(); ++i) {
        double v;
        if (SWallValue(m_arrSWall[i], m_nSWallComp, v)) r.Add(m_arrSWall[i].nWallKey, v);
    }
    m_dLegendMax = r.dMax;
    m_dLegendMin = r.dMin;
    if (I_PVXModel* pModel = GetModel()) {
        pModel->m_nMaxKey = r.nMaxKey;
        pModel->m_nMinKey = r.nMinKey;
    }
    CContourEngine& s = StartScale(r.dMin, r.dMax);
    for (INT_PTR i = 0; i < m_arrSWall.GetSize(); ++i) {
        double v;
        if (SWallValue(m_arrSWall[i], m_nSWallComp, v)) s.AddPecentRankMapData(v, 1.0);
    }
    s.FinishPecentRankMapData();
}

int CForceEngine::MakeSWallWColDataList(UINT nWallKey, T_PMEMB_D memb) {
    CWaitCursor wait;
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;
    const INT_PTR n = memb.aNode.GetSize();
    if (n < 2) return 0;
    for (int nEnd = 0; nEnd < 2; ++nEnd) {
        const UINT keyA = nEnd == 0 ? memb.aNode[0] : memb.aNode[n - 1];
        const UINT keyB = nEnd == 0 ? memb.aNode[1] : memb.aNode[n - 2];
        T_PNODE_D a, b;
        if (!pModel->m_pAttrCtrl->GetNode(keyA, a) || !pModel->m_pAttrCtrl->GetNode(keyB, b)) return 0;
        T_LINE_G line(T_POINT3D(a.x, a.y, a.z), T_POINT3D(b.x, b.y, b.z));
        T_POINT3D p;
        if (!line.GetPosByLength(p, m_dSWallWidth / 2.0)) return 0;
        // Half the cut on either side of the wall, square to it in plan, centred on the end node.
        T_PVX_SWALL_D rec;
        rec.nWallKey = nWallKey;
        rec.nEnd = nEnd;
        double* cuts[2] = {rec.dCut1, rec.dCut2};
        for (int k = 0; k < 2; ++k) {
            double x = p.x, y = p.y, z = p.z;
            CMathFunc::mathRotate(k == 0 ? 90.0 : -90.0, a.x, a.y, a.z, 0.0, 0.0, 1.0, x, y, z);
            cuts[k][0] = x;
            cuts[k][1] = y;
            cuts[k][2] = z;
        }
        rec.dEndNode[0] = a.x;
        rec.dEndNode[1] = a.y;
        rec.dEndNode[2] = a.z;
        rec.dAdjNode[0] = b.x;
        rec.dAdjNode[1] = b.y;
        rec.dAdjNode[2] = b.z;
        m_arrSWall.Add(rec);
    }
    return 1;
}

void CForceEngine::DrawSWallContour(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pModel || !pModel->m_pPVXCtrl) return;
    const int nWidth = pModel->m_nPenFactor > 0 ? pModel->m_nPenFactor : 1;
    {
        CPen pen(PS_SOLID, nWidth, m_pContourEngine ? m_pContourEngine->m_crElemEdge : RGB(0, 0, 0));
        CSelectScope<CPen> selectPen(pDC, &pen);
        pModel->PVXDrawOriginal(pDC, 1);
    }
    CPen red(PS_SOLID, nWidth, RGB(255, 0, 0));
    CSelectScope<CPen> selectRed(pDC, &red);
    for (INT_PTR i = 0; i < m_arrSWall.GetSize(); ++i) {
        const T_PVX_SWALL_D& rec = m_arrSWall[i];
        pModel->m_pPVXCtrl->DrawLine3D(pDC, C3DPoint(rec.dCut1[0], rec.dCut1[1], rec.dCut1[2]),
                                       C3DPoint(rec.dCut2[0], rec.dCut2[1], rec.dCut2[2]), 0.0);
    }
}

void CForceEngine::OutputSWallNumbers(CDC*) {
    I_PVXModel* pModel = GetModel();
    if (!m_bSWallBuilt || !pModel || !pModel->m_pDrawFuncArray) return;
    for (INT_PTR i = 0; i < m_arrSWall.GetSize(); ++i) {
        const T_PVX_SWALL_D& rec = m_arrSWall[i];
        // A wall end without design values gets no number rather than a false zero.
        double dValue;
        if (!SWallValue(rec, m_nSWallComp, dValue)) continue;
        // At the end node (the middle of the cut), written along the wall.
        const double anchor[3] = {0.5 * (rec.dCut1[0] + rec.dCut2[0]), 0.5 * (rec.dCut1[1] + rec.dCut2[1]),
                                  0.5 * (rec.dCut1[2] + rec.dCut2[2])};
        const double axis[6] = {rec.dEndNode[0], rec.dEndNode[1], rec.dEndNode[2],
                                rec.dAdjNode[0], rec.dAdjNode[1], rec.dAdjNode[2]};
        pModel->m_pDrawFuncArray->m_OutputSlabNumber.Push(anchor, axis, 6, dValue);
    }
}
