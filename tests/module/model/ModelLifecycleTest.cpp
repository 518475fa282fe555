// Construction, initialisation, engine reset and destruction of the result model.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "module/engines/CPVXCutLineDetDlg.h"
#include "module/figures/CPVXFigure.h"
#include "module/graphs/CPVXMultiGraphView.h"
#include "host/base/CHostRequestLog.h"
#include "tests/module/model/ModelTestSupport.h"

namespace {

struct IntField {
    const char* name;
    long long actual;
    long long expected;
};

void ExpectNoResultState(I_PVXModel& m) {
    const T_PVX_DOPT_D& o = *m.m_pDispOpt;
    const IntField rows[] = {
        {"display mode", m.m_nDisplayMode, -1},
        {"bar display mode", m.m_nBarDisplayMode, -1},
        {"load type", m.m_nLoadType, 1},
        {"load key", m.m_nLoadKey, 1},
        {"load step", m.m_nLoadStep, 0},
        {"load selection valid", m.m_bLoadSelected, 0},
        {"result data ready", m.m_bResultDataReady, 0},
        {"activated", m.m_bActivated, 0},
        {"initialising", m.m_bInitializing, 0},
        {"external device", m.m_bExternalDevice, 0},
        {"animation run", m.m_bAnimation, 0},
        {"contour", m.m_bContour, 0},
        {"mode-shape display", m.m_bModeShape, 1},
        {"mode-shape contour", m.m_bModeShapeContour, 0},
        {"bounding-box rebuild", m.m_bRebuildMBR, 0},
        {"gradient", m.m_bGradient, 0},
        {"apply on OK", m.m_bApplyOnOK, 1},
        {"redraw requested", m.m_bRedrawRequested, 1},
        {"invalidated", m.m_bInvalidated, 0},
        {"first render", m.m_bFirstRender, 1},
        {"contour annotation", m.m_bContourAnnot, 0},
        {"pen factor", m.m_nPenFactor, 1},
        {"undeformed registered", m.m_bOriginalRegistered, 0},
        {"deformed registered", m.m_bDeformedRegistered, 0},
        {"test switch 1", m.m_bTestSwitch1, 0},
        {"test switch 2", m.m_bTestSwitch2, 0},
        {"current eigen mode", m.m_nCurEigenMode, 1},
        {"maximum key", m.m_nMaxKey, 1},
        {"minimum key", m.m_nMinKey, 1},
        {"legend width", o.m_Legend.m_nLegendWidth, 20},
        {"numbers shown", o.m_Number.m_bShowNumbers, 0},
        {"wire frame", o.m_bWireFrame, 1},
    };
    for (const IntField& r : rows) EXPECT_EQ(r.actual, r.expected) << r.name;
    EXPECT_DOUBLE_EQ(m.m_dAnnotSize, 0.25);
    EXPECT_EQ(m.m_pDeformEngine, nullptr);
    EXPECT_EQ(m.m_pForceEngine, nullptr);
    EXPECT_EQ(m.m_pReactionEngine, nullptr);
    EXPECT_EQ(m.m_pStressEngine, nullptr);
    EXPECT_EQ(m.m_AnimationEngine.m_pModel, &m);
    EXPECT_EQ(m.m_LegendEngine.m_pModel, &m);
}

// Engines that log their destruction, to see what ResetEngines deletes and in which order.
std::vector<std::string> g_deleted;
struct LoggedDeform : CDeformEngine {
    explicit LoggedDeform(I_PVXModel* m) : CDeformEngine(m) {}
    ~LoggedDeform() override { g_deleted.push_back("deform"); }
};
struct LoggedForce : CForceEngine {
    explicit LoggedForce(I_PVXModel* m) : CForceEngine(m) {}
    ~LoggedForce() override { g_deleted.push_back("force"); }
};
struct LoggedReaction : CReactionEngine {
    explicit LoggedReaction(I_PVXModel* m) : CReactionEngine(m) {}
    ~LoggedReaction() override { g_deleted.push_back("reaction"); }
};
struct LoggedStress : CStressEngine {
    explicit LoggedStress(I_PVXModel* m) : CStressEngine(m) {}
    ~LoggedStress() override { g_deleted.push_back("stress"); }
};

class TestGraphView : public CPVXMultiGraphView {};

}  // namespace

TEST_F(ModelTest, ConstructionLeavesTheNoResultStateAndPublishesTheModel) {
    const int nBefore = I_PVXModel::nNumOfPVXModel;
    I_PVXModel m;
    ExpectNoResultState(m);
    EXPECT_EQ(I_PVXModel::nNumOfPVXModel, nBefore + 1);
    EXPECT_EQ(I_PVXModel::GetPVXModelPoint(), &m);
    ASSERT_NE(m.m_pFigure, nullptr);
    EXPECT_EQ(CPVXFigure::m_pMyself, m.m_pFigure);
    EXPECT_EQ(m.m_pDispOpt->m_nRenderStyle, 0);
    EXPECT_NE(m.GetPostCtrl(), nullptr);
    EXPECT_NE(m.GetAttrCtrl(), nullptr);
    EXPECT_NE(m.GetGeomCtrl(), nullptr);
    EXPECT_NE(m.m_pDrawFuncArray, nullptr);
    EXPECT_NE(m.m_pTHRD, nullptr);
    EXPECT_EQ(m.m_pDBDoc, &m_doc);
    EXPECT_EQ(m.m_pMDBCtrl, m_doc.GetMDBCtrl());
    EXPECT_EQ(m.m_pMultiGraphView, nullptr);
}

TEST_F(ModelTest, InitPVXModelRestoresTheNoResultStateAndDeletesItsEngines) {
    I_PVXModel m;
    m.m_nDisplayMode = 6;
    m.m_nBarDisplayMode = 6;
    m.m_nLoadType = 10;
    m.m_nLoadKey = 7;
    m.m_nLoadStep = 2;
    m.m_bLoadSelected = 1;
    m.m_bResultDataReady = 1;
    m.m_bContour = 1;
    m.m_bGradient = 1;
    m.m_bApplyOnOK = 0;
    m.m_bRedrawRequested = 0;
    m.m_bFirstRender = 0;
    m.m_dAnnotSize = 0.8;
    m.m_nPenFactor = 3;
    m.m_bModeShape = 0;
    m.m_pDispOpt->m_Legend.m_nLegendWidth = 35;
    m.m_pDispOpt->m_Number.m_bShowNumbers = 1;
    m.m_pDispOpt->m_bWireFrame = 0;
    m.m_pDispOpt->m_nRenderStyle = 1;  // the view's test command, not an initial value

    // Called alone it must not leak the engines: it deletes them as ResetEngines does.
    m.m_pDeformEngine = new LoggedDeform(&m);
    m.m_pForceEngine = new LoggedForce(&m);
    g_deleted.clear();

    m.InitPVXModel();
    ExpectNoResultState(m);
    EXPECT_EQ(m.m_pDispOpt->m_nRenderStyle, 1);
    EXPECT_EQ((std::vector<std::string>{"deform", "force"}), g_deleted);
}

TEST_F(ModelTest, ResetEnginesDeletesPresentEnginesInOrderAndNullsThem) {
    struct Row {
        const char* label;
        bool deform, force, reaction, stress;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"all four", true, true, true, true, {"deform", "force", "reaction", "stress"}},
        {"none", false, false, false, false, {}},
        {"force and stress", false, true, false, true, {"force", "stress"}},
        {"deform and reaction", true, false, true, false, {"deform", "reaction"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        I_PVXModel m;
        if (r.deform) m.m_pDeformEngine = new LoggedDeform(&m);
        if (r.force) m.m_pForceEngine = new LoggedForce(&m);
        if (r.reaction) m.m_pReactionEngine = new LoggedReaction(&m);
        if (r.stress) m.m_pStressEngine = new LoggedStress(&m);
        g_deleted.clear();
        m.ResetEngines();
        EXPECT_EQ(g_deleted, r.expected);
        EXPECT_EQ(m.m_pDeformEngine, nullptr);
        EXPECT_EQ(m.m_pForceEngine, nullptr);
        EXPECT_EQ(m.m_pReactionEngine, nullptr);
        EXPECT_EQ(m.m_pStressEngine, nullptr);
        g_deleted.clear();
        m.ResetEngines();  // nothing left to delete
        EXPECT_TRUE(g_deleted.empty());
    }
}

TEST_F(ModelTest, DestructionDeletesOwnedEnginesAndReleasesBorrowedLinks) {
    TestGraphView graphView;
    auto pModel = MakeLinkedModel();
    I_PVXModel* m = pModel.get();
    EXPECT_EQ(Ctrl()->GetI_PVXModel(), m);
    m->m_pMultiGraphView = &graphView;
    graphView.SetPointer(m);
    m->m_pDeformEngine = new LoggedDeform(m);
    m->m_pStressEngine = new LoggedStress(m);
    // Owned series arrays of the graph maps: the leak checker fails the run if they survive.
    auto* pSeries = new PVXGraphSeries;
    T_GRPH_D pt{1.0, 2.0};
    pSeries->Add(pt);
    m->m_mapLeftGraph.SetAt(1, pSeries);
    m->m_mapRightGraph.SetAt(2, new PVXGraphSeries);
    CPVXFigure* pFigure = m->m_pFigure;
    ASSERT_EQ(CPVXFigure::m_pMyself, pFigure);

    g_deleted.clear();
    pModel.reset();
    EXPECT_EQ((std::vector<std::string>{"deform", "stress"}), g_deleted);
    EXPECT_EQ(graphView.GetPointer(), nullptr);
    EXPECT_EQ(Ctrl()->GetI_PVXModel(), nullptr) << "the control would call back a deleted model";
    EXPECT_EQ(CPVXFigure::m_pMyself, nullptr) << "the current figure controller was deleted";
    EXPECT_EQ(I_PVXModel::GetPVXModelPoint(), nullptr) << "the current model was deleted";
}

TEST_F(ModelTest, OnlyTheLastModelClosesTheTreesAndTheSharedCuttingLineDialog) {
    const int nBefore = I_PVXModel::nNumOfPVXModel;
    ASSERT_EQ(nBefore, 0) << "another test left a model alive";
    auto pFirst = std::make_unique<I_PVXModel>();
    auto pSecond = std::make_unique<I_PVXModel>();
    EXPECT_EQ(I_PVXModel::nNumOfPVXModel, 2);
    CArray<UINT, UINT> selected;
    I_PVXModel::m_pCutLineDetDlg = new CPVXCutLineDetDlg(&selected);
    CPVXCutLineDetDlg* pDlg = I_PVXModel::m_pCutLineDetDlg;
    CHostRequestLog::Clear();

    pFirst.reset();
    EXPECT_EQ(I_PVXModel::nNumOfPVXModel, 1);
    EXPECT_EQ(CHostRequestLog::CountOfKind(HR_CLOSE_FIGURE_TREE), 0);
    EXPECT_EQ(CHostRequestLog::CountOfKind(HR_CLOSE_DESIGN_TREE), 0);
    ASSERT_EQ(I_PVXModel::m_pCutLineDetDlg, pDlg) << "the other view still uses the dialog";
    EXPECT_EQ(pDlg->m_pSelected, &selected);  // touches the object: a use after free fails here
    EXPECT_EQ(I_PVXModel::GetPVXModelPoint(), pSecond.get()) << "an older model going leaves the current one";

    pSecond.reset();
    EXPECT_EQ(I_PVXModel::nNumOfPVXModel, 0);
    EXPECT_EQ(CHostRequestLog::CountOfKind(HR_CLOSE_FIGURE_TREE), 1);
    EXPECT_EQ(CHostRequestLog::CountOfKind(HR_CLOSE_DESIGN_TREE), 1);
    EXPECT_EQ(I_PVXModel::m_pCutLineDetDlg, nullptr);
    EXPECT_EQ(I_PVXModel::GetPVXModelPoint(), nullptr);
}

TEST_F(ModelTest, TheCurrentModelIsTheNewestLiveOne) {
    ASSERT_EQ(I_PVXModel::nNumOfPVXModel, 0) << "another test left a model alive";
    auto pFirst = std::make_unique<I_PVXModel>();
    auto pSecond = std::make_unique<I_PVXModel>();
    auto pThird = std::make_unique<I_PVXModel>();
    EXPECT_EQ(I_PVXModel::GetPVXModelPoint(), pThird.get());
    pSecond.reset();  // a middle one going leaves the newest
    EXPECT_EQ(I_PVXModel::GetPVXModelPoint(), pThird.get());
    pThird.reset();  // the newest going hands over to the newest survivor
    ASSERT_EQ(I_PVXModel::GetPVXModelPoint(), pFirst.get());
    EXPECT_EQ(I_PVXModel::GetPVXModelPoint()->m_nDisplayMode, -1);  // a live model: ASan checks the read
    auto pFourth = std::make_unique<I_PVXModel>();
    EXPECT_EQ(I_PVXModel::GetPVXModelPoint(), pFourth.get());
    pFourth.reset();
    EXPECT_EQ(I_PVXModel::GetPVXModelPoint(), pFirst.get());
    pFirst.reset();
    EXPECT_EQ(I_PVXModel::GetPVXModelPoint(), nullptr);
}

TEST_F(ModelTest, StaticResetsRestoreCuttingLineAndTimeHistoryDefaults) {
    CPVXCutLineDetDlg::m_arrSelCutLine.Add(3);
    CPVXCutLineDetDlg::m_arrSelCutLine.Add(5);
    CPVXCutLineDetDlg::m_bGraph = 1;
    CPVXCutLineDetDlg::m_nGraphXAxis = 3;
    CPVXCutLineDetDlg::m_nGraphMode = 1;
    CPVXCutLineDetDlg::m_nDirection = 0;
    CPVXCutLineDetDlg::m_dScaleFactor = 2.5;
    CPVXCutLineDetDlg::m_bOutputValues = 0;
    CPVXCutLineDetDlg::m_bOnlyMinMax = 0;
    CPVXCutLineDetDlg::m_crDiagram = RGB(0, 0, 9);

    I_PVXModel::ResetCutLineDlg();
    EXPECT_EQ(CPVXCutLineDetDlg::m_arrSelCutLine.GetSize(), 0);
    EXPECT_EQ(CPVXCutLineDetDlg::m_bGraph, 0);
    EXPECT_EQ(CPVXCutLineDetDlg::m_nGraphXAxis, 0);
    EXPECT_EQ(CPVXCutLineDetDlg::m_nGraphMode, 0);
    EXPECT_EQ(CPVXCutLineDetDlg::m_nDirection, 0) << "the direction is the dialog's to keep";
    CPVXCutLineDetDlg::m_nDirection = 1;
    EXPECT_DOUBLE_EQ(CPVXCutLineDetDlg::m_dScaleFactor, 1.0);
    EXPECT_EQ(CPVXCutLineDetDlg::m_bOutputValues, 1);
    EXPECT_EQ(CPVXCutLineDetDlg::m_bOnlyMinMax, 1);
    EXPECT_EQ(CPVXCutLineDetDlg::m_crDiagram, RGB(0, 0, 9)) << "the colour is the dialog's to keep";

    I_PVXModel m;
    T_PVX_THRD_D& th = *m.m_pTHRD;
    th.m_bSelect = 0;
    th.m_strName = "TH1";
    th.m_arrKeys.Add(4);
    th.m_arrTimes.Add(0.5);
    th.m_bOpt1 = th.m_bOpt2 = 0;
    th.m_bOpt3 = 1;
    th.m_strName2 = "X";
    th.m_arrNames.Add(CString("a"));
    m.THRDInit();
    EXPECT_EQ(th.m_bSelect, 1);
    EXPECT_TRUE(th.m_strName.IsEmpty());
    EXPECT_EQ(th.m_arrKeys.GetSize(), 0);
    EXPECT_EQ(th.m_arrTimes.GetSize(), 0);
    EXPECT_EQ(th.m_bOpt1, 1);
    EXPECT_EQ(th.m_bOpt2, 1);
    EXPECT_EQ(th.m_bOpt3, 0);
    EXPECT_TRUE(th.m_strName2.IsEmpty());
    EXPECT_EQ(th.m_arrNames.GetSize(), 0);
}

TEST_F(ModelTest, ResetAllNodeElemKEmptiesEveryKeyAndFlagList) {
    I_PVXModel m;
    CArray<UINT, UINT>* lists[] = {
        &m.m_arrAllMembKey,  &m.m_arrActiveMembKey, &m.m_arrInactiveMembKey, &m.m_arrAllNodeKey,
        &m.m_arrActiveNodeKey, &m.m_arrInactiveNodeKey, &m.m_arrFlagMembKey, &m.m_arrFlagNodeKey,
        &m.m_arrNoFlagMembKey, &m.m_arrNoFlagNodeKey, &m.m_arrElemKey, &m.m_arrActiveElemKey,
        &m.m_arrZSortMembKey, &m.m_arrZSortElemKey, &m.m_arrWorkKey,
    };
    for (auto* l : lists) l->Add(11);
    m.m_arrNodeFlag.Add(1);
    m.m_arrMembFlag.Add(1);
    m.m_arrElemFlag.Add(0);
    m.ResetAllNodeElemK();
    for (size_t i = 0; i < std::size(lists); ++i) EXPECT_EQ(lists[i]->GetSize(), 0) << "key list " << i;
    EXPECT_EQ(m.m_arrNodeFlag.GetSize(), 0);
    EXPECT_EQ(m.m_arrMembFlag.GetSize(), 0);
    EXPECT_EQ(m.m_arrElemFlag.GetSize(), 0);
    EXPECT_EQ(m.m_arrWorkKey.GetData(), nullptr) << "the scratch list's storage is freed";
}

// A model held by a static of the program dies at exit, after the list of live models when the
// static was made first. The child run below makes the static, then the model, and exits.
TEST(ModelExitTest, ChildHoldsAModelInAStatic) {
    if (!std::getenv("PVX_MODEL_EXIT_CHILD")) GTEST_SKIP() << "run by ModelDestroyedAtExitAfterTheLiveList";
    static std::unique_ptr<I_PVXModel> s_held;
    s_held = std::make_unique<I_PVXModel>();
    EXPECT_EQ(I_PVXModel::m_pMyself, s_held.get());
}

TEST(ModelExitTest, ModelDestroyedAtExitAfterTheLiveListTouchesNoFreedMemory) {
    // A fresh process of this program running the child test alone: no model exists before its
    // static, so the static's destructor runs after the list's. Under the address sanitizer a
    // use after free ends the child with a failure status.
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        setenv("PVX_MODEL_EXIT_CHILD", "1", 1);
        const int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, STDOUT_FILENO);
            dup2(devnull, STDERR_FILENO);
        }
        execl("/proc/self/exe", "model_exit_child", "--gtest_filter=ModelExitTest.ChildHoldsAModelInAStatic",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
