// CReactionEngine: numbers on any device context, the figures' node labels and the picked nodes.
#include <cmath>

#include "host/grx/I_PVXCtrl.h"
#include "module/engines/CReactionEngine.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXLabelBase.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"

namespace {

constexpr int kFigureLineX = -15;                              // figure labels: x offset, pixels
constexpr int kFigureLineY[5] = {-22, -7, 8, 23, 38};          // FX, FY, FZ, MX, MY lines

// Label font, background, colours and alignment of the reaction numbers on a DC, restored when
// the scope ends.
class NumberTextScope {
public:
    NumberTextScope(CDC* pDC, const T_PVX_DOPT_NUMBER_D& n, COLORREF crText) : m_pDC(pDC) {
        LOGFONT lf = n.m_lfNumber;
        lf.lfHeight = GetCurViewTextHeight(lf.lfHeight);
        m_font.CreatePointFontIndirect(&lf, pDC);
        m_pOldFont = pDC->SelectObject(&m_font);
        m_nOldBk = pDC->SetBkMode(n.m_bNumberOpaque ? OPAQUE : TRANSPARENT);
        m_crOldText = pDC->SetTextColor(crText);
        m_crOldBack = pDC->SetBkColor(n.m_crNumberBack);
        m_nOldAlign = pDC->SetTextAlign(TA_BOTTOM);
    }
    ~NumberTextScope() {
        m_pDC->SetTextAlign(m_nOldAlign);
        m_pDC->SetBkColor(m_crOldBack);
        m_pDC->SetTextColor(m_crOldText);
        m_pDC->SetBkMode(m_nOldBk);
        m_pDC->SelectObject(m_pOldFont);
    }
    NumberTextScope(const NumberTextScope&) = delete;
    NumberTextScope& operator=(const NumberTextScope&) = delete;

private:
    CDC* m_pDC;
    CFont m_font;
    CFont* m_pOldFont;
    int m_nOldBk;
    COLORREF m_crOldText, m_crOldBack;
    UINT m_nOldAlign;
};

}  // namespace

int ReactionNumberKind(const T_PVX_DOPT_NUMBER_D& n, double dMax, double dMin, double v) {
    // The extremes-only switch, its filter kind and band percentage are the number options'
    // second option, first option and factor.
    if (!n.m_nNumberOpt2) return 3;
    const double band = (dMax - dMin) * n.m_dNumberFactor * 0.01;
    switch (n.m_nNumberOpt1) {
    case 0: return dMax - v <= band ? 0 : (v - dMin <= band ? 1 : -1);
    case 1: return std::max(std::fabs(dMax), std::fabs(dMin)) - std::fabs(v) <= band ? 2 : -1;
    case 2: return dMax - v <= band ? 0 : -1;
    case 3: return v - dMin <= band ? 1 : -1;
    default: return -1;
    }
}

int CReactionEngine::OutputReactionNumber(CDC* pDC) {
    I_PVXModel* m = GetModel();
    if (!m_bDataReady || !pDC || !m || !m->m_pDispOpt || !m->GetAttrCtrl()) return 0;
    T_PVX_DOPT_NUMBER_D& n = m->m_pDispOpt->m_Number;
    m->SetNumberFontNodeOrientation(0);
    if (n.m_nReactionNumberOpt) return 0;  // numbers switched off
    NumberTextScope text(pDC, n, n.m_crNumber[0]);
    CString fmt;
    fmt.Format(n.m_bExponent ? "%s%de" : "%s%df", "%.", n.m_nDecimals);
    const bool bResultant = m_nComponent == COMP_FXYZ || m_nComponent == COMP_MXYZ;
    for (INT_PTR i = 0; i < m_arrNodeKey.GetSize(); ++i) {
        T_REAC_D r;
        T_PNODE_D node;
        if (!GetReacData(m_arrNodeKey[i], r) || !m->GetAttrCtrl()->GetNode(m_arrNodeKey[i], node)) continue;
        const double v = bResultant ? CalcReacValue(m_nComponent, r) : CalcReacValue(r);
        C3DPoint p(node.x, node.y, node.z);
        const int nKind = ReactionNumberKind(n, m_dLegendMax, m_dLegendMin, v);
        if (nKind < 0) continue;
        if (nKind < 3) {
            DrawMinMaxOutputValue(pDC, p, fmt, nKind, v);
            continue;
        }
        const CPoint pt = m->Get3DPtTo2DPt(&p);
        if (pt.x < 0 || pt.y < 0) continue;
        CString s;
        s.Format(fmt, v);
        pDC->TextOut(pt.x, pt.y, s);
    }
    return 1;
}

int CReactionEngine::OutputReactionNumber4Figure(CDC* pDC) {
    I_PVXModel* m = GetModel();
    if (!pDC || !m || !m->m_pDispOpt || !m->GetAttrCtrl()) return 0;
    CPVXBeamLabel label(pDC);
    label.SetLabelOption(&m->m_pDispOpt->m_Number);
    label.BeginDraw();
    for (INT_PTR i = 0; i < m_arrNodeKey.GetSize(); ++i) {
        T_PNODE_D node;
        // A node that cannot be read or lies off-screen is left out; the others keep their labels.
        if (!m->GetAttrCtrl()->GetNode(m_arrNodeKey[i], node)) continue;
        C3DPoint p(node.x, node.y, node.z);
        const CPoint pt = m->Get3DPtTo2DPt(&p);
        if (pt.x < 0 || pt.y < 0) continue;
        T_REAC_D r;
        if (!GetReacForce(m_arrNodeKey[i], r)) continue;
        const double values[5] = {r.FX, r.FY, r.FZ, r.MX, r.MY};
        for (int k = 0; k < 5; ++k) label.OutputNumber(pt.x + kFigureLineX, pt.y + kFigureLineY[k], values[k]);
    }
    label.EndDraw();
    return 1;
}

void CReactionEngine::DrawPickedNodes(CDC* pDC) {
    I_PVXModel* m = GetModel();
    if (m_arrPickedNode.GetSize() == 0 || !pDC || !m || !m->m_pDispOpt || !m->m_pPVXCtrl) return;
    T_PVX_DOPT_NUMBER_D& n = m->m_pDispOpt->m_Number;
    m->SetNumberFontNodeOrientation(0);
    NumberTextScope text(pDC, n, m->m_bExternalDevice ? RGB(0, 0, 0) : n.m_crNumber[0]);
    for (INT_PTR i = 0; i < m_arrPickedNode.GetSize(); ++i) {
        C3DPoint p(0.0, 0.0, 0.0);
        m->RE_GetLabelPosNodeByKey(m_arrPickedNode[i], &p);
        const CPoint pt = m->Get3DPtTo2DPt(&p);
        if (pt.x >= 0 && pt.y >= 0) {
            CString s;
            s.Format("%d", static_cast<int>(m_arrPickedNode[i]));
            pDC->TextOut(pt.x, pt.y, s);
        }
        if (m->m_bExternalDevice)
            m->m_pPVXCtrl->DrawNodeInClientWindow(pDC, p);
        else
            m->m_pPVXCtrl->DrawNode(pDC, p);
    }
}

void CReactionEngine::DrawPickedNodesOnClientWnd(CDC* pDC) {
    I_PVXModel* m = GetModel();
    if (m_arrPickedNode.GetSize() == 0 || !pDC || !m || !m->m_pDispOpt || !m->m_pPVXCtrl) return;
    T_PVX_DOPT_NUMBER_D& n = m->m_pDispOpt->m_Number;
    const int saved = pDC->SaveDC();
    m->SetNumberFontNodeOrientation(0);
    {
        NumberTextScope text(pDC, n, n.m_crNumber[0]);
        for (INT_PTR i = 0; i < m_arrPickedNode.GetSize(); ++i) {
            C3DPoint p(0.0, 0.0, 0.0);
            m->RE_GetLabelPosNodeByKey(m_arrPickedNode[i], &p);
            const CPoint pt = m->m_pPVXCtrl->GetWorldToWindowP2D(p);
            if (pt.x >= 0 && pt.y >= 0) {
                CString s;
                s.Format("%d", static_cast<int>(m_arrPickedNode[i]));
                pDC->TextOut(pt.x, pt.y, s);
            }
            m->m_pPVXCtrl->DrawNodeInClientWindow(pDC, p);
        }
    }
    pDC->RestoreDC(saved);
}
