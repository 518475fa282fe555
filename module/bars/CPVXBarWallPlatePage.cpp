#include "module/bars/CPVXBarWallPlatePage.h"

#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/CPVXBarFramePages.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/contour/CContourDetDlg.h"
#include "module/engines/CDeformEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CWinApp.h"

IMPLEMENT_DYNAMIC(CPVXBarWallPlatePage, CPVXBarDlgBase)

CPVXBarWallPlatePage::CPVXBarWallPlatePage(UINT nIDTemplate, UINT nIDLoadCombo, int nMode, const char* pszTitle)
    : CPVXBarDlgBase(nIDTemplate, nullptr, nullptr), m_nMode(nMode) {
    m_nIDLoadCombo = nIDLoadCombo;
    m_strTitle = pszTitle;
}

BOOL CPVXBarWallPlatePage::OnInitDialog() {
    InitPageDialog(m_nMode);
    TakeInitialValues();
    Exchange(FALSE);
    UpdateEnabling();
    return TRUE;
}

void CPVXBarWallPlatePage::Execute() {
    Exchange(TRUE);
    CPVXBarContainerBase::m_nCurrentMode = m_nMode;
    if (m_pContainer) m_pContainer->OnTmExecute();
}

void CPVXBarWallPlatePage::OnApply() {
    CWinApp* pApp = AfxGetApp();
    if (pApp) pApp->BeginWaitCursor();
    Execute();
    if (pApp) pApp->EndWaitCursor();
}

void CPVXBarWallPlatePage::OnLoadChange() {
    Exchange(TRUE);
    TakeLoadOnApply();
}

void CPVXBarWallPlatePage::TakeDisplayBoxes(int bContour) {
    m_bContour = bContour;
    if (!m_pBarInfo) return;
    m_bDeformed = m_pBarInfo->bDeformed;
    m_bValues = m_pBarInfo->bValues;
    m_bLegend = m_pBarInfo->bLegend;
    m_bAnimation = m_pBarInfo->bAnimation;
    m_bUndeformed = m_pBarInfo->bUndeformed;
}

void CPVXBarWallPlatePage::RebuildForce(int CForceEngine::*pDataFlag) {
    if (m_bDeformRebuild && m_pDeformEngine) {
        m_pDeformEngine->InitEngine();
        m_bDeformRebuild = 0;
    }
    if (m_bForceRebuild && m_pForceEngine) {
        m_pForceEngine->InitEngine(nullptr, -1);
        m_bForceRebuild = 0;
    }
    if (I_PVXModel* pModel = GetModel()) pModel->m_bResultPresent = m_pForceEngine ? m_pForceEngine->*pDataFlag : 0;
}

void CPVXBarWallPlatePage::ValuesMoreWithDialog() {
    Exchange(TRUE);
    m_bValues = 1;
    Exchange(FALSE);
    UpdateEnabling();
    OnNumberDetails(0);
}

void CPVXBarWallPlatePage::ForceContourDetails(int CForceEngine::*pDataFlag) {
    if (m_pContainer) m_pContainer->TakeBackEngines();
    if (!m_pContourEngine) return;
    TurnBoxOn(m_bContour);
    CPVXBarContainerBase::m_nCurrentMode = m_nMode;
    if (m_bForceRebuild && m_pForceEngine) m_pForceEngine->InitEngine(nullptr, -1);
    if (I_PVXModel* pModel = GetModel()) pModel->m_bResultPresent = m_pForceEngine ? m_pForceEngine->*pDataFlag : 0;
    CPVXConDetDlg dlg(nullptr);
    dlg.m_pPage = this;
    dlg.m_pView = m_pView;
    dlg.m_pContourEngine = m_pContourEngine;
    dlg.m_pEngine = m_pForceEngine;
    dlg.DoModal();
}

namespace {
int I_PVXModel::*WallDecimals(int nComp) {
    return CPVXBarBForc::IsMomentCode(nComp) ? &I_PVXModel::m_nMomentDecimals : &I_PVXModel::m_nForceDecimals;
}
}  // namespace

void CPVXBarWallPlatePage::TakeWallDecimals(int nComp) { TakeModelDecimals(WallDecimals(nComp)); }

void CPVXBarWallPlatePage::StoreWallDecimals(int nComp) { StoreModelDecimals(WallDecimals(nComp)); }
