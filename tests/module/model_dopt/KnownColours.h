// The colours the tests give a host option manager: screen colour k is S(k), print colour P(k).
#pragma once

#include "platform/afx/afxtypes.h"

namespace dopttest {

inline COLORREF S(int k) { return 0x100000 + k; }
inline COLORREF P(int k) { return 0x200000 + k; }

}  // namespace dopttest
