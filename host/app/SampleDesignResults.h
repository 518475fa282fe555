// The sample's concrete design results (tables RBEM, RCOL, RWAL, RSLB), from the project's own
// forces under its linear combinations, by closed forms:
//
//   steel for a moment M (kN·m):        As  = |M| 1e6 / (0.9 fy h0)       mm²
//   stirrups for a shear V (kN):        Asv = |V| 1e6 / (fyv h0)          mm²/m
//   axial-compression ratio:            N 1e3 / (fc A)                   (N compression, kN)
//   shear-compression ratio:            V 1e3 / (fc b h0)
//
// with fc = 14.3, fy = 360, fyv = 270 N/mm² and h0 the section depth less 40 mm (beams, wall
// beams, columns), the wall length less 200 mm (walls) or the slab thickness less the slab cover
// (slabs; an edge takes the largest of its values of the negative side list). Every value is the largest over the linear combinations (PLCOM type linear) of the
// combined result rows. Designed: beams (201, 205, 204) of one element with a rectangular section
// (forces MBWG by element key), wall beams (210, forces MBWB by result number), columns (101, MBCL,
// rectangular section), walls (209, MBWC) and slab members (301 with a PSLAB record, moments
// SMNT). Stations: a beam's nine stations of its force record, a column's and wall's four blocks
// in the order bottom, first inner, second inner, top (the force blocks 0, 2, 3, 1).
// scripts/check_sample_design.py computes the same from the file and compares.
#pragma once

class CDataBase;

namespace sample_design {

constexpr double kFc = 14.3;        // N/mm², C30
constexpr double kFy = 360.0;       // N/mm², longitudinal steel
constexpr double kFyv = 270.0;      // N/mm², stirrups and distributed steel
constexpr double kCoverBeam = 40.0;   // mm from the face to the steel of beams and columns
constexpr double kWallEndZone = 200.0;  // mm from a wall end to its end-zone steel

double SteelForMoment(double moment, double h0mm);
double StirrupsForShear(double shear, double h0mm);

// Adds the design tables to the database from its forces; returns the number of rows added.
long AddSampleDesignResults(CDataBase& db);

}  // namespace sample_design
