// Drawing of the deformation engine and its plot engine on a recording DC: what each display
// mode draws, the undeformed outline, Escape, missing members, pens, picked nodes and numbers.
#include "tests/module/deform/DeformTestSupport.h"
#include "tests/module/ModuleTestSupport.h"

#include <algorithm>
#include <set>
#include <string>

#include "platform/ui/CUiDriver.h"

namespace deformtest {

namespace {

constexpr COLORREF kBeamColor = RGB(200, 0, 0), kPlateColor = RGB(0, 0, 200), kEdge = RGB(1, 2, 3);

class DeformDrawTest : public DeformFixture {
protected:
    void SetUp() override {
        DeformFixture::SetUp();
        CUiDriver::Get().Reset();
        T_PVX_DOPT_D& o = *M().m_pDispOpt;
        o.m_nRenderMode = 3;
        o.m_Color.m_aTypeColor[T_PVX_DOPT_D::TypeColorIndex(201)] = {kBeamColor, kBeamColor, kEdge};
        o.m_Color.m_aTypeColor[T_PVX_DOPT_D::TypeColorIndex(301)] = {kPlateColor, kPlateColor, kEdge};
        o.m_Color.m_crInactive = RGB(90, 90, 90);
        o.m_Color.m_crUndeformed = RGB(60, 60, 60);
        o.m_bUndeformedWireFrame = 1;
        ASSERT_EQ(Build(PVXMode::kDeformedShape, CDeformEngine::COMP_DZ), 1);
        E().m_bDeformed = 1;
        M().InitDeformed(0);
        ASSERT_TRUE(m_rec.Create(kWidth, kHeight));
    }
    void TearDown() override {
        Ctrl()->ResetEscKeyPress();
        CUiDriver::Get().Reset();
        DeformFixture::TearDown();
    }
    std::vector<COLORREF> Fills() const {
        std::vector<COLORREF> out;
        for (const GdiRecord* r : m_rec.GetRecords("Polygon")) out.push_back(r->brush.lbColor);
        return out;
    }
    bool Filled(COLORREF c) const {
        const auto f = Fills();
        return std::find(f.begin(), f.end(), c) != f.end();
    }
    // Index of the first line drawn with a pen of colour c; -1 when none.
    long FirstLine(COLORREF c) const {
        const auto& all = m_rec.GetRecords();
        for (size_t i = 0; i < all.size(); ++i)
            if ((all[i].op == "LineTo" || all[i].op == "Polyline") && all[i].pen.lopnColor == c) return long(i);
        return -1;
    }
    long FirstFill() const {
        const auto& all = m_rec.GetRecords();
        for (size_t i = 0; i < all.size(); ++i)
            if (all[i].op == "Polygon") return long(i);
        return -1;
    }
    int Draw(int mode) {
        M().m_nDisplayMode = mode;
        E().BeginPlotEng(&m_rec);
        const int r = E().DrawDeformedShapeNew(&m_rec);
        E().EndPlotEng();
        return r;
    }
    CRecordDC m_rec;
};

TEST_F(DeformDrawTest, ModesTheDeformationPlotEngineServes) {
    const struct {
        int mode;
        int result;
    } rows[] = {{PVXMode::kNodeDisp, -1}, {PVXMode::kReactionContour, -1}, {PVXMode::kReaction, -1}, {70, -1},
                {PVXMode::kDeformedShape, 1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.mode);
        m_rec.Clear();
        EXPECT_EQ(Draw(r.mode), r.result);
        if (r.result == -1) {
            EXPECT_EQ(m_rec.Count("Polygon") + m_rec.Count("LineTo"), 0u) << "nothing drawn";
        }
    }
    // Without a plot engine the engine's entries answer -1.
    EXPECT_EQ(E().DrawDispContourNew(&m_rec), -1);
    EXPECT_EQ(E().DrawBeamDfd(), -1);
    EXPECT_EQ(E().EndPlotEng(), 0);
}

TEST_F(DeformDrawTest, DeformedShapeOverTheUndeformedOutline) {
    // Faces of the deformed members in their own colours; the undeformed outline after them
    // (the outline switch is off and the style is not hidden-line).
    ASSERT_EQ(Draw(PVXMode::kDeformedShape), 1);
    EXPECT_TRUE(Filled(kBeamColor));
    EXPECT_TRUE(Filled(kPlateColor));
    const long outline = FirstLine(RGB(60, 60, 60));
    ASSERT_GE(outline, 0) << "the undeformed outline is drawn";
    EXPECT_GT(outline, FirstFill()) << "after the deformed faces";
    // The plate's deformed face: the corner of node 5 lies at (6, 5, -8 s).
    const double s = E().GetScale();
    const CPoint want = Ctrl()->GetWorldToMemDCP2D(C3DPoint(6, 5, -8 * s));
    bool found = false;
    for (const GdiRecord* r : m_rec.GetRecords("Polygon"))
        if (r->brush.lbColor == kPlateColor)
            for (const POINT& p : r->points) found = found || (p.x == want.x && p.y == want.y);
    EXPECT_TRUE(found) << "a plate corner at its deformed position";

    // With the outline switch on, the undeformed outline comes first and faces are edges only.
    m_rec.Clear();
    M().m_pDispOpt->m_bWireFrame = 1;
    ASSERT_EQ(Draw(PVXMode::kDeformedShape), 1);
    EXPECT_EQ(m_rec.Count("Polygon"), 0u);
    const long outlineFirst = FirstLine(RGB(60, 60, 60));
    const long deformed = FirstLine(kPlateColor);
    ASSERT_GE(outlineFirst, 0);
    ASSERT_GE(deformed, 0);
    EXPECT_LT(outlineFirst, deformed);
    EXPECT_EQ(M().m_pDispOpt->m_nRenderMode, 3) << "the draw style is put back";

    // The deformed flag off: only the undeformed model, result 0.
    M().m_pDispOpt->m_bWireFrame = 0;
    E().m_bDeformed = 0;
    m_rec.Clear();
    EXPECT_EQ(Draw(PVXMode::kDeformedShape), 0);
    EXPECT_EQ(FirstLine(RGB(60, 60, 60)), -1) << "no undeformed outline over the plain model";
    EXPECT_TRUE(Filled(kPlateColor)) << "the plain model in its colours";
}

TEST_F(DeformDrawTest, ModeShapeContourSwitch) {
    // Mode 4 without the mode-shape contour switch draws the deformed shape (member colours);
    // with it, the contour path (which needs the result display on: off here, so the plain model
    // only and result 0).
    M().m_bModeShapeContour = 0;
    EXPECT_EQ(Draw(PVXMode::kModeShape), 1);
    EXPECT_GE(FirstLine(RGB(60, 60, 60)), 0) << "the deformed-shape path draws the outline";
    m_rec.Clear();
    M().m_bModeShapeContour = 1;
    M().m_bContour = 0;
    EXPECT_EQ(Draw(PVXMode::kModeShape), 0);
    EXPECT_EQ(FirstLine(RGB(60, 60, 60)), -1);
}

TEST_F(DeformDrawTest, ElementsAndMembersOnTheDeformedShape) {
    // The element pen has the member type's colour (never an unset one) and the fill its face.
    EXPECT_EQ(E().DrawDeformedElement(&m_rec, kPlate), 1);
    ASSERT_FALSE(m_rec.GetRecords("Polygon").empty());
    EXPECT_EQ(m_rec.GetRecords("Polygon")[0]->brush.lbColor, kPlateColor);
    EXPECT_EQ(m_rec.GetRecords("Polygon")[0]->pen.lopnColor, kPlateColor);
    // Inactive: edges only in the inactive colour.
    m_rec.Clear();
    EXPECT_EQ(E().DrawInactiveDeformedElement(&m_rec, kPlate), 1);
    EXPECT_EQ(m_rec.Count("Polygon"), 0u);
    EXPECT_GE(FirstLine(RGB(90, 90, 90)), 0);
    // A member: each of its elements.
    m_rec.Clear();
    EXPECT_EQ(E().DrawDeformedMember(&m_rec, kPlate), 1);
    EXPECT_TRUE(Filled(kPlateColor));

    // A member that cannot be read draws nothing and does not stop the caller's walk (0, not
    // the -1 of Escape).
    EXPECT_EQ(E().DrawDeformedMember(&m_rec, 99), 0);
    EXPECT_EQ(E().DrawInactiveDeformedMember(&m_rec, 99), 0);
    // Escape inside an element reaches the member's caller as -1.
    CUiDriver::Get().PressEscapeAfterPolls(0);
    EXPECT_EQ(E().DrawDeformedMember(&m_rec, kPlate), -1);
    Ctrl()->ResetEscKeyPress();
    CUiDriver::Get().Reset();
    // No data: 0.
    E().m_bDataReady = 0;
    EXPECT_EQ(E().DrawDeformedMember(&m_rec, kPlate), 0);
    EXPECT_EQ(E().DrawDeformedElement(&m_rec, kPlate), 0);
}

// The displacement contour: the plate and the beam cut into bands of the engine's scale; the
// column (type 101) takes no bands and is shown in the inactive colour.
TEST_F(DeformDrawTest, DisplacementContourBands) {
    M().m_bContour = 1;
    ASSERT_EQ(Draw(PVXMode::kDispContour), 1);
    const CContourEngine& scale = *E().m_pContourEngine;
    // The plate's corner values -3, -5, -8 and 2 cross several levels of the -tip..2 scale.
    std::set<COLORREF> bands;
    for (double v = -8.0; v <= 2.0; v += 0.25) bands.insert(scale.GetValueColor(v));
    std::set<COLORREF> used;
    for (COLORREF c : Fills())
        if (bands.count(c)) used.insert(c);
    EXPECT_GE(used.size(), 3u) << "the plate spans several bands";
    EXPECT_TRUE(Filled(scale.GetValueColor(-kTipMM))) << "the beam's tip band";
    EXPECT_TRUE(Filled(RGB(90, 90, 90))) << "the column in the inactive colour";
    EXPECT_FALSE(Filled(kPlateColor)) << "no member colours under the contour";
    // The result display off: the plain model only, result 0.
    m_rec.Clear();
    M().m_bContour = 0;
    EXPECT_EQ(Draw(PVXMode::kDispContour), 0);
    EXPECT_TRUE(Filled(kPlateColor));
}

TEST_F(DeformDrawTest, SlabDeflectionContoursThePlatesOnly) {
    E().m_nSlabDeflKind = 1;
    ASSERT_EQ(Build(PVXMode::kSlabDeflection, CDeformEngine::COMP_DZ), 1);
    M().m_bContour = 1;
    ASSERT_EQ(Draw(PVXMode::kSlabDeflection), 1);
    const CContourEngine& scale = *E().m_pContourEngine;
    EXPECT_TRUE(Filled(scale.GetValueColor(-8.0))) << "the plate in bands";
    // The beam and the column are no slabs: drawn inactive, in edges only. Every filled polygon
    // lies on the plate (plan view: world y 2..5, give or take its small displacements), none on
    // the beam at y = 0.
    const CPoint a = Ctrl()->GetWorldToMemDCP2D(C3DPoint(0, 2 - 0.3, 0));
    const CPoint b = Ctrl()->GetWorldToMemDCP2D(C3DPoint(0, 5 + 0.3, 0));
    const int lo = std::min(a.y, b.y), hi = std::max(a.y, b.y);
    ASSERT_FALSE(m_rec.GetRecords("Polygon").empty());
    for (const GdiRecord* r : m_rec.GetRecords("Polygon"))
        for (const POINT& p : r->points) EXPECT_TRUE(p.y >= lo && p.y <= hi) << r->Describe();
    EXPECT_GE(FirstLine(RGB(90, 90, 90)), 0) << "the beam's and the column's edges";
}

TEST_F(DeformDrawTest, EscapeStopsTheShapeAndKeepsTheOptions) {
    CUiDriver::Get().PressEscapeAfterPolls(1);
    EXPECT_EQ(Draw(PVXMode::kDeformedShape), -1);
    EXPECT_EQ(M().m_pDispOpt->m_nRenderMode, 3);
    EXPECT_EQ(M().m_pDispOpt->m_bWireFrame, 0);
}

TEST_F(DeformDrawTest, EnvelopeLoadShowsNoRefusalPerBeam) {
    // The exact beam curve cannot be built for an envelope combination: the beams are drawn with
    // their ordinary deformed shape, and no message box appears (not one per beam per redraw).
    E().m_bExactBeamRange = 1;
    M().m_PLCom.type = PLCOM_ENVELOPE;
    for (int i = 0; i < 3; ++i) {
        m_rec.Clear();
        EXPECT_EQ(Draw(PVXMode::kDeformedShape), 1);
        EXPECT_TRUE(Filled(kBeamColor)) << "the beam in its ordinary shape";
    }
    EXPECT_TRUE(CUiDriver::Get().MessageBoxes().empty());
}

TEST_F(DeformDrawTest, PickedNodesAreMarkedAndLabelled) {
    E().m_arrPickedNode.Add(5);
    E().m_arrPickedNode.Add(2);
    M().m_nDisplayMode = PVXMode::kNodeDisp;  // drawn on the undeformed model
    E().DrawPickedNodes(&m_rec);
    const auto texts = m_rec.GetRecords("TextOut");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->text, "5");
    EXPECT_EQ(texts[1]->text, "2");
    const CPoint p5 = Ctrl()->GetWorldToMemDCP2D(C3DPoint(6, 5, 0));
    EXPECT_EQ(texts[0]->Arg(0), p5.x);
    EXPECT_EQ(texts[0]->Arg(1), p5.y);
    EXPECT_EQ(texts[0]->textAlign & TA_BOTTOM, UINT(TA_BOTTOM));
    // Nothing to draw without picked nodes.
    m_rec.Clear();
    E().m_arrPickedNode.RemoveAll();
    E().DrawPickedNodes(&m_rec);
    EXPECT_EQ(m_rec.Count("TextOut"), 0u);
}

TEST_F(DeformDrawTest, NodeNumbersAndExtremeLabels) {
    T_PVX_DOPT_NUMBER_D& n = M().m_pDispOpt->m_Number;
    n.m_nDecimals = 2;
    n.m_bExponent = 0;
    n.m_nNumberOpt2 = 0;  // every node
    E().BeginPlotEng(&m_rec);
    EXPECT_EQ(E().GetPlotEngine()->OutputNumbers(PVXMode::kDispContour), 1);
    E().EndPlotEng();
    // DZ of nodes 1..6 with two decimals, each at its displaced point.
    std::vector<std::string> texts;
    for (const GdiRecord* r : m_rec.GetRecords("TextOut")) texts.push_back(r->text);
    const std::vector<std::string> want = {"0.00", "-22.22", "-3.00", "-5.00", "-8.00", "2.00"};
    EXPECT_EQ(texts, want);

    // Min/max only, kind 0 (both), band 20 % of the span 24.22 = 4.84: "Max:" near 2 (nodes 6
    // at 2 and 1 at 0), "Min:" near -22.22 (node 2).
    m_rec.Clear();
    n.m_nNumberOpt2 = 1;
    n.m_nNumberOpt1 = 0;
    n.m_dNumberFactor = 20.0;
    E().BeginPlotEng(&m_rec);
    E().GetPlotEngine()->OutputNumbers(PVXMode::kDispContour);
    E().EndPlotEng();
    texts.clear();
    for (const GdiRecord* r : m_rec.GetRecords("TextOut")) texts.push_back(r->text);
    const std::vector<std::string> labels = {"Max:0.00", "Min:-22.22", "Max:2.00"};
    EXPECT_EQ(texts, labels);
    // Kind 1 (absolute): within 4.84 of |largest magnitude| 22.22: node 2 only.
    m_rec.Clear();
    n.m_nNumberOpt1 = 1;
    E().BeginPlotEng(&m_rec);
    E().GetPlotEngine()->OutputNumbers(PVXMode::kDispContour);
    E().EndPlotEng();
    ASSERT_EQ(m_rec.Count("TextOut"), 1u);
    EXPECT_EQ(m_rec.GetRecords("TextOut")[0]->text, "MAX:-22.22");
    // Slab deflection numbers per member draw nothing.
    E().BeginPlotEng(&m_rec);
    EXPECT_EQ(E().GetPlotEngine()->OutputSlabDeflectionNumbersMemb(PVXMode::kSlabDeflection), 0);
    E().EndPlotEng();
}

TEST_F(DeformDrawTest, SettlementMapAndNumbers) {
    ASSERT_EQ(Build(PVXMode::kSettlement, CDeformEngine::COMP_DZ), 1);
    M().m_bContour = 1;
    EXPECT_EQ(Draw(PVXMode::kSettlement), 1);
    const GKrigContour& krig = Ctrl()->GetKrigContour();
    ASSERT_TRUE(krig.IsOn());
    EXPECT_EQ(krig.GetKind(), 1);
    // Coloured by the settlement itself, as the legend: the kriged values span 11..21.
    EXPECT_DOUBLE_EQ(krig.GetKriging().GetMin(), 11.0);
    EXPECT_DOUBLE_EQ(krig.GetKriging().GetMax(), 21.0);
    // Numbers of the settlement points: 11 and 21 at (0, 0) and (6, 0).
    M().m_pDispOpt->m_Number.m_nDecimals = 1;
    M().m_pDispOpt->m_Number.m_nNumberOpt2 = 0;
    m_rec.Clear();
    E().BeginPlotEng(&m_rec);
    E().OutputNumbersNew();
    E().EndPlotEng();
    std::vector<std::string> texts;
    for (const GdiRecord* r : m_rec.GetRecords("TextOut")) texts.push_back(r->text);
    EXPECT_EQ(texts, (std::vector<std::string>{"11.0", "21.0"}));
    // The result display off: the map is switched off.
    M().m_bContour = 0;
    EXPECT_EQ(Draw(PVXMode::kSettlement), 1);
    EXPECT_FALSE(Ctrl()->GetKrigContour().IsOn());
}

}  // namespace

// Each frame the recorder renders draws the deformed shape at the frame's share of the static
// one. For N = 8 a full cycle renders k = 0 .. 8 (share k / 8) and k = 19 .. 26 (share
// -(k - 18) / 8, the opposite swing): the plate corner of node 5, DZ -8 mm, lies at
// (6, 5, -8 s x share).
TEST_F(DeformDrawTest, RecordedFramesDrawTheirShareOfTheDeformation) {
    const double s = E().GetScale();
    CAnimationEngine& a = M().m_AnimationEngine;
    a.m_nFramesPerHalfCycle = 8;
    M().m_bAnimation = 1;
    a.m_bRecording = 1;
    for (int k : moduletest::RecordedFactorIndices(8)) {
        SCOPED_TRACE(k);
        const double share = k <= 8 ? k / 8.0 : -(k - 18) / 8.0;
        a.m_nCurFrame = k;
        m_rec.Clear();
        ASSERT_EQ(Draw(PVXMode::kDeformedShape), 1);
        const CPoint want = Ctrl()->GetWorldToMemDCP2D(C3DPoint(6, 5, -8 * s * share));
        bool found = false;
        for (const GdiRecord* r : m_rec.GetRecords("Polygon"))
            if (r->brush.lbColor == kPlateColor)
                for (const POINT& p : r->points) found = found || (p.x == want.x && p.y == want.y);
        EXPECT_TRUE(found) << "node 5 drawn at " << want.x << "," << want.y;
    }
    a.m_bRecording = 0;
    M().m_bAnimation = 0;
}

}  // namespace deformtest
