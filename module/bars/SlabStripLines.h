// Geometry of the slab strip page: the orthogonal snap of a picked point, and the splitting of a
// strip line where it crosses the outline of a raft or plate member (type 301) and where it
// passes a column (type 101), so that each piece lies over one slab field.
//
//     std::vector<slabstrip::PlanPoint> cuts = slabstrip::SplitLine(P, Q, polygons, columns, tol);
//     // cuts: P, the crossings in order of their distance from P, Q; one strip per piece
#pragma once

#include <vector>

#include "module/force/ForceRecords.h"
#include "platform/afx/CString.h"

class CDataBase;

namespace slabstrip {

struct PlanPoint {
    double x = 0.0, y = 0.0;
};

// Points closer than this are one point (m): the pieces of a strip are never shorter.
constexpr double kMergeTolerance = 1e-3;

// The cursor snapped to a horizontal or vertical line through the first point: the axis along
// which it moved less is taken from the first point (a tie gives a vertical line).
PlanPoint SnapOrthogonal(const PlanPoint& first, PlanPoint cursor);

// P, then the points where PQ crosses an edge of a polygon (closed, last vertex to first) and
// the points that lie on PQ, in order of their distance from P, then Q; walking back from the
// end, a point closer than tol to the one before it is dropped.
std::vector<PlanPoint> SplitLine(const PlanPoint& P, const PlanPoint& Q, const std::vector<std::vector<PlanPoint>>& polygons,
                                 const std::vector<PlanPoint>& points, double tol = kMergeTolerance);

// What splits strips in a project: the node outlines of its members of type 301 and the first
// node of each member of type 101, in plan.
void CollectSplitters(CDataBase* pDB, std::vector<std::vector<PlanPoint>>& polygons, std::vector<PlanPoint>& points);

// Name of piece i (from 0) of a strip of n pieces: the name itself for one piece, else
// "name-1", "name-2" ...
CString PieceName(const CString& name, int i, int n);

// A strip of a name and a width from (x1, y1) to (x2, y2) in plan.
T_STRIP_INFO MakeStrip(const CString& name, double width, double x1, double y1, double x2, double y2);

// The slab strips of a project (cutting lines of the strip kind), in table order, each with its
// key; an unreadable row ends the list.
std::vector<std::pair<T_STRIP_INFO, UINT>> ReadStrips(CDataBase* pDB);

}  // namespace slabstrip
