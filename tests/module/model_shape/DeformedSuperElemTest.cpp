// Super elements on the deformed shape (database of SuperElemDB.h): their faces move with the
// deformation engine's drawing displacements, and a shrunk super element shrinks toward its
// deformed centre.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <tuple>

#include "host/db/CDBDoc.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/engines/CDeformEngine.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXDataCtrls.h"
#include "tests/module/model_shape/SuperElemDB.h"

namespace {

class DeformedSuperElemTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_doc.AttachDataBase(BuildSuperElementDB());
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        I_PVXModel& m = *m_model;
        m.GetAttrCtrl()->ConnectToPostDB();
        m.GetGeomCtrl()->ConnectToPostDB();
        m.Link_I_RDXModel(&m_ctrl);
        m.m_pDispOpt->m_bWireFrame = 0;
        m.m_pDispOpt->m_bShrink = 0;
        m_ctrl.GetObjectIDRange(m.m_nObjectIDFirst, m.m_nObjectIDLast);
        // An engine holding data: node n displaced by (n, 2n, -n), drawn at scale 1.
        auto* e = new CDeformEngine(&m);
        for (UINT n = 1; n <= 5; ++n) {
            T_DISP_D d;
            d.Initialize();
            d.DX = n;
            d.DY = 2.0 * n;
            d.DZ = -1.0 * n;
            e->SetDispRecord(n, d);
        }
        e->m_nComponent = CDeformEngine::COMP_TOTAL;
        e->m_dAdjustFactor = 1.0;
        e->m_dUserScale = 1.0;
        e->m_bDataReady = 1;
        m.m_pDeformEngine = e;
    }
    void TearDown() override {
        m_model.reset();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    static C3DPoint Moved(double x, double y, double z, UINT n) { return C3DPoint(x + n, y + 2.0 * n, z - 1.0 * n); }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = CDBDoc::m_pDBDoc;
    I_PVXCtrl m_ctrl;
    std::unique_ptr<I_PVXModel> m_model;
};

TEST_F(DeformedSuperElemTest, FacesMoveWithTheirNodes) {
    I_PVXModel& m = *m_model;
    T_PMEMB_D memb;
    ASSERT_TRUE(m.GetAttrCtrl()->GetMemb(50, memb));
    // Nodes 1 (0,0,0), 2 (0,0,2), 3 (3,4,0), 4 (3,4,2), 5 (1.5,2,0), each moved by (n, 2n, -n).
    const C3DPoint p[6] = {C3DPoint(), Moved(0, 0, 0, 1), Moved(0, 0, 2, 2), Moved(3, 4, 0, 3), Moved(3, 4, 2, 4),
                           Moved(1.5, 2, 0, 5)};
    std::set<std::tuple<double, double, double>> want;
    for (int n = 1; n <= 5; ++n) want.insert({p[n].x, p[n].y, p[n].z});
    for (int bDeformed : {1, 0}) {
        SCOPED_TRACE(bDeformed ? "deformed" : "undeformed");
        PVXPolyListArray faces;
        T_SHAPE_ARGUMENT arg;
        arg.bDeformed = bDeformed;
        ASSERT_EQ(m.GetShapeMember(50, memb, faces, nullptr, arg, 0, 1), 2) << "model elements 11 and 12";
        for (INT_PTR f = 0; f < faces.GetSize(); ++f)
            for (POSITION pos = faces[f]->GetHeadPosition(); pos;) {
                const C3DPoint v = faces[f]->GetNext(pos);
                EXPECT_EQ(want.count({v.x, v.y, v.z}) == 1, bDeformed == 1) << v.x << " " << v.y << " " << v.z;
            }
        I_PVXModel::FreeMemoryPolyList(&faces, nullptr, nullptr, nullptr);
    }
}

TEST_F(DeformedSuperElemTest, ShrinkCentreIsTheDeformedCentre) {
    CPVXSElemCtrl ctrl(m_doc.GetMDBCtrl()->GetDBPost());
    ASSERT_EQ(ctrl.GetSuperElemData(100), 1);
    // Undeformed centre (1.5, 2, 0.8), the mean of nodes 1..5; their mean displacement is
    // (3, 6, -3), so the deformed centre is (4.5, 8, -2.2). The inner node 906 at (11, 2, 2) has no
    // displacement record: it stays. Shrunk by 0.5: 0.5 (11, 2, 2) + 0.5 (4.5, 8, -2.2).
    CSuperElemInfoMap out;
    ASSERT_EQ(ctrl.BuildSuperElemInfo(out, 1, 0.5, m_model->m_pDeformEngine), 1);
    CSuperElemInfo info;
    ASSERT_TRUE(out.Lookup(1, info));
    const C3DPoint want(7.75, 5.0, -0.1);
    for (int a = 0; a < 3; ++a) EXPECT_NEAR(info.m_arrPos[2][a], want[a], 1e-12) << "axis " << a;
    // A model node of the element is displaced, then shrunk toward the same centre: node 1.
    const C3DPoint n1 = Moved(0, 0, 0, 1) * 0.5 + C3DPoint(4.5, 8, -2.2) * 0.5;
    for (int a = 0; a < 3; ++a) EXPECT_NEAR(info.m_arrPos[0][a], n1[a], 1e-12) << "axis " << a;
    // Without data the engine moves nothing: the undeformed centre.
    m_model->m_pDeformEngine->m_bDataReady = 0;
    ASSERT_EQ(ctrl.BuildSuperElemInfo(out, 1, 0.5, m_model->m_pDeformEngine), 1);
    ASSERT_TRUE(out.Lookup(1, info));
    const C3DPoint still = C3DPoint(11, 2, 2) * 0.5 + C3DPoint(1.5, 2, 0.8) * 0.5;
    for (int a = 0; a < 3; ++a) EXPECT_NEAR(info.m_arrPos[2][a], still[a], 1e-12);
}

}  // namespace
