// CForceEngine: the wall force lists of display modes 8 and 9 and the values the wall drawers
// share.
//
// Every wall member is read through its wall record (CClassPWall, by member key): a wall-column
// (209) has four force blocks (bottom, top and the member's two optional inner stations) in
// table MBWC, a wall-beam (210) eight segments in table MBWB, both under the wall's result
// number. The build keeps the forces and one record per wall (its extremes for the component and
// the points its numbers stand at), the legend range with the members that hold it, the colour
// scale weighted so that every wall counts once, and the diagram scale.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "host/db/CDBDoc.h"
#include "host/db/CMDBCtrl.h"
#include "host/db/CPostCtrl.h"
#include "host/db/DBTables.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CWaitCursor.h"

namespace {

using forceshared::kZeroValue;
using forceshared::kSegments;
using forceshared::kAlignTop;
using forceshared::kAlignBottom;
using forceshared::SlotOfLoadStep;

double Lerp(double a, double b, double r) { return (1.0 - r) * a + r * b; }

// num / den, or 0 when den is 0 (both lengths of an interpolation vanish).
double Ratio(double num, double den) { return den > 0.0 ? num / den : 0.0; }

C3DPoint Mid(const C3DPoint& a, const C3DPoint& b) { return (a + b) * 0.5; }

}  // namespace

int CForceEngine::IsPossibleWForc(const T_PMEMB_D& memb) { return CPVXAttrCtrl::IsWallElemType(memb.type) ? 1 : 0; }

int CForceEngine::MakeWForcDataList() {
    ForgetKeptLists();
    CWaitCursor wait;
    OptionScope comp(m_nBForcComp, m_nWForcComp);
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    if (!pModel || !pDoc || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;

    m_arrWColmKey.RemoveAll();
    m_mapWColmForc.RemoveAll();
    m_arrWBeamKey.RemoveAll();
    m_mapWBeamForc.RemoveAll();
    m_mapWBeam.RemoveAll();
    m_mapWColm.RemoveAll();
    m_mapSbem.RemoveAll();

    CClassPWall walls;
    walls.ConnectToDB(pDoc->GetMDBCtrl()->GetDBPost());
    m_dBForcMax = -DBL_MAX;
    m_dBForcMin = DBL_MAX;
    m_nMaxMembKey = m_nMinMembKey = 0;
    const CArray<UINT, UINT>& keys = pModel->m_arrAllMembKey;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const UINT key = keys[i];
        T_PMEMB_D memb;
        T_PWALL_D wall;
        if (!pModel->m_pAttrCtrl->GetMemb(key, memb) || !IsPossibleWForc(memb) || !walls.Get(key, wall)) continue;
        if (memb.type == 209)
            MakeWForcDataListC(key, wall.resultNo, m_dBForcMax, m_dBForcMin, wall);
        else if (memb.type == 210)
            MakeWForcDataListB(key, wall.resultNo, m_dBForcMax, m_dBForcMin, wall);
    }

    // Without a recorded wall (none in the model, none read, or walls of other types only) the
    // range is empty rather than the limits of double.
    if (!(m_dBForcMax >= m_dBForcMin)) {
        m_dBForcMax = m_dBForcMin = 0.0;
        m_nMaxMembKey = m_nMinMembKey = 0;
    }
    const double dMax = m_dBForcMax, dMin = m_dBForcMin;
    pModel->m_nMaxKey = m_nMaxMembKey;
    pModel->m_nMinKey = m_nMinMembKey;
    m_dLegendMax = dMax;
    m_dLegendMin = dMin;
    InitWSfdBmdAdjustFactor(std::fabs(dMin) > std::fabs(dMax) ? dMin : dMax);

    // Every wall weighs 1: a wall-beam's nine stations 1/9 each, a wall-column's blocks 1/n each.
    CContourEngine& s = StartScale(dMin, dMax);
    for (INT_PTR i = 0; i < m_arrWBeamKey.GetSize(); ++i) {
        const auto* p = m_mapWBeamForc.PLookup(m_arrWBeamKey[i]);
        if (!p) continue;
        for (int seg = 0; seg < kSegments; ++seg) s.AddPecentRankMapData(CalcBForcValue(p->value, seg, 0), 1.0 / 9.0);
        s.AddPecentRankMapData(CalcBForcValue(p->value, kSegments - 1, 1), 1.0 / 9.0);
    }
    for (INT_PTR i = 0; i < m_arrWColmKey.GetSize(); ++i) {
        const UINT key = m_arrWColmKey[i];
        const auto* p = m_mapWColmForc.PLookup(key);
        T_PMEMB_D memb;
        if (!p || !pModel->m_pAttrCtrl->GetMemb(key, memb)) continue;
        const bool use[4] = {true, true, memb.node3 != 0, memb.node4 != 0};
        const int n = 2 + (use[2] ? 1 : 0) + (use[3] ? 1 : 0);
        for (int b = 0; b < 4; ++b)
            if (use[b]) s.AddPecentRankMapData(CalcCForcValue(p->value, m_nWForcComp, b), 1.0 / n);
    }
    s.FinishPecentRankMapData();
    // A selected load alone is no data: the mode then shows the plain model.
    if (m_arrWColmKey.GetSize() + m_arrWBeamKey.GetSize() == 0) return 0;
    m_bWForcData = 1;
    return 1;
}

int CForceEngine::MakeWForcDataListC(UINT nMembKey, UINT nResultNo, double& dMax, double& dMin, T_PWALL_D& wall) {
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    CPostCtrl* pPost = pDoc ? pDoc->GetPostCtrl() : nullptr;
    if (!pPost) return 0;
    T_MBCL_D forc;
    forc.Initialize();
    // A load-result kind the host does not know reads nothing: the wall shows zero forces.
    const int nSlot = SlotOfLoadStep(pModel->m_nLoadStep);
    if (nSlot >= 0) {
        T_MBCL_D* slots[3] = {nullptr, nullptr, nullptr};
        slots[nSlot] = &forc;
        if (!pPost->GetMbwc(nResultNo, slots[0], slots[1], slots[2], 0)) return 0;
    }
    MinMaxMembCForc(nMembKey, forc, dMax, dMin);
    m_arrWColmKey.Add(nMembKey);
    m_mapWColmForc.SetAt(nMembKey, forc);

    T_PVX_WCOLM_D rec;
    rec.nKey = nMembKey;
    rec.Forc = forc;
    rec.dMax = GetMaxMembCForc(nMembKey, forc);
    rec.dMin = GetMinMembCForc(nMembKey, forc);
    const C3DPoint P1(wall.x1, wall.y1, wall.z1), P2(wall.x2, wall.y2, wall.z2);
    rec.Pnt[0] = P1;
    rec.Pnt[1] = P2;
    rec.Pnt[2] = Mid(P1, P2);
    // The extremes stand where the wall holds them (the bottom, the top, or half-way for an
    // inner station) until a diagram places them, never at the origin.
    auto where = [&](double v) {
        if (CalcCForcValue(forc, m_nWForcComp, 0) == v) return P1;
        if (CalcCForcValue(forc, m_nWForcComp, 1) == v) return P2;
        return rec.Pnt[2];
    };
    rec.Pnt[3] = where(rec.dMax);
    rec.Pnt[4] = where(rec.dMin);
    rec.nComp = 0;
    m_mapWColm.SetAt(nMembKey, rec);
    return 1;
}

int CForceEngine::MakeWForcDataListB(UINT nMembKey, UINT nResultNo, double& dMax, double& dMin, T_PWALL_D& wall) {
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    CPostCtrl* pPost = pDoc ? pDoc->GetPostCtrl() : nullptr;
    if (!pPost) return 0;
    T_STRG_D forc;
    forc.Initialize();
    const int nSlot = SlotOfLoadStep(pModel->m_nLoadStep);
    if (nSlot >= 0) {
        T_STRG_D* slots[3] = {nullptr, nullptr, nullptr};
        slots[nSlot] = &forc;
        if (!pPost->GetMbwg(nResultNo, slots[0], slots[1], slots[2], 0)) return 0;
    }
    MinMaxMembBForc(nMembKey, forc, dMax, dMin);
    m_arrWBeamKey.Add(nMembKey);
    m_mapWBeamForc.SetAt(nMembKey, forc);

    T_PVX_WBEAM_D rec;
    rec.nKey = nMembKey;
    rec.Forc = forc;
    rec.dMax = GetMaxMembBForc(forc);
    rec.dMin = GetMinMembBForc(forc);
    const C3DPoint P1(wall.x1, wall.y1, wall.z1), P2(wall.x2, wall.y2, wall.z2);
    rec.Pnt[0] = P1;
    rec.Pnt[1] = P2;
    rec.Pnt[2] = Mid(P1, P2);
    // The extremes at the station that holds them.
    auto where = [&](double v) {
        for (int st = 0; st <= kSegments; ++st) {
            const double sv = st < kSegments ? CalcBForcValue(forc, m_nWForcComp, st, 0)
                                             : CalcBForcValue(forc, m_nWForcComp, kSegments - 1, 1);
            if (sv == v) return P1 + (P2 - P1) * (static_cast<double>(st) / kSegments);
        }
        return rec.Pnt[2];
    };
    rec.Pnt[3] = where(rec.dMax);
    rec.Pnt[4] = where(rec.dMin);
    rec.nComp = 0;
    m_mapWBeam.SetAt(nMembKey, rec);
    return 1;
}

void CForceEngine::InitWSfdBmdAdjustFactor(double d) {
    I_PVXModel* pModel = GetModel();
    C3DPoint lo, hi;
    double extent = 0.0;
    if (pModel && pModel->GetRangeModel(&lo, &hi, 1)) {
        const C3DPoint e = hi - lo;
        extent = std::max(std::max(e.x, e.y), e.z);
    }
    if (d > -kZeroValue && d < kZeroValue) d = 1.0;
    m_dWSfdBmdAdjustFactor = extent / (std::fabs(d) * 20.0);
}

double CForceEngine::CalcWallColmValueByNode(UINT, const T_PNODE_D& node, const T_PWALL_D& wall, const T_PMEMB_D& memb,
                                             const T_MBCL_D& forc) const {
    const int c = m_nWForcComp;
    const double dBot = std::fabs(node.z - wall.z1), dTop = std::fabs(node.z - wall.z2);
    const I_PVXModel* pModel = GetModel();
    T_PNODE_D inner;
    auto readInner = [&](UINT key) { return key && pModel && pModel->m_pAttrCtrl && pModel->m_pAttrCtrl->GetNode(key, inner); };
    if (readInner(memb.node3)) {
        const double d = node.z - inner.z;
        if (d >= 0.0) return Lerp(CalcCForcValue(forc, c, 2), CalcCForcValue(forc, c, 1), Ratio(d, dTop + d));
        return Lerp(CalcCForcValue(forc, c, 0), CalcCForcValue(forc, c, 2), Ratio(dBot, std::fabs(d) + dBot));
    }
    if (readInner(memb.node4)) {
        const double d = node.z - inner.z;
        if (d >= 0.0) return Lerp(CalcCForcValue(forc, c, 3), CalcCForcValue(forc, c, 1), Ratio(d, dTop + d));
    }
    // A wall without height (bottom and top at one level) takes the mean of its two ends.
    const double r = dTop + dBot > 0.0 ? dBot / (dTop + dBot) : 0.5;
    return Lerp(CalcCForcValue(forc, c, 0), CalcCForcValue(forc, c, 1), r);
}

double CForceEngine::CalcWallBeamValueByNode(const T_PNODE_D& node, const T_PWALL_D& wall, const T_STRG_D& forc) const {
    const double d1 = std::hypot(node.x - wall.x1, node.y - wall.y1);
    const double d2 = std::hypot(node.x - wall.x2, node.y - wall.y2);
    // A node in plan on both ends at once (a wall-beam without plan length) takes the start.
    const double t = d1 + d2 > 0.0 ? kSegments * d1 / (d1 + d2) : 0.0;
    const int n = static_cast<int>(t);
    if (n > kSegments - 1) return CalcBForcValue(forc, kSegments - 1, 1);
    return Lerp(CalcBForcValue(forc, n, 0), CalcBForcValue(forc, n, 1), t - n);
}

UINT CForceEngine::GetWBDgrmTopBotPos(double v, int nComp) const {
    if (CPVXBarContainerBase::m_nCurrentMode == PVXMode::kWallForceContour) return kAlignBottom;
    switch (nComp) {
    case 0: case 2: case 5: return v < 0.0 ? kAlignTop : kAlignBottom;
    case 1: case 3: case 4: return v > 0.0 ? kAlignTop : kAlignBottom;
    default: return kAlignBottom;
    }
}
