// Figure texts over the check load groups of a project built in code: combination labels, the
// check figures' load-case lists, and the ratio label drawn in an outline on a real drawing.
#include <gtest/gtest.h>

#include "host/check/CheckData.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/vdraw/CVdrawUtil.h"
#include "host/vdraw/VdDrawingHandle.h"
#include "module/figures/FigureCheckText.h"
#include "module/figures/FigureText.h"

namespace {

struct Group {
    UINT key;
    int number, kind, blast, seismic, lcType;
    const char* text;
};

// Basic groups 5 (blast, 12), 6 (12), 7 (seismic, load-case type 3), 8 (a one-character text),
// 10 (vertical seismic); one standard group 9; one LDGP settlement group 30 (kind 2).
const Group kGroups[] = {
    {5, 12, LDGP_KIND_BASIC, 1, 0, 1, "1.2D+1.0B"}, {6, 12, LDGP_KIND_BASIC, 0, 0, 1, "1.3D+1.5L"},
    {7, 3, LDGP_KIND_BASIC, 0, 1, 3, "1.2D+1.3Ex"}, {8, 4, LDGP_KIND_BASIC, 0, 0, 1, "X"},
    {10, 5, LDGP_KIND_BASIC, 0, 2, 3, "1.2D+1.3Ez"}, {9, 1, LDGP_KIND_STANDARD, 0, 0, 1, "1.0D+1.0L"},
};

class FigureCheckTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        PostDBBuilder b;
        for (const Group& g : kGroups) {
            T_CKLG_D r;
            r.Initialize();
            r.number = g.number;
            r.kind = g.kind;
            r.blast = g.blast;
            r.seismic = g.seismic;
            r.lcType = g.lcType;
            std::snprintf(r.sort, sizeof r.sort, "%s", g.text);
            b.Add<DBT_CKLG>(g.key, r);
        }
        b.AddLoadGroup(30, LDGP_SETTLEMENT, "S1");
        b.Install(m_doc);
        m_pSaved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
        SetFigurePrecision(2);
    }
    void TearDown() override { CDBDoc::m_pDBDoc = m_pSaved; }
    CDBDoc m_doc;
    CDBDoc* m_pSaved = nullptr;
};

std::string Keys(const std::map<UINT, CString>& m) {
    std::string s;
    for (const auto& [k, v] : m) s += std::to_string(k) + " ";
    return s;
}

}  // namespace

TEST_F(FigureCheckTextTest, LoadCombLabels) {
    struct Row {
        UINT key;
        BOOL blank;
        const char* label;
    } rows[] = {{5, 0, "B12"}, {6, 0, "12"}, {5, 1, ""}, {99, 0, ""}, {30, 0, "30"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "key " << r.key << " blank " << r.blank);
        EXPECT_STREQ(MakeLoadCombLabel(r.key, r.blank), r.label);
    }
}

TEST_F(FigureCheckTextTest, LoadCaseLists) {
    const std::set<int> type3 = {3};
    struct Row {
        const char* label;
        int kind;
        BOOL unfavourable;
        const std::set<int>* filter;
        int equa;  // -1: CollectCheckLoadCases, else CollectCheckLoadCasesEx
        const char* keys;
    } rows[] = {
        {"basic, one-character text dropped, key 0 added", LDGP_KIND_BASIC, 1, nullptr, -1, "0 5 6 7 10 "},
        {"without the unfavourable entry", LDGP_KIND_BASIC, 0, nullptr, -1, "5 6 7 10 "},
        {"one combination gets no key 0", LDGP_KIND_STANDARD, 1, nullptr, -1, "9 "},
        {"settlement groups of LDGP", LDGP_KIND_QUASI, 1, nullptr, -1, "30 "},
        {"load-case type filter", LDGP_KIND_BASIC, 1, &type3, -1, "0 7 10 "},
        {"seismic filter 1 keeps the others", LDGP_KIND_BASIC, 1, nullptr, 1, "0 5 6 "},
        {"seismic filter 2 keeps the seismic", LDGP_KIND_BASIC, 1, nullptr, 2, "0 7 10 "},
        {"seismic filter 0 keeps all", LDGP_KIND_BASIC, 1, nullptr, 0, "0 5 6 7 10 "},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        std::map<UINT, CString> out;
        out[77] = "stale";
        const int n = r.equa < 0 ? CollectCheckLoadCases(out, r.kind, r.unfavourable, r.filter)
                                 : CollectCheckLoadCasesEx(out, r.kind, r.unfavourable, r.equa);
        EXPECT_EQ(Keys(out), r.keys);
        EXPECT_EQ(n, static_cast<int>(out.size()));
        if (out.count(0)) {
            EXPECT_STREQ(out[0], "最不利荷载组合");
        }
        if (out.count(7)) {
            EXPECT_STREQ(out[7], "1.2D+1.3Ex (地震)");  // a seismic group, marked
        }
    }
}

TEST_F(FigureCheckTextTest, RatioTextInAnOutline) {
    // Rectangle (0,0)-(4,2): anchor kind 1 is the top middle (2, 2). Check 250 / 200 = 1.25
    // passes; 150 / 200 = 0.75 fails. Value form: resistance "/" action.
    CArray<T_POINT2D> rect;
    for (const T_POINT2D& p : {T_POINT2D(0, 0), T_POINT2D(4, 0), T_POINT2D(4, 2), T_POINT2D(0, 2)}) rect.Add(p);
    struct Row {
        const char* label;
        double force, baseR;
        UINT comb;
        BOOL blank, ratioMode;
        const char* text;
        COLORREF colour;
    } rows[] = {
        {"ratio with the blast label", 200, 250, 5, 0, 1, "比值:1.25(B12)", 0x00FF00},
        {"blank label", 200, 150, 5, 1, 1, "比值:0.75", 0x0000FF},
        {"value over limit", 200, 250, 6, 0, 0, "比值:250.00/200.00(12)", 0x00FF00},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CVdrawUtil d;
        const int h = VdGetDrawingHandle(&d);
        CheckData_P c(r.force, r.baseR);
        DrawCheckRatioText(h, rect, 0.0, &c, r.comb, r.blank, r.ratioMode, 8);
        VdReleaseDrawingHandle(&d);
        ASSERT_EQ(d.GetFigureCount(), 1);
        const auto* f = d.GetFigure(d.GetFigureIds()[0]);
        EXPECT_STREQ(f->m_text, r.text);
        EXPECT_EQ(f->m_colour, r.colour);
        EXPECT_NEAR(f->m_points[0].x, 2.0, 1e-9);
        EXPECT_NEAR(f->m_points[0].y, 2.0, 1e-9);
    }
    CVdrawUtil d;
    const int h = VdGetDrawingHandle(&d);
    DrawCheckRatioText(h, rect, 0.0, nullptr, 5, 0, 1, 8);
    VdReleaseDrawingHandle(&d);
    EXPECT_EQ(d.GetFigureCount(), 0);
}
