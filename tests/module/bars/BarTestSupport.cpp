#include "tests/module/bars/BarTestSupport.h"

namespace bartest {

BEGIN_MESSAGE_MAP(TestPage, CPVXBarDlgBase)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnClose)
    ON_BN_CLICKED(IDC_TEST_CONTOUR, OnContour)
    ON_BN_CLICKED(IDC_TEST_CONTOUR_MORE, OnContourMore)
    ON_BN_CLICKED(IDC_TEST_LEGEND_MORE, OnLegendMore)
    ON_BN_CLICKED(IDC_TEST_ANIMATION_MORE, OnAnimationMore)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(TestBar, CPVXBarContainerBase)
    ON_CBN_SELCHANGE(CPVXBarContainerBase::IDC_BAR_COMBO, OnComboChange)
END_MESSAGE_MAP()

namespace {
UiDlgItem Item(UINT nID, UiCtl kind, const char* caption, int x, int y, int cx, int cy) {
    UiDlgItem it;
    it.nID = nID;
    it.kind = kind;
    it.caption = caption;
    it.rect = CRect(x, y, x + cx, y + cy);
    return it;
}
}  // namespace

void RegisterTestTemplates() {
    UiDlgTemplate t;
    t.nID = IDD_TEST_PAGE;
    t.size = CSize(150, 120);
    t.style = WS_CHILD;
    t.items = {
        Item(CPVXBarDlgBase::IDC_PAGE_LOAD_GROUP, UiCtl::Group, "荷载", 5, 5, 140, 30),
        Item(IDC_TEST_LOAD, UiCtl::Combo, "", 10, 15, 130, 80),
        Item(IDC_TEST_CONTOUR, UiCtl::Check, "等值线", 10, 40, 60, 10),
        Item(IDC_TEST_CONTOUR_MORE, UiCtl::Button, "...", 75, 40, 18, 10),
        Item(IDC_TEST_LEGEND, UiCtl::Check, "图例", 10, 55, 60, 10),
        Item(IDC_TEST_LEGEND_MORE, UiCtl::Button, "...", 75, 55, 18, 10),
        Item(IDC_TEST_COMPONENT, UiCtl::Edit, "", 10, 70, 40, 12),
        Item(IDC_TEST_ANIMATION, UiCtl::Check, "动画", 10, 85, 60, 10),
        Item(IDC_TEST_ANIMATION_MORE, UiCtl::Button, "...", 75, 85, 18, 10),
        Item(CPVXBarDlgBase::IDC_PAGE_APPLY, UiCtl::DefButton, "适用", 40, 100, 50, 13),
        Item(CPVXBarDlgBase::IDC_PAGE_CLOSE, UiCtl::Button, "关闭", 95, 100, 50, 13),
    };
    RegisterDialogTemplate(t);
}

void ResetBars() {
    CPVXBarContainerBase::DestroyCurrentEngine();
    CPVXBarContainerBase::DestroyDeformEngine();
    CPVXBarContainerBase::m_pEngineOwner = nullptr;
    CPVXBarContainerBase::m_nCurrentMode = -1;
    CPVXBarContainerBase::m_nCurrentTMMode = -1;
    CPVXBarContainerBase::m_nCurChildDlg = -1;
    CPVXBarContainerBase::m_pMyself = nullptr;
    CPVXBarContainerBase::m_bRemove = 0;
    CPVXBarContainerBase::m_bIsPVXBarAlive = 0;
}

void BarFixture::SetUp() {
    PVXRegisterResources();
    RegisterTestTemplates();
    CUiDriver::Get().Reset();
    CUiDriver::Get().UseVirtualClock(TRUE);
    ResetBars();
    EngineCallLog::Enable(false);
    m_pSavedDoc = CDBDoc::m_pDBDoc;
    PostDBBuilder b;
    b.Set3D(TRUE);
    b.AddNode(1, 0, 0, 0);
    b.AddNode(2, 0, 0, 3);
    b.AddNode(3, 6, 0, 3);
    b.AddNode(4, 6, 0, 0);
    b.AddElem(1, PELEM_KIND_FRAME, 101, {1, 2});
    b.AddElem(2, PELEM_KIND_FRAME, 201, {2, 3});
    b.AddElem(3, PELEM_KIND_FRAME, 101, {4, 3});
    b.AddMemb(1, 101, {1, 2}, {1});
    b.AddMemb(2, 201, {2, 3}, {2});
    b.AddMemb(3, 101, {4, 3}, {3});
    b.AddLoadCase(kCaseDead, PLOAD_STATIC, "DL");
    b.AddLoadCase(kCaseLive, PLOAD_STATIC, "LL");
    T_PLCOM_ENTRY dead{PLOAD_STATIC, kCaseDead, 1.2};
    T_PLCOM_ENTRY live{PLOAD_STATIC, kCaseLive, 1.4};
    b.AddLoadComb(kCombo, PLCOM_LINEAR, "1.2DL+1.4LL", {dead, live});
    AddRecords(b);
    b.Install(m_doc);
    CDBDoc::m_pDBDoc = &m_doc;
    CHostRequestLog::Clear();
    m_pFrame = new I_MainFrameBase;  // deletes itself with its window
    ASSERT_TRUE(m_pFrame->Create(nullptr, "pvxhost", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1600, 900)));
    AfxGetApp()->m_pMainWnd = m_pFrame;
    m_pView = MakeView();
    ASSERT_NE(m_pView, nullptr);
}

void BarFixture::TearDown() {
    EngineCallLog::Enable(false);
    AfxGetApp()->m_pMainWnd = nullptr;
    if (m_pFrame && m_pFrame->GetSafeHwnd()) m_pFrame->DestroyWindow();  // its views and bars with it
    ResetBars();
    if (CDockDlgBarBase::GetDlgBarMode() != -1) CDockDlgBarBase::CloseDlgBar();
    CHostRequestLog::Clear();
    CDBDoc::m_pDBDoc = m_pSavedDoc;
    CUiDriver::Get().Reset();
}

CPVXView* BarFixture::MakeView(int nWidth, int nHeight) {
    auto* v = new CPVXView;  // deletes itself with its window
    if (!v->Create(nullptr, "result", WS_CHILD | WS_VISIBLE, CRect(240, 0, 240 + nWidth, nHeight), m_pFrame,
                   AFX_IDW_PANE_FIRST)) {
        return nullptr;
    }
    v->GetI_PVXCtrl()->SetPVXViewMode(1);
    v->GetPVXModel()->PV_OnModeChange();
    return v;
}

}  // namespace bartest
