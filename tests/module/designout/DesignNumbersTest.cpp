// The number output of the design figures on the recording DC: which output the figure mode
// picks, where the axial-compression ratio texts stand, the number switch, the number format,
// the model's number font left as it was, and the base-shear walk past an off-screen column.
// Window points come from the graphics control's own mapping.
#include <algorithm>
#include <array>
#include <set>

#include "module/contour/CContourEngine.h"
#include "module/contour/CLegendEngine.h"
#include "host/db/CUnitCtrl.h"
#include "host/db/DBResultRecords.h"
#include "module/model/CPVXLabelBase.h"
#include "module/designdata/DesignFigurePaint.h"
#include "platform/gdi/CSelectScope.h"
#include "platform/gdi/FontEngine.h"
#include "tests/module/designout/DesignOutTestSupport.h"

namespace designout {

namespace {

std::vector<const GdiRecord*> Texts(const CRecordDC& dc) { return dc.GetRecords("TextOut"); }

}  // namespace

class DesignNumbersTest : public DesignOutTest {
protected:
    // One record in every list an output reads, each list with its own value (the figure mode
    // that should write it), all on screen in the plan view.
    void FillEveryList() {
        CFigureDesignData& d = D();
        d.m_bShowNumber = 1;
        d.m_bShowDiagram = 1;
        d.m_bAsColumn = 1;
        T_COLM_AS c;
        c.d[0] = 21;
        c.pt = C3DPoint(0, 0, 3);
        d.m_arrColmAs.Add(c);
        T_SNODE_D n;
        n.pt = C3DPoint(3, 2, 0);
        d.m_mapSNode.SetAt(12, n);
        T_DEFORM_D sd;
        sd.dValue = 24;
        sd.pt[0] = C3DPoint(3, 2, 0);
        d.m_arrSDeform.Add(sd);
        T_DEFORM_D bd;
        bd.dValue = 25;
        bd.pt[0] = C3DPoint(3, 0, 3);
        bd.pt[1] = C3DPoint(0, 0, 3);
        bd.pt[2] = C3DPoint(6, 0, 3);
        d.m_arrBDeform.Add(bd);
        T_SFORCE_D strip;
        strip.ptA = C3DPoint(0, 1, 0);
        strip.ptB = C3DPoint(6, 1, 0);
        strip.dValue = 26;
        d.m_arrSCrack.Add(strip);
        strip.dValue = 29;
        d.m_arrSForce.Add(strip);
        T_BCRACK_D bc;
        bc.d[0] = 27;
        bc.pt[0] = C3DPoint(0, 0, 3);
        bc.pt[1] = C3DPoint(3, 0, 3);
        bc.pt[2] = C3DPoint(6, 0, 3);
        d.m_arrBCrack.Add(bc);
        T_AXIAL_COMP_R a;
        a.dRatio1 = a.dRatio2 = 28;
        a.pt = C3DPoint(0, 0, 3);
        d.m_arrAxialCompR.Add(a);
        T_BEAM_BM env;
        for (int k = 0; k < 9; ++k) env.pt[k] = C3DPoint(0.75 * k, 0, 3);
        d.m_arrBeamBM.Add(env);
        d.m_arrDrawnBeamIdx.Add(0);
        for (int list = 0; list < 3; ++list)
            for (int k = 0; k < 3; ++k) {
                T_TEXT_VALUE t;
                t.dValue = list == 2 ? 36 : 35;
                t.pt = env.pt[4 * k];
                d.m_arrTextValue[list].Add(t);
            }
        T_BASE_SHEAR_D bs;
        bs.nKey = 5;
        bs.d[0] = 42;
        bs.pt[0] = bs.pt[1] = C3DPoint(6, 0, 3);
        d.m_mapBaseShear.SetAt(5, bs);
    }
    void Output(CRecordDC& dc, int mode) {
        M().m_pFigure->m_nFigureMode = mode;
        dc.Create();
        D().OutputNumbers(&dc);
    }
};

// Each figure mode writes the list of its output, and only that one.
TEST_F(DesignNumbersTest, OutputByFigureMode) {
    FillEveryList();
    struct Row {
        int mode;
        const char* first;  // first text written; null: nothing
    } rows[] = {{21, "21.00"}, {22, "No.12"}, {24, "24.00"}, {25, "25.00"}, {26, "26.00"}, {27, "27.00"},
                {28, "(28.00,28.00)"}, {29, "29.00"}, {34, "29.00"}, {37, "29.00"}, {35, "35.00"}, {38, "35.00"},
                {36, "36.00"}, {39, "36.00"}, {42, "42.00"}, {49, "42.00"}, {56, "42.00"}, {13, nullptr},
                {23, nullptr}, {33, nullptr}, {41, nullptr}, {40, nullptr}, {30, nullptr}, {57, nullptr},
                {0, nullptr}, {-1, nullptr}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mode);
        CRecordDC dc;
        Output(dc, r.mode);
        const auto texts = Texts(dc);
        if (!r.first) {
            EXPECT_TRUE(texts.empty()) << texts.front()->Describe();
            continue;
        }
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.front()->text, r.first);
    }
}

// The axial-compression ratio record (0.5, 0.62, 0.3, 0.7) with 2 decimals: "(0.50,0.62)" right
// of and above the anchor, 0.70 vertical, 0.30 below left.
TEST_F(DesignNumbersTest, AxialCompressionLabelPositions) {
    T_AXIAL_COMP_R a;
    a.dRatio1 = 0.5;
    a.dRatio2 = 0.62;
    a.dValue3 = 0.3;
    a.dValue4 = 0.7;
    a.pt = C3DPoint(6, 0, 3);
    D().m_arrAxialCompR.Add(a);
    D().m_bShowNumber = 1;
    CRecordDC dc;
    Output(dc, 28);
    const CPoint p = Win(a.pt);
    ASSERT_GE(p.x, 0);
    ASSERT_GE(p.y, 0);
    struct Row {
        const char* text;
        int dx, dy;
        UINT align;
        int escapement;
    } rows[] = {{"(0.50,0.62)", -15, -15, 10, 0}, {"0.70", 30, 20, 8, 900}, {"0.30", -25, 25, 8, 0}};
    const auto texts = Texts(dc);
    ASSERT_EQ(texts.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const Row& r = rows[i];
        SCOPED_TRACE(r.text);
        EXPECT_EQ(texts[i]->text, r.text);
        EXPECT_EQ(texts[i]->Arg(0), p.x + r.dx);
        EXPECT_EQ(texts[i]->Arg(1), p.y + r.dy);
        EXPECT_EQ(texts[i]->textAlign, r.align);
        EXPECT_EQ(texts[i]->font.lfEscapement, r.escapement);
    }
}

// The number switch gates the deformation, ratio and area-steel numbers, not the crack widths.
TEST_F(DesignNumbersTest, NumberSwitch) {
    FillEveryList();
    struct Row {
        int bSwitch, mode;
        bool bDraws;
    } rows[] = {{0, 24, false}, {0, 25, false}, {0, 28, false}, {0, 21, false}, {0, 26, true},
                {0, 29, true},  {1, 24, true},  {1, 28, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "switch " << r.bSwitch << " mode " << r.mode);
        D().m_bShowNumber = r.bSwitch;
        CRecordDC dc;
        Output(dc, r.mode);
        EXPECT_EQ(!Texts(dc).empty(), r.bDraws);
    }
}

// Fixed or exponent notation with the decimals of the options; exponents in three digits.
TEST_F(DesignNumbersTest, NumberFormat) {
    D().m_bShowNumber = 1;
    T_DEFORM_D sd;
    sd.pt[0] = C3DPoint(3, 2, 0);
    D().m_arrSDeform.Add(sd);
    struct Row {
        int bExponent, decimals;
        double value;
        const char* text;
    } rows[] = {{1, 3, 0.0125, "1.250e-002"}, {0, 2, 0.0125, "0.01"}, {1, 2, -1234.5, "-1.23e+003"}, {0, 0, 7.6, "8"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        M().m_pDispOpt->m_Number.m_bExponent = r.bExponent;
        M().m_pDispOpt->m_Number.m_nDecimals = r.decimals;
        D().m_arrSDeform[0].dValue = r.value;
        CRecordDC dc;
        Output(dc, 24);
        const auto texts = Texts(dc);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0]->text, r.text);
    }
}

// The outputs turn and underline their own fonts, never the model's number font.
TEST_F(DesignNumbersTest, ModelNumberFontKept) {
    FillEveryList();
    D().m_arrColmAs[0].d[2] = 3;  // underlined corner-bar text
    LOGFONT& lf = M().m_pDispOpt->m_Number.m_lfNumber;
    lf.lfEscapement = lf.lfOrientation = 450;
    lf.lfUnderline = 0;
    for (int mode : {21, 24, 25, 28}) {
        SCOPED_TRACE(mode);
        CRecordDC dc;
        Output(dc, mode);
        ASSERT_FALSE(Texts(dc).empty());
        EXPECT_EQ(lf.lfEscapement, 450);
        EXPECT_EQ(lf.lfOrientation, 450);
        EXPECT_EQ(lf.lfUnderline, 0);
    }
    // The column's corner-bar and stirrup texts were underlined on their own font.
    CRecordDC dc;
    Output(dc, 21);
    int underlined = 0;
    for (const GdiRecord* t : Texts(dc)) underlined += t->font.lfUnderline ? 1 : 0;
    EXPECT_EQ(underlined, 2);
}

// A base-column entry off the left edge is passed over and the walk goes on to the others.
TEST_F(DesignNumbersTest, BaseShearWalkSkipsOffScreenEntries) {
    const C3DPoint off(-1000, 0, 3), on1(0, 0, 3), on2(6, 0, 3);
    ASSERT_LT(Win(off).x, 0);
    struct Entry {
        UINT key;
        C3DPoint p;
        double v;
    } entries[] = {{1, on1, 1.5}, {2, off, 2.5}, {3, on2, 3.5}, {4, off, 4.5}};
    for (const Entry& e : entries) {
        T_BASE_SHEAR_D r;
        r.nKey = e.key;
        r.pt[0] = r.pt[1] = e.p;
        for (int k = 0; k < 5; ++k) r.d[k] = e.v + k;
        D().m_mapBaseShear.SetAt(e.key, r);
    }
    // An entry whose record names another key is passed over too.
    T_BASE_SHEAR_D stray;
    stray.nKey = 77;
    stray.pt[0] = stray.pt[1] = on1;
    stray.d[0] = 9.75;
    D().m_mapBaseShear.SetAt(6, stray);
    CRecordDC dc;
    Output(dc, 44);
    std::multiset<std::string> got;
    for (const GdiRecord* t : Texts(dc)) got.insert(t->text);
    const std::multiset<std::string> want = {"1.50", "2.50", "3.50", "4.50", "5.50",
                                             "3.50", "4.50", "5.50", "6.50", "7.50"};
    EXPECT_EQ(got, want);
    // Five values stacked 15 pixels apart above the column, right-aligned.
    const CPoint p = Win(on1);
    for (const GdiRecord* t : Texts(dc))
        if (t->text == "1.50") {
            EXPECT_EQ(t->Arg(0), p.x - 15);
            EXPECT_EQ(t->Arg(1), p.y - 22);
            EXPECT_EQ(t->textAlign, 10u);
        }
}

// The second form of CalcRotatedTextPos: across the text line by a signed distance.
TEST_F(DesignNumbersTest, RotatedTextPositionByDistance) {
    struct Row {
        int escapement, distance;
        CPoint want;
    } rows[] = {{0, 10, {100, 90}},     {0, -12, {100, 112}}, {900, 10, {90, 100}}, {1800, 10, {100, 110}},
                {2700, 10, {110, 100}}, {300, 10, {95, 92}},  {3300, 10, {105, 92}}, {450, 20, {86, 86}},
                {0, 0, {100, 100}}};
    const CPoint anchor(100, 100);
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.escapement << " " << r.distance);
        const CPoint p = CPVXLabelBase::CalcRotatedTextPos(&anchor, r.escapement, r.distance);
        EXPECT_EQ(p.x, r.want.x);
        EXPECT_EQ(p.y, r.want.y);
    }
    EXPECT_EQ(CPVXLabelBase::CalcRotatedTextPos(nullptr, 0, 10), CPoint(0, 0));
}

// The design legends: figure modes 23, 28, 35, 36 and 42 to 56 while the model holds the engine;
// the steel and envelope figures draw the engine's range (shares only where bands are filled:
// 23), the ratio figure its extremes only when both members are known (a fresh engine knows
// none), the base-force figures the caption of their label lines.
namespace {

CString MomentUnit() {
    CString s;
    CUnitCtrl().GetUnitSystem(PVXUNIT_MOMENT, s);
    return s;
}

}  // namespace

TEST_F(DesignNumbersTest, DesignLegends) {
    D().m_pContourEngine = new CContourEngine(-5.0, 12.0);
    CLegendEngine& L = M().m_LegendEngine;
    L.m_rcPanel.SetRect(0, 0, 180, 600);
    struct Row {
        int figureMode;
        bool bEngine;
        int legendMode;
        bool bScale, bAcr, bShares, bCaption;
    } rows[] = {{23, true, 23, true, false, true, false},    {35, true, 35, true, false, false, false},
                {36, true, 36, true, false, false, false},   {28, true, 28, false, false, false, false},
                {42, true, 42, false, false, false, true},   {56, true, 42, false, false, false, true},
                {21, true, -1, false, false, false, false},  {23, false, -1, false, false, false, false},
                {42, false, -1, false, false, false, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.figureMode << (r.bEngine ? " with engine" : " without engine"));
        M().m_pFigure->m_nFigureMode = r.figureMode;
        CFigureDesignData* saved = M().m_pDesignData;
        if (!r.bEngine) M().m_pDesignData = nullptr;
        EXPECT_EQ(L.GetDesignLegendMode(), r.legendMode);
        L.ResetContourEngine();
        EXPECT_EQ(L.m_pContourEngine == D().m_pContourEngine, r.bScale);
        CRecordDC dc;
        dc.Create();
        CRect rc(0, 100, 180, 400);
        if (r.legendMode >= 0) L.DrawRainbow(&dc, &rc);
        EXPECT_EQ(dc.Count("Rectangle") + dc.Count("GradientFill") > 0, r.bScale);
        bool bMax = false, bShare = false, bCaption = false;
        for (const GdiRecord* t : Texts(dc)) {
            bMax = bMax || t->text == "MAX :  ";
            bShare = bShare || (!t->text.empty() && t->text.back() == '%');
            bCaption = bCaption || t->text == std::string("MZ  ") + MomentUnit().GetString();
        }
        EXPECT_EQ(bMax, r.bAcr);
        EXPECT_EQ(bShare, r.bShares);
        EXPECT_EQ(bCaption, r.bCaption);
        M().m_pDesignData = saved;
    }
    // With both members known the ratio legend lists them, in the legend's fixed format.
    L.m_bAutoDigits = 1;
    L.m_nDecimals = 2;
    D().m_dACRMax = 0.73;
    D().m_nACRMaxKey = 10;
    D().m_dACRMin = 0.31;
    D().m_nACRMinKey = 11;
    M().m_pFigure->m_nFigureMode = 28;
    CRecordDC dc;
    dc.Create();
    CRect rc(0, 100, 180, 400);
    L.DrawRainbow(&dc, &rc);
    std::vector<std::string> texts;
    for (const GdiRecord* t : Texts(dc)) texts.push_back(t->text);
    const std::vector<std::string> want = {"MAX :  ", "0.73", "MEMB.=", "10", "MIN :  ", "0.31", "MEMB.=", "11"};
    EXPECT_EQ(texts, want);
}

}  // namespace designout

namespace designout {

TEST_F(DesignNumbersTest, CrowdingReadsTurnedBoxesAndNumbersOnMarkers) {
    LOGFONT lf{};
    lf.lfHeight = -12;
    const int L = FontEngine::Instance().MeasureText(lf, "29.137").cx, h = FontEngine::Instance().MeasureText(lf, "2").cy;
    struct Row {
        const char* label;
        std::vector<std::array<int, 3>> texts;  // left, top, escapement
        std::vector<CRect> symbols;
        int crowded, onSymbols;
    } rows[] = {
        {"turned 90, end to end 2 px apart", {{300, 300, 900}, {300, 300 - L - 2, 900}}, {}, 1, 0},
        {"lines of a turned block 1.3 heights apart", {{300, 300, 900}, {300 + 13 * h / 10, 300, 900}}, {}, 0, 0},
        {"turned 30, stacked 1.3 heights across", {{300, 300, 300}, {300 + 13 * h / 20, 300 + 113 * h / 100, 300}}, {}, 0, 0},
        {"on a marker 4 heights wide (over the 3 once taken, under a tenth of 600 px)", {{300, 300, 0}},
         {CRect(290, 270, 290 + 4 * h, 270 + 4 * h)}, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const ViewTextCrowding c = MeasureViewTextCrowding(M(), [&](CDC* pDC) {
            M().m_arrSymbolBoxes = r.symbols;
            for (const auto& [x, y, tenths] : r.texts) {
                LOGFONT turned = lf;
                turned.lfEscapement = tenths;
                CFont font;
                font.CreateFontIndirect(&turned);
                CSelectScope<CFont> select(pDC, &font);
                pDC->TextOut(x, y, "29.137");
            }
            return 1;
        });
        EXPECT_EQ(c.nCrowded, r.crowded);
        EXPECT_EQ(c.nOnSymbols, r.onSymbols);
    }
}

}  // namespace designout
