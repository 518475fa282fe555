// Showing a result from the host program: pvxhost render/export --mode, --load, --component and
// --option, the exit status of misuse and of what the project lacks, the picture as the window
// shows it, and the module's side of the request.
#include <sqlite3.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "RenderTestSupport.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "host/base/PVXHostResult.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "platform/gdi/BmpFile.h"
#include "tests/module/ModuleTestSupport.h"

extern "C" int PVXHost_ShowResult(I_PVXModelBase* pModel, const PVXHostResultRequest* pRequest,
                                  PVXHostResultReport* pReport);
extern "C" int PVXHost_GetResultExtremes(I_PVXModelBase* pModel, PVXHostResultReport* pReport);

namespace {

moduletest::HostRun RunHostTagged(const std::string& args, const std::string& tag) {
    return moduletest::RunHost(args, "result_mode_" + tag);
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
        {"more decimals than the number dialog allows", "--mode 2 --option decimals=16", 2, "takes 0..15"},
        {"a mode number that is no number", "--mode mode-shape --load first", 2, "mode number"},
        {"result words without a mode", "--load DL", 2, "need --mode"},
        {"no such load", "--mode 2 --load NOSUCH", 2, "no load case or combination named \"NOSUCH\""},
        {"no such mode shape", "--mode 4 --load 7", 2, "no mode 7"},
        {"a static case for a time history", "--mode time-history --load DL", 2, "\"DL\" is a static case"},
        {"a combination for settlement", "--mode settlement --load ENV", 2, "no settlement case named \"ENV\""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const moduletest::HostRun h = RunHostTagged("--db " + sample + " render --out " + out + " " + r.args, "bad");
        EXPECT_EQ(h.exitCode, r.exitCode) << h.err;
        EXPECT_NE(h.err.find(r.says), std::string::npos) << h.err;
        EXPECT_EQ(h.out.find("max "), std::string::npos) << "no extremes without a result";
    }
}

// A display without values prints no extremes but says why; one whose values are all zero still
// prints them. The sample has no crack widths (no table of them); no deflection combinations are
// counted for the slab deflection envelope (the page counts them, `render` sets none); the frame
// pages with their beam, column and brace boxes clear take no member; the plate pages with their T-girder and wall boxes clear take none either; the strip
// page with its one strip (CTLN kind 1) unchecked has no strip to cut. The WX rows
// of STRP exist and are all zero for the slabs (the wind is carried by the frames).
TEST_F(ResultModeTest, ADisplayWithoutValuesPrintsNoExtremesAndSaysWhy) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string out = std::string(PVX_TEST_TMPDIR) + "/result_mode_novalues.bmp";
    struct Row {
        const char* label;
        std::string args;
        const char* why;  // nullptr: the extremes are printed
    } const rows[] = {
        {"slab crack per member", "render --mode 18 --option crack-unit=0", "the project holds no crack widths"},
        {"slab deflection envelope", "render --mode 19 --load ENV", "none are counted"},
        {"frame forces without member kinds", "show 7301 --set beam=0 --set column=0 --set brace=0",
         "no beam, column or brace it takes"},
        {"frame diagrams without member kinds", "show 7302 --set beam=0 --set column=0 --set brace=0",
         "no beam, column or brace it takes"},
        {"plate stresses without T-girders and walls", "show 7308 --set tgirder=0 --set wall=0", "no T-girder or wall member"},
        {"plate forces without T-girders and walls", "show 7307 --set tgirder=0 --set wall=0", "no T-girder or wall member"},
        {"strip page with its one strip unchecked", "show 7402 --set strips=Strip-1:0", "no strip is chosen"},
        {"slab forces of the wind: zeros are values", "render --mode 16 --load WX", nullptr},
        {"frame forces with beams only", "show 7301 --set brace=0", nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const moduletest::HostRun h = RunHostTagged("--db " + sample + " " + r.args + " --size 320x240 --out " + out, "novalues");
        EXPECT_EQ(h.exitCode, 0) << h.err;
        if (!r.why) {
            EXPECT_NE(h.out.find("max "), std::string::npos) << h.out;
            EXPECT_EQ(h.err.find("has no values"), std::string::npos) << h.err;
            continue;
        }
        EXPECT_EQ(h.out.find("max "), std::string::npos) << h.out;
        EXPECT_EQ(h.out.find("min "), std::string::npos) << h.out;
        EXPECT_NE(h.err.find("no extremes: "), std::string::npos) << h.err;
        EXPECT_NE(h.err.find("has no values"), std::string::npos) << h.err;
        EXPECT_NE(h.err.find(r.why), std::string::npos) << h.err;
    }
}

// The legend of a display without a single value shows no colour scale (it showed one band
// "0.000e+000" beside "最大: 无"); a display of real zeros keeps its band. The scale's swatches
// and percentages are the only strongly coloured pixels of the panel below its unit line (the
// right 180 pixels of 1024, from y = 100 down to the footer).
TEST_F(ResultModeTest, ALegendWithoutValuesShowsNoScale) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string out = std::string(PVX_TEST_TMPDIR) + "/result_mode_noscale.bmp";
    struct Row {
        const char* label;
        const char* args;
        bool scale;
    } const rows[] = {
        {"frame forces without member kinds", "show 7301 --set beam=0 --set column=0 --set brace=0", false},
        {"plate forces without T-girders and walls", "show 7307 --set tgirder=0 --set wall=0", false},
        {"frame forces", "show 7301", true},
        {"slab forces of the wind: zeros are values", "render --mode 16 --load WX", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const moduletest::HostRun h = RunHostTagged("--db " + sample + " " + r.args + " --out " + out, "noscale");
        ASSERT_EQ(h.exitCode, 0) << h.err;
        std::vector<COLORREF> px;
        int w = 0, ht = 0;
        ASSERT_TRUE(ReadBmp(out.c_str(), px, w, ht));
        ASSERT_EQ(w, 1024);
        int coloured = 0;
        for (int y = 100; y < 600; ++y)
            for (int x = 1024 - 180; x < 1024; ++x) {
                const COLORREF c = px[static_cast<size_t>(y) * w + x];
                const int hi = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
                const int lo = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
                coloured += hi - lo > 120;
            }
        if (r.scale)
            EXPECT_GT(coloured, 100);
        else
            EXPECT_EQ(coloured, 0);
    }
    std::remove(out.c_str());
}

// A contour without a single value draws the plain model: the slab deflection envelope with no
// deflection combination counted colours no face (it painted the raft as if every node held 0),
// so its view (left of the legend panel, which keeps its place) is that of the same display with
// the contour box clear.
TEST_F(ResultModeTest, AContourWithoutValuesDrawsThePlainModel) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string on = std::string(PVX_TEST_TMPDIR) + "/result_mode_nv_on.bmp";
    const std::string off = std::string(PVX_TEST_TMPDIR) + "/result_mode_nv_off.bmp";
    const std::string args = " render --mode 19 --load ENV --view plan --size 640x480";
    ASSERT_EQ(RunHostTagged("--db " + sample + args + " --out " + on, "nv").exitCode, 0);
    ASSERT_EQ(RunHostTagged("--db " + sample + args + " --option contour=0 --out " + off, "nv").exitCode, 0);
    std::vector<COLORREF> a, b;
    int w = 0, h = 0, w2 = 0, h2 = 0;
    ASSERT_TRUE(ReadBmp(on.c_str(), a, w, h));
    ASSERT_TRUE(ReadBmp(off.c_str(), b, w2, h2));
    ASSERT_EQ(w, w2);
    ASSERT_EQ(h, h2);
    int differ = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w / 2; ++x) differ += a[static_cast<size_t>(y * w + x)] != b[static_cast<size_t>(y * w + x)];
    EXPECT_EQ(differ, 0);
}

// The extremes line names what holds each extreme, and that thing is in the project: the
// pressures of mode 0 drawn as a contour lie on the raft member (430 is no node: the nodes run
// 1..344), story shears on the members that carry them (SSFR is kept by member key), the slab
// deflection per member on a slab member (its minimum keeps no member and is printed without
// one). Each key is looked up in its own table with SQLite.
TEST_F(ResultModeTest, ExtremesNameWhatHoldsThem) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string out = std::string(PVX_TEST_TMPDIR) + "/result_mode_keys.bmp";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(sample.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    auto has = [&](const std::string& table, unsigned key) {
        sqlite3_stmt* st = nullptr;
        const std::string sql = "SELECT 1 FROM " + table + " WHERE key = ?";
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return false;
        sqlite3_bind_int64(st, 1, key);
        const bool found = sqlite3_step(st) == SQLITE_ROW;
        sqlite3_finalize(st);
        return found;
    };
    struct Row {
        const char* label;
        std::string args;
        const char* maxKind;
        const char* table;
        const char* minKind;  // "" when the minimum is printed without a place
    } const rows[] = {
        {"raft pressures of mode 0", "--mode 0 --option data-kind=0", "member", "PMEMB", "member"},
        {"support reactions", "--mode 0", "node", "PNODE", "node"},
        {"story shear", "--mode 5 --load WX", "member", "PMEMB", "member"},
        {"slab deflection per member", "--mode 19 --option deflection-kind=0", "member", "PMEMB", ""},
        {"slab deflection per element", "--mode 19", "node", "PNODE", "node"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const moduletest::HostRun h = RunHostTagged("--db " + sample + " render " + r.args + " --size 320x240 --out " + out, "keys");
        ASSERT_EQ(h.exitCode, 0) << h.err;
        const size_t maxAt = h.out.find(") at ");
        ASSERT_NE(maxAt, std::string::npos) << h.out;
        char kind[16] = {};
        unsigned key = 0;
        ASSERT_EQ(std::sscanf(h.out.c_str() + maxAt, ") at %15s %u", kind, &key), 2) << h.out;
        EXPECT_STREQ(kind, r.maxKind) << h.out;
        EXPECT_TRUE(has(r.table, key)) << r.table << " " << key;
        const size_t minLine = h.out.find("min ");
        ASSERT_NE(minLine, std::string::npos) << h.out;
        const std::string min = h.out.substr(minLine, h.out.find('\n', minLine) - minLine);
        if (*r.minKind)
            EXPECT_NE(min.find(std::string(") at ") + r.minKind + " "), std::string::npos) << min;
        else
            EXPECT_EQ(min.find(" at "), std::string::npos) << min;
    }
    sqlite3_close(db);
}

// The slab strip mode draws the project's strips (the strip page's list starts with every strip
// checked): a picture other than the plain model's, without a note that its engine is missing.
TEST_F(ResultModeTest, SlabStripModeDrawsTheProjectsStrips) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string plain = std::string(PVX_TEST_TMPDIR) + "/result_mode_plain.bmp";
    const std::string shown = std::string(PVX_TEST_TMPDIR) + "/result_mode_2.bmp";
    const moduletest::HostRun p = RunHostTagged("--db " + sample + " render --view plan --size 400x300 --out " + plain, "plain");
    ASSERT_EQ(p.exitCode, 0) << p.err;
    std::vector<COLORREF> want, got;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadBmp(plain.c_str(), want, w, h));
    std::remove(shown.c_str());
    const moduletest::HostRun s =
        RunHostTagged("--db " + sample + " render --view plan --size 400x300 --out " + shown + " --mode slab-strip", "nb");
    EXPECT_EQ(s.exitCode, 0) << s.err;
    EXPECT_EQ(s.err.find("not built yet"), std::string::npos) << s.err;
    ASSERT_TRUE(ReadBmp(shown.c_str(), got, w, h));
    EXPECT_NE(got, want) << "the strips drawn over the model";
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
            const moduletest::HostRun h =
                RunHostTagged("--db " + project + " render --size 400x300 --out " + out + " --mode " + mode + " --component N", "truss");
            EXPECT_EQ(h.exitCode, 0) << h.err;
            EXPECT_EQ(h.err.find("not built"), std::string::npos) << h.err;
            EXPECT_NE(h.out.find("(121.5) at member"), std::string::npos) << h.out;
            // The sample's minimum is its most compressed column's.
            EXPECT_NE(h.out.find(project == sample ? "(-504) at member" : "(-162) at member"), std::string::npos) << h.out;
        }
}

TEST_F(ResultModeTest, DisplacementModesDrawTheirResult) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string plain = std::string(PVX_TEST_TMPDIR) + "/result_mode_dplain.bmp";
    const std::string shown = std::string(PVX_TEST_TMPDIR) + "/result_mode_d.bmp";
    const moduletest::HostRun p = RunHostTagged("--db " + sample + " render --view plan --size 400x300 --out " + plain, "dplain");
    ASSERT_EQ(p.exitCode, 0) << p.err;
    std::vector<COLORREF> want, got;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadBmp(plain.c_str(), want, w, h));
    const char* rows[] = {"--mode 2",
                          "--mode displacement-contour --load 1.3DL+1.5LL --component DZ --option numbers=1"};
    for (const char* args : rows) {
        SCOPED_TRACE(args);
        std::remove(shown.c_str());
        const moduletest::HostRun s =
            RunHostTagged("--db " + sample + " render --view plan --size 400x300 --out " + shown + " " + args, "d");
        EXPECT_EQ(s.exitCode, 0) << s.err;
        EXPECT_EQ(s.err.find("not built"), std::string::npos) << s.err;
        EXPECT_NE(s.out.find("max "), std::string::npos) << s.out;
        EXPECT_NE(s.out.find(" at node "), std::string::npos) << s.out;
        ASSERT_TRUE(ReadBmp(shown.c_str(), got, w, h));
        EXPECT_NE(got, want) << "the contour, not the plain model";
    }
}

// The first "max"/"min" line of a render's report: value and key.
bool ReportLine(const std::string& out, const char* which, double& value, std::string& where) {
    const size_t at = out.find(std::string(which) + " ");
    if (at == std::string::npos) return false;
    const size_t open = out.find('(', at), close = out.find(')', at), end = out.find('\n', at);
    if (open == std::string::npos || close == std::string::npos || close > end) return false;
    value = std::strtod(out.c_str() + open + 1, nullptr);
    where = out.substr(close + 2, end - close - 2);
    return true;
}

TEST_F(ResultModeTest, TimeHistoryStepAndSettlementThroughTheModeTable) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string out = std::string(PVX_TEST_TMPDIR) + "/result_mode_th.bmp";
    auto run = [&](const std::string& args) {
        return RunHostTagged("--db " + sample + " render --view plan --size 400x300 --out " + out + " " + args, "th");
    };
    // The THX history peaks at step 105 with the THX displacement record (a mid-time sine
    // product of 1); the static-record display of THX gives that record.
    const moduletest::HostRun peak = run("--mode displacement-contour --load THX --component DX");
    ASSERT_EQ(peak.exitCode, 0) << peak.err;
    double want = 0.0, got = 0.0;
    std::string wantAt, gotAt;
    ASSERT_TRUE(ReportLine(peak.out, "max", want, wantAt)) << peak.out;
    ASSERT_GT(want, 0.0);
    const moduletest::HostRun step = run("--mode time-history --option step=105");
    ASSERT_EQ(step.exitCode, 0) << step.err;
    ASSERT_TRUE(ReportLine(step.out, "max", got, gotAt)) << step.out;
    EXPECT_NEAR(got, want, 1e-9 * want);
    EXPECT_EQ(gotAt, wantAt);
    // Without a step: the peak, step 105.
    const moduletest::HostRun dflt = run("--mode time-history");
    ASSERT_EQ(dflt.exitCode, 0) << dflt.err;
    ASSERT_TRUE(ReportLine(dflt.out, "max", got, gotAt)) << dflt.out;
    EXPECT_NEAR(got, want, 1e-9 * want);
    // Step 0: the structure at rest.
    const moduletest::HostRun rest = run("--mode time-history --option step=0");
    ASSERT_EQ(rest.exitCode, 0) << rest.err;
    ASSERT_TRUE(ReportLine(rest.out, "max", got, gotAt)) << rest.out;
    EXPECT_EQ(got, 0.0);
    // Velocity at the peak of the displacement: the envelope term alone, small against the
    // displacement's rate elsewhere; it is read, not the displacement.
    const moduletest::HostRun vel = run("--mode time-history --option step=105 --option quantity=1");
    ASSERT_EQ(vel.exitCode, 0) << vel.err;
    ASSERT_TRUE(ReportLine(vel.out, "max", got, gotAt)) << vel.out;
    EXPECT_NE(got, want);
    // Misuse of the keys.
    const moduletest::HostRun bad = run("--mode time-history --option step=-1");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("takes N"), std::string::npos) << bad.err;
    const moduletest::HostRun other = run("--mode 2 --option step=3");
    EXPECT_EQ(other.exitCode, 2);
    EXPECT_NE(other.err.find("\"step\" is not a setting of mode 2"), std::string::npos) << other.err;
    // Settlement extremes belong to settlement points.
    const moduletest::HostRun settle = run("--mode settlement");
    ASSERT_EQ(settle.exitCode, 0) << settle.err;
    ASSERT_TRUE(ReportLine(settle.out, "max", got, gotAt)) << settle.out;
    EXPECT_EQ(gotAt.rfind("at point ", 0), 0u) << gotAt;
}

TEST_F(ResultModeTest, DeformationSettingsReachTheEngine) {
    const std::string sample = SampleProjectPath();
    ASSERT_TRUE(OpenFile(sample));
    I_PVXModel& m = M();
    const char* keys[] = {"deformed", "exact", "step", "quantity", "scale"};
    const char* values[] = {"1", "1", "7", "2", "2.5"};
    PVXHostResultRequest req{};
    req.nMode = 63;
    req.nResultId = -1;
    req.nLoadType = 5;
    req.nLoadKey = 4;  // THX
    req.pszLoadName = "THX";
    req.nSettings = 5;
    req.ppszKeys = keys;
    req.ppszValues = values;
    PVXHostResultReport rep{};
    ASSERT_EQ(PVXHost_ShowResult(&m, &req, &rep), PVXHOST_DRAWN) << rep.szMessage;
    EXPECT_STREQ(rep.szMessage, "") << "every setting taken";
    const CDeformEngine& e = *m.m_pDeformEngine;
    EXPECT_EQ(e.m_bDeformed, 1);
    EXPECT_EQ(e.m_bExactBeamRange, 1);
    EXPECT_EQ(e.m_nTimeStep, 7);
    EXPECT_EQ(e.m_nTHKind, 2);
    EXPECT_EQ(e.m_dUserScale, 2.5);
    EXPECT_EQ(e.m_bDataReady, 1);
    CPVXBarContainerBase::m_nCurrentMode = -1;
    CPVXBarContainerBase::m_nCurrentTMMode = -1;
}

TEST_F(ResultModeTest, FrameForceContourIsShownWithItsLegendAndExtremes) {
    const std::string sample = SampleProjectPath();
    ASSERT_FALSE(sample.empty());
    const std::string plain = std::string(PVX_TEST_TMPDIR) + "/result_mode_plain6.bmp";
    const std::string shown = std::string(PVX_TEST_TMPDIR) + "/result_mode_6.bmp";
    const moduletest::HostRun p = RunHostTagged("--db " + sample + " render --view plan --size 400x300 --out " + plain, "plain6");
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
        const moduletest::HostRun s = RunHostTagged("--db " + sample + " render --view plan --size 400x300 --out " + shown + " " + r.args, "six");
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

    // The displacement contour: the engine is kept and drawn, its extremes are reported.
    const char* keys[] = {"component", "numbers"};
    const char* values[] = {"2", "1"};
    req = request(2, 1, 1);
    req.nResultId = 7204;
    req.nSettings = 2;
    req.ppszKeys = keys;
    req.ppszValues = values;
    EXPECT_EQ(PVXHost_ShowResult(&m, &req, &rep), PVXHOST_DRAWN) << rep.szMessage;
    EXPECT_STREQ(rep.szEngine, "deformation (displacement)");
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentMode, 2);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, 7204);
    EXPECT_EQ(m.m_nLoadKey, 1u);
    EXPECT_EQ(m.m_bResultDataReady, 1) << "the load reached the host";
    ASSERT_NE(m.m_pDeformEngine, nullptr);
    EXPECT_EQ(m.m_pDeformEngine->m_bDataReady, 1);
    EXPECT_EQ(m.m_pDeformEngine->m_nComponent, 2) << "the component setting";
    EXPECT_EQ(m.m_nDisplayMode, 2);
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_bShowNumbers, 1) << "the display switches are the model's";
    EXPECT_EQ(PVXHost_GetResultExtremes(&m, &rep), 1);
    EXPECT_EQ(rep.bExtremes, 1);
    EXPECT_EQ(rep.dMax, m.m_pDeformEngine->m_dLegendMax);
    EXPECT_EQ(rep.dMin, m.m_pDeformEngine->m_dLegendMin);
    EXPECT_LT(rep.dMin, rep.dMax);
    EXPECT_STREQ(rep.szKeyKind, "node");
    CPVXBarContainerBase::m_nCurrentMode = -1;
    CPVXBarContainerBase::m_nCurrentTMMode = -1;

    // The extremes of a result the view shows: the engine's legend values and the model's keys,
    // the values as the legend writes them (reaction arrows: GetTextReaction; a contour: the
    // scale's value text).
    // Pressure extremes are kept per member (the build walks members), also when mode 0 draws
    // the pressures as a contour (data kind 0); reactions at the supports per node.
    struct Row {
        const char* label;
        int mode;
        int dataKind;
        const char* kind;
    } const rows[] = {{"reaction arrows", 0, CReactionEngine::KIND_REACTION, "node"},
                      {"reactions of the reversed supports", 0, CReactionEngine::KIND_REVERSED, "node"},
                      {"mode 0 as a pressure contour", 0, CReactionEngine::KIND_CONTOUR, "member"},
                      {"reaction contour", 70, CReactionEngine::KIND_CONTOUR, "member"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        m.ResetEngines();
        m.m_pReactionEngine = new CReactionEngine(&m);
        m.m_pReactionEngine->m_nDataKind = r.dataKind;
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
