// Stored rows of the foundation check tables. Each row keeps the inputs of its closed forms and
// its check results as keyed maps of check results (BLOBs in the layout of CheckData.h, read
// and written by host/check/CheckTables.h); docs/DATABASE.md gives the closed forms.
#pragma once

#include <cmath>
#include <string>

#include "platform/afx/afxtypes.h"

// Checks of one column footing (PCDCOLF, key = the footing's key).
struct T_PCDCOLF_ROW {
    double depth;     // m, base below ground: soil and footing weight G = 20 kN/m3 x A x depth
    double fa;        // kPa, bearing capacity (the maximum pressure is checked against 1.2 fa)
    double faz;       // kPa, bearing capacity of the weak layer at 1 m below the base
    double ft;        // kPa, design tensile strength of the footing concrete
    std::string czl;  // CZLCheckMap by standard combination
    std::string weak; // CheckDataMap by standard combination
    std::string cq;   // CJCheckMap by basic combination (punching)
    std::string jq;   // CJCheckMap by basic combination (shear)
    std::string pnet; // DoubleMap by basic combination: net base pressure N / A, kPa

    void Initialize() {
        depth = fa = faz = ft = 0.0;
        czl.clear(); weak.clear(); cq.clear(); jq.clear(); pnet.clear();
    }
    template <class V> void Fields(V& v) {
        v.Real("depth", depth);
        v.Real("fa", fa);
        v.Real("faz", faz);
        v.Real("ft", ft);
        v.Data("czl", czl);
        v.Data("weak", weak);
        v.Data("cq", cq);
        v.Data("jq", jq);
        v.Data("pnet", pnet);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "depth";
        if (depth < 0.0) return "the depth is negative";
        *pszColumn = "fa";
        if (fa <= 0.0 || faz <= 0.0 || ft <= 0.0) return "a strength is not a positive number";
        return {};
    }
};

// Local compression under one column (PCDCJY, key = the column's key).
struct T_PCDCJY_ROW {
    double fc;           // kPa, design compressive strength of the concrete under the column
    std::string checks;  // CheckDataMap by basic combination

    void Initialize() {
        fc = 0.0;
        checks.clear();
    }
    template <class V> void Fields(V& v) {
        v.Real("fc", fc);
        v.Data("checks", checks);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "fc";
        return fc > 0.0 ? std::string() : std::string("the strength is not a positive number");
    }
};

// Soil bearing under one foundation beam (PCDBEAM, key = the beam's key).
struct T_PCDBEAM_ROW {
    double width;     // m, width of the beam's base
    double depth;     // m, base below ground (G as for a footing)
    double fa;        // kPa, bearing capacity
    std::string czl;  // CZLCheckMap by standard combination

    void Initialize() {
        width = depth = fa = 0.0;
        czl.clear();
    }
    template <class V> void Fields(V& v) {
        v.Real("width", width);
        v.Real("depth", depth);
        v.Real("fa", fa);
        v.Data("czl", czl);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "width";
        if (width <= 0.0) return "the width is not a positive number";
        *pszColumn = "fa";
        if (fa <= 0.0) return "the bearing capacity is not a positive number";
        return {};
    }
};

// Checks of one pile (PCDPILE, key = the pile's member key).
struct T_PCDPILE_ROW {
    double ra;           // kN, bearing capacity of the pile
    double tu;           // kN, uplift capacity of the pile
    std::string czl;     // PileCZLCheckMap by check group
    std::string cq;      // CheckDataMap by check group, punching of the cap over the pile
    std::string jy;      // CheckDataMap by check group, local compression of the pile top

    void Initialize() {
        ra = tu = 0.0;
        czl.clear();
        cq.clear();
        jy.clear();
    }
    template <class V> void Fields(V& v) {
        v.Real("ra", ra);
        v.Real("tu", tu);
        v.Data("czl", czl);
        v.Data("cq", cq);
        v.Data("jy", jy);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "ra";
        if (ra <= 0.0) return "the bearing capacity is not a positive number";
        *pszColumn = "tu";
        if (tu < 0.0) return "the uplift capacity is negative";
        return {};
    }
};
