// Records of the design result data engine (CFigureDesignData): labels, diagrams and per-member
// design values of the plan design figures.
//
// Every record is a plain value: a new one is all zero (points at the origin), copies are
// member-wise. Points are world points (m); values are the design results' units (steel mm²,
// forces kN, ratios dimensionless).
#pragma once

#include "host/grx/C3DPoint.h"
#include "platform/afx/afxtypes.h"

// Axial-compression ratio label of one column.
struct T_AXIAL_COMP_R {
    double dRatio1 = 0.0;  // ratio of kind 1 (axial-compression ratio at the bottom)
    double dRatio2 = 0.0;  // ratio of kind 2 (at the top)
    double dValue3 = 0.0;  // first result value of the column's design (largest compression, kN)
    double dValue4 = 0.0;  // second result value (largest end moment, kN·m)
    C3DPoint pt;           // anchor: the last node of the member
    UINT nKey = 0;         // member key
};

// Design values of one beam at its nine stations.
struct T_BEAM_SD {
    int nMaxIdx[3] = {};          // per value row, the inner station (1 to 7) of its largest value
    double dVal[3][9] = {};       // value row r at station k
    C3DPoint pt[9];               // station k at k/8 from the first to the last node
};

// Envelope record of one beam: the fields of T_BEAM_SD in the same order.
struct T_BEAM_BM : public T_BEAM_SD {};

// Deformation values of one beam.
struct T_BEAM_DISP {
    double d[10] = {};  // values at the ten stations of the deformation polyline
    double dMid = 0.0;  // middle value of the diagram
};

// One diagram polyline of a beam.
struct T_DIAGRAM_D {
    UINT nKey = 0;         // member key
    C3DPoint pt[10];       // diagram points (steel and envelope diagrams use the first nine)
    C3DPoint ref[3];       // reference points (stations 1, 4 and 7)
    double dVal[3] = {};   // value at the first point, middle value, value at the ninth point
};

// Area-steel label of one column.
struct T_COLM_AS {
    double d[8] = {};  // see CFigureDesignData::MakeAreaSteelDrawingDataList
    C3DPoint pt;       // anchor
    UINT nKey = 0;
};

// Area-steel label of one beam: three top values, three bottom values, four stirrup and torsion
// values (d[0..9]); label points 1 and 2 (the member centre) and two reset points; the end points.
struct T_BEAM_AS {
    double d[10] = {};
    C3DPoint ptLabel[4];
    C3DPoint ptEnd[2];
    UINT nKey = 0;
};

// Area-steel label of one wall beam (the shape of T_BEAM_AS).
struct T_WBEM_AS : public T_BEAM_AS {};

// Per-slab values (slab force, crack and area-steel maps).
struct T_SMOMENT_D {
    double d[6] = {};
    UINT nKey = 0;
    C3DPoint pt;
};

// One slab edge or strip value between two points.
struct T_SFORCE_D {
    double dValue = 0.0;
    C3DPoint ptA;
    C3DPoint ptB;
    UINT nKey = 0;  // slab member key
};

// Area-steel label of one wall.
struct T_WALL_AS {
    double d[2] = {};
    C3DPoint pt;        // anchor (member centre)
    C3DPoint ptEnd[2];  // the two end nodes
    UINT nKey = 0;
};

struct T_BRTR_AS {
    double d[3] = {};
    C3DPoint pt;
    C3DPoint ptEnd[2];
    UINT nKey = 0;
};

// Crack widths of one beam: three values above and three below, at start, middle and end.
struct T_BCRACK_D {
    double d[6] = {};
    C3DPoint pt[3];
    DWORD dwFlag = 0;
};

// One deformation label: value, anchor and (beams) the member direction from point 2 to 3.
struct T_DEFORM_D {
    UINT nKey = 0;
    double dValue = 0.0;
    C3DPoint pt[3];
};

struct T_WCOLM_FORC {
    UINT nKey = 0;
    double d[5] = {};
    C3DPoint pt[3];
};

// Side-wall steel: points 3 and 4 (pt[2], pt[3]) are the wall line, "Ls" and "Lc" its values.
struct T_SWALL_D {
    C3DPoint pt[4];
    DWORD dwFlag = 0;
    double dLs = 0.0;
    double dLc = 0.0;
    DWORD nSide = 0;  // 0: "Ls" above, "Lc" below the line; else the other way round
};

// Side-wall node: its point and values (the first and third are written).
struct T_SNODE_D {
    C3DPoint pt;
    double d[3] = {};
};

// Base-column forces of one column: five values stacked at the first point.
struct T_BASE_SHEAR_D {
    UINT nKey = 0;
    double d[5] = {};
    C3DPoint pt[2];
};

// A value and its point: one entry of a text label list.
struct T_TEXT_VALUE {
    double dValue = 0.0;
    C3DPoint pt;
};
