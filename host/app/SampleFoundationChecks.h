// The sample's foundation checks (tables PCDCOLF, PCDCJY, PCDBEAM), from the project's own
// reactions by the closed forms of docs/DATABASE.md. The action of a check group is the sum of
// its text's terms ("1.2DL+1.4LL": 1.2 x static case DL + 1.4 x LL); the reaction at a plan
// point is the sum of the REAC rows of every node at that point (the footing spring node, a
// pile's foot). Standard groups (CKLG kind 0) take the bearing checks of footings and beams and
// the weak-layer check; basic groups (kind 1) the punching, shear and local-compression checks.
// scripts/check_check_figures.py recomputes every value from the file.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "platform/afx/afx.h"

class CDataBase;

namespace sample_checks {

constexpr double kGamma = 20.0;       // kN/m3, soil and footing over the base
constexpr double kWeakZ = 1.0;        // m, weak layer below the base
constexpr double kWeakTan = 0.5;      // tan of the spread angle down to the weak layer
constexpr double kCover = 0.05;       // m, base to the footing steel
constexpr double kBetaL = 3.0;        // local-compression factor sqrt(Ab / Al), Ab = 9 Al
constexpr double kFc = 14300.0;       // kPa, C30
constexpr double kFcWeak = 300.0;     // kPa, the pads under every third column
constexpr double kFtLean = 100.0;     // kPa, the spread footing's lean concrete
constexpr double kFtCap = 30.0;       // kPa, the pile cap's

// Check groups (CKLG) by key: the static cases and factors of their texts.
std::map<UINT, std::vector<std::pair<UINT, double>>> Combinations(CDataBase& db);
// The keys of the check groups of one kind, in table order.
std::vector<UINT> GroupsOfKind(CDataBase& db, int kind);

// Adds the check tables to the database; returns the number of rows added.
long AddSampleFoundationChecks(CDataBase& db);

}  // namespace sample_checks
