// Camera and transforms of the graphics control: zoom-all fitting, standard view orientation,
// margins, virtual (print) mode and world lengths.
#include <gtest/gtest.h>

#include <cmath>

#include "host/grx/I_PVXCtrl.h"

namespace {

struct ViewRow {
    const char* name;
    int view;
};
const ViewRow kViews[] = {
    {"iso", GViewCamera::VIEW_ISO},     {"plan", GViewCamera::VIEW_TOP},   {"front", GViewCamera::VIEW_FRONT},
    {"back", GViewCamera::VIEW_BACK},   {"left", GViewCamera::VIEW_LEFT},  {"right", GViewCamera::VIEW_RIGHT},
    {"bottom", GViewCamera::VIEW_BOTTOM},
};

struct Box {
    C3DPoint lo, hi;
};
const Box kBoxes[] = {
    {C3DPoint(0, 0, 0), C3DPoint(10, 10, 10)},
    {C3DPoint(-50, 20, -3), C3DPoint(30, 25, 40)},   // long in x, thin in y
    {C3DPoint(100, 100, 0), C3DPoint(100.5, 180, 1)},
};

C3DPoint Corner(const Box& b, int i) {
    return C3DPoint((i & 1) ? b.hi.x : b.lo.x, (i & 2) ? b.hi.y : b.lo.y, (i & 4) ? b.hi.z : b.lo.z);
}

// Zoom-all puts the model centre on the centre of the drawing area and every corner inside it,
// and the projected box fills the fitting share of the area in its tighter direction.
TEST(GrxTransform, ZoomAllFitsBoxIntoDrawingArea) {
    struct MarginRow {
        int l, t, r, b;
    } margins[] = {{0, 0, 0, 0}, {120, 0, 0, 0}, {0, 30, 90, 10}};
    for (const auto& m : margins) {
        for (const auto& v : kViews) {
            for (size_t bi = 0; bi < std::size(kBoxes); ++bi) {
                SCOPED_TRACE(testing::Message() << v.name << " box " << bi << " margins " << m.l << "," << m.t
                                                << "," << m.r << "," << m.b);
                I_PVXCtrl ctrl;
                ctrl.SetClientSize(800, 600);
                ctrl.SetClientWindowMargin(m.l, m.t, m.r, m.b, 0, 0);
                ctrl.GetCamera().SetStandardView(v.view);
                const Box& b = kBoxes[bi];
                ctrl.ZoomToRange(b.lo, b.hi);
                EXPECT_TRUE(ctrl.IsZoomAllState());
                const CRect area = ctrl.GetDrawingArea();
                EXPECT_EQ(area, CRect(m.l, m.t, 800 - m.r, 600 - m.b));
                const C3DPoint centre = (b.lo + b.hi) * 0.5;
                const CPoint pc = ctrl.GetWorldToMemDCP2D(centre);
                EXPECT_NEAR(pc.x, (area.left + area.right) / 2.0, 0.51);
                EXPECT_NEAR(pc.y, (area.top + area.bottom) / 2.0, 0.51);
                const CPoint pw = ctrl.GetWorldToWindowP2D(centre);
                EXPECT_EQ(pw, pc) << "window and image agree outside virtual mode";
                int x0 = 1 << 30, x1 = -(1 << 30), y0 = 1 << 30, y1 = -(1 << 30);
                for (int i = 0; i < 8; ++i) {
                    const CPoint p = ctrl.GetWorldToMemDCP2D(Corner(b, i));
                    EXPECT_GE(p.x, area.left) << "corner " << i;
                    EXPECT_LE(p.x, area.right) << "corner " << i;
                    EXPECT_GE(p.y, area.top) << "corner " << i;
                    EXPECT_LE(p.y, area.bottom) << "corner " << i;
                    x0 = std::min<int>(x0, p.x);
                    x1 = std::max<int>(x1, p.x);
                    y0 = std::min<int>(y0, p.y);
                    y1 = std::max<int>(y1, p.y);
                }
                const double fillX = (x1 - x0) / double(area.Width()), fillY = (y1 - y0) / double(area.Height());
                EXPECT_NEAR(std::max(fillX, fillY), GViewCamera::kZoomAllFill, 0.01);
            }
        }
    }
}

// Which world axis points right and which up on screen in each standard view (pixel y down).
TEST(GrxTransform, StandardViewsOrientAxes) {
    struct Row {
        const char* name;
        int view;
        C3DPoint right, up, toward;  // world unit vectors
    } rows[] = {
        {"plan", GViewCamera::VIEW_TOP, C3DPoint(1, 0, 0), C3DPoint(0, 1, 0), C3DPoint(0, 0, 1)},
        {"front", GViewCamera::VIEW_FRONT, C3DPoint(1, 0, 0), C3DPoint(0, 0, 1), C3DPoint(0, -1, 0)},
        {"back", GViewCamera::VIEW_BACK, C3DPoint(-1, 0, 0), C3DPoint(0, 0, 1), C3DPoint(0, 1, 0)},
        {"right", GViewCamera::VIEW_RIGHT, C3DPoint(0, 1, 0), C3DPoint(0, 0, 1), C3DPoint(1, 0, 0)},
        {"left", GViewCamera::VIEW_LEFT, C3DPoint(0, -1, 0), C3DPoint(0, 0, 1), C3DPoint(-1, 0, 0)},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        I_PVXCtrl ctrl;
        ctrl.SetClientSize(400, 400);
        ctrl.GetCamera().SetStandardView(r.view);
        ctrl.ZoomToRange(C3DPoint(-1, -1, -1), C3DPoint(1, 1, 1));
        const CPoint o = ctrl.GetWorldToMemDCP2D(C3DPoint(0, 0, 0));
        const CPoint pr = ctrl.GetWorldToMemDCP2D(r.right);
        const CPoint pu = ctrl.GetWorldToMemDCP2D(r.up);
        EXPECT_GT(pr.x, o.x + 50);
        EXPECT_EQ(pr.y, o.y);
        EXPECT_EQ(pu.x, o.x);
        EXPECT_LT(pu.y, o.y - 50);
        // Depth: the point toward the viewer is nearer (larger z) than the origin.
        EXPECT_GT(ctrl.GetWorldToWindowP3D(r.toward).z, ctrl.GetWorldToWindowP3D(C3DPoint(0, 0, 0)).z);
    }
    // Iso: the eye sits on the (1, -1, 1) diagonal, so that diagonal projects onto one point.
    I_PVXCtrl iso;
    iso.ZoomToRange(C3DPoint(-1, -1, -1), C3DPoint(1, 1, 1));
    EXPECT_EQ(iso.GetWorldToMemDCP2D(C3DPoint(1, -1, 1)), iso.GetWorldToMemDCP2D(C3DPoint(0, 0, 0)));
    EXPECT_GT(iso.GetVcsCoord(C3DPoint(1, -1, 1)).z, 1.7);
}

// Margin strips by side, the drawing area between them, and reset.
TEST(GrxTransform, ClientMarginsReserveStrips) {
    I_PVXCtrl ctrl;
    ctrl.SetClientSize(800, 600);
    ctrl.SetClientWindowMargin(100, 20, 50, 10, 0, 0);
    EXPECT_EQ(ctrl.GetClientWindowMargin(0), CRect(0, 0, 100, 600));
    EXPECT_EQ(ctrl.GetClientWindowMargin(1), CRect(750, 0, 800, 600));
    EXPECT_EQ(ctrl.GetClientWindowMargin(2), CRect(0, 0, 800, 20));
    EXPECT_EQ(ctrl.GetClientWindowMargin(3), CRect(0, 590, 800, 600));
    EXPECT_EQ(ctrl.GetClientWindowMargin(7), CRect(0, 0, 0, 0));
    // Margins wider than the client leave an empty area rather than an inverted one.
    ctrl.SetClientWindowMargin(500, 0, 500, 0, 0, 0);
    EXPECT_EQ(ctrl.GetDrawingArea().Width(), 0);
    ctrl.ResetClientWindowMargin();
    EXPECT_EQ(ctrl.GetDrawingArea(), CRect(0, 0, 800, 600));
    EXPECT_EQ(ctrl.GetClientWindowMargin(0).Width(), 0);
}

// Virtual mode maps the window transform onto the page, scaling with the page; the memory
// image keeps the screen transform. Ratios and world lengths follow the page.
TEST(GrxTransform, VirtualModeMapsWindowOntoPage) {
    I_PVXCtrl ctrl;
    ctrl.SetClientSize(800, 600);
    ctrl.SetClientWindowMargin(100, 0, 0, 0, 0, 0);
    ctrl.GetCamera().SetStandardView(GViewCamera::VIEW_TOP);
    ctrl.ZoomToRange(C3DPoint(0, 0, 0), C3DPoint(70, 60, 0));
    const C3DPoint c(35, 30, 0);
    const CPoint screen = ctrl.GetWorldToMemDCP2D(c);
    const double screenLen = ctrl.GetWorldLength(100.0);

    ctrl.StartVirtualMode(3200, 2400);
    EXPECT_TRUE(ctrl.IsVirtualMode());
    EXPECT_EQ(ctrl.GetVirtualClientRect(), CRect(0, 0, 3200, 2400));
    EXPECT_EQ(ctrl.GetClientWindowMargin(0), CRect(0, 0, 400, 2400)) << "margin scales with the page";
    const CPoint page = ctrl.GetWorldToWindowP2D(c);
    EXPECT_NEAR(page.x, (400 + 3200) / 2.0, 1.0);
    EXPECT_NEAR(page.y, 1200, 1.0);
    EXPECT_EQ(ctrl.GetWorldToMemDCP2D(c), screen) << "the memory image keeps the screen transform";
    int wr = 0, hr = 0;
    ctrl.GetVirtualWHRatio(wr, hr);
    EXPECT_EQ(wr, 4);
    EXPECT_EQ(hr, 4);
    EXPECT_NEAR(ctrl.GetWorldLength(400.0), screenLen, 1e-9);

    ctrl.EndVirtualMode();
    ctrl.GetVirtualWHRatio(wr, hr);
    EXPECT_EQ(wr, 1);
    EXPECT_EQ(hr, 1);
    EXPECT_EQ(ctrl.GetWorldToWindowP2D(c), screen);
    // A page without area is refused.
    ctrl.StartVirtualMode(0, 100);
    EXPECT_FALSE(ctrl.IsVirtualMode());
}

// World length and pixel distance are inverse; panning and zooming leave the zoom-all state.
TEST(GrxTransform, WorldLengthZoomAndPan) {
    I_PVXCtrl ctrl;
    ctrl.SetClientSize(640, 480);
    ctrl.GetCamera().SetStandardView(GViewCamera::VIEW_FRONT);
    ctrl.ZoomToRange(C3DPoint(0, 0, 0), C3DPoint(20, 0, 10));
    const C3DPoint a(0, 0, 0), b(10, 0, 0);
    const double px = ctrl.GetWorldToWindowP3D(b).x - ctrl.GetWorldToWindowP3D(a).x;
    EXPECT_NEAR(ctrl.GetWorldLength(px), 10.0, 1e-9);
    ctrl.ViewZoom(2.0);
    EXPECT_FALSE(ctrl.IsZoomAllState());
    EXPECT_NEAR(ctrl.GetWorldToWindowP3D(b).x - ctrl.GetWorldToWindowP3D(a).x, 2 * px, 1e-6);
    const CPoint before = ctrl.GetWorldToMemDCP2D(a);
    ctrl.ViewPan(15, -7);
    const CPoint after = ctrl.GetWorldToMemDCP2D(a);
    EXPECT_EQ(after.x - before.x, 15);
    EXPECT_EQ(after.y - before.y, -7);
    ctrl.ViewZoom(-1.0);  // refused
    EXPECT_EQ(ctrl.GetWorldToMemDCP2D(a), after);
    CPoint mem;
    ctrl.GetClientToMemDC(CPoint(12, 34), mem);
    EXPECT_EQ(mem, CPoint(12, 34));
    // Points far away or not numbers land off-screen with defined coordinates.
    const CPoint far = ctrl.GetWorldToMemDCP2D(C3DPoint(-1e300, 0, 0));
    EXPECT_LT(far.x, 0);
    const CPoint nan = ctrl.GetWorldToMemDCP2D(C3DPoint(std::nan(""), 0, 0));
    EXPECT_LT(nan.x, 0);
    EXPECT_LT(nan.y, 0);
}

}  // namespace
