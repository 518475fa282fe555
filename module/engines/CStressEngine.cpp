// The data side of CStressEngine: settings, import, the build of the stress records, their
// extremes and colour scale, the value rules and the element axes. The drawing is in
// CStressEngineDraw.cpp.
#include "module/engines/CStressEngine.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/db/CDBDoc.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWaitCursor.h"

namespace {

constexpr double kStressTiny = 1e-15;    // a reference magnitude closer to 0 counts as 1

double LargestExtent(const C3DPoint& lo, const C3DPoint& hi) {
    return std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
}

}  // namespace

int CStressEngine::IsPlateMembType(int nType) { return nType == kTGirderType; }
int CStressEngine::IsWallMembType(int nType) { return nType == 209 || nType == 210; }

int CStressEngine::IsPStrsMember(int nMembType) const {
    if (nMembType == kTGirderType && !m_bIncludeTGirder) return 0;
    return (m_bIncludePlate && IsPlateMembType(nMembType)) || (m_bIncludeWall && IsWallMembType(nMembType)) ? 1 : 0;
}

CStressEngine::CStressEngine(I_PVXModelBase* pModel)
    : m_dRefMagnitude(0.0),
      m_dVectorScale(1.0),
      m_bContour(1),
      m_dVectorFactor(1.0),
      m_bIncludePlate(1),
      m_bIncludeWall(1),
      m_bIncludeTGirder(1),
      m_nNumberPos(0),
      m_bDataReady(0),
      m_nSurface(0),
      m_nComponent(5),
      m_nRefElem(0) {
    m_pModel = pModel;
    // One record per plate element: buckets for a large model, as for the force engine's plate
    // records (with the class library's 17 a large build would take quadratic time).
    m_mapPStrs.InitHashTable(kMapBuckets);
    ResetEngine();
}

CStressEngine::~CStressEngine() {
    m_arrElemKey.RemoveAll();
    m_mapPStrs.RemoveAll();
}

void CStressEngine::ResetEngine() {
    m_dVectorFactor = 1.0;
    m_dVectorScale = 1.0;
    m_bAvgNdlActOnly = 0;
    m_nNumberPos = 0;
    m_bDataReady = 0;
    m_nSurface = 0;
    m_nComponent = 5;
    m_bIncludePlate = 1;
    m_bIncludeWall = 1;
    m_bIncludeTGirder = 1;
    m_arrElemKey.RemoveAll();
    m_mapPStrs.RemoveAll();
}

void CStressEngine::ImportEngine(CStressEngine* pSrc) {
    if (!pSrc || pSrc == this) return;
    CEngineBase::ImportEngine(pSrc);
    // A source without a colour scale leaves this engine's as it is.
    if (pSrc->m_pContourEngine) ImportResultScale(pSrc);
    else m_bCuttingLine = pSrc->m_bCuttingLine;
    m_bDeformed = pSrc->m_bDeformed;
    m_dRefMagnitude = pSrc->m_dRefMagnitude;
    m_dVectorScale = pSrc->m_dVectorScale;
    m_dVectorFactor = pSrc->m_dVectorFactor;
    m_bContour = pSrc->m_bContour;
    m_bAvgNdlActOnly = pSrc->m_bAvgNdlActOnly;
    m_bKeepVectorFactor = pSrc->m_bKeepVectorFactor;
    m_dLegendMax = pSrc->m_dLegendMax;
    m_dLegendMin = pSrc->m_dLegendMin;
    m_nNumberPos = pSrc->m_nNumberPos;
    m_bDataReady = pSrc->m_bDataReady;
    m_nRefElem = pSrc->m_nRefElem;
    m_nSurface = pSrc->m_nSurface;
    m_nComponent = pSrc->m_nComponent;
    m_bIncludePlate = pSrc->m_bIncludePlate;
    m_bIncludeWall = pSrc->m_bIncludeWall;
    m_bIncludeTGirder = pSrc->m_bIncludeTGirder;

    m_mapPStrs.RemoveAll();
    for (POSITION pos = pSrc->m_mapPStrs.GetStartPosition(); pos;) {
        UINT key = 0;
        T_STRP_DL rec;
        pSrc->m_mapPStrs.GetNextAssoc(pos, key, rec);
        m_mapPStrs[key] = rec;
    }
    for (POSITION pos = pSrc->m_mapKey.GetStartPosition(); pos;) {
        UINT key = 0, value = 0;
        pSrc->m_mapKey.GetNextAssoc(pos, key, value);
        m_mapKey[key] = value;
    }
    // The cutting-line diagrams go with the data, so that the model's engine draws them.
    m_arrCutLine.Copy(pSrc->m_arrCutLine);
    ResetCuttingLineData();
    for (INT_PTR i = 0; i < pSrc->m_arrCutLineData.GetSize(); ++i) {
        auto* pPieces = new CArray<T_CUTLINE_D, const T_CUTLINE_D&>;
        pPieces->Copy(*pSrc->m_arrCutLineData[i]);
        m_arrCutLineData.Add(pPieces);
    }
    m_arrCutLineMinMax.Copy(pSrc->m_arrCutLineMinMax);
}

int CStressEngine::InitEngine(CDeformEngine*, int nMode) {
    m_bDataReady = 0;
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    pModel->SelectLoad();
    if (nMode == -1) nMode = CPVXBarContainerBase::m_nCurrentMode;
    if (nMode == PVXMode::kPlateStress) MakePStrsDataList();
    return m_bDataReady;
}

int CStressEngine::GetPlateStress(UINT nKey, T_STRP_DL& out) const {
    if (m_mapPStrs.GetCount() == 0) return 0;
    const auto* pPair = m_mapPStrs.PLookup(nKey);
    if (!pPair) return 0;
    out = pPair->value;
    return 1;
}

// ---- value rules --------------------------------------------------------------------------------

double CStressEngine::CalcPStrsValue(const T_STRP_DL& rec, int nPoint, int nSurface) const {
    if (nPoint < 0 || nPoint > kCornerBlocks || nSurface < 0 || nSurface > 1) return 0.0;
    const double* b = rec.blk[nPoint];
    switch (m_nComponent) {
    case 0: case 1: case 2: case 3: case 4: return b[7 * nSurface + m_nComponent];
    case 5: return b[7 * nSurface + 6];   // the effective stress; position 5 is the angle
    case 6: return b[28 + nSurface];
    default: return 0.0;
    }
}

double CStressEngine::GetMaxElemPStrs(const T_STRP_DL& rec, int nNodes, int bBoth) const {
    double v = -DBL_MAX;
    auto take = [&v](double x) {
        if (x >= v) v = x;
    };
    if (m_nComponent == 7) {
        take(rec.blk[0][3]);
        take(rec.blk[0][4]);
        if (bBoth) {
            take(rec.blk[0][10]);
            take(rec.blk[0][11]);
        }
        return v;
    }
    // The record holds four corner blocks: a larger sub-element reads no further.
    const int n = std::min(nNodes, kCornerBlocks);
    for (int p = 1; p <= n; ++p) {
        take(CalcPStrsValue(rec, p, 0));
        if (bBoth) take(CalcPStrsValue(rec, p, 1));
    }
    return v;
}

double CStressEngine::GetMinElemPStrs(const T_STRP_DL& rec, int nNodes, int bBoth) const {
    double v = DBL_MAX;
    auto take = [&v](double x) {
        if (x <= v) v = x;
    };
    if (m_nComponent == 7) {
        take(rec.blk[0][3]);
        take(rec.blk[0][4]);
        if (bBoth) {
            take(rec.blk[0][10]);
            take(rec.blk[0][11]);
        }
        return v;
    }
    const int n = std::min(nNodes, kCornerBlocks);
    for (int p = 1; p <= n; ++p) {
        take(CalcPStrsValue(rec, p, 0));
        if (bBoth) take(CalcPStrsValue(rec, p, 1));
    }
    return v;
}

int CStressEngine::IsPossiblePStrs(const T_PELEM_D& elem) const {
    T_PELEM_D rec = elem;
    if (CPVXSElemCtrl::IsSuperElem(rec) && !CPVXAttrCtrl::IsNormalElemResult(rec)) return 1;
    // Plates, and the panels of walls and T-girders.
    return CClassPElem::IsPlate(elem.type) || CPVXAttrCtrl::IsPlaneElemType(elem.type) ? 1 : 0;
}

void CStressEngine::GetActivePlaneList() {
    m_arrElemKey.RemoveAll();
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    if (!pAttr) return;
    CPVXSElemCtrl se;
    for (INT_PTR m = 0; m < pModel->m_arrAllMembKey.GetSize(); ++m) {
        T_PMEMB_D memb;
        if (!pAttr->GetMemb(pModel->m_arrAllMembKey[m], memb)) continue;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            T_PELEM_D elem;
            elem.Initialize();
            if (!pAttr->GetElem(memb.aElem[e], elem) || !IsPossiblePStrs(elem)) continue;
            se.GetSuperElemNodeKeys(memb.aElem[e], m_arrElemKey);
        }
    }
}

void CStressEngine::GetUCSVector(const T_NUCS_D& ucs, double axes[3][3]) {
    for (int k = 0; k < 3; ++k) {
        axes[0][k] = ucs.dir1[k];
        axes[1][k] = ucs.dir2[k];
    }
    CMathFunc::mathCross(axes[0], axes[1], axes[2]);
    for (int i = 0; i < 3; ++i) CMathFunc::mathNormalize(axes[i]);
}

void CStressEngine::InitVectorAdjustFactor(double dRef) {
    if (m_bKeepVectorFactor) return;
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    T_PVX_SBEM_D sbem;
    if (!pAttr || !pAttr->ExistElem(m_nRefElem) || !GetSbemD(m_nRefElem, sbem)) {
        m_dVectorFactor = 1.0;
        return;
    }
    C3DPoint lo, hi;
    const double L = pModel->GetRangeModel(&lo, &hi, 1) ? LargestExtent(lo, hi) : 0.0;
    // The reference element's box from the corners of its shape.
    double E = 0.0;
    if (sbem.m_arrNode.GetSize() > 0) {
        const T_PNODE_D& n0 = sbem.m_arrNode[0];
        lo = hi = C3DPoint(n0.x, n0.y, n0.z);
        for (INT_PTR i = 1; i < sbem.m_arrNode.GetSize(); ++i) {
            const T_PNODE_D& n = sbem.m_arrNode[i];
            lo = C3DPoint(std::min(lo.x, n.x), std::min(lo.y, n.y), std::min(lo.z, n.z));
            hi = C3DPoint(std::max(hi.x, n.x), std::max(hi.y, n.y), std::max(hi.z, n.z));
        }
        E = LargestExtent(lo, hi);
    }
    if (dRef > -kStressTiny && dRef < kStressTiny) dRef = 1.0;
    m_dVectorFactor = std::max(0.35 * E, 0.025 * L) / dRef;
}

int CStressEngine::CalcSElemLocalVec(UINT, const T_PELEM_D& elem, double axes[3][3], CPVXSElemCtrl* pSElem,
                                     double dAngle, int bUnit) {
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k) axes[i][k] = 0.0;
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    if (!pAttr) return 0;
    const int nNode = std::min(elem.nNode, static_cast<int>(PELEM_MAX_NODE));
    double pts[PELEM_MAX_NODE][3];
    for (int i = 0; i < nNode; ++i) {
        T_PNODE_D node;
        node.Initialize();
        if (!pAttr->GetNode(elem.node[i], node)) return 0;
        pts[i][0] = node.x;
        pts[i][1] = node.y;
        pts[i][2] = node.z;
    }
    bool bMatched = false;
    if (CPVXAttrCtrl::IsWallElemType(elem.type) || elem.type == kTGirderType) {
        if (nNode < 4 || !CClassPElem::calcPlaneLocalVector(4, pts, axes)) return 0;
        bMatched = true;
    }
    if (CPVXSElemCtrl::IsSuperElem(elem)) {
        if (!pSElem || !pSElem->CalcSuperElemLocalVector(axes)) return 0;
        bMatched = true;
    }
    if (CClassPElem::IsPlate(elem.type)) {
        if (bUnit) {
            for (int i = 0; i < 3; ++i)
                for (int k = 0; k < 3; ++k) axes[i][k] = i == k ? 1.0 : 0.0;
        } else if (nNode < 3 || !pModel->GetGeomCtrl() ||
                   !pModel->GetGeomCtrl()->CalcPlaneLocalVectorByType(3, pts, axes)) {
            return 0;
        }
        bMatched = true;
    }
    if (!bMatched) return 0;
    const C3DPoint z(axes[2][0], axes[2][1], axes[2][2]);
    for (int i = 0; i < 2; ++i) {
        C3DPoint v(axes[i][0], axes[i][1], axes[i][2]);
        CMathFunc::mathRotate(dAngle, z, v);
        axes[i][0] = v.x;
        axes[i][1] = v.y;
        axes[i][2] = v.z;
    }
    for (int i = 0; i < 3; ++i) CMathFunc::mathNormalize(axes[i]);
    return 1;
}

// ---- build --------------------------------------------------------------------------------------

int CStressEngine::MakePStrsDataList() {
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    if (!pAttr || !pModel->m_bResultDataReady) return 0;
    CWaitCursor wait;

    m_arrElemKey.RemoveAll();
    m_mapPStrs.RemoveAll();
    m_mapSbem.RemoveAll();
    const CArray<UINT, UINT>& membs = pModel->m_arrAllMembKey;
    CPVXSElemCtrl se;
    for (INT_PTR m = 0; m < membs.GetSize(); ++m) {
        T_PMEMB_D memb;
        if (!pAttr->GetMemb(membs[m], memb)) continue;
        if (!IsPStrsMember(memb.type)) continue;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            const UINT elemKey = memb.aElem[e];
            T_PELEM_D elem;
            elem.Initialize();
            if (!pAttr->GetElem(elemKey, elem) || !IsPossiblePStrs(elem)) continue;
            CArray<UINT, UINT> resultKeys;
            se.GetSuperElemNodeKeys(elemKey, resultKeys);
            se.GetSuperElemData(elemKey);
            double axes[3][3];
            // Stresses are given in the element's axes, turned by its angle.
            if (!CalcSElemLocalVec(elemKey, elem, axes, &se, elem.beta, 0)) {
                se.InitSuperElemRecords();
                continue;
            }
            for (INT_PTR r = 0; r < resultKeys.GetSize(); ++r) {
                T_PVX_SBEM_D sbem;
                sbem.m_nKey = resultKeys[r];
                if (!se.GetSuperElemShapeNodes(resultKeys[r], sbem.m_arrNodeKey, &sbem.m_arrNode)) continue;
                if (MakePStrsDataList_Sub(resultKeys[r])) m_mapSbem[resultKeys[r]] = sbem;
            }
            se.InitSuperElemRecords();
        }
    }
    MakePStrsDataList_MnMx();
    if (m_bCuttingLine) MakeCuttingLineData();
    m_bDataReady = 1;
    return 1;
}

int CStressEngine::MakePStrsDataList_Sub(UINT nKey) {
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    if (!pDoc) return 0;
    T_STRP_DL rec;
    rec.Initialize();
    T_STRP_DL* slots[3] = {nullptr, nullptr, nullptr};
    switch (pModel->m_nLoadStep) {
    case 0: case 1: slots[0] = &rec; break;
    case 2: slots[1] = &rec; break;
    case 3: slots[2] = &rec; break;
    default: return 0;
    }
    if (!pDoc->GetPostCtrl()->GetStrp_L(nKey, slots[0], slots[1], slots[2], 0)) return 0;

    for (auto& b : rec.blk) {
        if (m_nSurface == 1) {
            for (int i = 0; i < 7; ++i) b[i] = b[7 + i];
        } else if (m_nSurface == 3) {
            for (int i = 0; i < 7; ++i)
                if (std::fabs(b[7 + i]) > std::fabs(b[i])) b[i] = b[7 + i];
        }
    }
    m_arrElemKey.Add(nKey);
    m_mapPStrs[nKey] = rec;
    return 1;
}

int CStressEngine::MakePStrsDataList_MnMx() {
    I_PVXModel* pModel = GetModel();
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    UINT nMaxKey = 0, nMinKey = 0;
    double dRef = -DBL_MAX;
    const int bBoth = m_nSurface == 2;
    for (INT_PTR i = 0; i < m_arrElemKey.GetSize(); ++i) {
        // Looked up in place: a record is 1.4 KB and a shape record owns two arrays.
        const UINT key = m_arrElemKey[i];
        const auto* pRec = m_mapPStrs.PLookup(key);
        const auto* pSbem = m_mapSbem.PLookup(key);
        if (!pRec || !pSbem) continue;
        const int n = static_cast<int>(pSbem->value.m_arrNodeKey.GetSize());
        const double emax = GetMaxElemPStrs(pRec->value, n, bBoth);
        const double emin = GetMinElemPStrs(pRec->value, n, bBoth);
        // An element without corner values has no extremes.
        if (emax == -DBL_MAX || emin == DBL_MAX) continue;
        if (emax > dMax) {
            dMax = emax;
            nMaxKey = key;
        }
        if (std::fabs(emax) > dRef) {
            dRef = std::fabs(emax);
            m_nRefElem = key;
        }
        if (emin < dMin) {
            dMin = emin;
            nMinKey = key;
        }
        if (std::fabs(emin) > dRef) {
            dRef = std::fabs(emin);
            m_nRefElem = key;
        }
    }
    if (dMax == -DBL_MAX || dMin == DBL_MAX) {
        dMax = dMin = 0.0;
        nMaxKey = nMinKey = 0;
        dRef = 0.0;
        m_nRefElem = 0;
    }
    m_dRefMagnitude = dRef;
    if (pModel) {
        pModel->m_nMaxKey = nMaxKey;
        pModel->m_nMinKey = nMinKey;
    }
    m_dLegendMax = dMax;
    m_dLegendMin = dMin;

    StartScale(dMin, dMax);
    for (INT_PTR i = 0; i < m_arrElemKey.GetSize(); ++i) {
        const auto* pRec = m_mapPStrs.PLookup(m_arrElemKey[i]);
        if (!pRec) continue;
        if (m_nComponent == 7) {
            // The vectors show the principal stresses of the centre: those are what the scale
            // spans and the arrows are coloured by (the vector component itself has no value).
            const double* b = pRec->value.blk[0];
            for (double v : {b[3], b[4]}) m_pContourEngine->AddPecentRankMapData(v, 1.0);
            if (bBoth)
                for (double v : {b[10], b[11]}) m_pContourEngine->AddPecentRankMapData(v, 1.0);
            continue;
        }
        for (int p = 0; p <= kCornerBlocks; ++p) {
            m_pContourEngine->AddPecentRankMapData(CalcPStrsValue(pRec->value, p, 0), 1.0);
            if (bBoth) m_pContourEngine->AddPecentRankMapData(CalcPStrsValue(pRec->value, p, 1), 1.0);
        }
    }
    m_pContourEngine->FinishPecentRankMapData();
    return 1;
}

void CStressEngine::GetNodalValueforCutting(UINT nKey, double& dValueI, int nI, double& dValueJ, int nJ) {
    T_STRP_DL rec;
    if (!GetPlateStress(nKey, rec)) {
        dValueI = dValueJ = 0.0;
        return;
    }
    // Corner i of the element is block i + 1; corners past the fourth read the centre.
    dValueI = CalcPStrsValue(rec, nI >= 0 && nI < kCornerBlocks ? nI + 1 : 0, 0);
    dValueJ = CalcPStrsValue(rec, nJ >= 0 && nJ < kCornerBlocks ? nJ + 1 : 0, 0);
}
