// Work split over threads.
#include "platform/afx/WorkThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

// Work split in spans covers every index once, whatever the split; what a span throws reaches
// the caller after all spans have ended.
TEST(WorkSpans, EveryIndexOnceAndThrowsReachTheCaller) {
    struct Row {
        const char* label;
        size_t n, minSpan;
        long throwAt;  // index whose span throws, or -1
    } rows[] = {
        {"empty", 0, 1, -1},
        {"shorter than a span", 100, 1000, -1},
        {"many spans", 100000, 1000, -1},
        {"spans of one", 7, 1, -1},
        {"a span throws", 100000, 1000, 76543},
        {"the first span throws", 100000, 1000, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        std::vector<std::atomic<int>> seen(r.n);
        bool threw = false;
        try {
            ForSpans(r.n, r.minSpan, [&](size_t from, size_t to) {
                for (size_t i = from; i < to; ++i) {
                    if (static_cast<long>(i) == r.throwAt) throw std::runtime_error("span failed");
                    seen[i].fetch_add(1);
                }
            });
        } catch (const std::runtime_error&) {
            threw = true;
        }
        EXPECT_EQ(threw, r.throwAt >= 0);
        size_t once = 0;
        for (auto& s : seen) once += s.load() == 1;
        if (r.throwAt < 0) EXPECT_EQ(once, r.n);
        else EXPECT_LT(once, r.n);
    }
}
