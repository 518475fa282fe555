#include "module/bars/CPVXBarContainerSlabForc.h"

#include "module/model/PVXModes.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarContainerSlabForc, CPVXBarContainerBase)

BEGIN_MESSAGE_MAP(CPVXBarContainerSlabForc, CPVXBarContainerBase)
    ON_CBN_SELCHANGE(IDC_BAR_COMBO, OnSelchangePageCombo)
END_MESSAGE_MAP()

namespace {
const CPVXBarContainerBase::PageRow kPages[] = {
    {PVXResult::kSlabForce, "CPVXBarSForc"},
    {PVXResult::kSlabForceBeam, "CPVXBarSBForc"},
};
const CPVXBarContainerBase::ComboRow kCombo[] = {
    {"IDS_TBX_PVX_SLAB_FORCE", PVXResult::kSlabForce},
    {"IDS_TBX_PVX_SLAB_FORCE_BEAM", PVXResult::kSlabForceBeam},
};
const CBarControlName kNames[] = {{CPVXBarContainerBase::IDC_BAR_COMBO, "page"}};
}  // namespace

CPVXBarContainerSlabForc::CPVXBarContainerSlabForc() : CPVXBarContainerBase(static_cast<UINT>(IDD)) {}

CPVXBarContainerSlabForc::~CPVXBarContainerSlabForc() = default;

const CPVXBarContainerBase::PageRow* CPVXBarContainerSlabForc::GetPageTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kPages));
    return kPages;
}

const CPVXBarContainerBase::ComboRow* CPVXBarContainerSlabForc::GetComboTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kCombo));
    return kCombo;
}

std::vector<CBarControlName> CPVXBarContainerSlabForc::GetControlNames() const {
    return {std::begin(kNames), std::end(kNames)};
}

void CPVXBarContainerSlabForc::OnInitialUpdate() { InitBar(PVXResult::kSlabForce, FALSE); }

void CPVXBarContainerSlabForc::OnChangeBarTab() { ShowChildDlgByMode(PVXResult::kSlabForce); }

void CPVXBarContainerSlabForc::ShowChildDlgByMode(int nResultId) {
    if (IsCurrentModeSame(nResultId)) return;
    CPVXBarContainerBase::ShowChildDlgByMode(nResultId);
    if (!PreparePage(nResultId)) return;
    ShowPreparedPage(nResultId);
}

int CPVXBarContainerSlabForc::PreparePage(int nResultId) {
    switch (nResultId) {
    case PVXResult::kSlabForce: return PrepareSForce();
    case PVXResult::kSlabForceBeam: return PrepareSBForce();
    default: return 0;
    }
}

int CPVXBarContainerSlabForc::PrepareSForce() {
    const int r = PrepareForcePage(PVXResult::kSlabForce, TRUE);
    if (r && GetSafeHwnd()) UpdateData(FALSE);
    return r;
}

int CPVXBarContainerSlabForc::PrepareSBForce() {
    const int r = PrepareForcePage(PVXResult::kSlabForceBeam, TRUE);
    if (r && GetSafeHwnd()) UpdateData(FALSE);
    return r;
}
