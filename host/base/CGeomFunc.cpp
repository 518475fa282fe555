#include "host/base/CGeomFunc.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/base/CMathFunc.h"
#include "host/base/CZELF_Polyline2D.h"

namespace {
constexpr double kSameTol = 1e-9;  // crossings closer than this are one point

// Parameters (u along p1-p2, v along a-b) of the crossing of two lines; false when parallel.
bool CrossParams(const T_POINT2D& p1, const T_POINT2D& p2, const T_POINT2D& a, const T_POINT2D& b, double& u,
                 double& v) {
    const double rx = p2.x - p1.x, ry = p2.y - p1.y;
    const double sx = b.x - a.x, sy = b.y - a.y;
    const double den = rx * sy - ry * sx;
    const double scale = std::hypot(rx, ry) * std::hypot(sx, sy);
    if (!(scale > 0.0) || std::fabs(den) <= 1e-12 * scale) return false;
    const double qx = a.x - p1.x, qy = a.y - p1.y;
    u = (qx * sy - qy * sx) / den;
    v = (qx * ry - qy * rx) / den;
    return true;
}

// Edge count of a point ring: the closing edge counts unless the last point repeats the first.
int RingEdges(const CArray<T_POINT2D>& ring) {
    const int n = static_cast<int>(ring.GetSize());
    if (n >= 2 && ring[0] == ring[n - 1]) return n - 1;
    return n;
}
}  // namespace

BOOL CGeomFunc::GetMBR(const CArray<T_POINT2D>& pts, T_REGION2D& box) {
    if (pts.GetSize() == 0) return FALSE;
    T_REGION2D r(pts[0].x, pts[0].y, pts[0].x, pts[0].y);
    for (INT_PTR i = 0; i < pts.GetSize(); ++i) {
        const T_POINT2D& p = pts[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return FALSE;
        r.x1 = std::fmin(r.x1, p.x);
        r.y1 = std::fmin(r.y1, p.y);
        r.x2 = std::fmax(r.x2, p.x);
        r.y2 = std::fmax(r.y2, p.y);
    }
    box = r;
    return TRUE;
}

int CGeomFunc::s_GetIntersectPointsFromPolyLine(const CArray<T_POINT2D>& poly, const T_POINT2D& p1,
                                                const T_POINT2D& p2, CArray<T_POINT2D>& out, int bClosed,
                                                int bLine, int bWithEnds, int bUnique) {
    out.RemoveAll();
    const int n = static_cast<int>(poly.GetSize());
    const int edges = bClosed ? RingEdges(poly) : n - 1;
    // Tolerance on the segment's own parameter, so that a crossing at p1 or p2 is recognised.
    const double len = math_lib::distance_2d(p1.x, p1.y, p2.x, p2.y);
    const double endTol = len > 0.0 ? kSameTol / len : 0.0;
    for (int i = 0; i < edges && n >= 2; ++i) {
        const T_POINT2D& a = poly[i];
        const T_POINT2D& b = poly[(i + 1) % n];
        double u = 0.0, v = 0.0;
        if (!CrossParams(p1, p2, a, b, u, v)) continue;
        const double edgeTol = kSameTol / std::fmax(math_lib::distance_2d(a.x, a.y, b.x, b.y), kSameTol);
        if (v < -edgeTol || v > 1.0 + edgeTol) continue;
        if (!bLine) {
            const bool atEnd = std::fabs(u) <= endTol || std::fabs(u - 1.0) <= endTol;
            if (u < -endTol || u > 1.0 + endTol) continue;
            if (atEnd && !bWithEnds) continue;
        }
        const T_POINT2D x(a.x + v * (b.x - a.x), a.y + v * (b.y - a.y));
        bool seen = false;
        for (INT_PTR k = 0; bUnique && k < out.GetSize() && !seen; ++k)
            seen = math_lib::distance_2d(out[k].x, out[k].y, x.x, x.y) <= kSameTol;
        if (!seen) out.Add(x);
    }
    return static_cast<int>(out.GetSize());
}

int CGeomFunc::GetIntersectLines(const T_MEMBDLG_3DPOINT_LIST_ITEM& outline, const CArray<T_LINE2D>& lines,
                                 CArray<T_LINE2D>& pieces, int bInside) {
    pieces.RemoveAll();
    CArray<T_POINT2D> ring;
    for (int i = 0; i < outline.GetCount(); ++i) ring.Add(T_POINT2D(outline.m_Points[i].x, outline.m_Points[i].y));
    if (RingEdges(ring) < 3) return 0;
    const int n = static_cast<int>(ring.GetSize());
    for (INT_PTR li = 0; li < lines.GetSize(); ++li) {
        const T_LINE2D& line = lines[li];
        // Cut the line at every crossing with an edge, then keep the pieces whose middle lies on
        // the wanted side.
        std::vector<double> cuts = {0.0, 1.0};
        for (int i = 0; i < RingEdges(ring); ++i) {
            double u = 0.0, v = 0.0;
            if (!CrossParams(line.p1, line.p2, ring[i], ring[(i + 1) % n], u, v)) continue;
            if (v >= -kSameTol && v <= 1.0 + kSameTol && u > 0.0 && u < 1.0) cuts.push_back(u);
        }
        std::sort(cuts.begin(), cuts.end());
        const double dx = line.p2.x - line.p1.x, dy = line.p2.y - line.p1.y;
        for (size_t k = 0; k + 1 < cuts.size(); ++k) {
            const T_LINE2D piece(T_POINT2D(line.p1.x + cuts[k] * dx, line.p1.y + cuts[k] * dy),
                                 T_POINT2D(line.p1.x + cuts[k + 1] * dx, line.p1.y + cuts[k + 1] * dy));
            if (piece.Length() < kSameTol) continue;
            const T_POINT2D mid((piece.p1.x + piece.p2.x) * 0.5, (piece.p1.y + piece.p2.y) * 0.5);
            const BOOL in = IsPointInPolygon2(mid, ring, 1, kSameTol);
            if ((in != FALSE) == (bInside != 0)) pieces.Add(piece);
        }
    }
    return static_cast<int>(pieces.GetSize());
}

BOOL CGeomFunc::IsPointInPolygon2(const T_POINT2D& pt, const CArray<T_POINT2D>& poly, int bEdgeInside, double tol,
                                  BOOL* pOnEdge) {
    if (pOnEdge) *pOnEdge = FALSE;
    const int n = static_cast<int>(poly.GetSize());
    const int edges = RingEdges(poly);
    if (edges < 3) return FALSE;
    bool inside = false;
    for (int i = 0; i < edges; ++i) {
        const T_POINT2D& a = poly[i];
        const T_POINT2D& b = poly[(i + 1) % n];
        if (CMathFunc::mathIsPointOfLine2D(pt, a, b, tol)) {
            if (pOnEdge) *pOnEdge = TRUE;
            return bEdgeInside ? TRUE : FALSE;
        }
        // Crossing-number test with a ray towards +x.
        if ((a.y > pt.y) != (b.y > pt.y)) {
            const double xc = a.x + (pt.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (pt.x < xc) inside = !inside;
        }
    }
    return inside ? TRUE : FALSE;
}

BOOL CGeomFunc::IsPointInPolygon2(const T_POINT2D& pt, const CZELF_Polyline2D& poly, int bEdgeInside, double tol,
                                  BOOL* pOnEdge) {
    CArray<T_POINT2D> ring;
    poly.ToPolyLine(ring, CMathFunc::ArcDividAngleForCal, 1);
    return IsPointInPolygon2(pt, ring, bEdgeInside, tol, pOnEdge);
}

T_POINT2D CGeomFunc::s_GetPointFromVLine(const T_POINT2D& p0, const T_POINT2D& pn, double ratio, double offset) {
    double dx = pn.x - p0.x, dy = pn.y - p0.y;
    T_POINT2D p(p0.x + ratio * dx, p0.y + ratio * dy);
    if (offset != 0.0 && CMathFunc::mathNormalize(dx, dy)) {
        // Left of the direction (dx, dy) is (-dy, dx).
        p.x -= dy * offset;
        p.y += dx * offset;
    }
    return p;
}

void CMathLib::Rotate(T_POINT2D& pt, const T_POINT2D& centre, double angleDeg) {
    double x = pt.x - centre.x, y = pt.y - centre.y, z = 0.0;
    CMathFunc::mathRotateZ(angleDeg, x, y, z);
    pt.x = centre.x + x;
    pt.y = centre.y + y;
}
