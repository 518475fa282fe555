// The engine's lists, getters, setters, key lookups and reading-direction test, and its place in
// the model (re-initialised by UpdateEngines, deleted by ResetEngines).
#include <functional>
#include <string>
#include <vector>

#include "tests/module/designdata/DesignDataTestSupport.h"

namespace designdata {

// A fresh engine: every switch and extreme is zero, the diagram factors 1, the contour style 1,
// and every getter returns 0 and empties a caller container that held records before.
TEST_F(DesignDataTest, FreshEngineHandsOutNothing) {
    DesignDataProbe d(m_model.get());
    EXPECT_EQ(d.m_bShowNumber, 0);
    EXPECT_EQ(d.m_bShowDiagram, 0);
    EXPECT_EQ(d.m_bAsColumn + d.m_bAsBeam + d.m_bAsWallBeam + d.m_bAsWall + d.m_bAsSlab, 0);
    EXPECT_EQ(d.m_bWBeamSteelRow + d.m_bWBeamStirrupRow + d.m_nCForcSel[0] + d.m_nCForcSel[1], 0);
    EXPECT_EQ(d.m_dACRMax, 0.0);
    EXPECT_EQ(d.m_dACRMin, 0.0);
    EXPECT_EQ(d.m_nACRMaxKey, 0u);
    EXPECT_EQ(d.m_nACRMinKey, 0u);
    EXPECT_EQ(d.m_dDgmFactor, 1.0);
    EXPECT_EQ(d.m_dBeamDgmScale, 1.0);
    EXPECT_EQ(d.m_bContourStyle, 1);
    EXPECT_EQ(d.m_pContourEngine, nullptr);

    // Each getter on a caller array of three records: its result and the array's size after.
    auto run = [](auto& arr, int, auto getter) {
        arr.SetSize(3);
        const int r = getter(arr);
        return std::pair<int, INT_PTR>(r, arr.GetSize());
    };
    std::vector<std::pair<const char*, std::pair<int, INT_PTR>>> got;
    {
        CArray<T_AXIAL_COMP_R, T_AXIAL_COMP_R&> a;
        got.push_back({"GetAxialCompR", run(a, 0, [&](auto& x) { return d.GetAxialCompR(x); })});
        CArray<T_COLM_AS, T_COLM_AS&> b;
        got.push_back({"GetColmAs", run(b, 0, [&](auto& x) { return d.GetColmAs(x); })});
        CArray<T_BEAM_AS, T_BEAM_AS&> c;
        got.push_back({"GetBeamAs", run(c, 0, [&](auto& x) { return d.GetBeamAs(x); })});
        CArray<T_WBEM_AS, T_WBEM_AS&> e;
        got.push_back({"GetWallBAs", run(e, 0, [&](auto& x) { return d.GetWallBAs(x); })});
        CArray<T_WALL_AS, T_WALL_AS&> f;
        got.push_back({"GetWallCAs", run(f, 0, [&](auto& x) { return d.GetWallCAs(x); })});
        CArray<T_SFORCE_D, T_SFORCE_D&> g;
        got.push_back({"GetSlabAs", run(g, 0, [&](auto& x) { return d.GetSlabAs(x); })});
        got.push_back({"GetSforce", run(g, 0, [&](auto& x) { return d.GetSforce(x); })});
        got.push_back({"GetSCrack", run(g, 0, [&](auto& x) { return d.GetSCrack(x); })});
        CArray<T_BCRACK_D, T_BCRACK_D&> h;
        got.push_back({"GetBCrack", run(h, 0, [&](auto& x) { return d.GetBCrack(x); })});
        CArray<T_DEFORM_D, T_DEFORM_D&> i;
        got.push_back({"GetSDeform", run(i, 0, [&](auto& x) { return d.GetSDeform(x); })});
        CArray<T_WCOLM_FORC, T_WCOLM_FORC&> j;
        got.push_back({"GetWallCForcD", run(j, 0, [&](auto& x) { return d.GetWallCForcD(x); })});
        CArray<T_SWALL_D, T_SWALL_D&> k;
        got.push_back({"GetSWallSteelNodeD", run(k, 0, [&](auto& x) { return d.GetSWallSteelNodeD(x); })});
        CArray<T_DIAGRAM_D, T_DIAGRAM_D&> l;
        got.push_back({"GetDiagramData", run(l, 0, [&](auto& x) { return d.GetDiagramData(x); })});
        CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&> m;
        got.push_back({"GetBForcD", run(m, 0, [&](auto& x) { return d.GetBForcD(x); })});
        got.push_back({"GetCForcData", run(m, 0, [&](auto& x) { return d.GetCForcData(x); })});
    }
    for (const auto& [name, r] : got) {
        SCOPED_TRACE(name);
        EXPECT_EQ(r.first, 0);
        EXPECT_EQ(r.second, 0);
    }
    CMap<UINT, UINT, T_SNODE_D, T_SNODE_D&> nodes;
    nodes[3] = T_SNODE_D{};
    EXPECT_EQ(d.GetSnodeD(nodes), 0);
    EXPECT_TRUE(nodes.IsEmpty());
    CFigureDesignData::BaseShearMap shear;
    shear[4] = T_BASE_SHEAR_D{};
    EXPECT_EQ(d.GetmBaseShear(shear), 0);
    EXPECT_TRUE(shear.IsEmpty());
    CFigureDesignData::ModeGraphMap g1, g2;
    EXPECT_EQ(d.GetModeGraphData(g1, g2), 0);
    EXPECT_EQ(d.MakeBaseColumnForceData(shear), 0);
    EXPECT_EQ(d.MakeBeamBM_SFDataList(), 0);
}

// The getters copy every record in order; GetBForcD and GetCForcData hand out the same list;
// the map getters copy every key.
TEST_F(DesignDataTest, GettersCopyEveryRecordInOrder) {
    DesignDataProbe d(m_model.get());
    for (UINT k = 1; k <= 3; ++k) {
        T_AXIAL_COMP_R a;
        a.nKey = k;
        a.dRatio1 = 0.1 * k;
        d.m_arrAxialCompR.Add(a);
        T_PVX_BFORC_D f;
        f.nMembKey = 10 * k;
        f.dForce[9] = k;
        d.m_arrCForc.Add(f);
    }
    CArray<T_AXIAL_COMP_R, T_AXIAL_COMP_R&> acr;
    ASSERT_EQ(d.GetAxialCompR(acr), 1);
    ASSERT_EQ(acr.GetSize(), 3);
    CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&> b1, b2;
    ASSERT_EQ(d.GetBForcD(b1), 1);
    ASSERT_EQ(d.GetCForcData(b2), 1);
    ASSERT_EQ(b1.GetSize(), 3);
    ASSERT_EQ(b2.GetSize(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("record " + std::to_string(i));
        EXPECT_EQ(acr[i].nKey, static_cast<UINT>(i + 1));
        EXPECT_DOUBLE_EQ(acr[i].dRatio1, 0.1 * (i + 1));
        EXPECT_EQ(b1[i].nMembKey, b2[i].nMembKey);
        EXPECT_EQ(b1[i].dForce[9], b2[i].dForce[9]);
        EXPECT_EQ(b1[i].nMembKey, static_cast<UINT>(10 * (i + 1)));
    }
    CMap<UINT, UINT, T_SNODE_D, T_SNODE_D&> nodes;
    CArray<T_SWALL_D, T_SWALL_D&> walls;
    T_SNODE_D n;
    n.d[2] = 7.5;
    nodes[12] = n;
    d.SetSideWallSteel(walls, nodes);
    CMap<UINT, UINT, T_SNODE_D, T_SNODE_D&> out;
    ASSERT_EQ(d.GetSnodeD(out), 1);
    T_SNODE_D back;
    ASSERT_TRUE(out.Lookup(12, back));
    EXPECT_EQ(back.d[2], 7.5);
}

// Key lookups: a present key copies its record, an absent one returns 0 and leaves the out-record.
TEST_F(DesignDataTest, KeyLookupsCopyOrLeaveTheRecord) {
    DesignDataProbe d(m_model.get());
    CArray<T_SFORCE_D, T_SFORCE_D&> list;
    CMap<UINT, UINT, T_SMOMENT_D, T_SMOMENT_D&> map;
    T_SMOMENT_D m;
    m.d[0] = 1.5;
    m.nKey = 30;
    map[30] = m;
    d.SetSlabForce(list, map);
    d.SetSlabCrack(list, map);
    d.m_mapSlabAsMoment.SetAt(30, m);
    T_BEAM_SD steel;
    steel.dVal[2][4] = 9.0;
    d.m_mapBeamSteel.SetAt(20, steel);
    struct Row {
        const char* name;
        std::function<int(UINT, T_SMOMENT_D&)> get;
    };
    const Row rows[] = {
        {"GetSMomentD", [&](UINT k, T_SMOMENT_D& o) { return d.GetSMomentD(k, o); }},
        {"GetCrackSMomentD", [&](UINT k, T_SMOMENT_D& o) { return d.GetCrackSMomentD(k, o); }},
        {"GetSlabAsSMomentD", [&](UINT k, T_SMOMENT_D& o) { return d.GetSlabAsSMomentD(k, o); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        T_SMOMENT_D out;
        out.d[0] = -3.0;
        EXPECT_EQ(r.get(31, out), 0);
        EXPECT_EQ(out.d[0], -3.0);
        EXPECT_EQ(r.get(30, out), 1);
        EXPECT_EQ(out.d[0], 1.5);
        EXPECT_EQ(out.nKey, 30u);
    }
    T_BEAM_SD out;
    out.dVal[2][4] = -1.0;
    EXPECT_EQ(d.GetBeamSteel(21, out), 0);
    EXPECT_EQ(out.dVal[2][4], -1.0);
    EXPECT_EQ(d.GetBeamSteel(20, out), 1);
    EXPECT_EQ(out.dVal[2][4], 9.0);
}

// Reading direction: by x beyond 1e-10, else by y.
TEST(DesignDataGeometry, IsInverseByXThenY) {
    struct Row {
        C3DPoint a, b;
        int want;
    };
    const Row rows[] = {
        {{0, 0, 0}, {-1, 5, 0}, 1},     // second point left of the first
        {{0, 0, 0}, {1e-11, -1, 0}, 1}, // x within 1e-10: the first lies above
        {{0, 0, 0}, {0, 0, 0}, 0},      // equal points
        {{0, 0, 0}, {1, -5, 0}, 0},     // second point right of the first
        {{0, 2, 0}, {0, 3, 0}, 0},      // same x, second above
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.b.x) + ", " + std::to_string(r.b.y));
        EXPECT_EQ(CFigureDesignData::IsInverse(r.a, r.b), r.want);
    }
}

// The setters reach every list the builders do not fill; a text list out of range changes nothing.
TEST_F(DesignDataTest, SettersFillTheHostLists) {
    DesignDataProbe d(m_model.get());
    CArray<T_BEAM_BM, T_BEAM_BM&> env;
    env.SetSize(2);
    d.SetEnvelopeList(env);
    d.SetSecondEnvelopeList(env);
    CArray<T_TEXT_VALUE, T_TEXT_VALUE&> texts;
    texts.SetSize(3);
    for (int n = -1; n <= CFigureDesignData::kTextLists; ++n) d.SetTextLabelList(n, texts);
    T_STRG_D f{};
    f.d[4] = 2.0;
    d.SetBeamForce(20, f);
    d.SetBeamDisp(20, T_BEAM_DISP{});
    CArray<T_BCRACK_D, T_BCRACK_D&> cracks;
    cracks.SetSize(1);
    d.SetBeamCrack(cracks);
    CArray<T_BCRACK_D, T_BCRACK_D&> cracksOut;
    EXPECT_EQ(d.GetBCrack(cracksOut), 1);
    EXPECT_EQ(d.m_arrBeamBM.GetSize(), 2);
    EXPECT_EQ(d.m_arrBeamBM2.GetSize(), 2);
    for (int n = 0; n < CFigureDesignData::kTextLists; ++n) EXPECT_EQ(d.m_arrTextValue[n].GetSize(), 3) << n;
    EXPECT_EQ(d.m_mapBeamForce.GetCount(), 1);
    EXPECT_EQ(d.m_mapBeamDisp.GetCount(), 1);
}

// The model owns the engine: UpdateEngines re-initialises it (it takes the document), and
// ResetEngines deletes it and clears the pointer.
TEST_F(DesignDataTest, ModelReinitialisesAndDeletesTheEngine) {
    m_design->m_pDBDoc = nullptr;
    m_model->UpdateEngines(-1);
    EXPECT_EQ(m_design->m_pDBDoc, &m_doc);
    m_model->ResetEngines();
    EXPECT_EQ(m_model->m_pDesignData, nullptr);
}

}  // namespace designdata
