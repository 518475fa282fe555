// The host program's calls into the results module's figure catalogue.
//
// The host's figure tree and figure window drive the module's figure controller (the one of the
// current result model). Plain C functions and records, exported by the module and found with
// dlsym, so that neither side needs the other's classes:
//
//     auto init = reinterpret_cast<PFN_PVXHOST_FIGURE_INIT_MAP>(dlsym(module, PVXHOST_FIGURE_INIT_MAP));
//     init(root);   // the module sends hint 110 per record through CDBDoc::UpdateAllViews;
//                   // the document's tree reads PVXHost_FigureCurrentRecord and answers with
//                   // PVXHost_FigureSetItem(new item)
#pragma once

// One catalogue record as the host's tree sees it: the record the controller hands out with
// hint 110 (type, caption, item, parent, enabled, number) and the catalogue's columns of its
// type (suffix, class, owner mask, post only) with whether the module has the figure object.
struct PVXHostFigureRecord {
    int nType;
    const char* pszCaption;  // valid until the next call
    const char* pszSuffix;
    const char* pszClass;    // null for a group record
    void* hItem;             // tree item (HTREEITEM)
    void* hParent;
    int bEnabled;
    int nNumber;
    unsigned nOwnerMask;     // 0 for a group
    int bPostOnly;
    int bHasObject;          // the leaf's figure object exists (its class is in the module)
    int nParentType;         // type of the group above (0: the root)
};

#define PVXHOST_FIGURE_INIT_MAP "PVXHost_FigureInitMap"
#define PVXHOST_FIGURE_CURRENT_RECORD "PVXHost_FigureCurrentRecord"
#define PVXHOST_FIGURE_SET_ITEM "PVXHost_FigureSetItem"
#define PVXHOST_FIGURE_PARSE_TYPE "PVXHost_FigureParseType"
#define PVXHOST_FIGURE_GET_RECORD "PVXHost_FigureGetRecord"

extern "C" {
// InitFigureMap(root) on the current controller; 0 when there is none.
typedef int (*PFN_PVXHOST_FIGURE_INIT_MAP)(void* root);
// The record the controller hands out now (while it sends hint 110); 0 without a controller.
typedef int (*PFN_PVXHOST_FIGURE_CURRENT_RECORD)(PVXHostFigureRecord* out);
// The host's answer to hint 110: the item it inserted.
typedef void (*PFN_PVXHOST_FIGURE_SET_ITEM)(void* item);
// A type from its number or its suffix (any case); 0 when the catalogue has no such type.
typedef int (*PFN_PVXHOST_FIGURE_PARSE_TYPE)(const char* text);
// The controller's record of a type (the last one built); 0 when there is none.
typedef int (*PFN_PVXHOST_FIGURE_GET_RECORD)(int type, PVXHostFigureRecord* out);
}
