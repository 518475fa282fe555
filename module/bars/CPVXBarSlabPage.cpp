#include "module/bars/CPVXBarSlabPage.h"

#include <algorithm>
#include <climits>

#include "host/base/CDockDlgBarBase.h"
#include "host/base/CMsgDll.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/uiapi.h"

IMPLEMENT_DYNAMIC(CPVXBarSlabPage, CPVXBarDlgBase)

CPVXBarSlabPage::CPVXBarSlabPage(UINT nIDTemplate, UINT nIDLoadCombo, int nMode, const char* pszTitle)
    : CPVXBarDlgBase(nIDTemplate, nullptr, nullptr), m_nMode(nMode), m_nType10Count(0) {
    m_nIDLoadCombo = nIDLoadCombo;
    m_strTitle = pszTitle;
}

BOOL CPVXBarSlabPage::ContourAllowed(int bElement, int nLoadType, int bFirst, int bSecond) {
    return bElement && (nLoadType != LOAD_ENVELOPE || (bFirst != 0) != (bSecond != 0));
}

int CPVXBarSlabPage::InitSlabPage(DWORD dwLoadMask) {
    m_dwPageLoadMask = dwLoadMask;
    const int bChosen = InitPageDialog(m_nMode);
    m_nType10Count = 0;
    UINT type = 0, key = 0;
    for (int i = 0; m_LoadSelector.GetSelectedLoadByIndex(i, type, key, nullptr); ++i)
        if (type == LOAD_COMBINATION) ++m_nType10Count;
    return bChosen;
}

void CPVXBarSlabPage::Execute() {
    Exchange(TRUE);
    if (!Validate()) return;
    CPVXBarContainerBase::m_nCurrentMode = m_nMode;
    if (m_pContainer) m_pContainer->OnTmExecute();
}

void CPVXBarSlabPage::OnApply() {
    CWaitCursor wait;
    Execute();
}

void CPVXBarSlabPage::OnLoadChange() {
    Exchange(TRUE);
    TakeLoadOnApply();
    OnLoadChanged();
}

void CPVXBarSlabPage::OnValuesMore() { OnNumberDetails(0); }

void CPVXBarSlabPage::OnCloseBar() { CDockDlgBarBase::CloseDlgBar(); }

void CPVXBarSlabPage::RebuildForce(int CForceEngine::*pDataFlag) {
    CForceEngine* e = m_pForceEngine;
    // The deformation engine the view draws on is built here, before the force engine: built
    // later by the view, it would name its own extremes (a node) as the view's.
    if (m_bDeformRebuild && m_pDeformEngine) {
        m_pDeformEngine->InitEngine();
        m_bDeformRebuild = 0;
        m_bForceRebuild = 1;
    }
    if (m_bForceRebuild && e) {
        if (e->m_pContourEngine) e->m_pContourEngine->ResetGlobalRange();
        e->InitEngine(nullptr, -1);
        m_bForceRebuild = 0;
    }
    if (I_PVXModel* pModel = GetModel()) pModel->m_bResultPresent = e ? e->*pDataFlag : 0;
}

CForceEngine* CPVXBarSlabPage::Engine() {
    if (m_pContainer) m_pContainer->TakeBackEngines();
    return m_pForceEngine;
}

CForceEngine* CPVXBarSlabPage::EngineIfHeld() const {
    return !m_pContainer || CPVXBarContainerBase::m_pEngineOwner == m_pContainer ? m_pForceEngine : nullptr;
}

void CPVXBarSlabPage::Refuse(const char* pszKey) { AfxMessageBox(CMsgDll::pfuncLoadStr(pszKey, 0), MB_OK, 0); }

// ---- controls and layout ------------------------------------------------------------------------------

void CPVXBarSlabPage::ShowControl(UINT nID, BOOL bShow) {
    if (CWnd* p = GetDlgItem(static_cast<int>(nID))) p->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CPVXBarSlabPage::ShowControls(std::span<const UINT> ids, BOOL bShow) {
    for (UINT id : ids) ShowControl(id, bShow);
}

CRect CPVXBarSlabPage::ControlRect(UINT nID) const {
    CRect r(0, 0, 0, 0);
    if (CWnd* p = GetDlgItem(static_cast<int>(nID))) {
        p->GetWindowRect(&r);
        ScreenToClient(&r);
    }
    return r;
}

int CPVXBarSlabPage::BlockTop(std::span<const UINT> ids) const {
    int top = INT_MAX;
    for (UINT id : ids)
        if (GetDlgItem(static_cast<int>(id))) top = std::min(top, static_cast<int>(ControlRect(id).top));
    return top == INT_MAX ? 0 : top;
}

int CPVXBarSlabPage::BlockBottom(std::span<const UINT> ids) const {
    int bottom = INT_MIN;
    for (UINT id : ids)
        if (GetDlgItem(static_cast<int>(id))) bottom = std::max(bottom, static_cast<int>(ControlRect(id).bottom));
    return bottom == INT_MIN ? 0 : bottom;
}

void CPVXBarSlabPage::MoveControls(std::span<const UINT> ids, int dx, int dy) {
    if (!dx && !dy) return;
    for (UINT id : ids) {
        CWnd* p = GetDlgItem(static_cast<int>(id));
        if (!p) continue;
        const CRect r = ControlRect(id);
        p->MoveWindow(r.left + dx, r.top + dy, r.Width(), r.Height(), FALSE);
    }
}

int CPVXBarSlabPage::DialogUnitsY(int n) const {
    CRect r(0, 0, 0, n);
    MapDialogRect(&r);
    return r.Height();
}

void CPVXBarSlabPage::TakeChoice(int CForceEngine::*pField, int nChoice) {
    CForceEngine* e = Engine();
    if (!e || nChoice < 0 || nChoice == e->*pField) return;
    e->*pField = nChoice;
    m_bForceRebuild = 1;
}

void CPVXBarSlabPage::KeepOneOfPair(int& bClicked, const int& bOther) {
    Exchange(TRUE);
    if (!bClicked && !bOther) {
        bClicked = 1;
        Exchange(FALSE);
    }
}
