// ICheckToolUtil: static queries of the host's foundation check library.
//
// This part holds the plan geometry the check and design figures use on element outlines:
// rectangles about a centre, turned and scaled outlines, centroids, edge information and the
// reading-order side test that orients every label along a member or an edge. Outlines are
// CArray<T_POINT2D>; a ring whether or not its last point repeats the first. BOOL results are
// TRUE on success, and only then is an out-argument filled.
//
// Reading order (s_IsLeftPt, and CZELF_Point2D::IsLeft2 with its own tolerance): a line from a
// first point to a second reads forwards when the second point lies to the right of the first,
// or at the same x (within 1e-6) above it; lines read left to right, and vertical lines bottom
// to top. A label drawn along a line whose points fail the test swaps them first, so that no
// label is ever upside down.
#pragma once

#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"

class ICheckToolUtil {
public:
    // The w by h rectangle about centre, its w side turned angle degrees from +x: five points,
    // counter-clockwise from the corner (-w/2, -h/2) before turning, the first repeated last.
    // FALSE for a side not above 0 or a value that is not finite.
    static BOOL s_MakePolyLine(double w, double h, double angle, const T_POINT2D& centre, CArray<T_POINT2D>& pts);
    // out = in turned angle degrees counter-clockwise about centre (in and out may be one array).
    static BOOL s_RotatePolyLine(const T_POINT2D& centre, const CArray<T_POINT2D>& in, CArray<T_POINT2D>& out,
                                 double angle);
    // Multiplies every coordinate by ratio (a change of unit). FALSE, points unchanged, for a
    // ratio that is not finite.
    static BOOL s_ConvertPolyByRatio(CArray<T_POINT2D>& pts, double ratio);
    // Area centroid and area (never negative) of the outline. An outline of no area (one point,
    // repeated points, collinear points) gives the mean of its distinct points and area 0. FALSE
    // only for no points or a coordinate that is not finite.
    static BOOL s_GetPolyCentroid(const CArray<T_POINT2D>& pts, T_POINT2D& centre, double& area);
    // Edge information of the outline (edge i from point i to i + 1, the closing edge included):
    // info = {edge count, perimeter, index of the longest edge (the first of equals)},
    // lengths = the edge lengths in edge order. FALSE for fewer than two distinct points.
    static BOOL s_GetPolyLineInfo(const CArray<T_POINT2D>& pts, CArray<double>& info, CArray<double>& lengths);
    // TRUE when the line from (x1, y1) to (x2, y2) reads forwards (reading order above).
    static BOOL s_IsLeftPt(double x1, double y1, double x2, double y2);

    static constexpr double kLeftTol = 1e-6;  // same-x tolerance of s_IsLeftPt

    // Check load groups of the document's project (CClassLdgp): the keys of one kind
    // (E_Ldgp_Type), LDGP groups first; returns the count (0 without a project).
    static int s_GetLoadCaseKeys(CArray<UINT, UINT>& keys, int kind);
    // A group's text; empty for an unknown key.
    static CString s_GetCombText(UINT key);
};
