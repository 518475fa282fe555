// Where the C heap lives on huge pages: a program that builds large tables once (a project's
// model and results, a picture's faces) spends much of its time faulting fresh memory in, 4 KB
// at a time; on huge pages that is 2 MB at a time.
#pragma once

#include <cstddef>

// Reserves `reserve` bytes of address space at the top of the heap, advises the kernel to back
// the heap with transparent huge pages, and keeps large blocks and freed memory in it rather
// than mapping and unmapping them one by one. Call once, early in main, before helper threads
// start. Memory is only used as it is touched. Answers false where nothing was changed (a
// sanitizer's allocator, or the heap could not grow); the program runs as before then.
bool PutHeapOnHugePages(size_t reserve = size_t{512} << 20);
