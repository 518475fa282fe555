#include "host/base/CZELF_DBLineObjData.h"

#include <cmath>
#include <utility>

int CZELF_DBLineObjData::SetData(const CZELF_Point2D& p1, const CZELF_Point2D& p2, double dArc, double, double) {
    *this = CZELF_DBLineObjData();
    if (!std::isfinite(p1.x) || !std::isfinite(p1.y) || !std::isfinite(p2.x) || !std::isfinite(p2.y) ||
        !std::isfinite(dArc))
        return 0;
    const double chord = p1.Distance(p2);
    if (!(chord > 0.0) || !std::isfinite(chord)) return 0;
    m_Start = p1;
    m_End = p2;
    m_dArc = std::fabs(dArc) < kStraightRatio * chord ? 0.0 : dArc;
    m_bValid = 1;
    // Lines in reading order, arcs counter-clockwise (bulging to the right of start -> end).
    const bool bTurn = m_dArc == 0.0 ? !IsReadingOrder() : m_dArc > 0.0;
    if (bTurn) ReVerSeData();
    return 1;
}

int CZELF_DBLineObjData::IsReadingOrder() const {
    return m_Start.IsLeft2(m_End, kStraightRatio * m_Start.Distance(m_End));
}

void CZELF_DBLineObjData::ReVerSeData() {
    std::swap(m_Start, m_End);
    m_dArc = -m_dArc;
    m_bReverse = !m_bReverse;
}

void CZELF_DBLineObjData::ArcFrame(double& cx, double& cy, double& r, double& a0, double& sweep) const {
    const double dx = m_End.x - m_Start.x, dy = m_End.y - m_Start.y;
    const double c = std::hypot(dx, dy), half = 0.5 * c;
    const double ux = dx / c, uy = dy / c;
    const double h = std::fabs(m_dArc), side = m_dArc > 0.0 ? 1.0 : -1.0;
    // The centre lies on the chord's bisector, r - h from the chord's middle away from the bulge
    // (beyond the middle, towards the bulge, for an arc longer than a half circle).
    r = (half * half + h * h) / (2.0 * h);
    const double back = side * (r - h);
    cx = m_Start.x + 0.5 * dx + uy * back;
    cy = m_Start.y + 0.5 * dy - ux * back;
    a0 = std::atan2(m_Start.y - cy, m_Start.x - cx);
    // Bulging to the left of the chord is a clockwise turn.
    sweep = -side * 2.0 * std::atan2(half, r - h);
}

double CZELF_DBLineObjData::GetLength() const {
    if (!m_bValid) return 0.0;
    if (m_dArc == 0.0) return m_Start.Distance(m_End);
    double cx, cy, r, a0, sweep;
    ArcFrame(cx, cy, r, a0, sweep);
    return r * std::fabs(sweep);
}

CZELF_Point2D CZELF_DBLineObjData::GetPointByDist(double dRatio, double dOffset) const {
    if (!m_bValid) return m_Start;
    if (m_dArc == 0.0) {
        const double dx = m_End.x - m_Start.x, dy = m_End.y - m_Start.y;
        const double c = std::hypot(dx, dy);
        return CZELF_Point2D(m_Start.x + dx * dRatio - dy / c * dOffset, m_Start.y + dy * dRatio + dx / c * dOffset);
    }
    double cx, cy, r, a0, sweep;
    ArcFrame(cx, cy, r, a0, sweep);
    const double a = a0 + sweep * dRatio;
    // Left of the travel is towards the centre on a counter-clockwise arc, away from it on a
    // clockwise one.
    const double rr = sweep > 0.0 ? r - dOffset : r + dOffset;
    return CZELF_Point2D(cx + rr * std::cos(a), cy + rr * std::sin(a));
}

int CZELF_DBLineObjData::GetPoly(CZELF_Polyline2D& poly, int) const {
    poly.RemoveAll();
    if (!m_bValid) return 0;
    poly.Add(m_Start, m_dArc);
    poly.Add(m_End);
    return 1;
}
