// View events of the result model: entering and leaving the result view mode, document updates,
// painting, activation by flags, light and display-option changes, printing and tooltips.
#include <gtest/gtest.h>

#include "module/engines/CPVXCutLineDetDlg.h"
#include "host/base/CGwPrintHandler.h"
#include "host/base/HostDisplayOption.h"
#include "platform/gdi/CRecordDC.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CUiDriver.h"
#include "tests/module/events/EventsTestSupport.h"

namespace evtest {

namespace {

// Renders are seen through the redraw request they consume.
void ArmRenderProbe(I_PVXModel& m) {
    m.m_bRedrawRequested = 1;
    m.m_bInvalidated = 0;
}
bool Rendered(const I_PVXModel& m) { return m.m_bInvalidated == 1 && m.m_bRedrawRequested == 0; }

std::vector<std::string> Lines(const CStringArray& a) {
    std::vector<std::string> v;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) v.push_back(static_cast<LPCTSTR>(a[i]));
    return v;
}

}  // namespace

TEST_F(EventsFixture, ModeChangeShowsEverythingAndCanBeRepeated) {
    I_PVXModel& m = M();
    m_view.GetLightData().m_bShading = 0;
    m_view.GetLightData().m_bSpecular = 1;
    m.PV_OnModeChange();
    const std::vector<UINT> nodes{1, 2, 3, 4, 5};
    const std::vector<UINT> membs{kBeam, kColumn, kShortBeam};
    EXPECT_EQ(Keys(m.m_arrAllNodeKey), nodes);
    EXPECT_EQ(Keys(m.m_arrActiveNodeKey), nodes);
    EXPECT_EQ(Keys(m.m_arrFlagNodeKey), nodes);
    EXPECT_EQ(Keys(m.m_arrAllMembKey), membs);
    EXPECT_EQ(Keys(m.m_arrActiveMembKey), membs);
    EXPECT_EQ(Keys(m.m_arrFlagMembKey), membs);
    EXPECT_EQ(Ints(m.m_arrNodeFlag), std::vector<int>(5, 1));
    EXPECT_EQ(Ints(m.m_arrMembFlag), std::vector<int>(3, 1));
    EXPECT_EQ(m.m_arrNoFlagNodeKey.GetSize(), 0);
    EXPECT_EQ(m.m_arrInactiveNodeKey.GetSize(), 0);
    EXPECT_EQ(m.m_arrNoFlagMembKey.GetSize(), 0);
    EXPECT_EQ(m.m_arrInactiveMembKey.GetSize(), 0);
    EXPECT_EQ(m.m_nObjectIDFirst, I_PVXCtrl::kObjectIDFirst);
    EXPECT_EQ(m.m_nNodeIDFirst, I_PVXCtrl::kNodeIDFirst);
    EXPECT_EQ(m.m_bOriginalRegistered, 1);
    EXPECT_EQ(m.m_pDispOpt->m_bSpecular, 1);
    ASSERT_NE(I_PVXModel::m_pCutLineDetDlg, nullptr);
    CPVXCutLineDetDlg* pDlg = I_PVXModel::m_pCutLineDetDlg;
    const int nObjects = Ctrl()->GetObjectCount();
    EXPECT_EQ(nObjects, 8);  // three members and five nodes, undeformed

    // Entering again: same dialog object, the engines of the last period freed, no object
    // registered twice.
    m.m_pDeformEngine = new CDeformEngine(&m);
    m.PV_OnModeChange();
    EXPECT_EQ(I_PVXModel::m_pCutLineDetDlg, pDlg);
    EXPECT_EQ(m.m_pDeformEngine, nullptr);
    EXPECT_EQ(Ctrl()->GetObjectCount(), nObjects);
    EXPECT_EQ(Keys(m.m_arrAllNodeKey), nodes);
}

TEST_F(EventsFixture, ModeChangeWithoutMembersReadsOnlyGeometryAndOptions) {
    PostDBBuilder b;
    b.AddNode(1, 0, 0, 0);
    CDBDoc doc;
    b.Install(doc);
    CDBDoc::m_pDBDoc = &doc;
    I_PVXModel& m = M();
    m.m_pDispOpt->m_bWireFrame = 7;
    Ctrl()->SetREViewState(0, 1, 0, 1, 0.5, 0);
    m.PV_OnModeChange();
    EXPECT_EQ(m.m_arrAllNodeKey.GetSize(), 0);
    EXPECT_EQ(m.m_arrAllMembKey.GetSize(), 0);
    EXPECT_EQ(m.m_bOriginalRegistered, 1);
    // The control's view state reached the display options.
    EXPECT_EQ(m.m_pDispOpt->m_bWireFrame, 0);
    EXPECT_EQ(m.m_pDispOpt->m_bShrink, 1);
    EXPECT_DOUBLE_EQ(m.m_pDispOpt->m_dShrinkFactor, 0.5);
    m.PV_OnModeReturn();
    CDBDoc::m_pDBDoc = &m_doc;
}

TEST_F(EventsFixture, ModeReturnEndsThePeriod) {
    I_PVXModel& m = M();
    m.PV_OnModeChange();
    m.m_nDisplayMode = 2;
    m.m_nBarDisplayMode = 2;
    m.m_pDeformEngine = new CDeformEngine(&m);
    m.m_pReactionEngine = new CReactionEngine(&m);
    Ctrl()->SetClientWindowMargin(40, 0, 0, 0, 0, 0);
    m.PV_OnModeReturn();
    EXPECT_EQ(m.m_nDisplayMode, -1);
    EXPECT_EQ(m.m_nBarDisplayMode, -1);
    EXPECT_EQ(m.m_pDispOpt->m_Legend.m_bShowLegend, 0);
    EXPECT_EQ(m.m_pDeformEngine, nullptr);
    EXPECT_EQ(m.m_pReactionEngine, nullptr);
    EXPECT_EQ(m.m_arrAllNodeKey.GetSize(), 0);
    EXPECT_EQ(m.m_arrActiveMembKey.GetSize(), 0);
    EXPECT_EQ(m.m_bOriginalRegistered, 0);
    EXPECT_EQ(Ctrl()->GetObjectCount(), 0);
    EXPECT_EQ(Ctrl()->GetClientWindowMargin(0).Width(), 0);
    // The only live model takes the shared dialog with it.
    EXPECT_EQ(I_PVXModel::m_pCutLineDetDlg, nullptr);
}

TEST_F(EventsFixture, ModeReturnKeepsTheDialogOtherViewsUse) {
    I_PVXModel& m = M();
    m.PV_OnModeChange();
    auto other = std::make_unique<I_PVXModel>();
    m.PV_OnModeReturn();
    EXPECT_NE(I_PVXModel::m_pCutLineDetDlg, nullptr);
    other.reset();
    EXPECT_NE(I_PVXModel::m_pCutLineDetDlg, nullptr);  // this model still lives
}

TEST_F(EventsFixture, ActivationByFlagsSplitsTheKeyLists) {
    I_PVXModel& m = M();
    m.PV_OnModeChange();
    struct Row {
        const char* label;
        std::vector<UINT> nodes, membs, nodeFlags, membFlags;
        std::vector<UINT> flagNodes, flagMembs, noFlagNodes, inactiveNodes, noFlagMembs;
        std::vector<int> nodeFlagList;
    } rows[] = {
        {"flags as passed", {1, 2, 3}, {kBeam, kColumn}, {1, 0, 1}, {0, 1},
         {1, 3}, {kColumn}, {2, 4, 5}, {4, 5}, {kBeam, kShortBeam}, {1, 0, 1}},
        {"missing flags count as 1", {1, 2, 3}, {kBeam}, {0}, {},
         {2, 3}, {kBeam}, {1, 4, 5}, {4, 5}, {kColumn, kShortBeam}, {0, 1, 1}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<UINT, UINT> nodes, membs, nf, mf;
        for (UINT k : r.nodes) nodes.Add(k);
        for (UINT k : r.membs) membs.Add(k);
        for (UINT k : r.nodeFlags) nf.Add(k);
        for (UINT k : r.membFlags) mf.Add(k);
        m.PV_OnActiveDeActiveChangeByFlag(nodes, membs, nf, mf);
        EXPECT_EQ(Keys(m.m_arrActiveNodeKey), r.nodes);
        EXPECT_EQ(Keys(m.m_arrActiveMembKey), r.membs);
        EXPECT_EQ(Keys(m.m_arrFlagNodeKey), r.flagNodes);
        EXPECT_EQ(Keys(m.m_arrFlagMembKey), r.flagMembs);
        EXPECT_EQ(Keys(m.m_arrNoFlagNodeKey), r.noFlagNodes);
        EXPECT_EQ(Keys(m.m_arrInactiveNodeKey), r.inactiveNodes);
        EXPECT_EQ(Keys(m.m_arrNoFlagMembKey), r.noFlagMembs);
        EXPECT_EQ(Ints(m.m_arrNodeFlag), r.nodeFlagList);
        // The model's own lists of everything survive the change.
        EXPECT_EQ(m.m_arrAllNodeKey.GetSize(), 5);
        EXPECT_EQ(m.m_arrAllMembKey.GetSize(), 3);
    }
}

TEST_F(EventsFixture, UpdateHintsAndRedrawRequests) {
    I_PVXModel& m = M();
    m.PV_OnModeChange();
    struct Row {
        const char* label;
        LPARAM hint;
        bool render;
    } rows[] = {{"hint 3: no buffer to update", 3, false},
                {"hint 4: bars only", 4, false},
                {"hint 11: options and render", 11, true},
                {"other hint", 99, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ArmRenderProbe(m);
        m.PV_OnUpdate(nullptr, r.hint, nullptr);
        EXPECT_EQ(Rendered(m), r.render);
    }
    EXPECT_EQ(m.UpdateBuffer(nullptr), 0);

    // Redraw requests act in display modes 0 and 3 only.
    for (int mode : {2, 0, 3}) {
        SCOPED_TRACE(mode);
        m.m_nDisplayMode = mode;
        m.m_pReactionEngine = new CReactionEngine(&m);
        m.m_pReactionEngine->m_arrPickedNode.Add(1);
        m.m_pDeformEngine = new CDeformEngine(&m);
        m.m_pDeformEngine->m_arrPickedNode.Add(2);
        m.PV_OnRedraw();
        const bool acts = mode != 2;
        EXPECT_EQ(m.m_pReactionEngine->m_arrPickedNode.GetSize(), acts ? 0 : 1);
        if (acts) {
            EXPECT_EQ(m.m_pReactionEngine->m_arrPickedNode.GetAllocSize(), 0);
        }
        EXPECT_EQ(m.m_pDeformEngine->m_arrPickedNode.GetSize(), acts ? 0 : 1);
        m.ResetEngines();
    }
}

TEST_F(EventsFixture, PaintDrawsTheLegendOutsideMode3Only) {
    I_PVXModel& m = M();
    m.PV_OnModeChange();
    CRecordDC dc;
    dc.Create();
    struct Row {
        const char* label;
        int ready, mode, dynamic, showLegend;
        int rectAfter;
    } rows[] = {
        {"mode 2 with results keeps the legend", 1, 2, 0, 1, 1},
        {"mode 3 never shows a legend", 1, 3, 0, 1, 0},
        {"legend switched off", 1, 2, 0, 0, 0},
        {"no results: nothing done", 0, 3, 0, 1, 1},
        {"dynamic view: nothing done", 1, 3, 1, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        m.m_bResultDataReady = r.ready;
        m.m_nDisplayMode = r.mode;
        m.m_pDispOpt->m_Legend.m_bShowLegend = r.showLegend;
        Ctrl()->SetDynamicViewMode(r.dynamic);
        m.m_LegendEngine.m_bLegendRect = 1;
        m.PV_OnDraw(&dc);
        EXPECT_EQ(m.m_LegendEngine.m_bLegendRect, r.rectAfter);
    }
    Ctrl()->SetDynamicViewMode(0);
}

TEST_F(EventsFixture, LightAndDisplayOptionChanges) {
    I_PVXModel& m = M();
    m.PV_OnModeChange();
    T_LIGHT_D light{};
    light.m_dDiffuse = 0.75;
    light.m_nShininess = 40;
    light.m_bShading = 1;
    light.m_bSpecular = 1;
    ArmRenderProbe(m);
    m.m_bRedrawRequested = 0;
    m.PV_OnShadeOptionChanged(0, reinterpret_cast<LPARAM>(&light));
    EXPECT_DOUBLE_EQ(m_view.GetLightData().m_dDiffuse, 0.75);
    EXPECT_EQ(m_view.GetLightData().m_nShininess, 40);
    EXPECT_EQ(m.m_pDispOpt->m_bShading, 1);
    EXPECT_EQ(m.m_pDispOpt->m_bSpecular, 1);
    EXPECT_TRUE(Rendered(m));
    // No light record: nothing to copy, nothing drawn.
    ArmRenderProbe(m);
    m.PV_OnShadeOptionChanged(0, 0);
    EXPECT_FALSE(Rendered(m));

    Ctrl()->SetGLRenderer(1);
    T_HOST_DISPLAY_OPTION_D host{m.m_pDispOpt->m_nRenderStyle};
    ArmRenderProbe(m);
    m.PV_OnDisplayChanged(&host);
    EXPECT_FALSE(Rendered(m)) << "an unchanged rendering style neither redraws";
    host.m_nRenderStyle = m.m_pDispOpt->m_nRenderStyle + 1;
    ArmRenderProbe(m);
    m.PV_OnDisplayChanged(&host);
    EXPECT_EQ(m.m_pDispOpt->m_nRenderStyle, host.m_nRenderStyle);
    EXPECT_TRUE(Rendered(m));
    m.PV_OnDisplayChanged(nullptr);  // no record: nothing happens
    Ctrl()->SetGLRenderer(0);

    Ctrl()->SetREViewState(1, 0, 0, 1, 0.8, 0);
    m.PV_OnDisplayOptionChangeOnly();
    EXPECT_EQ(m.m_pDispOpt->m_bWireFrame, 1);
    EXPECT_EQ(m.m_pDispOpt->m_bShrink, 1);
    EXPECT_DOUBLE_EQ(m.m_pDispOpt->m_dShrinkFactor, 0.8);
}

TEST(EventsPrintFont, ScreenLegendFontAfterPrinting) {
    struct Row {
        int width, title, value;
    } rows[] = {{1000, 14, 10}, {800, 11, 8}, {1023, 14, 10}, {1024, 20, 14}, {1279, 20, 14}, {1280, 22, 15}, {1920, 22, 15}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.width);
        int t = 0, v = 0;
        I_PVXModel::GetScreenLegendFontSize(r.width, t, v);
        EXPECT_EQ(t, r.title);
        EXPECT_EQ(v, r.value);
    }
}

TEST_F(EventsFixture, PrintingRestoresTheScreenState) {
    I_PVXModel& m = M();
    m.PV_OnModeChange();
    CGwPrintHandler::m_PrintParam = {400, 300};
    CRecordDC dc;
    dc.Create(400, 300);
    for (int mode : {3, 2}) {
        SCOPED_TRACE(mode);
        m.m_nDisplayMode = mode;
        m.m_bResultDataReady = 1;
        m.m_bGradient = 1;
        m.m_pDispOpt->m_Legend.m_bShowLegend = 1;
        // The page takes the background of the print colour set.
        m.PrepareColorSet(1);
        const COLORREF crPrintBack = m.m_pDispOpt->m_Color.m_crBackground;
        m.PrepareColorSet(0);
        const COLORREF crScreenBack = m.m_pDispOpt->m_Color.m_crBackground;
        dc.Clear();
        m.PV_OnDrawForPrinting(&dc);
        EXPECT_EQ(m.m_bGradient, 1);
        EXPECT_EQ(m.m_pDispOpt->m_Legend.m_bShowLegend, 1);
        EXPECT_EQ(m.m_bExternalDevice, 0);
        EXPECT_FALSE(Ctrl()->IsVirtualMode());
        EXPECT_EQ(dc.GetPixel(1, 1), crPrintBack);
        EXPECT_EQ(m.m_pDispOpt->m_Color.m_crBackground, crScreenBack);
    }
    CGwPrintHandler::ResetPrintDC();
}

TEST_F(EventsFixture, RightButtonMenuBySubMenuOfTheMode) {
    I_PVXModel& m = M();
    CUiDriver::Get().Reset();
    m.PV_OnRButtonDown(0, CPoint(10, 10));  // no host menu: nothing shown
    EXPECT_TRUE(CUiDriver::Get().Menus().empty());
    std::vector<UiMenuTemplateItem> items(2);
    items[0].text = "model";
    items[0].popup.push_back({"model item", 901, 0, {}});
    items[1].text = "result";
    items[1].popup.push_back({"result item", 902, 0, {}});
    RegisterMenuTemplate(758, items);
    for (int viewMode : {0, 1}) {
        SCOPED_TRACE(viewMode);
        Ctrl()->SetPVXViewMode(viewMode);
        CUiDriver::Get().Reset();
        m.PV_OnRButtonDown(0, CPoint(10, 10));
        ASSERT_EQ(CUiDriver::Get().Menus().size(), 1u);
        EXPECT_EQ(CUiDriver::Get().Menus()[0].ids, std::vector<UINT>{viewMode ? 902u : 901u});
    }
    UnregisterMenuTemplate(758);
    Ctrl()->SetPVXViewMode(0);
    CUiDriver::Get().Reset();
}

// ---- tooltips -------------------------------------------------------------------------------------

class ToolTipTest : public EventsFixture {
protected:
    void SetUp() override {
        EventsFixture::SetUp();
        M().PV_OnModeChange();
        SelectCase();
        CForceEngine* f = new CForceEngine(&M());
        f->m_bBForcData = 1;
        f->m_nBForcComp = 0;  // axial force
        T_STRG_D beam;
        for (int k = 0; k < 16; ++k)
            for (int c = 0; c < 6; ++c) beam.d[6 * k + c] = k + 100.0 * c;
        f->m_mapBForc[kBeam] = beam;
        T_MBCL_D col;
        for (int b = 0; b < 4; ++b)
            for (int c = 0; c < 6; ++c) col.d[b][c] = 10.0 * (b + 1) + c;
        f->m_mapCForc[kColumn] = col;
        M().m_pForceEngine = f;
    }
    std::vector<std::string> Tip(int mode, UINT node, UINT memb) {
        M().m_nDisplayMode = mode;
        CStringArray lines;
        M().PV_OnToolTip(node, memb, lines);
        return Lines(lines);
    }
};

TEST_F(ToolTipTest, FrameForces) {
    const std::vector<std::string> beam{"Load : LC1", "Memb:5", "Type: BEAM, Length:8", "Force: Axial",
                                        " I  :0", "1/8 :2", "1/4 :4", "3/8 :6", "1/2 :8", "5/8 :10",
                                        "3/4 :12", "7/8 :14", " J  :15"};
    EXPECT_EQ(Tip(6, 0, kBeam), beam);
    M().m_pForceEngine->m_nBForcComp = 4;
    EXPECT_EQ(Tip(7, 0, kBeam)[3], "Force: Moment-y");
    EXPECT_EQ(Tip(7, 0, kBeam)[4], " I  :400");
    // Column blocks: I (0), ST (2, present), ED (3, absent here), J (1).
    M().m_pForceEngine->m_nBForcComp = 1;
    const std::vector<std::string> col{"Load : LC1", "Memb:7", "Type: COLUMN, Length:3", "Force: Shear-y",
                                       " I  :11", " ST :31", " J  :21"};
    EXPECT_EQ(Tip(21, 0, kColumn), col);

    struct Row {
        const char* label;
        int comp;
        UINT memb;
        bool ready;
    } empty[] = {{"component 6", 6, kBeam, true},      {"component 7 column", 7, kColumn, true},
                 {"member key 0", 0, 0, true},          {"member without forces", 0, kShortBeam, true},
                 {"results not ready", 0, kBeam, false}};
    for (const Row& r : empty) {
        SCOPED_TRACE(r.label);
        M().m_pForceEngine->m_nBForcComp = r.comp;
        M().m_bResultDataReady = r.ready ? 1 : 0;
        EXPECT_TRUE(Tip(6, 0, r.memb).empty());
        M().m_bResultDataReady = 1;
    }
    M().m_pForceEngine->m_nBForcComp = 0;
    M().m_pForceEngine->m_bBForcData = 0;
    EXPECT_TRUE(Tip(6, 0, kBeam).empty()) << "frame data not built";
}

TEST_F(ToolTipTest, ReactionsDisplacementsAndLoadLines) {
    const std::vector<std::string> reac{"Load : LC1", "Node:1", "Coordinates : X=0, Y=0, Z=0", "Reaction:",
                                        "FX:10", "FY:20", "FZ:30", "MX:1.5", "MY:2.5", "MZ:3.5"};
    EXPECT_EQ(Tip(0, 1, 0), reac);
    EXPECT_TRUE(Tip(0, 0, kBeam).empty());

    EXPECT_TRUE(Tip(2, 2, 0).empty()) << "no deformation engine";
    AddDeformEngine(3);
    const std::vector<std::string> disp{"Load : LC1", "Node:2", "Coordinates : X=4, Y=0, Z=0", "Displacement:",
                                        "DX:1", "DY:2", "DZ:3", "RX:0.1", "RY:0.2", "RZ:0.3"};
    EXPECT_EQ(Tip(2, 2, 0), disp);
    EXPECT_TRUE(Tip(2, 0, 0).empty());
    EXPECT_TRUE(Tip(2, 99, 0).empty()) << "unknown node";
    EXPECT_TRUE(Tip(5, 1, kBeam).empty()) << "only the load line";

    struct Row {
        int step;
        const char* line;
    } steps[] = {{1, "Load : LC1,Max"}, {2, "Load : LC1,Min"}, {3, "Load : LC1,All"}};
    for (const Row& r : steps) {
        SCOPED_TRACE(r.step);
        M().m_nLoadStep = r.step;
        const auto tip = Tip(0, 1, 0);
        ASSERT_FALSE(tip.empty());
        EXPECT_EQ(tip[0], r.line);
    }
    M().m_nLoadStep = 0;

    // A load the host does not have leaves the lines as passed; so does no load selection.
    CStringArray lines;
    lines.Add("kept");
    M().m_nLoadKey = 999;
    M().m_nDisplayMode = 0;
    M().PV_OnToolTip(1, 0, lines);
    EXPECT_EQ(Lines(lines), std::vector<std::string>{"kept"});
    // Mode shapes (the bars show display mode 4, page 7203) select the mode, not a load.
    M().m_nBarDisplayMode = 4;
    lines.RemoveAll();
    M().PV_OnToolTip(1, 0, lines);
    EXPECT_EQ(lines.GetSize(), 10);
    M().m_nBarDisplayMode = -1;
    lines.RemoveAll();
    lines.Add("kept");
    M().m_nLoadKey = kCase;
    M().m_bLoadSelected = 0;
    M().PV_OnToolTip(1, 0, lines);
    EXPECT_EQ(Lines(lines), std::vector<std::string>{"kept"});
}

TEST_F(EventsFixture, ForwardersPickingTreeAndPrintBrackets) {
    I_PVXModel& m = M();
    m.PV_OnModeChange();
    EXPECT_EQ(Ctrl()->QTreeGetCount(), 8);
    m.PV_OnRebuildQTree();
    EXPECT_EQ(Ctrl()->QTreeGetCount(), 8) << "the tree is cleared before it is rebuilt";

    m.PV_OnUnitChange();
    EXPECT_TRUE(Ctrl()->XGL_IsRedrawPreView());
    struct Row {
        const char* label;
        void (I_PVXModel::*event)();
    } renders[] = {{"display option change", &I_PVXModel::PV_OnDisplayOptionChange},
                   {"view point change", &I_PVXModel::PV_OnViewPointChange},
                   {"draw all to the memory image", &I_PVXModel::PV_DrawAllToMemDC},
                   {"redraw only", &I_PVXModel::PV_OnRedrawOnly}};
    for (const Row& r : renders) {
        SCOPED_TRACE(r.label);
        ArmRenderProbe(m);
        (m.*r.event)();
        EXPECT_TRUE(Rendered(m));
    }
    EXPECT_TRUE(m.PV_OnDynViewPreDraw(nullptr));

    // Preview goes to the framework's handler; printing proper needs the result view.
    CPrintInfo info;
    info.m_bPreview = TRUE;
    EXPECT_TRUE(m.PV_OnPreparePrinting(&info));
    EXPECT_EQ(info.GetMaxPage(), 1u);
    info.m_bPreview = FALSE;
    EXPECT_FALSE(m.PV_OnPreparePrinting(&info));
    EXPECT_FALSE(m.PV_OnPreparePrinting(nullptr));

    CRecordDC dc;
    dc.Create(320, 200);
    info.m_rectDraw = CRect(0, 0, 640, 480);
    m.PV_OnBeginPrinting(&dc, &info);
    m.PV_OnPrint(&dc, &info);
    EXPECT_EQ(CGwPrintHandler::m_PrintParam.m_nWidth, 640);
    EXPECT_EQ(CGwPrintHandler::m_PrintParam.m_nHeight, 480);
    info.m_rectDraw = CRect(0, 0, 0, 0);
    m.PV_OnPrint(&dc, &info);
    EXPECT_EQ(CGwPrintHandler::m_PrintParam.m_nWidth, 320) << "the device's own size without a print area";
    m.PV_OnEndPrinting(&dc, &info);
    EXPECT_EQ(CGwPrintHandler::m_PrintParam.m_nWidth, 0);
}

}  // namespace evtest
