// Concrete design results of the host's member design, one row per designed member (the governing
// values over the design's load cases), read through CPostCtrl4Dgn.
//
// Tables (model tables keyed by member key; docs/DATABASE.md gives every column):
//   RBEM  beams (201, 205, 204) and wall beams (210): nine station blocks along the member, i end
//         to j end at k/8 of its length, each with top steel, bottom steel, stirrups and torsion
//         steel, and two shear parts (middle zone, end zones);
//   RCOL  columns (101): four station blocks (bottom, two inner stations, top), four ratio parts
//         (axial-compression ratio at the bottom and the top, shear-compression ratio at the
//         bottom and the top) with their governing load case, the largest compression and end
//         moment, two stirrup parts (middle zone, joint core);
//   RWAL  walls (209): four blocks (bottom, two inner stations, top) of horizontal and end-zone steel;
//   RSLB  slabs (301): bottom steel along X and Y at the centre, top steel at each outline edge.
// Steel areas in mm² (stirrups and distributed steel in mm²/m), forces in kN, moments in kN·m,
// ratios dimensionless. A record's key word is the member key when it holds a result, else 0.
#pragma once

#include <string>

#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

// One station of a beam design: its four values one after the other.
struct T_RBEM_BASE {
    double dAsTop = 0.0;  // top longitudinal steel, mm²
    double dAsBot = 0.0;  // bottom longitudinal steel, mm²
    double dAsv = 0.0;    // stirrups, mm²/m
    double dAst = 0.0;    // torsion longitudinal steel, mm²
};

// The design shear of a zone of a beam and its stirrups.
struct T_RBEM_SHEAR {
    double dV = 0.0;    // largest shear magnitude of the zone, kN
    double dAsv = 0.0;  // stirrups of the zone, mm²/m
};

struct T_RBEM_D {
    static constexpr int kStations = 9;
    UINT nKey = 0;                    // member key; 0 no result (not stored, set when read)
    T_RBEM_BASE base[kStations];      // station k at k/8 of the member from its i end
    T_RBEM_SHEAR shear[2];            // 0 middle zone (stations 3 to 5), 1 end zones (0 to 2, 6 to 8)

    void Initialize() { *this = T_RBEM_D{}; }
    template <class V> void Fields(V& v) {
        v.Reals("stations", &base[0].dAsTop, 4 * kStations);
        v.Reals("shear", &shear[0].dV, 4);
    }
    std::string Validate(const char** pszColumn) const;
};

// One station of a column design.
struct T_RCOL_BASE {
    double dAsx = 0.0;   // steel of each side along local y (bending about local z), mm²
    double dAsy = 0.0;   // steel of each side along local z (bending about local y), mm²
    double dAsc = 0.0;   // one corner bar, mm²
    double dAsvx = 0.0;  // stirrups for shear along local y, mm²/m
    double dAsvy = 0.0;  // stirrups for shear along local z, mm²/m
};

// One ratio of a column: the force it comes from and the ratio.
struct T_RCOL_ELSE {
    double dForce = 0.0;   // axial compression (kN) or shear (kN) the ratio is taken of
    double dFactor = 0.0;  // the ratio
};

// Stirrups of a zone of a column.
struct T_RCOL_SHEAR {
    double dAsvx = 0.0;  // mm²/m
    double dAsvy = 0.0;  // mm²/m
};

struct T_RCOL_D {
    static constexpr int kBlocks = 4;
    static constexpr int kParts = 4;
    UINT nKey = 0;                     // member key; 0 no result (not stored)
    T_RCOL_BASE base[kBlocks];         // 0 bottom (i end), 1 and 2 the inner stations, 3 top (j end)
    T_RCOL_ELSE part[kParts];          // kind 1 to 4: axial-compression ratio bottom, top; shear-compression ratio bottom, top
    double dNmax = 0.0;                // largest axial compression over the stations, kN
    double dMmax = 0.0;                // largest end-moment magnitude over the stations, kN·m
    T_RCOL_SHEAR shear[2];             // 0 middle zone (inner stations), 1 joint core (end stations)
    UINT nPartLoad[kParts] = {};       // governing load case key of each part (stored)

    void Initialize() { *this = T_RCOL_D{}; }
    template <class V> void Fields(V& v) {
        v.Reals("blocks", &base[0].dAsx, 5 * kBlocks);
        v.Reals("parts", &part[0].dForce, 2 * kParts);
        v.Keys("part_load", nPartLoad, kParts);
        v.Real("n_max", dNmax);
        v.Real("m_max", dMmax);
        v.Reals("shear", &shear[0].dAsvx, 4);
    }
    std::string Validate(const char** pszColumn) const;
};

// One station of a wall design.
struct T_RWAL_BASE {
    double dAsh = 0.0;  // horizontal distributed steel, mm²/m
    double dAs = 0.0;   // end-zone longitudinal steel at each end, mm²
};

struct T_RWAL_D {
    static constexpr int kBlocks = 4;
    UINT nKey = 0;                  // member key; 0 no result (not stored)
    T_RWAL_BASE base[kBlocks];      // 0 bottom, 1 and 2 the inner stations, 3 top

    void Initialize() { *this = T_RWAL_D{}; }
    template <class V> void Fields(V& v) { v.Reals("blocks", &base[0].dAsh, 2 * kBlocks); }
    std::string Validate(const char** pszColumn) const;
};

struct T_RSLB_D {
    UINT nKey = 0;                    // member key; 0 no result (not stored)
    double dAsX = 0.0;                // bottom steel along X at the centre, mm²/m
    double dAsY = 0.0;                // bottom steel along Y at the centre, mm²/m
    CArray<double, double> aEdge;     // top steel at each outline edge (edge i: node i to node i + 1), mm²/m

    void Initialize() {
        nKey = 0;
        dAsX = dAsY = 0.0;
        aEdge.RemoveAll();
    }
    template <class V> void Fields(V& v) {
        v.Real("as_x", dAsX);
        v.Real("as_y", dAsY);
        v.RealList("as_edge", aEdge);
    }
    std::string Validate(const char** pszColumn) const;
};
