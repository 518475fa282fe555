// CForceEngine: frame force values written as numbers on the model view: the member values of
// the frame force contour (display mode 6) and the numbers of each beam and column diagram
// (mode 7 and the strip modes).
//
// A value is printed with the format " %.<digits>f " (or " %.<digits>e " with the exponent
// switch of the number options), one blank on either side. With the number options' extreme
// filter on, only values near the legend's extremes are printed, as "Max:"/"Min:" labels with a
// cross. Diagram numbers are queued on the model's overlay queue when the view is drawn through
// retained geometry or straight to a device, so that they stand on top of every diagram and
// follow the member's direction; otherwise they are drawn at once.
#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "module/model/CPVXLabelBase.h"
#include "module/model/CPVXLabelSpacer.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXDrawFunc.h"
#include "platform/afx/CString.h"

namespace {

using forceshared::kAlignTop;
using forceshared::kAlignRight;
using forceshared::kAlignCentre;
using forceshared::kAlignBottom;
using forceshared::kAlignBottomRight;
using forceshared::kAlignBottomCentre;
constexpr double kSlopeStep = 0.01;  // sample length along the member, fraction of it
// Fractions of the member tried, in order, when an end is off the window.
constexpr double kSlopeSamples[9] = {0.0, 1.0, 0.5, 0.25, 0.75, 0.125, 0.875, 0.375, 0.625};

// Label kinds of the diagram numbers on the overlay queue.
enum NumberKind {
    kKindFirstValue = 3,
    kKindSecondValue = 4,
    kKindExtreme = 5,
    kKindIEnd = 6,
    kKindJEnd = 7,
    kKindMiddle = 8,
};

// An end value, written to one side of its anchor, stands a little inside its own side: a column
// seen end-on writes its two end values at one point, one to the left and one to the right.
CPoint AwayFromEnd(CDC* pDC, CPoint pt, UINT nAlign) {
    return CPVXLabelSpacer::AwayFromAnchor(pDC, pt, nAlign, CPVXLabelSpacer::kEndInset, 0.0);
}

// " %.<digits>f " or " %.<digits>e " of the number options.
CString ForceNumberFormat(const T_PVX_DOPT_NUMBER_D& opt) {
    return CUtilFuncs::MakeNumberFormat(opt.m_bExponent, opt.m_nDecimals, " ", " ");
}

// Points of a member as drawn (the model's frame shape of the undeformed or deformed geometry).
void DrawnPoints(I_PVXModel* pModel, UINT key, int bDeformed, CArray<C3DPoint>& pts) {
    pts.RemoveAll();
    pModel->RE_GetPVXShapeFrameMember(pModel->m_nObjectIDFirst + (bDeformed ? 1 : 0), key, &pts);
}

// Points of a member as drawn, element after element: a member of several elements (a curved
// beam) is drawn as one line per element. Empty when the member is drawn as one line.
void DrawnPathOfElements(I_PVXModel* pModel, UINT key, int bDeformed, CArray<C3DPoint>& pts) {
    pts.RemoveAll();
    if (!pModel->m_pDispOpt) return;
    PVXPolyListArray faces;
    PVXIndexArrayList flags;
    {
        OptionScope wire(pModel->m_pDispOpt->m_bWireFrame, 1);
        OptionScope culling(pModel->m_pDispOpt->m_bLineCulling, 0);
        pModel->RE_GetPVXShapeMember(pModel->m_nObjectIDFirst + (bDeformed ? 1 : 0), key, &faces, &flags);
    }
    int nLines = 0;
    for (INT_PTR i = 0; i < faces.GetSize(); ++i) {
        if (!faces[i] || faces[i]->GetCount() < 2) continue;
        ++nLines;
        for (POSITION pos = faces[i]->GetHeadPosition(); pos;) {
            const C3DPoint p = faces[i]->GetNext(pos);
            if (pts.GetSize() == 0 || (p - pts[pts.GetSize() - 1]).Length() > 0.0) pts.Add(p);
        }
    }
    I_PVXModel::FreeMemoryPolyList(&faces, &flags, nullptr, nullptr);
    if (nLines < 2) pts.RemoveAll();
}

// The point at fraction t of the length of a polyline.
C3DPoint PointAlong(const CArray<C3DPoint>& pts, double t) {
    double total = 0.0;
    for (INT_PTR i = 1; i < pts.GetSize(); ++i) total += (pts[i] - pts[i - 1]).Length();
    double rest = total * t;
    for (INT_PTR i = 1; i < pts.GetSize(); ++i) {
        const double len = (pts[i] - pts[i - 1]).Length();
        if (len > 0.0 && rest <= len) return pts[i - 1] + (pts[i] - pts[i - 1]) * (rest / len);
        rest -= len;
    }
    return pts[pts.GetSize() - 1];
}

// The member's axis as drawn: first and last point; a T-girder's outline gives its bottom edge
// (fourth to third point), the axis its diagrams are drawn along.
bool DrawnAxis(const T_PMEMB_D& memb, const CArray<C3DPoint>& pts, C3DPoint& i, C3DPoint& j) {
    const INT_PTR n = pts.GetSize();
    if (n < 2) return false;
    if (CPVXAttrCtrl::IsElemType204(memb.type) && n >= 4) {
        i = pts[3];
        j = pts[2];
    } else {
        i = pts[0];
        j = pts[n - 1];
    }
    return true;
}

// What one diagram's numbers are made of.
struct DiagramNumbers {
    double filtered[3];  // i end, middle, j end of the engine's component (extreme filter)
    double position[3];  // i end, middle, j end of the diagram's own component
    const double* values;  // the record's two values
};

// Writes the numbers of one diagram (beam or column alike).
void WriteDiagramNumbers(CForceEngine& e, CDC* pDC, UINT nKey, C3DPoint* pAnchors, const DiagramNumbers& d) {
    I_PVXModel* pModel = e.GetModel();
    if (!pDC || !pAnchors || !d.values || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pDispOpt ||
        !pModel->m_pAttrCtrl || !pModel->m_pDrawFuncArray)
        return;
    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    if (!ctrl.IsActiveElem(nKey)) return;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    T_PVX_DOPT_NUMBER_D& num = opt.m_Number;

    T_PMEMB_D memb;
    if (!pModel->m_pAttrCtrl->GetMemb(nKey, memb)) return;
    OptionScope wire(opt.m_bWireFrame, 1);
    CArray<C3DPoint> pts;
    DrawnPoints(pModel, nKey, e.m_bDeformed, pts);
    C3DPoint ptI, ptJ;
    if (!DrawnAxis(memb, pts, ptI, ptJ)) return;
    const bool bQueue = (ctrl.IsGLRenderer() && ctrl.IsXGRMode() && ctrl.m_byDrawState == 0) || pModel->m_bExternalDevice;

    int nSlope = 0, nDir = 0;
    if (!e.GetSlopeEx(nSlope, ptI, ptJ, nDir)) return;

    // Numbers drawn at once take the number options' colours, background and font; the device
    // context is left as it was.
    const int nSaved = bQueue ? 0 : pDC->SaveDC();
    CPVXBeamLabel label(bQueue ? nullptr : pDC);
    label.SetLabelOption(&num);
    label.BeginDraw();
    const CString fmt = ForceNumberFormat(num);
    const double axis[6] = {ptI.x, ptI.y, ptI.z, ptJ.x, ptJ.y, ptJ.z};
    auto push = [&](int nAnchor, int nKind, double v) {
        const C3DPoint& a = pAnchors[nAnchor];
        const double anchor[3] = {a.x, a.y, a.z};
        pModel->m_pDrawFuncArray->m_OutputSfdBmdNumber.Push(anchor, axis, nKind, v);
    };
    auto drawText = [&](int nAnchor, int nAlign, double v) {
        C3DPoint a = pAnchors[nAnchor];
        const CPoint pt = pModel->Get3DPtTo2DPt(&a);
        if (pt.x < 0 || pt.y < 0) return;
        pDC->SetTextAlign(static_cast<UINT>(nAlign));
        CString text;
        text.Format(fmt, v);
        const CPoint at = AwayFromEnd(pDC, pt, static_cast<UINT>(nAlign));
        CPVXLabelSpacer::TextOut(pDC, at.x, at.y, text);
    };

    if (num.m_nNumberOpt2) {
        // Extreme filter: i end, middle and j end, each admitted by its own option or the
        // member-extreme option.
        const int bOn[3] = {e.m_bNumIEnd, e.m_bNumMiddle, e.m_bNumJEnd};
        for (int p = 0; p < 3; ++p) {
            if (!bOn[p] && !e.m_bNumAtMax) continue;
            const int nKind = e.GetSfdBmdExtremeKind(d.filtered[p]);
            if (nKind < 0) continue;
            int nAlign = e.GetTopBotAlign(pAnchors[p], ptI, ptJ, 0, nDir);
            if (p == 1) nAlign |= kAlignCentre;
            else if ((p == 0) == (nDir != 0)) nAlign |= kAlignRight;
            if (bQueue) {
                push(p, nKind, d.filtered[p]);
            } else {
                pDC->SetTextAlign(static_cast<UINT>(nAlign));
                e.DrawMinMaxOutputValue(pDC, pAnchors[p], fmt, nKind, d.filtered[p]);
            }
        }
    } else if (e.m_bAbsMaxNumber) {
        if (bQueue) {
            push(0, kKindFirstValue, d.values[0]);
            push(1, kKindSecondValue, d.values[1]);
        } else {
            drawText(0, kAlignCentre, d.values[0]);
            drawText(1, kAlignBottomCentre, d.values[1]);
        }
    } else if (e.m_bNumAtMax) {
        const int k = std::fabs(d.values[0]) > std::fabs(d.values[1]) ? 0 : 1;
        if (bQueue)
            push(k, kKindExtreme, d.values[k]);
        else
            drawText(k, k == 0 ? kAlignCentre : kAlignBottomCentre, d.values[k]);
    } else {
        const int nIAlign = nDir ? kAlignBottomRight : kAlignBottom;
        const int nJAlign = nDir ? kAlignBottom : kAlignBottomRight;
        // Seen end-on (a column in plan) the middle value hangs under the point the end values
        // stand over, to either side of it.
        const bool bEndOn = PVXIsSeenEndOn(pModel->Get3DPtTo2DPt(&ptI), pModel->Get3DPtTo2DPt(&ptJ));
        struct Position {
            int bOn, anchor, kind, align;
            double v;
        };
        const Position positions[3] = {{e.m_bNumIEnd, 0, kKindIEnd, nIAlign, d.position[0]},
                                       {e.m_bNumJEnd, 2, kKindJEnd, nJAlign, d.position[2]},
                                       {e.m_bNumMiddle, 1, kKindMiddle, bEndOn ? kAlignCentre : kAlignBottomCentre,
                                        d.position[1]}};
        for (const Position& p : positions) {
            if (!p.bOn) continue;
            if (bQueue)
                push(p.anchor, p.kind, p.v);
            else
                drawText(p.anchor, p.align, p.v);
        }
    }
    label.EndDraw();
    if (!bQueue) pDC->RestoreDC(nSaved);
}

}  // namespace

// ---- shared text placement ---------------------------------------------------------------------

int CForceEngine::GetSlopeEx(int& nSlope, C3DPoint a, C3DPoint b, int& nDirection) {
    nSlope = 0;
    nDirection = 0;
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    CPoint p = pModel->Get3DPtTo2DPt(&a), q = pModel->Get3DPtTo2DPt(&b);
    auto negative = [&] { return p.x < 0 || p.y < 0 || q.x < 0 || q.y < 0; };
    if (p.x < 1 || p.y < 1 || q.x < 1 || q.y < 1) {
        const C3DPoint step = (b - a) * kSlopeStep;
        for (int t = 0; t < 9 && negative(); ++t) {
            C3DPoint P = a + (b - a) * kSlopeSamples[t];
            C3DPoint Q = P + step;
            p = pModel->Get3DPtTo2DPt(&P);
            q = pModel->Get3DPtTo2DPt(&Q);
        }
        if (negative()) return 0;
    }
    nDirection = CUtilFuncs::GetSlope2Point(nSlope, p.x, p.y, q.x, q.y);
    return 1;
}

int CForceEngine::GetTopBotAlign(C3DPoint& p, C3DPoint& a, C3DPoint& b, int nFlip1, int nFlip2) {
    const C3DPoint u = b - a, w = p - a;
    const double s = CMathFunc::mathCrossAngleNormalizeWithSign(u, w);
    if (!nFlip1 && !nFlip2) return s >= 0.0 ? kAlignTop : kAlignBottom;
    return s >= 0.0 ? kAlignBottom : kAlignTop;
}

int CForceEngine::GetIJPosBForcMemb(UINT nKey, T_PMEMB_D& memb, C3DPoint* pI, C3DPoint* pJ) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pDispOpt) return 1;
    OptionScope wire(pModel->m_pDispOpt->m_bWireFrame, 1);
    PVXPolyListArray faces;
    PVXIndexArrayList flags;
    T_SHAPE_ARGUMENT arg;
    arg.bDeformed = m_bDeformed;
    GetMemberShape(nKey, memb, faces, &flags, arg);
    const PVXPolyList* first = nullptr;
    const PVXPolyList* last = nullptr;
    for (INT_PTR i = 0; i < faces.GetSize(); ++i) {
        if (!faces[i] || faces[i]->GetCount() == 0) continue;
        if (!first) first = faces[i];
        last = faces[i];
    }
    if (first && pI) *pI = first->GetHead();
    if (last && pJ) *pJ = last->GetTail();
    I_PVXModel::FreeMemoryPolyList(&faces, &flags, nullptr, nullptr);
    return 1;
}

int CForceEngine::GetSfdBmdExtremeKind(double v) const {
    const I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pDispOpt) return -1;
    const T_PVX_DOPT_NUMBER_D& num = pModel->m_pDispOpt->m_Number;
    // The band of the filter is a percentage of the legend range.
    const double thr = (m_dLegendMax - m_dLegendMin) * num.m_dNumberFactor * 0.01;
    const bool nearMax = m_dLegendMax - v <= thr, nearMin = v - m_dLegendMin <= thr;
    switch (num.m_nNumberOpt1) {
    case 0: return nearMax ? 0 : (nearMin ? 1 : -1);
    case 1: {
        const double E = std::fabs(m_dLegendMin) > std::fabs(m_dLegendMax) ? std::fabs(m_dLegendMin)
                                                                            : std::fabs(m_dLegendMax);
        return E - std::fabs(v) <= thr ? 2 : -1;
    }
    case 2: return nearMax ? 0 : -1;
    case 3: return nearMin ? 1 : -1;
    default: return -1;
    }
}

// ---- diagram numbers -----------------------------------------------------------------------------

void CForceEngine::OutputSfdBmdNumberB(CDC* pDC, UINT nKey, T_STRG_D forc, C3DPoint* pAnchors, int nComp,
                                       double* pValues) {
    DiagramNumbers d;
    d.filtered[0] = CalcBForcValue(forc, 0);
    d.filtered[1] = CalcBForcValue(forc, 2);
    d.filtered[2] = CalcBForcValue(forc, 1);
    d.position[0] = CalcBForcValue(forc, nComp, 0, 0);
    d.position[1] = CalcBForcValue(forc, nComp, 3, 1);
    d.position[2] = CalcBForcValue(forc, nComp, 7, 1);
    d.values = pValues;
    WriteDiagramNumbers(*this, pDC, nKey, pAnchors, d);
}

void CForceEngine::OutputSfdBmdNumberC(CDC* pDC, UINT nKey, T_MBCL_D forc, C3DPoint* pAnchors, int nComp,
                                       double* pValues) {
    if (!pValues) return;
    DiagramNumbers d;
    d.filtered[0] = CalcCForcValue(forc, 0);
    d.filtered[1] = CalcCForcValue(forc, 2);
    d.filtered[2] = CalcCForcValue(forc, 1);
    d.position[0] = CalcCForcValue(forc, nComp, 0);
    d.position[1] = pValues[2];
    d.position[2] = CalcCForcValue(forc, nComp, 1);
    d.values = pValues;
    WriteDiagramNumbers(*this, pDC, nKey, pAnchors, d);
}

// ---- member numbers of the frame contour ---------------------------------------------------------

void CForceEngine::OutputBForcNumbers(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bBForcData || !pDC || !pModel || !pModel->m_pDispOpt || !pModel->m_pAttrCtrl || !pModel->m_pPVXCtrl) return;
    T_PVX_DOPT_NUMBER_D& num = pModel->m_pDispOpt->m_Number;
    const int nSaved = pDC->SaveDC();
    CPVXBeamLabel label(pDC);
    label.SetLabelOption(&num);
    label.SetNumberFormat(num.m_bExponent, num.m_nDecimals);
    const int bDeformed = m_bDeformed;
    const CArray<UINT, UINT>& keys = pModel->m_arrAllMembKey;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const UINT key = keys[i];
        T_PMEMB_D memb;
        T_STRG_D rec;
        T_MBCL_D colm;
        // An inactive member prints nothing; a column prints its forces when the column map
        // holds them.
        if (!pModel->m_pPVXCtrl->IsActiveElem(key) || !pModel->m_pAttrCtrl->GetMemb(key, memb)) continue;
        const bool bColumn = CPVXAttrCtrl::IsColumnElemType(memb.type) != 0;
        if (bColumn ? !m_mapCForc.Lookup(key, colm)
                    : !IsPossibleBForc(memb) || !CPVXAttrCtrl::IsBeamElemType(memb.type) || !m_bShowBeam ||
                          !m_mapBForc.Lookup(key, rec))
            continue;
        auto value = [&](int nPos) { return bColumn ? CalcCForcValue(colm, nPos) : CalcBForcValue(rec, nPos); };
        CArray<C3DPoint> pts;
        DrawnPoints(pModel, key, bDeformed, pts);
        const INT_PTR n = pts.GetSize();
        if (n < (bDeformed ? 3 : 2)) continue;
        C3DPoint ptI = pts[0], ptJ = pts[n - 1];
        C3DPoint anchors[3];  // i end, middle, j end
        CArray<C3DPoint> path;
        DrawnPathOfElements(pModel, key, bDeformed, path);
        if (path.GetSize() >= 2) {
            // Several elements: the numbers stand along the whole member, at an eighth of its
            // length from either end and at its middle, as on a straight member.
            ptI = path[0];
            ptJ = path[path.GetSize() - 1];
            anchors[0] = PointAlong(path, bDeformed ? 0.0 : 0.125);
            anchors[1] = PointAlong(path, 0.5);
            anchors[2] = PointAlong(path, bDeformed ? 1.0 : 0.875);
        } else if (bDeformed) {
            anchors[0] = ptI;
            anchors[1] = pts[n - 2];
            anchors[2] = ptJ;
        } else {
            anchors[1] = (ptI + ptJ) * 0.5;
            pModel->GetTextOutputNodeForBFroc(ptI, ptJ, anchors[0], anchors[2], 0, nullptr);
        }
        int nSlope = 0, nDir = 0;
        if (!GetSlopeEx(nSlope, ptI, ptJ, nDir) && !GetSlopeEx(nSlope, ptJ, ptI, nDir)) continue;

        if (num.m_nNumberOpt2) {
            const int bOn[3] = {m_bNumIEnd, m_bNumMiddle, m_bNumJEnd};
            const int pos[3] = {0, 2, 1};  // value positions of i end, middle, j end
            for (int p = 0; p < 3; ++p) {
                if (!bOn[p] && !m_bNumAtMax) continue;
                const double v = value(pos[p]);
                const int nKind = GetSfdBmdExtremeKind(v);
                if (nKind >= 0) label.OutputMaxMin(pModel, &anchors[p], nKind, v);
            }
            continue;
        }
        label.BeginDraw(&nSlope);
        auto write = [&](int nAnchor, int nLabelPos, double v) {
            const CPoint pt = pModel->Get3DPtTo2DPt(&anchors[nAnchor]);
            if (pt.x < 0 || pt.y < 0) return;
            int nAlign = label.GetTextAlign(nLabelPos, nDir);
            const CPoint at = AwayFromEnd(pDC, pt, static_cast<UINT>(nAlign));
            label.OutputNumber(at.x, at.y, v, &nAlign);
        };
        if (m_bNumAtMax) {
            write(1, 0, value(3));
        } else {
            if (m_bNumIEnd) write(0, 1, value(0));
            if (m_bNumJEnd) write(2, 2, value(1));
            if (m_bNumMiddle) write(1, 0, value(2));
        }
        label.EndDraw();
    }
    pDC->RestoreDC(nSaved);
}
