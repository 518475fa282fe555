// Mapping between a graph's world coordinates and the pixels of its plot rectangle, shared by the
// graph windows (CPVX2DGraphWnd, CGraphWnd).
//
// The plot rectangle is the client rectangle less 10 % of its width and height on each side. A
// world range maps onto it centred: px = trunc((x - mid x) * w / |x1 - x0|) + (left + right) / 2,
// with y pointing up; a zero range counts as 1 so a flat series still maps.
#pragma once

#include "platform/afx/afxtypes.h"

struct GraphRange {
    double x0 = 0.0, x1 = 0.0;  // x from, x to
    double y0 = 0.0, y1 = 0.0;  // y from, y to
};

// The client rectangle less 10 % of its width and height on each side.
CRect GraphPlotRect(const CRect& client);
// World point to pixel inside the plot rectangle.
CPoint GraphWorldToPixel(const CRect& plot, const GraphRange& range, double x, double y);
// Pixel to world point (inverse of the above, up to the pixel's truncation).
void GraphPixelToWorld(const CRect& plot, const GraphRange& range, CPoint pt, double& x, double& y);
