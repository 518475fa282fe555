// Design results of the host's slab design, read by the slab reinforcement and slab-wall displays.
//
// T_SLDG_D: the detail design of one slab member (member type 301) under one design load
// combination (table SLDG, result rows keyed by combination key and member key). The design takes
// the member's design moments (at its centre along its two rebar directions and one per outline
// edge on each face) and gives the reinforcement of each. CSlabDetailDgn hands them out.
//
// T_SWDF_D: the slab's design forces per metre across the two ends of a wall member (member type
// 202) standing on it, for one load case (table SWDF, result rows keyed by load case and wall
// member key; combinations are summed like every result). CCuttingLine::GetWallDesignForce turns
// them into the forces across a cut of a given length and the reinforcement for that moment.
#pragma once

#include <cmath>
#include <string>

#include "platform/afx/CArray.h"
#include "platform/afx/afx.h"

struct T_SLDG_D {
    double forceA;                 // design moment at the centre along rebar direction X, kN·m/m
    double forceB;                 // along rebar direction Y, kN·m/m
    CArray<double, double> aForceA;  // top-face design moment of each outline edge, kN·m/m
    CArray<double, double> aForceB;  // bottom-face design moment of each outline edge, kN·m/m
    double resultA;                // bottom reinforcement at the centre along X, mm²/m
    double resultB;                // along Y, mm²/m
    double resultC;                // minimum reinforcement of the section, mm²/m
    CArray<double, double> aResultA;  // top reinforcement of each outline edge, mm²/m
    CArray<double, double> aResultB;  // bottom reinforcement of each outline edge, mm²/m

    T_SLDG_D() { Initialize(); }
    void Initialize() {
        forceA = forceB = resultA = resultB = resultC = 0.0;
        aForceA.RemoveAll();
        aForceB.RemoveAll();
        aResultA.RemoveAll();
        aResultB.RemoveAll();
    }
    template <class V> void Fields(V& v) {
        v.Real("force_a", forceA);
        v.Real("force_b", forceB);
        v.RealList("force_edge_a", aForceA);
        v.RealList("force_edge_b", aForceB);
        v.Real("result_a", resultA);
        v.Real("result_b", resultB);
        v.Real("result_c", resultC);
        v.RealList("result_edge_a", aResultA);
        v.RealList("result_edge_b", aResultB);
    }
    // Every edge list holds one value per outline edge: all four lists are of one length.
    std::string Validate(const char** pszColumn) const {
        const INT_PTR n = aForceA.GetSize();
        const CArray<double, double>* lists[3] = {&aForceB, &aResultA, &aResultB};
        const char* names[3] = {"force_edge_b", "result_edge_a", "result_edge_b"};
        for (int i = 0; i < 3; ++i)
            if (lists[i]->GetSize() != n) {
                *pszColumn = names[i];
                return std::to_string(lists[i]->GetSize()) + " edge values where force_edge_a has " + std::to_string(n);
            }
        return {};
    }
};

struct T_SWDF_D {
    double m[2];  // design moment per metre across the wall's first (0) and last (1) end, kN·m/m
    double v[2];  // design shear per metre across the two ends, kN/m
    int h0;       // effective depth of the slab under the wall, mm

    void Initialize() {
        m[0] = m[1] = v[0] = v[1] = 0.0;
        h0 = 0;
    }
    template <class V> void Fields(V& vis) {
        vis.Reals("m", m, 2);
        vis.Reals("v", v, 2);
        vis.Int("h0", h0);
    }
    // The reinforcement needs a positive depth.
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "h0";
        return h0 > 0 ? std::string() : "an effective depth of " + std::to_string(h0) + " mm (it must be positive)";
    }
};
