// The check figures of footings, columns and beams drawn over a small seeded model: which objects
// get texts, their labels, colours, angles, placement in the footing steps and move tags, and
// that a load group without a result writes nothing.
//
// The model: footings 401, 402, 403 at (0,0), (10,0), (20,0); 401 and 402 have check records,
// 403 none. 401 has three square steps 4, 3, 2 m wide; 402 one step 2 m wide. Standard groups
// 3, 5, 7 and basic groups 4, 6, 9 (CKLG, number = key). Hand values: a check (force F,
// resistance R) has ratio R / F and passes above 0.999999 (green 0x00FF00, else red 0x0000FF).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/base/CMsgDll.h"
#include "host/check/CheckTables.h"
#include "host/db/CDBDoc.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDCheckFigures.h"
#include "module/figures/FigureTextMove.h"

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

T_MEMB_D Memb(int type, std::vector<UINT> ponts, UINT fosp, double angle) {
    T_MEMB_D m;
    m.type = type;
    for (UINT p : ponts) m.aPont.Add(p);
    m.fosp = fosp;
    m.angle = angle;
    return m;
}

void AddGroup(PostDBBuilder& b, UINT key, int kind) {
    T_CKLG_D g;
    g.Initialize();
    g.number = static_cast<int>(key);
    g.kind = kind;
    std::snprintf(g.sort, sizeof(g.sort), "G%u", key);
    b.Add<DBT_CKLG>(key, g);
}

CJCheckData_P Parts(std::vector<CheckData_P> parts, bool part0 = true) {
    CJCheckData_P p;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i == 0 && part0) {
            CheckData_P c = parts[0];
            p.m_mapPart0.SetAt(0, c);
        } else if (i > 0) {
            p.m_aPart.Add(parts[i]);
        }
    }
    return p;
}

struct Options {
    double angle = 0.0;      // member angle of every footing and column
    int joinFlag = 0;        // footing 401 joined
    bool part0 = true;       // part 0 of footing 401 present
};

void BuildModel(PostDBBuilder& b, const Options& o) {
    b.AddNode(1, 0, 0, 0);
    T_FOSP_D edge{2, 1, 0};
    b.Add<DBT_FOSP>(1, edge);
    for (UINT k = 0; k < 3; ++k) {
        const UINT key = 401 + k;
        AddPont(b, key, 10.0 * k, 0);
        b.Add<DBT_MEMB>(key, Memb(MEMB_FOOTING, {key}, 0, o.angle));
        T_COLF_D f;
        f.Initialize();
        f.cx = 10.0 * k;
        f.nStep = k == 0 ? 3 : 1;
        f.join = k == 0 ? o.joinFlag : 0;
        f.step[0] = {k == 0 ? 4.0 : 2.0, k == 0 ? 4.0 : 2.0, 0.3};
        f.step[1] = {3, 3, 0.3};
        f.step[2] = {2, 2, 0.3};
        b.Add<DBT_COLF>(key, f);
    }
    for (UINT g : {3u, 5u, 7u}) AddGroup(b, g, LDGP_KIND_STANDARD);
    for (UINT g : {4u, 6u, 9u}) AddGroup(b, g, LDGP_KIND_BASIC);

    // Footing 401: bearing ratios by group (average, maximum): 3: 0.8, 1.5; 5: 1.2, 0.9;
    // 7 only in the weak map. Governing average 3 (0.8), maximum 5 (0.9).
    T_PCDCOLF_D r;
    r.fa = r.faz = r.ft = 1.0;
    CZLCheckData_P z3, z5;
    z3.m_Ave = CheckData_P(100, 80);
    z3.m_Max = CheckData_P(100, 150);
    z5.m_Ave = CheckData_P(100, 120);
    z5.m_Max = CheckData_P(100, 90);
    r.m_mapCZL.SetAt(3, z3);
    r.m_mapCZL.SetAt(5, z5);
    CheckData_P w7(50, 100), w3(50, 60);  // ratios 2.0 and 1.2: governing 3
    r.m_mapWeak.SetAt(7, w7);
    r.m_mapWeak.SetAt(3, w3);
    // Parts 0, 1, 2: group 4 ratios 2, 3, 0.5; group 6 ratios 1, 4, 2; group 9 ratios 5, 0.25, 1.
    // Governing: part 0 -> 6 (1), part 1 -> 9 (0.25), part 2 -> 4 (0.5).
    CJCheckData_P p4 = Parts({{10, 20}, {10, 30}, {10, 5}}, o.part0);
    CJCheckData_P p6 = Parts({{10, 10}, {10, 40}, {10, 20}}, o.part0);
    CJCheckData_P p9 = Parts({{10, 50}, {10, 2.5}, {10, 10}}, o.part0);
    for (CJCheckMap* m : {&r.m_mapCQ, &r.m_mapJQ}) {
        m->SetAt(4, p4);
        m->SetAt(6, p6);
        m->SetAt(9, p9);
    }
    b.Add<DBT_PCDCOLF>(401, CheckRows::Encode(r));
    // Footing 402: group 3 only.
    T_PCDCOLF_D r2;
    r2.fa = r2.faz = r2.ft = 1.0;
    r2.m_mapCZL.SetAt(3, z5);
    CheckData_P w(10, 5);
    r2.m_mapWeak.SetAt(3, w);
    b.Add<DBT_PCDCOLF>(402, CheckRows::Encode(r2));

    // Columns 101 (record: group 4 ratio 2, group 6 ratio 0.5), 102 (no record), 103 (record, no
    // member point: no outline), all 0.5 x 0.5.
    for (UINT k = 0; k < 3; ++k) {
        const UINT key = 101 + k;
        if (k != 2) AddPont(b, 501 + k, 5.0 * k, 10);
        b.Add<DBT_MEMB>(key, Memb(MEMB_COLUMN, {501 + k}, 0, o.angle));
        b.Add<DBT_COLM>(key, T_COLM_D{0.5, 0.5});
    }
    T_PCDCJY_D jy;
    jy.fc = 1.0;
    CheckData_P j4(10, 20), j6(10, 5);
    jy.m_mapCheck.SetAt(4, j4);
    jy.m_mapCheck.SetAt(6, j6);
    b.Add<DBT_PCDCJY>(101, CheckRows::Encode(jy));
    T_PCDCJY_D jy3 = jy;
    b.Add<DBT_PCDCJY>(103, CheckRows::Encode(jy3));
    // Beams 201 (record) and 202 (none), from the points set by the test.
}

void AddBeam(PostDBBuilder& b, UINT key, double x1, double y1, double x2, double y2, bool record) {
    AddPont(b, 600 + 2 * key, x1, y1);
    AddPont(b, 601 + 2 * key, x2, y2);
    b.Add<DBT_MEMB>(key, Memb(MEMB_BEAM, {600 + 2 * key, 601 + 2 * key}, 0, 0));
    T_BEAM_D beam;
    beam.Initialize();
    b.Add<DBT_BEAM>(key, beam);
    if (!record) return;
    T_PCDBEAM_D r;
    r.width = r.fa = 1.0;
    CZLCheckData_P z;
    z.m_Ave = CheckData_P(100, 150);
    z.m_Max = CheckData_P(100, 50);
    r.m_mapCZL.SetAt(3, z);
    b.Add<DBT_PCDBEAM>(key, CheckRows::Encode(r));
}

struct Text {
    std::string text;
    T_POINT2D at;
    double angle;
    bool coloured;
    COLORREF colour;
    long id;
};

// The texts of the drawing in drawing order.
std::vector<Text> Texts(const CVdrawUtil& d) {
    std::vector<Text> out;
    for (long id : d.GetFigureIds()) {
        const CvdFigure* f = d.GetFigure(id);
        if (f->GetKind() == VdKindText)
            out.push_back({std::string(static_cast<const char*>(f->m_text)), f->m_points[0], f->m_angle,
                           f->m_hasColour != 0, f->m_colour, id});
    }
    return out;
}

// The check texts (coloured) only.
std::vector<Text> CheckTexts(const CVdrawUtil& d) {
    std::vector<Text> out;
    for (const Text& t : Texts(d))
        if (t.coloured) out.push_back(t);
    return out;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

class CheckFigureTest : public ::testing::Test {
protected:
    void Build(const Options& o = Options(), bool beams = false, double beamAngle = 0.0) {
        PostDBBuilder b;
        BuildModel(b, o);
        if (beams) {
            const double a = beamAngle * M_PI / 180.0;
            AddBeam(b, 201, 0, 20, 6 * std::cos(a), 20 + 6 * std::sin(a), true);
            AddBeam(b, 202, 0, 30, 6, 30, false);
        }
        m_scope.reset();
        m_doc = std::make_unique<CDBDoc>();
        b.Install(*m_doc);
        m_scope = std::make_unique<DocScope>(*m_doc);
    }
    // Draws the figure of class cls as type t with load case lc into d.
    void Draw(const char* cls, EFigureType t, UINT lc, CVdrawUtil& d) {
        std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject(cls));
        auto* fig = dynamic_cast<CFVDBase*>(obj.get());
        ASSERT_NE(fig, nullptr) << cls;
        fig->SetType(t);
        fig->Prepare(FALSE);
        fig->Display(&d);
        fig->SetNotesFlag(TRUE);
        fig->SetLoadCase(lc);
        ASSERT_EQ(fig->GetCurLoadCase(), lc);
        fig->DrawFigure();
    }

    std::unique_ptr<CDBDoc> m_doc;
    std::unique_ptr<DocScope> m_scope;
};

}  // namespace

// Bearing capacity: footings 401 and 402 write two lines each, 403 (no record) nothing; with load
// case 0 each line names its own governing group, with a load case the labels are empty; green
// for ratios above 1, red below.
TEST_F(CheckFigureTest, BearingCapacityLinesLabelsAndColours) {
    Build();
    struct Row {
        const char* name;
        UINT lc;
        std::vector<std::string> tails;  // ratio and label of each line, in drawing order
        std::vector<COLORREF> colours;
    } rows[] = {
        // 401: average of group 3 (80/100), maximum of group 5 (90/100); 402: only group 3,
        // average 120/100 and maximum 90/100.
        {"governing", 0, {"0.80(3)", "0.90(5)", "1.20(3)", "0.90(3)"}, {kRed, kRed, kGreen, kRed}},
        {"load case 5", 5, {"1.20", "0.90"}, {kGreen, kRed}},
        {"load case 3", 3, {"0.80", "1.50", "1.20", "0.90"}, {kRed, kGreen, kGreen, kRed}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CVdrawUtil d;
        Draw("CFVDISOCheck_CZL", EFVDT_ISO_CHECK_CZL, r.lc, d);
        const std::vector<Text> t = CheckTexts(d);
        ASSERT_EQ(t.size(), r.tails.size());
        for (size_t i = 0; i < t.size(); ++i) {
            EXPECT_TRUE(EndsWith(t[i].text, ":" + r.tails[i])) << t[i].text << " vs " << r.tails[i];
            EXPECT_EQ(t[i].colour, r.colours[i]) << i;
        }
    }
}

// The footing's move slots: the average line is slot 0 and the maximum line slot 1 of the
// footing member.
TEST_F(CheckFigureTest, BearingCapacityMoveSlots) {
    Build();
    struct Row {
        const char* name;
        UINT lc;
        std::vector<int> owners, slots;
    } rows[] = {
        {"governing", 0, {401, 401, 402, 402}, {0, 1, 0, 1}},
        {"group 5: only 401", 5, {401, 401}, {0, 1}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CVdrawUtil d;
        Draw("CFVDISOCheck_CZL", EFVDT_ISO_CHECK_CZL, r.lc, d);
        const std::vector<Text> t = CheckTexts(d);
        ASSERT_EQ(t.size(), r.slots.size());
        for (size_t i = 0; i < t.size(); ++i) {
            int pos = -1, own = -1;
            EXPECT_TRUE(d.GetXPropertyInt(t[i].id, kFvdTextPos, pos));
            EXPECT_TRUE(d.GetXPropertyInt(t[i].id, kFvdTextOwn, own));
            EXPECT_EQ(pos, r.slots[i]);  // kind 0 (member): 100 x 0 + slot
            EXPECT_EQ(own, r.owners[i]);
        }
    }
}

// Text angles: footings fold the member angle into its quarter turn (bearing, weak layer and the
// column texts), the footing parts keep it upright, beams take their full angle.
TEST_F(CheckFigureTest, TextAngles) {
    struct Row {
        const char* cls;
        EFigureType type;
        UINT lc;
        double memberAngle;
        double expected;
    } rows[] = {
        {"CFVDISOCheck_CZL", EFVDT_ISO_CHECK_CZL, 3, 135, 45},
        {"CFVDISOCheck_Weak", EFVDT_ISO_CHECK_WEAK, 3, 135, 45},
        {"CFVDISOCheck_JQ", EFVDT_ISO_CHECK_JQ, 4, 200, 20},
        {"CFVDISOCheck_CQ", EFVDT_ISO_CHECK_CQ, 4, -30, 150},
        {"CFVDCheck_JY", EFVDT_Column_CHECK_JY, 4, 200, 20},
        {"CFVDBeamCheck_CZL", EFVDT_Bean_Check_CZL, 3, 30, 30},
        {"CFVDBeamCheck_CZL", EFVDT_Bean_Check_CZL, 3, 200, 200 - 360},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.cls) + " " + std::to_string(r.memberAngle));
        Options o;
        o.angle = r.memberAngle;
        Build(o, true, r.memberAngle);
        CVdrawUtil d;
        Draw(r.cls, r.type, r.lc, d);
        const std::vector<Text> t = CheckTexts(d);
        ASSERT_FALSE(t.empty());
        for (const Text& x : t) EXPECT_NEAR(std::remainder(x.angle - r.expected, 360.0), 0.0, 1e-9) << x.text;
    }
}

// Edge placement: a footing section of type 2 whose first option is 1 or whose second option
// is set; nothing for another type or a missing section.
TEST_F(CheckFigureTest, EdgePlacementRule) {
    struct Row {
        const char* name;
        bool present;
        T_FOSP_D section;
        BOOL expected;
    } rows[] = {
        {"type 2, option 1", true, {2, 1, 0}, 1},   {"type 2, second option 3", true, {2, 0, 3}, 1},
        {"type 2, no option", true, {2, 0, 0}, 0},  {"type 2, first option 2", true, {2, 2, 0}, 0},
        {"type 1, option 1", true, {1, 1, 1}, 0},   {"missing section", false, {2, 1, 0}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        if (r.present) b.Add<DBT_FOSP>(7, r.section);
        CDBDoc doc;
        b.Install(doc);
        DocScope scope(doc);
        EXPECT_EQ(CFVDCheckTypeBase::NeedsEdgeTextPlacement(7), r.expected);
    }
}

// Without a document nothing is drawn, not even the notes; with one, the notes come after every
// check text.
TEST_F(CheckFigureTest, NothingWithoutDatabaseAndNotesLast) {
    const struct Row {
        const char* cls;
        EFigureType type;
        UINT lc;
    } rows[] = {
        {"CFVDISOCheck_CZL", EFVDT_ISO_CHECK_CZL, 3},   {"CFVDISOCheck_Weak", EFVDT_ISO_CHECK_WEAK, 3},
        {"CFVDISOCheck_JQ", EFVDT_ISO_CHECK_JQ, 4},     {"CFVDISOCheck_CQ", EFVDT_ISO_CHECK_CQ, 4},
        {"CFVDCheck_JY", EFVDT_Column_CHECK_JY, 4},     {"CFVDBeamCheck_CZL", EFVDT_Bean_Check_CZL, 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        {
            CDBDoc* saved = CDBDoc::m_pDBDoc;
            CDBDoc::m_pDBDoc = nullptr;
            CVdrawUtil d;
            std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject(r.cls));
            auto* fig = dynamic_cast<CFVDBase*>(obj.get());
            ASSERT_NE(fig, nullptr);
            fig->SetType(r.type);
            fig->Display(&d);
            fig->DrawFigure();
            CDBDoc::m_pDBDoc = saved;
            EXPECT_TRUE(d.GetFigureIds().empty());
        }
        Build(Options(), true, 0);
        CVdrawUtil d;
        Draw(r.cls, r.type, r.lc, d);
        const std::vector<Text> all = Texts(d);
        ASSERT_FALSE(all.empty());
        size_t lastCheck = 0, firstNote = all.size();
        for (size_t i = 0; i < all.size(); ++i) {
            if (all[i].coloured) lastCheck = i;
            else if (firstNote == all.size()) firstNote = i;
        }
        EXPECT_TRUE(all[0].coloured);
        EXPECT_LT(lastCheck, firstNote);
        EXPECT_LT(firstNote, all.size());  // the notes are there
    }
}

// Footing parts: part i goes into outline parts - 1 - i (anchor top middle, so its y is the top
// of that step: 2 m wide -> y 1, 3 m -> 1.5, 4 m -> 2); with load case 0 each part names its
// governing group; a joined footing (second flag) shows part 0 only; no part 0 -> nothing.
TEST_F(CheckFigureTest, FootingPartsPairing) {
    struct Row {
        const char* name;
        const char* cls;
        EFigureType type;
        UINT lc;
        Options o;
        std::vector<std::string> tails;
        std::vector<double> tops;
    } rows[] = {
        {"shear, governing", "CFVDISOCheck_JQ", EFVDT_ISO_CHECK_JQ, 0, {}, {"1.00(6)", "0.25(9)", "0.50(4)"}, {1, 1.5, 2}},
        {"punching, group 4", "CFVDISOCheck_CQ", EFVDT_ISO_CHECK_CQ, 4, {}, {"2.00", "3.00", "0.50"}, {1, 1.5, 2}},
        {"joined: part 0 only", "CFVDISOCheck_JQ", EFVDT_ISO_CHECK_JQ, 9, {0, 1, true}, {"5.00"}, {1}},
        {"no part 0", "CFVDISOCheck_CQ", EFVDT_ISO_CHECK_CQ, 6, {0, 0, false}, {}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Build(r.o);
        CVdrawUtil d;
        Draw(r.cls, r.type, r.lc, d);
        const std::vector<Text> t = CheckTexts(d);
        ASSERT_EQ(t.size(), r.tails.size());
        for (size_t i = 0; i < t.size(); ++i) {
            EXPECT_TRUE(EndsWith(t[i].text, ":" + r.tails[i])) << t[i].text;
            EXPECT_NEAR(t[i].at.x, 0.0, 1e-9);
            EXPECT_NEAR(t[i].at.y, r.tops[i], 1e-9);
        }
    }
}

// A load group a record does not hold writes nothing for that object (not a red 0.00); the
// other objects still show.
TEST_F(CheckFigureTest, GroupWithoutResultShowsNothing) {
    Build(Options(), true, 0);
    struct Row {
        const char* cls;
        EFigureType type;
        UINT lc;
        std::vector<std::string> tails;
    } rows[] = {
        {"CFVDISOCheck_CZL", EFVDT_ISO_CHECK_CZL, 7, {}},          // 7 is only in the weak map
        {"CFVDISOCheck_Weak", EFVDT_ISO_CHECK_WEAK, 7, {"2.00"}},   // 402 has no group 7
        {"CFVDISOCheck_Weak", EFVDT_ISO_CHECK_WEAK, 0, {"1.20(3)", "0.50(3)"}},
        {"CFVDCheck_JY", EFVDT_Column_CHECK_JY, 9, {}},             // 101 has 4 and 6 only
        {"CFVDCheck_JY", EFVDT_Column_CHECK_JY, 0, {"0.50(6)"}},    // 102 no record, 103 no outline
        {"CFVDCheck_JY", EFVDT_Column_CHECK_JY, 4, {"2.00"}},
        {"CFVDBeamCheck_CZL", EFVDT_Bean_Check_CZL, 5, {}},
        {"CFVDBeamCheck_CZL", EFVDT_Bean_Check_CZL, 0, {"1.50(3)", "0.50(3)"}},  // 202 no record
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.cls) + " " + std::to_string(r.lc));
        CVdrawUtil d;
        Draw(r.cls, r.type, r.lc, d);
        const std::vector<Text> t = CheckTexts(d);
        ASSERT_EQ(t.size(), r.tails.size());
        for (size_t i = 0; i < t.size(); ++i) {
            EXPECT_TRUE(EndsWith(t[i].text, ":" + r.tails[i])) << t[i].text;
            EXPECT_EQ(t[i].text.find("0.00"), std::string::npos);
        }
    }
}

// Each figure's defaults (ratio flag 1, two decimals), description key and load-case list:
// the bearing-type figures offer the standard groups 3, 5, 7 and the most unfavourable entry 0,
// the footing parts and the columns the basic groups 4, 6, 9 and 0.
TEST_F(CheckFigureTest, DefaultsDescriptionsAndLoadCaseLists) {
    Build();
    struct Row {
        const char* cls;
        EFigureType type;
        const char* descriptionKey;
        std::vector<UINT> loadCases;
    } rows[] = {
        {"CFVDISOCheck_CZL", EFVDT_ISO_CHECK_CZL, "IDS_DESCREPT_TEXT_CZL", {0, 3, 5, 7}},
        {"CFVDISOCheck_Weak", EFVDT_ISO_CHECK_WEAK, "IDS_DESCREPT_TEXT_WEAK", {0, 3, 5, 7}},
        {"CFVDISOCheck_JQ", EFVDT_ISO_CHECK_JQ, "IDS_DESCREPT_TEXT_JQ_RATIO", {0, 4, 6, 9}},
        {"CFVDISOCheck_CQ", EFVDT_ISO_CHECK_CQ, "IDS_DESCREPT_TEXT_CQ_RATIO", {0, 4, 6, 9}},
        {"CFVDCheck_JY", EFVDT_Column_CHECK_JY, "IDS_DESCREPT_PILE_TEXT_JY", {0, 4, 6, 9}},
        {"CFVDBeamCheck_CZL", EFVDT_Bean_Check_CZL, "IDS_DESCREPT_TEXT_CZL", {0, 3, 5, 7}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject(r.cls));
        auto* fig = dynamic_cast<CFVDCheckTypeBase*>(obj.get());
        ASSERT_NE(fig, nullptr);
        fig->SetType(r.type);
        sFVDDisplaySettings s;
        s.m_nRatio = 0;
        s.m_dPrecision = 5.0;
        fig->SetSettings(&s);
        fig->SetDefaultOptions();
        EXPECT_EQ(s.m_nRatio, 1);
        EXPECT_EQ(s.m_dPrecision, 2.0);
        CArray<COLORREF> colours;
        CString text;
        EXPECT_EQ(fig->GetDescription(colours, text), 1);
        EXPECT_FALSE(text.IsEmpty());
        EXPECT_EQ(std::string(static_cast<const char*>(text)),
                  std::string(static_cast<const char*>(CMsgDll::pfuncLoadStr(r.descriptionKey, 0))));
        std::vector<UINT> keys;
        for (const auto& [k, t] : *fig->GetLoadCaseMap()) keys.push_back(k);
        EXPECT_EQ(keys, r.loadCases);
        fig->SetSettings(nullptr);
    }
}
