// The pile check figures of the generated sample against its pile check table, by
// scripts/check_pile_figures.py: every stored pile check against its closed form recomputed in
// python from the reactions, every coloured text of figures 302, 307, 306, 301, 300 and 303
// (load case 0 and one combination) and the envelope lines of 302 and 307 against the average and
// maximum recomputed from each pile section's rows.
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

TEST(PileFiguresOnSample, DrawingsAgreeWithTheTables) {
    const std::string work = std::string(PVX_TEST_TMPDIR) + "/figpile_" + std::to_string(getpid());
    const ShellRun r = Shell("/usr/bin/python3 '" + std::string(PVX_SOURCE_DIR) + "/scripts/check_pile_figures.py' '" +
                             PVX_BINARY_DIR + "/bin/pvxhost' '" + PVX_BINARY_DIR + "/examples/sample.pvxdb' '" + work +
                             "'");
    Shell("rm -rf '" + work + "'");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("stored pile checks against their closed forms"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("FAILED"), std::string::npos) << r.out;
}
