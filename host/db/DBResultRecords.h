// Result records of the post database: nodal displacements and reactions, member, wall and
// plate forces, mode shapes, frequencies and participating masses.
//
// Records are plain fixed-size values. Each carries a static `unit` table: entry n is the
// unit code (see CUnitCtrl) of its n-th displayed component, which the legend turns into a
// unit text. Results are stored per load case (or per mode) and key; `CPostCtrl` combines
// them for the selected load. Forces in kN, moments in kN·m, lengths in m, stresses in kN/m2.
#pragma once

#include "platform/afx/afx.h"

#include <cstdio>
#include <cstring>
#include <string>

// Unit codes understood by `CUnitCtrl::GetUnitSystem`.
enum {
    PVXUNIT_NONE = 0,
    PVXUNIT_MM = 1,            // crack width, displacement
    PVXUNIT_FORCE = 2,         // kN
    PVXUNIT_M = 3,
    PVXUNIT_RAD = 4,
    PVXUNIT_MOMENT = 5,        // kN·m
    PVXUNIT_FORCE_LEN = 6,     // kN/m, membrane force
    PVXUNIT_MOMENT_LEN = 7,    // kN·m/m, plate moment
    PVXUNIT_STRESS = 8,        // kN/m2
    PVXUNIT_STEEL = 9,         // mm2, steel area
    PVXUNIT_STEEL_LEN = 10,    // mm2/m
    PVXUNIT_ANGLE = 11,        // degrees
    PVXUNIT_DSGN_MOMENT = 12,  // kN·m, design moment
    PVXUNIT_STRIP_MOMENT = 13, // kN·m/m, strip moment
    PVXUNIT_PRESSURE = 14,     // kPa
    PVXUNIT_HZ = 15,
    PVXUNIT_SEC = 16,
    PVXUNIT_DSGN_FORCE = 17,   // kN, design force
    PVXUNIT_PERCENT = 18,
    PVXUNIT_RATIO = 19,        // dimensionless
    PVXUNIT_SHAPE = 20,        // normalised mode-shape amplitude
    PVXUNIT_ACCEL = 21,        // m/s2
    PVXUNIT_VELOCITY = 22,     // m/s
    PVXUNIT_COUNT = 23
};

// Nodal displacement.
struct T_DISP_D {
    double DX, DY, DZ;  // mm
    double RX, RY, RZ;  // rad

    static constexpr int unit[6] = {PVXUNIT_MM, PVXUNIT_MM, PVXUNIT_MM, PVXUNIT_RAD, PVXUNIT_RAD, PVXUNIT_RAD};
    void Initialize() { DX = DY = DZ = RX = RY = RZ = 0.0; }
    template <class V> void Fields(V& v) {
        v.Real("DX", DX); v.Real("DY", DY); v.Real("DZ", DZ);
        v.Real("RX", RX); v.Real("RY", RY); v.Real("RZ", RZ);
    }
};

// Mode-shape amplitude of a node in one mode.
struct T_MODE_D {
    double DX, DY, DZ;
    double RX, RY, RZ;

    static constexpr int unit[6] = {PVXUNIT_SHAPE, PVXUNIT_SHAPE, PVXUNIT_SHAPE, PVXUNIT_SHAPE, PVXUNIT_SHAPE, PVXUNIT_SHAPE};
    void Initialize() { DX = DY = DZ = RX = RY = RZ = 0.0; }
    template <class V> void Fields(V& v) {
        v.Real("DX", DX); v.Real("DY", DY); v.Real("DZ", DZ);
        v.Real("RX", RX); v.Real("RY", RY); v.Real("RZ", RZ);
    }
};

// Support reaction of a node.
struct T_REAC_D {
    double FX, FY, FZ;  // kN
    double MX, MY, MZ;  // kN·m

    static constexpr int unit[6] = {PVXUNIT_FORCE, PVXUNIT_FORCE, PVXUNIT_FORCE, PVXUNIT_MOMENT, PVXUNIT_MOMENT, PVXUNIT_MOMENT};
    void Initialize() { FX = FY = FZ = MX = MY = MZ = 0.0; }
    template <class V> void Fields(V& v) {
        v.Real("FX", FX); v.Real("FY", FY); v.Real("FZ", FZ);
        v.Real("MX", MX); v.Real("MY", MY); v.Real("MZ", MZ);
    }
};

// Member forces at nine stations (i-end, 1/8 ... 7/8, j-end), six components each:
// 0 axial, 1 shear y, 2 shear z, 3 torsion, 4 moment y, 5 moment z.
struct T_MBWG_D {
    double d[9][6];

    static constexpr int unit[6] = {PVXUNIT_FORCE, PVXUNIT_FORCE, PVXUNIT_FORCE, PVXUNIT_MOMENT, PVXUNIT_MOMENT, PVXUNIT_MOMENT};
    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) { v.Reals("d", &d[0][0], 54); }
};

// Member forces by segment: 8 segments x (start, end) x 6 components (as T_MBWG_D);
// value (segment s, end e, component c) is d[12 s + 6 e + c].
struct T_STRG_D {
    double d[96];

    static constexpr int unit[6] = {PVXUNIT_FORCE, PVXUNIT_FORCE, PVXUNIT_FORCE, PVXUNIT_MOMENT, PVXUNIT_MOMENT, PVXUNIT_MOMENT};
    void Initialize() { memset(this, 0, sizeof(*this)); }
    // Segment s runs from station s to station s + 1 of the station record.
    void SetByMbwg(const T_MBWG_D& w) {
        for (int s = 0; s < 8; ++s)
            for (int c = 0; c < 6; ++c) {
                d[12 * s + c] = w.d[s][c];
                d[12 * s + 6 + c] = w.d[s + 1][c];
            }
    }
    template <class V> void Fields(V& v) { v.Reals("d", d, 96); }
};

// Column forces: 4 blocks (0 first node, 1 last node, 2 first intermediate, 3 second
// intermediate station) x 6 components.
struct T_MBCL_D {
    double d[4][6];

    static constexpr int unit[6] = {PVXUNIT_FORCE, PVXUNIT_FORCE, PVXUNIT_FORCE, PVXUNIT_MOMENT, PVXUNIT_MOMENT, PVXUNIT_MOMENT};
    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) { v.Reals("d", &d[0][0], 24); }
};

// Truss forces: 2 ends x 6 components.
struct T_MBBR_D {
    double d[2][6];

    static constexpr int unit[6] = {PVXUNIT_FORCE, PVXUNIT_FORCE, PVXUNIT_FORCE, PVXUNIT_MOMENT, PVXUNIT_MOMENT, PVXUNIT_MOMENT};
    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) { v.Reals("d", &d[0][0], 12); }
};

// Design forces along a slab strip or a rib beam at five stations, 0, 1/4, 1/2, 3/4 and 1 of
// its length from its start: the bending moment about the line's plan normal and the shear
// force across it, each over the strip's width or the rib's flange.
struct T_CLDF_D {
    double m[5];  // kN·m
    double v[5];  // kN

    static constexpr int unit[2] = {PVXUNIT_MOMENT, PVXUNIT_FORCE};
    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v_) {
        v_.Reals("m", m, 5);
        v_.Reals("v", v, 5);
    }
};

// Wall forces at three levels (bottom, middle, top), eight components: 0 axial, 1 shear y,
// 2 shear z, 3 torsion, 4 moment y, 5 moment z, 6 shear yz, 7 moment yz.
struct T_STRW_D {
    double d[3][8];

    static constexpr int unit[8] = {PVXUNIT_FORCE, PVXUNIT_FORCE, PVXUNIT_FORCE, PVXUNIT_MOMENT,
                                    PVXUNIT_MOMENT, PVXUNIT_MOMENT, PVXUNIT_FORCE, PVXUNIT_MOMENT};
    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) { v.Reals("d", &d[0][0], 24); }
};

// Plate and slab element results: 24 leading values, then 5 blocks of 30 (block 0 the
// centre, blocks 1-4 the corner nodes in element order). In a block:
//   0-6   surface 1: sxx, syy, txy, s1, s2, principal angle, effective stress
//   7-13  surface 2: the same
//   14-16 membrane forces Fxx, Fyy, Fxy; 17, 18 principal max, min; 19 their angle
//   20-22 moments Mxx, Myy, Mxy; 23, 24 principal max, min; 25 their angle
//   26, 27 shear forces Vxx, Vyy; 28, 29 maximum shear stress of surfaces 1 and 2
struct T_STRP_DL {
    double head[24];
    double blk[5][30];

    static constexpr int unit[34] = {
        PVXUNIT_STRESS, PVXUNIT_STRESS, PVXUNIT_STRESS, PVXUNIT_STRESS, PVXUNIT_STRESS, PVXUNIT_ANGLE, PVXUNIT_STRESS,
        PVXUNIT_STRESS, PVXUNIT_STRESS, PVXUNIT_STRESS, PVXUNIT_STRESS, PVXUNIT_STRESS, PVXUNIT_ANGLE, PVXUNIT_STRESS,
        PVXUNIT_FORCE_LEN, PVXUNIT_FORCE_LEN, PVXUNIT_FORCE_LEN, PVXUNIT_FORCE_LEN, PVXUNIT_FORCE_LEN, PVXUNIT_ANGLE,
        PVXUNIT_FORCE_LEN, PVXUNIT_FORCE_LEN, PVXUNIT_FORCE_LEN,                       // 20-22 membrane forces
        PVXUNIT_FORCE_LEN, PVXUNIT_FORCE_LEN,                                          // 23-24 principal membrane
        PVXUNIT_ANGLE,                                                                 // 25
        PVXUNIT_MOMENT_LEN, PVXUNIT_MOMENT_LEN, PVXUNIT_MOMENT_LEN,                    // 26-28 moments
        PVXUNIT_ANGLE,                                                                 // 29
        PVXUNIT_MOMENT_LEN,                                                            // 30 principal moment
        PVXUNIT_ANGLE,                                                                 // 31
        PVXUNIT_FORCE_LEN, PVXUNIT_FORCE_LEN};                                         // 32-33 shear forces
    void Initialize() { memset(this, 0, sizeof(*this)); }
    // Recomputes the values derived from the components in every block: principal values,
    // their angles (degrees), effective stresses and maximum shear. A sum of records sums the
    // components correctly but not these.
    void UpdateDerived();
    template <class V> void Fields(V& v) {
        v.Reals("head", head, 24);
        v.Reals("blk", &blk[0][0], 150);
    }
};

// Beam stresses at the five quarter points, or plate stresses one per node in node order.
struct T_STWS_D {
    double d[8];

    static constexpr int unit[1] = {PVXUNIT_STRESS};
    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) { v.Reals("d", d, 8); }
};

// Eigenvalue results of one mode.
struct T_FREQ_D {
    double omega;     // circular frequency, rad/s
    double freq;      // Hz
    double period;    // s
    double factor;    // critical load factor of a buckling mode
    double damping;   // modal damping ratio (fraction)

    void Initialize() { omega = freq = period = factor = damping = 0.0; }
    template <class V> void Fields(V& v) {
        v.Real("omega", omega);
        v.Real("freq", freq);
        v.Real("period", period);
        v.Real("factor", factor);
        v.Real("damping", damping);
    }
};

// Participating masses of one mode, percent, in the order of `name`.
struct T_MPAM_D {
    double mass[6];

    static constexpr const char* name[6] = {"X", "Y", "Z", "RX", "RY", "RZ"};
    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) { v.Reals("mass", mass, 6); }
};

// Time history of a node under one time-history case: nStep steps of dt seconds, at each step
// displacement, velocity and acceleration (six components each, as T_DISP_D).
// Value (step s, quantity q 0..2, component c) is aValue[18 s + 6 q + c].
struct T_DISPHIS_D {
    int nStep;                          // number of steps
    double dt;                          // s
    CArray<double, double> aValue;      // 18 x nStep values

    T_DISPHIS_D() { Initialize(); }
    void Initialize() {
        nStep = 0;
        dt = 0.0;
        aValue.RemoveAll();
    }
    template <class V> void Fields(V& v) {
        v.Int("nstep", nStep);
        v.Real("dt", dt);
        v.RealList("values", aValue);
    }
    // The values are 18 per step, and the steps follow each other in time.
    std::string Validate(const char** pszColumn) const {
        *pszColumn = nStep < 0 ? "nstep" : "values";
        if (nStep < 0) return "a negative number of steps";
        if (nStep > 0 && !(dt > 0.0)) {
            *pszColumn = "dt";
            char text[96];
            std::snprintf(text, sizeof text, "a time step of %g s: the steps of a history must follow each other in time",
                          dt);
            return text;
        }
        if (aValue.GetSize() == 18 * static_cast<INT_PTR>(nStep)) return {};
        return std::to_string(aValue.GetSize()) + " values where " + std::to_string(nStep) + " steps need 18 x " +
               std::to_string(nStep) + " = " + std::to_string(18 * static_cast<long long>(nStep));
    }
};
