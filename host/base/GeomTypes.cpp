#include "host/base/GeomTypes.h"

#include <cmath>

#include "host/base/CMathFunc.h"

double T_LINE2D::Length() const { return math_lib::distance_2d(p1.x, p1.y, p2.x, p2.y); }

double T_LINE_G::GetLength() const {
    return CMathFunc::mathLength(m_End.x - m_Start.x, m_End.y - m_Start.y, m_End.z - m_Start.z);
}

int T_LINE_G::GetPosByRatio(T_POINT3D& out, double ratio) const {
    out.x = m_Start.x + (m_End.x - m_Start.x) * ratio;
    out.y = m_Start.y + (m_End.y - m_Start.y) * ratio;
    out.z = m_Start.z + (m_End.z - m_Start.z) * ratio;
    return 1;
}

int T_LINE_G::GetPosByRatio(C3DPoint& out, double ratio) const {
    T_POINT3D p;
    GetPosByRatio(p, ratio);
    out = p;
    return 1;
}

int T_LINE_G::GetPosByLength(T_POINT3D& out, double len) const {
    const double l = GetLength();
    if (l < CMathFunc::m_NormalZero) return 0;
    return GetPosByRatio(out, len / l);
}

int T_LINE_G::GetPosByLength(C3DPoint& out, double len) const {
    T_POINT3D p;
    if (!GetPosByLength(p, len)) return 0;
    out = p;
    return 1;
}

void T_POLYGON2D::Set(const T_POINT2D* pts, int n) {
    m_Points.clear();
    if (pts && n > 0) m_Points.assign(pts, pts + n);
}

BOOL T_POLYGON2D::IsClosed() const { return m_Points.size() >= 2 && m_Points.front() == m_Points.back(); }

void T_POLYGON2D::MakeColse() {
    if (!m_Points.empty() && !IsClosed()) m_Points.push_back(m_Points.front());
}

T_POINT2D T_POLYGON2D::Center() const {
    int n = GetCount();
    if (n == 0) return T_POINT2D();
    if (IsClosed()) --n;  // the repeated point would count twice
    std::vector<double> xs(n), ys(n);
    for (int i = 0; i < n; ++i) {
        xs[i] = m_Points[i].x;
        ys[i] = m_Points[i].y;
    }
    T_POINT2D c;
    CMathFunc::mathPolyCentroid(n, xs.data(), ys.data(), c.x, c.y);
    return c;
}

int CZELF_Point2D::IsLeft2(const T_POINT2D& p, double tol) const {
    if (x < p.x - tol) return 1;
    if (std::fabs(x - p.x) <= tol && y < p.y - tol) return 1;
    return 0;
}

void CZELF_Point2D::Swap(T_POINT2D& p) {
    T_POINT2D t = p;
    p = *this;
    x = t.x;
    y = t.y;
}

double CZELF_Point2D::Distance(const T_POINT2D& p) const { return math_lib::distance_2d(x, y, p.x, p.y); }

int CZELF_Arc2D::SetData(const T_POINT2D& s, const T_POINT2D& m, const T_POINT2D& e) {
    m_bArc = FALSE;
    m_dRadius = 0.0;
    m_dChord = 0.0;
    m_Centre = T_POINT2D((s.x + e.x) * 0.5, (s.y + e.y) * 0.5);
    // Circumcentre of the three points, relative to the start for precision.
    const double bx = m.x - s.x, by = m.y - s.y;
    const double cx = e.x - s.x, cy = e.y - s.y;
    const double d = 2.0 * (bx * cy - by * cx);
    const double ext = std::fmax(std::fmax(std::fabs(bx), std::fabs(by)), std::fmax(std::fabs(cx), std::fabs(cy)));
    if (ext <= 0.0 || std::fabs(d) <= CMathFunc::m_NormalZero * ext * ext) return 0;
    const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    const double ux = (cy * b2 - by * c2) / d;
    const double uy = (bx * c2 - cx * b2) / d;
    m_Centre = T_POINT2D(s.x + ux, s.y + uy);
    m_dRadius = std::sqrt(ux * ux + uy * uy);
    // Height of the arc's middle above the chord: r - distance(centre, chord) on the side of
    // the middle point, r + distance for an arc longer than a half circle.
    const double clen = std::sqrt(c2);
    if (clen <= 0.0) return 0;  // start and end coincide: no chord
    const double side = (cx * by - cy * bx);  // > 0: middle point left of start -> end
    const double centreDist = std::fabs(cx * uy - cy * ux) / clen;
    const double centreSide = (cx * uy - cy * ux);  // > 0: centre left of the chord
    const bool middleLeft = side > 0.0;
    const bool centreLeft = centreSide > 0.0;
    const double h = (middleLeft == centreLeft) ? m_dRadius + centreDist : m_dRadius - centreDist;
    m_dChord = middleLeft ? h : -h;
    m_bArc = TRUE;
    return 1;
}

namespace math_lib {
double distance_2d(double x1, double y1, double x2, double y2) { return std::hypot(x2 - x1, y2 - y1); }
}  // namespace math_lib
