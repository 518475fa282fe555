// Plan polylines with arc edges, and the 3-D point lists of the member dialogs.
//
// CZELF_Polyline2D holds vertices and, per edge, the signed arc height of that edge (the
// distance from the arc's middle to the chord, positive when the arc bulges to the left of the
// direction of travel, as CZELF_Arc2D::Chord reports it; 0 or missing: straight). ToPolyLine
// turns it into plain points, each arc divided into chords of a given angle:
//
//     CZELF_Polyline2D outline;
//     outline.Add(T_POINT2D(0, 0), 0.5);   // edge to the next vertex bulges 0.5 to the left
//     outline.Add(T_POINT2D(2, 0));
//     CArray<T_POINT2D> pts;
//     outline.ToPolyLine(pts, CMathFunc::ArcDividAngleForCal, 1);
//
// T_MEMBDLG_3DPOINT_LIST_ITEM is a list of space points (an outline of the contoured region,
// for example) that converts to and from CZELF_Polyline2D by dropping or zeroing z.
// Coordinates are world units (m); angles degrees.
#pragma once

#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"

class CZELF_Polyline2D {
public:
    CZELF_Polyline2D() = default;
    explicit CZELF_Polyline2D(const CArray<T_POINT2D>& pts);

    // Appends a vertex; arcToNext is the arc height of the edge from it to the next vertex.
    void Add(const T_POINT2D& p, double arcToNext = 0.0);
    void RemoveAll();
    int GetCount() const { return static_cast<int>(m_Points.GetSize()); }
    const T_POINT2D& GetPoint(int i) const { return m_Points[i]; }
    // Arc height of edge i (vertex i to i + 1); 0 beyond the stored heights.
    double GetArc(int i) const;
    void SetArc(int i, double arc);
    BOOL IsClosed() const;
    // Repeats the first vertex at the end when the polyline is not closed yet.
    void MakeColse();

    // The points of the polyline into out (emptied first). With bDivideArcs 1 every arc edge is
    // replaced by chords of at most arcDivAngle degrees of its sweep (at least one chord); with
    // 0, or a divide angle not above 0, only the vertices are given. Returns the point count.
    int ToPolyLine(CArray<T_POINT2D>& out, double arcDivAngle, int bDivideArcs) const;

private:
    CArray<T_POINT2D> m_Points;
    CArray<double> m_Arcs;  // arc height per edge; shorter than the edges means straight
};

// A point of the member dialogs' space lists.
struct T_MEMBDLG_3DPOINT {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    T_MEMBDLG_3DPOINT() = default;
    T_MEMBDLG_3DPOINT(double ix, double iy, double iz) : x(ix), y(iy), z(iz) {}
    bool operator==(const T_MEMBDLG_3DPOINT& p) const { return x == p.x && y == p.y && z == p.z; }
};

// A list of space points; an outline when closed (last point equal to the first).
struct T_MEMBDLG_3DPOINT_LIST_ITEM {
    CArray<T_MEMBDLG_3DPOINT> m_Points;

    int GetCount() const { return static_cast<int>(m_Points.GetSize()); }
    void Add(const T_MEMBDLG_3DPOINT& p) { m_Points.Add(p); }
    BOOL IsClosed() const;
    // Appends the first point when the list is not closed yet (the spelling is the host's).
    void MakeColse();
    // The plan polyline of the points (z dropped, all edges straight).
    void To_POLYLINE2D(CZELF_Polyline2D& out) const;
    // The points of a polyline at z = 0, its arcs divided at CMathFunc::ArcDividAngleForCal.
    void From_POLYLINE2D(const CZELF_Polyline2D& in);
};
