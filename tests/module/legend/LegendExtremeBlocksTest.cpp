// The extreme-value text blocks of the legend: slab crack (heading by display kind and direction,
// top and bottom widths with their member keys), the maximum-reaction block and the settlement
// block (headings, node keys, values), each line's text, alignment and position, the DC state they
// leave behind, and what they draw when their engine is missing.
#include <string>
#include <vector>

#include "tests/module/legend/LegendTestSupport.h"

namespace {

// Metrics of the value font used by a case; the scale rectangle is always (20, 100, 200, 400).
struct Metrics {
    int w, h;
};

}  // namespace

class LegendExtremeBlocksTest : public LegendTest {
protected:
    void SetUp() override {
        LegendTest::SetUp();
        LOGFONT lf{};
        lf.lfHeight = 13;
        L().m_fontValue.DeleteObject();
        ASSERT_TRUE(L().m_fontValue.CreateFontIndirect(&lf));
        L().m_rcPanel.SetRect(0, 0, 200, 600);
    }

    void Use(const Metrics& m) {
        L().m_nValueCharWidth = m.w;
        L().m_nValueLineHeight = m.h;
    }

    // Runs a block on a fresh recording DC whose alignment and font are set beforehand, checks that
    // both come back unchanged, and compares every TextOut with the expected lines in order.
    template <class Fn>
    void ExpectBlock(Fn draw, const std::vector<LegendLine>& want) {
        LOGFONT lfOld{};
        lfOld.lfHeight = 29;
        CFont oldFont;  // outlives the DC it is selected into
        oldFont.CreateFontIndirect(&lfOld);
        CRecordDC dc;
        dc.Create();
        dc.SelectObject(&oldFont);
        dc.SetTextAlign(TA_RIGHT | TA_TOP);
        dc.Clear();
        CRect rc(20, 100, 200, 400);
        draw(dc, rc);
        EXPECT_EQ(rc, CRect(20, 100, 200, 400));  // the scale area is not changed
        EXPECT_EQ(dc.GetTextAlign(), static_cast<UINT>(TA_RIGHT | TA_TOP));
        EXPECT_EQ(dc.GetCurrentFont(), &oldFont);
        auto t = dc.GetRecords("TextOut");
        ASSERT_EQ(t.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE("line " + std::to_string(i) + ": " + want[i].text);
            EXPECT_EQ(t[i]->text, want[i].text);
            EXPECT_EQ(t[i]->textAlign, want[i].align);
            EXPECT_EQ(t[i]->Arg(0), want[i].x);
            EXPECT_EQ(t[i]->Arg(1), want[i].y);
            EXPECT_EQ(t[i]->textColor, L().m_crText);
            EXPECT_EQ(t[i]->bkMode, TRANSPARENT);
            EXPECT_EQ(t[i]->font.lfHeight, 13);  // the value font
        }
    }
};

TEST_F(LegendExtremeBlocksTest, CrackBlockShowsTopAndBottomWidthsWithTheirMembers) {
    CForceEngine& f = Force();
    // The rebar settings and extremes must not leak into the crack block.
    f.m_nSRbarKind = 1;
    f.m_bSRbarYDir = 1;
    f.m_dSlabRbarMaxTop = 300;
    f.m_dSlabRbarMaxBot = 250;
    M().m_nMinKey = 22;  // member of the top extreme
    M().m_nMaxKey = 11;  // member of the bottom extreme
    const std::string member = LegendStr(Txt("IDS_TBX_PVX_Member__"));
    const std::string top = LegendStr(Txt("IDS_TBX_PVX_Top__"));
    const std::string bottom = LegendStr(Txt("IDS_TBX_PVX_Bottom__"));
    const std::string max = LegendStr(Txt("IDS_TBX_PVX_Max"));
    struct Row {
        const char* label;
        int kind, yDir;
        double top, bottom;
        const char* heading;
        const char *topText, *bottomText;  // "%g", exponents of three digits
        Metrics m;
        int y[6];  // heading, Max, top value, member, bottom value, member
    } rows[] = {
        // Heading one line below the top, 3h to "Max", h to each line, 3h between the extremes.
        {"total ignores the direction switch", 0, 1, 0.25, 0.3, "IDS_TBX_PVX_Crack", "0.25", "0.3", {6, 12},
         {112, 148, 160, 172, 208, 220}},
        {"X direction, small widths", 1, 0, 0.000125, 1.5e-05, "IDS_TBX_PVX_Crack_X_Dir_", "0.000125", "1.5e-005",
         {6, 12}, {112, 148, 160, 172, 208, 220}},
        {"Y direction, whole numbers", 1, 1, 2, 0, "IDS_TBX_PVX_Crack_Y_Dir_", "2", "0", {6, 12},
         {112, 148, 160, 172, 208, 220}},
        {"odd line height 13, width 7", 1, 0, 1234567, -0.5, "IDS_TBX_PVX_Crack_X_Dir_", "1.23457e+006", "-0.5",
         {7, 13}, {113, 152, 165, 178, 217, 230}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Use(r.m);
        f.m_nSCracKind = r.kind;
        f.m_bSCracYDir = r.yDir;
        f.m_dSlabCracMax = r.top;
        f.m_dSlabCracMaxBot = r.bottom;
        const int x = 20 + r.m.w;
        ExpectBlock([&](CRecordDC& dc, CRect& rc) { L().DrawSCracRainbow(&dc, &rc); },
                    {{LegendStr(Txt(r.heading)), kLegendLeft, x, r.y[0]},
                     {max, kLegendLeft, x, r.y[1]},
                     {top + r.topText, kLegendLeft, x, r.y[2]},
                     {member + "22", kLegendLeft, x, r.y[3]},
                     {bottom + r.bottomText, kLegendLeft, x, r.y[4]},
                     {member + "11", kLegendLeft, x, r.y[5]}});
    }
}

TEST_F(LegendExtremeBlocksTest, CombinedReactionBlockShowsTheMaximumOnly) {
    CReactionEngine& e = Reaction();
    e.m_nMinNode = 7;
    e.m_nMaxNode = 42;
    const std::string node = LegendStr(Txt("IDS_TBX_PVX_NODE__"));
    const std::string heading = LegendStr(Txt("IDS_TBX_PVX_MAX__REACTION"));
    struct Row {
        const char* label;
        int comp, autoDigits, decimals;
        double maxValue;
        UINT maxNode;
        const char* valueLine;
        const char* nodeField;  // "%6d"
        Metrics m;
        int y[3];  // heading, node, value: each 3h/2 further down
    } rows[] = {
        {"FX positive, fixed point", 0, 1, 2, 2.0, 42, "FX:   2.00", "    42", {6, 12}, {118, 136, 154}},
        {"FZ maximum negative, exponent", 2, 0, 2, -1.5, 42, "FZ: -1.5000E+000", "    42", {6, 12}, {118, 136, 154}},
        {"MY positive, one decimal", 5, 1, 1, 250.0, 3, "MY:   250.0", "     3", {6, 12}, {118, 136, 154}},
        {"resultant moment, key wider than the field", 7, 0, 2, 4.0, 1234567, "MXYZ: 4.0000E+000", "1234567",
         {6, 12}, {118, 136, 154}},
        {"odd line height 13, width 7", 1, 1, 3, -0.25, 9, "FY:  -0.250", "     9", {7, 13}, {119, 138, 157}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Use(r.m);
        e.m_nComponent = r.comp;
        e.m_dMinValue = -999.0;  // the minimum is never shown
        e.m_dMaxValue = r.maxValue;
        e.m_nMaxNode = r.maxNode;
        L().m_bAutoDigits = r.autoDigits;
        L().m_nDecimals = r.decimals;
        const int x = 20 + r.m.w;
        ExpectBlock([&](CRecordDC& dc, CRect& rc) { L().DrawReacfRainbowComb(&dc, &rc, 0); },
                    {{heading, kLegendCentre, 110, r.y[0]},
                     {node + r.nodeField, kLegendLeft, x, r.y[1]},
                     {r.valueLine, kLegendLeft, x, r.y[2]}});
    }

    // Its texts are those of the maximum half of the full reaction block, whatever the option.
    Use({6, 12});
    e.m_nComponent = 0;
    e.m_dMaxValue = 2.0;
    e.m_nMaxNode = 42;
    CRect rc(20, 100, 200, 400);
    CRecordDC full, comb;
    full.Create();
    comb.Create();
    L().DrawReacfRainbow(&full, &rc);
    L().DrawReacfRainbowComb(&comb, &rc, 1);
    const std::vector<std::string> f = Texts(full), c = Texts(comb);
    ASSERT_EQ(f.size(), 6u);
    EXPECT_EQ(c, std::vector<std::string>(f.begin() + 3, f.end()));
}

TEST_F(LegendExtremeBlocksTest, SettlementBlockShowsMinimumThenMaximumWithNodes) {
    CDeformEngine& d = Deform();
    const std::string node = LegendStr(Txt("IDS_TBX_PVX_NODE__"));
    const std::string minHeading = LegendStr(Txt("IDS_TBX_PVX_MIN__SETTLEMENT"));
    const std::string maxHeading = LegendStr(Txt("IDS_TBX_PVX_MAX__SETTLEMENT"));
    struct Row {
        const char* label;
        int autoDigits, decimals;
        double lo, hi;
        UINT minKey, maxKey;
        const char *loText, *hiText;
        const char *minField, *maxField;  // "%6d"
        Metrics m;
        int y[6];  // min heading (h below top), node, value (3h/2 each), max heading (2h), node, value
    } rows[] = {
        {"fixed point", 1, 3, -12.5, 0.75, 7, 123456, "-12.500", "0.750", "     7", "123456", {6, 12},
         {112, 130, 148, 172, 190, 208}},
        {"exponent", 0, 3, -0.0125, 3.5, 1234567, 0, "-1.250E-002", "3.500E+000", "1234567", "     0", {6, 12},
         {112, 130, 148, 172, 190, 208}},
        {"no decimals", 1, 0, -4.4, 18.6, 31, 5, "-4", "19", "    31", "     5", {6, 12},
         {112, 130, 148, 172, 190, 208}},
        {"odd line height 13, width 7", 1, 2, -1.0, 2.126, 4, 8, "-1.00", "2.13", "     4", "     8", {7, 13},
         {113, 132, 151, 177, 196, 215}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Use(r.m);
        L().m_bAutoDigits = r.autoDigits;
        L().m_nDecimals = r.decimals;
        d.m_dLegendMin = r.lo;
        d.m_dLegendMax = r.hi;
        M().m_nMinKey = r.minKey;
        M().m_nMaxKey = r.maxKey;
        const int x = 20 + r.m.w;
        ExpectBlock([&](CRecordDC& dc, CRect& rc) { L().DrawSettlementRainbow(&dc, &rc); },
                    {{minHeading, kLegendCentre, 110, r.y[0]},
                     {node + r.minField, kLegendLeft, x, r.y[1]},
                     {r.loText, kLegendLeft, x, r.y[2]},
                     {maxHeading, kLegendCentre, 110, r.y[3]},
                     {node + r.maxField, kLegendLeft, x, r.y[4]},
                     {r.hiText, kLegendLeft, x, r.y[5]}});
    }
}

TEST_F(LegendExtremeBlocksTest, BlocksDrawNothingWithoutTheirEngineAndMatchTheDispatch) {
    CRect rc(20, 100, 200, 400);
    {
        SCOPED_TRACE("no engines");
        CRecordDC dc;
        dc.Create();
        L().DrawSCracRainbow(&dc, &rc);
        L().DrawReacfRainbowComb(&dc, &rc, 0);
        L().DrawSettlementRainbow(&dc, &rc);
        EXPECT_EQ(dc.GetRecords().size(), 0u);
    }
    Force().m_dSlabCracMax = 0.2;
    Reaction().m_dMaxValue = 1.0;
    Deform().m_dLegendMax = 1.0;
    {
        SCOPED_TRACE("no device context or rectangle");
        CRecordDC dc;
        dc.Create();
        L().DrawSCracRainbow(nullptr, &rc);
        L().DrawSCracRainbow(&dc, nullptr);
        L().DrawReacfRainbowComb(nullptr, &rc, 0);
        L().DrawReacfRainbowComb(&dc, nullptr, 0);
        L().DrawSettlementRainbow(nullptr, &rc);
        L().DrawSettlementRainbow(&dc, nullptr);
        EXPECT_EQ(dc.GetRecords().size(), 0u);
    }
    struct Row {
        const char* label;
        int mode;
        void (CLegendEngine::*draw)(CDC*, CRect*);
    } rows[] = {
        {"slab crack", 18, &CLegendEngine::DrawSCracRainbow},
        {"settlement without contour", 69, &CLegendEngine::DrawSettlementRainbow},
    };
    M().m_bContour = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        M().m_nDisplayMode = r.mode;
        CRecordDC viaDispatch, direct;
        viaDispatch.Create();
        direct.Create();
        L().DrawRainbow(&viaDispatch, &rc);
        (L().*r.draw)(&direct, &rc);
        EXPECT_EQ(Texts(viaDispatch), Texts(direct));
        EXPECT_EQ(viaDispatch.Count("TextOut"), 6u);
    }
}
