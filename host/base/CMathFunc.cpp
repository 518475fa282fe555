#include "host/base/CMathFunc.h"

#include <cmath>

#include "host/base/GeomTypes.h"

const double CMathFunc::m_pi = 3.14159265358979323846;
const double CMathFunc::m_trrad = 3.14159265358979323846 / 180.0;
const double CMathFunc::m_trdeg = 180.0 / 3.14159265358979323846;
const double CMathFunc::m_NormalZero = 1e-10;
const double CMathFunc::ArcDividAngleForCal = 5.0;

double CMathFunc::mathLength(double dx, double dy, double dz) { return std::sqrt(dx * dx + dy * dy + dz * dz); }

double CMathFunc::mathLength(const double* v) { return mathLength(v[0], v[1], v[2]); }

double CMathFunc::mathLength(const C3DPoint& a, const C3DPoint& b) {
    return mathLength(b.x - a.x, b.y - a.y, b.z - a.z);
}

double CMathFunc::mathArea(const double* p0, const double* p1, const double* p2) {
    const double u[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
    const double w[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
    double c[3];
    mathCross(u, w, c);
    return 0.5 * mathLength(c);
}

double CMathFunc::mathArea(const C3DPoint& p0, const C3DPoint& p1, const C3DPoint& p2) {
    const double a[3] = {p0.x, p0.y, p0.z};
    const double b[3] = {p1.x, p1.y, p1.z};
    const double c[3] = {p2.x, p2.y, p2.z};
    return mathArea(a, b, c);
}

int CMathFunc::mathNormalize(double& x, double& y, double& z) {
    const double len = mathLength(x, y, z);
    if (!(len >= m_NormalZero)) return 0;  // also refuses NaN
    x /= len;
    y /= len;
    z /= len;
    return 1;
}

int CMathFunc::mathNormalize(double* v) { return mathNormalize(v[0], v[1], v[2]); }

int CMathFunc::mathNormalize(double& x, double& y) {
    double z = 0.0;
    return mathNormalize(x, y, z);
}

int CMathFunc::mathNormalize(C3DPoint& v) { return mathNormalize(v.x, v.y, v.z); }

void CMathFunc::mathCross(const double* a, const double* b, double* out) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

C3DPoint CMathFunc::mathCross(const C3DPoint& a, const C3DPoint& b) {
    return C3DPoint(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

int CMathFunc::mathRotate(double angleDeg, double ax, double ay, double az, double& x, double& y, double& z) {
    if (!mathNormalize(ax, ay, az)) return 0;
    // Rodrigues: p' = p cos + (k x p) sin + k (k . p)(1 - cos).
    const double a = angleDeg * m_trrad;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double dot = ax * x + ay * y + az * z;
    const double kx = ay * z - az * y;
    const double ky = az * x - ax * z;
    const double kz = ax * y - ay * x;
    const double nx = x * c + kx * s + ax * dot * (1.0 - c);
    const double ny = y * c + ky * s + ay * dot * (1.0 - c);
    const double nz = z * c + kz * s + az * dot * (1.0 - c);
    x = nx;
    y = ny;
    z = nz;
    return 1;
}

int CMathFunc::mathRotate(double angleDeg, double ax, double ay, double az, double* p) {
    return mathRotate(angleDeg, ax, ay, az, p[0], p[1], p[2]);
}

int CMathFunc::mathRotate(double angleDeg, const C3DPoint& axis, C3DPoint& p) {
    return mathRotate(angleDeg, axis.x, axis.y, axis.z, p.x, p.y, p.z);
}

int CMathFunc::mathRotate(double angleDeg, double cx, double cy, double cz, double ax, double ay, double az,
                          double& x, double& y, double& z) {
    double rx = x - cx;
    double ry = y - cy;
    double rz = z - cz;
    if (!mathRotate(angleDeg, ax, ay, az, rx, ry, rz)) return 0;
    x = rx + cx;
    y = ry + cy;
    z = rz + cz;
    return 1;
}

void CMathFunc::mathRotateZ(double angleDeg, double& x, double& y, double& z) {
    const double a = angleDeg * m_trrad;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double nx = x * c - y * s;
    const double ny = x * s + y * c;
    x = nx;
    y = ny;
    (void)z;
}

void CMathFunc::mathRotateZ(double angleDeg, double* p) { mathRotateZ(angleDeg, p[0], p[1], p[2]); }

double CMathFunc::mathCrossAngleNormalizeWithSign(const double* u, const double* w) {
    double a[3] = {u[0], u[1], u[2]};
    double b[3] = {w[0], w[1], w[2]};
    if (!mathNormalize(a) || !mathNormalize(b)) return 0.0;
    double c[3];
    mathCross(a, b, c);
    const double sinv = mathLength(c);
    const double cosv = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    const double ang = std::atan2(sinv, cosv) * m_trdeg;
    return c[2] < 0.0 ? -ang : ang;
}

double CMathFunc::mathCrossAngleNormalizeWithSign(const C3DPoint& u, const C3DPoint& w) {
    const double a[3] = {u.x, u.y, u.z};
    const double b[3] = {w.x, w.y, w.z};
    return mathCrossAngleNormalizeWithSign(a, b);
}

int CMathFunc::mathIntersectLine2(const C3DPoint& P1, const C3DPoint& P2, const C3DPoint& A, const C3DPoint& B,
                                  double tol, double& t, C3DPoint& X) {
    const double rx = P2.x - P1.x, ry = P2.y - P1.y;  // cutting segment
    const double sx = B.x - A.x, sy = B.y - A.y;      // edge
    const double den = rx * sy - ry * sx;
    const double scale = mathLength(rx, ry) * mathLength(sx, sy);
    if (scale < m_NormalZero || std::fabs(den) <= m_NormalZero * scale) return 0;  // parallel or degenerate
    const double qx = A.x - P1.x, qy = A.y - P1.y;
    const double u = (qx * sy - qy * sx) / den;  // along P1-P2
    const double v = (qx * ry - qy * rx) / den;  // along A-B
    if (u < -tol || u > 1.0 + tol || v < -tol || v > 1.0 + tol) return 0;
    t = v;
    X.Set(A.x + v * sx, A.y + v * sy, A.z + v * (B.z - A.z));
    return 1;
}

void CMathFunc::mathMxMult(const double A[4][4], const double B[4][4], double C[4][4]) {
    mathMxMult(&A[0][0], &B[0][0], &C[0][0], 4, 4, 4);
}

void CMathFunc::mathMxMult(const double* A, const double* B, double* C, int n, int m, int p) {
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < p; ++j) {
            double s = 0.0;
            for (int k = 0; k < m; ++k) s += A[i * m + k] * B[k * p + j];
            C[i * p + j] = s;
        }
    }
}

int CMathFunc::mathPolyCentroid(int n, const double* x, const double* y, double& cx, double& cy) {
    if (n < 1) return 0;
    // Shift to the first vertex so that far-from-origin outlines keep their precision.
    const double ox = x[0], oy = y[0];
    double a2 = 0.0, sx = 0.0, sy = 0.0, mx = 0.0, my = 0.0;
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        const double xi = x[i] - ox, yi = y[i] - oy, xj = x[j] - ox, yj = y[j] - oy;
        const double cr = xi * yj - xj * yi;
        a2 += cr;
        sx += (xi + xj) * cr;
        sy += (yi + yj) * cr;
        mx += xi;
        my += yi;
    }
    double ext = 0.0;
    for (int i = 0; i < n; ++i) ext = std::fmax(ext, std::fmax(std::fabs(x[i] - ox), std::fabs(y[i] - oy)));
    if (std::fabs(a2) <= m_NormalZero * std::fmax(ext * ext, 1.0)) {
        cx = ox + mx / n;
        cy = oy + my / n;
        return 1;
    }
    cx = ox + sx / (3.0 * a2);
    cy = oy + sy / (3.0 * a2);
    return 1;
}

namespace {
// Twice the signed area of the triangle a, b, c: positive when counter-clockwise.
double Orient(const T_POINT2D& a, const T_POINT2D& b, const T_POINT2D& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}
int Sign(double v, double eps) { return v > eps ? 1 : (v < -eps ? -1 : 0); }
bool Within(const T_POINT2D& p, const T_POINT2D& a, const T_POINT2D& b, double eps) {
    return p.x >= std::fmin(a.x, b.x) - eps && p.x <= std::fmax(a.x, b.x) + eps &&
           p.y >= std::fmin(a.y, b.y) - eps && p.y <= std::fmax(a.y, b.y) + eps;
}
}  // namespace

int CMathFunc::mathIntersect_ccw2D(const T_POINT2D& p1, const T_POINT2D& p2, const T_POINT2D& q1,
                                   const T_POINT2D& q2) {
    const double ext = std::fmax(mathLength(p2.x - p1.x, p2.y - p1.y), mathLength(q2.x - q1.x, q2.y - q1.y));
    const double eps = m_NormalZero * std::fmax(ext * ext, 1.0);
    const int d1 = Sign(Orient(p1, p2, q1), eps);
    const int d2 = Sign(Orient(p1, p2, q2), eps);
    const int d3 = Sign(Orient(q1, q2, p1), eps);
    const int d4 = Sign(Orient(q1, q2, p2), eps);
    if (d1 * d2 < 0 && d3 * d4 < 0) return 1;
    const double e = 1e-12 * std::fmax(ext, 1.0);
    if ((d1 == 0 && Within(q1, p1, p2, e)) || (d2 == 0 && Within(q2, p1, p2, e)) ||
        (d3 == 0 && Within(p1, q1, q2, e)) || (d4 == 0 && Within(p2, q1, q2, e)))
        return 0;
    return -1;
}

int CMathFunc::mathLineLineCross2D(const T_POINT2D& p1, const T_POINT2D& p2, const T_POINT2D& q1,
                                   const T_POINT2D& q2, T_POINT2D& out) {
    const double rx = p2.x - p1.x, ry = p2.y - p1.y;
    const double sx = q2.x - q1.x, sy = q2.y - q1.y;
    const double den = rx * sy - ry * sx;
    const double scale = mathLength(rx, ry) * mathLength(sx, sy);
    if (scale < m_NormalZero || std::fabs(den) <= m_NormalZero * scale) return 0;
    const double u = ((q1.x - p1.x) * sy - (q1.y - p1.y) * sx) / den;
    out.x = p1.x + u * rx;
    out.y = p1.y + u * ry;
    return 1;
}

BOOL CMathFunc::mathIsPointOfLine2D(const T_POINT2D& p, const T_POINT2D& a, const T_POINT2D& b, double tol) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    if (len2 <= 0.0) return mathLength(p.x - a.x, p.y - a.y) <= tol;
    double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
    if (t < 0.0) t = 0.0;
    if (t > 1.0) t = 1.0;
    return mathLength(p.x - (a.x + t * dx), p.y - (a.y + t * dy)) <= tol;
}

double CMathFunc::GetAngle(double x1, double y1, double x2, double y2, int bDegree) {
    const double dx = x2 - x1, dy = y2 - y1;
    if (dx == 0.0 && dy == 0.0) return 0.0;
    double a = std::atan2(dy, dx);
    if (a < 0.0) a += 2.0 * m_pi;
    if (bDegree) {
        a *= m_trdeg;
        if (a >= 360.0) a -= 360.0;
        return a;
    }
    if (a >= 2.0 * m_pi) a -= 2.0 * m_pi;
    return a;
}
