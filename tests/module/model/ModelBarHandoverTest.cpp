// The hand-over of results from the docked bars to the model, the load selection and the
// mapping between bar display modes and bar result ids.

#include "host/grx/I_PVXCtrl.h"
#include "tests/module/model/ModelTestSupport.h"

namespace {

enum EngineKind { NONE, REACTION, FORCE, STRESS };

// A bar container alive on the model's view, with the given editing engines.
struct BarSetup {
    CPVXBarContainerBase bar{10526u};
    BarSetup(I_PVXModel& m, CView* pView, int nMode, EngineKind editing, int bRebuildMBR) {
        bar.m_pView = pView;
        bar.m_bRebuildMBR = bRebuildMBR;
        CPVXBarContainerBase::m_pMyself = &bar;
        CPVXBarContainerBase::m_nCurrentMode = nMode;
        auto* pDeform = new CDeformEngine(&m);
        pDeform->m_nComponent = 7;
        pDeform->m_dSlabDeflMax = 0.75;
        CPVXBarContainerBase::m_pDeformEngine = pDeform;
        switch (editing) {
        case REACTION: {
            auto* e = new CReactionEngine(&m);
            e->m_nComponent = 5;
            // The reaction pages' Prepare members set the data kind of their page.
            e->m_nDataKind = nMode == 70 ? CReactionEngine::KIND_CONTOUR : CReactionEngine::KIND_REACTION;
            e->m_nMembKind = CReactionEngine::MEMB_BEAM;
            CPVXBarContainerBase::m_pCurrentEngine = e;
            break;
        }
        case FORCE: {
            auto* e = new CForceEngine(&m);
            e->m_nBForcComp = 5;
            CPVXBarContainerBase::m_pCurrentEngine = e;
            break;
        }
        case STRESS: {
            auto* e = new CStressEngine(&m);
            e->m_nComponent = 4;  // a new engine shows component 5
            CPVXBarContainerBase::m_pCurrentEngine = e;
            break;
        }
        case NONE:
            break;
        }
    }
    ~BarSetup() {
        CPVXBarContainerBase::m_pMyself = nullptr;
    }
};

void GiveModelAllEngines(I_PVXModel& m) {
    // The members the host passes on entering the result view, whose forces the frame lists read,
    // and the nodes the reaction builders walk.
    m.GetAttrCtrl()->ConnectToPostDB();
    m.GetAttrCtrl()->GetNodeKeyList(m.m_arrAllNodeKey);
    m.GetAttrCtrl()->GetMembKeyList(m.m_arrAllMembKey);
    m.m_pDeformEngine = new CDeformEngine(&m);
    m.m_pForceEngine = new CForceEngine(&m);
    m.m_pReactionEngine = new CReactionEngine(&m);
    m.m_pReactionEngine->m_nDataKind = m.m_nDisplayMode == 70 ? CReactionEngine::KIND_CONTOUR : CReactionEngine::KIND_REACTION;
    m.m_pReactionEngine->m_nMembKind = CReactionEngine::MEMB_BEAM;
    m.m_pStressEngine = new CStressEngine(&m);
}

void SeedPickingTree(I_PVXCtrl* pCtrl) {
    GRE_Atom atom(I_PVXCtrl::kObjectIDFirst, 99);
    pCtrl->QTreeAdd(atom);
}

}  // namespace

TEST_F(ModelTest, HandlePVXBarImportsTheBarsEnginesByBarDisplayMode) {
    struct Row {
        int mode;
        EngineKind editing;   // the bars' editing engine of the result kind
        EngineKind imported;  // the model engine that takes it over
        bool treeRebuilt;     // picking tree rebuilt (the bar asks for it)
    };
    const Row rows[] = {
        {0, REACTION, REACTION, false}, {70, REACTION, REACTION, false},
        {1, NONE, NONE, true},          {2, NONE, NONE, true},          {3, NONE, NONE, true},
        {19, NONE, NONE, true},         {63, NONE, NONE, true},         {69, NONE, NONE, true},
        {5, FORCE, FORCE, true},        {6, FORCE, FORCE, true},        {7, FORCE, FORCE, true},
        {8, FORCE, FORCE, true},        {9, FORCE, FORCE, true},        {10, FORCE, FORCE, true},
        {16, FORCE, FORCE, true},       {17, FORCE, FORCE, true},       {18, FORCE, FORCE, true},
        {20, FORCE, FORCE, true},       {21, FORCE, FORCE, true},       {22, FORCE, FORCE, true},
        {11, STRESS, STRESS, true},
        {4, NONE, NONE, false},         {12, FORCE, NONE, false},       {57, NONE, NONE, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "bar display mode " << r.mode);
        ResetBarState();
        auto m = MakeLinkedModel();
        m->m_nDisplayMode = r.mode;
        GiveModelAllEngines(*m);
        BarSetup bars(*m, &m_view, r.mode, r.editing, 1);
        Ctrl()->QTreeClearAll();
        SeedPickingTree(Ctrl());

        m->HandlePVXBar(0);

        EXPECT_EQ(m->m_nBarDisplayMode, r.mode);
        EXPECT_EQ(m->m_bLoadSelected, 1);
        EXPECT_EQ(m->m_bResultDataReady, 1) << "static load case 1 is selectable";
        // The deformation step runs for every mode. The model shows no member, so the slab
        // deflection per member (mode 19) is rebuilt as 0; this project holds no time history
        // (63) and no settlement points (69), so those builds have nothing to show.
        EXPECT_EQ(m->m_pDeformEngine->m_nComponent, 7);
        EXPECT_DOUBLE_EQ(m->m_pDeformEngine->m_dSlabDeflMax, r.mode == 19 ? 0.0 : 0.75);
        EXPECT_EQ(m->m_pDeformEngine->m_bDataReady, r.mode == 63 || r.mode == 69 ? 0 : 1);
        EXPECT_EQ(m->m_pReactionEngine->m_nComponent, r.imported == REACTION ? 5 : 2);
        // The reaction builders read the dead load's reactions and spring pressures.
        EXPECT_EQ(m->m_pReactionEngine->m_bDataReady, r.imported == REACTION ? 1 : 0);
        EXPECT_EQ(m->m_pForceEngine->m_nBForcComp, r.imported == FORCE ? 5 : 4) << "5 imported, else the default moment y";
        EXPECT_EQ(m->m_pStressEngine->m_nComponent, r.imported == STRESS ? 4 : 5);
        EXPECT_EQ(m->m_pStressEngine->m_bDataReady, r.imported == STRESS ? 1 : 0);
        EXPECT_EQ(Ctrl()->QTreeGetCount(), r.treeRebuilt ? 0 : 1);
    }
}

TEST_F(ModelTest, HandlePVXBarReinitialisesModelEnginesWhenTheBarsHaveNoFittingEngine) {
    struct Row {
        const char* label;
        int mode;
        EngineKind editing;  // none, or of the wrong kind for the mode
    };
    const Row rows[] = {
        {"reaction mode, no editing engine", 0, NONE},
        {"reaction mode, force editing engine", 70, FORCE},
        {"force mode, no editing engine", 8, NONE},
        {"force mode, reaction editing engine", 6, REACTION},
        {"stress mode, no editing engine", 11, NONE},
        {"stress mode, force editing engine", 11, FORCE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ResetBarState();
        auto m = MakeLinkedModel();
        m->m_nDisplayMode = r.mode;
        GiveModelAllEngines(*m);
        // Stale flags of an earlier build: a rebuild clears them (no builder has read results yet).
        m->m_pReactionEngine->m_bDataReady = 1;
        m->m_pStressEngine->m_bDataReady = 1;
        m->m_pForceEngine->m_bWForcData = m->m_pForceEngine->m_bBForcData = 1;
        BarSetup bars(*m, &m_view, r.mode, r.editing, 0);
        m->HandlePVXBar(0);
        // The model's own engine of the mode is rebuilt; nothing is copied from a wrong kind.
        if (r.mode == 0 || r.mode == 70) {
            // Rebuilt from the dead load's records (FZ at both supports, pressures on the beam).
            EXPECT_EQ(m->m_pReactionEngine->m_bDataReady, 1);
            EXPECT_EQ(m->m_pReactionEngine->m_nComponent, 2);
        } else if (r.mode == 11) {
            EXPECT_EQ(m->m_pStressEngine->m_bDataReady, 1);
            EXPECT_EQ(m->m_pStressEngine->m_nComponent, 5) << "its own default, the effective stress";
        } else {
            EXPECT_EQ(m->m_pForceEngine->m_nBForcComp, 4) << "the default moment y, nothing imported";
            // The test project holds forces of its beam and no wall.
            EXPECT_EQ(m->m_pForceEngine->m_bWForcData, 0);
            EXPECT_EQ(m->m_pForceEngine->m_bBForcData, r.mode == 8 ? 0 : 1);
        }
    }
    // A model without the engine of the mode and bars without one: nothing to do, no crash.
    for (int mode : {0, 6, 11}) {
        SCOPED_TRACE(testing::Message() << "no engines at all, mode " << mode);
        ResetBarState();
        auto m = MakeLinkedModel();
        m->m_nDisplayMode = mode;
        BarSetup bars(*m, &m_view, mode, NONE, 1);
        CPVXBarContainerBase::DestroyDeformEngine();
        m->HandlePVXBar(0);
        EXPECT_EQ(m->m_bResultDataReady, 1);
        EXPECT_EQ(m->m_pForceEngine, nullptr);
    }
}

TEST_F(ModelTest, HandlePVXBarUpdatesTheModelsEnginesWhenTheBarIsNotItsOwn) {
    TestRenderView otherView;
    struct Row {
        const char* label;
        int displayMode, barMode;
        bool alive, removed, otherView;
        int keep;
        int updatedMode;  // the mode the engines were updated for (the reaction engine keeps it)
        int beamBuilt;    // frame lists built by the update (the test project has beam forces, no wall)
    };
    const Row rows[] = {
        // Modes differ: engines rebuilt for the model's own display mode (8, walls).
        {"bar shows another mode", 8, 6, true, false, false, 0, 8, 0},
        {"bar shows another mode, keep shape", 8, 6, true, false, false, 1, 8, 0},
        // Same mode but not the model's bar: engines rebuilt for the bars' mode (-1, the bars' 6).
        {"bar of another view", 6, 6, true, false, true, 0, 6, 1},
        {"bar being removed", 6, 6, true, true, false, 0, 6, 1},
        {"no bar alive", 8, 8, false, false, false, 0, 8, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ResetBarState();
        auto m = MakeLinkedModel();
        GiveModelAllEngines(*m);
        m->m_bLoadSelected = 1;
        m->m_nDisplayMode = r.displayMode;
        m->m_pDeformEngine->m_bKeepDeformed = 0;
        BarSetup bars(*m, r.otherView ? static_cast<CView*>(&otherView) : &m_view, r.barMode, FORCE, 1);
        bars.bar.m_pView = r.otherView ? static_cast<CView*>(&otherView) : &m_view;
        CPVXBarContainerBase::m_bIsPVXBarAlive = r.alive ? 1 : 0;
        CPVXBarContainerBase::m_bRemove = r.removed ? 1 : 0;
        Ctrl()->QTreeClearAll();
        SeedPickingTree(Ctrl());

        m->HandlePVXBar(r.keep);

        EXPECT_EQ(m->m_pReactionEngine->m_nMode, r.updatedMode);
        EXPECT_EQ(m->m_pForceEngine->m_bWForcData, 0) << "no wall in the project";
        EXPECT_EQ(m->m_pForceEngine->m_bBForcData, r.beamBuilt);
        EXPECT_EQ(m->m_pForceEngine->m_nBForcComp, 4) << "nothing imported from the bars";
        EXPECT_EQ(m->m_pDeformEngine->m_bKeepDeformed, 0) << "the forced switch is restored";
        EXPECT_EQ(m->m_pDeformEngine->m_bDataReady, 1) << "the shape under the forces: built in every mode";
        EXPECT_EQ(Ctrl()->QTreeGetCount(), 1) << "the model's own rebuild switch is clear";
    }
    // Same mode on the update path with the model's rebuild switch: the picking tree follows.
    ResetBarState();
    auto m = MakeLinkedModel();
    GiveModelAllEngines(*m);
    m->m_nDisplayMode = 6;
    m->m_bRebuildMBR = 1;
    CPVXBarContainerBase::m_nCurrentMode = 6;
    Ctrl()->QTreeClearAll();
    SeedPickingTree(Ctrl());
    m->HandlePVXBar(0);
    EXPECT_EQ(Ctrl()->QTreeGetCount(), 0);
}

TEST_F(ModelTest, SelectLoadChoosesPlainEnvelopeAndModeShapeLoads) {
    struct Row {
        const char* label;
        int loadSelected, currentMode, displayMode;
        UINT type, key;
        int step;
        int ready;
        int loadSelectedInHost, modeSelectedInHost, envelope;
    };
    const Row rows[] = {
        {"selection switch clear", 0, 6, 6, 1, kCaseDead, 0, 0, 0, 0, 0},
        {"static case, value", 1, 6, 6, 1, kCaseDead, 0, 1, 1, 0, 0},
        {"linear combination, minimum", 1, 6, 6, 10, kCombLinear, 2, 1, 1, 0, 1},
        {"envelope, maximum", 1, 6, 6, 12, kCombEnvelope, 1, 1, 1, 0, 1},
        {"envelope, value", 1, 6, 6, 12, kCombEnvelope, 0, 1, 1, 0, 0},
        {"envelope type on a linear combination", 1, 6, 6, 12, kCombLinear, 0, 0, 0, 0, 0},
        {"unknown load case", 1, 6, 6, 1, 99, 0, 0, 0, 0, 0},
        {"mode shapes by the bars' mode", 1, 4, 6, 1, kModeFirst, 0, 1, 0, 1, 0},
        {"mode shapes by display mode 57", 1, 6, 57, 1, kModeFirst, 0, 1, 0, 1, 0},
        {"mode the host does not have", 1, 4, 4, 1, 5, 0, 0, 0, 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ResetBarState();
        I_PVXModel m;
        CPostCtrl* pPost = m_doc.GetPostCtrl();
        pPost->ClearSelection();
        m.m_bResultDataReady = 1;  // a stale success must not survive
        m.m_bLoadSelected = r.loadSelected;
        CPVXBarContainerBase::m_nCurrentMode = r.currentMode;
        m.m_nDisplayMode = r.displayMode;
        m.m_nLoadType = r.type;
        m.m_nLoadKey = r.key;
        m.m_nLoadStep = r.step;

        m.SelectLoad();

        EXPECT_EQ(m.m_bResultDataReady, r.ready);
        EXPECT_EQ(pPost->IsLoadSelected(), r.loadSelectedInHost);
        EXPECT_EQ(pPost->IsModeSelected(), r.modeSelectedInHost);
        if (r.loadSelectedInHost) {
            EXPECT_EQ(pPost->IsEnvelopeSelected(), r.envelope);
        }
        if (r.modeSelectedInHost) {
            EXPECT_EQ(pPost->GetSelectedMode(), static_cast<int>(r.key));
        }
    }
}

TEST_F(ModelTest, BarResultIdFollowsTheBarDisplayMode) {
    struct Row {
        int barMode, barResultId, expected;
    };
    const Row rows[] = {
        {-1, -1, -1},        {-1, 7101, -1},      {0, -1, 7101},     {0, 7103, 7103},
        {0, 7102, 7101},     {70, -1, 7102},      {70, 7102, 7102},  {1, -1, 7201},
        {4, -1, 7203},       {5, -1, 7501},       {6, -1, 7301},     {6, 7301, 7301},
        {7, 7302, 7302},     {8, -1, 7305},       {11, 7301, 7308},  {17, -1, 12201},
        {18, -1, -1},        {63, -1, -1},        {7203, -1, 7203},  {12201, 7101, 12201},
        {9999, -1, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "bar mode " << r.barMode << ", bars' result id " << r.barResultId);
        I_PVXModel m;
        m.m_nBarDisplayMode = r.barMode;
        CPVXBarContainerBase::m_nCurrentTMMode = r.barResultId;
        EXPECT_EQ(m.GetBarResultId(), r.expected);
    }
    // The view's result commands store these display modes and open these result ids: the
    // item of each command must come out checked.
    const int commands[][2] = {{0, 7101}, {1, 7201}, {4, 7203}, {5, 7501}, {6, 7301}, {8, 7305}};
    CPVXBarContainerBase::m_nCurrentTMMode = -1;
    for (const auto& c : commands) {
        I_PVXModel m;
        m.m_nBarDisplayMode = c[0];
        EXPECT_EQ(m.GetBarResultId(), c[1]) << "display mode " << c[0];
        EXPECT_EQ(I_PVXModel::GetDisplayModeOfResultId(c[1]), c[0]) << "result id " << c[1];
    }
}
