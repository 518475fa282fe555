#include "tests/support/TestTmpDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace pvxtest {

namespace {

// A program started by a test program inherits its folder and makes its own inside it.
std::string MakeFolder() {
    const char* inherited = std::getenv("PVX_TEST_TMPDIR");
    const std::string base = inherited && *inherited ? inherited : PVX_TEST_TMPDIR_BASE;
    std::error_code ec;
    std::filesystem::create_directories(base, ec);
    std::string path = base + "/" + std::to_string(getpid()) + ".XXXXXX";
    if (!mkdtemp(path.data())) {
        std::perror(("cannot make the test folder in " + base).c_str());
        std::exit(1);
    }
    // mkdtemp makes it 0700; tests that run a child as another user ("nobody") need to reach in.
    ::chmod(path.c_str(), 0755);
    setenv("PVX_TEST_TMPDIR", path.c_str(), 1);
    setenv("TMPDIR", path.c_str(), 1);
    return path;
}

// Removes the folder after the last test when all passed.
class RemoveWhenPassed : public ::testing::Environment {
public:
    void TearDown() override {
        if (!::testing::UnitTest::GetInstance()->Passed()) {
            std::fprintf(stderr, "test files kept in %s\n", TmpDir());
            return;
        }
        std::error_code ec;
        std::filesystem::remove_all(TmpDir(), ec);
    }
};

// Made before main, while the process has one thread: setenv is not safe beside others.
const char* const kMadeAtStart = TmpDir();
::testing::Environment* const kRemover = ::testing::AddGlobalTestEnvironment(new RemoveWhenPassed);

}  // namespace

const char* TmpDir() {
    static const std::string path = MakeFolder();
    return path.c_str();
}

}  // namespace pvxtest
