// Reaction, pressure, beam design force, displacement and rib queries on a project built in code,
// against hand sums of its REAC, STWS, MBWG, DISP and RIBF rows.
#include <gtest/gtest.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "host/check/IDesignToolUtil.h"
#include "host/db/CDataBase.h"
#include "host/db/DBTables.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"

namespace {

// Load cases 1 (dead) and 2 (live); combinations 11 = 1.2 LC1 + 1.4 LC2, 12 = 1.0 LC1 - 1.0 LC2
// and the envelope 20 (never a design combination).
struct Project {
    PostDBBuilder b;
    Project() {
        for (UINT n = 1; n <= 3; ++n) b.AddNode(n, n - 1.0, 0, 0);
        b.AddNode(4, 0, 2, 0);  // plate 3 (1, 2, 3, 4) encloses 2 m2
        b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2});
        b.AddElem(2, PELEM_KIND_FRAME, 201, {2, 3});
        b.AddElem(3, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        b.AddMemb(50, 201, {1, 2, 3}, {1, 2});
        // Member 51 has the same rows but belongs to the building above (no foundation member).
        b.AddMemb(51, 201, {1, 2, 3}, {1, 2});
        T_PMEMB_D pm = *b.DB().Table<DBT_PMEMB>().Find(50);
        pm.modelKey = 900;
        b.AddMemb(50, pm);
        T_MEMB_D fm;
        fm.type = MEMB_BEAM;
        b.Add<DBT_MEMB>(900, fm);
        b.AddLoadCase(1, PLOAD_STATIC, "D");
        b.AddLoadCase(2, PLOAD_STATIC, "L");
        b.AddLoadComb(11, PLCOM_LINEAR, "1.2D+1.4L", {{PLOAD_STATIC, 1, 1.2}, {PLOAD_STATIC, 2, 1.4}});
        b.AddLoadComb(12, PLCOM_LINEAR, "D-L", {{PLOAD_STATIC, 1, 1.0}, {PLOAD_STATIC, 2, -1.0}});
        b.AddLoadComb(20, PLCOM_ENVELOPE, "env", {{PLOAD_STATIC, 1, 1.0}, {PLOAD_STATIC, 2, 1.0}});
        // Reactions FZ (LC1 / LC2): node 1: 100 / 30, node 2: 200 / 50, node 3 none.
        Reac(1, 1, 100);
        Reac(2, 1, 30);
        Reac(1, 2, 200);
        Reac(2, 2, 50);  // (load case, node, FZ)
        // Displacements DZ (mm): node 2: -4 / -6, node 3: -3 / 10.
        Disp(1, 2, -4);
        Disp(2, 2, -6);
        Disp(1, 3, -3);
        Disp(2, 3, 10);
        // Plate pressures (4 node values): LC1 10,20,30,40; LC2 1,2,3,4.
        T_STWS_D s;
        s.Initialize();
        for (int i = 0; i < 4; ++i) s.d[i] = 10.0 * (i + 1);
        s.d[7] = 999;  // never read
        b.AddStws(1, 3, s);
        for (int i = 0; i < 4; ++i) s.d[i] = i + 1.0;
        b.AddStws(2, 3, s);
        // Beam 50 forces: LC1 station s component c = s + 10 c; LC2 = -(s + c).
        T_MBWG_D f;
        for (int st = 0; st < 9; ++st)
            for (int c = 0; c < 6; ++c) f.d[st][c] = st + 10.0 * c;
        b.AddMbwg(1, 50, f);
        for (int st = 0; st < 9; ++st)
            for (int c = 0; c < 6; ++c) f.d[st][c] = -(st + c);
        b.AddMbwg(2, 50, f);
        b.AddMbwg(2, 51, f);
    }
    void Reac(UINT lc, UINT node, double fz) {
        T_REAC_D r;
        r.Initialize();
        r.FZ = fz;
        r.FX = 1000;  // never summed
        b.AddReac(lc, node, r);
    }
    void Disp(UINT lc, UINT node, double dz) {
        T_DISP_D d;
        d.Initialize();
        d.DZ = dz;
        d.DX = 500;  // not vertical
        b.AddDisp(lc, node, d);
    }
};

}  // namespace

TEST(DesignQueries, ReactionOfElementOrMember) {
    Project p;
    IRactFinder* f = IRactFinder::Instance();
    f->SetDataBase(&p.b.DB());
    // Element 1 (nodes 1, 2): LC1 100 + 200 = 300, LC2 30 + 50 = 80; comb 11 = 1.2*300 + 1.4*80
    // = 472; comb 12 = 300 - 80 = 220. Member 50 (nodes 1, 2, 3; 3 has none) the same sums.
    // Key 0: the larger magnitude of 472 and 220 -> 472 in 11. Each sum is spread over the
    // object: elements 1 and 2 over 1 m, member 50 over 2 m, plate 3 over its 2 m2.
    struct Row {
        UINT object, keyIn;
        int ok;
        UINT keyOut;
        double value;
    } rows[] = {
        {1, 1, 1, 1, 300}, {1, 2, 1, 2, 80}, {1, 11, 1, 11, 472}, {1, 12, 1, 12, 220}, {1, 0, 1, 11, 472},
        {50, 12, 1, 12, 110}, {2, 1, 1, 1, 200},  // element 2: only node 2 has a reaction
        {3, 1, 1, 1, 150}, {3, 0, 1, 11, 236},
        {1, 99, 0, 99, -1}, {77, 1, 0, 1, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "object " << r.object << " key " << r.keyIn);
        UINT key = r.keyIn;
        double v = -1;
        EXPECT_EQ(f->GetComBineValue(r.object, key, v), r.ok);
        EXPECT_EQ(key, r.keyOut);
        EXPECT_NEAR(v, r.value, 1e-9);
    }
    // Pressure of plate 3: LC1 mean 25, LC2 2.5; 11: 30 + 3.5 = 33.5; 12: 22.5; key 0 -> 11.
    struct PRow {
        UINT keyIn, keyOut;
        double value;
    } prows[] = {{1, 1, 25}, {2, 2, 2.5}, {12, 12, 22.5}, {0, 11, 33.5}};
    for (const PRow& r : prows) {
        SCOPED_TRACE(testing::Message() << "pressure key " << r.keyIn);
        UINT key = r.keyIn;
        double v = 0;
        EXPECT_EQ(f->GetElementPress(3, key, v), 1);
        EXPECT_EQ(key, r.keyOut);
        EXPECT_NEAR(v, r.value, 1e-9);
    }
    f->SetDataBase(nullptr);
}

// A check group's reaction comes from its own text's terms: group 11 shares combination 11's key
// (1.2D+1.4L) but is 1.0D+1.0L. Member 50 (nodes 1, 2, 3): D 300, L 80, case "D+L" (3) 7; member
// 52 (nodes 3, 4) has no reaction. A text with a term naming no static case, without a factor or
// with a malformed one reads as no terms; a quoted name may hold "+". The combined reaction
// (GetComBineValue, over member 50's length of 2 m) takes the combination under the key when
// there is one, else the group's terms; load 0 the largest over the linear combinations and the
// design group 36 (3.0D, no combination): 900 / 2 in 36, which ties with combination 13 (3.0D)
// and takes it, a group's number being what the sheets write. Cases 4 and 5 share the name W.
TEST(DesignQueries, ReactionUnderCheckGroupTerms) {
    Project p;
    p.b.AddLoadCase(3, PLOAD_STATIC, "D+L");
    p.b.AddLoadCase(4, PLOAD_STATIC, "W");
    p.b.AddLoadCase(5, PLOAD_STATIC, "W");
    p.b.AddLoadComb(13, PLCOM_LINEAR, "3.0D", {{PLOAD_STATIC, 1, 3.0}});
    p.Reac(3, 1, 7);
    const struct {
        UINT key;
        const char* text;
    } groups[] = {{11, "1.0D+1.0L"}, {30, "1.5D"}, {31, "1.0D+1.0X"}, {32, "D"}, {33, "1.2.5D"}, {34, ".D"},
                  {35, "2\"D+L\"+1.0D"}, {36, "3.0D"}, {37, "1.0D+1.0W"}};
    for (const auto& g : groups) {
        T_CKLG_D rec;
        rec.Initialize();
        rec.number = static_cast<int>(g.key);
        rec.kind = LDGP_KIND_BASIC;
        rec.designUse = g.key == 36;
        std::snprintf(rec.sort, sizeof(rec.sort), "%s", g.text);
        p.b.Add<DBT_CKLG>(g.key, rec);
    }
    p.b.AddMemb(52, 201, {3, 4}, {});
    CClassLdgp table;
    table.ConnectToDB(&p.b.DB());
    IRactFinder* f = IRactFinder::Instance();
    f->SetDataBase(&p.b.DB());
    struct Row {
        const char* name;
        UINT group, memb;
        bool terms;
        int ok;
        double value;
        UINT combKey;     // the key GetComBineValue answers with (0: none)
        double combined;  // its value, kN/m
    } rows[] = {
        {"group key equal to a combination key", 11, 50, true, 1, 300 + 80, 11, (1.2 * 300 + 1.4 * 80) / 2},
        {"group with no combination", 30, 50, true, 1, 1.5 * 300, 30, 1.5 * 300 / 2},
        {"a quoted name holding +", 35, 50, true, 1, 2 * 7 + 300, 35, (2 * 7 + 300) / 2.0},
        {"member without a reaction", 30, 52, true, 0, -1, 0, -1},
        {"unknown member", 30, 77, true, 0, -1, 0, -1},
        {"term naming no static case", 31, 50, false, 0, -1, 0, -1},
        {"term without a factor", 32, 50, false, 0, -1, 0, -1},
        {"malformed factor 1.2.5", 33, 50, false, 0, -1, 0, -1},
        {"factor of a point alone", 34, 50, false, 0, -1, 0, -1},
        {"unknown group", 99, 50, false, 0, -1, 0, -1},
        {"term naming two static cases", 37, 50, false, 0, -1, 0, -1},
        {"load 0: the design group", 0, 50, false, 0, -1, 36, 900 / 2.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<std::pair<UINT, double>> terms{{1, 9.0}};
        EXPECT_EQ(table.GetTerms(r.group, terms) != 0, r.terms);
        EXPECT_EQ(terms.empty(), !r.terms);
        double v = -1;
        EXPECT_EQ(f->GetCheckGroupValue(r.memb, terms, v), r.ok);
        EXPECT_NEAR(v, r.value, 1e-9);
        UINT key = r.group;
        double c = -1;
        EXPECT_EQ(f->GetComBineValue(r.memb, key, c), r.combKey ? 1 : 0);
        if (r.combKey) {
            EXPECT_EQ(key, r.combKey);
        }
        EXPECT_NEAR(c, r.combined, 1e-9);
    }
    f->SetDataBase(nullptr);
}

// Member 53 crosses member 50 at node 2 (elements 4: 5-2, 5: 2-6, 1 m each): node 2's reaction
// goes half to each (tributary 1 m of 2 m there), so 50 takes LC1 100 + 200 / 2 over 2 m and 53
// 200 / 2 over 2 m, 100 + 50 per metre over 2 m each = the 300 kN the nodes carry. Member 50
// alone (53 not among the bearing members) takes it whole.
TEST(DesignQueries, ReactionSharedAtCrossings) {
    Project p;
    p.b.AddNode(5, 1, -1, 0);
    p.b.AddNode(6, 1, 1, 0);
    p.b.AddElem(4, PELEM_KIND_FRAME, 201, {5, 2});
    p.b.AddElem(5, PELEM_KIND_FRAME, 201, {2, 6});
    p.b.AddMemb(53, 201, {5, 2, 6}, {4, 5});
    IRactFinder* f = IRactFinder::Instance();
    f->SetDataBase(&p.b.DB());
    IRactFinder::NodeLengths both, alone;
    for (UINT m : {50u, 53u}) EXPECT_TRUE(IRactFinder::AddTributaryLengths(&p.b.DB(), m, both));
    EXPECT_TRUE(IRactFinder::AddTributaryLengths(&p.b.DB(), 50, alone));
    EXPECT_NEAR(both[2], 2.0, 1e-12);
    struct Row {
        const char* label;
        UINT memb, keyIn;
        const IRactFinder::NodeLengths* shared;
        int ok;
        UINT keyOut;
        double value;
    } rows[] = {
        {"through beam", 50, 1, &both, 1, 1, (100 + 200 / 2.0) / 2},
        {"crossing beam", 53, 1, &both, 1, 1, 200 / 2.0 / 2},
        // 11: node 1 1.2 x 100 + 1.4 x 30 = 162, node 2 1.2 x 200 + 1.4 x 50 = 310.
        {"combination", 50, 11, &both, 1, 11, (162 + 310 / 2.0) / 2},
        {"load 0 keeps 11", 53, 0, &both, 1, 11, 310 / 2.0 / 2},
        {"no other bearing member", 50, 1, &alone, 1, 1, 300 / 2.0},
        {"unknown member", 77, 1, &both, 0, 1, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        UINT key = r.keyIn;
        double v = -1;
        EXPECT_EQ(f->GetSharedLineValue(r.memb, *r.shared, key, v), r.ok);
        EXPECT_EQ(key, r.keyOut);
        EXPECT_NEAR(v, r.value, 1e-9);
    }
    f->SetDataBase(nullptr);
}

TEST(DesignQueries, BeamDesignForceAndEnvelope) {
    Project p;
    CDataBase* db = &p.b.DB();
    // LOAD_DATA component k takes MBWG component src[k].
    const int src[6] = {0, 2, 3, 4, 1, 5};
    CHECK_LOAD_ARRAY a, b;
    b.Add(LOAD_DATA());
    ASSERT_TRUE(IDesignToolUtil::s_GetBeamDesignForce(50, 11, a, b, db));
    ASSERT_EQ(a.GetSize(), 9);
    EXPECT_EQ(b.GetSize(), 0);
    for (int st = 0; st < 9; ++st)
        for (int k = 0; k < 6; ++k) {
            SCOPED_TRACE(testing::Message() << "comb 11 station " << st << " component " << k);
            const int c = src[k];
            EXPECT_NEAR(a[st].d[k], 1.2 * (st + 10.0 * c) - 1.4 * (st + c), 1e-9);
        }
    // Key 0: max and min of comb 11 and comb 12 = (st + 10c) + (st + c).
    ASSERT_TRUE(IDesignToolUtil::s_GetBeamDesignForce(50, 0, a, b, db));
    ASSERT_EQ(a.GetSize(), 9);
    ASSERT_EQ(b.GetSize(), 9);
    for (int st = 0; st < 9; ++st)
        for (int k = 0; k < 6; ++k) {
            SCOPED_TRACE(testing::Message() << "envelope station " << st << " component " << k);
            const int c = src[k];
            const double v11 = 1.2 * (st + 10.0 * c) - 1.4 * (st + c);
            const double v12 = (st + 10.0 * c) + (st + c);
            EXPECT_NEAR(a[st].d[k], std::max(v11, v12), 1e-9);
            EXPECT_NEAR(b[st].d[k], std::min(v11, v12), 1e-9);
        }
    CHECK_LOAD_ARRAY keepA = a;
    EXPECT_FALSE(IDesignToolUtil::s_GetBeamDesignForce(77, 11, a, b, db));  // no member
    EXPECT_FALSE(IDesignToolUtil::s_GetBeamDesignForce(51, 2, a, b, db));   // not of the foundation
    EXPECT_FALSE(IDesignToolUtil::s_GetBeamDesignForce(50, 99, a, b, db));  // no load
    EXPECT_EQ(a.GetSize(), keepA.GetSize());

    // Envelope folding: mismatched station counts change nothing.
    CHECK_LOAD_ARRAY hi, lo, one, two;
    LOAD_DATA d;
    d.d[3] = 5;
    one.Add(d);
    d.d[3] = -2;
    two.Add(d);
    EXPECT_TRUE(IDesignToolUtil::s_GetBaoLuoForForceArray(hi, lo, one));
    EXPECT_TRUE(IDesignToolUtil::s_GetBaoLuoForForceArray(hi, lo, two));
    EXPECT_DOUBLE_EQ(hi[0].d[3], 5);
    EXPECT_DOUBLE_EQ(lo[0].d[3], -2);
    two.Add(d);
    EXPECT_FALSE(IDesignToolUtil::s_GetBaoLuoForForceArray(hi, lo, two));
    EXPECT_EQ(hi.GetSize(), 1);
}

TEST(DesignQueries, NodesMaxDispInMetres) {
    Project p;
    CDataBase* db = &p.b.DB();
    CArray<UINT, UINT> nodes;
    nodes.Add(2);
    nodes.Add(3);
    nodes.Add(4);  // no rows
    // Comb 11: node 2 -4.8-8.4 = -13.2, node 3 -3.6+14 = 10.4 -> -13.2 mm.
    // Comb 12: node 2 -4+6 = 2, node 3 -3-10 = -13 -> -13 mm. Key 0 -> 11.
    struct Row {
        UINT keyIn, keyOut;
        double metres;
    } rows[] = {{1, 1, -0.004}, {2, 2, 0.010}, {11, 11, -0.0132}, {12, 12, -0.013}, {0, 11, -0.0132}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "key " << r.keyIn);
        UINT key = r.keyIn;
        double v = 0;
        ASSERT_TRUE(IDesignToolUtil::s_GetNodesMaxDisp(nodes, key, v, 1, db));
        EXPECT_EQ(key, r.keyOut);
        EXPECT_NEAR(v, r.metres, 1e-12);
    }
    CArray<UINT, UINT> none;
    none.Add(4);
    UINT key = 1;
    double v = 7;
    EXPECT_FALSE(IDesignToolUtil::s_GetNodesMaxDisp(none, key, v, 1, db));
    EXPECT_DOUBLE_EQ(v, 7);

    // All nodes of member 50: elements 1 (1, 2) and 2 (2, 3) -> 1, 2, 3.
    CArray<UINT, UINT> all;
    ASSERT_TRUE(IDesignToolUtil::s_GetPMembAllNode(50, all, db));
    ASSERT_EQ(all.GetSize(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(all[i], UINT(i + 1));
    EXPECT_FALSE(IDesignToolUtil::s_GetPMembAllNode(52, all, db));
}

TEST(DesignQueries, RibStationsFromRibf) {
    Project p;
    // Rib 1 stiffens raft 60 (type 301 of MTSB raft 901); rib 2, of a floor beam, is no raft's.
    p.b.AddMemb(60, 301, {1, 2, 3, 4}, {3});
    T_PMEMB_D raft = *p.b.DB().Table<DBT_PMEMB>().Find(60);
    raft.modelKey = 901;
    p.b.AddMemb(60, raft);
    T_MTSB_D mtsb{};
    mtsb.thick = 1.0;
    p.b.Add<DBT_MTSB>(901, mtsb);
    T_RIBB_D rib;
    rib.Initialize();
    rib.x2 = 6;
    rib.memb = 60;
    p.b.Add<DBT_RIBB>(1, rib);
    rib.memb = 50;
    p.b.Add<DBT_RIBB>(2, rib);
    T_CLDF_D f;
    f.Initialize();
    for (int k = 0; k < 5; ++k) {
        f.m[k] = 10.0 * k;
        f.v[k] = k;
    }
    p.b.AddResult<DBT_RIBF>(1, 1, f);
    for (int k = 0; k < 5; ++k) {
        f.m[k] = 1.0;
        f.v[k] = -1.0;
    }
    p.b.AddResult<DBT_RIBF>(2, 1, f);
    p.b.AddResult<DBT_RIBF>(1, 2, f);
    p.b.AddResult<DBT_RIBF>(2, 2, f);
    CArray<T_STRESS_RESULT, T_STRESS_RESULT&> res;
    ASSERT_TRUE(IDesignToolUtil::s_GetRibBemStarndForce(11, res, &p.b.DB()));
    ASSERT_EQ(res.GetSize(), 1);
    // Station k: moment 1.2*10k + 1.4 at double 11 + 2k, shear 1.2k - 1.4 at 12 + 2k.
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(res[0].d[11 + 2 * k], 12.0 * k + 1.4, 1e-9);
        EXPECT_NEAR(res[0].d[12 + 2 * k], 1.2 * k - 1.4, 1e-9);
    }
    EXPECT_FALSE(IDesignToolUtil::s_GetRibBemStarndForce(0, res, &p.b.DB()));
}
