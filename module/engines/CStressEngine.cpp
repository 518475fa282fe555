#include "module/engines/CStressEngine.h"

#include "module/bars/CPVXBarContainerBase.h"
#include "module/model/I_PVXModel.h"

CStressEngine::CStressEngine(I_PVXModelBase* pModel) : m_bDataReady(0), m_nComponent(0) { m_pModel = pModel; }

CStressEngine::~CStressEngine() = default;

int CStressEngine::InitEngine(CDeformEngine*, int nMode) {
    m_bDataReady = 0;
    if (nMode == -1) nMode = CPVXBarContainerBase::m_nCurrentMode;
    I_PVXModel* pModel = GetModel();
    if (!pModel || nMode != 11) return 0;
    // A selected load is not data: the flag stays clear until a builder has filled the stress
    // lists, so the mode shows the plain model meanwhile.
    pModel->SelectLoad();
    return m_bDataReady;
}

void CStressEngine::ImportEngine(CStressEngine* pSrc) {
    if (!pSrc || pSrc == this) return;
    CEngineBase::ImportEngine(pSrc);
    ImportResultScale(pSrc);
    m_bAvgNdlActOnly = pSrc->m_bAvgNdlActOnly;
    m_bDataReady = pSrc->m_bDataReady;
    m_nComponent = pSrc->m_nComponent;
}

void CStressEngine::DrawPStrsContour(CDC*) {}
void CStressEngine::OutputPStrsNumbers(CDC*) {}
