// The drawing side: the beam-diagram scale, plan geometry, the contour-list overrides and the
// diagram lists of the steel and envelope figures.
#include <cmath>
#include <string>

#include "platform/gdi/CRecordDC.h"
#include "tests/module/designdata/DesignDataTestSupport.h"

namespace designdata {

// Scale = the larger plan extent over |s| x 20: the model is 40 m by 10 m, so s = 0 (counted as
// 1) gives 40 / 20 = 2.0 and s = -4 gives 40 / 80 = 0.5.
TEST_F(DesignDataTest, BeamDiagramScaleFromTheModelExtent) {
    struct Row {
        double s, want;
    };
    const Row rows[] = {{0.0, 2.0}, {-4.0, 0.5}, {1e-16, 2.0}, {8.0, 0.25}};
    for (const Row& r : rows) {
        SCOPED_TRACE("s = " + std::to_string(r.s));
        m_design->InitBeamDiagramAdjustFactor(r.s);
        EXPECT_DOUBLE_EQ(m_design->m_dBeamDgmScale, r.want);
    }
}

// Midpoint of exactly two points in plan with the first point's z; any other count leaves out.
TEST(DesignDataGeometry, MemberCentre) {
    CArray<C3DPoint, C3DPoint&> pts;
    C3DPoint out(7, 7, 7);
    EXPECT_EQ(DesignDataProbe::GetMemberCentPt(pts, out), 0);
    C3DPoint p0(0, 0, 5), p1(2, 4, 9), p2(1, 1, 1);
    pts.Add(p0);
    pts.Add(p1);
    ASSERT_EQ(DesignDataProbe::GetMemberCentPt(pts, out), 1);
    EXPECT_EQ(out, C3DPoint(1, 2, 5));
    pts.Add(p2);
    C3DPoint keep(7, 7, 7);
    EXPECT_EQ(DesignDataProbe::GetMemberCentPt(pts, keep), 0);
    EXPECT_EQ(keep, C3DPoint(7, 7, 7));
    C3DPoint c;
    DesignDataProbe::GetCentPt(C3DPoint(0, 0, 5), C3DPoint(2, 4, 9), c);
    EXPECT_EQ(c, C3DPoint(1, 2, 5));
}

// Plan angles by quadrant (degrees), and the lines the quadrant formulas got wrong: straight
// down -90 (not +90), straight left 180 (not 0), equal points 0 (not a number).
TEST(DesignDataGeometry, PlanAngleOfALine) {
    struct Row {
        const char* name;
        C3DPoint a, b;
        double want;
    };
    const Row rows[] = {
        {"up-left", {1, 0, 0}, {0, 1, 0}, 135.0},
        {"down-right", {0, 1, 0}, {1, 0, 0}, -45.0},
        {"up-right", {0, 0, 0}, {1, 1, 0}, 45.0},
        {"down-left", {1, 1, 0}, {0, 0, 0}, 225.0},
        {"up-left steep", {0, 0, 0}, {-1, std::sqrt(3.0), 0}, 120.0},
        {"right", {0, 0, 0}, {2, 0, 0}, 0.0},
        {"up", {0, 0, 0}, {0, 2, 0}, 90.0},
        {"down", {0, 2, 0}, {0, 0, 0}, -90.0},
        {"left", {2, 0, 0}, {0, 0, 0}, 180.0},
        {"equal points", {3, 3, 0}, {3, 3, 5}, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const double got = DesignDataProbe::GetRotateAngleBy2Points(r.a, r.b);
        ASSERT_FALSE(std::isnan(got));
        EXPECT_NEAR(got, r.want, 1e-9);
    }
}

// Contour lists in the edge style: only flagged edges, each in the grey of a monochrome print
// (0x3C3C3C) or the single contour colour; with no contour engine nothing; with style 0 the base
// drawing runs (it fills the bands).
TEST_F(DesignDataTest, ContourListEdgeStyle) {
    m_model->m_bExternalDevice = 0;
    m_model->m_bSecondTarget = 1;  // no live copy on the window: every edge goes to the DC
    m_model->m_bContour = 0;
    m_model->m_pDispOpt->m_Color.m_crContourLine = RGB(0, 0, 255);
    struct Row {
        const char* name;
        int style, flag, printing, printMode;
        bool engine;
        size_t lines;
        COLORREF pen;  // of every line
        bool filled;   // the base drawing filled a band
    };
    const Row rows[] = {
        {"edges in the contour colour", 1, 1, 0, 0, true, 3, RGB(0, 0, 255), false},
        {"no flagged edge", 1, 0, 0, 0, true, 0, 0, false},
        {"monochrome print", 1, 1, 1, 0, true, 3, RGB(60, 60, 60), false},
        {"colour print", 1, 1, 1, 2, true, 3, RGB(0, 0, 255), false},
        {"no contour engine", 1, 1, 0, 0, false, 0, 0, false},
        {"base drawing", 0, 1, 0, 0, true, 0, 0, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        delete m_design->m_pContourEngine;
        m_design->m_pContourEngine = r.engine ? new CContourEngine(0.0, 10.0) : nullptr;
        m_design->m_bContourStyle = r.style;
        m_model->m_pDispOpt->m_nPrintColorMode = r.printMode;
        CArray<int, int> sizes;
        CArray<VtxInfo_tag, VtxInfo_tag> v;
        sizes.Add(3);
        const C3DPoint pts[3] = {{0, 0, 3}, {8, 0, 3}, {8, 5, 3}};
        for (int i = 0; i < 3; ++i) v.Add(VtxInfo_tag{pts[i], r.flag, 2.0 * i});
        CRecordDC dc;
        dc.Create();
        dc.SetPrinting(r.printing);
        dc.Clear();
        m_design->DrawContourList(&dc, sizes, v);
        const auto lines = dc.GetRecords("LineTo");
        EXPECT_EQ(lines.size(), r.lines);
        for (const GdiRecord* l : lines) EXPECT_EQ(l->pen.lopnColor, r.pen);
        EXPECT_EQ(dc.Count("Polygon") + dc.Count("PolyPolygon") > 0, r.filled);
    }
}

// The envelope walk appends both diagrams of a beam in mode 35, the first in 36 and none in 23
// (two beams of the member-key list); the steel walk both in mode 23.
TEST_F(DesignDataTest, DiagramCountsByFigureMode) {
    m_design->m_bShowDiagram = 1;
    struct Row {
        int mode;
        bool envelope;  // the envelope walk, else the steel walk
        INT_PTR count;
    };
    const Row rows[] = {{35, true, 4}, {36, true, 2}, {23, true, 0}, {23, false, 4}};
    for (const Row& r : rows) {
        SCOPED_TRACE("mode " + std::to_string(r.mode) + (r.envelope ? " envelope" : " steel"));
        SetFigureMode(r.mode);
        ASSERT_EQ(r.mode == 23 ? m_design->MakeBeamSteelDataList() : m_design->MakeBeamBM_SFDataList_Envelope(), 1);
        if (r.envelope)
            m_design->DrawBeamSfdBmd_Envelope();
        else
            m_design->DrawBeamDgnSteelDiagram();
        CArray<T_DIAGRAM_D, T_DIAGRAM_D&> d;
        m_design->GetDiagramData(d);
        EXPECT_EQ(d.GetSize(), r.count);
    }
}

// A steel diagram of beam 20 in mode 23: nine points along the beam offset by the negated top
// values (row 0) across the member in plan, its end values and the largest inner value; the
// diagram switch off gives none.
TEST_F(DesignDataTest, SteelDiagramValuesAndPoints) {
    SetFigureMode(23);
    ASSERT_EQ(m_design->MakeBeamSteelDataList(), 1);
    m_design->m_bShowDiagram = 0;
    m_design->DrawBeamDgnSteelDiagram();
    CArray<T_DIAGRAM_D, T_DIAGRAM_D&> d;
    EXPECT_EQ(m_design->GetDiagramData(d), 0);
    m_design->m_bShowDiagram = 1;
    m_design->DrawBeamDgnSteelDiagram();
    ASSERT_EQ(m_design->GetDiagramData(d), 1);
    ASSERT_EQ(d.GetSize(), 4);
    const T_DIAGRAM_D& top = d[0];
    EXPECT_EQ(top.nKey, static_cast<UINT>(kBeamA));
    // Row 0 takes -top: -9 -1 -2 -5 -3 -5 -1 -0 -10; the largest inner value is -0 at station 7.
    EXPECT_EQ(top.dVal[0], -9.0);
    EXPECT_EQ(top.dVal[2], -10.0);
    EXPECT_EQ(top.dVal[1], 0.0);
    // Offset along minus the second local axis by value x 1 x scale (40 / 240); the beam runs
    // along x, so the offset is in y and its size is |value| / 6.
    const double scale = 40.0 / 240.0;
    for (int k = 0; k < 9; ++k) {
        SCOPED_TRACE("station " + std::to_string(k));
        EXPECT_NEAR(top.pt[k].x, k, 1e-12);
        EXPECT_NEAR(std::fabs(top.pt[k].y), kTopA[k] * scale, 1e-12);
    }
    EXPECT_EQ(d[1].dVal[0], kBotA[0]);
    EXPECT_EQ(d[1].dVal[1], 4.0);
}

// The steel walk draws every member's outline in depth order with the inactive members wide for
// the walk only (the display option comes back as it was); the envelope walk draws nothing while
// the envelope list is empty, and records the envelope index of each beam it finds.
TEST_F(DesignDataTest, MemberWalksDrawOutlinesAndRestoreTheWidePen) {
    for (int wide : {0, 1}) {
        SCOPED_TRACE("wide option " + std::to_string(wide));
        m_model->m_pDispOpt->m_bWireFrame = wide;
        CRecordDC dc;
        dc.Create();
        dc.Clear();
        m_design->DrawBeamSteelDiagram(&dc);
        EXPECT_EQ(m_model->m_pDispOpt->m_bWireFrame, wide);
        EXPECT_GT(dc.Count("LineTo") + dc.Count("Polyline") + dc.Count("PolylineTo"), 0u);
    }
    CRecordDC dc;
    dc.Create();
    dc.Clear();
    m_design->m_arrDrawnBeamIdx.Add(5);
    m_design->DrawBBM_SFDiagram(&dc);
    EXPECT_EQ(m_design->m_arrDrawnBeamIdx.GetSize(), 0);
    EXPECT_EQ(dc.GetRecords().size(), 0u);
}

// The band of one steel row of mode 23, by hand: beam (0,0,0)-(8,0,0), stations at x = k, curve
// point k at (k, 10 + k, 0), row r valued 100 r + k. Segment k is the quadrilateral station k,
// station k + 1, curve k + 1, curve k, valued by the row (the steel area, never the drawn sign),
// its curve edge marked and its ordinates only at the beam's ends.
TEST(DesignDataGeometry, SteelBandQuadrilaterals) {
    T_BEAM_SD rec;
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 9; ++k) rec.dVal[r][k] = 100.0 * r + k;
    const C3DPoint start(0, 0, 0), end(8, 0, 0);
    struct Row {
        int row, curvePoints, quads;
    } rows[] = {{0, 9, 8}, {1, 9, 8}, {2, 9, 8}, {3, 9, 0}, {-1, 9, 0}, {1, 8, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "row " << r.row << ", curve of " << r.curvePoints);
        CArray<C3DPoint, C3DPoint&> curve, points;
        for (int k = 0; k < r.curvePoints; ++k) {
            C3DPoint c(k, 10.0 + k, 0);
            curve.Add(c);
        }
        CArray<double, double> values;
        CArray<int, int> flags, ints;
        DesignDataProbe::BeamAsVMakePolygon(rec, r.row, start, end, curve, points, values, flags, ints);
        ASSERT_EQ(flags.GetSize(), r.quads);
        ASSERT_TRUE(points.GetSize() == 4 * r.quads && values.GetSize() == 4 * r.quads && ints.GetSize() == 4 * r.quads);
        for (int k = 0; k < r.quads; ++k) {
            EXPECT_EQ(flags[k], 1);
            const double x[4] = {double(k), k + 1.0, k + 1.0, double(k)}, y[4] = {0, 0, 11.0 + k, 10.0 + k};
            const double v0 = 100.0 * r.row + k, v[4] = {v0, v0 + 1, v0 + 1, v0};
            const int edge[4] = {0, k == 7, 1, k == 0};
            for (int j = 0; j < 4; ++j) {
                SCOPED_TRACE(testing::Message() << "segment " << k << ", vertex " << j);
                EXPECT_DOUBLE_EQ(points[4 * k + j].x, x[j]);
                EXPECT_DOUBLE_EQ(points[4 * k + j].y, y[j]);
                EXPECT_EQ(values[4 * k + j], v[j]);
                EXPECT_EQ(ints[4 * k + j], edge[j]);
            }
        }
    }
}

// The steel walk of mode 23 draws the bands of beams 20 and 21 over their outlines while the
// diagram switch is on, and only the outlines while it is off.
TEST_F(DesignDataTest, SteelWalkDrawsTheBands) {
    SetFigureMode(23);
    ASSERT_EQ(m_design->MakeBeamSteelDataList(), 1);
    size_t lines[2] = {0, 0};
    for (int on : {0, 1}) {
        m_design->m_bShowDiagram = on;
        CRecordDC dc;
        dc.Create();
        m_design->DrawBeamSteelDiagram(&dc);
        lines[on] = dc.Count("LineTo") + dc.Count("Polyline") + dc.Count("PolylineTo");
    }
    EXPECT_GT(lines[1], lines[0]);
}

}  // namespace designdata
