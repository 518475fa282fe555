#include "platform/afx/WorkCrew.h"

#include <sched.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
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
int Affinity() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof(set), &set) == 0) return std::clamp(CPU_COUNT(&set), 1, 64);
    return static_cast<int>(std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, 64));
}

// The processors the control group's CPU quota gives, rounded up, from the process's group up
// to the root (each level's quota applies); 64 when none is set. cgroup v2 (cpu.max: "QUOTA
// PERIOD" or "max PERIOD") and v1 (cpu.cfs_quota_us, -1 for none, and cpu.cfs_period_us).
int QuotaProcessors() {
    auto readLine = [](const std::string& path) {
        std::ifstream f(path);
        std::string line;
        std::getline(f, line);
        return line;
    };
    int least = 64;
    const auto take = [&least](long long quota, long long period) {
        if (quota > 0 && period > 0) least = std::min<long long>(least, std::max<long long>(1, (quota + period - 1) / period));
    };
    std::ifstream groups("/proc/self/cgroup");
    for (std::string line; std::getline(groups, line);) {
        // "ID:CONTROLLERS:PATH": v2 has ID 0 and no controllers; v1 lists cpu among its own.
        const size_t a = line.find(':'), b = a == std::string::npos ? a : line.find(':', a + 1);
        if (b == std::string::npos) continue;
        std::string ctl(1, ',');  // appended apart: "," + string trips GCC 12's false -Wrestrict
        ctl.append(line, a + 1, b - a - 1).push_back(',');
        const bool v2 = line.compare(0, a, "0") == 0 && ctl == ",,";
        if (!v2 && ctl.find(",cpu,") == std::string::npos) continue;
        for (std::string dir = line.substr(b + 1);; dir = dir.substr(0, dir.find_last_of('/'))) {
            const std::string at = (v2 ? "/sys/fs/cgroup" : "/sys/fs/cgroup/cpu") + dir;
            if (v2) {
                long long quota = 0, period = 0;
                std::sscanf(readLine(at + "/cpu.max").c_str(), "%lld %lld", &quota, &period);
                take(quota, period);
            } else {
                take(std::atoll(readLine(at + "/cpu.cfs_quota_us").c_str()), std::atoll(readLine(at + "/cpu.cfs_period_us").c_str()));
            }
            if (dir.empty() || dir == "/") break;
        }
    }
    return least;
}

// The processors the process may use: its affinity within its group's quota.
int Processors() {
    static const int n = std::clamp(std::min(Affinity(), QuotaProcessors()), 1, 64);
    return n;
}

// Processors of the process that no other thread of the machine is running on now: those it
// may run on less the threads the system counts as running besides the caller (/proc/loadavg),
// within its quota, read at most every 50 ms. Helpers beyond these would only wait for a
// processor, and the caller for them.
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
    const int free = std::clamp(std::min(Processors(), Affinity() - std::max(running - 1, 0)), 1, 64);
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
    // No more helpers than the process may use (the test hook sets the number itself); how many
    // join a job is counted at its start.
    if (g_nTestThreads.load() < 0) nHelpers = std::min(nHelpers, WorkThreads() - 1);
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
    // On a busy machine no more helpers than there are free processors now (the test hook
    // sets the number itself); none wakes when none may join.
    const int join = g_nTestThreads.load() < 0 ? std::min(Helpers(), FreeProcessors() - 1) : Helpers();
    if (join <= 0) return;
    {
        std::lock_guard<std::mutex> lock(m_mu);
        m_job = &job;
        m_nJoin = join;
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
        if (!job || thread > m_nJoin) continue;  // closed before this helper came, or not its to join
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
