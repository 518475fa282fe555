#include "host/check/IsofCheckToolUtil.h"

#include <algorithm>
#include <cmath>

#include "host/base/CurrentUnitCtrl.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
#include "host/db/FoundationRecords.h"

BOOL CIsofCheckToolUtil::s_GetWallGroupBox(const std::vector<T_WALL_SEGMENT>& walls, double& angle, double& b,
                                           double& h, T_POINT2D& centre) {
    if (walls.empty()) return FALSE;
    const T_WALL_SEGMENT* longest = nullptr;
    double best = 0.0;
    for (const T_WALL_SEGMENT& w : walls) {
        const double len = std::hypot(w.b.x - w.a.x, w.b.y - w.a.y);
        if (!(len > 0.0) || !(w.thick >= 0.0) || !std::isfinite(len) || !std::isfinite(w.thick)) return FALSE;
        if (!longest || len > best) longest = &w, best = len;
    }
    T_POINT2D p = longest->a, q = longest->b;
    if (!ICheckToolUtil::s_IsLeftPt(p.x, p.y, q.x, q.y)) std::swap(p, q);
    const double rad = std::atan2(q.y - p.y, q.x - p.x);
    const double ux = std::cos(rad), uy = std::sin(rad);
    double lo[2] = {HUGE_VAL, HUGE_VAL}, hi[2] = {-HUGE_VAL, -HUGE_VAL};
    for (const T_WALL_SEGMENT& w : walls) {
        const double len = std::hypot(w.b.x - w.a.x, w.b.y - w.a.y);
        // The wall's own normal, half its thickness long.
        const double nx = -(w.b.y - w.a.y) / len * 0.5 * w.thick, ny = (w.b.x - w.a.x) / len * 0.5 * w.thick;
        for (const T_POINT2D& e : {w.a, w.b})
            for (double s : {-1.0, 1.0}) {
                const double x = e.x + s * nx, y = e.y + s * ny;
                const double u = x * ux + y * uy, v = -x * uy + y * ux;
                lo[0] = std::min(lo[0], u), hi[0] = std::max(hi[0], u);
                lo[1] = std::min(lo[1], v), hi[1] = std::max(hi[1], v);
            }
    }
    angle = rad * 180.0 / M_PI;
    b = hi[0] - lo[0];
    h = hi[1] - lo[1];
    const double mu = 0.5 * (lo[0] + hi[0]), mv = 0.5 * (lo[1] + hi[1]);
    centre = T_POINT2D(mu * ux - mv * uy, mu * uy + mv * ux);
    return TRUE;
}

BOOL CIsofCheckToolUtil::s_GetUpPolyInfo(const CArray<UINT, UINT>& walls, double& angle, Check_Colm_D& section,
                                         T_POINT2D& centre, int) {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    CDataBase* db = doc ? doc->GetMDBCtrl()->GetDBPost() : nullptr;
    if (!db) return FALSE;
    std::vector<T_WALL_SEGMENT> segs;
    for (INT_PTR i = 0; i < walls.GetSize(); ++i) {
        const T_MEMB_D* m = db->Table<DBT_MEMB>().Find(walls[i]);
        const T_WALL_D* w = db->Table<DBT_WALL>().Find(walls[i]);
        if (!m || !w || m->type != MEMB_WALL || m->aPont.GetSize() != 2) return FALSE;
        const T_PONT_D* a = db->Table<DBT_PONT>().Find(m->aPont[0]);
        const T_PONT_D* b = db->Table<DBT_PONT>().Find(m->aPont[1]);
        if (!a || !b) return FALSE;
        segs.push_back({T_POINT2D(a->x, a->y), T_POINT2D(b->x, b->y), w->thick});
    }
    double b = 0.0, h = 0.0;
    if (!s_GetWallGroupBox(segs, angle, b, h, centre)) return FALSE;
    section.b = b * CurrentUnitCtrl::Cur2MM();
    section.h = h * CurrentUnitCtrl::Cur2MM();
    return TRUE;
}
