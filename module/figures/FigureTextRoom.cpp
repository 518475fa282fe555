#include "module/figures/FigureTextRoom.h"

#include <cmath>

#include "host/vdraw/CVdrawUtil.h"
#include "host/vdraw/VdGeometry.h"

namespace {

constexpr double kClashShare = 0.1;  // of the smaller box

double Cross(const T_POINT2D& o, const T_POINT2D& a, const T_POINT2D& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

double PolyArea(const std::vector<T_POINT2D>& p) {
    double a = 0.0;
    for (size_t i = 0; i < p.size(); ++i) {
        const T_POINT2D& q = p[i];
        const T_POINT2D& r = p[(i + 1) % p.size()];
        a += q.x * r.y - r.x * q.y;
    }
    return 0.5 * std::fabs(a);
}

}  // namespace

double CFVDTextRoom::SharedArea(const T_POINT2D a[4], const T_POINT2D b[4]) {
    // Clips a by each edge of b (Sutherland-Hodgman; both convex and counter-clockwise).
    std::vector<T_POINT2D> out(a, a + 4);
    for (int e = 0; e < 4 && !out.empty(); ++e) {
        const T_POINT2D &p = b[e], &q = b[(e + 1) % 4];
        std::vector<T_POINT2D> in;
        in.swap(out);
        for (size_t i = 0; i < in.size(); ++i) {
            const T_POINT2D &s = in[i], &t = in[(i + 1) % in.size()];
            const double ds = Cross(p, q, s), dt = Cross(p, q, t);
            if (ds >= 0.0) out.push_back(s);
            if ((ds >= 0.0) != (dt >= 0.0)) {
                const double k = ds / (ds - dt);
                out.emplace_back(s.x + k * (t.x - s.x), s.y + k * (t.y - s.y));
            }
        }
    }
    return out.size() < 3 ? 0.0 : PolyArea(out);
}

BOOL CFVDTextRoom::BoxOf(const CVdrawUtil& d, long id, Quad& q) {
    const CvdFigure* f = d.GetFigure(id);
    if (!f || !f->IsText() || f->m_points.empty()) return FALSE;
    const double w = vd::EstimateTextWidth(f->m_text.GetString(), f->m_height);
    if (!(w > 0.0) || !(f->m_height > 0.0)) return FALSE;
    vd::TextCorners(*f, w, q.c);
    q.area = w * f->m_height;
    return TRUE;
}

void CFVDTextRoom::Collect(const CVdrawUtil& d, int layer) {
    for (long id : d.GetFigureIds()) {
        const CvdFigure* f = d.GetFigure(id);
        Quad q;
        if (f && (layer < 0 || f->GetLayer() == layer) && BoxOf(d, id, q)) m_Boxes.push_back(q);
    }
}

void CFVDTextRoom::Add(const CVdrawUtil& d, const CArray<long>& ids) {
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
        Quad q;
        if (BoxOf(d, ids[i], q)) m_Boxes.push_back(q);
    }
}

BOOL CFVDTextRoom::Clashes(const Quad& q) const {
    double x0 = q.c[0].x, x1 = x0, y0 = q.c[0].y, y1 = y0;
    for (const T_POINT2D& p : q.c) {
        x0 = std::fmin(x0, p.x), x1 = std::fmax(x1, p.x);
        y0 = std::fmin(y0, p.y), y1 = std::fmax(y1, p.y);
    }
    for (const Quad& o : m_Boxes) {
        double ox0 = o.c[0].x, ox1 = ox0, oy0 = o.c[0].y, oy1 = oy0;
        for (const T_POINT2D& p : o.c) {
            ox0 = std::fmin(ox0, p.x), ox1 = std::fmax(ox1, p.x);
            oy0 = std::fmin(oy0, p.y), oy1 = std::fmax(oy1, p.y);
        }
        if (ox1 < x0 || ox0 > x1 || oy1 < y0 || oy0 > y1) continue;
        if (SharedArea(q.c, o.c) > kClashShare * std::fmin(q.area, o.area)) return TRUE;
    }
    return FALSE;
}

BOOL CFVDTextRoom::Clashes(const CVdrawUtil& d, const CArray<long>& ids) const {
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
        Quad q;
        if (BoxOf(d, ids[i], q) && Clashes(q)) return TRUE;
    }
    return FALSE;
}

BOOL CFVDTextRoom::Place(CVdrawUtil& d, const CArray<long>& ids, const std::vector<T_POINT2D>& offsets) {
    BOOL clear = !Clashes(d, ids);
    T_POINT2D moved(0.0, 0.0);
    for (size_t k = 0; !clear && k < offsets.size(); ++k) {
        for (INT_PTR i = 0; i < ids.GetSize(); ++i) d.MoveFigure(ids[i], offsets[k].x - moved.x, offsets[k].y - moved.y);
        moved = offsets[k];
        clear = !Clashes(d, ids);
    }
    if (!clear)
        for (INT_PTR i = 0; i < ids.GetSize(); ++i) d.MoveFigure(ids[i], -moved.x, -moved.y);
    Add(d, ids);
    return clear;
}
