// Shared set-up of the export and print tests: a result view window in a frame (export needs
// the view's client area), a small model of plates and a column, and a result model linked to
// them as entering the result view mode leaves it.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <memory>
#include <string>

#include "host/base/CMsgOutWnd.h"
#include "host/db/CDBDoc.h"
#include "host/db/CDispOptMgr.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "host/grx/XGL_PrintHandler.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXDataCtrls.h"
#include "tests/module/model/LinkedModelSupport.h"
#include "platform/ui/CUiDriver.h"

class ExportTestView : public GRenderView {};

inline std::string TmpPath(const std::string& name) { return std::string(PVX_TEST_TMPDIR) + "/export_" + name; }

inline long FileSize(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

inline bool AnyMessageContains(const char* text) {
    for (const std::string& line : CMsgOutWnd::GetLines())
        if (line.find(text) != std::string::npos) return true;
    return false;
}

class ExportFixture : public ::testing::Test {
protected:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;

    void SetUp() override {
        CUiDriver::Get().Reset();
        CMsgOutWnd::Clear();
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, kWidth + 50, kHeight + 50,
                                     nullptr, nullptr));
        m_pView = new ExportTestView;  // deletes itself when its window goes
        if (!m_pView->Create(nullptr, "result", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &m_frame, 1)) {
            delete m_pView;
            m_pView = nullptr;
            FAIL() << "the view window was not made";
        }
    }
    void TearDown() override {
        m_model.reset();
        if (m_pView) m_pView->DestroyWindow();
        if (m_frame.GetSafeHwnd()) m_frame.DestroyWindow();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
        XGL_PrintHandler::m_bDrawRect = FALSE;
        XGL_PrintHandler::ClearMetafile();
        CUiDriver::Get().Reset();
    }

    // Two 10 m plates side by side and a 3 m column at the origin.
    static void BuildModel(PostDBBuilder& b) {
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 10, 0, 0);
        b.AddNode(3, 10, 10, 0);
        b.AddNode(4, 0, 10, 0);
        b.AddNode(5, 20, 0, 0);
        b.AddNode(6, 20, 10, 0);
        b.AddNode(7, 0, 0, 3);
        b.AddElem(1, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        b.AddElem(2, PELEM_KIND_PLATE, 301, {2, 5, 6, 3});
        b.AddElem(3, PELEM_KIND_FRAME, 101, {1, 7});
        b.AddMemb(1, 301, {1, 2, 3, 4}, {1});
        b.AddMemb(2, 301, {2, 5, 6, 3}, {2});
        b.AddMemb(3, 101, {1, 7}, {3});
    }

    // bElements 0: the nodes only, a project without elements.
    void Open(int bElements = 1) {
        PostDBBuilder b;
        BuildModel(b);
        if (!bElements) {
            b.DB().Table<DBT_PMEMB>().Clear();
            b.DB().Table<DBT_PELEM>().Clear();
        }
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        I_PVXModel& m = *m_model;
        LinkModelToCtrl(m, Ctrl(), m_pView);
        Ctrl()->SetClientSize(kWidth, kHeight);
        Ctrl()->SetStandardView(GViewCamera::VIEW_TOP);
        // The host's colours: black screen and white print background, colour printing.
        SetHostPrintColorMode(1);
        CDispOptMgr* mgr = m_doc.GetDispOpt();
        ASSERT_TRUE(mgr->SetColor(COptColorObjNames()[0], RGB(0, 0, 0), RGB(255, 255, 255)));
        m.PrepareColorSet(0);
        // Flat faces in one colour per member type.
        T_PVX_DOPT_D& o = *m.m_pDispOpt;
        o.m_nColorMode = 2;
        o.m_nRenderMode = 1;
        o.m_bWireFrame = 0;
        o.m_bShading = 0;
        o.m_bLineCulling = o.m_bPlaneCulling = 0;
    }

    // 0 gray printing, 1 screen colours, 2 print colours; read by every print and export.
    void SetHostPrintColorMode(int mode) { ASSERT_TRUE(m_doc.GetDispOpt()->SetDraw(COptDrawObjNames()[4], 0, mode)); }

    I_PVXCtrl* Ctrl() { return m_pView->GetI_PVXCtrl(); }
    I_PVXModel& M() { return *m_model; }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = CDBDoc::m_pDBDoc;
    CWnd m_frame;
    ExportTestView* m_pView = nullptr;
    std::unique_ptr<I_PVXModel> m_model;
};

// Runs a command; its exit code, with stdout and stderr in output.
inline int RunCommand(const std::string& cmd, std::string& output) {
    output.clear();
    FILE* p = ::popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return -1;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) output += buf;
    const int status = ::pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Width, height and the number of pixels that differ from the top-left one, as PIL reads a
// bitmap; false when PIL cannot open it.
inline bool PilImageStats(const std::string& path, int& w, int& h, long& differing) {
    const std::string cmd = "/usr/bin/python3 -c \"import sys; from PIL import Image; im = Image.open(sys.argv[1]); "
                            "print(im.format); im = im.convert('RGB'); bg = im.getpixel((0, 0)); "
                            "print(im.size[0], im.size[1], sum(1 for p in im.getdata() if p != bg))\" '" +
                            path + "'";
    std::string out;
    if (RunCommand(cmd, out) != 0) return false;
    char fmt[16] = {0};
    return std::sscanf(out.c_str(), "%15s %d %d %ld", fmt, &w, &h, &differing) == 4 && std::string(fmt) == "BMP";
}
