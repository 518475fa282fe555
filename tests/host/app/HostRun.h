// Running the built pvxhost program from the tests of the host program.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace hostrun {

extern const std::string kHost;  // the program
extern const std::string kTmp;   // the tests' temporary folder
extern const std::string kPid;   // this process's id: test programs may run side by side
extern const std::string kSource;  // the source tree
extern const std::string kSample;  // the sample project the build makes

struct RunResult {
    int code = -1;  // exit status; -1 when killed by a signal
    std::string out, err;
};

std::string ReadFile(const std::string& path);

// Runs pvxhost with the arguments (a shell word list) and captures both streams; tag keeps the
// capture files of concurrent runs apart. A run that takes longer than timeoutSeconds (when not
// 0) is killed and reported with status 137.
RunResult RunHost(const std::string& args, const std::string& tag, int timeoutSeconds = 0);

// Runs pvxhost with the arguments in a child process whose files may grow to at most
// fileLimit bytes (SIGXFSZ left at its default, which would end the program), as on a full
// disk.
RunResult RunHostWithFileLimit(const std::vector<std::string>& args, long fileLimit, const std::string& tag);

// Runs pvxhost with the arguments in a child process of at most memoryLimit bytes of address
// space, so that an allocation fails.
RunResult RunHostWithMemoryLimit(const std::vector<std::string>& args, long memoryLimit, const std::string& tag);

// Runs pvxhost with its output on a pseudo-terminal; returns what the terminal received.
RunResult RunHostOnTerminal(const std::vector<std::string>& args);

// "Key: value" lines of info's report.
std::map<std::string, std::string> ParseReport(const std::string& text);

// The sample project written once by make-sample for this test program.
const std::string& SamplePath();

// Lines of text, without their line ends.
std::vector<std::string> Lines(const std::string& text);

}  // namespace hostrun
