#include "host/vdraw/VdGeometry.h"

#include <algorithm>
#include <cmath>

#include "host/vdraw/CVdrawUtil.h"

namespace vd {

void Box::Add(double x, double y) {
    if (!valid) {
        xmin = xmax = x;
        ymin = ymax = y;
        valid = true;
        return;
    }
    xmin = std::min(xmin, x);
    xmax = std::max(xmax, x);
    ymin = std::min(ymin, y);
    ymax = std::max(ymax, y);
}

double EstimateTextWidth(const std::string& text, double h) {
    double w = 0.0;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned cp = c;
        size_t len = 1;
        if (c >= 0xF0) len = 4, cp = c & 0x07;
        else if (c >= 0xE0) len = 3, cp = c & 0x0F;
        else if (c >= 0xC0) len = 2, cp = c & 0x1F;
        for (size_t k = 1; k < len && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += len;
        w += cp >= 0x2E80 ? h : 0.6 * h;
    }
    return w;
}

T_POINT2D JustifyOffset(int horJust, int verJust, double w, double h) {
    T_POINT2D o;
    if (horJust == VdTextHorRight) o.x = -w;
    else if (horJust == VdTextHorCenter) o.x = -0.5 * w;
    if (verJust == VdTextVerTop) o.y = -h;
    else if (verJust == VdTextVerCenter) o.y = -0.5 * h;
    return o;
}

void TextCorners(const CvdFigure& text, double w, T_POINT2D out[4]) {
    const double h = text.m_height;
    const T_POINT2D o = JustifyOffset(text.m_horJust, text.m_verJust, w, h);
    const double a = text.m_angle * kDegToRad;
    const double c = std::cos(a), s = std::sin(a);
    const T_POINT2D& p = text.m_points[0];
    const double lx[4] = {o.x, o.x + w, o.x + w, o.x};
    const double ly[4] = {o.y, o.y, o.y + h, o.y + h};
    for (int i = 0; i < 4; ++i) out[i] = T_POINT2D(p.x + lx[i] * c - ly[i] * s, p.y + lx[i] * s + ly[i] * c);
}

double ArcSweep(double startDeg, double endDeg) {
    double sweep = std::fmod(endDeg - startDeg, 360.0);
    if (sweep <= 1e-12) sweep += 360.0;
    return sweep;
}

void AddFigureBox(const CvdFigure& f, Box& box) {
    if (f.m_points.empty()) return;
    switch (f.GetKind()) {
    case VdKindText: {
        T_POINT2D c[4];
        TextCorners(f, EstimateTextWidth(f.m_text.GetString(), f.m_height), c);
        for (const T_POINT2D& p : c) box.Add(p);
        break;
    }
    case VdKindCircle: {
        const T_POINT2D& c = f.m_points[0];
        box.Add(c.x - f.m_radius, c.y - f.m_radius);
        box.Add(c.x + f.m_radius, c.y + f.m_radius);
        break;
    }
    case VdKindArc: {
        const T_POINT2D& c = f.m_points[0];
        const double sweep = ArcSweep(f.m_startAngle, f.m_endAngle);
        auto at = [&](double deg) {
            box.Add(c.x + f.m_radius * std::cos(deg * kDegToRad), c.y + f.m_radius * std::sin(deg * kDegToRad));
        };
        at(f.m_startAngle);
        at(f.m_startAngle + sweep);
        // Quadrant points the sweep passes.
        const double first = std::ceil(f.m_startAngle / 90.0) * 90.0;
        for (double q = first; q < f.m_startAngle + sweep; q += 90.0) at(q);
        break;
    }
    case VdKindArrow: {
        T_POINT2D head[3], end;
        ArrowHead(f, head, end);
        box.Add(f.m_points[0]);
        for (const T_POINT2D& p : head) box.Add(p);
        break;
    }
    default:
        for (const T_POINT2D& p : f.m_points) box.Add(p);
    }
}

void FitWindow(const double box[4], double view[4]) {
    double w = box[2] - box[0], h = box[3] - box[1];
    double cx = 0.5 * (box[0] + box[2]), cy = 0.5 * (box[1] + box[3]);
    if (w <= 0.0 && h <= 0.0) w = h = 1.0;
    w = std::max(w, 1e-9) * 1.1;
    h = std::max(h, 1e-9) * 1.1;
    view[0] = cx - 0.5 * w;
    view[1] = cy - 0.5 * h;
    view[2] = cx + 0.5 * w;
    view[3] = cy + 0.5 * h;
}

namespace {

double Cross(const T_POINT2D& o, const T_POINT2D& a, const T_POINT2D& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool InTriangle(const T_POINT2D& p, const T_POINT2D& a, const T_POINT2D& b, const T_POINT2D& c) {
    return Cross(a, b, p) >= 0.0 && Cross(b, c, p) >= 0.0 && Cross(c, a, p) >= 0.0;
}

}  // namespace

std::vector<int> Triangulate(std::span<const T_POINT2D> pts) {
    std::vector<int> out;
    std::vector<int> idx;
    for (int i = 0; i < static_cast<int>(pts.size()); ++i) {
        if (!idx.empty() && pts[idx.back()] == pts[i]) continue;
        idx.push_back(i);
    }
    while (idx.size() > 1 && pts[idx.front()] == pts[idx.back()]) idx.pop_back();
    if (idx.size() < 3) return out;
    double area = 0.0;
    for (size_t i = 0; i < idx.size(); ++i) {
        const T_POINT2D& a = pts[idx[i]];
        const T_POINT2D& b = pts[idx[(i + 1) % idx.size()]];
        area += a.x * b.y - b.x * a.y;
    }
    if (area < 0.0) std::reverse(idx.begin(), idx.end());
    size_t guard = 0;
    while (idx.size() > 3 && guard < 4 * pts.size() * pts.size() + 16) {
        ++guard;
        bool cut = false;
        const size_t n = idx.size();
        for (size_t i = 0; i < n; ++i) {
            const int ia = idx[(i + n - 1) % n], ib = idx[i], ic = idx[(i + 1) % n];
            if (Cross(pts[ia], pts[ib], pts[ic]) <= 0.0) continue;  // reflex or flat corner
            bool ear = true;
            for (size_t k = 0; k < n && ear; ++k) {
                const int ip = idx[k];
                if (ip == ia || ip == ib || ip == ic) continue;
                if (InTriangle(pts[ip], pts[ia], pts[ib], pts[ic])) ear = false;
            }
            if (!ear) continue;
            out.insert(out.end(), {ia, ib, ic});
            idx.erase(idx.begin() + static_cast<long>(i));
            cut = true;
            break;
        }
        if (!cut) {
            // No ear (collinear or self-touching rest): drop a flat corner if any, else stop.
            bool dropped = false;
            for (size_t i = 0; i < idx.size(); ++i) {
                const size_t m = idx.size();
                if (Cross(pts[idx[(i + m - 1) % m]], pts[idx[i]], pts[idx[(i + 1) % m]]) == 0.0) {
                    idx.erase(idx.begin() + static_cast<long>(i));
                    dropped = true;
                    break;
                }
            }
            if (!dropped) break;
        }
    }
    if (idx.size() == 3 && Cross(pts[idx[0]], pts[idx[1]], pts[idx[2]]) != 0.0)
        out.insert(out.end(), {idx[0], idx[1], idx[2]});
    return out;
}

std::vector<T_POINT2D> ArcPoints(const T_POINT2D& centre, double r, double startDeg, double sweepDeg,
                                 double maxStepDeg) {
    const int n = std::max(1, static_cast<int>(std::ceil(sweepDeg / maxStepDeg)));
    std::vector<T_POINT2D> pts;
    pts.reserve(n + 1);
    for (int i = 0; i <= n; ++i) {
        const double a = (startDeg + sweepDeg * i / n) * kDegToRad;
        pts.emplace_back(centre.x + r * std::cos(a), centre.y + r * std::sin(a));
    }
    return pts;
}

void ArrowHead(const CvdFigure& arrow, T_POINT2D head[3], T_POINT2D& shaftEnd) {
    const T_POINT2D& a = arrow.m_points[0];
    const T_POINT2D& b = arrow.m_points[1];
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    const double L = std::min(arrow.m_headSize, len);
    const double ux = len > 0.0 ? dx / len : 1.0, uy = len > 0.0 ? dy / len : 0.0;
    const T_POINT2D base(b.x - ux * L, b.y - uy * L);
    const double half = L / 3.0;
    head[0] = b;
    head[1] = T_POINT2D(base.x - uy * half, base.y + ux * half);
    head[2] = T_POINT2D(base.x + uy * half, base.y - ux * half);
    shaftEnd = base;
}

}  // namespace vd
