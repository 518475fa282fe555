// Result labels: number formats, device-context state and fonts, extreme markers, rotated text
// positions and member end alignments.

#include "module/model/CPVXLabelBase.h"
#include "module/model/CPVXResultLabelBase.h"
#include "tests/module/model_overlay/OverlayTestSupport.h"

namespace {

std::vector<const GdiRecord*> FontSelections(const CRecordDC& dc) {
    std::vector<const GdiRecord*> out;
    for (const GdiRecord* r : dc.GetRecords("SelectObject"))
        if (r->Arg(0) == OBJ_FONT) out.push_back(r);
    return out;
}

}  // namespace

TEST_F(OverlayTest, LabelNumberFormats) {
    struct Row {
        const char* label;
        int setFormat;  // 0 keep the fresh label's format
        int exponent;
        int digits;
        double value;
        const char* expected;
    } const rows[] = {
        {"fresh label", 0, 0, 0, 1234.5678, "1234.57"},
        {"fixed, 3 digits", 1, 0, 3, 1234.5678, "1234.568"},
        {"exponent, 2 digits", 1, 1, 2, 1234.5678, "1.23e+003"},
        {"exponent of a small value", 1, 1, 1, -0.000256, "-2.6e-004"},
        {"fixed, no digits", 1, 0, 0, 1234.5678, "1235"},
        {"negative digit count taken as 0", 1, 0, -4, 2.5, "2"},
        {"fixed, 1 digit, negative value", 1, 0, 1, -0.05, "-0.1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        m_dc.Clear();
        CPVXBeamLabel label(&m_dc);
        if (r.setFormat) label.SetNumberFormat(r.exponent, r.digits);
        label.OutputNumber(10, 20, r.value);
        auto texts = Texts();
        ASSERT_EQ(texts.size(), 1u) << Dump();
        EXPECT_EQ(texts[0]->text, r.expected);
        EXPECT_EQ(texts[0]->Arg(0), 10);
        EXPECT_EQ(texts[0]->Arg(1), 20);
    }

    // Magnitudes and digit counts that a fixed buffer could not hold are written whole.
    CPVXLabelBase label(&m_dc);
    label.SetNumberFormat(0, 3);
    const std::string big = label.FormatNumber(1e300).GetString();
    EXPECT_EQ(big.size(), 301u + 4u);
    EXPECT_EQ(big.substr(big.size() - 4), ".000");
    label.SetNumberFormat(0, 100000);
    EXPECT_EQ(label.m_nDigits, CPVXLabelBase::kMaxDigits);
    EXPECT_EQ(std::string(label.FormatNumber(0.5).GetString()), "0.50000000000000000000");
}

TEST_F(OverlayTest, LabelTakesOptionsAndPreparesTheDeviceContext) {
    Num().m_bExponent = 1;
    Num().m_nDecimals = 1;
    CPVXPlatLabel label(&m_dc);
    label.SetLabelOption(&Num());
    EXPECT_EQ(label.m_crText, kMiddleColor);
    EXPECT_EQ(label.m_crBack, kBackColor);
    EXPECT_EQ(label.m_bOpaque, 1);
    EXPECT_EQ(label.m_pLogFont, &Num().m_lfNumber);
    EXPECT_EQ(std::string(label.FormatNumber(25.0).GetString()), "2.5e+001");
    label.SetLabelOption(nullptr);  // no options: nothing changes
    EXPECT_EQ(label.m_crText, kMiddleColor);

    m_view.SetTextDisplayScale(2.0);
    CFont* pInitial = m_dc.GetCurrentFont();
    int angle = 450;
    label.BeginDraw(&angle);
    label.OutputNumber(5, 6, 12.0);
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    const GdiRecord& t = *texts[0];
    EXPECT_EQ(t.bkMode, OPAQUE);
    EXPECT_EQ(t.textColor, kMiddleColor);
    EXPECT_EQ(t.bkColor, kBackColor);
    EXPECT_EQ(t.textAlign, static_cast<UINT>(TA_BOTTOM | TA_CENTER));
    EXPECT_EQ(t.font.lfEscapement, 450);
    EXPECT_EQ(t.font.lfOrientation, 450);
    // 8 points shown twice as high by the view: 16 points at 96 pixels per inch.
    EXPECT_EQ(t.font.lfHeight, -21);
    EXPECT_STREQ(t.font.lfFaceName, "Arail");
    // The options' font description is unchanged.
    EXPECT_EQ(Num().m_lfNumber.lfEscapement, 0);
    EXPECT_EQ(Num().m_lfNumber.lfHeight, 80);

    // Beginning again without an end replaces the label font instead of leaking it.
    label.BeginDraw(nullptr);
    label.OutputNumber(5, 6, 12.0);
    EXPECT_EQ(Texts().back()->font.lfEscapement, 0);
    label.EndDraw();
    EXPECT_EQ(m_dc.GetCurrentFont(), pInitial);
    label.EndDraw();  // a second end is harmless

    // Transparent background without the opaque switch.
    m_dc.Clear();
    CPVXWallLabel plain(&m_dc);
    plain.BeginDraw();
    EXPECT_EQ(m_dc.GetBkMode(), TRANSPARENT);
    EXPECT_EQ(m_dc.GetBkColor(), RGB(255, 255, 255));
    plain.EndDraw();

    // Without a device context nothing is drawn and nothing fails.
    CPVXBeamLabel none;
    none.SetLabelOption(&Num());
    none.BeginDraw(&angle);
    none.OutputNumber(1, 1, 1.0);
    none.OutputString(1, 1, CString("x"));
    C3DPoint p(0, 0, 0);
    none.OutputMaxMin(m_pModel.get(), &p, 0, 1.0);
    none.EndDraw();
}

TEST_F(OverlayTest, LabelOutputOptionsApplyToOneOutput) {
    CPVXBeamLabel label(&m_dc);
    label.SetLabelOption(&Num());
    label.BeginDraw();
    int align = TA_BOTTOM | TA_RIGHT;
    COLORREF text = RGB(1, 2, 3), back = RGB(4, 5, 6);
    int angle = 900;
    label.OutputNumber(1, 2, 3.0, &align, &text, &back, &angle);
    label.OutputString(7, 8, CString("编号"));
    label.EndDraw();
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u) << Dump();
    EXPECT_EQ(texts[0]->text, "3.00");
    EXPECT_EQ(texts[0]->textAlign, static_cast<UINT>(TA_BOTTOM | TA_RIGHT));
    EXPECT_EQ(texts[0]->textColor, text);
    EXPECT_EQ(texts[0]->bkColor, back);
    EXPECT_EQ(texts[0]->font.lfEscapement, 900);
    // The next output is back on the label's colour and font; the alignment stays.
    EXPECT_EQ(texts[1]->text, "编号");
    EXPECT_EQ(texts[1]->textColor, kMiddleColor);
    EXPECT_EQ(texts[1]->font.lfEscapement, 0);
    EXPECT_EQ(texts[1]->textAlign, static_cast<UINT>(TA_BOTTOM | TA_RIGHT));
    EXPECT_EQ(texts[1]->Arg(0), 7);
}

TEST_F(OverlayTest, LabelExtremeMarkers) {
    struct Row {
        int kind;
        const char* expected;
    } const rows[] = {{0, "Max:1.50"}, {1, "Min:1.50"}, {2, "MAX:1.50"}, {7, "1.50"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << r.kind);
        m_dc.Clear();
        CPVXBeamLabel label(&m_dc);
        label.SetLabelOption(&Num());
        label.BeginDraw();
        const HGDIOBJ hInitialPen = m_dc.GetCurrentPen()->m_hObject;
        C3DPoint p(2, 1, 0);
        COLORREF other = RGB(9, 9, 9);
        label.OutputMaxMin(m_pModel.get(), &p, r.kind, 1.5, nullptr, &other);
        label.EndDraw();
        auto texts = Texts();
        ASSERT_EQ(texts.size(), 1u) << Dump();
        EXPECT_EQ(texts[0]->text, r.expected);
        EXPECT_EQ(CPoint(texts[0]->Arg(0), texts[0]->Arg(1)), Px(2, 1));
        EXPECT_EQ(texts[0]->textColor, other);
        // A cross of 8 pixels in the label's own colour, 2 pixels wide, centred on the point.
        auto lines = Lines();
        ASSERT_EQ(lines.size(), 2u) << Dump();
        for (const GdiRecord* l : lines) {
            EXPECT_EQ(l->pen.lopnWidth.x, 2);
            EXPECT_EQ(l->pen.lopnColor, kMiddleColor);
        }
        EXPECT_EQ(lines[0]->Arg(1), Px(2, 1).y);
        EXPECT_EQ(lines[1]->Arg(0), Px(2, 1).x);
        EXPECT_EQ(m_dc.GetCurrentPen()->m_hObject, hInitialPen) << "the previous pen is selected again";
    }

    // Off-screen points (one negative coordinate) draw neither text nor cross.
    const C3DPoint off[] = {C3DPoint(-40.1, 0, 0), C3DPoint(0, 30.1, 0)};
    for (C3DPoint p : off) {
        m_dc.Clear();
        CPVXBeamLabel label(&m_dc);
        label.OutputMaxMin(m_pModel.get(), &p, 0, 1.0);
        EXPECT_EQ(m_dc.Count("TextOut") + m_dc.Count("LineTo"), 0u) << Dump();
    }

    // Drawing straight to a device uses the window transform (here a page twice the size).
    m_dc.Clear();
    m_pCtrl->StartVirtualMode(1600, 1200);
    m_pModel->m_bExternalDevice = 1;
    CPVXBeamLabel label(&m_dc);
    C3DPoint p(2, 1, 0);
    label.OutputMaxMin(m_pModel.get(), &p, 0, 1.0);
    const CPoint win = m_pCtrl->GetWorldToWindowP2D(p);
    ASSERT_NE(win, m_pCtrl->GetWorldToMemDCP2D(p));
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(CPoint(Texts()[0]->Arg(0), Texts()[0]->Arg(1)), win);
    ASSERT_EQ(Lines().size(), 2u);
    EXPECT_EQ(Lines()[0]->Arg(1), win.y);
    m_pModel->m_bExternalDevice = 0;
    m_pCtrl->EndVirtualMode();
}

TEST_F(OverlayTest, RotatedTextPositions) {
    struct Row {
        int angle;
        int scale;
        POINT expected;
    } const rows[] = {
        {0, 10, {100, 90}},    {1, 10, {100, 90}},    {-1, 10, {100, 90}},   {900, 10, {90, 100}},
        {899, 10, {90, 100}},  {901, 10, {90, 100}},  {1800, 10, {100, 100}}, {902, 10, {100, 100}},
        {2700, 10, {100, 100}}, {-2, 10, {100, 100}}, {3600, 10, {100, 100}}, {300, 10, {95, 92}},
        {3000, 10, {108, 95}}, {450, 10, {93, 93}},   {0, 20, {100, 80}},    {300, 15, {93, 88}},
        {0, -10, {100, 110}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "angle " << r.angle << " scale " << r.scale);
        const POINT p = CPVXLabelBase::CalcRotatedTextPos(POINT{100, 100}, r.angle, r.scale);
        EXPECT_EQ(p.x, r.expected.x);
        EXPECT_EQ(p.y, r.expected.y);
    }
}

TEST_F(OverlayTest, MemberEndAlignments) {
    CPVXBeamLabel beam;
    CPVXPlatLabel plate;
    CPVXWallLabel wall;
    CPVXLabelBase base;
    struct Row {
        int pos, flag, beam;
    } const rows[] = {{0, 0, 14}, {0, 1, 14}, {1, 0, 8}, {1, 1, 10}, {2, 0, 10}, {2, 1, 8}, {5, 1, 14}, {-1, 0, 14}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "position " << r.pos << " flag " << r.flag);
        CPVXLabelBase* labels[] = {&beam, &plate, &wall, &base};
        EXPECT_EQ(labels[0]->GetTextAlign(r.pos, r.flag), r.beam);
        for (int i = 1; i < 4; ++i) EXPECT_EQ(labels[i]->GetTextAlign(r.pos, r.flag), 0);
    }
}

TEST_F(OverlayTest, ResultLabelWritesBlankedNumbersThroughTheModelFont) {
    CPVXResultLabelBase label(&m_dc, m_pModel.get());
    label.m_pLogFont = &Num().m_lfNumber;
    label.m_crText = kEndColor;
    label.m_nOrientation = 300;
    label.BeginDraw();
    EXPECT_EQ(std::string(label.FormatNumber(0.5).GetString()), " 0.500000 ");
    EXPECT_EQ(Num().m_lfNumber.lfEscapement, 300);
    EXPECT_EQ(m_dc.GetTextAlign(), static_cast<UINT>(TA_BOTTOM | TA_CENTER));

    CPoint pt(50, 60);
    int orientation = 900;
    COLORREF colour = RGB(7, 7, 7);
    label.DrawText(&pt, 0.25, &orientation, &colour);
    label.DrawText(&pt, 2.0);
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u) << Dump();
    EXPECT_EQ(texts[0]->text, " 0.250000 ");
    EXPECT_EQ(texts[0]->font.lfEscapement, 900);
    EXPECT_EQ(texts[0]->textColor, colour);
    EXPECT_EQ(texts[1]->textColor, kEndColor);
    EXPECT_EQ(FontSelections(m_dc).size(), 4u) << "each number selects its font and restores the previous one";

    // The fixed number angle of the options wins over the label's.
    Num().m_bFixedNumberAngle = 1;
    Num().m_nNumberAngle = 450;
    label.m_bExponent = 1;
    label.m_nDigits = 2;
    label.BeginDraw();
    EXPECT_EQ(Num().m_lfNumber.lfEscapement, 450);
    EXPECT_EQ(std::string(label.FormatNumber(0.5).GetString()), " 5.00e-001 ");

    // Extreme values are written with their prefix and a cross, and skipped off-screen.
    m_dc.Clear();
    label.m_nDigits = 1;
    label.m_bExponent = 0;
    label.BeginDraw();
    C3DPoint p(1, 1, 0), off(-41, 0, 0);
    label.OutputMaxMin(&p, 0.5, 1);
    label.OutputMaxMin(&off, 0.5, 0);
    ASSERT_EQ(Texts().size(), 1u) << Dump();
    EXPECT_EQ(Texts()[0]->text, "Min: 0.5 ");
    EXPECT_EQ(CPoint(Texts()[0]->Arg(0), Texts()[0]->Arg(1)), Px(1, 1));
    EXPECT_EQ(Lines().size(), 2u);

    // Without a device context nothing happens.
    CPVXResultLabelBase none(nullptr, m_pModel.get());
    none.BeginDraw();
    none.DrawText(&pt, 1.0);
    none.OutputMaxMin(&p, 1.0, 0);
}
