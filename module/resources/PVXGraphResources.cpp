// The graph view's resources: its right-click menu "Graph Menu" and the graph property dialog.
#include "module/graphs/CPVXMultiGraphView.h"
#include "module/resources/PVXDialogItem.h"
#include "module/resources/PVXResources.h"

std::vector<UiMenuTemplateItem> PVXGetGraphMenu() {
    return {UiMenuTemplateItem{"Graph Menu", 0, MF_POPUP,
                               {UiMenuTemplateItem{"修改特性", CPVXMultiGraphView::kCmdProperty, 0, {}},
                                UiMenuTemplateItem{"保存为图形文件", CPVXMultiGraphView::kCmdSaveAs, 0, {}}}}};
}

UiDlgTemplate PVXGetGraphPropertyTemplate() {
    using pvxres::Item;
    using pvxres::kNoId;
    UiDlgTemplate t = pvxres::Dialog(CPVX2DGraphDlg::IDD, "修改图形特性", 196, 86);
    t.items = {
        Item(kNoId, UiCtl::Static, "图形标题：", 7, 9, 70, 10),
        Item(CPVX2DGraphDlg::kTitleEdit, UiCtl::Edit, "", 80, 7, 109, 12),
        Item(kNoId, UiCtl::Static, "X轴标签(下部)", 7, 27, 70, 10),
        Item(CPVX2DGraphDlg::kXLabelEdit, UiCtl::Edit, "", 80, 25, 109, 12),
        Item(kNoId, UiCtl::Static, "X轴刻度范围系数(1 to 100)：", 7, 45, 110, 10),
        Item(CPVX2DGraphDlg::kScaleEdit, UiCtl::Edit, "", 120, 43, 50, 12),
        Item(kNoId, UiCtl::Static, "(%)", 174, 45, 15, 10),
        Item(IDOK, UiCtl::DefButton, "确认", 46, 65, 50, 14),
        Item(IDCANCEL, UiCtl::Button, "取消", 102, 65, 50, 14),
    };
    return t;
}
