// Memory for whole pictures (bitmaps, DIB sections, film frames): zeroed, and for a large one
// fresh pages in huge pages where the system allows, so that the first drawing into it takes a
// few page faults instead of one per 4 KB page (each of which costs microseconds).
#pragma once

#include <cstddef>

// n zeroed bytes, or null when there is not the memory; give it back with FreePictureMemory
// with the same n.
void* AllocPictureMemory(size_t n);
void FreePictureMemory(void* p, size_t n);
