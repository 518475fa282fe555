// The display-mode switch: which engine members each mode calls, in which order, on the
// memory-image path and on the retained-geometry path (with and without a geometry rebuild),
// the plain fallbacks, the overlay queues and what a database without elements draws.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/engines/EngineCallLog.h"
#include "module/force/CForceEngine.h"
#include "host/base/I_ModelBase.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "module/model/PVXModes.h"
#include "module/bars/CPVXBarContainerBase.h"

namespace {

// "R.Begin" -> "CReactionEngine::BeginPlotEng"; a trailing '@' marks a call made inside the
// visibility test of numbers.
std::vector<std::string> Expand(std::initializer_list<const char*> calls) {
    static const std::map<char, std::string> kEngine = {
        {'R', "CReactionEngine::"}, {'D', "CDeformEngine::"}, {'F', "CForceEngine::"}, {'S', "CStressEngine::"}};
    static const std::map<std::string, std::string> kShort = {
        {"Begin", "BeginPlotEng"}, {"End", "EndPlotEng"}, {"Init", "InitEngine"}, {"Out", "OutputNumbersNew"},
        {"Picked", "DrawPickedNodes"}, {"Shape", "DrawDeformedShapeNew"}, {"Disp", "DrawDispContourNew"},
        {"Reac", "DrawReactionValueNew"}};
    std::vector<std::string> out;
    for (std::string c : calls) {
        std::string suffix;
        if (!c.empty() && c.back() == '@') {
            suffix = "@visible";
            c.pop_back();
        }
        if (c == "Plain") {
            out.push_back("PVXDrawOriginal" + suffix);
            continue;
        }
        if (c == "InitDeformed") {
            out.push_back("I_PVXModel::InitDeformed" + suffix);
            continue;
        }
        std::string name = c.substr(2);
        auto s = kShort.find(name);
        if (s != kShort.end()) name = s->second;
        out.push_back(kEngine.at(c[0]) + name + suffix);
    }
    return out;
}

struct Row {
    const char* name;
    int mode;
    int built;       // every data-built flag of the engines
    int perElement;  // slab granularity: 1 per element, 0 per member
    int numbers;
    std::vector<std::string> memory;
    std::vector<std::string> rebuild;  // retained path asked to rebuild its geometry
    std::vector<std::string> again;    // retained path drawing its kept geometry
    int modeShape = 1;
    int registered = 1;                // deformed geometry already registered
};

class DispatchTest : public RenderFixture {
protected:
    void SetUp() override {
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 6, 0, 0);
        b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2});
        b.AddMemb(1, 201, {1, 2}, {1});
        Open(b);
        I_PVXModel& m = M();
        m.m_pDeformEngine = new CDeformEngine(&m);
        m.m_pForceEngine = new CForceEngine(&m);
        m.m_pReactionEngine = new CReactionEngine(&m);
        m.m_pStressEngine = new CStressEngine(&m);
    }
    void TearDown() override {
        EngineCallLog::Enable(false);
        I_ModelBase::SetCurMySelfST(nullptr);
        if (m_model) m_model->ResetEngines();
        RenderFixture::TearDown();
    }
    void Apply(const Row& r) {
        I_PVXModel& m = M();
        m.m_nDisplayMode = r.mode;
        m.m_bResultDataReady = 1;
        m.m_bLoadSelected = 0;  // an engine that has to build its data fails
        m.m_bInitializing = 0;
        m.m_bModeShape = r.modeShape;
        m.m_bDeformedRegistered = r.registered;
        m.m_pDispOpt->m_Number.m_bShowNumbers = r.numbers;
        m.m_pDeformEngine->m_bDataReady = r.built;
        m.m_pReactionEngine->m_bDataReady = r.built;
        m.m_pStressEngine->m_bDataReady = r.built;
        CForceEngine& f = *m.m_pForceEngine;
        f.m_bBForcData = f.m_bTForcData = f.m_bWForcData = f.m_bPForcData = f.m_bSSFRData = r.built;
        f.m_bSForcData = f.m_bSRbarData = f.m_bSCracData = f.m_bSWallBuilt = f.m_bCLForcData = r.built;
        f.m_nSForcUnit = f.m_nSRbarUnit = f.m_nSCracUnit = r.perElement;
    }
    std::vector<std::string> Render(const Row& r) {
        Apply(r);
        EngineCallLog::Enable(true);
        M().PVXRender();
        std::vector<std::string> calls = EngineCallLog::Calls();
        EngineCallLog::Enable(false);
        return calls;
    }
};

TEST_F(DispatchTest, EachModeCallsItsEngineInOrderOnBothPaths) {
    const Row rows[] = {
        {"reactions", 0, 1, 1, 1,
         Expand({"R.Begin", "R.Reac", "R.Out@", "R.End", "R.Picked"}),
         Expand({"R.Begin", "R.Reac", "R.End", "R.Picked", "R.Begin@", "R.Out@", "R.End@"}),
         Expand({"R.Picked", "R.Begin@", "R.Out@", "R.End@"})},
        {"reaction contour: no picked nodes when retained", 70, 1, 1, 1,
         Expand({"R.Begin", "R.Reac", "R.Out@", "R.End", "R.Picked"}),
         Expand({"R.Begin", "R.Reac", "R.End", "R.Begin@", "R.Out@", "R.End@"}),
         Expand({"R.Begin@", "R.Out@", "R.End@"})},
        {"reactions without numbers", 0, 1, 1, 0,
         Expand({"R.Begin", "R.Reac", "R.End", "R.Picked"}),
         Expand({"R.Begin", "R.Reac", "R.End", "R.Picked"}),
         Expand({"R.Picked"})},
        {"reactions that cannot be built", 0, 0, 1, 1,
         Expand({"R.Init", "R.Begin", "Plain", "R.End", "R.Picked"}),
         Expand({"R.Init", "Plain", "R.Picked", "R.Begin@", "R.Out@", "R.End@"}),
         Expand({"R.Picked", "R.Begin@", "R.Out@", "R.End@"})},
        {"deformed shape", 1, 1, 1, 1,
         Expand({"D.Begin", "D.Shape", "D.Out@", "D.End"}),
         Expand({"D.Begin", "D.Shape", "D.End", "D.Begin@", "D.Out@", "D.End@"}),
         Expand({"D.Begin@", "D.Out@", "D.End@"})},
        {"time history displacement", 63, 1, 1, 1,
         Expand({"D.Begin", "D.Shape", "D.Out@", "D.End"}),
         Expand({"D.Begin", "D.Shape", "D.End", "D.Begin@", "D.Out@", "D.End@"}),
         Expand({"D.Begin@", "D.Out@", "D.End@"})},
        {"deformed shape that cannot be built", 1, 0, 1, 1,
         Expand({"D.Init", "Plain"}),
         Expand({"D.Init", "Plain", "D.Begin@", "D.Out@", "D.End@"}),
         Expand({"D.Begin@", "D.Out@", "D.End@"})},
        {"displacement contour", 2, 1, 1, 1,
         Expand({"D.Begin", "D.Disp", "D.Out@", "D.End"}),
         Expand({"D.Begin", "D.Disp", "D.End", "D.Begin@", "D.Out@", "D.End@"}),
         Expand({"D.Begin@", "D.Out@", "D.End@"})},
        {"slab deflection, deformed geometry missing", 19, 1, 1, 1,
         Expand({"InitDeformed", "D.Begin", "D.Disp", "D.Out@", "D.End"}),
         Expand({"InitDeformed", "D.Begin", "D.Disp", "D.End", "D.Begin@", "D.Out@", "D.End@"}),
         Expand({"D.Begin@", "D.Out@", "D.End@"}), 1, 0},
        {"node displacement", 3, 1, 1, 1,
         Expand({"Plain", "D.Picked"}), Expand({"Plain", "D.Picked"}), Expand({"D.Picked"})},
        {"mode shape", 4, 1, 1, 1,
         Expand({"D.Begin", "D.Shape", "D.Out@", "D.End"}),
         Expand({"D.Begin", "D.Shape", "D.End", "D.Begin@", "D.Out@", "D.End@"}),
         Expand({"D.Begin@", "D.Out@", "D.End@"})},
        {"mode shape display off", 4, 1, 1, 1,
         Expand({"Plain"}), Expand({"Plain", "D.Begin@", "D.Out@", "D.End@"}), Expand({"D.Begin@", "D.Out@", "D.End@"}),
         0},
        {"story shear: numbers outside the visibility test in memory", 5, 1, 1, 1,
         Expand({"F.DrawSSFRData", "F.OutputSSFRData"}),
         Expand({"F.DrawSSFRData", "F.OutputSSFRData@"}), Expand({"F.OutputSSFRData@"})},
        {"frame force contour: trusses only in memory", 6, 1, 1, 1,
         Expand({"F.DrawBForcContour", "F.DrawTForcContour", "F.OutputBForcNumbers@", "F.OutputTForcNumbers@"}),
         Expand({"F.DrawBForcContour", "F.OutputBForcNumbers@"}), Expand({"F.OutputBForcNumbers@"})},
        {"frame force contour without data", 6, 0, 1, 1,
         Expand({"Plain"}), Expand({"Plain", "F.OutputBForcNumbers@"}), Expand({"F.OutputBForcNumbers@"})},
        {"frame force diagram: no numbers when retained", 7, 1, 1, 1,
         Expand({"F.DrawBeamSfdBmd", "F.DrawTrussSfdBmd", "F.OutputTForcNumbers@"}),
         Expand({"F.DrawBeamSfdBmd"}), {}},
        {"wall force contour", 8, 1, 1, 1,
         Expand({"F.DrawWForcContour", "F.OutputWForcNumbers@"}),
         Expand({"F.DrawWForcContour", "F.OutputWForcNumbers@"}), Expand({"F.OutputWForcNumbers@"})},
        {"wall force diagram", 9, 1, 1, 1,
         Expand({"F.DrawWallSfdBmd", "F.OutputWForcNumbers@"}),
         Expand({"F.DrawWallSfdBmd", "F.OutputWForcNumbers@"}), Expand({"F.OutputWForcNumbers@"})},
        {"plate forces", 10, 1, 1, 1,
         Expand({"F.DrawPForcContour", "F.OutputPForcNumbers@"}),
         Expand({"F.DrawPForcContour", "F.OutputPForcNumbers@"}), Expand({"F.OutputPForcNumbers@"})},
        {"principal stress", 11, 1, 1, 1,
         Expand({"S.DrawPStrsContour", "S.OutputPStrsNumbers@"}),
         Expand({"S.DrawPStrsContour", "S.OutputPStrsNumbers@"}), Expand({"S.OutputPStrsNumbers@"})},
        {"slab forces per element", 16, 1, 1, 1,
         Expand({"F.DrawSForcContour", "F.OutputSForcNumbers@"}),
         Expand({"F.DrawSForcContour", "F.OutputSForcNumbers@"}), Expand({"F.OutputSForcNumbers@"})},
        {"slab forces per member: numbers kept with the geometry", 16, 1, 0, 1,
         Expand({"F.DrawSForcContourMemb", "F.OutputSForcNumbersMemb@"}),
         Expand({"F.DrawSForcContourMemb", "F.OutputSForcNumbersMemb@"}), {}},
        {"slab rebar per member shows the model under its numbers", 17, 1, 0, 1,
         Expand({"Plain", "F.DrawSRbarContourMemb", "F.OutputSRbarNumbersMemb@"}),
         Expand({"Plain", "F.DrawSRbarContourMemb", "F.OutputSRbarNumbersMemb@"}), {}},
        {"slab crack per element", 18, 1, 1, 1,
         Expand({"F.DrawSCracContour", "F.OutputSCracNumbers@"}),
         Expand({"F.DrawSCracContour", "F.OutputSCracNumbers@"}), Expand({"F.OutputSCracNumbers@"})},
        {"slab crack without data", 18, 0, 0, 1, Expand({"Plain"}), Expand({"Plain", "F.OutputSCracNumbersMemb@"}), {}},
        {"slab wall: its values on both paths", 20, 1, 1, 1,
         Expand({"F.DrawSWallContour", "F.OutputSWallNumbers"}),
         Expand({"F.DrawSWallContour", "F.OutputSWallNumbers@"}), {}},
        {"slab wall numbers retained whatever the numbers switch", 20, 0, 1, 0,
         Expand({"Plain"}), Expand({"Plain", "F.OutputSWallNumbers@"}), {}},
        {"slab strips", 21, 1, 1, 1,
         Expand({"F.DrawCLineSfdBmd"}), Expand({"F.DrawCLineSfdBmd"}), {}},
        {"slab strips per member without strip data", 21, 0, 0, 1, Expand({"Plain"}), Expand({"Plain"}), {}},
        {"slab force on beams per member", 22, 1, 0, 1,
         Expand({"F.DrawSForcContourMemb", "F.OutputSBForcNumbersMemb@"}),
         Expand({"F.DrawSForcContourMemb", "F.OutputSBForcNumbersMemb@"}), {}},
        {"settlement", 69, 1, 1, 1,
         Expand({"D.Begin", "D.Shape", "D.Out@", "D.End"}),
         Expand({"D.Begin", "D.Shape", "D.End", "D.Begin@", "D.Out@", "D.End@"}),
         Expand({"D.Begin@", "D.Out@", "D.End@"})},
        {"settlement that cannot be built: plain between begin and end", 69, 0, 1, 1,
         Expand({"D.Init", "D.Begin", "Plain", "D.End"}),
         Expand({"D.Init", "Plain", "D.Begin@", "D.Out@", "D.End@"}),
         Expand({"D.Begin@", "D.Out@", "D.End@"})},
        {"a mode without a result of its own", 40, 1, 1, 1, Expand({"Plain"}), Expand({"Plain"}), {}},
        {"no mode", -1, 1, 1, 1, Expand({"Plain"}), Expand({"Plain"}), {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "mode " << r.mode << ": " << r.name);
        Ctrl()->SetXGRMode(0);
        EXPECT_EQ(Render(r), r.memory) << "memory image";
        Ctrl()->SetXGRMode(1);
        Ctrl()->XGR_SetRebuildGeom(1);
        EXPECT_EQ(Render(r), r.rebuild) << "retained geometry, rebuilt";
        EXPECT_EQ(Ctrl()->XGR_IsRebuildGeom(), 0);
        EXPECT_EQ(Render(r), r.again) << "retained geometry, kept";
        EXPECT_FALSE(Ctrl()->IsGLRenderNodeActive());
        EXPECT_FALSE(Ctrl()->IsGLVisibleCheck());
    }
}

TEST_F(DispatchTest, PlainWhenResultsAreNotReadyOrInitialising) {
    Row r{"", 6, 1, 1, 1, {}, {}, {}};
    Apply(r);
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        Apply(r);
        if (variant == 0) M().m_bResultDataReady = 0;
        if (variant == 1) M().m_bInitializing = 1;
        if (variant == 2) {
            // The bars always make the engine of a mode; without it the model is shown plain.
            delete M().m_pForceEngine;
            M().m_pForceEngine = nullptr;
        }
        CRecordDC rec;
        ASSERT_TRUE(rec.Create());
        EngineCallLog::Enable(true);
        M()._PVXRender(&rec);
        EXPECT_EQ(EngineCallLog::Calls(), Expand({"Plain"}));
        EngineCallLog::Enable(false);
    }
}

TEST_F(DispatchTest, DeformedShapeModesSetTheContourSwitches) {
    struct {
        int mode, contour, gradient;
    } rows[] = {{1, 1, 0}, {63, 1, 0}, {3, 0, 0}, {2, 1, 1}};
    for (auto& row : rows) {
        SCOPED_TRACE(row.mode);
        M().m_bContour = 1;
        M().m_bGradient = 1;
        Row r{"", row.mode, 1, 1, 1, {}, {}, {}};
        Render(r);
        EXPECT_EQ(M().m_bContour, row.contour);
        EXPECT_EQ(M().m_bGradient, row.gradient);
    }
}

class CountingHostModel : public I_ModelBase {
public:
    void PrepareGeomRebuild() override { ++m_nCalls; }
    int m_nCalls = 0;
};

TEST_F(DispatchTest, RetainedRebuildWarnsTheHostAndEmptiesTheQueues) {
    CountingHostModel host;
    I_ModelBase::SetCurMySelfST(&host);
    CPVXDrawFuncArray& q = *M().m_pDrawFuncArray;
    const double anchor[3] = {3, 0, 0}, axis[6] = {0, 0, 0, 6, 0, 0};
    struct {
        const char* name;
        int mode, rebuild, accumulate, removeAll;
        int hostCalls;
        INT_PTR queuedAfter;
    } rows[] = {
        {"rebuild", 6, 1, 0, 0, 1, 0},
        {"rebuild of strips does not warn the host", 21, 1, 0, 0, 0, 0},
        {"kept geometry keeps its numbers", 6, 0, 0, 0, 0, 1},
        {"accumulating after a complete removal", 6, 1, 1, 1, 0, 1},
        {"accumulating without a complete removal", 6, 1, 1, 0, 1, 0},
    };
    for (auto& row : rows) {
        SCOPED_TRACE(row.name);
        host.m_nCalls = 0;
        q.ClearAll();
        q.m_OutputSfdBmdNumber.Push(anchor, axis, 0, 12.5);
        Ctrl()->SetXGRMode(1);
        Ctrl()->XGR_SetRebuildGeom(row.rebuild);
        if (row.accumulate) Ctrl()->BeginAccumulateMode();
        else Ctrl()->EndAccumulateMode();
        Ctrl()->SetCompleteRemoveAllGeomAtFirst(row.removeAll);
        Row r{"", row.mode, 1, 1, 1, {}, {}, {}};
        Render(r);
        EXPECT_EQ(host.m_nCalls, row.hostCalls);
        EXPECT_EQ(q.GetQueuedCount(), row.queuedAfter);
    }
    Ctrl()->EndAccumulateMode();
}

TEST_F(DispatchTest, QueuedNumbersAreDrawnOncePerMemoryRender) {
    CPVXDrawFuncArray& q = *M().m_pDrawFuncArray;
    const double anchor[3] = {3, 0, 0}, axis[6] = {0, 0, 0, 6, 0, 0};
    q.m_OutputSfdBmdNumber.Push(anchor, axis, 0, 12.5);
    Row r{"", 40, 1, 1, 1, {}, {}, {}};
    Apply(r);
    CRecordDC first, second;
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    M()._PVXRender(&first);
    M()._PVXRender(&second);
    auto numbers = [](const CRecordDC& dc) {
        size_t n = 0;
        for (const GdiRecord* t : dc.GetRecords("TextOut")) n += t->text.find("12") != std::string::npos;
        for (const GdiRecord* t : dc.GetRecords("ExtTextOut")) n += t->text.find("12") != std::string::npos;
        return n;
    };
    EXPECT_EQ(numbers(first), 1u) << first.Dump();
    EXPECT_EQ(numbers(second), 0u);
    EXPECT_EQ(q.GetQueuedCount(), 0);
}

TEST_F(DispatchTest, AnimationAlwaysUsesTheMemoryImage) {
    M().m_bAnimation = 1;
    Ctrl()->SetXGRMode(1);
    Ctrl()->XGR_SetRebuildGeom(1);
    Row r{"", 6, 1, 1, 1, {}, {}, {}};
    EXPECT_EQ(Render(r), Expand({"F.DrawBForcContour", "F.DrawTForcContour", "F.OutputBForcNumbers@",
                                 "F.OutputTForcNumbers@"}));
    EXPECT_EQ(Ctrl()->IsXGRMode(), 1);
    EXPECT_EQ(Ctrl()->XGR_IsRebuildGeom(), 0);
}

TEST_F(DispatchTest, RedrawRequestIsConsumedOnce) {
    Row r{"", 40, 1, 1, 1, {}, {}, {}};
    M().m_bRedrawRequested = 1;
    M().m_bInvalidated = 0;
    Render(r);
    EXPECT_EQ(M().m_bRedrawRequested, 0);
    EXPECT_EQ(M().m_bInvalidated, 1);
    EXPECT_EQ(M().m_bFirstRender, 0);
}

// A model whose load case reaches the host while no engine has read any result for it.
class UnbuiltDataTest : public RenderFixture {
protected:
    void SetUp() override {
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 6, 0, 0);
        b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2});
        b.AddMemb(1, 201, {1, 2}, {1});
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        Open(b);
        I_PVXModel& m = M();
        m.m_pDeformEngine = new CDeformEngine(&m);
        m.m_pForceEngine = new CForceEngine(&m);
        m.m_pReactionEngine = new CReactionEngine(&m);
        m.m_pStressEngine = new CStressEngine(&m);
    }
    void TearDown() override {
        EngineCallLog::Enable(false);
        CPVXBarContainerBase::m_nCurrentMode = -1;
        if (m_model) m_model->ResetEngines();
        RenderFixture::TearDown();
    }
};

TEST_F(UnbuiltDataTest, ASelectedLoadAloneShowsThePlainModel) {
    using namespace PVXMode;
    // The deformed shape and the displacement contour build a node list even when no node has a
    // record (see the next test), so they are not among these.
    // Not mode 11: the stress engine builds this model (no plate members) as an empty result.
    const int modes[] = {kReaction,         kStoryShearRatio,
                         kFrameForceContour, kFrameForceDiagram, kWallForceContour, kWallForceDiagram,
                         kPlateForce,       kSlabForce,        kSlabRebar,
                         kSlabCrack,        kSlabWall,         kSlabStrip,        kTimeHistory,
                         kSettlement,       kReactionContour};
    for (int mode : modes) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        I_PVXModel& m = M();
        m.m_nDisplayMode = mode;
        CPVXBarContainerBase::m_nCurrentMode = mode;
        m.m_nLoadType = 1;
        m.m_nLoadKey = 1;
        m.m_bLoadSelected = 1;
        m.m_bInitializing = 0;
        CForceEngine& f = *m.m_pForceEngine;
        f.m_nSForcUnit = f.m_nSRbarUnit = f.m_nSCracUnit = 1;  // per element
        // The update path of a bar change: every engine takes the mode and the load.
        m.UpdateEngines(mode);
        ASSERT_EQ(m.m_bResultDataReady, 1) << "the load selection succeeded";
        CRecordDC rec;
        ASSERT_TRUE(rec.Create());
        EngineCallLog::Enable(true);
        m._PVXRender(&rec);
        const std::vector<std::string> calls = EngineCallLog::Calls();
        EngineCallLog::Enable(false);
        EXPECT_NE(std::find(calls.begin(), calls.end(), "PVXDrawOriginal"), calls.end())
            << "an engine with nothing built draws nothing: the plain model stands in";
        EXPECT_FALSE(rec.GetRecords("Polygon").empty() && rec.GetRecords("LineTo").empty())
            << "the member is drawn";
    }
}

TEST_F(UnbuiltDataTest, ADeformationWithoutRecordsShowsTheShapeAtRest) {
    using namespace PVXMode;
    for (int mode : {kDeformedShape, kDispContour}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        I_PVXModel& m = M();
        m.m_nDisplayMode = mode;
        CPVXBarContainerBase::m_nCurrentMode = mode;
        m.m_nLoadType = 1;
        m.m_nLoadKey = 1;
        m.m_bLoadSelected = 1;
        m.m_bInitializing = 0;
        m.UpdateEngines(mode);
        ASSERT_EQ(m.m_bResultDataReady, 1);
        const CDeformEngine& d = *m.m_pDeformEngine;
        EXPECT_EQ(d.m_bDataReady, 1) << "the list is built, without a node";
        EXPECT_EQ(d.m_dLegendMax, 0.0);
        EXPECT_EQ(d.m_dLegendMin, 0.0);
        CRecordDC rec;
        ASSERT_TRUE(rec.Create());
        EngineCallLog::Enable(true);
        m._PVXRender(&rec);
        const std::vector<std::string> calls = EngineCallLog::Calls();
        EngineCallLog::Enable(false);
        EXPECT_EQ(std::find(calls.begin(), calls.end(), "PVXDrawOriginal"), calls.end())
            << "the engine draws the member at zero displacement itself";
        EXPECT_FALSE(rec.GetRecords("Polygon").empty() && rec.GetRecords("LineTo").empty())
            << "the member is drawn";
    }
}

class EmptyDatabaseTest : public RenderFixture {};

TEST_F(EmptyDatabaseTest, NothingIsDrawnWithoutElements) {
    PostDBBuilder b;
    b.AddNode(1, 0, 0, 0);
    b.AddNode(2, 5, 5, 0);
    Open(b);
    I_PVXModel& m = M();
    m.m_pDispOpt->m_Color.m_crBackground = RGB(10, 20, 30);
    m.m_nDisplayMode = 40;
    m.m_bResultDataReady = 1;
    m.m_bContourAnnot = 1;
    const double anchor[3] = {1, 1, 0}, axis[6] = {0, 0, 0, 5, 5, 0};
    m.m_pDrawFuncArray->m_OutputSfdBmdNumber.Push(anchor, axis, 0, 1.0);

    CRecordDC rec;
    ASSERT_TRUE(rec.Create());
    EngineCallLog::Enable(true);
    m._PVXRender(&rec);
    EXPECT_TRUE(EngineCallLog::Calls().empty());
    EngineCallLog::Enable(false);
    EXPECT_TRUE(rec.GetRecords().empty()) << rec.Dump();

    // The memory image is only cleared.
    m.m_bRedrawRequested = 1;
    m.PVXRender();
    CDC* mem = Ctrl()->GetMemDC();
    EXPECT_EQ(mem->GetPixel(kWidth / 2, kHeight / 2), RGB(10, 20, 30));
    EXPECT_EQ(m.m_bRedrawRequested, 1);
    EXPECT_EQ(m.m_pDrawFuncArray->GetQueuedCount(), 1);
}

}  // namespace
