// CBeamDiagram_PVX: the exact beam diagram calculator. A model keeps at most one, made on demand
// by the deformation drawing and deleted with the model.
//
// `MakeBeamDispl(elem, dispI, dispJ, nDiv, option, factor)` builds the deflected shape of one
// beam element from its two end displacements: stations along the element (distances from end
// i, `GetStationCount`/`GetStationPos`), the local deflection per station and direction
// (`GetLocalDispl`) and the global displacement triple per station (`GetStationDispl`). Each call
// starts from a cleared state, so results belong to the last call. Directions: 1 the element
// axis, 2 local y (bending about local z), 3 local z. Values are in the database's units.
//
// The load-term routines (`calc_displ`, `calc_ShearDispl` and the routines they dispatch to)
// add simply-supported-span deflections of single loads at the flexible-span stations built by
// the combination form of `MakeBeamDispl`; `ConForce` .. `CalcSFBMDetail` build per-segment
// shear/moment polynomials; `GetSectStrsByPos_Sub`/`GetMaxStress` recover section stresses from
// a stress table of nine coefficients per stress point.
#pragma once

#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"
#include "host/db/DBTables.h"
#include "platform/afx/CArray.h"

class CBeamDiagram_PVX {
public:
    static constexpr int MAX_STATION = 300;   // stations per direction used by the shape builders
    static constexpr int MAX_DIV = MAX_STATION - 5;  // nDiv + 1 plus up to four offset points
    static constexpr int MAX_SEGMENT = 300;   // load segments per direction
    // Displacement units per length unit of the database (displacements in mm, lengths in m):
    // a rotation of theta rad tilts a deflection curve by 1000 theta mm per m.
    static constexpr double kDisplPerLength = 1000.0;
    // A mode vector's translations and rotations are one vector in the database's length unit:
    // a rotation of theta tilts its curve by theta per m.
    static constexpr double kModeDisplPerLength = 1.0;

    CBeamDiagram_PVX();
    virtual ~CBeamDiagram_PVX();
    CBeamDiagram_PVX(const CBeamDiagram_PVX&) = delete;
    CBeamDiagram_PVX& operator=(const CBeamDiagram_PVX&) = delete;

    // ---- Deflected shape ----
    // From the end displacements (global DX..RZ of end i and end j). 1 built; 0 when the element
    // is not a beam, a length is not positive or nDiv is outside 1..MAX_DIV. option is unused.
    // The flexible span of each bending direction is a cubic Hermite curve through the end
    // deflections whose end slopes are the sines of the end rotations when factor is 1 (its
    // tangents are factor times the span length); rigid end zones turn with their end.
    // displPerLength: translation units per length unit, kDisplPerLength for displacements in
    // mm, kModeDisplPerLength for a mode vector.
    int MakeBeamDispl(unsigned int elem, T_DISP_D dispI, T_DISP_D dispJ, int nDiv, int option, double factor,
                      double displPerLength = kDisplPerLength);
    // For a load combination: builds the stations and the relative flexible-span positions the
    // load terms use and returns 0 (no deflection is computed here). An envelope combination is
    // refused with a message.
    int MakeBeamDispl(unsigned int elem, T_PLCOM_D& lcom, int nDiv, int option);
    void InitBeamDispl();
    int MakeCfmo(unsigned int memb, T_CFMO_D& out);
    int GetLcom4Disp(T_PLCOM_D& in, T_PLCOM_D& out);
    int GetStaticLcom(T_PLCOM_D& in, T_PLCOM_D& out);
    int GetDynamicLcom(T_PLCOM_D& in, T_PLCOM_D& out);
    static int Compare_Dist(const void* a, const void* b);

    // Results of the last build.
    int GetStationCount() const { return static_cast<int>(m_arrDist.GetSize()); }
    double GetStationPos(int k) const { return m_arrDist[k]; }
    // Global displacement of station k (X, Y, Z).
    void GetStationDispl(int k, double out[3]) const;
    // Local deflection of station k in direction d (1..3).
    double GetLocalDispl(int d, int k) const { return m_dDispl[d][k]; }
    int GetSpanStart(int d) const { return m_nStart[d]; }
    int GetSpanEnd(int d) const { return m_nEnd[d]; }
    double GetLength(int d) const { return m_dLen[d]; }
    const CArray<double, double>& GetRelDist(int d) const { return m_arrRelDist[d]; }
    const T_CFMO_D& GetCfmo() const { return m_cfmoDispl; }

    // ---- Builders for a load combination ----
    // Each refuses an envelope combination with a message and validates the element; none
    // computes forces yet, so each returns 0 and callers keep their ordinary drawing.
    int SetBeamDiagram(unsigned int elem, T_PLCOM_D& lcom, int n, int option);
    int SetBeamDiagram_Line(CArray<unsigned int, unsigned int>& elems, T_PLCOM_D& lcom, double spacing, int option);
    int MakeBeamSFBM(unsigned int elem, T_PLCOM_D& lcom, int nDiv);

    // ---- Material and section constants used by the load terms ----
    // From the element's material and section records: E, nu, G, I2 = value 6, I3 = value 5,
    // As2 = value 2, As3 = value 3 of the section's stiffness set. 0 when a record is missing.
    int SetProperties(unsigned int elem, int option);
    // Sets E, nu and G from the material and returns the stiffness set the section type uses
    // (types 1, 3, 8: set 1; type 5: set 1 with its first six values averaged with set 2;
    // others: set 3). The section record is not changed; the result lives until the next call.
    T_PSECT_STIFFNESS* GetProperStiffness(T_PSECT_D& sect, T_PMATL_D matl, int option);
    double GetE() const { return m_dE; }
    double GetNu() const { return m_dNu; }
    double GetG() const { return m_dG; }
    double GetI(int d) const { return m_dI[d]; }
    double GetAs(int d) const { return m_dAs[d]; }
    void SetMaterial(double E, double nu);
    void SetSection(int d, double I, double As) { m_dI[d] = I; m_dAs[d] = As; }

    // ---- Load-term deflections on a simply supported span of direction d ----
    // kind 1 point force (a=p1, P=p2); 2 point moment (a=p1, M0=p2); 3 linear force (a=p1,
    // w1=p2, b=p3, w2=p4); 4 linear moment (same layout).
    void calc_displ(int d, int kind, double p1, double p2, double p3, double p4);
    void calc_ShearDispl(int d, int kind, double p1, double p2, double p3, double p4);
    void calc_ConForce_d(int d, double a, double P);
    void calc_ConMoment_d(int d, double a, double M0);
    void calc_DistForce_d(int d, double a, double w1, double b, double w2);
    void calc_UniFrc_d(int d, double a, double b, double w);
    void calc_GrowDownFrc_d(int d, double a, double b, double w);  // w at a falling to 0 at b
    void calc_GrowUpFrc_d(int d, double a, double b, double w);    // 0 at a rising to w at b
    void calc_DistMoment_d(int d, double a, double w1, double b, double w2);
    void calc_UniMnt_d(int d, double a, double b, double w);
    void calc_DeclinedMnt_d(int d, double a, double b, double w);  // 0 at a rising to w at b
    void calc_ConShear_d(int d, double a, double P);
    void calc_DistShear_d(int d, double a, double w1, double b, double w2);
    void calc_UniShear_d(int d, double a, double b, double w);
    void calc_DeclinedShear_d(int d, double a, double b, double w);

    // ---- Shear force and bending moment by segments ----
    void ConForce(int s, double P, int d);
    void ConMoment(int s, double M, int d);
    void DistEQ(int s, double w, int d, int kind);
    void DistNEQ_Inc(int s, double w, int d, int kind);
    void DistNEQ_Dec(int s, double w, int d, int kind);
    void CalcSFBMDetail(int d);
    // Shear (out[0]) and moment (out[1]) of segment s at xi from its start.
    void CalcSFBMonPoint(int s, int d, double xi, double out[2]) const;
    void CalcSFBMonPointLX(int s, double xi, double out[2]) const;
    void InitBeamSFBM();
    CArray<double, double>& GetBoundaries(int d) { return m_arrBound[d]; }
    // Output list g of direction d: 0..2 shear start/mid/end, 3..5 moment, 6..8 position.
    const CArray<double, double>& GetSFBMList(int d, int g) const { return m_arrSFBM[d][g]; }

    static double interpolate(double x0, double x1, double y0, double y1, double x);

    // ---- Section stresses ----
    // Replaces the stress table: one row per entry of cols[0], each row the nine columns' values.
    void SetSetStressData(CArray<double, double> cols[9]);
    int GetStressRowCount() const { return m_nStressRow; }
    // Prepares the stress table of a beam element for n stress points: n rows of zero
    // coefficients, filled later by SetSetStressData. 1 when the element is a beam with a
    // material and a section and n >= 0; else 0 and the table is kept. The point coordinates,
    // option words and ids are accepted for callers and not read.
    int SetBeamSect_ForStress(unsigned int elem, int option, int n, double* points, int flag, int* ids);
    double GetStressCoef(int row, int j) const { return m_pStress[row * 9 + j]; }
    // One value per stress point for forces F0..F5; a force enters only when its switch is set.
    // Kinds 0..6; 0 for every point with another kind. Returns the number of values written.
    int GetSectStrsByPos_Sub(int kind, const int switches[6], double* out, const double forces[6]) const;
    // Element forces at pos from the segment lists: F0 axial force, F1 shear along local y,
    // F2 shear along local z, F3 torsion, F4 moment about local y, F5 moment about local z.
    // A direction without a segment at pos gives 0.
    void GetElemForce(double pos, double out[6]) const;
    // The same just left and just right of pos (they differ at a load point).
    void GetElemForce2(double pos, double left[6], double right[6]) const;
    // Stress per stress point at pos; returns the number of points written to out.
    int GetSectStrsByPos(double pos, int kind, const int switches[6], double* out, double forces[6]) const;
    // Largest and smallest stress along the element: for each merged segment start of directions
    // 1..3 (and the last segment end) after the first, a row at the midpoint from the previous
    // one and a row at the position with the values just left and just right of it. Returns the
    // number of rows.
    int MakeBeamMaxStress(int kind, const int switches[6]);
    struct StressRow {
        double pos;
        double v[4];  // left maximum, left minimum, right maximum, right minimum
    };
    int GetStressResultCount() const { return static_cast<int>(m_arrStressRow.GetSize()); }
    const StressRow& GetStressResult(int i) const { return m_arrStressRow[i]; }
    // out[0] the largest, out[1] the smallest of n values; 0 when n < 1.
    static int GetMaxStress(double out[2], const double* values, int n);

private:
    // Shear (out[0]) and moment (out[1]) of direction d at pos; side -1 the value ending at pos,
    // +1 the value starting there, 0 the first segment that holds pos. 0 when none holds it.
    int SFBMAt(int d, double pos, int side, double out[2]) const;
    double BendingFlex(int d) const;
    double ShearFlex(int d) const;
    void AddDeflection(int d, double (*green)(double, double, double), double a, double b, double w1,
                       double w2, double scale);
    int BuildStations(int nDiv);

    double m_dLen[4];                 // element length (index 0 and 1) and flexible lengths L2, L3
    T_CFMO_D m_cfmoDispl;             // end record of the last shape build
    double m_dDispl[4][MAX_STATION];  // local deflection per direction and station
    double m_dGlobal[MAX_STATION][3]; // global displacement per station
    CArray<double, double> m_arrDist;          // station positions from end i, ascending
    CArray<double, double> m_arrRelDist[4];    // positions from the start of each flexible span
    int m_nStart[4], m_nEnd[4], m_nCount[4];   // flexible-span station indices per direction
    double m_ex[3], m_ey[3], m_ez[3];          // local axes, global components
    CClassPElem m_elem;
    CClassPMemb m_memb;

    double m_dE = 0.0, m_dNu = 0.0, m_dG = 0.0;  // modulus, Poisson's ratio, shear modulus
    T_PSECT_STIFFNESS m_stiff{};  // the set returned by GetProperStiffness
    double m_dI[4] = {};   // second moment of area per direction (direction 2: I about local z)
    double m_dAs[4] = {};  // shear area per direction

    double m_coef[MAX_SEGMENT][4][6];          // c3, c2, c1, c0, m2, m1 per segment and direction
    CArray<double, double> m_arrBound[4];      // segment boundaries per direction
    CArray<double, double> m_arrSFBM[4][9];    // shear, moment, position lists per direction

    CArray<StressRow, const StressRow&> m_arrStressRow;  // rows of MakeBeamMaxStress
    int m_nStressRow = 0;
    double* m_pStress = nullptr;               // m_nStressRow rows of nine coefficients, owned
};
