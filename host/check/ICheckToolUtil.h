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

class CDataBase;
struct T_MEMB_D;
struct T_PILE_D;
struct T_PISP_D;
struct T_PONT_D;
struct T_COLF_D;
struct T_FOSP_D;
struct T_PCDCJY_D;

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

    // Records of the foundation model of the document's project, by key; FALSE (record
    // untouched) for a key the table does not hold or without a project.
    static BOOL s_GetMemb(UINT key, T_MEMB_D& rec);
    static BOOL s_GetPileInfo(UINT key, T_PILE_D& rec);
    static BOOL s_GetPileSecInfo(UINT key, T_PISP_D& rec);
    static BOOL s_GetPontInfo(UINT key, T_PONT_D& rec);
    static BOOL s_GetColf(UINT key, T_COLF_D& rec);
    static BOOL s_GetFosp(UINT key, T_FOSP_D& rec);
    // The local-compression checks under column key (PCDCJY); FALSE also for a row that does not
    // decode.
    static BOOL s_GetJBCYResult(UINT key, T_PCDCJY_D& rec);

    // The outlines of a footing's steps, the bottom (widest) step first, each closed and turned
    // by the member's angle about the footing's centre. A circular footing gives its steps as
    // 36-sided outlines, isCircle TRUE and the step diameters; otherwise diameters is empty.
    // join = the footing's join flag. FALSE for a key with no footing or member.
    static BOOL s_GetColfPolyLine(UINT key, CArray<T_POLYGON2D>& outlines, BOOL& isCircle, CArray<double>& diameters,
                                  BOOL& join, int);
    // The bottom step's outline alone (closed); the flags are kept for callers.
    static BOOL s_GetColfPolyLine(UINT key, CArray<T_POINT2D>& pts, int, int, int);
    // The centre of a footing (all its steps share it); (0, 0) for an unknown key.
    static T_POINT2D s_GetColfCent(UINT key, int step);
    // A column above the foundation: width b, depth h (h < 0: circular, b the diameter), the
    // member's angle and its insertion point.
    static BOOL s_GetColumnSecData(UINT key, double& b, double& h, double& angle, T_POINT2D& centre);
    // The column's outline, closed: the turned b by h rectangle, or a 36-sided circle.
    static BOOL s_MakeColumnPoly(UINT key, CArray<T_POINT2D>& pts);
    // A raft's outline from its member's points; close 1 repeats the first point at the end.
    static BOOL s_GetMtsbPolyline(UINT key, CArray<T_POINT2D>& pts, int close);
    // The plan points of analysis nodes (PNODE) or of foundation points (PONT), in key order
    // given; FALSE when a key is missing or fewer than two points come out.
    static BOOL s_ConvertNode2PolyLine(const CArray<UINT, UINT>& nodes, CArray<T_POINT2D>& pts, CDataBase* pDB);
    static BOOL s_ConvertPont2PolyLine(const CArray<UINT, UINT>& ponts, CArray<T_POINT2D>& pts, CDataBase* pDB);
    // The polyline through an analysis member's nodes; only for a member of the foundation (its
    // model_key names a foundation-model member), FALSE otherwise.
    static BOOL s_ConvertNode2PolyLine(UINT memb, CArray<T_POINT2D>& pts, int);
    // The keys among keys whose foundation member has the type; returns the count.
    static int s_GetMembKeyFromKeys(const CArray<UINT, UINT>& keys, CArray<UINT, UINT>& out, int type, int,
                                    CDataBase* pDB);
};

class CSlabCheckToolUtil {
public:
    // A raft's outline, not closed; FALSE for fewer than three points.
    static BOOL s_GetPolygon(UINT raftKey, CArray<T_POINT2D>& pts);
};
