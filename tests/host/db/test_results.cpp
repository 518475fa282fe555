// Load selection and result queries: which slot receives what for a load case, a linear
// combination, an envelope and a mode, and that keys without results answer 0 untouched.
#include "DbTestUtil.h"

#include <gtest/gtest.h>

#include "host/db/CDBDoc.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace dbtest {

namespace {

struct Env {
    PostDBBuilder b;
    CPostCtrl post;
    Env() {
        BuildProject(b);
        post.SetDataBase(&b.DB());
    }
};

void ExpectDisp(const T_DISP_D& d, double dx, double dy, double dz, double rx, double ry, double rz) {
    EXPECT_DOUBLE_EQ(d.DX, dx);
    EXPECT_DOUBLE_EQ(d.DY, dy);
    EXPECT_DOUBLE_EQ(d.DZ, dz);
    EXPECT_DOUBLE_EQ(d.RX, rx);
    EXPECT_DOUBLE_EQ(d.RY, ry);
    EXPECT_DOUBLE_EQ(d.RZ, rz);
}

const T_DISP_D kUntouched = Disp(-7, -7, -7, -7, -7, -7);

}  // namespace

TEST(PostDbResults, MakeLoadCombByTypeAndKey) {
    Env e;
    struct Row {
        UINT type, key;
        int ok;
        int entries;
        int combType;
    } rows[] = {
        {1, 2, 1, 1, PLCOM_LINEAR},    // static case
        {2, 3, 1, 1, PLCOM_LINEAR},    // dynamic case
        {1, 99, 0, 0, 0},              // no such case
        {10, 101, 1, 2, PLCOM_LINEAR}, // combination
        {9, 102, 1, 2, PLCOM_LINEAR},
        {11, 200, 1, 3, PLCOM_ENVELOPE},
        {12, 200, 1, 3, PLCOM_ENVELOPE},
        {12, 101, 0, 0, 0},            // type 12 asks for an envelope
        {10, 7, 0, 0, 0},              // no such combination
        {7, 2, 0, 0, 0},               // unknown type code
        {1, 0, 0, 0, 0},               // key 0 is none
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "type " << r.type << " key " << r.key);
        T_PLCOM_D lc;
        lc.Initialize();
        lc.type = 77;
        EXPECT_EQ(e.post.MakeLoadComb(r.type, r.key, lc) != 0, r.ok != 0);
        if (r.ok) {
            EXPECT_EQ(lc.GetEntryCount(), r.entries);
            EXPECT_EQ(lc.type, r.combType);
            EXPECT_EQ(CClassPLcom::IsMaxMinComb(lc) != 0, r.combType == PLCOM_ENVELOPE);
        } else {
            EXPECT_EQ(lc.type, 77) << "a failed build leaves the record";
        }
    }
    T_PLCOM_D lc;
    ASSERT_TRUE(e.post.MakeLoadComb(1, 2, lc));
    EXPECT_STREQ(lc.name, "恒载");
    EXPECT_EQ(lc.entry[0].key, 2u);
    EXPECT_EQ(lc.entry[0].factor, 1.0);
}

TEST(PostDbResults, SlotsForCaseCombinationEnvelopeAndMode) {
    Env e;
    // Case 2: (1, 2, -3, .001, 0, 0); case 1: (.5, -1, 4, 0, .002, 0); case 3: (10, 0, 0, 0, 0, .01).
    struct Row {
        const char* label;
        UINT type, key;
        int step;
        T_DISP_D slot0, slot1, slot2;
    } rows[] = {
        {"static case, value", 1, 2, 0, Disp(1, 2, -3, .001, 0, 0), Disp(1, 2, -3, .001, 0, 0), Disp(1, 2, -3, .001, 0, 0)},
        {"static case, max step", 1, 1, 1, Disp(.5, -1, 4, 0, .002, 0), Disp(.5, -1, 4, 0, .002, 0), Disp(.5, -1, 4, 0, .002, 0)},
        {"1.3D+1.5L", 10, 101, 0, Disp(1.3 + .75, 2.6 - 1.5, -3.9 + 6, .0013, .003, 0),
         Disp(1.3 + .75, 2.6 - 1.5, -3.9 + 6, .0013, .003, 0), Disp(1.3 + .75, 2.6 - 1.5, -3.9 + 6, .0013, .003, 0)},
        // Envelope of 1.3D+1.5L = (2.05, 1.1, 2.1, .0013, .003, 0), D+L = (1.5, 1, 1, .001, .002, 0) and
        // EX = (10, 0, 0, 0, 0, .01).
        {"envelope", 12, 200, 1, Disp(10, 1.1, 2.1, .0013, .003, .01), Disp(1.5, 0, 0, 0, 0, 0), Disp(10, 1.1, 2.1, .0013, .003, .01)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_PLCOM_D lc;
        ASSERT_TRUE(e.post.MakeLoadComb(r.type, r.key, lc));
        ASSERT_TRUE(e.post.SelectLoadComb(lc, r.step != 0, 0));
        T_DISP_D s0 = kUntouched, s1 = kUntouched, s2 = kUntouched;
        ASSERT_TRUE(e.post.GetDisp(7, &s0, &s1, &s2));
        { SCOPED_TRACE("slot 0"); ExpectDisp(s0, r.slot0.DX, r.slot0.DY, r.slot0.DZ, r.slot0.RX, r.slot0.RY, r.slot0.RZ); }
        { SCOPED_TRACE("slot 1"); ExpectDisp(s1, r.slot1.DX, r.slot1.DY, r.slot1.DZ, r.slot1.RX, r.slot1.RY, r.slot1.RZ); }
        { SCOPED_TRACE("slot 2"); ExpectDisp(s2, r.slot2.DX, r.slot2.DY, r.slot2.DZ, r.slot2.RX, r.slot2.RY, r.slot2.RZ); }

        // One slot at a time, as the callers pass them; the others stay null.
        T_DISP_D only = kUntouched;
        ASSERT_TRUE(e.post.GetDisp(7, nullptr, &only, nullptr));
        ExpectDisp(only, r.slot1.DX, r.slot1.DY, r.slot1.DZ, r.slot1.RX, r.slot1.RY, r.slot1.RZ);

        // A node without displacements, a node that does not exist.
        for (UINT key : {10u, 12345u}) {
            T_DISP_D d = kUntouched;
            EXPECT_FALSE(e.post.GetDisp(key, &d, &d, &d));
            ExpectDisp(d, -7, -7, -7, -7, -7, -7);
        }
    }

    // The envelope's "all" slot takes the value of larger magnitude, sign kept.
    e.b.AddDisp(3, 5, Disp(-20, 0, 0, 0, 0, 0));
    e.b.AddDisp(2, 5, Disp(5, 0, 0, 0, 0, 0));
    T_PLCOM_D env;
    ASSERT_TRUE(e.post.MakeLoadComb(12, 200, env));
    e.post.SelectLoadComb(env, 1, 0);
    T_DISP_D hi, lo, all;
    ASSERT_TRUE(e.post.GetDisp(5, &hi, &lo, &all));
    EXPECT_DOUBLE_EQ(hi.DX, 6.5);   // 1.3 x 5 from 1.3D+1.5L
    EXPECT_DOUBLE_EQ(lo.DX, -20);
    EXPECT_DOUBLE_EQ(all.DX, -20);

    // A mode: displacements are the mode shape; other results have none.
    EXPECT_TRUE(e.post.SelectMode(1, 0));
    T_DISP_D m = kUntouched;
    ASSERT_TRUE(e.post.GetDisp(7, &m, nullptr, nullptr));
    ExpectDisp(m, 1.0, 0, 0, 0, 0, -0.002);
    T_REAC_D r = Reac(9, 9, 9, 9, 9, 9);
    EXPECT_FALSE(e.post.GetReac(10, &r, nullptr, nullptr));
    EXPECT_EQ(r.FZ, 9);
    EXPECT_FALSE(e.post.SelectMode(5, 0)) << "no mode 5";
    EXPECT_FALSE(e.post.GetDisp(7, &m, nullptr, nullptr));
}

TEST(PostDbResults, EveryQueryFollowsTheSelectedLoad) {
    Env e;
    T_REAC_D r = Reac(-1, -1, -1, -1, -1, -1);
    EXPECT_FALSE(e.post.GetReac(10, &r, nullptr, nullptr)) << "nothing selected yet";
    EXPECT_EQ(r.FZ, -1);

    T_PLCOM_D lc;
    ASSERT_TRUE(e.post.MakeLoadComb(10, 102, lc));  // D + L
    ASSERT_TRUE(e.post.SelectLoadComb(lc, 0, 0));
    ASSERT_TRUE(e.post.GetReac(10, &r, nullptr, nullptr));
    EXPECT_DOUBLE_EQ(r.FZ, 140);
    EXPECT_DOUBLE_EQ(r.MX, 0);
    EXPECT_DOUBLE_EQ(r.MY, 2);

    // Results that exist in only one term: the other term adds nothing.
    T_STRP_DL p;
    ASSERT_TRUE(e.post.GetStrp_L(20, &p, nullptr, nullptr, 0));
    EXPECT_DOUBLE_EQ(p.blk[4][29], 429);
    T_MBWG_D w;
    ASSERT_TRUE(e.post.GetStwt(1, &w, nullptr, nullptr, 0));
    EXPECT_DOUBLE_EQ(w.d[8][5], 12.5);
    T_STRG_D g;
    ASSERT_TRUE(e.post.GetMbgd(1, nullptr, nullptr, &g, 0));
    EXPECT_DOUBLE_EQ(g.d[12 * 7 + 6 + 5], 12.5) << "segment 7 ends at station 8";
    T_MBCL_D c;
    ASSERT_TRUE(e.post.GetMbcl(2, &c, nullptr, nullptr, 0));
    EXPECT_DOUBLE_EQ(c.d[3][0], -250);
    T_MBBR_D br;
    EXPECT_TRUE(e.post.GetMbbr(1, &br, nullptr, nullptr, 0));
    T_STRW_D sw;
    EXPECT_TRUE(e.post.GetStrw(3, &sw, nullptr, nullptr, 0));
    T_STWS_D st;
    EXPECT_TRUE(e.post.GetStws(22, &st, nullptr, nullptr));
    EXPECT_FALSE(e.post.GetMbcl(1, &c, nullptr, nullptr, 0)) << "member 1 has no column forces";
    // Wall forces by the wall's result number (8), not its member key (3).
    T_MBCL_D wc;
    ASSERT_TRUE(e.post.GetMbwc(8, &wc, nullptr, nullptr, 0));
    EXPECT_DOUBLE_EQ(wc.d[1][4], -12.5);
    EXPECT_FALSE(e.post.GetMbwc(3, &wc, nullptr, nullptr, 0));
    T_STRG_D wb;
    ASSERT_TRUE(e.post.GetMbwg(8, nullptr, &wb, nullptr, 0));
    EXPECT_DOUBLE_EQ(wb.d[12 * 7 + 6 + 5], 12.5);

    // A combination passed directly, whatever is selected.
    T_PLCOM_D d;
    ASSERT_TRUE(e.post.MakeLoadComb(1, 2, d));
    T_DISP_D disp;
    ASSERT_TRUE(e.post.GetDisp_ByLcomb(7, d, disp));
    EXPECT_DOUBLE_EQ(disp.DZ, -3);

    // An empty selection record is refused and clears the selection.
    T_PLCOM_D none;
    none.Initialize();
    EXPECT_FALSE(e.post.SelectLoadComb(none, 0, 0));
    EXPECT_FALSE(e.post.GetReac(10, &r, nullptr, nullptr));
}

TEST(PostDbResults, CombinationCyclesAndEnvelopeTermsEnd) {
    Env e;
    // 300 names 301 and 301 names 300: such a combination has no value.
    e.b.AddLoadComb(300, PLCOM_LINEAR, "A", {{PLOAD_STATIC, 2, 1.0}, {PLOAD_COMBINATION, 301, 1.0}});
    e.b.AddLoadComb(301, PLCOM_LINEAR, "B", {{PLOAD_COMBINATION, 300, 1.0}});
    // An envelope cannot be a term of a sum, nor can a combination that does not exist.
    e.b.AddLoadComb(302, PLCOM_LINEAR, "C", {{PLOAD_COMBINATION, 200, 2.0}, {PLOAD_STATIC, 1, 1.0}});
    e.b.AddLoadComb(304, PLCOM_LINEAR, "D", {{PLOAD_STATIC, 1, 1.0}, {PLOAD_COMBINATION, 999, 1.0}});
    T_PLCOM_D lc;
    ASSERT_TRUE(e.post.MakeLoadComb(10, 300, lc));
    e.post.SelectLoadComb(lc, 0, 0);
    T_REAC_D r = Reac(5, 5, 5, 5, 5, 5);
    EXPECT_FALSE(e.post.GetReac(10, &r, nullptr, nullptr));
    EXPECT_EQ(r.FZ, 5);
    // The same cycle inside an envelope spoils the envelope too.
    e.b.AddLoadComb(303, PLCOM_ENVELOPE, "E", {{PLOAD_STATIC, 2, 1.0}, {PLOAD_COMBINATION, 300, 1.0}});
    ASSERT_TRUE(e.post.MakeLoadComb(12, 303, lc));
    e.post.SelectLoadComb(lc, 1, 0);
    EXPECT_FALSE(e.post.GetReac(10, &r, &r, &r));
    for (UINT bad : {302u, 304u}) {
        SCOPED_TRACE(bad);
        ASSERT_TRUE(e.post.MakeLoadComb(10, bad, lc));
        e.post.SelectLoadComb(lc, 0, 0);
        EXPECT_FALSE(e.post.GetReac(10, &r, nullptr, nullptr)) << "no partial sum";
        EXPECT_EQ(r.FZ, 5);
    }
    // A case without results for the key only leaves its term out (node 5: case 3 alone).
    e.b.AddDisp(3, 5, Disp(-2, 0, 0, 0, 0, 0));
    e.b.AddLoadComb(305, PLCOM_LINEAR, "F", {{PLOAD_STATIC, 1, 1.0}, {PLOAD_DYNAMIC, 3, 0.5}});
    ASSERT_TRUE(e.post.MakeLoadComb(10, 305, lc));
    e.post.SelectLoadComb(lc, 0, 0);
    T_DISP_D d;
    ASSERT_TRUE(e.post.GetDisp(5, &d, nullptr, nullptr));
    EXPECT_DOUBLE_EQ(d.DX, -1);
}

TEST(PostDbResults, EigenResultsByMode) {
    Env e;
    EXPECT_EQ(e.post.GetModeCount(), 1);
    T_FREQ_D f;
    ASSERT_TRUE(e.post.GetEiFreq(1, f));
    EXPECT_EQ(f.freq, 2.0);
    EXPECT_EQ(f.period, 0.5);
    T_MPAM_D m;
    ASSERT_TRUE(e.post.GetEiMpam(1, m));
    EXPECT_EQ(m.mass[0], 71.5);
    EXPECT_STREQ(T_MPAM_D::name[0], "X");
    double z = -1;
    ASSERT_TRUE(e.post.GetEiDmse(1, z));
    EXPECT_EQ(z, 0.05);
    for (int bad : {0, 2, -1}) {
        SCOPED_TRACE(bad);
        f.freq = 123;
        EXPECT_FALSE(e.post.GetEiFreq(bad, f));
        EXPECT_EQ(f.freq, 123);
        EXPECT_FALSE(e.post.GetEiMpam(bad, m));
        T_DISP_D d = kUntouched;
        EXPECT_FALSE(e.post.GetEiMode(7, bad, d));
        EXPECT_EQ(d.DX, -7);
    }
}

TEST(PostDbResults, CombinedPlateResultsGetTheirPrincipalValuesAgain) {
    PostDBBuilder b;
    b.AddLoadCase(1, PLOAD_STATIC, "A");
    b.AddLoadCase(2, PLOAD_STATIC, "B");
    T_STRP_DL a, c;
    a.Initialize();
    c.Initialize();
    // Pure tension in x, and pure shear; each record carries its own principal values.
    a.blk[0][14] = 10;
    a.blk[0][17] = 10;
    a.blk[0][0] = 4;
    a.blk[0][3] = 4;
    a.blk[0][6] = 4;
    a.blk[0][28] = 2;
    c.blk[0][16] = 5;
    c.blk[0][17] = 5;
    c.blk[0][18] = -5;
    c.blk[0][19] = 45;
    b.AddStrp(1, 9, a);
    b.AddStrp(2, 9, c);
    b.AddLoadComb(10, PLCOM_LINEAR, "A+B", {{PLOAD_STATIC, 1, 1.0}, {PLOAD_STATIC, 2, 1.0}});
    b.AddLoadComb(11, PLCOM_LINEAR, "-A", {{PLOAD_STATIC, 1, -1.0}});
    CPostCtrl post(&b.DB());

    T_PLCOM_D lc;
    ASSERT_TRUE(post.MakeLoadComb(10, 10, lc));
    post.SelectLoadComb(lc, 0, 0);
    T_STRP_DL r;
    ASSERT_TRUE(post.GetStrp_L(9, &r, nullptr, nullptr, 0));
    const double root50 = std::sqrt(50.0);
    EXPECT_DOUBLE_EQ(r.blk[0][14], 10);
    EXPECT_DOUBLE_EQ(r.blk[0][16], 5);
    EXPECT_NEAR(r.blk[0][17], 5 + root50, 1e-12) << "not 10 + 5";
    EXPECT_NEAR(r.blk[0][18], 5 - root50, 1e-12);
    EXPECT_NEAR(r.blk[0][19], 22.5, 1e-12);
    EXPECT_NEAR(r.blk[0][3], 4, 1e-12);
    EXPECT_NEAR(r.blk[0][6], 4, 1e-12) << "effective stress of uniaxial 4";
    EXPECT_NEAR(r.blk[0][28], 2, 1e-12);

    // A negative factor swaps maximum and minimum rather than negating them in place.
    ASSERT_TRUE(post.MakeLoadComb(10, 11, lc));
    post.SelectLoadComb(lc, 0, 0);
    ASSERT_TRUE(post.GetStrp_L(9, &r, nullptr, nullptr, 0));
    EXPECT_NEAR(r.blk[0][17], 0, 1e-12);
    EXPECT_NEAR(r.blk[0][18], -10, 1e-12);

    // A single case is handed on as stored.
    ASSERT_TRUE(post.MakeLoadComb(1, 2, lc));
    post.SelectLoadComb(lc, 0, 0);
    ASSERT_TRUE(post.GetStrp_L(9, &r, nullptr, nullptr, 0));
    EXPECT_EQ(r.blk[0][19], 45);
}

TEST(PostDbResults, TimeHistoryByStepAndQuantity) {
    Env e;
    T_DISP_D d = kUntouched;
    EXPECT_FALSE(e.post.GetDispHistory(1, 0, 7, d)) << "no time-history case selected";
    EXPECT_FALSE(e.post.SelectThlc(2)) << "case 2 is static";
    ASSERT_TRUE(e.post.SelectThlc(4));
    struct Row {
        int kind, step;
        UINT node;
        int ok;
        double dx;
    } rows[] = {{3, 0, 7, 1, 0},   {0, 0, 7, 1, 0},   {2, 0, 7, 1, 10},  {1, 1, 7, 1, 120},
                {3, 1, 7, 1, 100}, {3, 2, 7, 0, 0},   {4, 0, 7, 0, 0},   {3, -1, 7, 0, 0},
                {3, 0, 10, 0, 0}};  // host kinds: 3 displacement, 2 velocity, 1 acceleration
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << r.kind << " step " << r.step << " node " << r.node);
        d = kUntouched;
        EXPECT_EQ(e.post.GetDispHistory(r.kind, r.step, r.node, d) != 0, r.ok != 0);
        if (r.ok) {
            EXPECT_EQ(d.DX, r.dx);
            EXPECT_EQ(d.RZ, r.dx + 5);
        } else {
            EXPECT_EQ(d.DX, -7);
        }
    }
    // The case is also the selected load: its stored peak displacements answer GetDisp.
    ASSERT_TRUE(e.post.GetDisp(7, &d, nullptr, nullptr));
    EXPECT_EQ(d.DX, 0.25);
    // Another selection ends the time history.
    T_PLCOM_D lc;
    ASSERT_TRUE(e.post.MakeLoadComb(1, 2, lc));
    e.post.SelectLoadComb(lc, 0, 0);
    EXPECT_FALSE(e.post.GetDispHistory(1, 0, 7, d));

    // A record claiming more steps than it holds is read only as far as it goes.
    T_DISPHIS_D bad;
    bad.nStep = 5;
    for (int i = 0; i < 18; ++i) bad.aValue.Add(i);
    e.b.AddDispHistory(4, 5, bad);
    ASSERT_TRUE(e.post.SelectThlc(4));
    EXPECT_TRUE(e.post.GetDispHistory(1, 0, 5, d));
    EXPECT_FALSE(e.post.GetDispHistory(1, 1, 5, d));
}

TEST(PostDbResults, MemberEndRecordsWithRigidZones) {
    Env e;
    // Member 1 has the end record BuildProject stores; member 2 and an unknown key have none.
    struct Row {
        const char* label;
        UINT memb;
        bool found;
        double length, ri2, rj2, ri3, rj3;
    } const rows[] = {
        {"beam with rigid zones", 1, true, 6.0, 0.3, 0.25, 0.35, 0.2},
        {"column without a record", 2, false, -7, -7, -7, -7, -7},
        {"unknown member", 99, false, -7, -7, -7, -7, -7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_CFMO_D c;
        c.Initialize();
        c.length = c.ri2 = c.rj2 = c.ri3 = c.rj3 = -7;
        EXPECT_EQ(e.post.GetCfmoMemb(r.memb, c), r.found ? 1 : 0);
        EXPECT_EQ(c.length, r.length);
        EXPECT_EQ(c.ri2, r.ri2);
        EXPECT_EQ(c.rj2, r.rj2);
        EXPECT_EQ(c.ri3, r.ri3);
        EXPECT_EQ(c.rj3, r.rj3);
    }
    // The record does not depend on the load selection.
    e.post.ClearSelection();
    T_CFMO_D c;
    EXPECT_EQ(e.post.GetCfmoMemb(1, c), 1);
    EXPECT_EQ(c.type, 201);
}

TEST(PostDbResults, PlateForcesTurnIntoOtherAxes) {
    // Axes turned by a about the common normal: the tensor rules Fx'x' = Fxx c^2 + Fyy s^2 +
    // 2 Fxy s c, Fy'y' = Fxx s^2 + Fyy c^2 - 2 Fxy s c, Fx'y' = (Fyy - Fxx) s c + Fxy (c^2 - s^2),
    // the shears as a vector (Vxx c + Vyy s, -Vxx s + Vyy c).
    CPostCtrl post;
    const double own[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    struct Row {
        const char* label;
        double a;  // degrees
    } const rows[] = {{"30 degrees", 30.0}, {"-45 degrees", -45.0}, {"none", 0.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const double c = std::cos(r.a * M_PI / 180.0), s = std::sin(r.a * M_PI / 180.0);
        const double target[3][3] = {{c, s, 0}, {-s, c, 0}, {0, 0, 1}};
        T_STRP_DL p;
        p.Initialize();
        for (auto& b : p.blk) {
            b[14] = 10;
            b[15] = 4;
            b[16] = 3;
            b[20] = -5;
            b[21] = 2;
            b[22] = 1;
            b[26] = 6;
            b[27] = -8;
        }
        ASSERT_TRUE(post.ConvertStrpForce_UCS(own, target, p));
        for (const auto& b : p.blk) {
            EXPECT_NEAR(b[14], 10 * c * c + 4 * s * s + 6 * s * c, 1e-12);
            EXPECT_NEAR(b[15], 10 * s * s + 4 * c * c - 6 * s * c, 1e-12);
            EXPECT_NEAR(b[16], -6 * s * c + 3 * (c * c - s * s), 1e-12);
            EXPECT_NEAR(b[20], -5 * c * c + 2 * s * s + 2 * s * c, 1e-12);
            EXPECT_NEAR(b[26], 6 * c - 8 * s, 1e-12);
            EXPECT_NEAR(b[27], -6 * s - 8 * c, 1e-12);
            // Principal membrane forces 7 +- sqrt(9 + 9) whatever the axes.
            EXPECT_NEAR(b[17], 7 + std::sqrt(18.0), 1e-12);
            EXPECT_NEAR(b[18], 7 - std::sqrt(18.0), 1e-12);
        }
    }
    // Axes that are not unit vectors are refused and the record is left as it was.
    const double bad[3][3] = {{2, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    T_STRP_DL p;
    p.Initialize();
    p.blk[0][14] = 10;
    EXPECT_FALSE(post.ConvertStrpForce_UCS(own, bad, p));
    EXPECT_EQ(p.blk[0][14], 10);
    EXPECT_EQ(p.blk[0][17], 0) << "nothing recomputed";
}

// Combinations naming combinations: each level names the one below 64 times with the factor
// 1/64, so every level's value is the load case's own (64 x v/64 = v exactly in binary). Before,
// each value cost 64^depth sums: four levels took many seconds, five ran for minutes.
TEST(PostDbResults, NestedCombinationsAreSummedOncePerValue) {
    Env e;
    const T_DISP_D* base = e.b.DB().Table<DBT_DISP>().Find(1, 7);
    ASSERT_NE(base, nullptr);
    std::vector<T_PLCOM_ENTRY> terms(64, T_PLCOM_ENTRY{PLOAD_STATIC, 1, 1.0 / 64});
    ASSERT_TRUE(e.b.AddLoadComb(400, PLCOM_LINEAR, "L1", terms));
    const int kLevels = 6;
    for (UINT level = 2; level <= kLevels; ++level) {
        for (auto& t : terms) t = T_PLCOM_ENTRY{PLOAD_COMBINATION, 400 + level - 2, 1.0 / 64};
        ASSERT_TRUE(e.b.AddLoadComb(400 + level - 1, PLCOM_LINEAR, ("L" + std::to_string(level)).c_str(), terms));
    }
    for (UINT level = 1; level <= kLevels; ++level) {
        SCOPED_TRACE(level);
        T_PLCOM_D lc;
        ASSERT_TRUE(e.post.MakeLoadComb(10, 400 + level - 1, lc));
        e.post.SelectLoadComb(lc, 0, 0);
        T_DISP_D d;
        ASSERT_TRUE(e.post.GetDisp(7, &d, nullptr, nullptr));
        ExpectDisp(d, base->DX, base->DY, base->DZ, base->RX, base->RY, base->RZ);
    }
}

// The document answers post- or pre-processing from its results, and a change of the results,
// the nodes or the load cases changes the answer at once, however often it was asked before.
TEST(PostDbResults, PostModeFollowsTheResults) {
    CDBDoc doc;
    const auto project = [] {
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 1, 0, 0);
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        return b.Release();
    };
    doc.AttachDataBase(project());
    T_DISP_D d;
    d.Initialize();
    T_REAC_D r;
    r.Initialize();
    struct Step {
        const char* label;
        std::function<void(CDataBase&)> change;
        BOOL post;
    } steps[] = {
        {"nodes and a load case, no results", [](CDataBase&) {}, FALSE},
        {"a displacement of a node", [&](CDataBase& db) { db.Table<DBT_DISP>().Set(1, 2, d); }, TRUE},
        {"the node removed", [](CDataBase& db) { db.Table<DBT_PNODE>().Remove(2); }, FALSE},
        {"the node back", [](CDataBase& db) { db.Table<DBT_PNODE>().Set(2, T_PNODE_D{}); }, TRUE},
        {"the load case removed", [](CDataBase& db) { db.Table<DBT_PSTLD>().Remove(1); }, FALSE},
        {"the load case back", [](CDataBase& db) { db.Table<DBT_PSTLD>().Set(1, T_PSTLD_D{}); }, TRUE},
        {"the displacements cleared", [](CDataBase& db) { db.Table<DBT_DISP>().Clear(); }, FALSE},
        {"a reaction of a node", [&](CDataBase& db) { db.Table<DBT_REAC>().Set(1, 1, r); }, TRUE},
        {"another project without results", [&](CDataBase&) { doc.AttachDataBase(project()); }, FALSE},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.label);
        s.change(*doc.GetMDBCtrl()->GetDBPost());
        EXPECT_EQ(doc.IsPostMode(), s.post);
        EXPECT_EQ(doc.IsPostMode(), s.post) << "asked again";
        EXPECT_EQ(doc.IsPreMode(), !s.post);
    }
    doc.SetPostMode(1);
    EXPECT_TRUE(doc.IsPostMode()) << "a fixed answer comes first";
}

}  // namespace dbtest
