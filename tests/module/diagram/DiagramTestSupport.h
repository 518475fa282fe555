// Set-up shared by the diagram tests: the small frame project of the force tests, an engine that
// notes the band polygons its diagrams hand to the list drawing, polygon lists as plain vectors,
// and the camera scale that fixes the diagram piece length.
#pragma once

#include <cmath>
#include <vector>

#include "tests/module/force/ForceTestSupport.h"

namespace diagramtest {

using namespace forcetest;

// Columns with inner stations: the first only, the second only, both.
enum : UINT { kColumnInner1 = 31, kColumnInner2 = 32, kColumnInnerBoth = 33 };

// The four polygon lists of one build, read back as polygons.
struct Lists {
    CForceEngine::DiagramPointList points;
    CForceEngine::DiagramValueList values;
    CForceEngine::DiagramFlagList edges, quads;

    struct Poly {
        std::vector<C3DPoint> pts;
        std::vector<double> values;
        std::vector<int> edges;
    };
    std::vector<Poly> Polys() const {
        std::vector<Poly> out;
        INT_PTR at = 0;
        for (INT_PTR i = 0; i < quads.GetSize(); ++i) {
            const int n = quads[i] ? 4 : 3;
            Poly p;
            for (int k = 0; k < n && at + k < points.GetSize(); ++k) {
                p.pts.push_back(points[at + k]);
                p.values.push_back(values[at + k]);
                p.edges.push_back(edges[at + k]);
            }
            at += n;
            out.push_back(p);
        }
        return out;
    }
};

// An engine that notes the band polygons of its diagrams (and hands them on when asked).
class NoteDiagramEngine : public CForceEngine {
public:
    explicit NoteDiagramEngine(I_PVXModelBase* pModel) : CForceEngine(pModel) {}
    struct Band {
        std::vector<VtxInfo_tag> v;
    };
    void DrawContourList(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) override {
        Note(sizes, vertices);
        if (m_bPassOn) CForceEngine::DrawContourList(pDC, sizes, vertices);
    }
    void DrawContourListGrad(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) override {
        Note(sizes, vertices);
        ++m_nGradCalls;
        if (m_bPassOn) CForceEngine::DrawContourListGrad(pDC, sizes, vertices);
    }
    std::vector<Band> m_bands;
    int m_nCalls = 0;      // list drawings (one per member diagram)
    int m_nGradCalls = 0;  // of which graded
    bool m_bPassOn = false;

private:
    void Note(CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
        ++m_nCalls;
        INT_PTR at = 0;
        for (INT_PTR i = 0; i < sizes.GetSize(); ++i) {
            Band b;
            for (int k = 0; k < sizes[i]; ++k) b.v.push_back(vertices[at + k]);
            at += sizes[i];
            m_bands.push_back(b);
        }
    }
};

// The model of the diagram fixtures: linked to the view's control in plan view at 400 x 300,
// drawn plain at pen factor 1 without numbers, DL selected, display mode 7 with contours.
inline void LinkDiagramModel(I_PVXModel& m, TestView& view) {
    LinkModelInView(m, view.GetI_PVXCtrl(), &view, 400, 300, GViewCamera::VIEW_TOP);
    m.m_nPenFactor = 1;
    SetPlainDrawing(*m.m_pDispOpt);
    m.m_pDispOpt->m_Number.m_bShowNumbers = 0;
    SelectModelLoad(m, 1, kDL, 0);
    m.m_nDisplayMode = 7;
    m.m_bContour = 1;
}

// The small project of the force tests, with end offsets on the beam (length 8; direction 2:
// 1 m at i, 2 m at j; direction 3: 0.5 m at both ends), a model linked to a view's control in
// plan view, the engine's frame lists of display mode 7 built for DL, no numbers, and a camera
// of 8 pixels per metre: at 96 pixels per inch a diagram piece (one sixth of an inch, 16
// pixels) is 2 m, longer than every segment of the 8 m beams.
class DiagramProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetBarState();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        FillForceProject(b);
        T_CFMO_D ends;
        ends.Initialize();
        ends.type = 201;
        ends.length = 8.0;
        ends.ri2 = 1.0;
        ends.rj2 = 2.0;
        ends.ri3 = ends.rj3 = 0.5;
        b.AddMembEnds(kBeam, ends);
        // Three more columns over the project's column: with the first, the second and both
        // inner stations.
        const UINT inner[3][2] = {{5, 0}, {0, 6}, {5, 6}};
        for (int k = 0; k < 3; ++k) {
            T_PMEMB_D c;
            c.type = 101;
            c.length = 3.0;
            c.node3 = inner[k][0];
            c.node4 = inner[k][1];
            c.aNode.Add(3);
            c.aNode.Add(1);
            c.aElem.Add(3);
            b.AddMemb(kColumnInner1 + k, c);
        }
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        LinkDiagramModel(M(), m_view);
        I_PVXModel& m = M();
        ASSERT_TRUE(m_dc.Create());
        m_engine = std::make_unique<NoteDiagramEngine>(&m);
        ASSERT_EQ(m_engine->InitEngine(nullptr, 7), 1);
        SetPixelsPerMetre(8.0);
    }
    void TearDown() override {
        m_engine.reset();
        m_model.reset();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    // Chooses a load (type 1 static case, 12 envelope) and load-result kind.
    void SelectLoad(UINT type, UINT key, int step) { SelectModelLoad(M(), type, key, step); }
    void SetPixelsPerMetre(double s) { Ctrl()->GetCamera().SetScale(s); }
    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    I_PVXModel& M() { return *m_model; }
    NoteDiagramEngine& E() { return *m_engine; }
    // Axes of a member along x: x along it, y across (global +y), z up.
    static void AxesAlongX(double axes[3][3]) {
        const double a[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) axes[r][c] = a[r][c];
    }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    TestView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    CRecordDC m_dc;
    std::unique_ptr<NoteDiagramEngine> m_engine;
};

inline bool Near(const C3DPoint& a, const C3DPoint& b, double tol = 1e-9) {
    return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol && std::fabs(a.z - b.z) <= tol;
}

}  // namespace diagramtest
