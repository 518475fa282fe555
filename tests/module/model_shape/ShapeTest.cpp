// Element and member faces of the result model and its bounding boxes.
//
// The beam model: member 7 is a 6 m beam (element 1, nodes 1 -> 2 along x, 0.3 x 0.6 section);
// member 8 a 3 m column (element 2, node 3 at (10, 0, 0) up to node 4, 0.4 x 0.4); member 9
// names an element that does not exist; node 5 belongs to no member.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/db/PostDBBuilder.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/I_PVXModel.h"
#include "tests/module/model_shape/SuperElemDB.h"

namespace {

void AddBeamModel(PostDBBuilder& b, double beamOffsetZ = 0.0) {
    const double xyz[5][3] = {{0, 0, 0}, {6, 0, 0}, {10, 0, 0}, {10, 0, 3}, {-4, -4, -4}};
    for (UINT n = 1; n <= 5; ++n) b.AddNode(n, xyz[n - 1][0], xyz[n - 1][1], xyz[n - 1][2]);
    T_PSECT_D beam{}, col{};
    beam.type = col.type = 1;
    beam.dim[0] = 0.3;
    beam.dim[1] = 0.6;
    col.dim[0] = col.dim[1] = 0.4;
    b.AddSect(1, beam);
    b.AddSect(2, col);
    b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2}, 0, 1);
    b.AddElem(2, PELEM_KIND_FRAME, 101, {3, 4}, 0, 2);
    T_PMEMB_D m;
    m.type = 201;
    m.offsetZ = beamOffsetZ;
    m.aNode.Add(1);
    m.aNode.Add(2);
    m.aElem.Add(1);
    b.AddMemb(7, m);
    b.AddMemb(8, 101, {3, 4}, {2});
    b.AddMemb(9, 201, {1, 2}, {99});
}

// The project replaced by the beam model with the column at x 20, the controls reconnected.
void ReplaceProjectWithColumnAt20(I_PVXModel& m, CDataBase&, CDBDoc& doc) {
    PostDBBuilder other;
    AddBeamModel(other);
    other.AddNode(3, 20, 0, 0);
    other.AddNode(4, 20, 0, 3);
    other.Install(doc);
    m.GetAttrCtrl()->ConnectToPostDB();
    m.GetGeomCtrl()->ConnectToPostDB();
}

class ModelShapeTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_model.reset();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    // A model of the document linked to the control, every key shown, faces drawn filled.
    I_PVXModel& MakeModel() {
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        I_PVXModel& m = *m_model;
        m.GetAttrCtrl()->ConnectToPostDB();
        m.GetGeomCtrl()->ConnectToPostDB();
        m.Link_I_RDXModel(&m_ctrl);
        m.m_pDispOpt->m_bWireFrame = 0;
        m.m_pDispOpt->m_bShrink = 0;
        m_ctrl.GetObjectIDRange(m.m_nObjectIDFirst, m.m_nObjectIDLast);
        m.GetAttrCtrl()->GetMembKeyList(m.m_arrActiveMembKey);
        m.GetAttrCtrl()->GetNodeKeyList(m.m_arrFlagNodeKey);
        m.m_arrMembFlag.SetSize(m.m_arrActiveMembKey.GetSize());
        for (INT_PTR i = 0; i < m.m_arrMembFlag.GetSize(); ++i) m.m_arrMembFlag[i] = 1;
        m_ctrl.SetViewAngles(30.0, 20.0);
        return m;
    }
    I_PVXModel& MakeModel(PostDBBuilder& b) {
        b.Install(m_doc);
        return MakeModel();
    }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = CDBDoc::m_pDBDoc;
    I_PVXCtrl m_ctrl;
    std::unique_ptr<I_PVXModel> m_model;
};

C3DPoint Centroid(const PVXPolyList& poly) {
    C3DPoint c;
    for (POSITION pos = poly.GetHeadPosition(); pos;) c += poly.GetNext(pos);
    return c / static_cast<double>(std::max<INT_PTR>(1, poly.GetCount()));
}

void ExpectPoint(const C3DPoint& p, double x, double y, double z, const char* what) {
    EXPECT_NEAR(p.x, x, 1e-9) << what;
    EXPECT_NEAR(p.y, y, 1e-9) << what;
    EXPECT_NEAR(p.z, z, 1e-9) << what;
}

TEST_F(ModelShapeTest, BeamFacesBackToFrontWithTheirKeys) {
    PostDBBuilder b;
    AddBeamModel(b);
    I_PVXModel& m = MakeModel(b);
    // Eye direction (cos 20 sin 30, -cos 20 cos 30, sin 20): depth grows with x and z and falls
    // with y. Centroid depths order the faces: i-end cap, +y side, bottom, top, -y side, j-end
    // cap. hostIndex: place among the host's faces (sides from the bottom round, then caps).
    const struct {
        const char* label;
        C3DPoint centre;
        int nodeOneVertices, hostIndex;
    } expected[] = {{"i-end cap", {0, 0, 0}, 4, 4}, {"+y side", {3, 0.15, 0}, 2, 1}, {"bottom", {3, 0, -0.3}, 2, 0},
                    {"top", {3, 0, 0.3}, 2, 2},     {"-y side", {3, -0.15, 0}, 2, 3}, {"j-end cap", {6, 0, 0}, 0, 5}};
    T_PELEM_D elem;
    ASSERT_TRUE(m.GetAttrCtrl()->GetElem(1, elem));
    PVXPolyListArray faces;
    PVXIndexArrayList index;
    PVXKeyArrayList nodeKeys;
    CArray<UINT, UINT> faceKeys;
    CArray<int, int> order;
    T_SHAPE_ARGUMENT arg;
    arg.pFaceNodeKeys = &nodeKeys;
    arg.pFaceKeys = &faceKeys;
    arg.pZOrder = &order;
    ASSERT_EQ(m.GetShapeElement(1, elem, faces, &index, arg, 1, 0), 6);
    ASSERT_TRUE(index.GetSize() == 6 && nodeKeys.GetSize() == 6 && faceKeys.GetSize() == 6 && order.GetSize() == 6);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(expected[i].label);
        ASSERT_EQ(faces[i]->GetCount(), 4);
        ExpectPoint(Centroid(*faces[i]), expected[i].centre.x, expected[i].centre.y, expected[i].centre.z, "centroid");
        EXPECT_EQ(faceKeys[i], 1u);
        EXPECT_EQ(order[i], expected[i].hostIndex);
        EXPECT_EQ(index[i]->GetSize(), 4);
        int nodeOne = 0;
        POSITION pos = faces[i]->GetHeadPosition();
        for (int v = 0; v < 4; ++v) {
            const bool atI = faces[i]->GetNext(pos).x < 3;  // node keys follow their vertices
            EXPECT_EQ((*nodeKeys[i])[v], atI ? 1u : 2u);
            nodeOne += atI;
        }
        EXPECT_EQ(nodeOne, expected[i].nodeOneVertices);
    }
    I_PVXModel::FreeMemoryPolyList(&faces, &index, &nodeKeys, nullptr);

    // A plain request (all words zero) hands out the same faces in the same order, nothing else.
    T_SHAPE_ARGUMENT plain;
    ASSERT_EQ(m.GetShapeElement(1, elem, faces, nullptr, plain, 1, 0), 6);
    for (int i = 0; i < 6; ++i)
        ExpectPoint(Centroid(*faces[i]), expected[i].centre.x, expected[i].centre.y, expected[i].centre.z, expected[i].label);
    I_PVXModel::FreeMemoryPolyList(&faces, nullptr, nullptr, nullptr);
}

// The flat form of a member's faces hands out what the list form hands out: the same faces in
// the same order with the same points and node keys, under every view and shape option; its
// distinct points and nodes index every corner. Host arrays that disagree hand out nothing.
TEST_F(ModelShapeTest, FlatMemberFacesAreTheListFaces) {
    PostDBBuilder b;
    AddBeamModel(b);
    // Member 10: 4,500 plates over one square, each on nodes of its own (every ninth a triangle,
    // one element missing). Its faces are made in chunks on several threads, and they tie in
    // depth, so the sort leaves them in member order.
    std::vector<UINT> raftNodes, raftElems;
    for (UINT e = 0; e < 4500; ++e) {
        const UINT first = 100 + 4 * e, elem = 100 + e;
        const double xy[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (UINT k = 0; k < 4; ++k) {
            b.AddNode(first + k, xy[k][0], xy[k][1], 0.0);
            raftNodes.push_back(first + k);
        }
        raftElems.push_back(elem);
        if (e == 2222) continue;
        if (e % 9 == 0) b.AddElem(elem, PELEM_KIND_PLATE, 301, {first, first + 1, first + 2});
        else b.AddElem(elem, PELEM_KIND_PLATE, 301, {first, first + 1, first + 2, first + 3});
    }
    b.AddMemb(10, 301, raftNodes, raftElems);
    I_PVXModel& m = MakeModel(b);
    const struct {
        const char* label;
        double azimuth, elevation;
        int wire, shrink;
    } rows[] = {{"iso", 30, 20, 0, 0}, {"from below behind", 210, -40, 0, 0}, {"wire frame", 30, 20, 1, 0},
                {"shrunk", 120, 35, 0, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        m_ctrl.SetViewAngles(row.azimuth, row.elevation);
        m.m_pDispOpt->m_bWireFrame = row.wire;
        m.m_pDispOpt->m_bShrink = row.shrink;
        m.m_pDispOpt->m_dShrinkFactor = 0.5;
        for (UINT key : {7u, 8u, 9u, 10u}) {
            SCOPED_TRACE(testing::Message() << "member " << key);
            T_PMEMB_D memb;
            ASSERT_TRUE(m.GetAttrCtrl()->GetMemb(key, memb));
            PVXPolyListArray faces;
            PVXKeyArrayList keys;
            T_SHAPE_ARGUMENT arg;
            arg.pFaceNodeKeys = &keys;
            const int n = m.GetShapeMember(key, memb, faces, nullptr, arg, 0, 0);
            PVXFlatFaces flat;
            T_SHAPE_ARGUMENT plain;
            EXPECT_EQ(m.GetShapeMemberFlat(key, memb, plain, true, flat), n);
            flat.IndexNodes({});
            ASSERT_EQ(flat.Faces(), faces.GetSize());
            EXPECT_EQ(key == 9 ? 0 : 1, flat.Faces() > 0) << "a member of a missing element has no faces";
            for (int f = 0; f < flat.Faces(); ++f) {
                ASSERT_EQ(flat.Count(f), faces[f]->GetCount());
                POSITION pos = faces[f]->GetHeadPosition();
                for (int v = 0; v < flat.Count(f); ++v) {
                    const int c = flat.start[f] + v;
                    const C3DPoint p = faces[f]->GetNext(pos);
                    EXPECT_TRUE(std::memcmp(&flat.corners[c].x, &p.x, 3 * sizeof(double)) == 0) << "face " << f;
                    EXPECT_EQ(flat.keys[c], (*keys[f])[v]);
                    EXPECT_TRUE(flat.points[flat.point[c]] == p);
                    EXPECT_EQ(flat.nodes[flat.node[c]], flat.keys[c]);
                }
            }
            // A beam's box has 8 corners on its 2 nodes.
            if (key == 7 && !row.wire) {
                EXPECT_EQ(flat.points.size(), 8u);
                EXPECT_EQ(flat.nodes.size(), 2u);
            }
            I_PVXModel::FreeMemoryPolyList(&faces, nullptr, &keys, nullptr);
        }
    }
    {
        SCOPED_TRACE("the beam in the iso view: faces back to front");
        m_ctrl.SetViewAngles(30.0, 20.0);
        m.m_pDispOpt->m_bWireFrame = m.m_pDispOpt->m_bShrink = 0;
        T_PMEMB_D memb;
        ASSERT_TRUE(m.GetAttrCtrl()->GetMemb(7, memb));
        PVXFlatFaces flat;
        T_SHAPE_ARGUMENT plain;
        ASSERT_EQ(m.GetShapeMemberFlat(7, memb, plain, false, flat), 6);
        // As in BeamFacesBackToFrontWithTheirKeys: i-end cap, +y side, bottom, top, -y side, j-end cap.
        const C3DPoint centres[6] = {{0, 0, 0}, {3, 0.15, 0}, {3, 0, -0.3}, {3, 0, 0.3}, {3, -0.15, 0}, {6, 0, 0}};
        for (int f = 0; f < 6; ++f) {
            C3DPoint c;
            for (int v = 0; v < flat.Count(f); ++v) c += flat.Corners(f)[v];
            ExpectPoint(c / flat.Count(f), centres[f].x, centres[f].y, centres[f].z, "centroid");
        }
        EXPECT_TRUE(flat.keys.empty());
    }
    {
        // Two triangles on coordinates 0..3: faces in host order without a control.
        CArray<double, double> coords;
        for (double v : {0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 1.0, 1.0, 0.0, 0.0, 1.0, 0.0}) coords.Add(v);
        auto arr = [](std::initializer_list<int> v) {
            CArray<int, int> a;
            for (int x : v) a.Add(x);
            return a;
        };
        const struct {
            const char* label;
            int nFaces;
            CArray<int, int> counts, index;
            int faces;
        } hostRows[] = {{"consistent", 2, arr({3, 3}), arr({0, 3, 6, 0, 6, 9}), 2},
                        {"more faces than counts", 3, arr({3, 3}), arr({0, 3, 6, 0, 6, 9}), 0},
                        {"a count beyond the index", 2, arr({3, 4}), arr({0, 3, 6, 0, 6, 9}), 0},
                        {"an index beyond the coordinates", 2, arr({3, 3}), arr({0, 3, 6, 0, 6, 12}), 0},
                        {"a negative count", 1, arr({-1}), arr({}), 0}};
        for (const auto& r : hostRows) {
            SCOPED_TRACE(r.label);
            PVXFlatFaces flat;
            EXPECT_EQ(flat.Take(r.nFaces, r.counts, r.index, coords, nullptr, nullptr), r.faces);
            EXPECT_EQ(flat.Faces(), r.faces);
            EXPECT_EQ(flat.points.size(), r.faces ? 4u : 0u);
        }
    }
}

// The node index: the seed's keys first (each once), then every other corner key in the order
// the corners first have it; dense keys and keys far apart alike.
TEST(FlatFacesNodes, SeedFirstThenKeysAsTheyCome) {
    const struct {
        const char* label;
        std::vector<UINT> seed, keys, nodes;
        std::vector<int> node;
    } rows[] = {
        {"dense, no seed", {}, {5, 3, 5, 9, 3}, {5, 3, 9}, {0, 1, 0, 2, 1}},
        {"dense, seed with a key no corner has", {3, 1}, {2, 1, 2}, {3, 1, 2}, {2, 1, 2}},
        {"far apart, seed twice", {7, 7}, {4000000000u, 7, 4000000000u, 123456789}, {7, 4000000000u, 123456789},
         {1, 0, 1, 2}},
        {"no corners", {0}, {}, {0}, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        PVXFlatFaces flat;
        flat.keys = r.keys;
        flat.IndexNodes(r.seed);
        EXPECT_EQ(flat.nodes, r.nodes);
        EXPECT_EQ(flat.node, r.node);
    }
}

// Corners equal bit for bit are one point whatever their node keys say: coincident nodes share
// a point, a node met at two places has two, -0 is not +0. Points stand in the order their
// first corners come. Faces: (v0, v1, v3) and (v2, v3, v1) of v0 = (0, 0, 0), v1 = (1, 0, 0),
// v2 = (z, 0, 0), v3 = (1, 1, 0).
TEST(FlatFacesNodes, CornersEqualBitForBitAreOnePoint) {
    const struct {
        const char* label;
        double z;                // v2's x
        std::vector<UINT> keys;  // per vertex; none when empty
        std::vector<int> point;  // per corner
        size_t points;
        int more = 0;  // a second piece: one face of this many new points keyed 101 on, then two keyed far apart
    } rows[] = {
        {"no keys", 0.0, {}, {0, 1, 2, 0, 2, 1}, 3},
        {"coincident nodes", 0.0, {1, 2, 3, 4}, {0, 1, 2, 0, 2, 1}, 3},
        {"one node at two places", 0.0, {1, 1, 2, 1}, {0, 1, 2, 0, 2, 1}, 3},
        {"keys too far apart to index", 0.0, {4000000000u, 2, 3, 4000000001u}, {0, 1, 2, 0, 2, 1}, 3},
        {"minus zero", -0.0, {1, 2, 1, 4}, {0, 1, 2, 3, 2, 1}, 4},
        // Before, the table made for the first piece (16 entries) grew once to 32 for 45 points:
        // the probe never ended.
        {"many keyed points, then some far apart", 0.0, {1, 2, 3, 4}, {0, 1, 2, 0, 2, 1}, 3, 40},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<double, double> coords;
        for (double v : {0.0, 0.0, 0.0, 1.0, 0.0, 0.0, r.z, 0.0, 0.0, 1.0, 1.0, 0.0}) coords.Add(v);
        CArray<int, int> counts, index;
        for (int n : {3, 3}) counts.Add(n);
        for (int i : {0, 3, 9, 6, 9, 3}) index.Add(i);
        CArray<UINT, UINT> keys;
        for (UINT k : r.keys) keys.Add(k);
        PVXFlatFaces flat;
        flat.Begin(0);
        ASSERT_TRUE(flat.AddPiece(2, counts, index, coords, r.keys.empty() ? nullptr : &keys));
        CArray<int, int> moreCounts, moreIndex;
        CArray<double, double> moreCoords;
        CArray<UINT, UINT> moreKeys;
        std::vector<int> point = r.point;
        for (int i = 0; i < r.more + 2; ++i) {
            for (double v : {10.0 + i, 5.0, 0.0}) moreCoords.Add(v);
            moreIndex.Add(3 * i);
            moreKeys.Add(i < r.more ? 101u + i : 4000000000u + i);
            point.push_back(static_cast<int>(r.points) + i);  // each a point of its own, in order
        }
        moreCounts.Add(r.more + 2);
        if (r.more) {
            ASSERT_TRUE(flat.AddPiece(1, moreCounts, moreIndex, moreCoords, &moreKeys));
        }
        ASSERT_EQ(flat.Finish(nullptr), r.more ? 3 : 2);
        if (!r.more) point.resize(r.point.size());
        EXPECT_EQ(flat.point, point);
        ASSERT_EQ(flat.points.size(), point.size() == r.point.size() ? r.points : r.points + r.more + 2);
        for (size_t c = 0; c < r.point.size(); ++c)
            EXPECT_EQ(std::memcmp(&flat.points[flat.point[c]].x, &coords[index[c]], 3 * sizeof(double)), 0) << c;
    }
}

TEST_F(ModelShapeTest, BuildersDifferInOffsetKeysAndMissingElements) {
    PostDBBuilder b;
    AddBeamModel(b, 1.0);
    I_PVXModel& m = MakeModel(b);
    T_PELEM_D elem;
    T_PMEMB_D memb;
    ASSERT_TRUE(m.GetAttrCtrl()->GetElem(1, elem) && m.GetAttrCtrl()->GetMemb(7, memb));
    const struct {
        const char* label;
        int builder;  // 0 element, 1 element only, 2 member
        UINT faceKey;
        double capZ;  // z of the i-end cap centre, the first face
    } rows[] = {{"element: member offset", 0, 1, 1.0}, {"element only: no offset", 1, 1, 0.0}, {"member keys", 2, 7, 0.0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        PVXPolyListArray faces;
        CArray<UINT, UINT> faceKeys;
        T_SHAPE_ARGUMENT arg;
        arg.pFaceKeys = &faceKeys;
        const int n = r.builder == 0   ? m.GetShapeElement(1, elem, faces, nullptr, arg, 1, 0)
                      : r.builder == 1 ? m.GetShapeOnlyElement(1, elem, faces, nullptr, arg, 0, 0)
                                       : m.GetShapeMember(7, memb, faces, nullptr, arg, 1, 1);
        ASSERT_EQ(n, 6);
        EXPECT_EQ(std::count(faceKeys.GetData(), faceKeys.GetData() + 6, r.faceKey), 6);
        ExpectPoint(Centroid(*faces[0]), 0, 0, r.capZ, "i-end cap");
        I_PVXModel::FreeMemoryPolyList(&faces, nullptr, nullptr, nullptr);
    }
    PVXPolyListArray faces;
    T_SHAPE_ARGUMENT arg;
    ASSERT_TRUE(m.GetAttrCtrl()->GetMemb(9, memb));
    EXPECT_EQ(m.GetShapeMember(9, memb, faces, nullptr, arg, 1, 1), 0) << "first element missing";
    EXPECT_EQ(faces.GetSize(), 0);


    const struct {
        int mode, type, contourModeShape, expected;
    } wire[] = {{6, 25, 0, FALSE}, {6, 201, 0, TRUE}, {32, 25, 0, FALSE}, {7, 25, 0, TRUE}, {2, 201, 0, FALSE},
                {70, 25, 0, FALSE}, {-1, 25, 0, TRUE}, {71, 25, 0, TRUE}, {4, 201, 1, FALSE}, {4, 201, 0, TRUE}};
    for (const auto& r : wire) {
        m.m_nDisplayMode = r.mode;
        m.m_bModeShapeContour = r.contourModeShape;
        EXPECT_EQ(m.IsPossibleWirePlaneMode(r.type), r.expected) << "mode " << r.mode << " type " << r.type;
    }

    // A member of a super element is drawn by the model elements it stands for (11 and 12 have
    // one face each; 21 is not in the database), whatever the trailing ints say.
    m_doc.AttachDataBase(BuildSuperElementDB());
    I_PVXModel& ms = MakeModel();
    ASSERT_TRUE(ms.GetAttrCtrl()->GetMemb(50, memb));
    CArray<UINT, UINT> faceKeys;
    arg.pFaceKeys = &faceKeys;
    ASSERT_EQ(ms.GetShapeMember(50, memb, faces, nullptr, arg, 0, 1), 2);
    EXPECT_EQ(faceKeys[0] + faceKeys[1], 23u);
    I_PVXModel::FreeMemoryPolyList(&faces, nullptr, nullptr, nullptr);
}

TEST_F(ModelShapeTest, RangesOfMembersTypesKeyListsAndOneNode) {
    PostDBBuilder b;
    AddBeamModel(b);
    I_PVXModel& m = MakeModel(b);
    C3DPoint lo, hi;
    // Beam x 0..6, y +-0.15, z +-0.3; column x 10 +- 0.2, y +- 0.2, z 0..3.
    ASSERT_EQ(m.RE_GetRangeModel(&lo, &hi), 1);
    ExpectPoint(lo, 0, -0.2, -0.3, "view min");
    ExpectPoint(hi, 10.2, 0.2, 3, "view max");
    m.m_arrMembFlag[1] = 2;  // member 8 left out while only the flagged part is shown
    m.m_pDispOpt->m_nPartialDisplay1 = 1;
    ASSERT_EQ(m.GetRangeModel(&lo, &hi, 0), 1);
    ExpectPoint(hi, 6, 0.15, 0.3, "partial max");
    // One type: member 9 (unreadable first element) comes first and must not hide the column.
    m.m_arrFlagMembKey.Copy(m.m_arrActiveMembKey);
    m.m_arrFlagMembKey.InsertAt(0, 9u);
    ASSERT_EQ(m.GetRangeModelOneType(&lo, &hi, 101), 1);
    ExpectPoint(lo, 9.8, -0.2, 0, "column min");
    CArray<UINT, UINT> keys;
    EXPECT_EQ(m.GetRangeModel(&lo, &hi, &keys), 0);
    EXPECT_TRUE(lo.x == DBL_MAX && hi.z == -DBL_MAX) << "an empty list leaves the empty box";
    const C3DPoint untouched(-1, -2, -3);
    lo = untouched;
    EXPECT_EQ(m.RE_GetRangeElement(m.m_nObjectIDFirst + 2, 7, &lo, &hi), 0);
    EXPECT_EQ(lo, untouched) << "types other than undeformed and deformed are not answered";
    ASSERT_EQ(m.GetRangeModel(&lo, &hi, 1), 1);
    ExpectPoint(lo, -4, -4, -4, "node min");

    // A one-node model: the box of that node, not the origin.
    PostDBBuilder one;
    one.AddNode(1, 4, 5, 6);
    I_PVXModel& m1 = MakeModel(one);
    for (int nodesOnly : {0, 1}) {
        ASSERT_EQ(m1.GetRangeModel(&lo, &hi, nodesOnly), 1);
        ExpectPoint(lo, 4, 5, 6, "one node min");
        ExpectPoint(hi, 4, 5, 6, "one node max");
    }
}

// The box of the shown members is kept between calls; each thing it is made from, changed
// without telling the model, gives the box of the changed model. Boxes by hand from the beam
// model: beam x 0..6, y +-0.15, z +-0.3; column x 10 +- 0.2, y +- 0.2, z 0..3.
TEST_F(ModelShapeTest, KeptRangeOfShownMembersFollowsWhatItIsMadeOf) {
    struct Row {
        const char* label;
        void (*change)(I_PVXModel&, CDataBase&, CDBDoc&);
        C3DPoint lo, hi;
    } rows[] = {
        {"nothing changed", [](I_PVXModel&, CDataBase&, CDBDoc&) {}, {0, -0.2, -0.3}, {10.2, 0.2, 3}},
        {"column top raised to z 5",
         [](I_PVXModel&, CDataBase& db, CDBDoc&) { db.Table<DBT_PNODE>().Set(4, T_PNODE_D{10, 0, 5}); },
         {0, -0.2, -0.3}, {10.2, 0.2, 5}},
        {"column section 1.0 x 1.0: x 10 +- 0.5, y +- 0.5",
         [](I_PVXModel&, CDataBase& db, CDBDoc&) {
             T_PSECT_D s = *db.Table<DBT_PSECT>().Find(2);
             s.dim[0] = s.dim[1] = 1.0;
             db.Table<DBT_PSECT>().Set(2, s);
         },
         {0, -0.5, -0.3}, {10.5, 0.5, 3}},
        {"member 7 now holds the column's element: the column alone",
         [](I_PVXModel&, CDataBase& db, CDBDoc&) {
             T_PMEMB_D memb = *db.Table<DBT_PMEMB>().Find(7);
             memb.aElem.SetAt(0, 2);
             db.Table<DBT_PMEMB>().Set(7, memb);
         },
         {9.8, -0.2, 0}, {10.2, 0.2, 3}},
        {"column (second shown member) no longer shown: the beam alone",
         [](I_PVXModel& m, CDataBase&, CDBDoc&) {
             m.m_arrActiveMembKey.RemoveAt(1);
             m.m_arrMembFlag.RemoveAt(1);
         },
         {0, -0.15, -0.3}, {6, 0.15, 0.3}},
        {"column flagged 2 while only the flagged part is shown",
         [](I_PVXModel& m, CDataBase&, CDBDoc&) {
             m.m_arrMembFlag[1] = 2;
             m.m_pDispOpt->m_nPartialDisplay1 = 1;
         },
         {0, -0.15, -0.3}, {6, 0.15, 0.3}},
        // Halfway to the element centres (3, 0, 0) and (10, 0, 1.5).
        {"shrunk by half",
         [](I_PVXModel& m, CDataBase&, CDBDoc&) {
             m.m_pDispOpt->m_bShrink = 1;
             m.m_pDispOpt->m_dShrinkFactor = 0.5;
         },
         {1.5, -0.1, -0.15}, {10.1, 0.1, 2.25}},
        {"project replaced by one built the same way with the column at x 20, controls reconnected",
         ReplaceProjectWithColumnAt20,
         {0, -0.2, -0.3}, {20.2, 0.2, 3}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        PostDBBuilder b;
        AddBeamModel(b);
        I_PVXModel& m = MakeModel(b);
        C3DPoint lo, hi;
        ASSERT_EQ(m.GetRangeModel(&lo, &hi, 0), 1);
        ExpectPoint(lo, 0, -0.2, -0.3, "first min");
        ExpectPoint(hi, 10.2, 0.2, 3, "first max");
        r.change(m, *m_doc.GetMDBCtrl()->GetDBPost(), m_doc);
        for (int pass = 0; pass < 2; ++pass) {  // built once more, then served
            ASSERT_EQ(m.GetRangeModel(&lo, &hi, 0), 1);
            ExpectPoint(lo, r.lo.x, r.lo.y, r.lo.z, "min");
            ExpectPoint(hi, r.hi.x, r.hi.y, r.hi.z, "max");
        }
    }
}

// The faces of an element as the list builder hands them out, in the flat form: each face's
// points with their edge flags and node keys, and its face key.
PVXFlatFaces ListFaces(I_PVXModel& m, UINT key) {
    PVXFlatFaces out;
    out.start.push_back(0);
    T_PELEM_D elem;
    if (!m.GetAttrCtrl()->GetElem(key, elem)) return out;
    PVXPolyListArray faces;
    PVXIndexArrayList index;
    PVXKeyArrayList nodeKeys;
    CArray<UINT, UINT> faceKeys;
    T_SHAPE_ARGUMENT arg;
    arg.pFaceNodeKeys = &nodeKeys;
    arg.pFaceKeys = &faceKeys;
    m.GetShapeElement(key, elem, faces, &index, arg, 1, 0);
    for (INT_PTR f = 0; f < faces.GetSize(); ++f) {
        int j = 0;
        for (POSITION pos = faces[f]->GetHeadPosition(); pos; ++j) {
            out.corners.push_back(faces[f]->GetNext(pos));
            out.flags.push_back((*index[f])[j]);
            out.keys.push_back((*nodeKeys[f])[j]);
        }
        out.start.push_back(static_cast<int>(out.corners.size()));
        out.faceKeys.push_back(faceKeys[f]);
    }
    I_PVXModel::FreeMemoryPolyList(&faces, &index, &nodeKeys, nullptr);
    return out;
}

bool SameFaces(const PVXFlatFaces& a, const PVXFlatFaces& b) {
    auto samePoint = [](const C3DPoint& p, const C3DPoint& q) { return p.x == q.x && p.y == q.y && p.z == q.z; };
    return a.Faces() == b.Faces() && a.start == b.start && a.flags == b.flags && a.keys == b.keys &&
           a.faceKeys == b.faceKeys && a.corners.size() == b.corners.size() &&
           std::equal(a.corners.begin(), a.corners.end(), b.corners.begin(), samePoint);
}

// The faces a ref reads, copied out in the flat form.
PVXFlatFaces FacesOfRef(const PVXFacesRef& ref) {
    PVXFlatFaces out;
    out.start.push_back(0);
    for (int f = 0; f < ref.Faces(); ++f) {
        for (int at = ref.start[f]; at < ref.start[f + 1]; ++at) {
            out.corners.push_back(ref.corners[at]);
            out.flags.push_back(ref.flags[at]);
            out.keys.push_back(ref.keys[at]);
        }
        out.start.push_back(static_cast<int>(out.corners.size()));
        out.faceKeys.push_back(ref.faceKeys[f]);
    }
    return out;
}

TEST_F(ModelShapeTest, KeptFlatFacesFollowWhatTheyAreMadeOf) {
    // The flat faces of the beam (six faces, sorted by the view), the column and a member's
    // missing element are kept by the model; after each change they must be what the list
    // builder, which keeps nothing, hands out, and where the change has a closed form, that.
    auto highest = [](const PVXFlatFaces& f) {
        double z = -DBL_MAX;
        for (const C3DPoint& p : f.corners) z = std::max(z, p.z);
        return z;
    };
    auto widest = [](const PVXFlatFaces& f) {
        double x = -DBL_MAX;
        for (const C3DPoint& p : f.corners) x = std::max(x, p.x);
        return x;
    };
    struct Row {
        const char* label;
        void (*change)(I_PVXModel&, CDataBase&, CDBDoc&);
        UINT elem;      // the element of the closed form
        double expect;  // its highest z (column, beam) or largest x (sections, shrink)
        bool bHighest;
    } rows[] = {
        {"nothing changed", [](I_PVXModel&, CDataBase&, CDBDoc&) {}, 2, 3.0, true},
        {"column top raised to z 5",
         [](I_PVXModel&, CDataBase& db, CDBDoc&) { db.Table<DBT_PNODE>().Set(4, T_PNODE_D{10, 0, 5}); }, 2, 5.0, true},
        {"column section 1.0 x 1.0: x up to 10.5",
         [](I_PVXModel&, CDataBase& db, CDBDoc&) {
             T_PSECT_D sect = *db.Table<DBT_PSECT>().Find(2);
             sect.dim[0] = sect.dim[1] = 1.0;
             db.Table<DBT_PSECT>().Set(2, sect);
         },
         2, 10.5, false},
        {"beam member offset 2 m up: its top at 2.3",
         [](I_PVXModel&, CDataBase& db, CDBDoc&) {
             T_PMEMB_D memb = *db.Table<DBT_PMEMB>().Find(7);
             memb.offsetZ = 2.0;
             db.Table<DBT_PMEMB>().Set(7, memb);
         },
         1, 2.3, true},
        // Halfway to the beam's centre (3, 0, 0): x up to 4.5.
        {"shrunk by half",
         [](I_PVXModel& m, CDataBase&, CDBDoc&) {
             m.m_pDispOpt->m_bShrink = 1;
             m.m_pDispOpt->m_dShrinkFactor = 0.5;
         },
         1, 4.5, false},
        {"wire frame: the beam's axis alone", [](I_PVXModel& m, CDataBase&, CDBDoc&) { m.m_pDispOpt->m_bWireFrame = 1; }, 1,
         0.0, true},
        {"view turned: the beam's faces in another order",
         [](I_PVXModel& m, CDataBase&, CDBDoc&) { m.m_pPVXCtrl->SetViewAngles(210.0, -40.0); }, 1, 0.3, true},
        {"project replaced by one with the column at x 20, controls reconnected",
         ReplaceProjectWithColumnAt20,
         2, 20.2, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        PostDBBuilder b;
        AddBeamModel(b);
        I_PVXModel& m = MakeModel(b);
        PVXFlatFaces flat;
        std::vector<int> firstOrder;
        for (UINT key : {1u, 2u, 99u}) {
            T_PELEM_D elem;
            elem.Initialize();
            if (key != 99u) {
                ASSERT_TRUE(m.GetAttrCtrl()->GetElem(key, elem));
            }
            T_SHAPE_ARGUMENT arg;
            m.GetShapeElementFlat(key, elem, flat, arg);
            if (key == 1u) firstOrder = flat.flags;
        }
        r.change(m, *m_doc.GetMDBCtrl()->GetDBPost(), m_doc);
        for (int pass = 0; pass < 2; ++pass) {  // made once more, then served
            for (UINT key : {1u, 2u, 99u}) {
                SCOPED_TRACE(key);
                T_PELEM_D elem;
                elem.Initialize();
                if (key != 99u) {
                    ASSERT_TRUE(m.GetAttrCtrl()->GetElem(key, elem));
                }
                T_SHAPE_ARGUMENT arg;
                const int n = m.GetShapeElementFlat(key, elem, flat, arg);
                EXPECT_EQ(n, flat.Faces());
                EXPECT_TRUE(SameFaces(flat, ListFaces(m, key)));
                // Read in place (a single face straight from what the model keeps): the same.
                PVXFlatFaces scratch;
                PVXFacesRef ref;
                EXPECT_EQ(m.GetShapeElementFlat(key, elem, scratch, ref, arg), n);
                EXPECT_TRUE(SameFaces(FacesOfRef(ref), ListFaces(m, key)));
                if (key == 99u) {
                    EXPECT_EQ(n, 0) << "no such element";
                }
                if (key != r.elem) continue;
                EXPECT_NEAR(r.bHighest ? highest(flat) : widest(flat), r.expect, 1e-9);
                if (std::string(r.label).rfind("wire frame", 0) == 0) {
                    EXPECT_EQ(flat.corners.size(), 2u);
                }
                if (std::string(r.label).rfind("view turned", 0) == 0) {
                    EXPECT_NE(flat.flags, firstOrder);
                }
            }
        }
    }
}

TEST_F(ModelShapeTest, KeptFlatFacesOfKeysFarApart) {
    // Plates keyed close to the frames and far beyond them (kept apart from the rest), each asked
    // in turn and again: every hand-out is what the list builder, which keeps nothing, gives.
    PostDBBuilder b;
    AddBeamModel(b);
    const UINT plates[] = {11u, 3000000u, 4000000000u};
    for (UINT key : plates) b.AddElem(key, PELEM_KIND_PLATE, 301, {1, 5, 2});
    I_PVXModel& m = MakeModel(b);
    const UINT order[] = {11u, 3000000u, 4000000000u, 1u, 4000000000u, 11u, 3000000u, 2u};
    for (int pass = 0; pass < 2; ++pass) {
        for (UINT key : order) {
            SCOPED_TRACE(testing::Message() << "pass " << pass << " element " << key);
            T_PELEM_D elem;
            ASSERT_TRUE(m.GetAttrCtrl()->GetElem(key, elem));
            T_SHAPE_ARGUMENT arg;
            PVXFlatFaces flat, scratch;
            PVXFacesRef ref;
            const int n = m.GetShapeElementFlat(key, elem, scratch, ref, arg);
            const PVXFlatFaces expect = ListFaces(m, key);
            EXPECT_GT(n, 0);
            EXPECT_TRUE(SameFaces(FacesOfRef(ref), expect));
            EXPECT_EQ(m.GetShapeElementFlat(key, elem, flat, arg), n);
            EXPECT_TRUE(SameFaces(flat, expect));
            if (key >= 11u) {
                ASSERT_EQ(ref.Faces(), 1) << "a plate is one face";
                EXPECT_EQ(ref.faceKeys[0], key);
                EXPECT_EQ(ref.Count(0), 3);
            }
        }
    }
}

// The extrude factor of a colour scale: the model's largest extent / (13 x the largest value).
// A scale made twice gets the same factor; after the model changes it follows the new extent.
TEST_F(ModelShapeTest, ExtrudeFactorOfAScaleFollowsTheModel) {
    PostDBBuilder b;
    AddBeamModel(b);
    I_PVXModel& m = MakeModel(b);
    CContourEngine::SetModelExtentSource(nullptr);
    CContourEngine e;
    e.MakeRankMap(-2.0, 5.0);
    const double first = e.m_dExtrudeAdjustFactor;
    EXPECT_DOUBLE_EQ(first, 10.2 / (5.0 * 13.0)) << "box x 0..10.2 is the largest extent";
    e.MakeRankMap(-2.0, 5.0);
    EXPECT_EQ(e.m_dExtrudeAdjustFactor, first);
    CContourEngine other;
    other.MakeRankMap(-2.0, 5.0);
    EXPECT_EQ(other.m_dExtrudeAdjustFactor, first);

    // The column moved to x 20: box x 0..20.2.
    CDataBase& db = *m_doc.GetMDBCtrl()->GetDBPost();
    db.Table<DBT_PNODE>().Set(3, T_PNODE_D{20, 0, 0});
    db.Table<DBT_PNODE>().Set(4, T_PNODE_D{20, 0, 3});
    e.MakeRankMap(-2.0, 5.0);
    EXPECT_DOUBLE_EQ(e.m_dExtrudeAdjustFactor, 20.2 / (5.0 * 13.0));
    // The shown set rebuilt: only the beam, largest extent 6.
    CArray<UINT, UINT> nodes, membs, flags;
    membs.Add(7);
    m.PV_OnActiveDeActiveChangeByFlag(nodes, membs, flags, flags);
    e.MakeRankMap(-2.0, 5.0);
    EXPECT_DOUBLE_EQ(e.m_dExtrudeAdjustFactor, 6.0 / (5.0 * 13.0));
}

TEST_F(ModelShapeTest, RangeOfTheSampleProject) {
    const std::string path = std::string(PVX_TEST_TMPDIR) + "/model_shape_sample_" + std::to_string(getpid()) + ".pvxdb";
    const std::string cmd = std::string("'") + PVX_BINARY_DIR + "/bin/pvxhost' make-sample --out '" + path + "' >/dev/null";
    if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "pvxhost could not write the sample project (is it built?)";
    ASSERT_TRUE(m_doc.OpenDocument(path.c_str())) << static_cast<LPCTSTR>(m_doc.GetLastError());
    std::remove(path.c_str());
    I_PVXModel& m = MakeModel();
    ASSERT_GT(m.m_arrActiveMembKey.GetSize(), 100);

    // From the tables: the box of the members' nodes, and how far a section corner reaches.
    CDataBase* db = m_doc.GetMDBCtrl()->GetDBPost();
    C3DPoint nlo(DBL_MAX, DBL_MAX, DBL_MAX), nhi = -nlo;
    for (UINT key : db->Table<DBT_PMEMB>().Keys()) {
        const T_PMEMB_D* memb = db->Table<DBT_PMEMB>().Find(key);
        for (INT_PTR e = 0; e < memb->aElem.GetSize(); ++e) {
            const T_PELEM_D* elem = db->Table<DBT_PELEM>().Find(memb->aElem[e]);
            for (int k = 0; elem && k < elem->nNode; ++k) {
                const T_PNODE_D* n = db->Table<DBT_PNODE>().Find(elem->node[k]);
                nlo.Set(std::min(nlo.x, n->x), std::min(nlo.y, n->y), std::min(nlo.z, n->z));
                nhi.Set(std::max(nhi.x, n->x), std::max(nhi.y, n->y), std::max(nhi.z, n->z));
            }
        }
    }
    double reach = 0;
    for (UINT key : db->Table<DBT_PSECT>().Keys()) {
        const T_PSECT_D* s = db->Table<DBT_PSECT>().Find(key);
        reach = std::max(reach, s->type == 1 ? std::hypot(s->dim[0], s->dim[1]) / 2 : s->type == 3 ? s->dim[0] / 2 : 0.0);
    }
    C3DPoint lo, hi;
    ASSERT_EQ(m.GetRangeModel(&lo, &hi, 0), 1);
    for (int a = 0; a < 3; ++a) {
        SCOPED_TRACE(testing::Message() << "axis " << a);
        EXPECT_LE(lo[a], nlo[a] + 1e-9);
        EXPECT_GE(lo[a], nlo[a] - reach - 1e-9);
        EXPECT_GE(hi[a], nhi[a] - 1e-9);
        EXPECT_LE(hi[a], nhi[a] + reach + 1e-9);
    }
    C3DPoint vlo, vhi;
    ASSERT_EQ(m.RE_GetRangeModel(&vlo, &vhi), 1);
    EXPECT_TRUE(vlo == lo && vhi == hi);
}

// Faces given as corners (indices into pts) taken into flat faces without a control (host order).
void TakeFaces(PVXFlatFaces& flat, const std::vector<C3DPoint>& pts, const std::vector<std::vector<int>>& faces) {
    CArray<double, double> coords;
    for (const C3DPoint& p : pts) coords.Add(p.x), coords.Add(p.y), coords.Add(p.z);
    CArray<int, int> counts, index;
    for (const auto& f : faces) {
        counts.Add(static_cast<int>(f.size()));
        for (int c : f) index.Add(3 * c);
    }
    flat.Take(static_cast<int>(faces.size()), counts, index, coords, nullptr, nullptr);
}

// A grid of rows x cols unit quads all turning one way: neighbours share each edge one way each.
void Grid(int rows, int cols, std::vector<C3DPoint>& pts, std::vector<std::vector<int>>& faces) {
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= cols; ++c) pts.emplace_back(c, r, 0.0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const int a = r * (cols + 1) + c;
            faces.push_back({a, a + 1, a + cols + 2, a + cols + 1});
        }
}

// Edge lines as text, face by face, points named by their index in pts: "a>b" one way, "a=b"
// both ways, sorted within a face.
std::string LinesText(const PVXFlatFaces& flat, const std::vector<C3DPoint>& pts) {
    const PVXFlatFaces::Lines* l = flat.EdgeLines();
    if (!l) return "none";
    auto name = [&](int p) {
        return std::to_string(std::find(pts.begin(), pts.end(), flat.points[static_cast<size_t>(p)]) - pts.begin());
    };
    std::string out;
    for (int f = 0; f < flat.Faces(); ++f) {
        std::vector<std::string> lines;
        for (int i = l->oneWayFirst[f]; i < l->oneWayFirst[f + 1]; ++i)
            lines.push_back(name(l->oneWay[i].from) + ">" + name(l->oneWay[i].to));
        for (int i = l->bothFirst[f]; i < l->bothFirst[f + 1]; ++i) {
            const std::string a = name(l->bothWays[i].from), b = name(l->bothWays[i].to);
            lines.push_back(std::min(a, b) + "=" + std::max(a, b));
        }
        std::sort(lines.begin(), lines.end());
        out += std::to_string(f) + ":";
        for (const std::string& t : lines) out += " " + t;
        out += "\n";
    }
    return out;
}

// The edge lines of flat faces are their edges, each line once (an edge they have both ways as
// one line both ways), with the last face that has it.
TEST(FlatFaceEdgeLines, EachEdgeOnceWithTheLastFaceThatHasIt) {
    std::vector<C3DPoint> grid;
    std::vector<std::vector<int>> quads;
    Grid(1, 2, grid, quads);  // points 0 1 2 / 3 4 5
    const struct {
        const char* label;
        std::vector<std::vector<int>> faces;
        const char* lines;
    } rows[] = {
        {"two quads sharing an edge each way", quads, "0: 0>1 3>0 4>3\n1: 1=4 1>2 2>5 5>4\n"},
        {"the second turned: the edge the same way", {quads[0], {2, 1, 4, 5}}, "0: 0>1 3>0 4>3\n1: 1>4 2>1 4>5 5>2\n"},
        {"a face of two points", {{0, 4}}, "0: 0=4\n"},
        {"a corner twice, the same face twice", {{0, 1, 1}, {0, 1, 1}}, "0:\n1: 0=1 1>1\n"},
        {"a face, another, its reverse", {{0, 1, 4}, {1, 2, 5}, {4, 1, 0}}, "0:\n1: 1>2 2>5 5>1\n2: 0=1 0=4 1=4\n"},
        {"a face of one point", {{3}, {0, 1, 4}}, "0:\n1: 0>1 1>4 4>0\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        PVXFlatFaces flat;
        TakeFaces(flat, grid, row.faces);
        EXPECT_EQ(LinesText(flat, grid), row.lines);
    }
    PVXFlatFaces unindexed;
    unindexed.start = {0, 2};
    unindexed.corners.resize(2);
    EXPECT_EQ(unindexed.EdgeLines(), nullptr) << "faces without their point index";
}

// Kept edge lines follow the faces: faces taken again (fewer, turned, reordered, a point moved,
// others) give the lines fresh faces of the same give.
TEST(FlatFaceEdgeLines, KeptLinesFollowTheFacesTheyAreMadeOf) {
    std::vector<C3DPoint> pts, other;
    std::vector<std::vector<int>> quads, otherQuads;
    Grid(2, 2, pts, quads);
    Grid(1, 3, other, otherQuads);
    auto fewer = quads, turned = quads, reordered = quads;
    fewer.pop_back();
    for (auto& f : turned) std::reverse(f.begin(), f.end());
    std::swap(reordered[0], reordered[3]);
    auto moved = pts;
    moved[4].z = 0.5;
    const struct {
        const char* label;
        std::vector<C3DPoint> pts;
        std::vector<std::vector<int>> faces;
    } rows[] = {{"the same faces", pts, quads},          {"a face fewer", pts, fewer},
                {"faces turned the other way", pts, turned}, {"faces in another order", pts, reordered},
                {"a point moved", moved, quads},         {"other faces", other, otherQuads}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        PVXFlatFaces kept, fresh;
        TakeFaces(kept, pts, quads);
        ASSERT_NE(kept.EdgeLines(), nullptr);
        TakeFaces(kept, row.pts, row.faces);
        TakeFaces(fresh, row.pts, row.faces);
        EXPECT_EQ(LinesText(kept, row.pts), LinesText(fresh, row.pts));
    }
}

}  // namespace
