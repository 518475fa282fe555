// The host's slab forces across wall ends (CCuttingLine::GetWallDesignForce): a wall found by its
// plan line, its table forces per metre times the cut, combinations summed or enveloped, and
// every request it cannot answer refused with the values untouched.
#include <gtest/gtest.h>

#include <cmath>

#include "host/db/CCuttingLine.h"
#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"

namespace {

constexpr UINT kWall = 5, kDL = 1, kLL = 2, kSum = 10, kEnv = 11;

class SlabWallHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pSaved = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 3, 0, 0);
        b.AddNode(3, 6, 0, 0);
        b.AddMemb(kWall, 202, {1, 2, 3}, {});
        b.AddMemb(6, 201, {1, 3}, {});  // a beam on the same line is no wall
        b.AddLoadCase(kDL, PLOAD_STATIC, "DL");
        b.AddLoadCase(kLL, PLOAD_STATIC, "LL");
        b.AddLoadComb(kSum, PLCOM_LINEAR, "1.2DL+1.4LL", {T_PLCOM_ENTRY{PLOAD_STATIC, kDL, 1.2}, T_PLCOM_ENTRY{PLOAD_STATIC, kLL, 1.4}});
        b.AddLoadComb(kEnv, PLCOM_ENVELOPE, "ENV", {T_PLCOM_ENTRY{PLOAD_STATIC, kDL, 1.0}, T_PLCOM_ENTRY{PLOAD_STATIC, kLL, 1.0}});
        T_SWDF_D dl{{10.0, -4.0}, {6.0, 2.0}, 450};
        T_SWDF_D ll{{-20.0, 1.0}, {3.0, -1.0}, 450};
        b.AddResult<DBT_SWDF>(kDL, kWall, dl);
        b.AddResult<DBT_SWDF>(kLL, kWall, ll);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_slab.Add(100);
    }
    void TearDown() override { CDBDoc::m_pDBDoc = m_pSaved; }

    CDBDoc m_doc;
    CDBDoc* m_pSaved = nullptr;
    CArray<UINT, UINT> m_slab;
};

// Reinforcement for a moment M (kN·m) in a depth of 450 mm at 360 N/mm².
double Steel(double m) { return std::fabs(m) * 1e6 / (0.9 * 360.0 * 450.0); }

TEST_F(SlabWallHostTest, ForcesAcrossTheCut) {
    const T_LINE2D wall(T_POINT2D(0, 0), T_POINT2D(6, 0));
    struct Row {
        const char* label;
        int end;
        double cut;
        UINT load;
        int bCase;
        double m, v;  // expected across the cut
    } const rows[] = {
        {"DL first end, 1 m", 0, 1.0, kDL, 1, 10.0, 6.0},
        {"DL last end, 2 m", 1, 2.0, kDL, 1, -8.0, 4.0},
        {"1.2 DL + 1.4 LL first end", 0, 1.0, kSum, 0, 1.2 * 10.0 - 1.4 * 20.0, 1.2 * 6.0 + 1.4 * 3.0},
        // The envelope: the side of larger magnitude, value by value (moment of LL, shear of DL).
        {"envelope first end", 0, 1.0, kEnv, 0, -20.0, 6.0},
    };
    CCuttingLine c;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        double v[3] = {0, 0, 0};
        ASSERT_EQ(c.GetWallDesignForce(wall, r.end, r.cut, r.load, m_slab, v, r.bCase), 1);
        EXPECT_NEAR(v[0], r.m, 1e-9);
        EXPECT_NEAR(v[1], r.v, 1e-9);
        EXPECT_NEAR(v[2], Steel(r.m), 1e-9);
    }
}

TEST_F(SlabWallHostTest, RequestsWithoutAnAnswerChangeNothing) {
    const T_LINE2D wall(T_POINT2D(0, 0), T_POINT2D(6, 0));
    CArray<UINT, UINT> none;
    struct Row {
        const char* label;
        T_LINE2D line;
        int end;
        double cut;
        UINT load;
        int bCase;
        bool noSlab;
    } const rows[] = {
        {"end 2", wall, 2, 1.0, kDL, 1, false},
        {"cut of no length", wall, 0, 0.0, kDL, 1, false},
        {"cut not a number", wall, 0, std::nan(""), kDL, 1, false},
        {"no slab under the cut", wall, 0, 1.0, kDL, 1, true},
        {"no wall on the line (reversed)", T_LINE2D(T_POINT2D(6, 0), T_POINT2D(0, 0)), 0, 1.0, kDL, 1, false},
        {"a load case that is not one", wall, 0, 1.0, kSum, 1, false},
        {"no forces under the load", wall, 0, 1.0, 99, 1, false},
    };
    CCuttingLine c;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        double v[3] = {7, 7, 7};
        EXPECT_EQ(c.GetWallDesignForce(r.line, r.end, r.cut, r.load, r.noSlab ? none : m_slab, v, r.bCase), 0);
        EXPECT_EQ(v[0], 7.0);
        EXPECT_EQ(v[2], 7.0);
    }
    EXPECT_EQ(c.GetWallDesignForce(wall, 0, 1.0, kDL, m_slab, nullptr, 1), 0);
}

}  // namespace
