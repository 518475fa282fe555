// The footing design figures over a small seeded model: which texts each footing gets, their
// precision, the group areas and labels, and the angles of the z and y texts.
//
// The model: footings 401 (a spread footing) and 402 (a pile cap) at (0,0) and (10,0), each one
// 2 m step; basic groups 4, 6, 9 (CKLG, number = key). Design maps (hand values):
//   401  Mz {4: 12.345, 6: 20}  My {4: 10}  Asz {4: 1234.4, 6: 2000}  Asy {4: 1500.6, 9: 900}
//   402  Mz {4: 5.25}           My {}       Asz {4: 800.2}           Asy {4: 700.7}
// Footing group 3 = [401, 402], areas 2000 (group 6) and 1500.6 (group 4).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/check/FootingDesignTables.h"
#include "host/db/CDBDoc.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDISODesign.h"
#include "module/figures/FigureText.h"
#include "tests/module/figview/FoundationDoc.h"

namespace {

using figview::DocScope;

DoubleMap Map(std::vector<std::pair<UINT, double>> entries) {
    DoubleMap m;
    for (auto [k, v] : entries) m.SetAt(k, v);
    return m;
}

void BuildModel(PostDBBuilder& b, double angle, bool withGroup) {
    b.AddNode(1, 0, 0, 0);
    for (UINT k = 0; k < 2; ++k) {
        const UINT key = 401 + k;
        T_PONT_D p;
        p.x = 10.0 * k;
        p.y = 0.0;
        b.Add<DBT_PONT>(key, p);
        T_MEMB_D m;
        m.type = MEMB_FOOTING;
        m.aPont.Add(key);
        m.angle = angle;
        b.Add<DBT_MEMB>(key, m);
        T_COLF_D f;
        f.Initialize();
        f.kind = k == 0 ? COLF_SPREAD : COLF_PILECAP;
        f.cx = 10.0 * k;
        f.nStep = 1;
        f.step[0] = {2, 2, 0.5};
        b.Add<DBT_COLF>(key, f);
    }
    for (UINT g : {4u, 6u, 9u}) {
        T_CKLG_D c;
        c.Initialize();
        c.number = static_cast<int>(g);
        c.kind = LDGP_KIND_BASIC;
        std::snprintf(c.sort, sizeof(c.sort), "G%u", g);
        b.Add<DBT_CKLG>(g, c);
    }
    T_PDDCOLF_D a;
    a.fy = 360;
    a.h0 = 0.45;
    a.m_mapMz = Map({{4, 12.345}, {6, 20.0}});
    a.m_mapMy = Map({{4, 10.0}});
    a.m_mapAsz = Map({{4, 1234.4}, {6, 2000.0}});
    a.m_mapAsy = Map({{4, 1500.6}, {9, 900.0}});
    b.Add<DBT_PDDCOLF>(401, DesignRows::Encode(a));
    T_PDDCOLF_D c;
    c.fy = 360;
    c.h0 = 0.45;
    c.m_mapMz = Map({{4, 5.25}});
    c.m_mapAsz = Map({{4, 800.2}});
    c.m_mapAsy = Map({{4, 700.7}});
    b.Add<DBT_PDDCOLF>(402, DesignRows::Encode(c));
    if (!withGroup) return;
    T_PCOLFG_D g;
    g.Initialize();
    g.aColf.Add(401);
    g.aColf.Add(402);
    g.zGroup = 6;
    g.yGroup = 4;
    g.asz = 2000.0;
    g.asy = 1500.6;
    b.Add<DBT_PCOLFG>(3, g);
}

struct Text {
    std::string text;
    T_POINT2D at;
    double angle;
};

std::vector<Text> Texts(const CVdrawUtil& d) {
    std::vector<Text> out;
    for (long id : d.GetFigureIds()) {
        const CvdFigure* f = d.GetFigure(id);
        if (f->GetKind() != VdKindText) continue;
        const std::string t = static_cast<const char*>(f->m_text);
        if (t.rfind("As", 0) == 0 || t.rfind("M", 0) == 0 || t.rfind("ZJ", 0) == 0 || t.rfind("CT", 0) == 0)
            out.push_back({t, f->m_points[0], f->m_angle});
    }
    return out;
}

std::vector<std::string> Strings(const std::vector<Text>& texts) {
    std::vector<std::string> s;
    for (const Text& t : texts) s.push_back(t.text);
    return s;
}

class FootingDesignTest : public ::testing::Test {
protected:
    void Build(double angle = 0.0, bool withGroup = true) {
        PostDBBuilder b;
        BuildModel(b, angle, withGroup);
        m_scope.reset();
        m_doc = std::make_unique<CDBDoc>();
        b.Install(*m_doc);
        m_scope = std::make_unique<DocScope>(*m_doc);
    }
    // Draws figure cls as type t with load case lc (precision < 0: the figure's own) into d.
    void Draw(const char* cls, EFigureType t, UINT lc, double precision, CVdrawUtil& d) {
        std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject(cls));
        auto* fig = dynamic_cast<CFVDBase*>(obj.get());
        ASSERT_NE(fig, nullptr) << cls;
        fig->SetType(t);
        fig->Prepare(FALSE);
        if (precision >= 0) fig->GetDisplaySettings()->m_dPrecision = precision;
        fig->Display(&d);
        fig->SetLoadCase(lc);
        fig->DrawFigure();
    }

    std::unique_ptr<CDBDoc> m_doc;
    std::unique_ptr<DocScope> m_scope;
};

}  // namespace

// The texts of each figure and load case: the steel figure in whole numbers (its own precision
// 0), per footing with a load case and per group with none; the moment figure at the settings'
// precision; a map without a value for the chosen group writes nothing.
TEST_F(FootingDesignTest, TextsByFigureAndLoadCase) {
    Build();
    struct Row {
        const char* name;
        const char* cls;
        EFigureType type;
        UINT lc;
        double precision;
        std::vector<std::string> texts;
    } rows[] = {
        {"steel, load case 4", "CFVDISOCalAs", EFVDT_ISO_DESIGN_As, 4, -1,
         {"Asz:1234", "Asy:1501", "Asz:800", "Asy:701"}},
        {"steel, load case 9: only 401's y area", "CFVDISOCalAs", EFVDT_ISO_DESIGN_As, 9, -1, {"Asy:900"}},
        {"steel by group", "CFVDISOCalAs", EFVDT_ISO_DESIGN_As, 0, -1, {"Asz:2000(6)", "Asy:1501(4)", "ZJ3", "CT3"}},
        {"moments, governing, precision 2", "CFVDISODesign", EFVDT_ISO_FORCE_Moment, 0, 2,
         {"Mz:20.00(6)", "My:10.00(4)", "Mz:5.25(4)"}},
        {"moments, load case 4, precision 1", "CFVDISODesign", EFVDT_ISO_FORCE_Moment, 4, 1,
         {"Mz:12.3", "My:10.0", "Mz:5.2"}},
        {"moments, load case 6", "CFVDISODesign", EFVDT_ISO_FORCE_Moment, 6, 0, {"Mz:20"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CVdrawUtil d;
        Draw(r.cls, r.type, r.lc, r.precision, d);
        EXPECT_EQ(Strings(Texts(d)), r.texts);
    }
}

// The group's areas are written once, in its first footing's outline; every footing of the
// group carries the label; without a group table the steel figure with no load case is empty.
TEST_F(FootingDesignTest, GroupAreasInTheFirstFootingAndLabelsInEach) {
    struct Row {
        const char* name;
        bool withGroup;
        std::vector<double> xs;  // x of each text, near its footing's centre (0 or 10)
    } rows[] = {
        {"group 3", true, {0, 0, 0, 10}},
        {"no group table", false, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Build(0.0, r.withGroup);
        CVdrawUtil d;
        Draw("CFVDISOCalAs", EFVDT_ISO_DESIGN_As, 0, -1, d);
        const std::vector<Text> t = Texts(d);
        ASSERT_EQ(t.size(), r.xs.size());
        for (size_t i = 0; i < t.size(); ++i) EXPECT_NEAR(t[i].at.x, r.xs[i], 1.01) << t[i].text;
    }
}

// z texts hang along the member, upright (anchor 1); y texts stand across it (anchor 6, turned
// 90 degrees more): their angle is GetUprightTextAngle(a + 90), by hand: 0 -> 90, 30 -> 120,
// 100 -> 10 (190 folds to 10), 200 -> 110 (290 -> 110); the z angle 0, 30, 100, 20.
TEST_F(FootingDesignTest, AnchorAnglesOfTheTwoDirections) {
    struct Row {
        double angle, z, y;
    } rows[] = {{0, 0, 90}, {30, 30, 120}, {100, 100, 10}, {200, 20, 110}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.angle);
        Build(r.angle);
        CVdrawUtil d;
        Draw("CFVDISOCalAs", EFVDT_ISO_DESIGN_As, 4, -1, d);
        const std::vector<Text> t = Texts(d);
        ASSERT_EQ(t.size(), 4u);
        EXPECT_NEAR(t[0].angle, r.z, 1e-9);
        EXPECT_NEAR(t[1].angle, r.y, 1e-9);
        EXPECT_NEAR(GetUprightTextAngleEx(r.angle) + 90.0, r.y, 1e-9);
    }
}
