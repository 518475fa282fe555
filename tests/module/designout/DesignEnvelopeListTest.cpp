// The envelope list a host hands in: the line a beam's diagrams stand on, the two curves of a
// record as band quadrilaterals, the range, and the labels refilled in the walk's drawing order.
#include <vector>

#include "module/contour/CContourEngine.h"
#include "tests/module/designout/DesignOutTestSupport.h"

namespace designout {

namespace {

// A record along the beam (0,0,3)-(6,0,3): row 0 = 10 + k, row 1 = -(20 + k) at station k.
T_BEAM_BM Record(double x0, double x1) {
    T_BEAM_BM r;
    for (int k = 0; k < 9; ++k) {
        r.pt[k] = C3DPoint(x0 + (x1 - x0) * k / 8.0, 0, 3);
        r.dVal[0][k] = 10 + k;
        r.dVal[1][k] = -(20 + k);
    }
    return r;
}

}  // namespace

class DesignEnvelopeListTest : public DesignOutTest {};

// First and last node, except a plate-section beam's outline, whose last node lies under its first.
TEST_F(DesignEnvelopeListTest, BeamLine) {
    struct Row {
        UINT key;
        int ok;
        C3DPoint start, end;
    } rows[] = {
        {kBeam, 1, C3DPoint(0, 0, 3), C3DPoint(6, 0, 3)},
        {kGradeBeam, 1, C3DPoint(0, 0, 3), C3DPoint(6, 0, 3)},  // not (0,0,0), its last node
        {kWall, 1, C3DPoint(0, 4, 0), C3DPoint(0, 4, 3)},       // other outlines keep their last node
        {kOneNodeBeam, 1, C3DPoint(0, 0, 3), C3DPoint(0, 0, 3)},
        {999, 0, C3DPoint(), C3DPoint()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        C3DPoint s, e;
        ASSERT_EQ(D().ReadBeamLine(r.key, s, e), r.ok);
        if (!r.ok) continue;
        EXPECT_TRUE(s == r.start);
        EXPECT_TRUE(e == r.end);
    }
}

// Both rows, eight quadrilaterals each: beam stations k, k + 1, then the curve at k + 1, k. With
// scale 1 and the offset axis (0, 1, 0) the curve point is the station moved by -v (moment, 35)
// or +v (shear, 36); only the curve edge and the ordinates at the beam's ends are marked.
TEST_F(DesignEnvelopeListTest, TwoCurvesAsQuadrilaterals) {
    const T_BEAM_BM rec = Record(0, 8);
    const double axes[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
    D().m_dDgmFactor = 1.0;
    D().m_dBeamDgmScale = 1.0;
    struct Row {
        int mode, row, seg;
        double sign;
        int edges[4];
    } rows[] = {
        {35, 0, 0, -1, {0, 0, 1, 1}}, {35, 0, 3, -1, {0, 0, 1, 0}}, {35, 0, 7, -1, {0, 1, 1, 0}},
        {35, 1, 0, -1, {0, 0, 1, 1}}, {35, 1, 7, -1, {0, 1, 1, 0}}, {36, 0, 4, 1, {0, 0, 1, 0}},
        {36, 1, 7, 1, {0, 1, 1, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << r.mode << " row " << r.row << " segment " << r.seg);
        M().m_pFigure->m_nFigureMode = r.mode;
        CArray<C3DPoint, C3DPoint&> pts;
        CArray<double, double> vals;
        CArray<int, int> flags, ints;
        D().BSfdBmdMakePolygon(rec, axes, pts, vals, flags, ints);
        ASSERT_EQ(flags.GetSize(), 16);
        ASSERT_EQ(pts.GetSize(), 64);
        const int q = 4 * (8 * r.row + r.seg);
        const double v0 = rec.dVal[r.row][r.seg], v1 = rec.dVal[r.row][r.seg + 1];
        const C3DPoint want[4] = {C3DPoint(r.seg, 0, 3), C3DPoint(r.seg + 1, 0, 3),
                                  C3DPoint(r.seg + 1, r.sign * v1, 3), C3DPoint(r.seg, r.sign * v0, 3)};
        const double wantV[4] = {v0, v1, v1, v0};
        for (int j = 0; j < 4; ++j) {
            EXPECT_NEAR(pts[q + j].x, want[j].x, 1e-12);
            EXPECT_NEAR(pts[q + j].y, want[j].y, 1e-12);
            EXPECT_NEAR(pts[q + j].z, want[j].z, 1e-12);
            EXPECT_EQ(vals[q + j], wantV[j]);
            EXPECT_EQ(ints[q + j], r.edges[j]);
        }
    }
}

// The range covers both rows of every record; an empty list changes nothing.
TEST_F(DesignEnvelopeListTest, RangeOfBothRows) {
    struct Row {
        int nRecords;
        int result;
        double lo, hi;
    } rows[] = {
        {0, 0, 0, 0},
        {1, 1, -28, 18},  // rows: 10..18 and -20..-28
        {2, 1, -28, 18},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.nRecords);
        CArray<T_BEAM_BM, T_BEAM_BM&> list;
        for (int i = 0; i < r.nRecords; ++i) {
            T_BEAM_BM rec = Record(0, 6);
            list.Add(rec);
        }
        D().SetEnvelopeList(list);
        EXPECT_EQ(D().RangeEnvelopeList(), r.result);
        if (!r.result) continue;
        ASSERT_NE(D().m_pContourEngine, nullptr);
        EXPECT_EQ(D().m_pContourEngine->m_dMinValue, r.lo);
        EXPECT_EQ(D().m_pContourEngine->m_dMaxValue, r.hi);
    }
}

// The legend's footer names the members of the extremes: the first record holding the largest
// (row 0) and the smallest (row 1) value, when the member keys run in step with the records.
TEST_F(DesignEnvelopeListTest, MembersOfTheExtremes) {
    struct Row {
        const char* label;
        std::vector<double> shifts;  // record i: Record(0, 6) with every value plus shifts[i]
        std::vector<UINT> keys;
        UINT maxKey, minKey;
    } rows[] = {
        // Record values 10 + k + s and -(20 + k) + s: largest 18 + s, smallest -28 + s.
        {"one beam", {0}, {7}, 7, 7},
        {"largest in the second, smallest in the first", {0, 5}, {7, 9}, 9, 7},
        {"both in the third", {0, 5, -50}, {7, 9, 11}, 9, 11},
        {"a tie goes to the first", {1, 1}, {7, 9}, 7, 7},
        {"keys not in step with the records", {0, 5}, {7}, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<T_BEAM_BM, T_BEAM_BM&> list;
        for (double shift : r.shifts) {
            T_BEAM_BM rec = Record(0, 6);
            for (int row = 0; row < 2; ++row)
                for (int k = 0; k < 9; ++k) rec.dVal[row][k] += shift;
            list.Add(rec);
        }
        CArray<UINT, UINT> keys;
        for (UINT k : r.keys) keys.Add(k);
        D().SetMemberKeys(keys);
        D().SetEnvelopeList(list);
        ASSERT_EQ(D().RangeEnvelopeList(), 1);
        EXPECT_EQ(D().m_nEnvelopeMaxKey, r.maxKey);
        EXPECT_EQ(D().m_nEnvelopeMinKey, r.minKey);
    }
}

// Labels: three per drawn beam in the walk's drawing order (not the list's), at stations 0, 4
// and 8. Figure 35: list 1 the smallest, list 2 the largest; 36: list 3 the larger magnitude
// (row 1 here: |-(20 + k)| > 10 + k, except where the rows are equal in size); others: none.
TEST_F(DesignEnvelopeListTest, LabelsInDrawingOrder) {
    CArray<T_BEAM_BM, T_BEAM_BM&> list;
    T_BEAM_BM first = Record(0, 6);
    list.Add(first);
    T_BEAM_BM second = Record(0, 6);
    for (int k = 0; k < 9; ++k) {
        second.dVal[0][k] = 100 + k;
        second.dVal[1][k] = -(100 + k);  // equal magnitudes: the largest is taken
    }
    list.Add(second);
    D().SetEnvelopeList(list);
    D().SetMemberKeys(CArray<UINT, UINT>());
    struct Row {
        int mode;
        std::vector<int> drawn;
        std::vector<double> list1, list2, list3;
    } rows[] = {
        {35, {1, 0}, {-100, -104, -108, -20, -24, -28}, {100, 104, 108, 10, 14, 18}, {}},
        {35, {0}, {-20, -24, -28}, {10, 14, 18}, {}},
        {36, {1, 0}, {}, {}, {100, 104, 108, -20, -24, -28}},
        {36, {0, 7}, {}, {}, {-20, -24, -28}},  // an index outside the list has no labels
        {23, {0, 1}, {}, {}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << r.mode);
        M().m_pFigure->m_nFigureMode = r.mode;
        D().m_arrDrawnBeamIdx.RemoveAll();
        for (int i : r.drawn) D().m_arrDrawnBeamIdx.Add(i);
        T_TEXT_VALUE stale;
        D().m_arrTextValue[0].Add(stale);  // stale entries go
        D().FillEnvelopeTextLists();
        const std::vector<double>* want[3] = {&r.list1, &r.list2, &r.list3};
        for (int n = 0; n < 3; ++n) {
            SCOPED_TRACE(n);
            ASSERT_EQ(D().m_arrTextValue[n].GetSize(), static_cast<INT_PTR>(want[n]->size()));
            for (size_t i = 0; i < want[n]->size(); ++i) {
                EXPECT_EQ(D().m_arrTextValue[n][i].dValue, (*want[n])[i]);
                // No member in the key list: the label stands on the station (0, 3, 6 m along x).
                EXPECT_EQ(D().m_arrTextValue[n][i].pt.x, 3.0 * (i % 3));
            }
        }
    }
}

}  // namespace designout
