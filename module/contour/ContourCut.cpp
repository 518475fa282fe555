// CContourEngine: band-polygon cutters of triangles and quadrilaterals, level crossings of a
// segment, extrusion and the range filters of the band polygons.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "module/contour/CContourEngine.h"
#include "module/model/CPVXView.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"

namespace {

// Values that differ by no more than this from a global range end still count as inside it.
constexpr double kRangeTol = 1e-20;

// From this size on, band lists grow in proportion (GrowInProportion); below it the library's
// own step is already proportional and its first blocks are small, so lists that are emptied
// per face or per member stay cheap.
constexpr INT_PTR kProportionalFrom = 1024;

template <class T, class A>
inline void GrowLong(CArray<T, A>& a, INT_PTR nMore = 1) {
    if (a.GetSize() >= kProportionalFrom) GrowInProportion(a, nMore);
}

// Rank comparisons treat values closer than this as equal (as the rank lookups do).
constexpr double kLevelTol = 1e-64;

// The right chain of a triangle: its three corners and the level crossings of two edges, which
// together are the crossings of its longest edge (30 at most).
constexpr int kMaxChain = CContourEngine::MAX_LEVELS + 3;
// Vertices of all band polygons of one triangle: the chain, shared ends of consecutive chain
// pieces, and each crossing of the longest edge in the two polygons it separates.
constexpr int kMaxFaceVertices = kMaxChain + 3 * CContourEngine::MAX_LEVELS + 4;

// 1e-10 of the largest finite magnitude, at least 1e-15.
inline double MagnitudeTolerance(int n, const double* values) {
    double m = 0.0;
    for (int i = 0; i < n; i++) {
        const double a = std::fabs(values[i]);
        if (a > m && a <= 1.7976931348623157e308) m = a;
    }
    if (m < 1e-5) m = 1e-5;
    return m * 1e-10;
}

// A point of a cut: plain doubles, as the cutters work on many of them.
struct P3 {
    double x, y, z;
};
inline P3 ToP3(const C3DPoint& p) { return P3{p.x, p.y, p.z}; }
inline P3 Along(const P3& a, const P3& b, double t) {
    return P3{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
}

// One vertex of a band polygon while a face is cut.
struct CutVtx {
    P3 p;
    int flag;
    double value;
};

// Corners of a triangle from the largest value to the smallest, equal values ordered as
// CContourEngine::FindMinMax orders them.
inline void SortCorners(const double* w, int* order) {
    int a, b, c;
    if (w[0] <= w[1]) {
        if (w[1] <= w[2]) { a = 2; b = 1; c = 0; }
        else if (w[0] <= w[2]) { a = 1; b = 2; c = 0; }
        else { a = 1; b = 0; c = 2; }
    } else if (w[0] <= w[2]) { a = 2; b = 0; c = 1; }
    else if (w[1] <= w[2]) { a = 0; b = 2; c = 1; }
    else { a = 0; b = 1; c = 2; }
    order[0] = a;
    order[1] = b;
    order[2] = c;
}

// SortCorners for three numbers (no NaN) without branches: the order by value, a higher index
// first among equal values. Neighbouring faces order their corners every which way, so the
// branches of the general sort would be guessed wrong about half the time.
inline void SortCornerNumbers(const double* w, int* order) {
    // Places counted from the smallest: how many corners each one is above.
    const int r0 = (w[0] > w[1]) + (w[0] > w[2]);
    const int r1 = (w[1] >= w[0]) + (w[1] > w[2]);
    const int r2 = (w[2] >= w[0]) + (w[2] >= w[1]);
    order[2 - r0] = 0;
    order[2 - r1] = 1;
    order[2 - r2] = 2;
}

// Appends nPoly polygons of nOut vertices in one step per list, writing the vertices in place.
// false (lists unchanged) when the memory cannot be had.
inline bool AppendPolys(CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices, const CutVtx* out, int nOut,
                 const int* outSizes, int nPoly) {
    // Lists that gather a whole model grow in proportion to their size (amortised linear); lists
    // emptied per face stay small and keep the library's small blocks.
    GrowLong(sizes, nPoly);
    GrowLong(vertices, nOut);
    const INT_PTR firstPoly = sizes.GetSize();
    sizes.SetSize(firstPoly + nPoly);
    if (sizes.GetSize() != firstPoly + nPoly) return false;
    const INT_PTR at = vertices.GetSize();
    vertices.SetSize(at + nOut);
    if (vertices.GetSize() != at + nOut) {
        sizes.SetSize(firstPoly);
        return false;
    }
    int* ps = sizes.GetData() + firstPoly;
    for (int i = 0; i < nPoly; i++) ps[i] = outSizes[i];
    VtxInfo_tag* dst = vertices.GetData() + at;
    for (int i = 0; i < nOut; i++) {
        dst[i].pt.x = out[i].p.x;
        dst[i].pt.y = out[i].p.y;
        dst[i].pt.z = out[i].p.z;
        dst[i].bLine = out[i].flag;
        dst[i].dValue = out[i].value;
    }
    return true;
}

// The band polygons of a triangle vA >= vB >= vC crossed by the m levels acLev (descending,
// strictly between vC and vA); returns the number appended. Kept out of line: most faces of a
// smooth field lie in one band and never need its buffers.
[[gnu::noinline]] int CutBands(CContourEngine& scale, const P3& A, const P3& B, const P3& C, double vA, double vB,
                               double vC, int eAB, int eBC, int eCA, const double* acLev, int m,
                               CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    CutVtx out[kMaxFaceVertices];
    int outSizes[CContourEngine::MAX_LEVELS + 1];
    int nOut = 0, nPoly = 0;
    auto emit = [&](const CutVtx* poly, int count) {
        if (scale.m_bGlobalRange) {
            double vals[kMaxChain + 2];
            for (int i = 0; i < count; i++) vals[i] = poly[i].value;
            if (scale.IsOutOfRange(count, vals)) return;
        }
        for (int i = 0; i < count; i++) out[nOut + i] = poly[i];
        nOut += count;
        outSizes[nPoly++] = count;
    };

    // Crossing points of the longest edge, by the same expression as GetRankVertices.
    const double span = vA - vC;
    P3 acPts[CContourEngine::MAX_LEVELS];
    for (int j = 0; j < m; j++) acPts[j] = Along(A, C, (vA - acLev[j]) / span);

    // Right chain: A, the AB crossings (levels above vB), B, the BC crossings, C. A level
    // through B gives no crossing.
    P3 chainPt[kMaxChain];
    double chainVal[kMaxChain];
    int right[CContourEngine::MAX_LEVELS + 1];
    int c = 0;
    chainPt[c] = A;
    chainVal[c++] = vA;
    int j = 0;
    const double sAB = vA - vB, sBC = vB - vC;
    for (; j < m && acLev[j] - vB > kLevelTol; j++) {
        chainPt[c] = Along(A, B, (vA - acLev[j]) / sAB);
        chainVal[c] = acLev[j];
        right[j] = c++;
    }
    const int idxB = c;
    chainPt[c] = B;
    chainVal[c++] = vB;
    for (; j < m; j++) {
        if (vB - acLev[j] > kLevelTol) {
            chainPt[c] = Along(B, C, (vB - acLev[j]) / sBC);
            chainVal[c] = acLev[j];
            right[j] = c++;
        } else {
            right[j] = idxB;  // a level through B
        }
    }
    const int idxC = c;
    chainPt[c] = C;
    chainVal[c++] = vC;

    // Polygon j lies between level line j-1 (the point A for j = 0) and level line j (the point
    // C for j = m); an edge along AB, BC or CA carries that edge's flag, the upper level line is
    // marked by the polygon below it.
    CutVtx poly[kMaxChain + 2];
    for (j = 0; j <= m; j++) {
        int count = 0;
        int from;
        if (j == 0) {
            poly[count++] = CutVtx{A, eAB, vA};
            from = 1;
        } else {
            poly[count++] = CutVtx{acPts[j - 1], 1, acLev[j - 1]};
            from = right[j - 1];
        }
        const int to = j < m ? right[j] : idxC;
        for (int i = from; i <= to && count < kMaxChain + 1; i++) {
            int flag;
            if (i == to) flag = j < m ? 0 : eCA;
            else flag = i < idxB ? eAB : eBC;
            poly[count++] = CutVtx{chainPt[i], flag, chainVal[i]};
        }
        if (j < m) poly[count++] = CutVtx{acPts[j], eCA, acLev[j]};
        if (count >= 3) emit(poly, count);  // levels out of order could leave a bare line
    }
    if (nPoly == 0 || !AppendPolys(sizes, vertices, out, nOut, outSizes, nPoly)) return 0;
    return nPoly;
}

// The triangles of a quad (corners tri[3 t..3 t+2], values val[3 t..]) when none of the first
// nLevels levels lies strictly between their smallest and largest value: no level crosses any
// of them (a cut takes only levels strictly between its triangle's extremes), so each is its
// own band polygon, corners from the largest value down, as CutTriangle appends it (or leaves it
// out, outside the global range); all in one step. false, lists unchanged, when a level might
// cross one or the active-range filter applies to them. tri[j] is corner cornerOf[j] of the face;
// the scale notes which corner each appended vertex copies.
bool AppendUncutTriangles(CContourEngine& scale, int nLevels, bool sortedLevels, int& lastAbove,
                          const C3DPoint* const* tri, const double* val, const double* distinct, int nDistinct,
                          int nTri, const unsigned char* cornerOf,
                          CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    if (scale.m_bActiveRange && scale.m_bActiveRangeKnot && scale.m_nActiveRangeMode == 0) return false;
    // The triangles' values are those of the distinct list, which gives their extremes.
    double lo = distinct[0], hi = distinct[0];
    bool nan = false;
    for (int i = 0; i < nDistinct; i++) {
        nan |= std::isnan(distinct[i]);
        lo = std::min(lo, distinct[i]);
        hi = std::max(hi, distinct[i]);
    }
    if (nan) return false;
    const double* L = scale.m_dRankMap;
    if (sortedLevels) {
        // The first level above lo (levels ascending, lo a number); the levels after it are no
        // lower, so it alone can lie below hi. Neighbouring faces mostly share it: the one found
        // last is tried first.
        int k = lastAbove;
        if (!(k >= 0 && k <= nLevels && (k == 0 || !(L[k - 1] > lo)) && (k == nLevels || L[k] > lo))) {
            const double* at = L;
            for (int len = nLevels; len > 1;) {
                const int half = len / 2;
                at = at[half] > lo ? at : at + half;
                len -= half;
            }
            at += *at > lo ? 0 : 1;
            k = static_cast<int>(at - L);
            lastAbove = k;
        }
        if (k < nLevels && L[k] < hi) return false;
    } else {
        int between = 0;
        for (int k = 0; k < nLevels; k++) between += (L[k] > lo) & (L[k] < hi);
        if (between) return false;
    }
    // Each triangle's corners from the largest value down; outside the global range it is left out.
    int order[4][3];
    bool keep[4];
    int kept = 0;
    for (int t = 0; t < nTri; t++) {
        SortCornerNumbers(val + 3 * t, order[t]);
        keep[t] = true;
        if (scale.m_bGlobalRange) {
            double sorted[3];
            for (int i = 0; i < 3; i++) sorted[i] = val[3 * t + order[t][i]];
            keep[t] = !scale.IsOutOfRange(3, sorted);
        }
        kept += keep[t];
    }
    if (kept == 0) return true;
    // Both lists grown once, the vertices written in place.
    GrowLong(sizes, kept);
    GrowLong(vertices, 3 * kept);
    const INT_PTR firstPoly = sizes.GetSize();
    sizes.SetSize(firstPoly + kept);
    if (sizes.GetSize() != firstPoly + kept) return false;
    const INT_PTR at = vertices.GetSize();
    vertices.SetSize(at + 3 * kept);
    if (vertices.GetSize() != at + 3 * kept) {
        sizes.SetSize(firstPoly);
        return false;
    }
    int* ps = sizes.GetData() + firstPoly;
    VtxInfo_tag* dst = vertices.GetData() + at;
    // The corner of each vertex goes straight into the run (bytes gathered aside would be read
    // back as words before they are all stored).
    unsigned char* src = scale.NoteCornerRun(vertices, at, 3 * kept).src;
    int k = 0;
    for (int t = 0; t < nTri; t++) {
        if (!keep[t]) continue;
        *ps++ = 3;
        for (int i = 0; i < 3; i++, k++) {
            const int j = 3 * t + order[t][i];
            const C3DPoint& p = *tri[j];
            dst[k].pt.x = p.x;
            dst[k].pt.y = p.y;
            dst[k].pt.z = p.z;
            dst[k].bLine = 0;
            dst[k].dValue = val[j];
            src[k] = cornerOf[j];
        }
    }
    return true;
}

}  // namespace

I_PVXModel* CContourEngine::GetCurrentModel() {
    if (CPVXView::m_pMyself != nullptr && CPVXView::m_pMyself->GetPVXModel() != nullptr)
        return CPVXView::m_pMyself->GetPVXModel();
    return I_PVXModel::GetPVXModelPoint();
}

double CContourEngine::GetMagnitudeTolerance(int n, const double* values) {
    // m x 1e-10 for the largest magnitude m, at least 1e-15. A zero has no magnitude: counting it
    // as 1 would make every value below 1e-10 equal to its neighbours and leave such faces uncut.
    return values != nullptr && n > 0 ? MagnitudeTolerance(n, values) : 1e-15;
}

// ---- level crossings ---------------------------------------------------------------------------

void CContourEngine::GrowBandLists(CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                                   INT_PTR nVertices) {
    GrowLong(sizes);
    GrowLong(vertices, nVertices);
}

void CContourEngine::GetRankVertices(C3DPoint p1, C3DPoint p2, double w1, double w2,
                                     CArray<C3DPoint, C3DPoint>& points, CArray<double, double>& levels,
                                     int* pOnLevel) {
    C3DPoint pts[MAX_LEVELS];
    double lev[MAX_LEVELS];
    const int count = CrossLevels(p1, p2, w1, w2, pts, lev, pOnLevel);
    GrowLong(points, count);
    GrowLong(levels, count);
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
    const double w[3] = {w1, w2, w3};
    if (bExtrude && m_bExtrudeContour) {
        C3DPoint P[3] = {p1, p2, p3};
        C3DPoint* corners[3] = {&p1, &p2, &p3};
        ExtrudeCorners(3, corners, w, P);
    }
    const C3DPoint* src[3] = {&p1, &p2, &p3};
    int order[3];
    SortCorners(w, order);
    const double sorted[3] = {w[order[0]], w[order[1]], w[order[2]]};
    const int flags[3] = {0, 0, 0};
    CutTriangle(*src[order[0]], *src[order[1]], *src[order[2]], sorted, flags, sizes, vertices, f1, f2);
}

void CContourEngine::DoTriangleContour(double vA, double vB, double vC, C3DPoint& A, C3DPoint& B, C3DPoint& C,
                                       int eAB, int eBC, int eCA, CArray<int, int>& sizes,
                                       CArray<VtxInfo_tag, VtxInfo_tag>& vertices, CArray<double, double>* f1,
                                       CArray<double, double>* f2) {
    const double w[3] = {vA, vB, vC};
    const int e[3] = {eAB, eBC, eCA};
    CutTriangle(A, B, C, w, e, sizes, vertices, f1, f2);
}

void CContourEngine::CutTriangle(const C3DPoint& pA, const C3DPoint& pB, const C3DPoint& pC, const double* w,
                                 const int* e, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                                 CArray<double, double>* f1, CArray<double, double>* f2) {
    const P3 A = ToP3(pA), B = ToP3(pB), C = ToP3(pC);
    const double vA = w[0], vB = w[1], vC = w[2];

    // Levels strictly between vC and vA, from the top: with sorted levels two binary searches,
    // else the rank lookups.
    double acLev[MAX_LEVELS];
    int m = 0;
    const double ends[2] = {vA, vC};
    const double T = MagnitudeTolerance(2, ends);
    const bool flat = std::fabs(vA - vB) < T && std::fabs(vB - vC) < T;
    if (!flat && vA > vC && std::isfinite(vA - vC)) {
        const int n = LevelCount();
        const double* L = m_dRankMap;
        if (m_nSortedLevels >= n) {
            // hi: last level below vA by more than the tolerance; lo: first above vC by more.
            int a = 0, b = n;
            while (a < b) {
                const int mid = (a + b) / 2;
                if (vA - L[mid] > kLevelTol) a = mid + 1;
                else b = mid;
            }
            const int hi = a - 1;
            a = 0;
            b = n;
            while (a < b) {
                const int mid = (a + b) / 2;
                if (L[mid] - vC > kLevelTol) b = mid;
                else a = mid + 1;
            }
            for (int k = hi; k >= a; k--)
                if (L[k] < vA && L[k] > vC) acLev[m++] = L[k];
        } else {
            C3DPoint pts[MAX_LEVELS];
            m = CrossLevels(C3DPoint(A.x, A.y, A.z), C3DPoint(C.x, C.y, C.z), vA, vC, pts, acLev, nullptr);
        }
    }

    int nPoly = 0;
    if (m == 0) {
        // Flat, or the whole face inside one band: the triangle itself.
        const double vals[3] = {vA, vB, vC};
        if (!m_bGlobalRange || !IsOutOfRange(3, const_cast<double*>(vals))) {
            const CutVtx tri[3] = {{A, e[0], vA}, {B, e[1], vB}, {C, e[2], vC}};
            const int three = 3;
            if (AppendPolys(sizes, vertices, tri, 3, &three, 1)) nPoly = 1;
        }
    } else {
        nPoly = CutBands(*this, A, B, C, vA, vB, vC, e[0], e[1], e[2], acLev, m, sizes, vertices);
    }
    if (nPoly == 0) return;

    if (f1 || f2) {
        double f = 1.0, g = 0.0;  // neutral factors while flat shading is off
        if (f1 && f2) {
            I_PVXModel* pModel = GetCurrentModel();
            if (pModel && pModel->m_pDispOpt && pModel->m_pDispOpt->m_bShading) {
                const C3DPoint corners[3] = {C3DPoint(A.x, A.y, A.z), C3DPoint(B.x, B.y, B.z), C3DPoint(C.x, C.y, C.z)};
                pModel->GetFlatShadingFactor(3, corners, f, g);
            }
        }
        if (f1) GrowLong(*f1, nPoly);
        if (f2) GrowLong(*f2, nPoly);
        for (int i = 0; i < nPoly; i++) {
            if (f1) f1->Add(f);
            if (f2) f2->Add(g);
        }
    }
    if (m_bActiveRange && m_bActiveRangeKnot && m_nActiveRangeMode == 0) ExcludePolyOutofRange(sizes, vertices, f1, f2);
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
    double w[4] = {w1, w2, w3, w4};
    if (m_bExtrudeContour) {
        C3DPoint copies[4] = {p1, p2, p3, p4};
        C3DPoint* corners[4] = {&p1, &p2, &p3, &p4};
        ExtrudeCorners(4, corners, w, copies);
    }
    const C3DPoint* P[4] = {&p1, &p2, &p3, &p4};

    const double T = MagnitudeTolerance(4, w);
    if (std::fabs(w1 - w2) < T && std::fabs(w2 - w3) < T && std::fabs(w3 - w4) < T) {
        double f = 1.0, g = 0.0;
        if (f1 && f2) {
            I_PVXModel* pModel = GetCurrentModel();
            if (pModel && pModel->m_pDispOpt && pModel->m_pDispOpt->m_bShading) {
                const C3DPoint corners[4] = {p1, p2, p3, p4};
                pModel->GetFlatShadingFactor(4, corners, f, g);
            }
        }
        // The first vertex carries the largest value, so the face takes the band of that value.
        double top = w1;
        for (double x : w)
            if (x > top) top = x;
        GrowBandLists(sizes, vertices, 4);
        if (f1) GrowLong(*f1);
        if (f2) GrowLong(*f2);
        sizes.Add(4);
        if (f1) f1->Add(f);
        if (f2) f2->Add(g);
        const INT_PTR at = vertices.GetSize();
        vertices.SetSize(at + 4);
        if (vertices.GetSize() != at + 4) return;
        VtxInfo_tag* dst = vertices.GetData() + at;
        for (int i = 0; i < 4; i++) {
            dst[i].pt.x = P[i]->x;
            dst[i].pt.y = P[i]->y;
            dst[i].pt.z = P[i]->z;
            dst[i].bLine = 0;
            dst[i].dValue = i == 0 ? top : w[i];
        }
        CornerRun& run = NoteCornerRun(vertices, at, 4);
        for (int i = 0; i < 4; i++) run.src[i] = static_cast<unsigned char>(i);
        return;
    }
    const int n = LevelCount();
    const bool sortedLevels = m_nSortedLevels >= n;

    // One triangle of corners a, b, c: its corners ordered by value, as ContourTriangle does.
    const int noFlags[3] = {0, 0, 0};
    auto cut = [&](const C3DPoint& a, const C3DPoint& b, const C3DPoint& c, double wa, double wb, double wc) {
        const double tw[3] = {wa, wb, wc};
        const C3DPoint* tp[3] = {&a, &b, &c};
        int order[3];
        SortCorners(tw, order);
        const double sorted[3] = {tw[order[0]], tw[order[1]], tw[order[2]]};
        CutTriangle(*tp[order[0]], *tp[order[1]], *tp[order[2]], sorted, noFlags, sizes, vertices, f1, f2);
    };
    if (!m_bCoarseContour) {
        // Four triangles around the centre (the mean of the corners and of their values).
        const double wc = (w1 + w2 + w3 + w4) * 0.25;
        const C3DPoint pc((p1.x + p2.x + p3.x + p4.x) * 0.25, (p1.y + p2.y + p3.y + p4.y) * 0.25,
                          (p1.z + p2.z + p3.z + p4.z) * 0.25);
        const C3DPoint* tri[12] = {P[0], P[1], &pc, P[1], P[2], &pc, P[2], P[3], &pc, P[3], P[0], &pc};
        const double val[12] = {w1, w2, wc, w2, w3, wc, w3, w4, wc, w4, w1, wc};
        const double distinct[5] = {w1, w2, w3, w4, wc};
        static constexpr unsigned char kCornerOf[12] = {0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4};
        if (!f1 && !f2 &&
            AppendUncutTriangles(*this, n, sortedLevels, m_nLastAbove, tri, val, distinct, 5, 4, kCornerOf,
                                 sizes, vertices))
            return;
        for (int i = 0; i < 4; i++) {
            const int k = (i + 1) % 4;
            cut(*P[i], *P[k], pc, w[i], w[k], wc);
        }
    } else {
        // Two triangles on the diagonal p2-p4.
        const C3DPoint* tri[6] = {&p1, &p2, &p4, &p2, &p3, &p4};
        const double val[6] = {w1, w2, w4, w2, w3, w4};
        static constexpr unsigned char kCornerOf[6] = {0, 1, 3, 1, 2, 3};
        if (!f1 && !f2 &&
            AppendUncutTriangles(*this, n, sortedLevels, m_nLastAbove, tri, val, w, 4, 2, kCornerOf, sizes,
                                 vertices))
            return;
        cut(p1, p2, p4, w1, w2, w4);
        cut(p2, p3, p4, w2, w3, w4);
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
