// The menus of the results module.
#include "module/resources/PVXResourceIds.h"
#include "module/resources/PVXResources.h"

namespace {

UiMenuTemplateItem MenuItem(const char* text, UINT id) { return UiMenuTemplateItem{text, id, 0, {}}; }
UiMenuTemplateItem Separator() { return UiMenuTemplateItem{"", 0, MF_SEPARATOR, {}}; }
UiMenuTemplateItem Popup(const char* text, std::vector<UiMenuTemplateItem> items) {
    return UiMenuTemplateItem{text, 0, MF_POPUP, std::move(items)};
}

}  // namespace

std::vector<UiMenuTemplateItem> PVXGetContextMenu() {
    std::vector<UiMenuTemplateItem> animation = {
        MenuItem("播放", ID_PVX_ANI_PLAY),
        MenuItem("暂停", ID_PVX_ANI_PAUSE),
        MenuItem("停止", ID_PVX_ANI_STOP),
        Separator(),
        MenuItem("向后跳进", ID_PVX_ANI_JUMP_BACK),
        MenuItem("重放", ID_PVX_ANI_REPLAY),
        MenuItem("快进", ID_PVX_ANI_FAST_FORWARD),
        MenuItem("向前跳进", ID_PVX_ANI_JUMP_FORWARD),
        Separator(),
        MenuItem("保存", ID_PVX_ANI_SAVE),
        MenuItem("纪录", ID_PVX_ANI_RECORD),
        MenuItem("关闭", ID_PVX_ANI_CLOSE),
        Separator(),
        MenuItem("显示控制条", ID_PVX_ANI_SHOW_BAR),
    };
    std::vector<UiMenuTemplateItem> context = {
        MenuItem("反力", ID_PVX_REACTION),
        MenuItem("变形", ID_PVX_DEFORMATION),
        MenuItem("模态", ID_PVX_MODE_SHAPE),
        Separator(),
        MenuItem("层剪力比", ID_PVX_STORY_SHEAR_RATIO),
        Separator(),
        MenuItem("框架内力", ID_PVX_FRAME_FORCE),
        MenuItem("墙内力", ID_PVX_WALL_FORCE),
        Separator(),
        Popup("动画", std::move(animation)),
    };
    return {Popup("PVXCtxt2", std::move(context))};
}

std::vector<UINT> PVXGetAnimationToolBar() {
    return {ID_PVX_ANI_PLAY,      ID_PVX_ANI_PAUSE,        ID_PVX_ANI_STOP,         0,
            ID_PVX_ANI_JUMP_BACK, ID_PVX_ANI_REPLAY,       ID_PVX_ANI_FAST_FORWARD, ID_PVX_ANI_JUMP_FORWARD,
            0,                    ID_PVX_ANI_MARQUEE_SLOT, 0,                       ID_PVX_ANI_PROGRESS_SLOT,
            0,                    ID_PVX_ANI_SAVE,         ID_PVX_ANI_RECORD,       ID_PVX_ANI_CLOSE};
}
