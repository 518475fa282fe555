// A result view in a frame over a one-beam project, with its own temporary folder as the
// preference temporary folder: what the animation engine, its tool bar and its dialog need.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "module/animation/CAniCtrlBar.h"
#include "module/animation/CAnimationEngine.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/afxwin.h"
#include "platform/video/vfw.h"

struct AnimationViewFixture : testing::Test {
    CDBDoc doc;
    CFrameWnd* frame = nullptr;  // deletes itself with its window
    CPVXView* view = nullptr;    // deletes itself with its window
    std::string dir;             // the preference temporary folder, ending in '/'

    void SetUp() override {
        CUiDriver::Get().Reset();
        CUiDriver::Get().UseVirtualClock(TRUE);
        ICInstallDefaults();
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 6, 0, 0);
        b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2});
        b.AddMemb(1, 201, {1, 2}, {1});
        b.Install(doc);
        CDBDoc::m_pDBDoc = &doc;
        dir = std::string(PVX_TEST_TMPDIR) + "/anieng_" + std::to_string(getpid()) + "/";
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        SetTempDir(dir);
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr));
        view = new CPVXView;
        ASSERT_TRUE(view->Create(nullptr, "result", WS_CHILD | WS_VISIBLE, CRect(0, 0, 101, 50), frame, 100));
    }
    void TearDown() override {
        if (view && view->GetSafeHwnd()) {
            Ani().ExitAnimationMode();
            view->DestroyWindow();
        }
        if (frame && frame->GetSafeHwnd()) frame->DestroyWindow();
        CDBDoc::m_pDBDoc = nullptr;
        CUiDriver::Get().Reset();
        ICInstallDefaults();
        std::filesystem::remove_all(dir);
    }
    void SetTempDir(const std::string& d) {
        T_PREFERENCE pref;
        pref.Initialize();
        std::snprintf(pref.szTempDir, sizeof(pref.szTempDir), "%s", d.c_str());
        doc.GetInitCtrl()->SetPreference(pref);
    }
    I_PVXModel& Model() { return *view->GetPVXModel(); }
    CAnimationEngine& Ani() { return Model().m_AnimationEngine; }
    CAniCtrlBar& Bar() { return *Ani().m_pAniCtrlBar; }
};
