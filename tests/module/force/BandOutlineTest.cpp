// Band outlines of the diagram modes: which display modes and fill flags draw only the flagged
// edges of band polygons, in which colours, and that every other case fills the bands.
#include "tests/module/force/ForceTestSupport.h"

namespace forcetest {

namespace {

// Two band polygons: a triangle whose edges are all unflagged, and a quadrilateral of value
// 25 with its first and third edges flagged.
void TwoPolygons(CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& v) {
    sizes.Add(3);
    v.Add(VtxInfo_tag{C3DPoint(0, 0, 3), 0, 5.0});
    v.Add(VtxInfo_tag{C3DPoint(1, 0, 3), 0, 5.0});
    v.Add(VtxInfo_tag{C3DPoint(1, 1, 3), 0, 5.0});
    sizes.Add(4);
    v.Add(VtxInfo_tag{C3DPoint(2, 0, 3), 1, 25.0});
    v.Add(VtxInfo_tag{C3DPoint(3, 0, 3), 0, 25.0});
    v.Add(VtxInfo_tag{C3DPoint(3, 1, 3), 1, 25.0});
    v.Add(VtxInfo_tag{C3DPoint(2, 1, 3), 0, 25.0});
}

}  // namespace

class BandOutlineTest : public ForceProjectTest {
protected:
    void SetUp() override {
        ForceProjectTest::SetUp();
        m_engine = std::make_unique<CForceEngine>(&M());
        m_engine->m_pContourEngine = new CContourEngine(0.0, 110.0);
        M().m_bContour = 1;
        M().m_nPenFactor = 2;
        TwoPolygons(m_sizes, m_vertices);
    }
    void TearDown() override {
        m_engine.reset();
        ForceProjectTest::TearDown();
    }
    CForceEngine& E() { return *m_engine; }
    std::unique_ptr<CForceEngine> m_engine;
    CArray<int, int> m_sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> m_vertices;
};

TEST_F(BandOutlineTest, LineStyleByModeAndFillFlag) {
    struct Row {
        int mode;
        int beamLine, wallLine;
        int flat, grad;  // the flat and the gradient override draw outlines
    } const rows[] = {
        {7, 1, 0, 1, 1},  {7, 0, 1, 0, 0},  {30, 1, 0, 1, 1}, {31, 1, 0, 1, 1}, {9, 0, 1, 1, 1},
        {9, 1, 0, 0, 0},  {6, 1, 1, 0, 0},  {8, 1, 1, 0, 0},
        // The strip modes: the flat override follows the beam-diagram flag, the gradient one
        // the wall-diagram flag.
        {21, 1, 0, 1, 0}, {21, 0, 1, 0, 1}, {22, 1, 0, 1, 0}, {22, 0, 1, 0, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << r.mode << ", flags " << r.beamLine << r.wallLine);
        M().m_nDisplayMode = r.mode;
        E().m_bBSfdBmdLine = r.beamLine;
        E().m_bWContourFill = r.wallLine;
        EXPECT_EQ(E().IsBandOutlineStyle(0), r.flat);
        EXPECT_EQ(E().IsBandOutlineStyle(1), r.grad);
        m_dc.Clear();
        E().DrawContourList(&m_dc, m_sizes, m_vertices);
        // Outlines: the quadrilateral's two flagged edges only, no fill; otherwise the base
        // fills both polygons.
        if (r.flat) {
            EXPECT_EQ(m_dc.Count("LineTo"), 2u);
        }
        EXPECT_EQ(m_dc.Count("Polygon") == 0, r.flat != 0);
        m_dc.Clear();
        E().DrawContourListGrad(&m_dc, m_sizes, m_vertices);
        if (r.grad) {
            EXPECT_EQ(m_dc.Count("LineTo"), 2u);
            EXPECT_EQ(m_dc.Count("GradientFill") + m_dc.Count("Polygon"), 0u);
        }
    }
}

TEST_F(BandOutlineTest, OutlineColours) {
    M().m_nDisplayMode = 7;
    E().m_bBSfdBmdLine = 1;
    M().m_pDispOpt->m_Color.m_crContourLine = RGB(9, 8, 7);
    struct Row {
        const char* label;
        int contour;
        BOOL printing;
        int colourMode;
        COLORREF expected;
    } const rows[] = {
        {"band colour", 1, FALSE, 2, E().m_pContourEngine->GetValueColor(25.0)},
        {"contour switch off", 0, FALSE, 2, RGB(9, 8, 7)},
        {"printed in colour", 1, TRUE, 2, E().m_pContourEngine->GetValueColor(25.0)},
        {"printed without colour", 1, TRUE, 0, RGB(60, 60, 60)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        M().m_bContour = r.contour;
        M().m_pDispOpt->m_nPrintColorMode = r.colourMode;
        m_dc.Clear();
        m_dc.SetPrinting(r.printing);
        E().DrawContourList(&m_dc, m_sizes, m_vertices);
        const std::vector<const GdiRecord*> lines = m_dc.GetRecords("LineTo");
        ASSERT_EQ(lines.size(), 2u);
        for (const GdiRecord* l : lines) {
            EXPECT_EQ(l->pen.lopnColor, r.expected);
            EXPECT_EQ(l->pen.lopnWidth.x, 2) << "the pen unit";
        }
    }
    m_dc.SetPrinting(FALSE);
}

TEST_F(BandOutlineTest, NothingWithoutAColourScale) {
    delete E().m_pContourEngine;
    E().m_pContourEngine = nullptr;
    for (int mode : {6, 7}) {
        M().m_nDisplayMode = mode;
        E().DrawContourList(&m_dc, m_sizes, m_vertices);
        E().DrawContourListGrad(&m_dc, m_sizes, m_vertices);
    }
    EXPECT_EQ(m_dc.GetRecords().size(), 0u);
}

}  // namespace forcetest
