// CForceEngine: the shear-force and bending-moment diagrams of beams, T-girders and columns
// (display mode 7, and the strip modes 21 and 22 that share the walk).
//
// The walk draws every member in the depth order of the graphics control, then the diagram of
// each member with forces: a strip of triangles and quadrilaterals between the member axis and
// the diagram line, offset from the axis along the local direction of the component, cut into
// pieces of one sixth of an inch on screen (so that colour bands stay smooth at every zoom) and
// split wherever the value passes through zero. Every vertex carries its value; the colour
// scale cuts the strip into bands and the engine's list drawing fills them or draws their
// outlines. The same pass collects, with numbers on, one output record per diagram, whose
// numbers are written after the walk.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>

#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceDiagramParts.h"
#include "module/force/ForceMemberWalk.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWaitCursor.h"

namespace {

using forceshared::kSegments;
using forceshared::kDirSign;
constexpr double kPieceInch = 1.0 / 6.0; // diagram piece length on screen
constexpr double kOffsetInch = 0.2;      // screen diagram offset
constexpr double kPieceSlack = 1e-9;     // a length this close above a multiple of the step is that multiple
constexpr int kScreenDpi = 96;           // pixels per inch of a view without a window

// Direction (local axis row) of each component's diagram: axial force, shears and torsion along
// +z or +y (its sign: kDirSign, moments drawn on their tension side).
constexpr int kDirAxis[6] = {2, 1, 2, 2, 2, 1};

// Horizontal pixels per inch of the model's view window (a screen's when it has none).
int ViewPixelsPerInch(const I_PVXModel* pModel) {
    CView* pView = pModel ? pModel->m_pView : nullptr;
    if (!pView || !pView->GetSafeHwnd()) return kScreenDpi;
    CClientDC dc(pView);
    const int dpi = dc.GetSafeHdc() ? dc.GetDeviceCaps(LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : kScreenDpi;
}

// World length shown by so many inches on the view; 0 without a graphics control.
double ScreenInches(const I_PVXModel* pModel, double inches) {
    if (!pModel || !pModel->m_pPVXCtrl) return 0.0;
    const double d = std::fabs(pModel->m_pPVXCtrl->GetWorldLength(ViewPixelsPerInch(pModel) * inches));
    return std::isfinite(d) ? d : 0.0;
}

}  // namespace

void forcediagram::StartDiagramPass(CForceEngine& e, I_PVXModel& model) {
    e.m_arrBSfdBmdOutVal.RemoveAll();
    e.m_arrBSfdBmdOutValMin.RemoveAll();
    e.m_arrCSfdBmdOutVal.RemoveAll();
    e.m_arrCSfdBmdOutValMin.RemoveAll();
    if (model.m_pDispOpt && model.m_pDispOpt->m_Number.m_bShowNumbers) model.SelectLoad();
    e.m_dSfdBmdScreenOffset = ScreenInches(&model, kOffsetInch);
}

// ---- pieces and axes ---------------------------------------------------------------------------

int CForceEngine::GetSfdBmdPieceCount(double dLength, double dStep) {
    if (!(dLength > 0.0) || !std::isfinite(dLength)) return 0;
    if (!(dStep > 0.0) || !std::isfinite(dStep)) return 1;
    const double r = dLength / dStep;
    if (!(r < kMaxSfdBmdPieces)) return kMaxSfdBmdPieces;
    return std::max(1, static_cast<int>(std::ceil(r * (1.0 - kPieceSlack))));
}

double CForceEngine::GetSfdBmdPieceLength() const { return ScreenInches(GetModel(), kPieceInch); }

void CForceEngine::GetPlanAxes4BeamDgrm2D(UINT nKey, double axes[3][3]) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl || !pModel->m_pAttrCtrl->CalcMembFrameLocalVector(nKey, axes)) return;
    // Plan normal of the member axis: global Z x local x.
    double n[3] = {-axes[0][1], axes[0][0], 0.0};
    CUtilFuncs::MakeUnitVector(n);
    if (n[0] == 0.0 && n[1] == 0.0) return;  // vertical: no plan direction
    for (int k = 0; k < 3; ++k) axes[1][k] = axes[2][k] = n[k];
}

int CForceEngine::GetSfdBmdAxis(UINT nKey, const T_PMEMB_D& memb, C3DPoint& ptI, C3DPoint& ptJ, C3DPoint* pInner1,
                                C3DPoint* pInner2) {
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    CArray<double, double> poses;
    pModel->RE_GetMembNodePosesFrame(pModel->m_nObjectIDFirst + (m_bDeformed ? 1 : 0), nKey, poses);
    const INT_PTR n = poses.GetSize() / 3;
    if (n < 2) return 0;
    auto at = [&](INT_PTR i) { return C3DPoint(poses[3 * i], poses[3 * i + 1], poses[3 * i + 2]); };
    if (CPVXAttrCtrl::IsElemType204(memb.type) && n >= 4) {
        // A T-girder's outline runs along its top edge and back along the bottom one: its axis is
        // the bottom edge, from the fourth to the third node, as on the deformed shape.
        ptI = at(3);
        ptJ = at(2);
        return 1;
    }
    ptI = at(0);
    ptJ = at(n - 1);
    if (pInner1 && pInner2) {
        // Inner stations of a column: with four or more positions both, with three the one the
        // member names.
        *pInner1 = ptI;
        *pInner2 = ptJ;
        if (n >= 4) {
            *pInner1 = at(1);
            *pInner2 = at(2);
        } else if (n == 3) {
            (memb.node3 ? *pInner1 : *pInner2) = at(1);
        }
    }
    return 1;
}

// ---- the walk ----------------------------------------------------------------------------------

void CForceEngine::DrawBeamSfdBmd(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bBForcData || !pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return;
    CWaitCursor wait;
    forcediagram::StartDiagramPass(*this, *pModel);
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;

    OptionScope wire(opt.m_bWireFrame, 1);
    int nType = pModel->m_nObjectIDFirst;
    if (m_bDeformed) {
        if (!pModel->m_pDeformEngine) return;
        ++nType;
    }
    forcediagram::DrawUndeformedWire(*this, *pModel, pDC, false);

    using namespace PVXMode;
    const int mode = pModel->m_nDisplayMode;
    const bool bDiagrams = mode == kFrameForceDiagram || mode == kSlabStrip || mode == kSlabForceBeam;
    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    const bool bWalked =
        forcewalk::ForEachShownMember(*pModel, nType, forcewalk::Escape::kWatch, [&](UINT nKey, T_PMEMB_D& memb) {
            // Columns carry forces when the column lists hold them; beams and T-girders always can.
            const bool bColumn = CPVXAttrCtrl::IsColumnElemType(memb.type) != 0;
            const bool bForces = IsFrameForceMember(nKey, memb) != 0;
            const bool bActive = ctrl.IsActiveElem(nKey) != 0;
            if (bActive && bForces)
                DrawActiveMember(pDC, nKey);
            else
                DrawInactiveMember(pDC, nKey);
            if (!bActive || !bForces || !bDiagrams) return;
            if (bColumn)
                DoColumnElementSfdBmd(pDC, nKey, 0);
            else if (CPVXAttrCtrl::IsBeamElemType(memb.type) || CPVXAttrCtrl::IsElemType204(memb.type))
                DoBeamElementSfdBmd(pDC, nKey, 0);
        });
    if (!bWalked) return;

    if (bDiagrams) {
        for (auto* pList : {&m_arrBSfdBmdOutVal, &m_arrBSfdBmdOutValMin})
            for (INT_PTR i = 0; i < pList->GetSize(); ++i) {
                T_SFDBMD_OUTVAL_D& r = (*pList)[i];
                OutputSfdBmdNumberB(pDC, r.nKey, r.Forc, r.pt, r.nComp, r.dVal);
            }
        for (auto* pList : {&m_arrCSfdBmdOutVal, &m_arrCSfdBmdOutValMin})
            for (INT_PTR i = 0; i < pList->GetSize(); ++i) {
                T_SFDBMD_OUTVAL_D2& r = (*pList)[i];
                OutputSfdBmdNumberC(pDC, r.nKey, r.Forc, r.pt, r.nComp, r.dVal);
            }
    }
    forcediagram::DrawUndeformedWire(*this, *pModel, pDC, true);
}

// ---- one member ----------------------------------------------------------------------------------

namespace {

// The two components of a combined selector in drawing order: the one along local y first when
// local y does not point deeper into the view than local z (the view is orthographic, so the
// axis directions compare the same wherever the member stands).
void CombinedComponents(int nSel, bool bYFirst, int comps[2]) {
    const int yComp = nSel == 6 ? 1 : 5, zComp = nSel == 6 ? 2 : 4;
    comps[0] = bYFirst ? yComp : zComp;
    comps[1] = bYFirst ? zComp : yComp;
}

}  // namespace

void CForceEngine::DoBeamElementSfdBmd(CDC* pDC, UINT nKey, int nOpt) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt || !m_pContourEngine) return;
    if (m_bDeformed && !pModel->m_pDeformEngine) return;
    T_PMEMB_D memb;
    if (!pModel->m_pAttrCtrl->GetMemb(nKey, memb)) return;
    const bool bMinMax = IsMinMaxDiagram() != 0;
    T_STRG_D forc, forcMin;
    if (!m_mapBForc.Lookup(nKey, forc)) return;
    if (bMinMax && !m_mapBForcMin.Lookup(nKey, forcMin)) return;

    C3DPoint ptI, ptJ;
    if (!GetSfdBmdAxis(nKey, memb, ptI, ptJ, nullptr, nullptr)) return;
    double axes[3][3] = {};
    if (!pModel->m_pAttrCtrl->CalcMembFrameLocalVector(nKey, ptI, ptJ, axes)) return;
    if (pModel->m_b2DDiagram) GetPlanAxes4BeamDgrm2D(nKey, axes);
    // A beam through three or more nodes may be curved in plan: its diagram follows the arc.
    double dArc = 0.0;
    if (CPVXAttrCtrl::IsBeamElemType(memb.type)) {
        CArray<double, double> poses;
        pModel->RE_GetMembNodePosesFrame(pModel->m_nObjectIDFirst + (m_bDeformed ? 1 : 0), nKey, poses);
        dArc = MembArcHeight(poses);
    }

    const bool bNumbers = pModel->m_pDispOpt->m_Number.m_bShowNumbers != 0;
    C3DPoint labels[2][4];
    C3DPoint* pLabels[2] = {bNumbers ? labels[0] : nullptr, bNumbers ? labels[1] : nullptr};
    double extremes[2] = {0.0, 0.0};

    DiagramPointList points;
    DiagramValueList values;
    DiagramFlagList edges, quads;
    const int nSel = m_nBForcComp;
    if (nSel >= 0 && nSel <= 5) {
        C3DPoint dI, dJ;
        GetOffsetedPointMemb(nKey, ptI, ptJ, dI, dJ, nSel);
        BSfdBmdMakePolygon_New(forc, nSel, axes, dI, dJ, points, values, edges, quads, pLabels[0], extremes, nOpt,
                               nullptr, dArc);
        AddBSfdBmdOutputDataB(nKey, pLabels[0], forc, extremes, nSel, 0);
        if (bMinMax) {
            // The minimum side follows the same plan line as the maximum side, so that a curved
            // member's two sides lie on one arc.
            BSfdBmdMakePolygon_New(forcMin, nSel, axes, dI, dJ, points, values, edges, quads, pLabels[1], extremes,
                                   nOpt, nullptr, dArc);
            AddBSfdBmdOutputDataB(nKey, pLabels[1], forcMin, extremes, nSel, 1);
        }
    } else if (nSel == 6 || nSel == 7) {
        int comps[2];
        CombinedComponents(nSel, IsFar(axes[1], axes[2]) == 1, comps);
        CArray<T_SFDBMD_OUTVAL_D, T_SFDBMD_OUTVAL_D&> recs;
        for (int c : comps) {
            C3DPoint dI, dJ;
            GetOffsetedPointMemb(nKey, ptI, ptJ, dI, dJ, c);
            for (int side = 0; side < (bMinMax ? 2 : 1); ++side) {
                T_STRG_D& f = side ? forcMin : forc;
                BSfdBmdMakePolygon_New(f, c, axes, dI, dJ, points, values, edges, quads, pLabels[side], extremes, nOpt,
                                       nullptr, dArc);
                T_SFDBMD_OUTVAL_D rec;
                if (GetBSfdBmdOutputDataB(rec, nKey, pLabels[side], f, extremes, c, side)) recs.Add(rec);
            }
        }
        T_SFDBMD_OUTVAL_D merged;
        if (CalcAbsMaxB(recs, merged)) m_arrBSfdBmdOutVal.Add(merged);
    } else {
        return;
    }
    pModel->PVX_XGL_Begin_Diagram(nKey);
    DoBSfdBmdContour(pDC, points, values, edges, quads);
    pModel->PVX_XGL_End_Elem(0);
}

void CForceEngine::DoColumnElementSfdBmd(CDC* pDC, UINT nKey, int nOpt) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt || !m_pContourEngine) return;
    if (m_bDeformed && !pModel->m_pDeformEngine) return;
    T_PMEMB_D memb;
    if (!pModel->m_pAttrCtrl->GetMemb(nKey, memb)) return;
    const bool bMinMax = IsMinMaxDiagram() != 0;
    T_MBCL_D forc, forcMin;
    if (!m_mapCForc.Lookup(nKey, forc)) return;
    if (bMinMax && !m_mapCForcMin.Lookup(nKey, forcMin)) return;

    C3DPoint ptI, ptJ, inner1, inner2;
    if (!GetSfdBmdAxis(nKey, memb, ptI, ptJ, &inner1, &inner2)) return;
    double axes[3][3] = {};
    if (!pModel->m_pAttrCtrl->CalcMembFrameLocalVector(nKey, ptI, ptJ, axes)) return;

    const bool bNumbers = pModel->m_pDispOpt->m_Number.m_bShowNumbers &&
                          (!pModel->m_b2DDiagram || m_bCSfdBmdPlanLabel);
    C3DPoint labels[2][4];
    C3DPoint* pLabels[2] = {bNumbers ? labels[0] : nullptr, bNumbers ? labels[1] : nullptr};
    double stations[2][4] = {};

    DiagramPointList points;
    DiagramValueList values;
    DiagramFlagList edges, quads;
    const int nSel = m_nBForcComp;
    if (nSel >= 0 && nSel <= 5) {
        C3DPoint dI, dJ;
        GetOffsetedPointMemb(nKey, ptI, ptJ, dI, dJ, nSel);
        for (int side = 0; side < (bMinMax ? 2 : 1); ++side) {
            T_MBCL_D& f = side ? forcMin : forc;
            BSfdBmdMakePolygonColm(f, nSel, axes, dI, dJ, inner1, inner2, points, values, edges, quads, pLabels[side],
                                   nKey, memb, stations[side], nOpt, nullptr);
            AddBSfdBmdOutputDataC(nKey, pLabels[side], f, stations[side], nSel, side);
        }
    } else if (nSel == 6 || nSel == 7) {
        int comps[2];
        CombinedComponents(nSel, IsFar(axes[1], axes[2]) == 1, comps);
        CArray<T_SFDBMD_OUTVAL_D2, T_SFDBMD_OUTVAL_D2&> recs;
        for (int c : comps) {
            C3DPoint dI, dJ;
            GetOffsetedPointMemb(nKey, ptI, ptJ, dI, dJ, c);
            for (int side = 0; side < (bMinMax ? 2 : 1); ++side) {
                T_MBCL_D& f = side ? forcMin : forc;
                BSfdBmdMakePolygonColm(f, c, axes, dI, dJ, inner1, inner2, points, values, edges, quads, pLabels[side],
                                       nKey, memb, stations[side], nOpt, nullptr);
                T_SFDBMD_OUTVAL_D2 rec;
                if (GetBSfdBmdOutputDataC(rec, nKey, pLabels[side], f, stations[side], c, side)) recs.Add(rec);
            }
        }
        T_SFDBMD_OUTVAL_D2 merged;
        if (CalcAbsMaxC(recs, merged)) m_arrCSfdBmdOutVal.Add(merged);
    } else {
        return;
    }
    pModel->PVX_XGL_Begin_Diagram(nKey);
    DoBSfdBmdContour(pDC, points, values, edges, quads);
    pModel->PVX_XGL_End_Elem(0);
}

void CForceEngine::DoBSfdBmdContour(CDC* pDC, DiagramPointList& points, DiagramValueList& values,
                                    DiagramFlagList& edges, DiagramFlagList& quads) {
    I_PVXModel* pModel = GetModel();
    if (!m_pContourEngine || !pModel) return;
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> vertices;
    const INT_PTR nPoints = std::min(points.GetSize(), std::min(values.GetSize(), edges.GetSize()));
    INT_PTR at = 0;
    for (INT_PTR i = 0; i < quads.GetSize(); ++i) {
        const int n = quads[i] ? 4 : 3;
        if (at + n > nPoints) break;  // lists cut short: nothing past their end is read
        C3DPoint corners[4];
        double v[4];
        int f[4];
        for (int k = 0; k < n; ++k) {
            corners[k] = points[at + k];
            v[k] = values[at + k];
            f[k] = edges[at + k];
        }
        m_pContourEngine->SfdBmdFramePoly(corners, v, f, n, sizes, vertices, m_bBSfdBmdFill);
        at += n;
    }
    if (sizes.GetSize() == 0) return;
    if (pModel->m_bGradient)
        DrawContourListGrad(pDC, sizes, vertices);
    else
        DrawContourList(pDC, sizes, vertices);
}

// ---- polygon builders ----------------------------------------------------------------------------

namespace {

// Drawing style of a diagram of the engine for a component; false for a component outside 0..5.
bool MakeStyle(const CForceEngine& e, const I_PVXModel* pModel, int nComp, double axes[3][3],
               forcediagram::DiagramStyle& style) {
    if (nComp < 0 || nComp > 5) return false;
    for (int k = 0; k < 3; ++k) style.dir[k] = kDirSign[nComp] * axes[kDirAxis[nComp]][k];
    style.scale = e.m_dBSfdBmdAdjustFactor * e.m_dBSfdBmdScale;
    style.step = e.GetSfdBmdPieceLength();
    style.bClosing = forcediagram::ClosingEdges(e, pModel);
    return true;
}

}  // namespace

void CForceEngine::BSfdBmdMakePolygon(T_STRG_D& forc, int nComp, double axes[3][3], C3DPoint& ptI, C3DPoint& ptJ,
                                      DiagramPointList& points, DiagramValueList& values, DiagramFlagList& edges,
                                      DiagramFlagList& quads, C3DPoint* pLabels, UINT, double* pExtremes, int,
                                      DiagramPointList*, double) {
    // Stations on the straight line from I to J.
    C3DPoint stations[kSegments + 1];
    stations[0] = ptI;
    stations[kSegments] = ptJ;
    for (int k = 1; k < kSegments; ++k) CUtilFuncs::GetInnerLinePoint(k, kSegments - k, ptI, ptJ, stations[k]);
    SfdBmdBeamPolygons(forc, nComp, axes, stations, points, values, edges, quads, pLabels, pExtremes, nullptr);
}

void CForceEngine::SfdBmdBeamPolygons(T_STRG_D& forc, int nComp, double axes[3][3], const C3DPoint stations[9],
                                      DiagramPointList& points, DiagramValueList& values, DiagramFlagList& edges,
                                      DiagramFlagList& quads, C3DPoint* pLabels, double* pExtremes,
                                      DiagramPointList* pLine) {
    if (pExtremes) pExtremes[0] = pExtremes[1] = 0.0;
    I_PVXModel* pModel = GetModel();
    forcediagram::DiagramStyle style;
    if (!MakeStyle(*this, pModel, nComp, axes, style)) return;
    const double f = forcediagram::DrawFactor(pModel);
    forcediagram::PolygonSink out{points, values, edges, quads};

    double vMax = -DBL_MAX, vMin = DBL_MAX, vAbs = 0.0;
    bool bSeen = false;
    // Extremes and their diagram points (before the animation scales the drawing).
    auto note = [&](double v, const C3DPoint& top) {
        bSeen = true;
        if (m_bAbsMaxNumber) {
            if (v > vMax) {
                vMax = v;
                if (pLabels) pLabels[1] = top;
            }
            if (v < vMin) {
                vMin = v;
                if (pLabels) pLabels[0] = top;
            }
        } else if (m_bNumAtMax && std::fabs(v) > std::fabs(vAbs)) {
            vAbs = v;
            if (pLabels) pLabels[1] = top;
        }
    };

    for (int s = 0; s < kSegments; ++s) {
        const double vS = CalcBForcValue(forc, nComp, s, 0), vE = CalcBForcValue(forc, nComp, s, 1);
        const double prev = s > 0 ? CalcBForcValue(forc, nComp, s - 1, 1) : vS;
        const double next = s < kSegments - 1 ? CalcBForcValue(forc, nComp, s + 1, 0) : vE;
        const C3DPoint& start = stations[s];
        const C3DPoint& end = stations[s + 1];
        C3DPoint topS = style.Offset(start, f * vS), topE = style.Offset(end, f * vE);
        if (pLine) {
            pLine->Add(topS);
            pLine->Add(topE);
        }

        note(vS, topS);
        note(vE, topE);
        if (pLabels && !m_bAbsMaxNumber) {
            // Stations 1 and 7 carry the end numbers, clear of the nodes; station 4 the middle
            // one, unless the member's extreme holds that slot.
            if (s == 1) pLabels[0] = topS;
            if (s == 4 && (!m_bNumAtMax || vAbs == 0.0)) pLabels[1] = topS;
            if (s == 6) pLabels[2] = topE;
        }

        forcediagram::DiagramPart part{start, end, f * vS, f * vE, f * prev, f * next,
                                       s == 0, s == kSegments - 1, true};
        forcediagram::AddDiagramPart(part, style, out);
    }
    if (pExtremes && bSeen) {
        if (m_bAbsMaxNumber) {
            pExtremes[0] = vMin;
            pExtremes[1] = vMax;
        } else if (m_bNumAtMax) {
            pExtremes[1] = vAbs;
        }
    }
}

void CForceEngine::BSfdBmdMakePolygonColm(T_MBCL_D& forc, int nComp, double axes[3][3], C3DPoint& ptI, C3DPoint& ptJ,
                                          C3DPoint& ptInner1, C3DPoint& ptInner2, DiagramPointList& points,
                                          DiagramValueList& values, DiagramFlagList& edges, DiagramFlagList& quads,
                                          C3DPoint* pLabels, UINT, T_PMEMB_D& memb, double* pStations, int,
                                          DiagramPointList*) {
    if (pStations) std::fill(pStations, pStations + 4, 0.0);
    I_PVXModel* pModel = GetModel();
    forcediagram::DiagramStyle style;
    if (!MakeStyle(*this, pModel, nComp, axes, style)) return;
    const double f = forcediagram::DrawFactor(pModel);
    forcediagram::PolygonSink out{points, values, edges, quads};

    // Stations in order from the i end: i end (block 0), inner stations (blocks 2, 3), j end
    // (block 1); the inner ones only where the member has them.
    const double v[4] = {f * CalcCForcValue(forc, nComp, 0), f * CalcCForcValue(forc, nComp, 2),
                         f * CalcCForcValue(forc, nComp, 3), f * CalcCForcValue(forc, nComp, 1)};
    if (pLabels && pStations) std::copy(v, v + 4, pStations);
    const C3DPoint at[4] = {ptI, ptInner1, ptInner2, ptJ};
    int idx[4];
    int n = 0;
    idx[n++] = 0;
    if (memb.node3) idx[n++] = 1;
    if (memb.node4) idx[n++] = 2;
    idx[n++] = 3;

    const int nParts = n - 1;
    for (int p = 0; p < nParts; ++p) {
        const int s = idx[p], e = idx[p + 1];
        forcediagram::DiagramPart part{at[s], at[e], v[s], v[e], v[s], v[e], p == 0, p == nParts - 1, false};
        forcediagram::AddDiagramPart(part, style, out);
        if (!pLabels) continue;
        const C3DPoint topS = style.Offset(at[s], v[s]), topE = style.Offset(at[e], v[e]);
        if (nParts == 1) {
            pLabels[0] = topS;
            pLabels[1] = ptInner1;
            pLabels[2] = ptInner2;
            pLabels[3] = topE;
        } else if (p == 0) {
            pLabels[0] = topS;
            pLabels[1] = topE;
        } else if (p == nParts - 1) {
            pLabels[2] = topS;
            pLabels[3] = topE;
        }
    }
}
