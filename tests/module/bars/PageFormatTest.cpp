// The numbers of the message window: five decimals, an exponent of three digits, right-aligned.
#include <gtest/gtest.h>

#include "module/bars/CPVXBarDlgBase.h"

namespace {

TEST(BarPageFormat, ExponentHasThreeDigitsAndTheWidthIsFilledFromTheLeft) {
    struct Row {
        const char* label;
        double v;
        int width;
        const char* want;
    } rows[] = {
        // 10 = 1.00000E+01; the exponent widened to +001 gives 12 characters, 3 blanks before.
        {"two-digit exponent widened", 10.0, 15, "   1.00000E+001"},
        // -12.9512 = -1.29512E+01 -> 13 characters, wider than 12: nothing cut, nothing added.
        {"wider than the width", -12.9512, 12, "-1.29512E+001"},
        // 0 prints as 0.00000E+00 -> 0.00000E+000, exactly 12.
        {"zero", 0.0, 12, "0.00000E+000"},
        // 1e-100 already has three exponent digits: only the 3 blanks of width 15.
        {"three-digit exponent kept", 1e-100, 15, "   1.00000E-100"},
        {"no width", 2.5e-3, 0, "2.50000E-003"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_STREQ(CPVXBarDlgBase::FormatExp3(r.v, r.width).GetString(), r.want);
    }
}

}  // namespace
