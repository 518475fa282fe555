// pvxhost design on the sample project: the command line, and every label, legend value and
// listed record compared with the project's tables by scripts/check_design_figures.py, which
// reads them with sqlite3.
#include <gtest/gtest.h>

#include <string>

#include "tests/module/ModuleTestSupport.h"

TEST(DesignCommandTest, CommandLine) {
    struct Row {
        const char* args;
        int exitCode;
        const char* says;  // in stdout or stderr
    } rows[] = {
        {"design 99 --list", 2, "no design figure mode \"99\""},
        {"design --list", 2, "give the figure mode"},
        {"design 28", 2, "--out FILE.bmp|FILE.emf is required"},
        {"design 28 --load DL --list", 0, "--load has no effect in figure 28"},
        // 40 draws nothing and is refused for 42; 43 to 56 draw as 42 and say so.
        {"design 40 --load LL --list", 2, "figure 40 is not offered"},
        {"design 40 --list", 2, "figure 42 labels the base forces"},
        {"design 42 --load NOSUCH --list", 2, "NOSUCH"},
        {"design 42 --load LL --list", 0, "load: LL"},
        {"design 43 --load LL --list", 0, "figure 43 draws as figure 42"},
        {"design 56 --list", 0, "figure 56 draws as figure 42"},
        {"design 35 --list", 0, "load: the design combinations"},
        {"design 36 --load 0 --list", 0, "two curves each"},
        {"design 36 --load NOSUCH --list", 2, "NOSUCH"},
    };
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args);
        const auto run = moduletest::RunHost(std::string("--quiet ") + r.args, "design_cmd_" + std::to_string(n++));
        EXPECT_EQ(run.exitCode, r.exitCode) << run.err;
        EXPECT_NE((run.out + run.err).find(r.says), std::string::npos) << run.out << run.err;
    }
}

namespace {

// Runs a check script of scripts/ on the sample project; its report when it fails.
void ExpectScriptPasses(const std::string& script, const std::string& report) {
    const std::string out = std::string(PVX_TEST_TMPDIR) + "/" + report;
    const std::string cmd = std::string("/usr/bin/python3 ") + PVX_SOURCE_DIR + "/scripts/" + script + " " +
                            PVX_BINARY_DIR + "/bin/pvxhost " + PVX_BINARY_DIR + "/examples/sample.pvxdb " +
                            PVX_TEST_TMPDIR + " >" + out + " 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << moduletest::ReadWholeFile(out);
}

}  // namespace

TEST(DesignCommandTest, LabelsEqualTheProjectTables) {
    ExpectScriptPasses("check_design_figures.py", "design_check.out");
}

// The envelopes, their labels and the base-column forces the host fills, against the tables.
TEST(DesignCommandTest, EnvelopesAndBaseForcesEqualTheProjectTables) {
    ExpectScriptPasses("check_design_envelopes.py", "envelope_check.out");
}

// Slab reinforcement and crack width per element (modes 17, 18): the crack widths against their
// closed form and every number rendered against PDDELEM.
TEST(DesignCommandTest, SlabElementNumbersEqualTheElementDesign) {
    ExpectScriptPasses("check_slab_element_design.py", "slab_element_check.out");
}
