// The slab band sheets (509 steel, 508 moments) on a small project built in code, and on the
// sample through scripts/check_slab_band_figures.py. Expected values are worked out by hand from
// the rows each test adds.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../FigureTestSupport.h"
#include "../ModuleTestSupport.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDSlabBandFigures.h"
#include "module/figures/FigureText.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr COLORREF kRed = 0x0000FF, kGreen = 0x00FF00;

// Sections of one combination: start, middle, end, each (bottom, top, stirrups, 0, 0).
void AddSections(T_PDDSBBD_D& d, UINT comb, const double (&a)[3][3]) {
    d.aComb.Add(comb);
    for (const auto& s : a)
        for (double v : {s[0], s[1], s[2], 0.0, 0.0}) d.aAs.Add(v);
}

void AddMoments(T_PDDSBBD_D& d, const std::vector<double>& m) {
    d.nStation = static_cast<int>(m.size());
    for (double v : m)
        for (int i = 0; i < 6; ++i) d.aLoad.Add(i == 3 ? v : i == 1 ? 0.5 * v : 0.0);
}

// The design used by the bands below: combination 101 with moments 10 k at station k, 102 with
// 20 at every station; 101's end section overflows (123456).
T_PDDSBBD_D Design() {
    T_PDDSBBD_D d;
    AddSections(d, 101, {{100, 0, 5}, {0, 250.4, 6}, {123456, 7, 8}});
    AddSections(d, 102, {{150, 10, 1}, {20, 100, 2}, {30, 40, 3}});
    AddMoments(d, {0, 10, 20, 30, 40});
    AddMoments(d, {20, 20, 20, 20, 20});
    return d;
}

TEST(SlabBandRules, TextAngleFolds) {
    const struct {
        double in, out;
    } rows[] = {{200.0, 20.0}, {359.5, 0.0}, {359.0, 179.0}, {180.0, 0.0}, {179.5, -0.5},
                {179.0, 179.0}, {90.0, 90.0}, {0.0, 0.0}, {270.0, 90.0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.in);
        EXPECT_DOUBLE_EQ(CFVDSlabBandDesign_As::FoldTextAngle(r.in), r.out);
    }
}

TEST(SlabBandRules, DesignRecord) {
    const T_PDDSBBD_D d = Design();
    // A combination's own values; key 0 value by value the largest; an unknown key or section
    // nothing.
    const struct {
        const char* label;
        UINT key;
        int section;
        BOOL found;
        double a1, a2, a3;
    } rows[] = {
        {"101 start", 101, 0, TRUE, 100, 0, 5},  {"102 middle", 102, 1, TRUE, 20, 100, 2},
        {"0 end", 0, 2, TRUE, 123456, 40, 8},    {"0 middle", 0, 1, TRUE, 20, 250.4, 6},
        {"unknown key", 103, 0, FALSE, 0, 0, 0}, {"section 3", 101, 3, FALSE, 0, 0, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        S_BEAMREBARAS s;
        s.d[0] = -1.0;
        EXPECT_EQ(d.FindData(r.key, r.section, s), r.found);
        EXPECT_EQ(s.d[0], r.a1);
        EXPECT_EQ(s.d[1], r.a2);
        EXPECT_EQ(s.d[2], r.a3);
    }
    std::map<UINT, CHECK_LOAD_ARRAY> loads;
    d.GetLoadMap(loads);
    ASSERT_EQ(loads.size(), 2u);
    ASSERT_EQ(loads[101].GetSize(), 5);
    EXPECT_EQ(loads[101][3].d[3], 30.0);
    EXPECT_EQ(loads[101][3].d[1], 15.0);
    EXPECT_EQ(loads[102][0].d[3], 20.0);
    // Rows of the wrong size are refused by the reader and yield nothing.
    T_PDDSBBD_D bad = d;
    bad.aAs.RemoveAt(0);
    const char* column = nullptr;
    EXPECT_NE(bad.Validate(&column), "");
    EXPECT_STREQ(column, "areas");
    S_BEAMREBARAS s;
    EXPECT_FALSE(bad.FindData(101, 0, s));
    bad = d;
    bad.aLoad.RemoveAt(0);
    EXPECT_NE(bad.Validate(&column), "");
    EXPECT_STREQ(column, "loads");
    bad.GetLoadMap(loads);
    EXPECT_TRUE(loads.empty());
    EXPECT_EQ(d.Validate(&column), "");
}

// Foundation points 1 (0, 0), 2 (10, 0), 3 (0, 10), 4 (10, 10). Bands, all with Design() but 6:
//   1 edge band (10, 0) -> (0, 0)
//   2 mid band (5, 5) -> (5, 5.0005): shorter than 0.001, left out
//   3 an outline point missing (99): left out
//   4 mid band from (0, 20) at 200 degrees, length 10: read from its end, at 20 degrees
//   5 mid band from (0, 30) at 359.5 degrees, length 10: written at 0 degrees
//   6 edge band (0, 10) -> (10, 10) without design: outline only
class SlabBandSheetTest : public ::testing::Test {
protected:
    static T_POINT2D At(double x, double y, double deg, double len) {
        return T_POINT2D(x + len * std::cos(deg * kPi / 180.0), y + len * std::sin(deg * kPi / 180.0));
    }
    void SetUp() override {
        PostDBBuilder b;
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        for (UINT k : {101u, 102u}) {
            T_PLCOM_D c;
            c.Initialize();
            c.type = PLCOM_LINEAR;
            c.AddEntry(PLOAD_STATIC, 1, k == 101 ? 1.0 : 1.35);
            b.Add<DBT_PLCOM>(k, c);
            T_CKLG_D g;
            g.Initialize();
            g.number = static_cast<int>(k - 100);
            g.kind = LDGP_KIND_BASIC;
            g.designUse = 1;
            pvxdb::CopyText(g.sort, sizeof(g.sort), k == 101 ? "DL" : "1.35DL");
            b.Add<DBT_CKLG>(k, g);
        }
        const double ponts[4][2] = {{0, 0}, {10, 0}, {0, 10}, {10, 10}};
        for (UINT k = 1; k <= 4; ++k) b.Add<DBT_PONT>(k, T_PONT_D{ponts[k - 1][0], ponts[k - 1][1]});
        const T_POINT2D e4 = At(0, 20, 200.0, 10.0), e5 = At(0, 30, 359.5, 10.0);
        const struct {
            std::vector<UINT> ponts;
            int mid;
            double x1, y1, x2, y2;
            bool design;
        } bands[] = {
            {{2, 1}, 0, 0, 0, 0, 0, true},
            {{1, 2, 4, 3}, 1, 5, 5, 5, 5.0005, true},
            {{1, 99}, 0, 0, 0, 0, 0, true},
            {{1, 2}, 1, 0, 20, e4.x, e4.y, true},
            {{1, 2}, 1, 0, 30, e5.x, e5.y, true},
            {{3, 4}, 0, 0, 0, 0, 0, false},
        };
        UINT key = 1;
        for (const auto& r : bands) {
            T_PSBBD_D band;
            for (UINT p : r.ponts) band.aPont.Add(p);
            band.mid = r.mid;
            band.x1 = r.x1;
            band.y1 = r.y1;
            band.x2 = r.x2;
            band.y2 = r.y2;
            band.width = 1.5;
            b.Add<DBT_PSBBD>(key, band);
            if (r.design) b.Add<DBT_PDDSBBD>(key, Design());
            ++key;
        }
        b.Install(m_doc);
        m_saved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
        SetFigurePrecision(0);
    }
    void TearDown() override {
        CDBDoc::m_pDBDoc = m_saved;
        SetFigurePrecision(2);
    }
    // Ordinates at value scale 1000: value / 1000 x 1000 = value.
    static std::unique_ptr<CVdrawUtil> Draw(int type, UINT load) {
        std::unique_ptr<CFVDBase> fig;
        if (type == 509)
            fig = std::make_unique<CFVDSlabBandDesign_As>();
        else
            fig = std::make_unique<CFVDSlabBandForce_M>();
        return moduletest::DrawSheet(*fig, type, load, 1000.0);
    }
    static std::vector<const CvdFigure*> On(const CVdrawUtil& d, int layer, VdFigureKind kind) {
        return moduletest::FiguresOn(d, layer, kind);
    }
    CDBDoc m_doc;
    CDBDoc* m_saved = nullptr;
};

TEST_F(SlabBandSheetTest, OutlinesOfTheBandsDrawn) {
    // Bands 2 and 3 draw nothing; the others their outline as read (a mid band its line).
    const T_POINT2D e4 = At(0, 20, 200.0, 10.0), e5 = At(0, 30, 359.5, 10.0);
    const std::vector<std::vector<T_POINT2D>> want = {
        {{10, 0}, {0, 0}}, {{0, 20}, e4}, {{0, 30}, e5}, {{0, 10}, {10, 10}}};
    for (int type : {509, 508}) {
        SCOPED_TRACE(type);
        auto d = Draw(type, 101);
        const auto polys = On(*d, FVD_LAYER_BEAM, VdKindPolyLine);
        ASSERT_EQ(polys.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            ASSERT_EQ(polys[i]->m_points.size(), want[i].size()) << i;
            for (size_t k = 0; k < want[i].size(); ++k) {
                EXPECT_NEAR(polys[i]->m_points[k].x, want[i][k].x, 1e-12) << i << " " << k;
                EXPECT_NEAR(polys[i]->m_points[k].y, want[i][k].y, 1e-12) << i << " " << k;
            }
        }
    }
}

TEST_F(SlabBandSheetTest, SteelTexts) {
    // The text point is a third along the band read left to right: band 1 (0, 0) -> (10, 0);
    // band 4 from its end e4 to (0, 20), i.e. (0, 20) - 2/3 x 10 (cos 20, sin 20); band 5 from
    // (0, 30) to e5. Lines: bottom steel then top steel of start-middle-end, precision 0, read
    // along the text: bands 1 and 4 are stored right to left, so their end section comes first,
    // where the moment sheet draws the end's moment.
    const T_POINT2D p4(-20.0 / 3.0 * std::cos(20.0 * kPi / 180.0), 20.0 - 20.0 / 3.0 * std::sin(20.0 * kPi / 180.0));
    const T_POINT2D p5 = At(0, 30, 359.5, 10.0 / 3.0);
    const struct {
        const char* label;
        UINT load;
        std::vector<std::string> lines;  // two read forwards (band 5), two backwards (bands 1, 4)
        std::vector<COLORREF> colours;   // of a band's two lines
    } rows[] = {
        {"combination 101", 101, {"100-0-***", "0-250-7", "***-0-100", "7-250-0"}, {kRed, kGreen}},
        {"combination 102", 102, {"150-20-30", "10-100-40", "30-20-150", "40-100-10"}, {kGreen, kGreen}},
        {"most unfavourable", 0, {"150-20-***", "10-250-40", "***-20-150", "40-250-10"}, {kRed, kGreen}},
    };
    const T_POINT2D points[3] = {T_POINT2D(10.0 / 3.0, 0.0), p4, p5};
    const double angles[3] = {0.0, 20.0, 0.0};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        auto d = Draw(509, r.load);
        const auto texts = On(*d, FVD_LAYER_TEXT, VdKindText);
        ASSERT_EQ(texts.size(), 6u);
        for (int b = 0; b < 3; ++b) {
            const CvdFigure* t1 = texts[2 * b];
            const CvdFigure* t2 = texts[2 * b + 1];
            const size_t back = b < 2 ? 2 : 0;
            EXPECT_EQ(std::string(t1->m_text), r.lines[back]) << b;
            EXPECT_EQ(std::string(t2->m_text), r.lines[back + 1]) << b;
            EXPECT_NEAR(0.5 * (t1->m_points[0].x + t2->m_points[0].x), points[b].x, 1e-9) << b;
            EXPECT_NEAR(0.5 * (t1->m_points[0].y + t2->m_points[0].y), points[b].y, 1e-9) << b;
            EXPECT_NEAR(t1->m_angle, angles[b], 1e-9) << b;
            EXPECT_EQ(t1->m_hasColour ? t1->m_colour : 0, r.colours[0]) << b;
            EXPECT_EQ(t2->m_hasColour ? t2->m_colour : 0, r.colours[1]) << b;
        }
    }
}

TEST_F(SlabBandSheetTest, MomentDiagrams) {
    // Ordinate = value x 1000 / 1000 x (-1), to the left of the line read left to right, the
    // stations turned with a turned line. Band 1 reads (0, 0) -> (10, 0) from its end: 101's
    // moments 40..0, y = -40..0. Band 4 reads from e4 at 20 degrees, stations turned: vertex 0
    // is e4 + 40 (sin 20, -cos 20). Band 5 reads from its start: vertex 0 at (0, 30), vertex 4 at
    // e5 + 40 (sin 359.5, -cos 359.5). Key 0: largest max(10 k, 20), smallest min(10 k, 20).
    const T_POINT2D e4 = At(0, 20, 200.0, 10.0), e5 = At(0, 30, 359.5, 10.0);
    const double s20 = std::sin(20.0 * kPi / 180.0), c20 = std::cos(20.0 * kPi / 180.0);
    const double s5 = std::sin(359.5 * kPi / 180.0), c5 = std::cos(359.5 * kPi / 180.0);
    const struct {
        const char* label;
        UINT load;
        std::vector<std::vector<T_POINT2D>> ends;  // per curve: vertex 0 and vertex 4
        std::vector<std::string> texts;            // of the first band's curves
    } rows[] = {
        {"combination 101",
         101,
         {{{0, -40}, {10, 0}},
          {{e4.x + 40 * s20, e4.y - 40 * c20}, {0, 20}},
          {{0, 30}, {e5.x + 40 * s5, e5.y - 40 * c5}}},
         {" 40", "20", "0 "}},
        {"most unfavourable",
         0,
         {{{0, -40}, {10, -20}},
          {{0, -20}, {10, 0}},
          {{e4.x + 40 * s20, e4.y - 40 * c20}, {0 + 20 * s20, 20 - 20 * c20}},
          {{e4.x + 20 * s20, e4.y - 20 * c20}, {0, 20}},
          {{0 + 20 * s5, 30 - 20 * c5}, {e5.x + 40 * s5, e5.y - 40 * c5}},
          {{0, 30}, {e5.x + 20 * s5, e5.y - 20 * c5}}},
         {" 40", "20", "20 ", " 20", "20", "0 "}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        auto d = Draw(508, r.load);
        const auto polys = On(*d, FVD_LAYER_FORCE, VdKindPolyLine);
        const auto texts = On(*d, FVD_LAYER_TEXT, VdKindText);
        ASSERT_EQ(polys.size(), r.ends.size());
        ASSERT_EQ(texts.size(), 3 * r.ends.size());
        for (size_t c = 0; c < polys.size(); ++c) {
            ASSERT_EQ(polys[c]->m_points.size(), 5u) << c;
            for (int k = 0; k < 2; ++k) {
                EXPECT_NEAR(polys[c]->m_points[4 * k].x, r.ends[c][k].x, 1e-9) << c << " " << k;
                EXPECT_NEAR(polys[c]->m_points[4 * k].y, r.ends[c][k].y, 1e-9) << c << " " << k;
            }
        }
        for (size_t t = 0; t < r.texts.size(); ++t) EXPECT_EQ(std::string(texts[t]->m_text), r.texts[t]) << t;
    }
}

TEST_F(SlabBandSheetTest, BaseMapsAndLoadCases) {
    const struct {
        int type;
        EFigureType base;
        size_t cases;  // 0, 101, 102 on a sheet; none on a base-map number
    } rows[] = {{509, EFVDT_BaseMap_QSN_Sbbd_AS, 3}, {508, EFVDT_BaseMap_QSN_Sbbd_M, 3}, {50, EFVDT_NONE, 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.type);
        std::unique_ptr<CFVDBase> fig;
        if (r.type == 508)
            fig = std::make_unique<CFVDSlabBandForce_M>();
        else
            fig = std::make_unique<CFVDSlabBandDesign_As>();
        fig->SetType(static_cast<EFigureType>(r.type));
        std::list<EFigureType> maps = {EFVDT_BaseMap_QSN_AXIG};
        fig->ClearBaseMapList(maps);
        if (r.type != 50) {
            EXPECT_EQ(maps, std::list<EFigureType>{r.base});
        }
        std::map<UINT, CString> cases;
        fig->CollectLoadCases(cases);
        EXPECT_EQ(cases.size(), r.cases);
        if (r.cases) {
            EXPECT_TRUE(cases.count(0) && cases.count(101) && cases.count(102));
        }
    }
}

TEST(SampleSlabBands, MatchTheProject) {
    const std::string tmp = PVX_TEST_TMPDIR, sample = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";
    const struct {
        const char* type;
        const char* load;
        const char* scale;
    } rows[] = {{"509", "0", "1"},   {"509", "101", "1"},  {"508", "0", "100"},
                {"508", "103", "0"}, {"508", "101", "-50"}, {"508", "0", "auto"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.type) + " load " + r.load);
        const std::string base = tmp + "/figband_" + r.type + "_" + r.load + "_" + r.scale + "_" + std::to_string(getpid());
        std::string opts = std::string(" --load ") + r.load;
        if (std::string(r.type) == "508" && std::string(r.scale) != "auto") opts += std::string(" --set value-scale=") + r.scale;
        const moduletest::HostRun dxf =
            moduletest::RunHost(std::string("figure ") + r.type + opts + " --out " + base + ".dxf", "figband");
        ASSERT_EQ(dxf.exitCode, 0) << dxf.err;
        const std::string cmd = "/usr/bin/python3 " + std::string(PVX_SOURCE_DIR) + "/scripts/check_slab_band_figures.py " +
                                sample + " " + base + ".dxf " + r.type + " " + r.scale + " " + r.load + " > " + base +
                                ".log 2>&1";
        const int rc = std::system(cmd.c_str());
        const std::string log = moduletest::ReadWholeFile(base + ".log");
        EXPECT_EQ(rc, 0) << log;
        EXPECT_EQ(log.find("FAILED"), std::string::npos) << log;
        std::remove((base + ".dxf").c_str());
        std::remove((base + ".log").c_str());
    }
}

}  // namespace
