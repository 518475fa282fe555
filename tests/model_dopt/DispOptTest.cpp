// Display options: every field filled from a host option manager with known values, the print
// and screen colour sets, the member colour rule and the gray-print substitution of the record.
#include "host/db/CDispOptMgr.h"
#include "host/grx/I_PVXCtrl.h"
#include "model/T_PVX_DOPT_D.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

// Known host values: screen colour k = S(k), print colour k = P(k); font k has height k + 1
// points, face "F<k>", text colour T(k), background B(k), transparent when k is odd; draw
// option k holds 10 k + j at value j.
COLORREF S(int k) { return 0x100000 + k; }
COLORREF P(int k) { return 0x200000 + k; }
COLORREF T(int k) { return 0x300000 + k; }
COLORREF B(int k) { return 0x400000 + k; }

std::unique_ptr<CDispOptMgr> KnownManager() {
    auto mgr = std::make_unique<CDispOptMgr>();
    COptColorObjNames cn;
    for (int k = 0; k < COptColorObjNames::COUNT; ++k) mgr->SetColor(cn[k], S(k), P(k));
    COptFontObjNames fn;
    for (int k = 0; k < COptFontObjNames::COUNT; ++k) {
        SDispOptFontVal v;
        v.m_strFaceName.Format("F%d", k);
        v.m_nHeight = k + 1;
        v.m_crText = T(k);
        v.m_crBack = B(k);
        v.m_bTransparent = k % 2;
        mgr->SetFont(fn[k], v);
    }
    COptDrawObjNames dn;
    for (int k = 0; k < COptDrawObjNames::COUNT; ++k)
        for (int j = 0; j < CDispOptDrawObj::COUNT; ++j) mgr->SetDraw(dn[k], j, 10 * k + j);
    return mgr;
}

// The triples read from the host: position (negative: the extra triples), line, face, edge.
struct TripleName {
    int pos, line, face, edge;
};
const TripleName kTriples[] = {
    {0, 108, 109, 110}, {1, 21, 20, 21},  {2, 25, 24, 25},  {3, 18, 19, 18},   {4, 31, 30, 31},   {5, 27, 26, 27},
    {6, 35, 34, 35},    {10, 23, 22, 23}, {14, 38, 37, 38}, {18, 46, 45, 46},  {22, 44, 43, 44},  {26, 29, 28, 29},
    {30, 42, 41, 42},   {-1, 94, 95, 94}, {-2, 103, 104, 103}, {-3, 97, 98, 97},
};
const int kLegendNames[9] = {141, 140, 142, 143, 145, 144, 146, 147, 148};

const T_PVX_COLOR3_D& Triple(const T_PVX_DOPT_D& d, int pos) {
    return pos >= 0 ? d.m_Color.m_aTypeColor[pos] : d.m_Color.m_aTypeColorEx[-pos - 1];
}

// Checks the colour set and fonts against the known manager: colours of the print set from
// P() (except the triples), fonts from the given names.
void ExpectColorsAndFonts(const T_PVX_DOPT_D& d, bool print) {
    auto C = [print](int k) { return print ? P(k) : S(k); };
    EXPECT_EQ(d.m_Color.m_crBackground, C(0));
    EXPECT_EQ(d.m_Color.m_crInactive, C(130));
    EXPECT_EQ(d.m_Color.m_crUndeformed, C(129));
    EXPECT_EQ(d.m_Color.m_crContourLine, C(210));
    for (const TripleName& t : kTriples) {
        SCOPED_TRACE(testing::Message() << "triple " << t.pos);
        EXPECT_EQ(Triple(d, t.pos).crLine, S(t.line));
        EXPECT_EQ(Triple(d, t.pos).crFace, S(t.face));
        EXPECT_EQ(Triple(d, t.pos).crEdge, S(t.edge));
    }
    for (int i = 0; i < 9; ++i) EXPECT_EQ(d.m_Legend.m_crLegend[i], C(kLegendNames[i])) << "legend colour " << i;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(d.m_Color.m_crAxis[i], C(182 + i)) << "axis " << i;

    const int number = print ? 56 : 34, node = print ? 57 : 35, pick = print ? 47 : 25, annot = print ? 58 : 36,
              axis = print ? 59 : 37;
    struct FontRow {
        const char* label;
        const LOGFONT& lf;
        int name;
    } fonts[] = {
        {"number", d.m_Number.m_lfNumber, number}, {"node number", d.m_Number.m_lfNodeNumber, node},
        {"pick", d.m_Number.m_lfPick, pick},       {"annotation", d.m_Legend.m_lfAnnot, annot},
        {"axis", d.m_Number.m_lfAxis, axis},
    };
    for (const FontRow& f : fonts) {
        SCOPED_TRACE(f.label);
        EXPECT_EQ(f.lf.lfHeight, (f.name + 1) * 10) << "point font in tenths of a point";
        EXPECT_EQ(f.lf.lfWidth, 0);
        EXPECT_EQ(std::string(f.lf.lfFaceName), "F" + std::to_string(f.name));
    }
    const T_PVX_DOPT_NUMBER_D& n = d.m_Number;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(n.m_crNumber[i], T(number));
    EXPECT_EQ(n.m_crNumberBack, B(number));
    EXPECT_EQ(n.m_bNumberOpaque, number % 2 == 0 ? 1 : 0);
    EXPECT_EQ(n.m_crNodeNumber, T(node));
    EXPECT_EQ(n.m_crNodeNumberBack, B(node));
    EXPECT_EQ(n.m_bNodeNumberOpaque, node % 2 == 0 ? 1 : 0);
    EXPECT_EQ(n.m_crPick, T(pick));
    EXPECT_EQ(n.m_crPickBack, B(pick));
    EXPECT_EQ(n.m_bPickOpaque, pick % 2 == 0 ? 1 : 0);
    EXPECT_EQ(n.m_crAxisBack, B(axis));
    EXPECT_EQ(n.m_bAxisOpaque, axis % 2 == 0 ? 1 : 0);
    EXPECT_EQ(d.m_Legend.m_crAnnotText, T(annot));
    EXPECT_EQ(d.m_Legend.m_crAnnotBack, B(annot));
    EXPECT_EQ(d.m_Legend.m_bAnnotOpaque, annot % 2 == 0 ? 1 : 0);
}

}  // namespace

TEST(DisplayOptions, RecordDefaults) {
    T_PVX_DOPT_D d;
    EXPECT_EQ(d.m_Color.m_crAxis[0], RGB(255, 0, 0));
    EXPECT_EQ(d.m_Color.m_crAxis[1], RGB(0, 255, 0));
    EXPECT_EQ(d.m_Color.m_crAxis[2], RGB(0, 0, 255));
    EXPECT_EQ(d.m_Number.m_bShowNumbers, 1);
    EXPECT_EQ(d.m_nPrintColorMode, 1);
    EXPECT_EQ(d.m_Color.m_bGraySaved + d.m_Legend.m_bGraySaved + d.m_Number.m_bGraySaved, 0);
    EXPECT_EQ(d.m_Number.m_lfNumber.lfHeight, 80);
    EXPECT_EQ(d.m_Number.m_lfNumber.lfCharSet, 1);
    EXPECT_STREQ(d.m_Number.m_lfAxis.lfFaceName, "Arail");
    // Values the host has not supplied yet are zero, never garbage.
    EXPECT_EQ(d.m_nRenderMode, 0);
    EXPECT_EQ(d.m_Color.m_aTypeColor[14].crFace, 0u);
}

TEST(DisplayOptions, EveryFieldFromTheHost) {
    auto mgr = KnownManager();
    T_PVX_DOPT_D d;
    d.m_nBarResultOpt = 7;
    d.m_Legend.m_nLegendWidth = 20;
    d.m_Color.m_aTypeColor[8] = T_PVX_COLOR3_D{1, 2, 3};
    d.UpdateFromHost(mgr.get(), nullptr);

    ExpectColorsAndFonts(d, false);
    EXPECT_EQ(d.m_nColorMode, 5);
    EXPECT_EQ(d.m_nRenderMode, 14);
    EXPECT_EQ(d.m_bLineCulling, 15);
    EXPECT_EQ(d.m_bPlaneCulling, 16);
    EXPECT_EQ(d.m_nPartialDisplay1, 52);
    EXPECT_EQ(d.m_nPartialDisplay2, 53);
    EXPECT_EQ(d.m_nPrintColorMode, 40);
    EXPECT_EQ(d.m_bUndeformedWireFrame, 0) << "draw value 24 is not 1";
    EXPECT_EQ(d.m_bUndeformedLineCulling, 25);
    EXPECT_EQ(d.m_bUndeformedPlaneCulling, 26);
    // Not the host's: left alone.
    EXPECT_EQ(d.m_nBarResultOpt, 7);
    EXPECT_EQ(d.m_Legend.m_nLegendWidth, 20);
    EXPECT_EQ(d.m_Color.m_aTypeColor[8].crEdge, 3u);
    EXPECT_EQ(d.m_bWireFrame, 0) << "no control: the view state stays";

    // A second refresh scales the fresh heights again, not the stored ones.
    d.UpdateFromHost(mgr.get(), nullptr);
    EXPECT_EQ(d.m_Number.m_lfNumber.lfHeight, 350);
    EXPECT_EQ(d.m_Legend.m_lfAnnot.lfHeight, 370);

    COptDrawObjNames dn;
    mgr->SetDraw(dn[2], 4, 1);
    d.UpdateFromHost(mgr.get(), nullptr);
    EXPECT_EQ(d.m_bUndeformedWireFrame, 1);
}

TEST(DisplayOptions, ViewStateOfTheControl) {
    auto mgr = KnownManager();
    COptDrawObjNames dn;
    I_PVXCtrl ctrl;
    T_PVX_DOPT_D d;
    struct Row {
        const char* label;
        bool drawName2;
        int undeformedWire;
        int expect;
    } rows[] = {
        {"host draw value wins", true, 1, 0},
        {"no draw name 2: the view state's 1", false, 1, 1},
        {"no draw name 2: the view state's 0", false, 0, 0},
        {"no draw name 2: only 1 counts", false, 2, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        if (!r.drawName2) mgr->Remove(dn[2]);
        ctrl.SetREViewState(1, r.undeformedWire, 0, 1, 0.75, 0);
        d.m_bUndeformedWireFrame = 9;
        d.UpdateFromHost(mgr.get(), &ctrl);
        EXPECT_EQ(d.m_bWireFrame, 1);
        EXPECT_EQ(d.m_bShrink, 1);
        EXPECT_DOUBLE_EQ(d.m_dShrinkFactor, 0.75);
        EXPECT_EQ(d.m_bUndeformedWireFrame, r.expect);
    }
    // Neither a draw name 2 nor a control: the field keeps its value.
    d.m_bUndeformedWireFrame = 9;
    d.UpdateFromHost(mgr.get(), nullptr);
    EXPECT_EQ(d.m_bUndeformedWireFrame, 9);
}

TEST(DisplayOptions, MissingOptionsLeaveTheirFields) {
    auto mgr = KnownManager();
    COptColorObjNames cn;
    COptFontObjNames fn;
    COptDrawObjNames dn;
    mgr->Remove(cn[0]);    // background
    mgr->Remove(cn[109]);  // face of triple 0
    mgr->Remove(cn[141]);  // first legend colour
    mgr->Remove(fn[34]);   // number font
    mgr->Remove(dn[1]);    // render mode and culling

    T_PVX_DOPT_D d;
    d.m_Color.m_crBackground = 0xABCDEF;
    d.m_Color.m_aTypeColor[0].crFace = 0x123456;
    d.m_Legend.m_crLegend[0] = 0x654321;
    d.m_Number.m_crNumber[1] = 0x111111;
    d.m_Number.m_bNumberOpaque = 5;
    d.m_nRenderMode = 3;
    d.m_bPlaneCulling = 4;
    d.UpdateFromHost(mgr.get(), nullptr);

    EXPECT_EQ(d.m_Color.m_crBackground, 0xABCDEFu);
    EXPECT_EQ(d.m_Color.m_aTypeColor[0].crFace, 0x123456u);
    EXPECT_EQ(d.m_Color.m_aTypeColor[0].crLine, S(108)) << "the rest of the triple is read";
    EXPECT_EQ(d.m_Legend.m_crLegend[0], 0x654321u);
    EXPECT_EQ(d.m_Legend.m_crLegend[1], S(140));
    EXPECT_EQ(d.m_Number.m_lfNumber.lfHeight, 80) << "the default font stays, unscaled";
    EXPECT_EQ(d.m_Number.m_crNumber[1], 0x111111u);
    EXPECT_EQ(d.m_Number.m_bNumberOpaque, 5);
    EXPECT_EQ(d.m_Number.m_crNodeNumber, T(35));
    EXPECT_EQ(d.m_nRenderMode, 3);
    EXPECT_EQ(d.m_bPlaneCulling, 4);
    EXPECT_EQ(d.m_nPrintColorMode, 40);

    // No manager at all changes nothing.
    T_PVX_DOPT_D before = d;
    d.UpdateFromHost(nullptr, nullptr);
    EXPECT_EQ(std::memcmp(&before, &d, sizeof d), 0);
    EXPECT_EQ(d.LoadColorSet(nullptr, 1), 0);
    EXPECT_EQ(std::memcmp(&before, &d, sizeof d), 0);
}

TEST(DisplayOptions, PrintAndScreenColourSets) {
    auto mgr = KnownManager();
    COptDrawObjNames dn;
    struct Row {
        const char* label;
        int printMode;
        int bPrint;
        int printSet;
    } rows[] = {
        {"screen when not printing", 2, 0, 0},
        {"print mode 1 prints in screen colours", 1, 1, 0},
        {"print mode 0 prints in screen colours", 0, 1, 0},
        {"print mode 2 loads the print set", 2, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        mgr->SetDraw(dn[4], 0, r.printMode);
        T_PVX_DOPT_D d;
        d.m_nRenderMode = 77;
        d.m_bWireFrame = 66;
        d.m_bUndeformedWireFrame = 55;
        EXPECT_EQ(d.LoadColorSet(mgr.get(), r.bPrint), r.printSet);
        EXPECT_EQ(d.m_nPrintColorMode, r.printMode);
        ExpectColorsAndFonts(d, r.printSet != 0);
        // View state, draw values and the undeformed style are not the colour set's.
        EXPECT_EQ(d.m_nRenderMode, 77);
        EXPECT_EQ(d.m_bWireFrame, 66);
        EXPECT_EQ(d.m_bUndeformedWireFrame, 55);
    }
}

namespace {

COLORREF L(int i) { return 0x10000 + (i & 0xFF); }
COLORREF F(int i) { return 0x20000 + (i & 0xFF); }
COLORREF E(int i) { return 0x30000 + (i & 0xFF); }

// Triple i holds (L(i), F(i), E(i)); the extra triples use i = 100, 101, 102.
void FillTriples(T_PVX_DOPT_D& d) {
    for (int i = 0; i < 31; ++i) d.m_Color.m_aTypeColor[i] = T_PVX_COLOR3_D{L(i), F(i), E(i)};
    for (int i = 0; i < 3; ++i) d.m_Color.m_aTypeColorEx[i] = T_PVX_COLOR3_D{L(100 + i), F(100 + i), E(100 + i)};
}

}  // namespace

TEST(DisplayOptions, MemberColourByType) {
    T_PVX_DOPT_D d;
    FillTriples(d);
    d.m_nColorMode = 2;
    d.m_bWireFrame = 0;
    d.m_nRenderMode = 3;
    struct Row {
        int type;
        int triple;
    } rows[] = {
        {201, 1},  {205, 2},  {101, 3},  {204, 4},  {206, 5},  {200, 6},  {202, 10}, {208, 10},
        {209, 10}, {210, 10}, {211, 10}, {212, 10}, {301, 14}, {300, 18}, {304, 22}, {203, 26},
        {302, 30}, {403, 100}, {400, 101}, {401, 102}, {0, 0},  {305, 0},  {999, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "type " << r.type);
        COLORREF c[2] = {1, 1};
        d.GetMembColor(r.type, 0, c);
        EXPECT_EQ(c[0], E(r.triple));
        EXPECT_EQ(c[1], F(r.triple));
    }
    // Any other colour mode gives every member triple 0.
    d.m_nColorMode = 1;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mode 1, type " << r.type);
        COLORREF c[2] = {1, 1};
        d.GetMembColor(r.type, 0, c);
        EXPECT_EQ(c[0], E(0));
        EXPECT_EQ(c[1], F(0));
    }
}

TEST(DisplayOptions, MemberColourByStyle) {
    const COLORREF kUntouched = 0xFEFEFE;
    struct Row {
        const char* label;
        int wire, render, printMode, external, type;
        COLORREF outline, fill;
    } rows[] = {
        {"faces", 0, 1, 1, 0, 201, F(1), F(1)},
        {"hidden line", 0, 2, 1, 0, 201, L(1), L(1)},
        {"faces with edges", 0, 3, 1, 0, 201, E(1), F(1)},
        {"render mode 0 untouched", 0, 0, 1, 0, 201, kUntouched, kUntouched},
        {"render mode 4 untouched", 0, 4, 1, 0, 201, kUntouched, kUntouched},
        {"wire frame: face colour", 1, 3, 1, 0, 201, F(1), F(1)},
        {"wire frame: 301 keeps its line colour", 1, 3, 1, 0, 301, L(14), L(14)},
        {"wire frame, gray to a device: line colour", 1, 3, 0, 1, 201, L(1), L(1)},
        {"wire frame, gray mode on screen: face colour", 1, 3, 0, 0, 201, F(1), F(1)},
        {"wire frame, colour print to a device: face colour", 1, 3, 2, 1, 201, F(1), F(1)},
        {"gray to a device without wire frame: by render mode", 0, 3, 0, 1, 201, E(1), F(1)},
        {"gray to a device, render 0: untouched", 0, 0, 0, 1, 201, kUntouched, kUntouched},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_PVX_DOPT_D d;
        FillTriples(d);
        d.m_nColorMode = 2;
        d.m_bWireFrame = r.wire;
        d.m_nRenderMode = r.render;
        d.m_nPrintColorMode = r.printMode;
        COLORREF c[2] = {kUntouched, kUntouched};
        d.GetMembColor(r.type, r.external, c);
        EXPECT_EQ(c[0], r.outline);
        EXPECT_EQ(c[1], r.fill);
    }
    T_PVX_DOPT_D d;
    d.GetMembColor(201, 0, nullptr);  // no output array: nothing happens
}

namespace {

// Gives every colour of the record a distinct value and every save field a stale one.
void FillDistinct(T_PVX_DOPT_D& d) {
    COLORREF next = 0x050000;
    auto fill = [&next](COLORREF& c) { c = next++; };
    T_PVX_DOPT_COLOR_D& c = d.m_Color;
    fill(c.m_crContourLine), fill(c.m_crBackground), fill(c.m_crInactive), fill(c.m_crUndeformed);
    for (auto& t : c.m_aTypeColor) fill(t.crLine), fill(t.crFace), fill(t.crEdge);
    for (auto& t : c.m_aTypeColorEx) fill(t.crLine), fill(t.crFace), fill(t.crEdge);
    for (auto& a : c.m_crAxis) fill(a);
    for (auto& l : d.m_Legend.m_crLegend) fill(l);
    fill(d.m_Legend.m_crAnnotText), fill(d.m_Legend.m_crAnnotBack);
    T_PVX_DOPT_NUMBER_D& n = d.m_Number;
    for (auto& x : n.m_crNumber) fill(x);
    fill(n.m_crNodeNumber), fill(n.m_crNumberBack), fill(n.m_crNodeNumberBack), fill(n.m_crPick),
        fill(n.m_crPickBack), fill(n.m_crAxisBack);
    // Stale saves that must never come back.
    c.m_crBackgroundSave = c.m_crContourLineSave = n.m_crPickSave = d.m_Legend.m_crAnnotTextSave = 0xBAD;
}

}  // namespace

TEST(DisplayOptions, GrayPrintingRecordRoundTrip) {
    const COLORREF white = RGB(255, 255, 255);
    T_PVX_DOPT_D d;
    FillDistinct(d);
    const T_PVX_DOPT_D screen = d;

    d.SubstituteGrayPrinting();
    EXPECT_EQ(d.m_Color.m_bGraySaved, 1);
    EXPECT_EQ(d.m_Number.m_bGraySaved, 1);
    EXPECT_EQ(d.m_Legend.m_bGraySaved, 1);
    EXPECT_EQ(d.m_Color.m_crBackground, white);
    EXPECT_EQ(d.m_Color.m_crInactive, RGB(140, 140, 140));
    EXPECT_EQ(d.m_Color.m_crUndeformed, RGB(140, 140, 140));
    EXPECT_EQ(d.m_Color.m_crContourLine, 0u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(d.m_Color.m_crAxis[i], 0u);
    for (int i = 0; i < 31; ++i) {
        SCOPED_TRACE(testing::Message() << "triple " << i);
        const bool gray = i == 0 || i == 1 || (i >= 7 && i <= 14) || (i >= 23 && i <= 26);
        const T_PVX_COLOR3_D& t = d.m_Color.m_aTypeColor[i];
        const T_PVX_COLOR3_D& s = screen.m_Color.m_aTypeColor[i];
        EXPECT_EQ(t.crLine, gray ? 0u : s.crLine);
        EXPECT_EQ(t.crFace, gray ? white : s.crFace);
        EXPECT_EQ(t.crEdge, gray ? 0u : s.crEdge);
    }
    EXPECT_EQ(std::memcmp(d.m_Color.m_aTypeColorEx, screen.m_Color.m_aTypeColorEx, sizeof d.m_Color.m_aTypeColorEx), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(d.m_Number.m_crNumber[i], 0u);
    EXPECT_EQ(d.m_Number.m_crNodeNumber, 0u);
    EXPECT_EQ(d.m_Number.m_crNumberBack, white);
    EXPECT_EQ(d.m_Number.m_crNodeNumberBack, white);
    EXPECT_EQ(d.m_Number.m_crAxisBack, white);
    EXPECT_EQ(d.m_Number.m_crPick, screen.m_Number.m_crPick) << "pick colours are saved, never changed";
    EXPECT_EQ(d.m_Number.m_crPickBack, screen.m_Number.m_crPickBack);
    EXPECT_EQ(d.m_Legend.m_crAnnotText, RGB(25, 25, 25));
    EXPECT_EQ(d.m_Legend.m_crAnnotBack, RGB(25, 25, 25));
    EXPECT_EQ(std::memcmp(d.m_Legend.m_crLegend, screen.m_Legend.m_crLegend, sizeof d.m_Legend.m_crLegend), 0);

    // A second substitution keeps the screen saves; one restore brings every colour back.
    d.SubstituteGrayPrinting();
    d.RestoreGrayPrinting();
    EXPECT_EQ(d.m_Color.m_bGraySaved + d.m_Number.m_bGraySaved + d.m_Legend.m_bGraySaved, 0);
    T_PVX_DOPT_D restored = d;
    // Save fields may differ; every live colour must be the screen one.
    auto live = [](T_PVX_DOPT_D x) {
        T_PVX_DOPT_COLOR_D& c = x.m_Color;
        c.m_crContourLineSave = c.m_crBackgroundSave = c.m_crInactiveSave = c.m_crUndeformedSave = 0;
        std::memset(c.m_aTypeColorSave, 0, sizeof c.m_aTypeColorSave);
        std::memset(c.m_crAxisSave, 0, sizeof c.m_crAxisSave);
        std::memset(c.m_aTypeColorExSave, 0, sizeof c.m_aTypeColorExSave);
        T_PVX_DOPT_NUMBER_D& n = x.m_Number;
        std::memset(n.m_crNumberSave, 0, sizeof n.m_crNumberSave);
        n.m_crNodeNumberSave = n.m_crNumberBackSave = n.m_crNodeNumberBackSave = n.m_crPickSave = n.m_crPickBackSave =
            n.m_crAxisBackSave = 0;
        x.m_Legend.m_crAnnotTextSave = x.m_Legend.m_crAnnotBackSave = 0;
        return x;
    };
    const T_PVX_DOPT_D a = live(restored), b = live(screen);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);

    // A restore without a substitution brings back no stale save.
    T_PVX_DOPT_D fresh;
    FillDistinct(fresh);
    const T_PVX_DOPT_D untouched = fresh;
    fresh.RestoreGrayPrinting();
    EXPECT_EQ(std::memcmp(&fresh, &untouched, sizeof fresh), 0);
}
