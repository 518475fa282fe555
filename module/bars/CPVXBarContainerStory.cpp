#include "module/bars/CPVXBarContainerStory.h"

#include "module/model/PVXModes.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarContainerStory, CPVXBarContainerBase)

BEGIN_MESSAGE_MAP(CPVXBarContainerStory, CPVXBarContainerBase)
    ON_CBN_SELCHANGE(IDC_BAR_COMBO, OnSelchangePageCombo)
    ON_BN_CLICKED(IDC_BAR_TABLE, OnTableButton)
END_MESSAGE_MAP()

namespace {
const CPVXBarContainerBase::PageRow kPages[] = {{PVXResult::kStoryShear, "CPVXBarStrShrFrcRtio"}};
const CPVXBarContainerBase::ComboRow kCombo[] = {{"IDS_TBX_PVX_Story_Shear_Force_Ratio", PVXResult::kStoryShear}};
const CBarControlName kNames[] = {{CPVXBarContainerBase::IDC_BAR_COMBO, "page"}};
}  // namespace

CPVXBarContainerStory::CPVXBarContainerStory() : CPVXBarContainerBase(static_cast<UINT>(IDD)) {}

CPVXBarContainerStory::~CPVXBarContainerStory() = default;

const CPVXBarContainerBase::PageRow* CPVXBarContainerStory::GetPageTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kPages));
    return kPages;
}

const CPVXBarContainerBase::ComboRow* CPVXBarContainerStory::GetComboTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kCombo));
    return kCombo;
}

std::vector<CBarControlName> CPVXBarContainerStory::GetControlNames() const {
    return {std::begin(kNames), std::end(kNames)};
}

void CPVXBarContainerStory::OnInitialUpdate() { InitBar(PVXResult::kStoryShear, TRUE); }

void CPVXBarContainerStory::OnChangeBarTab() { OnSelchangePageCombo(); }

void CPVXBarContainerStory::ShowChildDlgByMode(int nResultId) {
    if (IsCurrentModeSame(nResultId)) return;
    CPVXBarContainerBase::ShowChildDlgByMode(nResultId);
    if (!PreparePage(nResultId)) return;
    ShowPreparedPage(nResultId);
}

int CPVXBarContainerStory::PreparePage(int nResultId) {
    return nResultId == PVXResult::kStoryShear ? PrepareStoryShearForce() : 0;
}

int CPVXBarContainerStory::PrepareStoryShearForce() { return PrepareForcePage(PVXResult::kStoryShear, TRUE); }
