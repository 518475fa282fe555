// The sample's slab design results in closed form: the design of the raft under a design
// combination (table SLDG) and the raft's forces across the ends of the walls standing on it
// (table SWDF).
//
// Raft design: the raft, loaded by the net upward pressure q of the building's floor loads
// (its own weight and the load on it rest on the springs without bending it), is an inverted
// flat slab of square panels of side L. Centre moments along X and Y qL²/24 and qL²/20 (one bay
// fewer along Y), edge moments on the top face -(q ± dq)L²/12, on the bottom face 0.8 qL²/24,
// where dq is the edge pressure of the wind's overturning moment (sign +1 on the leeward east
// edge, -1 on the windward west edge, 0 on the others). Reinforcement for a moment M (kN·m/m)
// in a section of effective depth h0 (mm): |M|·10⁶ / (0.9 fy h0) mm²/m with fy = 360 N/mm²; the
// third result is the minimum reinforcement 0.15 % of the section.
//
// Wall ends: a wall of line load w (kN/m) standing on the raft stops at its ends; the moment per
// metre across the cut at an end is half the Hetényi line-load moment w λ / 4 (λ the raft's
// characteristic length), the shear w / 2. The wind's overturning of a wall of height h adds
// ±w_wx with w_wx = p h² / (2 Lw) for wind pressure p on a wall of length Lw (+ at the last end).
#pragma once

#include <vector>

#include "host/db/SlabDesignRecords.h"

namespace sample_slab {

constexpr double kRebarFy = 360.0;  // N/mm²
constexpr double kCover = 50.0;     // mm
constexpr double kMinRatio = 0.0015;

// Steel area for a moment, mm²/m (or mm² for kN·m over a cut).
double DesignSteel(double moment, double h0mm);

// The raft's design under net pressure q (kN/m²) and wind edge pressure dq, panels of side span
// (m), thickness t (m), one wind sign per outline edge.
T_SLDG_D RaftDesign(double q, double dq, double span, double t, const std::vector<int>& edgeWindSign);

// The raft's forces per metre across the two ends of a wall: gravity line load w (kN/m), wind
// line load wWind (kN/m, + on the last end), characteristic length lambda (m), raft thickness t.
T_SWDF_D WallEndForces(double w, double wWind, double lambda, double t);

}  // namespace sample_slab
