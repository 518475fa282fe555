// Design results of the raft's plate elements and of the raft's report regions.
//
// T_PDDELEM_D: the design of one raft plate element under one design load combination (table
// PDDELEM, result rows keyed by the combination key and the element key). The design takes the
// plate's centre moments Mx, My and gives the moment each face carries along x and y (bottom
// face: the sagging part, top face: the hogging part, both never negative) and the
// reinforcement for it, As = M / (0.9 fy h0), and the crack width the moment opens on that face.
// Values are listed bottom x, top x, bottom y, top y; a row may carry further values, which
// readers of the four ignore. A row without crack widths has an empty list.
//
// T_ELERP_D: one report region of the raft (table ELERP, a model table keyed by region): its
// outline (analysis nodes), the rebar direction, its elements and, per item (moment, area) and
// direction and face, the largest governing value with its combination and the mean over the
// region's elements.
//
// T_PDDSLAB_D: the design of one slab panel (table PDDSLAB, a model table keyed by slab): the
// raft it belongs to (0 for a bottom slab between beams or footings), its outline (analysis
// nodes, edge i from node i to node i + 1, the last back to the first, with the chord height of
// each edge, 0 for a straight edge), the two rebar directions and the design values of each
// design combination: per combination the two direction values, then per edge one or three
// values (ends and middle), moments and reinforcement alike.
#pragma once

#include <string>

#include "platform/afx/CArray.h"
#include "platform/afx/afx.h"

class CDataBase;

struct T_PDDELEM_D {
    CArray<double, double> aM;   // design moments Mxb, Mxt, Myb, Myt, kN·m/m
    CArray<double, double> aAs;  // reinforcement Asxb, Asxt, Asyb, Asyt, mm²/m
    CArray<double, double> aW;   // crack widths wxb, wxt, wyb, wyt, mm; empty when not designed

    T_PDDELEM_D() { Initialize(); }
    void Initialize() {
        aM.RemoveAll();
        aAs.RemoveAll();
        aW.RemoveAll();
    }
    template <class V> void Fields(V& v) {
        v.RealList("moments", aM);
        v.RealList("areas", aAs);
        v.RealList("cracks", aW);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "areas";
        if (aAs.GetSize() != aM.GetSize())
            return std::to_string(aAs.GetSize()) + " areas where moments has " + std::to_string(aM.GetSize());
        *pszColumn = "cracks";
        if (aW.GetSize() != 0 && aW.GetSize() != aM.GetSize())
            return std::to_string(aW.GetSize()) + " cracks where moments has " + std::to_string(aM.GetSize());
        return {};
    }

    // The values of one element for a load key: kind 0 the moments, 1 the areas, 2 the cracks. A design
    // combination's key gives that combination's row (combs all that key); key 0 gives, value by
    // value, the largest over the design combinations (CClassLdgp::GetDesignUseLoadComb) and the
    // combination it comes from. FALSE, both emptied, when the element has no row for the key.
    static BOOL GetData(CDataBase* pDB, UINT elem, UINT loadKey, CArray<double, double>& values,
                        CArray<double, double>& combs, int kind);
};

// One value of a report region: the largest over its elements with its combination, and the mean.
struct T_ELERPItemVal {
    double max = 0.0;
    double ave = 0.0;
    UINT comb = 0;
};

// The four values of one item (moment or area): x bottom, x top, y bottom, y top.
struct T_ELERPVal {
    T_ELERPItemVal v[4];
};

struct T_ELERP_D {
    double angle;              // rebar direction x, degrees from the global x axis
    CArray<UINT, UINT> aNode;  // outline, analysis nodes (PNODE) in order
    CArray<UINT, UINT> aElem;  // the plate elements of the region
    double max[2][4];          // [0] moments kN·m/m, [1] reinforcement mm²/m; x bottom, x top, y bottom, y top
    double ave[2][4];
    UINT comb[2][4];           // combination of each largest value

    T_ELERP_D() { Initialize(); }
    void Initialize() {
        angle = 0.0;
        aNode.RemoveAll();
        aElem.RemoveAll();
        for (int k = 0; k < 2; ++k)
            for (int i = 0; i < 4; ++i) max[k][i] = ave[k][i] = 0.0, comb[k][i] = 0;
    }
    template <class V> void Fields(V& v) {
        v.Real("angle", angle);
        v.KeyList("nodes", aNode);
        v.KeyList("elems", aElem);
        v.Reals("max", &max[0][0], 8);
        v.Reals("ave", &ave[0][0], 8);
        v.Keys("comb", &comb[0][0], 8);
    }
    // Item 0 the moments, 1 the reinforcement.
    T_ELERPVal GetVal(int item) const {
        T_ELERPVal out;
        for (int i = 0; i < 4; ++i) out.v[i] = {max[item][i], ave[item][i], comb[item][i]};
        return out;
    }
};

struct T_PDDSLAB_D {
    UINT raft;                  // the raft (MTSB key) the slab belongs to; 0 for none
    CArray<UINT, UINT> aNode;   // outline, analysis nodes (PNODE) in order
    CArray<double, double> aChord;  // chord height of each edge, m (0: straight)
    double angle1;              // first rebar direction, degrees
    double angle2;              // second rebar direction, degrees
    int nEdgeValues;            // values per edge: 1 or 3
    CArray<UINT, UINT> aComb;   // the design combinations of the values
    CArray<double, double> aM;  // moments, kN·m/m: per combination 2 + edges x nEdgeValues values
    CArray<double, double> aAs; // reinforcement, mm²/m, laid out as aM

    T_PDDSLAB_D() { Initialize(); }
    void Initialize() {
        raft = 0;
        aNode.RemoveAll();
        aChord.RemoveAll();
        angle1 = angle2 = 0.0;
        nEdgeValues = 1;
        aComb.RemoveAll();
        aM.RemoveAll();
        aAs.RemoveAll();
    }
    template <class V> void Fields(V& v) {
        v.Key("raft", raft);
        v.KeyList("nodes", aNode);
        v.RealList("chords", aChord);
        v.Real("angle1", angle1);
        v.Real("angle2", angle2);
        v.Int("edge_values", nEdgeValues);
        v.KeyList("combs", aComb);
        v.RealList("moments", aM);
        v.RealList("areas", aAs);
    }
    // Values per combination.
    INT_PTR ValuesPerComb() const { return 2 + aNode.GetSize() * nEdgeValues; }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "edge_values";
        if (nEdgeValues != 1 && nEdgeValues != 3) return "edge_values " + std::to_string(nEdgeValues) + " is not 1 or 3";
        *pszColumn = "chords";
        if (aChord.GetSize() != 0 && aChord.GetSize() != aNode.GetSize())
            return std::to_string(aChord.GetSize()) + " chords for " + std::to_string(aNode.GetSize()) + " edges";
        const INT_PTR n = aComb.GetSize() * ValuesPerComb();
        *pszColumn = "moments";
        if (aM.GetSize() != n) return std::to_string(aM.GetSize()) + " moments where " + std::to_string(n) + " are due";
        *pszColumn = "areas";
        if (aAs.GetSize() != n) return std::to_string(aAs.GetSize()) + " areas where " + std::to_string(n) + " are due";
        return {};
    }
    // The values for a load key into values, each value's combination key into labels: a design
    // combination's key gives its own values; key 0 gives, value by value, the one of largest
    // magnitude over the combinations (the first of equals). FALSE (both emptied) when the key
    // names no combination of the slab.
    BOOL GetDData_M(UINT key, CArray<double, double>& values, CArray<double, double>& labels) const {
        return Pick(aM, key, values, labels);
    }
    BOOL GetData(UINT key, CArray<double, double>& values, CArray<double, double>& labels) const {
        return Pick(aAs, key, values, labels);
    }

private:
    BOOL Pick(const CArray<double, double>& all, UINT key, CArray<double, double>& values,
              CArray<double, double>& labels) const {
        values.RemoveAll();
        labels.RemoveAll();
        const INT_PTR n = ValuesPerComb();
        if (all.GetSize() != aComb.GetSize() * n) return FALSE;
        BOOL found = FALSE;
        for (INT_PTR c = 0; c < aComb.GetSize(); ++c) {
            if (key != 0 && aComb[c] != key) continue;
            for (INT_PTR i = 0; i < n; ++i) {
                const double v = all[c * n + i];
                if (!found) {
                    values.Add(v);
                    labels.Add(static_cast<double>(aComb[c]));
                } else if (v * v > values[i] * values[i]) {
                    values[i] = v;
                    labels[i] = static_cast<double>(aComb[c]);
                }
            }
            found = TRUE;
        }
        return found;
    }
};
