// The model's display-option members: refresh from the document's option manager into the
// record and the legend, print and screen colour sets, gray printing of the engines' colour
// scales, the legend and the cutting-line diagrams, member colours, and the on-screen slopes of
// a member.
#include "contour/CContourEngine.h"
#include "engines/CDeformEngine.h"
#include "engines/CPVXCutLineDetDlg.h"
#include "engines/CReactionEngine.h"
#include "engines/CStressEngine.h"
#include "host/db/CDBDoc.h"
#include "host/grx/GViewCamera.h"
#include "host/grx/I_PVXCtrl.h"
#include "model/CUtilFuncs.h"
#include "model/I_PVXModel.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

COLORREF S(int k) { return 0x100000 + k; }
COLORREF P(int k) { return 0x200000 + k; }

class ModelColours : public testing::Test {
protected:
    void SetUp() override {
        CDBDoc::m_pDBDoc = &m_doc;
        CDispOptMgr* mgr = m_doc.GetDispOpt();
        COptColorObjNames cn;
        for (int k = 0; k < COptColorObjNames::COUNT; ++k) mgr->SetColor(cn[k], S(k), P(k));
        COptDrawObjNames dn;
        mgr->SetDraw(dn[4], 0, 2);  // print colours when printing
        m_model = std::make_unique<I_PVXModel>();
    }
    void TearDown() override {
        m_model.reset();
        CDBDoc::m_pDBDoc = nullptr;
    }

    // The nine legend-engine colours in the engine's own order.
    static void ExpectLegend(const CLegendEngine& l, COLORREF (*c)(int)) {
        EXPECT_EQ(l.m_crBackTop, c(140));
        EXPECT_EQ(l.m_crLine, c(142));
        EXPECT_EQ(l.m_crText, c(143));
        EXPECT_EQ(l.m_crBackBottom, c(141));
        EXPECT_EQ(l.m_crPercent, c(145));
        EXPECT_EQ(l.m_crWindow, c(144));
        EXPECT_EQ(l.m_crInstruction, c(146));
        EXPECT_EQ(l.m_crMax, c(147));
        EXPECT_EQ(l.m_crMin, c(148));
    }

    CDBDoc m_doc;
    std::unique_ptr<I_PVXModel> m_model;
};

}  // namespace

TEST_F(ModelColours, RefreshAndColourSets) {
    I_PVXModel& m = *m_model;
    ASSERT_NE(m.m_pDispOpt, nullptr);
    // The model initialisation refreshed the record from the document's manager.
    EXPECT_EQ(m.m_pDispOpt->m_Color.m_crBackground, S(0));
    EXPECT_EQ(m.m_pDispOpt->m_Color.m_aTypeColor[3].crFace, S(19));
    ExpectLegend(m.m_LegendEngine, S);

    m.PrepareColorSet(1);
    EXPECT_EQ(m.m_pDispOpt->m_Color.m_crBackground, P(0));
    EXPECT_EQ(m.m_pDispOpt->m_Color.m_aTypeColor[3].crFace, S(19)) << "object colours have no print variant";
    ExpectLegend(m.m_LegendEngine, P);
    m.PrepareColorSet(0);
    EXPECT_EQ(m.m_pDispOpt->m_Color.m_crBackground, S(0));
    ExpectLegend(m.m_LegendEngine, S);

    // The default label colours are set before the host's are read.
    m.InitColor();
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_crNumber[0], RGB(255, 0, 0));
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_crNumber[1], RGB(0, 255, 0));
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_crNumber[2], RGB(0, 0, 255));

    // A later change in the host reaches the record and the legend with the next refresh.
    COptColorObjNames cn;
    m_doc.GetDispOpt()->SetColor(cn[140], 0x0A0B0C, 0);
    m.UpdateDisplayOptions();
    EXPECT_EQ(m.m_LegendEngine.m_crBackTop, 0x0A0B0Cu);
    EXPECT_EQ(m.m_pDispOpt->m_Legend.m_crLegend[1], 0x0A0B0Cu);
}

TEST_F(ModelColours, GrayPrintingRoundTrip) {
    I_PVXModel& m = *m_model;
    m.m_pDeformEngine = new CDeformEngine(&m);
    m.m_pDeformEngine->m_pContourEngine = new CContourEngine();
    m.m_pReactionEngine = new CReactionEngine(&m);  // without a colour scale
    m.m_pStressEngine = new CStressEngine(&m);
    m.m_pStressEngine->m_pContourEngine = new CContourEngine();
    CContourEngine* scales[2] = {m.m_pDeformEngine->m_pContourEngine, m.m_pStressEngine->m_pContourEngine};
    for (int i = 0; i < 2; ++i) {
        scales[i]->m_nColorTableKind = i;
        scales[i]->m_crContourLine = 0x0101 + i;
        scales[i]->m_crElemEdge = 0x0202 + i;
    }
    CPVXCutLineDetDlg::m_crDiagram = RGB(255, 0, 0);
    const COLORREF background = m.m_pDispOpt->m_Color.m_crBackground;
    const COLORREF contourLine = m.m_pDispOpt->m_Color.m_crContourLine;

    struct Round {
        const char* label;
        int befores;
    } rounds[] = {{"paired", 1}, {"a second Before keeps the screen saves", 2}};
    for (const Round& r : rounds) {
        SCOPED_TRACE(r.label);
        for (int i = 0; i < r.befores; ++i) m.BeforeGrayPrinting();
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(scales[i]->m_nColorTableKind, 3);
            EXPECT_EQ(scales[i]->m_crContourLine, 0u);
            EXPECT_EQ(scales[i]->m_crElemEdge, 0u);
        }
        EXPECT_EQ(m.m_LegendEngine.m_crBackTop, RGB(255, 255, 255));
        EXPECT_EQ(m.m_LegendEngine.m_crLine, 0u);
        EXPECT_EQ(m.m_LegendEngine.m_crText, 0u);
        EXPECT_EQ(m.m_LegendEngine.m_crBackBottom, S(141)) << "only the first three legend colours turn gray";
        EXPECT_EQ(CPVXCutLineDetDlg::m_crDiagram, 0u);
        EXPECT_EQ(m.m_pDispOpt->m_Color.m_crBackground, RGB(255, 255, 255));
        EXPECT_EQ(m.m_pDispOpt->m_Color.m_crContourLine, 0u);

        m.AfterGrayPrinting();
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(scales[i]->m_nColorTableKind, i);
            EXPECT_EQ(scales[i]->m_crContourLine, COLORREF(0x0101 + i));
            EXPECT_EQ(scales[i]->m_crElemEdge, COLORREF(0x0202 + i));
        }
        ExpectLegend(m.m_LegendEngine, S);
        EXPECT_EQ(CPVXCutLineDetDlg::m_crDiagram, RGB(255, 0, 0));
        EXPECT_EQ(m.m_pDispOpt->m_Color.m_crBackground, background);
        EXPECT_EQ(m.m_pDispOpt->m_Color.m_crContourLine, contourLine);
    }

    // An After without a Before restores nothing, even with stale saves around.
    m.m_LegendEngine.m_crSaveBackTop = 0xBAD;
    scales[0]->m_nSaveColorTableKind = 2;
    m.AfterGrayPrinting();
    EXPECT_EQ(m.m_LegendEngine.m_crBackTop, S(140));
    EXPECT_EQ(scales[0]->m_nColorTableKind, 0);
    EXPECT_EQ(CPVXCutLineDetDlg::m_crDiagram, RGB(255, 0, 0));
    m.ResetEngines();
}

TEST_F(ModelColours, MemberColourFollowsTheDevice) {
    I_PVXModel& m = *m_model;
    T_PVX_DOPT_D& d = *m.m_pDispOpt;
    d.m_nColorMode = 2;
    d.m_bWireFrame = 1;
    d.m_nPrintColorMode = 0;
    T_PMEMB_D memb;
    memb.type = 201;
    COLORREF c[2] = {0, 0};
    m.m_bExternalDevice = 0;
    m.GetMembColor(memb, c);
    EXPECT_EQ(c[0], S(20)) << "wire frame on screen: the face colour";
    EXPECT_EQ(c[1], S(20));
    m.m_bExternalDevice = 1;
    m.GetMembColor(memb, c);
    EXPECT_EQ(c[0], S(21)) << "gray printing to a device: the line colour";
    EXPECT_EQ(c[1], S(21));
}

TEST_F(ModelColours, BeamSlopesOnScreen) {
    I_PVXCtrl ctrl;
    ctrl.SetClientSize(400, 400);
    ctrl.SetStandardView(GViewCamera::VIEW_TOP);
    ctrl.ZoomToRange(C3DPoint(0, 0, 0), C3DPoint(10, 10, 0));
    I_PVXModel& m = *m_model;
    m.m_pPVXCtrl = &ctrl;

    struct Row {
        const char* label;
        C3DPoint p1, p2;
        int angle, turned;
    } rows[] = {
        {"left to right", {0, 5, 0}, {10, 5, 0}, 0, 0},
        {"right to left reads turned", {10, 5, 0}, {0, 5, 0}, 0, 1},
        {"upward", {5, 0, 0}, {5, 10, 0}, 900, 0},
        {"downward reads turned", {5, 10, 0}, {5, 0, 0}, 900, 1},
    };
    const double fractions[5][2] = {{0.0, 0.1}, {0.2, 0.3}, {0.45, 0.55}, {0.7, 0.8}, {0.9, 1.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        int angle[5], turned[5], valid[5];
        CPoint centre[5];
        ASSERT_EQ(CUtilFuncs::MakeBeamSlopeAt5Div(&m, r.p1, r.p2, angle, turned, valid, centre), 1);
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE(testing::Message() << "piece " << i);
            EXPECT_EQ(valid[i], 1);
            EXPECT_EQ(angle[i], r.angle);
            EXPECT_EQ(turned[i], r.turned);
            const CPoint a = ctrl.GetWorldToMemDCP2D(r.p1 + (r.p2 - r.p1) * fractions[i][0]);
            const CPoint b = ctrl.GetWorldToMemDCP2D(r.p1 + (r.p2 - r.p1) * fractions[i][1]);
            EXPECT_EQ(centre[i].x, (a.x + b.x) / 2);
            EXPECT_EQ(centre[i].y, (a.y + b.y) / 2);
        }
        // The middle piece is centred on the member's middle.
        const CPoint mid = ctrl.GetWorldToMemDCP2D((r.p1 + r.p2) * 0.5);
        EXPECT_NEAR(centre[2].x, mid.x, 1);
        EXPECT_NEAR(centre[2].y, mid.y, 1);
    }

    // A member that starts far off the left of the view: its first pieces are off the screen,
    // keep their centres and are not valid; the pieces inside the view are.
    int angle[5], turned[5], valid[5];
    CPoint centre[5];
    for (CPoint& c : centre) c = CPoint(-7, -7);
    CUtilFuncs::MakeBeamSlopeAt5Div(&m, C3DPoint(-30, 5, 0), C3DPoint(10, 5, 0), angle, turned, valid, centre);
    EXPECT_EQ(valid[0], 0);
    EXPECT_EQ(angle[0], 0);
    EXPECT_EQ(turned[0], 0);
    EXPECT_EQ(centre[0], CPoint(-7, -7));
    EXPECT_EQ(valid[4], 1);
    EXPECT_NE(centre[4], CPoint(-7, -7));

    // Without a control nothing can be placed.
    m.m_pPVXCtrl = nullptr;
    CUtilFuncs::MakeBeamSlopeAt5Div(&m, C3DPoint(0, 5, 0), C3DPoint(10, 5, 0), angle, turned, valid, centre);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(valid[i], 0);
}
