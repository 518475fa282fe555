// The cross that marks a label's anchor point while labels are moved by hand.
#pragma once

namespace labelcross {

inline constexpr int kCrossSize = 8;  // pixels
inline constexpr int kCrossPenWidth = 2;

}  // namespace labelcross
