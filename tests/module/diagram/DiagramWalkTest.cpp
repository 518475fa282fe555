// The member walk of the diagram display on the small project: which members get a diagram,
// the output records it keeps, the display modes and load kinds it serves, columns, T-girders,
// the deformed-shape guard, Escape, and the hand-over of the polygon lists to the band drawing.
#include <algorithm>

#include "module/force/ForceDiagramParts.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "platform/ui/CUiDriver.h"
#include "tests/module/diagram/DiagramTestSupport.h"

namespace diagramtest {

class DiagramWalkTest : public DiagramProjectTest {
protected:
    void SetUp() override {
        DiagramProjectTest::SetUp();
        Ctrl()->ViewZoomAll(1);
    }
    void TearDown() override {
        CUiDriver::Get().PressEscapeAfterPolls(-1);
        Ctrl()->ResetEscKeyPress();
        DiagramProjectTest::TearDown();
    }
    void Numbers(int on) { M().m_pDispOpt->m_Number.m_bShowNumbers = on; }
    // Band vertices lying in the vertical plane y = y0.
    std::vector<VtxInfo_tag> BandsAtY(double y0) const {
        std::vector<VtxInfo_tag> out;
        for (const auto& b : m_engine->m_bands)
            for (const VtxInfo_tag& v : b.v)
                if (std::fabs(v.pt.y - y0) < 1e-9) out.push_back(v);
        return out;
    }
};

TEST_F(DiagramWalkTest, OneDiagramPerMemberWithForces) {
    // Beam, roof beam, T-girder and two-element beam have forces, the column its record but no
    // moment y (no diagram to draw), the last beam no forces at all. The diagrams need no
    // deformation engine on the undeformed shape.
    ASSERT_EQ(M().m_pDeformEngine, nullptr);
    E().DrawBeamSfdBmd(&m_dc);
    EXPECT_EQ(E().m_nCalls, 4) << "one list drawing per diagram";
    EXPECT_EQ(E().m_arrBSfdBmdOutVal.GetSize(), 0) << "numbers are off";
    EXPECT_GT(m_dc.Count("LineTo") + m_dc.Count("Polygon") + m_dc.Count("Polyline"), 0u) << "the members are drawn";

    Numbers(1);
    E().DrawBeamSfdBmd(&m_dc);
    EXPECT_EQ(E().m_arrBSfdBmdOutVal.GetSize(), 4);
    EXPECT_EQ(E().m_arrBSfdBmdOutValMin.GetSize(), 0);
    EXPECT_EQ(E().m_arrCSfdBmdOutVal.GetSize(), 1) << "the column's record";
}

TEST_F(DiagramWalkTest, DisplayModesAndDataReady) {
    struct Row {
        const char* label;
        int mode, ready, calls;
    } const rows[] = {
        {"frame force diagram", 7, 1, 4},
        {"strip diagrams share the walk", 21, 1, 4},
        {"slab forces on beams", 22, 1, 4},
        {"frame force contour: members only", 6, 1, 0},
        {"data not ready: nothing", 7, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        M().m_nDisplayMode = r.mode;
        E().m_bBForcData = r.ready;
        E().m_nCalls = 0;
        m_dc.Clear();
        // A record of an earlier draw stays while nothing is drawn.
        E().m_arrBSfdBmdOutVal.RemoveAll();
        T_SFDBMD_OUTVAL_D old;
        old.nKey = 99;
        E().m_arrBSfdBmdOutVal.Add(old);
        E().DrawBeamSfdBmd(&m_dc);
        EXPECT_EQ(E().m_nCalls, r.calls);
        EXPECT_EQ(E().m_arrBSfdBmdOutVal.GetSize(), r.ready ? 0 : 1);
        EXPECT_EQ(m_dc.Count("LineTo") + m_dc.Count("Polygon") + m_dc.Count("Polyline") > 0, r.ready == 1);
    }
}

TEST_F(DiagramWalkTest, CombinedComponentsMergeIntoOneRecordPerMember) {
    Numbers(1);
    for (int sel : {6, 7}) {
        SCOPED_TRACE(sel);
        E().m_nBForcComp = sel;
        E().m_nCalls = 0;
        E().DrawBeamSfdBmd(&m_dc);
        // The project's members carry moment y only: no shear diagram is filled, but each
        // member still gives its (zero) record.
        EXPECT_EQ(E().m_nCalls, sel == 7 ? 4 : 0) << "both components of a member filled at once";
        EXPECT_EQ(E().m_arrBSfdBmdOutVal.GetSize(), 4);
        EXPECT_EQ(E().m_arrBSfdBmdOutValMin.GetSize(), 0);
    }
}

TEST_F(DiagramWalkTest, EnvelopeDiagramsDrawBothSides) {
    // The envelope of DL and LL: maximum DL where DL is positive, LL (-0.5 DL) elsewhere.
    SelectLoad(12, kEnv, 3);
    E().m_bMinMaxDiagram = 1;
    ASSERT_EQ(E().InitEngine(nullptr, 7), 1);
    ASSERT_EQ(E().IsMinMaxDiagram(), 1);
    Numbers(1);
    E().DrawBeamSfdBmd(&m_dc);
    EXPECT_EQ(E().m_arrBSfdBmdOutVal.GetSize(), 4);
    EXPECT_EQ(E().m_arrBSfdBmdOutValMin.GetSize(), 4);
    // Selector 7 merges both sides of both components into the one record of the member.
    E().m_nBForcComp = 7;
    E().DrawBeamSfdBmd(&m_dc);
    EXPECT_EQ(E().m_arrBSfdBmdOutVal.GetSize(), 4);
    EXPECT_EQ(E().m_arrBSfdBmdOutValMin.GetSize(), 0);
}

TEST_F(DiagramWalkTest, ColumnsWithColumnForcesGetTheirDiagram) {
    // Column forces reach the engine only through the column lists (the figure builder fills
    // them); a column with a record there gets its diagram like any beam.
    T_MBCL_D c;
    c.Initialize();
    c.d[0][4] = -10.0;  // moment y at the foot
    c.d[1][4] = 20.0;   // and at the head
    E().m_mapCForc.SetAt(kColumn, c);
    Numbers(1);
    E().DrawBeamSfdBmd(&m_dc);
    EXPECT_EQ(E().m_nCalls, 5);
    ASSERT_EQ(E().m_arrCSfdBmdOutVal.GetSize(), 1);
    const T_SFDBMD_OUTVAL_D2& r = E().m_arrCSfdBmdOutVal[0];
    EXPECT_EQ(r.nKey, static_cast<UINT>(kColumn));
    EXPECT_EQ(r.dVal[0], -10.0);
    EXPECT_EQ(r.dVal[1], 20.0);
    EXPECT_EQ(r.dVal[2], 5.0) << "no inner stations: the mean of the ends";
    // Its bands run up the column at x 0, y 0 (the moment offsets them along local z, -x).
    bool bUp = false;
    for (const auto& b : E().m_bands)
        for (const VtxInfo_tag& v : b.v)
            if (std::fabs(v.pt.y) < 1e-9 && v.pt.z > 0.5 && v.pt.z < 2.5 && std::fabs(v.pt.x) > 1e-9) bUp = true;
    EXPECT_TRUE(bUp);
}

TEST_F(DiagramWalkTest, TGirderDiagramRunsAlongItsBottomEdge) {
    // The girder panel spans (0,-2,3) to (8,-2,2); its moment 2k at station k is drawn from its
    // bottom edge at z 2, downward for positive values.
    E().DrawBeamSfdBmd(&m_dc);
    const std::vector<VtxInfo_tag> v = BandsAtY(-2.0);
    ASSERT_FALSE(v.empty());
    double xMin = 1e9, xMax = -1e9;
    for (const VtxInfo_tag& t : v) {
        EXPECT_LE(t.pt.z, 2.0 + 1e-9);
        xMin = std::min(xMin, t.pt.x);
        xMax = std::max(xMax, t.pt.x);
    }
    EXPECT_NEAR(xMin, 0.0, 1e-9);
    EXPECT_NEAR(xMax, 8.0, 1e-9);
}

TEST_F(DiagramWalkTest, BendingDiagramsSpanTheFlexibleLength) {
    // The beam (x 0 to 8 at y 0) has end offsets of 0.5 m in direction 3 (moment y) and 1 m and
    // 2 m in direction 2 (moment z).
    struct Row {
        int comp;
        double from, to;
    } const rows[] = {{4, 0.5, 7.5}, {0, 0.0, 8.0}};
    E().m_mapCForc.RemoveAll();  // the beam's diagram alone: the column without its forces is plain
    for (const Row& r : rows) {
        SCOPED_TRACE(r.comp);
        E().m_nBForcComp = r.comp;
        E().m_bands.clear();
        E().DrawBeamSfdBmd(&m_dc);
        double xMin = 1e9, xMax = -1e9;
        for (const auto& b : E().m_bands)
            for (const VtxInfo_tag& t : b.v)
                if (std::fabs(t.pt.y) < 1e-9 && std::fabs(t.pt.x) + std::fabs(t.pt.z - 3) > 1e-9 && t.pt.x > 0.1) {
                    xMin = std::min(xMin, t.pt.x);
                    xMax = std::max(xMax, t.pt.x);
                }
        if (r.comp == 0) {
            EXPECT_TRUE(xMin > 1e8) << "the beam has no axial force: no diagram";
            continue;
        }
        EXPECT_NEAR(xMin, r.from, 1e-9);
        EXPECT_NEAR(xMax, r.to, 1e-9);
    }
}

TEST_F(DiagramWalkTest, DeformedWithoutADeformationEngineDrawsNothing) {
    E().m_bDeformed = 1;
    M().m_pDispOpt->m_bWireFrame = 0;
    M().m_pDispOpt->m_nRenderMode = 1;
    E().DrawBeamSfdBmd(&m_dc);
    EXPECT_EQ(E().m_nCalls, 0);
    EXPECT_EQ(m_dc.Count("LineTo") + m_dc.Count("Polygon") + m_dc.Count("Polyline"), 0u);
    EXPECT_EQ(M().m_pDispOpt->m_bWireFrame, 0) << "the view-state option is put back";
    EXPECT_EQ(M().m_pDispOpt->m_nRenderMode, 1);
    // And after a whole draw on the undeformed shape.
    E().m_bDeformed = 0;
    E().DrawBeamSfdBmd(&m_dc);
    EXPECT_EQ(M().m_pDispOpt->m_bWireFrame, 0);
}

TEST_F(DiagramWalkTest, EscapeStopsTheWalk) {
    Numbers(1);
    E().m_bNumIEnd = 1;
    CUiDriver::Get().PressEscapeAfterPolls(1);
    E().DrawBeamSfdBmd(&m_dc);
    EXPECT_LT(E().m_nCalls, 4);
    EXPECT_EQ(M().m_pDrawFuncArray->m_OutputSfdBmdNumber.GetCount(), 0);
    EXPECT_EQ(m_dc.Count("TextOut"), 0u) << "no numbers after Escape";
}

TEST_F(DiagramWalkTest, ContourOfTheListsReadsOnlyWhatTheyHold) {
    E().m_pContourEngine->MakeRankMap(0.0, 100.0);
    CForceEngine::DiagramPointList pts;
    CForceEngine::DiagramValueList vals;
    CForceEngine::DiagramFlagList edges, quads;
    // A quadrilateral and a triangle, all values 1 (one band each).
    const C3DPoint p[7] = {{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 0, 0}, {1, 0, 0}, {1, 0, 1}, {2, 0, 0}};
    for (C3DPoint q : p) {
        pts.Add(q);
        double one = 1.0;
        vals.Add(one);
        edges.Add(1);
    }
    quads.Add(1);
    quads.Add(0);
    E().DoBSfdBmdContour(&m_dc, pts, vals, edges, quads);
    ASSERT_EQ(E().m_bands.size(), 2u);
    EXPECT_EQ(E().m_bands[0].v.size(), 4u);
    EXPECT_EQ(E().m_bands[1].v.size(), 3u);
    // A third polygon announced without its points is not read; the gradient option routes the
    // bands to the graded list drawing.
    quads.Add(1);
    E().m_bands.clear();
    M().m_bGradient = 1;
    E().DoBSfdBmdContour(&m_dc, pts, vals, edges, quads);
    EXPECT_EQ(E().m_bands.size(), 2u);
    EXPECT_EQ(E().m_nGradCalls, 1);
}

TEST_F(DiagramWalkTest, UndeformedWireFrameGoesUnderOutlinedDiagramsAndOverFilledOnes) {
    // Only on the deformed shape with the show-undeformed switch on: before outlined diagrams
    // (the outline switch on), after filled ones.
    const struct {
        const char* label;
        int deformed, wire, outlined;
        bool after, drawn;
    } rows[] = {
        {"outlined, before the diagrams", 1, 1, 1, false, true},
        {"outlined, after the diagrams", 1, 1, 1, true, false},
        {"filled, before the diagrams", 1, 1, 0, false, false},
        {"filled, after the diagrams", 1, 1, 0, true, true},
        {"switch off", 1, 0, 1, false, false},
        {"undeformed shape", 0, 1, 0, true, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        E().m_bDeformed = r.deformed;
        E().m_bBSfdBmdLine = r.outlined;
        M().m_pDispOpt->m_bUndeformedWireFrame = r.wire;
        M().m_pDispOpt->m_nRenderMode = 1;
        m_dc.Clear();
        forcediagram::DrawUndeformedWire(E(), M(), &m_dc, r.after);
        const size_t n = m_dc.Count("LineTo") + m_dc.Count("Polygon") + m_dc.Count("Polyline");
        EXPECT_EQ(n > 0, r.drawn);
        EXPECT_EQ(M().m_pDispOpt->m_nRenderMode, 1) << "the draw style is put back";
    }
    E().m_bDeformed = 0;
}

}  // namespace diagramtest
