// Super-element mapping: model elements and nodes of a super element, inner node coordinates
// with their redistribution offset, end nodes and local axes, and the graphics-control records,
// over the database of SuperElemDB.h.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "module/model/CPVXSElemCtrl.h"
#include "tests/module/model_shape/SuperElemDB.h"

namespace {

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

TEST_F(SuperElemTest, KeysOfElementsNodesAndMembers) {
    CArray<UINT, UINT> keys;
    m_ctrl.GetModelElemKeys(100, keys);
    EXPECT_EQ(Keys(keys), (std::vector<UINT>{21, 11, 12})) << "line elements first, then plane elements";
    m_ctrl.GetModelElemKeys(11, keys);
    EXPECT_EQ(Keys(keys), (std::vector<UINT>{11})) << "an ordinary element stands for itself";
    // Result keys are appended, so an engine can gather them over several elements.
    m_ctrl.GetSuperElemNodeKeys(100, keys);
    EXPECT_EQ(Keys(keys), (std::vector<UINT>{11, 21, 11, 12}));
    CArray<T_PNODE_D> nodes;
    ASSERT_EQ(m_ctrl.GetSuperElemNodeList(100, keys, &nodes), 1);
    EXPECT_EQ(Keys(keys), (std::vector<UINT>{1, 2, 3, 4, 5}));
    ExpectNode(nodes[4], 1.5, 2, 0);

    const struct {
        std::vector<UINT> elems;
        int isSuper, allInSuper;
    } members[] = {{{}, FALSE, TRUE}, {{100}, TRUE, TRUE}, {{100, 11}, TRUE, FALSE}, {{11, 12}, FALSE, FALSE}};
    for (const auto& r : members) {
        SCOPED_TRACE(testing::Message() << "member of " << r.elems.size() << " elements");
        T_PMEMB_D memb;
        for (UINT e : r.elems) memb.aElem.Add(e);
        EXPECT_EQ(m_ctrl.IsSuperMember(memb), r.isSuper);
        EXPECT_EQ(m_ctrl.IsAllElemInSuperElem(memb), r.allInSuper);
    }
}

TEST_F(SuperElemTest, InnerNodesTakeTheOffsetModelNodesTheirOwnCoordinates) {
    EXPECT_EQ(m_ctrl.GetSuperElemData(999), 0) << "a missing element is not reported as loaded";
    ASSERT_EQ(m_ctrl.GetSuperElemData(100), 1);
    CArray<UINT, UINT> keys;
    CArray<T_PNODE_D> nodes;
    int bSuper = -1;
    ASSERT_EQ(m_ctrl.GetSuperElemShapeNodes(11, keys, &nodes, &bSuper), 1);
    EXPECT_EQ(bSuper, 1);
    EXPECT_EQ(Keys(keys), (std::vector<UINT>{1, 5, 906, 2})) << "the inner node keeps its super node key";
    ExpectNode(nodes[1], 1.5, 2, 0);
    ExpectNode(nodes[2], 11, 2, 2);  // (1, 2, 3) + (10, 0, -1)
    ExpectNode(nodes[3], 0, 0, 2);
    keys.RemoveAll();
    keys.Add(907);  // neither a model node nor stored
    EXPECT_EQ(m_ctrl.GetSuperNodeRecordsChecked(keys, nodes), 0) << "a missing inner node is a failure";

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
    // Ends at (0, 0, 1) and (3, 4, 1): x along (3, 4, 0) / 5; y the frame z (up); z the frame
    // y (-0.8, 0.6, 0) turned half round about x.
    double axes[3][3];
    ASSERT_EQ(m_ctrl.CalcSuperElemLocalVector(axes), 1);
    const double expected[3][3] = {{0.6, 0.8, 0.0}, {0.0, 0.0, 1.0}, {0.8, -0.6, 0.0}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(axes[r][c], expected[r][c], 1e-12) << "axis " << r << " component " << c;

    ASSERT_EQ(m_ctrl.GetSuperElemData(101), 1);
    EXPECT_EQ(m_ctrl.GetSuperElemEndNodes(iKeys, jKeys, &iNodes, &jNodes), 0) << "single-node i-end";
    EXPECT_EQ(m_ctrl.CalcSuperElemLocalVector(axes), 0);
}

TEST_F(SuperElemTest, GraphicsControlRecords) {
    ASSERT_EQ(m_ctrl.GetSuperElemData(100), 1);
    const C3DPoint centre(1.5, 2.0, 0.8), inner(11, 2, 2);  // centre: mean of model nodes 1..5
    const struct {
        int bShrink;
        double factor, f;  // asked and effective factor
    } rows[] = {{0, 0.5, 1.0}, {1, 0.5, 0.5}, {1, 2.0, 1.0}, {1, 0.0, 0.01}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "shrink " << r.bShrink << " factor " << r.factor);
        CSuperElemInfoMap out;
        ASSERT_EQ(m_ctrl.BuildSuperElemInfo(out, r.bShrink, r.factor, nullptr), 1);
        EXPECT_EQ(out.GetCount(), 3) << "one record per mesh element";
        CSuperElemInfo info;
        ASSERT_TRUE(out.Lookup(1, info)) << "keyed by the mesh element of model element 11";
        const C3DPoint want = inner * r.f + centre * (1.0 - r.f);
        for (int a = 0; a < 3; ++a) EXPECT_NEAR(info.m_arrPos[2][a], want[a], 1e-12);
        ExpectNode(info.m_arrNode[2], 11, 2, 2);
    }
    CSuperElemInfoMap nodes;
    ASSERT_EQ(m_ctrl.BuildSuperNodeInfo(nodes, nullptr), 1);
    EXPECT_EQ(nodes.GetCount(), 5);
    CPVXSElemCtrl unbound(nullptr);
    EXPECT_EQ(unbound.BuildSuperNodeInfo(nodes, nullptr), 0);
    EXPECT_EQ(nodes.GetCount(), 0);
}

}  // namespace
