#include "platform/afx/PictureMemory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr size_t kHuge = size_t{2} << 20;  // a huge page

// Below this a picture is ordinary memory.
constexpr size_t kLarge = kHuge;

// Whole huge pages: the last one too.
size_t Mapped(size_t n) { return (n + kHuge - 1) / kHuge * kHuge; }

}  // namespace

void* AllocPictureMemory(size_t n) {
    if (n < kLarge) return std::calloc(n ? n : 1, 1);
    // Mapped a huge page larger, then cut to start on a huge page.
    const size_t size = Mapped(n);
    void* raw = mmap(nullptr, size + kHuge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const uintptr_t at = (reinterpret_cast<uintptr_t>(raw) + kHuge - 1) & ~(kHuge - 1);
    const size_t head = at - reinterpret_cast<uintptr_t>(raw);
    if (head) munmap(raw, head);
    if (kHuge - head) munmap(reinterpret_cast<void*>(at + size), kHuge - head);
    void* p = reinterpret_cast<void*>(at);
    (void)madvise(p, size, MADV_HUGEPAGE);  // only advice: without it the pages are small
    return p;
}

void FreePictureMemory(void* p, size_t n) {
    if (!p) return;
    if (n < kLarge)
        std::free(p);
    else
        munmap(p, Mapped(n));
}
