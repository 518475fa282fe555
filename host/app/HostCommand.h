// The commands of the pvxhost program, the options they take and the messages they print.
//
// Each command lives in its own source file and registers itself with a static
// CHostCommandRegistrar: its word, what it does, the function that runs it and the table of its
// options (CHostOption: name, kind of value, help, default and limits). One parser reads every
// command line from those tables, so options behave alike everywhere: names and keyword values
// in any case (`--view ISO`, `--size 800X600`), `--name value` or `--name=value`, a value checked
// against its limits, an option given twice refused unless it is declared repeatable; and the
// help (`pvxhost help`, `pvxhost COMMAND --help`) lists every option with its default and limits.
// main() hands the command line to RunHostCommandLine. A command returns the exit status: 0 on
// success, 1 when it ran and failed, 2 when the command line is wrong; it reports with
// HostMessage, which prefixes "pvxhost COMMAND: ".
//
//     const CHostCommandRegistrar kRegister({"render", "Draws ...", RunRender, 30,
//         {{"--out", EHostValue::kPath, "FILE.bmp", "picture to write", nullptr, 0, 0, HOST_OPT_REQUIRED}}});
//     int RunRender(const CHostOptions& options, const CHostArgs& args) { args.Get("--out") ... }
//
// A command may take one operand, a word that is not an option (`pvxhost show 7101`): it names
// it in pszOperand and reads it with GetOperand; a second such word is refused.
#pragma once

#include <map>
#include <string>
#include <vector>

// Exit status of the program.
enum {
    HOST_EXIT_OK = 0,
    HOST_EXIT_FAILED = 1,  // the command ran and failed (unreadable file, failed write ...)
    HOST_EXIT_USAGE = 2    // the command line is wrong
};

// What an option takes.
enum class EHostValue {
    kFlag,     // nothing: --quiet
    kText,     // any non-empty text
    kPath,     // a file name, taken as it is
    kInteger,  // a whole number from nMin to nMax
    kChoice,   // one of the words of pszValue ("iso|plan|front|right"), in any case
    kSize      // WIDTHxHEIGHT ("x" in any case), each side from nMin to nMax
};

enum {
    HOST_OPT_REQUIRED = 1,   // the command needs it
    HOST_OPT_REPEATABLE = 2  // may be given more than once; the values are kept in order
};

struct CHostOption {
    const char* pszName;              // "--size"
    EHostValue eValue;
    const char* pszValue;             // value placeholder for help ("WxH", "FILE"); a choice's words
    const char* pszHelp;              // what it does, for help
    const char* pszDefault = nullptr; // value taken when absent (shown in help); null: none
    long nMin = 0;                    // limits of an integer or of each side of a size
    long nMax = 0;
    unsigned nFlags = 0;              // HOST_OPT_*
};

// The options of one command line, checked against their table. Keyword values come back in
// lower case ("iso"), sizes as "WIDTHxHEIGHT".
class CHostArgs {
public:
    // Given on the command line.
    bool Has(const std::string& name) const;
    // The value given, else the declared default, else "".
    std::string Get(const std::string& name) const;
    // Every value of a repeatable option, in command-line order.
    std::vector<std::string> GetAll(const std::string& name) const;
    long GetInteger(const std::string& name) const;
    void GetSize(const std::string& name, long& width, long& height) const;
    // The command's operand as given; "" when none.
    const std::string& GetOperand() const { return m_operand; }

private:
    friend class CHostArgParser;
    const CHostOption* Find(const std::string& name) const;
    std::vector<CHostOption> m_options;
    std::map<std::string, std::vector<std::string>> m_values;  // by option name
    std::string m_operand;
};

// Options of the whole program, given before or after the command word.
struct CHostOptions {
    std::string strDBPath;    // --db FILE; the sample project of the build when not given
    bool bDBGiven = false;    // --db was on the command line
    bool bQuiet = false;      // --quiet: no progress display
    bool bVerbose = false;    // --verbose: also the program's own details (module loaded ...)
    std::string strProgram;   // argv[0]
    std::string strCommand;   // the command word
};

typedef int (*PFN_HOST_COMMAND)(const CHostOptions& options, const CHostArgs& args);

struct CHostCommand {
    const char* pszName;                // command word
    const char* pszSummary;             // what it does; lines separated by '\n'
    PFN_HOST_COMMAND pfnRun;
    int nOrder;                         // position in the help
    std::vector<CHostOption> options;   // in help order
    const char* pszOperand = nullptr;   // one word that is not an option ("RESULT"), optional; null: none taken
};

class CHostCommandRegistrar {
public:
    explicit CHostCommandRegistrar(const CHostCommand& command);
};

// Runs the program's command line; returns the exit status.
int RunHostCommandLine(int argc, char** argv);

// The registered commands, in help order.
std::vector<CHostCommand> GetHostCommands();

// The sample project the build generates: <build>/examples/sample.pvxdb, found from the
// location of the running program (<build>/bin/pvxhost).
std::string GetDefaultSamplePath();

// Prints one line on stderr: "pvxhost COMMAND: text" (or "pvxhost: text" before a command is
// known), after clearing the progress bar. Paths of temporary output files in the text are
// shown as the files they stand for.
void HostMessage(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));

// While one lives, the lines modules write into the host's message window during long work (a
// recording's "press Esc to quit" prompts) show as the progress display's detail, which --quiet
// and a non-terminal turn off, instead of as messages. ShowHeld prints those lines as messages,
// for a step that failed. (A module that empties the window meanwhile leaves fewer to show.)
class CHostPromptsAsProgress {
public:
    CHostPromptsAsProgress();
    ~CHostPromptsAsProgress();
    CHostPromptsAsProgress(const CHostPromptsAsProgress&) = delete;
    CHostPromptsAsProgress& operator=(const CHostPromptsAsProgress&) = delete;
    void ShowHeld() const;

private:
    int m_nFirst;  // the window's line count when made
};

// Lower-case copy (ASCII).
std::string HostLower(const std::string& text);
// A key as the project holds it: digits only, 0 to 4294967295; false for anything else.
bool HostParseKey(const std::string& text, unsigned int& key);
