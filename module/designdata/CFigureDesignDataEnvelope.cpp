// Beam moment and shear envelopes: per-beam records at nine stations, the range of the figure
// mode, and the diagram polyline of a member force block.
#include "module/designdata/CFigureDesignData.h"

#include <cfloat>
#include <cmath>

#include "host/db/CPostCtrl4Dgn.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"

int CFigureDesignData::MakeBeamBM_SFDataList_Envelope() {
    CPostCtrl4Dgn* dgn = CPostCtrl4Dgn::GetPostCtrl4DgnPtr_ST();
    if (!dgn) return 0;
    m_mapBeamSteel.RemoveAll();
    double hi[3] = {-DBL_MAX, -DBL_MAX, -DBL_MAX}, lo[3] = {DBL_MAX, DBL_MAX, DBL_MAX};
    for (INT_PTR i = 0; i < m_arrMembKey.GetSize(); ++i) {
        const UINT key = m_arrMembKey[i];
        T_PMEMB_D memb;
        T_RBEM_D res;
        if (!ReadMember(key, memb) || !IsBeamMemberType(memb.type)) continue;
        if (!dgn->ReadConcreteDesignResultBeam(key, res, 0) || res.nKey == 0) continue;
        T_BEAM_BM rec;
        CopyStations(res, rec, hi, lo, 3);
        m_mapBeamSteel.SetAt(key, rec);
    }
    // No beam result: no range to set (the starting extremes would give an inverted range).
    if (m_mapBeamSteel.IsEmpty()) return 1;
    double dMin, dMax;
    if (GetFigureMode() == 35) {
        dMin = lo[0] < lo[1] ? lo[0] : lo[1];
        dMax = hi[0] > hi[1] ? hi[0] : hi[1];
    } else {
        dMin = lo[2];
        dMax = hi[2];
    }
    InitBeamDiagramAdjustFactor(std::fabs(dMin) > std::fabs(dMax) ? dMin : dMax);
    SetContourRange(dMin, dMax);
    return 1;
}

double CFigureDesignData::CalcBForcValue(const T_STRG_D& forc, int nSeg, int nEnd) const {
    const int sel = m_nCForcSel[0];
    if ((sel != 4 && sel != 2) || nSeg < 0 || nSeg > 7 || nEnd < 0 || nEnd > 1) return 0.0;
    return forc.d[12 * nSeg + 6 * nEnd + sel];
}

double CFigureDesignData::GetMaxMembBForc(const T_STRG_D& forc) const {
    double v = -DBL_MAX;
    for (int s = 0; s < 8; ++s)
        for (int e = 0; e < 2; ++e) v = std::fmax(v, CalcBForcValue(forc, s, e));
    return v;
}

double CFigureDesignData::GetMinMembBForc(const T_STRG_D& forc) const {
    double v = DBL_MAX;
    for (int s = 0; s < 8; ++s)
        for (int e = 0; e < 2; ++e) v = std::fmin(v, CalcBForcValue(forc, s, e));
    return v;
}

void CFigureDesignData::MinMaxMembBForc(UINT, T_STRG_D forc, double& dMax, double& dMin) const {
    const double hi = GetMaxMembBForc(forc), lo = GetMinMembBForc(forc);
    if (hi > dMax) dMax = hi;
    if (lo < dMin) dMin = lo;
}

// The plan test is exact: a plan matrix carrying rounding noise keeps the member's own third axis.
void CFigureDesignData::GetLclVec4BeamDgrm2D(UINT, double axes[3][3]) const {
    if (!IsXYPlaneVector(m_dLclVec2D)) return;
    for (int c = 0; c < 3; ++c) axes[2][c] = axes[1][c];
}

void CFigureDesignData::DrawBeamSfdBmd() { m_arrDiagram.RemoveAll(); }

void CFigureDesignData::MakeBeamElementSfdBmdLine(UINT key, T_DIAGRAM_D& diagram) {
    if (!m_pContourEngine) return;
    T_PMEMB_D memb;
    T_STRG_D forc;
    if (!ReadMember(key, memb) || !GetBeamForce(key, forc)) return;
    C3DPoint pi, pj;
    if (!GetMemberEnds(key, pi, pj)) return;
    double axes[3][3];
    if (!GetDiagramAxes(key, pi, pj, axes)) return;
    CArray<C3DPoint, C3DPoint&> points;
    CArray<double, double> values;
    BSfdBmdMakePolyline(forc, m_nCForcSel[0], axes, pi, pj, points, values, nullptr, key, nullptr);
    if (points.GetSize() != 9) return;
    diagram.nKey = key;
    for (int k = 0; k < 9; ++k) diagram.pt[k] = points[k];
    diagram.dVal[0] = values[0];
    double best = -DBL_MAX;
    for (int k = 1; k <= 7; ++k) best = std::fmax(best, values[k]);
    diagram.dVal[1] = best;
    diagram.dVal[2] = values[8];
}

// One point per station: station 0 is the i-point moved by segment 0's start value, station u + 1
// the point at (u + 1)/8 moved by segment u's end value. pBase (nine points) receives the stations
// on the member, pOut4 the largest value, its station, the smallest value and its station.
void CFigureDesignData::BSfdBmdMakePolyline(const T_STRG_D& forc, int nSel, double axes[3][3], const C3DPoint& pi,
                                            const C3DPoint& pj, CArray<C3DPoint, C3DPoint&>& points,
                                            CArray<double, double>& values, C3DPoint* pBase, UINT, double* pOut4) {
    if (pOut4)
        for (int k = 0; k < 4; ++k) pOut4[k] = 0.0;
    if (nSel != 2 && nSel != 4) return;
    const int saved = m_nCForcSel[0];
    m_nCForcSel[0] = nSel;
    const double f = (nSel == 2 ? 1.0 : -1.0) * m_dDgmFactor * m_dBeamDgmScale;
    const double* dir = axes[2];
    auto put = [&](int station, double v) {
        C3DPoint st, p;
        CUtilFuncs::GetInnerLinePoint(station, 8 - station, pi, pj, st);
        CUtilFuncs::GetVectorDirectionPoint(dir, v, f, st, p);
        if (pBase) pBase[station] = st;
        points.Add(p);
        values.Add(v);
    };
    put(0, CalcBForcValue(forc, 0, 0));
    for (int u = 0; u < 8; ++u) put(u + 1, CalcBForcValue(forc, u, 1));
    m_nCForcSel[0] = saved;
    if (pOut4) {
        double hi = -DBL_MAX, lo = DBL_MAX;
        for (int k = 0; k < 9; ++k) {
            if (values[values.GetSize() - 9 + k] > hi) {
                hi = values[values.GetSize() - 9 + k];
                pOut4[1] = k;
            }
            if (values[values.GetSize() - 9 + k] < lo) {
                lo = values[values.GetSize() - 9 + k];
                pOut4[3] = k;
            }
        }
        pOut4[0] = hi;
        pOut4[2] = lo;
    }
}
