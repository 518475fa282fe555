#include "module/model/CPVXResultLabelBase.h"

#include <algorithm>

#include "host/grx/C3DPoint.h"
#include "module/model/CPVXLabelBase.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"

CPVXResultLabelBase::CPVXResultLabelBase(CDC* pDC, I_PVXModel* pModel)
    : m_pDC(pDC),
      m_pLogFont(nullptr),
      m_pView(nullptr),
      m_pModel(pModel),
      m_strFormat(" %.6f "),
      m_bExponent(0),
      m_bOpaque(0),
      m_crText(0),
      m_crBack(0),
      m_nDigits(6),
      m_nOrientation(0),
      m_nTextAlign(TA_BOTTOM | TA_CENTER) {}

CPVXResultLabelBase::~CPVXResultLabelBase() = default;

I_PVXModel* CPVXResultLabelBase::GetModel() const {
    if (m_pView && m_pView->GetPVXModel()) return m_pView->GetPVXModel();
    return m_pModel;
}

CString CPVXResultLabelBase::FormatNumber(double dValue) const {
    CString s;
    s.Format(m_strFormat, dValue);
    return s;
}

void CPVXResultLabelBase::BeginDraw() {
    if (!m_pDC) return;
    m_pDC->SetBkMode(m_bOpaque ? OPAQUE : TRANSPARENT);
    m_pDC->SetTextColor(m_crText);
    m_pDC->SetBkColor(m_crBack);
    m_pDC->SetTextAlign(static_cast<UINT>(m_nTextAlign));
    const int nDigits = std::clamp(m_nDigits, 0, CPVXLabelBase::kMaxDigits);
    m_strFormat.Format(m_bExponent ? " %s%de " : " %s%df ", "%.", nDigits);
    if (I_PVXModel* pModel = GetModel()) pModel->SetNumberFontOrientation(m_nOrientation);
}

void CPVXResultLabelBase::WriteText(int x, int y, const CString& strText, COLORREF* pColor) {
    CFont font;
    CFont* pPrev = nullptr;
    if (m_pLogFont && font.CreatePointFontIndirect(m_pLogFont, m_pDC)) pPrev = m_pDC->SelectObject(&font);
    m_pDC->SetTextColor(pColor ? *pColor : m_crText);
    m_pDC->TextOut(x, y, strText);
    if (pPrev) m_pDC->SelectObject(pPrev);
}

void CPVXResultLabelBase::DrawText(CPoint* pPoint, double dValue, int* pOrientation, COLORREF* pColor) {
    if (!m_pDC || !pPoint) return;
    if (pOrientation) {
        if (I_PVXModel* pModel = GetModel()) pModel->SetNumberFontOrientation(*pOrientation);
    }
    WriteText(pPoint->x, pPoint->y, FormatNumber(dValue), pColor);
}

// Writing nothing here would make the extreme filter of the ratio display drop every number;
// the extreme values are written as the other labels write them.
void CPVXResultLabelBase::OutputMaxMin(C3DPoint* pPoint, double dValue, int nKind, int* pOrientation, int) {
    I_PVXModel* pModel = GetModel();
    if (!m_pDC || !pPoint || !pModel) return;
    const CPoint pt = pModel->Get3DPtTo2DPt(pPoint);
    if (pt.x < 0 || pt.y < 0) return;
    if (pOrientation) pModel->SetNumberFontOrientation(*pOrientation);
    WriteText(pt.x, pt.y, CPVXLabelBase::MaxMinText(nKind, FormatNumber(dValue)), nullptr);
    CPVXLabelBase::DrawMaxMinCross(m_pDC, pModel, *pPoint, m_crText);
}
