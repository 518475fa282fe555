// CCuttingLine: the host's design forces along slab strips and rib beams, as the result module
// asks for them.
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
    // is emptied first). Non-zero when at least one rib has forces.
    int GetRibDesignForce(UINT loadKey, CArray<T_STRESS_RESULT, T_STRESS_RESULT&>& results, int slabLoadKind);

    static constexpr double kMatchTol = 1e-6;  // m

private:
    // The stored forces of a key for the selected load (larger magnitude of an envelope).
    int ReadForces(bool bStrip, UINT key, UINT loadKey, T_CLDF_D& out) const;

    CDataBase* m_pDB;
    CPostCtrl* m_pPost;
};
