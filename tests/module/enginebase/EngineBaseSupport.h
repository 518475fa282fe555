// Set-up shared by the engine-base tests: a one-plate model linked to a view's graphics control
// in top view, an engine drawing into it, and helpers to read the recording DC.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "module/contour/CContourEngine.h"
#include "module/engines/CEngineBase.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CRecordDC.h"
#include "tests/module/model/LinkedModelSupport.h"

namespace enginebase {

class TestView : public GRenderView {};

using Segment = std::pair<CPoint, CPoint>;

inline std::vector<Segment> LinesOf(const CRecordDC& dc) {
    std::vector<Segment> out;
    for (const GdiRecord* r : dc.GetRecords("LineTo"))
        out.emplace_back(CPoint(r->curPos.x, r->curPos.y), CPoint(r->Arg(0), r->Arg(1)));
    return out;
}

// A model of one 10 x 10 plate on the xy plane, seen from the top on a 400 x 300 client area.
class LinkedEngineTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 400, kHeight = 300;

    void SetUp() override {
        ResetBarState();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 10, 0, 0);
        b.AddNode(3, 10, 10, 0);
        b.AddNode(4, 0, 10, 0);
        b.AddElem(1, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        b.AddMemb(1, 301, {1, 2, 3, 4}, {1});
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        LinkModelToCtrl(*m_model, Ctrl(), &m_view);
        Ctrl()->SetClientSize(kWidth, kHeight);
        Ctrl()->SetStandardView(GViewCamera::VIEW_TOP);
        m_model->m_nPenFactor = 2;
        ASSERT_TRUE(m_dc.Create());
    }
    void TearDown() override {
        m_model.reset();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    CPoint Px(const C3DPoint& p) { return Ctrl()->GetWorldToMemDCP2D(p); }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    TestView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    CRecordDC m_dc;
};

// A colour scale of 12 levels 0, 1, ..., 11 (band r between levels r-1 and r).
inline CContourEngine* UnitScale() { return new CContourEngine(0.0, 11.0); }

}  // namespace enginebase
