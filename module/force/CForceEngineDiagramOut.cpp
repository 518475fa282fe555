// CForceEngine: what the number output keeps of each drawn beam or column diagram, and where a
// diagram starts and ends.
//
// While numbers are on, each diagram leaves one output record: its label points, a copy of its
// forces, its component and values. The combined selectors (larger shear, larger moment) merge
// the records of all diagrams of one member into one, slot by slot the value of largest
// magnitude. Shear and moment diagrams span the flexible part of the member only: they start and
// end at the member's end offsets of their bending plane.
#include <algorithm>
#include <cmath>

#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
#include "module/force/CForceEngine.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"

namespace {

bool NumbersOn(const I_PVXModel* pModel) {
    return pModel && pModel->m_pDispOpt && pModel->m_pDispOpt->m_Number.m_bShowNumbers;
}

C3DPoint Midpoint(const C3DPoint& a, const C3DPoint& b) { return (a + b) * 0.5; }

// A value of the merged record is replaced by a later one only with a strictly larger magnitude.
bool Wins(double candidate, double kept) { return std::fabs(candidate) > std::fabs(kept); }

}  // namespace

int CForceEngine::GetBSfdBmdOutputDataB(T_SFDBMD_OUTVAL_D& rec, UINT nKey, C3DPoint* pLabels, T_STRG_D& forc,
                                        double* pValues, int nComp, int) {
    if (!NumbersOn(GetModel())) return 0;
    for (int k = 0; k < 4; ++k) rec.pt[k] = pLabels ? pLabels[k] : C3DPoint();
    rec.Forc = forc;
    rec.nKey = nKey;
    rec.nComp = nComp;
    rec.dVal[0] = pValues ? pValues[0] : 0.0;
    rec.dVal[1] = pValues ? pValues[1] : 0.0;
    return 1;
}

int CForceEngine::GetBSfdBmdOutputDataC(T_SFDBMD_OUTVAL_D2& rec, UINT nKey, C3DPoint* pLabels, T_MBCL_D& forc,
                                        double* pStations, int nComp, int) {
    I_PVXModel* pModel = GetModel();
    if (!NumbersOn(pModel)) return 0;
    auto label = [&](int k) { return pLabels ? pLabels[k] : C3DPoint(); };
    T_PMEMB_D memb;
    if (!pModel->m_pAttrCtrl || !pModel->m_pAttrCtrl->GetMemb(nKey, memb)) memb.Initialize();
    const double zero[4] = {0.0, 0.0, 0.0, 0.0};
    const double* s = pStations ? pStations : zero;  // i end, first inner, second inner, j end

    rec.pt[0] = label(0);
    rec.pt[2] = label(3);
    rec.pt[3] = Midpoint(rec.pt[0], rec.pt[2]);
    rec.Forc = forc;
    rec.nKey = nKey;
    rec.nComp = nComp;
    const double e = std::min(s[0], s[3]), E = std::max(s[0], s[3]);
    const bool b1 = memb.node3 != 0, b2 = memb.node4 != 0;
    if (b1 && b2) {
        rec.dVal[0] = std::min(std::min(e, s[1]), s[2]);
        rec.dVal[1] = std::max(std::max(E, s[1]), s[2]);
        rec.dVal[2] = 0.5 * (s[1] + s[2]);
        rec.pt[1] = Midpoint(label(1), label(2));
    } else if (b1 || b2) {
        const double inner = b1 ? s[1] : s[2];
        rec.dVal[0] = std::min(e, inner);
        rec.dVal[1] = std::max(E, inner);
        rec.dVal[2] = inner;
        rec.pt[1] = label(b1 ? 1 : 2);
    } else {
        rec.dVal[0] = e;
        rec.dVal[1] = E;
        rec.dVal[2] = 0.5 * (E + e);
        rec.pt[1] = rec.pt[3];
    }
    return 1;
}

void CForceEngine::AddBSfdBmdOutputDataB(UINT nKey, C3DPoint* pLabels, T_STRG_D& forc, double* pValues, int nComp,
                                         int nSide) {
    T_SFDBMD_OUTVAL_D rec;
    if (GetBSfdBmdOutputDataB(rec, nKey, pLabels, forc, pValues, nComp, nSide))
        (nSide == 1 ? m_arrBSfdBmdOutValMin : m_arrBSfdBmdOutVal).Add(rec);
}

void CForceEngine::AddBSfdBmdOutputDataC(UINT nKey, C3DPoint* pLabels, T_MBCL_D& forc, double* pStations, int nComp,
                                         int nSide) {
    T_SFDBMD_OUTVAL_D2 rec;
    if (GetBSfdBmdOutputDataC(rec, nKey, pLabels, forc, pStations, nComp, nSide))
        (nSide == 1 ? m_arrCSfdBmdOutValMin : m_arrCSfdBmdOutVal).Add(rec);
}

int CForceEngine::CalcAbsMaxB(CArray<T_SFDBMD_OUTVAL_D, T_SFDBMD_OUTVAL_D&>& recs, T_SFDBMD_OUTVAL_D& merged) {
    if (recs.GetSize() == 0) return 0;
    merged = recs[0];
    // Positions of the i-end, middle and j-end numbers: (segment, end) and label slot.
    struct Position {
        int bOn, seg, end, slot;
    };
    const Position positions[3] = {{m_bNumIEnd, 0, 0, 0}, {m_bNumMiddle, 3, 1, 1}, {m_bNumJEnd, 7, 1, 2}};
    for (INT_PTR i = 1; i < recs.GetSize(); ++i) {
        const T_SFDBMD_OUTVAL_D& r = recs[i];
        if (m_bAbsMaxNumber || m_bNumAtMax) {
            for (int k = m_bAbsMaxNumber ? 0 : 1; k < 2; ++k)
                if (Wins(r.dVal[k], merged.dVal[k])) {
                    merged.dVal[k] = r.dVal[k];
                    merged.pt[k] = r.pt[k];
                }
            continue;
        }
        for (const Position& p : positions) {
            if (!p.bOn) continue;
            const double v = CalcBForcValue(r.Forc, r.nComp, p.seg, p.end);
            if (!Wins(v, CalcBForcValue(merged.Forc, merged.nComp, p.seg, p.end))) continue;
            SetBForcValue(v, merged.Forc, merged.nComp, p.seg, p.end);
            merged.pt[p.slot] = r.pt[p.slot];
        }
    }
    return 1;
}

int CForceEngine::CalcAbsMaxC(CArray<T_SFDBMD_OUTVAL_D2, T_SFDBMD_OUTVAL_D2&>& recs, T_SFDBMD_OUTVAL_D2& merged) {
    if (recs.GetSize() == 0) return 0;
    merged = recs[0];
    for (INT_PTR i = 1; i < recs.GetSize(); ++i) {
        const T_SFDBMD_OUTVAL_D2& r = recs[i];
        if (m_bAbsMaxNumber || m_bNumAtMax) {
            for (int k = m_bAbsMaxNumber ? 0 : 1; k < 2; ++k)
                if (Wins(r.dVal[k], merged.dVal[k])) {
                    merged.dVal[k] = r.dVal[k];
                    merged.pt[k] = r.pt[k];
                }
            continue;
        }
        // The ends are blocks of the forces; the middle number is the record's middle value.
        for (int k : {0, 1}) {
            const int bOn = k == 0 ? m_bNumIEnd : m_bNumJEnd, slot = k == 0 ? 0 : 2;
            const double v = CalcCForcValue(r.Forc, r.nComp, k);
            if (!bOn || !Wins(v, CalcCForcValue(merged.Forc, merged.nComp, k))) continue;
            SetCForcValue(v, merged.Forc, merged.nComp, k);
            merged.pt[slot] = r.pt[slot];
        }
        if (m_bNumMiddle && Wins(r.dVal[2], merged.dVal[2])) {
            merged.dVal[2] = r.dVal[2];
            merged.pt[1] = r.pt[1];
        }
    }
    return 1;
}

void CForceEngine::SetBForcValue(double dValue, T_STRG_D& forc, int nComp, int nSeg, int nEnd) {
    if (nComp < 0 || nComp > 5 || nSeg < 0 || nSeg > 7 || nEnd < 0 || nEnd > 1) return;
    forc.d[12 * nSeg + 6 * nEnd + nComp] = dValue;
}

void CForceEngine::SetCForcValue(double dValue, T_MBCL_D& forc, int nComp, int nBlock) {
    if (nComp < 0 || nComp > 5 || nBlock < 0 || nBlock > 3) return;
    forc.d[nBlock][nComp] = dValue;
}

void CForceEngine::GetOffsetedPointMemb(UINT nKey, C3DPoint ptI, C3DPoint ptJ, C3DPoint& diagI, C3DPoint& diagJ,
                                        int nComp) {
    // Whatever is known of the member, a diagram never starts from stale points.
    diagI = ptI;
    diagJ = ptJ;
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    T_CFMO_D ends;
    ends.Initialize();
    if (!pDoc || !pDoc->GetPostCtrl()->GetCfmoMemb(nKey, ends)) {
        T_PMEMB_D memb;
        if (!pModel || !pModel->m_pAttrCtrl || !pModel->m_pAttrCtrl->GetMemb(nKey, memb)) return;
        ends.Initialize();
        ends.length = memb.length;
    }
    double ri = 0.0, rj = 0.0;
    switch (nComp) {
    case 1: case 5: ri = ends.ri2; rj = ends.rj2; break;  // bending in the local x-y plane
    case 2: case 4: ri = ends.ri3; rj = ends.rj3; break;  // bending in the local x-z plane
    default: return;
    }
    const double L = ends.length;
    if (!(L > 0.0)) return;
    // Offsets beyond the member (a damaged record) are held to it.
    ri = std::clamp(ri, 0.0, L);
    rj = std::clamp(rj, 0.0, L - ri);
    CUtilFuncs::GetInnerLinePoint2(ri, L, ptI, ptJ, diagI);
    CUtilFuncs::GetInnerLinePoint2(L - rj, L, ptI, ptJ, diagJ);
}
