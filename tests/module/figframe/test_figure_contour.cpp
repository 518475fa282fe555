// The figure contour (strip lines, legend, shaded map) and the settlement sheets' value rules.
#include <gtest/gtest.h>

#include <cmath>

#include "host/db/CDBDoc.h"
#include "host/grx/CContourSetDlg.h"
#include "platform/ui/CUiDriver.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDBase.h"
#include "module/figures/CFVDSinkFigures.h"

namespace {

// A contour figure whose outlines the test gives (none: the database has no model).
class ContourFigure : public CFVDBase {
public:
    std::vector<std::vector<T_POINT2D>> outlines;
    int CollectContourOutlines(std::vector<T_MEMBDLG_3DPOINT_LIST_ITEM>& list) override {
        list.clear();
        for (const auto& o : outlines) {
            T_MEMBDLG_3DPOINT_LIST_ITEM item;
            for (const T_POINT2D& p : o) item.Add(T_MEMBDLG_3DPOINT(p.x, p.y, 0.0));
            list.push_back(item);
        }
        return 1;
    }
    void Attach(CVdrawUtil* d) { m_pDrawing = d; }
    // A tool state set by hand: grid 0..8 x 0..4, nx 4, ny 2, the given levels and strips.
    void SetGrid(std::vector<double> levels, std::vector<std::vector<std::vector<int>>> strips) {
        for (int i = 0; i < 3; ++i) m_ContourPoints.push_back(T_POINT3D{double(i), 0.0, 0.0});
        m_ContourPar.nManyPoints = 0;
        SetModify(0);
        CContourTool& t = m_ContourTool;
        t.m_dXFrom = 0;
        t.m_dXTo = 8;
        t.m_dYFrom = 0;
        t.m_dYTo = 4;
        t.m_nx = 4;
        t.m_ny = 2;
        t.m_Levels = std::move(levels);
        t.m_Strips = std::move(strips);
    }
};

std::vector<const CvdFigure*> Figures(const CVdrawUtil& d, VdFigureKind kind) {
    std::vector<const CvdFigure*> out;
    for (long id : d.GetFigureIds())
        if (const CvdFigure* f = d.GetFigure(id); f && f->GetKind() == kind) out.push_back(f);
    return out;
}

const std::vector<T_POINT2D> kBox = {{0, 0}, {8, 0}, {8, 4}, {0, 4}};

TEST(FigureContour, ManyPointsFlagFollowsThe400PointLimit) {
    struct Row {
        int points;
        int flag;
        bool regenerated;  // the flag changed, so the figure was modified and regenerated
    };
    const Row rows[] = {{400, 0, false}, {401, 1, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.points);
        ContourFigure f;
        f.SetModify(0);
        for (int i = 0; i < r.points; ++i) f.m_ContourPoints.push_back(T_POINT3D{double(i % 20), double(i / 20), double(i % 7)});
        f.PrepareContour();
        EXPECT_EQ(f.m_ContourPar.nManyPoints, r.flag);
        EXPECT_EQ(!f.m_ContourTool.m_Levels.empty(), r.regenerated);
        EXPECT_FALSE(f.IsModified());
    }
}

TEST(FigureContour, StripLabelsSitAtTheFirstNodeWithTheToolsWeights) {
    // Node 7 with nx 4: column 7 % 5 = 2, row 7 / 5 = 1 -> (0 + 8 * 2 / 4, 0 + 4 * 1 / 2) = (4, 2).
    struct Row {
        const char* name;
        double mainWeight, subWeight;
        int level;            // of the one strip drawn (sub count 2: level 0 main, 1 sub)
        long weight;          // expected weight of the piece; 0 unset
        bool label;           // sub labels are off
    };
    const Row rows[] = {
        {"main 0.05 -> 80", 0.05, 0.0, 0, 80, true},
        {"main 25", 25.0, 0.0, 0, 25, true},
        {"sub 0.0 unset", 0.0, 0.0, 1, 0, false},
        {"sub 30", 0.0, 30.0, 1, 30, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ContourFigure f;
        f.outlines = {kBox};
        std::vector<std::vector<std::vector<int>>> strips(2);
        strips[r.level] = {{7, 8}};
        f.SetGrid({1.0, 2.0}, strips);
        CContourToolPar p;
        p.nSubCount = 2;
        p.nSubText = 0;
        p.dMainWeight = r.mainWeight;
        p.dSubWeight = r.subWeight;
        f.m_ContourTool.put_ContourPar(&p);
        CVdrawUtil d;
        f.Attach(&d);
        f.DrawContourStripLines();
        std::vector<const CvdFigure*> labels;
        for (const CvdFigure* t : Figures(d, VdKindText))
            if (t->m_text == (r.level == 0 ? "1.00" : "2.00") && t->m_points[0].x == 4.0 && t->m_points[0].y == 2.0)
                labels.push_back(t);
        EXPECT_EQ(labels.size(), r.label ? 1u : 0u);
        // The outline (closed, 5 points) and the strip piece (4, 2) - (6, 2).
        int pieces = 0;
        for (const CvdFigure* l : Figures(d, VdKindPolyLine))
            if (l->m_points.size() == 2) {
                ++pieces;
                EXPECT_DOUBLE_EQ(l->m_points[0].x, 4.0);
                EXPECT_DOUBLE_EQ(l->m_points[1].x, 6.0);
                EXPECT_EQ(l->m_weight, r.weight);
            }
        EXPECT_EQ(pieces, 1);
    }
}

TEST(FigureContour, StripsOutsideTheOutlinesGiveNoEntity) {
    struct Row {
        const char* name;
        std::vector<std::vector<T_POINT2D>> outlines;
        int pieces;
    };
    const Row rows[] = {
        {"inside", {kBox}, 1},
        {"outline elsewhere", {{{20, 20}, {30, 20}, {30, 30}}}, 0},
        {"no outlines", {}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ContourFigure f;
        f.outlines = r.outlines;
        f.SetGrid({1.0}, {{{7, 8}}});
        CVdrawUtil d;
        f.Attach(&d);
        f.DrawContourStripLines();
        int pieces = 0;
        for (const CvdFigure* l : Figures(d, VdKindPolyLine)) pieces += l->m_points.size() == 2;
        EXPECT_EQ(pieces, r.pieces);
    }
}

TEST(FigureContour, LegendRowsCentredWithTheirPitch) {
    // y 0..4: one level p = max(4 / 1 * 0.7, 0.5) = 2.8, first row y = 2 - 0 = 2;
    // three levels p = max(4 / 3 * 0.7, 0.5) = 0.9333, first row y = 2 - 1 * p. The lowest
    // band's lower edge (a row below the first) reads the least point value (SetGrid's 0, or -3
    // with a point of it); a title stands above the top row, its lines 1.3 text heights apart.
    struct Row {
        int levels;
        double pitch, firstY;
        const char* title;
        const char* least;
    };
    const Row rows[] = {{1, 2.8, 2.0, "", "0.00"}, {3, 4.0 / 3.0 * 0.7, 2.0 - 4.0 / 3.0 * 0.7, "Settlement\nmm", "-3.00"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.levels);
        ContourFigure f;
        f.SetGrid(std::vector<double>(r.levels, 1.0), std::vector<std::vector<std::vector<int>>>(r.levels));
        f.m_strContourLegendTitle = r.title;
        if (*r.title) f.m_ContourPoints.push_back(T_POINT3D{1, 0, -3.0});
        CVdrawUtil d;
        f.Attach(&d);
        f.DrawContourStripLegend();
        const double x0 = 18.0;  // x to + 10
        const auto texts = Figures(d, VdKindText);
        const size_t titleLines = *r.title ? 2 : 0;
        ASSERT_EQ(texts.size(), size_t(r.levels) + 1 + titleLines);
        for (int i = 0; i <= r.levels; ++i) {
            EXPECT_NEAR(texts[i]->m_points[0].x, x0 + 3.0, 1e-9);
            EXPECT_NEAR(texts[i]->m_points[0].y, r.firstY + (i < r.levels ? i : -1) * r.pitch, 1e-9);
        }
        EXPECT_STREQ(texts[r.levels]->m_text, r.least);
        const double th = std::min(r.pitch * 0.8, 0.5);
        for (size_t l = 0; l < titleLines; ++l) {
            EXPECT_STREQ(texts[r.levels + 1 + l]->m_text, l == 0 ? "Settlement" : "mm");
            EXPECT_NEAR(texts[r.levels + 1 + l]->m_points[0].y, r.firstY + (r.levels - 1) * r.pitch + 1.3 * th * (2 - l), 1e-9);
        }
        const auto lines = Figures(d, VdKindLine);
        ASSERT_EQ(lines.size(), size_t(r.levels) + 1);
        EXPECT_NEAR(lines[0]->m_points[0].x, x0 + 0.75, 1e-9);
        EXPECT_NEAR(lines[0]->m_points[1].x, x0 + 1.5, 1e-9);
        std::vector<double> swatchX, frameX;
        for (const CvdFigure* p : Figures(d, VdKindPolyLine)) (p->m_fill ? swatchX : frameX).push_back(p->m_points[0].x);
        ASSERT_EQ(swatchX.size(), size_t(r.levels));
        EXPECT_NEAR(swatchX[0], x0 - 0.74, 1e-9);
        EXPECT_NEAR(frameX[0], x0 - 0.75, 1e-9);
    }
}

// A map cell takes the colour of the legend row whose band holds its value: row i covers
// (level i-1, level i], the first row also what lies below, the last what lies above.
TEST(FigureContour, MapColourIsItsLegendRowColour) {
    struct Row {
        double z;
        int row;
    } rows[] = {{-5.0, 0}, {1.0, 0}, {1.5, 1}, {2.0, 1}, {2.5, 2}, {3.0, 2}, {9.0, 2}};
    ContourFigure f;
    f.SetGrid({1.0, 2.0, 3.0}, std::vector<std::vector<std::vector<int>>>(3));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.z);
        COLORREF map = 0, legend = 1, text = 0;
        ASSERT_TRUE(f.m_ContourTool.GetZColor(r.z, map, text, 1));
        ASSERT_TRUE(f.m_ContourTool.GetStripColor(r.row, legend, text, 1));
        EXPECT_EQ(map, legend);
    }
}

// Values z = x + y on a 10 x 10 box: every figure regenerates from its own points.
void Fill(ContourFigure& f, double offset) {
    for (int i = 0; i <= 10; i += 5)
        for (int j = 0; j <= 10; j += 5) f.m_ContourPoints.push_back(T_POINT3D{double(i), double(j), i + j + offset});
    f.outlines = {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}};
}

TEST(FigureContour, NephogramGridIsComputedOnceAndBelongsToItsFigure) {
    ContourFigure a, b;
    Fill(a, 0.0);
    Fill(b, 100.0);
    CVdrawUtil da, db, da2;
    a.Attach(&da);
    b.Attach(&db);
    struct Step {
        ContourFigure* fig;
        CVdrawUtil* drawing;
        int inserts;       // 50 x 50 the first time, then the kept grid
        double cornerZ;    // z of node (0, 0): the kriged value at a sample is the sample
    };
    const Step steps[] = {{&a, &da, 2500, 0.0}, {&b, &db, 2500, 100.0}, {&a, &da2, 0, 0.0}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.cornerZ + s.inserts);
        s.fig->Attach(s.drawing);
        s.fig->DrawNephogram();
        EXPECT_EQ(s.fig->m_nNephInserts, s.inserts);
        EXPECT_FALSE(s.fig->GetFirstModify());
        const auto cells = Figures(*s.drawing, VdKindPolyLine);
        EXPECT_EQ(cells.size(), 49u * 49u);  // every cell centre lies in the box
        // Each cell goes to the bottom as drawn: the last in order is the first drawn, cell (0, 0).
        const VdFigureExtra* last = cells.empty() ? nullptr : s.drawing->GetFigureExtra(cells.back()->GetId());
        EXPECT_NEAR(std::stod(last ? last->toolTip.GetString() : "nan"), s.cornerZ, 1e-6);
    }
    // The redraw of a emits the same cells as its first draw.
    const auto first = Figures(da, VdKindPolyLine), again = Figures(da2, VdKindPolyLine);
    ASSERT_EQ(first.size(), again.size());
    for (size_t i = 0; i < first.size(); ++i) {
        const VdFigureExtra *x = da.GetFigureExtra(first[i]->GetId()), *y = da2.GetFigureExtra(again[i]->GetId());
        ASSERT_TRUE(x && y);
        EXPECT_EQ(x->toolTip, y->toolTip);
        EXPECT_EQ(first[i]->m_colour, again[i]->m_colour);
    }
}

TEST(FigureContour, ToolGridNeverHasZeroCells) {
    struct Row {
        const char* name;
        std::vector<C3DPoint> pts;
    };
    const Row rows[] = {
        {"one point", {{1, 1, 5}}},
        {"on a line in x", {{0, 0, 1}, {4, 0, 2}, {8, 0, 3}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CContourTool t;
        t.ResetData(&r.pts);
        EXPECT_EQ(t.Generate(), 1);
        EXPECT_GE(t.m_nx, 1);
        EXPECT_GE(t.m_ny, 1);
    }
}

TEST(FigureContour, SettingsDialogAnswers) {
    struct Row {
        std::vector<std::string> answers;
        int result;
        int strips, render, levels;
    };
    const Row rows[] = {
        {{"strips=5"}, 1, 5, 1, 0},
        {{"strips=8"}, 0, 8, 1, 0},  // the default: nothing changed
        {{"render=0"}, 1, 8, 0, 0},
        {{"levels=3,1,2"}, 1, 8, 1, 3},
        {{"levels=1,x"}, 0, 8, 1, 0},
        {{"colour=3"}, 0, 8, 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.answers[0]);
        CContourTool t;
        EXPECT_EQ(t.DlgSet(r.answers), r.result);
        EXPECT_EQ(t.GetContourPar().nStripCount, r.strips);
        EXPECT_EQ(t.GetContourPar().nRender, r.render);
        EXPECT_EQ(t.GetContourPar().nLevelCount, r.levels);
        if (r.levels == 3) {
            EXPECT_EQ(t.GetContourPar().dLevels[0], 1.0);
        }
    }
}

TEST(SettlementSheets, DifferentialSettlementRatioAndText) {
    struct Row {
        const char* name;
        double s1, s2, lengthMm, cur2mm, allowed;
        const char* text;
        COLORREF colour;
    };
    // |10 - 4| * 1 / 6000 = 0.001; coincident centres give 0.
    const Row rows[] = {
        {"6 m apart", 10, 4, 6000, 1.0, 0.002, "0.0010 L", 0x4C00},
        {"beyond allowed", 10, 4, 6000, 1.0, 0.0005, "0.0010 L", 0xFF},
        {"coincident", 10, 4, 0.0, 1.0, 0.002, "0.0000 L", 0x4C00},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const double ratio = CFVDIsoSinkDif::DiffRatio(r.s1, r.s2, r.lengthMm, r.cur2mm);
        EXPECT_TRUE(std::isfinite(ratio));
        EXPECT_EQ(CFVDIsoSinkDif::DiffText(ratio), r.text);
        EXPECT_EQ(CFVDIsoSinkDif::DiffColour(ratio, r.allowed), r.colour);
    }
}

TEST(SettlementSheets, TiltTextHasFourLines) {
    const CString t = CFVDSinkMatTilt::TiltText(12.5, 0.0012, -0.0003, 0.0021);
    struct Row {
        const char* part;
    };
    const Row rows[] = {{"mm;\n"}, {"0.0012;\n"}, {"-0.0003;\n"}, {"2.10/1000"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.part);
        EXPECT_NE(t.Find(r.part), -1);
    }
}

}  // namespace

// The contour tool's dialog played by the scripted user through the figure: what OK sets comes
// back to the figure (its levels and label flag), a refused value changes nothing.
TEST(FigureContour, SettingsDialogSetsTheFigure) {
    struct Row {
        const char* name;
        std::vector<std::pair<UINT, const char*>> texts;  // edits typed
        int labelsInside;                                 // check box set, -1 untouched
        int result;
        std::vector<double> levels;  // the figure's levels after PrepareContour; empty: automatic
        bool refused;                // a message box says why
    };
    const Row rows[] = {
        // Zeros after the last negative level must not come back as a level 0.
        {"three negative levels", {{CContourSetDlg::IDC_LEVELS, "-40,-30,-20"}}, -1, 1, {-40, -30, -20}, false},
        {"levels sorted", {{CContourSetDlg::IDC_LEVELS, "7, 3"}}, -1, 1, {3, 7}, false},
        {"labels outside too", {}, 0, 1, {}, false},
        {"nothing changed", {}, -1, 0, {}, false},
        {"strip count refused", {{CContourSetDlg::IDC_STRIPS, "0"}}, -1, 0, {}, true},
        {"weight refused", {{CContourSetDlg::IDC_MAINWEIGHT, "-1"}}, -1, 0, {}, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ContourFigure f;
        Fill(f, 0.0);  // values 0 .. 20
        CUiDriver::Get().ClearMessageBoxes();
        CUiDriver::Get().QueueModal(CContourSetDlg::IDD, {[&](CUiDialogSession& s) {
                                        for (const auto& [id, text] : r.texts) s.SetControlText(id, text);
                                        if (r.labelsInside >= 0)
                                            s.SetCheck(CContourSetDlg::IDC_LABELSINSIDE,
                                                       r.labelsInside ? BST_CHECKED : BST_UNCHECKED);
                                        return IDOK;
                                    }});
        f.SetModify(0);
        EXPECT_EQ(f.ContourDlgSet(), r.result);
        EXPECT_EQ(f.IsModified(), r.result);
        EXPECT_EQ(CUiDriver::Get().MessageBoxes().empty(), !r.refused);
        EXPECT_EQ(f.m_bLabelInside, r.labelsInside < 0 ? 1 : r.labelsInside);
        f.SetModify(1);
        f.PrepareContour();
        // Automatic: the figure's default count, 5.
        EXPECT_EQ(f.m_ContourTool.m_Levels.size(), r.levels.empty() ? 5u : r.levels.size());
        if (!r.levels.empty()) {
            EXPECT_EQ(f.m_ContourTool.m_Levels, r.levels);
        }
    }
}

// A label whose first node lies outside the outlines moves to the middle of the strip's first
// piece inside; without the inside rule it stays at the node.
TEST(FigureContour, StripLabelKeptInsideTheOutlines) {
    // Nodes 5 (0, 2), 7 (4, 2), 8 (6, 2) on the 0..8 x 0..4 grid with nx 4, ny 2.
    struct Row {
        const char* name;
        std::vector<T_POINT2D> outline;
        BOOL inside;
        int labels;
        double x;  // of the label
    };
    const Row rows[] = {
        // Box 3..8: the first piece is (3, 2) - (4, 2), its middle x 3.5.
        {"moved into the box", {{3, 0}, {8, 0}, {8, 4}, {3, 4}}, 1, 1, 3.5},
        {"kept at the node without the rule", {{3, 0}, {8, 0}, {8, 4}, {3, 4}}, 0, 1, 0.0},
        {"node inside stays", kBox, 1, 1, 0.0},
        {"strip wholly outside: none", {{20, 20}, {30, 20}, {30, 30}}, 1, 0, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ContourFigure f;
        f.outlines = {r.outline};
        f.SetGrid({1.0}, {{{5, 7, 8}}});
        f.m_bLabelInside = r.inside;
        CVdrawUtil d;
        f.Attach(&d);
        f.DrawContourStripLines();
        std::vector<const CvdFigure*> labels;
        for (const CvdFigure* t : Figures(d, VdKindText))
            if (t->m_text == "1.00" && t->m_points[0].x < 10.0) labels.push_back(t);  // not the legend
        ASSERT_EQ(labels.size(), static_cast<size_t>(r.labels));
        if (r.labels) {
            EXPECT_DOUBLE_EQ(labels[0]->m_points[0].x, r.x);
            EXPECT_DOUBLE_EQ(labels[0]->m_points[0].y, 2.0);
        }
    }
}

// The shaded map covers the outlines exactly: the filled pieces add up to each outline's area
// (shoelace by hand: the triangle 10 x 10 / 2 = 50, the L 100 - 25 = 75, a 2 x 2 square off the
// grid's corner 4), where whole-cell steps would not.
TEST(FigureContour, NephogramCellsAreCutAtTheOutlines) {
    struct Row {
        const char* name;
        std::vector<T_POINT2D> outline;
        double area;
    };
    const Row rows[] = {
        {"triangle", {{0, 0}, {10, 0}, {0, 10}}, 50.0},
        {"L", {{0, 0}, {10, 0}, {10, 5}, {5, 5}, {5, 10}, {0, 10}}, 75.0},
        {"square half beyond the grid", {{9, 9}, {11, 9}, {11, 11}, {9, 11}}, 1.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ContourFigure f;
        Fill(f, 0.0);  // grid 0..10 x 0..10
        f.outlines = {r.outline};
        f.CollectContourOutlines(f.m_ContourOutlines);
        CVdrawUtil d;
        f.Attach(&d);
        f.DrawNephogram();
        double area = 0.0;
        for (const CvdFigure* c : Figures(d, VdKindPolyLine)) {
            const auto& p = c->m_points;
            double a = 0.0;
            for (size_t i = 0; i < p.size(); ++i) {
                const auto &u = p[i], &v = p[(i + 1) % p.size()];
                a += u.x * v.y - v.x * u.y;
            }
            area += std::fabs(a) * 0.5;
        }
        EXPECT_NEAR(area, r.area, 1e-6);
    }
}
