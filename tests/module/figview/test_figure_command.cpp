// pvxhost figure ID: the base maps of the sample drawn alone and together, checked against the
// project read with sqlite3 (scripts/check_figure_dxf.py); pictures that are not blank; the
// member zoom; and the requests the command refuses.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "../ModuleTestSupport.h"

namespace {

const std::string kTmp = PVX_TEST_TMPDIR;
const std::string kSample = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

std::string Shell(const std::string& cmd) {
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[512];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    return out;
}

// "x0 y0 x1 y1" of the lit pixels of a picture, "None" for a black one.
std::string LitBox(const std::string& bmp) {
    return Shell("/usr/bin/python3 -c \"from PIL import Image; b=Image.open('" + bmp +
                 "').getbbox(); print(b and ' '.join(map(str, b)))\"");
}

std::string Tag(std::string types) {
    for (char& c : types)
        if (c == ',') c = '_';
    return types;
}

}  // namespace

TEST(FigureCommand, SampleBaseMapsMatchTheProject) {
    const char* rows[] = {"31", "32", "33", "41", "42", "43", "44", "45", "46", "47", "31,32,33,41,42,43,44,45,46,47"};
    for (const char* types : rows) {
        SCOPED_TRACE(types);
        const std::string base = kTmp + "/figview_" + Tag(types) + "_" + std::to_string(getpid());
        const moduletest::HostRun dxf = moduletest::RunHost(std::string("figure ") + types + " --out " + base + ".dxf", "figview_dxf");
        ASSERT_EQ(dxf.exitCode, 0) << dxf.err;
        const std::string check = Shell("/usr/bin/python3 " + std::string(PVX_SOURCE_DIR) +
                                        "/scripts/check_figure_dxf.py " + kSample + " " + base + ".dxf " + types +
                                        " 2>&1; echo rc=$?");
        EXPECT_NE(check.find("rc=0"), std::string::npos) << check;
        EXPECT_EQ(check.find("FAILED"), std::string::npos) << check;
        const moduletest::HostRun bmp = moduletest::RunHost(std::string("figure ") + types + " --size 800x600 --out " + base + ".bmp",
                                    "figview_bmp");
        ASSERT_EQ(bmp.exitCode, 0) << bmp.err;
        EXPECT_NE(LitBox(base + ".bmp"), "None\n") << "a blank picture";
        std::remove((base + ".dxf").c_str());
        std::remove((base + ".bmp").c_str());
    }
}

// The stepped footing 525 is 2 m wide (its bottom step); the zoom box is 20 % larger, 2.4 m,
// fitted into the 1200-pixel height of a 1600 x 1200 picture: the footing spans
// 1200 x 2 / 2.4 = 1000 pixels, centred: x 300 .. 1300, y 100 .. 1100.
TEST(FigureCommand, MemberZoomFramesTheFooting) {
    const std::string bmp = kTmp + "/figview_member_" + std::to_string(getpid()) + ".bmp";
    const moduletest::HostRun r = moduletest::RunHost("figure 41 --member 525 --out " + bmp, "figview_member");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ASSERT_EQ(std::sscanf(LitBox(bmp).c_str(), "%d %d %d %d", &x0, &y0, &x1, &y1), 4);
    EXPECT_NEAR(x1 - x0, 1000, 3);
    EXPECT_NEAR(y1 - y0, 1000, 3);
    EXPECT_NEAR(0.5 * (x0 + x1), 800, 3);
    EXPECT_NEAR(0.5 * (y0 + y1), 600, 3);
    std::remove(bmp.c_str());
}

TEST(FigureCommand, RefusedRequestsLeaveNoFile) {
    struct Row {
        const char* label;
        std::string args;  // before --out
        const char* ext;
        int exit;
        const char* says;
    } rows[] = {
        {"DWG is refused before drawing", "figure 41", "dwg", 2, "DWG"},
        {"DWG: a DXF is offered instead", "figure 41", "dwg", 2, "name the file .dxf"},
        {"an unknown ID", "figure 999", "bmp", 2, "unknown figure ID"},
        {"a size out of range", "figure 509 --size 0x0", "bmp", 2, "--size expects WIDTHxHEIGHT"},
        {"--member with a drawing", "figure 41 --member 525", "dxf", 2, "--member"},
        {"an unknown member", "figure 41 --member 9999", "bmp", 2, "no member"},
        {"a load case the figure has not", "figure 41 --load 0", "bmp", 2, "no load case"},
        {"a text the figure has not", "figure 41 --move A=1,2", "bmp", 2, "no movable text"},
        {"a malformed move", "figure 41 --move A=1", "bmp", 2, "TEXT=DX,DY"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string out = kTmp + "/figview_refused_" + std::to_string(getpid()) + "." + r.ext;
        std::remove(out.c_str());
        const moduletest::HostRun run = moduletest::RunHost(r.args + " --out " + out, "figview_refused");
        EXPECT_EQ(run.exitCode, r.exit) << run.err;
        EXPECT_NE(run.err.find(r.says), std::string::npos) << run.err;
        EXPECT_FALSE(Exists(out));
        const std::string dir = kTmp;
        EXPECT_EQ(Shell("ls -a " + dir + " | grep -c '^\\.figview_refused' || true"), "0\n") << "a temporary file";
    }
}

// Drawing a figure never writes the project (no --save, no move).
TEST(FigureCommand, ProjectUntouchedWithoutSave) {
    const std::string copy = kTmp + "/figview_project_" + std::to_string(getpid()) + ".pvxdb";
    ASSERT_EQ(std::system(("cp " + kSample + " " + copy).c_str()), 0);
    struct stat before {};
    ASSERT_EQ(stat(copy.c_str(), &before), 0);
    const std::string out = kTmp + "/figview_project_" + std::to_string(getpid()) + ".bmp";
    const moduletest::HostRun r = moduletest::RunHost("--db " + copy + " figure 41,45 --out " + out, "figview_project");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(std::system(("cmp -s " + kSample + " " + copy).c_str()), 0) << "the project file changed";
    std::remove(copy.c_str());
    std::remove(out.c_str());
}

// A title moved and saved on one sheet stays on that sheet: 302 draws its title where it was
// before the move on 132, and 132 its title 2 right and 1 down (model units at draw scale 1).
// Two check sheets drawn together keep their texts apart: 133's lines under 132's.
TEST(FigureCommand, MovedTitlesStayOnTheirSheetAndSheetsKeepApart) {
    const std::string base = kTmp + "/figview_title_" + std::to_string(getpid());
    ASSERT_EQ(std::system(("cp " + kSample + " " + base + ".pvxdb").c_str()), 0);
    // "x y" of the title (the only text of height 0.5, the title style) of a drawing.
    auto title = [&](const std::string& types, const std::string& more) {
        const moduletest::HostRun r = moduletest::RunHost("--db " + base + ".pvxdb figure " + types + more + " --out " + base + ".dxf", "figview_title");
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return Shell("/usr/bin/python3 -c \"import ezdxf; print(*[f'{t.dxf.insert[0]:.3f} {t.dxf.insert[1]:.3f}' for t in "
                     "ezdxf.readfile('" + base + ".dxf').modelspace().query('TEXT') if t.dxf.height == 0.5])\"");
    };
    const std::string before302 = title("302", ""), before132 = title("132", "");
    double x = 0, y = 0;
    ASSERT_EQ(std::sscanf(before132.c_str(), "%lf %lf", &x, &y), 2) << before132;
    title("132", " --move 地基承载力验算=2,-1 --save");
    EXPECT_EQ(title("302", ""), before302);
    char moved[64];
    std::snprintf(moved, sizeof moved, "%.3f %.3f\n", x + 2.0, y - 1.0);
    EXPECT_EQ(title("132", ""), moved);
    title("132,133", "");
    // Pairs of texts on one column less than a text height apart (the check lines are centred
    // on their footing, so texts that lie on each other share x).
    const std::string pairs = Shell(
        "/usr/bin/python3 -c \"import ezdxf, itertools; t=list(ezdxf.readfile('" + base +
        ".dxf').modelspace().query('TEXT')); print(len(t), sum(abs(a.dxf.insert[0]-b.dxf.insert[0])<1e-6 and "
        "abs(a.dxf.insert[1]-b.dxf.insert[1])<min(a.dxf.height,b.dxf.height) for a,b in itertools.combinations(t,2)))\"");
    EXPECT_EQ(pairs, "9 0\n");
    for (const char* ext : {".pvxdb", ".dxf"}) std::remove((base + ext).c_str());
}
