// Work split over threads: how many a piece of work may use, and the crew of helper threads that
// shares a job with the calling thread. One failure policy for every use: a thread the system
// will not make means fewer helpers (the caller's share grows), never an end of the program; what
// a helper throws reaches the caller once every helper has left the job. Helpers waiting for a
// job, and a caller waiting for its helpers, sleep.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// How many threads a piece of work that splits may use, the calling one among them:
// LP_NUM_THREADS when set (as the software renderer counts its own), else the processors the
// process may use: those it may run on (its affinity), no more than its control group's CPU
// quota allows (cgroup cpu.max, or cpu.cfs_quota_us); 1 to 64.
int WorkThreads();

// Helper threads made once and kept, each asleep until handed a job. A job is called as
// job(thread) by every helper that comes to it (thread 1 to Helpers()) and by the caller
// (thread 0); each call takes the job's pieces until none is left, so a helper that comes late
// or not at all leaves its share to the others. One job at a time, from one calling thread.
// Each job is joined by no more helpers than the processors of the process no other thread of
// the machine is running on at its start (on a busy machine, none): a crew kept for a whole
// film or drawing follows the machine's load job by job.
class WorkCrew {
public:
    using Job = std::function<void(int)>;

    // Up to nHelpers helpers: as many as the system makes, and no more than WorkThreads() - 1.
    explicit WorkCrew(int nHelpers);
    ~WorkCrew();
    WorkCrew(const WorkCrew&) = delete;
    WorkCrew& operator=(const WorkCrew&) = delete;

    int Helpers() const { return static_cast<int>(m_threads.size()); }
    int Size() const { return Helpers() + 1; }

    // Hands the job to the helpers and returns; the job must outlive Finish.
    void Start(const Job& job);
    // The caller's own call of the job, then the job closed (a helper not in it by then leaves
    // it alone) and the helpers in it waited for. What the first call to fail threw is thrown.
    void Finish(const Job& job);
    void Run(const Job& job) {
        Start(job);
        Finish(job);
    }

    // Test hook: while one lives, WorkThreads() answers `threads` and crews make at most `made`
    // threads more; making the next fails as when the system refuses a thread.
    class TestLimit {
    public:
        TestLimit(int threads, int made);
        ~TestLimit();
        TestLimit(const TestLimit&) = delete;
        TestLimit& operator=(const TestLimit&) = delete;
    };

private:
    void Work(int thread);
    void Failed(std::exception_ptr e);

    std::mutex m_mu;
    std::condition_variable m_called, m_left;
    const Job* m_job = nullptr;  // the job open to helpers, null once closed
    unsigned long m_nRound = 0;  // jobs handed out
    int m_nJoin = 0;             // helpers 1 to m_nJoin take part in the open job
    int m_nBusy = 0;             // helpers inside the job
    bool m_bQuit = false;
    std::exception_ptr m_failed;
    std::vector<std::thread> m_threads;
};

// work(from, to) over [0, n) in spans of at least minSpan (one span when n is shorter), as
// many as WorkThreads() at most, each non-empty, together covering [0, n) once; the calling
// thread works spans too. The spans must be independent. What a span throws reaches the caller
// once all have ended.
template <class Work>
void ForSpans(size_t n, size_t minSpan, const Work& work) {
    const size_t spans = std::min<size_t>(static_cast<size_t>(WorkThreads()), n / std::max<size_t>(minSpan, 1));
    if (spans <= 1) return work(size_t{0}, n);
    std::atomic<size_t> next{0};
    WorkCrew crew(static_cast<int>(spans) - 1);
    crew.Run([&](int) {
        // Bounds n * k / spans: each span at least n / spans >= minSpan long.
        for (size_t k; (k = next.fetch_add(1)) < spans;) work(n * k / spans, n * (k + 1) / spans);
    });
}

// Calls make(c, stop) once for every chunk c < n, helper threads making chunks as well when
// there are at least minShared of them, and take(c) on the calling thread for each chunk in
// order once it is made; take returns false to stop, and stop then tells the makes still
// running. false when take stopped. What a make or a take throws is thrown again here, once the
// makes running then have ended (no further chunk is begun).
template <class Make, class Take>
bool ForChunks(size_t n, size_t minShared, const Make& make, const Take& take) {
    std::unique_ptr<std::atomic<int>[]> made(new std::atomic<int>[n]);
    for (size_t c = 0; c < n; ++c) made[c].store(0);
    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};
    const auto makeOne = [&](size_t c) {
        struct Made {  // told also when the make throws: the caller wakes to find the failure
            std::atomic<int>& m;
            ~Made() {
                m.store(1, std::memory_order_release);
                m.notify_one();
            }
        } told{made[c]};
        try {
            make(c, stop);
        } catch (...) {
            stop.store(true);
            throw;
        }
    };
    bool taken = true;
    WorkCrew crew(n >= minShared ? WorkThreads() - 1 : 0);
    crew.Run([&](int thread) {
        if (thread > 0) {
            for (size_t c; !stop.load() && (c = next.fetch_add(1)) < n;) makeOne(c);
            return;
        }
        // However the caller leaves (a take that throws among the ways), the helpers make no more.
        struct StopOnLeave {
            std::atomic<bool>& s;
            ~StopOnLeave() { s.store(true); }
        } leave{stop};
        for (size_t c = 0; c < n && taken; ++c) {
            while (!made[c].load(std::memory_order_acquire)) {
                if (const size_t k = next.fetch_add(1); k < n) makeOne(k);
                else made[c].wait(0, std::memory_order_acquire);  // a helper is making it
            }
            if (stop.load()) break;  // a make failed: Finish throws what it threw
            if (!take(c)) {
                taken = false;
                stop.store(true);
            }
        }
    });
    return taken;
}
