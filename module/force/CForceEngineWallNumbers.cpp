// CForceEngine: the wall force numbers of display modes 8 and 9.
//
// Each recorded wall-column and wall-beam is labelled at the points its record holds: the start,
// end and middle of its last diagram with numbers (or its ends and midpoint after the list
// build), and the points of its extremes. The labels turn with the wall's direction on the
// screen. With the number options' extreme filter on, only values near the legend's extremes are
// written, as "Max:", "Min:" or "MAX:" labels with a cross. Walls without a record, inactive
// ones, those with an end off the window or without a usable direction on the screen get no
// number.
#include <cmath>

#include "host/db/CDBDoc.h"
#include "host/db/CMDBCtrl.h"
#include "host/db/DBTables.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXLabelBase.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"

namespace {

using forceshared::kAlignLeft;
using forceshared::kAlignRight;
using forceshared::kAlignCentre;
using forceshared::kAlignBottomCentre;

// What one wall's numbers are made of.
struct WallNumbers {
    const C3DPoint* pnt;   // the record's five points
    double v[3];           // start, end, middle
    double dMax, dMin;
    int align[3];          // alignments of start, end and middle without the filter
    int alignMax, alignMin;
    int alignExt;          // of the extreme of larger magnitude without the filter
};

// The walk shared by both families: the label, the record of each key and the screen direction
// of the wall, then the numbers the positions ask for.
template <class Rec, class Values>
void OutputFamily(CForceEngine& e, CDC* pDC, const CArray<UINT, UINT>& keys,
                  CMap<UINT, UINT, Rec, Rec&>& records, int nPos, bool bColumn, Values values) {
    I_PVXModel* pModel = e.GetModel();
    if (!e.m_bWForcData || !pDC || !pModel || !pModel->m_pDispOpt || !pModel->m_pAttrCtrl) return;
    CDBDoc* pDoc = pModel->GetDBDoc();
    if (!pDoc || !pDoc->GetMDBCtrl()) return;
    CClassPWall walls;
    walls.ConnectToDB(pDoc->GetMDBCtrl()->GetDBPost());
    T_PVX_DOPT_NUMBER_D& num = pModel->m_pDispOpt->m_Number;

    const int nSaved = pDC->SaveDC();
    CPVXWallLabel label(pDC);
    label.SetLabelOption(&num);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const UINT key = keys[i];
        T_PMEMB_D memb;
        T_PWALL_D wall;
        Rec rec;
        if (!pModel->m_pAttrCtrl->GetMemb(key, memb) || !walls.Get(key, wall) || !records.Lookup(key, rec)) continue;
        // As the frame numbers: a wall of the part not shown (--storey, member keys) gets none.
        if (pModel->m_pPVXCtrl && !pModel->m_pPVXCtrl->IsActiveElem(key)) continue;
        C3DPoint P1(wall.x1, wall.y1, wall.z1), P2(wall.x2, wall.y2, wall.z2);
        const CPoint w1 = pModel->Get3DPtTo2DPt(&P1), w2 = pModel->Get3DPtTo2DPt(&P2);
        if (w1.x < 0 || w1.y < 0 || w2.x < 0 || w2.y < 0) continue;
        int nAngle = 0, nSide = 0;
        if (!e.GetSlopeEx(nAngle, P1, P2, nSide)) continue;
        const bool bMiddle = !bColumn || memb.node3 != 0 || memb.node4 != 0;
        WallNumbers w = values(rec, memb, nSide != 0);

        if (!num.m_nNumberOpt2) {
            label.BeginDraw(&nAngle);
            auto write = [&](int nAnchor, double v, int nAlign) {
                C3DPoint p = w.pnt[nAnchor];
                const CPoint pt = pModel->Get3DPtTo2DPt(&p);
                label.OutputNumber(pt.x, pt.y, v, &nAlign);
            };
            // Positions: columns 1 the start (bottom) and 0 the end (top); beams 0 the start and
            // 1 the end; 3 all; 2 the extreme of larger magnitude, at its own point.
            const int startPos = bColumn ? 1 : 0, endPos = bColumn ? 0 : 1;
            if (nPos == startPos || nPos == 3) write(0, w.v[0], w.align[0]);
            if (nPos == endPos || nPos == 3) write(1, w.v[1], w.align[1]);
            if (nPos == 3 && bMiddle) write(2, w.v[2], w.align[2]);
            // The extreme stands where the wall holds it: the record's point of dMax or dMin.
            if (nPos == 2) {
                const bool bMin = std::fabs(w.dMin) > std::fabs(w.dMax);
                write(bMin ? 4 : 3, bMin ? w.dMin : w.dMax, w.alignExt);
            }
            label.EndDraw();
            continue;
        }
        // Filter: the ends by the positions, the extremes with positions 2 and 3.
        struct Candidate {
            bool bOn;
            int anchor;
            double v;
            int align;
        };
        const int notStart = bColumn ? 0 : 1, notEnd = bColumn ? 1 : 0;
        const bool bExtremes = (nPos == 2 || nPos == 3) && bMiddle;
        const Candidate cands[4] = {{nPos != notStart, 0, w.v[0], w.align[0]},
                                    {nPos != notEnd, 1, w.v[1], w.align[1]},
                                    {bExtremes, 3, w.dMax, w.alignMax},
                                    {bExtremes, 4, w.dMin, w.alignMin}};
        for (const Candidate& c : cands) {
            if (!c.bOn) continue;
            const int nKind = e.GetSfdBmdExtremeKind(c.v);
            if (nKind < 0) continue;
            int nZero = 0, nAlign = c.align;
            label.BeginDraw(&nZero);
            C3DPoint p = rec.Pnt[c.anchor];
            label.OutputMaxMin(pModel, &p, nKind, c.v, &nAlign, nullptr, nullptr, &nAngle);
            label.EndDraw();
        }
    }
    pDC->RestoreDC(nSaved);
}

}  // namespace

void CForceEngine::OutputWForcNumbers(CDC* pDC) {
    if (m_bDeformed) return;
    OptionScope comp(m_nBForcComp, m_nWForcComp);
    if (m_bWColmNumber) OutputWForcNumbersC(pDC);
    if (m_bWBeamNumber) OutputWForcNumbersB(pDC);
}

void CForceEngine::OutputWForcNumbersC(CDC* pDC) {
    OutputFamily(*this, pDC, m_arrWColmKey, m_mapWColm, m_nWColmNumPos, true,
                 [this](const T_PVX_WCOLM_D& rec, const T_PMEMB_D& memb, bool bSide) {
                     WallNumbers w;
                     w.pnt = rec.Pnt;
                     w.v[0] = CalcCForcValue(rec.Forc, 0);
                     w.v[1] = CalcCForcValue(rec.Forc, 1);
                     const bool bMiddle = memb.node3 != 0 || memb.node4 != 0;
                     w.v[2] = bMiddle ? CalcCForcValue(rec.Forc, 2) : (w.v[0] + w.v[1]) / 2.0;
                     w.dMax = rec.dMax;
                     w.dMin = rec.dMin;
                     const int a = bSide ? kAlignCentre : kAlignBottomCentre;
                     const int b = bSide ? kAlignBottomCentre : kAlignCentre;
                     w.align[0] = a;
                     w.align[1] = b;
                     w.align[2] = a;
                     w.alignMax = a;
                     w.alignMin = kAlignCentre;
                     w.alignExt = a;
                     return w;
                 });
}

void CForceEngine::OutputWForcNumbersB(CDC* pDC) {
    OutputFamily(*this, pDC, m_arrWBeamKey, m_mapWBeam, m_nWBeamNumPos, false,
                 [this](const T_PVX_WBEAM_D& rec, const T_PMEMB_D&, bool bSide) {
                     WallNumbers w;
                     w.pnt = rec.Pnt;
                     w.v[0] = CalcBForcValue(rec.Forc, m_nWForcComp, 0, 0);
                     w.v[1] = CalcBForcValue(rec.Forc, m_nWForcComp, 7, 1);
                     w.v[2] = CalcBForcValue(rec.Forc, m_nWForcComp, 3, 1);
                     w.dMax = rec.dMax;
                     w.dMin = rec.dMin;
                     auto vertical = [&](double v) { return static_cast<int>(GetWBDgrmTopBotPos(v, rec.nComp)); };
                     w.align[0] = vertical(w.v[0]) | (bSide ? kAlignRight : kAlignLeft);
                     w.align[1] = vertical(w.v[1]) | (bSide ? kAlignLeft : kAlignRight);
                     w.align[2] = vertical(w.v[2]) | kAlignCentre;
                     w.alignMax = vertical(w.dMax) | kAlignCentre;
                     w.alignMin = vertical(w.dMin) | kAlignCentre;
                     w.alignExt = vertical(std::fabs(w.dMin) > std::fabs(w.dMax) ? w.dMin : w.dMax) | kAlignCentre;
                     return w;
                 });
}
