#include "module/bars/CPVXBarContainerStory.h"

#include "module/model/PVXModes.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarContainerStory, CPVXBarContainerBase)

BEGIN_MESSAGE_MAP(CPVXBarContainerStory, CPVXBarContainerBase)
    ON_CBN_SELCHANGE(IDC_BAR_COMBO, OnSelchangePageCombo)
    ON_BN_CLICKED(IDC_BAR_TABLE, OnTableButton)
END_MESSAGE_MAP()

namespace {
const CPVXBarContainerBase::PageRow kStoryPages[] = {{PVXResult::kStoryShear, "CPVXBarStrShrFrcRtio"}};
const CPVXBarContainerBase::ComboRow kStoryCombo[] = {{"IDS_TBX_PVX_Story_Shear_Force_Ratio", PVXResult::kStoryShear}};
const CBarControlName kStoryNames[] = {{CPVXBarContainerBase::IDC_BAR_COMBO, "page"}};
}  // namespace

CPVXBarContainerStory::CPVXBarContainerStory() : CPVXBarContainerBase(static_cast<UINT>(IDD)) {}

CPVXBarContainerStory::~CPVXBarContainerStory() = default;

const CPVXBarContainerBase::PageRow* CPVXBarContainerStory::GetPageTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kStoryPages));
    return kStoryPages;
}

const CPVXBarContainerBase::ComboRow* CPVXBarContainerStory::GetComboTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kStoryCombo));
    return kStoryCombo;
}

std::vector<CBarControlName> CPVXBarContainerStory::GetControlNames() const {
    return {std::begin(kStoryNames), std::end(kStoryNames)};
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
