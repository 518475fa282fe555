#include "tests/host/app/HostRun.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace hostrun {

const std::string kHost = PVX_BINARY_DIR "/bin/pvxhost";
const std::string kTmp = PVX_TEST_TMPDIR;
const std::string kPid = std::to_string(getpid());
const std::string kSource = PVX_SOURCE_DIR;
const std::string kSample = PVX_BINARY_DIR "/examples/sample.pvxdb";

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

RunResult RunHost(const std::string& args, const std::string& tag, int timeoutSeconds) {
    const std::string out = kTmp + "/pvxhost_" + tag + kPid + ".out", err = kTmp + "/pvxhost_" + tag + kPid + ".err";
    const std::string limit = timeoutSeconds > 0 ? "timeout -s KILL " + std::to_string(timeoutSeconds) + " " : "";
    const std::string cmd = limit + "'" + kHost + "' " + args + " >'" + out + "' 2>'" + err + "'";
    const int status = std::system(cmd.c_str());
    RunResult r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadFile(out);
    r.err = ReadFile(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return r;
}

namespace {

std::vector<char*> Argv(std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    return argv;
}

}  // namespace

namespace {

// Runs pvxhost in a child process; limit() is called in the child after its output is captured.
template <class F> RunResult RunHostLimited(const std::vector<std::string>& args, const std::string& tag, F limit) {
    const std::string out = kTmp + "/pvxhost_" + tag + kPid + ".out", err = kTmp + "/pvxhost_" + tag + kPid + ".err";
    std::vector<std::string> words{kHost};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv = Argv(words);
    const pid_t pid = fork();
    if (pid == 0) {
        const int fo = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int fe = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fo < 0 || fe < 0 || dup2(fo, 1) < 0 || dup2(fe, 2) < 0) _exit(125);
        if (!limit()) _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    RunResult r;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid) r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadFile(out);
    r.err = ReadFile(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return r;
}

}  // namespace

RunResult RunHostWithMemoryLimit(const std::vector<std::string>& args, long memoryLimit, const std::string& tag) {
    return RunHostLimited(args, tag, [memoryLimit] {
        struct rlimit lim {static_cast<rlim_t>(memoryLimit), static_cast<rlim_t>(memoryLimit)};
        return setrlimit(RLIMIT_AS, &lim) == 0;
    });
}

RunResult RunHostWithFileLimit(const std::vector<std::string>& args, long fileLimit, const std::string& tag) {
    // The limit comes after the capture files are made; their text stays far below it. SIGXFSZ
    // keeps its default: the program itself must turn it into a refusal.
    return RunHostLimited(args, tag, [fileLimit] {
        struct rlimit lim {static_cast<rlim_t>(fileLimit), static_cast<rlim_t>(fileLimit)};
        return setrlimit(RLIMIT_FSIZE, &lim) == 0;
    });
}

RunResult RunHostOnTerminal(const std::vector<std::string>& args) {
    std::vector<std::string> words{kHost};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv = Argv(words);
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    RunResult r;
    if (pid < 0) return r;
    char buf[4096];
    for (;;) {
        const ssize_t n = read(master, buf, sizeof buf);
        if (n <= 0) break;  // EIO once the program has closed the terminal
        r.out.append(buf, static_cast<size_t>(n));
    }
    close(master);
    int status = 0;
    if (waitpid(pid, &status, 0) == pid) r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::map<std::string, std::string> ParseReport(const std::string& text) {
    std::map<std::string, std::string> m;
    for (const std::string& line : Lines(text)) {
        const size_t colon = line.find(": ");
        if (colon != std::string::npos) m[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return m;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

namespace {

std::string SampleFile() { return kTmp + "/test_sample_" + kPid + ".pvxdb"; }

// Removes the shared sample when the program ends.
class SampleCleanup : public ::testing::Environment {
public:
    void TearDown() override { std::remove(SampleFile().c_str()); }
};
::testing::Environment* const kCleanup = ::testing::AddGlobalTestEnvironment(new SampleCleanup);

}  // namespace

const std::string& SamplePath() {
    static const std::string path = [] {
        const std::string p = SampleFile();
        const RunResult r = RunHost("make-sample --out '" + p + "'", "mk");
        EXPECT_EQ(r.code, 0) << r.err;
        return p;
    }();
    return path;
}

}  // namespace hostrun
