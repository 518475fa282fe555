// The raft check figures of the generated sample against the raft check table, by
// scripts/check_raft_figures.py: every stored raft check against its closed form recomputed in
// python from the reactions inside the raft, and the texts and marks of figures 500, 515, 501
// and 514 (load case 0 and one combination) against the table; every punching and shear check
// of the columns, wall groups and regions against its closed form, and the texts and region
// outlines of the nine punching and shear sheets.
#include <gtest/gtest.h>

#include "../ModuleTestSupport.h"

TEST(RaftFiguresOnSample, DrawingsAgreeWithTheTables) {
    const moduletest::ScriptRun r = moduletest::RunSampleScript("check_raft_figures.py", "figraft");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("stored raft checks against their closed forms"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("stored punching and shear checks against their closed forms"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("figure 507 load 0"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("FAILED"), std::string::npos) << r.out;
}
