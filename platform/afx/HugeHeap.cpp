#include "platform/afx/HugeHeap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>

bool PutHeapOnHugePages(size_t reserve) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    (void)reserve;
    return false;  // the sanitizer's allocator is not glibc's
#else
    constexpr size_t kHugePage = size_t{2} << 20;
    // glibc's own values of the settings changed below (its mallopt(3) defaults).
    constexpr int kDefaultTopPad = 128 * 1024, kDefaultMmapThreshold = 128 * 1024, kDefaultTrimThreshold = 128 * 1024;
    constexpr int kLargestFromHeap = 32 << 20;  // the most glibc takes as its mapping threshold
    if (reserve < 2 * kHugePage || reserve > INT_MAX / 2) return false;
    // A heap that cannot grow by the reserve (a data-size or address-space limit, a mapping
    // above it) is found out before any setting changes: glibc keeps its own, including its
    // mapping threshold that adapts to the program's blocks.
    void* const probe = sbrk(static_cast<intptr_t>(reserve));
    if (probe == reinterpret_cast<void*>(-1)) return false;
    sbrk(-static_cast<intptr_t>(reserve));
    // What a later step finds wrong puts glibc's values back, and the heap's top with them.
    const auto restore = [] {
        mallopt(M_MMAP_THRESHOLD, kDefaultMmapThreshold);
        mallopt(M_TRIM_THRESHOLD, kDefaultTrimThreshold);
        mallopt(M_TOP_PAD, kDefaultTopPad);
        malloc_trim(0);
        return false;
    };
    const int pad = static_cast<int>(reserve);
    // Blocks up to the largest glibc allows taken from the heap rather than mapped and unmapped
    // one by one, and the heap grown by the reserve at once, so that one advice covers it.
    if (!mallopt(M_MMAP_THRESHOLD, kLargestFromHeap) || !mallopt(M_TOP_PAD, pad)) return restore();
    malloc_trim(0);  // the heap's free top given back, so that the block below makes it grow
    const auto before = reinterpret_cast<uintptr_t>(sbrk(0));
    void* grow = std::malloc(kHugePage);  // more than the heap's top holds
    std::free(grow);
    const auto after = reinterpret_cast<uintptr_t>(sbrk(0));
    mallopt(M_TOP_PAD, kDefaultTopPad);  // later growth (past the reserve) as usual
    if (!grow || after < before + reserve / 2) return restore();  // the heap could not grow: no advice
    const uintptr_t from = (before + kHugePage - 1) & ~(kHugePage - 1);
    if (from >= after || madvise(reinterpret_cast<void*>(from), after - from, MADV_HUGEPAGE) != 0) return restore();
    mallopt(M_TRIM_THRESHOLD, 2 * pad);  // the reserve kept when freed
    return true;
#endif
}
