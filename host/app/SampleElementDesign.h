// The sample's raft element design (table PDDELEM) and report regions (table ELERP), from the
// raft plates' centre moments (STRP block 0: Mx at 20, My at 21, kN·m/m, positive stretching the
// bottom face) under the design combinations (CKLG groups with design use whose key names a
// linear combination of PLCOM), by closed forms:
//
//   Mxb = max(Mx, 0)   Mxt = max(-Mx, 0)   Myb = max(My, 0)   Myt = max(-My, 0)
//   As  = M 1e6 / (0.9 fy h0)   mm²/m, fy = 360 N/mm², h0 = plate thickness - 50 mm
//
// Raft plates: the elements of the members of type 301 that stand for a raft of the foundation
// model (PMEMB.model_key naming an MTSB record). The report regions are two column bays of the
// raft, (0..6, 0..6) m with rebar angle 0 and (6..12, 6..12) m with rebar angle 45 degrees; a
// region's value is, per item, direction and face, the largest over its plates of the governing
// (largest over the design combinations) values, with that combination, and their mean.
//
// Slab panels (table PDDSLAB): four column bays of the main raft (x 6..18, y 0..12), the two
// halves of the slab-band sub-raft (x 18..24, y 0..3 and 3..6), a bottom slab between the raft
// edge and the strip footing (x 0..6, y 18..21, raft key 0) and one between the raft and the
// annex footings (x 24..30, y 0..12, raft key 0, an edge through a footing). Outlines run
// counter-clockwise from the lower left corner, rebar angles 0 and 90, three values per edge.
// Under a design combination of panel load q = sum of factor x kPanelLoad of each case:
//
//   direction values  M1 = q l1² / 24, M2 = q l2² / 24   (l1, l2: the lengths of edges 0 and 1)
//   edge of length l  ends -q l² / 12, middle q l² / 24   (ends, middle, end in edge order)
//   reinforcement     As = |M| 1e6 / (0.9 fy h0), h0 = 1000 - 50 mm
//
// scripts/check_element_figures.py computes the same from the file and compares.
#pragma once

#include <utility>
#include <vector>

#include "platform/afx/afx.h"

class CDataBase;

namespace sample_elemdesign {

constexpr double kRaftCover = 50.0;  // mm from the raft face to its steel

constexpr double kPanelH0 = 950.0;  // mm, the slab panels' effective depth
// Panel load of the static cases DL, LL, WX (keys 1, 2, 3), kN/m².
constexpr double kPanelLoad[3] = {40.0, 10.0, 2.0};

// A design combination: its key and its static load cases with their factors.
struct Comb {
    UINT key;
    std::vector<std::pair<UINT, double>> terms;
};
// The design combinations: CKLG groups with design use whose key is a linear combination.
std::vector<Comb> DesignCombs(CDataBase& db);

// A raft plate: its element key, effective depth (mm) and centre (m, the mean of its nodes).
struct RaftPlate {
    UINT key;
    double h0;
    double cx, cy;
};
// The plates of the raft members, in member order and element order within a member.
std::vector<RaftPlate> RaftPlates(CDataBase& db);

// Adds PDDELEM rows and ELERP regions; returns the number of records added.
long AddElementDesign(CDataBase& db);
// Adds the PDDSLAB panels; returns the number added.
long AddSlabPanels(CDataBase& db);

}  // namespace sample_elemdesign
