// The figure catalogue: the 85 records of the host's figure tree, in build order.
//
// Each row names its type, its caption suffix ("IDS_TM_FIGURE_EFVDT_" + suffix), the run-time
// class that draws it (null for a group record), its parent (the type of the group above it, 0
// for the tree root), the owner types it is listed under, whether it needs analysis results and
// the number handed to the host. Types 11 and 12 appear twice (under the raft-check group and
// under the raft-design group).
//
// Owner-type bits: 1 isolated-footing cap, 2 beam, 4 raft check, 8 raft check slab, 16 raft
// check rib, 32 raft design, 64 raft design slab, 128 raft design rib, 256 pile, 512 rib beam,
// 1024 slab, 2048 settlement (4095 all).
#pragma once

#include "module/figures/CFVDBase.h"

struct sFVDCatalogueRow {
    EFigureType eType;
    const char* pszSuffix;     // caption key suffix and enumerator name after "EFVDT_"
    const char* pszClass;      // run-time class of the figure object; null for a group
    EFigureType eParent;       // group record above it; EFVDT_NONE for the tree root
    UINT nOwnerMask;           // 0 for a group
    BOOL bPostOnly;            // needs analysis results (mode flags 2); else any mode
    int nNumber;               // handed to the host unchanged
};

constexpr int kFVDCatalogueRows = 85;
// The rows in build order.
const sFVDCatalogueRow* GetFVDCatalogue();
// The caption key of a row ("IDS_TM_FIGURE_EFVDT_" + suffix).
CString GetFVDCaptionKey(const sFVDCatalogueRow& row);
// Whether the row is one of the twelve base maps (31 to 47, 91, 92): reported disabled.
BOOL IsFVDBaseMapRow(const sFVDCatalogueRow& row);
// The first row of a type, null for none.
const sFVDCatalogueRow* FindFVDCatalogueRow(EFigureType t);
// A type from its number or its suffix (any case); EFVDT_NONE when unknown.
EFigureType ParseFVDType(const CString& text);

// Small overrides shared by whole families of the catalogue's classes, by class name, for the
// classes to call:
//  - the check figures' defaults: ratio flag 1, precision 2 (FVDIsCheckDefaultsClass tells the
//    24 classes that take them);
//  - the sign of a force diagram: -1 for the moment and torsion diagrams, +1 for shear, 0 for a
//    class that draws none;
//  - the value label of the raft element figures ("M", "As"; empty for others).
BOOL FVDIsCheckDefaultsClass(const char* className);
void FVDApplyCheckDefaults(sFVDDisplaySettings& settings);
double FVDGetDiagramSign(const char* className);
CString FVDGetValueName(const char* className);
