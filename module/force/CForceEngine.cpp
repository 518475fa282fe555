#include "module/force/CForceEngine.h"

#include "module/bars/CPVXBarContainerBase.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"

CForceEngine::CForceEngine(I_PVXModelBase* pModel)
    : m_bBForcData(0),
      m_bTForcData(0),
      m_bWForcData(0),
      m_bPForcData(0),
      m_bSSFRData(0),
      m_bSForcData(0),
      m_bSRbarData(0),
      m_bSCracData(0),
      m_bSWallBuilt(0),
      m_bCLForcData(0),
      m_nSForcUnit(1),
      m_nSRbarUnit(1),
      m_nSCracUnit(1),
      m_nBForcComp(0),
      m_nWForcComp(0),
      m_nPForcComp(0),
      m_nSForcComp(0),
      m_nSForcKind(1),
      m_nSSFROutput(0),
      m_nBForcNumUnit(0),
      m_dSlabMomMaxPos(0.0),
      m_dSlabMomMaxNeg(0.0),
      m_dSlabRbarMaxTop(0.0),
      m_dSlabRbarMaxBot(0.0),
      m_dSlabCracMax(0.0) {
    m_pModel = pModel;
    m_mapBeamForce.InitHashTable(10007);
    m_mapColmForce.InitHashTable(10007);
}

CForceEngine::~CForceEngine() = default;

void CForceEngine::ClearDataFlags() {
    m_bBForcData = m_bTForcData = m_bWForcData = m_bPForcData = m_bSSFRData = 0;
    m_bSForcData = m_bSRbarData = m_bSCracData = m_bCLForcData = 0;
}

int CForceEngine::InitEngine(CDeformEngine*, int nMode) {
    ClearDataFlags();
    if (nMode == -1) nMode = CPVXBarContainerBase::m_nCurrentMode;
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    pModel->SelectLoad();
    if (nMode < 5 || nMode > 39 || !pModel->m_bResultDataReady) return 0;
    // The lists of each family are filled by its builders; a family counts as built once the
    // model's load selection reached the host.
    int* pFlag = nullptr;
    switch (nMode) {
    case 5: pFlag = &m_bSSFRData; break;
    case 6: case 7: case 30: case 31: case 35: case 36: case 38: case 39: pFlag = &m_bBForcData; break;
    case 8: case 9:
        // Wall forces exist only for the load types the host keeps slab and wall forces for.
        if (CPVXAttrCtrl::IsSlabForceLoadType(static_cast<int>(pModel->m_nLoadType))) pFlag = &m_bWForcData;
        break;
    case 10: pFlag = &m_bPForcData; break;
    case 16: pFlag = &m_bSForcData; break;
    case 17: pFlag = &m_bSRbarData; break;
    case 18: pFlag = &m_bSCracData; break;
    case 20: pFlag = &m_bSWallBuilt; break;
    case 21: case 22: pFlag = &m_bCLForcData; break;
    default: break;
    }
    if (!pFlag) return 0;
    *pFlag = 1;
    return 1;
}

void CForceEngine::ImportEngine(CForceEngine* pSrc) {
    if (!pSrc || pSrc == this) return;
    CEngineBase::ImportEngine(pSrc);
    ImportResultScale(pSrc);
    m_bBForcData = pSrc->m_bBForcData;
    m_bTForcData = pSrc->m_bTForcData;
    m_bWForcData = pSrc->m_bWForcData;
    m_bPForcData = pSrc->m_bPForcData;
    m_bSSFRData = pSrc->m_bSSFRData;
    m_bSForcData = pSrc->m_bSForcData;
    m_bSRbarData = pSrc->m_bSRbarData;
    m_bSCracData = pSrc->m_bSCracData;
    m_bSWallBuilt = pSrc->m_bSWallBuilt;
    m_bCLForcData = pSrc->m_bCLForcData;
    m_nSForcUnit = pSrc->m_nSForcUnit;
    m_nSRbarUnit = pSrc->m_nSRbarUnit;
    m_nSCracUnit = pSrc->m_nSCracUnit;
    m_nBForcComp = pSrc->m_nBForcComp;
    m_nWForcComp = pSrc->m_nWForcComp;
    m_nPForcComp = pSrc->m_nPForcComp;
    m_nSForcComp = pSrc->m_nSForcComp;
    m_nSForcKind = pSrc->m_nSForcKind;
    m_nSSFROutput = pSrc->m_nSSFROutput;
    m_nBForcNumUnit = pSrc->m_nBForcNumUnit;
    m_dSlabMomMaxPos = pSrc->m_dSlabMomMaxPos;
    m_dSlabMomMaxNeg = pSrc->m_dSlabMomMaxNeg;
    m_dSlabRbarMaxTop = pSrc->m_dSlabRbarMaxTop;
    m_dSlabRbarMaxBot = pSrc->m_dSlabRbarMaxBot;
    m_dSlabCracMax = pSrc->m_dSlabCracMax;
    // The force maps are replaced by copies of the source's.
    m_mapBeamForce = pSrc->m_mapBeamForce;
    m_mapColmForce = pSrc->m_mapColmForce;
}
