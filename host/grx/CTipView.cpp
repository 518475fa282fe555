#include "host/grx/CTipView.h"

#include "host/base/I_PVXModelBase.h"

IMPLEMENT_DYNAMIC(CTipView, GRenderView)

BEGIN_MESSAGE_MAP(CTipView, GRenderView)
    ON_WM_CREATE()
END_MESSAGE_MAP()

CTipView::CTipView() : m_nTipNode(0), m_nTipMemb(0) {}

CTipView::~CTipView() = default;

int CTipView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (GRenderView::OnCreate(lpCreateStruct) == -1) return -1;
    m_tipLines.RemoveAll();
    return 0;
}

void CTipView::OnHoverPoint(CPoint point) {
    GRE_Atom node, memb;
    m_nTipNode = m_ctrl.PickObject(point, node, I_PVXCtrl::kNodeIDFirst, I_PVXCtrl::kNodeIDLast) ? node.m_nKey : 0;
    m_nTipMemb = m_ctrl.PickObject(point, memb, I_PVXCtrl::kObjectIDFirst, I_PVXCtrl::kObjectIDLast) ? memb.m_nKey : 0;
    m_tipLines.RemoveAll();
    I_PVXModelBase* m = m_ctrl.GetI_PVXModel();
    if (m && (m_nTipNode || m_nTipMemb)) m->PV_OnToolTip(m_nTipNode, m_nTipMemb, m_tipLines);
}

CString CTipView::GetTipText() const {
    CString text;
    for (INT_PTR i = 0; i < m_tipLines.GetSize(); ++i) {
        if (i) text += "\n";
        text += m_tipLines[i];
    }
    return text;
}
