// Dialog templates of the story shear page (10570) and the slab strip page (16239).
//
// Both pages are 150 dialog units wide, as the bars' other pages: the load group on top, the
// page's own groups, the display options, then the icon, Apply and Close buttons. Captions given
// with the pages are the system's; the others (group titles and labels without a given caption)
// are marked as our own.
#include <vector>

#include "module/bars/CPVXBarDlgBase.h"
#include "module/bars/CPVXBarSStrip.h"
#include "module/bars/CPVXBarStrShrFrcRtio.h"
#include "module/resources/PVXDialogItem.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/DialogTemplate.h"

namespace {

using pvxres::Hidden;
using pvxres::Item;
using pvxres::kNoId;

// Icon, Apply and Close at the bottom, and the template's size.
void Finish(UiDlgTemplate& t, int y) {
    t.items.push_back(Hidden(Item(CPVXBarDlgBase::IDC_PAGE_ICON, UiCtl::Button, "", 5, y, 18, 13)));
    t.items.push_back(Item(CPVXBarDlgBase::IDC_PAGE_APPLY, UiCtl::DefButton, "适用", 40, y, 50, 13));
    t.items.push_back(Item(CPVXBarDlgBase::IDC_PAGE_CLOSE, UiCtl::Button, "关闭", 95, y, 50, 13));
    t.size = CSize(pvxres::kBarWidth, y + 18);
}

UiDlgTemplate StoryShearPage() {
    using P = CPVXBarStrShrFrcRtio;
    UiDlgTemplate t;
    t.nID = P::IDD;
    t.style = WS_CHILD;
    t.items = {
        Item(CPVXBarDlgBase::IDC_PAGE_LOAD_GROUP, UiCtl::Group, "荷载工况", 5, 3, 140, 32),
        Item(P::IDC_LOAD, UiCtl::Combo, "", 10, 15, 130, 100),
        Item(kNoId, UiCtl::Group, "输出类型", 5, 38, 140, 26),
        Item(P::IDC_OUT_FORCE, UiCtl::Radio, "内力", 10, 50, 60, 10),
        Item(P::IDC_OUT_RATIO, UiCtl::Radio, "比值", 75, 50, 60, 10, FALSE),
        Item(kNoId, UiCtl::Group, "方向角", 5, 67, 140, 30),  // our own
        Item(P::IDC_ANGLE_STATIC, UiCtl::Combo, "", 10, 79, 60, 100),
        Item(P::IDC_ANGLE_SETTLE, UiCtl::Combo, "", 75, 79, 60, 100),
        Item(kNoId, UiCtl::Group, "显示选项", 5, 100, 140, 50),  // our own
        Item(P::IDC_CONTOUR, UiCtl::Check, "等值线", 10, 112, 100, 10),
        Item(P::IDC_CONTOUR_MORE, UiCtl::Button, "...", 122, 111, 18, 11),
        Item(P::IDC_LEGEND, UiCtl::Check, "图例", 10, 125, 100, 10),
        Item(P::IDC_LEGEND_MORE, UiCtl::Button, "...", 122, 124, 18, 11),
        Item(P::IDC_VALUES, UiCtl::Check, "数值", 10, 138, 100, 10),
        Item(P::IDC_VALUES_MORE, UiCtl::Button, "...", 122, 137, 18, 11),
    };
    Finish(t, 156);
    return t;
}

UiDlgTemplate SlabStripPage() {
    using P = CPVXBarSStrip;
    UiDlgTemplate t;
    t.nID = P::IDD;
    t.style = WS_CHILD;
    UiDlgItem list = Item(P::IDC_LIST, UiCtl::ListBox, "", 10, 154, 130, 50);
    list.style |= WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_EXTENDEDSEL;
    t.items = {
        Item(CPVXBarDlgBase::IDC_PAGE_LOAD_GROUP, UiCtl::Group, "荷载工况/荷载组合", 5, 3, 140, 32),
        Item(P::IDC_LOAD, UiCtl::Combo, "", 10, 15, 108, 100),
        Item(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, UiCtl::Button, "...", 122, 15, 18, 13),
        Item(kNoId, UiCtl::Group, "内力分量", 5, 38, 140, 26),  // our own
        Item(P::IDC_COMP_MOMENT, UiCtl::Radio, "弯矩", 10, 50, 60, 10),
        Item(P::IDC_COMP_SHEAR, UiCtl::Radio, "剪力", 75, 50, 60, 10, FALSE),
        Hidden(Item(P::IDC_COMP_HIDDEN, UiCtl::Radio, "", 75, 50, 10, 10, FALSE)),
        Item(kNoId, UiCtl::Group, "板带", 5, 67, 140, 156),  // our own
        Item(kNoId, UiCtl::Static, "宽度:", 10, 80, 28, 10),  // our own
        Item(P::IDC_WIDTH, UiCtl::Edit, "", 40, 78, 70, 12),
        Item(P::IDC_WIDTH_UNIT, UiCtl::Static, "m", 114, 80, 20, 10),
        Item(kNoId, UiCtl::Static, "名称:", 10, 95, 28, 10),  // our own
        Item(P::IDC_NAME, UiCtl::Edit, "", 40, 93, 100, 12),
        Item(kNoId, UiCtl::Static, "点1", 10, 110, 28, 10),
        Item(P::IDC_PT1, UiCtl::Edit, "", 40, 108, 100, 12),
        Item(kNoId, UiCtl::Static, "点2", 10, 125, 28, 10),
        Item(P::IDC_PT2, UiCtl::Edit, "", 40, 123, 100, 12),
        Item(P::IDC_ORTHO, UiCtl::Check, "正交", 10, 139, 40, 10),
        Item(P::IDC_ADD, UiCtl::Button, "增加", 52, 137, 28, 13),
        Item(P::IDC_EDIT, UiCtl::Button, "编辑", 82, 137, 28, 13),
        Item(P::IDC_DELETE, UiCtl::Button, "删除", 112, 137, 28, 13),
        list,
        Item(P::IDC_SHOW_WIDTH, UiCtl::Check, "显示宽度", 10, 208, 80, 10),
        Hidden(Item(P::IDC_REDRAW, UiCtl::Button, "", 120, 207, 18, 11)),
        Item(P::IDC_OPTION_GROUP, UiCtl::Group, "显示选项", 5, 226, 140, 104),  // our own
        Item(P::IDC_FILL_NONE, UiCtl::Radio, "无", 10, 238, 40, 10),
        Item(P::IDC_FILL_LINE, UiCtl::Radio, "线填充", 50, 238, 45, 10, FALSE),
        Item(P::IDC_FILL_FULL, UiCtl::Radio, "全填充", 96, 238, 45, 10, FALSE),
        Item(kNoId, UiCtl::Static, "系数:", 10, 253, 28, 10),  // our own
        Item(P::IDC_SCALE, UiCtl::Edit, "", 40, 251, 70, 12),
        Item(P::IDC_PLANE_NORMAL, UiCtl::Radio, "法向", 10, 267, 50, 10),
        Item(P::IDC_PLANE_INPLANE, UiCtl::Radio, "平面内", 60, 267, 50, 10, FALSE),
        Item(P::IDC_CONTOUR, UiCtl::Check, "等值线", 10, 281, 100, 10),
        Item(P::IDC_CONTOUR_MORE, UiCtl::Button, "...", 122, 280, 18, 11),
        Item(P::IDC_VALUES, UiCtl::Check, "数值", 10, 294, 100, 10),
        Item(P::IDC_VALUES_MORE, UiCtl::Button, "...", 122, 293, 18, 11),
        Item(P::IDC_LEGEND, UiCtl::Check, "图例", 10, 307, 100, 10),
        Item(P::IDC_LEGEND_MORE, UiCtl::Button, "...", 122, 306, 18, 11),
        Hidden(Item(P::IDC_DEFORMED, UiCtl::Check, "变形", 10, 317, 60, 10)),
        Hidden(Item(P::IDC_DEFORMED_MORE, UiCtl::Button, "...", 122, 317, 18, 11)),
        Hidden(Item(P::IDC_ANIMATION, UiCtl::Check, "动画", 10, 317, 60, 10)),
        Hidden(Item(P::IDC_ANIMATION_MORE, UiCtl::Button, "...", 122, 317, 18, 11)),
        Hidden(Item(P::IDC_UNDEFORMED, UiCtl::Check, "未变形", 10, 317, 60, 10)),
        Hidden(Item(P::IDC_METHOD_EXACT, UiCtl::Radio, "精确解", 10, 317, 50, 10)),
        Hidden(Item(P::IDC_METHOD_FIVE, UiCtl::Radio, "五点", 60, 317, 50, 10, FALSE)),
        Hidden(Item(P::IDC_UNIT_MEMBER, UiCtl::Radio, "构件", 10, 317, 50, 10)),
        Hidden(Item(P::IDC_UNIT_ELEMENT, UiCtl::Radio, "单元", 60, 317, 50, 10, FALSE)),
        Item(kNoId, UiCtl::Group, "输出位置", 5, 333, 140, 40),
        Item(P::IDC_OUT_ALL, UiCtl::Check, "全部", 10, 345, 40, 10),
        Item(P::IDC_OUT_MAX, UiCtl::Check, "最大值", 55, 345, 45, 10),
        Item(P::IDC_OUT_I, UiCtl::Check, "I端", 10, 358, 40, 10),      // our own
        Item(P::IDC_OUT_CENTRE, UiCtl::Check, "中间", 55, 358, 40, 10),  // our own
        Item(P::IDC_OUT_J, UiCtl::Check, "J端", 100, 358, 40, 10),      // our own
    };
    Finish(t, 378);
    return t;
}

}  // namespace

const std::vector<UiDlgTemplate>& PVXGetStoryStripDialogTemplates() {
    static const std::vector<UiDlgTemplate> templates = {StoryShearPage(), SlabStripPage()};
    return templates;
}
