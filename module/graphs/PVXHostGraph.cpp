// The module's side of the host program's hand-over to the graphs (host/base/PVXHostGraph.h).
#include "host/base/PVXHostGraph.h"

#include <cstdio>
#include <cstring>

#include "module/graphs/CGraphWnd.h"
#include "module/graphs/CPVXMultiGraphView.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"

namespace {

void FillMap(PVXGraphSeriesMap& map, const PVXHostGraphSeries* pSeries, int n) {
    for (int i = 0; pSeries && i < n; ++i) {
        auto* p = new PVXGraphSeries;
        for (int k = 0; k < pSeries[i].nPoints; ++k) {
            T_GRPH_D pt{pSeries[i].pX[k], pSeries[i].pY[k]};
            p->Add(pt);
        }
        PVXGraphSeries* pOld = nullptr;
        if (map.Lookup(pSeries[i].nKey, pOld)) delete pOld;  // a key given twice: the last one counts
        map.SetAt(pSeries[i].nKey, p);
    }
}

void CopyText(char* dst, size_t n, const CString& s) { std::snprintf(dst, n, "%s", s.GetString()); }

}  // namespace

extern "C" __attribute__((visibility("default"))) CView* PVXHost_Draw2DGraph(I_PVXModelBase* pBase,
                                                                          const PVXHostGraphSeries* pLeft, int nLeft,
                                                                          const PVXHostGraphSeries* pRight, int nRight) {
    I_PVXModel* pModel = dynamic_cast<I_PVXModel*>(pBase);
    if (!pModel) return nullptr;
    PVXGraphSeriesMap left, right;
    FillMap(left, pLeft, nLeft);
    FillMap(right, pRight, nRight);
    pModel->Draw2DGraph(left, right);
    // The view keeps copies.
    FreePVXGraphSeriesMap(left);
    FreePVXGraphSeriesMap(right);
    return pModel->m_pMultiGraphView;
}

extern "C" __attribute__((visibility("default"))) int PVXHost_SaveGraphView(CView* pView, const char* pszPath,
                                                                            int nFormat) {
    auto* pGraphView = dynamic_cast<CPVXMultiGraphView*>(pView);
    if (!pGraphView || !pszPath) return 0;
    if (nFormat == PVXHOST_GRAPH_BMP) return pGraphView->SaveBMPFile(pszPath);
    if (nFormat == PVXHOST_GRAPH_EMF) return pGraphView->SaveEMFFile(pszPath);
    return 0;
}

extern "C" __attribute__((visibility("default"))) int PVXHost_GetGraphInfo(CView* pView, int nGraph,
                                                                           PVXHostGraphInfo* pInfo) {
    auto* pGraphView = dynamic_cast<CPVXMultiGraphView*>(pView);
    if (!pGraphView || !pInfo) return 0;
    std::memset(pInfo, 0, sizeof *pInfo);
    const CPVX2DGraphWnd& g = nGraph == 1 ? pGraphView->GetRightGraph() : pGraphView->GetLeftGraph();
    pInfo->bHasData = g.HasData();
    CopyText(pInfo->szTitle, sizeof pInfo->szTitle, g.GetTitle());
    CopyText(pInfo->szXLabel, sizeof pInfo->szXLabel, g.GetXLabel());
    pInfo->dScale = pGraphView->GetScale();
    pInfo->dRangeFactor = g.GetRangeFactor();
    pInfo->dX0 = g.GetRange().x0;
    pInfo->dX1 = g.GetRange().x1;
    pInfo->dY0 = g.GetRange().y0;
    pInfo->dY1 = g.GetRange().y1;
    POSITION pos = g.GetSeries().GetStartPosition();
    while (pos) {
        UINT key = 0;
        PVXGraphSeries* p = nullptr;
        g.GetSeries().GetNextAssoc(pos, key, p);
        if (pInfo->nSeries < PVXHostGraphInfo::kMaxKeySeries) {
            pInfo->aSeriesKey[pInfo->nSeries] = key;
            pInfo->aSeriesColor[pInfo->nSeries] = g.GetSeriesColor(key);
        }
        ++pInfo->nSeries;
    }
    pInfo->nLowSeries = g.GetLowSeries();
    pInfo->nHighSeries = g.GetHighSeries();
    const I_PVXModel* pModel = pGraphView->GetPointer();
    const T_PVX_DOPT_NUMBER_D* pNumbers = pModel && pModel->m_pDispOpt ? &pModel->m_pDispOpt->m_Number : nullptr;
    struct Extreme {
        UINT series;
        int index;
        double* pValue;
        char* pszLabel;
        size_t n;
    } extremes[] = {{g.GetLowSeries(), g.GetLowIndex(), &pInfo->dLowX, pInfo->szLowLabel, sizeof pInfo->szLowLabel},
                    {g.GetHighSeries(), g.GetHighIndex(), &pInfo->dHighX, pInfo->szHighLabel, sizeof pInfo->szHighLabel}};
    for (const Extreme& e : extremes) {
        PVXGraphSeries* p = nullptr;
        if (e.index < 0 || !g.GetSeries().Lookup(e.series, p) || e.index >= p->GetSize()) continue;
        *e.pValue = p->GetAt(e.index).x;
        if (pNumbers && pNumbers->m_bShowNumbers) {
            CString text;
            text.Format(CPVX2DGraphWnd::LabelFormat(*pNumbers), *e.pValue);
            CopyText(e.pszLabel, e.n, text);
        }
    }
    return 1;
}

extern "C" __attribute__((visibility("default"))) int PVXHost_SetGraphOptions(CView* pView,
                                                                              const PVXHostGraphOptions* pOptions) {
    auto* pGraphView = dynamic_cast<CPVXMultiGraphView*>(pView);
    if (!pGraphView || !pOptions) return 0;
    const double s = pOptions->dScale;
    if (s != 0.0 && !(s >= CPVX2DGraphDlg::kMinScale && s <= CPVX2DGraphDlg::kMaxScale)) return 0;
    if (pOptions->nDecimals < 0 || pOptions->nDecimals > 15) return 0;
    I_PVXModel* pModel = pGraphView->GetPointer();
    if (!pModel || !pModel->m_pDispOpt) return 0;
    T_PVX_DOPT_NUMBER_D& n = pModel->m_pDispOpt->m_Number;
    n.m_bShowNumbers = pOptions->bNumbers ? 1 : 0;
    n.m_nDecimals = pOptions->nDecimals;
    n.m_bExponent = pOptions->bExponent ? 1 : 0;
    if (s != 0.0) pGraphView->SetScale(s);
    pGraphView->DrawGraph();
    return 1;
}

extern "C" __attribute__((visibility("default"))) CWnd* PVXHost_GetTimeFunctionWnd() { return &I_PVXModel::m_TFuncWnd; }

extern "C" __attribute__((visibility("default"))) int PVXHost_SetTimeFunction(CWnd* pWnd, const PVXHostTimeFunction* pData) {
    auto* pGraph = dynamic_cast<CGraphWnd*>(pWnd);
    if (!pGraph || !pData || pData->nPoints < 0 || (pData->nPoints > 0 && (!pData->pX || !pData->pY))) return 0;
    PVXGraphSeries series;
    for (int i = 0; i < pData->nPoints; ++i) {
        T_GRPH_D pt{pData->pX[i], pData->pY[i]};
        series.Add(pt);
    }
    pGraph->SetSeries(series);
    GraphRange range;
    range.x0 = pData->dX0;
    range.x1 = pData->dX1;
    range.y0 = pData->dY0;
    range.y1 = pData->dY1;
    pGraph->SetRange(range);
    pGraph->SetPlotRect(CRect(pData->rcPlot));
    pGraph->SetLinkedCtrl(pData->pLinked);
    return pData->pPicture ? pGraph->SetPicture(pData->pPicture, pData->cx, pData->cy) : 1;
}
