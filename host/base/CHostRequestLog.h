// The journal of requests that modules address to the host's frame, docking bar and model.
//
// In the original host these requests opened panels, trees and bars on screen. Headless, the
// host's stand-ins (I_MainFrameBase, CDockDlgBarBase, I_ModelBase) append each one here, in the
// order made, before acting on it, so the host program can report them and tests can assert them.
// Each entry is a kind, up to two integers and a text. Thread-safe; holds at most kMaxEntries
// entries (the oldest go first).
#pragma once

#include <string>
#include <vector>

#include "platform/afx/afxtypes.h"

enum EHostRequest {
    HR_COMMAND = 1,           // WM_COMMAND to the main window: nId = command id, nArg = lParam low word
    HR_CREATE_FIGURE_DLG,     // open the figure panel
    HR_CLOSE_FIGURE_DLG,      // close the figure panel
    HR_SET_FIGURE_TREE,       // build the figure tree
    HR_ADD_FIGURE_TREE_ITEM,  // one figure tree item: nId = item id, nArg = parent id, text = caption
    HR_CLOSE_FIGURE_TREE,     // close the figure tree
    HR_CLOSE_DESIGN_TREE,     // close the design tree
    HR_SHOW_DLGBAR,           // show the docking bar: nId = result id (mode), nArg = option
    HR_CLOSE_DLGBAR,          // close the docking bar: nId = the mode it showed (-1 none)
    HR_MODEL_REQUEST          // a drawing request to the host's current model: text names it
};

struct CHostRequest {
    int nKind = 0;     // EHostRequest
    int nId = 0;       // meaning by kind
    int nArg = 0;      // meaning by kind
    std::string text;  // meaning by kind
};

class CHostRequestLog {
public:
    static constexpr size_t kMaxEntries = 100000;

    static void Add(int nKind, int nId = 0, int nArg = 0, const std::string& text = std::string());
    static std::vector<CHostRequest> GetAll();
    // The entries of one kind, in order.
    static std::vector<CHostRequest> GetOfKind(int nKind);
    static int CountOfKind(int nKind);
    static void Clear();
    // A readable name of a kind ("command", "show-bar", ...), for reports.
    static const char* KindName(int nKind);
};
