// CGradientDrawing: polygons filled with colours that vary smoothly between their vertices.
//
// All members are static. GradientPolygon fans a convex (or vertex-0 star-shaped) polygon into
// triangles and fills each with one platform GradientFill call, so it draws the same on every
// device-context back end (raster, metafile, recording). The other members compute the colour
// the fill gives at a point: barycentric weights from distances to the triangle's sides, taken
// in the x-y plane (3-D points are already projected to the view plane).
//
//   COLORREF colours[4] = {...};
//   CPoint corners[4] = {...};
//   CGradientDrawing::GradientPolygon(dc, colours, corners, 4);   // triangles (0,1,2), (0,2,3)
//
// The result engines' gradient band fill, the legend's colour scales and the contour dialog's
// preview call GradientPolygon. See also CBlendedDrawing (semi-transparent polygons).
#pragma once

#include "host/grx/C3DPoint.h"
#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

class CDC;

class CGradientDrawing {
public:
    CGradientDrawing() {}
    virtual ~CGradientDrawing() {}

    // Fills the polygon of n vertices with per-vertex colours; fewer than 3 vertices draw nothing.
    static void GradientPolygon(CDC* pDC, COLORREF* colors, CPoint* points, int n);

    // Colour at p of the triangle of three vertices with three colours. A degenerate triangle
    // (a vertex on the line of the other two) gives the colour of the vertex nearest p.
    static COLORREF GetTrianglePointColor(CPoint* vertices, COLORREF* colors, CPoint p);
    static COLORREF GetTrianglePointColor(C3DPoint* vertices, COLORREF* colors, C3DPoint p);
    static COLORREF GetTrianglePointColor(CArray<C3DPoint*>& vertices, COLORREF* colors, C3DPoint p);

    // Colour at p of the polygon fanned from vertex 0: the first fan triangle containing p, the
    // last one when none does. With fewer than 3 vertices, the colour of the vertex nearest p
    // (black when there is none).
    static COLORREF GetPolygonPointColor(CPoint p, CPoint* vertices, COLORREF* colors, int n);
    static COLORREF GetPolygonPointColor(C3DPoint p, C3DPoint* vertices, COLORREF* colors, int n);
    static COLORREF GetPolygonPointColor(C3DPoint p, CArray<C3DPoint*>& vertices, CArray<COLORREF>& colors);
    // One colour appended to outColors per query point, in order.
    static void GetPolygonPointColorList(CArray<C3DPoint*>& vertices, CArray<COLORREF>& colors,
                                         CArray<C3DPoint*>& points, CArray<COLORREF>& outColors);

    // Distance from p to the infinite line through a and b (to a itself when a equals b).
    static double GetLinePointDistance(CPoint p, CPoint a, CPoint b);
    static double GetLinePointDistance(C3DPoint p, C3DPoint a, C3DPoint b);

    // 1 when p lies inside the convex polygon or on one of its edges, 0 outside.
    static int InnerTest(C3DPoint p, CArray<C3DPoint*>& polygon);
};
