// The legend scales: dispatch by display mode, the colour band scale (pitch, boxes, ticks,
// letters, values, percentages, clickable rectangles), the discrete scale and the text blocks.
#include <algorithm>
#include <string>

#include "tests/module/legend/LegendTestSupport.h"

namespace {

std::string Str(const CString& s) { return std::string(s.GetString()); }

bool HasTextStartingWith(const CRecordDC& dc, const CString& prefix) {
    for (const GdiRecord* r : dc.GetRecords("TextOut"))
        if (r->text.rfind(prefix.GetString(), 0) == 0) return true;
    return false;
}

}  // namespace

TEST_F(LegendTest, BandPitchIsCappedAndShrinksTheFont) {
    CContourEngine* ce = GiveScale(Deform(), 12, 0, 110);
    L().m_pContourEngine = ce;
    L().m_rcPanel.SetRect(0, 0, 180, 600);
    struct Row {
        const char* label;
        int bottom;       // scale area from y 100
        int deformed;
        int bandHeight;   // truncated pitch
        int fontHeight;   // of the scale's text
    } rows[] = {
        {"300 high: 27.7 capped at 20.4", 400, 0, 20, 11},
        {"100 high: 9.545 shrinks the font", 200, 0, 9, 9},
        {"deformed keeps 7/2 lines: (300 - 42) / 11 + 1 = 24.5 capped", 400, 1, 20, 11},
        {"deformed 160 high: (160 - 42) / 11 + 1 = 11.7", 260, 1, 11, 11},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CRecordDC dc;
        dc.Create();
        CRect rc(0, 100, 180, r.bottom);
        L().DrawContourRainbow(&dc, &rc, r.deformed, 1, 0);
        auto boxes = dc.GetRecords("Rectangle");
        ASSERT_EQ(boxes.size(), 11u);
        int top = 101;
        for (size_t i = 0; i < boxes.size(); ++i) {
            SCOPED_TRACE(i);
            const int rank = 11 - static_cast<int>(i);
            EXPECT_EQ(boxes[i]->rect.left, 6);
            EXPECT_EQ(boxes[i]->rect.right, 21);
            EXPECT_EQ(boxes[i]->rect.top, top);
            EXPECT_EQ(boxes[i]->rect.bottom, top + r.bandHeight);
            EXPECT_EQ(boxes[i]->brush.lbColor, ce->GetRankColor(rank));
            top += r.bandHeight;
        }
        auto texts = dc.GetRecords("TextOut");
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts[0]->font.lfHeight, r.fontHeight);
        // Ticks along every band top and the bottom edge, in the line colour.
        int ticks = 0;
        for (const GdiRecord* l : dc.GetRecords("LineTo"))
            if (l->Arg(0) == 54 && l->pen.lopnColor == L().m_crLine) ++ticks;
        EXPECT_EQ(ticks, 12);
    }
}

TEST_F(LegendTest, ContourScaleRecordsItsValueAndScaleRectangles) {
    CContourEngine* ce = GiveScale(Deform(), 12, 0, 110);
    for (int b = 1; b < 12; ++b) ce->m_dPctRankMap[b] = b;
    L().m_pContourEngine = ce;
    L().m_rcPanel.SetRect(0, 0, 180, 600);
    L().m_bCompact = 1;
    L().m_bAutoDigits = 1;
    CRecordDC dc;
    dc.Create();
    CRect rc(0, 100, 180, 400);
    L().DrawContourRainbow(&dc, &rc, 0, 1, 0);

    // Value column right edge 36, percentages half a character further left at 33.
    // Levels 0, 10, ..., 110: the top label holds 110, the bottom one 0.
    const CLgndValRect& top = L().m_arrValRect[0];
    EXPECT_DOUBLE_EQ(top.m_dValue, 110.0);
    EXPECT_EQ(top.m_rect, CRect(33 + 12, 101 - 6, 180, 101 + 12));
    const int y = 101 + 11 * 20;
    const CLgndValRect& bottom = L().m_arrValRect[1];
    EXPECT_EQ(bottom.m_dValue, 0.0);
    EXPECT_EQ(bottom.m_rect, CRect(45, y - 12, 180, y + 6));
    EXPECT_EQ(L().m_bLegendRect, 1);
    EXPECT_EQ(L().m_rcLegend, CRect(0, 88, 180, y + 12));

    // Twelve level values (one per band top and the bottom) and eleven percentages.
    int values = 0, percents = 0;
    for (const GdiRecord* t : dc.GetRecords("TextOut")) {
        if (t->textColor == L().m_crPercent) {
            ++percents;
            EXPECT_EQ(t->text.back(), '%');
        } else {
            ++values;
            EXPECT_EQ(t->textColor, L().m_crText);
        }
    }
    EXPECT_EQ(values, 12);
    EXPECT_EQ(percents, 11);
    // The top value lies centred on the first band's top edge. Decimals from the ends 0 and 110:
    // "%g" lengths 1 and 3, compact lengths 7 and 9, digits 5 and 5 + 7 - 9 = 3; the smaller, 3.
    const GdiRecord* t = FindText(dc, "110.000");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Arg(1), 101 - 6);
    const GdiRecord* b = FindText(dc, "0.000");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Arg(1), y - 6) << "the bottom value centred on the scale's bottom edge";

    // Not editable: the flag stays clear but the rectangles are still recorded.
    L().m_bLegendRect = 0;
    CRecordDC dc2;
    dc2.Create();
    L().DrawContourRainbow(&dc2, &rc, 0, 0, 0);
    EXPECT_EQ(L().m_bLegendRect, 0);
}

TEST_F(LegendTest, PopupScaleShowsTheEndValuesInRed) {
    CContourEngine* ce = GiveScale(Deform(), 6, -50, 50);
    L().m_pContourEngine = ce;
    L().m_rcPanel.SetRect(0, 0, 180, 600);
    L().m_rcLegend.SetRect(1, 2, 3, 4);
    CRecordDC dc;
    dc.Create();
    CRect rc(0, 0, 180, 300);
    L().DrawContourRainbow(&dc, &rc, 0, 1, 1);
    std::vector<const GdiRecord*> red;
    for (const GdiRecord* t : dc.GetRecords("TextOut"))
        if (t->textColor == RGB(255, 0, 0)) red.push_back(t);
    ASSERT_EQ(red.size(), 2u);  // top level and bottom level
    EXPECT_LT(red[0]->Arg(1), red[1]->Arg(1));
    // The view's clickable rectangle belongs to the panel, not the popup.
    EXPECT_EQ(L().m_rcLegend, CRect(1, 2, 3, 4));
}

TEST_F(LegendTest, BandFillsFollowGradientLettersAndLineMode) {
    CContourEngine* ce = GiveScale(Deform(), 4, 0, 3);
    L().m_pContourEngine = ce;
    L().m_rcPanel.SetRect(0, 0, 180, 600);
    CRect rc(0, 0, 180, 300);
    {
        SCOPED_TRACE("gradient bands");
        M().m_bGradient = 1;
        CRecordDC dc;
        dc.Create();
        L().DrawContourRainbow(&dc, &rc, 0, 1, 0);
        auto g = dc.GetRecords("GradientFill");
        ASSERT_EQ(g.size(), 6u);  // two triangles per band
        const int top = 1;
        for (int i = 0; i < 2; ++i)
            for (const TRIVERTEX& v : g[i]->vertices) {
                EXPECT_EQ(LegendVertexColor(v), v.y == top ? ce->GetRankColor(3) : ce->GetRankColor(2));
            }
        for (const GdiRecord* r : dc.GetRecords("Rectangle")) EXPECT_EQ(r->brush.lbStyle, static_cast<UINT>(BS_NULL));
    }
    {
        SCOPED_TRACE("printing fills plain boxes");
        M().m_bExternalDevice = 1;
        CRecordDC dc;
        dc.Create();
        L().DrawContourRainbow(&dc, &rc, 0, 1, 0);
        EXPECT_EQ(dc.Count("GradientFill"), 0u);
        EXPECT_EQ(dc.Count("Rectangle"), 3u);
        M().m_bExternalDevice = 0;
        M().m_bGradient = 0;
    }
    {
        SCOPED_TRACE("letters in black, then grey shifted by the pen factor");
        M().m_bContourAnnot = 1;
        M().m_nPenFactor = 2;
        CRecordDC dc;
        dc.Create();
        L().DrawContourRainbow(&dc, &rc, 0, 1, 0);
        auto d = dc.GetRecords("DrawText");
        ASSERT_EQ(d.size(), 6u);
        EXPECT_EQ(d[0]->text, "C");
        EXPECT_EQ(d[4]->text, "A");
        EXPECT_EQ(d[4]->textColor, RGB(0, 0, 0));
        EXPECT_EQ(d[5]->text, "A");
        EXPECT_EQ(d[5]->textColor, RGB(0xAA, 0xAA, 0xAA));
        EXPECT_EQ(d[5]->rect.left, d[4]->rect.left + 2);
        EXPECT_EQ(d[5]->rect.top, d[4]->rect.top + 2);
        EXPECT_EQ(d[4]->Arg(0) & (DT_CENTER | DT_VCENTER), DT_CENTER | DT_VCENTER);
        // The band pens widen with the pen factor: trunc(1.8 x 2).
        bool sawRankPen = false;
        for (const GdiRecord* r : dc.GetRecords("SelectObject"))
            if (r->pen.lopnColor == ce->GetRankColor(3) && r->pen.lopnWidth.x == 3) sawRankPen = true;
        EXPECT_TRUE(sawRankPen);
    }
    {
        SCOPED_TRACE("line mode");
        ce->m_nFillStyle = 1;
        CRecordDC dc;
        dc.Create();
        L().DrawContourRainbow(&dc, &rc, 0, 1, 0);
        EXPECT_EQ(dc.Count("Rectangle"), 0u);
        EXPECT_EQ(dc.Count("DrawText"), 3u);
        int rankLines = 0, ticks = 0;
        for (const GdiRecord* l : dc.GetRecords("LineTo")) {
            if (l->Arg(0) == 21 && l->pen.lopnColor != L().m_crLine) ++rankLines;
            if (l->Arg(0) == 54) ++ticks;
        }
        EXPECT_EQ(rankLines, 3);
        EXPECT_EQ(ticks, 3);  // the bottom tick is left out with letters in line mode
        M().m_bContourAnnot = 0;
        CRecordDC dc2;
        dc2.Create();
        L().DrawContourRainbow(&dc2, &rc, 0, 1, 0);
        EXPECT_EQ(dc2.Count("DrawText"), 3u);  // line mode letters regardless of the switch
        ticks = 0;
        for (const GdiRecord* l : dc2.GetRecords("LineTo"))
            if (l->Arg(0) == 54) ++ticks;
        EXPECT_EQ(ticks, 4);
    }
}

TEST_F(LegendTest, DegenerateScalesDrawWhatTheyCan) {
    L().m_rcPanel.SetRect(0, 0, 180, 600);
    CRect rc(0, 0, 180, 300);
    {
        SCOPED_TRACE("one level: only the bottom value");
        CContourEngine* ce = GiveScale(Deform(), 6, 0, 5);
        ce->m_nNumColor = 1;
        L().m_pContourEngine = ce;
        CRecordDC dc;
        dc.Create();
        L().DrawContourRainbow(&dc, &rc, 0, 1, 0);
        EXPECT_EQ(dc.Count("Rectangle"), 0u);
        EXPECT_EQ(dc.Count("TextOut"), 1u);
    }
    {
        SCOPED_TRACE("no scale at all");
        L().m_pContourEngine = nullptr;
        CRecordDC dc;
        dc.Create();
        L().DrawContourRainbow(&dc, &rc, 0, 1, 0);
        L().DrawPOHingeContourRainbow(&dc, &rc);
        L().DrawMSContourRainbow(&dc, &rc, 0, 0);
        EXPECT_EQ(dc.Count("TextOut"), 0u);
    }
    {
        SCOPED_TRACE("a scale area with no room");
        L().m_pContourEngine = GiveScale(Deform(), 12, 0, 5);
        CRecordDC dc;
        dc.Create();
        CRect tiny(0, 100, 180, 90);
        L().DrawContourRainbow(&dc, &tiny, 1, 1, 0);
        // Pitch (90 - 42 - 100) / 11 + 1 = -3.7 is below a line: font and line height become the
        // truncated pitch, at least 1, and the pitch itself 1. Eleven bands of one pixel from
        // y 101, the bottom edge at 112; twelve values in a font one pixel high.
        auto boxes = dc.GetRecords("Rectangle");
        ASSERT_EQ(boxes.size(), 11u);
        for (size_t i = 0; i < boxes.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(boxes[i]->rect.top, 101 + static_cast<int>(i));
            EXPECT_EQ(boxes[i]->rect.bottom, 102 + static_cast<int>(i));
        }
        auto texts = dc.GetRecords("TextOut");
        int values = 0;
        for (const GdiRecord* t : texts) {
            if (t->textColor == L().m_crPercent) continue;
            ++values;
            EXPECT_EQ(t->font.lfHeight, 1);
        }
        EXPECT_EQ(values, 12);
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.back()->Arg(1), 112) << "the bottom value on the bottom edge (half of 1 is 0)";
        EXPECT_EQ(L().m_rcLegend.bottom, 112 + 1);
    }
}

TEST_F(LegendTest, DiscreteScaleNamesEachRank) {
    CContourEngine* ce = GiveScale(Deform(), 4, 0, 3);
    ce->m_arrListName.RemoveAll();
    ce->m_arrListName.Add(CString("弹性"));
    ce->m_arrListName.Add(CString("屈服"));
    ce->m_dPctRankMap[1] = 5;
    ce->m_dPctRankMap[2] = 50;
    ce->m_dPctRankMap[3] = 45;
    L().m_pContourEngine = ce;
    L().m_rcPanel.SetRect(0, 0, 180, 600);
    L().m_rcLegend.SetRect(1, 1, 2, 2);
    CRecordDC dc;
    dc.Create();
    CRect rc(0, 0, 180, 300);
    L().DrawPOHingeContourRainbow(&dc, &rc);
    struct Row {
        const char* text;
        COLORREF color;
    } rows[] = {{"45.0%", L().m_crPercent}, {"NULL", L().m_crText},   {"50.0%", L().m_crPercent},
                {"屈服", L().m_crText},     {"5.0%", L().m_crPercent}, {"弹性", L().m_crText}};
    auto t = dc.GetRecords("TextOut");
    ASSERT_EQ(t.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(t[i]->text, rows[i].text);
        EXPECT_EQ(t[i]->textColor, rows[i].color);
    }
    EXPECT_EQ(L().m_rcLegend, CRect(1, 1, 2, 2));
    EXPECT_EQ(L().m_arrValRect[0].m_dValue, 0.0);
    // Deformed pitch: (300 - 42) / 3 + 1 = 87 is capped at 20.4.
    auto boxes = dc.GetRecords("Rectangle");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0]->rect.bottom - boxes[0]->rect.top, 20);
}

TEST_F(LegendTest, DiscreteScaleOfAListShowsEachValueInItsOwnColour) {
    // Hinge states 1..4 named as listed: four bands, top band first, each box in the colour a
    // result of that state is drawn in and labelled with that state's name.
    CArray<CString, const CString&> names;
    CArray<double, const double&> values;
    const char* const kNames[] = {"弹性", "屈服", "硬化", "破坏"};
    for (int i = 0; i < 4; i++) {
        names.Add(kNames[i]);
        values.Add(i + 1.0);
    }
    CDeformEngine& d = Deform();
    delete d.m_pContourEngine;
    d.m_pContourEngine = new CContourEngine(names, values);
    const CContourEngine* ce = d.m_pContourEngine;
    L().m_pContourEngine = d.m_pContourEngine;
    L().m_rcPanel.SetRect(0, 0, 180, 600);
    CRecordDC dc;
    dc.Create();
    CRect rc(0, 0, 180, 300);
    L().DrawPOHingeContourRainbow(&dc, &rc);
    auto boxes = dc.GetRecords("Rectangle");
    ASSERT_EQ(boxes.size(), 4u);
    std::vector<std::string> shown;
    for (const GdiRecord* t : dc.GetRecords("TextOut"))
        if (t->text.back() != '%') shown.push_back(t->text);
    ASSERT_EQ(shown.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const int state = 4 - i;
        SCOPED_TRACE(kNames[state - 1]);
        EXPECT_EQ(shown[i], kNames[state - 1]);
        EXPECT_EQ(boxes[i]->brush.lbColor, ce->GetValueColor(state));
    }
}

TEST_F(LegendTest, DispatchPicksTheScaleOfTheDisplayMode) {
    GiveScale(Reaction(), 6, 0, 5);
    GiveScale(Deform(), 6, 0, 5);
    GiveScale(Force(), 6, 0, 5);
    GiveScale(Stress(), 6, 0, 5);
    L().m_rcPanel.SetRect(0, 0, 180, 600);
    enum Kind { CONTOUR, REACF, HINGE, DEFORM, MSCONTOUR, EGMD, SFORC, SRBAR, SCRAC, SDFLC, SETTLE, NONE };
    struct Row {
        const char* label;
        int mode, contour, loadType, msContour, slabKind, deflKind;
        Kind kind;
        int slabUnit = 1;  // slab force on beams: 1 the rib diagrams, 0 per slab member
    } rows[] = {
        {"reaction contour", 0, 1, 1, 0, 0, 0, CONTOUR},
        {"reaction arrows", 0, 0, 1, 0, 0, 0, REACF},
        {"pushover hinges", 1, 1, 22, 0, 0, 0, HINGE},
        {"deformed shape", 1, 1, 1, 0, 0, 0, DEFORM},
        {"displacement contour", 2, 0, 1, 0, 0, 0, CONTOUR},
        {"node displacement", 3, 1, 1, 0, 0, 0, NONE},
        {"mode shape contour", 4, 0, 1, 1, 0, 0, MSCONTOUR},
        {"mode shape", 4, 0, 1, 0, 0, 0, EGMD},
        {"frame force", 6, 0, 1, 0, 0, 0, CONTOUR},
        {"stress", 11, 0, 1, 0, 0, 0, CONTOUR},
        {"slab force text", 16, 0, 1, 0, 0, 0, SFORC},
        {"slab force contour", 16, 0, 1, 0, 1, 0, CONTOUR},
        {"slab force other kind", 16, 0, 1, 0, 2, 0, NONE},
        {"slab rebar", 17, 0, 1, 0, 0, 0, SRBAR},
        {"slab crack", 18, 0, 1, 0, 0, 0, SCRAC},
        // Per member the slabs are coloured too: the picture needs its scale.
        {"slab deflection per member", 19, 0, 1, 0, 0, 0, CONTOUR},
        {"slab deflection contour", 19, 0, 1, 0, 0, 1, CONTOUR},
        {"slab deflection other kind", 19, 0, 1, 0, 0, 3, NONE},
        {"slab beams contour", 22, 0, 1, 0, 1, 0, CONTOUR},
        {"slab beams text", 22, 0, 1, 0, 0, 0, SFORC},
        // Per slab member the side moments are numbers only: no scale of an unranged engine.
        {"slab beams per member", 22, 0, 1, 0, 1, 0, SFORC, 0},
        {"design", 28, 1, 1, 0, 0, 0, NONE},
        {"time history listing", 63, 0, 1, 0, 0, 0, DEFORM},
        {"time history contour", 63, 1, 1, 0, 0, 0, CONTOUR},
        {"settlement contour", 69, 1, 1, 0, 0, 0, CONTOUR},
        {"settlement", 69, 0, 1, 0, 0, 0, SETTLE},
        {"reaction contour mode", 70, 0, 1, 0, 0, 0, CONTOUR},
        {"unlisted", 45, 1, 1, 0, 0, 0, NONE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        M().m_nDisplayMode = r.mode;
        M().m_bContour = r.contour;
        M().m_nLoadType = r.loadType;
        M().m_bModeShapeContour = r.msContour;
        Force().m_nSForcKind = r.slabKind;
        Force().m_nSForcUnit = r.slabUnit;
        Deform().m_nSlabDeflKind = r.deflKind;
        M().m_nCurEigenMode = 1;
        L().ResetContourEngine();
        if (!L().m_pContourEngine) L().m_pContourEngine = Deform().m_pContourEngine;  // the hinge scale's
        L().m_bLegendRect = 0;
        CRecordDC dc;
        dc.Create();
        CRect rc(0, 100, 180, 400);
        L().DrawRainbow(&dc, &rc);
        const bool bands = dc.Count("Rectangle") > 0;
        EXPECT_EQ(bands, r.kind == CONTOUR || r.kind == HINGE || r.kind == MSCONTOUR);
        EXPECT_EQ(L().m_bLegendRect != 0, r.kind == CONTOUR || r.kind == MSCONTOUR);
        EXPECT_EQ(HasTextStartingWith(dc, Txt("IDS_TBX_PVX_MIN__REACTION")), r.kind == REACF);
        EXPECT_EQ(HasTextStartingWith(dc, CString("X-DIR=")), r.kind == DEFORM);
        EXPECT_EQ(HasTextStartingWith(dc, Txt("IDS_TBX_PVX_NATURAL_PERIOD_")), r.kind == MSCONTOUR);
        EXPECT_EQ(HasTextStartingWith(dc, CString("(CYCLE/SEC)")), r.kind == EGMD);
        EXPECT_EQ(HasTextStartingWith(dc, Txt("IDS_TBX_PVX_Pos__")), r.kind == SFORC);
        EXPECT_EQ(HasTextStartingWith(dc, Txt("IDS_TBX_PVX_Rebar")), r.kind == SRBAR);
        EXPECT_EQ(HasTextStartingWith(dc, Txt("IDS_TBX_PVX_Crack")), r.kind == SCRAC);
        EXPECT_EQ(HasTextStartingWith(dc, Txt("IDS_TBX_PVX_Deflection")), r.kind == SDFLC);
        EXPECT_EQ(HasTextStartingWith(dc, Txt("IDS_TBX_PVX_MIN__SETTLEMENT")), r.kind == SETTLE);
        if (r.kind == NONE) {
            EXPECT_EQ(dc.GetRecords().size(), 0u);
        }
    }
}

TEST_F(LegendTest, ReactionLinesLabelTheComponent) {
    // Label by component and sign, then the value: with automatic digits and 2 decimals
    // "%.2f" (2 + 1 + the integer part's length stays below 12), else "%.4E" with the
    // exponent's three digits.
    struct Row {
        const char* label;
        int comp, minimum, autoDigits;
        double value;
        const char* line;
    } rows[] = {
        {"FX minimum negative", 0, 1, 1, -3.5, "FX:  -3.50"},
        {"FX maximum positive", 0, 0, 1, 2.0, "FX:   2.00"},
        {"FY minimum positive", 1, 1, 1, 0.25, "FY:   0.25"},
        {"FZ minimum negative", 2, 1, 1, -1.0, "FZ:  -1.00"},
        {"FZ minimum positive", 2, 1, 1, 1.0, "FZ:   1.00"},
        {"FZ maximum negative", 2, 0, 1, -1.0, "FZ: -1.00"},
        {"FZ maximum positive", 2, 0, 1, 1.0, "FZ:  1.00"},
        {"resultant force", 3, 0, 1, 4.0, "FXYZ: 4.00"},
        {"MX negative", 4, 1, 1, -12.345, "MX:  -12.35"},
        {"MY negative", 5, 1, 1, -2.0, "MY:  -2.00"},
        {"MZ positive", 6, 0, 1, 2.0, "MZ:   2.00"},
        {"resultant moment", 7, 1, 1, -4.0, "MXYZ: -4.00"},
        {"digits off: exponent", 0, 1, 0, -3.5, "FX:  -3.5000E+000"},
        {"too wide for fixed", 2, 0, 1, 123456789.5, "FZ:  1.2346E+008"},
    };
    L().m_nDecimals = 2;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        L().m_bAutoDigits = r.autoDigits;
        Reaction().m_nComponent = r.comp;
        Reaction().m_dMinValue = r.minimum ? r.value : 0.0;
        Reaction().m_dMaxValue = r.minimum ? 0.0 : r.value;
        CString s;
        L().GetReacMinMaxString(s, r.minimum, 6);
        EXPECT_EQ(Str(s), r.line);
    }
}

TEST_F(LegendTest, TextBlocksPlaceTheirLines) {
    L().m_rcPanel.SetRect(0, 0, 180, 600);
    CRect rc(0, 100, 180, 400);
    {
        SCOPED_TRACE("reaction block");
        Reaction().m_nComponent = 0;
        Reaction().m_dMinValue = -3.5;
        Reaction().m_dMaxValue = 2.0;
        Reaction().m_nMinNode = 7;
        Reaction().m_nMaxNode = 42;
        CRecordDC dc;
        dc.Create();
        L().DrawReacfRainbow(&dc, &rc);
        auto t = dc.GetRecords("TextOut");
        ASSERT_EQ(t.size(), 6u);
        EXPECT_EQ(t[0]->Arg(1), 118);
        EXPECT_EQ(t[0]->textAlign, static_cast<UINT>(TA_CENTER | TA_BOTTOM));
        EXPECT_EQ(t[1]->text, Str(Txt("IDS_TBX_PVX_NODE__")) + "     7");
        EXPECT_EQ(t[1]->Arg(0), 6);
        EXPECT_EQ(t[3]->Arg(1), 118 + 18 * 4);  // two lines' room between the halves
        EXPECT_EQ(t[4]->text, Str(Txt("IDS_TBX_PVX_NODE__")) + "    42");
        // Digits as constructed: automatic, 7 decimals; 7 + 1 + 1 < 12, so "%.7f".
        EXPECT_EQ(t[2]->text, "FX:  -3.5000000");
        EXPECT_EQ(t[5]->text, "FX:   2.0000000");
    }
    {
        SCOPED_TRACE("deformation block");
        CDeformEngine& d = Deform();
        // No node moves in y: its values are all zero and it names no node.
        d.m_ptMaxComp = C3DPoint(-1.25, 0.0, 0.5);
        d.m_dMaxTotal = 2.8;
        d.m_nMaxKeyX = 3;
        d.m_nMaxKeyZ = 5;
        d.m_nMaxKeyTotal = 9;
        CRecordDC dc;
        dc.Create();
        // The values stand a character (6) clear of the widest label, at 7 characters at least,
        // a negative one a character before the positive ones.
        dc.SelectObject(&L().m_fontValue);
        int labelEnd = 42;
        for (const char* label : {"X-DIR=", "Y-DIR=", "Z-DIR=", "COMB.="})
            labelEnd = std::max(labelEnd, 6 + static_cast<int>(dc.GetTextExtent(label).cx));
        EXPECT_GT(labelEnd, 42) << "the test's labels are wider than six characters";
        L().DrawDeformRainbow(&dc, &rc);
        auto t = dc.GetRecords("TextOut");
        ASSERT_EQ(t.size(), 16u);
        EXPECT_EQ(t[0]->text, "X-DIR=");
        EXPECT_EQ(t[0]->Arg(1), 120);
        EXPECT_EQ(t[1]->Arg(0), labelEnd + 6);
        EXPECT_EQ(t[2]->text, "NODE=");
        EXPECT_EQ(t[2]->Arg(0), 12);
        EXPECT_EQ(t[2]->Arg(1), 136);
        EXPECT_EQ(t[3]->text, "3");
        EXPECT_EQ(t[3]->Arg(0), 60);
        EXPECT_EQ(t[4]->Arg(1), 156);
        EXPECT_EQ(t[5]->Arg(0), labelEnd + 12);
        EXPECT_EQ(t[7]->text, "-");
        EXPECT_EQ(t[11]->text, "5");
        EXPECT_EQ(t[12]->text, "COMB.=");
        EXPECT_EQ(t[15]->text, "9");
        // Decimals from the combined maximum 2.8 as both ends: "%g" length 1, compact length 7
        // below 8, so 5 digits: "%.5f".
        EXPECT_EQ(t[13]->text, "2.80000");
        EXPECT_EQ(t[1]->text, "-1.25000");
    }
    {
        SCOPED_TRACE("mode shape block");
        M().m_nCurEigenMode = 1;
        CRecordDC dc;
        dc.Create();
        L().DrawEgmdshpRainbow(&dc, &rc);
        EXPECT_NE(FindText(dc, "2.500000"), nullptr);
        EXPECT_NE(FindText(dc, "0.400000"), nullptr);
        EXPECT_NE(FindText(dc, "MPM(%)"), nullptr);
        EXPECT_NE(FindText(dc, "X   10.000000"), nullptr);
        EXPECT_NE(FindText(dc, "RZ   60.000000"), nullptr);
        // A mode without results prints the labels only.
        M().m_nCurEigenMode = 9;
        CRecordDC dc2;
        dc2.Create();
        L().DrawEgmdshpRainbow(&dc2, &rc);
        EXPECT_EQ(FindText(dc2, "2.500000"), nullptr);
        EXPECT_NE(FindText(dc2, "MPM(%)"), nullptr);
    }
    {
        SCOPED_TRACE("critical load factor");
        M().m_nCurEigenMode = 1;
        CString want;
        want.Format(Txt("IDS_TBX_PVX_FACTOR___3E"), 12.5);
        CRecordDC dc;
        dc.Create();
        L().DrawBkmdshpRainbow(&dc, &rc);
        EXPECT_NE(FindText(dc, Str(want)), nullptr);
        L().m_pContourEngine = GiveScale(Deform(), 6, 0, 5);
        CRecordDC dc2;
        dc2.Create();
        L().DrawMSContourRainbow(&dc2, &rc, 1, 0);
        EXPECT_NE(FindText(dc2, Str(want)), nullptr);
        EXPECT_EQ(L().m_bLegendRect, 1);
        CRecordDC dc3;
        dc3.Create();
        L().DrawMSContourRainbow(&dc3, &rc, 0, 1);
        EXPECT_EQ(FindText(dc3, Str(Txt("IDS_TBX_PVX_NATURAL_PERIOD_"))), nullptr);
    }
    {
        SCOPED_TRACE("slab blocks");
        CForceEngine& f = Force();
        f.m_dSlabMomMaxPos = 12.5;
        f.m_dSlabMomMaxNeg = -8;
        f.m_dSlabRbarMaxTop = 300;
        f.m_dSlabRbarMaxBot = 250;
        f.m_nSRbarKind = 1;
        f.m_bSRbarYDir = 1;
        M().m_nMaxKey = 11;
        M().m_nMinKey = 22;
        CRecordDC dc;
        dc.Create();
        L().DrawSForcRainbow(&dc, &rc);
        EXPECT_NE(FindText(dc, Str(Txt("IDS_TBX_PVX_Moment") + Txt("IDS_TBX_PVX_max"))), nullptr);
        EXPECT_NE(FindText(dc, Str(Txt("IDS_TBX_PVX_Pos__") + "12.5")), nullptr);
        EXPECT_NE(FindText(dc, Str(Txt("IDS_TBX_PVX_Neg__") + "-8")), nullptr);
        auto t = dc.GetRecords("TextOut");
        ASSERT_EQ(t.size(), 5u);
        EXPECT_EQ(t[2]->text, Str(Txt("IDS_TBX_PVX_Member__") + "11"));
        EXPECT_EQ(t[4]->text, Str(Txt("IDS_TBX_PVX_Member__") + "22"));
        EXPECT_EQ(t[1]->Arg(1), t[0]->Arg(1) + 36);

        CRecordDC dc2;
        dc2.Create();
        L().DrawSRbarRainbow(&dc2, &rc);
        auto r = dc2.GetRecords("TextOut");
        ASSERT_EQ(r.size(), 6u);
        EXPECT_EQ(r[0]->text, Str(Txt("IDS_TBX_PVX_Rebar_Y_Dir_")));
        EXPECT_EQ(r[2]->text, Str(Txt("IDS_TBX_PVX_Top__") + "300"));
        EXPECT_EQ(r[3]->text, Str(Txt("IDS_TBX_PVX_Member__") + "22"));
        EXPECT_EQ(r[4]->text, Str(Txt("IDS_TBX_PVX_Bottom__") + "250"));
        EXPECT_EQ(r[5]->text, Str(Txt("IDS_TBX_PVX_Member__") + "11"));

        Deform().m_dSlabDeflMax = 4.5;
        CRecordDC dc3;
        dc3.Create();
        L().DrawSDflcRainbow(&dc3, &rc);
        EXPECT_NE(FindText(dc3, Str(Txt("IDS_TBX_PVX_Value__") + "4.5")), nullptr);
    }
}

TEST_F(LegendTest, AScaleOfOneValueShowsItOnce) {
    // Every result equal (one slab wall force): one band, the value written once; a true range
    // keeps its bands and values.
    L().m_rcPanel.SetRect(0, 0, 180, 600);
    struct Row {
        const char* label;
        double lo, hi;
        size_t boxes, values;
    } rows[] = {
        {"one value", 9.5, 9.5, 1, 1},
        {"a range", 0.0, 12.0, 12, 13},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        L().m_pContourEngine = GiveScale(Force(), 13, r.lo, r.hi);
        CRecordDC dc;
        dc.Create();
        CRect rc(0, 100, 180, 500);
        L().DrawContourRainbow(&dc, &rc, 0, 1, 0);
        EXPECT_EQ(dc.Count("Rectangle"), r.boxes);
        size_t values = 0;
        for (const GdiRecord* t : dc.GetRecords("TextOut"))
            if (t->textColor != L().m_crPercent) ++values;
        EXPECT_EQ(values, r.values);
    }
}
