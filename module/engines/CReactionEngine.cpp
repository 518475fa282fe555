#include "module/engines/CReactionEngine.h"

#include "module/bars/CPVXBarContainerBase.h"
#include "module/model/I_PVXModel.h"

CReactionEngine::CReactionEngine(I_PVXModelBase* pModel)
    : m_bDataReady(0),
      m_nMode(-1),
      m_nComponent(2),
      m_dMaxValue(0.0),
      m_dMinValue(0.0),
      m_nMaxNode(0),
      m_nMinNode(0),
      m_nSupportType(0),
      m_nContourQuantity(0) {
    m_pModel = pModel;
}

CReactionEngine::~CReactionEngine() = default;

int CReactionEngine::InitEngine(CDeformEngine*, int nMode) {
    m_bDataReady = 0;
    m_nMode = nMode == -1 ? CPVXBarContainerBase::m_nCurrentMode : nMode;
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    // A selected load is not data: the flag stays clear until a builder has read the reactions of
    // the display mode, so a mode with nothing to draw shows the plain model.
    pModel->SelectLoad();
    return m_bDataReady;
}

void CReactionEngine::ImportEngine(CReactionEngine* pSrc) {
    if (!pSrc || pSrc == this) return;
    CEngineBase::ImportEngine(pSrc);
    ImportResultScale(pSrc);
    m_bDataReady = pSrc->m_bDataReady;
    m_nMode = pSrc->m_nMode;
    m_nComponent = pSrc->m_nComponent;
    m_dMaxValue = pSrc->m_dMaxValue;
    m_dMinValue = pSrc->m_dMinValue;
    m_nMaxNode = pSrc->m_nMaxNode;
    m_nMinNode = pSrc->m_nMinNode;
    m_nSupportType = pSrc->m_nSupportType;
    m_nContourQuantity = pSrc->m_nContourQuantity;
}

int CReactionEngine::DrawReactionValueNew(CDC*) { return m_pPlotEngine ? 0 : -1; }
void CReactionEngine::OutputNumbersNew() {}
void CReactionEngine::DrawPickedNodes(CDC*) {}
