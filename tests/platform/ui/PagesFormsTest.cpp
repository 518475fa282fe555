// Property sheets and pages, form views, check lists, progress bars and image lists.
#include "UiTestSupport.h"

namespace {

const UINT IDD_PAGE_A = 16244, IDD_PAGE_B = 16245, IDD_FORM = 10569;
enum { IDC_SCALE = 11400, IDC_LABEL, IDC_CHECKS, IDC_MODE };

UiDlgTemplate PageTemplate(UINT id, UINT editId) {
    UiDlgTemplate t;
    t.nID = id;
    t.size = CSize(120, 80);
    UiDlgItem edit;
    edit.nID = editId;
    edit.kind = UiCtl::Edit;
    edit.rect = CRect(5, 5, 60, 17);
    t.items.push_back(edit);
    return t;
}

class CScalePage : public CPropertyPage {
public:
    explicit CScalePage(UINT id, UINT editId) : CPropertyPage(id), m_nEdit(editId) {}
    double m_dValue = 1.0;
    int m_nApplied = 0, m_nActivated = 0;
    UINT m_nEdit;
    BOOL OnSetActive() override {
        ++m_nActivated;
        return CPropertyPage::OnSetActive();
    }
    BOOL OnApply() override {
        ++m_nApplied;
        return CPropertyPage::OnApply();
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, static_cast<int>(m_nEdit), m_dValue);
        DDV_MinMaxDouble(pDX, m_dValue, 0.0, 100.0);
    }
};

class CPageTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        RegisterDialogTemplate(PageTemplate(IDD_PAGE_A, IDC_SCALE));
        RegisterDialogTemplate(PageTemplate(IDD_PAGE_B, IDC_LABEL));
    }
    void TearDown() override {
        UnregisterDialogTemplate(IDD_PAGE_A);
        UnregisterDialogTemplate(IDD_PAGE_B);
        UiTest::TearDown();
    }
};

// A form view (the docked bar page pattern) with its own map.
class CModePage : public CFormView {
public:
    CModePage() : CFormView(IDD_FORM) {}
    int m_nMode = 1;
    std::vector<int> m_checkChanges;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Radio(pDX, IDC_MODE, m_nMode); }
    void OnCheckChange() {
        CCheckListBox* p = static_cast<CCheckListBox*>(GetDlgItem(IDC_CHECKS));
        m_checkChanges.push_back(p->GetCheck(0));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModePage, CFormView)
    ON_CLBN_CHKCHANGE(IDC_CHECKS, OnCheckChange)
END_MESSAGE_MAP()

}  // namespace

TEST_F(CPageTest, SheetValidatesTheActivePageAndAppliesAllOnOk) {
    CScalePage a(IDD_PAGE_A, IDC_SCALE), b(IDD_PAGE_B, IDC_LABEL);
    CPropertySheet sheet("Settings");
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    EXPECT_EQ(2, sheet.GetPageCount());
    BOOL switched = TRUE, switchedAfterFix = FALSE;
    CUiDriver::Get().QueueModal("CPropertySheet", {
        [&](CUiDialogSession& s) {
            EXPECT_TRUE(s.SetControlText(IDC_SCALE, "250"));
            switched = sheet.SetActivePage(1);   // refused: the value is out of range
            return 0;
        },
        [&](CUiDialogSession& s) {
            s.SetControlText(IDC_SCALE, "25");
            switchedAfterFix = sheet.SetActivePage(1);
            s.SetControlText(IDC_LABEL, "7.5");
            return IDOK;
        },
    });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_FALSE(switched);
    EXPECT_TRUE(switchedAfterFix);
    EXPECT_DOUBLE_EQ(25.0, a.m_dValue);
    EXPECT_DOUBLE_EQ(7.5, b.m_dValue);
    EXPECT_EQ(1, a.m_nApplied);
    EXPECT_EQ(1, b.m_nApplied);
    EXPECT_EQ(1, b.m_nActivated);
    ASSERT_EQ(1u, CUiDriver::Get().MessageBoxes().size());
    EXPECT_STREQ("Please enter a number between 0 and 100.", CUiDriver::Get().MessageBoxes()[0].text);
    EXPECT_EQ(nullptr, a.m_hWnd);
    EXPECT_EQ(nullptr, sheet.m_hWnd);

    // Cancel applies nothing; no script cancels.
    CPropertySheet again("Settings");
    again.AddPage(&a);
    a.m_nApplied = 0;
    EXPECT_EQ(IDCANCEL, again.DoModal());
    EXPECT_EQ(0, a.m_nApplied);
    a.SetModified();
    EXPECT_TRUE(again.IsApplyEnabled());
}

TEST_F(UiTest, FormViewBuildsControlsAndRoutesTheirNotifications) {
    UiDlgTemplate t;
    t.nID = IDD_FORM;
    t.size = CSize(151, 100);
    UiDlgItem list;
    list.nID = IDC_CHECKS;
    list.kind = UiCtl::ListBox;
    list.rect = CRect(5, 5, 100, 60);
    t.items.push_back(list);
    for (int i = 0; i < 3; ++i) {
        UiDlgItem r;
        r.nID = IDC_MODE + i;
        r.kind = UiCtl::Radio;
        r.rect = CRect(5, 65 + 10 * i, 60, 74 + 10 * i);
        if (i == 0) r.style = WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON;
        t.items.push_back(r);
    }
    ASSERT_TRUE(RegisterDialogTemplate(t));

    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 150, 100)));
    CModePage* pPage = new CModePage;
    ASSERT_TRUE(pPage->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), pFrame, AFX_IDW_PANE_FIRST));
    pPage->OnInitialUpdate();
    EXPECT_EQ(IDC_MODE + 1, pPage->GetCheckedRadioButton(IDC_MODE, IDC_MODE + 2));
    CRect rc;
    pPage->GetClientRect(&rc);
    EXPECT_GE(rc.Width(), 151 * UI_DLG_BASE_X / 4 - 1);   // at least the template's size
    int lo = 0, hi = 0;
    pPage->GetScrollRange(SB_VERT, &lo, &hi);
    EXPECT_EQ(0, lo);

    CCheckListBox checks;
    ASSERT_TRUE(checks.SubclassDlgItem(IDC_CHECKS, pPage));
    checks.AddString("Footing 1");
    checks.AddString("Footing 2");
    checks.SetCheck(1, 1);
    EXPECT_EQ(1, checks.FindStringExact(-1, "footing 2"));
    EXPECT_EQ(1, checks.GetCheck(1));
    EXPECT_EQ(-1, checks.GetCheck(5));
    EXPECT_TRUE(ui::ListBoxUserCheck(checks.m_hWnd, 0));
    EXPECT_TRUE(ui::ListBoxUserCheck(checks.m_hWnd, 0));
    EXPECT_EQ((std::vector<int>{1, 0}), pPage->m_checkChanges);

    CUiDialogSession user(pPage);
    EXPECT_TRUE(user.ClickButton(IDC_MODE + 2));
    EXPECT_TRUE(pPage->UpdateData(TRUE));
    EXPECT_EQ(2, pPage->m_nMode);
    pFrame->DestroyWindow();   // takes the form view with it
    UnregisterDialogTemplate(IDD_FORM);
}

TEST_F(UiTest, ProgressBarAndImageList) {
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "h", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 10), &host, 90));
    progress.SetRange(0, 50);
    progress.SetStep(20);
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        progress.StepIt();
        seen.push_back(progress.GetPos());
    }
    EXPECT_EQ((std::vector<int>{20, 40, 10, 30}), seen);   // past the end it starts over
    EXPECT_EQ(30, progress.SetPos(99));
    EXPECT_EQ(50, progress.GetPos());
    int lo = -1, hi = -1;
    progress.GetRange(lo, hi);
    EXPECT_EQ(0, lo);
    EXPECT_EQ(50, hi);

    CBitmap strip;
    ASSERT_TRUE(strip.CreateBitmap(16 * 5, 15, 1, 32, nullptr));
    ASSERT_TRUE(RegisterImageListBitmap(10597, strip));
    CImageList images;
    EXPECT_FALSE(images.Create(4242, 16, 1, RGB(255, 0, 255)));   // not registered
    ASSERT_TRUE(images.Create(10597, 16, 1, RGB(255, 0, 255)));
    EXPECT_EQ(5, images.GetImageCount());
    EXPECT_EQ(5, images.Add(&strip, RGB(255, 0, 255)));
    EXPECT_EQ(10, images.GetImageCount());
    int cx = 0, cy = 0;
    EXPECT_TRUE(images.GetIconSize(cx, cy));
    EXPECT_EQ(15, cy);
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, CRect(0, 20, 80, 80), &host, 91));
    EXPECT_EQ(nullptr, list.SetImageList(&images, LVSIL_SMALL));
    EXPECT_EQ(&images, list.GetImageList(LVSIL_SMALL));
    UnregisterImageListBitmap(10597);
    host.DestroyWindow();
}
