// The module's side of the host's figure-panel calls (host/base/PVXHostFigurePanel.h).
#include "host/base/PVXHostFigurePanel.h"

#include "module/figures/CFigureDetailPages.h"

#define PVX_FIGURE_EXPORT extern "C" __attribute__((visibility("default")))

PVX_FIGURE_EXPORT void* PVXHost_FigurePanel(void* parent, int tab) {
    auto* owner = static_cast<CWnd*>(parent);
    auto* panel = new CFigureDetailTab(tab, owner);
    if (!panel->Create(CFigureDetailTab::IDD, owner)) {
        delete panel;
        return nullptr;
    }
    panel->ShowWindow(SW_SHOW);
    return static_cast<CWnd*>(panel);
}

PVX_FIGURE_EXPORT void* PVXHost_FigureOwnerType(void* parent) {
    auto* owner = static_cast<CWnd*>(parent);
    auto* selector = new CFigureWndOwnerType(owner);
    if (!selector->Create(CFigureWndOwnerType::IDD, owner)) {
        delete selector;
        return nullptr;
    }
    selector->ShowWindow(SW_SHOW);
    return static_cast<CWnd*>(selector);
}

PVX_FIGURE_EXPORT int PVXHost_FigureOwnerRow(const char* name) { return CFigureWndOwnerType::FindOwnerType(name); }

#undef PVX_FIGURE_EXPORT
