// --storey and --member-keys across the drawing commands on the sample (storeys 1, 2 and 3 at
// 3.6, 7.2 and 10.8 m; 245 members: 32 in the foundation, 65, 83 and 65 above, counted with
// sqlite3 by the rule of docs/DATABASE.md): what each command says it shows, what it refuses,
// that a storey's picture is not the whole model's, that its labels do not lie on each other or
// outside the picture, and that a legend carries nothing of another drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests/host/app/HostRun.h"

namespace {

// Texts of a metafile (EMR_EXTTEXTOUTW bounds) and how many pairs share more than a quarter of
// the smaller box (bRuns: or stand on one line, sharing over half the smaller height, less than
// half of it apart); outside: texts not wholly in the picture's frame; all: the texts' UTF-8;
// onMarks: texts sharing more than a twentieth of their box with a support marker (a polygon
// filled light yellow, 255,255,128), -1 without markers.
void CountOverlaps(const std::string& emf, int& texts, int& pairs, bool bRuns = false, int* outside = nullptr,
                   std::string* all = nullptr, int* onMarks = nullptr) {
    const std::string b = hostrun::ReadFile(emf);
    std::vector<std::array<int32_t, 4>> boxes, marks;
    std::array<int32_t, 4> frame{};
    std::map<uint32_t, uint32_t> brushes, escapements;  // object index: colour, a font's turn
    uint32_t brush = 0, turn = 0;
    std::vector<bool> turned;  // a text's font is turned: its lines never run together by level boxes
    for (size_t i = 0; i + 8 <= b.size();) {
        uint32_t type = 0, size = 0, arg[3] = {};
        std::memcpy(&type, b.data() + i, 4);
        std::memcpy(&size, b.data() + i + 4, 4);
        if (i + 20 <= b.size()) std::memcpy(arg, b.data() + i + 8, 12);
        if (type == 39) brushes[arg[0]] = arg[1] == 0 ? arg[2] : 0;  // EMR_CREATEBRUSHINDIRECT: solid ones
        if (type == 82 && i + 24 <= b.size()) std::memcpy(&escapements[arg[0]], b.data() + i + 20, 4);
        if (type == 37) brush = brushes.count(arg[0]) ? brushes[arg[0]] : brush;  // EMR_SELECTOBJECT
        if (type == 37 && escapements.count(arg[0])) turn = escapements[arg[0]] % 1800;
        std::array<int32_t, 4> r{};
        if ((type == 84 || type == 1 || type == 86 || type == 3) && i + 24 <= b.size()) std::memcpy(r.data(), b.data() + i + 8, 16);
        if ((type == 86 || type == 3) && brush == 0x80FFFF) marks.push_back(r);
        if (type == 1) frame = r;
        if (type == 84 && r[2] > r[0] && r[3] > r[1]) boxes.push_back(r), turned.push_back(turn != 0);
        if (type == 84 && outside && (r[0] < frame[0] || r[1] < frame[1] || r[2] > frame[2] + 1 || r[3] > frame[3] + 1))
            ++*outside;
        for (uint32_t n = 0, off = 0, k = 0; all && type == 84 && i + 52 <= b.size() && k < 1; ++k) {
            std::memcpy(&n, b.data() + i + 44, 4);
            std::memcpy(&off, b.data() + i + 48, 4);
            for (uint32_t c = 0; c < n && i + off + 2 * c + 2 <= b.size(); ++c) {
                const unsigned u = uint8_t(b[i + off + 2 * c]) | uint8_t(b[i + off + 2 * c + 1]) << 8;
                if (u < 0x80) *all += char(u);
                else if (u < 0x800) *all += {char(0xC0 | u >> 6), char(0x80 | (u & 0x3F))};
                else *all += {char(0xE0 | u >> 12), char(0x80 | (u >> 6 & 0x3F)), char(0x80 | (u & 0x3F))};
            }
            *all += '\n';
        }
        if (size == 0) break;
        i += size;
    }
    texts = static_cast<int>(boxes.size());
    if (onMarks && marks.empty()) *onMarks = -1;  // no marker found: nothing was checked
    for (const auto& t : boxes)
        if (onMarks && std::any_of(marks.begin(), marks.end(), [&t](const std::array<int32_t, 4>& m) {
                const double w = std::min(t[2], m[2] + 1) - std::max(t[0], m[0]);
                const double h = std::min(t[3], m[3] + 1) - std::max(t[1], m[1]);
                return w > 0 && h > 0 && 20 * w * h > double(t[2] - t[0]) * (t[3] - t[1]);
            }))
            ++*onMarks;
    pairs = 0;
    auto area = [](const std::array<int32_t, 4>& r) { return double(r[2] - r[0]) * (r[3] - r[1]); };
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const auto &p = boxes[i], &q = boxes[j];
            const double w = std::min(p[2], q[2]) - std::max(p[0], q[0]), h = std::min(p[3], q[3]) - std::max(p[1], q[1]);
            // A text's height is its box's smaller side, turned texts too.
            const double hs = std::min({p[3] - p[1], q[3] - q[1], p[2] - p[0], q[2] - q[0]});
            if ((w > 0 && h > 0 && w * h > 0.25 * std::min(area(p), area(q))) ||
                (bRuns && !turned[i] && !turned[j] && h > 0.5 * hs && w > -0.5 * hs))
                ++pairs;
        }
}

TEST(StoreyOption, AcrossTheDrawingCommands) {
    const std::string db = "--db '" + hostrun::SamplePath() + "' ";
    const std::string out = hostrun::kTmp + "/storey_" + hostrun::kPid;
    // Walls and floors meshed into plates on supports without foundation members.
    const std::string walls = "--db '" + out + "_walls.pvxdb' ";
    ASSERT_EQ(hostrun::RunHost("make-sample --wall-plates 1 --out '" + out + "_walls.pvxdb'", "storey_walls").code, 0);
    struct Row {
        const char* label;
        std::string args;  // without --out
        const char* ext;   // of --out: "bmp", "emf", "avi"; "" none
        int code;
        const char* says;  // in stdout (status 0) or stderr
        bool bDiffers;     // a BMP that must differ from the whole model's picture
        const char* other = "";  // an EMF row: the part whose texts must differ from this one's
        const char* lacks = nullptr;  // a text the metafile must not hold
        bool bApart = false;  // at the --size it names, no pair of its texts crowds (one per 50)
        bool bRuns = false;   // at the size taken, no pair of its texts runs together either (one per 50)
        bool bOffMarks = false;  // no number stands on a support marker
    } rows[] = {
        {"info lists the storeys", "info --verbose", "", 0, "Storey 2: level 7.2 m, 83 members", false},
        {"render, one storey", "render --mode 7 --load DL --storey 3", "bmp", 0, "storey 3 at 10.8 m (65 of 245 members)", true},
        {"render, members", "render --mode 7 --load DL --member-keys 315,316", "bmp", 0, "members 315,316 (2 of 245 members)", true},
        {"export, a range", "export --storey 1-2 --view plan", "emf", 0, "storeys 1-2 at 3.6 m to 7.2 m (148 of 245", false},
        {"show 7301 in plan: end-on columns, shared ends", "show 7301 --load DL --set values=1 --view plan --storey 2",
         "emf", 0, "; grown from 1024x768, where", false, "", nullptr, false, true},
        {"a crowded plan grows", "export --mode 0 --component FZ --view plan --storey 0", "emf", 0,
         "grown from 1024x768", false, "", nullptr, false, true},
        {"no larger than 4096", "design 21 --view iso", "emf", 0, "x3071, iso view", false},
        {"a shared cut value once", "show 7204 --cut 0,5,30,5 --set cut=1", "emf", 0, "Wrote", false, "", nullptr, false,
         true},
        {"show 7302 in plan", "show 7302 --load DL --set values=1 --view plan --storey 3", "emf", 0, "storey 3 at 10.8 m", false},
        {"design 21, the engine's list", "design 21 --storey 1", "emf", 0,
         "labels of 20 columns, 31 beams, 0 wall beams, 1 walls", false, "", nullptr, false, true},
        {"design 21, turned lines apart", "design 21 --storey 3", "emf", 0, "storey 3 at 10.8 m", false, "", nullptr,
         false, true},
        {"design 28", "design 28 --storey 2", "emf", 0, "labels of 22 columns", false, "", nullptr, false, true},
        {"design 42, the host's base list", "design 42 --load DL --storey 2", "bmp", 0, "of 2 columns standing on", false},
        {"design 42 names its load", "design 42 --load LL --storey 2", "bmp", 0,
         "design figure 42 (base-column forces), storey 2 at 7.2 m (83 of 245 members); load LL\n", false},
        {"render names what it draws", "render --mode 7 --load DL --component MY --storey 3", "bmp", 0,
         "(65 of 245 members); mode 7 (frame-force-diagram), load DL, component MY, no values\n", false},
        {"show names what the page draws", "show 7301 --load LL --set values=1 --storey 1", "bmp", 0,
         "; mode 6 (frame-force-contour), load LL, component MY, values written", false},
        {"design 35, the foundation", "design 35 --storey 0", "emf", 0, "of 5 foundation beams", false, "", nullptr,
         false, true},
        {"design 35, no foundation beam, no legend", "design 35 --storey 1", "emf", 0, "no foundation beam", false, "", "弯矩"},
        {"design 36, no foundation beam, no legend", "design 36 --storey 3", "emf", 0, "no foundation beam", false, "", "kN"},
        {"design 23, its caption", "design 23 --storey 2", "emf", 0, "bands on either side", false, "", "钢构件内力图"},
        {"no crack widths, no member of the displacements", "export --mode 18", "emf", 0, "Wrote", false, "", "构件:"},
        {"plate forces of a storey inside the picture", "export --mode 10 --option numbers=1 --view plan --storey 1",
         "emf", 0, "storey 1", false},
        {"plate stresses of a storey inside the picture", "export --mode 11 --option numbers=1 --view plan --storey 2",
         "emf", 0, "storey 2", false, "", nullptr, false, true},
        {"slab forces of the raft apart", "export --mode 16 --option numbers=1 --view plan --storey 0", "emf", 0,
         "storey 0", false, "", nullptr, false, true},
        {"raft reactions grow until they stand apart", "export --mode 70 --view plan", "emf", 0, "grown from 1024x768",
         false, "", nullptr, false, true},
        {"animate", "animate 7301 --load DL --frames 3 --storey 2", "avi", 0, "storey 2 at 7.2 m", false},
        // Node, plate and slab values: each storey numbers its own, one per plan point.
        {"mode 0, the foundation, numbers beside their markers",
         "export --mode 0 --load DL --component FZ --option numbers=1 --view plan --storey 0", "emf", 0,
         "storey 0 (foundation)", false, "", nullptr, false, true, true},
        {"mode 0 elsewhere", "render --mode 0 --storey 2", "bmp", 1, "lives at the foundation only", false},
        {"mode 1", "export --mode 1 --view plan --option numbers=1 --storey 2", "emf", 0, "storey 2", false,
         "--storey 3", nullptr, false, true},
        {"mode 2", "export --mode 2 --view plan --option numbers=1 --storey 2", "emf", 0, "storey 2", false, "--storey 1"},
        {"mode 4", "export --mode 4 --view plan --option numbers=1 --storey 2", "emf", 0, "storey 2", false, "--storey 3"},
        {"mode 19", "export --mode 19 --view plan --option numbers=1 --storey 1", "emf", 0, "storey 1", false, "--storey 2"},
        {"mode 63", "export --mode 63 --view plan --option numbers=1 --storey 2", "emf", 0, "storey 2", false, "--storey 1"},
        {"mode 69 elsewhere", "render --mode 69 --storey 1", "bmp", 1, "--storey 0 shows it", false},
        {"mode 70 elsewhere", "render --mode 70 --storey 3", "bmp", 1, "lives at the foundation only", false},
        // Storey 0 numbers each pile's head; its tip below (REAC: DL FZ 293.541 at node 288, WX FX
        // -6.48 at every tip) was left out without a word, and WX refused as having no results.
        {"storey 0 names the supports below", "render --mode 0 --load DL --storey 0", "bmp", 0,
         "leave out 20 supports below others at their plan points (a pile's tip under its head); their FZ: max "
         "293.541 at node 288", false},
        {"WX at storey 0: the tips carry it", "render --mode 0 --load WX --component FX --storey 0", "bmp", 1,
         "their FX: max -6.48 at node 282, min -6.48 at node 282, which carry it: without --storey", false},
        // The frame force extremes leave out the piles' (DL N down to -293.541 in member 352).
        {"mode 7 names the piles", "render --mode 7 --load DL --component N", "bmp", 0,
         "leave out 20 piles (type 403) and 1 tie (type 200), drawn without a diagram; their N: max 0 at member 412, "
         "min -293.541 at member 352", false},
        {"mode 10", "export --mode 10 --view plan --option numbers=1 --storey 3", "emf", 0, "storey 3", false, "--storey 0"},
        {"mode 6, end values at shared nodes", "export --mode 6 --view plan --option numbers=1 --storey 1", "emf", 0,
         "storey 1", false, "", nullptr, false, true},
        {"mode 7 at the size given, apart at the size named",
         "export --mode 7 --view plan --option numbers=1 --storey 2 --size 1024x768", "emf", 0,
         "stand apart at --size", false, "", nullptr, true},
        {"mode 22, a side's two values", "export --mode 22 --view plan --option numbers=1 --storey 1", "emf", 0,
         "storey 1", false, "", nullptr, false, true},
        // Only the storey's walls are numbered: -67.500 is a wall's of storey 2.
        {"mode 9, the storey's walls", "export --mode 9 --option numbers=1 --view plan --storey 1", "emf", 0, "storey 1",
         false, "", "-67.500\n"},
        {"mode 9, a combination", "render --mode 9 --load 1.3DL+1.5LL --component MY", "bmp", 0, "max", false},
        {"mode 8, a combination", "render --mode 8 --load 1.3DL+1.5LL --component N", "bmp", 0, "max", false},
        // Storey 1's floor sags 5 q L^4 / (384 D) = 4.05 mm mid-bay (q 5 kPa, L 6 m, D 20833 kN m)
        // over its walls' shortening of 0.01875 mm.
        {"mode 2, a floor's inner nodes", walls + "export --mode 2 --load DL --component DZ --option numbers=1 --view plan --storey 1",
         "emf", 0, "min -4.06875", false},
        // A storey's wall plates, seen edge-on: one value where their centres meet.
        {"mode 11, a storey's wall plates", walls + "export --mode 11 --load DL --option numbers=1 --view plan --storey 1",
         "emf", 0, "storey 1", false, "--storey 2", nullptr, false, true},
        {"mode 0, supports without a foundation", walls + "render --mode 0 --storey 0", "bmp", 0, "storey 0 (foundation)", false},
        {"mode 0, a range from storey 0", walls + "render --mode 0 --storey 0-1", "bmp", 0, "storeys 0-1", false},
        {"mode 16 without the raft", "export --mode 16 --view plan --member-keys 253", "emf", 1, "found no results", false},
        {"a plan of every storey says so", "export --mode 2 --view plan --option numbers=1", "emf", 0,
         "the numbers of 4 storeys over each other; --storey N", false},
        {"show says so too", "show 7301 --load DL --set values=1 --view plan", "emf", 0,
         "the numbers of 4 storeys over each other; --storey N", false},
        {"an unknown storey is refused with the list", "render --storey 4", "bmp", 2,
         "no storey 4; its storeys: 0 (foundation), 1 at 3.6 m, 2 at 7.2 m, 3 at 10.8 m", false},
        {"a range backwards", "design 21 --storey 3-1", "emf", 2, "N not above M", false},
        {"an unknown member", "show 7301 --member-keys 253,99999", "bmp", 2, "no member 99999", false},
        {"a key of ten digits", "show 7301 --member-keys 253,4294967295", "bmp", 2, "no member 4294967295", false},
        {"not both", "export --storey 1 --member-keys 253", "emf", 2, "give one of them", false},
    };
    const hostrun::RunResult whole = hostrun::RunHost(db + "render --mode 7 --load DL --out '" + out + "_whole.bmp'", "storey_whole");
    ASSERT_EQ(whole.code, 0) << whole.err;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string file = out + "." + r.ext;
        const std::string base = r.args.rfind("--db", 0) == 0 ? "" : db;
        const hostrun::RunResult res = hostrun::RunHost(base + r.args + (*r.ext ? " --out '" + file + "'" : std::string()), "storey");
        ASSERT_EQ(res.code, r.code) << res.out << res.err;
        EXPECT_NE((r.code ? res.err : res.out).find(r.says), std::string::npos) << res.out << res.err;
        if (r.code) continue;
        // The size given is kept; without one no picture is larger than 4096 pixels either way.
        const size_t wrote = res.out.find("Wrote ");
        long w = 0, h = 0;
        if (wrote != std::string::npos)
            std::sscanf(res.out.c_str() + res.out.find_first_of("123456789", res.out.find(": ", wrote)), "%ldx%ld", &w,
                        &h);
        if (r.args.find("--size") != std::string::npos) {
            EXPECT_EQ(res.out.find("grown from"), std::string::npos) << res.out;
        }
        EXPECT_LE(std::max(w, h), 4096) << res.out;
        if (r.bDiffers) {
            EXPECT_NE(hostrun::ReadFile(file), hostrun::ReadFile(out + "_whole.bmp"));
        }
        if (std::string(r.ext) == "emf") {
            int texts = 0, pairs = 0, outside = 0, onMarks = 0;
            std::string mine;
            CountOverlaps(file, texts, pairs, r.bRuns, &outside, &mine, &onMarks);
            EXPECT_EQ(outside, 0) << "texts cut at the picture's edge";
            if (r.bOffMarks) {
                EXPECT_EQ(onMarks, 0) << texts << " texts";
            }
            if (r.lacks) {
                EXPECT_EQ(mine.find(r.lacks), std::string::npos) << mine;
            }
            if (*r.other) {
                std::string args = r.args, others;
                args.replace(args.find("--storey"), std::string::npos, r.other);
                ASSERT_EQ(hostrun::RunHost(base + args + " --out '" + out + "_other.emf'", "storey").code, 0) << args;
                int t = 0, p = 0;
                CountOverlaps(out + "_other.emf", t, p, false, nullptr, &others);
                EXPECT_NE(mine, others) << "the same texts with " << r.other;
                std::remove((out + "_other.emf").c_str());
            }
            // The whole model in plan stacks its storeys' numbers: the command says so instead.
            if ((r.args.find("--storey") != std::string::npos || r.args.find("--member-keys") != std::string::npos ||
                 r.bRuns) &&
                !r.bApart) {
                EXPECT_LE(pairs * 50, texts) << texts << " texts, " << pairs << " pairs over each other";
            }
        }
        if (r.bApart) {
            const size_t at = res.out.find("--size ");
            ASSERT_NE(at, std::string::npos) << res.out;
            const std::string size = res.out.substr(at + 7, res.out.find_first_not_of("0123456789x", at + 7) - at - 7);
            const std::string args = r.args.substr(0, r.args.find(" --size"));  // a size given stands last
            const hostrun::RunResult big = hostrun::RunHost(db + args + " --size " + size + " --out '" + file + "'", "storey_apart");
            ASSERT_EQ(big.code, 0) << big.err;
            int texts = 0, pairs = 0;
            CountOverlaps(file, texts, pairs, true);
            EXPECT_LE(pairs * 50, texts) << size << ": " << texts << " texts, " << pairs << " pairs crowded";
        }
        std::remove(file.c_str());
    }
    std::remove((out + "_whole.bmp").c_str());
    std::remove((out + "_walls.pvxdb").c_str());
}

}  // namespace
