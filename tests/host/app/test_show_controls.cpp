// pvxhost show and render as a new user meets them: every box of a page changes the picture or is
// listed as having no effect, the defaults open on a load that has the result, and a refusal
// names what is missing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/host/app/HostRun.h"

namespace {

using namespace hostrun;

// The picture a command writes, as bytes; empty (with a failure) when it wrote none.
std::string Picture(const std::string& command, const std::string& tag) {
    const std::string pic = kTmp + "/ctl_" + tag + "_" + kPid + ".bmp";
    std::remove(pic.c_str());
    const RunResult r = RunHost(command + " --out '" + pic + "'", tag);
    EXPECT_EQ(r.code, 0) << command << "\n" << r.err;
    const std::string bytes = ReadFile(pic);
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
    for (const std::string& line : Lines(out)) {
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
    const RunResult list = RunHost("show 7308 --list-controls", "pstrslist");
    ASSERT_EQ(list.code, 0) << list.err;
    for (const char* name : {" tgirder ", " wall "}) EXPECT_NE(list.out.find(name), std::string::npos) << name;
    for (const char* name : {" column ", " onlytruss "}) EXPECT_EQ(list.out.find(name), std::string::npos) << name;

    // The sample's slabs carry no membrane force: each stress of the bottom face is the top
    // face's with the other sign (+-6M/t^2), so sigma-xx of the bottom has the top's extremes
    // swapped and negated.
    const std::string pic = kTmp + "/ctl_pstrs_" + kPid + ".bmp";
    const RunResult top = RunHost("show 7308 --set component=0 --out '" + pic + "'", "pstrstop");
    const RunResult bottom = RunHost("show 7308 --set component=0 --set surface=1 --out '" + pic + "'", "pstrsbot");
    std::remove(pic.c_str());
    double tmax = 0, tmin = 0, bmax = 0, bmin = 0;
    ASSERT_TRUE(ReadExtremes(top.out, tmax, tmin)) << top.out << top.err;
    ASSERT_TRUE(ReadExtremes(bottom.out, bmax, bmin)) << bottom.out << bottom.err;
    EXPECT_NE(tmax, -tmin) << "the top face alone is not symmetric";
    EXPECT_DOUBLE_EQ(bmax, -tmin);
    EXPECT_DOUBLE_EQ(bmin, -tmax);

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
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.show);
        const std::string a = Picture(r.show, "onepicshow");
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == Picture(r.render, "onepicrender")) << "the pictures differ";
    }
    const std::string pic = kTmp + "/ctl_shown_" + kPid + ".bmp";
    const RunResult r = RunHost("show 7301 --set display=1 --out '" + pic + "'", "shownpage");
    std::remove(pic.c_str());
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("result 7301 on the page CPVXBarBSfd"), std::string::npos) << r.out;
}

}  // namespace
