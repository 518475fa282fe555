#include "host/base/CZELF_Polyline2D.h"

#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/base/CZELF_DBLineObjData.h"

CZELF_Polyline2D::CZELF_Polyline2D(const CArray<T_POINT2D>& pts) { m_Points.Copy(pts); }

void CZELF_Polyline2D::Add(const T_POINT2D& p, double arcToNext) {
    m_Points.Add(p);
    if (arcToNext != 0.0) SetArc(GetCount() - 1, arcToNext);
}

void CZELF_Polyline2D::RemoveAll() {
    m_Points.RemoveAll();
    m_Arcs.RemoveAll();
}

double CZELF_Polyline2D::GetArc(int i) const { return (i >= 0 && i < m_Arcs.GetSize()) ? m_Arcs[i] : 0.0; }

void CZELF_Polyline2D::SetArc(int i, double arc) {
    if (i < 0) return;
    while (m_Arcs.GetSize() <= i) m_Arcs.Add(0.0);
    m_Arcs[i] = arc;
}

BOOL CZELF_Polyline2D::IsClosed() const { return GetCount() >= 2 && m_Points[0] == m_Points[GetCount() - 1]; }

void CZELF_Polyline2D::MakeColse() {
    if (GetCount() > 0 && !IsClosed()) m_Points.Add(T_POINT2D(m_Points[0]));
}

int CZELF_Polyline2D::ToPolyLine(CArray<T_POINT2D>& out, double arcDivAngle, int bDivideArcs) const {
    out.RemoveAll();
    const int n = GetCount();
    for (int i = 0; i < n; ++i) {
        out.Add(m_Points[i]);
        const double h = GetArc(i);
        if (i + 1 >= n || h == 0.0 || !bDivideArcs || !(arcDivAngle > 0.0)) continue;
        CZELF_DBLineObjData arc;
        if (!arc.SetData(m_Points[i], m_Points[i + 1], h, 0.0, 0.0) || !arc.IsArc()) continue;
        if (arc.IsReverse()) arc.ReVerSeData();
        // Sweep of an arc of chord c and height h: 4 atan(2 |h| / c).
        const double c = math_lib::distance_2d(m_Points[i].x, m_Points[i].y, m_Points[i + 1].x, m_Points[i + 1].y);
        const double sweep = 4.0 * std::atan(2.0 * std::fabs(h) / c) * CMathFunc::m_trdeg;
        const int pieces = static_cast<int>(std::fmax(1.0, std::ceil(sweep / arcDivAngle - 1e-9)));
        for (int k = 1; k < pieces; ++k) out.Add(arc.GetPointByDist(static_cast<double>(k) / pieces, 0.0));
    }
    return static_cast<int>(out.GetSize());
}

BOOL T_MEMBDLG_3DPOINT_LIST_ITEM::IsClosed() const {
    return GetCount() >= 2 && m_Points[0] == m_Points[GetCount() - 1];
}

void T_MEMBDLG_3DPOINT_LIST_ITEM::MakeColse() {
    if (GetCount() > 0 && !IsClosed()) m_Points.Add(T_MEMBDLG_3DPOINT(m_Points[0]));
}

void T_MEMBDLG_3DPOINT_LIST_ITEM::To_POLYLINE2D(CZELF_Polyline2D& out) const {
    out.RemoveAll();
    for (int i = 0; i < GetCount(); ++i) out.Add(T_POINT2D(m_Points[i].x, m_Points[i].y));
}

void T_MEMBDLG_3DPOINT_LIST_ITEM::From_POLYLINE2D(const CZELF_Polyline2D& in) {
    CArray<T_POINT2D> pts;
    in.ToPolyLine(pts, CMathFunc::ArcDividAngleForCal, 1);
    m_Points.RemoveAll();
    for (int i = 0; i < pts.GetSize(); ++i) m_Points.Add(T_MEMBDLG_3DPOINT(pts[i].x, pts[i].y, 0.0));
}
