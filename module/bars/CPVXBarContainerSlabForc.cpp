#include "module/bars/CPVXBarContainerSlabForc.h"

#include "module/model/PVXModes.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarContainerSlabForc, CPVXBarContainerBase)

BEGIN_MESSAGE_MAP(CPVXBarContainerSlabForc, CPVXBarContainerBase)
    ON_CBN_SELCHANGE(IDC_BAR_COMBO, OnSelchangePageCombo)
END_MESSAGE_MAP()

namespace {
const CPVXBarContainerBase::PageRow kSlabForcePages[] = {
    {PVXResult::kSlabForce, "CPVXBarSForc"},
    {PVXResult::kSlabForceBeam, "CPVXBarSBForc"},
};
const CPVXBarContainerBase::ComboRow kSlabForceCombo[] = {
    {"IDS_TBX_PVX_SLAB_FORCE", PVXResult::kSlabForce},
    {"IDS_TBX_PVX_SLAB_FORCE_BEAM", PVXResult::kSlabForceBeam},
};
const CBarControlName kSlabForceNames[] = {{CPVXBarContainerBase::IDC_BAR_COMBO, "page"}};
}  // namespace

CPVXBarContainerSlabForc::CPVXBarContainerSlabForc() : CPVXBarContainerBase(static_cast<UINT>(IDD)) {}

CPVXBarContainerSlabForc::~CPVXBarContainerSlabForc() = default;

const CPVXBarContainerBase::PageRow* CPVXBarContainerSlabForc::GetPageTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kSlabForcePages));
    return kSlabForcePages;
}

const CPVXBarContainerBase::ComboRow* CPVXBarContainerSlabForc::GetComboTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kSlabForceCombo));
    return kSlabForceCombo;
}

std::vector<CBarControlName> CPVXBarContainerSlabForc::GetControlNames() const {
    return {std::begin(kSlabForceNames), std::end(kSlabForceNames)};
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
