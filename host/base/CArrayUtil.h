// Set operations on key arrays of the host's base library.
//
// Keys (nodes, elements, members) travel in CArray<UINT,UINT> lists; these helpers merge and
// order them. Every output array is emptied first, may be the same object as an input, and comes
// out sorted ascending without repeated keys.
#pragma once

#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

class CArrayUtil {
public:
    // out = every key found in a or in b, each once, ascending. The inputs need not be sorted.
    static void UnionUINT(const CArray<UINT, UINT>& a, const CArray<UINT, UINT>& b, CArray<UINT, UINT>& out);
    // out = the keys of a that are also in b, each once, ascending.
    static void IntersectUINT(const CArray<UINT, UINT>& a, const CArray<UINT, UINT>& b, CArray<UINT, UINT>& out);
    // Sorts keys ascending and removes repeats, in place.
    static void SortUniqueUINT(CArray<UINT, UINT>& keys);
};
