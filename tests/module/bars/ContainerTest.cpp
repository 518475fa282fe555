// The result bar containers: their combos, their results and page classes, the editing engines
// their Prepare members make, showing a result twice, results they do not have, and the system
// container's type radio and place holder.
#include "module/bars/CPVXBarContainerMember.h"
#include "module/bars/CPVXBarContainerReac.h"
#include "module/bars/CPVXBarContainerSlabDetail.h"
#include "module/bars/CPVXBarContainerSlabForc.h"
#include "module/bars/CPVXBarContainerSlabRbar.h"
#include "module/bars/CPVXBarContainerStory.h"
#include "module/bars/CPVXBarContainerSystem.h"
#include "platform/ui/CComboBox.h"
#include "tests/module/bars/BarTestSupport.h"

namespace bartest {
namespace {

struct ComboItem {
    std::string text;
    int resultId;
};

std::vector<ComboItem> ComboItems(CWnd* bar) {
    std::vector<ComboItem> out;
    auto* combo = dynamic_cast<CComboBox*>(bar->GetDlgItem(CPVXBarContainerBase::IDC_BAR_COMBO));
    if (!combo) return out;
    for (int i = 0; i < combo->GetCount(); ++i) {
        CString s;
        combo->GetLBText(i, s);
        out.push_back({s.GetString(), static_cast<int>(combo->GetItemData(i))});
    }
    return out;
}

int ComboSelection(CWnd* bar) {
    auto* combo = dynamic_cast<CComboBox*>(bar->GetDlgItem(CPVXBarContainerBase::IDC_BAR_COMBO));
    return combo && combo->GetCurSel() >= 0 ? static_cast<int>(combo->GetItemData(combo->GetCurSel())) : -1;
}

// Created by run-time class name as the host does it.
CPVXBarContainerBase* MakeByName(const char* name, CWnd* parent) {
    auto* bar = dynamic_cast<CPVXBarContainerBase*>(CRuntimeClass::CreateObject(name));
    if (!bar) return nullptr;
    if (!bar->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 240, 500), parent, 0)) return nullptr;
    bar->OnInitialUpdate();
    return bar;
}

TEST_F(BarFixture, ContainersOfferTheirResultsInTheirCombos) {
    struct Row {
        const char* cls;
        std::vector<ComboItem> items;  // texts of the string table
        int first;
        std::vector<std::pair<int, std::string>> results;  // result id, page class
    } rows[] = {
        {"CPVXBarContainerReac",
         {{"基础反力", 7102}, {"桩反力", 7101}, {"支座反力", 7103}},
         7102,
         {{7102, "CPVXBarRContr"}, {7101, "CPVXBarReacf"}, {7103, "CPVXBarReacf"}}},
        {"CPVXBarContainerSystem",
         {{"变形", 7201}, {"沉降", 7202}, {"振型", 7203}},
         7201,
         {{7202, "CPVXBarSetMnt"},
          {7201, "CPVXBarDeform"},
          {7204, "CPVXBarDContr"},
          {7205, "CPVXBarSrhdsp"},
          {7203, "CPVXBarMdShp"}}},
        {"CPVXBarContainerMember",
         {{"梁内力", 7301},
          {"板内力", 7303},
          {"梁上板内力", 7304},
          {"墙内力", 7305},
          {"墙内力图", 7306},
          {"板单元内力", 7307},
          {"板单元应力", 7308}},
         7301,
         {{7301, "CPVXBarBForc"},
          {7302, "CPVXBarBSfd"},
          {7303, "CPVXBarSForc"},
          {7304, "CPVXBarSBForc"},
          {7305, "CPVXBarWForc"},
          {7306, "CPVXBarWSfd"},
          {7307, "CPVXBarPForc"},
          {7308, "CPVXBarPStrs"}}},
        {"CPVXBarContainerSlabForc",
         {{"板内力", 7303}, {"梁上板内力", 7304}},
         7303,
         {{7303, "CPVXBarSForc"}, {7304, "CPVXBarSBForc"}}},
        {"CPVXBarContainerSlabRbar", {}, -1, {{12201, "CPVXBarSRbar"}}},
        {"CPVXBarContainerSlabDetail",
         {{"板详细结果(墙)", 7401}, {"板带", 7402}},
         7401,
         {{7401, "CPVXBarSWall"}, {7402, "CPVXBarSStrip"}}},
        {"CPVXBarContainerStory", {{"层剪力比", 7501}}, 7501, {{7501, "CPVXBarStrShrFrcRtio"}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        CPVXBarContainerBase* bar = MakeByName(r.cls, m_pFrame);
        ASSERT_NE(bar, nullptr);
        const std::vector<ComboItem> items = ComboItems(bar);
        ASSERT_EQ(items.size(), r.items.size());
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].text, r.items[i].text);
            EXPECT_EQ(items[i].resultId, r.items[i].resultId);
        }
        EXPECT_EQ(ComboSelection(bar), r.first);
        const std::vector<CBarResultInfo> results = bar->GetBarResults();
        ASSERT_EQ(results.size(), r.results.size());
        for (size_t i = 0; i < results.size(); ++i) {
            EXPECT_EQ(results[i].nResultId, r.results[i].first);
            EXPECT_EQ(std::string(results[i].pszPageClass), r.results[i].second);
        }
        // A page slot holds a page of the listed class, or nothing while that class is not built.
        ASSERT_EQ(bar->m_arrChildDlg.GetSize(), static_cast<INT_PTR>(r.results.size()));
        for (INT_PTR i = 0; i < bar->m_arrChildDlg.GetSize(); ++i) {
            CPVXBarDlgBase* page = bar->m_arrChildDlg[i];
            const bool built = CRuntimeClass::FromName(r.results[static_cast<size_t>(i)].second.c_str()) != nullptr;
            EXPECT_EQ(page != nullptr, built) << r.results[static_cast<size_t>(i)].second;
            if (page) {
                EXPECT_EQ(std::string(page->GetRuntimeClass()->m_lpszClassName), r.results[static_cast<size_t>(i)].second);
            }
        }
        bar->DestroyWindow();
    }
}

// What each Prepare member leaves in the statics and the editing engines.
TEST_F(BarFixture, PrepareMembersMakeTheEditingEnginesOfTheirResult) {
    struct Row {
        const char* cls;
        int resultId;
        int pageIndex;
        bool deform;            // an editing deformation engine
        bool deformScale;       // with a colour scale
        int deformComponent;    // -1: not checked
        int kind;               // engine kind; current engine: force for 2, none for 1
        int contourBox;         // settings block field 20 afterwards (-1 not checked)
        int mode;               // m_nCurrentMode afterwards
        int reactionKind = -1;  // display kind of the editing reaction engine: 0 contour, 1 reactions, 2 reversed
    } rows[] = {
        // The reaction pages set their display mode when they open: 70 the contour, 0 the arrows.
        {"CPVXBarContainerReac", 7102, 0, false, false, -1, 0, -1, PVXMode::kReactionContour, 0},
        {"CPVXBarContainerReac", 7101, 1, false, false, -1, 0, -1, PVXMode::kReaction, 1},
        {"CPVXBarContainerReac", 7103, 2, false, false, -1, 0, -1, PVXMode::kReaction, 2},
        {"CPVXBarContainerMember", 7301, 0, true, true, 3, 2, 1, PVXMode::kFrameForceContour},
        {"CPVXBarContainerMember", 7302, 1, true, true, 3, 2, 1, PVXMode::kFrameForceDiagram},
        // The slab pages set their display mode when they open too.
        {"CPVXBarContainerMember", 7303, 2, true, true, 3, 2, 1, PVXMode::kSlabForce},
        {"CPVXBarContainerMember", 7304, 3, true, true, 3, 2, 1, PVXMode::kSlabForceBeam},
        // The wall and plate force pages in places of their own; they set their display mode
        // when they open.
        {"CPVXBarContainerMember", 7305, 4, true, true, 3, 2, 1, PVXMode::kWallForceContour},
        {"CPVXBarContainerMember", 7306, 5, true, true, 3, 2, 1, PVXMode::kWallForceDiagram},
        {"CPVXBarContainerMember", 7307, 6, true, true, 3, 2, 1, PVXMode::kPlateForce},
        {"CPVXBarContainerSlabForc", 7303, 0, true, true, 3, 2, 1, PVXMode::kSlabForce},
        {"CPVXBarContainerSlabForc", 7304, 1, true, true, 3, 2, 1, PVXMode::kSlabForceBeam},
        {"CPVXBarContainerSlabRbar", 12201, 0, true, true, 3, 2, 1, PVXMode::kSlabRebar},
        // The story shear and strip pages set their display mode when they open.
        {"CPVXBarContainerStory", 7501, 0, true, true, 3, 2, 1, PVXMode::kStoryShearRatio},
        {"CPVXBarContainerSlabDetail", 7401, 0, false, false, -1, 2, 1, PVXMode::kSlabWall},
        {"CPVXBarContainerSlabDetail", 7402, 1, false, false, -1, 2, 1, PVXMode::kSlabStrip},
        {"CPVXBarContainerSystem", 7201, 1, true, false, -1, 1, -1, PVXMode::kDeformedShape},
        {"CPVXBarContainerSystem", 7202, 0, true, true, -1, 1, -1, PVXMode::kSettlement},
        {"CPVXBarContainerSystem", 7204, 2, true, true, -1, 1, 1, PVXMode::kDispContour},
        {"CPVXBarContainerSystem", 7205, 3, true, false, -1, 1, -1, PVXMode::kNodeDisp},
        {"CPVXBarContainerSystem", 7203, 4, true, true, -1, 1, -1, PVXMode::kModeShape},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.cls << " " << r.resultId);
        ResetBars();
        CPVXBarContainerBase* bar = MakeByName(r.cls, m_pFrame);
        ASSERT_NE(bar, nullptr);
        bar->ShowChildDlgByMode(r.resultId);
        EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, r.resultId);
        EXPECT_EQ(CPVXBarContainerBase::m_nCurChildDlg, r.pageIndex);
        EXPECT_EQ(bar->m_nCurPage, r.pageIndex);
        EXPECT_EQ(CPVXBarContainerBase::m_pMyself, bar);
        EXPECT_EQ(CPVXBarContainerBase::m_pEngineOwner, bar);
        EXPECT_EQ(bar->m_nEngineKind, r.kind);
        CDeformEngine* d = CPVXBarContainerBase::m_pDeformEngine;
        EXPECT_EQ(d != nullptr, r.deform);
        if (d) {
            EXPECT_EQ(d->m_pContourEngine != nullptr, r.deformScale);
        }
        if (d && r.deformComponent >= 0) {
            EXPECT_EQ(d->m_nComponent, r.deformComponent);
        }
        if (r.kind == CPVXBarContainerBase::ENGINE_REACTION) {
            auto* e = dynamic_cast<CReactionEngine*>(CPVXBarContainerBase::m_pCurrentEngine);
            ASSERT_NE(e, nullptr);
            EXPECT_NE(e->m_pContourEngine, nullptr);
            EXPECT_EQ(e->m_nDataKind, r.reactionKind);
            EXPECT_NE(Model().m_pReactionEngine, nullptr) << "the model gets a reaction engine too";
        } else if (r.kind == CPVXBarContainerBase::ENGINE_FORCE) {
            auto* f = dynamic_cast<CForceEngine*>(CPVXBarContainerBase::m_pCurrentEngine);
            ASSERT_NE(f, nullptr);
            EXPECT_NE(f->m_pContourEngine, nullptr);
        } else {
            EXPECT_EQ(CPVXBarContainerBase::m_pCurrentEngine, nullptr);
        }
        if (r.contourBox >= 0) {
            EXPECT_EQ(bar->m_BarInfo.bContour, r.contourBox);
        }
        EXPECT_EQ(CPVXBarContainerBase::m_nCurrentMode, r.mode);
        EXPECT_EQ(Model().m_nBarDisplayMode, r.resultId) << "the model's bar mode holds the result id";
        bar->DestroyWindow();
        CPVXBarContainerBase::m_nCurrentMode = -1;
    }
}

TEST_F(BarFixture, PrepareMembersFillTheEditingEngineFromTheModel) {
    I_PVXModel& m = Model();
    m.m_pForceEngine = new CForceEngine(&m);
    m.m_pForceEngine->m_nSForcComp = 6;
    m.m_pDeformEngine = new CDeformEngine(&m);
    m.m_pDeformEngine->m_dUserScale = 2.5;
    CPVXBarContainerBase* bar = MakeByName("CPVXBarContainerSlabForc", m_pFrame);
    bar->ShowChildDlgByMode(PVXResult::kSlabForce);
    auto* f = dynamic_cast<CForceEngine*>(CPVXBarContainerBase::m_pCurrentEngine);
    ASSERT_NE(f, nullptr);
    EXPECT_NE(f, m.m_pForceEngine);
    EXPECT_EQ(f->m_nSForcComp, 6);
    EXPECT_DOUBLE_EQ(CPVXBarContainerBase::m_pDeformEngine->m_dUserScale, 2.5);
    EXPECT_EQ(CPVXBarContainerBase::m_pDeformEngine->m_nComponent, 3) << "then set to the total displacement";
    // The model engines had no colour scale; the editing ones still have theirs.
    EXPECT_NE(f->m_pContourEngine, nullptr);
    EXPECT_NE(CPVXBarContainerBase::m_pDeformEngine->m_pContourEngine, nullptr);
}

TEST_F(BarFixture, ShowingTheResultAlreadyShownKeepsTheEngines) {
    CPVXBarContainerBase* bar = MakeByName("CPVXBarContainerStory", m_pFrame);
    bar->ShowChildDlgByMode(PVXResult::kStoryShear);
    CEngineBase* current = CPVXBarContainerBase::m_pCurrentEngine;
    CDeformEngine* deform = CPVXBarContainerBase::m_pDeformEngine;
    CHostRequestLog::Clear();
    bar->ShowChildDlgByMode(PVXResult::kStoryShear);
    EXPECT_EQ(CPVXBarContainerBase::m_pCurrentEngine, current);
    EXPECT_EQ(CPVXBarContainerBase::m_pDeformEngine, deform);
    EXPECT_EQ(CHostRequestLog::CountOfKind(HR_CLOSE_FIGURE_DLG), 0) << "not even the settings refreshed";
}

// A result a container has no page for (the member container's prepare members of 7305 to 7308
// name pages it does not build) changes nothing after the base step, and reads no page.
TEST_F(BarFixture, AResultWithoutAPageOfTheContainerPreparesNothing) {
    CPVXBarContainerBase* bar = MakeByName("CPVXBarContainerSlabForc", m_pFrame);
    bar->ShowChildDlgByMode(PVXResult::kSlabForce);
    for (int id : {PVXResult::kWallForce, PVXResult::kPlateForce, PVXResult::kPlateStress, 99999}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(bar->PreparePage(id), 0);
        EXPECT_EQ(bar->m_nCurPage, 0) << "the page index stays";
        EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, PVXResult::kSlabForce);
    }
    bar->ShowChildDlgByMode(PVXResult::kPlateForce);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, PVXResult::kPlateForce) << "the base step";
    EXPECT_EQ(CPVXBarContainerBase::m_pCurrentEngine, nullptr) << "no engine for a result it has no page for";
    EXPECT_EQ(CPVXBarContainerBase::m_pMyself, bar) << "still the container that last showed a page";
}

TEST_F(BarFixture, SystemContainerTypeRadioChoosesTheDeformationResult) {
    auto* bar = static_cast<CPVXBarContainerSystem*>(MakeByName("CPVXBarContainerSystem", m_pFrame));
    ASSERT_NE(bar, nullptr);
    CUiDialogSession user(bar);
    user.SelectComboIndex(CPVXBarContainerBase::IDC_BAR_COMBO, 0);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, PVXResult::kDeform);
    user.SetCheck(CPVXBarContainerSystem::IDC_TYPE_CONTOUR);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, PVXResult::kDispContour);
    user.SetCheck(CPVXBarContainerSystem::IDC_TYPE_QUERY);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, PVXResult::kNodeDisp);
    // To the settlement and back: the deformations item with the radio on the contour gives 7204.
    user.SelectComboIndex(CPVXBarContainerBase::IDC_BAR_COMBO, 1);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, PVXResult::kSettlement);
    user.SetCheck(CPVXBarContainerSystem::IDC_TYPE_CONTOUR);
    user.SelectComboIndex(CPVXBarContainerBase::IDC_BAR_COMBO, 0);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, PVXResult::kDispContour);
    EXPECT_EQ(ComboSelection(bar), PVXResult::kDeform);
}

TEST_F(BarFixture, SystemContainerMovesThePlaceHolderWithTheTypeGroup) {
    auto* bar = static_cast<CPVXBarContainerSystem*>(MakeByName("CPVXBarContainerSystem", m_pFrame));
    auto rectOf = [&](UINT id) {
        CRect rc;
        bar->GetDlgItem(static_cast<int>(id))->GetWindowRect(&rc);
        bar->ScreenToClient(&rc);
        return rc;
    };
    auto visible = [&](UINT id) { return (bar->GetDlgItem(static_cast<int>(id))->GetStyle() & WS_VISIBLE) != 0; };
    const CRect group = rectOf(CPVXBarContainerSystem::IDC_TYPE_GROUP);
    const CRect anchor = rectOf(CPVXBarContainerSystem::IDC_ANCHOR);
    ASSERT_LT(group.top, anchor.top);
    EXPECT_FALSE(visible(CPVXBarContainerSystem::IDC_ANCHOR)) << "hidden on the initial update";

    bar->ShowChildDlgByMode(PVXResult::kSettlement);
    EXPECT_EQ(rectOf(CPVXBarContainerBase::IDC_BAR_PLACE_HOLDER).top, group.top);
    EXPECT_EQ(bar->m_nExtraLayoutHeight, 0);
    for (UINT id : {11443u, 11431u, 11432u, 11433u}) EXPECT_FALSE(visible(id)) << id;
    EXPECT_FALSE(bar->GetDlgItem(CPVXBarContainerBase::IDC_BAR_TABLE)->IsWindowEnabled());

    CUiDialogSession(bar).SetCheck(CPVXBarContainerSystem::IDC_TYPE_SHAPE);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, PVXResult::kDeform);
    EXPECT_EQ(rectOf(CPVXBarContainerBase::IDC_BAR_PLACE_HOLDER).top, anchor.top);
    EXPECT_EQ(bar->m_nExtraLayoutHeight, group.Height() + 5);
    for (UINT id : {11443u, 11431u, 11432u, 11433u}) EXPECT_TRUE(visible(id)) << id;
}

// The host reopens the bar of an activated view with the view's result id, 7204 for a
// displacement contour: the container shows it as if the type radio had been set.
TEST_F(BarFixture, SystemContainerShowsTheDisplacementContourAskedForByTheHost) {
    auto* bar = static_cast<CPVXBarContainerSystem*>(MakeByName("CPVXBarContainerSystem", m_pFrame));
    bar->ShowChildDlgByMode(PVXResult::kDispContour);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, PVXResult::kDispContour);
    EXPECT_EQ(bar->m_nCurPage, 2);
    EXPECT_EQ(bar->IsDlgButtonChecked(CPVXBarContainerSystem::IDC_TYPE_CONTOUR), 1u);
    ASSERT_NE(CPVXBarContainerBase::m_pDeformEngine, nullptr);
    EXPECT_EQ(CPVXBarContainerBase::m_pMyself, bar);
    EXPECT_EQ(ComboSelection(bar), PVXResult::kDeform);
}

TEST_F(BarFixture, MemberContainerTakesTheFrameSettingsOfTheModelsForceEngine) {
    I_PVXModel& m = Model();
    m.m_pForceEngine = new CForceEngine(&m);
    m.m_pForceEngine->m_bShowColumn = 0;
    m.m_pForceEngine->m_bShowTruss = 1;
    struct Row {
        int modelComponent, shown;  // 6 the larger shear shows as shear z, 7 the larger moment as moment y
    } rows[] = {{6, 2}, {7, 4}, {5, 5}, {0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.modelComponent);
        ResetBars();
        m.m_pForceEngine->m_nBForcComp = r.modelComponent;
        auto* bar = static_cast<CPVXBarContainerMember*>(MakeByName("CPVXBarContainerMember", m_pFrame));
        bar->ShowChildDlgByMode(PVXResult::kBeamForce);
        auto* f = dynamic_cast<CForceEngine*>(CPVXBarContainerBase::m_pCurrentEngine);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->m_nBForcComp, r.shown);
        EXPECT_EQ(bar->IsDlgButtonChecked(CPVXBarContainerMember::IDC_SHOW_BEAM), 1u);
        EXPECT_EQ(bar->IsDlgButtonChecked(CPVXBarContainerMember::IDC_SHOW_COLUMN), 0u);
        EXPECT_EQ(bar->IsDlgButtonChecked(CPVXBarContainerMember::IDC_SHOW_TRUSS), 1u);
        EXPECT_FALSE(bar->GetDlgItem(CPVXBarContainerBase::IDC_BAR_TABLE)->IsWindowEnabled());
        bar->DestroyWindow();
    }
}

TEST_F(BarFixture, MemberContainerBoxesWriteTheEditingEngineAndTheRadioChoosesContourOrDiagram) {
    auto* bar = static_cast<CPVXBarContainerMember*>(MakeByName("CPVXBarContainerMember", m_pFrame));
    bar->ShowChildDlgByMode(PVXResult::kBeamForce);
    CUiDialogSession user(bar);
    struct Row {
        UINT box;
        int CForceEngine::*field;
    } rows[] = {{CPVXBarContainerMember::IDC_SHOW_BEAM, &CForceEngine::m_bShowBeam},
                {CPVXBarContainerMember::IDC_SHOW_COLUMN, &CForceEngine::m_bShowColumn},
                {CPVXBarContainerMember::IDC_SHOW_TRUSS, &CForceEngine::m_bShowTruss},
                {CPVXBarContainerMember::IDC_ONLY_TRUSS, &CForceEngine::m_bOnlyTruss}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.box);
        for (int on : {1, 0}) {
            user.SetCheck(r.box, on ? BST_CHECKED : BST_UNCHECKED);
            auto* f = dynamic_cast<CForceEngine*>(CPVXBarContainerBase::m_pCurrentEngine);
            ASSERT_NE(f, nullptr);
            EXPECT_EQ(f->*r.field, on);
        }
    }
    // The diagram radio on the frame forces item prepares the frame diagram page (index 1),
    // the deformed beams by their nodes.
    CPVXBarContainerBase::m_pDeformEngine->m_bExactBeamRange = 1;
    user.SetCheck(CPVXBarContainerMember::IDC_FORCE_DIAGRAM);
    EXPECT_EQ(bar->GetTMForceMode(), PVXResult::kBeamDiagram);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, PVXResult::kBeamDiagram);
    EXPECT_EQ(bar->m_nCurPage, 1);
    ASSERT_NE(CPVXBarContainerBase::m_pDeformEngine, nullptr);
    EXPECT_EQ(CPVXBarContainerBase::m_pDeformEngine->m_bExactBeamRange, 0);
    user.SelectComboIndex(CPVXBarContainerBase::IDC_BAR_COMBO, 2);
    EXPECT_EQ(bar->GetTMForceMode(), PVXResult::kSlabForceBeam);
    EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, PVXResult::kSlabForceBeam);
}

TEST_F(BarFixture, MemberContainerMovesThePlaceHolderAndLaysOutItsPages) {
    auto* bar = static_cast<CPVXBarContainerMember*>(MakeByName("CPVXBarContainerMember", m_pFrame));
    auto top = [&](UINT id) {
        CRect rc;
        bar->GetDlgItem(static_cast<int>(id))->GetWindowRect(&rc);
        bar->ScreenToClient(&rc);
        return rc.top;
    };
    auto visible = [&](UINT id) { return (bar->GetDlgItem(static_cast<int>(id))->GetStyle() & WS_VISIBLE) != 0; };
    const int groupTop = top(CPVXBarContainerMember::IDC_DISPLAY_GROUP);
    const int anchorTop = top(CPVXBarContainerMember::IDC_ANCHOR);
    bar->ShowChildDlgByMode(PVXResult::kSlabForce);
    EXPECT_EQ(top(CPVXBarContainerBase::IDC_BAR_PLACE_HOLDER), groupTop);
    EXPECT_FALSE(visible(CPVXBarContainerMember::IDC_DISPLAY_GROUP));
    EXPECT_FALSE(visible(CPVXBarContainerMember::IDC_FORCE_CONTOUR));
    bar->ShowChildDlgByMode(PVXResult::kBeamForce);
    EXPECT_EQ(top(CPVXBarContainerBase::IDC_BAR_PLACE_HOLDER), anchorTop);
    EXPECT_TRUE(visible(CPVXBarContainerMember::IDC_DISPLAY_GROUP));
    EXPECT_FALSE(visible(CPVXBarContainerMember::IDC_PLATE_GROUP));
    CString caption;
    bar->GetDlgItem(CPVXBarContainerMember::IDC_FORCE_DIAGRAM)->GetWindowText(caption);
    EXPECT_EQ(std::string(caption.GetString()), "内力图") << "the string table's IDS_TBX_PVX_Diagram";

    // Page heights: 300 + 7 - (100 - 45) = 252, plus 90 for 7301 and 7307, 55 for 7305.
    struct Row {
        int resultId, height;
    } rows[] = {{7301, 342}, {7307, 342}, {7305, 307}, {7302, 252}, {7303, 252}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.resultId);
        CPVXBarContainerBase::m_nCurrentTMMode = r.resultId;
        CRect group(0, 100, 100, 120), close(0, 280, 60, 300);
        bar->LayoutChildDlg(group, close);
        EXPECT_EQ(bar->GetTotalSize().cy, r.height);
    }
    // The wall and plate results have pages of their own, after the frame and slab pages (not
    // the frame-diagram and slab-beam pages of indices 1 and 3).
    struct Place {
        int resultId, index;
    } places[] = {{PVXResult::kWallForce, 4}, {PVXResult::kWallDiagram, 5}, {PVXResult::kPlateForce, 6},
                  {PVXResult::kPlateStress, 7}};
    for (const Place& p : places) {
        SCOPED_TRACE(p.resultId);
        EXPECT_EQ(bar->PreparePage(p.resultId), 1);
        EXPECT_EQ(bar->m_nCurPage, p.index);
        EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, p.resultId);
    }
}

}  // namespace
}  // namespace bartest
