// CSlabDetailDgn: the host's slab detail design object: per slab member, design forces and
// reinforcement for a list of design load combinations.
//
// The force engine owns one, made with the engine and copied between engines with Copy; it is
// deleted through its virtual destructor. Only the design combination list lives here so far.
#pragma once

#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

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

    CArray<UINT, UINT> m_arrLcomKey;  // design load combinations, in design order
};
