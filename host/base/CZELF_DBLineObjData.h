// CZELF_DBLineObjData: a plan line or circular arc between two points, with points placed along
// it by fraction of its length.
//
// The curve is given by its two ends and its signed arc height (the distance from the arc's
// middle to the chord, positive when the arc bulges to the left of the direction start -> end,
// as CZELF_Arc2D::Chord reports it); a height of 0 gives a straight line. The object keeps its
// curves in a normal direction of its own: straight lines in reading order (CZELF_Point2D::
// IsLeft2), arcs counter-clockwise. IsReverse tells whether that turned the curve against the
// direction it was given in, and ReVerSeData turns it back:
//
//     CZELF_DBLineObjData line;
//     if (line.SetData(a, b, arcHeight, 0.0, 0.0)) {
//         if (line.IsReverse()) line.ReVerSeData();     // runs from a to b again
//         CZELF_Point2D mid = line.GetPointByDist(0.5, 0.0);
//     }
//
// Coordinates are world units (m).
#pragma once

#include "host/base/CZELF_Polyline2D.h"
#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"

class CDataBase;

class CZELF_DBLineObjData {
public:
    CZELF_DBLineObjData() = default;

    // Sets the curve from p1 to p2 with the signed arc height dArc; the last two arguments (end
    // offsets of the host's drawing) are not used. Returns 0, leaving the object empty, when the
    // ends coincide or a value is not finite.
    int SetData(const CZELF_Point2D& p1, const CZELF_Point2D& p2, double dArc, double, double);
    // The line of a foundation-model member (MEMB: a beam or wall) from its first two points.
    // 0 for a member without two points.
    int SetData(UINT membKey, CDataBase* pModel, int);
    // The line of an analysis member (PMEMB) from its first to its last node, only for a member
    // of the foundation: 0 when its model_key names no foundation-model member.
    int SetData(UINT postKey, CDataBase* pPost, CDataBase* pModel, int);
    // 1 when the stored curve runs from the given end point to the given start point.
    int IsReverse() const { return m_bReverse; }
    // Turns the stored curve round (the same points, the other direction).
    void ReVerSeData();

    // The point at fraction dRatio of the length from the stored start (0 start, 1 end; outside
    // [0, 1] on the extension of a line or the continuation of an arc), moved by dOffset to the
    // left of the direction of travel. The start point for an empty object.
    CZELF_Point2D GetPointByDist(double dRatio, double dOffset) const;
    CZELF_Point2D GetPtStart() const { return m_Start; }
    CZELF_Point2D GetPtEnd() const { return m_End; }
    // Length along the curve; 0 for an empty object.
    double GetLength() const;
    // Signed arc height of the stored direction; 0 for a line.
    double GetArcHeight() const { return m_dArc; }
    int IsArc() const { return m_dArc != 0.0; }
    // 1 when the stored chord runs in reading order (CZELF_Point2D::IsLeft2: the end to the
    // right of the start, or above it on an upright chord); always so for a straight line, not
    // for an arc bulging to the left of its chord read that way.
    int IsReadingOrder() const;
    int IsValid() const { return m_bValid; }
    // The curve as a two-vertex polyline (the arc height on its edge), in the stored direction;
    // the last argument is kept for callers. 0, polyline emptied, for an empty object.
    int GetPoly(CZELF_Polyline2D& poly, int) const;

    // An arc height below this fraction of the chord is a straight line.
    static constexpr double kStraightRatio = 1e-9;

private:
    // Centre, radius, start angle and signed sweep (radians; negative clockwise) of an arc.
    void ArcFrame(double& cx, double& cy, double& r, double& a0, double& sweep) const;

    CZELF_Point2D m_Start;
    CZELF_Point2D m_End;
    double m_dArc = 0.0;  // signed arc height of the stored direction; 0 straight
    int m_bReverse = 0;   // stored direction against the given one
    int m_bValid = 0;
};

// The host's array of outline edges (and of its other drawing objects).
template <class T>
class _DBDataArray : public CArray<T, const T&> {};
