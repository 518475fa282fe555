// The frame force diagram shown by the host program: pvxhost render --mode frame-force-diagram
// draws the sample's diagrams with the legend, its fill option reaches the engine, and the
// module's side of the request sets the frame-force page's number positions.
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "host/base/PVXHostResult.h"
#include "module/force/CForceEngine.h"
#include "platform/gdi/BmpFile.h"
#include "tests/module/model_render/RenderTestSupport.h"

extern "C" int PVXHost_ShowResult(I_PVXModelBase* pModel, const PVXHostResultRequest* pRequest,
                                  PVXHostResultReport* pReport);

namespace {

int RunHost(const std::string& args) {
    const std::string cmd = std::string(PVX_BINARY_DIR) + "/bin/pvxhost --quiet " + args + " >/dev/null 2>&1";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Pixels of a picture whose channels differ (coloured, not the gray, white or black of the plain
// model's lines and the background), left of column xMax.
long Coloured(const std::vector<COLORREF>& px, int w, int h, int xMax) {
    long n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < xMax; ++x) {
            const COLORREF c = px[static_cast<size_t>(y) * w + x];
            const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            if (std::abs(r - g) > 60 || std::abs(g - b) > 60 || std::abs(r - b) > 60) ++n;
        }
    return n;
}

}  // namespace

class DiagramHostTest : public RenderFixture {};

TEST_F(DiagramHostTest, RenderDrawsTheDiagramsWithTheLegend) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string base = std::string(PVX_TEST_TMPDIR) + "/diagram_host_";
    const std::string args = "--db " + sample + " render --view front --size 800x600 --mode frame-force-diagram --load DL"
                                                " --component MY --option columns=0";
    ASSERT_EQ(RunHost(args + " --option fill=0 --out " + base + "outline.bmp"), 0);
    // Whole numbers: the white texts stand on the fill, and short ones leave most of it seen.
    ASSERT_EQ(RunHost(args + " --option fill=2 --option numbers=1 --option decimals=0 --out " + base + "full.bmp"), 0);
    ASSERT_EQ(RunHost("--db " + sample + " render --view front --size 800x600 --out " + base + "plain.bmp"), 0);
    std::vector<COLORREF> outline, full, plain;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadBmp((base + "outline.bmp").c_str(), outline, w, h));
    ASSERT_TRUE(ReadBmp((base + "full.bmp").c_str(), full, w, h));
    ASSERT_TRUE(ReadBmp((base + "plain.bmp").c_str(), plain, w, h));
    // The legend panel takes the right margin (20 characters of the title font): the plain
    // model leaves it black.
    const int panel = w - 100;
    long legend = 0, plainLegend = 0;
    for (int y = 0; y < h; ++y)
        for (int x = panel; x < w; ++x) {
            legend += full[static_cast<size_t>(y) * w + x] != RGB(0, 0, 0);
            plainLegend += plain[static_cast<size_t>(y) * w + x] != RGB(0, 0, 0);
        }
    EXPECT_GT(legend, 100 * h / 2) << "a legend panel";
    EXPECT_LT(plainLegend, 10 * h) << "no legend without a result";
    // Band colours on the model: outlines give some, full fill many more.
    const long nOutline = Coloured(outline, w, h, panel), nFull = Coloured(full, w, h, panel);
    EXPECT_GT(nOutline, 500);
    EXPECT_GT(nFull, 2 * nOutline);
}

TEST_F(DiagramHostTest, TheModuleTakesTheFramePageSettings) {
    ASSERT_TRUE(OpenFile(SampleProjectPath()));
    I_PVXModel& m = M();
    const char* keys[] = {"component", "numbers", "fill", "legend"};
    const char* values[] = {"4", "1", "2", "1"};
    PVXHostResultRequest req{};
    req.nMode = 7;
    req.nResultId = 7302;
    req.nLoadType = 1;
    req.nLoadKey = 1;
    req.pszLoadName = "DL";
    req.nSettings = 4;
    req.ppszKeys = keys;
    req.ppszValues = values;
    PVXHostResultReport rep{};
    ASSERT_EQ(PVXHost_ShowResult(&m, &req, &rep), PVXHOST_DRAWN) << rep.szMessage;
    ASSERT_NE(m.m_pForceEngine, nullptr);
    const CForceEngine& f = *m.m_pForceEngine;
    EXPECT_EQ(f.m_nBForcComp, 4);
    EXPECT_EQ(f.m_bBSfdBmdLine, 0) << "full fill";
    EXPECT_EQ(f.m_bBSfdBmdFill, 1);
    // The page's "all" position, its default: numbers at both ends and mid-span.
    EXPECT_EQ(f.m_bNumIEnd, 1);
    EXPECT_EQ(f.m_bNumMiddle, 1);
    EXPECT_EQ(f.m_bNumJEnd, 1);
    EXPECT_EQ(m.m_nDisplayMode, 7);
    EXPECT_GT(Ctrl()->GetClientWindowMargin(1).Width(), 0) << "the legend's margin is reserved";
}
