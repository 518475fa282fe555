// Deformed geometry: displaced points, drawing records, deformed faces, the exact beam curve of
// the cantilever and the animation frame, on the project of DeformTestSupport.h.
#include "tests/module/deform/DeformTestSupport.h"

namespace deformtest {

namespace {

class DeformGeometryTest : public DeformFixture {
protected:
    // Scale of the DZ build: the governing value -tip drawn at L / 20 = 0.3 m.
    static double DZScale() { return 6.0 / (20.0 * kTipMM); }
};

void ExpectPoint(const C3DPoint& got, const C3DPoint& want, double tol, const char* what) {
    EXPECT_NEAR(got.x, want.x, tol) << what << " x";
    EXPECT_NEAR(got.y, want.y, tol) << what << " y";
    EXPECT_NEAR(got.z, want.z, tol) << what << " z";
}

TEST_F(DeformGeometryTest, DeformedPositionIsPositionPlusScaleTimesDisplacement) {
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_DZ), 1);
    const double s = E().GetScale();
    ASSERT_NEAR(s, DZScale(), 1e-15);
    // Node 3 at (0, 2, 0) with (1, 2, -3): each selector moves the components it shows.
    const struct {
        const char* label;
        int sel;
        C3DPoint want;
    } rows[] = {
        {"DX", CDeformEngine::COMP_DX, C3DPoint(s * 1, 2, 0)},
        {"DZ", CDeformEngine::COMP_DZ, C3DPoint(0, 2, s * -3)},
        {"total", CDeformEngine::COMP_TOTAL, C3DPoint(s * 1, 2 + s * 2, s * -3)},
        {"XY", CDeformEngine::COMP_DXY, C3DPoint(s * 1, 2 + s * 2, 0)},
        {"YZ", CDeformEngine::COMP_DYZ, C3DPoint(0, 2 + s * 2, s * -3)},
        {"XZ", CDeformEngine::COMP_DXZ, C3DPoint(s * 1, 2, s * -3)},
        {"RY leaves the point", CDeformEngine::COMP_RY, C3DPoint(0, 2, 0)},
        {"unknown selector leaves the point", 12, C3DPoint(0, 2, 0)},
    };
    for (const auto& r : rows) {
        E().m_nComponent = r.sel;
        ExpectPoint(E().GetDisplacedPoint(3, NodePoint(3)), r.want, 1e-12, r.label);
        double xyz[3];
        E().GetDisplacedPoint(3, xyz);
        ExpectPoint(C3DPoint(xyz[0], xyz[1], xyz[2]), r.want, 1e-12, r.label);
    }
    // The model's deformed node positions (what the graphics control is told) are the same.
    E().m_nComponent = CDeformEngine::COMP_TOTAL;
    C3DPoint p;
    ASSERT_EQ(M().RE_GetPVXNodePos(M().m_nNodeIDFirst + 1, 5, &p), 1);
    ExpectPoint(p, C3DPoint(6, 5, s * -8), 1e-12, "node 5 deformed");
    ASSERT_EQ(M().RE_GetPVXNodePos(M().m_nNodeIDFirst, 5, &p), 1);
    ExpectPoint(p, C3DPoint(6, 5, 0), 0.0, "node 5 undeformed");
}

TEST_F(DeformGeometryTest, DrawingRecordsScaleTheShownComponents) {
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_DZ), 1);
    const double s = E().GetScale();
    // Node 5: (0, 0, -8, 0.001, 0, 0).
    const struct {
        int sel;
        double want[6];
    } rows[] = {
        {CDeformEngine::COMP_TOTAL, {0, 0, -8 * s, 0.001 * s, 0, 0}},  // all six scaled
        {CDeformEngine::COMP_DZ, {0, 0, -8 * s, 0, 0, 0}},
        {CDeformEngine::COMP_RX, {0, 0, 0, 0.001 * s, 0, 0}},            // only RX kept, scaled
        {CDeformEngine::COMP_DXY, {0, 0, 0, 0, 0, 0}},                   // DZ and RX zeroed
        {11, {0, 0, -8, 0.001, 0, 0}},                                   // unchanged
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.sel);
        E().m_nComponent = r.sel;
        T_DISP_D d;
        EXPECT_EQ(E().MakeDispD4Drawing(5, d), 1);
        const double got[6] = {d.DX, d.DY, d.DZ, d.RX, d.RY, d.RZ};
        for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], r.want[i], 1e-15) << "component " << i;
    }
}

TEST_F(DeformGeometryTest, DeformedPlateFacesAndBoxes) {
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_TOTAL), 1);
    const double s = E().GetScale();  // governing value: the tip's total displacement
    ASSERT_NEAR(s, 6.0 / (20.0 * kTipMM), 1e-15);
    PVXPolyListArray faces;
    PVXKeyArrayList keys;
    T_SHAPE_ARGUMENT arg;
    arg.pFaceNodeKeys = &keys;
    E().GetDeformedShapeMember(kPlate, faces, nullptr, arg, 0, 0);
    ASSERT_EQ(faces.GetSize(), 1);
    ASSERT_EQ(keys[0]->GetSize(), 4);
    int i = 0;
    for (POSITION pos = faces[0]->GetHeadPosition(); pos; ++i) {
        const UINT key = keys[0]->GetAt(i);
        const T_DISP_D& d = DLRecords()[key];
        const C3DPoint n = NodePoint(key);
        ExpectPoint(faces[0]->GetNext(pos), C3DPoint(n.x + s * d.DX, n.y + s * d.DY, n.z + s * d.DZ), 1e-12,
                    "plate corner");
    }
    I_PVXModel::FreeMemoryPolyList(&faces, nullptr, &keys, nullptr);

    // The deformed box of the plate member: x from 0 + 4s (node 6) ... 6; z from -8s to 2s.
    C3DPoint lo, hi;
    E().GetRangeElement(kPlate, &lo, &hi);
    EXPECT_NEAR(lo.x, std::min(0.0 + s * 1, 0.0 + s * 4), 1e-12);
    EXPECT_NEAR(hi.z, 2 * s, 1e-12);
    EXPECT_NEAR(lo.z, -8 * s, 1e-12);
    // The model answers the control's deformed range from the engine.
    C3DPoint mlo, mhi;
    ASSERT_EQ(M().RE_GetRangeElement(M().m_nObjectIDFirst + 1, kPlate, &mlo, &mhi), 1);
    ExpectPoint(mlo, lo, 0.0, "control's deformed box");
    // No element: the box stays empty.
    CArray<UINT, UINT> none;
    E().GetRangeModel(&lo, &hi, &none);
    EXPECT_GT(lo.x, hi.x);
}

// The cantilever drawn with its exact curve (mode shapes build curves from the two end records):
// mode 2 is its elastic line as a mode vector, translations in m with rotations in rad, so each
// point of the deflected line lies at x along the beam, moved by the scale times
// P x^2 (3L - x) / 6EI, and the last segment has the slope of the tip rotation. Read as
// millimetres against radians, the rotations would bend the curve a thousand times too far.
TEST_F(DeformGeometryTest, ExactCurveOfTheCantilever) {
    SelectLoad(PLOAD_STATIC, 2);
    E().m_bExactBeamRange = 1;
    ASSERT_EQ(Build(PVXMode::kModeShape, CDeformEngine::COMP_DZ), 1);
    const double s = E().GetScale();
    // The curve stays within its end records: the scale is that of the tip's translation.
    EXPECT_NEAR(s, 6.0 / (20.0 * kTipMM / 1000.0), 1e-9 * s);
    ASSERT_EQ(E().MakeBeamCurve(kBeam), 1);
    const CBeamDiagram_PVX* pBeam = M().m_pBeamDiagram;
    ASSERT_NE(pBeam, nullptr);
    ASSERT_EQ(pBeam->GetStationCount(), 16) << "15 divisions";
    // Edges only: the beam is a line, cut at every station.
    M().m_pDispOpt->m_bWireFrame = 1;
    PVXPolyListArray faces;
    PVXValueArrayList values;
    PVXIndexArrayList stations;
    E().GetBeamRealDeformedShape(kBeam, faces, nullptr, &values, &stations);
    ASSERT_EQ(faces.GetSize(), 15);
    const double EI = kE * kI;
    for (INT_PTR f = 0; f < faces.GetSize(); ++f) {
        ASSERT_EQ(faces[f]->GetCount(), 2);
        int j = 0;
        for (POSITION pos = faces[f]->GetHeadPosition(); pos; ++j) {
            const int k = stations[f]->GetAt(j);
            const double x = pBeam->GetStationPos(k);
            const double w = -kTipLoad * x * x * (3 * kLength - x) / (6 * EI);  // m
            // sin(rot) stands for rot in the curve's tangents: relative error rot^2 / 6 < 6e-6.
            ExpectPoint(faces[f]->GetNext(pos), C3DPoint(x, 0, s * w), 1e-5 * std::fabs(s * w) + 1e-12, "curve point");
            EXPECT_NEAR(values[f]->GetAt(j), x / kLength, 1e-12);
        }
    }
    // Slope of the last segment against the tip rotation (the line's slope varies by
    // P L h / 2EI over the last station spacing h).
    const C3DPoint a = faces[14]->GetHead(), b = faces[14]->GetTail();
    const double slope = (b.z - a.z) / (b.x - a.x) / s;
    EXPECT_NEAR(slope, -kTipRot, kTipLoad * kLength * (kLength / 15) / (2 * EI));
    I_PVXModel::FreeMemoryPolyList(&faces, nullptr, nullptr, nullptr);
    FreeValueLists(values);
    I_PVXModel::FreeMemoryPolyList(nullptr, &stations, nullptr, nullptr);

    // Values along the curve: the start record at station 0, the end record at the last, the
    // curve in between; an index past the stations gives 0.
    T_DISP_D di, dj;
    E().GetDispData(1, di);
    E().GetDispData(2, dj);
    EXPECT_DOUBLE_EQ(E().CalcDispValuePos(di, dj, 0), 0.0);
    EXPECT_DOUBLE_EQ(E().CalcDispValuePos(di, dj, 15), -kTipMM / 1000.0);
    const double x5 = pBeam->GetStationPos(5);
    EXPECT_NEAR(E().CalcDispValuePos(di, dj, 5), -kTipLoad * x5 * x5 * (3 * kLength - x5) / (6 * EI), 1e-7);
    EXPECT_DOUBLE_EQ(E().CalcDispValuePos(di, dj, 16), 0.0);
    // Rotations interpolate between the end records.
    E().m_nComponent = CDeformEngine::COMP_RY;
    EXPECT_NEAR(E().CalcDispValuePos(di, dj, 5), kTipRot * 5.0 / 15.0, 1e-15);
}

TEST_F(DeformGeometryTest, SideFacesOfTheExactBeamRunAlongTheCurve) {
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_DZ), 1);
    M().m_nDisplayMode = PVXMode::kModeShape;
    ASSERT_EQ(E().MakeBeamCurve(kBeam), 1);
    M().m_pDispOpt->m_bWireFrame = 0;
    PVXPolyListArray faces;
    PVXIndexArrayList stations;
    E().GetBeamRealDeformedShape(kBeam, faces, nullptr, nullptr, &stations);
    // The 0.3 x 0.6 box: four side faces of 15 quads each and the two end faces.
    ASSERT_EQ(faces.GetSize(), 4 * 15 + 2);
    int quads = 0, ends = 0;
    for (INT_PTR f = 0; f < faces.GetSize(); ++f) {
        const CArray<int>& st = *stations[f];
        if (faces[f]->GetCount() == 4 && st[0] != st[2]) {
            ++quads;
            EXPECT_EQ(st[2], st[0] + 1) << "a quad spans one station pair";
        } else {
            ++ends;
            for (INT_PTR i = 1; i < st.GetSize(); ++i) EXPECT_EQ(st[i], st[0]) << "an end face moves with one end";
        }
    }
    EXPECT_EQ(quads, 60);
    EXPECT_EQ(ends, 2);
    I_PVXModel::FreeMemoryPolyList(&faces, nullptr, nullptr, nullptr);
    I_PVXModel::FreeMemoryPolyList(nullptr, &stations, nullptr, nullptr);
}

// While an animation records, the shape swings about its rest position: at a frame factor f the
// point is p + f s d, with f = 0 giving the rest position itself whatever the colour range.
TEST_F(DeformGeometryTest, AnimationFrameScalesTheDisplacement) {
    ASSERT_EQ(Build(PVXMode::kDispContour, CDeformEngine::COMP_DZ), 1);
    const double s = E().GetScale();
    ASSERT_LT(E().m_pContourEngine->m_dMinValue, 0.0);
    ASSERT_GT(E().m_pContourEngine->m_dMaxValue, 0.0);
    CAnimationEngine& a = M().m_AnimationEngine;
    M().m_bAnimation = 1;
    a.m_bRecording = 1;
    a.m_nFramesPerHalfCycle = 4;
    const struct {
        int frame;
        double f;  // N = 4, P = 5: k / 4, then (4 - r) / 4, then -r / 4 for the signed wave
    } rows[] = {{0, 0.0}, {2, 0.5}, {4, 1.0}, {6, 0.75}, {12, -0.5}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.frame);
        a.m_nCurFrame = r.frame;
        EXPECT_DOUBLE_EQ(a.GetAnimationFactor(0), r.f);
        ExpectPoint(E().GetDisplacedPoint(5, NodePoint(5)), C3DPoint(6, 5, r.f * s * -8), 1e-12, "node 5");
        T_DISP_D d;
        E().MakeDispD4Drawing(5, d);
        EXPECT_NEAR(d.DZ, r.f * s * -8, 1e-12);
    }
    // The amplitude-off flag of a time-history load stops the swing.
    M().m_bAmplitudeOff = 1;
    EXPECT_DOUBLE_EQ(a.GetAnimationFactor(0), 1.0);
    M().m_bAmplitudeOff = 0;
    a.m_bRecording = 0;
    M().m_bAnimation = 0;
}

}  // namespace

}  // namespace deformtest
