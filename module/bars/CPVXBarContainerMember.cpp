#include "module/bars/CPVXBarContainerMember.h"

#include "host/base/CMsgDll.h"
#include "module/bars/BarControlPlace.h"
#include "module/bars/CPVXBarDlgBase.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarContainerMember, CPVXBarContainerBase)

BEGIN_MESSAGE_MAP(CPVXBarContainerMember, CPVXBarContainerBase)
    ON_CBN_SELCHANGE(IDC_BAR_COMBO, OnSelchangePageCombo)
    ON_BN_CLICKED(IDC_BAR_TABLE, OnTableButton)
    ON_BN_CLICKED(IDC_FORCE_CONTOUR, OnPvxBarForceType)
    ON_BN_CLICKED(IDC_FORCE_DIAGRAM, OnPvxBarForceType)
    ON_BN_CLICKED(IDC_SHOW_BEAM, OnPvxBarFrameForceShowBeam)
    ON_BN_CLICKED(IDC_SHOW_COLUMN, OnPvxBarFrameForceShowColumn)
    ON_BN_CLICKED(IDC_SHOW_TRUSS, OnPvxBarFrameForceShowTruss)
    ON_BN_CLICKED(IDC_ONLY_TRUSS, OnPvxBarFrameForceOnlyTruss)
    ON_BN_CLICKED(IDC_SHOW_TG, OnPvxBarPlateShowTG)
    ON_BN_CLICKED(IDC_SHOW_WALL, OnPvxBarPlateShowWall)
END_MESSAGE_MAP()

namespace {
const CPVXBarContainerBase::PageRow kMemberPages[] = {
    {PVXResult::kBeamForce, "CPVXBarBForc"},
    {PVXResult::kBeamDiagram, "CPVXBarBSfd"},
    {PVXResult::kSlabForce, "CPVXBarSForc"},
    {PVXResult::kSlabForceBeam, "CPVXBarSBForc"},
    // The wall and plate pages: places of their own after the four pages above.
    {PVXResult::kWallForce, "CPVXBarWForc"},
    {PVXResult::kWallDiagram, "CPVXBarWSfd"},
    {PVXResult::kPlateForce, "CPVXBarPForc"},
    {PVXResult::kPlateStress, "CPVXBarPStrs"},
};
const CPVXBarContainerBase::ComboRow kMemberCombo[] = {
    {"IDS_TBX_PVX_Beam_Force", PVXResult::kBeamForce},
    {"IDS_TBX_PVX_SLAB_FORCE", PVXResult::kSlabForce},
    {"IDS_TBX_PVX_SLAB_FORCE_BEAM", PVXResult::kSlabForceBeam},
    {"IDS_TBX_PVX_WALL_FORCE", PVXResult::kWallForce},
    {"IDS_TBX_PVX_WALL_DIAGRAM", PVXResult::kWallDiagram},
    {"IDS_TBX_PVX_PLATE_FORCE", PVXResult::kPlateForce},
    {"IDS_TBX_PVX_PLATE_STRESS", PVXResult::kPlateStress},
};
const CBarControlName kMemberNames[] = {
    {CPVXBarContainerBase::IDC_BAR_COMBO, "page"},
    {CPVXBarContainerMember::IDC_FORCE_CONTOUR, "display"},
    {CPVXBarContainerMember::IDC_SHOW_BEAM, "beam"},
    {CPVXBarContainerMember::IDC_SHOW_COLUMN, "column"},
    {CPVXBarContainerMember::IDC_SHOW_TRUSS, "brace"},
    {CPVXBarContainerMember::IDC_ONLY_TRUSS, "onlytruss"},
    {CPVXBarContainerMember::IDC_SHOW_TG, "tgirder"},
    {CPVXBarContainerMember::IDC_SHOW_WALL, "wall"},
};

// Frame and wall force components 6 and 7 (the larger shear, the larger moment) are shown as
// shear z and moment y on these pages.
int PlainComponent(int n) { return n == 6 ? 2 : n == 7 ? 4 : n; }

}  // namespace

CPVXBarContainerMember::CPVXBarContainerMember()
    : CPVXBarContainerBase(static_cast<UINT>(IDD)),
      m_nForceType(0),
      m_bShowBeam(1),
      m_bShowColumn(0),
      m_bShowTruss(0),
      m_bOnlyTruss(0),
      m_bShowTG(0),
      m_bShowWall(0) {}

CPVXBarContainerMember::~CPVXBarContainerMember() = default;

const CPVXBarContainerBase::PageRow* CPVXBarContainerMember::GetPageTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kMemberPages));
    return kMemberPages;
}

const CPVXBarContainerBase::ComboRow* CPVXBarContainerMember::GetComboTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kMemberCombo));
    return kMemberCombo;
}

std::vector<CBarControlName> CPVXBarContainerMember::GetControlNames() const {
    return {std::begin(kMemberNames), std::end(kMemberNames)};
}

void CPVXBarContainerMember::DoDataExchange(CDataExchange* pDX) {
    CPVXBarContainerBase::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_FORCE_CONTOUR, m_nForceType);
    DDX_Check(pDX, IDC_SHOW_BEAM, m_bShowBeam);
    DDX_Check(pDX, IDC_SHOW_COLUMN, m_bShowColumn);
    DDX_Check(pDX, IDC_SHOW_TRUSS, m_bShowTruss);
    DDX_Check(pDX, IDC_ONLY_TRUSS, m_bOnlyTruss);
    DDX_Check(pDX, IDC_SHOW_TG, m_bShowTG);
    DDX_Check(pDX, IDC_SHOW_WALL, m_bShowWall);
}

void CPVXBarContainerMember::OnInitialUpdate() {
    InitBar(PVXResult::kBeamForce, TRUE);
    if (CWnd* p = GetDlgItem(IDC_BAR_TABLE)) p->EnableWindow(FALSE);
}

void CPVXBarContainerMember::OnChangeBarTab() { OnSelchangePageCombo(); }

void CPVXBarContainerMember::ShowChildDlgByMode(int nResultId) {
    if (IsCurrentModeSame(nResultId)) return;
    CPVXBarContainerBase::ShowChildDlgByMode(nResultId);
    MovePlaceHolderShowControl(nResultId);
    if (!PreparePage(nResultId)) return;
    ShowPreparedPage(nResultId);
    OnPvxBarFrameForceShowBeam();
    OnPvxBarFrameForceShowColumn();
    OnPvxBarFrameForceShowTruss();
    OnPvxBarFrameForceOnlyTruss();
}

int CPVXBarContainerMember::PreparePage(int nResultId) {
    switch (nResultId) {
    case PVXResult::kBeamForce: return PrepareBForc();
    case PVXResult::kBeamDiagram: return PrepareBDgrm();
    case PVXResult::kSlabForce: return PrepareSForce();
    case PVXResult::kSlabForceBeam: return PrepareSBForce();
    case PVXResult::kWallForce: return PrepareWForc();
    case PVXResult::kWallDiagram: return PrepareWSfbm();
    case PVXResult::kPlateForce: return PreparePForc();
    case PVXResult::kPlateStress: return PreparePStrs();
    default: return 0;
    }
}

void CPVXBarContainerMember::TakeFrameBoxes() {
    if (auto* f = dynamic_cast<CForceEngine*>(m_pCurrentEngine)) {
        m_bShowBeam = f->m_bShowBeam;
        m_bShowColumn = f->m_bShowColumn;
        m_bShowTruss = f->m_bShowTruss;
    }
}

int CPVXBarContainerMember::PrepareBForc() {
    if (!PrepareForcePage(PVXResult::kBeamForce, TRUE)) return 0;
    auto* f = static_cast<CForceEngine*>(m_pCurrentEngine);
    f->m_nBForcComp = PlainComponent(f->m_nBForcComp);
    TakeFrameBoxes();
    if (GetSafeHwnd()) UpdateData(FALSE);
    return 1;
}

int CPVXBarContainerMember::PrepareBDgrm() {
    if (!PrepareForcePage(PVXResult::kBeamDiagram, TRUE)) return 0;
    m_pDeformEngine->m_bExactBeamRange = 0;  // beams deformed by their nodes
    TakeFrameBoxes();
    if (GetSafeHwnd()) UpdateData(FALSE);
    return 1;
}

int CPVXBarContainerMember::PrepareSForce() {
    if (!PrepareForcePage(PVXResult::kSlabForce, TRUE)) return 0;
    if (GetSafeHwnd()) UpdateData(FALSE);
    return 1;
}

int CPVXBarContainerMember::PrepareSBForce() {
    if (!PrepareForcePage(PVXResult::kSlabForceBeam, TRUE)) return 0;
    if (GetSafeHwnd()) UpdateData(FALSE);
    return 1;
}

int CPVXBarContainerMember::PrepareWForc() {
    if (!PrepareForcePage(PVXResult::kWallForce, TRUE)) return 0;
    auto* f = static_cast<CForceEngine*>(m_pCurrentEngine);
    f->m_nWForcComp = PlainComponent(f->m_nWForcComp);
    return 1;
}

int CPVXBarContainerMember::PrepareWSfbm() { return PrepareForcePage(PVXResult::kWallDiagram, TRUE); }

int CPVXBarContainerMember::PreparePForc() {
    if (!PrepareForcePage(PVXResult::kPlateForce, TRUE)) return 0;
    auto* f = static_cast<CForceEngine*>(m_pCurrentEngine);
    m_bShowTG = f->m_bPlateShowTG;
    m_bShowWall = f->m_bPlateShowWall;
    if (GetSafeHwnd()) UpdateData(FALSE);
    return 1;
}

int CPVXBarContainerMember::PreparePStrs() {
    if (PageIndexOf(PVXResult::kPlateStress) < 0) return 0;
    CPVXBarDlgBase* pPage = BeginPrepare(PVXResult::kPlateStress);
    I_PVXModel* pModel = GetCurModel();
    PrepareDeformEngine(TRUE)->m_nComponent = 3;
    CStressEngine* pStress = PrepareCurrentEngine<CStressEngine>(FALSE, pModel ? pModel->m_pStressEngine : nullptr);
    m_nEngineKind = ENGINE_STRESS;
    HandEnginesToPage(pPage, pStress);
    m_bShowTG = pStress->m_bIncludeTGirder;
    m_bShowWall = pStress->m_bIncludeWall;
    if (GetSafeHwnd()) UpdateData(FALSE);
    return 1;
}

int CPVXBarContainerMember::GetTMForceMode() {
    switch (m_ComboPage.GetSafeHwnd() ? m_ComboPage.GetCurSel() : -1) {
    case 0: return m_nForceType == 1 ? PVXResult::kBeamDiagram : PVXResult::kBeamForce;
    case 1: return PVXResult::kSlabForce;
    case 2: return PVXResult::kSlabForceBeam;
    case 3: return PVXResult::kWallForce;
    case 4: return PVXResult::kWallDiagram;
    case 5: return PVXResult::kPlateForce;
    case 6: return PVXResult::kPlateStress;
    default: return m_nCurrentTMMode;
    }
}

void CPVXBarContainerMember::OnPvxBarForceType() {
    if (GetSafeHwnd()) UpdateData(TRUE);
    const int nResultId = GetTMForceMode();
    CPVXBarContainerBase::ShowChildDlgByMode(nResultId);
    MovePlaceHolderShowControl(nResultId);
    switch (nResultId) {
    case PVXResult::kBeamForce: PrepareBForc(); break;
    case PVXResult::kBeamDiagram: PrepareBDgrm(); break;
    case PVXResult::kSlabForce: PrepareSForce(); break;
    case PVXResult::kSlabForceBeam: PrepareSBForce(); break;
    default: break;
    }
    ShowCurChildDlg(m_nCurrentTMMode, CChangePHPage::PH_OWN_SIZE, 0);
    m_pMyself = this;
    OnPvxBarFrameForceShowBeam();
}

void CPVXBarContainerMember::MovePlaceHolderShowControl(int nResultId) {
    if (!GetSafeHwnd()) return;
    const UINT display[] = {IDC_DISPLAY_GROUP, IDC_FORCE_CONTOUR, IDC_FORCE_DIAGRAM};
    if (nResultId == PVXResult::kBeamForce || nResultId == PVXResult::kBeamDiagram) {
        for (UINT id : display) barplace::ShowControl(*this, id, SW_SHOW);
        for (UINT id : {static_cast<UINT>(IDC_PLATE_GROUP), static_cast<UINT>(IDC_PLATE_LABEL),
                        static_cast<UINT>(IDC_SHOW_TG), static_cast<UINT>(IDC_SHOW_WALL)})
            barplace::ShowControl(*this, id, SW_HIDE);
        barplace::MoveTop(*this, IDC_BAR_PLACE_HOLDER, barplace::ControlTop(*this, IDC_ANCHOR));
        if (CWnd* p = GetDlgItem(IDC_FORCE_CONTOUR)) p->SetWindowText(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Contour", 0));
        if (CWnd* p = GetDlgItem(IDC_FORCE_DIAGRAM)) p->SetWindowText(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Diagram", 0));
    } else if (nResultId == PVXResult::kPlateForce || nResultId == PVXResult::kPlateStress) {
        // The plate boxes in the display group's place, the page under them.
        for (UINT id : display) barplace::ShowControl(*this, id, SW_HIDE);
        for (UINT id : {static_cast<UINT>(IDC_SHOW_BEAM), static_cast<UINT>(IDC_SHOW_COLUMN),
                        static_cast<UINT>(IDC_SHOW_TRUSS), static_cast<UINT>(IDC_ONLY_TRUSS)})
            barplace::ShowControl(*this, id, SW_HIDE);
        for (UINT id : {static_cast<UINT>(IDC_PLATE_GROUP), static_cast<UINT>(IDC_PLATE_LABEL),
                        static_cast<UINT>(IDC_SHOW_TG), static_cast<UINT>(IDC_SHOW_WALL)})
            barplace::ShowControl(*this, id, SW_SHOW);
        barplace::MoveTop(*this, IDC_BAR_PLACE_HOLDER, barplace::ControlTop(*this, IDC_ANCHOR));
    } else if (nResultId == PVXResult::kSlabForce || nResultId == PVXResult::kSlabForceBeam ||
               nResultId == PVXResult::kWallForce || nResultId == PVXResult::kWallDiagram) {
        const int nTop = barplace::ControlTop(*this, IDC_DISPLAY_GROUP);
        for (UINT id : display) barplace::ShowControl(*this, id, SW_HIDE);
        barplace::MoveTop(*this, IDC_BAR_PLACE_HOLDER, nTop);
    }
}

void CPVXBarContainerMember::LayoutChildDlg(CRect& groupRect, CRect& closeRect) {
    if (m_nCurrentTMMode == PVXResult::kBeamForce || m_nCurrentTMMode == PVXResult::kPlateForce)
        closeRect.bottom += 90;
    else if (m_nCurrentTMMode == PVXResult::kWallForce)
        closeRect.bottom += 55;
    CPVXBarContainerBase::LayoutChildDlg(groupRect, closeRect);
}

// ---- the boxes ---------------------------------------------------------------------------------

void CPVXBarContainerMember::PageModified() {
    if (CPVXBarDlgBase* pPage = GetCurrentChild()) pPage->SetModified();
}

void CPVXBarContainerMember::OnPvxBarFrameForceShowBeam() {
    if (GetSafeHwnd()) UpdateData(TRUE);
    TakeBackEngines();
    if (auto* f = dynamic_cast<CForceEngine*>(m_pCurrentEngine)) f->m_bShowBeam = m_bShowBeam;
    PageModified();
}

void CPVXBarContainerMember::OnPvxBarFrameForceShowColumn() {
    if (GetSafeHwnd()) UpdateData(TRUE);
    TakeBackEngines();
    if (auto* f = dynamic_cast<CForceEngine*>(m_pCurrentEngine)) f->m_bShowColumn = m_bShowColumn;
    PageModified();
}

void CPVXBarContainerMember::OnPvxBarFrameForceShowTruss() {
    if (GetSafeHwnd()) UpdateData(TRUE);
    TakeBackEngines();
    if (auto* f = dynamic_cast<CForceEngine*>(m_pCurrentEngine)) f->m_bShowTruss = m_bShowTruss;
    PageModified();
}

void CPVXBarContainerMember::OnPvxBarFrameForceOnlyTruss() {
    if (GetSafeHwnd()) UpdateData(TRUE);
    TakeBackEngines();
    if (auto* f = dynamic_cast<CForceEngine*>(m_pCurrentEngine)) f->m_bOnlyTruss = m_bOnlyTruss;
    PageModified();
}

void CPVXBarContainerMember::OnPvxBarPlateShowTG() {
    if (GetSafeHwnd()) UpdateData(TRUE);
    TakeBackEngines();
    if (m_nCurrentTMMode == PVXResult::kPlateForce)
        if (auto* f = dynamic_cast<CForceEngine*>(m_pCurrentEngine)) f->m_bPlateShowTG = m_bShowTG;
    if (m_nCurrentTMMode == PVXResult::kPlateStress)
        if (auto* e = dynamic_cast<CStressEngine*>(m_pCurrentEngine)) e->m_bIncludeTGirder = m_bShowTG;
    PageModified();
}

void CPVXBarContainerMember::OnPvxBarPlateShowWall() {
    if (GetSafeHwnd()) UpdateData(TRUE);
    TakeBackEngines();
    if (m_nCurrentTMMode == PVXResult::kPlateForce)
        if (auto* f = dynamic_cast<CForceEngine*>(m_pCurrentEngine)) f->m_bPlateShowWall = m_bShowWall;
    if (m_nCurrentTMMode == PVXResult::kPlateStress)
        if (auto* e = dynamic_cast<CStressEngine*>(m_pCurrentEngine)) e->m_bIncludeWall = m_bShowWall;
    PageModified();
}
