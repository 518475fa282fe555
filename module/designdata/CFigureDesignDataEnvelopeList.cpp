// The envelope list a host hands in: its range, the two curves the envelope walk draws per beam,
// and the start, middle and end labels the number output places along them.
#include <cfloat>
#include <cmath>

#include "module/designdata/CFigureDesignData.h"
#include "module/model/CUtilFuncs.h"

namespace {

constexpr int kStations = 9;
constexpr int kLabelStations[3] = {0, 4, 8};  // start, middle, end

}  // namespace

int CFigureDesignData::RangeEnvelopeList() {
    if (m_arrBeamBM.GetSize() == 0) {
        // Nothing to range: the scale the builder took from the beams' design results is no
        // envelope's, so no legend carries it.
        delete m_pContourEngine;
        m_pContourEngine = nullptr;
        m_nEnvelopeMaxKey = m_nEnvelopeMinKey = 0;
        return 0;
    }
    double hi = -DBL_MAX, lo = DBL_MAX;
    INT_PTR iHi = -1, iLo = -1;
    for (INT_PTR i = 0; i < m_arrBeamBM.GetSize(); ++i)
        for (int r = 0; r < 2; ++r)
            for (int k = 0; k < kStations; ++k) {
                const double v = m_arrBeamBM[i].dVal[r][k];
                if (v > hi) hi = v, iHi = i;
                if (v < lo) lo = v, iLo = i;
            }
    // The members of the extremes (the first record reaching each), for the legend's footer;
    // none when the host gave no key per record.
    const bool bKeyed = m_arrMembKey.GetSize() == m_arrBeamBM.GetSize();
    m_nEnvelopeMaxKey = bKeyed && iHi >= 0 ? m_arrMembKey[iHi] : 0;
    m_nEnvelopeMinKey = bKeyed && iLo >= 0 ? m_arrMembKey[iLo] : 0;
    InitBeamDiagramAdjustFactor(std::fabs(lo) > std::fabs(hi) ? lo : hi);
    SetContourRange(lo, hi);
    return 1;
}

C3DPoint CFigureDesignData::EnvelopeCurvePoint(const T_BEAM_BM& rec, const double axes[3][3], int nRow, int k) const {
    const double f = (GetFigureMode() == 36 ? 1.0 : -1.0) * m_dDgmFactor * m_dBeamDgmScale;
    C3DPoint p;
    CUtilFuncs::GetVectorDirectionPoint(axes[2], rec.dVal[nRow][k], f, rec.pt[k], p);
    return p;
}

void CFigureDesignData::BSfdBmdMakePolygon(const T_BEAM_BM& rec, const double axes[3][3],
                                           CArray<C3DPoint, C3DPoint&>& points, CArray<double, double>& values,
                                           CArray<int, int>& flags, CArray<int, int>& ints) const {
    for (int r = 0; r < 2; ++r)
        for (int k = 0; k + 1 < kStations; ++k) {
            const C3DPoint quad[4] = {rec.pt[k], rec.pt[k + 1], EnvelopeCurvePoint(rec, axes, r, k + 1),
                                      EnvelopeCurvePoint(rec, axes, r, k)};
            AddStationBand(quad, rec.dVal[r][k], rec.dVal[r][k + 1], k, kStations, points, values, flags, ints);
        }
}

int CFigureDesignData::ReadBeamLine(UINT key, C3DPoint& start, C3DPoint& end) const {
    T_PMEMB_D memb;
    if (!ReadMember(key, memb) || memb.aNode.GetSize() == 0) return 0;
    const INT_PTR n = memb.aNode.GetSize();
    const INT_PTR last = memb.type == 204 && n > 2 ? 1 : n - 1;
    return ReadNode(memb.aNode[0], start) && ReadNode(memb.aNode[last], end) ? 1 : 0;
}

int CFigureDesignData::FindEnvelopeMember(const T_BEAM_BM& rec, UINT& key) const {
    for (INT_PTR i = 0; i < m_arrMembKey.GetSize(); ++i) {
        C3DPoint start, end;
        if (!ReadBeamLine(m_arrMembKey[i], start, end)) continue;
        if (rec.pt[0] == start && rec.pt[kStations - 1] == end) {
            key = m_arrMembKey[i];
            return 1;
        }
    }
    return 0;
}

void CFigureDesignData::FillEnvelopeTextLists() {
    for (int n = 0; n < 3; ++n) m_arrTextValue[n].RemoveAll();
    const int mode = GetFigureMode();
    if (mode != 35 && mode != 36) return;
    for (INT_PTR g = 0; g < m_arrDrawnBeamIdx.GetSize(); ++g) {
        const int idx = m_arrDrawnBeamIdx[g];
        if (idx < 0 || idx >= m_arrBeamBM.GetSize()) continue;
        const T_BEAM_BM& rec = m_arrBeamBM[idx];
        UINT key = 0;
        double axes[3][3];
        // A beam the walk drew has its member and axes; without them its labels stand on the beam.
        const bool bAxes = FindEnvelopeMember(rec, key) && GetDiagramAxes(key, rec.pt[0], rec.pt[8], axes);
        for (int k : kLabelStations) {
            if (mode == 35) {
                // Moments are drawn to the side opposite their sign, so the smallest curve lies
                // on the diagram axis' side: its labels go to list 1, whose texts stand on that
                // side of the beam, and the largest curve's to list 2, on the other side. Each
                // label then stands outside its own curve.
                for (int r = 0; r < 2; ++r) {
                    T_TEXT_VALUE t;
                    t.dValue = rec.dVal[r][k];
                    t.pt = bAxes ? EnvelopeCurvePoint(rec, axes, r, k) : rec.pt[k];
                    m_arrTextValue[1 - r].Add(t);
                }
            } else {
                const int r = std::fabs(rec.dVal[1][k]) > std::fabs(rec.dVal[0][k]) ? 1 : 0;
                T_TEXT_VALUE t;
                t.dValue = rec.dVal[r][k];
                t.pt = bAxes ? EnvelopeCurvePoint(rec, axes, r, k) : rec.pt[k];
                m_arrTextValue[2].Add(t);
            }
        }
    }
}
