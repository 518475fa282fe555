// The maxima listings of the legend: the number text of the listings, the column-force, ACR and
// figure reaction listings (texts, positions, order, the baseline left in the rectangle, the DC
// state left behind) and when the scale dispatch chooses them.
#include <cstring>
#include <string>
#include <vector>

#include "module/designdata/CFigureDesignData.h"
#include "tests/module/legend/LegendTestSupport.h"

class LegendMaximaTest : public LegendTest {
protected:
    void SetUp() override {
        LegendTest::SetUp();
        LOGFONT lf{};
        lf.lfHeight = 13;
        L().m_fontValue.DeleteObject();
        ASSERT_TRUE(L().m_fontValue.CreateFontIndirect(&lf));
        L().m_nValueCharWidth = 8;
        L().m_nValueLineHeight = 12;
        L().m_bAutoDigits = 1;
        L().m_nDecimals = 2;
    }
    void TearDown() override {
        M().m_pDesignData = nullptr;  // borrowed by the model
        LegendTest::TearDown();
    }

    std::string Num(double v) {
        char buf[CLegendEngine::kTextCForcSize];
        L().GetTextCForc(v, buf, sizeof buf);
        return buf;
    }

    // Runs a listing on a recording DC with a font and alignment of its own in the rectangle
    // (0, 0, 200, 400), compares every TextOut with want in order and checks the DC state and the
    // baseline left in the rectangle's bottom.
    template <class Fn>
    void ExpectListing(Fn draw, const std::vector<LegendLine>& want, int nBottom) {
        LOGFONT lfOld{};
        lfOld.lfHeight = 29;
        CFont oldFont;
        oldFont.CreateFontIndirect(&lfOld);
        CRecordDC dc;
        dc.Create();
        dc.SelectObject(&oldFont);
        dc.SetTextAlign(TA_RIGHT | TA_TOP);
        dc.Clear();
        CRect rc(0, 0, 200, 400);
        draw(dc, rc);
        EXPECT_EQ(rc, CRect(0, 0, 200, nBottom));
        EXPECT_EQ(dc.GetCurrentFont(), &oldFont);
        auto t = dc.GetRecords("TextOut");
        if (!want.empty()) {
            EXPECT_EQ(dc.GetTextAlign(), want.back().align);  // left as the last line set it
        }
        ASSERT_EQ(t.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE("line " + std::to_string(i) + ": " + want[i].text);
            EXPECT_EQ(t[i]->text, want[i].text);
            EXPECT_EQ(t[i]->textAlign, want[i].align);
            EXPECT_EQ(t[i]->Arg(0), want[i].x);
            EXPECT_EQ(t[i]->Arg(1), want[i].y);
            EXPECT_EQ(t[i]->textColor, L().m_crText);
            EXPECT_EQ(t[i]->bkMode, TRANSPARENT);
            EXPECT_EQ(t[i]->font.lfHeight, 13);
        }
    }
};

TEST_F(LegendMaximaTest, NumberTextFollowsSwitchDecimalsAndWidth) {
    struct Row {
        const char* label;
        int bAuto, nDecimals;
        double v;
        const char* want;
    } rows[] = {
        // Exponents print with three digits, as every number of the legend does.
        {"exponent switch", 0, 2, 1234.56, "1.235E+003"},
        {"exponent switch, small", 0, 5, 0.5, "5.000E-001"},
        {"fixed, 3 decimals", 1, 3, 12.5, "12.500"},
        {"12 characters", 1, 5, 123456.5, "1.235E+005"},
        {"11 characters", 1, 4, 123456.5, "123456.5000"},
        {"negative fraction takes a sign place", 1, 9, -0.25, "-2.500E-001"},
        {"negative fraction that fits", 1, 8, -0.25, "-0.25000000"},
        {"%g of a long integer part is an exponent", 1, 2, 1234567.0, "1.235E+006"},
        {"%g of a round integer part is short", 1, 2, 1000000.0, "1000000.00"},
        // "%g" of 1e10 is "1e+010": 2 + 6 + 1 <= 11, but "10000000000.00" has 14 characters.
        {"a fixed text wider than 11 characters", 1, 2, 1e10, "1.000E+010"},
        {"1e70 without decimals", 1, 0, 1e70, "1.000E+070"},
        {"negative", 1, 2, -42.126, "-42.13"},
        {"no decimals", 1, 0, 7.4, "7"},
        {"negative decimals count as none", 1, -3, 7.4, "7"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        L().m_bAutoDigits = r.bAuto;
        L().m_nDecimals = r.nDecimals;
        EXPECT_EQ(Num(r.v), r.want);
    }
}

TEST_F(LegendMaximaTest, NumberTextNeverOverrunsTheBuffer) {
    L().m_bAutoDigits = 1;
    L().m_nDecimals = 4;
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    L().GetTextCForc(123456.5, buf, 5);  // "123456.5000" cut to four characters
    EXPECT_STREQ(buf, "1234");
    EXPECT_EQ(buf[5], 'x');
    L().GetTextCForc(1.0, nullptr, 8);  // no buffer: nothing happens
    L().GetTextCForc(1.0, buf, 0);
    EXPECT_STREQ(buf, "1234");
}

TEST_F(LegendMaximaTest, ColumnForceListingOrderPositionsAndMembers) {
    CForceEngine& f = Force();
    // Stored N, FY, FZ, MZ, MY.
    const UINT keys[5] = {101, 102, 103, 104, 105};
    const double vals[5] = {10.0, -2.5, 3.0, 4.0, -5.0};
    for (int i = 0; i < 5; ++i) {
        f.m_nColmMaxKey[i] = keys[i];
        f.m_dColmMaxVal[i] = vals[i];
    }
    // Listed FY, FZ, N, MY, MZ; negative numbers one character further left.
    const std::vector<LegendLine> want = {
        {"MAX FY:", kLegendLeft, 8, 12},  {"-2.50", kLegendLeft, 64, 12},  {"MEMB.=", kLegendLeft, 16, 28},  {"102", kLegendLeft, 80, 28},
        {"MAX FZ:", kLegendLeft, 8, 48},  {"3.00", kLegendLeft, 72, 48},   {"MEMB.=", kLegendLeft, 16, 64},  {"103", kLegendLeft, 80, 64},
        {"MAX N:", kLegendLeft, 8, 84},   {"10.00", kLegendLeft, 72, 84},  {"MEMB.=", kLegendLeft, 16, 100}, {"101", kLegendLeft, 80, 100},
        {"MAX MY:", kLegendLeft, 8, 120}, {"-5.00", kLegendLeft, 64, 120}, {"MEMB.=", kLegendLeft, 16, 136}, {"105", kLegendLeft, 80, 136},
        {"MAX MZ:", kLegendLeft, 8, 156}, {"4.00", kLegendLeft, 72, 156},  {"MEMB.=", kLegendLeft, 16, 172}, {"104", kLegendLeft, 80, 172},
    };
    ExpectListing([&](CRecordDC& dc, CRect& rc) { L().DrawCForcRainbow(&dc, &rc); }, want, 172);
}

TEST_F(LegendMaximaTest, ColumnForceListingOfANewEngineShowsZeros) {
    Force();
    CRecordDC dc;
    dc.Create();
    CRect rc(0, 0, 200, 400);
    L().DrawCForcRainbow(&dc, &rc);
    auto t = dc.GetRecords("TextOut");
    ASSERT_EQ(t.size(), 20u);
    for (size_t i = 1; i < t.size(); i += 2) {
        SCOPED_TRACE(i);
        EXPECT_EQ(t[i]->text, i % 4 == 1 ? "0.00" : "0");  // value, then member key
    }
    EXPECT_EQ(rc.bottom, 172);
}

TEST_F(LegendMaximaTest, AcrListingNeedsBothMembers) {
    CFigureDesignData d(m_model.get());
    M().m_pDesignData = &d;
    d.m_dACRMax = 0.876;
    d.m_dACRMin = -0.126;
    struct Row {
        const char* label;
        UINT maxKey, minKey;
    } empty[] = {{"no members", 0, 0}, {"no maximum member", 0, 7}, {"no minimum member", 7, 0}};
    for (const Row& r : empty) {
        SCOPED_TRACE(r.label);
        d.m_nACRMaxKey = r.maxKey;
        d.m_nACRMinKey = r.minKey;
        ExpectListing([&](CRecordDC& dc, CRect& rc) { L().DrawACRRainbow(&dc, &rc); }, {}, 400);
    }
    d.m_nACRMaxKey = 31;
    d.m_nACRMinKey = 32;
    const std::vector<LegendLine> want = {
        {"MAX :  ", kLegendLeft, 8, 12}, {"0.88", kLegendLeft, 72, 12},  {"MEMB.=", kLegendLeft, 16, 28}, {"31", kLegendLeft, 80, 28},
        {"MIN :  ", kLegendLeft, 8, 48}, {"-0.13", kLegendLeft, 64, 48}, {"MEMB.=", kLegendLeft, 16, 64}, {"32", kLegendLeft, 80, 64},
    };
    ExpectListing([&](CRecordDC& dc, CRect& rc) { L().DrawACRRainbow(&dc, &rc); }, want, 64);

    M().m_pDesignData = nullptr;  // no design-data engine: nothing
    ExpectListing([&](CRecordDC& dc, CRect& rc) { L().DrawACRRainbow(&dc, &rc); }, {}, 400);
}

TEST_F(LegendMaximaTest, FigureReactionListingShowsMinimumThenMaximum) {
    CReactionEngine& e = Reaction();
    e.m_nComponent = 2;
    e.m_dMinValue = -3.5;
    e.m_dMaxValue = 12.25;
    e.m_nMinNode = 7;
    e.m_nMaxNode = 1234;
    e.m_strMinLoadCase = "DL";
    e.m_strMaxLoadCase = "LL+WX";
    const std::string node = LegendStr(Txt("IDS_TBX_PVX_NODE__"));
    const std::string lc = LegendStr(Txt("IDS_TBX_PVX_Load_Case_"));
    const std::vector<LegendLine> want = {
        {LegendStr(Txt("IDS_TBX_PVX_MIN__REACTION")), kLegendCentre, 100, 12},
        {node + "     7", kLegendLeft, 8, 30},
        // FZ labels: a negative minimum "FZ:  ", a positive maximum "FZ:  "; two decimals.
        {"FZ:  -3.50", kLegendLeft, 8, 48},
        {lc + "  DL", kLegendLeft, 8, 66},
        {LegendStr(Txt("IDS_TBX_PVX_MAX__REACTION")), kLegendCentre, 100, 90},
        {node + "  1234", kLegendLeft, 8, 108},
        {"FZ:  12.25", kLegendLeft, 8, 126},
        {lc + "  LL+WX", kLegendLeft, 8, 144},
    };
    ExpectListing([&](CRecordDC& dc, CRect& rc) { L().DrawReacfRainbow4Figure(&dc, &rc); }, want, 144);

    delete M().m_pReactionEngine;  // no reaction engine: nothing
    M().m_pReactionEngine = nullptr;
    ExpectListing([&](CRecordDC& dc, CRect& rc) { L().DrawReacfRainbow4Figure(&dc, &rc); }, {}, 400);
}

TEST_F(LegendMaximaTest, DispatchChoosesListingsOnlyWhenAsked) {
    GiveScale(Force(), 6, 0, 5);
    Force().m_nColmMaxKey[1] = 55;
    CFigureDesignData d(m_model.get());
    d.m_nACRMaxKey = 1;
    d.m_nACRMinKey = 2;
    L().m_rcPanel.SetRect(0, 0, 180, 600);
    enum Kind { CONTOUR, CFORC, ACR, NONE };
    struct Row {
        const char* label;
        int mode, listing, deformed, design;
        Kind kind;
    } rows[] = {
        {"frame force, listing on", 6, 1, 0, 0, CFORC},
        {"frame force, listing off", 6, 0, 0, 0, CONTOUR},
        {"frame force on the deformed shape", 6, 1, 1, 0, CONTOUR},
        {"frame diagram ignores the listing", 7, 1, 0, 0, CONTOUR},
        {"design with its engine", 28, 0, 0, 1, ACR},
        {"design without its engine", 28, 0, 0, 0, NONE},
        {"design engine elsewhere", 2, 0, 0, 1, CONTOUR},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        M().m_nDisplayMode = r.mode;
        M().m_bCForcList = r.listing;
        Force().m_bDeformed = r.deformed;
        M().m_pDesignData = r.design ? &d : nullptr;
        L().m_pContourEngine = Force().m_pContourEngine;
        CRecordDC dc;
        dc.Create();
        CRect rc(0, 100, 180, 400);
        L().DrawRainbow(&dc, &rc);
        EXPECT_EQ(dc.Count("Rectangle") > 0, r.kind == CONTOUR);
        EXPECT_EQ(FindText(dc, "MAX FY:") != nullptr, r.kind == CFORC);
        EXPECT_EQ(FindText(dc, "MAX :  ") != nullptr, r.kind == ACR);
        if (r.kind == NONE) {
            EXPECT_EQ(dc.GetRecords().size(), 0u);
        }
    }
}
