// CGradientDrawing: gradient polygon fill and the matching point-colour interpolation.
#include "module/contour/CGradientDrawing.h"

#include <cmath>
#include <vector>

#include "platform/gdi/afxgdi.h"

namespace {

// Cross products within this of zero put the point on the edge's line.
constexpr double kEdgeTol = 2.220446049250313e-14;

struct XY {
    double x;
    double y;
};

// Distance from p to the line through a and b, written term by term as the fill's own
// interpolation computes it; a and b equal give the distance to a.
double LineDistance(XY p, XY a, XY b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0.0) return std::sqrt((p.x - a.x) * (p.x - a.x) + (p.y - a.y) * (p.y - a.y));
    return std::fabs(p.x * dy - p.y * dx - a.x * dy + a.y * dx) / len;
}

int Channel(COLORREF c, int ch) { return ch == 0 ? GetRValue(c) : (ch == 1 ? GetGValue(c) : GetBValue(c)); }

// trunc(x) modulo 256 for a non-negative weighted channel sum; anything not finite gives 0.
BYTE WrapChannel(double x) {
    if (!std::isfinite(x)) return 0;
    double r = std::fmod(std::trunc(x), 256.0);
    if (r < 0.0) r += 256.0;
    return static_cast<BYTE>(static_cast<int>(r));
}

COLORREF NearestVertexColor(XY p, const XY* v, const COLORREF* c, int n) {
    if (n <= 0) return RGB(0, 0, 0);
    int best = 0;
    double bestD = INFINITY;
    for (int i = 0; i < n; i++) {
        const double d = (p.x - v[i].x) * (p.x - v[i].x) + (p.y - v[i].y) * (p.y - v[i].y);
        if (d < bestD) {
            bestD = d;
            best = i;
        }
    }
    return c[best];
}

COLORREF TriangleColor(const XY v[3], const COLORREF c[3], XY p) {
    const double dA = LineDistance(v[0], v[1], v[2]);
    const double dB = LineDistance(v[1], v[2], v[0]);
    const double dC = LineDistance(v[2], v[0], v[1]);
    // A flat triangle has no barycentric weights: take the nearest corner's colour.
    if (!(dA > 0.0) || !(dB > 0.0) || !(dC > 0.0)) return NearestVertexColor(p, v, c, 3);
    const double wA = LineDistance(p, v[1], v[2]) / dA;
    const double wB = LineDistance(p, v[2], v[0]) / dB;
    const double wC = LineDistance(p, v[0], v[1]) / dC;
    BYTE ch[3];
    for (int i = 0; i < 3; i++) ch[i] = WrapChannel(wA * Channel(c[0], i) + wB * Channel(c[1], i) + wC * Channel(c[2], i));
    return RGB(ch[0], ch[1], ch[2]);
}

// Inside-or-on test of a convex polygon. Edges are taken as (P1,P0), (P2,P1) ... and the
// closing (P0,Pn-1); the first deciding edge's side of p fixes the orientation. A point on an
// edge itself is inside at once. A point on an edge's line but beyond the edge decides
// nothing there: a convex polygon leaves that part of the line outside unless the next edge
// runs on along the same line (collinear vertices), and the other edges tell which. Zero-length
// edges say nothing about the side and are skipped.
int InnerTestXY(XY p, const XY* v, int n) {
    if (n <= 0) return 0;
    int sign = 0;
    bool anyEdge = false;
    for (int k = 1; k <= n; k++) {
        const XY a = k < n ? v[k] : v[0];
        const XY b = k < n ? v[k - 1] : v[n - 1];
        const double ex = b.x - a.x, ey = b.y - a.y;
        if (ex == 0.0 && ey == 0.0) continue;
        anyEdge = true;
        const double c = (p.x - a.x) * ey - ex * (p.y - a.y);
        if (std::fabs(c) <= kEdgeTol) {
            const double dot = (p.x - a.x) * ex + (p.y - a.y) * ey;
            if (dot >= -kEdgeTol && dot <= ex * ex + ey * ey + kEdgeTol) return 1;
            continue;
        }
        const int s = c > 0.0 ? 1 : -1;
        if (sign == 0)
            sign = s;
        else if (s != sign)
            return 0;
    }
    if (!anyEdge) return (p.x == v[0].x && p.y == v[0].y) ? 1 : 0;
    // On the line of every edge yet on none of them (a flat polygon): outside.
    return sign != 0 ? 1 : 0;
}

COLORREF PolygonColor(XY p, const XY* v, const COLORREF* c, int n) {
    if (n < 3) return NearestVertexColor(p, v, c, n);
    for (int i = 0; i + 2 < n; i++) {
        const XY tri[3] = {v[0], v[i + 1], v[i + 2]};
        if (InnerTestXY(p, tri, 3)) {
            const COLORREF col[3] = {c[0], c[i + 1], c[i + 2]};
            return TriangleColor(tri, col, p);
        }
    }
    // Outside every fan triangle: extrapolate from the last one.
    const XY tri[3] = {v[0], v[n - 2], v[n - 1]};
    const COLORREF col[3] = {c[0], c[n - 2], c[n - 1]};
    return TriangleColor(tri, col, p);
}

XY ToXY(const CPoint& p) { return XY{static_cast<double>(p.x), static_cast<double>(p.y)}; }
XY ToXY(const C3DPoint& p) { return XY{p.x, p.y}; }

// Copies an array of point pointers; FALSE when one of them is null.
BOOL CollectPoints(CArray<C3DPoint*>& pts, INT_PTR n, std::vector<XY>& out) {
    out.resize(static_cast<size_t>(n));
    for (INT_PTR i = 0; i < n; i++) {
        if (pts[i] == nullptr) return FALSE;
        out[static_cast<size_t>(i)] = ToXY(*pts[i]);
    }
    return TRUE;
}

}  // namespace

void CGradientDrawing::GradientPolygon(CDC* pDC, COLORREF* colors, CPoint* points, int n) {
    if (pDC == nullptr || colors == nullptr || points == nullptr || n - 2 < 1) return;
    std::vector<TRIVERTEX> vtx(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) {
        TRIVERTEX& t = vtx[static_cast<size_t>(i)];
        t.x = points[i].x;
        t.y = points[i].y;
        t.Red = static_cast<COLOR16>(GetRValue(colors[i]) << 8);
        t.Green = static_cast<COLOR16>(GetGValue(colors[i]) << 8);
        t.Blue = static_cast<COLOR16>(GetBValue(colors[i]) << 8);
        t.Alpha = 0;
    }
    for (int i = 2; i < n; i++) {
        GRADIENT_TRIANGLE tri{0, static_cast<ULONG>(i - 1), static_cast<ULONG>(i)};
        pDC->GradientFill(vtx.data(), static_cast<ULONG>(n), &tri, 1, GRADIENT_FILL_TRIANGLE);
    }
}

COLORREF CGradientDrawing::GetTrianglePointColor(CPoint* vertices, COLORREF* colors, CPoint p) {
    if (vertices == nullptr || colors == nullptr) return RGB(0, 0, 0);
    const XY v[3] = {ToXY(vertices[0]), ToXY(vertices[1]), ToXY(vertices[2])};
    return TriangleColor(v, colors, ToXY(p));
}

COLORREF CGradientDrawing::GetTrianglePointColor(C3DPoint* vertices, COLORREF* colors, C3DPoint p) {
    if (vertices == nullptr || colors == nullptr) return RGB(0, 0, 0);
    const XY v[3] = {ToXY(vertices[0]), ToXY(vertices[1]), ToXY(vertices[2])};
    return TriangleColor(v, colors, ToXY(p));
}

COLORREF CGradientDrawing::GetTrianglePointColor(CArray<C3DPoint*>& vertices, COLORREF* colors, C3DPoint p) {
    if (colors == nullptr) return RGB(0, 0, 0);
    std::vector<XY> v;
    const INT_PTR n = vertices.GetSize() < 3 ? vertices.GetSize() : 3;
    if (!CollectPoints(vertices, n, v)) return RGB(0, 0, 0);
    if (n < 3) return NearestVertexColor(ToXY(p), v.data(), colors, static_cast<int>(n));
    return TriangleColor(v.data(), colors, ToXY(p));
}

COLORREF CGradientDrawing::GetPolygonPointColor(CPoint p, CPoint* vertices, COLORREF* colors, int n) {
    if (vertices == nullptr || colors == nullptr || n <= 0) return RGB(0, 0, 0);
    std::vector<XY> v(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) v[static_cast<size_t>(i)] = ToXY(vertices[i]);
    return PolygonColor(ToXY(p), v.data(), colors, n);
}

COLORREF CGradientDrawing::GetPolygonPointColor(C3DPoint p, C3DPoint* vertices, COLORREF* colors, int n) {
    if (vertices == nullptr || colors == nullptr || n <= 0) return RGB(0, 0, 0);
    std::vector<XY> v(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) v[static_cast<size_t>(i)] = ToXY(vertices[i]);
    return PolygonColor(ToXY(p), v.data(), colors, n);
}

COLORREF CGradientDrawing::GetPolygonPointColor(C3DPoint p, CArray<C3DPoint*>& vertices, CArray<COLORREF>& colors) {
    // A colour list shorter than the vertex list limits the polygon to the coloured vertices.
    const INT_PTR n = vertices.GetSize() < colors.GetSize() ? vertices.GetSize() : colors.GetSize();
    std::vector<XY> v;
    if (n <= 0 || !CollectPoints(vertices, n, v)) return RGB(0, 0, 0);
    return PolygonColor(ToXY(p), v.data(), colors.GetData(), static_cast<int>(n));
}

void CGradientDrawing::GetPolygonPointColorList(CArray<C3DPoint*>& vertices, CArray<COLORREF>& colors,
                                                CArray<C3DPoint*>& points, CArray<COLORREF>& outColors) {
    const INT_PTR n = vertices.GetSize() < colors.GetSize() ? vertices.GetSize() : colors.GetSize();
    std::vector<XY> v;
    const BOOL ok = n > 0 && CollectPoints(vertices, n, v);
    for (INT_PTR i = 0; i < points.GetSize(); i++) {
        COLORREF c = RGB(0, 0, 0);
        if (ok && points[i] != nullptr) c = PolygonColor(ToXY(*points[i]), v.data(), colors.GetData(), static_cast<int>(n));
        outColors.Add(c);
    }
}

double CGradientDrawing::GetLinePointDistance(CPoint p, CPoint a, CPoint b) {
    return LineDistance(ToXY(p), ToXY(a), ToXY(b));
}

double CGradientDrawing::GetLinePointDistance(C3DPoint p, C3DPoint a, C3DPoint b) {
    return LineDistance(ToXY(p), ToXY(a), ToXY(b));
}

int CGradientDrawing::InnerTest(C3DPoint p, CArray<C3DPoint*>& polygon) {
    std::vector<XY> v;
    if (!CollectPoints(polygon, polygon.GetSize(), v)) return 0;
    return InnerTestXY(ToXY(p), v.data(), static_cast<int>(v.size()));
}
