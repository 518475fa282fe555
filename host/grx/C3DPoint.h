// A point (or vector) in world space: three doubles x, y, z.
//
// Every coordinate the results module draws passes through this type: model nodes, face
// vertices, range corners and label anchors. It is a plain value type; arithmetic treats it as
// a vector, so differences, scaling, dot and cross products read naturally in drawing code.
#pragma once

#include <cmath>

class C3DPoint {
public:
    double x;  // world units
    double y;
    double z;

    C3DPoint() : x(0.0), y(0.0), z(0.0) {}
    C3DPoint(double ix, double iy, double iz) : x(ix), y(iy), z(iz) {}
    C3DPoint(const C3DPoint&) = default;
    C3DPoint& operator=(const C3DPoint&) = default;
    virtual ~C3DPoint() = default;

    // Back to the origin.
    void Init() { x = y = z = 0.0; }
    void Set(double ix, double iy, double iz) { x = ix; y = iy; z = iz; }

    // Component access by index 0..2 (x, y, z); other indices give z.
    double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

    C3DPoint operator+(const C3DPoint& p) const { return C3DPoint(x + p.x, y + p.y, z + p.z); }
    C3DPoint operator-(const C3DPoint& p) const { return C3DPoint(x - p.x, y - p.y, z - p.z); }
    C3DPoint operator-() const { return C3DPoint(-x, -y, -z); }
    C3DPoint operator*(double f) const { return C3DPoint(x * f, y * f, z * f); }
    C3DPoint operator/(double f) const { return C3DPoint(x / f, y / f, z / f); }
    C3DPoint& operator+=(const C3DPoint& p) { x += p.x; y += p.y; z += p.z; return *this; }
    C3DPoint& operator-=(const C3DPoint& p) { x -= p.x; y -= p.y; z -= p.z; return *this; }
    C3DPoint& operator*=(double f) { x *= f; y *= f; z *= f; return *this; }
    C3DPoint& operator/=(double f) { x /= f; y /= f; z /= f; return *this; }
    // Exact comparison, as the class library's point types compare.
    bool operator==(const C3DPoint& p) const { return x == p.x && y == p.y && z == p.z; }
    bool operator!=(const C3DPoint& p) const { return !(*this == p); }

    double Dot(const C3DPoint& p) const { return x * p.x + y * p.y + z * p.z; }
    C3DPoint Cross(const C3DPoint& p) const {
        return C3DPoint(y * p.z - z * p.y, z * p.x - x * p.z, x * p.y - y * p.x);
    }
    double Length() const { return std::sqrt(x * x + y * y + z * z); }
    double Distance(const C3DPoint& p) const { return (*this - p).Length(); }
    // Unit vector in the same direction; the zero vector stays zero.
    C3DPoint Normalized() const {
        double l = Length();
        return l > 0.0 ? *this / l : C3DPoint();
    }
};

inline C3DPoint operator*(double f, const C3DPoint& p) { return p * f; }
