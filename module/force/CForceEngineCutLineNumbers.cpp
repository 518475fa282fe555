// CForceEngine: the numbers of the strip and rib-beam diagrams (display modes 21 and 22).
//
// A diagram's numbers are its start, middle and end values, its two peak values, its value of
// largest magnitude, or, with the number options' extreme filter, only the values near the
// legend's extremes. They are queued on the model's overlay queue of diagram numbers while the
// control renders retained geometry or a metafile is exported, so that they stand on top of the
// whole picture; otherwise they are written at once. OutputCLForcNumbers writes the same kinds of
// numbers from the records alone, at the line's ends and middle.
#include <cmath>

#include "host/grx/I_PVXCtrl.h"
#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "module/model/CPVXLabelBase.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "platform/afx/CString.h"

namespace {

using forceshared::kAlignRight;
using forceshared::kAlignCentre;
using forceshared::kAlignBottom;
using forceshared::kAlignBottomRight;
using forceshared::kAlignBottomCentre;

// Codes of the diagram-number queue entries (0..2 are the extreme kinds of the filter).
enum NumberCode {
    kCodeFirstPeak = 3,
    kCodeSecondPeak = 4,
    kCodeLargest = 5,
    kCodeStart = 6,
    kCodeEnd = 7,
    kCodeMiddle = 8,
};

}  // namespace

void CForceEngine::OutputSfdBmdNumberCL(CDC* pDC, T_PVX_CLFC_D& rec, T_STRG_D forc, C3DPoint* pPoints, int nComp,
                                        double* pPeaks) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pPoints || !pPeaks || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pDispOpt || !pModel->m_pDrawFuncArray)
        return;
    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    T_PVX_DOPT_NUMBER_D& num = opt.m_Number;
    const bool bQueue = (ctrl.IsGLRenderer() && ctrl.IsXGRMode() && ctrl.m_byDrawState == 0) || pModel->m_bExportMetafile;

    // Drawn at once the numbers take the options' colours and background; the DC is left as it was.
    const int nSaved = bQueue ? 0 : pDC->SaveDC();
    if (!bQueue) {
        pDC->SetBkMode(num.m_bNumberOpaque ? OPAQUE : TRANSPARENT);
        pDC->SetTextColor(num.m_crNumber[1]);
        pDC->SetBkColor(num.m_crNumberBack);
        pDC->SetTextAlign(kAlignBottomCentre);
    }
    const CString fmt = CUtilFuncs::MakeNumberFormat(num.m_bExponent, num.m_nDecimals, " ", " ");
    OptionScope wire(opt.m_bWireFrame, 1);

    C3DPoint P1(rec.dX1, rec.dY1, rec.dZ1), P2(rec.dX2, rec.dY2, rec.dZ2);
    const double axis[6] = {P1.x, P1.y, P1.z, P2.x, P2.y, P2.z};
    auto push = [&](const C3DPoint& p, int nCode, double v) {
        const double anchor[3] = {p.x, p.y, p.z};
        pModel->m_pDrawFuncArray->m_OutputSfdBmdNumber.Push(anchor, axis, nCode, v);
    };
    auto write = [&](C3DPoint p, int nAlign, const COLORREF* pColor, double v) {
        const CPoint pt = pModel->Get3DPtTo2DPt(&p);
        if (pt.x < 0 || pt.y < 0) return;
        pDC->SetTextAlign(static_cast<UINT>(nAlign));
        if (pColor) pDC->SetTextColor(*pColor);
        CString text;
        text.Format(fmt, v);
        pDC->TextOut(pt.x, pt.y, text);
    };

    int nSlope = 0, nSide = 0;
    if (GetSlopeEx(nSlope, P1, P2, nSide)) {
        if (num.m_nNumberOpt2) {
            // Start, middle and end, each admitted by its switch or the largest-value switch.
            const int bOn[3] = {m_bNumIEnd, m_bNumMiddle, m_bNumJEnd};
            const int nPoint[3] = {0, 1, 2};
            const int nPos[3] = {0, 2, 1};
            for (int k = 0; k < 3; ++k) {
                if (!bOn[k] && !m_bNumAtMax) continue;
                C3DPoint& p = pPoints[nPoint[k]];
                int nAlign = GetTopBotAlign(p, P1, P2, 0, nSide);
                if (k == 1) nAlign |= kAlignCentre;
                else if ((k == 0) == (nSide != 0)) nAlign |= kAlignRight;
                const double v = CalcCLForcValue(forc, nPos[k]);
                const int nKind = GetSfdBmdExtremeKind(v);
                if (nKind < 0) continue;
                if (bQueue) {
                    push(p, nKind, v);
                } else {
                    pDC->SetTextAlign(static_cast<UINT>(nAlign));
                    DrawMinMaxOutputValue(pDC, p, fmt, nKind, v);
                }
            }
        } else if (m_bAbsMaxNumber) {
            if (bQueue) {
                push(pPoints[0], kCodeFirstPeak, pPeaks[0]);
                push(pPoints[1], kCodeSecondPeak, pPeaks[1]);
            } else {
                write(pPoints[0], kAlignCentre, nullptr, pPeaks[0]);
                write(pPoints[1], kAlignBottomCentre, nullptr, pPeaks[1]);
            }
        } else if (m_bNumAtMax) {
            const double v = std::fabs(pPeaks[1]) < std::fabs(pPeaks[0]) ? pPeaks[0] : pPeaks[1];
            if (bQueue)
                push(pPoints[1], kCodeLargest, v);
            else
                write(pPoints[1], kAlignBottomCentre, nullptr, v);
        } else {
            struct Position {
                int bOn, point, seg, end, code, align, colour;
            };
            const Position positions[3] = {
                {m_bNumIEnd, 0, 0, 0, kCodeStart, nSide ? kAlignBottomRight : kAlignBottom, 0},
                {m_bNumJEnd, 2, 7, 1, kCodeEnd, nSide ? kAlignBottom : kAlignBottomRight, 2},
                {m_bNumMiddle, 1, 3, 1, kCodeMiddle, kAlignBottomCentre, 1}};
            for (const Position& p : positions) {
                if (!p.bOn) continue;
                const double v = CalcCLForcValue(forc, nComp, p.seg, p.end);
                if (bQueue)
                    push(pPoints[p.point], p.code, v);
                else
                    write(pPoints[p.point], p.align, &num.m_crNumber[p.colour], v);
            }
        }
    }
    if (!bQueue) pDC->RestoreDC(nSaved);
}

void CForceEngine::OutputCLForcNumbers(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bCLForcData || !pDC || !pModel || !pModel->m_pDispOpt) return;
    T_PVX_DOPT_NUMBER_D& num = pModel->m_pDispOpt->m_Number;
    CPVXBeamLabel label(pDC);
    label.SetLabelOption(&num);
    for (INT_PTR i = 0; i < m_arrCLForc.GetSize(); ++i) {
        const T_PVX_CLFC_D& r = m_arrCLForc[i];
        C3DPoint P1(r.dX1, r.dY1, r.dZ1), P2(r.dX2, r.dY2, r.dZ2);
        C3DPoint M = (P1 + P2) * 0.5;
        const CPoint w1 = pModel->Get3DPtTo2DPt(&P1), w2 = pModel->Get3DPtTo2DPt(&P2), wm = pModel->Get3DPtTo2DPt(&M);
        int nSlope = 0, nSide = 0;
        if (!GetSlopeEx(nSlope, P1, P2, nSide)) continue;
        label.BeginDraw(&nSlope);
        int alignStart = nSide ? kAlignBottomRight : kAlignBottom;
        int alignEnd = nSide ? kAlignBottom : kAlignBottomRight;
        int alignMiddle = kAlignBottomCentre;
        if (num.m_nNumberOpt2) {
            struct Position {
                int bOn;
                C3DPoint* p;
                int* align;
                int pos;
            };
            const Position positions[3] = {{m_bNumIEnd, &P1, &alignStart, 0},
                                           {m_bNumMiddle, &M, &alignMiddle, 2},
                                           {m_bNumJEnd, &P2, &alignEnd, 1}};
            for (const Position& p : positions) {
                if (!p.bOn && !m_bNumAtMax) continue;
                const double v = CalcCLForcValue(r.Forc, p.pos);
                const int nKind = GetSfdBmdExtremeKind(v);
                if (nKind >= 0) label.OutputMaxMin(pModel, p.p, nKind, v, p.align);
            }
        } else if (m_bNumAtMax) {
            label.OutputNumber(wm.x, wm.y, CalcCLForcValue(r.Forc, 3));
        } else {
            if (m_bNumIEnd) label.OutputNumber(w1.x, w1.y, CalcCLForcValue(r.Forc, 0), &alignStart);
            if (m_bNumJEnd) label.OutputNumber(w2.x, w2.y, CalcCLForcValue(r.Forc, 1), &alignEnd);
            if (m_bNumMiddle) label.OutputNumber(wm.x, wm.y, CalcCLForcValue(r.Forc, 2), &alignMiddle);
        }
        label.EndDraw();
    }
}
