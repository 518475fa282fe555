// Set-up of the deformation engine tests: a small project and a model linked to a render view.
//
// The project: a 6 m cantilever beam (element and member 1, type 201) along X from node 1 (0,0,0),
// fixed, to node 2 (6,0,0), with the tip load case of kTipLoad; a raft plate (element and member 2,
// type 301) on nodes 3 (0,2,0), 4 (6,2,0), 5 (6,5,0), 6 (0,5,0); a column (element and member 3,
// type 101) from node 7 (0,0,-3), which has no results, up to node 1. The model's box is
// 6 x 5 x 3, so its largest span is L = 6 m.
//
// Load case 1 (static, "DL"), displacements in mm and rad (kDL):
//   node 1  0, 0, 0                     node 4  -2, 0, -5
//   node 2  0, 0, -tip, 0, rot, 0        node 5  0, 0, -8, RX 0.001
//   node 3  1, 2, -3                     node 6  4, 1, 2
// with tip = 1000 P L^3 / 3EI = 22.2222 mm and rot = P L^2 / 2EI = 0.0055556 rad for P = 50 kN,
// E = 3e7 kN/m2, I = 0.3 x 0.6^3 / 12 = 0.0054 m4.
// Mode 1: node 5 (0, 1, 0), node 6 (0, 0.5, 0). Mode 2, the cantilever's elastic line as a mode
// vector (m, rad): node 2 (0, 0, -tip / 1000, 0, rot, 0). Time-history case 4 ("THX"): node 5
// only, three steps of DX 0, 10, -4 mm. Load groups 7 (static) and 3 (settlement, the first of its kind);
// settlement points 1 (0,0) 10 + 1 mm, 2 (6,0) 20 + 1 mm, 3 (3,5) a value of group 7 only.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/engines/CBeamDiagram_PVX.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CPlotDeformEng.h"
#include "module/model/PVXModes.h"
#include "module/contour/CContourEngine.h"
#include "tests/module/model_render/RenderTestSupport.h"

namespace deformtest {

constexpr double kTipLoad = 50.0, kLength = 6.0, kE = 3.0e7, kI = 0.3 * 0.6 * 0.6 * 0.6 / 12.0;
constexpr double kTipMM = 1000.0 * kTipLoad * kLength * kLength * kLength / (3.0 * kE * kI);
constexpr double kTipRot = kTipLoad * kLength * kLength / (2.0 * kE * kI);
constexpr UINT kBeam = 1, kPlate = 2, kColumn = 3;
constexpr UINT kDL = 1, kTHX = 4;

inline T_DISP_D Disp(double dx, double dy, double dz, double rx = 0, double ry = 0, double rz = 0) {
    T_DISP_D d;
    d.DX = dx;
    d.DY = dy;
    d.DZ = dz;
    d.RX = rx;
    d.RY = ry;
    d.RZ = rz;
    return d;
}

// The records of load case 1 by node key (index 0 unused).
inline const T_DISP_D* DLRecords() {
    static const T_DISP_D r[7] = {Disp(0, 0, 0),  Disp(0, 0, 0),      Disp(0, 0, -kTipMM, 0, kTipRot, 0),
                                  Disp(1, 2, -3), Disp(-2, 0, -5),    Disp(0, 0, -8, 0.001, 0, 0),
                                  Disp(4, 1, 2)};
    return r;
}

inline void BuildDeformProject(PostDBBuilder& b) {
    b.AddNode(1, 0, 0, 0);
    b.AddNode(2, 6, 0, 0);
    b.AddNode(3, 0, 2, 0);
    b.AddNode(4, 6, 2, 0);
    b.AddNode(5, 6, 5, 0);
    b.AddNode(6, 0, 5, 0);
    T_PMATL_D m;
    m.Initialize();
    m.E = kE;
    m.nu = 0.2;
    b.AddMatl(1, m);
    T_PSECT_D s;
    s.Initialize();
    s.type = 1;
    s.dim[0] = 0.3;
    s.dim[1] = 0.6;
    b.AddSect(1, s);
    b.AddElem(kBeam, PELEM_KIND_FRAME, 201, {1, 2}, 1, 1);
    b.AddMemb(kBeam, 201, {1, 2}, {kBeam});
    b.AddElem(kPlate, PELEM_KIND_PLATE, 301, {3, 4, 5, 6}, 1, 0);
    b.AddMemb(kPlate, 301, {3, 4, 5, 6}, {kPlate});
    // A column under the beam's fixed end, to node 7 (0, 0, -3), which has no displacement.
    b.AddNode(7, 0, 0, -3);
    b.AddElem(kColumn, PELEM_KIND_FRAME, 101, {7, 1}, 1, 1);
    b.AddMemb(kColumn, 101, {7, 1}, {kColumn});
    b.AddLoadCase(kDL, PLOAD_STATIC, "DL");
    b.AddLoadCase(kTHX, PLOAD_TIMEHISTORY, "THX");
    for (UINT n = 1; n <= 6; ++n) b.AddDisp(kDL, n, DLRecords()[n]);
    b.AddDisp(kTHX, 5, Disp(10, 0, 0));

    T_FREQ_D f;
    f.Initialize();
    f.omega = 10.0;
    T_MPAM_D mass;
    mass.Initialize();
    b.AddMode(1, f, mass);
    T_MODE_D ms;
    ms.Initialize();
    ms.DY = 1.0;
    b.AddModeShape(1, 5, ms);
    ms.DY = 0.5;
    b.AddModeShape(1, 6, ms);
    b.AddMode(2, f, mass);
    ms.Initialize();
    ms.DZ = -kTipMM / 1000.0;
    ms.RY = kTipRot;
    b.AddModeShape(2, 2, ms);

    T_DISPHIS_D h;
    h.nStep = 3;
    h.dt = 0.1;
    const double dx[3] = {0.0, 10.0, -4.0};
    for (int step = 0; step < 3; ++step)
        for (int i = 0; i < 18; ++i) h.aValue.Add(i == 0 ? dx[step] : (i == 6 ? 100.0 + step : 0.0));
    b.AddDispHistory(kTHX, 5, h);

    b.AddLoadGroup(7, LDGP_STATIC, "G");
    b.AddLoadGroup(3, LDGP_SETTLEMENT, "S");
    auto point = [&](UINT key, double x, double y, UINT group, double v) {
        T_PCDSINK_D p;
        p.x = x;
        p.y = y;
        p.constant = 1.0;
        p.aGroup.Add(group);
        p.aValue.Add(v);
        b.AddSettlementPoint(key, p);
    };
    point(1, 0, 0, 3, 10.0);
    point(2, 6, 0, 3, 20.0);
    point(3, 3, 5, 7, 50.0);
}

// A model on the small project with a deformation engine, the bars' state reset, the load
// selection set to load case 1 value.
class DeformFixture : public RenderFixture {
protected:
    void SetUp() override {
        ResetBarState();
        PostDBBuilder b;
        BuildDeformProject(b);
        Open(b);
        M().m_pDeformEngine = new CDeformEngine(&M());
        SelectLoad(PLOAD_STATIC, kDL);
    }
    void TearDown() override {
        ResetBarState();
        RenderFixture::TearDown();
    }
    void SelectLoad(UINT type, UINT key, int step = 0) {
        M().m_bLoadSelected = 1;
        M().m_nLoadType = type;
        M().m_nLoadKey = key;
        M().m_nLoadStep = step;
    }
    // Builds the engine for a display mode with a component selector.
    int Build(int mode, int component) {
        M().m_nDisplayMode = mode;
        E().m_nComponent = component;
        return E().InitEngine();
    }
    CDeformEngine& E() { return *M().m_pDeformEngine; }
    C3DPoint NodePoint(UINT key) {
        T_PNODE_D n;
        M().GetAttrCtrl()->GetNode(key, n);
        return C3DPoint(n.x, n.y, n.z);
    }
};

}  // namespace deformtest
