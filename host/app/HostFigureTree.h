// The host's figure tree, filled from the results module's figure catalogue.
//
// The tree listens to the document's hints. Fill asks the module's current figure controller to
// build its catalogue under the tree's root; on each hint 110 the tree reads the record the
// controller hands out, inserts an item for it in the main frame's figure tree under the item of
// the record's parent and writes the new item back. The records are kept in insertion order,
// with their depth, for listing.
#pragma once

#include <string>
#include <vector>

#include "host/base/PVXHostFigure.h"
#include "platform/afx/afxtypes.h"

class CDBDoc;
class CPVXModuleLoader;

class CHostFigureTree {
public:
    struct Item {
        PVXHostFigureRecord rec;  // pszCaption points to caption
        std::string caption;
        std::string suffix;
        std::string className;
        int depth;  // 0 for an item under the root
        int id;     // the tree item's id
    };

    CHostFigureTree(CDBDoc* doc, const CPVXModuleLoader& loader);
    ~CHostFigureTree();
    CHostFigureTree(const CHostFigureTree&) = delete;
    CHostFigureTree& operator=(const CHostFigureTree&) = delete;

    // Builds the catalogue into the tree; FALSE (with a message) when the module has no figure
    // catalogue calls or no figure controller.
    BOOL Fill();
    const std::vector<Item>& GetItems() const { return m_items; }
    // A type from its number or its suffix (any case); 0 when unknown.
    int ParseType(const std::string& text) const;
    // The controller's record of a type; FALSE when there is none.
    BOOL GetRecord(int type, PVXHostFigureRecord& out) const;

private:
    static void OnHint(void* owner, LPARAM hint);
    void OnRecord();

    CDBDoc* m_pDoc;
    PFN_PVXHOST_FIGURE_INIT_MAP m_pfnInit = nullptr;
    PFN_PVXHOST_FIGURE_CURRENT_RECORD m_pfnCurrent = nullptr;
    PFN_PVXHOST_FIGURE_SET_ITEM m_pfnSetItem = nullptr;
    PFN_PVXHOST_FIGURE_PARSE_TYPE m_pfnParse = nullptr;
    PFN_PVXHOST_FIGURE_GET_RECORD m_pfnGet = nullptr;
    std::vector<Item> m_items;
};
