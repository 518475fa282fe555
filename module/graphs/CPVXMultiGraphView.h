// CPVXMultiGraphView: the view that shows a model's mode-shape graphs, left and right.
//
// The model fills it in this order: SetPointer(model), SetLeftGraphData, SetRightGraphData,
// DrawGraph; it tells the view to forget it when the model is destroyed (SetPointer(NULL)). The
// view keeps its own copies of the series and captions it was given.
#pragma once

#include "module/graphs/T_GRPH_D.h"
#include "platform/afx/CString.h"
#include "platform/ui/CView.h"

class I_PVXModel;

class CPVXMultiGraphView : public CView {
public:
    CPVXMultiGraphView();
    ~CPVXMultiGraphView() override;

    // Keeps (or, with null, forgets) the model shown.
    void SetPointer(I_PVXModel* pModel) { m_pModel = pModel; }
    I_PVXModel* GetPointer() const { return m_pModel; }
    // Copies the series and the three captions into the left (right) graph, replacing what it
    // showed; FALSE (and an empty graph, captions kept) when the map holds no series.
    BOOL SetLeftGraphData(PVXGraphSeriesMap& map, CString strTitle, CString strXLabel, CString strThird);
    BOOL SetRightGraphData(PVXGraphSeriesMap& map, CString strTitle, CString strXLabel, CString strThird);
    // Scales and repaints both graphs.
    void DrawGraph();
    void OnDraw(CDC* pDC) override {}

    // One graph: owned copies of the series, and its captions.
    struct Graph {
        PVXGraphSeriesMap series;
        CString strTitle, strXLabel, strThird;
    };
    const Graph& GetLeftGraph() const { return m_left; }
    const Graph& GetRightGraph() const { return m_right; }

    I_PVXModel* m_pModel;  // model shown, not owned

private:
    static BOOL CopyGraph(Graph& g, PVXGraphSeriesMap& map, const CString& t, const CString& x, const CString& third);
    static void FreeSeries(PVXGraphSeriesMap& map);
    Graph m_left, m_right;
};
