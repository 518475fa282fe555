// Stored row of the beam design table (PDDBEAM, a model table keyed by analysis member): the
// design of one foundation beam with the inputs of its closed forms (section and materials),
// the steel of its start, middle and end sections per design combination, the over-limit flag,
// and BLOBs in the layout of a keyed map of check results (CheckData.h) for the extra value and
// the crack widths of the three sections by load key. docs/DATABASE.md gives the closed forms.
#pragma once

#include <cmath>
#include <string>

#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

struct T_PDDBEAM_ROW {
    static constexpr int kSections = 3;       // start, middle, end
    static constexpr int kSectionValues = 5;  // S_BEAMREBARAS

    double b, h;        // mm, section width and height
    double as;          // mm, tension face to the centre of its steel (h0 = h - as)
    double fy;          // N/mm2, design strength of the longitudinal steel and the stirrups
    double ft, ftk;     // N/mm2, design and characteristic tensile strength of the concrete
    CArray<UINT, UINT> aComb;    // the design combinations
    CArray<double, double> aAs;  // per combination 3 sections x 5 values (S_BEAMREBARAS)
    int over;                    // 1: a section needs more steel than the section can take
    std::string extra;           // DoubleMap by load key: torsion longitudinal steel, mm2
    std::string crack[3];        // DoubleMap by load key: crack width of each section, m

    T_PDDBEAM_ROW() { Initialize(); }
    void Initialize() {
        b = h = as = fy = ft = ftk = 0.0;
        aComb.RemoveAll();
        aAs.RemoveAll();
        over = 0;
        extra.clear();
        for (std::string& c : crack) c.clear();
    }
    template <class V> void Fields(V& v) {
        v.Real("b", b);
        v.Real("h", h);
        v.Real("as", as);
        v.Real("fy", fy);
        v.Real("ft", ft);
        v.Real("ftk", ftk);
        v.KeyList("combs", aComb);
        v.RealList("areas", aAs);
        v.Int("over", over);
        v.Data("extra", extra);
        v.Data("crack_start", crack[0]);
        v.Data("crack_middle", crack[1]);
        v.Data("crack_end", crack[2]);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "b";
        if (!std::isfinite(b) || !std::isfinite(h) || b <= 0.0 || h <= 0.0) return "the section is not of positive size";
        *pszColumn = "as";
        if (!std::isfinite(as) || as < 0.0 || as >= h) return "the steel lies outside the section";
        *pszColumn = "areas";
        if (aAs.GetSize() != aComb.GetSize() * kSections * kSectionValues)
            return std::to_string(aAs.GetSize()) + " areas for " + std::to_string(aComb.GetSize()) + " combinations";
        *pszColumn = "over";
        if (over != 0 && over != 1) return "the over-limit flag is neither 0 nor 1";
        return {};
    }
};
