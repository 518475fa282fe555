// CCuttingLine: the host's design utility for forces of the slab across and along lines, as the
// result module asks for them.
//
// GetWallDesignForce gives the slab's design moment, shear and reinforcement across a cut at one
// end of a wall member (type 202) standing on it. The wall is found by its plan line (first to
// last node, within kLineTol); the forces per metre of the project's table SWDF (T_SWDF_D, by
// load case and wall) are taken for the load, times the cut length, and the reinforcement is
// the steel area for that moment, |M| / (0.9 fy h0) with fy = kRebarFy.
//
// The host's slab design gives, for the load selected in the result controller, the bending
// moment and shear force of a strip (a line with a width, drawn by the user and kept in the
// cutting-line table) and of every rib beam of the slabs, at five stations 0, 1/4, 1/2, 3/4 and
// 1 of the line, as T_STRESS_RESULT records. The project file holds them: a strip's forces under
// its key in the cutting-line table (table STRIPF), a rib's geometry in table RIBB and its
// forces under its rib number (table RIBF).
//
//     CCuttingLine cl;
//     T_STRESS_RESULT r;
//     if (cl.GetStripDesignForce(line, 2.0, loadKey, slabElems, r, 1)) ... r.d[11 + 2k] ...
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "host/base/GeomTypes.h"
#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"
#include "platform/afx/CArray.h"

class CDataBase;
class CPostCtrl;

// One design-force result of a strip or rib beam, 21 values:
//   0 slab width on the positive side, 1 on the negative side, 2 the width (m);
//   3..5 start point, 6..8 end point (m); 9 arc height of a curved rib (m); 10 not used;
//   11 + 2k the bending moment (kN·m) and 12 + 2k the shear force (kN) at station k/4, k = 0..4.
struct T_STRESS_RESULT {
    double d[21];

    T_STRESS_RESULT() { Initialize(); }
    void Initialize();
};

class CCuttingLine {
public:
    // Works on the open document's database and result controller; the other form on given ones
    // (tests).
    CCuttingLine();
    CCuttingLine(CDataBase* pDB, CPostCtrl* pPost) : m_pDB(pDB), m_pPost(pPost) {}

    // Design forces of the strip with these end points (plan, within kMatchTol m, in this
    // direction) and this width, for the selected load: an envelope gives at every station the
    // value of larger magnitude. The slab element list and the load kind are what the host's
    // design would integrate over; the stored forces already hold that. Non-zero, result filled,
    // when the project holds the strip and its forces for the load; 0, result unchanged,
    // otherwise (a strip drawn after the design, no load selected, a load key of 0). The forces
    // are those of the load selected in the result controller, whose key the caller passes.
    int GetStripDesignForce(T_LINE2D& line, double width, UINT loadKey, CArray<UINT, UINT>& slabElementKeys,
                            T_STRESS_RESULT& result, int slabLoadKind);
    // One result per rib beam with forces for the selected load, in rib-number order (the array
    // is emptied first); with raftRibsOnly only the stiffening ribs of a raft (IsRaftRib).
    // Non-zero when at least one rib has forces.
    int GetRibDesignForce(UINT loadKey, CArray<T_STRESS_RESULT, T_STRESS_RESULT&>& results, int slabLoadKind,
                          int raftRibsOnly = 0);
    // A rib of a raft names the raft's analysis member: type 301 whose model_key is a raft of the
    // foundation model (MTSB). A rib of a floor slab's design names its beam.
    static BOOL IsRaftRib(CDataBase* pDB, const T_RIBB_D& rib);

    static constexpr double kMatchTol = 1e-6;  // m

    static constexpr double kLineTol = 1e-6;  // m
    static constexpr double kRebarFy = 360.0; // design strength of the reinforcement, N/mm²

    // values receives moment (kN·m), shear (kN) and reinforcement (mm²) across a cut of
    // cutLength m at end 0 (the wall's first node) or 1 (its last node). loadKey is a load case
    // when bSlabLoadKind is non-zero, else a load combination (an envelope gives each value's
    // larger-magnitude side). Returns 0, values untouched, for a bad end, cut length or load,
    // no slab element under the cut (an empty list), a line that is no wall, or no forces.
    int GetWallDesignForce(const T_LINE2D& wallLine, int nEnd, double dCutLength, UINT nLoadKey,
                           const CArray<UINT, UINT>& slabElemKeys, double* pValues, int bSlabLoadKind) const;

    // The wall member (type 202) whose first and last node lie at the line's ends in plan; 0 when
    // none does.
    static UINT FindWallByLine(CDataBase* pDB, const T_LINE2D& wallLine);

private:
    // The stored forces of a key for the selected load (larger magnitude of an envelope).
    int ReadForces(bool bStrip, UINT key, UINT loadKey, T_CLDF_D& out) const;
    // The strips' positions in table order by the plan cell of their first point, rebuilt when
    // the table changes: a drawing of n strips looks each up once, not n times n.
    std::vector<uint32_t> StripsNear(double x, double y);

    CDataBase* m_pDB;
    CPostCtrl* m_pPost;
    unsigned long long m_nStripVersion = ~0ULL;
    std::unordered_map<unsigned long long, std::vector<uint32_t>> m_stripCells;
};
