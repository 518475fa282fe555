// Mode-shape graphs: the model hands its prepared series to the multi-graph view.
#include "module/graphs/CPVXMultiGraphView.h"
#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "module/model/I_PVXModel.h"

void I_PVXModel::Draw2DGraph(PVXGraphSeriesMap& left, PVXGraphSeriesMap& right) {
    CDBDoc* pDoc = CDBDoc::m_pDBDoc;
    if (!pDoc) return;
    const CString caption = CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Figure_Mode_Shape", 0);
    m_pMultiGraphView = dynamic_cast<CPVXMultiGraphView*>(pDoc->OpenGraphView(caption));
    if (!m_pMultiGraphView) return;
    m_pMultiGraphView->SetPointer(this);
    m_pMultiGraphView->SetLeftGraphData(left, caption, "UX", "Level");
    m_pMultiGraphView->SetRightGraphData(right, caption, "UY", "Level");
    m_pMultiGraphView->DrawGraph();
}
