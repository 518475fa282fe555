// The design-result controller over the design tables, and the builders of the beam steel map,
// the axial-compression list and the beam envelopes.
#include <cfloat>
#include <string>

#include "host/db/CPostCtrl4Dgn.h"
#include "tests/module/designdata/DesignDataTestSupport.h"

namespace designdata {

// Stored rows come back with the member key; the zone form takes the largest of stations 0-2,
// 3-5 and 6-8 (beam 20: top 9 1 2 | 5 3 5 | 1 0 10 -> 9, 5, 10; stirrups 1 1 1 | 1 1 1 | 1 7 1
// -> 1, 1, 7); the wrong member type, a missing row or a kind other than 0 give 0 and key 0.
TEST_F(DesignDataTest, ControllerReadsTheDesignTables) {
    CPostCtrl4Dgn* dgn = CPostCtrl4Dgn::GetPostCtrl4DgnPtr_ST();
    ASSERT_NE(dgn, nullptr);
    T_RBEM_D st;
    ASSERT_EQ(dgn->ReadConcreteDesignResultBeam(kBeamA, st, 0), 1);
    EXPECT_EQ(st.nKey, static_cast<UINT>(kBeamA));
    EXPECT_EQ(st.base[8].dAsTop, 10.0);
    T_RBEM_D z;
    ASSERT_EQ(dgn->GetBeamMaxResult(kBeamA, z, 0), 1);
    const double wantTop[3] = {9, 5, 10}, wantAsv[3] = {1, 1, 7}, wantBot[3] = {4, 1, 1};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("zone " + std::to_string(i));
        EXPECT_EQ(z.base[i].dAsTop, wantTop[i]);
        EXPECT_EQ(z.base[i].dAsBot, wantBot[i]);
        EXPECT_EQ(z.base[i].dAsv, wantAsv[i]);
    }
    EXPECT_EQ(z.base[3].dAsTop, 0.0);
    EXPECT_EQ(z.shear[1].dAsv, 4.0);

    struct Miss {
        const char* name;
        int result;
        UINT key;
    };
    T_RBEM_D r1, r2, r3;
    T_RCOL_D c1, c2;
    const Miss misses[] = {
        {"wall beam query of a beam", dgn->GetWBeamMaxResult(kBeamA, r1, 0), r1.nKey},
        {"beam query of a column", dgn->GetBeamMaxResult(kColA, r2, 0), r2.nKey},
        {"beam kind 1", dgn->ReadConcreteDesignResultBeam(kBeamA, r3, 1), r3.nKey},
        {"column without row", dgn->GetColmMaxResult(kColNoResult, 0, c1), c1.nKey},
        {"column kind 2", dgn->GetColmMaxResult(kColA, 2, c2), c2.nKey},
    };
    for (const Miss& m : misses) {
        SCOPED_TRACE(m.name);
        EXPECT_EQ(m.result, 0);
        EXPECT_EQ(m.key, 0u);
    }
}

// Ratio parts by kind: 1 and 2 the axial-compression ratios with their load case; 0 and 5 none.
TEST_F(DesignDataTest, ControllerColumnFactorsByKind) {
    CPostCtrl4Dgn* dgn = CPostCtrl4Dgn::GetPostCtrl4DgnPtr_ST();
    ASSERT_NE(dgn, nullptr);
    struct Row {
        int kind;
        int result;
        double factor;
        UINT load, block;
    };
    const Row rows[] = {{1, 1, 0.4, 101, 0}, {2, 1, 0.7, 102, 3}, {3, 1, 0.05, 0, 0}, {0, 0, 0.0, 0, 0}, {5, 0, 0.0, 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE("kind " + std::to_string(r.kind));
        UINT lc = 9, block = 9, kind = 9;
        T_RCOL_ELSE e;
        EXPECT_EQ(dgn->GetMaxColmElseFactors(kColA, lc, block, kind, e, r.kind), r.result);
        EXPECT_DOUBLE_EQ(e.dFactor, r.factor);
        EXPECT_EQ(lc, r.load);
        EXPECT_EQ(block, r.block);
    }
    CDBDoc* saved = CDBDoc::m_pDBDoc;
    CDBDoc::m_pDBDoc = nullptr;
    EXPECT_EQ(CPostCtrl4Dgn::GetPostCtrl4DgnPtr_ST(), nullptr);
    CDBDoc::m_pDBDoc = saved;
}

// Beam steel: interior station of each row's largest value (beam 20: top 9 1 2 5 3 5 1 0 10 ->
// station 3, the first of the equal 5s, not 0 or 8; bottom 0 4 4 ... -> 1; stirrups -> 7), the
// station points at k/8 of the member, the colour range over the top and bottom rows of both
// beams (0 .. 12; the stirrups' 7 takes no part) and the scale 40 / (12 x 20).
TEST_F(DesignDataTest, BeamSteelStationsRangeAndScale) {
    SetFigureMode(23);
    ASSERT_EQ(m_design->MakeBeamSteelDataList(), 1);
    struct Row {
        UINT key;
        int idx[3];
    };
    const Row rows[] = {{kBeamA, {3, 1, 7}}, {kBeamB, {1, 5, 1}}};
    for (const Row& r : rows) {
        SCOPED_TRACE("beam " + std::to_string(r.key));
        T_BEAM_SD sd;
        ASSERT_EQ(m_design->GetBeamSteel(r.key, sd), 1);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(sd.nMaxIdx[k], r.idx[k]) << "row " << k;
    }
    T_BEAM_SD a;
    ASSERT_EQ(m_design->GetBeamSteel(kBeamA, a), 1);
    EXPECT_EQ(a.dVal[0][8], 10.0);
    EXPECT_DOUBLE_EQ(a.pt[4].x, 4.0);  // midpoint of (0,0,3)-(8,0,3)
    EXPECT_DOUBLE_EQ(a.pt[1].x, 1.0);
    EXPECT_DOUBLE_EQ(a.pt[8].x, 8.0);
    ASSERT_NE(m_design->m_pContourEngine, nullptr);
    EXPECT_EQ(m_design->m_pContourEngine->m_dMinValue, 0.0);
    EXPECT_EQ(m_design->m_pContourEngine->m_dMaxValue, 12.0);
    EXPECT_DOUBLE_EQ(m_design->m_dBeamDgmScale, 40.0 / (12.0 * 20.0));
    EXPECT_EQ(m_design->m_arrBeamSD.GetSize(), 0);
}

// A model without beams reads no beam: the steel and envelope builds succeed without setting an
// inverted colour range or an infinite-width scale; the scale and range stay as they were.
TEST_F(DesignDataTest, BuildsWithoutBeamsSetNoRange) {
    struct Row {
        int mode;
    };
    const Row rows[] = {{23}, {35}, {36}};
    for (const Row& r : rows) {
        SCOPED_TRACE("mode " + std::to_string(r.mode));
        Open(true, false);
        SetFigureMode(r.mode);
        m_design->m_dBeamDgmScale = 3.0;
        ASSERT_EQ(r.mode == 23 ? m_design->MakeBeamSteelDataList() : m_design->MakeBeamBM_SFDataList_Envelope(), 1);
        EXPECT_EQ(m_design->m_mapBeamSteel.GetCount(), 0);
        EXPECT_EQ(m_design->m_pContourEngine, nullptr);
        EXPECT_EQ(m_design->m_dBeamDgmScale, 3.0);
    }
}

// Axial-compression ratios: column 10 (0.4, 0.7) then 11 (0.7, 0.2): the largest 0.7 stays with
// the first column, the smallest 0.2 goes to the second; column 12 has no result. Anchor: the
// last node; values 3 and 4: the largest compression and end moment.
TEST_F(DesignDataTest, AxialCompressionListAndExtremes) {
    ASSERT_EQ(m_design->MakeAxialCompRatioDataList(), 1);
    CArray<T_AXIAL_COMP_R, T_AXIAL_COMP_R&> list;
    ASSERT_EQ(m_design->GetAxialCompR(list), 1);
    ASSERT_EQ(list.GetSize(), 2);
    struct Row {
        UINT key;
        double r1, r2, n, m, x, y, z;
    };
    const Row rows[] = {{kColA, 0.4, 0.7, 900, 30, 0, 0, 3}, {kColB, 0.7, 0.2, 400, 12, 40, 10, 3}};
    for (int i = 0; i < 2; ++i) {
        const Row& r = rows[i];
        SCOPED_TRACE("column " + std::to_string(r.key));
        EXPECT_EQ(list[i].nKey, r.key);
        EXPECT_EQ(list[i].dRatio1, r.r1);
        EXPECT_EQ(list[i].dRatio2, r.r2);
        EXPECT_EQ(list[i].dValue3, r.n);
        EXPECT_EQ(list[i].dValue4, r.m);
        EXPECT_EQ(list[i].pt.x, r.x);
        EXPECT_EQ(list[i].pt.y, r.y);
        EXPECT_EQ(list[i].pt.z, r.z);
    }
    EXPECT_EQ(m_design->m_dACRMax, 0.7);
    EXPECT_EQ(m_design->m_nACRMaxKey, static_cast<UINT>(kColA));
    EXPECT_EQ(m_design->m_dACRMin, 0.2);
    EXPECT_EQ(m_design->m_nACRMinKey, static_cast<UINT>(kColB));
}

// Without any column result (an empty model of design results) the list is empty and the
// extremes stand at their starting values with no member; without a document the build fails
// but still leaves no extremes of the previous build behind.
TEST_F(DesignDataTest, AxialCompressionWithoutResultsResetsTheExtremes) {
    struct Row {
        const char* name;
        bool bDesign, bDocument;
        int result;
    };
    const Row rows[] = {{"no design tables", false, true, 1}, {"no document", true, false, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Open(r.bDesign, true);
        m_design->m_dACRMax = 0.9;
        m_design->m_nACRMaxKey = 10;
        m_design->m_nACRMinKey = 11;
        m_design->m_arrAxialCompR.SetSize(2);
        CDBDoc* saved = CDBDoc::m_pDBDoc;
        if (!r.bDocument) {
            CDBDoc::m_pDBDoc = nullptr;
            m_model->m_pDBDoc = nullptr;
        }
        EXPECT_EQ(m_design->MakeAxialCompRatioDataList(), r.result);
        CDBDoc::m_pDBDoc = saved;
        EXPECT_EQ(m_design->m_arrAxialCompR.GetSize(), 0);
        EXPECT_EQ(m_design->m_dACRMax, -DBL_MAX);
        EXPECT_EQ(m_design->m_dACRMin, DBL_MAX);
        EXPECT_EQ(m_design->m_nACRMaxKey, 0u);
        EXPECT_EQ(m_design->m_nACRMinKey, 0u);
    }
}

// Envelope range by figure mode: 35 the top and bottom rows (0 .. 12, scale from 12), 36 the
// stirrup row (1 .. 7, scale from 7); the inner-station indices as for the steel.
TEST_F(DesignDataTest, EnvelopeRangeByFigureMode) {
    struct Row {
        int mode;
        double lo, hi;
    };
    const Row rows[] = {{35, 0.0, 12.0}, {36, 1.0, 7.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE("mode " + std::to_string(r.mode));
        SetFigureMode(r.mode);
        ASSERT_EQ(m_design->MakeBeamBM_SFDataList_Envelope(), 1);
        ASSERT_NE(m_design->m_pContourEngine, nullptr);
        EXPECT_EQ(m_design->m_pContourEngine->m_dMinValue, r.lo);
        EXPECT_EQ(m_design->m_pContourEngine->m_dMaxValue, r.hi);
        EXPECT_DOUBLE_EQ(m_design->m_dBeamDgmScale, 40.0 / (r.hi * 20.0));
        T_BEAM_SD b;
        ASSERT_EQ(m_design->GetBeamSteel(kBeamB, b), 1);
        EXPECT_EQ(b.nMaxIdx[1], 5);  // bottom 0 1 2 3 4 6 5 3 12: station 8 is never chosen
    }
}

// Force components by the selector: 4 the moment, 2 the shear, any other 0; the 16-value
// extremes; MinMaxMembBForc moves an extreme only by a strictly larger (smaller) value.
TEST_F(DesignDataTest, BeamForceComponentsAndExtremes) {
    T_STRG_D f{};
    for (int s = 0; s < 8; ++s)
        for (int e = 0; e < 2; ++e) {
            f.d[12 * s + 6 * e + 2] = 10.0 * s + e;        // shear
            f.d[12 * s + 6 * e + 4] = -(10.0 * s + e);     // moment
        }
    struct Row {
        int sel;
        double at3end1, max, min;
    };
    const Row rows[] = {{4, -31.0, 0.0, -71.0}, {2, 31.0, 71.0, 0.0}, {1, 0.0, 0.0, 0.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE("selector " + std::to_string(r.sel));
        m_design->m_nCForcSel[0] = r.sel;
        EXPECT_EQ(m_design->CalcBForcValue(f, 3, 1), r.at3end1);
        EXPECT_EQ(m_design->GetMaxMembBForc(f), r.max);
        EXPECT_EQ(m_design->GetMinMembBForc(f), r.min);
    }
    m_design->m_nCForcSel[0] = 2;
    double hi = 71.0, lo = 5.0;
    m_design->MinMaxMembBForc(0, f, hi, lo);
    EXPECT_EQ(hi, 71.0);
    EXPECT_EQ(lo, 0.0);
}

// Plan diagrams lie along the member's second axis; in another view the axes stay.
TEST_F(DesignDataTest, PlanDiagramAxes) {
    struct Row {
        const char* name;
        double view[3][3];
        double third[3];
    };
    const Row rows[] = {
        {"plan", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {4, 5, 6}},
        {"plan with rounding noise", {{1, 0, 1e-17}, {0, 1, 0}, {0, 0, 1}}, {7, 8, 9}},
        {"elevation", {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}, {7, 8, 9}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        m_design->SetViewMatrix(r.view);
        double axes[3][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
        m_design->GetLclVec4BeamDgrm2D(0, axes);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(axes[2][c], r.third[c]);
    }
}

// The polyline of a force block: one point per station, at k/8 of i-j moved along the third axis
// by value x f, f = diagram factor x scale, negated for moments; station 0 from segment 0's start.
TEST_F(DesignDataTest, ForcePolylineOffsets) {
    T_STRG_D f{};
    for (int s = 0; s < 8; ++s) {
        f.d[12 * s + 4] = 1.0 * s;          // moment at the segment's start
        f.d[12 * s + 6 + 4] = 1.0 * s + 1;  // at its end
        f.d[12 * s + 2] = 2.0;
        f.d[12 * s + 6 + 2] = 2.0;
    }
    m_design->m_dDgmFactor = 1.0;
    m_design->m_dBeamDgmScale = 0.5;
    double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const C3DPoint pi(0, 0, 0), pj(8, 0, 0);
    struct Row {
        int sel;
        double z0, z2;  // offsets at stations 0 and 2: moment 0 and 2 x -0.5, shear 2 x 0.5
        int count;
    };
    const Row rows[] = {{4, 0.0, -1.0, 9}, {2, 1.0, 1.0, 9}, {3, 0.0, 0.0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE("selector " + std::to_string(r.sel));
        CArray<C3DPoint, C3DPoint&> pts;
        CArray<double, double> vals;
        double out4[4] = {9, 9, 9, 9};
        m_design->BSfdBmdMakePolyline(f, r.sel, axes, pi, pj, pts, vals, nullptr, 0, out4);
        ASSERT_EQ(pts.GetSize(), r.count);
        if (!r.count) {
            EXPECT_EQ(out4[0], 0.0);
            continue;
        }
        EXPECT_DOUBLE_EQ(pts[2].x, 2.0);
        EXPECT_DOUBLE_EQ(pts[2].z, r.z2);
        EXPECT_DOUBLE_EQ(pts[0].z, r.z0);
    }
}

}  // namespace designdata
