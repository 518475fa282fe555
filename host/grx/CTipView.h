// CTipView: a render view with tool tips. As the cursor moves it finds the node and the member
// under it (I_PVXCtrl::PickObject) and asks the model for the tip lines (PV_OnToolTip); the
// lines are kept for the tip window, here the tip's text, until the cursor moves again.
#pragma once

#include "host/grx/GRenderView.h"

class CTipView : public GRenderView {
    DECLARE_DYNAMIC(CTipView)
public:
    CTipView();
    ~CTipView() override;

    const CStringArray& GetTipLines() const { return m_tipLines; }
    // The tip lines joined by line feeds; empty when there is no tip.
    CString GetTipText() const;
    UINT GetTipNodeKey() const { return m_nTipNode; }
    UINT GetTipMembKey() const { return m_nTipMemb; }

protected:
    void OnHoverPoint(CPoint point) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);

    CStringArray m_tipLines;
    UINT m_nTipNode;  // node key under the cursor, 0 none
    UINT m_nTipMemb;  // member key under the cursor, 0 none

    DECLARE_MESSAGE_MAP()
};
