#include "host/check/ICheckToolUtil.h"

#include <cmath>
#include <vector>

#include "host/base/CGeomFunc.h"
#include "host/base/CMathFunc.h"

namespace {
bool Finite(const T_POINT2D& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// The points of an outline without its repeated closing point.
std::vector<T_POINT2D> OpenRing(const CArray<T_POINT2D>& pts) {
    std::vector<T_POINT2D> ring(pts.GetData(), pts.GetData() + pts.GetSize());
    if (ring.size() >= 2 && ring.front() == ring.back()) ring.pop_back();
    return ring;
}
}  // namespace

BOOL ICheckToolUtil::s_MakePolyLine(double w, double h, double angle, const T_POINT2D& centre,
                                    CArray<T_POINT2D>& pts) {
    if (!(w > 0.0) || !(h > 0.0) || !std::isfinite(w) || !std::isfinite(h) || !std::isfinite(angle) || !Finite(centre))
        return FALSE;
    const double hw = 0.5 * w, hh = 0.5 * h;
    const T_POINT2D corners[4] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
    pts.RemoveAll();
    for (const T_POINT2D& c : corners) {
        T_POINT2D p(centre.x + c.x, centre.y + c.y);
        CMathLib::Rotate(p, centre, angle);
        pts.Add(p);
    }
    pts.Add(T_POINT2D(pts[0]));
    return TRUE;
}

BOOL ICheckToolUtil::s_RotatePolyLine(const T_POINT2D& centre, const CArray<T_POINT2D>& in, CArray<T_POINT2D>& out,
                                      double angle) {
    if (!std::isfinite(angle) || !Finite(centre)) return FALSE;
    CArray<T_POINT2D> turned;
    for (INT_PTR i = 0; i < in.GetSize(); ++i) {
        T_POINT2D p = in[i];
        CMathLib::Rotate(p, centre, angle);
        turned.Add(p);
    }
    out = std::move(turned);
    return TRUE;
}

BOOL ICheckToolUtil::s_ConvertPolyByRatio(CArray<T_POINT2D>& pts, double ratio) {
    if (!std::isfinite(ratio)) return FALSE;
    for (INT_PTR i = 0; i < pts.GetSize(); ++i) {
        pts[i].x *= ratio;
        pts[i].y *= ratio;
    }
    return TRUE;
}

BOOL ICheckToolUtil::s_GetPolyCentroid(const CArray<T_POINT2D>& pts, T_POINT2D& centre, double& area) {
    const std::vector<T_POINT2D> ring = OpenRing(pts);
    if (ring.empty()) return FALSE;
    for (const T_POINT2D& p : ring)
        if (!Finite(p)) return FALSE;
    // Shoelace sums relative to the first point, for precision far from the origin.
    const T_POINT2D o = ring[0];
    double a2 = 0.0, sx = 0.0, sy = 0.0, ext = 0.0;
    for (size_t i = 0; i < ring.size(); ++i) {
        const T_POINT2D& p = ring[i];
        const T_POINT2D& q = ring[(i + 1) % ring.size()];
        const double xi = p.x - o.x, yi = p.y - o.y, xj = q.x - o.x, yj = q.y - o.y;
        const double cr = xi * yj - xj * yi;
        a2 += cr;
        sx += (xi + xj) * cr;
        sy += (yi + yj) * cr;
        ext = std::fmax(ext, std::fmax(std::fabs(xi), std::fabs(yi)));
    }
    if (std::fabs(a2) > CMathFunc::m_NormalZero * std::fmax(ext * ext, 1.0)) {
        centre = T_POINT2D(o.x + sx / (3.0 * a2), o.y + sy / (3.0 * a2));
        area = 0.5 * std::fabs(a2);
        return TRUE;
    }
    // No area: the mean of the distinct points, so a repeated point does not pull the label.
    std::vector<T_POINT2D> distinct;
    for (const T_POINT2D& p : ring) {
        bool seen = false;
        for (const T_POINT2D& d : distinct) seen = seen || (std::fabs(d.x - p.x) <= 1e-9 && std::fabs(d.y - p.y) <= 1e-9);
        if (!seen) distinct.push_back(p);
    }
    double mx = 0.0, my = 0.0;
    for (const T_POINT2D& d : distinct) {
        mx += d.x - o.x;
        my += d.y - o.y;
    }
    centre = T_POINT2D(o.x + mx / distinct.size(), o.y + my / distinct.size());
    area = 0.0;
    return TRUE;
}

BOOL ICheckToolUtil::s_GetPolyLineInfo(const CArray<T_POINT2D>& pts, CArray<double>& info, CArray<double>& lengths) {
    const std::vector<T_POINT2D> ring = OpenRing(pts);
    bool twoDistinct = false;
    for (const T_POINT2D& p : ring) twoDistinct = twoDistinct || !(p == ring[0]);
    if (!twoDistinct) return FALSE;
    lengths.RemoveAll();
    double perimeter = 0.0, longest = -1.0;
    int longestIndex = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        const T_POINT2D& p = ring[i];
        const T_POINT2D& q = ring[(i + 1) % ring.size()];
        const double len = math_lib::distance_2d(p.x, p.y, q.x, q.y);
        lengths.Add(len);
        perimeter += len;
        if (len > longest) {
            longest = len;
            longestIndex = static_cast<int>(i);
        }
    }
    info.RemoveAll();
    info.Add(static_cast<double>(ring.size()));
    info.Add(perimeter);
    info.Add(static_cast<double>(longestIndex));
    return TRUE;
}

BOOL ICheckToolUtil::s_IsLeftPt(double x1, double y1, double x2, double y2) {
    return CZELF_Point2D(x1, y1).IsLeft2(T_POINT2D(x2, y2), kLeftTol) ? TRUE : FALSE;
}
