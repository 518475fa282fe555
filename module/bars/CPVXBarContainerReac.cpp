#include "module/bars/CPVXBarContainerReac.h"

#include <cmath>
#include <cstdio>

#include "module/bars/CPVXBarDlgBase.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarContainerReac, CPVXBarContainerBase)

BEGIN_MESSAGE_MAP(CPVXBarContainerReac, CPVXBarContainerBase)
    ON_CBN_SELCHANGE(IDC_BAR_COMBO, OnSelchangePageCombo)
    ON_BN_CLICKED(IDC_BAR_TABLE, OnTableButton)
END_MESSAGE_MAP()

namespace {
const CPVXBarContainerBase::PageRow kReacPages[] = {
    {PVXResult::kReacContour, "CPVXBarRContr"},
    {PVXResult::kReacPile, "CPVXBarReacf"},
    {PVXResult::kReacReverse, "CPVXBarReacf"},
};
const CPVXBarContainerBase::ComboRow kReacCombo[] = {
    {"IDS_TBX_PVX_Reaction_Footing", PVXResult::kReacContour},
    {"IDS_TBX_PVX_Reaction_Pile", PVXResult::kReacPile},
    {"IDS_TBX_PVX_Reaction_Reverse", PVXResult::kReacReverse},
};
const CBarControlName kReacNames[] = {{CPVXBarContainerBase::IDC_BAR_COMBO, "page"}};
}  // namespace

CPVXBarContainerReac::CPVXBarContainerReac() : CPVXBarContainerBase(static_cast<UINT>(IDD)) {}

CPVXBarContainerReac::CPVXBarContainerReac(UINT nIDTemplate) : CPVXBarContainerBase(nIDTemplate) {}

CPVXBarContainerReac::~CPVXBarContainerReac() = default;

const CPVXBarContainerBase::PageRow* CPVXBarContainerReac::GetPageTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kReacPages));
    return kReacPages;
}

const CPVXBarContainerBase::ComboRow* CPVXBarContainerReac::GetComboTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kReacCombo));
    return kReacCombo;
}

std::vector<CBarControlName> CPVXBarContainerReac::GetControlNames() const {
    return {std::begin(kReacNames), std::end(kReacNames)};
}

CReactionEngine* CPVXBarContainerReac::GetReacEngine() { return dynamic_cast<CReactionEngine*>(m_pCurrentEngine); }

I_PVXModel* CPVXBarContainerReac::GetModel() const {
    if (I_PVXModel* pModel = GetCurModel()) return pModel;
    auto* pView = dynamic_cast<CPVXView*>(m_pView);
    return pView ? pView->GetPVXModel() : nullptr;
}

void CPVXBarContainerReac::OnInitialUpdate() { InitBar(PVXResult::kReacContour, TRUE); }

void CPVXBarContainerReac::OnChangeBarTab() { OnSelchangePageCombo(); }

void CPVXBarContainerReac::ShowChildDlgByMode(int nResultId) {
    if (IsCurrentModeSame(nResultId)) return;
    CPVXBarContainerBase::ShowChildDlgByMode(nResultId);
    if (!PreparePage(nResultId)) return;
    ShowPreparedPage(nResultId);
}

int CPVXBarContainerReac::PreparePage(int nResultId) {
    switch (nResultId) {
    case PVXResult::kReacContour: PrepareRContr(); return 1;
    case PVXResult::kReacPile: PrepareReacf(); return 1;
    case PVXResult::kReacReverse: PrepareReverse(); return 1;
    default: return 0;
    }
}

void CPVXBarContainerReac::PrepareReacf() { Prepare(PVXResult::kReacPile, CReactionEngine::KIND_REACTION); }
void CPVXBarContainerReac::PrepareRContr() { Prepare(PVXResult::kReacContour, CReactionEngine::KIND_CONTOUR); }
void CPVXBarContainerReac::PrepareReverse() { Prepare(PVXResult::kReacReverse, CReactionEngine::KIND_REVERSED); }

void CPVXBarContainerReac::Prepare(int nResultId, int nDataKind) {
    CPVXBarDlgBase* pPage = BeginPrepare(nResultId);
    I_PVXModel* pModel = GetModel();
    if (pModel && !pModel->m_pReactionEngine) pModel->m_pReactionEngine = new CReactionEngine(pModel);
    // Always a new editing engine, filled from the model's.
    CReactionEngine* pEngine = PrepareCurrentEngine<CReactionEngine>(TRUE, pModel ? pModel->m_pReactionEngine : nullptr);
    m_nEngineKind = ENGINE_REACTION;
    pEngine->m_nDataKind = nDataKind;
    HandEnginesToPage(pPage, pEngine);
}

int CPVXBarContainerReac::ApplyReacPage(const T_PVX_REACPAGE& page) {
    TakeBackEngines();
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
