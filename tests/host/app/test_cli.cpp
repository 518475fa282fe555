// The command line of pvxhost: one parser for every command (names and keyword values in any
// case, limits, repeated options, help and version), and the progress display on a terminal.
// The parser is tested with a command of the test's own; help, version and progress with the
// built program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "host/app/HostCommand.h"
#include "tests/host/app/HostRun.h"

namespace {

// What the probe command was given.
CHostArgs g_seen;
int g_runs = 0;

int RunProbe(const CHostOptions&, const CHostArgs& args) {
    g_seen = args;
    ++g_runs;
    return HOST_EXIT_OK;
}

const CHostCommandRegistrar kProbe({"probe", "A command of the test.", RunProbe, 1,
                                    {{"--out", EHostValue::kPath, "FILE", "file to write", nullptr, 0, 0,
                                      HOST_OPT_REQUIRED},
                                     {"--view", EHostValue::kChoice, "iso|plan|front|right", "direction", "iso"},
                                     {"--size", EHostValue::kSize, "WxH", "picture size", "1024x768", 16, 16384},
                                     {"--count", EHostValue::kInteger, "N", "how many", "3", 1, 10},
                                     {"--set", EHostValue::kText, "NAME=VALUE", "a setting", nullptr, 0, 0,
                                      HOST_OPT_REPEATABLE},
                                     {"--flag", EHostValue::kFlag, nullptr, "a switch"}}});

// A command that takes one operand.
std::string g_operand;
int RunItem(const CHostOptions&, const CHostArgs& args) {
    g_operand = args.GetOperand();
    return HOST_EXIT_OK;
}
const CHostCommandRegistrar kItem({"item", "A command of the test with an operand.", RunItem, 2,
                                   {{"--flag", EHostValue::kFlag, nullptr, "a switch"}}, "ITEM"});

struct Outcome {
    int code = -1;
    std::string out, err;
};

Outcome RunLine(std::vector<std::string> words) {
    words.insert(words.begin(), "pvxhost");
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Outcome o;
    o.code = RunHostCommandLine(static_cast<int>(words.size()), argv.data());
    o.out = testing::internal::GetCapturedStdout();
    o.err = testing::internal::GetCapturedStderr();
    return o;
}

TEST(HostCommandLine, OptionsAreReadAlikeAndCheckedAgainstTheirTable) {
    struct Row {
        const char* label;
        std::vector<std::string> words;
        const char* view;  // expected values, or null
        const char* size;
        const char* count;
    } rows[] = {
        {"defaults", {"probe", "--out", "a"}, "iso", "1024x768", "3"},
        {"keyword values in any case", {"probe", "--out", "a", "--view", "ISO", "--size", "800X600"}, "iso", "800x600",
         "3"},
        {"option names in any case", {"PROBE", "--OUT", "a", "--View", "Plan"}, "plan", "1024x768", "3"},
        {"name=value", {"probe", "--out=a", "--count=7", "--size=16x16384"}, "iso", "16x16384", "7"},
        {"options of the program after the command", {"probe", "--out", "a", "--quiet", "--db", "x.pvxdb"}, "iso",
         "1024x768", "3"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const int before = g_runs;
        const Outcome o = RunLine(r.words);
        ASSERT_EQ(o.code, 0) << o.err;
        EXPECT_EQ(g_runs, before + 1);
        EXPECT_EQ(g_seen.Get("--out"), "a");
        EXPECT_EQ(g_seen.Get("--view"), r.view);
        EXPECT_EQ(g_seen.Get("--size"), r.size);
        EXPECT_EQ(g_seen.Get("--count"), r.count);
        EXPECT_TRUE(o.err.empty()) << o.err;
    }
    long w = 0, h = 0;
    ASSERT_EQ(RunLine({"probe", "--out", "a", "--size", "640x480"}).code, 0);
    g_seen.GetSize("--size", w, h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_FALSE(g_seen.Has("--view")) << "a default is not an option given";

    // An option meant to repeat keeps every value in order.
    ASSERT_EQ(RunLine({"probe", "--out", "a", "--set", "b=2", "--SET", "a=1"}).code, 0);
    EXPECT_EQ(g_seen.GetAll("--set"), (std::vector<std::string>{"b=2", "a=1"}));
}

TEST(HostCommandLine, MisuseStopsWithOneLineAndStatusTwo) {
    struct Row {
        const char* label;
        std::vector<std::string> words;
        const char* message;
    } rows[] = {
        {"an option twice", {"probe", "--out", "a", "--view", "iso", "--view", "plan"},
         "--view is given twice (\"iso\" and \"plan\")"},
        {"the same option in two cases", {"probe", "--out", "a", "--count", "2", "--COUNT", "2"}, "--count is given twice"},
        {"a switch twice", {"probe", "--out", "a", "--flag", "--flag"}, "--flag is given twice"},
        {"a program option twice", {"--db", "a.pvxdb", "probe", "--out", "a", "--DB", "b.pvxdb"}, "--db is given twice"},
        {"side below 16", {"probe", "--out", "a", "--size", "15x100"}, "each from 16 to 16384"},
        {"side above 16384", {"probe", "--out", "a", "--size", "100x16385"}, "not \"100x16385\""},
        {"size without x", {"probe", "--out", "a", "--size", "640"}, "WIDTHxHEIGHT"},
        {"number with text", {"probe", "--out", "a", "--count", "3x"}, "from 1 to 10, not \"3x\""},
        {"number with a sign", {"probe", "--out", "a", "--count", "+3"}, "not \"+3\""},
        {"number above its limit", {"probe", "--out", "a", "--count", "11"}, "not \"11\""},
        {"unknown keyword", {"probe", "--out", "a", "--view", "top"}, "--view expects iso, plan, front or right"},
        {"no value", {"probe", "--out"}, "--out needs a value (FILE)"},
        {"an option for a value", {"probe", "--out", "--view", "iso"}, "--out needs a value"},
        {"empty value", {"probe", "--out="}, "--out needs a value"},
        {"a value for a switch", {"probe", "--out", "a", "--flag=yes"}, "--flag takes no value"},
        {"required option missing", {"probe"}, "--out FILE is required"},
        {"unknown option", {"probe", "--out", "a", "--colour", "red"}, "unknown option \"--colour\""},
        {"a word after the options", {"probe", "--out", "a", "extra"}, "unexpected argument \"extra\""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const int before = g_runs;
        const Outcome o = RunLine(r.words);
        EXPECT_EQ(o.code, HOST_EXIT_USAGE);
        EXPECT_EQ(g_runs, before) << "the command does not run";
        EXPECT_EQ(o.err.rfind("pvxhost probe: ", 0), 0u) << o.err;
        EXPECT_NE(o.err.find(r.message), std::string::npos) << o.err;
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << "one line: " << o.err;
        EXPECT_TRUE(o.out.empty()) << o.out;
    }
    // Before a command is known the prefix names none.
    for (const auto& words : {std::vector<std::string>{}, {"frobnicate"}, {"--frobnicate"}}) {
        const Outcome o = RunLine(words);
        EXPECT_EQ(o.code, HOST_EXIT_USAGE);
        EXPECT_EQ(o.err.rfind("pvxhost: ", 0), 0u) << o.err;
    }
}

TEST(HostCommandLine, HelpListsEveryOptionWithItsDefaultAndLimits) {
    // Help is shown whatever else the line holds.
    for (const auto& words : {std::vector<std::string>{"probe", "--help"}, {"probe", "-h"}, {"help", "probe"},
                              {"probe", "--bogus", "--view", "top", "--HELP"}}) {
        SCOPED_TRACE(words.back());
        const Outcome o = RunLine(words);
        ASSERT_EQ(o.code, 0) << o.err;
        EXPECT_TRUE(o.err.empty()) << o.err;
        for (const char* text : {"Usage: pvxhost [OPTIONS] probe --out FILE [--view iso|plan|front|right]",
                                 "[--set NAME=VALUE]...", "A command of the test.", "--out FILE", "required",
                                 "--view iso|plan|front|right", "default iso", "--size WxH",
                                 "each side from 16 to 16384; default 1024x768", "--count N",
                                 "a whole number from 1 to 10; default 3", "may be repeated", "--flag", "--db FILE",
                                 "--quiet", "--verbose", "--version"})
            EXPECT_NE(o.out.find(text), std::string::npos) << text << " missing from:\n" << o.out;
    }
    const Outcome all = RunLine({"help"});
    EXPECT_EQ(all.code, 0);
    EXPECT_NE(all.out.find("pvxhost [OPTIONS] probe"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("a whole number from 1 to 10; default 3"), std::string::npos) << all.out;
    const Outcome unknown = RunLine({"help", "frobnicate"});
    EXPECT_EQ(unknown.code, HOST_EXIT_USAGE);
    EXPECT_NE(unknown.err.find("unknown command \"frobnicate\""), std::string::npos) << unknown.err;
}

// The built program: every command has its help, and the program its version.
TEST(PvxHostHelp, EveryCommandExplainsItselfAndTheProgramItsVersion) {
    struct Row {
        std::string args;
        std::vector<const char*> says;
    } rows[] = {
        {"render --help", {"--out FILE.bmp", "each side from 16 to 16384", "default 1024x768", "default iso"}},
        {"RENDER --Help --size 1x1", {"--size WxH"}},
        {"help export", {"--format emf|bmp", "the extension of --out", "16 to 16384"}},
        {"export -h", {"--out FILE"}},
        {"help info", {"--module PATH"}},
        {"make-sample --help", {"--out FILE.pvxdb", "from 1 to 2000000", "default 192"}},
        {"help", {"info", "render", "export", "make-sample", "16 to 16384", "1 to 2000000"}},
        {"help figure", {"the page's tab is picked first;", "--owner NAME"}},
        {"help make-sample", {"instead of the 3 m grid's 65"}},
        {"help", {"may be written in any case; names the project holds, such as load names (--load DL),", "are exact."}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args);
        const hostrun::RunResult res = hostrun::RunHost(r.args, "help");
        EXPECT_EQ(res.code, 0) << res.err;
        EXPECT_TRUE(res.err.empty()) << res.err;
        for (const char* text : r.says) EXPECT_NE(res.out.find(text), std::string::npos) << text << " in:\n" << res.out;
        // One width, and an option's help never falls back to the line's start.
        bool inOptions = false;
        for (const std::string& line : hostrun::Lines(res.out)) {
            const auto chars = std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; });
            EXPECT_LE(chars, 100) << line;
            if (line.empty() || line.back() == ':') inOptions = line.rfind("Options", 0) == 0;
            else if (inOptions) {
                EXPECT_EQ(line[0], ' ') << line;
            }
        }
    }
    const hostrun::RunResult v = hostrun::RunHost("--version", "version");
    EXPECT_EQ(v.code, 0);
    const std::string prefix = "pvxhost ";
    ASSERT_EQ(v.out.rfind(prefix, 0), 0u) << v.out;
    // "pvxhost MAJOR.MINOR.PATCH\n"
    const std::string number = v.out.substr(prefix.size());
    EXPECT_EQ(number.find_first_not_of("0123456789.\n"), std::string::npos) << v.out;
    EXPECT_EQ(std::count(number.begin(), number.end(), '.'), 2) << v.out;
}

// Long work shows a bar with its percentage on a terminal, and nothing elsewhere or with --quiet.
TEST(PvxHostProgress, ABarOnATerminalOnly) {
    const std::string project = hostrun::kTmp + "/progress_" + hostrun::kPid + ".pvxdb";
    const std::string picture = hostrun::kTmp + "/progress_" + hostrun::kPid + ".bmp";
    const std::string metafile = hostrun::kTmp + "/progress_" + hostrun::kPid + ".emf";
    struct Row {
        const char* label;
        std::vector<std::string> args;
        const char* step;  // a step the bar names
    } rows[] = {
        {"make-sample", {"make-sample", "--size", "2000", "--out", project}, "writing"},
        {"info", {"--db", project, "info"}, "reading the project"},
        {"render", {"--db", project, "render", "--size", "200x150", "--out", picture}, "drawing the view"},
        {"export", {"--db", project, "export", "--size", "200x150", "--out", metafile}, "exporting"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const hostrun::RunResult tty = hostrun::RunHostOnTerminal(r.args);
        ASSERT_EQ(tty.code, 0) << tty.out;
        EXPECT_NE(tty.out.find("\r["), std::string::npos) << tty.out;
        EXPECT_NE(tty.out.find("%  "), std::string::npos) << tty.out;
        EXPECT_NE(tty.out.find(r.step), std::string::npos) << tty.out;
        // The bar is taken away before the result is printed.
        const size_t lastBar = tty.out.rfind("\r[");
        const size_t erased = tty.out.rfind("\r\033[K");
        EXPECT_TRUE(erased != std::string::npos && erased > lastBar) << tty.out;

        std::vector<std::string> quiet = r.args;
        quiet.insert(quiet.begin(), "--quiet");
        const hostrun::RunResult calm = hostrun::RunHostOnTerminal(quiet);
        ASSERT_EQ(calm.code, 0) << calm.out;
        EXPECT_EQ(calm.out.find('%'), std::string::npos) << calm.out;
        EXPECT_EQ(calm.out.find('\r' + std::string("[")), std::string::npos) << calm.out;

        std::string words;
        for (const std::string& a : r.args) words += " '" + a + "'";
        const hostrun::RunResult file = hostrun::RunHost(words, "progress");
        ASSERT_EQ(file.code, 0) << file.err;
        EXPECT_TRUE(file.err.empty()) << "not a terminal: " << file.err;
    }
    std::remove(project.c_str());
    std::remove(picture.c_str());
    std::remove(metafile.c_str());
}

TEST(HostCommandLine, ACommandTakesOneOperandAnywhereAmongItsOptions) {
    struct Row {
        const char* label;
        std::vector<std::string> words;
        int code;
        const char* operand;  // as the command saw it
        const char* message;  // on stderr, for a refusal
    } rows[] = {
        {"before the options", {"item", "7101", "--flag"}, HOST_EXIT_OK, "7101", ""},
        {"after the options", {"item", "--flag", "7101"}, HOST_EXIT_OK, "7101", ""},
        {"none", {"item"}, HOST_EXIT_OK, "", ""},
        {"two", {"item", "7101", "7102"}, HOST_EXIT_USAGE, "", "unexpected argument \"7102\": give one ITEM"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        g_operand = "unchanged";
        const Outcome o = RunLine(r.words);
        EXPECT_EQ(o.code, r.code) << o.err;
        if (r.code == HOST_EXIT_OK) {
            EXPECT_EQ(g_operand, r.operand);
        } else {
            EXPECT_EQ(g_operand, "unchanged") << "the command does not run";
            EXPECT_NE(o.err.find(r.message), std::string::npos) << o.err;
        }
    }
    const Outcome help = RunLine({"item", "--help"});
    EXPECT_NE(help.out.find("Usage: pvxhost [OPTIONS] item [ITEM] [--flag]"), std::string::npos) << help.out;
}

}  // namespace

namespace {

// One mistake, one status, whatever the command: a wrong command line (an unknown load, figure,
// value or output kind) is 2, a run that cannot do what it was asked 1; a figure prints what it
// wrote. The projects without footing checks and without foundation model are made here.
TEST(PvxHostExitStatus, OneMistakeOneStatusInEveryCommand) {
    const std::string noChecks = hostrun::kTmp + "/status_nochecks_" + hostrun::kPid + ".pvxdb";
    const std::string frame = hostrun::kTmp + "/status_frame_" + hostrun::kPid + ".pvxdb";
    ASSERT_EQ(std::system(("cp '" + hostrun::SamplePath() + "' '" + noChecks + "' && sqlite3 '" + noChecks +
                           "' 'DELETE FROM PCDCOLF'").c_str()), 0);
    ASSERT_EQ(hostrun::RunHost("make-sample --frame-bays 2 --out '" + frame + "'", "status").code, 0);
    const std::string out = " --out '" + hostrun::kTmp + "/status_" + hostrun::kPid;
    struct Row {
        const char* label;
        std::string args;
        int code;
        const char* says;  // in stderr, or in stdout for status 0
    } rows[] = {
        {"render, unknown load", "render --mode 7 --load NOPE" + out + ".bmp'", 2, "no load case or combination"},
        {"design, unknown load", "design 35 --load NOPE" + out + ".bmp'", 2, "no load case or combination"},
        {"show, unknown load", "show 7301 --load NOPE" + out + ".bmp'", 2, "no load case or combination"},
        {"animate, unknown load", "animate 7301 --load NOPE" + out + ".avi'", 2, "no load case or combination"},
        {"graph history, unknown load", "graph history --load NOPE --node 222" + out + ".bmp'", 2, "NOPE"},
        {"figure, unknown load", "figure 132 --load NOPE" + out + ".dxf'", 2, "no load case \"NOPE\""},
        {"render, a jpg", "render" + out + ".jpg'", 2, "JPG"},
        {"render, a dwg", "render" + out + ".dwg'", 2, "DWG"},
        {"figure, a jpg", "figure 132" + out + ".jpg'", 2, ".dxf"},
        {"figure, a dwg", "figure 132" + out + ".dwg'", 2, "DWG cannot be written"},
        {"figure, unknown figure", "figure 999" + out + ".dxf'", 2, "unknown figure ID"},
        // The DISPLAY page refuses what its edits would not take, naming the edit and its range.
        {"scale not a number", "figure 160 --set scale=abc" + out + ".dxf'", 2, "总的绘图比例无效(应为0.001到1000"},
        {"scale 0", "figure 160 --set scale=0" + out + ".dxf'", 2, "总的绘图比例无效"},
        {"negative precision", "figure 160 --set precision=-5" + out + ".dxf'", 2, "数值精度无效(应为0到15之间的整数)"},
        {"value scale", "figure 201 --set value-scale=1e9" + out + ".dxf'", 2, "数值绘图比例无效"},
        {"disabled for the owner", "figure 132 --owner PILE" + out + ".dxf'", 2, "it enables the figures 450, 302"},
        // The legend takes 180 pixels of the width: nothing is left for the model. Before, the
        // legend alone was written, with status 0.
        {"render, no room for the model", "render --mode 2 --load DL --size 160x120" + out + ".bmp'", 1,
         "the model does not fit in the 160x120 picture"},
        {"animate, no room for the model", "animate 7201 --load DL --frames 3 --size 160x120" + out + ".avi'", 1,
         "the legend leaves it 0x120 pixels"},
        {"no check results", "--db '" + noChecks + "' figure 132" + out + ".dxf'", 1, "table PCDCOLF"},
        {"no foundation model", "--db '" + frame + "' figure 132" + out + ".dxf'", 1, "no foundation model"},
        {"the list says so", "--db '" + frame + "' figure --list", 0, "no foundation model"},
        // Two footings with checks (PCDCOLF) of two lines each, the title, the load-case and scale lines.
        {"what was written", "figure 132 --load 0" + out + ".dxf'", 0,
         "figure 132 地基承载力验算 (ISO_CHECK_CZL); load case 0 最不利荷载组合; 7 texts"},
        // A blast group is told from the standard group of the same terms.
        {"a blast group", "figure 160 --load 105" + out + ".dxf'", 0, "load case 105 1.0DL+1.0LL (人防)"},
        // --quiet: the contour tool's steps and a recording's prompts are progress, not messages.
        {"quiet contour", "figure 600 --contour-set strips=8 --contour-set render=0" + out + ".dxf'", 0, "Wrote"},
        {"quiet recording", "animate 7201 --load DL --frames 3" + out + ".avi'", 0, "Wrote"},
        {"a seismic group", "figure 160 --load 104" + out + ".dxf'", 0, "load case 104 1.2DL+1.4LL+0.84WX (地震)"},
        // A list item's text holding '+' is one item, not two.
        {"a load case holding '+'", "figure 132 --set loadcase=1.0DL+1.0LL" + out + ".dxf'", 0, "load case 102 1.0DL+1.0LL"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const hostrun::RunResult res = hostrun::RunHost("--quiet " + r.args, "status");
        EXPECT_EQ(res.code, r.code) << res.err;
        EXPECT_NE((r.code ? res.err : res.out).find(r.says), std::string::npos) << res.out << res.err;
        if (r.code == 0) {
            EXPECT_EQ(res.err, "");
        }
    }
    std::remove(noChecks.c_str());
    std::remove(frame.c_str());
}

}  // namespace
