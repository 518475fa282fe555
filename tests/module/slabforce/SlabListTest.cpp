// Slab force lists of display mode 16: the component selector, the rebar directions and the turn
// into them, the envelope over combinations, the legend and colour levels of the sides shown,
// nodal averaging, the per-member moments, and the faults of the lists mended on the way.
#include <cfloat>
#include <cmath>
#include <cstring>

#include "host/db/CPostCtrl.h"
#include "module/contour/CContourEngine.h"
#include "tests/module/slabforce/SlabTestSupport.h"

namespace slabtest {
namespace {

constexpr double kC30 = 0.86602540378443865;  // cos 30°
constexpr double kS30 = 0.5;                  // sin 30°

T_STRP_DL Record(UINT key, const CMap<UINT, UINT, T_STRP_DL, T_STRP_DL&>& map) {
    T_STRP_DL r;
    r.Initialize();
    EXPECT_TRUE(map.Lookup(key, r)) << key;
    return r;
}

TEST_F(SlabTest, EachSelectorPicksItsPosition) {
    // Position p of block b holds 1000 b + p, so each selector's answer names its position.
    T_STRP_DL r;
    r.Initialize();
    for (int b = 0; b < 5; ++b)
        for (int p = 0; p < 30; ++p) r.blk[b][p] = 1000.0 * b + p;
    struct Row {
        int comp;
        double block2;
    } const rows[] = {{0, 2020}, {1, 2021}, {2, 2022}, {3, 2026}, {4, 2027}, {5, 2027}, {6, 2014}, {7, 2015}, {8, 2016},
                      {9, 0.0}, {-1, 0.0}};
    CForceEngine e(&M());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.comp);
        e.m_nSForcComp = row.comp;
        EXPECT_EQ(e.CalcSForcValue(r, 2), row.block2);
        EXPECT_EQ(e.CalcSForcValue(r, 5), 0.0) << "no block 5";
    }
    // Vmax: the shear of larger magnitude, signed; a tie gives Vyy.
    struct Shear {
        const char* label;
        double vxx, vyy, expected;
    } const shears[] = {{"Vxx larger", -9.0, 4.0, -9.0}, {"Vyy larger", 1.0, -2.0, -2.0}, {"tie: Vyy", 3.0, -3.0, -3.0}};
    e.m_nSForcComp = 5;
    for (const Shear& s : shears) {
        SCOPED_TRACE(s.label);
        r.blk[1][26] = s.vxx;
        r.blk[1][27] = s.vyy;
        EXPECT_EQ(e.CalcSForcValue(r, 1), s.expected);
        T_STRP_DL w = r;
        e.SetSForcComponent(w, 1, 123.0);
        EXPECT_EQ(0, std::memcmp(&w, &r, sizeof r)) << "the derived selector writes nothing";
    }
    e.m_nSForcComp = 1;
    e.SetSForcComponent(r, 3, -7.5);
    EXPECT_EQ(r.blk[3][21], -7.5);
}

TEST_F(SlabTest, ElementExtremesReadTheCornersOnly) {
    CForceEngine e(&M());
    e.m_nSForcComp = 0;
    T_STRP_DL r;
    r.Initialize();
    const double mxx[5] = {100.0, 1.0, -2.0, 3.0, -50.0};  // centre 100 and a fourth corner -50
    for (int b = 0; b < 5; ++b) r.blk[b][20] = mxx[b];
    struct Row {
        const char* label;
        int n;
        double max, min;
    } const rows[] = {{"no corner", 0, -DBL_MAX, DBL_MAX},
                      {"triangle: block 4 unread", 3, 3.0, -2.0},
                      {"quadrilateral", 4, 3.0, -50.0},
                      {"more nodes than blocks", 8, 3.0, -50.0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(e.GetMaxElemSForc(r, row.n), row.max);
        EXPECT_EQ(e.GetMinElemSForc(r, row.n), row.min);
    }
}

TEST_F(SlabTest, RebarDirectionsFormARightHandedPairInTheHalfPlaneOfPositiveX) {
    // dirX = (cos a, sin a) turned into x >= 0; dirY = dirX turned 90° counter-clockwise.
    struct Row {
        const char* label;
        int sel;
        double angle1, angle2;
        double x0, x1;
    } const rows[] = {
        {"0°", 0, 0.0, 77.0, 1.0, 0.0},
        {"30° by the second angle", 1, 99.0, 30.0, kC30, kS30},
        {"120° folds to -60°", 0, 120.0, 0.0, 0.5, -kC30},
        {"-45°", 0, -45.0, 0.0, std::sqrt(0.5), -std::sqrt(0.5)},
        {"90°: along y", 0, 90.0, 0.0, 0.0, 1.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Reinstall([&](PostDBBuilder& b) {
            T_SDIR_D d;
            d.Initialize();
            d.sel = row.sel;
            d.angle1 = row.angle1;
            d.angle2 = row.angle2;
            b.AddSdir(kSlabA, d);
        });
        CForceEngine e(&M());
        double dx[2], dy[2];
        EXPECT_EQ(e.GetRebarDirVector(kSlabA, dx, dy), 1);
        EXPECT_NEAR(dx[0], row.x0, 1e-12);
        EXPECT_NEAR(dx[1], row.x1, 1e-12);
        EXPECT_NEAR(dy[0], -row.x1, 1e-12);
        EXPECT_NEAR(dy[1], row.x0, 1e-12);
        EXPECT_NEAR(dx[0] * dy[1] - dx[1] * dy[0], 1.0, 1e-12) << "X, Y and up are right-handed";
    }
    CForceEngine e(&M());
    double dx[2], dy[2];
    EXPECT_EQ(e.GetRebarDirVector(kSlabC, dx, dy), 1) << "no direction record";
    EXPECT_EQ(dx[0], 1.0);
    EXPECT_EQ(dx[1], 0.0);
    EXPECT_EQ(dy[0], -0.0);
    EXPECT_EQ(dy[1], 1.0);
}

TEST_F(SlabTest, ElementForcesAreTurnedIntoTheRebarDirections) {
    // Slab B's rebar runs at 30°; its plate's axes are the global ones. With c = cos 30°, s =
    // sin 30° the plane tensors turn as
    //   Txx' = Txx c² + Tyy s² + 2 Txy s c,  Tyy' = Txx s² + Tyy c² - 2 Txy s c,
    //   Txy' = (Tyy - Txx) s c + Txy (c² - s²),
    // and the transverse shears as Vx' = Vx c + Vy s, Vy' = -Vx s + Vy c.
    const double c = kC30, s = kS30;
    auto xx = [&](double a, double b, double t) { return a * c * c + b * s * s + 2 * t * s * c; };
    auto yy = [&](double a, double b, double t) { return a * s * s + b * c * c - 2 * t * s * c; };
    auto xy = [&](double a, double b, double t) { return (b - a) * s * c + t * (c * c - s * s); };
    auto e = Build(1);
    ASSERT_EQ(e->m_bSForcData, 1);
    const T_STRP_DL r = Record(kPlateB, e->m_mapSForc);
    struct Row {
        const char* label;
        int pos;
        double expected;
    } const rows[] = {
        {"Mxx", 20, xx(kMxx, kMyy, kMxy)}, {"Myy", 21, yy(kMxx, kMyy, kMxy)}, {"Mxy", 22, xy(kMxx, kMyy, kMxy)},
        {"Fxx", 14, xx(kFxx, kFyy, kFxy)}, {"Fyy", 15, yy(kFxx, kFyy, kFxy)}, {"Fxy", 16, xy(kFxx, kFyy, kFxy)},
        {"Vxx", 26, kVxx * c + kVyy * s},  {"Vyy", 27, -kVxx * s + kVyy * c},
        {"sxx", 0, xx(kSxx, kSyy, kSxy)},  {"syy", 1, yy(kSxx, kSyy, kSxy)},   {"sxy", 2, xy(kSxx, kSyy, kSxy)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        for (int b = 0; b < 5; ++b) EXPECT_NEAR(r.blk[b][row.pos], row.expected, 1e-9) << "block " << b;
    }
    // Slab A's rebar runs along x: its records are the database's.
    const T_STRP_DL a = Record(kPlateA2, e->m_mapSForc);
    for (int b = 0; b < 5; ++b) EXPECT_NEAR(a.blk[b][20], PlateAMxx(kPlateA2, b), 1e-12);
}

TEST_F(SlabTest, ListsHoldTheSlabMembersOnly) {
    auto e = Build(1);
    ASSERT_EQ(e->m_bSForcData, 1);
    // Members in the model's order; the beam is no slab.
    const UINT keys[] = {kPlateA1, kPlateA2, kPlateB, kPlateC};
    ASSERT_EQ(e->m_arrElemKey.GetSize(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(e->m_arrElemKey[i], keys[i]);
    EXPECT_EQ(e->m_mapSbem.GetCount(), 4);
    EXPECT_EQ(e->m_mapSForcPos.GetCount(), 0) << "no envelope for a load case";
    EXPECT_EQ(e->IsPossibleSForc(kBeamElem), 0);
    EXPECT_EQ(e->IsPossibleSForc(999), 0) << "no such element";
    // Mxx: the largest corner is plate 12's 40, the smallest plate 21's turned Mxx (> 0) or
    // plate 11's corner 1.
    EXPECT_EQ(e->m_dLegendMax, 40.0);
    EXPECT_EQ(M().m_nMaxKey, static_cast<UINT>(kPlateA2));
    EXPECT_EQ(e->m_dLegendMin, 1.0);
    EXPECT_EQ(M().m_nMinKey, static_cast<UINT>(kPlateA1));

    // Units: 0 builds nothing per element, another unit nothing at all.
    struct Row {
        const char* label;
        int unit;
    } const rows[] = {{"unit 2", 2}, {"unit -1", -1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        auto u = Build(row.unit);
        EXPECT_EQ(u->m_bSForcData, 0);
    }
    CForceEngine direct(&M());
    direct.m_nSForcUnit = 0;
    EXPECT_EQ(direct.MakeSForcDataList(), 0);
    EXPECT_EQ(direct.m_arrElemKey.GetSize(), 0);

    // Without slab members nothing is data: the legend is empty and the mode shows the model.
    Reinstall([](PostDBBuilder& b) {
        for (UINT m : {kSlabA, kSlabB, kSlabC}) {
            T_PMEMB_D memb;  // no longer a slab, and without elements
            memb.type = 200;
            b.AddMemb(m, memb);
        }
    });
    auto none = Build(1);
    EXPECT_EQ(none->m_bSForcData, 0);
    EXPECT_EQ(none->m_dLegendMax, 0.0);
    EXPECT_EQ(none->m_dLegendMin, 0.0);
    EXPECT_EQ(M().m_nMaxKey, 0u);
    EXPECT_EQ(M().m_nMinKey, 0u);
}

TEST_F(SlabTest, EnvelopeRunsOverTheLinearCombinationsByNumber) {
    // Load type 12 with two combinations: number 1 is C1 = DL + LL = -2 DL, number 2 is C2 = 1.2
    // DL (the envelope between them in the table is no linear combination). Plate 12's Mxx at
    // corner b under DL is 10 b: maximum 12 b, minimum -20 b; the last combination read is C2.
    SelectLoad(12, kEnv, 1);
    ASSERT_EQ(M().m_bResultDataReady, 1);
    auto e = Build(1, 0, 1, 1, 2);
    ASSERT_EQ(e->m_bSForcData, 1);
    const T_STRP_DL hi = Record(kPlateA2, e->m_mapSForcPos), lo = Record(kPlateA2, e->m_mapSForcNeg),
                    last = Record(kPlateA2, e->m_mapSForc);
    for (int b = 1; b <= 4; ++b) {
        SCOPED_TRACE(b);
        EXPECT_NEAR(hi.blk[b][20], 12.0 * b, 1e-12);
        EXPECT_NEAR(lo.blk[b][20], -20.0 * b, 1e-12);
        EXPECT_NEAR(last.blk[b][20], 12.0 * b, 1e-12);
        // Myy = -Mxx: the maximum comes from C1, the minimum from C2.
        EXPECT_NEAR(hi.blk[b][21], 20.0 * b, 1e-12);
        EXPECT_NEAR(lo.blk[b][21], -12.0 * b, 1e-12);
    }
    EXPECT_EQ(hi.blk[2][28], 0.0) << "doubles 28 and 29 are not enveloped";
    EXPECT_EQ(lo.blk[2][29], 0.0);

    auto both = Build(1, 0, 1, 1, 2);
    EXPECT_NEAR(both->m_dLegendMax, 48.0, 1e-12);
    EXPECT_NEAR(both->m_dLegendMin, -80.0, 1e-12);
    // Positive side: maximum records at both ends: the smallest maximum corner is plate 11's
    // corner 1, 1.2.
    auto pos = Build(1, 0, 1, 0, 2);
    EXPECT_NEAR(pos->m_dLegendMax, 48.0, 1e-12);
    EXPECT_NEAR(pos->m_dLegendMin, 1.2, 1e-12);
    // Negative side: minimum records: the largest minimum corner is plate 21's turned Mxx
    // (C1 = DL there, 5 c² - 2 s² + 2 s c = 4.1160...), the smallest plate 12's -80.
    const double turned = kMxx * kC30 * kC30 + kMyy * kS30 * kS30 + 2 * kMxy * kS30 * kC30;
    auto neg = Build(1, 0, 0, 1, 2);
    EXPECT_NEAR(neg->m_dLegendMax, turned, 1e-9);
    EXPECT_NEAR(neg->m_dLegendMin, -80.0, 1e-12);
    // Neither side: nothing is taken, and the legend is 0 to 0 rather than -DBL_MAX..DBL_MAX.
    CForceEngine neither(&M());
    neither.m_nSForcUnit = 1;
    neither.m_nSForcLcomCount = 2;
    neither.m_bSForcPos = neither.m_bSForcNeg = 0;
    neither.InitEngine(nullptr, PVXMode::kSlabForce);
    EXPECT_EQ(neither.m_dLegendMax, 0.0);
    EXPECT_EQ(neither.m_dLegendMin, 0.0);
    EXPECT_EQ(M().m_nMaxKey, 0u);
}

TEST_F(SlabTest, EnvelopeWithoutCombinationsIsNoData) {
    // A count of 0 (or a number the host does not have) gives no envelope: the elements are left
    // out instead of being stored with the start values of an envelope.
    SelectLoad(12, kEnv, 1);
    struct Row {
        const char* label;
        int count;
    } const rows[] = {{"count 0", 0}, {"number 3 missing", 3}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        auto e = Build(1, 0, 1, 1, row.count);
        EXPECT_EQ(e->m_bSForcData, 0);
        EXPECT_EQ(e->m_mapSForcPos.GetCount(), 0);
        EXPECT_EQ(e->m_dLegendMax, 0.0);
        EXPECT_EQ(e->m_dLegendMin, 0.0);
    }
    // Outside modes 16 and 17 no combinations are enveloped.
    CPVXBarContainerBase::m_nCurrentMode = PVXMode::kPlateForce;
    auto e = Build(1, 0, 1, 1, 2);
    EXPECT_EQ(e->m_bSForcData, 0);
}

TEST_F(SlabTest, ColourLevelsOfTheSidesShown) {
    // N levels from the lower to the upper end in N - 1 equal steps, the last exactly the upper
    // end; one side runs from 0.
    struct Row {
        const char* label;
        int pos, neg, n;
        double lo, hi;  // of the range 0 .. 100 or -60 .. 100
    } const rows[] = {
        {"positive only", 1, 0, 11, 0.0, 100.0},
        {"negative only", 0, 1, 11, -60.0, 0.0},
        {"both", 1, 1, 11, -60.0, 100.0},
        {"neither: all 0", 0, 0, 11, 0.0, 0.0},
        {"two levels: the two ends", 1, 1, 2, -60.0, 100.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CForceEngine e(&M());
        e.m_bSForcPos = row.pos;
        e.m_bSForcNeg = row.neg;
        e.m_pContourEngine = new CContourEngine(-60.0, 100.0);
        e.m_pContourEngine->m_nNumColor = row.n;
        e.MakeSForcPosNegRange();
        CArray<double, double> levels;
        e.m_pContourEngine->GetGlobalRange(&levels);
        ASSERT_EQ(levels.GetSize(), row.n);
        EXPECT_EQ(e.m_pContourEngine->m_bGlobalRange, 1);
        for (int i = 0; i + 1 < row.n; ++i)
            EXPECT_NEAR(levels[i], row.lo + i * (row.hi - row.lo) / (row.n - 1), 1e-12) << i;
        EXPECT_EQ(levels[row.n - 1], row.hi);
    }
}

TEST_F(SlabTest, ColourLevelsOfAScaleWithoutLevelsStayInBounds) {
    // A scale asked for no level at all still gets its one level (the upper end) instead of a
    // write before the start of the list; the scale's own build then keeps its least count.
    CForceEngine e(&M());
    e.m_pContourEngine = new CContourEngine(-60.0, 100.0);
    e.m_pContourEngine->m_nNumColor = 0;
    e.MakeSForcPosNegRange();
    EXPECT_GE(e.m_pContourEngine->m_nNumColor, 2);
}

TEST_F(SlabTest, NodalAveragingMeansTheComponentAtSharedNodes) {
    // Node 2 is corner 2 of plate 11 (Mxx 2) and corner 1 of plate 12 (10): mean 6. Node 5 is
    // corner 3 of plate 11 (3) and corner 4 of plate 12 (40): mean 21.5. Unshared corners keep
    // their values; Myy (not selected) stays per element.
    CForceEngine e(&M());
    e.m_nSForcUnit = 1;
    e.m_bPAverageNodal = 1;
    e.InitEngine(nullptr, PVXMode::kSlabForce);
    ASSERT_EQ(e.m_bSForcData, 1);
    const T_STRP_DL a = Record(kPlateA1, e.m_mapSForc), b = Record(kPlateA2, e.m_mapSForc);
    struct Row {
        const char* label;
        const T_STRP_DL* rec;
        int block;
        double mxx, myy;
    } const rows[] = {
        {"11 at node 1", &a, 1, 1.0, -1.0},  {"11 at node 2", &a, 2, 6.0, -2.0},   {"11 at node 5", &a, 3, 21.5, -3.0},
        {"12 at node 2", &b, 1, 6.0, -10.0}, {"12 at node 3", &b, 2, 20.0, -20.0}, {"12 at node 5", &b, 4, 21.5, -40.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_NEAR(row.rec->blk[row.block][20], row.mxx, 1e-12);
        EXPECT_NEAR(row.rec->blk[row.block][21], row.myy, 1e-12);
    }

    // With the envelope each envelope map is averaged apart: the maximum at node 2 is the mean
    // of 1.2 x 2 and 1.2 x 10, the minimum the mean of -2 x 2 and -2 x 10; the last-read map
    // stays as read.
    SelectLoad(12, kEnv, 1);
    CForceEngine v(&M());
    v.m_nSForcUnit = 1;
    v.m_bPAverageNodal = 1;
    v.m_nSForcLcomCount = 2;
    v.InitEngine(nullptr, PVXMode::kSlabForce);
    ASSERT_EQ(v.m_bSForcData, 1);
    EXPECT_NEAR(Record(kPlateA2, v.m_mapSForcPos).blk[1][20], 7.2, 1e-12);
    EXPECT_NEAR(Record(kPlateA2, v.m_mapSForcNeg).blk[1][20], -12.0, 1e-12);
    EXPECT_NEAR(Record(kPlateA2, v.m_mapSForc).blk[1][20], 12.0, 1e-12);
}

TEST_F(SlabTest, PerMemberListsTheSlabsWithMomentsAndTheirRange) {
    auto e = Build(0);
    ASSERT_EQ(e->m_bSForcData, 1);
    // Slab C has result type 1 and is left out; the beam is no slab.
    ASSERT_EQ(e->m_arrElemKey.GetSize(), 2);
    EXPECT_EQ(e->m_arrElemKey[0], static_cast<UINT>(kSlabA));
    EXPECT_EQ(e->m_arrElemKey[1], static_cast<UINT>(kSlabB));
    // Under DL: the largest positive side moment is slab B's 20, the smallest negative its -30.
    EXPECT_EQ(e->m_dSMembMax, 20.0);
    EXPECT_EQ(e->m_dSMembMin, -30.0);
    EXPECT_EQ(M().m_nMaxKey, static_cast<UINT>(kSlabB));
    EXPECT_EQ(M().m_nMinKey, static_cast<UINT>(kSlabB));
    CArray<double, double> pos, neg;
    double cx = 0.0, cy = 0.0;
    EXPECT_EQ(e->GetSmnt(kSlabA, pos, neg, cx, cy), 1);
    EXPECT_EQ(pos.GetSize(), 12);
    EXPECT_EQ(neg[11], -12.0);
    EXPECT_EQ(cx, 3.0);
    EXPECT_EQ(cy, -4.0);
    EXPECT_EQ(e->GetSmnt(kSlabC, pos, neg, cx, cy), 0);
    EXPECT_EQ(pos.GetSize(), 0);
    EXPECT_EQ(neg.GetSize(), 0);
    EXPECT_EQ(e->GetSlabResultType(kSlabC), 1);
    EXPECT_EQ(e->GetSlabResultType(kBeam), -1);

    // The envelope of C1 (LL is -0.5 DL, so C1 = 0.5 DL) and C2 (1.2 DL):
    // positive lists take the maximum, negative lists the minimum.
    SelectLoad(12, kEnv, 1);
    auto v = Build(0);
    EXPECT_NEAR(v->m_dSMembMax, 24.0, 1e-12);
    EXPECT_NEAR(v->m_dSMembMin, -36.0, 1e-12);
    EXPECT_EQ(v->GetSmnt(kSlabB, pos, neg, cx, cy), 1);
    EXPECT_NEAR(pos[3], 6.0, 1e-12);
    EXPECT_NEAR(neg[1], -1.2, 1e-12);
}

TEST_F(SlabTest, PerMemberFaults) {
    // A slab member without moments stops the list.
    Reinstall([](PostDBBuilder& b) {
        b.AddSmnt(kDL, kSlabB, T_SMNT_D{});  // lists empty
    });
    {
        CForceEngine e(&M());
        e.m_arrElemKey.Add(kSlabA);
        e.m_arrElemKey.Add(kSlabC);  // no moments under DL
        EXPECT_EQ(e.MakeSForcDataListMemb_MnMx(), 0);
    }
    // Members whose positive (or negative) lists are empty give 0 for that end, not the start
    // value of the search.
    CForceEngine e(&M());
    e.m_arrElemKey.Add(kSlabB);  // reinstalled with empty lists under DL
    EXPECT_EQ(e.MakeSForcDataListMemb_MnMx(), 1);
    EXPECT_EQ(e.m_dSMembMax, 0.0);
    EXPECT_EQ(e.m_dSMembMin, 0.0);
    EXPECT_EQ(M().m_nMaxKey, 0u);
    // An empty list is no data.
    CForceEngine empty(&M());
    EXPECT_EQ(empty.MakeSForcDataListMemb_MnMx(), 1);
    EXPECT_EQ(empty.m_bSForcData, 0);
    // A slab shown but without moments under the load (a floor slab whose moments the host does
    // not keep) is left out of the list; the others show.
    Reinstall([](PostDBBuilder& b) { b.AddSlab(kSlabC, T_PSLAB_D{}); });
    auto shown = Build(0);
    EXPECT_EQ(shown->m_bSForcData, 1);
    EXPECT_EQ(shown->m_arrElemKey.GetSize(), 2);
}

}  // namespace
}  // namespace slabtest
