// The host's number lists: which keys a typed list names, and the short text of a key list.
#include <gtest/gtest.h>

#include <vector>

#include "host/base/CNumericOptimizer.h"
#include "tests/host/base/KeyListSupport.h"

namespace {

TEST(CNumericOptimizerTest, SelectNumByStrNamesKeysInTheGivenOrder) {
    const CArray<UINT, UINT> from = basetest::Keys({9, 1, 2, 3, 4, 5, 8, 4000000000u});
    struct Row {
        const char* text;
        bool ok;
        std::vector<UINT> named;
    } rows[] = {
        {"1-3,5", true, {1, 2, 3, 5}},
        {"5 , 1-3", true, {1, 2, 3, 5}},   // order of `from`, not of the text
        {"8 9", true, {9, 8}},
        {"3-3", true, {3}},
        {"1 - 2", true, {1, 2}},
        {"6-7", true, {}},                  // names no key of the list
        {"", true, {}},
        {"1-4000000000", true, {9, 1, 2, 3, 4, 5, 8, 4000000000u}},  // a wide range is not walked
        {"3-1", false, {}},
        {"0", false, {}},
        {"a", false, {}},
        {"1;2", false, {}},
        {"1-", false, {}},
        {"-2", false, {}},
        {"4294967296", false, {}},          // beyond 32 bits
        {"2.5", false, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        CArray<UINT, UINT> out = basetest::Keys({77});
        EXPECT_EQ(CNumericOptimizer::SelectNumByStr(r.text, from, out) != FALSE, r.ok);
        EXPECT_EQ(basetest::AsVector(out), r.named);
    }
}

TEST(CNumericOptimizerTest, OptimizeWritesAscendingRuns) {
    struct Row {
        std::vector<UINT> keys;
        const char* text;
    } rows[] = {
        {{}, ""},
        {{7}, "7"},
        {{3, 1, 2, 5}, "1-3,5"},
        {{20, 21}, "20-21"},
        {{4, 4, 6, 5, 10}, "4-6,10"},
        {{4294967295u, 4294967294u, 1}, "1,4294967294-4294967295"},
    };
    for (const Row& r : rows) {
        CArray<UINT, UINT> keys;
        for (UINT k : r.keys) keys.Add(k);
        EXPECT_STREQ(CNumericOptimizer::Optimize(keys).GetString(), r.text);
    }
}

}  // namespace
