#include "module/figures/FigureTextRoom.h"

#include <algorithm>
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
    q.x0 = q.x1 = q.c[0].x;
    q.y0 = q.y1 = q.c[0].y;
    for (const T_POINT2D& p : q.c) {
        q.x0 = std::fmin(q.x0, p.x), q.x1 = std::fmax(q.x1, p.x);
        q.y0 = std::fmin(q.y0, p.y), q.y1 = std::fmax(q.y1, p.y);
    }
    return std::isfinite(q.x0) && std::isfinite(q.x1) && std::isfinite(q.y0) && std::isfinite(q.y1);
}

void CFVDTextRoom::Keep(const Quad& q) {
    // The first box sets the bucket size: a few of its heights, so a query looks at few buckets.
    if (m_dCell <= 0.0) m_dCell = std::fmax(4.0 * std::fmax(q.y1 - q.y0, q.x1 - q.x0), 1e-9);
    const size_t index = m_Boxes.size();
    m_Boxes.push_back(q);
    for (long cx = Cell(q.x0); cx <= Cell(q.x1); ++cx)
        for (long cy = Cell(q.y0); cy <= Cell(q.y1); ++cy) m_Buckets[Key(cx, cy)].push_back(index);
}

long CFVDTextRoom::Cell(double v) const { return static_cast<long>(std::floor(v / m_dCell)); }

void CFVDTextRoom::Collect(const CVdrawUtil& d, int layer) {
    for (long id : d.GetFigureIds()) {
        const CvdFigure* f = d.GetFigure(id);
        Quad q;
        if (f && (layer < 0 || f->GetLayer() == layer) && BoxOf(d, id, q)) Keep(q);
    }
}

void CFVDTextRoom::Add(const CVdrawUtil& d, const CArray<long>& ids) {
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
        Quad q;
        if (BoxOf(d, ids[i], q)) Keep(q);
    }
}

BOOL CFVDTextRoom::RunsTogether(const Quad& q, const Quad& o, double gap) {
    // On the sheet's lines, as a reader scans them: the extents share more than half the smaller
    // text's height across, and less than the gap lies between them along. Two upright texts
    // (their baselines nearer the vertical) are read along the vertical as well.
    const double h = std::fmin(std::fmin(q.x1 - q.x0, q.y1 - q.y0), std::fmin(o.x1 - o.x0, o.y1 - o.y0));
    // Along one axis (a: the extents along it) and across the other (c).
    const auto runs = [&](double qa0, double qa1, double oa0, double oa1, double qc0, double qc1, double oc0,
                          double oc1) {
        return std::fmin(qc1, oc1) - std::fmax(qc0, oc0) > 0.5 * h && std::fmax(oa0 - qa1, qa0 - oa1) < gap * h;
    };
    const auto upright = [](const Quad& b) { return std::fabs(b.c[1].y - b.c[0].y) > std::fabs(b.c[1].x - b.c[0].x); };
    return runs(q.x0, q.x1, o.x0, o.x1, q.y0, q.y1, o.y0, o.y1) ||
           (upright(q) && upright(o) && runs(q.y0, q.y1, o.y0, o.y1, q.x0, q.x1, o.x0, o.x1));
}

int CFVDTextRoom::Count(const Quad& q, double gap, int nStop) const {
    if (m_Boxes.empty()) return 0;
    // A text's neighbours on its line may stand up to the gap beyond its extent.
    const double g = gap * std::fmin(q.x1 - q.x0, q.y1 - q.y0);
    std::vector<size_t> hits;
    for (long cx = Cell(q.x0 - g); cx <= Cell(q.x1 + g); ++cx)
        for (long cy = Cell(q.y0 - g); cy <= Cell(q.y1 + g); ++cy) {
            const auto it = m_Buckets.find(Key(cx, cy));
            if (it == m_Buckets.end()) continue;
            for (size_t k : it->second) {
                const Quad& o = m_Boxes[k];
                if (o.x1 < q.x0 - g || o.x0 > q.x1 + g || o.y1 < q.y0 - g || o.y0 > q.y1 + g) continue;
                if (SharedArea(q.c, o.c) > kClashShare * std::fmin(q.area, o.area) ||
                    (g > 0.0 && RunsTogether(q, o, gap))) {
                    // A box in several buckets counts once.
                    if (std::find(hits.begin(), hits.end(), k) == hits.end()) hits.push_back(k);
                    if (static_cast<int>(hits.size()) >= nStop) return nStop;
                }
            }
        }
    return static_cast<int>(hits.size());
}

int CFVDTextRoom::Count(const CVdrawUtil& d, const CArray<long>& ids, double gap, int nStop) const {
    int n = 0;
    for (INT_PTR i = 0; i < ids.GetSize() && n < nStop; ++i) {
        Quad q;
        if (BoxOf(d, ids[i], q)) n += Count(q, gap, nStop - n);
    }
    return n;
}

BOOL CFVDTextRoom::Clashes(const CVdrawUtil& d, const CArray<long>& ids, bool bLine) const {
    return Count(d, ids, bLine ? m_dLineGap : 0.0, 1) > 0;
}

BOOL CFVDTextRoom::Place(CVdrawUtil& d, const CArray<long>& ids, const std::vector<T_POINT2D>& offsets) {
    constexpr long long kMany = 1 << 20;
    // Where no offset clears them, the one (or where they were) that keeps their boxes apart and
    // runs into the fewest texts a reader takes for one with them, then the fewest on its line.
    const bool bLine = m_dLineGap > 0.0;
    const double read = std::fmin(kReadGap, m_dLineGap);
    const auto cost = [&](long long stop) {
        const long long near = Count(d, ids, read, static_cast<int>(stop / kMany + 1));
        return near * kMany + Count(d, ids, m_dLineGap, static_cast<int>(kMany - 1));
    };
    BOOL clear = !Clashes(d, ids);
    int best = -2;
    long long fewest = kMany * kMany;
    if (!clear && bLine && !Clashes(d, ids, false)) best = -1, fewest = cost(fewest);
    T_POINT2D moved(0.0, 0.0);
    auto moveTo = [&](const T_POINT2D& p) {
        for (INT_PTR i = 0; i < ids.GetSize(); ++i) d.MoveFigure(ids[i], p.x - moved.x, p.y - moved.y);
        moved = p;
    };
    for (size_t k = 0; !clear && k < offsets.size(); ++k) {
        moveTo(offsets[k]);
        clear = !Clashes(d, ids);
        if (!clear && bLine && !Clashes(d, ids, false)) {
            const long long n = cost(fewest);
            if (n < fewest) best = static_cast<int>(k), fewest = n;
        }
    }
    if (!clear) moveTo(best >= 0 ? offsets[best] : T_POINT2D(0.0, 0.0));
    Add(d, ids);
    return clear;
}
