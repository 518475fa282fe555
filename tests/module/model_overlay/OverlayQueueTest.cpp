// Deferred overlay queues: queue life across renders and drawing order, text angles kept readable,
// the side rule, the label kinds of member and slab numbers, off-screen skipping, and the
// markers of the kinds no producer fills.

#include <cmath>

#include "host/base/CMsgDll.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "tests/module/model_overlay/OverlayTestSupport.h"

namespace {

struct Member {
    double x1, y1, x2, y2;  // plan axis points
};

void PushNumber(Func_OutputSfdBmdNumber& q, const Member& m, double ax, double ay, int kind, double v) {
    const double anchor[3] = {ax, ay, 0};
    const double axis[6] = {m.x1, m.y1, 0, m.x2, m.y2, 0};
    q.Push(anchor, axis, kind, v);
}

void PushNumber(Func_OutputSlabNumber& q, const Member& m, double ax, double ay, int kind, double v) {
    const double anchor[3] = {ax, ay, 0};
    const double axis[6] = {m.x1, m.y1, 0, m.x2, m.y2, 0};
    q.Push(anchor, axis, kind, v);
}

size_t FontSelectionCount(const CRecordDC& dc) {
    size_t n = 0;
    for (const GdiRecord* r : dc.GetRecords("SelectObject"))
        if (r->Arg(0) == OBJ_FONT) ++n;
    return n;
}

const UINT kHorz = TA_LEFT | TA_RIGHT | TA_CENTER;
const UINT kVert = TA_TOP | TA_BOTTOM;

// p moved along a text's reading line and toward its top, in heights of its font on a DC of its own.
CPoint Moved(const CPoint& p, const LOGFONT& lf, double along, double up) {
    CRecordDC dc;
    CFont font;
    TEXTMETRIC tm{};
    if (dc.Create() && font.CreateFontIndirect(&lf) && dc.SelectObject(&font)) dc.GetTextMetrics(&tm);
    const double a = lf.lfEscapement * M_PI / 1800.0, h = tm.tmHeight, c = std::cos(a), s = std::sin(a);
    return CPoint(p.x + int(std::lround(h * (along * c - up * s))), p.y + int(std::lround(-h * (along * s + up * c))));
}

}  // namespace

class OverlayQueueTest : public OverlayTest {
protected:
    CPVXDrawFuncArray& Set() { return *m_pModel->m_pDrawFuncArray; }
    void Run() { Set().DrawAll(&m_dc, m_pModel.get()); }
};

TEST_F(OverlayQueueTest, QueuedNumbersAreDrawnOncePerRender) {
    ASSERT_NE(m_pModel->m_pDrawFuncArray, nullptr);
    CPVXDrawFuncArray& set = Set();
    ASSERT_EQ(set.GetFuncCount(), 30);
    EXPECT_EQ(set.GetFunc(0), &set.m_OutputCutLineNumber);
    EXPECT_EQ(set.GetFunc(11), &set.m_OutputSfdBmdNumber);
    EXPECT_EQ(set.GetFunc(28), &set.m_DrawIconUCS);
    EXPECT_EQ(set.GetFunc(29), &set.m_OutputSlabNumber);

    // An empty set draws nothing at all; clearing it is harmless.
    Run();
    set.ClearAll();
    set.ClearAll();
    EXPECT_TRUE(m_dc.GetRecords().empty()) << Dump();

    const Member m{0, 0, 10, 0};
    for (int i = 0; i < 3; ++i) PushNumber(set.m_OutputSfdBmdNumber, m, 2 + i, 1, 5, i);
    const double p[3] = {0, 0, 0};
    set.m_OutputSfdBmdNumber.Push(nullptr, p, 5, 1.0);  // incomplete pushes queue nothing
    set.m_OutputSfdBmdNumber.Push(p, nullptr, 5, 1.0);
    EXPECT_EQ(set.GetQueuedCount(), 3);

    // A run leaves the records queued; a second run without a clear draws them again.
    Run();
    EXPECT_EQ(m_dc.Count("TextOut"), 3u);
    Run();
    EXPECT_EQ(m_dc.Count("TextOut"), 6u);

    // The render path clears after each run: the next run draws nothing twice.
    set.ClearAll();
    EXPECT_EQ(set.GetQueuedCount(), 0);
    m_dc.Clear();
    Run();
    EXPECT_EQ(m_dc.Count("TextOut"), 0u);
    PushNumber(set.m_OutputSlabNumber, m, 5, 1, 6, 1.0);
    Run();
    set.ClearAll();
    Run();
    set.ClearAll();
    EXPECT_EQ(m_dc.Count("TextOut"), 1u) << Dump();

    // Slab and wall numbers come last, over the member numbers.
    m_dc.Clear();
    PushNumber(set.m_OutputSlabNumber, m, 5, 1, 8, 2.0);
    PushNumber(set.m_OutputSfdBmdNumber, m, 5, 1, 8, 1.0);
    Run();
    set.ClearAll();
    ASSERT_EQ(Texts().size(), 2u);
    EXPECT_EQ(Texts()[0]->text, " 1.00 ");
    EXPECT_EQ(Texts()[1]->text, " 2.00 ");

    // Nothing is drawn without a device context, a model or its graphics control.
    PushNumber(set.m_OutputSfdBmdNumber, m, 5, 1, 5, 1.0);
    m_dc.Clear();
    set.DrawAll(nullptr, m_pModel.get());
    set.DrawAll(&m_dc, nullptr);
    I_PVXCtrl* pCtrl = m_pModel->m_pPVXCtrl;
    m_pModel->m_pPVXCtrl = nullptr;
    Run();
    m_pModel->m_pPVXCtrl = pCtrl;
    EXPECT_TRUE(m_dc.GetRecords().empty()) << Dump();
    EXPECT_EQ(set.GetQueuedCount(), 1);
}

TEST_F(OverlayQueueTest, TextFollowsTheMemberAndStaysReadable) {
    m_view.SetTextDisplayScale(2.0);
    struct Row {
        const char* label;
        Member m;
        int angle;
        bool turned;
    } const rows[] = {
        {"left to right", {0, 0, 10, 0}, 0, false},
        {"right to left", {10, 0, 0, 0}, 0, true},
        {"upward", {0, 0, 0, 10}, 900, false},
        {"downward", {0, 10, 0, 0}, 900, true},
        {"rising to the right", {0, 0, 10, 10}, 450, false},
        {"falling to the left", {10, 10, 0, 0}, 450, true},
        {"rising to the left", {0, 0, -10, 10}, 3150, true},
        {"falling to the right", {0, 0, 10, -10}, 3150, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        m_dc.Clear();
        const double mx = (r.m.x1 + r.m.x2) / 2, my = (r.m.y1 + r.m.y2) / 2;
        PushNumber(Set().m_OutputSfdBmdNumber, r.m, mx, my, 6, 1.0);
        PushNumber(Set().m_OutputSfdBmdNumber, r.m, mx, my, 7, 1.0);
        Run();
        Set().ClearAll();
        auto texts = Texts();
        ASSERT_EQ(texts.size(), 2u) << Dump();
        for (const GdiRecord* t : texts) {
            EXPECT_EQ(t->font.lfEscapement, r.angle);
            EXPECT_EQ(t->font.lfOrientation, r.angle);
            EXPECT_EQ(t->font.lfHeight, -21) << "8 points shown twice as high by the view";
            // Each two fifths of its height inside its own side: two members' ends at a node keep apart.
            const double side = (t->textAlign & kHorz) == TA_RIGHT ? -0.4 : 0.4;
            EXPECT_EQ(CPoint(t->Arg(0), t->Arg(1)), Moved(Px(mx, my), t->font, side, 0.0));
        }
        // The start number stands away from the start, the end number away from the end.
        EXPECT_EQ(texts[0]->textAlign & kHorz, r.turned ? UINT(TA_RIGHT) : UINT(TA_LEFT));
        EXPECT_EQ(texts[1]->textAlign & kHorz, r.turned ? UINT(TA_LEFT) : UINT(TA_RIGHT));
        EXPECT_EQ(texts[0]->textColor, kStartColor);
        EXPECT_EQ(texts[1]->textColor, kEndColor);
        // The number font keeps the last record's angle; its height is left alone.
        EXPECT_EQ(Num().m_lfNumber.lfEscapement, r.angle);
        EXPECT_EQ(Num().m_lfNumber.lfOrientation, r.angle);
        EXPECT_EQ(Num().m_lfNumber.lfHeight, 80);
    }

    // Device-point angles: 900 is kept, anything past it up to 2700 is turned half a circle.
    struct AngleRow {
        POINT a, b;
        int angle, turned;
    } const angles[] = {
        {{0, 0}, {100, 0}, 0, 0},      {{0, 100}, {0, 0}, 900, 0},    {{0, 0}, {0, 100}, 900, 1},
        {{0, 0}, {-100, 0}, 0, 1},     {{0, 0}, {0, 0}, 0, 0},        {{0, 0}, {100, 100}, 3150, 0},
        {{0, 0}, {-1000, 1}, 1, 1},    {{0, 0}, {-1000, -1}, 3599, 1},
    };
    for (const AngleRow& r : angles) {
        SCOPED_TRACE(testing::Message() << "(" << r.a.x << "," << r.a.y << ") to (" << r.b.x << "," << r.b.y << ")");
        int turned = -1;
        EXPECT_EQ(PVXCalcTextAngle(r.a, r.b, turned), r.angle);
        EXPECT_EQ(turned, r.turned);
    }
}

TEST_F(OverlayQueueTest, VerticalAlignmentFollowsTheSideOfTheAnchor) {
    struct Row {
        const char* label;
        Member m;
        double ay;  // anchor at (5, ay)
        UINT vert;
    } const rows[] = {
        {"left to right, anchor above", {0, 0, 10, 0}, 1, TA_TOP},
        {"left to right, anchor below", {0, 0, 10, 0}, -1, TA_BOTTOM},
        {"right to left, anchor above", {10, 0, 0, 0}, 1, TA_TOP},
        {"right to left, anchor below", {10, 0, 0, 0}, -1, TA_BOTTOM},
        {"anchor on the member", {0, 0, 10, 0}, 0, TA_TOP},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        m_dc.Clear();
        PushNumber(Set().m_OutputSfdBmdNumber, r.m, 5, r.ay, 5, 1.0);
        Run();
        Set().ClearAll();
        ASSERT_EQ(Texts().size(), 1u);
        EXPECT_EQ(Texts()[0]->textAlign & kVert, r.vert);
        EXPECT_EQ(Texts()[0]->textAlign & kHorz, UINT(TA_CENTER));
    }
}

TEST_F(OverlayQueueTest, LabelKindsOfMemberAndSlabNumbers) {
    const CString maxText = CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Max_", 0);
    const CString minText = CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Min_", 0);
    const CString absText = CMsgDll::pfuncLoadStr("IDS_TBX_PVX_MAX_", 0);
    const std::string num = " 1.50 ";
    struct Row {
        bool slab;
        Member m;
        int kind;
        std::string text;  // empty: nothing written
        COLORREF color;
        UINT align;
        bool cross;
        double along = 0.0, up = 0.0;  // heights the text stands off the anchor
    } const rows[] = {
        {false, {0, 0, 10, 0}, 0, maxText.GetString() + num, kMiddleColor, TA_TOP | TA_LEFT, true},
        {false, {0, 0, 10, 0}, 1, minText.GetString() + num, kMiddleColor, TA_TOP | TA_RIGHT, true},
        {false, {0, 0, 10, 0}, 2, absText.GetString() + num, kMiddleColor, TA_TOP | TA_CENTER, true},
        {false, {0, 0, 10, 0}, 3, num, kMiddleColor, TA_TOP | TA_RIGHT, false},
        {false, {0, 0, 10, 0}, 4, num, kMiddleColor, TA_TOP | TA_LEFT, false},
        {false, {0, 0, 10, 0}, 5, num, kMiddleColor, TA_TOP | TA_CENTER, false},
        {false, {0, 0, 10, 0}, 6, num, kStartColor, TA_TOP | TA_LEFT, false, 0.4},
        {false, {0, 0, 10, 0}, 7, num, kEndColor, TA_TOP | TA_RIGHT, false, -0.4},
        {false, {0, 0, 10, 0}, 8, num, kMiddleColor, TA_TOP | TA_CENTER, false},
        {false, {0, 0, 10, 0}, 9, "", 0, 0, false},
        {false, {0, 0, 10, 0}, -1, "", 0, 0, false},
        // Seen end-on (a column in plan, both ends at the anchor): the sides inside, the centred
        // value over the point the others hang from.
        {false, {5, 1, 5, 1}, 3, num, kMiddleColor, TA_TOP | TA_RIGHT, false, -0.4},
        {false, {5, 1, 5, 1}, 4, num, kMiddleColor, TA_TOP | TA_LEFT, false, 0.4},
        {false, {5, 1, 5, 1}, 6, num, kStartColor, TA_TOP | TA_LEFT, false, 0.4},
        {false, {5, 1, 5, 1}, 7, num, kEndColor, TA_TOP | TA_RIGHT, false, -0.4},
        {false, {5, 1, 5, 1}, 8, num, kMiddleColor, TA_BOTTOM | TA_CENTER, false},
        {true, {0, 0, 10, 0}, 0, maxText.GetString() + num, kMiddleColor, TA_TOP | TA_LEFT, true},
        {true, {0, 0, 10, 0}, 5, num, kMiddleColor, TA_TOP | TA_CENTER, false},
        {true, {0, 0, 10, 0}, 6, " " + num + " ", kStartColor, TA_TOP | TA_LEFT, false, 0.0, -0.2},
        {true, {0, 0, 10, 0}, 7, " " + num + " ", kEndColor, TA_BOTTOM | TA_LEFT, false, 0.0, 0.2},
        {true, {10, 0, 0, 0}, 6, " " + num + " ", kStartColor, TA_TOP | TA_RIGHT, false, 0.0, -0.2},
        {true, {10, 0, 0, 0}, 7, " " + num + " ", kEndColor, TA_BOTTOM | TA_RIGHT, false, 0.0, 0.2},
        {true, {0, 0, 10, 0}, 9, "", 0, 0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << (r.slab ? "slab" : "member") << " kind " << r.kind << " from x "
                                        << r.m.x1);
        m_dc.Clear();
        const HGDIOBJ hPen = m_dc.GetCurrentPen()->m_hObject;
        if (r.slab)
            PushNumber(Set().m_OutputSlabNumber, r.m, 5, 1, r.kind, 1.5);
        else
            PushNumber(Set().m_OutputSfdBmdNumber, r.m, 5, 1, r.kind, 1.5);
        Run();
        Set().ClearAll();
        // Every record makes its turned font and puts the previous one back, whatever it writes.
        EXPECT_EQ(FontSelectionCount(m_dc), 2u);
        auto texts = Texts();
        if (r.text.empty()) {
            EXPECT_TRUE(texts.empty()) << Dump();
            EXPECT_EQ(m_dc.Count("LineTo"), 0u);
            continue;
        }
        ASSERT_EQ(texts.size(), 1u) << Dump();
        EXPECT_EQ(texts[0]->text, r.text);
        EXPECT_EQ(texts[0]->textColor, r.color);
        EXPECT_EQ(texts[0]->textAlign, r.align);
        EXPECT_EQ(texts[0]->bkMode, OPAQUE);
        EXPECT_EQ(texts[0]->bkColor, kBackColor);
        EXPECT_EQ(CPoint(texts[0]->Arg(0), texts[0]->Arg(1)), Moved(Px(5, 1), texts[0]->font, r.along, r.up));
        auto lines = Lines();
        if (!r.cross) {
            EXPECT_TRUE(lines.empty());
            continue;
        }
        ASSERT_EQ(lines.size(), 2u) << Dump();
        for (const GdiRecord* l : lines) {
            EXPECT_EQ(l->pen.lopnWidth.x, 2);
            EXPECT_EQ(l->pen.lopnColor, kMiddleColor);
        }
        EXPECT_EQ(lines[0]->Arg(1), Px(5, 1).y);
        EXPECT_EQ(lines[1]->Arg(0), Px(5, 1).x);
        EXPECT_EQ(m_dc.GetCurrentPen()->m_hObject, hPen) << "the pen is restored with the device context";
    }

    // Exponent notation carries the same blanks.
    Num().m_bExponent = 1;
    Num().m_nDecimals = 1;
    m_dc.Clear();
    PushNumber(Set().m_OutputSfdBmdNumber, {0, 0, 10, 0}, 5, 1, 5, -1234.0);
    Run();
    Set().ClearAll();
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0]->text, " -1.2e+003 ");
}

TEST_F(OverlayQueueTest, OffScreenNumbersAreSkipped) {
    // An axis point above or left of the device area: the record draws nothing at all, even with
    // its anchor on screen.
    const Member leftOut{-41, 0, 0, 0}, aboveOut{0, 0, 0, 31};
    for (const Member& m : {leftOut, aboveOut}) {
        m_dc.Clear();
        PushNumber(Set().m_OutputSfdBmdNumber, m, 0, 0, 0, 1.0);
        PushNumber(Set().m_OutputSlabNumber, m, 0, 0, 6, 1.0);
        Run();
        Set().ClearAll();
        EXPECT_EQ(m_dc.Count("TextOut") + m_dc.Count("LineTo") + FontSelectionCount(m_dc), 0u) << Dump();
    }
    // An anchor off-screen on a visible member: no text and no cross, of any kind.
    for (int kind = 0; kind <= 8; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        m_dc.Clear();
        PushNumber(Set().m_OutputSfdBmdNumber, {0, 0, 10, 0}, -40.1, 1, kind, 1.0);
        PushNumber(Set().m_OutputSlabNumber, {0, 0, 10, 0}, 1, 30.1, kind, 1.0);
        Run();
        Set().ClearAll();
        EXPECT_EQ(m_dc.Count("TextOut") + m_dc.Count("LineTo"), 0u) << Dump();
    }
}

TEST_F(OverlayQueueTest, DrawingStraightToADeviceUsesTheWindowTransform) {
    m_pCtrl->StartVirtualMode(1600, 1200);
    m_pModel->m_bExternalDevice = 1;
    PushNumber(Set().m_OutputSfdBmdNumber, {0, 0, 10, 0}, 5, 1, 0, 1.0);
    Run();
    Set().ClearAll();
    const CPoint win = m_pCtrl->GetWorldToWindowP2D(C3DPoint(5, 1, 0));
    ASSERT_NE(win, Px(5, 1));
    ASSERT_EQ(Texts().size(), 1u) << Dump();
    EXPECT_EQ(CPoint(Texts()[0]->Arg(0), Texts()[0]->Arg(1)), win);
    ASSERT_EQ(Lines().size(), 2u);
    EXPECT_EQ(Lines()[0]->Arg(1), win.y);
    m_pModel->m_bExternalDevice = 0;
    m_pCtrl->EndVirtualMode();
}

TEST_F(OverlayQueueTest, KindsWithoutProducerAreDrawnAndCleared) {
    CPVXDrawFuncArray& set = Set();
    auto at = [](double* d, double x, double y) { d[0] = x, d[1] = y, d[2] = 0; };
    auto* pt = new T_Draw<Func_DrawPoint>;
    at(pt->m_dPoint, 1, 1), pt->m_nSize = 6, pt->m_crColor = RGB(1, 2, 3), pt->m_bSquare = 1;
    set.m_DrawPoint.AddRecord(pt);
    auto* edge = new T_Draw<Func_DrawPoint>(*pt);
    at(edge->m_dPoint, -40, 1);  // x = 0: on the border, which markers leave out
    set.m_DrawPoint.AddRecord(edge);
    auto* cross = new T_Draw<Func_DrawCrossLine>;
    at(cross->m_dPoint, 0, 0), cross->m_nSize = 10, cross->m_nStyle = 1;
    set.m_DrawCrossLine.AddRecord(cross);
    auto* dgrm = new T_Draw<Func_OutputDgrmNumber>;
    at(dgrm->m_dAxis1, 10, 0), at(dgrm->m_dAxis2, 0, 0), at(dgrm->m_dAnchor, 5, 1);
    dgrm->m_dValue = 2, dgrm->m_nKind = 6, dgrm->m_bOwnColor = 1, dgrm->m_crColor = RGB(5, 5, 5);
    set.m_OutputDgrmNumber.AddRecord(dgrm);
    auto* up = new T_Draw<Func_DrawOutputNumberOn2DPoint>;
    at(up->m_dPoint, 0, 0), up->m_dValue = 1.0 / 3, up->m_nOffset = 4, up->m_bUpright = 1;
    set.m_DrawOutputNumberOn2DPoint.AddRecord(up);
    set.m_DrawBeamRebar.AddRecord(new T_Draw<Func_DrawBeamRebar>);
    EXPECT_EQ(set.GetQueuedCount(), 6);

    Run();
    auto rects = m_dc.GetRecords("Rectangle");
    ASSERT_EQ(rects.size(), 1u) << Dump();
    EXPECT_EQ(rects[0]->brush.lbColor, RGB(1, 2, 3));
    EXPECT_EQ(rects[0]->rect.left, Px(1, 1).x - 3);
    EXPECT_EQ(rects[0]->rect.right, Px(1, 1).x + 3);
    // The upright cross: a level arm and an upright arm of half the size each way.
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u) << Dump();
    EXPECT_EQ(CPoint(lines[0]->Arg(0), lines[0]->Arg(1)), CPoint(405, 300));
    EXPECT_EQ(CPoint(lines[1]->Arg(0), lines[1]->Arg(1)), CPoint(400, 305));
    // In the set's order: the upright number (queue 9) before the diagram number (queue 28).
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u) << Dump();
    EXPECT_EQ(texts[0]->text, "0.33333333");
    EXPECT_EQ(texts[0]->font.lfEscapement, 900);
    EXPECT_EQ(texts[0]->textAlign, UINT(TA_LEFT | TA_TOP));
    EXPECT_EQ(CPoint(texts[0]->Arg(0), texts[0]->Arg(1)), CPoint(400, 304));
    // A turned diagram number of kind 6 stands bottom-right, in the record's own colour.
    EXPECT_EQ(texts[1]->text, " 2.00 ");
    EXPECT_EQ(texts[1]->textAlign, UINT(TA_BOTTOM | TA_RIGHT));
    EXPECT_EQ(texts[1]->textColor, RGB(5, 5, 5));

    set.ClearAll();
    EXPECT_EQ(set.GetQueuedCount(), 0);
}
