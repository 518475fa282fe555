// Dialogs from templates, scripted DoModal, data exchange and validation, file dialogs and
// message boxes.
#include "UiTestSupport.h"

namespace {

const UINT IDD_OPTIONS = 10590;
enum { IDC_COUNT = 11131, IDC_FACTOR, IDC_NAME, IDC_SHOW, IDC_RADIO_A, IDC_RADIO_B, IDC_RADIO_C, IDC_KIND, IDC_LEVEL, IDC_OTHER };

UiDlgTemplate OptionsTemplate() {
    UiDlgTemplate t;
    t.nID = IDD_OPTIONS;
    t.size = CSize(242, 199);
    t.caption = "Options";
    auto add = [&](UINT id, UiCtl kind, const char* caption, CRect r, DWORD style = 0) {
        UiDlgItem it;
        it.nID = id;
        it.kind = kind;
        it.caption = caption;
        it.rect = r;
        it.style = style;
        t.items.push_back(it);
    };
    add(IDC_COUNT, UiCtl::Edit, "", CRect(10, 10, 60, 22));
    add(IDC_FACTOR, UiCtl::Edit, "", CRect(10, 30, 60, 42));
    add(IDC_NAME, UiCtl::Edit, "", CRect(10, 50, 60, 62));
    add(IDC_SHOW, UiCtl::Check, "Show", CRect(10, 70, 60, 80));
    add(IDC_RADIO_A, UiCtl::Radio, "A", CRect(10, 90, 60, 100), WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON);
    add(IDC_RADIO_B, UiCtl::Radio, "B", CRect(10, 100, 60, 110));
    add(IDC_RADIO_C, UiCtl::Radio, "C", CRect(10, 110, 60, 120));
    add(IDC_KIND, UiCtl::Combo, "", CRect(10, 130, 90, 190), WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | CBS_DROPDOWNLIST);
    add(IDC_LEVEL, UiCtl::Slider, "", CRect(100, 10, 200, 22));
    add(IDOK, UiCtl::DefButton, "OK", CRect(130, 170, 180, 184));
    add(IDCANCEL, UiCtl::Button, "Cancel", CRect(185, 170, 235, 184));
    return t;
}

class COptionsDlg : public CDialog {
public:
    COptionsDlg() : CDialog(IDD_OPTIONS) {}
    int m_nCount = 3;
    double m_dFactor = 1.5;
    CString m_strName = "Beam";
    int m_bShow = 1;
    int m_nRadio = 2;
    int m_nKind = 1;
    int m_nLevel = 40;
    int m_nChanges = 0;
    std::vector<int> m_selChanges;

protected:
    BOOL OnInitDialog() override {
        CComboBox* pKind = static_cast<CComboBox*>(GetDlgItem(IDC_KIND));
        pKind->AddString("Contour");
        pKind->AddString("Diagram");
        pKind->AddString("Numbers");
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 0, 15);
        DDX_Text(pDX, IDC_FACTOR, m_dFactor);
        DDV_MinMaxDouble(pDX, m_dFactor, -99, 99);
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 8);
        DDX_Check(pDX, IDC_SHOW, m_bShow);
        DDX_Radio(pDX, IDC_RADIO_A, m_nRadio);
        DDX_CBIndex(pDX, IDC_KIND, m_nKind);
        DDX_Slider(pDX, IDC_LEVEL, m_nLevel);
    }
    afx_msg void OnNameChange() { ++m_nChanges; }
    afx_msg void OnKindChange() { m_selChanges.push_back(static_cast<CComboBox*>(GetDlgItem(IDC_KIND))->GetCurSel()); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COptionsDlg, CDialog)
    ON_EN_CHANGE(IDC_NAME, OnNameChange)
    ON_CBN_SELCHANGE(IDC_KIND, OnKindChange)
END_MESSAGE_MAP()

class DialogTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(RegisterDialogTemplate(OptionsTemplate()));
    }
    void TearDown() override {
        UnregisterDialogTemplate(IDD_OPTIONS);
        UiTest::TearDown();
    }
};

}  // namespace

TEST_F(DialogTest, ControlsAreFilledFromMembersWhenTheDialogOpens) {
    COptionsDlg dlg;
    CString count, factor, name;
    int show = -1, radio = -1, kind = -1, level = -1;
    CUiDriver::Get().QueueModal(IDD_OPTIONS, {[&](CUiDialogSession& s) {
        CWnd* p = s.Dialog();
        p->GetDlgItemText(IDC_COUNT, count);
        p->GetDlgItemText(IDC_FACTOR, factor);
        p->GetDlgItemText(IDC_NAME, name);
        show = p->IsDlgButtonChecked(IDC_SHOW);
        radio = p->GetCheckedRadioButton(IDC_RADIO_A, IDC_RADIO_C);
        kind = static_cast<int>(p->SendDlgItemMessage(IDC_KIND, CB_GETCURSEL));
        level = static_cast<int>(p->SendDlgItemMessage(IDC_LEVEL, TBM_GETPOS));
        return IDCANCEL;
    }});
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_STREQ("3", count);
    EXPECT_STREQ("1.5", factor);
    EXPECT_STREQ("Beam", name);
    EXPECT_EQ(1, show);
    EXPECT_EQ(IDC_RADIO_C, radio);
    EXPECT_EQ(1, kind);
    EXPECT_EQ(40, level);
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    ASSERT_EQ(1u, CUiDriver::Get().ModalLog().size());
    EXPECT_STREQ("COptionsDlg", CUiDriver::Get().ModalLog()[0].className);
}

TEST_F(DialogTest, OkAppliesEveryKindOfValue) {
    COptionsDlg dlg;
    CUiDriver::Get().QueueModal(IDD_OPTIONS, {[](CUiDialogSession& s) {
        EXPECT_TRUE(s.SetControlText(IDC_COUNT, " 12 "));
        EXPECT_TRUE(s.SetControlText(IDC_FACTOR, "-2.25e1"));
        EXPECT_TRUE(s.SetControlText(IDC_NAME, "TooLongName"));   // DDV_MaxChars limited the field to 8
        CString typed;
        s.Dialog()->GetDlgItemText(IDC_NAME, typed);
        EXPECT_STREQ("TooLongN", typed);
        EXPECT_TRUE(s.SetControlText(IDC_NAME, "Slab"));
        EXPECT_TRUE(s.SetCheck(IDC_SHOW, BST_UNCHECKED));
        EXPECT_TRUE(s.SetCheck(IDC_RADIO_A));
        EXPECT_TRUE(s.SelectComboIndex(IDC_KIND, 2));
        EXPECT_TRUE(s.MoveSlider(IDC_LEVEL, 75));
        return IDOK;
    }});
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(12, dlg.m_nCount);
    EXPECT_DOUBLE_EQ(-22.5, dlg.m_dFactor);
    EXPECT_STREQ("Slab", dlg.m_strName);
    EXPECT_EQ(0, dlg.m_bShow);
    EXPECT_EQ(0, dlg.m_nRadio);
    EXPECT_EQ(2, dlg.m_nKind);
    EXPECT_EQ(75, dlg.m_nLevel);
    EXPECT_EQ(3, dlg.m_nChanges);   // once when OnInitDialog filled the field, twice typed
    EXPECT_EQ(std::vector<int>{2}, dlg.m_selChanges);
    EXPECT_TRUE(CUiDriver::Get().MessageBoxes().empty());
}

TEST_F(DialogTest, RefusedValuesKeepTheDialogOpenWithTheLibraryMessage) {
    // A value that parses is stored before its range is checked, as the class library does;
    // text that does not parse leaves the member alone.
    struct Row {
        UINT id;
        const char* text;
        const char* message;
        int count;
        double factor;
    } rows[] = {
        {IDC_FACTOR, "abc", "Please enter a number.", 3, 1.5},
        {IDC_FACTOR, "1.5x", "Please enter a number.", 3, 1.5},
        {IDC_FACTOR, "", "Please enter a number.", 3, 1.5},
        {IDC_COUNT, "abc", "Please enter an integer.", 3, 1.5},
        {IDC_COUNT, "2.5", "Please enter an integer.", 3, 1.5},
        {IDC_COUNT, "16", "Please enter an integer between 0 and 15.", 16, 1.5},
        {IDC_FACTOR, "100", "Please enter a number between -99 and 99.", 3, 100},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.id << " \"" << r.text << "\"");
        CUiDriver::Get().Reset();
        COptionsDlg dlg;
        int focusAfterOk = 0;
        BOOL openAfterOk = FALSE;
        CUiDriver::Get().QueueModal(IDD_OPTIONS, {
            [&](CUiDialogSession& s) {
                s.SetControlText(r.id, r.text);
                s.SetCheck(IDC_SHOW, BST_UNCHECKED);
                return IDOK;
            },
            [&](CUiDialogSession& s) {
                openAfterOk = s.IsOpen();
                focusAfterOk = ::GetDlgCtrlID(::GetFocus());
                return 0;   // steps run out: the dialog is cancelled
            },
        });
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        EXPECT_TRUE(openAfterOk);
        ASSERT_EQ(1u, CUiDriver::Get().MessageBoxes().size());
        EXPECT_STREQ(r.message, CUiDriver::Get().MessageBoxes()[0].text);
        EXPECT_EQ(static_cast<int>(r.id), focusAfterOk);
        EXPECT_EQ(r.count, dlg.m_nCount);
        EXPECT_DOUBLE_EQ(r.factor, dlg.m_dFactor);
        EXPECT_EQ(1, dlg.m_bShow);   // after the refusal nothing else is exchanged
    }
}

TEST_F(DialogTest, CorrectedValueIsAcceptedByTheNextStep) {
    COptionsDlg dlg;
    CUiDriver::Get().QueueModal(IDD_OPTIONS, {
        [](CUiDialogSession& s) {
            s.SetControlText(IDC_FACTOR, "abc");
            return IDOK;
        },
        [](CUiDialogSession& s) {
            s.SetControlText(IDC_FACTOR, "2.5");
            return IDOK;
        },
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_DOUBLE_EQ(2.5, dlg.m_dFactor);
    EXPECT_EQ(1u, CUiDriver::Get().MessageBoxes().size());
}

TEST_F(DialogTest, DefaultsWithoutScriptOrTemplate) {
    COptionsDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(3, dlg.m_nCount);
    CDialog missing(4242u);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_FALSE(CUiDriver::Get().Errors().empty());
    // Scripts queued by class name win over template ids, and are used once.
    CUiDriver::Get().QueueModal("COptionsDlg", {[](CUiDialogSession&) { return IDOK; }});
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    // A script for any dialog serves only a dialog without a script of its own, once.
    int nAny = 0;
    CUiDriver::Get().QueueModalAny({[&](CUiDialogSession&) {
        ++nAny;
        return IDOK;
    }});
    CUiDriver::Get().QueueModal(IDD_OPTIONS, {[](CUiDialogSession&) { return IDCANCEL; }});
    EXPECT_EQ(IDCANCEL, dlg.DoModal()) << "its own script first";
    EXPECT_EQ(0, nAny);
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(1, nAny);
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(1, nAny);
}

TEST_F(DialogTest, ModelessDialogAndDialogKeys) {
    COptionsDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_OPTIONS));
    CEdit* pName = static_cast<CEdit*>(dlg.GetDlgItem(IDC_NAME));
    ASSERT_NE(nullptr, pName);
    EXPECT_STREQ("Beam", [&] { CString s; pName->GetWindowText(s); return s; }());
    // Return in a field presses the default button: OK validates and ends.
    pName->SetWindowText("Wall");
    MSG msg{pName->m_hWnd, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(AfxPreTranslateMessage(&msg));
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_STREQ("Wall", dlg.m_strName);
    dlg.DestroyWindow();
}

TEST_F(DialogTest, DdxControlAttachesTheCallersObject) {
    class CKindDlg : public COptionsDlg {
    public:
        CComboBox m_kind;
        void DoDataExchange(CDataExchange* pDX) override {
            DDX_Control(pDX, IDC_KIND, m_kind);
            COptionsDlg::DoDataExchange(pDX);
        }
    } dlg;
    int count = -1;
    CUiDriver::Get().QueueModal(IDD_OPTIONS, {[&](CUiDialogSession& s) {
        count = dlg.m_kind.GetCount();
        EXPECT_EQ(&dlg.m_kind, s.Dialog()->GetDlgItem(IDC_KIND));
        return IDCANCEL;
    }});
    dlg.DoModal();
    EXPECT_EQ(3, count);
    EXPECT_EQ(nullptr, dlg.m_kind.m_hWnd);
}

TEST_F(UiTest, MessageBoxesAreAnsweredAndRecorded) {
    struct Row {
        UINT type;
        int queued;   // 0: none
        int expected;
    } rows[] = {
        {MB_OK, 0, IDOK}, {MB_OKCANCEL, 0, IDCANCEL}, {MB_YESNO, 0, IDNO}, {MB_YESNOCANCEL, 0, IDCANCEL},
        {MB_ABORTRETRYIGNORE, 0, IDABORT}, {MB_YESNO | MB_ICONQUESTION, IDYES, IDYES},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "type " << r.type);
        CUiDriver::Get().Reset();
        if (r.queued) CUiDriver::Get().QueueMessageBoxAnswer(r.queued);
        EXPECT_EQ(r.expected, AfxMessageBox("Invalid Contour Value!", r.type));
        ASSERT_EQ(1u, CUiDriver::Get().MessageBoxes().size());
        EXPECT_STREQ("Invalid Contour Value!", CUiDriver::Get().MessageBoxes()[0].text);
        EXPECT_EQ(r.type, CUiDriver::Get().MessageBoxes()[0].type);
    }
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    wnd.MessageBox("text", "caption", MB_OK | MB_ICONINFORMATION);
    EXPECT_STREQ("caption", CUiDriver::Get().MessageBoxes().back().caption);
    wnd.DestroyWindow();
}

TEST_F(UiTest, FileDialogParsesFiltersAndAnswersPaths) {
    const char* filter = "Avi Files (*.avi)|*.avi|All Files (*.*)|*.*||";
    CFileDialog dlg(FALSE, "avi", "*.avi", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter);
    ASSERT_EQ(2, dlg.GetFilterCount());
    EXPECT_STREQ("Avi Files (*.avi)", dlg.GetFilterName(0));
    EXPECT_STREQ("*.*", dlg.GetFilterPattern(1));
    EXPECT_EQ(IDCANCEL, dlg.DoModal());   // no answer queued

    struct Row {
        const char* answer;
        int result;
        const char* path;
        const char* name;
        const char* ext;
    } rows[] = {
        {"/tmp/out/anim", IDOK, "/tmp/out/anim.avi", "anim.avi", "avi"},
        {"/tmp/out/anim.v2/clip.AVI", IDOK, "/tmp/out/anim.v2/clip.AVI", "clip.AVI", "AVI"},
        {"", IDCANCEL, "", "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.answer);
        CFileDialog save(FALSE, "avi", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter);
        CUiDriver::Get().QueueFileDialogAnswer(r.answer);
        EXPECT_EQ(r.result, save.DoModal());
        EXPECT_STREQ(r.path, save.GetPathName());
        EXPECT_STREQ(r.name, save.GetFileName());
        EXPECT_STREQ(r.ext, save.GetFileExt());
    }
    // An open dialog that needs an existing file refuses a missing one.
    CFileDialog open(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST);
    CUiDriver::Get().QueueFileDialogAnswer("/nonexistent/dir/file.pvxdb");
    EXPECT_EQ(IDCANCEL, open.DoModal());
    EXPECT_EQ(5u, CUiDriver::Get().FileDialogs().size());
}
