// A fixture shared by the test programs that read results of the generated sample project
// (build/.../examples/sample.pvxdb): the project opened as the document of the process and a
// model linked to a view's graphics control on it; the bars' static state and the document that
// was current come back after each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/db/CDBDoc.h"
#include "host/grx/GRenderView.h"
#include "module/model/I_PVXModel.h"
#include "tests/module/model/LinkedModelSupport.h"

class SampleModelFixture : public ::testing::Test {
protected:
    class SampleView : public GRenderView {};

    static std::string SampleProjectPath() { return std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb"; }

    // Opens the project and links a new model to the view's control, sized cx x cy pixels. A
    // derived SetUp calls it first and stops when it failed (HasFatalFailure()).
    void OpenSampleModel(int cx = 400, int cy = 300) {
        ResetBarState();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        ASSERT_TRUE(m_doc.OpenDocument(SampleProjectPath().c_str())) << SampleProjectPath();
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        LinkModelToCtrl(*m_model, m_view.GetI_PVXCtrl(), &m_view);
        m_view.GetI_PVXCtrl()->SetClientSize(cx, cy);
    }
    void TearDown() override {
        m_model.reset();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    SampleView m_view;
    std::unique_ptr<I_PVXModel> m_model;
};
