// Lookups of the foundation model on a project built in code: records by key, footing and column
// outlines, raft outlines, polylines through nodes and points, member lines of the foundation.
#include <gtest/gtest.h>

#include <cmath>

#include "host/base/CZELF_DBAreaObjData.h"
#include "host/base/CZELF_DBLineObjData.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/CDBDoc.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"

namespace {

constexpr double kLookupTol = 1e-9;

// Points 1 (10, 20), 2..5 the raft square (0,0)-(8,0)-(8,6)-(0,6), 6 (2, 3), 7 (14, 20).
// Footing 401: stepped, centre (10, 20), steps 4 x 2 then 2 x 1, turned 90 degrees; pile 410
// under it with section 20 (d 0.6) at point 7. Column 101 (0.6 x 0.4 at point 6, 0 degrees),
// column 102 circular (d 0.8). Raft 402 (outline closed in the table), beam 201 (points 1, 7).
// Analysis: nodes 1 (0,0), 2 (5,0); member 60 of the foundation (model_key 201), 61 not.
class FoundationLookups : public ::testing::Test {
protected:
    void SetUp() override {
        PostDBBuilder b;
        const double pts[7][2] = {{10, 20}, {0, 0}, {8, 0}, {8, 6}, {0, 6}, {2, 3}, {14, 20}};
        for (int i = 0; i < 7; ++i) {
            T_PONT_D p;
            p.x = pts[i][0];
            p.y = pts[i][1];
            b.Add<DBT_PONT>(i + 1, p);
        }
        Memb(b, 401, MEMB_FOOTING, 90, {1});
        T_COLF_D f;
        f.Initialize();
        f.nStep = 2;
        f.cx = 10;
        f.cy = 20;
        f.join = 1;
        f.step[0] = {4, 2, 0.5};
        f.step[1] = {2, 1, 0.4};
        b.Add<DBT_COLF>(401, f);
        Memb(b, 410, MEMB_PILE, 0, {7}, 20);
        T_PILE_D pile;
        pile.aMemb.Add(401);
        pile.length = 12;
        b.Add<DBT_PILE>(410, pile);
        T_PISP_D sec;
        sec.Initialize();
        sec.d = 0.6;
        b.Add<DBT_PISP>(20, sec);
        Memb(b, 101, MEMB_COLUMN, 0, {6});
        b.Add<DBT_COLM>(101, T_COLM_D{0.6, 0.4});
        Memb(b, 102, MEMB_COLUMN, 0, {6});
        b.Add<DBT_COLM>(102, T_COLM_D{0.8, -1});
        Memb(b, 402, MEMB_RAFT, 0, {2, 3, 4, 5, 2});
        T_MTSB_D raft;
        raft.Initialize();
        raft.type = 1;
        b.Add<DBT_MTSB>(402, raft);
        Memb(b, 201, MEMB_BEAM, 0, {1, 7});
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 5, 0, 0);
        T_PMEMB_D pm;
        pm.type = 201;
        pm.aNode.Add(1);
        pm.aNode.Add(2);
        pm.modelKey = 201;
        b.AddMemb(60, pm);
        pm.modelKey = 0;
        b.AddMemb(61, pm);
        b.Install(m_doc);
        m_pSaved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
    }
    void TearDown() override { CDBDoc::m_pDBDoc = m_pSaved; }
    static void Memb(PostDBBuilder& b, UINT key, int type, double angle, std::initializer_list<UINT> ponts,
                     UINT fosp = 0) {
        T_MEMB_D m;
        m.type = type;
        m.angle = angle;
        m.fosp = fosp;
        for (UINT p : ponts) m.aPont.Add(p);
        b.Add<DBT_MEMB>(key, m);
    }
    CDataBase* DB() { return m_doc.GetMDBCtrl()->GetDBPost(); }
    CDBDoc m_doc;
    CDBDoc* m_pSaved = nullptr;
};

void ExpectPoints(const std::vector<T_POINT2D>& got, const std::vector<T_POINT2D>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "point " << i);
        EXPECT_NEAR(got[i].x, want[i].x, kLookupTol);
        EXPECT_NEAR(got[i].y, want[i].y, kLookupTol);
    }
}
std::vector<T_POINT2D> Vec(const CArray<T_POINT2D>& a) { return {a.GetData(), a.GetData() + a.GetSize()}; }

}  // namespace

TEST_F(FoundationLookups, RecordsByKey) {
    T_MEMB_D m;
    T_PILE_D pile;
    T_PISP_D sec;
    T_PONT_D p;
    T_COLF_D f;
    // A pile under a footing: pile -> its member -> section and point.
    ASSERT_TRUE(ICheckToolUtil::s_GetPileInfo(410, pile));
    ASSERT_EQ(pile.aMemb.GetSize(), 1);
    EXPECT_EQ(pile.aMemb[0], 401u);
    ASSERT_TRUE(ICheckToolUtil::s_GetMemb(410, m));
    ASSERT_TRUE(ICheckToolUtil::s_GetPileSecInfo(m.fosp, sec));
    EXPECT_DOUBLE_EQ(sec.d, 0.6);
    ASSERT_TRUE(ICheckToolUtil::s_GetPontInfo(m.aPont[0], p));
    EXPECT_DOUBLE_EQ(p.x, 14);
    // Missing keys fail and leave the record.
    p.x = -5;
    EXPECT_FALSE(ICheckToolUtil::s_GetPontInfo(99, p));
    EXPECT_DOUBLE_EQ(p.x, -5);
    EXPECT_FALSE(ICheckToolUtil::s_GetColf(101, f));
    EXPECT_FALSE(ICheckToolUtil::s_GetPileInfo(401, pile));
    T_FOSP_D fs;
    EXPECT_FALSE(ICheckToolUtil::s_GetFosp(1, fs));

    CArray<UINT, UINT> keys, out;
    for (UINT k : {401u, 410u, 101u, 999u, 102u}) keys.Add(k);
    EXPECT_EQ(ICheckToolUtil::s_GetMembKeyFromKeys(keys, out, MEMB_COLUMN, 0, nullptr), 2);
    EXPECT_EQ(out[0], 101u);
    EXPECT_EQ(out[1], 102u);
}

TEST_F(FoundationLookups, Outlines) {
    // Footing 401 turned 90 degrees about (10, 20): the 4 x 2 bottom step spans x 9..11,
    // y 18..22; its first corner (-2, -1) turns to (1, -2). The top 2 x 1 step: x 9.5..10.5,
    // y 19..21.
    CArray<T_POLYGON2D> outlines;
    CArray<double> d;
    BOOL circle = TRUE, join = FALSE;
    ASSERT_TRUE(ICheckToolUtil::s_GetColfPolyLine(401, outlines, circle, d, join, 0));
    EXPECT_FALSE(circle);
    EXPECT_TRUE(join);
    EXPECT_EQ(d.GetSize(), 0);
    ASSERT_EQ(outlines.GetSize(), 2);
    ExpectPoints(outlines[0].m_Points, {{11, 18}, {11, 22}, {9, 22}, {9, 18}, {11, 18}});
    ExpectPoints(outlines[1].m_Points, {{10.5, 19}, {10.5, 21}, {9.5, 21}, {9.5, 19}, {10.5, 19}});
    CArray<T_POINT2D> pts;
    ASSERT_TRUE(ICheckToolUtil::s_GetColfPolyLine(401, pts, 0, 0, 0));
    ExpectPoints(Vec(pts), outlines[0].m_Points);
    EXPECT_FALSE(ICheckToolUtil::s_GetColfPolyLine(402, pts, 0, 0, 0));
    T_POINT2D c = ICheckToolUtil::s_GetColfCent(401, 0);
    EXPECT_DOUBLE_EQ(c.x, 10);
    EXPECT_DOUBLE_EQ(c.y, 20);

    // Column 101: 0.6 x 0.4 about (2, 3). Column 102: circle of radius 0.4 about (2, 3).
    ASSERT_TRUE(ICheckToolUtil::s_MakeColumnPoly(101, pts));
    ExpectPoints(Vec(pts), {{1.7, 2.8}, {2.3, 2.8}, {2.3, 3.2}, {1.7, 3.2}, {1.7, 2.8}});
    ASSERT_TRUE(ICheckToolUtil::s_MakeColumnPoly(102, pts));
    ASSERT_EQ(pts.GetSize(), 37);
    for (INT_PTR i = 0; i < pts.GetSize(); ++i) EXPECT_NEAR(std::hypot(pts[i].x - 2, pts[i].y - 3), 0.4, kLookupTol);
    EXPECT_FALSE(ICheckToolUtil::s_MakeColumnPoly(401, pts));

    // Raft 402: its table outline repeats the first point; open and closed forms.
    ASSERT_TRUE(ICheckToolUtil::s_GetMtsbPolyline(402, pts, 1));
    ExpectPoints(Vec(pts), {{0, 0}, {8, 0}, {8, 6}, {0, 6}, {0, 0}});
    ASSERT_TRUE(CSlabCheckToolUtil::s_GetPolygon(402, pts));
    ExpectPoints(Vec(pts), {{0, 0}, {8, 0}, {8, 6}, {0, 6}});
    EXPECT_FALSE(ICheckToolUtil::s_GetMtsbPolyline(401, pts, 1));
}

TEST_F(FoundationLookups, PolylinesAndMemberLines) {
    CArray<T_POINT2D> pts;
    CArray<UINT, UINT> ponts;
    ponts.Add(1);
    ponts.Add(7);
    ASSERT_TRUE(ICheckToolUtil::s_ConvertPont2PolyLine(ponts, pts, nullptr));
    ExpectPoints(Vec(pts), {{10, 20}, {14, 20}});
    ponts.Add(99);
    EXPECT_FALSE(ICheckToolUtil::s_ConvertPont2PolyLine(ponts, pts, nullptr));

    // Member 60 belongs to the foundation (model_key 201), member 61 does not.
    ASSERT_TRUE(ICheckToolUtil::s_ConvertNode2PolyLine(60u, pts, 0));
    ExpectPoints(Vec(pts), {{0, 0}, {5, 0}});
    EXPECT_FALSE(ICheckToolUtil::s_ConvertNode2PolyLine(61u, pts, 0));

    CZELF_DBLineObjData line;
    ASSERT_TRUE(line.SetData(60u, DB(), DB(), 0));
    EXPECT_NEAR(line.GetLength(), 5.0, kLookupTol);
    EXPECT_FALSE(line.SetData(61u, DB(), DB(), 0));
    ASSERT_TRUE(line.SetData(201u, DB(), 0));
    EXPECT_NEAR(line.GetLength(), 4.0, kLookupTol);
    EXPECT_FALSE(line.SetData(402u + 1000u, DB(), 0));

    // Raft 402 as an area; a footing is no area.
    CZELF_DBAreaObjData area;
    ASSERT_TRUE(area.SetData(402, DB(), 1));
    ASSERT_TRUE(area.GetPoly(pts, 1));
    ExpectPoints(Vec(pts), {{0, 0}, {8, 0}, {8, 6}, {0, 6}, {0, 0}});
    EXPECT_FALSE(area.SetData(401, DB(), 1));
    EXPECT_FALSE(area.GetPoly(pts, 1));
}
