#include "host/app/HostCommand.h"
#include "host/app/ModeTable.h"

#include "host/base/CMsgOutWnd.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {
std::vector<CHostCommand>& Registry() {
    static std::vector<CHostCommand> commands;
    return commands;
}

void PrintHelp(FILE* out) {
    std::fprintf(out,
                 "Usage: pvxhost [--db FILE] COMMAND [ARGUMENTS]\n"
                 "       pvxhost --help\n"
                 "\n"
                 "Headless host of the results module: opens a project database (.pvxdb) and\n"
                 "runs one command on it. Lines written to the message window go to stderr.\n"
                 "\n"
                 "Options:\n"
                 "  --db FILE   project database to open (default: the sample project of the\n"
                 "              build, %s)\n"
                 "  --help, -h  show this text\n"
                 "\n"
                 "Commands:\n",
                 GetDefaultSamplePath().c_str());
    for (const CHostCommand& c : GetHostCommands()) {
        std::string head = std::string("  ") + c.pszName;
        if (c.pszUsage && *c.pszUsage) head += std::string(" ") + c.pszUsage;
        std::fprintf(out, "%s\n", head.c_str());
        const char* s = c.pszSummary ? c.pszSummary : "";
        while (*s) {
            const char* nl = std::strchr(s, '\n');
            const size_t n = nl ? static_cast<size_t>(nl - s) : std::strlen(s);
            std::fprintf(out, "      %.*s\n", static_cast<int>(n), s);
            s += n;
            if (*s == '\n') ++s;
        }
    }
    std::fprintf(out, "\n%s", GetHostResultHelp());
}
}  // namespace

CHostCommandRegistrar::CHostCommandRegistrar(const CHostCommand& command) { Registry().push_back(command); }

std::vector<CHostCommand> GetHostCommands() {
    std::vector<CHostCommand> v = Registry();
    std::stable_sort(v.begin(), v.end(), [](const CHostCommand& a, const CHostCommand& b) { return a.nOrder < b.nOrder; });
    return v;
}

std::string GetDefaultSamplePath() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    std::string exe = n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
    // <build>/bin/pvxhost -> <build>
    for (int i = 0; i < 2; ++i) {
        const size_t slash = exe.find_last_of('/');
        exe = slash == std::string::npos ? std::string(".") : exe.substr(0, slash);
    }
    if (exe.empty()) exe = "/";
    return exe + "/examples/sample.pvxdb";
}

bool ParseIntArgument(const std::string& option, const std::string& text, long minValue, long maxValue, long& value) {
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || errno != 0 || !end || *end != '\0' || v < minValue || v > maxValue) {
        std::fprintf(stderr, "pvxhost: %s expects a whole number from %ld to %ld, not \"%s\"\n", option.c_str(),
                     minValue, maxValue, text.c_str());
        return false;
    }
    value = v;
    return true;
}

int RunHostCommandLine(int argc, char** argv) {
    CHostOptions options;
    options.strProgram = argc > 0 && argv[0] ? argv[0] : "pvxhost";
    std::string command;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i] ? argv[i] : "";
        if (command.empty() && (a == "--help" || a == "-h")) {
            PrintHelp(stdout);
            return HOST_EXIT_OK;
        }
        if (a == "--db") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "pvxhost: --db needs a file name\n");
                return HOST_EXIT_USAGE;
            }
            options.strDBPath = argv[++i];
            options.bDBGiven = true;
            if (options.strDBPath.empty()) {
                std::fprintf(stderr, "pvxhost: --db needs a file name\n");
                return HOST_EXIT_USAGE;
            }
            continue;
        }
        if (a.rfind("--db=", 0) == 0) {
            options.strDBPath = a.substr(5);
            options.bDBGiven = true;
            if (options.strDBPath.empty()) {
                std::fprintf(stderr, "pvxhost: --db needs a file name\n");
                return HOST_EXIT_USAGE;
            }
            continue;
        }
        if (command.empty()) {
            if (!a.empty() && a[0] == '-') {
                std::fprintf(stderr, "pvxhost: unknown option \"%s\" (see pvxhost --help)\n", a.c_str());
                return HOST_EXIT_USAGE;
            }
            command = a;
        } else {
            args.push_back(a);
        }
    }
    if (command.empty()) {
        std::fprintf(stderr, "pvxhost: no command given (see pvxhost --help)\n");
        return HOST_EXIT_USAGE;
    }
    if (!options.bDBGiven) options.strDBPath = GetDefaultSamplePath();
    // Progress and warnings that modules write to the message window reach the user at once.
    CMsgOutWnd::SetEchoStream(stderr);
    for (const CHostCommand& c : GetHostCommands())
        if (command == c.pszName) return c.pfnRun(options, args);
    std::fprintf(stderr, "pvxhost: unknown command \"%s\" (see pvxhost --help)\n", command.c_str());
    return HOST_EXIT_USAGE;
}
