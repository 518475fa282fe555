// Slab records of the host: member moments combined list by list, the numbering of the linear
// combinations and the turn of a plate record's surface stresses.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "host/db/CPostCtrl.h"
#include "host/db/PostDBBuilder.h"

namespace {

T_SMNT_D Moments(double cx, std::vector<double> pos, std::vector<double> neg) {
    T_SMNT_D m;
    m.centreX = cx;
    m.centreY = -cx;
    for (double v : pos) m.aPos.Add(v);
    for (double v : neg) m.aNeg.Add(v);
    return m;
}

std::vector<double> RealList(const CArray<double, double>& a) {
    return std::vector<double>(a.GetData(), a.GetData() + a.GetSize());
}

struct Project {
    PostDBBuilder b;
    CPostCtrl post;
    Project() {
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        b.AddLoadCase(2, PLOAD_STATIC, "LL");
        // Table order: linear 30, envelope 10, linear 20; numbers count the linear ones only.
        b.AddLoadComb(30, PLCOM_LINEAR, "A", {T_PLCOM_ENTRY{PLOAD_STATIC, 1, 1.0}, T_PLCOM_ENTRY{PLOAD_STATIC, 2, 2.0}});
        b.AddLoadComb(10, PLCOM_ENVELOPE, "E", {T_PLCOM_ENTRY{PLOAD_STATIC, 1, 1.0}, T_PLCOM_ENTRY{PLOAD_STATIC, 2, 1.0}});
        b.AddLoadComb(20, PLCOM_LINEAR, "B", {T_PLCOM_ENTRY{PLOAD_STATIC, 1, 0.5}});
        // LL's lists are one longer: the missing value of DL counts as 0.
        b.AddSmnt(1, 7, Moments(2.0, {1.0, 5.0}, {-3.0, -1.0}));
        b.AddSmnt(2, 7, Moments(-1.0, {4.0, 2.0, 6.0}, {-2.0, -4.0, -5.0}));
        post.SetDataBase(&b.DB());
    }
    int Select(UINT type, UINT key) {
        T_PLCOM_D lc;
        return post.MakeLoadComb(type, key, lc) && post.SelectLoadComb(lc, type == 12, 0);
    }
};

TEST(SlabRecords, MemberMomentsByLoad) {
    Project p;
    struct Row {
        const char* label;
        UINT type, key;
        double cx;
        std::vector<double> pos, neg;
    } const rows[] = {
        {"a load case", 1, 1, 2.0, {1.0, 5.0}, {-3.0, -1.0}},
        {"DL + 2 LL: list by list", 11, 30, 0.0, {9.0, 9.0, 12.0}, {-7.0, -9.0, -10.0}},
        {"envelope: positive maximum, negative minimum", 12, 10, 2.0, {4.0, 5.0, 6.0}, {-3.0, -4.0, -5.0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ASSERT_TRUE(p.Select(r.type, r.key));
        T_SMNT_D m;
        ASSERT_EQ(p.post.GetSmnt(7, m), 1);
        EXPECT_DOUBLE_EQ(m.centreX, r.cx);
        EXPECT_EQ(RealList(m.aPos), r.pos);
        EXPECT_EQ(RealList(m.aNeg), r.neg);
    }
    T_SMNT_D untouched = Moments(9.0, {9.0}, {});
    EXPECT_EQ(p.post.GetSmnt(8, untouched), 0) << "a member without moments";
    EXPECT_EQ(untouched.centreX, 9.0);
}

TEST(SlabRecords, LinearCombinationsAreNumberedInTableOrder) {
    Project p;
    struct Row {
        UINT kind, number, key;
    } const rows[] = {{10, 1, 30}, {10, 2, 20}, {11, 2, 20}, {10, 3, 0}, {10, 0, 0}, {12, 1, 0}, {1, 1, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.kind << " " << r.number);
        EXPECT_EQ(p.post.GetLoadCombKeyByNumber(r.kind, r.number), r.key);
    }
}

TEST(SlabRecords, SurfaceStressesTurnAsPlaneTensors) {
    // Into axes turned 30° about z: sxx' = sxx c² + syy s² + 2 sxy s c, syy' = sxx s² + syy c² -
    // 2 sxy s c, sxy' = (syy - sxx) s c + sxy (c² - s²); both surfaces, every block; forces
    // untouched.
    const double c = std::cos(M_PI / 6), s = 0.5;
    const double own[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const double target[3][3] = {{c, s, 0}, {-s, c, 0}, {0, 0, 1}};
    T_STRP_DL r;
    r.Initialize();
    for (auto& b : r.blk) {
        b[0] = 7.0, b[1] = -1.0, b[2] = 2.0;
        b[7] = -3.0, b[8] = 4.0, b[9] = 0.5;
        b[20] = 11.0;
    }
    CPostCtrl post;
    ASSERT_EQ(post.ConvertStrpStress_UCS(own, target, r), 1);
    auto xx = [&](double a, double b, double t) { return a * c * c + b * s * s + 2 * t * s * c; };
    auto yy = [&](double a, double b, double t) { return a * s * s + b * c * c - 2 * t * s * c; };
    auto xy = [&](double a, double b, double t) { return (b - a) * s * c + t * (c * c - s * s); };
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(r.blk[k][0], xx(7, -1, 2), 1e-12);
        EXPECT_NEAR(r.blk[k][1], yy(7, -1, 2), 1e-12);
        EXPECT_NEAR(r.blk[k][2], xy(7, -1, 2), 1e-12);
        EXPECT_NEAR(r.blk[k][7], xx(-3, 4, 0.5), 1e-12);
        EXPECT_NEAR(r.blk[k][8], yy(-3, 4, 0.5), 1e-12);
        EXPECT_NEAR(r.blk[k][9], xy(-3, 4, 0.5), 1e-12);
        EXPECT_EQ(r.blk[k][20], 11.0);
    }
    const double bad[3][3] = {{2, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const T_STRP_DL before = r;
    EXPECT_EQ(post.ConvertStrpStress_UCS(own, bad, r), 0);
    EXPECT_EQ(r.blk[1][0], before.blk[1][0]);
}

}  // namespace
