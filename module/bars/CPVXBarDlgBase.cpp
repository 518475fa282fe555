#include "module/bars/CPVXBarDlgBase.h"

#include <cstdio>
#include <string>
#include <utility>

#include "host/base/CDockDlgBarBase.h"
#include "module/animation/CPVXAnimDetDlg.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/CPVXOptionDlgs.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/contour/CContourDetDlg.h"
#include "module/contour/CLegendDetDlg.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "module/resources/PVXResourceIds.h"
#include "platform/afx/CArchive.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/DataExchange.h"

IMPLEMENT_DYNAMIC(CPVXBarDlgBase, CPHPageDlg)

CPVXBarDlgBase::CPVXBarDlgBase(UINT nIDTemplate, CPVXBarContainerBase* pContainer, CWnd* pParent)
    : CPHPageDlg(nIDTemplate, pParent),
      m_pContainer(pContainer),
      m_pView(nullptr),
      m_pBarInfo(nullptr),
      m_pContourEngine(nullptr),
      m_pDeformEngine(nullptr),
      m_pForceEngine(nullptr),
      m_pStressEngine(nullptr),
      m_pReactionEngine(nullptr),
      m_bForceRebuild(1),
      m_bDeformRebuild(1),
      m_bReactionRebuild(1),
      m_bStressRebuild(1),
      m_bAnimation(0),
      m_bContour(0),
      m_bDeformed(0),
      m_bLegend(0),
      m_bValues(0),
      m_bUndeformed(0),
      m_nIDLoadCombo(0),
      m_nLoadStep(0),
      m_nLoadKey(0),
      m_nLoadType(0),
      m_nArchivedA(0),
      m_nArchivedB(0),
      m_nArchivedC(0),
      m_nArchivedD(0),
      m_nArchivedE(0),
      m_nArchivedF(0),
      m_nArchivedG(0) {}

CPVXBarDlgBase::~CPVXBarDlgBase() = default;

int CPVXBarDlgBase::GetPageType() { return PAGE_BASE; }

void CPVXBarDlgBase::DoDataExchange(CDataExchange* pDX) { CPHPageDlg::DoDataExchange(pDX); }

I_PVXModel* CPVXBarDlgBase::GetModel() const { return m_pView ? m_pView->GetPVXModel() : nullptr; }

void CPVXBarDlgBase::ResetRebuildFlags() {
    m_bForceRebuild = 1;
    m_bDeformRebuild = 1;
    m_bReactionRebuild = 1;
    m_bStressRebuild = 1;
}

void CPVXBarDlgBase::SetButtonIcon(UINT nIDButton, UINT nIDIcon) {
    if (auto* pButton = dynamic_cast<CButton*>(GetDlgItem(static_cast<int>(nIDButton))))
        pButton->SetIcon(AfxGetApp()->LoadIcon(nIDIcon));
}

BOOL CPVXBarDlgBase::Exchange(BOOL bSave) { return GetSafeHwnd() ? UpdateData(bSave) : TRUE; }

void CPVXBarDlgBase::EnableControl(UINT nID, BOOL bEnable) {
    if (CWnd* p = GetDlgItem(static_cast<int>(nID))) p->EnableWindow(bEnable);
}

void CPVXBarDlgBase::ExchangeDisplayBoxes(CDataExchange* pDX, const DisplayBoxIds& ids) {
    const std::pair<UINT, int*> boxes[] = {{ids.nContour, &m_bContour},     {ids.nDeformed, &m_bDeformed},
                                           {ids.nValues, &m_bValues},       {ids.nLegend, &m_bLegend},
                                           {ids.nAnimation, &m_bAnimation}, {ids.nUndeformed, &m_bUndeformed}};
    for (const auto& [nID, pBox] : boxes)
        if (nID) DDX_Check(pDX, static_cast<int>(nID), *pBox);
}

void CPVXBarDlgBase::StoreDisplayBoxes() {
    T_PVX_BAR_INFO* b = m_pBarInfo;
    if (!b) return;
    b->bContour = m_bContour;
    b->bDeformed = m_bDeformed;
    b->bValues = m_bValues;
    b->bLegend = m_bLegend;
    b->bAnimation = m_bAnimation;
    b->bUndeformed = m_bUndeformed;
}

void CPVXBarDlgBase::TakeModelDecimals(int I_PVXModel::*pDecimals) {
    if (const I_PVXModel* pModel = GetModel(); pModel && m_pBarInfo) m_pBarInfo->nDecimals = pModel->*pDecimals;
}

void CPVXBarDlgBase::StoreModelDecimals(int I_PVXModel::*pDecimals) {
    if (I_PVXModel* pModel = GetModel(); pModel && m_pBarInfo) pModel->*pDecimals = m_pBarInfo->nDecimals;
}

CString CPVXBarDlgBase::FormatExp3(double v, int nWidth) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.5E", v);
    std::string s = buf;
    const size_t e = s.find('E');
    if (e != std::string::npos && s.size() - e == 4) s = s.substr(0, e + 2) + '0' + s.substr(e + 2);  // E+01 -> E+001
    if (static_cast<int>(s.size()) < nWidth) s.insert(0, static_cast<size_t>(nWidth) - s.size(), ' ');
    return CString(s.c_str());
}

void CPVXBarDlgBase::TurnBoxOn(int& bBox) {
    Exchange(TRUE);
    if (!bBox) {
        bBox = 1;
        Exchange(FALSE);
    }
}

// ---- settings archive ------------------------------------------------------------------------------

void CPVXBarDlgBase::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_nLoadStep << m_nLoadKey << m_nLoadType << m_nArchivedA << m_nArchivedB << m_strArchived << m_nArchivedC
           << m_nArchivedD << m_nArchivedE << m_bContour << m_bDeformed << m_bValues << m_bLegend << m_bAnimation
           << m_bUndeformed << m_nArchivedF << m_nArchivedG << m_strTitle;
        return;
    }
    // Read into copies first: a short or corrupt archive changes nothing.
    int step = 0, key = 0, type = 0, a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0;
    int contour = 0, deformed = 0, values = 0, legend = 0, animation = 0, undeformed = 0;
    CString text, title;
    ar >> step >> key >> type >> a >> b >> text >> c >> d >> e >> contour >> deformed >> values >> legend >> animation >>
        undeformed >> f >> g >> title;
    if (ar.IsFailed()) return;
    m_nLoadStep = step;
    m_nLoadKey = key;
    m_nLoadType = type;
    m_nArchivedA = a;
    m_nArchivedB = b;
    m_strArchived = text;
    m_nArchivedC = c;
    m_nArchivedD = d;
    m_nArchivedE = e;
    m_bContour = contour;
    m_bDeformed = deformed;
    m_bValues = values;
    m_bLegend = legend;
    m_bAnimation = animation;
    m_bUndeformed = undeformed;
    m_nArchivedF = f;
    m_nArchivedG = g;
    m_strTitle = title;
}

// ---- database notices ------------------------------------------------------------------------------

void CPVXBarDlgBase::OnDBUpdate(void*, int nHint, void*) {
    bool bClose = false;
    if (nHint == HINT_FIGURE_CLOSED) {
        const I_PVXModel* pModel = GetModel();
        bClose = pModel && pModel->m_bFigurePanel && CPVXBarContainerBase::m_nCurrentMode != -1;
    } else if (nHint == HINT_PROJECT_REPLACED) {
        // The bars' result id tells whether a result bar is open (display modes never reach 7000).
        const int id = CPVXBarContainerBase::m_nCurrentTMMode;
        bClose = id >= PVX_BAR_MODE_FIRST && id < PVX_BAR_MODE_END;
    }
    if (bClose) OnBarClose();
}

void CPVXBarDlgBase::OnBarClose() {
    CPVXBarContainerBase* pContainer = m_pContainer;
    CDockDlgBarBase::CloseDlgBar();
    if (pContainer) pContainer->OnClose();
}

// ---- buttons ----------------------------------------------------------------------------------------

void CPVXBarDlgBase::OnIconButton() { Exchange(TRUE); }

void CPVXBarDlgBase::OnLoadCaseDialog() {
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(WM_COMMAND, MAKEWPARAM(CPVXBarContainerBase::ID_HOST_LOAD_CASE_DIALOG, 0), 0);
}

void CPVXBarDlgBase::OnContourBox() {
    Exchange(TRUE);
    m_bContour = 1;
    Exchange(FALSE);
}

// ---- load selection -----------------------------------------------------------------------------------

void CPVXBarDlgBase::OpenPageDialog(int nMode) {
    CPVXBarContainerBase::m_nCurrentMode = nMode;
    CPVXBarDlgBase::OnInitDialog();  // qualified: the page's own OnInitDialog is the caller
    SetButtonIcon(IDC_PAGE_ICON, IDI_PAGE_ICON);
    if (CWnd* p = GetDlgItem(IDC_PAGE_ICON)) p->ShowWindow(SW_HIDE);
    CWnd* pGroup = GetDlgItem(IDC_PAGE_LOAD_GROUP);
    CWnd* pClose = GetDlgItem(IDC_PAGE_CLOSE);
    if (m_pContainer && pGroup && pClose) {
        CRect group, close;
        pGroup->GetWindowRect(&group);
        pClose->GetWindowRect(&close);
        m_pContainer->LayoutChildDlg(group, close);
    }
}

int CPVXBarDlgBase::InitPageDialog(int nMode) {
    OpenPageDialog(nMode);
    if (I_PVXModel* pModel = GetModel()) pModel->m_nLoadStep = 0;
    return SelectLoadOnInit();
}

int CPVXBarDlgBase::SelectLoadOnInit() {
    I_PVXModel* pModel = GetModel();
    const DWORD mask = m_dwPageLoadMask ? m_dwPageLoadMask
                                        : (m_pBarInfo ? m_pBarInfo->dwLoadTypeMask : T_PVX_BAR_INFO::kLoadTypeMask);
    m_LoadSelector.SetLoadType(mask, 1, 0, 0);
    if (!pModel) return 0;
    UINT type = pModel->m_nLoadType, key = pModel->m_nLoadKey;
    int step = pModel->m_nLoadStep;
    if (!m_LoadSelector.ChangeSelect(type, key, step) && !m_LoadSelector.GetSelectedLoad(type, key, &step)) {
        pModel->m_nLoadStep = 0;
        pModel->m_bLoadSelected = 0;
        pModel->m_bResultPresent = 0;
        FillLoadCombo();
        return 0;
    }
    FillLoadCombo();
    m_nLoadType = static_cast<int>(type);
    m_nLoadKey = static_cast<int>(key);
    m_nLoadStep = step;
    pModel->m_nLoadType = type;
    pModel->m_nLoadKey = key;
    pModel->m_nLoadStep = step;
    pModel->m_bLoadSelected = 1;
    pModel->SelectLoad();
    ResetRebuildFlags();
    return 1;
}

void CPVXBarDlgBase::TakeArchivedSettings() {
    // A page that never took a load archived none: it keeps the one it chose.
    if (I_PVXModel* pModel = GetModel(); pModel && m_nLoadType > 0) {
        pModel->m_nLoadType = static_cast<UINT>(m_nLoadType);
        pModel->m_nLoadKey = static_cast<UINT>(m_nLoadKey);
        pModel->m_nLoadStep = m_nLoadStep;
        SelectLoadOnInit();
    }
    if (GetSafeHwnd()) Exchange(FALSE);
}

void CPVXBarDlgBase::FillLoadCombo() {
    auto* pCombo = m_nIDLoadCombo ? dynamic_cast<CComboBox*>(GetDlgItem(static_cast<int>(m_nIDLoadCombo))) : nullptr;
    if (!pCombo) return;
    pCombo->ResetContent();
    UINT selType = 0, selKey = 0;
    const BOOL bChosen = m_LoadSelector.GetSelectedLoad(selType, selKey, nullptr);
    for (int i = 0; i < m_LoadSelector.GetLoadCount(); ++i) {
        UINT type = 0, key = 0;
        CString name;
        if (!m_LoadSelector.GetSelectedLoadByIndex(i, type, key, &name)) continue;
        const int at = pCombo->AddString(name);
        if (at >= 0) pCombo->SetItemData(at, static_cast<DWORD_PTR>(i));
        if (bChosen && type == selType && key == selKey) pCombo->SetCurSel(at);
    }
}

int CPVXBarDlgBase::TakeLoadOnApply() {
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    CString strLoadText;
    auto* pCombo = m_nIDLoadCombo ? dynamic_cast<CComboBox*>(GetDlgItem(static_cast<int>(m_nIDLoadCombo))) : nullptr;
    if (pCombo && pCombo->GetCurSel() >= 0) {
        // The load the person chose in the combo becomes the selector's choice.
        UINT type = 0, key = 0;
        CString name;
        if (m_LoadSelector.GetSelectedLoadByIndex(static_cast<int>(pCombo->GetItemData(pCombo->GetCurSel())), type,
                                                  key, &name)) {
            UINT oldType = 0, oldKey = 0;
            int oldStep = 0;
            const BOOL bSame = m_LoadSelector.GetSelectedLoad(oldType, oldKey, &oldStep) && oldType == type && oldKey == key;
            m_LoadSelector.ChangeSelect(type, key, bSame ? oldStep : 0);
        }
        pCombo->GetLBText(pCombo->GetCurSel(), strLoadText);
    } else {
        strLoadText = m_LoadSelector.GetSelectedText();
    }
    UINT type = 0, key = 0;
    int step = 0;
    if (!m_LoadSelector.GetSelectedLoad(type, key, &step)) {
        pModel->m_nLoadStep = 0;
        pModel->m_bLoadSelected = 0;
        pModel->m_bResultPresent = 0;
        return 0;
    }
    pModel->m_strLoadName = strLoadText;
    m_nLoadType = static_cast<int>(type);
    m_nLoadKey = static_cast<int>(key);
    m_nLoadStep = step;
    if (type != pModel->m_nLoadType || key != pModel->m_nLoadKey || step != pModel->m_nLoadStep) {
        pModel->m_nLoadType = type;
        pModel->m_nLoadKey = key;
        pModel->m_nLoadStep = step;
        pModel->m_bLoadSelected = 1;
        pModel->SelectLoad();
        ResetRebuildFlags();
    }
    return 1;
}

// ---- engine refresh and detail dialogs ------------------------------------------------------------------

CEngineBase* CPVXBarDlgBase::GetPageEngine() const {
    switch (const_cast<CPVXBarDlgBase*>(this)->GetPageType()) {
    case PAGE_REACTION: return m_pReactionEngine;
    case PAGE_DEFORM: return m_pDeformEngine;
    case PAGE_FRAME_FORCE:
    case PAGE_PLATE_FORCE:
    case PAGE_SLAB_FORCE:
    case PAGE_SLAB_REBAR:
    case PAGE_SLAB_WALL:
    case PAGE_SLAB_STRIP: return m_pForceEngine;
    case PAGE_PLATE_STRESS: return m_pStressEngine;
    default: return nullptr;
    }
}

void CPVXBarDlgBase::RefreshEngineForDialog() {
    const int nType = GetPageType();
    switch (nType) {
    case PAGE_DEFORM:
        if (m_bDeformRebuild && m_pDeformEngine) m_pDeformEngine->InitEngine();
        break;
    case PAGE_FRAME_FORCE:
    case PAGE_PLATE_FORCE:
    case PAGE_SLAB_WALL:
    case PAGE_SLAB_STRIP:
        if (m_bForceRebuild && m_pForceEngine) m_pForceEngine->InitEngine(nullptr, -1);
        break;
    case PAGE_PLATE_STRESS:
        if (m_bStressRebuild && m_pStressEngine) m_pStressEngine->InitEngine(nullptr, -1);
        break;
    default:
        break;
    }
    I_PVXModel* pModel = GetModel();
    if (!pModel) return;
    int bPresent = 0;
    switch (nType) {
    case PAGE_REACTION: bPresent = m_pReactionEngine ? m_pReactionEngine->m_bDataReady : 0; break;
    case PAGE_DEFORM: bPresent = m_pDeformEngine ? m_pDeformEngine->m_bDataReady : 0; break;
    case PAGE_FRAME_FORCE: bPresent = m_pForceEngine ? m_pForceEngine->m_bBForcData : 0; break;
    case PAGE_PLATE_FORCE: bPresent = m_pForceEngine ? m_pForceEngine->m_bPForcData : 0; break;
    default: break;
    }
    pModel->m_bResultPresent = bPresent;
}

void CPVXBarDlgBase::OnContourDetails() {
    if (m_pContainer) m_pContainer->TakeBackEngines();
    if (!m_pContourEngine) return;
    TurnBoxOn(m_bContour);
    RefreshEngineForDialog();
    CPVXConDetDlg dlg(nullptr);
    dlg.m_pPage = this;
    dlg.m_pView = m_pView;
    dlg.m_pContourEngine = m_pContourEngine;
    dlg.m_pEngine = GetPageEngine();
    dlg.DoModal();
}

void CPVXBarDlgBase::OnKrigContourDetails() {
    if (m_pContainer) m_pContainer->TakeBackEngines();
    if (!m_pContourEngine) return;
    TurnBoxOn(m_bContour);
    RefreshEngineForDialog();
    CPVXConDetDlg_Krig dlg(nullptr);
    dlg.m_pPage = this;
    dlg.m_pView = m_pView;
    dlg.m_pContourEngine = m_pContourEngine;
    dlg.m_pEngine = GetPageEngine();
    dlg.DoModal();
}

void CPVXBarDlgBase::OnLegendDetails() {
    if (m_pContainer) m_pContainer->TakeBackEngines();
    TurnBoxOn(m_bLegend);
    CPVXLegDetDlg dlg(nullptr);
    dlg.m_pPage = this;
    dlg.m_pView = m_pView;
    dlg.m_pSettings = m_pBarInfo ? &m_pBarInfo->m_Legend : nullptr;
    dlg.DoModal();
}

void CPVXBarDlgBase::OnDeformDetails() {
    if (m_pContainer) m_pContainer->TakeBackEngines();
    TurnBoxOn(m_bDeformed);
    if (!m_pDeformEngine) return;
    CPVXDefDetDlg dlg(nullptr);
    dlg.m_pPage = this;
    dlg.m_pView = m_pView;
    dlg.m_pEngine = m_pDeformEngine;
    dlg.m_pBarInfo = m_pBarInfo;
    dlg.DoModal();
}

void CPVXBarDlgBase::OnNumberDetails(int bDirectionOffered) {
    if (m_pContainer) m_pContainer->TakeBackEngines();
    TurnBoxOn(m_bValues);
    CPVXNumDetDlg dlg(nullptr);
    dlg.m_pPage = this;
    dlg.m_pView = m_pView;
    dlg.m_pBarInfo = m_pBarInfo;
    dlg.m_bDirectionOffered = bDirectionOffered;
    dlg.DoModal();
}

void CPVXBarDlgBase::OnAnimationDetails() {
    TurnBoxOn(m_bAnimation);
    CPVXAnimDetDlg dlg(nullptr);
    dlg.m_pPage = this;
    dlg.m_pView = m_pView;
    dlg.m_pBarInfo = m_pBarInfo;
    dlg.DoModal();
}

void CPVXBarDlgBase::ShowCutLineWindow() {
    I_PVXModel* pModel = GetModel();
    if (!pModel) return;
    if (!I_PVXModel::m_pCutLineDetDlg)
        I_PVXModel::m_pCutLineDetDlg = new CPVXCutLineDetDlg(&CPVXCutLineDetDlg::m_arrSelCutLine);
    CPVXCutLineDetDlg* pDlg = I_PVXModel::m_pCutLineDetDlg;
    if (!pDlg->GetSafeHwnd()) {
        if (pDlg->Create(pModel, 0)) pDlg->ShowWindow(SW_SHOW);
    } else {
        pDlg->ShowWindow(SW_SHOW);
        pDlg->SetFocus();
    }
}
