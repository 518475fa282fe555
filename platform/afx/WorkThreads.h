// How many threads a piece of work that splits may use, the calling one among them:
// LP_NUM_THREADS when set (as the software renderer counts its own), else the processors the
// process may run on; 1 to 64.
#pragma once

#include <sched.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

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

// work(from, to) over [0, n) in as many spans as threads, the calling thread's among them: up to
// WorkThreads(), each span at least minSpan long. The spans must be independent. What a span
// throws reaches the caller once all have ended.
template <class Work>
void ForSpans(size_t n, size_t minSpan, const Work& work) {
    const size_t threads = std::min<size_t>(static_cast<size_t>(WorkThreads()), n / std::max<size_t>(minSpan, 1));
    if (threads <= 1) return work(size_t{0}, n);
    const size_t span = (n + threads - 1) / threads;
    std::mutex failedLock;
    std::exception_ptr failed;
    const auto run = [&](size_t k) {
        try {
            work(k * span, std::min(n, (k + 1) * span));
        } catch (...) {
            std::lock_guard<std::mutex> lock(failedLock);
            if (!failed) failed = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    size_t k = 1;
    for (; k < threads; ++k) {
        try {
            helpers.emplace_back(run, k);
        } catch (const std::system_error&) {
            break;  // the spans left are the calling thread's
        }
    }
    run(0);
    for (size_t rest = k; rest < threads; ++rest) run(rest);
    for (std::thread& t : helpers) t.join();
    if (failed) std::rethrow_exception(failed);
}
