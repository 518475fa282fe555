// SolidFaceRun: faces handed to a device context in one call (CDC::SolidFaces), each its solid
// polygons and then its thin lines, with a cursor over how far drawing has come.
#pragma once

#include <cstddef>

#include "platform/gdi/gdidefs.h"

// Faces drawn one after the other, each as its solid polygons (SolidPolygon of each) and then
// its separate thin lines with the selected pen (LineSegments): a run of faces costs one call
// where the back end takes them so. The cursor (face, poly and the offsets) says how far
// drawing has come; a back end moves it over what it drew.
struct SolidFaceRun {
    const POINT* pts = nullptr;       // every polygon's points, face after face
    const int* counts = nullptr;      // points per polygon
    const COLORREF* colors = nullptr;  // colour per polygon
    const POINT* segs = nullptr;      // every line's two ends, face after face
    const int* facePolys = nullptr;   // polygons per face
    const int* faceLines = nullptr;   // lines per face
    int faces = 0;
    int face = 0;                     // the face being drawn
    int poly = 0;                     // its polygons drawn; facePolys[face]: its lines are next
    size_t polyAt = 0, ptAt = 0, segAt = 0;  // where its next polygon, points and lines start

    bool Done() const { return face >= faces; }
    // The polygon at the cursor passed over (drawn by the caller).
    void PassPolygon() {
        ptAt += static_cast<size_t>(counts[polyAt]);
        ++polyAt;
        ++poly;
    }
    // The face's lines at the cursor passed over (drawn by the caller): on to the next face.
    void PassLines() {
        if (segs && faceLines[face] > 0) segAt += 2 * static_cast<size_t>(faceLines[face]);
        ++face;
        poly = 0;
    }
};
