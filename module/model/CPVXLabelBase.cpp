#include "module/model/CPVXLabelBase.h"

#include <algorithm>
#include <cmath>

#include "module/engines/CEngineBase.h"
#include "host/base/CMathFunc.h"
#include "host/grx/C3DPoint.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXLabelSpacer.h"
#include "module/model/LabelCross.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"

namespace {

const int kAlignBottomCentre = TA_BOTTOM | TA_CENTER;  // 14

// Truncation toward zero that keeps a value a rounding error short of a whole number on that
// number: sin 30 degrees in doubles is 0.49999999999999994, and 10 times it must give 5.
int TruncateOffset(double v) { return static_cast<int>(v + (v < 0.0 ? -1e-9 : 1e-9)); }

// Unit vector from a text's foot to its top on the window (y grows downward) for a text line
// turned counter-clockwise by nAngle tenths of a degree.
void TextUpVector(int nAngle, double& dx, double& dy) {
    double v[3] = {1.0, 0.0, 0.0};
    CMathFunc::mathRotateZ(nAngle / 10.0, v);
    CMathFunc::mathNormalize(v);
    dx = -v[1];
    dy = -v[0];
}

}  // namespace

CPVXLabelBase::CPVXLabelBase(CDC* pDC)
    : m_pDC(pDC),
      m_bExponent(0),
      m_bOpaque(0),
      m_nDigits(3),
      m_crText(0),
      m_crBack(RGB(255, 255, 255)),
      m_nTextAlign(kAlignBottomCentre),
      m_strFormat("%g"),
      m_pLogFont(nullptr),
      m_pOldFont(nullptr) {}

CPVXLabelBase::~CPVXLabelBase() { m_font.DeleteObject(); }

int CPVXLabelBase::GetTextAlign(int, int) { return 0; }

void CPVXLabelBase::SetLabelOption(T_PVX_DOPT_NUMBER_D* pOpt) {
    if (!pOpt) return;
    SetNumberFormat(pOpt->m_bExponent, pOpt->m_nDecimals);
    m_crText = pOpt->m_crNumber[1];
    m_crBack = pOpt->m_crNumberBack;
    m_bOpaque = pOpt->m_bNumberOpaque;
    m_pLogFont = &pOpt->m_lfNumber;
}

void CPVXLabelBase::SetNumberFormat(int bExponent, int nDigits) {
    // A digit count beyond what a double carries only makes the text longer; a huge one would
    // make it enormous, and a negative one is no printf precision at all.
    nDigits = std::clamp(nDigits, 0, kMaxDigits);
    m_bExponent = bExponent;
    m_nDigits = nDigits;
    m_strFormat.Format(bExponent ? "%s%de" : "%s%df", "%.", nDigits);
}

CString CPVXLabelBase::FormatNumber(double dValue) const {
    CString s;
    s.Format(m_strFormat, dValue);
    return s;
}

BOOL CPVXLabelBase::CreateLabelFont(CFont& font, int nAngle) const {
    if (!m_pLogFont) return FALSE;
    // The description is the options' own: it is used through a copy and stays as it was.
    LOGFONT lf = *m_pLogFont;
    lf.lfEscapement = nAngle;
    lf.lfOrientation = nAngle;
    lf.lfHeight = GetCurViewTextHeight(static_cast<int>(lf.lfHeight));
    return font.CreatePointFontIndirect(&lf, m_pDC);
}

void CPVXLabelBase::BeginDraw(int* pAngle) {
    if (!m_pDC) return;
    if (m_font.GetSafeHandle()) EndDraw();
    m_pDC->SetBkMode(m_bOpaque ? OPAQUE : TRANSPARENT);
    m_pDC->SetTextColor(m_crText);
    m_pDC->SetBkColor(m_crBack);
    m_pDC->SetTextAlign(kAlignBottomCentre);
    m_nTextAlign = kAlignBottomCentre;
    if (CreateLabelFont(m_font, pAngle ? *pAngle : 0)) m_pOldFont = m_pDC->SelectObject(&m_font);
}

void CPVXLabelBase::EndDraw() {
    if (m_pDC && m_pOldFont) m_pDC->SelectObject(m_pOldFont);
    m_pOldFont = nullptr;
    m_font.DeleteObject();
}

void CPVXLabelBase::WriteText(int x, int y, const CString& strText, int* pAlign, COLORREF* pTextColor,
                              COLORREF* pBackColor, int* pAngle) {
    if (!m_pDC) return;
    if (pAlign) {
        m_nTextAlign = *pAlign;
        m_pDC->SetTextAlign(static_cast<UINT>(*pAlign));
    }
    m_pDC->SetTextColor(pTextColor ? *pTextColor : m_crText);
    if (pBackColor) m_pDC->SetBkColor(*pBackColor);
    CFont angleFont;
    CFont* pPrev = nullptr;
    if (pAngle && CreateLabelFont(angleFont, *pAngle)) pPrev = m_pDC->SelectObject(&angleFont);
    CPVXLabelSpacer::TextOut(m_pDC, x, y, strText);
    if (pPrev) m_pDC->SelectObject(pPrev);
}

void CPVXLabelBase::OutputNumber(int x, int y, double dValue, int* pAlign, COLORREF* pTextColor,
                                 COLORREF* pBackColor, int* pAngle) {
    WriteText(x, y, FormatNumber(dValue), pAlign, pTextColor, pBackColor, pAngle);
}

void CPVXLabelBase::OutputString(int x, int y, const CString& strText, int* pAlign, COLORREF* pTextColor,
                                 COLORREF* pBackColor, int* pAngle) {
    WriteText(x, y, strText, pAlign, pTextColor, pBackColor, pAngle);
}

void CPVXLabelBase::OutputMaxMin(I_PVXModel* pModel, C3DPoint* pPoint, int nKind, double dValue, int* pAlign,
                                 COLORREF* pTextColor, COLORREF* pBackColor, int* pAngle) {
    if (!m_pDC || !pModel || !pPoint) return;
    if (pAlign) {
        m_nTextAlign = *pAlign;
        m_pDC->SetTextAlign(static_cast<UINT>(*pAlign));
    }
    m_pDC->SetTextColor(pTextColor ? *pTextColor : m_crText);
    if (pBackColor) m_pDC->SetBkColor(*pBackColor);

    const CPoint pt = pModel->Get3DPtTo2DPt(pPoint);
    if (pt.x < 0 || pt.y < 0) return;

    WriteText(pt.x, pt.y, MaxMinText(nKind, FormatNumber(dValue)), nullptr, pTextColor, nullptr, pAngle);
    DrawMaxMinCross(m_pDC, pModel, *pPoint, m_crText);
}

CString CPVXLabelBase::MaxMinText(int nKind, const CString& strNumber) {
    CString strText;
    switch (nKind) {
    case 0: strText = "Max:"; break;
    case 1: strText = "Min:"; break;
    case 2: strText = "MAX:"; break;
    default: break;
    }
    strText += strNumber;
    return strText;
}

void CPVXLabelBase::DrawMaxMinCross(CDC* pDC, I_PVXModel* pModel, const C3DPoint& point, COLORREF crPen) {
    I_PVXCtrl* pCtrl = pModel ? pModel->m_pPVXCtrl : nullptr;
    if (!pDC || !pCtrl) return;
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, labelcross::kCrossPenWidth, crPen)) return;
    CPen* pOldPen = pDC->SelectObject(&pen);
    if (pModel->m_bExternalDevice)
        pCtrl->DrawCrossInClientWindow(pDC, point, labelcross::kCrossSize);
    else
        pCtrl->DrawCross(pDC, point, labelcross::kCrossSize);
    if (pOldPen) pDC->SelectObject(pOldPen);
}

POINT CPVXLabelBase::CalcRotatedTextPos(POINT ptAnchor, int nAngle, int nScale) {
    int dx = 0, dy = 0;
    if (nAngle >= 899 && nAngle <= 901) {
        dx = -10;
    } else if (std::abs(nAngle) <= 1) {
        dy = -10;
    } else if ((nAngle >= 2 && nAngle <= 898) || (nAngle >= 2701 && nAngle <= 3599)) {
        double ux = 0.0, uy = 0.0;
        TextUpVector(nAngle, ux, uy);
        dx = TruncateOffset(10.0 * ux);
        dy = TruncateOffset(10.0 * uy);
    }
    POINT pt;
    pt.x = ptAnchor.x + dx * nScale / 10;
    pt.y = ptAnchor.y + dy * nScale / 10;
    return pt;
}

CPoint CPVXLabelBase::CalcRotatedTextPos(const CPoint* pAnchor, int nEscapement, int nDistance) {
    if (!pAnchor) return CPoint(0, 0);
    double ux = 0.0, uy = 0.0;
    TextUpVector(nEscapement, ux, uy);
    return CPoint(pAnchor->x + TruncateOffset(nDistance * ux), pAnchor->y + TruncateOffset(nDistance * uy));
}

int CPVXBeamLabel::GetTextAlign(int nPos, int bFlag) {
    switch (nPos) {
    case 1: return bFlag ? (TA_BOTTOM | TA_RIGHT) : (TA_BOTTOM | TA_LEFT);
    case 2: return bFlag ? (TA_BOTTOM | TA_LEFT) : (TA_BOTTOM | TA_RIGHT);
    default: return kAlignBottomCentre;
    }
}
