#include "host/grx/GKrigContour.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/afxgdi.h"

namespace {
// Andrew's monotone chain; returns the hull counter-clockwise without repeating the first point.
void ConvexHull(std::vector<std::pair<double, double>> p, std::vector<double>& hx, std::vector<double>& hy) {
    hx.clear();
    hy.clear();
    std::sort(p.begin(), p.end());
    p.erase(std::unique(p.begin(), p.end()), p.end());
    if (p.size() < 3) {
        for (auto& q : p) {
            hx.push_back(q.first);
            hy.push_back(q.second);
        }
        return;
    }
    auto cross = [](const std::pair<double, double>& o, const std::pair<double, double>& a,
                    const std::pair<double, double>& b) {
        return (a.first - o.first) * (b.second - o.second) - (a.second - o.second) * (b.first - o.first);
    };
    std::vector<std::pair<double, double>> h(2 * p.size());
    size_t k = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        while (k >= 2 && cross(h[k - 2], h[k - 1], p[i]) <= 0) --k;
        h[k++] = p[i];
    }
    for (size_t i = p.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross(h[k - 2], h[k - 1], p[i - 1]) <= 0) --k;
        h[k++] = p[i - 1];
    }
    h.resize(k - 1);
    for (auto& q : h) {
        hx.push_back(q.first);
        hy.push_back(q.second);
    }
}

bool InsideHull(const std::vector<double>& hx, const std::vector<double>& hy, double x, double y) {
    const size_t n = hx.size();
    if (n < 3) return false;
    const double eps = 1e-9;
    for (size_t i = 0; i < n; ++i) {
        size_t j = (i + 1) % n;
        double c = (hx[j] - hx[i]) * (y - hy[i]) - (hy[j] - hy[i]) * (x - hx[i]);
        if (c < -eps) return false;
    }
    return true;
}

BYTE Mix(BYTE a, BYTE b, double t) { return static_cast<BYTE>(std::lround(a + (b - a) * t)); }
}  // namespace

int GKrigContour::Set(const std::vector<C3DPoint>& pts, const std::vector<double>& values, int kind,
                      const GKrigContourDetail& detail) {
    const size_t n = std::min(pts.size(), values.size());
    std::vector<double> xs, ys, vs;
    std::vector<std::pair<double, double>> plan;
    double zsum = 0.0;
    for (size_t i = 0; i < n; ++i) {
        if (!std::isfinite(pts[i].x) || !std::isfinite(pts[i].y) || !std::isfinite(values[i])) continue;
        xs.push_back(pts[i].x);
        ys.push_back(pts[i].y);
        vs.push_back(values[i]);
        plan.emplace_back(pts[i].x, pts[i].y);
        zsum += std::isfinite(pts[i].z) ? pts[i].z : 0.0;
    }
    m_detail = detail;
    m_detail.m_nColorNum = std::clamp(detail.m_nColorNum, 1, 256);
    if (!(m_detail.m_dCellPixels >= 1.0 && m_detail.m_dCellPixels <= 100.0)) m_detail.m_dCellPixels = 5.0;
    m_nKind = kind;
    if (m_krig.SetSamples(xs, ys, vs) == 0) {
        m_bOn = 0;
        return 0;
    }
    m_dZ = zsum / static_cast<double>(xs.size());
    ConvexHull(plan, m_hx, m_hy);
    m_bOn = 1;
    return 1;
}

COLORREF GKrigContour::GetValueColor(double v) const {
    const int nb = m_detail.m_nColorNum;
    const double lo = m_krig.GetMin(), hi = m_krig.GetMax();
    int band = 0;
    if (hi > lo) band = std::clamp(static_cast<int>(std::floor((v - lo) / (hi - lo) * nb)), 0, nb - 1);
    // Spread the bands over the seven anchor colours.
    const double t = nb > 1 ? static_cast<double>(band) / (nb - 1) * 6.0 : 0.0;
    const int i = std::min(5, static_cast<int>(std::floor(t)));
    const double f = t - i;
    const COLORREF a = m_detail.m_crSerial[i], b = m_detail.m_crSerial[i + 1];
    return RGB(Mix(GetRValue(a), GetRValue(b), f), Mix(GetGValue(a), GetGValue(b), f),
               Mix(GetBValue(a), GetBValue(b), f));
}

int GKrigContour::Draw(CDC* pDC, const GViewCamera& cam, const CRect& area) const {
    if (!m_bOn || !pDC || m_hx.size() < 3 || cam.GetScale() <= 0.0) return 0;
    const auto [x0, x1] = std::minmax_element(m_hx.begin(), m_hx.end());
    const auto [y0, y1] = std::minmax_element(m_hy.begin(), m_hy.end());
    const double w = *x1 - *x0, h = *y1 - *y0;
    // Cell size in world units for about m_dCellPixels pixels, at most 400 cells a side.
    double cell = m_detail.m_dCellPixels / cam.GetScale();
    cell = std::max({cell, w / 400.0, h / 400.0});
    if (!(cell > 0.0)) return 0;
    const int nx = std::max(1, static_cast<int>(std::ceil(w / cell)));
    const int ny = std::max(1, static_cast<int>(std::ceil(h / cell)));
    const double cx = w / nx, cy = h / ny;
    const double reach = (cx + cy) * cam.GetScale();  // pixels a cell may extend from its centre

    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(&area);
    int drawn = 0;
    for (int j = 0; j < ny; ++j) {
        for (int i = 0; i < nx; ++i) {
            const double xc = *x0 + (i + 0.5) * cx, yc = *y0 + (j + 0.5) * cy;
            if (!InsideHull(m_hx, m_hy, xc, yc)) continue;
            // Zoomed in, most cells lie outside the area: skip them before kriging.
            const C3DPoint pc = cam.WorldToPixel3D(C3DPoint(xc, yc, m_dZ));
            if (pc.x < area.left - reach || pc.x > area.right + reach || pc.y < area.top - reach ||
                pc.y > area.bottom + reach)
                continue;
            const COLORREF col = GetValueColor(m_krig.Estimate(xc, yc));
            POINT q[4];
            const double xs[4] = {xc - cx / 2, xc + cx / 2, xc + cx / 2, xc - cx / 2};
            const double ys[4] = {yc - cy / 2, yc - cy / 2, yc + cy / 2, yc + cy / 2};
            for (int k = 0; k < 4; ++k) {
                CPoint p = cam.WorldToPixel(C3DPoint(xs[k], ys[k], m_dZ));
                q[k] = p;
            }
            CPen pen(PS_SOLID, 1, col);
            CBrush brush(col);
            CPen* oldPen = pDC->SelectObject(&pen);
            CBrush* oldBrush = pDC->SelectObject(&brush);
            pDC->Polygon(q, 4);
            pDC->SelectObject(oldPen);
            pDC->SelectObject(oldBrush);
            ++drawn;
        }
    }
    pDC->RestoreDC(saved);
    return drawn;
}
