// CZELF_DBLineObjData set from table keys: a foundation member's line, or an analysis member's
// line when it belongs to the foundation.
#include "host/base/CZELF_DBLineObjData.h"

#include "host/db/CDataBase.h"
#include "host/db/FoundationRecords.h"

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
