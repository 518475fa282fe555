#include "module/bars/CPVXBarContainerReac.h"

#include <cmath>
#include <cstdio>

#include "module/contour/CContourEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"

CPVXBarContainerReac::CPVXBarContainerReac(UINT nIDTemplate) : CPVXBarContainerBase(nIDTemplate) {}

CPVXBarContainerReac::~CPVXBarContainerReac() = default;

CReactionEngine* CPVXBarContainerReac::GetReacEngine() { return dynamic_cast<CReactionEngine*>(m_pCurrentEngine); }

I_PVXModel* CPVXBarContainerReac::GetModel() const {
    auto* pView = dynamic_cast<CPVXView*>(m_pView);
    return pView ? pView->GetPVXModel() : nullptr;
}

void CPVXBarContainerReac::PrepareReacf() { Prepare(PVXResult::kReacPile, CReactionEngine::KIND_REACTION); }
void CPVXBarContainerReac::PrepareRContr() { Prepare(PVXResult::kReacContour, CReactionEngine::KIND_CONTOUR); }
void CPVXBarContainerReac::PrepareReverse() { Prepare(PVXResult::kReacReverse, CReactionEngine::KIND_REVERSED); }

void CPVXBarContainerReac::Prepare(int nResultId, int nDataKind) {
    m_nCurrentTMMode = nResultId;
    I_PVXModel* pModel = GetModel();
    CReactionEngine* pEngine = GetReacEngine();
    if (!pEngine) {
        // An editing engine of another result kind gives way to a reaction engine.
        DestroyCurrentEngine();
        pEngine = new CReactionEngine(pModel);
        pEngine->m_pContourEngine = new CContourEngine();
        m_pCurrentEngine = pEngine;
    }
    if (pModel) {
        if (!pModel->m_pReactionEngine) pModel->m_pReactionEngine = new CReactionEngine(pModel);
        pEngine->ImportEngine(pModel->m_pReactionEngine);
    }
    pEngine->m_nDataKind = nDataKind;
}

int CPVXBarContainerReac::ApplyReacPage(const T_PVX_REACPAGE& page) {
    CReactionEngine* pEngine = GetReacEngine();
    if (!pEngine) return 0;
    float f = 0.0f;
    char extra = 0;
    if (std::sscanf(page.strArrowScale.GetString(), "%f %c", &f, &extra) != 1 || !(f > 0.0f) || !std::isfinite(f))
        return 0;
    const bool bChanged = pEngine->m_nComponent != page.nComponent || pEngine->m_bSuppressReac != page.bSuppress ||
                          pEngine->m_nMembKind != page.nMembKind || pEngine->m_dArrowScale != f ||
                          !pEngine->m_bDataReady;
    pEngine->m_nComponent = page.nComponent;
    pEngine->m_bSuppressReac = page.bSuppress;
    pEngine->m_nMembKind = page.nMembKind;
    pEngine->m_dArrowScale = f;
    if (bChanged) pEngine->InitEngine(nullptr, -1);
    m_nCurrentMode = pEngine->m_nDataKind == CReactionEngine::KIND_CONTOUR ? PVXMode::kReactionContour : PVXMode::kReaction;
    if (I_PVXModel* pModel = GetModel()) pModel->m_bResultPresent = pEngine->m_bDataReady;
    return 1;
}
