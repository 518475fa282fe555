// Dialog templates of the contour and legend settings dialogs, and the rank image strip of the
// custom range list. Controls that the original layout placed below the visible area (the
// colour style radios and band wells of the contour dialog, the colour group of the legend
// dialog) stay there: they keep their values and the user cannot reach them.
#include <cstdio>
#include <vector>

#include "module/contour/CColorTableDlg.h"
#include "module/contour/CContourDetDlg.h"
#include "module/contour/CContourRangeDlg.h"
#include "module/contour/CLegendDetDlg.h"
#include "module/resources/PVXDialogItem.h"
#include "platform/afx/AfxDiagnostic.h"
#include "platform/gdi/afxgdi.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/DialogTemplate.h"

namespace {

using pvxres::Dialog;
using pvxres::Hidden;
using pvxres::Item;
using pvxres::kNoId;

UiDlgTemplate ContourDetailTemplate() {
    UiDlgTemplate t = Dialog(IDD_PVX_CONTOUR_DETAIL, "等值线详细设置", 242, 199);
    t.items = {
        Item(IDC_CON_LINE_GROUP, UiCtl::Group, "", 7, 7, 110, 72),
        Item(IDC_CON_FILL_BANDS, UiCtl::Radio, "等值线填充", 12, 18, 70, 10),
        Item(IDC_CON_LINES_ONLY, UiCtl::Radio, "仅显示等值线", 12, 30, 70, 10, FALSE),
        Item(IDC_CON_GRADIENT, UiCtl::Check, "梯度填充", 12, 42, 70, 10),
        Item(IDC_CON_DRAW_LINES, UiCtl::Check, "画等值线", 12, 54, 70, 10),
        Item(IDC_CON_SINGLE_LINE, UiCtl::Check, "单线条", 12, 66, 60, 10),
        Item(IDC_CON_WELL_LINE, UiCtl::Static, "CE", 85, 66, 24, 10),
        Item(IDC_CON_EDGE_LABEL, UiCtl::Static, "", 12, 86, 60, 10),
        Item(IDC_CON_WELL_EDGE, UiCtl::Static, "EE", 85, 86, 24, 10),
        Item(IDC_CON_ANNOTATE, UiCtl::Check, "等值线数值标注", 12, 100, 100, 10),
        Item(IDC_CON_INTERVAL_LABEL, UiCtl::Static, "", 12, 116, 36, 10),
        Item(IDC_CON_INTERVAL, UiCtl::Slider, "", 50, 114, 64, 14),
        Item(IDC_CON_THICK_LINES, UiCtl::Check, "粗等值线", 12, 130, 70, 10),
        Item(IDC_CON_NOTE, UiCtl::Static, "", 12, 142, 105, 10),
        Item(IDC_CON_EXACT, UiCtl::Check, "精确等值线", 12, 158, 70, 10),
        Item(IDC_CON_FACTOR_LABEL, UiCtl::Static, "系数：", 12, 172, 30, 10),
        Item(IDC_CON_FACTOR, UiCtl::Edit, "", 45, 170, 50, 12),
        Item(IDC_CON_COLOR_COUNT, UiCtl::Combo, "", 125, 7, 50, 60),
        Item(IDC_CON_COLOR_TABLE, UiCtl::Combo, "", 180, 7, 55, 60),
        Item(IDC_CON_CUSTOM_TABLE, UiCtl::Button, "用户定义颜色表格...", 125, 25, 110, 14),
        Item(IDC_CON_CUSTOM_RANGE, UiCtl::Button, "用户定义范围...", 125, 43, 110, 14),
        Item(IDC_CON_REVERSE, UiCtl::Check, "反色显示", 125, 61, 60, 10),
        Item(IDC_CON_PREVIEW_BANDS, UiCtl::Static, "", 125, 76, 110, 14),
        Item(IDC_CON_PREVIEW_LINES, UiCtl::Static, "", 125, 94, 110, 14),
        Item(IDC_CON_PREVIEW_TWO, UiCtl::Static, "", 125, 112, 110, 14),
        Item(IDC_CON_APPLY_ON_OK, UiCtl::Check, "适用于点击‘确认’时", 125, 132, 110, 10),
        Item(IDOK, UiCtl::DefButton, "确认", 125, 178, 34, 14),
        Item(IDCANCEL, UiCtl::Button, "取消", 163, 178, 34, 14),
        Item(IDC_CON_APPLY, UiCtl::Button, "适用", 201, 178, 34, 14),
        // Below the visible area.
        Item(IDC_CON_GRAY_TABLE, UiCtl::Group, "黑白颜色表格", 7, 213, 110, 64),
        Item(IDC_CON_STYLE_RAINBOW, UiCtl::Radio, "彩虹", 12, 225, 50, 10),
        Item(IDC_CON_STYLE_BORDER, UiCtl::Radio, "边界线", 12, 240, 50, 10),
        Item(IDC_CON_STYLE_RANGE, UiCtl::Radio, "调整范围", 12, 255, 50, 10),
        Item(IDC_CON_WELL_BAND1, UiCtl::Static, "B1", 70, 225, 24, 10),
        Item(IDC_CON_WELL_BAND2, UiCtl::Static, "B2", 70, 240, 24, 10),
        Item(IDC_CON_ELEM_OUTLINE, UiCtl::Check, "画单元轮廓线", 12, 283, 70, 10),
    };
    return t;
}

UiDlgTemplate ContourDetailKrigTemplate() {
    UiDlgTemplate t = Dialog(IDD_PVX_CONTOUR_DETAIL_KRIG, "等值线详细设置", 200, 92);
    t.items = {
        Item(IDC_CON_COLOR_COUNT, UiCtl::Combo, "", 7, 7, 50, 60),
        Item(IDC_CON_COLOR_TABLE, UiCtl::Combo, "", 62, 7, 60, 60),
        Item(IDC_CON_CUSTOM_TABLE, UiCtl::Button, "用户定义颜色表格...", 7, 25, 115, 14),
        Item(IDC_CON_CUSTOM_RANGE, UiCtl::Button, "用户定义范围...", 7, 43, 115, 14),
        Item(IDC_CON_REVERSE, UiCtl::Check, "反色显示", 7, 61, 60, 10),
        Item(IDC_CON_WELL_LINE, UiCtl::Static, "CE", 75, 61, 24, 10),
        Item(IDC_CON_APPLY_ON_OK, UiCtl::Check, "适用于点击‘确认’时", 7, 75, 115, 10),
        Item(IDOK, UiCtl::DefButton, "确认", 130, 7, 60, 14),
        Item(IDCANCEL, UiCtl::Button, "取消", 130, 25, 60, 14),
        Item(IDC_CON_APPLY, UiCtl::Button, "适用", 130, 43, 60, 14),
    };
    return t;
}

UiDlgTemplate CustomColorTableTemplate() {
    UiDlgTemplate t = Dialog(IDD_PVX_CUSTOM_COLOR_TABLE, "用户定义颜色表格", 200, 72);
    t.items = {Item(kNoId, UiCtl::Group, "", 5, 5, 190, 34), Item(kNoId, UiCtl::Static, "最小值", 8, 18, 25, 10)};
    const char* const names[CPVXCtmzCtDlg::NUM_KEYS] = {"CW1", "CW2", "CW3", "CW4", "CW5", "CW6", "CW7"};
    for (int i = 0; i < CPVXCtmzCtDlg::NUM_KEYS; i++)
        t.items.push_back(Item(CPVXCtmzCtDlg::s_nWellIds[i], UiCtl::Static, names[i], 35 + 18 * i, 16, 14, 14));
    t.items.push_back(Item(kNoId, UiCtl::Static, "最大值", 162, 18, 30, 10));
    t.items.push_back(Item(IDC_CCT_DEFAULT, UiCtl::Button, "默认值", 7, 50, 50, 14));
    t.items.push_back(Item(IDOK, UiCtl::DefButton, "确认", 90, 50, 50, 14));
    t.items.push_back(Item(IDCANCEL, UiCtl::Button, "取消", 145, 50, 50, 14));
    return t;
}

UiDlgTemplate CustomRangeTemplate() {
    UiDlgTemplate t = Dialog(IDD_PVX_CUSTOM_RANGE, "用户定义等值线范围", 222, 150);
    t.items = {
        Item(IDC_CRR_LIST, UiCtl::ListCtrl, "", 7, 7, 140, 108),
        Item(IDC_CRR_USER_VALUE, UiCtl::Check, "用户定义数值", 155, 7, 62, 10),
        Item(IDC_CRR_VALUE, UiCtl::Edit, "", 155, 20, 62, 12),
        Item(IDC_CRR_DEFAULT, UiCtl::Button, "默认值", 155, 36, 62, 14),
        Item(IDC_CRR_MIN_TEXT, UiCtl::Static, "Min Text", 7, 120, 140, 10),
        Item(IDC_CRR_MAX_TEXT, UiCtl::Static, "Max Text", 7, 133, 140, 10),
        Item(IDOK, UiCtl::DefButton, "确认", 155, 112, 62, 14),
        Item(IDCANCEL, UiCtl::Button, "取消", 155, 130, 62, 14),
    };
    return t;
}

UiDlgTemplate LegendDetailTemplate() {
    UiDlgTemplate t = Dialog(IDD_PVX_LEGEND_DETAIL, "图例详细设置", 143, 147);
    t.items = {
        Item(kNoId, UiCtl::Group, "", 7, 5, 129, 28),
        Item(IDC_LEG_LEFT, UiCtl::Radio, "左", 14, 16, 40, 10),
        Item(IDC_LEG_RIGHT, UiCtl::Radio, "右", 70, 16, 40, 10, FALSE),
        Item(kNoId, UiCtl::Group, "", 7, 37, 129, 28),
        Item(IDC_LEG_EXPONENT, UiCtl::Radio, "指数型", 14, 48, 50, 10),
        Item(IDC_LEG_DECIMAL, UiCtl::Radio, "小数格式", 70, 48, 60, 10, FALSE),
        Item(kNoId, UiCtl::Group, "", 7, 69, 129, 28),
        Item(IDC_LEG_PCT_INTEGER, UiCtl::Radio, "0 (整数)", 14, 80, 50, 10),
        Item(IDC_LEG_PCT_ONE, UiCtl::Radio, " 1", 70, 80, 40, 10, FALSE),
        Hidden(Item(IDC_LEG_APPLY_ON_OK, UiCtl::Check, "仅适用于点击‘确认’时", 7, 103, 129, 10)),
        Item(IDOK, UiCtl::DefButton, "确认", 20, 124, 45, 14),
        Item(IDCANCEL, UiCtl::Button, "取消", 78, 124, 45, 14),
        // Below the visible area.
        Item(kNoId, UiCtl::Group, "图利位置", 7, 189, 129, 68),
        Item(kNoId, UiCtl::Static, "背景颜色：", 14, 201, 50, 10),
        Item(IDC_LEG_WELL_BACK, UiCtl::Static, "BGC", 70, 201, 24, 10),
        Item(kNoId, UiCtl::Static, "图形颜色：", 14, 221, 50, 10),
        Item(IDC_LEG_WELL_FIGURE, UiCtl::Static, "FGC", 70, 221, 24, 10),
        Item(kNoId, UiCtl::Static, "文本颜色：", 14, 241, 50, 10),
        Item(IDC_LEG_WELL_TEXT, UiCtl::Static, "TXTC", 70, 241, 24, 10),
    };
    return t;
}

// Two 16-pixel images: 0 an ordinary rank, 1 a rank pinned by a custom value. The strip lives as
// long as the module; when the module goes, so does its registration.
struct RankImageStrip {
    CBitmap bitmap;
    RankImageStrip() { bitmap.CreateBitmap(32, 16, 1, 32, nullptr); }
    ~RankImageStrip() { UnregisterImageListBitmap(IDB_PVX_RANK_IMAGES); }
};

CBitmap& RankImages() {
    static RankImageStrip s_strip;
    return s_strip.bitmap;
}

}  // namespace

const std::vector<UiDlgTemplate>& PVXGetContourDialogTemplates() {
    static const std::vector<UiDlgTemplate> templates = {ContourDetailTemplate(), ContourDetailKrigTemplate(),
                                                         CustomColorTableTemplate(), CustomRangeTemplate(),
                                                         LegendDetailTemplate()};
    return templates;
}

int PVXRegisterContourDialogs(std::vector<UINT>& registered) {
    int ok = 1;
    for (const UiDlgTemplate& t : PVXGetContourDialogTemplates()) {
        if (RegisterDialogTemplate(t)) {
            registered.push_back(t.nID);
        } else {
            AfxDiagnostic("qsn_pvx", "the dialog template %u could not be registered.", t.nID);
            ok = 0;
        }
    }
    CBitmap& strip = RankImages();
    if (!strip.GetSafeHandle() || !RegisterImageListBitmap(IDB_PVX_RANK_IMAGES, strip)) {
        AfxDiagnostic("qsn_pvx", "the rank image strip %u could not be registered.",
                      static_cast<UINT>(IDB_PVX_RANK_IMAGES));
        ok = 0;
    }
    return ok;
}
