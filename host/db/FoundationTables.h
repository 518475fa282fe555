// The table classes of the foundation model (records in FoundationRecords.h). They are bound,
// like every table class, to the project's database: the foundation model lives in the same
// file as the analysis model. The member and global-parameter tables are editable
// (PrivateModify): a change is made in memory and reaches the project file when the host writes
// those tables back (CDataBase::SaveTables with DBT_MEMB, DBT_GBPA).
#pragma once

#include "host/base/GeomTypes.h"
#include "host/db/DB_CDataClass.h"

// A circular arc of the plan: centre, radius, the angles (degrees, counter-clockwise from +x) of
// its start and end point, and its sense of travel from start to end.
struct T_PONT_ARC {
    double cx = 0.0, cy = 0.0;
    double radius = 0.0;
    double angS = 0.0, angE = 0.0;
    int ccw = 0;

    T_POINT2D Center() const { return T_POINT2D(cx, cy); }
    double Radius() const { return radius; }
    double GetAngleS() const { return angS; }
    double GetAngleE() const { return angE; }
    int IsCCW() const { return ccw; }
};

class CClassPont : public DB_CTable<DBT_PONT> {
public:
    // The arc from point k1 to point k2 whose middle lies `chord` to the left of the line k1-k2
    // (T_AXIS_D). 0 when a point is missing, the points coincide or chord is 0 or not finite.
    // The last argument is kept for callers that pass it and selects nothing.
    int FormArc(UINT k1, UINT k2, double chord, T_PONT_ARC& arc, double) const;
    // The points lying on the segment p1-p2 (ends included) within tol (m) of it, in order of
    // their distance from p1; returns the count.
    int GetKeyListBy2Point(const double p1[2], const double p2[2], CArray<UINT, UINT>& keys, double tol) const;
};

class CClassAxis : public DB_CTable<DBT_AXIS> {};

class CClassMemb : public DB_CTable<DBT_MEMB> {
public:
    // keepOthers 0: keeps in keys the members of this type (missing members are dropped);
    // 1: drops the members of this type instead. Returns the count left.
    int FilterByMembType(CArray<UINT, UINT>& keys, int type, int keepOthers) const;
    // The distinct member types of the table, in order of first appearance; returns the count.
    // The second argument is kept for callers that pass it.
    int GetEnableMembType(CArray<int, int>& types, int) const;
    // The piles standing under a member (PILE records listing it), in pile table order; returns
    // the count. The last argument is kept for callers that pass it.
    int GetPileKeyListUnderFoundation(UINT key, CArray<UINT, UINT>& piles, int) const;
    // The member's point keys; 0 when the member is missing.
    int GetPontKeyList(UINT key, CArray<UINT, UINT>& ponts) const;
    // Replaces the record of an existing member in memory (its text offsets after a move);
    // 0 when the table is unbound or the member is missing. The last argument is kept.
    int PrivateModify(UINT key, const T_MEMB_D& rec, int = 1);
};

class CClassColm : public DB_CTable<DBT_COLM> {};
class CClassWall : public DB_CTable<DBT_WALL> {};
class CClassColf : public DB_CTable<DBT_COLF> {};
class CClassFosp : public DB_CTable<DBT_FOSP> {};

class CClassBeam : public DB_CTable<DBT_BEAM> {
public:
    // Splits keys into groups of beams sharing a group number (beams of group 0 stand alone), in
    // order of first appearance; missing beams are left out. Returns the group count.
    int GetBeamGroup(CArray<CArray<UINT, UINT>*, CArray<UINT, UINT>*>& groups, const CArray<UINT, UINT>& keys) const;
    static void FreeBeamGroup(CArray<CArray<UINT, UINT>*, CArray<UINT, UINT>*>& groups);
};

class CClassMtsb : public DB_CTable<DBT_MTSB> {
public:
    // The main rafts (not sub-rafts) in table order; returns the count. The other arguments are
    // kept for callers that pass them.
    int GetMainMtsbList(CArray<UINT, UINT>& keys, int, int, int, void*) const;
    // The raft type (1..3); 0 when the raft is missing.
    int GetMtsbType(UINT key) const;
    int IsSubMtsb(UINT key) const;
    // The raft's outline: the coordinates of its member's points in order, not closed; 0 when
    // the raft, its member or one of its points is missing. The last argument is kept.
    int GetPolygonShape(UINT key, CArray<double, double>& xy, int) const;
};

class CClassPile : public DB_CTable<DBT_PILE> {
public:
    // The pile length, m; 0 when the pile is missing.
    int GetPileLength(UINT key, double& length) const;
    // Sum of the bearing capacities of the piles, kN.
    double GetPileAllFak(const CArray<UINT, UINT>& piles) const;
};

class CClassPisp : public DB_CTable<DBT_PISP> {};
class CClassSrct : public DB_CTable<DBT_SRCT> {};

class CClassGbpa : public DB_CTable<DBT_GBPA> {
public:
    // Replaces the global parameters (key GBPA_KEY) in memory; 0 when unbound or absent.
    int PrivateModify(const T_GBPA_D& rec);
};

class CClassWdld : public DB_CTable<DBT_WDLD> {};
class CClassCklg : public DB_CTable<DBT_CKLG> {};
