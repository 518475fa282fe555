// Reaction arrows and their numbers (display mode 0), the pressure contour on rafts and beams and
// its numbers (display mode 70), drawn on the recording device context.
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "host/grx/GKrigContour.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CPlotReactionEng.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CUiDriver.h"
#include "tests/module/reaction/ReactionTestSupport.h"

namespace reactest {

namespace {

std::vector<C3DPoint> Points(const PVXPolyList& l) {
    std::vector<C3DPoint> v;
    POSITION pos = l.GetHeadPosition();
    while (pos) v.push_back(l.GetNext(pos));
    return v;
}

void ExpectPoint(const C3DPoint& p, double x, double y, double z, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_NEAR(p.x, x, 1e-12);
    EXPECT_NEAR(p.y, y, 1e-12);
    EXPECT_NEAR(p.z, z, 1e-12);
}

bool IsLine(const GdiRecord& r) { return r.op == "LineTo" || r.op == "Polyline" || r.op == "PolylineTo"; }

size_t CountFills(const CRecordDC& dc, COLORREF brush) {
    size_t n = 0;
    for (const GdiRecord* r : dc.GetRecords("Polygon"))
        if (r->brush.lbColor == brush) ++n;
    return n;
}

size_t CountLines(const CRecordDC& dc, COLORREF pen) {
    size_t n = 0;
    for (const GdiRecord& r : dc.GetRecords())
        if (IsLine(r) && r.pen.lopnColor == pen) ++n;
    return n;
}

std::vector<const GdiRecord*> Texts(const CRecordDC& dc) { return dc.GetRecords("TextOut"); }

}  // namespace

TEST(ReactionGlyph, ForceArrowLiesOppositeToItsSign) {
    // FX = -5 at the origin with head size 0.175 (s = -0.175) and shaft length -0.6: base centre
    // B = P - s e = (0.175, 0, 0), corners B +- 0.3 s in y and z, shaft from B to B - L e.
    PVXPolyListArray polys;
    CPlotReactionEng::MakeGlyph(C3DPoint(0, 0, 0), 0, -0.175, -0.6, polys);
    ASSERT_EQ(polys.GetSize(), 6) << "four head triangles, the base, the shaft";
    const double h = 0.3 * -0.175;
    const double cy[4] = {h, h, -h, -h}, cz[4] = {h, -h, -h, h};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const auto t = Points(*polys[i]);
        ASSERT_EQ(t.size(), 3u);
        ExpectPoint(t[0], 0, 0, 0, "apex at the node");
        ExpectPoint(t[1], 0.175, cy[i], cz[i], "corner i");
        ExpectPoint(t[2], 0.175, cy[(i + 1) % 4], cz[(i + 1) % 4], "corner i + 1");
    }
    EXPECT_EQ(polys[4]->GetCount(), 4);
    const auto shaft = Points(*polys[5]);
    ASSERT_EQ(shaft.size(), 2u);
    ExpectPoint(shaft[0], 0.175, 0, 0, "shaft start");
    ExpectPoint(shaft[1], 0.775, 0, 0, "shaft end on the +x side");
    ExpectPoint(CPlotReactionEng::ShaftEnd(C3DPoint(0, 0, 0), 0, -0.175, -0.6), 0.775, 0, 0, "shaft end");
    for (INT_PTR i = 0; i < polys.GetSize(); ++i) delete polys[i];
    polys.RemoveAll();

    // MZ = +2 at (1, 2, 3), s = 0.1, L = 0.5: a second head from B = P - s z to P - 2 s z, the
    // shaft from there on to P - (2 s + L) z.
    CPlotReactionEng::MakeGlyph(C3DPoint(1, 2, 3), 6, 0.1, 0.5, polys);
    ASSERT_EQ(polys.GetSize(), 11);
    ExpectPoint(Points(*polys[5])[0], 1, 2, 2.9, "second apex at B");
    const auto shaft2 = Points(*polys[10]);
    ExpectPoint(shaft2[0], 1, 2, 2.8, "moment shaft start");
    ExpectPoint(shaft2[1], 1, 2, 2.3, "moment shaft end");
    for (INT_PTR i = 0; i < polys.GetSize(); ++i) delete polys[i];
    polys.RemoveAll();
    // Resultants have no glyph of their own.
    CPlotReactionEng::MakeGlyph(C3DPoint(0, 0, 0), 3, 0.1, 0.5, polys);
    CPlotReactionEng::MakeGlyph(C3DPoint(0, 0, 0), 7, 0.1, 0.5, polys);
    EXPECT_EQ(polys.GetSize(), 0);
}

class ReactionDraw : public ReactionFixture {
protected:
    // One draw of the engine into dc for a display mode: begin, draw, numbers, end.
    int DrawMode(CRecordDC& dc, int nMode, bool bNumbers = false, int* pNumbers = nullptr) {
        M().m_nDisplayMode = nMode;
        E().BeginPlotEng(&dc);
        const int r = E().DrawReactionValueNew();
        if (bNumbers) {
            const int n = E().GetPlotEngine()->OutputNumbers(nMode);
            if (pNumbers) *pNumbers = n;
        }
        E().EndPlotEng();
        return r;
    }
};

TEST_F(ReactionDraw, ArrowsOfTheLargestNodeHaveTheirOwnColours) {
    // FZ: node 4 (40) is the largest, node 2 (-20) the other.
    ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 2), 1);
    CRecordDC dc;
    dc.Create();
    EXPECT_EQ(DrawMode(dc, PVXMode::kReaction), 1);
    EXPECT_EQ(CountFills(dc, CPlotReactionEng::kMaxHeadColor), 5u);
    EXPECT_EQ(CountFills(dc, CPlotReactionEng::kHeadColor), 5u);
    EXPECT_EQ(CountLines(dc, CPlotReactionEng::kMaxShaftColor), 1u);
    EXPECT_EQ(CountLines(dc, CPlotReactionEng::kShaftColor), 1u);
    for (const GdiRecord* r : dc.GetRecords("Polygon"))
        if (r->brush.lbColor == CPlotReactionEng::kHeadColor) {
            EXPECT_EQ(r->pen.lopnColor, RGB(0, 0, 0));
        }
    EXPECT_FALSE(Ctrl()->GetKrigContour().IsOn());
    // Without a plot engine nothing is drawn.
    EXPECT_EQ(E().DrawReactionValueNew(), -1);
    // A mode the plot engine does not serve.
    CRecordDC other;
    other.Create();
    EXPECT_EQ(DrawMode(other, PVXMode::kDeformedShape), -1);
}

TEST_F(ReactionDraw, KrigingPointsCarryTheirOwnComponentsValue) {
    // Resultant force with the result-display flag: no arrows, one sample per drawn component:
    // node 1 FX 3 and FY 4, node 2 FZ -20, node 4 FX -5 and FZ 40.
    ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 3), 1);
    M().m_bContour = 1;
    CRecordDC dc;
    dc.Create();
    EXPECT_EQ(DrawMode(dc, PVXMode::kReaction), 1);
    EXPECT_EQ(CountFills(dc, CPlotReactionEng::kHeadColor) + CountFills(dc, CPlotReactionEng::kMaxHeadColor), 0u);
    GKrigContour& k = Ctrl()->GetKrigContour();
    ASSERT_TRUE(k.IsOn());
    EXPECT_EQ(k.GetKind(), 0);
    ASSERT_EQ(k.GetKriging().GetCount(), 5);
    EXPECT_DOUBLE_EQ(k.GetKriging().GetMin(), -20.0);
    EXPECT_DOUBLE_EQ(k.GetKriging().GetMax(), 40.0);
    // The FX shaft of node 4 (10, 10) ends at 10 + size + 5 x 1.2 x adjust on the +x side,
    // size = 0.35 x adjust x the largest resultant; kriging honours its sample there: -5.
    const double adj = E().m_dReacAdjustFactor;
    const double size = 0.35 * adj * std::sqrt(25.0 + 1600.0);
    EXPECT_NEAR(k.GetKriging().Estimate(10.0 + size + 6.0 * adj, 10.0), -5.0, 1e-6);
    EXPECT_NEAR(k.GetKriging().Estimate(10.0, 10.0), 40.0, 1e-6);
    // Switching the flag off takes the contour away at the next draw.
    M().m_bContour = 0;
    CRecordDC dc2;
    dc2.Create();
    DrawMode(dc2, PVXMode::kReaction);
    EXPECT_FALSE(Ctrl()->GetKrigContour().IsOn());
}

TEST_F(ReactionDraw, EscapeStopsTheArrows) {
    ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 2), 1);
    CUiDriver::Get().PressEscapeAfterPolls(0);
    CRecordDC dc;
    dc.Create();
    EXPECT_EQ(DrawMode(dc, PVXMode::kReaction), -1);
    EXPECT_EQ(CountFills(dc, CPlotReactionEng::kHeadColor) + CountFills(dc, CPlotReactionEng::kMaxHeadColor), 0u);
    Ctrl()->ResetEscKeyPress();
}

TEST_F(ReactionDraw, NumbersAtTheNodesOrAtTheShaftEnds) {
    {
        SCOPED_TRACE("FZ at the nodes");
        ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 2), 1);
        CRecordDC dc;
        dc.Create();
        int n = 0;
        DrawMode(dc, PVXMode::kReaction, true, &n);
        EXPECT_EQ(n, 1);
        const auto t = Texts(dc);
        ASSERT_EQ(t.size(), 2u);
        EXPECT_EQ(t[0]->text, "-20.000");
        EXPECT_EQ(t[1]->text, "40.000");
        // Seen from above, each arrow's head covers its node: the number stands centred over
        // the head, a quarter of its height above it, instead of on it.
        const C3DPoint nodes[] = {C3DPoint(10, 0, 0), C3DPoint(10, 10, 0)};
        for (size_t i = 0; i < 2; ++i) {
            const CPoint p = Ctrl()->GetWorldToMemDCP2D(nodes[i]);
            const auto* x = t[i];
            EXPECT_EQ(x->textAlign, static_cast<UINT>(TA_BOTTOM | TA_CENTER)) << x->text;
            EXPECT_NEAR(x->Arg(0), p.x, 1) << x->text;
            EXPECT_LT(x->Arg(1), p.y - 3) << x->text;
            EXPECT_EQ(x->font.lfEscapement, 0);
        }
    }
    {
        SCOPED_TRACE("FXYZ at the shaft ends, as drawn");
        ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 3), 1);
        // Legend extremes that differ from the engine's must not move the labels off the arrows.
        E().m_dLegendMax = 400.0;
        CRecordDC dc;
        dc.Create();
        DrawMode(dc, PVXMode::kReaction, true);
        const double adj = E().m_dReacAdjustFactor;
        const double size = 0.35 * adj * std::sqrt(25.0 + 1600.0);
        // Node 4's FX = -5: its shaft runs along +x; the number sits at its far end, upright.
        const CPoint end = Ctrl()->GetWorldToMemDCP2D(C3DPoint(10.0 + size + 6.0 * adj, 10.0, 0.0));
        bool found = false;
        for (const GdiRecord* r : Texts(dc))
            if (r->text == "-5.000") {
                found = true;
                EXPECT_EQ(r->Arg(0), end.x);
                EXPECT_EQ(r->Arg(1), end.y);
                EXPECT_EQ(r->textAlign, static_cast<UINT>(TA_BASELINE | TA_LEFT));
            }
        EXPECT_TRUE(found);
        // Seen from above, node 4's FZ = 40 ends on the node's heads: its number stands over them.
        const int node4 = Ctrl()->GetWorldToMemDCP2D(C3DPoint(10.0, 10.0, 0.0)).y;
        const auto over = [node4](const GdiRecord* r) { return r->text == "40.000" && r->Arg(1) < node4 - 3; };
        const auto texts = Texts(dc);
        EXPECT_EQ(std::count_if(texts.begin(), texts.end(), over), 1);
        EXPECT_EQ(Texts(dc).size(), 5u) << "one number per non-zero component";
        EXPECT_EQ(M().m_pDispOpt->m_Number.m_lfNodeNumber.lfOrientation, 0) << "orientation put back";
    }
    {
        SCOPED_TRACE("no data");
        ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 5), 0);
        CRecordDC dc;
        dc.Create();
        int n = 1;
        DrawMode(dc, PVXMode::kReaction, true, &n);
        EXPECT_EQ(n, 0);
        EXPECT_EQ(Texts(dc).size(), 0u);
    }
}

TEST_F(ReactionDraw, ExtremeFilterOfTheNumbers) {
    ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 2), 1);  // values -20 and 40
    T_PVX_DOPT_NUMBER_D& n = M().m_pDispOpt->m_Number;
    n.m_nNumberOpt2 = 1;     // extremes only
    n.m_dNumberFactor = 10;  // band: 10 % of the span of 60 = 6
    struct Row {
        int kind;
        std::vector<std::string> texts;
    } rows[] = {
        {0, {"Min:-20.000", "Max:40.000"}},
        {1, {"MAX:40.000"}},  // 40 - |-20| = 20 > 6: only 40
        {2, {"Max:40.000"}},
        {3, {"Min:-20.000"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        n.m_nNumberOpt1 = r.kind;
        CRecordDC dc;
        dc.Create();
        DrawMode(dc, PVXMode::kReaction, true);
        std::vector<std::string> got;
        for (const GdiRecord* t : Texts(dc)) got.push_back(t->text);
        EXPECT_EQ(got, r.texts);
    }
}

TEST_F(ReactionDraw, RaftContourTakesTheNodePressures) {
    ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 2), 1);
    CRecordDC dc;
    dc.Create();
    EXPECT_EQ(DrawMode(dc, PVXMode::kReactionContour), 1);
    // Node values: 10 (0,20), 22 (4,20), 60 (8,20), 40 (0,24), 33 (4,24), 50 (8,24).
    std::map<std::pair<int, int>, double> expected = {{{0, 20}, 10.0}, {{4, 20}, 22.0}, {{8, 20}, 60.0},
                                                      {{0, 24}, 40.0}, {{4, 24}, 33.0}, {{8, 24}, 50.0}};
    ASSERT_GE(E().m_polys.size(), 2u);
    std::set<std::pair<int, int>> seen;
    for (const auto& poly : E().m_polys) {
        ASSERT_EQ(poly.points.size(), 4u);
        for (size_t i = 0; i < poly.points.size(); ++i) {
            const auto key = std::make_pair(static_cast<int>(std::lround(poly.points[i].x)),
                                            static_cast<int>(std::lround(poly.points[i].y)));
            ASSERT_TRUE(expected.count(key)) << poly.points[i].x << ", " << poly.points[i].y;
            EXPECT_DOUBLE_EQ(poly.values[i], expected[key]);
            seen.insert(key);
        }
    }
    EXPECT_EQ(seen.size(), 6u);
    // The contour numbers: each plate's extreme at its centre.
    CRecordDC num;
    num.Create();
    DrawMode(num, PVXMode::kReactionContour, true);
    const auto t = Texts(num);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0]->text, "40.000");
    EXPECT_EQ(t[1]->text, "60.000");
    const CPoint c = Ctrl()->GetWorldToMemDCP2D(C3DPoint(2, 22, 0));
    EXPECT_EQ(t[0]->Arg(0), c.x);
    EXPECT_EQ(t[0]->Arg(1), c.y);
}

TEST_F(ReactionDraw, BeamContourNeedsTheResultDisplayFlag) {
    ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 2, CReactionEngine::MEMB_BEAM), 1);
    M().m_bContour = 0;
    CRecordDC off;
    off.Create();
    EXPECT_EQ(DrawMode(off, PVXMode::kReactionContour), 0);
    EXPECT_TRUE(E().m_polys.empty());
    EXPECT_TRUE(E().m_lines.empty());
    EXPECT_GT(off.Count("Polygon"), 0u) << "the plain model is drawn instead";
}

TEST_F(ReactionDraw, BeamSideFacesInEightStripsEndFacesInOneValue) {
    ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 2, CReactionEngine::MEMB_BEAM), 1);
    M().m_bContour = 1;
    CRecordDC dc;
    dc.Create();
    EXPECT_EQ(DrawMode(dc, PVXMode::kReactionContour), 1);
    // Stations at x = 0, 1, ..., 8: -8, -6, -4, -2, 0, 2, 4, 3, 2.
    const double st[9] = {-8, -6, -4, -2, 0, 2, 4, 3, 2};
    size_t strips = 0, ends = 0;
    for (const auto& poly : E().m_polys) {
        ASSERT_EQ(poly.points.size(), 4u);
        double xmin = 1e9, xmax = -1e9;
        for (const C3DPoint& p : poly.points) {
            xmin = std::min(xmin, p.x);
            xmax = std::max(xmax, p.x);
        }
        if (xmax - xmin < 1e-9) {  // an end face: one value
            ++ends;
            const double v = xmin < 0.5 ? -8.0 : 2.0;
            for (double pv : poly.values) EXPECT_DOUBLE_EQ(pv, v);
            continue;
        }
        ++strips;
        const int k = static_cast<int>(std::lround(xmin));
        EXPECT_NEAR(xmax - xmin, 1.0, 1e-9) << "strips one eighth of the element long";
        for (size_t i = 0; i < 4; ++i) {
            const bool atStart = std::fabs(poly.points[i].x - xmin) < 1e-9;
            EXPECT_DOUBLE_EQ(poly.values[i], atStart ? st[k] : st[k + 1]);
        }
    }
    EXPECT_EQ(ends, 2u);
    EXPECT_GT(strips, 0u);
    EXPECT_EQ(strips % 8, 0u);
}

TEST_F(ReactionDraw, BeamAsALineThroughItsStations) {
    ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 2, CReactionEngine::MEMB_BEAM), 1);
    M().m_bContour = 1;
    M().m_pDispOpt->m_bWireFrame = 1;  // members as lines
    CRecordDC dc;
    dc.Create();
    EXPECT_EQ(DrawMode(dc, PVXMode::kReactionContour), 1);
    ASSERT_EQ(E().m_lines.size(), 1u) << "once per element";
    const auto& line = E().m_lines[0];
    const double st[9] = {-8, -6, -4, -2, 0, 2, 4, 3, 2};
    // Every station appears at its place with its value; in between only level crossings,
    // whose values lie between their neighbours.
    int k = 0;
    for (size_t i = 0; i < line.points.size(); ++i) {
        const double x = line.points[i].x;
        if (std::fabs(x - k) < 1e-9) {
            EXPECT_DOUBLE_EQ(line.values[i], st[k]) << "station " << k;
            ++k;
        }
        if (i > 0) {
            EXPECT_GE(x, line.points[i - 1].x - 1e-12) << "points in order along the element";
        }
    }
    EXPECT_EQ(k, 9);
}

TEST_F(ReactionDraw, EscapeStopsTheContours) {
    for (int kind : {CReactionEngine::MEMB_RAFT, CReactionEngine::MEMB_BEAM}) {
        SCOPED_TRACE(kind);
        ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 2, kind), 1);
        M().m_bContour = 1;
        E().m_polys.clear();
        CUiDriver::Get().PressEscapeAfterPolls(0);
        CRecordDC dc;
        dc.Create();
        EXPECT_EQ(DrawMode(dc, PVXMode::kReactionContour), -1);
        EXPECT_TRUE(E().m_polys.empty());
        Ctrl()->ResetEscKeyPress();
    }
}

}  // namespace reactest
