// What whole pvxhost commands cost against their floor or peer, each pair timed alternately in
// one run (the machine's noise falls on both alike) and reported as the ratio of medians:
//   FigureLinear/511, /512  figure minus info at 100,000 plates over the same at 10,000 (linear:
//                           the ratio of the plate counts, about 10)
//   FigureListVsInfo        figure --list at 100,000 plates over info of the same project (<= 1.1)
//   InfoVsEmpty             info of the sample over an empty program linked against the same
//                           libraries that loads the module (info itself <= 50 ms)
//   RenderGrowth            render minus info per added plate from 100,000 to 400,000 plates
//                           over the same from 10,000 to 100,000 (<= 1.2)
// PVX_BENCH_BASE=<build dir with bin/ and lib/> times that build too, alternated with this one:
// base_ratio is ours over its (figure minus info at 100,000 plates, figure --list, info).
// PVX_BENCH_RUNS sets the rounds of each pair (default 9).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::string ProgramDir() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return ".";
    const std::string p(buf, static_cast<size_t>(n));
    return p.substr(0, p.find_last_of('/'));
}

// The run's folder and the files made in it, removed at exit.
struct TmpFiles {
    std::string dir;
    std::vector<std::string> made;
};
TmpFiles* g_tmp = nullptr;

TmpFiles& Tmp() {
    if (!g_tmp) {
        const char* e = getenv("TMPDIR");
        g_tmp = new TmpFiles{std::string(e && *e ? e : "/tmp") + "/bench_command_costs_" + std::to_string(getpid()), {}};
        if (mkdir(g_tmp->dir.c_str(), 0700) != 0) {
            std::fprintf(stderr, "bench_command_costs: cannot make %s\n", g_tmp->dir.c_str());
            std::exit(1);
        }
        std::atexit([] {
            for (const std::string& f : g_tmp->made) std::remove(f.c_str());
            rmdir(g_tmp->dir.c_str());
            delete g_tmp;
        });
    }
    return *g_tmp;
}
// A file of the run's folder, removed at exit.
std::string TmpFile(const std::string& name) {
    const std::string path = Tmp().dir + "/" + name;
    if (std::find(Tmp().made.begin(), Tmp().made.end(), path) == Tmp().made.end()) Tmp().made.push_back(path);
    return path;
}

// The plates of make-sample --size n: a raft of 4k x 3k plates, k the least with 12 k^2 >= n.
long Plates(long n) {
    long k = static_cast<long>(std::sqrt(n / 12.0));
    while (12 * k * k < n) ++k;
    return 12 * k * k;
}

int Runs() {
    const char* r = getenv("PVX_BENCH_RUNS");
    return r && atoi(r) > 0 ? atoi(r) : 9;
}

// A build of pvxhost: its program and the libraries beside it (bin/ and lib/ of one prefix).
struct Build {
    std::string host, lib;
};

const Build& Ours() {
    static const Build b{ProgramDir() + "/pvxhost", ProgramDir() + "/../lib"};
    return b;
}

// Runs argv with the build's libraries first, output discarded; its wall time in ms, or -1
// when it did not end with 0.
double TimeRun(const std::string& lib, const std::vector<std::string>& args) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("LD_LIBRARY_PATH=", 0) != 0) env.push_back(*e);
    env.push_back("LD_LIBRARY_PATH=" + lib);
    std::vector<char*> argv, envp;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
}

double Host(const Build& b, const std::string& db, std::vector<std::string> args) {
    args.insert(args.begin(), {b.host, "--quiet", "--db", db});
    return TimeRun(b.lib, args);
}

// The project of at least `plates` raft plates, made once per run by our make-sample.
const std::string& Project(long plates) {
    static std::map<long, std::string> made;
    auto it = made.find(plates);
    if (it != made.end()) return it->second;
    const std::string path = TmpFile("p" + std::to_string(plates) + ".pvxdb");
    if (Host(Ours(), path, {"make-sample", "--size", std::to_string(plates), "--out", path}) < 0) {
        std::fprintf(stderr, "bench_command_costs: cannot make the project of %ld plates\n", plates);
        std::exit(1);
    }
    return made.emplace(plates, path).first->second;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Times each command once per round, in turn, for the given rounds; their medians in ms. A
// failed command fails the benchmark.
std::vector<double> Alternate(benchmark::State& state, const std::vector<std::function<double()>>& cmds) {
    std::vector<std::vector<double>> times(cmds.size());
    for (int r = 0; r < Runs(); ++r)
        for (size_t i = 0; i < cmds.size(); ++i) {
            const double ms = cmds[i]();
            if (ms < 0) {
                state.SkipWithError("a command failed");
                return std::vector<double>(cmds.size(), 1);
            }
            times[i].push_back(ms);
        }
    std::vector<double> medians;
    for (auto& t : times) medians.push_back(Median(t));
    return medians;
}

const Build* Base() {
    static const Build* base = [] () -> const Build* {
        const char* d = getenv("PVX_BENCH_BASE");
        if (!d || !*d) return nullptr;
        static Build b{std::string(d) + "/bin/pvxhost", std::string(d) + "/lib"};
        return &b;
    }();
    return base;
}

void FigureLinear(benchmark::State& state) {
    const std::string fig = std::to_string(state.range(0));
    const std::string& small = Project(10000);
    const std::string& large = Project(100000);
    const std::string out = TmpFile("figure.bmp");
    const auto figure = [&](const Build& b, const std::string& db) { return Host(b, db, {"figure", fig, "--out", out}); };
    std::vector<std::function<double()>> cmds = {
        [&] { return Host(Ours(), small, {"info"}); }, [&] { return figure(Ours(), small); },
        [&] { return Host(Ours(), large, {"info"}); }, [&] { return figure(Ours(), large); }};
    if (Base()) {
        cmds.push_back([&] { return Host(*Base(), large, {"info"}); });
        cmds.push_back([&] { return figure(*Base(), large); });
    }
    for (auto _ : state) {
        const std::vector<double> m = Alternate(state, cmds);
        state.counters["fig10k_ms"] = m[1] - m[0];
        state.counters["fig100k_ms"] = m[3] - m[2];
        state.counters["ratio"] = (m[3] - m[2]) / std::max(1e-3, m[1] - m[0]);
        state.counters["linear"] = static_cast<double>(Plates(100000)) / Plates(10000);
        if (Base()) state.counters["base_ratio"] = (m[3] - m[2]) / std::max(1e-3, m[5] - m[4]);
    }
}

void FigureListVsInfo(benchmark::State& state) {
    const std::string& large = Project(100000);
    std::vector<std::function<double()>> cmds = {[&] { return Host(Ours(), large, {"info"}); },
                                                 [&] { return Host(Ours(), large, {"figure", "--list"}); }};
    if (Base()) cmds.push_back([&] { return Host(*Base(), large, {"figure", "--list"}); });
    for (auto _ : state) {
        const std::vector<double> m = Alternate(state, cmds);
        state.counters["info_ms"] = m[0];
        state.counters["list_ms"] = m[1];
        state.counters["ratio"] = m[1] / m[0];
        if (Base()) state.counters["base_ratio"] = m[1] / m[2];
    }
}

void InfoVsEmpty(benchmark::State& state) {
    const std::string sample = TmpFile("sample.pvxdb");
    if (Host(Ours(), sample, {"make-sample", "--out", sample}) < 0) {
        state.SkipWithError("cannot make the sample");
        return;
    }
    const std::string module = Ours().lib + "/libqsn_pvx.so";
    const std::string empty = ProgramDir() + "/empty_peer";
    std::vector<std::function<double()>> cmds = {[&] { return Host(Ours(), sample, {"info"}); },
                                                 [&] { return TimeRun(Ours().lib, {empty, module}); }};
    if (Base()) cmds.push_back([&] { return Host(*Base(), sample, {"info"}); });
    for (auto _ : state) {
        const std::vector<double> m = Alternate(state, cmds);
        state.counters["info_ms"] = m[0];
        state.counters["empty_ms"] = m[1];
        state.counters["ratio"] = m[0] / m[1];
        if (Base()) state.counters["base_ratio"] = m[0] / m[2];
    }
}

void RenderGrowth(benchmark::State& state) {
    const long sizes[] = {10000, 100000, 400000};
    const std::string out = TmpFile("render.bmp");
    std::vector<std::function<double()>> cmds;
    for (long n : sizes) {
        const std::string& db = Project(n);
        cmds.push_back([&db] { return Host(Ours(), db, {"info"}); });
        cmds.push_back([&db, &out] { return Host(Ours(), db, {"render", "--size", "1920x1080", "--out", out}); });
    }
    for (auto _ : state) {
        const std::vector<double> m = Alternate(state, cmds);
        const double r10 = m[1] - m[0], r100 = m[3] - m[2], r400 = m[5] - m[4];
        const double perLow = (r100 - r10) / static_cast<double>(Plates(100000) - Plates(10000));
        const double perHigh = (r400 - r100) / static_cast<double>(Plates(400000) - Plates(100000));
        state.counters["us_per_plate_10k_100k"] = perLow * 1000;
        state.counters["us_per_plate_100k_400k"] = perHigh * 1000;
        state.counters["ratio"] = perHigh / perLow;
    }
}

BENCHMARK(FigureLinear)->Arg(511)->Arg(512)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FigureListVsInfo)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(InfoVsEmpty)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RenderGrowth)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
