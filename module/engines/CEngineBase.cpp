#include "module/engines/CEngineBase.h"

#include "module/contour/CContourEngine.h"
#include "host/db/CDBDoc.h"
#include "host/grx/GRenderView.h"
#include "module/model/I_PVXModel.h"

double CEngineBase::m_dVectorThkScale = 2.0;

CEngineBase::CEngineBase()
    : m_pDBDoc(CDBDoc::m_pDBDoc),
      m_pContourEngine(nullptr),
      m_bDeformed(0),
      m_bGradient(0),
      m_bAvgNdlActOnly(0),
      m_bLocalAxis(1),
      m_dLegendMax(0.0),
      m_dLegendMin(0.0),
      m_bRangeOn(0),
      m_bRangeAbsolute(0),
      m_bRangeLowOn(0),
      m_bRangeHighOn(0),
      m_dRangeLow(0.0),
      m_dRangeHigh(0.0),
      m_dRangeLowEff(0.0),
      m_dRangeHighEff(0.0),
      m_pModel(nullptr),
      m_bCuttingLine(0),
      m_bKeepVectorFactor(0),
      m_pPlotEngine(nullptr) {}

CEngineBase::~CEngineBase() {
    ResetCuttingLineData();
    delete m_pContourEngine;
    m_pContourEngine = nullptr;
}

I_PVXModel* CEngineBase::GetModel() const { return dynamic_cast<I_PVXModel*>(m_pModel); }

void CEngineBase::ImportEngine(CEngineBase* pSrc) {
    if (!pSrc || pSrc == this) return;
    m_pDBDoc = pSrc->m_pDBDoc;
    m_bDeformed = pSrc->m_bDeformed;
    m_bGradient = pSrc->m_bGradient;
    m_bAvgNdlActOnly = pSrc->m_bAvgNdlActOnly;
    m_bLocalAxis = pSrc->m_bLocalAxis;
    m_dLegendMax = pSrc->m_dLegendMax;
    m_dLegendMin = pSrc->m_dLegendMin;
    m_bRangeOn = pSrc->m_bRangeOn;
    m_bRangeAbsolute = pSrc->m_bRangeAbsolute;
    m_bRangeLowOn = pSrc->m_bRangeLowOn;
    m_bRangeHighOn = pSrc->m_bRangeHighOn;
    m_dRangeLow = pSrc->m_dRangeLow;
    m_dRangeHigh = pSrc->m_dRangeHigh;
    m_dRangeLowEff = pSrc->m_dRangeLowEff;
    m_dRangeHighEff = pSrc->m_dRangeHighEff;
    m_bCuttingLine = pSrc->m_bCuttingLine;
    m_arrElemKey.Copy(pSrc->m_arrElemKey);
    // The colour scale is copied by value: each engine owns its own.
    if (pSrc->m_pContourEngine) {
        if (m_pContourEngine)
            *m_pContourEngine = *pSrc->m_pContourEngine;
        else
            m_pContourEngine = new CContourEngine(*pSrc->m_pContourEngine);
    } else {
        delete m_pContourEngine;
        m_pContourEngine = nullptr;
    }
}

void CEngineBase::GetNodalValueforCutting(UINT, double&, int, double&, int) {}
void CEngineBase::DoLineContour(CDC*, CList<C3DPoint, C3DPoint>*, double*) {}
void CEngineBase::DoSubPolyContour(CDC*, double*, CList<C3DPoint, C3DPoint>*, int*, int) {}
void CEngineBase::DrawContourList(CDC*, CArray<int, int>&, CArray<VtxInfo_tag, VtxInfo_tag>&) {}
void CEngineBase::DrawContourListGrad(CDC*, CArray<int, int>&, CArray<VtxInfo_tag, VtxInfo_tag>&) {}
void CEngineBase::DrawContourLine(CDC*, CArray<C3DPoint, C3DPoint>&, CArray<double, double>&) {}
int CEngineBase::BeginPlotEng(CDC*) { return 0; }
int CEngineBase::EndPlotEng() { return 0; }

void CEngineBase::FreeMemoryPolyList(PVXPolyListArray* pPolyLists, PVXIndexArrayList* pIndexArrays,
                                     PVXKeyArrayList* pKeyArrays, PVXKeyArrayList* pMoreArrays) {
    I_PVXModel::FreeMemoryPolyList(pPolyLists, pIndexArrays, pKeyArrays, pMoreArrays);
}

int GetCurViewTextHeight(int nHeight) {
    I_PVXModel* pModel = I_PVXModel::GetPVXModelPoint();
    GRenderView* pView = pModel ? dynamic_cast<GRenderView*>(pModel->GetView()) : nullptr;
    return pView ? pView->GetTextDisplayHeight(nHeight) : nHeight;
}
