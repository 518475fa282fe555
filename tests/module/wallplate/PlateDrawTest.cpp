// Plate force drawing of display mode 10: the colour of each face vertex, the members drawn
// plain, the principal-force arrows and their length, the numbers with the extreme filter, and
// Escape.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "module/engines/CDeformEngine.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CUiDriver.h"
#include "tests/module/ModuleTestSupport.h"
#include "tests/module/wallplate/WallPlateTestSupport.h"

namespace wallplatetest {
namespace {

// Notes the faces and the arrows it is given.
class ArrowEngine : public NoteEngine {
public:
    explicit ArrowEngine(I_PVXModelBase* p) : NoteEngine(p) {}
    struct Arrow {
        C3DPoint base, tip, a, b;
    };
    void DrawVectorArrow(CDC*, CDC*, C3DPoint base, C3DPoint tip, C3DPoint a, C3DPoint b) override {
        m_arrows.push_back({base, tip, a, b});
    }
    std::vector<Arrow> m_arrows;
};

class PlateDrawTest : public WallPlateTest {
protected:
    std::unique_ptr<ArrowEngine> Build(int comp) {
        auto e = std::make_unique<ArrowEngine>(&M());
        e->m_nPForcComp = comp;
        e->InitEngine(nullptr, PVXMode::kPlateForce);
        return e;
    }
};

TEST_F(PlateDrawTest, EachFaceVertexTakesTheCornerOfItsNode) {
    // Fxx: panel 00 holds 0, 3, 1, 0 at nodes 101, 102, 105, 104; the wall beam's panel 20, 40,
    // 60, 80; the girder 10. Every other member is drawn plain; no deformation engine is needed.
    auto e = Build(0);
    ASSERT_EQ(M().m_pDeformEngine, nullptr);
    e->DrawPForcContour(&m_dc);
    ASSERT_EQ(e->m_polys.size(), 6u);
    // Panel 00's corners by position: (0,0) 0, (2,0) 3, (2,2) 1, (0,2) 0.
    auto corner = [](const C3DPoint& p) { return p.z < 1.0 ? (p.x < 1.0 ? 0.0 : 3.0) : (p.x < 1.0 ? 0.0 : 1.0); };
    int seen = 0;
    for (const auto& p : e->m_polys) {
        bool panel00 = true;
        for (const C3DPoint& q : p.pts) panel00 = panel00 && q.x < 2.5 && q.z < 2.5 && q.y == 0.0;
        if (panel00) {
            ++seen;
            for (size_t k = 0; k < p.pts.size(); ++k) EXPECT_EQ(p.values[k], corner(p.pts[k])) << k;
        }
        if (p.pts[0].x > 5.0 && p.pts[0].x < 15.0) {
            ++seen;
            // The beam's corners by position: (6,4) 20, (14,4) 40, (14,6) 60, (6,6) 80.
            for (size_t k = 0; k < p.pts.size(); ++k) {
                const C3DPoint& q = p.pts[k];
                const double want = q.z < 5.0 ? (q.x < 10.0 ? 20.0 : 40.0) : (q.x < 10.0 ? 80.0 : 60.0);
                EXPECT_EQ(p.values[k], want);
            }
        }
    }
    EXPECT_EQ(seen, 2);
}

// On the deformed shape the faces are those of the deformation engine: node 105 (2, 0, 2),
// moved 0.01 down in DL, lies at z = 2 - 0.01 s with s the engine's drawing scale; its value
// stays the corner's (1).
TEST_F(PlateDrawTest, OnTheDeformedShapeTheFacesAreTheDeformationEnginesFaces) {
    Reinstall([](PostDBBuilder& b) {
        T_DISP_D d;
        d.Initialize();
        d.DZ = -0.01;
        b.AddDisp(kDL, WallNode(1, 1), d);
    });
    M().m_pDeformEngine = new CDeformEngine(&M());
    M().m_nDisplayMode = PVXMode::kPlateForce;
    CDeformEngine& de = *M().m_pDeformEngine;
    de.m_nComponent = 2;  // DZ
    ASSERT_EQ(de.InitEngine(), 1);
    const double s = de.GetScale();
    ASSERT_GT(s, 0.0);
    auto e = std::make_unique<NoteEngine>(&M());
    e->m_nPForcComp = 0;
    e->m_bDeformed = 1;
    e->InitEngine(M().m_pDeformEngine, PVXMode::kPlateForce);
    ASSERT_EQ(e->DoPForcElementContour(&m_dc, kPanel00), 1);
    ASSERT_EQ(e->m_polys.size(), 1u);
    const auto& p = e->m_polys[0];
    int found = 0;
    for (size_t k = 0; k < p.pts.size(); ++k) {
        EXPECT_FALSE(Near(p.pts[k], C3DPoint(2, 0, 2))) << "no corner at the undeformed position";
        if (Near(p.pts[k], C3DPoint(2, 0, 2 - 0.01 * s), 1e-9)) {
            ++found;
            EXPECT_EQ(p.values[k], 1.0);
        }
    }
    EXPECT_EQ(found, 1);
    // Without the flag the same face lies where the model has it.
    e->m_polys.clear();
    e->m_bDeformed = 0;
    ASSERT_EQ(e->DoPForcElementContour(&m_dc, kPanel00), 1);
    ASSERT_EQ(e->m_polys.size(), 1u);
    EXPECT_TRUE(std::any_of(e->m_polys[0].pts.begin(), e->m_polys[0].pts.end(),
                            [](const C3DPoint& q) { return Near(q, C3DPoint(2, 0, 2)); }));
}

TEST_F(PlateDrawTest, AVertexOffTheSubElementsCornersTakesTheCentre) {
    auto e = Build(0);
    // The record of panel 00 forgets node 105: its vertex there shows the centre value (100).
    T_PVX_SBEM_D sb;
    ASSERT_TRUE(e->GetSbemD(kPanel00, sb));
    sb.m_arrNodeKey[2] = 999;
    e->m_mapSbem.SetAt(kPanel00, sb);
    ASSERT_EQ(e->DoPForcElementContour(&m_dc, kPanel00), 1);
    ASSERT_EQ(e->m_polys.size(), 1u);
    const auto& p = e->m_polys[0];
    for (size_t k = 0; k < p.pts.size(); ++k) {
        if (Near(p.pts[k], C3DPoint(2, 0, 2))) {
            EXPECT_EQ(p.values[k], 100.0);
        }
    }
}

// The values a drawing reads are kept from drawing to drawing: every edit of the records, the
// sub-elements or the component between two drawings must show in the second. Panel 00's vertex
// at node 102 (2, 0, 0) is its corner 2: Fxx 3, Fyy 4 (the conversion record), centre Fxx 100.
TEST_F(PlateDrawTest, KeptValuesFollowEveryEditBetweenDrawings) {
    constexpr double kNotDrawn = -1.0;
    struct Row {
        const char* label;
        std::function<void(CForceEngine&)> edit;
        double want;  // at (2, 0, 0) of panel 00; kNotDrawn when the panel has no bands
    } const rows[] = {
        {"nothing edited", [](CForceEngine&) {}, 3.0},
        {"record set anew",
         [](CForceEngine& e) {
             T_STRP_DL r;
             ASSERT_TRUE(e.GetPlateForce(kPanel00, r));
             r.blk[2][14] = 42.0;
             e.m_mapPForc.SetAt(kPanel00, r);
         },
         42.0},
        {"record written in place", [](CForceEngine& e) { e.m_mapPForc.PLookup(kPanel00)->value.blk[2][14] = 43.0; }, 43.0},
        {"record written by key", [](CForceEngine& e) { e.m_mapPForc[kPanel00].blk[2][14] = 44.0; }, 44.0},
        {"node of the corner replaced: the centre",
         [](CForceEngine& e) { e.m_mapSbem[kPanel00].m_arrNodeKey[1] = 999; }, 100.0},
        {"sub-element removed", [](CForceEngine& e) { e.m_mapSbem.RemoveKey(kPanel00); }, kNotDrawn},
        {"record removed", [](CForceEngine& e) { e.m_mapPForc.RemoveKey(kPanel00); }, kNotDrawn},
        {"component Fyy", [](CForceEngine& e) { e.m_nPForcComp = 1; }, 4.0},
        {"records replaced whole",
         [](CForceEngine& e) {
             auto copy = e.m_mapPForc;
             copy.PLookup(kPanel00)->value.blk[2][14] = 45.0;
             e.m_mapPForc = copy;
         },
         45.0},
    };
    // Panel 00's value at (2, 0, 0) in the last drawing.
    auto valueAt = [](const NoteEngine& e) {
        for (const auto& p : e.m_polys) {
            bool panel00 = true;
            for (const C3DPoint& q : p.pts) panel00 = panel00 && q.x < 2.5 && q.z < 2.5 && q.y == 0.0;
            for (size_t k = 0; panel00 && k < p.pts.size(); ++k)
                if (Near(p.pts[k], C3DPoint(2, 0, 0))) return p.values[k];
        }
        return kNotDrawn;
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        auto e = Build(0);
        e->DrawPForcContour(&m_dc);
        ASSERT_EQ(valueAt(*e), 3.0);
        r.edit(*e);
        e->m_polys.clear();
        e->DrawPForcContour(&m_dc);
        EXPECT_EQ(valueAt(*e), r.want);
    }
}

// The bands' ranks of every plate value are kept from drawing to drawing for the scale's
// levels: a change of the levels or of the values between two drawings must draw what an engine
// drawing the same lists and scale for the first time draws.
TEST_F(PlateDrawTest, KeptRanksFollowTheLevelsAndTheValues) {
    struct Row {
        const char* label;
        std::function<void(CForceEngine&)> change;
    } const rows[] = {
        {"nothing changed", [](CForceEngine&) {}},
        {"six levels", [](CForceEngine& e) { e.m_pContourEngine->m_nNumColor = 6; }},
        {"a corner value moved across bands, the range kept",
         [](CForceEngine& e) { e.m_mapPForc[kPanel00].blk[2][14] = 30.0; }},
        {"range widened", [](CForceEngine& e) { e.m_mapPForc[kBeamPanel].blk[4][14] = 200.0; }},
        {"component Fyy", [](CForceEngine& e) { e.m_nPForcComp = 1; }},
    };
    auto drawn = [&](CForceEngine& e) {
        m_dc.Clear();
        e.DrawPForcContour(&m_dc);
        return moduletest::RecordedCalls(m_dc);
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CForceEngine kept(&M());
        kept.m_nPForcComp = 0;
        kept.InitEngine(nullptr, PVXMode::kPlateForce);
        ASSERT_NE(kept.m_pContourEngine, nullptr);
        drawn(kept);
        r.change(kept);
        ASSERT_EQ(kept.MakePForcDataList_MnMx(), 1);
        const std::string keptShows = drawn(kept);
        EXPECT_EQ(keptShows, drawn(*FirstWeighing(kept)));
        EXPECT_NE(keptShows.find("Polygon"), std::string::npos);
    }
}

TEST_F(PlateDrawTest, MembersWithoutPlateListsAreDrawnInactive) {
    // The raft plate passes the plate test but its member is no wall or T-girder: it is drawn in
    // the inactive colour, not left out of the picture; the walls switched off likewise.
    M().m_pDispOpt->m_Color.m_crInactive = RGB(1, 2, 3);
    for (int walls : {1, 0}) {
        SCOPED_TRACE(walls);
        auto e = std::make_unique<ArrowEngine>(&M());
        e->m_bPlateShowWall = walls;
        e->InitEngine(nullptr, PVXMode::kPlateForce);
        m_dc.Clear();
        e->DrawPForcContour(&m_dc);
        size_t inactive = 0;
        for (const GdiRecord& r : m_dc.GetRecords())
            if (r.op != "SelectObject" && r.pen.lopnColor == RGB(1, 2, 3)) ++inactive;
        EXPECT_GT(inactive, 0u);
        EXPECT_EQ(e->m_polys.size(), walls ? 6u : 1u);
    }
}

TEST_F(PlateDrawTest, APlateMemberWithoutResultsIsDrawnPlain) {
    // A second T-girder standing in the x-z plane with no plate forces (as a grade beam the
    // analysis gave none): its outline is drawn, without bands, instead of vanishing.
    size_t ops[2] = {0, 0};
    for (int extra : {0, 1}) {
        SCOPED_TRACE(extra);
        Reinstall([extra](PostDBBuilder& b) {
            if (!extra) return;
            b.AddNode(140, 30, 0, 0);
            b.AddNode(141, 32, 0, 0);
            b.AddNode(142, 32, 0, 2);
            b.AddNode(143, 30, 0, 2);
            b.AddElem(18, PELEM_KIND_WALL, 204, {140, 141, 142, 143}, 1, 1);
            const UINT n[] = {140, 141, 142, 143}, e[] = {18};
            b.AddMemb(5, 204, n, e, 2.0);
        });
        auto e = Build(0);
        m_dc.Clear();
        e->DrawPForcContour(&m_dc);
        EXPECT_EQ(e->m_polys.size(), 6u) << "bands only where there are forces";
        for (const GdiRecord& r : m_dc.GetRecords())
            if (r.op == "LineTo" || r.op == "Polyline" || r.op == "PolylineTo" || r.op == "Polygon") ++ops[extra];
    }
    EXPECT_GT(ops[1], ops[0]) << "the girder without forces draws its outline";
}

TEST_F(PlateDrawTest, VectorLengthFactor) {
    // max(0.35 e, 0.025 E) / |largest value|, E the model's extent, e the element's: the wall
    // beam's panel is 8 m long (e = 8): 0.35 x 8 = 2.8 against 0.025 E.
    CForceEngine e(&M());
    e.m_nPForcComp = 0;
    e.InitEngine(nullptr, PVXMode::kPlateForce);
    struct Row {
        const char* label;
        double absMax;
        UINT elem;
        double want;
    } const rows[] = {
        {"large element", 10.0, kBeamPanel, std::max(2.8, 0.025 * kModelExtent) / 10.0},
        {"element unknown: the model's share", 4.0, 999, 0.025 * kModelExtent / 4.0},
        {"all zero: reference 1", 0.0, kBeamPanel, 2.8},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        e.m_dPAbsMax = r.absMax;
        e.m_nPAbsMaxElem = r.elem;
        e.InitVectorAdjustFactor();
        EXPECT_NEAR(e.m_dPVectorAdjustFactor, r.want, 1e-12);
    }
}

TEST_F(PlateDrawTest, ArrowsPointOutForTensionAndInForCompression) {
    // Centre block: principal membrane forces +4 and -2 at angle 0; axes x, y, z; factor 1. The
    // tension arrow runs to (4,0,0) with its head lines back from the tip by 0.2 x 4 = 0.8; the
    // compression arrow runs to (0,2,0) with its head lines 0.2 x 2 = 0.4 beyond the tip.
    CForceEngine base(&M());
    ArrowEngine e(&M());
    e.m_nPForcComp = 5;
    e.m_pContourEngine = new CContourEngine(-4.0, 4.0);
    T_STRP_DL r;
    r.Initialize();
    r.blk[0][17] = 4.0;
    r.blk[0][18] = -2.0;
    e.m_mapPForc.SetAt(77, r);
    e.m_dPVectorAdjustFactor = 1.0;
    e.m_dPVectorScale = 1.0;
    double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    CArray<C3DPoint, C3DPoint&> v;
    for (const C3DPoint& p : {C3DPoint(-1, -1, 0), C3DPoint(1, -1, 0), C3DPoint(1, 1, 0), C3DPoint(-1, 1, 0)}) {
        C3DPoint q = p;
        v.Add(q);
    }
    ASSERT_EQ(e.DoPForcElementVector_Sub(&m_dc, v, 77, axes), 1);
    ASSERT_EQ(e.m_arrows.size(), 2u);
    const auto& t = e.m_arrows[0];
    EXPECT_TRUE(Near(t.base, C3DPoint(0, 0, 0)));
    EXPECT_TRUE(Near(t.tip, C3DPoint(4, 0, 0)));
    EXPECT_TRUE(Near(t.a, C3DPoint(3.2, 0.8, 0)));
    EXPECT_TRUE(Near(t.b, C3DPoint(3.2, -0.8, 0)));
    const auto& c = e.m_arrows[1];
    EXPECT_TRUE(Near(c.tip, C3DPoint(0, 2, 0)));
    EXPECT_TRUE(Near(c.a, C3DPoint(0.4, 2.4, 0)));
    EXPECT_TRUE(Near(c.b, C3DPoint(-0.4, 2.4, 0)));
    // A face without a record draws nothing.
    EXPECT_EQ(e.DoPForcElementVector_Sub(&m_dc, v, 78, axes), 0);
}

TEST_F(PlateDrawTest, ArrowsKeepTheirDirectionWhateverTheDisplayAxes) {
    // The principal angle of a record is measured in the display axes it was turned into; the
    // arrows of the girder (principal direction fixed in the plate) come out the same for display
    // angles 0 and 30.
    std::vector<ArrowEngine::Arrow> seen[2];
    for (int k = 0; k < 2; ++k) {
        ArrowEngine e(&M());
        e.m_nPForcComp = 5;
        e.m_dPLocalAngle = k == 0 ? 0.0 : 30.0;
        e.InitEngine(nullptr, PVXMode::kPlateForce);
        e.InitVectorAdjustFactor();
        e.DoPForcElementVector(&m_dc, kGirderPanel);
        seen[k] = e.m_arrows;
    }
    ASSERT_EQ(seen[0].size(), 2u);
    ASSERT_EQ(seen[1].size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(Near(seen[0][i].tip, seen[1][i].tip, 1e-9)) << i;
        EXPECT_TRUE(Near(seen[0][i].a, seen[1][i].a, 1e-9)) << i;
    }
}

TEST_F(PlateDrawTest, VectorsDrawThePlatesOutlineUnderTheArrows) {
    auto e = Build(5);
    e->DrawPForcContour(&m_dc);
    EXPECT_TRUE(e->m_polys.empty()) << "no bands";
    EXPECT_EQ(e->m_arrows.size(), 2u * 6u) << "two arrows per plate";
    EXPECT_GT(m_dc.Count("LineTo") + m_dc.Count("Polyline") + m_dc.Count("PolylineTo"), 0u);
    EXPECT_EQ(M().m_pDispOpt->m_bWireFrame, 0) << "the view state is put back";
}

TEST_F(PlateDrawTest, NumbersAndTheExtremeFilter) {
    M().m_pDispOpt->m_Number.m_bShowNumbers = 1;
    auto e = Build(0);
    auto texts = [&] {
        std::vector<std::string> out;
        for (const GdiRecord& r : m_dc.GetRecords())
            if (!r.text.empty()) out.push_back(r.text);
        return out;
    };
    // One number per plate: the extreme of larger magnitude (the wall beam: 80).
    e->OutputPForcNumbers(&m_dc);
    std::vector<std::string> t = texts();
    EXPECT_EQ(t.size(), 6u);
    EXPECT_TRUE(std::any_of(t.begin(), t.end(), [](const std::string& s) { return s.find("80") != std::string::npos; }));
    // Filter kind 0 with 100 %: every plate's maximum lies within the range: all "Max:".
    T_PVX_DOPT_NUMBER_D& num = M().m_pDispOpt->m_Number;
    num.m_nNumberOpt2 = 1;
    num.m_nNumberOpt1 = 0;
    num.m_dNumberFactor = 100.0;
    m_dc.Clear();
    e->OutputPForcNumbers(&m_dc);
    t = texts();
    EXPECT_EQ(t.size(), 6u);
    for (const std::string& s : t) EXPECT_EQ(s.rfind("Max:", 0), 0u) << s;
    // Kind 2 with 10 % (legend 0 .. 80, 8): only the wall beam's 80.
    num.m_nNumberOpt1 = 2;
    num.m_dNumberFactor = 10.0;
    m_dc.Clear();
    e->OutputPForcNumbers(&m_dc);
    t = texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_NE(t[0].find("80"), std::string::npos);
}

TEST_F(PlateDrawTest, EscapeEndsTheDrawWithThePenPutBack) {
    auto e = Build(0);
    e->m_bDeformed = 0;
    CPen* before = m_dc.GetCurrentPen();
    CUiDriver::Get().Reset();
    Ctrl()->ResetEscKeyPress();
    CUiDriver::Get().PressEscapeAfterPolls(1);
    e->DrawPForcContour(&m_dc);
    EXPECT_LT(e->m_polys.size(), 6u) << "stopped early";
    EXPECT_EQ(m_dc.GetCurrentPen(), before);
    CUiDriver::Get().Reset();
    Ctrl()->ResetEscKeyPress();
}

}  // namespace
}  // namespace wallplatetest

namespace wallplatetest {
namespace {

// Notes the band polygons of one face.
class BandEngine : public CForceEngine {
public:
    explicit BandEngine(I_PVXModelBase* p) : CForceEngine(p) {}
    struct Band {
        std::vector<VtxInfo_tag> v;
    };
    void DrawContourList(CDC*, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) override {
        Note(sizes, vertices);
    }
    void DrawContourListGrad(CDC*, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) override {
        Note(sizes, vertices);
    }
    void Note(CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
        INT_PTR at = 0;
        for (INT_PTR i = 0; i < sizes.GetSize(); ++i) {
            Band b;
            for (int k = 0; k < sizes[i]; ++k) b.v.push_back(vertices[at + k]);
            at += sizes[i];
            m_bands.push_back(b);
        }
    }
    std::vector<Band> m_bands;
};

// Area of a planar polygon in the x-z plane.
double AreaXZ(const std::vector<VtxInfo_tag>& v) {
    double a = 0.0;
    for (size_t i = 0; i < v.size(); ++i) {
        const C3DPoint& p = v[i].pt;
        const C3DPoint& q = v[(i + 1) % v.size()].pt;
        a += p.x * q.z - q.x * p.z;
    }
    return std::fabs(a) / 2.0;
}

class BandCutTest : public PlateDrawTest {};

TEST_F(BandCutTest, AFaceIsCutWholeBandByBand) {
    // Levels 0, 1, ..., 11. A 4 m square whose value runs linearly in x from 0.5 to 1.5 spans the
    // bands (0, 1] and (1, 2]: two polygons, split at x = 2 where the value is 1, that edge
    // flagged as a level line, each polygon's first vertex its largest value.
    BandEngine e(&M());
    e.m_pContourEngine = new CContourEngine(0.0, 11.0);
    e.m_pContourEngine->m_nNumColor = 12;
    e.m_pContourEngine->MakeRankMap();
    for (int k = 0; k < 12; ++k) ASSERT_NEAR(e.m_pContourEngine->m_dRankMap[k], k, 1e-12) << "levels 0 .. 11";
    M().m_bGradient = 0;
    CList<C3DPoint, C3DPoint> face;
    for (const C3DPoint& p : {C3DPoint(0, 0, 0), C3DPoint(4, 0, 0), C3DPoint(4, 0, 4), C3DPoint(0, 0, 4)}) face.AddTail(p);
    struct Row {
        const char* label;
        double v[4];
        size_t bands;
        double areas[2];
    } const rows[] = {
        {"two bands", {0.5, 1.5, 1.5, 0.5}, 2, {8.0, 8.0}},
        {"one band", {0.2, 0.8, 0.9, 0.3}, 1, {16.0, 0.0}},
        {"corners on the band's levels", {1.0, 2.0, 2.0, 1.0}, 1, {16.0, 0.0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        e.m_bands.clear();
        double v[4] = {r.v[0], r.v[1], r.v[2], r.v[3]};
        e.DoSubPolyContour(&m_dc, v, &face, nullptr, 0);
        ASSERT_EQ(e.m_bands.size(), r.bands);
        double total = 0.0;
        for (size_t b = 0; b < r.bands; ++b) {
            const auto& band = e.m_bands[b].v;
            EXPECT_NEAR(AreaXZ(band), r.areas[b], 1e-12);
            total += AreaXZ(band);
            for (const VtxInfo_tag& t : band) EXPECT_LE(t.dValue, band[0].dValue) << "the first vertex is the largest";
            int levelEdges = 0;
            for (size_t k = 0; k < band.size(); ++k) {
                if (!band[k].bLine) continue;
                ++levelEdges;
                const C3DPoint& p = band[k].pt;
                const C3DPoint& q = band[(k + 1) % band.size()].pt;
                EXPECT_NEAR(p.x, 2.0, 1e-12);
                EXPECT_NEAR(q.x, 2.0, 1e-12);
            }
            EXPECT_EQ(levelEdges, r.bands == 2 ? 1 : 0);
        }
        EXPECT_NEAR(total, 16.0, 1e-12);
    }
    // Gradient colours keep the engine base's four triangles around the centre.
    M().m_bGradient = 1;
    e.m_bands.clear();
    double v[4] = {0.2, 0.8, 0.9, 0.3};
    e.DoSubPolyContour(&m_dc, v, &face, nullptr, 0);
    EXPECT_EQ(e.m_bands.size(), 4u);
    M().m_bGradient = 0;
}

// An engine of a type made from CForceEngine: it takes every face through DoSubPolyContour, one
// band list per face.
class PerFaceEngine : public CForceEngine {
public:
    using CForceEngine::CForceEngine;
};

TEST_F(PlateDrawTest, FacesGatheredIntoOneListDrawWhatAListPerFaceDraws) {
    // A plain engine cuts its faces itself and gathers the bands of consecutive faces into one
    // list; an engine of a derived type draws a list per face. Pixels and recorded calls must be
    // the same under every option that decides whether faces may be gathered.
    struct Row {
        const char* label;
        void (*set)(I_PVXModel&, CForceEngine&);  // after the lists are built
    } const rows[] = {
        {"faces only", [](I_PVXModel&, CForceEngine&) {}},
        {"element edges", [](I_PVXModel& m, CForceEngine&) { m.m_pDispOpt->m_nRenderMode = 2; }},
        {"band edges", [](I_PVXModel&, CForceEngine& e) { e.m_pContourEngine->m_bDrawContourLine = 1; }},
        {"graded colours", [](I_PVXModel& m, CForceEngine&) { m.m_bGradient = 1; }},
        {"level lines only", [](I_PVXModel&, CForceEngine& e) { e.m_pContourEngine->m_nFillStyle = 1; }},
        {"local axes", [](I_PVXModel&, CForceEngine& e) { e.m_bPShowLocalAxis = 1; }},
        {"T-girders drawn inactive between", [](I_PVXModel&, CForceEngine& e) { e.m_bPlateShowTG = 0; }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const T_PVX_DOPT_D saved = *M().m_pDispOpt;
        auto draw = [&](CForceEngine& e) {
            e.InitEngine(nullptr, PVXMode::kPlateForce);
            r.set(M(), e);
            return moduletest::DrawBothWays(*Ctrl(), 400, 300, [&](CDC* dc) { e.DrawPForcContour(dc); });
        };
        CForceEngine plain(&M());
        PerFaceEngine perFace(&M());
        const moduletest::TwoWayDrawing a = draw(plain), b = draw(perFace);
        *M().m_pDispOpt = saved;
        M().m_bGradient = 0;
        EXPECT_TRUE(a.pixels == b.pixels);
        EXPECT_GT(std::count_if(a.pixels.begin(), a.pixels.end(), [&](COLORREF c) { return c != a.pixels[0]; }), 1000)
            << "the plates cover part of the picture";
        EXPECT_EQ(a.calls, b.calls);
    }
}

// The bands of the plate faces are kept from one drawing to the next while everything they are
// made of stays the same. Every change of any of it between two drawings must show: the answer
// is an engine that draws the same lists and scale for the first time.
TEST_F(PlateDrawTest, KeptBandsFollowEveryChangeOfWhatTheyWereMadeOf) {
    struct Row {
        const char* label;
        void (*change)(I_PVXModel&, CDataBase&, CForceEngine&);
    } const rows[] = {
        {"nothing changed", [](I_PVXModel&, CDataBase&, CForceEngine&) {}},
        {"a corner written in place",
         [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_mapPForc.PLookup(kPanel00)->value.blk[2][14] = 30.0; }},
        {"a corner's node replaced: the centre",
         [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_mapSbem[kPanel00].m_arrNodeKey[1] = 999; }},
        {"a record removed", [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_mapPForc.RemoveKey(kPanel00); }},
        {"component Fyy", [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_nPForcComp = 1; }},
        {"six levels", [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_pContourEngine->m_nNumColor = 6; }},
        {"a level moved", [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_pContourEngine->m_dRankMap[4] += 2.5; }},
        {"a global range: the base cutter", [](I_PVXModel&, CDataBase&, CForceEngine& e) {
             CContourEngine& s = *e.m_pContourEngine;
             s.m_bGlobalRange = 1, s.m_dGlobalMin = 2.0, s.m_dGlobalMax = 20.0;
         }},
        {"a node moved", [](I_PVXModel&, CDataBase& db, CForceEngine&) {
             db.Table<DBT_PNODE>().Set(WallNode(1, 1), T_PNODE_D{2.4, 0.0, 2.3});
         }},
        {"an element switched off", [](I_PVXModel&, CDataBase& db, CForceEngine&) {
             T_PELEM_D elem = *db.Table<DBT_PELEM>().Find(kPanel00);
             elem.bActive = 0;
             db.Table<DBT_PELEM>().Set(kPanel00, elem);
         }},
        {"shrunk faces", [](I_PVXModel& m, CDataBase&, CForceEngine&) {
             m.m_pDispOpt->m_bShrink = 1;
             m.m_pDispOpt->m_dShrinkFactor = 0.7;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Reinstall([](PostDBBuilder&) {});
        CDataBase& db = *m_doc.GetMDBCtrl()->GetDBPost();
        auto draw = [&](CForceEngine& e) {
            return moduletest::DrawBothWays(*Ctrl(), 400, 300, [&](CDC* dc) { e.DrawPForcContour(dc); });
        };
        CForceEngine kept(&M());
        kept.m_nPForcComp = 0;
        kept.InitEngine(nullptr, PVXMode::kPlateForce);
        ASSERT_NE(kept.m_pContourEngine, nullptr);
        // The first drawing keeps nothing, the second keeps the bands, the third draws them.
        for (int i = 0; i < 3; ++i) draw(kept);
        ASSERT_GT(kept.KeptPlateBandCount(), 4u) << "the wall's panels are kept";
        row.change(M(), db, kept);
        // Drawn anew after the change, then from what was kept of the new drawing.
        const moduletest::TwoWayDrawing a = draw(kept);
        draw(kept);
        const moduletest::TwoWayDrawing a3 = draw(kept);
        CForceEngine first(&M());
        first.m_bPForcData = kept.m_bPForcData;
        first.m_nPForcComp = kept.m_nPForcComp;
        first.m_mapPForc = kept.m_mapPForc;
        first.m_mapSbem = kept.m_mapSbem;
        first.m_arrElemKey.Copy(kept.m_arrElemKey);
        first.m_pContourEngine = new CContourEngine(*kept.m_pContourEngine);
        const moduletest::TwoWayDrawing b = draw(first);
        EXPECT_TRUE(a.pixels == b.pixels);
        EXPECT_EQ(a.calls, b.calls);
        EXPECT_TRUE(a3.pixels == b.pixels);
        EXPECT_EQ(a3.calls, b.calls);
        EXPECT_GT(std::count_if(b.pixels.begin(), b.pixels.end(), [&](COLORREF c) { return c != b.pixels[0]; }), 1000)
            << "the plates cover part of the picture";
        // A build for another display mode lets the kept bands go.
        kept.InitEngine(nullptr, PVXMode::kSlabForce);
        EXPECT_EQ(kept.KeptPlateBandCount(), 0u);
    }
}
}  // namespace
}  // namespace wallplatetest
