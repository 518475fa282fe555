// Contour value annotation: the label grid, the placement rule, the drawing order and the text
// angle along the contour line.
#include <algorithm>
#include <string>

#include "RenderTestSupport.h"
#include "host/base/CGwPrintHandler.h"
#include "host/grx/XGL_PrintHandler.h"

namespace {

class AnnotTest : public RenderFixture {
protected:
    void SetUp() override {
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 10, 0, 0);
        b.AddNode(3, 10, 10, 0);
        b.AddNode(4, 0, 10, 0);
        b.AddElem(1, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        b.AddMemb(1, 301, {1, 2, 3, 4}, {1});
        Open(b);
        I_PVXModel& m = M();
        m.m_bContourAnnot = 1;
        T_PVX_DOPT_D::SetDefaultFont(m.m_pDispOpt->m_Legend.m_lfAnnot);
        m.m_pDispOpt->m_Legend.m_crAnnotText = RGB(1, 2, 3);
        m.m_pDispOpt->m_Legend.m_crAnnotBack = RGB(4, 5, 6);
        m.m_pDispOpt->m_Legend.m_bAnnotOpaque = 1;
        ASSERT_TRUE(m_dc.Create());
    }
    // Lays the grid out for an area of w x h pixels at dpi.
    void Layout(int dpi, double size, int w, int h) {
        Ctrl()->SetClientSize(w, h);
        m_dc.SetDeviceCaps(LOGPIXELSX, dpi);
        m_dc.SetDeviceCaps(LOGPIXELSY, dpi);
        M().m_dAnnotSize = size;
        M().initContourValAnnot(&m_dc);
    }
    void Candidate(int row, int col, int level, const char* text, C3DPoint from, C3DPoint to) {
        ContAnnotData a;
        a.nRow = row;
        a.nCol = col;
        a.nLevel = level;
        a.strText = text;
        a.pt1 = from;
        a.pt2 = to;
        a.pt3 = from;
        const CPoint p = Ctrl()->GetWorldToMemDCP2D(from);
        a.x = p.x;
        a.y = p.y;
        M().m_arrContAnnot.Add(a);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const GdiRecord* r : m_dc.GetRecords("TextOut")) out.push_back(r->text);
        return out;
    }
    CRecordDC m_dc;
};

TEST_F(AnnotTest, GridCellsFollowResolutionAndSize) {
    struct Row {
        const char* name;
        int dpi;
        double size;
        int w, h;
        int cellW, cellH, cols, rows;
    } rows[] = {
        {"screen, full size", 96, 1.0, 980, 600, 98, 98, 11, 7},
        {"size 0 leaves k = 0.2", 96, 0.0, 980, 600, 10, 10, 99, 61},
        {"high resolution, a quarter", 192, 0.25, 980, 600, 65, 65, 16, 10},
        {"a negative size still gives one-pixel cells", 96, -1.0, 20, 10, 1, 1, 21, 11},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Layout(r.dpi, r.size, r.w, r.h);
        I_PVXModel& m = M();
        EXPECT_EQ(m.m_nAnnotCellWidth, r.cellW);
        EXPECT_EQ(m.m_nAnnotCellHeight, r.cellH);
        EXPECT_EQ(m.m_nAnnotCols, r.cols);
        EXPECT_EQ(m.m_nAnnotRows, r.rows);
        EXPECT_EQ(m.m_arrAnnotGrid.GetSize(), static_cast<INT_PTR>(r.cols) * r.rows);
    }
    // Switched off nothing is laid out again.
    M().m_bContourAnnot = 0;
    Layout(96, 1.0, 980, 600);
    EXPECT_EQ(M().m_nAnnotCols, 21);
}

TEST_F(AnnotTest, PrintedGridCoversThePrintedPage) {
    // 96 dpi, size 1.0: 98-pixel cells over the page instead of the 980 x 600 view.
    const GW_PrintParam savedGw = CGwPrintHandler::m_PrintParam;
    const XGL_PrintParam savedXgl = XGL_PrintHandler::m_PrintParam;
    struct Row {
        const char* name;
        int gwW, gwH, xglW, xglH;
        int cols, rows;
    } rows[] = {
        {"a print: the framework handler's page", 1960, 490, 196, 196, 21, 6},
        {"a metafile export: no framework page, the library's", 0, 0, 490, 1960, 6, 21},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CGwPrintHandler::m_PrintParam = {r.gwW, r.gwH};
        XGL_PrintHandler::m_PrintParam.m_nWidth = r.xglW;
        XGL_PrintHandler::m_PrintParam.m_nHeight = r.xglH;
        M().m_bExternalDevice = 1;
        Layout(96, 1.0, 980, 600);
        M().m_bExternalDevice = 0;
        EXPECT_EQ(M().m_nAnnotCols, r.cols);
        EXPECT_EQ(M().m_nAnnotRows, r.rows);
    }
    CGwPrintHandler::m_PrintParam = savedGw;
    XGL_PrintHandler::m_PrintParam = savedXgl;
}

TEST_F(AnnotTest, PlacementRefusesCrowdingOfTheSameLevel) {
    Layout(96, 1.0, 980, 600);  // 11 columns, 7 rows
    I_PVXModel& m = M();
    auto put = [&](int r, int c, int level) { m.m_arrAnnotGrid[r * m.m_nAnnotCols + c] = level; };
    put(2, 3, 5);
    put(1, 10, 7);  // last cell of row 1
    C3DPoint p;
    struct Row {
        const char* name;
        int r, c, level;
        BOOL ok;
    } rows[] = {
        {"row past the grid", 7, 0, 1, FALSE},
        {"negative row", -1, 0, 1, FALSE},
        {"column past the grid", 0, 11, 1, FALSE},
        {"occupied cell", 2, 3, 9, FALSE},
        {"same level next to it", 3, 4, 5, FALSE},
        {"same level above it", 1, 3, 5, FALSE},
        {"other level next to it", 3, 4, 6, TRUE},
        {"same level two columns away", 2, 5, 5, TRUE},
        {"first cell of the next row is no neighbour of the last cell", 2, 0, 7, TRUE},
        {"last cell of a row is no neighbour of the next row's first", 0, 10, 7, FALSE},
        {"corner of the grid", 6, 10, 1, TRUE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(m.DoPutAnnotation(r.r, r.c, r.level, p), r.ok);
    }
}

TEST_F(AnnotTest, LaterCandidatesWinAndEachIsDrawnAlongItsLine) {
    Layout(96, 1.0, 980, 600);
    const C3DPoint a(2, 5, 0), b(8, 5, 0);
    Candidate(1, 1, 3, "A", a, b);
    Candidate(1, 2, 3, "B", a, b);
    Candidate(4, 4, 3, "C", a, b);
    Candidate(4, 5, 4, "D", a, b);
    M().AnnotateContourValue(&m_dc);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"D", "C", "B"}));
    for (const GdiRecord* r : m_dc.GetRecords("TextOut")) {
        EXPECT_EQ(r->textAlign, 30u);
        EXPECT_EQ(r->textColor, RGB(1, 2, 3));
        EXPECT_EQ(r->bkColor, RGB(4, 5, 6));
        EXPECT_EQ(r->bkMode, OPAQUE);
    }
    EXPECT_EQ(M().m_arrAnnotGrid[1 * 11 + 2], 3);
    EXPECT_EQ(M().m_arrAnnotGrid[1 * 11 + 1], 0);
    EXPECT_EQ(M().m_pDispOpt->m_Legend.m_lfAnnot.lfEscapement, 0);
}

TEST_F(AnnotTest, TextNeverReadsUpsideDown) {
    Layout(96, 1.0, 980, 600);
    const C3DPoint c(5, 5, 0);
    const CPoint pc = Ctrl()->GetWorldToMemDCP2D(c);
    // Pieces by their direction on screen (y grows downward).
    struct Row {
        const char* name;
        int dx, dy;  // window direction of the piece
        int angle;   // tenths of a degree
    } rows[] = {
        {"left to right", 1, 0, 0},
        {"right to left reads left to right", -1, 0, 0},
        {"upward", 0, -1, 900},
        {"downward reads upward", 0, 1, 900},
        {"up and right", 1, -1, 450},
        {"down and right", 1, 1, 3150},
        {"down and left turns to up and right", -1, 1, 450},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        // A world piece from c that runs about 100 pixels along (dx, dy) on screen.
        const CPoint px = Ctrl()->GetWorldToMemDCP2D(C3DPoint(c.x + 1, c.y, 0));
        const CPoint py = Ctrl()->GetWorldToMemDCP2D(C3DPoint(c.x, c.y + 1, 0));
        const double ax = px.x - pc.x, ay = px.y - pc.y, bx = py.x - pc.x, by = py.y - pc.y;
        const double det = ax * by - ay * bx;
        ASSERT_NE(det, 0.0);
        const double u = (r.dx * by - r.dy * bx) / det, v = (ax * r.dy - ay * r.dx) / det;
        C3DPoint to(c.x + 100 * u, c.y + 100 * v, 0);
        C3DPoint from = c;
        CString text("1.5");
        m_dc.Clear();
        M().OutputContAnnotOn2DPoint(&m_dc, pc, text, from, to);
        const auto out = m_dc.GetRecords("TextOut");
        ASSERT_EQ(out.size(), 1u);
        // Pixel rounding may turn the piece by a few tenths of a degree.
        const int diff = ((out[0]->font.lfEscapement - r.angle) % 3600 + 3600) % 3600;
        EXPECT_LE(std::min(diff, 3600 - diff), 10) << "angle " << out[0]->font.lfEscapement;
        EXPECT_FALSE(out[0]->font.lfEscapement > 900 && out[0]->font.lfEscapement <= 2700);
        EXPECT_EQ(out[0]->font.lfOrientation, out[0]->font.lfEscapement);
        EXPECT_EQ(M().m_pDispOpt->m_Legend.m_lfAnnot.lfEscapement, 0);
    }
    // Off the page nothing is written.
    CString text("1.5");
    C3DPoint from = c, to(c.x + 1, c.y, 0);
    m_dc.Clear();
    M().OutputContAnnotOn2DPoint(&m_dc, CPoint(-1, 10), text, from, to);
    EXPECT_EQ(m_dc.Count("TextOut"), 0u);
}

}  // namespace
