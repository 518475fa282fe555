// The model's display-option members: refresh from the document's option manager into the
// record and the legend, print and screen colour sets, gray printing of the engines' colour
// scales, the legend and the cutting-line diagrams, member colours, and on-screen member slopes.
#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "host/db/CDBDoc.h"
#include "host/grx/GViewCamera.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "tests/module/model_dopt/KnownColours.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ModelColours : public testing::Test {
protected:
    void SetUp() override {
        CDBDoc::m_pDBDoc = &m_doc;
        COptColorObjNames cn;
        COptDrawObjNames dn;
        for (int k = 0; k < COptColorObjNames::COUNT; ++k) m_doc.GetDispOpt()->SetColor(cn[k], dopttest::S(k), dopttest::P(k));
        m_doc.GetDispOpt()->SetDraw(dn[4], 0, 2);  // print colours when printing
        m_model = std::make_unique<I_PVXModel>();
    }
    void TearDown() override {
        m_model.reset();
        CDBDoc::m_pDBDoc = nullptr;
    }
    // The nine legend-engine colours, in the engine's own order.
    static void ExpectLegend(const CLegendEngine& l, COLORREF (*c)(int)) {
        const COLORREF got[9] = {l.m_crBackTop,  l.m_crLine,        l.m_crText, l.m_crBackBottom, l.m_crPercent,
                                 l.m_crWindow, l.m_crInstruction, l.m_crMax,  l.m_crMin};
        const int names[9] = {140, 142, 143, 141, 145, 144, 146, 147, 148};
        for (int i = 0; i < 9; ++i) EXPECT_EQ(got[i], c(names[i])) << "legend engine colour " << i;
    }

    CDBDoc m_doc;
    std::unique_ptr<I_PVXModel> m_model;
};

}  // namespace

TEST_F(ModelColours, RefreshAndColourSets) {
    I_PVXModel& m = *m_model;
    ASSERT_NE(m.m_pDispOpt, nullptr);
    EXPECT_EQ(m.m_pDispOpt->m_Color.m_crBackground, dopttest::S(0)) << "refreshed by the model initialisation";
    ExpectLegend(m.m_LegendEngine, dopttest::S);
    m.PrepareColorSet(1);
    EXPECT_EQ(m.m_pDispOpt->m_Color.m_crBackground, dopttest::P(0));
    EXPECT_EQ(m.m_pDispOpt->m_Color.m_aTypeColor[3].crFace, dopttest::S(19)) << "object colours have no print variant";
    ExpectLegend(m.m_LegendEngine, dopttest::P);
    m.PrepareColorSet(0);
    ExpectLegend(m.m_LegendEngine, dopttest::S);
    COptColorObjNames cn;
    m_doc.GetDispOpt()->SetColor(cn[140], 0x0A0B0C, 0);
    m.UpdateDisplayOptions();
    EXPECT_EQ(m.m_LegendEngine.m_crBackTop, 0x0A0B0Cu);
    m.InitColor();
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_crNumber[0], RGB(255, 0, 0));
    EXPECT_EQ(m.m_pDispOpt->m_Number.m_crNumber[2], RGB(0, 0, 255));

    // Gray printing to a device draws wire frames in the line colour, the screen in the face colour.
    T_PMEMB_D memb;
    memb.type = 201;
    m.m_pDispOpt->m_nColorMode = 2, m.m_pDispOpt->m_bWireFrame = 1, m.m_pDispOpt->m_nPrintColorMode = 0;
    COLORREF c[2] = {0, 0};
    m.GetMembColor(memb, c);
    EXPECT_EQ(c[1], dopttest::S(20));
    m.m_bExternalDevice = 1;
    m.GetMembColor(memb, c);
    EXPECT_EQ(c[1], dopttest::S(21));
}

TEST_F(ModelColours, GrayPrintingRoundTrip) {
    I_PVXModel& m = *m_model;
    m.m_pDeformEngine = new CDeformEngine(&m);
    m.m_pReactionEngine = new CReactionEngine(&m);  // without a colour scale
    m.m_pStressEngine = new CStressEngine(&m);
    CContourEngine* scales[2] = {new CContourEngine(), new CContourEngine()};
    m.m_pDeformEngine->m_pContourEngine = scales[0];
    m.m_pStressEngine->m_pContourEngine = scales[1];
    for (int i = 0; i < 2; ++i)
        scales[i]->m_nColorTableKind = i, scales[i]->m_crContourLine = 0x0101 + i, scales[i]->m_crElemEdge = 0x0202 + i;
    CPVXCutLineDetDlg::m_crDiagram = RGB(255, 0, 0);
    const T_PVX_DOPT_D screen = *m.m_pDispOpt;

    for (int befores : {1, 2}) {  // a second Before keeps the screen saves
        SCOPED_TRACE(testing::Message() << befores << " x BeforeGrayPrinting");
        for (int i = 0; i < befores; ++i) m.BeforeGrayPrinting();
        for (CContourEngine* s : scales) {
            EXPECT_EQ(s->m_nColorTableKind, 3);
            EXPECT_EQ(s->m_crContourLine + s->m_crElemEdge, 0u);
        }
        EXPECT_EQ(m.m_LegendEngine.m_crBackTop, RGB(255, 255, 255));
        EXPECT_EQ(m.m_LegendEngine.m_crLine + m.m_LegendEngine.m_crText, 0u);
        EXPECT_EQ(m.m_LegendEngine.m_crBackBottom, dopttest::S(141)) << "only the first three legend colours change";
        EXPECT_EQ(CPVXCutLineDetDlg::m_crDiagram, 0u);
        EXPECT_EQ(m.m_pDispOpt->m_Color.m_crBackground, RGB(255, 255, 255));
        m.AfterGrayPrinting();
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(scales[i]->m_nColorTableKind, i);
            EXPECT_EQ(scales[i]->m_crContourLine, COLORREF(0x0101 + i));
            EXPECT_EQ(scales[i]->m_crElemEdge, COLORREF(0x0202 + i));
        }
        ExpectLegend(m.m_LegendEngine, dopttest::S);
        EXPECT_EQ(CPVXCutLineDetDlg::m_crDiagram, RGB(255, 0, 0));
        EXPECT_EQ(m.m_pDispOpt->m_Color.m_crBackground, screen.m_Color.m_crBackground);
        EXPECT_EQ(m.m_pDispOpt->m_Color.m_crContourLine, screen.m_Color.m_crContourLine);
        EXPECT_EQ(m.m_pDispOpt->m_Number.m_crNumberBack, screen.m_Number.m_crNumberBack);
    }
    // An After without a Before restores nothing, even with stale saves around.
    m.m_LegendEngine.m_crSaveBackTop = 0xBAD;
    scales[0]->m_nSaveColorTableKind = 2;
    m.AfterGrayPrinting();
    EXPECT_EQ(m.m_LegendEngine.m_crBackTop, dopttest::S(140));
    EXPECT_EQ(scales[0]->m_nColorTableKind, 0);
    m.ResetEngines();
}

TEST_F(ModelColours, BeamSlopesOnScreen) {
    I_PVXCtrl ctrl;
    ctrl.SetClientSize(400, 400);
    ctrl.SetStandardView(GViewCamera::VIEW_TOP);
    ctrl.ZoomToRange(C3DPoint(0, 0, 0), C3DPoint(10, 10, 0));
    I_PVXModel& m = *m_model;
    m.m_pPVXCtrl = &ctrl;
    const struct {
        C3DPoint p1, p2;
        int angle, turned;
    } rows[] = {{{0, 5, 0}, {10, 5, 0}, 0, 0}, {{10, 5, 0}, {0, 5, 0}, 0, 1},
                {{5, 0, 0}, {5, 10, 0}, 900, 0}, {{5, 10, 0}, {5, 0, 0}, 900, 1}};
    const double fractions[5][2] = {{0.0, 0.1}, {0.2, 0.3}, {0.45, 0.55}, {0.7, 0.8}, {0.9, 1.0}};
    int angle[5], turned[5], valid[5];
    CPoint centre[5];
    for (const auto& r : rows) {
        ASSERT_EQ(CUtilFuncs::MakeBeamSlopeAt5Div(&m, r.p1, r.p2, angle, turned, valid, centre), 1);
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE(testing::Message() << "angle " << r.angle << " turned " << r.turned << " piece " << i);
            EXPECT_EQ(valid[i], 1);
            EXPECT_EQ(angle[i], r.angle);
            EXPECT_EQ(turned[i], r.turned);
            const CPoint a = ctrl.GetWorldToMemDCP2D(r.p1 + (r.p2 - r.p1) * fractions[i][0]);
            const CPoint b = ctrl.GetWorldToMemDCP2D(r.p1 + (r.p2 - r.p1) * fractions[i][1]);
            EXPECT_EQ(centre[i], CPoint((a.x + b.x) / 2, (a.y + b.y) / 2));
        }
    }
    // Pieces off the left of the view are not valid and keep their centres.
    for (CPoint& c : centre) c = CPoint(-7, -7);
    CUtilFuncs::MakeBeamSlopeAt5Div(&m, C3DPoint(-30, 5, 0), C3DPoint(10, 5, 0), angle, turned, valid, centre);
    EXPECT_EQ(valid[0] + angle[0] + turned[0], 0);
    EXPECT_EQ(centre[0], CPoint(-7, -7));
    EXPECT_EQ(valid[4], 1);
    m.m_pPVXCtrl = nullptr;
}
