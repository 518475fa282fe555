// The sample's raft checks (table PCDMTSB), from the reactions of the nodes inside each raft's
// outline by the closed forms of docs/DATABASE.md (section PCDMTSB).
// scripts/check_raft_figures.py recomputes every value from the file.
#pragma once

class CDataBase;

namespace sample_checks {

constexpr double kRaftDepth = 1.5;     // m, raft base below ground (own weight and soil over it)
constexpr double kRaftFaMain = 60.0;   // kPa, bearing capacity under a main raft (fails)
constexpr double kRaftFaSub = 400.0;   // kPa, under a sub-raft
constexpr double kRaftMu = 0.3;        // base friction factor (F1 = mu V; F2, Ep, Ea are 0)
constexpr double kRaftKs = 1.3;        // sliding safety factor
constexpr double kRaftKr = 1.6;        // overturning safety factor
constexpr double kQuasiLL = 0.5;       // live-load factor of the quasi-permanent load (load centre)
constexpr double kGammaW = 10.0;       // kN/m3, water
constexpr double kRaftBaseZ = -6.0;    // m, level of the raft base under the basement (buoyancy head)
constexpr double kRaftFtMain = 1430.0; // kPa, tensile strength of a main raft (C30): its punching and shear pass
constexpr double kRaftFtSub = 60.0;    // kPa, of a sub-raft's lean concrete: most of its checks fail

// Adds one PCDMTSB row per raft with reactions inside it; returns the number of rows.
long AddSampleRaftChecks(CDataBase& db);

}  // namespace sample_checks
