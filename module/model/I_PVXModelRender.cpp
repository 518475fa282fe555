// The render path: the render entry, the retained-geometry path and the display-mode switch
// that calls, for each result kind, the engine serving it (or the plain model when it has
// nothing to show), then the contour annotations, the overlay queues and the active nodes.
#include <functional>

#include "module/designdata/DesignFigurePaint.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/engines/EngineCallLog.h"
#include "module/figures/CPVXFigure.h"
#include "module/force/CForceEngine.h"
#include "host/base/I_ModelBase.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "module/model/CPVXLabelSpacer.h"
#include "module/model/I_PVXModel.h"
#include "module/model/ModelElements.h"
#include "module/model/PVXDataCtrls.h"
#include "module/model/PVXModes.h"
#include "module/model/PrintScale.h"
#include "platform/ui/CView.h"

namespace {

// Notes an engine call (or the plain fallback) in the trace, marked when the visibility test of
// numbers is on.
void Trace(I_PVXModel& m, const char* name) {
    if (!EngineCallLog::IsEnabled()) return;
    std::string s(name);
    if (m.m_pPVXCtrl && m.m_pPVXCtrl->IsGLVisibleCheck()) s += "@visible";
    EngineCallLog::Note(s);
}

// The two line widths of the display options, scaled by the control's first virtual
// width/height ratio for one render and put back after it.
class LineWidthScope {
public:
    explicit LineWidthScope(I_PVXModel& m) : m_pOpt(m.m_pDispOpt) {
        if (!m_pOpt) return;
        int w = 1, h = 1;
        if (m.m_pPVXCtrl) m.m_pPVXCtrl->GetVirtualWHRatio(w, h);
        for (int i = 0; i < 2; ++i) {
            m_saved[i] = m_pOpt->m_nRenderScale[i];
            m_pOpt->m_nRenderScale[i] *= w;
        }
    }
    ~LineWidthScope() {
        if (!m_pOpt) return;
        for (int i = 0; i < 2; ++i) m_pOpt->m_nRenderScale[i] = m_saved[i];
    }
    LineWidthScope(const LineWidthScope&) = delete;
    LineWidthScope& operator=(const LineWidthScope&) = delete;

private:
    T_PVX_DOPT_D* m_pOpt;
    int m_saved[2] = {0, 0};
};

// One draw of the switch: the model, the target DC and the numbers switch read once.
struct Dispatch {
    I_PVXModel& m;
    CDC* dc;
    int bNumbers;

    I_PVXCtrl* Ctrl() const { return m.m_pPVXCtrl; }
    CDeformEngine* D() const { return m.m_pDeformEngine; }
    CForceEngine* F() const { return m.m_pForceEngine; }
    CReactionEngine* R() const { return m.m_pReactionEngine; }
    CStressEngine* S() const { return m.m_pStressEngine; }

    void Plain() {
        Trace(m, "PVXDrawOriginal");
        m.PVXDrawOriginal(dc, 0);
    }
    // Numbers(X): X only with the numbers switch on, inside the control's visibility test.
    void Numbers(const std::function<void()>& f) {
        if (!bNumbers) return;
        PVXTempEnableGLVisibleCheck visible(Ctrl());
        f();
    }
    bool DeformBuilt() const { return D() && D()->m_bDataReady; }
    void InitDeform() {
        if (D() && !D()->m_bDataReady) {
            Trace(m, "CDeformEngine::InitEngine");
            // Built only to draw another engine's result on the deformed shape, the deformation
            // data leave that result's extremes' keys on the model, not their own nodes.
            const UINT nMaxKey = m.m_nMaxKey, nMinKey = m.m_nMinKey;
            D()->InitEngine();
            if (PVXMode::EngineOf(m.m_nDisplayMode) != PVXMode::Engine::kDeform) {
                m.m_nMaxKey = nMaxKey;
                m.m_nMinKey = nMinKey;
            }
        }
    }
    // Deformation data and the deformed geometry, each built when missing.
    void PrepareDeformation() {
        InitDeform();
        if (!m.m_bDeformedRegistered) {
            Trace(m, "I_PVXModel::InitDeformed");
            m.InitDeformed(0);
        }
    }
    // With the data of the row ready: the deformed geometry prepared, true. Else the plain
    // model drawn in its place, false.
    bool Deformed(bool bReady) {
        if (!bReady) {
            Plain();
            return false;
        }
        PrepareDeformation();
        return true;
    }
    // Opens a deformation row (deformed shape, displacement contour, mode shape, slab deflection,
    // time history): the contour switches of the deformed shape and time history set, the
    // deformed geometry prepared. False, with the plain model drawn, when there is nothing to
    // plot (no deformation data, or mode shapes without a mode shape shown).
    bool DeformRowReady(int mode) {
        if (mode == PVXMode::kDeformedShape || mode == PVXMode::kTimeHistory) {
            m.m_bContour = 1;
            m.m_bGradient = 0;
        }
        PrepareDeformation();
        if (!DeformBuilt() || (mode == PVXMode::kModeShape && !m.m_bModeShape)) {
            Plain();
            return false;
        }
        return true;
    }
    // Node displacement: deformation data built, contours off, the plain model.
    void UndeformedRow() {
        InitDeform();
        m.m_bContour = 0;
        m.m_bGradient = 0;
        Plain();
    }
    // The deformation plot draw for the display mode.
    void DeformPlotDraw() {
        if (m.m_nDisplayMode == PVXMode::kDispContour || m.m_nDisplayMode == PVXMode::kSlabDeflection) {
            Trace(m, "CDeformEngine::DrawDispContourNew");
            D()->DrawDispContourNew(dc);
        } else {
            Trace(m, "CDeformEngine::DrawDeformedShapeNew");
            D()->DrawDeformedShapeNew(dc);
        }
    }
    void DeformBegin() {
        Trace(m, "CDeformEngine::BeginPlotEng");
        D()->BeginPlotEng(dc);
    }
    void DeformEnd() {
        Trace(m, "CDeformEngine::EndPlotEng");
        D()->EndPlotEng();
    }
    void DeformNumbers() {
        Trace(m, "CDeformEngine::OutputNumbersNew");
        D()->OutputNumbersNew();
    }
    // Begin, plot draw, numbers, end.
    void DeformPlotWithNumbers() {
        DeformBegin();
        DeformPlotDraw();
        Numbers([&] { DeformNumbers(); });
        DeformEnd();
    }
    void ReactionInit() {
        if (!R()->m_bDataReady) {
            Trace(m, "CReactionEngine::InitEngine");
            R()->InitEngine(nullptr, -1);
        }
    }
    void ReactionBegin() {
        Trace(m, "CReactionEngine::BeginPlotEng");
        R()->BeginPlotEng(dc);
    }
    void ReactionEnd() {
        Trace(m, "CReactionEngine::EndPlotEng");
        R()->EndPlotEng();
    }
    void ReactionPlotDraw() {
        Trace(m, "CReactionEngine::DrawReactionValueNew");
        R()->DrawReactionValueNew(dc);
    }
    void ReactionNumbers() {
        Trace(m, "CReactionEngine::OutputNumbersNew");
        R()->OutputNumbersNew();
    }
    void ReactionPicked() {
        Trace(m, "CReactionEngine::DrawPickedNodes");
        R()->DrawPickedNodes(dc);
    }
    void DeformPicked() {
        Trace(m, "CDeformEngine::DrawPickedNodes");
        D()->DrawPickedNodes(dc);
    }
    // A force engine member by name.
    void Force(const char* name, void (CForceEngine::*fn)(CDC*)) {
        Trace(m, name);
        (F()->*fn)(dc);
    }
    void Stress(const char* name, void (CStressEngine::*fn)(CDC*)) {
        Trace(m, name);
        (S()->*fn)(dc);
    }
    // Slab families with a per-member or per-element granularity (slab force, rebar, crack).
    struct SlabFamily {
        int CForceEngine::*built;
        int CForceEngine::*unit;  // 0 per member, 1 per element
        const char* contourMembName;
        void (CForceEngine::*contourMemb)(CDC*);
        const char* contourName;
        void (CForceEngine::*contour)(CDC*);
        const char* numbersMembName;
        void (CForceEngine::*numbersMemb)(CDC*);
        const char* numbersName;
        void (CForceEngine::*numbers)(CDC*);
        bool bMembContourEmpty;  // the per-member contour draws nothing: show the plain model under it
    };
    static const SlabFamily* Slab(int mode);
};

#define PVX_FORCE(name) "CForceEngine::" #name, &CForceEngine::name

const Dispatch::SlabFamily* Dispatch::Slab(int mode) {
    static const SlabFamily kForces = {&CForceEngine::m_bSForcData, &CForceEngine::m_nSForcUnit,
                                       PVX_FORCE(DrawSForcContourMemb), PVX_FORCE(DrawSForcContour),
                                       PVX_FORCE(OutputSForcNumbersMemb), PVX_FORCE(OutputSForcNumbers), false};
    static const SlabFamily kRebar = {&CForceEngine::m_bSRbarData, &CForceEngine::m_nSRbarUnit,
                                      PVX_FORCE(DrawSRbarContourMemb), PVX_FORCE(DrawSRbarContour),
                                      PVX_FORCE(OutputSRbarNumbersMemb), PVX_FORCE(OutputSRbarNumbers), true};
    static const SlabFamily kCrack = {&CForceEngine::m_bSCracData, &CForceEngine::m_nSCracUnit,
                                      PVX_FORCE(DrawSCracContourMemb), PVX_FORCE(DrawSCracContour),
                                      PVX_FORCE(OutputSCracNumbersMemb), PVX_FORCE(OutputSCracNumbers), true};
    switch (mode) {
    case PVXMode::kSlabForce: return &kForces;
    case PVXMode::kSlabRebar: return &kRebar;
    case PVXMode::kSlabCrack: return &kCrack;
    default: return nullptr;
    }
}

// Plot part of the wall-force, plate-force and plate-stress rows: the
// deformed geometry with the row's plot when its data is ready, the plain model in its place
// otherwise. True when the plot was drawn.
bool ResultPlot(Dispatch& d, int mode) {
    CForceEngine* F = d.F();
    switch (mode) {
    case PVXMode::kWallForceContour:
    case PVXMode::kWallForceDiagram:
        if (!d.Deformed(F->m_bWForcData)) return false;
        if (mode == PVXMode::kWallForceContour) d.Force(PVX_FORCE(DrawWForcContour));
        else d.Force(PVX_FORCE(DrawWallSfdBmd));
        return true;
    case PVXMode::kPlateForce:
        if (!d.Deformed(F->m_bPForcData)) return false;
        d.Force(PVX_FORCE(DrawPForcContour));
        return true;
    case PVXMode::kPlateStress:
        if (!d.Deformed(d.S()->m_bDataReady)) return false;
        d.Stress("CStressEngine::DrawPStrsContour", &CStressEngine::DrawPStrsContour);
        return true;
    default: return false;
    }
}

// Numbers of the same rows, with the numbers switch on.
void ResultNumbers(Dispatch& d, int mode) {
    d.Numbers([&] {
        if (mode == PVXMode::kWallForceContour || mode == PVXMode::kWallForceDiagram) d.Force(PVX_FORCE(OutputWForcNumbers));
        else if (mode == PVXMode::kPlateForce) d.Force(PVX_FORCE(OutputPForcNumbers));
        else if (mode == PVXMode::kPlateStress)
            d.Stress("CStressEngine::OutputPStrsNumbers", &CStressEngine::OutputPStrsNumbers);
    });
}

// Plot part of a slab row: the plain model while the family is not built (false), else the
// per-member contour (over the plain model when it draws nothing itself) or the per-element
// contour on the deformed geometry.
bool SlabPlot(Dispatch& d, const Dispatch::SlabFamily& s, bool perMember) {
    CForceEngine* F = d.F();
    if (!(F->*s.built)) {
        d.Plain();
        return false;
    }
    if (perMember) {
        if (s.bMembContourEmpty) d.Plain();
        d.Force(s.contourMembName, s.contourMemb);
    } else {
        d.PrepareDeformation();
        d.Force(s.contourName, s.contour);
    }
    return true;
}

// Numbers of a slab row at its granularity, with the numbers switch on.
void SlabNumbers(Dispatch& d, const Dispatch::SlabFamily& s, bool perMember) {
    d.Numbers([&] {
        if (perMember) d.Force(s.numbersMembName, s.numbersMemb);
        else d.Force(s.numbersName, s.numbers);
    });
}

// Whether the engine the display mode needs is there; the bars make it before they set the mode,
// a mode without its engine shows the plain model.
bool HasModeEngine(const I_PVXModel& m, int mode) {
    switch (PVXMode::EngineOf(mode)) {
    case PVXMode::Engine::kReaction: return m.m_pReactionEngine != nullptr;
    case PVXMode::Engine::kDeform: return m.m_pDeformEngine != nullptr;
    case PVXMode::Engine::kForce: return m.m_pForceEngine != nullptr;
    case PVXMode::Engine::kStress: return m.m_pStressEngine != nullptr;
    case PVXMode::Engine::kNone: return true;
    }
    return true;
}

// The mode of a draw: none (plain) when results are not ready, while initialising, outside
// 0..kLast and when the mode's engine is missing.
int EffectiveMode(const I_PVXModel& m) {
    const int mode = m.m_nDisplayMode;
    if (!m.m_bResultDataReady || m.m_bInitializing || mode < 0 || mode > PVXMode::kLast) return PVXMode::kNone;
    return HasModeEngine(m, mode) ? mode : PVXMode::kNone;
}

// ---- memory-image rows -----------------------------------------------------------------------

void MemoryRow(Dispatch& d, int mode) {
    CForceEngine* F = d.F();
    switch (mode) {
    case PVXMode::kReaction:
    case PVXMode::kReactionContour:
        d.ReactionInit();
        d.ReactionBegin();
        if (d.R()->m_bDataReady) {
            d.ReactionPlotDraw();
            d.Numbers([&] { d.ReactionNumbers(); });
        } else {
            d.Plain();
        }
        d.ReactionEnd();
        d.ReactionPicked();
        break;
    case PVXMode::kDeformedShape:
    case PVXMode::kTimeHistory:
    case PVXMode::kDispContour:
    case PVXMode::kSlabDeflection:
    case PVXMode::kModeShape:
        if (d.DeformRowReady(mode)) d.DeformPlotWithNumbers();
        break;
    case PVXMode::kNodeDisp:
        d.UndeformedRow();
        d.DeformPicked();
        break;
    case PVXMode::kStoryShearRatio:
        if (!d.Deformed(F->m_bSSFRData)) break;
        d.Force(PVX_FORCE(DrawSSFRData));
        if (d.bNumbers) d.Force(PVX_FORCE(OutputSSFRData));
        break;
    case PVXMode::kFrameForceContour:
        if (!d.Deformed(F->m_bBForcData || F->m_bTForcData)) break;
        d.Force(PVX_FORCE(DrawBForcContour));
        d.Force(PVX_FORCE(DrawTForcContour));
        d.Numbers([&] {
            d.Force(PVX_FORCE(OutputBForcNumbers));
            d.Force(PVX_FORCE(OutputTForcNumbers));
        });
        break;
    case PVXMode::kFrameForceDiagram:
        if (!d.Deformed(F->m_bBForcData || F->m_bTForcData)) break;
        d.Force(PVX_FORCE(DrawBeamSfdBmd));
        d.Force(PVX_FORCE(DrawTrussSfdBmd));
        d.Numbers([&] { d.Force(PVX_FORCE(OutputTForcNumbers)); });
        break;
    case PVXMode::kWallForceContour:
    case PVXMode::kWallForceDiagram:
    case PVXMode::kPlateForce:
    case PVXMode::kPlateStress:
        if (ResultPlot(d, mode)) ResultNumbers(d, mode);
        break;
    case PVXMode::kSlabForce:
    case PVXMode::kSlabRebar:
    case PVXMode::kSlabCrack: {
        const Dispatch::SlabFamily& s = *Dispatch::Slab(mode);
        const bool perMember = (F->*s.unit) == 0;
        if (SlabPlot(d, s, perMember)) SlabNumbers(d, s, perMember);
        break;
    }
    case PVXMode::kSlabWall:
        if (!d.Deformed(F->m_bSWallBuilt)) break;
        d.Force(PVX_FORCE(DrawSWallContour));
        // The wall-end values are the result itself: queued here too, whatever the numbers
        // switch, as on the retained-geometry path.
        d.Force(PVX_FORCE(OutputSWallNumbers));
        break;
    case PVXMode::kSlabStrip:
    case PVXMode::kSlabForceBeam: {
        const bool perMember = F->m_nSForcUnit == 0;
        if (mode == PVXMode::kSlabForceBeam && perMember) {
            d.Force(PVX_FORCE(DrawSForcContourMemb));
            d.Numbers([&] { d.Force(PVX_FORCE(OutputSBForcNumbersMemb)); });
        } else if (d.Deformed(F->m_bCLForcData)) {
            // Without strip diagrams the plain model stands, whatever the granularity.
            d.Force(PVX_FORCE(DrawCLineSfdBmd));
        }
        break;
    }
    case PVXMode::kSettlement:
        d.InitDeform();
        d.DeformBegin();
        if (d.DeformBuilt()) {
            d.DeformPlotDraw();
            d.Numbers([&] { d.DeformNumbers(); });
        } else {
            d.Plain();
        }
        d.DeformEnd();
        break;
    default:
        d.Plain();
        break;
    }
}

// ---- retained-geometry rows --------------------------------------------------------------------

// Geometry part of a row, run only when the control asks for a rebuild, then the kept geometry
// drawn.
void Geometry(Dispatch& d, const std::function<void()>& part) {
    I_PVXCtrl* c = d.Ctrl();
    if (c->XGR_IsRebuildGeom()) {
        c->XGR_RemoveAllGeom();
        c->XGR_Begin_AddGeom();
        part();
        c->XGR_End_AddGeom();
        c->XGR_SetRebuildGeom(0);
    }
    c->XGR_RenderGeom();
}

void RetainedRow(Dispatch& d, int mode) {
    CForceEngine* F = d.F();
    auto deformPlot = [&] {
        d.DeformBegin();
        d.DeformPlotDraw();
        d.DeformEnd();
    };
    auto deformNumbers = [&] {
        d.Numbers([&] {
            d.DeformBegin();
            d.DeformNumbers();
            d.DeformEnd();
        });
    };
    switch (mode) {
    case PVXMode::kReaction:
    case PVXMode::kReactionContour:
        Geometry(d, [&] {
            d.ReactionInit();
            if (!d.R()->m_bDataReady) {
                d.Plain();
                return;
            }
            d.ReactionBegin();
            d.ReactionPlotDraw();
            d.ReactionEnd();
        });
        if (mode == PVXMode::kReaction) d.ReactionPicked();
        d.Numbers([&] {
            d.ReactionBegin();
            d.ReactionNumbers();
            d.ReactionEnd();
        });
        break;
    case PVXMode::kDeformedShape:
    case PVXMode::kTimeHistory:
    case PVXMode::kDispContour:
    case PVXMode::kSlabDeflection:
    case PVXMode::kModeShape:
        Geometry(d, [&] {
            if (d.DeformRowReady(mode)) deformPlot();
        });
        deformNumbers();
        break;
    case PVXMode::kNodeDisp:
        Geometry(d, [&] { d.UndeformedRow(); });
        d.DeformPicked();
        break;
    case PVXMode::kStoryShearRatio:
        Geometry(d, [&] {
            if (F->m_bSSFRData) d.Force(PVX_FORCE(DrawSSFRData));
            else d.Plain();
        });
        d.Numbers([&] { d.Force(PVX_FORCE(OutputSSFRData)); });
        break;
    case PVXMode::kFrameForceContour:
    case PVXMode::kFrameForceDiagram:
        Geometry(d, [&] {
            if (!d.Deformed(F->m_bBForcData || F->m_bTForcData)) return;
            if (mode == PVXMode::kFrameForceContour) d.Force(PVX_FORCE(DrawBForcContour));
            else d.Force(PVX_FORCE(DrawBeamSfdBmd));
        });
        if (mode == PVXMode::kFrameForceContour) d.Numbers([&] { d.Force(PVX_FORCE(OutputBForcNumbers)); });
        break;
    case PVXMode::kWallForceContour:
    case PVXMode::kWallForceDiagram:
    case PVXMode::kPlateForce:
    case PVXMode::kPlateStress:
        Geometry(d, [&] { ResultPlot(d, mode); });
        ResultNumbers(d, mode);
        break;
    case PVXMode::kSlabForce:
    case PVXMode::kSlabRebar:
    case PVXMode::kSlabCrack: {
        const Dispatch::SlabFamily& s = *Dispatch::Slab(mode);
        const bool perMember = (F->*s.unit) == 0;
        // Per-member numbers belong to the kept geometry, per-element numbers are drawn over it.
        Geometry(d, [&] {
            SlabPlot(d, s, perMember);
            if (perMember) SlabNumbers(d, s, perMember);
        });
        if (!perMember) SlabNumbers(d, s, perMember);
        break;
    }
    case PVXMode::kSlabWall:
        Geometry(d, [&] {
            if (d.Deformed(F->m_bSWallBuilt)) d.Force(PVX_FORCE(DrawSWallContour));
            // Wall numbers belong to the kept geometry and show whatever the numbers switch.
            PVXTempEnableGLVisibleCheck visible(d.Ctrl());
            d.Force(PVX_FORCE(OutputSWallNumbers));
        });
        break;
    case PVXMode::kSlabStrip:
    case PVXMode::kSlabForceBeam:
        Geometry(d, [&] { MemoryRow(d, mode); });
        break;
    case PVXMode::kSettlement:
        Geometry(d, [&] {
            d.InitDeform();
            if (!d.DeformBuilt()) d.Plain();
            else deformPlot();
        });
        deformNumbers();
        break;
    default:
        Geometry(d, [&] { d.Plain(); });
        break;
    }
}

#undef PVX_FORCE

// The wait cursor of the view for the time of a render.
class WaitCursorScope {
public:
    explicit WaitCursorScope(CView* pView) : m_pView(pView) {
        if (m_pView) m_pView->BeginWaitCursor();
    }
    ~WaitCursorScope() {
        if (m_pView) m_pView->EndWaitCursor();
    }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;

private:
    CView* m_pView;
};

// The overlays every draw ends with: annotations, the overlay queues, the active nodes.
void Overlays(I_PVXModel& m, CDC* pDC) {
    m.AnnotateContourValue(pDC);
    if (m.m_pDrawFuncArray) m.m_pDrawFuncArray->DrawAll(pDC, &m);
    if (m.m_pPVXCtrl && m.m_pPVXCtrl->IsDrawNode()) m.XGR_PVXPutActiveNodes(pDC);
}

// Invalidates the view once when a redraw was asked for.
void ConsumeRedrawRequest(I_PVXModel& m) {
    if (!m.m_bRedrawRequested) return;
    m.m_bInvalidated = 1;
    if (m.m_pView && m.m_pView->GetSafeHwnd()) m.m_pView->Invalidate(FALSE);
    m.m_bRedrawRequested = 0;
}

// The host shows a part of the model, or a beam envelope figure (35, 36), whose labels are all on
// the foundation beams however many storeys are active: its labels are kept off each other.
bool IsPartActive(const I_PVXModel& m) {
    const int figure = m.m_pFigure ? m.m_pFigure->m_nFigureMode : 0;
    return m.m_arrFlagMembKey.GetSize() < m.m_arrAllMembKey.GetSize() || figure == PVXMode::kDesignMoment ||
           figure == PVXMode::kDesignShear;
}

}  // namespace

// ---- the switch -------------------------------------------------------------------------------

void I_PVXModel::_PVXRender(CDC* pDC) {
    if (!pDC || !m_pPVXCtrl || !m_pDispOpt || !modelelements::HasElements(*this)) return;
    Dispatch d{*this, pDC, m_pDispOpt->m_Number.m_bShowNumbers};
    m_arrSymbolBoxes.clear();
    CPVXLabelSpacer::Use spacer(IsPartActive(*this));
    initContourValAnnot(pDC);
    // A design figure the host asked for takes the place of the display mode's row.
    if (!PaintDesignFigure(*this, pDC)) MemoryRow(d, EffectiveMode(*this));
    Overlays(*this, pDC);
    // Every memory-image draw runs the 3-D pass again, which queues its numbers again: what
    // was drawn goes, so that nothing is drawn twice and the queues do not grow render by render.
    if (m_pDrawFuncArray) m_pDrawFuncArray->ClearAll();
}

bool I_PVXModel::PVXRenderXGR() {
    if (m_bAnimation || !m_pPVXCtrl || !m_pDispOpt) return false;
    I_PVXCtrl* ctrl = m_pPVXCtrl;
    WaitCursorScope wait(m_pView);
    ctrl->ActiveGLRenderNode();
    struct Inactivate {
        I_PVXCtrl* c;
        ~Inactivate() { c->InactiveGLRenderNode(); }
    } inactivate{ctrl};

    if (ctrl->XGR_IsRebuildGeom()) {
        if (!(ctrl->IsAccumulateMode() && ctrl->IsCompleteRemoveAllGeomAtFirst())) {
            if (m_nDisplayMode != PVXMode::kSlabStrip)
                if (I_ModelBase* host = I_ModelBase::GetCurMySelfST()) host->PrepareGeomRebuild();
            if (m_pDrawFuncArray) m_pDrawFuncArray->ClearAll();
        }
        ctrl->XGR_SetRebuildGeom(1);
    }
    if (!m_pAttrCtrl || (m_pAttrCtrl->GetElemCount() <= 0 && m_pAttrCtrl->GetMembCount() <= 0)) return true;

    if (!ctrl->BeginDrawToMemDC(true)) return false;
    CDC* pDC = ctrl->GetMemDC();
    m_nPenFactor = printscale::PenFactorOf(pDC);
    m_bFirstRender = 0;
    bool bDrawn = true;
    {
        LineWidthScope widths(*this);
        Dispatch d{*this, pDC, m_pDispOpt->m_Number.m_bShowNumbers};
        CPVXLabelSpacer::Use spacer(IsPartActive(*this));
        initContourValAnnot(pDC);
        // A row drawn after the control left retained-geometry mode would draw into nothing kept.
        if (ctrl->IsXGRMode())
            RetainedRow(d, EffectiveMode(*this));
        else
            bDrawn = false;
        Overlays(*this, pDC);
        ctrl->EndDrawToMemDC(true);
        ConsumeRedrawRequest(*this);
        m_bFirstRender = 0;
    }
    return bDrawn;
}

void I_PVXModel::RenderImpl() {
    if (!m_pPVXCtrl || !m_pDispOpt) return;
    I_PVXCtrl* ctrl = m_pPVXCtrl;
    const int savedWire = m_pDispOpt->m_bWireFrame;
    if (ctrl->IsXGRMode()) {
        if (m_pAttrCtrl && m_pAttrCtrl->IsCurrentDBPostFloor()) m_pDispOpt->m_bWireFrame = 1;
        const bool drawn = PVXRenderXGR();
        m_pDispOpt->m_bWireFrame = savedWire;
        if (drawn) return;
    }

    // Memory image.
    const int bXGR = ctrl->IsXGRMode();
    ctrl->SetXGRMode(0);
    ctrl->XGR_SetRebuildGeom(0);
    {
        WaitCursorScope wait(m_pView);
        BackgroundClearInClientWnd();
        ctrl->ClearBuffer(m_pDispOpt->m_Color.m_crBackground, m_bAnimation);
        if (modelelements::HasElements(*this) && ctrl->BeginDrawToMemDC(false)) {
            CDC* pDC = ctrl->GetMemDC();
            m_nPenFactor = printscale::PenFactorOf(pDC);
            m_bFirstRender = 0;
            {
                LineWidthScope widths(*this);
                _PVXRender(pDC);
                ctrl->EndDrawToMemDC(false);
                ConsumeRedrawRequest(*this);
                m_bFirstRender = 0;
            }
        }
    }
    ctrl->SetXGRMode(bXGR);
}
