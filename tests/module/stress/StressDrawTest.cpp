// The drawing side of the stress engine on two plates seen from above: principal stress arrows,
// contour values per face vertex, the surface of a face, number labels with their extreme
// filter, the cutting-line group and Escape.
#include <algorithm>
#include <string>

#include "platform/ui/CUiDriver.h"
#include "tests/module/stress/StressTestSupport.h"

namespace {

// Two T-girder plates (members 204): plate 1 (301, nodes 1 2 3 4, 2 x 2 m at the origin) and
// plate 2 (302, nodes 2 5 6 3, 4 x 2 m, axes turned by 30 degrees), a beam 4 (201) along 4-3;
// one member each. Corner stresses are
// equal normal stresses a with no shear: every stress of the corner is a.
class StressDrawTest : public StressFixture {
protected:
    // Centre of plate 2: tau-xy = t on both surfaces (principal t and -t at 45 degrees for t > 0).
    void Build(const double a1[4], const double a2[4], double t2 = 5.0) {
        T_STRP_DL r1, r2;
        r1.Initialize();
        r2.Initialize();
        SetSurface(r1.blk[0], 0, 7, -1, 3);  // principal 8 and -2
        SetSurface(r1.blk[0], 1, 7, -1, 3);
        SetSurface(r2.blk[0], 0, 0, 0, t2);
        SetSurface(r2.blk[0], 1, 0, 0, t2);
        for (int k = 0; k < 4; ++k) {
            SetSurface(r1.blk[k + 1], 0, a1[k], a1[k], 0);
            SetSurface(r1.blk[k + 1], 1, -a1[k], -a1[k], 0);
            SetSurface(r2.blk[k + 1], 0, a2[k], a2[k], 0);
            SetSurface(r2.blk[k + 1], 1, -a2[k], -a2[k], 0);
        }
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 2, 0, 0);
        b.AddNode(3, 2, 2, 0);
        b.AddNode(4, 0, 2, 0);
        b.AddNode(5, 6, 0, 0);
        b.AddNode(6, 6, 2, 0);
        b.AddElem(1, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        b.AddElem(2, PELEM_KIND_PLATE, 302, {2, 5, 6, 3}, 0, 0, 30.0);
        b.AddElem(4, PELEM_KIND_FRAME, 201, {4, 3});
        b.AddMemb(10, 204, {1, 2, 3, 4}, {1});
        b.AddMemb(11, 204, {2, 5, 6, 3}, {2});
        b.AddMemb(13, 201, {4, 3}, {4});
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        b.AddStrp(1, 1, r1);
        b.AddStrp(1, 2, r2);
        // Nodes 3 and 6 settle by 10 mm, the others stay.
        for (UINT n : {1u, 2u, 3u, 4u, 5u, 6u}) {
            T_DISP_D d{};
            d.DZ = n == 3 || n == 6 ? -10.0 : 0.0;
            b.AddDisp(1, n, d);
        }
        Open(b);
        SelectStatic(1);
        M().m_bContour = 1;
        M().m_pDeformEngine = new CDeformEngine(&M());
        M().m_pDispOpt->m_Number.m_nDecimals = 2;
        M().m_pDispOpt->m_Number.m_bExponent = 0;
        M().m_pDispOpt->m_Number.m_nNumberOpt2 = 0;
        if (!m_dc.GetSafeHdc()) {
            ASSERT_TRUE(m_dc.Create());
        }
    }
    int Make(int nComponent, int nSurface = 0) {
        E().m_nComponent = nComponent;
        E().m_nSurface = nSurface;
        return E().InitEngine(nullptr, PVXMode::kPlateStress);
    }
    std::vector<std::string> Texts() {
        std::vector<std::string> out;
        for (const GdiRecord* r : m_dc.GetRecords("TextOut")) out.push_back(r->text);
        std::sort(out.begin(), out.end());
        return out;
    }
    CRecordDC m_dc;
};

void ExpectPoint(const C3DPoint& got, const C3DPoint& want, const char* what) {
    EXPECT_NEAR(got.x, want.x, 1e-9) << what;
    EXPECT_NEAR(got.y, want.y, 1e-9) << what;
    EXPECT_NEAR(got.z, want.z, 1e-9) << what;
}

TEST_F(StressDrawTest, ArrowsAlongThePrincipalDirections) {
    const double a[4] = {1, 2, 3, 4};
    struct Row {
        const char* label;
        double t;          // shear at plate 2's centre: principal t and -t at 45 degrees (t > 0)
        double s1, s2;     // its principal stresses
        double head1;      // head base of the sigma-1 arrow, times d1 from the centre
        double head2;      // head base of the sigma-2 arrow, times d2
    } rows[] = {
        // Tension 5: tip C + 5 d1, head base C + (5 - 0.2 x 5) d1; compression -5 along d2: head
        // base C + (5 + 0.2 x 5) d2.
        {"shear 5", 5.0, 5.0, -5.0, 4.0, 6.0},
        // Shear -5: principal 5 and -5 at -45 degrees.
        {"shear -5", -5.0, 5.0, -5.0, 4.0, 6.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Build(a, a, row.t);
        ASSERT_EQ(Make(7), 1);
        E().m_bKeepVectorFactor = 1;  // k = 1: an arrow as long as its stress
        E().m_dVectorFactor = 1.0;
        E().arrows.clear();
        ASSERT_EQ(E().DoPStrsElementVector(&m_dc, 2), 1);
        ASSERT_EQ(E().arrows.size(), 2u);
        // Local x of plate 2 at 30 degrees, turned by the principal angle (+-45) about z.
        const double th = (30.0 + (row.t > 0 ? 45.0 : -45.0)) * M_PI / 180.0;
        const C3DPoint d1(std::cos(th), std::sin(th), 0), d2(-std::sin(th), std::cos(th), 0);
        const C3DPoint c(4, 1, 0);
        const auto& a1 = E().arrows[0];
        ExpectPoint(a1.base, c, "sigma-1 base");
        ExpectPoint(a1.tip, c + d1 * row.s1, "sigma-1 tip");
        ExpectPoint(a1.barbA, c + d1 * row.head1 + d2 * (0.2 * row.s1), "sigma-1 barb");
        ExpectPoint(a1.barbB, c + d1 * row.head1 - d2 * (0.2 * row.s1), "sigma-1 other barb");
        const auto& a2 = E().arrows[1];
        ExpectPoint(a2.tip, c + d2 * std::fabs(row.s2), "sigma-2 tip");
        ExpectPoint(a2.barbA, c + d2 * row.head2 + d1 * (0.2 * std::fabs(row.s2)), "sigma-2 barb");
        EXPECT_EQ(a1.color, E().m_pContourEngine->GetValueColor(row.s1));
        EXPECT_EQ(a2.color, E().m_pContourEngine->GetValueColor(row.s2));
        m_model.reset();
        m_engine.reset();
    }
}

TEST_F(StressDrawTest, VectorDisplayDrawsEveryPlateOnce) {
    const double a[4] = {1, 2, 3, 4};
    Build(a, a);
    ASSERT_EQ(Make(7), 1);
    E().DrawPStrsContour(&m_dc);
    EXPECT_EQ(E().arrows.size(), 4u) << "two arrows on each of the two plates";
    EXPECT_TRUE(E().faces.empty());
    // The vector factor came from the build: plate 1's 8 is the reference, plate 1 is 2 m wide
    // and the model 6 m: max(0.35 x 2, 0.025 x 6) / 8.
    EXPECT_NEAR(E().m_dVectorFactor, 0.7 / 8.0, 1e-12);
}

TEST_F(StressDrawTest, OnTheDeformedShape) {
    const double a[4] = {1, 2, 3, 4};
    Build(a, a);
    ASSERT_EQ(Make(3), 1);
    CDeformEngine& d = *M().m_pDeformEngine;
    d.m_nComponent = 2;  // DZ
    ASSERT_EQ(d.InitEngine(), 1);
    M().InitDeformed(0);
    E().m_bDeformed = 1;
    E().DrawPStrsContour(&m_dc);
    ASSERT_EQ(E().faces.size(), 2u);
    // The faces are the deformed ones: the corners at nodes 3 (2,2) and 6 (6,2) lie lower.
    int lowered = 0;
    for (const auto& f : E().faces)
        for (const C3DPoint& p : f.points) {
            if (p.y == 2.0 && (p.x == 2.0 || p.x == 6.0)) {
                EXPECT_LT(p.z, 0.0) << "at " << p.x;
                ++lowered;
            } else {
                EXPECT_EQ(p.z, 0.0) << "at " << p.x << ", " << p.y;
            }
        }
    EXPECT_EQ(lowered, 3) << "node 3 is a corner of both plates, node 6 of one";

    // Without a deformation engine nothing is drawn on the deformed shape.
    E().faces.clear();
    delete M().m_pDeformEngine;
    M().m_pDeformEngine = nullptr;
    E().DrawPStrsContour(&m_dc);
    EXPECT_TRUE(E().faces.empty());
    m_dc.Clear();
    E().OutputPStrsNumbers(&m_dc);
    EXPECT_EQ(m_dc.Count("TextOut"), 0u);
}

TEST_F(StressDrawTest, ContourVerticesTakeTheirCornerOrTheCentre) {
    const double a1[4] = {1, 2, 3, 4}, a2[4] = {6, -12, 0, 3};
    Build(a1, a2);
    ASSERT_EQ(Make(3), 1);
    E().DrawPStrsContour(&m_dc);
    ASSERT_EQ(E().faces.size(), 2u);
    const auto face1 = std::find_if(E().faces.begin(), E().faces.end(), [](const auto& f) {
        return std::any_of(f.points.begin(), f.points.end(), [](const C3DPoint& p) { return p.x == 0.0; });
    });
    ASSERT_NE(face1, E().faces.end());
    // The value of each vertex is its node's corner: node 1 at (0,0) 1, node 2 2, node 3 3, node 4 4.
    for (size_t v = 0; v < face1->points.size(); ++v) {
        const C3DPoint& p = face1->points[v];
        const double want = p.x == 0 ? (p.y == 0 ? 1 : 4) : (p.y == 0 ? 2 : 3);
        EXPECT_EQ(face1->values[v], want) << "vertex at " << p.x << ", " << p.y;
    }

    // A vertex whose node is not among the element's shape nodes takes the centre value (8).
    ASSERT_EQ(E().m_mapSbem[1].m_arrNodeKey.GetSize(), 4);
    E().m_mapSbem[1].m_arrNodeKey[2] = 999;
    E().faces.clear();
    E().DoPStrsElementContour(&m_dc, 1);
    ASSERT_EQ(E().faces.size(), 1u);
    for (size_t v = 0; v < E().faces[0].points.size(); ++v) {
        const C3DPoint& p = E().faces[0].points[v];
        if (p.x == 2 && p.y == 2) {
            EXPECT_EQ(E().faces[0].values[v], 8) << "node 3";
        }
    }

    // With the contour switch off the faces get no bands.
    E().m_bContour = 0;
    E().faces.clear();
    E().DrawPStrsContour(&m_dc);
    EXPECT_TRUE(E().faces.empty());
}

TEST_F(StressDrawTest, SurfaceOfAFaceAndOfItsVertices) {
    const double a[4] = {1, 2, 3, 4};
    Build(a, a);
    T_PELEM_D elem;
    ASSERT_TRUE(M().GetAttrCtrl()->GetElem(1, elem));
    struct Row {
        const char* label;
        std::vector<UINT> keys;
        int surface;
    } rows[] = {
        {"top face in node order", {1, 2, 3, 4}, 0},
        {"a face whose last key is not the element's", {11, 12, 13, 14}, 1},
        {"side face: keys 1 and 2 equal", {1, 2, 2, 1}, 2},
        {"too few keys", {1, 2}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CArray<UINT> keys;
        for (UINT k : row.keys) keys.Add(k);
        EXPECT_EQ(E().GetSurface(elem, static_cast<int>(keys.GetSize()), &keys), row.surface);
    }
    struct TB {
        int s, v, expected;
    } tb[] = {{2, 0, 1}, {2, 1, 1}, {2, 2, 0}, {2, 3, 0}, {0, 0, 0}, {1, 3, 1}, {5, 0, 0}};
    for (const TB& t : tb) EXPECT_EQ(CStressEngine::GetTopBot(t.s, t.v), t.expected) << t.s << ", " << t.v;
}

TEST_F(StressDrawTest, NumbersShowExtremesOrCentreValues) {
    const double a1[4] = {1, 2, 3, 4}, a2[4] = {10, -10, 0, 0};
    Build(a1, a2);
    ASSERT_EQ(Make(3), 1);
    struct Row {
        const char* label;
        int pos;
        int comp;
        std::vector<std::string> texts;
    } rows[] = {
        // Plate 1: extremes 4 and 1, the larger magnitude 4; plate 2: 10 and -10, a tie goes to
        // the minimum.
        {"element extremes", 0, 3, {"-10.00", "4.00"}},
        {"position 4 is the extremes too", 4, 3, {"-10.00", "4.00"}},
        // Centre sigma-1: plate 1 8, plate 2 5.
        {"centre values", 1, 3, {"5.00", "8.00"}},
        // Vectors take the centre's principal stresses: plate 1 8 and -2, plate 2 5 and -5.
        {"vectors show extremes at position 1 too", 1, 7, {"-5.00", "8.00"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        ASSERT_EQ(Make(row.comp), 1);
        E().m_nNumberPos = row.pos;
        m_dc.Clear();
        E().OutputPStrsNumbers(&m_dc);
        EXPECT_EQ(Texts(), row.texts);
    }
}

TEST_F(StressDrawTest, ExtremeFilterKeepsValuesNearTheRange) {
    // Range -50..50 from plate 1; plate 2's maximum is 41 or 39.
    const double a1[4] = {50, -50, 0, 0};
    struct Row {
        const char* label;
        double max2;
        int kind;
        std::vector<std::string> texts;
    } rows[] = {
        // Kind 0, 10 % of 100: within 10 of 50 is a maximum, within 10 of -50 a minimum.
        {"41 is near the maximum", 41, 0, {"Max:41.00", "Max:50.00"}},
        {"39 is not", 39, 0, {"Max:50.00"}},
        {"maximum only", 41, 2, {"Max:41.00", "Max:50.00"}},
        {"minimum only", 41, 3, {"Min:-50.00"}},
        // Absolute: |50| - |shown| within 10; plate 1 shows -50 (a tie), plate 2 shows 41.
        {"absolute", 41, 1, {"MAX:-50.00", "MAX:41.00"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const double a2[4] = {row.max2, 0, 0, 0};
        Build(a1, a2);
        ASSERT_EQ(Make(3), 1);
        T_PVX_DOPT_NUMBER_D& n = M().m_pDispOpt->m_Number;
        n.m_nNumberOpt2 = 1;
        n.m_nNumberOpt1 = row.kind;
        n.m_dNumberFactor = 10.0;
        m_dc.Clear();
        E().OutputPStrsNumbers(&m_dc);
        EXPECT_EQ(Texts(), row.texts);
        m_engine.reset();
        m_model.reset();
    }
}

TEST_F(StressDrawTest, CuttingLineGroupAndEscape) {
    const double a[4] = {1, 2, 3, 4};
    Build(a, a);
    ASSERT_EQ(Make(3), 1);
    Ctrl()->XGL_ClearGroupLog();
    E().DrawPStrsContour(&m_dc);
    // The group of the cutting-line diagrams is written even without cutting lines.
    int begins = 0, ends = 0;
    for (const GXglGroup& g : Ctrl()->XGL_GetGroupLog()) {
        begins += g.kind == GXglGroup::CUTTING_BEGIN;
        ends += g.kind == GXglGroup::CUTTING_END;
    }
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(E().faces.size(), 2u);

    // Escape at the first member stops the drawing with nothing drawn and the options restored.
    E().faces.clear();
    M().m_pDispOpt->m_bWireFrame = 0;
    CUiDriver::Get().PressEscapeAfterPolls(0);
    E().DrawPStrsContour(&m_dc);
    EXPECT_TRUE(E().faces.empty());
    EXPECT_EQ(M().m_pDispOpt->m_bWireFrame, 0);
    CUiDriver::Get().Reset();
    Ctrl()->ResetEscKeyPress();
}

}  // namespace
