// Mode-shape graphs: the model hands its series (displacement against story level) to the
// multi-graph view that the document opens, with the captions of both graphs.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "module/graphs/CPVXMultiGraphView.h"
#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "module/model/I_PVXModel.h"
#include "module/resources/PVXResources.h"

namespace {

// A document that opens (or refuses) a graph view and remembers the captions it was asked for.
class GraphDoc : public CDBDoc {
public:
    CPVXMultiGraphView* OpenGraphView(LPCTSTR pszCaption) override {
        captions.emplace_back(pszCaption);
        return pView;
    }
    CPVXMultiGraphView* pView = nullptr;
    std::vector<std::string> captions;
};

// Storeys of the test building, heights in m, from the ground up.
const double kStoryHeights[] = {4.2, 3.3, 3.3, 3.0};

// Story levels: the ground (0) and the top of each storey, 0, 4.2, 7.5, 10.8, 13.8.
std::vector<double> StoryLevels() {
    std::vector<double> levels{0.0};
    for (double h : kStoryHeights) levels.push_back(levels.back() + h);
    return levels;
}

// One series per mode: displacement at each level (zero at the ground) against the level.
void FillSeries(PVXGraphSeriesMap& map, UINT nMode, const std::vector<double>& disp) {
    auto* p = new PVXGraphSeries;
    const std::vector<double> levels = StoryLevels();
    for (size_t i = 0; i < levels.size(); ++i) {
        T_GRPH_D pt{disp[i], levels[i]};
        p->Add(pt);
    }
    map.SetAt(nMode, p);
}

void FreeSeries(PVXGraphSeriesMap& map) {
    POSITION pos = map.GetStartPosition();
    while (pos) {
        UINT key;
        PVXGraphSeries* p = nullptr;
        map.GetNextAssoc(pos, key, p);
        delete p;
    }
    map.RemoveAll();
}

class ModeShapeGraphTest : public ::testing::Test {
protected:
    void SetUp() override {
        PVXRegisterResources();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
    }
    void TearDown() override {
        m_model.reset();
        FreeSeries(m_left);
        FreeSeries(m_right);
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    static CString Caption() { return CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Figure_Mode_Shape", 0); }

    GraphDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    CPVXMultiGraphView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    PVXGraphSeriesMap m_left, m_right;
};

}  // namespace

TEST_F(ModeShapeGraphTest, BothGraphsGetTheSeriesAgainstStoryLevelsAndTheirCaptions) {
    // Mode 1 sways one way, mode 2 reverses above mid-height.
    FillSeries(m_left, 1, {0.0, 0.21, 0.47, 0.74, 1.0});
    FillSeries(m_left, 2, {0.0, -0.62, -0.55, 0.18, 1.0});
    FillSeries(m_right, 1, {0.0, 0.05, 0.11, 0.16, 0.2});
    m_doc.pView = &m_view;
    m_model->Draw2DGraph(m_left, m_right);

    ASSERT_EQ(m_doc.captions.size(), 1u);
    EXPECT_EQ(m_doc.captions[0], std::string(Caption().GetString()));
    EXPECT_EQ(m_model->m_pMultiGraphView, &m_view);
    EXPECT_EQ(m_view.GetPointer(), m_model.get());

    // The caller may free its arrays at once: the view keeps its own copies.
    FreeSeries(m_left);
    FreeSeries(m_right);

    const double levels[] = {0.0, 4.2, 7.5, 10.8, 13.8};
    struct Row {
        const char* label;
        const CPVX2DGraphWnd& graph;
        const char* xLabel;
        UINT mode;
        std::vector<double> disp;
    } rows[] = {
        {"left mode 1", m_view.GetLeftGraph(), "UX", 1, {0.0, 0.21, 0.47, 0.74, 1.0}},
        {"left mode 2", m_view.GetLeftGraph(), "UX", 2, {0.0, -0.62, -0.55, 0.18, 1.0}},
        {"right mode 1", m_view.GetRightGraph(), "UY", 1, {0.0, 0.05, 0.11, 0.16, 0.2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(row.graph.GetTitle(), Caption());
        EXPECT_EQ(row.graph.GetXLabel(), CString(row.xLabel));
        EXPECT_EQ(row.graph.GetThird(), CString("Level"));
        PVXGraphSeries* p = nullptr;
        ASSERT_TRUE(row.graph.GetSeries().Lookup(row.mode, p));
        ASSERT_EQ(p->GetSize(), 5);
        for (int i = 0; i < 5; ++i) {
            EXPECT_DOUBLE_EQ(p->GetAt(i).x, row.disp[i]);
            EXPECT_NEAR(p->GetAt(i).y, levels[i], 1e-12);
        }
    }
    EXPECT_EQ(m_view.GetLeftGraph().GetSeries().GetCount(), 2);
    EXPECT_EQ(m_view.GetRightGraph().GetSeries().GetCount(), 1);

    // The model's destruction tells the view to forget it.
    m_model.reset();
    EXPECT_EQ(m_view.GetPointer(), nullptr);
}

TEST_F(ModeShapeGraphTest, WithoutDocumentOrViewNothingIsPassed) {
    FillSeries(m_left, 1, {0.0, 0.2, 0.4, 0.6, 0.8});
    FillSeries(m_right, 1, {0.0, 0.1, 0.2, 0.3, 0.4});
    CPVXMultiGraphView earlier;
    m_model->m_pMultiGraphView = &earlier;

    // No document: nothing happens, the stored view stays.
    CDBDoc::m_pDBDoc = nullptr;
    m_model->Draw2DGraph(m_left, m_right);
    EXPECT_EQ(m_model->m_pMultiGraphView, &earlier);
    EXPECT_TRUE(m_doc.captions.empty());
    EXPECT_TRUE(earlier.GetLeftGraph().GetSeries().IsEmpty());
    EXPECT_EQ(earlier.GetPointer(), nullptr);

    // The document opens no view: the stored view is forgotten and no data go anywhere.
    CDBDoc::m_pDBDoc = &m_doc;
    m_model->Draw2DGraph(m_left, m_right);
    EXPECT_EQ(m_doc.captions.size(), 1u);
    EXPECT_EQ(m_model->m_pMultiGraphView, nullptr);
    EXPECT_TRUE(earlier.GetLeftGraph().GetSeries().IsEmpty());
    EXPECT_TRUE(earlier.GetRightGraph().GetSeries().IsEmpty());
    EXPECT_EQ(earlier.GetPointer(), nullptr);
}

TEST_F(ModeShapeGraphTest, ANewSetWithoutSeriesEmptiesTheGraphInsteadOfShowingTheLastOne) {
    m_doc.pView = &m_view;
    FillSeries(m_left, 1, {0.0, 0.2, 0.4, 0.6, 0.8});
    FillSeries(m_right, 1, {0.0, 0.1, 0.2, 0.3, 0.4});
    m_model->Draw2DGraph(m_left, m_right);
    ASSERT_EQ(m_view.GetRightGraph().GetSeries().GetCount(), 1);

    // The next mode has no Y graph.
    FreeSeries(m_left);
    FreeSeries(m_right);
    FillSeries(m_left, 3, {0.0, 0.3, 0.5, 0.7, 0.9});
    m_model->Draw2DGraph(m_left, m_right);
    PVXGraphSeries* p = nullptr;
    EXPECT_TRUE(m_view.GetLeftGraph().GetSeries().Lookup(3, p));
    EXPECT_FALSE(m_view.GetLeftGraph().GetSeries().Lookup(1, p)) << "the old left series is replaced";
    EXPECT_TRUE(m_view.GetRightGraph().GetSeries().IsEmpty()) << "no stale Y graph";
}
