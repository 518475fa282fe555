// CForceEngine: truss diagrams (display mode 7) and truss numbers (modes 6 and 7).
//
// A truss diagram is a band beside the member whose height at each point is the force there,
// linear between the two end values: cut into pieces of a sixth of an inch on screen and split
// where the force passes through zero, filled in the legend's colours like the beam diagrams.
// Trusses are drawn on the undeformed shape only. The numbers are the end values and their mean
// (or the end value of larger magnitude), written along the member.
#include <cmath>

#include "host/grx/I_PVXCtrl.h"
#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceMemberWalk.h"
#include "module/force/ForceDiagramParts.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXLabelBase.h"
#include "module/model/CPVXMembCtrl.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CWaitCursor.h"

namespace {

using forceshared::kAlignBottomLeft;
using forceshared::kAlignBottomRight;
using forceshared::kAlignBottomCentre;

// Label positions of the member label: 0 middle, 1 i end, 2 j end.
constexpr int kLabelMiddle = 0;
constexpr int kLabelIEnd = 1;
constexpr int kLabelJEnd = 2;

}  // namespace

// ---- diagrams ----------------------------------------------------------------------------------

void CForceEngine::DrawTrussSfdBmd(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bTForcData || !pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return;
    CWaitCursor wait;
    OptionScope thick(pModel->m_pDispOpt->m_bWireFrame, 1);
    // Truss diagrams exist on the undeformed shape only.
    if (m_bDeformed) return;

    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    auto member = [&](UINT nKey, T_PMEMB_D& memb) {
        // The beam diagram pass has drawn every member already (those with diagrams active, the
        // others plain); drawing them again here would grey out its members.
        if (!m_bBForcData) pModel->PVXDrawInactiveMember(pDC, nKey);
        return !CPVXAttrCtrl::IsTrussElemType(memb.type) || !ctrl.IsActiveElem(nKey) ||
               DoTrussSfdBmd(pDC, nKey, memb) != -1;
    };
    forcewalk::ForEachShownMember(*pModel, pModel->m_nObjectIDFirst, forcewalk::Escape::kWatch, member);
}

int CForceEngine::DoTrussSfdBmd(CDC* pDC, UINT nKey, T_PMEMB_D&) {
    I_PVXModel* pModel = GetModel();
    T_MBBR_D rec;
    if (!pModel || !pModel->m_pAttrCtrl || !m_pContourEngine || !m_mapTForc.Lookup(nKey, rec)) return 0;
    CPVXMembCtrl mc;
    C3DPoint ptI, ptJ;
    if (!mc.GetMembEndPointsByKey(nKey, ptI, ptJ)) return 0;
    double axes[3][3] = {};
    if (!pModel->m_pAttrCtrl->CalcMembFrameLocalVector(nKey, ptI, ptJ, axes)) return 0;
    DiagramPointList points;
    DiagramValueList values;
    DiagramFlagList edges, quads;
    TSfdBmdMakePolygon(rec, axes, ptI, ptJ, points, values, edges, quads);
    pModel->PVX_XGL_Begin_Diagram(nKey);
    DoBSfdBmdContour(pDC, points, values, edges, quads);
    pModel->PVX_XGL_End_Elem(0);
    return 1;
}

void CForceEngine::TSfdBmdMakePolygon(T_MBBR_D& rec, double axes[3][3], C3DPoint& ptI, C3DPoint& ptJ,
                                      DiagramPointList& points, DiagramValueList& values, DiagramFlagList& edges,
                                      DiagramFlagList& quads) {
    // Direction: shear y and moment z (1, 5) along local y, the others along local z; the
    // combined selectors along local y when it lies deeper into the view than local z (so that a
    // member seen from above shows them across it). The control's window depth grows towards the
    // viewer, so local y is the deeper one when local z is not farther than it.
    int row;
    switch (m_nBForcComp) {
    case 1: case 5: row = 1; break;
    case 0: case 2: case 3: case 4: row = 2; break;
    case 6: case 7: row = IsFar(axes[2], axes[1]) ? 1 : 2; break;
    default: return;
    }
    const I_PVXModel* pModel = GetModel();
    forcediagram::DiagramStyle style;
    for (int k = 0; k < 3; ++k) style.dir[k] = axes[row][k];
    style.scale = m_dBSfdBmdAdjustFactor * m_dBSfdBmdScale;
    style.step = GetSfdBmdPieceLength();
    style.bClosing = forcediagram::ClosingEdges(*this, pModel);
    const double f = forcediagram::DrawFactor(pModel);
    const double vI = f * CalcTForcValue(rec, 0), vJ = f * CalcTForcValue(rec, 1);
    forcediagram::PolygonSink out{points, values, edges, quads};
    forcediagram::AddDiagramPart(forcediagram::DiagramPart{ptI, ptJ, vI, vJ, vI, vJ, true, true, false}, style, out);
}

// ---- numbers -----------------------------------------------------------------------------------

void CForceEngine::OutputTForcNumbers(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bTForcData || !pDC || !pModel || !pModel->m_pDispOpt || !pModel->m_pAttrCtrl) return;
    T_PVX_DOPT_NUMBER_D& num = pModel->m_pDispOpt->m_Number;
    const int nSaved = pDC->SaveDC();
    CPVXBeamLabel label(pDC);
    label.SetLabelOption(&num);
    const CArray<UINT, UINT>& keys = pModel->m_arrAllMembKey;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const UINT key = keys[i];
        T_PMEMB_D memb;
        T_MBBR_D rec;
        // Numbers go with the diagrams, which inactive members do not get.
        if (!m_bShowTruss || !pModel->IsActiveElem(key) || !pModel->m_pAttrCtrl->GetMemb(key, memb) ||
            !CPVXAttrCtrl::IsTrussElemType(memb.type) || !m_mapTForc.Lookup(key, rec))
            continue;
        CArray<double, double> poses;
        pModel->RE_GetMembNodePosesFrame(pModel->m_nObjectIDFirst + (m_bDeformed ? 1 : 0), key, poses);
        const INT_PTR n = poses.GetSize() / 3;
        if (n < 2) continue;
        // Anchors: i end, middle, j end.
        C3DPoint at[3];
        at[0] = C3DPoint(poses[0], poses[1], poses[2]);
        at[2] = C3DPoint(poses[3 * (n - 1)], poses[3 * (n - 1) + 1], poses[3 * (n - 1) + 2]);
        at[1] = (at[0] + at[2]) * 0.5;
        int nSlope = 0, nDir = 0;
        if (!GetSlopeEx(nSlope, at[0], at[2], nDir)) continue;

        const double vI = CalcTForcValue(rec, 0), vJ = CalcTForcValue(rec, 1);
        const double vMid = m_bNumAtMax ? CalcTForcValue(rec, 4) : 0.5 * (vI + vJ);
        if (num.m_nNumberOpt2) {
            // Extreme filter: each position its own option or the member-extreme option admits.
            struct Position {
                int bOn;
                double v;
                int align;
            } const positions[3] = {
                {m_bNumIEnd, vI, nDir ? kAlignBottomRight : kAlignBottomLeft},
                {m_bNumMiddle, vMid, kAlignBottomCentre},
                {m_bNumJEnd, vJ, nDir ? kAlignBottomLeft : kAlignBottomRight},
            };
            for (int p = 0; p < 3; ++p) {
                if (!positions[p].bOn && !m_bNumAtMax) continue;
                const int nKind = GetSfdBmdExtremeKind(positions[p].v);
                if (nKind < 0) continue;
                int nAlign = positions[p].align;
                label.OutputMaxMin(pModel, &at[p], nKind, positions[p].v, &nAlign);
            }
            continue;
        }
        label.BeginDraw(&nSlope);
        auto write = [&](int nAnchor, int nLabelPos, double v) {
            const CPoint pt = pModel->Get3DPtTo2DPt(&at[nAnchor]);
            if (pt.x < 0 || pt.y < 0) return;
            int nAlign = label.GetTextAlign(nLabelPos, nDir);
            label.OutputNumber(pt.x, pt.y, v, &nAlign);
        };
        if (m_bNumAtMax) {
            write(1, kLabelMiddle, vMid);
        } else {
            if (m_bNumIEnd) write(0, kLabelIEnd, vI);
            if (m_bNumJEnd) write(2, kLabelJEnd, vJ);
            if (m_bNumMiddle) write(1, kLabelMiddle, vMid);
        }
        label.EndDraw();
    }
    pDC->RestoreDC(nSaved);
}
