#include "module/bars/CPVXBarDeformPage.h"

#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/engines/CDeformEngine.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CWaitCursor.h"

IMPLEMENT_DYNAMIC(CPVXBarDeformPage, CPVXBarDlgBase)

namespace {
// The load type whose animation plays without amplitude: the load selector's code 5, a
// time-history case (PLOAD_TIMEHISTORY in the project's load case table).
constexpr int kLoadTypeTimeHistory = 5;
}  // namespace

CPVXBarDeformPage::CPVXBarDeformPage(UINT nIDTemplate, UINT nIDLoadCombo, int nMode, const char* pszTitle)
    : CPVXBarDlgBase(nIDTemplate, nullptr, nullptr), m_nMode(nMode) {
    m_nIDLoadCombo = nIDLoadCombo;
    m_strTitle = pszTitle;
}

int CPVXBarDeformPage::RadioToComponent(int nIndex) {
    if (nIndex < 0 || nIndex > 6) return -1;
    return nIndex <= 3 ? nIndex : nIndex + 3;
}

int CPVXBarDeformPage::ComponentToRadio(int nCode) {
    if (nCode >= 0 && nCode < 4) return nCode;
    if (nCode >= 7 && nCode <= 9) return nCode - 3;
    return 3;
}

BOOL CPVXBarDeformPage::OnInitDialog() {
    OpenPageDialog(m_nMode);  // each page selects its load (or group) itself
    TakeInitialValues();
    Exchange(FALSE);
    UpdateEnabling();
    return TRUE;
}

void CPVXBarDeformPage::Execute() {
    Exchange(TRUE);
    CPVXBarContainerBase::m_nCurrentMode = m_nMode;
    if (m_pContainer) m_pContainer->OnTmExecute();
}

void CPVXBarDeformPage::OnApply() {
    CWaitCursor wait;
    Execute();
}

void CPVXBarDeformPage::OnLoadChange() {
    Exchange(TRUE);
    TakeLoadOnApply();
}

void CPVXBarDeformPage::FinishApply() {
    I_PVXModel* pModel = GetModel();
    if (pModel && m_pBarInfo) pModel->m_nDispDecimals = m_pBarInfo->nDecimals;
    if (pModel && m_bAnimation) pModel->m_bAmplitudeOff = m_nLoadType == kLoadTypeTimeHistory ? 1 : 0;
    CDeformEngine* e = m_pDeformEngine;
    if (e && m_bDeformRebuild) {
        e->InitEngine();
        m_bDeformRebuild = 0;
    }
    if (pModel) pModel->m_bResultPresent = e ? e->m_bDataReady : 0;
}
