// The storeys of a building model: which floor level each member of the post database belongs
// to, so that the host can make one storey (or a range of them) the active part of the model.
//
// The foundation level is the highest node of the analysis members made from the foundation
// model's beams, footings, rafts and piles (PMEMB.model_key naming a MEMB row of type 201, 401,
// 402 or 403); a project without such members takes the lowest supported node (PRTND), and one
// without supports its lowest node. The floor levels are the distinct heights above it of the
// level beams (201, 205) and level slabs and plates (301, 302, 305): members whose nodes all lie
// within kLevelTol of one height. Storey 0 holds the members whose highest node is at or below
// the foundation level; storey i (1 upwards from the lowest level) those whose highest node lies
// in (level i-1, level i], so that a column belongs to the floor it carries; a member above the
// highest level belongs to the top storey. Heights within kLevelTol of each other count as one.
//
//     std::vector<T_STOREY> storeys;
//     CStoreyFinder::Find(db, storeys);   // storeys[0] is the foundation (it may hold no member)
#pragma once

#include <set>
#include <vector>

#include "platform/afx/afxtypes.h"

class CDataBase;

struct T_STOREY {
    int nNo = 0;               // 0 the foundation, 1 upwards from the lowest floor
    double dLevel = 0.0;       // floor level (storey 0: the foundation level), m
    std::vector<UINT> membs;   // member keys, in the member table's order
};

class CStoreyFinder {
public:
    static constexpr double kLevelTol = 0.005;  // m: heights closer than this are one level

    // Fills storeys with the foundation and every floor (none when the project has no member).
    static void Find(const CDataBase& db, std::vector<T_STOREY>& storeys);
    // The nodes of the given members and of their elements, each once, in the order first met.
    static std::vector<UINT> NodesOf(const CDataBase& db, const std::set<UINT>& membs);
};
