// CDeformEngine: deformed geometry (displaced points, drawing records, deformed faces, exact
// beam curves), element and member drawing, ranges, picked nodes and the plot-engine entries.
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "host/grx/I_PVXCtrl.h"
#include "module/engines/CBeamDiagram_PVX.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/EngineDraw.h"
#include "module/engines/CPlotDeformEng.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXMembCtrl.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CView.h"
#include "module/contour/KeyedExtremes.h"

namespace {

constexpr double kStationTol = 1e-10;

// Frees the lists of one shape request on every way out.
struct ShapeLists {
    PVXPolyListArray faces;
    PVXIndexArrayList index;
    PVXValueArrayList values;
    PVXIndexArrayList stations;
    ShapeLists() = default;
    ShapeLists(const ShapeLists&) = delete;
    ShapeLists& operator=(const ShapeLists&) = delete;
    ~ShapeLists() {
        CEngineBase::FreeMemoryPolyList(&faces, &index, nullptr, nullptr);
        FreeValueLists(values);
        CEngineBase::FreeMemoryPolyList(nullptr, &stations, nullptr, nullptr);
    }
};

C3DPoint ToPoint(const T_PNODE_D& n) { return C3DPoint(n.x, n.y, n.z); }

void StartBox(C3DPoint& lo, C3DPoint& hi) {
    lo.Set(DBL_MAX, DBL_MAX, DBL_MAX);
    hi.Set(-DBL_MAX, -DBL_MAX, -DBL_MAX);
}

void WidenBox(C3DPoint& lo, C3DPoint& hi, const C3DPoint& p) {
    lo.Set(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
    hi.Set(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
}

void WidenByFaces(C3DPoint& lo, C3DPoint& hi, const PVXPolyListArray& faces) {
    for (INT_PTR f = 0; f < faces.GetSize(); ++f)
        if (faces[f])
            for (POSITION pos = faces[f]->GetHeadPosition(); pos;) WidenBox(lo, hi, faces[f]->GetNext(pos));
}

// A client DC of the view for the immediate copy of each primitive; none while drawing to the
// window directly, while animating, with the second target flag set or without a view window.
std::unique_ptr<CClientDC> ClientCopy(I_PVXModel& m) {
    if (m.m_bExternalDevice || m.m_bAnimation || m.m_bSecondTarget || !m.m_pView || !m.m_pView->GetSafeHwnd())
        return nullptr;
    auto dc = std::make_unique<CClientDC>(m.m_pView);
    if (!dc->GetSafeHdc()) return nullptr;
    return dc;
}

}  // namespace

void FreeValueLists(PVXValueArrayList& lists) {
    for (INT_PTR i = 0; i < lists.GetSize(); ++i) delete lists[i];
    lists.RemoveAll();
}

// ---- displaced points and drawing records -----------------------------------------------------

C3DPoint CDeformEngine::GetDisplacedPoint(const C3DPoint& p, const double d[3]) const {
    // Plain multiplication by the frame factor: the shape swings about its rest position.
    const double s = GetScale() * FrameFactor();
    C3DPoint out = p;
    switch (m_nComponent) {
    case COMP_DX: out.x += s * d[0]; break;
    case COMP_DY: out.y += s * d[1]; break;
    case COMP_DZ: out.z += s * d[2]; break;
    case COMP_TOTAL: out.x += s * d[0]; out.y += s * d[1]; out.z += s * d[2]; break;
    case COMP_DXY: out.x += s * d[0]; out.y += s * d[1]; break;
    case COMP_DYZ: out.y += s * d[1]; out.z += s * d[2]; break;
    case COMP_DXZ: out.x += s * d[0]; out.z += s * d[2]; break;
    default: break;  // rotations and unknown selectors leave the point where it is
    }
    return out;
}

C3DPoint CDeformEngine::GetDisplacedPoint(const C3DPoint& p, const T_DISP_D& d) const {
    const double t[3] = {d.DX, d.DY, d.DZ};
    return GetDisplacedPoint(p, t);
}

C3DPoint CDeformEngine::GetDisplacedPoint(UINT nNode, const C3DPoint& p) const {
    T_DISP_D d;
    GetDispData(nNode, d);
    return GetDisplacedPoint(p, d);
}

void CDeformEngine::GetDisplacedPoint(UINT nNode, double xyz[3]) const {
    T_PNODE_D n;
    n.Initialize();
    const I_PVXModel* pModel = GetModel();
    if (pModel && pModel->GetAttrCtrl()) pModel->GetAttrCtrl()->GetNode(nNode, n);
    const C3DPoint p = GetDisplacedPoint(nNode, ToPoint(n));
    xyz[0] = p.x;
    xyz[1] = p.y;
    xyz[2] = p.z;
}

void CDeformEngine::GetDisplacedPoint(UINT nNode, T_PNODE_D& node) const {
    const C3DPoint p = GetDisplacedPoint(nNode, ToPoint(node));
    node.x = p.x;
    node.y = p.y;
    node.z = p.z;
}

int CDeformEngine::MakeDispD4Drawing(UINT nNode, T_DISP_D& d) const {
    GetDispData(nNode, d);
    if (m_nComponent < COMP_DX || m_nComponent > COMP_DXZ) return 1;
    const double s = GetScale() * FrameFactor();
    double* c[6] = {&d.DX, &d.DY, &d.DZ, &d.RX, &d.RY, &d.RZ};
    // Components each selector uses, DX..RZ.
    static const bool kUsed[10][6] = {
        {1, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0}, {1, 1, 1, 1, 1, 1}, {0, 0, 0, 1, 0, 0},
        {0, 0, 0, 0, 1, 0}, {0, 0, 0, 0, 0, 1}, {1, 1, 0, 0, 0, 0}, {0, 1, 1, 0, 0, 0}, {1, 0, 1, 0, 0, 0},
    };
    for (int i = 0; i < 6; ++i) *c[i] = kUsed[m_nComponent][i] ? *c[i] * s : 0.0;
    return 1;
}

// ---- deformed faces -----------------------------------------------------------------------------

void CDeformEngine::GetDeformedShapePElement(UINT nElem, PVXPolyListArray& faces, PVXIndexArrayList* pIndex,
                                             T_SHAPE_ARGUMENT& arg, int, int) {
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    T_PELEM_D elem;
    if (!pAttr || !pAttr->GetElem(nElem, elem)) return;
    CArray<T_DISP_D> disp;
    const int n = std::min(elem.nNode, static_cast<int>(PELEM_MAX_NODE));
    disp.SetSize(n);
    for (int i = 0; i < n; ++i) MakeDispD4Drawing(elem.node[i], disp[i]);
    T_SHAPE_ARGUMENT a = arg;
    a.bDeformed = 1;
    a.pNodeDisp = &disp;
    pModel->GetShapeElement(nElem, elem, faces, pIndex, a, 1, 0);
}

void CDeformEngine::GetDeformedShapePElement(UINT nElem, PVXPolyListArray& faces, PVXIndexArrayList* pIndex,
                                             CArray<UINT, UINT>* pFaceKeys, int nOpt1, int nOpt2) {
    T_SHAPE_ARGUMENT arg;
    arg.pFaceKeys = pFaceKeys;
    GetDeformedShapePElement(nElem, faces, pIndex, arg, nOpt1, nOpt2);
}

void CDeformEngine::MemberDrawingDisp(CPVXAttrCtrl& attr, const T_PMEMB_D& memb, CArray<T_DISP_D>& disp,
                                      std::vector<UINT>* pNodes) const {
    // Grown in large steps: a raft member holds every plate of the raft.
    disp.SetSize(0, 4 * memb.aElem.GetSize() + 16);
    for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
        T_PELEM_D elem;
        if (!attr.GetElem(memb.aElem[e], elem)) {
            disp.RemoveAll();
            return;
        }
        const int n = std::min(elem.nNode, static_cast<int>(PELEM_MAX_NODE));
        const INT_PTR at = disp.GetSize();
        disp.SetSize(at + n);
        for (int i = 0; i < n; ++i) {
            MakeDispD4Drawing(elem.node[i], disp[at + i]);
            if (pNodes) pNodes->push_back(elem.node[i]);
        }
    }
}

void CDeformEngine::GetDeformedShapeMember(UINT nMemb, PVXPolyListArray& faces, PVXIndexArrayList* pIndex,
                                           T_SHAPE_ARGUMENT& arg, int nOpt1, int nOpt2) {
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    T_PMEMB_D memb;
    if (!pAttr || !pAttr->GetMemb(nMemb, memb)) return;
    CArray<T_DISP_D> disp;
    MemberDrawingDisp(*pAttr, memb, disp, nullptr);
    T_SHAPE_ARGUMENT a = arg;
    a.bDeformed = 1;
    a.pNodeDisp = disp.GetSize() ? &disp : nullptr;
    pModel->GetShapeMember(nMemb, memb, faces, pIndex, a, nOpt1, nOpt2);
}

const PVXFlatFaces* CDeformEngine::KeptDeformedFaces(UINT nMemb, const double*& records) {
    // The records kept in the stamp after its head: no copy of a raft's records per frame.
    records = nullptr;
    thread_local std::vector<T_DISP_D> raw;
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    T_PMEMB_D memb;
    if (!pAttr || !pAttr->GetMemb(nMemb, memb) || !pModel->m_pDispOpt || pModel->m_pDispOpt->m_bShrink) return nullptr;
    const PVXFacesKey key = pModel->MakeFacesKey(memb.type, 1, 1);
    // The stamp: what MakeDispD4Drawing makes of a record, then the records themselves.
    auto stampOf = [&](std::vector<double>& stamp) {
        stamp.resize(2 + 6 * raw.size());
        stamp[0] = GetScale() * FrameFactor();
        stamp[1] = m_nComponent;
        double* d = stamp.data() + 2;
        for (const T_DISP_D& r : raw) {
            *d++ = r.DX, *d++ = r.DY, *d++ = r.DZ;
            *d++ = r.RX, *d++ = r.RY, *d++ = r.RZ;
        }
    };
    // Every record read from the map (none from the host): the version they were read at.
    unsigned long long readVersion = 0;
    auto readRaw = [&](const std::vector<UINT>& nodes) {
        raw.resize(nodes.size());
        readVersion = m_nDispVersion;
        for (size_t i = 0; i < nodes.size(); ++i)
            if (!m_mapDisp.Lookup(nodes[i], raw[i])) {
                readVersion = 0;
                GetDispData(nodes[i], raw[i]);
            }
    };
    thread_local std::vector<double> stamp;
    if (const PVXKeptFaces::Entry* e = m_KeptDeformed.Peek(nMemb)) {
        // The map unchanged since the kept records were all read from it: they are its records
        // now, so only the scale and component are compared, and the records come from the stamp.
        auto v = m_KeptDispVersion.find(nMemb);
        const double head[2] = {GetScale() * FrameFactor(), static_cast<double>(m_nComponent)};
        if (v != m_KeptDispVersion.end() && v->second == m_nDispVersion &&
            e->stamp.size() == 2 + 6 * e->faces.nodes.size() && std::memcmp(e->stamp.data(), head, sizeof head) == 0) {
            if (const PVXFlatFaces* kept = m_KeptDeformed.Find(nMemb, key)) {
                records = e->stamp.data() + 2;
                return kept;
            }
        }
        readRaw(e->faces.nodes);
        stampOf(stamp);
        if (const PVXFlatFaces* kept = m_KeptDeformed.Find(nMemb, key, &stamp)) {
            m_KeptDispVersion[nMemb] = readVersion;
            records = e->stamp.data() + 2;
            return kept;
        }
    }
    // Built as GetDeformedShapeMember builds it.
    CArray<T_DISP_D> disp;
    std::vector<UINT> elemNodes;
    MemberDrawingDisp(*pAttr, memb, disp, &elemNodes);
    T_SHAPE_ARGUMENT a;
    a.bDeformed = 1;
    a.pNodeDisp = disp.GetSize() ? &disp : nullptr;
    PVXKeptFaces::Entry& e = m_KeptDeformed.Renew(nMemb, key);
    pModel->GetShapeMemberFlat(nMemb, memb, a, true, e.faces, false);
    // Nodes numbered as the faces (back to front) first meet them, so that drawing reads their
    // values nearly in order; the elements' other nodes after them.
    std::vector<UINT> seed(e.faces.keys.begin(), e.faces.keys.end());
    seed.insert(seed.end(), elemNodes.begin(), elemNodes.end());
    e.faces.IndexNodes(seed);
    e.faces.Compact();
    readRaw(e.faces.nodes);
    stampOf(e.stamp);
    m_KeptDispVersion[nMemb] = readVersion;
    records = e.stamp.data() + 2;
    return &e.faces;
}

void CDeformEngine::GetDeformedZSortedIndexList(UINT, CArray<int, int>&) {}

// ---- exact beam curves ------------------------------------------------------------------------

void CDeformEngine::GetBeamRealDeformedShape(UINT nElem, PVXPolyListArray& faces, PVXIndexArrayList* pIndex,
                                             PVXValueArrayList* pValues, PVXIndexArrayList* pStations) {
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    const CBeamDiagram_PVX* pBeam = pModel ? pModel->m_pBeamDiagram : nullptr;
    T_PELEM_D elem;
    if (!pAttr || !pBeam || !pAttr->GetElem(nElem, elem) || !CPVXAttrCtrl::IsBeamElemType(elem.type) ||
        elem.nNode < 2)
        return;
    const int nSt = pBeam->GetStationCount();
    if (nSt < 2) return;
    const UINT nodeI = elem.node[0];
    const double L = pBeam->GetLength(0);
    const T_CFMO_D& cfmo = pBeam->GetCfmo();
    // The flexible span: the last station at the start offset, the last at the end offset.
    int first = 0, last = nSt - 1;
    bool firstFound = false, lastFound = false;
    for (int k = 0; k < nSt; ++k) {
        const double x = pBeam->GetStationPos(k);
        if (std::fabs(x - cfmo.ri2) < kStationTol) {
            first = k;
            firstFound = true;
        }
        if (std::fabs(x - (L - cfmo.rj2)) < kStationTol) {
            last = k;
            lastFound = true;
        }
    }
    if (!firstFound) first = 0;
    if (!lastFound) last = nSt - 1;
    const T_PVX_DOPT_D* opt = pModel->m_pDispOpt;
    const bool bEdges = opt && opt->m_bWireFrame;

    PVXPolyListArray plain;
    PVXKeyArrayList nodeKeys;
    T_SHAPE_ARGUMENT arg;
    arg.pFaceNodeKeys = &nodeKeys;
    pModel->GetShapeElement(nElem, elem, plain, nullptr, arg, 0, 0);

    auto stationTriple = [&](int k, double t[3]) { pBeam->GetStationDispl(k, t); };
    auto displaced = [&](const C3DPoint& p, int k) {
        double t[3];
        stationTriple(k, t);
        return GetDisplacedPoint(p, t);
    };
    auto emit = [&](PVXPolyList* poly, int idx0, const CArray<double>& vals, const CArray<int>& sts) {
        faces.Add(poly);
        if (pIndex) {
            auto* a = new CArray<int>();
            for (INT_PTR i = 0; i < poly->GetCount(); ++i) a->Add(idx0);
            pIndex->Add(a);
        }
        if (pValues) pValues->Add(new CArray<double>(vals));
        if (pStations) pStations->Add(new CArray<int>(sts));
    };

    for (INT_PTR f = 0; f < plain.GetSize(); ++f) {
        PVXPolyList* poly = plain[f];
        const CArray<UINT>* keys = f < nodeKeys.GetSize() ? nodeKeys[f] : nullptr;
        if (!poly || !keys || keys->GetSize() != poly->GetCount()) continue;
        std::vector<C3DPoint> v;
        for (POSITION pos = poly->GetHeadPosition(); pos;) v.push_back(poly->GetNext(pos));
        const int n = static_cast<int>(v.size());
        CArray<double> vals;
        CArray<int> sts;
        if (n == 2 && (*keys)[0] != (*keys)[1]) {
            // A line along the beam, one segment per pair of stations, measured from end i.
            C3DPoint a = v[0], b = v[1];
            if ((*keys)[0] != nodeI) std::swap(a, b);
            const int k0 = bEdges ? 0 : first, k1 = bEdges ? nSt - 1 : last;
            const double len = std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z));
            const double x0 = pBeam->GetStationPos(k0);
            for (int k = k0; k < k1; ++k) {
                auto* seg = new PVXPolyList(10);
                vals.RemoveAll();
                sts.RemoveAll();
                for (int j = k; j <= k + 1; ++j) {
                    C3DPoint p;
                    CUtilFuncs::GetInnerLinePoint2(pBeam->GetStationPos(j) - x0, len, a, b, p);
                    seg->AddTail(displaced(p, j));
                    vals.Add(L > 0.0 ? pBeam->GetStationPos(j) / L : 0.0);
                    sts.Add(j);
                }
                emit(seg, 0, vals, sts);
            }
        } else if (n == 4 && (*keys)[0] != (*keys)[2]) {
            // A side face along the beam: corners on its two long edges, one quad per station pair.
            C3DPoint a0 = v[0], a1 = v[3], b0 = v[1], b1 = v[2];
            if ((*keys)[0] != nodeI) {
                std::swap(a0, a1);
                std::swap(b0, b1);
            }
            auto length = [](const C3DPoint& p, const C3DPoint& q) {
                return std::sqrt((q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y) + (q.z - p.z) * (q.z - p.z));
            };
            const double la = length(a0, a1), lb = length(b0, b1);
            const double x0 = pBeam->GetStationPos(first);
            for (int k = first; k < last; ++k) {
                C3DPoint pa[2], pb[2];
                for (int j = 0; j < 2; ++j) {
                    const double d = pBeam->GetStationPos(k + j) - x0;
                    CUtilFuncs::GetInnerLinePoint2(d, la, a0, a1, pa[j]);
                    CUtilFuncs::GetInnerLinePoint2(d, lb, b0, b1, pb[j]);
                }
                auto* quad = new PVXPolyList(10);
                quad->AddTail(displaced(pa[0], k));
                quad->AddTail(displaced(pb[0], k));
                quad->AddTail(displaced(pb[1], k + 1));
                quad->AddTail(displaced(pa[1], k + 1));
                vals.RemoveAll();
                sts.RemoveAll();
                const int order[4] = {k, k, k + 1, k + 1};
                for (int s : order) {
                    vals.Add(L > 0.0 ? pBeam->GetStationPos(s) / L : 0.0);
                    sts.Add(s);
                }
                emit(quad, 0, vals, sts);
            }
        } else {
            // End faces and the rest move with their end.
            auto* moved = new PVXPolyList(10);
            for (int i = 0; i < n; ++i) {
                const bool atI = (*keys)[i] == nodeI;
                const int k = atI ? 0 : nSt - 1;
                moved->AddTail(displaced(v[static_cast<size_t>(i)], k));
                vals.Add(atI ? 0.0 : 1.0);
                sts.Add(k);
            }
            emit(moved, 0, vals, sts);
        }
    }
    FreeMemoryPolyList(&plain, nullptr, &nodeKeys, nullptr);
}

// ---- drawing of elements and members ------------------------------------------------------------

int CDeformEngine::DrawElement(CDC* pDC, UINT nElem, bool bActive) {
    if (!m_bDataReady) return 0;
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    T_PVX_DOPT_D* opt = pModel ? pModel->m_pDispOpt : nullptr;
    T_PELEM_D elem;
    if (!pAttr || !opt || !pDC || !pAttr->GetElem(nElem, elem)) return 0;

    ShapeLists shape;
    if (m_bExactBeamRange && MakeBeamCurve(nElem)) {
        GetBeamRealDeformedShape(nElem, shape.faces, nullptr, nullptr, nullptr);
    } else {
        T_SHAPE_ARGUMENT arg;
        GetDeformedShapePElement(nElem, shape.faces, nullptr, arg, 0, 0);
    }

    const int width =
        opt->m_bWireFrame ? static_cast<int>(pModel->m_nPenFactor * enginedraw::kWirePenWide) : pModel->m_nPenFactor;
    // The element colour is that of its member type (the outline the pen, the face the fill).
    COLORREF colors[2] = {opt->m_Color.m_crUndeformed, opt->m_Color.m_crUndeformed};
    opt->GetMembColor(elem.type, pModel->m_bExternalDevice, colors);
    if (!bActive) colors[0] = colors[1] = opt->m_Color.m_crInactive;
    CPen pen(PS_SOLID, width, colors[0]);
    CBrush brush(opt->m_Color.m_crInactive);
    std::unique_ptr<CClientDC> client = ClientCopy(*pModel);
    int result = 1;
    {
        enginedraw::DCStateScope state(pDC);
        enginedraw::DCStateScope clientState(client.get());
        pDC->SelectObject(&pen);
        if (client) client->SelectObject(&pen);
        if (!bActive) {
            pDC->SelectObject(&brush);
            if (client) client->SelectObject(&brush);
        }
        const bool bLineElem = CPVXAttrCtrl::IsLineElemType(elem.type) != 0;
        const INT_PTR nFaces = shape.faces.GetSize();
        CArray<int, int> flags;
        for (INT_PTR f = 0; f < nFaces; ++f) {
            if (pModel->WatchEscKeyPress()) {
                result = -1;
                break;
            }
            PVXPolyList* face = shape.faces[f];
            if (!face) continue;
            flags.SetSize(face->GetCount());
            for (INT_PTR i = 0; i < flags.GetSize(); ++i) flags[i] = 1;
            if (!bActive || opt->m_bWireFrame) {
                pModel->DrawPolygonEdge(pDC, face, &flags, 0);
                continue;
            }
            if (nFaces > 1 && (bLineElem ? opt->m_bLineCulling : opt->m_bPlaneCulling) &&
                !pModel->IsVisibleFace(face, static_cast<int>(face->GetCount())))
                continue;
            if (opt->m_nRenderMode == 1) {
                pDC->SelectStockObject(NULL_PEN);
                if (client) client->SelectStockObject(NULL_PEN);
            }
            const COLORREF fill = opt->m_nRenderMode == 2 ? opt->m_Color.m_crBackground : colors[1];
            pModel->DrawPolygon3DFill(pDC, *face, flags, fill, client.get(), 0);
        }
    }
    return result;
}

int CDeformEngine::DrawDeformedElement(CDC* pDC, UINT nElem) { return DrawElement(pDC, nElem, true); }

int CDeformEngine::DrawInactiveDeformedElement(CDC* pDC, UINT nElem) { return DrawElement(pDC, nElem, false); }

namespace {

// Every element of a member by one element drawer: -1 as soon as one is stopped by Escape; 0
// when the member is missing, there are no data or an element drew nothing (the others are
// still drawn); 1 when every element was drawn.
template <class Draw>
int DrawMemberElements(CDeformEngine& e, UINT nMemb, Draw draw) {
    I_PVXModel* pModel = e.GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    T_PMEMB_D memb;
    if (!pAttr || !pAttr->GetMemb(nMemb, memb) || !e.m_bDataReady) return 0;
    int result = 1;
    for (INT_PTR i = 0; i < memb.aElem.GetSize(); ++i) {
        const int r = draw(memb.aElem[i]);
        if (r == -1) return -1;
        if (r < 1) result = 0;
    }
    return result;
}

}  // namespace

int CDeformEngine::DrawDeformedMember(CDC* pDC, UINT nMemb) {
    return DrawMemberElements(*this, nMemb, [&](UINT e) { return DrawDeformedElement(pDC, e); });
}

int CDeformEngine::DrawInactiveDeformedMember(CDC* pDC, UINT nMemb) {
    return DrawMemberElements(*this, nMemb, [&](UINT e) { return DrawInactiveDeformedElement(pDC, e); });
}

// ---- ranges -----------------------------------------------------------------------------------

void CDeformEngine::GetRangeElement(UINT nMemb, C3DPoint* pMin, C3DPoint* pMax) {
    if (!pMin || !pMax) return;
    StartBox(*pMin, *pMax);
    ShapeLists shape;
    T_SHAPE_ARGUMENT arg;
    GetDeformedShapeMember(nMemb, shape.faces, nullptr, arg, 1, 1);
    WidenByFaces(*pMin, *pMax, shape.faces);
}

void CDeformEngine::GetRangeModel(C3DPoint* pMin, C3DPoint* pMax) {
    if (!pMin || !pMax) return;
    StartBox(*pMin, *pMax);
    I_PVXModel* pModel = GetModel();
    if (!pModel) return;
    const T_PVX_DOPT_D* opt = pModel->m_pDispOpt;
    const bool bPartial = opt && opt->m_nPartialDisplay1 == 1 && opt->m_nPartialDisplay2 == 0;
    for (INT_PTR i = 0; i < pModel->m_arrActiveMembKey.GetSize(); ++i) {
        if (bPartial && i < pModel->m_arrMembFlag.GetSize() && pModel->m_arrMembFlag[i] != 1) continue;
        C3DPoint lo, hi;
        GetRangeElement(pModel->m_arrActiveMembKey[i], &lo, &hi);
        if (lo.x > hi.x) continue;
        WidenBox(*pMin, *pMax, lo);
        WidenBox(*pMin, *pMax, hi);
    }
}

void CDeformEngine::GetRangeModel(C3DPoint* pMin, C3DPoint* pMax, CArray<UINT, UINT>* pKeys) {
    if (!pKeys) return GetRangeModel(pMin, pMax);
    if (!pMin || !pMax) return;
    StartBox(*pMin, *pMax);
    for (INT_PTR i = 0; i < pKeys->GetSize(); ++i) {
        C3DPoint lo, hi;
        GetRangeElement(pKeys->GetAt(i), &lo, &hi);
        if (lo.x > hi.x) continue;
        WidenBox(*pMin, *pMax, lo);
        WidenBox(*pMin, *pMax, hi);
    }
}

// ---- picked nodes, cutting values -----------------------------------------------------------------

namespace {

void DrawPicked(CDeformEngine& e, CDC* pDC, bool bClientWindow) {
    I_PVXModel* pModel = e.GetModel();
    if (!pModel || !pDC || !pModel->m_pPVXCtrl || !pModel->m_pDispOpt || e.m_arrPickedNode.GetSize() == 0) return;
    I_PVXCtrl* ctrl = pModel->m_pPVXCtrl;
    const T_PVX_DOPT_NUMBER_D& num = pModel->m_pDispOpt->m_Number;
    const bool bWindow = bClientWindow || pModel->m_bExternalDevice;
    CFont font;
    LOGFONT lf = num.m_lfPick.lfFaceName[0] ? num.m_lfPick : num.m_lfNumber;
    font.CreatePointFontIndirect(&lf, pDC);
    enginedraw::DCStateScope state(pDC);
    pDC->SelectObject(&font);
    pDC->SetBkMode(num.m_bPickOpaque ? OPAQUE : TRANSPARENT);
    pDC->SetBkColor(num.m_crPickBack);
    pDC->SetTextColor(bClientWindow ? RGB(0, 0, 0) : num.m_crPick);
    pDC->SetTextAlign(TA_BOTTOM);
    for (INT_PTR i = 0; i < e.m_arrPickedNode.GetSize(); ++i) {
        const UINT key = e.m_arrPickedNode[i];
        C3DPoint p;
        if (pModel->RE_GetLabelPosNodeByKey(key, &p) != 1) continue;
        const CPoint w = bWindow ? ctrl->GetWorldToWindowP2D(p) : ctrl->GetWorldToMemDCP2D(p);
        char text[16];
        std::snprintf(text, sizeof(text), "%d", static_cast<int>(key));
        pDC->TextOut(w.x, w.y, text);
        if (bWindow)
            ctrl->DrawNodeInClientWindow(pDC, p);
        else
            ctrl->DrawNode(pDC, p);
    }
}

}  // namespace

void CDeformEngine::DrawPickedNodes(CDC* pDC) { DrawPicked(*this, pDC, false); }

void CDeformEngine::DrawPickedNodesOnClientWnd(CDC* pDC) { DrawPicked(*this, pDC, true); }

void CDeformEngine::GetNodalValueforCutting(UINT nElem, double& dValueI, int nI, double& dValueJ, int nJ) {
    const I_PVXModel* pModel = GetModel();
    T_PELEM_D elem;
    if (!pModel || !pModel->GetAttrCtrl() || !pModel->GetAttrCtrl()->GetElem(nElem, elem)) return;
    const int n = std::min(elem.nNode, static_cast<int>(PELEM_MAX_NODE));
    if (nI < 0 || nI >= n || nJ < 0 || nJ >= n) return;
    T_DISP_D di, dj;
    GetDispData(elem.node[nI], di);
    GetDispData(elem.node[nJ], dj);
    dValueI = CalcDispValue(di);
    dValueJ = CalcDispValue(dj);
}

// ---- plot engine ----------------------------------------------------------------------------------

int CDeformEngine::BeginPlotEng(CDC* pDC) {
    delete m_pPlotEngine;
    m_pPlotEngine = new CPlotDeformEng(this, pDC);
    return 1;
}

int CDeformEngine::EndPlotEng() {
    if (!m_pPlotEngine) return 0;
    delete m_pPlotEngine;
    m_pPlotEngine = nullptr;
    return 1;
}

CPlotDeformEng* CDeformEngine::GetPlotEngine() const { return static_cast<CPlotDeformEng*>(m_pPlotEngine); }

int CDeformEngine::DrawBeamDfd() {
    CPlotDeformEng* pPlot = GetPlotEngine();
    const I_PVXModel* pModel = GetModel();
    if (!pPlot || !pModel) return -1;
    m_arrBeamDeform.RemoveAll();
    if (!MakeNodeDispData4Output4Figure(m_arrBeamDeform)) return -1;
    return pPlot->Draw(pModel->m_nDisplayMode);
}

int CDeformEngine::DrawDispContourNew(CDC* pDC) {
    CPlotDeformEng* pPlot = GetPlotEngine();
    I_PVXModel* pModel = GetModel();
    if (!pPlot || !pModel) return -1;
    const int mode = pModel->m_nDisplayMode;
    const int drawn = pPlot->Draw(mode);
    // The displacement contour draws the diagrams of its cutting lines over the contour, in
    // their group of the vector stream, as the plate results do.
    if (m_bCuttingLine && drawn != -1 && mode == PVXMode::kDispContour && pModel->m_pPVXCtrl) {
        pModel->m_pPVXCtrl->XGL_Begin_CuttingPLDiagram();
        DrawCuttingLineDiagrams(pDC);
        pModel->m_pPVXCtrl->XGL_End_CuttingPLDiagram();
    }
    return drawn;
}

int CDeformEngine::DrawDeformedShapeNew(CDC* pDC) { return DrawDispContourNew(pDC); }

void CDeformEngine::OutputNumbersNew() {
    CPlotDeformEng* pPlot = GetPlotEngine();
    const I_PVXModel* pModel = GetModel();
    if (!pPlot || !pModel) return;
    const int mode = pModel->m_nDisplayMode;
    if (mode == PVXMode::kSlabDeflection) {
        if (m_nSlabDeflKind == 0)
            pPlot->OutputSlabDeflectionNumbersMemb(mode);
        else if (m_nSlabDeflKind == 1)
            pPlot->OutputSlabDeflectionNumbers(mode);
    } else if (mode == PVXMode::kSettlement) {
        pPlot->OutputSettlementNumbers(mode);
    } else {
        pPlot->OutputNumbers(mode);
    }
}

// ---- number records ---------------------------------------------------------------------------------

int CDeformEngine::MakeNodeDispData4Output(const CArray<UINT, UINT>& keys, CArray<C3DPoint, C3DPoint>& points) const {
    points.RemoveAll();
    points.SetSize(keys.GetSize());
    const I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PNODE_D n;
        n.Initialize();
        if (i < m_arrNodeKey.GetSize() && m_arrNodeKey[i] == keys[i] && i < m_arrNodeRec.GetSize())
            n = m_arrNodeRec[i];
        else if (pAttr)
            pAttr->GetNode(keys[i], n);
        points[i] = GetDisplacedPoint(keys[i], ToPoint(n));
    }
    return 1;
}

int CDeformEngine::MakeNodeDispData4Output4Figure(CArray<T_BEAM_DEFORM, const T_BEAM_DEFORM&>& records) {
    records.RemoveAll();
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    if (!pAttr) return 0;
    CArray<UINT, UINT> beams;
    for (INT_PTR i = 0; i < pModel->m_arrActiveMembKey.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!pAttr->GetMemb(pModel->m_arrActiveMembKey[i], memb)) return 0;
        if (memb.type == 201 || memb.type == 205) beams.Add(pModel->m_arrActiveMembKey[i]);
    }
    if (beams.GetSize() == 0) return 0;
    // Node record index by key, for the positions kept beside the node list.
    CMap<UINT, UINT, int, int> at;
    at.InitHashTable(kMapBuckets);
    for (INT_PTR i = 0; i < m_arrNodeKey.GetSize(); ++i) at[m_arrNodeKey[i]] = static_cast<int>(i);
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    UINT nMaxKey = 0, nMinKey = 0;
    for (INT_PTR b = 0; b < beams.GetSize(); ++b) {
        T_PMEMB_D memb;
        pAttr->GetMemb(beams[b], memb);
        T_BEAM_DEFORM rec;
        rec.nMembKey = beams[b];
        for (INT_PTR i = 0; i < memb.aNode.GetSize(); ++i) {
            const UINT key = memb.aNode[i];
            int idx;
            if (!at.Lookup(key, idx)) continue;
            T_DISP_D d;
            if (!GetDispData(key, d)) return 0;
            const double v = CalcDispValue(d);
            rec.arrNodeKey.Add(key);
            rec.arrPoint.Add(ToPoint(m_arrNodeRec[idx]));
            rec.arrValue.Add(v);
            contour::TakeExtremes(v, v, key, dMax, nMaxKey, dMin, nMinKey);
        }
        records.Add(rec);
    }
    pModel->m_nMaxKey = nMaxKey;
    pModel->m_nMinKey = nMinKey;
    if (m_bExactBeamRange) GetRealDeformRange(dMin, dMax);
    if (dMax == -DBL_MAX) dMax = dMin = 0.0;
    InitDispAdjustFactor(std::fabs(dMax) >= std::fabs(dMin) ? dMax : dMin);
    return 1;
}
