// The engine base: sub-element records, import, display range, look-ups and the min/max label.
#include <cmath>
#include <cstdlib>
#include <limits>

#include "tests/module/enginebase/EngineBaseSupport.h"

namespace enginebase {

namespace {

T_PVX_SBEM_D Sbem(UINT key, std::initializer_list<UINT> nodes) {
    T_PVX_SBEM_D r;
    r.m_nKey = key;
    for (UINT n : nodes) {
        r.m_arrNodeKey.Add(n);
        T_PNODE_D p;
        p.x = n;
        p.y = 2.0 * n;
        p.z = 0.0;
        r.m_arrNode.Add(p);
    }
    return r;
}

}  // namespace

TEST(EngineBase, ConstructionDefaults) {
    CEngineBase e;
    EXPECT_EQ(e.m_pDBDoc, CDBDoc::m_pDBDoc);
    EXPECT_EQ(e.m_pContourEngine, nullptr);
    EXPECT_EQ(e.m_pPlotEngine, nullptr);
    EXPECT_EQ(e.GetDeformedCntr(), 0);
    EXPECT_EQ(e.GetAvgNdlActOnly(), 0);
    EXPECT_EQ(e.GetGlobalLocal(), 1);
    EXPECT_EQ(e.m_mapSbem.GetHashTableSize(), 10007u);
    EXPECT_EQ(e.m_mapNodeOrder.GetHashTableSize(), 10007u);
    EXPECT_EQ(e.m_mapKey.GetHashTableSize(), 17u);
    EXPECT_EQ(CEngineBase::m_dVectorThkScale, 2.0);
    // Without a plot engine the base hooks answer 0.
    EXPECT_EQ(e.BeginPlotEng(nullptr), 0);
    EXPECT_EQ(e.m_pPlotEngine, nullptr);
    EXPECT_EQ(e.EndPlotEng(), 0);
}

TEST(EngineBase, SubElementRecordsAreDeepCopies) {
    CEngineBase e;
    T_PVX_SBEM_D out = Sbem(77, {9});
    EXPECT_EQ(e.GetSbemD(5, out), 0) << "empty map";
    EXPECT_EQ(out.m_nKey, 77u) << "output untouched";
    ASSERT_EQ(out.m_arrNodeKey.GetSize(), 1);

    e.m_mapSbem[5] = Sbem(5, {1, 2, 3});
    EXPECT_EQ(e.GetSbemD(6, out), 0) << "absent key";
    EXPECT_EQ(out.m_nKey, 77u);
    ASSERT_EQ(e.GetSbemD(5, out), 1);
    EXPECT_EQ(out.m_nKey, 5u);
    ASSERT_EQ(out.m_arrNodeKey.GetSize(), 3);
    ASSERT_EQ(out.m_arrNode.GetSize(), 3);
    EXPECT_EQ(out.m_arrNode[2].y, 6.0);
    // The copy owns its arrays.
    out.m_arrNodeKey[0] = 99;
    out.m_arrNode[0].x = -1.0;
    T_PVX_SBEM_D again;
    ASSERT_EQ(e.GetSbemD(5, again), 1);
    EXPECT_EQ(again.m_arrNodeKey[0], 1u);
    EXPECT_EQ(again.m_arrNode[0].x, 1.0);
}

TEST(EngineBase, ImportCopiesTheSharedStateOnly) {
    CEngineBase src, dst;
    src.m_bLocalAxis = 0;
    src.m_bDeformed = 1;
    src.m_bAvgNdlActOnly = 1;
    src.m_dLegendMax = 4.0;
    src.m_dLegendMin = -2.0;
    src.m_bCuttingLine = 1;
    src.m_bRangeOn = 1;
    src.m_dRangeLow = 0.25;
    src.m_pContourEngine = UnitScale();
    src.m_arrElemKey.Add(5);
    src.m_arrElemKey.Add(3);
    src.m_mapSbem[5] = Sbem(5, {1, 2, 3, 4});
    src.m_mapSbem[3] = Sbem(3, {2, 3, 4});
    src.m_mapNodeOrder[11] = 2;
    src.m_mapKey[1] = 2;
    T_PVX_CUTL_D line;
    src.m_arrCutLine.Add(line);
    dst.m_mapSbem[8] = Sbem(8, {7});  // stale record of an earlier build

    dst.ImportEngine(&src);
    EXPECT_EQ(dst.GetGlobalLocal(), 0);
    EXPECT_EQ(dst.GetDeformedCntr(), 1);
    ASSERT_EQ(dst.m_arrElemKey.GetSize(), 2);
    EXPECT_EQ(dst.m_arrElemKey[1], 3u);
    EXPECT_EQ(dst.m_mapSbem.GetCount(), 2);
    T_PVX_SBEM_D r;
    EXPECT_EQ(dst.GetSbemD(8, r), 0) << "the stale record went";
    int order = 0;
    EXPECT_TRUE(dst.m_mapNodeOrder.Lookup(11, order));
    EXPECT_EQ(order, 2);
    // Left to the subclass import or not copied at all.
    struct Row {
        const char* label;
        double got, want;
    } const rows[] = {
        {"active-only flag", double(dst.m_bAvgNdlActOnly), 0},
        {"legend maximum", dst.m_dLegendMax, 0},
        {"legend minimum", dst.m_dLegendMin, 0},
        {"cutting-line switch", double(dst.m_bCuttingLine), 0},
        {"display range switch", double(dst.m_bRangeOn), 0},
        {"display range bound", dst.m_dRangeLow, 0},
        {"colour scale", double(dst.m_pContourEngine != nullptr), 0},
        {"cutting lines", double(dst.m_arrCutLine.GetSize()), 0},
        {"key map", double(dst.m_mapKey.GetCount()), 0},
    };
    for (const Row& row : rows) EXPECT_EQ(row.got, row.want) << row.label;

    // Nothing is shared afterwards.
    src.m_mapSbem[5].m_arrNodeKey[0] = 42;
    src.m_mapSbem[5].m_arrNode.RemoveAll();
    ASSERT_EQ(dst.GetSbemD(5, r), 1);
    EXPECT_EQ(r.m_arrNodeKey[0], 1u);
    EXPECT_EQ(r.m_arrNode.GetSize(), 4);

    // An empty source empties the map but keeps its 10007 buckets; a later insertion works.
    CEngineBase empty;
    dst.ImportEngine(&empty);
    EXPECT_EQ(dst.m_mapSbem.GetCount(), 0);
    EXPECT_EQ(dst.m_mapSbem.GetHashTableSize(), 10007u);
    dst.m_mapSbem[20011] = Sbem(20011, {1});
    EXPECT_EQ(dst.GetSbemD(20011, r), 1);
    dst.ImportEngine(&dst);  // itself: nothing changes
    EXPECT_EQ(dst.m_mapSbem.GetCount(), 1);
}

TEST(EngineBase, DisplayRangeBoundsReachTheColourScale) {
    // Scale -10..10 with 12 levels; the range pins the inner levels nearest the bounds at them.
    struct Row {
        const char* label;
        int on, absolute, lowOn, highOn;
        double low, high;
        double effLow, effHigh;  // effective bounds: |max - min| x fraction + min, or the values, clamped
        bool pinned;
    } const rows[] = {
        {"fractions", 1, 0, 1, 1, 0.25, 0.75, -5.0, 5.0, true},
        {"values clamped into the range", 1, 1, 1, 1, -20.0, 30.0, -10.0, 10.0, false},
        {"upper bound off passes unclamped", 1, 1, 1, 0, -20.0, 30.0, -10.0, 30.0, false},
        {"fractions with the lower bound off", 1, 0, 0, 1, -0.5, 0.5, -20.0, 0.0, false},
        {"range off: plain levels", 0, 0, 1, 1, 0.25, 0.75, -5.0, 5.0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CEngineBase e;
        e.m_pContourEngine = new CContourEngine(-10.0, 10.0);
        e.m_bRangeOn = row.on;
        e.m_bRangeAbsolute = row.absolute;
        e.m_bRangeLowOn = row.lowOn;
        e.m_bRangeHighOn = row.highOn;
        e.m_dRangeLow = row.low;
        e.m_dRangeHigh = row.high;
        e.SetDisplayRange();
        EXPECT_DOUBLE_EQ(e.m_dRangeLowEff, row.effLow);
        EXPECT_DOUBLE_EQ(e.m_dRangeHighEff, row.effHigh);
        const CContourEngine& s = *e.m_pContourEngine;
        bool hasLow = false, hasHigh = false;
        for (int i = 1; i + 1 < s.m_nNumColor; ++i) {
            hasLow = hasLow || std::fabs(s.m_dRankMap[i] - row.effLow) < 1e-12;
            hasHigh = hasHigh || std::fabs(s.m_dRankMap[i] - row.effHigh) < 1e-12;
        }
        if (row.pinned) {
            EXPECT_TRUE(hasLow && hasHigh) << "inner levels pinned at both bounds";
        }
        if (!row.on) {
            // The plain level map: that of a scale built afresh on the same range.
            const CContourEngine plain(-10.0, 10.0);
            for (int i = 0; i < s.m_nNumColor; ++i) EXPECT_EQ(s.m_dRankMap[i], plain.m_dRankMap[i]) << i;
            EXPECT_EQ(s.m_arrKnots.GetSize(), 0);
        }
    }
    // No scale: nothing happens.
    CEngineBase none;
    none.m_bRangeOn = 1;
    none.m_dRangeLow = 3.0;
    none.SetDisplayRange();
    EXPECT_EQ(none.m_dRangeLowEff, 0.0);
    // Every value counts as in range, also NaN.
    EXPECT_EQ(none.IsInDisplayRange(std::numeric_limits<double>::quiet_NaN()), 1);
    EXPECT_EQ(none.IsInDisplayRange(-1e300), 1);
}

TEST(EngineBase, LookUpsAndComparisons) {
    // Cutting-line pieces ordered by the nearer of their two distances.
    T_CUTLINE_D a, b, c, d;
    a.dDistA = 3;
    a.dDistB = 1;  // key 1
    b.dDistA = 2;
    b.dDistB = 5;  // key 2
    c.dDistA = 1;
    c.dDistB = 4;
    d.dDistA = 4;
    d.dDistB = 1;
    EXPECT_EQ(CEngineBase::Compare_Cutline_Dist(&a, &b), -1);
    EXPECT_EQ(CEngineBase::Compare_Cutline_Dist(&b, &a), 1);
    EXPECT_EQ(CEngineBase::Compare_Cutline_Dist(&c, &d), 0);
    T_CUTLINE_D pieces[3] = {b, a, c};
    std::qsort(pieces, 3, sizeof(T_CUTLINE_D), CEngineBase::Compare_Cutline_Dist);
    EXPECT_EQ(pieces[2].dDistA, 2.0) << "the piece with key 2 last";

    struct Same {
        const char* label;
        C3DPoint p;
        int same;
    } const sames[] = {
        {"equal", C3DPoint(1, 2, 3), 1},
        {"x within 1e-8", C3DPoint(1 + 0.9e-8, 2, 3), 1},
        {"z beyond 1e-8", C3DPoint(1, 2, 3 + 1.1e-8), 0},
        {"y far", C3DPoint(1, 3, 3), 0},
    };
    for (const Same& s : sames) EXPECT_EQ(CEngineBase::IsSame3DPoint(C3DPoint(1, 2, 3), s.p), s.same) << s.label;

    T_PELEM_D elem;
    elem.Initialize();
    elem.nNode = 4;
    const UINT nodes[4] = {7, 9, 11, 13};
    for (int i = 0; i < 4; ++i) elem.node[i] = nodes[i];
    struct Order {
        const char* label;
        UINT node;
        int n, index;
    } const orders[] = {
        {"first", 7, 4, 0}, {"last", 13, 4, 3}, {"beyond n", 13, 3, -1},
        {"absent", 8, 4, -1}, {"n < 1", 7, 0, -1}, {"n past the record", 13, 99, 3},
    };
    for (const Order& o : orders) EXPECT_EQ(CEngineBase::GetNodeOrder(o.node, elem, o.n), o.index) << o.label;
    CArray<UINT, UINT> keys;
    EXPECT_EQ(CEngineBase::GetNodeOrder(7, keys), -1) << "empty array";
    keys.Add(4);
    keys.Add(7);
    EXPECT_EQ(CEngineBase::GetNodeOrder(7, keys), 1);
    EXPECT_EQ(CEngineBase::GetNodeOrder(5, keys), -1);
}

TEST(EngineBase, LabelFormatting) {
    struct Row {
        const char* label;
        const char* fmt;
        int kind;
        double value;
        const char* text;
    } const rows[] = {
        {"maximum", "%.3f", 0, 12.3456, "Max:12.346"},
        {"minimum", "%.2e", 1, -0.00125, "Min:-1.25e-03"},
        {"absolute", "%.1f", 2, 7.25, "MAX:7.2"},
        {"no prefix", "%.3f", 3, 2.0, "2.000"},
        {"negative kind", "%.0f", -1, 2.0, "2"},
        {"text around the number", "v=%+.1f m", 0, 1.0, "Max:v=+1.0 m"},
        {"a string conversion is refused", "%s", 0, 1.5, "Max:1.5"},
        {"two conversions are refused", "%f%f", 0, 1.5, "Max:1.5"},
        {"a null format", nullptr, 3, 0.25, "0.25"},
    };
    for (const Row& r : rows) EXPECT_STREQ(FormatMinMaxLabel(r.fmt, r.kind, r.value).GetString(), r.text) << r.label;
}

class EngineBaseDrawTest : public LinkedEngineTest {
protected:
    void SetUp() override {
        LinkedEngineTest::SetUp();
        m_engine.m_pModel = m_model.get();
    }
    void TearDown() override {
        m_engine.m_pModel = nullptr;
        LinkedEngineTest::TearDown();
    }
    CEngineBase m_engine;
};

TEST_F(EngineBaseDrawTest, MinMaxLabelWritesTextAndCross) {
    m_model->m_pDispOpt->m_Number.m_crNumber[0] = RGB(12, 34, 56);
    const C3DPoint p(5, 5, 0);
    const CPoint at = Px(p);
    for (int direct = 0; direct < 2; ++direct) {
        SCOPED_TRACE(direct ? "direct to the window" : "memory image");
        m_model->m_bExternalDevice = direct;
        m_dc.Clear();
        CPen mine(PS_SOLID, 5, RGB(1, 2, 3));
        CPen* pOld = m_dc.SelectObject(&mine);
        m_engine.DrawMinMaxOutputValue(&m_dc, p, "%.3f", 0, 12.3456);
        auto texts = m_dc.GetRecords("TextOut");
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0]->text, "Max:12.346");
        EXPECT_EQ(texts[0]->Arg(0), at.x);
        EXPECT_EQ(texts[0]->Arg(1), at.y);
        // A cross of size 8 (half arms of 4 pixels) in a 2-pixel pen of the number colour.
        const auto lines = LinesOf(m_dc);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], Segment(CPoint(at.x - 4, at.y), CPoint(at.x + 5, at.y)));
        EXPECT_EQ(lines[1], Segment(CPoint(at.x, at.y - 4), CPoint(at.x, at.y + 5)));
        for (const GdiRecord* r : m_dc.GetRecords("LineTo")) {
            EXPECT_EQ(r->pen.lopnWidth.x, 2);
            EXPECT_EQ(r->pen.lopnColor, RGB(12, 34, 56));
        }
        // The caller's pen is back.
        LOGPEN lp{};
        m_dc.GetCurrentPen()->GetLogPen(&lp);
        EXPECT_EQ(lp.lopnWidth.x, 5);
        m_dc.SelectObject(pOld);
    }
    // Kind 3: the number alone. A point left of the window: nothing at all.
    m_model->m_bExternalDevice = 0;
    m_dc.Clear();
    m_engine.DrawMinMaxOutputValue(&m_dc, p, "%.1f", 3, 2.0);
    ASSERT_EQ(m_dc.Count("TextOut"), 1u);
    EXPECT_EQ(m_dc.GetRecords("TextOut")[0]->text, "2.0");
    m_dc.Clear();
    C3DPoint left(-1000, 5, 0);
    ASSERT_LT(Px(left).x, 0);
    m_engine.DrawMinMaxOutputValue(&m_dc, left, "%.1f", 0, 2.0);
    EXPECT_EQ(m_dc.GetRecords().size(), 0u);
}

TEST_F(EngineBaseDrawTest, PointsLineWidthsAndDepth) {
    C3DPoint p(5, 5, 0);
    const CPoint at = Px(p);
    EXPECT_EQ(m_engine.DrawPoint(&m_dc, p, 6.0, 1), at);
    auto rects = m_dc.GetRecords("Rectangle");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0]->rect.left, at.x - 3);
    EXPECT_EQ(rects[0]->rect.bottom, at.y + 3);
    m_dc.Clear();
    EXPECT_EQ(m_engine.DrawPoint(&m_dc, p, 5.0, 0), at);
    auto ellipses = m_dc.GetRecords("Ellipse");
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0]->rect.left, static_cast<int>(at.x - 2.5));
    EXPECT_EQ(ellipses[0]->rect.right, static_cast<int>(at.x + 2.5));
    // Off the window (x below 1): nothing drawn, the point still returned.
    m_dc.Clear();
    C3DPoint off(-1000, 5, 0);
    EXPECT_EQ(m_engine.DrawPoint(&m_dc, off, 5.0, 1), Px(off));
    EXPECT_EQ(m_dc.GetRecords().size(), 0u);

    // Line widths follow the export ratio (3 for a page three times the client size).
    EXPECT_EQ(m_engine.GetVectorLineWidth(), 2);
    EXPECT_EQ(m_engine.GetLineThick(1.5), 1);
    Ctrl()->StartVirtualMode(3 * kWidth, 3 * kHeight);
    EXPECT_EQ(m_engine.GetVectorLineWidth(), 6);
    EXPECT_EQ(m_engine.GetLineThick(1.5), 4) << "int(1.5 x 3)";
    const double saved = CEngineBase::m_dVectorThkScale;
    CEngineBase::m_dVectorThkScale = 2.5;
    EXPECT_EQ(m_engine.GetVectorLineWidth(), 7) << "int(2.5 x 3), not int(2.5) x 3";
    CEngineBase::m_dVectorThkScale = saved;
    Ctrl()->EndVirtualMode();

    // From the top, the point with the larger z is nearer the viewer.
    double low[3] = {5, 5, 0}, high[3] = {5, 5, 5};
    EXPECT_EQ(m_engine.IsFar(low, high), 0);
    EXPECT_EQ(m_engine.IsFar(high, low), 1);
    EXPECT_EQ(m_engine.IsFar(low, low), 1);
}

}  // namespace enginebase
