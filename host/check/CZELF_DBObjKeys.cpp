// CZELF_DBLineObjData and CZELF_DBAreaObjData set from table keys: a foundation member's line, or an analysis member's
// line when it belongs to the foundation.
#include "host/base/CZELF_DBAreaObjData.h"
#include "host/base/CZELF_DBLineObjData.h"

#include "host/db/CDataBase.h"
#include "host/db/FoundationRecords.h"

#include <cmath>

int CZELF_DBLineObjData::SetData(UINT membKey, CDataBase* pModel, int) {
    const T_MEMB_D* m = pModel ? pModel->Table<DBT_MEMB>().Find(membKey) : nullptr;
    if (!m || m->aPont.GetSize() < 2) return 0;
    const T_PONT_D* a = pModel->Table<DBT_PONT>().Find(m->aPont[0]);
    const T_PONT_D* b = pModel->Table<DBT_PONT>().Find(m->aPont[1]);
    if (!a || !b) return 0;
    return SetData(CZELF_Point2D(a->x, a->y), CZELF_Point2D(b->x, b->y), 0.0, 0.0, 0.0);
}

int CZELF_DBLineObjData::SetData(UINT postKey, CDataBase* pPost, CDataBase* pModel, int) {
    const T_PMEMB_D* m = pPost ? pPost->Table<DBT_PMEMB>().Find(postKey) : nullptr;
    if (!m || !pModel || !pModel->Table<DBT_MEMB>().Find(m->modelKey) || m->aNode.GetSize() < 2) return 0;
    const T_PNODE_D* a = pPost->Table<DBT_PNODE>().Find(m->aNode[0]);
    const T_PNODE_D* b = pPost->Table<DBT_PNODE>().Find(m->aNode[m->aNode.GetSize() - 1]);
    if (!a || !b) return 0;
    return SetData(CZELF_Point2D(a->x, a->y), CZELF_Point2D(b->x, b->y), 0.0, 0.0, 0.0);
}

int CZELF_DBAreaObjData::SetData(UINT key, CDataBase* pModel, int) {
    m_Points.RemoveAll();
    const T_MEMB_D* m = pModel ? pModel->Table<DBT_MEMB>().Find(key) : nullptr;
    if (!m || m->type != MEMB_RAFT || !pModel->Table<DBT_MTSB>().Find(key)) return 0;
    CArray<T_POINT2D> pts;
    for (INT_PTR i = 0; i < m->aPont.GetSize(); ++i) {
        const T_PONT_D* p = pModel->Table<DBT_PONT>().Find(m->aPont[i]);
        if (!p) return 0;
        pts.Add(T_POINT2D(p->x, p->y));
    }
    INT_PTR n = pts.GetSize();
    if (n > 1 && std::fabs(pts[0].x - pts[n - 1].x) < 1e-9 && std::fabs(pts[0].y - pts[n - 1].y) < 1e-9) pts.SetSize(--n);
    if (n < 3) return 0;
    m_Points = pts;
    return 1;
}
