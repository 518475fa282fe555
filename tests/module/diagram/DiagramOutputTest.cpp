// Output records of the diagrams and their end points: records only with numbers on, the column
// record's middle value by the member's inner stations, the merge of a member's records, the
// station writers, and the diagram ends at the member's end offsets.
#include "tests/module/diagram/DiagramTestSupport.h"

namespace diagramtest {

class DiagramOutputTest : public DiagramProjectTest {
protected:
    void Numbers(int on) { M().m_pDispOpt->m_Number.m_bShowNumbers = on; }
    // A beam record whose moment y is v at the i end, m at mid-span and w at the j end.
    static T_SFDBMD_OUTVAL_D BeamRec(int comp, double v, double m, double w, double d0, double d1) {
        T_SFDBMD_OUTVAL_D r;
        r.Forc.Initialize();
        r.nComp = comp;
        CForceEngine::SetBForcValue(v, r.Forc, comp, 0, 0);
        CForceEngine::SetBForcValue(m, r.Forc, comp, 3, 1);
        CForceEngine::SetBForcValue(w, r.Forc, comp, 7, 1);
        r.dVal[0] = d0;
        r.dVal[1] = d1;
        for (int k = 0; k < 4; ++k) r.pt[k] = C3DPoint(comp, k, v);
        return r;
    }
};

TEST_F(DiagramOutputTest, DiagramEndsAtTheEndOffsets) {
    // Beam of length 8 from (0,0,3) to (8,0,3): direction 2 offsets 1 and 2, direction 3 0.5
    // and 0.5. The roof beam has no end record: its diagrams span the member.
    const C3DPoint I(0, 0, 3), J(8, 0, 3);
    struct Row {
        const char* label;
        UINT key;
        int comp;
        C3DPoint i, j;
    } const rows[] = {
        {"axial force spans the member", kBeam, 0, I, J},
        {"shear y: direction 2", kBeam, 1, C3DPoint(1, 0, 3), C3DPoint(6, 0, 3)},
        {"moment z: direction 2", kBeam, 5, C3DPoint(1, 0, 3), C3DPoint(6, 0, 3)},
        {"shear z: direction 3", kBeam, 2, C3DPoint(0.5, 0, 3), C3DPoint(7.5, 0, 3)},
        {"moment y: direction 3", kBeam, 4, C3DPoint(0.5, 0, 3), C3DPoint(7.5, 0, 3)},
        {"torsion spans the member", kBeam, 3, I, J},
        {"no end record", kRoofBeam, 4, I, J},
        {"no member at all: the ends, not stale points", 999, 4, I, J},
        {"a component outside 0..5: the ends", kBeam, 6, I, J},
    };
    for (const Row& r : rows) {
        C3DPoint dI(-9, -9, -9), dJ(-9, -9, -9);
        E().GetOffsetedPointMemb(r.key, I, J, dI, dJ, r.comp);
        EXPECT_TRUE(Near(dI, r.i)) << r.label;
        EXPECT_TRUE(Near(dJ, r.j)) << r.label;
    }
}

TEST_F(DiagramOutputTest, RecordsOnlyWithNumbersOn) {
    C3DPoint labels[4] = {C3DPoint(1, 0, 0), C3DPoint(2, 0, 0), C3DPoint(3, 0, 0), C3DPoint(4, 0, 0)};
    double values[2] = {-5, 7};
    T_STRG_D forc = StationRecord(4, [](int k) { return k; });
    T_SFDBMD_OUTVAL_D rec;
    rec.nKey = 77;
    Numbers(0);
    EXPECT_EQ(E().GetBSfdBmdOutputDataB(rec, kBeam, labels, forc, values, 4, 0), 0);
    EXPECT_EQ(rec.nKey, 77u) << "untouched";
    E().AddBSfdBmdOutputDataB(kBeam, labels, forc, values, 4, 0);
    EXPECT_EQ(E().m_arrBSfdBmdOutVal.GetSize(), 0);

    Numbers(1);
    ASSERT_EQ(E().GetBSfdBmdOutputDataB(rec, kBeam, labels, forc, values, 4, 0), 1);
    EXPECT_EQ(rec.nKey, static_cast<UINT>(kBeam));
    EXPECT_EQ(rec.nComp, 4);
    EXPECT_EQ(rec.dVal[0], -5.0);
    EXPECT_EQ(rec.dVal[1], 7.0);
    EXPECT_TRUE(Near(rec.pt[3], C3DPoint(4, 0, 0)));
    EXPECT_EQ(rec.Forc.d[12 * 5 + 4], 5.0);
    E().AddBSfdBmdOutputDataB(kBeam, labels, forc, values, 4, 1);
    EXPECT_EQ(E().m_arrBSfdBmdOutVal.GetSize(), 0);
    EXPECT_EQ(E().m_arrBSfdBmdOutValMin.GetSize(), 1) << "side 1: the minimum-side list";
}

TEST_F(DiagramOutputTest, ColumnRecordByInnerStations) {
    // Station values i end 1, first inner 2, second inner 3, j end 4; builder label points at
    // x 0..3 (slot 1 the end of the first part, slot 2 the start of the last).
    Numbers(1);
    double st[4] = {1, 2, 3, 4};
    C3DPoint labels[4] = {C3DPoint(0, 0, 0), C3DPoint(1, 0, 0), C3DPoint(2, 0, 0), C3DPoint(3, 0, 0)};
    T_MBCL_D forc;
    forc.Initialize();
    struct Row {
        const char* label;
        UINT key;
        double min, max, mid;
        C3DPoint midPoint;
    } const rows[] = {
        {"no inner station: the mean of the ends", kColumn, 1, 4, 2.5, C3DPoint(1.5, 0, 0)},
        {"first inner station", kColumnInner1, 1, 4, 2, C3DPoint(1, 0, 0)},
        {"second inner station", kColumnInner2, 1, 4, 3, C3DPoint(2, 0, 0)},
        {"both: their mean", kColumnInnerBoth, 1, 4, 2.5, C3DPoint(1.5, 0, 0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_SFDBMD_OUTVAL_D2 rec;
        ASSERT_EQ(E().GetBSfdBmdOutputDataC(rec, r.key, labels, forc, st, 1, 0), 1);
        EXPECT_TRUE(Near(rec.pt[0], labels[0]));
        EXPECT_TRUE(Near(rec.pt[2], labels[3]));
        EXPECT_TRUE(Near(rec.pt[3], C3DPoint(1.5, 0, 0)));
        EXPECT_EQ(rec.dVal[0], r.min);
        EXPECT_EQ(rec.dVal[1], r.max);
        EXPECT_EQ(rec.dVal[2], r.mid);
        EXPECT_TRUE(Near(rec.pt[1], r.midPoint));
    }
    // An inner station beyond the ends widens the range.
    double wide[4] = {1, -6, 9, 4};
    T_SFDBMD_OUTVAL_D2 rec;
    ASSERT_EQ(E().GetBSfdBmdOutputDataC(rec, kColumnInnerBoth, labels, forc, wide, 1, 0), 1);
    EXPECT_EQ(rec.dVal[0], -6.0);
    EXPECT_EQ(rec.dVal[1], 9.0);
    EXPECT_EQ(rec.dVal[2], 1.5);
}

TEST_F(DiagramOutputTest, MergeKeepsTheLargestMagnitudeSlotBySlot) {
    CArray<T_SFDBMD_OUTVAL_D, T_SFDBMD_OUTVAL_D&> recs;
    T_SFDBMD_OUTVAL_D merged;
    EXPECT_EQ(E().CalcAbsMaxB(recs, merged), 0) << "an empty list";

    // Moment z record first (i 3, mid -8, j 5), then moment y (i -4, mid 8, j 2).
    T_SFDBMD_OUTVAL_D first = BeamRec(5, 3, -8, 5, -8, 5), second = BeamRec(4, -4, 8, 2, -4, 8);
    recs.Add(first);
    recs.Add(second);
    struct Row {
        const char* label;
        int absMax, atMax, iEnd, mid, jEnd;
        double i, m, j;      // merged moment z at the i end, mid-span, j end
        double d0, d1;       // merged values
        int ptFrom[3];       // record whose label point each slot 0..2 holds
    } const rows[] = {
        {"ends and middle: ties keep the first", 0, 0, 1, 1, 1, -4, -8, 5, -8, 5, {1, 0, 0}},
        {"i end only", 0, 0, 1, 0, 0, -4, -8, 5, -8, 5, {1, 0, 0}},
        {"diagram values: both slots", 1, 0, 0, 0, 0, 3, -8, 5, -8, 8, {0, 1, 0}},
        {"member extreme: slot 1", 0, 1, 0, 0, 0, 3, -8, 5, -8, 8, {0, 1, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        E().m_bAbsMaxNumber = r.absMax;
        E().m_bNumAtMax = r.atMax;
        E().m_bNumIEnd = r.iEnd;
        E().m_bNumMiddle = r.mid;
        E().m_bNumJEnd = r.jEnd;
        ASSERT_EQ(E().CalcAbsMaxB(recs, merged), 1);
        EXPECT_EQ(merged.nComp, 5) << "the first record's component";
        EXPECT_EQ(CForceEngine::CalcBForcValue(merged.Forc, 5, 0, 0), r.i);
        EXPECT_EQ(CForceEngine::CalcBForcValue(merged.Forc, 5, 3, 1), r.m);
        EXPECT_EQ(CForceEngine::CalcBForcValue(merged.Forc, 5, 7, 1), r.j);
        EXPECT_EQ(merged.dVal[0], r.d0);
        EXPECT_EQ(merged.dVal[1], r.d1);
        for (int k = 0; k < 3; ++k) EXPECT_TRUE(Near(merged.pt[k], recs[r.ptFrom[k]].pt[k])) << "slot " << k;
    }
}

TEST_F(DiagramOutputTest, ColumnMergeTakesTheMiddleValue) {
    // Two column records: the middle value of the second is larger; its j end is not.
    CArray<T_SFDBMD_OUTVAL_D2, T_SFDBMD_OUTVAL_D2&> recs;
    T_SFDBMD_OUTVAL_D2 a, b;
    a.Forc.Initialize();
    b.Forc.Initialize();
    a.nComp = 5;
    b.nComp = 4;
    a.Forc.d[0][5] = 2;   // i end
    a.Forc.d[1][5] = 6;   // j end
    a.dVal[2] = 1;        // middle
    b.Forc.d[0][4] = -3;
    b.Forc.d[1][4] = 5;
    b.dVal[2] = -7;
    a.pt[1] = C3DPoint(0, 0, 1);
    b.pt[1] = C3DPoint(0, 0, 2);
    recs.Add(a);
    recs.Add(b);
    E().m_bNumIEnd = E().m_bNumMiddle = E().m_bNumJEnd = 1;
    T_SFDBMD_OUTVAL_D2 merged;
    ASSERT_EQ(E().CalcAbsMaxC(recs, merged), 1);
    EXPECT_EQ(merged.Forc.d[0][5], -3.0);
    EXPECT_EQ(merged.Forc.d[1][5], 6.0);
    EXPECT_EQ(merged.dVal[2], -7.0) << "the middle number is the record's middle value";
    EXPECT_TRUE(Near(merged.pt[1], C3DPoint(0, 0, 2)));
}

TEST_F(DiagramOutputTest, StationWritersTouchOneValue) {
    T_STRG_D f;
    f.Initialize();
    CForceEngine::SetBForcValue(4.5, f, 2, 3, 1);
    EXPECT_EQ(f.d[12 * 3 + 6 + 2], 4.5);
    CForceEngine::SetBForcValue(1.0, f, 6, 0, 0);  // not a component
    CForceEngine::SetBForcValue(1.0, f, 0, 8, 0);  // not a segment
    double sum = 0;
    for (double v : f.d) sum += v;
    EXPECT_EQ(sum, 4.5);
    T_MBCL_D c;
    c.Initialize();
    CForceEngine::SetCForcValue(2.5, c, 5, 3);
    CForceEngine::SetCForcValue(1.0, c, 5, 4);
    EXPECT_EQ(c.d[3][5], 2.5);
    sum = 0;
    for (auto& row : c.d)
        for (double v : row) sum += v;
    EXPECT_EQ(sum, 2.5);
}

}  // namespace diagramtest
