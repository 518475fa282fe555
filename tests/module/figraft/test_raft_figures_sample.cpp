// The raft check figures of the generated sample against the raft check table, by
// scripts/check_raft_figures.py: every stored raft check against its closed form recomputed in
// python from the reactions inside the raft, and the texts and marks of figures 500, 515, 501
// and 514 (load case 0 and one combination) against the table; every punching and shear check
// of the columns, wall groups and regions against its closed form, and the texts and region
// outlines of the nine punching and shear sheets.
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

TEST(RaftFiguresOnSample, DrawingsAgreeWithTheTables) {
    const std::string work = std::string(PVX_TEST_TMPDIR) + "/figraft_" + std::to_string(getpid());
    const ShellRun r = Shell("/usr/bin/python3 '" + std::string(PVX_SOURCE_DIR) + "/scripts/check_raft_figures.py' '" +
                             PVX_BINARY_DIR + "/bin/pvxhost' '" + PVX_BINARY_DIR + "/examples/sample.pvxdb' '" + work +
                             "'");
    Shell("rm -rf '" + work + "'");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("stored raft checks against their closed forms"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("stored punching and shear checks against their closed forms"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("figure 507 load 0"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("FAILED"), std::string::npos) << r.out;
}
