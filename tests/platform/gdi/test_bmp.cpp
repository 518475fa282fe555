// A picture drawn on the raster DC is saved as a BMP file that a real reader (PIL) opens with
// the expected pixels; failures to write are reported.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/platform/gdi/GdiTestUtil.h"

namespace {

// Runs PIL on the file and returns "W H" followed by "R,G,B" for each queried point.
std::string ReadWithPil(const std::string& path, const std::vector<POINT>& points) {
    std::ostringstream script;
    script << "/usr/bin/python3 -c \"from PIL import Image; im=Image.open('" << path
           << "'); print(im.format, im.size[0], im.size[1], end=''); im=im.convert('RGB')";
    for (const POINT& p : points) script << "; print(' %d,%d,%d' % im.getpixel((" << p.x << "," << p.y << ")), end='')";
    script << "\" 2>&1";
    std::string out;
    if (FILE* f = popen(script.str().c_str(), "r")) {
        char buf[256];
        while (fgets(buf, sizeof buf, f)) out += buf;
        pclose(f);
    }
    return out;
}

std::string Rgb(COLORREF c) {
    return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c));
}

TEST(BmpFile, DrawnPictureOpensInARealReader) {
    const int w = 161, h = 90;  // odd width: rows need padding
    RasterCanvas canvas(w, h);
    CDC& dc = canvas.dc;
    CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
    dc.SelectObject(&pen);
    dc.MoveTo(0, 0);
    dc.LineTo(50, 0);
    CBrush brush(RGB(0, 160, 0));
    dc.SelectObject(&brush);
    dc.SelectStockObject(NULL_PEN);
    const POINT quad[] = {{60, 10}, {100, 10}, {100, 40}, {60, 40}};
    dc.Polygon(quad, 4);
    TRIVERTEX v[3] = {{110, 5, 0xff00, 0, 0, 0}, {158, 5, 0xff00, 0, 0, 0}, {110, 60, 0xff00, 0, 0, 0}};
    GRADIENT_TRIANGLE tri{0, 1, 2};
    dc.GradientFill(v, 3, &tri, 1, GRADIENT_FILL_TRIANGLE);
    RasterCanvas overlay(20, 20, RGB(0, 0, 0));
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 128, 0};
    dc.AlphaBlend(10, 50, 20, 20, &overlay.dc, 0, 0, 20, 20, bf);
    LOGFONT lf{};
    lf.lfHeight = -18;
    lf.lfEscapement = 300;
    std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", "宋体");
    CFont font;
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 0, 255));
    dc.TextOut(40, 85, "反力图");
    dc.SelectStockObject(SYSTEM_FONT);
    dc.SelectStockObject(WHITE_BRUSH);
    dc.SelectStockObject(BLACK_PEN);

    const std::string path = TestPath("picture.bmp");
    ASSERT_TRUE(WriteBmp24(path.c_str(), &dc));
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    const size_t stride = ((w * 24 + 31) / 32) * 4;
    EXPECT_EQ(static_cast<size_t>(f.tellg()), 14 + 40 + stride * h);

    const std::vector<POINT> pts = {{10, 0}, {50, 0}, {80, 25}, {115, 10}, {20, 60}, {150, 80}};
    const std::string got = ReadWithPil(path, pts);
    std::string expect = "BMP " + std::to_string(w) + " " + std::to_string(h);
    for (const POINT& p : pts) expect += " " + Rgb(canvas.At(p.x, p.y));
    EXPECT_EQ(got, expect);
    // And the colours are the ones drawn.
    EXPECT_EQ(canvas.At(10, 0), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(50, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(80, 25), RGB(0, 160, 0));
    EXPECT_EQ(canvas.At(115, 10), RGB(255, 0, 0));
    EXPECT_NEAR(GetRValue(canvas.At(20, 60)), 127, 1);  // white half over black
    int magenta = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) magenta += canvas.At(x, y) == RGB(255, 0, 255);
    EXPECT_GT(magenta, 30);

    // Our own reader agrees, and 96 dpi is recorded as 3780 pixels per metre.
    std::vector<COLORREF> px;
    int rw = 0, rh = 0;
    ASSERT_TRUE(ReadBmp(path.c_str(), px, rw, rh));
    EXPECT_EQ(rw, w);
    EXPECT_EQ(rh, h);
    EXPECT_EQ(px[static_cast<size_t>(25 * w + 80)], RGB(0, 160, 0));
    std::ostringstream q;
    q << "/usr/bin/python3 -c \"from PIL import Image; print(round(Image.open('" << path << "').info['dpi'][0]))\"";
    FILE* p = popen(q.str().c_str(), "r");
    char buf[32] = {};
    ASSERT_NE(p, nullptr);
    fgets(buf, sizeof buf, p);
    pclose(p);
    EXPECT_EQ(std::string(buf), "96\n");
}

TEST(BmpFile, FailuresAreReportedNotHidden) {
    RasterCanvas canvas(4, 4);
    EXPECT_FALSE(WriteBmp24("/nonexistent-dir/x.bmp", &canvas.dc));
    EXPECT_FALSE(WriteBmp24("", &canvas.dc));
    CDC noBitmap;
    EXPECT_FALSE(WriteBmp24(TestPath("none.bmp").c_str(), &noBitmap));
    std::vector<COLORREF> px;
    int w = 0, h = 0;
    EXPECT_FALSE(ReadBmp(TestPath("missing.bmp").c_str(), px, w, h));
    const std::string junk = TestPath("junk.bmp");
    std::ofstream(junk) << "BMnot really a bitmap";
    EXPECT_FALSE(ReadBmp(junk.c_str(), px, w, h));
}

// A DIB section is saved the same way: the bits the caller wrote are the picture.
TEST(BmpFile, DibSectionSavesItsBits) {
    BITMAPINFO bmi{};
    bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 3, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    CBitmap dib;
    ASSERT_TRUE(dib.Attach(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0)));
    BYTE* b = static_cast<BYTE*>(bits);
    b[0] = 10; b[1] = 20; b[2] = 30;          // bottom-left pixel (B, G, R)
    b[12 + 6] = 40; b[12 + 7] = 50; b[12 + 8] = 60;  // top-right pixel; rows are 12 bytes
    const std::string path = TestPath("dib.bmp");
    ASSERT_TRUE(WriteBmp24(path.c_str(), dib));
    EXPECT_EQ(ReadWithPil(path, {{0, 1}, {2, 0}}), "BMP 3 2 30,20,10 60,50,40");
}

// Pictures of many rows are written a band of rows at a time, and a whole-width copy from another
// bitmap reads the source where it lies: every pixel still lands where it was drawn.
TEST(BmpFile, LargePicturesKeepEveryRow) {
    const int w = 1600, h = 803;  // rows of 4,800 bytes: several bands and a short last one
    const auto colour = [](int x, int y) { return RGB((x * 7 + y) & 255, (y * 3) & 255, (x ^ y) & 255); };
    for (const bool bDib : {false, true}) {
        SCOPED_TRACE(bDib ? "DIB section" : "bitmap filled by a whole-width copy");
        const std::string path = TestPath("large.bmp");
        BITMAPINFO bmi{};
        bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        CBitmap dib;
        ASSERT_TRUE(dib.Attach(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0)));
        RasterCanvas source(w, h), target(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                BYTE* p = static_cast<BYTE*>(bits) + static_cast<size_t>(h - 1 - y) * w * 3 + 3 * x;  // bottom-up B, G, R
                p[0] = GetBValue(colour(x, y)), p[1] = GetGValue(colour(x, y)), p[2] = GetRValue(colour(x, y));
                if (!bDib) source.dc.SetPixel(x, y, colour(x, y));
            }
        if (!bDib) {
            ASSERT_TRUE(target.dc.BitBlt(0, 0, w, h, &source.dc, 0, 0, SRCCOPY));
        }
        ASSERT_TRUE(bDib ? WriteBmp24(path.c_str(), dib) : WriteBmp24(path.c_str(), &target.dc));
        std::vector<COLORREF> px;
        int rw = 0, rh = 0, wrong = 0;
        ASSERT_TRUE(ReadBmp(path.c_str(), px, rw, rh));
        ASSERT_TRUE(rw == w && rh == h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) wrong += px[static_cast<size_t>(y) * w + x] != colour(x, y);
        EXPECT_EQ(wrong, 0);
    }
}

}  // namespace
