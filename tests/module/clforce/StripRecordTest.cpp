// Strip and rib-beam records (modes 21 and 22) from the host's design forces held in the project
// (a strip of the cutting-line table with its STRIPF row, ribs of RIBB with RIBF rows), their
// legend range and scale, and the numbers of a line's diagram.
#include <cmath>
#include <cstring>

#include "host/base/CMsgOutWnd.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "tests/module/diagram/DiagramTestSupport.h"

namespace diagramtest {

namespace {

constexpr UINT kStrip = 50, kRib = 1, kRibNoForces = 2;

T_CLDF_D Forces(const double (&m)[5], const double (&v)[5]) {
    T_CLDF_D f;
    for (int k = 0; k < 5; ++k) {
        f.m[k] = m[k];
        f.v[k] = v[k];
    }
    return f;
}

}  // namespace

class StripRecordTest : public DiagramProjectTest {
protected:
    void SetUp() override {
        DiagramProjectTest::SetUp();
        CDataBase& db = *m_doc.GetMDBCtrl()->GetDBPost();
        T_CTLN_D s;
        s.Initialize();
        s.kind = CTLN_KIND_STRIP;
        std::strcpy(s.name, "S1");
        s.width = 2.0;
        s.x2 = 8.0;
        db.Table<DBT_CTLN>().Set(kStrip, s);
        // Stations 0, 1/4, 1/2, 3/4, 1: moments 0, 4, 8, 12, 16 and shears 10 .. 50 under DL.
        db.Table<DBT_STRIPF>().Set(kDL, kStrip, Forces({0, 4, 8, 12, 16}, {10, 20, 30, 40, 50}));
        T_RIBB_D r;
        r.Initialize();
        r.memb = kBeam;
        r.widthPos = 0.5;
        r.widthNeg = 1.5;
        r.width = 2.0;
        r.z1 = r.z2 = 3.0;
        r.x2 = 8.0;
        r.arc = 0.25;
        db.Table<DBT_RIBB>().Set(kRib, r);
        db.Table<DBT_RIBB>().Set(kRibNoForces, r);
        db.Table<DBT_RIBF>().Set(kDL, kRib, Forces({-10, 5, 8, 5, -10}, {6, 3, 0, -3, -6}));
        GMsgOutClear();
    }
    void AddStrip(const char* name, double x2) {
        T_STRIP_INFO s;
        s.strName = name;
        s.dWidth = 2.0;
        s.x2 = x2;
        E().m_arrStripInfo.Add(s);
    }
    // Value of component c at station j (j/8 of the line) of a record.
    static double Station(const T_PVX_CLFC_D& r, int c, int j) {
        return j < 8 ? r.Forc.d[(2 * j) * 6 + c] : r.Forc.d[(2 * 7 + 1) * 6 + c];
    }
};

TEST_F(StripRecordTest, StripsFromTheirStoredDesignForces) {
    // The strip the project holds and one drawn after the design (no forces: left out, with a
    // message naming it).
    AddStrip("S1", 8.0);
    AddStrip("Late", 6.0);
    M().m_nDisplayMode = 21;
    M().m_nMaxKey = 7;  // legend keys of an earlier frame build
    ASSERT_EQ(E().InitEngine(nullptr, 21), 1);
    ASSERT_EQ(E().m_arrCLForc.GetSize(), 1);
    const T_PVX_CLFC_D& r = E().m_arrCLForc[0];
    EXPECT_EQ(r.strName, CString("S1"));
    EXPECT_DOUBLE_EQ(r.dWidth, 2.0);
    EXPECT_DOUBLE_EQ(r.dX2, 8.0);
    // Station j: even j takes pair j/2, odd j the mean of its neighbours: moments 2 j, shears
    // 10 + 5 j; the other components stay 0.
    for (int j = 0; j <= 8; ++j) {
        SCOPED_TRACE(j);
        EXPECT_DOUBLE_EQ(Station(r, 0, j), 2.0 * j);
        EXPECT_DOUBLE_EQ(Station(r, 3, j), 10.0 + 5.0 * j);
        for (int c : {1, 2, 4, 5}) EXPECT_EQ(Station(r, c, j), 0.0);
    }
    EXPECT_DOUBLE_EQ(E().m_dLegendMax, 16.0);
    EXPECT_DOUBLE_EQ(E().m_dLegendMin, 0.0);
    EXPECT_EQ(M().m_nMaxKey, 0u) << "lines are no members";
    const auto lines = CMsgOutWnd::GetLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Late"), std::string::npos);
}

TEST_F(StripRecordTest, NoStripNoRecord) {
    M().m_nDisplayMode = 21;
    EXPECT_EQ(E().InitEngine(nullptr, 21), 0);
    EXPECT_EQ(E().m_arrCLForc.GetSize(), 0);
    EXPECT_EQ(E().m_dLegendMax, 0.0);
    EXPECT_EQ(E().m_dLegendMin, 0.0);
    M().m_bResultDataReady = 0;
    EXPECT_EQ(E().MakeSStripDataList(), 0) << "no load applied";
}

TEST_F(StripRecordTest, RibsFromTheHostRecords) {
    M().m_nDisplayMode = 22;
    E().m_nSForcUnit = 1;
    ASSERT_EQ(E().InitEngine(nullptr, 22), 1);
    ASSERT_EQ(E().m_arrCLForc.GetSize(), 1) << "the rib without forces for DL makes no record";
    const T_PVX_CLFC_D& r = E().m_arrCLForc[0];
    EXPECT_TRUE(r.strName.IsEmpty());
    EXPECT_DOUBLE_EQ(r.dWidthPos, 0.5);
    EXPECT_DOUBLE_EQ(r.dWidthNeg, 1.5);
    EXPECT_DOUBLE_EQ(r.dWidth, 2.0);
    EXPECT_DOUBLE_EQ(r.dZ1, 3.0);
    EXPECT_DOUBLE_EQ(r.dX2, 8.0);
    EXPECT_DOUBLE_EQ(r.dZ2, 3.0);
    EXPECT_DOUBLE_EQ(r.dArc, 0.25);
    // Moments -10, 5, 8, 5, -10 at the quarters; the eighths between are the means.
    const double m[9] = {-10, -2.5, 5, 6.5, 8, 6.5, 5, -2.5, -10};
    for (int j = 0; j <= 8; ++j) EXPECT_DOUBLE_EQ(Station(r, 0, j), m[j]) << j;
    EXPECT_DOUBLE_EQ(E().m_dLegendMax, 8.0);
    EXPECT_DOUBLE_EQ(E().m_dLegendMin, -10.0);

    // LL has no rib forces: no record, nothing built, an empty range.
    SelectLoad(1, kLL, 0);
    EXPECT_EQ(E().InitEngine(nullptr, 22), 0);
    EXPECT_EQ(E().m_arrCLForc.GetSize(), 0);
    EXPECT_EQ(E().m_dLegendMax, 0.0);
}

TEST_F(StripRecordTest, DiagramScaleFromTheLargerMagnitude) {
    // InitBSfdBmdAdjustFactor gives L / (20 |v|) for the model extent L: a range 5 / -5 takes 5,
    // a range 3 / -7 takes 7, so factor x |v| is the same for both.
    auto factorFor = [&](double hi, double lo) {
        T_PVX_CLFC_D r;
        for (int s = 0; s < 8; ++s) {
            r.Forc.d[(2 * s) * 6] = hi;
            r.Forc.d[(2 * s + 1) * 6] = lo;
        }
        E().m_arrCLForc.RemoveAll();
        E().m_arrCLForc.Add(r);
        E().m_bCLForcData = 1;
        E().m_dBForcMax = hi;
        E().m_dBForcMin = lo;
        M().m_nDisplayMode = 22;
        E().FinishMakeCLForcData();
        EXPECT_DOUBLE_EQ(E().m_dLegendMax, hi);
        EXPECT_DOUBLE_EQ(E().m_dLegendMin, lo);
        return E().m_dBSfdBmdAdjustFactor;
    };
    const double a = factorFor(5.0, -5.0), b = factorFor(3.0, -7.0);
    EXPECT_GT(a, 0.0);
    EXPECT_NEAR(a * 5.0, b * 7.0, 1e-12 * a);
}

class CutLineNumberTest : public StripRecordTest {
protected:
    // A line (0, 0) to (8, 0) with moments start, middle, end at stations 0, 4, 8 (linear between).
    T_PVX_CLFC_D LineOf(double start, double middle, double end) {
        T_PVX_CLFC_D r;
        r.dX2 = 8.0;
        auto at = [&](int j) { return j <= 4 ? start + (middle - start) * j / 4.0 : middle + (end - middle) * (j - 4) / 4.0; };
        for (int s = 0; s < 8; ++s) {
            r.Forc.d[(2 * s) * 6] = at(s);
            r.Forc.d[(2 * s + 1) * 6] = at(s + 1);
        }
        return r;
    }
    std::vector<std::pair<int, double>> Queued() {
        std::vector<std::pair<int, double>> out;
        auto& list = M().m_pDrawFuncArray->m_OutputSfdBmdNumber.GetList();
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            const T_DrawNumberRec* q = list.GetNext(pos);
            out.emplace_back(q->m_nKind, q->m_dValue);
        }
        M().m_pDrawFuncArray->m_OutputSfdBmdNumber.Clear();
        return out;
    }
    C3DPoint m_points[4] = {C3DPoint(1, 0, 0), C3DPoint(4, 0, 0), C3DPoint(7, 0, 0), C3DPoint()};
};

TEST_F(CutLineNumberTest, QueuedNumbersByOption) {
    M().m_bExportMetafile = 1;
    T_PVX_DOPT_NUMBER_D& num = M().m_pDispOpt->m_Number;
    T_PVX_CLFC_D l = LineOf(90.0, -270.0, 0.0);
    struct Row {
        const char* label;
        int filter, atMax, absMax;
        double peaks[2];
        std::vector<std::pair<int, double>> expected;
    } rows[] = {
        // Filter kind 1 with the legend 100 / -300 and 10 %: t = 40; |-300| - |-270| = 30 <= 40
        // gives code 2 for the middle, the start (|-300| - 90 = 210) nothing.
        {"filter kind 1", 1, 0, 0, {0, 0}, {{2, -270.0}}},
        {"largest of (0, -7)", 0, 1, 0, {0.0, -7.0}, {{5, -7.0}}},
        {"equal magnitudes: the second", 0, 1, 0, {7.0, -7.0}, {{5, -7.0}}},
        {"two peaks, positions not looked at", 0, 0, 1, {-3.0, 9.0}, {{3, -3.0}, {4, 9.0}}},
        {"start and middle", 0, 0, 0, {0, 0}, {{6, 90.0}, {8, -270.0}}},
    };
    E().m_dLegendMax = 100.0;
    E().m_dLegendMin = -300.0;
    num.m_nNumberOpt1 = 1;
    num.m_dNumberFactor = 10.0;
    E().m_bNumIEnd = E().m_bNumMiddle = 1;
    E().m_bNumJEnd = 0;
    for (Row& r : rows) {
        SCOPED_TRACE(r.label);
        num.m_nNumberOpt2 = r.filter;
        E().m_bNumAtMax = r.atMax;
        E().m_bAbsMaxNumber = r.absMax;
        E().OutputSfdBmdNumberCL(&m_dc, l, l.Forc, m_points, 0, r.peaks);
        EXPECT_EQ(Queued(), r.expected);
    }
    M().m_bExportMetafile = 0;
}

TEST_F(CutLineNumberTest, DrawnAtOnceOnlyInsideTheWindow) {
    // The start's output point far left of the window gets no text; the end's does.
    T_PVX_CLFC_D l = LineOf(1.0, 2.0, 3.0);
    E().m_bNumIEnd = E().m_bNumJEnd = 1;
    E().m_bNumMiddle = 0;
    m_points[0] = C3DPoint(-1000, 0, 0);
    double peaks[2] = {0, 0};
    m_dc.Clear();
    E().OutputSfdBmdNumberCL(&m_dc, l, l.Forc, m_points, 0, peaks);
    const auto texts = m_dc.GetRecords("TextOut");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0]->text.find('3'), std::string::npos);
    // Queued, the same start number is kept.
    M().m_bExportMetafile = 1;
    E().OutputSfdBmdNumberCL(&m_dc, l, l.Forc, m_points, 0, peaks);
    EXPECT_EQ(Queued().size(), 2u);
    M().m_bExportMetafile = 0;
}

}  // namespace diagramtest
