#include "module/engines/CPlotEngBase.h"

#include "module/engines/CEngineBase.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CView.h"

CPlotEngBase::CPlotEngBase() : m_pClientDC(nullptr), m_bClientDCTried(0) { CPlotEngBase::Reset(); }

CPlotEngBase::~CPlotEngBase() { delete m_pClientDC; }

void CPlotEngBase::Reset() {
    m_pDC = nullptr;
    m_pContourEngine = nullptr;
    m_pModel = nullptr;
    m_nDrawState = 0;
    BindDisplayOptions(nullptr);
    delete m_pClientDC;
    m_pClientDC = nullptr;
    m_bClientDCTried = 0;
}

void CPlotEngBase::Bind(CEngineBase* pEngine, CDC* pDC) {
    if (!pEngine || !pDC) return;
    m_pDC = pDC;
    m_pContourEngine = pEngine->m_pContourEngine;
    m_pModel = pEngine->GetModel();
    BindDisplayOptions(m_pModel ? m_pModel->m_pDispOpt : nullptr);
}

void CPlotEngBase::BindDisplayOptions(T_PVX_DOPT_D* pOpt) {
    m_pDispOpt = pOpt;
    m_pColorOpt = pOpt ? &pOpt->m_Color : nullptr;
    m_pDrawStyle = pOpt ? &pOpt->m_nRenderMode : nullptr;
    m_pWireFrame = pOpt ? &pOpt->m_bWireFrame : nullptr;
    m_pUndeformedWireFrame = pOpt ? &pOpt->m_bUndeformedWireFrame : nullptr;
    m_pShading = pOpt ? &pOpt->m_bShading : nullptr;
    m_pLegendOpt = pOpt ? &pOpt->m_Legend : nullptr;
    m_pNumberOpt = pOpt ? &pOpt->m_Number : nullptr;
}

int CPlotEngBase::DrawOriginal(int nFlag) { return m_pModel ? m_pModel->PVXDrawOriginal(m_pDC, nFlag) : 0; }

void CPlotEngBase::GetZSortedList(CArray<int, int>& types, CArray<UINT, UINT>& keys,
                                  CArray<GRE_Atom, GRE_Atom&>& out) {
    if (m_pModel && m_pModel->m_pPVXCtrl)
        m_pModel->m_pPVXCtrl->GetZSortedList(types, keys, out);
    else
        out.RemoveAll();
}

void CPlotEngBase::GetZSortedMembers(CArray<UINT, UINT>& keys, int bDeformed, CArray<GRE_Atom, GRE_Atom&>& out) {
    CArray<int, int> types;
    types.Add(GetFirstObjectID() + (bDeformed ? 1 : 0));
    GetZSortedList(types, keys, out);
}

int CPlotEngBase::GetFirstObjectID() const { return m_pModel ? m_pModel->m_nObjectIDFirst : 0; }

int CPlotEngBase::WatchEscKeyPress() { return m_pModel ? m_pModel->WatchEscKeyPress() : 0; }

int CPlotEngBase::IsObjectInClientWindow(int nType, UINT nKey) {
    return m_pModel && m_pModel->m_pPVXCtrl ? m_pModel->m_pPVXCtrl->IsObjectInClientWindow(nType, nKey) : 0;
}

int CPlotEngBase::IsActiveElem(UINT nKey) {
    return m_pModel && m_pModel->m_pPVXCtrl ? m_pModel->m_pPVXCtrl->IsActiveElem(nKey) : 0;
}

int CPlotEngBase::GetPenWidth() const { return m_pModel ? m_pModel->m_nPenFactor : 1; }
int CPlotEngBase::IsDrawOnClientWindow() const { return m_pModel ? m_pModel->m_bExternalDevice : 0; }
int CPlotEngBase::IsClientDCSuppressed() const { return m_pModel ? m_pModel->m_bSecondTarget : 0; }
int CPlotEngBase::GetBarMode() const { return m_pModel ? m_pModel->m_nBarDisplayMode : -1; }
int CPlotEngBase::GetDisplayOptionA() const { return m_pDispOpt ? m_pDispOpt->m_bPlaneCulling : 0; }
int CPlotEngBase::GetDisplayOptionB() const { return m_pDispOpt ? m_pDispOpt->m_nBarResultOpt : 0; }
int CPlotEngBase::IsResultDisplayOn() const { return m_pModel ? m_pModel->m_bContour : 0; }

void CPlotEngBase::DrawMinMaxOutputValue(CDC* pDC, C3DPoint p, const char* fmt, int nKind, double dValue) {
    if (!m_pNumberOpt) return;
    DrawMinMaxLabel(m_pModel, pDC, p, fmt, nKind, dValue, m_pNumberOpt->m_crNumber[0]);
}

CDC* CPlotEngBase::GetClientDC() {
    if (!m_bClientDCTried) {
        m_bClientDCTried = 1;
        I_PVXModel* m = m_pModel;
        if (m && !m->m_bExternalDevice && !m->m_bSecondTarget && !m->m_bAnimation && m->m_pView &&
            m->m_pView->GetSafeHwnd()) {
            m_pClientDC = new CClientDC(m->m_pView);
            if (!m_pClientDC->GetSafeHdc()) {
                delete m_pClientDC;
                m_pClientDC = nullptr;
            }
        }
    }
    return m_pClientDC;
}

void CPlotEngBase::DrawPolygon3DFill(CDC* pDC, CList<C3DPoint>& points, CArray<int, int>& flags, DWORD color) {
    if (!m_pModel) return;
    m_pModel->DrawPolygon3DFill(pDC, points, flags, color, static_cast<CClientDC*>(GetClientDC()), 0);
}

void CPlotEngBase::DrawPolygonEdge(CDC* pDC, CList<C3DPoint>& points, CArray<int, int>& flags, int nOpt) {
    if (m_pModel) m_pModel->DrawPolygonEdge(pDC, &points, &flags, nOpt);
}

int CPlotEngBase::IsVisibleFace(CList<C3DPoint>* pPoints, int n) {
    return m_pModel && pPoints ? m_pModel->IsVisibleFace(pPoints, n) : 0;
}
