#include "DbTestUtil.h"

#include "host/check/CheckTables.h"
#include "host/check/FootingDesignTables.h"
#include "host/check/BeamDesignTables.h"
#include "host/check/RaftCheckTables.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace dbtest {

std::string SavedProject(const std::string& name) {
    PostDBBuilder b;
    BuildProject(b);
    std::string path = TmpPath(name);
    EXPECT_TRUE(b.Save(path.c_str())) << b.GetLastError();
    return path;
}

std::string EditedCopy(const std::string& name, const char* sql) {
    std::string path = SavedProject(name);
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* msg = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &msg), SQLITE_OK) << name << ": " << (msg ? msg : "");
    sqlite3_free(msg);
    sqlite3_close(db);
    return path;
}

void BuildProject(PostDBBuilder& b) {
    b.Set3D(TRUE);
    b.SetFloor(FALSE);
    // Nodes, keys not ascending.
    b.AddNode(10, 0, 0, 0);
    b.AddNode(3, 6, 0, 0);
    b.AddNode(7, 6, 0, 3.5);
    b.AddNode(5, 0, 0, 3.5);
    b.AddNode(4000000000u, -1.25, 2.5, 1e-9);

    T_PSECT_D s;
    s.Initialize();
    s.type = 1;
    strcpy(s.name, "柱 400x600");
    s.dim[0] = 0.4;
    s.dim[1] = 0.6;
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < 13; ++i) s.stiff[k].d[i] = 0.01 * (k + 1) + i;
    b.AddSect(2, s);
    T_PMATL_D m;
    m.Initialize();
    strcpy(m.name, "C30");
    m.E = 3.0e7;
    m.nu = 0.2;
    m.gamma = 25;
    b.AddMatl(1, m);

    b.AddElem(21, PELEM_KIND_FRAME, 101, {10, 5}, 1, 2, 30.0);
    b.AddElem(22, PELEM_KIND_FRAME, 201, {5, 7}, 1, 2);
    b.AddElem(20, PELEM_KIND_PLATE, 301, {10, 3, 7, 5}, 1, 0);
    b.AddMemb(2, 101, {10, 5}, {21});
    b.AddMemb(1, 201, {5, 7}, {22});
    T_PMEMB_D slab;
    slab.type = 301;
    slab.node3 = 7;
    slab.length = 21.0;
    slab.offsetZ = -0.25;
    for (UINT n : {10u, 3u, 7u, 5u}) slab.aNode.Add(n);
    slab.aElem.Add(20);
    b.AddMemb(3, slab);
    T_CFMO_D ends;
    ends.Initialize();
    ends.type = 201;
    ends.length = 6.0;
    ends.ri2 = 0.3;
    ends.rj2 = 0.25;
    ends.ri3 = 0.35;
    ends.rj3 = 0.2;
    b.AddMembEnds(1, ends);

    T_PWALL_D w;
    w.Initialize();
    w.type = 209;
    w.resultNo = 8;
    w.x2 = 6;
    w.z2 = 3.5;
    b.AddWall(3, w);
    T_PSLAB_D sl;
    sl.resultType = 2;
    for (UINT n : {10u, 3u, 7u, 5u}) sl.aNode.Add(n);
    b.AddSlab(3, sl);
    T_SDIR_D dir;
    dir.Initialize();
    dir.sel = 1;
    dir.angle1 = 15.0;
    dir.angle2 = -30.0;
    b.AddSdir(3, dir);

    b.AddLoadCase(2, PLOAD_STATIC, "恒载");
    b.AddLoadCase(1, PLOAD_STATIC, "活载");
    b.AddLoadCase(3, PLOAD_DYNAMIC, "EX");
    b.AddLoadCase(4, PLOAD_TIMEHISTORY, "EL-Centro");
    // Settlement analysis: two load groups (keys not ascending) and a point holding a value of
    // the settlement group only.
    b.AddLoadGroup(5, LDGP_SETTLEMENT, "沉降");
    b.AddLoadGroup(2, LDGP_STATIC, "G");
    {
        T_PCDSINK_D p;
        p.x = 1.5;
        p.y = 2.5;
        p.z = -0.5;
        p.constant = 4.0;
        p.aGroup.Add(5);
        p.aValue.Add(12.25);
        b.AddSettlementPoint(30, p);
    }
    b.AddCutLine(8, CTLN_KIND_STRIP, "板带1", 1.5, 0, 3, 0, 6, 3, 0);
    b.AddCutLine(2, CTLN_KIND_CUTLINE, "Cut-Line #1", 0.0, -1, 1, 0.5, 7, 1, 0.5);
    T_RIBB_D rib;
    rib.Initialize();
    rib.memb = 1;
    rib.widthPos = 1.5;
    rib.width = 1.5;
    rib.x2 = 6.0;
    rib.z1 = rib.z2 = 3.5;
    rib.arc = -0.75;
    b.Add<DBT_RIBB>(4, rib);
    T_PAGESET_D page;
    page.title = "Frame Force";
    page.archive = "0100000002000000";
    b.Add<DBT_PAGESET>(7301, page);
    b.AddLoadComb(101, PLCOM_LINEAR, "1.3D+1.5L", {{PLOAD_STATIC, 2, 1.3}, {PLOAD_STATIC, 1, 1.5}});
    b.AddLoadComb(102, PLCOM_LINEAR, "D+L", {{PLOAD_STATIC, 2, 1.0}, {PLOAD_STATIC, 1, 1.0}});
    b.AddLoadComb(200, PLCOM_ENVELOPE, "ENV", {{PLOAD_COMBINATION, 101, 1.0}, {PLOAD_COMBINATION, 102, 1.0}, {PLOAD_STATIC, 3, 1.0}});

    T_PSEMAP_D map;
    map.seKey = 900;
    map.map[0].SetAt(1, 10);
    map.map[0].SetAt(35, 5);
    map.map[0].SetAt(2, 7);  // same hash bucket as 1: their order must survive a save
    map.map[1].SetAt(10, 1);
    map.map[3].SetAt(5, 35);
    map.map[4].SetAt(21, 2);
    map.map[2].SetAt(20, 1);
    map.map[5].SetAt(2, 21);
    b.Add<DBT_PSEMAP>(20, map);
    T_PSELEM_D se;
    se.aINode.Add(1);
    se.aINode.Add(2);
    se.aJNode.Add(3);
    se.mapModelNode.SetAt(1, 10);
    b.Add<DBT_PSELEM>(900, se);
    T_PRDSTSE_D rd;
    rd.dx = 10;
    rd.dy = 0;
    rd.dz = -1;
    b.Add<DBT_PRDSTSE>(20, rd);
    T_PNODESE_D ns;
    ns.Initialize();
    ns.seKey = 900;
    ns.nodeKey = 2;
    ns.node.x = 1;
    ns.node.y = 2;
    ns.node.z = 3;
    b.Add<DBT_PNODESE>(1, ns);
    T_PELEMSE_D es;
    es.Initialize();
    es.seKey = 900;
    es.elemKey = 1;
    es.elem.type = 301;
    es.elem.nNode = 3;
    es.elem.node[0] = 1;
    es.elem.node[1] = 2;
    es.elem.node[2] = 3;
    b.Add<DBT_PELEMSE>(1, es);

    T_FREQ_D f;
    f.omega = 12.566;
    f.freq = 2.0;
    f.period = 0.5;
    f.factor = 0;
    f.damping = 0.05;
    T_MPAM_D mp;
    mp.Initialize();
    mp.mass[0] = 71.5;
    mp.mass[1] = 0.25;
    b.AddMode(1, f, mp);
    T_MODE_D ms;
    ms.Initialize();
    ms.DX = 1.0;
    ms.RZ = -0.002;
    b.AddModeShape(1, 7, ms);

    // Two steps of 0.02 s; value = 100 step + 10 quantity + component.
    T_DISPHIS_D h;
    h.nStep = 2;
    h.dt = 0.02;
    for (int s = 0; s < 2; ++s)
        for (int q = 0; q < 3; ++q)
            for (int c = 0; c < 6; ++c) h.aValue.Add(100.0 * s + 10.0 * q + c);
    b.AddDispHistory(4, 7, h);
    b.AddDisp(4, 7, Disp(0.25, 0, 0, 0, 0, 0));

    b.AddDisp(2, 7, Disp(1, 2, -3, 0.001, 0, 0));
    b.AddDisp(1, 7, Disp(0.5, -1, 4, 0, 0.002, 0));
    b.AddDisp(3, 7, Disp(10, 0, 0, 0, 0, 0.01));
    T_PRTND_D support;
    support.Initialize();
    support.type = PRTND_SUPPORT;
    support.dof = 63;
    b.Add<DBT_PRTND>(10, support);
    T_PESPR_D spring;
    spring.Initialize();
    spring.elem = 20;
    spring.kv = 2.0e4;
    b.Add<DBT_PESPR>(20, spring);
    b.AddReac(2, 10, Reac(0, 0, 100, 1, 2, 3));
    b.AddReac(1, 10, Reac(0, 0, 40, -1, 0, 0));
    T_STRP_DL sp;
    sp.Initialize();
    for (int i = 0; i < 24; ++i) sp.head[i] = i;
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < 30; ++i) sp.blk[k][i] = k * 100 + i;
    b.AddStrp(2, 20, sp);
    T_MBWG_D wg;
    wg.Initialize();
    wg.d[8][5] = 12.5;
    b.AddMbwg(2, 1, wg);
    T_STRG_D sg;
    sg.SetByMbwg(wg);
    b.AddStrg(2, 1, sg);
    T_MBCL_D cl;
    cl.Initialize();
    cl.d[3][0] = -250;
    b.AddMbcl(2, 2, cl);
    T_MBBR_D br;
    br.Initialize();
    br.d[1][0] = 7;
    b.AddMbbr(2, 1, br);
    T_STRW_D sw;
    sw.Initialize();
    sw.d[2][7] = 3;
    b.AddStrw(2, 3, sw);
    // The wall's forces under its result number 8.
    T_MBCL_D wc;
    wc.Initialize();
    wc.d[1][4] = -12.5;
    b.AddMbwc(2, 8, wc);
    b.AddMbwb(2, 8, sg);
    T_SMNT_D mom;
    mom.centreX = 1.5;
    mom.centreY = -2.5;
    for (double v : {1.0, 2.0, 3.0}) mom.aPos.Add(v);
    mom.aNeg.Add(-4.0);
    b.AddSmnt(2, 3, mom);
    T_STWS_D st;
    st.Initialize();
    st.d[4] = 9;
    b.AddStws(2, 22, st);
    // A slab design with two edges, and a wall end's slab forces.
    T_SLDG_D dg;
    dg.forceA = 12.5;
    dg.resultB = 310.0;
    dg.aForceA.Add(-20.0);
    dg.aForceA.Add(-30.0);
    for (double v : {4.0, 5.0}) dg.aForceB.Add(v);
    for (double v : {65.0, 97.5}) dg.aResultA.Add(v);
    for (double v : {13.0, 16.25}) dg.aResultB.Add(v);
    b.AddResult<DBT_SLDG>(2, 3, dg);
    T_SWDF_D wd;
    wd.Initialize();
    wd.m[1] = -8.5;
    wd.v[0] = 4.0;
    wd.h0 = 950;
    b.AddResult<DBT_SWDF>(2, 3, wd);
    // A raft plate's design under combination 2, a report region and a slab panel of one
    // combination (three edges, one value each: 2 + 3 values).
    T_PDDELEM_D pe;
    for (double v : {10.0, 0.0, 5.5, 0.0}) pe.aM.Add(v);
    for (double v : {36.5, 0.0, 20.1, 0.0}) pe.aAs.Add(v);
    b.AddResult<DBT_PDDELEM>(2, 3, pe);
    T_ELERP_D rp;
    rp.angle = 30.0;
    for (UINT n : {1u, 2u, 3u}) rp.aNode.Add(n);
    rp.aElem.Add(3);
    rp.max[1][2] = 20.1;
    rp.comb[1][2] = 2;
    b.Add<DBT_ELERP>(1, rp);
    T_PDDSLAB_D ps;
    ps.raft = 0;
    for (UINT n : {1u, 2u, 3u}) ps.aNode.Add(n);
    for (int i = 0; i < 3; ++i) ps.aChord.Add(i == 1 ? -0.25 : 0.0);
    ps.angle2 = 90.0;
    ps.aComb.Add(2);
    for (double v : {1.0, 2.0, -3.0, 4.0, -5.0}) {
        ps.aM.Add(v);
        ps.aAs.Add(10.0 * v);
    }
    b.Add<DBT_PDDSLAB>(1, ps);
    // A mid band and its design under combination 2 (two stations).
    T_PSBBD_D band;
    for (UINT k : {1u, 2u}) band.aPont.Add(k);
    band.x2 = 6.0;
    band.y2 = -1.5;
    band.mid = 1;
    band.width = 1.5;
    b.Add<DBT_PSBBD>(3, band);
    T_PDDSBBD_D bd;
    bd.aComb.Add(2);
    for (int i = 0; i < 15; ++i) bd.aAs.Add(1.5 * i);
    bd.nStation = 2;
    for (int i = 0; i < 12; ++i) bd.aLoad.Add(i == 3 ? -40.0 : 0.25 * i);
    b.Add<DBT_PDDSBBD>(3, bd);
    // The design of member 1 under combination 2 with a crack width at its start.
    T_PDDBEAM_D beam;
    beam.b = 300, beam.h = 500, beam.as = 40, beam.fy = 360, beam.ft = 1.43, beam.ftk = 2.01;
    for (int s = 0; s < 3; ++s) beam.m_mapAs[s][2].d[1] = 418.0 + s;
    beam.m_mapCrack[0][2] = -0.0002;
    b.Add<DBT_PDDBEAM>(1, DesignRows::Encode(beam));
    // Design forces of the strip (its line key 8) and the rib (number 4).
    T_CLDF_D df;
    df.Initialize();
    df.m[2] = 7.5;
    df.v[4] = -2.25;
    b.AddResult<DBT_STRIPF>(2, 8, df);
    b.AddResult<DBT_RIBF>(2, 4, df);
    // A column's share of its storey's shear.
    T_SSFR_D ss;
    ss.Initialize();
    ss.story = 1;
    ss.force[0] = 12.5;
    ss.ratio[0] = 0.25;
    ss.ratio[2] = -0.125;
    b.AddSsfr(2, 1, ss);
    // Foundation model: points 1..3 (keys not ascending), one member of every type with its
    // record, sections, a mesh cell, the global parameters, groundwater and a check group.
    b.Add<DBT_PONT>(3, T_PONT_D{0.0, 0.0});
    b.Add<DBT_PONT>(1, T_PONT_D{6.0, 0.0});
    b.Add<DBT_PONT>(2, T_PONT_D{6.0, 4.5});
    {
        T_AXIS_D a;
        a.Initialize();
        a.pont1 = 3;
        a.pont2 = 1;
        a.chord = -0.5;
        strcpy(a.name, "轴A");
        b.Add<DBT_AXIS>(1, a);
        const struct {
            UINT key;
            int type;
            UINT fosp;
            std::vector<UINT> ponts;
        } membs[] = {{21, MEMB_FOOTING, 1, {3}}, {22, MEMB_COLUMN, 0, {3}}, {23, MEMB_WALL, 0, {1, 2}},
                     {24, MEMB_BEAM, 0, {3, 1}}, {25, MEMB_RAFT, 1, {3, 1, 2}}, {7, MEMB_PILE, 4, {3}}};
        for (const auto& m : membs) {
            T_MEMB_D r;
            r.type = m.type;
            r.fosp = m.fosp;
            r.angle = 15.0;
            r.textX[7] = 0.5;
            for (UINT k : m.ponts) r.aPont.Add(k);
            b.Add<DBT_MEMB>(m.key, r);
        }
        T_COLF_D c;
        c.Initialize();
        c.kind = COLF_SPREAD;
        c.nStep = 1;
        c.cx = 0.0;
        c.cy = 0.0;
        c.step[0] = {1.5, 1.2, 0.4};
        b.Add<DBT_COLF>(21, c);
        b.Add<DBT_COLM>(22, T_COLM_D{0.5, -1.0});
        b.Add<DBT_WALL>(23, T_WALL_D{0.25});
        b.Add<DBT_BEAM>(24, T_BEAM_D{2, 1, 3});
        b.Add<DBT_MTSB>(25, T_MTSB_D{3, 0, 0.6});
        T_PILE_D p;
        p.aMemb.Add(21);
        p.length = 9.5;
        p.capacity = 1500.0;
        b.Add<DBT_PILE>(7, p);
        b.Add<DBT_FOSP>(1, T_FOSP_D{2, 1, 1});
        b.Add<DBT_PISP>(4, T_PISP_D{"桩 500", 0.5});
        b.Add<DBT_SRCT>(9, T_SRCT_D{1.0, 2.0, 3.0, 2.5, 30.0});
        T_GBPA_D g;
        g.Initialize();
        g.buffer.textY[1] = -0.75;
        g.diffSettle = 0.002;
        g.avgSettle = 150.0;
        g.designCode.code = GBPA_CODE_JGJ;
        b.Add<DBT_GBPA>(GBPA_KEY, g);
        T_FVDTEXT_D notes;
        notes.Initialize();
        notes.textX[0] = 1.5;  // the title of sheet 132 moved
        b.Add<DBT_FVDTEXT>(132, notes);
        b.Add<DBT_WDLD>(1, T_WDLD_D{-3.0});
        b.Add<DBT_CKLG>(11, T_CKLG_D{11, LDGP_KIND_QUASI, 0, 2, 1, 19, "1.0恒+0.5活"});
        // The load groups of the check maps below.
        b.Add<DBT_CKLG>(101, T_CKLG_D{1, LDGP_KIND_BASIC, 0, 0, 1, 19, "1.3恒+1.5活"});
        b.Add<DBT_CKLG>(102, T_CKLG_D{2, LDGP_KIND_STANDARD, 0, 0, 0, 19, "1.0恒+1.0活"});
        b.Add<DBT_CKLG>(103, T_CKLG_D{3, LDGP_KIND_QUASI, 0, 0, 0, 19, "1.0恒+0.5活"});
    }
    {
        // Design results of a beam, a column, a wall and a slab (keyed by member key).
        T_RBEM_D beam;
        beam.base[4].dAsTop = 412.5;
        beam.shear[1] = {55.0, 120.0};
        b.Add<DBT_RBEM>(3, beam);
        T_RCOL_D col;
        col.base[3].dAsvy = 80.0;
        col.part[1] = {900.0, 0.42};
        col.nPartLoad[1] = 101;
        col.dNmax = 900.0;
        b.Add<DBT_RCOL>(4, col);
        T_RWAL_D wall;
        wall.base[0] = {250.0, 600.0};
        b.Add<DBT_RWAL>(5, wall);
        T_RSLB_D slab;
        slab.dAsX = 300.0;
        slab.aEdge.Add(150.0);
        slab.aEdge.Add(175.5);
        b.Add<DBT_RSLB>(6, slab);
    }
    {
        // Foundation checks: one row each, with maps of one and two entries.
        T_PCDCOLF_D f;
        f.depth = 1.5;
        f.fa = 180.0;
        f.faz = 120.0;
        f.ft = 1430.0;
        CZLCheckData_P z;
        z.m_Ave = CheckData_P(60.0, 180.0);
        z.m_Max = CheckData_P(75.0, 216.0);
        f.m_mapCZL.SetAt(102, z);
        CheckData_P w(25.0, 120.0), p0(10.0, 30.0);
        f.m_mapWeak.SetAt(102, w);
        CJCheckData_P parts;
        parts.m_mapPart0.SetAt(0, p0);
        parts.m_aPart.Add(CheckData_P(12.0, 40.0));
        f.m_mapCQ.SetAt(101, parts);
        f.m_mapJQ.SetAt(101, parts);
        f.m_mapDouble.SetAt(101, 31.5);
        b.Add<DBT_PCDCOLF>(7, CheckRows::Encode(f));
        T_PCDCJY_D c;
        c.fc = 14300.0;
        c.m_mapCheck.SetAt(101, w);
        c.m_mapCheck.SetAt(103, p0);
        b.Add<DBT_PCDCJY>(8, CheckRows::Encode(c));
        T_PCDBEAM_D bm;
        bm.width = 0.5;
        bm.depth = 1.5;
        bm.fa = 150.0;
        bm.m_mapCZL.SetAt(102, z);
        b.Add<DBT_PCDBEAM>(9, CheckRows::Encode(bm));
        // A pile's checks: a bearing entry in tension (negative action) and both other maps.
        T_PCDPILE_D pl;
        pl.ra = 1200.0;
        pl.tu = 600.0;
        PileCZLCheckData_P pz;
        pz.m_a[0] = CheckData_P(-150.0, 1200.0);
        pz.m_a[1] = CheckData_P(-150.0, 1440.0);
        pz.m_a[2] = CheckData_P(-150.0, 600.0);
        pz.m_a[3] = CheckData_P(4.5, 60.0);
        pz.m_a[4] = CheckData_P(-2.0, 60.0);
        pl.m_mapCZL.SetAt(102, pz);
        pl.m_mapCQ.SetAt(102, w);
        pl.m_mapJY.SetAt(101, p0);
        b.Add<DBT_PCDPILE>(11, CheckRows::Encode(pl));
        // A raft's checks: every map with an entry and two unfavourable texts (one padded).
        T_PCDMTSB_D r;
        r.fa = 150.0;
        r.m_mapCZL.SetAt(102, z);
        r.m_mapSlide.SetAt(102, w);
        r.m_mapTurn.SetAt(102, p0);
        LCCheckData_P lc;
        lc.m_dX = 6.0, lc.m_dY = 4.5, lc.m_dV = 1200.0, lc.m_CheckX = w, lc.m_CheckY = p0;
        r.m_mapLC.SetAt(103, lc);
        r.m_mapKF.SetAt(0, w);
        r.m_mapBad[102] = "1.0DL+1.0WX";
        r.m_mapBad[104] = "风";
        b.Add<DBT_PCDMTSB>(10, CheckRows::Encode(r));
    }
    {
        // Footing design: one footing with maps of one and two entries, and its group.
        T_PDDCOLF_D d;
        d.fy = 360.0;
        d.h0 = 0.85;
        d.bc = 0.6;
        d.m_mapMz.SetAt(101, 15.25);
        d.m_mapMz.SetAt(103, 9.5);
        d.m_mapMy.SetAt(101, 14.0);
        d.m_mapAsz.SetAt(101, 55.4);
        d.m_mapAsy.SetAt(103, 31.0);
        b.Add<DBT_PDDCOLF>(7, DesignRows::Encode(d));
        T_PCOLFG_D g;
        g.Initialize();
        g.aColf.Add(7);
        g.aColf.Add(8);
        g.zGroup = 101;
        g.yGroup = 103;
        g.asz = 55.4;
        g.asy = 31.0;
        b.Add<DBT_PCOLFG>(1, g);
    }
}

}  // namespace dbtest
