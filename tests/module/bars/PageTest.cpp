// The bar page base: the settings archive's byte layout and round trip, the detail-dialog
// launchers, the contour box, the engine refresh before a contour dialog, the load selection
// step, and the host database's notices.
#include <cstring>

#include "module/contour/CContourDetDlg.h"
#include "platform/afx/CArchive.h"
#include "platform/afx/CMemFile.h"
#include "platform/ui/CComboBox.h"
#include "tests/module/bars/BarTestSupport.h"
#include "module/animation/CPVXAnimDetDlg.h"

namespace bartest {
namespace {

std::vector<BYTE> Store(CPVXBarDlgBase& page) {
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        page.Serialize(ar);
    }
    std::vector<BYTE> out(static_cast<size_t>(f.GetLength()));
    f.SeekToBegin();
    f.Read(out.data(), static_cast<UINT>(out.size()));
    return out;
}

void Load(CPVXBarDlgBase& page, const std::vector<BYTE>& bytes) {
    CMemFile f(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&f, CArchive::load);
    page.Serialize(ar);
}

void Put32(std::vector<BYTE>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<BYTE>(v >> (8 * i)));
}

// The layout written by hand: 16 little-endian ints and two strings (length byte, then bytes).
TEST(PageArchive, BytesAreTheSixteenWordsAndTwoStringsInTheirOrder) {
    TestPage page(PVXMode::kReaction, CPVXBarDlgBase::PAGE_REACTION);
    page.m_nLoadStep = 0;
    page.m_nLoadKey = 5;
    page.m_nLoadType = 10;
    page.m_bContour = 1;
    page.m_bLegend = 1;
    page.m_strTitle = "Reaction";
    std::vector<BYTE> want;
    Put32(want, 0);   // 1 load step
    Put32(want, 5);   // 2 load key
    Put32(want, 10);  // 3 load type
    Put32(want, 0);   // 4 word A
    Put32(want, 0);   // 5 word B
    want.push_back(0);  // 6 text: empty
    Put32(want, 0);   // 7 word C
    Put32(want, 0);   // 8 word D
    Put32(want, 0);   // 9 word E
    Put32(want, 1);   // 10 contour
    Put32(want, 0);   // 11 deformed
    Put32(want, 0);   // 12 values
    Put32(want, 1);   // 13 legend
    Put32(want, 0);   // 14 animation
    Put32(want, 0);   // 15 undeformed
    Put32(want, 0);   // 16 word F
    Put32(want, 0);   // 17 word G
    want.push_back(8);  // 18 title
    for (char c : std::string("Reaction")) want.push_back(static_cast<BYTE>(c));
    ASSERT_EQ(want.size(), 74u) << "4 x 16 + (1 + 0) + (1 + 8)";
    EXPECT_EQ(Store(page), want);
}

TEST(PageArchive, LoadingRestoresEveryFieldAndStoringAgainGivesTheSameBytes) {
    std::vector<BYTE> bytes;
    const uint32_t words[] = {2, 77, 9, 11, 12};  // step, key, type, A, B
    for (uint32_t w : words) Put32(bytes, w);
    const std::string text = "荷载";  // UTF-8, 6 bytes
    bytes.push_back(static_cast<BYTE>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    for (uint32_t w : {13u, 14u, 15u}) Put32(bytes, w);            // C, D, E
    for (uint32_t w : {0u, 1u, 1u, 0u, 1u, 1u}) Put32(bytes, w);    // contour .. undeformed
    for (uint32_t w : {16u, 0xFFFFFFFFu}) Put32(bytes, w);          // F, G (-1)
    std::string title(300, 'x');  // 300 characters: 0xFF, then a 16-bit length
    bytes.push_back(0xFF);
    bytes.push_back(300 & 0xFF);
    bytes.push_back(300 >> 8);
    bytes.insert(bytes.end(), title.begin(), title.end());

    TestPage page(PVXMode::kReaction, CPVXBarDlgBase::PAGE_REACTION);
    Load(page, bytes);
    EXPECT_EQ(page.m_nLoadStep, 2);
    EXPECT_EQ(page.m_nLoadKey, 77);
    EXPECT_EQ(page.m_nLoadType, 9);
    EXPECT_EQ(page.m_nArchivedA, 11);
    EXPECT_EQ(page.m_nArchivedB, 12);
    EXPECT_EQ(std::string(page.m_strArchived.GetString()), text);
    EXPECT_EQ(page.m_nArchivedC, 13);
    EXPECT_EQ(page.m_nArchivedD, 14);
    EXPECT_EQ(page.m_nArchivedE, 15);
    EXPECT_EQ(page.m_bContour, 0);
    EXPECT_EQ(page.m_bDeformed, 1);
    EXPECT_EQ(page.m_bValues, 1);
    EXPECT_EQ(page.m_bLegend, 0);
    EXPECT_EQ(page.m_bAnimation, 1);
    EXPECT_EQ(page.m_bUndeformed, 1);
    EXPECT_EQ(page.m_nArchivedF, 16);
    EXPECT_EQ(page.m_nArchivedG, -1);
    EXPECT_EQ(page.m_strTitle.GetLength(), 300);
    EXPECT_EQ(Store(page), bytes) << "the archived words and text come back unchanged";
}

// A page that never read an archive writes zeros and an empty text for the words it only
// carries, never whatever memory held; its engine pointers are null.
TEST(PageArchive, ANewPageWritesZeroWordsAndAnEmptyText) {
    for (int round = 0; round < 3; ++round) {
        auto* page = new TestPage(PVXMode::kReaction, CPVXBarDlgBase::PAGE_REACTION);
        const std::vector<BYTE> b = Store(*page);
        ASSERT_EQ(b.size(), 66u);  // 16 x 4 + two empty strings
        const size_t words[] = {12, 16, 21, 25, 29, 58, 62};  // offsets of A, B, C, D, E, F, G
        for (size_t at : words) EXPECT_EQ(std::memcmp(&b[at], "\0\0\0\0", 4), 0) << "offset " << at;
        EXPECT_EQ(b[20], 0) << "the archived text is empty";
        EXPECT_EQ(b[65], 0) << "no title";
        // Nothing is pointed at before the container prepares the page.
        EXPECT_EQ(page->m_pStressEngine, nullptr);
        EXPECT_EQ(page->m_pForceEngine, nullptr);
        EXPECT_EQ(page->m_pReactionEngine, nullptr);
        EXPECT_EQ(page->m_pDeformEngine, nullptr);
        EXPECT_EQ(page->m_pContourEngine, nullptr);
        EXPECT_EQ(page->m_pBarInfo, nullptr);
        delete page;
    }
}

TEST(PageArchive, AShortArchiveChangesNothing) {
    TestPage page(PVXMode::kReaction, CPVXBarDlgBase::PAGE_REACTION);
    page.m_nLoadKey = 3;
    page.m_strTitle = "Deform";
    TestPage other(PVXMode::kReaction, CPVXBarDlgBase::PAGE_REACTION);
    other.m_nLoadKey = 99;
    std::vector<BYTE> bytes = Store(other);
    bytes.resize(bytes.size() - 5);  // the title cut short
    Load(page, bytes);
    EXPECT_EQ(page.m_nLoadKey, 3);
    EXPECT_EQ(std::string(page.m_strTitle.GetString()), "Deform");
}

// ---- page behaviour on a shown page ------------------------------------------------------------

struct PageFixture : BarFixture {
    TestBar* bar = nullptr;
    TestPage* page = nullptr;
    void SetUp() override {
        BarFixture::SetUp();
        bar = MakeBar<TestBar>();
        ASSERT_NE(bar, nullptr);
        bar->ShowChildDlgByMode(PVXResult::kReacPile);
        page = bar->Page(0);
        ASSERT_TRUE(page->GetSafeHwnd());
    }
};

TEST_F(PageFixture, DetailButtonsTurnTheirBoxOnBeforeTheDialogEvenWhenItIsCancelled) {
    CUiDialogSession user(page);
    struct Row {
        const char* label;
        UINT box, button, dialog;
        int CPVXBarDlgBase::*member;
    } rows[] = {
        {"contour", IDC_TEST_CONTOUR, IDC_TEST_CONTOUR_MORE, IDD_PVX_CONTOUR_DETAIL, &CPVXBarDlgBase::m_bContour},
        {"legend", IDC_TEST_LEGEND, IDC_TEST_LEGEND_MORE, IDD_PVX_LEGEND_DETAIL, &CPVXBarDlgBase::m_bLegend},
        {"animation", IDC_TEST_ANIMATION, IDC_TEST_ANIMATION_MORE, CPVXAnimDetDlg::IDD, &CPVXBarDlgBase::m_bAnimation},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        user.SetCheck(r.box, BST_UNCHECKED);
        int seenChecked = -1;
        CUiDriver::Get().QueueModal(r.dialog, {[&](CUiDialogSession& s) {
                                        seenChecked = static_cast<int>(page->IsDlgButtonChecked(static_cast<int>(r.box)));
                                        // The animation dialog works on the page's own record, for the page.
                                        if (auto* a = dynamic_cast<CPVXAnimDetDlg*>(s.Dialog())) {
                                            EXPECT_EQ(a->m_pPage, page);
                                            EXPECT_EQ(a->m_pBarInfo, page->m_pBarInfo);
                                            EXPECT_NE(a->m_pBarInfo, nullptr);
                                        }
                                        return IDCANCEL;
                                    }});
        user.ClickButton(r.button);
        EXPECT_EQ(seenChecked, 1) << "on while the dialog was open";
        EXPECT_EQ(page->IsDlgButtonChecked(static_cast<int>(r.box)), 1u);
        EXPECT_EQ(page->*r.member, 1);
        ASSERT_FALSE(CUiDriver::Get().ModalLog().empty());
        EXPECT_EQ(CUiDriver::Get().ModalLog().back().nIDTemplate, r.dialog);
        EXPECT_EQ(CUiDriver::Get().ModalLog().back().result, IDCANCEL);
    }
}

TEST_F(PageFixture, ContourDialogNeedsTheColourScaleOfTheEditedEngine) {
    ASSERT_NE(page->m_pContourEngine, nullptr);
    EXPECT_EQ(page->m_pContourEngine, CPVXBarContainerBase::m_pCurrentEngine->m_pContourEngine);
    page->m_pContourEngine = nullptr;
    CUiDialogSession(page).ClickButton(IDC_TEST_CONTOUR_MORE);
    EXPECT_TRUE(CUiDriver::Get().ModalLog().empty()) << "no colour scale, no dialog";
}

TEST_F(PageFixture, TheContourBoxCannotBeCleared) {
    CUiDialogSession user(page);
    user.SetCheck(IDC_TEST_CONTOUR, BST_CHECKED);
    user.SetCheck(IDC_TEST_CONTOUR, BST_UNCHECKED);
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_TEST_CONTOUR), 1u);
    EXPECT_EQ(page->m_bContour, 1);
}

// Before a contour dialog the engine of the page type is rebuilt when its flag is set (the flag
// stays set) and the model's result-present flag comes from the page's engine. Every engine
// starts with its data flags set, so a rebuild shows as a cleared flag (no builder finds data
// in the test database; the deformation engine's does: it lists the model's nodes, at rest when
// they have no records).
TEST_F(PageFixture, EngineRefreshAndResultPresentByPageType) {
    I_PVXModel& m = Model();
    CDeformEngine deform(&m);
    CForceEngine force(&m);
    CStressEngine stress(&m);
    CReactionEngine reac(&m);
    struct Row {
        int type;
        int rebuild;
        bool deformBuilt, forceBuilt, stressBuilt;  // flags left set (not rebuilt)
        int present;
    } rows[] = {
        {1, 1, true, true, true, 1},    {2, 1, true, true, true, 1},  {2, 0, true, true, true, 1},
        {3, 1, true, false, true, 0},   {3, 0, true, true, true, 1},   {4, 0, true, true, true, 1},
        {10, 1, true, false, true, 0},  {11, 1, true, false, true, 0}, {6, 1, true, true, false, 0},
        {8, 1, true, true, true, 0},    {9, 1, true, true, true, 0},   {0, 1, true, true, true, 0},
        {5, 1, true, true, true, 0},    {7, 1, true, true, true, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "page type " << r.type << ", rebuild " << r.rebuild);
        deform.m_bDataReady = reac.m_bDataReady = stress.m_bDataReady = 1;
        deform.m_dLegendMax = 99.0;  // a rebuild without nodes sets it to 0
        force.m_bBForcData = force.m_bPForcData = 1;
        TestPage p(0, r.type);
        p.m_pView = m_pView;
        p.m_pDeformEngine = &deform;
        p.m_pForceEngine = &force;
        p.m_pStressEngine = &stress;
        p.m_pReactionEngine = &reac;
        p.m_bDeformRebuild = p.m_bForceRebuild = p.m_bStressRebuild = r.rebuild;
        m.m_bResultPresent = -1;
        p.RefreshEngineForDialog();
        EXPECT_EQ(deform.m_bDataReady == 1, r.deformBuilt);
        EXPECT_EQ(deform.m_dLegendMax == 99.0, !(r.type == 2 && r.rebuild)) << "the deformation engine rebuilt";
        EXPECT_EQ(force.m_bBForcData == 1, r.forceBuilt);
        EXPECT_EQ(stress.m_bDataReady == 1, r.stressBuilt);
        EXPECT_EQ(m.m_bResultPresent, r.present);
        EXPECT_EQ(p.m_bDeformRebuild, r.rebuild) << "the flags stay for the next apply";
        EXPECT_EQ(p.m_bForceRebuild, r.rebuild);
    }
}

TEST_F(PageFixture, LoadSelectionTakesTheModelsLoadOrGivesItTheSelectorsChoice) {
    I_PVXModel& m = Model();
    // The model's load is listed: it stays, and the page notes it.
    m.m_nLoadType = 1;
    m.m_nLoadKey = kCaseLive;
    m.m_nLoadStep = 0;
    m.m_bLoadSelected = 0;
    page->m_bForceRebuild = 0;
    EXPECT_EQ(page->SelectLoadOnInit(), 1);
    EXPECT_EQ(m.m_nLoadKey, kCaseLive);
    EXPECT_EQ(page->m_nLoadKey, static_cast<int>(kCaseLive));
    EXPECT_EQ(m.m_bLoadSelected, 1);
    EXPECT_EQ(m.m_bResultDataReady, 1) << "the host accepted the selection";
    EXPECT_EQ(page->m_bForceRebuild, 1);

    // A load the selector does not list: the selector's choice (the live case, kept from
    // before) becomes the model's.
    m.m_nLoadType = 1;
    m.m_nLoadKey = 999;
    EXPECT_EQ(page->SelectLoadOnInit(), 1);
    EXPECT_EQ(m.m_nLoadKey, kCaseLive);

    // On apply: the combination chosen on the page becomes the model's load, with its name.
    CUiDialogSession(page).SelectComboIndex(IDC_TEST_LOAD, 2);
    page->m_bDeformRebuild = 0;
    EXPECT_EQ(page->TakeLoadOnApply(), 1);
    EXPECT_EQ(m.m_nLoadType, 9u);
    EXPECT_EQ(m.m_nLoadKey, kCombo);
    EXPECT_EQ(std::string(m.m_strLoadName.GetString()), "1.2DL+1.4LL");
    EXPECT_EQ(page->m_bDeformRebuild, 1) << "a new load rebuilds";
    page->m_bDeformRebuild = 0;
    EXPECT_EQ(page->TakeLoadOnApply(), 1);
    EXPECT_EQ(page->m_bDeformRebuild, 0) << "the same load again changes nothing";

    // No load at all in the project's lists: the model has no selection.
    CDBDoc empty;
    PostDBBuilder().Install(empty);
    CDBDoc::m_pDBDoc = &empty;
    m.m_bResultPresent = 1;
    EXPECT_EQ(page->SelectLoadOnInit(), 0);
    EXPECT_EQ(m.m_bLoadSelected, 0);
    EXPECT_EQ(m.m_bResultPresent, 0);
    EXPECT_EQ(m.m_nLoadStep, 0);
    CDBDoc::m_pDBDoc = &m_doc;
}

TEST_F(BarFixture, TheLoadComboListsTheLoadsAndItsChoiceBecomesTheModelsLoad) {
    Model().m_nLoadType = 1;
    Model().m_nLoadKey = kCaseLive;
    TestBar* bar = MakeBar<TestBar>();
    bar->ShowChildDlgByMode(PVXResult::kReacPile);
    TestPage* page = bar->Page(0);
    auto* combo = dynamic_cast<CComboBox*>(page->GetDlgItem(IDC_TEST_LOAD));
    ASSERT_NE(combo, nullptr);
    // The bars' load kinds: the static cases, then the combinations (as type 9).
    const char* want[] = {"DL", "LL", "1.2DL+1.4LL"};
    ASSERT_EQ(combo->GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        CString s;
        combo->GetLBText(i, s);
        EXPECT_EQ(std::string(s.GetString()), want[i]);
    }
    EXPECT_EQ(combo->GetCurSel(), 1) << "the model's load";
    CUiDialogSession user(page);
    user.SelectComboIndex(IDC_TEST_LOAD, 2);
    user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY);
    EXPECT_EQ(Model().m_nLoadType, 9u);
    EXPECT_EQ(Model().m_nLoadKey, kCombo);
    EXPECT_EQ(std::string(Model().m_strLoadName.GetString()), "1.2DL+1.4LL");
    EXPECT_EQ(Model().m_bResultDataReady, 1);
}

// Hint 33 closes the bar while the figure panel is open and a display mode is set; hint 7 while
// the bars show a result id (their display mode never reaches 7000, so that is what is watched).
TEST_F(PageFixture, DatabaseNoticesCloseTheBar) {
    struct Row {
        const char* label;
        int hint;
        int figurePanel;
        int mode;
        int resultId;
        bool closes;
    } rows[] = {
        {"figure closed, panel open", 33, 1, 0, 7101, true},
        {"figure closed, panel shut", 33, 0, 0, 7101, false},
        {"figure closed, no mode", 33, 1, -1, 7101, false},
        {"project replaced, result shown", 7, 0, 0, 7101, true},
        {"project replaced, no result", 7, 0, 0, -1, false},
        {"project replaced, slab rebar", 7, 0, 17, 12201, true},
        {"other notice", 5, 1, 0, 7101, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Model().m_bFigurePanel = r.figurePanel;
        CPVXBarContainerBase::m_nCurrentMode = r.mode;
        CPVXBarContainerBase::m_nCurrentTMMode = r.resultId;
        CHostRequestLog::Clear();
        EXPECT_GE(CDBUpdateConnector::BroadcastUpdate(nullptr, r.hint, nullptr), 2) << "both pages hear it";
        EXPECT_EQ(CHostRequestLog::CountOfKind(HR_CLOSE_DLGBAR) > 0, r.closes);
        if (r.closes) {
            EXPECT_EQ(CPVXBarContainerBase::m_nCurrentMode, -1);
            EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, -1);
        }
    }
}

TEST_F(PageFixture, LoadDialogButtonAsksTheHostForItsLoadCaseDialog) {
    CHostRequestLog::Clear();
    page->OnLoadCaseDialog();
    const auto sent = CHostRequestLog::GetOfKind(HR_COMMAND);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].nId, 34304);
}

}  // namespace
}  // namespace bartest
