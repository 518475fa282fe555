// The check figures of the generated sample against its check tables, by
// scripts/check_check_figures.py: every stored check against its closed form recomputed in python
// from the reactions, every coloured text of figures 132, 133, 130, 131, 450 and 200 (load case
// 0, one combination, the value form) against the tables, and a text move with and without
// --save.
#include <gtest/gtest.h>

#include "../ModuleTestSupport.h"

TEST(CheckFiguresOnSample, DrawingsAgreeWithTheTables) {
    const moduletest::ScriptRun r = moduletest::RunSampleScript("check_check_figures.py", "figcheck");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("stored checks against their closed forms"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("FAILED"), std::string::npos) << r.out;
}
