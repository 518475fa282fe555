// Print rendering (the virtual renders and the GL print handler's page), the bounding-box query
// of the print handler and the vector-stream group brackets.
#include <cfloat>

#include "module/engines/EngineCallLog.h"
#include "host/base/CGwPrintHandler.h"
#include "platform/gdi/CRecordDC.h"
#include "tests/module/export/ExportTestSupport.h"

namespace {

// The frame a print draws: a move to (0, 0), then lines round the w x h area.
void ExpectFrame(const CRecordDC& dc, int w, int h, int penWidth) {
    const auto lines = dc.GetRecords("LineTo");
    ASSERT_GE(lines.size(), 4u) << dc.Dump();
    const int n = static_cast<int>(lines.size());
    const int expect[4][2] = {{w - 1, 0}, {w - 1, h - 1}, {0, h - 1}, {0, 0}};
    for (int i = 0; i < 4; ++i) {
        const GdiRecord* r = lines[static_cast<size_t>(n - 4 + i)];
        SCOPED_TRACE(r->Describe());
        EXPECT_EQ(expect[i][0], r->Arg(0));
        EXPECT_EQ(expect[i][1], r->Arg(1));
        EXPECT_EQ(penWidth, r->pen.lopnWidth.x);
        EXPECT_EQ(RGB(0, 0, 0), r->pen.lopnColor);
        EXPECT_EQ(PS_SOLID, static_cast<int>(r->pen.lopnStyle));
    }
    const auto moves = dc.GetRecords("MoveTo");
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(0, moves.back()->Arg(0));
    EXPECT_EQ(0, moves.back()->Arg(1));
}

size_t PlainDraws() {
    size_t n = 0;
    for (const std::string& c : EngineCallLog::Calls())
        if (c.rfind("PVXDrawOriginal", 0) == 0) ++n;
    return n;
}

struct CallLogOn {
    CallLogOn() {
        EngineCallLog::Enable(true);
        EngineCallLog::Clear();
    }
    ~CallLogOn() {
        EngineCallLog::Clear();
        EngineCallLog::Enable(false);
    }
};

}  // namespace

// The metafile and print render: the model, then the GL handler's frame on the page's outermost
// pixels with a pen of 3 x the device's pen factor; line widths come back; nothing while an
// animation runs.
TEST_F(ExportFixture, VirtualRenderDrawsTheModelAndThePrintFrame) {
    Open();
    Ctrl()->SetGLRenderer(1);
    XGL_PrintHandler::m_bDrawRect = TRUE;
    XGL_PrintHandler::m_PrintParam = {200, 100};
    M().m_pDispOpt->m_nRenderScale[0] = 2;
    M().m_pDispOpt->m_nRenderScale[1] = 3;
    const struct {
        int dpi;
        int pen;
    } rows[] = {{96, 3}, {600, 6}, {750, 9}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.dpi);
        CRecordDC dc;
        ASSERT_TRUE(dc.Create());
        dc.SetDeviceCaps(LOGPIXELSX, r.dpi);
        M().VirtualRender(&dc);
        EXPECT_GE(dc.Count("Polygon") + dc.Count("PolyPolygon"), 2u) << "the two plates";
        ExpectFrame(dc, 200, 100, r.pen);
        EXPECT_EQ(2, M().m_pDispOpt->m_nRenderScale[0]);
        EXPECT_EQ(3, M().m_pDispOpt->m_nRenderScale[1]);
        EXPECT_EQ(0, M().m_bFirstRender);
    }

    // Each renderer takes the frame switch and page of its own print handler.
    CGwPrintHandler::m_PrintParam = {300, 120};
    const struct {
        const char* label;
        int bGL;
        BOOL bXglRect, bGwRect;
        int w, h;  // 0: no frame
    } frames[] = {{"GL, no frame asked", 1, FALSE, TRUE, 0, 0},
                  {"plain renderer", 0, TRUE, TRUE, 300, 120},
                  {"plain renderer, no frame asked", 0, TRUE, FALSE, 0, 0}};
    for (const auto& f : frames) {
        SCOPED_TRACE(f.label);
        Ctrl()->SetGLRenderer(f.bGL);
        XGL_PrintHandler::m_bDrawRect = f.bXglRect;
        CGwPrintHandler::m_bDrawRect = f.bGwRect;
        CRecordDC dc;
        ASSERT_TRUE(dc.Create());
        M().VirtualRender(&dc);
        if (f.w)
            ExpectFrame(dc, f.w, f.h, 3);
        else
            for (const GdiRecord* r : dc.GetRecords("LineTo")) EXPECT_NE(3, r->pen.lopnWidth.x) << r->Describe();
    }
    CGwPrintHandler::m_bDrawRect = FALSE;
    Ctrl()->SetGLRenderer(1);

    M().m_bAnimation = 1;
    CRecordDC none;
    ASSERT_TRUE(none.Create());
    M().VirtualRender(&none);
    M().XGL_VirtualRender(&none);
    EXPECT_EQ(0u, none.Count("Polygon") + none.Count("LineTo"));
    M().m_bAnimation = 0;
}

// The GL handler's image render draws with pen factor 1 whatever the device.
TEST_F(ExportFixture, GLVirtualRenderUsesPenFactorOne) {
    Open();
    CRecordDC dc;
    ASSERT_TRUE(dc.Create());
    dc.SetDeviceCaps(LOGPIXELSX, 1200);
    M().m_nPenFactor = 5;
    M().XGL_VirtualRender(&dc);
    EXPECT_EQ(1, M().m_nPenFactor);
    EXPECT_GE(dc.Count("Polygon") + dc.Count("PolyPolygon"), 2u);
}

// GL printing: 0 for a control that is no GL renderer; the print image is drawn only when its
// size changed; the legend switch, margins, retained mode and device state come back.
TEST_F(ExportFixture, GLPrintingRebuildsTheImageOnlyWhenItsSizeChanged) {
    Open();
    CallLogOn log;
    CRecordDC printer;
    ASSERT_TRUE(printer.Create(320, 240));

    EXPECT_EQ(0, M().XGL_PV_OnDrawForPrinting(&printer));
    EXPECT_TRUE(printer.GetRecords().empty());
    EXPECT_EQ(0u, PlainDraws());

    Ctrl()->SetGLRenderer(1);
    Ctrl()->SetXGRMode(1);
    Ctrl()->XGL_virtual_dimension_bmp_x = 200;
    Ctrl()->XGL_virtual_dimension_bmp_y = 150;
    const struct {
        const char* label;
        int bx, by;
        size_t newDraws;
    } rows[] = {{"first page", 200, 150, 1}, {"same size", 200, 150, 0}, {"new size", 240, 160, 1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        Ctrl()->XGL_virtual_dimension_bmp_x = r.bx;
        Ctrl()->XGL_virtual_dimension_bmp_y = r.by;
        const size_t before = PlainDraws();
        printer.Clear();
        EXPECT_EQ(1, M().XGL_PV_OnDrawForPrinting(&printer));
        EXPECT_EQ(r.newDraws, PlainDraws() - before);
        EXPECT_EQ(1u, printer.Count("StretchBlt")) << "the print image is put on the page";
        EXPECT_FALSE(Ctrl()->XGL_bIsBmpSizeChanged());
        EXPECT_EQ(1, Ctrl()->IsXGRMode());
        EXPECT_FALSE(Ctrl()->IsVirtualMode());
        EXPECT_EQ(0, M().m_bExternalDevice);
    }
}

// The frame of the GL print lies on the print area (preview area in preview mode).
TEST_F(ExportFixture, GLPrintFrameLiesOnThePrintArea) {
    Open();
    Ctrl()->SetGLRenderer(1);
    XGL_PrintHandler::m_bDrawRect = TRUE;
    Ctrl()->XGL_virtual_dimension_bmp_x = 200;
    Ctrl()->XGL_virtual_dimension_bmp_y = 150;
    Ctrl()->XGL_virtual_dimension_x = 100;
    Ctrl()->XGL_virtual_dimension_y = 75;
    for (int bPreview : {0, 1}) {
        SCOPED_TRACE(bPreview ? "preview" : "printer");
        Ctrl()->XGL_SetPreviewMode(bPreview);
        CRecordDC printer;
        ASSERT_TRUE(printer.Create(320, 240));
        printer.SetDeviceCaps(LOGPIXELSX, 600);
        ASSERT_EQ(1, M().XGL_PV_OnDrawForPrinting(&printer));
        if (bPreview)
            ExpectFrame(printer, 100, 75, 6);
        else
            ExpectFrame(printer, 200, 150, 6);
    }
}

// Display mode 3 prints no legend and keeps the screen legend settings; with a legend the
// screen margin is back on its side afterwards.
TEST_F(ExportFixture, GLPrintingKeepsTheScreenLegend) {
    Open();
    Ctrl()->SetGLRenderer(1);
    Ctrl()->XGL_virtual_dimension_bmp_x = 200;
    Ctrl()->XGL_virtual_dimension_bmp_y = 150;
    I_PVXModel& m = M();
    m.m_bResultDataReady = 1;
    m.m_pDispOpt->m_Legend.m_bShowLegend = 1;
    m.m_pDispOpt->m_Legend.m_nLegendWidth = 10;
    m.m_LegendEngine.m_nTitleCharWidth = 7;
    m.m_LegendEngine.m_nPanelPlacement = 1;
    for (int mode : {3, 2}) {
        SCOPED_TRACE(mode);
        Ctrl()->SetClientWindowMargin(0, 0, 5, 0, 0, 0);
        m.m_nDisplayMode = mode;
        CRecordDC printer;
        ASSERT_TRUE(printer.Create(320, 240));
        ASSERT_EQ(1, m.XGL_PV_OnDrawForPrinting(&printer));
        EXPECT_EQ(1, m.m_pDispOpt->m_Legend.m_bShowLegend);
        // Mode 3 leaves the margin alone; otherwise the legend's width in title units.
        const int margin = mode == 3 ? 5 : 10 * m.m_LegendEngine.m_nTitleCharWidth;
        EXPECT_EQ(margin, Ctrl()->GetClientWindowMargin(1).Width());
        EXPECT_EQ(0, m.m_pDispOpt->m_Color.m_bGraySaved);
    }
}

// After GL printing the screen legend fonts are 18 and 12 on screens of 1024 pixels and more,
// scaled by width / 1400 below.
TEST_F(ExportFixture, GLPrintingRestoresScaledScreenLegendFonts) {
    Open();
    Ctrl()->SetGLRenderer(1);
    Ctrl()->XGL_virtual_dimension_bmp_x = 200;
    Ctrl()->XGL_virtual_dimension_bmp_y = 150;
    I_PVXModel& m = M();
    m.m_bResultDataReady = 1;
    m.m_nDisplayMode = 2;
    m.m_pDispOpt->m_Legend.m_bShowLegend = 1;
    m.m_pDispOpt->m_Legend.m_nLegendWidth = 10;
    const struct {
        int width;
        int title, value;  // InitFont arguments
    } rows[] = {{800, 10, 6}, {700, 9, 6}, {1024, 18, 12}, {1400, 18, 12}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.width);
        m_frame.MoveWindow(0, 0, r.width + 50, 350, FALSE);
        m_pView->MoveWindow(0, 0, r.width, 300, FALSE);
        CRecordDC printer;
        ASSERT_TRUE(printer.Create(320, 240));
        ASSERT_EQ(1, m.XGL_PV_OnDrawForPrinting(&printer));
        CLegendEngine expected;
        expected.InitFont(r.title, r.value);
        EXPECT_EQ(expected.m_lfTitle.lfHeight, m.m_LegendEngine.m_lfTitle.lfHeight);
        EXPECT_EQ(expected.m_lfValue.lfHeight, m.m_LegendEngine.m_lfValue.lfHeight);
    }
}

// A project without elements: the page is handled, and nothing prepared for it stays behind
// (device drawing, virtual page, gray colours, the hidden legend of mode 3).
TEST_F(ExportFixture, GLPrintingWithoutElementsLeavesTheScreenAsItWas) {
    Open(0);
    SetHostPrintColorMode(0);
    Ctrl()->SetGLRenderer(1);
    Ctrl()->XGL_virtual_dimension_bmp_x = 200;
    Ctrl()->XGL_virtual_dimension_bmp_y = 150;
    M().m_nDisplayMode = 3;
    M().m_pDispOpt->m_Legend.m_bShowLegend = 1;
    CRecordDC printer;
    ASSERT_TRUE(printer.Create(320, 240));
    EXPECT_EQ(1, M().XGL_PV_OnDrawForPrinting(&printer));
    EXPECT_EQ(0, M().m_bExternalDevice);
    EXPECT_FALSE(Ctrl()->IsVirtualMode());
    EXPECT_EQ(1, M().m_pDispOpt->m_Legend.m_bShowLegend);
    EXPECT_EQ(0, M().m_pDispOpt->m_Color.m_bGraySaved);
    EXPECT_EQ(0, M().m_pDispOpt->m_Number.m_bGraySaved);
}

// Group brackets by element and member type; nodes and diagrams.
TEST_F(ExportFixture, VectorStreamBracketsFollowTheType) {
    Open();
    const struct {
        int type;
        int kind;  // GXglGroup kind, -1 none
    } rows[] = {{201, GXglGroup::FRAME}, {101, GXglGroup::FRAME}, {206, GXglGroup::FRAME},
                {301, GXglGroup::PLANE}, {209, GXglGroup::PLANE}, {25, -1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.type);
        for (int bMemb : {0, 1}) {
            Ctrl()->XGL_ClearGroupLog();
            T_PELEM_D e;
            e.Initialize();
            e.type = r.type;
            T_PMEMB_D mb;
            mb.Initialize();
            mb.type = r.type;
            if (bMemb) {
                M().PVX_XGL_Begin_Memb(7, mb);
                M().PVX_XGL_End_Memb(1);
            } else {
                M().PVX_XGL_Begin_Elem(7, e);
                M().PVX_XGL_End_Elem(1);
            }
            const auto& log = Ctrl()->XGL_GetGroupLog();
            ASSERT_EQ(r.kind < 0 ? 1u : 2u, log.size());
            if (r.kind >= 0) {
                EXPECT_EQ(r.kind, log[0].kind);
                EXPECT_EQ(7u, log[0].key);
                EXPECT_EQ(0, log[0].flag);
            }
            EXPECT_EQ(GXglGroup::END, log.back().kind);
            EXPECT_EQ(1u, log.back().key);
        }
    }
    Ctrl()->XGL_ClearGroupLog();
    M().PVX_XGL_Begin_Node(4);
    M().PVX_XGL_End_Node();
    M().PVX_XGL_Begin_Diagram(9);
    const auto& log = Ctrl()->XGL_GetGroupLog();
    ASSERT_EQ(3u, log.size());
    EXPECT_EQ(GXglGroup::ELSE, log[0].kind);
    EXPECT_EQ(4u, log[0].key);
    EXPECT_EQ(1, log[0].flag);
    EXPECT_EQ(GXglGroup::END, log[1].kind);
    EXPECT_EQ(0u, log[1].key);
    EXPECT_EQ(GXglGroup::DIAGRAM, log[2].kind);
    EXPECT_EQ(9u, log[2].key);
    EXPECT_EQ(0, log[2].flag);
}

// World and view boxes of an element for the print handler; the matrix is column-major.
TEST_F(ExportFixture, BoundingBoxesOfAnElement) {
    Open();
    const double I[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    auto with = [&](int at, double v) {
        std::vector<double> m(I, I + 16);
        m[static_cast<size_t>(at)] = v;
        return m;
    };
    const int first = M().m_nObjectIDFirst;
    const struct {
        const char* label;
        std::vector<double> matrix;
        double vcs[6];
    } rows[] = {
        {"identity", with(0, 1), {0, 0, 0, 10, 10, 0}},
        {"translate x by 10", with(12, 10), {10, 0, 0, 20, 10, 0}},
        {"w = 2 halves", with(15, 2), {0, 0, 0, 5, 5, 0}},
        {"tiny z offset becomes 0", with(14, 1e-10), {0, 0, 0, 10, 10, 0}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        double wcs[6], vcs[6];
        std::vector<double> m = r.matrix;
        EXPECT_EQ(1, M().XGL_RE_GetWcsVcsMBRL(first, 1, wcs, vcs, m.data()));
        const double world[6] = {0, 0, 0, 10, 10, 0};
        for (int i = 0; i < 6; ++i) {
            EXPECT_NEAR(world[i], wcs[i], 1e-12) << i;
            EXPECT_NEAR(r.vcs[i], vcs[i], 1e-12) << i;
        }
    }
    // A column stands from z 0 to 3.
    double wcs[6], vcs[6];
    std::vector<double> m(I, I + 16);
    EXPECT_EQ(1, M().XGL_RE_GetWcsVcsMBRL(first, 3, wcs, vcs, m.data()));
    EXPECT_NEAR(0.0, wcs[2], 1e-9);
    EXPECT_NEAR(3.0, wcs[5], 1e-9);

    // No shape (missing key, another object type, the deformed type without an engine) leaves
    // empty boxes; a point on the vanishing plane (w = 0) widens no view box.
    const struct {
        const char* label;
        int type;
        UINT key;
        double w;
        bool worldEmpty;
    } empty[] = {{"missing key", first, 99, 1, true},
                 {"other type", first + 5, 1, 1, true},
                 {"deformed without engine", first + 1, 1, 1, true},
                 {"w = 0", first, 1, 0, false}};
    for (const auto& e : empty) {
        SCOPED_TRACE(e.label);
        std::vector<double> mm(I, I + 16);
        mm[15] = e.w;
        EXPECT_EQ(1, M().XGL_RE_GetWcsVcsMBRL(e.type, e.key, wcs, vcs, mm.data()));
        EXPECT_EQ(DBL_MAX, vcs[0]);
        EXPECT_EQ(-DBL_MAX, vcs[3]);
        EXPECT_EQ(e.worldEmpty, wcs[0] == DBL_MAX);
    }
    EXPECT_EQ(1, M().XGL_RE_GetWcsVcsMBRL(first, 1, nullptr, nullptr, nullptr));
}
