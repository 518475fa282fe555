// CForceEngine: the force diagrams of slab strips (display mode 21) and rib beams (mode 22)
// along their cutting lines.
//
// Each line (T_PVX_CLFC_D) carries its bending moment and shear force at nine stations k/8 of
// its length in the eight-segment layout of a beam record. The drawing puts the model's members
// down as a backdrop, then for every line its diagram (the beam diagram builder along the line,
// in plan axes: x along the line, y its plan normal, z up; in the slab plane on request), the
// line itself and, on request, its width lines on both sides; the numbers of the diagrams follow
// once every diagram is down.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/base/I_ModelBase.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceDiagramParts.h"
#include "module/force/ForceMemberWalk.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CSelectScope.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWaitCursor.h"

namespace {

using forceshared::kSegments;
constexpr int kMomentComp = 0;            // component of the bending moment in a line's block
constexpr int kShearComp = 3;             // component of the shear force
constexpr double kMinWidth = 0.001;       // a width at most this (m) draws no width line
constexpr double kMinPlanLength = 1e-9;   // a line shorter than this in plan (m) has no direction
const COLORREF kCentreLine = RGB(143, 177, 213);
const COLORREF kWidthLine = RGB(179, 202, 226);

// Component of the block a selector shows: 0 the moment, 1 the shear; -1 for others.
int SelectedComp(int nSel) { return nSel == 0 ? kMomentComp : (nSel == 1 ? kShearComp : -1); }

// Plan normal of a line (its direction turned 90 degrees counter-clockwise); false when the line
// has no length in plan.
bool PlanNormal(const T_PVX_CLFC_D& r, double n[3]) {
    const double dx = r.dX2 - r.dX1, dy = r.dY2 - r.dY1;
    const double L = std::hypot(dx, dy);
    if (!(L > kMinPlanLength) || !std::isfinite(L)) return false;
    n[0] = -dy / L;
    n[1] = dx / L;
    n[2] = 0.0;
    return true;
}

}  // namespace

// ---- value pickers -------------------------------------------------------------------------------

double CForceEngine::CalcCLForcValue(const T_STRG_D& f, int nSeg, int nEnd) const {
    return CalcCLForcValue(f, SelectedComp(m_nCLForcComp), nSeg, nEnd);
}

double CForceEngine::CalcCLForcValue(const T_STRG_D& f, int nComp, int nSeg, int nEnd) {
    if ((nComp != kMomentComp && nComp != kShearComp) || nSeg < 0 || nSeg >= kSegments || nEnd < 0 || nEnd > 1)
        return 0.0;
    return f.d[(nEnd + 2 * nSeg) * 6 + nComp];
}

double CForceEngine::GetMaxMembCLForc(const T_STRG_D& f) const {
    const int c = SelectedComp(m_nCLForcComp);
    double v = -DBL_MAX;
    if (c < 0) return v;
    for (int s = 0; s < kSegments; ++s)
        for (int e = 0; e < 2; ++e) v = std::max(v, CalcCLForcValue(f, c, s, e));
    return v;
}

double CForceEngine::GetMinMembCLForc(const T_STRG_D& f) const {
    const int c = SelectedComp(m_nCLForcComp);
    double v = DBL_MAX;
    if (c < 0) return v;
    for (int s = 0; s < kSegments; ++s)
        for (int e = 0; e < 2; ++e) v = std::min(v, CalcCLForcValue(f, c, s, e));
    return v;
}

double CForceEngine::CalcCLForcValue(const T_STRG_D& f, int nPos) const {
    switch (nPos) {
    case 0: return CalcCLForcValue(f, 0, 0);
    case 1: return CalcCLForcValue(f, kSegments - 1, 1);
    case 2: return CalcCLForcValue(f, kSegments / 2 - 1, 1);
    case 3: {
        const double dMin = GetMinMembCLForc(f), dMax = GetMaxMembCLForc(f);
        return -dMin > dMax ? dMin : dMax;
    }
    default: return 0.0;
    }
}

void CForceEngine::MinMaxMembCLForc(T_STRG_D f, double& dMax, double& dMin) const {
    const double hi = GetMaxMembCLForc(f), lo = GetMinMembCLForc(f);
    if (hi > dMax) dMax = hi;
    if (lo < dMin) dMin = lo;
}

// ---- drawing ---------------------------------------------------------------------------------------

void CForceEngine::DrawCLineSfdBmd(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bCLForcData || !pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return;
    CWaitCursor wait;
    forcediagram::StartDiagramPass(*this, *pModel);
    m_mapBSfdBmdMembValue.RemoveAll();
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;

    OptionScope wire(opt.m_bWireFrame, 1);
    int nType = pModel->m_nObjectIDFirst;
    if (m_bDeformed) {
        if (!pModel->m_pDeformEngine) return;
        ++nType;
    }
    forcediagram::DrawUndeformedWire(*this, *pModel, pDC, false);

    // Backdrop: frame members plain, every other member in the inactive style.
    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    forcewalk::ForEachShownMember(*pModel, nType, forcewalk::Escape::kIgnore, [&](UINT nKey, T_PMEMB_D& memb) {
        // On the deformed shape through the deformation engine, as the engine base draws it.
        if (ctrl.IsActiveElem(nKey) && IsPossibleBForc(memb))
            DrawActiveMember(pDC, nKey);
        else
            DrawInactiveMember(pDC, nKey);
    });

    for (INT_PTR i = 0; i < m_arrCLForc.GetSize(); ++i) DoCLineSfdBmd(pDC, m_arrCLForc[i], 0, static_cast<int>(i));

    // Each output record names its line by key (index + 1), so a line without a diagram takes
    // no other line's numbers.
    for (INT_PTR i = 0; i < m_arrBSfdBmdOutVal.GetSize(); ++i) {
        T_SFDBMD_OUTVAL_D& r = m_arrBSfdBmdOutVal[i];
        if (r.nKey < 1 || r.nKey > static_cast<UINT>(m_arrCLForc.GetSize())) continue;
        OutputSfdBmdNumberCL(pDC, m_arrCLForc[r.nKey - 1], r.Forc, r.pt, r.nComp, r.dVal);
    }
    forcediagram::DrawUndeformedWire(*this, *pModel, pDC, true);
}

int CForceEngine::DoCLineSfdBmd(CDC* pDC, T_PVX_CLFC_D& rec, int nOpt, int nRecord) {
    I_PVXModel* pModel = GetModel();
    // The deformation engine matters only on the deformed shape.
    if (!pDC || !pModel || !pModel->m_pPVXCtrl || !m_pContourEngine || (m_bDeformed && !pModel->m_pDeformEngine)) return 0;
    const int nComp = SelectedComp(m_nCLForcComp);
    double n[3];
    if (nComp < 0 || !PlanNormal(rec, n)) return 0;
    C3DPoint P1(rec.dX1, rec.dY1, rec.dZ1), P2(rec.dX2, rec.dY2, rec.dZ2);

    // Plan axes: along the line, its plan normal, up; the line's slope does not enter.
    double axes[3][3] = {{rec.dX2 - rec.dX1, rec.dY2 - rec.dY1, 0.0}, {0.0, 0.0, 0.0}, {0.0, 0.0, 1.0}};
    CMathFunc::mathNormalize(axes[0]);
    axes[1][0] = -axes[0][1];
    axes[1][1] = axes[0][0];
    if (m_nCLDiagramPlane && CPVXBarContainerBase::m_nCurrentMode == PVXMode::kSlabStrip) {
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) m_dLclVec2D[r][c] = r == c ? 1.0 : 0.0;
        GetLclVec4BeamDgrm2D(0, axes);
    }

    const bool bNumbers = pModel->m_pDispOpt && pModel->m_pDispOpt->m_Number.m_bShowNumbers;
    C3DPoint labels[4];
    double extremes[2] = {0.0, 0.0};
    DiagramPointList points;
    DiagramValueList values;
    DiagramFlagList edges, quads;
    BSfdBmdMakePolygon_New(rec.Forc, nComp, axes, P1, P2, points, values, edges, quads, bNumbers ? labels : nullptr,
                           extremes, nOpt, nullptr, rec.dArc);
    if (bNumbers) AddBSfdBmdOutputDataB(static_cast<UINT>(nRecord + 1), labels, rec.Forc, extremes, nComp, 0);
    pModel->PVX_XGL_Begin_Diagram(0);
    DoBSfdBmdContour(pDC, points, values, edges, quads);
    pModel->PVX_XGL_End_Elem(0);

    COLORREF crCentre = kCentreLine, crWidth = kWidthLine;
    if (I_ModelBase* pHost = I_ModelBase::GetCurMySelfST())
        if (auto* pView = dynamic_cast<GRenderView*>(pHost->GetView()))
            if (GRenderDispSetting* s = pView->GetDispSetting()) {
                crCentre = s->m_crCenterLine;
                crWidth = s->m_crWidthLine;
            }
    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    {
        CPen pen(PS_SOLID, 1, crCentre);
        CSelectScope<CPen> select(pDC, &pen);
        ctrl.DrawLine3D(pDC, P1, P2, rec.dArc);
    }
    if (!m_bCLShowWidth) return 1;
    CPen pen(PS_SOLID, 1, crWidth);
    CSelectScope<CPen> select(pDC, &pen);
    const C3DPoint N(n[0], n[1], n[2]);
    auto side = [&](double d) { ctrl.DrawLine3D(pDC, P1 + N * d, P2 + N * d, 0.0); };
    const int mode = pModel->m_nDisplayMode;
    if (mode == PVXMode::kSlabStrip) {
        if (std::fabs(rec.dWidth) > kMinWidth) {
            side(0.5 * rec.dWidth);
            side(-0.5 * rec.dWidth);
        }
    } else if (mode == PVXMode::kSlabForceBeam) {
        if (std::fabs(rec.dWidthNeg) > kMinWidth) side(-rec.dWidthNeg);
        if (std::fabs(rec.dWidthPos) > kMinWidth) side(rec.dWidthPos);
    }
    return 1;
}

void CForceEngine::CLSfdBmdMakePolygon(T_STRG_D& rec, int nComp, double axes[3][3], C3DPoint& pI, C3DPoint& pJ,
                                       DiagramPointList& points, DiagramValueList& values, DiagramFlagList& edges,
                                       DiagramFlagList& quads, C3DPoint* pLabels, double* pExtremes, int nOpt,
                                       DiagramPointList* pStations) {
    if (pExtremes) pExtremes[0] = pExtremes[1] = 0.0;
    if (nComp != kMomentComp && nComp != kShearComp) return;
    // The straight-member builder: stations on the line at k/8, the moment and the shear on the
    // sides the drawn cutting-line diagrams take, so that both show one line alike.
    BSfdBmdMakePolygon(rec, nComp, axes, pI, pJ, points, values, edges, quads, pLabels, 0, pExtremes, nOpt, pStations,
                       0.0);
}
