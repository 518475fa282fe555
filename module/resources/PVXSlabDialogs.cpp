// Dialog templates of the slab pages: slab force (10671), slab-beam force (16240), slab rebar
// (10675) and slab wall (16238).
//
// Every page is 150 dialog units wide, as the bars' other pages: the load group on top, then the
// page's groups, then the hidden icon button, Apply and Close. The slab force pages lay their
// groups out again as their unit or kind changes; the positions here are those of element values
// (slab force) and rib beams (slab-beam force). Captions given with the pages are the system's;
// the others are marked as our own.
#include <vector>

#include "module/bars/CPVXBarDlgBase.h"
#include "module/bars/CPVXBarSBForc.h"
#include "module/bars/CPVXBarSForc.h"
#include "module/bars/CPVXBarSRbar.h"
#include "module/bars/CPVXBarSWall.h"
#include "module/resources/PVXDialogItem.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/DialogTemplate.h"

namespace {

using pvxres::Hidden;
using pvxres::Item;
using pvxres::kNoId;

UiDlgTemplate SlabPageTemplate(UINT nID) {
    UiDlgTemplate t;
    t.nID = nID;
    t.style = WS_CHILD;
    return t;
}

// The load group with the page's load list; the load "..." button stays hidden on these pages.
void AddLoad(UiDlgTemplate& t, UINT nCombo, const char* caption) {
    t.items.push_back(Item(CPVXBarDlgBase::IDC_PAGE_LOAD_GROUP, UiCtl::Group, caption, 5, 3, 140, 32));
    t.items.push_back(Item(nCombo, UiCtl::Combo, "", 10, 15, 130, 100));
    t.items.push_back(Hidden(Item(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, UiCtl::Button, "...", 122, 15, 18, 13)));
}

// A check box at y with its "..." button (0: none).
void AddCheckRow(UiDlgTemplate& t, UINT nCheck, const char* caption, UINT nMore, int y) {
    t.items.push_back(Item(nCheck, UiCtl::Check, caption, 10, y, 100, 10));
    if (nMore) t.items.push_back(Item(nMore, UiCtl::Button, "...", 122, y - 1, 18, 11));
}

// The hidden icon button, Apply and Close at y; the page ends under them.
void AddButtons(UiDlgTemplate& t, int y) {
    t.items.push_back(Hidden(Item(CPVXBarDlgBase::IDC_PAGE_ICON, UiCtl::Button, "", 5, y, 18, 13)));
    t.items.push_back(Item(CPVXBarDlgBase::IDC_PAGE_APPLY, UiCtl::DefButton, "适用", 40, y, 50, 13));
    t.items.push_back(Item(CPVXBarDlgBase::IDC_PAGE_CLOSE, UiCtl::Button, "关闭", 95, y, 50, 13));
    t.size = CSize(pvxres::kBarWidth, y + 18);
}

UiDlgTemplate SlabForcePage() {
    using P = CPVXBarSForc;
    UiDlgTemplate t = SlabPageTemplate(P::IDD);
    AddLoad(t, P::IDC_LOAD, "荷载工况/荷载组合");
    auto& v = t.items;
    // Options: unit, and under it the averaging group (shown for element values).
    v.push_back(Item(P::IDC_OPTIONS_GROUP, UiCtl::Group, "选项", 5, 38, 140, 66));  // our own
    v.push_back(Item(P::IDC_UNIT_MEMBER, UiCtl::Radio, "构件", 10, 49, 45, 10));
    v.push_back(Item(P::IDC_UNIT_ELEMENT, UiCtl::Radio, "单元", 60, 49, 45, 10, FALSE));
    v.push_back(Hidden(Item(P::IDC_AVERAGE_GROUP, UiCtl::Group, "平均", 10, 62, 130, 38)));  // our own
    v.push_back(Hidden(Item(P::IDC_AVERAGE_ELEMENT, UiCtl::Radio, "单元", 15, 73, 40, 10)));
    v.push_back(Hidden(Item(P::IDC_AVERAGE_NODAL, UiCtl::Radio, "节点平均", 60, 73, 60, 10, FALSE)));
    v.push_back(Hidden(Item(P::IDC_ACTIVE_ONLY, UiCtl::Check, "按激活单元的节点平均", 15, 86, 120, 10)));
    // Components: three to a row in index order; the membrane forces stay hidden.
    v.push_back(Item(P::IDC_COMP_GROUP, UiCtl::Group, "内力分量", 5, 108, 140, 40));  // our own
    const UINT comps[P::kComponentCount] = {P::IDC_COMP_MXX, P::IDC_COMP_MYY, P::IDC_COMP_MXY,
                                            P::IDC_COMP_VXX, P::IDC_COMP_VYY, P::IDC_COMP_VMAX,
                                            P::IDC_COMP_FXX, P::IDC_COMP_FYY, P::IDC_COMP_FXY};
    const char* const captions[P::kComponentCount] = {"Mxx", "Myy", "Mxy", "Vxx", "Vyy", "Vmax", "Fxx", "Fyy", "Fxy"};
    for (int i = 0; i < P::kComponentCount; ++i) {
        UiDlgItem it = Item(comps[i], UiCtl::Radio, captions[i], 10 + 45 * (i % 3), 119 + 12 * (i / 3 % 2), 42, 10,
                            i == 0);
        v.push_back(i < 6 ? it : Hidden(it));
    }
    // The lower block: sides, display boxes, buttons.
    v.push_back(Item(P::IDC_SIGN_GROUP, UiCtl::Group, "正负", 5, 158, 140, 24));  // our own
    v.push_back(Item(P::IDC_POSITIVE, UiCtl::Check, "正", 10, 169, 45, 10));
    v.push_back(Item(P::IDC_NEGATIVE, UiCtl::Check, "负", 60, 169, 45, 10));
    v.push_back(Item(P::IDC_DISPLAY_GROUP, UiCtl::Group, "显示选项", 5, 186, 140, 46));  // our own
    AddCheckRow(t, P::IDC_CONTOUR, "等值线", P::IDC_CONTOUR_MORE, 197);
    AddCheckRow(t, P::IDC_VALUES, "数值", P::IDC_VALUES_MORE, 210);
    AddCheckRow(t, P::IDC_LEGEND, "图例", P::IDC_LEGEND_MORE, 223);
    AddButtons(t, 237);
    return t;
}

UiDlgTemplate SlabBeamForcePage() {
    using P = CPVXBarSBForc;
    UiDlgTemplate t = SlabPageTemplate(P::IDD);
    AddLoad(t, P::IDC_LOAD, "荷载工况/荷载组合");
    auto& v = t.items;
    v.push_back(Item(P::IDC_KIND_GROUP, UiCtl::Group, "内力", 5, 38, 140, 24));  // our own
    v.push_back(Item(P::IDC_KIND_SLAB, UiCtl::Radio, "板内力", 10, 49, 50, 10));
    v.push_back(Item(P::IDC_KIND_BEAM, UiCtl::Radio, "梁内力", 70, 49, 50, 10, FALSE));
    // The sides, shown for slab forces (placed by the page).
    v.push_back(Hidden(Item(P::IDC_SIGN_GROUP, UiCtl::Group, "正负", 5, 70, 140, 24)));  // our own
    v.push_back(Hidden(Item(P::IDC_POSITIVE, UiCtl::Check, "正", 10, 81, 45, 10)));
    v.push_back(Hidden(Item(P::IDC_NEGATIVE, UiCtl::Check, "负", 60, 81, 45, 10)));
    v.push_back(Item(P::IDC_COMP_GROUP, UiCtl::Group, "内力分量", 5, 70, 140, 24));  // our own
    v.push_back(Item(P::IDC_COMP_MOMENT, UiCtl::Radio, "弯矩", 10, 81, 50, 10));
    v.push_back(Item(P::IDC_COMP_SHEAR, UiCtl::Radio, "剪力", 70, 81, 50, 10, FALSE));
    // Fill block: its frame, the fill group (the first control without an id), the scale.
    v.push_back(Item(P::IDC_FILL_FRAME, UiCtl::Group, "图形", 5, 102, 140, 52));     // our own
    v.push_back(Item(P::IDC_FILL_GROUP, UiCtl::Group, "填充类型", 10, 110, 130, 24));
    v.push_back(Item(P::IDC_FILL_NONE, UiCtl::Radio, "无", 15, 121, 30, 10));
    v.push_back(Item(P::IDC_FILL_LINE, UiCtl::Radio, "线填充", 48, 121, 42, 10, FALSE));
    v.push_back(Item(P::IDC_FILL_FULL, UiCtl::Radio, "全填充", 93, 121, 42, 10, FALSE));
    v.push_back(Item(P::IDC_SCALE_LABEL, UiCtl::Static, "比例系数:", 12, 139, 40, 10));  // our own
    v.push_back(Item(P::IDC_SCALE, UiCtl::Edit, "", 55, 137, 50, 12));
    // Display block, with the flange width lines of the rib beams.
    v.push_back(Item(P::IDC_DISPLAY_GROUP, UiCtl::Group, "显示选项", 5, 162, 140, 72));  // our own
    AddCheckRow(t, P::IDC_CONTOUR, "等值线", P::IDC_CONTOUR_MORE, 173);
    AddCheckRow(t, P::IDC_VALUES, "数值", P::IDC_VALUES_MORE, 186);
    AddCheckRow(t, P::IDC_LEGEND, "图例", P::IDC_LEGEND_MORE, 199);
    AddCheckRow(t, P::IDC_ANIMATION, "动画", P::IDC_ANIMATION_MORE, 212);
    AddCheckRow(t, P::IDC_FLANGE, "显示翼缘宽度", 0, 225);
    // Number positions.
    v.push_back(Item(P::IDC_OUTPUT_GROUP, UiCtl::Group, "输出位置", 5, 242, 140, 38));
    v.push_back(Item(P::IDC_OUT_I, UiCtl::Check, "I端", 10, 253, 38, 10));      // our own
    v.push_back(Item(P::IDC_OUT_CENTRE, UiCtl::Check, "中间", 50, 253, 38, 10));  // our own
    v.push_back(Item(P::IDC_OUT_J, UiCtl::Check, "J端", 90, 253, 38, 10));      // our own
    v.push_back(Item(P::IDC_OUT_MAX, UiCtl::Check, "最大值", 10, 266, 38, 10));
    v.push_back(Item(P::IDC_OUT_ALL, UiCtl::Check, "全部", 50, 266, 38, 10));
    AddButtons(t, 288);
    return t;
}

UiDlgTemplate SlabRebarPage() {
    using P = CPVXBarSRbar;
    UiDlgTemplate t = SlabPageTemplate(P::IDD);
    AddLoad(t, P::IDC_LOAD, "荷载组合");
    auto& v = t.items;
    v.push_back(Item(P::IDC_OPTIONS_GROUP, UiCtl::Group, "楼板配筋选项", 5, 38, 140, 38));
    v.push_back(Item(P::IDC_UNIT_MEMBER, UiCtl::Radio, "构件", 10, 49, 45, 10));
    v.push_back(Item(P::IDC_UNIT_ELEMENT, UiCtl::Radio, "单元", 60, 49, 45, 10, FALSE));
    v.push_back(Item(P::IDC_TOP, UiCtl::Check, "板顶", 10, 62, 45, 10));
    v.push_back(Item(P::IDC_BOTTOM, UiCtl::Check, "板底", 60, 62, 45, 10));
    v.push_back(Item(P::IDC_DIR_GROUP, UiCtl::Group, "方向", 5, 80, 140, 24));  // our own
    v.push_back(Item(P::IDC_DIR_X, UiCtl::Radio, "X Dir.(Mxx)", 10, 91, 60, 10));
    v.push_back(Item(P::IDC_DIR_Y, UiCtl::Radio, "Y Dir.(Myy)", 75, 91, 60, 10, FALSE));
    v.push_back(Item(P::IDC_DISPLAY_GROUP, UiCtl::Group, "显示选项", 5, 108, 140, 46));  // our own
    AddCheckRow(t, P::IDC_CONTOUR, "等值线", P::IDC_CONTOUR_MORE, 119);
    AddCheckRow(t, P::IDC_VALUES, "数值", P::IDC_VALUES_MORE, 132);
    AddCheckRow(t, P::IDC_LEGEND, "图例", P::IDC_LEGEND_MORE, 145);
    AddButtons(t, 159);
    return t;
}

UiDlgTemplate SlabWallPage() {
    using P = CPVXBarSWall;
    UiDlgTemplate t = SlabPageTemplate(P::IDD);
    AddLoad(t, P::IDC_LOAD, "荷载工况/荷载组合");
    auto& v = t.items;
    v.push_back(Item(kNoId, UiCtl::Group, "内力分量", 5, 38, 140, 24));  // our own
    v.push_back(Item(P::IDC_COMP_MOMENT, UiCtl::Radio, "弯矩", 10, 49, 45, 10));
    v.push_back(Item(P::IDC_COMP_SHEAR, UiCtl::Radio, "剪力", 60, 49, 45, 10, FALSE));
    v.push_back(Hidden(Item(P::IDC_COMP_REBAR, UiCtl::Radio, "Rebar", 100, 49, 40, 10, FALSE)));
    v.push_back(Item(kNoId, UiCtl::Group, "墙", 5, 66, 140, 38));  // our own
    v.push_back(Item(P::IDC_WALLS_ALL, UiCtl::Radio, "所有", 10, 77, 45, 10));
    v.push_back(Item(P::IDC_WALLS_USER, UiCtl::Radio, "用户", 60, 77, 45, 10, FALSE));
    v.push_back(Item(P::IDC_WALL_LIST, UiCtl::Edit, "", 10, 89, 130, 12));
    v.push_back(Item(kNoId, UiCtl::Group, "自动生成选项", 5, 108, 140, 26));
    v.push_back(Item(kNoId, UiCtl::Static, "宽度:", 10, 120, 30, 10));  // our own
    v.push_back(Item(P::IDC_WIDTH, UiCtl::Edit, "", 42, 118, 60, 12));
    v.push_back(Item(P::IDC_WIDTH_UNIT, UiCtl::Static, "", 106, 120, 30, 10));
    v.push_back(Item(kNoId, UiCtl::Group, "显示选项", 5, 138, 140, 33));  // our own
    AddCheckRow(t, P::IDC_VALUES, "数值", P::IDC_VALUES_MORE, 149);
    AddCheckRow(t, P::IDC_LEGEND, "图例", P::IDC_LEGEND_MORE, 162);
    AddButtons(t, 176);
    return t;
}

}  // namespace

const std::vector<UiDlgTemplate>& PVXGetSlabDialogTemplates() {
    static const std::vector<UiDlgTemplate> templates = {SlabForcePage(), SlabBeamForcePage(), SlabRebarPage(),
                                                         SlabWallPage()};
    return templates;
}
