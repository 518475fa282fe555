#include "tests/module/startup/StartupTestDb.h"

#include "host/db/PostDBBuilder.h"

CDBDoc* MakeStartupDocument(bool bEmpty) {
    auto* pDoc = new CDBDoc;
    PostDBBuilder b;
    b.Set3D(TRUE);
    b.AddNode(1, 0, 0, 0);
    b.AddNode(2, 0, 0, 3);
    b.AddNode(3, 6, 0, 0);
    b.AddNode(4, 6, 0, 3);
    if (!bEmpty) {
        b.AddElem(1, PELEM_KIND_FRAME, 101, {1, 2});
        b.AddElem(2, PELEM_KIND_FRAME, 101, {3, 4});
        b.AddElem(3, PELEM_KIND_FRAME, 201, {2, 4});
        b.AddMemb(1, 101, {1, 2}, {1});
        b.AddMemb(2, 101, {3, 4}, {2});
        b.AddMemb(3, 201, {2, 4}, {3});
    }
    b.Install(*pDoc);
    CDBDoc::m_pDBDoc = pDoc;
    return pDoc;
}

void FreeStartupDocument(CDBDoc* pDoc) {
    if (CDBDoc::m_pDBDoc == pDoc) CDBDoc::m_pDBDoc = nullptr;
    delete pDoc;
}
