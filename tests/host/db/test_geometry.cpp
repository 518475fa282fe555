// Local axes, lengths and areas, and the face lists of elements and members.
#include "DbTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace dbtest {

namespace {
void ExpectVec(const double* v, double x, double y, double z) {
    EXPECT_NEAR(v[0], x, 1e-12);
    EXPECT_NEAR(v[1], y, 1e-12);
    EXPECT_NEAR(v[2], z, 1e-12);
}
}  // namespace

TEST(PostDbGeometry, FrameLocalAxes) {
    const double s = std::sqrt(0.5);
    struct Row {
        const char* label;
        double pi[3], pj[3], beta;
        double x[3], y[3], z[3];
    } rows[] = {
        {"beam along X", {0, 0, 0}, {6, 0, 0}, 0, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"beam along Y", {0, 0, 0}, {0, 4, 0}, 0, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}},
        {"beam along -X", {6, 0, 0}, {0, 0, 0}, 0, {-1, 0, 0}, {0, -1, 0}, {0, 0, 1}},
        {"column", {1, 1, 0}, {1, 1, 3}, 0, {0, 0, 1}, {0, 1, 0}, {-1, 0, 0}},
        {"column hanging", {1, 1, 3}, {1, 1, 0}, 0, {0, 0, -1}, {0, 1, 0}, {1, 0, 0}},
        {"beam along X turned 90", {0, 0, 0}, {2, 0, 0}, 90, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
        {"inclined 45 in XZ", {0, 0, 0}, {1, 0, 1}, 0, {s, 0, s}, {0, 1, 0}, {-s, 0, s}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        double ax[3][3];
        ASSERT_TRUE(CMembUtil::CalcFrameLocalVector(r.pi, r.pj, r.beta, ax));
        ExpectVec(ax[0], r.x[0], r.x[1], r.x[2]);
        ExpectVec(ax[1], r.y[0], r.y[1], r.y[2]);
        ExpectVec(ax[2], r.z[0], r.z[1], r.z[2]);
    }
    double ax[3][3] = {{7, 7, 7}, {7, 7, 7}, {7, 7, 7}};
    double p[3] = {1, 2, 3};
    EXPECT_FALSE(CMembUtil::CalcFrameLocalVector(p, p, 0, ax)) << "a member of no length has no axes";
    EXPECT_EQ(ax[1][1], 7);
}

TEST(PostDbGeometry, ElementMeasuresAndPlaneAxes) {
    PostDBBuilder b;
    BuildProject(b);
    b.AddNode(50, 0, 0, 0);
    b.AddNode(51, 3, 0, 0);
    b.AddNode(52, 0, 4, 0);
    b.AddElem(60, PELEM_KIND_PLATE, 301, {50, 51, 52});
    b.AddElem(61, PELEM_KIND_PLATE, 302, {50, 52, 51});   // turned over: normal down
    b.AddElem(62, PELEM_KIND_FRAME, 201, {50, 99});        // node 99 does not exist
    b.AddElem(63, 0, 403, {51, 52});  // a pile element of no kind: a line of 5 m by its type
    CClassPElem el;
    el.ConnectToDB(&b.DB());
    struct Row {
        UINT key;
        double lav;
    } rows[] = {{21, 3.5}, {22, 6.0}, {20, 6.0 * 3.5}, {60, 6.0}, {62, 0.0}, {63, 5.0}, {12345, 0.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        EXPECT_NEAR(el.calcLAVElem(r.key, 0, 0), r.lav, 1e-12);
    }
    double ax[3][3];
    ASSERT_TRUE(el.calcPlaneLocalVector(60, ax));
    ExpectVec(ax[0], 1, 0, 0);
    ExpectVec(ax[1], 0, 1, 0);
    ExpectVec(ax[2], 0, 0, 1);
    ASSERT_TRUE(el.calcPlaneLocalVector(20, ax));  // vertical wall-like plate in XZ
    ExpectVec(ax[0], 1, 0, 0);
    ExpectVec(ax[2], 0, -1, 0);
    ASSERT_TRUE(el.calcSlabObjectLocalVector(61, ax));
    ExpectVec(ax[2], 0, 0, 1);
    ExpectVec(ax[0], 1, 0, 0);
    // beta turns an element's own axes about its normal but leaves the slab's axes alone.
    b.AddElem(63, PELEM_KIND_PLATE, 302, {50, 52, 51}, 0, 0, 90.0);
    ASSERT_TRUE(el.calcPlaneLocalVector(63, ax));  // unturned: x along 50-52, z down
    ExpectVec(ax[0], 1, 0, 0);
    ExpectVec(ax[1], 0, -1, 0);
    ExpectVec(ax[2], 0, 0, -1);
    ASSERT_TRUE(el.calcSlabObjectLocalVector(63, ax));
    ExpectVec(ax[0], 1, 0, 0);
    ExpectVec(ax[1], 0, 1, 0);
    ExpectVec(ax[2], 0, 0, 1);
    EXPECT_FALSE(el.calcSlabObjectLocalVector(62, ax)) << "a missing node gives no axes";
    EXPECT_FALSE(el.calcPlaneLocalVector(22, ax)) << "a line element has no plane";

    EXPECT_TRUE(CClassPElem::IsPlate(301));
    EXPECT_FALSE(CClassPElem::IsPlate(204));
    T_PELEM_D se;
    se.Initialize();
    se.kind = PELEM_KIND_SUPER;
    se.nSEResult = 2;
    b.AddElem(70, se);
    EXPECT_TRUE(el.IsSuperElem(70u));
    EXPECT_FALSE(el.IsSuperElem(22u));
    EXPECT_TRUE(el.IsSuperElemNodeResult(70));
    EXPECT_FALSE(CClassPElem::IsSuperElemElemResult(se));
}

TEST(PostDbGeometry, ElementAndMemberFaces) {
    PostDBBuilder b;
    BuildProject(b);
    CDataBase* db = &b.DB();
    CGeomCtrl g;
    CArray<int, int> counts, index, index2;
    CArray<double, double> coords;
    CArray<UINT, UINT> keys;
    int nFaces = -1;

    struct Row {
        const char* label;
        UINT key;
        int wire;
        int faces;
        int vertices;
    } rows[] = {
        {"plate", 20, 0, 1, 4},
        {"column with a 0.4 x 0.6 section", 21, 0, 6, 8},
        {"column as wire frame", 21, 1, 1, 2},
        {"unknown element", 999, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        int ok = g.MakeShapeElement(db, r.key, 0, 0, 0, nFaces, &counts, &index, &index2, &coords, 0, 1.0, nullptr,
                                    &keys, r.wire, nullptr, 0);
        EXPECT_EQ(ok != 0, r.faces > 0);
        EXPECT_EQ(nFaces, r.faces);
        EXPECT_EQ(counts.GetSize(), r.faces);
        EXPECT_EQ(coords.GetSize(), 3 * r.vertices);
        EXPECT_EQ(keys.GetSize(), r.vertices);
        int total = 0;
        for (INT_PTR i = 0; i < counts.GetSize(); ++i) total += counts[i];
        EXPECT_EQ(index.GetSize(), total);
        EXPECT_EQ(index2.GetSize(), total);
        for (INT_PTR i = 0; i < index.GetSize(); ++i) {
            EXPECT_EQ(index[i] % 3, 0);
            EXPECT_LT(index[i], coords.GetSize());
        }
    }

    // The column prism: corners lie (0.2, 0.3) off the axis (turned by 30 degrees) at both
    // ends, keyed by end node.
    g.MakeShapeElement(db, 21, 0, 0, 0, nFaces, &counts, &index, &index2, &coords, 0, 1.0, nullptr, &keys, 0, nullptr, 0);
    // Every side face joins the bottom end (node 10) to the top end (node 5).
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(counts[f], 4);
        EXPECT_EQ(keys[index[4 * f] / 3], 10u);
        EXPECT_EQ(keys[index[4 * f + 2] / 3], 5u);
    }
    for (INT_PTR v = 0; v < keys.GetSize(); ++v) {
        double z = coords[3 * v + 2];
        EXPECT_TRUE((keys[v] == 10u && z == 0.0) || (keys[v] == 5u && std::fabs(z - 3.5) < 1e-12));
        EXPECT_NEAR(std::hypot(coords[3 * v], coords[3 * v + 1]), std::sqrt(0.13), 1e-12);
    }

    // Shrink by half toward the plate centre (3, 0, 1.75); the member offset then moves it down.
    g.MakeShapeElement(db, 20, 0, 0, 0, nFaces, &counts, &index, nullptr, &coords, 1, 0.5, nullptr, &keys, 0, nullptr, 0);
    ASSERT_EQ(coords.GetSize(), 12);
    EXPECT_DOUBLE_EQ(coords[0], 1.5);
    EXPECT_DOUBLE_EQ(coords[2], 0.875);
    T_PMEMB_D m;
    CClassPMemb mt;
    mt.ConnectToDB(db);
    ASSERT_TRUE(mt.Get(3, m));
    g.makeAddZOffset(db, m, &coords);
    EXPECT_DOUBLE_EQ(coords[2], 0.625);

    // Shrink factors below 0.01 act as 0.01; 1 or more leaves the shape.
    g.MakeShapeElement(db, 20, 0, 0, 0, nFaces, &counts, &index, nullptr, &coords, 1, 0.0, nullptr, &keys, 0, nullptr, 0);
    EXPECT_NEAR(coords[0], 0.01 * 0 + 0.99 * 3, 1e-12);
    g.MakeShapeElement(db, 20, 0, 0, 0, nFaces, &counts, &index, nullptr, &coords, 1, 2.0, nullptr, &keys, 0, nullptr, 0);
    EXPECT_DOUBLE_EQ(coords[0], 0);

    // A member's faces are its elements' faces, indexes rebased.
    ASSERT_TRUE(g.MakeShapePMember(db, 2, 0, 0, 0, nFaces, &counts, &index, &index2, &coords, 0, 1.0, nullptr, &keys, 0, nullptr, 0));
    EXPECT_EQ(nFaces, 6);
    EXPECT_FALSE(g.MakeShapePMember(db, 77, 0, 0, 0, nFaces, &counts, &index, &index2, &coords, 0, 1.0, nullptr, &keys, 0, nullptr, 0));
    EXPECT_EQ(nFaces, 0);
    // Shrunk, each element of the member shrinks about its own centre.
    {
        ASSERT_TRUE(b.AddMemb(9, 101, {10, 5, 7}, {21, 22}));
        const T_PMEMB_D* memb = db->Table<DBT_PMEMB>().Find(9);
        ASSERT_NE(memb, nullptr);
        std::vector<double> expected;
        for (INT_PTR i = 0; i < memb->aElem.GetSize(); ++i) {
            CArray<double, double> one;
            int nOne = 0;
            ASSERT_TRUE(g.MakeShapeElement(db, memb->aElem[i], 0, 0, 0, nOne, nullptr, nullptr, nullptr, &one, 1, 0.5,
                                           nullptr, nullptr, 0, nullptr, 0));
            expected.insert(expected.end(), one.GetData(), one.GetData() + one.GetSize());
        }
        CArray<double, double> whole, plain;
        ASSERT_TRUE(g.MakeShapePMember(db, 9, 0, 0, 0, nFaces, nullptr, nullptr, nullptr, &whole, 1, 0.5, nullptr,
                                       nullptr, 0, nullptr, 0));
        ASSERT_TRUE(g.MakeShapePMember(db, 9, 0, 0, 0, nFaces, nullptr, nullptr, nullptr, &plain, 0, 0.5, nullptr,
                                       nullptr, 0, nullptr, 0));
        ASSERT_EQ(static_cast<size_t>(whole.GetSize()), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) EXPECT_DOUBLE_EQ(whole[static_cast<INT_PTR>(i)], expected[i]) << i;
        bool moved = false;
        for (INT_PTR i = 0; i < whole.GetSize(); ++i) moved |= whole[i] != plain[i];
        EXPECT_TRUE(moved) << "shrinking changes the shape";
    }

    // Displaced nodes move the face.
    CArray<T_DISP_D> disp;
    for (int i = 0; i < 4; ++i) disp.Add(Disp(0, 0, 1, 0, 0, 0));
    g.MakeShapeElement(db, 20, 0, 0, 1, nFaces, &counts, &index, nullptr, &coords, 0, 1.0, nullptr, &keys, 0, &disp, 0);
    EXPECT_DOUBLE_EQ(coords[2], 1.0);

    // Section outline at the top of the column.
    int n = 0;
    CArray<int, int> kinds, vidx;
    ASSERT_TRUE(g.makeSectShape(5, db, n, kinds, vidx, coords, nullptr, 0.5));
    EXPECT_EQ(n, 4);
    EXPECT_EQ(kinds[0], 2);
    EXPECT_DOUBLE_EQ(coords[2], 3.5);
    EXPECT_FALSE(g.makeSectShape(3, db, n, kinds, vidx, coords, nullptr, 0.5)) << "no line element ends at node 3";
    EXPECT_EQ(n, 0);
}

TEST(PostDbGeometry, VisibleFacesAndShrink) {
    CGeomCtrl g;
    const double ccw[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const double cw[4][3] = {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}};
    const double line[2][3] = {{0, 0, 0}, {1, 1, 0}};
    EXPECT_TRUE(g.IsVisibleFace(4, ccw));
    EXPECT_FALSE(g.IsVisibleFace(4, cw));
    EXPECT_TRUE(g.IsVisibleFace(2, line));
    double pts[2][3] = {{0, 0, 0}, {2, 0, 0}};
    g.MakeShrink(0.5, 2, pts, 0);
    EXPECT_DOUBLE_EQ(pts[0][0], 0.5);
    EXPECT_DOUBLE_EQ(pts[1][0], 1.5);
}

TEST(PostDbGeometry, SuperElementShapes) {
    PostDBBuilder b;
    BuildProject(b);
    CDataBase* db = &b.DB();
    CGeomCtrl g;
    ASSERT_TRUE(g.SetSuperElementShapeDirect(db, 20, 0, 0, 0.0));
    CArray<UINT, UINT> nodes;
    ASSERT_TRUE(g.GetSuperElementWireFramePNodeList(nodes));
    ASSERT_EQ(nodes.GetSize(), 2);
    EXPECT_EQ(nodes[0], 5u);
    EXPECT_EQ(nodes[1], 10u);
    int nFaces = 0;
    CArray<int, int> counts, index;
    CArray<double, double> coords;
    CArray<UINT, UINT> keys;
    // Model elements 21 (column, one edge) then 20 (plate, four edges).
    ASSERT_TRUE(g.GetSuperElementWireFrameShape(nFaces, &counts, &index, nullptr, &coords, nullptr, nullptr, &keys, 0));
    EXPECT_EQ(nFaces, 5);
    EXPECT_EQ(keys[0], 10u);
    ASSERT_TRUE(g.GetSuperElementShape(20, nFaces, &counts, &index, nullptr, &coords, nullptr, &keys, 0));
    EXPECT_EQ(nFaces, 1);
    EXPECT_FALSE(g.SetSuperElementShapeDirect(db, 22, 0, 0, 0.0)) << "element 22 has no super-element map";
}

}  // namespace dbtest
