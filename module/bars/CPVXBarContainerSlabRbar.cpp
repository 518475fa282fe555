#include "module/bars/CPVXBarContainerSlabRbar.h"

#include "module/model/PVXModes.h"

IMPLEMENT_DYNCREATE(CPVXBarContainerSlabRbar, CPVXBarContainerBase)

namespace {
const CPVXBarContainerBase::PageRow kSlabRebarPages[] = {{PVXResult::kSlabRebar, "CPVXBarSRbar"}};
}  // namespace

CPVXBarContainerSlabRbar::CPVXBarContainerSlabRbar() : CPVXBarContainerBase(static_cast<UINT>(IDD)) {}

CPVXBarContainerSlabRbar::~CPVXBarContainerSlabRbar() = default;

const CPVXBarContainerBase::PageRow* CPVXBarContainerSlabRbar::GetPageTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kSlabRebarPages));
    return kSlabRebarPages;
}

void CPVXBarContainerSlabRbar::OnInitialUpdate() {
    CFormViewInBar::OnInitialUpdate();
    BuildPages();
}

void CPVXBarContainerSlabRbar::OnChangeBarTab() { ShowChildDlgByMode(PVXResult::kSlabRebar); }

void CPVXBarContainerSlabRbar::ShowChildDlgByMode(int nResultId) {
    if (IsCurrentModeSame(nResultId)) return;
    CPVXBarContainerBase::ShowChildDlgByMode(nResultId);
    if (!PreparePage(nResultId)) return;
    ShowPreparedPage(nResultId);
}

int CPVXBarContainerSlabRbar::PreparePage(int nResultId) {
    return nResultId == PVXResult::kSlabRebar ? PrepareSRbar() : 0;
}

int CPVXBarContainerSlabRbar::PrepareSRbar() {
    const int r = PrepareForcePage(PVXResult::kSlabRebar, TRUE);
    if (r && GetSafeHwnd()) UpdateData(FALSE);
    return r;
}
