// Set-up shared by the truss tests: the small frame project of the force tests with three truss
// members and a beam curved in plan added, a model linked to a view's control in plan view, and
// an engine that notes the band polygons, lines and diagram bands it hands on.
#pragma once

#include <cmath>
#include <memory>
#include <vector>

#include "tests/module/diagram/DiagramTestSupport.h"

namespace trusstest {

using namespace diagramtest;

enum : UINT {
    kTrussA = 71,   // 206, (0,-6,3) to (4,-6,3), along x
    kTrussB = 72,   // 206, (4,-6,3) to (4,-6,5), vertical
    kTrussC = 73,   // 206, (0,-6,3) to (4,-6,5), no forces for any load
    kCurved = 74,   // 201, four elements on the arc from (0,12,3) to (8,12,3) through (4,14,3)
    kNodeA = 101,
    kNodeB = 102,
    kNodeC = 103,
    kArcNode0 = 111,  // 111..115 along the arc
};

constexpr double kPi = 3.14159265358979323846;
// The arc: chord 8 m, rise 2 m, so radius (4^2 + 2^2) / (2 x 2) = 5 about (4, 9).
constexpr double kArcCx = 4.0, kArcCy = 9.0, kArcR = 5.0, kArcZ = 3.0;
// Its end angles: atan2(3, -4) at (0, 12) and atan2(3, 4) at (8, 12).
inline double ArcAngle(double t) {
    const double a0 = std::atan2(3.0, -4.0), a1 = std::atan2(3.0, 4.0);
    return a0 + (a1 - a0) * t;
}
inline C3DPoint ArcPoint(double t) {
    return C3DPoint(kArcCx + kArcR * std::cos(ArcAngle(t)), kArcCy + kArcR * std::sin(ArcAngle(t)), kArcZ);
}

// A truss record from its two ends.
inline T_MBBR_D TrussRecord(const double (&i)[6], const double (&j)[6]) {
    T_MBBR_D r;
    for (int c = 0; c < 6; ++c) {
        r.d[0][c] = i[c];
        r.d[1][c] = j[c];
    }
    return r;
}

// Dead load of the trusses (live load is -0.5 times it): A axial 10 at I to 30 at J, shear y
// 3 / -3, shear z 6 / -2, torsion 0 / 5; B axial -50 at both ends, torsion 5 / 0. The curved
// beam's moment y is 5 k - 20 at station k.
inline const double kTrussAI[6] = {10, 3, 6, 0, 0, 0};
inline const double kTrussAJ[6] = {30, -3, -2, 5, 0, 0};
inline const double kTrussBI[6] = {-50, 0, 0, 5, 0, 0};
inline const double kTrussBJ[6] = {-50, 0, 0, 0, 0, 0};
inline double CurvedDL(int k) { return 5.0 * k - 20.0; }

inline void AddTrussProject(PostDBBuilder& b) {
    b.AddNode(kNodeA, 0, -6, 3);
    b.AddNode(kNodeB, 4, -6, 3);
    b.AddNode(kNodeC, 4, -6, 5);
    b.AddElem(kTrussA, PELEM_KIND_TRUSS, 206, {kNodeA, kNodeB}, 1, 1);
    b.AddElem(kTrussB, PELEM_KIND_TRUSS, 206, {kNodeB, kNodeC}, 1, 1);
    b.AddElem(kTrussC, PELEM_KIND_TRUSS, 206, {kNodeA, kNodeC}, 1, 1);
    const UINT na[] = {kNodeA, kNodeB}, nb[] = {kNodeB, kNodeC}, nc[] = {kNodeA, kNodeC};
    const UINT ea[] = {kTrussA}, eb[] = {kTrussB}, ec[] = {kTrussC};
    b.AddMemb(kTrussA, 206, na, ea, 4.0);
    b.AddMemb(kTrussB, 206, nb, eb, 2.0);
    b.AddMemb(kTrussC, 206, nc, ec, std::sqrt(20.0));
    UINT arcNodes[5], arcElems[4];
    for (int k = 0; k <= 4; ++k) {
        arcNodes[k] = kArcNode0 + k;
        const C3DPoint p = ArcPoint(k / 4.0);
        b.AddNode(arcNodes[k], p.x, p.y, p.z);
    }
    for (int k = 0; k < 4; ++k) {
        arcElems[k] = 741 + k;
        b.AddElem(arcElems[k], PELEM_KIND_FRAME, 201, {arcNodes[k], arcNodes[k + 1]}, 1, 1);
    }
    b.AddMemb(kCurved, 201, arcNodes, arcElems, kArcR * (ArcAngle(0.0) - ArcAngle(1.0)));
    for (UINT lc : {kDL, kLL}) {
        const double f = lc == kDL ? 1.0 : -0.5;
        double ai[6], aj[6], bi[6], bj[6];
        for (int c = 0; c < 6; ++c) {
            ai[c] = f * kTrussAI[c];
            aj[c] = f * kTrussAJ[c];
            bi[c] = f * kTrussBI[c];
            bj[c] = f * kTrussBJ[c];
        }
        b.AddMbbr(lc, kTrussA, TrussRecord(ai, aj));
        b.AddMbbr(lc, kTrussB, TrussRecord(bi, bj));
        b.AddStrg(lc, kCurved, StationRecord(4, [&](int k) { return f * CurvedDL(k); }));
    }
}

// The project of the force tests with the trusses and the curved beam, a model linked in plan
// view at 8 pixels per metre (a diagram piece of one sixth of an inch is then 2 m), the engine's
// lists of display mode 7 built for DL with the axial force selected.
class TrussProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetBarState();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        FillForceProject(b);
        AddTrussProject(b);
        AddToProject(b);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        LinkDiagramModel(M(), m_view);
        I_PVXModel& m = M();
        ASSERT_TRUE(m_dc.Create());
        m_engine = std::make_unique<NoteTrussEngine>(&m);
        m_engine->m_nBForcComp = 0;
        m_engine->m_bShowColumn = 0;  // the beams and trusses, the column plain
        ASSERT_EQ(m_engine->InitEngine(nullptr, 7), 1);
        Ctrl()->GetCamera().SetScale(8.0);
    }
    void TearDown() override {
        m_engine.reset();
        m_model.reset();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    // What a test adds to the project before it is installed.
    virtual void AddToProject(PostDBBuilder&) {}
    void SelectLoad(UINT type, UINT key, int step) { SelectModelLoad(M(), type, key, step); }
    // Hides one member in the host (not flagged): it is then inactive.
    void Deactivate(UINT key) {
        I_PVXModel& m = M();
        m.ResetOriginal();
        m.m_arrFlagMembKey.RemoveAll();
        m.m_arrNoFlagMembKey.RemoveAll();
        for (INT_PTR i = 0; i < m.m_arrAllMembKey.GetSize(); ++i)
            (m.m_arrAllMembKey[i] == key ? m.m_arrNoFlagMembKey : m.m_arrFlagMembKey).Add(m.m_arrAllMembKey[i]);
        m.InitOriginal();
    }
    // Lines and polygons drawn on the device: with the engine noting its bands instead of
    // drawing them, those of members drawn plain.
    static size_t PlainRecords(const CRecordDC& dc) {
        size_t n = 0;
        for (const GdiRecord& r : dc.GetRecords())
            n += r.op == "LineTo" || r.op == "Polyline" || r.op == "Polygon" || r.op == "PolyPolygon";
        return n;
    }

    // An engine that notes the faces and lines of its contours and the bands of its diagrams.
    class NoteTrussEngine : public NoteDiagramEngine {
    public:
        explicit NoteTrussEngine(I_PVXModelBase* pModel) : NoteDiagramEngine(pModel) {}
        struct Face {
            std::vector<C3DPoint> pts;
            std::vector<double> values;
            std::vector<int> flags;
        };
        void DoSubPolyContour(CDC*, double* pValues, CList<C3DPoint, C3DPoint>* pPoints, int* pFlags, int) override {
            Face f;
            int i = 0;
            for (POSITION pos = pPoints->GetHeadPosition(); pos; ++i) {
                f.pts.push_back(pPoints->GetNext(pos));
                f.values.push_back(pValues[i]);
                f.flags.push_back(pFlags ? pFlags[i] : 0);
            }
            m_faces.push_back(f);
        }
        void DrawContourLine(CDC*, CArray<C3DPoint, C3DPoint>& points, CArray<double, double>& values) override {
            std::vector<std::pair<C3DPoint, double>> line;
            for (INT_PTR i = 0; i < points.GetSize(); ++i) line.emplace_back(points[i], values[i]);
            m_lines.push_back(line);
        }
        std::vector<Face> m_faces;
        std::vector<std::vector<std::pair<C3DPoint, double>>> m_lines;
    };

    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    I_PVXModel& M() { return *m_model; }
    NoteTrussEngine& E() { return *m_engine; }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    TestView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    CRecordDC m_dc;
    std::unique_ptr<NoteTrussEngine> m_engine;
};

}  // namespace trusstest
