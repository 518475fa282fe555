// What the reaction engine asks of its neighbours and offers them: the animation frame factor,
// the reaction bar pages, the legend's extreme lines, the figure labels and the picked nodes.
#include <cmath>

#include "module/animation/CAnimationEngine.h"
#include "module/contour/CContourEngine.h"
#include "module/bars/CPVXBarContainerReac.h"
#include "module/contour/CLegendEngine.h"
#include "module/model/CPVXView.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CUiDriver.h"
#include "tests/module/reaction/ReactionTestSupport.h"

namespace reactest {

TEST(AnimationFactor, WaveOverTheRecordedFrames) {
    I_PVXModel m;
    CAnimationEngine& a = m.m_AnimationEngine;
    a.m_pModel = &m;
    a.m_nFramesPerHalfCycle = 8;  // N = 8, P = N + 1 = 9
    struct Row {
        int frame;
        double signedWave, positiveWave;  // argument 0, argument 1
    } rows[] = {
        {0, 0.0, 0.0},      {4, 0.5, 0.5},      {8, 1.0, 1.0},      // q = 0: k / N
        {9, 1.0, 1.0},      {17, 0.0, 0.0},                        // q = 1: (N - r) / N
        {20, -0.25, 0.25},  {26, -1.0, 1.0},                       // q = 2: -r / N or r / N
        {27, -1.0, 1.0},    {35, 0.0, 0.0},                        // q = 3: (r - N) / N or (N - r) / N
        {36, 0.0, 1.0 / 8},                                         // q = 4: argument / N
    };
    m.m_bAnimation = 1;
    a.m_bRecording = 1;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.frame);
        a.m_nCurFrame = r.frame;
        EXPECT_DOUBLE_EQ(a.GetAnimationFactor(0), r.signedWave);
        EXPECT_DOUBLE_EQ(a.GetAnimationFactor(1), r.positiveWave);
    }
    // No frames per half cycle would divide by zero: an archived 0 reads as one frame, so
    // frame 1 is the peak (k / N = 1 / 1) and frame 3 the opposite one (q = 1, r = 1: 0).
    a.m_nFramesPerHalfCycle = 0;
    a.m_nCurFrame = 1;
    EXPECT_EQ(a.GetAnimationFactor(0), 1.0);
    a.m_nCurFrame = 3;
    EXPECT_EQ(a.GetAnimationFactor(0), 0.0);
    a.m_nFramesPerHalfCycle = 8;
    // Outside a recording, or for a load without amplitude, the factor is 1 whatever the frame.
    a.m_nCurFrame = 20;
    struct Off {
        const char* label;
        int animation, recording, amplitudeOff;
    } offs[] = {{"no animation", 0, 1, 0}, {"not recording", 1, 0, 0}, {"time-history load", 1, 1, 1}};
    for (const Off& o : offs) {
        SCOPED_TRACE(o.label);
        m.m_bAnimation = o.animation;
        a.m_bRecording = o.recording;
        m.m_bAmplitudeOff = o.amplitudeOff;
        EXPECT_EQ(a.GetAnimationFactor(0), 1.0);
        EXPECT_EQ(a.GetAnimationFactor(1), 1.0);
    }
}

class ReactionServices : public ReactionFixture {};

TEST_F(ReactionServices, AnimatedContourValuesFollowTheFrame) {
    // Frame 4 of 8: factor 0.5; the pressure range 10 .. 60 has one sign, so a value is scaled
    // about the range minimum: 40 -> 10 + (40 - 10) x 0.5 = 25.
    ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 2), 1);
    ASSERT_DOUBLE_EQ(E().m_pContourEngine->GetSubFrameValue(40.0, 0.5), 25.0);
    M().m_bAnimation = 1;
    M().m_AnimationEngine.m_bRecording = 1;
    M().m_AnimationEngine.m_nFramesPerHalfCycle = 8;
    M().m_AnimationEngine.m_nCurFrame = 4;
    M().m_nDisplayMode = PVXMode::kReactionContour;
    CRecordDC dc;
    dc.Create();
    E().BeginPlotEng(&dc);
    E().DrawReactionValueNew();
    E().EndPlotEng();
    M().m_AnimationEngine.m_bRecording = 0;
    M().m_bAnimation = 0;
    bool found = false;
    for (const auto& poly : E().m_polys)
        for (size_t i = 0; i < poly.points.size(); ++i)
            if (std::fabs(poly.points[i].x) < 1e-9 && std::fabs(poly.points[i].y - 24.0) < 1e-9) {
                EXPECT_DOUBLE_EQ(poly.values[i], 25.0);
                found = true;
            }
    EXPECT_TRUE(found) << "node 13 (0, 24) of plate 101";
}

TEST_F(ReactionServices, BarPagesPrepareAndApply) {
    CPVXView view;
    ASSERT_NE(view.GetPVXModel(), nullptr);
    I_PVXModel& vm = *view.GetPVXModel();
    LinkModelToCtrl(vm, view.GetI_PVXCtrl(), &view);
    vm.m_bLoadSelected = 1;
    vm.m_nLoadType = 1;
    vm.m_nLoadKey = 1;
    {
        CPVXBarContainerReac bar(10532u);
        bar.m_pView = &view;
        struct Row {
            const char* label;
            void (CPVXBarContainerReac::*prepare)();
            int resultId, dataKind, mode;
        } rows[] = {
            {"reactions", &CPVXBarContainerReac::PrepareReacf, PVXResult::kReacPile, 1, PVXMode::kReaction},
            {"contour", &CPVXBarContainerReac::PrepareRContr, PVXResult::kReacContour, 0, PVXMode::kReactionContour},
            {"reversed", &CPVXBarContainerReac::PrepareReverse, PVXResult::kReacReverse, 2, PVXMode::kReaction},
        };
        for (const Row& r : rows) {
            SCOPED_TRACE(r.label);
            (bar.*r.prepare)();
            EXPECT_EQ(CPVXBarContainerBase::m_nCurrentTMMode, r.resultId);
            CReactionEngine* e = CPVXBarContainerReac::GetReacEngine();
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(e->m_nDataKind, r.dataKind);
            ASSERT_NE(e->m_pContourEngine, nullptr);
            ASSERT_NE(vm.m_pReactionEngine, nullptr) << "the model gets an engine too";
            T_PVX_REACPAGE page;
            page.nComponent = 2;
            EXPECT_EQ(bar.ApplyReacPage(page), 1);
            EXPECT_EQ(CPVXBarContainerBase::m_nCurrentMode, r.mode);
            // Reactions: nodes 2 and 4 have FZ; reversed: node 5; contour (raft): the plates.
            EXPECT_EQ(e->m_bDataReady, 1);
            EXPECT_EQ(vm.m_bResultPresent, 1);
        }
        // The arrow factor is read with "%f"; what is not a positive number changes nothing.
        CReactionEngine* e = CPVXBarContainerReac::GetReacEngine();
        for (const char* bad : {"", "abc", "-1", "0", "2x"}) {
            SCOPED_TRACE(bad);
            T_PVX_REACPAGE page;
            page.nComponent = 5;
            page.strArrowScale = bad;
            EXPECT_EQ(bar.ApplyReacPage(page), 0);
            EXPECT_EQ(e->m_nComponent, 2);
        }
        T_PVX_REACPAGE page;
        page.strArrowScale = "2.5";
        page.nMembKind = 1;
        EXPECT_EQ(bar.ApplyReacPage(page), 1);
        EXPECT_DOUBLE_EQ(e->m_dArrowScale, 2.5);
        EXPECT_EQ(e->m_nMembKind, 1);
    }
    EXPECT_EQ(CPVXBarContainerBase::m_pCurrentEngine, nullptr) << "the container deletes its editing engine";
}

TEST_F(ReactionServices, LegendExtremeLinesOfTheResultantForce) {
    ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 3), 1);
    // The model's legend reads the model's reaction engine.
    M().m_pReactionEngine = new CReactionEngine(&M());
    M().m_pReactionEngine->ImportEngine(&E());
    CLegendEngine& L = M().m_LegendEngine;
    auto text = [&](double v) {
        char buf[64];
        L.GetTextReaction(v, buf);
        return std::string(buf);
    };
    // Largest resultant at node 4 (-5, 0, 40), smallest at node 1 (3, 4, 0).
    struct Row {
        const char* label;
        int minimum, quantity;
        std::string expected;
    } rows[] = {
        {"resultant of the largest", 0, 6, "FXYZ: " + text(std::sqrt(25.0 + 1600.0))},
        {"resultant of the smallest", 1, 6, "FXYZ: " + text(5.0)},
        {"FX of the largest node", 0, 0, "FX:  " + text(-5.0)},
        {"FY of the smallest node", 1, 1, "FY:   " + text(4.0)},
        {"FZ of the largest node", 0, 2, "FZ:  " + text(40.0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CString s;
        L.GetReacMinMaxString(s, r.minimum, r.quantity);
        EXPECT_EQ(std::string(s.GetString()), r.expected);
    }
    delete M().m_pReactionEngine;
    M().m_pReactionEngine = nullptr;
}

TEST_F(ReactionServices, FigureLabelsSkipOnlyTheNodesOffTheScreen) {
    ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 0), 1);  // FX: nodes 1 (0,0) and 4 (10,10)
    // Pan so that node 1 (listed first) leaves the picture on the left, node 4 stays.
    const CPoint p1 = Ctrl()->GetWorldToMemDCP2D(C3DPoint(0, 0, 0));
    Ctrl()->ViewPan(-p1.x - 5, 0);
    ASSERT_LT(Ctrl()->GetWorldToMemDCP2D(C3DPoint(0, 0, 0)).x, 0);
    const CPoint p4 = Ctrl()->GetWorldToMemDCP2D(C3DPoint(10, 10, 0));
    ASSERT_GE(p4.x, 0);
    CRecordDC dc;
    dc.Create();
    EXPECT_EQ(E().OutputReactionNumber4Figure(&dc), 1);
    const auto t = dc.GetRecords("TextOut");
    ASSERT_EQ(t.size(), 5u) << "FX, FY, FZ, MX, MY of node 4";
    const int dy[5] = {-22, -7, 8, 23, 38};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(t[k]->Arg(0), p4.x - 15);
        EXPECT_EQ(t[k]->Arg(1), p4.y + dy[k]);
    }
}

TEST_F(ReactionServices, NumbersOnADeviceAndPickedNodes) {
    ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 2), 1);
    {
        CRecordDC dc;
        dc.Create();
        EXPECT_EQ(E().OutputReactionNumber(&dc), 1);
        const auto t = dc.GetRecords("TextOut");
        ASSERT_EQ(t.size(), 2u);
        EXPECT_EQ(t[0]->text, "-20.000");
        M().m_pDispOpt->m_Number.m_nReactionNumberOpt = 1;  // numbers switched off
        CRecordDC off;
        off.Create();
        EXPECT_EQ(E().OutputReactionNumber(&off), 0);
        EXPECT_EQ(off.Count("TextOut"), 0u);
        M().m_pDispOpt->m_Number.m_nReactionNumberOpt = 0;
    }
    {
        E().m_arrPickedNode.Add(4);
        E().m_arrPickedNode.Add(2);
        CRecordDC dc;
        dc.Create();
        E().DrawPickedNodes(&dc);
        const auto t = dc.GetRecords("TextOut");
        ASSERT_EQ(t.size(), 2u);
        EXPECT_EQ(t[0]->text, "4");
        EXPECT_EQ(t[1]->text, "2");
        EXPECT_EQ(t[0]->textColor, M().m_pDispOpt->m_Number.m_crNumber[0]);
        E().m_arrPickedNode.RemoveAll();
        CRecordDC none;
        none.Create();
        E().DrawPickedNodes(&none);
        EXPECT_EQ(none.GetRecords().size(), 0u);
    }
}

}  // namespace reactest
