// Shared set-up of the view-event and render-engine query tests: a small post database (a
// two-element beam along x, a column with two inner stations, a one-element beam), a render view
// with its graphics control and a model linked to them, entered into the result view mode.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/force/CForceEngine.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXDataCtrls.h"
#include "tests/module/model/LinkedModelSupport.h"

namespace evtest {

enum : UINT {
    kCase = 1,        // static load case "LC1"
    kBeam = 5,        // beam member 201: nodes 1-2-3 along x, elements 1 and 2
    kColumn = 7,      // column member 101: nodes 1-4, inner station nodes 2 (ST) and 0 (no ED)
    kShortBeam = 9,   // beam member 205 of one element (3), nodes 3-5
};

inline void BuildDatabase(PostDBBuilder& b) {
    b.AddNode(1, 0, 0, 0);
    b.AddNode(2, 4, 0, 0);
    b.AddNode(3, 8, 0, 0);
    b.AddNode(4, 0, 0, 3);
    b.AddNode(5, 8, 4, 0);
    b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2});
    b.AddElem(2, PELEM_KIND_FRAME, 201, {2, 3});
    b.AddElem(3, PELEM_KIND_FRAME, 205, {3, 5});
    b.AddElem(4, PELEM_KIND_FRAME, 101, {1, 4});
    T_PMEMB_D beam;
    beam.type = 201;
    beam.length = 8.0;
    beam.aNode.Add(1);
    beam.aNode.Add(2);
    beam.aNode.Add(3);
    beam.aElem.Add(1);
    beam.aElem.Add(2);
    b.AddMemb(kBeam, beam);
    T_PMEMB_D col;
    col.type = 101;
    col.length = 3.0;
    col.aNode.Add(1);
    col.aNode.Add(4);
    col.aElem.Add(4);
    col.node3 = 2;  // the ST station exists, the ED station does not
    b.AddMemb(kColumn, col);
    b.AddMemb(kShortBeam, 205, {3, 5}, {3});
    b.AddLoadCase(kCase, PLOAD_STATIC, "LC1");
    T_DISP_D d{1.0, 2.0, 3.0, 0.1, 0.2, 0.3};
    b.AddDisp(kCase, 2, d);
    T_DISP_D d3{0.5, 0.0, 0.0, 0.0, 0.0, 0.0};
    b.AddDisp(kCase, 3, d3);
    T_REAC_D r{10.0, 20.0, 30.0, 1.5, 2.5, 3.5};
    b.AddReac(kCase, 1, r);
}

class EventView : public GRenderView {};

class EventsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetBarState();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        BuildDatabase(b);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        m_model->Link_I_RDXModel(Ctrl());
        m_model->SetView(&m_view);
        Ctrl()->SetClientSize(400, 300);
    }
    void TearDown() override {
        m_model.reset();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    // Selects load case LC1 (value) the way the bars leave it.
    void SelectCase(int nStep = 0) {
        I_PVXModel& m = M();
        m.m_nLoadType = 1;
        m.m_nLoadKey = kCase;
        m.m_nLoadStep = nStep;
        m.m_strLoadName = "LC1";
        m.m_bLoadSelected = 1;
        m.SelectLoad();
    }
    // A deformation engine with data whose drawing scale is 2.
    CDeformEngine* AddDeformEngine(int nComponent) {
        I_PVXModel& m = M();
        delete m.m_pDeformEngine;
        m.m_pDeformEngine = new CDeformEngine(&m);
        m.m_pDeformEngine->m_bDataReady = 1;
        m.m_pDeformEngine->m_dAdjustFactor = 1.0;
        m.m_pDeformEngine->m_dUserScale = 2.0;
        m.m_pDeformEngine->m_nComponent = nComponent;
        return m.m_pDeformEngine;
    }

    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    I_PVXModel& M() { return *m_model; }
    int ObjMin() const { return I_PVXCtrl::kObjectIDFirst; }
    int NodeMin() const { return I_PVXCtrl::kNodeIDFirst; }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    EventView m_view;
    std::unique_ptr<I_PVXModel> m_model;
};

inline std::vector<UINT> Keys(const CArray<UINT, UINT>& a) {
    return std::vector<UINT>(a.GetData(), a.GetData() + a.GetSize());
}
inline std::vector<int> Ints(const CArray<int, int>& a) { return std::vector<int>(a.GetData(), a.GetData() + a.GetSize()); }

}  // namespace evtest
