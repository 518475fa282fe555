// CFVDCheckTypeBase: the common base of the check figures (ratio texts of the foundation checks).
//
// A check figure shows ratio texts: its defaults are the ratio flag 1 and two decimals. The
// footing figures (bearing capacity, weak layer, punching, shear, footing design) share the rule
// of NeedsEdgeTextPlacement, and the bearing-type figures share the check load-case list.
//
// A load group that a check record does not hold shows no text: the class library's map would
// give an empty check for it (ratio 0, a red failure) for an object that was simply not checked.
#pragma once

#include <map>
#include <set>

#include "module/figures/CFVDBase.h"

class CFVDCheckTypeBase : public CFVDBase {
    DECLARE_DYNAMIC(CFVDCheckTypeBase)
public:
    // On the figure's settings: ratio flag 1, precision 2.
    void SetDefaultOptions() override;

    // 1 when the foundation section sectionKey is of type 2 and its first option is 1 or its
    // second option is non-zero (its texts go to the nearest point of the outline); else 0.
    static BOOL NeedsEdgeTextPlacement(UINT sectionKey);

    // The check variant of CollectLoadCases: for types above 90 the check load groups of kind 0
    // with the most unfavourable entry; otherwise out is left alone.
    void CollectCheckLoadCasesOf(std::map<UINT, CString>& out);
    // The groups the figure's load list offers (CollectLoadCases, the most unfavourable entry
    // left out): without a load case an object's governing group is chosen among these.
    std::set<UINT> ListedGroups();

protected:
    CFVDCheckTypeBase() = default;
    std::set<UINT> m_setListed;  // ListedGroups, kept by DrawFigure of the pile figures for their piles

};
