// Showing a result from the host program: pvxhost render/export --mode, --load, --component and
// --option, the exit status of misuse and of what the project lacks, the picture as the window
// shows it, and the module's side of the request.
#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "RenderTestSupport.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "host/base/PVXHostResult.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "platform/gdi/BmpFile.h"

extern "C" int PVXHost_ShowResult(I_PVXModelBase* pModel, const PVXHostResultRequest* pRequest,
                                  PVXHostResultReport* pReport);
extern "C" int PVXHost_GetResultExtremes(I_PVXModelBase* pModel, PVXHostResultReport* pReport);

namespace {

struct HostRun {
    int exitCode = -1;
    std::string out, err;
};

HostRun RunHost(const std::string& args, const std::string& tag) {
    const std::string base = std::string(PVX_TEST_TMPDIR) + "/result_mode_" + tag;
    const std::string cmd = std::string(PVX_BINARY_DIR) + "/bin/pvxhost " + args + " >" + base + ".out 2>" + base + ".err";
    HostRun r;
    const int status = std::system(cmd.c_str());
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    auto slurp = [](const std::string& path) {
        std::string s;
        if (FILE* f = std::fopen(path.c_str(), "r")) {
            char buf[512];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
            std::fclose(f);
        }
        return s;
    };
    r.out = slurp(base + ".out");
    r.err = slurp(base + ".err");
    return r;
}

class ResultModeTest : public RenderFixture {};

TEST_F(ResultModeTest, MisuseAndMissingLoadsAreRefused) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string out = std::string(PVX_TEST_TMPDIR) + "/result_mode_bad.bmp";
    // The sample has the static cases DL, LL, WX, the time-history case THX, the settlement case
    // SETTLE, combinations and an envelope "ENV", and six modes.
    struct Row {
        const char* label;
        std::string args;
        int exitCode;
        const char* says;
    } const rows[] = {
        {"unknown mode name", "--mode no-such-mode", 2, "unknown display mode \"no-such-mode\""},
        {"unknown mode number", "--mode 12", 2, "unknown display mode \"12\""},
        {"component of another mode", "--mode reactions --component DX", 2, "no component \"DX\""},
        {"unknown option key", "--mode 2 --option colour=1", 2, "unknown option key \"colour\""},
        {"key of another mode", "--mode 2 --option member-kind=1", 2, "\"member-kind\" is not a setting of mode 2"},
        {"value out of the key's range", "--mode 70 --option member-kind=2", 2, "takes 0|1"},
        {"a key without a value", "--mode 0 --option scale", 2, "takes NUMBER"},
        {"a mode number that is no number", "--mode mode-shape --load first", 2, "mode number"},
        {"result words without a mode", "--load DL", 2, "need --mode"},
        {"no such load", "--mode 2 --load NOSUCH", 1, "no load case or combination named \"NOSUCH\""},
        {"no such mode shape", "--mode 4 --load 7", 1, "no mode 7"},
        {"a static case for a time history", "--mode time-history --load DL", 1, "\"DL\" is a static case"},
        {"a combination for settlement", "--mode settlement --load ENV", 1, "no settlement case named \"ENV\""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const HostRun h = RunHost("--db " + sample + " render --out " + out + " " + r.args, "bad");
        EXPECT_EQ(h.exitCode, r.exitCode) << h.err;
        EXPECT_NE(h.err.find(r.says), std::string::npos) << h.err;
        EXPECT_EQ(h.out.find("max "), std::string::npos) << "no extremes without a result";
    }
}

TEST_F(ResultModeTest, AModeWithoutItsEngineDrawsThePlainModel) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string plain = std::string(PVX_TEST_TMPDIR) + "/result_mode_plain.bmp";
    const std::string shown = std::string(PVX_TEST_TMPDIR) + "/result_mode_2.bmp";
    const HostRun p = RunHost("--db " + sample + " render --view plan --size 400x300 --out " + plain, "plain");
    ASSERT_EQ(p.exitCode, 0) << p.err;
    struct Row {
        const char* label;
        std::string args;
        const char* engine;
    } const rows[] = {
        {"displacement contour", "--mode 2", "deformation (displacement)"},
        {"by name, with a combination and a component",
         "--mode displacement-contour --load 1.3DL+1.5LL --component DZ --option numbers=1", "deformation (displacement)"},
        {"slab forces", "--mode slab-force --component MXX", "force"},
        {"principal stresses", "--mode plate-stress", "principal stress"},
    };
    std::vector<COLORREF> want, got;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadBmp(plain.c_str(), want, w, h));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        std::remove(shown.c_str());
        const HostRun s = RunHost("--db " + sample + " render --view plan --size 400x300 --out " + shown + " " + r.args, "nb");
        EXPECT_EQ(s.exitCode, 0) << s.err;
        EXPECT_NE(s.err.find(std::string("the ") + r.engine + " engine is not built yet; drawing the plain model"),
                  std::string::npos)
            << s.err;
        ASSERT_TRUE(ReadBmp(shown.c_str(), got, w, h));
        EXPECT_EQ(got, want) << "the plain model, as without --mode";
    }
    // The picture is the window's: the paint adds the view-direction icon in the lower left
    // corner (red x axis), which the memory image alone does not hold.
    long red = 0;
    for (int y = h - 80; y < h; ++y)
        for (int x = 0; x < 80; ++x) red += want[static_cast<size_t>(y) * w + x] == RGB(255, 0, 0);
    EXPECT_GT(red, 5);
}

TEST_F(ResultModeTest, FrameForceModesShowTheTrusses) {
    // The sample's truss under DL: 9 kN/m of canopy over 12 m, R = 54 kN; the bottom chord of
    // the middle panels carries M(3) / 1 m = 54 x 3 - 4.5 x 9 = 121.5 kN, the top chord of the
    // middle panels -M(6) / 1 m = -162 kN, the extremes of the axial force (the beams carry none).
    // A copy without any beam or column forces still shows its trusses.
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string trussOnly = std::string(PVX_TEST_TMPDIR) + "/result_mode_truss_only.pvxdb";
    std::remove(trussOnly.c_str());
    ASSERT_EQ(std::system(("cp " + sample + " " + trussOnly).c_str()), 0);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(trussOnly.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DELETE FROM STRG; DELETE FROM MBCL; DELETE FROM MBWG;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const std::string out = std::string(PVX_TEST_TMPDIR) + "/result_mode_truss.bmp";
    for (const std::string& project : {sample, trussOnly})
        for (const char* mode : {"frame-force-contour", "frame-force-diagram"}) {
            SCOPED_TRACE(project + " " + mode);
            const HostRun h =
                RunHost("--db " + project + " render --size 400x300 --out " + out + " --mode " + mode + " --component N", "truss");
            EXPECT_EQ(h.exitCode, 0) << h.err;
            EXPECT_EQ(h.err.find("not built"), std::string::npos) << h.err;
            EXPECT_NE(h.out.find("(121.5) at member"), std::string::npos) << h.out;
            EXPECT_NE(h.out.find("(-162) at member"), std::string::npos) << h.out;
        }
}

TEST_F(ResultModeTest, FrameForceContourIsShownWithItsLegendAndExtremes) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string plain = std::string(PVX_TEST_TMPDIR) + "/result_mode_plain6.bmp";
    const std::string shown = std::string(PVX_TEST_TMPDIR) + "/result_mode_6.bmp";
    const HostRun p = RunHost("--db " + sample + " render --view plan --size 400x300 --out " + plain, "plain6");
    ASSERT_EQ(p.exitCode, 0) << p.err;
    struct Row {
        const char* label;
        std::string args;
    } const rows[] = {
        {"moment y under DL", "--mode 6 --load DL --component MY"},
        {"shear z of a combination as lines", "--mode frame-force-contour --load 1.3DL+1.5LL --component VZ --option line-members=1"},
        {"the larger moment of the envelope", "--mode 6 --load ENV --component M"},
    };
    std::vector<COLORREF> want, got;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadBmp(plain.c_str(), want, w, h));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const HostRun s = RunHost("--db " + sample + " render --view plan --size 400x300 --out " + shown + " " + r.args, "six");
        EXPECT_EQ(s.exitCode, 0) << s.err;
        EXPECT_EQ(s.err.find("not built"), std::string::npos) << s.err;
        EXPECT_NE(s.out.find("max "), std::string::npos) << s.out;
        EXPECT_NE(s.out.find(" at member "), std::string::npos) << s.out;
        ASSERT_TRUE(ReadBmp(shown.c_str(), got, w, h));
        EXPECT_NE(got, want) << "bands and the legend, not the plain model";
        // The legend panel fills the right-hand margin, which the plain model leaves black.
        long lit = 0;
        for (int y = 0; y < h; ++y)
            for (int x = w - 40; x < w; ++x) lit += got[static_cast<size_t>(y) * w + x] != RGB(0, 0, 0);
        EXPECT_GT(lit, 40 * h / 2) << "the legend panel";
    }
}

TEST_F(ResultModeTest, TheModuleSideOfTheRequest) {
    const std::string sample = SampleProjectPath();
    ASSERT_TRUE(OpenFile(sample));
    I_PVXModel& m = M();
    auto request = [](int mode, unsigned type, unsigned key) {
        PVXHostResultRequest r{};
        r.nMode = mode;
        r.nResultId = -1;
        r.nLoadType = type;
        r.nLoadKey = key;
        r.pszLoadName = "DL";
        return r;
    };
    PVXHostResultReport rep{};
    // No model, or a mode without a result engine.
    PVXHostResultRequest req = request(2, 1, 1);
    EXPECT_EQ(PVXHost_ShowResult(nullptr, &req, &rep), PVXHOST_BAD_REQUEST);
    req.nMode = 12;
    EXPECT_EQ(PVXHost_ShowResult(&m, &req, &rep), PVXHOST_BAD_REQUEST);
    EXPECT_NE(std::string(rep.szMessage).find("12"), std::string::npos);
    // A load the host cannot select.
    req = request(2, 1, 999);
    EXPECT_EQ(PVXHost_ShowResult(&m, &req, &rep), PVXHOST_NO_RESULTS);
    EXPECT_EQ(m.m_nDisplayMode, -1);

    // The deformation engine makes no plot engine yet: nothing is kept, the plain model shows.
    const char* keys[] = {"component", "numbers"};
    const char* values[] = {"2", "1"};
    req = request(2, 1, 1);
    req.nResultId = 7204;
    req.nSettings = 2;
    req.ppszKeys = keys;
    req.ppszValues = values;
    EXPECT_EQ(PVXHost_ShowResult(&m, &req, &rep), PVXHOST_NOT_BUILT);
    EXPECT_STREQ(rep.szEngine, "deformation (displacement)");
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentMode, 2);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, 7204);
    EXPECT_EQ(m.m_nLoadKey, 1u);
    EXPECT_EQ(m.m_bResultDataReady, 1) << "the load reached the host";
    EXPECT_EQ(m.m_pDeformEngine, nullptr);
    EXPECT_EQ(m.m_nDisplayMode, -1);
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_bShowNumbers, 1) << "the display switches are the model's";
    EXPECT_EQ(PVXHost_GetResultExtremes(&m, &rep), 0);
    EXPECT_EQ(rep.bExtremes, 0);
    CPVXBarContainerBase::m_nCurrentMode = -1;
    CPVXBarContainerBase::m_nCurrentTMMode = -1;

    // The extremes of a result the view shows: the engine's legend values and the model's keys,
    // the values as the legend writes them (reaction arrows: GetTextReaction; a contour: the
    // scale's value text).
    struct Row {
        const char* label;
        int mode;
        const char* kind;
    } const rows[] = {{"reaction arrows", 0, "node"}, {"reaction contour", 70, "member"}};  // pressure extremes are kept per member (the build walks members)
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        m.ResetEngines();
        m.m_pReactionEngine = new CReactionEngine(&m);
        m.m_pReactionEngine->m_dLegendMax = 1234.5;
        m.m_pReactionEngine->m_dLegendMin = -0.125;
        m.m_nMaxKey = 17;
        m.m_nMinKey = 3;
        m.m_nDisplayMode = r.mode;
        m.m_bResultDataReady = 1;
        PVXHostResultReport ext{};
        ASSERT_EQ(PVXHost_GetResultExtremes(&m, &ext), 1);
        EXPECT_EQ(ext.bExtremes, 1);
        EXPECT_EQ(ext.dMax, 1234.5);
        EXPECT_EQ(ext.dMin, -0.125);
        EXPECT_EQ(ext.nMaxKey, 17u);
        EXPECT_EQ(ext.nMinKey, 3u);
        EXPECT_STREQ(ext.szKeyKind, r.kind);
        char want[64] = {0};
        if (r.mode == 0) {
            m.m_LegendEngine.GetTextReaction(1234.5, want);
        } else {
            std::snprintf(want, sizeof want, "%s", m.m_LegendEngine.GetContValueText(1234.5).GetString());
        }
        EXPECT_STREQ(ext.szMax, want);
    }
    // No result ready: no extremes.
    m.m_bResultDataReady = 0;
    PVXHostResultReport none{};
    EXPECT_EQ(PVXHost_GetResultExtremes(&m, &none), 0);
    m.ResetEngines();
    m.m_nDisplayMode = -1;
}

}  // namespace
