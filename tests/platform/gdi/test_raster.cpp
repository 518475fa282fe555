// The raster DC: pixel rules of lines and shapes, state save/restore, clipping, blits and
// raster operations, gradients, blending and DIB sections.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/gdi/CRecordDC.h"
#include "platform/gdi/RasterBackend.h"
#include "tests/platform/gdi/GdiTestUtil.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

struct PixelCase {
    const char* label;
    std::function<void(CDC&)> draw;
    std::vector<std::pair<POINT, COLORREF>> expect;
};

TEST(RasterDC, ShapesFollowThePlatformPixelRules) {
    const std::vector<PixelCase> cases = {
        {"horizontal LineTo leaves out its end pixel",
         [](CDC& dc) { dc.MoveTo(2, 5); dc.LineTo(8, 5); },
         {{{2, 5}, kBlack}, {{7, 5}, kBlack}, {{8, 5}, kWhite}, {{1, 5}, kWhite}, {{5, 4}, kWhite}, {{5, 6}, kWhite}}},
        {"vertical LineTo leaves out its end pixel",
         [](CDC& dc) { dc.MoveTo(5, 2); dc.LineTo(5, 8); },
         {{{5, 2}, kBlack}, {{5, 7}, kBlack}, {{5, 8}, kWhite}, {{4, 5}, kWhite}, {{6, 5}, kWhite}}},
        {"Rectangle covers left..right-1 with the pen outline on its edge pixels",
         [](CDC& dc) {
             CBrush red(kRed);
             CBrush* old = dc.SelectObject(&red);
             dc.Rectangle(2, 2, 8, 6);
             dc.SelectObject(old);
         },
         {{{2, 2}, kBlack}, {{7, 5}, kBlack}, {{7, 2}, kBlack}, {{8, 2}, kWhite}, {{2, 6}, kWhite}, {{4, 4}, kRed}}},
        {"Rectangle with a null pen is one pixel smaller",
         [](CDC& dc) {
             CBrush red(kRed);
             CBrush* old = dc.SelectObject(&red);
             dc.SelectStockObject(NULL_PEN);
             dc.Rectangle(2, 2, 8, 6);
             dc.SelectObject(old);
         },
         {{{2, 2}, kRed}, {{6, 4}, kRed}, {{7, 4}, kWhite}, {{6, 5}, kWhite}}},
        {"null pen draws no line",
         [](CDC& dc) { dc.SelectStockObject(NULL_PEN); dc.MoveTo(0, 3); dc.LineTo(20, 3); },
         {{{5, 3}, kWhite}, {{10, 3}, kWhite}}},
        {"pen width 0 draws one pixel wide",
         [](CDC& dc) {
             CPen pen(PS_SOLID, 0, kBlue);
             dc.SelectObject(&pen);
             dc.MoveTo(0, 10); dc.LineTo(20, 10);
             dc.SelectStockObject(BLACK_PEN);
         },
         {{{5, 10}, kBlue}, {{5, 9}, kWhite}, {{5, 11}, kWhite}}},
        {"a dashed pen wider than 1 draws solid",
         [](CDC& dc) {
             CPen pen(PS_DASH, 3, kBlue);
             dc.SelectObject(&pen);
             dc.MoveTo(2, 10); dc.LineTo(38, 10);
             dc.SelectStockObject(BLACK_PEN);
         },
         {{{5, 10}, kBlue}, {{21, 10}, kBlue}, {{23, 10}, kBlue}, {{27, 10}, kBlue}, {{33, 10}, kBlue},
          {{20, 9}, kBlue}, {{20, 11}, kBlue}}},
        {"a 1-pixel dashed pen leaves gaps in the background colour when opaque",
         [](CDC& dc) {
             CPen pen(PS_DASH, 1, kBlue);
             dc.SelectObject(&pen);
             dc.SetBkColor(kRed);
             dc.MoveTo(0, 10); dc.LineTo(40, 10);
             dc.SelectStockObject(BLACK_PEN);
         },
         {{{1, 10}, kBlue}, {{20, 10}, kRed}, {{25, 10}, kBlue}}},
        {"Polygon with a pen includes its vertex pixels",
         [](CDC& dc) {
             CBrush red(kRed);
             CBrush* old = dc.SelectObject(&red);
             const POINT pts[] = {{2, 2}, {10, 2}, {10, 10}, {2, 10}};
             dc.Polygon(pts, 4);
             dc.SelectObject(old);
         },
         {{{2, 2}, kBlack}, {{10, 10}, kBlack}, {{11, 10}, kWhite}, {{6, 6}, kRed}}},
        {"Polygon without a pen fills pixel centres inside",
         [](CDC& dc) {
             CBrush red(kRed);
             CBrush* old = dc.SelectObject(&red);
             dc.SelectStockObject(NULL_PEN);
             const POINT pts[] = {{2, 2}, {10, 2}, {10, 10}, {2, 10}};
             dc.Polygon(pts, 4);
             dc.SelectObject(old);
         },
         {{{2, 2}, kRed}, {{9, 9}, kRed}, {{10, 9}, kWhite}, {{9, 10}, kWhite}}},
        {"SetPixel then GetPixel",
         [](CDC& dc) { dc.SetPixel(7, 7, RGB(1, 2, 3)); },
         {{{7, 7}, RGB(1, 2, 3)}, {{8, 7}, kWhite}}},
    };
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.label);
        RasterCanvas canvas(40, 20);
        c.draw(canvas.dc);
        for (const auto& e : c.expect)
            EXPECT_EQ(Hex(canvas.At(e.first.x, e.first.y)), Hex(e.second)) << "at (" << e.first.x << "," << e.first.y << ")";
    }
}

TEST(RasterDC, EllipseStaysInsideItsBoxAndWinding) {
    RasterCanvas canvas(40, 40);
    CBrush red(kRed);
    canvas.dc.SelectObject(&red);
    canvas.dc.Ellipse(5, 6, 25, 30);
    EXPECT_EQ(canvas.InkBox(kWhite, CRect(0, 0, 40, 40)), CRect(5, 6, 25, 30));
    EXPECT_EQ(canvas.At(15, 18), kRed);
    EXPECT_EQ(canvas.At(5, 6), kWhite);  // corners of the box are outside the ellipse

    // A self-overlapping pentagram: the centre is filled with WINDING, empty with ALTERNATE.
    const POINT star[] = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
    for (int mode : {ALTERNATE, WINDING}) {
        SCOPED_TRACE(mode == WINDING ? "WINDING" : "ALTERNATE");
        RasterCanvas c(40, 40);
        c.dc.SelectObject(&red);
        c.dc.SelectStockObject(NULL_PEN);
        c.dc.SetPolyFillMode(mode);
        c.dc.Polygon(star, 5);
        EXPECT_EQ(c.At(20, 20), mode == WINDING ? kRed : kWhite);
        EXPECT_EQ(c.At(20, 8), kRed);  // a point of the star is filled either way
        c.dc.SelectStockObject(WHITE_BRUSH);
    }
    canvas.dc.SelectStockObject(WHITE_BRUSH);
}

TEST(RasterDC, SaveAndRestoreBringBackTheWholeState) {
    RasterCanvas canvas(20, 20);
    CDC& dc = canvas.dc;
    CPen red(PS_SOLID, 2, kRed);
    CBrush blue(kBlue);
    CPen* oldPen = dc.SelectObject(&red);
    CBrush* oldBrush = dc.SelectObject(&blue);
    dc.SetTextColor(RGB(1, 1, 1));
    dc.SetBkColor(RGB(2, 2, 2));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_BASELINE | TA_CENTER);
    const int level = dc.SaveDC();
    EXPECT_EQ(level, 1);

    CPen green(PS_SOLID, 1, RGB(0, 255, 0));
    dc.SelectObject(&green);
    dc.SelectStockObject(NULL_BRUSH);
    EXPECT_EQ(dc.SetTextColor(RGB(9, 9, 9)), RGB(1, 1, 1));  // setters return the old value
    EXPECT_EQ(dc.SetBkColor(RGB(8, 8, 8)), RGB(2, 2, 2));
    EXPECT_EQ(dc.SetBkMode(OPAQUE), TRANSPARENT);
    EXPECT_EQ(dc.SetTextAlign(TA_LEFT | TA_TOP), static_cast<UINT>(TA_BASELINE | TA_CENTER));
    dc.IntersectClipRect(0, 0, 5, 5);
    const int inner = dc.SaveDC();
    EXPECT_EQ(inner, 2);
    dc.SetTextColor(RGB(7, 7, 7));

    EXPECT_TRUE(dc.RestoreDC(level));  // back past the inner save in one step
    EXPECT_EQ(dc.GetTextColor(), RGB(1, 1, 1));
    EXPECT_EQ(dc.GetBkColor(), RGB(2, 2, 2));
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
    EXPECT_EQ(dc.GetTextAlign(), static_cast<UINT>(TA_BASELINE | TA_CENTER));
    EXPECT_EQ(dc.GetCurrentPen(), &red);
    EXPECT_EQ(dc.GetCurrentBrush(), &blue);
    CRect clip;
    dc.GetClipBox(&clip);
    EXPECT_EQ(clip, CRect(0, 0, 20, 20));
    EXPECT_FALSE(dc.RestoreDC(-1));  // nothing left to restore
    EXPECT_FALSE(dc.RestoreDC(5));

    // The restored pen draws: 2 pixels wide, red.
    dc.MoveTo(0, 10);
    dc.LineTo(20, 10);
    EXPECT_EQ(canvas.At(10, 10), kRed);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

// Each mode setter takes a closed range: inside it returns the old mode, outside it refuses
// with 0 and keeps the mode; a DC without a handle answers 0.
TEST(RasterDC, ModeSettersKeepToTheirRanges) {
    struct ModeRow {
        const char* name;
        int (CDC::*set)(int);
        int (CDC::*get)() const;
        int initial, lo, hi;
    } rows[] = {
        {"BkMode", &CDC::SetBkMode, &CDC::GetBkMode, OPAQUE, TRANSPARENT, OPAQUE},
        {"ROP2", &CDC::SetROP2, &CDC::GetROP2, R2_COPYPEN, R2_BLACK, R2_WHITE},
        {"PolyFillMode", &CDC::SetPolyFillMode, &CDC::GetPolyFillMode, ALTERNATE, ALTERNATE, WINDING},
        {"StretchBltMode", &CDC::SetStretchBltMode, &CDC::GetStretchBltMode, BLACKONWHITE, BLACKONWHITE, HALFTONE},
        {"MapMode", &CDC::SetMapMode, &CDC::GetMapMode, MM_TEXT, MM_TEXT, MM_ANISOTROPIC},
    };
    for (const ModeRow& row : rows) {
        SCOPED_TRACE(row.name);
        RasterCanvas canvas(4, 4);
        CDC& dc = canvas.dc;
        EXPECT_EQ((dc.*row.get)(), row.initial);
        EXPECT_EQ((dc.*row.set)(row.hi), row.initial);
        EXPECT_EQ((dc.*row.set)(row.lo), row.hi);
        EXPECT_EQ((dc.*row.get)(), row.lo);
        EXPECT_EQ((dc.*row.set)(row.lo - 1), 0);
        EXPECT_EQ((dc.*row.set)(row.hi + 1), 0);
        EXPECT_EQ((dc.*row.get)(), row.lo);
        (dc.*row.set)(row.initial);
        CDC none;
        EXPECT_EQ((none.*row.set)(row.lo), 0);
        EXPECT_EQ((none.*row.get)(), 0);
    }
    // The origins return the old point and move the mapping together.
    RasterCanvas canvas(4, 4);
    EXPECT_EQ(canvas.dc.SetViewportOrg(3, 4), CPoint(0, 0));
    EXPECT_EQ(canvas.dc.SetWindowOrg(1, 1), CPoint(0, 0));
    EXPECT_EQ(canvas.dc.OffsetViewportOrg(1, 1), CPoint(3, 4));
    EXPECT_EQ(canvas.dc.GetViewportOrg(), CPoint(4, 5));
    CPoint p(0, 0);
    canvas.dc.LPtoDP(&p, 1);
    EXPECT_EQ(p, CPoint(3, 4));
    EXPECT_EQ(canvas.dc.SetBrushOrg(2, 2), CPoint(0, 0));
    EXPECT_EQ(canvas.dc.SetBrushOrg(0, 0), CPoint(2, 2));
}

TEST(RasterDC, ClipRegionsLimitDrawing) {
    RasterCanvas canvas(30, 30);
    CDC& dc = canvas.dc;
    CRgn tri;
    const POINT pts[] = {{0, 0}, {30, 0}, {0, 30}};
    ASSERT_TRUE(tri.CreatePolygonRgn(pts, 3, WINDING));
    EXPECT_EQ(dc.SelectClipRgn(&tri), COMPLEXREGION);
    CRgn band;
    band.CreateRectRgn(0, 10, 30, 20);
    EXPECT_NE(dc.ExtSelectClipRgn(&band, RGN_AND), ERROR);
    dc.FillSolidRect(0, 0, 30, 30, kRed);
    CRect box;
    dc.GetClipBox(&box);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.bottom, 20);
    EXPECT_EQ(dc.GetPixel(25, 15), CLR_INVALID);  // outside the clip
    EXPECT_TRUE(dc.PtVisible(2, 12));
    dc.SelectClipRgn(nullptr);
    EXPECT_EQ(canvas.At(2, 12), kRed);    // inside both
    EXPECT_EQ(canvas.At(2, 5), kWhite);   // above the band
    EXPECT_EQ(canvas.At(25, 15), kWhite); // beyond the diagonal
    EXPECT_EQ(canvas.At(18, 10), kRed);   // pixel centre (18.5, 10.5) is left of x + y = 30
    EXPECT_EQ(canvas.At(20, 10), kWhite);
}

TEST(RasterDC, XorBlitTwiceRestoresAndRopsCombineBits) {
    RasterCanvas dst(16, 16), src(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            dst.dc.SetPixel(x, y, RGB(x * 16, y * 16, 77));
            src.dc.SetPixel(x, y, RGB(200, x * 10, y * 5));
        }
    std::vector<COLORREF> before;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) before.push_back(dst.At(x, y));
    ASSERT_TRUE(dst.dc.BitBlt(0, 0, 16, 16, &src.dc, 0, 0, SRCINVERT));
    EXPECT_EQ(dst.At(3, 4), RGB((3 * 16) ^ 200, (4 * 16) ^ 30, 77 ^ 20));
    ASSERT_TRUE(dst.dc.BitBlt(0, 0, 16, 16, &src.dc, 0, 0, SRCINVERT));
    int differ = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) differ += dst.At(x, y) != before[static_cast<size_t>(y * 16 + x)];
    EXPECT_EQ(differ, 0);

    struct Rop { const char* label; DWORD rop; COLORREF expect; };
    const COLORREF s = RGB(0xF0, 0x0F, 0x55), d = RGB(0x3C, 0xC3, 0xAA), p = RGB(0x11, 0x22, 0x33);
    const Rop rops[] = {
        {"SRCCOPY", SRCCOPY, s},
        {"SRCAND", SRCAND, RGB(0x30, 0x03, 0x00)},
        {"SRCPAINT", SRCPAINT, RGB(0xFC, 0xCF, 0xFF)},
        {"SRCINVERT", SRCINVERT, RGB(0xCC, 0xCC, 0xFF)},
        {"NOTSRCCOPY", NOTSRCCOPY, RGB(0x0F, 0xF0, 0xAA)},
        {"DSTINVERT", DSTINVERT, RGB(0xC3, 0x3C, 0x55)},
        {"PATCOPY", PATCOPY, p},
        {"BLACKNESS", BLACKNESS, kBlack},
        {"WHITENESS", WHITENESS, kWhite},
        {"MERGECOPY", MERGECOPY, RGB(0x10, 0x02, 0x11)},
    };
    for (const Rop& r : rops) {
        SCOPED_TRACE(r.label);
        RasterCanvas a(4, 4, d), b(4, 4, s);
        CBrush brush(p);
        a.dc.SelectObject(&brush);
        EXPECT_TRUE(a.dc.BitBlt(1, 1, 2, 2, &b.dc, 0, 0, r.rop));
        EXPECT_EQ(Hex(a.At(1, 1)), Hex(r.expect));
        EXPECT_EQ(Hex(a.At(0, 0)), Hex(d));  // outside the blit
        a.dc.SelectStockObject(WHITE_BRUSH);
    }
}

// Transparent copy with a mask, the way the direction triad is drawn: black pixels of the
// image are see-through.
TEST(RasterDC, MonochromeMaskMakesAColourTransparent) {
    const int w = 8, h = 8;
    RasterCanvas image(w, h, kBlack), target(w, h, RGB(10, 200, 10));
    image.dc.FillSolidRect(2, 2, 4, 4, kRed);
    CDC maskDC;
    ASSERT_TRUE(maskDC.CreateCompatibleDC(&target.dc));
    CBitmap mask;
    ASSERT_TRUE(mask.CreateBitmap(w, h, 1, 1, nullptr));
    CBitmap* oldMask = maskDC.SelectObject(&mask);
    EXPECT_EQ(maskDC.GetDeviceCaps(BITSPIXEL), 1);
    image.dc.SetBkColor(kBlack);  // colour -> mono: the background colour becomes 1 (white)
    ASSERT_TRUE(maskDC.BitBlt(0, 0, w, h, &image.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(maskDC.GetPixel(0, 0), kWhite);
    EXPECT_EQ(maskDC.GetPixel(3, 3), kBlack);

    target.dc.SetBkColor(kWhite);    // mono -> colour: 1 becomes the background colour
    target.dc.SetTextColor(kBlack);  // and 0 the text colour
    target.dc.BitBlt(0, 0, w, h, &image.dc, 0, 0, SRCINVERT);
    target.dc.BitBlt(0, 0, w, h, &maskDC, 0, 0, SRCAND);
    target.dc.BitBlt(0, 0, w, h, &image.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(Hex(target.At(0, 0)), Hex(RGB(10, 200, 10)));
    EXPECT_EQ(Hex(target.At(3, 3)), Hex(kRed));
    maskDC.SelectObject(oldMask);

    // A compatible bitmap of a fresh memory DC is monochrome, as on the platform.
    CDC fresh;
    fresh.CreateCompatibleDC(nullptr);
    CBitmap monoBm;
    monoBm.CreateCompatibleBitmap(&fresh, 4, 4);
    BITMAP bm{};
    monoBm.GetBitmap(&bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
}

TEST(RasterDC, GradientFillShowsVertexColoursAndBlends) {
    RasterCanvas canvas(100, 100);
    TRIVERTEX v[3] = {{5, 5, 0xff00, 0, 0, 0}, {95, 5, 0, 0xff00, 0, 0}, {5, 95, 0, 0, 0xff00, 0}};
    GRADIENT_TRIANGLE tri{0, 1, 2};
    ASSERT_TRUE(canvas.dc.GradientFill(v, 3, &tri, 1, GRADIENT_FILL_TRIANGLE));
    // Expected colour at a pixel: the vertex colours weighted by the barycentric coordinates of
    // its centre (x + 0.5, y + 0.5). With px = x + 0.5 - 5 and py = y + 0.5 - 5 the weights are
    // green px / 90, blue py / 90, red the rest; each channel is the weight x 255, rounded.
    struct Sample {
        const char* label;
        POINT p;
        COLORREF expect;
    } samples[] = {
        // px = py = 1.5: 1.5 / 90 x 255 = 4.25; red 0.96667 x 255 = 246.5, rounds up.
        {"near the red corner", {6, 6}, RGB(247, 4, 4)},
        // px = 87.5: 247.92; py = 1.5: 4.25; red 0.01111 x 255 = 2.83.
        {"near the green corner", {92, 6}, RGB(3, 248, 4)},
        {"near the blue corner", {6, 92}, RGB(3, 4, 248)},
        // px = 45.5: 128.92; red 0.47778 x 255 = 121.83.
        {"middle of the top edge", {50, 6}, RGB(122, 129, 4)},
        {"middle of the left edge", {6, 50}, RGB(122, 4, 129)},
        // px = py = 25.5: 72.25 each; red 0.43333 x 255 = 110.5, rounds up.
        {"inside", {30, 30}, RGB(111, 72, 72)},
        // px = py = 42.5: 120.42 each; red 0.05556 x 255 = 14.17.
        {"near the long edge", {47, 47}, RGB(14, 120, 120)},
    };
    for (const Sample& sm : samples) {
        SCOPED_TRACE(sm.label);
        // Up to 3 per channel: the mesh interpolation of the back end rounds on its own.
        EXPECT_LE(ChannelDiff(canvas.At(sm.p.x, sm.p.y), sm.expect), 3)
            << Hex(canvas.At(sm.p.x, sm.p.y)) << " vs " << Hex(sm.expect);
    }
    EXPECT_EQ(canvas.At(80, 80), kWhite);  // outside the triangle
    EXPECT_EQ(canvas.At(4, 50), kWhite);

    // Horizontal rectangle gradient: first and last column carry the corner colours.
    TRIVERTEX rv[2] = {{0, 0, 0, 0, 0, 0}, {51, 10, 0xff00, 0xff00, 0xff00, 0}};
    GRADIENT_RECT gr{0, 1};
    RasterCanvas strip(60, 10);
    ASSERT_TRUE(strip.dc.GradientFill(rv, 2, &gr, 1, GRADIENT_FILL_RECT_H));
    EXPECT_LE(ChannelDiff(strip.At(0, 5), kBlack), 3);
    EXPECT_LE(ChannelDiff(strip.At(50, 5), kWhite), 3);
    EXPECT_LE(ChannelDiff(strip.At(25, 5), RGB(128, 128, 128)), 4);
    EXPECT_EQ(strip.At(51, 5), kWhite);  // right edge excluded; background white
    GRADIENT_TRIANGLE bad{0, 1, 7};
    EXPECT_FALSE(canvas.dc.GradientFill(v, 3, &bad, 1, GRADIENT_FILL_TRIANGLE));
}

// A gradient mesh drawn again (its pixels kept from the first time) over another picture, or
// with another clip or place, gives what drawing it once there gives.
TEST(RasterDC, GradientDrawnAgainMatchesADrawOfItsOwn) {
    TRIVERTEX v[4] = {{-10, 3, 0xff00, 0x8000, 0, 0}, {70, 3, 0xff00, 0x8000, 0, 0},
                      {70, 50, 0x2000, 0x2000, 0xe000, 0}, {-10, 50, 0x2000, 0x2000, 0xe000, 0}};
    GRADIENT_TRIANGLE tris[2] = {{0, 1, 2}, {0, 2, 3}};
    struct Row {
        const char* label;
        RECT clipFirst, clipAgain;  // empty: no clip
        int moveAgain;              // the mesh moved right for the second draw
    } rows[] = {
        {"same mesh, same clip", {}, {}, 0},
        {"clipped, then not", {0, 0, 30, 20}, {}, 0},
        {"moved by a pixel", {}, {}, 1},
    };
    auto draw = [&](RasterCanvas& c, const RECT& clip, int move) {
        CRgn rgn;
        rgn.CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom);
        c.dc.SelectClipRgn(clip.right > clip.left ? &rgn : nullptr);
        TRIVERTEX m[4];
        for (int i = 0; i < 4; ++i) m[i] = v[i], m[i].x += move;
        EXPECT_TRUE(c.dc.GradientFill(m, 4, tris, 2, GRADIENT_FILL_TRIANGLE));
        c.dc.SelectClipRgn(nullptr);
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        RasterCanvas twice(64, 48), once(64, 48, RGB(0, 90, 20));
        draw(twice, r.clipFirst, 0);
        twice.dc.FillSolidRect(0, 0, 64, 48, RGB(0, 90, 20));
        draw(twice, r.clipAgain, r.moveAgain);
        draw(once, r.clipAgain, r.moveAgain);
        int differ = 0;
        for (int i = 0; i < 64 * 48; ++i) differ += twice.At(i % 64, i / 64) != once.At(i % 64, i / 64);
        EXPECT_EQ(differ, 0);
        EXPECT_NE(once.At(20, 20), RGB(0, 90, 20)) << "the mesh is drawn";
    }
}

TEST(RasterDC, AlphaBlendMixesWithConstantAlpha) {
    RasterCanvas dst(20, 20, RGB(200, 100, 0)), src(10, 10, RGB(0, 50, 250));
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 64, 0};
    ASSERT_TRUE(dst.dc.AlphaBlend(5, 5, 10, 10, &src.dc, 0, 0, 10, 10, bf));
    const COLORREF mixed = dst.At(8, 8);
    // Each channel (source x 64 + destination x 191) / 255: red 200 x 191 / 255 = 149.8,
    // green (3200 + 19100) / 255 = 87.5, blue 16000 / 255 = 62.7; within one either way.
    EXPECT_NEAR(GetRValue(mixed), 149.8, 1.0);
    EXPECT_NEAR(GetGValue(mixed), 87.5, 1.0);
    EXPECT_NEAR(GetBValue(mixed), 62.7, 1.0);
    EXPECT_EQ(dst.At(4, 4), RGB(200, 100, 0));
    EXPECT_EQ(dst.At(15, 15), RGB(200, 100, 0));
    // A source rectangle outside the source bitmap and per-pixel alpha are refused.
    EXPECT_FALSE(dst.dc.AlphaBlend(0, 0, 10, 10, &src.dc, 5, 5, 10, 10, bf));
    BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_FALSE(dst.dc.AlphaBlend(0, 0, 10, 10, &src.dc, 0, 0, 10, 10, perPixel));
}

TEST(RasterDC, DibSectionBitsFollowDrawingBothWays) {
    struct Fmt { int bpp; const char* label; };
    for (const Fmt f : {Fmt{24, "24-bit"}, Fmt{32, "32-bit"}, Fmt{16, "16-bit RGB555"}}) {
        SCOPED_TRACE(f.label);
        const int w = 5, h = 4;
        BITMAPINFO bmi{};
        bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, static_cast<WORD>(f.bpp), BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP hbm = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(hbm, nullptr);
        ASSERT_NE(bits, nullptr);
        CBitmap dib;
        dib.Attach(hbm);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&dib);
        const size_t stride = ((w * f.bpp + 31) / 32) * 4;
        const int Bpp = f.bpp / 8;
        // Drawing shows in the bits at once: top row is the last row in memory.
        dc.SetPixel(1, 0, RGB(255, 0, 0));
        BYTE* row = static_cast<BYTE*>(bits) + stride * (h - 1);
        if (f.bpp == 16) {
            const unsigned v = row[2] | (row[3] << 8);
            EXPECT_EQ(v, 0x7C00u);
        } else {
            EXPECT_EQ(row[Bpp * 1 + 2], 255);
            EXPECT_EQ(row[Bpp * 1 + 0], 0);
        }
        // Writes into the bits show in the DC: bottom-left pixel, blue.
        BYTE* bottom = static_cast<BYTE*>(bits);
        if (f.bpp == 16) {
            bottom[0] = 0x1F;
            bottom[1] = 0;
        } else {
            bottom[0] = 255;
            bottom[1] = 0;
            bottom[2] = 0;
        }
        EXPECT_EQ(Hex(dc.GetPixel(0, h - 1)), Hex(RGB(0, 0, 255)));
        DIBSECTION ds{};
        EXPECT_EQ(dib.GetObject(sizeof ds, &ds), static_cast<int>(sizeof ds));
        EXPECT_EQ(ds.dsBm.bmBits, bits);
        EXPECT_EQ(ds.dsBmih.biBitCount, f.bpp);
        dc.SelectObject(old);
    }

    // An 8-bit DIB keeps palette indices: drawing picks the nearest entry.
    struct { BITMAPINFOHEADER h; RGBQUAD colors[256]; } info{};
    info.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 1, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    info.colors[1] = RGBQUAD{0, 0, 250, 0};  // near-red
    info.colors[2] = RGBQUAD{250, 0, 0, 0};  // near-blue
    void* bits8 = nullptr;
    CBitmap dib8;
    dib8.Attach(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits8, nullptr, 0));
    ASSERT_NE(bits8, nullptr);
    CDC dc8;
    dc8.CreateCompatibleDC(nullptr);
    CBitmap* old8 = dc8.SelectObject(&dib8);
    dc8.SetPixel(0, 0, RGB(255, 10, 10));
    dc8.SetPixel(1, 0, RGB(0, 0, 200));
    EXPECT_EQ(static_cast<BYTE*>(bits8)[0], 1);
    EXPECT_EQ(static_cast<BYTE*>(bits8)[1], 2);
    RGBQUAD green{0, 255, 0, 0};
    EXPECT_EQ(SetDIBColorTable(dc8.GetSafeHdc(), 2, 1, &green), 1u);
    EXPECT_EQ(dc8.GetPixel(1, 0), RGB(0, 255, 0));
    dc8.SelectObject(old8);
}

TEST(RasterDC, StretchDIBitsReadsBottomUpRows) {
    // 2x2 DIB, bottom-up: first row in memory is the bottom of the picture.
    const BYTE pixels[2 * 8] = {255, 0, 0, 0, 255, 0, 0, 0,  // bottom: blue, green (+pad)
                                0, 0, 255, 0, 0, 0, 0, 0};   // top: red, black
    BITMAPINFO bmi{};
    bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    RasterCanvas canvas(8, 8);
    EXPECT_EQ(canvas.dc.StretchDIBits(0, 0, 4, 4, 0, 0, 2, 2, pixels, &bmi, DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(Hex(canvas.At(0, 0)), Hex(kRed));
    EXPECT_EQ(Hex(canvas.At(3, 1)), Hex(kBlack));
    EXPECT_EQ(Hex(canvas.At(1, 3)), Hex(kBlue));
    EXPECT_EQ(Hex(canvas.At(2, 2)), Hex(RGB(0, 255, 0)));
    EXPECT_EQ(canvas.At(4, 4), kWhite);
}

// Every DIB depth is read the same way by StretchDIBits: palette indices (an index beyond the
// colours used is black), 5-5-5 words, BGR and BGRX bytes, and top-down rows.
TEST(RasterDC, StretchDIBitsReadsEveryDepth) {
    const COLORREF c0 = RGB(10, 20, 30), c1 = RGB(200, 100, 50), c2 = RGB(0, 255, 0);
    struct Row {
        const char* label;
        int bpp, height;
        DWORD clrUsed;
        std::vector<BYTE> bits;  // rows of 4 pixels, each padded to 4 bytes
        std::vector<COLORREF> top;  // the 4 pixels of the picture's top row
    } rows[] = {
        {"1-bit", 1, 1, 2, {0xB0, 0, 0, 0}, {c1, c0, c1, c1}},
        {"4-bit, index beyond the table", 4, 1, 3, {0x20, 0x1F, 0, 0}, {c2, c0, c1, kBlack}},
        {"8-bit, index beyond the table", 8, 1, 3, {1, 2, 0, 200}, {c1, c2, c0, kBlack}},
        {"16-bit 5-5-5", 16, 1, 0, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42},
         {kRed, RGB(0, 255, 0), kBlue, RGB(132, 132, 132)}},
        {"24-bit", 24, 1, 0, {0, 0, 255, 0, 255, 0, 255, 0, 0, 30, 20, 10}, {kRed, RGB(0, 255, 0), kBlue, c0}},
        {"32-bit", 32, 1, 0, {0, 0, 255, 9, 0, 255, 0, 9, 255, 0, 0, 9, 30, 20, 10, 9},
         {kRed, RGB(0, 255, 0), kBlue, c0}},
        {"24-bit top-down", 24, -2, 0,
         {0, 0, 255, 0, 255, 0, 255, 0, 0, 30, 20, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {kRed, RGB(0, 255, 0), kBlue, c0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        struct {
            BITMAPINFOHEADER h;
            RGBQUAD colors[16];
        } info{};
        info.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, r.height, 1, static_cast<WORD>(r.bpp), BI_RGB, 0, 0, 0,
                                  r.clrUsed, 0};
        info.colors[0] = RGBQUAD{30, 20, 10, 0};
        info.colors[1] = RGBQUAD{50, 100, 200, 0};
        info.colors[2] = RGBQUAD{0, 255, 0, 0};
        info.colors[15] = RGBQUAD{255, 255, 255, 0};  // present but beyond the colours used
        RasterCanvas canvas(8, 8);
        const int h = r.height < 0 ? -r.height : r.height;
        EXPECT_EQ(canvas.dc.StretchDIBits(0, 0, 4, h, 0, 0, 4, h, r.bits.data(),
                                          reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY),
                  h);
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Hex(canvas.At(x, 0)), Hex(r.top[static_cast<size_t>(x)])) << "x " << x;
        if (h > 1) {
            EXPECT_EQ(Hex(canvas.At(0, 1)), Hex(kBlack)) << "the second row is the zero row";
        }
    }
}

// 16-bit GetDIBits: each colour's top five bits of red, green and blue, bottom row first, over
// a row longer than one step of eight pixels (the last three taken one by one).
TEST(RasterDC, GetDIBitsGivesRgb555Words) {
    const struct {
        COLORREF colour;
        uint16_t word;  // (r >> 3) << 10 | (g >> 3) << 5 | b >> 3
    } cols[] = {{kRed, 0x7C00},           {RGB(0, 255, 0), 0x03E0},     {kBlue, 0x001F},
                {RGB(8, 16, 24), 0x0443}, {RGB(7, 7, 7), 0x0000},       {RGB(132, 132, 132), 0x4210},
                {kWhite, 0x7FFF},         {RGB(248, 0, 8), 0x7C01},     {RGB(15, 240, 16), 0x07C2},
                {RGB(255, 128, 0), 0x7E00}, {RGB(1, 2, 250), 0x001F}};
    constexpr int w = 11, h = 2;
    RasterCanvas canvas(w, h, kBlack);
    for (int x = 0; x < w; ++x) canvas.dc.SetPixel(x, 0, cols[x].colour);  // top row
    BITMAPINFO bmi{};
    bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, 16, BI_RGB, 0, 0, 0, 0, 0};
    uint16_t words[2 * 12] = {};  // rows of 11 words padded to 24 bytes
    ASSERT_EQ(GetDIBits(canvas.dc.GetSafeHdc(), static_cast<HBITMAP>(canvas.bitmap.GetSafeHandle()), 0, h, words, &bmi,
                        DIB_RGB_COLORS),
              h);
    for (int x = 0; x < w; ++x) {
        EXPECT_EQ(words[x], 0) << "bottom row, x " << x;
        EXPECT_EQ(words[12 + x], cols[x].word) << "top row, x " << x;
    }
}

TEST(RasterDC, DeviceCapsAreSettable) {
    RasterCanvas canvas(320, 200);
    CDC& dc = canvas.dc;
    struct Cap { int index; int expect; const char* label; };
    const Cap defaults[] = {{LOGPIXELSX, 96, "LOGPIXELSX"}, {LOGPIXELSY, 96, "LOGPIXELSY"}, {HORZRES, 320, "HORZRES"},
                            {VERTRES, 200, "VERTRES"},       {BITSPIXEL, 32, "BITSPIXEL"},   {PLANES, 1, "PLANES"},
                            {TECHNOLOGY, DT_RASDISPLAY, "TECHNOLOGY"}, {HORZSIZE, 85, "HORZSIZE mm"}};
    for (const Cap& c : defaults) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(dc.GetDeviceCaps(c.index), c.expect);
    }
    // The module's pen factor: int(LOGPIXELSX * 0.004), at least 1.
    const std::pair<int, int> dpiToFactor[] = {{96, 1}, {600, 2}, {800, 3}};
    for (const auto& [dpi, factor] : dpiToFactor) {
        SCOPED_TRACE(dpi);
        dc.SetDeviceCaps(LOGPIXELSX, dpi);
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), dpi);
        EXPECT_EQ(std::max(1, static_cast<int>(dc.GetDeviceCaps(LOGPIXELSX) * 0.004)), factor);
        EXPECT_EQ(GetDeviceCaps(dc.GetSafeHdc(), LOGPIXELSX), dpi);
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);  // each index is its own
    }
    EXPECT_FALSE(dc.IsPrinting());
    dc.SetPrinting(TRUE);
    EXPECT_TRUE(dc.IsPrinting());
    // A memory DC made compatible with it shares its resolution, not its size.
    dc.SetDeviceCaps(LOGPIXELSY, 600);
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&dc));
    EXPECT_EQ(mem.GetDeviceCaps(LOGPIXELSX), 800);
    EXPECT_EQ(mem.GetDeviceCaps(LOGPIXELSY), 600);
    EXPECT_EQ(mem.GetDeviceCaps(HORZRES), 1);  // its initial 1x1 bitmap
}

}  // namespace

namespace {

TEST(RasterDC, CurvesHatchesRop2AndOrigins) {
    const COLORREF white = RGB(255, 255, 255), red = RGB(255, 0, 0), black = RGB(0, 0, 0);
    {
        SCOPED_TRACE("Pie from 0 to 90 degrees fills the upper-right quarter");
        RasterCanvas c(41, 41);
        CBrush brush(red);
        c.dc.SelectObject(&brush);
        c.dc.Pie(0, 0, 41, 41, 40, 20, 20, 0);
        EXPECT_EQ(c.At(28, 12), red);
        EXPECT_EQ(c.At(12, 28), white);
        EXPECT_EQ(c.At(12, 12), white);
        EXPECT_EQ(c.At(28, 28), white);
        c.dc.SelectStockObject(WHITE_BRUSH);
    }
    {
        SCOPED_TRACE("Arc draws only the curve");
        RasterCanvas c(41, 41);
        c.dc.Arc(0, 0, 41, 41, 0, 20, 40, 20);  // counter-clockwise from the left: the lower half
        EXPECT_EQ(c.InkBox(white, CRect(0, 0, 41, 41)).top, 20);
        EXPECT_EQ(c.At(20, 20), white);
        EXPECT_EQ(c.At(20, 40), black);
    }
    {
        SCOPED_TRACE("RoundRect leaves its corners out");
        RasterCanvas c(30, 30);
        CBrush brush(red);
        c.dc.SelectObject(&brush);
        c.dc.RoundRect(0, 0, 30, 30, 16, 16);
        EXPECT_EQ(c.At(0, 0), white);
        EXPECT_EQ(c.At(15, 15), red);
        EXPECT_EQ(c.At(15, 0), black);
        c.dc.SelectStockObject(WHITE_BRUSH);
    }
    {
        SCOPED_TRACE("a diagonal LineTo leaves out its end pixel too");
        RasterCanvas c(10, 10);
        c.dc.MoveTo(1, 1);
        c.dc.LineTo(6, 6);
        EXPECT_EQ(c.At(1, 1), black);
        EXPECT_EQ(c.At(5, 5), black);
        EXPECT_EQ(c.At(6, 6), white);
        EXPECT_EQ(c.Count(CRect(0, 0, 10, 10), black), 5);
    }
    {
        SCOPED_TRACE("transparent hatch keeps the background between its lines");
        RasterCanvas c(16, 16, RGB(0, 0, 255));
        CBrush hatch(HS_CROSS, red);
        c.dc.SetBkMode(TRANSPARENT);
        c.dc.FillRect(CRect(0, 0, 16, 16), &hatch);
        const int reds = c.Count(CRect(0, 0, 16, 16), red), blues = c.Count(CRect(0, 0, 16, 16), RGB(0, 0, 255));
        EXPECT_EQ(reds + blues, 256);
        EXPECT_EQ(reds, 2 * (16 + 16) - 4);  // two horizontal and two vertical lines
        c.dc.SetBkMode(OPAQUE);
        c.dc.SetBkColor(RGB(0, 255, 0));
        c.dc.FillRect(CRect(0, 0, 16, 16), &hatch);
        EXPECT_EQ(c.Count(CRect(0, 0, 16, 16), RGB(0, 255, 0)), 256 - reds);
    }
    {
        SCOPED_TRACE("R2_XORPEN twice restores; R2_NOT inverts");
        RasterCanvas c(20, 10, RGB(10, 20, 30));
        CPen pen(PS_SOLID, 1, RGB(0xF0, 0x0F, 0xFF));
        c.dc.SelectObject(&pen);
        EXPECT_EQ(c.dc.SetROP2(R2_XORPEN), R2_COPYPEN);
        c.dc.MoveTo(0, 5);
        c.dc.LineTo(20, 5);
        EXPECT_EQ(c.At(3, 5), RGB(10 ^ 0xF0, 20 ^ 0x0F, 30 ^ 0xFF));
        c.dc.MoveTo(0, 5);
        c.dc.LineTo(20, 5);
        EXPECT_EQ(c.At(3, 5), RGB(10, 20, 30));
        c.dc.SetROP2(R2_NOT);  // the brush colour does not matter: the target is inverted
        const POINT box[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
        c.dc.SelectStockObject(NULL_PEN);
        CBrush any(RGB(1, 2, 3));
        c.dc.SelectObject(&any);
        c.dc.Polygon(box, 4);
        EXPECT_EQ(c.At(1, 1), RGB(255 - 10, 255 - 20, 255 - 30));
        EXPECT_EQ(c.At(6, 1), RGB(10, 20, 30));
        c.dc.SelectStockObject(WHITE_BRUSH);
        c.dc.SelectStockObject(BLACK_PEN);
    }
    {
        SCOPED_TRACE("viewport and window origins shift drawing");
        RasterCanvas c(20, 20);
        EXPECT_EQ(c.dc.SetViewportOrg(10, 5), CPoint(0, 0));
        c.dc.SetWindowOrg(2, 0);
        c.dc.SetPixel(3, 1, red);  // device (3 - 2 + 10, 1 + 5)
        c.dc.SetViewportOrg(0, 0);
        c.dc.SetWindowOrg(0, 0);
        EXPECT_EQ(c.At(11, 6), red);
        CDC& dc = c.dc;
        dc.SetViewportOrg(4, 4);
        CPoint p(1, 1);
        dc.LPtoDP(&p);
        EXPECT_EQ(p, CPoint(5, 5));
        dc.DPtoLP(&p);
        EXPECT_EQ(p, CPoint(1, 1));
        // FillRgn takes logical coordinates; a clip region stays in device coordinates.
        CRgn rgn;
        rgn.CreateRectRgn(0, 0, 2, 2);
        CBrush blue(RGB(0, 0, 255));
        EXPECT_TRUE(dc.FillRgn(&rgn, &blue));
        dc.SetViewportOrg(0, 0);  // read back in device pixels
        EXPECT_EQ(c.At(4, 4), RGB(0, 0, 255));
        EXPECT_EQ(c.At(5, 5), RGB(0, 0, 255));
        EXPECT_EQ(c.At(6, 6), white);
        EXPECT_EQ(c.At(0, 0), white);
        CRgn clip;
        clip.CreateRectRgn(0, 0, 10, 10);
        dc.SelectClipRgn(&clip);
        dc.SetViewportOrg(4, 4);
        dc.FillSolidRect(0, 0, 20, 20, RGB(0, 255, 0));  // logical (0,0) is device (4,4)
        dc.SelectClipRgn(nullptr);
        dc.SetViewportOrg(0, 0);
        EXPECT_EQ(c.At(9, 9), RGB(0, 255, 0));
        EXPECT_EQ(c.At(10, 10), white);
        EXPECT_EQ(c.At(3, 3), white);
        dc.SetViewportOrg(0, 0);
    }
    {
        SCOPED_TRACE("InvertRect and PatBlt");
        RasterCanvas c(10, 10, RGB(0, 100, 255));
        c.dc.InvertRect(CRect(0, 0, 5, 5));
        EXPECT_EQ(c.At(2, 2), RGB(255, 155, 0));
        EXPECT_EQ(c.At(7, 7), RGB(0, 100, 255));
        CBrush b(RGB(7, 7, 7));
        c.dc.SelectObject(&b);
        EXPECT_TRUE(c.dc.PatBlt(5, 5, 5, 5, PATCOPY));
        EXPECT_EQ(c.At(7, 7), RGB(7, 7, 7));
        c.dc.SelectStockObject(WHITE_BRUSH);
    }
}

// Each DC has its own cairo context and only the font cache is shared: DCs on several threads
// give the same picture as one DC alone.
TEST(RasterDC, DrawingOnSeveralThreadsGivesTheSamePictures) {
    auto draw = [](std::vector<COLORREF>& out) {
        RasterCanvas c(120, 40);
        LOGFONT lf{};
        lf.lfHeight = -16;
        lf.lfEscapement = 150;
        std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", "Microsoft YaHei");
        CFont font;
        font.CreateFontIndirect(&lf);
        c.dc.SelectObject(&font);
        for (int i = 0; i < 20; ++i) c.dc.TextOut(5 + i, 30, "轴力 N=12.5");
        const POINT tri[] = {{0, 0}, {60, 5}, {10, 35}};
        c.dc.Polygon(tri, 3);
        c.dc.SelectStockObject(SYSTEM_FONT);
        out.clear();
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 120; ++x) out.push_back(c.At(x, y));
    };
    std::vector<COLORREF> reference;
    draw(reference);
    std::vector<std::vector<COLORREF>> results(4);
    std::vector<std::thread> threads;
    for (auto& r : results) threads.emplace_back([&draw, &r] { draw(r); });
    for (auto& t : threads) t.join();
    for (size_t i = 0; i < results.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(results[i] == reference);
    }
}

}  // namespace

namespace {

// 8-bit animation frames take their colour table from the system palette: it must hold the
// pure colours so that a blit into the frame maps them exactly.
TEST(RasterDC, SystemPaletteServesEightBitFrames) {
    PALETTEENTRY pal[256];
    std::memset(pal, 0xCD, sizeof pal);
    ASSERT_EQ(GetSystemPaletteEntries(nullptr, 0, 256, pal), 256u);
    struct Entry { int index; COLORREF color; };
    for (const Entry e : {Entry{0, RGB(0, 0, 0)}, Entry{7, RGB(192, 192, 192)}, Entry{249, RGB(255, 0, 0)},
                          Entry{250, RGB(0, 255, 0)}, Entry{252, RGB(0, 0, 255)}, Entry{255, RGB(255, 255, 255)}}) {
        SCOPED_TRACE(e.index);
        EXPECT_EQ(RGB(pal[e.index].peRed, pal[e.index].peGreen, pal[e.index].peBlue), e.color);
    }
    EXPECT_EQ(GetSystemPaletteEntries(nullptr, 250, 20, pal), 6u);
    EXPECT_EQ(GetSystemPaletteEntries(nullptr, 256, 1, pal), 0u);

    // Frame DIB with that palette (red and blue swapped into RGBQUAD order).
    struct { BITMAPINFOHEADER h; RGBQUAD colors[256]; } info{};
    GetSystemPaletteEntries(nullptr, 0, 256, pal);
    for (int i = 0; i < 256; ++i) info.colors[i] = RGBQUAD{pal[i].peBlue, pal[i].peGreen, pal[i].peRed, 0};
    info.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 1, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    CBitmap frame;
    ASSERT_TRUE(frame.Attach(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0)));
    CDC frameDC;
    frameDC.CreateCompatibleDC(nullptr);
    CBitmap* old = frameDC.SelectObject(&frame);
    RasterCanvas render(4, 1);
    render.dc.SetPixel(0, 0, RGB(255, 0, 0));
    render.dc.SetPixel(1, 0, RGB(0, 0, 255));
    render.dc.SetPixel(2, 0, RGB(250, 250, 250));
    frameDC.BitBlt(0, 0, 4, 1, &render.dc, 0, 0, SRCCOPY);
    const BYTE* idx = static_cast<const BYTE*>(bits);
    auto colorOf = [&pal](BYTE i) { return RGB(pal[i].peRed, pal[i].peGreen, pal[i].peBlue); };
    EXPECT_EQ(Hex(colorOf(idx[0])), Hex(RGB(255, 0, 0)));
    EXPECT_EQ(Hex(colorOf(idx[1])), Hex(RGB(0, 0, 255)));
    // (250,250,250): white is 75 away in squared distance, cream (255,251,240) 126.
    EXPECT_EQ(Hex(colorOf(idx[2])), Hex(RGB(255, 255, 255)));
    EXPECT_EQ(frameDC.GetPixel(2, 0), RGB(255, 255, 255));
    frameDC.SelectObject(old);
}

}  // namespace

namespace {

TEST(RasterDC, BlitsStretchMirrorOverlapAndStayInBounds) {
    RasterCanvas src(4, 2);
    const COLORREF c[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(9, 9, 9)};
    for (int x = 0; x < 4; ++x) {
        src.dc.SetPixel(x, 0, c[x]);
        src.dc.SetPixel(x, 1, c[x]);
    }
    {
        SCOPED_TRACE("doubling");
        RasterCanvas d(8, 4);
        EXPECT_TRUE(d.dc.StretchBlt(0, 0, 8, 4, &src.dc, 0, 0, 4, 2, SRCCOPY));
        for (int x = 0; x < 8; ++x) EXPECT_EQ(Hex(d.At(x, 3)), Hex(c[x / 2])) << x;
    }
    {
        SCOPED_TRACE("mirrored by a negative source width: the source is x = 4 + (-4) .. 4");
        RasterCanvas d(4, 2);
        EXPECT_TRUE(d.dc.StretchBlt(0, 0, 4, 2, &src.dc, 4, 0, -4, 2, SRCCOPY));
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Hex(d.At(x, 0)), Hex(c[3 - x])) << x;
    }
    {
        SCOPED_TRACE("source partly outside its bitmap: those pixels are left alone");
        RasterCanvas d(6, 2, RGB(1, 1, 1));
        EXPECT_TRUE(d.dc.BitBlt(0, 0, 6, 2, &src.dc, -2, 0, SRCCOPY));
        EXPECT_EQ(d.At(0, 0), RGB(1, 1, 1));
        EXPECT_EQ(d.At(1, 0), RGB(1, 1, 1));
        for (int x = 2; x < 6; ++x) EXPECT_EQ(Hex(d.At(x, 0)), Hex(c[x - 2])) << x;
        // A huge request touches only what exists.
        EXPECT_TRUE(d.dc.BitBlt(0, 0, 1 << 30, 1 << 30, &src.dc, -(1 << 29), 0, SRCCOPY));
    }
    {
        SCOPED_TRACE("a DC blitting onto itself with overlap copies the original pixels");
        src.dc.BitBlt(1, 0, 3, 2, &src.dc, 0, 0, SRCCOPY);
        EXPECT_EQ(Hex(src.At(1, 0)), Hex(c[0]));
        EXPECT_EQ(Hex(src.At(2, 0)), Hex(c[1]));
        EXPECT_EQ(Hex(src.At(3, 0)), Hex(c[2]));
    }
    {
        SCOPED_TRACE("a blit that needs a source fails without one");
        RasterCanvas d(2, 2);
        EXPECT_FALSE(d.dc.BitBlt(0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
        EXPECT_TRUE(d.dc.BitBlt(0, 0, 2, 2, nullptr, 0, 0, BLACKNESS));
        EXPECT_EQ(d.At(1, 1), RGB(0, 0, 0));
    }
}

// Polygons up to 118 pixels across and thin lines are drawn from the pixels kept for their shape; with that
// switched off cairo draws each call. Both pictures must be the same pixel for pixel: shapes repeated at many
// places (as a raft repeats its plates), slivers with long miter tips, fill modes, null pens and
// brushes, shapes touching the border.
TEST(RasterDC, PolygonsDrawnFromKeptShapesMatchCairo) {
    const int w = 320, h = 240;
    RasterCanvas kept(w, h), cairo(w, h);
    unsigned seed = 12345;
    auto rnd = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned>(n));
    };
    struct Shape {
        std::vector<POINT> pts;  // from the first point
        int fillMode, pen, brush;  // pen/brush: 0 solid, 1 null
        bool oneColour = false;    // brush and pen of one colour: painted as one set of pixels
    };
    std::vector<Shape> shapes;
    for (int i = 0; i < 60; ++i) {
        Shape sh;
        const int n = 3 + rnd(4);
        for (int k = 0; k < n; ++k) sh.pts.push_back(POINT{k ? rnd(25) - 12 : 0, k ? rnd(25) - 12 : 0});
        if (i % 10 == 0) sh.pts = {{0, 0}, {30, 1}, {0, 2}};  // a sliver: a long miter tip
        // Long and thin, as a face seen almost edge-on: past a kept shape's side one way.
        if (i % 10 == 7) sh.pts = {{0, 0}, {3 + rnd(5), 119 + rnd(80)}, {rnd(8), 60 + rnd(40)}};
        if (i % 20 == 9) sh.pts = {{0, 0}, {125 + rnd(60), 2}, {130, 6 + rnd(3)}, {rnd(4), 5}};
        sh.oneColour = i % 10 == 7 || i % 10 == 9 || i % 10 == 3;
        if (i % 10 == 5)  // as large as a kept shape may be, and just larger
            for (POINT& p : sh.pts)
                if (p.x || p.y) p = POINT{rnd(119) - 59, rnd(119) - 59};
        sh.fillMode = rnd(2) ? ALTERNATE : WINDING;
        sh.pen = rnd(8) == 0;
        sh.brush = rnd(8) == 0;
        shapes.push_back(sh);
    }
    for (int i = 0; i < 3000; ++i) {
        const Shape& sh = shapes[static_cast<size_t>(rnd(static_cast<int>(shapes.size())))];
        const POINT at{rnd(w + 20) - 10, rnd(h + 20) - 10};
        const COLORREF c = RGB(rnd(256), rnd(256), rnd(256));
        const int width = rnd(2);  // 0 and 1 both draw one pixel wide
        const POINT lineTo{rnd(61) - 30, rnd(61) - 30};
        std::vector<POINT> pts;
        for (const POINT& p : sh.pts) pts.push_back(POINT{p.x + at.x, p.y + at.y});
        for (CDC* dc : {&kept.dc, &cairo.dc}) {
            RasterBackend::KeepShapes(dc == &kept.dc);
            CPen pen(sh.pen ? PS_NULL : PS_SOLID, width, c);
            CBrush brush(sh.oneColour ? c : RGB(GetBValue(c), GetRValue(c), GetGValue(c)));
            CPen* oldPen = dc->SelectObject(&pen);
            CBrush* oldBrush = sh.brush ? static_cast<CBrush*>(dc->SelectStockObject(NULL_BRUSH)) : dc->SelectObject(&brush);
            dc->SetPolyFillMode(sh.fillMode);
            dc->Polygon(pts.data(), static_cast<int>(pts.size()));
            // A thin line of the polygon's pen (lines are kept by shape too).
            dc->MoveTo(at);
            dc->LineTo(at.x + lineTo.x, at.y + lineTo.y);
            dc->SelectObject(oldBrush);
            dc->SelectObject(oldPen);
        }
    }
    int differing = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) differing += kept.At(x, y) != cairo.At(x, y);
    RasterBackend::KeepShapes(true);
    EXPECT_EQ(differing, 0);
}

}  // namespace

namespace {

// A polygon filled and outlined in one colour without selecting objects draws what Polygon draws
// with a solid brush and a solid 1-pixel pen of that colour selected, drawn by cairo alone. Where
// the DC cannot draw it so (clip, a raster operation, a polygon too large or at the border, kept
// shapes off) it draws nothing and says so, and the caller's Polygon draws it. The selected
// objects stay the ones selected before either way.
TEST(RasterDC, SolidPolygonsDrawWhatPolygonDrawsWithTheirObjects) {
    struct Row {
        const char* label;
        std::function<void(CDC&)> setUp;
        int size;      // the shapes' extent in pixels
        int margin;    // nearest distance of a shape's first point to the border
        bool keep;     // kept shapes on
        bool drawn;    // SolidPolygon draws (else it answers FALSE)
    };
    const std::vector<Row> rows = {
        {"small polygons inside the picture", [](CDC&) {}, 20, 40, true, true},
        {"winding fill mode", [](CDC& dc) { dc.SetPolyFillMode(WINDING); }, 20, 40, true, true},
        {"a moved window origin", [](CDC& dc) { dc.SetWindowOrg(-3, 5); }, 20, 40, true, true},
        {"a clip region", [](CDC& dc) { dc.IntersectClipRect(10, 10, 200, 150); }, 20, 40, true, false},
        {"an XOR raster operation", [](CDC& dc) { dc.SetROP2(R2_XORPEN); }, 20, 40, true, false},
        {"polygons wider than a kept shape", [](CDC&) {}, 90, 100, true, false},
        {"polygons at the border", [](CDC&) {}, 20, -5, true, false},
        {"kept shapes switched off", [](CDC&) {}, 20, 40, false, false},
    };
    const int w = 320, h = 240;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        RasterCanvas solid(w, h), plain(w, h);
        row.setUp(solid.dc);
        row.setUp(plain.dc);
        unsigned seed = 777;
        auto rnd = [&seed](int n) {
            seed = seed * 1103515245u + 12345u;
            return static_cast<int>((seed >> 8) % static_cast<unsigned>(n));
        };
        CPen keptPen(PS_DASH, 1, RGB(1, 2, 3));
        CBrush keptBrush(HS_CROSS, RGB(4, 5, 6));
        CPen* oldPen = solid.dc.SelectObject(&keptPen);
        CBrush* oldBrush = solid.dc.SelectObject(&keptBrush);
        int answeredDrawn = 0, polys = 400;
        for (int i = 0; i < polys; ++i) {
            const int n = 3 + rnd(4);
            const int span = std::max(1, w - 2 * std::abs(row.margin) - row.size);
            const POINT at = row.margin >= 0 ? POINT{row.margin + rnd(span), row.margin + rnd(h - 2 * row.margin - row.size)}
                                             : POINT{row.margin + rnd(3), 40 + rnd(100)};
            std::vector<POINT> pts;
            for (int k = 0; k < n; ++k)
                pts.push_back(POINT{at.x + (k == 1 ? row.size : k ? rnd(row.size + 1) : 0),
                                    at.y + (k ? rnd(row.size + 1) : 0)});
            const COLORREF c = RGB(rnd(256), rnd(256), rnd(256));
            RasterBackend::KeepShapes(row.keep);
            // Polygon with a solid brush and a 1-pixel solid pen of c selected, then put back.
            auto withObjects = [&](CDC& dc) {
                CPen pen(PS_SOLID, 1, c);
                CBrush brush(c);
                CPen* op = dc.SelectObject(&pen);
                CBrush* ob = dc.SelectObject(&brush);
                dc.Polygon(pts.data(), n);
                dc.SelectObject(ob);
                dc.SelectObject(op);
            };
            if (solid.dc.SolidPolygon(pts.data(), n, c))
                ++answeredDrawn;
            else
                withObjects(solid.dc);
            EXPECT_EQ(solid.dc.GetCurrentPen()->GetSafeHandle(), keptPen.GetSafeHandle());
            EXPECT_EQ(solid.dc.GetCurrentBrush()->GetSafeHandle(), keptBrush.GetSafeHandle());
            RasterBackend::KeepShapes(false);
            withObjects(plain.dc);
        }
        RasterBackend::KeepShapes(true);
        solid.dc.SelectObject(oldBrush);
        solid.dc.SelectObject(oldPen);
        EXPECT_EQ(answeredDrawn, row.drawn ? polys : 0);
        int differing = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) differing += solid.At(x, y) != plain.At(x, y);
        EXPECT_EQ(differing, 0);
    }
}

}  // namespace

namespace {

// A run of polygons drawn with SolidPolygons draws what SolidPolygon draws polygon by polygon
// (the polygons it refuses drawn by the caller with their objects), and the run stops at the
// first polygon SolidPolygon would refuse: one at the border, one wider than a kept shape, two
// points, or any while kept shapes are off. Polygons of one colour next to each other are
// painted together where they fit a kept shape: overlapping and touching ones, a fan around a
// point, more than a kept shape's points in all, too wide together, one refused among them.
TEST(RasterDC, SolidPolygonRunsStopAtTheFirstOneRefused) {
    enum Kind { kInside, kAtBorder, kWide, kTwoPoints, kClose, kQuad, kFan };
    struct Row {
        const char* label;
        std::vector<Kind> kinds;
        bool keep;       // kept shapes on
        int drawn;       // polygons the run draws before it stops
        bool oneColour;  // every polygon in one colour
    };
    const std::vector<Row> rows = {
        {"all inside", {kInside, kInside, kInside, kInside}, true, 4, false},
        {"the third at the border", {kInside, kInside, kAtBorder, kInside}, true, 2, false},
        {"the first wider than a kept shape", {kWide, kInside, kInside}, true, 0, false},
        {"two points second", {kInside, kTwoPoints, kInside}, true, 1, false},
        {"kept shapes switched off", {kInside, kInside}, false, 0, false},
        {"one colour, overlapping", {kClose, kClose, kClose, kClose, kClose}, true, 5, true},
        {"one colour, a fan", {kFan, kFan, kFan, kFan}, true, 4, true},
        {"one colour, triangles and quads", {kQuad, kClose, kQuad, kQuad, kClose}, true, 5, true},
        {"one colour, too wide together", {kInside, kInside, kInside}, true, 3, true},
        {"one colour, the third at the border", {kClose, kClose, kAtBorder, kClose}, true, 2, true},
        {"one colour, two points second", {kClose, kTwoPoints, kClose}, true, 1, true},
        {"one colour, kept shapes off", {kClose, kClose}, false, 0, true},
    };
    const int w = 200, h = 160;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        std::vector<POINT> pts;
        std::vector<int> counts;
        std::vector<COLORREF> colors;
        for (size_t i = 0; i < row.kinds.size(); ++i) {
            const int x = 20 + 30 * static_cast<int>(i), y = 40;
            const int xc = 20 + 5 * static_cast<int>(i);
            // The fan: four triangles from the corners of a 13 x 9 box to a point inside it.
            const POINT box[4] = {{40, 40}, {53, 41}, {52, 49}, {39, 48}}, centre{46, 44};
            switch (row.kinds[i]) {
            case kInside: pts.insert(pts.end(), {{x, y}, {x + 17, y + 3}, {x + 9, y + 21}}); break;
            case kAtBorder: pts.insert(pts.end(), {{x, 0}, {x + 17, 3}, {x + 9, 21}}); break;
            case kWide: pts.insert(pts.end(), {{x, y}, {x + 150, y + 10}, {x + 30, y + 110}}); break;
            case kTwoPoints: pts.insert(pts.end(), {{x, y}, {x + 15, y + 12}}); break;
            case kClose: pts.insert(pts.end(), {{xc, y}, {xc + 17, y + 3}, {xc + 9, y + 21}}); break;
            case kQuad: pts.insert(pts.end(), {{xc, y}, {xc + 6, y + 1}, {xc + 7, y + 11}, {xc - 2, y + 8}}); break;
            case kFan: pts.insert(pts.end(), {box[i % 4], box[(i + 1) % 4], centre}); break;
            }
            counts.push_back(row.kinds[i] == kTwoPoints ? 2 : row.kinds[i] == kQuad ? 4 : 3);
            colors.push_back(row.oneColour ? RGB(200, 30, 90) : RGB(60 * i, 255 - 50 * i, 128));
        }
        auto withObjects = [](CDC& dc, const POINT* p, int n, COLORREF c) {
            CPen pen(PS_SOLID, 1, c);
            CBrush brush(c);
            CPen* op = dc.SelectObject(&pen);
            CBrush* ob = dc.SelectObject(&brush);
            dc.Polygon(p, n);
            dc.SelectObject(ob);
            dc.SelectObject(op);
        };
        RasterBackend::KeepShapes(row.keep);
        RasterCanvas run(w, h), single(w, h);
        const int polys = static_cast<int>(counts.size());
        const int drawn = run.dc.SolidPolygons(pts.data(), counts.data(), colors.data(), polys);
        EXPECT_EQ(drawn, row.drawn);
        // The rest one by one in both pictures, as a caller of either form goes on.
        const POINT* p = pts.data();
        for (int k = 0; k < polys; ++k) {
            if (k >= drawn && !run.dc.SolidPolygon(p, counts[k], colors[k])) withObjects(run.dc, p, counts[k], colors[k]);
            if (!single.dc.SolidPolygon(p, counts[k], colors[k])) withObjects(single.dc, p, counts[k], colors[k]);
            p += counts[k];
        }
        RasterBackend::KeepShapes(true);
        int differing = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) differing += run.At(x, y) != single.At(x, y);
        EXPECT_EQ(differing, 0);
        const POINT inFirst = row.kinds[0] == kFan ? POINT{46, 42} : POINT{20 + 9, 40 + 10};
        EXPECT_NE(run.At(inFirst.x, inFirst.y), RGB(255, 255, 255)) << "the first polygon is filled";
    }
    CRecordDC rec;
    ASSERT_TRUE(rec.Create());
    const POINT tri[3] = {{10, 10}, {30, 12}, {20, 30}};
    const int three = 3;
    const COLORREF red = RGB(255, 0, 0);
    EXPECT_EQ(rec.SolidPolygons(tri, &three, &red, 1), 0) << "a recording DC leaves them to the caller";
}

}  // namespace

namespace {

// A thin solid line drawn through LineSegments is cairo's own stroke of that one line, pixel for
// pixel, whether its pixels come from the shape kept for its direction (short, or long once its
// direction has come often enough), from cairo (a long one before that, too long, at or across
// the picture's border) or from the shape learned at another place. Each line is drawn alone on
// a cleared picture and compared: at one place, there again after six more times (a long one is
// kept by then), then elsewhere. The same line drawn there and back in one LineSegmentsBothWays
// call is cairo's two strokes.
TEST(RasterDC, ThinLinesAreCairosLineByLine) {
    unsigned seed = 4242;
    auto rnd = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned>(n));
    };
    auto around = [&rnd](int lo, int hi) { return lo + rnd(hi - lo + 1); };
    struct Row {
        const char* label;
        int w, h;                     // the picture
        std::vector<POINT> dirs;      // each line's end from its start
        bool atBorder;                // start points at or beyond the border, else inside
    };
    std::vector<Row> rows;
    {
        Row r{"short lines, every direction within 12 pixels", 100, 100, {}, false};
        for (int dy = -12; dy <= 12; ++dy)
            for (int dx = -12; dx <= 12; ++dx) r.dirs.push_back(POINT{dx, dy});
        rows.push_back(r);
    }
    {
        Row r{"short lines up to a kept shape's side", 180, 180, {{64, 0}, {0, -64}, {-64, 64}, {64, 63}}, false};
        for (int i = 0; i < 300; ++i) r.dirs.push_back(POINT{around(-64, 64), around(-64, 64)});
        rows.push_back(r);
    }
    {
        Row r{"long lines",
              300,
              300,
              {{65, 0}, {0, 65}, {-256, 0}, {0, -256}, {256, 256}, {-256, 255}, {200, 1}, {-1, 200}, {65, 64}},
              false};
        for (int i = 0; i < 200; ++i) {
            POINT d{around(-256, 256), around(-256, 256)};
            if (std::abs(d.x) <= 64 && std::abs(d.y) <= 64) d.x = d.x < 0 ? d.x - 65 : d.x + 65;
            r.dirs.push_back(d);
        }
        rows.push_back(r);
    }
    {
        Row r{"lines longer than kept", 300, 300, {{257, 0}, {0, 280}, {-270, 10}}, false};
        for (int i = 0; i < 40; ++i) r.dirs.push_back(POINT{around(257, 280) * (rnd(2) ? 1 : -1), around(-280, 280)});
        rows.push_back(r);
    }
    {
        Row r{"lines at and across the border", 160, 120, {}, true};
        for (int i = 0; i < 300; ++i) r.dirs.push_back(POINT{around(-120, 120), around(-120, 120)});
        rows.push_back(r);
    }
    rows.push_back(Row{"zero and one pixel lines", 40, 40, {{0, 0}, {1, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 1}, {-1, 1}, {2, 1}},
                       false});

    const COLORREF c = RGB(255, 128, 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        RasterCanvas kept(row.w, row.h, kBlack), cairo(row.w, row.h, kBlack);
        CPen keptPen(PS_SOLID, 1, c), cairoPen(PS_SOLID, 0, c);
        CPen* oldKept = kept.dc.SelectObject(&keptPen);
        CPen* oldCairo = cairo.dc.SelectObject(&cairoPen);
        std::vector<uint32_t> a(static_cast<size_t>(row.w * row.h)), b(a.size());
        const DWORD bytes = static_cast<DWORD>(a.size() * sizeof(uint32_t));
        // A start point for a line of direction d: inside with the line whole in the picture,
        // or anywhere from a little outside to a little inside the border.
        auto start = [&](POINT d) {
            if (row.atBorder) {
                const int edge = rnd(4);
                const int x = edge == 0 ? around(-6, 6) : edge == 1 ? row.w - 1 + around(-6, 6) : around(0, row.w - 1);
                const int y = edge == 2 ? around(-6, 6) : edge == 3 ? row.h - 1 + around(-6, 6) : around(0, row.h - 1);
                return POINT{x, y};
            }
            const int x0 = std::max(0, -d.x) + 9, x1 = row.w - 10 - std::max(0, d.x);
            const int y0 = std::max(0, -d.y) + 9, y1 = row.h - 10 - std::max(0, d.y);
            return POINT{around(x0, std::max(x0, x1)), around(y0, std::max(y0, y1))};
        };
        int differing = 0, drawn = 0, lit = 0;
        for (const POINT& d : row.dirs) {
            const POINT first = start(d), second = start(d);
            for (int k = 0; k < 6; ++k) {
                const bool bothWays = k >= 3;
                const POINT at = k % 3 < 2 ? first : second;
                const POINT line[2] = {at, POINT{at.x + d.x, at.y + d.y}};
                auto draw = [&] { return bothWays ? kept.dc.LineSegmentsBothWays(line, 1) : kept.dc.LineSegments(line, 1); };
                for (int again = 0; k % 3 == 1 && again < 6; ++again) draw();
                kept.dc.FillSolidRect(0, 0, row.w, row.h, kBlack);
                cairo.dc.FillSolidRect(0, 0, row.w, row.h, kBlack);
                EXPECT_TRUE(draw());
                RasterBackend::KeepShapes(false);
                cairo.dc.MoveTo(line[0]);
                cairo.dc.LineTo(line[1].x, line[1].y);
                if (bothWays) cairo.dc.LineTo(line[0].x, line[0].y);
                RasterBackend::KeepShapes(true);
                kept.bitmap.GetBitmapBits(bytes, a.data());
                cairo.bitmap.GetBitmapBits(bytes, b.data());
                ++drawn;
                if (std::memcmp(a.data(), b.data(), bytes) != 0) {
                    if (++differing == 1)
                        ADD_FAILURE() << "first differing line from (" << line[0].x << ", " << line[0].y << ") to ("
                                      << line[1].x << ", " << line[1].y << ")" << (bothWays ? " and back" : "");
                }
                lit += std::any_of(b.begin(), b.end(), [](uint32_t p) { return (p & 0xffffff) != 0; });
            }
        }
        kept.dc.SelectObject(oldKept);
        cairo.dc.SelectObject(oldCairo);
        EXPECT_EQ(differing, 0) << "of " << drawn;
        EXPECT_GT(lit, drawn / 2) << "the lines draw something";
    }
}

}  // namespace

namespace {

// The shapes a DC keeps for thin lines are offsets in the rows of the picture it draws on: a DC
// that draws on pictures of other widths (other row strides) in turn, or of another height,
// still draws cairo's lines on each, long ones (kept after coming eight times) and short ones,
// one way and there and back.
TEST(RasterDC, KeptLinesFollowThePictureTheyDrawOn) {
    struct Row {
        const char* label;
        std::vector<SIZE> pictures;  // drawn on one after the other by one DC
    };
    const std::vector<Row> rows = {
        {"a narrower picture", {{300, 280}, {280, 280}}},
        {"a wider picture", {{280, 280}, {301, 280}}},
        {"back to the first", {{300, 280}, {290, 280}, {300, 280}}},
        {"another height, same width", {{300, 280}, {300, 290}}},
    };
    const std::vector<POINT> dirs = {{3, 1}, {-7, 12}, {0, 40}, {64, -5}, {100, 3}, {-3, -200}, {150, 150}, {-256, 40}};
    const COLORREF c = RGB(20, 200, 90);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        CPen pen(PS_SOLID, 1, c);
        CPen* oldPen = dc.SelectObject(&pen);
        std::vector<std::unique_ptr<CBitmap>> bitmaps;
        CBitmap* oldBitmap = nullptr;
        for (const SIZE& size : row.pictures) {
            auto bm = std::make_unique<CBitmap>();
            ASSERT_TRUE(bm->CreateCompatibleBitmap(nullptr, size.cx, size.cy));
            CBitmap* prev = dc.SelectObject(bm.get());
            if (!oldBitmap) oldBitmap = prev;
            dc.FillSolidRect(0, 0, size.cx, size.cy, kBlack);
            RasterCanvas cairo(size.cx, size.cy, kBlack);
            CPen cairoPen(PS_SOLID, 1, c);
            CPen* oldCairoPen = cairo.dc.SelectObject(&cairoPen);
            // Each line nine times at two places: a long one is kept from its eighth time.
            for (int pass = 0; pass < 9; ++pass)
                for (size_t i = 0; i < dirs.size(); ++i) {
                    const POINT d = dirs[i];
                    const int x = 10 + std::max(0, -d.x) + static_cast<int>(i) * 3 + pass % 2;
                    const int y = 10 + std::max(0, -d.y) + static_cast<int>(i) * 2;
                    const POINT line[2] = {{x, y}, {x + d.x, y + d.y}};
                    // Every other line there and back (kept in pairs too).
                    const bool bothWays = i % 2 == 1;
                    EXPECT_TRUE(bothWays ? dc.LineSegmentsBothWays(line, 1) : dc.LineSegments(line, 1));
                    RasterBackend::KeepShapes(false);
                    cairo.dc.MoveTo(line[0]);
                    cairo.dc.LineTo(line[1].x, line[1].y);
                    if (bothWays) cairo.dc.LineTo(line[0].x, line[0].y);
                    RasterBackend::KeepShapes(true);
                }
            cairo.dc.SelectObject(oldCairoPen);
            std::vector<uint32_t> a(static_cast<size_t>(size.cx * size.cy)), b(a.size());
            const DWORD bytes = static_cast<DWORD>(a.size() * sizeof(uint32_t));
            bm->GetBitmapBits(bytes, a.data());
            cairo.bitmap.GetBitmapBits(bytes, b.data());
            int differing = 0, lit = 0;
            for (size_t i = 0; i < a.size(); ++i) {
                differing += a[i] != b[i];
                lit += (b[i] & 0xffffff) != 0;
            }
            EXPECT_EQ(differing, 0) << size.cx << " x " << size.cy;
            EXPECT_GT(lit, 1000);
            bitmaps.push_back(std::move(bm));
        }
        dc.SelectObject(oldBitmap);
        dc.SelectObject(oldPen);
    }
}

}  // namespace

namespace {

// A polygon painted from its kept shape is cairo's fill and outline of it, whichever way it
// comes: in a run of SolidPolygons, by SolidPolygon, by Polygon with a pen and brush of one
// colour (the two painted as one) or of two. Each shape is drawn under both fill modes at three
// places, learnt at the first; the table holds rows of one to 65 pixels, a miter tip, crossing
// edges, collinear points, the most points, the widest and tallest extent a kept shape has, and
// two shapes differing only in their last point.
TEST(RasterDC, KeptShapesPaintCairosFillOfTheSamePolygons) {
    std::vector<POINT> twelve;
    for (int k = 0; k < 12; ++k) twelve.push_back(POINT{(k * 7) % 13 - (k % 3) * 4, k * 3 - (k % 2) * 9});
    std::vector<POINT> twelveMoved = twelve;
    twelveMoved.back().x += 1;
    const std::vector<std::vector<POINT>> shapes = {
        {{0, 0}, {9, 3}, {4, 8}},                        // a triangle
        {{0, 0}, {1, 0}, {1, 1}},                        // one pixel
        {{0, 0}, {1, 0}, {9, 8}, {0, 8}},                // rows of one to nine pixels
        {{0, 0}, {64, 0}, {64, 5}, {0, 5}},              // the widest kept
        {{0, 0}, {-20, -64}, {-23, -60}},                // the tallest kept, up and left
        {{0, 0}, {30, 1}, {0, 2}},                       // a sliver with a long miter tip
        {{0, 0}, {12, 10}, {12, 0}, {0, 10}},            // crossing edges
        {{0, 0}, {14, 0}, {2, 9}, {7, -5}, {11, 9}},     // a pentagram
        {{0, 0}, {6, 3}, {12, 6}},                       // collinear points
        twelve,
        twelveMoved,
    };
    enum Route { kRun, kSolid, kOneColour, kTwoColours };
    const POINT places[3] = {{100, 100}, {103, 104}, {180, 150}};
    for (Route route : {kRun, kSolid, kOneColour, kTwoColours}) {
        SCOPED_TRACE(testing::Message() << "route " << route);
        RasterCanvas kept(320, 240), cairo(320, 240);
        for (int mode : {ALTERNATE, WINDING}) {
            kept.dc.SetPolyFillMode(mode);
            cairo.dc.SetPolyFillMode(mode);
            for (int place = 0; place < 3; ++place) {
                std::vector<POINT> pts;  // the run: every shape at this place
                std::vector<int> counts;
                std::vector<COLORREF> colors;
                for (size_t i = 0; i < shapes.size(); ++i) {
                    const size_t first = pts.size();
                    for (const POINT& p : shapes[i]) pts.push_back(POINT{p.x + places[place].x, p.y + places[place].y});
                    counts.push_back(static_cast<int>(shapes[i].size()));
                    colors.push_back(RGB(i * 37 + place * 90 + mode, i * 11 + 60, 200 - place * 40));
                    const COLORREF penColour = route == kTwoColours ? colors.back() ^ 0x4080ff : colors.back();
                    for (CDC* dc : {&kept.dc, &cairo.dc}) {
                        RasterBackend::KeepShapes(dc == &kept.dc);
                        if (dc == &kept.dc && route == kRun) continue;  // with the others of its run
                        if (dc == &kept.dc && route == kSolid) {
                            EXPECT_TRUE(dc->SolidPolygon(&pts[first], counts.back(), colors.back())) << i;
                            continue;
                        }
                        CPen pen(PS_SOLID, 1, penColour);
                        CBrush brush(colors.back());
                        CPen* op = dc->SelectObject(&pen);
                        CBrush* ob = dc->SelectObject(&brush);
                        dc->Polygon(&pts[first], counts.back());
                        dc->SelectObject(ob);
                        dc->SelectObject(op);
                    }
                    RasterBackend::KeepShapes(true);
                }
                const int polys = static_cast<int>(counts.size());
                if (route == kRun) {
                    EXPECT_EQ(kept.dc.SolidPolygons(pts.data(), counts.data(), colors.data(), polys), polys);
                }
            }
        }
        int differing = 0;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) differing += kept.At(x, y) != cairo.At(x, y);
        EXPECT_EQ(differing, 0);
    }
}

}  // namespace
