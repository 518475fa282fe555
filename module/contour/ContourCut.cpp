// CContourEngine: band-polygon cutters of triangles and quadrilaterals, level crossings of a
// segment, extrusion and the range filters of the band polygons.
#include <cmath>

#include "module/contour/CContourEngine.h"
#include "module/model/CPVXView.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"

namespace {

// Values that differ by no more than this from a global range end still count as inside it.
constexpr double kRangeTol = 1e-20;

// Corners plus level crossings of a triangle: 2 x 30 crossings and three corners at most.
constexpr int kMaxChain = 2 * CContourEngine::MAX_LEVELS + 3;

}  // namespace

I_PVXModel* CContourEngine::GetCurrentModel() {
    if (CPVXView::m_pMyself != nullptr && CPVXView::m_pMyself->GetPVXModel() != nullptr)
        return CPVXView::m_pMyself->GetPVXModel();
    return I_PVXModel::GetPVXModelPoint();
}

double CContourEngine::GetMagnitudeTolerance(int n, const double* values) {
    // 10^(log10 m - 10) with m the largest magnitude, a zero counting as 1 and m at least 1e-5;
    // the same as m x 1e-10 without a logarithm per face.
    double m = -1.0;
    for (int i = 0; values != nullptr && i < n; i++) {
        const double x = values[i];
        if (!std::isfinite(x)) continue;
        const double a = x == 0.0 ? 1.0 : std::fabs(x);
        if (a > m) m = a;
    }
    if (m < 0.0) m = 1.0;
    if (m < 1e-5) m = 1e-5;
    return m * 1e-10;
}

// ---- level crossings ---------------------------------------------------------------------------

void CContourEngine::GrowBandLists(CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                                   INT_PTR nVertices) {
    GrowInProportion(sizes);
    GrowInProportion(vertices, nVertices);
}

void CContourEngine::GetRankVertices(C3DPoint p1, C3DPoint p2, double w1, double w2,
                                     CArray<C3DPoint, C3DPoint>& points, CArray<double, double>& levels,
                                     int* pOnLevel) {
    C3DPoint pts[MAX_LEVELS];
    double lev[MAX_LEVELS];
    const int count = CrossLevels(p1, p2, w1, w2, pts, lev, pOnLevel);
    GrowInProportion(points, count);
    GrowInProportion(levels, count);
    for (int i = 0; i < count; i++) {
        points.Add(pts[i]);
        levels.Add(lev[i]);
    }
}

int CContourEngine::CrossLevels(const C3DPoint& p1, const C3DPoint& p2, double w1, double w2, C3DPoint* points,
                                double* levels, int* pOnLevel) const {
    if (pOnLevel) *pOnLevel = 0;
    if (w1 <= w2) {
        // The segment must be given from its higher end.
        if (pOnLevel) *pOnLevel = 1;
        return 0;
    }
    // An infinite or undefined value has no place on the segment.
    if (!std::isfinite(w1 - w2)) return 0;
    const int n = LevelCount();
    int hi = GetLowerRank(w1);
    if (hi < 0) hi = -1 - hi;
    int lo = GetUpperRank(w2);
    if (lo < 0) {
        lo = 1 - lo;
        if (pOnLevel) *pOnLevel = 1;
    }
    if (hi > n - 1) hi = n - 1;
    if (lo < 0) lo = 0;
    const double* L = m_dRankMap;
    const double span = w1 - w2;
    int count = 0;
    for (int k = hi; k >= lo; k--) {
        // The rank lookups answer the end rank for values beyond the levels; only levels strictly
        // between the two values cross the segment, so no point lands outside it.
        if (!(L[k] < w1 && L[k] > w2)) continue;
        const double t = (w1 - L[k]) / span;
        points[count].Set(p1.x + t * (p2.x - p1.x), p1.y + t * (p2.y - p1.y), p1.z + t * (p2.z - p1.z));
        levels[count] = L[k];
        count++;
    }
    return count;
}

// ---- extrusion ---------------------------------------------------------------------------------

void CContourEngine::ExtrudeCorners(int n, C3DPoint** corners, const double* values, C3DPoint* copies) {
    if (!m_bExtrudeContour) return;
    I_PVXModel* pModel = GetCurrentModel();
    if (pModel == nullptr || !pModel->m_bFirstRender || pModel->m_pDispOpt == nullptr) return;
    const T_PVX_DOPT_D& o = *pModel->m_pDispOpt;
    if (!(o.m_bWireFrame || !o.m_bPlaneCulling)) return;
    double normal[3];
    CUtilFuncs::GetNormalVector(n, copies, normal);
    CUtilFuncs::MakeUnitVector(normal);
    const double scale = m_dExtrudeAdjustFactor * m_dExtrudeScale;
    for (int i = 0; i < n; i++) {
        C3DPoint moved;
        CUtilFuncs::GetVectorDirectionPoint(normal, values[i], scale, copies[i], moved);
        *corners[i] = moved;
        copies[i] = moved;
    }
}

// ---- triangles ---------------------------------------------------------------------------------

void CContourEngine::ContourTriangle(double w1, double w2, double w3, C3DPoint& p1, C3DPoint& p2, C3DPoint& p3,
                                     int, int, int, CArray<int, int>& sizes,
                                     CArray<VtxInfo_tag, VtxInfo_tag>& vertices, CArray<double, double>* f1,
                                     CArray<double, double>* f2, int bExtrude) {
    C3DPoint P[3] = {p1, p2, p3};
    double w[3] = {w1, w2, w3};
    if (bExtrude) {
        C3DPoint* corners[3] = {&p1, &p2, &p3};
        ExtrudeCorners(3, corners, w, P);
    }
    int order[3];
    FindMinMax(w, order, nullptr);
    DoTriangleContour(w[order[0]], w[order[1]], w[order[2]], P[order[0]], P[order[1]], P[order[2]], 0, 0, 0, sizes,
                      vertices, f1, f2);
}

void CContourEngine::DoTriangleContour(double vA, double vB, double vC, C3DPoint& A, C3DPoint& B, C3DPoint& C,
                                       int eAB, int eBC, int eCA, CArray<int, int>& sizes,
                                       CArray<VtxInfo_tag, VtxInfo_tag>& vertices, CArray<double, double>* f1,
                                       CArray<double, double>* f2) {
    const INT_PTR firstPoly = sizes.GetSize();
    double f = 1.0, g = 0.0;  // neutral factors while flat shading is off
    if (f1 && f2) {
        I_PVXModel* pModel = GetCurrentModel();
        if (pModel && pModel->m_pDispOpt && pModel->m_pDispOpt->m_bShading) {
            const C3DPoint corners[3] = {A, B, C};
            pModel->GetFlatShadingFactor(3, corners, f, g);
        }
    }

    // Appends one polygon unless a vertex lies outside the global range.
    VtxInfo_tag poly[kMaxChain];
    double vals[kMaxChain];
    auto emit = [&](int count) {
        for (int i = 0; i < count; i++) vals[i] = poly[i].dValue;
        if (IsOutOfRange(count, vals)) return;
        GrowBandLists(sizes, vertices, count);
        const INT_PTR at = vertices.GetSize();
        vertices.SetSize(at + count);
        VtxInfo_tag* dst = vertices.GetData();
        if (dst == nullptr || vertices.GetSize() != at + count) return;  // out of memory: lists stay whole
        for (int i = 0; i < count; i++) dst[at + i] = poly[i];
        sizes.Add(count);
    };

    const double ends[2] = {vA, vC};
    const double T = GetMagnitudeTolerance(2, ends);
    C3DPoint acPts[MAX_LEVELS];
    double acLev[MAX_LEVELS];
    int m = 0;  // level lines crossing the face
    if (!(std::fabs(vA - vB) < T && std::fabs(vB - vC) < T)) m = CrossLevels(A, C, vA, vC, acPts, acLev, nullptr);

    if (m == 0) {
        // Flat, or the whole face inside one band.
        poly[0] = VtxInfo_tag{A, eAB, vA};
        poly[1] = VtxInfo_tag{B, eBC, vB};
        poly[2] = VtxInfo_tag{C, eCA, vC};
        emit(3);
    } else {
        // Right chain: A, the AB crossings, B, the BC crossings, C. A level through B is told by
        // its value below, so the on-level flag is not needed.
        C3DPoint chainPt[kMaxChain];
        double chainVal[kMaxChain];
        chainPt[0] = A;
        chainVal[0] = vA;
        const int idxB = 1 + CrossLevels(A, B, vA, vB, chainPt + 1, chainVal + 1, nullptr);
        chainPt[idxB] = B;
        chainVal[idxB] = vB;
        const int idxC = idxB + 1 + CrossLevels(B, C, vB, vC, chainPt + idxB + 1, chainVal + idxB + 1, nullptr);
        chainPt[idxC] = C;
        chainVal[idxC] = vC;

        // Right end of each level line: its AB crossing above B, B itself on B's level, its BC
        // crossing below.
        int right[MAX_LEVELS + 1];
        int nextAB = 1, nextBC = idxB + 1;
        for (int j = 0; j < m; j++) {
            const double L = acLev[j];
            if (std::fabs(L - vB) < 1e-64) right[j] = idxB;
            else if (L > vB) right[j] = nextAB < idxB ? nextAB++ : idxB;
            else right[j] = nextBC < idxC ? nextBC++ : idxC;
        }

        // Polygon j lies between level line j-1 (the point A for j = 0) and level line j (the
        // point C for j = m); an edge along AB, BC or CA carries that edge's flag, the upper
        // level line is marked by the polygon below it.
        for (int j = 0; j <= m; j++) {
            int count = 0;
            int from;
            if (j == 0) {
                poly[count++] = VtxInfo_tag{A, eAB, vA};
                from = 1;
            } else {
                poly[count++] = VtxInfo_tag{acPts[j - 1], 1, acLev[j - 1]};
                from = right[j - 1];
            }
            const int to = j < m ? right[j] : idxC;
            for (int i = from; i <= to && count < kMaxChain - 1; i++) {
                int flag;
                if (i == to) flag = j < m ? 0 : eCA;
                else flag = i < idxB ? eAB : eBC;
                poly[count++] = VtxInfo_tag{chainPt[i], flag, chainVal[i]};
            }
            if (j < m) poly[count++] = VtxInfo_tag{acPts[j], eCA, acLev[j]};
            if (count >= 3) emit(count);  // levels out of order could leave a bare line
        }
    }

    if (f1) GrowInProportion(*f1, sizes.GetSize() - firstPoly);
    if (f2) GrowInProportion(*f2, sizes.GetSize() - firstPoly);
    for (INT_PTR i = firstPoly; i < sizes.GetSize(); i++) {
        if (f1) f1->Add(f);
        if (f2) f2->Add(g);
    }
    ExcludePolyOutofRange(sizes, vertices, f1, f2);
}

// ---- quadrilaterals ----------------------------------------------------------------------------

C3DPoint CContourEngine::FindCrossPoint(C3DPoint p1, C3DPoint p2, C3DPoint p3, C3DPoint p4) {
    return C3DPoint((p1.x + p2.x + p3.x + p4.x) * 0.25, (p1.y + p2.y + p3.y + p4.y) * 0.25,
                    (p1.z + p2.z + p3.z + p4.z) * 0.25);
}

void CContourEngine::ContourRectangle(double w1, double w2, double w3, double w4, C3DPoint& p1, C3DPoint& p2,
                                      C3DPoint& p3, C3DPoint& p4, int, int, int, int, CArray<int, int>& sizes,
                                      CArray<VtxInfo_tag, VtxInfo_tag>& vertices, CArray<double, double>* f1,
                                      CArray<double, double>* f2) {
    C3DPoint P[4] = {p1, p2, p3, p4};
    double w[4] = {w1, w2, w3, w4};
    C3DPoint* corners[4] = {&p1, &p2, &p3, &p4};
    ExtrudeCorners(4, corners, w, P);

    const double T = GetMagnitudeTolerance(4, w);
    if (std::fabs(w1 - w2) < T && std::fabs(w2 - w3) < T && std::fabs(w3 - w4) < T) {
        double f = 1.0, g = 0.0;
        if (f1 && f2) {
            I_PVXModel* pModel = GetCurrentModel();
            if (pModel && pModel->m_pDispOpt && pModel->m_pDispOpt->m_bShading)
                pModel->GetFlatShadingFactor(4, P, f, g);
        }
        // The first vertex carries the largest value, so the face takes the band of that value.
        double top = w1;
        for (double x : w)
            if (x > top) top = x;
        GrowBandLists(sizes, vertices, 4);
        if (f1) GrowInProportion(*f1);
        if (f2) GrowInProportion(*f2);
        sizes.Add(4);
        if (f1) f1->Add(f);
        if (f2) f2->Add(g);
        vertices.Add(VtxInfo_tag{P[0], 0, top});
        vertices.Add(VtxInfo_tag{P[1], 0, w2});
        vertices.Add(VtxInfo_tag{P[2], 0, w3});
        vertices.Add(VtxInfo_tag{P[3], 0, w4});
        return;
    }

    if (!m_bCoarseContour) {
        double wc = (w1 + w2 + w3 + w4) * 0.25;
        C3DPoint pc = FindCrossPoint(P[0], P[1], P[2], P[3]);
        for (int i = 0; i < 4; i++) {
            const int k = (i + 1) % 4;
            C3DPoint a = P[i], b = P[k], c = pc;
            ContourTriangle(w[i], w[k], wc, a, b, c, 0, 0, 0, sizes, vertices, f1, f2, 0);
        }
    } else {
        // Two triangles on the diagonal p2-p4.
        C3DPoint a = P[0], b = P[1], d = P[3];
        ContourTriangle(w1, w2, w4, a, b, d, 0, 0, 0, sizes, vertices, f1, f2, 0);
        C3DPoint b2 = P[1], c2 = P[2], d2 = P[3];
        ContourTriangle(w2, w3, w4, b2, c2, d2, 0, 0, 0, sizes, vertices, f1, f2, 0);
    }
}

// ---- range filters -----------------------------------------------------------------------------

int CContourEngine::IsOutOfRange(int n, double* values) {
    if (!m_bGlobalRange || n <= 0 || values == nullptr) return 0;
    for (int i = 0; i < n; i++) {
        if (m_dGlobalMin - values[i] > kRangeTol || values[i] - m_dGlobalMax > kRangeTol) return 1;
    }
    return 0;
}

int CContourEngine::ExcludePolyOutofRangeGlobal(double v) {
    if (!m_bGlobalRange) return 0;
    const double ends[2] = {m_dGlobalMin, m_dGlobalMax};
    const double T = GetMagnitudeTolerance(2, ends);
    return (m_dGlobalMin - v > T || v - m_dGlobalMax > T) ? 1 : 0;
}

void CContourEngine::ExcludePolyOutofRangeGlobal(CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                                                 CArray<double, double>* f1, CArray<double, double>* f2) {
    if (!m_bGlobalRange) return;
    const double ends[2] = {m_dGlobalMin, m_dGlobalMax};
    RemovePolysOutside(m_dGlobalMin, m_dGlobalMax, GetMagnitudeTolerance(2, ends), sizes, vertices, f1, f2);
}

void CContourEngine::ExcludePolyOutofRange(CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                                           CArray<double, double>* f1, CArray<double, double>* f2) {
    if (!m_bActiveRange || !m_bActiveRangeKnot || m_nActiveRangeMode != 0) return;
    const double ends[2] = {m_dActiveRangeMin, m_dActiveRangeMax};
    RemovePolysOutside(m_dActiveRangeMin, m_dActiveRangeMax, GetMagnitudeTolerance(2, ends), sizes, vertices, f1,
                       f2);
}

void CContourEngine::RemovePolysOutside(double lo, double hi, double tol, CArray<int, int>& sizes,
                                        CArray<VtxInfo_tag, VtxInfo_tag>& vertices, CArray<double, double>* f1,
                                        CArray<double, double>* f2) {
    // One pass that keeps the order; removing polygons whole from the back gives the same lists.
    const INT_PTR nPoly = sizes.GetSize();
    const INT_PTR nVtx = vertices.GetSize();
    const INT_PTR nF1 = f1 ? f1->GetSize() : 0;
    const INT_PTR nF2 = f2 ? f2->GetSize() : 0;
    INT_PTR readV = 0, writeV = 0, writeP = 0, writeF1 = 0, writeF2 = 0;
    for (INT_PTR i = 0; i < nPoly; i++) {
        INT_PTR sz = sizes[i];
        if (sz < 0) sz = 0;
        if (sz > nVtx - readV) sz = nVtx - readV;  // a short vertex list ends the last polygon
        bool outside = false;
        for (INT_PTR j = 0; j < sz && !outside; j++) {
            const double v = vertices[readV + j].dValue;
            outside = lo - v > tol || v - hi > tol;
        }
        if (!outside) {
            if (writeV != readV)
                for (INT_PTR j = 0; j < sz; j++) vertices[writeV + j] = vertices[readV + j];
            writeV += sz;
            sizes[writeP++] = static_cast<int>(sz);
            if (i < nF1) (*f1)[writeF1++] = (*f1)[i];
            if (i < nF2) (*f2)[writeF2++] = (*f2)[i];
        }
        readV += sz;
    }
    if (writeP == nPoly) return;
    sizes.SetSize(writeP);
    // Vertices beyond the last listed polygon are not part of any polygon and stay.
    for (INT_PTR j = readV; j < nVtx; j++) vertices[writeV++] = vertices[j];
    vertices.SetSize(writeV);
    if (f1) {
        for (INT_PTR i = nPoly; i < nF1; i++) (*f1)[writeF1++] = (*f1)[i];
        f1->SetSize(writeF1);
    }
    if (f2) {
        for (INT_PTR i = nPoly; i < nF2; i++) (*f2)[writeF2++] = (*f2)[i];
        f2->SetSize(writeF2);
    }
}
