// GRenderView: the view base of a 3-D result view, over the host's CViewBase. It owns the
// view's graphics control (I_PVXCtrl), keeps the control's client size in step with the window,
// and paints: when the control's memory image is stale it is cleared and the model is asked to
// render into it (PV_OnRedrawOnly), then the image is copied to the window and the model draws
// its overlays on the window (PV_OnDraw). A left click picks the object under the cursor and
// reports it to the model (PV_OnPickingObject); a right click goes to PV_OnRButtonDown.
//
// The view also holds the light record that flat shading reads (T_LIGHT_D) and the display
// setting with the line colours of cutting-line diagrams (GRenderDispSetting).
#pragma once

#include "host/base/CViewBase.h"
#include "host/grx/I_PVXCtrl.h"
#include "platform/ui/CView.h"
#include "platform/ui/afxmsg.h"

// Light record: 38 32-bit words. The first 18 are the host's own and are not read here.
struct T_LIGHT_D {
    int m_nReserved[18];
    double m_dLightDir[3];      // direction toward the light, view coordinates
    double m_dHighlightDir[3];  // half-way direction for highlights, view coordinates
    double m_dAmbient;          // ambient term, 0..1
    double m_dDiffuse;          // diffuse coefficient, 0..1
    int m_nSpecular;            // specular intensity
    int m_nShininess;           // 0..128
    int m_bShading;             // flat shading on
    int m_bSpecular;            // highlights on
};
static_assert(sizeof(T_LIGHT_D) == 38 * 4, "the light record is 38 words");

struct GRenderDispSetting {
    COLORREF m_crCenterLine = RGB(143, 177, 213);  // cutting-line centre lines
    COLORREF m_crWidthLine = RGB(179, 202, 226);   // cutting-line width lines
};

class GRenderView : public CViewBase {
    DECLARE_DYNAMIC(GRenderView)
public:
    GRenderView();
    ~GRenderView() override;

    I_PVXCtrl* GetI_PVXCtrl() { return &m_ctrl; }
    // Back to the initial view: iso direction, no dynamic view, geometry to be rebuilt.
    virtual void DoInitialView();
    // Shows every registered object (the model hears of the change) and repaints.
    void ActiveAll();
    // Fits the whole model and lets the model redraw for the new view point.
    void ZoomAll();
    void ResetCurDynamicViewMode() { m_ctrl.SetDynamicViewMode(0); }
    // Display height of a text height: the height times the view's text scale, rounded.
    int GetTextDisplayHeight(long nHeight) const;
    void SetTextDisplayScale(double dScale);
    double GetTextDisplayScale() const { return m_dTextScale; }

    T_LIGHT_D& GetLightData() { return m_LightData; }
    GRenderDispSetting* GetDispSetting() { return &m_DispSetting; }

    void OnDraw(CDC* pDC) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

protected:
    // Called with the cursor position on every mouse move; CTipView builds its tip here.
    virtual void OnHoverPoint(CPoint point) {}

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    I_PVXCtrl m_ctrl;
    T_LIGHT_D m_LightData;
    GRenderDispSetting m_DispSetting;
    double m_dTextScale;  // display height per text height

    DECLARE_MESSAGE_MAP()
};
