// CForceEngine: member band contours. The force of a frame member is known at nine stations k/8
// of its length; these operations decide which value belongs to which point of the drawn
// geometry, cut the geometry into pieces that each carry a start and an end value, and hand every
// piece to the engine base's band drawing (DoSubPolyContour for faces, DrawContourLine for lines),
// which splits it at the colour levels of the engine's scale.
//
// Faces come from the model's shape builders: a side face of a member is a quadrilateral whose
// vertices 0 and 1 lie at its i-side cross-section and 2 and 3 at its j-side one (0 and 3 on one
// long edge); an end cap is a face whose first three vertices carry the same node key.
#include <algorithm>
#include <cmath>

#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/I_PVXModel.h"

namespace {

using forceshared::kSegments;
using forceshared::FlagAt;
using forceshared::KeyAt;
constexpr double kGridTol = 0.001;    // a node this close to a station (relative position) is on it
constexpr double kCurveTol = 0.0001;  // the same for the points of curved members
constexpr double kSameLength = 1e-12; // enclosure test of the column interpolation

// Face vertices copied into an array; the count of the face.
int FacePoints(CList<C3DPoint>* pFace, C3DPoint* pts, int nMax) {
    int n = 0;
    for (POSITION pos = pFace->GetHeadPosition(); pos && n < nMax;) pts[n++] = pFace->GetNext(pos);
    return n;
}

// The polygon form the band cutting takes.
typedef CList<C3DPoint, C3DPoint> Polygon;

void ToPolygon(CList<C3DPoint>* pFace, Polygon& out) {
    out.RemoveAll();
    for (POSITION pos = pFace->GetHeadPosition(); pos;) out.AddTail(pFace->GetNext(pos));
}

// A quadrilateral piece of a face between two fractions along its long edges.
void PieceCorners(const C3DPoint q[4], double u0, double u1, Polygon& piece) {
    const C3DPoint d03 = q[3] - q[0], d12 = q[2] - q[1];
    piece.RemoveAll();
    piece.AddTail(q[0] + d03 * u0);
    piece.AddTail(q[1] + d12 * u0);
    piece.AddTail(q[1] + d12 * u1);
    piece.AddTail(q[0] + d03 * u1);
}

// The side face as four corners: a three-vertex face runs from the edge 0-1 to the point 2.
void SideCorners(const C3DPoint* pts, int n, C3DPoint q[4]) {
    q[0] = pts[0];
    q[1] = pts[1];
    q[2] = pts[2];
    q[3] = n == 4 ? pts[3] : pts[2];
}

// Edge flags of the four corners of a side face; a triangle has no end edge.
void SideFlags(const CArray<int>* pFlags, int n, int f[4]) {
    f[0] = FlagAt(pFlags, 0);
    f[1] = FlagAt(pFlags, 1);
    f[2] = n == 4 ? FlagAt(pFlags, 2) : 0;
    f[3] = n == 4 ? FlagAt(pFlags, 3) : FlagAt(pFlags, 2);
}

}  // namespace

double CForceEngine::Animated(double v) const {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bAnimation || !m_pContourEngine) return v;
    return m_pContourEngine->GetSubFrameValue(v, pModel->m_AnimationEngine.GetContourFactor());
}

// ---- lines -----------------------------------------------------------------------------------

void CForceEngine::DoBForcLineContour(CDC* pDC, CList<C3DPoint>*, T_PMEMB_D&, T_STRG_D& forc, C3DPoint& A,
                                      C3DPoint& B) {
    if (!m_pContourEngine) return;
    C3DPoint P[kSegments + 1];
    P[0] = A;
    P[kSegments] = B;
    for (int k = 1; k < kSegments; ++k) P[k] = A + (B - A) * (k * 0.125);
    CArray<C3DPoint, C3DPoint> points;
    CArray<double, double> values;
    for (int k = 0; k < kSegments; ++k) {
        const double vs = Animated(CalcBForcValue(forc, k, 0));
        const double ve = Animated(CalcBForcValue(forc, k, 1));
        // Always from the higher-valued end; equal values run from the j side.
        const bool bFromJ = vs <= ve;
        const C3DPoint& p = bFromJ ? P[k + 1] : P[k];
        const C3DPoint& q = bFromJ ? P[k] : P[k + 1];
        const double vp = bFromJ ? ve : vs, vq = bFromJ ? vs : ve;
        points.Add(p);
        values.Add(vp);
        m_pContourEngine->GetRankVertices(p, q, vp, vq, points, values, nullptr);
        points.Add(q);
        values.Add(vq);
        DrawContourLine(pDC, points, values);
        points.RemoveAll();
        values.RemoveAll();
    }
}

// ---- beam faces ------------------------------------------------------------------------------

void CForceEngine::DoBForcPolyContour(CDC* pDC, CList<C3DPoint>* pFace, CArray<int>* pFlags, CArray<UINT>* pNodeKeys,
                                      T_PMEMB_D& memb, T_STRG_D& forc, C3DPoint& A, C3DPoint& B,
                                      CMap<int, int, double, double>*, double*, CArray<UINT>**) {
    if (!pFace) return;
    const INT_PTR n = pFace->GetCount();
    if (n != 3 && n != 4) return;
    const UINT k0 = KeyAt(pNodeKeys, 0);
    const bool bCap = pNodeKeys && pNodeKeys->GetSize() >= 3 && k0 == KeyAt(pNodeKeys, 1) && k0 == KeyAt(pNodeKeys, 2);
    const INT_PTR nNodes = memb.aNode.GetSize();
    if (bCap && nNodes > 0 && (k0 == memb.aNode[0] || k0 == memb.aNode[nNodes - 1])) {
        // An end cap shows the value at its end of the member.
        const double v = Animated(k0 == memb.aNode[0] ? CalcBForcValue(forc, 0, 0) : CalcBForcValue(forc, 7, 1));
        double values[4] = {v, v, v, v};
        int flags[4] = {FlagAt(pFlags, 0), FlagAt(pFlags, 1), FlagAt(pFlags, 2), FlagAt(pFlags, 3)};
        Polygon poly;
        ToPolygon(pFace, poly);
        DoSubPolyContour(pDC, values, &poly, flags, 1);
        return;
    }
    if (memb.aElem.GetSize() == 1)
        DoBForcPolyContour_absolute(pDC, pFace, pFlags, pNodeKeys, memb, forc, A, B);
    else
        DoBForcPolyContour_relative(pDC, pFace, pFlags, pNodeKeys, memb, forc, A, B);
}

void CForceEngine::DoBForcPolyContour_absolute(CDC* pDC, CList<C3DPoint>* pFace, CArray<int>* pFlags, CArray<UINT>*,
                                               T_PMEMB_D&, T_STRG_D& forc, C3DPoint&, C3DPoint&) {
    if (!pFace) return;
    C3DPoint pts[4];
    const int n = pFace->GetCount() == 3 || pFace->GetCount() == 4 ? FacePoints(pFace, pts, 4) : 0;
    if (n != 3 && n != 4) return;
    C3DPoint q[4];
    SideCorners(pts, n, q);
    int f[4];
    SideFlags(pFlags, n, f);
    Polygon piece;
    for (int k = 0; k < kSegments; ++k) {
        PieceCorners(q, k * 0.125, (k + 1) * 0.125, piece);
        const double vs = Animated(CalcBForcValue(forc, k, 0));
        const double ve = Animated(CalcBForcValue(forc, k, 1));
        double values[4] = {vs, vs, ve, ve};
        // Cross edges between pieces are never drawn; the face's own end edges belong to its
        // first and last piece.
        int flags[4] = {k == 0 ? f[0] : 0, f[1], k == kSegments - 1 ? f[2] : 0, f[3]};
        DoSubPolyContour(pDC, values, &piece, flags, 1);
    }
}

void CForceEngine::GetRelLength_NthPos8(T_PMEMB_D& memb, C3DPoint&, UINT nNodeKey, double* pRel, int* pSeg,
                                        int* pInside) {
    int index = -1;
    for (INT_PTR i = 0; i < memb.aNode.GetSize(); ++i)
        if (memb.aNode[i] == nNodeKey) {
            index = static_cast<int>(i);
            break;
        }
    double dist = 0.0;
    I_PVXModel* pModel = GetModel();
    if (pModel && pModel->m_pAttrCtrl)
        for (int e = 0; e < index && e < memb.aElem.GetSize(); ++e) dist += pModel->m_pAttrCtrl->CalcLAVElem(memb.aElem[e]);
    const double r = memb.length > 0.0 ? dist / memb.length : 0.0;
    int seg = -1, inside = 1;
    for (int k = 0; k <= kSegments; ++k) {
        if (std::fabs(r - k / 8.0) < kGridTol) {
            seg = k;
            inside = 0;
            break;
        }
        if (k < kSegments && k / 8.0 < r && r < (k + 1) / 8.0 && std::fabs(r - (k + 1) / 8.0) > kGridTol) {
            seg = k;
            inside = 1;
            break;
        }
    }
    if (pRel) *pRel = r;
    if (pSeg) *pSeg = seg;
    if (pInside) *pInside = inside;
}

void CForceEngine::DoBForcPolyContour_relative(CDC* pDC, CList<C3DPoint>* pFace, CArray<int>* pFlags,
                                               CArray<UINT>* pNodeKeys, T_PMEMB_D& memb, T_STRG_D& forc, C3DPoint& A,
                                               C3DPoint&) {
    if (!pFace) return;
    C3DPoint pts[4];
    const int n = pFace->GetCount() == 3 || pFace->GetCount() == 4 ? FacePoints(pFace, pts, 4) : 0;
    if (n != 3 && n != 4) return;
    C3DPoint q[4];
    SideCorners(pts, n, q);
    int f[4];
    SideFlags(pFlags, n, f);

    // Where the element starts and ends on the member's station grid; a node within the grid
    // tolerance of a station lies on it. Positions off the member are kept within it.
    auto position = [&](UINT key) {
        double r = 0.0;
        int seg = -1, inside = 1;
        GetRelLength_NthPos8(memb, A, key, &r, &seg, &inside);
        if (seg >= 0 && !inside) r = seg / 8.0;
        return std::clamp(r, 0.0, 1.0);
    };
    const double r0 = position(KeyAt(pNodeKeys, 0));
    const double r3 = position(KeyAt(pNodeKeys, n == 4 ? 3 : 2));
    if (r3 - r0 <= 0.0) return;

    // One piece per segment the element spans, as long as its part of the element, with the
    // segment's values at the piece's ends (interpolated where the element starts or ends inside
    // the segment).
    const int sFirst = std::min(static_cast<int>(std::floor(r0 * kSegments)), kSegments - 1);
    Polygon piece;
    for (int s = sFirst; s < kSegments && s / 8.0 < r3; ++s) {
        const double a = std::max(r0, s / 8.0), b = std::min(r3, (s + 1) / 8.0);
        if (b - a <= 0.0) continue;
        const double vs = CalcBForcValue(forc, s, 0), ve = CalcBForcValue(forc, s, 1);
        const double va = Animated(vs + (ve - vs) * (a * kSegments - s));
        const double vb = Animated(vs + (ve - vs) * (b * kSegments - s));
        PieceCorners(q, (a - r0) / (r3 - r0), (b - r0) / (r3 - r0), piece);
        double values[4] = {va, va, vb, vb};
        const bool bFirst = a <= r0, bLast = b >= r3;
        int flags[4] = {bFirst ? f[0] : 0, f[1], bLast ? f[2] : 0, f[3]};
        DoSubPolyContour(pDC, values, &piece, flags, 1);
    }
}

// ---- T-girders -------------------------------------------------------------------------------

double CForceEngine::CalcTGirderValueByNode(const T_PNODE_D& node, const C3DPoint& A, const C3DPoint& B,
                                            const T_STRG_D& forc) const {
    const double dA = std::hypot(node.x - A.x, node.y - A.y);
    const double dB = std::hypot(node.x - B.x, node.y - B.y);
    // A node at A in plan (or a girder without plan length) takes the i-end value.
    if (dA + dB <= 0.0) return CalcBForcValue(forc, 0, 0);
    const double t = kSegments * dA / (dA + dB);
    const int k = static_cast<int>(t);
    if (k >= kSegments) return CalcBForcValue(forc, kSegments - 1, 1);
    return (1.0 - (t - k)) * CalcBForcValue(forc, k, 0) + (t - k) * CalcBForcValue(forc, k, 1);
}

void CForceEngine::DoTGForcPolyContour(CDC* pDC, CList<C3DPoint>* pFace, CArray<int>* pFlags,
                                       CArray<UINT>* pNodeKeys, T_PMEMB_D& memb, T_STRG_D& forc, C3DPoint& A,
                                       C3DPoint& B) {
    if (!pFace || pFace->GetCount() > 4 || pFace->GetCount() == 0) return;
    const int n = static_cast<int>(pFace->GetCount());
    I_PVXModel* pModel = GetModel();
    double values[4] = {0.0, 0.0, 0.0, 0.0};
    for (int i = 0; i < n; ++i) {
        const UINT key = KeyAt(pNodeKeys, i);
        T_PNODE_D node;
        node.Initialize();
        if (!pModel || !pModel->m_pAttrCtrl || !pModel->m_pAttrCtrl->GetNode(key, node)) {
            // Not a node of the post model: an inner node of the super element the girder's
            // elements belong to.
            CPVXSElemCtrl se;
            bool bFound = false;
            for (INT_PTR e = 0; e < memb.aElem.GetSize() && !bFound; ++e) {
                if (!se.GetSuperElemData(memb.aElem[e]) || !se.IsCurrentSuperElem()) continue;
                CArray<UINT, UINT> resultKeys;
                se.GetSuperElemNodeKeys(memb.aElem[e], resultKeys);
                for (INT_PTR r = 0; r < resultKeys.GetSize() && !bFound; ++r) {
                    CArray<UINT, UINT> nodeKeys;
                    CArray<T_PNODE_D> nodes;
                    if (!se.GetSuperElemShapeNodes(resultKeys[r], nodeKeys, &nodes)) continue;
                    for (INT_PTR m = 0; m < nodeKeys.GetSize() && m < nodes.GetSize(); ++m)
                        if (nodeKeys[m] == key) {
                            node = nodes[m];
                            bFound = true;
                            break;
                        }
                }
            }
        }
        values[i] = Animated(CalcTGirderValueByNode(node, A, B, forc));
    }
    int flags[4] = {FlagAt(pFlags, 0), FlagAt(pFlags, 1), FlagAt(pFlags, 2), FlagAt(pFlags, 3)};
    Polygon poly;
    ToPolygon(pFace, poly);
    DoSubPolyContour(pDC, values, &poly, flags, 0);
}

// ---- curved members --------------------------------------------------------------------------

namespace {

// Value of a curved member's force at relative position p: on a station, the value of the
// segment that starts there (bStart) or ends there (!bStart); inside segment s,
// vs(s) + (ve(s) - vs(s)) (p - s/8) / (L/8).
double CurveValue(const CForceEngine& e, const T_STRG_D& forc, double p, double dL, bool bStart) {
    for (int k = 0; k <= kSegments; ++k) {
        if (std::fabs(p - k / 8.0) < kCurveTol) {
            if (bStart) return k < kSegments ? e.CalcBForcValue(forc, k, 0) : e.CalcBForcValue(forc, kSegments - 1, 1);
            return k > 0 ? e.CalcBForcValue(forc, k - 1, 1) : e.CalcBForcValue(forc, 0, 0);
        }
    }
    // Inside a segment; a position off the member counts in its nearest end segment.
    const int s = std::clamp(static_cast<int>(std::floor(p * kSegments)), 0, kSegments - 1);
    const double vs = e.CalcBForcValue(forc, s, 0), ve = e.CalcBForcValue(forc, s, 1);
    const double seglen = dL / kSegments;
    return seglen != 0.0 ? vs + (ve - vs) * (p - s / 8.0) / seglen : vs;
}

}  // namespace

void CForceEngine::DoBForcLineContour_curve(CDC* pDC, CList<C3DPoint>* pPolyline, T_PMEMB_D&, T_STRG_D& forc,
                                            CMap<int, int, double, double>* pPositions, double dL,
                                            CArray<UINT>* pKeys) {
    if (!m_pContourEngine || !pPolyline || !pPositions || !pKeys) return;
    const int n = static_cast<int>(pPolyline->GetCount());
    if (n < 2 || pKeys->GetSize() < n) return;
    CArray<C3DPoint> pts;
    CArray<double> pos;
    for (POSITION p = pPolyline->GetHeadPosition(); p;) pts.Add(pPolyline->GetNext(p));
    for (int i = 0; i < n; ++i) {
        double r = 0.0;
        if (!pPositions->Lookup(static_cast<int>((*pKeys)[i]), r)) return;
        pos.Add(r);
    }
    CArray<C3DPoint, C3DPoint> points;
    CArray<double, double> values;
    for (int i = 0; i + 1 < n; ++i) {
        const double v0 = Animated(CurveValue(*this, forc, pos[i], dL, true));
        const double v1 = Animated(CurveValue(*this, forc, pos[i + 1], dL, false));
        // From the higher-valued point; equal values from the second point.
        const bool bFromNext = v0 <= v1;
        const C3DPoint& p = bFromNext ? pts[i + 1] : pts[i];
        const C3DPoint& q = bFromNext ? pts[i] : pts[i + 1];
        const double vp = bFromNext ? v1 : v0, vq = bFromNext ? v0 : v1;
        points.Add(p);
        values.Add(vp);
        m_pContourEngine->GetRankVertices(p, q, vp, vq, points, values, nullptr);
        points.Add(q);
        values.Add(vq);
        DrawContourLine(pDC, points, values);
        points.RemoveAll();
        values.RemoveAll();
    }
}

void CForceEngine::DoBForcPolyContour_curve(CDC* pDC, CList<C3DPoint>* pFace, CArray<int>* pFlags, CArray<UINT>*,
                                            T_STRG_D& forc, CMap<int, int, double, double>* pPositions, double dL,
                                            CArray<UINT>* pKeys) {
    if (!pFace || !pPositions || !pKeys) return;
    const int n = static_cast<int>(pFace->GetCount());
    if ((n != 3 && n != 4) || pKeys->GetSize() != n) return;
    double pos[4] = {0.0, 0.0, 0.0, 0.0};
    for (int i = 0; i < n; ++i)
        if (!pPositions->Lookup(static_cast<int>((*pKeys)[i]), pos[i])) return;
    // The face runs from its edge 0-1 to its edge 2-3 (a triangle to its point 2); each end takes
    // the value at its own position.
    const double vStart = Animated(CurveValue(*this, forc, pos[0], dL, true));
    const double vEnd = Animated(CurveValue(*this, forc, pos[n == 4 ? 3 : 2], dL, false));
    double values[4] = {vStart, vStart, vEnd, vEnd};
    int flags[4] = {FlagAt(pFlags, 0), FlagAt(pFlags, 1), FlagAt(pFlags, 2), FlagAt(pFlags, 3)};
    Polygon poly;
    ToPolygon(pFace, poly);
    DoSubPolyContour(pDC, values, &poly, flags, 1);
}

// ---- columns ---------------------------------------------------------------------------------

namespace {

// The column's block values and the member points that carry them, from i to j: the first
// node, the inner nodes that exist and the last node.
struct ColumnStations {
    UINT key[4];
    C3DPoint pt[4];
    double v[4];
    int n = 0;
};

}  // namespace

void CForceEngine::DoCForcLineContour(CDC* pDC, CList<C3DPoint>* pPoints, CArray<UINT>* pNodeKeys, T_PMEMB_D& memb,
                                      T_MBCL_D& forc, C3DPoint& ptFirst, C3DPoint& ptLast, C3DPoint& ptInnerI,
                                      C3DPoint& ptInnerJ) {
    if (!m_pContourEngine || !pPoints || pPoints->GetCount() < 2) return;
    double c[4];
    for (int b = 0; b < 4; ++b) c[b] = CalcCForcValue(forc, m_nBForcComp, b);
    const INT_PTR nNodes = memb.aNode.GetSize();
    const UINT first = nNodes > 0 ? memb.aNode[0] : 0, last = nNodes > 0 ? memb.aNode[nNodes - 1] : 0;
    ColumnStations st;
    auto add = [&](UINT key, const C3DPoint& p, double v) {
        st.key[st.n] = key;
        st.pt[st.n] = p;
        st.v[st.n] = v;
        ++st.n;
    };
    add(first, ptFirst, c[0]);
    if (memb.node3) add(memb.node3, ptInnerI, c[2]);
    if (memb.node4) add(memb.node4, ptInnerJ, c[3]);
    add(last, ptLast, c[1]);

    C3DPoint p[2] = {pPoints->GetHead(), pPoints->GetTail()};
    double v[2] = {0.0, 0.0};
    for (int i = 0; i < 2; ++i) {
        const UINT key = KeyAt(pNodeKeys, i);
        bool bDone = false;
        for (int s = 0; s < st.n && !bDone; ++s)
            if (key != 0 && key == st.key[s]) {
                v[i] = st.v[s];
                bDone = true;
            }
        // Between the two consecutive member points that enclose it, by distance.
        for (int s = 0; s + 1 < st.n && !bDone; ++s) {
            const double d1 = p[i].Distance(st.pt[s]), d2 = p[i].Distance(st.pt[s + 1]);
            const double d = st.pt[s].Distance(st.pt[s + 1]);
            if (std::fabs(d1 + d2 - d) <= kSameLength && d1 + d2 > 0.0) {
                v[i] = (d2 * st.v[s] + d1 * st.v[s + 1]) / (d1 + d2);
                bDone = true;
            }
        }
        v[i] = Animated(v[i]);
    }
    const int from = v[0] > v[1] ? 0 : 1;
    CArray<C3DPoint, C3DPoint> points;
    CArray<double, double> values;
    points.Add(p[from]);
    values.Add(v[from]);
    m_pContourEngine->GetRankVertices(p[from], p[1 - from], v[from], v[1 - from], points, values, nullptr);
    points.Add(p[1 - from]);
    values.Add(v[1 - from]);
    DrawContourLine(pDC, points, values);
}

void CForceEngine::DoCForcPolyContour(CDC* pDC, CList<C3DPoint>* pFace, CArray<int>* pFlags, CArray<UINT>* pNodeKeys,
                                      T_PMEMB_D& memb, T_MBCL_D& forc) {
    if (!pFace) return;
    const int n = static_cast<int>(pFace->GetCount());
    if (n != 3 && n != 4) return;
    double c[4];
    for (int b = 0; b < 4; ++b) c[b] = CalcCForcValue(forc, m_nBForcComp, b);
    const INT_PTR nNodes = memb.aNode.GetSize();
    const UINT first = nNodes > 0 ? memb.aNode[0] : 0, last = nNodes > 0 ? memb.aNode[nNodes - 1] : 0;
    const UINT k0 = KeyAt(pNodeKeys, 0);
    double values[4] = {0.0, 0.0, 0.0, 0.0};
    const bool bCap = k0 != 0 && k0 == KeyAt(pNodeKeys, 1) && k0 == KeyAt(pNodeKeys, 2);
    if (bCap && (k0 == first || k0 == last)) {
        for (double& v : values) v = Animated(k0 == first ? c[0] : c[1]);
    } else {
        I_PVXModel* pModel = GetModel();
        T_PNODE_D nf, nl;
        nf.Initialize();
        nl.Initialize();
        if (pModel && pModel->m_pAttrCtrl) {
            pModel->m_pAttrCtrl->GetNode(first, nf);
            pModel->m_pAttrCtrl->GetNode(last, nl);
        }
        C3DPoint pts[4];
        FacePoints(pFace, pts, 4);
        for (int i = 0; i < n; ++i) {
            const UINT key = KeyAt(pNodeKeys, i);
            double v;
            if (key != 0 && key == first) v = c[0];
            else if (key != 0 && key == last) v = c[1];
            else if (key != 0 && key == memb.node3) v = c[2];
            else if (key != 0 && key == memb.node4) v = c[3];
            else {
                // Any other vertex: by distance between the first and the last node.
                T_PNODE_D node;
                node.Initialize();
                if (!pModel || !pModel->m_pAttrCtrl || !pModel->m_pAttrCtrl->GetNode(key, node))
                    node = T_PNODE_D{pts[i].x, pts[i].y, pts[i].z};
                const C3DPoint q(node.x, node.y, node.z);
                const double dF = q.Distance(C3DPoint(nf.x, nf.y, nf.z));
                const double dL = q.Distance(C3DPoint(nl.x, nl.y, nl.z));
                v = dF + dL > 0.0 ? (c[0] * dL + c[1] * dF) / (dF + dL) : c[0];
            }
            values[i] = Animated(v);
        }
    }
    int flags[4] = {FlagAt(pFlags, 0), FlagAt(pFlags, 1), FlagAt(pFlags, 2), FlagAt(pFlags, 3)};
    Polygon poly;
    ToPolygon(pFace, poly);
    DoSubPolyContour(pDC, values, &poly, flags, 1);
}
