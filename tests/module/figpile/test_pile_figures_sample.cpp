// The pile check figures of the generated sample against its pile check table, by
// scripts/check_pile_figures.py: every stored pile check against its closed form recomputed in
// python from the reactions, every coloured text of figures 302, 306, 301, 300 and 303 (load
// case 0 and one group) and the envelope lines of 302 against the average and maximum recomputed
// from each pile section's rows; 307 refused, as the sample's pile checks hold no seismic group.
#include <gtest/gtest.h>

#include "../ModuleTestSupport.h"

TEST(PileFiguresOnSample, DrawingsAgreeWithTheTables) {
    const moduletest::ScriptRun r = moduletest::RunSampleScript("check_pile_figures.py", "figpile");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("stored pile checks against their closed forms"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("FAILED"), std::string::npos) << r.out;
}
