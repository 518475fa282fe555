// GDI objects: handles and their wrappers, stock objects, object descriptions, deleting
// selected objects, regions and MulDiv.
#include "tests/platform/gdi/GdiTestUtil.h"

#include <thread>

namespace {

TEST(GdiObjects, WrappersOwnTheirHandlesAndDescribeThem) {
    CPen pen(PS_DASH, 3, RGB(1, 2, 3));
    ASSERT_NE(pen.GetSafeHandle(), nullptr);
    LOGPEN lp{};
    EXPECT_EQ(pen.GetLogPen(&lp), static_cast<int>(sizeof(LOGPEN)));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(lp.lopnWidth.x, 3);
    EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
    EXPECT_EQ(CPen::FromHandle(pen.m_hObject), &pen);
    EXPECT_FALSE(pen.CreatePen(PS_SOLID, 1, 0));  // already holds a handle

    CBrush hatch(HS_DIAGCROSS, RGB(9, 8, 7));
    LOGBRUSH lb{};
    hatch.GetLogBrush(&lb);
    EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_HATCHED));
    EXPECT_EQ(lb.lbHatch, static_cast<ULONG>(HS_DIAGCROSS));
    CBrush badHatch;
    EXPECT_FALSE(badHatch.CreateHatchBrush(17, 0));

    CFont font;
    ASSERT_TRUE(font.CreateFont(-14, 0, 900, 900, FW_BOLD, 0, 1, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体"));
    LOGFONT lf{};
    EXPECT_EQ(font.GetLogFont(&lf), static_cast<int>(sizeof(LOGFONT)));
    EXPECT_EQ(lf.lfHeight, -14);
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_STREQ(lf.lfFaceName, "宋体");

    CBitmap mono;
    const BYTE pattern[4] = {0xA0, 0x00, 0x50, 0x00};  // 4x2, rows padded to 16 bits
    ASSERT_TRUE(mono.CreateBitmap(4, 2, 1, 1, pattern));
    BITMAP bm{};
    EXPECT_EQ(mono.GetBitmap(&bm), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(bm.bmWidth, 4);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidthBytes, 2);
    BYTE back[4] = {};
    EXPECT_EQ(mono.GetBitmapBits(sizeof back, back), 4u);
    EXPECT_EQ(back[0], 0xA0);
    EXPECT_EQ(back[2], 0x50);

    // Detach gives the handle up; the wrapper no longer deletes it.
    HGDIOBJ h = pen.Detach();
    EXPECT_EQ(pen.GetSafeHandle(), nullptr);
    EXPECT_EQ(GetObjectType(h), OBJ_PEN);
    EXPECT_TRUE(DeleteObject(h));
    EXPECT_EQ(GetObjectType(h), 0);    // a deleted handle is no longer valid
    EXPECT_FALSE(DeleteObject(h));
    EXPECT_EQ(CGdiObject::FromHandle(h), nullptr);
}

TEST(GdiObjects, StockObjectsAndSelectionReturnThePrevious) {
    struct Stock { int index; int type; const char* label; };
    const Stock stock[] = {{WHITE_BRUSH, OBJ_BRUSH, "WHITE_BRUSH"}, {NULL_BRUSH, OBJ_BRUSH, "NULL_BRUSH"},
                           {BLACK_PEN, OBJ_PEN, "BLACK_PEN"},       {NULL_PEN, OBJ_PEN, "NULL_PEN"},
                           {SYSTEM_FONT, OBJ_FONT, "SYSTEM_FONT"},  {DEFAULT_GUI_FONT, OBJ_FONT, "DEFAULT_GUI_FONT"}};
    for (const Stock& s : stock) {
        SCOPED_TRACE(s.label);
        HGDIOBJ h = GetStockObject(s.index);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(GetStockObject(s.index), h);
        EXPECT_EQ(GetObjectType(h), s.type);
        EXPECT_TRUE(DeleteObject(h));  // deleting a stock object is a harmless no-op
        EXPECT_EQ(GetObjectType(h), s.type);
    }
    EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetStockObject(999), nullptr);

    RasterCanvas canvas(4, 4);
    CDC& dc = canvas.dc;
    CPen a(PS_SOLID, 1, RGB(255, 0, 0)), b(PS_SOLID, 2, RGB(0, 255, 0));
    CPen* first = dc.SelectObject(&a);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->m_hObject, GetStockObject(BLACK_PEN));  // a new DC starts with the black pen
    EXPECT_EQ(dc.SelectObject(&b), &a);
    EXPECT_EQ(dc.SelectObject(first), &b);
    CGdiObject* prevBrush = dc.SelectStockObject(NULL_BRUSH);
    ASSERT_NE(prevBrush, nullptr);
    EXPECT_EQ(prevBrush->m_hObject, GetStockObject(WHITE_BRUSH));
    CPen* none = nullptr;
    EXPECT_EQ(dc.SelectObject(none), nullptr);
    EXPECT_EQ(dc.SelectObject(static_cast<HGDIOBJ>(nullptr)), nullptr);
}

// Deleting an object that a DC still uses is refused (as the platform does), but nothing is
// freed under the DC's feet and nothing leaks: the object goes when the DC lets it go.
TEST(GdiObjects, DeletingASelectedObjectIsSafe) {
    RasterCanvas canvas(10, 10);
    CDC& dc = canvas.dc;
    auto pen = std::make_unique<CPen>(PS_SOLID, 1, RGB(0, 0, 255));
    HGDIOBJ h = pen->m_hObject;
    dc.SelectObject(pen.get());
    EXPECT_FALSE(pen->DeleteObject());
    EXPECT_EQ(pen->m_hObject, nullptr);
    pen.reset();
    dc.MoveTo(0, 5);
    dc.LineTo(10, 5);  // still draws with the pen it holds
    EXPECT_EQ(canvas.At(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(GetObjectType(h), OBJ_PEN);
    dc.SelectStockObject(BLACK_PEN);
    EXPECT_EQ(GetObjectType(h), 0);  // freed once deselected

    // The same with a bitmap selected into a memory DC that is then deleted.
    auto dc2 = std::make_unique<CDC>();
    dc2->CreateCompatibleDC(nullptr);
    CBitmap bm;
    bm.CreateCompatibleBitmap(&canvas.dc, 8, 8);
    HGDIOBJ hb = bm.m_hObject;
    CBitmap* oldBm = dc2->SelectObject(&bm);
    ASSERT_NE(oldBm, nullptr);
    EXPECT_FALSE(bm.DeleteObject());
    dc2.reset();
    EXPECT_EQ(GetObjectType(hb), 0);
}

// Handles are looked up through per-thread caches: a handle looked up again and again and then
// freed (here or by another thread) must no longer be taken for an object, and an object made
// after it (often at the same address) must be found with its own description.
TEST(GdiObjects, FreedHandlesAreNotAnsweredFromCaches) {
    const struct {
        const char* label;
        bool otherThread;
    } rows[] = {{"freed by this thread", false}, {"freed by another thread", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        for (int round = 0; round < 50; ++round) {
            const COLORREF c = RGB(round, 2 * round, 3);
            auto* pen = new CPen(PS_SOLID, 1, c);
            const HGDIOBJ h = pen->GetSafeHandle();
            CDC dc;
            ASSERT_TRUE(dc.CreateDisplayDC(8, 8));
            const HDC hdc = dc.GetSafeHdc();
            for (int i = 0; i < 3; ++i) {
                ASSERT_EQ(GetObjectType(h), OBJ_PEN);
                ASSERT_NE(dc.SelectObject(h), nullptr);
                dc.SelectStockObject(BLACK_PEN);
                ASSERT_NE(GetCurrentObject(hdc, OBJ_PEN), nullptr);
            }
            if (row.otherThread) {
                std::thread([&] {
                    delete pen;
                    dc.DeleteDC();
                }).join();
            } else {
                delete pen;
                dc.DeleteDC();
            }
            EXPECT_EQ(GetObjectType(h), 0) << "round " << round;
            EXPECT_EQ(GetCurrentObject(hdc, OBJ_PEN), nullptr) << "round " << round;
            CPen next(PS_DOT, 1, RGB(9, 9, round));
            LOGPEN lp{};
            ASSERT_EQ(GetObject(next.GetSafeHandle(), sizeof lp, &lp), static_cast<int>(sizeof lp));
            EXPECT_EQ(lp.lopnColor, RGB(9, 9, round)) << "round " << round;
            EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DOT)) << "round " << round;
        }
    }
}

TEST(GdiObjects, RegionsCombineAndTestPoints) {
    CRgn a, b, r;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 5, 15, 15);
    r.CreateRectRgn(0, 0, 0, 0);
    struct Case {
        const char* label;
        int mode;
        int kind;
        CRect box;
        POINT in, out;
    };
    const Case cases[] = {
        {"AND", RGN_AND, SIMPLEREGION, CRect(5, 5, 10, 10), {7, 7}, {2, 2}},
        {"OR", RGN_OR, COMPLEXREGION, CRect(0, 0, 15, 15), {12, 12}, {12, 2}},
        {"XOR", RGN_XOR, COMPLEXREGION, CRect(0, 0, 15, 15), {2, 2}, {7, 7}},
        {"DIFF", RGN_DIFF, COMPLEXREGION, CRect(0, 0, 10, 10), {2, 7}, {7, 7}},
        {"COPY", RGN_COPY, SIMPLEREGION, CRect(0, 0, 10, 10), {9, 9}, {10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(r.CombineRgn(&a, &b, c.mode), c.kind);
        CRect box;
        EXPECT_EQ(r.GetRgnBox(&box), c.kind);
        EXPECT_EQ(box, c.box);
        EXPECT_TRUE(r.PtInRegion(c.in));
        EXPECT_FALSE(r.PtInRegion(c.out));
    }
    EXPECT_EQ(r.CombineRgn(&a, nullptr, RGN_AND), ERROR);
    CRgn disjoint;
    disjoint.CreateRectRgn(20, 20, 30, 30);
    EXPECT_EQ(r.CombineRgn(&a, &disjoint, RGN_AND), NULLREGION);

    // Polygon regions: pixel centres inside; the fill rule decides for the overlapped middle.
    const POINT star[] = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
    CRgn winding, alternate;
    ASSERT_TRUE(winding.CreatePolygonRgn(star, 5, WINDING));
    ASSERT_TRUE(alternate.CreatePolygonRgn(star, 5, ALTERNATE));
    EXPECT_TRUE(winding.PtInRegion(20, 20));
    EXPECT_FALSE(alternate.PtInRegion(20, 20));
    EXPECT_TRUE(alternate.PtInRegion(20, 8));
    CRgn square;
    const POINT sq[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    square.CreatePolygonRgn(sq, 4, ALTERNATE);
    CRect box;
    square.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 10, 10));
    CRgn bad;
    EXPECT_FALSE(bad.CreatePolygonRgn(sq, 4, 7));

    CRgn ellipse;
    ellipse.CreateEllipticRgn(0, 0, 20, 10);
    EXPECT_TRUE(ellipse.PtInRegion(10, 5));
    EXPECT_FALSE(ellipse.PtInRegion(0, 0));
    ellipse.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 20, 10));
}

TEST(GdiObjects, MulDivRoundsHalfAwayFromZero) {
    struct Row { int a, b, c, expect; };
    const Row rows[] = {{12, 96, 72, 16}, {9, 96, 72, 12}, {7, 96, 72, 9}, {1, 1, 2, 1}, {-1, 1, 2, -1},
                        {5, 3, 4, 4},     {-5, 3, 4, -4},  {5, -3, 4, -4}, {100, 96, 720, 13}, {1, 1, 0, -1},
                        {INT32_MAX, 2, 1, -1}, {INT32_MAX, 2, 2, INT32_MAX}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.a) + "*" + std::to_string(r.b) + "/" + std::to_string(r.c));
        EXPECT_EQ(MulDiv(r.a, r.b, r.c), r.expect);
    }
}

}  // namespace
