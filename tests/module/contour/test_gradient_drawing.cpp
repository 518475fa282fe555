// Gradient and blended polygons: what reaches the device context, the pixels the raster back end
// paints, and the point-colour interpolation the fill follows.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "module/contour/CBlendedDrawing.h"
#include "module/contour/CGradientDrawing.h"
#include "platform/gdi/CMetaFileDC.h"
#include "platform/gdi/CRecordDC.h"
#include "platform/gdi/afxgdi.h"

namespace {

::testing::AssertionResult NearColor(COLORREF got, COLORREF want, int tol) {
    const int d[3] = {GetRValue(got) - GetRValue(want), GetGValue(got) - GetGValue(want), GetBValue(got) - GetBValue(want)};
    for (int x : d)
        if (x > tol || x < -tol)
            return ::testing::AssertionFailure() << "got " << std::hex << got << ", want " << want << " within " << std::dec << tol;
    return ::testing::AssertionSuccess();
}

// How many records of one type an enhanced metafile holds.
size_t CountEmfRecords(const std::string& path, unsigned type) {
    std::vector<unsigned char> data;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF) data.push_back(static_cast<unsigned char>(c));
        std::fclose(f);
    }
    auto word = [&](size_t o) { return unsigned(data[o]) | unsigned(data[o + 1]) << 8 | unsigned(data[o + 2]) << 16 | unsigned(data[o + 3]) << 24; };
    size_t n = 0;
    for (size_t at = 0; at + 8 <= data.size() && word(at + 4) >= 8; at += word(at + 4)) n += word(at) == type;
    return n;
}

}  // namespace

TEST(GradientPolygon, RecordsOneFanTrianglePerCallWithAllVertices) {
    COLORREF colors[5] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(18, 52, 86), RGB(1, 2, 3)};
    CPoint pts[5] = {CPoint(10, 10), CPoint(90, 12), CPoint(95, 80), CPoint(40, 95), CPoint(5, 60)};
    for (int n : {0, 2, 3, 4, 5}) {
        SCOPED_TRACE(::testing::Message() << n << " vertices");
        CRecordDC dc;
        ASSERT_TRUE(dc.Create());
        CGradientDrawing::GradientPolygon(&dc, colors, pts, n);
        const std::vector<const GdiRecord*> fills = dc.GetRecords("GradientFill");
        ASSERT_EQ(fills.size(), size_t(n < 3 ? 0 : n - 2));
        for (size_t t = 0; t < fills.size(); t++) {
            const GdiRecord& r = *fills[t];
            EXPECT_EQ(r.Arg(0), GRADIENT_FILL_TRIANGLE);
            EXPECT_EQ(r.mesh, (std::vector<ULONG>{0, ULONG(t + 1), ULONG(t + 2)}));
            ASSERT_EQ(r.vertices.size(), size_t(n));
            for (int i = 0; i < n; i++) {
                const TRIVERTEX& v = r.vertices[size_t(i)];
                EXPECT_TRUE(v.x == pts[i].x && v.y == pts[i].y && v.Red == GetRValue(colors[i]) << 8 &&
                            v.Green == GetGValue(colors[i]) << 8 && v.Blue == GetBValue(colors[i]) << 8 && v.Alpha == 0)
                    << "vertex " << i;
            }
        }
    }
}

TEST(GradientPolygon, RasterAndMetafile) {
    CDC dc;
    ASSERT_TRUE(dc.CreateDisplayDC(160, 160));
    dc.FillSolidRect(0, 0, 160, 160, RGB(255, 255, 255));
    COLORREF colors[3] = {RGB(240, 0, 0), RGB(0, 200, 0), RGB(0, 0, 160)};
    CPoint pts[3] = {CPoint(10, 10), CPoint(130, 10), CPoint(10, 130)};
    CGradientDrawing::GradientPolygon(&dc, colors, pts, 3);
    // The interpolation at a corner and at edge midpoints, weights by hand.
    EXPECT_EQ(CGradientDrawing::GetTrianglePointColor(pts, colors, CPoint(10, 10)), RGB(240, 0, 0));
    EXPECT_EQ(CGradientDrawing::GetTrianglePointColor(pts, colors, CPoint(70, 10)), RGB(120, 100, 0));
    EXPECT_EQ(CGradientDrawing::GetTrianglePointColor(pts, colors, CPoint(70, 70)), RGB(0, 100, 80));
    // Each painted pixel has the interpolated colour at its centre.
    C3DPoint tri[3] = {C3DPoint(10, 10, 0), C3DPoint(130, 10, 0), C3DPoint(10, 130, 0)};
    static const int kProbes[][2] = {{10, 10}, {127, 10}, {10, 127}, {70, 10}, {10, 70}, {69, 69}, {40, 50}};
    for (const auto& p : kProbes) {
        const COLORREF want = CGradientDrawing::GetTrianglePointColor(tri, colors, C3DPoint(p[0] + 0.5, p[1] + 0.5, 0));
        EXPECT_TRUE(NearColor(dc.GetPixel(p[0], p[1]), want, 2)) << "pixel " << p[0] << "," << p[1];
    }
    EXPECT_TRUE(NearColor(dc.GetPixel(10, 10), RGB(240, 0, 0), 3));
    EXPECT_EQ(dc.GetPixel(120, 120), RGB(255, 255, 255));

    const std::string path = std::string(PVX_TEST_TMPDIR) + "/contour_gradient.emf";
    std::remove(path.c_str());
    CPoint quad[4] = {CPoint(0, 0), CPoint(100, 0), CPoint(100, 100), CPoint(0, 100)};
    COLORREF quadColors[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
    CMetaFileDC mf;
    ASSERT_TRUE(mf.CreateEnhanced(nullptr, path.c_str(), nullptr, "gradient"));
    CGradientDrawing::GradientPolygon(&mf, quadColors, quad, 4);
    CBlendedDrawing::BlendedPolygon(&mf, 128, RGB(0, 0, 0), RGB(0, 128, 0), quad, 4);
    DeleteEnhMetaFile(mf.CloseEnhanced());
    EXPECT_EQ(CountEmfRecords(path, 118), 2u);  // EMR_GRADIENTFILL
    EXPECT_EQ(CountEmfRecords(path, 114), 1u);  // EMR_ALPHABLEND
}

TEST(GradientPolygon, TriangleAndPolygonPointColours) {
    C3DPoint v[3] = {C3DPoint(0, 0, 5), C3DPoint(100, 0, -5), C3DPoint(0, 100, 9)};
    COLORREF c[3] = {RGB(200, 0, 0), RGB(0, 100, 0), RGB(0, 0, 50)};
    CArray<C3DPoint*> arr;
    for (C3DPoint& p : v) arr.Add(&p);
    struct Row {
        const char* what;
        double x, y;
        COLORREF want;
    };
    static const Row kRows[] = {
        {"at B", 100, 0, RGB(0, 100, 0)},
        {"midpoint of AB: nothing of C", 50, 0, RGB(100, 50, 0)},
        {"weights 1/2, 1/4, 1/4", 25, 25, RGB(100, 25, 12)},
        // Unsigned distances: outside, the weights grow and each channel wraps modulo 256.
        {"far outside", 300, 0, RGB(144, 44, 0)},
    };
    for (const Row& row : kRows) {
        EXPECT_EQ(CGradientDrawing::GetTrianglePointColor(v, c, C3DPoint(row.x, row.y, 42)), row.want) << row.what;
        EXPECT_EQ(CGradientDrawing::GetTrianglePointColor(arr, c, C3DPoint(row.x, row.y, 0)), row.want) << row.what;
    }
    CPoint flat[3] = {CPoint(0, 0), CPoint(50, 0), CPoint(100, 0)};  // no weights: the nearest corner
    EXPECT_EQ(CGradientDrawing::GetTrianglePointColor(flat, c, CPoint(60, 0)), RGB(0, 100, 0));

    CPoint sq[4] = {CPoint(0, 0), CPoint(100, 0), CPoint(100, 100), CPoint(0, 100)};
    COLORREF sc[4] = {RGB(0, 0, 0), RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
    CPoint last[3] = {sq[0], sq[2], sq[3]};
    COLORREF lastColors[3] = {sc[0], sc[2], sc[3]};
    EXPECT_EQ(CGradientDrawing::GetPolygonPointColor(CPoint(75, 25), sq, sc, 4), RGB(100, 50, 0));  // triangle 0,1,2
    EXPECT_EQ(CGradientDrawing::GetPolygonPointColor(CPoint(25, 75), sq, sc, 4), RGB(0, 50, 100));  // triangle 0,2,3
    EXPECT_EQ(CGradientDrawing::GetPolygonPointColor(CPoint(150, 50), sq, sc, 4),
              CGradientDrawing::GetTrianglePointColor(last, lastColors, CPoint(150, 50)));
    EXPECT_EQ(CGradientDrawing::GetPolygonPointColor(CPoint(90, 10), sq, sc, 2), RGB(200, 0, 0));  // nearest vertex
    EXPECT_EQ(CGradientDrawing::GetPolygonPointColor(CPoint(90, 10), sq, sc, 0), RGB(0, 0, 0));

    C3DPoint sq3[4] = {C3DPoint(0, 0, 0), C3DPoint(100, 0, 0), C3DPoint(100, 100, 0), C3DPoint(0, 100, 0)};
    CArray<C3DPoint*> poly, queries;
    CArray<COLORREF> colors, out;
    for (int i = 0; i < 4; i++) {
        poly.Add(&sq3[i]);
        colors.Add(sc[i]);
    }
    C3DPoint q[2] = {C3DPoint(75, 25, 0), C3DPoint(25, 75, 0)};
    queries.Add(&q[0]);
    queries.Add(&q[1]);
    out.Add(RGB(9, 9, 9));
    CGradientDrawing::GetPolygonPointColorList(poly, colors, queries, out);
    ASSERT_EQ(out.GetSize(), 3);
    EXPECT_EQ(out[1], RGB(100, 50, 0));
    EXPECT_EQ(out[2], RGB(0, 50, 100));
}

TEST(GradientPolygon, LineDistanceAndInnerTest) {
    EXPECT_DOUBLE_EQ(CGradientDrawing::GetLinePointDistance(CPoint(20, -7), CPoint(0, 0), CPoint(10, 0)), 7.0);
    EXPECT_DOUBLE_EQ(CGradientDrawing::GetLinePointDistance(CPoint(3, 4), CPoint(0, 0), CPoint(0, 0)), 5.0);
    EXPECT_DOUBLE_EQ(CGradientDrawing::GetLinePointDistance(C3DPoint(2, 0, 9), C3DPoint(0, 0, 1), C3DPoint(4, 4, 7)),
                     1.4142135623730951);

    C3DPoint sq[4] = {C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 10, 0), C3DPoint(0, 10, 0)};
    CArray<C3DPoint*> ccw, cw, dup;
    for (int i = 0; i < 4; i++) ccw.Add(&sq[i]);
    for (int i = 3; i >= 0; i--) cw.Add(&sq[i]);
    for (int i : {0, 1, 1, 2, 3}) dup.Add(&sq[i]);  // a corner given twice
    struct Row {
        const char* what;
        double x, y;
        int inside;
    };
    static const Row kRows[] = {
        {"centre", 5, 5, 1}, {"on an edge", 5, 0, 1}, {"on a corner", 10, 10, 1}, {"outside", 15, 5, 0},
        // On the line of an edge but beyond it: outside.
        {"on an edge's line beyond the corner", 15, 0, 0},
    };
    for (const Row& row : kRows) {
        EXPECT_EQ(CGradientDrawing::InnerTest(C3DPoint(row.x, row.y, 0), ccw), row.inside) << row.what;
        EXPECT_EQ(CGradientDrawing::InnerTest(C3DPoint(row.x, row.y, 0), cw), row.inside) << row.what;
        EXPECT_EQ(CGradientDrawing::InnerTest(C3DPoint(row.x, row.y, 0), dup), row.inside) << row.what;
    }

    // A vertex in the middle of the bottom side: points on the second half of that side lie on
    // the first edge's line beyond the first edge, and are still on the boundary.
    C3DPoint mid[5] = {C3DPoint(0, 0, 0), C3DPoint(5, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 10, 0),
                       C3DPoint(0, 10, 0)};
    CArray<C3DPoint*> split;
    for (C3DPoint& p : mid) split.Add(&p);
    C3DPoint flat[3] = {C3DPoint(0, 0, 0), C3DPoint(5, 0, 0), C3DPoint(10, 0, 0)};
    CArray<C3DPoint*> line;
    for (C3DPoint& p : flat) line.Add(&p);
    static const Row kCollinear[] = {
        {"on the second half of a split side", 7.5, 0, 1},
        {"on the first half", 2.5, 0, 1},
        {"inside", 7.5, 2, 1},
        {"on the side's line beyond the polygon", 15, 0, 0},
        {"before the polygon on that line", -5, 0, 0},
    };
    for (const Row& row : kCollinear)
        EXPECT_EQ(CGradientDrawing::InnerTest(C3DPoint(row.x, row.y, 0), split), row.inside) << row.what;
    EXPECT_EQ(CGradientDrawing::InnerTest(C3DPoint(7, 0, 0), line), 1);   // on a flat polygon's edge
    EXPECT_EQ(CGradientDrawing::InnerTest(C3DPoint(12, 0, 0), line), 0);  // on its line, beyond it
    EXPECT_EQ(CGradientDrawing::InnerTest(C3DPoint(5, 3, 0), line), 0);
}

TEST(BlendedPolygon, BoundsPixelsAndRecordedClip) {
    CPoint pts[2] = {CPoint(1, 5), CPoint(4, 2)};
    EXPECT_EQ(CBlendedDrawing::FindRectRgn(pts, 2), CRect(1, 2, 4, 5));
    EXPECT_EQ(CBlendedDrawing::FindRectRgn(pts, 0), CRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN));

    CPoint tri[3] = {CPoint(10, 10), CPoint(70, 10), CPoint(10, 70)};
    struct Row {
        BYTE alpha;
        COLORREF inside;
        int tol;
    };
    static const Row kRows[] = {{255, RGB(255, 0, 0), 0}, {0, RGB(255, 255, 255), 0}, {128, RGB(255, 127, 127), 1}};
    for (const Row& row : kRows) {
        CDC dc;
        ASSERT_TRUE(dc.CreateDisplayDC(100, 100));
        dc.FillSolidRect(0, 0, 100, 100, RGB(255, 255, 255));
        CBlendedDrawing::BlendedPolygon(&dc, row.alpha, RGB(255, 0, 0), RGB(255, 0, 0), tri, 3);
        EXPECT_TRUE(NearColor(dc.GetPixel(25, 25), row.inside, row.tol)) << "alpha " << int(row.alpha);
        EXPECT_EQ(dc.GetPixel(60, 60), RGB(255, 255, 255)) << "alpha " << int(row.alpha);  // outside the triangle
    }

    CRecordDC rec;
    ASSERT_TRUE(rec.Create(200, 200));
    rec.IntersectClipRect(0, 0, 40, 200);
    CPoint quad[4] = {CPoint(20, 30), CPoint(80, 30), CPoint(80, 90), CPoint(20, 90)};
    CBlendedDrawing::BlendedPolygon(&rec, 77, RGB(0, 0, 0), RGB(0, 0, 255), quad, 4);
    rec.LineTo(5, 5);
    const std::vector<const GdiRecord*> blends = rec.GetRecords("AlphaBlend");
    ASSERT_EQ(blends.size(), 1u);
    EXPECT_EQ(blends[0]->args, (std::vector<int>{20, 30, 60, 60, 0, 0, 60, 60, 77, 0}));
    ASSERT_TRUE(blends[0]->hasClip);  // the polygon within the caller's clip
    EXPECT_EQ(CRect(blends[0]->clipBox), CRect(20, 30, 40, 90));
    const std::vector<const GdiRecord*> lines = rec.GetRecords("LineTo");
    ASSERT_EQ(lines.size(), 1u);  // afterwards the caller's own clip is back
    EXPECT_EQ(CRect(lines[0]->clipBox), CRect(0, 0, 40, 200));
    CBlendedDrawing::BlendedPolygon(&rec, 255, 0, 0, pts, 1);  // empty bounds: nothing
    EXPECT_EQ(rec.Count("AlphaBlend"), 1u);
}
