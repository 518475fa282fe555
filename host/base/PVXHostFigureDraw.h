// The host program's call that draws figures of the results module's catalogue into the figure
// view, as its figure tree does when the user picks a figure. A plain C function exported by the
// module and found with dlsym (see PVXHostFigure.h for the catalogue's own calls):
//
//     auto display = reinterpret_cast<PFN_PVXHOST_FIGURE_DISPLAY>(dlsym(module, PVXHOST_FIGURE_DISPLAY));
//     int types[] = {41, 132};
//     display(types, 2);   // the controller opens the figure view (CDBDoc::OpenFigureView)
#pragma once

#define PVXHOST_FIGURE_DISPLAY "PVXHost_FigureDisplay"
#define PVXHOST_FIGURE_OWN_COUNT "PVXHost_FigureOwnCount"

extern "C" {
// Selects the figure (the first type that is not a base map, else the last type) and draws the
// types in their order with their base maps (DisplayFigureDlgData(types, 0)). 1 when a figure
// view is open afterwards; 0 without a controller, types or view.
typedef int (*PFN_PVXHOST_FIGURE_DISPLAY)(const int* types, int n);
// Entities the figure of that type drew of its own in the last drawing (its notes block not
// counted: base maps drawn under it neither); -1 when it was not drawn.
typedef int (*PFN_PVXHOST_FIGURE_OWN_COUNT)(int type);
}
