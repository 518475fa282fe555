#include "platform/gdi/GdiRegion.h"

#include <algorithm>
#include <cmath>

namespace {

typedef std::vector<std::pair<int, int>> Spans;  // sorted, disjoint, half-open [x0, x1)

struct Band {
    int top;
    int bottom;
    Spans spans;
};

std::vector<Band> ToBands(const std::vector<RECT>& rects) {
    std::vector<Band> bands;
    for (const RECT& r : rects) {
        if (bands.empty() || bands.back().top != r.top) bands.push_back(Band{r.top, r.bottom, {}});
        bands.back().spans.emplace_back(r.left, r.right);
    }
    return bands;
}

bool Apply(bool a, bool b, int mode) {
    switch (mode) {
    case RGN_AND: return a && b;
    case RGN_OR: return a || b;
    case RGN_XOR: return a != b;
    case RGN_DIFF: return a && !b;
    default: return a;
    }
}

Spans CombineSpans(const Spans& a, const Spans& b, int mode) {
    std::vector<int> xs;
    xs.reserve(2 * (a.size() + b.size()));
    for (auto& s : a) { xs.push_back(s.first); xs.push_back(s.second); }
    for (auto& s : b) { xs.push_back(s.first); xs.push_back(s.second); }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    Spans out;
    size_t ia = 0, ib = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        const int x0 = xs[i], x1 = xs[i + 1];
        while (ia < a.size() && a[ia].second <= x0) ++ia;
        while (ib < b.size() && b[ib].second <= x0) ++ib;
        const bool inA = ia < a.size() && a[ia].first <= x0;
        const bool inB = ib < b.size() && b[ib].first <= x0;
        if (!Apply(inA, inB, mode)) continue;
        if (!out.empty() && out.back().second == x0) out.back().second = x1;
        else out.emplace_back(x0, x1);
    }
    return out;
}

// Bands -> rectangles, merging vertically adjacent bands with equal spans.
std::vector<RECT> FromBands(std::vector<Band>& bands) {
    std::vector<Band> merged;
    for (Band& b : bands) {
        if (b.spans.empty() || b.top >= b.bottom) continue;
        if (!merged.empty() && merged.back().bottom == b.top && merged.back().spans == b.spans) {
            merged.back().bottom = b.bottom;
        } else {
            merged.push_back(std::move(b));
        }
    }
    std::vector<RECT> rects;
    for (const Band& b : merged)
        for (auto& s : b.spans) rects.push_back(RECT{s.first, b.top, s.second, b.bottom});
    return rects;
}

const Spans* SpansAt(const std::vector<Band>& bands, size_t& cursor, int y) {
    while (cursor < bands.size() && bands[cursor].bottom <= y) ++cursor;
    if (cursor < bands.size() && bands[cursor].top <= y) return &bands[cursor].spans;
    return nullptr;
}

}  // namespace

void GdiRegion::SetRect(const RECT& r) {
    m_rects.clear();
    RECT n = r;
    if (n.left > n.right) std::swap(n.left, n.right);
    if (n.top > n.bottom) std::swap(n.top, n.bottom);
    if (n.left < n.right && n.top < n.bottom) m_rects.push_back(n);
}

void GdiRegion::SetFromRowSpans(int top, const std::vector<Spans>& rows) {
    std::vector<Band> bands;
    bands.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        bands.push_back(Band{top + static_cast<int>(i), top + static_cast<int>(i) + 1, rows[i]});
    m_rects = FromBands(bands);
}

void GdiRegion::SetPolygon(const POINT* pts, int count, int fillMode) {
    const int counts[1] = {count};
    SetPolyPolygon(pts, counts, 1, fillMode);
}

void GdiRegion::SetPolyPolygon(const POINT* pts, const int* counts, int polys, int fillMode) {
    m_rects.clear();
    if (!pts || !counts || polys <= 0) return;
    struct Edge { double x0, y0, x1, y1; int dir; };
    std::vector<Edge> edges;
    int minY = INT32_MAX, maxY = INT32_MIN;
    int base = 0;
    for (int p = 0; p < polys; ++p) {
        const int n = counts[p];
        if (n < 0) return;
        for (int i = 0; i < n; ++i) {
            const POINT& a = pts[base + i];
            const POINT& b = pts[base + (i + 1) % n];
            minY = std::min<int>(minY, a.y);
            maxY = std::max<int>(maxY, a.y);
            if (a.y == b.y) continue;
            if (a.y < b.y) edges.push_back(Edge{double(a.x), double(a.y), double(b.x), double(b.y), 1});
            else edges.push_back(Edge{double(b.x), double(b.y), double(a.x), double(a.y), -1});
        }
        base += n;
    }
    if (edges.empty()) return;
    // Coordinates beyond the platform's 27-bit range are not drawable; keep the scan bounded.
    minY = std::max(minY, -(1 << 17));
    maxY = std::min(maxY, 1 << 17);
    if (minY >= maxY) return;
    std::vector<Spans> rows(static_cast<size_t>(maxY - minY));
    std::vector<std::pair<double, int>> xs;
    for (int y = minY; y < maxY; ++y) {
        const double yc = y + 0.5;
        xs.clear();
        for (const Edge& e : edges) {
            if (yc < e.y0 || yc >= e.y1) continue;
            xs.emplace_back(e.x0 + (yc - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir);
        }
        std::sort(xs.begin(), xs.end());
        Spans& row = rows[static_cast<size_t>(y - minY)];
        int winding = 0;
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            winding += fillMode == WINDING ? xs[i].second : 1;
            const bool inside = fillMode == WINDING ? winding != 0 : (winding & 1) != 0;
            if (!inside) continue;
            // Pixels whose centres lie in [xa, xb).
            const int x0 = static_cast<int>(std::ceil(xs[i].first - 0.5));
            const int x1 = static_cast<int>(std::ceil(xs[i + 1].first - 0.5));
            if (x0 >= x1) continue;
            if (!row.empty() && row.back().second >= x0) row.back().second = std::max(row.back().second, x1);
            else row.emplace_back(x0, x1);
        }
    }
    SetFromRowSpans(minY, rows);
}

void GdiRegion::SetEllipse(const RECT& r) {
    m_rects.clear();
    RECT n = r;
    if (n.left > n.right) std::swap(n.left, n.right);
    if (n.top > n.bottom) std::swap(n.top, n.bottom);
    if (n.right - n.left < 1 || n.bottom - n.top < 1 || n.bottom - n.top > (1 << 18)) return;
    const double cx = (n.left + n.right) / 2.0, cy = (n.top + n.bottom) / 2.0;
    const double a = (n.right - n.left) / 2.0, b = (n.bottom - n.top) / 2.0;
    std::vector<Spans> rows(static_cast<size_t>(n.bottom - n.top));
    for (int y = n.top; y < n.bottom; ++y) {
        const double dy = (y + 0.5 - cy) / b;
        if (dy * dy > 1.0) continue;
        const double hw = a * std::sqrt(1.0 - dy * dy);
        const int x0 = static_cast<int>(std::ceil(cx - hw - 0.5));
        const int x1 = static_cast<int>(std::floor(cx + hw - 0.5)) + 1;
        if (x0 < x1) rows[static_cast<size_t>(y - n.top)].emplace_back(x0, x1);
    }
    SetFromRowSpans(n.top, rows);
}

int GdiRegion::Combine(const GdiRegion& a, const GdiRegion& b, int mode) {
    if (mode < RGN_AND || mode > RGN_COPY) return ERROR;
    if (mode == RGN_COPY) {
        m_rects = a.m_rects;
        return Kind();
    }
    const std::vector<Band> ba = ToBands(a.m_rects), bb = ToBands(b.m_rects);
    std::vector<int> ys;
    for (auto& x : ba) { ys.push_back(x.top); ys.push_back(x.bottom); }
    for (auto& x : bb) { ys.push_back(x.top); ys.push_back(x.bottom); }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    std::vector<Band> out;
    size_t ca = 0, cb = 0;
    const Spans empty;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        const Spans* sa = SpansAt(ba, ca, ys[i]);
        const Spans* sb = SpansAt(bb, cb, ys[i]);
        Spans s = CombineSpans(sa ? *sa : empty, sb ? *sb : empty, mode);
        if (!s.empty()) out.push_back(Band{ys[i], ys[i + 1], std::move(s)});
    }
    m_rects = FromBands(out);
    return Kind();
}

void GdiRegion::Offset(int dx, int dy) {
    for (RECT& r : m_rects) {
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
    }
}

BOOL GdiRegion::Contains(int x, int y) const {
    for (const RECT& r : m_rects) {
        if (r.top > y) break;
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return TRUE;
    }
    return FALSE;
}

int GdiRegion::GetBox(RECT* box) const {
    RECT b{0, 0, 0, 0};
    if (!m_rects.empty()) {
        b = m_rects.front();
        for (const RECT& r : m_rects) {
            b.left = std::min(b.left, r.left);
            b.right = std::max(b.right, r.right);
            b.bottom = std::max(b.bottom, r.bottom);
        }
    }
    if (box) *box = b;
    return Kind();
}

int GdiRegion::Kind() const {
    if (m_rects.empty()) return NULLREGION;
    return m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool GdiRegion::operator==(const GdiRegion& o) const {
    if (m_rects.size() != o.m_rects.size()) return false;
    for (size_t i = 0; i < m_rects.size(); ++i) {
        const RECT &a = m_rects[i], &b = o.m_rects[i];
        if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom) return false;
    }
    return true;
}
