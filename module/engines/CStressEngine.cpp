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
    // The stress lists are filled by the stress builders; the data count as built once the
    // model's load selection reached the host.
    pModel->SelectLoad();
    m_bDataReady = pModel->m_bResultDataReady ? 1 : 0;
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
