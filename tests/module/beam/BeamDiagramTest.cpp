// The exact beam diagram calculator: deflected shapes from end displacements, load-term
// deflections against textbook closed forms, segment shear/moment lists and section stresses.
#include "module/engines/CBeamDiagram_PVX.h"

#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "platform/ui/CUiDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

namespace {

constexpr UINT kBeamX = 1;      // 10 long along global X (local axes = global axes)
constexpr UINT kBeamSlant = 2;  // 5 long, from (0,0,0) to (3,4,0)
constexpr UINT kColumn = 3;     // a column: not a beam
constexpr UINT kZeroLen = 4;    // both ends on one node
constexpr UINT kBeamShort = 5;  // 4 long along global X, for the load terms
constexpr UINT kBeamRigid = 10; // 10 long along global X, member 10 with rigid end zones
constexpr UINT kMissing = 99;

class BeamDiagramTest : public ::testing::Test {
protected:
    void SetUp() override {
        CUiDriver::Get().Reset();
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 10, 0, 0);
        b.AddNode(3, 3, 4, 0);
        b.AddNode(4, 0, 0, 3);
        b.AddNode(5, 4, 0, 0);
        b.AddElem(kBeamX, PELEM_KIND_FRAME, 201, {1, 2});
        b.AddElem(kBeamSlant, PELEM_KIND_FRAME, 205, {1, 3});
        b.AddElem(kColumn, PELEM_KIND_FRAME, 101, {1, 4});
        b.AddElem(kZeroLen, PELEM_KIND_FRAME, 201, {1, 1});
        b.AddElem(kBeamShort, PELEM_KIND_FRAME, 201, {1, 5});
        b.AddMemb(1, 201, {1, 2}, {kBeamX});
        T_PMATL_D m;
        m.Initialize();
        m.E = 3.0e7;
        m.nu = 0.2;
        b.AddMatl(1, m);
        const int types[3] = {1, 5, 7};
        for (int i = 0; i < 3; ++i) {
            T_PSECT_D sec;
            sec.Initialize();
            sec.type = types[i];
            for (int set = 0; set < 3; ++set)
                for (int v = 0; v < 13; ++v) sec.stiff[set].d[v] = 100.0 * (set + 1) + (v + 1);
            b.AddSect(UINT(i + 1), sec);
            b.AddElem(UINT(6 + i), PELEM_KIND_FRAME, 201, {1, 2}, 1, UINT(i + 1));
        }
        b.AddElem(9, PELEM_KIND_FRAME, 201, {1, 2}, 2, 1);  // material 2 does not exist
        b.AddElem(kBeamRigid, PELEM_KIND_FRAME, 201, {1, 2});
        b.AddMemb(10, 201, {1, 2}, {kBeamRigid});
        T_CFMO_D ends;
        ends.Initialize();
        ends.type = 201;
        ends.length = 10.0;
        ends.ri2 = 1.5;
        ends.rj2 = 0.5;
        ends.ri3 = 1.0;
        ends.rj3 = 2.0;
        b.AddMembEnds(10, ends);
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        b.AddLoadCase(2, PLOAD_DYNAMIC, "EQ");
        b.Install(m_doc);
        m_pSaved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
        m_beam = std::make_unique<CBeamDiagram_PVX>();
    }
    void TearDown() override {
        m_beam.reset();
        CDBDoc::m_pDBDoc = m_pSaved;
    }

    static T_DISP_D Disp(double dx, double dy, double dz, double rx, double ry, double rz) {
        T_DISP_D d;
        d.DX = dx; d.DY = dy; d.DZ = dz; d.RX = rx; d.RY = ry; d.RZ = rz;
        return d;
    }

    // Builds the flexible-span stations of the 4-long beam for the load terms.
    void PrepareLoadSpan(int nDiv, double E, double I, double As) {
        T_PLCOM_D lc;
        lc.Initialize();
        lc.type = PLCOM_LINEAR;
        lc.AddEntry(PLOAD_STATIC, 1, 1.0);
        ASSERT_EQ(0, m_beam->MakeBeamDispl(kBeamShort, lc, nDiv, 2));
        ASSERT_EQ(nDiv, m_beam->GetRelDist(2).GetSize());
        m_beam->SetMaterial(E, 0.25);
        m_beam->SetSection(2, I, As);
        m_beam->SetSection(3, I, As);
    }

    // Checks the direction-2 deflection of every flexible-span station against f(x).
    void ExpectSpan(const std::function<double(double)>& f, double tol) {
        const auto& rel = m_beam->GetRelDist(2);
        for (INT_PTR k = 0; k < rel.GetSize(); ++k) {
            SCOPED_TRACE(testing::Message() << "x=" << rel[k]);
            EXPECT_NEAR(f(rel[k]), m_beam->GetLocalDispl(2, m_beam->GetSpanStart(2) + int(k)), tol);
        }
    }

    CDBDoc m_doc;
    CDBDoc* m_pSaved = nullptr;
    std::unique_ptr<CBeamDiagram_PVX> m_beam;
};

TEST_F(BeamDiagramTest, StationsAndRefusals) {
    // Eleven stations 0..L: the end points of the offsets merge with the first and last division.
    ASSERT_EQ(1, m_beam->MakeBeamDispl(kBeamX, Disp(0, 0, 0, 0, 0, 0), Disp(0, 0, 0, 0, 0, 0), 10, 2, 1.0));
    ASSERT_EQ(11, m_beam->GetStationCount());
    for (int k = 0; k <= 10; ++k) EXPECT_NEAR(k * 1.0, m_beam->GetStationPos(k), 1e-12) << k;
    EXPECT_EQ(0, m_beam->GetSpanStart(2));
    EXPECT_EQ(10, m_beam->GetSpanEnd(2));
    EXPECT_EQ(10, m_beam->GetSpanEnd(3));
    EXPECT_DOUBLE_EQ(10.0, m_beam->GetLength(2));

    struct Row { const char* label; UINT elem; int nDiv; };
    const Row refused[] = {
        {"column is not a beam", kColumn, 10},
        {"zero length", kZeroLen, 10},
        {"unknown element", kMissing, 10},
        {"no divisions", kBeamX, 0},
        {"negative divisions", kBeamX, -3},
        {"more divisions than stations", kBeamX, CBeamDiagram_PVX::MAX_DIV + 1},
    };
    for (const Row& r : refused) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(0, m_beam->MakeBeamDispl(r.elem, Disp(1, 1, 1, 0, 0, 0), Disp(1, 1, 1, 0, 0, 0), r.nDiv, 2, 1.0));
        EXPECT_EQ(0, m_beam->GetStationCount());  // the state of an earlier build is cleared
    }
    EXPECT_EQ(1, m_beam->MakeBeamDispl(kBeamX, Disp(0, 0, 0, 0, 0, 0), Disp(0, 0, 0, 0, 0, 0),
                                       CBeamDiagram_PVX::MAX_DIV, 2, 1.0));
    EXPECT_EQ(CBeamDiagram_PVX::MAX_DIV + 1, m_beam->GetStationCount());

    double a = 1.0, b = 2.0, c = 1.0;
    EXPECT_EQ(-1, CBeamDiagram_PVX::Compare_Dist(&a, &b));
    EXPECT_EQ(1, CBeamDiagram_PVX::Compare_Dist(&b, &a));
    EXPECT_EQ(0, CBeamDiagram_PVX::Compare_Dist(&a, &c));
}

TEST_F(BeamDiagramTest, RigidMotions) {
    struct Row { const char* label; UINT elem; T_DISP_D i, j; };
    const Row rows[] = {
        {"zero displacements", kBeamX, Disp(0, 0, 0, 0, 0, 0), Disp(0, 0, 0, 0, 0, 0)},
        {"translation along x-beam", kBeamX, Disp(1, 2, 3, 0, 0, 0), Disp(1, 2, 3, 0, 0, 0)},
        {"translation along slanted beam", kBeamSlant, Disp(1, 2, 3, 0, 0, 0), Disp(1, 2, 3, 0, 0, 0)},
        {"tiny translation is forced to 0", kBeamX, Disp(0, 1e-12, 0, 0, 0, 0), Disp(0, 1e-12, 0, 0, 0, 0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ASSERT_EQ(1, m_beam->MakeBeamDispl(r.elem, r.i, r.j, 10, 2, 1.0));
        const double want[3] = {r.i.DX, std::fabs(r.i.DY) < 1e-10 ? 0.0 : r.i.DY, r.i.DZ};
        for (int k = 0; k < m_beam->GetStationCount(); ++k) {
            double g[3];
            m_beam->GetStationDispl(k, g);
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(want[c], g[c], 1e-12) << "station " << k << " comp " << c;
        }
    }
    // Axial displacement is linear between the ends.
    ASSERT_EQ(1, m_beam->MakeBeamDispl(kBeamX, Disp(0, 0, 0, 0, 0, 0), Disp(2, 0, 0, 0, 0, 0), 10, 2, 1.0));
    double g[3];
    m_beam->GetStationDispl(3, g);
    EXPECT_NEAR(0.6, g[0], 1e-12);
    EXPECT_EQ(0.0, g[1]);
}

TEST_F(BeamDiagramTest, EndRotationShapes) {
    // Displacements in mm, lengths in m: a rotation theta tilts the curve by 1000 theta mm/m.
    // Tangent factor 1: T = 1000 L = 10000, D2(t) = T sin(RZ_i) t (1 - t)^2 over t = x / L.
    //   station 5 (t = 0.5): 10000 sin(0.01) 0.5 0.25 = 12.4997917;
    //   station 1 (t = 0.1): 10000 sin(0.01) 0.1 0.81 = 8.0998650.
    ASSERT_EQ(1, m_beam->MakeBeamDispl(kBeamX, Disp(0, 0, 0, 0, 0, 0.01), Disp(0, 0, 0, 0, 0, 0), 10, 2, 1.0));
    EXPECT_NEAR(12.4997917, m_beam->GetLocalDispl(2, 5), 1e-7);
    EXPECT_NEAR(8.0998650, m_beam->GetLocalDispl(2, 1), 1e-7);
    double g[3];
    m_beam->GetStationDispl(5, g);
    EXPECT_NEAR(12.4997917, g[1], 1e-7);
    EXPECT_EQ(0.0, g[0]);
    EXPECT_EQ(0.0, g[2]);
    for (int k = 0; k <= 10; ++k) EXPECT_EQ(0.0, m_beam->GetLocalDispl(3, k)) << k;
    // The tangent scales with the beam's factor: half the factor, half the curve.
    ASSERT_EQ(1, m_beam->MakeBeamDispl(kBeamX, Disp(0, 0, 0, 0, 0, 0.01), Disp(0, 0, 0, 0, 0, 0), 10, 2, 0.5));
    EXPECT_NEAR(0.5 * 12.4997917, m_beam->GetLocalDispl(2, 5), 1e-7);

    // Simply supported, end rotations about local y (bending in local z: w' = -RY). With the
    // span's own tangent length the curve is L u (sin thI H10(t) + sin thJ H11(t)), u = 1000.
    const double L = 10.0, thI = 0.002, thJ = -0.001;
    ASSERT_EQ(1, m_beam->MakeBeamDispl(kBeamX, Disp(0, 0, 0, 0, -thI, 0), Disp(0, 0, 0, 0, -thJ, 0), 10, 2, 1.0));
    for (int k = 0; k <= 10; ++k) {
        const double t = m_beam->GetStationPos(k) / L;
        const double want =
            1000.0 * L * (std::sin(thI) * (t * t * t - 2 * t * t + t) + std::sin(thJ) * (t * t * t - t * t));
        EXPECT_NEAR(want, m_beam->GetLocalDispl(3, k), 1e-10) << "hermite t=" << t;
        EXPECT_EQ(0.0, m_beam->GetLocalDispl(2, k));
    }
}

// A 6 m cantilever (fixed at node 1, tip at node 6) under a tip load P: the tip deflects by
// P L^3 / 3EI and turns by P L^2 / 2EI; the elastic line is P x^2 (3L - x) / 6EI. Drawn from the
// two end records alone, the curve must be that cubic, so its end slope is the tip rotation.
TEST_F(BeamDiagramTest, CantileverTipLoad) {
    PostDBBuilder b;
    b.AddNode(1, 0, 0, 0);
    b.AddNode(6, 6, 0, 0);
    b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 6});
    b.AddMemb(1, 201, {1, 6}, {1});
    b.Install(m_doc);
    m_beam = std::make_unique<CBeamDiagram_PVX>();

    const double L = 6.0, E = 3.0e7, I = 0.3 * 0.6 * 0.6 * 0.6 / 12.0, P = 50.0;  // kN, kN/m2, m4
    const double tipM = P * L * L * L / (3 * E * I);                               // m
    const double rot = P * L * L / (2 * E * I);                                    // rad
    struct Row {
        const char* label;
        T_DISP_D tip;
        int dir;     // local direction that bends
        double sgn;  // deflection sign in that direction
    };
    // Load along -Z: DZ = -tip, RY = +rot (w' = -RY). Load along +Y: DY = +tip, RZ = +rot.
    const Row rows[] = {
        {"gravity load, bending in local z", Disp(0, 0, -1000 * tipM, 0, rot, 0), 3, -1.0},
        {"lateral load, bending in local y", Disp(0, 1000 * tipM, 0, 0, 0, rot), 2, 1.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const int nDiv = 12;
        // The curve's tangents are sines of the rotations: relative error about rot^2 / 6 < 6e-6.
        const double rel = 1e-5;
        ASSERT_EQ(1, m_beam->MakeBeamDispl(1, Disp(0, 0, 0, 0, 0, 0), r.tip, nDiv, 2, 1.0));
        ASSERT_EQ(nDiv + 1, m_beam->GetStationCount());
        for (int k = 0; k <= nDiv; ++k) {
            const double x = m_beam->GetStationPos(k);
            const double want = r.sgn * 1000.0 * P * x * x * (3 * L - x) / (6 * E * I);  // mm
            EXPECT_NEAR(want, m_beam->GetLocalDispl(r.dir, k), rel * std::fabs(want) + 1e-12) << "x=" << x;
        }
        EXPECT_NEAR(r.sgn * 1000.0 * tipM, m_beam->GetLocalDispl(r.dir, nDiv), 1e-12);
        // End slope from the last four stations (a backward difference exact for cubics):
        // w'(L) = (11 w0 - 18 w1 + 9 w2 - 2 w3) / 6h, in mm/m, is 1000 x the tip rotation.
        const double h = L / nDiv;
        const double w0 = m_beam->GetLocalDispl(r.dir, nDiv), w1 = m_beam->GetLocalDispl(r.dir, nDiv - 1);
        const double w2 = m_beam->GetLocalDispl(r.dir, nDiv - 2), w3 = m_beam->GetLocalDispl(r.dir, nDiv - 3);
        EXPECT_NEAR(r.sgn * 1000.0 * rot, (11 * w0 - 18 * w1 + 9 * w2 - 2 * w3) / (6 * h), rel * 1000.0 * rot);
        // The fixed end stays level.
        EXPECT_NEAR(0.0, (-11 * m_beam->GetLocalDispl(r.dir, 0) + 18 * m_beam->GetLocalDispl(r.dir, 1) -
                          9 * m_beam->GetLocalDispl(r.dir, 2) + 2 * m_beam->GetLocalDispl(r.dir, 3)) /
                             (6 * h),
                    1e-8);
    }
}

TEST_F(BeamDiagramTest, CombinationForm) {
    T_PLCOM_D lc, env;
    lc.Initialize();
    lc.type = PLCOM_LINEAR;
    lc.AddEntry(PLOAD_STATIC, 1, 1.2);
    lc.AddEntry(PLOAD_DYNAMIC, 2, 1.0);
    env = lc;
    env.type = PLCOM_ENVELOPE;
    const T_PLCOM_D before = m_doc.GetPostCtrl()->GetSelectedLoadComb();

    EXPECT_EQ(0, m_beam->MakeBeamDispl(kBeamX, lc, 10, 2));
    ASSERT_EQ(10, m_beam->GetRelDist(2).GetSize());
    EXPECT_NEAR(9.0, m_beam->GetRelDist(3)[9], 1e-12);
    EXPECT_TRUE(CUiDriver::Get().MessageBoxes().empty());
    // The host's selection is left alone.
    EXPECT_EQ(0, std::memcmp(&before, &m_doc.GetPostCtrl()->GetSelectedLoadComb(), sizeof(T_PLCOM_D)));

    EXPECT_EQ(0, m_beam->MakeBeamDispl(kBeamX, env, 10, 2));
    ASSERT_EQ(1u, CUiDriver::Get().MessageBoxes().size());
    EXPECT_EQ(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Exact_Beam_Diagram_cannot_be_calculated_when_", 0),
              CUiDriver::Get().MessageBoxes()[0].text);

    // Filters: kinds kept, order kept, stopping at the first key 0.
    T_PLCOM_D in, out;
    in.Initialize();
    in.entry[0] = {PLOAD_DYNAMIC, 7, 0.5};
    in.entry[1] = {PLOAD_STATIC, 3, 1.5};
    in.entry[2] = {PLOAD_SETTLEMENT, 4, 1.0};
    in.entry[4] = {PLOAD_STATIC, 9, 1.0};  // after the key-0 end mark: ignored
    EXPECT_EQ(1, m_beam->GetStaticLcom(in, out));
    ASSERT_EQ(1, out.GetEntryCount());
    EXPECT_EQ(3u, out.entry[0].key);
    EXPECT_EQ(1, m_beam->GetDynamicLcom(in, out));
    EXPECT_EQ(7u, out.entry[0].key);
    in.entry[0].key = 0;
    EXPECT_EQ(0, m_beam->GetDynamicLcom(in, out));
    EXPECT_EQ(0, out.GetEntryCount());

    T_CFMO_D c;
    EXPECT_EQ(1, m_beam->MakeCfmo(1, c));
    EXPECT_EQ(201, c.type);
    EXPECT_EQ(0.0, c.ri2 + c.rj2 + c.ri3 + c.rj3);
    EXPECT_EQ(0, m_beam->MakeCfmo(kMissing, c));
}

TEST_F(BeamDiagramTest, LoadTermsAgainstTextbook) {
    const double L = 4.0, EI = 1000.0;
    struct Row {
        const char* label;
        std::function<void(CBeamDiagram_PVX&)> load;
        std::function<double(double)> want;
    };
    const Row rows[] = {
        {"point force at midspan", [](CBeamDiagram_PVX& b) { b.calc_displ(2, 1, 2.0, 10.0, 0, 0); },
         [&](double x) { double xx = x <= 2 ? x : L - x; return 10.0 * xx * (3 * L * L - 4 * xx * xx) / (48 * EI); }},
        {"point force at a=1", [](CBeamDiagram_PVX& b) { b.calc_displ(2, 1, 1.0, 5.0, 0, 0); },
         [&](double x) {
             double a = 1, bb = 3;
             return x <= a ? 5.0 * bb * x * (L * L - bb * bb - x * x) / (6 * L * EI)
                           : 5.0 * a * (L - x) * (2 * L * x - x * x - a * a) / (6 * L * EI);
         }},
        {"uniform load", [](CBeamDiagram_PVX& b) { b.calc_displ(2, 3, 0.0, 1.0, 4.0, 1.0); },
         [&](double x) { return x * (L * L * L - 2 * L * x * x + x * x * x) / (24 * EI); }},
        {"trapezoid -2..2 split at its zero", [](CBeamDiagram_PVX& b) { b.calc_displ(2, 3, 0.0, -2.0, 4.0, 2.0); },
         [&](double x) {
             return -2.0 * x * (L * L * L - 2 * L * x * x + x * x * x) / (24 * EI) +
                    4.0 * x * (7 * L * L * L * L - 10 * L * L * x * x + 3 * x * x * x * x) / (360 * L * EI);
         }},
        {"triangle falling 3..0", [](CBeamDiagram_PVX& b) { b.calc_displ(2, 3, 0.0, 3.0, 4.0, 0.0); },
         [&](double x) { double y = L - x; return 3.0 * y * (7 * L * L * L * L - 10 * L * L * y * y + 3 * y * y * y * y) / (360 * L * EI); }},
        {"moment at the left end", [](CBeamDiagram_PVX& b) { b.calc_displ(2, 2, 0.0, 6.0, 0, 0); },
         [&](double x) { return -6.0 * x * (L - x) * (2 * L - x) / (6 * L * EI); }},
        {"moment at midspan", [](CBeamDiagram_PVX& b) { b.calc_displ(2, 2, 2.0, 6.0, 0, 0); },
         [&](double x) { double s = x <= 2 ? 1.0 : -1.0, xx = x <= 2 ? x : L - x; return s * 6.0 * xx * (L * L - 4 * xx * xx) / (24 * L * EI); }},
        {"uniform moment over the span bends nothing", [](CBeamDiagram_PVX& b) { b.calc_displ(2, 4, 0.0, 2.0, 4.0, 2.0); },
         [](double) { return 0.0; }},
        {"unknown kind adds nothing", [](CBeamDiagram_PVX& b) { b.calc_displ(2, 7, 1.0, 5.0, 2.0, 5.0); },
         [](double) { return 0.0; }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        PrepareLoadSpan(8, EI, 1.0, 0.0);
        r.load(*m_beam);
        ExpectSpan(r.want, 1e-12);
    }
    PrepareLoadSpan(10, EI, 1.0, 0.0);
    m_beam->calc_displ(2, 1, 2.0, 10.0, 0, 0);
    EXPECT_NEAR(10.0 * 64 / (48 * EI), m_beam->GetLocalDispl(2, 5), 1e-12);
    // A linearly varying moment equals the same total as uniform plus rising parts.
    PrepareLoadSpan(8, EI, 1.0, 0.0);
    m_beam->calc_DistMoment_d(3, 0.0, 1.0, 4.0, 3.0);
    std::vector<double> split;
    for (int k = 0; k < 8; ++k) split.push_back(m_beam->GetLocalDispl(3, k));
    PrepareLoadSpan(8, EI, 1.0, 0.0);
    m_beam->calc_UniMnt_d(3, 0.0, 4.0, 1.0);
    m_beam->calc_DeclinedMnt_d(3, 0.0, 4.0, 2.0);
    for (int k = 0; k < 8; ++k) EXPECT_DOUBLE_EQ(split[k], m_beam->GetLocalDispl(3, k));
    EXPECT_NE(0.0, split[2]);
}

TEST_F(BeamDiagramTest, ShearPartAndZeroStiffness) {
    const double E = 2000.0, nu = 0.25, G = E / (2 * (1 + nu)), As = 0.5, L = 4.0;
    PrepareLoadSpan(8, E, 0.0, As);
    m_beam->calc_ShearDispl(2, 1, 2.0, 10.0, 0, 0);
    EXPECT_NEAR(10.0 * L / 4 / (G * As), m_beam->GetLocalDispl(2, 4), 1e-12);
    m_beam->calc_displ(2, 1, 2.0, 10.0, 0, 0);  // I = 0: no bending part
    EXPECT_NEAR(10.0 * L / 4 / (G * As), m_beam->GetLocalDispl(2, 4), 1e-12);

    PrepareLoadSpan(8, E, 0.0, As);
    m_beam->calc_ShearDispl(2, 3, 0.0, 1.0, 4.0, 1.0);  // uniform: M = q x (L - x) / 2
    EXPECT_NEAR(1.0 * 1.0 * 3.0 / 2 / (G * As), m_beam->GetLocalDispl(2, 2), 1e-12);
    m_beam->calc_ShearDispl(2, 2, 2.0, 10.0, 0, 0);  // moments have no shear part
    EXPECT_NEAR(1.5 / (G * As), m_beam->GetLocalDispl(2, 2), 1e-12);

    struct Row { const char* label; double E, I, As; };
    const Row none[] = {{"E = 0", 0.0, 1.0, 1.0}, {"I = 0 and As = 0", 1000.0, 0.0, 0.0}};
    for (const Row& r : none) {
        SCOPED_TRACE(r.label);
        PrepareLoadSpan(8, r.E, r.I, r.As);
        m_beam->calc_displ(2, 1, 2.0, 10.0, 0, 0);
        m_beam->calc_displ(2, 3, 0.0, 1.0, 4.0, 2.0);
        m_beam->calc_ShearDispl(2, 1, 2.0, 10.0, 0, 0);
        for (int k = 0; k < 8; ++k) EXPECT_EQ(0.0, m_beam->GetLocalDispl(2, k)) << k;
    }
    // Before any span was built nothing is added anywhere.
    CBeamDiagram_PVX fresh;
    fresh.SetMaterial(E, nu);
    fresh.SetSection(2, 1.0, 1.0);
    fresh.calc_displ(2, 3, 0.0, 1.0, 4.0, 1.0);
    EXPECT_EQ(0.0, fresh.GetLocalDispl(2, 0));
}

TEST_F(BeamDiagramTest, SegmentShearAndMoment) {
    m_beam->InitBeamSFBM();
    m_beam->GetBoundaries(2).Add(0.0);
    m_beam->CalcSFBMDetail(2);  // one boundary: no segment
    EXPECT_EQ(0, m_beam->GetSFBMList(2, 0).GetSize());

    m_beam->GetBoundaries(2).Add(2.0);
    m_beam->GetBoundaries(2).Add(3.0);
    m_beam->DistEQ(0, 2.0, 2, 3);
    m_beam->ConForce(1, 1.0, 2);
    m_beam->DistNEQ_Inc(1, 6.0, 2, 3);  // c3 = 6 / (6 x 1)
    m_beam->CalcSFBMDetail(2);
    const auto V = [&](int g, int s) { return m_beam->GetSFBMList(2, g)[s]; };
    struct Row { const char* label; int g, s; double want; };
    const Row rows[] = {
        {"start shear", 0, 0, 0.0}, {"mid shear", 1, 0, 2.0}, {"end shear", 2, 0, 4.0},
        {"start moment", 3, 0, 0.0}, {"mid moment", 4, 0, 1.0}, {"end moment", 5, 0, 4.0},
        {"segment 2 start shear carries 4 + 1", 0, 1, 5.0}, {"segment 2 start moment carries 4", 3, 1, 4.0},
        {"segment 2 end shear", 2, 1, 5.0 + 3.0}, {"segment 2 end moment", 5, 1, 4.0 + 5.0 + 1.0},
        {"mid position", 7, 1, 2.5}, {"end position", 8, 1, 3.0},
    };
    for (const Row& r : rows) EXPECT_DOUBLE_EQ(r.want, V(r.g, r.s)) << r.label;

    // A new build starts from zero coefficients in every segment, the first included.
    m_beam->InitBeamSFBM();
    m_beam->GetBoundaries(2).Add(0.0);
    m_beam->GetBoundaries(2).Add(2.0);
    m_beam->CalcSFBMDetail(2);
    EXPECT_EQ(0.0, V(2, 0));
    EXPECT_EQ(0.0, V(5, 0));
    // Loads on a segment without length and out-of-range segments are ignored.
    m_beam->DistNEQ_Dec(5, 1.0, 2, 3);
    m_beam->ConForce(-1, 1.0, 2);
    m_beam->ConForce(CBeamDiagram_PVX::MAX_SEGMENT, 1.0, 2);

    EXPECT_DOUBLE_EQ(2.0, CBeamDiagram_PVX::interpolate(0, 2, 1, 3, 1));
    EXPECT_DOUBLE_EQ(7.0, CBeamDiagram_PVX::interpolate(1, 1, 7, 9, 1));
}

TEST_F(BeamDiagramTest, SectionStresses) {
    CArray<double, double> cols[9];
    const double k[2][9] = {{1, 1, 0, 0, 0, 0, 0, 0, 0}, {2, 0, 1, 0, 0, 0, 0, 0.5, 0.25}};
    for (const auto& row : k)
        for (int j = 0; j < 9; ++j) cols[j].Add(row[j]);
    m_beam->SetSetStressData(cols);
    ASSERT_EQ(2, m_beam->GetStressRowCount());
    const double F[6] = {3, 2, 0, 0, 4, 8};
    const int all[6] = {1, 1, 1, 1, 1, 1};
    // Point 0: s = 3, t1 = 2, t2 = 0. Point 1: s = 6 - 2 + 2 = 6, t1 = 0, t2 = 2.
    struct Row { int kind; double p0, p1; };
    const double r1 = std::sqrt(36.0 + 16.0);
    const Row rows[] = {
        {0, 3, 6}, {1, 2, 0}, {2, 0, 2}, {4, 2.5, 0.5 * r1}, {5, 4, (6 + r1) / 2}, {6, -1, (6 - r1) / 2},
        {3, std::sqrt(21.0), std::sqrt((r1 * r1 + ((6 + r1) / 2) * ((6 + r1) / 2) + ((6 - r1) / 2) * ((6 - r1) / 2)) / 2)},
        {9, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << r.kind);
        double out[2] = {-99, -99};
        EXPECT_EQ(2, m_beam->GetSectStrsByPos_Sub(r.kind, all, out, F));
        EXPECT_NEAR(r.p0, out[0], 1e-12);
        EXPECT_NEAR(r.p1, out[1], 1e-12);
    }
    const int noShear[6] = {1, 0, 1, 1, 0, 1};
    double out[2];
    m_beam->GetSectStrsByPos_Sub(0, noShear, out, F);
    EXPECT_DOUBLE_EQ(8.0, out[1]);  // 2 x 3 + 0.25 x 8
    m_beam->GetSectStrsByPos_Sub(1, noShear, out, F);
    EXPECT_DOUBLE_EQ(0.0, out[0]);

    double mm[2];
    const double one = -4.5, many[4] = {1, -2, 7, 3};
    EXPECT_EQ(1, CBeamDiagram_PVX::GetMaxStress(mm, &one, 1));
    EXPECT_EQ(-4.5, mm[0]);
    EXPECT_EQ(-4.5, mm[1]);
    EXPECT_EQ(1, CBeamDiagram_PVX::GetMaxStress(mm, many, 4));
    EXPECT_EQ(7.0, mm[0]);
    EXPECT_EQ(-2.0, mm[1]);
    EXPECT_EQ(0, CBeamDiagram_PVX::GetMaxStress(mm, many, 0));

    CArray<double, double> empty[9];
    m_beam->SetSetStressData(empty);
    EXPECT_EQ(0, m_beam->GetStressRowCount());

    // A beam with material and section gets n zero rows; anything else keeps the table.
    m_beam->SetSetStressData(cols);
    EXPECT_EQ(0, m_beam->SetBeamSect_ForStress(9, 0, 3, nullptr, 0, nullptr));   // no material
    EXPECT_EQ(0, m_beam->SetBeamSect_ForStress(kColumn, 0, 3, nullptr, 0, nullptr));
    EXPECT_EQ(0, m_beam->SetBeamSect_ForStress(6, 0, -1, nullptr, 0, nullptr));
    EXPECT_EQ(2, m_beam->GetStressRowCount());
    ASSERT_EQ(1, m_beam->SetBeamSect_ForStress(6, 0, 3, nullptr, 0, nullptr));
    ASSERT_EQ(3, m_beam->GetStressRowCount());
    for (int r = 0; r < 3; ++r)
        for (int j = 0; j < 9; ++j) EXPECT_EQ(0.0, m_beam->GetStressCoef(r, j));
}

TEST_F(BeamDiagramTest, ElementForcesFromSegments) {
    // Direction 2: uniform load w = 2 on [0, 2], then a point force jump of 1 on [2, 3].
    m_beam->InitBeamSFBM();
    for (double x : {0.0, 2.0, 3.0}) m_beam->GetBoundaries(2).Add(x);
    m_beam->DistEQ(0, 2.0, 2, 3);
    m_beam->ConForce(1, 1.0, 2);
    m_beam->CalcSFBMDetail(2);
    // Direction 1: constant axial force 7 on [0, 3].
    for (double x : {0.0, 3.0}) m_beam->GetBoundaries(1).Add(x);
    m_beam->ConForce(0, 7.0, 1);
    m_beam->CalcSFBMDetail(1);

    struct Row { const char* label; double pos; double V2, M2, N; };
    const Row rows[] = {
        {"start", 0.0, 0.0, 0.0, 7.0},
        {"between start and middle", 0.5, 1.0, 0.5, 7.0},  // V = 2x (exact), M linear between 0 and 1
        {"middle of segment 1", 1.0, 2.0, 1.0, 7.0},
        {"first boundary takes the first segment", 2.0, 4.0, 4.0, 7.0},
        {"end", 3.0, 5.0, 9.0, 7.0},
        {"beyond the span", 3.5, 0.0, 0.0, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        double F[6];
        m_beam->GetElemForce(r.pos, F);
        EXPECT_DOUBLE_EQ(r.N, F[0]);
        EXPECT_DOUBLE_EQ(r.V2, F[1]);
        EXPECT_DOUBLE_EQ(r.M2, F[5]);
        EXPECT_EQ(0.0, F[2]);
        EXPECT_EQ(0.0, F[4]);
    }
    double left[6], right[6];
    m_beam->GetElemForce2(2.0, left, right);
    EXPECT_DOUBLE_EQ(4.0, left[1]);
    EXPECT_DOUBLE_EQ(5.0, right[1]);  // the jump of the point force
    EXPECT_DOUBLE_EQ(4.0, right[5]);

    // Stresses at a position: normal stress from the axial force and the moment about z.
    CArray<double, double> cols[9];
    const double k[9] = {0.5, 0, 0, 0, 0, 0, 0, 0, 2.0};
    for (int j = 0; j < 9; ++j) cols[j].Add(k[j]);
    m_beam->SetSetStressData(cols);
    const int all[6] = {1, 1, 1, 1, 1, 1};
    double out[1], F[6];
    ASSERT_EQ(1, m_beam->GetSectStrsByPos(3.0, 0, all, out, F));
    EXPECT_DOUBLE_EQ(0.5 * 7.0 + 2.0 * 9.0, out[0]);

    // Stress walk: points with s = M about z and t1 = V along y (two points, one mirrored).
    CArray<double, double> c2[9];
    const double pts[2][9] = {{0, 1, 0, 0, 0, 0, 0, 0, 1}, {0, -1, 0, 0, 0, 0, 0, 0, -1}};
    for (const auto& p : pts)
        for (int j = 0; j < 9; ++j) c2[j].Add(p[j]);
    m_beam->SetSetStressData(c2);
    ASSERT_EQ(4, m_beam->MakeBeamMaxStress(1, all));
    struct Walk { double pos, lmax, lmin, rmax, rmin; };
    const Walk walk[] = {{1.0, 2, -2, 2, -2}, {2.0, 4, -4, 5, -5}, {2.5, 5, -5, 5, -5}, {3.0, 5, -5, 5, -5}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        const auto& r = m_beam->GetStressResult(i);
        EXPECT_DOUBLE_EQ(walk[i].pos, r.pos);
        EXPECT_DOUBLE_EQ(walk[i].lmax, r.v[0]);
        EXPECT_DOUBLE_EQ(walk[i].lmin, r.v[1]);
        EXPECT_DOUBLE_EQ(walk[i].rmax, r.v[2]);
        EXPECT_DOUBLE_EQ(walk[i].rmin, r.v[3]);
    }
    ASSERT_EQ(4, m_beam->MakeBeamMaxStress(0, all));
    EXPECT_DOUBLE_EQ(6.5, m_beam->GetStressResult(2).v[0]);  // moment 5 xi + 4 at the middle of [2, 3]
    m_beam->InitBeamSFBM();
    EXPECT_EQ(0, m_beam->MakeBeamMaxStress(0, all));
}

TEST_F(BeamDiagramTest, SectionConstants) {
    // Stiffness set s (1..3) holds 100 s + v at value v (1..13).
    struct Row { const char* label; UINT elem; double I2, I3, As2, As3; };
    const Row rows[] = {
        {"type 1: first set", 6, 106, 105, 102, 103},
        {"type 5: sets 1 and 2 averaged", 7, 156, 155, 152, 153},
        {"other types: third set", 8, 306, 305, 302, 303},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ASSERT_EQ(1, m_beam->SetProperties(r.elem, 0));
        EXPECT_DOUBLE_EQ(r.I2, m_beam->GetI(2));
        EXPECT_DOUBLE_EQ(r.I3, m_beam->GetI(3));
        EXPECT_DOUBLE_EQ(r.As2, m_beam->GetAs(2));
        EXPECT_DOUBLE_EQ(r.As3, m_beam->GetAs(3));
        EXPECT_DOUBLE_EQ(3.0e7, m_beam->GetE());
        EXPECT_DOUBLE_EQ(3.0e7 / 2.4, m_beam->GetG());
    }
    EXPECT_EQ(0, m_beam->SetProperties(9, 0));
    EXPECT_EQ(0, m_beam->SetProperties(kMissing, 0));

    // The tapered section record given in is left as it was.
    T_PSECT_D sec;
    sec.Initialize();
    sec.type = 5;
    sec.stiff[0].d[0] = 2.0;
    sec.stiff[1].d[0] = 4.0;
    T_PMATL_D m;
    m.Initialize();
    m.E = 10.0;
    const T_PSECT_STIFFNESS* st = m_beam->GetProperStiffness(sec, m, 0);
    EXPECT_DOUBLE_EQ(3.0, st->d[0]);
    EXPECT_DOUBLE_EQ(2.0, sec.stiff[0].d[0]);
    EXPECT_DOUBLE_EQ(5.0, m_beam->GetG());
}

TEST_F(BeamDiagramTest, CombinationBuilders) {
    T_PLCOM_D lc, env;
    lc.Initialize();
    lc.type = PLCOM_LINEAR;
    lc.AddEntry(PLOAD_STATIC, 1, 1.0);
    env = lc;
    env.type = PLCOM_ENVELOPE;
    const T_PLCOM_D before = m_doc.GetPostCtrl()->GetSelectedLoadComb();
    CArray<unsigned int, unsigned int> line;
    line.Add(kBeamX);
    line.Add(kBeamShort);

    EXPECT_EQ(0, m_beam->MakeBeamSFBM(kBeamX, lc, 10));
    EXPECT_EQ(0, m_beam->SetBeamDiagram(kBeamX, lc, 5, 2));
    EXPECT_EQ(0, m_beam->SetBeamDiagram_Line(line, lc, 1.0, 2));
    EXPECT_EQ(0, m_beam->SetBeamDiagram_Line(line, lc, 0.0, 2));  // no spacing: refused, no division by 0
    EXPECT_TRUE(CUiDriver::Get().MessageBoxes().empty());
    EXPECT_EQ(0, std::memcmp(&before, &m_doc.GetPostCtrl()->GetSelectedLoadComb(), sizeof(T_PLCOM_D)));

    struct Row { const char* label; std::function<int()> call; };
    const Row rows[] = {
        {"MakeBeamSFBM", [&] { return m_beam->MakeBeamSFBM(kBeamX, env, 10); }},
        {"SetBeamDiagram", [&] { return m_beam->SetBeamDiagram(kBeamX, env, 5, 2); }},
        {"SetBeamDiagram_Line", [&] { return m_beam->SetBeamDiagram_Line(line, env, 1.0, 2); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CUiDriver::Get().ClearMessageBoxes();
        EXPECT_EQ(0, r.call());
        EXPECT_EQ(1u, CUiDriver::Get().MessageBoxes().size());  // one refusal per call
    }
}

}  // namespace

TEST_F(BeamDiagramTest, RigidEndZonesOfTheHostRecord) {
    // End i turned by 0.01 about local z and 0.02 about local y (local axes = global axes), no
    // translation. A rigid arm of length x turned by t moves sin(t) x: +y for a turn about z,
    // -z for a turn about y. The flexible spans are 10 - 1.5 - 0.5 = 8 and 10 - 1 - 2 = 7.
    ASSERT_EQ(1, m_beam->MakeBeamDispl(kBeamRigid, Disp(0, 0, 0, 0, 0.02, 0.01), Disp(0, 0, 0, 0, 0, 0), 10, 2, 1.0));
    EXPECT_DOUBLE_EQ(8.0, m_beam->GetLength(2));
    EXPECT_DOUBLE_EQ(7.0, m_beam->GetLength(3));
    // Stations 0, 1, 1.5, 2 .. 9, 9.5, 10: the zone ends 1.5, 9.5 (direction 2), 1 and 8
    // (direction 3) are stations.
    ASSERT_EQ(13, m_beam->GetStationCount());
    struct Row {
        const char* label;
        int d, start, end;
    } const spans[] = {{"direction 2", 2, 2, 11}, {"direction 3", 3, 1, 9}};
    for (const Row& r : spans) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(r.start, m_beam->GetSpanStart(r.d));
        EXPECT_EQ(r.end, m_beam->GetSpanEnd(r.d));
    }
    EXPECT_DOUBLE_EQ(1.5, m_beam->GetStationPos(2));
    EXPECT_DOUBLE_EQ(9.5, m_beam->GetStationPos(11));
    // Arms in m, deflections in mm (the database's units): 1000 sin(t) x.
    EXPECT_NEAR(1000.0 * std::sin(0.01) * 1.0, m_beam->GetLocalDispl(2, 1), 1e-9) << "inside the zone at x = 1";
    EXPECT_NEAR(1000.0 * std::sin(0.01) * 1.5, m_beam->GetLocalDispl(2, 2), 1e-9) << "end of the zone";
    EXPECT_NEAR(-1000.0 * std::sin(0.02) * 1.0, m_beam->GetLocalDispl(3, 1), 1e-9) << "end of the zone";
    EXPECT_EQ(0.0, m_beam->GetLocalDispl(2, 12)) << "end j does not move";
}
