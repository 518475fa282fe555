#include "host/app/HostCommand.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/app/HostOutput.h"
#include "host/app/HostProgress.h"
#include "host/base/CMsgOutWnd.h"
#include "host/grx/CContourTool.h"
#include "host/db/CDataBase.h"
#include "platform/afx/AfxDiagnostic.h"

namespace {

#ifdef PVX_VERSION
constexpr const char* kHostVersion = PVX_VERSION;
#else
constexpr const char* kHostVersion = "unknown";  // the test programs compile this file in too
#endif

constexpr size_t kHelpColumn = 26;  // where the help of an option starts, options of the program
constexpr size_t kCommandHelpColumn = 30;  // ... options of a command in the program's help
constexpr size_t kHelpWidth = 100;  // help lines are wrapped before this column
constexpr char kNoBreak = '\x01';   // a blank of help text where lines are not broken

std::string g_command;  // the command of the messages; empty before it is known

std::vector<CHostCommand>& Registry() {
    static std::vector<CHostCommand> commands;
    return commands;
}

// Options every command takes, before or after its word.
const std::vector<CHostOption>& GlobalOptions() {
    static const std::vector<CHostOption> options = {
        {"--db", EHostValue::kPath, "FILE", "project database to open (default: the sample project of the build)"},
        {"--quiet", EHostValue::kFlag, nullptr, "no progress display"},
        {"--verbose", EHostValue::kFlag, nullptr, "also report the program's own steps (the module loaded ...)"},
        {"--help", EHostValue::kFlag, nullptr, "show the help of the program, or of the command, and stop (also -h)"},
        {"--version", EHostValue::kFlag, nullptr, "show the version and stop"},
    };
    return options;
}

// The command of a word (any case) among the commands; null when none.
const CHostCommand* FindCommand(const std::vector<CHostCommand>& commands, const std::string& word) {
    for (const CHostCommand& c : commands)
        if (HostLower(word) == c.pszName) return &c;
    return nullptr;
}

// The sub-commands of a command word: the commands named "WORD SUB" ("graph modes").
std::vector<const CHostCommand*> SubCommands(const std::vector<CHostCommand>& commands, const std::string& word) {
    std::vector<const CHostCommand*> out;
    const std::string prefix = HostLower(word) + " ";
    for (const CHostCommand& c : commands)
        if (!word.empty() && std::strncmp(c.pszName, prefix.c_str(), prefix.size()) == 0) out.push_back(&c);
    return out;
}

// "modes, history" of a command word's sub-commands.
std::string SubCommandWords(const std::vector<const CHostCommand*>& subs) {
    std::string s;
    for (const CHostCommand* c : subs) {
        if (!s.empty()) s += ", ";
        s += std::strchr(c->pszName, ' ') + 1;
    }
    return s;
}

std::vector<std::string> SplitChoices(const char* pszChoices) {
    std::vector<std::string> out;
    std::string s = pszChoices ? pszChoices : "";
    size_t start = 0;
    for (;;) {
        const size_t bar = s.find('|', start);
        out.push_back(s.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return out;
}

// A whole number made of digits only (no sign, no blanks) within [lo, hi].
bool ReadWhole(const std::string& text, long lo, long hi, long& value) {
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (v < lo || v > hi) return false;
    value = static_cast<long>(v);
    return true;
}

// The value as kept in CHostArgs, or an error.
bool CheckValue(const CHostOption& o, const std::string& raw, std::string& value, std::string& error) {
    switch (o.eValue) {
    case EHostValue::kFlag:
        value.clear();
        return true;
    case EHostValue::kText:
    case EHostValue::kPath:
        if (raw.empty()) {
            error = std::string(o.pszName) + " needs a value (" + o.pszValue + ")";
            return false;
        }
        value = raw;
        return true;
    case EHostValue::kInteger: {
        long v = 0;
        if (!ReadWhole(raw, o.nMin, o.nMax, v)) {
            error = std::string(o.pszName) + " expects a whole number from " + std::to_string(o.nMin) + " to " +
                    std::to_string(o.nMax) + ", not \"" + raw + "\"";
            return false;
        }
        value = std::to_string(v);
        return true;
    }
    case EHostValue::kChoice: {
        const std::vector<std::string> choices = SplitChoices(o.pszValue);
        for (const std::string& c : choices)
            if (HostLower(raw) == c) {
                value = c;
                return true;
            }
        std::string list;
        for (size_t i = 0; i < choices.size(); ++i)
            list += (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") + choices[i];
        error = std::string(o.pszName) + " expects " + list + ", not \"" + raw + "\"";
        return false;
    }
    case EHostValue::kSize: {
        const size_t x = HostLower(raw).find('x');
        long w = 0, h = 0;
        if (x == std::string::npos || !ReadWhole(raw.substr(0, x), o.nMin, o.nMax, w) ||
            !ReadWhole(raw.substr(x + 1), o.nMin, o.nMax, h)) {
            error = std::string(o.pszName) + " expects WIDTHxHEIGHT, each from " + std::to_string(o.nMin) + " to " +
                    std::to_string(o.nMax) + " (e.g. 1920x1080), not \"" + raw + "\"";
            return false;
        }
        value = std::to_string(w) + "x" + std::to_string(h);
        return true;
    }
    }
    return false;
}

// Help text of an option after its name: what it does, its limits, its default.
std::string OptionDetails(const CHostOption& o) {
    std::string s = o.pszHelp ? o.pszHelp : "";
    // A limit or a default is kept on one line: its blanks are not places to break.
    auto add = [&s](std::string part) {
        std::replace(part.begin(), part.end(), ' ', kNoBreak);
        s += (s.empty() ? "" : "; ") + part;
    };
    if (o.eValue == EHostValue::kInteger)
        add("a whole number from " + std::to_string(o.nMin) + " to " + std::to_string(o.nMax));
    if (o.eValue == EHostValue::kSize)
        add("each side from " + std::to_string(o.nMin) + " to " + std::to_string(o.nMax));
    if (o.pszDefault) add(std::string("default ") + o.pszDefault);
    if (o.nFlags & HOST_OPT_REQUIRED) add("required");
    if (o.nFlags & HOST_OPT_REPEATABLE) add("may be repeated");
    return s;
}

std::string OptionHead(const CHostOption& o) {
    return o.eValue == EHostValue::kFlag ? o.pszName : std::string(o.pszName) + " " + o.pszValue;
}

// Prints text from column `indent`, wrapped before kHelpWidth; the first line continues the
// current one, which is `used` characters long (on a new line when that leaves no blank before
// `indent`, or with gap false when it passes `indent`).
void PrintWrapped(FILE* out, const std::string& given, size_t indent, size_t used, bool gap = true) {
    // Line ends in a help text are blanks: every text is wrapped here, at one width.
    std::string text = given;
    std::replace(text.begin(), text.end(), '\n', ' ');
    size_t col = used;
    if (col > 0 && col + (gap ? 1 : 0) > indent) {
        std::fputc('\n', out);
        col = 0;
    }
    std::fprintf(out, "%*s", static_cast<int>(indent - col), "");
    col = indent;
    size_t i = 0;
    bool first = true;
    while (i < text.size()) {
        size_t j = text.find(' ', i);
        if (j == std::string::npos) j = text.size();
        const std::string word = text.substr(i, j - i);
        if (word.empty()) {  // blanks in a row count as one
            i = j + 1;
            continue;
        }
        if (!first && col + 1 + word.size() > kHelpWidth) {
            std::fprintf(out, "\n%*s", static_cast<int>(indent), "");
            col = indent;
            first = true;
        }
        std::string shown = word;
        std::replace(shown.begin(), shown.end(), kNoBreak, ' ');
        std::fprintf(out, "%s%s", first ? "" : " ", shown.c_str());
        col += word.size() + (first ? 0 : 1);
        first = false;
        i = j + 1;
    }
    std::fputc('\n', out);
}

void PrintOptions(FILE* out, const std::vector<CHostOption>& options, size_t indent, size_t column) {
    for (const CHostOption& o : options) {
        const std::string head = std::string(indent, ' ') + OptionHead(o);
        std::fputs(head.c_str(), out);
        PrintWrapped(out, OptionDetails(o), column, head.size());
    }
}

// The command and its options after "pvxhost [OPTIONS] ", each option a word that is not broken.
std::string UsageOf(const CHostCommand& c) {
    std::string s = c.pszName;
    if (c.pszOperand) s += std::string(" [") + c.pszOperand + "]";
    for (int pass = 0; pass < 2; ++pass)
        for (const CHostOption& o : c.options) {
            const bool required = (o.nFlags & HOST_OPT_REQUIRED) != 0;
            if (required != (pass == 0)) continue;
            std::string head = OptionHead(o);
            std::replace(head.begin(), head.end(), ' ', kNoBreak);
            s += required ? " " + head : " [" + head + "]";
            if (o.nFlags & HOST_OPT_REPEATABLE) s += "...";
        }
    return s;
}

// "PREFIXpvxhost [OPTIONS] COMMAND [OPTION] ...", wrapped under the command.
void PrintUsage(FILE* out, const char* pszPrefix, const CHostCommand& c) {
    const std::string head = std::string(pszPrefix) + "pvxhost [OPTIONS]";
    std::fputs(head.c_str(), out);
    PrintWrapped(out, UsageOf(c), head.size() + 1, head.size());
}

// A command's summary keeps its lines (some are rows of a table); a line too long for the width is
// wrapped under its own start.
void PrintSummary(FILE* out, const char* pszSummary, size_t indent) {
    const std::string text = pszSummary ? pszSummary : "";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        const size_t lead = std::min(line.find_first_not_of(' '), line.size());
        if (lead == line.size())
            std::fputc('\n', out);
        else if (indent + line.size() <= kHelpWidth)
            std::fprintf(out, "%*s%s\n", static_cast<int>(indent), "", line.c_str());  // as written
        else {
            // A row of a table is wrapped under its last column; other text under its start.
            const size_t gap = line.rfind("  ", kHelpWidth - indent);
            const size_t col = gap != std::string::npos && gap >= lead ? line.find_first_not_of(' ', gap) : lead;
            std::fprintf(out, "%*s%s", static_cast<int>(indent), "", line.substr(0, col).c_str());
            PrintWrapped(out, line.substr(col), indent + col, indent + col, false);
        }
        start = end + 1;
    }
}

void PrintCommandHelp(FILE* out, const CHostCommand& c) {
    PrintUsage(out, "Usage: ", c);
    std::fputc('\n', out);
    PrintSummary(out, c.pszSummary, 0);
    if (!c.options.empty()) {
        std::fprintf(out, "\nOptions:\n");
        PrintOptions(out, c.options, 2, kHelpColumn);
    }
    std::fprintf(out, "\nOptions of every command (before or after its name):\n");
    PrintOptions(out, GlobalOptions(), 2, kHelpColumn);
    std::fprintf(out, "\nExit status: 0 done, 1 the command failed, 2 the command line is wrong.\n");
}

void PrintHelp(FILE* out) {
    std::fprintf(out,
                 "Usage: pvxhost [OPTIONS] COMMAND [COMMAND OPTIONS]\n"
                 "       pvxhost help [COMMAND]\n"
                 "\n"
                 "Headless host of the results module: opens a project database (.pvxdb) and runs\n"
                 "one command on it. Results go to stdout; messages, each headed \"pvxhost COMMAND:\",\n"
                 "and the progress bar (on a terminal) go to stderr. Option names and keyword values\n"
                 "may be written in any case; names the project holds, such as load names (--load DL),\n"
                 "are exact. An option may be given once.\n"
                 "\n"
                 "Options (before or after the command):\n");
    PrintOptions(out, GlobalOptions(), 2, kHelpColumn);
    std::fprintf(out, "  The sample project of this build: %s\n", GetDefaultSamplePath().c_str());
    std::fprintf(out, "\nCommands:\n");
    for (const CHostCommand& c : GetHostCommands()) {
        std::fputc('\n', out);
        PrintUsage(out, "  ", c);
        PrintSummary(out, c.pszSummary, 6);
        PrintOptions(out, c.options, 6, kCommandHelpColumn);
    }
    std::fprintf(out, "\nExit status: 0 done, 1 the command failed, 2 the command line is wrong.\n");
}

// Lines that the layers below write for the user, and the lines of the message window, reach
// the user as the program's own messages.
void ShowDiagnostic(const char*, const char* pszText) { HostMessage("%s", pszText); }
int g_nPromptScopes = 0;  // CHostPromptsAsProgress alive
void ShowMessageLine(const char* pszLine) {
    if (g_nPromptScopes > 0)
        CHostProgress::Note(pszLine);
    else
        HostMessage("%s", pszLine);
}
void ShowContourProgress(const char* pszText) { CHostProgress::Note(pszText); }
void ShowDataBaseProgress(double fraction) { CHostProgress::Report(fraction); }

}  // namespace

// ---- the parser -----------------------------------------------------------------------------

class CHostArgParser {
public:
    explicit CHostArgParser(CHostArgs& args) : m_args(args) {}

    // Options the words may hold, besides those declared before.
    void Declare(const std::vector<CHostOption>& options) {
        m_args.m_options.insert(m_args.m_options.end(), options.begin(), options.end());
    }
    // The command takes one operand (pszName names it in messages).
    void AllowOperand(const char* pszName) { m_pszOperand = pszName; }

    // Reads words from `i` on. With bStopAtWord it stops at the first word that is not an
    // option and leaves `i` there; otherwise such a word is an error. The first error is kept
    // and reading goes on, so that a later --help or --version still counts.
    void Parse(const std::vector<std::string>& words, size_t& i, bool bStopAtWord) {
        while (i < words.size()) {
            const std::string& w = words[i];
            if (w.size() < 2 || w[0] != '-') {
                if (bStopAtWord) return;
                if (m_pszOperand && m_args.m_operand.empty() && !w.empty())
                    m_args.m_operand = w;
                else if (m_pszOperand)
                    Error("unexpected argument \"" + w + "\": give one " + m_pszOperand);
                else
                    Error("unexpected argument \"" + w + "\"");
                ++i;
                continue;
            }
            std::string name = HostLower(w), inlineValue;
            bool bInline = false;
            const size_t eq = name.find('=');
            if (eq != std::string::npos) {
                name = name.substr(0, eq);
                inlineValue = w.substr(eq + 1);
                bInline = true;
            }
            if (name == "-h") name = "--help";
            const CHostOption* o = m_args.Find(name);
            ++i;
            if (!o) {
                Error("unknown option \"" + w + "\"");
                continue;
            }
            std::string raw;
            if (o->eValue == EHostValue::kFlag) {
                if (bInline) {
                    Error(std::string(o->pszName) + " takes no value");
                    continue;
                }
            } else if (bInline) {
                raw = inlineValue;
            } else if (i < words.size() && !IsOptionName(words[i])) {
                raw = words[i++];
            } else {
                Error(std::string(o->pszName) + " needs a value (" + o->pszValue + ")");
                continue;
            }
            std::string value, error;
            if (!CheckValue(*o, raw, value, error)) {
                Error(error);
                continue;
            }
            std::vector<std::string>& values = m_args.m_values[o->pszName];
            if (!values.empty() && !(o->nFlags & HOST_OPT_REPEATABLE)) {
                Error(o->eValue == EHostValue::kFlag
                          ? std::string(o->pszName) + " is given twice"
                          : std::string(o->pszName) + " is given twice (\"" + values.front() + "\" and \"" + raw +
                                "\"); give it once");
                continue;
            }
            values.push_back(value);
        }
    }

    // Required options that are missing.
    void CheckRequired() {
        for (const CHostOption& o : m_args.m_options)
            if ((o.nFlags & HOST_OPT_REQUIRED) && !m_args.Has(o.pszName)) Error(OptionHead(o) + " is required");
    }

    const std::string& GetError() const { return m_error; }

private:
    // A word that names an option of the table: the value of an option is never one.
    bool IsOptionName(const std::string& w) const {
        std::string name = HostLower(w.substr(0, w.find('=')));
        return name == "-h" || m_args.Find(name) != nullptr;
    }
    void Error(const std::string& e) {
        if (m_error.empty()) m_error = e;
    }

    CHostArgs& m_args;
    std::string m_error;
    const char* m_pszOperand = nullptr;
};

// ---- CHostArgs ------------------------------------------------------------------------------

const CHostOption* CHostArgs::Find(const std::string& name) const {
    for (const CHostOption& o : m_options)
        if (name == o.pszName) return &o;
    return nullptr;
}

bool CHostArgs::Has(const std::string& name) const {
    auto it = m_values.find(name);
    return it != m_values.end() && !it->second.empty();
}

std::string CHostArgs::Get(const std::string& name) const {
    auto it = m_values.find(name);
    if (it != m_values.end() && !it->second.empty()) return it->second.front();
    const CHostOption* o = Find(name);
    return o && o->pszDefault ? o->pszDefault : "";
}

std::vector<std::string> CHostArgs::GetAll(const std::string& name) const {
    auto it = m_values.find(name);
    return it != m_values.end() ? it->second : std::vector<std::string>();
}

long CHostArgs::GetInteger(const std::string& name) const { return std::strtol(Get(name).c_str(), nullptr, 10); }

void CHostArgs::GetSize(const std::string& name, long& width, long& height) const {
    const std::string v = Get(name);
    const size_t x = v.find('x');
    width = std::strtol(v.c_str(), nullptr, 10);
    height = x == std::string::npos ? 0 : std::strtol(v.c_str() + x + 1, nullptr, 10);
}

// ---- the program ----------------------------------------------------------------------------

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

std::string HostLower(const std::string& text) {
    std::string s = text;
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool HostParseKey(const std::string& text, unsigned int& key) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const unsigned long long v = std::strtoull(text.c_str(), nullptr, 10);
    if (v > 0xFFFFFFFFull) return false;
    key = static_cast<unsigned int>(v);
    return true;
}

CHostPromptsAsProgress::CHostPromptsAsProgress() : m_nFirst(CMsgOutWnd::GetLineCount()) { ++g_nPromptScopes; }

CHostPromptsAsProgress::~CHostPromptsAsProgress() { --g_nPromptScopes; }

void CHostPromptsAsProgress::ShowHeld() const {
    const std::vector<std::string> lines = CMsgOutWnd::GetLines();
    const size_t first = static_cast<size_t>(std::max(0, m_nFirst));
    for (size_t i = first <= lines.size() ? first : 0; i < lines.size(); ++i) HostMessage("%s", lines[i].c_str());
}

void HostMessage(const char* pszFormat, ...) {
    va_list ap;
    va_start(ap, pszFormat);
    va_list copy;
    va_copy(copy, ap);
    const int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(text.data(), text.size() + 1, pszFormat, ap);
    va_end(ap);
    CHostProgress::Clear();
    const std::string shown = ShowOutputPaths(text);
    std::fprintf(stderr, "pvxhost%s%s: %s\n", g_command.empty() ? "" : " ", g_command.c_str(), shown.c_str());
    std::fflush(stderr);
}

int RunHostCommandLine(int argc, char** argv) {
    g_command.clear();
    CHostOptions options;
    options.strProgram = argc > 0 && argv[0] ? argv[0] : "pvxhost";
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) words.push_back(argv[i] ? argv[i] : "");

    // Options before the command word, then the word.
    CHostArgs args;
    CHostArgParser parser(args);
    parser.Declare(GlobalOptions());
    size_t i = 0;
    parser.Parse(words, i, true);
    const std::string early = parser.GetError();  // an option before the command word
    std::string word = i < words.size() ? words[i++] : std::string();
    bool bHelpCommand = false;
    if (HostLower(word) == "help") {
        // pvxhost help [COMMAND]
        bHelpCommand = true;
        word = i < words.size() && words[i].compare(0, 1, "-") != 0 ? words[i++] : std::string();
    }
    const std::vector<CHostCommand> commands = GetHostCommands();
    const CHostCommand* command = word.empty() ? nullptr : FindCommand(commands, word);
    // A command word with sub-commands ("graph") takes the next word as the sub-command.
    const std::vector<const CHostCommand*> subs = command ? std::vector<const CHostCommand*>() : SubCommands(commands, word);
    if (!subs.empty() && i < words.size() && words[i].compare(0, 1, "-") != 0) {
        if (const CHostCommand* sub = FindCommand(commands, word + " " + words[i])) {
            command = sub;
            word = command->pszName;
            ++i;
        }
    }
    if (command) {
        g_command = command->pszName;
        parser.Declare(command->options);
        parser.AllowOperand(command->pszOperand);
    }
    parser.Parse(words, i, false);

    if (args.Has("--version")) {
        std::printf("pvxhost %s\n", kHostVersion);
        return HOST_EXIT_OK;
    }
    if (bHelpCommand || args.Has("--help")) {
        if (!word.empty() && !command && subs.empty()) {
            HostMessage("unknown command \"%s\" (see pvxhost help)", word.c_str());
            return HOST_EXIT_USAGE;
        }
        if (command) {
            PrintCommandHelp(stdout, *command);
        } else if (!subs.empty()) {
            for (size_t k = 0; k < subs.size(); ++k) {
                if (k) std::fprintf(stdout, "\n");
                PrintCommandHelp(stdout, *subs[k]);
            }
        } else {
            PrintHelp(stdout);
        }
        return HOST_EXIT_OK;
    }
    if (!early.empty()) {
        HostMessage("%s (see pvxhost help)", early.c_str());
        return HOST_EXIT_USAGE;
    }
    if (word.empty()) {
        HostMessage("no command given (see pvxhost help)");
        return HOST_EXIT_USAGE;
    }
    if (!command && !subs.empty()) {
        g_command = HostLower(word);
        HostMessage("give one of its sub-commands: %s (see pvxhost help %s)", SubCommandWords(subs).c_str(),
                    g_command.c_str());
        return HOST_EXIT_USAGE;
    }
    if (!command) {
        HostMessage("unknown command \"%s\" (see pvxhost help)", word.c_str());
        return HOST_EXIT_USAGE;
    }
    parser.CheckRequired();
    if (!parser.GetError().empty()) {
        HostMessage("%s (see pvxhost help %s)", parser.GetError().c_str(), command->pszName);
        return HOST_EXIT_USAGE;
    }

    options.strCommand = command->pszName;
    options.bDBGiven = args.Has("--db");
    options.strDBPath = options.bDBGiven ? args.Get("--db") : GetDefaultSamplePath();
    options.bQuiet = args.Has("--quiet");
    options.bVerbose = args.Has("--verbose");

    // What the layers below and the modules have to say reaches the user as the program's own
    // messages, and long work shows its progress on a terminal.
    AfxSetDiagnosticHandler(&ShowDiagnostic);
    CMsgOutWnd::SetEchoHandler(&ShowMessageLine);
    CContourMsg::SetProgressHandler(&ShowContourProgress);
    CHostProgress::Enable(!options.bQuiet && isatty(STDERR_FILENO));
    CDataBase::SetProgressHandler(&ShowDataBaseProgress);

    const int status = command->pfnRun(options, args);
    CHostProgress::Finish();
    return status;
}
