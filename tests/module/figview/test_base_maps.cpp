// The base maps: each draws its table on its own layer; columns (circle for h < 0 only),
// footings with their joining lines, axes (a missing end stops the walk), mesh cells, pile data
// and the slab directions one metre long in the current length unit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "FoundationDoc.h"
#include "host/base/CurrentUnitCtrl.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/BaseMapDraw.h"
#include "module/figures/CFVDBaseMap.h"
#include "module/figures/FigureText.h"

namespace figview {

namespace {

// Entities of a kind, in drawing order.
std::vector<const CvdFigure*> OfKind(const CVdrawUtil& d, VdFigureKind kind) {
    std::vector<const CvdFigure*> out;
    for (long id : d.GetFigureIds())
        if (d.GetFigure(id)->GetKind() == kind) out.push_back(d.GetFigure(id));
    return out;
}

bool Near(const T_POINT2D& a, double x, double y) { return std::fabs(a.x - x) < 1e-9 && std::fabs(a.y - y) < 1e-9; }

// Whether pts holds (x, y).
bool Holds(const std::vector<T_POINT2D>& pts, double x, double y) {
    return std::any_of(pts.begin(), pts.end(), [&](const T_POINT2D& p) { return Near(p, x, y); });
}

// The small model every base map draws: see each test for the records it reads.
void BuildModel(PostDBBuilder& b) {
    b.AddNode(1, 0, 0, 0);
    AddPont(b, 1, 3, 4);    // footing and column
    AddPont(b, 2, 0, 0);
    AddPont(b, 3, 10, 0);
    AddPont(b, 4, 0, 8);
    AddPont(b, 5, 10, 8);
    AddPont(b, 6, 6, 4);    // pile
    // Footing 401: two steps, 2 x 2 under 1 x 1, joined.
    b.Add<DBT_MEMB>(401, Memb(MEMB_FOOTING, 1));
    T_COLF_D f;
    f.Initialize();
    f.nStep = 2;
    f.join = 1;
    f.cx = 3;
    f.cy = 4;
    f.step[0] = {2, 2, 0.5};
    f.step[1] = {1, 1, 0.5};
    b.Add<DBT_COLF>(401, f);
    // Column 101: circular, diameter 0.6.
    b.Add<DBT_MEMB>(101, Memb(MEMB_COLUMN, 1));
    T_COLM_D c{0.6, -1.0};
    b.Add<DBT_COLM>(101, c);
    // Wall 202 from (0, 0) to (10, 0); beam 201 from (0, 8) to (10, 8).
    T_MEMB_D w = Memb(MEMB_WALL, 2);
    w.aPont.Add(3);
    b.Add<DBT_MEMB>(202, w);
    b.Add<DBT_WALL>(202, T_WALL_D{0.3});
    T_MEMB_D bm = Memb(MEMB_BEAM, 4);
    bm.aPont.Add(5);
    b.Add<DBT_MEMB>(201, bm);
    T_BEAM_D beam;
    beam.Initialize();
    b.Add<DBT_BEAM>(201, beam);
    // Raft 402 over the four corners.
    T_MEMB_D r = Memb(MEMB_RAFT, 2);
    r.aPont.Add(3);
    r.aPont.Add(5);
    r.aPont.Add(4);
    b.Add<DBT_MEMB>(402, r);
    T_MTSB_D raft;
    raft.Initialize();
    raft.type = 1;
    raft.thick = 1.0;
    b.Add<DBT_MTSB>(402, raft);
    // Pile 403 at (6, 4): section 1 of diameter 0.6, 12 m long, 1500 kN.
    b.Add<DBT_MEMB>(403, Memb(MEMB_PILE, 6, 1));
    T_PISP_D sec;
    sec.Initialize();
    sec.d = 0.6;
    b.Add<DBT_PISP>(1, sec);
    T_PILE_D pile;
    pile.aMemb.Add(401);
    pile.length = 12.0;
    pile.capacity = 1500.0;
    b.Add<DBT_PILE>(403, pile);
    // Axis 1 along the wall.
    T_AXIS_D ax;
    ax.Initialize();
    ax.pont1 = 2;
    ax.pont2 = 3;
    b.Add<DBT_AXIS>(1, ax);
    // A mesh cell at (10, 20), 4 x 2, turned 30 degrees.
    T_SRCT_D cell{10, 20, 4, 2, 30};
    b.Add<DBT_SRCT>(1, cell);
}

class BaseMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        PostDBBuilder b;
        BuildModel(b);
        b.Install(m_doc);
    }
    CDataBase* DB() { return m_doc.GetMDBCtrl()->GetDBPost(); }
    // Draws the base map of the class into d.
    void DrawMap(const char* cls, CVdrawUtil& d) {
        std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject(cls));
        auto* fig = dynamic_cast<CFVDBase*>(obj.get());
        ASSERT_NE(fig, nullptr) << cls;
        fig->Display(&d);
        fig->DrawFigure();
    }

    CDBDoc m_doc;
    DocScope m_scope{m_doc};
};

}  // namespace

// Each base map made by its class name draws its records on its own layer (counts from the
// records of BuildModel) and nothing else; the slab-direction map has no table to read yet.
TEST_F(BaseMapTest, EachMapDrawsItsTableOnItsLayer) {
    struct Row {
        const char* cls;
        int layer;
        VdFigureKind kind;
        int count;
    } rows[] = {
        {"CFVDBaseMapQSNAxis", 26, VdKindLine, 1},
        {"CFVDBaseMapTopColumn", 10, VdKindCircle, 1},
        {"CFVDBaseMapTopWall", 11, VdKindPolyLine, 1},
        {"CFVDBaseMapQSNColf", 22, VdKindPolyLine, 2},  // two steps (and four joining lines)
        {"CFVDBaseMapQSNBeam", 20, VdKindPolyLine, 1},
        {"CFVDBaseMapQSNMtsb", 21, VdKindPolyLine, 1},
        {"CFVDBaseMapQSNPile", 23, VdKindCircle, 1},
        {"CFVDBaseMapQSNPileInfo", 24, VdKindText, 3},  // three lines of one pile
        {"CFVDBaseMapQSNSinkMesh", 27, VdKindRect, 1},
        {"CFVDBaseMapQSNSlabDir", 25, VdKindPolyLine, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        CVdrawUtil d;
        DrawMap(r.cls, d);
        EXPECT_EQ(static_cast<int>(OfKind(d, r.kind).size()), r.count);
        for (long id : d.GetFigureIds()) EXPECT_EQ(d.GetFigure(id)->GetLayer(), r.layer);
        const int lines = static_cast<int>(OfKind(d, VdKindLine).size());
        EXPECT_EQ(lines, std::string(r.cls) == "CFVDBaseMapQSNColf" ? 4 : r.kind == VdKindLine ? r.count : 0);
    }
}

TEST_F(BaseMapTest, ColumnIsACircleOnlyForNegativeDepth) {
    struct Row {
        const char* label;
        double b, h, angle;
        VdFigureKind kind;
        std::vector<T_POINT2D> corners;  // of the rectangle about (3, 4), by hand
    } rows[] = {
        {"h -1: a circle of diameter b", 0.6, -1.0, 0.0, VdKindCircle, {}},
        {"h 0: a (flat) rectangle", 0.6, 0.0, 0.0, VdKindPolyLine, {{2.7, 4.0}, {3.3, 4.0}}},
        {"0.6 x 0.4", 0.6, 0.4, 0.0, VdKindPolyLine, {{2.7, 3.8}, {3.3, 3.8}, {3.3, 4.2}, {2.7, 4.2}}},
        // turned 90: the b side runs along y
        {"0.6 x 0.4 turned 90", 0.6, 0.4, 90.0, VdKindPolyLine, {{3.2, 3.7}, {3.2, 4.3}, {2.8, 4.3}, {2.8, 3.7}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_MEMB_D m = Memb(MEMB_COLUMN, 1, 0, r.angle);
        DB()->Table<DBT_MEMB>().Set(101, m);
        DB()->Table<DBT_COLM>().Set(101, T_COLM_D{r.b, r.h});
        CVdrawUtil d;
        DrawBaseMapColumn(&d, 101);
        ASSERT_EQ(d.GetFigureCount(), 1);
        const CvdFigure* f = d.GetFigure(d.GetFigureIds()[0]);
        EXPECT_EQ(f->GetKind(), r.kind);
        if (r.kind == VdKindCircle) {
            EXPECT_TRUE(Near(f->m_points[0], 3.0, 4.0));
            EXPECT_DOUBLE_EQ(f->m_radius, 0.3);
            continue;
        }
        EXPECT_TRUE(f->m_closed);
        for (const T_POINT2D& c : r.corners) EXPECT_TRUE(Holds(f->m_points, c.x, c.y)) << c.x << ", " << c.y;
    }
}

TEST(FootingOutlines, JoiningLinesOnlyForJoinedEqualOutlines) {
    auto square = [](double half, int closed) {
        T_POLYGON2D p;
        const double pts[4][2] = {{-half, -half}, {half, -half}, {half, half}, {-half, half}};
        for (const auto& q : pts) p.Add(T_POINT2D(3 + q[0], 4 + q[1]));
        if (closed) p.MakeColse();
        return p;
    };
    T_POLYGON2D pentagon = square(0.5, 0);
    pentagon.Add(T_POINT2D(3.0, 5.0));
    struct Row {
        const char* label;
        std::vector<T_POLYGON2D> outlines;
        BOOL circle, join;
        int polylines, circles, lines;
    } rows[] = {
        {"two closed squares, joined: one line per corner", {square(1, 1), square(0.5, 1)}, FALSE, TRUE, 2, 0, 4},
        {"two open squares, joined", {square(1, 0), square(0.5, 0)}, FALSE, TRUE, 2, 0, 4},
        {"not joined", {square(1, 1), square(0.5, 1)}, FALSE, FALSE, 2, 0, 0},
        {"different point counts", {square(1, 0), pentagon}, FALSE, TRUE, 2, 0, 0},
        {"one step", {square(1, 1)}, FALSE, TRUE, 1, 0, 0},
        {"circular: circles only", {square(1, 1), square(0.5, 1)}, TRUE, TRUE, 0, 2, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<T_POLYGON2D> outlines;
        for (const T_POLYGON2D& p : r.outlines) outlines.Add(p);
        CArray<double> diameters;
        diameters.Add(2.0);
        diameters.Add(1.0);
        CVdrawUtil d;
        DrawFootingOutlines(&d, outlines, r.circle, diameters, T_POINT2D(3, 4), r.join);
        EXPECT_EQ(static_cast<int>(OfKind(d, VdKindPolyLine).size()), r.polylines);
        EXPECT_EQ(static_cast<int>(OfKind(d, VdKindCircle).size()), r.circles);
        const auto lines = OfKind(d, VdKindLine);
        ASSERT_EQ(static_cast<int>(lines.size()), r.lines);
        for (const CvdFigure* l : lines) {
            // Corner j of the inner step is corner j of the outer one pulled halfway to (3, 4).
            EXPECT_NEAR(l->m_points[1].x - 3.0, 0.5 * (l->m_points[0].x - 3.0), 1e-12);
            EXPECT_NEAR(l->m_points[1].y - 4.0, 0.5 * (l->m_points[0].y - 4.0), 1e-12);
        }
        if (r.circle) {
            EXPECT_DOUBLE_EQ(OfKind(d, VdKindCircle)[0]->m_radius, 1.0);
            EXPECT_DOUBLE_EQ(OfKind(d, VdKindCircle)[1]->m_radius, 0.5);
        }
    }
}

// Points 2 (0, 0), 3 (10, 0), 4 (0, 8); point 99 does not exist.
TEST_F(BaseMapTest, AxesStopAtAMissingEnd) {
    struct Ax {
        UINT p1, p2;
        double chord;
    };
    struct Row {
        const char* label;
        std::vector<Ax> axes;
        int lines, arcs;
    } rows[] = {
        {"straight, missing end, straight: only the first", {{2, 3, 0}, {2, 99, 0}, {2, 4, 0}}, 1, 0},
        {"three good axes", {{2, 3, 0}, {3, 4, 0}, {2, 4, 0}}, 3, 0},
        {"an arc that cannot be formed is skipped", {{2, 99, 2.0}, {2, 4, 0}}, 1, 0},
        {"an arc and a line", {{2, 3, 2.0}, {2, 4, 0}}, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        DB()->Table<DBT_AXIS>().Clear();
        UINT key = 1;
        for (const Ax& a : r.axes) {
            T_AXIS_D ax;
            ax.Initialize();
            ax.pont1 = a.p1;
            ax.pont2 = a.p2;
            ax.chord = a.chord;
            DB()->Table<DBT_AXIS>().Set(key++, ax);
        }
        CVdrawUtil d;
        DrawMap("CFVDBaseMapQSNAxis", d);
        const auto lines = OfKind(d, VdKindLine);
        EXPECT_EQ(static_cast<int>(lines.size()), r.lines);
        ASSERT_EQ(static_cast<int>(OfKind(d, VdKindArc).size()), r.arcs);
        if (!lines.empty()) {
            EXPECT_TRUE(Near(lines[0]->m_points[0], 0, 0));
        }
        if (r.arcs) {
            // Through (0, 0), (10, 0) and the middle (5, 2): centre (5, k) with
            // 25 + k^2 = (2 - k)^2, k = -5.25, radius 2 + 5.25 = 7.25.
            const CvdFigure* arc = OfKind(d, VdKindArc)[0];
            EXPECT_TRUE(Near(arc->m_points[0], 5.0, -5.25));
            EXPECT_NEAR(arc->m_radius, 7.25, 1e-9);
        }
    }
}

TEST_F(BaseMapTest, MeshCellIsItsTurnedRectangle) {
    CVdrawUtil d;
    DrawBaseMapSinkCell(&d, 1, DB());
    const auto rects = OfKind(d, VdKindRect);
    ASSERT_EQ(rects.size(), 1u);
    // Corners (+-2, +-1) turned 30 degrees about (10, 20): cos 30 = 0.8660254, sin 30 = 0.5.
    const double c = std::sqrt(3.0) / 2.0, s = 0.5;
    const double local[4][2] = {{-2, -1}, {2, -1}, {2, 1}, {-2, 1}};
    for (const auto& p : local) {
        const double x = 10 + p[0] * c - p[1] * s, y = 20 + p[0] * s + p[1] * c;
        EXPECT_TRUE(Holds(rects[0]->m_points, x, y)) << x << ", " << y;
    }
}

TEST_F(BaseMapTest, PileDataText) {
    struct Row {
        const char* label;
        int precision;
        const char* text;
    } rows[] = {
        {"the figures' precision 2", 2, "D:0.60\nL:12.00\nRa:1500.00"},
        {"precision 3", 3, "D:0.600\nL:12.000\nRa:1500.000"},
        // A figure without a precision of its own would write "D:1".
        {"no precision set", 0, "D:0.60\nL:12.00\nRa:1500.00"},
    };
    const int saved = GetFigurePrecision();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        SetFigurePrecision(r.precision);
        CString text;
        T_POINT2D c;
        double dia = 0.0;
        ASSERT_TRUE(MakePileInfoText(403, DB(), text, c, dia));
        EXPECT_STREQ(text.GetString(), r.text);
        EXPECT_EQ(GetFigurePrecision(), r.precision) << "the precision is restored";
        EXPECT_TRUE(Near(c, 6, 4));
    }
    SetFigurePrecision(saved);
    CString text;
    T_POINT2D c;
    double dia = 0.0;
    EXPECT_FALSE(MakePileInfoText(401, DB(), text, c, dia)) << "not a pile";
}

// A 4 x 2 outline from (0, 0): centre (2, 1). X at 0 degrees, Y at 90.
TEST(SlabDirection, ArrowsAreOneMetreInTheCurrentUnit) {
    struct Row {
        const char* label;
        double cur2m;
        double len;  // one metre in the unit
    } rows[] = {{"metres", 1.0, 1.0}, {"millimetres", 0.001, 1000.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CurrentUnitCtrl::SetLengthUnit(r.cur2m);
        CVdrawUtil d;
        d.AddLayer(25, "slab", 0xFF8080, 0, VdPenSolid);
        d.AddLayer(50, "text", 0x00FF00, 0, VdPenSolid);
        T_POLYGON2D outline;
        for (const auto& p : {T_POINT2D(0, 0), T_POINT2D(4, 0), T_POINT2D(4, 2), T_POINT2D(0, 2)}) outline.Add(p);
        CFVDBaseMapQSNSlabDir::DrawSlabDir(outline, 0.0, 90.0, &d, 25, 50);
        CurrentUnitCtrl::SetLengthUnit(1.0);
        const auto polys = OfKind(d, VdKindPolyLine);
        ASSERT_EQ(polys.size(), 1u);
        EXPECT_EQ(polys[0]->GetLayer(), 25);
        EXPECT_TRUE(polys[0]->m_closed);
        EXPECT_EQ(polys[0]->m_weight, 100);
        EXPECT_EQ(polys[0]->m_colour, 0x4080FFu);
        const auto arrows = OfKind(d, VdKindArrow);
        ASSERT_EQ(arrows.size(), 2u);
        const double tips[2][2] = {{2.0 + r.len, 1.0}, {2.0, 1.0 + r.len}};
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(arrows[i]->GetLayer(), 50);
            EXPECT_TRUE(Near(arrows[i]->m_points[0], 2.0, 1.0));
            EXPECT_NEAR(arrows[i]->m_points[1].x, tips[i][0], 1e-9);
            EXPECT_NEAR(arrows[i]->m_points[1].y, tips[i][1], 1e-9);
            EXPECT_NEAR(arrows[i]->m_headSize, 0.25 * r.len, 1e-9);
            EXPECT_EQ(arrows[i]->m_colour, 255u);
            EXPECT_EQ(arrows[i]->m_colour2, 255u);
        }
        const auto texts = OfKind(d, VdKindText);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_STREQ(texts[0]->m_text.GetString(), "X");
        EXPECT_STREQ(texts[1]->m_text.GetString(), "Y");
        EXPECT_DOUBLE_EQ(texts[1]->m_angle, 90.0);
    }
}

}  // namespace figview
