#include "module/graphs/GraphMapping.h"

#include <cmath>

namespace {

// A zero span counts as 1, so a graph whose points share one x (or y) still maps.
double Span(double a, double b) {
    const double s = std::fabs(a - b);
    return s == 0.0 ? 1.0 : s;
}

// A pixel offset as an int; a point far off the plot (or not a number) lands just outside it
// instead of overflowing the conversion.
int ToPixel(double v) {
    const double kFar = 1.0e6;
    if (!(v > -kFar)) return static_cast<int>(-kFar);
    if (v > kFar) return static_cast<int>(kFar);
    return static_cast<int>(v);
}

}  // namespace

CRect GraphPlotRect(const CRect& client) {
    const int dx = client.Width() / 10, dy = client.Height() / 10;
    return CRect(client.left + dx, client.top + dy, client.right - dx, client.bottom - dy);
}

CPoint GraphWorldToPixel(const CRect& plot, const GraphRange& r, double x, double y) {
    const double px = (x - (r.x0 + r.x1) / 2.0) * plot.Width() / Span(r.x0, r.x1);
    const double py = -(y - (r.y0 + r.y1) / 2.0) * plot.Height() / Span(r.y0, r.y1);
    return CPoint(ToPixel(px) + (plot.left + plot.right) / 2, ToPixel(py) + (plot.top + plot.bottom) / 2);
}

void GraphPixelToWorld(const CRect& plot, const GraphRange& r, CPoint pt, double& x, double& y) {
    x = static_cast<double>(pt.x - (plot.left + plot.right) / 2) * Span(r.x0, r.x1) / (plot.Width() ? plot.Width() : 1) +
        (r.x0 + r.x1) / 2.0;
    y = -static_cast<double>(pt.y - (plot.top + plot.bottom) / 2) * Span(r.y0, r.y1) /
            (plot.Height() ? plot.Height() : 1) +
        (r.y0 + r.y1) / 2.0;
}
