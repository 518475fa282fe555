#include "module/model/CPVXGeomCtrl.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "module/engines/CDeformEngine.h"
#include "host/db/CDBDoc.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/I_PVXModel.h"
#include "platform/afx/WorkCrew.h"

CPVXGeomCtrl::CPVXGeomCtrl(I_PVXModel* pModel)
    : m_pModel(nullptr), m_pDBDoc(nullptr), m_pMDBCtrl(nullptr) {
    if (pModel) m_pModel = pModel;
    ConnectToPostDB();
}

CPVXGeomCtrl::~CPVXGeomCtrl() = default;

int CPVXGeomCtrl::ConnectToPostDB() {
    m_pDBDoc = CDBDoc::m_pDBDoc;
    m_pMDBCtrl = m_pDBDoc ? m_pDBDoc->GetMDBCtrl() : nullptr;
    CDataBase* pPost = PostDB();
    m_PNode.ConnectToDB(pPost);
    m_PElem.ConnectToDB(pPost);
    m_PMemb.ConnectToDB(pPost);
    m_PSemap.ConnectToDB(pPost);
    return pPost != nullptr;
}

CDataBase* CPVXGeomCtrl::PostDB() const { return m_pMDBCtrl ? m_pMDBCtrl->GetDBPost() : nullptr; }

int CPVXGeomCtrl::CalcPlaneLocalVector(UINT elemKey, double axes[3][3]) {
    if (!m_pDBDoc) return 0;
    return m_pDBDoc->GetGeomCtrl()->CalcPlaneLocalVector(PostDB(), elemKey, axes);
}

int CPVXGeomCtrl::CalcPlaneLocalVectorByType(int n, const double pts[][3], double axes[3][3]) {
    CGeomCtrl geom;
    return geom.CalcPlaneLocalVector(n, pts, axes);
}

int CPVXGeomCtrl::CalcFrameLocalVector(const double pi[3], const double pj[3], double beta, double axes[3][3]) {
    CGeomCtrl geom;
    return geom.CalcFrameLocalVector(pi, pj, beta, axes, 0);
}

BOOL CPVXGeomCtrl::IsVisibleFace(int n, const double pts[][3]) {
    // Retained OpenGL geometry is culled by the renderer itself.
    I_PVXCtrl* pCtrl = m_pModel ? m_pModel->m_pPVXCtrl : nullptr;
    if (pCtrl && pCtrl->IsGLRenderer() && pCtrl->IsXGRMode()) return TRUE;
    CGeomCtrl geom;
    return geom.IsVisibleFace(n, pts);
}

void CPVXGeomCtrl::FillFaceKeys(CArray<UINT, UINT>* pFaceKeys, int nFaces, UINT key) {
    if (!pFaceKeys) return;
    pFaceKeys->SetSize(nFaces > 0 ? nFaces : 0);
    for (int i = 0; i < nFaces; ++i) pFaceKeys->SetAt(i, key);
}

int CPVXGeomCtrl::MakeShapeElementKeyed(UINT key, int cullOpt, int wirePlane, int deformed, int& nFaces,
                                        CArray<int, int>* pCounts, CArray<int, int>* pIndex,
                                        CArray<int, int>* pIndex2, CArray<double, double>* pCoords, int bShrink,
                                        double dShrink, CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys,
                                        int bWireFrame, CArray<T_DISP_D>* pNodeDisp,
                                        CArray<UINT, UINT>* pFaceKeys) {
    nFaces = 0;
    if (m_pDBDoc)
        m_pDBDoc->GetGeomCtrl()->MakeShapeElement(PostDB(), key, cullOpt, wirePlane, deformed, nFaces, pCounts, pIndex,
                                                  pIndex2, pCoords, bShrink, dShrink, pEndDisp, pNodeKeys, bWireFrame,
                                                  pNodeDisp, 0);
    FillFaceKeys(pFaceKeys, nFaces, key);
    return 1;
}

int CPVXGeomCtrl::MakeElemShape(UINT key, int cullOpt, int wirePlane, int deformed, int& nFaces,
                                CArray<int, int>* pCounts, CArray<int, int>* pIndex, CArray<int, int>* pIndex2,
                                CArray<double, double>* pCoords, int bShrink, double dShrink,
                                CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys, int bWireFrame,
                                CArray<T_DISP_D>* pNodeDisp, T_PELEM_D& elem, CArray<UINT, UINT>* pFaceKeys,
                                int bSkipSuper, int bHostNodeList) {
    nFaces = 0;
    if (!bSkipSuper && CPVXSElemCtrl::IsSuperElem(elem))
        return MakeSuperElemShape(key, cullOpt, wirePlane, deformed, nFaces, pCounts, pIndex, pIndex2, pCoords,
                                  bShrink, dShrink, pEndDisp, pNodeKeys, bWireFrame, pNodeDisp, elem, pFaceKeys,
                                  bSkipSuper, bHostNodeList);

    if (m_pDBDoc) {
        CGeomCtrl* pGeom = m_pDBDoc->GetGeomCtrl();
        pGeom->MakeShapeElement(PostDB(), key, cullOpt, wirePlane, deformed, nFaces, pCounts, pIndex, pIndex2, pCoords,
                                bShrink, dShrink, pEndDisp, pNodeKeys, bWireFrame, pNodeDisp, 0);
        // The member's vertical offset applies to all its elements. Read in place: a copy of the
        // member record (with its element list) per element dominated large models.
        CDataBase* pDB = PostDB();
        const T_PMEMB_D* pMemb =
            pDB ? pDB->Table<DBT_PMEMB>().Find(m_PMemb.GetMembKeyByElemKey(key)) : nullptr;
        if (pCoords && pMemb) pGeom->makeAddZOffset(pDB, *pMemb, pCoords);
    }
    FillFaceKeys(pFaceKeys, nFaces, key);
    return 1;
}

int CPVXGeomCtrl::MakeMembShape(UINT key, int cullOpt, int wirePlane, int deformed, int& nFaces,
                                CArray<int, int>* pCounts, CArray<int, int>* pIndex, CArray<int, int>* pIndex2,
                                CArray<double, double>* pCoords, int bShrink, double dShrink,
                                CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys, int bWireFrame,
                                CArray<T_DISP_D>* pNodeDisp, T_PMEMB_D& memb, CArray<UINT, UINT>* pFaceKeys,
                                int bSkipSuper, int bHostNodeList) {
    nFaces = 0;
    if (!bSkipSuper) {
        T_PELEM_D first;
        if (memb.aElem.GetSize() == 0 || !m_PElem.Get(memb.aElem[0], first)) return 0;
        if (CPVXSElemCtrl::IsSuperElem(first))
            return MakeSuperMembShape(key, cullOpt, wirePlane, deformed, nFaces, pCounts, pIndex, pIndex2, pCoords,
                                      bShrink, dShrink, pEndDisp, pNodeKeys, bWireFrame, pNodeDisp, memb, pFaceKeys,
                                      bSkipSuper, bHostNodeList);
    }
    if (m_pDBDoc)
        m_pDBDoc->GetGeomCtrl()->MakeShapePMember(PostDB(), key, cullOpt, wirePlane, deformed, nFaces, pCounts, pIndex,
                                                  pIndex2, pCoords, bShrink, dShrink, pEndDisp, pNodeKeys, bWireFrame,
                                                  pNodeDisp, 0);
    FillFaceKeys(pFaceKeys, nFaces, key);
    return 1;
}

namespace {

// Elements per chunk of a member's elements, and the chunks that make helper threads worth it:
// for shapes, and for boxes, whose elements take so little that a raft of 100,000 plates is
// widened sooner by one thread than by eight.
constexpr size_t kChunk = 1024, kMinChunksShared = 4, kMinBoxChunksShared = 256;

int ElementNodes(CDataBase* pDB, UINT elemKey) {
    const T_PELEM_D* e = pDB->Table<DBT_PELEM>().Find(elemKey);
    return e ? std::clamp(e->nNode, 0, PELEM_MAX_NODE) : 0;
}

}  // namespace

int CPVXGeomCtrl::ForEachMembElemShape(UINT key, int cullOpt, int wirePlane, int deformed, int bShrink,
                                       double dShrink, CArray<T_DISP_D>* pEndDisp, int bWireFrame,
                                       CArray<T_DISP_D>* pNodeDisp, const ShapeRuns& runs) {
    CDataBase* pDB = PostDB();
    const T_PMEMB_D* m = m_pDBDoc && pDB ? pDB->Table<DBT_PMEMB>().Find(key) : nullptr;
    if (!m) return 1;
    // The elements in chunks, each made into arrays of its own (and prepared) by whichever thread
    // takes it first, and taken in order here.
    const size_t nElem = static_cast<size_t>(m->aElem.GetSize());
    const size_t nChunks = (nElem + kChunk - 1) / kChunk;
    std::vector<INT_PTR> dispAt(nChunks, 0);  // each chunk's first record in pNodeDisp
    if (pNodeDisp)
        for (size_t i = 0, at = 0; i < nElem; ++i) {
            if (i % kChunk == 0) dispAt[i / kChunk] = static_cast<INT_PTR>(at);
            at += static_cast<size_t>(ElementNodes(pDB, m->aElem[static_cast<INT_PTR>(i)]));
        }
    std::vector<ElementShapes> chunks(nChunks);
    if (runs.begin) runs.begin(nChunks);
    const auto make = [&](size_t c, const std::atomic<bool>& stop) {
        CArray<T_DISP_D> elemDisp;
        INT_PTR at = dispAt[c];
        for (size_t i = c * kChunk, end = std::min(nElem, i + kChunk); i < end && !stop.load(); ++i) {
            const UINT elemKey = m->aElem[static_cast<INT_PTR>(i)];
            CArray<T_DISP_D>* pDisp = CGeomCtrl::ElementNodeDisp(pNodeDisp, at, ElementNodes(pDB, elemKey), elemDisp);
            CGeomCtrl::AppendElementShape(pDB, elemKey, bShrink, dShrink, pEndDisp, bWireFrame, pDisp, chunks[c]);
        }
        if (runs.prepare && !stop.load()) runs.prepare(c, chunks[c]);
    };
    const auto take = [&](size_t c) {
        if (!runs.take(c, chunks[c])) return false;
        chunks[c] = ElementShapes();
        return true;
    };
    return ForChunks(nChunks, kMinChunksShared, make, take) ? 1 : 0;
}

void CPVXGeomCtrl::WidenMembElemBox(UINT key, int bShrink, double dShrink, int bWireFrame, double lo[3],
                                    double hi[3]) {
    CDataBase* pDB = PostDB();
    const T_PMEMB_D* m = m_pDBDoc && pDB ? pDB->Table<DBT_PMEMB>().Find(key) : nullptr;
    if (!m) return;
    CGeomCtrl* pGeom = m_pDBDoc->GetGeomCtrl();
    // Each chunk's box, widened from [lo, hi] as given; their union is the member's.
    const size_t nElem = static_cast<size_t>(m->aElem.GetSize());
    struct Box {
        double lo[3], hi[3];
    };
    std::vector<Box> boxes((nElem + kChunk - 1) / kChunk);
    const auto make = [&](size_t c, const std::atomic<bool>&) {
        Box& b = boxes[c];
        std::copy(lo, lo + 3, b.lo);
        std::copy(hi, hi + 3, b.hi);
        for (size_t i = c * kChunk, end = std::min(nElem, i + kChunk); i < end; ++i)
            pGeom->WidenElementBox(pDB, m->aElem[static_cast<INT_PTR>(i)], bShrink, dShrink, nullptr, bWireFrame, b.lo,
                                   b.hi);
    };
    ForChunks(boxes.size(), kMinBoxChunksShared, make, [&](size_t c) {
        for (int a = 0; a < 3; ++a) {
            lo[a] = std::min(lo[a], boxes[c].lo[a]);
            hi[a] = std::max(hi[a], boxes[c].hi[a]);
        }
        return true;
    });
}

namespace {

void ClearOutputs(int& nFaces, CArray<int, int>* pCounts, CArray<int, int>* pIndex, CArray<int, int>* pIndex2,
                  CArray<double, double>* pCoords, CArray<UINT, UINT>* pNodeKeys, CArray<UINT, UINT>* pFaceKeys) {
    nFaces = 0;
    if (pCounts) pCounts->RemoveAll();
    if (pIndex) pIndex->RemoveAll();
    if (pIndex2) pIndex2->RemoveAll();
    if (pCoords) pCoords->RemoveAll();
    if (pNodeKeys) pNodeKeys->RemoveAll();
    if (pFaceKeys) pFaceKeys->RemoveAll();
}

// One drawing displacement per node from the deformation engine.
void EngineDispForNodes(const CDeformEngine& engine, const CArray<UINT, UINT>& nodes, CArray<T_DISP_D>& disp) {
    disp.SetSize(nodes.GetSize());
    for (INT_PTR i = 0; i < nodes.GetSize(); ++i) {
        disp[i].Initialize();
        engine.MakeDispD4Drawing(nodes[i], disp[i]);
    }
}

// Appends one host shape to the caller's arrays. Vertex offsets into the coordinates are moved
// past the coordinates already there, so the joined arrays stay consistent.
void AppendShape(int nPart, const CArray<int, int>& counts, const CArray<int, int>& index,
                 const CArray<int, int>& index2, const CArray<double, double>& coords,
                 const CArray<UINT, UINT>& nodeKeys, UINT faceKey, int& nFaces, CArray<int, int>* pCounts,
                 CArray<int, int>* pIndex, CArray<int, int>* pIndex2, CArray<double, double>* pCoords,
                 CArray<UINT, UINT>* pNodeKeys, CArray<UINT, UINT>* pFaceKeys) {
    const int base = pCoords ? static_cast<int>(pCoords->GetSize()) : 0;
    // A super element appends the shapes of all its parts: keep the appends amortised linear.
    if (pCounts) GrowInProportion(*pCounts, counts.GetSize());
    if (pIndex) GrowInProportion(*pIndex, index.GetSize());
    if (pIndex2) GrowInProportion(*pIndex2, index2.GetSize());
    if (pCoords) GrowInProportion(*pCoords, coords.GetSize());
    if (pNodeKeys) GrowInProportion(*pNodeKeys, nodeKeys.GetSize());
    if (pFaceKeys) GrowInProportion(*pFaceKeys, nPart);
    if (pCounts) pCounts->Append(counts);
    if (pIndex)
        for (INT_PTR i = 0; i < index.GetSize(); ++i) pIndex->Add(index[i] + base);
    if (pIndex2) pIndex2->Append(index2);
    if (pCoords) pCoords->Append(coords);
    if (pNodeKeys) pNodeKeys->Append(nodeKeys);
    if (pFaceKeys)
        for (int i = 0; i < nPart; ++i) pFaceKeys->Add(faceKey);
    nFaces += nPart;
}

}  // namespace

int CPVXGeomCtrl::AppendSuperFaces(UINT elemKey, int cullOpt, int bDeformed, int& nFaces, CArray<int, int>* pCounts,
                                   CArray<int, int>* pIndex, CArray<int, int>* pIndex2,
                                   CArray<double, double>* pCoords, CArray<T_DISP_D>* pEndDisp,
                                   CArray<UINT, UINT>* pNodeKeys, int bWireFrame, CArray<T_DISP_D>* pNodeDisp,
                                   CArray<UINT, UINT>* pFaceKeys, int bHostNodeList) {
    if (!m_pDBDoc) return 0;
    CGeomCtrl* pGeom = m_pDBDoc->GetGeomCtrl();
    CPVXSElemCtrl se(PostDB());
    CArray<int, int> counts, index, index2;
    CArray<double, double> coords;
    CArray<UINT, UINT> nodeKeys;
    int nPart = 0;

    const CDeformEngine* pEngine = m_pModel && m_pModel->m_pDeformEngine && m_pModel->m_pDeformEngine->m_bDataReady
                                       ? m_pModel->m_pDeformEngine
                                       : nullptr;
    if ((cullOpt == 0 || bWireFrame == 0) && !bHostNodeList) {
        // Solid faces, one model element of the super element at a time; on the deformed shape
        // each with the drawing displacements of its own nodes.
        CArray<UINT, UINT> modelKeys;
        se.GetModelElemKeys(elemKey, modelKeys);
        CArray<T_DISP_D> elemDisp;
        for (INT_PTR i = 0; i < modelKeys.GetSize(); ++i) {
            nPart = 0;
            CArray<T_DISP_D>* pDisp = pNodeDisp;
            T_PELEM_D modelElem;
            if (bDeformed && pEngine && m_PElem.Get(modelKeys[i], modelElem)) {
                CArray<UINT, UINT> nodes;
                for (int k = 0; k < modelElem.nNode && k < PELEM_MAX_NODE; ++k) nodes.Add(modelElem.node[k]);
                EngineDispForNodes(*pEngine, nodes, elemDisp);
                pDisp = &elemDisp;
            }
            pGeom->GetSuperElementShape(modelKeys[i], nPart, &counts, &index, &index2, &coords, pDisp, &nodeKeys, 0);
            AppendShape(nPart, counts, index, index2, coords, nodeKeys, modelKeys[i], nFaces, pCounts, pIndex, pIndex2,
                        pCoords, pNodeKeys, pFaceKeys);
        }
        return 1;
    }

    // Wire frame of the whole super element; on the deformed shape every node of its list is
    // moved by the deformation engine's drawing displacement (or, while the engine has no data,
    // by the caller's displacements when there is one per listed node).
    const int nStyle = bHostNodeList ? 0 : (m_pModel && m_pModel->m_pDispOpt ? m_pModel->m_pDispOpt->m_nRenderStyle : 0);
    const CArray<UINT, UINT>* pList = nullptr;
    CArray<UINT, UINT> nodeList;
    CArray<T_DISP_D> engineDisp;
    const CArray<T_DISP_D>* pDisp = nullptr;
    if ((bDeformed || pNodeDisp || pEndDisp) && m_pModel && m_pModel->m_pDeformEngine) {
        if (bHostNodeList)
            pGeom->GetSuperElementWireFramePNodeList(nodeList);
        else
            se.GetSuperElemNodeList(elemKey, nodeList);
        if (pEngine) {
            EngineDispForNodes(*pEngine, nodeList, engineDisp);
            pDisp = &engineDisp;
        } else if (pNodeDisp && pNodeDisp->GetSize() == nodeList.GetSize()) {
            pDisp = pNodeDisp;
        }
        if (pDisp) pList = &nodeList;
    }
    pGeom->GetSuperElementWireFrameShape(nPart, &counts, &index, &index2, &coords, pList, pDisp, &nodeKeys, nStyle);
    AppendShape(nPart, counts, index, index2, coords, nodeKeys, elemKey, nFaces, pCounts, pIndex, pIndex2, pCoords,
                pNodeKeys, pFaceKeys);
    return 1;
}

int CPVXGeomCtrl::MakeSuperElemShape(UINT key, int cullOpt, int wirePlane, int deformed, int& nFaces,
                                     CArray<int, int>* pCounts, CArray<int, int>* pIndex, CArray<int, int>* pIndex2,
                                     CArray<double, double>* pCoords, int bShrink, double dShrink,
                                     CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys, int bWireFrame,
                                     CArray<T_DISP_D>* pNodeDisp, T_PELEM_D& elem, CArray<UINT, UINT>* pFaceKeys,
                                     int bSkipSuper, int bHostNodeList) {
    ClearOutputs(nFaces, pCounts, pIndex, pIndex2, pCoords, pNodeKeys, pFaceKeys);
    if (!m_pDBDoc) return 1;
    m_pDBDoc->GetGeomCtrl()->SetSuperElementShapeDirect(PostDB(), key, cullOpt, bShrink, dShrink);
    AppendSuperFaces(key, cullOpt, deformed, nFaces, pCounts, pIndex, pIndex2, pCoords, pEndDisp, pNodeKeys, bWireFrame,
                     pNodeDisp, pFaceKeys, bHostNodeList);
    return 1;
}

int CPVXGeomCtrl::MakeSuperMembShape(UINT key, int cullOpt, int wirePlane, int deformed, int& nFaces,
                                     CArray<int, int>* pCounts, CArray<int, int>* pIndex, CArray<int, int>* pIndex2,
                                     CArray<double, double>* pCoords, int bShrink, double dShrink,
                                     CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys, int bWireFrame,
                                     CArray<T_DISP_D>* pNodeDisp, T_PMEMB_D& memb, CArray<UINT, UINT>* pFaceKeys,
                                     int bSkipSuper, int bHostNodeList) {
    ClearOutputs(nFaces, pCounts, pIndex, pIndex2, pCoords, pNodeKeys, pFaceKeys);
    T_PELEM_D first;
    first.Initialize();
    if (memb.aElem.GetSize() > 0 && !m_PElem.Get(memb.aElem[0], first)) return 0;

    const bool super = memb.aElem.GetSize() > 0 && CPVXSElemCtrl::IsSuperElem(first) && m_PSemap.Exist(memb.aElem[0]);
    if (!super || !m_pDBDoc) {
        if (m_pDBDoc)
            m_pDBDoc->GetGeomCtrl()->MakeShapePMember(PostDB(), key, cullOpt, wirePlane, deformed, nFaces, pCounts,
                                                      pIndex, pIndex2, pCoords, bShrink, dShrink, pEndDisp, pNodeKeys,
                                                      bWireFrame, pNodeDisp, 0);
        FillFaceKeys(pFaceKeys, nFaces, key);
        return 1;
    }
    CGeomCtrl* pGeom = m_pDBDoc->GetGeomCtrl();
    pGeom->SetSuperPMemberShape(PostDB(), key, cullOpt, bShrink, dShrink);
    for (INT_PTR i = 0; i < memb.aElem.GetSize(); ++i) {
        // Each element of the member is shaped as its own super element.
        pGeom->SetSuperElementShapeDirect(PostDB(), memb.aElem[i], cullOpt, bShrink, dShrink);
        AppendSuperFaces(memb.aElem[i], cullOpt, deformed, nFaces, pCounts, pIndex, pIndex2, pCoords, pEndDisp, pNodeKeys,
                         bWireFrame, pNodeDisp, pFaceKeys, bHostNodeList);
    }
    return 1;
}
