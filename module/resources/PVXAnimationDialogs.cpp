// The animation options dialog's template.
#include <vector>

#include "module/animation/CPVXAnimDetDlg.h"
#include "module/resources/PVXDialogItem.h"
#include "module/resources/PVXResources.h"

const std::vector<UiDlgTemplate>& PVXGetAnimationDialogTemplates() {
    static const std::vector<UiDlgTemplate> templates = [] {
        using namespace pvxres;
        using D = CPVXAnimDetDlg;
        UiDlgTemplate t = Dialog(D::IDD, "动画模式", 200, 150);
        UiDlgItem compress = Item(D::IDC_COMPRESS, UiCtl::Check, "压缩流", 110, 76, 80, 10);
        compress.style |= WS_DISABLED;
        t.items = {
            Item(kNoId, UiCtl::Group, "动画模式", 7, 5, 186, 48),
            Item(D::IDC_ANIMATE_CONTOUR, UiCtl::Check, "动画轮廓", 14, 16, 80, 10),
            Item(D::IDC_HALF_CYCLE, UiCtl::Radio, "重复半周期", 14, 29, 80, 10),
            Item(D::IDC_FULL_CYCLE, UiCtl::Radio, "重复全周期", 100, 29, 80, 10, FALSE),
            Item(kNoId, UiCtl::Group, "AVI选项", 7, 57, 186, 70),
            Item(kNoId, UiCtl::Static, "每像素比特：", 14, 70, 50, 10),
            Item(D::IDC_COLOR_DEPTH, UiCtl::Combo, "", 14, 82, 90, 60),
            compress,
            Item(D::IDC_COMPRESSOR, UiCtl::Button, "压缩器...", 110, 90, 60, 14),
            Item(kNoId, UiCtl::Static, "每半周期帧数(3～300)：", 14, 98, 90, 10),
            Item(D::IDC_FRAMES, UiCtl::Edit, "", 14, 109, 40, 12),
            Item(kNoId, UiCtl::Static, "每秒帧数(5～60)：", 110, 108, 80, 10),
            Item(D::IDC_FPS, UiCtl::Edit, "", 150, 109, 30, 12),
            Item(IDOK, UiCtl::DefButton, "确认", 40, 131, 50, 14),
            Item(IDCANCEL, UiCtl::Button, "取消", 110, 131, 50, 14),
        };
        return std::vector<UiDlgTemplate>{t};
    }();
    return templates;
}
