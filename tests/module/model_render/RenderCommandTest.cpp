// pvxhost render: the program loads the module, draws the sample project in the result view and
// writes the picture; the picture must show the model in the colours the display options give.
#include <sys/wait.h>

#include <cstdio>
#include <map>

#include "RenderTestSupport.h"
#include "platform/gdi/BmpFile.h"

namespace {

struct CombinedRun {
    int exitCode = -1;
    std::string output;  // stdout and stderr
};

CombinedRun RunHostCombined(const std::string& args) {
    const std::string cmd = std::string(PVX_BINARY_DIR) + "/bin/pvxhost " + args + " 2>&1";
    CombinedRun r;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[512];
    while (std::fgets(buf, sizeof(buf), p)) r.output += buf;
    const int status = ::pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

class RenderCommandTest : public RenderFixture {};

TEST_F(RenderCommandTest, WritesAPictureOfTheSampleModel) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty()) << "the sample project could not be made";
    const std::string out = std::string(PVX_TEST_TMPDIR) + "/render_plan.bmp";
    std::remove(out.c_str());
    const CombinedRun r = RunHostCombined("--db " + sample + " render --view plan --size 400x300 --out " + out);
    ASSERT_EQ(r.exitCode, 0) << r.output;

    std::vector<COLORREF> pixels;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadBmp(out.c_str(), pixels, w, h));
    ASSERT_EQ(w, 400);
    ASSERT_EQ(h, 300);
    std::map<COLORREF, long> count;
    for (COLORREF c : pixels) ++count[c];

    // The colours the result model gives the background and a roof slab in this project.
    ASSERT_TRUE(OpenFile(sample));
    I_PVXModel& m = M();
    m.UpdateDisplayOptions();
    const COLORREF back = m.m_pDispOpt->m_Color.m_crBackground;
    UINT roof = 0;
    T_PMEMB_D memb;
    for (INT_PTR i = 0; i < m.m_arrAllMembKey.GetSize() && !roof; ++i)
        if (m.GetAttrCtrl()->GetMemb(m.m_arrAllMembKey[i], memb) && memb.type == 305) roof = m.m_arrAllMembKey[i];
    ASSERT_NE(roof, 0u) << "the sample has no roof slab";
    COLORREF colors[2] = {CLR_INVALID, CLR_INVALID};
    m.GetMembColor(memb, colors);
    ASSERT_NE(colors[1], CLR_INVALID);
    ASSERT_NE(colors[1], back);

    const long total = static_cast<long>(pixels.size());
    const long model = total - count[back];
    // Seen from above, the roof covers a good part of the picture and the rest of the model
    // shows around it.
    EXPECT_GT(model, total / 5) << "model pixels";
    EXPECT_GT(count[colors[1]], total / 10) << "roof slab pixels of colour " << std::hex << colors[1];
}

TEST_F(RenderCommandTest, BadArgumentsAreRefused) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string out = std::string(PVX_TEST_TMPDIR) + "/render_bad.bmp";
    struct Row {
        std::string args;
        int exitCode;
        const char* says;
    } rows[] = {
        {"render --view top --out " + out, 2, "--view expects iso, plan, front or right"},
        {"render --size 10x20 --out " + out, 2, "--size"},
        {"render --size 640 --out " + out, 2, "WIDTHxHEIGHT"},
        {"render --view plan", 2, "--out"},
        {"render --out", 2, "needs a value"},
        {"render --colour red --out " + out, 2, "unknown option \"--colour\""},
        {"--db " + std::string(PVX_TEST_TMPDIR) + "/no-such-project.pvxdb render --out " + out, 1, "cannot open"},
        {"render --module " + std::string(PVX_TEST_TMPDIR) + "/no-such-module.so --out " + out, 1, "does not exist"},
        {"render --out " + std::string(PVX_TEST_TMPDIR) + "/no-such-dir/x.bmp", 1, "x.bmp"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const CombinedRun r = RunHostCombined((row.args.rfind("--db", 0) == 0 ? "" : "--db " + sample + " ") + row.args);
        EXPECT_EQ(r.exitCode, row.exitCode) << r.output;
        EXPECT_NE(r.output.find(row.says), std::string::npos) << r.output;
    }
}

}  // namespace
