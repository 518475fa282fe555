// The ICheckToolUtil queries that read the document's project.
#include "host/check/ICheckToolUtil.h"

#include "host/check/CheckTables.h"
#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
#include "host/db/FoundationTables.h"

#include <cmath>

namespace {

CDataBase* ProjectDB() {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    return doc ? doc->GetMDBCtrl()->GetDBPost() : nullptr;
}

}  // namespace

int ICheckToolUtil::s_GetLoadCaseKeys(CArray<UINT, UINT>& keys, int kind) {
    keys.RemoveAll();
    CDataBase* pDB = ProjectDB();
    if (!pDB) return 0;
    CClassLdgp groups;
    groups.ConnectToDB(pDB);
    return groups.GetLoadCaseKeys(keys, kind);
}

CString ICheckToolUtil::s_GetCombText(UINT key) {
    CDataBase* pDB = ProjectDB();
    if (!pDB) return CString();
    CClassLdgp groups;
    groups.ConnectToDB(pDB);
    return groups.GetCombText(key);
}

// ---- foundation model lookups ----

namespace {

template <int ID, class R> BOOL FindRec(UINT key, R& rec) {
    CDataBase* pDB = ProjectDB();
    const R* p = pDB ? pDB->Table<ID>().Find(key) : nullptr;
    if (!p) return FALSE;
    rec = *p;
    return TRUE;
}

constexpr int kCircleSides = 36;

void Circle(const T_POINT2D& c, double d, CArray<T_POINT2D>& pts) {
    pts.RemoveAll();
    for (int i = 0; i <= kCircleSides; ++i) {
        const double a = 2.0 * M_PI * (i % kCircleSides) / kCircleSides;
        pts.Add(T_POINT2D(c.x + 0.5 * d * std::cos(a), c.y + 0.5 * d * std::sin(a)));
    }
}

// The outline of step i of a footing, closed.
BOOL StepOutline(const T_COLF_D& f, double angle, int i, CArray<T_POINT2D>& pts) {
    const T_POINT2D c(f.cx, f.cy);
    if (f.circle) {
        Circle(c, f.step[i].b, pts);
        return TRUE;
    }
    return ICheckToolUtil::s_MakePolyLine(f.step[i].b, f.step[i].h, angle, c, pts);
}

BOOL PointsOf(const T_MEMB_D& m, CArray<T_POINT2D>& pts) {
    CDataBase* pDB = ProjectDB();
    pts.RemoveAll();
    if (!pDB) return FALSE;
    const auto& t = pDB->Table<DBT_PONT>();
    for (INT_PTR i = 0; i < m.aPont.GetSize(); ++i) {
        const T_PONT_D* p = t.Find(m.aPont[i]);
        if (!p) return FALSE;
        pts.Add(T_POINT2D(p->x, p->y));
    }
    return TRUE;
}

}  // namespace

BOOL ICheckToolUtil::s_GetMemb(UINT key, T_MEMB_D& rec) { return FindRec<DBT_MEMB>(key, rec); }
BOOL ICheckToolUtil::s_GetPileInfo(UINT key, T_PILE_D& rec) { return FindRec<DBT_PILE>(key, rec); }
BOOL ICheckToolUtil::s_GetPileSecInfo(UINT key, T_PISP_D& rec) { return FindRec<DBT_PISP>(key, rec); }
BOOL ICheckToolUtil::s_GetPontInfo(UINT key, T_PONT_D& rec) { return FindRec<DBT_PONT>(key, rec); }
BOOL ICheckToolUtil::s_GetColf(UINT key, T_COLF_D& rec) { return FindRec<DBT_COLF>(key, rec); }
BOOL ICheckToolUtil::s_GetFosp(UINT key, T_FOSP_D& rec) { return FindRec<DBT_FOSP>(key, rec); }
BOOL ICheckToolUtil::s_GetJBCYResult(UINT key, T_PCDCJY_D& rec) {
    CClassPCDCJY table;
    table.ConnectToDB(ProjectDB());
    return table.Get(key, rec) ? TRUE : FALSE;
}

BOOL ICheckToolUtil::s_GetColfPolyLine(UINT key, CArray<T_POLYGON2D>& outlines, BOOL& isCircle,
                                       CArray<double>& diameters, BOOL& join, int) {
    T_COLF_D f;
    T_MEMB_D m;
    if (!s_GetColf(key, f) || !s_GetMemb(key, m) || f.nStep < 1 || f.nStep > COLF_MAX_STEP) return FALSE;
    CArray<T_POLYGON2D> out;
    CArray<double> d;
    for (int i = 0; i < f.nStep; ++i) {
        CArray<T_POINT2D> pts;
        if (!StepOutline(f, m.angle, i, pts)) return FALSE;
        T_POLYGON2D poly;
        poly.Set(pts.GetData(), static_cast<int>(pts.GetSize()));
        out.Add(poly);
        if (f.circle) d.Add(f.step[i].b);
    }
    outlines = out;
    diameters = d;
    isCircle = f.circle != 0;
    join = f.join != 0;
    return TRUE;
}

BOOL ICheckToolUtil::s_GetColfPolyLine(UINT key, CArray<T_POINT2D>& pts, int, int, int) {
    T_COLF_D f;
    T_MEMB_D m;
    if (!s_GetColf(key, f) || !s_GetMemb(key, m) || f.nStep < 1 || f.nStep > COLF_MAX_STEP) return FALSE;
    CArray<T_POINT2D> out;
    if (!StepOutline(f, m.angle, 0, out)) return FALSE;
    pts = out;
    return TRUE;
}

T_POINT2D ICheckToolUtil::s_GetColfCent(UINT key, int) {
    T_COLF_D f;
    return s_GetColf(key, f) ? T_POINT2D(f.cx, f.cy) : T_POINT2D(0, 0);
}

BOOL ICheckToolUtil::s_GetColumnSecData(UINT key, double& b, double& h, double& angle, T_POINT2D& centre) {
    T_COLM_D c;
    T_MEMB_D m;
    T_PONT_D p;
    if (!FindRec<DBT_COLM>(key, c) || !s_GetMemb(key, m) || m.aPont.GetSize() < 1 || !s_GetPontInfo(m.aPont[0], p))
        return FALSE;
    b = c.b;
    h = c.h;
    angle = m.angle;
    centre = T_POINT2D(p.x, p.y);
    return TRUE;
}

BOOL ICheckToolUtil::s_MakeColumnPoly(UINT key, CArray<T_POINT2D>& pts) {
    double b, h, angle;
    T_POINT2D c;
    if (!s_GetColumnSecData(key, b, h, angle, c)) return FALSE;
    if (h < 0.0) {
        if (!(b > 0.0)) return FALSE;
        Circle(c, b, pts);
        return TRUE;
    }
    return s_MakePolyLine(b, h, angle, c, pts);
}

BOOL ICheckToolUtil::s_GetMtsbPolyline(UINT key, CArray<T_POINT2D>& pts, int close) {
    T_MEMB_D m;
    CArray<T_POINT2D> out;
    T_MTSB_D raft;
    if (!FindRec<DBT_MTSB>(key, raft) || !s_GetMemb(key, m) || !PointsOf(m, out) || out.GetSize() < 3)
        return FALSE;
    const INT_PTR n = out.GetSize();
    if (std::fabs(out[0].x - out[n - 1].x) < 1e-9 && std::fabs(out[0].y - out[n - 1].y) < 1e-9) out.SetSize(n - 1);
    if (out.GetSize() < 3) return FALSE;
    if (close == 1) out.Add(T_POINT2D(out[0]));
    pts = out;
    return TRUE;
}

BOOL CSlabCheckToolUtil::s_GetPolygon(UINT raftKey, CArray<T_POINT2D>& pts) {
    return ICheckToolUtil::s_GetMtsbPolyline(raftKey, pts, 0);
}

BOOL ICheckToolUtil::s_ConvertNode2PolyLine(const CArray<UINT, UINT>& nodes, CArray<T_POINT2D>& pts, CDataBase* pDB) {
    if (!pDB) pDB = ProjectDB();
    if (!pDB) return FALSE;
    CArray<T_POINT2D> out;
    for (INT_PTR i = 0; i < nodes.GetSize(); ++i) {
        const T_PNODE_D* n = pDB->Table<DBT_PNODE>().Find(nodes[i]);
        if (!n) return FALSE;
        out.Add(T_POINT2D(n->x, n->y));
    }
    if (out.GetSize() < 2) return FALSE;
    pts = out;
    return TRUE;
}

BOOL ICheckToolUtil::s_ConvertPont2PolyLine(const CArray<UINT, UINT>& ponts, CArray<T_POINT2D>& pts, CDataBase* pDB) {
    if (!pDB) pDB = ProjectDB();
    if (!pDB) return FALSE;
    CArray<T_POINT2D> out;
    for (INT_PTR i = 0; i < ponts.GetSize(); ++i) {
        const T_PONT_D* p = pDB->Table<DBT_PONT>().Find(ponts[i]);
        if (!p) return FALSE;
        out.Add(T_POINT2D(p->x, p->y));
    }
    if (out.GetSize() < 2) return FALSE;
    pts = out;
    return TRUE;
}

BOOL ICheckToolUtil::s_ConvertNode2PolyLine(UINT memb, CArray<T_POINT2D>& pts, int) {
    CDataBase* pDB = ProjectDB();
    const T_PMEMB_D* m = pDB ? pDB->Table<DBT_PMEMB>().Find(memb) : nullptr;
    if (!m || !pDB->Table<DBT_MEMB>().Find(m->modelKey)) return FALSE;
    return s_ConvertNode2PolyLine(m->aNode, pts, pDB);
}

int ICheckToolUtil::s_GetMembKeyFromKeys(const CArray<UINT, UINT>& keys, CArray<UINT, UINT>& out, int type, int,
                                         CDataBase* pDB) {
    out.RemoveAll();
    if (!pDB) pDB = ProjectDB();
    if (!pDB) return 0;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const T_MEMB_D* m = pDB->Table<DBT_MEMB>().Find(keys[i]);
        if (m && m->type == type) out.Add(keys[i]);
    }
    return static_cast<int>(out.GetSize());
}
