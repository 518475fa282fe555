// pvxhost show: the results the module's bars offer, the command line, and what it says about a
// result whose page the module does not have.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/host/app/HostRun.h"

namespace {

// A line of `show --list`: result, container, page and title, in that order.
struct Listed {
    std::string container, page, title;
};

std::map<int, Listed> ParseList(const std::string& out) {
    std::map<int, Listed> m;
    for (const std::string& line : hostrun::Lines(out)) {
        std::istringstream in(line);
        int id = 0;
        Listed l;
        if (!(in >> id >> l.container >> l.page >> l.title)) continue;
        m.emplace(id, l);  // the first container offering a result is the one that opens it
    }
    return m;
}

TEST(PvxHostShowTest, ListNamesEachResultWithItsContainerPageAndTitle) {
    const hostrun::RunResult r = hostrun::RunHost("show --list", "list");
    ASSERT_EQ(r.code, 0) << r.err;
    const std::map<int, Listed> m = ParseList(r.out);
    // Titles are the string table's texts of the containers' combo items; "-" where a result
    // has no item of its own.
    struct Row {
        int id;
        const char* container;
        const char* page;
        const char* title;
    } rows[] = {
        {7102, "CPVXBarContainerReac", "CPVXBarRContr", "基础反力"},
        {7101, "CPVXBarContainerReac", "CPVXBarReacf", "桩反力"},
        {7103, "CPVXBarContainerReac", "CPVXBarReacf", "支座反力"},
        {7201, "CPVXBarContainerSystem", "CPVXBarDeform", "变形"},
        {7202, "CPVXBarContainerSystem", "CPVXBarSetMnt", "沉降"},
        {7204, "CPVXBarContainerSystem", "CPVXBarDContr", "-"},
        {7205, "CPVXBarContainerSystem", "CPVXBarSrhdsp", "-"},
        {7203, "CPVXBarContainerSystem", "CPVXBarMdShp", "振型"},
        {7301, "CPVXBarContainerMember", "CPVXBarBForc", "梁内力"},
        {7302, "CPVXBarContainerMember", "CPVXBarBSfd", "-"},
        // Offered by the slab force bar too; the view's frame force command opens the member bar.
        {7303, "CPVXBarContainerMember", "CPVXBarSForc", "板内力"},
        {7304, "CPVXBarContainerMember", "CPVXBarSBForc", "梁上板内力"},
        {12201, "CPVXBarContainerSlabRbar", "CPVXBarSRbar", "-"},
        {7401, "CPVXBarContainerSlabDetail", "CPVXBarSWall", "板详细结果(墙)"},
        {7402, "CPVXBarContainerSlabDetail", "CPVXBarSStrip", "板带"},
        {7501, "CPVXBarContainerStory", "CPVXBarStrShrFrcRtio", "层剪力比"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        auto it = m.find(row.id);
        ASSERT_NE(it, m.end()) << r.out;
        EXPECT_EQ(it->second.container, row.container);
        EXPECT_EQ(it->second.page, row.page);
        EXPECT_EQ(it->second.title, row.title);
    }
}

TEST(PvxHostShowTest, CommandLineMistakesAreRefused) {
    const std::string out = "--out '" + hostrun::kTmp + "/show_" + hostrun::kPid + ".bmp'";
    struct Row {
        const char* label;
        std::string args;
        int code;
        const char* message;
    } rows[] = {
        {"no result", "show " + out, 2, "give the result id"},
        {"not a number", "show deform " + out, 2, "\"deform\" is no result id"},
        {"two results", "show 7201 7202 " + out, 2, "unexpected argument \"7202\""},
        {"no picture", "show 7201", 2, "--out FILE.bmp|FILE.emf is required"},
        {"a set without a value", "show 7201 --set type " + out, 2, "--set expects CONTROL=VALUE"},
        {"a result no bar offers", "show 7999 " + out, 2, "no result bar of the module offers result 7999"},
        {"a picture of another kind", "show 7201 --out '" + hostrun::kTmp + "/show.png'", 2, "png"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const hostrun::RunResult r = hostrun::RunHost(row.args, "showbad");
        EXPECT_EQ(r.code, row.code) << r.err;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << "stderr was: " << r.err;
    }
}

// A result whose page the module lacks: the bar opens, says which page is missing and writes
// nothing. The bar's own controls can be listed with the page's: the system bar's type radio on
// the displacement contour for 7204.
TEST(PvxHostShowTest, AResultWithoutItsPageSaysWhichPageIsMissing) {
    const hostrun::RunResult list = hostrun::RunHost("show --list", "listmissing");
    ASSERT_EQ(list.code, 0) << list.err;
    std::string missingId, missingPage;
    for (const std::string& line : hostrun::Lines(list.out)) {
        if (line.find("(page not built yet)") == std::string::npos) continue;
        std::istringstream in(line);
        std::string container;
        in >> missingId >> container >> missingPage;
        break;
    }
    if (missingId.empty()) GTEST_SKIP() << "every page of the bars is built";
    const std::string pic = hostrun::kTmp + "/show_missing_" + hostrun::kPid + ".bmp";
    const hostrun::RunResult r = hostrun::RunHost("show " + missingId + " --out '" + pic + "'", "showmissing");
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.err.find("its page " + missingPage + " is not built yet"), std::string::npos) << r.err;
    EXPECT_FALSE(std::ifstream(pic).good()) << "no picture";
}

TEST(PvxHostShowTest, ListControlsNamesTheBarsAndThePagesControls) {
    const hostrun::RunResult l = hostrun::RunHost("show 7204 --list-controls", "showcontrols");
    EXPECT_EQ(l.code, 0) << l.err;
    bool typeLine = false, cutLine = false;
    for (const std::string& line : hostrun::Lines(l.out)) {
        std::istringstream in(line);
        std::string id, name, kind1, kind2;
        in >> id >> name >> kind1 >> kind2;
        if (id == "10729") cutLine = name == "cut" && kind1 + " " + kind2 == "check box";
        if (id != "11431") continue;
        typeLine = true;
        EXPECT_EQ(name, "type");
        EXPECT_EQ(kind1 + " " + kind2, "radio group");
        EXPECT_EQ(line.substr(line.size() - 2), " 1") << "the displacement contour's button: " << line;
    }
    EXPECT_TRUE(typeLine) << l.out;
    EXPECT_TRUE(cutLine) << "the cut-section box of the page: " << l.out;
}

// The extremes lines ("max ..." and "min ...") a picture command prints after its picture.
std::vector<std::string> Extremes(const std::string& out) {
    std::vector<std::string> v;
    for (const std::string& line : hostrun::Lines(out))
        if (line.rfind("max ", 0) == 0 || line.rfind("min ", 0) == 0) v.push_back(line);
    return v;
}

// Through the reaction bar's pages, Apply draws what the plain render of the same display mode
// draws: the same extremes at the same nodes (members for the contour).
TEST(PvxHostShowTest, ReactionPagesDrawWhatTheRenderOfTheirModeDraws) {
    struct Row {
        const char* label;
        const char* show;
        const char* render;
    } rows[] = {
        {"pile reactions", "show 7101", "render --mode reactions"},
        {"reaction contour", "show 7102", "render --mode reaction-contour"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string pic = hostrun::kTmp + "/show_reac_" + hostrun::kPid + ".bmp";
        const hostrun::RunResult a = hostrun::RunHost(std::string(r.show) + " --out '" + pic + "'", "showreac");
        ASSERT_EQ(a.code, 0) << a.err;
        const hostrun::RunResult b = hostrun::RunHost(std::string(r.render) + " --out '" + pic + "'", "renderreac");
        ASSERT_EQ(b.code, 0) << b.err;
        const std::vector<std::string> ea = Extremes(a.out);
        EXPECT_EQ(ea.size(), 2u) << a.out;
        EXPECT_EQ(ea, Extremes(b.out));
        std::remove(pic.c_str());
    }
}

// An arrow factor outside -10..10, or no number at all, is refused with the page's message and
// status 1, and no picture is written.
TEST(PvxHostShowTest, ReactionPageRefusesABadArrowFactor) {
    for (const char* text : {"10.5", "-11", "abc"}) {
        SCOPED_TRACE(text);
        const std::string pic = hostrun::kTmp + "/show_refused_" + hostrun::kPid + ".bmp";
        const hostrun::RunResult r = hostrun::RunHost(std::string("show 7101 --set scale=") + text + " --out '" + pic + "'", "showbad");
        EXPECT_EQ(r.code, 1) << r.err;
        EXPECT_NE(r.err.find("比例系数无效(绝对值应不大于10)。"), std::string::npos) << r.err;
        EXPECT_FALSE(std::ifstream(pic).good()) << "no picture";
    }
    const std::string pic = hostrun::kTmp + "/show_edge_" + hostrun::kPid + ".bmp";
    const hostrun::RunResult ok = hostrun::RunHost("show 7101 --set scale=-10 --set node=288 --out '" + pic + "'", "showedge");
    EXPECT_EQ(ok.code, 0) << ok.err;
    // Node 288 carries the largest pile reaction of the sample, 293.541 kN upwards (see the extremes).
    EXPECT_NE(ok.err.find("NODE NUMBER=288"), std::string::npos) << ok.err;
    EXPECT_NE(ok.err.find("FZ=   2.93541E+002"), std::string::npos) << ok.err;
    std::remove(pic.c_str());
}

// Each page of the system and member bars draws through its Apply what the plain render of its
// display mode draws: the same extremes at the same nodes, points or members.
TEST(PvxHostShowTest, DeformationModeAndFramePagesDrawWhatTheRenderOfTheirModeDraws) {
    struct Row {
        const char* show;
        const char* render;
    } rows[] = {
        {"show 7201", "render --mode deformed-shape"},
        {"show 7204", "render --mode displacement-contour"},
        {"show 7202", "render --mode settlement"},
        {"show 7203", "render --mode mode-shape"},
        {"show 7203 --set mode=2", "render --mode mode-shape --load 2"},
        {"show 7301", "render --mode frame-force-contour"},
        {"show 7302", "render --mode frame-force-diagram"},
        {"show 7301 --set component=1", "render --mode frame-force-contour --component VZ"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.show);
        const std::string pic = hostrun::kTmp + "/show_page_" + hostrun::kPid + ".bmp";
        const hostrun::RunResult a = hostrun::RunHost(std::string(r.show) + " --out '" + pic + "'", "showpage");
        ASSERT_EQ(a.code, 0) << a.err;
        const hostrun::RunResult b = hostrun::RunHost(std::string(r.render) + " --out '" + pic + "'", "renderpage");
        ASSERT_EQ(b.code, 0) << b.err;
        const std::vector<std::string> ea = Extremes(a.out);
        EXPECT_EQ(ea.size(), 2u) << a.out;
        EXPECT_EQ(ea, Extremes(b.out));
        std::remove(pic.c_str());
    }
}

// The node query writes the node's displacement into the message window, with three-digit
// exponents; text that is no node reports nothing.
TEST(PvxHostShowTest, NodeQueryReportsTheNodesDisplacement) {
    const std::string pic = hostrun::kTmp + "/show_node_" + hostrun::kPid + ".bmp";
    // Node 311 carries the largest dead-load displacement of the sample, 12.9512 mm downwards
    // (see the extremes of the deformed shape).
    const hostrun::RunResult r = hostrun::RunHost("show 7205 --set node=311 --out '" + pic + "'", "shownode");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("节点号 311"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("DZ=-1.29512E+001  DXYZ=1.29512E+001"), std::string::npos) << r.err;
    const hostrun::RunResult bad = hostrun::RunHost("show 7205 --set node=abc --out '" + pic + "'", "shownode");
    ASSERT_EQ(bad.code, 0) << bad.err;
    EXPECT_EQ(bad.err.find("节点号"), std::string::npos) << bad.err;
    std::remove(pic.c_str());
}

}  // namespace

namespace {

// The details dialogs of a page through --details: values they refuse keep the dialog open with
// its message (status 1, no picture); accepted values draw.
TEST(PvxHostShowTest, DetailsDialogsTakeTheirValuesOrRefuseThem) {
    struct Row {
        const char* label;
        std::string args;
        int code;
        const char* message;  // in stderr; null: none expected
    } rows[] = {
        {"decimals and exponent", "show 7204 --set values=1 --details values-more --detail-set decimals=2 --detail-set exponent=1", 0, nullptr},
        {"angle", "show 7204 --details values-more --detail-set direction=1 --detail-set angle=90", 0, nullptr},
        {"no angle on the frame pages", "show 7301 --details values-more --detail-set direction=1", 1, "is disabled"},
        {"only min and max", "show 7202 --details values-more --detail-set only-minmax=1 --detail-set minmax-mode=2 --detail-set ratio=50", 0, nullptr},
        {"display scale", "show 7201 --details deformed-more --detail-set scale=20", 0, nullptr},
        {"decimals 16", "show 7204 --details values-more --detail-set decimals=16", 1, "between 0 and 15"},
        {"ratio 101", "show 7204 --details values-more --detail-set only-minmax=1 --detail-set ratio=101", 1, "between 0 and 100"},
        {"decimals no number", "show 7204 --details values-more --detail-set decimals=two", 1, "Please enter an integer"},
        {"no such control", "show 7204 --details values-more --detail-set colour=1", 2, "has no control \"colour\""},
        {"no such button", "show 7204 --details nothing-more", 2, "has no button \"nothing-more\""},
        {"detail without details", "show 7204 --detail-set decimals=2", 2, "give --details BUTTON"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string pic = hostrun::kTmp + "/show_details_" + hostrun::kPid + ".bmp";
        const hostrun::RunResult a = hostrun::RunHost(r.args + " --out '" + pic + "'", "showdetails");
        EXPECT_EQ(a.code, r.code) << a.err;
        if (r.message) {
            EXPECT_NE(a.err.find(r.message), std::string::npos) << a.err;
        }
        EXPECT_EQ(std::ifstream(pic).good(), r.code == 0);
        std::remove(pic.c_str());
    }
}

// The slab pages draw through their Apply what the plain render of their mode draws with the
// same settings: the same extremes at the same slab elements (for mode 16 not the node where the
// deformation the view draws on is largest).
TEST(PvxHostShowTest, SlabPagesDrawWhatTheRenderOfTheirModeDraws) {
    struct Row {
        const char* show;
        const char* render;
        size_t lines;  // extremes lines: none for the reinforcement per member, which has no single range
    } rows[] = {
        {"show 7303 --load DL --set unit=1", "render --mode slab-force --load DL --option unit=1", 2},
        {"show 7303 --load LL --set unit=1 --set component=3",
         "render --mode slab-force --load LL --option unit=1 --component VXX", 2},
        {"show 7303 --load DL --set unit=1 --set negative=0",
         "render --mode slab-force --load DL --option unit=1 --option negative=0", 2},
        {"show 7303 --load DL", "render --mode slab-force --load DL --option unit=0", 2},
        {"show 12201 --load ENV", "render --mode slab-rebar --load ENV", 0},
        {"show 7401 --set width=2", "render --mode slab-wall --option wall-width=2", 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.show);
        const std::string pic = hostrun::kTmp + "/show_slabforce_" + hostrun::kPid + ".bmp";
        const hostrun::RunResult a = hostrun::RunHost(std::string(r.show) + " --out '" + pic + "'", "showslabforce");
        ASSERT_EQ(a.code, 0) << a.err;
        const hostrun::RunResult b = hostrun::RunHost(std::string(r.render) + " --out '" + pic + "'", "renderslabforce");
        ASSERT_EQ(b.code, 0) << b.err;
        const std::vector<std::string> ea = Extremes(a.out);
        EXPECT_EQ(ea.size(), r.lines) << a.out;
        EXPECT_EQ(ea, Extremes(b.out));
        std::remove(pic.c_str());
    }
}

// The slab pages through their bars: each shows its result and writes the picture; a cut width
// or a wall list the slab wall page cannot take, or a scale of the slab-beam page that is no
// number above 0, is refused with the page's message, status 1 and no picture.
TEST(PvxHostShowTest, SlabPagesShowTheirResultsAndRefuseBadValues) {
    struct Row {
        const char* label;
        const char* args;
        int code;
        const char* message;  // on stderr; null: none checked
    } rows[] = {
        {"slab forces per element", "show 7303 --load DL --set unit=1 --set component=3", 0, nullptr},
        {"rib beam forces", "show 7304 --set kind=1 --set fill=2 --set scale=2", 0, nullptr},
        {"slab rebar, bottom", "show 12201 --set unit=1 --set top=0", 0, nullptr},
        {"slab walls, 2 m cuts", "show 7401 --set width=2 --set component=1", 0, nullptr},
        {"slab walls, the user's", "show 7401 --set walls=1 --set list=9999", 1, "墙编号无效"},
        {"a cut of 0 m", "show 7401 --set width=0", 1, "宽度无效(应大于0且不大于100 m)。"},
        {"a cut of words", "show 7401 --set width=wide", 1, "宽度无效"},
        {"a scale below 0", "show 7304 --set kind=1 --set scale=-2", 1, "比例系数无效(应为大于0的数)。"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string pic = hostrun::kTmp + "/show_slab_" + hostrun::kPid + ".bmp";
        std::remove(pic.c_str());
        const hostrun::RunResult res = hostrun::RunHost(std::string(r.args) + " --out '" + pic + "'", "showslab");
        EXPECT_EQ(res.code, r.code) << res.err;
        if (r.message) {
            EXPECT_NE(res.err.find(r.message), std::string::npos) << res.err;
        }
        EXPECT_EQ(std::ifstream(pic).good(), r.code == 0);
        std::remove(pic.c_str());
    }
}

}  // namespace
