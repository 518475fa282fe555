// Render-engine queries of the result model: node and label positions on the undeformed and the
// deformed shape, selection shapes, node coordinates for the control's labels, displacements,
// the load combination, the element centre and super-element data.
#include <gtest/gtest.h>

#include <cmath>

#include "module/model/CPVXSElemCtrl.h"
#include "tests/module/events/EventsTestSupport.h"

namespace evtest {

namespace {

class QueryTest : public EventsFixture {
protected:
    void SetUp() override {
        EventsFixture::SetUp();
        M().PV_OnModeChange();
        T_PVX_DOPT_D& o = *M().m_pDispOpt;
        o.m_bShrink = 0;
        o.m_dShrinkFactor = 1.0;
        o.m_bWireFrame = 0;
        o.m_bLineCulling = o.m_bPlaneCulling = 0;
    }
    std::vector<double> Poses(int which, int type, UINT key) {
        CArray<double, double> out;
        if (which == 0) M().RE_GetElemNodePoses(type, key, out);
        if (which == 1) M().RE_GetMembNodePosesFrame(type, key, out);
        if (which == 2) M().RE_GetMembNodePosesFrame_Deform(key, out);
        return std::vector<double>(out.GetData(), out.GetData() + out.GetSize());
    }
};

void ExpectPoint(const C3DPoint& p, double x, double y, double z) {
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
    EXPECT_NEAR(p.z, z, 1e-9);
}

void ExpectDoubles(const std::vector<double>& got, const std::vector<double>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-9) << "value " << i;
}

std::vector<C3DPoint> Vertices(const PVXPolyListArray& faces) {
    std::vector<C3DPoint> v;
    for (INT_PTR i = 0; i < faces.GetSize(); ++i)
        for (POSITION pos = faces[i]->GetHeadPosition(); pos;) v.push_back(faces[i]->GetNext(pos));
    return v;
}

}  // namespace

TEST_F(QueryTest, NodePositionsOnTheDeformedShape) {
    SelectCase();
    // Node 2 at (4, 0, 0) moves by (1, 2, 3) x scale 2 in the displayed components.
    struct Row {
        int comp;
        double x, y, z;
    } rows[] = {{0, 6, 0, 0}, {1, 4, 4, 0}, {2, 4, 0, 6}, {3, 6, 4, 6}, {4, 4, 0, 0},
                {5, 4, 0, 0}, {6, 4, 0, 0}, {7, 6, 4, 0}, {8, 4, 4, 6}, {9, 6, 0, 6}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.comp);
        AddDeformEngine(r.comp);
        C3DPoint p;
        ASSERT_EQ(M().RE_GetPVXNodePos(NodeMin() + 1, 2, &p), 1);
        ExpectPoint(p, r.x, r.y, r.z);
        ASSERT_EQ(M().RE_GetPVXNodePos(NodeMin(), 2, &p), 1);
        ExpectPoint(p, 4, 0, 0);
    }
    // An engine without data answers with the undeformed node.
    M().m_pDeformEngine->m_bDataReady = 0;
    C3DPoint p;
    M().RE_GetPVXNodePos(NodeMin() + 1, 2, &p);
    ExpectPoint(p, 4, 0, 0);
    // A missing node gives no answer and leaves the point alone.
    C3DPoint q(7, 7, 7);
    EXPECT_EQ(M().RE_GetPVXNodePos(NodeMin(), 99, &q), 0);
    ExpectPoint(q, 7, 7, 7);
}

TEST_F(QueryTest, LabelPositionsByTypeAndKey) {
    C3DPoint p(7, 7, 7);
    EXPECT_EQ(M().RE_GetLabelPosNode(NodeMin() + 2, 2, &p), 0);
    ExpectPoint(p, 7, 7, 7);
    EXPECT_EQ(M().RE_GetLabelPosNode(NodeMin() - 1, 2, &p), 0);
    EXPECT_EQ(M().RE_GetLabelPosNode(NodeMin(), 2, &p), 1);
    ExpectPoint(p, 4, 0, 0);
    EXPECT_EQ(M().RE_GetLabelPosNodeByKey(3, &p), 1);
    ExpectPoint(p, 8, 0, 0);

    // Without shrinking one point: the mean of the member's nodes.
    CArray<C3DPoint> pts;
    EXPECT_EQ(M().RE_GetLabelPosElem(ObjMin(), kBeam, &pts), 1);
    ASSERT_EQ(pts.GetSize(), 1);
    ExpectPoint(pts[0], 4, 0, 0);
    EXPECT_EQ(M().RE_GetLabelPosElem(ObjMin() + 2, kBeam, &pts), 0);
    EXPECT_EQ(M().RE_GetLabelPosElem(ObjMin(), 99, &pts), 0);
    EXPECT_EQ(pts.GetSize(), 1);

    // Shrinking: a two-node member gives both ends pulled toward its centre, in the order of
    // the node-key map (hash size 10: keys 3 and 5 share a bucket, the later one first).
    M().m_pDispOpt->m_bShrink = 1;
    M().m_pDispOpt->m_dShrinkFactor = 0.5;
    pts.RemoveAll();
    EXPECT_EQ(M().RE_GetLabelPosElemByKey(kShortBeam, &pts), 1);
    ASSERT_EQ(pts.GetSize(), 2);
    ExpectPoint(pts[0], 8, 3, 0);
    ExpectPoint(pts[1], 8, 1, 0);

    // Element centre: the mean of the label points; nothing for a missing member.
    C3DPoint c(7, 7, 7);
    EXPECT_EQ(M().RE_GetElemCenter(ObjMin(), kShortBeam, &c), 1);
    ExpectPoint(c, 8, 2, 0);
    EXPECT_EQ(M().RE_GetElemCenter(ObjMin(), 99, &c), 0);
}

TEST_F(QueryTest, ShrunkLabelPointsOfAMemberWithoutNodesFail) {
    PostDBBuilder b;
    BuildDatabase(b);
    T_PMEMB_D bare;
    bare.type = 201;
    bare.aElem.Add(1);
    b.AddMemb(11, bare);
    b.Install(m_doc);
    M().GetAttrCtrl()->ConnectToPostDB();
    M().m_pDispOpt->m_bShrink = 1;
    M().m_pDispOpt->m_dShrinkFactor = 0.5;
    CArray<C3DPoint> pts;
    EXPECT_EQ(M().RE_GetLabelPosMemb(ObjMin(), 11, &pts), 0);
    EXPECT_EQ(pts.GetSize(), 0);
    C3DPoint c;
    EXPECT_EQ(M().RE_GetElemCenter(ObjMin(), 11, &c), 0);
}

TEST_F(QueryTest, SelectionShapesScaleTowardTheCentroid) {
    T_PVX_DOPT_D& o = *M().m_pDispOpt;
    o.m_bShrink = 1;
    o.m_dShrinkFactor = 0.6;
    PVXPolyListArray ref;
    PVXIndexArrayList refFlags;
    ASSERT_EQ(M().RE_GetPVXShapeElementForSelUnsel(ObjMin(), kShortBeam, &ref, &refFlags, 0, 1, 0, 0.6), 1);
    const std::vector<C3DPoint> base = Vertices(ref);
    ASSERT_FALSE(base.empty());
    C3DPoint c(0, 0, 0);
    for (const C3DPoint& p : base) c = C3DPoint(c.x + p.x, c.y + p.y, c.z + p.z);
    c = C3DPoint(c.x / base.size(), c.y / base.size(), c.z / base.size());

    struct Row {
        double d, f;
    } rows[] = {{0.6, 1.0}, {0.0, 0.4}, {1.0, 0.6}, {2.0, 0.01}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.d);
        PVXPolyListArray faces;
        PVXIndexArrayList flags;
        ASSERT_EQ(M().RE_GetPVXShapeElementForSelUnsel(ObjMin(), kShortBeam, &faces, &flags, 0, 1, 0, r.d), 1);
        const std::vector<C3DPoint> v = Vertices(faces);
        ASSERT_EQ(v.size(), base.size());
        for (size_t i = 0; i < v.size(); ++i)
            ExpectPoint(v[i], r.f * base[i].x + (1 - r.f) * c.x, r.f * base[i].y + (1 - r.f) * c.y,
                        r.f * base[i].z + (1 - r.f) * c.z);
        I_PVXModel::FreeMemoryPolyList(&faces, &flags, nullptr, nullptr);
        // The display options are back as they were.
        EXPECT_EQ(o.m_bShrink, 1);
        EXPECT_DOUBLE_EQ(o.m_dShrinkFactor, 0.6);
        EXPECT_EQ(o.m_bWireFrame, 0);
        EXPECT_EQ(o.m_bLineCulling, 0);
    }
    I_PVXModel::FreeMemoryPolyList(&ref, &refFlags, nullptr, nullptr);

    // Scaling by factors above 1 changes nothing.
    PVXPolyListArray one;
    one.Add(new PVXPolyList);
    one[0]->AddTail(C3DPoint(0, 0, 0));
    one[0]->AddTail(C3DPoint(2, 0, 0));
    M().GetPVXShapeMemberElementForSelUnsel(one, 1.5);
    ExpectPoint(one[0]->GetTail(), 2, 0, 0);
    M().GetPVXShapeMemberElementForSelUnsel(one, 0.5);
    ExpectPoint(one[0]->GetTail(), 1.5, 0, 0);
    I_PVXModel::FreeMemoryPolyList(&one, nullptr, nullptr, nullptr);

    // Without a deformation engine the deformed type is answered with the undeformed shape.
    PVXPolyListArray und, def;
    PVXIndexArrayList undFlags, defFlags;
    o.m_bShrink = 0;
    ASSERT_EQ(M().RE_GetPVXShapeElement(ObjMin(), kBeam, &und, &undFlags), 1);
    ASSERT_EQ(M().RE_GetPVXShapeElement(ObjMin() + 1, kBeam, &def, &defFlags), 1);
    const std::vector<C3DPoint> vu = Vertices(und), vd = Vertices(def);
    ASSERT_EQ(vu.size(), vd.size());
    ASSERT_FALSE(vu.empty());
    for (size_t i = 0; i < vu.size(); ++i) ExpectPoint(vd[i], vu[i].x, vu[i].y, vu[i].z);
    I_PVXModel::FreeMemoryPolyList(&und, &undFlags, nullptr, nullptr);
    I_PVXModel::FreeMemoryPolyList(&def, &defFlags, nullptr, nullptr);

    // Unknown types and members give nothing; the frame points are the first face's vertices.
    PVXPolyListArray none;
    EXPECT_EQ(M().RE_GetPVXShapeElement(ObjMin() + 5, kBeam, &none, nullptr), 0);
    EXPECT_EQ(M().RE_GetPVXShapeElement(ObjMin(), 99, &none, nullptr), 0);
    EXPECT_EQ(none.GetSize(), 0);
    CArray<C3DPoint> frame;
    EXPECT_EQ(M().RE_GetPVXShapeFrameElement(ObjMin(), kShortBeam, &frame), 1);
    EXPECT_GT(frame.GetSize(), 0);
    EXPECT_EQ(o.m_bWireFrame, 0) << "the frame build restores the wire-frame switch";
}

TEST_F(QueryTest, SelectionShapesOfDiagramDisplaysAreWireFrame) {
    // The database again with a rectangular section on the beam, so that its solid shape is a box
    // and its wire frame a line.
    PostDBBuilder b;
    BuildDatabase(b);
    T_PSECT_D sect;
    sect.Initialize();
    sect.type = 1;
    sect.dim[0] = 0.3;
    sect.dim[1] = 0.6;
    b.AddSect(1, sect);
    b.AddElem(1, PELEM_KIND_FRAME, 201, {1, 2}, 0, 1);
    b.AddElem(2, PELEM_KIND_FRAME, 201, {2, 3}, 0, 1);
    b.Install(m_doc);
    M().PV_OnModeChange();
    T_PVX_DOPT_D& o = *M().m_pDispOpt;
    o.m_bShrink = 0;
    o.m_bWireFrame = 0;
    o.m_bLineCulling = o.m_bPlaneCulling = 0;
    auto shape = [&](int mode, int wire) {
        M().m_nDisplayMode = mode;
        PVXPolyListArray faces;
        PVXIndexArrayList flags;
        EXPECT_EQ(M().RE_GetPVXShapeElementForSelUnsel(ObjMin(), kBeam, &faces, &flags, wire, 0, 0, 1.0), 1);
        const size_t n = Vertices(faces).size();
        const INT_PTR nFaces = faces.GetSize();
        I_PVXModel::FreeMemoryPolyList(&faces, &flags, nullptr, nullptr);
        return std::make_pair(nFaces, n);
    };
    const auto wire = shape(40, 1), solid = shape(40, 0);
    ASSERT_NE(wire, solid) << "a solid beam shape differs from its wire frame";
    struct Row {
        int mode;
        bool wireFrame;
    } rows[] = {{7, true}, {9, true}, {21, true}, {22, true}, {6, false}, {2, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mode);
        EXPECT_EQ(shape(r.mode, 0), r.wireFrame ? wire : solid);
        EXPECT_EQ(o.m_bWireFrame, 0) << "the wire-frame switch is put back";
    }
}

TEST_F(QueryTest, NodeCoordinatesForTheControlsLabels) {
    ExpectDoubles(Poses(0, ObjMin(), 2), {4, 0, 0, 8, 0, 0});
    EXPECT_TRUE(Poses(0, ObjMin(), 99).empty());
    ExpectDoubles(Poses(1, ObjMin(), kBeam), {0, 0, 0, 4, 0, 0, 8, 0, 0});
    // Along the deformed member (no engine: its undeformed line) at 1/8, 1/2 and 7/8 of 8 m.
    ExpectDoubles(Poses(2, 0, kBeam), {1, 0, 0, 4, 0, 0, 7, 0, 0});
    EXPECT_TRUE(Poses(2, 0, kShortBeam).empty()) << "a member of one element";
    EXPECT_TRUE(Poses(2, 0, 99).empty());

    // Shrinking: columns by the factor, other members by 0.9995 of it.
    M().m_pDispOpt->m_bShrink = 1;
    M().m_pDispOpt->m_dShrinkFactor = 0.5;
    ExpectDoubles(Poses(1, ObjMin(), kColumn), {0, 0, 0.75, 0, 0, 2.25});
    const double f = 0.5 * 0.9995;
    ExpectDoubles(Poses(1, ObjMin(), kBeam), {(1 - f) * 4, 0, 0, 4, 0, 0, 8 * f + (1 - f) * 4, 0, 0});
}

TEST_F(QueryTest, DeformedLabelPointsFollowTheSegmentsWalked) {
    // A plane element with beam forces (type 204) spans from its fourth to its third node; the
    // total length is taken along the same segments, so all three points are found.
    PostDBBuilder b;
    BuildDatabase(b);
    b.AddNode(20, 10, 0, 11);
    b.AddNode(21, 5, 0, 11);   // first to second node: 5 m, not the 10 m walked
    b.AddNode(22, 0, 0, 10);
    b.AddNode(23, 10, 0, 10);
    b.AddNode(24, 14, 0, 10);
    b.AddElem(20, PELEM_KIND_FRAME, 204, {20, 21, 22, 23});
    b.AddElem(21, PELEM_KIND_FRAME, 201, {23, 24});
    b.AddMemb(30, 201, {20, 23, 24}, {20, 21});
    b.AddElem(22, PELEM_KIND_FRAME, 204, {20, 21});
    b.AddMemb(31, 201, {20, 21, 24}, {22, 21});
    b.Install(m_doc);
    M().GetAttrCtrl()->ConnectToPostDB();
    // Segments: (10,0,10) to (0,0,10) of length 10, then (10,0,10) to (14,0,10): L = 14.
    ExpectDoubles(Poses(2, 0, 30), {10 - 1.75, 0, 10, 10 - 7, 0, 10, 10 + (12.25 - 10), 0, 10});
    EXPECT_TRUE(Poses(2, 0, 31).empty()) << "a 204 element with fewer than four nodes";
}

TEST_F(QueryTest, DisplacementsAndLoadCombination) {
    SelectCase();
    CArray<T_DISP_D> out;
    ASSERT_EQ(M().RE_GetElemDispData(kBeam, &out), 1);
    ASSERT_EQ(out.GetSize(), 3) << "node 2 of both elements once";
    for (INT_PTR i = 0; i < out.GetSize(); ++i) {
        EXPECT_EQ(out[i].DX, 0.0);
        EXPECT_EQ(out[i].RZ, 0.0);
    }
    AddDeformEngine(3);
    out.RemoveAll();
    M().RE_GetMembDispData(kBeam, &out);
    ASSERT_EQ(out.GetSize(), 3);
    double sumDX = 0, sumRZ = 0;
    for (INT_PTR i = 0; i < out.GetSize(); ++i) {
        sumDX += out[i].DX;
        sumRZ += out[i].RZ;
    }
    EXPECT_DOUBLE_EQ(sumDX, 2 * (1.0 + 0.5));  // nodes 2 and 3, scale 2
    EXPECT_DOUBLE_EQ(sumRZ, 2 * 0.3);
    EXPECT_EQ(M().RE_GetMembDispData(99, &out), 0);

    // The node's drawn displacement only while the display is on the deformed shape.
    T_DISP_D d{9, 9, 9, 9, 9, 9};
    EXPECT_EQ(M().RE_GetNodeDispData(2, &d), 0);
    EXPECT_EQ(d.DX, 0.0);
    EXPECT_EQ(d.RX, 0.0);
    M().m_nDisplayMode = 1;
    M().m_pDeformEngine->m_bDeformed = 1;
    M().m_pDeformEngine->m_nComponent = 7;
    EXPECT_EQ(M().RE_GetNodeDispData(2, &d), 1);
    EXPECT_DOUBLE_EQ(d.DX, 2.0);
    EXPECT_DOUBLE_EQ(d.DY, 4.0);
    EXPECT_EQ(d.DZ, 0.0);
    EXPECT_EQ(d.RX, 0.0);

    T_PLCOM_D lc;
    lc.Initialize();
    EXPECT_EQ(M().RE_GetLoadCombination(&lc), TRUE);
    M().m_nBarDisplayMode = 4;  // mode shapes: shown by the bar page 7203
    EXPECT_EQ(M().RE_GetLoadCombination(&lc), 0);
    M().m_nBarDisplayMode = 2;
    M().m_nLoadKey = 999;
    EXPECT_EQ(M().RE_GetLoadCombination(&lc), 0);
    EXPECT_EQ(M().RE_GetLoadCombination(nullptr), 0);
    EXPECT_EQ(M().RE_GetPlateNomalSumData(0, M().m_arrAllMembKey, nullptr, nullptr), 0);
    EXPECT_EQ(M().RE_GetNormalSumTol(), 0.0);
}

TEST_F(QueryTest, SuperElementQueriesOfAPlainElement) {
    CSuperElemInfoMap info;
    EXPECT_EQ(M().RE_GetSuperElemInfo(1, &info, nullptr), 1);
    EXPECT_EQ(M().RE_GetSuperElemInfo(1, nullptr, nullptr), 0);
    CSuperElemInfoMap nodes;
    EXPECT_EQ(M().RE_GetSuperNodeInfo(1, &nodes, nullptr), 1);
    // Element 1 has nodes 1 and 2.
    EXPECT_EQ(nodes.GetCount(), 2);
    CSuperElemInfo rec;
    ASSERT_TRUE(nodes.Lookup(2, rec));
    ASSERT_EQ(rec.m_arrPos.GetSize(), 1);
    ExpectPoint(rec.m_arrPos[0], 4, 0, 0);
    CSuperElemInfoMap other;
    EXPECT_EQ(M().RE_GetSuperNodeInfo(1, &other, m_doc.GetMDBCtrl()->GetDBPost()), 1);
    EXPECT_EQ(other.GetCount(), 2);
}

}  // namespace evtest
