// Resource and command ids of the results module: menus, the commands of the result view and
// the ranges of the docked result bar. The values are fixed: the host's menus, tool bars and
// docking bar use the same numbers.
#pragma once

// Menus.
#define IDR_PVX_CONTEXT_MENU 10554   // the result view's context menu "PVXCtxt2"
#define IDR_PVX_ANIMATION_TOOLBAR 10611
#define IDR_PVX_GRAPH_MENU 10627     // the graph view's right-click menu "Graph Menu"

// Result instructions of the context menu.
#define ID_PVX_WALL_FORCE 42003
#define ID_PVX_REACTION 42004
#define ID_PVX_FRAME_FORCE 42046
#define ID_PVX_DEFORMATION 42088
#define ID_PVX_MODE_SHAPE 42089
#define ID_PVX_STORY_SHEAR_RATIO 42090

// Animation commands.
#define ID_PVX_ANI_PLAY 42015
#define ID_PVX_ANI_PAUSE 42016
#define ID_PVX_ANI_STOP 42017
#define ID_PVX_ANI_JUMP_BACK 42018
#define ID_PVX_ANI_FAST_FORWARD 42020
#define ID_PVX_ANI_JUMP_FORWARD 42021
#define ID_PVX_ANI_SAVE 42022
#define ID_PVX_ANI_RECORD 42023
#define ID_PVX_ANI_CLOSE 42024
#define ID_PVX_ANI_SHOW_BAR 42025
#define ID_PVX_ANI_REPLAY 42051
// Places of the animation tool bar's title and of its progress control or slider.
#define ID_PVX_ANI_MARQUEE_SLOT 42059
#define ID_PVX_ANI_PROGRESS_SLOT 42060

// Commands of the graph view's menu.
#define ID_PVX_GRAPH_PROPERTY 42077
#define ID_PVX_GRAPH_SAVE_AS 42078

// Test toggles of the result view.
#define ID_PVX_TEST_RENDER_STYLE 42064
#define ID_PVX_TEST_SWITCH1 42065
#define ID_PVX_TEST_SWITCH2 42066
#define ID_PVX_TEST_WIRE_FRAME 42067

// A bar mode in [7000, 25000) is one of the module's bars; its result ids are named in
// module/model/PVXModes.h.
#define PVX_BAR_MODE_FIRST 7000
#define PVX_BAR_MODE_END 25000
