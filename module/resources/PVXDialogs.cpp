// The dialog templates of the results module. A dialog that is built from a template of the
// module adds its template to this list; the list is registered when the module loads. (The
// contour and legend dialogs register theirs in PVXContourDialogs.cpp.)
#include "module/engines/CCutlineGraphDetDlg.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "module/resources/PVXDialogItem.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/DialogTemplate.h"

namespace {

using pvxres::Dialog;
using pvxres::Item;
using pvxres::kNoId;

UiDlgTemplate CutLineDetailTemplate() {
    UiDlgTemplate t = Dialog(IDD_PVX_CUTLINE_DETAIL, "楼板剖断面内力图形详细", 130, 219);
    UiDlgItem list = Item(IDC_CUT_LIST, UiCtl::ListBox, "", 7, 19, 116, 48);
    list.style |= WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    UiDlgItem color = Item(IDC_CUT_COLOR, UiCtl::Button, "CW", 104, 160, 14, 12);
    color.style = (color.style & ~static_cast<DWORD>(BS_PUSHBUTTON)) | BS_OWNERDRAW;
    t.items = {
        Item(IDC_CUT_LIST_LABEL, UiCtl::Static, "定义剖断面位置：", 7, 7, 116, 10),
        list,
        Item(IDC_CUT_ADD, UiCtl::Button, "添加", 7, 71, 36, 14),
        Item(IDC_CUT_DELETE, UiCtl::Button, "删除", 47, 71, 36, 14),
        Item(IDC_CUT_EDIT, UiCtl::Button, "编辑", 87, 71, 36, 14),
        Item(IDC_CUT_POS_GROUP, UiCtl::Group, "剖断面位置", 7, 89, 116, 57),
        Item(IDC_CUT_NAME_LABEL, UiCtl::Static, "名称：", 12, 102, 26, 10),
        Item(IDC_CUT_NAME, UiCtl::Edit, "", 40, 100, 78, 12),
        Item(IDC_CUT_PT1_LABEL, UiCtl::Static, "点1:", 12, 117, 26, 10),
        Item(IDC_CUT_PT1, UiCtl::Edit, "", 40, 115, 78, 12),
        Item(IDC_CUT_PT2_LABEL, UiCtl::Static, "点2:", 12, 132, 26, 10),
        Item(IDC_CUT_PT2, UiCtl::Edit, "", 40, 130, 78, 12),
        Item(IDC_CUT_OPT_GROUP, UiCtl::Group, "选项", 7, 149, 116, 64),
        Item(IDC_CUT_NORMAL, UiCtl::Radio, "法向", 12, 161, 40, 10),
        Item(IDC_CUT_INPLANE, UiCtl::Radio, "平面内", 56, 161, 44, 10, FALSE),
        color,
        Item(kNoId, UiCtl::Static, "系数：", 12, 176, 26, 10),
        Item(IDC_CUT_FACTOR, UiCtl::Edit, "", 40, 174, 40, 12),
        Item(IDC_CUT_GRAPH, UiCtl::Check, "图形", 12, 189, 36, 10),
        Item(IDC_CUT_GRAPH_MORE, UiCtl::Button, "...", 50, 188, 16, 12),
        Item(IDC_CUT_VALUES, UiCtl::Check, "输出数值", 12, 201, 50, 10),
        Item(IDC_CUT_MINMAX, UiCtl::Check, "仅最小和最大", 64, 201, 56, 10),
    };
    return t;
}

UiDlgTemplate CutLineGraphTemplate() {
    UiDlgTemplate t = Dialog(IDD_PVX_CUTLINE_GRAPH, "楼板剖断面内力图形", 119, 137);
    t.items = {
        Item(kNoId, UiCtl::Group, "画图形", 7, 7, 105, 40),
        Item(IDC_CUTG_PER_ELEMENT, UiCtl::Radio, "每个单元", 14, 19, 90, 10),
        Item(IDC_CUTG_ONLY_ONE, UiCtl::Radio, "只画一个", 14, 31, 90, 10, FALSE),
        Item(kNoId, UiCtl::Group, "X轴", 7, 51, 105, 62),
        Item(IDC_CUTG_X_DISTANCE, UiCtl::Radio, "距第一点距离", 14, 63, 94, 10),
        Item(IDC_CUTG_X_GLOBAL_X, UiCtl::Radio, "整体坐标系X坐标", 14, 75, 94, 10, FALSE),
        Item(IDC_CUTG_X_GLOBAL_Y, UiCtl::Radio, "整体坐标系Y坐标", 14, 87, 94, 10, FALSE),
        Item(IDC_CUTG_X_GLOBAL_Z, UiCtl::Radio, "整体坐标系Z坐标", 14, 99, 94, 10, FALSE),
        Item(IDOK, UiCtl::DefButton, "确认", 14, 117, 40, 14),
        Item(IDCANCEL, UiCtl::Button, "取消", 65, 117, 40, 14),
    };
    return t;
}

}  // namespace

const std::vector<UiDlgTemplate>& PVXGetDialogTemplates() {
    static const std::vector<UiDlgTemplate> templates = [] {
        std::vector<UiDlgTemplate> all = PVXGetBarDialogTemplates();
        for (const UiDlgTemplate& t : PVXGetWallPlateDialogTemplates()) all.push_back(t);
        for (const UiDlgTemplate& t : PVXGetStoryStripDialogTemplates()) all.push_back(t);
        for (const UiDlgTemplate& t : PVXGetDeformFrameDialogTemplates()) all.push_back(t);
        for (const UiDlgTemplate& t : PVXGetSlabDialogTemplates()) all.push_back(t);
        for (const UiDlgTemplate& t : PVXGetDampingDialogTemplates()) all.push_back(t);
        for (const UiDlgTemplate& t : PVXGetAnimationDialogTemplates()) all.push_back(t);
        for (const UiDlgTemplate& t : PVXGetFigurePanelDialogTemplates()) all.push_back(t);
        all.push_back(CutLineDetailTemplate());
        all.push_back(CutLineGraphTemplate());
        all.push_back(PVXGetGraphPropertyTemplate());
        return all;
    }();
    return templates;
}
