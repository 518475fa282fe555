// The vector arrow and plate local-axis glyphs of the result engines, drawn through a linked
// model onto recording DCs.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "module/engines/CEngineBase.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CRecordDC.h"
#include "tests/module/model/LinkedModelSupport.h"

namespace {

class GlyphView : public GRenderView {};

using Segment = std::pair<CPoint, CPoint>;

std::vector<Segment> LinesOf(const CRecordDC& dc) {
    std::vector<Segment> out;
    for (const GdiRecord* r : dc.GetRecords("LineTo"))
        out.emplace_back(CPoint(r->curPos.x, r->curPos.y), CPoint(r->Arg(0), r->Arg(1)));
    return out;
}

class GlyphTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 400, kHeight = 300;

    void SetUp() override {
        ResetBarState();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 1, 0, 0);
        b.AddNode(3, 1, 1, 0);
        b.AddNode(4, 0, 1, 0);
        b.AddElem(1, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        b.AddElem(2, PELEM_KIND_PLATE, 301, {});
        b.AddMemb(1, 301, {1, 2, 3, 4}, {1});
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        LinkModelToCtrl(*m_model, Ctrl(), &m_view);
        Ctrl()->SetClientSize(kWidth, kHeight);
        Ctrl()->SetStandardView(GViewCamera::VIEW_TOP);
        m_engine.m_pModel = m_model.get();
        m_model->m_nPenFactor = 2;
        ASSERT_TRUE(m_dc.Create());
        ASSERT_TRUE(m_client.Create());
    }
    void TearDown() override {
        m_engine.m_pModel = nullptr;
        m_model.reset();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    CPoint Px(const C3DPoint& p) { return Ctrl()->GetWorldToMemDCP2D(p); }
    Segment Seg(const C3DPoint& a, const C3DPoint& b) { return {Px(a), Px(b)}; }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    GlyphView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    CEngineBase m_engine;
    CRecordDC m_dc, m_client;
};

TEST_F(GlyphTest, VectorArrowDrawsBothHalvesOnTheRightDCs) {
    const C3DPoint base(0.5, 0.5, 0), tip(0.9, 0.5, 0), barbA(0.8, 0.55, 0), barbB(0.8, 0.45, 0);
    const C3DPoint mTip(0.1, 0.5, 0), mA(0.2, 0.45, 0), mB(0.2, 0.55, 0);
    const std::vector<Segment> arrow = {Seg(base, tip), Seg(tip, barbA), Seg(tip, barbB),
                                        Seg(base, mTip), Seg(mTip, mA), Seg(mTip, mB)};
    struct Row {
        const char* label;
        int direct, second;
        size_t clientLines;  // lines expected on the client DC
    } rows[] = {
        {"memory image, client DC shown", 0, 0, 6},
        {"memory image, client DC suppressed", 0, 1, 0},
        {"direct to the window", 1, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        m_dc.Clear();
        m_client.Clear();
        m_model->m_bExternalDevice = row.direct;
        m_model->m_bSecondTarget = row.second;
        CPen pen(PS_SOLID, 3, RGB(200, 10, 20));
        CPen* pOld = m_dc.SelectObject(&pen);
        CPen* pOldClient = m_client.SelectObject(&pen);
        m_engine.DrawVectorArrow(&m_dc, &m_client, base, tip, barbA, barbB);
        m_dc.SelectObject(pOld);
        m_client.SelectObject(pOldClient);

        EXPECT_EQ(LinesOf(m_dc), arrow);
        for (const GdiRecord* r : m_dc.GetRecords("LineTo")) {
            EXPECT_EQ(r->pen.lopnColor, RGB(200, 10, 20));
            EXPECT_EQ(r->pen.lopnWidth.x, 3);
        }
        const std::vector<Segment> client = LinesOf(m_client);
        ASSERT_EQ(client.size(), row.clientLines);
        if (row.clientLines) {
            EXPECT_EQ(client, arrow);
        }
    }
}

TEST_F(GlyphTest, VectorArrowEdgeCases) {
    const C3DPoint base(0.5, 0.5, 0), barbA(0.4, 0.6, 0), barbB(0.6, 0.6, 0);
    // Tip on the base: zero-length shafts and the head mirrored onto the other side.
    m_engine.DrawVectorArrow(&m_dc, nullptr, base, base, barbA, barbB);
    const std::vector<Segment> expected = {Seg(base, base), Seg(base, barbA), Seg(base, barbB),
                                           Seg(base, base), Seg(base, C3DPoint(0.6, 0.4, 0)),
                                           Seg(base, C3DPoint(0.4, 0.4, 0))};
    EXPECT_EQ(LinesOf(m_dc), expected) << "a missing client DC is skipped, the image still drawn";

    // An engine without a model draws nothing.
    CEngineBase orphan;
    m_dc.Clear();
    orphan.DrawVectorArrow(&m_dc, &m_client, base, C3DPoint(1, 1, 0), barbA, barbB);
    EXPECT_EQ(m_dc.Count("LineTo"), 0u);
    EXPECT_EQ(m_client.Count("LineTo"), 0u);
}

TEST_F(GlyphTest, LocalAxesOfASquarePlate) {
    double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    T_PVX_DOPT_D& opt = *m_model->m_pDispOpt;
    opt.m_Color.m_crAxis[0] = RGB(250, 1, 2);
    opt.m_Color.m_crAxis[1] = RGB(3, 240, 4);
    opt.m_Color.m_crAxis[2] = RGB(5, 6, 230);
    opt.m_Number.m_crAxisBack = RGB(17, 18, 19);
    opt.m_Number.m_lfAxis.lfEscapement = 900;
    opt.m_Number.m_lfAxis.lfOrientation = 900;

    const double len = 0.15 * std::sqrt(2.0);
    const C3DPoint c(0.5, 0.5, 0.0);
    const C3DPoint tips[3] = {c + C3DPoint(len, 0, 0), c + C3DPoint(0, len, 0), c + C3DPoint(0, 0, len)};
    const char* letters[3] = {"x", "y", "z"};

    for (int opaque = 0; opaque < 2; ++opaque) {
        for (int direct = 0; direct < 2; ++direct) {
            SCOPED_TRACE(::testing::Message() << "opaque " << opaque << ", direct " << direct);
            m_dc.Clear();
            m_model->m_bExternalDevice = direct;
            opt.m_Number.m_bAxisOpaque = opaque;
            CPen keep(PS_SOLID, 7, RGB(1, 1, 1));
            CPen* pBefore = m_dc.SelectObject(&keep);
            m_engine.DrawPlateResultLclAxis(&m_dc, 1, axes, 0);

            const std::vector<const GdiRecord*> lines = m_dc.GetRecords("LineTo");
            const std::vector<const GdiRecord*> texts = m_dc.GetRecords("TextOut");
            ASSERT_EQ(lines.size(), 3u);
            ASSERT_EQ(texts.size(), 3u);
            for (int i = 0; i < 3; ++i) {
                SCOPED_TRACE(letters[i]);
                EXPECT_EQ(CPoint(lines[i]->curPos.x, lines[i]->curPos.y), Px(c));
                EXPECT_EQ(CPoint(lines[i]->Arg(0), lines[i]->Arg(1)), Px(tips[i]));
                EXPECT_EQ(lines[i]->pen.lopnColor, opt.m_Color.m_crAxis[i]);
                EXPECT_EQ(lines[i]->pen.lopnWidth.x, 3);  // int(1.9 x 2)
                EXPECT_EQ(texts[i]->text, letters[i]);
                EXPECT_EQ(CPoint(texts[i]->Arg(0), texts[i]->Arg(1)), Px(tips[i]));
                EXPECT_EQ(texts[i]->textColor, opt.m_Color.m_crAxis[i]);
                EXPECT_EQ(texts[i]->bkMode, opaque ? OPAQUE : TRANSPARENT);
                EXPECT_EQ(texts[i]->bkColor, RGB(17, 18, 19));
                EXPECT_EQ(texts[i]->textAlign, static_cast<UINT>(TA_BOTTOM | TA_CENTER));
                EXPECT_EQ(texts[i]->font.lfEscapement, 0);
                EXPECT_EQ(texts[i]->font.lfOrientation, 0);
            }
            // The shared label font keeps the user's angle; the caller's pen is back.
            EXPECT_EQ(opt.m_Number.m_lfAxis.lfEscapement, 900);
            EXPECT_EQ(opt.m_Number.m_lfAxis.lfOrientation, 900);
            EXPECT_EQ(m_dc.GetCurrentPen(), &keep);
            m_dc.SelectObject(pBefore);
        }
    }
    // Without a deformation engine the deformed request keeps the nodes where they stand.
    m_dc.Clear();
    m_model->m_bExternalDevice = 0;
    ASSERT_EQ(m_model->m_pDeformEngine, nullptr);
    m_engine.DrawPlateResultLclAxis(&m_dc, 1, axes, 1);
    ASSERT_EQ(m_dc.Count("TextOut"), 3u);
    EXPECT_EQ(CPoint(m_dc.GetRecords("TextOut")[0]->Arg(0), m_dc.GetRecords("TextOut")[0]->Arg(1)), Px(tips[0]));
    // The x tip stands 0.15 x sqrt(2) from the centre of the unit square.
    EXPECT_NEAR(tips[0].x - c.x, 0.2121320, 1e-7);
}

TEST_F(GlyphTest, LocalAxesOffScreenAndMissingElements) {
    double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    // An element without nodes, an unknown key and an engine without a model draw nothing.
    m_engine.DrawPlateResultLclAxis(&m_dc, 2, axes, 0);
    m_engine.DrawPlateResultLclAxis(&m_dc, 99, axes, 0);
    CEngineBase orphan;
    orphan.DrawPlateResultLclAxis(&m_dc, 1, axes, 0);
    EXPECT_EQ(m_dc.Count("LineTo"), 0u);
    EXPECT_EQ(m_dc.Count("TextOut"), 0u);

    // The view moved so that the element's centre lies left of the window: memory-image axes are
    // left out, their letters still written at the mapped tips.
    GViewCamera& cam = Ctrl()->GetCamera();
    cam.SetTarget(cam.GetTarget() + C3DPoint(0.5 + kWidth / cam.GetScale(), 0, 0));
    const C3DPoint c(0.5, 0.5, 0.0);
    ASSERT_LT(Px(c).x, 0);
    m_model->m_bExternalDevice = 0;
    m_dc.Clear();
    m_engine.DrawPlateResultLclAxis(&m_dc, 1, axes, 0);
    EXPECT_EQ(m_dc.Count("LineTo"), 0u);
    const std::vector<const GdiRecord*> texts = m_dc.GetRecords("TextOut");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(CPoint(texts[0]->Arg(0), texts[0]->Arg(1)), Px(c + C3DPoint(0.15 * std::sqrt(2.0), 0, 0)));

    // Direct mode leaves clipping to the window: the axes are drawn all the same.
    m_model->m_bExternalDevice = 1;
    m_dc.Clear();
    m_engine.DrawPlateResultLclAxis(&m_dc, 1, axes, 0);
    EXPECT_EQ(m_dc.Count("LineTo"), 3u);
    EXPECT_EQ(m_dc.Count("TextOut"), 3u);
}

TEST_F(GlyphTest, UCSPlaneIconLeavesTheDCAlone) {
    double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    m_engine.DrawUCSPlaneIcon(&m_dc, axes);
    EXPECT_TRUE(m_dc.GetRecords().empty());
}

}  // namespace
