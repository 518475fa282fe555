// pvxhost figure with the figure panel and the owner-type selector on the sample project: the
// command line of --set, --owner and --list-controls, and the footing design figures checked
// against the project's tables by scripts/check_footing_design.py (closed forms from the
// reactions, the texts of 100 and 160, --set scale=2, --owner ISO_CAP).
#include <gtest/gtest.h>

#include <string>

#include "tests/module/ModuleTestSupport.h"

namespace {
const std::string kSample = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";
const std::string kTmp = PVX_TEST_TMPDIR;
}  // namespace

TEST(FigurePanelCommandTest, CommandLine) {
    struct Row {
        const char* args;
        int exitCode;
        const char* says;  // in stdout or stderr
    } rows[] = {
        {"figure 160 --list-controls", 0, "11474  values       check box"},
        {"figure 160 --list-controls", 0, "value-scale  edit         \"\"                           \"1.000\" (no effect here)"},
        {"figure 160 --list-controls", 0, "5 items: 0 \"最不利荷载组合\" *"},
        {"figure 160 --list-controls", 0, "11385  textstyle    button       \"文字样式\"               - (no effect here)"},
        {"figure 160 --list-controls", 0, "42091  export       button"},
        {"figure 160 --list-controls", 0, "options (11382, hidden on the page): it opens the host's display-option"},
        {"figure 160 --set layers=1 --out X.dxf", 0, "note: control \"layers\" has no effect here"},
        {"figure 160 --set nosuch=1 --out X.dxf", 2, "the panel's pages have no control \"nosuch\""},
        {"figure 160 --set values=1 --out X.dxf", 1, "control \"values\" is disabled on this page"},
        {"figure 160 --set value-scale=2 --out X.dxf", 0, "note: control \"value-scale\" has no effect here"},
        {"figure 160 --set scale --out X.dxf", 2, "--set expects CONTROL=VALUE"},
        {"figure 160 --set loadcase=99 --out X.dxf", 2, "has no item \"99\""},
        {"figure --list --owner NOSUCH", 2, "--owner \"NOSUCH\": no such owner type"},
        {"figure --list --owner sink", 0, "owner type sink"},
        {"figure --list --set scale=2", 2, "--set has no effect with --list"},
        {"figure 160 --list-controls --out X.dxf", 2, "--out has no effect with --list-controls"},
    };
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args);
        std::string args = std::string("--db ") + kSample + " " + r.args;
        const size_t x = args.find("X.dxf");
        if (x != std::string::npos) args.replace(x, 5, kTmp + "/figpanel_cmd.dxf");
        const auto run = moduletest::RunHost(args, "figpanel_cmd_" + std::to_string(n++));
        EXPECT_EQ(run.exitCode, r.exitCode) << run.err;
        EXPECT_NE((run.out + run.err).find(r.says), std::string::npos) << run.out << run.err;
    }
}

TEST(FigurePanelCommandTest, DesignFiguresEqualTheProjectTables) {
    const std::string cmd = std::string("/usr/bin/python3 ") + PVX_SOURCE_DIR + "/scripts/check_footing_design.py " +
                            PVX_BINARY_DIR + "/bin/pvxhost " + kSample + " " + kTmp + "/figpanel >" + kTmp +
                            "/figpanel_check.out 2>&1";
    const int status = std::system(cmd.c_str());
    EXPECT_EQ(status, 0) << moduletest::ReadWholeFile(kTmp + "/figpanel_check.out");
}
