#include "host/grx/GRenderView.h"

#include <cmath>
#include <cstring>

#include "host/base/I_PVXModelBase.h"
#include "platform/gdi/afxgdi.h"

IMPLEMENT_DYNAMIC(GRenderView, CViewBase)

BEGIN_MESSAGE_MAP(GRenderView, CViewBase)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

GRenderView::GRenderView() : m_dTextScale(1.0) {
    std::memset(&m_LightData, 0, sizeof(m_LightData));
    // Light from the viewer's upper left, shading off until the host switches it on.
    m_LightData.m_dLightDir[0] = -0.3;
    m_LightData.m_dLightDir[1] = 0.5;
    m_LightData.m_dLightDir[2] = 0.812403840463596;
    m_LightData.m_dHighlightDir[2] = 1.0;
    m_LightData.m_dAmbient = 0.3;
    m_LightData.m_dDiffuse = 0.7;
    m_LightData.m_nShininess = 100;
    m_ctrl.SetOwnerWnd(this);
}

GRenderView::~GRenderView() { m_ctrl.SetOwnerWnd(nullptr); }

int GRenderView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CViewBase::OnCreate(lpCreateStruct) == -1) return -1;
    CRect rc;
    GetClientRect(&rc);
    m_ctrl.SetClientSize(rc.Width(), rc.Height());
    return 0;
}

void GRenderView::OnDestroy() {
    // The model goes with the derived view; the control must not call it any more.
    m_ctrl.SetI_PVXModel(nullptr);
    CViewBase::OnDestroy();
}

void GRenderView::OnSize(UINT nType, int cx, int cy) {
    CViewBase::OnSize(nType, cx, cy);
    if (cx > 0 && cy > 0) m_ctrl.SetClientSize(cx, cy);
}

BOOL GRenderView::OnEraseBkgnd(CDC* pDC) {
    return TRUE;  // the memory image covers the whole client area
}

void GRenderView::OnDraw(CDC* pDC) {
    if (!pDC) return;
    m_ctrl.BeginPaint();
    if (!m_ctrl.IsImageValid()) {
        m_ctrl.ClearBuffer(m_ctrl.GetBackgroundColor(), 1);
        // What the model copies onto this window while it draws the image (its live progress)
        // is painted over by the image below when the image covers the whole window: left out.
        m_ctrl.SetCoveredSurface(m_ctrl.SurfaceCoveredBySwap(pDC));
        if (I_PVXModelBase* m = m_ctrl.GetI_PVXModel()) m->PV_OnRedrawOnly();
        m_ctrl.SetCoveredSurface(nullptr);
    }
    m_ctrl.PaintWindow(pDC);
    m_ctrl.EndPaint();
}

void GRenderView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    CViewBase::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void GRenderView::DoInitialView() {
    m_ctrl.SetDynamicViewMode(0);
    m_ctrl.SetStandardView(GViewCamera::VIEW_ISO);
    m_ctrl.XGR_SetRebuildGeom(1);
    m_ctrl.InvalidateImage();
}

void GRenderView::ActiveAll() {
    m_ctrl.ActiveAll();
    m_ctrl.InvalidateImage();
    if (GetSafeHwnd()) Invalidate(FALSE);
}

void GRenderView::ZoomAll() {
    m_ctrl.ViewZoomAll(0);
    if (I_PVXModelBase* m = m_ctrl.GetI_PVXModel())
        m->PV_OnViewPointChange();
    else if (GetSafeHwnd())
        Invalidate(FALSE);
}

int GRenderView::GetTextDisplayHeight(long nHeight) const {
    return static_cast<int>(std::lround(static_cast<double>(nHeight) * m_dTextScale));
}

void GRenderView::SetTextDisplayScale(double dScale) {
    if (std::isfinite(dScale) && dScale > 0.0) m_dTextScale = dScale;
}

void GRenderView::OnLButtonDown(UINT nFlags, CPoint point) {
    GRE_Atom atom;
    if (m_ctrl.PickObject(point, atom)) {
        m_ctrl.UnselectAllObject();
        m_ctrl.SelectObject(atom.m_nType, atom.m_nKey, 1);
        if (I_PVXModelBase* m = m_ctrl.GetI_PVXModel()) m->PV_OnPickingObject(atom.m_nType, static_cast<int>(atom.m_nKey));
    }
    CViewBase::OnLButtonDown(nFlags, point);
}

void GRenderView::OnRButtonDown(UINT nFlags, CPoint point) {
    if (I_PVXModelBase* m = m_ctrl.GetI_PVXModel())
        m->PV_OnRButtonDown(nFlags, point);
    else
        CViewBase::OnRButtonDown(nFlags, point);
}

void GRenderView::OnMouseMove(UINT nFlags, CPoint point) {
    OnHoverPoint(point);
    CViewBase::OnMouseMove(nFlags, point);
}

void GRenderView::OnTimer(UINT_PTR nIDEvent) { CViewBase::OnTimer(nIDEvent); }
