// Shared set-up of the result-model tests: a document holding a small post database, a render
// view with its graphics control, and a reset of the module-wide state between tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/force/CForceEngine.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "module/model/I_PVXModel.h"
#include "tests/module/model/LinkedModelSupport.h"

// Load keys of the test database.
enum : UINT {
    kCaseDead = 1,       // static load case
    kCaseLive = 2,       // static load case
    kCombLinear = 10,    // 1.2 dead + 1.4 live
    kCombEnvelope = 12,  // envelope of dead and live
    kModeFirst = 1,      // the one eigen mode
};

inline void FillTestDatabase(CDBDoc& doc) {
    PostDBBuilder b;
    b.AddNode(1, 0, 0, 0);
    b.AddNode(2, 6, 0, 0);
    b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2});
    b.AddMemb(1, 201, {1, 2}, {1});
    // Both nodes support the beam, which also lies on springs: reactions and spring pressures
    // under the dead load.
    T_PRTND_D support;
    support.Initialize();
    support.type = PRTND_SUPPORT;
    T_PESPR_D spring;
    spring.Initialize();
    spring.elem = 1;
    spring.kv = 2.0e4;
    spring.width = 1.0;
    b.Add<DBT_PRTND>(1, support);
    b.Add<DBT_PRTND>(2, support);
    b.Add<DBT_PESPR>(1, spring);
    b.AddLoadCase(kCaseDead, PLOAD_STATIC, "DL");
    b.AddLoadCase(kCaseLive, PLOAD_STATIC, "LL");
    T_PLCOM_ENTRY dead{PLOAD_STATIC, kCaseDead, 1.2};
    T_PLCOM_ENTRY live{PLOAD_STATIC, kCaseLive, 1.4};
    b.AddLoadComb(kCombLinear, PLCOM_LINEAR, "1.2DL+1.4LL", {dead, live});
    b.AddLoadComb(kCombEnvelope, PLCOM_ENVELOPE, "ENV", {dead, live});
    // Forces of the beam under both cases: moment y -10 at the ends, +5 at mid-span.
    T_STRG_D forces;
    forces.Initialize();
    for (int s = 0; s < 8; ++s)
        for (int e = 0; e < 2; ++e) forces.d[12 * s + 6 * e + 4] = (s + e == 0 || s + e == 8) ? -10.0 : 5.0;
    b.AddStrg(kCaseDead, 1, forces);
    b.AddStrg(kCaseLive, 1, forces);
    T_FREQ_D freq{};
    T_MPAM_D mass{};
    b.AddMode(kModeFirst, freq, mass);
    T_REAC_D r{0.0, 0.0, 30.0, 0.0, 4.5, 0.0};
    b.AddReac(kCaseDead, 1, r);
    b.AddReac(kCaseDead, 2, r);
    T_STWS_D p;
    p.Initialize();
    for (int i = 0; i < 5; ++i) p.d[i] = 10.0;
    b.AddStws(kCaseDead, 1, p);
    b.Install(doc);
}

// A concrete view to own a graphics control for the model.
class TestRenderView : public GRenderView {};

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetBarState();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        FillTestDatabase(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
    }
    void TearDown() override {
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    // A model linked to the view's control, as the view's creation leaves it.
    std::unique_ptr<I_PVXModel> MakeLinkedModel() {
        auto p = std::make_unique<I_PVXModel>();
        p->Link_I_RDXModel(m_view.GetI_PVXCtrl());
        p->SetView(&m_view);
        return p;
    }
    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    TestRenderView m_view;
};
