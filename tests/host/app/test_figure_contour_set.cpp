// pvxhost figure --contour-set: the contour dialog of the settlement sheet answered from the
// command line. Each key is checked on the DXF it writes against the default drawing: layer 111
// holds the shaded map, layer 110 the strip lines, their labels and the legend (one text per
// level, one for the lowest band's lower edge and two title lines); wrong requests end with
// status 2.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "tests/host/app/HostRun.h"

namespace {

struct Drawing {
    std::map<std::string, int> entities;  // "layer type" -> count
    std::set<std::string> texts110;       // distinct texts of layer 110
    int Count(const std::string& layerType) const {
        auto it = entities.find(layerType);
        return it == entities.end() ? 0 : it->second;
    }
};

// The entities of a DXF read as group code / value pairs (0 starts an entity, 8 its layer, 1 its text).
Drawing Read(const std::string& path) {
    Drawing d;
    std::istringstream in(hostrun::ReadFile(path));
    std::string code, value, type, layer, text;
    auto flush = [&] {
        if (!type.empty() && !layer.empty()) ++d.entities[layer + " " + type];
        if (layer == "L110" && type == "TEXT") d.texts110.insert(text);
        type.clear(), layer.clear(), text.clear();
    };
    bool inEntities = false;
    while (std::getline(in, code) && std::getline(in, value)) {
        if (!value.empty() && value.back() == '\r') value.pop_back();
        const int c = std::stoi(code);
        inEntities = inEntities || (c == 2 && value == "ENTITIES");
        if (!inEntities) continue;
        if (c == 0) flush(), type = value == "ENDSEC" ? "" : value, inEntities = value != "ENDSEC";
        if (c == 8) layer = value;
        if (c == 1) text = value;
    }
    flush();
    return d;
}

hostrun::RunResult DrawFigure(const std::string& sets, const std::string& out, int figure = 600) {
    return hostrun::RunHost("--quiet --db " + hostrun::SamplePath() + " figure " + std::to_string(figure) + " " + sets +
                                " --out " + out,
                            "contour_set");
}

}  // namespace

TEST(PvxHostFigureContourSet, EachKeyChangesTheDrawingOrSaysWhy) {
    const std::string dir = hostrun::kTmp + "/contour_set_" + hostrun::kPid;
    std::system(("mkdir -p " + dir).c_str());
    ASSERT_EQ(DrawFigure("", dir + "/default.dxf").code, 0);
    const Drawing base = Read(dir + "/default.dxf");
    ASSERT_GT(base.Count("L111 POLYLINE") + base.Count("L111 SOLID"), 0);
    const int baseTexts = base.Count("L110 TEXT");
    struct Row {
        const char* sets;
        int code;
        const char* message;                   // in the messages; empty: none expected
        std::function<void(const Drawing&)> check;
    };
    const Row rows[] = {
        {"--contour-set render=0", 0, "",
         [](const Drawing& d) { EXPECT_EQ(d.Count("L111 POLYLINE") + d.Count("L111 SOLID"), 0); }},
        // Fixed levels: the legend and the labels show those three values, besides the legend's
        // two title lines and its lowest band's lower edge (the least settlement, below -40).
        {"--contour-set levels=-40,-30,-20", 0, "",
         [](const Drawing& d) {
             EXPECT_EQ(d.texts110.size(), 6u);
             for (const char* level : {"-40.00", "-30.00", "-20.00"}) EXPECT_EQ(d.texts110.count(level), 1u) << level;
             int least = 0;
             for (const std::string& t : d.texts110)
                 if (t[0] == '-' && std::stod(t) < -40.0) ++least;
             EXPECT_EQ(least, 1);
         }},
        {"--contour-set strips=3", 0, "", [](const Drawing& d) { EXPECT_EQ(d.texts110.size(), 6u); }},
        // Labels outside the raft and footings too: more labels than inside alone.
        {"--contour-set labelsinside=0", 0, "",
         [baseTexts](const Drawing& d) { EXPECT_GT(d.Count("L110 TEXT"), baseTexts); }},
        // Only the main lines (every fifth level, so the first) labelled: fewer labels.
        {"--contour-set mainweight=200", 0, "no effect in a DXF",
         [&base](const Drawing& d) { EXPECT_EQ(d.entities, base.entities); }},
        {"--contour-set bogus=1", 2, "no control \"bogus\"", nullptr},
        {"--contour-set strips=abc", 2, "strips", nullptr},
        {"--contour-set render=2", 2, "check box", nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.sets);
        const std::string out = dir + "/set.dxf";
        std::remove(out.c_str());
        const hostrun::RunResult res = DrawFigure(r.sets, out);
        EXPECT_EQ(res.code, r.code) << res.err;
        if (*r.message) {
            EXPECT_NE(res.err.find(r.message), std::string::npos) << res.err;
        }
        if (r.check) r.check(Read(out));
    }
    // A sheet not drawn as contours refuses the settings.
    const hostrun::RunResult res = DrawFigure("--contour-set strips=3", dir + "/601.dxf", 601);
    EXPECT_EQ(res.code, 2);
    EXPECT_NE(res.err.find("not drawn as contours"), std::string::npos) << res.err;
    std::system(("rm -rf " + dir).c_str());
}
