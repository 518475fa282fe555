#include "module/bars/SlabStripLines.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "host/base/CMathFunc.h"
#include "host/base/GeomTypes.h"
#include "host/db/DBTables.h"

namespace slabstrip {

namespace {
T_POINT2D P2(const PlanPoint& p) {
    T_POINT2D t;
    t.x = p.x;
    t.y = p.y;
    return t;
}
double Distance(const PlanPoint& a, const PlanPoint& b) { return std::hypot(b.x - a.x, b.y - a.y); }
}  // namespace

PlanPoint SnapOrthogonal(const PlanPoint& first, PlanPoint cursor) {
    if (std::fabs(cursor.x - first.x) > std::fabs(cursor.y - first.y))
        cursor.y = first.y;
    else
        cursor.x = first.x;
    return cursor;
}

std::vector<PlanPoint> SplitLine(const PlanPoint& P, const PlanPoint& Q, const std::vector<std::vector<PlanPoint>>& polygons,
                                 const std::vector<PlanPoint>& points, double tol) {
    std::vector<std::pair<double, PlanPoint>> cand = {{Distance(P, Q), Q}};
    const T_POINT2D p = P2(P), q = P2(Q);
    for (const std::vector<PlanPoint>& poly : polygons) {
        const size_t n = poly.size();
        if (n < 2) continue;
        for (size_t i = 0; i < n; ++i) {
            const T_POINT2D a = P2(poly[i]), b = P2(poly[(i + 1) % n]);
            if (CMathFunc::mathIntersect_ccw2D(p, q, a, b) == -1) continue;
            T_POINT2D x;
            if (CMathFunc::mathLineLineCross2D(p, q, a, b, x) != 1) continue;
            const PlanPoint c{x.x, x.y};
            cand.push_back({Distance(P, c), c});
        }
    }
    for (const PlanPoint& c : points)
        if (CMathFunc::mathIsPointOfLine2D(P2(c), p, q)) cand.push_back({Distance(P, c), c});
    std::stable_sort(cand.begin(), cand.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<PlanPoint> line = {P};
    for (const auto& c : cand) line.push_back(c.second);
    for (size_t i = line.size() - 1; i >= 1; --i)
        if (Distance(line[i - 1], line[i]) < tol) line.erase(line.begin() + static_cast<long>(i));
    return line;
}

void CollectSplitters(CDataBase* pDB, std::vector<std::vector<PlanPoint>>& polygons, std::vector<PlanPoint>& points) {
    polygons.clear();
    points.clear();
    if (!pDB) return;
    CClassPMemb membs;
    membs.ConnectToDB(pDB);
    CClassPNode nodes;
    nodes.ConnectToDB(pDB);
    CArray<UINT, UINT> keys;
    membs.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!membs.Get(keys[i], memb) || memb.aNode.GetSize() == 0) continue;
        if (memb.type == 301) {
            std::vector<PlanPoint> poly;
            for (INT_PTR k = 0; k < memb.aNode.GetSize(); ++k) {
                T_PNODE_D n;
                if (nodes.Get(memb.aNode[k], n)) poly.push_back({n.x, n.y});
            }
            polygons.push_back(std::move(poly));
        } else if (memb.type == 101) {
            T_PNODE_D n;
            if (nodes.Get(memb.aNode[0], n)) points.push_back({n.x, n.y});
        }
    }
}

CString PieceName(const CString& name, int i, int n) {
    if (n <= 1) return name;
    CString s;
    s.Format("%s-%d", name.GetString(), i + 1);
    return s;
}

}  // namespace slabstrip

T_STRIP_INFO slabstrip::MakeStrip(const CString& name, double width, double x1, double y1, double x2, double y2) {
    T_STRIP_INFO s;
    s.strName = name;
    s.dWidth = width;
    s.x1 = x1;
    s.y1 = y1;
    s.x2 = x2;
    s.y2 = y2;
    return s;
}

std::vector<std::pair<T_STRIP_INFO, UINT>> slabstrip::ReadStrips(CDataBase* pDB) {
    std::vector<std::pair<T_STRIP_INFO, UINT>> strips;
    CClassCtln table;
    table.ConnectToDB(pDB);
    CArray<UINT, UINT> keys;
    table.GetKeyList(keys, CTLN_KIND_STRIP);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_CTLN_D line;
        line.Initialize();
        if (!table.Get(keys[i], line)) break;
        strips.push_back({MakeStrip(line.name, line.width, line.x1, line.y1, line.x2, line.y2), keys[i]});
    }
    return strips;
}
