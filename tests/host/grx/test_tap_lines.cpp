// The memory DC's back end keeps consecutive solid lines and strokes them as one path: the
// picture must be the one a plain raster DC draws call by call, whatever comes between the
// lines, and every way of reading the picture must see the lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/grx/GXgrTapBackend.h"
#include "platform/gdi/RasterBackend.h"
#include "platform/gdi/afxgdi.h"

namespace {

constexpr int kW = 160, kH = 120;

// A DC on a kW x kH bitmap: through the tap back end, or a plain raster DC.
struct TestDC {
    CDC dc;
    CBitmap bmp;
    GXgrTapBackend* tap = nullptr;
    explicit TestDC(bool bTap) {
        if (bTap) {
            auto b = std::make_unique<GXgrTapBackend>();
            tap = b.get();
            dc.CreateBackendDC(std::move(b));
        } else {
            dc.CreateCompatibleDC(nullptr);
        }
        bmp.CreateBitmap(kW, kH, 1, 32, nullptr);
        dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, kW, kH, RGB(0, 0, 0));
    }
};

// Lines of two pens in runs, thin and wide, a filled polygon and a text between them, lines again:
// every kind of neighbour a kept line can have.
void DrawScene(CDC& dc) {
    std::srand(7);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0)), green(PS_SOLID, 3, RGB(0, 255, 0)), dash(PS_DASH, 1, RGB(0, 0, 255));
    CBrush white(RGB(255, 255, 255));
    CPen* old = dc.SelectObject(&red);
    auto lines = [&](int n) {
        for (int i = 0; i < n; ++i) {
            const int x = std::rand() % kW, y = std::rand() % kH;
            dc.MoveTo(x, y);
            dc.LineTo(x + std::rand() % 31 - 15, y + std::rand() % 31 - 15);
        }
    };
    lines(300);
    dc.SelectObject(&green);
    lines(50);
    const POINT poly[4] = {{20, 20}, {90, 30}, {80, 90}, {15, 70}};
    CBrush* oldBrush = dc.SelectObject(&white);
    dc.Polygon(poly, 4);  // over the lines drawn so far
    dc.SelectObject(&red);
    const POINT zig[5] = {{5, 100}, {40, 60}, {70, 110}, {100, 50}, {150, 115}};
    dc.Polyline(zig, 5);
    lines(100);
    dc.SelectObject(&dash);  // not kept: dashes
    lines(40);
    dc.SelectObject(&red);
    dc.SetTextColor(RGB(255, 255, 0));
    dc.TextOut(60, 50, "PVX", 3);  // over red lines
    lines(100);
    dc.SetROP2(R2_XORPEN);  // not kept: another raster operation
    lines(30);
    dc.SetROP2(R2_COPYPEN);
    lines(100);
    dc.SelectObject(oldBrush);
    dc.SelectObject(old);
}

TEST(TapLines, KeptLinesDrawTheSamePicture) {
    TestDC plain(false), tap(true);
    DrawScene(plain.dc);
    DrawScene(tap.dc);
    // GetPixel draws the kept lines first.
    long differ = 0, lit = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const COLORREF a = plain.dc.GetPixel(x, y), b = tap.dc.GetPixel(x, y);
            if (a != b) ++differ;
            if (a != RGB(0, 0, 0)) ++lit;
        }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(lit, 2000) << "the scene draws something";
}

// Thin lines of one pen, some of them short enough to be painted from kept shapes and some not
// (long, or at the picture's border), drawn as LineTo batches of the tap, as runs of segments
// through the tap (each run after a pending LineTo) and as one run of segments on a plain raster
// DC: the picture must be cairo's own, line by line, whichever lines the kept shapes serve.
TEST(TapLines, BatchesMixingKeptAndStrokedLinesDrawCairosPicture) {
    const struct {
        const char* label;
        int maxLength;  // each end within this of the start, in pixels
        int margin;     // start points this far outside the picture at most
        int org;        // the window origin, both ways
    } rows[] = {
        {"short lines inside", 30, -20, 0},
        {"short lines at the border", 30, 5, 0},
        {"long and short lines", 300, -10, 0},
        {"long lines across the border", 400, 40, 0},
        {"short lines, window origin moved", 30, 5, -7},
    };
    enum Form { kLineTo, kTapSegments, kPlainSegments };
    const struct {
        const char* label;
        Form form;
    } forms[] = {{"LineTo", kLineTo}, {"segments through the tap", kTapSegments}, {"segments on a raster DC", kPlainSegments}};
    for (const auto& row : rows) {
        // Every direction within a kept shape's side comes several times in 2000 lines of up to
        // 30 pixels each way.
        std::vector<POINT> seg;
        std::srand(11);
        for (int i = 0; i < 2000; ++i) {
            const int x = std::rand() % (kW + 2 * row.margin) - row.margin;
            const int y = std::rand() % (kH + 2 * row.margin) - row.margin;
            seg.push_back(POINT{x, y});
            seg.push_back(POINT{x + std::rand() % (2 * row.maxLength + 1) - row.maxLength,
                                y + std::rand() % (2 * row.maxLength + 1) - row.maxLength});
        }
        TestDC cairo(false);
        RasterBackend::KeepShapes(false);
        cairo.dc.SetWindowOrg(row.org, row.org);
        CPen cairoPen(PS_SOLID, 1, RGB(255, 128, 0));
        CPen* oldCairoPen = cairo.dc.SelectObject(&cairoPen);
        for (size_t i = 0; i < seg.size(); i += 2) {
            cairo.dc.MoveTo(seg[i]);
            cairo.dc.LineTo(seg[i + 1].x, seg[i + 1].y);
        }
        cairo.dc.SelectObject(oldCairoPen);
        RasterBackend::KeepShapes(true);
        for (const auto& form : forms) {
            SCOPED_TRACE(std::string(row.label) + ", " + form.label);
            TestDC t(form.form != kPlainSegments);
            t.dc.SetWindowOrg(row.org, row.org);
            CPen pen(PS_SOLID, 1, RGB(255, 128, 0));
            CPen* old = t.dc.SelectObject(&pen);
            if (form.form == kPlainSegments) {
                EXPECT_TRUE(t.dc.LineSegments(seg.data(), static_cast<int>(seg.size() / 2)));
            } else {
                constexpr size_t kRun = 7;  // lines per run of segments, the first of each by LineTo
                for (size_t i = 0; i < seg.size(); i += 2 * kRun) {
                    const size_t n = std::min(kRun, (seg.size() - i) / 2);
                    if (form.form == kLineTo || n < 2) {
                        for (size_t k = 0; k < n; ++k) {
                            t.dc.MoveTo(seg[i + 2 * k]);
                            t.dc.LineTo(seg[i + 2 * k + 1].x, seg[i + 2 * k + 1].y);
                        }
                        continue;
                    }
                    t.dc.MoveTo(seg[i]);
                    t.dc.LineTo(seg[i + 1].x, seg[i + 1].y);
                    EXPECT_TRUE(t.dc.LineSegments(seg.data() + i + 2, static_cast<int>(n - 1)));
                }
            }
            t.dc.SelectObject(old);
            if (t.tap) t.tap->Flush();
            long differ = 0, lit = 0;
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) {
                    const COLORREF a = cairo.dc.GetPixel(x + row.org, y + row.org),
                                   b = t.dc.GetPixel(x + row.org, y + row.org);
                    differ += a != b;
                    lit += a != RGB(0, 0, 0);
                }
            EXPECT_EQ(differ, 0);
            EXPECT_GT(lit, 500) << "the lines are drawn";
        }
    }
}

TEST(TapLines, EveryWayOfReadingSeesTheLines) {
    struct Row {
        const char* label;
        void (*read)(TestDC&);
    } rows[] = {
        {"flush", [](TestDC& t) { t.tap->Flush(); }},
        {"another call", [](TestDC& t) { t.dc.SetPixel(kW - 1, kH - 1, RGB(1, 1, 1)); }},
        {"a bitmap change", [](TestDC& t) {
             CBitmap other;
             other.CreateBitmap(4, 4, 1, 32, nullptr);
             t.dc.SelectObject(&other);
             t.dc.SelectObject(&t.bmp);
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        TestDC t(true);
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        CPen* old = t.dc.SelectObject(&pen);
        t.dc.MoveTo(10, 10);
        t.dc.LineTo(100, 10);
        t.dc.SelectObject(old);
        r.read(t);
        // Read the bitmap's pixels directly, past the DC.
        BITMAP info{};
        t.bmp.GetBitmap(&info);
        std::vector<uint32_t> px(static_cast<size_t>(kW * kH));
        t.bmp.GetBitmapBits(static_cast<DWORD>(px.size() * 4), px.data());
        EXPECT_EQ(px[10 * kW + 50] & 0xffffff, 0xff0000u) << "red (0x00RRGGBB) on the line";
    }
}

}  // namespace
