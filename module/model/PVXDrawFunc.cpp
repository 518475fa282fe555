#include "module/model/PVXDrawFunc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "module/engines/CEngineBase.h"
#include "host/base/CMathFunc.h"
#include "host/base/CMsgDll.h"
#include "host/grx/C3DPoint.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXLabelSpacer.h"
#include "module/model/LabelCross.h"
#include "module/model/CPVXLabelBase.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"

namespace {

const double kLineApart = 0.2;  // heights each of two stacked values stands off their anchor
const double kRadToTenthDeg = -572.9582790879778;  // -1800 / 3.14159

// Device point of a world point: the window transform while the model draws straight to a
// device, the memory-image transform otherwise.
CPoint MapPoint(const I_PVXModel* pModel, const double* p) {
    const C3DPoint w(p[0], p[1], p[2]);
    return pModel->m_bExternalDevice ? pModel->m_pPVXCtrl->GetWorldToWindowP2D(w)
                                     : pModel->m_pPVXCtrl->GetWorldToMemDCP2D(w);
}

bool IsVisible(const CPoint& p) { return p.x >= 0 && p.y >= 0; }
// The marker kinds keep a one-pixel border.
bool IsInside(const CPoint& p) { return p.x >= 1 && p.y >= 1; }

int PenFactor(const I_PVXModel* pModel) { return std::max(1, pModel->m_nPenFactor); }

// " %.<digits>f " or " %.<digits>e " of the number options.
CString NumberFormat(const T_PVX_DOPT_NUMBER_D& opt) {
    CString fmt;
    fmt.Format(opt.m_bExponent ? " %s%de " : " %s%df ", "%.", std::clamp(opt.m_nDecimals, 0, CPVXLabelBase::kMaxDigits));
    return fmt;
}

// Background mode, middle text colour, background colour and bottom-centre alignment of the
// number options.
void ApplyNumberState(CDC* pDC, const T_PVX_DOPT_NUMBER_D& opt) {
    pDC->SetBkMode(opt.m_bNumberOpaque ? OPAQUE : TRANSPARENT);
    pDC->SetTextColor(opt.m_crNumber[1]);
    pDC->SetBkColor(opt.m_crNumberBack);
    pDC->SetTextAlign(TA_CENTER | TA_BOTTOM);
}

// Keeps a point font of the number font (its height for the current view) selected until the end
// of the scope; the options keep their font. Nothing is selected when the font cannot be made.
class NumberFontScope {
public:
    NumberFontScope(CDC* pDC, const LOGFONT& lfNumber) : m_pDC(pDC) {
        LOGFONT lf = lfNumber;
        lf.lfHeight = GetCurViewTextHeight(static_cast<int>(lf.lfHeight));
        if (m_font.CreatePointFontIndirect(&lf, pDC)) m_pOld = pDC->SelectObject(&m_font);
    }
    ~NumberFontScope() {
        if (m_pOld) m_pDC->SelectObject(m_pOld);
    }
    NumberFontScope(const NumberFontScope&) = delete;
    NumberFontScope& operator=(const NumberFontScope&) = delete;

private:
    CDC* m_pDC;
    CFont m_font;
    CFont* m_pOld = nullptr;
};

// How the vertical alignment of a number is chosen.
enum NumberRule {
    kRuleSide,   // member force numbers: the side of the member the anchor lies on
    kRuleSlab,   // as kRuleSide, but kinds 6 and 7 by kind with one more blank each side
    kRuleFixed,  // diagram numbers: fixed alignments by kind
};

// Draws one number record; returns nothing, draws nothing off-screen.
void DrawNumber(const double* pAxis1, const double* pAxis2, const double* pAnchor, double dValue, int nKind,
                const COLORREF* pOwnColor, CDC* pDC, I_PVXModel* pModel, NumberRule rule) {
    if (!pDC || !PVXDrawFuncCanDraw(pModel)) return;
    T_PVX_DOPT_NUMBER_D& opt = pModel->m_pDispOpt->m_Number;

    ApplyNumberState(pDC, opt);
    CString strNumber;
    strNumber.Format(NumberFormat(opt), dValue);

    const CPoint p1 = MapPoint(pModel, pAxis1);
    const CPoint p2 = MapPoint(pModel, pAxis2);
    if (!IsVisible(p1) || !IsVisible(p2)) return;

    int bTurned = 0;
    int nAngle = PVXCalcTextAngle(p1, p2, bTurned);
    // The number dialog's fixed direction, when chosen, in place of the member's.
    if (opt.m_bFixedNumberAngle) {
        nAngle = opt.m_nNumberAngle;
        bTurned = 0;
    }
    // The number font keeps the angle of the last record drawn.
    opt.m_lfNumber.lfEscapement = nAngle;
    opt.m_lfNumber.lfOrientation = nAngle;
    const NumberFontScope font(pDC, opt.m_lfNumber);
    pDC->SetTextAlign(bTurned ? (TA_BOTTOM | TA_RIGHT) : (TA_BOTTOM | TA_LEFT));

    UINT nVert = TA_BOTTOM;
    if (rule != kRuleFixed) {
        const double u[3] = {pAxis2[0] - pAxis1[0], pAxis2[1] - pAxis1[1], pAxis2[2] - pAxis1[2]};
        const double w[3] = {pAnchor[0] - pAxis1[0], pAnchor[1] - pAxis1[1], pAnchor[2] - pAxis1[2]};
        const double s = CMathFunc::mathCrossAngleNormalizeWithSign(u, w);
        if (bTurned)
            nVert = s < 0 ? TA_TOP : TA_BOTTOM;
        else
            nVert = s < 0 ? TA_BOTTOM : TA_TOP;
    }

    const CPoint pa = MapPoint(pModel, pAnchor);
    const bool bVisible = IsVisible(pa);
    const UINT nStartSide = bTurned ? TA_RIGHT : TA_LEFT;  // kind 6: away from the member's start
    const UINT nEndSide = bTurned ? TA_LEFT : TA_RIGHT;    // kind 7: away from the member's end
    // A member seen end-on (a column in plan) has all its anchors at one point: its values to
    // either side stand inside their sides, and one written centred goes to the other side of
    // the point from the rest.
    const bool bEndOn = PVXIsSeenEndOn(p1, p2);
    const double dSideInset = bEndOn ? CPVXLabelSpacer::kEndInset : 0.0;
    const UINT nOtherVert = nVert == TA_TOP ? TA_BOTTOM : TA_TOP;

    // dAlong, dAcross: heights the text stands away from the anchor (see AwayFromAnchor).
    auto writeNumber = [&](UINT nAlign, const CString& strText, double dAlong = 0.0, double dAcross = 0.0) {
        pDC->SetTextAlign(nAlign);
        const CPoint at = CPVXLabelSpacer::AwayFromAnchor(pDC, pa, nAlign, dAlong, dAcross);
        if (bVisible) CPVXLabelSpacer::TextOut(pDC, at.x, at.y, strText);
    };

    switch (nKind) {
    case 0:
    case 1:
    case 2: {
        if (!bVisible) break;
        static const char* const kKeys[] = {"IDS_TBX_PVX_Max_", "IDS_TBX_PVX_Min_", "IDS_TBX_PVX_MAX_"};
        static const UINT kSides[] = {TA_LEFT, TA_RIGHT, TA_CENTER};
        if (pOwnColor) pDC->SetTextColor(*pOwnColor);
        CString strText = CMsgDll::pfuncLoadStr(kKeys[nKind], 0);
        strText += strNumber;
        pDC->SetTextAlign(nVert | kSides[nKind]);
        CPVXLabelSpacer::TextOut(pDC, pa.x, pa.y, strText);
        CPen pen;
        const int nSaved = pDC->SaveDC();
        if (pen.CreatePen(PS_SOLID, labelcross::kCrossPenWidth, opt.m_crNumber[1])) pDC->SelectObject(&pen);
        const C3DPoint anchor(pAnchor[0], pAnchor[1], pAnchor[2]);
        if (pModel->m_bExternalDevice)
            pModel->m_pPVXCtrl->DrawCrossInClientWindow(pDC, anchor, labelcross::kCrossSize);
        else
            pModel->m_pPVXCtrl->DrawCross(pDC, anchor, labelcross::kCrossSize);
        pDC->RestoreDC(nSaved);
        break;
    }
    case 3:
        if (pOwnColor) pDC->SetTextColor(*pOwnColor);
        writeNumber((rule == kRuleFixed ? TA_TOP | TA_CENTER : nVert | TA_RIGHT), strNumber, dSideInset);
        break;
    case 4:
        if (pOwnColor) pDC->SetTextColor(*pOwnColor);
        writeNumber((rule == kRuleFixed ? TA_BOTTOM | TA_CENTER : nVert | TA_LEFT), strNumber, dSideInset);
        break;
    case 5:
        if (pOwnColor) pDC->SetTextColor(*pOwnColor);
        writeNumber(nVert | TA_CENTER, strNumber);
        break;
    case 6:
    case 7: {
        pDC->SetTextColor(pOwnColor ? *pOwnColor : opt.m_crNumber[nKind == 6 ? 0 : 2]);
        // A slab side's two values stand under and over its middle, a little apart; a member's
        // end values a little inside their ends, clear of the next member's at a shared node.
        if (rule == kRuleSlab) {
            CString strText;
            strText.Format(" %s ", static_cast<LPCTSTR>(strNumber));
            writeNumber((nKind == 6 ? TA_TOP : TA_BOTTOM) | nStartSide, strText, 0.0, kLineApart);
        } else {
            writeNumber(nVert | (nKind == 6 ? nStartSide : nEndSide), strNumber, CPVXLabelSpacer::kEndInset);
        }
        break;
    }
    case 8:
        pDC->SetTextColor(pOwnColor ? *pOwnColor : opt.m_crNumber[1]);
        writeNumber((bEndOn ? nOtherVert : nVert) | TA_CENTER, strNumber);
        break;
    default:
        break;
    }

}

// A square (or circle) of half-width h about p with the DC's pen and brush.
void DrawSquare(CDC* pDC, const CPoint& p, int h, bool bCircle) {
    if (bCircle)
        pDC->Ellipse(p.x - h, p.y - h, p.x + h, p.y + h);
    else
        pDC->Rectangle(p.x - h, p.y - h, p.x + h, p.y + h);
}

// Influence-line extreme marker: a filled square (or circle) shifted by a shadow offset and
// outlined near-white, then a hollow black one on the point.
void DrawInflWidget(CDC* pDC, I_PVXModel* pModel, const double* pPoint, int nSize, COLORREF cr, bool bCircle) {
    const CPoint p = MapPoint(pModel, pPoint);
    const int pf = PenFactor(pModel);
    const int nShift = static_cast<int>(1.5 * pf);
    CPen penLight(PS_SOLID, 2 * pf, RGB(250, 250, 250));
    CBrush brush(cr);
    CPen* pOldPen = pDC->SelectObject(&penLight);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    DrawSquare(pDC, CPoint(p.x + nShift, p.y + nShift), nSize, bCircle);
    CPen penBlack(PS_SOLID, 2 * pf, RGB(0, 0, 0));
    pDC->SelectObject(&penBlack);
    pDC->SelectStockObject(HOLLOW_BRUSH);
    DrawSquare(pDC, p, nSize, bCircle);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

// Second influence-line marker: a filled square (or circle) in the colour and a hollow one
// three pen widths around it.
void DrawInflWidget2(CDC* pDC, I_PVXModel* pModel, const double* pPoint, int nSize, COLORREF cr, bool bCircle) {
    const CPoint p = MapPoint(pModel, pPoint);
    const int pf = PenFactor(pModel);
    CPen pen(PS_SOLID, pf, cr);
    CBrush brush(cr);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    DrawSquare(pDC, p, nSize, bCircle);
    pDC->SelectStockObject(HOLLOW_BRUSH);
    DrawSquare(pDC, p, nSize + 3 * pf, bCircle);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

// A text at a point moved down by an offset: upright (angle 900, left-top) or level
// (centre-bottom), in the number colours; the number font is left level afterwards.
void DrawTextOn2DPoint(CDC* pDC, I_PVXModel* pModel, const double* pPoint, const CString& strText, int nOffset,
                       int bUpright) {
    T_PVX_DOPT_NUMBER_D& opt = pModel->m_pDispOpt->m_Number;
    ApplyNumberState(pDC, opt);
    const int nAngle = bUpright ? 900 : 0;
    opt.m_lfNumber.lfEscapement = nAngle;
    opt.m_lfNumber.lfOrientation = nAngle;
    const NumberFontScope font(pDC, opt.m_lfNumber);
    pDC->SetTextAlign(bUpright ? (TA_LEFT | TA_TOP) : (TA_CENTER | TA_BOTTOM));
    const CPoint p = MapPoint(pModel, pPoint);
    pDC->TextOut(p.x, p.y + nOffset, strText);
    opt.m_lfNumber.lfEscapement = 0;
    opt.m_lfNumber.lfOrientation = 0;
}

}  // namespace

int PVXDrawFuncCanDraw(const I_PVXModel* pModel) {
    return pModel && pModel->m_pPVXCtrl && pModel->m_pDispOpt ? 1 : 0;
}

int PVXCalcTextAngle(POINT pt1, POINT pt2, int& bTurned) {
    const double r = std::atan2(static_cast<double>(pt1.y) - pt2.y, static_cast<double>(pt2.x) - pt1.x);
    const int t = static_cast<int>(r * kRadToTenthDeg);
    int a = ((3600 - t) % 3600 + 3600) % 3600;
    bTurned = 0;
    // Text between 90 and 270 degrees would read upside down: it is turned half a circle.
    if (a > 900 && a <= 2700) {
        a = (a + 1800) % 3600;
        bTurned = 1;
    }
    return a;
}

bool PVXIsSeenEndOn(POINT pt1, POINT pt2) { return std::abs(pt1.x - pt2.x) <= 1 && std::abs(pt1.y - pt2.y) <= 1; }

void PVXDrawNumberRecord(const T_DrawNumberRec& rec, CDC* pDC, I_PVXModel* pModel, int bSlab) {
    DrawNumber(rec.m_dAxis1, rec.m_dAxis2, rec.m_dAnchor, rec.m_dValue, rec.m_nKind, nullptr, pDC, pModel,
               bSlab ? kRuleSlab : kRuleSide);
}

// ---- the two filled kinds ---------------------------------------------------------------------

namespace {

template <class R>
R* MakeNumberRecord(const double* pAnchor, const double* pAxis, int nKind, double dValue) {
    if (!pAnchor || !pAxis) return nullptr;
    R* pRec = new (std::nothrow) R;
    if (!pRec) return nullptr;
    for (int i = 0; i < 3; ++i) {
        pRec->m_dAxis1[i] = pAxis[i];
        pRec->m_dAxis2[i] = pAxis[3 + i];
        pRec->m_dAnchor[i] = pAnchor[i];
    }
    pRec->m_dValue = dValue;
    pRec->m_nKind = nKind;
    return pRec;
}

}  // namespace

void Func_OutputSfdBmdNumber::Push(const double* pAnchor, const double* pAxis, int nKind, double dValue) {
    AddRecord(MakeNumberRecord<Record>(pAnchor, pAxis, nKind, dValue));
}

void Func_OutputSfdBmdNumber::Draw(T_Draw<Func_OutputSfdBmdNumber>& rec, CDC* pDC, I_PVXModel* pModel) {
    PVXDrawNumberRecord(rec, pDC, pModel, 0);
}

void Func_OutputSlabNumber::Push(const double* pAnchor, const double* pAxis, int nKind, double dValue) {
    AddRecord(MakeNumberRecord<Record>(pAnchor, pAxis, nKind, dValue));
}

void Func_OutputSlabNumber::Draw(T_Draw<Func_OutputSlabNumber>& rec, CDC* pDC, I_PVXModel* pModel) {
    PVXDrawNumberRecord(rec, pDC, pModel, 1);
}

// ---- kinds without a producer in this system ---------------------------------------------------

void Func_OutputCutLineNumber::Draw(T_Draw<Func_OutputCutLineNumber>& rec, CDC* pDC, I_PVXModel* pModel) {
    T_PVX_DOPT_NUMBER_D& opt = pModel->m_pDispOpt->m_Number;
    ApplyNumberState(pDC, opt);
    CString strNumber;
    strNumber.Format(NumberFormat(opt), rec.m_dValue);
    pModel->SetNumberFontOrientation(0);
    const CPoint p = MapPoint(pModel, rec.m_dPoint);
    if (!IsInside(p)) return;
    const NumberFontScope font(pDC, opt.m_lfNumber);
    pDC->TextOut(p.x, p.y, strNumber);
}

void Func_DrawPoint::Draw(T_Draw<Func_DrawPoint>& rec, CDC* pDC, I_PVXModel* pModel) {
    const CPoint p = MapPoint(pModel, rec.m_dPoint);
    if (!IsInside(p)) return;
    CBrush brush(rec.m_crColor);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    const int l = p.x - rec.m_nSize / 2, t = p.y - rec.m_nSize / 2;
    if (rec.m_bSquare)
        pDC->Rectangle(l, t, l + rec.m_nSize, t + rec.m_nSize);
    else
        pDC->Ellipse(l, t, l + rec.m_nSize, t + rec.m_nSize);
    pDC->SelectObject(pOldBrush);
}

void Func_DrawCrossLine::Draw(T_Draw<Func_DrawCrossLine>& rec, CDC* pDC, I_PVXModel* pModel) {
    const CPoint p = MapPoint(pModel, rec.m_dPoint);
    if (!IsInside(p)) return;
    const int h = rec.m_nSize / 2;
    if (rec.m_nStyle == 0) {
        pDC->MoveTo(p.x - h, p.y - h);
        pDC->LineTo(p.x + h, p.y + h);
        pDC->MoveTo(p.x - h, p.y + h);
        pDC->LineTo(p.x + h, p.y - h);
    } else if (rec.m_nStyle == 1) {
        pDC->MoveTo(p.x - h, p.y);
        pDC->LineTo(p.x + h, p.y);
        pDC->MoveTo(p.x, p.y - h);
        pDC->LineTo(p.x, p.y + h);
    }
}

void Func_DrawPositionWidget::Draw(T_Draw<Func_DrawPositionWidget>& rec, CDC* pDC, I_PVXModel* pModel) {
    const CPoint p = MapPoint(pModel, rec.m_dPoint);
    CPen pen(PS_SOLID, 2 * PenFactor(pModel), RGB(255, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&pen);
    CGdiObject* pOldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    const int s = rec.m_nSize;
    pDC->MoveTo(p.x - s, p.y);
    pDC->LineTo(p.x + s, p.y);
    pDC->MoveTo(p.x, p.y - s);
    pDC->LineTo(p.x, p.y + s);
    pDC->Ellipse(p.x - s, p.y - s, p.x + s, p.y + s);
    pDC->SelectObject(pOldPen);
    if (pOldBrush) pDC->SelectObject(pOldBrush);
}

void Func_DrawInflLineMinWidget::Draw(T_Draw<Func_DrawInflLineMinWidget>& rec, CDC* pDC, I_PVXModel* pModel) {
    DrawInflWidget(pDC, pModel, rec.m_dPoint, rec.m_nSize, rec.m_crColor, false);
}

void Func_DrawInflLineMaxWidget::Draw(T_Draw<Func_DrawInflLineMaxWidget>& rec, CDC* pDC, I_PVXModel* pModel) {
    DrawInflWidget(pDC, pModel, rec.m_dPoint, rec.m_nSize, rec.m_crColor, true);
}

void Func_DrawInflLineMinWidget2::Draw(T_Draw<Func_DrawInflLineMinWidget2>& rec, CDC* pDC, I_PVXModel* pModel) {
    DrawInflWidget2(pDC, pModel, rec.m_dPoint, rec.m_nSize, rec.m_crColor, false);
}

void Func_DrawInflLineMaxWidget2::Draw(T_Draw<Func_DrawInflLineMaxWidget2>& rec, CDC* pDC, I_PVXModel* pModel) {
    DrawInflWidget2(pDC, pModel, rec.m_dPoint, rec.m_nSize, rec.m_crColor, true);
}

void Func_DrawOutputNumberOn2DPoint::Draw(T_Draw<Func_DrawOutputNumberOn2DPoint>& rec, CDC* pDC,
                                          I_PVXModel* pModel) {
    CString strText;
    strText.Format("%.8g", rec.m_dValue);
    DrawTextOn2DPoint(pDC, pModel, rec.m_dPoint, strText, rec.m_nOffset, rec.m_bUpright);
}

void Func_DrawOutputStringOn2DPoint::Draw(T_Draw<Func_DrawOutputStringOn2DPoint>& rec, CDC* pDC,
                                          I_PVXModel* pModel) {
    DrawTextOn2DPoint(pDC, pModel, rec.m_dPoint, rec.m_strText, rec.m_nOffset, rec.m_bUpright);
}

void Func_DrawMvltrcPointLoadWidget::Draw(T_Draw<Func_DrawMvltrcPointLoadWidget>& rec, CDC* pDC,
                                          I_PVXModel* pModel) {
    const CPoint p1 = MapPoint(pModel, rec.m_dPoint1);
    if (!IsVisible(p1)) return;
    const CPoint p2 = MapPoint(pModel, rec.m_dPoint2);
    const int pf = PenFactor(pModel);
    const int s = rec.m_nSize;
    CPen pen(PS_SOLID, pf, rec.m_crColor);
    CBrush brush(rec.m_crColor);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    const int l = p1.x - s / 2, t = p1.y - s / 2;
    pDC->Rectangle(l, t, l + s, t + s);
    pDC->SelectStockObject(HOLLOW_BRUSH);
    const int h = static_cast<int>(s / 2 + 2.5 * pf);
    pDC->Rectangle(p1.x - h, p1.y - h, p1.x + h, p1.y + h);
    pDC->SelectObject(&brush);
    pDC->Rectangle(p2.x, p2.y, p2.x + 2 * s, p2.y + static_cast<int>(0.7 * s));
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

void Func_DrawMvltrcDistLoadWidget::Draw(T_Draw<Func_DrawMvltrcDistLoadWidget>& rec, CDC* pDC,
                                         I_PVXModel* pModel) {
    const CPoint p = MapPoint(pModel, rec.m_dPoint);
    if (!IsVisible(p)) return;
    const int r = rec.m_nRadius;
    const int ri = r - static_cast<int>(0.4 * r);
    CPen pen(PS_SOLID, PenFactor(pModel), rec.m_crColor);
    CBrush brush(rec.m_crColor);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    pDC->Ellipse(p.x - ri, p.y - ri, p.x + ri, p.y + ri);
    pDC->SelectStockObject(HOLLOW_BRUSH);
    pDC->Ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

void Func_DrawDashLine3DOnClientWindow::Draw(T_Draw<Func_DrawDashLine3DOnClientWindow>&, CDC*, I_PVXModel*) {}

// The member-text kinds are kept and cleared with the set; nothing in this system queues them and
// their texts are drawn by the figure code itself.
void Func_DrawMbDgrmBeamDataByMember::Draw(T_Draw<Func_DrawMbDgrmBeamDataByMember>&, CDC*, I_PVXModel*) {}
void Func_DrawMbDgrmBeamData::Draw(T_Draw<Func_DrawMbDgrmBeamData>&, CDC*, I_PVXModel*) {}
void Func_DrawMbDgrmColmDataByMember::Draw(T_Draw<Func_DrawMbDgrmColmDataByMember>&, CDC*, I_PVXModel*) {}
void Func_DrawMbDgrmColmData::Draw(T_Draw<Func_DrawMbDgrmColmData>&, CDC*, I_PVXModel*) {}
void Func_DrawMbDgrmBrceDataByMember::Draw(T_Draw<Func_DrawMbDgrmBrceDataByMember>&, CDC*, I_PVXModel*) {}
void Func_DrawMbDgrmBrceData::Draw(T_Draw<Func_DrawMbDgrmBrceData>&, CDC*, I_PVXModel*) {}
void Func_DrawMbDgrmWallData::Draw(T_Draw<Func_DrawMbDgrmWallData>&, CDC*, I_PVXModel*) {}
void Func_DrawBeamRebar::Draw(T_Draw<Func_DrawBeamRebar>&, CDC*, I_PVXModel*) {}
void Func_DrawBrceRebar::Draw(T_Draw<Func_DrawBrceRebar>&, CDC*, I_PVXModel*) {}
void Func_DrawWallRebar::Draw(T_Draw<Func_DrawWallRebar>&, CDC*, I_PVXModel*) {}
void Func_DrawSTBeamCodeChk::Draw(T_Draw<Func_DrawSTBeamCodeChk>&, CDC*, I_PVXModel*) {}
void Func_DrawColmRebar::Draw(T_Draw<Func_DrawColmRebar>&, CDC*, I_PVXModel*) {}
void Func_DrawSTColmCodeChk::Draw(T_Draw<Func_DrawSTColmCodeChk>&, CDC*, I_PVXModel*) {}

void Func_OutputDgrmNumber::Draw(T_Draw<Func_OutputDgrmNumber>& rec, CDC* pDC, I_PVXModel* pModel) {
    DrawNumber(rec.m_dAxis1, rec.m_dAxis2, rec.m_dAnchor, rec.m_dValue, rec.m_nKind,
               rec.m_bOwnColor ? &rec.m_crColor : nullptr, pDC, pModel, kRuleFixed);
}

void Func_DrawIconUCS::Draw(T_Draw<Func_DrawIconUCS>& rec, CDC* pDC, I_PVXModel* pModel) {
    CPen pen(PS_SOLID, PenFactor(pModel), RGB(0, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&pen);
    const C3DPoint a(rec.m_dPoint1[0], rec.m_dPoint1[1], rec.m_dPoint1[2]);
    const C3DPoint b(rec.m_dPoint2[0], rec.m_dPoint2[1], rec.m_dPoint2[2]);
    if (pModel->m_bExternalDevice)
        pModel->m_pPVXCtrl->DrawLine3DOnClientWindow(pDC, a, b, 0.0);
    else
        pModel->m_pPVXCtrl->DrawLine3D(pDC, a, b, 0.0);
    pDC->SelectObject(pOldPen);
}
