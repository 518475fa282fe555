// How many threads a piece of work that splits may use, the calling one among them:
// LP_NUM_THREADS when set (as the software renderer counts its own), else the processors the
// process may run on; 1 to 64.
#pragma once

#include <sched.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

inline int WorkThreads() {
    static const int n = [] {
        if (const char* e = std::getenv("LP_NUM_THREADS"); e && *e) {
            char* end = nullptr;
            const long v = std::strtol(e, &end, 10);
            if (end && *end == 0 && v >= 0) return static_cast<int>(std::clamp<long>(v, 1, 64));
        }
        cpu_set_t set;
        if (sched_getaffinity(0, sizeof(set), &set) == 0) return std::clamp(CPU_COUNT(&set), 1, 64);
        return static_cast<int>(std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, 64));
    }();
    return n;
}
