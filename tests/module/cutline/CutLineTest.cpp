// Cutting-line pieces and diagrams of the result engines, built on a linked model with one unit
// square plate and drawn onto a recording DC.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "module/engines/CEngineBase.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "platform/gdi/CRecordDC.h"
#include "tests/module/model/LinkedModelSupport.h"

namespace {

class CutView : public GRenderView {};

// An engine whose nodal result is fixed per node position: 0, 1, 3, 10.
class CutEngine : public CEngineBase {
public:
    void GetNodalValueforCutting(UINT, double& vI, int i, double& vJ, int j) override {
        static const double kValues[4] = {0.0, 1.0, 3.0, 10.0};
        vI = kValues[i];
        vJ = kValues[j];
    }
    using CEngineBase::DrawCuttingLineDiagrams;
    using CEngineBase::MakeCuttingLinePieces;
};

T_PVX_CUTL_D Line(double x1, double y1, double x2, double y2) {
    T_PVX_CUTL_D l;
    l.x1 = x1; l.y1 = y1; l.x2 = x2; l.y2 = y2;
    return l;
}

using Segment = std::pair<CPoint, CPoint>;

class CutLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetBarState();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 1, 0, 0);
        b.AddNode(3, 1, 1, 0);
        b.AddNode(4, 0, 1, 0);
        b.AddElem(1, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        b.AddMemb(1, 301, {1, 2, 3, 4}, {1});
        b.AddCutLine(4, CTLN_KIND_CUTLINE, "Cut-Line #1", 0.0, -1, 0.5, 0, 2, 0.5, 0);
        b.AddCutLine(5, CTLN_KIND_STRIP, "Strip-1", 1.0, 0.5, -1, 0, 0.5, 2, 0);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        LinkModelToCtrl(*m_model, Ctrl(), &m_view);
        Ctrl()->SetClientSize(400, 300);
        Ctrl()->SetStandardView(GViewCamera::VIEW_TOP);
        m_model->m_nPenFactor = 2;
        m_engine.m_pModel = m_model.get();
        m_engine.m_arrElemKey.Add(1);
        m_engine.m_arrElemKey.Add(99);  // no such element: skipped
        CPVXCutLineDetDlg::m_arrSelCutLine.RemoveAll();
        CPVXCutLineDetDlg::m_nDirection = 1;
        CPVXCutLineDetDlg::m_dScaleFactor = 1.0;
        CPVXCutLineDetDlg::m_bOutputValues = 1;
        CPVXCutLineDetDlg::m_bOnlyMinMax = 1;
        ASSERT_TRUE(m_dc.Create());
    }
    void TearDown() override {
        m_engine.m_pModel = nullptr;
        m_model.reset();
        CPVXCutLineDetDlg::m_arrSelCutLine.RemoveAll();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    CPoint Px(const C3DPoint& p) { return Ctrl()->GetWorldToMemDCP2D(p); }
    std::vector<const GdiRecord*> Lines() { return m_dc.GetRecords("LineTo"); }
    bool HasLine(const C3DPoint& a, const C3DPoint& b) {
        const CPoint pa = Px(a), pb = Px(b);
        for (const GdiRecord* r : Lines()) {
            const CPoint from(r->curPos.x, r->curPos.y), to(r->Arg(0), r->Arg(1));
            if ((from == pa && to == pb) || (from == pb && to == pa)) return true;
        }
        return false;
    }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    CutView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    CutEngine m_engine;
    CRecordDC m_dc;
};

TEST_F(CutLineTest, SelectedKeysBuildTheLinesOfTheHostTable) {
    m_engine.MakeCuttingLineData();
    EXPECT_EQ(m_engine.m_arrCutLine.GetSize(), 0);
    EXPECT_EQ(m_engine.m_arrCutLineData.GetSize(), 0);
    EXPECT_EQ(m_engine.m_arrCutLineMinMax.GetSize(), 0);
    m_engine.DrawCuttingLineDiagrams(&m_dc);
    EXPECT_EQ(m_dc.Count("LineTo"), 0u);
    EXPECT_EQ(m_dc.Count("TextOut"), 0u);

    // The selected keys name lines of the host's cutting-line table: a key of no line, and a
    // slab strip, give no line; a cutting line gives its name and points, and its extremes.
    CPVXCutLineDetDlg::m_arrSelCutLine.Add(7);
    CPVXCutLineDetDlg::m_arrSelCutLine.Add(5);
    CPVXCutLineDetDlg::m_arrSelCutLine.Add(4);
    m_engine.MakeCuttingLineData();
    ASSERT_EQ(m_engine.m_arrCutLine.GetSize(), 1);
    EXPECT_STREQ(m_engine.m_arrCutLine[0].strName, "Cut-Line #1");
    EXPECT_DOUBLE_EQ(m_engine.m_arrCutLine[0].x1, -1.0);
    EXPECT_DOUBLE_EQ(m_engine.m_arrCutLine[0].y2, 0.5);
    ASSERT_EQ(m_engine.m_arrCutLineData.GetSize(), 1);
    EXPECT_EQ(m_engine.m_arrCutLineData[0]->GetSize(), 1);
    // Values 1 and 3 at (1,0.5): 2; 10 and 0 at (0,0.5): 5 (see PiecesAcrossTheSquare).
    EXPECT_DOUBLE_EQ(m_engine.m_arrCutLineMinMax[0].dMax, 5.0);
    EXPECT_DOUBLE_EQ(m_engine.m_arrCutLineMinMax[0].dMin, 2.0);
}

TEST_F(CutLineTest, PiecesAcrossTheSquare) {
    struct Row {
        const char* label;
        T_PVX_CUTL_D line;
        int nPieces;
        C3DPoint a, b;
        double va, vb, da, db;
    };
    const Row rows[] = {
        // Edge 1-2 at (1,0.5): 1 + (3-1)/2 = 2; edge 3-0 at (0,0.5): 10 + (0-10)/2 = 5.
        {"middle", Line(-1, 0.5, 2, 0.5), 1, C3DPoint(1, 0.5, 0), C3DPoint(0, 0.5, 0), 2.0, 5.0, 2.0, 1.0},
        // Through two corners: each found on two edges, kept once.
        {"diagonal", Line(-1, -1, 2, 2), 1, C3DPoint(0, 0, 0), C3DPoint(1, 1, 0), 0.0, 3.0, std::sqrt(2.0),
         std::sqrt(8.0)},
        {"corner touch", Line(0.5, 1.5, 1.5, 0.5), 0, C3DPoint(), C3DPoint(), 0, 0, 0, 0},
        {"miss", Line(2, 0, 2, 1), 0, C3DPoint(), C3DPoint(), 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        m_engine.m_arrCutLine.RemoveAll();
        m_engine.m_arrCutLine.Add(r.line);
        m_engine.MakeCuttingLinePieces();
        ASSERT_EQ(m_engine.m_arrCutLineData.GetSize(), 1);
        const auto& pieces = *m_engine.m_arrCutLineData[0];
        ASSERT_EQ(pieces.GetSize(), r.nPieces);
        if (!r.nPieces) continue;
        const T_CUTLINE_D& p = pieces[0];
        EXPECT_NEAR(p.ptA.x, r.a.x, 1e-9);
        EXPECT_NEAR(p.ptA.y, r.a.y, 1e-9);
        EXPECT_NEAR(p.ptB.x, r.b.x, 1e-9);
        EXPECT_NEAR(p.ptB.y, r.b.y, 1e-9);
        EXPECT_NEAR(p.dValueA, r.va, 1e-9);
        EXPECT_NEAR(p.dValueB, r.vb, 1e-9);
        EXPECT_NEAR(p.dDistA, r.da, 1e-9);
        EXPECT_NEAR(p.dDistB, r.db, 1e-9);
        EXPECT_EQ(p.nElemKey, 1u);
        EXPECT_NEAR(m_engine.m_arrCutLineMinMax[0].dMax, std::max(r.va, r.vb), 1e-9);
        EXPECT_NEAR(m_engine.m_arrCutLineMinMax[0].dMin, std::min(r.va, r.vb), 1e-9);
    }
}

TEST_F(CutLineTest, DiagramPointsPensAndNumbers) {
    m_engine.m_arrCutLine.Add(Line(-1, 0.5, 2, 0.5));
    m_engine.MakeCuttingLinePieces();
    m_engine.DrawCuttingLineDiagrams(&m_dc);
    // Model box 1 x 1: factor = 1 / (5 x 15); in plane across +x the offset runs along -y.
    const double f = 1.0 / 75.0;
    const C3DPoint x0(1, 0.5, 0), x1(0, 0.5, 0), a(1, 0.5 - 2 * f, 0), b(0, 0.5 - 5 * f, 0);
    EXPECT_TRUE(HasLine(x0, a));
    EXPECT_TRUE(HasLine(x1, b));
    EXPECT_TRUE(HasLine(a, b));
    EXPECT_TRUE(HasLine(x0, x1));
    int thin = 0, thick = 0;
    for (const GdiRecord* r : Lines()) {
        EXPECT_EQ(r->pen.lopnColor, RGB(255, 0, 0));
        if (r->pen.lopnWidth.x == 2) ++thin;
        if (r->pen.lopnWidth.x == 4) ++thick;
    }
    EXPECT_GE(thin, 2);
    EXPECT_GE(thick, 2);
    EXPECT_EQ(m_dc.Count("TextOut"), 2u);  // both ends are the line's extremes

    // Along the normal: the offsets stand out of the plate's plane, seen end-on from the top.
    CPVXCutLineDetDlg::m_nDirection = 0;
    CPVXCutLineDetDlg::m_bOutputValues = 0;
    CRecordDC dc2;
    ASSERT_TRUE(dc2.Create());
    m_engine.DrawCuttingLineDiagrams(&dc2);
    EXPECT_EQ(dc2.Count("TextOut"), 0u);
    EXPECT_GT(dc2.Count("LineTo"), 0u);
}

TEST_F(CutLineTest, DiagramColourFollowsGrayPrinting) {
    EXPECT_EQ(CPVXCutLineDetDlg::m_crDiagram, RGB(255, 0, 0));
    m_engine.m_arrCutLine.Add(Line(-1, 0.5, 2, 0.5));
    m_engine.MakeCuttingLinePieces();
    m_model->BeforeGrayPrinting();
    const COLORREF gray = CPVXCutLineDetDlg::m_crDiagram;
    EXPECT_NE(gray, RGB(255, 0, 0));
    m_engine.DrawCuttingLineDiagrams(&m_dc);
    ASSERT_GT(m_dc.Count("LineTo"), 0u);
    for (const GdiRecord* r : Lines()) EXPECT_EQ(r->pen.lopnColor, gray);
    m_model->AfterGrayPrinting();
    EXPECT_EQ(CPVXCutLineDetDlg::m_crDiagram, RGB(255, 0, 0));
}

}  // namespace
