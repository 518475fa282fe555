// Cutting-line diagrams of CEngineBase: the pieces of each selected cutting line across the plate
// elements, their scale and their drawing.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "module/engines/CEngineBase.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "host/base/CMathFunc.h"
#include "host/db/DBRecords.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"

namespace {

typedef CArray<T_CUTLINE_D, const T_CUTLINE_D&> CutPieceArray;

bool SamePoint(const C3DPoint& a, const C3DPoint& b) {
    return std::fabs(a.x - b.x) <= 1e-8 && std::fabs(a.y - b.y) <= 1e-8 && std::fabs(a.z - b.z) <= 1e-8;
}

void DrawCutLine(I_PVXModel* pModel, CDC* pDC, const C3DPoint& a, const C3DPoint& b) {
    if (pModel->m_bExternalDevice)
        pModel->m_pPVXCtrl->DrawLine3DOnClientWindow(pDC, a, b);
    else
        pModel->m_pPVXCtrl->DrawLine3D(pDC, a, b, 0.0);
}

}  // namespace

void CEngineBase::ResetCuttingLineData() {
    for (INT_PTR i = 0; i < m_arrCutLineData.GetSize(); ++i) delete m_arrCutLineData[i];
    m_arrCutLineData.RemoveAll();
    m_arrCutLineMinMax.RemoveAll();
}

void CEngineBase::MakeCuttingLineData() {
    ResetCuttingLineData();
    m_arrCutLine.RemoveAll();
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    if (!pAttr) return;

    for (INT_PTR i = 0; i < CPVXCutLineDetDlg::m_arrSelCutLine.GetSize(); ++i) {
        T_PVX_CUTL_D rec;
        const UINT key = CPVXCutLineDetDlg::m_arrSelCutLine[i];
        if (pAttr->IsCutLineAvailable(key, rec)) m_arrCutLine.Add(rec);
    }
    MakeCuttingLinePieces();
}

void CEngineBase::MakeCuttingLinePieces() {
    ResetCuttingLineData();
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    if (!pAttr) return;
    for (INT_PTR l = 0; l < m_arrCutLine.GetSize(); ++l) {
        const T_PVX_CUTL_D& line = m_arrCutLine[l];
        auto* pPieces = new CutPieceArray;
        m_arrCutLineData.Add(pPieces);
        T_CUTLINE_MINMAX_D mm;
        const C3DPoint p1(line.x1, line.y1, line.z1), p2(line.x2, line.y2, line.z2);

        for (INT_PTR e = 0; e < m_arrElemKey.GetSize(); ++e) {
            const UINT key = m_arrElemKey[e];
            T_PELEM_D elem;
            elem.Initialize();
            if (!pAttr->GetElem(key, elem)) continue;
            const int n = std::min(elem.nNode, static_cast<int>(PELEM_MAX_NODE));
            C3DPoint nodes[PELEM_MAX_NODE];
            bool bNodesOk = n > 0;
            for (int j = 0; j < n && bNodesOk; ++j) {
                T_PNODE_D node;
                node.Initialize();
                if (!pAttr->GetNode(elem.node[j], node)) bNodesOk = false;
                nodes[j] = C3DPoint(node.x, node.y, node.z);
            }
            if (!bNodesOk) continue;

            CArray<C3DPoint, const C3DPoint&> pts;
            CArray<double, double> vals;
            for (int j = 0; j < n; ++j) {
                const int k = (j + 1 < n) ? j + 1 : 0;
                double t = 0.0;
                C3DPoint x;
                if (!CMathFunc::mathIntersectLine2(p1, p2, nodes[j], nodes[k], 1e-7, t, x)) continue;
                double vj = 0.0, vk = 0.0;
                GetNodalValueforCutting(key, vj, j, vk, k);
                const double dj = CMathFunc::mathLength(x, nodes[j]);
                const double dk = CMathFunc::mathLength(x, nodes[k]);
                // A zero-length edge (repeated node) has no interpolation: take the node value.
                const double v = (dj + dk > 0.0) ? vj + (vk - vj) * dj / (dk + dj) : vj;
                pts.Add(x);
                vals.Add(v);
            }
            // A crossing at a node is found on both of its edges: keep it once.
            for (INT_PTR a = 0; a < pts.GetSize(); ++a) {
                for (INT_PTR b = a + 1; b < pts.GetSize();) {
                    if (SamePoint(pts[a], pts[b])) {
                        pts.RemoveAt(b);
                        vals.RemoveAt(b);
                    } else {
                        ++b;
                    }
                }
            }
            if (pts.GetSize() != 2) continue;
            T_CUTLINE_D piece;
            piece.ptA = pts[0];
            piece.dValueA = vals[0];
            piece.dDistA = CMathFunc::mathLength(pts[0], p1);
            piece.ptB = pts[1];
            piece.dValueB = vals[1];
            piece.dDistB = CMathFunc::mathLength(pts[1], p1);
            piece.nElemKey = key;
            mm.dMax = std::max({mm.dMax, piece.dValueA, piece.dValueB});
            mm.dMin = std::min({mm.dMin, piece.dValueA, piece.dValueB});
            pPieces->Add(piece);
        }
        m_arrCutLineMinMax.Add(mm);
    }
}

void CEngineBase::InitCutLineAdjustFactor(double dLargest, double& dFactor) {
    double len = 0.0;
    I_PVXModel* pModel = GetModel();
    C3DPoint lo, hi;
    if (pModel && pModel->GetRangeModel(&lo, &hi, 1))
        len = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
    if (dLargest > -1e-15 && dLargest < 1e-15) dLargest = 1.0;
    dFactor = len / (std::fabs(dLargest) * 15.0);
}

void CEngineBase::OutputCutLineNumber(CDC* pDC, C3DPoint* pPt, double dValue) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pPt || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pDispOpt) return;
    T_PVX_DOPT_NUMBER_D& num = pModel->m_pDispOpt->m_Number;
    pDC->SetBkMode(num.m_bNumberOpaque ? OPAQUE : TRANSPARENT);
    pDC->SetTextColor(num.m_crNumber[0]);
    pDC->SetBkColor(num.m_crNumberBack);
    pDC->SetTextAlign(TA_BOTTOM | TA_CENTER);
    char fmt[32];
    std::snprintf(fmt, sizeof fmt, "%s%d%s", "%.", num.m_nDecimals, num.m_bExponent ? "e" : "f");
    char text[64];
    std::snprintf(text, sizeof text, fmt, dValue);

    LOGFONT lf = num.m_lfNumber;
    lf.lfHeight = GetCurViewTextHeight(lf.lfHeight);
    CFont font;
    font.CreatePointFontIndirect(&lf, pDC);
    CFont* pOldFont = pDC->SelectObject(&font);
    if (pModel->m_bExternalDevice)
        pModel->m_pPVXCtrl->DrawNodeInClientWindow(pDC, *pPt);
    else
        pModel->m_pPVXCtrl->DrawNode(pDC, *pPt);
    const CPoint pt = pModel->Get3DPtTo2DPt(pPt);
    if (pt.x >= 1 && pt.y >= 1) pDC->TextOut(pt.x, pt.y, CString(text));
    pDC->SelectObject(pOldFont);
    font.DeleteObject();
}

void CEngineBase::DrawCuttingLineDiagrams(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pModel || !pModel->m_pPVXCtrl || m_arrCutLine.GetSize() == 0) return;
    I_PVXCtrl* pCtrl = pModel->m_pPVXCtrl;

    double dMax = -DBL_MAX, dMin = DBL_MAX;
    for (INT_PTR i = 0; i < m_arrCutLineMinMax.GetSize(); ++i) {
        dMax = std::max(dMax, m_arrCutLineMinMax[i].dMax);
        dMin = std::min(dMin, m_arrCutLineMinMax[i].dMin);
    }
    // Lines that cross nothing leave the extremes at their start values: nothing to scale by.
    const double a = (dMax >= dMin) ? std::max(std::fabs(dMin), std::fabs(dMax)) : 0.0;
    double factor = 0.0;
    InitCutLineAdjustFactor(a, factor);
    const double s = CPVXCutLineDetDlg::m_dScaleFactor * factor;
    const COLORREF cr = CPVXCutLineDetDlg::m_crDiagram;
    const int width = pModel->m_nPenFactor;

    const INT_PTR nLines = std::min(m_arrCutLine.GetSize(), m_arrCutLineData.GetSize());
    for (INT_PTR l = 0; l < nLines; ++l) {
        const T_PVX_CUTL_D& line = m_arrCutLine[l];
        const C3DPoint dir(line.x2 - line.x1, line.y2 - line.y1, line.z2 - line.z1);
        int nNodeType = 0, nObjType = 0;
        pModel->RE_GetNode_ElemTypeByCDBDocSelection(nNodeType, nObjType);
        const CutPieceArray& pieces = *m_arrCutLineData[l];
        const T_CUTLINE_MINMAX_D mm =
            l < m_arrCutLineMinMax.GetSize() ? m_arrCutLineMinMax[l] : T_CUTLINE_MINMAX_D();
        // Pieces meeting at a point with one value there write it once, not twice over itself.
        bool bWritten = false;
        C3DPoint lastAt;
        double lastValue = 0.0;
        auto writeOnce = [&](C3DPoint at, double v) {
            if (bWritten && v == lastValue && (at - lastAt).Length() <= 1e-9) return;
            OutputCutLineNumber(pDC, &at, v);
            bWritten = true;
            lastAt = at;
            lastValue = v;
        };
        for (INT_PTR p = 0; p < pieces.GetSize(); ++p) {
            const T_CUTLINE_D& piece = pieces[p];
            if (!pCtrl->IsZoomAllState() && !pCtrl->IsObjectInClientWindow(nObjType, piece.nElemKey)) continue;
            double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
            if (pModel->GetGeomCtrl()) pModel->GetGeomCtrl()->CalcPlaneLocalVector(piece.nElemKey, axes);
            C3DPoint u(axes[2][0], axes[2][1], axes[2][2]);
            if (CPVXCutLineDetDlg::m_nDirection != 0) {
                u = CMathFunc::mathCross(dir, u);
                CMathFunc::mathNormalize(u);
            }
            const double va = piece.dValueA, vb = piece.dValueB;
            const C3DPoint aOff = piece.ptA + u * (va * s);
            const C3DPoint bOff = piece.ptB + u * (vb * s);

            CPen thin, thick;
            thin.CreatePen(PS_SOLID, width, cr);
            CPen* pOld = pDC->SelectObject(&thin);
            DrawCutLine(pModel, pDC, piece.ptA, aOff);
            DrawCutLine(pModel, pDC, piece.ptB, bOff);
            pDC->SelectObject(pOld);
            thin.DeleteObject();
            thick.CreatePen(PS_SOLID, static_cast<int>(2.0 * width), cr);
            pOld = pDC->SelectObject(&thick);
            DrawCutLine(pModel, pDC, aOff, bOff);
            DrawCutLine(pModel, pDC, piece.ptA, piece.ptB);
            pDC->SelectObject(pOld);
            thick.DeleteObject();

            if (!CPVXCutLineDetDlg::m_bOutputValues) continue;
            auto isExtreme = [&](double v) {
                return std::fabs(v - mm.dMax) <= 1e-8 || std::fabs(v - mm.dMin) <= 1e-8;
            };
            if (!CPVXCutLineDetDlg::m_bOnlyMinMax || isExtreme(va)) writeOnce(aOff, va);
            if (!CPVXCutLineDetDlg::m_bOnlyMinMax || isExtreme(vb)) writeOnce(bOff, vb);
        }
    }
}
