// The recording DC: every call with its arguments and the objects selected at the time.
#include "platform/gdi/FontEngine.h"
#include "tests/platform/gdi/GdiTestUtil.h"

namespace {

TEST(RecordDC, ListsCallsWithTheirSelectedObjects) {
    CRecordDC dc;
    ASSERT_TRUE(dc.Create());
    EXPECT_TRUE(dc.GetRecords().empty());

    CPen red(PS_SOLID, 3, RGB(255, 0, 0));
    CBrush yellow(RGB(255, 255, 128));
    CPen* oldPen = dc.SelectObject(&red);
    CBrush* oldBrush = dc.SelectObject(&yellow);
    dc.MoveTo(1, 2);
    dc.LineTo(30, 40);
    const POINT tri[] = {{0, 0}, {10, 0}, {0, 10}};
    dc.Polygon(tri, 3);
    dc.SelectObject(oldPen);
    dc.Rectangle(5, 6, 7, 8);
    LOGFONT lf{};
    lf.lfHeight = -14;
    lf.lfEscapement = 450;
    std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", "Arial");
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* oldFont = dc.SelectObject(&font);
    dc.SetTextColor(RGB(0, 0, 255));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_BASELINE | TA_CENTER);
    dc.TextOut(50, 60, "反力 12.5");
    TRIVERTEX v[3] = {{0, 0, 0xff00, 0, 0, 0}, {9, 0, 0, 0xff00, 0, 0}, {0, 9, 0, 0, 0xff00, 0}};
    GRADIENT_TRIANGLE g{0, 1, 2};
    dc.GradientFill(v, 3, &g, 1, GRADIENT_FILL_TRIANGLE);
    dc.SelectObject(oldFont);
    dc.SelectObject(oldBrush);
    SCOPED_TRACE(dc.Dump());

    // Order of the drawing calls.
    std::vector<std::string> drawing;
    for (const GdiRecord& r : dc.GetRecords())
        if (r.op != "SelectObject" && r.op.rfind("Set", 0) != 0) drawing.push_back(r.op);
    const std::vector<std::string> expectOrder = {"MoveTo", "LineTo", "Polygon", "Rectangle", "TextOut", "GradientFill"};
    EXPECT_EQ(drawing, expectOrder);

    const GdiRecord* line = dc.GetRecords("LineTo").at(0);
    EXPECT_EQ(line->Arg(0), 30);
    EXPECT_EQ(line->Arg(1), 40);
    EXPECT_EQ(line->curPos.x, 1);
    EXPECT_EQ(line->pen.lopnColor, RGB(255, 0, 0));
    EXPECT_EQ(line->pen.lopnWidth.x, 3);

    const GdiRecord* poly = dc.GetRecords("Polygon").at(0);
    ASSERT_EQ(poly->points.size(), 3u);
    EXPECT_EQ(poly->points[1].x, 10);
    EXPECT_EQ(poly->brush.lbColor, RGB(255, 255, 128));

    const GdiRecord* rect = dc.GetRecords("Rectangle").at(0);
    EXPECT_EQ(rect->pen.lopnColor, RGB(0, 0, 0));  // the black stock pen was back
    EXPECT_EQ(CRect(rect->rect), CRect(5, 6, 7, 8));

    const GdiRecord* text = dc.GetRecords("TextOut").at(0);
    EXPECT_EQ(text->text, "反力 12.5");
    EXPECT_EQ(text->font.lfEscapement, 450);
    EXPECT_EQ(text->font.lfHeight, -14);
    EXPECT_EQ(text->textColor, RGB(0, 0, 255));
    EXPECT_EQ(text->bkMode, TRANSPARENT);
    EXPECT_EQ(text->textAlign, static_cast<UINT>(TA_BASELINE | TA_CENTER));

    const GdiRecord* grad = dc.GetRecords("GradientFill").at(0);
    ASSERT_EQ(grad->vertices.size(), 3u);
    EXPECT_EQ(grad->vertices[1].Green, 0xff00);
    EXPECT_EQ(grad->mesh, (std::vector<ULONG>{0, 1, 2}));
    EXPECT_EQ(grad->Arg(0), GRADIENT_FILL_TRIANGLE);

    // State-setting calls are records of their own, with the new value.
    const auto colours = dc.GetRecords("SetTextColor");
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_EQ(colours[0]->textColor, RGB(0, 0, 255));
    EXPECT_EQ(dc.Count("SelectObject"), 6u);  // pen, brush, pen back, font, font back, brush back
    const GdiRecord* firstSel = dc.GetRecords("SelectObject").at(0);
    EXPECT_EQ(firstSel->Arg(0), OBJ_PEN);

    // SaveDC/RestoreDC are records of their own; restoring selects nothing by itself.
    dc.Clear();
    const int level = dc.SaveDC();
    dc.SelectObject(&red);
    dc.RestoreDC(level);
    dc.LineTo(0, 0);
    ASSERT_EQ(dc.GetRecords().size(), 4u);
    EXPECT_EQ(dc.GetRecords()[0].op, "SaveDC");
    EXPECT_EQ(dc.GetRecords()[2].op, "RestoreDC");
    EXPECT_EQ(dc.GetRecords()[3].pen.lopnColor, RGB(0, 0, 0));  // the restored pen draws

    dc.Clear();
    EXPECT_EQ(dc.Count("LineTo"), 0u);
}

// ExtTextOut keeps one advance per character as the drawing back ends count them: a byte
// that is not UTF-8 is a character of its own, so nothing reads past the caller's advances.
TEST(RecordDC, TextAdvancesAreKeptOnePerCharacter) {
    const int dx[] = {3, 4, 5, 6, 7, 8};
    struct Row {
        const char* label;
        std::string text;
        size_t advances;
    } rows[] = {
        {"ASCII", "abc", 3},
        {"Chinese", "反力", 2},
        {"stray continuation byte", "\x80z", 2},
        {"cut-short sequence", "\xE5\x8Az", 2},
        {"lead byte at the end", "ab\xF0", 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CRecordDC dc;
        ASSERT_TRUE(dc.Create());
        EXPECT_TRUE(dc.ExtTextOut(1, 2, 0, nullptr, r.text.c_str(), static_cast<UINT>(r.text.size()), dx));
        ASSERT_EQ(dc.Count("ExtTextOut"), 1u);
        const GdiRecord& rec = dc.GetRecords().back();
        EXPECT_EQ(rec.text, r.text);
        EXPECT_EQ(rec.dx, std::vector<int>(dx, dx + r.advances));
    }
}

TEST(RecordDC, MeasuresTextWithoutPixelsAndDrawsWhenSized) {
    CRecordDC dc;
    ASSERT_TRUE(dc.Create());
    LOGFONT lf{};
    lf.lfHeight = -20;
    std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", "SimSun");
    CFont font;
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    const CSize ext = dc.GetTextExtent("位移");
    EXPECT_EQ(ext, CSize(FontEngine::Instance().MeasureText(lf, "位移")));
    EXPECT_GT(ext.cx, 20);
    TEXTMETRIC tm{};
    EXPECT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, ext.cy);
    EXPECT_EQ(dc.GetPixel(1, 1), CLR_INVALID);  // no pixels to read
    RECT r{0, 0, 100, 50};
    EXPECT_EQ(dc.DrawText("位移", &r, DT_SINGLELINE), tm.tmHeight);
    EXPECT_EQ(dc.Count("DrawText"), 1u);
    dc.SelectStockObject(SYSTEM_FONT);

    CRecordDC sized;
    ASSERT_TRUE(sized.Create(40, 30));
    EXPECT_EQ(sized.GetDeviceCaps(HORZRES), 40);
    sized.FillSolidRect(0, 0, 40, 30, RGB(255, 255, 255));
    sized.FillSolidRect(10, 10, 5, 5, RGB(0, 128, 0));
    EXPECT_EQ(sized.GetPixel(12, 12), RGB(0, 128, 0));
    EXPECT_EQ(sized.GetPixel(2, 2), RGB(255, 255, 255));
    ASSERT_EQ(sized.Count("FillSolidRect"), 2u);
    // FillSolidRect leaves the background colour set to its colour, as the class library does.
    EXPECT_EQ(sized.GetBkColor(), RGB(0, 128, 0));
    EXPECT_EQ(sized.GetRecords("FillSolidRect")[1]->Arg(4), static_cast<int>(RGB(0, 128, 0)));

    // A recording DC can be the source of a blit.
    RasterCanvas canvas(40, 30);
    EXPECT_TRUE(canvas.dc.BitBlt(0, 0, 40, 30, &sized, 0, 0, SRCCOPY));
    EXPECT_EQ(canvas.At(11, 11), RGB(0, 128, 0));
}

}  // namespace

namespace {

// A recording DC keeps the caller's Polygon with its objects: a solid polygon asked of it draws
// nothing, records nothing and says so, so the caller selects and draws as before.
TEST(RecordDC, LeavesSolidPolygonsToTheCallersObjects) {
    CRecordDC dc;
    ASSERT_TRUE(dc.Create());
    const POINT tri[3] = {{0, 0}, {10, 0}, {0, 10}};
    const size_t before = dc.GetRecords().size();
    EXPECT_FALSE(dc.SolidPolygon(tri, 3, RGB(10, 20, 30)));
    EXPECT_EQ(dc.GetRecords().size(), before);
}

}  // namespace
