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
#include "module/resources/PVXResources.h"
#include "platform/ui/DialogTemplate.h"

namespace {

constexpr int kWidth = 150;       // dialog units: 225 pixels, the bars' scroll width
constexpr int kHolderHeight = 200;

UiDlgItem Item(UINT nID, UiCtl kind, const char* caption, int x, int y, int cx, int cy, BOOL bGroupStart = TRUE) {
    UiDlgItem it;
    it.nID = nID;
    it.kind = kind;
    it.caption = caption;
    it.rect = CRect(x, y, x + cx, y + cy);
    DWORD s = WS_VISIBLE;
    switch (kind) {
    case UiCtl::Button: s |= WS_TABSTOP | BS_PUSHBUTTON; break;
    case UiCtl::DefButton: s |= WS_TABSTOP | BS_DEFPUSHBUTTON; break;
    case UiCtl::Check: s |= WS_TABSTOP | BS_AUTOCHECKBOX; break;
    case UiCtl::Radio: s |= BS_AUTORADIOBUTTON | (bGroupStart ? WS_TABSTOP : 0); break;
    case UiCtl::Group: s |= BS_GROUPBOX; break;
    case UiCtl::Static: s |= SS_LEFT; break;
    case UiCtl::Combo: s |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST; break;
    default: break;
    }
    if (bGroupStart) s |= WS_GROUP;
    it.style = s;
    return it;
}

UiDlgItem Hidden(UiDlgItem it) {
    it.bHidden = TRUE;
    it.style &= ~static_cast<DWORD>(WS_VISIBLE);
    return it;
}

// Combo, table button and place holder at the given top; bCombo FALSE leaves out the first two.
void AddCommon(UiDlgTemplate& t, int nHolderTop, BOOL bCombo = TRUE) {
    if (bCombo) {
        t.items.push_back(Item(CPVXBarContainerBase::IDC_BAR_COMBO, UiCtl::Combo, "", 5, 5, 118, 100));
        t.items.push_back(Item(CPVXBarContainerBase::IDC_BAR_TABLE, UiCtl::Button, "...", 127, 5, 18, 13));
    }
    t.items.push_back(Item(CPVXBarContainerBase::IDC_BAR_PLACE_HOLDER, UiCtl::Static, "Place Holder", 0, nHolderTop,
                           kWidth, kHolderHeight));
}

UiDlgTemplate Bar(UINT nID) {
    UiDlgTemplate t;
    t.nID = nID;
    t.size = CSize(kWidth, 240);
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
    t.items.push_back(Item(CPVXBarContainerSystem::IDC_ANCHOR, UiCtl::Static, "", 0, 52, kWidth, 4));
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
    t.items.push_back(Item(M::IDC_ANCHOR, UiCtl::Static, "", 0, 66, kWidth, 4));
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
