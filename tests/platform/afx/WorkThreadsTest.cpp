// Work split over threads.
#include "platform/afx/WorkCrew.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

// Work split in spans covers every index once in non-empty spans of at least minSpan, whatever
// the split and however few helper threads the system makes; what a span throws reaches the
// caller after all spans have ended.
TEST(WorkSpans, EveryIndexOnceAndThrowsReachTheCaller) {
    struct Row {
        const char* label;
        size_t n, minSpan;
        long throwAt;     // index whose span throws, or -1
        int threads = 0;  // WorkThreads() for the row, 0 as the machine has it
        int made = -1;    // threads that can be made, -1 as many as asked
    } rows[] = {
        {"empty", 0, 1, -1},
        {"shorter than a span", 100, 1000, -1},
        {"many spans", 100000, 1000, -1},
        {"spans of one", 7, 1, -1},
        {"a span throws", 100000, 1000, 76543},
        {"the first span throws", 100000, 1000, 0},
        {"16 threads, 89 long, spans of 8 at least", 89, 8, -1, 16},
        {"no helper thread to be had", 100000, 1000, -1, 8, 0},
        {"two helpers of seven, a span throws", 100000, 1000, 99999, 8, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        WorkCrew::TestLimit limit(r.threads, r.made);
        std::vector<std::atomic<int>> seen(r.n);
        std::mutex lock;
        std::vector<std::pair<size_t, size_t>> spans;
        std::set<std::thread::id> threads;
        bool threw = false;
        try {
            ForSpans(r.n, r.minSpan, [&](size_t from, size_t to) {
                {
                    std::lock_guard<std::mutex> hold(lock);
                    spans.emplace_back(from, to);
                    threads.insert(std::this_thread::get_id());
                }
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
        if (r.n == 89) {
            EXPECT_EQ(spans.size(), 11u) << "89 / 8 spans";
        }
        for (const auto& [from, to] : spans) EXPECT_GE(to, from + std::min(r.minSpan, r.n)) << from << ", " << to;
        if (r.made >= 0) {
            EXPECT_LE(threads.size(), static_cast<size_t>(r.made) + 1);
        }
    }
}

// Chunks made on any thread are taken in order on the caller's, each made once; take stops the
// rest, and what a make or a take throws reaches the caller, however few helpers the system makes.
TEST(WorkChunks, TakenInOrderMadeOnceAndThrowsReachTheCaller) {
    struct Row {
        const char* label;
        size_t n;
        long stopAt, throwAt;  // chunk whose take stops / whose make throws, or -1
        int made;              // threads that can be made, -1 as many as asked
        long takeThrowAt = -1; // chunk whose take throws (each make then takes 1 ms), or -1
    } rows[] = {
        {"every chunk", 300, -1, -1, -1},    {"take stops", 300, 120, -1, -1},
        {"a make throws", 300, -1, 250, -1}, {"no helper thread to be had", 300, -1, -1, 0},
        {"one helper of seven", 300, -1, 17, 1},
        // Before, the helpers made all 300 chunks before the caller heard of the failure.
        {"a take throws", 300, -1, -1, -1, 20},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        WorkCrew::TestLimit limit(8, r.made);
        std::vector<std::atomic<int>> made(r.n);
        std::vector<size_t> taken;
        bool threw = false, done = false;
        try {
            done = ForChunks(
                r.n, 4,
                [&](size_t c, const std::atomic<bool>&) {
                    if (static_cast<long>(c) == r.throwAt) throw std::runtime_error("make failed");
                    if (r.takeThrowAt >= 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    made[c].fetch_add(1);
                },
                [&](size_t c) {
                    if (static_cast<long>(c) == r.takeThrowAt) throw std::runtime_error("take failed");
                    taken.push_back(c);
                    return static_cast<long>(c) != r.stopAt;
                });
        } catch (const std::runtime_error&) {
            threw = true;
        }
        EXPECT_EQ(threw, r.throwAt >= 0 || r.takeThrowAt >= 0);
        EXPECT_EQ(done, r.throwAt < 0 && r.stopAt < 0 && r.takeThrowAt < 0);
        if (r.takeThrowAt >= 0) {
            EXPECT_EQ(taken.size(), static_cast<size_t>(r.takeThrowAt));
            size_t nMade = 0;
            for (auto& m : made) nMade += m.load();
            EXPECT_LT(nMade, r.n / 2) << "chunks made after the take failed";
        } else if (r.throwAt >= 0) EXPECT_LE(taken.size(), static_cast<size_t>(r.throwAt));
        else EXPECT_EQ(taken.size(), r.stopAt >= 0 ? static_cast<size_t>(r.stopAt) + 1 : r.n);
        for (size_t i = 0; i < taken.size(); ++i) EXPECT_EQ(taken[i], i);
        for (size_t c = 0; c < r.n; ++c) EXPECT_LE(made[c].load(), 1) << c;
    }
}

// A job started while every processor is taken gets no helper: they would only wait for a
// processor, and the caller for them. The crew is made before the machine is busy: its helpers
// are counted at each job (before, once, when the crew was made).
TEST(WorkCrewTest, ABusyMachineGetsNoHelpers) {
    const int procs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    WorkCrew crew(procs - 1);
    std::atomic<bool> stop{false};
    std::vector<std::thread> spinners;
    for (int i = 0; i < procs; ++i) spinners.emplace_back([&] { while (!stop.load()) {} });
    std::this_thread::sleep_for(std::chrono::milliseconds(120));  // past the last reading of the load
    std::atomic<int> joined{0};
    crew.Run([&](int thread) {
        if (thread > 0) joined.fetch_add(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // time for a woken helper to come
    });
    stop.store(true);
    for (std::thread& t : spinners) t.join();
    EXPECT_EQ(joined.load(), 0);
}
