// Shared set-up of the render-path tests: a document with a post database (built in code or the
// sample project), a render view with its graphics control, and a result model linked to them
// the way entering the result view mode leaves it: tables bound, every member and node shown,
// the undeformed geometry registered, the plan view fitted to the model.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXDataCtrls.h"
#include "tests/module/model/LinkedModelSupport.h"
#include "platform/gdi/CRecordDC.h"

class RenderTestView : public GRenderView {};

inline bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

// The sample project of the build, generated into the test directory when the build has none.
inline std::string SampleProjectPath() {
    const std::string built = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";
    if (FileExists(built)) return built;
    const std::string made = std::string(PVX_TEST_TMPDIR) + "/render_sample.pvxdb";
    if (!FileExists(made)) {
        const std::string cmd = std::string(PVX_BINARY_DIR) + "/bin/pvxhost make-sample --out " + made;
        if (std::system(cmd.c_str()) != 0) return std::string();
    }
    return made;
}

class RenderFixture : public ::testing::Test {
protected:
    void TearDown() override {
        m_model.reset();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }

    // Installs the builder's database and makes the model.
    void Open(PostDBBuilder& b) {
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        MakeModel();
    }
    bool OpenFile(const std::string& path) {
        if (path.empty() || !m_doc.OpenDocument(path.c_str())) return false;
        CDBDoc::m_pDBDoc = &m_doc;
        MakeModel();
        return true;
    }

    // The model under test; a test may give a model that answers a callback its own way.
    virtual std::unique_ptr<I_PVXModel> NewModel() { return std::make_unique<I_PVXModel>(); }

    void MakeModel() {
        m_model = NewModel();
        I_PVXModel& m = *m_model;
        LinkModelInView(m, Ctrl(), &m_view, kWidth, kHeight, GViewCamera::VIEW_TOP);
        // Plain faces: one colour per member type, no shading, no culling.
        T_PVX_DOPT_D& o = *m.m_pDispOpt;
        SetPlainDrawing(o);
        o.m_nColorMode = 2;
        o.m_Color.m_crBackground = RGB(0, 0, 0);
    }

    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    I_PVXModel& M() { return *m_model; }

    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = CDBDoc::m_pDBDoc;
    RenderTestView m_view;
    std::unique_ptr<I_PVXModel> m_model;
};
