// CSlabDetailDgn: the host's slab detail design object: per slab member, design forces and
// reinforcement for a list of design load combinations.
//
// The force engine owns one, made with the engine and copied between engines with Copy; it is
// deleted through its virtual destructor. The design of a member under design combination k
// (1-based) is asked in three steps, as the host's design object works:
//     if (d.Get_MembDgnForce(memb, k, fA, fB, arrA, arrB, isComb) &&   // the member's design forces
//         d.Set_MembDgnForce(fA, fB, arrA, arrB, 0.0) &&               // handed to the design
//         d.Get_MembDgnResult(memb, k, rA, rB, resA, resB, third))     // its reinforcement
// The design combinations are m_arrLcomKey when set, else the linear load combinations of the
// open project in table order. The forces and results come from the project's table SLDG
// (T_SLDG_D, by combination key and member key); a result is given only for forces that were
// handed over for the same member and combination and equal the table's.
#pragma once

#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

class CDataBase;

class CSlabDetailDgn {
public:
    CSlabDetailDgn() = default;
    virtual ~CSlabDetailDgn() = default;
    CSlabDetailDgn(const CSlabDetailDgn&) = delete;
    CSlabDetailDgn& operator=(const CSlabDetailDgn&) = delete;

    // Takes over every setting of another design object; a null source changes nothing.
    void Copy(const CSlabDetailDgn* pSrc) {
        if (!pSrc || pSrc == this) return;
        m_arrLcomKey.Copy(pSrc->m_arrLcomKey);
    }

    // The key of design combination k (1-based); 0 when there is none.
    UINT GetDesignLcomKey(int k) const;

    // The member's design forces under combination k: centre moments along the two rebar
    // directions and the top (A) and bottom (B) moments of its outline edges. 0, outputs
    // untouched, when the project holds none. The last argument is not used.
    int Get_MembDgnForce(UINT nMembKey, int k, double& dForceA, double& dForceB, CArray<double, double>& arrA,
                         CArray<double, double>& arrB, int bLoadComb);
    // Hands design forces to the design; 0 without a preceding Get_MembDgnForce. The last
    // argument is not used.
    int Set_MembDgnForce(double dForceA, double dForceB, const CArray<double, double>& arrA,
                         const CArray<double, double>& arrB, double);
    // The reinforcement for the forces handed over: bottom at the centre along the two rebar
    // directions, top (A) and bottom (B) of each outline edge, and the section's minimum. 0,
    // outputs untouched, unless the forces handed over were those of this member and
    // combination.
    int Get_MembDgnResult(UINT nMembKey, int k, double& dResultA, double& dResultB, CArray<double, double>& arrA,
                          CArray<double, double>& arrB, double& dThird);

    CArray<UINT, UINT> m_arrLcomKey;  // design load combinations, in design order

private:
    static CDataBase* PostDB();

    // The forces last read and whether they were handed back unchanged.
    UINT m_nForceMemb = 0;
    int m_nForceComb = 0;
    int m_bForceSet = 0;
};
