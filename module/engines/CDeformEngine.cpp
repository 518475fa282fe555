#include "module/engines/CDeformEngine.h"

#include "host/db/CDBDoc.h"
#include "module/model/I_PVXModel.h"

CDeformEngine::CDeformEngine(I_PVXModelBase* pModel)
    : m_nSettlementGroup(0),
      m_nComponent(3),
      m_bDataReady(0),
      m_bKeepDeformed(1),
      m_bExactBeamRange(0),
      m_dUserScale(1.0),
      m_dBeamDispFactor(1.0),
      m_dMaxTotal(-1.7976931348623157e308),
      m_nTHKind(0),
      m_dAdjustFactor(1.0),
      m_nMaxKeyX(1),
      m_nMaxKeyY(1),
      m_nMaxKeyZ(1),
      m_nMaxKeyTotal(1),
      m_nSlabDeflKind(0),
      m_dSlabDeflMax(0.0),
      m_nDuctKind(0),
      m_nDuctSubKind(0) {
    m_pModel = pModel;
}

CDeformEngine::~CDeformEngine() = default;

int CDeformEngine::InitEngine() {
    m_bDataReady = 0;
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    // A selected load is not data: the flag stays clear until a builder has filled the
    // displacement lists of the display mode, so a mode with nothing to draw shows the plain model.
    pModel->SelectLoad();
    return m_bDataReady;
}

void CDeformEngine::ImportEngine(CDeformEngine* pSrc) {
    if (!pSrc || pSrc == this) return;
    CEngineBase::ImportEngine(pSrc);
    ImportResultScale(pSrc);
    m_nSettlementGroup = pSrc->m_nSettlementGroup;
    m_nComponent = pSrc->m_nComponent;
    m_bDataReady = pSrc->m_bDataReady;
    m_bKeepDeformed = pSrc->m_bKeepDeformed;
    m_bExactBeamRange = pSrc->m_bExactBeamRange;
    m_dUserScale = pSrc->m_dUserScale;
    m_dBeamDispFactor = pSrc->m_dBeamDispFactor;
    m_dMaxTotal = pSrc->m_dMaxTotal;
    m_ptMaxComp = pSrc->m_ptMaxComp;
    m_nTHKind = pSrc->m_nTHKind;
    m_dAdjustFactor = pSrc->m_dAdjustFactor;
    m_nMaxKeyX = pSrc->m_nMaxKeyX;
    m_nMaxKeyY = pSrc->m_nMaxKeyY;
    m_nMaxKeyZ = pSrc->m_nMaxKeyZ;
    m_nMaxKeyTotal = pSrc->m_nMaxKeyTotal;
    m_arrNodeKey.Copy(pSrc->m_arrNodeKey);
    m_nSlabDeflKind = pSrc->m_nSlabDeflKind;
    m_dSlabDeflMax = pSrc->m_dSlabDeflMax;
    m_nDuctKind = pSrc->m_nDuctKind;
    m_nDuctSubKind = pSrc->m_nDuctSubKind;
}

int CDeformEngine::IsTimeHistVelAcc() const {
    const I_PVXModel* pModel = GetModel();
    return pModel && pModel->m_nLoadType == 5 && m_nTHKind >= 1 && m_nTHKind <= 3 ? 1 : 0;
}

int CDeformEngine::DrawDeformedShapeNew(CDC*) { return m_pPlotEngine ? 0 : -1; }
int CDeformEngine::DrawDispContourNew(CDC*) { return m_pPlotEngine ? 0 : -1; }
void CDeformEngine::OutputNumbersNew() {}
void CDeformEngine::DrawPickedNodes(CDC*) {}

int CDeformEngine::GetDispData(UINT nNode, T_DISP_D& disp) const {
    disp.Initialize();
    const I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    if (!pDoc || nNode == 0) return 0;
    CPostCtrl* pPost = pDoc->GetPostCtrl();
    if (pModel->GetBarResultId() == 7203 || pModel->m_nDisplayMode == 4) {
        T_DISP_D d;
        if (!pPost->GetEiMode(nNode, static_cast<int>(pModel->m_nLoadKey), d)) return 0;
        disp = d;
        return 1;
    }
    // Slot of the load step: value and maximum the first, minimum the second, all the third.
    T_DISP_D d;
    d.Initialize();
    int bFound = 0;
    switch (pModel->m_nLoadStep) {
    case 2: bFound = pPost->GetDisp(nNode, nullptr, &d, nullptr); break;
    case 3: bFound = pPost->GetDisp(nNode, nullptr, nullptr, &d); break;
    default: bFound = pPost->GetDisp(nNode, &d, nullptr, nullptr); break;
    }
    if (!bFound) return 0;
    disp = d;
    return 1;
}
