// Text on the raster DC: font sizes and metrics, the Chinese face fallback, alignment in
// rotated frames, opaque cells and DrawText layout.
#include <cmath>
#include <functional>

#include "platform/gdi/FontEngine.h"
#include "tests/platform/gdi/GdiTestUtil.h"

namespace {

LOGFONT Font(int height, const char* face = "SimSun", int escapement = 0) {
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", face);
    return lf;
}

// Text is decoded from UTF-8 for measuring and drawing: a broken or cut-short sequence becomes
// one U+FFFD and the characters after it are kept; encoding gives the bytes back.
TEST(RasterText, Utf8DecodingReplacesBadSequencesAndKeepsTheRest) {
    struct Row {
        const char* label;
        std::string in;
        std::vector<uint32_t> cps;
    } rows[] = {
        {"ASCII and Chinese", "a反", {'a', 0x53CD}},
        {"four bytes", "\xF0\x9F\x98\x80!", {0x1F600, '!'}},
        {"stray continuation byte", "\x80z", {0xFFFD, 'z'}},
        {"lead byte then ASCII", "\xE5z", {0xFFFD, 'z'}},
        {"two of three bytes then ASCII", "\xE5\x8Az", {0xFFFD, 'z'}},
        {"cut short by the end", "z\xE5\x8A", {'z', 0xFFFD}},
        {"lead byte at the end", "z\xF0", {'z', 0xFFFD}},
        {"invalid lead byte", "\xFFz", {0xFFFD, 'z'}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(Utf8Decode(r.in), r.cps);
    }
    for (uint32_t cp : {0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        SCOPED_TRACE(cp);
        const std::string bytes = Utf8Encode(cp);
        EXPECT_EQ(bytes.size(), cp < 0x80 ? 1u : cp < 0x800 ? 2u : cp < 0x10000 ? 3u : 4u);
        EXPECT_EQ(Utf8Decode(bytes), std::vector<uint32_t>{cp});
    }
    EXPECT_EQ(Utf8Sanitize("a\xED\xA0\x80" "b"), "a\xEF\xBF\xBD" "b") << "a surrogate is not text";
    EXPECT_EQ(Utf8Sanitize(std::string("ab\0cd", 5)), "ab");
}

TEST(RasterText, ExtentsAndMetricsFollowTheFontSize) {
    RasterCanvas canvas(10, 10);
    CDC& dc = canvas.dc;
    CSize last(0, 0);
    for (int em : {10, 14, 20, 28, 40}) {
        SCOPED_TRACE(em);
        CFont font;
        LOGFONT lf = Font(-em);
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
        CFont* old = dc.SelectObject(&font);
        const CSize ext = dc.GetTextExtent("反力 Rx=12.5");
        EXPECT_GT(ext.cx, last.cx);
        EXPECT_GT(ext.cy, last.cy);
        last = ext;
        TEXTMETRIC tm{};
        ASSERT_TRUE(dc.GetTextMetrics(&tm));
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_EQ(ext.cy, tm.tmHeight);
        EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, em, 1);  // negative height = em size
        EXPECT_GT(tm.tmAveCharWidth, 0);
        EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
        // Widths add up: the extent of a string is the sum of its parts.
        EXPECT_EQ(dc.GetTextExtent("反力").cx + dc.GetTextExtent(" Rx=12.5").cx, ext.cx);
        dc.SelectObject(old);
    }
    // A positive height is the cell height.
    for (int cell : {12, 18, 30}) {
        SCOPED_TRACE(cell);
        CFont font;
        LOGFONT lf = Font(cell);
        font.CreateFontIndirect(&lf);
        CFont* old = dc.SelectObject(&font);
        TEXTMETRIC tm{};
        dc.GetTextMetrics(&tm);
        EXPECT_NEAR(tm.tmHeight, cell, 1);
        dc.SelectObject(old);
    }
    // A width narrows the glyphs.
    LOGFONT wide = Font(-20), narrow = Font(-20);
    narrow.lfWidth = 4;
    EXPECT_LT(FontEngine::Instance().MeasureText(narrow, "ABCDEFGH").cx,
              FontEngine::Instance().MeasureText(wide, "ABCDEFGH").cx);
    TEXTMETRIC tm{};
    FontEngine::Instance().GetTextMetrics(narrow, &tm);
    EXPECT_EQ(tm.tmAveCharWidth, 4);
    // The average width is a Latin letter's: the module's value font (width = height / 2)
    // keeps numbers at about their natural width, as with the original fonts.
    FontEngine::Instance().GetTextMetrics(wide, &tm);
    EXPECT_EQ(tm.tmAveCharWidth, FontEngine::Instance().MeasureText(wide, "x").cx);
    LOGFONT half = Font(-20);
    half.lfWidth = 10;
    const int natural = FontEngine::Instance().MeasureText(wide, "0123456789").cx;
    EXPECT_NEAR(FontEngine::Instance().MeasureText(half, "0123456789").cx, natural, natural / 10);
}

TEST(RasterText, EveryFaceNameDrawsChinese) {
    for (const char* face : {"Arial", "宋体", "SimSun", "Microsoft YaHei", "", "NoSuchFace"}) {
        SCOPED_TRACE(face);
        auto font = FontEngine::Instance().Get(Font(-24, face));
        EXPECT_FALSE(font->family.empty());
        // Two different characters must give different pictures (missing glyphs draw as
        // identical boxes).
        RasterCanvas a(40, 40), b(40, 40);
        CFont f;
        LOGFONT lf = Font(-24, face);
        f.CreateFontIndirect(&lf);
        a.dc.SelectObject(&f);
        b.dc.SelectObject(&f);
        a.dc.TextOut(4, 4, "反");
        b.dc.TextOut(4, 4, "力");
        int differ = 0, ink = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                differ += a.At(x, y) != b.At(x, y);
                ink += a.At(x, y) != kWhite;
            }
        EXPECT_GT(ink, 20);
        EXPECT_GT(differ, 20);
        a.dc.SelectStockObject(SYSTEM_FONT);
        b.dc.SelectStockObject(SYSTEM_FONT);
    }
}

TEST(RasterText, AlignmentHoldsInTheRotatedFrame) {
    struct Case {
        const char* label;
        int escapement;
        UINT align;
        // Where the ink must lie relative to the reference point (120, 120), in pixels, given
        // w = text width, a = ascent, d = descent.
        std::function<CRect(int w, int a, int d)> box;
    };
    const int X = 120, Y = 120;
    const Case cases[] = {
        {"0 deg, left/top", 0, TA_LEFT | TA_TOP, [&](int w, int a, int d) { return CRect(X, Y, X + w, Y + a + d); }},
        {"0 deg, right/bottom", 0, TA_RIGHT | TA_BOTTOM, [&](int w, int a, int d) { return CRect(X - w, Y - a - d, X, Y); }},
        {"0 deg, centre/baseline", 0, TA_CENTER | TA_BASELINE,
         [&](int w, int a, int d) { return CRect(X - w / 2, Y - a, X + w - w / 2, Y + d); }},
        {"90 deg, left/baseline: runs upward, glyph tops to the left", 900, TA_LEFT | TA_BASELINE,
         [&](int w, int a, int d) { return CRect(X - a, Y - w, X + d, Y); }},
        {"90 deg, left/top: the cell hangs to the right of the point", 900, TA_LEFT | TA_TOP,
         [&](int w, int a, int d) { return CRect(X, Y - w, X + a + d, Y); }},
        {"270 deg, left/top: runs downward, cell to the left", 2700, TA_LEFT | TA_TOP,
         [&](int w, int a, int d) { return CRect(X - a - d, Y, X, Y + w); }},
        {"180 deg, right/baseline: runs leftward from x + w", 1800, TA_RIGHT | TA_BASELINE,
         [&](int w, int a, int d) { return CRect(X, Y - d, X + w, Y + a); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        RasterCanvas canvas(240, 240);
        CFont font;
        LOGFONT lf = Font(-20, "SimSun", c.escapement);
        font.CreateFontIndirect(&lf);
        canvas.dc.SelectObject(&font);
        canvas.dc.SetBkMode(TRANSPARENT);
        canvas.dc.SetTextAlign(c.align);
        const char* text = "反力Fx";
        const CSize ext = canvas.dc.GetTextExtent(text);
        TEXTMETRIC tm{};
        canvas.dc.GetTextMetrics(&tm);
        canvas.dc.TextOut(X, Y, text);
        const CRect ink = canvas.InkBox(kWhite, CRect(0, 0, 240, 240));
        const CRect cell = c.box(ext.cx, tm.tmAscent, tm.tmDescent);
        ASSERT_FALSE(ink.IsRectEmpty());
        // Ink stays inside the cell (one pixel of slack for rounding) and fills most of it.
        EXPECT_GE(ink.left, cell.left - 1) << "ink " << ink.left << "," << ink.top << "," << ink.right << "," << ink.bottom;
        EXPECT_GE(ink.top, cell.top - 1);
        EXPECT_LE(ink.right, cell.right + 1);
        EXPECT_LE(ink.bottom, cell.bottom + 1);
        const int along = c.escapement % 1800 == 0 ? ink.Width() : ink.Height();
        EXPECT_GT(along, ext.cx * 3 / 4);
        canvas.dc.SelectStockObject(SYSTEM_FONT);
    }
}

TEST(RasterText, TurnedMinusReadsAtAnyAngle) {
    // A turned minus (once 2 or 3 pixels) keeps the pixels it has level and reaches 0.7 of a digit.
    int level = 0, digit = 0;
    for (int escapement : {0, 300, 450, 1350, 3300}) {
        SCOPED_TRACE(escapement);
        RasterCanvas canvas(120, 120);
        CFont font;
        LOGFONT lf = Font(-12, "Arial", escapement);
        font.CreateFontIndirect(&lf);
        canvas.dc.SelectObject(&font);
        canvas.dc.SetTextColor(RGB(0, 0, 0));
        canvas.dc.TextOut(60, 60, "-");
        const int pixels = canvas.Count(CRect(0, 0, 120, 120), RGB(0, 0, 0));
        const CRect ink = canvas.InkBox(RGB(255, 255, 255), CRect(0, 0, 120, 120));
        if (escapement == 0) level = pixels, digit = canvas.dc.GetTextExtent("0").cx;
        canvas.dc.SelectStockObject(SYSTEM_FONT);
        EXPECT_GE(pixels, level);
        EXPECT_TRUE(escapement == 0 || std::hypot(ink.Width(), ink.Height()) > 0.7 * digit);
    }
}

TEST(RasterText, OpaqueModeFillsTheCellAndUpdateCpAdvances) {
    RasterCanvas canvas(200, 60);
    CDC& dc = canvas.dc;
    CFont font;
    LOGFONT lf = Font(-16);
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    const COLORREF bk = RGB(255, 255, 0);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(bk);
    dc.SetTextColor(kBlack);
    dc.TextOut(10, 10, "Ab 反");
    const CSize ext = dc.GetTextExtent("Ab 反");
    const CRect cell(10, 10, 10 + ext.cx, 10 + ext.cy);
    EXPECT_EQ(canvas.Count(cell, bk) + canvas.Count(cell, kBlack), cell.Width() * cell.Height());
    EXPECT_GT(canvas.Count(cell, kBlack), 10);
    EXPECT_EQ(canvas.At(9, 12), kWhite);
    EXPECT_EQ(canvas.At(cell.right, 12), kWhite);
    EXPECT_EQ(canvas.At(12, cell.bottom), kWhite);

    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_UPDATECP);
    dc.MoveTo(5, 35);
    dc.TextOut(0, 0, "AB");
    dc.TextOut(0, 0, "CD");
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(5 + dc.GetTextExtent("AB").cx + dc.GetTextExtent("CD").cx, 35));
    dc.SelectStockObject(SYSTEM_FONT);
}

TEST(RasterText, DrawTextLaysOutLines) {
    RasterCanvas canvas(200, 100);
    CDC& dc = canvas.dc;
    CFont font;
    LOGFONT lf = Font(-14);
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);

    CRect calc(0, 0, 0, 0);
    EXPECT_EQ(dc.DrawText("位移 Dx", &calc, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
    EXPECT_EQ(calc.Width(), dc.GetTextExtent("位移 Dx").cx);
    EXPECT_EQ(calc.Height(), tm.tmHeight);
    EXPECT_EQ(canvas.InkBox(kWhite, CRect(0, 0, 200, 100)), CRect());  // CALCRECT draws nothing

    CRect two(0, 0, 0, 0);
    dc.DrawText("line one\nline two", &two, DT_CALCRECT);
    EXPECT_EQ(two.Height(), 2 * tm.tmHeight);

    CRect narrow(0, 0, dc.GetTextExtent("alpha beta").cx - 1, 0);
    dc.DrawText("alpha beta gamma", &narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(narrow.Height(), 3 * tm.tmHeight);

    // Centred both ways in a box: the ink's centre is the box's centre.
    dc.SetBkMode(TRANSPARENT);
    CRect box(20, 20, 180, 80);
    dc.DrawText("HHHH", &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const CRect ink = canvas.InkBox(kWhite, CRect(0, 0, 200, 100));
    ASSERT_FALSE(ink.IsRectEmpty());
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 100, 2);
    const int cellTop = (20 + 80 - tm.tmHeight) / 2;
    EXPECT_GE(ink.top, cellTop);
    EXPECT_LE(ink.bottom, cellTop + tm.tmAscent + 1);
    dc.SelectStockObject(SYSTEM_FONT);
}

TEST(RasterText, PointFontsConvertTenthsOfAPointWithTheDcResolution) {
    struct Row { int dpi; int tenths; int expectHeight; };
    // height = -MulDiv(tenths, dpi, 720), rounded to the nearest pixel.
    const Row rows[] = {{96, 90, -12}, {96, 100, -13}, {96, 120, -16}, {600, 90, -75}, {600, 100, -83},
                        {800, 100, -111}, {96, 75, -10}};
    RasterCanvas canvas(4, 4);
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.dpi) + " dpi, " + std::to_string(r.tenths) + " tenths");
        canvas.dc.SetDeviceCaps(LOGPIXELSY, r.dpi);
        LOGFONT lf = Font(r.tenths);
        CFont font;
        ASSERT_TRUE(font.CreatePointFontIndirect(&lf, &canvas.dc));
        LOGFONT out{};
        font.GetLogFont(&out);
        EXPECT_EQ(out.lfHeight, r.expectHeight);
        EXPECT_STREQ(out.lfFaceName, "SimSun");
    }
    CFont screen;
    ASSERT_TRUE(screen.CreatePointFont(120, "Arial"));  // no DC: the screen's 96 dpi
    LOGFONT out{};
    screen.GetLogFont(&out);
    EXPECT_EQ(out.lfHeight, -16);
}

}  // namespace
