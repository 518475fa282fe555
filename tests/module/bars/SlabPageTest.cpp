// The slab force, slab-beam force, slab rebar and slab wall pages: the display mode and the
// engine settings each executes, the values each refuses, and the rules of their handlers.
#include <functional>

#include "host/base/CMsgDll.h"
#include "host/db/CViewCtrl.h"
#include "module/bars/CPVXBarContainerSlabDetail.h"
#include "module/bars/CPVXBarContainerSlabForc.h"
#include "module/bars/CPVXBarContainerSlabRbar.h"
#include "module/bars/CPVXBarContainerReac.h"
#include "module/bars/CPVXBarReacPage.h"
#include "module/bars/CPVXBarSBForc.h"
#include "module/bars/CPVXBarSForc.h"
#include "module/bars/CPVXBarSRbar.h"
#include "module/bars/CPVXBarSStrip.h"
#include "module/bars/CPVXBarSWall.h"
#include "tests/module/bars/BarTestSupport.h"

namespace bartest {
namespace {

// Keys the slab tests add: an envelope of the two cases, a slab, two walls.
enum : UINT { kEnvelope = 11, kSlab = 10, kWallA = 20, kWallB = 21 };
constexpr UINT kTypeStatic = 1, kTypeEnvelope = 12;

// The bar test database with a slab of two plates on the ground, a wall along each of two of its
// edges and an envelope combination; the load lists of the slab pages read DL, LL, 1.2DL+1.4LL
// (the one combination, type 10) and ENV (type 12) in that order.
class SlabFixture : public BarFixture {
protected:
    void AddRecords(PostDBBuilder& b) override {
        b.AddNode(12, 0, 6, 0);
        b.AddNode(13, 6, 6, 0);
        b.AddNode(14, 3, 0, 0);
        b.AddNode(15, 3, 6, 0);
        b.AddNode(16, 0, 6, 3);
        b.AddNode(17, 6, 6, 3);
        b.AddElem(31, PELEM_KIND_PLATE, 301, {1, 14, 15, 12});
        b.AddElem(32, PELEM_KIND_PLATE, 301, {14, 4, 13, 15});
        b.AddMemb(kSlab, 301, {1, 4, 13, 12}, {31, 32});
        b.AddElem(40, PELEM_KIND_WALL, 209, {12, 13, 17, 16});
        b.AddMemb(kWallA, 202, {12, 13}, {40});
        b.AddElem(41, PELEM_KIND_WALL, 209, {1, 12, 16, 2});
        b.AddMemb(kWallB, 202, {1, 12}, {41});
        T_PLCOM_ENTRY dead{PLOAD_STATIC, kCaseDead, 1.0};
        T_PLCOM_ENTRY live{PLOAD_STATIC, kCaseLive, 1.0};
        b.AddLoadComb(kEnvelope, PLCOM_ENVELOPE, "ENV", {dead, live});
    }
    void TearDown() override {
        CViewCtrl::ClearSelection();
        BarFixture::TearDown();
    }
    // The load the model shows before the bar opens (chosen earlier on another page).
    void ChooseModelLoad(UINT type, UINT key) {
        Model().m_nLoadType = type;
        Model().m_nLoadKey = key;
        Model().m_nLoadStep = 0;
    }
};

// The same database without the envelope and the combination: nothing to design reinforcement for.
class NoCombinationFixture : public BarFixture {
protected:
    void SetUp() override {
        BarFixture::SetUp();
        // A database of the cases alone replaces the fixture's before any page reads it.
        PostDBBuilder b;
        b.Set3D(TRUE);
        b.AddNode(1, 0, 0, 0);
        b.AddLoadCase(kCaseDead, PLOAD_STATIC, "DL");
        b.Install(m_doc);
    }
};

template <class Page>
Page* ShownPage(CPVXBarContainerBase* bar, int nResultId) {
    bar->ShowChildDlgByMode(nResultId);
    auto* page = dynamic_cast<Page*>(bar->GetCurrentChild());
    return page && page->GetSafeHwnd() ? page : nullptr;
}

bool Enabled(CWnd* page, UINT nID) {
    CWnd* p = page->GetDlgItem(static_cast<int>(nID));
    return p && p->IsWindowEnabled();
}

bool Visible(CWnd* page, UINT nID) {
    CWnd* p = page->GetDlgItem(static_cast<int>(nID));
    return p && (p->GetStyle() & WS_VISIBLE);
}

// A control's rectangle in the page's client pixels.
CRect Rect(CWnd* page, UINT nID) {
    CRect r;
    page->GetDlgItem(static_cast<int>(nID))->GetWindowRect(&r);
    page->ScreenToClient(&r);
    return r;
}

// Dialog units top..bottom in the page's pixels.
int DluHeight(CWnd* page, int top, int bottom) {
    CRect r(0, top, 0, bottom);
    page->MapDialogRect(&r);
    return r.Height();
}

CForceEngine* EditingForce() { return dynamic_cast<CForceEngine*>(CPVXBarContainerBase::m_pCurrentEngine); }

CString Text(const char* pszKey) { return CString(CMsgDll::pfuncLoadStr(pszKey, 0)); }

bool Calls(const char* name) {
    for (const std::string& c : EngineCallLog::Calls())
        if (c == name) return true;
    return false;
}

// ---- each page executes its display mode with what the person chose ---------------------------------

TEST_F(SlabFixture, SlabPagesExecuteTheirModesWithTheChosenSettings) {
    struct Row {
        const char* label;
        std::function<CPVXBarContainerBase*()> makeBar;
        int nResultId;
        int nMode;
        int nPageType;
        std::function<void(CUiDialogSession&)> choose;
        std::function<void(const CForceEngine&)> check;  // the model's force engine after Execute
    } rows[] = {
        {"slab force per element, Vyy", [this] { return static_cast<CPVXBarContainerBase*>(MakeBar<CPVXBarContainerSlabForc>()); },
         PVXResult::kSlabForce, PVXMode::kSlabForce, CPVXBarDlgBase::PAGE_SLAB_FORCE,
         [](CUiDialogSession& u) {
             u.SetCheck(CPVXBarSForc::IDC_UNIT_ELEMENT);
             u.SetCheck(CPVXBarSForc::IDC_COMP_VYY);
         },
         [](const CForceEngine& e) {
             EXPECT_EQ(e.m_nSForcUnit, 1);
             EXPECT_EQ(e.m_nSForcComp, 4);  // Vyy
             EXPECT_EQ(e.m_nSForcLcomCount, 1) << "one combination of type 10 in the list";
         }},
        {"rib beam shear, full fill, scale 2.5", [this] { return static_cast<CPVXBarContainerBase*>(MakeBar<CPVXBarContainerSlabForc>()); },
         PVXResult::kSlabForceBeam, PVXMode::kSlabForceBeam, CPVXBarDlgBase::PAGE_SLAB_FORCE,
         [](CUiDialogSession& u) {
             u.SetCheck(CPVXBarSBForc::IDC_KIND_BEAM);
             u.SetCheck(CPVXBarSBForc::IDC_COMP_SHEAR);
             u.SetCheck(CPVXBarSBForc::IDC_FILL_FULL);
             u.SetControlText(CPVXBarSBForc::IDC_SCALE, "2.5");
         },
         [](const CForceEngine& e) {
             EXPECT_EQ(e.m_nSForcUnit, 1);
             EXPECT_EQ(e.m_nCLForcComp, 1);
             EXPECT_EQ(e.m_bBSfdBmdLine, 0);  // full fill: no line, fill
             EXPECT_EQ(e.m_bBSfdBmdFill, 1);
             EXPECT_EQ(e.m_dBSfdBmdScale, 2.5);
         }},
        {"bottom rebar per element, Y", [this] { return static_cast<CPVXBarContainerBase*>(MakeBar<CPVXBarContainerSlabRbar>()); },
         PVXResult::kSlabRebar, PVXMode::kSlabRebar, CPVXBarDlgBase::PAGE_SLAB_REBAR,
         [](CUiDialogSession& u) {
             u.SetCheck(CPVXBarSRbar::IDC_UNIT_ELEMENT);
             u.SetCheck(CPVXBarSRbar::IDC_TOP, BST_UNCHECKED);
             u.SetCheck(CPVXBarSRbar::IDC_DIR_Y);
         },
         [](const CForceEngine& e) {
             EXPECT_EQ(e.m_nSRbarUnit, 1);
             EXPECT_EQ(e.m_bSRbarTop, 0);
             EXPECT_EQ(e.m_bSRbarBottom, 1);
             EXPECT_EQ(e.m_nSRbarDir, 1);
             EXPECT_EQ(e.m_nSRbarType10Count, 1);
         }},
        {"wall shear, cut 2.5 m", [this] { return static_cast<CPVXBarContainerBase*>(MakeBar<CPVXBarContainerSlabDetail>()); },
         PVXResult::kSlabWall, PVXMode::kSlabWall, CPVXBarDlgBase::PAGE_SLAB_WALL,
         [](CUiDialogSession& u) {
             u.SetCheck(CPVXBarSWall::IDC_COMP_SHEAR);
             u.SetControlText(CPVXBarSWall::IDC_WIDTH, "2.5");
         },
         [](const CForceEngine& e) {
             EXPECT_EQ(e.m_nSWallComp, 1);
             EXPECT_EQ(e.m_dSWallWidth, 2.5);
             EXPECT_EQ(e.m_bSWallUserKeys, 0);
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ResetBars();
        CPVXBarContainerBase* bar = r.makeBar();
        ASSERT_NE(bar, nullptr);
        auto* page = ShownPage<CPVXBarSlabPage>(bar, r.nResultId);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->GetPageType(), r.nPageType);
        Model().m_nDisplayMode = -5;
        CUiDialogSession user(page);
        r.choose(user);
        EngineCallLog::Enable(true);
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        EXPECT_TRUE(CUiDriver::Get().MessageBoxes().empty());
        EXPECT_EQ(Model().m_nDisplayMode, r.nMode);
        EXPECT_EQ(CPVXBarContainerBase::m_nCurrentMode, r.nMode);
        EXPECT_NE(EditingForce(), nullptr) << "the page edits a force engine";
        EXPECT_NE(Model().m_pDeformEngine, nullptr) << "modes 16 to 22 hand over a deformation engine too";
        ASSERT_NE(Model().m_pForceEngine, nullptr);
        r.check(*Model().m_pForceEngine);
        EXPECT_EQ(page->m_bForceRebuild, 0) << "the engine was built by the Apply";
        // The view draws on a deformation engine handed over built (the slab detail bar has none):
        // built by the view after the force engine, it would name its extremes as the view's.
        if (CPVXBarContainerBase::m_pDeformEngine) {
            EXPECT_FALSE(Calls("CDeformEngine::InitEngine"));
        }
        EngineCallLog::Enable(false);
        bar->DestroyWindow();
    }
}

// The pages take their numbers' decimals from the model when they open and give the number
// dialog's choice back to the model on Apply: the slab pages and the reaction forces the force
// decimals, the reaction moments (components 4 to 7) the moment decimals.
TEST_F(SlabFixture, PagesCopyTheModelsDecimalsAndWriteThemBackOnApply) {
    struct Row {
        const char* label;
        std::function<CPVXBarContainerBase*()> makeBar;
        int nResultId;
        UINT nRadio;    // a radio chosen before Apply, 0 for none
        bool bMoment;   // the page keeps the moment decimals
    } rows[] = {
        {"slab force", [this] { return static_cast<CPVXBarContainerBase*>(MakeBar<CPVXBarContainerSlabForc>()); },
         PVXResult::kSlabForce, 0, false},
        {"slab-beam force", [this] { return static_cast<CPVXBarContainerBase*>(MakeBar<CPVXBarContainerSlabForc>()); },
         PVXResult::kSlabForceBeam, 0, false},
        {"slab rebar", [this] { return static_cast<CPVXBarContainerBase*>(MakeBar<CPVXBarContainerSlabRbar>()); },
         PVXResult::kSlabRebar, 0, false},
        {"slab wall", [this] { return static_cast<CPVXBarContainerBase*>(MakeBar<CPVXBarContainerSlabDetail>()); },
         PVXResult::kSlabWall, 0, false},
        {"slab strip", [this] { return static_cast<CPVXBarContainerBase*>(MakeBar<CPVXBarContainerSlabDetail>()); },
         PVXResult::kSlabStrip, 0, false},
        {"reaction FZ", [this] { return static_cast<CPVXBarContainerBase*>(MakeBar<CPVXBarContainerReac>()); },
         PVXResult::kReacPile, CPVXBarReacPage::IDC_REAC_FX + 2, false},
        {"reaction MX", [this] { return static_cast<CPVXBarContainerBase*>(MakeBar<CPVXBarContainerReac>()); },
         PVXResult::kReacPile, CPVXBarReacPage::IDC_REAC_FX + 4, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ResetBars();
        Model().m_nForceDecimals = 1;
        Model().m_nMomentDecimals = 2;
        CPVXBarContainerBase* bar = r.makeBar();
        ASSERT_NE(bar, nullptr);
        auto* page = ShownPage<CPVXBarDlgBase>(bar, r.nResultId);
        ASSERT_NE(page, nullptr);
        CUiDialogSession user(page);
        if (r.nRadio) {
            ASSERT_TRUE(user.SetCheck(r.nRadio));
        } else {
            EXPECT_EQ(bar->m_BarInfo.nDecimals, 1) << "the force decimals when the page opens";
        }
        bar->m_BarInfo.nDecimals = 4;  // as the number dialog leaves it
        user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY);
        EXPECT_EQ(Model().m_nForceDecimals, r.bMoment ? 1 : 4);
        EXPECT_EQ(Model().m_nMomentDecimals, r.bMoment ? 4 : 2);
        bar->DestroyWindow();
    }
}

// ---- typed values the pages refuse --------------------------------------------------------------------

TEST_F(SlabFixture, BadTypedValuesAreRefusedAndNothingIsExecuted) {
    enum Field { kScale, kWidth, kList };
    struct Row {
        Field field;
        const char* text;
        const char* refusal;  // message key; null when taken
        double stored;        // scale or width after Apply (from 2.0)
    } rows[] = {
        {kScale, "2.5", nullptr, 2.5},
        {kScale, " 0.25 ", nullptr, 0.25},
        {kScale, "0", "IDS_TBX_PVX_Scale_Factor_Invalid_Positive", 2.0},
        {kScale, "-1", "IDS_TBX_PVX_Scale_Factor_Invalid_Positive", 2.0},
        {kScale, "abc", "IDS_TBX_PVX_Scale_Factor_Invalid_Positive", 2.0},
        {kScale, "3x", "IDS_TBX_PVX_Scale_Factor_Invalid_Positive", 2.0},
        {kScale, "", "IDS_TBX_PVX_Scale_Factor_Invalid_Positive", 2.0},
        {kScale, "1e400", "IDS_TBX_PVX_Scale_Factor_Invalid_Positive", 2.0},
        {kScale, "nan", "IDS_TBX_PVX_Scale_Factor_Invalid_Positive", 2.0},
        {kWidth, "0.5", nullptr, 0.5},
        {kWidth, "100", nullptr, 100.0},  // the longest cut
        {kWidth, "100.5", "IDS_TBX_PVX_Slab_Wall_Width_Invalid", 2.0},
        {kWidth, "0", "IDS_TBX_PVX_Slab_Wall_Width_Invalid", 2.0},
        {kWidth, "-2", "IDS_TBX_PVX_Slab_Wall_Width_Invalid", 2.0},
        {kWidth, "1,5", "IDS_TBX_PVX_Slab_Wall_Width_Invalid", 2.0},
        {kWidth, "", "IDS_TBX_PVX_Slab_Wall_Width_Invalid", 2.0},
        {kWidth, "inf", "IDS_TBX_PVX_Slab_Wall_Width_Invalid", 2.0},
        {kList, "20", nullptr, 2.0},
        {kList, "1-3, 21", nullptr, 2.0},   // beams, columns and a wall: the wall is taken
        {kList, "", "IDS_TBX_PVX_Slab_Wall_List_Invalid", 2.0},      // the user's walls, but none named
        {kList, "2", "IDS_TBX_PVX_Slab_Wall_List_Invalid", 2.0},     // a beam only: the list empties
        {kList, "abc", "IDS_TBX_PVX_Slab_Wall_List_Invalid", 2.0},
        {kList, "0", "IDS_TBX_PVX_Slab_Wall_List_Invalid", 2.0},
        {kList, "21-20", "IDS_TBX_PVX_Slab_Wall_List_Invalid", 2.0},
        {kList, "99", "IDS_TBX_PVX_Slab_Wall_List_Invalid", 2.0},    // no such member
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        ResetBars();
        CUiDriver::Get().ClearMessageBoxes();
        CPVXBarContainerBase* bar = r.field == kScale ? static_cast<CPVXBarContainerBase*>(MakeBar<CPVXBarContainerSlabForc>())
                                                      : MakeBar<CPVXBarContainerSlabDetail>();
        ASSERT_NE(bar, nullptr);
        CPVXBarSlabPage* page = r.field == kScale
                                    ? static_cast<CPVXBarSlabPage*>(ShownPage<CPVXBarSBForc>(bar, PVXResult::kSlabForceBeam))
                                    : ShownPage<CPVXBarSWall>(bar, PVXResult::kSlabWall);
        ASSERT_NE(page, nullptr);
        page->m_pForceEngine->m_dBSfdBmdScale = 2.0;
        page->m_pForceEngine->m_dSWallWidth = 2.0;
        CUiDialogSession user(page);
        if (r.field == kScale) {
            ASSERT_TRUE(user.SetCheck(CPVXBarSBForc::IDC_KIND_BEAM));
            ASSERT_TRUE(user.SetControlText(CPVXBarSBForc::IDC_SCALE, r.text));
        } else if (r.field == kWidth) {
            ASSERT_TRUE(user.SetControlText(CPVXBarSWall::IDC_WIDTH, r.text));
        } else {
            ASSERT_TRUE(user.SetControlText(CPVXBarSWall::IDC_WIDTH, "2"));
            ASSERT_TRUE(user.SetCheck(CPVXBarSWall::IDC_WALLS_USER));
            ASSERT_TRUE(user.SetControlText(CPVXBarSWall::IDC_WALL_LIST, r.text));
        }
        Model().m_nDisplayMode = -5;
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
        const auto& boxes = CUiDriver::Get().MessageBoxes();
        CForceEngine* e = EditingForce();
        ASSERT_NE(e, nullptr);
        if (r.refusal) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, Text(r.refusal));
            EXPECT_EQ(Model().m_nDisplayMode, -5) << "nothing executed";
        } else {
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(Model().m_nDisplayMode, page->GetMode());
        }
        EXPECT_EQ(r.field == kScale ? e->m_dBSfdBmdScale : e->m_dSWallWidth, r.stored);
        bar->DestroyWindow();
    }
}

// ---- slab force page ----------------------------------------------------------------------------------

TEST_F(SlabFixture, SlabForceSidesOneAlwaysChecked) {
    struct Row {
        UINT click;      // the box cleared
        int pos0, neg0;  // before
        int pos, neg;    // after
    } rows[] = {
        {CPVXBarSForc::IDC_POSITIVE, 1, 0, 1, 0},  // the last side cannot be cleared
        {CPVXBarSForc::IDC_NEGATIVE, 0, 1, 0, 1},
        {CPVXBarSForc::IDC_POSITIVE, 1, 1, 0, 1},
        {CPVXBarSForc::IDC_NEGATIVE, 1, 1, 1, 0},
    };
    auto* bar = MakeBar<CPVXBarContainerSlabForc>();
    auto* page = ShownPage<CPVXBarSForc>(bar, PVXResult::kSlabForce);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.click << " from " << r.pos0 << r.neg0);
        page->CheckDlgButton(CPVXBarSForc::IDC_POSITIVE, r.pos0);
        page->CheckDlgButton(CPVXBarSForc::IDC_NEGATIVE, r.neg0);
        user.SetCheck(r.click, BST_UNCHECKED);  // may not take: the page checks the last side again
        EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSForc::IDC_POSITIVE), static_cast<UINT>(r.pos));
        EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSForc::IDC_NEGATIVE), static_cast<UINT>(r.neg));
    }
    bar->DestroyWindow();
}

TEST_F(SlabFixture, SignRuleTestsTheChosenLoadNotTheFirstOfTheList) {
    // The model shows the envelope, the fourth load of the list (the first is DL, a static case).
    // Contours of an envelope need one side: with both checked the page shows values instead.
    ChooseModelLoad(kTypeEnvelope, kEnvelope);
    auto* bar = MakeBar<CPVXBarContainerSlabForc>();
    auto* page = ShownPage<CPVXBarSForc>(bar, PVXResult::kSlabForce);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->m_nLoadType, static_cast<int>(kTypeEnvelope));
    CUiDialogSession user(page);
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_UNIT_ELEMENT));
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_POSITIVE, BST_CHECKED));
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_NEGATIVE, BST_CHECKED));
    EXPECT_FALSE(Enabled(page, CPVXBarSForc::IDC_CONTOUR));
    EXPECT_FALSE(Enabled(page, CPVXBarSForc::IDC_VALUES));
    EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSForc::IDC_CONTOUR), 0u);
    EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSForc::IDC_VALUES), 1u);
    // One side: contours possible again.
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_NEGATIVE, BST_UNCHECKED));
    EXPECT_TRUE(Enabled(page, CPVXBarSForc::IDC_CONTOUR));
    EXPECT_TRUE(Enabled(page, CPVXBarSForc::IDC_VALUES));
    // A static case from the list: both sides allow contours.
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_NEGATIVE, BST_CHECKED));
    ASSERT_TRUE(user.SelectComboIndex(CPVXBarSForc::IDC_LOAD, 0));
    EXPECT_EQ(Model().m_nLoadType, kTypeStatic);
    EXPECT_TRUE(Enabled(page, CPVXBarSForc::IDC_CONTOUR));
    bar->DestroyWindow();
}

TEST_F(SlabFixture, SlabForceNodalAverageLeavesVmax) {
    auto* bar = MakeBar<CPVXBarContainerSlabForc>();
    auto* page = ShownPage<CPVXBarSForc>(bar, PVXResult::kSlabForce);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_UNIT_ELEMENT));
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_COMP_VMAX));
    EXPECT_FALSE(Enabled(page, CPVXBarSForc::IDC_ACTIVE_ONLY));
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_AVERAGE_NODAL));
    EXPECT_EQ(page->m_nComponent, CPVXBarSForc::COMP_MXX);
    EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSForc::IDC_COMP_MXX), 1u);
    EXPECT_FALSE(Enabled(page, CPVXBarSForc::IDC_COMP_VMAX));
    EXPECT_TRUE(Enabled(page, CPVXBarSForc::IDC_ACTIVE_ONLY));
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_ACTIVE_ONLY, BST_CHECKED));
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    const CForceEngine* e = Model().m_pForceEngine;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_bPAverageNodal, 1);
    EXPECT_EQ(e->m_bSkipActivePlateList, 1);
    EXPECT_EQ(e->m_nSForcComp, 0) << "Mxx, not the Vmax chosen before";
    // Element values again: the active-elements box cleared and greyed, Vmax back.
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_AVERAGE_ELEMENT));
    EXPECT_EQ(page->m_bActiveOnly, 0);
    EXPECT_FALSE(Enabled(page, CPVXBarSForc::IDC_ACTIVE_ONLY));
    EXPECT_TRUE(Enabled(page, CPVXBarSForc::IDC_COMP_VMAX));
    bar->DestroyWindow();
}

TEST_F(SlabFixture, SlabForceMemberUnitClosesTheGap) {
    auto* bar = MakeBar<CPVXBarContainerSlabForc>();
    auto* page = ShownPage<CPVXBarSForc>(bar, PVXResult::kSlabForce);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    // Template: options group 38..104, averaging group 62..100, component group 108..148 (DLU).
    const int gap = DluHeight(page, 0, CPVXBarSForc::kBlockGap);
    const int longOptions = DluHeight(page, 38, 104), averaging = DluHeight(page, 62, 100);
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_UNIT_MEMBER));
    EXPECT_FALSE(Visible(page, CPVXBarSForc::IDC_COMP_GROUP));
    EXPECT_FALSE(Visible(page, CPVXBarSForc::IDC_COMP_MXX));
    EXPECT_FALSE(Visible(page, CPVXBarSForc::IDC_AVERAGE_GROUP));
    EXPECT_FALSE(Visible(page, CPVXBarSForc::IDC_AVERAGE_NODAL));
    EXPECT_EQ(Rect(page, CPVXBarSForc::IDC_OPTIONS_GROUP).Height(), longOptions - averaging);
    EXPECT_EQ(Rect(page, CPVXBarSForc::IDC_SIGN_GROUP).top, Rect(page, CPVXBarSForc::IDC_OPTIONS_GROUP).bottom + gap);
    // The whole lower block moved together: Apply stays under the display group.
    const int applyBelowDisplay =
        Rect(page, CPVXBarDlgBase::IDC_PAGE_APPLY).top - Rect(page, CPVXBarSForc::IDC_DISPLAY_GROUP).bottom;
    EXPECT_EQ(applyBelowDisplay, DluHeight(page, 232, 237));
    // Per member there are no contours.
    EXPECT_FALSE(Enabled(page, CPVXBarSForc::IDC_CONTOUR));
    EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSForc::IDC_VALUES), 1u);
    // Element values: groups back, the block under the component group.
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_UNIT_ELEMENT));
    EXPECT_TRUE(Visible(page, CPVXBarSForc::IDC_COMP_GROUP));
    EXPECT_TRUE(Visible(page, CPVXBarSForc::IDC_AVERAGE_GROUP));
    EXPECT_EQ(Rect(page, CPVXBarSForc::IDC_OPTIONS_GROUP).Height(), longOptions);
    EXPECT_EQ(Rect(page, CPVXBarSForc::IDC_SIGN_GROUP).top, Rect(page, CPVXBarSForc::IDC_COMP_GROUP).bottom + gap);
    EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSForc::IDC_CONTOUR), 1u);
    EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSForc::IDC_VALUES), 0u);
    // Member again and again: the group is shortened once.
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_UNIT_MEMBER));
    ASSERT_TRUE(user.SetCheck(CPVXBarSForc::IDC_UNIT_MEMBER));
    EXPECT_EQ(Rect(page, CPVXBarSForc::IDC_OPTIONS_GROUP).Height(), longOptions - averaging);
    bar->DestroyWindow();
}

// ---- slab-beam force page --------------------------------------------------------------------------------

TEST_F(SlabFixture, SlabBeamForceKindsShowTheirBlocks) {
    auto* bar = MakeBar<CPVXBarContainerSlabForc>();
    auto* page = ShownPage<CPVXBarSBForc>(bar, PVXResult::kSlabForceBeam);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    const int gap = DluHeight(page, 0, CPVXBarSBForc::kBlockGap);
    ASSERT_TRUE(user.SetCheck(CPVXBarSBForc::IDC_KIND_SLAB));
    // Slab forces: sides and display boxes only, no contour, no flange lines.
    for (UINT id : {CPVXBarSBForc::IDC_COMP_GROUP, CPVXBarSBForc::IDC_FILL_GROUP, CPVXBarSBForc::IDC_SCALE,
                    CPVXBarSBForc::IDC_OUT_ALL, CPVXBarSBForc::IDC_FLANGE})
        EXPECT_FALSE(Visible(page, id)) << id;
    EXPECT_TRUE(Visible(page, CPVXBarSBForc::IDC_POSITIVE));
    EXPECT_FALSE(Enabled(page, CPVXBarSBForc::IDC_CONTOUR));
    EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSBForc::IDC_CONTOUR), 0u);
    EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSBForc::IDC_VALUES), 1u);
    EXPECT_EQ(Rect(page, CPVXBarSBForc::IDC_SIGN_GROUP).top, Rect(page, CPVXBarSBForc::IDC_KIND_GROUP).bottom + gap);
    EXPECT_EQ(Rect(page, CPVXBarSBForc::IDC_DISPLAY_GROUP).top, Rect(page, CPVXBarSBForc::IDC_SIGN_GROUP).bottom + gap);
    EXPECT_EQ(Rect(page, CPVXBarDlgBase::IDC_PAGE_APPLY).top, Rect(page, CPVXBarSBForc::IDC_DISPLAY_GROUP).bottom + gap);
    // Rib beams: component, fill, display and output blocks one under the other, contours on.
    ASSERT_TRUE(user.SetCheck(CPVXBarSBForc::IDC_KIND_BEAM));
    EXPECT_FALSE(Visible(page, CPVXBarSBForc::IDC_POSITIVE));
    EXPECT_TRUE(Visible(page, CPVXBarSBForc::IDC_FLANGE));
    EXPECT_TRUE(Enabled(page, CPVXBarSBForc::IDC_CONTOUR));
    EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSBForc::IDC_CONTOUR), 1u);
    EXPECT_EQ(Rect(page, CPVXBarSBForc::IDC_COMP_GROUP).top, Rect(page, CPVXBarSBForc::IDC_KIND_GROUP).bottom + gap);
    EXPECT_EQ(Rect(page, CPVXBarSBForc::IDC_COMP_GROUP).left, Rect(page, CPVXBarSBForc::IDC_KIND_GROUP).left);
    EXPECT_EQ(Rect(page, CPVXBarSBForc::IDC_FILL_FRAME).top, Rect(page, CPVXBarSBForc::IDC_COMP_GROUP).bottom + gap);
    EXPECT_EQ(Rect(page, CPVXBarSBForc::IDC_DISPLAY_GROUP).top, Rect(page, CPVXBarSBForc::IDC_FILL_FRAME).bottom + gap);
    EXPECT_EQ(Rect(page, CPVXBarSBForc::IDC_OUTPUT_GROUP).top, Rect(page, CPVXBarSBForc::IDC_DISPLAY_GROUP).bottom + gap);
    EXPECT_EQ(Rect(page, CPVXBarDlgBase::IDC_PAGE_APPLY).top, Rect(page, CPVXBarSBForc::IDC_OUTPUT_GROUP).bottom + gap);
    // Result present: rib beam data for rib beams (none built from this database).
    Model().m_bResultPresent = 1;
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(Model().m_bResultPresent, EditingForce()->m_bCLForcData);
    bar->DestroyWindow();
}

TEST_F(SlabFixture, SlabBeamNumberPositionsFollowAllAndMax) {
    auto* bar = MakeBar<CPVXBarContainerSlabForc>();
    auto* page = ShownPage<CPVXBarSBForc>(bar, PVXResult::kSlabForceBeam);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    ASSERT_TRUE(user.SetCheck(CPVXBarSBForc::IDC_KIND_BEAM));
    ASSERT_TRUE(user.SetCheck(CPVXBarSBForc::IDC_VALUES, BST_UNCHECKED));
    EXPECT_FALSE(Enabled(page, CPVXBarSBForc::IDC_OUT_ALL)) << "no values, no positions";
    ASSERT_TRUE(user.SetCheck(CPVXBarSBForc::IDC_VALUES, BST_CHECKED));
    ASSERT_TRUE(user.SetCheck(CPVXBarSBForc::IDC_OUT_ALL, BST_UNCHECKED));
    ASSERT_TRUE(user.SetCheck(CPVXBarSBForc::IDC_OUT_MAX, BST_UNCHECKED));
    EXPECT_TRUE(Enabled(page, CPVXBarSBForc::IDC_OUT_I));
    // "全部": I, centre and J checked and greyed.
    ASSERT_TRUE(user.SetCheck(CPVXBarSBForc::IDC_OUT_ALL, BST_CHECKED));
    for (UINT id : {CPVXBarSBForc::IDC_OUT_I, CPVXBarSBForc::IDC_OUT_CENTRE, CPVXBarSBForc::IDC_OUT_J}) {
        EXPECT_EQ(page->IsDlgButtonChecked(static_cast<int>(id)), 1u) << id;
        EXPECT_FALSE(Enabled(page, id)) << id;
    }
    // "最大值" then: all four cleared.
    ASSERT_TRUE(user.SetCheck(CPVXBarSBForc::IDC_OUT_MAX, BST_CHECKED));
    for (UINT id : {CPVXBarSBForc::IDC_OUT_ALL, CPVXBarSBForc::IDC_OUT_I, CPVXBarSBForc::IDC_OUT_CENTRE,
                    CPVXBarSBForc::IDC_OUT_J})
        EXPECT_EQ(page->IsDlgButtonChecked(static_cast<int>(id)), 0u) << id;
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    const CForceEngine* e = Model().m_pForceEngine;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_bNumAtMax, 1);
    EXPECT_EQ(e->m_bNumAtAll, 0);
    EXPECT_EQ(e->m_bNumIEnd + e->m_bNumMiddle + e->m_bNumJEnd, 0);
    bar->DestroyWindow();
}

TEST(SlabBeamFill, FillTypeAndEngineSwitches) {
    // Fill radio -> (line, fill): none (1, 0), line fill (1, 1), full fill (0, 1).
    struct Row {
        int fill, line, filled;
    } rows[] = {{CPVXBarSBForc::FILL_NONE, 1, 0}, {CPVXBarSBForc::FILL_LINE, 1, 1}, {CPVXBarSBForc::FILL_FULL, 0, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fill);
        int line = -1, filled = -1;
        CPVXBarSBForc::EngineOfFill(r.fill, line, filled);
        EXPECT_EQ(line, r.line);
        EXPECT_EQ(filled, r.filled);
        EXPECT_EQ(CPVXBarSBForc::FillOfEngine(r.line, r.filled), r.fill);
    }
    // No line and no fill reads as full fill (the line switch decides first).
    EXPECT_EQ(CPVXBarSBForc::FillOfEngine(0, 0), CPVXBarSBForc::FILL_FULL);
}

// ---- slab rebar page ----------------------------------------------------------------------------------

TEST_F(SlabFixture, SlabRebarListsCombinationsAndKeepsOneFace) {
    auto* bar = MakeBar<CPVXBarContainerSlabRbar>();
    auto* page = ShownPage<CPVXBarSRbar>(bar, PVXResult::kSlabRebar);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->HasCombinations());
    EXPECT_TRUE(Enabled(page, CPVXBarDlgBase::IDC_PAGE_APPLY));
    // Combinations and envelopes only, the first chosen.
    auto* combo = dynamic_cast<CComboBox*>(page->GetDlgItem(CPVXBarSRbar::IDC_LOAD));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->GetCount(), 2);
    CString text;
    combo->GetLBText(0, text);
    EXPECT_STREQ(text.GetString(), "1.2DL+1.4LL");
    combo->GetLBText(1, text);
    EXPECT_STREQ(text.GetString(), "ENV");
    EXPECT_EQ(Model().m_nLoadKey, kCombo);
    EXPECT_EQ(page->GetType10Count(), 1);
    CUiDialogSession user(page);
    // One face always; the direction belongs to element values.
    ASSERT_TRUE(user.SetCheck(CPVXBarSRbar::IDC_UNIT_MEMBER));
    EXPECT_FALSE(Enabled(page, CPVXBarSRbar::IDC_DIR_X));
    EXPECT_FALSE(Enabled(page, CPVXBarSRbar::IDC_DIR_Y));
    ASSERT_TRUE(user.SetCheck(CPVXBarSRbar::IDC_BOTTOM, BST_UNCHECKED));
    user.SetCheck(CPVXBarSRbar::IDC_TOP, BST_UNCHECKED);  // the last face: checked again at once
    EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSRbar::IDC_TOP), 1u);
    ASSERT_TRUE(user.SetCheck(CPVXBarSRbar::IDC_UNIT_ELEMENT));
    EXPECT_TRUE(Enabled(page, CPVXBarSRbar::IDC_DIR_Y));
    EXPECT_TRUE(Enabled(page, CPVXBarSRbar::IDC_CONTOUR));
    // The envelope with both faces: values instead of contours.
    ASSERT_TRUE(user.SelectComboIndex(CPVXBarSRbar::IDC_LOAD, 1));
    ASSERT_TRUE(user.SetCheck(CPVXBarSRbar::IDC_BOTTOM, BST_CHECKED));
    EXPECT_FALSE(Enabled(page, CPVXBarSRbar::IDC_CONTOUR));
    EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSRbar::IDC_VALUES), 1u);
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(Model().m_nDisplayMode, PVXMode::kSlabRebar);
    EXPECT_EQ(Model().m_nLoadKey, kEnvelope);
    EXPECT_EQ(bar->m_BarInfo.bContour, 0);
    EXPECT_EQ(bar->m_BarInfo.bValues, 1);
    bar->DestroyWindow();
}

TEST_F(NoCombinationFixture, SlabRebarWithoutCombinationsCannotApply) {
    auto* bar = MakeBar<CPVXBarContainerSlabRbar>();
    auto* page = ShownPage<CPVXBarSRbar>(bar, PVXResult::kSlabRebar);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->HasCombinations());
    EXPECT_FALSE(Enabled(page, CPVXBarDlgBase::IDC_PAGE_APPLY));
    auto* combo = dynamic_cast<CComboBox*>(page->GetDlgItem(CPVXBarSRbar::IDC_LOAD));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetCount(), 0);
    EXPECT_EQ(Model().m_bLoadSelected, 0);
    // Reached another way (a detail dialog's apply), Execute still does nothing.
    Model().m_nDisplayMode = -5;
    page->Execute();
    EXPECT_EQ(Model().m_nDisplayMode, -5);
    bar->DestroyWindow();
}

// ---- slab wall page -------------------------------------------------------------------------------------

TEST_F(SlabFixture, TypedWallListSelectsMembersAndKeepsTheWalls) {
    struct Row {
        const char* typed;
        std::vector<UINT> selected;  // in the views
        const char* shown;           // the list afterwards
        std::vector<UINT> walls;     // the engine's list
    } rows[] = {
        {"1-3,20", {1, 2, 3, 20}, "20", {kWallA}},
        {"21 20", {kWallA, kWallB}, "20-21", {kWallA, kWallB}},  // the views select in key order
        {"2", {2}, "", {}},  // a beam: no wall left
    };
    auto* bar = MakeBar<CPVXBarContainerSlabDetail>();
    auto* page = ShownPage<CPVXBarSWall>(bar, PVXResult::kSlabWall);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentMode, PVXMode::kSlabWall);
    CUiDialogSession user(page);
    EXPECT_FALSE(Enabled(page, CPVXBarSWall::IDC_WALL_LIST)) << "all walls: no list";
    ASSERT_TRUE(user.SetCheck(CPVXBarSWall::IDC_WALLS_USER));
    EXPECT_TRUE(Enabled(page, CPVXBarSWall::IDC_WALL_LIST));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        page->m_bForceRebuild = 0;
        ASSERT_TRUE(user.SetControlText(CPVXBarSWall::IDC_WALL_LIST, r.typed));
        // Enter in the list does what leaving it does.
        page->GetDlgItem(CPVXBarSWall::IDC_WALL_LIST)->PostMessage(WM_KEYDOWN, VK_RETURN, 0);
        AfxPumpMessages();
        CArray<UINT, UINT> sel;
        CViewCtrl::GetAllSelectedPMemb(sel);
        EXPECT_EQ(std::vector<UINT>(sel.GetData(), sel.GetData() + sel.GetSize()), r.selected);
        CString shown;
        page->GetDlgItemText(CPVXBarSWall::IDC_WALL_LIST, shown);
        EXPECT_STREQ(shown.GetString(), r.shown);
        const CArray<UINT, UINT>& keys = page->m_pForceEngine->m_arrSWallKey;
        EXPECT_EQ(std::vector<UINT>(keys.GetData(), keys.GetData() + keys.GetSize()), r.walls);
        EXPECT_EQ(page->m_bForceRebuild, 1) << "the wall list changed";
    }
    bar->DestroyWindow();
}

TEST_F(SlabFixture, PickedSelectionWithoutWallsRebuildsAndPicksAfterApplyAreIgnored) {
    auto* bar = MakeBar<CPVXBarContainerSlabDetail>();
    auto* page = ShownPage<CPVXBarSWall>(bar, PVXResult::kSlabWall);
    ASSERT_NE(page, nullptr);
    CUiDialogSession user(page);
    ASSERT_TRUE(user.SetCheck(CPVXBarSWall::IDC_WALLS_USER));
    CArray<UINT, UINT> picked;
    picked.Add(kWallB);
    picked.Add(1);
    CViewCtrl::SelectPMembInView(picked);  // a pick in the view (hint 6), before any Apply
    ASSERT_EQ(page->m_pForceEngine->m_arrSWallKey.GetSize(), 1);
    EXPECT_EQ(page->m_pForceEngine->m_arrSWallKey[0], kWallB);
    // A pick of a beam alone empties the list, and the walls drawn must follow it.
    page->m_bForceRebuild = 0;
    picked.RemoveAll();
    picked.Add(2);
    CViewCtrl::SelectPMembInView(picked);
    EXPECT_EQ(page->m_pForceEngine->m_arrSWallKey.GetSize(), 0);
    EXPECT_EQ(page->m_bForceRebuild, 1);
    // Applied: picks no longer change the list (a selection by the list still does).
    picked.RemoveAll();
    picked.Add(kWallA);
    CViewCtrl::SelectPMembInView(picked);
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(page->m_bApplying, 1);
    EngineCallLog::Enable(true);
    picked.RemoveAll();
    picked.Add(kWallB);
    CViewCtrl::SelectPMembInView(picked);
    ASSERT_EQ(page->m_pForceEngine->m_arrSWallKey.GetSize(), 1);
    EXPECT_EQ(page->m_pForceEngine->m_arrSWallKey[0], kWallA);
    CViewCtrl::SelectPMemb(picked, 0, 1, 1, 1, 1, 1, 1);
    ASSERT_EQ(page->m_pForceEngine->m_arrSWallKey.GetSize(), 1);
    EXPECT_EQ(page->m_pForceEngine->m_arrSWallKey[0], kWallB);
    // Applying again builds the new walls; applying unchanged does not.
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_TRUE(Calls("CForceEngine::MakeSWallDataList"));
    EngineCallLog::Enable(true);
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_FALSE(Calls("CForceEngine::MakeSWallDataList"));
    // Only the width changed: built again.
    ASSERT_TRUE(user.SetControlText(CPVXBarSWall::IDC_WIDTH, "1.5"));
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_TRUE(Calls("CForceEngine::MakeSWallDataList"));
    EngineCallLog::Enable(false);
    bar->DestroyWindow();
}

TEST_F(SlabFixture, ReopenedWallPageShowsTheWidthAndWallsDrawn) {
    auto* bar = MakeBar<CPVXBarContainerSlabDetail>();
    auto* page = ShownPage<CPVXBarSWall>(bar, PVXResult::kSlabWall);
    ASSERT_NE(page, nullptr);
    {
        CUiDialogSession user(page);
        ASSERT_TRUE(user.SetControlText(CPVXBarSWall::IDC_WIDTH, "2.5"));
        ASSERT_TRUE(user.SetCheck(CPVXBarSWall::IDC_WALLS_USER));
        ASSERT_TRUE(user.SetControlText(CPVXBarSWall::IDC_WALL_LIST, "21"));
        ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    }
    ASSERT_NE(Model().m_pForceEngine, nullptr);
    EXPECT_EQ(Model().m_pForceEngine->m_dSWallWidth, 2.5);
    bar->DestroyWindow();
    // A new bar: the page shows what the view draws, so a plain Apply changes nothing.
    bar = MakeBar<CPVXBarContainerSlabDetail>();
    page = ShownPage<CPVXBarSWall>(bar, PVXResult::kSlabWall);
    ASSERT_NE(page, nullptr);
    CString text;
    page->GetDlgItemText(CPVXBarSWall::IDC_WIDTH, text);
    EXPECT_STREQ(text.GetString(), "2.5");
    page->GetDlgItemText(CPVXBarSWall::IDC_WALL_LIST, text);
    EXPECT_STREQ(text.GetString(), "21");
    EXPECT_EQ(page->IsDlgButtonChecked(CPVXBarSWall::IDC_WALLS_USER), 1u);
    CUiDialogSession user(page);
    ASSERT_TRUE(user.ClickButton(CPVXBarDlgBase::IDC_PAGE_APPLY));
    EXPECT_EQ(Model().m_pForceEngine->m_dSWallWidth, 2.5);
    EXPECT_EQ(Model().m_pForceEngine->m_bSWallUserKeys, 1);
    bar->DestroyWindow();
}

}  // namespace
}  // namespace bartest
