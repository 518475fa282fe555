// The part of the model a drawing command works on: --storey N, --storey N-M or
// --member-keys K1,K2,... . The host makes that part active as the host application's
// activation commands do: every member is passed to the graphics control with flag 1 when it is
// chosen and 0 otherwise, with the nodes of the chosen members
// (I_PVXCtrl::ActiveByFlag, which tells the model through PV_OnActiveDeActiveChangeByFlag), so
// that the module draws the other members in its inactive style and writes no numbers on them.
// Storeys are those CStoreyFinder finds.
//
//     CHostActivePart part;  part.Read(args);
//     if (int status = part.Resolve(db)) return status;   // 2 for an unknown storey or key
//     part.Apply(db, ctrl);
//     printf("...%s\n", part.Describe().c_str());           // ", storey 2 at 7.2 m (83 of 245 members)"
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/app/HostCommand.h"
#include "host/db/CStoreyFinder.h"

class CDataBase;
class I_PVXCtrl;

class CHostActivePart {
public:
    // --storey and --member-keys.
    static std::vector<CHostOption> Options();
    // Takes them from a checked command line.
    void Read(const CHostArgs& args);
    // A part is asked for.
    bool IsAsked() const { return !m_strStorey.empty() || !m_strKeys.empty(); }
    // Finds the chosen members in the project; 0, or the exit status after a message (2: the
    // option's value is wrong or names a storey or member the project does not have).
    int Resolve(const CDataBase& db);
    // Makes the chosen members and their nodes active, every other member inactive.
    void Apply(const CDataBase& db, I_PVXCtrl& ctrl) const;
    // ", storeys 1-2 at 3.6 to 7.2 m (148 of 245 members)"; "" when no part is asked for.
    std::string Describe() const;
    // Storey n holds a member shown (every storey holding members when no part is asked for).
    bool ShowsStorey(int n) const { return m_shown.count(n) != 0; }
    bool ShowsSeveralStoreys() const { return m_shown.size() > 1; }
    // The line a plan view with numbers prints when it shows several storeys (their numbers
    // stack); "" otherwise.
    std::string StackedPlanNote(bool bPlan, bool bNumbers) const;

    // The supports (PRTND type 1) of the foundation storey shown that stand below another
    // support at their plan point (a pile's tip under its head): the reaction display numbers
    // the highest one alone. Empty without a part or without storey 0.
    std::vector<UINT> SupportsBelow(const CDataBase& db) const;

    // The project's storeys as info lists them, one line each ("Storey 1: level 3.6 m, 65 members").
    static std::vector<std::string> StoreyLines(const std::vector<T_STOREY>& storeys);

private:
    // The nodes of the part (with the foundation's supports when storey 0 is shown) and the flag
    // of those the result lists number: 1 the highest node at a plan point of its storey, 2 the
    // highest support there besides.
    void NodeFlags(const CDataBase& db, std::vector<UINT>& part, std::map<UINT, UINT>& flags) const;

    std::string m_strStorey;     // as given
    std::string m_strKeys;
    int m_nFirst = -1, m_nLast = -1;   // storeys chosen
    double m_dLow = 0.0, m_dHigh = 0.0;  // their levels, m
    std::set<UINT> m_membs;      // members chosen
    std::vector<double> m_levels;  // of every storey, m
    std::set<int> m_shown;       // storeys holding a member shown
    size_t m_nAll = 0;           // members of the project
};
