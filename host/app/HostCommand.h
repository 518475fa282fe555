// The commands of the pvxhost program and the options they share.
//
// Each command lives in its own source file and registers itself with a static
// CHostCommandRegistrar, so adding a command (render, figure, animate ...) is adding a file.
// main() hands the command line to RunHostCommandLine, which reads the global options (--help,
// --db FILE), picks the command named by the first other word and runs it with the words after
// it. A command returns the process exit code: 0 on success; it reports failures on stderr.
#pragma once

#include <string>
#include <vector>

// Exit codes of the program.
enum {
    HOST_EXIT_OK = 0,
    HOST_EXIT_FAILED = 1,  // the command ran and failed (unreadable file, failed write ...)
    HOST_EXIT_USAGE = 2    // bad arguments
};

// Options given before (or after) the command word.
struct CHostOptions {
    std::string strDBPath;    // --db FILE; empty = the sample project of the build
    bool bDBGiven = false;    // --db was on the command line
    std::string strProgram;   // argv[0]
};

typedef int (*PFN_HOST_COMMAND)(const CHostOptions& options, const std::vector<std::string>& args);

struct CHostCommand {
    const char* pszName;     // command word
    const char* pszUsage;    // arguments after the word, for --help
    const char* pszSummary;  // one line (or several, separated by '\n') for --help
    PFN_HOST_COMMAND pfnRun;
    int nOrder;              // position in the --help list
};

class CHostCommandRegistrar {
public:
    explicit CHostCommandRegistrar(const CHostCommand& command);
};

// Runs the program's command line; returns the exit code.
int RunHostCommandLine(int argc, char** argv);

// The registered commands, in help order.
std::vector<CHostCommand> GetHostCommands();

// The sample project the build generates: <build>/examples/sample.pvxdb, found from the
// location of the running program (<build>/bin/pvxhost).
std::string GetDefaultSamplePath();

// Reads a non-negative integer argument; false (with a message on stderr naming the option) when
// the text is not a whole number in [minValue, maxValue].
bool ParseIntArgument(const std::string& option, const std::string& text, long minValue, long maxValue, long& value);
