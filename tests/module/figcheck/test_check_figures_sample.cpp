// The check figures of the generated sample against its check tables, by
// scripts/check_check_figures.py: every stored check against its closed form recomputed in python
// from the reactions, every coloured text of figures 132, 133, 130, 131, 450 and 200 (load case
// 0, one combination, the value form) against the tables, and a text move with and without
// --save.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

struct ShellRun {
    int code;
    std::string out;
};

ShellRun Shell(const std::string& cmd) {
    ShellRun r{-1, {}};
    FILE* p = popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    r.code = pclose(p);
    return r;
}

}  // namespace

TEST(CheckFiguresOnSample, DrawingsAgreeWithTheTables) {
    const std::string work = std::string(PVX_TEST_TMPDIR) + "/figcheck_" + std::to_string(getpid());
    const ShellRun r = Shell("/usr/bin/python3 '" + std::string(PVX_SOURCE_DIR) + "/scripts/check_check_figures.py' '" +
                             PVX_BINARY_DIR + "/bin/pvxhost' '" + PVX_BINARY_DIR + "/examples/sample.pvxdb' '" + work +
                             "'");
    Shell("rm -rf '" + work + "'");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("stored checks against their closed forms"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("FAILED"), std::string::npos) << r.out;
}
