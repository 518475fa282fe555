// The host program loads the results module as the host application does and reports in info
// (with --verbose) whether it registered its result view class; a module that cannot be loaded makes info
// fail clearly.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "host/db/PostDBBuilder.h"

namespace {

const std::string kHost = PVX_BINARY_DIR "/bin/pvxhost";
const std::string kTmp = std::string(PVX_TEST_TMPDIR) + "/" + std::to_string(getpid()) + "_";

struct HostRun {
    int code = -1;
    std::string out, err;
};

std::string Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// Runs pvxhost with args, after the environment settings env ("NAME=value ...") when given.
HostRun Host(const std::string& args, const std::string& env = "") {
    const std::string out = kTmp + "info.out", err = kTmp + "info.err";
    const int status = std::system((env + " '" + kHost + "' " + args + " >'" + out + "' 2>'" + err + "'").c_str());
    HostRun r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = Slurp(out);
    r.err = Slurp(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return r;
}

TEST(HostInfo, ReportsTheModuleAndFailsClearlyWithoutIt) {
    const std::string db = kTmp + "info_project.pvxdb";
    {
        PostDBBuilder b;
        b.Set3D(TRUE);
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 0, 0, 3);
        b.AddElem(1, PELEM_KIND_FRAME, 101, {1, 2});
        b.AddMemb(1, 101, {1, 2}, {1});
        ASSERT_TRUE(b.Save(db.c_str())) << b.GetLastError().GetString();
    }
    const std::string text = kTmp + "not_a_library.so";
    {
        std::ofstream(text) << "not a shared library";
    }
    struct Row {
        const char* label;
        std::string module;  // --module argument, empty for the default
        int code;
        const char* out;     // expected in stdout, or null
        const char* err;     // expected in stderr, or null
    } rows[] = {
        {"the module beside the program", "", 0, "Module: qsn_pvx loaded from", nullptr},
        {"the module by path", PVX_BINARY_DIR "/lib/libqsn_pvx.so", 0, "result view class CPVXView registered", nullptr},
        {"a missing module", kTmp + "no_such_module.so", 1, nullptr, "does not exist"},
        {"a file that is no library", text, 1, nullptr, "could not be loaded"},
        {"a library that is not the module", PVX_BINARY_DIR "/lib/libpvx_host.so", 1, nullptr,
         "is not the results module"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const HostRun run =
            Host("--verbose --db '" + db + "' info" + (r.module.empty() ? "" : " --module '" + r.module + "'"));
        EXPECT_EQ(run.code, r.code) << run.err;
        EXPECT_NE(run.out.find("Elements: 1"), std::string::npos) << "the project is reported first";
        if (r.out) {
            EXPECT_NE(run.out.find(r.out), std::string::npos) << run.out;
        }
        if (r.err) {
            EXPECT_NE(run.err.find(r.err), std::string::npos) << run.err;
        }
        if (r.code != 0) {
            EXPECT_EQ(run.out.find("Module:"), std::string::npos);
        }
    }
    EXPECT_EQ(Host("--db '" + db + "' info --module").code, 2) << "--module needs a path";
    std::remove(db.c_str());
    std::remove(text.c_str());
}

// The commands that work out no plan areas and write no metafile never map GEOS or libUEMF,
// which are opened at their first use.
TEST(HostInfo, PrintingCommandsMapNoGeosOrUemf) {
    const std::string db = kTmp + "geos_project.pvxdb";
    {
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        ASSERT_TRUE(b.Save(db.c_str())) << b.GetLastError().GetString();
    }
    struct Row {
        const char* label;
        std::string args;
    } rows[] = {
        {"info", "--db '" + db + "' info"},
        {"help", "--help"},
        {"a command's help", "help figure"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        // The loader names every library it maps on the standard error.
        const HostRun run = Host(r.args, "LD_DEBUG=files");
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_NE(run.err.find("libpvx_host"), std::string::npos) << "the loader reported nothing";
        EXPECT_EQ(run.err.find("libgeos"), std::string::npos);
        EXPECT_EQ(run.err.find("libuemf"), std::string::npos);
    }
    std::remove(db.c_str());
}

}  // namespace
