// The beam and rib beam force diagram sheets (201-203, 163-165, 518, 519) on a small project built in code, and on the
// sample through scripts/check_beam_force_figures.py. Expected values are worked out by hand
// from the rows each test adds.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "../ModuleTestSupport.h"
#include "FigBeamRows.h"
#include "host/base/CurrentUnitCtrl.h"
#include "host/db/CDBDoc.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDBeamForceFigures.h"
#include "module/figures/FigureText.h"

namespace {

TEST(BeamForceRules, MemberKind) {
    // Model members 900 (beam, link 0), 901 (beam, link 1), 902 (no beam record).
    PostDBBuilder b;
    b.Add<DBT_MEMB>(900, figbeam::Memb(201));
    b.Add<DBT_MEMB>(901, figbeam::Memb(201));
    b.Add<DBT_MEMB>(902, figbeam::Memb(201));
    b.Add<DBT_BEAM>(900, figbeam::Beam(0));
    b.Add<DBT_BEAM>(901, figbeam::Beam(1));
    CDBDoc doc;
    b.Install(doc);
    CDataBase* db = doc.GetPostCtrl()->GetDataBase();
    const struct {
        const char* label;
        int type, subKind;
        UINT model;
        int kind;
    } rows[] = {
        {"not a beam", 205, 0, 900, -1},      {"grade beam 204", 204, 0, 900, -1},
        {"rib beam", 201, 2, 900, 2},         {"link flag 1", 201, 0, 901, 1},
        {"sub-kind 1, link", 201, 1, 901, 1}, {"link flag 0", 201, 0, 900, 0},
        {"no beam record", 201, 0, 902, 0},   {"sub-kind 3", 201, 3, 901, -1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(CFVDForceDrawCommon::GetBeamMemberKind(figbeam::PMemb(r.type, r.subKind, r.model), db), r.kind);
    }
}

TEST(BeamForceRules, AnchorsTextsAndScale) {
    // Anchor 0 (top) when sign x value <= -1e-6 with one curve; by the sign alone with two.
    const struct {
        double sign, value;
        int label, anchor;
    } anchors[] = {
        {-1.0, 5.0, 0, 0},  {-1.0, -5.0, 0, 8}, {-1.0, 0.0, 0, 8}, {1.0, -5.0, 0, 0},   {1.0, 5e-7, 0, 8},
        {1.0, -1e-6, 0, 0}, {1.0, -9.0, 1, 8},  {1.0, 9.0, 2, 0},  {-1.0, 9.0, 1, 0},   {-1.0, -9.0, 2, 8},
    };
    for (const auto& r : anchors) {
        SCOPED_TRACE(testing::Message() << r.sign << " " << r.value << " label " << r.label);
        EXPECT_EQ(CFVDForceDrawCommon::ValueAnchor(r.sign, r.value, r.label), r.anchor);
    }
    SetFigurePrecision(1);
    const struct {
        double value;
        int counter;
        const char* text;
    } texts[] = {{12.34, 0, " 12.3"}, {-4.0, 1, "-4.0"}, {0.25, 2, "0.2 "}};  // %.1f rounds 0.25 to even
    for (const auto& r : texts) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(std::string(CFVDForceDrawCommon::ValueText(r.value, r.counter)), r.text);
    }
    SetFigurePrecision(2);
    const struct {
        double scale, cur2mm, factor;
    } scales[] = {{0.0, 1000.0, 0.001}, {1e-7, 1000.0, 0.001}, {-200.0, 1000.0, 0.2}, {50.0, 1.0, 50.0}};
    for (const auto& r : scales) {
        SCOPED_TRACE(r.scale);
        EXPECT_DOUBLE_EQ(CFVDForceDrawCommon::OrdinateScale(r.scale, r.cur2mm), r.factor);
    }
    // The default value scale: 0.25 x median length x cur2mm / peak, two significant digits.
    const struct {
        const char* label;
        std::vector<double> lengths;
        double peak, scale;
    } autos[] = {
        {"6 m members, 62 kN m", {6, 6, 6}, 62.0, 24.0},                 // 24.19
        {"median of an even count", {2, 4, 8, 100}, 900.0, 1.7},         // 6 m: 1.667
        {"lengths 0 left out", {0, 12}, 10.0, 300.0},                     // 300
        {"no values", {6}, 0.0, 1.0},
        {"no members", {}, 50.0, 1.0},
    };
    for (const auto& r : autos) {
        SCOPED_TRACE(r.label);
        EXPECT_NEAR(CFVDForceDrawCommon::AutoValueScale(r.lengths, r.peak, 1000.0), r.scale, 1e-9);
    }
    // Stations with a text: ends and n / 2; none for fewer than two values.
    const struct {
        int n;
        std::vector<int> stations;
    } stations[] = {{9, {0, 4, 8}}, {2, {0, 1}}, {1, {}}, {0, {}}, {4, {0, 2, 3}}};
    for (const auto& r : stations) {
        SCOPED_TRACE(r.n);
        std::vector<int> got;
        for (int j = -1; j <= r.n; ++j)
            if (CFVDForceDrawCommon::IsTextStation(j, r.n)) got.push_back(j);
        EXPECT_EQ(got, r.stations);
    }
}

// Members: 10 ordinary (model 900) from (0, 0) to (8, 0); 11 link (model 901) from (0, 0) to
// (0, 4), i.e. upwards; 12 a frame beam (no model member); 13 type 204 over model 900; 14
// ordinary, drawn right to left: i-end (10, 300), j-end (0, 300), far from the others. Load case
// 1 and 2; design combinations 101 = 1.0 x 1 and 102 = 1.0 x 1 + 1.0 x 2. MBWG of case 1: moment (col 4)
// 10 s at station s, shear (col 2) 8 - 2 s, torsion (col 3) 1; case 2: moment -20 at every
// station, shear 0, torsion 0.
class BeamForceSheetTest : public ::testing::Test {
protected:
    // Member 14's figures lie from y = 220 up, every other member's below y = 80.
    static bool OfReversedMember(const CvdFigure& f) { return !f.m_points.empty() && f.m_points[0].y > 150.0; }
    void SetUp() override {
        PostDBBuilder b;
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        b.AddLoadCase(2, PLOAD_STATIC, "LL");
        for (UINT k : {101u, 102u}) {
            T_PLCOM_D c;
            c.Initialize();
            c.type = PLCOM_LINEAR;
            c.AddEntry(PLOAD_STATIC, 1, 1.0);
            if (k == 102) c.AddEntry(PLOAD_STATIC, 2, 1.0);
            b.Add<DBT_PLCOM>(k, c);
            // Both are design groups, so the sheets offer them.
            T_CKLG_D g;
            g.Initialize();
            g.number = static_cast<int>(k - 100);
            g.kind = LDGP_KIND_BASIC;
            g.designUse = 1;
            pvxdb::CopyText(g.sort, sizeof(g.sort), k == 101 ? "DL" : "DL+LL");
            b.Add<DBT_CKLG>(k, g);
        }
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 8, 0, 0);
        b.AddNode(3, 0, 4, 0);
        b.AddNode(4, 10, 300, 0);
        b.AddNode(5, 0, 300, 0);
        b.Add<DBT_MEMB>(900, figbeam::Memb(201));
        b.Add<DBT_MEMB>(901, figbeam::Memb(201));
        b.Add<DBT_BEAM>(900, figbeam::Beam(0));
        b.Add<DBT_BEAM>(901, figbeam::Beam(1));
        b.AddMemb(10, figbeam::PMemb(201, 0, 900, {1, 2}));
        b.AddMemb(11, figbeam::PMemb(201, 0, 901, {1, 3}));
        b.AddMemb(12, figbeam::PMemb(201, 0, 0, {1, 2}));
        b.AddMemb(13, figbeam::PMemb(204, 0, 900, {1, 2}));
        b.AddMemb(14, figbeam::PMemb(201, 0, 900, {4, 5}));
        for (UINT key : {10u, 11u, 12u, 13u, 14u}) {
            T_MBWG_D f1, f2;
            f1.Initialize();
            f2.Initialize();
            for (int s = 0; s < 9; ++s) {
                f1.d[s][4] = 10.0 * s;
                f1.d[s][2] = 8.0 - 2.0 * s;
                f1.d[s][3] = 1.0;
                f2.d[s][4] = -20.0;
            }
            b.AddResult<DBT_MBWG>(1, key, f1);
            b.AddResult<DBT_MBWG>(2, key, f2);
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
    std::unique_ptr<CVdrawUtil> Draw(const char* cls, int type, UINT load, double scale) {
        return figbeam::DrawByClass(cls, type, load, scale);
    }
    static std::vector<const CvdFigure*> On(const CVdrawUtil& d, int layer, VdFigureKind kind) {
        return moduletest::FiguresOn(d, layer, kind);
    }
    CDBDoc m_doc;
    CDBDoc* m_saved = nullptr;
};

TEST_F(BeamForceSheetTest, CurvesAndTexts) {
    // Offsets are value x |scale| / 1000 x sign, to the left of the member's line as drawn, read
    // left to right (member 10 runs along +x, so left is +y; member 11 runs along +y, so left is
    // -x; member 14 is read from its j-end (0, 300) to its i-end (10, 300), left is +y). The rows
    // of member 14 look at its figures only (above y = 150), the others at those below.
    const struct {
        const char* label;
        const char* cls;
        int type;
        UINT load;
        double scale;
        // per curve: ordinates of stations 0, 4, 8 as (x, y); texts and anchors
        std::vector<std::vector<T_POINT2D>> pts;
        std::vector<std::string> texts;
        std::vector<int> anchors;
    } rows[] = {
        // Combination 101 (case 1): moment 0, 40, 80, sign -1, scale 100: y = -0, -4, -8; anchors 8, 0, 0.
        {"moment, comb 101", "CFVDBeamForceMoment", 201, 101, 100.0,
         {{{0, 0}, {4, -4}, {8, -8}}}, {" 0", "40", "80 "}, {8, 0, 0}},
        // Shear 8, 0, -8, sign +1, scale 0 -> 1: y = 0.008, 0, -0.008; anchors 8, 8, 0.
        {"shear, scale 0", "CFVDBeamForceShearing", 202, 101, 0.0,
         {{{0, 0.008}, {4, 0}, {8, -0.008}}}, {" 8", "0", "-8 "}, {8, 8, 0}},
        // Combination 102: moment 10 s - 20 -> -20, 20, 60.
        {"moment, comb 102", "CFVDBeamForceMoment", 201, 102, 1000.0,
         {{{0, 20}, {4, -20}, {8, -60}}}, {" -20", "20", "60 "}, {8, 0, 0}},
        // Key 0: max over 101/102 = 10 s; min = 10 s - 20. Labels 1/2 with sign -1: 0 then 8.
        {"moment envelope", "CFVDBeamForceMoment", 201, 0, 1000.0,
         {{{0, 0}, {4, -40}, {8, -80}}, {{0, 20}, {4, -20}, {8, -60}}},
         {" 0", "40", "80 ", " -20", "20", "60 "}, {0, 0, 0, 8, 8, 8}},
        // Link beam 11 along +y: torsion 1, sign -1, scale 1000 -> offset -1 to the left = +x.
        {"link torsion", "CFVDBeamForceTorsion_Link", 165, 101, 1000.0,
         {{{1, 0}, {1, 2}, {1, 4}}}, {" 1", "1", "1 "}, {0, 0, 0}},
        // Member 14 drawn right to left: its i-end value (station 0) belongs at x = 10, station 4
        // at x = 5, station 8 (j-end) at x = 0; vertices and texts run from x = 0, so the j-end
        // comes first. Moment 10 s under 101, scale 100, sign -1: stations 8, 4, 0 -> -80, -40,
        // 0 -> y = 300 - 8, 300 - 4, 300.
        {"reversed member, moment", "CFVDBeamForceMoment", 201, 101, 100.0,
         {{{0, 292}, {5, 296}, {10, 300}}}, {" 80", "40", "0 "}, {0, 0, 8}},
        // Shear 8 - 2 s, sign +1, scale 1000: stations 8, 4, 0 -> -8, 0, 8 -> y = 292, 300, 308.
        {"reversed member, shear", "CFVDBeamForceShearing", 202, 101, 1000.0,
         {{{0, 292}, {5, 300}, {10, 308}}}, {" -8", "0", "8 "}, {0, 8, 8}},
        // Key 0: max 10 s and min 10 s - 20 at stations 8, 4, 0: first curve 80, 40, 0 -> y 220,
        // 260, 300 (scale 1000, sign -1); second 60, 20, -20 -> y 240, 280, 320; anchors 0 then 8.
        {"reversed member, moment envelope", "CFVDBeamForceMoment", 201, 0, 1000.0,
         {{{0, 220}, {5, 260}, {10, 300}}, {{0, 240}, {5, 280}, {10, 320}}},
         {" 80", "40", "0 ", " 60", "20", "-20 "}, {0, 0, 0, 8, 8, 8}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        const bool reversedRow = std::string(r.label).rfind("reversed", 0) == 0;
        auto d = Draw(r.cls, r.type, r.load, r.scale);
        auto mine = [&](std::vector<const CvdFigure*> all) {
            std::vector<const CvdFigure*> out;
            for (const CvdFigure* f : all)
                if (OfReversedMember(*f) == reversedRow) out.push_back(f);
            return out;
        };
        const auto polys = mine(On(*d, FVD_LAYER_FORCE, VdKindPolyLine));
        const auto lines = mine(On(*d, FVD_LAYER_FORCE, VdKindLine));
        const auto texts = mine(On(*d, FVD_LAYER_TEXT, VdKindText));
        ASSERT_EQ(polys.size(), r.pts.size());
        EXPECT_EQ(lines.size(), 3 * r.pts.size());
        ASSERT_EQ(texts.size(), r.texts.size());
        for (size_t c = 0; c < polys.size(); ++c) {
            ASSERT_EQ(polys[c]->m_points.size(), 9u);
            for (int k = 0; k < 3; ++k) {
                EXPECT_NEAR(polys[c]->m_points[4 * k].x, r.pts[c][k].x, 1e-9) << c << " " << k;
                EXPECT_NEAR(polys[c]->m_points[4 * k].y, r.pts[c][k].y, 1e-9) << c << " " << k;
            }
        }
        for (size_t t = 0; t < texts.size(); ++t) {
            EXPECT_EQ(std::string(texts[t]->m_text), r.texts[t]) << t;
            EXPECT_EQ(texts[t]->m_verJust, r.anchors[t]) << t;
        }
    }
}

TEST_F(BeamForceSheetTest, MembersPerSheet) {
    // Ordinary sheets draw members 10 and 14 (11 is a link beam, 12 no foundation member, 13 not
    // a beam); link sheets member 11 only. Member 14, read left to right, writes at angle 0 too.
    const struct {
        const char* cls;
        int type;
        size_t members;
        double angle;  // text angle of the members drawn
    } rows[] = {
        {"CFVDBeamForceMoment", 201, 2, 0.0},         {"CFVDBeamForceShearing", 202, 2, 0.0},
        {"CFVDBeamForceTorsion", 203, 2, 0.0},        {"CFVDBeamForceMoment_Link", 163, 1, 90.0},
        {"CFVDBeamForceShearing_Link", 164, 1, 90.0}, {"CFVDBeamForceTorsion_Link", 165, 1, 90.0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.cls);
        auto d = Draw(r.cls, r.type, 101, 1.0);
        EXPECT_EQ(On(*d, FVD_LAYER_FORCE, VdKindPolyLine).size(), r.members);
        const auto texts = On(*d, FVD_LAYER_TEXT, VdKindText);
        ASSERT_EQ(texts.size(), 3 * r.members);
        for (const CvdFigure* t : texts) EXPECT_NEAR(t->m_angle, r.angle, 1e-9);
    }
}

T_STRESS_RESULT Rib(double x1, double y1, double x2, double y2, double arc, std::vector<double> m, std::vector<double> v) {
    T_STRESS_RESULT r;
    r.d[3] = x1;
    r.d[4] = y1;
    r.d[6] = x2;
    r.d[7] = y2;
    r.d[9] = arc;
    for (int k = 0; k < 5; ++k) {
        r.d[11 + 2 * k] = m[k];
        r.d[12 + 2 * k] = v[k];
    }
    return r;
}

TEST(RibBeamRules, RecordsAndStations) {
    // Combination 101: rib A from (6, 0) to (0, 0) (reads right to left: turned round) and rib B
    // from (2, 5) to (2, 1) (downwards: turned round). Combination 102: rib A as stored forwards
    // from (0, 0) to (6, 0.005) (the same ends within 0.01), rib B again reversed.
    std::vector<CFVDRibBeamForce_M::RibRecord> ribs;
    CArray<T_STRESS_RESULT, T_STRESS_RESULT&> r101, r102;
    T_STRESS_RESULT a1 = Rib(6, 0, 0, 0, 0.5, {1, 2, 3, 4, 5}, {10, 20, 30, 40, 50});
    T_STRESS_RESULT b1 = Rib(2, 5, 2, 1, 0.0, {0, 0, 9, 0, 0}, {1, 1, 1, 1, 1});
    T_STRESS_RESULT a2 = Rib(0, 0, 6, 0.005, 0.0, {6, 1, 1, 1, 0}, {0, 0, 0, 0, 0});
    T_STRESS_RESULT b2 = Rib(2, 5, 2, 1, 0.0, {0, 0, -9, 0, 0}, {2, 2, 2, 2, 2});
    r101.Add(a1);
    r101.Add(b1);
    r102.Add(a2);
    r102.Add(b2);
    CFVDRibBeamForce_M::AddRibResults(ribs, 101, r101);
    CFVDRibBeamForce_M::AddRibResults(ribs, 102, r102);
    ASSERT_EQ(ribs.size(), 2u);
    EXPECT_DOUBLE_EQ(ribs[0].start.x, 0.0);
    EXPECT_DOUBLE_EQ(ribs[0].end.x, 6.0);
    EXPECT_DOUBLE_EQ(ribs[1].start.y, 1.0);
    EXPECT_DOUBLE_EQ(ribs[1].end.y, 5.0);
    // Rib A under 101 reversed: moments 5, 4, 3, 2, 1; arc height negated then replaced by 102's 0.
    const struct {
        const char* label;
        size_t rib;
        UINT key;
        int component;
        BOOL ok;
        std::vector<double> first, second;
    } rows[] = {
        {"A 101 moment reversed", 0, 101, 3, TRUE, {5, 4, 3, 2, 1}, {}},
        {"A 101 shear reversed", 0, 101, 1, TRUE, {50, 40, 30, 20, 10}, {}},
        {"A 102 forwards", 0, 102, 3, TRUE, {6, 1, 1, 1, 0}, {}},
        {"A envelope", 0, 0, 3, TRUE, {6, 4, 3, 2, 1}, {5, 1, 1, 1, 0}},
        {"B envelope moment", 1, 0, 3, TRUE, {0, 0, 9, 0, 0}, {0, 0, -9, 0, 0}},
        {"B envelope shear", 1, 0, 1, TRUE, {2, 2, 2, 2, 2}, {1, 1, 1, 1, 1}},
        {"no stations for 103", 0, 103, 3, FALSE, {}, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<double, double> first, second;
        first.Add(99.0);  // emptied first
        EXPECT_EQ(CFVDRibBeamForce_M::GetStationValues(ribs[r.rib], r.key, first, second, r.component), r.ok);
        std::vector<double> f(first.GetData(), first.GetData() + first.GetSize());
        std::vector<double> s2(second.GetData(), second.GetData() + second.GetSize());
        EXPECT_EQ(f, r.first);
        EXPECT_EQ(s2, r.second);
    }
    // The first rib's arc height of 101 (0.5, turned: -0.5) gave way to 102's.
    EXPECT_DOUBLE_EQ(ribs[0].arc, 0.0);
    CFVDRibBeamForce_M::AddRibResults(ribs, 103, r101);
    EXPECT_DOUBLE_EQ(ribs[0].arc, -0.5);
}

// The rib pass on ribs set by hand, in place of the design library's, under combination 101
// (no project here offers it as a load case).
class HandRibSheet : public CFVDRibBeamForce_M {
public:
    explicit HandRibSheet(std::vector<RibRecord> ribs) : m_hand(std::move(ribs)) {}
    void DrawFigure() override {
        m_nCurLoadCase = 101;
        ApplyScale();
        m_nMemberPass = 0;
        for (RibRecord& rib : m_hand) DrawMember(0, nullptr, &rib);
    }

private:
    std::vector<RibRecord> m_hand;
};

TEST(RibBeamRules, ArcDiagramsReadLeftToRight) {
    // Half circles of radius 5 over the chord (0, 0)-(10, 0), centre (5, 0); arc height positive
    // when the arc bulges to the left of i -> j. Moments 1..5 from the i-end under 101, sign -1,
    // scale 500 -> offsets -0.5 (k + 1) at station k, to the left of the chord read left to right
    // as on a straight member: a positive moment lies below the axis there, so inside (towards
    // the centre) on an arc bulging up, outside on one bulging down. Station k sits at the
    // angle a_k = (i-end angle) +- k pi / 4 on radius r_k = 5 -+ 0.5 (k + 1).
    const double h = std::sqrt(2.0) / 2.0;
    struct Station {
        double x, y, value;
    };
    const struct {
        const char* label;
        double x1, y1, x2, y2, arc;
        std::vector<Station> stations;  // k = 0..4; texts at k = 0, 2, 4
    } rows[] = {
        // Bulging up, i (0, 0) -> j (10, 0): a_k = pi - k pi / 4, r_k = 4.5, 4, 3.5, 3, 2.5.
        {"up, i left", 0, 0, 10, 0, 5.0,
         {{0.5, 0, 1}, {5 - 4 * h, 4 * h, 2}, {5, 3.5, 3}, {5 + 3 * h, 3 * h, 4}, {7.5, 0, 5}}},
        // Bulging up, i (10, 0) -> j (0, 0) (up is to the right of i -> j): a_k = k pi / 4.
        {"up, i right", 10, 0, 0, 0, -5.0,
         {{9.5, 0, 1}, {5 + 4 * h, 4 * h, 2}, {5, 3.5, 3}, {5 - 3 * h, 3 * h, 4}, {2.5, 0, 5}}},
        // Bulging down, i (0, 0) -> j (10, 0): a_k = pi + k pi / 4, r_k = 5.5, 6, 6.5, 7, 7.5.
        {"down, i left", 0, 0, 10, 0, -5.0,
         {{-0.5, 0, 1}, {5 - 6 * h, -6 * h, 2}, {5, -6.5, 3}, {5 + 7 * h, -7 * h, 4}, {12.5, 0, 5}}},
        // Bulging down, i (10, 0) -> j (0, 0): a_k = -k pi / 4.
        {"down, i right", 10, 0, 0, 0, 5.0,
         {{10.5, 0, 1}, {5 + 6 * h, -6 * h, 2}, {5, -6.5, 3}, {5 - 7 * h, -7 * h, 4}, {-2.5, 0, 5}}},
    };
    auto byX = [](std::vector<T_POINT2D> v) {
        std::sort(v.begin(), v.end(), [](const T_POINT2D& a, const T_POINT2D& b) { return a.x < b.x; });
        return v;
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        std::vector<CFVDRibBeamForce_M::RibRecord> ribs;
        CArray<T_STRESS_RESULT, T_STRESS_RESULT&> results;
        T_STRESS_RESULT res = Rib(r.x1, r.y1, r.x2, r.y2, r.arc, {1, 2, 3, 4, 5}, {0, 0, 0, 0, 0});
        results.Add(res);
        CFVDRibBeamForce_M::AddRibResults(ribs, 101, results);
        HandRibSheet sheet(ribs);
        auto d = moduletest::DrawSheet(sheet, 518, 101, 500.0);
        const auto polys = moduletest::FiguresOn(*d, FVD_LAYER_FORCE, VdKindPolyLine);
        const auto texts = moduletest::FiguresOn(*d, FVD_LAYER_TEXT, VdKindText);
        EXPECT_EQ(polys.size(), 1u);
        EXPECT_EQ(texts.size(), 3u);
        if (polys.size() != 1 || polys[0]->m_points.size() != 5 || texts.size() != 3) continue;
        // The picture, whatever the drawing order: vertices compared from left to right.
        std::vector<T_POINT2D> want;
        for (const Station& s : r.stations) want.emplace_back(s.x, s.y);
        const auto got = byX(polys[0]->m_points), exp = byX(want);
        for (size_t k = 0; k < exp.size(); ++k) {
            EXPECT_NEAR(got[k].x, exp[k].x, 1e-9) << k;
            EXPECT_NEAR(got[k].y, exp[k].y, 1e-9) << k;
        }
        // Texts at stations 0, 2, 4 (found by x): the value, upright (the chord read left to
        // right), hanging below the point (anchor 0: a positive moment lies right of the reading
        // direction); the end values run inwards from a text height inside their stations.
        const double leftX = std::min(r.stations[0].x, r.stations[4].x);
        for (int k : {0, 2, 4}) {
            const Station& s = r.stations[k];
            const int end = k == 2 ? 0 : s.x == leftX ? 1 : -1;
            const CvdFigure* at = nullptr;
            for (const CvdFigure* t : texts)
                if (std::fabs(t->m_points[0].x - end * t->m_height - s.x) < 1e-9) at = t;
            EXPECT_NE(at, nullptr) << "no text at station " << k;
            if (!at) continue;
            EXPECT_EQ(at->m_horJust, end == 0 ? VdTextHorCenter : end > 0 ? VdTextHorLeft : VdTextHorRight) << k;
            std::string text(at->m_text);
            text.erase(0, text.find_first_not_of(' '));
            text.erase(text.find_last_not_of(' ') + 1);
            EXPECT_EQ(text, std::to_string(static_cast<int>(s.value))) << k;
            EXPECT_EQ(at->m_verJust, 0) << k;
            EXPECT_NEAR(at->m_angle, 0.0, 1e-9) << k;
            // Hung just below the diagram point, within the text's own height.
            EXPECT_LE(at->m_points[0].y, s.y) << k;
            EXPECT_GT(at->m_points[0].y, s.y - at->m_height) << k;
        }
    }
}

TEST(SampleBeamSheets, MatchTheProject) {
    const std::string tmp = PVX_TEST_TMPDIR, sample = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";
    const struct {
        const char* type;
        const char* load;
        const char* scale;
    } rows[] = {{"201", "0", "100"}, {"202", "0", "100"}, {"203", "0", "100"}, {"163", "0", "100"},
                {"164", "0", "100"}, {"165", "0", "100"}, {"201", "103", "0"}, {"164", "101", "-50"},
                {"518", "0", "100"}, {"519", "0", "100"}, {"518", "103", "0"}, {"201", "0", "auto"},
                {"519", "0", "auto"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.type) + " load " + r.load);
        const std::string base = tmp + "/figbeam_" + r.type + "_" + r.load + "_" + r.scale + "_" + std::to_string(getpid());
        const bool own = std::string(r.scale) == "auto";  // the sheet's own value scale
        const std::string opts = std::string(" --load ") + r.load + (own ? "" : std::string(" --set value-scale=") + r.scale);
        const moduletest::HostRun dxf =
            moduletest::RunHost(std::string("figure ") + r.type + opts + " --out " + base + ".dxf", "figbeam");
        ASSERT_EQ(dxf.exitCode, 0) << dxf.err;
        const std::string check = figbeam::Shell("/usr/bin/python3 " + std::string(PVX_SOURCE_DIR) +
                                        "/scripts/check_beam_force_figures.py " + sample + " " + base + ".dxf " +
                                        r.type + " " + r.scale + " " + r.load + " 2>&1; echo rc=$?");
        EXPECT_NE(check.find("rc=0"), std::string::npos) << check;
        EXPECT_EQ(check.find("FAILED"), std::string::npos) << check;
        const moduletest::HostRun bmp =
            moduletest::RunHost(std::string("figure ") + r.type + opts + " --size 400x300 --out " + base + ".bmp", "figbeam");
        ASSERT_EQ(bmp.exitCode, 0) << bmp.err;
        std::remove((base + ".dxf").c_str());
        std::remove((base + ".bmp").c_str());
    }
}

}  // namespace
