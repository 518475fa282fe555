// pvxhost show and render as a new user meets them: every box of a page changes the picture or is
// listed as having no effect, the defaults open on a load that has the result, and a refusal
// names what is missing.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdint>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/host/app/HostRun.h"

namespace {

// The picture a command writes, as bytes; empty (with a failure) when it wrote none (pOut: what
// it printed).
std::string Picture(const std::string& command, const std::string& tag, std::string* pOut = nullptr) {
    const std::string pic = hostrun::kTmp + "/ctl_" + tag + "_" + hostrun::kPid + ".bmp";
    std::remove(pic.c_str());
    const hostrun::RunResult r = hostrun::RunHost(command + " --out '" + pic + "'", tag);
    EXPECT_EQ(r.code, 0) << command << "\n" << r.err;
    if (pOut) *pOut = r.out;
    const std::string bytes = hostrun::ReadFile(pic);
    std::remove(pic.c_str());
    return bytes;
}

// The undeformed box draws the model at rest under a deformed picture: clearing it and setting it
// give different pictures on every page that has both boxes.
TEST(PvxHostShowControlsTest, UndeformedBoxDrawsTheOutlineUnderADeformedPicture) {
    const char* pages[] = {"show 7201", "show 7203", "show 7204 --set deformed=1", "show 7301 --set deformed=1",
                           "show 7305 --set deformed=1", "show 7307 --set deformed=1",
                           "show 7308 --set deformed=1"};
    for (const char* page : pages) {
        SCOPED_TRACE(page);
        const std::string off = Picture(std::string(page) + " --set undeformed=0", "undef0");
        const std::string on = Picture(std::string(page) + " --set undeformed=1", "undef1");
        ASSERT_FALSE(off.empty());
        EXPECT_NE(off, on);
    }
}

}  // namespace

namespace {

// "max TEXT (VALUE) ..." and "min ..." lines of a command's report: the two values.
bool ReadExtremes(const std::string& out, double& max, double& min) {
    int found = 0;
    for (const std::string& line : hostrun::Lines(out)) {
        double v = 0;
        char text[64];
        if (std::sscanf(line.c_str(), "max %63s (%lf)", text, &v) == 2) max = v, found |= 1;
        if (std::sscanf(line.c_str(), "min %63s (%lf)", text, &v) == 2) min = v, found |= 2;
    }
    return found == 3;
}

// The plate stress page hands its surface and number choices to the stress engine, and its bar
// offers the T-girder and wall boxes of the plate results rather than the frame boxes.
TEST(PvxHostShowControlsTest, PlateStressPageTakesItsSurfaceNumberAndPlateBoxes) {
    const hostrun::RunResult list = hostrun::RunHost("show 7308 --list-controls", "pstrslist");
    ASSERT_EQ(list.code, 0) << list.err;
    for (const char* name : {" tgirder ", " wall "}) EXPECT_NE(list.out.find(name), std::string::npos) << name;
    for (const char* name : {" column ", " onlytruss "}) EXPECT_EQ(list.out.find(name), std::string::npos) << name;

    // Sigma-xx of each face at the corners of the wall and T-girder plates of DL, read from the
    // file: STRP.blk value 30 p + 7 f (p the corner 1..4, f the face).
    double want[2][2] = {{-1e300, 1e300}, {-1e300, 1e300}};  // [face][max, min]
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(hostrun::SamplePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db,
                                     "SELECT blk FROM STRP WHERE (id >> 32) = 1 AND (id & 4294967295) IN "
                                     "(SELECT key FROM PELEM WHERE type IN (204, 209, 210))",
                                     -1, &st, nullptr),
                  SQLITE_OK);
        while (sqlite3_step(st) == SQLITE_ROW) {
            double blk[150];
            ASSERT_EQ(sqlite3_column_bytes(st, 0), static_cast<int>(sizeof blk));
            std::memcpy(blk, sqlite3_column_blob(st, 0), sizeof blk);
            for (int f = 0; f < 2; ++f)
                for (int p = 1; p <= 4; ++p) {
                    want[f][0] = std::max(want[f][0], blk[30 * p + 7 * f]);
                    want[f][1] = std::min(want[f][1], blk[30 * p + 7 * f]);
                }
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
    }
    const std::string pic = hostrun::kTmp + "/ctl_pstrs_" + hostrun::kPid + ".bmp";
    const hostrun::RunResult top = hostrun::RunHost("show 7308 --set component=0 --out '" + pic + "'", "pstrstop");
    const hostrun::RunResult bottom = hostrun::RunHost("show 7308 --set component=0 --set surface=1 --out '" + pic + "'", "pstrsbot");
    std::remove(pic.c_str());
    double tmax = 0, tmin = 0, bmax = 0, bmin = 0;
    ASSERT_TRUE(ReadExtremes(top.out, tmax, tmin)) << top.out << top.err;
    ASSERT_TRUE(ReadExtremes(bottom.out, bmax, bmin)) << bottom.out << bottom.err;
    EXPECT_NEAR(tmax, want[0][0], 1e-9 * std::fabs(want[0][0]));
    EXPECT_NEAR(tmin, want[0][1], 1e-9 * std::fabs(want[0][1]));
    EXPECT_NEAR(bmax, want[1][0], 1e-9 * std::fabs(want[1][0]));
    EXPECT_NEAR(bmin, want[1][1], 1e-9 * std::fabs(want[1][1]));

    // The centre value in place of the element extremes.
    EXPECT_NE(Picture("show 7308 --set values=1", "pstrsnum0"),
              Picture("show 7308 --set values=1 --set number=1", "pstrsnum1"));
}

}  // namespace

namespace {

// show draws through the page what render draws for the page's display mode, byte for byte: the
// same result, legend and view-point triad; its report names the page it showed.
TEST(PvxHostShowControlsTest, ShowAndRenderDrawOnePicture) {
    struct Row {
        const char* show;
        const char* render;
    } rows[] = {
        {"show 7201 --load DL", "render --mode 1 --load DL"},  {"show 7204 --load DL", "render --mode 2 --load DL"},
        {"show 7301 --load DL", "render --mode 6 --load DL"},  {"show 7302 --load LL", "render --mode 7 --load LL"},
        {"show 7305 --load DL", "render --mode 8 --load DL"},  {"show 7307 --load WX", "render --mode 10 --load WX"},
        {"show 7308 --load DL", "render --mode 11 --load DL"},
        // The member bar's column box and the option of the same name: columns plain.
        {"show 7301 --load DL --set column=0", "render --mode 6 --load DL --option columns=0"},
        {"show 7302 --load DL --set column=0", "render --mode 7 --load DL --option columns=0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.show);
        const std::string a = Picture(r.show, "onepicshow");
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == Picture(r.render, "onepicrender")) << "the pictures differ";
    }
    const std::string pic = hostrun::kTmp + "/ctl_shown_" + hostrun::kPid + ".bmp";
    const hostrun::RunResult r = hostrun::RunHost("show 7301 --set display=1 --out '" + pic + "'", "shownpage");
    std::remove(pic.c_str());
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("result 7301 on the page CPVXBarBSfd"), std::string::npos) << r.out;
}

}  // namespace

namespace {

// The first column of each row of a query on a project (the sample when none is named), as text.
std::vector<std::string> Column(const std::string& sql, const std::string& path = "") {
    std::vector<std::string> out;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2((path.empty() ? hostrun::SamplePath() : path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) ADD_FAILURE() << sqlite3_errmsg(db);
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            const unsigned char* t = sqlite3_column_text(st, 0);
            out.push_back(t ? reinterpret_cast<const char*>(t) : "");
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

// A result opened without --load starts on the first load that has it; a load may be named by
// the key info prints; a name the project lacks is refused with the names it has.
TEST(PvxHostShowControlsTest, LoadsDefaultToOneWithTheResultAndAreNamedByNameOrKey) {
    // The story shear rows belong to one load case only.
    const std::vector<std::string> ssfr =
        Column("SELECT name FROM PSTLD WHERE key IN (SELECT DISTINCT (id >> 32) & 4294967295 FROM SSFR) ORDER BY seq");
    ASSERT_FALSE(ssfr.empty());
    const std::vector<std::string> comb = Column("SELECT name FROM PLCOM WHERE key = 101");
    ASSERT_EQ(comb.size(), 1u);
    struct Row {
        std::string label, a, b;
    } rows[] = {
        {"story shear page", "show 7501", "show 7501 --load " + ssfr[0]},
        {"story shear mode", "render --mode 5", "render --mode 5 --load " + ssfr[0]},
        {"combination key", "render --mode 6 --load 101", "render --mode 6 --load '" + comb[0] + "'"},
        {"combination key on a page", "show 7301 --load 101", "show 7301 --load '" + comb[0] + "'"},
        {"strips", "render --mode 21", "show 7402"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string a = Picture(r.a, "loada");
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == Picture(r.b, "loadb")) << "the pictures differ";
    }
    for (const char* command : {"render --mode 6 --load NOSUCH", "show 7301 --load NOSUCH"}) {
        SCOPED_TRACE(command);
        const hostrun::RunResult r = hostrun::RunHost(std::string(command) + " --out '" + hostrun::kTmp + "/ctl_noload.bmp'", "noload");
        EXPECT_EQ(r.code, 2) << "a load the project has not is a wrong command line";
        for (const std::string& name : Column("SELECT name FROM PSTLD UNION ALL SELECT name FROM PLCOM"))
            EXPECT_NE(r.err.find(name), std::string::npos) << name << " in: " << r.err;
    }
    // A load without the result names those that have it.
    const hostrun::RunResult settle = hostrun::RunHost("render --mode 7 --load SETTLE --out '" + hostrun::kTmp + "/ctl_settle.bmp'", "settle");
    EXPECT_EQ(settle.code, 1);
    EXPECT_NE(settle.err.find("loads with them: DL, LL, WX"), std::string::npos) << settle.err;
}

// A time history opens on the step of the largest displacement of any node, and a step past the
// last is refused with the case's step count.
TEST(PvxHostShowControlsTest, TimeHistoryOpensOnItsPeakStep) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(hostrun::SamplePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT nstep, \"values\" FROM DISPHIS", -1, &st, nullptr), SQLITE_OK);
    int nSteps = 0, nPeak = 0;
    double peak = -1;
    while (sqlite3_step(st) == SQLITE_ROW) {
        // Per step: DX DY DZ RX RY RZ, then velocity and acceleration (18 doubles).
        const int n = sqlite3_column_int(st, 0);
        std::vector<double> v(static_cast<size_t>(sqlite3_column_bytes(st, 1)) / sizeof(double));
        std::memcpy(v.data(), sqlite3_column_blob(st, 1), v.size() * sizeof(double));
        nSteps = std::max(nSteps, n);
        for (int s = 0; s < n && 18u * s + 2 < v.size(); ++s) {
            const double r = v[18 * s] * v[18 * s] + v[18 * s + 1] * v[18 * s + 1] + v[18 * s + 2] * v[18 * s + 2];
            if (r > peak) peak = r, nPeak = s;
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    ASSERT_GT(nSteps, 1);
    ASSERT_GT(peak, 0.0);
    EXPECT_TRUE(Picture("render --mode 63", "thdefault") ==
                Picture("render --mode 63 --option step=" + std::to_string(nPeak), "thpeak"));
    const hostrun::RunResult past = hostrun::RunHost("render --mode 63 --option step=" + std::to_string(nSteps) + " --out '" + hostrun::kTmp +
                                       "/ctl_thpast.bmp'", "thpast");
    EXPECT_EQ(past.code, 1);
    EXPECT_NE(past.err.find("has " + std::to_string(nSteps) + " steps"), std::string::npos) << past.err;
}

}  // namespace

namespace {

// A scale the page refuses is refused by render too, with the page's message; what the page
// takes, render takes. A deformation scale of 0 or below would flatten or overturn the shape.
TEST(PvxHostShowControlsTest, ScalesAreRefusedAsThePageRefusesThem) {
    const char* kAbs10 = "比例系数无效(绝对值应不大于10)。";
    const char* kPositive = "比例系数无效(应为大于0的数)。";
    struct Row {
        const char* command;
        int code;
        const char* message;  // in stderr; null: no message at all
    } rows[] = {
        {"render --mode 0 --option scale=-100", 1, kAbs10},
        {"show 7101 --set scale=-100", 1, kAbs10},
        {"render --mode 0 --option scale=-5", 0, nullptr},
        {"render --mode 1 --option scale=-100", 1, kPositive},
        {"render --mode 1 --option scale=0", 1, kPositive},
        {"show 7201 --details deformed-more --detail-set scale=-100", 1, kPositive},
        {"render --mode 1 --option scale=5", 0, nullptr},
        // Numbers no drawing can use: before, the dialog dropped NaN and infinity silently, and
        // render drew no model (inf) or a single line (1e308), or printed extremes of inf.
        {"show 7201 --details deformed-more --detail-set scale=nan", 1, kPositive},
        {"show 7201 --details deformed-more --detail-set scale=inf", 1, kPositive},
        {"render --mode 1 --option scale=inf", 2, "--option scale takes NUMBER (within +-1e9), not \"inf\""},
        {"render --mode 1 --option scale=-inf", 2, "not \"-inf\""},
        {"render --mode 1 --option scale=1e308", 2, "not \"1e308\""},
        {"render --mode 20 --option wall-width=1e308", 2, "--option wall-width takes NUMBER (0 to 1e9), not \"1e308\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        const std::string pic = hostrun::kTmp + "/ctl_scale_" + hostrun::kPid + ".bmp";
        const hostrun::RunResult r = hostrun::RunHost(std::string(row.command) + " --out '" + pic + "'", "scale");
        std::remove(pic.c_str());
        EXPECT_EQ(r.code, row.code) << r.err;
        if (row.message) EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        else EXPECT_EQ(r.err, "");
    }
}

}  // namespace

namespace {

// A control that draws the same whatever its value is listed "no effect here", and the picture
// indeed stays the same when it is changed.
TEST(PvxHostShowControlsTest, ControlsWithoutEffectAreListedSo) {
    struct Row {
        const char* result;
        const char* control;
        const char* value;
    } rows[] = {
        {"7301", "onlytruss", "1"}, {"7302", "method", "0"},
        {"7302", "undeformed", "0"}, {"7306", "undeformed", "0"}, {"7308", "axes", "1"}, {"7102", "contour", "0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.result) + " " + r.control);
        const hostrun::RunResult list = hostrun::RunHost(std::string("show ") + r.result + " --list-controls", "noeffectlist");
        ASSERT_EQ(list.code, 0) << list.err;
        bool marked = false;
        for (const std::string& line : hostrun::Lines(list.out))
            if (line.find(std::string(" ") + r.control + " ") != std::string::npos)
                marked = line.find("(no effect here)") != std::string::npos;
        EXPECT_TRUE(marked) << list.out;
        EXPECT_TRUE(Picture(std::string("show ") + r.result, "noeffect0") ==
                    Picture(std::string("show ") + r.result + " --set " + r.control + "=" + r.value, "noeffect1"));
    }
}

// render --option: a key in any case, each key once, and a key the mode passes with a fixed
// value refused with the modes that take it.
TEST(PvxHostShowControlsTest, OptionKeysAreCheckedAgainstTheMode) {
    EXPECT_TRUE(Picture("render --mode 6 --option CONTOUR=0", "optcase") ==
                Picture("render --mode 6 --option contour=0", "optlower"));
    struct Row {
        const char* options;
        const char* message;
    } rows[] = {
        {"--mode 6 --option contour=0 --option contour=1", "given twice"},
        {"--mode 5 --option contour=0", "\"contour\" has no effect on mode 5"},
        {"--mode 70 --option contour=0", "\"contour\" has no effect on mode 70"},
        {"--mode 20 --option contour=0", "\"contour\" has no effect on mode 20"},
        {"--mode 5 --option contour=0", "\"contour\" has no effect on mode 5"},
        {"--mode 1 --option exact=1", "modes that take \"exact\": 4)"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.options);
        const hostrun::RunResult res = hostrun::RunHost(std::string("render ") + r.options + " --out '" + hostrun::kTmp + "/ctl_opt.bmp'", "opt");
        EXPECT_EQ(res.code, 2);
        EXPECT_NE(res.err.find(r.message), std::string::npos) << res.err;
    }
}

}  // namespace

namespace {

std::string CopySample(const std::string& tag) {
    const std::string path = hostrun::kTmp + "/ctl_" + tag + "_" + hostrun::kPid + ".pvxdb";
    std::ofstream(path, std::ios::binary) << std::ifstream(hostrun::SamplePath(), std::ios::binary).rdbuf();
    return path;
}

// show --save keeps the settings of the page in the project (table PAGESET) and the next show of
// that result starts from them; without --save the project file stays byte for byte.
TEST(PvxHostShowControlsTest, PageSettingsLastWithTheProjectWhenSaved) {
    const std::string db = CopySample("pageset");
    const std::string before = hostrun::ReadFile(db);
    // (The legend names the project file: pictures are compared on the same file.)
    const std::string dlBefore = Picture("--db '" + db + "' show 7301 --load DL", "psdl0");
    EXPECT_FALSE(Picture("--db '" + db + "' show 7301 --load LL --set values=1 --set contour=0", "psnosave").empty());
    EXPECT_TRUE(hostrun::ReadFile(db) == before) << "written without --save";

    const std::string asked = Picture("--db '" + db + "' show 7301 --load LL --set values=1 --save", "pssave");
    EXPECT_FALSE(hostrun::ReadFile(db) == before);
    // The archive: load step, load key, load type as 32-bit little-endian words, first.
    const std::vector<std::string> hex = Column("SELECT key FROM PSTLD WHERE name = 'LL'");
    ASSERT_EQ(hex.size(), 1u);
    const std::vector<std::string> kept = Column("SELECT archive FROM PAGESET WHERE key = 7301", db);
    ASSERT_EQ(kept.size(), 1u);
    const std::string& archive = kept[0];
    ASSERT_GE(archive.size(), 16u);
    const unsigned key = static_cast<unsigned>(std::stoul(archive.substr(8, 2), nullptr, 16));
    EXPECT_EQ(std::to_string(key), hex[0]) << archive;

    // The next show starts from them; a load named on the command line still wins.
    std::string said;
    EXPECT_TRUE(Picture("--db '" + db + "' show 7301", "psnext", &said) == asked);
    EXPECT_NE(said.find("load LL, component MY, values written"), std::string::npos) << said;
    EXPECT_TRUE(Picture("--db '" + db + "' show 7301 --load DL --set values=0", "psdl") == dlBefore);
    std::remove(db.c_str());
}

}  // namespace

namespace {

// A result that cannot be drawn is refused (status 1) with a message naming what is missing:
// the table, the kind of member, the mode that draws it.
TEST(PvxHostShowControlsTest, RefusalsNameWhatIsMissing) {
    // A raft without T-girders, walls or a supports table.
    const std::string raft = CopySample("raftonly");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(raft.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DELETE FROM PMEMB WHERE type IN (204, 209, 210); DROP TABLE PRTND;", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    struct Row {
        std::string command;
        const char* message;
    } rows[] = {
        {"render --mode 0 --option data-kind=2", "no supported nodes of type 2 in table PRTND"},
        {"show 7103", "no supported nodes of type 2 in table PRTND"},
        {"--db '" + raft + "' render --mode 0", "no supported nodes of type 1 in table PRTND"},
        {"--db '" + raft + "' render --mode 10", "slab and raft plate forces are mode 16"},
        {"render --mode 18 --option crack-unit=1 --load DL", "table PDDELEM, kept by design combination"},
        {"render --mode 17 --load DL", "table SLDG, kept by design combination"},
        {"show 7307 --details section-more", "give --cut X1,Y1,X2,Y2"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.command);
        const std::string pic = hostrun::kTmp + "/ctl_refused_" + hostrun::kPid + ".bmp";
        const hostrun::RunResult res = hostrun::RunHost(r.command + " --out '" + pic + "'", "refused");
        EXPECT_EQ(res.code, 1);
        EXPECT_NE(res.err.find(r.message), std::string::npos) << res.err;
        EXPECT_TRUE(hostrun::ReadFile(pic).empty()) << "no picture";
        std::remove(pic.c_str());
    }
    std::remove(raft.c_str());
}

}  // namespace

namespace {

// The wall and plate pages' "..." buttons open their dialogs: the number dialog (values-more)
// and the deformation dialog (deformed-more); what is set there reaches the picture.
TEST(PvxHostShowControlsTest, WallAndPlateDetailButtonsOpenTheirDialogs) {
    struct Row {
        const char* details;  // the page and its button with the dialog's settings
        const char* plain;    // the same page without the dialog; null: only its opening is checked
    } rows[] = {
        {"show 7305 --details deformed-more --detail-set scale=300", "show 7305 --set deformed=1"},
        {"show 7307 --details values-more --detail-set only-minmax=1", "show 7307 --set values=1"},
        {"show 7305 --details values-more --detail-set exponent=1", nullptr},
        {"show 7306 --details values-more --detail-set only-minmax=1", nullptr},
        {"show 7307 --details 11007 --detail-set only-minmax=1", nullptr},
        {"show 7305 --details 11318 --detail-set exponent=1", nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.details);
        const std::string shown = Picture(r.details, "more");
        ASSERT_FALSE(shown.empty());
        if (r.plain) {
            EXPECT_FALSE(shown == Picture(r.plain, "moreplain"));
        }
    }
}

}  // namespace

namespace {

// show --cut adds a cutting line through the page's cutting-line window, as a person picks its
// two points and presses Add; the page's cut or section box then draws its diagram, and the
// window's settings (--detail-set) change it. render --cut serves the same modes.
TEST(PvxHostShowControlsTest, CuttingLinesAreDrawnThroughThePages) {
    const std::string cut = " --cut 0,5,30,5";
    struct Row {
        std::string with, without;
    } rows[] = {
        {"show 7204 --set cut=1" + cut, "show 7204 --set cut=1"},
        // The stress page shows walls: a cut across the shear wall at x = 0.
        {"show 7308 --set section=1 --cut -2,8,2,8", "show 7308 --set section=1"},
        {"show 7204 --set cut=1 --detail-set factor=3" + cut, "show 7204 --set cut=1" + cut},
        {"render --mode 2" + cut, "render --mode 2"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.with);
        const std::string a = Picture(r.with, "cutwith");
        ASSERT_FALSE(a.empty());
        EXPECT_FALSE(a == Picture(r.without, "cutwithout"));
    }
    EXPECT_FALSE(Picture("render --mode 10" + cut, "cutplate").empty());

    // The line the window added, read back from the saved project.
    const std::string db = CopySample("cutline");
    EXPECT_FALSE(Picture("--db '" + db + "' show 7204 --set cut=1 --save" + cut, "cutsave").empty());
    EXPECT_EQ(Column("SELECT COUNT(*) FROM CTLN WHERE kind = 0 AND x1 = 0 AND y1 = 5 AND x2 = 30 AND y2 = 5", db),
              std::vector<std::string>{"1"});
    std::remove(db.c_str());

    struct Refused {
        const char* command;
        const char* message;
    } refused[] = {
        {"show 7301 --cut 0,5,30,5", "has no cutting-line window"},
        {"render --mode 6 --cut 0,5,30,5", "modes 2, 10 and 11 do"},
        {"show 7204 --cut 0,5,0,5", "two different points"},
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.command);
        const hostrun::RunResult res = hostrun::RunHost(std::string(r.command) + " --out '" + hostrun::kTmp + "/ctl_cutno.bmp'", "cutno");
        EXPECT_EQ(res.code, 2);
        EXPECT_NE(res.err.find(r.message), std::string::npos) << res.err;
    }
}

}  // namespace

namespace {

// The number dialog's direction and angle turn the numbers of the pages that offer them; with
// the direction off the numbers follow their members as before.
TEST(PvxHostShowControlsTest, NumberDirectionTurnsTheNumbers) {
    struct Row {
        const char* page;  // with its values shown through the dialog
    } rows[] = {{"show 7101 --set contour=0"}, {"show 7401"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.page);
        const std::string plain = Picture(std::string(r.page) + " --details values-more --detail-set direction=0", "dir0");
        const std::string turned =
            Picture(std::string(r.page) + " --details values-more --detail-set direction=1 --detail-set angle=2", "dir1");
        ASSERT_FALSE(plain.empty());
        EXPECT_FALSE(plain == turned);
    }
}

}  // namespace

namespace {

// The pile reaction page's node edit picks a node in the view: a picked node's reaction is
// reported (node 288 carries the sample's largest dead-load pile reaction, 293.541 kN, see the
// extremes of render --mode 0), a pick that hits no node clears the edit.
TEST(PvxHostShowControlsTest, ReactionPagePicksItsNodeInTheView) {
    const hostrun::RunResult list = hostrun::RunHost("show 7101 --list-controls", "reacpicklist");
    ASSERT_EQ(list.code, 0) << list.err;
    bool picking = false;
    for (const std::string& line : hostrun::Lines(list.out))
        if (line.find(" node ") != std::string::npos) picking = line.find("point edit") != std::string::npos;
    EXPECT_TRUE(picking) << list.out;
    struct Row {
        const char* set;
        bool reported;
    } rows[] = {{"node=288", true}, {"node=1.5,2.5", false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.set);
        const std::string pic = hostrun::kTmp + "/ctl_reacpick_" + hostrun::kPid + ".bmp";
        const hostrun::RunResult res = hostrun::RunHost(std::string("show 7101 --set ") + r.set + " --out '" + pic + "'", "reacpick");
        std::remove(pic.c_str());
        EXPECT_EQ(res.code, 0) << res.err;
        EXPECT_EQ(res.err.find("NODE NUMBER=288") != std::string::npos, r.reported) << res.err;
        if (r.reported) {
            EXPECT_NE(res.err.find("FZ=   2.93541E+002"), std::string::npos) << res.err;
        }
    }
}

}  // namespace

namespace {

// render --option side= and the frame pages draw the sides of the envelope ENV (the four linear
// combinations of the sample): its extremes are those of the combinations drawn one by one, the
// other way to them.
TEST(PvxHostShowControlsTest, EnvelopeSidesAreTheCombinationsExtremes) {
    const std::vector<std::string> combs = {"1.3DL+1.5LL", "1.0DL+1.0LL", "1.3DL+1.5WX", "1.2DL+1.4LL+0.84WX"};
    const std::string pic = hostrun::kTmp + "/ctl_env_" + hostrun::kPid + ".bmp";
    auto extremes = [&](const std::string& args, double& mx, double& mn) {
        const hostrun::RunResult r = hostrun::RunHost(args + " --out '" + pic + "'", "env");
        EXPECT_EQ(r.code, 0) << r.err;
        return ReadExtremes(r.out, mx, mn);
    };
    struct Row {
        const char* label;
        const char* mode;
        std::string envelope;  // the command drawing the envelope
        bool bMax, bMin;       // which of the combinations' extremes its printed extremes are
    } rows[] = {
        {"frame diagram, maximum", "7", "render --mode 7 --load ENV --option side=max", true, false},
        {"frame diagram, minimum", "7", "render --mode 7 --load ENV --option side=min", false, true},
        {"frame diagram, both sides", "7", "render --mode 7 --load ENV --option side=both", true, true},
        // Total displacements are magnitudes: the larger side reaches the largest of them.
        {"displacements, larger magnitude", "2", "render --mode 2 --load ENV --option side=abs", true, false},
        // The frame pages list the envelope: its maximum, or with the min/max box both sides.
        {"frame contour page", "6", "show 7301 --load ENV", true, false},
        {"frame diagram page, min/max box", "7", "show 7302 --load ENV --set brace=0 --set minmax=1", true, true},
    };
    std::map<std::string, std::pair<double, double>> combined;  // by mode: the combinations' max and min
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        if (!combined.count(r.mode)) {
            double cmax = -1e300, cmin = 1e300;
            for (const std::string& c : combs) {
                double mx = 0, mn = 0;
                ASSERT_TRUE(extremes(std::string("render --mode ") + r.mode + " --load " + c, mx, mn)) << c;
                cmax = std::max(cmax, mx);
                cmin = std::min(cmin, mn);
            }
            combined[r.mode] = {cmax, cmin};
        }
        const auto [cmax, cmin] = combined[r.mode];
        double emax = 0, emin = 0;
        ASSERT_TRUE(extremes(r.envelope, emax, emin));
        if (r.bMax) {
            EXPECT_NEAR(emax, cmax, 1e-9 * std::fabs(cmax));
        }
        if (r.bMin) {
            EXPECT_NEAR(emin, cmin, 1e-9 * std::fabs(cmin));
        }
    }
    std::remove(pic.c_str());
    const hostrun::RunResult bad = hostrun::RunHost("render --mode 7 --load DL --option side=min --out '" + pic + "'", "envbad");
    EXPECT_NE(bad.code, 0);
    EXPECT_NE(bad.err.find("is not one"), std::string::npos) << bad.err;
}

}  // namespace

namespace {

// The envelope of the sample and its linear combinations, read from the file: PLCOM.entries
// holds 64 terms of (int32 kind, uint32 key, float64 factor), ended by the first key 0.
struct Combination {
    std::vector<std::pair<unsigned, double>> terms;  // load case, factor
};
std::vector<Combination> EnvelopeCombinations(sqlite3* db) {
    std::map<unsigned, Combination> linear;
    std::vector<unsigned> envelope;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT key, type, entries FROM PLCOM ORDER BY seq", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        const unsigned key = static_cast<unsigned>(sqlite3_column_int64(st, 0));
        const int type = sqlite3_column_int(st, 1);
        const auto* e = static_cast<const unsigned char*>(sqlite3_column_blob(st, 2));
        const int n = sqlite3_column_bytes(st, 2) / 16;
        Combination c;
        for (int i = 0; i < n; ++i) {
            std::uint32_t k = 0;
            double f = 0;
            std::memcpy(&k, e + 16 * i + 4, 4);
            std::memcpy(&f, e + 16 * i + 8, 8);
            if (k == 0) break;
            if (type == 1) envelope.push_back(k);
            else c.terms.emplace_back(k, f);
        }
        if (type == 0) linear[key] = c;
    }
    sqlite3_finalize(st);
    std::vector<Combination> out;
    for (unsigned k : envelope) out.push_back(linear[k]);
    return out;
}

// Rows of a result table as arrays of doubles by (load case, key): a BLOB column, or the REAL
// columns after the id.
std::map<std::pair<unsigned, unsigned>, std::vector<double>> ResultRows(sqlite3* db, const std::string& sql) {
    std::map<std::pair<unsigned, unsigned>, std::vector<double>> rows;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        const sqlite3_int64 id = sqlite3_column_int64(st, 0);
        std::vector<double> v;
        if (sqlite3_column_type(st, 1) == SQLITE_BLOB) {
            v.resize(static_cast<size_t>(sqlite3_column_bytes(st, 1)) / 8);
            std::memcpy(v.data(), sqlite3_column_blob(st, 1), v.size() * 8);
        } else {
            for (int c = 1; c < sqlite3_column_count(st); ++c) v.push_back(sqlite3_column_double(st, c));
        }
        rows[{static_cast<unsigned>(id >> 32), static_cast<unsigned>(id & 0xffffffff)}] = v;
    }
    sqlite3_finalize(st);
    return rows;
}

// One side of an envelope, value by value over the combinations: 0 maximum, 1 minimum, 2 the
// larger magnitude (the maximum on a tie).
double Side(const std::vector<double>& xs, int side) {
    const double hi = *std::max_element(xs.begin(), xs.end()), lo = *std::min_element(xs.begin(), xs.end());
    return side == 0 ? hi : side == 1 ? lo : std::fabs(hi) >= std::fabs(lo) ? hi : lo;
}

// The extremes line's value and place ("max TEXT (VALUE) at KIND KEY").
bool ReadExtreme(const std::string& out, const char* which, double& v, unsigned& key) {
    for (const std::string& line : hostrun::Lines(out)) {
        char text[64], kind[16];
        if (line.rfind(which, 0) == 0 &&
            std::sscanf(line.c_str() + std::strlen(which), " %63s (%lf) at %15s %u", text, &v, kind, &key) == 4)
            return true;
    }
    return false;
}

// The frame pages choose the side of an envelope with their own side radios (maximum, minimum,
// larger magnitude), the diagram page's min/max box draws both; the displacement envelope's
// sides are reached with --option side. Every printed extreme is the one of the file: the beams'
// moment about y (MBWG component 4 at 9 stations; beams are types 201, 205 and 204) or the nodes'
// total displacement (DISP: each of DX, DY, DZ taken on its side, then the resultant), summed
// term by term for each linear combination of the envelope and then taken on the side.
TEST(PvxHostShowControlsTest, PagesChooseTheSideOfAnEnvelope) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(hostrun::SamplePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    const std::vector<Combination> combs = EnvelopeCombinations(db);
    ASSERT_EQ(combs.size(), 4u);
    std::map<unsigned, int> types;
    {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT key, type FROM PMEMB", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            types[static_cast<unsigned>(sqlite3_column_int64(st, 0))] = sqlite3_column_int(st, 1);
        sqlite3_finalize(st);
    }
    const auto mbwg = ResultRows(db, "SELECT id, d FROM MBWG");
    const auto disp = ResultRows(db, "SELECT id, DX, DY, DZ, RX, RY, RZ FROM DISP");
    sqlite3_close(db);

    // Combination c of the rows of key k (empty when a term has no row).
    auto combined = [](const std::map<std::pair<unsigned, unsigned>, std::vector<double>>& rows,
                       const Combination& c, unsigned k) {
        std::vector<double> sum;
        for (const auto& [lc, f] : c.terms) {
            auto it = rows.find({lc, k});
            if (it == rows.end()) return std::vector<double>();
            sum.resize(it->second.size(), 0.0);
            for (size_t i = 0; i < sum.size(); ++i) sum[i] += f * it->second[i];
        }
        return sum;
    };
    struct Extremes {
        double max = -1e300, min = 1e300;
        unsigned maxKey = 0, minKey = 0;
        void Take(double v, unsigned k) {
            if (v > max) max = v, maxKey = k;
            if (v < min) min = v, minKey = k;
        }
    };
    // Sides 0..2, and 3 both (the maximum side's maximum and the minimum side's minimum).
    auto frame = [&](int side) {
        Extremes e;
        std::set<unsigned> keys;
        for (const auto& r : mbwg) keys.insert(r.first.second);
        for (unsigned k : keys) {
            const int t = types[k];
            if (t != 201 && t != 205 && t != 204) continue;
            std::vector<std::vector<double>> v;
            for (const Combination& c : combs) v.push_back(combined(mbwg, c, k));
            if (std::any_of(v.begin(), v.end(), [](const auto& x) { return x.size() != 54; })) continue;
            for (int s = 0; s < 9; ++s) {
                std::vector<double> xs;
                for (const auto& x : v) xs.push_back(x[static_cast<size_t>(6 * s + 4)]);
                if (side == 3) {
                    e.Take(Side(xs, 0), k);
                    e.Take(Side(xs, 1), k);
                } else {
                    e.Take(Side(xs, side), k);
                }
            }
        }
        return e;
    };
    auto displacement = [&](int side) {
        Extremes e;
        std::set<unsigned> keys;
        for (const auto& r : disp) keys.insert(r.first.second);
        for (unsigned k : keys) {
            std::vector<std::vector<double>> v;
            for (const Combination& c : combs) v.push_back(combined(disp, c, k));
            if (std::any_of(v.begin(), v.end(), [](const auto& x) { return x.size() != 6; })) continue;
            double r2 = 0;
            for (size_t c = 0; c < 3; ++c) {
                std::vector<double> xs;
                for (const auto& x : v) xs.push_back(x[c]);
                r2 += Side(xs, side) * Side(xs, side);
            }
            e.Take(std::sqrt(r2), k);
        }
        return e;
    };

    struct Row {
        const char* label;
        std::string command;
        Extremes want;
    } const rows[] = {
        {"contour page, maximum", "show 7301 --load ENV --set brace=0", frame(0)},
        {"contour page, minimum", "show 7301 --load ENV --set brace=0 --set side=1", frame(1)},
        {"contour page, larger magnitude", "show 7301 --load ENV --set brace=0 --set side=2", frame(2)},
        {"diagram page, minimum", "show 7302 --load ENV --set brace=0 --set side=1", frame(1)},
        {"diagram page, larger magnitude", "show 7302 --load ENV --set brace=0 --set side=2", frame(2)},
        {"diagram page, min/max box", "show 7302 --load ENV --set brace=0 --set minmax=1", frame(3)},
        {"displacements, maximum", "render --mode 2 --load ENV", displacement(0)},
        {"displacements, minimum", "render --mode 2 --load ENV --option side=min", displacement(1)},
        {"displacements, larger magnitude", "render --mode 2 --load ENV --option side=abs", displacement(2)},
    };
    const std::string pic = hostrun::kTmp + "/ctl_side_" + hostrun::kPid + ".bmp";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const hostrun::RunResult run = hostrun::RunHost(r.command + " --size 320x240 --out '" + pic + "'", "side");
        ASSERT_EQ(run.code, 0) << run.err;
        double mx = 0, mn = 0;
        unsigned kmax = 0, kmin = 0;
        ASSERT_TRUE(ReadExtreme(run.out, "max", mx, kmax)) << run.out;
        ASSERT_TRUE(ReadExtreme(run.out, "min", mn, kmin)) << run.out;
        EXPECT_NEAR(mx, r.want.max, 1e-12 * std::fabs(r.want.max) + 1e-12);
        EXPECT_NEAR(mn, r.want.min, 1e-12 * std::fabs(r.want.min) + 1e-12);
        EXPECT_EQ(kmax, r.want.maxKey);
        EXPECT_EQ(kmin, r.want.minKey);
    }
    // The numbers: the minimum of the moments is -87.038208 at member 257 (combination
    // 1.2DL+1.4LL+0.84WX), the larger-magnitude displacement 23.087 mm at node 311.
    EXPECT_NEAR(frame(1).min, -87.038208, 1e-9);
    EXPECT_NEAR(displacement(2).max, 23.08701422583369, 1e-9);

    // A side saved with the page's settings is the side the page opens on next time.
    {
        const std::string copy = CopySample("side");
        const hostrun::RunResult saved =
            hostrun::RunHost("--db '" + copy + "' show 7302 --load ENV --set brace=0 --set side=1 --save --out '" + pic + "'", "sidesave");
        ASSERT_EQ(saved.code, 0) << saved.err;
        const hostrun::RunResult next = hostrun::RunHost("--db '" + copy + "' show 7302 --set brace=0 --out '" + pic + "'", "sidenext");
        ASSERT_EQ(next.code, 0) << next.err;
        double mn = 0;
        unsigned kmin = 0;
        ASSERT_TRUE(ReadExtreme(next.out, "min", mn, kmin)) << next.out;
        EXPECT_NEAR(mn, frame(1).min, 1e-12 * std::fabs(frame(1).min));
        EXPECT_EQ(kmin, frame(1).minKey);
        std::remove(copy.c_str());
    }

    // The side radios are offered only while an envelope is chosen, and not with both sides.
    struct Refusal {
        const char* label;
        std::string command;
    } const refusals[] = {
        {"a load case", "show 7301 --load DL --set side=1"},
        {"both sides drawn", "show 7302 --load ENV --set brace=0 --set minmax=1 --set side=1"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.label);
        const hostrun::RunResult run = hostrun::RunHost(r.command + " --out '" + pic + "'", "sidebad");
        EXPECT_NE(run.code, 0);
        EXPECT_NE(run.err.find("\"side\" is disabled"), std::string::npos) << run.err;
    }
    std::remove(pic.c_str());
}

}  // namespace
