// Set-up shared by the diagram tests: the small frame project of the force tests, an engine that
// notes the band polygons its diagrams hand to the list drawing, polygon lists as plain vectors,
// and the camera scale that fixes the diagram piece length.
#pragma once

#include <cmath>
#include <vector>

#include "tests/module/force/ForceTestSupport.h"

namespace diagramtest {

using namespace forcetest;

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

// The small project with the engine's frame lists of display mode 7 built for DL, no numbers,
// and a camera of 8 pixels per metre: at 96 pixels per inch a diagram piece (one sixth of an
// inch, 16 pixels) is 2 m, longer than every segment of the 8 m beams.
class DiagramProjectTest : public ForceProjectTest {
protected:
    void SetUp() override {
        ForceProjectTest::SetUp();
        M().m_nDisplayMode = 7;
        M().m_bContour = 1;
        M().m_pDispOpt->m_Number.m_bShowNumbers = 0;
        m_engine = std::make_unique<NoteDiagramEngine>(&M());
        ASSERT_EQ(m_engine->InitEngine(nullptr, 7), 1);
        SetPixelsPerMetre(8.0);
    }
    void TearDown() override {
        m_engine.reset();
        ForceProjectTest::TearDown();
    }
    void SetPixelsPerMetre(double s) { Ctrl()->GetCamera().SetScale(s); }
    NoteDiagramEngine& E() { return *m_engine; }
    // Axes of a member along x at y 0: x along it, y across (global +y), z up.
    static void AxesAlongX(double axes[3][3]) {
        const double a[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) axes[r][c] = a[r][c];
    }
    std::unique_ptr<NoteDiagramEngine> m_engine;
};

inline bool Near(const C3DPoint& a, const C3DPoint& b, double tol = 1e-9) {
    return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol && std::fabs(a.z - b.z) <= tol;
}

}  // namespace diagramtest
