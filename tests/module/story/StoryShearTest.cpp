// The story shear display (display mode 5): the values the force engine takes from the host's
// story shear records, how members are painted and where their numbers go.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CRecordDC.h"
#include "tests/module/model/LinkedModelSupport.h"

namespace {

enum : UINT {
    kColumn = 1,    // 101, (0, 0, 0) - (0, 0, 3)
    kBeam = 2,      // 201, (0, 0, 3) - (6, 0, 3)
    kGirder = 3,    // 204, a horizontal panel 2 x 2 at z = 0, x 10..12
    kOdd = 4,       // 102: neither a line nor a plane member
    kBare = 5,      // 101 without a record, (20, 0, 0) - (20, 0, 3)
    kPenta = 6,     // 302: a slab of one five-cornered plate at z = 3, no record in kRows
    kCase = 1,      // the case with records
    kOther = 2,     // a case without records
    kComb = 10,     // 1.0 x case 1
};

// The records of case 1: force and ratio at 0, 45 and 90 degrees.
struct Row {
    UINT memb;
    double force[3];
    double ratio[3];
};
const Row kRows[] = {
    {kColumn, {5.0, 4.0, 3.0}, {0.5, 0.45, 0.35}},
    {kBeam, {8.0, 4.0, 2.0}, {0.8, 0.4, 0.2}},
    {kGirder, {3.0, 6.0, 9.0}, {0.3, 0.6, 0.9}},
    {kOdd, {5.0, 5.0, 5.0}, {0.5, 0.5, 0.5}},
};

void FillProject(PostDBBuilder& b) {
    b.AddNode(1, 0, 0, 0);
    b.AddNode(2, 0, 0, 3);
    b.AddNode(3, 6, 0, 3);
    b.AddNode(10, 10, 0, 0);
    b.AddNode(11, 12, 0, 0);
    b.AddNode(12, 12, 2, 0);
    b.AddNode(13, 10, 2, 0);
    b.AddNode(20, 20, 0, 0);
    b.AddNode(21, 20, 0, 3);
    for (UINT k = 0; k < 5; ++k)
        b.AddNode(40 + k, 30 + 2 * std::cos(k * 1.2566370614359172), 2 * std::sin(k * 1.2566370614359172), 3);
    b.AddNode(30, 16, 0, 0);
    b.AddNode(31, 18, 0, 0);
    T_PSECT_D sect;
    sect.Initialize();
    sect.type = 1;
    sect.dim[0] = 0.3;
    sect.dim[1] = 0.3;
    b.AddSect(1, sect);
    b.AddElem(11, PELEM_KIND_FRAME, 101, {1, 2}, 1, 1);
    b.AddElem(12, PELEM_KIND_FRAME, 201, {2, 3}, 1, 1);
    b.AddElem(13, PELEM_KIND_WALL, 204, {10, 11, 12, 13}, 1, 1);
    b.AddElem(14, PELEM_KIND_FRAME, 102, {30, 31}, 1, 1);
    b.AddElem(15, PELEM_KIND_FRAME, 101, {20, 21}, 1, 1);
    b.AddMemb(kColumn, 101, {1, 2}, {11});
    b.AddMemb(kBeam, 201, {2, 3}, {12});
    b.AddMemb(kGirder, 204, {10, 11, 12, 13}, {13});
    b.AddMemb(kOdd, 102, {30, 31}, {14});
    b.AddMemb(kBare, 101, {20, 21}, {15});
    b.AddElem(16, PELEM_KIND_PLATE, 302, {40, 41, 42, 43, 44}, 1, 1);
    b.AddMemb(kPenta, 302, {40, 41, 42, 43, 44}, {16});
    b.AddLoadCase(kCase, PLOAD_STATIC, "WX");
    b.AddLoadCase(kOther, PLOAD_STATIC, "DL");
    b.AddLoadComb(kComb, PLCOM_LINEAR, "C", {T_PLCOM_ENTRY{PLOAD_STATIC, kCase, 1.0}});
    for (const Row& r : kRows) {
        T_SSFR_D rec;
        rec.Initialize();
        rec.story = 1;
        for (int a = 0; a < 3; ++a) {
            rec.force[a] = r.force[a];
            rec.ratio[a] = r.ratio[a];
        }
        b.AddSsfr(kCase, r.memb, rec);
    }
}

class TestView : public GRenderView {};

// Notes the values of every face and line the engine paints.
class NoteEngine : public CForceEngine {
public:
    explicit NoteEngine(I_PVXModelBase* pModel) : CForceEngine(pModel) {}
    void DoSubPolyContour(CDC* pDC, double* pValues, CList<C3DPoint, C3DPoint>* pPoints, int* pFlags,
                          int bFrame) override {
        for (int i = 0; i < static_cast<int>(pPoints->GetCount()); ++i) m_values.push_back(pValues[i]);
        ++m_faces;
        CForceEngine::DoSubPolyContour(pDC, pValues, pPoints, pFlags, bFrame);
    }
    void DrawContourLine(CDC* pDC, CArray<C3DPoint, C3DPoint>& pts, CArray<double, double>& values) override {
        for (INT_PTR i = 0; i < values.GetSize(); ++i) m_values.push_back(values[i]);
        ++m_lines;
        CForceEngine::DrawContourLine(pDC, pts, values);
    }
    std::vector<double> m_values;
    int m_faces = 0, m_lines = 0;
};

class StoryShearTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetBarState();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        FillProject(b);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        LinkModelToCtrl(*m_model, m_view.GetI_PVXCtrl(), &m_view);
        m_view.GetI_PVXCtrl()->SetClientSize(400, 300);
        m_view.GetI_PVXCtrl()->SetStandardView(GViewCamera::VIEW_ISO);
        T_PVX_DOPT_D& o = *M().m_pDispOpt;
        o.m_bShading = 0;
        o.m_bWireFrame = 0;
        o.m_nRenderMode = 1;
        o.m_bLineCulling = o.m_bPlaneCulling = 0;
        o.m_Color.m_crInactive = RGB(1, 2, 3);
        M().m_nPenFactor = 1;
        Select(1, kCase);
        ASSERT_TRUE(m_dc.Create());
    }
    void TearDown() override {
        m_model.reset();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    void Select(UINT type, UINT key) {
        M().m_nLoadType = type;
        M().m_nLoadKey = key;
        M().m_nLoadStep = 0;
        M().m_bLoadSelected = 1;
        M().SelectLoad();
    }
    I_PVXModel& M() { return *m_model; }
    // An engine built for mode 5 with the output and angle given.
    template <class E = CForceEngine>
    std::unique_ptr<E> Built(int nOutput, double dAngle) {
        auto e = std::make_unique<E>(&M());
        e->m_nSSFROutput = nOutput;
        e->m_dSSFRAngle = dAngle;
        e->InitEngine(nullptr, PVXMode::kStoryShearRatio);
        return e;
    }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    TestView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    CRecordDC m_dc;
};

TEST_F(StoryShearTest, ValuesAreTheRecordsOfTheCaseOutputAndDirection) {
    // Each member with a record gets the record's force or ratio of the direction, unchanged;
    // the member without one gets nothing.
    const double angles[3] = {0.0, 45.0, 90.0};
    for (int out : {0, 1})
        for (int a = 0; a < 3; ++a) {
            SCOPED_TRACE("output " + std::to_string(out) + ", angle " + std::to_string(angles[a]));
            auto e = Built(out, angles[a]);
            ASSERT_EQ(e->m_bSSFRData, 1);
            EXPECT_EQ(e->m_mapSSFR.GetCount(), 4);
            for (const Row& r : kRows) {
                double v = -1.0;
                ASSERT_TRUE(e->m_mapSSFR.Lookup(r.memb, v)) << r.memb;
                EXPECT_EQ(v, out ? r.ratio[a] : r.force[a]) << r.memb;
            }
            double v = 0.0;
            EXPECT_FALSE(e->m_mapSSFR.Lookup(kBare, v));
        }
}

TEST_F(StoryShearTest, NoValuesWithoutRecordsOfOneCaseAndDirection) {
    struct Case {
        const char* label;
        UINT type, key;
        double angle;
    } const cases[] = {
        {"case without records", 1, kOther, 0.0},
        {"combination (shares do not add up)", 11, kComb, 0.0},
        {"a direction the records do not hold", 1, kCase, 30.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Select(c.type, c.key);
        auto e = Built(1, c.angle);
        EXPECT_EQ(e->m_bSSFRData, 0);
        EXPECT_EQ(e->m_mapSSFR.GetCount(), 0);
        m_dc.Clear();
        e->OutputSSFRData(&m_dc);
        EXPECT_EQ(m_dc.Count("ExtTextOut") + m_dc.Count("TextOut"), 0u);
    }
}

TEST_F(StoryShearTest, LegendRangeIsThatOfTheValues) {
    // Ratios at 0 degrees: beam 0.8 the largest, girder 0.3 the smallest.
    auto e = Built(1, 0.0);
    EXPECT_EQ(e->m_dLegendMax, 0.8);
    EXPECT_EQ(e->m_dLegendMin, 0.3);
    EXPECT_EQ(M().m_nMaxKey, kBeam);
    EXPECT_EQ(M().m_nMinKey, kGirder);
    ASSERT_NE(e->m_pContourEngine, nullptr);
}

TEST_F(StoryShearTest, MembersArePaintedInOneValueEachOthersInactive) {
    // Ratios at 0 degrees: column 0.5, beam 0.8, girder 0.3. Frame members of a rectangular
    // section are boxes of six quadrilaterals; drawn as lines (wire frame) they are their axes,
    // two points of one value. The girder is its one face of four corners.
    struct Case {
        const char* label;
        int wire;
        int lines, faces;
        int n08, n05, n03;  // values handed over
    } const cases[] = {
        {"solid members", 0, 0, 13, 24, 24, 4},
        {"members as lines", 1, 2, 1, 2, 2, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        M().m_pDispOpt->m_bWireFrame = c.wire;
        auto e = Built<NoteEngine>(1, 0.0);
        m_dc.Clear();
        e->DrawSSFRData(&m_dc);
        EXPECT_EQ(e->m_lines, c.lines);
        EXPECT_EQ(e->m_faces, c.faces);
        int n08 = 0, n05 = 0, n03 = 0;
        for (double v : e->m_values) {
            if (v == 0.8) ++n08;
            else if (v == 0.5) ++n05;
            else if (v == 0.3) ++n03;
            else ADD_FAILURE() << "painted with " << v;
        }
        EXPECT_EQ(n08, c.n08);
        EXPECT_EQ(n05, c.n05);
        EXPECT_EQ(n03, c.n03);
        // Member 102 (a value but no drawable kind) and the column without a record: inactive.
        size_t inactive = 0;
        for (const GdiRecord& r : m_dc.GetRecords())
            if (r.op != "SelectObject" && r.op != "CreatePen" && r.pen.lopnColor == RGB(1, 2, 3)) ++inactive;
        EXPECT_GE(inactive, 2u);
    }
}

TEST_F(StoryShearTest, FacesOfMoreThanFourCornersAreFilledInTheBandColour) {
    // The band cutter takes three or four corners; one value over a face is one band, so the
    // pentagon slab is filled in the colour of its value (0.65, between 0.3 and 0.8).
    T_SSFR_D rec;
    rec.Initialize();
    rec.ratio[0] = 0.65;
    m_doc.GetMDBCtrl()->GetDBPost()->Table<DBT_SSFR>().Set(kCase, kPenta, rec);
    auto e = Built<NoteEngine>(1, 0.0);
    double v = 0.0;
    ASSERT_TRUE(e->m_mapSSFR.Lookup(kPenta, v));
    m_dc.Clear();
    e->DrawSSFRData(&m_dc);
    for (double x : e->m_values) EXPECT_NE(x, 0.65) << "the pentagon went to the band cutter";
    const COLORREF want = e->m_pContourEngine->GetValueColor(0.65);
    size_t fills = 0;
    for (const GdiRecord* r : m_dc.GetRecords("Polygon"))
        if (r->brush.lbColor == want && r->points.size() == 5) ++fills;
    EXPECT_EQ(fills, 1u);
}

TEST_F(StoryShearTest, DrawnWithoutADeformationEngine) {
    // The display is drawn on the undeformed shape: the model needs no deformation engine.
    ASSERT_EQ(M().m_pDeformEngine, nullptr);
    M().m_pDispOpt->m_bWireFrame = 1;
    auto e = Built<NoteEngine>(0, 45.0);
    e->DrawSSFRData(&m_dc);
    EXPECT_EQ(e->m_lines + e->m_faces, 3);
}

TEST_F(StoryShearTest, EmptyValuesDrawEveryMemberInactive) {
    Select(1, kOther);
    auto e = Built<NoteEngine>(1, 0.0);
    e->DrawSSFRData(&m_dc);
    EXPECT_EQ(e->m_lines + e->m_faces, 0);
    size_t inactive = 0;
    for (const GdiRecord& r : m_dc.GetRecords())
        if (r.op != "SelectObject" && r.op != "CreatePen" && r.pen.lopnColor == RGB(1, 2, 3)) ++inactive;
    EXPECT_GE(inactive, 5u);
}

// Texts written on the DC, in order.
std::vector<const GdiRecord*> Texts(const CRecordDC& dc) {
    std::vector<const GdiRecord*> out;
    for (const GdiRecord& r : dc.GetRecords())
        if ((r.op == "TextOut" || r.op == "ExtTextOut") && !r.text.empty()) out.push_back(&r);
    return out;
}

TEST_F(StoryShearTest, NumbersAreTheValuesAtTheMembersMidpoints) {
    T_PVX_DOPT_NUMBER_D& num = M().m_pDispOpt->m_Number;
    num.m_nDecimals = 2;
    num.m_bExponent = 0;
    num.m_nNumberOpt2 = 0;
    auto e = Built(1, 0.0);
    e->OutputSSFRData(&m_dc);
    // Column 0.50, beam 0.80, girder 0.30 (" %.2f "); member 102 has no label point.
    std::vector<std::string> texts;
    for (const GdiRecord* r : Texts(m_dc)) texts.push_back(r->text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], " 0.50 ");
    EXPECT_EQ(texts[1], " 0.80 ");
    EXPECT_EQ(texts[2], " 0.30 ");
    // The column's text stands at the window midpoint of its end nodes (truncated).
    C3DPoint a(0, 0, 0), b(0, 0, 3);
    const CPoint wa = M().Get3DPtTo2DPt(&a), wb = M().Get3DPtTo2DPt(&b);
    const GdiRecord* col = Texts(m_dc)[0];
    EXPECT_EQ(col->Arg(0), static_cast<int>((wa.x + wb.x) * 0.5));
    EXPECT_EQ(col->Arg(1), static_cast<int>((wa.y + wb.y) * 0.5));
}

TEST_F(StoryShearTest, ExtremeFilterLabelsTheExtremes) {
    // Ratios 0.5, 0.8, 0.3 (and 0.5 of member 102); range 0.3..0.8, 10 % of it is 0.05: only the
    // beam (near the maximum) and the girder (near the minimum) are labelled, as extremes.
    T_PVX_DOPT_NUMBER_D& num = M().m_pDispOpt->m_Number;
    num.m_nDecimals = 2;
    num.m_nNumberOpt2 = 1;
    num.m_dNumberFactor = 10.0;
    struct Kind {
        int kind;
        std::vector<std::string> want;
    } const kinds[] = {
        {0, {"0.80", "0.30"}},  // maximum and minimum
        {1, {"0.80"}},          // the larger magnitude: 0.8
        {2, {"0.80"}},          // maximum only
        {3, {"0.30"}},          // minimum only
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.kind);
        num.m_nNumberOpt1 = k.kind;
        auto e = Built(1, 0.0);
        m_dc.Clear();
        e->OutputSSFRData(&m_dc);
        std::string all;
        for (const GdiRecord* r : Texts(m_dc)) all += r->text + "|";
        for (const std::string& w : k.want) EXPECT_NE(all.find(w), std::string::npos) << all;
        EXPECT_EQ(all.find("0.50"), std::string::npos) << all;
        EXPECT_FALSE(Texts(m_dc).empty());
    }
}

TEST_F(StoryShearTest, TextPointOfMemberTypes) {
    CForceEngine e(&M());
    struct Case {
        const char* label;
        int type;
        int want;
    } const cases[] = {{"column", 101, 1}, {"beam", 201, 1}, {"roof beam", 205, 1}, {"girder", 204, 1},
                       {"wall column", 209, 1}, {"wall beam", 210, 1}, {"truss", 206, 1}, {"wall 211", 211, 0},
                       {"slab", 302, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        T_PMEMB_D memb;
        memb.type = c.type;
        memb.aNode.Add(1);
        memb.aNode.Add(2);
        C3DPoint mid;
        CPoint midWin;
        CArray<CPoint, CPoint&> win;
        CArray<C3DPoint, C3DPoint&> pts;
        EXPECT_EQ(e.GetTextPoint(memb, mid, midWin, win, pts), c.want);
        if (!c.want) continue;
        ASSERT_EQ(pts.GetSize(), 2);
        EXPECT_EQ(mid.z, 1.5);  // nodes 1 (z 0) and 2 (z 3)
    }
}

}  // namespace
