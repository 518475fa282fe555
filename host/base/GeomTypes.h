// Plane and space geometry records of the host's base library.
//
// Plain value types the figure makers, strip pages and force engines pass around: T_POINT2D and
// T_POINT3D points, T_LINE2D and T_LINE_G lines (with positions along them), the T_POLYGON2D
// outline with its centre, the T_REGION2D box, the CZELF_Point2D point with its left-of test and
// CZELF_Arc2D, the plane arc through three points whose Chord() is the signed arc height.
// Coordinates are world units; angles degrees.
#pragma once

#include <vector>

#include "platform/afx/afxtypes.h"
#include "host/grx/C3DPoint.h"

struct T_POINT2D {
    double x;
    double y;
    T_POINT2D() : x(0.0), y(0.0) {}
    T_POINT2D(double ix, double iy) : x(ix), y(iy) {}
    bool operator==(const T_POINT2D& p) const { return x == p.x && y == p.y; }
    bool operator!=(const T_POINT2D& p) const { return !(*this == p); }
};

struct T_POINT3D {
    double x;
    double y;
    double z;
    T_POINT3D() : x(0.0), y(0.0), z(0.0) {}
    T_POINT3D(double ix, double iy, double iz) : x(ix), y(iy), z(iz) {}
    T_POINT3D(const C3DPoint& p) : x(p.x), y(p.y), z(p.z) {}
    operator C3DPoint() const { return C3DPoint(x, y, z); }
    bool operator==(const T_POINT3D& p) const { return x == p.x && y == p.y && z == p.z; }
};

struct T_LINE2D {
    T_POINT2D p1;  // start
    T_POINT2D p2;  // end
    T_LINE2D() = default;
    T_LINE2D(const T_POINT2D& a, const T_POINT2D& b) : p1(a), p2(b) {}
    double Length() const;
};

// A straight line in space from a start point to an end point, with positions along it.
struct T_LINE_G {
    T_POINT3D m_Start;
    T_POINT3D m_End;

    T_LINE_G() = default;
    T_LINE_G(const T_POINT3D& a, const T_POINT3D& b) : m_Start(a), m_End(b) {}
    void Set(const T_POINT3D& a, const T_POINT3D& b) { m_Start = a; m_End = b; }
    double GetLength() const;

    // The point at the fraction ratio of the way from start to end (0 start, 1 end; values
    // outside [0, 1] extend the line). Always 1.
    int GetPosByRatio(T_POINT3D& out, double ratio) const;
    int GetPosByRatio(C3DPoint& out, double ratio) const;
    // The point at the distance len from the start towards the end (negative: behind the start;
    // beyond the end: on the extension). Returns 0 and leaves out unchanged for a line of no
    // length, which has no direction.
    int GetPosByLength(T_POINT3D& out, double len) const;
    int GetPosByLength(C3DPoint& out, double len) const;
};

// A plan outline; closed when its last point repeats its first.
struct T_POLYGON2D {
    std::vector<T_POINT2D> m_Points;

    void Set(const T_POINT2D* pts, int n);
    void Add(const T_POINT2D& p) { m_Points.push_back(p); }
    int GetCount() const { return static_cast<int>(m_Points.size()); }
    BOOL IsClosed() const;
    // Appends the first point when the outline is not closed yet (the spelling is the host's).
    void MakeColse();
    // Area centroid of the outline (mean of the points when it has no area); (0, 0) when empty.
    T_POINT2D Center() const;
};

// A plan box by two corners, in the order the host fills it.
struct T_REGION2D {
    double x1;
    double y1;
    double x2;
    double y2;
    T_REGION2D() : x1(0.0), y1(0.0), x2(0.0), y2(0.0) {}
    T_REGION2D(double ax1, double ay1, double ax2, double ay2) : x1(ax1), y1(ay1), x2(ax2), y2(ay2) {}
};

class CZELF_Point2D : public T_POINT2D {
public:
    CZELF_Point2D() = default;
    CZELF_Point2D(double ix, double iy) : T_POINT2D(ix, iy) {}
    CZELF_Point2D(const T_POINT2D& p) : T_POINT2D(p) {}

    // Reading order of plan points: this point is "left" of p when its x is smaller by more than
    // tol, or, with x equal within tol, its y is smaller by more than tol. Returns 1 or 0. So the
    // line from this point to p reads left to right, or bottom to top when vertical; labels along
    // a line swap its ends when the test fails (ICheckToolUtil::s_IsLeftPt is the same rule).
    int IsLeft2(const T_POINT2D& p, double tol) const;
    // Exchanges the coordinates of this point and p.
    void Swap(T_POINT2D& p);
    double Distance(const T_POINT2D& p) const;
};

// The plane arc from a start point through a middle point to an end point.
class CZELF_Arc2D {
public:
    CZELF_Arc2D() = default;
    // Sets the arc; returns 0 (and keeps a straight, zero-height arc) when the three points are
    // collinear or two coincide.
    int SetData(const T_POINT2D& start, const T_POINT2D& mid, const T_POINT2D& end);
    // Signed arc height: the distance from the arc's middle to the chord start-end, positive
    // when the arc bulges to the left of the direction start -> end; 0 for a straight line.
    double Chord() const { return m_dChord; }
    double Radius() const { return m_dRadius; }
    const T_POINT2D& Centre() const { return m_Centre; }
    BOOL IsArc() const { return m_bArc; }

private:
    T_POINT2D m_Centre;
    double m_dRadius = 0.0;  // 0 when straight
    double m_dChord = 0.0;   // signed arc height
    BOOL m_bArc = FALSE;
};

namespace math_lib {
// Plan distance between (x1, y1) and (x2, y2).
double distance_2d(double x1, double y1, double x2, double y2);
}
