// The sample's pile checks (table PCDPILE) from the project's own reactions, by the closed forms
// of docs/DATABASE.md. scripts/check_pile_figures.py recomputes every value from the file.
#pragma once

#include "platform/afx/afx.h"

class CDataBase;

namespace sample_piles {

constexpr double kUpliftShare = 0.5;   // uplift capacity tu = this x the bearing capacity ra
constexpr double kHorShare = 0.05;     // horizontal capacity = this x ra, in x and in y
constexpr double kFcPile = 14300.0;    // kPa, C30: local compression limit fc x pi d^2 / 4
constexpr double kFtCap = 1430.0;      // kPa, C30: punching limit 0.7 ft pi (d + h0) h0
constexpr double kCapH0 = 0.8;         // m, effective depth of the raft over a pile

// Adds one PCDPILE row per pile with a pile element; returns the number of rows added. The last
// pile of the table is taken as an anchor pile: its bearing entries (results 0 to 2) hold -N.
long AddSamplePileChecks(CDataBase& db);

}  // namespace sample_piles
