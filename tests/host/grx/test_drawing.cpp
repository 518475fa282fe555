// Drawing of the graphics control: the memory image, world-coordinate primitives, the retained
// display list, painting the window, coloured-polygon clipping and the Kriging overlay.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi/CRecordDC.h"
#include "platform/gdi/RasterBackend.h"
#include "platform/gdi/afxgdi.h"
#include "tests/host/grx/GrxTestModel.h"

namespace {

// The geometry records of a recording DC (what reaches the picture), with pen and brush.
std::vector<std::string> Geometry(const CRecordDC& dc) {
    std::vector<std::string> out;
    for (const GdiRecord& r : dc.GetRecords()) {
        if (r.op != "LineTo" && r.op != "Polygon" && r.op != "Rectangle" && r.op != "TextOut" &&
            r.op != "ExtTextOut" && r.op != "GradientFill")
            continue;
        std::string s = r.op;
        if (r.op == "LineTo") s += " from " + std::to_string(r.curPos.x) + "," + std::to_string(r.curPos.y);
        s += " args";
        for (int a : r.args) s += " " + std::to_string(a);
        if (r.hasRect)
            s += " rect " + std::to_string(r.rect.left) + "," + std::to_string(r.rect.top) + "," +
                 std::to_string(r.rect.right) + "," + std::to_string(r.rect.bottom);
        for (const POINT& p : r.points) s += " (" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
        s += " text " + r.text;
        for (const TRIVERTEX& v : r.vertices) s += " v" + std::to_string(v.x) + "," + std::to_string(v.y) + "," + std::to_string(v.Red);
        s += " pen " + std::to_string(r.pen.lopnColor) + "/" + std::to_string(r.pen.lopnWidth.x);
        s += " brush " + std::to_string(r.brush.lbColor);
        out.push_back(s);
    }
    return out;
}

struct Scene {
    CList<C3DPoint, C3DPoint> face;
    CArray<int, int> flags;
    Scene() {
        face.AddTail(C3DPoint(0, 0, 0));
        face.AddTail(C3DPoint(4, 0, 0));
        face.AddTail(C3DPoint(4, 0, 3));
        face.AddTail(C3DPoint(0, 0, 3));
        flags.Add(1);
        flags.Add(0);
        flags.Add(1);
        flags.Add(0);
    }
    // The same primitives, each with its own pen and brush selected.
    void Draw(I_PVXCtrl& ctrl, CDC* dc) {
        CPen red(PS_SOLID, 2, RGB(255, 0, 0)), green(PS_SOLID, 1, RGB(0, 200, 0));
        CBrush yellow(RGB(255, 255, 0));
        CPen* op = dc->SelectObject(&red);
        CBrush* ob = dc->SelectObject(&yellow);
        ctrl.DrawLine3D(dc, C3DPoint(-1, 0, -1), C3DPoint(5, 0, 4), 0.0);
        ctrl.DrawPolygon3DFill(dc, face, RGB(10, 20, 30));
        dc->SelectObject(&green);
        ctrl.DrawPolygon3DFill(dc, face);
        ctrl.DrawPolygon3DFill(dc, face, flags, RGB(1, 2, 3));
        ctrl.DrawNode(dc, C3DPoint(2, 0, 1));
        ctrl.DrawCross(dc, C3DPoint(3, 0, 2), 8);
        // Plain 2-D drawing made among the primitives.
        dc->SetTextColor(RGB(0, 0, 255));
        dc->TextOut(5, 5, "N", 1);
        TRIVERTEX v[3] = {{10, 10, 0xff00, 0, 0, 0}, {30, 10, 0, 0xff00, 0, 0}, {10, 30, 0, 0, 0xff00, 0}};
        GRADIENT_TRIANGLE tri = {0, 1, 2};
        dc->GradientFill(v, 3, &tri, 1, GRADIENT_FILL_TRIANGLE);
        dc->SetTextColor(RGB(0, 0, 0));
        dc->SelectObject(op);
        dc->SelectObject(ob);
    }
};

void FrontView(I_PVXCtrl& ctrl) {
    ctrl.SetClientSize(400, 300);
    ctrl.GetCamera().SetStandardView(GViewCamera::VIEW_FRONT);
    ctrl.ZoomToRange(C3DPoint(-1, 0, -1), C3DPoint(5, 0, 4));
}

// Geometry drawn on the memory DC between the add brackets is kept, not drawn; XGR_RenderGeom
// draws exactly that with the pens and brushes of the time; a rebuild request blanks it until
// it is recorded again; a turned view redraws it turned.
TEST(GrxDrawing, RetainedGeometryReplaysWhatWasRecorded) {
    I_PVXCtrl ctrl;
    FrontView(ctrl);
    Scene scene;
    CRecordDC ref;
    ASSERT_TRUE(ref.Create());
    scene.Draw(ctrl, &ref);  // immediate drawing: the expected records
    const std::vector<std::string> want = Geometry(ref);
    // line, 3 fills, 2 flagged edges, node, 2 cross strokes, the text and the gradient
    ASSERT_EQ(want.size(), 11u) << ref.Dump();

    ASSERT_TRUE(ctrl.BeginDrawToMemDC(true));
    CDC* mem = ctrl.GetMemDC();
    ctrl.ClearBuffer(RGB(255, 255, 255), 1);
    ctrl.XGR_RemoveAllGeom();
    ctrl.XGR_Begin_AddGeom();
    scene.Draw(ctrl, mem);
    ctrl.XGR_End_AddGeom();
    ctrl.XGR_SetRebuildGeom(0);
    EXPECT_EQ(ctrl.XGR_GetGeomCount(), 8) << "six primitives and two plain calls";
    // Nothing reached the image while recording (the line's middle and the gradient are
    // still background).
    const CPoint midLine = ctrl.GetWorldToMemDCP2D(C3DPoint(2, 0, 1.5));
    EXPECT_EQ(mem->GetPixel(midLine.x, midLine.y), RGB(255, 255, 255));
    EXPECT_EQ(mem->GetPixel(12, 12), RGB(255, 255, 255));
    // Drawing after the bracket is immediate and not kept.
    ctrl.DrawLine3D(mem, C3DPoint(0, 0, 0), C3DPoint(1, 0, 1), 0.0);
    EXPECT_EQ(ctrl.XGR_GetGeomCount(), 8);

    CRecordDC replay;
    ASSERT_TRUE(replay.Create());
    ctrl.XGR_RenderGeom(&replay);
    EXPECT_EQ(Geometry(replay), want);
    // Replayed again: the same once more (the list is kept).
    CRecordDC again;
    again.Create();
    ctrl.XGR_RenderGeom(&again);
    EXPECT_EQ(Geometry(again), want);

    // A rebuild request: nothing until re-recorded.
    ctrl.XGR_SetRebuildGeom(1);
    EXPECT_TRUE(ctrl.XGR_IsRebuildGeom());
    CRecordDC stale;
    stale.Create();
    ctrl.XGR_RenderGeom(&stale);
    EXPECT_TRUE(Geometry(stale).empty()) << stale.Dump();
    ctrl.XGR_RemoveAllGeom();
    ctrl.XGR_Begin_AddGeom();
    ctrl.DrawNode(mem, C3DPoint(2, 0, 1));
    ctrl.XGR_End_AddGeom();
    ctrl.XGR_SetRebuildGeom(0);
    CRecordDC fresh;
    fresh.Create();
    ctrl.XGR_RenderGeom(&fresh);
    EXPECT_EQ(Geometry(fresh).size(), 1u);

    // Turning the view: the kept geometry is drawn with the new view, no rebuild needed.
    ctrl.XGR_RemoveAllGeom();
    ctrl.XGR_Begin_AddGeom();
    scene.Draw(ctrl, mem);
    ctrl.XGR_End_AddGeom();
    // Rendering on the memory image itself draws the kept geometry there.
    ctrl.BeginDrawToMemDC(true);
    ctrl.XGR_RenderGeom();
    const CPoint lineOutsideFace = ctrl.GetWorldToMemDCP2D(C3DPoint(-0.7, 0, -0.75));
    EXPECT_EQ(mem->GetPixel(lineOutsideFace.x, lineOutsideFace.y), RGB(255, 0, 0));
    EXPECT_EQ(mem->GetPixel(midLine.x, midLine.y), RGB(1, 2, 3)) << "the last face covers the line";
    EXPECT_NE(mem->GetPixel(12, 12), RGB(255, 255, 255)) << "the kept gradient is drawn too";
    ctrl.SetViewAngles(30.0, 20.0);
    CRecordDC turnedRef, turned;
    turnedRef.Create();
    turned.Create();
    scene.Draw(ctrl, &turnedRef);
    ctrl.XGR_RenderGeom(&turned);
    EXPECT_EQ(Geometry(turned), Geometry(turnedRef));
    EXPECT_NE(Geometry(turned), want);
    ctrl.EndDrawToMemDC(true);
}

// Client-window forms draw with the window transform, which leaves the screen only in
// virtual mode; they are never kept in the display list.
TEST(GrxDrawing, ClientWindowFormsUseWindowTransform) {
    I_PVXCtrl ctrl;
    FrontView(ctrl);
    const C3DPoint a(0, 0, 0), b(4, 0, 3);
    ctrl.StartVirtualMode(1600, 1200);
    ctrl.XGR_Begin_AddGeom();
    CRecordDC page;
    page.Create();
    ctrl.DrawLine3DOnClientWindow(&page, a, b);
    ctrl.DrawNodeInClientWindow(&page, a);
    ctrl.DrawCrossInClientWindow(&page, b, 6);
    ctrl.XGR_End_AddGeom();
    EXPECT_EQ(ctrl.XGR_GetGeomCount(), 0);
    const std::vector<const GdiRecord*> lines = page.GetRecords("LineTo");
    ASSERT_EQ(lines.size(), 3u);  // the line and the two strokes of the cross
    const CPoint pa = ctrl.GetWorldToWindowP2D(a), pb = ctrl.GetWorldToWindowP2D(b);
    EXPECT_EQ(lines[0]->curPos.x, pa.x);
    EXPECT_EQ(lines[0]->curPos.y, pa.y);
    EXPECT_EQ(lines[0]->Arg(0), pb.x);
    EXPECT_EQ(lines[0]->Arg(1), pb.y);
    EXPECT_GT(pb.x, 400) << "the page is four times the screen";
    // Cross of size 6: strokes from -3 to +3 inclusive around the point.
    EXPECT_EQ(lines[1]->curPos.x, pb.x - 3);
    EXPECT_EQ(lines[1]->Arg(0), pb.x + 4);
    const std::vector<const GdiRecord*> nodes = page.GetRecords("Rectangle");
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0]->rect.left, pa.x - I_PVXCtrl::kNodeSize / 2);
    EXPECT_EQ(nodes[0]->rect.right - nodes[0]->rect.left, I_PVXCtrl::kNodeSize);
    ctrl.EndVirtualMode();
}

// While a surface is covered (the memory image is about to be copied over it), window items
// drawn on a DC of that surface are left out, and only those: LeavesOutWindowItems says which
// DCs, and a window line drawn on each leaves its pixels as that answer says.
TEST(GrxDrawing, WindowItemsOnTheCoveredSurfaceAreLeftOut) {
    I_PVXCtrl ctrl;
    FrontView(ctrl);
    CBitmap covered, other;
    covered.CreateBitmap(400, 300, 1, 32, nullptr);  // the client area
    other.CreateBitmap(400, 300, 1, 32, nullptr);
    CDC onCovered, onOther, plain;
    onCovered.CreateCompatibleDC(nullptr);
    onOther.CreateCompatibleDC(nullptr);
    plain.CreateCompatibleDC(nullptr);
    onCovered.SelectObject(&covered);
    onOther.SelectObject(&other);
    const struct {
        const char* label;
        HGDIOBJ coveredSurface;
        CDC* dc;
        bool leftOut;
    } rows[] = {
        {"nothing covered, its DC", nullptr, &onCovered, false},
        {"covered, a DC of that surface", covered.GetSafeHandle(), &onCovered, true},
        {"covered, a DC of another surface", covered.GetSafeHandle(), &onOther, false},
        {"covered, a DC without a bitmap of its own", covered.GetSafeHandle(), &plain, false},
        {"covered, no DC", covered.GetSafeHandle(), nullptr, false},
    };
    const C3DPoint a(-1, 0, -1), b(1, 0, 1);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        ctrl.SetCoveredSurface(r.coveredSurface);
        EXPECT_EQ(ctrl.LeavesOutWindowItems(r.dc), r.leftOut);
        if (r.dc != &onCovered && r.dc != &onOther) continue;
        r.dc->FillSolidRect(0, 0, 400, 300, RGB(0, 0, 0));
        CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
        CPen* old = r.dc->SelectObject(&pen);
        ctrl.DrawLine3DOnClientWindow(r.dc, a, b);
        r.dc->SelectObject(old);
        long lit = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) lit += r.dc->GetPixel(x, y) != RGB(0, 0, 0);
        EXPECT_EQ(lit == 0, r.leftOut) << lit << " pixels drawn";
    }
    ctrl.SetCoveredSurface(nullptr);
}

// The memory image: cleared to a colour, drawn on, copied to the window, then the model draws
// on the window (once per paint).
TEST(GrxDrawing, MemoryImageReachesWindowBeforeModelDraws) {
    GrxTestModel model;
    I_PVXCtrl ctrl;
    ctrl.SetI_PVXModel(&model);
    FrontView(ctrl);
    ctrl.SetShowVPointIcon(0);
    ctrl.ClearBuffer(RGB(0, 0, 64), 1);
    ASSERT_TRUE(ctrl.BeginDrawToMemDC(false));
    CDC* mem = ctrl.GetMemDC();
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* old = mem->SelectObject(&pen);
    ctrl.DrawLine3D(mem, C3DPoint(-1, 0, 1), C3DPoint(5, 0, 1), 0.0);
    mem->SelectObject(old);
    ctrl.EndDrawToMemDC(false);
    EXPECT_TRUE(ctrl.IsImageValid());
    const CPoint onLine = ctrl.GetWorldToMemDCP2D(C3DPoint(2, 0, 1));
    EXPECT_EQ(mem->GetPixel(onLine.x, onLine.y), RGB(255, 0, 0));
    EXPECT_EQ(mem->GetPixel(5, 5), RGB(0, 0, 64));

    CRecordDC window;
    ASSERT_TRUE(window.Create(400, 300));
    ctrl.PaintWindow(&window);
    EXPECT_EQ(model.m_nDrawCalls, 1);
    ASSERT_GE(window.Count("BitBlt"), 1u);
    EXPECT_EQ(window.GetRecords().front().op, "BitBlt") << "the image comes first";
    EXPECT_EQ(window.GetPixel(onLine.x, onLine.y), RGB(255, 0, 0));
    EXPECT_EQ(window.GetPixel(399, 299), RGB(0, 0, 64));
    // Moving the picture makes the image stale.
    ctrl.ViewPan(1, 0);
    EXPECT_FALSE(ctrl.IsImageValid());
}

// Coloured polygons are clipped to the image with colours interpolated on the cut.
TEST(GrxDrawing, ColorPolygonClippedToImage) {
    I_PVXCtrl ctrl;
    ctrl.SetClientSize(101, 101);
    ctrl.GetCamera().SetStandardView(GViewCamera::VIEW_TOP);
    ctrl.GetCamera().SetScale(1.0);
    ctrl.GetCamera().SetTarget(C3DPoint(50.5, 50.5, 0));  // world (x, y) = pixel (x, 100 - y)
    CArray<C3DPoint, C3DPoint> pts;
    CArray<DWORD, DWORD> colors, outColors;
    CArray<CPoint, CPoint> out;
    // A horizontal band from x = -100 (black) to x = 100 (red), inside in y.
    for (auto p : {C3DPoint(-100, 40, 0), C3DPoint(100, 40, 0), C3DPoint(100, 60, 0), C3DPoint(-100, 60, 0)})
        pts.Add(p);
    for (DWORD c : {RGB(0, 0, 0), RGB(200, 0, 0), RGB(200, 0, 0), RGB(0, 0, 0)}) colors.Add(c);
    const int n = ctrl.GetColorVPolygonForMemDC(pts, out, colors, outColors);
    ASSERT_EQ(n, 4);
    ASSERT_EQ(outColors.GetSize(), 4);
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(out[i].x, 0);
        EXPECT_LE(out[i].x, 100);
        // Red grows along x: 0 at -100, 200 at 100.
        EXPECT_NEAR(GetRValue(outColors[i]), (out[i].x + 100) * 200.0 / 200.0, 1.0);
    }
    // Entirely outside: nothing.
    pts.RemoveAll();
    for (auto p : {C3DPoint(300, 300, 0), C3DPoint(310, 300, 0), C3DPoint(310, 310, 0)}) pts.Add(p);
    EXPECT_EQ(ctrl.GetColorVPolygonForClient(pts, out, colors, outColors), 0);
    EXPECT_EQ(out.GetSize(), 0);
}

// The Kriging contour is laid over the memory image at the end of a draw, in band colours.
TEST(GrxDrawing, KrigingContourOverlaysImage) {
    I_PVXCtrl ctrl;
    ctrl.SetClientSize(200, 200);
    ctrl.GetCamera().SetStandardView(GViewCamera::VIEW_TOP);
    ctrl.ZoomToRange(C3DPoint(0, 0, 0), C3DPoint(10, 10, 0));
    GKrigContourDetail d;
    d.m_nColorNum = 2;
    for (int i = 0; i < 7; ++i) d.m_crSerial[i] = i < 3 ? RGB(0, 0, 255) : RGB(255, 0, 0);
    d.m_crSerial[6] = RGB(255, 0, 0);
    CArray<C3DPoint, C3DPoint> pts;
    CArray<double, double> vals;
    for (auto p : {C3DPoint(0, 0, 0), C3DPoint(10, 0, 0), C3DPoint(10, 10, 0), C3DPoint(0, 10, 0)}) pts.Add(p);
    for (double v : {0.0, 0.0, 10.0, 10.0}) vals.Add(v);  // low at y = 0, high at y = 10
    ASSERT_EQ(ctrl.OnKrigContour(pts, vals, 1, d), 1);
    ctrl.ClearBuffer(RGB(255, 255, 255), 1);
    ctrl.BeginDrawToMemDC(false);
    ctrl.EndDrawToMemDC(false);
    CDC* mem = ctrl.GetMemDC();
    const CPoint low = ctrl.GetWorldToMemDCP2D(C3DPoint(5, 1, 0)), high = ctrl.GetWorldToMemDCP2D(C3DPoint(5, 9, 0));
    EXPECT_EQ(mem->GetPixel(low.x, low.y), RGB(0, 0, 255));
    EXPECT_EQ(mem->GetPixel(high.x, high.y), RGB(255, 0, 0));
    EXPECT_EQ(mem->GetPixel(2, 2), RGB(255, 255, 255)) << "outside the hull of the points";
    ctrl.OffKrigContour();
    ctrl.ClearBuffer(RGB(255, 255, 255), 1);
    ctrl.BeginDrawToMemDC(false);
    ctrl.EndDrawToMemDC(false);
    EXPECT_EQ(mem->GetPixel(low.x, low.y), RGB(255, 255, 255));
}

// Band lists are drawn from pixels projected once (MemPixel, FillPixels, MoveTo/LineTo): on any
// DC that draws at once that must be what the world forms draw (DrawPolygon3DFill with a colour,
// DrawLine3D), record for record and pixel for pixel. While geometry is recorded on the memory
// DC the control does not draw at once, and says so.
// A triangle, a quadrilateral and a polygon seen edge-on (2 points) in the front view.
std::vector<std::vector<C3DPoint>> FrontPolygons() {
    return {
        {C3DPoint(0, 0, 0), C3DPoint(1.5, 0, 0), C3DPoint(1.5, 0, 1.2)},
        {C3DPoint(1, 0, 1), C3DPoint(3.7, 0, 1.1), C3DPoint(3.2, 0, 2.9), C3DPoint(0.9, 0, 2.4)},
        {C3DPoint(2, 0, 2), C3DPoint(4.5, 0, 2.2)},
    };
}

// The 400 x 300 memory picture after draw on a white image.
std::vector<COLORREF> MemPicture(I_PVXCtrl& ctrl, CDC* mem, const std::function<void(CDC*)>& draw) {
    ctrl.ClearBuffer(RGB(255, 255, 255), 1);
    draw(mem);
    std::vector<COLORREF> px;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) px.push_back(mem->GetPixel(x, y));
    return px;
}

TEST(GrxDrawing, PixelFormsDrawWhatTheWorldFormsDraw) {
    I_PVXCtrl ctrl;
    FrontView(ctrl);
    // Polygons of 2 to 5 points (2: a polygon seen edge-on, drawn as its edge) and their edges.
    std::vector<std::vector<C3DPoint>> polys = FrontPolygons();
    polys.push_back({C3DPoint(-0.5, 0, 3), C3DPoint(1, 0, 3.4), C3DPoint(2, 0, 4.2), C3DPoint(0.3, 0, 3.9),
                     C3DPoint(-0.8, 0, 3.5)});
    auto worldForms = [&](CDC* dc) {
        for (size_t i = 0; i < polys.size(); ++i) {
            CList<C3DPoint, C3DPoint> face;
            for (const C3DPoint& p : polys[i]) face.AddTail(p);
            ctrl.DrawPolygon3DFill(dc, face, RGB(40 * i, 200 - 30 * i, 90));
            for (size_t k = 0; k < polys[i].size(); ++k)
                ctrl.DrawLine3D(dc, polys[i][k], polys[i][(k + 1) % polys[i].size()], 0.0);
        }
    };
    auto pixelForms = [&](CDC* dc) {
        for (size_t i = 0; i < polys.size(); ++i) {
            std::vector<POINT> px;
            for (const C3DPoint& p : polys[i]) px.push_back(ctrl.MemPixel(p));
            ctrl.FillPixels(dc, px.data(), static_cast<int>(px.size()), RGB(40 * i, 200 - 30 * i, 90));
            for (size_t k = 0; k < px.size(); ++k) {
                dc->MoveTo(px[k]);
                dc->LineTo(px[(k + 1) % px.size()]);
            }
        }
    };
    // The edges of each polygon as one CDC::LineSegments call.
    auto segmentForms = [&](CDC* dc) {
        for (size_t i = 0; i < polys.size(); ++i) {
            std::vector<POINT> px;
            for (const C3DPoint& p : polys[i]) px.push_back(ctrl.MemPixel(p));
            ctrl.FillPixels(dc, px.data(), static_cast<int>(px.size()), RGB(40 * i, 200 - 30 * i, 90));
            std::vector<POINT> pairs;
            for (size_t k = 0; k < px.size(); ++k) {
                pairs.push_back(px[k]);
                pairs.push_back(px[(k + 1) % px.size()]);
            }
            EXPECT_TRUE(dc->LineSegments(pairs.data(), static_cast<int>(px.size())));
        }
    };
    {
        SCOPED_TRACE("a recording DC: the same records");
        CRecordDC world, pixels, segments;
        ASSERT_TRUE(world.Create());
        ASSERT_TRUE(pixels.Create());
        ASSERT_TRUE(segments.Create());
        EXPECT_TRUE(ctrl.DrawsAtOnce(&world));
        worldForms(&world);
        pixelForms(&pixels);
        segmentForms(&segments);
        EXPECT_EQ(Geometry(pixels), Geometry(world));
        EXPECT_EQ(Geometry(segments), Geometry(world));
        EXPECT_EQ(segments.GetCurrentPosition(), world.GetCurrentPosition());
        EXPECT_EQ(Geometry(world).size(), 4u + 14u) << "3 fills, one edge-on line and 14 edges";
    }
    {
        SCOPED_TRACE("the memory image: the same pixels");
        ASSERT_TRUE(ctrl.BeginDrawToMemDC(false));
        CDC* mem = ctrl.GetMemDC();
        EXPECT_TRUE(ctrl.DrawsAtOnce(mem));
        auto picture = [&](const std::function<void(CDC*)>& draw) { return MemPicture(ctrl, mem, draw); };
        const std::vector<COLORREF> world = picture(worldForms);
        EXPECT_EQ(picture(pixelForms), world);
        EXPECT_EQ(picture(segmentForms), world);
        // A pen the raster tap does not batch: the segments are drawn as the pairs draw them.
        CPen dashed(PS_DASH, 1, RGB(200, 0, 0));
        CPen* old = mem->SelectObject(&dashed);
        const std::vector<COLORREF> dashedWorld = picture(worldForms);
        EXPECT_EQ(picture(segmentForms), dashedWorld);
        EXPECT_GT(std::count(dashedWorld.begin(), dashedWorld.end(), RGB(200, 0, 0)), 20) << "dashed edges drawn";
        mem->SelectObject(old);
        EXPECT_GT(std::count(world.begin(), world.end(), RGB(40, 170, 90)), 100) << "the second polygon is drawn";
        ctrl.EndDrawToMemDC(false);
    }
    {
        SCOPED_TRACE("the memory DC while geometry is recorded, and no DC: not drawn at once");
        ASSERT_TRUE(ctrl.BeginDrawToMemDC(true));
        ctrl.XGR_Begin_AddGeom();
        EXPECT_FALSE(ctrl.DrawsAtOnce(ctrl.GetMemDC()));
        CRecordDC other;
        ASSERT_TRUE(other.Create());
        EXPECT_TRUE(ctrl.DrawsAtOnce(&other));
        ctrl.XGR_End_AddGeom();
        EXPECT_TRUE(ctrl.DrawsAtOnce(ctrl.GetMemDC()));
        EXPECT_FALSE(ctrl.DrawsAtOnce(nullptr));
        ctrl.EndDrawToMemDC(true);
    }
}

// A list of polygons filled in one run (FillPixelsList) draws and records what FillPixels draws
// and records polygon by polygon, also where the run meets a polygon the memory image does not
// draw at once (two points, one reaching past the border).
TEST(GrxDrawing, PixelListsFillWhatEachPolygonFills) {
    I_PVXCtrl ctrl;
    FrontView(ctrl);
    std::vector<std::vector<C3DPoint>> polys = FrontPolygons();
    polys.push_back({C3DPoint(-40, 0, -40), C3DPoint(1, 0, 3.4), C3DPoint(2, 0, 4.2)});
    polys.push_back({C3DPoint(0.2, 0, 0.3), C3DPoint(1.2, 0, 0.5), C3DPoint(0.6, 0, 1.4)});
    std::vector<POINT> px;
    std::vector<int> counts;
    std::vector<COLORREF> colors;
    for (size_t i = 0; i < polys.size(); ++i) {
        for (const C3DPoint& p : polys[i]) px.push_back(ctrl.MemPixel(p));
        counts.push_back(static_cast<int>(polys[i].size()));
        colors.push_back(RGB(40 * i, 200 - 30 * i, 90));
    }
    auto oneByOne = [&](CDC* dc) {
        const POINT* q = px.data();
        for (size_t i = 0; i < counts.size(); ++i) {
            ctrl.FillPixels(dc, q, counts[i], colors[i]);
            q += counts[i];
        }
    };
    auto inOneRun = [&](CDC* dc) {
        ctrl.FillPixelsList(dc, px.data(), counts.data(), colors.data(), static_cast<int>(counts.size()));
    };
    {
        SCOPED_TRACE("a recording DC: the same records");
        CRecordDC single, run;
        ASSERT_TRUE(single.Create());
        ASSERT_TRUE(run.Create());
        oneByOne(&single);
        inOneRun(&run);
        EXPECT_EQ(Geometry(run), Geometry(single));
        EXPECT_EQ(Geometry(single).size(), 5u) << "4 fills and one edge-on line";
    }
    {
        SCOPED_TRACE("the memory image: the same pixels");
        ASSERT_TRUE(ctrl.BeginDrawToMemDC(false));
        CDC* mem = ctrl.GetMemDC();
        auto picture = [&](const std::function<void(CDC*)>& draw) { return MemPicture(ctrl, mem, draw); };
        const std::vector<COLORREF> single = picture(oneByOne);
        EXPECT_EQ(picture(inOneRun), single);
        EXPECT_GT(std::count(single.begin(), single.end(), RGB(160, 80, 90)), 20) << "the last polygon is drawn";
        ctrl.EndDrawToMemDC(false);
    }
}


// A run of faces in one call (FillFaces) draws and records what face after face FillPixelsList
// and LineSegments draw: also where it meets what the memory image does not draw at once (a
// polygon too large for a kept shape, an edge-on one, lines past the border or too long), with
// kept shapes off, and on a recording DC.
TEST(GrxDrawing, FaceRunsDrawWhatFaceAfterFaceDraws) {
    I_PVXCtrl ctrl;
    FrontView(ctrl);  // a 400 x 300 picture
    struct Face {
        std::vector<std::vector<POINT>> polys;
        std::vector<POINT> lines;  // pairs
    };
    auto tri = [](int x, int y, int d) { return std::vector<POINT>{{x, y}, {x + d, y + 3}, {x + 2, y + d}}; };
    auto edges = [](const std::vector<POINT>& p) {
        std::vector<POINT> out;
        for (size_t i = 0; i < p.size(); ++i) out.insert(out.end(), {p[i], p[(i + 1) % p.size()]});
        return out;
    };
    const std::vector<POINT> big{{30, 20}, {300, 40}, {60, 260}};  // wider than a kept shape
    const std::vector<Face> faces{
        {{tri(50, 50, 20), tri(60, 55, 12)}, edges(tri(50, 50, 20))},
        {{tri(65, 52, 15)}, {}},                                    // no lines
        {{}, {{70, 70}, {90, 75}}},                                 // no polygons
        {{big, tri(100, 100, 9)}, edges(big)},                      // refused polygon, long lines
        {{{{120, 120}, {130, 125}}}, {{395, 10}, {420, 30}}},       // edge-on polygon, line past the border
        {{tri(110, 105, 30)}, edges(tri(110, 105, 30))},
    };
    std::vector<POINT> pts, segs;
    std::vector<int> counts, facePolys, faceLines;
    std::vector<COLORREF> colors;
    for (size_t f = 0; f < faces.size(); ++f) {
        for (const auto& poly : faces[f].polys) {
            pts.insert(pts.end(), poly.begin(), poly.end());
            counts.push_back(static_cast<int>(poly.size()));
            colors.push_back(RGB(40 * f, 220 - 30 * counts.size(), 90 + 10 * f));
        }
        segs.insert(segs.end(), faces[f].lines.begin(), faces[f].lines.end());
        facePolys.push_back(static_cast<int>(faces[f].polys.size()));
        faceLines.push_back(static_cast<int>(faces[f].lines.size() / 2));
    }
    CPen pen(PS_SOLID, 1, RGB(250, 250, 250));
    auto faceByFace = [&](CDC* dc) {
        CPen* old = dc->SelectObject(&pen);
        size_t p = 0, q = 0, s = 0;
        for (size_t f = 0; f < faces.size(); ++f) {
            ctrl.FillPixelsList(dc, pts.data() + q, counts.data() + p, colors.data() + p, facePolys[f]);
            for (int k = 0; k < facePolys[f]; ++k) q += static_cast<size_t>(counts[p++]);
            if (faceLines[f] > 0) dc->LineSegments(segs.data() + s, faceLines[f]);
            s += 2 * static_cast<size_t>(faceLines[f]);
        }
        const CPoint at = dc->GetCurrentPosition();
        dc->SelectObject(old);
        return at;
    };
    auto inOneRun = [&](CDC* dc) {
        CPen* old = dc->SelectObject(&pen);
        SolidFaceRun run;
        run.pts = pts.data();
        run.counts = counts.data();
        run.colors = colors.data();
        run.segs = segs.data();
        run.facePolys = facePolys.data();
        run.faceLines = faceLines.data();
        run.faces = static_cast<int>(faces.size());
        ctrl.FillFaces(dc, run);
        EXPECT_TRUE(run.Done());
        EXPECT_EQ(run.polyAt, counts.size());
        EXPECT_EQ(run.segAt, segs.size());
        const CPoint at = dc->GetCurrentPosition();
        dc->SelectObject(old);
        return at;
    };
    {
        SCOPED_TRACE("a recording DC: the same records");
        CRecordDC single, run;
        ASSERT_TRUE(single.Create());
        ASSERT_TRUE(run.Create());
        EXPECT_EQ(inOneRun(&run), faceByFace(&single));
        EXPECT_EQ(Geometry(run), Geometry(single));
    }
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep ? "the memory image: the same pixels" : "the same with kept shapes off");
        RasterBackend::KeepShapes(keep);
        ASSERT_TRUE(ctrl.BeginDrawToMemDC(false));
        CDC* mem = ctrl.GetMemDC();
        CPoint endSingle, endRun;
        const std::vector<COLORREF> single = MemPicture(ctrl, mem, [&](CDC* dc) { endSingle = faceByFace(dc); });
        EXPECT_EQ(MemPicture(ctrl, mem, [&](CDC* dc) { endRun = inOneRun(dc); }), single);
        EXPECT_EQ(endRun, endSingle) << "the current position after the last line";
        EXPECT_GT(std::count(single.begin(), single.end(), RGB(250, 250, 250)), 100) << "the lines are drawn";
        EXPECT_GT(std::count(single.begin(), single.end(), colors[3]), 1000) << "the large polygon is drawn";
        ctrl.EndDrawToMemDC(false);
    }
    RasterBackend::KeepShapes(true);
}

}  // namespace
