// Mixes the bits of a 64-bit key so that its low bits index an open-addressing table (the
// finaliser of MurmurHash3): keys that differ in any bit spread over the whole table.
#pragma once

#include <cstddef>

inline size_t HashMix64(unsigned long long h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return static_cast<size_t>(h);
}
