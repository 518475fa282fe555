// The plot engine base: binding one draw to an engine, its forwarding members, and the
// begin / draw / numbers / end protocol of an engine that makes one per draw.
#include <string>
#include <vector>

#include "module/engines/CPlotEngBase.h"
#include "tests/module/enginebase/EngineBaseSupport.h"

namespace enginebase {

namespace {

// A plot engine serving display mode 1 only, noting its calls.
class NotePlotEng : public CPlotEngBase {
public:
    NotePlotEng(CEngineBase* pEngine, CDC* pDC, std::vector<std::string>* pNotes)
        : m_pEngine(pEngine && pDC ? pEngine : nullptr), m_pNotes(pNotes) {
        Bind(pEngine, pDC);
    }
    ~NotePlotEng() override { Note("deleted"); }
    int Draw(int nMode) override {
        Note("Draw " + std::to_string(nMode));
        if (nMode != 1) return -1;
        return DrawOriginal(0) < 0 ? -1 : 1;
    }
    int OutputNumbers(int nMode) override {
        Note("OutputNumbers " + std::to_string(nMode));
        return 1;
    }
    int OutputSlabDeflectionNumbers(int) override { return 1; }
    int OutputSlabDeflectionNumbersMemb(int) override { return 0; }
    int OutputSettlementNumbers(int) override { return 1; }
    void Reset() override { m_pEngine = nullptr; }

    CEngineBase* m_pEngine;

private:
    void Note(const std::string& s) {
        if (m_pNotes) m_pNotes->push_back(s);
    }
    std::vector<std::string>* m_pNotes;
};

// An engine that makes a plot engine per draw, as the deformation and reaction engines do.
class PlotEngine : public CEngineBase {
public:
    PlotEngine(I_PVXModelBase* pModel, std::vector<std::string>* pNotes) : m_pNotes(pNotes) { m_pModel = pModel; }
    int BeginPlotEng(CDC* pDC) override {
        delete m_pPlotEngine;
        m_pPlotEngine = new NotePlotEng(this, pDC, m_pNotes);
        return 1;
    }
    int EndPlotEng() override {
        if (!m_pPlotEngine) return 0;
        delete m_pPlotEngine;
        m_pPlotEngine = nullptr;
        return 1;
    }
    int DrawNew(int nMode) { return m_pPlotEngine ? m_pPlotEngine->Draw(nMode) : -1; }
    std::vector<std::string>* m_pNotes;  // outlives the engine: the base deletes a plot engine left over
};

}  // namespace

class PlotEngBaseTest : public LinkedEngineTest {};

TEST_F(PlotEngBaseTest, EmptyWithoutEngineOrDC) {
    CEngineBase engine;
    engine.m_pModel = m_model.get();
    const struct {
        const char* label;
        CEngineBase* engine;
        CDC* dc;
    } rows[] = {{"no engine", nullptr, &m_dc}, {"no device context", &engine, nullptr}, {"neither", nullptr, nullptr}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        NotePlotEng p(r.engine, r.dc, nullptr);
        EXPECT_EQ(p.m_pDC, nullptr);
        EXPECT_EQ(p.m_pContourEngine, nullptr);
        EXPECT_EQ(p.m_pModel, nullptr);
        EXPECT_EQ(p.m_pEngine, nullptr);
        EXPECT_EQ(p.m_nDrawState, 0);
        EXPECT_EQ(p.m_pDispOpt, nullptr);
        EXPECT_EQ(p.m_pNumberOpt, nullptr);
        EXPECT_EQ(p.GetClientDC(), nullptr);
        // The forwarding members answer their neutral values without a model.
        EXPECT_EQ(p.GetPenWidth(), 1);
        EXPECT_EQ(p.GetBarMode(), -1);
        EXPECT_EQ(p.IsResultDisplayOn(), 0);
        EXPECT_EQ(p.WatchEscKeyPress(), 0);
    }
}

TEST_F(PlotEngBaseTest, BindsTheDrawAndForwardsToTheModel) {
    CEngineBase engine;
    engine.m_pModel = m_model.get();
    engine.m_pContourEngine = UnitScale();
    NotePlotEng p(&engine, &m_dc, nullptr);
    ASSERT_EQ(p.m_pDC, &m_dc);
    EXPECT_EQ(p.m_pContourEngine, engine.m_pContourEngine) << "borrowed, not copied";
    EXPECT_EQ(p.m_pModel, m_model.get());
    T_PVX_DOPT_D& opt = *m_model->m_pDispOpt;
    EXPECT_EQ(p.m_pDispOpt, &opt);
    EXPECT_EQ(p.m_pColorOpt, &opt.m_Color);
    EXPECT_EQ(p.m_pDrawStyle, &opt.m_nRenderMode);
    EXPECT_EQ(p.m_pWireFrame, &opt.m_bWireFrame);
    EXPECT_EQ(p.m_pUndeformedWireFrame, &opt.m_bUndeformedWireFrame);
    EXPECT_EQ(p.m_pShading, &opt.m_bShading);
    EXPECT_EQ(p.m_pLegendOpt, &opt.m_Legend);
    EXPECT_EQ(p.m_pNumberOpt, &opt.m_Number);

    // Every forwarding member reads the model (or its options) at the time of the call.
    I_PVXModel& m = *m_model;
    struct Row {
        const char* label;
        int* field;
        int (*get)(const NotePlotEng&);
    } const rows[] = {
        {"pen width", &m.m_nPenFactor, [](const NotePlotEng& e) { return e.GetPenWidth(); }},
        {"direct to the window", &m.m_bExternalDevice, [](const NotePlotEng& e) { return e.IsDrawOnClientWindow(); }},
        {"client DC suppressed", &m.m_bSecondTarget, [](const NotePlotEng& e) { return e.IsClientDCSuppressed(); }},
        {"bar mode", &m.m_nBarDisplayMode, [](const NotePlotEng& e) { return e.GetBarMode(); }},
        {"result display", &m.m_bContour, [](const NotePlotEng& e) { return e.IsResultDisplayOn(); }},
        {"first object id", &m.m_nObjectIDFirst, [](const NotePlotEng& e) { return e.GetFirstObjectID(); }},
        {"back-face switch", &opt.m_bPlaneCulling, [](const NotePlotEng& e) { return e.GetDisplayOptionA(); }},
        {"bar result option", &opt.m_nBarResultOpt, [](const NotePlotEng& e) { return e.GetDisplayOptionB(); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const int saved = *r.field;
        for (int v : {0, 1, 4}) {
            *r.field = v;
            EXPECT_EQ(r.get(p), v);
        }
        *r.field = saved;
    }

    // Objects and depth order come from the control.
    const int type = p.GetFirstObjectID();
    EXPECT_EQ(p.IsObjectInClientWindow(type, 1), Ctrl()->IsObjectInClientWindow(type, 1));
    EXPECT_EQ(p.IsActiveElem(1), Ctrl()->IsActiveElem(1));
    CArray<int, int> types;
    types.Add(type);
    CArray<UINT, UINT> keys;
    keys.Add(1);
    CArray<GRE_Atom, GRE_Atom&> atoms;
    p.GetZSortedList(types, keys, atoms);
    ASSERT_EQ(atoms.GetSize(), 1);
    EXPECT_EQ(atoms[0].m_nKey, 1u);

    // The extreme label takes the number colour through the bound options.
    opt.m_Number.m_crNumber[0] = RGB(200, 0, 100);
    p.DrawMinMaxOutputValue(&m_dc, C3DPoint(5, 5, 0), "%.1f", 1, -3.25);
    ASSERT_EQ(m_dc.Count("TextOut"), 1u);
    EXPECT_EQ(m_dc.GetRecords("TextOut")[0]->text, "Min:-3.2");
    for (const GdiRecord* r : m_dc.GetRecords("LineTo")) EXPECT_EQ(r->pen.lopnColor, RGB(200, 0, 100));

    // A face filled through the model: one polygon of the given colour.
    m_dc.Clear();
    CList<C3DPoint> face;
    face.AddTail(C3DPoint(0, 0, 0));
    face.AddTail(C3DPoint(10, 0, 0));
    face.AddTail(C3DPoint(10, 10, 0));
    CArray<int, int> flags;
    flags.SetSize(3);
    p.DrawPolygon3DFill(&m_dc, face, flags, RGB(9, 8, 7));
    auto polys = m_dc.GetRecords("Polygon");
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0]->brush.lbColor, RGB(9, 8, 7));
    EXPECT_EQ(p.IsVisibleFace(&face, 3), m_model->IsVisibleFace(&face, 3));

    // Reset empties the base members.
    p.CPlotEngBase::Reset();
    EXPECT_EQ(p.m_pDC, nullptr);
    EXPECT_EQ(p.m_pModel, nullptr);
    EXPECT_EQ(p.m_pNumberOpt, nullptr);
}

TEST_F(PlotEngBaseTest, OneDrawBeginsDrawsAndEnds) {
    std::vector<std::string> notes;
    PlotEngine engine(m_model.get(), &notes);
    EXPECT_EQ(engine.DrawNew(1), -1) << "no plot engine outside a draw";
    ASSERT_EQ(engine.BeginPlotEng(&m_dc), 1);
    ASSERT_NE(engine.m_pPlotEngine, nullptr);
    EXPECT_EQ(engine.DrawNew(1), 1);
    EXPECT_GT(m_dc.GetRecords().size(), 0u) << "the undeformed model drawn";
    const size_t drawn = m_dc.GetRecords().size();
    EXPECT_EQ(engine.DrawNew(7), -1) << "a mode the plot engine does not serve";
    EXPECT_EQ(m_dc.GetRecords().size(), drawn) << "and nothing drawn for it";
    EXPECT_EQ(engine.m_pPlotEngine->OutputNumbers(1), 1);
    // A second begin replaces the plot engine left over.
    ASSERT_EQ(engine.BeginPlotEng(&m_dc), 1);
    EXPECT_EQ(engine.EndPlotEng(), 1);
    EXPECT_EQ(engine.m_pPlotEngine, nullptr);
    EXPECT_EQ(engine.EndPlotEng(), 0);
    const std::vector<std::string> want = {"Draw 1", "Draw 7", "OutputNumbers 1", "deleted", "deleted"};
    EXPECT_EQ(notes, want);
    // One left at destruction is deleted with the engine.
    notes.clear();
    auto* pLeft = new PlotEngine(m_model.get(), &notes);
    pLeft->BeginPlotEng(&m_dc);
    delete pLeft;
    EXPECT_EQ(notes, std::vector<std::string>{"deleted"});
}

}  // namespace enginebase
