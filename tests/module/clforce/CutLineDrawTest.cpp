// The strip and rib-beam diagrams of display modes 21 and 22: the value pickers of a line's force
// block, the centre and width lines on the recording DC, the diagram polygons in plan and in the
// slab plane, the output records their numbers are written from, and the straight-line polygon
// builder.
#include <cfloat>
#include <cmath>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "tests/module/diagram/DiagramTestSupport.h"

namespace diagramtest {

namespace {

const COLORREF kCentre = RGB(143, 177, 213);
const COLORREF kWidth = RGB(179, 202, 226);

// A line from (x1, y1, z1) to (x2, y2, z2) whose moment and shear are given per station k/8.
template <class M, class V>
T_PVX_CLFC_D Line(C3DPoint a, C3DPoint b, M moment, V shear) {
    T_PVX_CLFC_D r;
    r.dX1 = a.x;
    r.dY1 = a.y;
    r.dZ1 = a.z;
    r.dX2 = b.x;
    r.dY2 = b.y;
    r.dZ2 = b.z;
    for (int s = 0; s < 8; ++s)
        for (int e = 0; e < 2; ++e) {
            r.Forc.d[(e + 2 * s) * 6 + 0] = moment(s + e);
            r.Forc.d[(e + 2 * s) * 6 + 3] = shear(s + e);
        }
    return r;
}

T_PVX_CLFC_D Flat(C3DPoint a, C3DPoint b, double m) {
    return Line(a, b, [m](int) { return m; }, [](int) { return 0.0; });
}

}  // namespace

class CutLineDrawTest : public DiagramProjectTest {
protected:
    void Show(int mode, std::initializer_list<T_PVX_CLFC_D> lines) {
        M().m_nDisplayMode = mode;
        CPVXBarContainerBase::m_nCurrentMode = mode;
        E().m_arrCLForc.RemoveAll();
        for (T_PVX_CLFC_D r : lines) E().m_arrCLForc.Add(r);
        E().m_bCLForcData = 1;
        E().m_bands.clear();
        m_dc.Clear();
        E().DrawCLineSfdBmd(&m_dc);
    }
    // The lines drawn in a pen colour, as (start, end) window points.
    std::vector<std::pair<POINT, POINT>> LinesIn(COLORREF cr) const {
        std::vector<std::pair<POINT, POINT>> out;
        for (const GdiRecord* r : m_dc.GetRecords("LineTo"))
            if (r->pen.lopnColor == cr) out.push_back({r->curPos, POINT{r->Arg(0), r->Arg(1)}});
        return out;
    }
    POINT Pixel(double x, double y, double z = 0.0) {
        const CPoint p = Ctrl()->GetWorldToMemDCP2D(C3DPoint(x, y, z));
        return POINT{p.x, p.y};
    }
    static bool Same(POINT a, POINT b) { return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1; }
};

TEST_F(CutLineDrawTest, PickersOfTheSelectedForce) {
    // Moments over stations k = 0..8 run from lo to hi linearly; the shear is 100 + k.
    struct Row {
        const char* label;
        double lo, hi;
        double largest;  // position 3: the minimum only when -min > max
    } rows[] = {{"-5 .. 3", -5, 3, -5}, {"-3 .. 3 (tie: maximum)", -3, 3, 3}, {"-2 .. 3", -2, 3, 3}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_PVX_CLFC_D l = Line(C3DPoint(0, 0, 0), C3DPoint(8, 0, 0), [&](int k) { return r.lo + (r.hi - r.lo) * k / 8.0; },
                              [](int k) { return 100.0 + k; });
        E().m_nCLForcComp = 0;
        EXPECT_DOUBLE_EQ(E().CalcCLForcValue(l.Forc, 3), r.largest);
        EXPECT_DOUBLE_EQ(E().CalcCLForcValue(l.Forc, 0), r.lo) << "start";
        EXPECT_DOUBLE_EQ(E().CalcCLForcValue(l.Forc, 1), r.hi) << "end";
        EXPECT_DOUBLE_EQ(E().CalcCLForcValue(l.Forc, 2), r.lo + (r.hi - r.lo) * 0.5) << "middle: end of segment 3";
        EXPECT_DOUBLE_EQ(E().CalcCLForcValue(l.Forc, 9), 0.0);
        E().m_nCLForcComp = 1;  // the shear, component 3, everywhere
        EXPECT_DOUBLE_EQ(E().CalcCLForcValue(l.Forc, 0), 100.0);
        EXPECT_DOUBLE_EQ(E().CalcCLForcValue(l.Forc, 2, 1), 103.0);
        EXPECT_DOUBLE_EQ(E().GetMaxMembCLForc(l.Forc), 108.0);
        EXPECT_DOUBLE_EQ(E().GetMinMembCLForc(l.Forc), 100.0);
        EXPECT_DOUBLE_EQ(CForceEngine::CalcCLForcValue(l.Forc, 3, 7, 1), 108.0);
        EXPECT_DOUBLE_EQ(CForceEngine::CalcCLForcValue(l.Forc, 2, 7, 1), 0.0) << "components other than 0 and 3";
        E().m_nCLForcComp = 5;
        EXPECT_EQ(E().GetMaxMembCLForc(l.Forc), -DBL_MAX);
        EXPECT_EQ(E().GetMinMembCLForc(l.Forc), DBL_MAX);
        double mx = 1.0, mn = -1.0;
        E().m_nCLForcComp = 0;
        E().MinMaxMembCLForc(l.Forc, mx, mn);
        EXPECT_DOUBLE_EQ(mx, std::max(1.0, r.hi));
        EXPECT_DOUBLE_EQ(mn, std::min(-1.0, r.lo));
    }
}

TEST_F(CutLineDrawTest, CentreAndWidthLines) {
    // A strip (0, 0) to (10, 0) of width 2: the centre line on y = 0, then the width lines on
    // y = +1 (the positive side, the line turned left) and y = -1.
    T_PVX_CLFC_D strip = Flat(C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), 5.0);
    strip.dWidth = 2.0;
    Show(21, {strip});
    auto centre = LinesIn(kCentre);
    ASSERT_EQ(centre.size(), 1u);
    EXPECT_TRUE(Same(centre[0].first, Pixel(0, 0)) && Same(centre[0].second, Pixel(10, 0)));
    auto width = LinesIn(kWidth);
    ASSERT_EQ(width.size(), 2u);
    EXPECT_TRUE(Same(width[0].first, Pixel(0, 1)) && Same(width[0].second, Pixel(10, 1)));
    EXPECT_TRUE(Same(width[1].first, Pixel(0, -1)) && Same(width[1].second, Pixel(10, -1)));

    // A rib with 0.5 m of slab on its positive side only: one width line, at y = +0.5; the
    // width of a strip is not drawn in mode 22.
    T_PVX_CLFC_D rib = Flat(C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), 5.0);
    rib.dWidthPos = 0.5;
    rib.dWidth = 4.0;
    Show(22, {rib});
    width = LinesIn(kWidth);
    ASSERT_EQ(width.size(), 1u);
    EXPECT_TRUE(Same(width[0].first, Pixel(0, 0.5)) && Same(width[0].second, Pixel(10, 0.5)));

    E().m_bCLShowWidth = 0;
    Show(21, {strip});
    EXPECT_TRUE(LinesIn(kWidth).empty());
    EXPECT_EQ(LinesIn(kCentre).size(), 1u);
}

TEST_F(CutLineDrawTest, DiagramOffsetInPlanAxesOrInTheSlabPlane) {
    // A line along x at z = 3 with a constant moment 4: the moment is drawn along local z (up),
    // its diagram line at z = 3 + 4 k with k the diagram scale; in the slab plane of mode 21 it is
    // turned into the plan normal (+y).
    const double k = E().m_dBSfdBmdAdjustFactor * E().m_dBSfdBmdScale;
    struct Row {
        const char* label;
        int mode, plane;
        C3DPoint offset;
    } rows[] = {
        {"mode 22: normal to the slab", 22, 1, C3DPoint(0, 0, 4 * k)},
        {"mode 21, plane off: normal to the slab", 21, 0, C3DPoint(0, 0, 4 * k)},
        {"mode 21 in the slab plane", 21, 1, C3DPoint(0, 4 * k, 0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        E().m_nCLDiagramPlane = r.plane;
        Show(r.mode, {Flat(C3DPoint(0, 0, 3), C3DPoint(8, 0, 3), 4.0)});
        ASSERT_FALSE(E().m_bands.empty());
        bool bTop = false;
        for (const auto& band : E().m_bands)
            for (const VtxInfo_tag& v : band.v) {
                const C3DPoint p = v.pt;
                const C3DPoint d = p - C3DPoint(p.x, 0, 3);
                // Every vertex lies on the axis or on the diagram line.
                EXPECT_TRUE(Near(d, C3DPoint(0, 0, 0), 1e-9) || Near(d, r.offset, 1e-9)) << p.x << " " << p.y << " " << p.z;
                bTop = bTop || Near(d, r.offset, 1e-9);
            }
        EXPECT_TRUE(bTop);
        if (r.plane && r.mode == 21) {
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) EXPECT_EQ(E().m_dLclVec2D[i][j], i == j ? 1.0 : 0.0);
        }
    }
}

TEST_F(CutLineDrawTest, SelectorsAndLinesWithoutDiagram) {
    // The shear (selector 1) is drawn; selector 2 names no force of a line: nothing, not a flat
    // diagram of another component. A line of no length in plan draws nothing (no NaN reaches
    // the DC), and a sloped line takes horizontal axes.
    T_PVX_CLFC_D l = Line(C3DPoint(0, 0, 0), C3DPoint(8, 0, 0), [](int) { return 0.0; }, [](int) { return 6.0; });
    struct Row {
        const char* label;
        int sel;
        bool bDrawn;
    } rows[] = {{"moment, all zero", 0, false}, {"shear", 1, true}, {"selector 2", 2, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        E().m_nCLForcComp = r.sel;
        Show(22, {l});
        EXPECT_EQ(!E().m_bands.empty(), r.bDrawn);
        EXPECT_EQ(LinesIn(kCentre).size(), r.sel <= 1 ? 1u : 0u);
    }
    E().m_nCLForcComp = 0;
    T_PVX_CLFC_D point = Flat(C3DPoint(2, 2, 0), C3DPoint(2, 2, 5), 3.0);
    point.dWidth = 1.0;
    Show(21, {point});
    EXPECT_TRUE(E().m_bands.empty());
    EXPECT_TRUE(LinesIn(kCentre).empty());
    for (const GdiRecord& rec : m_dc.GetRecords())
        for (const POINT& p : rec.points) EXPECT_LT(std::abs(p.x), 1000000) << rec.Describe();
}

TEST_F(CutLineDrawTest, OutputRecordsFollowTheirLines) {
    // Numbers off: no output record. Numbers on: one per line drawn, named by its place in the
    // list (key = index + 1), so that a line without a diagram (here the first, of no length)
    // takes no other line's numbers.
    T_PVX_CLFC_D none = Flat(C3DPoint(1, 1, 0), C3DPoint(1, 1, 0), 2.0);
    T_PVX_CLFC_D line = Flat(C3DPoint(0, 0, 0), C3DPoint(8, 0, 0), 7.0);
    Show(21, {none, line});
    EXPECT_EQ(E().m_arrBSfdBmdOutVal.GetSize(), 0);
    M().m_pDispOpt->m_Number.m_bShowNumbers = 1;
    E().m_bNumMiddle = 1;
    M().m_bExportMetafile = 1;  // numbers queued: read them back from the queue
    auto& queue = M().m_pDrawFuncArray->m_OutputSfdBmdNumber;
    queue.Clear();
    Show(21, {none, line});
    ASSERT_EQ(E().m_arrBSfdBmdOutVal.GetSize(), 1);
    EXPECT_EQ(E().m_arrBSfdBmdOutVal[0].nKey, 2u);
    EXPECT_EQ(E().m_arrBSfdBmdOutVal[0].nComp, 0);
    ASSERT_EQ(queue.GetCount(), 1);
    const T_DrawNumberRec* q = queue.GetList().GetHead();
    EXPECT_EQ(q->m_nKind, 8) << "middle value";
    EXPECT_DOUBLE_EQ(q->m_dValue, 7.0);
    EXPECT_DOUBLE_EQ(q->m_dAxis1[0], 0.0);
    EXPECT_DOUBLE_EQ(q->m_dAxis2[0], 8.0) << "the axis of the second line";
    queue.Clear();
    M().m_bExportMetafile = 0;
}

TEST_F(CutLineDrawTest, UndeformedDiagramsNeedNoDeformationEngine) {
    ASSERT_EQ(M().m_pDeformEngine, nullptr);
    Show(22, {Flat(C3DPoint(0, 0, 0), C3DPoint(8, 0, 0), 3.0)});
    EXPECT_FALSE(E().m_bands.empty());
    E().m_bDeformed = 1;  // on the deformed shape it does
    Show(22, {Flat(C3DPoint(0, 0, 0), C3DPoint(8, 0, 0), 3.0)});
    EXPECT_TRUE(E().m_bands.empty());
    EXPECT_TRUE(LinesIn(kCentre).empty());
}

TEST_F(CutLineDrawTest, StraightLinePolygonBuilder) {
    // The line (0, 0, 0) to (8, 0, 4): station k at (k, 0, k / 2). Its polygons are those the drawn
    // diagram builder makes for the same line, the moment on the same side; a component other
    // than 0 and 3 gives none and leaves the label points alone.
    T_PVX_CLFC_D l = Line(C3DPoint(0, 0, 0), C3DPoint(8, 0, 4), [](int k) { return 1.0 + k; }, [](int k) { return 2.0 - k; });
    double axes[3][3];
    AxesAlongX(axes);
    C3DPoint pI(0, 0, 0), pJ(8, 0, 4);
    for (int comp : {0, 3}) {
        SCOPED_TRACE(comp);
        Lists a, b;
        double ea[2], eb[2];
        E().CLSfdBmdMakePolygon(l.Forc, comp, axes, pI, pJ, a.points, a.values, a.edges, a.quads, nullptr, ea, 0, nullptr);
        E().BSfdBmdMakePolygon_New(l.Forc, comp, axes, pI, pJ, b.points, b.values, b.edges, b.quads, nullptr, eb, 0,
                                   nullptr, 0.0);
        ASSERT_GT(a.quads.GetSize(), 0);
        ASSERT_EQ(a.points.GetSize(), b.points.GetSize());
        for (INT_PTR i = 0; i < a.points.GetSize(); ++i) {
            EXPECT_TRUE(Near(a.points[i], b.points[i], 1e-9));
            EXPECT_DOUBLE_EQ(a.values[i], b.values[i]);
        }
        // A segment (1.1 m) is shorter than a piece (2 m): the axis corners are the stations.
        for (int k = 0; k <= 8; ++k) {
            bool bFound = false;
            for (INT_PTR i = 0; i < a.points.GetSize(); ++i) bFound = bFound || Near(a.points[i], C3DPoint(k, 0, k / 2.0));
            EXPECT_TRUE(bFound) << "station " << k;
        }
    }
    Lists c;
    C3DPoint labels[3] = {C3DPoint(9, 9, 9), C3DPoint(9, 9, 9), C3DPoint(9, 9, 9)};
    double ext[2] = {5, 5};
    E().CLSfdBmdMakePolygon(l.Forc, 1, axes, pI, pJ, c.points, c.values, c.edges, c.quads, labels, ext, 0, nullptr);
    EXPECT_EQ(c.quads.GetSize(), 0);
    EXPECT_TRUE(Near(labels[1], C3DPoint(9, 9, 9)));
    EXPECT_EQ(ext[0], 0.0);
    EXPECT_EQ(ext[1], 0.0);
}

}  // namespace diagramtest
