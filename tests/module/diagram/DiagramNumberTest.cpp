// Frame force numbers: the number format, the extreme filter, text side and slope, the choice
// between the overlay queue and drawing at once, and the member numbers of the frame contour.
#include "module/model/CPVXDrawFuncArray.h"
#include "tests/module/diagram/DiagramTestSupport.h"

namespace diagramtest {

class DiagramNumberTest : public DiagramProjectTest {
protected:
    void SetUp() override {
        DiagramProjectTest::SetUp();
        Ctrl()->ViewZoomAll(1);
        T_PVX_DOPT_NUMBER_D& n = Num();
        n.m_bShowNumbers = 1;
        n.m_nDecimals = 3;
        n.m_bExponent = 0;
        n.m_nNumberOpt2 = 0;  // no extreme filter
    }
    void TearDown() override {
        M().m_pDrawFuncArray->ClearAll();
        DiagramProjectTest::TearDown();
    }
    T_PVX_DOPT_NUMBER_D& Num() { return M().m_pDispOpt->m_Number; }
    Func_OutputSfdBmdNumber& Queue() { return M().m_pDrawFuncArray->m_OutputSfdBmdNumber; }
    // Texts drawn on the DC, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const GdiRecord* r : m_dc.GetRecords("TextOut")) out.push_back(r->text);
        return out;
    }
    // The numbers of the beam's diagram with label points along it and the record values v0, v1.
    void BeamNumbers(double v0, double v1) {
        T_STRG_D forc;
        ASSERT_TRUE(E().GetBeamForce(kBeam, forc));
        C3DPoint anchors[4] = {C3DPoint(1, 0, 3), C3DPoint(4, 0, 3), C3DPoint(7, 0, 3), C3DPoint()};
        double values[2] = {v0, v1};
        E().OutputSfdBmdNumberB(&m_dc, kBeam, forc, anchors, 4, values);
    }
};

TEST_F(DiagramNumberTest, NumberFormat) {
    // Drawn at once with the diagram-values switch: the record's two values.
    E().m_bAbsMaxNumber = 1;
    struct Row {
        int digits, exponent;
        double value;
        const char* text;
    } const rows[] = {
        {3, 0, 12.34567, " 12.346 "},
        {2, 1, 12345.6, " 1.23e+004 "},  // the exponent in three digits, as the runtime writes it
        {0, 0, -2.5, " -2 "},
        {1, 1, -0.000123, " -1.2e-004 "},
    };
    for (const Row& r : rows) {
        Num().m_nDecimals = r.digits;
        Num().m_bExponent = r.exponent;
        m_dc.Clear();
        BeamNumbers(r.value, r.value);
        const std::vector<std::string> t = Texts();
        ASSERT_EQ(t.size(), 2u);
        EXPECT_EQ(t[0], r.text);
        EXPECT_EQ(t[1], r.text);
    }
}

TEST_F(DiagramNumberTest, ExtremeFilterKinds) {
    struct Row {
        const char* label;
        int mode;
        double lo, hi, value;
        int kind;
    } const rows[] = {
        // Range -10..30, band 10 percent: threshold 4.
        {"near the maximum", 0, -10, 30, 27, 0},
        {"near the minimum", 0, -10, 30, -7, 1},
        {"in between", 0, -10, 30, 10, -1},
        {"maximum only", 2, -10, 30, -7, -1},
        {"minimum only", 3, -10, 30, -7, 1},
        {"minimum only, near the maximum", 3, -10, 30, 27, -1},
        // Range -40..30: threshold 7 around the larger magnitude 40.
        {"larger magnitude", 1, -40, 30, -35, 2},
        {"larger magnitude, too small", 1, -40, 30, -30, -1},
        {"unknown mode", 5, -10, 30, 30, -1},
    };
    Num().m_dNumberFactor = 10.0;
    for (const Row& r : rows) {
        Num().m_nNumberOpt1 = r.mode;
        E().m_dLegendMin = r.lo;
        E().m_dLegendMax = r.hi;
        EXPECT_EQ(E().GetSfdBmdExtremeKind(r.value), r.kind) << r.label;
    }
}

TEST_F(DiagramNumberTest, TextSideOfAMember) {
    C3DPoint a(0, 0, 0), b(1, 0, 0), left(0.5, 1, 0), right(0.5, -1, 0);
    struct Row {
        C3DPoint* p;
        int flip1, flip2, align;
    } const rows[] = {
        {&left, 0, 0, 0}, {&left, 1, 0, 8}, {&left, 0, 1, 8}, {&left, 1, 1, 8},
        {&right, 0, 0, 8}, {&right, 1, 0, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(E().GetTopBotAlign(*r.p, a, b, r.flip1, r.flip2), r.align)
            << "point y " << r.p->y << ", flips " << r.flip1 << r.flip2;
}

TEST_F(DiagramNumberTest, SlopeOfAMemberOnScreen) {
    int slope = -1, dir = -1;
    // The beam along +x in plan: level text; walked from j to i it is turned to stay readable.
    ASSERT_EQ(E().GetSlopeEx(slope, C3DPoint(0, 0, 3), C3DPoint(8, 0, 3), dir), 1);
    EXPECT_EQ(slope, 0);
    EXPECT_EQ(dir, 0);
    ASSERT_EQ(E().GetSlopeEx(slope, C3DPoint(8, 0, 3), C3DPoint(0, 0, 3), dir), 1);
    EXPECT_EQ(slope, 0);
    EXPECT_EQ(dir, 1);
    // Up the screen (plan +y): 90 degrees.
    ASSERT_EQ(E().GetSlopeEx(slope, C3DPoint(0, 0, 3), C3DPoint(0, 8, 3), dir), 1);
    EXPECT_EQ(slope, 900);
    // Both ends off the window (left of it, above it), the middle (4, 3) on it: the slope of
    // the middle sample, up and to the right at 45 degrees.
    ASSERT_EQ(E().GetSlopeEx(slope, C3DPoint(-96, -97, 3), C3DPoint(104, 103, 3), dir), 1);
    EXPECT_EQ(slope, 450);
    // Nothing of it on the window.
    ASSERT_EQ(E().GetSlopeEx(slope, C3DPoint(-1000, 0, 3), C3DPoint(-900, 0, 3), dir), 0);
    EXPECT_EQ(slope, 0);
    EXPECT_EQ(dir, 0);
}

TEST_F(DiagramNumberTest, QueuedOnRetainedGeometryOrAnExternalDevice) {
    E().m_bNumIEnd = E().m_bNumMiddle = E().m_bNumJEnd = 1;
    struct Row {
        const char* label;
        int gl, xgr, drawState, external;
        bool queued;
    } const rows[] = {
        {"memory image", 0, 0, 0, 0, false},
        {"retained geometry with the GL renderer", 1, 1, 0, 0, true},
        {"retained geometry, numbers asked at once", 1, 1, 1, 0, false},
        {"GL renderer without retained geometry", 1, 0, 0, 0, false},
        {"external device", 0, 0, 0, 1, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Ctrl()->SetGLRenderer(r.gl);
        Ctrl()->SetXGRMode(r.xgr);
        Ctrl()->m_byDrawState = static_cast<BYTE>(r.drawState);
        M().m_bExternalDevice = r.external;
        Queue().Clear();
        m_dc.Clear();
        BeamNumbers(0, 0);
        // The beam's moment y: -40 at the i end, 0 at mid-span, 40 at the j end.
        if (r.queued) {
            EXPECT_EQ(Texts().size(), 0u);
            ASSERT_EQ(Queue().GetCount(), 3);
            const int kinds[3] = {6, 7, 8};
            const double values[3] = {-40, 40, 0};
            int k = 0;
            for (POSITION pos = Queue().GetList().GetHeadPosition(); pos; ++k) {
                const auto* rec = Queue().GetList().GetNext(pos);
                EXPECT_EQ(rec->m_nKind, kinds[k]);
                EXPECT_EQ(rec->m_dValue, values[k]);
                EXPECT_EQ(rec->m_dAxis1[0], 0.0) << "the member's i end";
                EXPECT_EQ(rec->m_dAxis2[0], 8.0);
            }
        } else {
            EXPECT_EQ(Queue().GetCount(), 0);
            EXPECT_EQ(Texts(), (std::vector<std::string>{" -40.000 ", " 40.000 ", " 0.000 "}));
        }
    }
}

TEST_F(DiagramNumberTest, ExtremeFilterOnDiagramNumbers) {
    // Legend -40..40, band 10 percent (threshold 8), maximum and minimum: the i end (-40) is a
    // minimum, the j end (40) a maximum, mid-span (0) neither.
    M().m_bExternalDevice = 1;
    Num().m_nNumberOpt2 = 1;
    Num().m_nNumberOpt1 = 0;
    Num().m_dNumberFactor = 10.0;
    E().m_dLegendMin = -40;
    E().m_dLegendMax = 40;
    E().m_bNumAtMax = 1;  // admits all three positions
    BeamNumbers(0, 0);
    ASSERT_EQ(Queue().GetCount(), 2);
    EXPECT_EQ(Queue().GetList().GetHead()->m_nKind, 1);
    EXPECT_EQ(Queue().GetList().GetHead()->m_dValue, -40.0);
    EXPECT_EQ(Queue().GetList().GetTail()->m_nKind, 0);
    EXPECT_EQ(Queue().GetList().GetTail()->m_dValue, 40.0);
}

TEST_F(DiagramNumberTest, MemberExtremeAndNothingForInactiveMembers) {
    M().m_bExternalDevice = 1;
    E().m_bNumAtMax = 1;
    BeamNumbers(0, -64);
    ASSERT_EQ(Queue().GetCount(), 1);
    EXPECT_EQ(Queue().GetList().GetHead()->m_nKind, 5);
    EXPECT_EQ(Queue().GetList().GetHead()->m_dValue, -64.0);

    Queue().Clear();
    T_STRG_D forc;
    ASSERT_TRUE(E().GetBeamForce(kBeam, forc));
    C3DPoint anchors[4];
    double values[2] = {1, 2};
    E().OutputSfdBmdNumberB(&m_dc, 999, forc, anchors, 4, values);
    EXPECT_EQ(Queue().GetCount(), 0) << "a member the view does not show";
    EXPECT_EQ(M().m_pDispOpt->m_bWireFrame, 0) << "the view-state option is put back";
}

TEST_F(DiagramNumberTest, MemberNumbersOfTheFrameContour) {
    // Beams (201, 205) with forces: the beam (-40 .. 40), the roof beam (5) and the two-element
    // beam (-16 .. 16), and the column (no moment y); the T-girder and the beam without results
    // get no numbers.
    M().m_nDisplayMode = 6;
    ASSERT_EQ(E().InitEngine(nullptr, 6), 1);
    Num().m_nDecimals = 1;
    struct Row {
        const char* label;
        int atMax, iEnd, mid, jEnd;
        std::vector<std::string> texts;
    } const rows[] = {
        {"member extreme (the maximum on equal magnitudes)", 1, 0, 0, 0, {"40.0", "5.0", "0.0", "16.0"}},
        {"i end", 0, 1, 0, 0, {"-40.0", "5.0", "0.0", "-16.0"}},
        {"ends and middle", 0, 1, 1, 1,
         {"-40.0", "40.0", "0.0", "5.0", "5.0", "5.0", "0.0", "0.0", "0.0", "-16.0", "16.0", "0.0"}},
        {"nothing asked", 0, 0, 0, 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        E().m_bNumAtMax = r.atMax;
        E().m_bNumIEnd = r.iEnd;
        E().m_bNumMiddle = r.mid;
        E().m_bNumJEnd = r.jEnd;
        m_dc.Clear();
        E().OutputBForcNumbers(&m_dc);
        EXPECT_EQ(Texts(), r.texts);
    }
    // Not built: nothing.
    E().m_bBForcData = 0;
    m_dc.Clear();
    E().OutputBForcNumbers(&m_dc);
    EXPECT_EQ(m_dc.Count("TextOut"), 0u);
}

TEST_F(DiagramNumberTest, EndsOfTheDrawnMember) {
    // The beam's drawn shape runs from its i node (0,0,3) to its j node (8,0,3); the view-state
    // option is forced for the query only.
    T_PMEMB_D memb;
    ASSERT_TRUE(M().GetAttrCtrl()->GetMemb(kBeam, memb));
    C3DPoint i(-1, -1, -1), j(-1, -1, -1);
    EXPECT_EQ(E().GetIJPosBForcMemb(kBeam, memb, &i, &j), 1);
    EXPECT_TRUE(Near(i, C3DPoint(0, 0, 3), 1e-6)) << i.x << " " << i.y << " " << i.z;
    EXPECT_TRUE(Near(j, C3DPoint(8, 0, 3), 1e-6)) << j.x << " " << j.y << " " << j.z;
    EXPECT_EQ(M().m_pDispOpt->m_bWireFrame, 0);
}

}  // namespace diagramtest
