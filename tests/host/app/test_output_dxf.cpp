// DXF outputs: the temporary file keeps the target's extension (writers choose the format by
// it), and only a whole DXF text (0 SECTION first, after any 999 comments; 0 EOF last) replaces
// the target.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/app/HostOutput.h"
#include "tests/host/app/HostRun.h"

namespace fs = std::filesystem;

TEST(PvxHostOutputDxf, OnlyAWholeDrawingReplacesTheTarget) {
    const std::string dir = hostrun::kTmp + "/output_dxf_" + hostrun::kPid;
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string whole = "999\ndxflib 3.26.4.0\n  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n  0\nEOF\n";
    struct Row {
        const char* label;
        std::string text;
        bool kept;
    } rows[] = {
        {"a whole drawing with its comment", whole, true},
        {"without the comment, CR LF lines and trailing blanks", "  0\r\nSECTION\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n\r\n",
         true},
        {"cut before its end record", whole.substr(0, whole.size() - 8), false},
        {"not a DXF", "BM not a drawing at all, just bytes\n", false},
        {"empty", "", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string target = dir + "/d.dxf";
        {
            std::ofstream(target, std::ios::trunc) << "earlier";
        }
        CHostOutputFile out(target, CHostOutputFile::kDxf);
        ASSERT_EQ(out.Check(""), 0);
        ASSERT_EQ(out.Begin(), 0);
        const std::string temp = out.GetTempPath();
        EXPECT_EQ(temp.substr(temp.size() - 4), ".dxf") << temp;
        EXPECT_EQ(temp.rfind(dir + "/.d.dxf.", 0), 0u) << temp;
        std::ofstream(temp, std::ios::binary | std::ios::trunc) << r.text;
        EXPECT_EQ(out.Commit() == 0, r.kept);
        std::ifstream in(target);
        const std::string now((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(now, r.kept ? r.text : std::string("earlier"));
        EXPECT_NE(access(temp.c_str(), F_OK), 0) << "the temporary file is gone";
    }
    fs::remove_all(dir);
}
