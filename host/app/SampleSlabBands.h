// The sample's slab bands (table PSBBD) and their design (table PDDSBBD) on the slab-band
// sub-raft (MTSB type 2, x 18..24, y 0..6), each 1.5 m wide:
//
//   band 1  the south edge, outline (24, 0) -> (18, 0)
//   band 2  a mid band from (18, 2.25) to (24, 2.25), outline the sub-raft's four corners
//   band 3  the east edge, outline (24, 6) -> (24, 0)
//   band 4  a mid band from (22.5, 0) to (22.5, 6), outline as band 2
//
// A band's line runs from its start S to its end E (a mid band's start and end points, another
// band's first and last outline point), direction u = (E - S) / |E - S|. Under each design
// combination (CKLG groups with design use whose key is a linear combination) the design forces
// at five stations P_k = S + k/4 (E - S), k = 0..4, come from the raft plate whose centre is
// nearest P_k (the first in member and element order among equals), its centre moments and
// shears (STRP block 0: Mxx 20, Myy 21, Mxy 22, Vxx 26, Vyy 27) combined with the PLCOM factors:
//
//   moment  M_k = Mxx ux² + Myy uy² + 2 Mxy ux uy   kN·m/m   (LOAD_DATA value 3)
//   shear   V_k = Vxx ux + Vyy uy                   kN/m     (LOAD_DATA value 1)
//
// per metre of the band's width (the sheets write kN·m/m and mm²/m). Sections start, middle and
// end are stations 0, 2 and 4; their design:
//
//   A1 = max(M, 0) 1e6 / (0.9 fy h0)   bottom steel, mm²/m
//   A2 = max(-M, 0) 1e6 / (0.9 fy h0)  top steel, mm²/m
//   A3 = |V| 1e6 / (fyv h0)            stirrups, mm²/m
//   A4 = A5 = 0                         (not designed)
//
// fy = 360, fyv = 270 N/mm², h0 = the raft's thickness (MTSB.thick) x 1000 - 50 mm.
// scripts/check_slab_band_figures.py computes the same from the file and compares.
#pragma once

class CDataBase;

namespace sample_slabband {

constexpr double kBandWidth = 1.5;  // m
constexpr int kBandStations = 5;

// Adds the bands and their design; returns the number of records added (0 without a slab-band
// sub-raft).
long AddSlabBands(CDataBase& db);

}  // namespace sample_slabband
