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
    constexpr int kDefaultTopPad = 128 * 1024;    // glibc's own
    constexpr int kLargestFromHeap = 32 << 20;    // the most glibc takes as its mapping threshold
    if (reserve < 2 * kHugePage || reserve > INT_MAX / 2) return false;
    const int pad = static_cast<int>(reserve);
    // Blocks up to the largest glibc allows taken from the heap rather than mapped and unmapped
    // one by one, and the heap grown by the reserve at once, so that one advice covers it.
    if (!mallopt(M_MMAP_THRESHOLD, kLargestFromHeap) || !mallopt(M_TOP_PAD, pad)) return false;
    malloc_trim(0);  // the heap's free top given back, so that the block below makes it grow
    const auto before = reinterpret_cast<uintptr_t>(sbrk(0));
    void* grow = std::malloc(kHugePage);  // more than the heap's top holds
    std::free(grow);
    const auto after = reinterpret_cast<uintptr_t>(sbrk(0));
    mallopt(M_TOP_PAD, kDefaultTopPad);  // later growth (past the reserve) as usual
    if (!grow || after < before + reserve / 2) return false;  // the heap could not grow: no advice
    mallopt(M_TRIM_THRESHOLD, 2 * pad);  // the reserve kept when freed
    const uintptr_t from = (before + kHugePage - 1) & ~(kHugePage - 1);
    return from < after && madvise(reinterpret_cast<void*>(from), after - from, MADV_HUGEPAGE) == 0;
#endif
}
