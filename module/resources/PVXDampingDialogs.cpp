// Dialog templates of the Rayleigh damping dialog (10500) and its chart range dialog (10506).
//
// The damping dialog: the chart frame on the left, the checks, the two modes, the coefficients
// and the buttons on the right, the modal table below. Captions and labels are our own except
// the range dialog's, which are the system's.
#include <vector>

#include "module/graphs/CPVXGrphRangeDlg.h"
#include "module/graphs/CPVXModalDampDlg.h"
#include "module/resources/PVXDialogItem.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/DialogTemplate.h"

namespace {

using pvxres::Item;
using pvxres::kNoId;

UiDlgTemplate ModalDampTemplate() {
    UiDlgTemplate t = pvxres::Dialog(IDD_PVX_MODAL_DAMP, "振型阻尼 (Rayleigh阻尼)", 560, 400);
    constexpr int kL = 415, kE = 455, kW = 98;  // label and edit columns of the right side
    t.items = {
        Item(IDC_PVX_MDR_CHART, UiCtl::Static, "", 7, 7, 400, 250),
        Item(IDC_PVX_MDR_MASSPROP, UiCtl::Check, "质量比例 (α)", kL, 7, 138, 10),
        Item(IDC_PVX_MDR_STIFFPROP, UiCtl::Check, "刚度比例 (β)", kL, 20, 138, 10),
        Item(kNoId, UiCtl::Static, "振型1", kL, 38, 38, 10),
        Item(IDC_PVX_MDR_MODE1_CBX, UiCtl::Combo, "", kE, 36, kW, 80),
        Item(kNoId, UiCtl::Static, "频率", kL, 53, 38, 10),
        Item(IDC_PVX_MDR_FREQ1, UiCtl::Edit, "", kE, 51, kW, 12),
        Item(kNoId, UiCtl::Static, "阻尼比", kL, 68, 38, 10),
        Item(IDC_PVX_MDR_DAMP1, UiCtl::Edit, "", kE, 66, kW, 12),
        Item(kNoId, UiCtl::Static, "振型2", kL, 88, 38, 10),
        Item(IDC_PVX_MDR_MODE2_CBX, UiCtl::Combo, "", kE, 86, kW, 80),
        Item(kNoId, UiCtl::Static, "频率", kL, 103, 38, 10),
        Item(IDC_PVX_MDR_FREQ2, UiCtl::Edit, "", kE, 101, kW, 12),
        Item(kNoId, UiCtl::Static, "阻尼比", kL, 118, 38, 10),
        Item(IDC_PVX_MDR_DAMP2, UiCtl::Edit, "", kE, 116, kW, 12),
        Item(IDC_PVX_MDR_CALCAB, UiCtl::Button, "计算 α, β", kL, 136, 138, 14),
        Item(kNoId, UiCtl::Static, "α", kL, 157, 38, 10),
        Item(IDC_PVX_MDR_ALPHA, UiCtl::Edit, "", kE, 155, kW, 12),
        Item(kNoId, UiCtl::Static, "β", kL, 172, 38, 10),
        Item(IDC_PVX_MDR_BETA, UiCtl::Edit, "", kE, 170, kW, 12),
        Item(IDC_PVX_MDR_GRPHRANGE, UiCtl::Button, "图形范围...", kL, 192, 138, 14),
        Item(IDC_PVX_MDR_CALCPLOT, UiCtl::Button, "绘图", kL, 210, 138, 14),
        Item(IDCANCEL, UiCtl::Button, "关闭", kL, 243, 138, 14),
        Item(IDC_PVX_MDR_TABLE, UiCtl::Static, "", 7, 264, 546, 129),
    };
    return t;
}

UiDlgTemplate GrphRangeTemplate() {
    UiDlgTemplate t = pvxres::Dialog(IDD_PVX_GRPH_RANGE, "修改图形范围", 160, 120);
    t.items = {
        Item(IDC_PVX_GRR_AUTO, UiCtl::Check, "自动调整", 7, 7, 100, 10),
        Item(kNoId, UiCtl::Static, "X轴最小值：", 7, 24, 60, 10),
        Item(IDC_PVX_GRR_XMIN, UiCtl::Edit, "", 70, 22, 80, 12),
        Item(kNoId, UiCtl::Static, "X轴最大值：", 7, 40, 60, 10),
        Item(IDC_PVX_GRR_XMAX, UiCtl::Edit, "", 70, 38, 80, 12),
        Item(kNoId, UiCtl::Static, "Y轴最小值：", 7, 56, 60, 10),
        Item(IDC_PVX_GRR_YMIN, UiCtl::Edit, "", 70, 54, 80, 12),
        Item(kNoId, UiCtl::Static, "Y轴最大值：", 7, 72, 60, 10),
        Item(IDC_PVX_GRR_YMAX, UiCtl::Edit, "", 70, 70, 80, 12),
        Item(IDOK, UiCtl::DefButton, "确认", 30, 96, 50, 14),
        Item(IDCANCEL, UiCtl::Button, "取消", 90, 96, 50, 14),
    };
    return t;
}

}  // namespace

const std::vector<UiDlgTemplate>& PVXGetDampingDialogTemplates() {
    static const std::vector<UiDlgTemplate> templates = {ModalDampTemplate(), GrphRangeTemplate()};
    return templates;
}
