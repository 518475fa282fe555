// CForceEngine: the cutting-line records of slab strips (display mode 21) and rib beams (mode
// 22, per element) from the host's design forces, and their legend range and colour scale.
//
// The host gives a line's bending moment and shear force at five stations, 0, 1/4, 1/2, 3/4 and
// 1 of its length; a record keeps them at the nine stations k/8 of the beam layout, the odd
// eighths the mean of their neighbours.
#include <cfloat>
#include <cmath>

#include "host/base/CMsgOutWnd.h"
#include "host/db/CCuttingLine.h"
#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CWaitCursor.h"

namespace {

using forceshared::kSegments;
constexpr int kFirstStation = 11;  // first moment of T_STRESS_RESULT; the shear follows each

// The force block of a record from the five host stations: station j/8 takes pair j/2 for even
// j and the mean of its neighbours for odd j; moment into component 0, shear into component 3.
void FillForceBlock(const T_STRESS_RESULT& r, T_STRG_D& f) {
    f.Initialize();
    double m[kSegments + 1], v[kSegments + 1];
    for (int j = 0; j <= kSegments; ++j) {
        const int a = j / 2, b = (j + 1) / 2;
        m[j] = 0.5 * (r.d[kFirstStation + 2 * a] + r.d[kFirstStation + 2 * b]);
        v[j] = 0.5 * (r.d[kFirstStation + 2 * a + 1] + r.d[kFirstStation + 2 * b + 1]);
    }
    for (int s = 0; s < kSegments; ++s)
        for (int e = 0; e < 2; ++e) {
            f.d[(e + 2 * s) * 6 + 0] = m[s + e];
            f.d[(e + 2 * s) * 6 + 3] = v[s + e];
        }
}

// Appends a line to the engine's records with its forces from r, widening the force range.
void AddLine(CForceEngine& e, const T_STRESS_RESULT& r, T_PVX_CLFC_D& rec) {
    FillForceBlock(r, rec.Forc);
    e.MinMaxMembCLForc(rec.Forc, e.m_dBForcMax, e.m_dBForcMin);
    e.m_arrCLForc.Add(rec);
    e.m_bCLForcData = 1;
}

}  // namespace

int CForceEngine::MakeSStripDataList() {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;
    CWaitCursor wait;
    // The slab elements the host integrates a strip's forces over.
    CArray<UINT, UINT> slabElems;
    const CArray<UINT, UINT>& keys = pModel->m_arrAllMembKey;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!pModel->m_pAttrCtrl->GetMemb(keys[i], memb)) return 0;
        if (!CPVXAttrCtrl::IsSlabMembType(memb.type)) continue;
        for (INT_PTR k = 0; k < memb.aElem.GetSize(); ++k)
            if (IsPossibleSForc(memb.aElem[k])) slabElems.Add(memb.aElem[k]);
    }
    if (!m_pContourEngine) m_pContourEngine = new CContourEngine;

    m_dBForcMax = -DBL_MAX;
    m_dBForcMin = DBL_MAX;
    const int slabLoadKind = CPVXAttrCtrl::IsSlabForceLoadType(static_cast<int>(pModel->m_nLoadType)) ? 1 : 0;
    m_arrCLForc.RemoveAll();
    CCuttingLine host;
    for (INT_PTR i = 0; i < m_arrStripInfo.GetSize(); ++i) {
        const T_STRIP_INFO& s = m_arrStripInfo[i];
        T_LINE2D line(T_POINT2D(s.x1, s.y1), T_POINT2D(s.x2, s.y2));
        T_STRESS_RESULT r;
        if (!host.GetStripDesignForce(line, s.dWidth, pModel->m_nLoadKey, slabElems, r, slabLoadKind)) {
            // A strip the host has no forces for is left out: a zero diagram would pass for a
            // result.
            CString msg;
            msg.Format("Strip %s: no design forces for the selected load", static_cast<LPCTSTR>(s.strName));
            GMsgOutNF(msg);
            continue;
        }
        T_PVX_CLFC_D rec;
        rec.strName = s.strName;
        rec.dWidth = s.dWidth;
        rec.dX1 = s.x1;
        rec.dY1 = s.y1;
        rec.dX2 = s.x2;
        rec.dY2 = s.y2;
        AddLine(*this, r, rec);
    }
    return 1;
}

int CForceEngine::MakeSBForcDataList() {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady) return 0;
    CWaitCursor wait;
    if (!m_pContourEngine) m_pContourEngine = new CContourEngine;
    m_dBForcMax = -DBL_MAX;
    m_dBForcMin = DBL_MAX;
    const int slabLoadKind = CPVXAttrCtrl::IsSlabForceLoadType(static_cast<int>(pModel->m_nLoadType)) ? 1 : 0;
    m_arrCLForc.RemoveAll();
    CArray<T_STRESS_RESULT, T_STRESS_RESULT&> results;
    CCuttingLine host;
    // A failed query leaves no record: what it left in the array is not a result.
    if (!host.GetRibDesignForce(pModel->m_nLoadKey, results, slabLoadKind)) results.RemoveAll();
    for (INT_PTR i = 0; i < results.GetSize(); ++i) {
        const T_STRESS_RESULT& r = results[i];
        T_PVX_CLFC_D rec;
        rec.dWidthPos = r.d[0];
        rec.dWidthNeg = r.d[1];
        rec.dWidth = r.d[2];
        rec.dX1 = r.d[3];
        rec.dY1 = r.d[4];
        rec.dZ1 = r.d[5];
        rec.dX2 = r.d[6];
        rec.dY2 = r.d[7];
        rec.dZ2 = r.d[8];
        rec.dArc = r.d[9];
        AddLine(*this, r, rec);
    }
    return 1;
}

int CForceEngine::MakeSBForcDataListMemb() {
    ForgetKeptLists();
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;
    CWaitCursor wait;
    m_arrElemKey.RemoveAll();
    const CArray<UINT, UINT>& keys = pModel->m_arrAllMembKey;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!pModel->m_pAttrCtrl->GetMemb(keys[i], memb)) return 0;
        // A slab member without a slab record has no result type (-1): nothing to show.
        if (CPVXAttrCtrl::IsSlabMembType(memb.type) && GetSlabResultType(keys[i]) > 0) m_arrElemKey.Add(keys[i]);
    }
    // A slab whose moments the host does not keep for this load is drawn plain.
    KeepSlabMembersWithMoments();
    return MakeSForcDataListMemb_MnMx();
}

void CForceEngine::FinishMakeCLForcData() {
    I_PVXModel* pModel = GetModel();
    const bool bNoStrips = pModel && pModel->m_nDisplayMode == PVXMode::kSlabStrip && m_arrStripInfo.GetSize() == 0;
    if (!m_bCLForcData || bNoStrips || !(m_dBForcMax >= m_dBForcMin)) {
        m_dLegendMax = m_dLegendMin = 0.0;
    } else {
        m_dLegendMax = m_dBForcMax;
        m_dLegendMin = m_dBForcMin;
    }
    // The lines are no members: the legend names none (the frame builder's keys would be stale).
    if (pModel) pModel->m_nMaxKey = pModel->m_nMinKey = 0;
    InitBSfdBmdAdjustFactor(std::fabs(m_dLegendMin) > std::fabs(m_dLegendMax) ? m_dLegendMin : m_dLegendMax);

    CContourEngine& s = StartScale(m_dLegendMin, m_dLegendMax);
    constexpr double kStationWeight = 1.0 / 9.0;
    for (INT_PTR i = 0; i < m_arrCLForc.GetSize(); ++i) {
        const T_STRG_D& f = m_arrCLForc[i].Forc;
        for (int seg = 0; seg < kSegments; ++seg) s.AddPecentRankMapData(CalcCLForcValue(f, seg, 0), kStationWeight);
        s.AddPecentRankMapData(CalcCLForcValue(f, kSegments - 1, 1), kStationWeight);
    }
    s.FinishPecentRankMapData();
}
