// Registration of the model's undeformed and deformed geometry with the graphics control and
// the picking quad-tree built from it.
//
// Members 7 (flag 1) and 8 (passed with flag 0); nodes 1..4 passed by the host, 1..3 with flag
// 1; node 5 not passed (inactive). Registered: 2 members + 5 nodes; tree: 2 active members + 3
// flag-1 nodes.
#include <gtest/gtest.h>

#include <memory>

#include "module/engines/CDeformEngine.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"

namespace {

void FillKeys(CArray<UINT, UINT>& a, std::initializer_list<UINT> keys) {
    a.RemoveAll();
    for (UINT k : keys) a.Add(k);
}

class GeomCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        PostDBBuilder b;
        for (UINT n = 1; n <= 5; ++n) b.AddNode(n, n, 0, 0);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        I_PVXModel& m = *m_model;
        m.Link_I_RDXModel(&m_ctrl);
        m_ctrl.GetObjectIDRange(m.m_nObjectIDFirst, m.m_nObjectIDLast);
        m_ctrl.GetNodeIDRange(m.m_nNodeIDFirst, m.m_nNodeIDLast);
        FillKeys(m.m_arrAllMembKey, {7, 8});
        FillKeys(m.m_arrActiveMembKey, {7, 8});
        FillKeys(m.m_arrFlagMembKey, {7});
        FillKeys(m.m_arrNoFlagMembKey, {8});
        FillKeys(m.m_arrAllNodeKey, {1, 2, 3, 4, 5});
        FillKeys(m.m_arrActiveNodeKey, {1, 2, 3, 4});
        FillKeys(m.m_arrFlagNodeKey, {1, 2, 3});
        FillKeys(m.m_arrInactiveNodeKey, {5});
        m_obj = m.m_nObjectIDFirst;
        m_node = m.m_nNodeIDFirst;
    }
    void TearDown() override {
        m_model.reset();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    // Shown flag of a registered object, -1 when it is not registered.
    int Flag(int type, UINT key) const {
        const auto o = m_ctrl.FindObject(type, key);
        return o ? o->flag : -1;
    }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = CDBDoc::m_pDBDoc;
    I_PVXCtrl m_ctrl;
    std::unique_ptr<I_PVXModel> m_model;
    int m_obj = 0, m_node = 0;
};

TEST_F(GeomCacheTest, OriginalIsRegisteredOnce) {
    I_PVXModel& m = *m_model;
    m.InitOriginal();
    EXPECT_EQ(m_ctrl.GetObjectCount(), 7);
    EXPECT_EQ(Flag(m_obj, 7), 1);
    EXPECT_EQ(Flag(m_obj, 8), 0);
    EXPECT_EQ(Flag(m_node, 4), 1);
    EXPECT_EQ(Flag(m_node, 5), 0);
    EXPECT_EQ(m_ctrl.QTreeGetCount(), 5);

    // Second calls register nothing again and leave the picking tree alone.
    m_ctrl.DelObject(m_obj, 8);
    GRE_Atom extra(m_node, 4);
    m_ctrl.QTreeAdd(extra);
    m.InitOriginal();
    m.InitOriginalNoInitQTree(1);
    EXPECT_EQ(Flag(m_obj, 8), -1);
    EXPECT_EQ(m_ctrl.QTreeGetCount(), 6);

    // A reset removes the registration once; a new one starts from scratch.
    m.ResetOriginal();
    EXPECT_EQ(m_ctrl.GetObjectCount(), 0);
    m_ctrl.AddObject(m_obj, 8, 1);
    m.ResetOriginal();
    EXPECT_EQ(Flag(m_obj, 8), 1) << "a reset without a registration deletes nothing";
    m.InitOriginalNoInitQTree(0);
    EXPECT_EQ(Flag(m_obj, 8), 0);
    EXPECT_EQ(m_ctrl.GetObjectCount(), 7);
    EXPECT_EQ(m_ctrl.QTreeGetCount(), 6) << "the tree is not touched";

    m.ResetOriginal();
    m.m_pPVXCtrl = nullptr;  // without a control nothing is registered, so nothing claims to be
    m.InitOriginal();
    EXPECT_EQ(m.m_bOriginalRegistered, 0);
}

TEST_F(GeomCacheTest, DeformedUsesTheNextIdsAndItsOwnTree) {
    I_PVXModel& m = *m_model;
    m.InitOriginal();
    m.InitDeformed(0);
    EXPECT_EQ(m_ctrl.GetObjectCount(), 14);
    EXPECT_EQ(Flag(m_obj + 1, 7), 1);
    EXPECT_EQ(Flag(m_node + 1, 5), 0);
    EXPECT_EQ(m_ctrl.QTreeGetCount(), 5) << "registering the deformed shape leaves the tree";
    m_ctrl.DelObject(m_node + 1, 1);
    m.InitDeformed(1);
    EXPECT_EQ(Flag(m_node + 1, 1), -1) << "registered once";
    m.ResetDeformed(0);
    EXPECT_EQ(m_ctrl.GetObjectCount(), 7) << "only the undeformed geometry is left";

    // While the display is drawn on the deformed shape the selection uses the deformed ids.
    m.m_pDeformEngine = new CDeformEngine(&m);
    m.m_pDeformEngine->m_bDeformed = 1;
    m.m_nDisplayMode = 1;
    m_ctrl.QTreeClearAll();
    m.InitOriginalQTree(1);
    EXPECT_EQ(m_ctrl.QTreeGetCount(), 0);
    m.InitOriginalQTree(0);
    m.InitDeformedQTree();
    EXPECT_EQ(m_ctrl.QTreeGetCount(), 10);
    m.m_nDisplayMode = -1;
    m_ctrl.QTreeClearAll();
    m.InitDeformedQTree();
    EXPECT_EQ(m_ctrl.QTreeGetCount(), 0);
}

}  // namespace
