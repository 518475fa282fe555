// CPlotReactionEng: display mode 70, the spring-pressure contour on raft and beam members and
// the element extremes written at the element centres.
#include <cmath>

#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CPlotReactionEng.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/OptionScope.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/ShapeTypes.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CSelectScope.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWaitCursor.h"

namespace {

constexpr double kEndTol = 1e-6;     // a vertex within this fraction of an end belongs to it
constexpr double kWidePen = 1.7;     // beam pen with the outline switch on

// The points of a face as an array.
int FacePoints(PVXPolyList& face, C3DPoint* pts, int nMax) {
    int n = 0;
    POSITION pos = face.GetHeadPosition();
    while (pos && n < nMax) pts[n++] = face.GetNext(pos);
    return n;
}

// A face as the point list the band cutting takes.
void CopyFace(PVXPolyList& face, CList<C3DPoint, C3DPoint>& out) {
    out.RemoveAll();
    POSITION pos = face.GetHeadPosition();
    while (pos) out.AddTail(face.GetNext(pos));
}

// Edge flags of a face: every edge drawn.
void AllEdgesOfCount(int n, CArray<int, int>& flags) {
    flags.SetSize(n);
    for (int i = 0; i < n; ++i) flags[i] = 1;
}

// The corner of a quadrilateral side face from which its ring runs i-end, j-end, j-end, i-end
// (t: the corners' fractions along the element); -1 when the face is not such a face.
int SideFaceStart(const double* t, int n) {
    if (n != 4) return -1;
    for (int r = 0; r < 4; ++r) {
        const bool iA = std::fabs(t[r]) < kEndTol, jB = std::fabs(t[(r + 1) % 4] - 1.0) < kEndTol;
        const bool jC = std::fabs(t[(r + 2) % 4] - 1.0) < kEndTol, iD = std::fabs(t[(r + 3) % 4]) < kEndTol;
        if (iA && jB && jC && iD) return r;
    }
    return -1;
}

// Pressure of a beam element at fraction t of its length (component 0 of the segment record).
double BeamValueAt(const T_STRG_D& rec, double t) {
    const double x = std::clamp(t, 0.0, 1.0) * 8.0;
    int k = static_cast<int>(x);
    if (k > 7) k = 7;
    const double f = x - k;
    return rec.d[12 * k] * (1.0 - f) + rec.d[12 * k + 6] * f;
}

}  // namespace

// ---- helpers ---------------------------------------------------------------------------------

void CPlotReactionEng::AppendCrossings(const C3DPoint& a, const C3DPoint& b, double va, double vb,
                                       CArray<C3DPoint, C3DPoint>& points, CArray<double, double>& values) {
    // The scale lists crossings from the higher end; walked from a they come out reversed.
    if (va > vb) {
        m_pContourEngine->GetRankVertices(a, b, va, vb, points, values, nullptr);
    } else if (vb > va) {
        CArray<C3DPoint, C3DPoint> p;
        CArray<double, double> v;
        m_pContourEngine->GetRankVertices(b, a, vb, va, p, v, nullptr);
        for (INT_PTR i = p.GetSize() - 1; i >= 0; --i) {
            points.Add(p[i]);
            values.Add(v[i]);
        }
    }
    C3DPoint end = b;
    points.Add(end);
    values.Add(vb);
}

void CPlotReactionEng::BandedLine(CArray<C3DPoint, C3DPoint>& points, CArray<double, double>& values) {
    if (points.GetSize() >= 2) m_pReactionEngine->DrawContourLine(m_pDC, points, values);
}

void CPlotReactionEng::BandedLineFace(const C3DPoint* pts, const double* values) {
    // A line face runs from its lower to its higher end.
    const int lo = values[0] <= values[1] ? 0 : 1;
    CArray<C3DPoint, C3DPoint> points;
    CArray<double, double> vals;
    points.Add(pts[lo]);
    vals.Add(values[lo]);
    AppendCrossings(pts[lo], pts[1 - lo], values[lo], values[1 - lo], points, vals);
    BandedLine(points, vals);
}

void CPlotReactionEng::DrawUndeformedOutline() {
    if (!m_pReactionEngine->GetDeformedCntr() || !m_pUndeformedWireFrame || !*m_pUndeformedWireFrame || !m_pDrawStyle)
        return;
    OptionScope hidden(*m_pDrawStyle, 2);
    DrawOriginal(1);
}

// ---- raft ----------------------------------------------------------------------------------------

int CPlotReactionEng::DrawRaftContour() {
    CReactionEngine& e = *m_pReactionEngine;
    I_PVXModel* m = m_pModel;
    if (!m || !m_pDC || !m->m_pPVXCtrl || !m->GetAttrCtrl()) return 0;
    CWaitCursor wait;
    if (!e.m_bDataReady) {
        DrawOriginal(0);
        return 0;
    }
    CPen pen(PS_SOLID, GetPenWidth(), m_pContourEngine ? m_pContourEngine->m_crContourLine : RGB(0, 0, 0));
    CSelectScope<CPen> selectPen(m_pDC, &pen);
    CArray<GRE_Atom, GRE_Atom&> atoms;
    GetZSortedMembers(m->m_arrAllMembKey, e.GetDeformedCntr(), atoms);
    const bool bZoomAll = m->m_pPVXCtrl->IsZoomAllState() != 0;
    for (INT_PTR i = 0; i < atoms.GetSize(); ++i) {
        if (WatchEscKeyPress()) return -1;
        const UINT nKey = atoms[i].m_nKey;
        if (!bZoomAll && !IsObjectInClientWindow(atoms[i].m_nType, nKey)) continue;
        T_PMEMB_D memb;
        if (!m->GetAttrCtrl()->GetMemb(nKey, memb)) continue;
        if (IsActiveElem(nKey) && memb.type == 301) {
            const int r = DrawRaftMemberContour(nKey, memb);
            if (r == -1) return -1;
            if (r != 0) continue;
        }
        if (m->PVXDrawInactiveMember(m_pDC, nKey) == -1) return -1;
    }
    DrawUndeformedOutline();
    return 1;
}

int CPlotReactionEng::DrawRaftMemberContour(UINT nMembKey, const T_PMEMB_D& membIn) {
    if (!m_pContourEngine) return 0;
    CReactionEngine& e = *m_pReactionEngine;
    I_PVXModel* m = m_pModel;
    T_PMEMB_D memb = membIn;
    {
        T_SHAPE_ARGUMENT kept;
        kept.bDeformed = e.GetDeformedCntr();
        if (const PVXFlatFaces* faces = m->KeptMemberFaces(m->m_KeptShapes, nMembKey, memb, kept, true))
            return DrawRaftFaces(memb, *faces);
    }
    CEngineBase::ShapeLists shape;
    T_SHAPE_ARGUMENT arg;
    arg.bDeformed = e.GetDeformedCntr();
    arg.pFaceNodeKeys = &shape.nodeKeys;
    m->GetShapeMember(nMembKey, memb, shape.faces, nullptr, arg, 1, 1);

    const int nStyle = m_pDrawStyle ? *m_pDrawStyle : 1;
    const bool bPreFill = (nStyle == 2 || nStyle == 3) && m_pContourEngine->m_nFillStyle == 1;
    COLORREF faceColors[2] = {RGB(0, 0, 0), RGB(192, 192, 192)};
    m->GetMembColor(memb, faceColors);
    CArray<int, int> flags;
    for (INT_PTR f = 0; f < shape.faces.GetSize(); ++f) {
        if (WatchEscKeyPress()) return -1;
        PVXPolyList* face = shape.faces[f];
        const int n = face ? static_cast<int>(face->GetCount()) : 0;
        if (n < 2 || n > 4 || f >= shape.nodeKeys.GetSize()) continue;
        if (!IsVisibleFace(face, n)) continue;
        C3DPoint pts[4];
        FacePoints(*face, pts, 4);
        double values[4];
        const CArray<UINT>& keys = *shape.nodeKeys[f];
        for (int k = 0; k < n; ++k) {
            T_REAC_D r;
            e.GetReacData(k < keys.GetSize() ? keys[k] : 0, r);
            values[k] = Animated(e.CalcReacValue(e.m_nComponent, r));
        }
        if (n == 2) {
            BandedLineFace(pts, values);
            continue;
        }
        AllEdgesOfCount(n, flags);
        if (bPreFill) {
            DrawPolygon3DFill(m_pDC, *face, flags, faceColors[1]);
            DrawPolygonEdge(m_pDC, *face, flags, 0);
        }
        int edgeFlags[4] = {1, 1, 1, 1};
        CList<C3DPoint, C3DPoint> poly;
        CopyFace(*face, poly);
        e.DoSubPolyContour(m_pDC, values, &poly, edgeFlags, 0);
        if (bPreFill) DrawPolygonEdge(m_pDC, *face, flags, 0);
    }
    return 1;
}

int CPlotReactionEng::DrawRaftFaces(const T_PMEMB_D& membIn, const PVXFlatFaces& ff) {
    CReactionEngine& e = *m_pReactionEngine;
    I_PVXModel* m = m_pModel;
    T_PMEMB_D memb = membIn;
    const int nStyle = m_pDrawStyle ? *m_pDrawStyle : 1;
    const bool bPreFill = (nStyle == 2 || nStyle == 3) && m_pContourEngine->m_nFillStyle == 1;
    COLORREF faceColors[2] = {RGB(0, 0, 0), RGB(192, 192, 192)};
    m->GetMembColor(memb, faceColors);
    // One pressure per node, read once.
    thread_local std::vector<double> nodeValues;
    e.GetReacValuesOf(e.m_nComponent, ff.nodes.data(), ff.nodes.size(), nodeValues);
    if (m->m_bAnimation)
        for (double& v : nodeValues) v = Animated(v);
    const bool bPixelEdges = bPreFill && m->DrawsEdgesAtOnce(m_pDC);
    thread_local std::vector<CPoint> px;
    if (bPixelEdges) ff.Project(*m->m_pPVXCtrl, px);
    CArray<int, int> flags;
    CList<C3DPoint> face;
    auto edges = [&](int f) {
        if (bPixelEdges) {
            ff.DrawEdges(m_pDC, f, px);
            return;
        }
        DrawPolygonEdge(m_pDC, face, flags, 0);
    };
    CList<C3DPoint, C3DPoint> poly;
    for (int f = 0; f < ff.Faces(); ++f) {
        if (WatchEscKeyPress()) return -1;
        const int n = ff.Count(f);
        if (n < 2 || n > 4) continue;
        C3DPoint own[4];
        const C3DPoint* pts = ff.Corners(f, own);
        if (!ff.IsVisible(f, [&](const C3DPoint* q, int k) { return m->IsVisibleFace(q, k) != 0; })) continue;
        double values[4];
        for (int k = 0; k < n; ++k) values[k] = nodeValues[ff.node[ff.start[f] + k]];
        if (n == 2) {
            BandedLineFace(pts, values);
            continue;
        }
        if (bPreFill) {
            AllEdgesOfCount(n, flags);  // the face's own fill and edges alone read them
            face.RemoveAll();
            for (int k = 0; k < n; ++k) face.AddTail(pts[k]);
            DrawPolygon3DFill(m_pDC, face, flags, faceColors[1]);
            edges(f);
        }
        int edgeFlags[4] = {1, 1, 1, 1};
        // The point list is reused from face to face (a raft has a hundred thousand).
        while (poly.GetCount() > n) poly.RemoveTail();
        while (poly.GetCount() < n) poly.AddTail(C3DPoint());
        int k = 0;
        for (POSITION pos = poly.GetHeadPosition(); pos;) poly.GetNext(pos) = pts[k++];
        e.DoSubPolyContour(m_pDC, values, &poly, edgeFlags, 0);
        if (bPreFill) edges(f);
    }
    return 1;
}

// ---- beams ---------------------------------------------------------------------------------------

int CPlotReactionEng::DrawBeamContour() {
    CReactionEngine& e = *m_pReactionEngine;
    I_PVXModel* m = m_pModel;
    if (!m || !m_pDC || !m->m_pPVXCtrl || !m->GetAttrCtrl()) return 0;
    if (!e.m_bDataReady) {
        DrawOriginal(0);
        return 0;
    }
    CWaitCursor wait;
    if (m_pNumberOpt && m_pNumberOpt->m_bShowNumbers) m->SelectLoad();
    if (!IsResultDisplayOn()) {
        DrawOriginal(0);
        return 0;
    }
    if (e.GetDeformedCntr() && !m->m_pDeformEngine) return 0;
    const int nWidth =
        (m_pWireFrame && *m_pWireFrame) ? static_cast<int>(GetPenWidth() * kWidePen) : GetPenWidth();
    CPen pen(PS_SOLID, nWidth, m_pContourEngine ? m_pContourEngine->m_crContourLine : RGB(0, 0, 0));
    CSelectScope<CPen> selectPen(m_pDC, &pen);
    CArray<GRE_Atom, GRE_Atom&> atoms;
    GetZSortedMembers(m->m_arrAllMembKey, e.GetDeformedCntr(), atoms);
    const bool bZoomAll = m->m_pPVXCtrl->IsZoomAllState() != 0;
    for (INT_PTR i = 0; i < atoms.GetSize(); ++i) {
        // Escape stops the drawing with -1, so that the caller can tell it from "nothing drawn".
        if (WatchEscKeyPress()) return -1;
        const UINT nKey = atoms[i].m_nKey;
        if (!bZoomAll && !IsObjectInClientWindow(atoms[i].m_nType, nKey)) continue;
        T_PMEMB_D memb;
        if (!m->GetAttrCtrl()->GetMemb(nKey, memb)) continue;
        int r;
        if ((memb.type == 201 || memb.type == 205) && IsActiveElem(nKey)) {
            r = 1;
            for (INT_PTR k = 0; k < memb.aElem.GetSize() && r != -1; ++k) r = DrawBeamElementContour(memb.aElem[k]);
        } else {
            r = e.DrawInactiveMember(m_pDC, nKey);
        }
        if (r == -1) return -1;
    }
    DrawUndeformedOutline();
    return 1;
}

int CPlotReactionEng::DrawBeamElementContour(UINT nElemKey) {
    CReactionEngine& e = *m_pReactionEngine;
    I_PVXModel* m = m_pModel;
    T_PELEM_D elem;
    elem.Initialize();
    if (!m->GetAttrCtrl()->GetElem(nElemKey, elem) || !m_pContourEngine) return 0;
    T_STRG_D rec;
    if (!e.GetReacForce_Beam(nElemKey, rec))
        return e.DrawInactiveElement(m_pDC, nElemKey);
    CEngineBase::ShapeLists shape;
    T_SHAPE_ARGUMENT arg;
    arg.bDeformed = e.GetDeformedCntr();
    m->GetShapeElement(nElemKey, elem, shape.faces, &shape.flags, arg, 1, 0);
    if (shape.faces.GetSize() != shape.flags.GetSize()) return 0;
    CArray<double, double> poses;
    m->RE_GetElemNodePoses(GetFirstObjectID() + (e.GetDeformedCntr() ? 1 : 0), nElemKey, poses);
    if (poses.GetSize() < 6) return 0;
    const INT_PTR nLast = poses.GetSize() - 3;
    const C3DPoint p0(poses[0], poses[1], poses[2]);
    const C3DPoint p1(poses[nLast], poses[nLast + 1], poses[nLast + 2]);
    const C3DPoint axis = p1 - p0;
    const double len2 = axis.x * axis.x + axis.y * axis.y + axis.z * axis.z;
    auto along = [&](const C3DPoint& p) {
        const C3DPoint d = p - p0;
        return len2 > 0.0 ? (d.x * axis.x + d.y * axis.y + d.z * axis.z) / len2 : 0.0;
    };
    auto seg = [&](int k, int end) { return Animated(rec.d[12 * k + 6 * end]); };

    bool bLineShape = true;
    for (INT_PTR f = 0; f < shape.faces.GetSize(); ++f)
        if (shape.faces[f] && shape.faces[f]->GetCount() > 2) bLineShape = false;
    const int nStyle = m_pDrawStyle ? *m_pDrawStyle : 1;
    const bool bBackFace = shape.faces.GetSize() > 1 && GetDisplayOptionA();
    CArray<int, int> flags;
    bool bLineDrawn = false;
    for (INT_PTR f = 0; f < shape.faces.GetSize(); ++f) {
        PVXPolyList* face = shape.faces[f];
        const int n = face ? static_cast<int>(face->GetCount()) : 0;
        if (n < 1) continue;
        if (WatchEscKeyPress()) return -1;
        if (n == 2 || bLineShape) {
            // The element as a banded line through its nine stations, once.
            if (bLineDrawn) continue;
            bLineDrawn = true;
            CArray<C3DPoint, C3DPoint> points;
            CArray<double, double> vals;
            points.Add(p0);
            vals.Add(seg(0, 0));
            for (int k = 0; k < 8; ++k) {
                const C3DPoint a = p0 + axis * (k / 8.0), b = p0 + axis * ((k + 1) / 8.0);
                const double va = seg(k, 0), vb = seg(k, 1);
                if (va != vals[vals.GetSize() - 1]) {  // a step between segments: both values at the station
                    points.Add(a);
                    vals.Add(va);
                }
                AppendCrossings(a, b, va, vb, points, vals);
            }
            BandedLine(points, vals);
            continue;
        }
        if (n > 4) continue;
        if (bBackFace && !IsVisibleFace(face, n)) continue;
        C3DPoint pts[4];
        FacePoints(*face, pts, 4);
        double t[4];
        for (int k = 0; k < n; ++k) t[k] = along(pts[k]);
        const bool bIEnd = std::fabs(t[0]) < kEndTol && std::fabs(t[1]) < kEndTol && std::fabs(t[2]) < kEndTol;
        const bool bJEnd =
            std::fabs(t[0] - 1.0) < kEndTol && std::fabs(t[1] - 1.0) < kEndTol && std::fabs(t[2] - 1.0) < kEndTol;
        int edgeFlags[4] = {1, 1, 1, 1};
        CList<C3DPoint, C3DPoint> poly;
        CopyFace(*face, poly);
        if (bIEnd || bJEnd) {
            const double v = bIEnd ? seg(0, 0) : seg(7, 1);
            double values[4] = {v, v, v, v};
            e.DoSubPolyContour(m_pDC, values, &poly, edgeFlags, 0);
        } else if (int r0 = SideFaceStart(t, n); r0 >= 0) {
            // A side face in eight strips, each from the start to the end value of its segment:
            // corners a, d lie at the i-end, b, c are their partners at the j-end.
            const C3DPoint a = pts[r0], b = pts[(r0 + 1) % 4], c = pts[(r0 + 2) % 4], d = pts[(r0 + 3) % 4];
            for (int k = 0; k < 8; ++k) {
                const double f0 = k / 8.0, f1 = (k + 1) / 8.0;
                CList<C3DPoint, C3DPoint> strip;
                strip.AddTail(a + (b - a) * f0);
                strip.AddTail(a + (b - a) * f1);
                strip.AddTail(d + (c - d) * f1);
                strip.AddTail(d + (c - d) * f0);
                double values[4] = {seg(k, 0), seg(k, 1), seg(k, 1), seg(k, 0)};
                e.DoSubPolyContour(m_pDC, values, &strip, edgeFlags, 0);
            }
        } else {
            double values[4];
            for (int k = 0; k < n; ++k) values[k] = Animated(BeamValueAt(rec, t[k]));
            e.DoSubPolyContour(m_pDC, values, &poly, edgeFlags, 0);
        }
        if (nStyle == 2 || nStyle == 3) {
            AllEdgesOfCount(n, flags);
            DrawPolygonEdge(m_pDC, *face, flags, 0);
        }
    }
    return 1;
}

// ---- numbers ---------------------------------------------------------------------------------------

int CPlotReactionEng::OutputContourNumbers() {
    CReactionEngine& e = *m_pReactionEngine;
    I_PVXModel* m = m_pModel;
    if (!m || !m_pDC || !m_pNumberOpt || !m->m_pPVXCtrl) return 0;
    T_PVX_DOPT_NUMBER_D& n = *m_pNumberOpt;
    m->SetNumberFontNodeOrientation(n.m_bFixedNumberAngle ? n.m_nNumberAngle : 0);
    LOGFONT lf = n.m_lfNodeNumber;
    lf.lfHeight = GetCurViewTextHeight(lf.lfHeight);
    CFont font;
    font.CreatePointFontIndirect(&lf, m_pDC);
    CFont* pOldFont = m_pDC->SelectObject(&font);
    const int nOldBk = m_pDC->SetBkMode(n.m_bNumberOpaque ? OPAQUE : TRANSPARENT);
    const COLORREF crOldText = m_pDC->SetTextColor(n.m_crNumber[0]);
    const COLORREF crOldBack = m_pDC->SetBkColor(n.m_crNumberBack);
    const UINT nOldAlign = m_pDC->SetTextAlign(TA_BOTTOM);
    const CString fmt = NumberFormat();
    for (INT_PTR i = 0; i < e.m_arrElemCenter.GetSize() && i < e.m_arrContrElem.GetSize(); ++i) {
        double v;
        if (!e.GetReacForce_Contr(e.m_arrContrElem[i], v)) continue;
        const T_PNODE_D& c = e.m_arrElemCenter[i];
        WriteNumber(C3DPoint(c.x, c.y, c.z), v, fmt);
    }
    m_pDC->SetTextAlign(nOldAlign);
    m_pDC->SetBkColor(crOldBack);
    m_pDC->SetTextColor(crOldText);
    m_pDC->SetBkMode(nOldBk);
    m_pDC->SelectObject(pOldFont);
    return 1;
}
