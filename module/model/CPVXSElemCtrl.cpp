#include "module/model/CPVXSElemCtrl.h"

#include <algorithm>
#include <vector>

#include "module/engines/CDeformEngine.h"
#include "host/base/CArrayUtil.h"
#include "host/base/CMathFunc.h"
#include "host/db/CDBDoc.h"

namespace {

CDataBase* DocumentPostDB() {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    return doc ? doc->GetMDBCtrl()->GetDBPost() : nullptr;
}

// Keys of one map of a map record, ascending.
void SortedKeys(const CMap<UINT, UINT, UINT, UINT>& map, CArray<UINT, UINT>& out) {
    std::vector<UINT> v;
    v.reserve(static_cast<size_t>(map.GetCount()));
    UINT k, val;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, k, val);
        v.push_back(k);
    }
    std::sort(v.begin(), v.end());
    out.RemoveAll();
    out.SetSize(static_cast<INT_PTR>(v.size()));
    for (size_t i = 0; i < v.size(); ++i) out[static_cast<INT_PTR>(i)] = v[i];
}

// Model elements of a map record: line elements (map 5) then plane elements (map 3).
void ModelElemsOfMap(const T_PSEMAP_D& map, CArray<UINT, UINT>& keys) {
    CArray<UINT, UINT> plane;
    SortedKeys(map.map[4], keys);
    SortedKeys(map.map[2], plane);
    keys.Append(plane);
}

// Model nodes of a map record: covered nodes (map 4) united with end nodes (map 2), ascending.
void ModelNodesOfMap(const T_PSEMAP_D& map, CArray<UINT, UINT>& keys) {
    CArray<UINT, UINT> covered, ends;
    SortedKeys(map.map[3], covered);
    SortedKeys(map.map[1], ends);
    CArrayUtil::UnionUINT(covered, ends, keys);
}

// The position the deformation engine draws a node at; without data the node stays put.
C3DPoint DisplacedPoint(const CDeformEngine* pEngine, UINT key, const C3DPoint& p) {
    return pEngine && pEngine->m_bDataReady ? pEngine->GetDisplacedPoint(key, p) : p;
}

C3DPoint ToPoint(const T_PNODE_D& n) { return C3DPoint(n.x, n.y, n.z); }

}  // namespace

CPVXSElemCtrl::CPVXSElemCtrl() : m_pDB(nullptr), m_nElemKey(0), m_bSuper(0) {
    m_elemRec.Initialize();
    m_rdstRec.Initialize();
    Bind(DocumentPostDB());
}

CPVXSElemCtrl::CPVXSElemCtrl(CDataBase* pDB) : m_pDB(nullptr), m_nElemKey(0), m_bSuper(0) {
    m_elemRec.Initialize();
    m_rdstRec.Initialize();
    Bind(pDB);
}

CPVXSElemCtrl::~CPVXSElemCtrl() = default;

void CPVXSElemCtrl::Bind(CDataBase* pDB) {
    m_pDB = pDB;
    if (!pDB) return;
    m_node.ConnectToDB(pDB);
    m_elem.ConnectToDB(pDB);
    m_elem2.ConnectToDB(pDB);
    m_semap.ConnectToDB(pDB);
    m_selem.ConnectToDB(pDB);
    m_rdst.ConnectToDB(pDB);
    m_nodeSE.ConnectToDB(pDB);
    m_elemSE.ConnectToDB(pDB);
}

int CPVXSElemCtrl::GetSuperElemData(UINT key) {
    InitSuperElemRecords();
    m_nElemKey = key;
    const int bElem = m_elem.Get(key, m_elemRec);
    const int bMap = m_semap.Get(key, m_mapRec);
    m_rdst.Get(key, m_rdstRec);
    if (bMap) m_selem.Get(m_mapRec.seKey, m_sElemRec);
    m_bSuper = bElem && bMap && IsSuperElem(m_elemRec);
    return bElem ? 1 : 0;
}

int CPVXSElemCtrl::InitSuperElemRecords() {
    m_nElemKey = 0;
    m_elemRec.Initialize();
    m_mapRec.Initialize();
    m_sElemRec.Initialize();
    m_rdstRec.Initialize();
    m_bSuper = 0;
    return 1;
}

int CPVXSElemCtrl::IsSuperElem(const T_PELEM_D& rec) { return CClassPElem::IsSuperElem(rec); }

int CPVXSElemCtrl::IsSuperElemKey(UINT key) {
    CClassPElem elem;
    if (!elem.ConnectToDB(DocumentPostDB())) return 0;
    return elem.IsSuperElem(key);
}

int CPVXSElemCtrl::IsSuperMember(const T_PMEMB_D& memb) const {
    for (INT_PTR i = 0; i < memb.aElem.GetSize(); ++i)
        if (m_elem.IsSuperElem(memb.aElem[i])) return TRUE;
    return FALSE;
}

int CPVXSElemCtrl::IsAllElemInSuperElem(const T_PMEMB_D& memb) const {
    for (INT_PTR i = 0; i < memb.aElem.GetSize(); ++i)
        if (!m_semap.Exist(memb.aElem[i])) return FALSE;
    return TRUE;
}

int CPVXSElemCtrl::GetModelElemKeys(UINT key, CArray<UINT, UINT>& keys) const {
    keys.RemoveAll();
    T_PELEM_D rec;
    T_PSEMAP_D map;
    if (m_elem.Get(key, rec) && IsSuperElem(rec) && m_semap.Get(key, map)) {
        ModelElemsOfMap(map, keys);
    } else {
        keys.Add(key);
    }
    return 1;
}

int CPVXSElemCtrl::GetCurrentModelElemKeys(CArray<UINT, UINT>& keys) const {
    keys.RemoveAll();
    if (m_bSuper) {
        ModelElemsOfMap(m_mapRec, keys);
    } else {
        keys.Add(m_nElemKey);
    }
    return 1;
}

int CPVXSElemCtrl::GetSuperElemNodeKeys(UINT key, CArray<UINT, UINT>& keys) const {
    CArray<UINT, UINT> own;
    GetModelElemKeys(key, own);
    keys.Append(own);
    return 1;
}

int CPVXSElemCtrl::GetSuperElemNodeList(UINT key, CArray<UINT, UINT>& nodeKeys, CArray<T_PNODE_D>* pNodes) const {
    nodeKeys.RemoveAll();
    if (pNodes) pNodes->RemoveAll();
    T_PELEM_D rec;
    T_PSEMAP_D map;
    if (!m_elem.Get(key, rec)) return 0;
    if (IsSuperElem(rec) && m_semap.Get(key, map)) {
        ModelNodesOfMap(map, nodeKeys);
        if (!pNodes) return 1;
        T_PSELEM_D sElem;
        m_selem.Get(map.seKey, sElem);
        return GetSuperNodeRecordsOfModelNodes(&map, &sElem, nodeKeys, *pNodes);
    }
    return AppendOwnNodes(rec, nodeKeys, pNodes);
}

int CPVXSElemCtrl::AppendOwnNodes(const T_PELEM_D& rec, CArray<UINT, UINT>& nodeKeys,
                                  CArray<T_PNODE_D>* pNodes) const {
    int ok = 1;
    const int n = m_elem.GetPNodeCount(rec);
    for (int i = 0; i < n; ++i) {
        nodeKeys.Add(rec.node[i]);
        if (!pNodes) continue;
        T_PNODE_D nd;
        nd.Initialize();
        if (!m_node.Get(rec.node[i], nd)) ok = 0;
        pNodes->Add(nd);
    }
    return ok;
}

int CPVXSElemCtrl::GetCurrentElemNodeList(CArray<UINT, UINT>& nodeKeys, CArray<T_PNODE_D>* pNodes) const {
    nodeKeys.RemoveAll();
    if (pNodes) pNodes->RemoveAll();
    if (m_bSuper) {
        ModelNodesOfMap(m_mapRec, nodeKeys);
        return pNodes ? GetSuperNodeRecordsOfModelNodes(&m_mapRec, &m_sElemRec, nodeKeys, *pNodes) : 1;
    }
    if (m_nElemKey == 0) return 0;
    return GetSuperElemNodeList(m_nElemKey, nodeKeys, pNodes);
}

int CPVXSElemCtrl::GetSuperElemShapeNodes(UINT key, CArray<UINT, UINT>& nodeKeys, CArray<T_PNODE_D>* pNodes,
                                          int* pbSuper) const {
    nodeKeys.RemoveAll();
    if (pNodes) pNodes->RemoveAll();
    if (pbSuper) *pbSuper = 0;
    if (!m_bSuper) {
        // An ordinary element: its own nodes from the node table.
        T_PELEM_D rec;
        if (key == m_nElemKey && m_nElemKey != 0) {
            rec = m_elemRec;
        } else if (!m_elem.Get(key, rec)) {
            return 0;
        }
        const int ok = AppendOwnNodes(rec, nodeKeys, pNodes);
        return ok && m_elem.GetPNodeCount(rec) > 0;
    }

    // A model element of the current super element: the mesh element it maps to, else the
    // model element itself. Its nodes are super nodes.
    const UINT seElem = m_mapRec.GetSuperPElemK(key);
    T_PELEM_D rec;
    rec.Initialize();
    if (!(seElem != 0 && m_elemSE.GetSuperPElemD(m_mapRec.seKey, seElem, rec)) && !m_elem.Get(key, rec)) return 0;
    const int n = m_elem.GetPNodeCount(rec);
    if (n == 0) return 0;
    CArray<UINT, UINT> superKeys;
    for (int i = 0; i < n; ++i) {
        superKeys.Add(rec.node[i]);
        nodeKeys.Add(ReportedNodeKey(m_mapRec, rec.node[i]));
    }
    if (pbSuper) *pbSuper = 1;
    return pNodes ? ReadCurrentSuperNodes(superKeys, *pNodes) : 1;
}

int CPVXSElemCtrl::GetSuperElemEndNodes(CArray<UINT, UINT>& iKeys, CArray<UINT, UINT>& jKeys,
                                        CArray<T_PNODE_D>* pINodes, CArray<T_PNODE_D>* pJNodes) const {
    iKeys.RemoveAll();
    jKeys.RemoveAll();
    if (pINodes) pINodes->RemoveAll();
    if (pJNodes) pJNodes->RemoveAll();
    const CArray<UINT, UINT>& si = m_sElemRec.aINode;
    const CArray<UINT, UINT>& sj = m_sElemRec.aJNode;
    if (!m_bSuper || si.GetSize() < 2 || sj.GetSize() < 2) return 0;
    for (INT_PTR i = 0; i < si.GetSize(); ++i) iKeys.Add(ReportedNodeKey(m_mapRec, si[i]));
    for (INT_PTR i = 0; i < sj.GetSize(); ++i) jKeys.Add(ReportedNodeKey(m_mapRec, sj[i]));
    if (pINodes && !ReadCurrentSuperNodes(si, *pINodes)) return 0;
    if (pJNodes && !ReadCurrentSuperNodes(sj, *pJNodes)) return 0;
    return 1;
}

int CPVXSElemCtrl::GetModelNodeSuperRecords(const CArray<UINT, UINT>& modelKeys, CArray<T_PNODE_D>& nodes) const {
    CArray<UINT, UINT> superKeys;
    superKeys.SetSize(modelKeys.GetSize());
    for (INT_PTR i = 0; i < modelKeys.GetSize(); ++i) superKeys[i] = m_mapRec.GetSuperPNodeK(modelKeys[i]);
    return GetSuperNodeRecordsChecked(superKeys, nodes);
}

int CPVXSElemCtrl::GetSuperNodeRecordsOfModelNodes(const T_PSEMAP_D* pMap, const T_PSELEM_D* pSElem,
                                                   const CArray<UINT, UINT>& modelKeys,
                                                   CArray<T_PNODE_D>& nodes) const {
    nodes.RemoveAll();
    if (!pMap || !pSElem) return 0;
    CArray<UINT, UINT> superKeys;
    superKeys.SetSize(modelKeys.GetSize());
    for (INT_PTR i = 0; i < modelKeys.GetSize(); ++i) superKeys[i] = pMap->GetSuperPNodeK(modelKeys[i]);
    return ReadSuperNodeRecords(pMap, pSElem, superKeys, nodes);
}

int CPVXSElemCtrl::GetSuperNodeRecordsChecked(const CArray<UINT, UINT>& superKeys, CArray<T_PNODE_D>& nodes) const {
    nodes.RemoveAll();
    if (superKeys.GetSize() == 0) return 0;
    return ReadSuperNodeRecords(&m_mapRec, &m_sElemRec, superKeys, nodes);
}

int CPVXSElemCtrl::ReadSuperNodeRecords(const T_PSEMAP_D* pMap, const T_PSELEM_D* pSElem,
                                        const CArray<UINT, UINT>& superKeys, CArray<T_PNODE_D>& nodes) const {
    if (!pMap || !pSElem) return 0;
    nodes.SetSize(superKeys.GetSize());
    int ok = 1;
    for (INT_PTR i = 0; i < superKeys.GetSize(); ++i) {
        const UINT key = superKeys[i];
        T_PNODE_D& nd = nodes[i];
        nd.Initialize();
        if (IsModelNodeOfSElem(*pSElem, key)) {
            if (!m_node.Get(pMap->GetModelPNodeK(key), nd)) ok = 0;
        } else if (m_nodeSE.GetSuperPNodeD(pMap->seKey, key, nd)) {
            nd.x += m_rdstRec.dx;
            nd.y += m_rdstRec.dy;
            nd.z += m_rdstRec.dz;
        } else {
            ok = 0;
        }
    }
    return ok;
}

int CPVXSElemCtrl::CalcSuperElemLocalVector(double axes[3][3]) const {
    CArray<UINT, UINT> iKeys, jKeys;
    CArray<T_PNODE_D> iNodes, jNodes;
    if (!GetSuperElemEndNodes(iKeys, jKeys, &iNodes, &jNodes)) return 0;
    double ci[3] = {0, 0, 0}, cj[3] = {0, 0, 0};
    for (INT_PTR i = 0; i < iNodes.GetSize(); ++i) {
        ci[0] += iNodes[i].x / static_cast<double>(iNodes.GetSize());
        ci[1] += iNodes[i].y / static_cast<double>(iNodes.GetSize());
        ci[2] += iNodes[i].z / static_cast<double>(iNodes.GetSize());
    }
    for (INT_PTR i = 0; i < jNodes.GetSize(); ++i) {
        cj[0] += jNodes[i].x / static_cast<double>(jNodes.GetSize());
        cj[1] += jNodes[i].y / static_cast<double>(jNodes.GetSize());
        cj[2] += jNodes[i].z / static_cast<double>(jNodes.GetSize());
    }
    double frame[3][3];
    if (!CClassPElem::calcFrameLocalVector(ci, cj, 0.0, frame)) return 0;
    // The section axes of a super element: its y is the frame z, its z the frame y turned over.
    double z[3] = {frame[1][0], frame[1][1], frame[1][2]};
    CMathFunc::mathRotate(180.0, frame[0][0], frame[0][1], frame[0][2], z);
    for (int k = 0; k < 3; ++k) {
        axes[0][k] = frame[0][k];
        axes[1][k] = frame[2][k];
        axes[2][k] = z[k];
    }
    return 1;
}

int CPVXSElemCtrl::BuildSuperElemInfo(CSuperElemInfoMap& out, int bShrink, double dShrink,
                                      CDeformEngine* pEngine) const {
    out.RemoveAll();
    if (m_nElemKey == 0) return 0;
    CArray<UINT, UINT> elems;
    GetCurrentModelElemKeys(elems);

    // The shrink centre is the centre of the super element as drawn: on the deformed shape, of
    // its displaced nodes.
    C3DPoint centre;
    if (bShrink) {
        CArray<UINT, UINT> keys;
        CArray<T_PNODE_D> nodes;
        GetCurrentElemNodeList(keys, &nodes);
        for (INT_PTR i = 0; i < nodes.GetSize(); ++i)
            centre += DisplacedPoint(pEngine, i < keys.GetSize() ? keys[i] : 0, ToPoint(nodes[i]));
        if (nodes.GetSize() > 0) centre /= static_cast<double>(nodes.GetSize());
    }

    CArray<UINT, UINT> nodeKeys;
    CArray<T_PNODE_D> nodes;
    for (INT_PTR e = 0; e < elems.GetSize(); ++e) {
        nodeKeys.RemoveAll();
        nodes.RemoveAll();
        int bSuper = 0;
        if (!GetSuperElemShapeNodes(elems[e], nodeKeys, &nodes, &bSuper) || nodeKeys.GetSize() == 0) continue;
        CSuperElemInfo info;
        info.m_arrNodeKey.Copy(nodeKeys);
        info.m_arrNode.Copy(nodes);
        info.m_ptCentre = centre;
        for (INT_PTR i = 0; i < nodes.GetSize(); ++i) {
            C3DPoint p = ToPoint(nodes[i]);
            if (pEngine) p = DisplacedPoint(pEngine, nodeKeys[i], p);
            info.m_arrPos.Add(p);
        }
        const UINT seElem = m_bSuper ? m_mapRec.GetSuperPElemK(elems[e]) : 0;
        out[seElem ? seElem : elems[e]] = info;
    }

    if (bShrink) {
        const double f = dShrink > 1.0 ? 1.0 : (dShrink < 0.01 ? 0.01 : dShrink);
        UINT k;
        CSuperElemInfo info;
        for (POSITION pos = out.GetStartPosition(); pos;) {
            out.GetNextAssoc(pos, k, info);
            CSuperElemInfo& stored = out[k];
            for (INT_PTR i = 0; i < stored.m_arrPos.GetSize(); ++i)
                stored.m_arrPos[i] = stored.m_arrPos[i] * f + centre * (1.0 - f);
        }
    }
    return 1;
}

int CPVXSElemCtrl::BuildSuperNodeInfo(CSuperElemInfoMap& out, CDeformEngine* pEngine) const {
    out.RemoveAll();
    CArray<UINT, UINT> keys;
    CArray<T_PNODE_D> nodes;
    if (!GetCurrentElemNodeList(keys, &nodes)) return 0;
    if (keys.GetSize() == 0 || keys.GetSize() != nodes.GetSize()) return 0;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        CSuperElemInfo info;
        C3DPoint p = ToPoint(nodes[i]);
        if (pEngine) p = DisplacedPoint(pEngine, keys[i], p);
        info.m_arrPos.Add(p);
        info.m_arrNodeKey.Add(keys[i]);
        info.m_arrNode.Add(nodes[i]);
        info.m_bModelNode = m_bSuper ? IsModelNodeOfSElem(m_sElemRec, m_mapRec.GetSuperPNodeK(keys[i])) : 1;
        out[keys[i]] = info;
    }
    return 1;
}

int CPVXSElemCtrl::IsModelNodeOfSElem(const T_PSELEM_D& sElem, UINT superKey) const {
    UINT v;
    return superKey != 0 && sElem.mapModelNode.Lookup(superKey, v) ? 1 : 0;
}

UINT CPVXSElemCtrl::ReportedNodeKey(const T_PSEMAP_D& map, UINT superKey) const {
    const UINT model = map.GetModelPNodeK(superKey);
    return model ? model : superKey;
}

int CPVXSElemCtrl::ReadCurrentSuperNodes(const CArray<UINT, UINT>& superKeys, CArray<T_PNODE_D>& nodes) const {
    nodes.RemoveAll();
    return ReadSuperNodeRecords(&m_mapRec, &m_sElemRec, superKeys, nodes);
}
