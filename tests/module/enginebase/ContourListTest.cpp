// Contour-list drawing of the engine base: band polygons filled flat or graded, level lines with
// their letters, coloured lines, on the recording DC and on a raster DC.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/module/enginebase/EngineBaseSupport.h"

namespace enginebase {

namespace {

// An engine that notes which list drawer the sub-polygon cut reached, and the line pieces.
class NoteEngine : public CEngineBase {
public:
    void DrawContourList(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& v) override {
        ++m_nFlat;
        if (m_bPassOn) CEngineBase::DrawContourList(pDC, sizes, v);
    }
    void DrawContourListGrad(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& v) override {
        ++m_nGrad;
        if (m_bPassOn) CEngineBase::DrawContourListGrad(pDC, sizes, v);
    }
    void DrawContourLine(CDC* pDC, CArray<C3DPoint, C3DPoint>& points, CArray<double, double>& values) override {
        std::vector<std::pair<C3DPoint, double>> piece;
        for (INT_PTR i = 0; i < points.GetSize(); ++i) piece.emplace_back(points[i], values[i]);
        m_lines.push_back(piece);
        if (m_bPassOn) CEngineBase::DrawContourLine(pDC, points, values);
    }
    int m_nFlat = 0, m_nGrad = 0;
    bool m_bPassOn = true;
    std::vector<std::vector<std::pair<C3DPoint, double>>> m_lines;
};

struct Poly {
    std::vector<C3DPoint> pts;
    std::vector<double> values;
    std::vector<int> flags;
};

void MakeList(const std::vector<Poly>& polys, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& v) {
    for (const Poly& p : polys) {
        sizes.Add(static_cast<int>(p.pts.size()));
        for (size_t i = 0; i < p.pts.size(); ++i) v.Add(VtxInfo_tag{p.pts[i], p.flags[i], p.values[i]});
    }
}

CList<C3DPoint, C3DPoint>* NewPoints(std::initializer_list<C3DPoint> pts) {
    auto* l = new CList<C3DPoint, C3DPoint>;
    for (const C3DPoint& p : pts) l->AddTail(p);
    return l;
}

}  // namespace

class ContourListTest : public LinkedEngineTest {
protected:
    void SetUp() override {
        LinkedEngineTest::SetUp();
        m_engine.m_pModel = m_model.get();
        m_engine.m_pContourEngine = UnitScale();
        m_model->m_pDispOpt->m_bShading = 0;
    }
    void TearDown() override {
        m_engine.m_pModel = nullptr;
        LinkedEngineTest::TearDown();
    }
    CContourEngine& Scale() { return *m_engine.m_pContourEngine; }
    NoteEngine m_engine;
};

TEST_F(ContourListTest, SubPolygonsByPointCount) {
    // Levels 0, 1, ..., 11. A triangle 0.5 / 2.5 / 4.5 is crossed by levels 1 to 4: five bands.
    // A flat quadrilateral stays one polygon. A frame polygon takes at most its first four points:
    // values 0.5 .. 2.5 along it cross levels 1 and 2, three strips.
    struct Row {
        const char* label;
        std::initializer_list<C3DPoint> pts;
        std::vector<double> values;
        int frame;
        size_t polygons;
    } const rows[] = {
        {"triangle", {C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 10, 0)}, {0.5, 2.5, 4.5}, 0, 5},
        {"flat quadrilateral",
         {C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 10, 0), C3DPoint(0, 10, 0)},
         {0.5, 0.5, 0.5, 0.5},
         0,
         1},
        {"five points, no frame",
         {C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 10, 0), C3DPoint(5, 12, 0), C3DPoint(0, 10, 0)},
         {0.5, 2.5, 4.5, 4.5, 4.5},
         0,
         0},
        {"frame polygon",
         {C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 1, 0), C3DPoint(0, 1, 0)},
         {0.5, 2.5, 2.5, 0.5},
         1,
         3},
        {"frame polygon of five points",
         {C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 1, 0), C3DPoint(0, 1, 0), C3DPoint(-5, 5, 0)},
         {0.5, 2.5, 2.5, 0.5, 9.0},
         1,
         3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        m_dc.Clear();
        m_engine.m_nFlat = 0;
        std::unique_ptr<CList<C3DPoint, C3DPoint>> pts(NewPoints(r.pts));
        std::vector<double> values = r.values;
        int flags[5] = {1, 1, 1, 1, 1};
        m_engine.DoSubPolyContour(&m_dc, values.data(), pts.get(), flags, r.frame);
        EXPECT_EQ(m_dc.Count("Polygon"), r.polygons);
        EXPECT_EQ(m_engine.m_nFlat, r.polygons ? 1 : 0);
    }
}

TEST_F(ContourListTest, GradientSwitchChoosesTheGradedListThroughTheSlot) {
    std::unique_ptr<CList<C3DPoint, C3DPoint>> pts(NewPoints({C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 10, 0)}));
    double values[3] = {0.5, 2.5, 4.5};
    m_model->m_bGradient = 1;
    m_engine.DoSubPolyContour(&m_dc, values, pts.get(), nullptr, 0);
    EXPECT_EQ(m_engine.m_nGrad, 1);
    EXPECT_EQ(m_engine.m_nFlat, 0);
    EXPECT_GE(m_dc.Count("GradientFill"), 5u) << "five band polygons, each one fan or more";
    EXPECT_EQ(m_dc.Count("Polygon"), 0u);
    // Without a colour scale nothing is cut or drawn.
    delete m_engine.m_pContourEngine;
    m_engine.m_pContourEngine = nullptr;
    m_dc.Clear();
    m_engine.DoSubPolyContour(&m_dc, values, pts.get(), nullptr, 0);
    EXPECT_EQ(m_engine.m_nGrad, 1);
    EXPECT_EQ(m_dc.GetRecords().size(), 0u);
}

TEST_F(ContourListTest, FlatFillsAndBandEdges) {
    // Two polygons: the first with one flagged edge (vertex 0 to 1), the second without.
    const std::vector<Poly> polys = {
        {{C3DPoint(0, 0, 0), C3DPoint(5, 0, 0), C3DPoint(5, 5, 0)}, {2.0, 2.0, 1.5}, {1, 0, 0}},
        {{C3DPoint(5, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 5, 0), C3DPoint(5, 5, 0)}, {6.5, 6.0, 7.0, 6.0}, {0, 0, 0, 0}},
    };
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> v;
    MakeList(polys, sizes, v);
    Scale().m_crContourLine = RGB(1, 200, 3);
    m_model->m_nPenFactor = 3;
    for (int edges = 0; edges < 2; ++edges) {
        SCOPED_TRACE(edges ? "band edges on" : "band edges off");
        Scale().m_bDrawContourLine = edges;
        m_dc.Clear();
        m_engine.DrawContourList(&m_dc, sizes, v);
        const auto fills = m_dc.GetRecords("Polygon");
        ASSERT_EQ(fills.size(), 2u);
        for (size_t i = 0; i < 2; ++i) {
            // The colour of the first vertex's value, at the projected vertices.
            EXPECT_EQ(fills[i]->brush.lbColor, Scale().GetValueColor(polys[i].values[0]));
            ASSERT_EQ(fills[i]->points.size(), polys[i].pts.size());
            for (size_t k = 0; k < polys[i].pts.size(); ++k) {
                EXPECT_EQ(fills[i]->points[k].x, Px(polys[i].pts[k]).x);
                EXPECT_EQ(fills[i]->points[k].y, Px(polys[i].pts[k]).y);
            }
        }
        const auto lines = LinesOf(m_dc);
        ASSERT_EQ(lines.size(), edges ? 1u : 0u);
        if (edges) {
            EXPECT_EQ(lines[0], Segment(Px(C3DPoint(0, 0, 0)), Px(C3DPoint(5, 0, 0))));
            const GdiRecord* r = m_dc.GetRecords("LineTo")[0];
            EXPECT_EQ(r->pen.lopnWidth.x, 3);
            EXPECT_EQ(r->pen.lopnColor, RGB(1, 200, 3));
        }
    }
    // A list whose polygons flag no edge draws fills only, even with band edges on.
    CArray<int, int> s2;
    CArray<VtxInfo_tag, VtxInfo_tag> v2;
    MakeList({polys[1]}, s2, v2);
    m_dc.Clear();
    m_engine.DrawContourList(&m_dc, s2, v2);
    EXPECT_EQ(m_dc.Count("Polygon"), 1u);
    EXPECT_EQ(m_dc.Count("LineTo"), 0u);
}

TEST_F(ContourListTest, LineContourModeDrawsLevelLinesOnly) {
    const std::vector<Poly> polys = {
        {{C3DPoint(0, 0, 0), C3DPoint(5, 0, 0), C3DPoint(5, 5, 0)}, {2.0, 2.0, 1.5}, {1, 0, 1}},
        {{C3DPoint(5, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 5, 0)}, {6.0, 6.0, 7.0}, {1, 0, 0}},
    };
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> v;
    MakeList(polys, sizes, v);
    ASSERT_NE(Scale().GetValueColor(2.0), Scale().GetValueColor(6.0)) << "the rows must tell the colours apart";
    Scale().m_nFillStyle = 1;
    m_model->m_nPenFactor = 3;
    struct Row {
        const char* label;
        int graded, single;
    } const rows[] = {{"flat", 0, 0}, {"graded hands over to flat", 1, 0}, {"single line colour", 0, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Scale().m_bSingleLineColor = r.single;
        m_dc.Clear();
        if (r.graded)
            m_engine.DrawContourListGrad(&m_dc, sizes, v);
        else
            m_engine.DrawContourList(&m_dc, sizes, v);
        EXPECT_EQ(m_dc.Count("Polygon"), 0u);
        EXPECT_EQ(m_dc.Count("GradientFill"), 0u);
        const std::vector<Segment> want = {Segment(Px(C3DPoint(0, 0, 0)), Px(C3DPoint(5, 0, 0))),
                                           Segment(Px(C3DPoint(5, 5, 0)), Px(C3DPoint(0, 0, 0))),
                                           Segment(Px(C3DPoint(5, 0, 0)), Px(C3DPoint(10, 0, 0)))};
        EXPECT_EQ(LinesOf(m_dc), want);
        const double firstValues[3] = {2.0, 1.5, 6.0};
        const auto recs = m_dc.GetRecords("LineTo");
        ASSERT_EQ(recs.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(recs[i]->pen.lopnWidth.x, 5) << "int(3 x 1.8)";
            Scale().m_nFillStyle = 0;  // the band colours as the filled mode shows them
        const COLORREF band = Scale().GetValueColor(firstValues[i]);
        Scale().m_nFillStyle = 1;
        EXPECT_EQ(recs[i]->pen.lopnColor, r.single ? Scale().m_crContourLine : band);
        }
    }
}

TEST_F(ContourListTest, ContourLettersOfFlaggedEdges) {
    // Edge (0,0)-(10,0) with first value 2.5 (rank 3, "C"); edge (10,0)-(10,10) starts on level 5
    // (rank -5, "E"); its midpoints fall into cells of 10 x 10 pixels.
    const std::vector<Poly> polys = {{{C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 10, 0)}, {2.5, 5.0, 4.0}, {1, 1, 0}}};
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> v;
    MakeList(polys, sizes, v);
    Scale().m_bDrawContourLine = 1;
    m_model->m_bContourAnnot = 1;
    m_model->m_nAnnotCellWidth = 10;
    m_model->m_nAnnotCellHeight = 10;
    m_model->m_arrContAnnot.RemoveAll();
    m_engine.DrawContourList(&m_dc, sizes, v);
    ASSERT_EQ(m_model->m_arrContAnnot.GetSize(), 2);
    struct Want {
        const char* text;
        int rank;
        C3DPoint a, b;
    } const want[] = {{"C", 3, C3DPoint(0, 0, 0), C3DPoint(10, 0, 0)}, {"E", 5, C3DPoint(10, 0, 0), C3DPoint(10, 10, 0)}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(want[i].text);
        const ContAnnotData& d = m_model->m_arrContAnnot[i];
        const C3DPoint mid = (want[i].a + want[i].b) * 0.5;
        const CPoint w = Px(mid);  // the memory image starts at the client origin
        EXPECT_EQ(d.strText, CString(want[i].text));
        EXPECT_EQ(d.nLevel, want[i].rank);
        EXPECT_EQ(d.x, w.x);
        EXPECT_EQ(d.y, w.y);
        EXPECT_EQ(d.nCol, w.x / 10);
        EXPECT_EQ(d.nRow, w.y / 10);
        EXPECT_TRUE(CEngineBase::IsSame3DPoint(d.pt3, mid));
        EXPECT_TRUE(CEngineBase::IsSame3DPoint(d.pt1, want[i].a));
    }
    // A grid without cells records nothing (and divides by nothing).
    m_model->m_arrContAnnot.RemoveAll();
    m_model->m_nAnnotCellWidth = 0;
    m_engine.DrawContourList(&m_dc, sizes, v);
    EXPECT_EQ(m_model->m_arrContAnnot.GetSize(), 0);
    // Letters off: nothing either.
    m_model->m_nAnnotCellWidth = 10;
    m_model->m_bContourAnnot = 0;
    m_engine.DrawContourList(&m_dc, sizes, v);
    EXPECT_EQ(m_model->m_arrContAnnot.GetSize(), 0);
}

TEST_F(ContourListTest, GradedListsAreClippedToTheView) {
    const std::vector<Poly> polys = {
        {{C3DPoint(0, 0, 0), C3DPoint(5, 0, 0), C3DPoint(5, 5, 0)}, {2.0, 3.0, 1.5}, {0, 0, 0}},
        {{C3DPoint(1000, 0, 0), C3DPoint(1005, 0, 0), C3DPoint(1005, 5, 0)}, {2.0, 3.0, 1.5}, {0, 0, 0}},
    };
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> v;
    MakeList(polys, sizes, v);
    ASSERT_GT(Px(C3DPoint(1000, 0, 0)).x, kWidth);
    m_engine.DrawContourListGrad(&m_dc, sizes, v);
    const auto fills = m_dc.GetRecords("GradientFill");
    ASSERT_EQ(fills.size(), 1u) << "the polygon outside the view is not filled";
    ASSERT_EQ(fills[0]->vertices.size(), 3u);
    // Vertex colours: the value colours interpolated between levels (16 bits per channel).
    const COLORREF c = Scale().GetValueColorGrad(3.0);
    EXPECT_EQ(fills[0]->vertices[1].Red >> 8, GetRValue(c));
    EXPECT_EQ(fills[0]->vertices[1].Green >> 8, GetGValue(c));
    // The flat path sends both to the control.
    m_dc.Clear();
    m_engine.DrawContourList(&m_dc, sizes, v);
    EXPECT_EQ(m_dc.Count("Polygon"), 2u);
}

TEST_F(ContourListTest, LinesColouredByBand) {
    // A line from A (value 3) over M (1) to B (2): the first half runs from A down to M across
    // level 2 at its middle; the second half from B, its larger end, to M with no level between.
    std::unique_ptr<CList<C3DPoint, C3DPoint>> pts(NewPoints({C3DPoint(0, 0, 0), C3DPoint(10, 0, 0)}));
    double values[3] = {3.0, 1.0, 2.0};
    m_engine.m_bPassOn = false;
    m_engine.DoLineContour(&m_dc, pts.get(), values);
    ASSERT_EQ(m_engine.m_lines.size(), 2u);
    const std::vector<std::pair<C3DPoint, double>> first = {
        {C3DPoint(0, 0, 0), 3.0}, {C3DPoint(2.5, 0, 0), 2.0}, {C3DPoint(5, 0, 0), 1.0}};
    const std::vector<std::pair<C3DPoint, double>> second = {{C3DPoint(10, 0, 0), 2.0}, {C3DPoint(5, 0, 0), 1.0}};
    for (int h = 0; h < 2; ++h) {
        const auto& got = m_engine.m_lines[h];
        const auto& want = h == 0 ? first : second;
        ASSERT_EQ(got.size(), want.size()) << "half " << h;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_TRUE(CEngineBase::IsSame3DPoint(got[i].first, want[i].first)) << "half " << h << " point " << i;
            EXPECT_DOUBLE_EQ(got[i].second, want[i].second);
        }
    }
    // Equal values walk the half from its second end.
    m_engine.m_lines.clear();
    double flat[3] = {4.0, 4.0, 4.0};
    m_engine.DoLineContour(&m_dc, pts.get(), flat);
    ASSERT_EQ(m_engine.m_lines.size(), 2u);
    EXPECT_TRUE(CEngineBase::IsSame3DPoint(m_engine.m_lines[0][0].first, C3DPoint(5, 0, 0)));
    EXPECT_TRUE(CEngineBase::IsSame3DPoint(m_engine.m_lines[1][0].first, C3DPoint(10, 0, 0)));

    // Each segment takes the colour of the band above its first value, in a pen 2 x pen factor.
    m_engine.m_bPassOn = true;
    m_model->m_nPenFactor = 2;
    CArray<C3DPoint, C3DPoint> line;
    CArray<double, double> lv;
    line.Add(C3DPoint(0, 0, 0));
    line.Add(C3DPoint(5, 0, 0));
    line.Add(C3DPoint(10, 0, 0));
    lv.Add(2.5);  // rank 3
    lv.Add(6.0);  // on level 6: rank -6, colour of rank 6
    lv.Add(7.0);
    m_dc.Clear();
    m_engine.CEngineBase::DrawContourLine(&m_dc, line, lv);
    const auto recs = m_dc.GetRecords("LineTo");
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[0]->pen.lopnColor, Scale().GetRankColor(3));
    EXPECT_EQ(recs[1]->pen.lopnColor, Scale().GetRankColor(6));
    EXPECT_EQ(recs[0]->pen.lopnWidth.x, 4);
    EXPECT_EQ(LinesOf(m_dc)[1], Segment(Px(C3DPoint(5, 0, 0)), Px(C3DPoint(10, 0, 0))));
}

TEST_F(ContourListTest, RasterPicturesOfFlatAndGradedBands) {
    // The plate with values 0.5 at x = 0 and 1.5 at x = 10: level 1 at x = 5 splits it in two
    // bands, of ranks 1 and 2.
    CRecordDC raster;
    ASSERT_TRUE(raster.Create(kWidth, kHeight));
    raster.FillSolidRect(CRect(0, 0, kWidth, kHeight), RGB(255, 255, 255));
    std::unique_ptr<CList<C3DPoint, C3DPoint>> pts(
        NewPoints({C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 10, 0), C3DPoint(0, 10, 0)}));
    double values[4] = {0.5, 1.5, 1.5, 0.5};
    m_engine.DoSubPolyContour(&raster, values, pts.get(), nullptr, 0);
    const COLORREF left = Scale().GetValueColor(0.7), right = Scale().GetValueColor(1.3);
    ASSERT_NE(left, right);
    struct Probe {
        const char* label;
        C3DPoint p;
        COLORREF want;
    } const probes[] = {
        {"left band", C3DPoint(2, 5, 0), left},  {"left band, low", C3DPoint(3, 1, 0), left},
        {"right band", C3DPoint(8, 5, 0), right}, {"right band, high", C3DPoint(7, 9, 0), right},
        {"outside the plate", C3DPoint(-0.5, 5, 0), RGB(255, 255, 255)},
    };
    for (const Probe& pr : probes) {
        const CPoint at = Px(pr.p);
        EXPECT_EQ(raster.GetPixel(at.x, at.y), pr.want) << pr.label;
    }

    // Graded: the colour runs with the value; near x = 0 it is that of the value there.
    raster.FillSolidRect(CRect(0, 0, kWidth, kHeight), RGB(255, 255, 255));
    m_model->m_bGradient = 1;
    m_engine.DoSubPolyContour(&raster, values, pts.get(), nullptr, 0);
    const CPoint nearLeft = Px(C3DPoint(0.3, 5, 0));
    const COLORREF got = raster.GetPixel(nearLeft.x, nearLeft.y);
    const COLORREF want = Scale().GetValueColorGrad(0.53);
    EXPECT_NEAR(GetRValue(got), GetRValue(want), 12);
    EXPECT_NEAR(GetGValue(got), GetGValue(want), 12);
    EXPECT_NEAR(GetBValue(got), GetBValue(want), 12);
    const CPoint mid = Px(C3DPoint(5, 5, 0));
    EXPECT_NE(raster.GetPixel(mid.x, mid.y), got) << "the colour changes across the plate";
}

// A face inside one band is drawn from its corners projected once. An engine that changes the
// cut list before the base draws it must get the pixels of the list as it hands it on.
TEST_F(ContourListTest, FacesInsideOneBandDrawTheListTheyAreGiven) {
    class Tamper : public CEngineBase {
    public:
        void DrawContourList(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& v) override {
            if (m_change) m_change(v);
            m_sizes.Copy(sizes);
            m_vertices.Copy(v);
            CEngineBase::DrawContourList(pDC, sizes, v);
        }
        void (*m_change)(CArray<VtxInfo_tag, VtxInfo_tag>&) = nullptr;
        CArray<int, int> m_sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> m_vertices;
    };
    struct Row {
        const char* label;
        double values[4];
        int coarse;
        void (*change)(CArray<VtxInfo_tag, VtxInfo_tag>&);
    } const rows[] = {
        {"as cut", {1.2, 1.5, 1.9, 1.1}, 0, nullptr},
        {"as cut, coarse", {1.2, 1.5, 1.9, 1.1}, 1, nullptr},
        {"as cut, one value", {1.5, 1.5, 1.5, 1.5}, 0, nullptr},
        {"a corner moved a little", {1.2, 1.5, 1.9, 1.1}, 0,
         [](CArray<VtxInfo_tag, VtxInfo_tag>& v) { v[0].pt.x += 0.75; }},
        {"two vertices swapped", {1.2, 1.5, 1.9, 1.1}, 0,
         [](CArray<VtxInfo_tag, VtxInfo_tag>& v) { std::swap(v[0].pt, v[4].pt); }},
        {"every vertex moved", {1.2, 1.5, 1.9, 1.1}, 1,
         [](CArray<VtxInfo_tag, VtxInfo_tag>& v) {
             for (INT_PTR i = 0; i < v.GetSize(); ++i) v[i].pt.y -= 2.5;
         }},
        {"the centre moved, one value", {1.5, 1.5, 1.5, 1.5}, 0,
         [](CArray<VtxInfo_tag, VtxInfo_tag>& v) { v[2].pt.z = -0.0; v[2].pt.y += 3.0; }},
    };
    Tamper engine;
    engine.m_pModel = m_model.get();
    engine.m_pContourEngine = UnitScale();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        engine.m_pContourEngine->m_bCoarseContour = r.coarse;
        engine.m_change = r.change;
        CRecordDC got, want;
        ASSERT_TRUE(got.Create(kWidth, kHeight));
        ASSERT_TRUE(want.Create(kWidth, kHeight));
        got.FillSolidRect(CRect(0, 0, kWidth, kHeight), RGB(255, 255, 255));
        want.FillSolidRect(CRect(0, 0, kWidth, kHeight), RGB(255, 255, 255));
        std::unique_ptr<CList<C3DPoint, C3DPoint>> pts(
            NewPoints({C3DPoint(1, 1, 0), C3DPoint(10, 2, 0), C3DPoint(11, 9, 0.5), C3DPoint(0.5, 10, 0)}));
        double values[4] = {r.values[0], r.values[1], r.values[2], r.values[3]};
        engine.DoSubPolyContour(&got, values, pts.get(), nullptr, 0);
        ASSERT_GT(engine.m_vertices.GetSize(), 0);
        // The same list in arrays of its own, which no cut has written.
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> vertices;
        sizes.Copy(engine.m_sizes);
        vertices.Copy(engine.m_vertices);
        engine.CEngineBase::DrawContourList(&want, sizes, vertices);
        int differ = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) differ += got.GetPixel(x, y) != want.GetPixel(x, y);
        EXPECT_EQ(differ, 0);
        EXPECT_NE(got.GetPixel(Px(C3DPoint(5, 5, 0)).x, Px(C3DPoint(5, 5, 0)).y), RGB(255, 255, 255));
    }
    engine.m_pModel = nullptr;
}

}  // namespace enginebase
