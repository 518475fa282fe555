// Set-up shared by the slab force tests: a small project of three slab members (type 301) and a
// beam, with plate forces, member moments, rebar directions, two linear combinations and an
// envelope, installed as the document and shown by a model linked to a view's graphics control.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CRecordDC.h"
#include "tests/module/model/LinkedModelSupport.h"

namespace slabtest {

enum : UINT {
    kSlabA = 1,   // 301: plates 11 (x 0..2) and 12 (x 2..4), y 0..2, rebar along x
    kSlabB = 2,   // 301: plate 21, x 10..12, y 0..2, rebar at 30 degrees (the record's second angle)
    kSlabC = 3,   // 301: plate 31, x 20..22, slab result type 1
    kBeam = 4,    // 201 along y = -1
    kPlateA1 = 11, kPlateA2 = 12, kPlateB = 21, kPlateC = 31, kBeamElem = 41,
    kDL = 1,
    kLL = 2,
    kC1 = 101,    // DL + LL, the first linear combination
    kEnv = 103,   // envelope of C1 and C2, between them in table order
    kC2 = 102,    // 1.2 DL, the second linear combination
};

// Mxx at corner b (1..4) of the A plates under DL: plate 11 b, plate 12 10 b; Myy is -Mxx; the
// centres hold the corner means. LL is -3 DL, so C1 = -2 DL and C2 = 1.2 DL.
inline double PlateAMxx(UINT elem, int b) {
    const double f = elem == kPlateA1 ? 1.0 : 10.0;
    return b == 0 ? 2.5 * f : f * b;
}

// Forces of plate 21 under DL in every block (element axes = global axes); LL none.
constexpr double kFxx = 10.0, kFyy = 4.0, kFxy = 3.0, kMxx = 5.0, kMyy = -2.0, kMxy = 1.0, kVxx = 6.0, kVyy = -8.0;
constexpr double kSxx = 7.0, kSyy = -1.0, kSxy = 2.0;  // surface 1 stresses

inline T_STRP_DL PlateARecord(UINT elem, double f) {
    T_STRP_DL r;
    r.Initialize();
    for (int b = 0; b < 5; ++b) {
        r.blk[b][20] = f * PlateAMxx(elem, b);
        r.blk[b][21] = -f * PlateAMxx(elem, b);
        r.blk[b][26] = f * 0.1 * PlateAMxx(elem, b);
    }
    r.UpdateDerived();
    return r;
}

inline T_STRP_DL PlateBRecord() {
    T_STRP_DL r;
    r.Initialize();
    for (auto& b : r.blk) {
        b[0] = kSxx;
        b[1] = kSyy;
        b[2] = kSxy;
        b[14] = kFxx;
        b[15] = kFyy;
        b[16] = kFxy;
        b[20] = kMxx;
        b[21] = kMyy;
        b[22] = kMxy;
        b[26] = kVxx;
        b[27] = kVyy;
    }
    r.UpdateDerived();
    return r;
}

// Member moments under DL: slab A three per edge (positive 1..12, negative -1..-12, centre 3 and
// -4), slab B one per edge (positive 20, 0, 0, 5; negative -30, -1, -2, -3); LL is -0.5 DL.
inline T_SMNT_D SlabMoments(UINT memb, double f) {
    T_SMNT_D m;
    if (memb == kSlabA) {
        m.centreX = 3.0 * f;
        m.centreY = -4.0 * f;
        for (int i = 1; i <= 12; ++i) {
            m.aPos.Add(f * i);
            m.aNeg.Add(-f * i);
        }
    } else {
        m.centreX = 1.0 * f;
        m.centreY = 2.0 * f;
        for (double v : {20.0, 0.0, 0.0, 5.0}) m.aPos.Add(f * v);
        for (double v : {-30.0, -1.0, -2.0, -3.0}) m.aNeg.Add(f * v);
    }
    return m;
}

inline void FillSlabProject(PostDBBuilder& b) {
    // Slab A: nodes 1..6 on x 0, 2, 4 and y 0, 2.
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i) b.AddNode(static_cast<UINT>(1 + i + 3 * j), 2.0 * i, 2.0 * j, 0.0);
    b.AddNode(7, 10, 0, 0);
    b.AddNode(8, 12, 0, 0);
    b.AddNode(9, 12, 2, 0);
    b.AddNode(10, 10, 2, 0);
    b.AddNode(11, 20, 0, 0);
    b.AddNode(12, 22, 0, 0);
    b.AddNode(13, 22, 2, 0);
    b.AddNode(14, 20, 2, 0);
    b.AddNode(15, 0, -1, 0);
    b.AddNode(16, 8, -1, 0);
    T_PSECT_D sect;
    sect.Initialize();
    sect.type = 1;
    sect.dim[0] = 0.5;
    b.AddSect(1, sect);
    b.AddElem(kPlateA1, PELEM_KIND_PLATE, 301, {1, 2, 5, 4}, 1, 1);
    b.AddElem(kPlateA2, PELEM_KIND_PLATE, 301, {2, 3, 6, 5}, 1, 1);
    b.AddElem(kPlateB, PELEM_KIND_PLATE, 301, {7, 8, 9, 10}, 1, 1);
    b.AddElem(kPlateC, PELEM_KIND_PLATE, 301, {11, 12, 13, 14}, 1, 1);
    b.AddElem(kBeamElem, PELEM_KIND_FRAME, 201, {15, 16}, 1, 1);
    const UINT nA[] = {1, 3, 6, 4}, eA[] = {kPlateA1, kPlateA2};
    const UINT nB[] = {7, 8, 9, 10}, eB[] = {kPlateB};
    const UINT nC[] = {11, 12, 13, 14}, eC[] = {kPlateC};
    const UINT nBeam[] = {15, 16}, eBeam[] = {kBeamElem};
    b.AddMemb(kSlabA, 301, nA, eA);
    b.AddMemb(kSlabB, 301, nB, eB);
    b.AddMemb(kSlabC, 301, nC, eC);
    b.AddMemb(kBeam, 201, nBeam, eBeam, 8.0);
    for (UINT m : {kSlabA, kSlabB, kSlabC}) {
        T_PSLAB_D s;
        s.resultType = m == kSlabC ? 1 : 301;
        const UINT* n = m == kSlabA ? nA : m == kSlabB ? nB : nC;
        for (int k = 0; k < 4; ++k) s.aNode.Add(n[k]);
        b.AddSlab(m, s);
    }
    T_SDIR_D dir;
    dir.Initialize();
    dir.sel = 1;
    dir.angle1 = 99.0;  // not the one chosen
    dir.angle2 = 30.0;
    b.AddSdir(kSlabB, dir);

    b.AddLoadCase(kDL, PLOAD_STATIC, "DL");
    b.AddLoadCase(kLL, PLOAD_STATIC, "LL");
    b.AddLoadComb(kC1, PLCOM_LINEAR, "C1", {T_PLCOM_ENTRY{PLOAD_STATIC, kDL, 1.0}, T_PLCOM_ENTRY{PLOAD_STATIC, kLL, 1.0}});
    b.AddLoadComb(kEnv, PLCOM_ENVELOPE, "ENV",
                  {T_PLCOM_ENTRY{PLOAD_COMBINATION, kC1, 1.0}, T_PLCOM_ENTRY{PLOAD_COMBINATION, kC2, 1.0}});
    b.AddLoadComb(kC2, PLCOM_LINEAR, "C2", {T_PLCOM_ENTRY{PLOAD_STATIC, kDL, 1.2}});
    for (UINT lc : {kDL, kLL}) {
        const double f = lc == kDL ? 1.0 : -3.0;
        b.AddStrp(lc, kPlateA1, PlateARecord(kPlateA1, f));
        b.AddStrp(lc, kPlateA2, PlateARecord(kPlateA2, f));
        T_STRP_DL rb = PlateBRecord();
        if (lc == kLL) rb.Initialize();
        b.AddStrp(lc, kPlateB, rb);
        b.AddStrp(lc, kPlateC, PlateARecord(kPlateA1, f));
        b.AddSmnt(lc, kSlabA, SlabMoments(kSlabA, lc == kDL ? 1.0 : -0.5));
        b.AddSmnt(lc, kSlabB, SlabMoments(kSlabB, lc == kDL ? 1.0 : -0.5));
    }
}

class TestView : public GRenderView {};

// The project installed and a model linked to the view's control, seen from above.
class SlabTest : public ::testing::Test {
protected:
    void SetUp() override {
        Install([](PostDBBuilder&) {});
        ASSERT_TRUE(m_dc.Create());
    }
    template <class F>
    void Install(F more) {
        ResetBarState();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        PostDBBuilder b;
        FillSlabProject(b);
        more(b);
        b.Install(m_doc);
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        LinkModelInView(*m_model, Ctrl(), &m_view, 400, 300, GViewCamera::VIEW_TOP);
        I_PVXModel& m = *m_model;
        m.m_nPenFactor = 1;
        SetPlainDrawing(*m.m_pDispOpt);
        m.m_pDispOpt->m_Number.m_bShowNumbers = 0;
        m.m_bContour = 1;
        CPVXBarContainerBase::m_nCurrentMode = PVXMode::kSlabForce;
        SelectLoad(1, kDL, 0);
    }
    void TearDown() override {
        m_model.reset();
        ResetBarState();
        CDBDoc::m_pDBDoc = m_pSavedDoc;
    }
    template <class F>
    void Reinstall(F more) {
        TearDown();
        Install(more);
    }
    void SelectLoad(UINT type, UINT key, int step) { SelectModelLoad(*m_model, type, key, step); }
    // An engine of mode 16 at a granularity and component, built.
    std::unique_ptr<CForceEngine> Build(int unit, int comp = 0, int pos = 1, int neg = 1, int lcomCount = 0) {
        auto e = std::make_unique<CForceEngine>(&M());
        e->m_nSForcUnit = unit;
        e->m_nSForcComp = comp;
        e->m_bSForcPos = pos;
        e->m_bSForcNeg = neg;
        e->m_nSForcLcomCount = lcomCount;
        e->InitEngine(nullptr, PVXMode::kSlabForce);
        return e;
    }
    I_PVXCtrl* Ctrl() { return m_view.GetI_PVXCtrl(); }
    I_PVXModel& M() { return *m_model; }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
    TestView m_view;
    std::unique_ptr<I_PVXModel> m_model;
    CRecordDC m_dc;
};

}  // namespace slabtest
