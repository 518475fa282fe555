// Plan geometry of the host's base library over point arrays: bounding boxes, crossings of a
// segment with an outline, clipping of lines by an outline, point-in-outline tests and points
// placed along a segment; and CMathLib::Rotate, the turn of a plan point about a centre.
//
// Outlines are point arrays; an outline is a closed ring whether or not its last point repeats
// its first (the closing edge is implied). Coordinates are world units; angles degrees,
// counter-clockwise positive. Functions that can fail return 0/FALSE and leave their outputs
// as documented.
#pragma once

#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"

class CZELF_Polyline2D;
struct T_MEMBDLG_3DPOINT_LIST_ITEM;

class CGeomFunc {
public:
    // Box of the points: {x1, y1} the minimum corner, {x2, y2} the maximum. FALSE (box
    // unchanged) for no points or a coordinate that is not finite.
    static BOOL GetMBR(const CArray<T_POINT2D>& pts, T_REGION2D& box);

    // Crossings of the segment p1-p2 with the edges of the polyline poly, in edge order, into
    // out (emptied first). Flags:
    //   bClosed    1: the closing edge from the last point to the first counts too;
    //   bLine      1: p1-p2 is taken as an unbounded line, 0: as the segment;
    //   bWithEnds  1: crossings at p1 or p2 themselves count, 0: only inner ones;
    //   bUnique    1: a crossing within 1e-9 of one already found (a vertex shared by two
    //                 edges) is given once.
    // Edges parallel to p1-p2 give no crossing. Returns the number of crossings.
    static int s_GetIntersectPointsFromPolyLine(const CArray<T_POINT2D>& poly, const T_POINT2D& p1,
                                                const T_POINT2D& p2, CArray<T_POINT2D>& out, int bClosed,
                                                int bLine, int bWithEnds, int bUnique);

    // Clips every line by the plan outline (x and y of its points): bInside 1 keeps the pieces
    // inside the outline (its boundary included), 0 those outside. pieces is emptied first;
    // pieces shorter than 1e-9 are dropped. Returns the piece count; 0 for an outline of fewer
    // than three points.
    static int GetIntersectLines(const T_MEMBDLG_3DPOINT_LIST_ITEM& outline, const CArray<T_LINE2D>& lines,
                                 CArray<T_LINE2D>& pieces, int bInside);

    // TRUE when pt lies inside the outline. A point within tol of an edge is on the outline:
    // then *pOnEdge (when given) is set TRUE and the answer is bEdgeInside. An outline of fewer
    // than three points contains nothing.
    static BOOL IsPointInPolygon2(const T_POINT2D& pt, const CArray<T_POINT2D>& poly, int bEdgeInside, double tol,
                                  BOOL* pOnEdge = nullptr);
    // The same for a polyline, its arcs divided at CMathFunc::ArcDividAngleForCal.
    static BOOL IsPointInPolygon2(const T_POINT2D& pt, const CZELF_Polyline2D& poly, int bEdgeInside, double tol,
                                  BOOL* pOnEdge = nullptr);

    // The point at fraction ratio of the way from p0 to pn, moved by offset to the left of the
    // direction p0 -> pn (offset ignored when p0 and pn coincide).
    static T_POINT2D s_GetPointFromVLine(const T_POINT2D& p0, const T_POINT2D& pn, double ratio, double offset);
};

class CMathLib {
public:
    // Turns pt in place by angleDeg counter-clockwise about centre.
    static void Rotate(T_POINT2D& pt, const T_POINT2D& centre, double angleDeg);
};
