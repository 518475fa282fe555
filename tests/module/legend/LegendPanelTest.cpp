// The legend panel: fonts, scale choice, background, header, footer and the rectangles the
// view reads after a draw.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "host/db/DBResultRecords.h"
#include "tests/module/legend/LegendTestSupport.h"

// Contrast of two colours: relative luminances (channels linearised) plus 0.05, larger over smaller.
static double Contrast(COLORREF a, COLORREF b) {
    auto lin = [](int v) { return v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4); };
    auto lum = [&](COLORREF c) { return 0.2126 * lin(GetRValue(c)) + 0.7152 * lin(GetGValue(c)) + 0.0722 * lin(GetBValue(c)); };
    return (std::max(lum(a), lum(b)) + 0.05) / (std::min(lum(a), lum(b)) + 0.05);
}

TEST(LegendLegibility, TextColoursReachAContrastOfFourAndAHalf) {
    struct Row {
        const char* label;
        COLORREF text, back1, back2;
    } rows[] = {{"white on black: kept", RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0)},
                {"yellow footer on near-white", RGB(255, 255, 0), RGB(236, 236, 236), RGB(246, 246, 246)},
                {"blue percentages on black", RGB(0, 0, 255), RGB(0, 0, 0), RGB(20, 20, 20)},
                {"white across a light band", RGB(255, 255, 255), RGB(236, 236, 236), RGB(150, 150, 150)}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const COLORREF c = LegibleTextColor(r.text, r.back1, r.back2);
        EXPECT_EQ(c == r.text, r.label == rows[0].label);
        EXPECT_GE(std::min(Contrast(c, r.back1), Contrast(c, r.back2)), 4.5);
    }
}

TEST_F(LegendTest, ScreenAndPrintFontsAreBuiltFromTheirSizes) {
    CLegendEngine& l = L();
    l.InitFont(18, 12);
    struct Row {
        const char* label;
        const LOGFONT& lf;
        int height, width;
    } rows[] = {{"title", l.m_lfTitle, 16, 6}, {"value", l.m_lfValue, 12, 6}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(r.lf.lfHeight, r.height);
        EXPECT_EQ(r.lf.lfWidth, r.width);
        EXPECT_EQ(r.lf.lfWeight, 400);
        EXPECT_EQ(r.lf.lfCharSet, 1);
        EXPECT_EQ(r.lf.lfOutPrecision, 2);
        EXPECT_EQ(r.lf.lfClipPrecision, 1);
        EXPECT_EQ(r.lf.lfQuality, 0);
        EXPECT_STREQ(r.lf.lfFaceName, "宋体 ");
    }
    // A stretched font's average width is its lfWidth; a positive height is the cell height.
    EXPECT_EQ(l.m_nTitleCharWidth, 6 + 3);
    EXPECT_EQ(l.m_nTitleLineHeight, 16);
    EXPECT_EQ(l.m_nValueCharWidth, 6);
    EXPECT_EQ(l.m_nValueLineHeight, 12);

    // Print fonts from the 180-pixel margin and 20 characters: c = 9.
    l.InitVirtualFont();
    EXPECT_EQ(l.m_lfTitle.lfHeight, 22);
    EXPECT_EQ(l.m_lfTitle.lfWidth, 11);
    EXPECT_EQ(l.m_lfValue.lfHeight, 17);
    EXPECT_EQ(l.m_lfValue.lfWidth, 8);
    EXPECT_EQ(l.m_nValueCharWidth, 8);
    // The host's language font name is not in the module's table: the screen face stands in.
    CString face;
    if (!CMsgDll::LookupString("D_LANG_CH_FONT_NAME", face)) {
        EXPECT_STREQ(l.m_lfValue.lfFaceName, "宋体 ");
    }

    // The control's state word 1 keeps the fonts; a zero panel width does not divide by zero.
    Ctrl()->m_nCtrlState = 1;
    l.InitFont(18, 12);
    l.InitVirtualFont();
    EXPECT_EQ(l.m_lfValue.lfHeight, 12);
    Ctrl()->m_nCtrlState = 0;
    M().m_pDispOpt->m_Legend.m_nLegendWidth = 0;
    l.InitVirtualFont();
    EXPECT_EQ(l.m_lfValue.lfHeight, 17);
}

TEST_F(LegendTest, TheScaleComesFromTheEngineOfTheDisplayMode) {
    CContourEngine* reac = GiveScale(Reaction(), 6, 0, 5);
    CContourEngine* def = GiveScale(Deform(), 6, 0, 5);
    CContourEngine* force = GiveScale(Force(), 6, 0, 5);
    CContourEngine* stress = GiveScale(Stress(), 6, 0, 5);
    struct Row {
        const char* label;
        int mode, contour, slabKind;
        CContourEngine* want;
        int slabUnit = 1;  // slab force on beams: 1 the rib diagrams, 0 per slab member
    } rows[] = {
        {"reaction arrows", 0, 0, 0, nullptr},   {"reaction contour", 0, 1, 0, reac},
        {"deformed shape", 1, 0, 0, def},       {"time history", 63, 0, 0, def},
        {"story shear", 5, 0, 0, force},        {"slab strip", 21, 0, 0, force},
        {"stress", 11, 0, 0, stress},           {"slab beams text", 22, 0, 0, nullptr},
        {"slab beams contour", 22, 0, 1, force}, {"slab beams per member", 22, 0, 1, nullptr, 0},
        {"settlement text", 69, 0, 0, nullptr},
        {"settlement contour", 69, 1, 0, def},  {"reaction contour mode", 70, 0, 0, reac},
        {"node displacement", 3, 1, 0, nullptr}, {"design", 23, 1, 0, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        M().m_nDisplayMode = r.mode;
        M().m_bContour = r.contour;
        Force().m_nSForcKind = r.slabKind;
        Force().m_nSForcUnit = r.slabUnit;
        L().m_pContourEngine = reac;  // a stale choice must not survive
        L().ResetContourEngine();
        EXPECT_EQ(L().m_pContourEngine, r.want);
    }
    // No engine: no scale.
    M().ResetEngines();
    M().m_nDisplayMode = 2;
    L().ResetContourEngine();
    EXPECT_EQ(L().m_pContourEngine, nullptr);
}

TEST_F(LegendTest, UserLevelsAreOfferedForContourResultsOnly) {
    for (int mode : {2, 5, 6, 7, 8, 9, 10, 11, 16, 17, 18, 19, 20, 21, 23, 35, 36, 70}) {
        SCOPED_TRACE(mode);
        EXPECT_TRUE(CLegendEngine::IsPossibleUserDefGlobalRange(&M(), mode));
        EXPECT_TRUE(CLegendEngine::IsPossibleUserDefGlobalRange(nullptr, mode));
    }
    for (int mode : {-1, 1, 3, 12, 28, 63}) {
        SCOPED_TRACE(mode);
        EXPECT_FALSE(CLegendEngine::IsPossibleUserDefGlobalRange(&M(), mode));
    }
    // Mode 22 offers levels for its rib diagrams (unit 1), not per slab member (unit 0).
    struct Row {
        int mode;
        int contour, msContour, slabKind;
        int want;
        int slabUnit = 1;
    } rows[] = {{0, 0, 0, 0, 0},    {0, 1, 0, 0, 1},    {69, 1, 0, 0, 1}, {69, 0, 1, 0, 0},
                {4, 0, 1, 0, 1},    {4, 1, 0, 0, 0},    {22, 0, 0, 1, 1}, {22, 1, 1, 0, 0},
                {22, 0, 0, 1, 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mode * 100 + r.contour * 10 + r.msContour + 1000 * r.slabUnit);
        M().m_bContour = r.contour;
        M().m_bModeShapeContour = r.msContour;
        Force().m_nSForcKind = r.slabKind;
        Force().m_nSForcUnit = r.slabUnit;
        EXPECT_EQ(CLegendEngine::IsPossibleUserDefGlobalRange(&M(), r.mode), r.want);
    }
    EXPECT_FALSE(CLegendEngine::IsPossibleUserDefGlobalRange(nullptr, 0));
}

TEST_F(LegendTest, PanelBackgroundFollowsTheOutputAndTheProfile) {
    M().m_nDisplayMode = 3;
    CRect panel(0, 0, 80, 400);
    L().m_nValueLineHeight = 6;  // footer top = 400 - 60 - 40 = 300, three quarters down

    {
        SCOPED_TRACE("screen: vertical gradients");
        CRecordDC dc;
        dc.Create();
        L().DrawContourLegend(&dc, 1, &panel, nullptr, nullptr, nullptr, nullptr, nullptr);
        // Each quadrilateral is filled as two triangles: the panel, then the footer.
        auto g = dc.GetRecords("GradientFill");
        ASSERT_EQ(g.size(), 4u);
        COLORREF top = 0, bottom = 0;
        for (const TRIVERTEX& v : g[0]->vertices) {
            if (v.y == 0) top = LegendVertexColor(v);
            if (v.y == 400) bottom = LegendVertexColor(v);
        }
        EXPECT_EQ(top, L().m_crBackTop);
        EXPECT_EQ(bottom, L().m_crBackBottom);
        // Footer from y 300: 200 + trunc(-100 x 0.75) = 125 and so on.
        bool sawFooterTop = false;
        for (const TRIVERTEX& v : g[2]->vertices) {
            if (v.y == 300) {
                EXPECT_EQ(LegendVertexColor(v), RGB(125, 135, 145));
                sawFooterTop = true;
            }
            if (v.y == 400) {
                EXPECT_EQ(LegendVertexColor(v), L().m_crBackBottom);
            }
        }
        EXPECT_TRUE(sawFooterTop);
        EXPECT_EQ(dc.Count("Rectangle"), 1u);  // the title bar only
    }
    {
        SCOPED_TRACE("profile switch on a GDI control: plain bottom colour");
        AfxGetApp()->WriteProfileInt("ENV_GRAPHICS", "EnableVBPrintOut", 1);
        CRecordDC dc;
        dc.Create();
        L().DrawContourLegend(&dc, 1, &panel, nullptr, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(dc.Count("GradientFill"), 0u);
        auto rects = dc.GetRecords("Rectangle");
        ASSERT_EQ(rects.size(), 3u);  // panel, title bar, footer
        EXPECT_EQ(rects[0]->brush.lbColor, L().m_crBackBottom);
        EXPECT_EQ(rects[0]->rect.bottom, 400);
        EXPECT_EQ(rects[2]->brush.lbColor, L().m_crBackBottom);
        EXPECT_EQ(rects[2]->rect.top, 300);
        // An OpenGL control keeps its gradient whatever the profile says.
        Ctrl()->SetGLRenderer(1);
        CRecordDC gl;
        gl.Create();
        L().DrawContourLegend(&gl, 1, &panel, nullptr, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(gl.Count("GradientFill"), 4u);
        Ctrl()->SetGLRenderer(0);
        AfxGetApp()->WriteProfileInt("ENV_GRAPHICS", "EnableVBPrintOut", 0);
    }
    {
        SCOPED_TRACE("printing: plain top colour");
        M().m_bExternalDevice = 1;
        CRecordDC dc;
        dc.Create();
        L().DrawContourLegend(&dc, 1, &panel, nullptr, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(dc.Count("GradientFill"), 0u);
        auto rects = dc.GetRecords("Rectangle");
        ASSERT_EQ(rects.size(), 3u);
        EXPECT_EQ(rects[0]->brush.lbColor, L().m_crBackTop);
        EXPECT_EQ(rects[2]->brush.lbColor, L().m_crBackTop);
        M().m_bExternalDevice = 0;
    }
}

TEST_F(LegendTest, AnEmptyPanelDrawsNothing) {
    M().m_nDisplayMode = 2;
    struct Row {
        const char* label;
        CRect rect;
    } rows[] = {{"zero width", CRect(10, 0, 10, 300)}, {"zero height", CRect(0, 20, 180, 20)}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CRecordDC dc;
        dc.Create();
        CRect rc = r.rect;
        L().DrawContourLegend(&dc, 1, &rc, nullptr, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(dc.GetRecords().size(), 0u);
    }
    // No margin on the panel's side.
    Ctrl()->ResetClientWindowMargin();
    CRecordDC dc;
    dc.Create();
    L().DrawContourLegend(&dc, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(dc.GetRecords().size(), 0u);
}

TEST_F(LegendTest, EachEngineKeepsItsOwnPanelRectangle) {
    // A second view's legend with a placement of its own must not draw where the first one did.
    M().m_nDisplayMode = 3;
    I_PVXModel other;
    other.m_nDisplayMode = 3;
    other.m_LegendEngine.m_nPanelPlacement = 5;
    CRect rc(10, 10, 190, 400);
    CRecordDC dc1;
    dc1.Create();
    L().DrawContourLegend(&dc1, 1, &rc, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_GT(dc1.GetRecords().size(), 0u);
    CRecordDC dc2;
    dc2.Create();
    other.m_LegendEngine.DrawContourLegend(&dc2, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(dc2.GetRecords().size(), 0u);
    // The first engine with an odd placement redraws at its own previous rectangle.
    L().m_nPanelPlacement = 5;
    CRecordDC dc3;
    dc3.Create();
    L().DrawContourLegend(&dc3, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    auto g = dc3.GetRecords("GradientFill");
    ASSERT_FALSE(g.empty());
    EXPECT_EQ(g[0]->vertices[0].x, 10);
}

TEST_F(LegendTest, HeaderLinesAndTitleBar) {
    M().m_nDisplayMode = 2;
    M().m_strLoadName = "DL";
    Deform().m_nComponent = 0;
    struct Row {
        COLORREF back;
        COLORREF bar;
    } rows[] = {{RGB(121, 121, 121), RGB(181, 181, 181)},
                {RGB(122, 122, 122), RGB(62, 62, 62)},
                {RGB(0, 200, 121), RGB(60, 140, 181)}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.back);
        L().m_crBackTop = r.back;
        CRecordDC dc;
        dc.Create();
        CRect rc(0, 0, 180, 400);
        L().DrawPreRainbow(&dc, &rc);
        auto rects = dc.GetRecords("Rectangle");
        ASSERT_EQ(rects.size(), 1u);
        EXPECT_EQ(rects[0]->brush.lbColor, r.bar);
        EXPECT_EQ(rects[0]->pen.lopnStyle, static_cast<UINT>(PS_NULL));
        // h1 16, w2 6: the bar spans (3, 6) to (177, 30).
        EXPECT_EQ(rects[0]->rect.left, 3);
        EXPECT_EQ(rects[0]->rect.top, 6);
        EXPECT_EQ(rects[0]->rect.right, 177);
        EXPECT_EQ(rects[0]->rect.bottom, 30);

        struct Line {
            CString text;
            int y;
            COLORREF color;
        } lines[] = {
            {Txt("IDS_TBX_PVX_Legend_Title"), 25, L().m_crText},
            {Txt("IDS_TBX_PVX_DISPLACEMENT"), 49, L().m_crInstruction},
            {CString("DL"), 67, L().m_crInstruction},
            {Txt("IDS_TBX_PVX_X_DIRECTION") + ", " + LegendUnit(T_DISP_D::unit[0]), 91, L().m_crText},
        };
        auto t = dc.GetRecords("TextOut");
        ASSERT_EQ(t.size(), 4u);
        for (size_t i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(t[i]->text, std::string(lines[i].text.GetString()));
            EXPECT_EQ(t[i]->Arg(0), 90);
            EXPECT_EQ(t[i]->Arg(1), lines[i].y);
            // The title reads on its bar, in its own colour where that reads.
            EXPECT_TRUE(i == 0 && Contrast(lines[i].color, r.bar) < 4.5 ? Contrast(t[i]->textColor, r.bar) >= 4.5
                                                                         : t[i]->textColor == lines[i].color);
            EXPECT_EQ(t[i]->textAlign, 14u);
        }
        EXPECT_EQ(t[0]->font.lfHeight, L().m_lfTitle.lfHeight);
        auto l = dc.GetRecords("LineTo");
        ASSERT_EQ(l.size(), 1u);
        EXPECT_EQ(l[0]->Arg(0), 174);
        EXPECT_EQ(l[0]->Arg(1), 73);
        EXPECT_EQ(l[0]->pen.lopnColor, L().m_crLine);
        EXPECT_EQ(rc.bottom, 97);
    }
    // Without a component the unit stands alone.
    M().m_nDisplayMode = 17;
    CRecordDC dc;
    dc.Create();
    CRect rc(0, 0, 180, 400);
    L().DrawPreRainbow(&dc, &rc);
    EXPECT_NE(FindText(dc, LegendUnit(9).GetString()), nullptr);
}

TEST_F(LegendTest, FooterLinesWithKeysFileAndDate) {
    // The document is a saved project in a folder whose name has a dot: the footer shows the
    // file's own name, never a folder.
    const std::string dir = std::string(PVX_TEST_TMPDIR) + "/legend.dir";
    ::mkdir(PVX_TEST_TMPDIR, 0755);
    ::mkdir(dir.c_str(), 0755);
    const std::string path = dir + "/beam.pvxdb";
    ASSERT_TRUE(m_doc.SaveDocument(path.c_str()));
    ASSERT_TRUE(m_doc.OpenDocument(path.c_str()));

    M().m_nMaxKey = 12;
    M().m_nMinKey = 0;
    M().m_nDisplayMode = PVXMode::kDispContour;
    CRecordDC dc;
    dc.Create();
    CRect rc(0, 200, 180, 400);
    L().DrawPostRainbow(&dc, &rc);
    CString mx;
    mx.Format(Txt("IDS_TBX_PVX_MAX_NODE__d"), 12);
    CString date;
    L().GetDateString(date);
    struct Line {
        CString text;
        int x, y;
        COLORREF color;
    } lines[] = {
        {mx, 9, 323, L().m_crMax},
        {Txt("IDS_TBX_PVX_MIN_NONE"), 9, 337, L().m_crMin},
        {Txt("IDS_TBX_PVX_FILE_"), 9, 358, L().m_crText},
        {CString("BEAM"), 45, 358, L().m_crText},
        {Txt("IDS_TBX_PVX_DATE_"), 9, 372, L().m_crText},
        {date, 45, 372, L().m_crText},
    };
    auto t = dc.GetRecords("TextOut");
    ASSERT_EQ(t.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(t[i]->text, std::string(lines[i].text.GetString()));
        EXPECT_EQ(t[i]->Arg(0), lines[i].x);
        EXPECT_EQ(t[i]->Arg(1), lines[i].y);
        EXPECT_EQ(t[i]->textColor, lines[i].color);
        EXPECT_EQ(t[i]->textAlign, 8u);
    }
    auto l = dc.GetRecords("LineTo");
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(l[0]->Arg(1), 340);
}

TEST_F(LegendTest, EachDrawResetsTheClickableScale) {
    GiveScale(Deform(), 6, 0, 5);
    M().m_nDisplayMode = 2;
    L().ResetContourEngine();
    CRect panel(0, 0, 180, 500);
    CRecordDC dc;
    dc.Create();
    L().DrawContourLegend(&dc, 1, &panel, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(L().m_bLegendRect, 1);
    // The scale sits one value line under the header (which ends at 97).
    EXPECT_EQ(L().m_rcLegend.top, 109 - 12);
    EXPECT_EQ(L().m_arrValRect[0].m_dValue, L().m_pContourEngine->m_dRankMap[5]);
    EXPECT_EQ(L().m_arrValRect[0].m_rect.right, 180);

    M().m_nDisplayMode = 3;
    L().ResetContourEngine();
    CRecordDC dc2;
    dc2.Create();
    L().DrawContourLegend(&dc2, 1, &panel, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(L().m_bLegendRect, 0);
    EXPECT_TRUE(L().m_rcLegend.IsRectEmpty());
    EXPECT_EQ(L().m_arrValRect[0].m_dValue, 0.0);
    EXPECT_TRUE(L().m_arrValRect[1].m_rect.IsRectEmpty());
    // The unlisted mode still has its header and footer.
    EXPECT_NE(FindText(dc2, Txt("IDS_TBX_PVX_Legend_Title").GetString()), nullptr);
    EXPECT_NE(FindText(dc2, Txt("IDS_TBX_PVX_DATE_").GetString()), nullptr);
}
