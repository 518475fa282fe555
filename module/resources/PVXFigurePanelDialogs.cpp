// Dialog templates of the figure panel (16215) and its pages VIEW (10622), DISPLAY (16216),
// LOADCASE (16236) and TEXT (16233), and of the owner-type selector (16245). Tahoma 9 in the
// original; the headless dialogs take the template sizes in dialog units as they stand.
#include <vector>

#include "module/figures/CFigureDetailPages.h"
#include "module/resources/PVXDialogItem.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/DialogTemplate.h"

namespace {

using pvxres::Item;
using pvxres::kNoId;

UiDlgTemplate PanelTemplate() {
    UiDlgTemplate t = pvxres::Dialog(IDD_FIGURE_DETAIL_TAB, "图形数据", 150, 200);
    t.items = {Item(IDC_FIGURE_DETAIL_TAB, UiCtl::Tab, "", 2, 2, 146, 196)};
    return t;
}

// A page of one labelled owner-drawn list box (VIEW's base maps, LOADCASE's load cases).
UiDlgTemplate ListPageTemplate(UINT nID, UINT nLabel, const char* label, UINT nList) {
    UiDlgTemplate t = pvxres::Dialog(nID, "", 140, 170);
    UiDlgItem list = Item(nList, UiCtl::ListBox, "", 5, 17, 130, 148);
    list.style |= WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    t.items = {Item(nLabel, UiCtl::Static, label, 5, 5, 130, 10), list};
    return t;
}

UiDlgTemplate ViewTemplate() {
    return ListPageTemplate(IDD_FIGURE_DETAIL_VIEW, IDC_FIGURE_BASEMAP_LABEL, "底图", IDC_FIGURE_BASEMAP_LIST);
}

UiDlgTemplate DisplayTemplate() {
    UiDlgTemplate t = pvxres::Dialog(IDD_FIGURE_DETAIL_DISPLAY, "", 140, 170);
    t.items = {
        Item(kNoId, UiCtl::Static, "总的绘图比例", 5, 7, 60, 10),
        Item(IDC_FIGURE_DRAW_SCALE, UiCtl::Edit, "", 70, 5, 65, 12),
        Item(kNoId, UiCtl::Static, "数值绘图比例", 5, 23, 60, 10),
        Item(IDC_FIGURE_VALUE_SCALE, UiCtl::Edit, "", 70, 21, 65, 12),
        Item(kNoId, UiCtl::Static, "数值精度", 5, 39, 60, 10),
        Item(IDC_FIGURE_PRECISION, UiCtl::Edit, "", 70, 37, 65, 12),
        Item(IDC_FIGURE_VALUES, UiCtl::Check, "数值显示", 5, 55, 130, 10),
        Item(IDC_FIGURE_APPLY, UiCtl::Button, "适用", 5, 72, 62, 14),
        Item(IDC_FIGURE_TEXTSTYLE, UiCtl::Button, "文字样式", 73, 72, 62, 14),
        Item(IDC_FIGURE_LAYER, UiCtl::Button, "图层", 5, 90, 62, 14),
        Item(IDC_FIGURE_EXPORT, UiCtl::Button, "导出...", 73, 90, 62, 14),
        Item(IDC_FIGURE_CONTOUR, UiCtl::Button, "等高线参数", 5, 108, 130, 14),
        pvxres::Hidden(Item(IDC_FIGURE_OPTIONS, UiCtl::Button, "选项", 5, 126, 62, 14)),
    };
    return t;
}

UiDlgTemplate LoadCaseTemplate() {
    return ListPageTemplate(IDD_FIGURE_DETAIL_LOADCASE, IDC_FIGURE_LIST_LABEL, "荷载组合列表", IDC_FIGURE_LOADCASE_LIST);
}

UiDlgTemplate TextTemplate() {
    UiDlgTemplate t = pvxres::Dialog(IDD_FIGURE_DETAIL_TEXT, "", 140, 170);
    t.items = {Item(IDC_FIGURE_LIST_LABEL, UiCtl::Static, "Text List", 5, 5, 130, 10),
               Item(IDC_FIGURE_TEXT_LIST, UiCtl::ListCtrl, "", 5, 17, 130, 148)};
    return t;
}

UiDlgTemplate OwnerTypeTemplate() {
    UiDlgTemplate t = pvxres::Dialog(IDD_FIGURE_OWNER_TYPE, "", 150, 14);
    UiDlgItem combo = Item(IDC_FIGURE_OWNER_COMBO, UiCtl::Combo, "", 0, 0, 150, 120);
    t.items = {combo};
    return t;
}

}  // namespace

const std::vector<UiDlgTemplate>& PVXGetFigurePanelDialogTemplates() {
    static const std::vector<UiDlgTemplate> templates = {PanelTemplate(),    ViewTemplate(), DisplayTemplate(),
                                                         LoadCaseTemplate(), TextTemplate(), OwnerTypeTemplate()};
    return templates;
}
