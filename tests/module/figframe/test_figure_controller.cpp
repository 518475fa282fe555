// The figure controller with recording figures: base-map kinds, selection, the drawing road
// (order, notes, one draw per pass, borrowed settings, title and hints), the base-map merge,
// switching base maps, load cases without a figure view and the caption link walk.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/vdraw/CVdView.h"
#include "module/figures/CPVXFigure.h"

namespace {

std::vector<std::string> g_log;

// Records what the controller asks of it; SetDefaultOptions writes the check figures' defaults
// into whatever record is attached.
class RecFigure : public CFVDBase {
public:
    std::list<EFigureType> extra;  // ClearBaseMapList's answer
    bool writesDefaults = false;
    void DrawFigure() override {
        g_log.push_back("draw " + std::to_string(GetType()) + " notes " + std::to_string(GetNotesFlag()) +
                        " precision " + std::to_string(static_cast<int>(GetDisplaySettings()->m_dPrecision)) +
                        " load " + std::to_string(GetCurLoadCase()));
    }
    void SetDefaultOptions() override {
        if (!writesDefaults) return;
        GetDisplaySettings()->m_nRatio = 1;
        GetDisplaySettings()->m_dPrecision = 2.0;
    }
    void ClearBaseMapList(std::list<EFigureType>& out) override { out = extra; }
    void CollectLoadCases(std::map<UINT, CString>& out) override {
        out[3] = "C3";
        out[4] = "C4";
    }
    void CreateLayers() override { g_log.push_back("display " + std::to_string(GetType())); }
};

// The host document: records hints, opens one figure view.
class RecDoc : public CDBDoc {
public:
    std::vector<long> hints;
    CVdView view;
    bool hasView = true;
    void UpdateAllViews(CView*, LPARAM hint, CObject*) override { hints.push_back(static_cast<long>(hint)); }
    CView* OpenFigureView(LPCTSTR) override { return hasView ? &view : nullptr; }
};

// The controller with its catalogue filled by the test.
class TestCatalogue : public CPVXFigure {
public:
    RecFigure* Add(EFigureType t, std::list<EFigureType> baseMaps = {}) {
        auto* f = new RecFigure;
        f->SetType(t);
        f->GetBaseMapListRef() = baseMaps;
        m_Figures[t] = f;
        return f;
    }
    sFVDBaseInformation& Record(EFigureType t, const char* caption) {
        sFVDBaseInformation& r = m_Records[t];
        r.eType = t;
        r.strCaption = caption;
        return r;
    }
    void AddSource(EFigureType t) { m_BaseMapSources[t] = t; }
    using CPVXFigure::GetBaseMapListEx;
};

CArray<UINT> Types(std::initializer_list<UINT> list) {
    CArray<UINT> a;
    for (UINT t : list) a.Add(t);
    return a;
}

class FigureControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        m_saved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
    }
    void TearDown() override { CDBDoc::m_pDBDoc = m_saved; }
    RecDoc m_doc;
    CDBDoc* m_saved = nullptr;
};

TEST_F(FigureControllerTest, KindsOfCatalogueTypes) {
    static_assert(!std::is_copy_constructible_v<CPVXFigure> && !std::is_copy_assignable_v<CPVXFigure>,
                  "a copy would delete the figure objects twice");
    const std::pair<int, int> rows[] = {{20, 2}, {21, 1}, {90, 1}, {91, -1}, {98, -1}, {99, 0}, {602, 0}, {0, 2}};
    for (const auto& [type, kind] : rows) {
        SCOPED_TRACE(type);
        EXPECT_EQ(CPVXFigure::isBaseMap(static_cast<EFigureType>(type)), kind);
    }
}

TEST_F(FigureControllerTest, SelectionAndTheCurrentLoadCase) {
    TestCatalogue cat;
    RecFigure* a = cat.Add(EFVDT_MTSB_CHECK_CZL);
    cat.Add(EFVDT_MTSB_DESIGN_Force);
    struct Step {
        const char* label;
        EFigureType type;
        int mode;
        EFigureType curType;
        CFVDBase* curFigure;
        UINT loadCase, groupKey;
    };
    const Step steps[] = {
        {"nothing selected", EFVDT_NONE, -1, EFVDT_NONE, nullptr, static_cast<UINT>(-1), 0},
        {"select 500", EFVDT_MTSB_CHECK_CZL, 0, EFVDT_MTSB_CHECK_CZL, a, 3, 3},
        {"500 again", EFVDT_MTSB_CHECK_CZL, 0, EFVDT_MTSB_CHECK_CZL, a, 3, 3},
        {"510 with mode 1 keeps the figure", EFVDT_MTSB_DESIGN_Force, 1, EFVDT_MTSB_DESIGN_Force, a, 3, 3},
        {"a type without object", EFVDT_SINK_MATTILT, 0, EFVDT_SINK_MATTILT, nullptr, static_cast<UINT>(-1), 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.label);
        if (s.mode >= 0) {
            a->SetModify(0);
            cat.SetCurentSelItem(s.type, s.mode);
        }
        NMFVD nm;
        EXPECT_EQ(cat.GetCurentSelItem(&nm), s.curType);
        EXPECT_EQ(cat.GetCurFVDBase(), s.curFigure);
        EXPECT_EQ(cat.GetCurLoadCase(), s.loadCase);
        EXPECT_EQ(cat.GetCurLoadGroupKey(), s.groupKey);
        EXPECT_NE(nm.pDrawn, nullptr);
        EXPECT_EQ(nm.pSettings != nullptr, s.curFigure != nullptr);
    }
    // Selecting 500 made it modified and built its load-case list.
    TestCatalogue fresh;
    RecFigure* b = fresh.Add(EFVDT_MTSB_CHECK_CZL);
    b->SetModify(0);
    fresh.SetCurentSelItem(EFVDT_MTSB_CHECK_CZL, 0);
    EXPECT_TRUE(b->IsModified());
    ASSERT_NE(fresh.GetLoadCase(), nullptr);
    EXPECT_EQ(fresh.GetLoadCase()->size(), 2u);
}

TEST_F(FigureControllerTest, TheDrawingRoadDrawsBaseMapsOnceThenTheFigure) {
    TestCatalogue cat;
    RecFigure* a = cat.Add(EFVDT_MTSB_CHECK_CZL, {EFVDT_BaseMap_Top_Column, EFVDT_BaseMap_QSN_COLF});
    RecFigure* c = cat.Add(EFVDT_MTSB_DESIGN_Force, {EFVDT_BaseMap_Top_Column});
    c->extra = {EFVDT_BaseMap_Top_Column};  // C asks for map 32 again
    for (EFigureType t : {EFVDT_BaseMap_Top_Column, EFVDT_BaseMap_QSN_COLF}) cat.Add(t)->writesDefaults = true;
    cat.Record(EFVDT_MTSB, "Raft");
    cat.Record(EFVDT_MTSB_CHECK_CZL, "Bearing").pLink = cat.GetFigureData(EFVDT_MTSB);
    cat.SetCurentSelItem(EFVDT_MTSB_CHECK_CZL, 0);
    a->GetDisplaySettings()->m_dPrecision = 3.0;  // the user's panel settings
    a->GetDisplaySettings()->m_nRatio = 0;

    cat.DisplayFigureDlgData(Types({500, 510}), FALSE);
    const std::vector<std::string> expected = {
        "display 500",
        "display 32", "draw 32 notes 0 precision 3 load 0",
        "display 41", "draw 41 notes 0 precision 3 load 0",
        "draw 500 notes 1 precision 3 load 3",
        "display 510", "draw 510 notes 0 precision 3 load 0",
    };
    EXPECT_EQ(g_log, expected);
    EXPECT_EQ(a->GetDisplaySettings()->m_dPrecision, 3.0) << "the current figure's settings were overwritten";
    EXPECT_EQ(a->GetDisplaySettings()->m_nRatio, 0);
    EXPECT_EQ(cat.GetFVDBase(EFVDT_BaseMap_Top_Column)->GetAttachedSettings(), nullptr) << "own settings back";
    EXPECT_EQ(m_doc.hints, (std::vector<long>{113, 114}));
    EXPECT_EQ(cat.GetFigureTitle(), CString("Raft\\Bearing"));
    EXPECT_EQ(cat.GetFigureView(), &m_doc.view);
}

TEST_F(FigureControllerTest, ExtraBaseMapsMergeInTypeOrder) {
    struct Row {
        const char* label;
        std::vector<std::vector<int>> extras;  // per figure 510, 513 (types above 99)
        std::vector<int> merged;
    };
    const Row rows[] = {
        {"two lists", {{33, 91}, {32, 91}}, {32, 33, 91, 91}},
        {"unsorted answers", {{92, 32}, {41}}, {32, 41, 92}},
        {"none", {{}, {}}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        TestCatalogue cat;
        const EFigureType figs[] = {EFVDT_MTSB_DESIGN_Force, EFVDT_MTSB_DESIGN_AS};
        for (int i = 0; i < 2; ++i) {
            RecFigure* f = cat.Add(figs[i]);
            for (int t : r.extras[i]) f->extra.push_back(static_cast<EFigureType>(t));
        }
        // A base map (not above 99) is not asked.
        cat.Add(EFVDT_BaseMap_QSN_MTSB)->extra = {EFVDT_BaseMap_QSN_AXIG};
        std::list<EFigureType> out{EFVDT_SINK_MATTILT};
        EXPECT_EQ(cat.GetBaseMapListEx(Types({510, 513, 43}), out), static_cast<int>(r.merged.size()));
        EXPECT_EQ(std::vector<int>(out.begin(), out.end()), r.merged);
    }
}

TEST_F(FigureControllerTest, SwitchingBaseMapsOnAndOff) {
    struct Row {
        const char* label;
        EFigureType type;
        BOOL on, notify;
        std::vector<int> list;
        std::vector<long> hints;
    };
    const Row rows[] = {
        {"45 is not a source: only removed", EFVDT_BaseMap_QSN_PILE_Info, 1, 1, {32}, {}},
        {"32 on with notice", EFVDT_BaseMap_Top_Column, 1, 1, {45, 32}, {113}},
        {"32 on quietly", EFVDT_BaseMap_Top_Column, 1, 0, {45, 32}, {}},
        {"32 off", EFVDT_BaseMap_Top_Column, 0, 1, {45}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        TestCatalogue cat;
        cat.AddSource(EFVDT_BaseMap_Top_Column);
        RecFigure* f = cat.Add(EFVDT_ISO_CHECK_CZL, {EFVDT_BaseMap_Top_Column, EFVDT_BaseMap_QSN_PILE_Info});
        cat.SetCurentSelItem(EFVDT_ISO_CHECK_CZL, 0);
        m_doc.hints.clear();
        cat.ResetBaseMapEnable(r.type, r.on, r.notify);
        const auto& list = f->GetBaseMapListRef();
        EXPECT_EQ(std::vector<int>(list.begin(), list.end()), r.list);
        EXPECT_EQ(m_doc.hints, r.hints);
    }
}

TEST_F(FigureControllerTest, LoadCasesAndRedrawsWithAndWithoutTheFigureView) {
    struct Row {
        const char* label;
        bool viewOpen;
        bool redraw;  // Redraw(1, 1, 1) after choosing load 4, else ResetLoadCase(4, 1)
        std::vector<std::string> log;
        std::vector<long> hints;
    };
    const Row rows[] = {
        {"closed view: load taken, nothing drawn", false, false, {}, {}},
        {"closed view, redraw", false, true, {}, {112}},
        {"open view: base map again, then the figure",
         true,
         false,
         {"display 32", "draw 32 notes 0 precision 0 load 0", "draw 500 notes 1 precision 0 load 4"},
         {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        TestCatalogue cat;
        RecFigure* a = cat.Add(EFVDT_MTSB_CHECK_CZL, {EFVDT_BaseMap_Top_Column});
        cat.Add(EFVDT_BaseMap_Top_Column);
        cat.SetCurentSelItem(EFVDT_MTSB_CHECK_CZL, 0);
        if (r.viewOpen) {
            cat.DisplayFigureDlgData(Types({500}), FALSE);
        } else {
            m_doc.hasView = false;
        }
        g_log.clear();
        m_doc.hints.clear();
        if (r.redraw) {
            a->SetLoadCase(4);
            cat.Redraw(1, 1, 1);
        } else {
            cat.ResetLoadCase(4, 1);
        }
        EXPECT_EQ(a->GetCurLoadCase(), 4u);
        EXPECT_EQ(g_log, r.log);
        EXPECT_EQ(m_doc.hints, r.hints);
        m_doc.hasView = true;
    }
}

TEST_F(FigureControllerTest, CaptionsWalkTheirLinksAndStopAtACycle) {
    TestCatalogue cat;
    sFVDBaseInformation& a = cat.Record(EFVDT_ISO, "A");
    sFVDBaseInformation& b = cat.Record(EFVDT_ISO_CHECK_CZL, "B");
    sFVDBaseInformation& c = cat.Record(EFVDT_ISO_CHECK_CQ, "C");
    sFVDBaseInformation& s = cat.Record(EFVDT_SINK, "S");
    b.pLink = &a;
    c.pLink = &b;
    s.pLink = &s;
    sFVDBaseInformation& x = cat.Record(EFVDT_PILE, "X");
    sFVDBaseInformation& y = cat.Record(EFVDT_BEAN, "Y");
    x.pLink = &y;
    y.pLink = &x;
    const std::pair<EFigureType, const char*> rows[] = {
        {EFVDT_ISO, "A"},   {EFVDT_ISO_CHECK_CZL, "A: B"}, {EFVDT_ISO_CHECK_CQ, "A: B: C"},
        {EFVDT_SINK, "S"},  {EFVDT_PILE, "Y: X"},          {EFVDT_MTSB, ""},
    };
    for (const auto& [type, text] : rows) {
        SCOPED_TRACE(type);
        EXPECT_EQ(cat.GetItemDescription(type, ": "), CString(text));
    }
}

}  // namespace
