// CPlotDeformEng: deformed shape, displacement and settlement contours and numbers of one draw.
#include "module/engines/CPlotDeformEng.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "host/grx/GKrigContour.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/BandPixels.h"
#include "module/engines/EngineDraw.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/afx/WorkCrew.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/ui/CClientDC.h"

namespace {

constexpr int kStyleFaces = 1;          // draw styles: 1 faces without outline
constexpr int kStyleHidden = 2;         // 2 hidden-line (faces in the background colour)
constexpr int kStyleFacesEdges = 3;     // 3 faces with edges
constexpr int kAlignBottomLeft = 8;     // TA_BOTTOM | TA_LEFT
constexpr double kKrigCellPixels = 5.0;

// Display options a drawer changes for its duration, put back on every way out.
class OptionRestore {
public:
    explicit OptionRestore(T_PVX_DOPT_D* p) : m_p(p) {
        if (p) {
            m_style = p->m_nRenderMode;
            m_wire = p->m_bWireFrame;
        }
    }
    ~OptionRestore() {
        if (m_p) {
            m_p->m_nRenderMode = m_style;
            m_p->m_bWireFrame = m_wire;
        }
    }
    OptionRestore(const OptionRestore&) = delete;
    OptionRestore& operator=(const OptionRestore&) = delete;

private:
    T_PVX_DOPT_D* m_p;
    int m_style = 0, m_wire = 0;
};

// Selects a pen (and optionally a brush) into a DC and a client copy until the end of the scope.
class PenBrushScope {
public:
    PenBrushScope(CDC* pDC, CDC* pClient, int width, COLORREF pen, const COLORREF* pBrush = nullptr)
        : m_pDC(pDC), m_pClient(pClient), m_pen(PS_SOLID, width, pen), m_brush(pBrush ? *pBrush : 0) {
        if (m_pDC) {
            m_nSaved = m_pDC->SaveDC();
            m_pDC->SelectObject(&m_pen);
            if (pBrush) m_pDC->SelectObject(&m_brush);
        }
        if (m_pClient) {
            m_nSavedClient = m_pClient->SaveDC();
            m_pClient->SelectObject(&m_pen);
            if (pBrush) m_pClient->SelectObject(&m_brush);
        }
    }
    ~PenBrushScope() {
        if (m_pClient) m_pClient->RestoreDC(m_nSavedClient);
        if (m_pDC) m_pDC->RestoreDC(m_nSaved);
    }
    PenBrushScope(const PenBrushScope&) = delete;
    PenBrushScope& operator=(const PenBrushScope&) = delete;

private:
    CDC* m_pDC;
    CDC* m_pClient;
    CPen m_pen;
    CBrush m_brush;
    int m_nSaved = 0, m_nSavedClient = 0;
};

void AllEdgesOfFace(const PVXPolyList* face, CArray<int, int>& flags) {
    const INT_PTR n = face ? face->GetCount() : 0;
    flags.SetSize(n);
    for (INT_PTR i = 0; i < n; ++i) flags[i] = 1;
}

bool IsLineType(int t) { return t == 200 || t == 403 || t == 201 || t == 205 || t == 206 || t == 101; }

}  // namespace

CPlotDeformEng::MemberPolygons::~MemberPolygons() {
    CEngineBase::FreeMemoryPolyList(&faces, nullptr, &nodeKeys, nullptr);
    FreeValueLists(values);
}

CPlotDeformEng::CPlotDeformEng(CDeformEngine* pEngine, CDC* pDC) : m_pEngine(nullptr) {
    if (!pEngine || !pDC) return;
    Bind(pEngine, pDC);
    m_pEngine = pEngine;
}

CPlotDeformEng::~CPlotDeformEng() = default;

void CPlotDeformEng::Reset() {
    CPlotEngBase::Reset();
    m_pEngine = nullptr;
}

int CPlotDeformEng::Draw(int nMode) {
    if (!m_pEngine || !m_pModel) return -1;
    switch (nMode) {
    case PVXMode::kDeformedShape: return DrawDeformedShape();
    case PVXMode::kDispContour:
    case PVXMode::kSlabDeflection:
    case PVXMode::kTimeHistory: return DrawDisplacementContour();
    case PVXMode::kModeShape: return m_pModel->m_bModeShapeContour ? DrawDisplacementContour() : DrawDeformedShape();
    case PVXMode::kSettlement: return DrawSettlementContour();
    default: return -1;
    }
}

// ---- members as drawn ---------------------------------------------------------------------------

int CPlotDeformEng::GetMemberPolygons(UINT nMemb, MemberPolygons& out, int bDeformed) {
    CPVXAttrCtrl* pAttr = m_pModel ? m_pModel->GetAttrCtrl() : nullptr;
    T_PMEMB_D memb;
    if (!pAttr || !pAttr->GetMemb(nMemb, memb)) return 0;
    out.nElemType = memb.type;
    T_PELEM_D first;
    if (memb.aElem.GetSize() > 0 && pAttr->GetElem(memb.aElem[0], first)) out.nElemType = first.type;

    auto addPlain = [&](PVXPolyListArray& faces, PVXKeyArrayList& keys) {
        for (INT_PTR f = 0; f < faces.GetSize(); ++f) {
            out.faces.Add(faces[f]);
            out.nodeKeys.Add(f < keys.GetSize() ? keys[f] : nullptr);
            out.values.Add(nullptr);
            if (f < keys.GetSize()) keys[f] = nullptr;
        }
        faces.RemoveAll();
        CEngineBase::FreeMemoryPolyList(nullptr, nullptr, &keys, nullptr);
    };

    // Beams on their exact curve, element by element; the vertex values are taken while the
    // beam calculator holds that element's curve.
    if (bDeformed && m_pEngine->m_bExactBeamRange && CPVXAttrCtrl::IsBeamElemType(memb.type)) {
        bool bAllExact = true;
        for (INT_PTR e = 0; e < memb.aElem.GetSize() && bAllExact; ++e) {
            const UINT elemKey = memb.aElem[e];
            T_PELEM_D elem;
            if (!pAttr->GetElem(elemKey, elem) || elem.nNode < 2 || !m_pEngine->MakeBeamCurve(elemKey)) {
                bAllExact = false;
                break;
            }
            T_DISP_D di, dj;
            m_pEngine->GetDispData(elem.node[0], di);
            m_pEngine->GetDispData(elem.node[elem.nNode - 1], dj);
            PVXPolyListArray faces;
            PVXIndexArrayList stations;
            m_pEngine->GetBeamRealDeformedShape(elemKey, faces, nullptr, nullptr, &stations);
            const double lo = m_pContourEngine ? m_pContourEngine->m_dMinValue : -1e300;
            const double hi = m_pContourEngine ? m_pContourEngine->m_dMaxValue : 1e300;
            for (INT_PTR f = 0; f < faces.GetSize(); ++f) {
                auto* vals = new CArray<double>();
                const CArray<int>* st = f < stations.GetSize() ? stations[f] : nullptr;
                for (INT_PTR i = 0; st && i < st->GetSize(); ++i)
                    vals->Add(std::clamp(m_pEngine->CalcDispValuePos(di, dj, st->GetAt(i)), std::min(lo, hi),
                                         std::max(lo, hi)));
                out.faces.Add(faces[f]);
                out.nodeKeys.Add(nullptr);
                out.values.Add(vals);
            }
            faces.RemoveAll();
            CEngineBase::FreeMemoryPolyList(nullptr, &stations, nullptr, nullptr);
        }
        if (bAllExact) return 1;
        // A curve that cannot be built: the ordinary shape of the whole member instead.
        CEngineBase::FreeMemoryPolyList(&out.faces, nullptr, &out.nodeKeys, nullptr);
        FreeValueLists(out.values);
    }

    PVXPolyListArray faces;
    PVXKeyArrayList keys;
    T_SHAPE_ARGUMENT arg;
    arg.pFaceNodeKeys = &keys;
    if (bDeformed)
        m_pEngine->GetDeformedShapeMember(nMemb, faces, nullptr, arg, 0, 0);
    else
        m_pModel->GetShapeMember(nMemb, memb, faces, nullptr, arg, 0, 0);
    addPlain(faces, keys);
    return 1;
}

bool CPlotDeformEng::NeedsVisibleTest(int nPolygons, int nElemType, int nVertices) const {
    const T_PVX_DOPT_D* o = m_pDispOpt;
    if (!o || nPolygons < 2 || o->m_bWireFrame) return false;
    if (IsLineType(nElemType)) return o->m_bLineCulling != 0;
    return nVertices <= 4 && o->m_bPlaneCulling;
}

int CPlotDeformEng::IsFaceToDraw(int nPolygons, int nElemType, int nVertices, CList<C3DPoint>* pPoints) {
    if (!NeedsVisibleTest(nPolygons, nElemType, nVertices)) return 1;
    return IsVisibleFace(pPoints, nVertices) ? 1 : 0;
}


void CPlotDeformEng::SortedMembers(CArray<GRE_Atom, GRE_Atom&>& atoms, int bDeformed) {
    GetZSortedMembers(m_pModel->m_arrActiveMembKey, bDeformed, atoms);
}

// ---- deformed shape -------------------------------------------------------------------------------

int CPlotDeformEng::DrawUndeformedOutline() {
    OptionRestore restore(m_pDispOpt);
    if (m_pDrawStyle) *m_pDrawStyle = kStyleHidden;
    return DrawOriginal(1);
}

int CPlotDeformEng::DrawDeformedShape() {
    if (!m_pEngine->m_bDataReady) return 0;
    if (!m_pEngine->GetDeformedCntr()) {
        DrawOriginal(0);
        return 0;
    }
    const int bOutline = m_pUndeformedWireFrame && *m_pUndeformedWireFrame;
    const int bWire = m_pWireFrame && *m_pWireFrame;
    const int style = m_pDrawStyle ? *m_pDrawStyle : kStyleFaces;
    if (bOutline && (bWire || style == kStyleHidden) && DrawUndeformedOutline() == -1) return -1;
    if (DrawDeformedElements() == -1) return -1;
    if (bOutline && !bWire && style != kStyleHidden && DrawUndeformedOutline() == -1) return -1;
    return 1;
}

int CPlotDeformEng::DrawDeformedElements() {
    CArray<GRE_Atom, GRE_Atom&> atoms;
    SortedMembers(atoms, 1);
    int r = 1;
    for (INT_PTR i = 0; i < atoms.GetSize(); ++i) {
        if (WatchEscKeyPress()) return -1;
        const GRE_Atom a = atoms[i];
        if (!IsObjectInClientWindow(a.m_nType, a.m_nKey)) continue;
        r = IsActiveElem(a.m_nKey) ? DrawActiveElement(m_pDC, a.m_nKey) : DrawInactiveElement(m_pDC, a.m_nKey);
        if (r == -1) return -1;
    }
    return r;
}

int CPlotDeformEng::DrawActiveElement(CDC* pDC, UINT nMemb) {
    if (!m_pEngine->m_bDataReady || !m_pDispOpt) return 0;
    MemberPolygons polys;
    if (!GetMemberPolygons(nMemb, polys, 1)) return 0;
    T_PMEMB_D memb;
    m_pModel->GetAttrCtrl()->GetMemb(nMemb, memb);
    COLORREF colors[2] = {m_pColorOpt->m_crUndeformed, m_pColorOpt->m_crUndeformed};
    m_pModel->GetMembColor(memb, colors);
    const int bWire = *m_pWireFrame;
    const int style = *m_pDrawStyle;
    const int width = bWire ? static_cast<int>(GetPenWidth() * enginedraw::kWirePenWide) : GetPenWidth();
    CDC* pClient = GetClientDC();
    PenBrushScope pen(pDC, pClient, width, colors[0]);
    const int nFaces = static_cast<int>(polys.faces.GetSize());
    CArray<int, int> flags;
    for (int f = 0; f < nFaces; ++f) {
        if (WatchEscKeyPress()) return -1;
        PVXPolyList* face = polys.faces[f];
        if (!face) continue;
        AllEdgesOfFace(face, flags);
        if (bWire) {
            DrawPolygonEdge(pDC, *face, flags, 0);
        } else if (style == kStyleHidden) {
            DrawPolygon3DFill(pDC, *face, flags, m_pColorOpt->m_crInactive);
        } else if (IsFaceToDraw(nFaces, polys.nElemType, static_cast<int>(face->GetCount()), face)) {
            if (style == kStyleFaces) {
                pDC->SelectStockObject(NULL_PEN);
                if (pClient) pClient->SelectStockObject(NULL_PEN);
            }
            DrawPolygon3DFill(pDC, *face, flags, colors[1]);
        }
    }
    return nFaces > 0 ? 1 : 0;
}

int CPlotDeformEng::DrawInactiveElement(CDC* pDC, UINT nMemb) {
    if (!m_pEngine->m_bDataReady || !m_pDispOpt) return 0;
    MemberPolygons polys;
    if (!GetMemberPolygons(nMemb, polys, 1) || polys.faces.GetSize() == 0) return 0;
    const int width = *m_pWireFrame ? static_cast<int>(GetPenWidth() * enginedraw::kWirePenWide) : GetPenWidth();
    const COLORREF inactive = m_pColorOpt->m_crInactive;
    PenBrushScope pen(pDC, GetClientDC(), width, inactive, &inactive);
    CArray<int, int> flags;
    for (INT_PTR f = 0; f < polys.faces.GetSize(); ++f) {
        if (WatchEscKeyPress()) return -1;
        if (!polys.faces[f]) continue;
        AllEdgesOfFace(polys.faces[f], flags);
        DrawPolygonEdge(pDC, *polys.faces[f], flags, 0);
    }
    return 1;
}

// ---- displacement contour --------------------------------------------------------------------------

int CPlotDeformEng::DrawDisplacementContour() {
    // Without a single node value (an envelope over no counted combination) there is nothing to
    // colour: the plain model, not faces painted as if their nodes held zero.
    if (!m_pEngine->m_bDataReady || !IsResultDisplayOn() || m_pEngine->m_arrNodeKey.GetSize() == 0) {
        DrawOriginal(0);
        return 0;
    }
    const int bDeformed = m_pEngine->GetDeformedCntr();
    const COLORREF penColor = m_pContourEngine ? m_pContourEngine->m_crElemEdge : RGB(128, 128, 0);
    PenBrushScope pen(m_pDC, nullptr, GetPenWidth(), penColor);
    CArray<GRE_Atom, GRE_Atom&> atoms;
    SortedMembers(atoms, bDeformed);
    const int bAll = m_pModel->m_pPVXCtrl && m_pModel->m_pPVXCtrl->IsZoomAllState();
    for (INT_PTR i = 0; i < atoms.GetSize(); ++i) {
        if (WatchEscKeyPress()) return -1;
        const GRE_Atom a = atoms[i];
        if (!bAll && !IsObjectInClientWindow(a.m_nType, a.m_nKey)) continue;
        int r = IsActiveElem(a.m_nKey) ? DrawContourElement(m_pDC, a.m_nKey) : 0;
        if (r == 0)
            r = bDeformed ? DrawInactiveElement(m_pDC, a.m_nKey) : m_pModel->PVXDrawInactiveMember(m_pDC, a.m_nKey);
        if (r == -1) return -1;
    }
    if (bDeformed && m_pUndeformedWireFrame && *m_pUndeformedWireFrame && DrawUndeformedOutline() == -1) return -1;
    return 1;
}

int CPlotDeformEng::DrawContourElement(CDC* pDC, UINT nMemb) {
    if (!m_pContourEngine || !m_pDispOpt) return 0;
    CPVXAttrCtrl* pAttr = m_pModel->GetAttrCtrl();
    T_PMEMB_D memb;
    if (!pAttr || !pAttr->GetMemb(nMemb, memb) || !m_pEngine->IsPossibleDisp(memb)) return 0;
    // Slab deflections are those of the plate members; the others are drawn inactive.
    if (m_pModel->m_nDisplayMode == PVXMode::kSlabDeflection && !CPVXAttrCtrl::IsPlate(memb.type)) return 0;
    const int bDeformed = m_pEngine->GetDeformedCntr();
    if (!(bDeformed && m_pEngine->m_bExactBeamRange && CPVXAttrCtrl::IsBeamElemType(memb.type))) {
        const int r = DrawContourFaces(pDC, nMemb, memb, bDeformed);
        if (r != kNotKept) return r;
    }
    MemberPolygons polys;
    if (!GetMemberPolygons(nMemb, polys, bDeformed)) return 0;

    const ContourStyle cs = GetContourStyle();
    const bool bSlab = cs.bSlab, bAnimate = cs.bAnimate, bEdgeStyle = cs.bEdgeStyle, bPreFill = cs.bPreFill;
    const double frame = cs.frame;
    const bool bBands = polys.nElemType != 101 && polys.nElemType != 202;
    const int nFaces = static_cast<int>(polys.faces.GetSize());
    CArray<int, int> flags;
    CList<C3DPoint, C3DPoint> corners;
    double v[4];
    for (int f = 0; f < nFaces; ++f) {
        if (WatchEscKeyPress()) return -1;
        PVXPolyList* face = polys.faces[f];
        if (!face) continue;
        const int n = static_cast<int>(face->GetCount());
        if (n < 2 || n > 4 || !IsFaceToDraw(nFaces, polys.nElemType, n, face)) continue;
        // Vertex values: exact beam faces carry theirs, the others are read per node.
        const CArray<double>* exact = polys.values[f];
        const CArray<UINT>* keys = polys.nodeKeys[f];
        for (int i = 0; i < n; ++i) {
            if (exact && i < exact->GetSize()) {
                v[i] = exact->GetAt(i);
            } else {
                T_DISP_D d;
                const UINT key = keys && i < keys->GetSize() ? keys->GetAt(i) : 0;
                if (bSlab)
                    m_pEngine->GetSDflcData(key, d);
                else
                    m_pEngine->GetDispData(key, d);
                v[i] = m_pEngine->CalcDispValue(d);
            }
            if (bAnimate) v[i] = m_pContourEngine->GetSubFrameValue(v[i], frame);
        }
        AllEdgesOfFace(face, flags);
        if (n == 2) {
            DrawContourLineFace(pDC, face->GetHead(), face->GetTail(), v[0], v[1]);
            continue;
        }
        // Columns and walls take no bands; they are shown in the inactive colour rather than
        // left out of the picture in the face styles.
        if (bPreFill || !bBands) {
            DrawPolygon3DFill(pDC, *face, flags, m_pColorOpt->m_crInactive);
            DrawPolygonEdge(pDC, *face, flags, 0);
        }
        if (bBands) {
            int edgeFlags[4] = {1, 1, 1, 1};
            // The corner list is reused from face to face (a raft has a hundred thousand).
            while (corners.GetCount() > face->GetCount()) corners.RemoveTail();
            while (corners.GetCount() < face->GetCount()) corners.AddTail(C3DPoint());
            POSITION at = corners.GetHeadPosition();
            for (POSITION pos = face->GetHeadPosition(); pos && at;) corners.GetNext(at) = face->GetNext(pos);
            m_pEngine->DoSubPolyContour(pDC, v, &corners, edgeFlags, 0);
        }
        if (bEdgeStyle) DrawPolygonEdge(pDC, *face, flags, 0);
    }
    return 1;
}

CPlotDeformEng::ContourStyle CPlotDeformEng::GetContourStyle() const {
    ContourStyle cs;
    cs.bSlab = m_pModel->m_nDisplayMode == PVXMode::kSlabDeflection;
    cs.bAnimate = m_pModel->m_bAnimation != 0;
    cs.frame = cs.bAnimate ? m_pModel->m_AnimationEngine.GetAnimationFactor(1) : 1.0;
    const int style = *m_pDrawStyle;
    cs.bEdgeStyle = style == kStyleHidden || style == kStyleFacesEdges;
    cs.bPreFill = cs.bEdgeStyle && m_pContourEngine->m_nFillStyle == 1;
    return cs;
}

void CPlotDeformEng::DrawContourLineFace(CDC* pDC, C3DPoint a, C3DPoint b, double va, double vb) {
    // A member line: from its higher end down, cut at the levels.
    if (va < vb) {
        std::swap(a, b);
        std::swap(va, vb);
    }
    CArray<C3DPoint, C3DPoint> pts;
    CArray<double, double> vals;
    pts.Add(a);
    vals.Add(va);
    m_pContourEngine->GetRankVertices(a, b, va, vb, pts, vals, nullptr);
    pts.Add(b);
    vals.Add(vb);
    m_pEngine->DrawContourLine(pDC, pts, vals);
}

namespace {

// Per-thread scratch vectors of DrawContourFaces, reached once per member through a call: a
// thread_local of this library used in the face loop is looked up again at each use.
[[gnu::noinline]] std::vector<double>& NodeValueScratch() {
    thread_local std::vector<double> v;
    return v;
}
[[gnu::noinline]] std::vector<CPoint>& PixelScratch() {
    thread_local std::vector<CPoint> v;
    return v;
}
[[gnu::noinline]] std::vector<unsigned char>& MadeScratch() {
    thread_local std::vector<unsigned char> v;
    return v;
}

// Faces gathered for one call into the DC: each face's band polygons in pixels with their
// colours, then its edges, in the order they come; drawn by I_PVXCtrl::FillFaces as the face
// after face drawing (the list fills, then LineSegments) would draw them. With a crew the faces'
// bands are cut on its threads, each a run of the faces with a scale of its own, and joined in
// the faces' order, so the picture is the same; the helpers cut a batch while this thread
// gathers the next and fills the one before.
class FaceBatch {
public:
    // Faces gathered before drawing: their pixels stay in the cache. With a crew, batches are
    // larger: each wakes the sleeping helpers and then the drawing thread once, and a wake-up
    // costs far more than a batch's share of the cutting; a helper the machine keeps waiting
    // holds the drawing thread up fewer times too.
    static constexpr size_t kMaxFaces = 1024, kMaxCrewFaces = 16384;

    FaceBatch(CEngineBase& engine, CContourEngine& scale, I_PVXModel& model, WorkCrew* crew = nullptr)
        : m_engine(engine), m_scale(scale), m_ctrl(*model.m_pPVXCtrl), m_terms(m_ctrl.MemPixelTerms()),
          m_shade(model), m_bandColor(scale), m_s(Store()), m_crew(crew) {
        m_s.Clear();
        if (m_crew)
            for (int i = 0; i < m_crew->Size(); ++i) m_cutters.push_back(std::make_unique<Cutter>(scale, model));
    }
    ~FaceBatch() {
        // Left while a cut runs only when something failed: the helpers are waited for, and
        // what failed first is what the caller hears.
        for (Slot& slot : m_slots) {
            if (!slot.cutting) continue;
            try {
                m_crew->Finish(slot.job);
            } catch (...) {
            }
        }
    }
    FaceBatch(const FaceBatch&) = delete;
    FaceBatch& operator=(const FaceBatch&) = delete;

    // A face of n corners: its bands as DoSubPolyContourOf cuts and fills them, then the lines
    // edges(out) appends as pairs of ends.
    template <class Edges>
    void Add(const double* values, const C3DPoint* corners, int n, const int* flags, Edges&& edges) {
        std::vector<POINT>* segs = &m_s.segs;
        std::vector<int>* faceLines = &m_s.faceLines;
        if (m_crew) {
            Slot& slot = m_slots[m_cur];
            FaceIn& in = slot.in.emplace_back();
            in.n = std::clamp(n, 0, 4);
            for (int i = 0; i < in.n; ++i) {
                in.values[i] = values[i];
                in.corners[i] = corners[i];
                in.flags[i] = flags[i];
            }
            segs = &slot.segs;
            faceLines = &slot.faceLines;
        } else {
            const size_t polys = m_s.counts.size();
            if (m_engine.CutFaceBands(values, corners, n, flags, 0))
                AppendBandPixels(m_scale, m_ctrl, m_terms, m_shade, m_bandColor, m_engine.FaceSizes(),
                                 m_engine.FaceVertices(), m_s.vcs, m_s.pts, m_s.counts, m_s.colors);
            m_s.facePolys.push_back(static_cast<int>(m_s.counts.size() - polys));
        }
        const size_t lines = segs->size();
        edges(*segs);
        faceLines->push_back(static_cast<int>((segs->size() - lines) / 2));
    }
    bool Full() const {
        return m_crew ? m_slots[m_cur].faceLines.size() >= kMaxCrewFaces : m_s.faceLines.size() >= kMaxFaces;
    }
    // A full batch on its way: with a crew, its cut started and the batch before drawn; else drawn.
    void Next(CDC* pDC) {
        if (!m_crew) return Draw(pDC);
        Slot& cur = m_slots[m_cur];
        Slot& before = m_slots[m_cur ^ 1];
        if (before.cutting) FinishCut(before);
        if (!cur.in.empty()) StartCut(cur);
        if (!before.faceLines.empty()) Fill(pDC, before);
        m_cur ^= 1;
    }
    // Everything gathered drawn, the batch emptied.
    void Draw(CDC* pDC) {
        if (m_crew) {
            Next(pDC);
            Slot& last = m_slots[m_cur ^ 1];
            if (last.cutting) FinishCut(last);
            if (!last.faceLines.empty()) Fill(pDC, last);
            return;
        }
        if (m_s.faceLines.empty()) return;
        FillFaces(pDC, m_s.segs, m_s.faceLines);
        m_s.Clear();
    }

private:
    struct Lists {
        std::vector<POINT> pts, segs;
        std::vector<int> counts, facePolys, faceLines;
        std::vector<COLORREF> colors;
        std::vector<C3DPoint> vcs;
        void Clear() {
            pts.clear();
            segs.clear();
            counts.clear();
            facePolys.clear();
            faceLines.clear();
            colors.clear();
        }
    };
    struct FaceIn {
        double values[4];
        C3DPoint corners[4];
        int flags[4];
        int n;
    };
    // One thread's cut: its own copy of the scale, its band lists and shading.
    struct Cutter {
        Cutter(const CContourEngine& s, I_PVXModel& model) : scale(s), shade(model), bandColor(scale) {}
        CContourEngine scale;
        I_PVXModel::FlatShader shade;
        CContourEngine::ValueColors bandColor;
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vertices;
        std::vector<C3DPoint> vcs;
    };
    // A batch with a crew: its faces and edges as gathered, its bands cut in pieces of
    // kPieceFaces faces (each piece's lists kept from batch to batch).
    static constexpr size_t kPieceFaces = 64;
    struct Slot {
        std::vector<FaceIn> in;
        std::vector<POINT> segs;
        std::vector<int> faceLines;
        std::vector<Lists> pieces;
        size_t nPieces = 0;
        std::atomic<size_t> next{0};
        std::function<void(int)> job;
        bool cutting = false;  // handed to the crew and not finished
    };
    void StartCut(Slot& slot) {
        const size_t nFaces = slot.in.size();
        slot.nPieces = (nFaces + kPieceFaces - 1) / kPieceFaces;
        if (slot.pieces.size() < slot.nPieces) slot.pieces.resize(slot.nPieces);
        slot.next.store(0);
        slot.job = [this, &slot, nFaces](int thread) {
            Cutter& c = *m_cutters[static_cast<size_t>(thread)];
            for (size_t k; (k = slot.next.fetch_add(1)) < slot.nPieces;) {
                Lists& out = slot.pieces[k];
                out.Clear();
                const size_t end = std::min(nFaces, (k + 1) * kPieceFaces);
                for (size_t f = k * kPieceFaces; f < end; ++f) {
                    const FaceIn& in = slot.in[f];
                    const size_t polys = out.counts.size();
                    if (CutFaceBandsBy(c.scale, in.values, in.corners, in.n, in.flags, 0, c.sizes, c.vertices))
                        AppendBandPixels(c.scale, m_ctrl, m_terms, c.shade, c.bandColor, c.sizes, c.vertices, c.vcs,
                                         out.pts, out.counts, out.colors);
                    out.facePolys.push_back(static_cast<int>(out.counts.size() - polys));
                }
            }
        };
        slot.cutting = true;
        m_crew->Start(slot.job);
    }
    void FinishCut(Slot& slot) {
        m_crew->Finish(slot.job);
        slot.cutting = false;
    }
    // A cut slot's pieces joined in the faces' order and drawn, the slot emptied.
    void Fill(CDC* pDC, Slot& slot) {
        m_s.Clear();
        for (size_t k = 0; k < slot.nPieces; ++k) {
            const Lists& out = slot.pieces[k];
            m_s.pts.insert(m_s.pts.end(), out.pts.begin(), out.pts.end());
            m_s.counts.insert(m_s.counts.end(), out.counts.begin(), out.counts.end());
            m_s.colors.insert(m_s.colors.end(), out.colors.begin(), out.colors.end());
            m_s.facePolys.insert(m_s.facePolys.end(), out.facePolys.begin(), out.facePolys.end());
        }
        FillFaces(pDC, slot.segs, slot.faceLines);
        m_s.Clear();
        slot.in.clear();
        slot.segs.clear();
        slot.faceLines.clear();
        slot.nPieces = 0;
    }
    // m_s's bands with these edges into the DC.
    void FillFaces(CDC* pDC, const std::vector<POINT>& segs, const std::vector<int>& faceLines) {
        SolidFaceRun run;
        run.pts = m_s.pts.data();
        run.counts = m_s.counts.data();
        run.colors = m_s.colors.data();
        run.segs = segs.data();
        run.facePolys = m_s.facePolys.data();
        run.faceLines = faceLines.data();
        run.faces = static_cast<int>(m_s.facePolys.size());
        m_ctrl.FillFaces(pDC, run);
    }
    // Per thread, kept from member to member and frame to frame.
    [[gnu::noinline]] static Lists& Store() {
        thread_local Lists lists;
        return lists;
    }
    CEngineBase& m_engine;
    CContourEngine& m_scale;
    I_PVXCtrl& m_ctrl;
    const GViewCamera::PixelTerms m_terms;
    const I_PVXModel::FlatShader m_shade;
    CContourEngine::ValueColors m_bandColor;
    Lists& m_s;
    WorkCrew* m_crew;
    std::vector<std::unique_ptr<Cutter>> m_cutters;
    Slot m_slots[2];
    int m_cur = 0;  // the slot being gathered; the other is cut or empty
};

}  // namespace

int CPlotDeformEng::DrawContourFaces(CDC* pDC, UINT nMemb, T_PMEMB_D& memb, int bDeformed) {
    // The member's faces kept as flat arrays, with the displacement record of each node key:
    // six numbers a node kept with the deformed faces, else read when a face first needs it.
    const double* records = nullptr;
    const PVXFlatFaces* kept = nullptr;
    if (bDeformed) {
        kept = m_pEngine->KeptDeformedFaces(nMemb, records);
    } else {
        T_SHAPE_ARGUMENT arg;
        kept = m_pModel->KeptMemberFaces(m_pModel->m_KeptShapes, nMemb, memb, arg, true);
    }
    if (!kept) return kNotKept;
    const PVXFlatFaces& ff = *kept;
    int nElemType = memb.type;
    T_PELEM_D first;
    if (memb.aElem.GetSize() > 0 && m_pModel->GetAttrCtrl()->GetElem(memb.aElem[0], first)) nElemType = first.type;

    const ContourStyle cs = GetContourStyle();
    const bool bSlab = cs.bSlab, bAnimate = cs.bAnimate, bEdgeStyle = cs.bEdgeStyle, bPreFill = cs.bPreFill;
    const double frame = cs.frame;
    const bool bBands = nElemType != 101 && nElemType != 202;
    const int nFaces = ff.Faces();
    // One value per node and one pixel per point, each made when a face first needs it; the
    // values of the load's records all at once, the records fetched ahead (faces in depth order
    // reach their nodes in no order).
    const bool bDistinct = ff.HasPointIndex();
    std::vector<double>& nodeValues = NodeValueScratch();
    std::vector<unsigned char>& made = MadeScratch();
    nodeValues.resize(ff.nodes.size());
    made.assign(ff.nodes.size() + (bDistinct ? ff.points.size() : 0), 0);
    if (!bSlab && !records) {
        m_pEngine->GetDispValues(ff.nodes, nodeValues.data());
        std::fill(made.begin(), made.begin() + static_cast<std::ptrdiff_t>(ff.nodes.size()), 1);
    }
    auto valueOf = [&](int k) {
        if (made[static_cast<size_t>(k)]) return nodeValues[static_cast<size_t>(k)];
        made[static_cast<size_t>(k)] = 1;
        double& value = nodeValues[static_cast<size_t>(k)];
        if (bSlab) {
            T_DISP_D d;
            m_pEngine->GetSDflcData(ff.nodes[static_cast<size_t>(k)], d);
            value = m_pEngine->CalcDispValue(d);
        } else {
            const double* r = records + 6 * k;
            const T_DISP_D d{r[0], r[1], r[2], r[3], r[4], r[5]};
            value = m_pEngine->CalcDispValue(d);
        }
        return value;
    };
    // Edges from the points projected once, when they would go to the DC as such anyway.
    // The view's copy of each edge, when there is one, goes on one client DC for the member.
    const bool bPixelEdges = bEdgeStyle && m_pModel->DrawsEdgesAtOnce(pDC, true);
    std::vector<CPoint>& px = PixelScratch();
    std::unique_ptr<CClientDC> client;
    const I_PVXCtrl& ctrl = *m_pModel->m_pPVXCtrl;
    unsigned char* const pixelMade = made.data() + ff.nodes.size();
    if (bPixelEdges) {
        if (bDistinct) px.resize(ff.points.size());
        else ff.Project(ctrl, px);
        client = m_pModel->MakeEdgeClientCopy();
        // Nothing of the copy would be drawn where the image is about to cover the window.
        if (client && m_pModel->m_pPVXCtrl->LeavesOutWindowItems(client.get())) client.reset();
    }

    // Bands and edges of a run of faces go to the DC in one call, when the list would go
    // straight into pixels with nothing else drawn on the DC between the faces (the client
    // copy's edges go to another picture, face by face).
    // A member of more faces than a batch has its bands cut on helper threads as well; not while
    // a film records, whose encoder has a thread of its own (measured: helpers then slow it).
    // The crew is made for the first such member and kept for the rest of the drawing.
    WorkCrew* crew = nullptr;
    std::optional<FaceBatch> batch;
    if (bPixelEdges && bBands && !bPreFill && bDistinct && m_pEngine->ListsGoToPixels(pDC)) {
        if (static_cast<size_t>(nFaces) > FaceBatch::kMaxFaces && WorkThreads() > 1 &&
            !m_pModel->m_AnimationEngine.m_bRecording) {
            if (!m_pCrew) m_pCrew = std::make_unique<WorkCrew>(WorkThreads() - 1);
            if (m_pCrew->Helpers() > 0) crew = m_pCrew.get();
        }
        batch.emplace(*m_pEngine, *m_pContourEngine, *m_pModel, crew);
    }

    CArray<int, int> flags;
    CList<C3DPoint> face;
    C3DPoint own[4];  // a face's corners when the faces keep only their points
    auto asList = [&](int f) {
        face.RemoveAll();
        const C3DPoint* p = ff.Corners(f, own);
        for (int i = 0; i < ff.Count(f); ++i) face.AddTail(p[i]);
    };
    double v[4];
    for (int f = 0; f < nFaces; ++f) {
        if (WatchEscKeyPress()) {
            if (batch) batch->Draw(pDC);
            return -1;
        }
        const int n = ff.Count(f);
        if (n < 2 || n > 4) continue;
        const C3DPoint* p = ff.Corners(f, own);
        if (NeedsVisibleTest(nFaces, nElemType, n) &&
            !ff.IsVisible(f, [&](const C3DPoint* q, int k) { return m_pModel->IsVisibleFace(q, k) != 0; }))
            continue;
        const int at = ff.start[f];
        for (int i = 0; i < n; ++i) {
            v[i] = valueOf(ff.node[at + i]);
            if (bAnimate) v[i] = m_pContourEngine->GetSubFrameValue(v[i], frame);
        }
        if (n == 2) {
            if (batch) batch->Draw(pDC);
            DrawContourLineFace(pDC, p[0], p[n - 1], v[0], v[1]);
            continue;
        }
        static constexpr int kEdgeFlags[4] = {1, 1, 1, 1};
        // The corners from the distinct points (the same bits) the edges' pixels are made from,
        // rather than from the face's own copies.
        C3DPoint q[4];
        if (bDistinct)
            for (int i = 0; i < n; ++i) q[i] = ff.points[static_cast<size_t>(ff.point[at + i])];
        auto makePixels = [&] {
            for (int i = 0; i < n; ++i) {
                const int k = ff.point[at + i];
                if (!pixelMade[k]) {
                    pixelMade[k] = 1;
                    px[static_cast<size_t>(k)] = ctrl.MemPixel(q[i]);
                }
            }
        };
        if (batch) {
            batch->Add(v, q, n, kEdgeFlags, [&](std::vector<POINT>& out) {
                makePixels();
                ff.AppendEdges(f, px, out);
            });
            if (client) m_pModel->DrawEdgesOnClientCopy(pDC, client.get(), p, n);
            if (batch->Full()) batch->Next(pDC);
            continue;
        }
        flags.SetSize(n);
        for (int i = 0; i < n; ++i) flags[i] = 1;
        if (bPreFill || !bBands) {
            asList(f);
            DrawPolygon3DFill(pDC, face, flags, m_pColorOpt->m_crInactive);
            DrawPolygonEdge(pDC, face, flags, 0);
        }
        if (bBands) m_pEngine->DoSubPolyContourOf(pDC, v, bDistinct ? q : p, n, kEdgeFlags, 0);
        if (bEdgeStyle) {
            if (bPixelEdges) {
                if (bDistinct) makePixels();
                ff.DrawEdges(pDC, f, px);
                if (client) m_pModel->DrawEdgesOnClientCopy(pDC, client.get(), p, n);
            } else {
                asList(f);
                DrawPolygonEdge(pDC, face, flags, 0);
            }
        }
    }
    if (batch) batch->Draw(pDC);
    return 1;
}

// ---- settlement contour ---------------------------------------------------------------------------

int CPlotDeformEng::DrawSettlementContour() {
    if (!m_pEngine->m_bDataReady) return 0;
    {
        // The model under the map, in outline while the contour is shown.
        OptionRestore restore(m_pDispOpt);
        if (IsResultDisplayOn() && m_pWireFrame) *m_pWireFrame = 1;
        if (DrawOriginal(0) == -1) return -1;
    }
    CArray<C3DPoint, C3DPoint> pts;
    CArray<double, double> vals;
    for (INT_PTR i = 0; i < m_pEngine->m_arrSettleKey.GetSize(); ++i) {
        T_PCDSINK_D rec;
        double v = 0.0;
        if (!m_pEngine->GetSettlementData(m_pEngine->m_arrSettleKey[i], rec, v)) continue;
        // The map lies at the points' level and is coloured by the settlement itself, as the
        // legend's scale is.
        pts.Add(C3DPoint(rec.x, rec.y, rec.z));
        vals.Add(v);
    }
    I_PVXCtrl* ctrl = m_pModel->m_pPVXCtrl;
    if (!ctrl) return 1;
    GKrigContourDetail detail;
    if (const CContourEngine* c = m_pContourEngine) {
        detail.m_nColorNum = c->m_nNumColor;
        detail.m_nColorType = c->m_nColorTableKind;
        for (int i = 0; i < 6; ++i) detail.m_crSerial[i] = c->GetSerialColor(i);
        detail.m_crSerial[6] = c->GetSerialColor(30);
        detail.m_crOption = c->m_crContourLine;
        detail.m_dOption[0] = c->m_dOption[0];
        detail.m_dOption[1] = c->m_dOption[1];
        detail.m_dOption[2] = c->m_nOption[0];
        detail.m_dOption[3] = c->m_nOption[1];
        detail.m_dOption[4] = -c->m_dContourFactor;
    }
    detail.m_nModelOption = m_pModel->m_bContourAnnot;
    detail.m_dCellPixels = kKrigCellPixels;
    if (IsResultDisplayOn()) {
        // The map lies beneath the settlement values written next.
        ctrl->OnKrigContour(pts, vals, 1, detail);
        ctrl->DrawKrigContourBeneath(m_pDC);
    } else
        ctrl->OffKrigContour();
    return 1;
}

// ---- numbers --------------------------------------------------------------------------------------

int CPlotDeformEng::OutputNumbers(int) {
    if (!m_pEngine || !m_pEngine->m_bDataReady) return 0;
    return WriteNumbers(0);
}

int CPlotDeformEng::OutputSlabDeflectionNumbers(int) {
    if (!m_pEngine || !m_pEngine->m_bDataReady) return 0;
    return WriteNumbers(1);
}

int CPlotDeformEng::OutputSlabDeflectionNumbersMemb(int) { return 0; }

int CPlotDeformEng::OutputSettlementNumbers(int) { return m_pEngine ? WriteNumbers(2) : 0; }

int CPlotDeformEng::WriteNumbers(int nKind) {
    if (!m_pModel || !m_pNumberOpt || !m_pModel->m_pPVXCtrl || !m_pDC) return 0;
    const T_PVX_DOPT_NUMBER_D& num = *m_pNumberOpt;
    I_PVXCtrl* ctrl = m_pModel->m_pPVXCtrl;

    // Points: the displaced nodes, or the settlement points.
    CArray<UINT, UINT> keys;
    CArray<C3DPoint, C3DPoint> pts;
    if (nKind == 2) {
        for (INT_PTR i = 0; i < m_pEngine->m_arrSettleKey.GetSize(); ++i) {
            T_PCDSINK_D rec;
            double v;
            if (!m_pEngine->GetSettlementData(m_pEngine->m_arrSettleKey[i], rec, v)) continue;
            keys.Add(m_pEngine->m_arrSettleKey[i]);
            pts.Add(C3DPoint(rec.x, rec.y, rec.z));
        }
    } else if (!m_pModel->m_bFigureMode) {
        keys.Copy(m_pEngine->m_arrNodeKey);
        if (!m_pEngine->MakeNodeDispData4Output(keys, pts)) return 0;
    }

    LOGFONT lf = num.m_lfNumber;
    lf.lfEscapement = lf.lfOrientation = num.m_bFixedNumberAngle ? num.m_nNumberAngle : 0;
    lf.lfHeight = GetCurViewTextHeight(lf.lfHeight);
    CFont font;
    font.CreatePointFontIndirect(&lf, m_pDC);
    const int saved = m_pDC->SaveDC();
    m_pDC->SelectObject(&font);
    m_pDC->SetBkMode(num.m_bNumberOpaque ? OPAQUE : TRANSPARENT);
    m_pDC->SetTextColor(num.m_crNumber[0]);
    m_pDC->SetBkColor(num.m_crNumberBack);
    m_pDC->SetTextAlign(kAlignBottomLeft);
    char fmt[16];
    std::snprintf(fmt, sizeof(fmt), num.m_bExponent ? "%s%de" : "%s%df", "%.", num.m_nDecimals);

    const bool bWindow = m_pModel->m_bExternalDevice != 0;
    const double lmax = m_pEngine->m_dLegendMax, lmin = m_pEngine->m_dLegendMin;
    // Band of the extremes: the percent of the legend's span (min/max-only output).
    const double band = (lmax - lmin) * num.m_dNumberFactor * 0.01;
    const int bOnlyMinMax = num.m_nNumberOpt2;
    const int kind = num.m_nNumberOpt1;
    int written = 0;
    for (INT_PTR i = 0; i < keys.GetSize() && i < pts.GetSize(); ++i) {
        double value = 0.0;
        if (nKind == 2) {
            T_PCDSINK_D rec;
            if (!m_pEngine->GetSettlementData(keys[i], rec, value)) continue;
        } else {
            T_DISP_D d;
            const int read = nKind == 1 ? m_pEngine->GetSDflcData(keys[i], d) : m_pEngine->GetDispData(keys[i], d);
            if (!read) continue;
            value = m_pEngine->CalcDispValue(d);
        }
        if (!bOnlyMinMax) {
            const CPoint w = bWindow ? ctrl->GetWorldToWindowP2D(pts[i]) : ctrl->GetWorldToMemDCP2D(pts[i]);
            if (w.x < 0 || w.y < 0) continue;
            char text[64];
            std::snprintf(text, sizeof(text), fmt, value);
            m_pDC->TextOut(w.x, w.y, text);
            ++written;
            continue;
        }
        int label = -1;  // 0 "Max:", 1 "Min:", 2 "MAX:"
        switch (kind) {
        case 0:
            if (lmax - value <= band) label = 0;
            else if (value - lmin <= band) label = 1;
            break;
        case 1: {
            const double far = std::fabs(lmax) < std::fabs(lmin) ? std::fabs(lmin) : std::fabs(lmax);
            if (far - std::fabs(value) <= band) label = 2;
            break;
        }
        case 2:
            if (lmax - value <= band) label = 0;
            break;
        case 3:
            if (value - lmin <= band) label = 1;
            break;
        default: break;
        }
        if (label < 0) continue;
        const CPoint w = bWindow ? ctrl->GetWorldToWindowP2D(pts[i]) : ctrl->GetWorldToMemDCP2D(pts[i]);
        if (w.x < 0 || w.y < 0) continue;
        DrawMinMaxOutputValue(m_pDC, pts[i], fmt, label, value);
        ++written;
    }

    // Figure mode: the beam values along each beam, turned with it.
    if (nKind == 0 && m_pModel->m_bFigureMode) {
        for (INT_PTR b = 0; b < m_pEngine->m_arrBeamDeform.GetSize(); ++b) {
            const T_BEAM_DEFORM& rec = m_pEngine->m_arrBeamDeform[b];
            const INT_PTR n = rec.arrPoint.GetSize();
            if (n < 2) continue;
            const C3DPoint& p0 = rec.arrPoint[0];
            const C3DPoint& p1 = rec.arrPoint[n - 1];
            const CPoint w0 = bWindow ? ctrl->GetWorldToWindowP2D(p0) : ctrl->GetWorldToMemDCP2D(p0);
            const CPoint w1 = bWindow ? ctrl->GetWorldToWindowP2D(p1) : ctrl->GetWorldToMemDCP2D(p1);
            if (w0.x < 0 || w0.y < 0 || w1.x < 0 || w1.y < 0) continue;
            int angle = 0;
            CUtilFuncs::GetSlope2Point(angle, w0.x, w0.y, w1.x, w1.y);
            const double len = std::sqrt((p1.x - p0.x) * (p1.x - p0.x) + (p1.y - p0.y) * (p1.y - p0.y) +
                                         (p1.z - p0.z) * (p1.z - p0.z));
            const bool bLeft = w1.x < w0.x;
            const UINT align = len >= 0.5 ? (bLeft ? 10 : 0) : (bLeft ? 8 : 2);
            for (INT_PTR i = 0; i < n && i < rec.arrValue.GetSize(); ++i) {
                const CPoint w = bWindow ? ctrl->GetWorldToWindowP2D(rec.arrPoint[i])
                                         : ctrl->GetWorldToMemDCP2D(rec.arrPoint[i]);
                if (w.x < 0 || w.y < 0) continue;
                char text[64];
                std::snprintf(text, sizeof(text), fmt, rec.arrValue[i]);
                m_pDC->SetTextAlign(align);
                m_pDC->TextOut(w.x, w.y, text);
                ++written;
            }
        }
    }
    m_pDC->RestoreDC(saved);
    return 1;
}
