// Element and member faces of the result model, its bounding boxes and the registration of its
// geometry with the graphics control.
//
// The beam model: member 7 is a 6 m beam (element 1, nodes 1 -> 2 along x) with a 0.3 x 0.6
// rectangular section; member 8 a 3 m column (element 2, node 3 at (10, 0, 0) up to node 4) with
// a 0.4 x 0.4 section; member 9 names an element that does not exist. Node 5 belongs to no
// member.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "engines/CDeformEngine.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/I_PVXCtrl.h"
#include "model/CPVXAttrCtrl.h"
#include "model/CPVXGeomCtrl.h"
#include "model/I_PVXModel.h"

namespace {

void AddBeamModel(PostDBBuilder& b) {
    b.AddNode(1, 0, 0, 0);
    b.AddNode(2, 6, 0, 0);
    b.AddNode(3, 10, 0, 0);
    b.AddNode(4, 10, 0, 3);
    b.AddNode(5, -4, -4, -4);
    T_PSECT_D beam{}, col{};
    beam.type = col.type = 1;
    beam.dim[0] = 0.3;
    beam.dim[1] = 0.6;
    col.dim[0] = col.dim[1] = 0.4;
    b.AddSect(1, beam);
    b.AddSect(2, col);
    b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2}, 0, 1);
    b.AddElem(2, PELEM_KIND_FRAME, 101, {3, 4}, 0, 2);
    b.AddMemb(7, 201, {1, 2}, {1});
    b.AddMemb(8, 101, {3, 4}, {2});
    b.AddMemb(9, 201, {1, 2}, {99});
}

class ModelShapeTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_model.reset();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    // Installs the database and makes a model linked to the control, every key shown.
    void MakeModel(PostDBBuilder& b) {
        b.Install(m_doc);
        MakeModelOfDocument();
    }
    void MakeModelOfDocument() {
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        m_model->GetAttrCtrl()->ConnectToPostDB();
        m_model->GetGeomCtrl()->ConnectToPostDB();
        m_model->Link_I_RDXModel(&m_ctrl);
        m_model->m_pDispOpt->m_bWireFrame = 0;
        m_model->m_pDispOpt->m_bShrink = 0;
        m_ctrl.GetObjectIDRange(m_model->m_nObjectIDFirst, m_model->m_nObjectIDLast);
        m_ctrl.GetNodeIDRange(m_model->m_nNodeIDFirst, m_model->m_nNodeIDLast);
        I_PVXModel& m = *m_model;
        m.GetAttrCtrl()->GetMembKeyList(m.m_arrAllMembKey);
        m.GetAttrCtrl()->GetNodeKeyList(m.m_arrAllNodeKey);
        m.m_arrActiveMembKey.Copy(m.m_arrAllMembKey);
        m.m_arrFlagMembKey.Copy(m.m_arrAllMembKey);
        m.m_arrActiveNodeKey.Copy(m.m_arrAllNodeKey);
        m.m_arrFlagNodeKey.Copy(m.m_arrAllNodeKey);
        m.m_arrMembFlag.SetSize(m.m_arrActiveMembKey.GetSize());
        for (INT_PTR i = 0; i < m.m_arrMembFlag.GetSize(); ++i) m.m_arrMembFlag[i] = 1;
    }
    static void SetKeys(CArray<UINT, UINT>& a, std::initializer_list<UINT> keys) {
        a.RemoveAll();
        for (UINT k : keys) a.Add(k);
    }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = CDBDoc::m_pDBDoc;
    I_PVXCtrl m_ctrl;
    std::unique_ptr<I_PVXModel> m_model;
};

C3DPoint Centroid(const PVXPolyList& poly) {
    C3DPoint c;
    for (POSITION pos = poly.GetHeadPosition(); pos;) c += poly.GetNext(pos);
    return poly.GetCount() ? c / static_cast<double>(poly.GetCount()) : c;
}

void ExpectPoint(const C3DPoint& p, double x, double y, double z, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
    EXPECT_NEAR(p.z, z, 1e-9);
}

TEST_F(ModelShapeTest, BeamFacesBackToFrontWithTheirKeys) {
    PostDBBuilder b;
    AddBeamModel(b);
    MakeModel(b);
    // Eye direction (cos 20 sin 30, -cos 20 cos 30, sin 20): depth grows with x, falls with y
    // and grows with z. The centroid depths order the faces: i-end cap (x = 0), the +y side,
    // the bottom (z = -0.3), the top, the -y side, the j-end cap (x = 6).
    m_ctrl.SetViewAngles(30.0, 20.0);
    struct Face {
        const char* label;
        C3DPoint centre;
        UINT nodes[4];
        int hostIndex;  // position among the host's faces: sides 0..3 from the bottom, then caps
    } expected[] = {
        {"i-end cap", {0, 0, 0}, {1, 1, 1, 1}, 4}, {"+y side", {3, 0.15, 0}, {1, 1, 2, 2}, 1},
        {"bottom", {3, 0, -0.3}, {1, 1, 2, 2}, 0},  {"top", {3, 0, 0.3}, {1, 1, 2, 2}, 2},
        {"-y side", {3, -0.15, 0}, {1, 1, 2, 2}, 3}, {"j-end cap", {6, 0, 0}, {2, 2, 2, 2}, 5},
    };

    T_PELEM_D elem;
    ASSERT_TRUE(m_model->GetAttrCtrl()->GetElem(1, elem));
    PVXPolyListArray faces;
    PVXIndexArrayList index;
    PVXKeyArrayList nodeKeys;
    CArray<UINT, UINT> faceKeys;
    CArray<int, int> order;
    CArray<C3DPoint> vertices;
    T_SHAPE_ARGUMENT arg;
    arg.pFaceNodeKeys = &nodeKeys;
    arg.pFaceKeys = &faceKeys;
    arg.pZOrder = &order;
    arg.pVertices = &vertices;
    ASSERT_EQ(m_model->GetShapeElement(1, elem, faces, &index, arg, 1, 0), 6);
    ASSERT_EQ(faces.GetSize(), 6);
    ASSERT_EQ(index.GetSize(), 6);
    ASSERT_EQ(nodeKeys.GetSize(), 6);
    ASSERT_EQ(faceKeys.GetSize(), 6);
    ASSERT_EQ(order.GetSize(), 6);
    EXPECT_EQ(vertices.GetSize(), 8) << "four section corners at each end";
    for (int i = 0; i < 6; ++i) {
        const Face& f = expected[i];
        SCOPED_TRACE(f.label);
        ASSERT_EQ(faces[i]->GetCount(), 4);
        ExpectPoint(Centroid(*faces[i]), f.centre.x, f.centre.y, f.centre.z, "centroid");
        EXPECT_EQ(faceKeys[i], 1u) << "element key";
        EXPECT_EQ(order[i], f.hostIndex);
        EXPECT_EQ(index[i]->GetSize(), 4);
        ASSERT_EQ(nodeKeys[i]->GetSize(), 4);
        // Node keys follow the vertices: a vertex at x = 0 belongs to node 1.
        POSITION pos = faces[i]->GetHeadPosition();
        for (int v = 0; v < 4; ++v) EXPECT_EQ((*nodeKeys[i])[v], faces[i]->GetNext(pos).x < 3 ? 1u : 2u);
        int n1 = 0;
        for (int v = 0; v < 4; ++v) n1 += (*nodeKeys[i])[v] == 1u;
        EXPECT_EQ(n1, static_cast<int>(std::count(f.nodes, f.nodes + 4, 1u)));
    }
    I_PVXModel::FreeMemoryPolyList(&faces, &index, &nodeKeys, nullptr);

    // A plain request (all words zero) gives the same faces in the same order, nothing else.
    T_SHAPE_ARGUMENT plain;
    ASSERT_EQ(m_model->GetShapeElement(1, elem, faces, nullptr, plain, 1, 0), 6);
    for (int i = 0; i < 6; ++i)
        ExpectPoint(Centroid(*faces[i]), expected[i].centre.x, expected[i].centre.y, expected[i].centre.z, expected[i].label);
    I_PVXModel::FreeMemoryPolyList(&faces, nullptr, nullptr, nullptr);
}

TEST_F(ModelShapeTest, BuildersDifferInOffsetKeysAndMissingElements) {
    PostDBBuilder b;
    AddBeamModel(b);
    T_PMEMB_D raised;
    raised.type = 201;
    raised.offsetZ = 1.0;
    raised.aNode.Add(1);
    raised.aNode.Add(2);
    raised.aElem.Add(1);
    b.AddMemb(7, raised);
    MakeModel(b);
    m_ctrl.SetViewAngles(30.0, 20.0);

    T_PELEM_D elem;
    ASSERT_TRUE(m_model->GetAttrCtrl()->GetElem(1, elem));
    struct Row {
        const char* label;
        int builder;  // 0 element, 1 element only, 2 member
        UINT faceKey;
        double capZ;  // z of the i-end cap centre (the first face)
    } rows[] = {
        {"element shape takes the member offset", 0, 1, 1.0},
        {"element-only shape does not", 1, 1, 0.0},
        {"member shape keys faces by member", 2, 7, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        PVXPolyListArray faces;
        CArray<UINT, UINT> faceKeys;
        T_SHAPE_ARGUMENT arg;
        arg.pFaceKeys = &faceKeys;
        T_PMEMB_D memb;
        ASSERT_TRUE(m_model->GetAttrCtrl()->GetMemb(7, memb));
        int n = r.builder == 0   ? m_model->GetShapeElement(1, elem, faces, nullptr, arg, 1, 0)
                : r.builder == 1 ? m_model->GetShapeOnlyElement(1, elem, faces, nullptr, arg, 0, 0)
                                 : m_model->GetShapeMember(7, memb, faces, nullptr, arg, 1, 1);
        ASSERT_EQ(n, 6);
        for (INT_PTR i = 0; i < faceKeys.GetSize(); ++i) EXPECT_EQ(faceKeys[i], r.faceKey);
        ExpectPoint(Centroid(*faces[0]), 0, 0, r.capZ, "i-end cap");
        I_PVXModel::FreeMemoryPolyList(&faces, nullptr, nullptr, nullptr);
    }

    // A member whose first element cannot be read, and one without elements, give no faces.
    PVXPolyListArray faces;
    T_SHAPE_ARGUMENT arg;
    T_PMEMB_D memb;
    ASSERT_TRUE(m_model->GetAttrCtrl()->GetMemb(9, memb));
    EXPECT_EQ(m_model->GetShapeMember(9, memb, faces, nullptr, arg, 1, 1), 0);
    memb.aElem.RemoveAll();
    EXPECT_EQ(m_model->GetShapeMember(9, memb, faces, nullptr, arg, 1, 1), 0);
    EXPECT_EQ(faces.GetSize(), 0);
}

TEST_F(ModelShapeTest, WirePlaneByDisplayMode) {
    PostDBBuilder b;
    AddBeamModel(b);
    MakeModel(b);
    struct Row {
        int mode, type, contourModeShape, expected;
    } rows[] = {
        {6, 25, 0, FALSE}, {6, 201, 0, TRUE}, {32, 25, 0, FALSE}, {7, 25, 0, TRUE},  {2, 201, 0, FALSE},
        {70, 25, 0, FALSE}, {-1, 25, 0, TRUE}, {1, 25, 0, TRUE},   {71, 25, 0, TRUE}, {4, 201, 1, FALSE},
        {4, 201, 0, TRUE},  {3, 25, 0, TRUE},  {22, 201, 0, FALSE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << r.mode << " type " << r.type);
        m_model->m_nDisplayMode = r.mode;
        m_model->m_bModeShapeContour = r.contourModeShape;
        EXPECT_EQ(m_model->IsPossibleWirePlaneMode(r.type), r.expected);
    }
}

TEST_F(ModelShapeTest, RangesOfMembersTypesAndKeyLists) {
    PostDBBuilder b;
    AddBeamModel(b);
    MakeModel(b);
    I_PVXModel& m = *m_model;
    C3DPoint lo, hi;

    // Beam x 0..6, y +-0.15, z +-0.3; column x 10 +- 0.2, y +- 0.2, z 0..3.
    ASSERT_EQ(m.GetRangeModel(&lo, &hi, 0), 1);
    ExpectPoint(lo, 0, -0.2, -0.3, "model min");
    ExpectPoint(hi, 10.2, 0.2, 3, "model max");
    ASSERT_EQ(m.RE_GetRangeModel(&lo, &hi), 1);
    ExpectPoint(lo, 0, -0.2, -0.3, "view min");
    ExpectPoint(hi, 10.2, 0.2, 3, "view max");

    // Members flagged 2 are left out while only the flagged part is shown.
    m.m_arrMembFlag[1] = 2;  // member 8
    m.m_pDispOpt->m_nPartialDisplay1 = 1;
    m.m_pDispOpt->m_nPartialDisplay2 = 0;
    ASSERT_EQ(m.GetRangeModel(&lo, &hi, 0), 1);
    ExpectPoint(hi, 6, 0.15, 0.3, "partial max");
    m.RE_GetRangeModel(&lo, &hi);
    ExpectPoint(hi, 6, 0.15, 0.3, "partial view max");
    m.m_pDispOpt->m_nPartialDisplay2 = 1;
    m.GetRangeModel(&lo, &hi, 0);
    ExpectPoint(hi, 10.2, 0.2, 3, "both parts");

    // One type: member 9 (unreadable first element) comes first and must not hide the column.
    SetKeys(m.m_arrFlagMembKey, {9, 8, 7});
    ASSERT_EQ(m.GetRangeModelOneType(&lo, &hi, 101), 1);
    ExpectPoint(lo, 9.8, -0.2, 0, "column min");
    ExpectPoint(hi, 10.2, 0.2, 3, "column max");

    // Key lists: the listed members only; an empty list leaves the empty box.
    CArray<UINT, UINT> keys;
    SetKeys(keys, {8});
    ASSERT_EQ(m.RE_GetRangeModel(m.m_nObjectIDFirst, &lo, &hi, &keys), 1);
    ExpectPoint(lo, 9.8, -0.2, 0, "listed min");
    keys.RemoveAll();
    EXPECT_EQ(m.GetRangeModel(&lo, &hi, &keys), 0);
    EXPECT_EQ(lo.x, DBL_MAX);
    EXPECT_EQ(hi.z, -DBL_MAX);

    // Element boxes by object type; other types are not answered.
    ASSERT_EQ(m.RE_GetRangeElement(m.m_nObjectIDFirst, 7, &lo, &hi), 1);
    ExpectPoint(lo, 0, -0.15, -0.3, "beam min");
    const C3DPoint untouched(-1, -2, -3);
    lo = untouched;
    EXPECT_EQ(m.RE_GetRangeElement(m.m_nObjectIDFirst + 2, 7, &lo, &hi), 0);
    EXPECT_EQ(m.RE_GetRangeModel(m.m_nObjectIDFirst + 2, &lo, &hi, nullptr), 0);
    EXPECT_EQ(lo, untouched);

    // Nodes only: the shown nodes' box.
    ASSERT_EQ(m.GetRangeModel(&lo, &hi, 1), 1);
    ExpectPoint(lo, -4, -4, -4, "node min");
    ExpectPoint(hi, 10, 0, 3, "node max");
}

TEST_F(ModelShapeTest, RangeOfAOneNodeModel) {
    PostDBBuilder b;
    b.AddNode(1, 4, 5, 6);
    MakeModel(b);
    C3DPoint lo, hi;
    for (int nodesOnly : {0, 1}) {
        SCOPED_TRACE(nodesOnly ? "nodes only" : "members or nodes");
        ASSERT_EQ(m_model->GetRangeModel(&lo, &hi, nodesOnly), 1);
        ExpectPoint(lo, 4, 5, 6, "min");
        ExpectPoint(hi, 4, 5, 6, "max");
    }
    m_model->m_arrFlagNodeKey.RemoveAll();
    EXPECT_EQ(m_model->GetRangeModel(&lo, &hi, 0), 0);
    ExpectPoint(hi, 0, 0, 0, "nothing shown");
}

std::string SampleProject() {
    static const std::string path = [] {
        const std::string p = std::string(PVX_TEST_TMPDIR) + "/model_shape_sample_" + std::to_string(getpid()) + ".pvxdb";
        const std::string cmd = std::string("'") + PVX_BINARY_DIR + "/bin/pvxhost' make-sample --out '" + p + "' >/dev/null";
        return std::system(cmd.c_str()) == 0 ? p : std::string();
    }();
    return path;
}

TEST_F(ModelShapeTest, RangeOfTheSampleProject) {
    const std::string path = SampleProject();
    if (path.empty()) GTEST_SKIP() << "pvxhost could not write the sample project (is it built?)";
    ASSERT_TRUE(m_doc.OpenDocument(path.c_str())) << static_cast<LPCTSTR>(m_doc.GetLastError());
    std::remove(path.c_str());
    MakeModelOfDocument();
    I_PVXModel& m = *m_model;
    ASSERT_GT(m.m_arrActiveMembKey.GetSize(), 100);

    // Independent boxes from the tables: every node; the nodes of the members' elements; the
    // largest distance a section corner lies from its member axis.
    CDataBase* db = m_doc.GetMDBCtrl()->GetDBPost();
    C3DPoint nodeLo(DBL_MAX, DBL_MAX, DBL_MAX), nodeHi(-DBL_MAX, -DBL_MAX, -DBL_MAX);
    C3DPoint membLo = nodeLo, membHi = nodeHi;
    auto widen = [](C3DPoint& lo, C3DPoint& hi, const T_PNODE_D& n) {
        lo.Set(std::min(lo.x, n.x), std::min(lo.y, n.y), std::min(lo.z, n.z));
        hi.Set(std::max(hi.x, n.x), std::max(hi.y, n.y), std::max(hi.z, n.z));
    };
    for (UINT key : db->Table<DBT_PNODE>().Keys()) widen(nodeLo, nodeHi, *db->Table<DBT_PNODE>().Find(key));
    for (UINT key : db->Table<DBT_PMEMB>().Keys()) {
        const T_PMEMB_D* memb = db->Table<DBT_PMEMB>().Find(key);
        for (INT_PTR e = 0; e < memb->aElem.GetSize(); ++e) {
            const T_PELEM_D* elem = db->Table<DBT_PELEM>().Find(memb->aElem[e]);
            for (int k = 0; elem && k < elem->nNode; ++k) widen(membLo, membHi, *db->Table<DBT_PNODE>().Find(elem->node[k]));
        }
    }
    double reach = 0;
    for (UINT key : db->Table<DBT_PSECT>().Keys()) {
        const T_PSECT_D* s = db->Table<DBT_PSECT>().Find(key);
        if (s->type == 1) reach = std::max(reach, std::hypot(s->dim[0], s->dim[1]) / 2);
        if (s->type == 3) reach = std::max(reach, s->dim[0] / 2);
    }
    ASSERT_GT(reach, 0.0);

    C3DPoint lo, hi;
    ASSERT_EQ(m.GetRangeModel(&lo, &hi, 1), 1);
    ExpectPoint(lo, nodeLo.x, nodeLo.y, nodeLo.z, "node box min");
    ExpectPoint(hi, nodeHi.x, nodeHi.y, nodeHi.z, "node box max");

    ASSERT_EQ(m.GetRangeModel(&lo, &hi, 0), 1);
    for (int a = 0; a < 3; ++a) {
        SCOPED_TRACE(testing::Message() << "axis " << a);
        EXPECT_LE(lo[a], membLo[a] + 1e-9);
        EXPECT_GE(lo[a], membLo[a] - reach - 1e-9);
        EXPECT_GE(hi[a], membHi[a] - 1e-9);
        EXPECT_LE(hi[a], membHi[a] + reach + 1e-9);
    }
    C3DPoint vlo, vhi;
    ASSERT_EQ(m.RE_GetRangeModel(&vlo, &vhi), 1);
    EXPECT_EQ(vlo, lo);
    EXPECT_EQ(vhi, hi);
}

}  // namespace
