// The figure base: its layers and text styles in a real drawing, unit changes, the load-case
// rules, the notes block, the title rule, band colours and whose settings get defaults.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "host/base/CMsgDll.h"
#include "host/base/CurrentUnitCtrl.h"
#include "host/db/CDBDoc.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDBase.h"

namespace {

// A figure whose load cases and defaults the test chooses.
class FakeFigure : public CFVDBase {
public:
    std::vector<UINT> keys;
    int defaults = 0;
    CString description;  // the notes' description lines; empty for none
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override {
        if (description.IsEmpty()) return 0;
        colours.Add(0x0000FF);
        text = description;
        return 1;
    }
    void CollectLoadCases(std::map<UINT, CString>& out) override {
        for (UINT k : keys) out[k] = "LC";
    }
    void SetDefaultOptions() override {
        ++defaults;
        GetDisplaySettings()->m_nRatio = 1;
        GetDisplaySettings()->m_dPrecision = 2.0;
    }
};

class FigureBaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
    }
    void TearDown() override {
        CDBDoc::m_pDBDoc = m_saved;
        CurrentUnitCtrl::SetLengthUnit(1.0);
    }
    CDBDoc m_doc;
    CDBDoc* m_saved = nullptr;
};

TEST_F(FigureBaseTest, TheTwelveBaseLayersHaveTheirIdsColoursPensAndCaptions) {
    struct Row {
        int id;
        const char* key;  // null: the literal caption
        COLORREF colour;
        int pen;
    };
    const Row rows[] = {
        {22, "IDS_TBX_PVX_QSN_Figure_Layer_Colf", 0xFFFF00, 999},
        {20, "IDS_TBX_PVX_QSN_Figure_Layer_Beam", 0x0080FF, 999},
        {11, "IDS_TBX_PVX_QSN_Figure_Layer_Wall", 0xFF0000, 999},
        {10, "IDS_TBX_PVX_QSN_Figure_Layer_Column", 0x00FFFF, 999},
        {21, "IDS_TBX_PVX_QSN_Figure_Layer_Mtsb", 0xFF8080, 999},
        {23, "IDS_TBX_PVX_QSN_Figure_Layer_Pile", 0xFF8080, 999},
        {24, "IDS_TBX_PVX_QSN_Figure_Layer_Pile_Info", 0xFFFF80, 999},
        {50, "IDS_TBX_PVX_QSN_Figure_Layer_Text", 0x00FF00, 999},
        {101, "IDS_TBX_PVX_QSN_Figure_Layer_Force", 0xFFFFFF, 999},
        {26, "IDS_TBX_PVX_QSN_Figure_Layer_Axis", 0x808080, 101},
        {27, "IDS_TBX_PVX_QSN_Figure_Layer_SinkMesh", 0x00FF00, 999},
        {25, nullptr, 0xFF8080, 999},
    };
    CVdrawUtil drawing;
    FakeFigure fig;
    fig.SetType(EFVDT_ISO_CHECK_CZL);
    fig.Display(&drawing);
    EXPECT_EQ(fig.GetLayerRecord().size(), 12u);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        const VdLayer* layer = drawing.GetLayer(r.id);
        ASSERT_NE(layer, nullptr);
        const CString caption = r.key ? CMsgDll::pfuncLoadStr(r.key, 0) : CString("筏板子单元");
        EXPECT_EQ(layer->caption, caption);
        EXPECT_EQ(fig.GetLayerRecord().at(r.id), caption);
        EXPECT_EQ(layer->colour, r.colour);
        EXPECT_EQ(layer->pen, r.pen);
        EXPECT_EQ(layer->width, 0);
    }
    // No drawing: nothing is set up.
    FakeFigure lone;
    lone.Display(nullptr);
    EXPECT_TRUE(lone.GetLayerRecord().empty());
    EXPECT_TRUE(lone.GetTextStyleRecord().empty());
}

TEST_F(FigureBaseTest, TextStyleHeightsAreMetresInTheCurrentLengthUnit) {
    // Heights 0.25, 0.1, 0.5, 0.4, 0.4 m; in millimetres (1 mm = 0.001 m) 250, 100, 500, 400, 400.
    struct Row {
        double cur2m;
        int id;
        const char* key;
        double height;
        int bold, underline;
    };
    const Row rows[] = {
        {0.001, 10, "IDS_MAIN_FIGURE_Text_Contents", 250.0, 0, 0},
        {0.001, 11, "IDS_MAIN_FIGURE_Text_Detaile", 100.0, 0, 0},
        {0.001, 20, "IDS_MAIN_FIGURE_Text_Titla", 500.0, 1, 1},
        {0.001, 21, "IDS_MAIN_FIGURE_Text_LoadCase", 400.0, 0, 0},
        {0.001, 22, "IDS_MAIN_FIGURE_Text_Scale", 400.0, 0, 0},
        {1.0, 10, "IDS_MAIN_FIGURE_Text_Contents", 0.25, 0, 0},
        {1.0, 20, "IDS_MAIN_FIGURE_Text_Titla", 0.5, 1, 1},
        {1.0, 22, "IDS_MAIN_FIGURE_Text_Scale", 0.4, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.cur2m) + " " + r.key);
        CurrentUnitCtrl::SetLengthUnit(r.cur2m);
        CVdrawUtil drawing;
        FakeFigure fig;
        fig.Display(&drawing);
        const CString name = CMsgDll::pfuncLoadStr(r.key, 0);
        EXPECT_EQ(fig.GetTextStyleRecord().at(r.id), name);
        sEVETextStyle style;
        ASSERT_TRUE(drawing.GetTextStyle(name, style));
        EXPECT_NEAR(style.dHeight, r.height, 1e-9);
        EXPECT_EQ(style.strFaceName, CString("宋体"));
        EXPECT_TRUE(style.strName.IsEmpty());
        EXPECT_EQ(style.nBold, r.bold);
        EXPECT_EQ(style.nUnderline, r.underline);
        EXPECT_EQ(style.nItalic, 0);
        // The figure's id selects the style.
        ASSERT_TRUE(drawing.SetCurrentTextStyle(r.id));
        EXPECT_EQ(drawing.GetStyleName(drawing.GetCurrentTextStyle()), name);
    }
}

TEST_F(FigureBaseTest, AUnitChangeScalesTheRecordedTextStyles) {
    struct Row {
        const char* label;
        double factor;
        bool display;      // styles set up in a drawing
        BOOL result;
        double titleHeight;  // style 20 afterwards (0.5 m before)
    };
    const Row rows[] = {
        {"factor 1: nothing to do", 1.0, true, 1, 0.5},
        {"factor 1000", 1000.0, true, 1, 500.0},
        {"factor 0.001", 0.001, true, 1, 0.0005},
        {"no drawing, no styles", 1000.0, false, 0, 0.0},
        {"factor 0 is ignored", 0.0, true, 1, 0.5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        m_doc.GetUnitCtrl()->SetLengthChange(r.factor);
        CVdrawUtil drawing;
        FakeFigure fig;
        if (r.display) fig.Display(&drawing);
        EXPECT_EQ(fig.InitUnits(), r.result);
        if (r.display) {
            sEVETextStyle style;
            ASSERT_TRUE(drawing.GetTextStyle(fig.GetTextStyleRecord().at(20), style));
            EXPECT_NEAR(style.dHeight, r.titleHeight, 1e-12);
        }
    }
    m_doc.GetUnitCtrl()->SetLengthChange(1.0);
    CDBDoc::m_pDBDoc = nullptr;
    FakeFigure noDoc;
    EXPECT_EQ(noDoc.InitUnits(), 0) << "no document, no unit control";
}

TEST_F(FigureBaseTest, LoadCaseMapAndSelectionRules) {
    // One figure through the steps in order.
    struct Step {
        const char* label;
        std::vector<UINT> keys;  // what the figure offers from this step on
        bool rebuild;            // GetLoadCaseMap, else SetLoadCase(key)
        UINT key;
        BOOL result;
        UINT current;
    };
    const Step steps[] = {
        {"map {7}: 7 becomes current", {7}, true, 0, 0, 7},
        {"map {5, 9}: 7 is gone, the smallest key", {5, 9}, true, 0, 0, 5},
        {"select 9", {5, 9}, false, 9, 1, 9},
        {"select 9 again", {5, 9}, false, 9, 0, 9},
        {"select 4, not offered: the smallest", {5, 9}, false, 4, 1, 5},
        {"empty map: key 0", {}, true, 0, 0, 0},
        {"select 3 with nothing offered", {}, false, 3, 0, 0},
    };
    FakeFigure fig;
    fig.SetType(EFVDT_MTSB_CHECK_CZL);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.label);
        fig.keys = s.keys;
        if (s.rebuild)
            EXPECT_EQ(fig.GetLoadCaseMap()->size(), s.keys.size());
        else
            EXPECT_EQ(fig.SetLoadCase(s.key), s.result);
        EXPECT_EQ(fig.GetCurLoadCase(), s.current);
    }
    // A figure above 90 with an empty map builds it before choosing.
    FakeFigure fresh;
    fresh.SetType(EFVDT_Pile_CHECK_CZL);
    fresh.keys = {8, 12};
    EXPECT_EQ(fresh.SetLoadCase(12), 1);
    EXPECT_EQ(fresh.GetCurLoadCase(), 12u);
}

TEST_F(FigureBaseTest, NotesStartBelowTheDrawingsBottomCentre) {
    // P = ((xmin + xmax) / 2 / s, ymin / s - 0.05 |ymax - ymin| / s), the box in drawing units.
    struct Row {
        const char* label;
        double scale;
        double x1, y1, x2, y2;  // a line, model units
        bool drawn;
        double px, py;
    };
    const Row rows[] = {
        // box (0, 0, 100, 50): (50 / 2, 0 - 0.05 * 50 / 2)
        {"scale 2", 2.0, 0, 0, 50, 25, true, 25.0, -1.25},
        // box (10, 20, 30, 60): (20, 20 - 0.05 * 40)
        {"scale 1", 1.0, 10, 20, 30, 60, true, 20.0, 18.0},
        {"empty drawing", 1.0, 0, 0, 0, 0, false, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CVdrawUtil drawing;
        FakeFigure fig;
        fig.SetType(EFVDT_ISO_CHECK_CZL);
        fig.Display(&drawing);
        drawing.SetDrawScale(r.scale);
        if (r.drawn) drawing.DrawLine(r.x1, r.y1, r.x2, r.y2);
        T_POINT2D at;
        ASSERT_EQ(fig.GetNotesAnchor(at), r.drawn ? TRUE : FALSE);
        if (!r.drawn) continue;
        EXPECT_NEAR(at.x, r.px, 1e-12);
        EXPECT_NEAR(at.y, r.py, 1e-12);
    }
}

TEST_F(FigureBaseTest, OnlyFiguresAbove90DrawNotesAndOnlyOnADrawing) {
    struct Row {
        const char* label;
        EFigureType type;
        BOOL flag;
        bool content;      // something drawn before the notes
        BOOL stored;       // GetNotesFlag
        bool notesDrawn;
    };
    const Row rows[] = {
        {"figure, flag on", EFVDT_ISO_CHECK_CZL, 1, true, 1, true},
        {"figure, flag off", EFVDT_ISO_CHECK_CZL, 0, true, 0, false},
        {"base map, flag on", EFVDT_BaseMap_QSN_COLF, 1, true, 0, false},
        {"type 90, flag on", static_cast<EFigureType>(90), 1, true, 0, false},
        {"figure on an empty drawing", EFVDT_ISO_CHECK_CZL, 1, false, 1, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CVdrawUtil drawing;
        FakeFigure fig;
        fig.SetType(r.type);
        fig.description = "Note";  // no catalogue here: the title is empty, the description shows
        fig.Display(&drawing);
        EXPECT_EQ(fig.SetNotesFlag(r.flag), r.stored);
        EXPECT_EQ(fig.GetNotesFlag(), r.stored);
        if (r.content) drawing.DrawLine(0, 0, 10, 10);
        const int before = drawing.GetFigureCount();
        fig.DrawFigureNotes();
        EXPECT_EQ(drawing.GetFigureCount() > before, r.notesDrawn);
        if (r.notesDrawn) {
            // The description sits on the text layer below the drawing (the line ends at y = 0),
            // in its own colour; the drawing scale follows it.
            ASSERT_EQ(drawing.GetFigureCount(), before + 2);
            const CvdFigure* scale = drawing.GetFigure(drawing.GetFigureIds()[before + 1]);
            ASSERT_NE(scale, nullptr);
            EXPECT_EQ(scale->m_text.Right(4), CString(" 1:1"));
            EXPECT_LT(scale->m_points[0].y, 0.0);
            const CvdFigure* text = drawing.GetFigure(drawing.GetFigureIds()[before]);
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(text->m_text, CString("Note"));
            EXPECT_EQ(text->GetLayer(), FVD_LAYER_TEXT);
            EXPECT_LT(text->m_points[0].y, 0.0);
            EXPECT_EQ(text->m_colour, 0x0000FFu);
        }
    }
    // The base figure has no description.
    CFVDBase plain;
    CArray<COLORREF> colours;
    CString text;
    EXPECT_EQ(plain.GetDescription(colours, text), 0);
}

TEST_F(FigureBaseTest, TitleKeepsTheFirstAndLastPartOfACaption) {
    struct Row {
        const char* caption;
        const char* title;
    };
    const Row rows[] = {
        {"A: B: C", "A: C"}, {"A: B", "A: B"},       {"ABC", "ABC"},
        {":X: Y", ":X: Y"},  {"A:B:C:D", "A:D"},      {"", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.caption);
        EXPECT_EQ(CFVDBase::MakeTitleText(r.caption), CString(r.title));
    }
}

TEST_F(FigureBaseTest, BandColoursBlendBetweenLevels) {
    // Levels 0 .. 6 over scheme 0 (colours 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF,
    // 0xFF00FF, 0xAA00AA). Between levels each byte is hi - trunc((hi - lo) t), t the share left
    // to the upper level:
    //   0.5 between 0xFF0000 and 0xFFFF00: green 255 - trunc(127.5) = 128 -> 0xFF8000
    //   reversed 0.5 -> 5.5, between 0xFF00FF and 0xAA00AA: 170 - trunc(-42.5) = 212 -> 0xD400D4
    //   2.25 between 0x00FF00 and 0x00FFFF (t 0.75): red 255 - trunc(191.25) = 64 -> 0x00FF40
    T_ContourDataBase data;
    CArray<double> values;
    for (int i = 0; i <= 6; ++i) values.Add(i);
    data.SetData(values, nullptr, 0, 0);
    struct Row {
        double v;
        BOOL reversed;
        COLORREF colour;
    };
    const Row rows[] = {
        {-1.0, 0, 0xFF0000}, {0.0, 0, 0xFF0000}, {6.0, 0, 0xAA00AA}, {7.0, 0, 0xAA00AA},
        {3.0, 0, 0x00FFFF},  {0.5, 0, 0xFF8000}, {0.5, 1, 0xD400D4}, {2.25, 0, 0x00FF40},
        {6.0, 1, 0xFF0000},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.v) + (r.reversed ? " reversed" : ""));
        COLORREF c = 1;
        EXPECT_EQ(data.GetValueColor(r.v, c, r.reversed), 1);
        EXPECT_EQ(c, r.colour);
    }
    // Seven values take the scheme's seven colours; three spread the levels 0, 1 .. 6 and take
    // each value's colour.
    ASSERT_EQ(data.m_Colors.GetSize(), 7);
    EXPECT_EQ(data.m_Colors[4], 0x0000FFu);
    T_ContourDataBase three;
    CArray<double> v3;
    v3.Add(0.0);
    v3.Add(3.0);
    v3.Add(6.0);
    three.SetData(v3, nullptr, 0, 0);
    ASSERT_EQ(three.m_Colors.GetSize(), 3);
    EXPECT_EQ(three.m_Colors[0], 0xFF0000u);
    EXPECT_EQ(three.m_Colors[1], 0x00FFFFu);
    EXPECT_EQ(three.m_Colors[2], 0xAA00AAu);
    EXPECT_DOUBLE_EQ(three.m_dLevel[1], 1.0);
}

TEST_F(FigureBaseTest, DefaultsGoOnlyIntoTheFiguresOwnSettings) {
    struct Row {
        const char* label;
        bool borrowFirst;  // attach another figure's record before
        bool ownRecord;    // then attach null (the own defaults)
        int defaults;      // SetDefaultOptions calls
        int otherRatio;    // the borrowed record afterwards (was 0)
    };
    const Row rows[] = {
        {"own defaults first", false, true, 1, 0},
        {"borrowed record", true, false, 0, 0},
        {"borrowed, then own again", true, true, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        FakeFigure fig;
        sFVDDisplaySettings other;
        other.m_nRatio = 0;
        if (r.borrowFirst) {
            EXPECT_EQ(fig.SetSettings(&other), 1);
            EXPECT_EQ(fig.GetDisplaySettings(), &other);
        }
        if (r.ownRecord) fig.SetSettings(nullptr);
        EXPECT_EQ(fig.defaults, r.defaults);
        EXPECT_EQ(other.m_nRatio, r.otherRatio);
    }
    // Default record values and the ratio mode.
    FakeFigure plain;
    const sFVDDisplaySettings* s = plain.GetDisplaySettings();
    EXPECT_DOUBLE_EQ(s->m_dDrawScale, 1.0);
    EXPECT_DOUBLE_EQ(s->m_dScale2, 1.0);
    EXPECT_EQ(s->m_nRatio, -1);
    EXPECT_DOUBLE_EQ(s->m_dPrecision, 0.0);
    EXPECT_TRUE(plain.IsRatioMode());
}

TEST_F(FigureBaseTest, BaseMapListsByType) {
    struct Row {
        EFigureType type;
        std::vector<int> list;
    };
    const Row rows[] = {
        {EFVDT_BaseMap_QSN_COLF, {}},
        {static_cast<EFigureType>(90), {}},
        {EFVDT_BaseMap_QSN_Sbbd_M, {32, 41, 42, 43, 44}},
        {EFVDT_ISO_CHECK_CZL, {32, 41, 42, 43, 44}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.type);
        FakeFigure fig;
        fig.SetType(r.type);
        fig.Prepare(FALSE);
        std::list<EFigureType> got;
        EXPECT_EQ(fig.GetBaseMapList(got), !r.list.empty());
        EXPECT_EQ(std::vector<int>(got.begin(), got.end()), r.list);
        std::list<EFigureType> extra{EFVDT_BaseMap_Top_Wall};
        fig.ClearBaseMapList(extra);
        EXPECT_TRUE(extra.empty());
    }
}

}  // namespace
