// The raft punching and shear sheets (502 to 505 under columns and wall groups, 516, 517, 521,
// 506, 507 in regions) over a small seeded model.
//
// The model (m): main raft 1 (0,0)-(20,10) and sub-raft 2 (30,0)-(40,10). Columns 0.6 x 0.4:
// 11 (2,2) at 135 degrees, 12 (6,2) at 200, 13 (10,2) at -30, 14 (8,9) at 0, 15 (32,2) at 0.
// Walls 0.2 thick: 21 (4,6)-(8,6), 22 (8,6)-(8,9); a foundation beam 23 (10,6)-(14,6). Basic
// groups 101, 103 and 107 (number = key; no result holds 107). A check (F, R) shows R / F.
//
// Raft 1, punching map: columns 11 {101: 150/100, 103: 80/100}, 12 {101: 50/100, 103: 200/100},
// 13 {101: 120/100}; wall groups 1 {21, 22} 300/100, 2 {21, 23} 90/100 and 3 {21, 14} 95/100;
// regions 4 (kind 2, 250/100), 5 (kind 3, 60/100), 6 (kind 4, 130/100).
// Raft 1, shear map: column 11 110/100, wall group 1 210/100, regions 7 (kind 2, 170/100),
// 8 (kind 3, 180/100), 9 (kind 4, 190/100), 16 (kind 3, 30/100).
// Sub-raft 2: no punching results; shear: column 15 40/100, region 10 (kind 3, 45/100).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/base/CurrentUnitCtrl.h"
#include "host/check/IsofCheckToolUtil.h"
#include "host/check/RaftCheckTables.h"
#include "host/db/CDBDoc.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDCheckFigures.h"
#include "tests/module/figraft/RaftFigureTestUtil.h"

namespace {

UINT g_nextPont = 1000;

void AddMemb(PostDBBuilder& b, UINT key, int type, double angle, std::vector<std::pair<double, double>> pts) {
    T_MEMB_D m;
    m.type = type;
    m.angle = angle;
    for (const auto& [x, y] : pts) {
        T_PONT_D p;
        p.x = x, p.y = y;
        b.Add<DBT_PONT>(g_nextPont, p);
        m.aPont.Add(g_nextPont++);
    }
    b.Add<DBT_MEMB>(key, m);
}

SlabCJCheckData_P Result(int kind, std::vector<std::pair<UINT, CheckData_P>> checks, std::vector<UINT> membs = {},
                         std::vector<T_POINT2D> poly = {}) {
    SlabCJCheckData_P r;
    r.m_nType = kind;
    for (auto& [g, c] : checks) r.m_mapCheck.SetAt(g, c);
    for (UINT m : membs) r.m_aMemb.Add(m);
    for (const T_POINT2D& p : poly) r.m_aPoly.Add(p);
    return r;
}

std::vector<T_POINT2D> Box(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

void BuildCjModel(PostDBBuilder& b) {
    b.AddNode(1, 0, 0, 0);
    AddMemb(b, 1, MEMB_RAFT, 0, {{0, 0}, {20, 0}, {20, 10}, {0, 10}});
    b.Add<DBT_MTSB>(1, T_MTSB_D{1, 0, 1.0});
    AddMemb(b, 2, MEMB_RAFT, 0, {{30, 0}, {40, 0}, {40, 10}, {30, 10}});
    b.Add<DBT_MTSB>(2, T_MTSB_D{1, 1, 1.0});
    const struct {
        UINT key;
        double x, y, angle;
    } columns[] = {{11, 2, 2, 135}, {12, 6, 2, 200}, {13, 10, 2, -30}, {14, 8, 9, 0}, {15, 32, 2, 0}};
    for (const auto& c : columns) {
        AddMemb(b, c.key, MEMB_COLUMN, c.angle, {{c.x, c.y}});
        b.Add<DBT_COLM>(c.key, T_COLM_D{0.6, 0.4});
    }
    AddMemb(b, 21, MEMB_WALL, 0, {{4, 6}, {8, 6}});
    b.Add<DBT_WALL>(21, T_WALL_D{0.2});
    AddMemb(b, 22, MEMB_WALL, 0, {{8, 6}, {8, 9}});
    b.Add<DBT_WALL>(22, T_WALL_D{0.2});
    AddMemb(b, 23, MEMB_BEAM, 0, {{10, 6}, {14, 6}});
    b.Add<DBT_BEAM>(23, T_BEAM_D{0, 0, 0});
    for (UINT g : {101u, 103u, 107u}) {
        T_CKLG_D k;
        k.Initialize();
        k.number = static_cast<int>(g);
        k.kind = LDGP_KIND_BASIC;
        std::snprintf(k.sort, sizeof(k.sort), "G%u", g);
        b.Add<DBT_CKLG>(g, k);
    }
    T_PCDMTSB_D r;
    r.fa = 100;
    r.m_mapCQ[11] = Result(0, {{101, {100, 150}}, {103, {100, 80}}});
    r.m_mapCQ[12] = Result(0, {{101, {100, 50}}, {103, {100, 200}}});
    r.m_mapCQ[13] = Result(0, {{101, {100, 120}}});
    r.m_mapCQ[1] = Result(1, {{101, {100, 300}}}, {21, 22});
    r.m_mapCQ[2] = Result(1, {{101, {100, 90}}}, {21, 23});
    r.m_mapCQ[3] = Result(1, {{101, {100, 95}}}, {21, 14});
    r.m_mapCQ[4] = Result(2, {{101, {100, 250}}}, {}, Box(12, 4, 16, 8));
    r.m_mapCQ[5] = Result(3, {{101, {100, 60}}}, {}, Box(1, 6, 3, 9));
    r.m_mapCQ[6] = Result(4, {{101, {100, 130}}}, {}, Box(16, 0, 20, 4));
    r.m_mapJQ[11] = Result(0, {{101, {100, 110}}});
    r.m_mapJQ[1] = Result(1, {{101, {100, 210}}}, {21, 22});
    r.m_mapJQ[7] = Result(2, {{101, {100, 170}}}, {}, Box(12, 4, 16, 8));
    r.m_mapJQ[8] = Result(3, {{101, {100, 180}}}, {}, Box(1, 6, 3, 9));
    r.m_mapJQ[9] = Result(4, {{101, {100, 190}}}, {}, Box(16, 0, 20, 4));
    r.m_mapJQ[16] = Result(3, {{101, {100, 30}}}, {}, Box(16, 6, 19, 9));
    b.Add<DBT_PCDMTSB>(1, CheckRows::Encode(r));
    T_PCDMTSB_D s;
    s.fa = 100;
    s.m_mapJQ[15] = Result(0, {{101, {100, 40}}});
    s.m_mapJQ[10] = Result(3, {{101, {100, 45}}}, {}, Box(31, 5, 35, 9));
    b.Add<DBT_PCDMTSB>(2, CheckRows::Encode(s));
}

std::vector<const CvdFigure*> Polylines(const CVdrawUtil& d) {
    std::vector<const CvdFigure*> out;
    for (long id : d.GetFigureIds())
        if (d.GetFigure(id)->GetKind() == VdKindPolyLine) out.push_back(d.GetFigure(id));
    return out;
}

std::vector<std::string> Sorted(const std::vector<rafttest::Text>& t) {
    std::vector<std::string> out;
    for (const rafttest::Text& x : t) out.push_back(x.text);
    std::sort(out.begin(), out.end());
    return out;
}

const rafttest::Text* Find(const std::vector<rafttest::Text>& t, const std::string& text) {
    for (const rafttest::Text& x : t)
        if (x.text == text) return &x;
    return nullptr;
}

// The two length units the drawing tests run in.
const struct UnitRow {
    const char* name;
    double cur2m;
} kUnits[] = {{"m", 1.0}, {"mm", 0.001}};

class RaftCJFigureTest : public ::testing::Test {
protected:
    void SetUp() override {
        PostDBBuilder b;
        BuildCjModel(b);
        m_doc = std::make_unique<CDBDoc>();
        b.Install(*m_doc);
        m_scope = std::make_unique<rafttest::DocScope>(*m_doc);
    }
    std::unique_ptr<CFVDBase> Make(const char* cls, int type, UINT lc, CVdrawUtil* d) {
        return rafttest::MakeFigure(cls, static_cast<EFigureType>(type), lc, d);
    }
    std::vector<rafttest::Text> Draw(const char* cls, int type, UINT lc, CVdrawUtil& d) {
        auto fig = Make(cls, type, lc, &d);
        if (fig) fig->DrawFigure();
        return rafttest::Texts(d);
    }
    std::unique_ptr<CDBDoc> m_doc;
    std::unique_ptr<rafttest::DocScope> m_scope;
};

}  // namespace

// Each sheet reads its own map and kind of object: group 101 selected, labels empty. Wall groups
// holding a beam (2) or a column (3) have no text; the sub-raft has no punching results and
// shows only on the shear sheets.
TEST_F(RaftCJFigureTest, EachSheetShowsItsMapAndKind) {
    struct Row {
        const char* cls;
        int type;
        const char* description;
        bool region;
        std::vector<std::string> texts;  // sorted
    } rows[] = {
        {"CFVDMTSBCheck_ColCQ", 502, "冲切比", false, {"比值:0.50", "比值:1.20", "比值:1.50"}},
        {"CFVDMTSBCheck_ColJQ", 503, "剪切比", false, {"比值:0.40", "比值:1.10"}},
        {"CFVDMTSBCheck_WallCQ", 504, "冲切比", false, {"比值:3.00"}},
        {"CFVDMTSBCheck_WallJQ", 505, "剪切比", false, {"比值:2.10"}},
        {"CFVDMtsbCheck_NT", 516, "剪切比", true, {"比值:0.30", "比值:0.45", "比值:1.80"}},
        {"CFVDMtsbCheck_NTCQ", 517, "冲切比", true, {"比值:0.60"}},
        {"CFVDMtsbCheck_BH", 521, "剪切比", true, {"比值:1.90"}},
        {"CFVDMTSBCheck_BotSlabCJ", 506, "冲切比", true, {"比值:2.50"}},
        {"CFVDMTSBCheck_BotSlabJQ", 507, "剪切比", true, {"比值:1.70"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        CVdrawUtil d;
        const std::vector<rafttest::Text> t = Draw(r.cls, r.type, 101, d);
        EXPECT_EQ(Sorted(t), r.texts);
        for (const rafttest::Text& x : t) EXPECT_EQ(x.layer, FVD_LAYER_TEXT);
        auto fig = Make(r.cls, r.type, 101, nullptr);
        CArray<COLORREF> colours;
        CString text;
        EXPECT_EQ(fig->GetDescription(colours, text), 1);
        EXPECT_EQ(std::string(text.GetString()), r.description);
        // Region sheets outline every region they write in; the others draw no outline.
        EXPECT_EQ(Polylines(d).size(), r.region ? t.size() : 0u);
    }
}

// With load case 0 each object names its own governing group (the smallest ratio): column 11
// group 103 (0.80), column 12 group 101 (0.50); a load case the results lack draws nothing.
TEST_F(RaftCJFigureTest, GoverningGroupPerObject) {
    struct Row {
        const char* name;
        UINT lc;
        std::vector<std::string> texts;
    } rows[] = {
        {"governing", 0, {"比值:0.50(101)", "比值:0.80(103)", "比值:1.20(101)"}},
        {"group 103", 103, {"比值:0.80", "比值:2.00"}},
        {"group 107: none", 107, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CVdrawUtil d;
        EXPECT_EQ(Sorted(Draw("CFVDMTSBCheck_ColCQ", 502, r.lc, d)), r.texts);
    }
}

// Column texts turn by the member's angle folded into its quarter turn: 135 -> 45, 200 -> 20,
// -30 (330) -> 60; the text stands in the column's outline, at most its half diagonal
// hypot(0.3, 0.2) = 0.3606 m from the centre.
TEST_F(RaftCJFigureTest, ColumnAnglesFolded) {
    CVdrawUtil d;
    const std::vector<rafttest::Text> t = Draw("CFVDMTSBCheck_ColCQ", 502, 101, d);
    struct Row {
        const char* text;
        double angle;
        T_POINT2D centre;
    } rows[] = {{"比值:1.50", 45, {2, 2}}, {"比值:0.50", 20, {6, 2}}, {"比值:1.20", 60, {10, 2}}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        const rafttest::Text* x = Find(t, r.text);
        ASSERT_NE(x, nullptr);
        EXPECT_NEAR(x->angle, r.angle, 1e-9);
        EXPECT_LE(std::hypot(x->at.x - r.centre.x, x->at.y - r.centre.y), std::hypot(0.3, 0.2) + 1e-9);
        EXPECT_EQ(x->colour, r.text == std::string("比值:0.50") ? 0x0000FFu : 0x00FF00u);
    }
}

// The wall group {21, 22} stands in its rectangle along the longer wall 21 (angle 0): x 4..8.1
// (wall 21 from 4, wall 22 widened to 8.1), y 5.9..9 (wall 21 widened to 5.9, wall 22 up to 9):
// 4.1 x 3.1 about (6.05, 7.45); its text at the top middle (6.05, 9). With the unit set to mm
// everything is x 1000 but the section, which is in mm either way.
TEST_F(RaftCJFigureTest, WallGroupRectangleAndUnits) {
    for (const UnitRow& r : kUnits) {
        SCOPED_TRACE(r.name);
        rafttest::UnitScope unit(r.cur2m);
        // The model's points are in the current unit: scale them with it.
        PostDBBuilder b;
        BuildCjModel(b);
        const double k = 1.0 / r.cur2m;
        CDBDoc doc;
        b.Install(doc);
        rafttest::DocScope scope(doc);
        CDataBase* db = doc.GetMDBCtrl()->GetDBPost();
        for (UINT key : db->Table<DBT_PONT>().Keys()) {
            T_PONT_D p = *db->Table<DBT_PONT>().Find(key);
            p.x *= k, p.y *= k;
            db->Table<DBT_PONT>().Set(key, p);
        }
        for (UINT key : {21u, 22u}) db->Table<DBT_WALL>().Set(key, T_WALL_D{0.2 * k});
        CVdrawUtil d;
        const std::vector<rafttest::Text> t = Draw("CFVDMTSBCheck_WallCQ", 504, 101, d);
        ASSERT_EQ(t.size(), 1u);
        EXPECT_NEAR(t[0].angle, 0.0, 1e-9);
        EXPECT_NEAR(t[0].at.x, 6.05 * k, 1e-6 * k);
        EXPECT_NEAR(t[0].at.y, 9.0 * k, 1e-6 * k);
        double angle = -1.0;
        Check_Colm_D section;
        T_POINT2D centre;
        CArray<UINT, UINT> walls;
        walls.Add(21);
        walls.Add(22);
        ASSERT_TRUE(CIsofCheckToolUtil::s_GetUpPolyInfo(walls, angle, section, centre, 1));
        EXPECT_NEAR(section.b, 4100.0, 1e-6);  // mm whatever the unit
        EXPECT_NEAR(section.h, 3100.0, 1e-6);
        EXPECT_NEAR(centre.x, 6.05 * k, 1e-6 * k);
        EXPECT_NEAR(centre.y, 7.45 * k, 1e-6 * k);
        walls.Add(23);
        EXPECT_FALSE(CIsofCheckToolUtil::s_GetUpPolyInfo(walls, angle, section, centre, 1));
    }
}

// The wall-group rectangle on its own: along the longest wall in reading order, spanning every
// wall widened by its thickness.
TEST(WallGroupBox, AlongTheLongestWall) {
    struct Row {
        const char* name;
        std::vector<T_WALL_SEGMENT> walls;
        bool ok;
        double angle, b, h;
        T_POINT2D centre;
    } rows[] = {
        {"one wall along x", {{{0, 0}, {4, 0}, 0.2}}, true, 0, 4, 0.2, {2, 0}},
        // Drawn top to bottom: read bottom to top, 90 degrees.
        {"one wall drawn downwards", {{{1, 5}, {1, 2}, 0.3}}, true, 90, 3, 0.3, {1, 3.5}},
        // Drawn right to left at 45 degrees: read left to right; length 2 sqrt 2.
        {"diagonal", {{{2, 2}, {0, 0}, 0.0}}, true, 45, 2 * std::sqrt(2.0), 0, {1, 1}},
        // The 3 m wall governs the direction (90): along it y -0.1..3 (the 2 m wall widened
        // below), across it x 0..2.1 (the 3 m wall widened right).
        {"L, longer wall second", {{{0, 0}, {2, 0}, 0.2}, {{2, 0}, {2, 3}, 0.2}}, true, 90, 3.1, 2.1, {1.05, 1.45}},
        {"no wall", {}, false, 0, 0, 0, {0, 0}},
        {"a wall of no length", {{{1, 1}, {1, 1}, 0.2}}, false, 0, 0, 0, {0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        double angle = 0, b = 0, h = 0;
        T_POINT2D c;
        ASSERT_EQ(CIsofCheckToolUtil::s_GetWallGroupBox(r.walls, angle, b, h, c), r.ok ? TRUE : FALSE);
        if (!r.ok) continue;
        EXPECT_NEAR(angle, r.angle, 1e-9);
        EXPECT_NEAR(b, r.b, 1e-9);
        EXPECT_NEAR(h, r.h, 1e-9);
        EXPECT_NEAR(c.x, r.centre.x, 1e-9);
        EXPECT_NEAR(c.y, r.centre.y, 1e-9);
    }
}

// Region sheets: the outline (stored in m) drawn closed on the raft sub-element layer at
// 1 / Cur2M, the text on the text layer at the region's centre; each region's text in its own
// colour though one text block serves a raft's regions (core-tube shear: 1.80 green and 0.30 red
// in raft 1, 0.45 red in sub-raft 2).
TEST_F(RaftCJFigureTest, RegionOutlineAndText) {
    for (const UnitRow& r : kUnits) {
        SCOPED_TRACE(r.name);
        rafttest::UnitScope unit(r.cur2m);
        const double k = 1.0 / r.cur2m;
        CVdrawUtil d;
        const std::vector<rafttest::Text> t = Draw("CFVDMtsbCheck_NT", 516, 101, d);
        const std::vector<const CvdFigure*> polys = Polylines(d);
        ASSERT_EQ(polys.size(), 3u);
        // Raft 1's two regions in the map's order, then the sub-raft's.
        const bool tubeFirst = std::fabs(polys[0]->m_points[0].x - 1 * k) < 1e-6 * k;
        const std::vector<T_POINT2D> want[] = {tubeFirst ? Box(1, 6, 3, 9) : Box(16, 6, 19, 9),
                                               tubeFirst ? Box(16, 6, 19, 9) : Box(1, 6, 3, 9), Box(31, 5, 35, 9)};
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(polys[i]->GetLayer(), FVD_LAYER_SUBELEM);
            EXPECT_FALSE(polys[i]->m_fill);
            EXPECT_TRUE(polys[i]->m_closed);
            ASSERT_EQ(polys[i]->m_points.size(), 4u);
            for (size_t j = 0; j < 4; ++j) {
                EXPECT_NEAR(polys[i]->m_points[j].x, want[i][j].x * k, 1e-6 * k);
                EXPECT_NEAR(polys[i]->m_points[j].y, want[i][j].y * k, 1e-6 * k);
            }
        }
        const struct {
            const char* text;
            T_POINT2D centre;
            COLORREF colour;
        } texts[] = {{"比值:1.80", {2, 7.5}, 0x00FF00}, {"比值:0.30", {17.5, 7.5}, 0x0000FF},
                     {"比值:0.45", {33, 7}, 0x0000FF}};
        ASSERT_EQ(t.size(), 3u);
        for (const auto& w : texts) {
            const rafttest::Text* x = Find(t, w.text);
            ASSERT_NE(x, nullptr) << w.text;
            EXPECT_EQ(x->layer, FVD_LAYER_TEXT);
            EXPECT_NEAR(x->at.x, w.centre.x * k, 1e-6 * k);
            EXPECT_NEAR(x->at.y, w.centre.y * k, 1e-6 * k);
            EXPECT_EQ(x->colour, w.colour);
        }
    }
}

// The wall sheets draw top walls (base map 33) after the figure's base maps; the others do not;
// GetCheckMap copies the sheet's map and refuses no record.
TEST_F(RaftCJFigureTest, BaseMapsAndCheckMaps) {
    struct Row {
        const char* cls;
        int type;
        bool walls;
    } rows[] = {{"CFVDMTSBCheck_ColCQ", 502, false}, {"CFVDMTSBCheck_ColJQ", 503, false},
                {"CFVDMTSBCheck_WallCQ", 504, true}, {"CFVDMTSBCheck_WallJQ", 505, true},
                {"CFVDMtsbCheck_NT", 516, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        auto fig = Make(r.cls, r.type, 0, nullptr);
        std::list<EFigureType> maps;
        fig->GetBaseMapList(maps);
        ASSERT_FALSE(maps.empty());
        EXPECT_EQ(maps.back() == EFVDT_BaseMap_Top_Wall, r.walls);
        EXPECT_EQ(maps.front(), EFVDT_BaseMap_Top_Column);
    }
    T_PCDMTSB_D rec;
    rec.m_mapCQ[1] = Result(3, {{101, {1, 2}}});
    rec.m_mapJQ[2] = Result(3, {{101, {1, 2}}});
    rec.m_mapJQ[3] = Result(4, {{101, {1, 2}}});
    struct MapRow {
        const char* cls;
        int type;
        int kind;
        std::vector<UINT> keys;
    } maps[] = {{"CFVDMtsbCheck_NT", 516, 3, {2, 3}},       {"CFVDMtsbCheck_NTCQ", 517, 3, {1}},
                {"CFVDMtsbCheck_BH", 521, 4, {2, 3}},       {"CFVDMTSBCheck_BotSlabCJ", 506, 2, {1}},
                {"CFVDMTSBCheck_BotSlabJQ", 507, 2, {2, 3}}};
    for (const MapRow& r : maps) {
        SCOPED_TRACE(r.cls);
        auto fig = Make(r.cls, r.type, 0, nullptr);
        auto* region = dynamic_cast<CFVDMtsbCheck_NT*>(fig.get());
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(region->GetCJType(), r.kind);
        SlabCJCheckMap out;
        out[99] = Result(0, {});
        EXPECT_EQ(region->GetCheckMap(&rec, out), 1);
        std::vector<UINT> keys;
        for (POSITION pos = out.GetStartPosition(); pos;) {
            UINT k;
            SlabCJCheckData_P v;
            out.GetNextAssoc(pos, k, v);
            keys.push_back(k);
        }
        std::sort(keys.begin(), keys.end());
        EXPECT_EQ(keys, r.keys);
        EXPECT_EQ(region->GetCheckMap(nullptr, out), 0);
        EXPECT_EQ(out.GetCount(), 0);
    }
}
