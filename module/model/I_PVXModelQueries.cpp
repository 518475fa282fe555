// Render-engine queries of the result model: the graphics control keeps no geometry of its own
// for the model, so it asks here for shapes, node and label positions, displacements, the load
// combination and super-element data. Types are the control's: the object-id (node-id) minimum
// names the undeformed model, minimum + 1 the deformed one, answered from the deformation engine
// when it holds data and with the undeformed geometry otherwise.
#include <cmath>
#include <memory>

#include "module/engines/CDeformEngine.h"
#include "host/base/GeomTypes.h"
#include "host/db/CDBDoc.h"
#include "host/db/CGeomCtrl.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXDataCtrls.h"
#include "platform/afx/CMap.h"

namespace {

CDeformEngine* EngineWithData(const I_PVXModel& m) {
    return m.m_pDeformEngine && m.m_pDeformEngine->m_bDataReady ? m.m_pDeformEngine : nullptr;
}

// How far the deformation engine draws a node from its position (the components it shows,
// scaled for drawing).
C3DPoint DrawnOffset(const CDeformEngine& e, UINT key) { return e.GetDisplacedPoint(key, C3DPoint(0.0, 0.0, 0.0)); }

// Node keys of all elements of a member without repeats, in the order of a key map of hash
// size 10 (the order the control has always been given).
void DistinctElemNodes(const I_PVXModel& m, const T_PMEMB_D& memb, CArray<UINT, UINT>& out) {
    out.RemoveAll();
    CMap<UINT, UINT, int, int> seen;
    seen.InitHashTable(10);
    for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
        T_PELEM_D elem;
        if (!m.m_pAttrCtrl->GetElem(memb.aElem[e], elem)) continue;
        for (int i = 0; i < elem.nNode && i < PELEM_MAX_NODE; ++i) seen[elem.node[i]] = 1;
    }
    for (POSITION pos = seen.GetStartPosition(); pos;) {
        UINT k;
        int v;
        seen.GetNextAssoc(pos, k, v);
        out.Add(k);
    }
}

// Display options changed for one shape request and put back on every exit.
class OptionScope {
public:
    explicit OptionScope(T_PVX_DOPT_D* p) : m_p(p) {
        if (m_p) m_saved = *m_p;
    }
    ~OptionScope() {
        if (!m_p) return;
        m_p->m_bWireFrame = m_saved.m_bWireFrame;
        m_p->m_bShrink = m_saved.m_bShrink;
        m_p->m_bLineCulling = m_saved.m_bLineCulling;
        m_p->m_bPlaneCulling = m_saved.m_bPlaneCulling;
        m_p->m_dShrinkFactor = m_saved.m_dShrinkFactor;
    }
    OptionScope(const OptionScope&) = delete;
    OptionScope& operator=(const OptionScope&) = delete;
    const T_PVX_DOPT_D& Saved() const { return m_saved; }

private:
    T_PVX_DOPT_D* m_p;
    T_PVX_DOPT_D m_saved;
};

// Shape of a member as the undeformed or deformed object type asks; 0 for another type or a
// missing member.
int BuildMemberShape(I_PVXModel& m, int rel, UINT key, PVXPolyListArray& faces, PVXIndexArrayList* pFlags) {
    if ((rel != 0 && rel != 1) || !m.m_pAttrCtrl) return 0;
    T_PMEMB_D memb;
    if (!m.m_pAttrCtrl->GetMemb(key, memb)) return 0;
    if (rel == 1) {
        if (CDeformEngine* pEngine = EngineWithData(m)) {
            T_SHAPE_ARGUMENT arg;
            pEngine->GetDeformedShapeMember(key, faces, pFlags, arg, 0, 0);
            return 1;
        }
    }
    T_SHAPE_ARGUMENT arg;
    arg.bDeformed = rel;
    m.GetShapeMember(key, memb, faces, pFlags, arg, 1, 1);
    return 1;
}

void AppendFirstFace(const PVXPolyListArray& faces, CArray<C3DPoint>& points) {
    if (faces.GetSize() == 0 || !faces[0]) return;
    for (POSITION pos = faces[0]->GetHeadPosition(); pos;) points.Add(faces[0]->GetNext(pos));
}

// Shrinks points toward their centroid with the host geometry controller.
void ShrinkPoints(double factor, CArray<C3DPoint>& pts) {
    const INT_PTR n = pts.GetSize();
    if (n == 0) return;
    CArray<double, double> flat;
    flat.SetSize(3 * n);
    for (INT_PTR i = 0; i < n; ++i) {
        flat[3 * i] = pts[i].x;
        flat[3 * i + 1] = pts[i].y;
        flat[3 * i + 2] = pts[i].z;
    }
    CGeomCtrl geom;
    geom.MakeShrink(factor, static_cast<int>(n), reinterpret_cast<double(*)[3]>(flat.GetData()), 1);
    for (INT_PTR i = 0; i < n; ++i) pts[i] = C3DPoint(flat[3 * i], flat[3 * i + 1], flat[3 * i + 2]);
}

// Columns keep their full length; other members are pulled in a hair so that their node points
// do not coincide with the neighbours'.
double ShrinkScale(int membType) { return membType == 101 ? 1.0 : 0.9995; }

void AppendXYZ(CArray<double, double>& out, const C3DPoint& p) {
    out.Add(p.x);
    out.Add(p.y);
    out.Add(p.z);
}

}  // namespace

// ---- shapes -----------------------------------------------------------------------------------------

int I_PVXModel::RE_GetSubPolyList(int, UINT, void*) { return 0; }

int I_PVXModel::RE_GetPVXShapeMember(int nType, UINT nKey, void* pFaces, void* pFlags) {
    auto* faces = static_cast<PolyListArray*>(pFaces);
    if (!faces) return 0;
    if (IsModeOnlyWireFrame() && m_pDispOpt) m_pDispOpt->m_bWireFrame = 1;
    return BuildMemberShape(*this, nType - m_nObjectIDFirst, nKey, *faces, static_cast<IndexArrayList*>(pFlags));
}

int I_PVXModel::RE_GetPVXShapeFrameMember(int nType, UINT nKey, void* pPoints) {
    auto* points = static_cast<CArray<C3DPoint>*>(pPoints);
    if (!points) return 0;
    OptionScope scope(m_pDispOpt);
    if (m_pDispOpt) {
        m_pDispOpt->m_bWireFrame = 1;
        m_pDispOpt->m_bLineCulling = 0;
    }
    PolyListArray faces;
    IndexArrayList flags;
    const int nDone = BuildMemberShape(*this, nType - m_nObjectIDFirst, nKey, faces, &flags);
    AppendFirstFace(faces, *points);
    FreeMemoryPolyList(&faces, &flags, nullptr, nullptr);
    return nDone;
}

void I_PVXModel::GetPVXShapeMemberElementForSelUnsel(PolyListArray& faces, double f) {
    if (f > 1.0) return;
    if (f < 0.01) f = 0.01;
    C3DPoint c(0.0, 0.0, 0.0);
    int n = 0;
    for (INT_PTR i = 0; i < faces.GetSize(); ++i) {
        if (!faces[i]) continue;
        for (POSITION pos = faces[i]->GetHeadPosition(); pos; ++n) {
            const C3DPoint& p = faces[i]->GetNext(pos);
            c.x += p.x;
            c.y += p.y;
            c.z += p.z;
        }
    }
    if (n == 0) return;
    c.x /= n;
    c.y /= n;
    c.z /= n;
    for (INT_PTR i = 0; i < faces.GetSize(); ++i) {
        if (!faces[i]) continue;
        for (POSITION pos = faces[i]->GetHeadPosition(); pos;) {
            C3DPoint& p = faces[i]->GetNext(pos);
            p = C3DPoint(f * p.x + (1.0 - f) * c.x, f * p.y + (1.0 - f) * c.y, f * p.z + (1.0 - f) * c.z);
        }
    }
}

int I_PVXModel::RE_GetPVXShapeMemberForSelUnsel(int nType, UINT nKey, void* pFaces, void* pFlags, int bWire,
                                                int bShrink, int, double dShrink) {
    auto* faces = static_cast<PolyListArray*>(pFaces);
    if (!faces || !m_pAttrCtrl || !m_pDispOpt) return 0;
    T_PMEMB_D memb;
    if (!m_pAttrCtrl->GetMemb(nKey, memb)) return 0;
    OptionScope scope(m_pDispOpt);
    const double s = scope.Saved().m_dShrinkFactor;
    // Shrinking is the selection scaling's job when the display itself does not shrink.
    if (!scope.Saved().m_bShrink) m_pDispOpt->m_dShrinkFactor = 1.0;
    m_pDispOpt->m_bWireFrame = bWire;
    m_pDispOpt->m_bLineCulling = bWire;
    m_pDispOpt->m_bPlaneCulling = bWire;
    m_pDispOpt->m_bShrink = bShrink;
    // Diagram displays show the model as lines only; a selection there is outlined the same way.
    if (IsModeOnlyWireFrame()) m_pDispOpt->m_bWireFrame = 1;
    const int nDone = BuildMemberShape(*this, nType - m_nObjectIDFirst, nKey, *faces,
                                       static_cast<IndexArrayList*>(pFlags));
    GetPVXShapeMemberElementForSelUnsel(*faces, 1.0 - std::fabs(s - dShrink));
    return nDone;
}

int I_PVXModel::RE_GetPVXShapeFrameMemberForSelUnsel(int nType, UINT nKey, void* pPoints, int bWire, int bShrink,
                                                     int nOption, double dShrink) {
    auto* points = static_cast<CArray<C3DPoint>*>(pPoints);
    if (!points) return 0;
    PolyListArray faces;
    IndexArrayList flags;
    const int nDone = RE_GetPVXShapeMemberForSelUnsel(nType, nKey, &faces, &flags, bWire, bShrink, nOption, dShrink);
    AppendFirstFace(faces, *points);
    FreeMemoryPolyList(&faces, &flags, nullptr, nullptr);
    return nDone;
}

int I_PVXModel::RE_GetPVXShapeElement(int nType, UINT nKey, void* pFaces, void* pFlags) {
    return RE_GetPVXShapeMember(nType, nKey, pFaces, pFlags);
}

int I_PVXModel::RE_GetPVXShapeFrameElement(int nType, UINT nKey, void* pPoints) {
    return RE_GetPVXShapeFrameMember(nType, nKey, pPoints);
}

int I_PVXModel::RE_GetPVXShapeElementForSelUnsel(int nType, UINT nKey, void* pFaces, void* pFlags, int bWire,
                                                 int bShrink, int nOption, double dShrink) {
    return RE_GetPVXShapeMemberForSelUnsel(nType, nKey, pFaces, pFlags, bWire, bShrink, nOption, dShrink);
}

int I_PVXModel::RE_GetPVXShapeFrameElementForSelUnsel(int nType, UINT nKey, void* pPoints, int bWire, int bShrink,
                                                      int nOption, double dShrink) {
    return RE_GetPVXShapeFrameMemberForSelUnsel(nType, nKey, pPoints, bWire, bShrink, nOption, dShrink);
}

int I_PVXModel::RE_XGR_GetPVXShapeElement(int nType, UINT nKey, void* pFaces, int bWire, int bShrink, int nOption,
                                          double dShrink) {
    return RE_GetPVXShapeElementForSelUnsel(nType, nKey, pFaces, nullptr, bWire, bShrink, nOption, dShrink);
}

// ---- node and label positions -------------------------------------------------------------------------

int I_PVXModel::RE_GetPVXNodePos(int nNodeType, UINT nKey, void* pPoint) {
    auto* pt = static_cast<C3DPoint*>(pPoint);
    if (!pt || !m_pAttrCtrl) return 0;
    T_PNODE_D nd;
    if (!m_pAttrCtrl->GetNode(nKey, nd)) return 0;
    C3DPoint p(nd.x, nd.y, nd.z);
    CDeformEngine* pEngine = EngineWithData(*this);
    if (nNodeType == m_nNodeIDFirst + 1 && pEngine) {
        p = pEngine->GetDisplacedPoint(nKey, p);
    }
    *pt = p;
    return 1;
}

int I_PVXModel::RE_GetLabelPosNode(int nNodeType, UINT nKey, void* pPoint) {
    const int rel = nNodeType - m_nNodeIDFirst;
    if (rel != 0 && rel != 1) return 0;
    return RE_GetPVXNodePos(nNodeType, nKey, pPoint);
}

int I_PVXModel::RE_GetLabelPosNodeByKey(UINT nKey, void* pPoint) {
    const int t = GetPVXType();
    return RE_GetPVXNodePos(m_nNodeIDFirst + ((t == 1 || t == -1) ? 1 : 0), nKey, pPoint);
}

int I_PVXModel::RE_GetLabelPosElemByKey(UINT nKey, void* pPoints) {
    const int t = GetPVXType();
    return RE_GetLabelPosElem(m_nObjectIDFirst + ((t == 1 || t == -1) ? 1 : 0), nKey, pPoints);
}

int I_PVXModel::RE_GetLabelPosElem(int nType, UINT nKey, void* pPoints) { return RE_GetLabelPosMemb(nType, nKey, pPoints); }

int I_PVXModel::RE_GetLabelPosMemb(int nType, UINT nKey, void* pPoints) {
    auto* points = static_cast<CArray<C3DPoint>*>(pPoints);
    if (!points || !m_pAttrCtrl) return 0;
    T_PMEMB_D memb;
    if (!m_pAttrCtrl->GetMemb(nKey, memb)) return 0;
    CArray<UINT, UINT> nodes;
    DistinctElemNodes(*this, memb, nodes);
    if (m_pDispOpt && m_pDispOpt->m_bShrink) return GetMemberPos(nKey, nType, nodes, *points);

    const int rel = nType - m_nObjectIDFirst;
    if (rel != 0 && rel != 1) return 0;
    C3DPoint sum(0.0, 0.0, 0.0);
    int n = 0;
    for (INT_PTR i = 0; i < nodes.GetSize(); ++i) {
        C3DPoint p;
        if (!RE_GetPVXNodePos(m_nNodeIDFirst + rel, nodes[i], &p)) continue;
        sum = C3DPoint(sum.x + p.x, sum.y + p.y, sum.z + p.z);
        ++n;
    }
    if (n == 0) return 0;  // no node to put a label at
    points->Add(C3DPoint(sum.x / n, sum.y / n, sum.z / n));
    return 1;
}

namespace {

// Shared steps of the two shrunk label-point workers: the node positions of the listed nodes
// shrunk toward the member, two points for two nodes, their mean otherwise.
int ShrunkLabelPoints(I_PVXModel& m, UINT membKey, int nType, T_PMEMB_D& memb, T_PELEM_D& elem,
                      const CArray<UINT, UINT>& nodes, CArray<C3DPoint>& points) {
    const int rel = nType - m.m_nObjectIDFirst;
    if (nodes.GetSize() == 0) return 0;
    CPVXMembCtrl mc;
    UINT first = 0, last = 0;
    if (!mc.GetMembEndNodeKeys(membKey, first, last)) return 0;
    // On the deformed shape the shrink centre moves with the two end nodes.
    CArray<T_DISP_D> endDisp;
    CDeformEngine* pEngine = EngineWithData(m);
    if (rel == 1 && pEngine) {
        for (UINT k : {first, last}) {
            T_DISP_D drawn;
            drawn.Initialize();
            pEngine->MakeDispD4Drawing(k, drawn);
            endDisp.Add(drawn);
        }
    }
    const int nodeType = nType - m.m_nObjectIDFirst + m.m_nNodeIDFirst;
    const INT_PTR n = nodes.GetSize();
    CArray<double, double> flat;
    flat.SetSize(3 * n);
    for (INT_PTR i = 0; i < n; ++i) {
        C3DPoint p(0.0, 0.0, 0.0);
        m.RE_GetPVXNodePos(nodeType, nodes[i], &p);
        flat[3 * i] = p.x;
        flat[3 * i + 1] = p.y;
        flat[3 * i + 2] = p.z;
    }
    const double f = m.m_pDispOpt ? m.m_pDispOpt->m_dShrinkFactor : 1.0;
    mc.ShrinkMembPoints(memb, elem, f, static_cast<int>(n), reinterpret_cast<double(*)[3]>(flat.GetData()),
                        endDisp.GetSize() == 2 ? &endDisp : nullptr);
    if (n == 2) {
        points.Add(C3DPoint(flat[0], flat[1], flat[2]));
        points.Add(C3DPoint(flat[3], flat[4], flat[5]));
        return 1;
    }
    C3DPoint c(0.0, 0.0, 0.0);
    for (INT_PTR i = 0; i < n; ++i) c = C3DPoint(c.x + flat[3 * i], c.y + flat[3 * i + 1], c.z + flat[3 * i + 2]);
    points.Add(C3DPoint(c.x / n, c.y / n, c.z / n));
    return 1;
}

}  // namespace

int I_PVXModel::GetMemberPos(UINT nKey, int nType, CArray<UINT, UINT>& nodes, CArray<C3DPoint>& points) {
    if (!m_pAttrCtrl) return 0;
    T_PMEMB_D memb;
    if (!m_pAttrCtrl->GetMemb(nKey, memb) || memb.aNode.GetSize() == 0) return 0;
    T_PELEM_D elem;
    elem.Initialize();
    if (memb.aElem.GetSize() > 0) m_pAttrCtrl->GetElem(memb.aElem[0], elem);
    return ShrunkLabelPoints(*this, nKey, nType, memb, elem, nodes, points);
}

int I_PVXModel::GetMemberElemPos(UINT nMembKey, int nType, UINT, T_PELEM_D& elem, CArray<C3DPoint>& points) {
    if (!m_pAttrCtrl) return 0;
    T_PMEMB_D memb;
    if (!m_pAttrCtrl->GetMemb(nMembKey, memb) || memb.aNode.GetSize() == 0) return 0;
    CArray<UINT, UINT> nodes;
    for (int i = 0; i < elem.nNode && i < PELEM_MAX_NODE; ++i) nodes.Add(elem.node[i]);
    return ShrunkLabelPoints(*this, nMembKey, nType, memb, elem, nodes, points);
}

int I_PVXModel::RE_GetElemCenter(int nType, UINT nKey, void* pPoint) {
    auto* pt = static_cast<C3DPoint*>(pPoint);
    if (!pt) return 0;
    CArray<C3DPoint> points;
    RE_GetLabelPosElem(nType, nKey, &points);
    if (points.GetSize() == 0) return 0;
    C3DPoint c(0.0, 0.0, 0.0);
    for (INT_PTR i = 0; i < points.GetSize(); ++i) c = C3DPoint(c.x + points[i].x, c.y + points[i].y, c.z + points[i].z);
    const double n = static_cast<double>(points.GetSize());
    *pt = C3DPoint(c.x / n, c.y / n, c.z / n);
    return 1;
}

// ---- displacements and the load -------------------------------------------------------------------------

int I_PVXModel::RE_GetNodeDispData(UINT nKey, void* pDisp) {
    auto* disp = static_cast<T_DISP_D*>(pDisp);
    if (!disp) return 0;
    disp->Initialize();
    int nNodeType = 0, nObjType = 0;
    RE_GetNode_ElemTypeByCDBDocSelection(nNodeType, nObjType);
    CDeformEngine* pEngine = EngineWithData(*this);
    if (nNodeType != m_nNodeIDFirst + 1 || !pEngine) return 0;
    T_DISP_D d;
    if (!pEngine->GetDispData(nKey, d)) return 0;
    const C3DPoint off = DrawnOffset(*pEngine, nKey);
    disp->DX = off.x;
    disp->DY = off.y;
    disp->DZ = off.z;
    return 1;
}

int I_PVXModel::RE_GetMembDispData(UINT nKey, void* pOut) {
    auto* out = static_cast<CArray<T_DISP_D>*>(pOut);
    if (!out || !m_pAttrCtrl) return 0;
    T_PMEMB_D memb;
    if (!m_pAttrCtrl->GetMemb(nKey, memb)) return 0;
    CArray<UINT, UINT> nodes;
    DistinctElemNodes(*this, memb, nodes);
    for (INT_PTR i = 0; i < nodes.GetSize(); ++i) {
        T_DISP_D d;
        d.Initialize();
        if (m_pDeformEngine) {
            m_pDeformEngine->GetDispData(nodes[i], d);
            const double s = m_pDeformEngine->GetScale();
            d.DX *= s;
            d.DY *= s;
            d.DZ *= s;
            d.RX *= s;
            d.RY *= s;
            d.RZ *= s;
        }
        out->Add(d);
    }
    return 1;
}

int I_PVXModel::RE_GetElemDispData(UINT nKey, void* pDisp) { return RE_GetMembDispData(nKey, pDisp); }

int I_PVXModel::RE_GetLoadCombination(void* pLoadComb) {
    auto* rec = static_cast<T_PLCOM_D*>(pLoadComb);
    if (!rec) return 0;
    // Mode shapes have no load combination.
    if (GetBarResultId() == PVXResult::kModeShape) return 0;
    CDBDoc* pDoc = GetDBDoc();
    if (!pDoc) return 0;
    return pDoc->GetPostCtrl()->MakeLoadComb(m_nLoadType, m_nLoadKey, *rec) ? TRUE : FALSE;
}

int I_PVXModel::RE_GetPlateNomalSumData(int, CArray<UINT, UINT>&, void*, void*) { return 0; }

double I_PVXModel::RE_GetNormalSumTol() { return 0.0; }

// ---- super elements ----------------------------------------------------------------------------------

namespace {

// The engine whose displacements move the super element's nodes: only for the model's own
// database, and only when the selection is of nodes of this control.
CDeformEngine* SuperElemEngine(I_PVXModel& m, void* pContext) {
    if (pContext) return nullptr;
    int nNodeType = 0, nObjType = 0;
    m.RE_GetNode_ElemTypeByCDBDocSelection(nNodeType, nObjType);
    return nNodeType == m.m_nNodeIDFirst + 1 ? EngineWithData(m) : nullptr;
}

// A super-element reader of the given database (else the model's own) set on an element.
std::unique_ptr<CPVXSElemCtrl> SuperElemCtrl(UINT nKey, void* pContext) {
    auto pCtrl = pContext ? std::make_unique<CPVXSElemCtrl>(static_cast<CDataBase*>(pContext))
                          : std::make_unique<CPVXSElemCtrl>();
    pCtrl->GetSuperElemData(nKey);
    return pCtrl;
}

}  // namespace

int I_PVXModel::RE_GetSuperElemInfo(UINT nKey, void* pOut, void* pContext) {
    auto* out = static_cast<CSuperElemInfoMap*>(pOut);
    if (!out) return 0;
    int bShrink = 0;
    double dShrink = 1.0;
    if (pContext) {
        // Asked for another database: the control's own view state, no deformation.
        if (m_pPVXCtrl) {
            int wire = 0, undeformedWire = 0, hidden = 0, culling = 0;
            m_pPVXCtrl->GetREViewState(wire, undeformedWire, hidden, bShrink, dShrink, culling);
        }
    } else if (m_pDispOpt) {
        bShrink = m_pDispOpt->m_bShrink;
        dShrink = m_pDispOpt->m_dShrinkFactor;
    }
    CDeformEngine* pEngine = SuperElemEngine(*this, pContext);
    auto pCtrl = SuperElemCtrl(nKey, pContext);
    pCtrl->BuildSuperElemInfo(*out, bShrink, dShrink, pEngine);
    pCtrl->InitSuperElemRecords();
    return 1;
}

int I_PVXModel::RE_GetSuperNodeInfo(UINT nKey, void* pOut, void* pContext) {
    auto* out = static_cast<CSuperElemInfoMap*>(pOut);
    if (!out) return 0;
    CDeformEngine* pEngine = SuperElemEngine(*this, pContext);
    auto pCtrl = SuperElemCtrl(nKey, pContext);
    pCtrl->BuildSuperNodeInfo(*out, pEngine);
    pCtrl->InitSuperElemRecords();
    return 1;
}

// ---- node coordinates for the control's labels ------------------------------------------------------------

int I_PVXModel::RE_GetElemNodePoses(int nType, UINT nKey, CArray<double, double>& poses) {
    if (!m_pAttrCtrl) return 0;
    T_PELEM_D elem;
    if (!m_pAttrCtrl->GetElem(nKey, elem)) return 0;
    const int nodeType = nType == m_nObjectIDFirst ? m_nNodeIDFirst : m_nNodeIDFirst + 1;
    for (int i = 0; i < elem.nNode && i < PELEM_MAX_NODE; ++i) {
        C3DPoint p(0.0, 0.0, 0.0);
        RE_GetLabelPosNode(nodeType, elem.node[i], &p);
        AppendXYZ(poses, p);
    }
    return 1;
}

int I_PVXModel::RE_GetMembNodePosesFrame(int nType, UINT nKey, CArray<double, double>& poses) {
    if (!m_pAttrCtrl) return 0;
    T_PMEMB_D memb;
    if (!m_pAttrCtrl->GetMemb(nKey, memb) || memb.aNode.GetSize() == 0) return 0;
    const int nodeType = nType == m_nObjectIDFirst ? m_nNodeIDFirst : m_nNodeIDFirst + 1;
    CArray<C3DPoint> pts;
    for (INT_PTR i = 0; i < memb.aNode.GetSize(); ++i) {
        C3DPoint p(0.0, 0.0, 0.0);
        RE_GetLabelPosNode(nodeType, memb.aNode[i], &p);
        pts.Add(p);
    }
    if (m_pDispOpt && m_pDispOpt->m_bShrink) ShrinkPoints(ShrinkScale(memb.type) * m_pDispOpt->m_dShrinkFactor, pts);
    for (INT_PTR i = 0; i < pts.GetSize(); ++i) AppendXYZ(poses, pts[i]);
    return 1;
}

int I_PVXModel::RE_GetMembNodePosesFrame_Deform(UINT nKey, CArray<double, double>& poses) {
    if (!m_pAttrCtrl) return 0;
    T_PMEMB_D memb;
    if (!m_pAttrCtrl->GetMemb(nKey, memb) || memb.aNode.GetSize() == 0 || memb.aElem.GetSize() == 1) return 0;

    // One segment per element on the deformed shape: first to last node, or for a plane
    // element with beam forces (type 204) its fourth to its third node. The total length is
    // taken over the same segments that are walked, so the three fractions are always reached.
    struct Segment {
        C3DPoint a, b;
        double len;
    };
    CArray<Segment, Segment&> segs;
    double total = 0.0;
    const int nodeType = m_nNodeIDFirst + 1;
    for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
        T_PELEM_D elem;
        if (!m_pAttrCtrl->GetElem(memb.aElem[e], elem)) continue;
        const int nNode = elem.nNode < PELEM_MAX_NODE ? elem.nNode : PELEM_MAX_NODE;
        UINT ka = 0, kb = 0;
        if (elem.type == 204) {
            if (nNode < 4) return 0;
            ka = elem.node[3];
            kb = elem.node[2];
        } else {
            if (nNode < 2) continue;
            ka = elem.node[0];
            kb = elem.node[nNode - 1];
        }
        Segment s;
        s.a = s.b = C3DPoint(0.0, 0.0, 0.0);
        RE_GetPVXNodePos(nodeType, ka, &s.a);
        RE_GetPVXNodePos(nodeType, kb, &s.b);
        s.len = std::sqrt((s.b.x - s.a.x) * (s.b.x - s.a.x) + (s.b.y - s.a.y) * (s.b.y - s.a.y) +
                          (s.b.z - s.a.z) * (s.b.z - s.a.z));
        total += s.len;
        segs.Add(s);
    }
    if (!(total > 0.0)) return 0;

    const double targets[3] = {0.125 * total, 0.5 * total, 0.875 * total};
    C3DPoint found[3];
    int nFound = 0;
    double acc = 0.0;
    for (INT_PTR i = 0; i < segs.GetSize() && nFound < 3; ++i) {
        const Segment& s = segs[i];
        const double end = acc + s.len;
        while (nFound < 3 && (end >= targets[nFound] || i == segs.GetSize() - 1)) {
            T_LINE_G line(T_POINT3D(s.a), T_POINT3D(s.b));
            C3DPoint p = s.a;
            line.GetPosByLength(p, targets[nFound] - acc);
            found[nFound++] = p;
        }
        acc = end;
    }
    if (nFound < 3) return 0;
    CArray<C3DPoint> pts;
    for (const C3DPoint& p : found) pts.Add(p);
    if (m_pDispOpt && m_pDispOpt->m_bShrink) ShrinkPoints(ShrinkScale(memb.type) * m_pDispOpt->m_dShrinkFactor, pts);
    for (INT_PTR i = 0; i < pts.GetSize(); ++i) AppendXYZ(poses, pts[i]);
    return 1;
}
