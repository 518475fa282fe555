// Design and reaction queries of the foundation check library over the analysis results.
//
// A load key names a combination (PLCOM); when no combination has that key, a check group (CKLG)
// taken as the sum of its terms (CClassLdgp::GetTerms); else a load case (PSTLD). Load key 0
// stands for the most unfavourable design combination: the design combinations are the linear
// combinations of the project and the check groups of design use that have none under their key. Every query reads the document's
// post database (CDBDoc::m_pDBDoc) unless one is given; units are those of the project (m, kN),
// displacements answered in metres.
#pragma once

#include <unordered_map>
#include <utility>
#include <vector>

#include "host/check/CheckData.h"
#include "host/db/CCuttingLine.h"

class CDataBase;

class IDesignToolUtil {
public:
    // The nine MBWG stations of the beam combined for the load key, as LOAD_DATA (components of
    // LOAD_DATA: N = axial, V = shear z, T = torsion, M = moment y, then shear y and moment z).
    // Load key 0: first = the station-wise maximum, second = the minimum over the design
    // combinations; otherwise first only (second emptied). FALSE (both untouched) for a member
    // without rows for the key, or that is not a member of the foundation (its model_key names
    // no foundation-model member).
    static BOOL s_GetBeamDesignForce(UINT beam, UINT loadKey, CHECK_LOAD_ARRAY& first, CHECK_LOAD_ARRAY& second,
                                     CDataBase* pDB = nullptr);
    // Folds forces into the envelope station by station: an empty max/min takes forces as they
    // are. FALSE (nothing changed) when the station counts differ or forces is empty.
    static BOOL s_GetBaoLuoForForceArray(CHECK_LOAD_ARRAY& max, CHECK_LOAD_ARRAY& min, const CHECK_LOAD_ARRAY& forces);
    // One T_STRESS_RESULT per stiffening rib of a raft (CCuttingLine::IsRaftRib) with RIBF rows
    // for the load key (not 0).
    static BOOL s_GetRibBemStarndForce(UINT loadKey, CArray<T_STRESS_RESULT, T_STRESS_RESULT&>& results,
                                       CDataBase* pDB = nullptr);
    // The vertical displacement (DZ, metres, signed) of largest magnitude over the nodes; key in:
    // the load key (0: the design combination giving the largest magnitude), out: the key used.
    // FALSE when no node has a displacement for the key.
    static BOOL s_GetNodesMaxDisp(const CArray<UINT, UINT>& nodes, UINT& key, double& value, int flag = 1,
                                  CDataBase* pDB = nullptr);
    // Every node of the member: the nodes of its elements in element order, each once (the
    // member's own node list when it has no elements). FALSE for an unknown member.
    static BOOL s_GetPMembAllNode(UINT memb, CArray<UINT, UINT>& nodes, CDataBase* pDB = nullptr);

    // Keys of the design combinations (see the top of this file), ascending.
    static void s_GetDesignCombKeys(CDataBase* pDB, CArray<UINT, UINT>& keys);
};

// Reactions and soil pressures of foundation objects.
class IRactFinder {
public:
    static IRactFinder* Instance();
    // Uses pDB instead of the document's post database (null: the document's again).
    void SetDataBase(CDataBase* pDB) { m_pDB = pDB; }

    // Base pressure of an element (or, when no element has the key, a member): the sum of FZ of
    // its nodes' REAC rows spread over its outline, the plan area through its nodes (a plate,
    // the raft: kN/m2) or, for a line object, the length along them (a beam: kN/m). key in: the
    // load key (0: the design combination of the largest magnitude), out: the key used. 0 when
    // none of its nodes has a reaction or the outline has neither area nor length.
    int GetComBineValue(UINT object, UINT& key, double& value);
    // Reaction of a member under a check group given by its terms (static load case, factor;
    // CClassLdgp::GetTerms): the sum over the terms of factor x FZ of the REAC rows of the
    // member's nodes (IDesignToolUtil::s_GetPMembAllNode), kN. No combination is looked up, so a
    // group key that is no combination key answers all the same. 0 when the member is unknown or
    // none of its nodes has a reaction under any of the terms.
    int GetCheckGroupValue(UINT memb, const std::vector<std::pair<UINT, double>>& terms, double& value);
    // Node key -> tributary length (m): half the plan length of each line element meeting there.
    using NodeLengths = std::unordered_map<UINT, double>;
    // Adds the member's tributary lengths at its nodes: over its elements of two nodes, or, with
    // none, its length along PMEMB.nodes spread evenly over the nodes of its elements (its own
    // nodes without elements). FALSE for an unknown member.
    static BOOL AddTributaryLengths(CDataBase* pDB, UINT memb, NodeLengths& lengths);
    // Reaction per metre of a soil-bearing line member: the REAC FZ of each of its nodes shared
    // among the soil-bearing members meeting there by their tributary lengths (its own over
    // shared, the sum over all of them), so that the values times the lengths of all of them
    // add up to what their nodes carry; divided by its plan length along PMEMB.nodes, kN/m. key
    // as GetComBineValue. 0 when no node of it has a reaction or it has no length.
    int GetSharedLineValue(UINT memb, const NodeLengths& shared, UINT& key, double& value);
    // Spring pressure of an element: the mean of its STWS values (plates one per node, line
    // elements the five quarter points), kN/m2; key as GetComBineValue.
    int GetElementPress(UINT elem, UINT& key, double& value);

private:
    CDataBase* DB() const;
    CDataBase* m_pDB = nullptr;
};
