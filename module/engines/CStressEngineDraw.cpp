// The drawing side of CStressEngine: contours of a stress component over the plate faces, the
// principal stress arrows, the cutting-line diagrams and the number labels.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <vector>

#include "host/base/CMathFunc.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/engines/EngineDraw.h"
#include "module/engines/OptionScope.h"
#include "module/model/CPVXLabelBase.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PointNumbers.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWaitCursor.h"

namespace {

C3DPoint Centroid(const CList<C3DPoint>& face) {
    C3DPoint c;
    c.Init();
    int n = 0;
    for (POSITION pos = face.GetHeadPosition(); pos; ++n) c = c + face.GetNext(pos);
    return n ? c * (1.0 / n) : c;
}

// out = base + dir x len x k.
C3DPoint Along(const C3DPoint& dir, double len, double k, const C3DPoint& base) {
    const double d[3] = {dir.x, dir.y, dir.z};
    C3DPoint out;
    CUtilFuncs::GetVectorDirectionPoint(d, len, k, base, out);
    return out;
}

}  // namespace

// ---- shapes -------------------------------------------------------------------------------------

int CStressEngine::GetElementFaces(UINT nElem, T_PELEM_D& elem, ShapeLists& shape) {
    T_SHAPE_ARGUMENT arg = shape.Argument(m_bDeformed ? 1 : 0);
    return GetElementShape(nElem, elem, shape.faces, &shape.flags, arg);
}

int CStressEngine::GetSurface(const T_PELEM_D& elem, int nKeys, const CArray<UINT>* pKeys) const {
    if (!pKeys || nKeys < 3 || pKeys->GetSize() < nKeys) return 0;
    if ((*pKeys)[1] == (*pKeys)[2]) return 2;
    const int last = nKeys - 1;
    if (last >= PELEM_MAX_NODE) return 1;
    return (*pKeys)[last] == elem.node[last] ? 0 : 1;
}

int CStressEngine::GetTopBot(int s, int v) {
    switch (s) {
    case 1: return 1;
    case 2: return v < 2 ? 1 : 0;
    default: return 0;
    }
}

// ---- the display --------------------------------------------------------------------------------

void CStressEngine::DrawPStrsContour(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pDispOpt || !pModel->GetAttrCtrl()) return;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    CPVXAttrCtrl& attr = *pModel->GetAttrCtrl();
    CWaitCursor wait;

    OptionScope drawAll(opt.m_bWireFrame);
    if (!pModel->m_bContour && !m_bCuttingLine) {
        pModel->PVXDrawOriginal(pDC, 0);
        return;
    }
    if (m_nComponent == 7) InitVectorAdjustFactor(m_dRefMagnitude);
    if (m_bDeformed) {
        if (!pModel->m_pDeformEngine) return;
        if (opt.m_bUndeformedWireFrame && m_nComponent == 7) {
            opt.m_bWireFrame = 1;
            pModel->PVXDrawOriginal(pDC, 1);
        }
    }

    enginedraw::DCStateScope state(pDC);
    CPen pen;
    pen.CreatePen(PS_SOLID, pModel->m_nPenFactor, m_pContourEngine ? m_pContourEngine->m_crContourLine : RGB(0, 0, 0));
    pDC->SelectObject(&pen);

    CArray<GRE_Atom, GRE_Atom&> atoms;
    ctrl.GetZSortedList(pModel->m_arrActiveMembKey, pModel->m_nObjectIDFirst + (m_bDeformed ? 1 : 0), atoms);
    for (INT_PTR a = 0; a < atoms.GetSize(); ++a) {
        const GRE_Atom atom = atoms[a];
        if (!ctrl.IsZoomAllState() && !ctrl.IsObjectInClientWindow(atom.m_nType, atom.m_nKey)) continue;
        // Escape leaves what was drawn; the cutting lines and overlays of this draw are skipped.
        if (pModel->WatchEscKeyPress()) return;
        T_PMEMB_D memb;
        if (!attr.GetMemb(atom.m_nKey, memb)) continue;
        bool bInactiveDrawn = false;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            const UINT elemKey = memb.aElem[e];
            T_PELEM_D elem;
            elem.Initialize();
            if (!attr.GetElem(elemKey, elem) || !elem.bActive) continue;
            if (!IsPStrsMember(memb.type) || !IsPossiblePStrs(elem)) {
                // The member once, however many of its elements carry no stresses.
                if (!bInactiveDrawn) DrawInactiveMember(pDC, atom.m_nKey);
                bInactiveDrawn = true;
            } else if (m_nComponent == 7) {
                opt.m_bWireFrame = 1;
                DrawPlainElement(pDC, elemKey);
                DoPStrsElementVector(pDC, elemKey);
            } else {
                opt.m_bWireFrame = drawAll.Saved();
                DoPStrsElementContour(pDC, elemKey);
            }
        }
    }

    ctrl.XGL_Begin_CuttingPLDiagram();
    if (m_bCuttingLine) DrawCuttingLineDiagrams(pDC);
    ctrl.XGL_End_CuttingPLDiagram();

    opt.m_bWireFrame = drawAll.Saved();
    if (m_bDeformed && opt.m_bUndeformedWireFrame && m_nComponent != 7) {
        OptionScope edges(opt.m_nRenderMode);
        opt.m_nRenderMode = 2;
        pModel->PVXDrawOriginal(pDC, 1);
    }
}

int CStressEngine::DoPStrsElementContour(CDC* pDC, UINT nElem) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pModel || !pModel->m_pDispOpt || !pModel->GetAttrCtrl()) return 0;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    if (!pModel->m_bContour) {
        DrawPlainElement(pDC, nElem);
        return 1;
    }
    if (!pModel->m_pDeformEngine || !m_pContourEngine) return 0;
    T_PELEM_D elem;
    elem.Initialize();
    if (!pModel->GetAttrCtrl()->GetElem(nElem, elem)) return 0;

    OptionScope drawAll(opt.m_bWireFrame);
    OptionScope hideBack(opt.m_bPlaneCulling);
    if (m_nSurface == 2) {
        // Back faces culled: each visible face shows its own surface.
        opt.m_bWireFrame = 0;
        opt.m_bPlaneCulling = 1;
    }
    ShapeLists f;
    GetElementFaces(nElem, elem, f);
    const INT_PTR nFaces = f.faces.GetSize();
    const bool bEdges = opt.m_nRenderMode == 2 || opt.m_nRenderMode == 3;
    const bool bLinesOnly = m_pContourEngine->m_nFillStyle == 1;
    const double dFrame = pModel->m_bAnimation ? pModel->m_AnimationEngine.GetAnimationFactor(1) : 1.0;

    for (INT_PTR i = 0; i < nFaces; ++i) {
        CList<C3DPoint>* pFace = f.faces[i];
        const UINT key = i < f.faceKeys.GetSize() ? f.faceKeys[i] : nElem;
        T_STRP_DL rec;
        T_PVX_SBEM_D sbem;
        if (!pFace || !GetPlateStress(key, rec) || !GetSbemD(key, sbem)) continue;
        const int n = static_cast<int>(pFace->GetCount());
        if (n == 2) continue;
        if (nFaces > 1 && !opt.m_bWireFrame && opt.m_bPlaneCulling && !pModel->IsVisibleFace(pFace, n)) continue;
        // The face's edge flags (a missing list draws every edge).
        CArray<int, int> edgeFlags;
        const CArray<int>* pFaceFlags = i < f.flags.GetSize() ? f.flags[i] : nullptr;
        if (pFaceFlags)
            for (INT_PTR v = 0; v < pFaceFlags->GetSize(); ++v) edgeFlags.Add((*pFaceFlags)[v]);
        CArray<int, int>* pFlags = pFaceFlags ? &edgeFlags : nullptr;

        if (bEdges && bLinesOnly) {
            pModel->DrawPolygon3DFill(pDC, *pFace, opt.m_Color.m_crBackground, nullptr);
            pModel->PVXDrawPolygonEdge(pDC, pFace, pFlags, 0);
        }
        if (m_bContour) {
            const CArray<UINT>* pKeys = i < f.nodeKeys.GetSize() ? f.nodeKeys[i] : nullptr;
            const int s = m_nSurface == 2 ? GetSurface(elem, pKeys ? static_cast<int>(pKeys->GetSize()) : 0, pKeys) : 0;
            std::vector<double> values(static_cast<size_t>(n), 0.0);
            for (int v = 0; v < n; ++v) {
                const int t = m_nSurface == 2 ? GetTopBot(s, v) : 0;
                const int at = pKeys && v < pKeys->GetSize() ? GetNodeOrder((*pKeys)[v], sbem.m_arrNodeKey) : -1;
                // A vertex that is no corner of the record (not a node of the element, or past
                // the fourth corner) takes the centre value.
                const int point = at >= 0 && at < kCornerBlocks ? at + 1 : 0;
                double value = CalcPStrsValue(rec, point, t);
                if (pModel->m_bAnimation) value = m_pContourEngine->GetSubFrameValue(value, dFrame);
                values[static_cast<size_t>(v)] = value;
            }
            std::vector<int> flags(static_cast<size_t>(n), 0);
            for (int v = 0; v < n && v < edgeFlags.GetSize(); ++v) flags[static_cast<size_t>(v)] = edgeFlags[v];
            CList<C3DPoint, C3DPoint> polygon;
            for (POSITION pos = pFace->GetHeadPosition(); pos;) polygon.AddTail(pFace->GetNext(pos));
            DoSubPolyContour(pDC, values.data(), &polygon, flags.data(), 0);
        }
        if (bEdges && !bLinesOnly) pModel->DrawPolygonEdge(pDC, pFace, pFlags, 0);
    }
    return 1;
}

int CStressEngine::DoPStrsElementVector(CDC* pDC, UINT nElem) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pModel || !pModel->GetAttrCtrl()) return 0;
    T_PELEM_D elem;
    elem.Initialize();
    if (!pModel->GetAttrCtrl()->GetElem(nElem, elem)) return 0;
    ShapeLists f;
    GetElementFaces(nElem, elem, f);
    CPVXSElemCtrl se;
    se.GetSuperElemData(nElem);
    double axes[3][3];
    // An element whose axes cannot be formed has no records: the build skipped it.
    if (!CalcSElemLocalVec(nElem, elem, axes, &se, elem.beta, 0)) return 0;
    for (INT_PTR i = 0; i < f.faces.GetSize(); ++i) {
        CList<C3DPoint>* pFace = f.faces[i];
        if (!pFace || pFace->GetCount() >= 5) continue;
        CArray<C3DPoint, C3DPoint&> points;
        for (POSITION pos = pFace->GetHeadPosition(); pos;) points.Add(pFace->GetNext(pos));
        DoPStrsElementVector_Sub(pDC, points, i < f.faceKeys.GetSize() ? f.faceKeys[i] : nElem, axes);
    }
    return 1;
}

void CStressEngine::DoPStrsElementVector_Sub(CDC* pDC, CArray<C3DPoint, C3DPoint&>& points, UINT nKey,
                                             double axes[][3]) {
    I_PVXModel* pModel = GetModel();
    T_STRP_DL rec;
    if (!pDC || !pModel || !pModel->m_pDeformEngine || !m_pContourEngine || !GetPlateStress(nKey, rec)) return;
    if (points.GetSize() == 0) return;
    const double s1 = rec.blk[0][3], s2 = rec.blk[0][4], angle = rec.blk[0][5];
    const CContourEngine& scale = *m_pContourEngine;
    const COLORREF c1 = pModel->m_bGradient ? scale.GetValueColorGrad(s1) : scale.GetValueColor(s1);
    const COLORREF c2 = pModel->m_bGradient ? scale.GetValueColorGrad(s2) : scale.GetValueColor(s2);
    CPen pen1, pen2;
    pen1.CreatePen(PS_SOLID, pModel->m_nPenFactor, c1);
    pen2.CreatePen(PS_SOLID, pModel->m_nPenFactor, c2);

    C3DPoint c;
    c.Init();
    for (INT_PTR i = 0; i < points.GetSize(); ++i) c = c + points[i];
    c = c * (1.0 / static_cast<double>(points.GetSize()));
    const C3DPoint z(axes[2][0], axes[2][1], axes[2][2]);
    C3DPoint d1(axes[0][0], axes[0][1], axes[0][2]), d2(axes[1][0], axes[1][1], axes[1][2]);
    CMathFunc::mathRotate(angle, z, d1);
    CMathFunc::mathRotate(angle, z, d2);

    const double k = m_dVectorScale * m_dVectorFactor;
    // A tensile stress puts the barbs behind the tip (head outward), a compressive one beyond it.
    const C3DPoint p1 = Along(d1, std::fabs(s1), k, c), q1 = Along(d1, -0.2 * s1, k, p1);
    const C3DPoint b1 = Along(d2, 0.2 * std::fabs(s1), k, q1), b1n = Along(d2, -0.2 * std::fabs(s1), k, q1);
    const C3DPoint p2 = Along(d2, std::fabs(s2), k, c), q2 = Along(d2, -0.2 * s2, k, p2);
    const C3DPoint b2 = Along(d1, 0.2 * std::fabs(s2), k, q2), b2n = Along(d1, -0.2 * std::fabs(s2), k, q2);

    std::unique_ptr<CClientDC> client = enginedraw::OpenClientCopy(*pModel);
    enginedraw::DCStateScope state(pDC);
    CPen* pOldClient = nullptr;
    pDC->SelectObject(&pen1);
    if (client) pOldClient = client->SelectObject(&pen1);
    DrawVectorArrow(pDC, client.get(), c, p1, b1, b1n);
    pDC->SelectObject(&pen2);
    if (client) client->SelectObject(&pen2);
    DrawVectorArrow(pDC, client.get(), c, p2, b2, b2n);
    if (client && pOldClient) client->SelectObject(pOldClient);
}

// ---- numbers ------------------------------------------------------------------------------------

void CStressEngine::OutputPStrsNumbers(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bDataReady || !pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pDispOpt || !pModel->GetAttrCtrl())
        return;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    CPVXAttrCtrl& attr = *pModel->GetAttrCtrl();

    CPVXPlatLabel label(pDC);
    label.SetLabelOption(&opt.m_Number);
    label.BeginDraw();
    struct EndDraw {
        CPVXLabelBase& l;
        ~EndDraw() { l.EndDraw(); }
    } endDraw{label};
    OptionScope drawAll(opt.m_bWireFrame);
    opt.m_bWireFrame = 1;

    if (m_bDeformed) {
        if (!pModel->m_pDeformEngine) return;
        if (opt.m_bUndeformedWireFrame && m_nComponent == 7 && pModel->PVXDrawOriginal(pDC, 1) == -1) return;
    }
    // The extreme filter of the number options: switch, kind (0 maximum and minimum, 1 absolute,
    // 2 maximum, 3 minimum) and the percentage of the range within which a value counts.
    const int bFilter = opt.m_Number.m_nNumberOpt2;
    const int nKind = opt.m_Number.m_nNumberOpt1;
    const double dMax = m_dLegendMax, dMin = m_dLegendMin;
    const double t = (dMax - dMin) * opt.m_Number.m_dNumberFactor * 0.01;

    PointNumbers points;  // a wall's plates seen edge-on write one value per point
    CArray<GRE_Atom, GRE_Atom&> atoms;
    ctrl.GetZSortedList(pModel->m_arrActiveMembKey, pModel->m_nObjectIDFirst + (m_bDeformed ? 1 : 0), atoms);
    for (INT_PTR a = 0; a < atoms.GetSize(); ++a) {
        const GRE_Atom atom = atoms[a];
        if (!ctrl.IsZoomAllState() && !ctrl.IsObjectInClientWindow(atom.m_nType, atom.m_nKey)) continue;
        if (pModel->WatchEscKeyPress()) return;
        T_PMEMB_D memb;
        // A shown part numbers its own plates only.
        if (!pModel->IsNumberedMemb(atom.m_nKey) || !attr.GetMemb(atom.m_nKey, memb) || !IsPStrsMember(memb.type))
            continue;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            const UINT elemKey = memb.aElem[e];
            T_PELEM_D elem;
            elem.Initialize();
            if (!attr.GetElem(elemKey, elem) || !IsPossiblePStrs(elem)) continue;
            ShapeLists f;
            GetElementFaces(elemKey, elem, f);
            if (f.faceKeys.GetSize() != f.faces.GetSize()) continue;
            for (INT_PTR i = 0; i < f.faces.GetSize(); ++i) {
                CList<C3DPoint>* pFace = f.faces[i];
                T_STRP_DL rec;
                if (!pFace || pFace->GetCount() < 1 || pFace->GetCount() > 4 || !GetPlateStress(f.faceKeys[i], rec))
                    continue;
                C3DPoint c = Centroid(*pFace);
                const int bBoth = CClassPElem::IsPlate(elem.type) && m_nSurface == 2;
                double emax, emin;
                if (m_nNumberPos == 1 && m_nComponent != 7) {
                    double v = CalcPStrsValue(rec, 0, 0);
                    if (m_nSurface == 2) {
                        const double v2 = CalcPStrsValue(rec, 0, 1);
                        if (std::fabs(v2) > std::fabs(v)) v = v2;
                    }
                    emax = emin = v;
                } else {
                    emax = GetMaxElemPStrs(rec, elem.nNode, bBoth);
                    emin = GetMinElemPStrs(rec, elem.nNode, bBoth);
                    if (emax == -DBL_MAX || emin == DBL_MAX) continue;
                }
                const double shown = std::fabs(emin) >= std::fabs(emax) ? emin : emax;
                const CPoint p = pModel->Get3DPtTo2DPt(&c);
                if (!bFilter) {
                    points.Add(p, c, -1, shown);
                    continue;
                }
                const bool bMaxNear = dMax - emax <= t;
                const bool bMinNear = emin - dMin <= t;
                switch (nKind) {
                case 0:
                    if (bMaxNear) points.Add(p, c, 0, emax);
                    else if (bMinNear) points.Add(p, c, 1, emin);
                    break;
                case 1: {
                    const double ref = std::fabs(dMax) >= std::fabs(dMin) ? std::fabs(dMax) : std::fabs(dMin);
                    if (ref - std::fabs(shown) <= t) points.Add(p, c, 2, shown);
                    break;
                }
                case 2:
                    if (bMaxNear) points.Add(p, c, 0, emax);
                    break;
                case 3:
                    if (bMinNear) points.Add(p, c, 1, emin);
                    break;
                default: break;
                }
            }
        }
    }
    points.WriteWith(label, pModel);
}
