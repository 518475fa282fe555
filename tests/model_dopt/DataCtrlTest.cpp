// Data-access controls over a post database built in code: reads by key, element-type
// predicates, lengths and areas, local axes, member end points, shrinking and face keys.
#include "host/db/PostDBBuilder.h"
#include "model/CPVXAttrCtrl.h"
#include "model/CPVXGeomCtrl.h"
#include "model/CPVXMembCtrl.h"
#include "model/CPVXPostCtrl.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

T_PELEM_D SuperElem(int nSEResult) {
    T_PELEM_D e;
    e.Initialize();
    e.kind = PELEM_KIND_SUPER;
    e.type = 301;
    e.nSEResult = nSEResult;
    return e;
}

// A small model:
//   M1  line 201 through (0,0,0), (1,0,0), (3,4,0); station nodes 2 and none
//   M2  beam along x, (0,0,0)-(6,0,0), element turned by 90 degrees
//   M3  column (2,2,0)-(2,2,3)
//   M4  plate member 301 with five nodes (a 2 x 1 rectangle and one more), lifted by 1 m
//   M5  one node only
//   M6, M7, M8  members of super elements with node results, element results, and mixed
//   M9  shrink test member (0,0,0)-(10,0,0)
class DataCtrls : public testing::Test {
protected:
    void SetUp() override {
        CDBDoc::m_pDBDoc = &m_doc;
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 1, 0, 0);
        b.AddNode(3, 3, 4, 0);
        b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2});
        b.AddElem(2, PELEM_KIND_FRAME, 201, {2, 3});
        T_PMEMB_D m1;
        m1.type = 201;
        m1.aNode.Add(1), m1.aNode.Add(2), m1.aNode.Add(3);
        m1.aElem.Add(1), m1.aElem.Add(2);
        m1.node3 = 2;
        m1.node4 = 0;
        b.AddMemb(1, m1);

        b.AddNode(10, 0, 0, 0);
        b.AddNode(11, 6, 0, 0);
        b.AddElem(10, PELEM_KIND_FRAME, 201, {10, 11}, 0, 0, 90.0);
        b.AddMemb(2, 201, {10, 11}, {10});

        b.AddNode(12, 2, 2, 0);
        b.AddNode(13, 2, 2, 3);
        b.AddElem(11, PELEM_KIND_FRAME, 101, {12, 13});
        b.AddMemb(3, 101, {12, 13}, {11});

        b.AddNode(20, 0, 0, 0);
        b.AddNode(21, 2, 0, 0);
        b.AddNode(22, 2, 1, 0);
        b.AddNode(23, 0, 1, 0);
        b.AddNode(24, 0, 5, 0);
        b.AddNode(25, 1, 5, 0);
        b.AddNode(26, 1, 5, 1);
        b.AddNode(27, 0, 5, 1);
        b.AddElem(20, PELEM_KIND_PLATE, 301, {20, 21, 22, 23});
        b.AddElem(21, PELEM_KIND_PLATE, 301, {24, 25, 26, 27});
        T_PMEMB_D m4;
        m4.type = 301;
        for (UINT k : {20, 21, 22, 23, 24}) m4.aNode.Add(k);
        m4.aElem.Add(20);
        m4.offsetZ = 1.0;
        b.AddMemb(4, m4);

        b.AddNode(30, 7, 7, 7);
        b.AddMemb(5, 0, {30}, {});

        b.AddElem(40, SuperElem(2));
        b.AddElem(41, SuperElem(1));
        b.AddMemb(6, 301, {20, 21}, {40});
        b.AddMemb(7, 301, {20, 21}, {41});
        b.AddMemb(8, 301, {20, 21}, {40, 20});

        b.AddNode(50, 0, 0, 0);
        b.AddNode(51, 10, 0, 0);
        b.AddNode(52, 5, 0, 4);
        b.AddElem(50, PELEM_KIND_FRAME, 201, {50, 51});
        b.AddMemb(9, 201, {50, 51}, {50});
        b.SetFloor(FALSE);
        b.Install(m_doc);
    }
    void TearDown() override { CDBDoc::m_pDBDoc = nullptr; }

    static void ExpectAxes(const double axes[3][3], const double want[3][3]) {
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(axes[r][c], want[r][c], 1e-12) << "row " << r << " col " << c;
    }

    CDBDoc m_doc;
};

}  // namespace

TEST(AttrCtrlTypes, ElementTypePredicates) {
    // Columns: column, beam, 204, truss, wall, line, plane, wire-plane.
    struct Row {
        int code;
        BOOL column, beam, e204, truss, wall, line, plane, wirePlane;
    } rows[] = {
        {101, 1, 0, 0, 0, 0, 1, 0, 0}, {200, 0, 0, 0, 0, 0, 1, 0, 0}, {201, 0, 1, 0, 0, 0, 1, 0, 0},
        {204, 0, 0, 1, 0, 0, 0, 1, 0}, {205, 0, 1, 0, 0, 0, 1, 0, 0}, {206, 0, 0, 0, 1, 0, 1, 0, 0},
        {209, 0, 0, 0, 0, 1, 0, 1, 0}, {210, 0, 0, 0, 0, 1, 0, 1, 0}, {211, 0, 0, 0, 0, 1, 0, 1, 0},
        {212, 0, 0, 0, 0, 1, 0, 1, 0}, {301, 0, 0, 0, 0, 0, 0, 1, 0}, {302, 0, 0, 0, 0, 0, 0, 1, 0},
        {305, 0, 0, 0, 0, 0, 0, 1, 0}, {25, 0, 0, 0, 0, 0, 0, 0, 1},  {202, 0, 0, 0, 0, 0, 0, 0, 0},
        {208, 0, 0, 0, 0, 0, 0, 0, 0}, {213, 0, 0, 0, 0, 0, 0, 0, 0}, {300, 0, 0, 0, 0, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "type " << r.code);
        EXPECT_EQ(CPVXAttrCtrl::IsColumnElemType(r.code), r.column);
        EXPECT_EQ(CPVXAttrCtrl::IsBeamElemType(r.code), r.beam);
        EXPECT_EQ(CPVXAttrCtrl::IsElemType204(r.code), r.e204);
        EXPECT_EQ(CPVXAttrCtrl::IsTrussElemType(r.code), r.truss);
        EXPECT_EQ(CPVXAttrCtrl::IsWallElemType(r.code), r.wall);
        EXPECT_EQ(CPVXAttrCtrl::IsLineElemType(r.code), r.line);
        EXPECT_EQ(CPVXAttrCtrl::IsPlaneElemType(r.code), r.plane);
        EXPECT_EQ(CPVXAttrCtrl::IsWirePlaneElemType(r.code), r.wirePlane);
    }
    EXPECT_EQ(CPVXAttrCtrl::GetShapeMode(), 0);
}

TEST(AttrCtrlTypes, SlabForceLoadTypes) {
    // Only the codes 10, 11 and 12 have no wall and slab forces; codes outside the table count
    // as having them.
    for (int code = -2; code <= 40; ++code) {
        SCOPED_TRACE(testing::Message() << "code " << code);
        const BOOL want = (code == 10 || code == 11 || code == 12) ? FALSE : TRUE;
        EXPECT_EQ(CPVXAttrCtrl::IsSlabForceLoadType(code), want);
    }
    EXPECT_EQ(CPVXAttrCtrl::IsSlabForceLoadType(99), TRUE);
}

TEST_F(DataCtrls, ReadsByKey) {
    CPVXAttrCtrl a;
    T_PNODE_D n{};
    EXPECT_EQ(a.GetNode(3, n), 0) << "reads nothing before it is connected";
    ASSERT_NE(a.ConnectToPostDB(), 0);
    EXPECT_EQ(a.m_pDBDoc, &m_doc);
    EXPECT_EQ(a.IsCurrentDBPostFloor(), 0);
    m_doc.GetMDBCtrl()->GetDBPost()->SetFloor(TRUE);
    EXPECT_NE(a.IsCurrentDBPostFloor(), 0);

    ASSERT_NE(a.GetNode(3, n), 0);
    EXPECT_EQ(n.x, 3.0);
    EXPECT_EQ(n.y, 4.0);
    n.x = -1;
    EXPECT_EQ(a.GetNode(999, n), 0);
    EXPECT_EQ(n.x, -1.0) << "a missing key leaves the record alone";

    T_PELEM_D e;
    ASSERT_NE(a.GetElem(10, e), 0);
    EXPECT_EQ(e.beta, 90.0);
    EXPECT_NE(a.ExistElem(21), 0);
    EXPECT_EQ(a.ExistElem(22), 0);
    EXPECT_EQ(a.GetElemNodeCount(20), 4);
    EXPECT_EQ(a.GetElemNodeCount(999), 0) << "an absent element has no nodes";

    T_PMEMB_D m;
    ASSERT_NE(a.GetMemb(1, m), 0);
    EXPECT_EQ(m.aNode.GetSize(), 3);
    EXPECT_EQ(a.GetMembCount(), 9);
    EXPECT_EQ(a.GetElemCount(), 9);
    CArray<UINT, UINT> keys;
    EXPECT_EQ(a.GetMembKeyList(keys), 9);
    EXPECT_EQ(keys.GetSize(), 9);
    EXPECT_EQ(a.GetNodeKeyList(keys), 19);

    // The post control accepts every displacement record.
    CPVXPostCtrl post;
    T_DISP_D d{};
    EXPECT_TRUE(post.IsValidDispData(1, 1, &d));
    EXPECT_TRUE(post.IsValidDispData(0, 0, nullptr));
}

TEST_F(DataCtrls, LengthsAndAreas) {
    CPVXAttrCtrl a;
    a.ConnectToPostDB();
    struct Row {
        const char* label;
        UINT memb;
        double value;
    } rows[] = {
        {"line: first to last node, middle ignored", 1, 5.0},
        {"plane: first four nodes only", 4, 2.0},
        {"one node of type 0", 5, 0.0},
        {"absent member", 77, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_DOUBLE_EQ(a.CalcLAVMemb(r.memb), r.value);
    }
    // A triangle counts one triangle; a plane member of two nodes has no area.
    T_PMEMB_D tri;
    tri.type = 302;
    for (UINT k : {20, 21, 22}) tri.aNode.Add(k);
    EXPECT_DOUBLE_EQ(a.CalcLAVMembRecord(tri), 1.0);
    tri.aNode.SetSize(2);
    EXPECT_DOUBLE_EQ(a.CalcLAVMembRecord(tri), 0.0);
    // A line member with a missing end node has no length rather than a wrong one.
    T_PMEMB_D broken;
    broken.type = 205;
    broken.aNode.Add(1), broken.aNode.Add(999);
    EXPECT_DOUBLE_EQ(a.CalcLAVMembRecord(broken), 0.0);
    EXPECT_DOUBLE_EQ(a.CalcLAVElem(2), 2.0 * std::sqrt(5.0));
}

TEST_F(DataCtrls, LocalAxes) {
    CPVXAttrCtrl a;
    a.ConnectToPostDB();
    CPVXGeomCtrl g(nullptr);
    double axes[3][3];

    // Beam along x turned by 90 degrees: y turns from (0,1,0) up to (0,0,1), z down to -y.
    const double beam[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
    ASSERT_NE(a.CalcMembFrameLocalVector(2, axes), 0);
    ExpectAxes(axes, beam);
    const double pi[3] = {0, 0, 0}, pj[3] = {6, 0, 0};
    ASSERT_NE(a.CalcMembFrameLocalVector(2, pi, pj, axes), 0);
    ExpectAxes(axes, beam);
    ASSERT_NE(a.CalcMembFrameLocalVector(2, C3DPoint(0, 0, 0), C3DPoint(6, 0, 0), axes), 0);
    ExpectAxes(axes, beam);
    // The given points win over the member's nodes: reversed, x points back.
    ASSERT_NE(a.CalcMembFrameLocalVector(2, pj, pi, axes), 0);
    EXPECT_NEAR(axes[0][0], -1.0, 1e-12);

    // Vertical column: y is the global Y, z = x cross y.
    const double column[3][3] = {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}};
    ASSERT_NE(a.CalcMembFrameLocalVector(3, axes), 0);
    ExpectAxes(axes, column);
    const double foot[3] = {2, 2, 0}, head[3] = {2, 2, 3};
    ASSERT_NE(g.CalcFrameLocalVector(foot, head, 0.0, axes), 0);
    ExpectAxes(axes, column);

    // Members without an element, absent members and coinciding ends give no axes.
    EXPECT_EQ(a.CalcMembFrameLocalVector(5, axes), 0);
    EXPECT_EQ(a.CalcMembFrameLocalVector(77, axes), 0);
    EXPECT_EQ(a.CalcMembFrameLocalVector(2, pi, pi, axes), 0);

    // Plates: a rectangle in the x-y plane, and one standing in the x-z plane (its node order
    // turns its normal to -y).
    const double flat[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const double standing[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
    ASSERT_NE(a.CalcPlaneLocalVector(20, axes), 0);
    ExpectAxes(axes, flat);
    ASSERT_NE(g.CalcPlaneLocalVector(20, axes), 0);
    ExpectAxes(axes, flat);
    ASSERT_NE(a.CalcPlaneLocalVector(21, axes), 0);
    ExpectAxes(axes, standing);
    ASSERT_NE(g.CalcPlaneLocalVector(21, axes), 0);
    ExpectAxes(axes, standing);
    const double pts[3][3] = {{0, 5, 0}, {1, 5, 0}, {1, 5, 1}};
    ASSERT_NE(g.CalcPlaneLocalVectorByType(3, pts, axes), 0);
    ExpectAxes(axes, standing);
    EXPECT_EQ(a.CalcPlaneLocalVector(999, axes), 0);
}

TEST_F(DataCtrls, SuperElementResults) {
    CPVXAttrCtrl a;
    a.ConnectToPostDB();
    struct Row {
        UINT memb;
        BOOL nodeResult, elemResult;
    } rows[] = {
        {6, FALSE, TRUE},  // super element with results per node
        {7, TRUE, FALSE},  // super element with results per model element
        {8, TRUE, TRUE},   // mixed
        {1, TRUE, TRUE},   // ordinary beam
        {5, FALSE, FALSE}, // no elements at all
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "member " << r.memb);
        T_PMEMB_D m;
        ASSERT_NE(a.GetMemb(r.memb, m), 0);
        EXPECT_EQ(a.IsMembNodeResultAvailable(m), r.nodeResult);
        EXPECT_EQ(a.IsMembElemResultAvailable(m), r.elemResult);
    }
    T_PELEM_D e = SuperElem(1);
    EXPECT_FALSE(CPVXAttrCtrl::IsNormalElemResult(e));
    e = SuperElem(2);
    EXPECT_TRUE(CPVXAttrCtrl::IsNormalElemResult(e));
}

TEST_F(DataCtrls, MemberEndsAndLookups) {
    CPVXMembCtrl mc;
    T_PMEMB_D m;
    m.type = 55;
    ASSERT_NE(mc.GetMembByElem(2, m), 0);
    EXPECT_EQ(m.type, 201);
    EXPECT_EQ(m.aElem.GetSize(), 2);
    EXPECT_EQ(mc.GetMembByElem(999, m), 0);
    EXPECT_EQ(m.type, 0) << "the output is initialised even when nothing is found";
    EXPECT_EQ(mc.GetMembKeyByElem(11), 3u);
    EXPECT_EQ(mc.GetMembKeyByElem(999), 0u);

    UINT first = 0, last = 0;
    ASSERT_NE(mc.GetMembEndNodeKeys(1, first, last), 0);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(last, 3u);
    T_PMEMB_D read;
    ASSERT_NE(mc.GetMembEndNodeKeys(5, first, last, &read), 0);
    EXPECT_EQ(first, 30u);
    EXPECT_EQ(last, 30u) << "a one-node member has that node at both ends";
    EXPECT_EQ(read.aNode.GetSize(), 1);
    EXPECT_EQ(mc.GetMembEndNodeKeys(77, first, last), 0);

    C3DPoint pi, pj, p3(9, 9, 9), p4(9, 9, 9);
    ASSERT_NE(mc.m_PMemb.Get(1, m), 0);
    ASSERT_NE(mc.GetMembEndPoints(m, pi, pj, p3, p4), 0);
    EXPECT_EQ(pi, C3DPoint(0, 0, 0));
    EXPECT_EQ(pj, C3DPoint(3, 4, 0));
    EXPECT_EQ(p3, C3DPoint(1, 0, 0));
    EXPECT_EQ(p4, C3DPoint(0, 0, 0)) << "key 0: the origin";
    m.node4 = 999;
    p4.Set(9, 9, 9);
    ASSERT_NE(mc.GetMembEndPoints(m, pi, pj, p3, p4), 0);
    EXPECT_EQ(p4, C3DPoint(0, 0, 0)) << "unknown key: the origin";
    ASSERT_NE(mc.m_PMemb.Get(5, m), 0);
    EXPECT_EQ(mc.GetMembEndPoints(m, pi, pj, p3, p4), 0);

    ASSERT_NE(mc.GetMembEndPointsByKey(3, pi, pj), 0);
    EXPECT_EQ(pj, C3DPoint(2, 2, 3));
    EXPECT_EQ(mc.GetMembEndPointsByKey(77, pi, pj), 0);
}

TEST_F(DataCtrls, ShrinkMemberPoints) {
    CPVXMembCtrl mc;
    T_PMEMB_D m;
    ASSERT_NE(mc.m_PMemb.Get(9, m), 0);
    T_PELEM_D e;
    e.Initialize();
    e.nNode = 3;
    e.node[0] = 50, e.node[1] = 51, e.node[2] = 52;  // heights 0, 0 and 4

    CArray<T_DISP_D> shifted;
    shifted.SetSize(2);
    shifted[0].Initialize();
    shifted[1].Initialize();
    shifted[0].DX = shifted[1].DX = 2.0;
    CArray<T_DISP_D> lifted;
    lifted.SetSize(2);
    lifted[0].Initialize();
    lifted[1].Initialize();
    lifted[0].DZ = 6.0;
    CArray<T_DISP_D> single;
    single.SetSize(1);
    single[0].Initialize();
    single[0].DX = 100.0;

    struct Row {
        const char* label;
        double factor;
        CArray<T_DISP_D>* disp;
        int result;
        double x, y, z;  // where (0,0,0) goes
    } rows[] = {
        {"half way to (5,0,2)", 0.5, nullptr, 1, 2.5, 0, 1},
        {"below 0.01 acts as 0.01", 0.005, nullptr, 1, 4.95, 0, 1.98},
        {"0.01 itself", 0.01, nullptr, 1, 4.95, 0, 1.98},
        {"factor 1 leaves it", 1.0, nullptr, 0, 0, 0, 0},
        {"factor 2 leaves it", 2.0, nullptr, 0, 0, 0, 0},
        {"ends moved along x first", 0.5, &shifted, 1, 3.5, 0, 1},
        {"a lifted end raises the height span", 0.5, &lifted, 1, 2.5, 0, 1.5},
        {"one displacement record is ignored", 0.5, &single, 1, 2.5, 0, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        double pts[2][3] = {{0, 0, 0}, {10, 0, 0}};
        EXPECT_EQ(mc.ShrinkMembPoints(m, e, r.factor, 2, pts, r.disp), r.result);
        EXPECT_NEAR(pts[0][0], r.x, 1e-12);
        EXPECT_NEAR(pts[0][1], r.y, 1e-12);
        EXPECT_NEAR(pts[0][2], r.z, 1e-12);
    }
    // A one-node member is not shrunk.
    T_PMEMB_D one;
    ASSERT_NE(mc.m_PMemb.Get(5, one), 0);
    double p[1][3] = {{1, 1, 1}};
    EXPECT_EQ(mc.ShrinkMembPoints(one, e, 0.5, 1, p, nullptr), 0);
    EXPECT_EQ(p[0][0], 1.0);
}

TEST_F(DataCtrls, FacesCarryTheirKeys) {
    CPVXGeomCtrl g(nullptr);
    T_PELEM_D plate;
    ASSERT_NE(g.m_PElem.Get(20, plate), 0);

    int nFaces = -1;
    CArray<int, int> counts;
    CArray<double, double> coords;
    CArray<UINT, UINT> faceKeys;
    faceKeys.Add(12345);
    ASSERT_EQ(g.MakeElemShape(20, 0, 0, 0, nFaces, &counts, nullptr, nullptr, &coords, 0, 1.0, nullptr, nullptr, 0,
                              nullptr, plate, &faceKeys),
              1);
    ASSERT_EQ(nFaces, 1);
    ASSERT_EQ(faceKeys.GetSize(), 1);
    EXPECT_EQ(faceKeys[0], 20u);
    ASSERT_EQ(coords.GetSize(), 12);
    for (int v = 0; v < 4; ++v) EXPECT_DOUBLE_EQ(coords[3 * v + 2], 1.0) << "lifted by the member's offset, vertex " << v;

    // The fallback builder keeps the element where it is.
    ASSERT_EQ(g.MakeShapeElementKeyed(20, 0, 0, 0, nFaces, &counts, nullptr, nullptr, &coords, 0, 1.0, nullptr,
                                      nullptr, 0, nullptr, &faceKeys),
              1);
    ASSERT_EQ(nFaces, 1);
    EXPECT_EQ(faceKeys[0], 20u);
    for (int v = 0; v < 4; ++v) EXPECT_DOUBLE_EQ(coords[3 * v + 2], 0.0);

    // A member's faces carry the member key.
    T_PMEMB_D m;
    ASSERT_NE(g.m_PMemb.Get(1, m), 0);
    ASSERT_EQ(g.MakeMembShape(1, 0, 0, 0, nFaces, &counts, nullptr, nullptr, &coords, 0, 1.0, nullptr, nullptr, 0,
                              nullptr, m, &faceKeys),
              1);
    ASSERT_GT(nFaces, 0);
    ASSERT_EQ(faceKeys.GetSize(), nFaces);
    for (int i = 0; i < nFaces; ++i) EXPECT_EQ(faceKeys[i], 1u);

    // An unknown element builds no face but still answers 1; its keys are emptied.
    T_PELEM_D none;
    none.Initialize();
    ASSERT_EQ(g.MakeElemShape(999, 0, 0, 0, nFaces, &counts, nullptr, nullptr, &coords, 0, 1.0, nullptr, nullptr, 0,
                              nullptr, none, &faceKeys),
              1);
    EXPECT_EQ(nFaces, 0);
    EXPECT_EQ(faceKeys.GetSize(), 0);
    // A member whose first element is missing gives nothing.
    T_PMEMB_D broken;
    broken.aElem.Add(999);
    EXPECT_EQ(g.MakeMembShape(5, 0, 0, 0, nFaces, &counts, nullptr, nullptr, &coords, 0, 1.0, nullptr, nullptr, 0,
                              nullptr, broken, &faceKeys),
              0);

    // Back-face test without a graphics control.
    const double ccw[3][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    const double cw[3][3] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}};
    EXPECT_TRUE(g.IsVisibleFace(3, ccw));
    EXPECT_FALSE(g.IsVisibleFace(3, cw));
}
