// Stored rows of the footing design tables: the design of each column footing (PDDCOLF) with the
// inputs of its closed forms and its moments and steel areas by load group (BLOBs in the layout
// of a keyed map of check results, CheckData.h), and the footing groups (PCOLFG) that share one
// reinforcement. docs/DATABASE.md gives the closed forms.
#pragma once

#include <cmath>
#include <string>

#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

// Design of one column footing (PDDCOLF, key = the footing's key).
struct T_PDDCOLF_ROW {
    double fy;       // N/mm2, design strength of the footing steel
    double h0;       // m, effective depth: footing height less the cover to the steel
    double bc;       // m, side of the column on the footing (0: none)
    std::string mz;  // DoubleMap by basic combination: moment of the steel along local x, kN.m
    std::string my;  // DoubleMap by basic combination: moment of the steel along local y, kN.m
    std::string asz; // DoubleMap: steel area along local x, mm2
    std::string asy; // DoubleMap: steel area along local y, mm2

    void Initialize() {
        fy = h0 = bc = 0.0;
        mz.clear(); my.clear(); asz.clear(); asy.clear();
    }
    template <class V> void Fields(V& v) {
        v.Real("fy", fy);
        v.Real("h0", h0);
        v.Real("bc", bc);
        v.Data("mz", mz);
        v.Data("my", my);
        v.Data("asz", asz);
        v.Data("asy", asy);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "fy";
        if (!std::isfinite(fy) || fy <= 0.0) return "the steel strength is not a positive number";
        *pszColumn = "h0";
        if (!std::isfinite(h0) || h0 <= 0.0) return "the effective depth is not a positive number";
        *pszColumn = "bc";
        if (!std::isfinite(bc) || bc < 0.0) return "the column side is negative";
        return {};
    }
};

// A group of column footings reinforced alike (PCOLFG, key = the group's number).
struct T_PCOLFG_D {
    CArray<UINT, UINT> aColf;  // member footings' keys, the first one carries the areas
    UINT zGroup;               // governing load group of the area along x
    UINT yGroup;               // governing load group of the area along y
    double asz;                // mm2, the group's area along x (the largest of its footings)
    double asy;                // mm2, the group's area along y

    void Initialize() {
        aColf.RemoveAll();
        zGroup = yGroup = 0;
        asz = asy = 0.0;
    }
    template <class V> void Fields(V& v) {
        v.KeyList("colfs", aColf);
        v.Key("z_group", zGroup);
        v.Key("y_group", yGroup);
        v.Real("asz", asz);
        v.Real("asy", asy);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "colfs";
        if (aColf.GetSize() == 0) return "the group has no footing";
        *pszColumn = "asz";
        if (!std::isfinite(asz) || !std::isfinite(asy) || asz < 0.0 || asy < 0.0) return "an area is negative";
        return {};
    }
};
