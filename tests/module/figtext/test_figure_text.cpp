// Figure text services: ratio texts and their colours, angle folding, the unit scale, and text
// blocks laid out and placed in outlines on a real drawing. Expected texts and coordinates are
// worked out by hand in the comments.
#include <gtest/gtest.h>

#include <cmath>

#include "host/vdraw/CVdrawUtil.h"
#include "host/vdraw/VdDrawingHandle.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureText.h"
#include "module/figures/FigureTextRoom.h"
#include "module/resources/PVXResources.h"

namespace {

constexpr double kTol = 1e-9;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kRed = 0x0000FF;

CArray<T_POINT2D> Rect42() {
    CArray<T_POINT2D> r;
    for (const T_POINT2D& p : {T_POINT2D(0, 0), T_POINT2D(4, 0), T_POINT2D(4, 2), T_POINT2D(0, 2)}) r.Add(p);
    return r;
}

class FigureTextTest : public ::testing::Test {
protected:
    void SetUp() override { SetFigurePrecision(2); }
    void TearDown() override { SetFigurePrecision(2); }
};

TEST_F(FigureTextTest, RatioTextsAndTheirColours) {
    struct Row {
        const char* label;
        double ratio;
        const char* prefix;
        const char* suffix;
        int unit;
        BYTE bracketed;
        BOOL ratioMode;
        double numerator, denominator;
        const char* text;
        COLORREF colour;
    } rows[] = {
        {"exactly 0.999999 fails", 0.999999, "", "", 0, 1, 1, 0, 0, "1.00", kRed},
        {"0.9999991 passes", 0.9999991, "", "", 0, 1, 1, 0, 0, "1.00", kGreen},
        {"value over limit with mm", 0.8, "", "", 2, 1, 0, 250, 200, "250.00/200.00mm", kRed},
        {"prefix, suffix, KN, bracketed", 1.5, "R", "12", 50, 1, 1, 0, 0, "R:1.50KN(12)", kGreen},
        {"a slash prefix takes no colon", 1.5, "/", "", 0, 1, 1, 0, 0, "/1.50", kGreen},
        {"not bracketed", 1.5, "R", "x", 0, 0, 1, 0, 0, "R1.50x", kGreen},
        {"unit 60", 2, "", "", 60, 1, 1, 0, 0, "2.00KN*M", kGreen},
        {"unit 70", 2, "", "", 70, 1, 1, 0, 0, "2.00KN/M", kGreen},
        {"unit 1", 2, "", "", 1, 1, 1, 0, 0, "2.00M", kGreen},
        {"an unknown unit writes nothing", 2, "", "", 3, 1, 1, 0, 0, "2.00", kGreen},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CFVDRatioStrMaker m(r.ratio, r.prefix, r.suffix, r.unit, r.bracketed);
        if (!r.ratioMode) m.SetValues(r.denominator, r.numerator, 0);
        CString text;
        CArray<COLORREF> colours;
        colours.Add(0x123456);  // MakeStr appends
        m.MakeStr(text, colours);
        EXPECT_STREQ(text, r.text);
        ASSERT_EQ(colours.GetSize(), 2);
        EXPECT_EQ(colours[1], r.colour);
        // A copy writes the same.
        CFVDRatioStrMaker copy;
        copy = m;
        CString again;
        copy.MakeStrNoColor(again);
        EXPECT_STREQ(again, r.text);
    }
    CString text0;
    // Without the bracketed argument a maker is bracketed.
    CFVDRatioStrMaker plain(1.5, "R", "12", 50);
    plain.MakeStrNoColor(text0);
    EXPECT_STREQ(text0, "R:1.50KN(12)");
    // Reset gives the defaults back: ratio 0, bracketed, ratio mode.
    CFVDRatioStrMaker m(1.5, "R", "12", 50, 0);
    m.Reset();
    CString text;
    m.MakeStrNoColor(text);
    EXPECT_STREQ(text, "0.00");
    EXPECT_EQ(m.m_bBracketed, 1);
}

TEST_F(FigureTextTest, RangeFormAndLineColours) {
    struct Row {
        const char* label;
        double ratio, lo, hi;
        const char* prefix;
        const char* alt;
        const char* text;
        COLORREF colour;
    } rows[] = {
        {"above the range: the overflow text", 100000, 0, 99999, "", "***", "***", kRed},
        {"inside the range", 12, 0, 99999, "", "***", "12.00", kGreen},
        {"within 1e-6 of the top counts as outside", 99999 - 5e-7, 0, 99999, "", "***", "***", kRed},
        {"outside without an overflow text keeps the value", -3, 0, 10, "", "", "-3.00", kRed},
        {"the overflow text is decorated", 100000, 0, 99999, "As", "***", "As:***", kRed},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CFVDRatioStrMaker m(r.ratio, r.prefix, "", 0, 1);
        CString text;
        CArray<COLORREF> colours;
        m.MakeStrEx(text, colours, r.lo, r.hi, r.alt);
        EXPECT_STREQ(text, r.text);
        ASSERT_EQ(colours.GetSize(), 1);
        EXPECT_EQ(colours[0], r.colour);
    }
    // One limit L is the range (-L, L).
    CString text;
    CArray<COLORREF> colours;
    CFVDRatioStrMaker(-4, "", "", 0, 1).MakeStrEx(text, colours, 5.0, "***");
    EXPECT_STREQ(text, "-4.00");
    CFVDRatioStrMaker(-6, "", "", 0, 1).MakeStrEx(text, colours, 5.0, "***");
    EXPECT_STREQ(text, "***");
    ASSERT_EQ(colours.GetSize(), 2);
    EXPECT_EQ(colours[0], kGreen);
    EXPECT_EQ(colours[1], kRed);

    // Several makers: one colour per maker, or one per text line.
    CArray<CFVDRatioStrMaker> two;
    two.Add(CFVDRatioStrMaker(1.2, "", "", 0, 1));
    two.Add(CFVDRatioStrMaker(0.8, "", "", 0, 1));
    CArray<COLORREF> perMaker;
    CFVDRatioStrMaker::s_MakeStr(two, text, perMaker, "\n");
    EXPECT_STREQ(text, "1.20\n0.80");
    ASSERT_EQ(perMaker.GetSize(), 2);
    EXPECT_EQ(perMaker[0], kGreen);
    EXPECT_EQ(perMaker[1], kRed);
    // On one line (range 1 .. 99999): 0.8 is out, so the line is red.
    CArray<COLORREF> lines;
    CFVDRatioStrMaker::s_MakeStrEx(two, text, lines, "  ", 1.0, 99999.0, "***");
    EXPECT_STREQ(text, "1.20  ***");
    ASSERT_EQ(lines.GetSize(), 1);
    EXPECT_EQ(lines[0], kRed);
    // A maker whose text opens with a line feed starts the next line: "A:1.20 " alone on the
    // first (green), "B:0.50 C:1.50" on the second (red for B).
    CArray<CFVDRatioStrMaker> three;
    three.Add(CFVDRatioStrMaker(1.2, "A", "", 0, 1));
    three.Add(CFVDRatioStrMaker(0.5, "\nB", "", 0, 1));
    three.Add(CFVDRatioStrMaker(1.5, "C", "", 0, 1));
    lines.RemoveAll();
    CFVDRatioStrMaker::s_MakeStrEx(three, text, lines, " ", 1.0, 99999.0, "");
    EXPECT_STREQ(text, "A:1.20 \nB:0.50 C:1.50");
    ASSERT_EQ(lines.GetSize(), 2);
    EXPECT_EQ(lines[0], kGreen);
    EXPECT_EQ(lines[1], kRed);
    EXPECT_EQ(LineColourOf(CArray<COLORREF>()), kGreen);
}

TEST_F(FigureTextTest, NumbersLabelsAndLines) {
    EXPECT_STREQ(FormatFigureNumber(2.5), "2.50");
    SetFigurePrecision(3);
    EXPECT_STREQ(FormatFigureNumber(-1.25), "-1.250");
    SetFigurePrecision(0);
    EXPECT_STREQ(FormatFigureNumber(7.0), "7");
    // A value that rounds to zero has no sign; one that does not keeps it.
    EXPECT_STREQ(FormatFigureNumber(-0.4), "0");
    EXPECT_STREQ(FormatFigureFixed(-0.00004, 4), "0.0000");
    EXPECT_STREQ(FormatFigureFixed(-0.00005001, 4), "-0.0001");
    EXPECT_STREQ(FormatFigureFixed(-10.0, 0), "-10");
    PVXRegisterResources();
    EXPECT_STREQ(MakeMomentAsLabel(1, 1), "Asz");
    EXPECT_STREQ(MakeMomentAsLabel(1, 0), "Asy");
    EXPECT_STREQ(MakeMomentAsLabel(0, 1), "Mz");
    EXPECT_STREQ(MakeMomentAsLabel(0, 0), "My");
    CStringArray lines;
    EXPECT_EQ(SplitFigureLines("a\nb\n", lines), 3);  // a trailing line feed makes an empty last line
    EXPECT_STREQ(lines[1], "b");
    EXPECT_EQ(SplitFigureLines("", lines), 0);
    // A settings value per millimetre of the metre unit; below 1e-6 the value is 1.
    EXPECT_NEAR(CFVDUnitScale(0).Get(), 1.0 / 1000, kTol);
    EXPECT_NEAR(CFVDUnitScale(-2).Get(), 2.0 / 1000, kTol);
    EXPECT_NEAR(CFVDUnitScale(5e-7).Get(), 1.0 / 1000, kTol);
}

TEST_F(FigureTextTest, AngleFolding) {
    struct Row {
        const char* label;
        double in, folded, upright, readable, quarter;
    } rows[] = {
        // -30 folds to 330: upright 330 - 180, readable 330 (>= 181), quarter 330 - 270.
        {"-30", -30, 330, 150, 330, 60},
        {"200", 200, 200, 20, 200, 20},
        {"135", 135, 135, 135, -45, 45},
        {"45", 45, 45, 45, 45, 45},
        {"720.5 loses two turns", 720.5, 0.5, 0.5, 0.5, 0.5},
        // The sign is kept: -400 is -40, which is 320 (not 40).
        {"-400", -400, 320, 140, 320, 50},
        {"360 is 0", 360, 0, 0, 0, 0},
        // 1e20 = 2^20 5^20 exactly; 1e20 mod 360 = 280 (0 mod 8 and 10 mod 45).
        {"a huge angle folds without spinning", 1e20, 280, 100, 280, 10},
        {"not a number folds to 0", NAN, 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_NEAR(FoldTextAngle(r.in), r.folded, 1e-9);
        EXPECT_NEAR(GetUprightTextAngle(r.in), r.upright, 1e-9);
        EXPECT_NEAR(GetReadableTextAngle(r.in), r.readable, 1e-9);
        EXPECT_NEAR(GetQuarterTextAngle(r.in), r.quarter, 1e-9);
    }
}

// The insertion points of the texts, in drawing units.
std::vector<T_POINT2D> TextPoints(CVdrawUtil& d, const CArray<long>& ids) {
    std::vector<T_POINT2D> pts;
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) pts.push_back(d.GetFigure(ids[i])->m_points[0]);
    return pts;
}

TEST_F(FigureTextTest, BlockLayoutByVerticalCode) {
    // The default style is 1 drawing unit high. At scale 1 three lines take 1.1 + 1.1 + 1 = 3.2
    // with a first line of 1: code 100 starts at 0.5 x 3.2 - 0.5 x 1 = 1.1 above the point, code
    // 8 at 3.2 - 1 = 2.2; code 0 hangs one line 0.1 lower. At scale 2 heights stay 1 drawing
    // unit, so the model offsets halve and the drawing offsets are the same. A spread block
    // turned off the level takes a pitch of 2; its points are compared turned back.
    struct Row {
        const char* label;
        double scale;
        int ver;
        const char* text;
        std::vector<double> ys;  // drawing units
        double angle = 0.0;
        BOOL spread = FALSE;
        double standOff = 0.0;
    } rows[] = {
        {"code 100 centres three lines", 1, 100, "a\nb\nc", {1.1, 0.0, -1.1}},
        {"code 100 at scale 2", 2, 100, "a\nb\nc", {1.1, 0.0, -1.1}},
        {"code 8 ends on the point", 1, 8, "a\nb\nc", {2.2, 1.1, 0.0}},
        {"code 0 hangs below", 1, 0, "a", {-0.1}},
        {"code 100, one line, stays", 1, 100, "a", {0.0}},
        {"code 8, one line, stays", 1, 8, "a", {0.0}},
        {"code 6 lines run down from the point", 1, 6, "a\nb", {0.0, -1.1}},
        {"scale below 1e-6 draws nothing", 1e-7, 100, "a\nb", {}},
        {"code 8 stands off 0.45 further", 1, 8, "a\nb", {1.55, 0.45}, 0.0, FALSE, 0.45},
        {"spread and turned 90: centred 2 apart", 1, 100, "a\nb", {1.0, -1.0}, 90.0, TRUE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CVdrawUtil d;
        d.SetDrawScale(r.scale);
        CFVDTextBlock block;
        block.m_strText = r.text;
        block.m_nVerJust = r.ver;
        block.m_dAngle = r.angle;
        block.m_bSpreadTurned = r.spread;
        block.m_dStandOff = r.standOff;
        const CArray<long> ids = block.Draw(&d, T_POINT2D(0, 0));
        ASSERT_EQ(ids.GetSize(), static_cast<INT_PTR>(r.ys.size()));
        EXPECT_EQ(d.GetFigureCount(), static_cast<int>(r.ys.size()));  // the first drawing is gone
        const std::vector<T_POINT2D> pts = TextPoints(d, ids);
        const double c = std::cos(r.angle * M_PI / 180.0), s = std::sin(r.angle * M_PI / 180.0);
        for (size_t i = 0; i < pts.size(); ++i) {
            EXPECT_NEAR(c * pts[i].y - s * pts[i].x, r.ys[i], kTol) << "line " << i;
            EXPECT_NEAR(c * pts[i].x + s * pts[i].y, 0.0, kTol) << "line " << i;
        }
    }
}

TEST_F(FigureTextTest, BlockTurnedAndColouredPerLine) {
    // Anchor kind 6 adds 90 degrees. A centred three-line block at (1, 0), scale 1: the lines at
    // (1, 1.1), (1, 0), (1, -1.1) turn about (1, 0) by 90 degrees, (x, y) -> (1 - y, x - 1),
    // to (-0.1, 0), (1, 0), (2.1, 0).
    CVdrawUtil d;
    CFVDTextBlock block;
    block.m_strText = "a\nb\nc";
    block.SetAnchor(6);
    block.m_nVerJust = VdTextVerCenter;
    block.m_Colors.Add(kGreen);
    block.m_Colors.Add(kRed);
    const CArray<long> ids = block.Draw(&d, T_POINT2D(1, 0));
    ASSERT_EQ(ids.GetSize(), 3);
    const std::vector<T_POINT2D> pts = TextPoints(d, ids);
    const double want[3][2] = {{1 - 1.1, 0}, {1, 0}, {1 + 1.1, 0}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(pts[i].x, want[i][0], kTol);
        EXPECT_NEAR(pts[i].y, want[i][1], kTol);
        EXPECT_NEAR(d.GetFigure(ids[i])->m_angle, 90.0, kTol);
    }
    EXPECT_EQ(d.GetFigure(ids[0])->m_colour, kGreen);
    EXPECT_EQ(d.GetFigure(ids[1])->m_colour, kRed);
    EXPECT_FALSE(d.GetFigure(ids[2])->m_hasColour);  // beyond the list: the layer's colour
    EXPECT_EQ(d.GetFigure(ids[0])->m_horJust, VdTextHorCenter);

    // Below one degree nothing is turned.
    CFVDTextBlock flat;
    flat.m_strText = "a";
    flat.m_dAngle = 0.9;
    const CArray<long> one = flat.Draw(&d, T_POINT2D(0, 0));
    EXPECT_NEAR(d.GetFigure(one[0])->m_angle, 0.0, kTol);
}

TEST_F(FigureTextTest, AnchorsInAnOutline) {
    // Rectangle (0,0)-(4,2), centroid c = (2,1). Turned by -30 about c its box is 2 cos30 + sin30
    // = 2.232 wide each side and 2 sin30 + cos30 = 1.866 (r) high each side. Kind 4 (bottom
    // middle) is (2, 1 - r), turned back by +30: c + (r sin30, -r cos30). Snapping walks the
    // segment from there to c and stops at the bottom edge y = 0 (fraction t4 of the way). Kind
    // 0 (top left) is c + (-2.232, r) turned by +30 = (-0.866, 1.5); snapped it meets x = 0 at
    // y = 1.5 - 0.5 x 0.866 / 2.866.
    const double s30 = 0.5, c30 = std::sqrt(3.0) / 2;
    const double r = 2 * s30 + c30;
    const T_POINT2D k4(2 + r * s30, 1 - r * c30);
    const double t4 = (0 - k4.y) / (1 - k4.y);
    const double snap4x = k4.x + t4 * (2 - k4.x);
    struct Row {
        const char* label;
        int kind;
        double angle;
        int rotate;
        BOOL snap;
        T_POINT2D want;
    } rows[] = {
        {"kind 0 top left", 0, 0, 1, 0, {0, 2}},
        {"kind 4 bottom middle", 4, 0, 1, 0, {2, 0}},
        {"kind 8 centre", 8, 0, 1, 0, {2, 1}},
        {"kind 7 right middle", 7, 0, 1, 0, {4, 1}},
        {"kind 4 turned 30", 4, 30, 1, 0, k4},
        {"kind 4 turned 30, snapped", 4, 30, 1, 1, {snap4x, 0}},
        {"kind 0 turned 30", 0, 30, 1, 0, {-c30, 1.5}},
        {"kind 0 turned 30, snapped", 0, 30, 1, 1, {0, 1.5 - 0.5 * c30 / (2 + c30)}},
        // The centre has no segment to walk: it stays.
        {"kind 8 snapped", 8, 30, 1, 1, {2, 1}},
        // Outline not turned: the box's bottom middle (2,0) still turns about c: (2.5, 1 - cos30).
        {"kind 4, outline kept", 4, 30, 0, 0, {2 + s30, 1 - c30}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CFVDTextBlock block;
        block.m_Polygon.Copy(Rect42());
        block.SetAnchor(row.kind);
        block.m_dAngle = row.angle;
        block.m_bSnapToOutline = row.snap;
        T_POINT2D at;
        ASSERT_TRUE(block.GetPolygonAnchor(row.rotate, at));
        EXPECT_NEAR(at.x, row.want.x, 1e-9);
        EXPECT_NEAR(at.y, row.want.y, 1e-9);
    }
    // Drawn: kind 8 with one line stays on (2, 1); kind 0 hangs 0.1 below (0, 2).
    CVdrawUtil d;
    const int h = VdGetDrawingHandle(&d);
    CFVDTextBlock block;
    block.m_Polygon.Copy(Rect42());
    block.m_strText = "R:1.20";
    block.SetAnchor(8);
    CArray<long> ids = block.DrawInPolygon(h, 1);
    ASSERT_EQ(ids.GetSize(), 1);
    EXPECT_NEAR(d.GetFigure(ids[0])->m_points[0].x, 2.0, kTol);
    EXPECT_NEAR(d.GetFigure(ids[0])->m_points[0].y, 1.0, kTol);
    block.SetAnchor(0);
    ids = block.DrawInPolygon(h, 1);
    ASSERT_EQ(ids.GetSize(), 1);
    EXPECT_NEAR(d.GetFigure(ids[0])->m_points[0].y, 1.9, kTol);
    // No outline, or a drawing that has gone: nothing.
    CFVDTextBlock empty;
    empty.m_strText = "x";
    EXPECT_EQ(empty.DrawInPolygon(h, 1).GetSize(), 0);
    VdReleaseDrawingHandle(&d);
    EXPECT_EQ(block.DrawInPolygon(h, 1).GetSize(), 0);
    EXPECT_EQ(d.GetFigureCount(), 2);
}

TEST_F(FigureTextTest, AnchorKindsAndMoveInfo) {
    struct Row {
        int kind, hor, ver;
        double anchorAngle;
    } rows[] = {{0, 2, 0, 0}, {1, 6, 8, 0}, {2, 0, 0, 0}, {3, 2, 8, 0}, {4, 6, 0, 0},
                {5, 0, 8, 0}, {6, 6, 8, 90}, {7, 6, 8, 90}, {8, 6, 100, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        CFVDTextBlock b;
        b.SetAnchor(r.kind);
        EXPECT_EQ(b.m_nHorJust, r.hor);
        EXPECT_EQ(b.m_nVerJust, r.ver);
        EXPECT_EQ(b.m_dAnchorAngle, r.anchorAngle);
    }
    CFVDTextBlock b;
    b.SetAnchor(6);
    b.SetAnchor(12);  // stored, nothing else changes
    EXPECT_EQ(b.m_nAnchor, 12);
    EXPECT_EQ(b.m_dAnchorAngle, 90.0);
    // Defaults: centre / middle codes, anchor 1, owner category -1.
    CFVDTextBlock d;
    EXPECT_EQ(d.m_nHorJust, 6);
    EXPECT_EQ(d.m_nVerJust, 100);
    EXPECT_EQ(d.m_nAnchor, 1);
    EXPECT_EQ(d.m_nOwnerCategory, -1);
    d.SetMoveInfo(7, 10, -1, 5);
    EXPECT_EQ(d.m_nOwnerKey, 7);
    EXPECT_EQ(d.m_nOwnerCategory, 10);
    ASSERT_EQ(d.m_TextKinds.GetSize(), 1);
    EXPECT_EQ(d.m_TextKinds[0], 5);
}

}  // namespace

// A text that would cover another moves by the first offset that clears it: the room keeps the
// texts drawn so far (a tenth of the smaller box shared is a clash; with a line gap of one
// height, two texts sharing over half a height across and less than a height apart along).
TEST_F(FigureTextTest, TextRoomMovesAClashingTextClear) {
    struct Row {
        const char* label;
        double x, y;             // where the second text "BBBB" (2.4 x 1 at height 1) is drawn
        std::vector<T_POINT2D> offsets;
        BOOL clear;
        double endX, endY;       // where it stands afterwards
        double gap = 0.0;        // the room's line gap, in heights
        double angle = 0.0;      // of both texts, degrees
    } rows[] = {
        {"apart: stays", 10, 0, {{0, 5}}, TRUE, 10, 0},
        {"edge to edge: stays", 2.4, 0, {{0, 5}}, TRUE, 2.4, 0},
        {"over: first clear offset", 1, 0.5, {{0.5, 0}, {0, 1.5}, {0, 3}}, TRUE, 1, 2},
        {"no offset clears: back", 1, 0, {{0.2, 0}}, FALSE, 1, 0},
        {"sharing under a tenth: stays", 2.2, 0.5, {}, TRUE, 2.2, 0.5},
        // AAAA spans x 0 to 2.4: BBBB at 3 is 0.6 after it; lifted 0.4 it still shares 0.6 across.
        {"line gap: on the line moves a height off", 3, 0, {{0, 0.4}, {1, 0}}, TRUE, 4, 0, 1.0},
        {"line gap: the next line is no clash", 0, 1, {}, TRUE, 0, 1, 1.0},
        {"line gap, none clears: apart beats over", 1, 0, {{2, 0}, {0.5, 0}}, FALSE, 3, 0, 1.0},
        {"line gap, none clears: stays apart", 3, 0, {{-1, 0}}, FALSE, 3, 0, 1.0},
        // Touching AAAA, 0.2 after it and 0.8 after it: only the last is over half a height away.
        {"line gap, none clears: a reader's gap beats the nearer place", 2.4, 0, {{0.2, 0}, {0.8, 0}}, FALSE, 3.2, 0,
         1.0},
        // Turned up, AAAA spans y 0 to 2.4 along x -1 to 0: BBBB 0.3 above its end reads on with it.
        {"upright texts: end to end on their line", 0, 2.7, {{0, 1}}, TRUE, 0, 3.7, 1.0, 90.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CVdrawUtil d;
        d.DrawText("AAAA", 0, 0, VdTextVerBottom, VdTextHorLeft, 1.0, r.angle);
        CFVDTextRoom room;
        room.SetLineGap(r.gap);
        room.Collect(d);
        CArray<long> ids;
        ids.Add(d.DrawText("BBBB", r.x, r.y, VdTextVerBottom, VdTextHorLeft, 1.0, r.angle));
        EXPECT_EQ(room.Place(d, ids, r.offsets), r.clear);
        EXPECT_NEAR(d.GetFigure(ids[0])->m_points[0].x, r.endX, 1e-12);
        EXPECT_NEAR(d.GetFigure(ids[0])->m_points[0].y, r.endY, 1e-12);
        EXPECT_TRUE(room.Clashes(d, ids));  // its own box is kept for the texts after it
    }
}
