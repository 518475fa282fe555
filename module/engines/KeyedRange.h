// KeyedRange: the largest and smallest of a run of values with the key (member, wall) each came
// from; the first key in run order wins a tie, and an empty run gives 0 .. 0 with no keys.
//
//     KeyedRange r;
//     for (...) r.Add(key, value);
//     legendMax = r.dMax; model.m_nMaxKey = r.nMaxKey;
#pragma once

#include "platform/afx/afxtypes.h"

struct KeyedRange {
    double dMax = 0.0, dMin = 0.0;
    UINT nMaxKey = 0, nMinKey = 0;
    bool bAny = false;

    void Add(UINT key, double v) {
        if (!bAny || v > dMax) dMax = v, nMaxKey = key;
        if (!bAny || v < dMin) dMin = v, nMinKey = key;
        bAny = true;
    }
};
