#include "module/bars/CPVXBarContainerSlabDetail.h"

#include "module/model/PVXModes.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarContainerSlabDetail, CPVXBarContainerBase)

BEGIN_MESSAGE_MAP(CPVXBarContainerSlabDetail, CPVXBarContainerBase)
    ON_CBN_SELCHANGE(IDC_BAR_COMBO, OnSelchangePageCombo)
END_MESSAGE_MAP()

namespace {
const CPVXBarContainerBase::PageRow kSlabDetailPages[] = {
    {PVXResult::kSlabWall, "CPVXBarSWall"},
    {PVXResult::kSlabStrip, "CPVXBarSStrip"},
};
const CPVXBarContainerBase::ComboRow kSlabDetailCombo[] = {
    {"IDS_TBX_PVX_SLAB_DETAIL_WALL", PVXResult::kSlabWall},
    {"IDS_TBX_PVX_SLAB_DETAIL_STRIP", PVXResult::kSlabStrip},
};
const CBarControlName kSlabDetailNames[] = {{CPVXBarContainerBase::IDC_BAR_COMBO, "page"}};
}  // namespace

CPVXBarContainerSlabDetail::CPVXBarContainerSlabDetail() : CPVXBarContainerBase(static_cast<UINT>(IDD)) {}

CPVXBarContainerSlabDetail::~CPVXBarContainerSlabDetail() = default;

const CPVXBarContainerBase::PageRow* CPVXBarContainerSlabDetail::GetPageTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kSlabDetailPages));
    return kSlabDetailPages;
}

const CPVXBarContainerBase::ComboRow* CPVXBarContainerSlabDetail::GetComboTable(int& nCount) const {
    nCount = static_cast<int>(std::size(kSlabDetailCombo));
    return kSlabDetailCombo;
}

std::vector<CBarControlName> CPVXBarContainerSlabDetail::GetControlNames() const {
    return {std::begin(kSlabDetailNames), std::end(kSlabDetailNames)};
}

void CPVXBarContainerSlabDetail::OnInitialUpdate() { InitBar(PVXResult::kSlabWall, FALSE); }

void CPVXBarContainerSlabDetail::OnChangeBarTab() { OnSelchangePageCombo(); }

void CPVXBarContainerSlabDetail::ShowChildDlgByMode(int nResultId) {
    if (IsCurrentModeSame(nResultId)) return;
    CPVXBarContainerBase::ShowChildDlgByMode(nResultId);
    if (!PreparePage(nResultId)) return;
    ShowPreparedPage(nResultId);
}

int CPVXBarContainerSlabDetail::PreparePage(int nResultId) {
    switch (nResultId) {
    case PVXResult::kSlabWall: return PrepareSWall();
    case PVXResult::kSlabStrip: return PrepareSStrip();
    default: return 0;
    }
}

int CPVXBarContainerSlabDetail::PrepareSWall() {
    const int r = PrepareForcePage(PVXResult::kSlabWall, FALSE);
    if (r) m_nCurrentMode = PVXMode::kSlabWall;
    return r;
}

int CPVXBarContainerSlabDetail::PrepareSStrip() { return PrepareForcePage(PVXResult::kSlabStrip, FALSE); }

void CPVXBarContainerSlabDetail::PrepareSDetailMode(int nResultId) {
    m_nCurrentTMMode = nResultId;
    m_nCurChildDlg = 0;
    m_nCurPage = 0;
}
