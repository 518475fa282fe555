// The sample's footing design (tables PDDCOLF and PCOLFG) from the net base pressures of its
// footing checks (PCDCOLF `pnet`, N / A of the column-base reaction per basic check group) by the
// closed forms of docs/DATABASE.md:
//   Mz = pnet h (b - bc)^2 / 8,  My = pnet b (h - bc)^2 / 8,  As = M / (0.9 fy h0)
// (b, h the base step along local x and y, bc the column side, h0 the footing height less the
// cover). Every footing goes into footing group 1, whose areas are the largest of its footings'.
// scripts/check_footing_design.py recomputes every value from the file.
#pragma once

class CDataBase;

namespace sample_design_colf {

constexpr double kFy = 360.0;     // N/mm2, HRB400
constexpr double kCover = 0.05;   // m, base to the steel
constexpr unsigned kGroup = 1;    // the sample's footing group

// Adds the footing design and the footing group; returns the number of rows added.
long AddSampleFootingDesign(CDataBase& db);

}  // namespace sample_design_colf
