// Shared set-up of the result bar tests: the module's resources, a small post database (two
// columns, a beam, two load cases and a combination), a result view with its model inside a
// frame that is the application's main window, and a test container whose two pages stand in
// for the result pages: a reaction page (result 7101, display mode 0) and a deformation page
// (result 7201, display mode 1). Everything is driven as a person would, through CUiDriver.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/base/CDockDlgBarBase.h"
#include "host/base/CHostRequestLog.h"
#include "host/base/I_MainFrameBase.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/bars/CPVXBarContainer.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/CPVXBarContainerReac.h"
#include "module/bars/CPVXBarDlgBase.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/engines/EngineCallLog.h"
#include "module/force/CForceEngine.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/afxmsg.h"

namespace bartest {

// Load keys of the test database.
enum : UINT { kCaseDead = 1, kCaseLive = 2, kCombo = 10 };

// Control ids of the test page's template.
enum : UINT {
    IDD_TEST_PAGE = 19901,
    IDC_TEST_CONTOUR = 19912,
    IDC_TEST_LEGEND = 19913,
    IDC_TEST_CONTOUR_MORE = 19914,
    IDC_TEST_LEGEND_MORE = 19915,
    IDC_TEST_COMPONENT = 19916,   // edit: the engine component the page writes
    IDC_TEST_LOAD = 19917,        // the load combo
    IDC_TEST_ANIMATION = 19918,
    IDC_TEST_ANIMATION_MORE = 19919,
};

// A page that writes one component into the engine it edits and executes its display mode.
class TestPage : public CPVXBarDlgBase {
public:
    TestPage(int nMode, int nType) : CPVXBarDlgBase(IDD_TEST_PAGE, nullptr, nullptr), m_nMode(nMode), m_nType(nType) {
        m_nIDLoadCombo = IDC_TEST_LOAD;
    }

    BOOL OnInitDialog() override {
        SelectLoadOnInit();
        return CPVXBarDlgBase::OnInitDialog();
    }

    void DoDataExchange(CDataExchange* pDX) override {
        CPVXBarDlgBase::DoDataExchange(pDX);
        DDX_Check(pDX, IDC_TEST_CONTOUR, m_bContour);
        DDX_Check(pDX, IDC_TEST_LEGEND, m_bLegend);
        DDX_Check(pDX, IDC_TEST_ANIMATION, m_bAnimation);
        DDX_Text(pDX, IDC_TEST_COMPONENT, m_nComponent);
    }
    void ApplyOptions() override {
        ++m_nApplied;
        Exchange(TRUE);
        TakeLoadOnApply();
        if (m_pReactionEngine) m_pReactionEngine->m_nComponent = m_nComponent;
        if (m_pDeformEngine) m_pDeformEngine->m_nComponent = m_nComponent;
        if (m_pBarInfo) {
            m_pBarInfo->bContour = m_bContour;
            m_pBarInfo->bLegend = m_bLegend;
        }
    }
    void Execute() override {
        CPVXBarContainerBase::m_nCurrentMode = m_nMode;
        if (m_pContainer) m_pContainer->OnTmExecute();
    }
    void SetModified() override { ++m_nModified; }
    int GetPageType() override { return m_nType; }

    int m_nMode;         // display mode Execute writes
    int m_nType;         // page type
    int m_nComponent = 0;
    int m_nApplied = 0;
    int m_nModified = 0;

protected:
    afx_msg void OnApply() { Execute(); }
    afx_msg void OnClose() { OnBarClose(); }
    afx_msg void OnContour() { OnContourBox(); }
    afx_msg void OnContourMore() { OnContourDetails(); }
    afx_msg void OnLegendMore() { OnLegendDetails(); }
    afx_msg void OnAnimationMore() { OnAnimationDetails(); }
    DECLARE_MESSAGE_MAP()
};

// A container with the test pages: 7101 reaction page (index 0), 7201 deformation page
// (index 1), on the plain container's template.
class TestBar : public CPVXBarContainerBase {
public:
    TestBar() : CPVXBarContainerBase(static_cast<UINT>(CPVXBarContainer::IDD)) {}

    void OnInitialUpdate() override { InitBar(PVXResult::kReacPile, TRUE); }
    void ShowChildDlgByMode(int nResultId) override {
        if (IsCurrentModeSame(nResultId)) return;
        CPVXBarContainerBase::ShowChildDlgByMode(nResultId);
        if (!PreparePage(nResultId)) return;
        ShowPreparedPage(nResultId);
    }
    int PreparePage(int nResultId) override {
        I_PVXModel* m = GetCurModel();
        if (nResultId == PVXResult::kReacPile) {
            CPVXBarDlgBase* page = BeginPrepare(nResultId);
            auto* e = PrepareCurrentEngine<CReactionEngine>(TRUE, m ? m->m_pReactionEngine : nullptr);
            m_nEngineKind = ENGINE_REACTION;
            HandEnginesToPage(page, e);
            return 1;
        }
        if (nResultId == PVXResult::kDeform) {
            CPVXBarDlgBase* page = BeginPrepare(nResultId);
            DestroyCurrentEngine();
            CDeformEngine* d = PrepareDeformEngine(TRUE);
            m_nEngineKind = ENGINE_DEFORM;
            HandEnginesToPage(page, d);
            return 1;
        }
        return 0;
    }
    TestPage* Page(int i) const { return static_cast<TestPage*>(m_arrChildDlg[i]); }

protected:
    const PageRow* GetPageTable(int& n) const override {
        static const PageRow rows[] = {{PVXResult::kReacPile, "reaction"}, {PVXResult::kDeform, "deformation"}};
        n = 2;
        return rows;
    }
    const ComboRow* GetComboTable(int& n) const override {
        static const ComboRow rows[] = {{"IDS_TBX_PVX_Reaction_Pile", PVXResult::kReacPile},
                                        {"IDS_TBX_PVX_Deformations", PVXResult::kDeform}};
        n = 2;
        return rows;
    }
    CPVXBarDlgBase* CreatePage(LPCSTR lpszPageClass) override {
        const std::string name = lpszPageClass;
        if (name == "reaction") return new TestPage(PVXMode::kReaction, CPVXBarDlgBase::PAGE_REACTION);
        if (name == "deformation") return new TestPage(PVXMode::kDeformedShape, CPVXBarDlgBase::PAGE_DEFORM);
        return nullptr;
    }
    afx_msg void OnComboChange() { OnSelchangePageCombo(); }
    DECLARE_MESSAGE_MAP()
};

// The reaction container with test pages in place of the reaction pages the module has not got.
class ReacBar : public CPVXBarContainerReac {
public:
    TestPage* Page(int i) const { return static_cast<TestPage*>(m_arrChildDlg[i]); }

protected:
    CPVXBarDlgBase* CreatePage(LPCSTR lpszPageClass) override {
        const std::string name = lpszPageClass;
        if (name == "CPVXBarRContr") return new TestPage(PVXMode::kReactionContour, CPVXBarDlgBase::PAGE_REACTION);
        if (name == "CPVXBarReacf") return new TestPage(PVXMode::kReaction, CPVXBarDlgBase::PAGE_REACTION);
        return nullptr;
    }
};

// The test page's template: load group, the two boxes with their "..." buttons, the component
// edit, Apply and Close.
void RegisterTestTemplates();

// Resets the bars' module-wide state.
void ResetBars();

// Shows a result of the container; the page when it is of the class and has its window.
template <class Page>
Page* ShowPage(CPVXBarContainerBase* bar, int nResultId) {
    bar->ShowChildDlgByMode(nResultId);
    auto* page = dynamic_cast<Page*>(bar->GetCurrentChild());
    return page && page->GetSafeHwnd() ? page : nullptr;
}

// Whether the page has the control and it is enabled.
inline bool Enabled(CWnd* page, UINT nID) {
    CWnd* p = page->GetDlgItem(static_cast<int>(nID));
    return p && p->IsWindowEnabled();
}

// The bars' editing force engine; null while the current engine is of another kind.
inline CForceEngine* EditingForce() { return dynamic_cast<CForceEngine*>(CPVXBarContainerBase::m_pCurrentEngine); }

class BarFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A result view of the given width in the frame; the current view from then on.
    CPVXView* MakeView(int nWidth = 1280, int nHeight = 700);
    // A container made as the host makes one: by new, its window in the frame, its initial update.
    template <class Bar>
    Bar* MakeBar() {
        auto* p = new Bar;  // deletes itself with its window
        if (!p->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 240, 500), m_pFrame, 0)) return nullptr;
        p->OnInitialUpdate();
        return p;
    }
    I_PVXModel& Model() { return *m_pView->GetPVXModel(); }
    // Further records of a fixture's database (results, modes, load groups), added before the
    // database is installed.
    virtual void AddRecords(PostDBBuilder&) {}
    I_PVXCtrl* Ctrl() { return m_pView->GetI_PVXCtrl(); }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    I_MainFrameBase* m_pFrame = nullptr;
    CPVXView* m_pView = nullptr;
};

}  // namespace bartest
