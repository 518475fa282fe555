// The three colour-band previews drawn on a recording DC: band edges, fill and outline colours,
// the gradient variant, the contour-line preview and the two-band preview.
#include <gtest/gtest.h>

#include "module/contour/CContourEngine.h"
#include "module/contour/CRainbowWnd.h"
#include "module/engines/CEngineBase.h"
#include "platform/gdi/CRecordDC.h"

namespace {

COLORREF VertexColor(const TRIVERTEX& v) { return RGB(v.Red >> 8, v.Green >> 8, v.Blue >> 8); }

struct RainbowFixture : testing::Test {
    CContourEngine scale{0.0, 11.0};  // 12 levels
    CEngineBase engine;
    CRainbowWnd wnd;
    CRecordDC dc;
    void SetUp() override {
        ASSERT_TRUE(dc.Create());
        wnd.m_pContourEngine = &scale;
        wnd.m_pEngine = &engine;
        engine.m_bGradient = 0;
    }
};

TEST_F(RainbowFixture, BandBarEdgesFillsAndOutlines) {
    ASSERT_EQ(scale.m_nNumColor, 12);
    struct Row {
        const char* label;
        int bLines;
    } rows[] = {{"outlined in the band colour", 0}, {"outlined in the contour line colour", 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CRecordDC rec;
        ASSERT_TRUE(rec.Create());
        scale.m_bDrawContourLine = row.bLines;
        wnd.m_nStyle = 0;
        wnd.Draw(&rec, CRect(5, 2, 115, 20));  // width 110: w = 10 per band
        std::vector<const GdiRecord*> rects = rec.GetRecords("Rectangle");
        ASSERT_EQ(rects.size(), 11u);
        for (int i = 1; i <= 11; i++) {
            const GdiRecord& r = *rects[static_cast<size_t>(i - 1)];
            const int x0 = i == 1 ? 5 : 5 + 10 * (i - 1) - 1;
            EXPECT_EQ(r.Arg(0), x0) << "band " << i;
            EXPECT_EQ(r.Arg(2), 5 + 10 * i) << "band " << i;
            EXPECT_EQ(r.Arg(1), 2);
            EXPECT_EQ(r.Arg(3), 20);
            EXPECT_EQ(r.brush.lbColor, scale.GetRankColor(i)) << "band " << i << " takes the colour of rank " << i;
            EXPECT_EQ(r.pen.lopnColor, row.bLines ? scale.m_crContourLine : scale.GetRankColor(i));
        }
        EXPECT_TRUE(rec.GetRecords("GradientFill").empty());
    }
}

TEST_F(RainbowFixture, GradientBandsRunFromTheLowerToTheUpperRankColour) {
    engine.m_bGradient = 1;
    scale.m_bDrawContourLine = 1;
    wnd.m_nStyle = 0;
    wnd.Draw(&dc, CRect(0, 0, 110, 10));
    std::vector<const GdiRecord*> fills = dc.GetRecords("GradientFill");
    ASSERT_EQ(fills.size(), 22u) << "two triangles per band";
    for (int i = 1; i <= 11; i++) {
        const GdiRecord& f = *fills[static_cast<size_t>(2 * (i - 1))];
        ASSERT_EQ(f.vertices.size(), 4u);
        EXPECT_EQ(f.vertices[0].x, i == 1 ? 0 : 10 * (i - 1) - 1);
        EXPECT_EQ(f.vertices[0].y, 10) << "the polygon starts at the bottom left";
        EXPECT_EQ(f.vertices[2].x, 10 * i);
        EXPECT_EQ(VertexColor(f.vertices[0]), scale.GetRankColor(i - 1)) << "band " << i;
        EXPECT_EQ(VertexColor(f.vertices[3]), scale.GetRankColor(i)) << "band " << i;
    }
    std::vector<const GdiRecord*> outlines = dc.GetRecords("Rectangle");
    ASSERT_EQ(outlines.size(), 11u);
    EXPECT_EQ(outlines[0]->brush.lbStyle, static_cast<UINT>(BS_NULL)) << "hollow outline over the gradient";
    EXPECT_EQ(outlines[0]->pen.lopnColor, scale.m_crContourLine);
}

TEST_F(RainbowFixture, ContourLinePreviewAndTwoBandPreview) {
    wnd.m_nStyle = 1;
    wnd.Draw(&dc, CRect(0, 0, 130, 10));  // w = 130 / 13 = 10
    std::vector<const GdiRecord*> ground = dc.GetRecords("FillSolidRect");
    ASSERT_EQ(ground.size(), 1u);
    EXPECT_EQ(static_cast<COLORREF>(ground[0]->Arg(4)), RGB(255, 128, 255));
    std::vector<const GdiRecord*> lines = dc.GetRecords("LineTo");
    ASSERT_EQ(lines.size(), 12u);
    for (int i = 0; i < 12; i++) {
        EXPECT_EQ(lines[static_cast<size_t>(i)]->Arg(0), 10 * (i + 1));
        EXPECT_EQ(lines[static_cast<size_t>(i)]->pen.lopnColor, scale.GetRankColor(i)) << "line " << i;
    }

    CRecordDC two;
    ASSERT_TRUE(two.Create());
    scale.m_bDrawContourLine = 0;
    wnd.m_nStyle = 2;
    wnd.Draw(&two, CRect(0, 0, 110, 10));
    std::vector<const GdiRecord*> bands = two.GetRecords("Rectangle");
    ASSERT_EQ(bands.size(), 11u);
    for (size_t k = 0; k < bands.size(); k++) {
        const COLORREF want = k % 2 == 0 ? scale.m_crBand1 : scale.m_crBand2;
        EXPECT_EQ(bands[k]->brush.lbColor, want) << "band " << k;
        EXPECT_EQ(bands[k]->pen.lopnColor, want);
    }
}

TEST_F(RainbowFixture, DegenerateScalesDrawWithoutDividingByZero) {
    // A scale whose count field was set to 1 (or 0) by hand draws as a two-level bar.
    for (int n : {0, 1}) {
        SCOPED_TRACE(n);
        CRecordDC rec;
        ASSERT_TRUE(rec.Create());
        scale.m_nNumColor = n;
        wnd.m_nStyle = 0;
        wnd.Draw(&rec, CRect(0, 0, 50, 10));
        std::vector<const GdiRecord*> rects = rec.GetRecords("Rectangle");
        ASSERT_EQ(rects.size(), 1u);
        EXPECT_EQ(rects[0]->Arg(2), 50);
    }
    wnd.m_pContourEngine = nullptr;
    CRecordDC none;
    ASSERT_TRUE(none.Create());
    wnd.Draw(&none, CRect(0, 0, 50, 10));
    EXPECT_TRUE(none.GetRecords("Rectangle").empty());
}

}  // namespace
