// The pile check figures over a small seeded model: which piles get texts, their ratios, labels
// and colours, the envelope texts of a raft with one or two pile sections, the tension filter,
// the horizontal lines and the two sources of the pile reactions.
//
// The model: raft 900 (outline 0..20 x 0..10) over piles 1, 2, 3 at (2,2), (6,2), (10,2); pile
// sections 11 "A" and 12 "B" (d = 0.5); pile 3 is of section 12 unless the raft has one
// section. Check groups 3 and 5 (kind 0; basic groups 2, 9, 10 for the reactions). Every pile: ra = 1000, tu = 500; result 0 = (N, ra),
// result 2 = (N, tu). Top forces N: pile 1: g3 500, g5 -100; pile 2: g3 800, g5 200; pile 3:
// g3 600, g5 700; pile 2 punched by 1000 under basic group 9, which no sheet offers. A check (force F, resistance R) has ratio |R / F| and passes above 0.999999
// (green 0x00FF00, else red 0x0000FF).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/check/CheckTables.h"
#include "host/db/CDBDoc.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDPileCheckFigures.h"

namespace {

constexpr COLORREF kGreen = 0x00FF00, kRed = 0x0000FF;

class DocScope {
public:
    explicit DocScope(CDBDoc& doc) : m_saved(CDBDoc::m_pDBDoc) { CDBDoc::m_pDBDoc = &doc; }
    ~DocScope() { CDBDoc::m_pDBDoc = m_saved; }

private:
    CDBDoc* m_saved;
};

void AddPont(PostDBBuilder& b, UINT key, double x, double y) {
    T_PONT_D p;
    p.x = x;
    p.y = y;
    b.Add<DBT_PONT>(key, p);
}

T_MEMB_D Memb(int type, std::vector<UINT> ponts, UINT fosp) {
    T_MEMB_D m;
    m.type = type;
    for (UINT p : ponts) m.aPont.Add(p);
    m.fosp = fosp;
    return m;
}

void AddGroup(PostDBBuilder& b, UINT key, int kind = LDGP_KIND_STANDARD, const char* text = nullptr, int seismic = 0) {
    T_CKLG_D g;
    g.Initialize();
    g.number = static_cast<int>(key);
    g.kind = kind;
    g.seismic = seismic;
    if (text)
        std::snprintf(g.sort, sizeof(g.sort), "%s", text);
    else
        std::snprintf(g.sort, sizeof(g.sort), "G%u", key);
    b.Add<DBT_CKLG>(key, g);
}

struct PileForces {
    double n3, n5;       // top forces of groups 3 and 5
    double hx3, hx5;     // horizontal x
    double hy3, hy5;     // horizontal y
};

struct Options {
    bool twoSections = true;
    int capType = MEMB_RAFT;  // the member pile 1 stands under (for the reaction source)
    bool brokenPunching = false;  // pile 2's punching BLOB cut short (it no longer reads)
    double pileY = 2;             // plan y of the three piles
    bool anchorPile3 = false;     // pile 3's checks 0 to 2 hold -N: in tension under both groups
    int seismic = 0;              // a seismic group (3 or 5), 0 none
    bool basicBearing = false;    // pile 1 pulled and pushed by 1000 under basic group 9
};

void BuildModel(PostDBBuilder& b, const Options& o) {
    T_PISP_D a{}, s{};
    std::strcpy(a.name, "A");
    a.d = 0.5;
    std::strcpy(s.name, "B");
    s.d = 0.5;
    b.Add<DBT_PISP>(11, a);
    b.Add<DBT_PISP>(12, s);
    AddGroup(b, 3, LDGP_KIND_STANDARD, nullptr, o.seismic == 3);
    AddGroup(b, 5, LDGP_KIND_STANDARD, nullptr, o.seismic == 5);
    // Raft 900 and a footing 950 (pile cap) without piles of its own.
    AddPont(b, 901, 0, 0);
    AddPont(b, 902, 20, 0);
    AddPont(b, 903, 20, 10);
    AddPont(b, 904, 0, 10);
    b.Add<DBT_MEMB>(900, Memb(MEMB_RAFT, {901, 902, 903, 904}, 0));
    T_MTSB_D raft;
    raft.Initialize();
    raft.type = 1;
    raft.thick = 1.0;
    b.Add<DBT_MTSB>(900, raft);
    AddPont(b, 951, 40, 40);
    b.Add<DBT_MEMB>(950, Memb(MEMB_FOOTING, {951}, 0));

    const PileForces f[3] = {{500, -100, -50, 400, 200, 20}, {800, 200, 10, 10, 10, 10}, {600, 700, 10, 10, 10, 10}};
    const double xs[3] = {2, 6, 10};
    for (UINT k = 0; k < 3; ++k) {
        const UINT key = k + 1;
        AddPont(b, 100 + key, xs[k], o.pileY);
        const UINT sec = (k == 2 && o.twoSections) ? 12 : 11;
        b.Add<DBT_MEMB>(key, Memb(MEMB_PILE, {100 + key}, sec));
        T_PILE_D pile;
        pile.aMemb.Add(k == 0 && o.capType == MEMB_FOOTING ? 950 : 900);
        pile.length = 10;
        pile.capacity = 1000;
        b.Add<DBT_PILE>(key, pile);
        T_PCDPILE_D rec;
        rec.ra = 1000;
        rec.tu = 500;
        const double n[2] = {f[k].n3, f[k].n5}, hx[2] = {f[k].hx3, f[k].hx5}, hy[2] = {f[k].hy3, f[k].hy5};
        const UINT g[2] = {3, 5};
        const double sign = (k == 2 && o.anchorPile3) ? -1.0 : 1.0;
        for (int i = 0; i < 2; ++i) {
            PileCZLCheckData_P e;
            e.m_a[0] = CheckData_P(sign * n[i], 1000);
            e.m_a[1] = CheckData_P(sign * n[i], 1200);
            e.m_a[2] = CheckData_P(sign * n[i], 500);
            e.m_a[3] = CheckData_P(hx[i], 100);
            e.m_a[4] = CheckData_P(hy[i], 100);
            rec.m_mapCZL.SetAt(g[i], e);
            CheckData_P jy(n[i], 2000), cq(n[i], 400);
            rec.m_mapJY.SetAt(g[i], jy);
            rec.m_mapCQ.SetAt(g[i], cq);
        }
        // Pile 1's local compression also under combination 2 of the analysis (the cap source of
        // the reaction figure).
        if (k == 0) {
            CheckData_P c2(77, 2000);
            rec.m_mapJY.SetAt(2, c2);
        }
        if (k == 0 && o.basicBearing) rec.m_mapCZL[9].m_a[2] = CheckData_P(-1000, 500);
        if (k == 0 && o.basicBearing) rec.m_mapCZL[9].m_a[3] = CheckData_P(1000, 100);
        if (k == 1) rec.m_mapCQ[9] = CheckData_P(1000, 400);
        T_PCDPILE_ROW row = CheckRows::Encode(rec);
        if (k == 1 && o.brokenPunching) row.cq.resize(3);
        b.Add<DBT_PCDPILE>(key, row);
    }

    // The analysis model: pile elements 61, 62, 63 (type 403) from the piles' heads, element 64
    // of type 404 at pile 1's head. Static case 1: FZ 111 at node 71, 222 at 72, 333 at 73.
    b.AddLoadCase(1, PLOAD_STATIC, "DL");
    b.AddLoadComb(2, PLCOM_LINEAR, "1.5DL", {{PLOAD_STATIC, 1, 1.5}});
    // The reaction figure lists the basic check groups: 2 (the combination's key, its own terms),
    // 9 and 10 (no combination). Case 4 LL: FZ 50 at node 72; case 6 WX: FZ -500 at node 73 only.
    b.AddLoadCase(4, PLOAD_STATIC, "LL");
    b.AddLoadCase(6, PLOAD_STATIC, "WX");
    AddGroup(b, 2, LDGP_KIND_BASIC, "1.0DL");
    AddGroup(b, 9, LDGP_KIND_BASIC, "1.2DL+1.0LL");
    AddGroup(b, 10, LDGP_KIND_BASIC, "1.0WX");
    T_REAC_D extra;
    extra.Initialize();
    extra.FZ = 50;
    b.AddReac(4, 72, extra);
    extra.FZ = -500;
    b.AddReac(6, 73, extra);
    for (UINT k = 0; k < 4; ++k) {
        const UINT node = 71 + (k < 3 ? k : 0);
        if (k < 3) b.AddNode(node, xs[k], 2, 0);
        T_PMEMB_D m;
        m.type = k < 3 ? 403 : 404;
        m.pileKey = k < 3 ? k + 1 : 1;
        m.aNode.Add(node);
        b.Add<DBT_PMEMB>(61 + k, m);
        if (k < 3) {
            T_REAC_D r;
            r.Initialize();
            r.FZ = 111.0 * (k + 1);
            b.AddReac(1, node, r);
        }
    }
}

struct Text {
    std::string text;
    T_POINT2D at;
    COLORREF colour;
    bool coloured;
};

std::vector<Text> Texts(const CVdrawUtil& d) {
    std::vector<Text> out;
    for (long id : d.GetFigureIds()) {
        const CvdFigure* f = d.GetFigure(id);
        if (f->GetKind() == VdKindText)
            out.push_back({std::string(static_cast<const char*>(f->m_text)), f->m_points[0], f->m_colour,
                           f->m_hasColour != 0});
    }
    return out;
}

std::vector<Text> Coloured(const CVdrawUtil& d) {
    std::vector<Text> out;
    for (const Text& t : Texts(d))
        if (t.coloured) out.push_back(t);
    return out;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

class PileFigureTest : public ::testing::Test {
protected:
    void Build(const Options& o = Options()) {
        PostDBBuilder b;
        BuildModel(b, o);
        m_scope.reset();
        m_doc = std::make_unique<CDBDoc>();
        b.Install(*m_doc);
        m_scope = std::make_unique<DocScope>(*m_doc);
    }
    void Draw(CFVDBase& fig, EFigureType t, UINT lc, CVdrawUtil& d) {
        fig.SetType(t);
        fig.Prepare(FALSE);
        fig.Display(&d);
        fig.SetNotesFlag(TRUE);
        fig.SetLoadCase(lc);
        fig.DrawFigure();
    }
    void Draw(const char* cls, EFigureType t, UINT lc, CVdrawUtil& d) {
        std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject(cls));
        auto* fig = dynamic_cast<CFVDBase*>(obj.get());
        ASSERT_NE(fig, nullptr) << cls;
        Draw(*fig, t, lc, d);
    }
    std::unique_ptr<CDBDoc> m_doc;
    std::unique_ptr<DocScope> m_scope;
};

// A figure whose check type the manager refuses.
class RefusedTypeFigure : public CFVDPileCheck_CZL {
public:
    int GetPileCheckType() override { return 3; }
};

}  // namespace

// One ratio per pile; with load case 0 the governing group of the figure's result, else the
// load case's result with no label. Coloured texts only: the envelope texts are checked below.
TEST_F(PileFigureTest, PerPileRatios) {
    struct Row {
        const char* name;
        const char* cls;
        EFigureType type;
        UINT lc;
        std::vector<std::string> tails;  // the pile lines (after the envelope lines)
        std::vector<COLORREF> colours;
        Options o = {};
    } rows[] = {
        // Result 0: pile 1 g3 1000/500 = 2, g5 10 -> g3; pile 2 g3 1.25, g5 5 -> g3; pile 3
        // g3 1.667, g5 1.429 -> g5.
        {"bearing, governing", "CFVDPileCheck_CZL", EFVDT_Pile_CHECK_CZL, 0, {"2.00(3)", "1.25(3)", "1.43(5)"},
         {kGreen, kGreen, kGreen}},
        {"bearing, group 3", "CFVDPileCheck_CZL", EFVDT_Pile_CHECK_CZL, 3, {"2.00", "1.25", "1.67"},
         {kGreen, kGreen, kGreen}},
        // Seismic bearing: the bearing checks under the seismic group 5 only: 1000 / 100, / 200,
        // / 700. Load 0 is offered before the one group too and writes it as the governing one
        // (it was refused). Without a seismic group: nothing.
        {"seismic", "CFVDPileCheck_KZCZL", EFVDT_Pile_CHECK_CZL_KZ, 0, {"10.00(5)", "5.00(5)", "1.43(5)"},
         {kGreen, kGreen, kGreen}, {.seismic = 5}},
        {"seismic, group 5", "CFVDPileCheck_KZCZL", EFVDT_Pile_CHECK_CZL_KZ, 5, {"10.00", "5.00", "1.43"},
         {kGreen, kGreen, kGreen}, {.seismic = 5}},
        {"no seismic group", "CFVDPileCheck_KZCZL", EFVDT_Pile_CHECK_CZL_KZ, 0, {}, {}},
        // Tension only, tu / |N|: pile 1 pulled under group 5 only (-100): 500 / 100; load 0 each
        // pile's governing group among the offered ones that pull it (not 9: 500 / 1000).
        {"tension, group 5", "CFVDPileCheck_CZL_KB", EFVDT_Pile_CHECK_CZL_KB, 5, {"5.00"}, {kGreen}},
        {"tension, group 3: none pulls", "CFVDPileCheck_CZL_KB", EFVDT_Pile_CHECK_CZL_KB, 3, {}, {}},
        {"tension, governing", "CFVDPileCheck_CZL_KB", EFVDT_Pile_CHECK_CZL_KB, 0, {"5.00(5)"}, {kGreen},
         {.basicBearing = true}},
        // Anchor pile 3 pulled under both groups (-600, -700): 500 / 700 governs.
        {"tension under both, governing", "CFVDPileCheck_CZL_KB", EFVDT_Pile_CHECK_CZL_KB, 0, {"5.00(5)", "0.71(5)"},
         {kGreen, kRed}, {.anchorPile3 = true}},
        // Local compression 2000 / N, punching 400 / N, group 3.
        {"local compression", "CFVDPileCheck_JY", EFVDT_Pile_CHECK_JY, 3, {"4.00", "2.50", "3.33"},
         {kGreen, kGreen, kGreen}},
        {"punching", "CFVDPileCheck_CQ", EFVDT_Pile_CHECK_CQ, 3, {"0.80", "0.50", "0.67"}, {kRed, kRed, kRed}},
        // Without a load case each pile's governing group: punching 400 / N, pile 1 g3 0.8 (g5
        // 4), pile 2 g3 0.5 (not 9), pile 3 g5 0.571; local compression likewise 2000 / N.
        {"punching, governing", "CFVDPileCheck_CQ", EFVDT_Pile_CHECK_CQ, 0, {"0.80(3)", "0.50(3)", "0.57(5)"},
         {kRed, kRed, kRed}},
        {"local compression, governing", "CFVDPileCheck_JY", EFVDT_Pile_CHECK_JY, 0,
         {"4.00(3)", "2.50(3)", "2.86(5)"}, {kGreen, kGreen, kGreen}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Build(r.o);
        CVdrawUtil d;
        Draw(r.cls, r.type, r.lc, d);
        std::vector<Text> t = Coloured(d);
        // The envelope lines of 302 and 307 come first: one raft, two sections, one line each.
        const bool envelope = r.type == EFVDT_Pile_CHECK_CZL || r.type == EFVDT_Pile_CHECK_CZL_KZ;
        const size_t skip = envelope && !r.tails.empty() ? 2 : 0;
        ASSERT_EQ(t.size(), skip + r.tails.size());
        for (size_t i = 0; i < r.tails.size(); ++i) {
            EXPECT_TRUE(EndsWith(t[skip + i].text, r.tails[i])) << t[skip + i].text << " vs " << r.tails[i];
            EXPECT_EQ(t[skip + i].colour, r.colours[i]) << i;
        }
    }
}

// The pile text stands at the pile position plus the section size in x and y.
TEST_F(PileFigureTest, PileTextPlace) {
    Build();
    CVdrawUtil d;
    Draw("CFVDPileCheck_JY", EFVDT_Pile_CHECK_JY, 3, d);
    const std::vector<Text> t = Coloured(d);
    ASSERT_EQ(t.size(), 3u);
    const double xs[3] = {2.5, 6.5, 10.5};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(t[i].at.x, xs[i], 0.6);  // the block's own offset stays within a line
        EXPECT_GT(t[i].at.y, 2.0);
    }
}

// The envelope texts of the raft: per section the average against ra and the maximum against
// 1.2 ra; two sections are named and joined by ";  " (also after the last), one section takes
// two lines.
TEST_F(PileFigureTest, EnvelopeTexts) {
    struct Row {
        const char* name;
        bool two;
        UINT lc;
        std::vector<std::string> lines;
    } rows[] = {
        // Two sections, group 3: A (piles 1, 2): average 650 -> 1000/650 = 1.54, maximum 800 ->
        // 1200/800 = 1.50; B (pile 3): 600 -> 1.67, 1200/600 = 2.00.
        // The results map iterates as the class library's: keys 11 and 12 share its first bucket
        // (key >> 4 = 0) and come newest first, so B leads.
        {"two sections, group 3", true, 3,
         {"B:平均压力:1.67;  最大压力:2.00;  ", "A:平均压力:1.54;  最大压力:1.50;  "}},
        // Group 0: A: averages g3 650 (1.54), g5 50 (20) -> 3; maxima g3 800 (1.5), g5 200 -> 3.
        // B: g3 600 (1.67), g5 700 (1.43) -> 5; maxima 1200/700 = 1.71 -> 5.
        {"two sections, governing", true, 0,
         {"B:平均压力:1.43(5);  最大压力:1.71(5);  ", "A:平均压力:1.54(3);  最大压力:1.50(3);  "}},
        // One section, group 3: average (500 + 800 + 600) / 3 = 633.3 -> 1.58; maximum 800 -> 1.50.
        {"one section, group 3", false, 3, {"平均压力:1.58", "最大压力:1.50"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Options o;
        o.twoSections = r.two;
        Build(o);
        CVdrawUtil d;
        Draw("CFVDPileCheck_CZL", EFVDT_Pile_CHECK_CZL, r.lc, d);
        const std::vector<Text> t = Coloured(d);
        ASSERT_GE(t.size(), r.lines.size());
        for (size_t i = 0; i < r.lines.size(); ++i) EXPECT_EQ(t[i].text, r.lines[i]) << i;
    }
}

// A type the manager refuses: no envelope texts, no pile texts, and an empty load-case list.
TEST_F(PileFigureTest, RefusedCheckType) {
    Build();
    RefusedTypeFigure fig;
    CVdrawUtil d;
    Draw(fig, EFVDT_Pile_CHECK_CZL, 3, d);
    EXPECT_TRUE(Coloured(d).empty());
    EXPECT_FALSE(fig.DrawGroupTexts());
    std::map<UINT, CString> cases = {{7, "left over"}};
    fig.CollectLoadCases(cases);
    EXPECT_TRUE(cases.empty());
    CFVDPileCheck_CZL ok;
    ok.SetType(EFVDT_Pile_CHECK_CZL);
    ok.CollectLoadCases(cases);
    EXPECT_EQ(cases.count(3), 1u);
    EXPECT_EQ(cases.count(5), 1u);
}

// A beam group's outline: the bounding rectangle closed at (max x, max y), or that one corner
// when the points coincide within 0.01.
TEST_F(PileFigureTest, BeamGroupOutline) {
    struct Row {
        const char* name;
        std::vector<T_POINT2D> pts;
        std::vector<T_POINT2D> outline;
    } rows[] = {
        {"two beams", {{0, 0}, {6, 0}, {6, 0}, {6, 4}}, {{6, 4}, {0, 4}, {0, 0}, {6, 0}, {6, 4}}},
        {"one point", {{3, 3}, {3.004, 3.004}}, {{3.004, 3.004}}},
        {"none", {}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CArray<T_POINT2D> pts, out;
        for (const T_POINT2D& p : r.pts) pts.Add(p);
        CFVDPileCheck_CZL::s_GroupOutline(pts, out);
        ASSERT_EQ(out.GetSize(), static_cast<INT_PTR>(r.outline.size()));
        for (size_t i = 0; i < r.outline.size(); ++i) {
            EXPECT_DOUBLE_EQ(out[i].x, r.outline[i].x) << i;
            EXPECT_DOUBLE_EQ(out[i].y, r.outline[i].y) << i;
        }
    }
}

// Horizontal: x and y lines, each of its own governing group with load case 0, as absolute
// ratios (a force of -50 against 100 reads 2.00).
TEST_F(PileFigureTest, HorizontalLines) {
    struct Row {
        const char* name;
        UINT lc;
        std::string x, y;
        COLORREF cx, cy;
        Options o = {};
    } rows[] = {
        // Pile 1 x: g3 100/50 = 2, g5 100/400 = 0.25 -> 5 (not 9, 0.1, not offered); y: g3 0.5,
        // g5 5 -> 3.
        {"governing", 0, "0.25(5)", "0.50(3)", kRed, kRed, {.basicBearing = true}},
        {"group 3", 3, "2.00", "0.50", kGreen, kRed},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Build(r.o);
        CVdrawUtil d;
        Draw("CFVDPileCheck_HOR", EFVDT_Pile_CHECK_HOR, r.lc, d);
        const std::vector<Text> t = Coloured(d);
        ASSERT_EQ(t.size(), 6u);
        EXPECT_TRUE(EndsWith(t[0].text, r.x)) << t[0].text;
        EXPECT_TRUE(EndsWith(t[1].text, r.y)) << t[1].text;
        EXPECT_EQ(t[0].colour, r.cx);
        EXPECT_EQ(t[1].colour, r.cy);
    }
}

// Reactions: pile elements of type 403 only (404 skipped). A pile under a raft sums its node's
// reactions over the check group's own terms (DL: FZ 111, 222, 333 at the three piles; LL 50 at
// pile 2; WX -500 at pile 3), never over the analysis combination of the same key (2 = 1.5DL
// would give 166, 333, 500). One under a cap takes its local-compression force. A pile with no
// value under the group says so.
TEST_F(PileFigureTest, ReactionSources) {
    const std::string none = "无反力";
    struct Row {
        const char* name;
        int cap;
        UINT lc;
        std::vector<std::string> values;
    } rows[] = {
        // No precision of its own: whole kN.
        {"group 2, also a combination key", MEMB_RAFT, 2, {"111", "222", "333"}},
        // 1.2 x 111 = 133.2; 1.2 x 222 + 50 = 316.4; 1.2 x 333 = 399.6.
        {"group 9, no combination", MEMB_RAFT, 9, {"133", "316", "400"}},
        {"group 10, reactions at pile 3 only", MEMB_RAFT, 10, {none, none, "-500"}},
        // Largest magnitude of the listed groups: pile 1 133.2 (9) over 111; pile 2 316.4 (9);
        // pile 3 -500 (10) over 399.6 and 333.
        {"no load case", MEMB_RAFT, 0, {"133(9)", "316(9)", "-500(10)"}},
        // Pile 1's governing local-compression group: g3 2000/500 = 4 (g5 20, entry 2 2000/77
        // = 26) -> 500 of group 3; under group 2 its entry 77; it has no entry for group 9.
        {"pile 1 under a cap, no load case", MEMB_FOOTING, 0, {"500(3)", "316(9)", "-500(10)"}},
        {"pile 1 under a cap, group 2", MEMB_FOOTING, 2, {"77", "222", "333"}},
        {"pile 1 under a cap, group 9", MEMB_FOOTING, 9, {none, "316", "400"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Options o;
        o.capType = r.cap;
        Build(o);
        CVdrawUtil d;
        Draw("CFVDPileCheck_React", EFVDT_Pile_CHECK_REACT, r.lc, d);
        std::vector<std::string> got;
        for (const Text& t : Texts(d))
            if (t.text != "kN" && t.text.find("DL") == std::string::npos && t.text.find("WX") == std::string::npos &&
                t.text.find(" 1:1") == std::string::npos)
                got.push_back(t.text);  // not the notes (unit, group text, drawing scale)
        EXPECT_EQ(got, r.values);
    }
}

// The envelope texts are drawn after the figure's own scale and text style are applied: on a
// drawing left at another scale they come out as high as the pile texts (drawn afterwards), not
// at the left-over scale.
TEST_F(PileFigureTest, EnvelopeTextsTakeTheFigureScale) {
    Build();
    struct Row {
        const char* name;
        double leftOver;
    } rows[] = {{"left at 7", 7.0}, {"left at 0.25", 0.25}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CVdrawUtil d;
        d.SetDrawScale(r.leftOver);
        Draw("CFVDPileCheck_CZL", EFVDT_Pile_CHECK_CZL, 3, d);
        std::vector<double> heights;
        for (long id : d.GetFigureIds()) {
            const CvdFigure* f = d.GetFigure(id);
            if (f->GetKind() == VdKindText && f->m_hasColour) heights.push_back(f->m_height);
        }
        ASSERT_EQ(heights.size(), 5u);  // two envelope lines, three piles
        for (size_t i = 1; i < heights.size(); ++i) EXPECT_DOUBLE_EQ(heights[i], heights[0]) << i;
    }
}

// The envelope block hangs beneath the raft's lower edge (y = 0), and beneath the lowest pile
// circle (y - d/2, d = 0.5) when a pile stands on or below that edge: its lines move down by
// exactly that much and keep their x.
TEST_F(PileFigureTest, EnvelopeKeepsClearOfThePiles) {
    struct Row {
        const char* name;
        double pileY;
        double shift;  // of every envelope line against piles well inside the raft
    } rows[] = {
        {"piles inside", 2.0, 0.0},
        {"circle just reaching the edge", 0.25, 0.0},
        {"piles on the edge", 0.0, -0.25},
        {"piles below the raft", -1.0, -1.25},
    };
    std::vector<Text> base;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Options o;
        o.pileY = r.pileY;
        Build(o);
        CVdrawUtil d;
        Draw("CFVDPileCheck_CZL", EFVDT_Pile_CHECK_CZL, 3, d);
        std::vector<Text> lines;
        for (const Text& t : Coloured(d))
            if (t.text.find("压力") != std::string::npos) lines.push_back(t);
        ASSERT_EQ(lines.size(), 2u);
        if (base.empty()) base = lines;
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_NEAR(lines[i].at.y - base[i].at.y, r.shift, 1e-9) << i;
            EXPECT_NEAR(lines[i].at.x, base[i].at.x, 1e-9) << i;
        }
    }
}

// A pile whose punching map does not read: the bearing figure still shows it and counts it in
// the envelope (it reads the bearing map only); punching and local compression, which read the
// whole record, leave it out.
TEST_F(PileFigureTest, BearingFiguresReadOnlyTheBearingMap) {
    Options o;
    o.brokenPunching = true;
    Build(o);
    struct Row {
        const char* name;
        const char* cls;
        EFigureType type;
        std::vector<std::string> texts;  // every coloured text, in drawing order, group 3
    } rows[] = {
        // Section A (piles 1, 2): average (500 + 800) / 2 = 650 -> 1000 / 650 = 1.54, largest
        // 800 -> 1200 / 800 = 1.50 (without pile 2: 2.00 and 2.40); section B (pile 3): 1000 /
        // 600 = 1.67 and 1200 / 600 = 2.00. Then the piles: 1000 / 500, / 800, / 600.
        {"bearing", "CFVDPileCheck_CZL", EFVDT_Pile_CHECK_CZL,
         {"B:平均压力:1.67;  最大压力:2.00;  ", "A:平均压力:1.54;  最大压力:1.50;  ", "2.00", "1.25", "1.67"}},
        // Punching 400 / N and local compression 2000 / N of piles 1 and 3.
        {"punching", "CFVDPileCheck_CQ", EFVDT_Pile_CHECK_CQ, {"0.80", "0.67"}},
        {"local compression", "CFVDPileCheck_JY", EFVDT_Pile_CHECK_JY, {"4.00", "3.33"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CVdrawUtil d;
        Draw(r.cls, r.type, 3, d);
        std::vector<std::string> got;
        for (const Text& t : Coloured(d)) got.push_back(t.text);
        EXPECT_EQ(got, r.texts);
    }
}
