#include "module/bars/CPVXBarContainerSystem.h"

#include "host/grx/I_PVXCtrl.h"
#include "module/bars/BarControlPlace.h"
#include "module/bars/CPVXBarDlgBase.h"
#include "module/engines/CDeformEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarContainerSystem, CPVXBarContainerBase)

BEGIN_MESSAGE_MAP(CPVXBarContainerSystem, CPVXBarContainerBase)
    ON_CBN_SELCHANGE(IDC_BAR_COMBO, OnSelchangeSystemCombo)
    ON_BN_CLICKED(IDC_BAR_TABLE, OnTableButton)
    ON_BN_CLICKED(IDC_TYPE_SHAPE, OnPvxBarDeformType)
    ON_BN_CLICKED(IDC_TYPE_CONTOUR, OnPvxBarDeformType)
    ON_BN_CLICKED(IDC_TYPE_QUERY, OnPvxBarDeformType)
END_MESSAGE_MAP()

namespace {
const CPVXBarContainerBase::PageRow kSystemPages[] = {
    {PVXResult::kSettlement, "CPVXBarSetMnt"},
    {PVXResult::kDeform, "CPVXBarDeform"},
    {PVXResult::kDispContour, "CPVXBarDContr"},
    {PVXResult::kNodeDisp, "CPVXBarSrhdsp"},
    {PVXResult::kModeShape, "CPVXBarMdShp"},
};
const CPVXBarContainerBase::ComboRow kSystemCombo[] = {
    {"IDS_TBX_PVX_Deformations", PVXResult::kDeform},
    {"IDS_TBX_PVX_Settlement", PVXResult::kSettlement},
    {"IDS_TBX_PVX_VIBRATION_MODE", PVXResult::kModeShape},
};
const CBarControlName kSystemNames[] = {
    {CPVXBarContainerBase::IDC_BAR_COMBO, "page"},
    {CPVXBarContainerSystem::IDC_TYPE_SHAPE, "type"},
};

}  // namespace

CPVXBarContainerSystem::CPVXBarContainerSystem() : CPVXBarContainerBase(static_cast<UINT>(IDD)), m_nDeformType(0) {}

CPVXBarContainerSystem::~CPVXBarContainerSystem() = default;

const CPVXBarContainerBase::PageRow* CPVXBarContainerSystem::GetPageTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kSystemPages));
    return kSystemPages;
}

const CPVXBarContainerBase::ComboRow* CPVXBarContainerSystem::GetComboTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kSystemCombo));
    return kSystemCombo;
}

std::vector<CBarControlName> CPVXBarContainerSystem::GetControlNames() const {
    return {std::begin(kSystemNames), std::end(kSystemNames)};
}

void CPVXBarContainerSystem::DoDataExchange(CDataExchange* pDX) {
    CPVXBarContainerBase::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_TYPE_SHAPE, m_nDeformType);
}

void CPVXBarContainerSystem::OnInitialUpdate() {
    InitBar(PVXResult::kDeform, TRUE);
    barplace::ShowControl(*this, IDC_ANCHOR, SW_HIDE);
}

void CPVXBarContainerSystem::OnChangeBarTab() { OnSelchangeSystemCombo(); }

void CPVXBarContainerSystem::OnSelchangeSystemCombo() {
    const int nResultId = GetComboResult();
    if (nResultId < 0) return;
    if (GetSafeHwnd()) UpdateData(TRUE);
    if (nResultId == PVXResult::kDeform && m_nDeformType != 0)
        OnPvxBarDeformType();
    else
        ShowChildDlgByMode(nResultId);
}

void CPVXBarContainerSystem::ShowChildDlgByMode(int nResultId) {
    if (IsCurrentModeSame(nResultId)) return;
    if (PageIndexOf(nResultId) < 0) {
        CPVXBarContainerBase::ShowChildDlgByMode(nResultId);
        return;
    }
    if (nResultId == PVXResult::kDispContour || nResultId == PVXResult::kNodeDisp) {
        // Asked for by the host (a view activated again shows its bar's result): the type radio
        // is set as a person would set it.
        m_nDeformType = nResultId == PVXResult::kDispContour ? 1 : 2;
        if (GetSafeHwnd()) UpdateData(FALSE);
        OnPvxBarDeformType();
        return;
    }
    CPVXBarContainerBase::ShowChildDlgByMode(nResultId);
    MovePlaceHolderShowControl(nResultId);
    if (CWnd* p = GetDlgItem(IDC_BAR_TABLE)) {
        if (nResultId == PVXResult::kSettlement) p->EnableWindow(FALSE);
        if (nResultId == PVXResult::kDeform || nResultId == PVXResult::kModeShape) p->EnableWindow(TRUE);
    }
    if (!PreparePage(nResultId)) return;
    ShowPreparedPage(nResultId);
}

int CPVXBarContainerSystem::PreparePage(int nResultId) {
    switch (nResultId) {
    case PVXResult::kSettlement: return PrepareSettlement();
    case PVXResult::kDeform: return PrepareDeform();
    case PVXResult::kDispContour: return PrepareDContr();
    case PVXResult::kNodeDisp: return PrepareSrhdsp();
    case PVXResult::kModeShape: return PrepareModeShape();
    default: return 0;
    }
}

int CPVXBarContainerSystem::PrepareSettlement() {
    CPVXBarDlgBase* pPage = BeginPrepare(PVXResult::kSettlement);
    CDeformEngine* pDeform = PrepareDeformEngine(TRUE);
    m_nEngineKind = ENGINE_DEFORM;
    m_BarInfo.nCarried40 = 1;
    HandEnginesToPage(pPage, pDeform);
    return 1;
}

int CPVXBarContainerSystem::PrepareDeform() {
    CPVXBarDlgBase* pPage = BeginPrepare(PVXResult::kDeform);
    CDeformEngine* pDeform = PrepareDeformEngine(FALSE);
    m_nEngineKind = ENGINE_DEFORM;
    pDeform->m_bDeformed = 1;
    HandEnginesToPage(pPage, pDeform);
    return 1;
}

int CPVXBarContainerSystem::PrepareDContr() {
    CPVXBarDlgBase* pPage = BeginPrepare(PVXResult::kDispContour);
    // The deformation pages edit no current engine.
    DestroyCurrentEngine();
    CDeformEngine* pDeform = PrepareDeformEngine(TRUE);
    m_nEngineKind = ENGINE_DEFORM;
    m_BarInfo.bContour = 1;
    HandEnginesToPage(pPage, pDeform);
    return 1;
}

int CPVXBarContainerSystem::PrepareSrhdsp() {
    I_PVXModel* pModel = GetCurModel();
    if (pModel && pModel->m_pPVXCtrl) pModel->m_pPVXCtrl->ViewZoomAll(0);
    CPVXBarDlgBase* pPage = BeginPrepare(PVXResult::kNodeDisp);
    DestroyCurrentEngine();
    DestroyDeformEngine();
    if (pModel && !pModel->m_pDeformEngine) pModel->m_pDeformEngine = new CDeformEngine(pModel);
    CDeformEngine* pDeform = PrepareDeformEngine(FALSE);
    m_nEngineKind = ENGINE_DEFORM;
    HandEnginesToPage(pPage, pDeform);
    return 1;
}

int CPVXBarContainerSystem::PrepareModeShape() {
    CPVXBarDlgBase* pPage = BeginPrepare(PVXResult::kModeShape);
    DestroyCurrentEngine();
    CDeformEngine* pDeform = PrepareDeformEngine(TRUE);
    m_nEngineKind = ENGINE_DEFORM;
    HandEnginesToPage(pPage, pDeform);
    return 1;
}

int CPVXBarContainerSystem::GetTMDeformMode() {
    switch (m_nDeformType) {
    case 0: return PVXResult::kDeform;
    case 1: return PVXResult::kDispContour;
    case 2: return PVXResult::kNodeDisp;
    default: return m_nCurrentTMMode;
    }
}

void CPVXBarContainerSystem::OnPvxBarDeformType() {
    if (GetSafeHwnd()) UpdateData(TRUE);
    const int nBefore = m_nCurrentTMMode;
    const int nResultId = GetTMDeformMode();
    CPVXBarContainerBase::ShowChildDlgByMode(nResultId);
    switch (m_nDeformType) {
    case 0: PrepareDeform(); break;
    case 1: PrepareDContr(); break;
    case 2: PrepareSrhdsp(); break;
    default: break;
    }
    if (nBefore != PVXResult::kDeform && nBefore != PVXResult::kDispContour && nBefore != PVXResult::kNodeDisp) {
        // Coming from the settlement: the type group comes back.
        MovePlaceHolderShowControl(m_nCurrentTMMode);
        SelectComboResult(PVXResult::kDeform);
    }
    ShowCurChildDlg(m_nCurrentTMMode, CChangePHPage::PH_OWN_SIZE, 0);
    m_pMyself = this;
}

void CPVXBarContainerSystem::MovePlaceHolderShowControl(int nResultId) {
    if (!GetSafeHwnd()) return;
    CRect rcGroup;
    const int nGroupTop = barplace::ControlTop(*this, IDC_TYPE_GROUP, &rcGroup);
    // The type group belongs to the deformations; the settlement and the mode shapes have none.
    const bool bNoType = nResultId == PVXResult::kSettlement || nResultId == PVXResult::kModeShape;
    const int nShow = bNoType ? SW_HIDE : SW_SHOW;
    for (UINT id : {static_cast<UINT>(IDC_TYPE_GROUP), static_cast<UINT>(IDC_TYPE_SHAPE),
                    static_cast<UINT>(IDC_TYPE_CONTOUR), static_cast<UINT>(IDC_TYPE_QUERY)})
        barplace::ShowControl(*this, id, nShow);
    if (bNoType) {
        barplace::MoveTop(*this, IDC_BAR_PLACE_HOLDER, nGroupTop);
        m_nExtraLayoutHeight = 0;
    } else {
        barplace::MoveTop(*this, IDC_BAR_PLACE_HOLDER, barplace::ControlTop(*this, IDC_ANCHOR));
        m_nExtraLayoutHeight = rcGroup.Height() + 5;
    }
}
