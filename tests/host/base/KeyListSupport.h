// Key lists of the host's base tests: made from a brace list, and read back as a vector.
#pragma once

#include <initializer_list>
#include <vector>

#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

namespace basetest {

inline CArray<UINT, UINT> Keys(std::initializer_list<UINT> v) {
    CArray<UINT, UINT> a;
    for (UINT k : v) a.Add(k);
    return a;
}

inline std::vector<UINT> AsVector(const CArray<UINT, UINT>& a) {
    return std::vector<UINT>(a.GetData(), a.GetData() + a.GetSize());
}

}  // namespace basetest
