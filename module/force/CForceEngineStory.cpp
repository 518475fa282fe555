// CForceEngine: the story shear display (display mode 5). Every member with a story shear value
// is painted in the legend colour of its value, one flat colour over the whole member, and, with
// numbers on, the value is written at the window midpoint of its end nodes along the member.
//
// The values come from the host's story shear records (table SSFR) of the selected load case:
// the member's shear force or its ratio to the storey's shear (m_nSSFROutput) along the chosen
// direction (m_dSSFRAngle: 0, 45 or 90 degrees). Members without a value are drawn inactive.
// The display is drawn on the undeformed shape and needs no deformation engine.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
#include "host/db/StoryShearRecords.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceMemberWalk.h"
#include "module/force/ForceShared.h"
#include "module/engines/OptionScope.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXResultLabelBase.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/ui/CWaitCursor.h"
#include "module/contour/KeyedExtremes.h"

namespace {

constexpr int kFirstCombinationType = 9;  // host load types from 9 up are combinations
using forceshared::kAlignBottomCentre;
using forceshared::FaceFlags;

// The face as the band cutter takes it.
void CopyFace(const PVXPolyList& from, CList<C3DPoint, C3DPoint>& to) {
    to.RemoveAll();
    for (POSITION pos = from.GetHeadPosition(); pos;) to.AddTail(from.GetNext(pos));
}

}  // namespace

// ---- the values ---------------------------------------------------------------------------------

int CForceEngine::MakeSSFRData() {
    m_mapSSFR.RemoveAll();
    m_bSSFRData = 0;
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    CPostCtrl* pPost = pDoc ? pDoc->GetPostCtrl() : nullptr;
    // Shares of a storey's shear are results of one load case: combinations have none.
    if (!pPost || !pModel->m_pAttrCtrl || !pModel->m_bResultDataReady || pModel->m_nLoadType == 0 ||
        static_cast<int>(pModel->m_nLoadType) >= kFirstCombinationType)
        return 0;
    const int nAngle = T_SSFR_D::AngleIndex(m_dSSFRAngle);
    if (nAngle < 0) return 0;
    CWaitCursor wait;

    double dMax = -DBL_MAX, dMin = DBL_MAX;
    UINT nMaxKey = 0, nMinKey = 0;
    const CArray<UINT, UINT>& keys = pModel->m_arrAllMembKey;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_SSFR_D rec;
        if (!pPost->GetSsfr(pModel->m_nLoadKey, keys[i], rec)) continue;
        const double v = m_nSSFROutput == 1 ? rec.ratio[nAngle] : rec.force[nAngle];
        m_mapSSFR.SetAt(keys[i], v);
        contour::TakeExtremes(v, v, keys[i], dMax, nMaxKey, dMin, nMinKey);
    }
    if (m_mapSSFR.GetCount() == 0) return 0;

    pModel->m_nMaxKey = nMaxKey;
    pModel->m_nMinKey = nMinKey;
    m_dLegendMax = dMax;
    m_dLegendMin = dMin;
    // Every member weighs once.
    CContourEngine& s = StartScale(dMin, dMax);
    UINT key = 0;
    double v = 0.0;
    for (POSITION pos = m_mapSSFR.GetStartPosition(); pos;) {
        m_mapSSFR.GetNextAssoc(pos, key, v);
        s.AddPecentRankMapData(v, 1.0);
    }
    s.FinishPecentRankMapData();
    m_bSSFRData = 1;
    return 1;
}

// ---- drawing --------------------------------------------------------------------------------------

void CForceEngine::DrawSSFRData(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return;
    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    auto member = [&](UINT nKey, T_PMEMB_D& memb) {
        double v = 0.0;
        int r = 0;
        if (ctrl.IsActiveElem(nKey) && m_mapSSFR.Lookup(nKey, v)) {
            if (CPVXAttrCtrl::IsLineElemType(memb.type)) r = DoFrameTypeSSFR(nKey, pDC);
            else if (CPVXAttrCtrl::IsPlaneElemType(memb.type)) r = DoPlaneTypeSSFR(nKey, pDC);
        }
        // Inactive members, members without a value and members of no drawable kind.
        if (r == 0 && pModel->PVXDrawInactiveMember(pDC, nKey) == -1) return false;
        return r != -1;
    };
    forcewalk::ForEachShownMember(*pModel, pModel->m_nObjectIDFirst, forcewalk::Escape::kWatch, member);
}

int CForceEngine::DoFrameTypeSSFR(UINT nKey, CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    double r = 0.0;
    if (!pModel || !m_pContourEngine || !pModel->m_pDispOpt || !m_mapSSFR.Lookup(nKey, r)) return 0;
    T_PMEMB_D memb;
    if (!pModel->m_pAttrCtrl->GetMemb(nKey, memb)) return 0;
    const T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    CEngineBase::ShapeLists shape;
    T_SHAPE_ARGUMENT arg;
    pModel->GetShapeMember(nKey, memb, shape.faces, &shape.flags, arg, 0, 1);
    const INT_PTR nFaces = shape.faces.GetSize();
    const bool bEdges = opt.m_nRenderMode == 2 || opt.m_nRenderMode == 3;
    CArray<C3DPoint, C3DPoint> line;
    CArray<double, double> lineValues;
    CList<C3DPoint, C3DPoint> poly;
    CArray<int, int> flags;
    for (INT_PTR f = 0; f < nFaces; ++f) {
        if (pModel->WatchEscKeyPress()) return -1;
        PVXPolyList* face = shape.faces[f];
        const int n = face ? static_cast<int>(face->GetCount()) : 0;
        if (n == 2) {
            line.RemoveAll();
            lineValues.RemoveAll();
            line.Add(face->GetHead());
            line.Add(face->GetTail());
            lineValues.Add(r);
            lineValues.Add(r);
            DrawContourLine(pDC, line, lineValues);
            continue;
        }
        if (n != 4) continue;  // a frame face has four corners
        if (nFaces > 1 && opt.m_bWireFrame == 0 && opt.m_bLineCulling && !pModel->IsVisibleFace(face, n)) continue;
        FaceFlags(f < shape.flags.GetSize() ? shape.flags[f] : nullptr, n, flags);
        double values[4] = {r, r, r, r};
        CopyFace(*face, poly);
        DoSubPolyContour(pDC, values, &poly, flags.GetData(), 1);
        if (bEdges) pModel->DrawPolygonEdge(pDC, face, &flags, 0);
    }
    return 1;
}

namespace {

// Paints the faces of a plane or solid member in the flat band colour of r (1 drawn, -1
// Escape). Faces of more than four corners, which the band cutter does not take, are filled
// with the band colour of r directly: one value over the face makes one band.
template <class Visible>
int PaintFlatFaces(CForceEngine& e, CDC* pDC, UINT nKey, double r, bool bFillOutlined, Visible visible) {
    I_PVXModel* pModel = e.GetModel();
    T_PMEMB_D memb;
    if (!pModel->m_pAttrCtrl->GetMemb(nKey, memb)) return 0;
    const T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    CEngineBase::ShapeLists shape;
    T_SHAPE_ARGUMENT arg;
    pModel->GetShapeMember(nKey, memb, shape.faces, &shape.flags, arg, 0, 1);
    const INT_PTR nFaces = shape.faces.GetSize();
    const bool bEdges = opt.m_nRenderMode == 2 || opt.m_nRenderMode == 3;
    CList<C3DPoint, C3DPoint> poly;
    CArray<int, int> flags;
    std::vector<double> values;
    for (INT_PTR f = 0; f < nFaces; ++f) {
        if (pModel->WatchEscKeyPress()) return -1;
        PVXPolyList* face = shape.faces[f];
        const int n = face ? static_cast<int>(face->GetCount()) : 0;
        if (n < 3) continue;
        if (nFaces > 1 && !visible(face, n)) continue;
        FaceFlags(f < shape.flags.GetSize() ? shape.flags[f] : nullptr, n, flags);
        if (bEdges && bFillOutlined) {
            pModel->DrawPolygon3DFill(pDC, *face, flags, opt.m_Color.m_crBackground, nullptr, 0);
            pModel->DrawPolygonEdge(pDC, face, &flags, 0);
        }
        if (n <= 4) {
            values.assign(static_cast<size_t>(n), r);
            CopyFace(*face, poly);
            e.DoSubPolyContour(pDC, values.data(), &poly, flags.GetData(), 0);
        } else {
            pModel->DrawPolygon3DFill(pDC, *face, flags, e.m_pContourEngine->GetValueColor(r), nullptr, 0);
        }
        if (bEdges && !bFillOutlined) pModel->DrawPolygonEdge(pDC, face, &flags, 0);
    }
    return 1;
}

}  // namespace

int CForceEngine::DoPlaneTypeSSFR(UINT nKey, CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    double r = 0.0;
    if (!pModel || !m_pContourEngine || !pModel->m_pDispOpt || !m_mapSSFR.Lookup(nKey, r)) return 0;
    const T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    const bool bSingleColour = m_pContourEngine->m_nFillStyle == 1;
    return PaintFlatFaces(*this, pDC, nKey, r, bSingleColour, [&](PVXPolyList* face, int n) {
        return opt.m_bWireFrame != 0 || !opt.m_bPlaneCulling || pModel->IsVisibleFace(face, n);
    });
}

int CForceEngine::DoSolidTypeSSFR(UINT nKey, CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    double r = 0.0;
    if (!pModel || !m_pContourEngine || !pModel->m_pDispOpt || !m_mapSSFR.Lookup(nKey, r)) return 0;
    return PaintFlatFaces(*this, pDC, nKey, r, true,
                          [&](PVXPolyList* face, int n) { return pModel->IsVisibleFace(face, n) != 0; });
}

// ---- numbers ----------------------------------------------------------------------------------------

int CForceEngine::GetTextPoint(T_PMEMB_D& memb, C3DPoint& mid, CPoint& midWin, CArray<CPoint, CPoint&>& winPts,
                               CArray<C3DPoint, C3DPoint&>& pts) {
    pts.RemoveAll();
    switch (memb.type) {
    case 201: case 205: case 101: case 204: case 210: case 209: case 206: break;
    default: return 0;
    }
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl || memb.aNode.GetSize() == 0) return 0;
    for (UINT key : {memb.aNode[0], memb.aNode[memb.aNode.GetSize() - 1]}) {
        T_PNODE_D node;
        if (!pModel->m_pAttrCtrl->GetNode(key, node)) return 0;
        C3DPoint p(node.x, node.y, node.z);
        pts.Add(p);
    }
    mid = C3DPoint(0.0, 0.0, 0.0);
    winPts.RemoveAll();
    long sx = 0, sy = 0;
    for (INT_PTR i = 0; i < pts.GetSize(); ++i) {
        CPoint w = pModel->Get3DPtTo2DPt(&pts[i]);
        winPts.Add(w);
        sx += w.x;
        sy += w.y;
        mid.x += pts[i].x;
        mid.y += pts[i].y;
        mid.z += pts[i].z;
    }
    midWin = CPoint(static_cast<int>(sx * 0.5), static_cast<int>(sy * 0.5));
    mid.x *= 0.5;
    mid.y *= 0.5;
    mid.z *= 0.5;
    return 1;
}

void CForceEngine::OutputSSFRData(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bSSFRData || !pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    T_PVX_DOPT_NUMBER_D& num = opt.m_Number;
    CPVXResultLabelBase label(pDC, pModel);
    label.m_pLogFont = &num.m_lfNumber;
    label.m_crText = num.m_crNumber[0];
    label.m_crBack = num.m_crNumberBack;
    label.m_nDigits = num.m_nDecimals;
    label.m_bExponent = num.m_bExponent;
    label.m_bOpaque = num.m_bNumberOpaque;
    label.m_nTextAlign = kAlignBottomCentre;
    label.BeginDraw();
    OptionScope view(opt.m_bWireFrame, 1);

    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    const double dMax = m_dLegendMax, dMin = m_dLegendMin;
    const double t = (dMax - dMin) * num.m_dNumberFactor * 0.01;
    const CArray<UINT, UINT>& keys = pModel->m_arrAllMembKey;
    CArray<CPoint, CPoint&> winPts;
    CArray<C3DPoint, C3DPoint&> pts;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const UINT key = keys[i];
        T_PMEMB_D memb;
        double v = 0.0;
        if (!pModel->m_pAttrCtrl->GetMemb(key, memb) || !ctrl.IsActiveElem(key) || !m_mapSSFR.Lookup(key, v)) continue;
        C3DPoint mid;
        CPoint midWin;
        if (!GetTextPoint(memb, mid, midWin, winPts, pts) || pts.GetSize() != 2) continue;
        int nSlope = 0, nFlag = 0;
        if (!GetSlopeEx(nSlope, pts[0], pts[1], nFlag)) continue;
        if (!num.m_nNumberOpt2) {
            label.DrawText(&midWin, v, &nSlope, &num.m_crNumber[0]);
            continue;
        }
        // Only the values near the legend's extremes, as "Max:" and "Min:" labels.
        int nKind = -1;
        switch (num.m_nNumberOpt1) {
        case 0:
            if (dMax - v <= t) nKind = 0;
            else if (v - dMin <= t) nKind = 1;
            break;
        case 1:
            if ((std::fabs(dMax) >= std::fabs(dMin) && std::fabs(dMax) - std::fabs(v) <= t) ||
                (std::fabs(dMax) < std::fabs(dMin) && std::fabs(dMin) - std::fabs(v) <= t))
                nKind = 2;
            break;
        case 2:
            if (dMax - v <= t) nKind = 0;
            break;
        case 3:
            if (v - dMin <= t) nKind = 1;
            break;
        default:
            break;
        }
        if (nKind >= 0) label.OutputMaxMin(&mid, v, nKind, &nSlope);
    }
}
