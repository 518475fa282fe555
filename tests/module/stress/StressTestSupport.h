// Shared set-up of the stress engine tests: a model over a database built in code or the sample
// project, a stress engine of that model with the load selected, and an engine that records the
// arrows and contour faces it draws instead of drawing them.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CStressEngine.h"
#include "tests/module/model_render/RenderTestSupport.h"

// A record whose every value tells where it sits: blk[p][i] = 1000 p + i + 1 (head left 0).
inline T_STRP_DL IndexedRecord() {
    T_STRP_DL r;
    r.Initialize();
    for (int p = 0; p < 5; ++p)
        for (int i = 0; i < 30; ++i) r.blk[p][i] = 1000.0 * p + i + 1;
    return r;
}

// A plate block from the stresses of the two surfaces, the derived values as the project file
// holds them (principal values and angle by Mohr's circle, effective and maximum shear stress).
inline void SetSurface(double* b, int s, double sxx, double syy, double txy) {
    const double c = 0.5 * (sxx + syy), r = std::sqrt(0.25 * (sxx - syy) * (sxx - syy) + txy * txy);
    double* t = b + 7 * s;
    t[0] = sxx;
    t[1] = syy;
    t[2] = txy;
    t[3] = c + r;
    t[4] = c - r;
    t[5] = r > 0 ? 0.5 * std::atan2(2 * txy, sxx - syy) * 180.0 / M_PI : 0.0;
    t[6] = std::sqrt(t[3] * t[3] - t[3] * t[4] + t[4] * t[4]);
    b[28 + s] = r;
}

// What the stress engine draws, recorded: each arrow (base, tip, barbs) with the pen it was drawn
// with, and each contour face with its vertex values.
class RecordingStressEngine : public CStressEngine {
public:
    using CStressEngine::CStressEngine;
    struct Arrow {
        C3DPoint base, tip, barbA, barbB;
        COLORREF color;
    };
    struct Face {
        std::vector<C3DPoint> points;
        std::vector<double> values;
    };
    void DrawVectorArrow(CDC* pDC, CDC*, C3DPoint a, C3DPoint b, C3DPoint c, C3DPoint d) override {
        LOGPEN lp{};
        if (CPen* pPen = pDC->GetCurrentPen()) pPen->GetLogPen(&lp);
        arrows.push_back({a, b, c, d, lp.lopnColor});
    }
    void DoSubPolyContour(CDC* pDC, double* pValues, CList<C3DPoint, C3DPoint>* pPoints, int* pFlags,
                          int bFrame) override {
        Face f;
        int i = 0;
        for (POSITION pos = pPoints->GetHeadPosition(); pos; ++i) {
            f.points.push_back(pPoints->GetNext(pos));
            f.values.push_back(pValues[i]);
        }
        faces.push_back(f);
        if (bDrawFaces) CStressEngine::DoSubPolyContour(pDC, pValues, pPoints, pFlags, bFrame);
    }
    std::vector<Arrow> arrows;
    std::vector<Face> faces;
    bool bDrawFaces = false;
};

class StressFixture : public RenderFixture {
protected:
    void TearDown() override {
        m_engine.reset();
        ResetBarState();
        RenderFixture::TearDown();
    }
    // The model draws display mode 11 of static load case lc with the engine under test.
    void SelectStatic(UINT lc) {
        I_PVXModel& m = M();
        m.m_bLoadSelected = 1;
        m.m_nLoadType = 1;
        m.m_nLoadKey = lc;
        m.m_nLoadStep = 0;
        m.m_nDisplayMode = PVXMode::kPlateStress;
        m_engine = std::make_unique<RecordingStressEngine>(&m);
    }
    RecordingStressEngine& E() { return *m_engine; }
    std::unique_ptr<RecordingStressEngine> m_engine;
};
