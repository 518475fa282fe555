// Vector, angle and plane-geometry helpers of the host's base library.
//
// CMathFunc is a bag of static functions over plain doubles, double[3] vectors and C3DPoint.
// Result drawing uses it for lengths and areas, unit vectors, rotations of local axes and label
// offsets, and the plan cuts of strips and cutting lines. Conventions, fixed for every caller:
// angles are in degrees unless a name says otherwise; rotations are right-handed (a positive
// angle turns counter-clockwise when seen from the tip of the axis); the "plan" functions work on
// x and y only. Functions that can fail return an int flag, non-zero on success, and leave their
// outputs unchanged on failure.
#pragma once

#include "platform/afx/afxtypes.h"
#include "host/grx/C3DPoint.h"

class CString;
class CStringArray;
struct T_POINT2D;

class CMathFunc {
public:
    static const double m_pi;                 // 3.14159265358979...
    static const double m_trrad;              // degrees to radians: pi / 180
    static const double m_trdeg;              // radians to degrees: 180 / pi
    static const double m_NormalZero;         // magnitudes below this count as zero (1e-10)
    static const double ArcDividAngleForCal;  // degrees per chord when an arc becomes a polyline

    // Lengths: of a vector given by its components, of a double[3] vector, between two points.
    static double mathLength(double dx, double dy, double dz = 0.0);
    static double mathLength(const double* v);
    static double mathLength(const C3DPoint& a, const C3DPoint& b);

    // Area of the triangle p0, p1, p2 in space (never negative).
    static double mathArea(const double* p0, const double* p1, const double* p2);
    static double mathArea(const C3DPoint& p0, const C3DPoint& p1, const C3DPoint& p2);

    // Scales a vector to unit length in place. Returns 0 and leaves it unchanged when its length
    // is below m_NormalZero. The two-argument form is the plan vector (x, y).
    static int mathNormalize(double* v);
    static int mathNormalize(double& x, double& y, double& z);
    static int mathNormalize(double& x, double& y);
    static int mathNormalize(C3DPoint& v);

    // out = a x b (out may alias neither input).
    static void mathCross(const double* a, const double* b, double* out);
    static C3DPoint mathCross(const C3DPoint& a, const C3DPoint& b);

    // Turns the point (x, y, z) in place by angleDeg about the axis (ax, ay, az) through the
    // origin, or through the centre (cx, cy, cz). The axis need not be a unit vector. Returns 0
    // and leaves the point unchanged when the axis has no length.
    static int mathRotate(double angleDeg, double ax, double ay, double az, double& x, double& y, double& z);
    static int mathRotate(double angleDeg, double ax, double ay, double az, double* p);
    static int mathRotate(double angleDeg, const C3DPoint& axis, C3DPoint& p);
    static int mathRotate(double angleDeg, double cx, double cy, double cz, double ax, double ay, double az,
                          double& x, double& y, double& z);
    // Rotation about the z axis through the origin.
    static void mathRotateZ(double angleDeg, double& x, double& y, double& z);
    static void mathRotateZ(double angleDeg, double* p);

    // Angle in degrees between u and w, in [-180, 180]. Its sign is the sign of the z component
    // of u x w: positive when w lies counter-clockwise from u seen from above; 0 when either
    // vector has no length. Vectors square to the plan give +angle.
    static double mathCrossAngleNormalizeWithSign(const double* u, const double* w);
    static double mathCrossAngleNormalizeWithSign(const C3DPoint& u, const C3DPoint& w);

    // Crossing of the plan segment P1-P2 with the segment A-B (x and y; both segments include
    // their ends within tol, relative to each segment's length). On a crossing returns 1, t is the
    // fraction along A-B and X the point on A-B there (z interpolated between A and B). Parallel
    // or disjoint segments return 0.
    static int mathIntersectLine2(const C3DPoint& P1, const C3DPoint& P2, const C3DPoint& A, const C3DPoint& B,
                                  double tol, double& t, C3DPoint& X);

    // Matrix products: C = A x B for 4 x 4 matrices, and for general row-major matrices
    // (A is n x m, B is m x p, C is n x p). C may not alias A or B.
    static void mathMxMult(const double A[4][4], const double B[4][4], double C[4][4]);
    static void mathMxMult(const double* A, const double* B, double* C, int n, int m, int p);

    // Area centroid of the plan polygon (x[i], y[i]), i < n (closing edge implied). A polygon of
    // no area gives the mean of its vertices. Returns 0 only when n < 1.
    static int mathPolyCentroid(int n, const double* x, const double* y, double& cx, double& cy);

    // Plan segments p1-p2 and q1-q2: 1 when they cross at one inner point, 0 when they touch
    // (an end on the other segment, or collinear and overlapping), -1 when they do not meet.
    static int mathIntersect_ccw2D(const T_POINT2D& p1, const T_POINT2D& p2, const T_POINT2D& q1, const T_POINT2D& q2);
    // Crossing point of the plan lines through p1-p2 and q1-q2 (unbounded). 1 on success, 0 when
    // parallel or degenerate.
    static int mathLineLineCross2D(const T_POINT2D& p1, const T_POINT2D& p2, const T_POINT2D& q1, const T_POINT2D& q2,
                                   T_POINT2D& out);
    // TRUE when p lies on the plan segment a-b within the distance tol.
    static BOOL mathIsPointOfLine2D(const T_POINT2D& p, const T_POINT2D& a, const T_POINT2D& b, double tol = 1e-6);

    // Direction angle of the plan vector from (x1, y1) to (x2, y2), counter-clockwise from +x:
    // degrees in [0, 360) when bDegree is non-zero, radians in [0, 2 pi) otherwise. 0 for a
    // zero-length vector.
    static double GetAngle(double x1, double y1, double x2, double y2, int bDegree = 1);

    // Splits text at every occurrence of sep into lines, which is emptied first: n separators
    // give n + 1 lines (a trailing separator gives a last empty line); an empty text gives none;
    // an empty or null sep gives the whole text as one line. Returns the number of lines.
    static int SplitCStringByChar(const CString& text, CStringArray& lines, LPCTSTR sep);
};
