// The beam reinforcement and crack sheets (261, 166, 520, 266, 167, 526) on a small project built
// in code, and on the sample through scripts/check_beam_design_figures.py. Expected texts are
// written by hand from the rows each test adds.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "../ModuleTestSupport.h"
#include "FigBeamRows.h"
#include "host/check/BeamDesignTables.h"
#include "host/db/CDBDoc.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDBeamDesignFigures.h"
#include "module/figures/FigureText.h"

namespace {

S_BEAMREBARAS Sec(double a1, double a2, double a3, double a4, double a5) {
    S_BEAMREBARAS s;
    s.d[0] = a1, s.d[1] = a2, s.d[2] = a3, s.d[3] = a4, s.d[4] = a5;
    return s;
}

TEST(BeamDesignRules, LargestSectionAndOverLimitNumbers) {
    const struct {
        double s1, s2, s3;
        int index;
    } largest[] = {
        {5, 5, 5, 2},  // a tie of all three: the end
        {3, 7, 5, 1},  // the middle only when strictly larger
        {7, 3, 5, 0}, {5, 3, 7, 2}, {3, 5, 5, 2}, {5, 5, 3, 0}, {5, 3, 5, 2},
    };
    for (const auto& r : largest) {
        SCOPED_TRACE(testing::Message() << r.s1 << " " << r.s2 << " " << r.s3);
        EXPECT_EQ(CFVDBeamDesign_As::LargestSection(r.s1, r.s2, r.s3), r.index);
    }
    // Only a number written as 100000 is the over-limit mark: 1000000, 2100000 and 100000.5 are
    // other numbers.
    const struct {
        const char* in;
        const char* out;
    } marks[] = {
        {"100000", "***"},
        {"G100000\n1000000-100000", "G***\n1000000-***"},
        {"2100000-1000005", "2100000-1000005"},
        {"VT100000.00-100000.5", "VT***-100000.5"},
        {"\nY100000", "\nY***"},
    };
    for (const auto& r : marks) {
        SCOPED_TRACE(r.in);
        EXPECT_EQ(std::string(CFVDBeamDesign_As::ReplaceOverLimit(r.in)), r.out);
    }
}

TEST(BeamDesignRules, SteelBlocks) {
    SetFigurePrecision(0);
    const struct {
        const char* label;
        S_BEAMREBARAS s[3];
        BOOL hasExtra;
        double extra;
        BOOL over;
        const char* block1;
        const char* block2;
        int red1, red2;
    } rows[] = {
        // G: A4 of the end on a tie; VT: A3 6 of the middle (strictly larger), then A5 2 of the end.
        {"plain", {Sec(300, 418, 5, 138, 1), Sec(310, 300, 6, 138, 1), Sec(320, 419, 4, 138, 2)}, FALSE, 0.0, FALSE,
         "G138\n300-310-320", "418-300-419\nVT6-2", 0, 0},
        {"extra value", {Sec(1, 2, 3, 4, 5), Sec(1, 2, 3, 4, 5), Sec(1, 2, 3, 7, 5)}, TRUE, 12.4, FALSE,
         "G7\n1-1-1", "2-2-2\nVT3-5\nY12", 0, 0},
        // Over the limit: red lines (two, three) even without the extra line, the mark on 100000 only.
        {"over limit", {Sec(100000, 500, 3, 4, 5), Sec(1000000, 2, 3, 4, 5), Sec(300, 100000, 3, 4, 5)}, FALSE, 0.0,
         TRUE, "G4\n***-1000000-300", "500-2-***\nVT3-5", 2, 3},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        CString b1, b2;
        CArray<COLORREF> c1, c2;
        c1.Add(1);  // emptied first
        CFVDBeamDesign_As::MakeAsTexts(r.s, r.hasExtra, r.extra, r.over, b1, c1, b2, c2);
        EXPECT_EQ(std::string(b1), r.block1);
        EXPECT_EQ(std::string(b2), r.block2);
        ASSERT_EQ(c1.GetSize(), r.red1);
        ASSERT_EQ(c2.GetSize(), r.red2);
        for (INT_PTR i = 0; i < c1.GetSize(); ++i) EXPECT_EQ(c1[i], 0x0000FFu);
        for (INT_PTR i = 0; i < c2.GetSize(); ++i) EXPECT_EQ(c2[i], 0x0000FFu);
    }
    SetFigurePrecision(2);
}

TEST(BeamDesignRules, CrackLookUpsAndTexts) {
    DoubleMap map;
    map[2] = -0.0002;
    map[3] = 0.0001;
    DoubleMap empty;
    const struct {
        const char* label;
        const DoubleMap* map;
        UINT key;
        BOOL found;
        double w;
    } looks[] = {
        {"own key", &map, 3, TRUE, 0.0001},
        {"key 0: largest magnitude", &map, 0, TRUE, -0.0002},
        {"missing key", &map, 9, FALSE, 0.0},
        {"empty map, key 0", &empty, 0, FALSE, 0.0},
    };
    for (const auto& r : looks) {
        SCOPED_TRACE(r.label);
        double w = 0.0;
        EXPECT_EQ(CFVDBeamDesign_Crack::GetCrackWidth(*r.map, r.key, w), r.found);
        EXPECT_DOUBLE_EQ(w, r.w);
    }
    SetFigurePrecision(2);
    const struct {
        double w;
        int p;
        const char* text;
        int anchor;
    } texts[] = {
        {-0.0002, 0, " 0.20", 8},  // 0.2 mm on the other face
        {0.0, 2, "0.00 ", 0},
        {0.00031, 1, "0.31", 0},
        {-1e-16, 1, "0.00", 0},  // -1e-13 mm is not below -1e-12
    };
    for (const auto& r : texts) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(std::string(CFVDBeamDesign_Crack::CrackText(r.w, r.p)), r.text);
        EXPECT_EQ(CFVDBeamDesign_Crack::CrackAnchor(r.w), r.anchor);
    }
}

// Members over model beams 900 (link 0) and 901 (link 1): 20 ordinary from (0, 0) to (8, 0);
// 21 link from (0, 0) to (0, 4); 22 rib (sub-kind 2) from (0, 4) to (8, 4); 23 type 213 from
// (0, 8) to (8, 8); 24 type 204 from (0, 0) to (8, 0); 25 ordinary from its i-end (8, 12) to
// (0, 12), drawn left to right. Design combination 101. Every member has a design row: sections
// start/middle/end of member k hold A1 = k, 2k, 3k, A2 = 10, A3 = 1, A4 = 5, A5 = 0; member 21
// is over the limit with A1 100000 at its start. Crack widths (load 2): member 20 start
// -0.0002, middle none, end 0; member 25 start 0.0001, middle 0.00015, end 0.0003; others 0.0001
// everywhere.
class BeamDesignSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        PostDBBuilder b;
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        T_CKLG_D g;
        g.Initialize();
        g.number = 1;
        g.kind = LDGP_KIND_BASIC;
        g.designUse = 1;
        pvxdb::CopyText(g.sort, sizeof(g.sort), "DL");
        b.Add<DBT_CKLG>(101, g);
        const double xy[][2] = {{0, 0}, {8, 0}, {0, 4}, {8, 4}, {0, 8}, {8, 8}, {8, 12}, {0, 12}};
        for (UINT n = 1; n <= 8; ++n) b.AddNode(n, xy[n - 1][0], xy[n - 1][1], 0);
        b.Add<DBT_MEMB>(900, figbeam::Memb(201));
        b.Add<DBT_MEMB>(901, figbeam::Memb(201));
        b.Add<DBT_BEAM>(900, figbeam::Beam(0));
        b.Add<DBT_BEAM>(901, figbeam::Beam(1));
        b.AddMemb(20, figbeam::PMemb(201, 0, 900, {1, 2}));
        b.AddMemb(21, figbeam::PMemb(201, 0, 901, {1, 3}));
        b.AddMemb(22, figbeam::PMemb(201, 2, 900, {3, 4}));
        b.AddMemb(23, figbeam::PMemb(213, 0, 900, {5, 6}));
        b.AddMemb(24, figbeam::PMemb(204, 0, 900, {1, 2}));
        b.AddMemb(25, figbeam::PMemb(201, 0, 900, {7, 8}));
        for (UINT k = 20; k <= 25; ++k) {
            T_PDDBEAM_D d;
            d.b = 300, d.h = 500, d.as = 40, d.fy = 360, d.ft = 1.43, d.ftk = 2.01;
            for (int s = 0; s < 3; ++s) d.m_mapAs[s][101] = Sec(k * (s + 1.0), 10, 1, 5, 0);
            const double w[3] = {k == 20 ? -0.0002 : k == 25 ? 0.0001 : 0.0001, k == 25 ? 0.00015 : 0.0001,
                                 k == 20 ? 0.0 : k == 25 ? 0.0003 : 0.0001};
            for (int s = 0; s < 3; ++s)
                if (!(k == 20 && s == 1)) d.m_mapCrack[s][2] = w[s];
            if (k == 21) {
                d.m_nOver = 1;
                d.m_mapAs[0][101] = Sec(100000, 10, 1, 5, 0);
            }
            b.Add<DBT_PDDBEAM>(k, DesignRows::Encode(d));
        }
        b.Install(m_doc);
        m_saved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
    }
    void TearDown() override {
        CDBDoc::m_pDBDoc = m_saved;
        SetFigurePrecision(2);
    }
    std::unique_ptr<CVdrawUtil> Draw(const char* cls, int type, UINT load) {
        return figbeam::DrawByClass(cls, type, load, 1.0);
    }
    static std::vector<const CvdFigure*> Texts(const CVdrawUtil& d) {
        return moduletest::FiguresOn(d, FVD_LAYER_TEXT, VdKindText);
    }
    CDBDoc m_doc;
    CDBDoc* m_saved = nullptr;
};

TEST_F(BeamDesignSheetTest, SteelTextsPerSheet) {
    // Each block line is one text; block 1 ends on the mid-point (8), block 2 hangs below it (0).
    const struct {
        const char* cls;
        int type;
        std::vector<std::string> texts;
        int red;  // red lines
    } rows[] = {
        {"CFVDBeamDesign_As", 261, {"G5", "20-40-60", "10-10-10", "VT1-0", "G5", "25-50-75", "10-10-10", "VT1-0"}, 0},
        {"CFVDBeamDesign_As_Link", 166, {"G5", "***-42-63", "10-10-10", "VT1-0"}, 4},
        // The rib sheet: the rib beam 22 and the member of type 213.
        {"CFVDRibBeamDesign_As", 520, {"G5", "22-44-66", "10-10-10", "VT1-0", "G5", "23-46-69", "10-10-10", "VT1-0"}, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.cls);
        auto d = Draw(r.cls, r.type, 101);
        const auto texts = Texts(*d);
        ASSERT_EQ(texts.size(), r.texts.size());
        int red = 0;
        for (size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(std::string(texts[i]->m_text), r.texts[i]) << i;
            red += texts[i]->m_hasColour && texts[i]->m_colour == 0x0000FFu;
        }
        EXPECT_EQ(red, r.red);
    }
}

TEST_F(BeamDesignSheetTest, CrackTextsPerSheet) {
    struct Text {
        std::string text;
        double x, y;
        int anchor, horJust;
    };
    const struct {
        const char* cls;
        int type;
        std::vector<Text> texts;
    } rows[] = {
        // Member 20: 0.2 mm on the other face at the start (8), nothing in the middle, 0 at the end
        // (0). Member 25 runs from (8, 12) to (0, 12): its start is written near x = 8. The end
        // values stand 1.5 text heights (0.25) inside the span and run away from its end: those
        // of two spans meeting at a support were written at one point.
        {"CFVDBeamDesign_Crack", 266,
         {{" 0.20", 0.375, 0, 8, VdTextHorLeft},
          {"0.00 ", 7.625, 0, 0, VdTextHorRight},
          {" 0.10", 7.625, 12, 0, VdTextHorRight},
          {"0.15", 4, 12, 0, VdTextHorCenter},
          {"0.30 ", 0.375, 12, 0, VdTextHorLeft}}},
        {"CFVDBeamDesign_Crack_Link", 167,
         {{" 0.10", 0, 0.375, 0, VdTextHorLeft}, {"0.10", 0, 2, 0, VdTextHorCenter}, {"0.10 ", 0, 3.625, 0, VdTextHorRight}}},
        // The rib crack sheet: the rib beam 22 only (type 213 has no beam kind).
        {"CFVDBeamDesign_Crack_Rib", 526,
         {{" 0.10", 0.375, 4, 0, VdTextHorLeft}, {"0.10", 4, 4, 0, VdTextHorCenter}, {"0.10 ", 7.625, 4, 0, VdTextHorRight}}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.cls);
        auto d = Draw(r.cls, r.type, 0);
        const auto texts = Texts(*d);
        ASSERT_EQ(texts.size(), r.texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(std::string(texts[i]->m_text), r.texts[i].text) << i;
            EXPECT_EQ(texts[i]->m_verJust, r.texts[i].anchor) << i;
            EXPECT_EQ(texts[i]->m_horJust, r.texts[i].horJust) << i;
            // The block's layout moves a text across the member, never along it.
            const bool vertical = r.type == 167;
            EXPECT_NEAR(vertical ? texts[i]->m_points[0].y : texts[i]->m_points[0].x, vertical ? r.texts[i].y : r.texts[i].x,
                        1e-9) << i;
        }
    }
}

TEST(SampleBeamDesignSheets, MatchTheProject) {
    const std::string tmp = PVX_TEST_TMPDIR, sample = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";
    const struct {
        const char* type;
        const char* load;
    } rows[] = {{"261", "0"}, {"261", "103"}, {"166", "0"}, {"166", "104"}, {"520", "0"},
                // The crack sheets offer the settlement group alone (no most unfavourable entry).
                {"266", "2"}, {"167", "2"}, {"526", "2"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.type) + " load " + r.load);
        const std::string base = tmp + "/figbeamdesign_" + r.type + "_" + std::to_string(getpid());
        const moduletest::HostRun dxf = moduletest::RunHost(
            std::string("figure ") + r.type + " --load " + r.load + " --out " + base + ".dxf", "figbeamdesign");
        ASSERT_EQ(dxf.exitCode, 0) << dxf.err;
        const std::string check = figbeam::Shell("/usr/bin/python3 " + std::string(PVX_SOURCE_DIR) +
                                        "/scripts/check_beam_design_figures.py " + sample + " " + base + ".dxf " +
                                        r.type + " " + r.load + " 2>&1; echo rc=$?");
        EXPECT_NE(check.find("rc=0"), std::string::npos) << check;
        EXPECT_EQ(check.find("FAILED"), std::string::npos) << check;
        std::remove((base + ".dxf").c_str());
    }
}

}  // namespace
