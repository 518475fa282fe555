// Data-access controls over a post database built in code: reads by key, element-type
// predicates, lengths and areas, local axes, member end points, shrinking and face keys.
#include "host/db/PostDBBuilder.h"
#include "module/model/PVXDataCtrls.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// M1 line 201 through (0,0,0), (1,0,0), (3,4,0) with station node 2; M2 beam (0,0,0)-(6,0,0)
// turned by 90 degrees; M3 column (2,2,0)-(2,2,3); M4 plate member of five nodes (a 2 x 1
// rectangle first) lifted by 1 m; M5 one node; M6/M7/M8 super elements with node results,
// element results, and mixed; E21 a plate standing in the x-z plane.
class DataCtrls : public testing::Test {
protected:
    void SetUp() override {
        CDBDoc::m_pDBDoc = &m_doc;
        PostDBBuilder b;
        const double xyz[][4] = {{1, 0, 0, 0},  {2, 1, 0, 0},  {3, 3, 4, 0},  {11, 6, 0, 0}, {12, 2, 2, 0},
                                 {13, 2, 2, 3}, {21, 2, 0, 0}, {22, 2, 1, 0}, {23, 0, 1, 0}, {24, 0, 5, 0},
                                 {25, 1, 5, 0}, {26, 1, 5, 1}, {27, 0, 5, 1}, {30, 7, 7, 7}, {52, 5, 0, 4},
                                 {51, 10, 0, 0}};
        for (const auto& n : xyz) b.AddNode(UINT(n[0]), n[1], n[2], n[3]);
        b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2});
        b.AddElem(2, PELEM_KIND_FRAME, 201, {2, 3});
        b.AddElem(10, PELEM_KIND_FRAME, 201, {1, 11}, 0, 0, 90.0);
        b.AddElem(11, PELEM_KIND_FRAME, 101, {12, 13});
        b.AddElem(20, PELEM_KIND_PLATE, 301, {1, 21, 22, 23});
        b.AddElem(21, PELEM_KIND_PLATE, 301, {24, 25, 26, 27});
        for (int r : {2, 1}) {
            T_PELEM_D se;
            se.Initialize();
            se.kind = PELEM_KIND_SUPER, se.type = 301, se.nSEResult = r;
            b.AddElem(42 - r, se);  // 40: node results, 41: element results
        }
        T_PMEMB_D m1;
        m1.type = 201, m1.node3 = 2;
        m1.aNode.Add(1), m1.aNode.Add(2), m1.aNode.Add(3), m1.aElem.Add(1), m1.aElem.Add(2);
        b.AddMemb(1, m1);
        b.AddMemb(2, 201, {1, 11}, {10});
        b.AddMemb(3, 101, {12, 13}, {11});
        T_PMEMB_D m4;
        m4.type = 301, m4.offsetZ = 1.0;
        for (UINT k : {1, 21, 22, 23, 24}) m4.aNode.Add(k);
        m4.aElem.Add(20);
        b.AddMemb(4, m4);
        b.AddMemb(5, 0, {30}, {});
        b.AddMemb(6, 301, {1, 21}, {40});
        b.AddMemb(7, 301, {1, 21}, {41});
        b.AddMemb(8, 301, {1, 21}, {40, 20});
        b.AddMemb(9, 201, {1, 51}, {1});
        T_PSEMAP_D map;  // super element 40 stands for plates 20 and 21
        map.seKey = 40;
        map.map[4].SetAt(20, 1);
        map.map[2].SetAt(21, 2);
        b.Add<DBT_PSEMAP>(40, map);
        b.SetFloor(FALSE);
        b.Install(m_doc);
        m_attr.ConnectToPostDB();
    }
    void TearDown() override { CDBDoc::m_pDBDoc = nullptr; }

    static void ExpectAxes(const double axes[3][3], const double want[3][3]) {
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(axes[r][c], want[r][c], 1e-12) << "row " << r << " col " << c;
    }

    CDBDoc m_doc;
    CPVXAttrCtrl m_attr;
};

}  // namespace

TEST(AttrCtrlTypes, TypePredicatesAndLoadTypes) {
    // Flags: column, beam, 204, truss, wall, line, plane, wire-plane.
    const int rows[][9] = {
        {101, 1, 0, 0, 0, 0, 1, 0, 0}, {200, 0, 0, 0, 0, 0, 1, 0, 0}, {403, 0, 0, 0, 0, 0, 1, 0, 0}, {201, 0, 1, 0, 0, 0, 1, 0, 0},
        {204, 0, 0, 1, 0, 0, 0, 1, 0}, {205, 0, 1, 0, 0, 0, 1, 0, 0}, {206, 0, 0, 0, 1, 0, 1, 0, 0},
        {209, 0, 0, 0, 0, 1, 0, 1, 0}, {210, 0, 0, 0, 0, 1, 0, 1, 0}, {211, 0, 0, 0, 0, 1, 0, 1, 0},
        {212, 0, 0, 0, 0, 1, 0, 1, 0}, {301, 0, 0, 0, 0, 0, 0, 1, 0}, {302, 0, 0, 0, 0, 0, 0, 1, 0},
        {305, 0, 0, 0, 0, 0, 0, 1, 0}, {25, 0, 0, 0, 0, 0, 0, 0, 1},  {202, 0, 0, 0, 0, 0, 0, 0, 0},
        {208, 0, 0, 0, 0, 0, 0, 0, 0}, {213, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    BOOL (*const preds[8])(int) = {CPVXAttrCtrl::IsColumnElemType, CPVXAttrCtrl::IsBeamElemType,
                                   CPVXAttrCtrl::IsElemType204,    CPVXAttrCtrl::IsTrussElemType,
                                   CPVXAttrCtrl::IsWallElemType,   CPVXAttrCtrl::IsLineElemType,
                                   CPVXAttrCtrl::IsPlaneElemType,  CPVXAttrCtrl::IsWirePlaneElemType};
    for (const auto& r : rows)
        for (int p = 0; p < 8; ++p) EXPECT_EQ(preds[p](r[0]), r[p + 1]) << "type " << r[0] << ", predicate " << p;
    // Wall and slab forces exist for every load type but 10, 11 and 12, codes outside the table too.
    for (int code = -2; code <= 100; ++code)
        EXPECT_EQ(CPVXAttrCtrl::IsSlabForceLoadType(code), (code < 10 || code > 12) ? TRUE : FALSE) << code;
    EXPECT_EQ(CPVXAttrCtrl::GetShapeMode(), 0);
}

TEST_F(DataCtrls, ReadsCountsAndMeasures) {
    T_PNODE_D n{-1, 0, 0};
    ASSERT_NE(m_attr.GetNode(3, n), 0);
    EXPECT_EQ(n.y, 4.0);
    EXPECT_EQ(m_attr.GetNode(999, n), 0);
    EXPECT_EQ(n.y, 4.0) << "a missing key leaves the record alone";
    EXPECT_EQ(m_attr.IsCurrentDBPostFloor(), 0);
    m_doc.GetMDBCtrl()->GetDBPost()->SetFloor(TRUE);
    EXPECT_NE(m_attr.IsCurrentDBPostFloor(), 0);
    EXPECT_EQ(m_attr.GetElemNodeCount(20), 4);
    EXPECT_EQ(m_attr.GetElemNodeCount(999), 0) << "an absent element has no nodes";
    EXPECT_EQ(m_attr.GetMembCount(), 9);
    CArray<UINT, UINT> keys;
    EXPECT_EQ(m_attr.GetNodeKeyList(keys), 16);
    EXPECT_TRUE(CPVXPostCtrl().IsValidDispData(1, 1, nullptr));

    const struct {
        UINT memb;
        double value;
    } measures[] = {{1, 5.0}, {4, 2.0}, {5, 0.0}, {77, 0.0}};  // line ends only; first four nodes
    for (const auto& r : measures) EXPECT_DOUBLE_EQ(m_attr.CalcLAVMemb(r.memb), r.value) << "member " << r.memb;
    T_PMEMB_D m;
    m.type = 205;
    m.aNode.Add(1), m.aNode.Add(999);
    EXPECT_DOUBLE_EQ(m_attr.CalcLAVMembRecord(m), 0.0) << "a missing end node gives no length";

    const struct {
        UINT memb;
        BOOL node, elem;
    } results[] = {{6, FALSE, TRUE}, {7, TRUE, FALSE}, {8, TRUE, TRUE}, {1, TRUE, TRUE}, {5, FALSE, FALSE}};
    for (const auto& r : results) {
        ASSERT_NE(m_attr.GetMemb(r.memb, m), 0);
        EXPECT_EQ(m_attr.IsMembNodeResultAvailable(m), r.node) << "member " << r.memb;
        EXPECT_EQ(m_attr.IsMembElemResultAvailable(m), r.elem) << "member " << r.memb;
    }
}

TEST_F(DataCtrls, LocalAxes) {
    CPVXGeomCtrl g(nullptr);
    double axes[3][3];
    // Beam along x turned by 90 degrees: y turns up to +z, z down to -y.
    const double beam[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
    const double pi[3] = {0, 0, 0};
    ASSERT_NE(m_attr.CalcMembFrameLocalVector(2, axes), 0);
    ExpectAxes(axes, beam);
    ASSERT_NE(m_attr.CalcMembFrameLocalVector(2, C3DPoint(0, 0, 0), C3DPoint(6, 0, 0), axes), 0);
    ExpectAxes(axes, beam);
    // Vertical column: y is the global Y, z = x cross y.
    const double column[3][3] = {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}};
    const double foot[3] = {2, 2, 0}, head[3] = {2, 2, 3};
    ASSERT_NE(m_attr.CalcMembFrameLocalVector(3, axes), 0);
    ExpectAxes(axes, column);
    ASSERT_NE(g.CalcFrameLocalVector(foot, head, 0.0, axes), 0);
    ExpectAxes(axes, column);
    EXPECT_EQ(m_attr.CalcMembFrameLocalVector(5, axes), 0);  // no element
    EXPECT_EQ(m_attr.CalcMembFrameLocalVector(77, axes), 0);
    EXPECT_EQ(m_attr.CalcMembFrameLocalVector(2, pi, pi, axes), 0);

    // Plates: flat in x-y, and standing in x-z with its node order turning the normal to -y.
    const double flat[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const double standing[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
    ASSERT_NE(m_attr.CalcPlaneLocalVector(20, axes), 0);
    ExpectAxes(axes, flat);
    ASSERT_NE(g.CalcPlaneLocalVector(21, axes), 0);
    ExpectAxes(axes, standing);
    const double pts[3][3] = {{0, 5, 0}, {1, 5, 0}, {1, 5, 1}};
    ASSERT_NE(g.CalcPlaneLocalVectorByType(3, pts, axes), 0);
    ExpectAxes(axes, standing);
    EXPECT_EQ(m_attr.CalcPlaneLocalVector(999, axes), 0);
}

TEST_F(DataCtrls, MemberEndsAndShrinking) {
    CPVXMembCtrl mc;
    T_PMEMB_D m;
    ASSERT_NE(mc.GetMembByElem(2, m), 0);
    EXPECT_EQ(m.aElem.GetSize(), 2);
    EXPECT_EQ(mc.GetMembByElem(999, m), 0);
    EXPECT_EQ(m.aNode.GetSize(), 0) << "the output is initialised even when nothing is found";
    EXPECT_EQ(mc.GetMembKeyByElem(11), 3u);

    UINT first = 0, last = 0;
    ASSERT_NE(mc.GetMembEndNodeKeys(1, first, last), 0);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(last, 3u);
    ASSERT_NE(mc.GetMembEndNodeKeys(5, first, last, &m), 0);
    EXPECT_EQ(first, 30u);
    EXPECT_EQ(last, 30u) << "a one-node member has that node at both ends";
    C3DPoint pi, pj, p3(9, 9, 9), p4(9, 9, 9);
    EXPECT_EQ(mc.GetMembEndPoints(m, pi, pj, p3, p4), 0);
    ASSERT_NE(mc.m_PMemb.Get(1, m), 0);
    m.node4 = 999;  // unknown: the origin, as for key 0
    ASSERT_NE(mc.GetMembEndPoints(m, pi, pj, p3, p4), 0);
    EXPECT_EQ(pj, C3DPoint(3, 4, 0));
    EXPECT_EQ(p3, C3DPoint(1, 0, 0));
    EXPECT_EQ(p4, C3DPoint(0, 0, 0));
    ASSERT_NE(mc.GetMembEndPointsByKey(3, pi, pj), 0);
    EXPECT_EQ(pj, C3DPoint(2, 2, 3));

    // Member 9 runs (0,0,0)-(10,0,0); its element's nodes reach up to z = 4.
    ASSERT_NE(mc.m_PMemb.Get(9, m), 0);
    T_PELEM_D e;
    e.Initialize();
    e.nNode = 3, e.node[0] = 1, e.node[1] = 51, e.node[2] = 52;
    CArray<T_DISP_D> alongX, lifted, single;
    for (CArray<T_DISP_D>* a : {&alongX, &lifted, &single}) {
        a->SetSize(a == &single ? 1 : 2);
        for (INT_PTR i = 0; i < a->GetSize(); ++i) (*a)[i].Initialize();
    }
    alongX[0].DX = alongX[1].DX = 2.0;
    lifted[0].DZ = 6.0;
    single[0].DX = 100.0;
    const struct {
        const char* label;
        double factor;
        CArray<T_DISP_D>* disp;
        int result;
        double x, z;  // where (0,0,0) goes
    } rows[] = {
        {"half way to (5,0,2)", 0.5, nullptr, 1, 2.5, 1},   {"0.005 acts as 0.01", 0.005, nullptr, 1, 4.95, 1.98},
        {"factor 1 leaves it", 1.0, nullptr, 0, 0, 0},      {"factor 2 leaves it", 2.0, nullptr, 0, 0, 0},
        {"ends moved first", 0.5, &alongX, 1, 3.5, 1},      {"lifted end widens z", 0.5, &lifted, 1, 2.5, 1.5},
        {"one record is ignored", 0.5, &single, 1, 2.5, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        double pts[2][3] = {{0, 0, 0}, {10, 0, 0}};
        EXPECT_EQ(mc.ShrinkMembPoints(m, e, r.factor, 2, pts, r.disp), r.result);
        EXPECT_NEAR(pts[0][0], r.x, 1e-12);
        EXPECT_NEAR(pts[0][1], 0.0, 1e-12);
        EXPECT_NEAR(pts[0][2], r.z, 1e-12);
    }
}

TEST_F(DataCtrls, FacesCarryTheirKeys) {
    CPVXGeomCtrl g(nullptr);
    T_PELEM_D plate, none;
    none.Initialize();
    ASSERT_NE(g.m_PElem.Get(20, plate), 0);
    int nFaces = -1;
    CArray<int, int> counts;
    CArray<double, double> xyz;
    CArray<UINT, UINT> keys;
    keys.Add(12345);
    EXPECT_EQ(g.MakeElemShape(20, 0, 0, 0, nFaces, &counts, nullptr, nullptr, &xyz, 0, 1, nullptr, nullptr, 0, nullptr,
                              plate, &keys), 1);
    ASSERT_EQ(nFaces, 1);
    ASSERT_EQ(keys.GetSize(), 1);
    EXPECT_EQ(keys[0], 20u);
    ASSERT_EQ(xyz.GetSize(), 12);
    for (int v = 0; v < 4; ++v) EXPECT_DOUBLE_EQ(xyz[3 * v + 2], 1.0) << "lifted by the member, vertex " << v;
    // The fallback builder leaves the element where it is.
    g.MakeShapeElementKeyed(20, 0, 0, 0, nFaces, &counts, nullptr, nullptr, &xyz, 0, 1, nullptr, nullptr, 0, nullptr,
                            &keys);
    EXPECT_EQ(keys[0], 20u);
    EXPECT_DOUBLE_EQ(xyz[2], 0.0);
    // A member's faces carry the member key.
    T_PMEMB_D m;
    ASSERT_NE(g.m_PMemb.Get(1, m), 0);
    g.MakeMembShape(1, 0, 0, 0, nFaces, &counts, nullptr, nullptr, &xyz, 0, 1, nullptr, nullptr, 0, nullptr, m, &keys);
    ASSERT_GT(nFaces, 0);
    ASSERT_EQ(keys.GetSize(), nFaces);
    for (int i = 0; i < nFaces; ++i) EXPECT_EQ(keys[i], 1u);
    // An unknown element has no face (but answers 1); a member whose first element is missing, 0.
    EXPECT_EQ(g.MakeElemShape(999, 0, 0, 0, nFaces, &counts, nullptr, nullptr, &xyz, 0, 1, nullptr, nullptr, 0,
                              nullptr, none, &keys), 1);
    EXPECT_EQ(nFaces + keys.GetSize(), 0);
    m.aElem.SetAt(0, 999);
    EXPECT_EQ(g.MakeMembShape(1, 0, 0, 0, nFaces, &counts, nullptr, nullptr, &xyz, 0, 1, nullptr, nullptr, 0, nullptr,
                              m, &keys), 0);
    // A super element is shaped one model element at a time: each face carries its model
    // element, and the vertex offsets of the second part follow the coordinates of the first.
    T_PELEM_D super;
    ASSERT_NE(g.m_PElem.Get(40, super), 0);
    CArray<int, int> index;
    EXPECT_EQ(g.MakeElemShape(40, 0, 0, 0, nFaces, &counts, &index, nullptr, &xyz, 0, 1, nullptr, nullptr, 0, nullptr,
                              super, &keys), 1);
    ASSERT_EQ(nFaces, 2);
    ASSERT_EQ(keys.GetSize(), 2);
    EXPECT_EQ(keys[0] * 100 + keys[1], 2021u);
    ASSERT_EQ(index.GetSize(), 8);
    ASSERT_EQ(xyz.GetSize(), 24);
    EXPECT_EQ(index[4], 12);
    EXPECT_DOUBLE_EQ(xyz[index[6] + 2], 1.0) << "third corner of plate 21 is (1, 5, 1)";
    // With culling and wire frame on, the super element is one wire frame under its own key.
    g.MakeElemShape(40, 1, 0, 0, nFaces, &counts, &index, nullptr, &xyz, 0, 1, nullptr, nullptr, 1, nullptr, super,
                    &keys);
    ASSERT_GT(nFaces, 0);
    EXPECT_EQ(counts[0], 2) << "edges are two-vertex faces";
    for (int i = 0; i < nFaces; ++i) EXPECT_EQ(keys[i], 40u);
    // Back-face test without a graphics control.
    const double ccw[3][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, cw[3][3] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}};
    EXPECT_TRUE(g.IsVisibleFace(3, ccw));
    EXPECT_FALSE(g.IsVisibleFace(3, cw));
}
