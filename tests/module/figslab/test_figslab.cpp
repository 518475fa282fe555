// The raft element sheets (522, 523, 527), the node-value sheets (511, 264, 512, 265, 524, 525)
// and the slab design sheets (510, 513, 91, 92, 263, 262, 161, 162) on small projects built in
// code. Expected texts are written out by hand from the rows each test adds.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../ModuleTestSupport.h"
#include "host/db/CDBDoc.h"
#include "host/db/ElementDesignTables.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDElementFigures.h"
#include "module/figures/CFVDNodeValueFigures.h"
#include "module/figures/CFVDSlabDesignFigures.h"
#include "module/figures/FigureText.h"

namespace {

constexpr COLORREF kGreen = 0x00FF00, kRed = 0x0000FF;

// Design groups 101 (number 1) and 103 (number 3, blast: "B3"); 102 is not for design.
void AddGroups(PostDBBuilder& b) {
    const struct {
        UINT key;
        int number, blast, designUse;
    } rows[] = {{101, 1, 0, 1}, {102, 2, 0, 0}, {103, 3, 1, 1}};
    for (const auto& r : rows) {
        T_CKLG_D g;
        g.Initialize();
        g.number = r.number;
        g.kind = LDGP_KIND_BASIC;
        g.blast = r.blast;
        g.designUse = r.designUse;
        pvxdb::CopyText(g.sort, sizeof(g.sort), ("G" + std::to_string(r.number)).c_str());
        b.Add<DBT_CKLG>(r.key, g);
    }
}

void AddPont(PostDBBuilder& b, UINT key, double x, double y) {
    T_PONT_D p;
    p.x = x;
    p.y = y;
    b.Add<DBT_PONT>(key, p);
}

T_MEMB_D Memb(int type, std::vector<UINT> ponts) {
    T_MEMB_D m;
    m.type = type;
    for (UINT p : ponts) m.aPont.Add(p);
    return m;
}

CArray<double, double> Reals(std::initializer_list<double> v) {
    CArray<double, double> a;
    for (double x : v) a.Add(x);
    return a;
}

class DocTest : public ::testing::Test {
protected:
    void Install(PostDBBuilder& b) {
        b.Install(m_doc);
        m_saved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
    }
    void TearDown() override {
        CDBDoc::m_pDBDoc = m_saved;
        SetFigurePrecision(2);
    }
    // Draws the figure of the class with the load case into a new drawing.
    std::unique_ptr<CVdrawUtil> Draw(const char* cls, UINT loadCase = 0) {
        auto d = std::make_unique<CVdrawUtil>();
        std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject(cls));
        auto* fig = dynamic_cast<CFVDBase*>(obj.get());
        EXPECT_NE(fig, nullptr) << cls;
        if (!fig) return d;
        fig->SetType(EFVDT_MTSB_FORCE_ELEMENT);
        fig->Display(d.get());
        fig->SetNotesFlag(FALSE);
        fig->SetLoadCase(loadCase);
        fig->DrawFigure();
        return d;
    }
    static std::vector<const CvdFigure*> On(const CVdrawUtil& d, int layer, VdFigureKind kind) {
        std::vector<const CvdFigure*> out;
        for (long id : d.GetFigureIds())
            if (d.GetFigure(id)->GetLayer() == layer && d.GetFigure(id)->GetKind() == kind) out.push_back(d.GetFigure(id));
        return out;
    }
    CDBDoc m_doc;
    CDBDoc* m_saved = nullptr;
};

// ---- Raft element sheets ---------------------------------------------------------------------

class ElementSheetTest : public DocTest {
protected:
    void SetUp() override {
        PostDBBuilder b;
        AddGroups(b);
        // A 2 x 1 plate (nodes 1-4) of a foundation raft member 50 (model key 900), a frame
        // element 2 under the same member, and plate 3 of a floor member 60 (no model key).
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 2, 0, 0);
        b.AddNode(3, 2, 1, 0);
        b.AddNode(4, 0, 1, 0);
        b.AddElem(1, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        b.AddElem(2, PELEM_KIND_FRAME, 201, {1, 2});
        b.AddElem(3, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        T_PMEMB_D m;
        m.type = 301;
        m.modelKey = 900;
        m.aElem.Add(1);
        m.aElem.Add(2);
        b.AddMemb(50, m);
        T_PMEMB_D f;
        f.type = 301;
        f.aElem.Add(3);
        b.AddMemb(60, f);
        // Combination 101: five values (the fifth is not shown); 103 larger in slots 1 and 3.
        T_PDDELEM_D r1;
        r1.aM = Reals({10, 20, 30, 40, 50});
        r1.aAs = Reals({100, 200, 123456, 400, 500});
        b.AddResult<DBT_PDDELEM>(101, 1, r1);
        T_PDDELEM_D r3;
        r3.aM = Reals({5, 25, 1, 45});
        r3.aAs = Reals({50, 250, 10, 450});
        b.AddResult<DBT_PDDELEM>(103, 1, r3);
        // Elements 2 and 3 have rows too: only the foundation plate is written.
        b.AddResult<DBT_PDDELEM>(101, 2, r3);
        b.AddResult<DBT_PDDELEM>(101, 3, r3);
        Install(b);
    }
};

// Governing values: key 0 takes each value's largest magnitude over the design groups 101, 103.
TEST_F(ElementSheetTest, GoverningValuesAndCombinations) {
    struct Row {
        const char* label;
        UINT key;
        int kind;
        std::vector<double> values, combs;
    } rows[] = {
        {"moments, governing", 0, 0, {10, 25, 30, 45, 50}, {101, 103, 101, 103, 101}},
        {"areas, governing", 0, 1, {100, 250, 123456, 450, 500}, {101, 103, 101, 103, 101}},
        {"moments of 103", 103, 0, {5, 25, 1, 45}, {103, 103, 103, 103}},
        {"no row for 102", 102, 0, {}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<double, double> v, c;
        EXPECT_EQ(T_PDDELEM_D::GetData(m_doc.GetMDBCtrl()->GetDBPost(), 1, r.key, v, c, r.kind), !r.values.empty());
        ASSERT_EQ(v.GetSize(), static_cast<INT_PTR>(r.values.size()));
        for (size_t i = 0; i < r.values.size(); ++i) {
            EXPECT_DOUBLE_EQ(v[i], r.values[i]);
            EXPECT_DOUBLE_EQ(c[i], r.combs[i]);
        }
        // The same gathered for a sheet: element 1 after element 2's shorter rows, element 4
        // without any.
        CArray<UINT, UINT> elems;
        for (UINT e : {2u, 1u, 4u}) elems.Add(e);
        CPDDElemValues all;
        ASSERT_TRUE(all.Read(m_doc.GetMDBCtrl()->GetDBPost(), elems, r.key, r.kind));
        EXPECT_EQ(all.Get(1, v, c), !r.values.empty());
        ASSERT_EQ(v.GetSize(), static_cast<INT_PTR>(r.values.size()));
        for (size_t i = 0; i < r.values.size(); ++i) {
            EXPECT_DOUBLE_EQ(v[i], r.values[i]);
            EXPECT_DOUBLE_EQ(c[i], r.combs[i]);
        }
        EXPECT_FALSE(all.Get(2, v, c));
        EXPECT_EQ(v.GetSize(), 0);
        // Element 2's values stay whole when element 1 widens the arrays.
        CArray<double, double> v2, c2;
        EXPECT_EQ(all.Get(0, v, c), T_PDDELEM_D::GetData(m_doc.GetMDBCtrl()->GetDBPost(), 2, r.key, v2, c2, r.kind));
        EXPECT_EQ(std::vector<double>(v.GetData(), v.GetData() + v.GetSize()),
                  std::vector<double>(v2.GetData(), v2.GetData() + v2.GetSize()));
        EXPECT_EQ(std::vector<double>(c.GetData(), c.GetData() + c.GetSize()),
                  std::vector<double>(c2.GetData(), c2.GetData() + c2.GetSize()));
    }
}

// The element text: first four values only, labels unless a load case is chosen, "***" in red
// for a reinforcement outside (-99999, 99999).
TEST_F(ElementSheetTest, ElementTextBlock) {
    SetFigurePrecision(0);
    const CArray<double, double> five = Reals({10, 25, 30, 45, 50}), combs = Reals({101, 103, 101, 103, 101});
    const CArray<double, double> areas = Reals({100, 250, 123456, -99999.5, 7});
    struct Row {
        const char* label;
        const char* name;
        int kind;
        const CArray<double, double>* values;
        UINT loadCase;
        const char* text;
        std::vector<COLORREF> colours;
    } rows[] = {
        {"moments with labels", "M", 0, &five, 0, "Mxb:10(1)\nMxt:25(B3)\nMyb:30(1)\nMyt:45(B3)", {}},
        {"moments, load case chosen", "M", 0, &five, 101, "Mxb:10\nMxt:25\nMyb:30\nMyt:45", {}},
        {"areas with overflow", "As", 1, &areas, 0, "Asxb:100(1)\nAsxt:250(B3)\nAsyb:***(1)\nAsyt:***(B3)",
         {kGreen, kGreen, kRed, kRed}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CString text;
        CArray<COLORREF> colours;
        CFVDMtsb_ElementForce::MakeElementText(r.name, r.kind, *r.values, combs, r.loadCase, text, colours);
        EXPECT_STREQ(text, r.text);
        ASSERT_EQ(colours.GetSize(), static_cast<INT_PTR>(r.colours.size()));
        for (size_t i = 0; i < r.colours.size(); ++i) EXPECT_EQ(colours[i], r.colours[i]);
    }
}

// Only the foundation plate is outlined and written: not the frame element, not the floor plate.
TEST_F(ElementSheetTest, OnlyFoundationPlatesAreDrawn) {
    struct Row {
        const char* cls;
        const char* text;
    } rows[] = {
        {"CFVDMtsb_ElementForce", "Mxb:10(1)\nMxt:25(B3)\nMyb:30(1)\nMyt:45(B3)"},
        {"CFVDMtsb_ElementAs", "Asxb:100(1)\nAsxt:250(B3)\nAsyb:***(1)\nAsyt:450(B3)"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        auto d = Draw(r.cls);
        const auto outlines = On(*d, FVD_LAYER_SUBELEM, VdKindPolyLine);
        ASSERT_EQ(outlines.size(), 1u);
        EXPECT_TRUE(outlines[0]->m_closed);
        EXPECT_EQ(outlines[0]->m_points.size(), 4u) << "the four corners";
        const auto texts = On(*d, FVD_LAYER_TEXT, VdKindText);
        CString joined;
        for (const CvdFigure* t : texts) joined += (joined.IsEmpty() ? "" : "\n") + t->m_text;
        EXPECT_STREQ(joined, r.text);
    }
}

// Load-case lists and descriptions: the element sheets list the design groups, the report
// sheet none; descriptions are appended to the text given.
TEST_F(ElementSheetTest, LoadCasesAndDescriptions) {
    struct Row {
        const char* cls;
        size_t cases;
        const char* description;
    } rows[] = {
        {"CFVDMtsb_ElementForce", 3, "given:kN·m/m"},
        {"CFVDMtsb_ElementAs", 3, "given:mm²/m"},
        {"CFVDMtsb_EleRp", 0, "given:弯矩kN·m/m\n配筋mm²/m"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject(r.cls));
        auto* fig = dynamic_cast<CFVDBase*>(obj.get());
        ASSERT_NE(fig, nullptr);
        fig->SetType(EFVDT_MTSB_FORCE_ELEMENT);
        std::map<UINT, CString> cases;
        fig->CollectLoadCases(cases);
        EXPECT_EQ(cases.size(), r.cases) << "101, 103 and the most unfavourable 0";
        CString text = "given:";
        CArray<COLORREF> colours;
        EXPECT_TRUE(fig->GetDescription(colours, text));
        EXPECT_STREQ(text, r.description);
    }
}

// The report text: eight pairs in the order x bottom, x top, y bottom, y top, moment then
// reinforcement, labels on the Max items only.
TEST_F(ElementSheetTest, ReportTextOrder) {
    SetFigurePrecision(0);
    T_ELERP_D r;
    for (int i = 0; i < 4; ++i) {
        r.max[0][i] = 10 * (i + 1);
        r.ave[0][i] = i + 1;
        r.comb[0][i] = i % 2 ? 103 : 101;
        r.max[1][i] = 100 * (i + 1);
        r.ave[1][i] = 50 * (i + 1);
        r.comb[1][i] = 101;
    }
    struct Row {
        const char* label;
        UINT loadCase;
        const char* text;
    } rows[] = {
        {"governing", 0,
         "MxbMax:10(1)  MxbAve:1\nAsxbMax:100(1)  AsxbAve:50\nMxtMax:20(B3)  MxtAve:2\nAsxtMax:200(1)  AsxtAve:100\n"
         "MybMax:30(1)  MybAve:3\nAsybMax:300(1)  AsybAve:150\nMytMax:40(B3)  MytAve:4\nAsytMax:400(1)  AsytAve:200"},
        {"load case chosen", 101,
         "MxbMax:10  MxbAve:1\nAsxbMax:100  AsxbAve:50\nMxtMax:20  MxtAve:2\nAsxtMax:200  AsxtAve:100\n"
         "MybMax:30  MybAve:3\nAsybMax:300  AsybAve:150\nMytMax:40  MytAve:4\nAsytMax:400  AsytAve:200"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_STREQ(CFVDMtsb_EleRp::MakeReportText(r, row.loadCase), row.text);
    }
}

// ---- Node-value sheets -------------------------------------------------------------------------

TEST(NodeValueSheets, MemberFilters) {
    struct Row {
        int type, subKind;
        BOOL raft, beam;  // shown by 511/512, by 264/265
    } rows[] = {{301, 0, 1, 0}, {306, 0, 1, 0}, {201, 2, 1, 0}, {201, 3, 1, 0},
                {201, 0, 0, 1}, {201, 1, 0, 0}, {202, 0, 0, 0}, {101, 2, 0, 0}};
    CFVDMembInfoDrawByNode raft;
    CFVDMTSBDesign_Disp raftDisp;
    CFVDBeam_Ract beam;
    CFVDBeam_Disp beamDisp;
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.type) + "/" + std::to_string(r.subKind));
        EXPECT_EQ(raft.IsMemberShown(r.type, r.subKind), r.raft);
        EXPECT_EQ(raftDisp.IsMemberShown(r.type, r.subKind), r.raft);
        EXPECT_EQ(beam.IsMemberShown(r.type, r.subKind), r.beam);
        EXPECT_EQ(beamDisp.IsMemberShown(r.type, r.subKind), r.beam);
    }
}

// Along a member: first point to last, turned round when it does not read forwards.
TEST(NodeValueSheets, MemberTextAngle) {
    struct Row {
        const char* label;
        std::vector<T_POINT2D> pts;
        double angle;
    } rows[] = {
        {"rightwards", {{0, 0}, {3, 1}, {6, 0}}, 0.0},
        {"leftwards is turned round", {{6, 0}, {0, 0}}, 0.0},
        {"upwards", {{0, 0}, {0, 6}}, 90.0},
        {"downwards is turned round", {{0, 6}, {0, 0}}, 90.0},
        {"down to the right", {{0, 0}, {3, -3}}, 315.0},
        {"up to the left is turned round", {{3, -3}, {0, 0}}, 315.0},
        {"one point", {{1, 1}}, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<T_POINT2D> pts;
        for (const T_POINT2D& p : r.pts) pts.Add(p);
        EXPECT_NEAR(CFVDMembInfoDrawByNode::MemberTextAngle(pts), r.angle, 1e-9);
    }
}

class NodeValueTest : public DocTest {
protected:
    void SetUp() override {
        PostDBBuilder b;
        AddGroups(b);
        // Load case 101 also names design group 101, so the sheets offer it.
        b.AddLoadCase(101, PLOAD_STATIC, "DL");
        // Raft plate 1 (nodes 1-4, 3 x 2 m) of raft member 50 (model 900); a grade beam member 70
        // (201, sub-kind 0, model 901) from node 2 (3, 0) to node 5 (3, 4), i.e. upwards.
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 3, 0, 0);
        b.AddNode(3, 3, 2, 0);
        b.AddNode(4, 0, 2, 0);
        b.AddNode(5, 3, 4, 0);
        b.AddElem(1, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        b.AddElem(2, PELEM_KIND_FRAME, 201, {5, 2});
        T_PMEMB_D m;
        m.type = 301;
        m.modelKey = 900;
        m.aElem.Add(1);
        for (UINT n : {1u, 2u, 3u, 4u}) m.aNode.Add(n);
        b.AddMemb(50, m);
        T_PMEMB_D beam;
        beam.type = 201;
        beam.modelKey = 901;
        beam.aElem.Add(2);
        beam.aNode.Add(5);
        beam.aNode.Add(2);
        b.AddMemb(70, beam);
        for (UINT p = 1; p <= 5; ++p) {
            const T_PNODE_D* n = b.DB().Table<DBT_PNODE>().Find(p);
            AddPont(b, p, n->x, n->y);
        }
        b.Add<DBT_MEMB>(900, Memb(MEMB_RAFT, {1, 2, 3, 4}));
        b.Add<DBT_MEMB>(901, Memb(MEMB_BEAM, {5, 2}));
        // A link beam 71 (model 902) from node 5 to node 6 (6, 4): no soil under it, so 264 and
        // 265 leave it out, and node 5's reaction stays whole with beam 70.
        b.AddNode(6, 6, 4, 0);
        AddPont(b, 6, 6, 4);
        b.AddElem(3, PELEM_KIND_FRAME, 201, {5, 6});
        T_PMEMB_D link = beam;
        link.modelKey = 902;
        link.aElem.RemoveAll();
        link.aElem.Add(3);
        link.aNode.RemoveAll();
        link.aNode.Add(5);
        link.aNode.Add(6);
        b.AddMemb(71, link);
        b.Add<DBT_MEMB>(902, Memb(MEMB_BEAM, {5, 6}));
        T_BEAM_D tie;
        tie.Initialize();
        tie.link = 1;
        b.Add<DBT_BEAM>(902, tie);
        // Settlements 12.3 mm at node 3, -4 mm at node 5 (the project stores millimetres).
        T_DISP_D d;
        d.Initialize();
        d.DZ = 12.3;
        b.AddDisp(101, 3, d);
        d.DZ = -4.0;
        b.AddDisp(101, 5, d);
        // Reactions 60 kN at node 1 (the raft's) and 12 kN at node 5 (the beam's).
        T_REAC_D r;
        r.Initialize();
        r.FZ = 60.0;
        b.AddReac(101, 1, r);
        r.FZ = 12.0;
        b.AddReac(101, 5, r);
        Install(b);
    }
};

// Displacements in millimetres with no decimals (12.3 mm = 0.0123 m -> "12"), reactions as the
// pressure under the raft and the line load along the beam; the plate's text is not turned, the
// members' run along them (upwards: 90 degrees).
TEST_F(NodeValueTest, DisplacementsInMillimetres) {
    struct Row {
        const char* cls;
        const char* text;
        double angle;
        size_t outlines;
    } rows[] = {
        {"CFVDELEM_Disp", "12", 0.0, 1},
        {"CFVDMTSBDesign_Disp", "12", 90.0, 1},  // the raft member: its outline runs (0,0) .. (0,2)
        {"CFVDBeam_Disp", "-4", 90.0, 1},
        // Pressures: 60 kN over the raft's 3 x 2 m, 12 kN along the beam's 4 m.
        {"CFVDMembInfoDrawByNode", "10", 90.0, 1},
        {"CFVDBeam_Ract", "3", 90.0, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        auto d = Draw(r.cls, 101);
        EXPECT_EQ(On(*d, FVD_LAYER_SUBELEM, VdKindPolyLine).size(), r.outlines);
        const auto texts = On(*d, FVD_LAYER_TEXT, VdKindText);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_STREQ(texts[0]->m_text, r.text);
        EXPECT_NEAR(texts[0]->m_angle, r.angle, 1e-9);
    }
}

// A member without nodes gives no value (the outline is the caller's).
TEST_F(NodeValueTest, NoNodesNoValue) {
    struct Probe : CFVDMTSBDesign_Disp {
        using CFVDMembInfoDrawByNode::ObjectValue;
    } probe;
    struct Row {
        const char* label;
        std::vector<UINT> nodes;
        BOOL ok;
        double value;
    } rows[] = {{"no nodes", {}, FALSE, 0.0}, {"node 3", {3}, TRUE, 12.3}, {"nodes 3, 5", {3, 5}, TRUE, 12.3}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<UINT, UINT> nodes;
        for (UINT n : r.nodes) nodes.Add(n);
        probe.SetType(EFVDT_MTSB_DESIGN_Disp);
        probe.SetLoadCase(101);
        UINT key = 99;
        double value = -1.0;
        EXPECT_EQ(probe.ObjectValue(nodes, 50, key, value), r.ok);
        EXPECT_NEAR(value, r.value, 1e-9);
    }
}

// ---- Slab design sheets ------------------------------------------------------------------------

TEST(SlabDesignSheets, EdgeTextPlacement) {
    struct Row {
        double angle;
        BOOL reversed;
        double folded;
        int anchor;
        BOOL upright;
    } rows[] = {
        {0, 0, 0, 8, 1},     {90, 0, 90, 8, 1},   {180, 0, 0, 8, 1},  {200, 0, 20, 8, 1},
        {300, 0, 120, 0, 0}, {271, 0, 91, 0, 0},  {90, 1, 90, 0, 0},  {200, 1, 200, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.angle) + (r.reversed ? " reversed" : ""));
        double a = r.angle;
        int anchor = -1;
        BOOL upright = -1;
        CFVDSlabForceDrawBase::EdgeTextPlacement(a, r.reversed, anchor, upright);
        EXPECT_DOUBLE_EQ(a, r.folded);
        EXPECT_EQ(anchor, r.anchor);
        EXPECT_EQ(upright, r.upright);
    }
}

// Edge texts: three values joined by "/" (reversed when not upright), one value per edge (the
// middle one of a record of three), "***" in the reinforcement sheets.
TEST(SlabDesignSheets, EdgeTexts) {
    SetFigurePrecision(0);
    const CArray<double, double> values = Reals({1, 2, 3, 4, 5, 123456}), labels = Reals({0, 0, 0, 0, 0, 0});
    CFVDMTSBDesign_Force force;
    CFVDMTSBDesign_As as;
    struct Row {
        const char* label;
        CFVDSlabForceDrawBase* fig;
        int i, count, recordCount;
        BOOL upright;
        const char* text;
    } rows[] = {
        {"three values", &force, 0, 3, 3, 1, "1/2/3"},
        {"three values, reversed", &force, 0, 3, 3, 0, "3/2/1"},
        {"one per edge from three: the middle", &force, 1, 1, 3, 1, "5"},
        {"one per edge from one", &force, 1, 1, 1, 1, "2"},
        {"missing values", &force, 2, 3, 3, 1, ""},
        {"overflow", &as, 1, 3, 3, 1, "4/5/***"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<COLORREF> colours;
        EXPECT_STREQ(r.fig->MakeEdgeText(values, labels, r.i, r.count, r.recordCount, r.upright, colours), r.text);
    }
    SetFigurePrecision(2);
}

// A panel's values for a load key: its own combination's, or the largest magnitude over them.
TEST(SlabDesignSheets, PanelValuesForALoadKey) {
    T_PDDSLAB_D s;
    for (UINT n : {1u, 2u, 3u}) s.aNode.Add(n);  // three edges, one value each: 5 per combination
    s.nEdgeValues = 1;
    s.aComb.Add(101);
    s.aComb.Add(103);
    s.aM = Reals({1, -8, 3, 4, 5, /* 103 */ -2, 7, 3, -4, 6});
    s.aAs = Reals({10, 80, 30, 40, 50, /* 103 */ 20, 70, 30, 40, 60});
    struct Row {
        const char* label;
        UINT key;
        BOOL area;
        std::vector<double> values, labels;
    } rows[] = {
        {"moments, governing", 0, 0, {-2, -8, 3, 4, 6}, {103, 101, 101, 101, 103}},
        {"areas, governing", 0, 1, {20, 80, 30, 40, 60}, {103, 101, 101, 101, 103}},
        {"moments of 103", 103, 0, {-2, 7, 3, -4, 6}, {103, 103, 103, 103, 103}},
        {"a key the panel has not", 102, 0, {}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<double, double> v, l;
        EXPECT_EQ(r.area ? s.GetData(r.key, v, l) : s.GetDData_M(r.key, v, l), !r.values.empty());
        ASSERT_EQ(v.GetSize(), static_cast<INT_PTR>(r.values.size()));
        for (size_t i = 0; i < r.values.size(); ++i) {
            EXPECT_DOUBLE_EQ(v[i], r.values[i]);
            EXPECT_DOUBLE_EQ(l[i], r.labels[i]);
        }
    }
}

class SlabSheetTest : public DocTest {
protected:
    void SetUp() override {
        PostDBBuilder b;
        AddGroups(b);
        // Rafts 10 (type 1) and 11 (slab band, type 2); footing 20 on point 5 at (6, 0).
        b.Add<DBT_MTSB>(10, T_MTSB_D{1, 0, 1.0});
        b.Add<DBT_MTSB>(11, T_MTSB_D{2, 10, 1.0});
        b.Add<DBT_MEMB>(10, Memb(MEMB_RAFT, {1, 2, 3, 4}));
        b.Add<DBT_MEMB>(11, Memb(MEMB_RAFT, {1, 2, 3, 4}));
        b.Add<DBT_MEMB>(20, Memb(MEMB_FOOTING, {5}));
        const double xy[6][2] = {{0, 0}, {3, 0}, {3, 2}, {0, 2}, {6, 0}, {6, 2}};
        for (UINT k = 1; k <= 6; ++k) {
            b.AddNode(k, xy[k - 1][0], xy[k - 1][1], 0);
            AddPont(b, k, xy[k - 1][0], xy[k - 1][1]);
        }
        // Panels: 1 of raft 10, 2 of the slab band, 3 bottom slab (0..3), 4 bottom slab on the
        // footing (3..6), 5 with a missing node 99 (listed before a good panel 6 of raft 10).
        auto add = [&](UINT key, UINT raft, std::vector<UINT> nodes) {
            T_PDDSLAB_D s;
            s.raft = raft;
            for (UINT n : nodes) s.aNode.Add(n);
            s.nEdgeValues = 3;
            s.angle2 = 90;
            s.aComb.Add(101);
            for (INT_PTR i = 0; i < s.ValuesPerComb(); ++i) {
                s.aM.Add(i + 1);
                s.aAs.Add(10 * (i + 1));
            }
            b.Add<DBT_PDDSLAB>(key, s);
        };
        add(1, 10, {1, 2, 3, 4});
        add(2, 11, {1, 2, 3, 4});
        add(3, 0, {1, 2, 3, 4});
        add(4, 0, {2, 5, 6, 3});
        add(5, 10, {1, 99, 3, 4});
        add(6, 10, {1, 2, 3, 4});
        Install(b);
    }
};

// Which sheet writes which panel: raft type 2 only the slab-band sheets, raft key 0 only the
// bottom-slab sheets, split by a footing on an edge; panel 5 (no outline) is left out and the
// sheet goes on to panel 6.
TEST_F(SlabSheetTest, PanelsPerSheet) {
    struct Row {
        const char* cls;
        size_t outlines;
        size_t texts;  // two direction texts and four edges
    } rows[] = {
        {"CFVDMTSBDesign_Force", 2, 12},      {"CFVDMTSBDesign_As", 2, 12},   {"CFVDMTSBDesign_Force_Sbbd", 1, 6},
        {"CFVDMTSBDesign_As_Sbbd", 1, 6},     {"CFVDBotSlabDesign_As", 1, 6}, {"CFVDBotSlabDesign_M", 1, 6},
        {"CFVDBotSlabDesignIso_As", 1, 6},    {"CFVDBotSlabDesignIso_M", 1, 6},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        auto d = Draw(r.cls);
        EXPECT_EQ(On(*d, FVD_LAYER_SUBELEM, VdKindPolyLine).size(), r.outlines);
        EXPECT_EQ(On(*d, FVD_LAYER_TEXT, VdKindText).size(), r.texts);
    }
}

// Panel 3's texts: the direction values 1 and 2, then per edge three values (M) or the middle
// one (263: values 3i+1 of the record's three: 4, 7, 10, 13, times 10 for the areas).
TEST_F(SlabSheetTest, PanelTexts) {
    struct Row {
        const char* cls;
        std::vector<std::string> texts;
    } rows[] = {
        {"CFVDBotSlabDesign_M",
         {"1(1)", "2(1)", "3(1)/4(1)/5(1)", "6(1)/7(1)/8(1)", "9(1)/10(1)/11(1)", "12(1)/13(1)/14(1)"}},
        {"CFVDBotSlabDesign_As", {"10(1)", "20(1)", "40(1)", "70(1)", "100(1)", "130(1)"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        auto d = Draw(r.cls);
        const auto texts = On(*d, FVD_LAYER_TEXT, VdKindText);
        ASSERT_EQ(texts.size(), r.texts.size());
        for (size_t i = 0; i < texts.size(); ++i) EXPECT_STREQ(texts[i]->m_text, r.texts[i].c_str()) << i;
    }
}

// ---- The sample's sheets ----------------------------------------------------------------------

std::string Shell(const std::string& cmd) {
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[512];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    return out;
}

// Every sheet drawn on the sample: each number of the DXF against the project's tables and the
// closed forms (scripts/check_element_figures.py, sqlite3, one run for all), and a picture that
// is not blank of one sheet of each kind (plate, member, panel), the others drawn alike.
TEST(SampleSheets, MatchTheProject) {
    const std::string tmp = PVX_TEST_TMPDIR, sample = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";
    const char* rows[] = {"522", "523", "527", "511", "264", "512", "265", "524", "525",
                          "510", "513", "91",  "92",  "263", "262", "161", "162"};
    const std::set<std::string> pictures = {"522", "511", "510"};
    std::string sheets;
    std::vector<std::string> drawings;
    for (const char* type : rows) {
        SCOPED_TRACE(type);
        const std::string base = tmp + "/figslab_" + type + "_" + std::to_string(getpid());
        const moduletest::HostRun dxf = moduletest::RunHost(std::string("figure ") + type + " --out " + base + ".dxf", "figslab");
        ASSERT_EQ(dxf.exitCode, 0) << dxf.err;
        sheets += " " + base + ".dxf " + type;
        drawings.push_back(base + ".dxf");
        if (!pictures.count(type)) continue;
        const moduletest::HostRun bmp =
            moduletest::RunHost(std::string("figure ") + type + " --size 400x300 --out " + base + ".bmp", "figslab");
        ASSERT_EQ(bmp.exitCode, 0) << bmp.err;
        EXPECT_NE(Shell("/usr/bin/python3 -c \"from PIL import Image; print(Image.open('" + base + ".bmp').getbbox())\""),
                  "None\n");
        std::remove((base + ".bmp").c_str());
    }
    const std::string check =
        Shell("/usr/bin/python3 " + std::string(PVX_SOURCE_DIR) + "/scripts/check_element_figures.py " + sample + sheets + " 2>&1; echo rc=$?");
    EXPECT_NE(check.find("rc=0"), std::string::npos) << check;
    EXPECT_EQ(check.find("FAILED"), std::string::npos) << check;
    size_t checked = 0;
    for (size_t at = check.find("values checked"); at != std::string::npos; at = check.find("values checked", at + 1)) ++checked;
    EXPECT_EQ(checked, std::size(rows)) << check;
    for (const std::string& d : drawings) std::remove(d.c_str());
}

}  // namespace
