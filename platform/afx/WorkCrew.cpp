#include "platform/afx/WorkCrew.h"

#include <sched.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace {

// The test hook's numbers: threads WorkThreads() answers and threads crews may still make;
// -1 when no hook lives.
std::atomic<int> g_nTestThreads{-1};
std::atomic<int> g_nTestMade{-1};

// A helper thread, or an exception when the system (or the test hook) refuses one.
std::thread MakeThread(std::function<void()> body) {
    for (int left = g_nTestMade.load(); left >= 0; left = g_nTestMade.load()) {
        if (left == 0) throw std::system_error(EAGAIN, std::generic_category(), "no thread may be made");
        if (g_nTestMade.compare_exchange_weak(left, left - 1)) break;
    }
    return std::thread(std::move(body));
}

// The processors the process may run on.
int Processors() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof(set), &set) == 0) return std::clamp(CPU_COUNT(&set), 1, 64);
    return static_cast<int>(std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, 64));
}

// Processors that no other thread of the machine is running on now: the process's, less the
// threads the system counts as running besides the caller (/proc/loadavg), read at most every
// 50 ms. Helpers beyond these would only wait for a processor, and the caller for them.
int FreeProcessors() {
    static std::atomic<long long> s_nReadAt{-1};
    static std::atomic<int> s_nFree{64};
    const long long now =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
    const long long at = s_nReadAt.load();
    if (at >= 0 && now - at < 50) return s_nFree.load();
    s_nReadAt.store(now);
    int running = 0;
    if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%*s %*s %*s %d/", &running) != 1) running = 0;
        std::fclose(f);
    }
    const int free = std::clamp(Processors() - std::max(running - 1, 0), 1, 64);
    s_nFree.store(free);
    return free;
}

}  // namespace

int WorkThreads() {
    if (const int n = g_nTestThreads.load(); n > 0) return n;
    static const int n = [] {
        if (const char* e = std::getenv("LP_NUM_THREADS"); e && *e) {
            char* end = nullptr;
            const long v = std::strtol(e, &end, 10);
            if (end && *end == 0 && v >= 0) return static_cast<int>(std::clamp<long>(v, 1, 64));
        }
        return Processors();
    }();
    return n;
}

WorkCrew::WorkCrew(int nHelpers) {
    // On a busy machine no more helpers than there are free processors (the test hook sets
    // the number itself).
    if (g_nTestThreads.load() < 0) nHelpers = std::min(nHelpers, FreeProcessors() - 1);
    if (nHelpers <= 0) return;
    try {
        m_threads.reserve(static_cast<size_t>(nHelpers));
        for (int i = 1; i <= nHelpers; ++i) m_threads.push_back(MakeThread([this, i] { Work(i); }));
    } catch (const std::system_error&) {
        // The helpers made share the work with the caller.
    } catch (const std::bad_alloc&) {
    }
}

WorkCrew::~WorkCrew() {
    {
        std::lock_guard<std::mutex> lock(m_mu);
        m_bQuit = true;
    }
    m_called.notify_all();
    for (std::thread& t : m_threads) t.join();
}

void WorkCrew::Start(const Job& job) {
    if (m_threads.empty()) return;
    {
        std::lock_guard<std::mutex> lock(m_mu);
        m_job = &job;
        ++m_nRound;
    }
    m_called.notify_all();
}

void WorkCrew::Finish(const Job& job) {
    try {
        job(0);
    } catch (...) {
        Failed(std::current_exception());
    }
    std::exception_ptr failed;
    {
        std::unique_lock<std::mutex> lock(m_mu);
        m_job = nullptr;
        m_left.wait(lock, [this] { return m_nBusy == 0; });
        failed.swap(m_failed);
    }
    if (failed) std::rethrow_exception(failed);
}

void WorkCrew::Failed(std::exception_ptr e) {
    std::lock_guard<std::mutex> lock(m_mu);
    if (!m_failed) m_failed = std::move(e);
}

void WorkCrew::Work(int thread) {
    unsigned long seen = 0;
    std::unique_lock<std::mutex> lock(m_mu);
    for (;;) {
        m_called.wait(lock, [&] { return m_bQuit || m_nRound != seen; });
        if (m_bQuit) return;
        seen = m_nRound;
        const Job* job = m_job;
        if (!job) continue;  // closed before this helper came
        ++m_nBusy;
        lock.unlock();
        try {
            (*job)(thread);
        } catch (...) {
            Failed(std::current_exception());
        }
        lock.lock();
        if (--m_nBusy == 0) m_left.notify_one();
    }
}

WorkCrew::TestLimit::TestLimit(int threads, int made) {
    g_nTestThreads.store(threads);
    g_nTestMade.store(made);
}

WorkCrew::TestLimit::~TestLimit() {
    g_nTestThreads.store(-1);
    g_nTestMade.store(-1);
}
