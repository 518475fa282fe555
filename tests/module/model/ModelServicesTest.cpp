// The model's small services: result kind of the display, picking trees, legend margin, number
// fonts, projections, timing, list freeing, and the neighbour state the model relies on.

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "module/animation/CAniCtrlBar.h"
#include "module/contour/CContourEngine.h"
#include "module/figures/CPVXFigure.h"
#include "module/graphs/CPVXMultiGraphView.h"
#include "host/grx/I_PVXCtrl.h"
#include "platform/ui/CUiDriver.h"
#include "module/engines/EngineCallLog.h"
#include "tests/module/model/ModelTestSupport.h"

class TestGraphView2 : public CPVXMultiGraphView {};

TEST_F(ModelTest, GetPVXTypeTellsWhetherTheDisplayIsOnTheDeformedShape) {
    struct Row {
        int mode;
        int deform;        // -1 no deformation engine, else its deformed-contour flag
        int force;         // -1 no force engine, else its deformed-contour flag
        int modeContour;   // mode-shape contour switch
        int barOpt;        // display option set by the bars
        int expected;
    };
    const Row rows[] = {
        {-1, 1, 1, 0, 0, 0},  {0, 1, 1, 0, 0, 0},   {70, 1, 1, 0, 0, 0},  {64, 1, 1, 0, 0, 0},
        {1, 1, -1, 0, 0, 1},  {1, 1, -1, 0, 3, -1}, {1, 0, -1, 0, 0, 0},  {1, -1, 1, 0, 0, 0},
        {2, 1, -1, 0, 0, 1},  {63, 1, -1, 0, 0, 1}, {19, 1, -1, 0, 0, 1}, {19, 0, -1, 0, 0, 0},
        {4, 0, -1, 0, 0, 1},  {4, 0, -1, 1, 0, 0},  {4, 1, -1, 1, 0, 1},  {4, -1, -1, 0, 0, 0},
        {57, 0, -1, 0, 2, -1},
        {6, -1, -1, 0, 0, 0}, {6, 1, 0, 0, 0, 0},   {6, -1, 1, 0, 0, 1},  {41, -1, 1, 0, 1, -1},
        {21, 1, 1, 0, 0, 1},  {32, -1, 1, 0, 0, 1}, {10, 1, 1, 0, 0, 0},  {11, 1, 1, 0, 0, 0},
        {3, 1, 1, 0, 0, 0},   {5, 1, 1, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << r.mode << " deform " << r.deform << " force " << r.force
                                        << " contour " << r.modeContour << " option " << r.barOpt);
        auto m = MakeLinkedModel();
        m->m_nDisplayMode = r.mode;
        if (r.deform >= 0) {
            m->m_pDeformEngine = new CDeformEngine(m.get());
            m->m_pDeformEngine->m_bDeformed = r.deform;
        }
        if (r.force >= 0) {
            m->m_pForceEngine = new CForceEngine(m.get());
            m->m_pForceEngine->m_bDeformed = r.force;
        }
        m->m_bModeShapeContour = r.modeContour;
        m->m_pDispOpt->m_nBarResultOpt = r.barOpt;
        EXPECT_EQ(m->GetPVXType(), r.expected);

        // The selection types follow: the deformed ids (minimum + 1) for types 1 and -1.
        int nNode = 0, nObj = 0;
        EXPECT_EQ(m->RE_GetNode_ElemTypeByCDBDocSelection(nNode, nObj), 1);
        const int shift = r.expected != 0 ? 1 : 0;
        EXPECT_EQ(nNode, I_PVXCtrl::kNodeIDFirst + shift);
        EXPECT_EQ(nObj, I_PVXCtrl::kObjectIDFirst + shift);
    }
}

TEST_F(ModelTest, PickingTreeRebuildsClearTheControlsTree) {
    auto m = MakeLinkedModel();
    // Without a control nothing happens and nothing crashes.
    I_PVXModel unlinked;
    unlinked.RebuildQTree();
    unlinked.RebuildQuadTree();
    unlinked.UnselectAllObjectForModeChange();

    GRE_Atom atom(I_PVXCtrl::kObjectIDFirst, 42);
    Ctrl()->QTreeAdd(atom);
    m->RebuildQTree();
    EXPECT_EQ(Ctrl()->QTreeGetCount(), 0);
    Ctrl()->QTreeAdd(atom);
    m->RebuildQuadTree();
    EXPECT_EQ(Ctrl()->QTreeGetCount(), 0);
    Ctrl()->QTreeAdd(atom);
    m->PV_OnRebuildQTree();
    EXPECT_EQ(Ctrl()->QTreeGetCount(), 0);

    // Mode change on the undeformed display: the deformed geometry is re-registered and the
    // control's selection cleared.
    Ctrl()->AddObject(I_PVXCtrl::kObjectIDFirst, 1, 1);
    Ctrl()->SelectObject(I_PVXCtrl::kObjectIDFirst, 1, 1);
    ASSERT_TRUE(Ctrl()->FindObject(I_PVXCtrl::kObjectIDFirst, 1)->selected);
    m->m_bDeformedRegistered = 0;
    m->UnselectAllObjectForModeChange();
    EXPECT_EQ(m->m_bDeformedRegistered, 1);
    EXPECT_FALSE(Ctrl()->FindObject(I_PVXCtrl::kObjectIDFirst, 1)->selected);
}

TEST_F(ModelTest, DiagramModesAreWireFrameOnly) {
    const std::vector<int> wire = {7, 9, 21, 22, 30, 31, 33, 35, 36, 38, 39, 41};
    for (int mode = -1; mode <= 70; ++mode) {
        const int expected = std::find(wire.begin(), wire.end(), mode) != wire.end() ? 1 : 0;
        EXPECT_EQ(I_PVXModel::IsModeOnlyWireFrame(mode), expected) << "mode " << mode;
        I_PVXModel m;
        m.m_nDisplayMode = mode;
        EXPECT_EQ(m.IsModeOnlyWireFrame(), expected) << "mode " << mode;
    }
}

TEST_F(ModelTest, ResetLegendRectReservesTheLegendSideOnlyWithResults) {
    struct Row {
        const char* label;
        int showLegend, ready, side, unit;
        int left, right;  // expected margin widths in pixels
    };
    const Row rows[] = {
        {"left panel", 1, 1, 0, 9, 180, 0},
        {"right panel", 1, 1, 1, 9, 0, 180},
        {"right panel, narrow font", 1, 1, 1, 6, 0, 120},
        {"legend hidden", 0, 1, 1, 9, 0, 0},
        {"no results", 1, 0, 0, 9, 0, 0},
        {"other side", 1, 1, 2, 9, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        auto m = MakeLinkedModel();
        Ctrl()->SetClientWindowMargin(33, 0, 33, 0, 0, 0);  // stale margins must go
        m->m_pDispOpt->m_Legend.m_bShowLegend = r.showLegend;
        m->m_bResultDataReady = r.ready;
        m->m_LegendEngine.m_nPanelPlacement = r.side;
        m->m_LegendEngine.m_nTitleCharWidth = r.unit;
        m->ResetLegendRect();
        EXPECT_EQ(Ctrl()->GetClientWindowMargin(0).Width(), r.left);
        EXPECT_EQ(Ctrl()->GetClientWindowMargin(1).Width(), r.right);
        EXPECT_EQ(Ctrl()->GetClientWindowMargin(2).Height(), 0);
        EXPECT_EQ(Ctrl()->GetClientWindowMargin(3).Height(), 0);
    }
}

TEST_F(ModelTest, NumberFontOrientationTakesTheFixedAngleWhenSet) {
    struct Row {
        int fixed, fixedAngle, arg, expected;
    };
    const Row rows[] = {{0, 450, 900, 900}, {1, 450, 900, 450}, {0, 0, 0, 0}, {1, 0, 1350, 0}, {0, 150, -300, -300}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "fixed " << r.fixed << " angle " << r.fixedAngle << " arg " << r.arg);
        I_PVXModel m;
        T_PVX_DOPT_NUMBER_D& n = m.m_pDispOpt->m_Number;
        n.m_bFixedNumberAngle = r.fixed;
        n.m_nNumberAngle = r.fixedAngle;
        n.m_lfNodeNumber.lfEscapement = n.m_lfNodeNumber.lfOrientation = 77;
        m.SetNumberFontOrientation(r.arg);
        EXPECT_EQ(n.m_lfNumber.lfEscapement, r.expected);
        EXPECT_EQ(n.m_lfNumber.lfOrientation, r.expected);
        EXPECT_EQ(n.m_lfNodeNumber.lfEscapement, 77) << "the node font is separate";
        m.SetNumberFontNodeOrientation(r.arg);
        EXPECT_EQ(n.m_lfNodeNumber.lfEscapement, r.expected);
        EXPECT_EQ(n.m_lfNodeNumber.lfOrientation, r.expected);
    }
}

TEST_F(ModelTest, ProjectionFollowsTheExternalDeviceSwitch) {
    auto m = MakeLinkedModel();
    C3DPoint p(3.0, 2.0, 1.0);
    EXPECT_EQ(I_PVXModel().Get3DPtTo2DPt(&p), CPoint(0, 0)) << "no control: origin";
    // In virtual mode the window transform maps into the page, so the two projections differ.
    Ctrl()->StartVirtualMode(2400, 1800);
    const CPoint mem = Ctrl()->GetWorldToMemDCP2D(p);
    const CPoint win = Ctrl()->GetWorldToWindowP2D(p);
    ASSERT_NE(mem, win);
    m->m_bExternalDevice = 0;
    EXPECT_EQ(m->Get3DPtTo2DPt(&p), mem);
    m->m_bExternalDevice = 1;
    EXPECT_EQ(m->Get3DPtTo2DPt(&p), win);
    Ctrl()->EndVirtualMode();
}

TEST_F(ModelTest, WatchEscKeyPressReportsTheControlsEscapeLatch) {
    auto m = MakeLinkedModel();
    CUiDriver::Get().Reset();
    Ctrl()->ResetEscKeyPress();
    EXPECT_EQ(m->WatchEscKeyPress(), 0);
    CUiDriver::Get().PressEscapeAfterPolls(1);
    EXPECT_EQ(m->WatchEscKeyPress(), 0);
    EXPECT_NE(m->WatchEscKeyPress(), 0);
    EXPECT_NE(m->WatchEscKeyPress(), 0) << "latched until the next draw";
    CUiDriver::Get().Reset();
    Ctrl()->ResetEscKeyPress();
    EXPECT_EQ(I_PVXModel().WatchEscKeyPress(), 0) << "no control: never stopped";
}

TEST_F(ModelTest, ElapsedTimeIsWallClockSecondsSinceTheLastSave) {
    I_PVXModel m;
    m.SaveCurrentTime();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    const double t1 = m.GetElapsedTime();
    EXPECT_GE(t1, 0.055);
    EXPECT_LT(t1, 5.0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double t2 = m.GetElapsedTime();
    EXPECT_GE(t2, t1 + 0.015) << "measured from the save, not from the last reading";
    m.SaveCurrentTime();
    EXPECT_LT(m.GetElapsedTime(), t1);
}

TEST_F(ModelTest, FreeMemoryPolyListDeletesEveryOwnedListAndEmptiesTheArrays) {
    // Any list left behind is reported by the leak checker at exit.
    PVXPolyListArray polys;
    PVXIndexArrayList indexes;
    PVXKeyArrayList keys, more;
    for (int f = 0; f < 3; ++f) {
        auto* pl = new PVXPolyList;
        pl->AddTail(C3DPoint(f, 0, 0));
        pl->AddTail(C3DPoint(f, 1, 0));
        polys.Add(pl);
        auto* pi = new CArray<int>;
        pi->Add(1);
        indexes.Add(pi);
        auto* pk = new CArray<UINT>;
        pk->Add(static_cast<UINT>(f + 1));
        keys.Add(pk);
        more.Add(new CArray<UINT>);
    }
    polys.Add(nullptr);  // a face the builder left out
    I_PVXModel::FreeMemoryPolyList(&polys, &indexes, &keys, &more);
    EXPECT_EQ(polys.GetSize(), 0);
    EXPECT_EQ(indexes.GetSize(), 0);
    EXPECT_EQ(keys.GetSize(), 0);
    EXPECT_EQ(more.GetSize(), 0);
    EXPECT_EQ(more.GetData(), nullptr) << "the fourth array's storage is freed";

    // The engines' entry forwards; null arguments are skipped.
    auto* pl = new PVXPolyList;
    pl->AddTail(C3DPoint());
    polys.Add(pl);
    CEngineBase::FreeMemoryPolyList(&polys, nullptr, nullptr, nullptr);
    EXPECT_EQ(polys.GetSize(), 0);
    I_PVXModel::FreeMemoryPolyList(nullptr, nullptr, nullptr, nullptr);
}

TEST_F(ModelTest, PolyListHolderFreesOnEveryWayOut) {
    PVXPolyListArray polys;
    {
        CPolyListHolder holder(&polys);
        for (int i = 0; i < 4; ++i) polys.Add(new PVXPolyList);
    }  // destructor frees
    EXPECT_EQ(polys.GetSize(), 0);
    EXPECT_EQ(polys.GetData(), nullptr);

    CPolyListHolder holder(&polys);
    polys.Add(new PVXPolyList);
    holder.Free();
    EXPECT_EQ(holder.GetList(), nullptr);
    EXPECT_EQ(polys.GetSize(), 0);
    polys.Add(new PVXPolyList);  // no longer held: Free again must leave it alone
    holder.Free();
    EXPECT_EQ(polys.GetSize(), 1);
    CPolyListHolder().Free();  // nothing held
    I_PVXModel::FreeMemoryPolyList(&polys, nullptr, nullptr, nullptr);
}

TEST_F(ModelTest, SetLoadCaseInfoToPostDisplayStoresTypeAndKey) {
    I_PVXModel m;
    I_PVXModelBase* base = &m;
    base->SetLoadCaseInfoToPostDisplay(12, kCombEnvelope);
    EXPECT_EQ(m.m_nLoadType, 12u);
    EXPECT_EQ(m.m_nLoadKey, static_cast<UINT>(kCombEnvelope));
}

TEST_F(ModelTest, EnginesInitialiseForTheirModesAndImportCopies) {
    I_PVXModel m;
    // Mode -1 takes the bars' mode; without a load selection nothing is built.
    CPVXBarContainerBase::m_nCurrentMode = 11;
    m.m_bLoadSelected = 0;
    CDeformEngine d(&m);
    EXPECT_EQ(d.InitEngine(), 0);
    CReactionEngine re(&m);
    EXPECT_EQ(re.InitEngine(nullptr, -1), 0);

    // Import copies settings and gives the copy its own colour scale.
    CReactionEngine src(&m);
    src.m_nComponent = 6;
    src.m_bDeformed = 1;
    src.m_dLegendMax = 12.5;
    src.m_bGradient = 1;
    src.m_pContourEngine = new CContourEngine(-3.0, 9.0);
    src.m_arrElemKey.Add(8);
    CReactionEngine dst(&m);
    dst.ImportEngine(&src);
    EXPECT_EQ(dst.m_nComponent, 6);
    EXPECT_EQ(dst.GetDeformedCntr(), 1);
    EXPECT_DOUBLE_EQ(dst.m_dLegendMax, 12.5);
    EXPECT_EQ(dst.m_bGradient, 1) << "the gradient fill switch goes with the settings";
    ASSERT_NE(dst.m_pContourEngine, nullptr);
    EXPECT_NE(dst.m_pContourEngine, src.m_pContourEngine);
    EXPECT_EQ(dst.m_arrElemKey.GetSize(), 1);
    delete src.m_pContourEngine;  // the copy must not share it
    src.m_pContourEngine = nullptr;
    dst.ImportEngine(&src);
    EXPECT_NE(dst.m_pContourEngine, nullptr) << "a source without a scale leaves the copy its own";
}

TEST_F(ModelTest, ForceEngineMapsAnswerOnlyForMembersWithRecords) {
    I_PVXModel m;
    CForceEngine src(&m);
    T_STRG_D beam;
    beam.Initialize();
    for (int i = 0; i < 96; ++i) beam.d[i] = i * 0.5;
    T_MBCL_D colm;
    colm.Initialize();
    colm.d[3][5] = -7.25;  // moment z at end J
    src.m_mapBForc.SetAt(11, beam);
    src.m_mapCForc.SetAt(21, colm);
    src.m_dSlabMomMaxPos = 3.5;
    src.m_dSlabMomMaxNeg = -4.5;
    src.m_dSlabRbarMaxTop = 12.0;
    src.m_dSlabRbarMaxBot = 9.0;
    src.m_dSlabCracMax = 0.2;

    CForceEngine dst(&m);
    dst.m_mapBForc.SetAt(99, beam);  // stale record of an earlier build
    dst.ImportEngine(&src);
    struct Row {
        UINT key;
        BOOL beam, colm;
    } const rows[] = {{11, TRUE, FALSE}, {21, FALSE, TRUE}, {99, FALSE, FALSE}, {0, FALSE, FALSE}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "member " << r.key);
        T_STRG_D b;
        T_MBCL_D c;
        EXPECT_EQ(dst.GetBeamForce(r.key, b), r.beam);
        EXPECT_EQ(dst.GetColmForce(r.key, c), r.colm);
        if (r.beam) {
            EXPECT_DOUBLE_EQ(b.d[95], 47.5) << "the last station's moment z";
        }
        if (r.colm) {
            EXPECT_DOUBLE_EQ(c.d[3][5], -7.25);
        }
    }
    EXPECT_DOUBLE_EQ(dst.m_dSlabMomMaxPos, 3.5);
    EXPECT_DOUBLE_EQ(dst.m_dSlabMomMaxNeg, -4.5);
    EXPECT_DOUBLE_EQ(dst.m_dSlabRbarMaxTop, 12.0);
    EXPECT_DOUBLE_EQ(dst.m_dSlabRbarMaxBot, 9.0);
    EXPECT_DOUBLE_EQ(dst.m_dSlabCracMax, 0.2);
    src.m_mapBForc.RemoveAll();
    T_STRG_D b;
    EXPECT_TRUE(dst.GetBeamForce(11, b)) << "the copy is the engine's own";
}

TEST_F(ModelTest, ASelectedLoadAloneIsNoBuiltData) {
    // Every row's load reaches the host; no engine has read results for it, so each reports its
    // data as not built and clears what an earlier build left (the deformation engine aside).
    struct Row {
        const char* label;
        UINT type, key;
        int mode;
    };
    const Row rows[] = {
        {"member forces, static case", 1, kCaseDead, 6},  {"wall forces, static case", 1, kCaseDead, 8},
        {"plate forces, combination", 10, kCombLinear, 10}, {"slab strips, envelope", 12, kCombEnvelope, 21},
        {"story shear, static case", 1, kCaseDead, 5},
        {"reactions, static case", 1, kCaseDead, 0},       {"displacements, static case", 1, kCaseDead, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        I_PVXModel m;
        m.m_bLoadSelected = 1;
        m.m_nLoadType = r.type;
        m.m_nLoadKey = r.key;
        CForceEngine f(&m);
        f.m_bBForcData = f.m_bWForcData = f.m_bPForcData = f.m_bCLForcData = f.m_bSSFRData = 1;  // stale
        CStressEngine s(&m);
        s.m_bDataReady = 1;
        CReactionEngine re(&m);
        re.m_bDataReady = 1;
        CDeformEngine d(&m);
        d.m_bDataReady = 1;
        EXPECT_EQ(f.InitEngine(nullptr, r.mode), 0);
        ASSERT_EQ(m.m_bResultDataReady, 1) << "the load itself is selectable";
        EXPECT_EQ(s.InitEngine(nullptr, r.mode), 0);
        EXPECT_EQ(re.InitEngine(nullptr, r.mode), 0);
        // The deformation engine lists the model's nodes, whether or not they have records: a
        // model without nodes gives an empty list at rest (legend 0 to 0).
        EXPECT_EQ(d.InitEngine(), 1);
        EXPECT_EQ(d.m_arrNodeKey.GetSize(), 0);
        EXPECT_EQ(d.m_dLegendMax, 0.0);
        EXPECT_EQ(d.m_dLegendMin, 0.0);
        EXPECT_EQ(m.m_bResultDataReady, 1);
        EXPECT_EQ(f.m_bBForcData + f.m_bWForcData + f.m_bPForcData + f.m_bCLForcData + f.m_bSSFRData, 0);
        EXPECT_EQ(s.m_bDataReady + re.m_bDataReady, 0);
        const int* flag = f.DataFlagOfMode(r.mode);
        EXPECT_EQ(flag == nullptr, r.mode == 0 || r.mode == 2) << "force families serve modes 5 to 39";
    }
    // The stress engine reads the plate records of the model's members: a model without plate
    // members is a complete build with nothing in it (range 0 to 0), not a missing one.
    I_PVXModel m;
    m.m_bLoadSelected = 1;
    m.m_nLoadType = 1;
    m.m_nLoadKey = kCaseDead;
    CStressEngine s(&m);
    EXPECT_EQ(s.InitEngine(nullptr, 11), 1);
    EXPECT_EQ(s.m_mapPStrs.GetCount(), 0);
    EXPECT_EQ(s.m_dLegendMax, 0.0);
    m.m_bLoadSelected = 0;  // no load: nothing to read, and the earlier build is gone
    EXPECT_EQ(s.InitEngine(nullptr, 11), 0);
    EXPECT_EQ(s.m_bDataReady, 0);
}

TEST_F(ModelTest, TimeHistoryVelocityAndAccelerationNeedATimeHistoryLoad) {
    struct Row {
        UINT loadType;
        int kind;
        int expected;
    } const rows[] = {
        {5, 1, 1}, {5, 2, 1}, {5, 3, 1}, {5, 0, 0}, {5, 4, 0}, {1, 2, 0}, {12, 3, 0}, {4, 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "load type " << r.loadType << ", kind " << r.kind);
        I_PVXModel m;
        m.m_nLoadType = r.loadType;
        CDeformEngine d(&m);
        d.m_nTHKind = r.kind;
        EXPECT_EQ(d.IsTimeHistVelAcc(), r.expected);
    }
    CDeformEngine orphan(nullptr);
    orphan.m_nTHKind = 2;
    EXPECT_EQ(orphan.IsTimeHistVelAcc(), 0) << "no model, no load";
}

TEST_F(ModelTest, NeighbourLifetimesKeepSharedPointersValid) {
    {
        CPVXBarContainerBase bar(10526u);
        EXPECT_EQ(CPVXBarContainerBase::m_bIsPVXBarAlive, 1);
        EXPECT_EQ(CPVXBarContainerBase::m_bRemove, 0);
        CPVXBarContainerBase::m_pMyself = &bar;
        I_PVXModel m;
        CPVXBarContainerBase::m_pDeformEngine = new CDeformEngine(&m);
        CPVXBarContainerBase::m_pCurrentEngine = new CForceEngine(&m);
    }
    EXPECT_EQ(CPVXBarContainerBase::m_bIsPVXBarAlive, 0);
    EXPECT_EQ(CPVXBarContainerBase::m_bRemove, 1);
    EXPECT_EQ(CPVXBarContainerBase::m_pMyself, nullptr);
    EXPECT_EQ(CPVXBarContainerBase::m_pDeformEngine, nullptr);
    EXPECT_EQ(CPVXBarContainerBase::m_pCurrentEngine, nullptr);
    // A container made from a named template is alive just the same.
    {
        CPVXBarContainerBase named("IDD_PVX_BAR");
        EXPECT_EQ(CPVXBarContainerBase::m_bIsPVXBarAlive, 1);
        EXPECT_EQ(CPVXBarContainerBase::m_bRemove, 0);
    }
    EXPECT_EQ(CPVXBarContainerBase::m_bIsPVXBarAlive, 0);
    EXPECT_EQ(CPVXBarContainerBase::m_bRemove, 1);

    auto* pFirst = new CPVXFigure;
    auto* pSecond = new CPVXFigure;
    EXPECT_EQ(CPVXFigure::m_pMyself, pSecond);
    delete pFirst;  // not the current one: left alone
    EXPECT_EQ(CPVXFigure::m_pMyself, pSecond);
    delete pSecond;
    EXPECT_EQ(CPVXFigure::m_pMyself, nullptr);
}

TEST_F(ModelTest, LeavingAnimationModeClearsThePlaybackStateAndTheLegendMargin) {
    auto m = MakeLinkedModel();
    CAnimationEngine& a = m->m_AnimationEngine;
    a.EnterAnimationMode();
    EXPECT_EQ(a.m_bAnimationMode, 1);
    const std::string film = a.m_strFinalPath.GetString();
    ASSERT_FALSE(film.empty()) << "a film name is reserved";
    m->m_bAnimation = 1;
    a.m_bRecorded = 1;
    a.m_nPlayState = CAnimationEngine::PLAY_NORMAL;

    a.StopAnimation();
    EXPECT_EQ(m->m_bAnimation, 0);
    EXPECT_EQ(a.m_bTimer0 | a.m_bTimer1 | a.m_bRecorded, 0);
    EXPECT_EQ(a.m_bAnimationMode, 1) << "stopping keeps animation mode";

    const std::string tempAvi = std::string(PVX_TEST_TMPDIR) + "/model_anim_temp.avi";
    FILE* f = std::fopen(tempAvi.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("RIFF", f);
    std::fclose(f);
    a.m_strTempPath = tempAvi.c_str();
    m->m_bResultDataReady = 0;
    Ctrl()->SetClientWindowMargin(0, 0, 50, 0, 0, 0);
    a.ExitAnimationMode();
    EXPECT_EQ(a.m_bAnimationMode, 0);
    EXPECT_EQ(Ctrl()->GetClientWindowMargin(1).Width(), 0) << "the legend margin is reset";
    EXPECT_EQ(std::fopen(tempAvi.c_str(), "rb"), nullptr) << "the temporary film is deleted";
    EXPECT_EQ(std::fopen(film.c_str(), "rb"), nullptr) << "the reserved film is deleted";
    EXPECT_TRUE(a.m_strFinalPath.IsEmpty());
}

TEST_F(ModelTest, GraphViewKeepsItsOwnCopiesAndTextHeightFollowsTheCurrentView) {
    TestGraphView2 view;
    PVXGraphSeriesMap map;
    EXPECT_TRUE(view.SetLeftGraphData(map, "t", "x", "z"));
    EXPECT_FALSE(view.GetLeftGraph().HasData()) << "no series";
    auto* pSeries = new PVXGraphSeries;
    T_GRPH_D pt{0.5, 3.0};
    pSeries->Add(pt);
    map.SetAt(1, pSeries);
    EXPECT_TRUE(view.SetRightGraphData(map, "Mode 1", "Story", ""));
    pSeries->GetAt(0).x = 9.0;  // the caller's data change after the copy
    delete pSeries;
    map.RemoveAll();
    PVXGraphSeries* pCopy = nullptr;
    ASSERT_TRUE(view.GetRightGraph().GetSeries().Lookup(1, pCopy));
    EXPECT_DOUBLE_EQ(pCopy->GetAt(0).x, 0.5);
    EXPECT_EQ(view.GetRightGraph().GetTitle(), CString("Mode 1"));
    EXPECT_TRUE(view.GetLeftGraph().GetSeries().IsEmpty());

    ASSERT_EQ(I_PVXModel::GetPVXModelPoint(), nullptr);
    EXPECT_EQ(GetCurViewTextHeight(12), 12) << "no current model";
    auto m = MakeLinkedModel();
    m_view.SetTextDisplayScale(2.0);
    EXPECT_EQ(GetCurViewTextHeight(12), m_view.GetTextDisplayHeight(12));
    EXPECT_EQ(GetCurViewTextHeight(12), 24);
}
