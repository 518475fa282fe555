// Records of the force engine: what CForceEngine keeps per wall, figure column, cutting line,
// slab-wall cut, strip and diagram, beside the host's own force records (T_STRG_D, T_MBCL_D,
// T_MBBR_D, T_STRP_DL).
//
// Every record is a plain value: copies are member-wise (points by C3DPoint assignment, names by
// CString assignment), a new record is all zero. Forces in kN, moments in kN·m, lengths in m.
// Component order of every force block: 0 axial force, 1 shear y, 2 shear z, 3 torsion,
// 4 moment y, 5 moment z.
#pragma once

#include "host/db/DBResultRecords.h"
#include "host/grx/C3DPoint.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

// A column's forces in three segments along the member, built from the host's four-block
// record: blocks 0 and 1 are the start and end of segment 1 (i end to the first inner station),
// blocks 2 and 3 of segment 2 (between the inner stations), blocks 4 and 5 of segment 3 (second
// inner station to the j end). Adjacent segments share their common station's values.
struct T_PVX_MBCL_D {
    double d[6][6];  // [block][component]

    T_PVX_MBCL_D() { Initialize(); }
    void Initialize();
    // Blocks from a host record (0 i end, 1 j end, 2 and 3 the inner stations from i to j).
    void ConvertFromMbcl(const T_MBCL_D& src);
    T_PVX_MBCL_D& operator=(const T_PVX_MBCL_D& src);
    T_PVX_MBCL_D(const T_PVX_MBCL_D& src) { *this = src; }
};

// One wall-column: its host forces, their extremes for the component current at build time and
// five points that the wall diagrams write their numbers at (after the build P1, P2, their
// midpoint and twice the origin).
struct T_PVX_WCOLM_D {
    UINT nKey = 0;        // member key
    T_MBCL_D Forc{};      // host forces
    double dMax = 0.0;
    double dMin = 0.0;
    C3DPoint Pnt[5];
    int nComp = 0;        // component the points were last stored for
};

// One wall-beam: as T_PVX_WCOLM_D with the eight-segment beam record.
struct T_PVX_WBEAM_D {
    UINT nKey = 0;
    T_STRG_D Forc{};
    double dMax = 0.0;
    double dMin = 0.0;
    C3DPoint Pnt[5];
    int nComp = 0;
};

// End forces of one column of a design figure (torsion is not carried).
struct T_PVX_BFORC_D {
    UINT nMembKey = 0;
    // First node: shear y, shear z, axial force, moment y, moment z; then the same at the last node.
    double dForce[10] = {};
    C3DPoint ptI;         // the member's first end
    C3DPoint ptJ;         // the member's last end
};

// One cutting line of the strip and rib-beam diagrams: its ends, widths and forces along it in
// the eight-segment layout (only moment, component 0, and shear, component 3, are filled).
struct T_PVX_CLFC_D {
    CString strName;      // strip name; empty for a rib beam
    double dWidthPos = 0.0;  // width on the positive side (plan normal of the line turned 90° left)
    double dWidthNeg = 0.0;  // width on the negative side
    double dWidth = 0.0;     // strip width
    double dX1 = 0.0, dY1 = 0.0, dZ1 = 0.0;  // start point
    double dX2 = 0.0, dY2 = 0.0, dZ2 = 0.0;  // end point
    T_STRG_D Forc{};
    T_STRG_D Forc2{};     // second force block, zero
    double dArc = 0.0;    // arc value of a curved line; 0 for a straight one
};

// One wall end of the slab-wall display: the cut across the wall at that end and the design
// values of the slab across the cut.
struct T_PVX_SWALL_D {
    UINT nWallKey = 0;
    int nEnd = 0;                 // 0 the wall's first node, 1 its last node
    double dCut1[3] = {};         // first end of the cut
    double dCut2[3] = {};         // second end of the cut
    double dMoment = 0.0;         // design moment across the cut
    double dShear = 0.0;          // design shear across the cut
    double dRebar = 0.0;          // reinforcement across the cut
    double dEndNode[3] = {};      // the wall's end node
    double dAdjNode[3] = {};      // the wall's next node inward from that end
    int bDesigned = 0;            // the host gave the design values (else they are 0 and not shown)
};

// One design strip as picked on the strip page.
struct T_STRIP_INFO {
    CString strName;
    double dWidth = 0.0;
    double x1 = 0.0, y1 = 0.0;    // first point in plan
    double x2 = 0.0, y2 = 0.0;    // second point in plan
};

// Output record of one beam diagram: its label points, the forces it was built from and its two
// values (minimum and maximum, or 0 and the signed extreme, as the number options ask).
struct T_SFDBMD_OUTVAL_D {
    C3DPoint pt[4];
    T_STRG_D Forc{};
    UINT nKey = 0;        // element key
    int nComp = 0;        // component drawn, 0..5
    double dVal[2] = {};
};

// Output record of one column diagram: label points (i end, middle, j end, half-way between the
// end points), the forces and the minimum, maximum and middle station values.
struct T_SFDBMD_OUTVAL_D2 {
    C3DPoint pt[4];
    T_MBCL_D Forc{};
    UINT nKey = 0;
    int nComp = 0;
    double dVal[3] = {};
};
