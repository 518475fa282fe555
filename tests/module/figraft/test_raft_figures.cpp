// The raft check figures (500 bearing, 515 stability, 501 load centre, 514 anti-floating) over a
// small seeded model: text points of main and sub-rafts, governing groups and labels, the
// stability load-case list and formula, the load-centre texts and marks (also in mm), and a
// group a record lacks.
//
// The model: main raft 1 (0,0)-(10,6) with a record; sub-raft 2 in it, the L (20,0) (24,0)
// (24,2) (22,2) (22,4) (20,4) with a record (area 12, centroid (21.6667, 1.6667) by the two
// squares 16 at (22,2) less 4 at (23,3)); main raft 3 (40,0)-(44,4) without a record. Standard
// groups 3, 5, 7 (CKLG number = key). A check (F, R) has ratio R / F.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/base/CurrentUnitCtrl.h"
#include "host/check/RaftCheckTables.h"
#include "host/db/CDBDoc.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDCheckFigures.h"
#include "tests/module/figraft/RaftFigureTestUtil.h"

namespace {

void AddRaft(PostDBBuilder& b, UINT key, UINT parent, std::vector<std::pair<double, double>> pts) {
    T_MEMB_D m;
    m.type = MEMB_RAFT;
    for (size_t i = 0; i < pts.size(); ++i) {
        const UINT p = key * 100 + static_cast<UINT>(i);
        T_PONT_D pont;
        pont.x = pts[i].first;
        pont.y = pts[i].second;
        b.Add<DBT_PONT>(p, pont);
        m.aPont.Add(p);
    }
    b.Add<DBT_MEMB>(key, m);
    b.Add<DBT_MTSB>(key, T_MTSB_D{1, parent, 1.0});
}

CZLCheckData_P Pressure(CheckData_P ave, CheckData_P max) {
    CZLCheckData_P z;
    z.m_Ave = ave;
    z.m_Max = max;
    return z;
}

LCCheckData_P Centre(double x, double y, double v, CheckData_P ex, CheckData_P ey) {
    LCCheckData_P c;
    c.m_dX = x, c.m_dY = y, c.m_dV = v, c.m_CheckX = ex, c.m_CheckY = ey;
    return c;
}

struct Options {
    bool piles = false;                   // a pile under raft 1
    std::vector<const char*> badTexts;    // unfavourable texts of raft 1 for groups 3, 5, 7
};

void BuildModel(PostDBBuilder& b, const Options& o) {
    b.AddNode(1, 0, 0, 0);
    AddRaft(b, 1, 0, {{0, 0}, {10, 0}, {10, 6}, {0, 6}});
    AddRaft(b, 2, 1, {{20, 0}, {24, 0}, {24, 2}, {22, 2}, {22, 4}, {20, 4}});
    AddRaft(b, 3, 0, {{40, 0}, {44, 0}, {44, 4}, {40, 4}});
    for (UINT g : {3u, 5u, 7u}) {
        T_CKLG_D k;
        k.Initialize();
        k.number = static_cast<int>(g);
        k.kind = LDGP_KIND_STANDARD;
        std::snprintf(k.sort, sizeof(k.sort), "G%u", g);
        b.Add<DBT_CKLG>(g, k);
    }
    b.Add<DBT_WDLD>(1, T_WDLD_D{-2.0});
    if (o.piles) {
        T_PONT_D p;
        p.x = 5, p.y = 3;
        b.Add<DBT_PONT>(900, p);
        T_MEMB_D m;
        m.type = MEMB_PILE;
        m.aPont.Add(900);
        b.Add<DBT_MEMB>(900, m);
        T_PILE_D pile;
        pile.aMemb.Add(1);
        pile.length = 20;
        pile.capacity = 3200;
        b.Add<DBT_PILE>(900, pile);
    }
    // Raft 1. Bearing: group 3 average 80/100 (0.8), maximum 150/100; group 5 average 120/100,
    // maximum 90/100 (0.9): governing average 3, maximum 5. Sliding: 3 -> 20/10 (2); overturning:
    // 3 -> 5/10 (0.5), 5 -> 30/10 (3). Load centre: x checks 3: 0.1667/0.2 (0.83), 5: 0.1667/0.05
    // (3.3) -> keyX 3; y checks 3: 0.1/0.05 (2), 5: 0.1/0.3 (0.33) -> keyY 5. Anti-floating key 0:
    // W/F = 150/100.
    T_PCDMTSB_D r;
    r.fa = 100;
    r.m_mapCZL[3] = Pressure({100, 80}, {100, 150});
    r.m_mapCZL[5] = Pressure({100, 120}, {100, 90});
    r.m_mapSlide[3] = CheckData_P(10, 20);
    r.m_mapTurn[3] = CheckData_P(10, 5);
    r.m_mapTurn[5] = CheckData_P(10, 30);
    r.m_mapLC[3] = Centre(5, 3, 1000, {0.2, 1.0 / 6.0}, {-0.05, 0.1});
    r.m_mapLC[5] = Centre(5, 3, 900, {0.05, 1.0 / 6.0}, {0.3, 0.1});
    r.m_mapKF[0] = CheckData_P(100, 150);
    const UINT groups[] = {3, 5, 7};
    for (size_t i = 0; i < o.badTexts.size() && i < 3; ++i) r.m_mapBad[groups[i]] = o.badTexts[i];
    b.Add<DBT_PCDMTSB>(1, CheckRows::Encode(r));
    // Sub-raft 2: group 5 only, both pressures pass (200/100, 300/100).
    T_PCDMTSB_D s;
    s.fa = 100;
    s.m_mapCZL[5] = Pressure({100, 200}, {100, 300});
    b.Add<DBT_PCDMTSB>(2, CheckRows::Encode(s));
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

class RaftFigureTest : public ::testing::Test {
protected:
    void Build(const Options& o = Options()) {
        PostDBBuilder b;
        BuildModel(b, o);
        m_scope.reset();
        m_doc = std::make_unique<CDBDoc>();
        b.Install(*m_doc);
        m_scope = std::make_unique<rafttest::DocScope>(*m_doc);
    }
    std::unique_ptr<CFVDBase> Make(const char* cls, EFigureType t, UINT lc, CVdrawUtil* d) {
        return rafttest::MakeFigure(cls, t, lc, d);
    }
    void Draw(const char* cls, EFigureType t, UINT lc, CVdrawUtil& d) {
        auto fig = Make(cls, t, lc, &d);
        ASSERT_TRUE(fig);
        fig->DrawFigure();
    }
    std::unique_ptr<CDBDoc> m_doc;
    std::unique_ptr<rafttest::DocScope> m_scope;
};

}  // namespace

// Bearing: raft 1 below its box (x 5, y 0 - 1.5), sub-raft 2 at its centroid, raft 3 (no record)
// nothing; load case 0 gives each line its governing group, a load case both lines; a group the
// record lacks draws nothing for that raft.
TEST_F(RaftFigureTest, BearingTextsPointsAndGroups) {
    Build();
    struct Row {
        const char* name;
        UINT lc;
        std::vector<std::string> tails;
        std::vector<T_POINT2D> points;  // first line of each raft
    } rows[] = {
        {"governing", 0, {"0.80(3)", "0.90(5)", "2.00(5)", "3.00(5)"}, {{5, -1.5}, {65.0 / 3.0, 5.0 / 3.0}}},
        {"group 3: only raft 1", 3, {"0.80", "1.50"}, {{5, -1.5}}},
        {"group 5", 5, {"1.20", "0.90", "2.00", "3.00"}, {{5, -1.5}, {65.0 / 3.0, 5.0 / 3.0}}},
        {"group 7: no raft holds it", 7, {}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CVdrawUtil d;
        Draw("CFVDMTSBCheck_CZL", EFVDT_MTSB_CHECK_CZL, r.lc, d);
        const std::vector<rafttest::Text> t = rafttest::Texts(d);
        ASSERT_EQ(t.size(), r.tails.size());
        for (size_t i = 0; i < t.size(); ++i)
            EXPECT_TRUE(EndsWith(t[i].text, r.tails[i])) << t[i].text << " vs " << r.tails[i];
        // Each two-line block is centred on its point.
        for (size_t k = 0; k < r.points.size(); ++k) {
            EXPECT_NEAR(t[2 * k].at.x, r.points[k].x, 1e-9) << k;
            EXPECT_NEAR(0.5 * (t[2 * k].at.y + t[2 * k + 1].at.y), r.points[k].y, 1e-9) << k;
        }
    }
}

// Stability: the sliding line from the first map, the overturning line from the second; a group
// one map lacks writes only the other line, neither nothing; labels only with load case 0 (the
// governing group of each map).
TEST_F(RaftFigureTest, StabilityLines) {
    Options o;
    o.badTexts = {"G3 text", "G5 text", "G7 text"};  // the sheet's list offers 3, 5 and 7
    Build(o);
    struct Row {
        const char* name;
        UINT lc;
        std::vector<std::string> tails;
    } rows[] = {
        {"group 3: both", 3, {"2.00", "0.50"}},
        {"group 5: overturning only", 5, {"3.00"}},
        {"group 7: none", 7, {}},
        {"governing", 0, {"2.00(3)", "0.50(3)"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CVdrawUtil d;
        Draw("CFVDMTSBCheck_WDX", EFVDT_MTSB_CHECK_WDX, r.lc, d);
        const std::vector<rafttest::Text> t = rafttest::Texts(d);
        ASSERT_EQ(t.size(), r.tails.size());
        for (size_t i = 0; i < t.size(); ++i) EXPECT_TRUE(EndsWith(t[i].text, r.tails[i])) << t[i].text;
        if (t.size() == 2) {
            EXPECT_NEAR(0.5 * (t[0].at.y + t[1].at.y), -1.5, 1e-9);
        }
    }
}

// The stability load-case list: "%d: %s" per text longer than one character, each text once, and
// an entry 0 for all of them only with two or more; the formula lines as they stand.
TEST_F(RaftFigureTest, StabilityLoadCaseListAndFormula) {
    struct Row {
        const char* name;
        std::vector<const char*> texts;  // for groups 3, 5, 7
        std::vector<std::pair<UINT, std::string>> entries;
    } rows[] = {
        {"one text: no entry 0", {"1.0DL+1.0WX"}, {{3, "3: 1.0DL+1.0WX"}}},
        {"two texts", {"1.0DL+1.0WX", "风荷载"}, {{0, "最不利荷载组合"}, {3, "3: 1.0DL+1.0WX"}, {5, "5: 风荷载"}}},
        {"one character and a repeat left out", {"A", "1.0DL", "1.0DL"}, {{5, "5: 1.0DL"}}},
        {"one Chinese character is one character", {"风", "1.0DL"}, {{5, "5: 1.0DL"}}},
        {"none", {}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Options o;
        o.badTexts = r.texts;
        Build(o);
        auto fig = Make("CFVDMTSBCheck_WDX", EFVDT_MTSB_CHECK_WDX, 0, nullptr);
        ASSERT_TRUE(fig);
        std::map<UINT, CString> out;
        out[99] = "stale";
        fig->CollectLoadCases(out);
        ASSERT_EQ(out.size(), r.entries.size());
        size_t i = 0;
        for (const auto& [key, text] : out) {
            EXPECT_EQ(key, r.entries[i].first);
            EXPECT_EQ(std::string(text.GetString()), r.entries[i].second);
            ++i;
        }
    }
    auto fig = Make("CFVDMTSBCheck_WDX", EFVDT_MTSB_CHECK_WDX, 0, nullptr);
    CArray<COLORREF> colours;
    CString text;
    EXPECT_EQ(fig->GetDescription(colours, text), 1);
    EXPECT_EQ(std::string(text.GetString()),
              "抗滑移R1: [F1+F2+(Ep-Ea)*L]/(Ks*Q)\n抗倾覆R2:  Mr/(Kr*Mc)             ");
}

// Load centre: keyX 3 gives C (5, 3), V 1000 and Ex 0.2; keyY 5 gives Ey 0.3; the action point
// (5.2, 3.3). The texts show metres in either unit; the marks are at C / Cur2M with radii 500 mm,
// 100 mm (filled) and 300 mm, the cross ending on the 300 mm circle (d = 0.3 cos 45 = 0.212132 m).
TEST_F(RaftFigureTest, LoadCentreTextsAndMarks) {
    struct Row {
        const char* name;
        bool piles;
        double cur2m;
        std::vector<std::string> texts;
    } rows[] = {
        {"raft, m", false, 1.0,
         {"筏板形心坐标(m)(5.00, 3.00)", "总竖向荷载(含基础自重)1000.00(KN)", "作用点坐标(m)(5.20, 3.30)",
          "Ex = 0.20(m); Ey = 0.30(m)", "0.1*Wx/A = 0.17(m), 0.1*Wy/A = 0.10(m)"}},
        {"raft, mm", false, 0.001,
         {"筏板形心坐标(m)(5.00, 3.00)", "总竖向荷载(含基础自重)1000.00(KN)", "作用点坐标(m)(5.20, 3.30)",
          "Ex = 0.20(m); Ey = 0.30(m)", "0.1*Wx/A = 0.17(m), 0.1*Wy/A = 0.10(m)"}},
        {"pile group", true, 1.0,
         {"桩群反力中心(m)(5.00, 3.00)", "总竖向荷载(含基础自重)1000.00(KN)", "作用点坐标(m)(5.20, 3.30)",
          "Ex = 0.20(m); Ey = 0.30(m)", "桩群竖向承载力 = 3200.00(KN)"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Options o;
        o.piles = r.piles;
        Build(o);
        rafttest::UnitScope unit(r.cur2m);
        CVdrawUtil d;
        Draw("CFVDMTSBCheck_Center", EFVDT_MTSB_CHECK_Center, 0, d);
        const std::vector<rafttest::Text> t = rafttest::Texts(d);
        ASSERT_EQ(t.size(), r.texts.size());
        for (size_t i = 0; i < t.size(); ++i) EXPECT_EQ(t[i].text, r.texts[i]);
        const double k = 1.0 / r.cur2m;
        std::vector<double> radii;
        std::vector<std::pair<T_POINT2D, T_POINT2D>> lines;
        for (long id : d.GetFigureIds()) {
            const CvdFigure* f = d.GetFigure(id);
            if (f->GetKind() == VdKindCircle) {
                radii.push_back(f->m_radius);
                const T_POINT2D want = f->m_radius > 0.4 * k ? T_POINT2D{5 * k, 3 * k}
                                       : f->m_radius < 0.2 * k ? T_POINT2D{5 * k, 3 * k}
                                                              : T_POINT2D{5.2 * k, 3.3 * k};
                EXPECT_NEAR(f->m_points[0].x, want.x, 1e-6 * k);
                EXPECT_NEAR(f->m_points[0].y, want.y, 1e-6 * k);
            } else if (f->GetKind() == VdKindLine) {
                lines.push_back({f->m_points[0], f->m_points[1]});
                EXPECT_EQ(f->m_colour, 0xFFFFu);
            }
        }
        ASSERT_EQ(radii.size(), 3u);
        EXPECT_NEAR(radii[0], 0.5 * k, 1e-9 * k);
        EXPECT_NEAR(radii[1], 0.1 * k, 1e-9 * k);
        EXPECT_NEAR(radii[2], 0.3 * k, 1e-9 * k);
        ASSERT_EQ(lines.size(), 2u);
        const double dd = 0.3 * std::sqrt(0.5) * k;
        EXPECT_NEAR(lines[0].first.x, 5.2 * k - dd, 1e-6 * k);
        EXPECT_NEAR(lines[0].first.y, 3.3 * k - dd, 1e-6 * k);
        EXPECT_NEAR(lines[1].first.x, 5.2 * k + dd, 1e-6 * k);
        EXPECT_NEAR(lines[1].second.y, 3.3 * k + dd, 1e-6 * k);
        // The ends lie on the action point's circle.
        EXPECT_NEAR(std::hypot(lines[0].first.x - 5.2 * k, lines[0].first.y - 3.3 * k), 0.3 * k, 1e-6 * k);
    }
}

// Anti-floating: key 0 (the sheet offers no load case; W/F 150/100) 1500 below raft 1's box, the
// level of the water record; the sub-raft has no check and no text.
TEST_F(RaftFigureTest, AntiFloatingText) {
    Build();
    struct Row {
        const char* name;
        UINT lc;
        std::vector<std::string> texts;
    } rows[] = {
        {"key 0", 0,
         {"   W/F:1.50", "      水浮力:    100.00(KN)", "  建筑物自重:    150.00(KN)", "地下水位标高:     -2.00(m)"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CVdrawUtil d;
        Draw("CFVDMtsbCheck_KF", EFVDT_MTSB_CHECK_KF, r.lc, d);
        const std::vector<rafttest::Text> t = rafttest::Texts(d);
        ASSERT_EQ(t.size(), r.texts.size());
        for (size_t i = 0; i < t.size(); ++i) EXPECT_EQ(t[i].text, r.texts[i]);
        ASSERT_EQ(t.size(), 4u);
        EXPECT_NEAR(t[0].at.x, 5.0, 1e-9);
        EXPECT_NEAR(0.25 * (t[0].at.y + t[1].at.y + t[2].at.y + t[3].at.y), -1.5, 1e-9);
    }
}

// The stored row round trip, and a malformed text line refused.
TEST(RaftCheckRows, RoundTripAndBadText) {
    T_PCDMTSB_D r;
    r.fa = 120;
    r.m_mapBad[3] = "1.0DL+1.0WX";
    r.m_mapBad[12] = "风";
    r.m_mapLC[3] = Centre(1, 2, 3, {0.1, 0.2}, {0.3, 0.4});
    T_PCDMTSB_D back;
    ASSERT_TRUE(CheckRows::Decode(CheckRows::Encode(r), back));
    EXPECT_EQ(back.m_mapBad.size(), 2u);
    EXPECT_EQ(std::string(back.m_mapBad[12].GetString()), "风");
    LCCheckData_P c;
    ASSERT_TRUE(back.m_mapLC.GetVal(3, c));
    EXPECT_DOUBLE_EQ(c.m_CheckY.get_BaseR(), 0.4);
    struct Row {
        const char* name;
        const char* bad;
    } rows[] = {{"no tab", "3 text\n"}, {"no key", "\ttext\n"}, {"key not a number", "3x\ttext\n"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        T_PCDMTSB_ROW stored = CheckRows::Encode(r);
        stored.bad = row.bad;
        EXPECT_FALSE(CheckRows::Decode(stored, back));
    }
}
