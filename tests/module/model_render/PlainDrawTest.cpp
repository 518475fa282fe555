// Plain model drawing: depth order of the faces, pen widths from the pen factor, flat shading,
// hidden-line and inactive styles, the slab pass, column outlines and Escape.
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <new>
#include <vector>

#include "RenderTestSupport.h"
#include "module/model/CUtilFuncs.h"
#include "platform/ui/CUiDriver.h"

namespace {

constexpr COLORREF kRed = RGB(220, 30, 30), kGreen = RGB(30, 200, 30), kBlue = RGB(30, 30, 220);
constexpr COLORREF kEdge = RGB(250, 250, 0);

// Three 10 m plates stacked 1 m apart, each shifted 2 m along x and y, so all three overlap
// around (7, 7); member types 300, 302 and 301 (bottom to top) have their own colours.
void BuildStack(PostDBBuilder& b) {
    const int types[3] = {300, 302, 301};
    for (int i = 0; i < 3; ++i) {
        const double o = 2.0 * i, z = i;
        const UINT n = 10 * i + 1;
        b.AddNode(n, o, o, z);
        b.AddNode(n + 1, o + 10, o, z);
        b.AddNode(n + 2, o + 10, o + 10, z);
        b.AddNode(n + 3, o, o + 10, z);
        b.AddElem(i + 1, PELEM_KIND_PLATE, 301, {n, n + 1, n + 2, n + 3});
        b.AddMemb(i + 1, types[i], {n, n + 1, n + 2, n + 3}, {static_cast<UINT>(i + 1)});
    }
}

class PlainDrawTest : public RenderFixture {
protected:
    void OpenStack() {
        PostDBBuilder b;
        BuildStack(b);
        Open(b);
        T_PVX_DOPT_D& o = *M().m_pDispOpt;
        o.m_nRenderMode = 3;  // faces with edges of their own colour
        o.m_Color.m_aTypeColor[T_PVX_DOPT_D::TypeColorIndex(300)] = {kRed, kRed, kEdge};
        o.m_Color.m_aTypeColor[T_PVX_DOPT_D::TypeColorIndex(302)] = {kGreen, kGreen, kEdge};
        o.m_Color.m_aTypeColor[T_PVX_DOPT_D::TypeColorIndex(301)] = {kBlue, kBlue, kEdge};
    }
    std::vector<COLORREF> FillOrder(const CRecordDC& rec) {
        std::vector<COLORREF> out;
        for (const GdiRecord* r : rec.GetRecords("Polygon")) out.push_back(r->brush.lbColor);
        return out;
    }
};

TEST_F(PlainDrawTest, FacesAreFilledBackToFront) {
    OpenStack();
    struct Row {
        const char* name;
        int view;
        std::vector<COLORREF> order;  // farthest first
    } rows[] = {
        {"plan from above", GViewCamera::VIEW_TOP, {kRed, kGreen, kBlue}},
        {"plan from below", GViewCamera::VIEW_BOTTOM, {kBlue, kGreen, kRed}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Ctrl()->SetStandardView(row.view);
        CRecordDC rec;
        ASSERT_TRUE(rec.Create(kWidth, kHeight));
        EXPECT_EQ(M().PVXDrawOriginal(&rec, 0), 1);
        EXPECT_EQ(FillOrder(rec), row.order);
        // Where all three overlap the nearest one shows.
        const CPoint p = Ctrl()->GetWorldToMemDCP2D(C3DPoint(7, 7, 1));
        EXPECT_EQ(rec.GetPixel(p.x, p.y), row.order.back());
    }
}

TEST_F(PlainDrawTest, PenWidthFollowsTargetResolution) {
    ASSERT_TRUE(OpenFile(SampleProjectPath())) << "the sample project could not be opened or made";
    I_PVXModel& m = M();
    // Faces the plain drawing must fill: every face of three or more points of every member.
    long nFaces = 0;
    for (INT_PTR i = 0; i < m.m_arrActiveMembKey.GetSize(); ++i) {
        T_PMEMB_D memb;
        ASSERT_TRUE(m.GetAttrCtrl()->GetMemb(m.m_arrActiveMembKey[i], memb));
        PVXPolyListArray faces;
        T_SHAPE_ARGUMENT arg;
        m.GetShapeMember(m.m_arrActiveMembKey[i], memb, faces, nullptr, arg, 0, 1);
        for (INT_PTR f = 0; f < faces.GetSize(); ++f) nFaces += faces[f]->GetCount() >= 3;
        I_PVXModel::FreeMemoryPolyList(&faces, nullptr, nullptr, nullptr);
    }
    ASSERT_GT(nFaces, 100);

    struct Row {
        int dpi, wire, factor, width;
    } rows[] = {
        {96, 0, 1, 1}, {600, 0, 2, 2}, {800, 0, 3, 3},
        {96, 1, 1, 1},   // int(1 x 1.7)
        {600, 1, 2, 3},  // int(2 x 1.7)
        {499, 0, 1, 1}, {500, 0, 2, 2}, {750, 0, 3, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.dpi << " dpi, wire frame " << row.wire);
        m.m_pDispOpt->m_bWireFrame = row.wire;
        Ctrl()->GetMemDC()->SetDeviceCaps(LOGPIXELSX, row.dpi);
        m.PVXRender();
        EXPECT_EQ(m.m_nPenFactor, row.factor);

        CRecordDC rec;
        ASSERT_TRUE(rec.Create());
        m._PVXRender(&rec);
        const auto lines = rec.GetRecords("LineTo");
        ASSERT_FALSE(lines.empty());
        size_t wrong = 0;
        for (const GdiRecord* r : lines) wrong += r->pen.lopnWidth.x != row.width;
        EXPECT_EQ(wrong, 0u) << "of " << lines.size() << " edges";
        EXPECT_EQ(static_cast<long>(rec.Count("Polygon")), row.wire ? 0 : nFaces);
    }
    Ctrl()->GetMemDC()->SetDeviceCaps(LOGPIXELSX, 96);
}

TEST_F(PlainDrawTest, FlatShadingLightsEachFaceOnce) {
    OpenStack();
    I_PVXModel& m = M();
    T_LIGHT_D& light = m_view.GetLightData();
    light.m_bShading = 1;
    light.m_bSpecular = 1;
    light.m_dAmbient = 0.2;
    light.m_dDiffuse = 0.8;
    light.m_nSpecular = 40;

    struct ShadeRow {
        const char* name;
        double n[3], L[3], H[3];
        int shininess;
        double diffuse, specular;
    } shades[] = {
        {"facing the light", {0, 0, 1}, {0, 0, 1}, {1, 0, 0}, 100, 1.0, 0.0},
        {"light from behind the viewer's side", {0, 0, 1}, {0, 0, -1}, {1, 0, 0}, 100, 0.2, 0.0},
        {"oblique light", {0, 0, 1}, {0.6, 0, 0.8}, {1, 0, 0}, 100, 0.84, 0.0},
        {"highlight straight on", {0, 0, 1}, {0, 0, 1}, {0, 0, 1}, 100, 1.0, 40.0},
        {"shininess 128: exponent 0", {0, 0, 1}, {0, 0, 1}, {1, 0, 0}, 128, 1.0, 40.0},
        {"shininess beyond 128 stays finite", {0, 0, 1}, {0, 0, 1}, {1, 0, 0}, 200, 1.0, 40.0},
        {"lit side turned from the viewer", {0.6, 0, -0.8}, {1, 0, 0}, {0, 0, 1}, 100, 0.2, 0.0},
    };
    for (ShadeRow& r : shades) {
        SCOPED_TRACE(r.name);
        light.m_nShininess = r.shininess;
        double d = -1, s = -1;
        m.GetShadingFactor(r.n, r.L, r.H, d, s);
        EXPECT_NEAR(d, r.diffuse, 1e-12);
        EXPECT_NEAR(s, r.specular, 1e-12);
    }

    m.m_pDispOpt->m_bShading = 1;
    struct ColorRow {
        const char* name;
        double diffuse, specular;
        COLORREF out;
    } colors[] = {
        {"saturates", 1.2, 20, RGB(255, 140, 80)},
        {"halves", 0.5, 0, RGB(100, 50, 25)},
        {"negative light is black, not white", -0.5, 0, RGB(0, 0, 0)},
        {"unchanged", 1.0, 0, RGB(200, 100, 50)},
    };
    for (const ColorRow& r : colors) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(m.GetShadeFactoredColor(RGB(200, 100, 50), r.diffuse, r.specular), r.out);
    }
    m.m_pDispOpt->m_bShading = 0;
    EXPECT_EQ(m.GetShadeFactoredColor(RGB(200, 100, 50), 0.5, 0), RGB(200, 100, 50));

    // A plate seen from above under a light from the viewer, diffuse 0.5 and no ambient: its fill
    // is half its colour; shading off it keeps its colour.
    light.m_bSpecular = 0;
    light.m_dAmbient = 0.0;
    light.m_dDiffuse = 0.5;
    light.m_dLightDir[0] = light.m_dLightDir[1] = 0.0;
    light.m_dLightDir[2] = 1.0;
    for (int shading = 0; shading < 2; ++shading) {
        SCOPED_TRACE(shading ? "shaded" : "flat");
        m.m_pDispOpt->m_bShading = shading;
        CRecordDC rec;
        ASSERT_TRUE(rec.Create());
        ASSERT_EQ(m.PVXDrawOriginal(&rec, 0), 1);
        const std::vector<COLORREF> half = {RGB(110, 15, 15), RGB(15, 100, 15), RGB(15, 15, 110)};
        const std::vector<COLORREF> full = {kRed, kGreen, kBlue};
        EXPECT_EQ(FillOrder(rec), shading ? half : full);
    }
}

// The band lists' shader gives, for every polygon, what the generic path gives for the same
// points: the unit Newell normal of its view points lit by the view's light, then
// GetShadeFactoredColor (as GetFlatShadingFactor of its world points gives too); also when it
// answers from the polygons shaded before it (same colour, same normal bits).
TEST_F(PlainDrawTest, FlatShaderColoursAsTheGenericPath) {
    OpenStack();
    I_PVXModel& m = M();
    T_LIGHT_D& light = m_view.GetLightData();
    light.m_bShading = 1;
    light.m_bSpecular = 1;
    light.m_dAmbient = 0.15;
    light.m_dDiffuse = 0.7;
    light.m_nSpecular = 30;
    light.m_nShininess = 90;
    m.m_pDispOpt->m_bShading = 1;
    m.m_pPVXCtrl->SetStandardView(GViewCamera::VIEW_ISO);
    struct Row {
        const char* name;
        std::vector<C3DPoint> pts;
        COLORREF color;
    } rows[] = {
        {"plan triangle", {C3DPoint(0, 0, 0), C3DPoint(4, 0, 0), C3DPoint(0, 3, 0)}, RGB(200, 100, 50)},
        {"the same triangle turned the other way", {C3DPoint(0, 0, 0), C3DPoint(0, 3, 0), C3DPoint(4, 0, 0)}, RGB(200, 100, 50)},
        {"the same again (kept answer)", {C3DPoint(0, 0, 0), C3DPoint(4, 0, 0), C3DPoint(0, 3, 0)}, RGB(200, 100, 50)},
        {"same normal, other colour", {C3DPoint(1, 1, 0), C3DPoint(5, 1, 0), C3DPoint(1, 4, 0)}, RGB(10, 250, 90)},
        {"tilted triangle", {C3DPoint(0, 0, 0), C3DPoint(3, 0, 2), C3DPoint(0, 5, 1)}, RGB(200, 100, 50)},
        {"vertical triangle", {C3DPoint(0, 0, 0), C3DPoint(3, 0, 0), C3DPoint(3, 0, 7)}, RGB(90, 90, 255)},
        {"tiny triangle", {C3DPoint(0, 0, 0), C3DPoint(1e-9, 0, 0), C3DPoint(0, 1e-9, 3e-10)}, RGB(200, 100, 50)},
        {"degenerate triangle (a line)", {C3DPoint(0, 0, 0), C3DPoint(1, 1, 1), C3DPoint(2, 2, 2)}, RGB(200, 100, 50)},
        {"triangle with a point given twice", {C3DPoint(0, 0, 0), C3DPoint(0, 0, 0), C3DPoint(2, 1, 3)}, RGB(200, 100, 50)},
        {"warped quadrilateral", {C3DPoint(0, 0, 0), C3DPoint(4, 0, 1), C3DPoint(4, 4, 0), C3DPoint(0, 4, 2)}, RGB(30, 60, 90)},
        {"plan pentagon", {C3DPoint(0, 0, 5), C3DPoint(2, 0, 5), C3DPoint(3, 1, 5), C3DPoint(1, 3, 5), C3DPoint(-1, 1, 5)}, RGB(255, 255, 255)},
        {"tilted hexagon", {C3DPoint(0, 0, 0), C3DPoint(2, 0, 1), C3DPoint(3, 1, 2), C3DPoint(2, 3, 3), C3DPoint(0, 3, 2), C3DPoint(-1, 1, 1)}, RGB(1, 2, 3)},
    };
    for (int view : {GViewCamera::VIEW_ISO, GViewCamera::VIEW_TOP}) {
        m.m_pPVXCtrl->SetStandardView(view);
        const I_PVXModel::FlatShader shade(m);
        for (const Row& r : rows) {
            SCOPED_TRACE(r.name);
            const int n = static_cast<int>(r.pts.size());
            std::vector<C3DPoint> vcs;
            for (const C3DPoint& p : r.pts) vcs.push_back(m.m_pPVXCtrl->GetVcsCoord(p));
            // The generic steps one by one: the Newell normal of the view points made unit, the
            // light's factors of it, the colour shaded by them.
            double normal[3];
            CUtilFuncs::GetNormalVector(n, vcs.data(), normal);
            CUtilFuncs::MakeUnitVector(normal);
            double f = 1.0, g = 0.0;
            m.GetShadingFactor(normal, light.m_dLightDir, light.m_dHighlightDir, f, g);
            const COLORREF want = m.GetShadeFactoredColor(r.color, f, g);
            EXPECT_EQ(shade.Color(r.color, vcs.data(), n), want) << "view " << view;
            double f2 = 1.0, g2 = 0.0;
            m.GetFlatShadingFactor(n, r.pts.data(), f2, g2);
            EXPECT_EQ(m.GetShadeFactoredColor(r.color, f2, g2), want) << "view " << view;
        }
    }
}

// The light shading reads is kept with the view it was found for: every change of the view, or
// of the kind of object at the view's address, gives the light of what is there now.
TEST_F(PlainDrawTest, ShadingLightFollowsTheView) {
    OpenStack();
    I_PVXModel& m = M();
    CView* const own = m.m_pView;
    struct PlainView : CView {
        void OnDraw(CDC*) override {}
    };
    // A face toward the viewer lit from the viewer without ambient light: the diffuse factor is
    // the light's diffuse share itself, 1 (and specular 0) where no light is found.
    auto light = [](GRenderView& v, double diffuse) {
        T_LIGHT_D& l = v.GetLightData();
        l.m_bShading = 1;
        l.m_bSpecular = 0;
        l.m_dAmbient = 0.0;
        l.m_dDiffuse = diffuse;
    };
    RenderTestView first, second;
    PlainView plain;
    light(first, 0.5);
    light(second, 0.25);
    alignas(RenderTestView) alignas(PlainView) unsigned char storage[std::max(sizeof(RenderTestView), sizeof(PlainView))];
    CView* reused = nullptr;  // the object now living in storage

    struct Row {
        const char* name;
        std::function<void()> change;
        double diffuse;
    };
    const std::vector<Row> rows = {
        {"a render view", [&] { m.m_pView = &first; }, 0.5},
        {"its light changed", [&] { first.GetLightData().m_dDiffuse = 0.75; }, 0.75},
        {"another render view", [&] { m.m_pView = &second; }, 0.25},
        {"a view that is no render view", [&] { m.m_pView = &plain; }, 1.0},
        {"no view", [&] { m.m_pView = nullptr; }, 1.0},
        {"back to the first", [&] { m.m_pView = &first; }, 0.75},
        {"a render view in reused storage",
         [&] {
             auto* v = new (storage) RenderTestView;
             light(*v, 0.125);
             reused = v;
             m.m_pView = v;
         },
         0.125},
        {"a plain view at the same address",
         [&] {
             std::destroy_at(static_cast<RenderTestView*>(reused));
             reused = new (storage) PlainView;
             m.m_pView = reused;
         },
         1.0},
    };
    double n[3] = {0, 0, 1}, L[3] = {0, 0, 1}, H[3] = {1, 0, 0};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        r.change();
        auto* rv = dynamic_cast<GRenderView*>(m.m_pView);
        EXPECT_EQ(m.ShadingLight(), rv ? &rv->GetLightData() : nullptr);
        double d = -1, s = -1;
        m.GetShadingFactor(n, L, H, d, s);
        EXPECT_DOUBLE_EQ(d, r.diffuse);
        EXPECT_EQ(s, 0.0);
    }
    std::destroy_at(static_cast<PlainView*>(reused));
    m.m_pView = own;
}

TEST_F(PlainDrawTest, HiddenLineAndInactiveStyles) {
    OpenStack();
    I_PVXModel& m = M();
    T_PVX_DOPT_D& o = *m.m_pDispOpt;
    o.m_Color.m_crBackground = RGB(1, 2, 3);
    o.m_Color.m_crInactive = RGB(90, 90, 90);
    o.m_Color.m_crInactiveSave = RGB(7, 7, 7);

    // Hidden line: faces in the background colour, never shaded, shading back on afterwards.
    o.m_nRenderMode = 2;
    o.m_bShading = 1;
    m_view.GetLightData().m_bShading = 1;
    {
        CRecordDC rec;
        ASSERT_TRUE(rec.Create());
        ASSERT_EQ(m.PVXDrawOriginal(&rec, 0), 1);
        EXPECT_EQ(FillOrder(rec), std::vector<COLORREF>(3, RGB(1, 2, 3)));
        EXPECT_EQ(o.m_bShading, 1);
        EXPECT_EQ(o.m_nRenderMode, 2);
    }
    o.m_nRenderMode = 3;
    o.m_bShading = 0;

    // Member 2 hidden by the host: edges only, in the inactive colour.
    m.ResetOriginal();
    m.m_arrFlagMembKey.RemoveAll();
    m.m_arrFlagMembKey.Add(1);
    m.m_arrFlagMembKey.Add(3);
    m.m_arrNoFlagMembKey.RemoveAll();
    m.m_arrNoFlagMembKey.Add(2);
    m.InitOriginal();
    {
        CRecordDC rec;
        ASSERT_TRUE(rec.Create());
        ASSERT_EQ(m.PVXDrawOriginal(&rec, 0), 1);
        EXPECT_EQ(FillOrder(rec), (std::vector<COLORREF>{kRed, kBlue}));
        size_t inactive = 0;
        for (const GdiRecord* r : rec.GetRecords("LineTo")) inactive += r->pen.lopnColor == RGB(90, 90, 90);
        EXPECT_EQ(inactive, 4u);
    }

    // Slab pass with the undeformed style: every member's edges in its own colour through the
    // inactive drawers, no fills; the inactive colour and its save are as they were.
    m.m_nDisplayMode = 17;
    {
        CRecordDC rec;
        ASSERT_TRUE(rec.Create());
        ASSERT_EQ(m.PVXDrawOriginal(&rec, 1), 1);
        EXPECT_EQ(rec.Count("Polygon"), 0u);
        std::vector<COLORREF> pens;
        for (const GdiRecord* r : rec.GetRecords("LineTo"))
            if (pens.empty() || pens.back() != r->pen.lopnColor) pens.push_back(r->pen.lopnColor);
        EXPECT_EQ(pens, (std::vector<COLORREF>{kEdge}));
        EXPECT_EQ(rec.Count("LineTo"), 12u);
    }
    EXPECT_EQ(o.m_Color.m_crInactive, RGB(90, 90, 90));
    EXPECT_EQ(o.m_Color.m_crInactiveSave, RGB(7, 7, 7));
}

TEST_F(PlainDrawTest, EscapeStopsAndRestoresOptions) {
    OpenStack();
    I_PVXModel& m = M();
    T_PVX_DOPT_D& o = *m.m_pDispOpt;
    m.m_nPenFactor = 2;
    o.m_bWireFrame = 0;
    // Polls: the first atom, its face, then the second atom.
    CUiDriver::Get().PressEscapeAfterPolls(2);
    CRecordDC rec;
    ASSERT_TRUE(rec.Create());
    EXPECT_EQ(m.PVXDrawOriginal(&rec, 0), -1);
    EXPECT_EQ(FillOrder(rec), std::vector<COLORREF>{kRed});
    EXPECT_EQ(m.m_nPenFactor, 2);
    EXPECT_EQ(o.m_nRenderMode, 3);
    Ctrl()->ResetEscKeyPress();
}

TEST_F(PlainDrawTest, ColumnOutlineUnderForcedWireFrame) {
    PostDBBuilder b;
    T_PSECT_D sect;
    sect.Initialize();
    sect.type = 1;
    sect.dim[0] = 0.4;
    sect.dim[1] = 0.6;
    b.AddSect(1, sect);
    b.AddNode(1, 0, 0, 0);
    b.AddNode(2, 0, 0, 3);
    b.AddElem(1, PELEM_KIND_FRAME, 101, {1, 2}, 0, 1);
    b.AddMemb(1, 101, {1, 2}, {1});
    Open(b);
    I_PVXModel& m = M();
    m.m_pDispOpt->m_bWireFrame = 1;
    m.m_nPenFactor = 3;  // edges int(3 x 1.7) = 5 wide, outlines int(3 x 1.5) = 4
    for (int forced = 0; forced < 2; ++forced) {
        SCOPED_TRACE(forced ? "forced wire frame" : "plain wire frame");
        m.m_bForcedWireFrame = forced;
        CRecordDC rec;
        ASSERT_TRUE(rec.Create());
        ASSERT_EQ(m.PVXDrawOriginal(&rec, 0), 1);
        size_t outline = 0;
        for (const GdiRecord* r : rec.GetRecords("LineTo")) outline += r->pen.lopnWidth.x == 4;
        EXPECT_EQ(outline, forced ? 4u : 0u);
    }
}

// Label positions of nodes as the render-engine queries give them: the node itself, except
// node 4, which lies far off to the left of the picture.
class NodeLabelModel : public I_PVXModel {
public:
    int RE_GetLabelPosNodeByKey(UINT nKey, void* pPoint) override {
        T_PNODE_D n;
        if (!GetAttrCtrl()->GetNode(nKey, n)) return 0;
        *static_cast<C3DPoint*>(pPoint) = nKey == 4 ? C3DPoint(-1000, 0, 0) : C3DPoint(n.x, n.y, n.z);
        return 1;
    }
};

class ActiveNodeTest : public PlainDrawTest {
protected:
    std::unique_ptr<I_PVXModel> NewModel() override { return std::make_unique<NodeLabelModel>(); }
};

TEST_F(ActiveNodeTest, MarkersOfShownNodesInsideThePicture) {
    OpenStack();
    I_PVXModel& m = M();
    // Node 2 hidden by the host.
    m.ResetOriginal();
    m.m_arrActiveNodeKey.RemoveAll();
    for (UINT k : {1u, 3u, 4u}) m.m_arrActiveNodeKey.Add(k);
    m.m_arrInactiveNodeKey.RemoveAll();
    m.m_arrInactiveNodeKey.Add(2);
    m.m_arrFlagNodeKey.RemoveAll();
    for (UINT k : {1u, 2u, 3u, 4u}) m.m_arrFlagNodeKey.Add(k);
    m.InitOriginal();
    m.m_nDisplayMode = 40;
    auto markers = [&](auto draw) {
        CRecordDC rec;
        EXPECT_TRUE(rec.Create());
        draw(rec);
        return rec.Count("Rectangle");
    };
    EXPECT_EQ(markers([&](CRecordDC& dc) { m.PVXPutActiveNodes(&dc); }), 3u);
    EXPECT_EQ(markers([&](CRecordDC& dc) { m.XGR_PVXPutActiveNodes(&dc); }), 2u);
    // The render draws them only when the control shows nodes and does not mark them itself.
    Ctrl()->SetDrawNode(0);
    EXPECT_EQ(markers([&](CRecordDC& dc) { m._PVXRender(&dc); }), 0u);
    Ctrl()->SetDrawNode(1);
    EXPECT_EQ(markers([&](CRecordDC& dc) { m._PVXRender(&dc); }), 2u);
    Ctrl()->XGR_SetRenderNode(1);
    EXPECT_EQ(markers([&](CRecordDC& dc) { m._PVXRender(&dc); }), 0u);
}

}  // namespace
