#include "module/model/CPVXMembCtrl.h"

#include "host/db/CDBDoc.h"

#include <algorithm>

CPVXMembCtrl::CPVXMembCtrl() : m_pMDBCtrl(nullptr) {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    m_pMDBCtrl = doc ? doc->GetMDBCtrl() : nullptr;
    CDataBase* pPost = m_pMDBCtrl ? m_pMDBCtrl->GetDBPost() : nullptr;
    m_PNode.ConnectToDB(pPost);
    m_PElem.ConnectToDB(pPost);
    m_PMemb.ConnectToDB(pPost);
}

CPVXMembCtrl::~CPVXMembCtrl() = default;

int CPVXMembCtrl::ReadPoint(UINT nodeKey, C3DPoint& pt) {
    T_PNODE_D node;
    if (!m_PNode.Get(nodeKey, node)) return 0;
    pt.Set(node.x, node.y, node.z);
    return 1;
}

int CPVXMembCtrl::GetMembByElem(UINT elemKey, T_PMEMB_D& memb, int) {
    memb.Initialize();
    if (!m_PElem.Exist(elemKey)) return 0;
    return m_PMemb.Get(m_PMemb.GetMembKeyByElemKey(elemKey), memb);
}

UINT CPVXMembCtrl::GetMembKeyByElem(UINT elemKey) { return m_PMemb.GetMembKeyByElemKey(elemKey); }

int CPVXMembCtrl::GetMembEndNodeKeys(UINT membKey, UINT& first, UINT& last, T_PMEMB_D* pMemb) {
    T_PMEMB_D local;
    T_PMEMB_D& memb = pMemb ? *pMemb : local;
    if (!m_PMemb.Get(membKey, memb)) return 0;
    const INT_PTR n = memb.aNode.GetSize();
    if (n == 0) return 0;
    first = memb.aNode[0];
    last = memb.aNode[n - 1];
    return 1;
}

int CPVXMembCtrl::GetMembEndPoints(T_PMEMB_D& memb, C3DPoint& pi, C3DPoint& pj, C3DPoint& p3, C3DPoint& p4) {
    const INT_PTR n = memb.aNode.GetSize();
    if (n < 2) return 0;
    if (!ReadPoint(memb.aNode[0], pi) || !ReadPoint(memb.aNode[n - 1], pj)) return 0;
    if (memb.node3 == 0 || !ReadPoint(memb.node3, p3)) p3.Init();
    if (memb.node4 == 0 || !ReadPoint(memb.node4, p4)) p4.Init();
    return 1;
}

int CPVXMembCtrl::GetMembEndPointsByKey(UINT membKey, C3DPoint& pi, C3DPoint& pj) {
    UINT first = 0, last = 0;
    if (!GetMembEndNodeKeys(membKey, first, last)) return 0;
    return ReadPoint(first, pi) && ReadPoint(last, pj);
}

int CPVXMembCtrl::ShrinkMembPoints(T_PMEMB_D& memb, T_PELEM_D& elem, double factor, int n, double pts[][3],
                                   CArray<T_DISP_D>* pEndDisp) {
    if (!(factor < 1.0)) return 0;  // also refuses a factor that is not a number
    if (factor < 0.01) factor = 0.01;
    const INT_PTR nNode = memb.aNode.GetSize();
    if (nNode < 2 || n <= 0 || !pts) return 0;

    C3DPoint pi, pj;
    if (!ReadPoint(memb.aNode[0], pi) || !ReadPoint(memb.aNode[nNode - 1], pj)) return 0;
    if (pEndDisp && pEndDisp->GetSize() == 2) {
        const T_DISP_D& di = pEndDisp->GetAt(0);
        const T_DISP_D& dj = pEndDisp->GetAt(1);
        pi += C3DPoint(di.DX, di.DY, di.DZ);
        pj += C3DPoint(dj.DX, dj.DY, dj.DZ);
    }

    // The height of the centre spans the displaced ends and the element's own nodes.
    double zMin = std::min(pi.z, pj.z);
    double zMax = std::max(pi.z, pj.z);
    const int nElemNode = m_PElem.GetPNodeCount(elem);
    for (int i = 0; i < nElemNode; ++i) {
        C3DPoint p;
        if (!ReadPoint(elem.node[i], p)) continue;
        zMin = std::min(zMin, p.z);
        zMax = std::max(zMax, p.z);
    }
    const double c[3] = {(pi.x + pj.x) / 2.0, (pi.y + pj.y) / 2.0, (zMin + zMax) / 2.0};
    for (int k = 0; k < n; ++k)
        for (int a = 0; a < 3; ++a) pts[k][a] = factor * pts[k][a] + (1.0 - factor) * c[a];
    return 1;
}
