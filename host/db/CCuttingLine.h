// CCuttingLine: the host's design utility for forces of the slab across a line.
//
// GetWallDesignForce gives the slab's design moment, shear and reinforcement across a cut at one
// end of a wall member (type 202) standing on it. The wall is found by its plan line (first to
// last node, within kLineTol); the forces per metre of the project's table SWDF (T_SWDF_D, by
// load case and wall) are taken for the load, times the cut length, and the reinforcement is
// the steel area for that moment, |M| / (0.9 fy h0) with fy = kRebarFy.
#pragma once

#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

class CDataBase;

class CCuttingLine {
public:
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
};
