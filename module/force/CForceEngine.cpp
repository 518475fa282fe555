#include "module/force/CForceEngine.h"

#include "module/bars/CPVXBarContainerBase.h"
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

int* CForceEngine::DataFlagOfMode(int nMode) {
    switch (nMode) {
    case 5: return &m_bSSFRData;
    case 6: case 7: case 30: case 31: case 35: case 36: case 38: case 39: return &m_bBForcData;
    case 8: case 9: return &m_bWForcData;
    case 10: return &m_bPForcData;
    case 16: return &m_bSForcData;
    case 17: return &m_bSRbarData;
    case 18: return &m_bSCracData;
    case 20: return &m_bSWallBuilt;
    case 21: case 22: return &m_bCLForcData;
    default: return nullptr;
    }
}

int CForceEngine::InitEngine(CDeformEngine*, int nMode) {
    ClearDataFlags();
    if (nMode == -1) nMode = CPVXBarContainerBase::m_nCurrentMode;
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    pModel->SelectLoad();
    // A selected load is not data: a family's flag stays clear until its builder has filled the
    // family's lists (wall lists only for the load types CPVXAttrCtrl::IsSlabForceLoadType
    // accepts), so a mode with nothing to draw shows the plain model.
    const int* pFlag = DataFlagOfMode(nMode);
    return pFlag ? *pFlag : 0;
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
