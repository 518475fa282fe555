// pvxhost export: the host program writes the result view through the module's export.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "tests/module/export/ExportTestSupport.h"
#include "tests/platform/gdi_emf/EmfReader.h"

namespace {

std::string Pvxhost() { return std::string(PVX_BINARY_DIR) + "/bin/pvxhost"; }

// A value as the numbers write it with the model's three decimals.
std::string Fixed3(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return buf;
}

// The texts of a metafile with their reference points: ASCII, any other character as '?', the
// blanks around them trimmed; blank texts left out.
std::vector<std::pair<std::string, U_POINTL>> EmfTexts(const EmfFile& f) {
    std::vector<std::pair<std::string, U_POINTL>> out;
    for (const EmfRecord& r : f.OfType(U_EMR_EXTTEXTOUTW)) {
        const EmfText t = ReadText(f, r);
        std::string s;
        for (uint16_t u : t.units) s += u < 128 ? static_cast<char>(u) : '?';
        const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
        if (a != std::string::npos) out.emplace_back(s.substr(a, b - a + 1), t.reference);
    }
    return out;
}

}  // namespace

// Arguments the command refuses before drawing anything, and folders it cannot write to.
TEST(HostExport, RefusesBadArgumentsAndUnwritableFolders) {
    const struct {
        const char* label;
        std::string args;
        int code;
        const char* message;
    } rows[] = {
        {"unknown format", "--format gif --out " + TmpPath("x.gif"), 2, "--format expects emf or bmp, not \"gif\""},
        {"no format, and the name tells none", "--out " + TmpPath("x.txt"), 2, "cannot tell the format"},
        {"no output", "--format emf", 2, "--out FILE is required"},
        {"value missing", "--format", 2, "--format needs a value"},
        {"bad size", "--format bmp --size 10x10 --out " + TmpPath("x.bmp"), 2, "--size expects WIDTHxHEIGHT"},
        {"missing folder", "--format emf --out /nonexistent-pvx-folder/x.emf", 1, "does not exist"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        std::string out;
        EXPECT_EQ(r.code, RunCommand(Pvxhost() + " export " + r.args, out)) << out;
        EXPECT_NE(std::string::npos, out.find(r.message)) << out;
    }
}

// Both formats written from the sample project; a path the module cannot write is a failure.
TEST_F(ExportFixture, HostWritesEmfAndBmpOfTheSampleProject) {
    Open();
    const std::string emf = TmpPath("host.emf"), bmp = TmpPath("host.bmp");
    ::unlink(emf.c_str());
    ::unlink(bmp.c_str());
    std::string out;
    ASSERT_EQ(0, RunCommand(Pvxhost() + " export --format emf --view plan --size 320x240 --out " + emf, out)) << out;
    EmfFile f;
    ASSERT_TRUE(f.Load(emf)) << f.problem;
    size_t shapes = 0;
    for (uint32_t t : {U_EMR_POLYGON, U_EMR_POLYGON16, U_EMR_POLYPOLYGON, U_EMR_POLYPOLYGON16})
        shapes += f.OfType(t).size();
    EXPECT_GT(shapes, 10u) << "the sample building";

    ASSERT_EQ(0, RunCommand(Pvxhost() + " export --format bmp --size 320x240 --out " + bmp, out)) << out;
    int w = 0, h = 0;
    long differing = 0;
    ASSERT_TRUE(PilImageStats(bmp, w, h, differing));
    EXPECT_EQ(320, w);
    EXPECT_EQ(240, h);
    EXPECT_GT(differing, 320L * 240 / 50);

    // The folder is writable but the name is a folder: refused before anything is drawn.
    EXPECT_EQ(1, RunCommand(Pvxhost() + " export --format emf --out " + std::string(PVX_TEST_TMPDIR), out)) << out;
    EXPECT_NE(std::string::npos, out.find("it is a folder")) << out;
}

namespace {

// The resultant displacement (mm) of each node under the load case named, read from DISP rows
// (key = load << 32 | node).
std::vector<double> StoredResultants(const std::string& db, const char* load) {
    std::vector<double> out;
    sqlite3* h = nullptr;
    if (sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return out;
    sqlite3_stmt* st = nullptr;
    const char* sql = "SELECT DX, DY, DZ FROM DISP WHERE (id >> 32) = (SELECT key FROM PSTLD WHERE name = ?)";
    if (sqlite3_prepare_v2(h, sql, -1, &st, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(st, 1, load, -1, SQLITE_STATIC);
        while (sqlite3_step(st) == SQLITE_ROW) {
            const double x = sqlite3_column_double(st, 0), y = sqlite3_column_double(st, 1),
                         z = sqlite3_column_double(st, 2);
            out.push_back(std::sqrt(x * x + y * y + z * z));
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(h);
    return out;
}

// The texts of the picture's text records, spaces trimmed (ASCII only: the numbers).
std::vector<std::string> AsciiTexts(const EmfFile& f) {
    std::vector<std::string> out;
    for (const EmfRecord& r : f.OfType(U_EMR_EXTTEXTOUTW)) {
        std::string s;
        bool ascii = true;
        for (uint16_t u : ReadText(f, r).units) {
            ascii = ascii && u < 128;
            s += static_cast<char>(u);
        }
        const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
        if (ascii && a != std::string::npos) out.push_back(s.substr(a, b - a + 1));
    }
    return out;
}

}  // namespace

// The displacement numbers take the decimals (and the exponent form) asked for, and each is a
// node's resultant from the DISP rows of the case written in that form.
TEST(HostExport, DisplacementNumbersTakeTheDecimalsAskedFor) {
    const std::string db = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";
    const std::vector<double> stored = StoredResultants(db, "WX");
    ASSERT_FALSE(stored.empty()) << "DISP rows of WX in " << db;
    const struct {
        const char* label;
        const char* options;
        const char* format;  // how a node's value reads
        const char* largest; // the largest, 0.269568 mm (the sway of the roof under WX)
    } rows[] = {
        {"three decimals", "--option decimals=3", "%.3f", "0.270"},
        {"one decimal", "--option decimals=1", "%.1f", "0.3"},
        {"the exponent form", "--option decimals=2 --option exponent=1", "%.2e", "2.70e-01"},
        {"the model's displacement decimals by default", "", "%.3f", "0.270"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string emf = TmpPath("decimals.emf");
        ::unlink(emf.c_str());
        std::string out;
        ASSERT_EQ(0, RunCommand(Pvxhost() + " --db " + db + " export --format emf --view plan --mode 2 --load WX " +
                                    "--option numbers=1 --option legend=0 " + r.options + " --out " + emf,
                                out))
            << out;
        EmfFile f;
        ASSERT_TRUE(f.Load(emf)) << f.problem;
        std::set<std::string> expected;
        for (double v : stored) {
            char buf[32];
            std::snprintf(buf, sizeof buf, r.format, v);
            expected.insert(buf);
        }
        const std::vector<std::string> texts = AsciiTexts(f);
        EXPECT_GT(texts.size(), 50u);
        for (const std::string& t : texts) EXPECT_TRUE(expected.count(t)) << "\"" << t << "\" is no node's value";
        EXPECT_NE(std::find(texts.begin(), texts.end(), r.largest), texts.end());
    }
}

// The host's Kriging map lies beneath the values written on it: in the export every value text
// comes after the last filled polygon, and every settlement point's value is written.
TEST(HostExport, KrigingMapLiesBeneathTheValues) {
    const std::string db = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";
    int points = -1;  // settlement points: PCDSINK rows
    {
        sqlite3* h = nullptr;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(h, "SELECT COUNT(*) FROM PCDSINK", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            points = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        sqlite3_close(h);
    }
    ASSERT_GT(points, 0);
    const struct {
        const char* label;
        const char* args;
        int values;  // value texts expected, -1: some
    } rows[] = {
        {"settlement", "--mode 69 --option numbers=1", points},
        {"reactions as a contour", "--mode 0 --option contour=1 --option numbers=1", -1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string emf = TmpPath("kriging.emf");
        ::unlink(emf.c_str());
        std::string out;
        ASSERT_EQ(0, RunCommand(Pvxhost() + " --db " + db + " export --format emf --view plan --option legend=0 " +
                                    r.args + " --out " + emf,
                                out))
            << out;
        EmfFile f;
        ASSERT_TRUE(f.Load(emf)) << f.problem;
        size_t lastFill = 0, firstText = SIZE_MAX, texts = 0;
        for (size_t i = 0; i < f.records.size(); ++i) {
            const uint32_t t = f.records[i].type;
            if (t == U_EMR_POLYGON || t == U_EMR_POLYGON16 || t == U_EMR_POLYPOLYGON || t == U_EMR_POLYPOLYGON16)
                lastFill = i;
            if (t == U_EMR_EXTTEXTOUTW) {
                firstText = std::min(firstText, i);
                ++texts;
            }
        }
        ASSERT_GT(texts, 0u);
        EXPECT_LT(lastFill, firstText) << "a map polygon drawn over the values";
        if (r.values >= 0) {
            EXPECT_EQ(texts, static_cast<size_t>(r.values));
        }
    }
}

// The frame contour numbers of a member of several elements (the sample's arched beam 448) stand
// along the whole member: its two end values an eighth of the arc from either end, far apart,
// and its middle value between them. The values are its STRG row under DL: bending moment
// (component 4 of 6) at the start of segment 0, the end of segment 3 and the end of segment 7.
TEST(HostExport, FrameContourNumbersStandAlongACurvedMember) {
    const std::string db = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";
    std::vector<double> d;
    {
        sqlite3* h = nullptr;
        sqlite3_stmt* st = nullptr;
        const char* sql = "SELECT d FROM STRG WHERE id = ((SELECT key FROM PSTLD WHERE name = 'DL') << 32) + 448";
        if (sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(h, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
            d.resize(static_cast<size_t>(sqlite3_column_bytes(st, 0)) / sizeof(double));
            std::memcpy(d.data(), sqlite3_column_blob(st, 0), d.size() * sizeof(double));
        }
        sqlite3_finalize(st);
        sqlite3_close(h);
    }
    ASSERT_EQ(d.size(), 96u) << "8 segments x 2 ends x 6 components of member 448";
    const std::string iEnd = Fixed3(d[4]), middle = Fixed3(d[3 * 12 + 6 + 4]), jEnd = Fixed3(d[7 * 12 + 6 + 4]);
    ASSERT_EQ(iEnd, jEnd) << "the arch is symmetric";

    const std::string emf = TmpPath("curved.emf");
    ::unlink(emf.c_str());
    std::string out;
    ASSERT_EQ(0, RunCommand(Pvxhost() + " --db " + db + " export --format emf --view plan --size 1600x1200 --mode 6 " +
                                "--load DL --option numbers=1 --option legend=0 --out " + emf,
                            out))
        << out;
    EmfFile f;
    ASSERT_TRUE(f.Load(emf)) << f.problem;
    std::vector<U_POINTL> ends, mids;
    for (const auto& [text, at] : EmfTexts(f)) {
        if (text == iEnd) ends.push_back(at);
        if (text == middle) mids.push_back(at);
    }
    ASSERT_EQ(ends.size(), 2u);
    ASSERT_EQ(mids.size(), 1u);
    const long lo = std::min(ends[0].x, ends[1].x), hi = std::max(ends[0].x, ends[1].x);
    EXPECT_GT(hi - lo, 100) << "the end values pile up on the first element";
    EXPECT_GT(mids[0].x, lo);
    EXPECT_LT(mids[0].x, hi);
}

// The slab force on beams per member (mode 22) writes one number per outline side of the raft
// 430, at the side's middle: the member's SMNT row under DL holds three values per side (at 1/6,
// 1/2 and 5/6 of it), so side j writes value 3 j + 1 of the positive and of the negative list;
// the centre writes its two moments. The raft's outline runs (0,0), (24,0), (24,18), (0,18):
// the right and left sides' numbers stand far apart across the plan, as do the bottom and top
// ones.
TEST(HostExport, SlabForceOnBeamsWritesEachSidesMiddleMoment) {
    const std::string db = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";
    std::vector<double> pos, neg;
    double cx = 0, cy = 0;
    {
        sqlite3* h = nullptr;
        sqlite3_stmt* st = nullptr;
        const char* sql =
            "SELECT centre_x, centre_y, pos, neg FROM SMNT WHERE id = ((SELECT key FROM PSTLD WHERE name = 'DL') << 32) + 430";
        if (sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(h, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
            cx = sqlite3_column_double(st, 0);
            cy = sqlite3_column_double(st, 1);
            for (int c : {2, 3}) {
                std::vector<double>& v = c == 2 ? pos : neg;
                v.resize(static_cast<size_t>(sqlite3_column_bytes(st, c)) / sizeof(double));
                std::memcpy(v.data(), sqlite3_column_blob(st, c), v.size() * sizeof(double));
            }
        }
        sqlite3_finalize(st);
        sqlite3_close(h);
    }
    ASSERT_EQ(pos.size(), 12u) << "three per side of the four sides";
    ASSERT_EQ(neg.size(), 12u);
    const auto text = Fixed3;
    std::multiset<std::string> want = {text(cx), text(cy)};
    for (int j = 0; j < 4; ++j) {
        want.insert(text(pos[static_cast<size_t>(3 * j + 1)]));
        want.insert(text(neg[static_cast<size_t>(3 * j + 1)]));
    }

    const std::string emf = TmpPath("slabbeam.emf");
    ::unlink(emf.c_str());
    std::string out;
    ASSERT_EQ(0, RunCommand(Pvxhost() + " --db " + db + " export --format emf --view plan --size 1200x900 --mode 22 " +
                                "--load DL --option numbers=1 --option legend=0 --out " + emf,
                            out))
        << out;
    EmfFile f;
    ASSERT_TRUE(f.Load(emf)) << f.problem;
    std::multiset<std::string> got;
    std::map<std::string, std::vector<U_POINTL>> where;
    for (const auto& [s, at] : EmfTexts(f)) {
        got.insert(s);
        where[s].push_back(at);
    }
    EXPECT_EQ(got, want);
    // Right and left middles (value 4 and 10, equal on this symmetric raft) lie across the plan
    // in x; bottom and top middles (1 and 7) across it in y.
    const std::vector<U_POINTL>& across = where[text(pos[4])];
    ASSERT_EQ(across.size(), 2u);
    EXPECT_GT(std::labs(across[0].x - across[1].x), 300);
    const std::vector<U_POINTL>& along = where[text(pos[1])];
    ASSERT_EQ(along.size(), 2u);
    EXPECT_GT(std::labs(along[0].y - along[1].y), 200);

    // Its legend colours nothing: it lists the largest positive and the most negative side
    // moment ("正:", "负:", shown here as "?:"), each with its member, and no colour scale (an
    // engine never ranged would show -1 ... 1).
    ASSERT_EQ(0, RunCommand(Pvxhost() + " --db " + db + " export --format emf --view plan --size 1200x900 --mode 22 " +
                                "--load DL --option numbers=1 --out " + emf,
                            out))
        << out;
    ASSERT_TRUE(f.Load(emf)) << f.problem;
    std::multiset<std::string> legend;
    for (const auto& t : EmfTexts(f)) legend.insert(t.first);
    const double top = *std::max_element(pos.begin(), pos.end()), bottom = *std::min_element(neg.begin(), neg.end());
    EXPECT_EQ(legend.count("?:" + text(top)), 1u);
    EXPECT_EQ(legend.count("?:" + text(bottom)), 1u);
    EXPECT_EQ(legend.count("??:430"), 2u) << "the member of each";
    EXPECT_EQ(legend.count("-1.00000") + legend.count("1.00000"), 0u) << "no scale of an unranged engine";
}
