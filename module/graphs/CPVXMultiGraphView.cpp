#include "module/graphs/CPVXMultiGraphView.h"

CPVXMultiGraphView::CPVXMultiGraphView() : m_pModel(nullptr) {}

CPVXMultiGraphView::~CPVXMultiGraphView() {
    FreeSeries(m_left.series);
    FreeSeries(m_right.series);
}

void CPVXMultiGraphView::FreeSeries(PVXGraphSeriesMap& map) { FreePVXGraphSeriesMap(map); }

BOOL CPVXMultiGraphView::CopyGraph(Graph& g, PVXGraphSeriesMap& map, const CString& t, const CString& x,
                                   const CString& third) {
    // New data always replace the old: an empty map leaves an empty graph, never the last one's.
    FreeSeries(g.series);
    if (map.IsEmpty()) return FALSE;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        UINT key;
        PVXGraphSeries* p = nullptr;
        map.GetNextAssoc(pos, key, p);
        auto* pCopy = new PVXGraphSeries;
        if (p) pCopy->Copy(*p);
        g.series.SetAt(key, pCopy);
    }
    g.strTitle = t;
    g.strXLabel = x;
    g.strThird = third;
    return TRUE;
}

BOOL CPVXMultiGraphView::SetLeftGraphData(PVXGraphSeriesMap& map, CString strTitle, CString strXLabel,
                                          CString strThird) {
    return CopyGraph(m_left, map, strTitle, strXLabel, strThird);
}

BOOL CPVXMultiGraphView::SetRightGraphData(PVXGraphSeriesMap& map, CString strTitle, CString strXLabel,
                                           CString strThird) {
    return CopyGraph(m_right, map, strTitle, strXLabel, strThird);
}

void CPVXMultiGraphView::DrawGraph() {
    if (GetSafeHwnd()) Invalidate(FALSE);
}
