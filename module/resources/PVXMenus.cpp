// The menus of the results module.
#include "module/resources/PVXResourceIds.h"
#include "module/resources/PVXResources.h"

namespace {

UiMenuTemplateItem Item(const char* text, UINT id) { return UiMenuTemplateItem{text, id, 0, {}}; }
UiMenuTemplateItem Separator() { return UiMenuTemplateItem{"", 0, MF_SEPARATOR, {}}; }
UiMenuTemplateItem Popup(const char* text, std::vector<UiMenuTemplateItem> items) {
    return UiMenuTemplateItem{text, 0, MF_POPUP, std::move(items)};
}

}  // namespace

std::vector<UiMenuTemplateItem> PVXGetContextMenu() {
    std::vector<UiMenuTemplateItem> animation = {
        Item("播放", ID_PVX_ANI_PLAY),
        Item("暂停", ID_PVX_ANI_PAUSE),
        Item("停止", ID_PVX_ANI_STOP),
        Separator(),
        Item("向后跳进", ID_PVX_ANI_JUMP_BACK),
        Item("重放", ID_PVX_ANI_REPLAY),
        Item("快进", ID_PVX_ANI_FAST_FORWARD),
        Item("向前跳进", ID_PVX_ANI_JUMP_FORWARD),
        Separator(),
        Item("保存", ID_PVX_ANI_SAVE),
        Item("纪录", ID_PVX_ANI_RECORD),
        Item("关闭", ID_PVX_ANI_CLOSE),
        Separator(),
        Item("显示控制条", ID_PVX_ANI_SHOW_BAR),
    };
    std::vector<UiMenuTemplateItem> context = {
        Item("反力", ID_PVX_REACTION),
        Item("变形", ID_PVX_DEFORMATION),
        Item("模态", ID_PVX_MODE_SHAPE),
        Separator(),
        Item("层剪力比", ID_PVX_STORY_SHEAR_RATIO),
        Separator(),
        Item("框架内力", ID_PVX_FRAME_FORCE),
        Item("墙内力", ID_PVX_WALL_FORCE),
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
