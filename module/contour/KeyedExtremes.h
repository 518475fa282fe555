// The largest and smallest values of a walk over keyed items, each kept with the key it came from.
#pragma once

#include <type_traits>

namespace contour {

// Takes hi as a candidate maximum and lo as a candidate minimum of item key (one value may be
// both); a tie keeps the earlier key.
template <class K>
inline void TakeExtremes(double hi, double lo, std::type_identity_t<K> key, double& dMax, K& maxKey, double& dMin,
                         K& minKey) {
    if (hi > dMax) {
        dMax = hi;
        maxKey = key;
    }
    if (lo < dMin) {
        dMin = lo;
        minKey = key;
    }
}

}  // namespace contour
