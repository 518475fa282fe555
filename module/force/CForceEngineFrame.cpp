// CForceEngine: the frame force lists of the frame display modes and the value pickers that every
// frame drawer and number writer uses.
//
// A beam record (T_STRG_D) holds eight equal segments, each with a start and an end block of six
// components: value (segment s, end e, component c) is d[12 s + 6 e + c]. Station k/8 of the
// member is the start of segment k and the end of segment k - 1. A column record (T_MBCL_D) holds
// blocks at the i end (0), the j end (1) and the two inner stations (2, 3).
#include <cfloat>
#include <cmath>
#include <utility>

#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXMembCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CWinApp.h"
#include "module/contour/KeyedExtremes.h"

namespace {

using forceshared::kSegments;
using forceshared::kZeroValue;
using forceshared::LargerOf;
constexpr double kStationTol = 1e-10;  // a point this close to a station is on it

// Value of component c (0..5) of block b (0..15) of a beam record.
double Comp(const T_STRG_D& rec, int b, int c) { return rec.d[6 * b + c]; }

// The components an extreme looks at for a selector: 6 both shears, 7 both moments, else one.
int ExtremeComps(int nComp, int comps[2]) {
    if (nComp == 6) {
        comps[0] = 1;
        comps[1] = 2;
        return 2;
    }
    if (nComp == 7) {
        comps[0] = 4;
        comps[1] = 5;
        return 2;
    }
    comps[0] = nComp;
    return nComp >= 0 && nComp <= 5 ? 1 : 0;
}

// Begin-wait and end-wait on the application object for one scope.
class WaitScope {
public:
    WaitScope() : m_pApp(AfxGetApp()) {
        if (m_pApp) m_pApp->BeginWaitCursor();
    }
    ~WaitScope() {
        if (m_pApp) m_pApp->EndWaitCursor();
    }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;

private:
    CWinApp* m_pApp;
};

double PlanDistance(const C3DPoint& a, const C3DPoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

}  // namespace

// ---- value pickers ---------------------------------------------------------------------------

double CForceEngine::CalcBForcValue(const T_STRG_D& rec, int nComp, int nSeg, int nEnd) {
    if (nSeg < 0 || nSeg >= kSegments || nEnd < 0 || nEnd > 1) return 0.0;
    const int b = 2 * nSeg + nEnd;
    switch (nComp) {
    case 0: case 1: case 2: case 3: case 4: case 5: return Comp(rec, b, nComp);
    case 6: return LargerOf(Comp(rec, b, 1), Comp(rec, b, 2));
    case 7: return LargerOf(Comp(rec, b, 4), Comp(rec, b, 5));
    default: return 0.0;
    }
}

double CForceEngine::CalcBForcValue(const T_STRG_D& rec, int nSeg, int nEnd) const {
    return CalcBForcValue(rec, m_nBForcComp, nSeg, nEnd);
}

double CForceEngine::CalcCForcValue(const T_MBCL_D& rec, int nComp, int nBlock) {
    if (nBlock < 0 || nBlock > 3) return 0.0;
    const double* v = rec.d[nBlock];
    switch (nComp) {
    case 0: case 1: case 2: case 3: case 4: case 5: return v[nComp];
    case 6: return LargerOf(v[1], v[2]);
    case 7: return LargerOf(v[4], v[5]);
    default: return 0.0;
    }
}

double CForceEngine::CalcBForcValue(const T_STRG_D& rec, int nPos) const {
    switch (nPos) {
    case 0: return CalcBForcValue(rec, 0, 0);
    case 1: return CalcBForcValue(rec, 7, 1);
    case 2: return CalcBForcValue(rec, 3, 1);
    case 3: {
        const double dMax = GetMaxMembBForc(rec), dMin = GetMinMembBForc(rec);
        return -dMin > dMax ? dMin : dMax;
    }
    default: return 0.0;
    }
}

double CForceEngine::CalcCForcValue(const T_MBCL_D& rec, int nPos) const {
    switch (nPos) {
    case 0: return CalcCForcValue(rec, m_nBForcComp, 0);
    case 1: return CalcCForcValue(rec, m_nBForcComp, 1);
    case 2: return LargerOf(CalcCForcValue(rec, m_nBForcComp, 2), CalcCForcValue(rec, m_nBForcComp, 3));
    case 3: {
        const double dMin = GetMinMembCForc(0, rec), dMax = GetMaxMembCForc(0, rec);
        return std::fabs(dMin) > std::fabs(dMax) ? dMin : dMax;
    }
    default: return 0.0;
    }
}

double CForceEngine::CalcPart4NearValue(const T_STRG_D& rec, const C3DPoint& p, const C3DPoint& i,
                                        const C3DPoint& j) const {
    // Distances in plan; a member vertical in plan has no plan length, so it is measured along
    // its own axis instead.
    const bool bPlan = PlanDistance(i, j) >= kStationTol;
    const double dI = bPlan ? PlanDistance(p, i) : p.Distance(i);
    const double dJ = bPlan ? PlanDistance(p, j) : p.Distance(j);
    if (std::fabs(dI) < kStationTol) return CalcBForcValue(rec, 0, 0);
    if (std::fabs(dJ) < kStationTol) return CalcBForcValue(rec, kSegments - 1, 1);
    const double t = kSegments * dI / (dJ + dI);
    const int n = static_cast<int>(t);
    const double f = t - n;
    if (n >= kSegments) return CalcBForcValue(rec, kSegments - 1, 1);
    if (std::fabs(f) < kStationTol) return CalcBForcValue(rec, n, 0);
    if (std::fabs(f - 1.0) < kStationTol)
        return n + 1 < kSegments ? CalcBForcValue(rec, n + 1, 0) : CalcBForcValue(rec, kSegments - 1, 1);
    return (1.0 - f) * CalcBForcValue(rec, n, 0) + f * CalcBForcValue(rec, n, 1);
}

// ---- member extremes -------------------------------------------------------------------------

double CForceEngine::GetMaxMembBForc(const T_STRG_D& rec) const {
    int comps[2];
    const int nc = ExtremeComps(m_nBForcComp, comps);
    double v = -DBL_MAX;
    for (int b = 0; b < 2 * kSegments; ++b)
        for (int k = 0; k < nc; ++k) v = std::max(v, Comp(rec, b, comps[k]));
    return v;
}

double CForceEngine::GetMinMembBForc(const T_STRG_D& rec) const {
    int comps[2];
    const int nc = ExtremeComps(m_nBForcComp, comps);
    double v = DBL_MAX;
    for (int b = 0; b < 2 * kSegments; ++b)
        for (int k = 0; k < nc; ++k) v = std::min(v, Comp(rec, b, comps[k]));
    return v;
}

namespace {

// Which of the four column blocks count: all without a member key, else the inner ones only when
// the member has the inner node.
void ColumnBlocksUsed(const I_PVXModel* pModel, UINT nKey, bool use[4]) {
    use[0] = use[1] = use[2] = use[3] = true;
    if (nKey == 0) return;
    T_PMEMB_D memb;
    if (!pModel || !pModel->m_pAttrCtrl || !pModel->m_pAttrCtrl->GetMemb(nKey, memb)) memb.Initialize();
    use[2] = memb.node3 != 0;
    use[3] = memb.node4 != 0;
}

}  // namespace

double CForceEngine::GetMaxMembCForc(UINT nKey, const T_MBCL_D& rec) const {
    bool use[4];
    ColumnBlocksUsed(GetModel(), nKey, use);
    int comps[2];
    const int nc = ExtremeComps(m_nBForcComp, comps);
    double v = -DBL_MAX;
    for (int b = 0; b < 4; ++b)
        if (use[b])
            for (int k = 0; k < nc; ++k) v = std::max(v, rec.d[b][comps[k]]);
    return v;
}

double CForceEngine::GetMinMembCForc(UINT nKey, const T_MBCL_D& rec) const {
    bool use[4];
    ColumnBlocksUsed(GetModel(), nKey, use);
    int comps[2];
    const int nc = ExtremeComps(m_nBForcComp, comps);
    double v = DBL_MAX;
    for (int b = 0; b < 4; ++b)
        if (use[b])
            for (int k = 0; k < nc; ++k) v = std::min(v, rec.d[b][comps[k]]);
    return v;
}

void CForceEngine::MinMaxMembBForc(UINT nKey, T_STRG_D rec, double& dMax, double& dMin) {
    const double hi = GetMaxMembBForc(rec), lo = GetMinMembBForc(rec);
    contour::TakeExtremes(hi, lo, nKey, dMax, m_nMaxMembKey, dMin, m_nMinMembKey);
}

void CForceEngine::MinMaxMembCForc(UINT nKey, T_MBCL_D rec, double& dMax, double& dMin) {
    const double hi = GetMaxMembCForc(nKey, rec), lo = GetMinMembCForc(nKey, rec);
    contour::TakeExtremes(hi, lo, nKey, dMax, m_nMaxMembKey, dMin, m_nMinMembKey);
}

double CForceEngine::GetMaxBForcInMember(UINT& nKey) const {
    CPVXMembCtrl mc;
    T_PMEMB_D memb;
    if (!mc.GetMembByElem(nKey, memb)) return 0.0;
    double v = -DBL_MAX;
    for (INT_PTR i = 0; i < memb.aElem.GetSize(); ++i) {
        T_STRG_D rec;
        if (m_mapBForc.Lookup(memb.aElem[i], rec)) v = std::max(v, CalcBForcValue(rec, 3));
    }
    return v;
}

double CForceEngine::GetAbsMaxBForcInMember(UINT& nKey) const {
    CPVXMembCtrl mc;
    T_PMEMB_D memb;
    if (!mc.GetMembByElem(nKey, memb)) return 0.0;
    // Envelope diagrams keep the maximum and the minimum side apart; the member's extreme lies
    // on either.
    const bool bBoth = IsMinMaxDiagram() != 0;
    double v = 0.0;
    auto take = [&](const CMap<UINT, UINT, T_STRG_D, T_STRG_D&>& map, UINT key) {
        T_STRG_D rec;
        if (!map.Lookup(key, rec)) return;
        const double x = CalcBForcValue(rec, 3);
        if (std::fabs(x) > std::fabs(v)) v = x;
    };
    for (INT_PTR i = 0; i < memb.aElem.GetSize(); ++i) {
        take(m_mapBForc, memb.aElem[i]);
        if (bBoth) take(m_mapBForcMin, memb.aElem[i]);
    }
    return v;
}

int CForceEngine::IsMinMaxDiagram() const {
    const I_PVXModel* pModel = GetModel();
    return pModel && pModel->m_nLoadStep == 3 && m_bMinMaxDiagram ? 1 : 0;
}

// ---- builders --------------------------------------------------------------------------------

void CForceEngine::ResetBeamResultData() {
    m_arrMembKey.RemoveAll();
    m_arrMembKey.FreeExtra();
    m_beamScaleValues.clear();
    m_arrColmKey.RemoveAll();
    m_arrColmKey.FreeExtra();
    m_mapBForc.RemoveAll();
    m_mapBForcMin.RemoveAll();
    m_mapCForc.RemoveAll();
    m_mapCForcMin.RemoveAll();
}

int CForceEngine::MakeBForcDataList() {
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    ResetBeamResultData();
    if (!pModel || !pDoc || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;
    WaitScope wait;

    m_dBForcMax = -DBL_MAX;
    m_dBForcMin = DBL_MAX;
    m_nBeamScaleComp = m_nBForcComp;
    CClassPWall walls;
    walls.ConnectToDB(pDoc->GetMDBCtrl()->GetDBPost());
    CPostCtrl* pPost = pDoc->GetPostCtrl();
    using namespace PVXMode;
    const bool bEnvelopeDiagram = m_bMinMaxDiagram && (m_nBuildMode == kFrameForceDiagram ||
                                                       m_nBuildMode == kSlabStrip || m_nBuildMode == kSlabForceBeam);
    const CArray<UINT, UINT>& keys = pModel->m_arrAllMembKey;
    m_arrMembKey.SetSize(0, keys.GetSize() > 0 ? keys.GetSize() : 1);

    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const UINT key = keys[i];
        T_PMEMB_D memb;
        if (!pModel->m_pAttrCtrl->GetMemb(key, memb)) continue;
        if (CPVXAttrCtrl::IsColumnElemType(memb.type)) {
            // Columns join the frame's lists and extremes; one without forces for this load is
            // drawn plain.
            if (m_bShowColumn && TakeColumnForces(key, bEnvelopeDiagram, m_dBForcMax, m_dBForcMin))
                m_arrColmKey.Add(key);
            continue;
        }
        if (!IsPossibleBForc(memb)) continue;
        // The record slot of the load-result kind: 0 value or maximum, 1 minimum, 2 the larger
        // magnitude; envelope diagrams read the maximum and the minimum side.
        int nSlot = 0;
        bool bMinToo = false;
        switch (pModel->m_nLoadStep) {
        case 0: case 1: nSlot = 0; break;
        case 2: nSlot = 1; break;
        case 3:
            if (bEnvelopeDiagram) bMinToo = true;
            else nSlot = 2;
            break;
        default: continue;
        }
        if (!m_bShowBeam) continue;

        T_STRG_D rec[3], recMin;
        rec[nSlot].Initialize();
        recMin.Initialize();
        T_STRG_D* slots[3] = {nullptr, nullptr, nullptr};
        slots[nSlot] = &rec[nSlot];
        if (bMinToo) slots[1] = &recMin;
        int bRead = 0;
        if (CPVXAttrCtrl::IsBeamElemType(memb.type)) {
            bRead = pPost->GetMbgd(key, slots[0], slots[1], slots[2], 0);
        } else {
            // A T-girder's forces are kept with its wall record, at the wall's result key.
            T_PWALL_D wall;
            if (walls.Get(key, wall)) {
                T_MBWG_D w[3], wMin;
                T_MBWG_D* ws[3] = {nullptr, nullptr, nullptr};
                ws[nSlot] = &w[nSlot];
                if (bMinToo) ws[1] = &wMin;
                bRead = pPost->GetStwt(wall.resultNo, ws[0], ws[1], ws[2], 0);
                if (bRead) {
                    rec[nSlot].SetByMbwg(w[nSlot]);
                    if (bMinToo) recMin.SetByMbwg(wMin);
                }
            }
        }
        // A member without results for this load is left out; the others still show.
        if (!bRead) continue;

        MinMaxMembBForc(key, rec[nSlot], m_dBForcMax, m_dBForcMin);
        if (bMinToo) MinMaxMembBForc(key, recMin, m_dBForcMax, m_dBForcMin);
        m_arrMembKey.Add(key);
        m_mapBForc.SetAt(key, rec[nSlot]);
        if (bMinToo) m_mapBForcMin.SetAt(key, recMin);
        AppendBeamScaleValues(rec[nSlot]);
    }

    if (m_arrMembKey.GetSize() > 0 || m_arrColmKey.GetSize() > 0) {
        m_bBForcData = 1;
        return 1;
    }
    m_dBForcMax = m_dBForcMin = 0.0;
    pModel->m_nMaxKey = pModel->m_nMinKey = 0;
    m_bBForcData = 0;
    return 0;
}

int CForceEngine::ReadColumnForces(UINT nKey, bool bBothSides, T_MBCL_D& rec, T_MBCL_D& recMin, bool& bMinToo) const {
    const I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    CPostCtrl* pPost = pDoc ? pDoc->GetPostCtrl() : nullptr;
    rec.Initialize();
    recMin.Initialize();
    bMinToo = false;
    if (!pPost) return 0;
    switch (pModel->m_nLoadStep) {
    case 0: case 1: return pPost->GetMbcl(nKey, &rec, nullptr, nullptr, 0) ? 1 : 0;
    case 2: return pPost->GetMbcl(nKey, nullptr, &rec, nullptr, 0) ? 1 : 0;
    case 3:
        bMinToo = bBothSides;
        return (bBothSides ? pPost->GetMbcl(nKey, &rec, &recMin, nullptr, 0)
                           : pPost->GetMbcl(nKey, nullptr, nullptr, &rec, 0)) ? 1 : 0;
    default: return -1;
    }
}

int CForceEngine::TakeColumnForces(UINT nKey, bool bBothSides, double& dMax, double& dMin) {
    T_MBCL_D rec, recMin;
    bool bMinToo = false;
    if (ReadColumnForces(nKey, bBothSides, rec, recMin, bMinToo) != 1) return 0;
    MinMaxMembCForc(nKey, rec, dMax, dMin);
    m_mapCForc.SetAt(nKey, rec);
    if (bMinToo) {
        MinMaxMembCForc(nKey, recMin, dMax, dMin);
        m_mapCForcMin.SetAt(nKey, recMin);
    }
    return 1;
}

void CForceEngine::AppendBeamScaleValues(const T_STRG_D& rec) {
    for (int seg = 0; seg < kSegments; ++seg) m_beamScaleValues.push_back(CalcBForcValue(rec, seg, 0));
    m_beamScaleValues.push_back(CalcBForcValue(rec, kSegments - 1, 1));
}

void CForceEngine::FinishMakeBForcData() {
    // Without an extreme (nothing read, no load selected) the range is empty, not the limits of
    // double.
    const bool bFrame = m_dBForcMax >= m_dBForcMin;
    const bool bTruss = m_bTForcData && m_dTForcMax >= m_dTForcMin;
    double dMax = bFrame ? m_dBForcMax : 0.0, dMin = bFrame ? m_dBForcMin : 0.0;
    UINT nMaxKey = bFrame ? m_nMaxMembKey : 0, nMinKey = bFrame ? m_nMinMembKey : 0;
    if (bTruss && (!bFrame || dMax < m_dTForcMax)) {
        dMax = m_dTForcMax;
        nMaxKey = m_nTMaxMembKey;
    }
    if (bTruss && (!bFrame || m_dTForcMin < dMin)) {
        dMin = m_dTForcMin;
        nMinKey = m_nTMinMembKey;
    }
    m_dLegendMax = dMax;
    m_dLegendMin = dMin;
    if (I_PVXModel* pModel = GetModel()) {
        pModel->m_nMaxKey = nMaxKey;
        pModel->m_nMinKey = nMinKey;
    }
    InitBSfdBmdAdjustFactor(std::fabs(dMin) <= std::fabs(dMax) ? dMax : dMin);

    CContourEngine& s = StartScale(dMin, dMax);
    // Every member weighs 1: a truss's two ends 1/2 each, a beam's nine stations 1/9 each, a
    // column's blocks 1/n each.
    for (INT_PTR i = 0; i < m_arrTrussKey.GetSize(); ++i) {
        T_MBBR_D rec;
        if (!m_mapTForc.Lookup(m_arrTrussKey[i], rec)) continue;
        s.AddPecentRankMapData(CalcTForcValue(rec, 0), 0.5);
        s.AddPecentRankMapData(CalcTForcValue(rec, 1), 0.5);
    }
    // The beams' values as the build kept them while it read the records (a large frame's
    // records lie far apart in the map, and reading them again costs what reading them first
    // did); taken from the map again when they are not those of the lists (lists imported from
    // another engine, the component changed since).
    if (m_nBeamScaleComp != m_nBForcComp ||
        m_beamScaleValues.size() != static_cast<size_t>(kSegments + 1) * static_cast<size_t>(m_arrMembKey.GetSize())) {
        m_beamScaleValues.clear();
        m_nBeamScaleComp = m_nBForcComp;
        for (INT_PTR i = 0; i < m_arrMembKey.GetSize(); ++i)
            if (const auto* pair = std::as_const(m_mapBForc).PLookup(m_arrMembKey[i])) AppendBeamScaleValues(pair->value);
    }
    constexpr double kStationWeight = 1.0 / 9.0;
    for (double v : m_beamScaleValues) s.AddPecentRankMapData(v, kStationWeight);
    for (INT_PTR i = 0; i < m_arrColmKey.GetSize(); ++i) {
        T_MBCL_D rec;
        if (!m_mapCForc.Lookup(m_arrColmKey[i], rec)) continue;
        bool use[4];
        ColumnBlocksUsed(GetModel(), m_arrColmKey[i], use);
        const int n = 2 + (use[2] ? 1 : 0) + (use[3] ? 1 : 0);
        for (int b = 0; b < 4; ++b)
            if (use[b]) s.AddPecentRankMapData(CalcCForcValue(rec, m_nBForcComp, b), 1.0 / n);
    }
    s.FinishPecentRankMapData();
}

void CForceEngine::InitBSfdBmdAdjustFactor(double dMaxValue) {
    I_PVXModel* pModel = GetModel();
    C3DPoint lo, hi;
    double L = 0.0;
    if (pModel && pModel->GetRangeModel(&lo, &hi, 1)) {
        const C3DPoint d = hi - lo;
        L = std::max(std::max(d.x, d.y), d.z);
    }
    double m = dMaxValue;
    if (m > -kZeroValue && m < kZeroValue) m = 1.0;
    m_dBSfdBmdAdjustFactor = L / (std::fabs(m) * 20.0);
}
