// Design-force working records of the host's member design: the design forces of one member for
// each design load combination, as the design step hands them to the results module for display.
//
// Each record points to an array of per-combination entries that its owner (the host's design
// step) keeps alive; nComb says how many there are. The module only reads them. Forces in kN,
// moments in kN·m.
#pragma once

// Design forces of a beam at one station.
struct T_FBEM_BASE {
    double dAxial;    // axial force
    double dShear;    // shear force (in the plane of bending)
    double dTorsion;  // torsion
    double dMoment1;  // the two design moments of the station (either face);
    double dMoment2;  // the one of larger magnitude governs

    T_FBEM_BASE() : dAxial(0.0), dShear(0.0), dTorsion(0.0), dMoment1(0.0), dMoment2(0.0) {}
};

// Beam design forces of one combination: stations 0..8 at k/8 of the span; 9 and 10 are the
// host's extra stations (the faces of the supports), which the display does not use.
struct T_FBEM_ENTRY {
    static constexpr int kStations = 11;
    T_FBEM_BASE st[kStations];
};

struct T_FBEM_TEMP_D {
    int nComb = 0;                    // entries
    const T_FBEM_ENTRY* pEntry = nullptr;  // nComb entries, one per design combination
};

// Column, wall-column and truss design forces of one combination: the six components (axial,
// shear y, shear z, torsion, moment y, moment z) at the first and at the last node. A truss
// carries its two end axial forces in component 0.
struct T_FCOL_ENTRY {
    double dFirst[6];
    double dLast[6];

    T_FCOL_ENTRY() {
        for (int c = 0; c < 6; ++c) dFirst[c] = dLast[c] = 0.0;
    }
};

struct T_FCOL_TEMP_D {
    int nComb = 0;
    const T_FCOL_ENTRY* pEntry = nullptr;
};

// Wall columns: the same entries as columns.
struct T_FWAL_TEMP_D {
    int nComb = 0;
    const T_FCOL_ENTRY* pEntry = nullptr;
};
