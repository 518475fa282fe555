// Display options: every field filled from a host option manager with known values, the print
// and screen colour sets, the member colour rule and the gray-print substitution of the record.
#include "host/db/CDispOptMgr.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "tests/module/model_dopt/KnownColours.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

// Known host values: screen colour k = S(k), print colour P(k) (KnownColours.h); font k has
// height k + 1 points, face "F<k>", text colour T(k), background B(k), transparent when k is odd;
// draw option k holds 10 k + j at value j.
COLORREF T(int k) { return 0x300000 + k; }
COLORREF B(int k) { return 0x400000 + k; }

std::unique_ptr<CDispOptMgr> KnownManager() {
    auto mgr = std::make_unique<CDispOptMgr>();
    COptColorObjNames cn;
    COptFontObjNames fn;
    COptDrawObjNames dn;
    for (int k = 0; k < COptColorObjNames::COUNT; ++k) mgr->SetColor(cn[k], dopttest::S(k), dopttest::P(k));
    for (int k = 0; k < COptFontObjNames::COUNT; ++k) {
        SDispOptFontVal v;
        v.m_strFaceName.Format("F%d", k);
        v.m_nHeight = k + 1, v.m_crText = T(k), v.m_crBack = B(k), v.m_bTransparent = k % 2;
        mgr->SetFont(fn[k], v);
    }
    for (int k = 0; k < COptDrawObjNames::COUNT; ++k)
        for (int j = 0; j < CDispOptDrawObj::COUNT; ++j) mgr->SetDraw(dn[k], j, 10 * k + j);
    return mgr;
}

// Every colour and font of a colour set: print colours from P() except the object triples.
void ExpectColourSet(const T_PVX_DOPT_D& d, bool print) {
    auto C = [print](int k) { return print ? dopttest::P(k) : dopttest::S(k); };
    const T_PVX_DOPT_COLOR_D& c = d.m_Color;
    EXPECT_EQ(c.m_crBackground, C(0));
    EXPECT_EQ(c.m_crInactive, C(130));
    EXPECT_EQ(c.m_crUndeformed, C(129));
    EXPECT_EQ(c.m_crContourLine, C(210));
    // Position (negative: the extra triples), line, face, edge.
    const int triples[][4] = {{0, 108, 109, 110}, {1, 21, 20, 21},  {2, 25, 24, 25},    {3, 18, 19, 18},
                              {4, 31, 30, 31},    {5, 27, 26, 27},  {6, 35, 34, 35},    {10, 23, 22, 23},
                              {14, 38, 37, 38},   {18, 46, 45, 46}, {22, 44, 43, 44},   {26, 29, 28, 29},
                              {30, 42, 41, 42},   {-1, 94, 95, 94}, {-2, 103, 104, 103}, {-3, 97, 98, 97}};
    for (const auto& t : triples) {
        const T_PVX_COLOR3_D& x = t[0] >= 0 ? c.m_aTypeColor[t[0]] : c.m_aTypeColorEx[-t[0] - 1];
        EXPECT_EQ(x.crLine, dopttest::S(t[1])) << "triple " << t[0];
        EXPECT_EQ(x.crFace, dopttest::S(t[2])) << "triple " << t[0];
        EXPECT_EQ(x.crEdge, dopttest::S(t[3])) << "triple " << t[0];
    }
    const int legend[9] = {141, 140, 142, 143, 145, 144, 146, 147, 148};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(d.m_Legend.m_crLegend[i], C(legend[i])) << "legend colour " << i;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(c.m_crAxis[i], C(182 + i)) << "axis " << i;

    const T_PVX_DOPT_NUMBER_D& n = d.m_Number;
    const T_PVX_DOPT_LEGEND_D& l = d.m_Legend;
    const int k[5] = {print ? 56 : 34, print ? 57 : 35, print ? 47 : 25, print ? 58 : 36, print ? 59 : 37};
    const LOGFONT* fonts[5] = {&n.m_lfNumber, &n.m_lfNodeNumber, &n.m_lfPick, &l.m_lfAnnot, &n.m_lfAxis};
    const COLORREF text[5] = {n.m_crNumber[2], n.m_crNodeNumber, n.m_crPick, l.m_crAnnotText, T(k[4])};
    const COLORREF back[5] = {n.m_crNumberBack, n.m_crNodeNumberBack, n.m_crPickBack, l.m_crAnnotBack, n.m_crAxisBack};
    const int opaque[5] = {n.m_bNumberOpaque, n.m_bNodeNumberOpaque, n.m_bPickOpaque, l.m_bAnnotOpaque, n.m_bAxisOpaque};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(testing::Message() << "font name " << k[i]);
        EXPECT_EQ(fonts[i]->lfHeight, (k[i] + 1) * 10) << "point font in tenths of a point";
        EXPECT_EQ(fonts[i]->lfWidth, 0);
        EXPECT_EQ(std::string(fonts[i]->lfFaceName), "F" + std::to_string(k[i]));
        EXPECT_EQ(text[i], T(k[i]));
        EXPECT_EQ(back[i], B(k[i]));
        EXPECT_EQ(opaque[i], k[i] % 2 == 0 ? 1 : 0);
    }
    EXPECT_EQ(n.m_crNumber[0], T(k[0]));
    EXPECT_EQ(n.m_crNumber[1], T(k[0]));
}

}  // namespace

TEST(DisplayOptions, EveryFieldFromTheHost) {
    auto mgr = KnownManager();
    T_PVX_DOPT_D d;
    d.m_nBarResultOpt = 7;
    d.m_Color.m_aTypeColor[8].crEdge = 3;
    d.UpdateFromHost(mgr.get(), nullptr);
    ExpectColourSet(d, false);
    const int draws[][2] = {{d.m_nColorMode, 5},          {d.m_nRenderMode, 14},       {d.m_bLineCulling, 15},
                            {d.m_bPlaneCulling, 16},      {d.m_nPartialDisplay1, 52},  {d.m_nPartialDisplay2, 53},
                            {d.m_nPrintColorMode, 40},    {d.m_bUndeformedWireFrame, 0}, {d.m_bUndeformedLineCulling, 25},
                            {d.m_bUndeformedPlaneCulling, 26}, {d.m_nBarResultOpt, 7}, {int(d.m_Color.m_aTypeColor[8].crEdge), 3}};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(draws[i][0], draws[i][1]) << "draw row " << i;
    d.UpdateFromHost(mgr.get(), nullptr);
    EXPECT_EQ(d.m_Number.m_lfNumber.lfHeight, 350) << "a second refresh scales the fresh height only";

    // The undeformed style: draw name 2 value 4 when the host has it, else the control's view
    // state; 1 only for exactly 1; with neither the field stays.
    COptDrawObjNames dn;
    I_PVXCtrl ctrl;
    mgr->SetDraw(dn[2], 4, 1);
    ctrl.SetREViewState(1, 0, 0, 1, 0.75, 0);
    d.UpdateFromHost(mgr.get(), &ctrl);
    EXPECT_EQ(d.m_bUndeformedWireFrame, 1);
    EXPECT_EQ(d.m_bWireFrame + d.m_bShrink, 2);
    EXPECT_DOUBLE_EQ(d.m_dShrinkFactor, 0.75);
    mgr->Remove(dn[2]);
    const int views[][2] = {{1, 1}, {0, 0}, {2, 0}};
    for (const auto& v : views) {
        ctrl.SetREViewState(1, v[0], 0, 1, 0.75, 0);
        d.UpdateFromHost(mgr.get(), &ctrl);
        EXPECT_EQ(d.m_bUndeformedWireFrame, v[1]) << "view state " << v[0];
    }
    d.m_bUndeformedWireFrame = 9;
    d.UpdateFromHost(mgr.get(), nullptr);
    EXPECT_EQ(d.m_bUndeformedWireFrame, 9);
}

TEST(DisplayOptions, MissingOptionsLeaveTheirFields) {
    auto mgr = KnownManager();
    COptColorObjNames cn;
    COptFontObjNames fn;
    COptDrawObjNames dn;
    for (int k : {0, 109, 141}) mgr->Remove(cn[k]);
    mgr->Remove(fn[34]);
    mgr->Remove(dn[1]);
    T_PVX_DOPT_D d;
    d.m_Color.m_crBackground = 0xABCDEF;
    d.m_Color.m_aTypeColor[0].crFace = 0x123456;
    d.m_Legend.m_crLegend[0] = 0x654321;
    d.m_Number.m_crNumber[1] = 0x111111;
    d.m_nRenderMode = 3;
    d.UpdateFromHost(mgr.get(), nullptr);
    EXPECT_EQ(d.m_Color.m_crBackground, 0xABCDEFu);
    EXPECT_EQ(d.m_Color.m_aTypeColor[0].crFace, 0x123456u);
    EXPECT_EQ(d.m_Color.m_aTypeColor[0].crLine, dopttest::S(108)) << "the rest of the triple is read";
    EXPECT_EQ(d.m_Legend.m_crLegend[0], 0x654321u);
    EXPECT_EQ(d.m_Number.m_lfNumber.lfHeight, 80) << "the default font stays, unscaled";
    EXPECT_EQ(d.m_Number.m_crNumber[1], 0x111111u);
    EXPECT_EQ(d.m_nRenderMode, 3);
    EXPECT_EQ(d.m_Number.m_crNodeNumber, T(35));
    const T_PVX_DOPT_D before = d;
    d.UpdateFromHost(nullptr, nullptr);
    EXPECT_EQ(d.LoadColorSet(nullptr, 1), 0);
    EXPECT_EQ(std::memcmp(&before, &d, sizeof d), 0) << "no manager changes nothing";
}

TEST(DisplayOptions, PrintAndScreenColourSets) {
    auto mgr = KnownManager();
    COptDrawObjNames dn;
    const int rows[][3] = {{2, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 1, 1}};  // print mode, bPrint, print set
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "print mode " << r[0] << ", bPrint " << r[1]);
        mgr->SetDraw(dn[4], 0, r[0]);
        T_PVX_DOPT_D d;
        d.m_nRenderMode = 77, d.m_bWireFrame = 66, d.m_bUndeformedWireFrame = 55;
        EXPECT_EQ(d.LoadColorSet(mgr.get(), r[1]), r[2]);
        EXPECT_EQ(d.m_nPrintColorMode, r[0]);
        ExpectColourSet(d, r[2] != 0);
        EXPECT_EQ(d.m_nRenderMode * 10000 + d.m_bWireFrame * 100 + d.m_bUndeformedWireFrame, 776655)
            << "view state, draw values and the undeformed style are not the colour set's";
    }
}

TEST(DisplayOptions, MemberColours) {
    auto L = [](int i) { return COLORREF(0x10000 + i); };
    auto F = [](int i) { return COLORREF(0x20000 + i); };
    auto E = [](int i) { return COLORREF(0x30000 + i); };
    T_PVX_DOPT_D d;
    for (int i = 0; i < 31; ++i) d.m_Color.m_aTypeColor[i] = T_PVX_COLOR3_D{L(i), F(i), E(i)};
    for (int i = 0; i < 3; ++i) d.m_Color.m_aTypeColorEx[i] = T_PVX_COLOR3_D{L(100 + i), F(100 + i), E(100 + i)};
    d.m_nColorMode = 2, d.m_nRenderMode = 3;
    const int types[][2] = {{201, 1},   {205, 2},   {101, 3},   {204, 4},   {206, 5},   {200, 6},  {202, 10},
                            {208, 10},  {209, 10},  {212, 10},  {301, 14},  {300, 18},  {304, 22}, {203, 26},
                            {302, 30},  {403, 6},   {400, 101}, {401, 102}, {305, 0},   {999, 0}};
    for (const auto& t : types) {
        COLORREF c[2] = {1, 1};
        d.GetMembColor(t[0], 0, c);
        EXPECT_EQ(c[0], E(t[1])) << "type " << t[0];
        EXPECT_EQ(c[1], F(t[1])) << "type " << t[0];
        d.m_nColorMode = 1;  // any other colour mode: triple 0 for every type
        d.GetMembColor(t[0], 0, c);
        EXPECT_EQ(c[1], F(0)) << "type " << t[0];
        d.m_nColorMode = 2;
    }
    const COLORREF kKeep = 0xFEFEFE;
    const struct {
        const char* label;
        int wire, render, printMode, external, type;
        COLORREF outline, fill;
    } styles[] = {
        {"faces", 0, 1, 1, 0, 201, F(1), F(1)},          {"hidden line", 0, 2, 1, 0, 201, L(1), L(1)},
        {"render 0 untouched", 0, 0, 1, 0, 201, kKeep, kKeep}, {"render 4 untouched", 0, 4, 0, 1, 201, kKeep, kKeep},
        {"wire: face colour", 1, 3, 1, 0, 201, F(1), F(1)}, {"wire: 301 line colour", 1, 3, 1, 0, 301, L(14), L(14)},
        {"wire, gray device: line", 1, 3, 0, 1, 201, L(1), L(1)}, {"wire, gray screen: face", 1, 3, 0, 0, 201, F(1), F(1)},
        {"wire, colour device: face", 1, 3, 2, 1, 201, F(1), F(1)}, {"gray device, faces+edges", 0, 3, 0, 1, 201, E(1), F(1)},
    };
    for (const auto& s : styles) {
        d.m_bWireFrame = s.wire, d.m_nRenderMode = s.render, d.m_nPrintColorMode = s.printMode;
        COLORREF c[2] = {kKeep, kKeep};
        d.GetMembColor(s.type, s.external, c);
        EXPECT_EQ(c[0], s.outline) << s.label;
        EXPECT_EQ(c[1], s.fill) << s.label;
    }
}

TEST(DisplayOptions, GrayPrintingRecordRoundTrip) {
    const COLORREF white = RGB(255, 255, 255);
    T_PVX_DOPT_D d;
    COLORREF next = 0x050000;
    auto fill = [&next](COLORREF& c) { c = next++; };
    T_PVX_DOPT_COLOR_D& c = d.m_Color;
    T_PVX_DOPT_NUMBER_D& n = d.m_Number;
    fill(c.m_crContourLine), fill(c.m_crBackground), fill(c.m_crInactive), fill(c.m_crUndeformed);
    for (auto& t : c.m_aTypeColor) fill(t.crLine), fill(t.crFace), fill(t.crEdge);
    for (auto& t : c.m_aTypeColorEx) fill(t.crLine), fill(t.crFace), fill(t.crEdge);
    for (auto& a : c.m_crAxis) fill(a);
    for (auto& x : n.m_crNumber) fill(x);
    fill(d.m_Legend.m_crAnnotText), fill(d.m_Legend.m_crAnnotBack), fill(n.m_crNodeNumber), fill(n.m_crNumberBack),
        fill(n.m_crNodeNumberBack), fill(n.m_crPick), fill(n.m_crPickBack), fill(n.m_crAxisBack);
    c.m_crBackgroundSave = c.m_crContourLineSave = n.m_crPickSave = 0xBAD;  // stale saves
    const T_PVX_DOPT_D screen = d;

    d.RestoreGrayPrinting();
    EXPECT_EQ(std::memcmp(&d, &screen, sizeof d), 0) << "nothing saved, nothing restored";
    d.SubstituteGrayPrinting();
    EXPECT_EQ(c.m_crBackground, white);
    EXPECT_EQ(c.m_crInactive, RGB(140, 140, 140));
    EXPECT_EQ(c.m_crUndeformed, RGB(140, 140, 140));
    EXPECT_EQ(c.m_crContourLine + c.m_crAxis[0] + c.m_crAxis[1] + c.m_crAxis[2], 0u);
    for (int i = 0; i < 31; ++i) {
        const bool gray = i <= 1 || (i >= 7 && i <= 14) || (i >= 23 && i <= 26);
        const T_PVX_COLOR3_D& t = c.m_aTypeColor[i];
        const T_PVX_COLOR3_D& s = screen.m_Color.m_aTypeColor[i];
        EXPECT_EQ(t.crLine, gray ? 0u : s.crLine) << "triple " << i;
        EXPECT_EQ(t.crFace, gray ? white : s.crFace) << "triple " << i;
        EXPECT_EQ(t.crEdge, gray ? 0u : s.crEdge) << "triple " << i;
    }
    EXPECT_EQ(n.m_crNumber[0] + n.m_crNumber[2] + n.m_crNodeNumber, 0u);
    EXPECT_EQ(n.m_crNumberBack & n.m_crNodeNumberBack & n.m_crAxisBack, white);
    EXPECT_EQ(n.m_crPick, screen.m_Number.m_crPick) << "pick colours are saved, never changed";
    EXPECT_EQ(d.m_Legend.m_crAnnotText, RGB(25, 25, 25));
    EXPECT_EQ(d.m_Legend.m_crAnnotBack, RGB(25, 25, 25));

    // A second substitution keeps the screen saves; one restore brings every colour back.
    d.SubstituteGrayPrinting();
    d.RestoreGrayPrinting();
    EXPECT_EQ(c.m_bGraySaved + n.m_bGraySaved + d.m_Legend.m_bGraySaved, 0);
    EXPECT_EQ(c.m_crContourLine, screen.m_Color.m_crContourLine);
    EXPECT_EQ(c.m_crBackground, screen.m_Color.m_crBackground);
    EXPECT_EQ(std::memcmp(c.m_aTypeColor, screen.m_Color.m_aTypeColor, sizeof c.m_aTypeColor), 0);
    EXPECT_EQ(std::memcmp(c.m_crAxis, screen.m_Color.m_crAxis, sizeof c.m_crAxis), 0);
    EXPECT_EQ(std::memcmp(&n, &screen.m_Number, offsetof(T_PVX_DOPT_NUMBER_D, m_crNumberSave)), 0);
    EXPECT_EQ(n.m_crAxisBack, screen.m_Number.m_crAxisBack);
    EXPECT_EQ(d.m_Legend.m_crAnnotBack, screen.m_Legend.m_crAnnotBack);
    EXPECT_EQ(c.m_crInactive, screen.m_Color.m_crInactive);
}
