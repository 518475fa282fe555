// Shared set-up of the contour and legend dialog tests: the module's resources, a small post
// database, a result view with its model inside a frame, a contour engine on 0..12 and a
// result engine, all driven through CUiDriver scripts.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/CPVXBarDlgBase.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CEngineBase.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CColorWell.h"
#include "platform/ui/CUiDriver.h"
#include "module/resources/PVXResources.h"

namespace dlgtest {

// A bar page that only counts its Execute calls.
class CountingPage : public CPVXBarDlgBase {
public:
    CountingPage() : CPVXBarDlgBase(0, nullptr, nullptr) {}
    void ApplyOptions() override {}
    void Execute() override { ++m_nExecuted; }
    void SetModified() override {}
    int m_nExecuted = 0;
};

class DialogsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        PVXRegisterResources();
        CUiDriver::Get().Reset();
        CUiDriver::Get().UseVirtualClock(TRUE);
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        b.Set3D(TRUE);
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 0, 0, 3);
        b.AddNode(3, 6, 0, 3);
        b.AddElem(1, PELEM_KIND_FRAME, 101, {1, 2});
        b.AddElem(2, PELEM_KIND_FRAME, 201, {2, 3});
        b.AddMemb(1, 101, {1, 2}, {1});
        b.AddMemb(2, 201, {2, 3}, {2});
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr));
        m_pView = new CPVXView;  // deletes itself with its window
        ASSERT_TRUE(m_pView->Create(nullptr, "result", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &m_frame,
                                    AFX_IDW_PANE_FIRST));
        m_pView->GetI_PVXCtrl()->SetPVXViewMode(1);
        m_pScale = new CContourEngine(0.0, 12.0);
    }
    void TearDown() override {
        if (m_pView && m_pView->GetSafeHwnd()) m_pView->DestroyWindow();
        if (m_frame.GetSafeHwnd()) m_frame.DestroyWindow();
        delete m_pScale;
        CDBDoc::m_pDBDoc = m_pSavedDoc;
        CPVXBarContainerBase::m_nCurrentMode = -1;
        CUiDriver::Get().Reset();
    }

    I_PVXModel& Model() { return *m_pView->GetPVXModel(); }

    static int Check(CUiDialogSession& s, UINT nID) {
        return static_cast<int>(s.Dialog()->IsDlgButtonChecked(static_cast<int>(nID)));
    }
    static BOOL Enabled(CUiDialogSession& s, UINT nID) {
        CWnd* p = s.Dialog()->GetDlgItem(static_cast<int>(nID));
        return p && p->IsWindowEnabled();
    }
    static BOOL Visible(CUiDialogSession& s, UINT nID) {
        CWnd* p = s.Dialog()->GetDlgItem(static_cast<int>(nID));
        return p && (p->GetStyle() & WS_VISIBLE) != 0;
    }
    static COLORREF WellColor(CUiDialogSession& s, UINT nID) {
        CWnd* p = s.Dialog()->GetDlgItem(static_cast<int>(nID));
        CColorWell* w = p ? dynamic_cast<CColorWell*>(CWnd::FromHandlePermanent(p->GetSafeHwnd())) : nullptr;
        return w ? w->GetColor() : static_cast<COLORREF>(-1);
    }
    static BOOL PickColor(CUiDialogSession& s, UINT nID, COLORREF cr) {
        return CColorWell::UserPick(::GetDlgItem(s.Dialog()->GetSafeHwnd(), static_cast<int>(nID)), cr);
    }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    CWnd m_frame;
    CPVXView* m_pView = nullptr;
    CContourEngine* m_pScale = nullptr;
    CEngineBase m_engine;
};

}  // namespace dlgtest
