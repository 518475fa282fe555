// Super-element mapping: model elements and nodes of a super element, inner node coordinates
// with their redistribution offset, end nodes and local axes, and the graphics-control records.
//
// The super element 100 (mesh 500) stands for the plane model elements 11 and 12 and the line
// element 21 between an i-end (nodes 1, 2 at x = y = 0) and a j-end (nodes 3, 4 at (3, 4)),
// covering node 5 half-way. Super nodes 901..905 are the model nodes 1..5 (stored here with
// wrong coordinates on purpose: a model node must be read from the node table); 906 is an inner
// node stored at (1, 2, 3) with the offset (10, 0, -1). Super element 101 (mesh 501) has a
// single-node i-end.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "host/db/PostDBBuilder.h"
#include "model/CPVXSElemCtrl.h"

namespace {

std::unique_ptr<CDataBase> BuildSuperElementDB() {
    PostDBBuilder b;
    b.AddNode(1, 0, 0, 0);
    b.AddNode(2, 0, 0, 2);
    b.AddNode(3, 3, 4, 0);
    b.AddNode(4, 3, 4, 2);
    b.AddNode(5, 1.5, 2, 0);
    b.AddElem(11, PELEM_KIND_PLATE, 301, {1, 5, 2});
    b.AddElem(12, PELEM_KIND_PLATE, 301, {5, 3, 4});
    b.AddElem(21, PELEM_KIND_FRAME, 201, {1, 3});
    T_PELEM_D se;
    se.Initialize();
    se.kind = PELEM_KIND_SUPER;
    se.type = 301;
    b.AddElem(100, se);
    b.AddElem(101, se);

    T_PSEMAP_D map;
    map.seKey = 500;
    for (UINT n = 1; n <= 5; ++n) map.map[0][900 + n] = n;  // super node -> model node
    for (UINT n = 1; n <= 4; ++n) map.map[1][n] = 900 + n;  // end nodes
    map.map[3][5] = 905;                                     // covered node
    map.map[2][12] = 2;                                      // plane elements -> mesh elements
    map.map[2][11] = 1;
    map.map[4][21] = 3;                                      // line element -> mesh element
    b.Add<DBT_PSEMAP>(100, map);
    T_PSEMAP_D map101 = map;
    map101.seKey = 501;
    b.Add<DBT_PSEMAP>(101, map101);

    T_PSELEM_D sel;
    sel.aINode.Add(901);
    sel.aINode.Add(902);
    sel.aJNode.Add(903);
    sel.aJNode.Add(904);
    for (UINT n = 1; n <= 5; ++n) sel.mapModelNode[900 + n] = n;
    b.Add<DBT_PSELEM>(500, sel);
    T_PSELEM_D sel101 = sel;
    sel101.aINode.RemoveAt(1);
    b.Add<DBT_PSELEM>(501, sel101);

    T_PRDSTSE_D off{10.0, 0.0, -1.0};
    b.Add<DBT_PRDSTSE>(100, off);

    UINT row = 1;
    for (UINT n = 901; n <= 905; ++n) b.Add<DBT_PNODESE>(row++, T_PNODESE_D{500, n, {99, 99, 99}});
    b.Add<DBT_PNODESE>(row++, T_PNODESE_D{500, 906, {1, 2, 3}});

    auto mesh = [&](UINT key, std::initializer_list<UINT> nodes) {
        T_PELEMSE_D r;
        r.Initialize();
        r.seKey = 500;
        r.elemKey = key;
        r.elem.kind = PELEM_KIND_PLATE;
        for (UINT n : nodes) r.elem.node[r.elem.nNode++] = n;
        b.Add<DBT_PELEMSE>(key, r);
    };
    mesh(1, {901, 905, 906, 902});
    mesh(2, {905, 903, 904, 906});
    mesh(3, {901, 903});
    return b.Release();
}

std::vector<UINT> Keys(const CArray<UINT, UINT>& a) { return std::vector<UINT>(a.GetData(), a.GetData() + a.GetSize()); }

void ExpectNode(const T_PNODE_D& n, double x, double y, double z) {
    EXPECT_DOUBLE_EQ(n.x, x);
    EXPECT_DOUBLE_EQ(n.y, y);
    EXPECT_DOUBLE_EQ(n.z, z);
}

class SuperElemTest : public ::testing::Test {
protected:
    std::unique_ptr<CDataBase> m_db = BuildSuperElementDB();
    CPVXSElemCtrl m_ctrl{m_db.get()};
};

TEST_F(SuperElemTest, ModelElementAndResultKeys) {
    CArray<UINT, UINT> keys;
    EXPECT_EQ(m_ctrl.GetModelElemKeys(100, keys), 1);
    EXPECT_EQ(Keys(keys), (std::vector<UINT>{21, 11, 12})) << "line elements first, then plane elements";
    m_ctrl.GetModelElemKeys(11, keys);
    EXPECT_EQ(Keys(keys), (std::vector<UINT>{11})) << "an ordinary element stands for itself";

    // Result keys are appended, so an engine can gather them over several elements.
    keys.RemoveAll();
    keys.Add(7);
    m_ctrl.GetSuperElemNodeKeys(100, keys);
    m_ctrl.GetSuperElemNodeKeys(12, keys);
    EXPECT_EQ(Keys(keys), (std::vector<UINT>{7, 21, 11, 12, 12}));

    CArray<T_PNODE_D> nodes;
    ASSERT_EQ(m_ctrl.GetSuperElemNodeList(100, keys, &nodes), 1);
    EXPECT_EQ(Keys(keys), (std::vector<UINT>{1, 2, 3, 4, 5}));
    ASSERT_EQ(nodes.GetSize(), 5);
    ExpectNode(nodes[4], 1.5, 2, 0);
}

TEST_F(SuperElemTest, MemberTests) {
    struct Row {
        const char* label;
        std::vector<UINT> elems;
        int isSuper, allInSuper;
    } rows[] = {
        {"no elements", {}, FALSE, TRUE},
        {"one super element", {100}, TRUE, TRUE},
        {"super and ordinary", {100, 11}, TRUE, FALSE},
        {"ordinary only", {11, 12}, FALSE, FALSE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_PMEMB_D memb;
        for (UINT e : r.elems) memb.aElem.Add(e);
        EXPECT_EQ(m_ctrl.IsSuperMember(memb), r.isSuper);
        EXPECT_EQ(m_ctrl.IsAllElemInSuperElem(memb), r.allInSuper);
    }
}

TEST_F(SuperElemTest, InnerNodesTakeTheOffsetModelNodesTheirOwnCoordinates) {
    EXPECT_EQ(m_ctrl.GetSuperElemData(999), 0) << "a missing element is not reported as loaded";
    ASSERT_EQ(m_ctrl.GetSuperElemData(100), 1);
    ASSERT_TRUE(m_ctrl.IsCurrentSuperElem());

    CArray<UINT, UINT> keys;
    CArray<T_PNODE_D> nodes;
    int bSuper = -1;
    ASSERT_EQ(m_ctrl.GetSuperElemShapeNodes(11, keys, &nodes, &bSuper), 1);
    EXPECT_EQ(bSuper, 1);
    EXPECT_EQ(Keys(keys), (std::vector<UINT>{1, 5, 906, 2})) << "the inner node keeps its super node key";
    ASSERT_EQ(nodes.GetSize(), 4);
    ExpectNode(nodes[0], 0, 0, 0);
    ExpectNode(nodes[1], 1.5, 2, 0);
    ExpectNode(nodes[2], 11, 2, 2);  // (1, 2, 3) + (10, 0, -1)
    ExpectNode(nodes[3], 0, 0, 2);

    // Super node records read directly: the same rule.
    CArray<UINT, UINT> superKeys;
    superKeys.Add(906);
    superKeys.Add(903);
    ASSERT_EQ(m_ctrl.GetSuperNodeRecordsChecked(superKeys, nodes), 1);
    ExpectNode(nodes[0], 11, 2, 2);
    ExpectNode(nodes[1], 3, 4, 0);
    superKeys.RemoveAll();
    EXPECT_EQ(m_ctrl.GetSuperNodeRecordsChecked(superKeys, nodes), 0);
    superKeys.Add(907);  // neither a model node nor stored
    EXPECT_EQ(m_ctrl.GetSuperNodeRecordsChecked(superKeys, nodes), 0) << "a missing inner node is a failure";

    // An ordinary element after the super element was cleared: its own nodes.
    m_ctrl.InitSuperElemRecords();
    m_ctrl.GetSuperElemData(12);
    ASSERT_EQ(m_ctrl.GetSuperElemShapeNodes(12, keys, &nodes, &bSuper), 1);
    EXPECT_EQ(bSuper, 0);
    EXPECT_EQ(Keys(keys), (std::vector<UINT>{5, 3, 4}));
    ExpectNode(nodes[2], 3, 4, 2);
}

TEST_F(SuperElemTest, EndNodesAndLocalAxes) {
    ASSERT_EQ(m_ctrl.GetSuperElemData(100), 1);
    CArray<UINT, UINT> iKeys, jKeys;
    CArray<T_PNODE_D> iNodes, jNodes;
    ASSERT_EQ(m_ctrl.GetSuperElemEndNodes(iKeys, jKeys, &iNodes, &jNodes), 1);
    EXPECT_EQ(Keys(iKeys), (std::vector<UINT>{1, 2}));
    EXPECT_EQ(Keys(jKeys), (std::vector<UINT>{3, 4}));
    ExpectNode(jNodes[1], 3, 4, 2);

    // Ends at (0, 0, 1) and (3, 4, 1): x along (3, 4, 0) / 5; y the frame z (up); z the frame
    // y (-0.8, 0.6, 0) turned half round about x.
    double axes[3][3];
    ASSERT_EQ(m_ctrl.CalcSuperElemLocalVector(axes), 1);
    const double expected[3][3] = {{0.6, 0.8, 0.0}, {0.0, 0.0, 1.0}, {0.8, -0.6, 0.0}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            SCOPED_TRACE(testing::Message() << "axis " << r << " component " << c);
            EXPECT_NEAR(axes[r][c], expected[r][c], 1e-12);
        }

    // A single-node end gives no ends and no axes.
    ASSERT_EQ(m_ctrl.GetSuperElemData(101), 1);
    EXPECT_EQ(m_ctrl.GetSuperElemEndNodes(iKeys, jKeys, &iNodes, &jNodes), 0);
    EXPECT_EQ(m_ctrl.CalcSuperElemLocalVector(axes), 0);
}

TEST_F(SuperElemTest, GraphicsControlRecords) {
    ASSERT_EQ(m_ctrl.GetSuperElemData(100), 1);
    // Centre of the super element: mean of the model nodes 1..5.
    const C3DPoint c(1.5, 2.0, 0.8);
    struct Row {
        const char* label;
        int bShrink;
        double factor;
        double f;  // effective factor
    } rows[] = {{"no shrink", 0, 0.5, 1.0}, {"half", 1, 0.5, 0.5}, {"above 1", 1, 2.0, 1.0}, {"below 0.01", 1, 0.0, 0.01}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CSuperElemInfoMap out;
        ASSERT_EQ(m_ctrl.BuildSuperElemInfo(out, r.bShrink, r.factor, nullptr), 1);
        EXPECT_EQ(out.GetCount(), 3) << "one record per mesh element";
        CSuperElemInfo info;
        ASSERT_TRUE(out.Lookup(1, info)) << "keyed by the mesh element of model element 11";
        ASSERT_EQ(info.m_arrPos.GetSize(), 4);
        const C3DPoint inner(11, 2, 2);
        const C3DPoint want = inner * r.f + c * (1.0 - r.f);
        EXPECT_NEAR(info.m_arrPos[2].x, want.x, 1e-12);
        EXPECT_NEAR(info.m_arrPos[2].y, want.y, 1e-12);
        EXPECT_NEAR(info.m_arrPos[2].z, want.z, 1e-12);
        ExpectNode(info.m_arrNode[2], 11, 2, 2);  // records stay where they are
    }

    CSuperElemInfoMap nodes;
    ASSERT_EQ(m_ctrl.BuildSuperNodeInfo(nodes, nullptr), 1);
    EXPECT_EQ(nodes.GetCount(), 5);
    CSuperElemInfo info;
    ASSERT_TRUE(nodes.Lookup(5, info));
    EXPECT_EQ(info.m_bModelNode, 1);
    EXPECT_DOUBLE_EQ(info.m_arrPos[0].x, 1.5);

    CPVXSElemCtrl unbound(nullptr);
    EXPECT_EQ(unbound.GetSuperElemData(100), 0);
    EXPECT_EQ(unbound.BuildSuperNodeInfo(nodes, nullptr), 0);
    EXPECT_EQ(nodes.GetCount(), 0);
}

}  // namespace
