// The slab force component of display mode 16 as read from a record's blocks: the block position
// is found once for a pass over many records instead of once per value.
#pragma once

#include "host/db/DBResultRecords.h"

#include <cmath>

namespace slabforce {

constexpr int kCornerBlocks = 4;  // a record holds the centre block 0 and corner blocks 1..4

// Block position of a plain selector; -1 for the derived selector 5 and outside 0..8.
inline int ComponentPosition(int nComp) {
    static constexpr int kPos[9] = {20, 21, 22, 26, 27, -1, 14, 15, 16};
    return nComp >= 0 && nComp < 9 ? kPos[nComp] : -1;
}

struct ValuePicker {
    int pos;      // block position of the component, -1 when derived or none
    bool larger;  // selector 5: the larger magnitude of the moments at 26 and 27

    explicit ValuePicker(int nComp) : pos(ComponentPosition(nComp)), larger(nComp == 5) {}

    // The component in block nBlock (0 the centre, 1..4 the corners); 0 outside the blocks.
    double operator()(const T_STRP_DL& rec, int nBlock) const {
        if (nBlock < 0 || nBlock > kCornerBlocks) return 0.0;
        const double* b = rec.blk[nBlock];
        if (pos >= 0) return b[pos];
        if (larger) return std::fabs(b[27]) < std::fabs(b[26]) ? b[26] : b[27];
        return 0.0;
    }

    // Asks the processor to fetch the lines this picker reads of a record, ahead of its use.
    void Prefetch(const T_STRP_DL* rec) const {
        if (!rec) return;
        for (int b = 0; b <= kCornerBlocks; ++b) __builtin_prefetch(&rec->blk[b][pos >= 0 ? pos : 26]);
    }
};

}  // namespace slabforce
