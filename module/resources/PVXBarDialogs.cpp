// Dialog templates of the docked result bars (the containers; their pages bring their own).
//
// Every container is 150 dialog units wide: the page combo and the result table button "..."
// on top, the place holder (where the page shows) below them. The member and system containers
// put their display or type group between the two; the place holder moves under or over it as
// the container shows a result (MovePlaceHolderShowControl). Captions of our own are marked
// here; the others are the system's.
#include <vector>

#include "module/bars/CPVXBarContainer.h"
#include "module/bars/CPVXBarContainerMember.h"
#include "module/bars/CPVXBarContainerReac.h"
#include "module/bars/CPVXBarContainerSlabDetail.h"
#include "module/bars/CPVXBarContainerSlabForc.h"
#include "module/bars/CPVXBarContainerSlabRbar.h"
#include "module/bars/CPVXBarContainerStory.h"
#include "module/bars/CPVXBarContainerSystem.h"
#include "module/bars/CPVXBarRContr.h"
#include "module/bars/CPVXBarReacf.h"
#include "module/resources/PVXDialogItem.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/DialogTemplate.h"

namespace {

using pvxres::Hidden;
using pvxres::Item;

constexpr int kHolderHeight = 200;

// Combo, table button and place holder at the given top; bCombo FALSE leaves out the first two.
void AddCommon(UiDlgTemplate& t, int nHolderTop, BOOL bCombo = TRUE) {
    if (bCombo) {
        t.items.push_back(Item(CPVXBarContainerBase::IDC_BAR_COMBO, UiCtl::Combo, "", 5, 5, 118, 100));
        t.items.push_back(Item(CPVXBarContainerBase::IDC_BAR_TABLE, UiCtl::Button, "...", 127, 5, 18, 13));
    }
    t.items.push_back(Item(CPVXBarContainerBase::IDC_BAR_PLACE_HOLDER, UiCtl::Static, "Place Holder", 0, nHolderTop,
                           pvxres::kBarWidth, kHolderHeight));
}

UiDlgTemplate Bar(UINT nID) {
    UiDlgTemplate t;
    t.nID = nID;
    t.size = CSize(pvxres::kBarWidth, 240);
    t.style = WS_CHILD;
    return t;
}

UiDlgTemplate PlainBar() {
    UiDlgTemplate t = Bar(CPVXBarContainer::IDD);
    AddCommon(t, 22);
    t.items.push_back(Item(CPVXBarContainerBase::IDC_BAR_APPLY, UiCtl::DefButton, "适用", 40, 224, 50, 13));
    t.items.push_back(Item(CPVXBarContainerBase::IDC_BAR_CLOSE, UiCtl::Button, "关闭", 95, 224, 50, 13));
    return t;
}

UiDlgTemplate SystemBar() {
    UiDlgTemplate t = Bar(CPVXBarContainerSystem::IDD);
    AddCommon(t, 52);
    // Captions of our own.
    t.items.push_back(Item(CPVXBarContainerSystem::IDC_TYPE_GROUP, UiCtl::Group, "显示类型", 5, 21, 140, 27));
    t.items.push_back(Item(CPVXBarContainerSystem::IDC_TYPE_SHAPE, UiCtl::Radio, "变形图", 10, 32, 40, 10));
    t.items.push_back(Item(CPVXBarContainerSystem::IDC_TYPE_CONTOUR, UiCtl::Radio, "位移等值线", 52, 32, 52, 10, FALSE));
    t.items.push_back(Item(CPVXBarContainerSystem::IDC_TYPE_QUERY, UiCtl::Radio, "位移查询", 106, 32, 38, 10, FALSE));
    t.items.push_back(Item(CPVXBarContainerSystem::IDC_ANCHOR, UiCtl::Static, "", 0, 52, pvxres::kBarWidth, 4));
    return t;
}

UiDlgTemplate MemberBar() {
    using M = CPVXBarContainerMember;
    UiDlgTemplate t = Bar(M::IDD);
    AddCommon(t, 66);
    // Captions of our own, except the radios', which the container sets from the string table.
    t.items.push_back(Item(M::IDC_DISPLAY_GROUP, UiCtl::Group, "内力显示", 5, 21, 140, 42));
    t.items.push_back(Item(M::IDC_FORCE_CONTOUR, UiCtl::Radio, "等值线", 10, 31, 50, 10));
    t.items.push_back(Item(M::IDC_FORCE_DIAGRAM, UiCtl::Radio, "内力图", 62, 31, 50, 10, FALSE));
    t.items.push_back(Item(M::IDC_SHOW_BEAM, UiCtl::Check, "梁", 10, 46, 26, 10));
    t.items.push_back(Item(M::IDC_SHOW_COLUMN, UiCtl::Check, "柱", 38, 46, 26, 10));
    t.items.push_back(Item(M::IDC_SHOW_TRUSS, UiCtl::Check, "支撑", 66, 46, 30, 10));
    t.items.push_back(Item(M::IDC_ONLY_TRUSS, UiCtl::Check, "仅桁架", 98, 46, 44, 10));
    t.items.push_back(Hidden(Item(M::IDC_PLATE_GROUP, UiCtl::Group, "板单元", 5, 21, 140, 42)));
    t.items.push_back(Hidden(Item(M::IDC_PLATE_LABEL, UiCtl::Static, "包括:", 10, 33, 30, 10)));
    t.items.push_back(Hidden(Item(M::IDC_SHOW_TG, UiCtl::Check, "转换梁", 42, 32, 45, 10)));
    t.items.push_back(Hidden(Item(M::IDC_SHOW_WALL, UiCtl::Check, "墙", 90, 32, 40, 10)));
    t.items.push_back(Item(M::IDC_ANCHOR, UiCtl::Static, "", 0, 66, pvxres::kBarWidth, 4));
    return t;
}

// A reaction page: load group, display group, the hidden component radios and the page's own
// controls (the contour page: member type; the reaction page: arrow factor and node edit).
template <class Page>
UiDlgTemplate ReacPage(BOOL bContourPage) {
    UiDlgTemplate t;
    t.nID = Page::IDD;
    t.size = CSize(pvxres::kBarWidth, bContourPage ? 150 : 170);
    t.style = WS_CHILD;
    auto& v = t.items;
    v.push_back(Item(CPVXBarDlgBase::IDC_PAGE_LOAD_GROUP, UiCtl::Group, "荷载工况/荷载组合", 5, 3, 140, 32));
    v.push_back(Item(Page::IDC_LOAD, UiCtl::Combo, "", 10, 15, 108, 100));
    v.push_back(Item(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, UiCtl::Button, "...", 122, 15, 18, 13));
    v.push_back(Item(0, UiCtl::Group, "显示选项", 5, 38, 140, 52));
    v.push_back(Item(Page::IDC_CONTOUR, UiCtl::Check, "等值线", 10, 49, 100, 10));
    v.push_back(Item(Page::IDC_CONTOUR_MORE, UiCtl::Button, "...", 122, 48, 18, 11));
    v.push_back(Item(Page::IDC_LEGEND, UiCtl::Check, "图例", 10, 62, 100, 10));
    v.push_back(Item(Page::IDC_LEGEND_MORE, UiCtl::Button, "...", 122, 61, 18, 11));
    v.push_back(Item(Page::IDC_VALUES, UiCtl::Check, "数值", 10, 75, 100, 10));
    v.push_back(Item(Page::IDC_VALUES_MORE, UiCtl::Button, "...", 122, 74, 18, 11));
    static const char* const kComp[] = {"FX", "FY", "FZ", "FXYZ", "MX", "MY", "MZ", "MXYZ"};
    for (UINT i = 0; i < 8; ++i)
        v.push_back(Hidden(Item(CPVXBarReacPage::IDC_REAC_FX + i, UiCtl::Radio, kComp[i], 10, 0, 30, 10, i == 0)));
    int y = 94;
    if (bContourPage) {
        v.push_back(Hidden(Item(Page::IDC_SCALE, UiCtl::Edit, "", 10, 0, 40, 12)));
        v.push_back(Item(0, UiCtl::Group, "构件类型", 5, y, 140, 26));
        v.push_back(Item(CPVXBarRContr::IDC_MEMB_RAFT, UiCtl::Radio, "筏板", 10, y + 11, 50, 10, TRUE));
        v.push_back(Item(CPVXBarRContr::IDC_MEMB_BEAM, UiCtl::Radio, "梁", 70, y + 11, 50, 10, FALSE));
        y += 30;
    } else {
        v.push_back(Item(0, UiCtl::Static, "箭头尺寸系数：", 10, y + 2, 60, 10));
        v.push_back(Item(Page::IDC_SCALE, UiCtl::Edit, "", 75, y, 50, 12));
        y += 16;
        v.push_back(Item(0, UiCtl::Group, "点取节点", 5, y, 140, 26));
        v.push_back(Item(0, UiCtl::Static, "节点号：", 10, y + 12, 40, 10));
        v.push_back(Item(CPVXBarReacPage::IDC_REAC_NODE, UiCtl::Edit, "", 55, y + 10, 70, 12));
        y += 30;
    }
    v.push_back(Hidden(Item(CPVXBarDlgBase::IDC_PAGE_ICON, UiCtl::Button, "", 5, y, 18, 13)));
    v.push_back(Item(CPVXBarDlgBase::IDC_PAGE_APPLY, UiCtl::DefButton, "适用", 40, y, 50, 13));
    v.push_back(Item(CPVXBarDlgBase::IDC_PAGE_CLOSE, UiCtl::Button, "关闭", 95, y, 50, 13));
    return t;
}

std::vector<UiDlgTemplate> MakeTemplates() {
    std::vector<UiDlgTemplate> out;
    out.push_back(PlainBar());
    out.push_back(SystemBar());
    out.push_back(MemberBar());
    UiDlgTemplate reac = Bar(CPVXBarContainerReac::IDD);
    AddCommon(reac, 22);
    out.push_back(reac);
    out.push_back(ReacPage<CPVXBarReacf>(FALSE));
    out.push_back(ReacPage<CPVXBarRContr>(TRUE));
    UiDlgTemplate story = Bar(CPVXBarContainerStory::IDD);
    AddCommon(story, 22);
    out.push_back(story);
    UiDlgTemplate slab = Bar(CPVXBarContainerSlabForc::IDD);
    AddCommon(slab, 22);
    out.push_back(slab);
    UiDlgTemplate rebar = Bar(CPVXBarContainerSlabRbar::IDD);
    AddCommon(rebar, 0, FALSE);
    out.push_back(rebar);
    UiDlgTemplate detail = Bar(CPVXBarContainerSlabDetail::IDD);
    AddCommon(detail, 22);
    out.push_back(detail);
    return out;
}

}  // namespace

const std::vector<UiDlgTemplate>& PVXGetBarDialogTemplates() {
    static const std::vector<UiDlgTemplate> templates = MakeTemplates();
    return templates;
}
