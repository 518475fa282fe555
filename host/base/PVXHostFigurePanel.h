// The host program's calls that make the figure window's panel and owner-type selector of the
// results module, as the host's figure window does. Plain C functions exported by the module
// and found with dlsym:
//
//     auto make = reinterpret_cast<PFN_PVXHOST_FIGURE_PANEL>(dlsym(module, PVXHOST_FIGURE_PANEL));
//     CWnd* panel = static_cast<CWnd*>(make(pMainFrame, 0));   // deletes itself when destroyed
//     auto owner = reinterpret_cast<PFN_PVXHOST_FIGURE_OWNER_TYPE>(dlsym(module, PVXHOST_FIGURE_OWNER_TYPE));
//     CWnd* selector = static_cast<CWnd*>(owner(pMainFrame));  // the host deletes it
//
// The selector calls the host's function of class 12 (CFunctionRegestor) after each choice.
#pragma once

#define PVXHOST_FIGURE_PANEL "PVXHost_FigurePanel"
#define PVXHOST_FIGURE_OWNER_TYPE "PVXHost_FigureOwnerType"
#define PVXHOST_FIGURE_OWNER_ROW "PVXHost_FigureOwnerRow"

extern "C" {
// Makes and shows the figure panel (a modeless CWnd) on tab; null when it could not be made.
typedef void* (*PFN_PVXHOST_FIGURE_PANEL)(void* parent, int tab);
// Makes and shows the owner-type selector (a child CWnd of parent); null on failure.
typedef void* (*PFN_PVXHOST_FIGURE_OWNER_TYPE)(void* parent);
// The selector's row of an owner-type name (ALL, ISO_CAP, ... any case); -1 when none.
typedef int (*PFN_PVXHOST_FIGURE_OWNER_ROW)(const char* name);
}
