// PVXHost_ShowResult: the host program's stand-in for the result bars' execute step.
//
// It does for one display mode what a bar container's prepare member, its page and the execute
// step do to the current view's model: the bars' current mode and result id, the load selection,
// fresh engines of the mode's kind owned by the model with the settings the host passes, and the
// model's display switches. The host then lets the view paint. An engine that cannot draw yet is
// not kept: the model shows the plain model, and the report says which engine is missing.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/CPVXBarFramePages.h"
#include "module/bars/CPVXBarReacPage.h"
#include "module/bars/CPVXBarSRbar.h"
#include "module/bars/CPVXBarSStrip.h"
#include "module/bars/CPVXBarStrShrFrcRtio.h"
#include "module/bars/CPVXOptionDlgs.h"
#include "module/bars/SlabStripLines.h"
#include "module/contour/CLegendEngine.h"
#include "module/designdata/DesignFigurePaint.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/figures/CPVXFigure.h"
#include "module/force/CForceEngine.h"
#include "host/base/CMsgDll.h"
#include "host/base/PVXHostResult.h"
#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
#include "host/db/CPostCtrl.h"
#include "host/db/CSelectPostLC.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "module/model/T_PVX_DOPT_D.h"

namespace {

enum class EngineKind { kNone, kReaction, kDeformation, kForce, kStress };

EngineKind KindOfMode(int mode) {
    switch (mode) {
    case PVXMode::kReaction:
    case PVXMode::kReactionContour: return EngineKind::kReaction;
    case PVXMode::kDeformedShape:
    case PVXMode::kDispContour:
    case PVXMode::kNodeDisp:
    case PVXMode::kModeShape:
    case PVXMode::kSlabDeflection:
    case PVXMode::kTimeHistory:
    case PVXMode::kSettlement: return EngineKind::kDeformation;
    case PVXMode::kPlateStress: return EngineKind::kStress;
    default:
        if ((mode >= PVXMode::kStoryShearRatio && mode <= PVXMode::kPlateForce) ||
            (mode >= PVXMode::kSlabForce && mode <= PVXMode::kSlabForceBeam))
            return EngineKind::kForce;
        return EngineKind::kNone;
    }
}

const char* EngineName(EngineKind k) {
    switch (k) {
    case EngineKind::kReaction: return "reaction";
    case EngineKind::kDeformation: return "deformation (displacement)";
    case EngineKind::kForce: return "force";
    case EngineKind::kStress: return "principal stress";
    default: return "";
    }
}

// Where the engine of a mode reports its extremes.
const char* KeyKindOfMode(const I_PVXModel& m, int mode) {
    switch (KindOfMode(mode)) {
    case EngineKind::kReaction: {
        // Pressures (the reaction contour, or mode 0 drawn as one): the member holding the extreme.
        const bool bNodes = mode == PVXMode::kReaction && m.m_pReactionEngine &&
                            m.m_pReactionEngine->m_nDataKind != CReactionEngine::KIND_CONTOUR;
        return bNodes ? "node" : "member";
    }
    // Slab deflections are ranked over nodes too (per member the largest names its slab member);
    // settlement values belong to the host's settlement points.
    case EngineKind::kDeformation:
        if (mode == PVXMode::kSlabDeflection && m.m_pDeformEngine && m.m_pDeformEngine->m_nSlabDeflKind == 0)
            return "member";
        return mode == PVXMode::kSettlement ? "point" : "node";
    case EngineKind::kStress: return "element";
    default:
        // Slab-wall values belong to the wall members, story shears to the members carrying them.
        return (mode >= PVXMode::kFrameForceContour && mode <= PVXMode::kWallForceDiagram) ||
                       mode == PVXMode::kSlabWall || mode == PVXMode::kStoryShearRatio
                   ? "member"
                   : "element";
    }
}

void Copy(char* dst, size_t cap, const std::string& src) {
    std::snprintf(dst, cap, "%s", src.c_str());
}

// The engine that draws the mode, of those the model holds.
CEngineBase* ModeEngine(I_PVXModel& m, EngineKind k) {
    switch (k) {
    case EngineKind::kReaction: return m.m_pReactionEngine;
    case EngineKind::kDeformation: return m.m_pDeformEngine;
    case EngineKind::kForce: return m.m_pForceEngine;
    case EngineKind::kStress: return m.m_pStressEngine;
    default: return nullptr;
    }
}

// Force modes whose drawing passes are built: the frame force contour and diagrams, the wall
// force contours and diagrams, the plate forces, the slab forces and the slab forces on beams
// (per member, or per element the rib-beam diagrams).
bool ForceModeDraws(int mode) {
    using namespace PVXMode;
    return mode == kStoryShearRatio || mode == kFrameForceContour || mode == kFrameForceDiagram || mode == kWallForceContour ||
           mode == kWallForceDiagram || mode == kPlateForce || mode == kSlabForce || mode == kSlabRebar ||
           mode == kSlabCrack || mode == kSlabWall || mode == kSlabForceBeam || mode == kSlabStrip;
}

// Whether the engine draws the mode: the deformation and reaction engines draw through a plot
// engine, so one that makes none for a draw draws nothing. Of the force engine's passes those
// built so far draw; the principal stress engine draws itself.
bool EngineDraws(I_PVXModel& m, EngineKind k, int mode) {
    CEngineBase* e = ModeEngine(m, k);
    if (k == EngineKind::kForce) return e && ForceModeDraws(mode);
    if (k == EngineKind::kStress) return e != nullptr;
    if (!e) return false;
    CDC* pDC = m.m_pPVXCtrl ? m.m_pPVXCtrl->GetMemDC() : nullptr;
    if (!pDC || !e->BeginPlotEng(pDC)) return false;
    e->EndPlotEng();
    return true;
}

// Data-ready flag of the engine of the mode.
int DataReady(I_PVXModel& m, EngineKind k, int mode) {
    switch (k) {
    case EngineKind::kReaction: return m.m_pReactionEngine->m_bDataReady;
    case EngineKind::kDeformation: return m.m_pDeformEngine->m_bDataReady;
    case EngineKind::kStress: return m.m_pStressEngine->m_bDataReady;
    case EngineKind::kForce: {
        const CForceEngine& f = *m.m_pForceEngine;
        switch (mode) {
        case PVXMode::kStoryShearRatio: return f.m_bSSFRData;
        case PVXMode::kFrameForceContour:
        case PVXMode::kFrameForceDiagram: return f.m_bBForcData || f.m_bTForcData;
        case PVXMode::kWallForceContour:
        case PVXMode::kWallForceDiagram: return f.m_bWForcData;
        case PVXMode::kPlateForce: return f.m_bPForcData;
        case PVXMode::kSlabRebar: return f.m_bSRbarData;
        case PVXMode::kSlabCrack: return f.m_bSCracData;
        case PVXMode::kSlabWall: return f.m_bSWallBuilt;
        case PVXMode::kSlabStrip: return f.m_bCLForcData;
        case PVXMode::kSlabForceBeam: return f.m_nSForcUnit == 1 ? f.m_bCLForcData : f.m_bSForcData;
        default: return f.m_bSForcData;
        }
    }
    default: return 0;
    }
}

// Number of linear load combinations of the project: the combinations of the slab reinforcement
// page's load list.
int LinearCombCount(I_PVXModel& m) {
    CDBDoc* pDoc = m.GetDBDoc();
    CDataBase* pDB = pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr;
    if (!pDB) return 0;
    CClassPLcom combs;
    combs.ConnectToDB(pDB);
    CArray<UINT, UINT> keys;
    combs.GetKeyList(keys);
    int n = 0;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PLCOM_D rec;
        if (combs.Get(keys[i], rec) && !CClassPLcom::IsMaxMinComb(rec)) ++n;
    }
    return n;
}

// The slab reinforcement page's unit, faces and combination count, the crack granularity and the
// slab wall page's cut width and value; false for another key or a width that is no length.
bool SlabRebarSetting(CForceEngine& f, const std::string& name, int n, double x) {
    if (name == "rebar-unit") f.m_nSRbarUnit = n;
    else if (name == "crack-unit") f.m_nSCracUnit = n;
    else if (name == "rebar-top") f.m_bSRbarTop = n;
    else if (name == "rebar-bottom") f.m_bSRbarBottom = n;
    else if (name == "rebar-combinations") f.m_nSRbarType10Count = n;
    else if (name == "wall-value") f.m_nSWallComp = n;
    else if (name == "wall-width" && x > 0.0) f.m_dSWallWidth = x;
    else return false;
    return true;
}

// The component selector of the engine that draws the mode; null when the model has no such
// engine.
int* ComponentOf(I_PVXModel& m, int mode) {
    const EngineKind k = KindOfMode(mode);
    if (!ModeEngine(m, k)) return nullptr;
    switch (k) {
    case EngineKind::kReaction: return &m.m_pReactionEngine->m_nComponent;
    case EngineKind::kDeformation: return &m.m_pDeformEngine->m_nComponent;
    case EngineKind::kStress: return &m.m_pStressEngine->m_nComponent;
    case EngineKind::kForce: {
        CForceEngine& f = *m.m_pForceEngine;
        if (mode == PVXMode::kFrameForceContour || mode == PVXMode::kFrameForceDiagram) return &f.m_nBForcComp;
        if (mode == PVXMode::kWallForceContour || mode == PVXMode::kWallForceDiagram) return &f.m_nWForcComp;
        if (mode == PVXMode::kPlateForce) return &f.m_nPForcComp;
        if (mode == PVXMode::kStoryShearRatio) return &f.m_nSSFROutput;
        return &f.m_nSForcComp;
    }
    default: return nullptr;
    }
}

// One setting of the host applied to the model or its engine; false when nothing here takes it.
bool ApplySetting(I_PVXModel& m, EngineKind k, int mode, const char* key, const char* value) {
    const std::string name = key ? key : "";
    const int n = value ? std::atoi(value) : 0;
    const double x = value ? std::atof(value) : 0.0;
    T_PVX_DOPT_D* opt = m.m_pDispOpt;
    if (name == "contour") {
        m.m_bContour = n;
        return true;
    }
    if (name == "numbers" && opt) {
        opt->m_Number.m_bShowNumbers = n;
        // The wall pages' two number boxes follow their values box.
        if (k == EngineKind::kForce && (mode == PVXMode::kWallForceContour || mode == PVXMode::kWallForceDiagram))
            m.m_pForceEngine->m_bWColmNumber = m.m_pForceEngine->m_bWBeamNumber = n;
        return true;
    }
    if (name == "legend" && opt) {
        opt->m_Legend.m_bShowLegend = n;
        return true;
    }
    if (name == "undeformed" && opt) {
        opt->m_bUndeformedWireFrame = n;
        return true;
    }
    if (name == "component") {
        int* pComponent = ComponentOf(m, mode);
        if (pComponent) *pComponent = n;
        return pComponent != nullptr;
    }
    if (name == "angle" && k == EngineKind::kForce && mode == PVXMode::kStoryShearRatio) {
        m.m_pForceEngine->m_dSSFRAngle = x;
        return true;
    }
    if (name == "scale" && k == EngineKind::kDeformation) {
        m.m_pDeformEngine->m_dUserScale = x;
        return true;
    }
    if (k == EngineKind::kReaction) {
        // The reaction pages: the arrow size factor, the data kind their Prepare member sets and
        // the contour page's member kind.
        CReactionEngine& e = *m.m_pReactionEngine;
        if (name == "scale") {
            // Checked against the page's range before the settings are taken.
            e.m_dArrowScale = x;
            return true;
        }
        if (name == "data-kind") {
            e.m_nDataKind = n;
            return true;
        }
        if (name == "member-kind") {
            e.m_nMembKind = n;
            return true;
        }
    }
    if (name == "node" && n > 0) {
        if (k == EngineKind::kDeformation) m.m_pDeformEngine->m_arrPickedNode.Add(static_cast<UINT>(n));
        else if (k == EngineKind::kReaction) m.m_pReactionEngine->m_arrPickedNode.Add(static_cast<UINT>(n));
        else return false;
        return true;
    }
    if (k == EngineKind::kStress) {
        CStressEngine& e = *m.m_pStressEngine;
        if (name == "surface" && n >= 0 && n <= 3) {
            e.m_nSurface = n;
            return true;
        }
        if (name == "vector-scale") {
            e.m_dVectorScale = x;
            return true;
        }
        if (name == "number-position") {
            e.m_nNumberPos = n;
            return true;
        }
    }
    if (name == "cut") {
        // A cutting line of the project for this drawing, selected, and the engine builds and
        // draws the cutting-line diagrams.
        CEngineBase* e = ModeEngine(m, k);
        double v[4];
        if (!e || !value || std::sscanf(value, "%lf , %lf , %lf , %lf", &v[0], &v[1], &v[2], &v[3]) != 4)
            return false;
        const double p1[3] = {v[0], v[1], 0.0}, p2[3] = {v[2], v[3], 0.0};
        if (!CPVXCutLineDetDlg::AddSelectedLine(CPVXCutLineDetDlg::ProposeNameInTable(), p1, p2)) return false;
        e->m_bCuttingLine = 1;
        return true;
    }
    if (name == "fill" && k == EngineKind::kForce && n >= 0 && n <= 2) {
        // The frame-force page's fill type as the engine's pair of switches: outline (1, 0),
        // line fill (1, 1), full fill (0, 1).
        m.m_pForceEngine->m_bBSfdBmdLine = n < 2 ? 1 : 0;
        m.m_pForceEngine->m_bBSfdBmdFill = n > 0 ? 1 : 0;
        return true;
    }
    if (k == EngineKind::kForce && (name == "unit" || name == "positive" || name == "negative")) {
        // The slab force page: granularity and the sides shown.
        CForceEngine& f = *m.m_pForceEngine;
        (name == "unit" ? f.m_nSForcUnit : name == "positive" ? f.m_bSForcPos : f.m_bSForcNeg) = n;
        return true;
    }
    if (k == EngineKind::kForce && (mode == PVXMode::kSlabForceBeam || mode == PVXMode::kSlabStrip)) {
        // The rib and strip diagrams' force (0 moment, 1 shear) and their width lines.
        CForceEngine& f = *m.m_pForceEngine;
        if (name == "strip-force" && (n == 0 || n == 1)) {
            f.m_nCLForcComp = n;
            return true;
        }
        if (name == "width-lines") {
            f.m_bCLShowWidth = n;
            return true;
        }
    }
    if (name == "minmax" && k == EngineKind::kForce) {
        // Both sides of an envelope as two diagrams (the frame diagram page's min/max box).
        m.m_pForceEngine->m_bMinMaxDiagram = n;
        return true;
    }
    if (name == "deformed" && k == EngineKind::kForce) {
        m.m_pForceEngine->m_bDeformed = n;
        return true;
    }
    if (name == "deformed" && k == EngineKind::kStress) {
        m.m_pStressEngine->m_bDeformed = n;
        return true;
    }
    if (name == "columns" && k == EngineKind::kForce) {
        // The member bar's column box: columns read into the frame lists, or drawn plain.
        m.m_pForceEngine->m_bShowColumn = n;
        return true;
    }
    if (name == "line-members" && opt) {
        opt->m_bWireFrame = n;
        return true;
    }
    if (k == EngineKind::kForce && SlabRebarSetting(*m.m_pForceEngine, name, n, x)) return true;
    if (name == "deflection-kind" && k == EngineKind::kDeformation) {
        m.m_pDeformEngine->m_nSlabDeflKind = n;
        return true;
    }
    if (k == EngineKind::kDeformation) {
        // The deformation pages: contour on the deformed shape, exact beam curves, the time
        // step and quantity of the time history.
        CDeformEngine& e = *m.m_pDeformEngine;
        if (name == "deformed") {
            e.m_bDeformed = n;
            return true;
        }
        if (name == "exact") {
            e.m_bExactBeamRange = n;
            return true;
        }
        if (name == "step" && n >= 0) {
            e.m_nTimeStep = n;
            return true;
        }
        if (name == "quantity" && n >= 0 && n <= 2) {
            e.m_nTHKind = n;
            return true;
        }
    }
    return false;
}

// The model's decimals a mode's numbers take, as its page picks them: displacements for the
// deformation displays; moments for the reaction moments (components 4 to 7) and for the moment
// codes of the frame-force contour; forces for every other number (the frame diagrams, walls,
// slab pages and stresses).
int& NumberDecimals(I_PVXModel& m, EngineKind k, int mode) {
    if (k == EngineKind::kDeformation) return m.m_nDispDecimals;
    if (k == EngineKind::kReaction && m.m_pReactionEngine)
        return m.*CPVXBarReacPage::ReactionDecimals(m.m_pReactionEngine->m_nComponent);
    if (mode == PVXMode::kFrameForceContour && m.m_pForceEngine && CPVXBarBForc::IsMomentCode(m.m_pForceEngine->m_nBForcComp))
        return m.m_nMomentDecimals;
    return m.m_nForceDecimals;
}

// The model's engines for the mode, as the execute step hands them over.
void MakeEngines(I_PVXModel& m, EngineKind k) {
    m.ResetEngines();
    if (k == EngineKind::kReaction) {
        m.m_pReactionEngine = new CReactionEngine(&m);
        return;
    }
    m.m_pDeformEngine = new CDeformEngine(&m);
    if (k == EngineKind::kForce) m.m_pForceEngine = new CForceEngine(&m);
    if (k == EngineKind::kStress) m.m_pStressEngine = new CStressEngine(&m);
}

void InitEngines(I_PVXModel& m, int mode) {
    if (m.m_pDeformEngine) m.m_pDeformEngine->InitEngine();
    if (m.m_pForceEngine) m.m_pForceEngine->InitEngine(m.m_pDeformEngine, mode);
    if (m.m_pReactionEngine) m.m_pReactionEngine->InitEngine(m.m_pDeformEngine, mode);
    if (m.m_pStressEngine) m.m_pStressEngine->InitEngine(m.m_pDeformEngine, mode);
}

// The value as the legend of the mode writes it.
std::string LegendText(I_PVXModel& m, int mode, double v) {
    char buf[64] = {0};
    CLegendEngine& lg = m.m_LegendEngine;
    if (mode == PVXMode::kReaction) {
        lg.GetTextReaction(v, buf);
        return buf;
    }
    if (mode == PVXMode::kDeformedShape || mode == PVXMode::kModeShape) {
        lg.GetTextDeformedShape(v, buf);
        return buf;
    }
    return lg.GetContValueText(v).GetString();
}

// The load kinds the load list of the mode's page offers.
DWORD PageLoadMask(int mode) {
    switch (mode) {
    case PVXMode::kSlabForce: case PVXMode::kSlabWall: case PVXMode::kSlabForceBeam:
        return CPVXBarSlabPage::kSlabLoadMask;
    case PVXMode::kSlabRebar: return CPVXBarSRbar::kRebarLoadMask;
    case PVXMode::kSlabCrack: return 0;  // no page lists its loads: the type asked for stands
    case PVXMode::kSlabStrip: return CPVXBarSStrip::kLoadMask;
    case PVXMode::kStoryShearRatio: return CPVXBarStrShrFrcRtio::kLoadMask;
    default: return T_PVX_BAR_INFO::kLoadTypeMask;
    }
}

// A linear combination (load types 9 to 11) as the mode's page lists it, so that the engines read
// it as they do when the page shows it; other loads as given.
UINT PageLoadType(int mode, UINT type) {
    if (type < 9 || type > 11) return type;
    const UINT listed = CSelectLCBase::CombinationLoadType(PLCOM_LINEAR, PageLoadMask(mode));
    return listed ? listed : type;
}

int Finish(PVXHostResultReport* pRep, int status, const std::string& message) {
    pRep->nStatus = status;
    Copy(pRep->szMessage, sizeof pRep->szMessage, message);
    return status;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int PVXHost_ShowResult(I_PVXModelBase* pBase,
                                                                          const PVXHostResultRequest* pReq,
                                                                          PVXHostResultReport* pRep) {
    if (!pRep) return PVXHOST_BAD_REQUEST;
    std::memset(pRep, 0, sizeof *pRep);
    I_PVXModel* pModel = dynamic_cast<I_PVXModel*>(pBase);
    if (!pModel || !pReq) return Finish(pRep, PVXHOST_BAD_REQUEST, "the view has no result model");
    I_PVXModel& m = *pModel;
    const int mode = pReq->nMode;
    const EngineKind kind = KindOfMode(mode);
    if (kind == EngineKind::kNone)
        return Finish(pRep, PVXHOST_BAD_REQUEST, "display mode " + std::to_string(mode) + " has no result engine");
    Copy(pRep->szEngine, sizeof pRep->szEngine, EngineName(kind));

    // The bars' state and the load selection.
    CPVXBarContainerBase::m_nCurrentMode = mode;
    CPVXBarContainerBase::m_nCurrentTMMode = pReq->nResultId;
    m.m_nBarDisplayMode = mode;
    m.m_nLoadType = PageLoadType(mode, pReq->nLoadType);
    m.m_nLoadKey = pReq->nLoadKey;
    m.m_nLoadStep = pReq->nLoadStep;
    m.m_strLoadName = pReq->pszLoadName ? pReq->pszLoadName : "";
    if (mode == PVXMode::kModeShape) m.m_nCurEigenMode = static_cast<int>(pReq->nLoadKey);
    if (mode == PVXMode::kTimeHistory) m.m_nTHCaseKey = pReq->nLoadKey;
    m.m_bLoadSelected = 1;
    m.SelectLoad();
    if (!m.m_bResultDataReady) {
        m.m_nDisplayMode = PVXMode::kNone;
        return Finish(pRep, PVXHOST_NO_RESULTS, std::string("the host cannot select the load \"") + m.m_strLoadName.GetString() + "\"");
    }

    // A scale the page's own check refuses is refused with the page's message.
    for (int i = 0; i < pReq->nSettings; ++i) {
        const char* key = pReq->ppszKeys ? pReq->ppszKeys[i] : nullptr;
        const char* value = pReq->ppszValues ? pReq->ppszValues[i] : nullptr;
        if (!key || !value || std::strcmp(key, "scale") != 0) continue;
        double d = 0.0;
        const char* refusal = kind == EngineKind::kReaction && !CPVXBarReacPage::ParseScale(value, d)
                                  ? "IDS_TBX_PVX_Scale_Factor_Invalid_Abs10"
                              : kind == EngineKind::kDeformation && !CPVXDefDetDlg::ParseScale(value, d)
                                  ? CPVXDefDetDlg::kScaleRefusal
                                  : nullptr;
        if (refusal) return Finish(pRep, PVXHOST_BAD_REQUEST, CMsgDll::pfuncLoadStr(refusal, 0).GetString());
    }

    // Fresh engines with the settings of the mode.
    MakeEngines(m, kind);
    // The slab reinforcement page counts the combinations of its load list.
    if (mode == PVXMode::kSlabRebar && m.m_pForceEngine) m.m_pForceEngine->m_nSRbarType10Count = LinearCombCount(m);
    // The crack envelope runs over the same combinations.
    if (mode == PVXMode::kSlabCrack && m.m_pForceEngine) m.m_pForceEngine->m_nSCracLcomCount = LinearCombCount(m);
    std::string unused;
    int nDecimals = -1, nExponent = -1;  // given by the host, else -1
    for (int i = 0; i < pReq->nSettings; ++i) {
        const char* key = pReq->ppszKeys ? pReq->ppszKeys[i] : nullptr;
        const char* value = pReq->ppszValues ? pReq->ppszValues[i] : nullptr;
        if (key && value && std::strcmp(key, "decimals") == 0) nDecimals = std::clamp(std::atoi(value), 0, 15);
        else if (key && value && std::strcmp(key, "exponent") == 0) nExponent = std::atoi(value) ? 1 : 0;
        else if (!ApplySetting(m, kind, mode, key, value)) unused += std::string(unused.empty() ? "" : ", ") + (key ? key : "");
    }

    // As a page's Apply: the numbers take the model's decimals of their kind, and decimals given
    // here become the model's; the exponent switch goes to the model's copy as the number dialog
    // writes it.
    if (T_PVX_DOPT_D* opt = m.m_pDispOpt) {
        int& decimals = NumberDecimals(m, kind, mode);
        if (nDecimals >= 0) decimals = nDecimals;
        opt->m_Number.m_nDecimals = decimals;
        if (nExponent >= 0) m.m_bExponent = nExponent;
        opt->m_Number.m_bExponent = m.m_bExponent;
    }

    // The frame-force page's number positions: one number per member at its maximum, or with the
    // all position numbers at both ends and mid-span.
    if (CForceEngine* f = m.m_pForceEngine) {
        if (f->m_bNumAtMax) f->m_bNumIEnd = f->m_bNumMiddle = f->m_bNumJEnd = 0;
        else if (f->m_bNumAtAll) f->m_bNumIEnd = f->m_bNumMiddle = f->m_bNumJEnd = 1;
    }

    // The slab force page: one side at least stays shown, and an envelope runs over the linear
    // combinations the page lists (counted as it counts its items of load type 10).
    if (CForceEngine* f = m.m_pForceEngine) {
        if (!f->m_bSForcPos && !f->m_bSForcNeg) f->m_bSForcPos = 1;
        f->m_nSForcLcomCount = 0;
        if (CDBDoc* pDoc = m.GetDBDoc(); pDoc && m.m_nLoadType == 12)
            while (pDoc->GetPostCtrl()->GetLoadCombKeyByNumber(10, static_cast<UINT>(f->m_nSForcLcomCount + 1)))
                ++f->m_nSForcLcomCount;
    }

    // The strip page's list starts with every strip of the project checked.
    if (mode == PVXMode::kSlabStrip && m.m_pForceEngine) {
        CDBDoc* pDoc = m.GetDBDoc();
        m.m_pForceEngine->m_arrStripInfo.RemoveAll();
        for (auto& s : slabstrip::ReadStrips(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr))
            m.m_pForceEngine->m_arrStripInfo.Add(s.first);
    }
    if (!EngineDraws(m, kind, mode)) {
        m.ResetEngines();
        m.m_nDisplayMode = PVXMode::kNone;
        return Finish(pRep, PVXHOST_NOT_BUILT, std::string("the ") + EngineName(kind) + " engine is not built yet");
    }
    m.m_nDisplayMode = mode;
    InitEngines(m, mode);
    if (!DataReady(m, kind, mode)) {
        m.ResetEngines();
        m.m_nDisplayMode = PVXMode::kNone;
        return Finish(pRep, PVXHOST_NO_RESULTS,
                      std::string("the ") + EngineName(kind) + " engine found no results for \"" +
                          m.m_strLoadName.GetString() + "\"");
    }
    // As the bars' execute step: the legend panel takes its margin of the view, and the model is
    // fitted again beside it.
    m.ResetLegendRectAndFit();
    return Finish(pRep, PVXHOST_DRAWN, unused.empty() ? "" : "settings not taken by the " + std::string(EngineName(kind)) +
                                                                  " engine yet: " + unused);
}

namespace {

// Why the display of the mode has no values, or "" when it has some (or cannot tell).
std::string NoValuesReason(const I_PVXModel& m, int mode) {
    if (m.CountShownValues(mode) != 0) return "";
    const std::string load = std::string("\"") + m.m_strLoadName.GetString() + "\"";
    const CDeformEngine* d = m.m_pDeformEngine;
    switch (mode) {
    case PVXMode::kSlabRebar:
    case PVXMode::kSlabCrack:
        if (m.m_pForceEngine && (mode == PVXMode::kSlabRebar ? m.m_pForceEngine->m_nSRbarUnit : m.m_pForceEngine->m_nSCracUnit) == 1)
            return std::string(mode == PVXMode::kSlabRebar ? "the slab reinforcement" : "the slab crack") +
                   " display has no values for " + load +
                   " (per element it shows the raft element design of a design combination or their envelope)";
        return "the slab crack display has no values (the project holds no crack widths)";
    case PVXMode::kSlabDeflection:
        if (m.m_nLoadType == 12 && d && d->m_nLcomCount < 1)
            return "the slab deflection display has no values for " + load +
                   " (its envelope runs over the deflection combinations the page counts, and none are counted)";
        return "the slab deflection display has no values for " + load + " (no slab or raft node has a displacement)";
    case PVXMode::kFrameForceContour:
    case PVXMode::kFrameForceDiagram:
        return "the frame force display has no values for " + load +
               " (no beam, column or brace it takes has forces: see the bar's member kinds)";
    case PVXMode::kPlateForce:
    case PVXMode::kPlateStress:
        return std::string(mode == PVXMode::kPlateForce ? "the plate force" : "the principal stress") +
               " display has no values for " + load +
               " (no T-girder or wall member it takes has plate results: see the bar's member kinds)";
    case PVXMode::kWallForceContour:
    case PVXMode::kWallForceDiagram: return "the wall force display has no values for " + load + " (no wall has forces)";
    case PVXMode::kSlabStrip: return "the slab strip display has no values for " + load + " (no strip is chosen)";
    case PVXMode::kSlabWall:
        return "the slab wall display has no values for " + load + " (no wall chosen for the cuts has slab forces)";
    default: return "the display has no values for " + load;
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int PVXHost_GetResultExtremes(I_PVXModelBase* pBase,
                                                                                 PVXHostResultReport* pRep) {
    if (!pRep) return 0;
    pRep->bExtremes = 0;
    I_PVXModel* pModel = dynamic_cast<I_PVXModel*>(pBase);
    if (!pModel) return 0;
    I_PVXModel& m = *pModel;
    const int mode = m.m_nDisplayMode;
    const CEngineBase* pEngine = ModeEngine(m, KindOfMode(mode));
    if (!pEngine || !m.m_bResultDataReady) return 0;
    // Slab reinforcement per member has no single range: its legend gives the top and the bottom
    // maxima apart, each with its own member.
    if (mode == PVXMode::kSlabRebar && m.m_pForceEngine && m.m_pForceEngine->m_nSRbarUnit == 0) return 0;
    // A display that gathered no value has no extremes: the reason instead of a range of nothing.
    const std::string why = NoValuesReason(m, mode);
    if (!why.empty()) {
        Copy(pRep->szMessage, sizeof pRep->szMessage, "no extremes: " + why);
        return 1;
    }
    pRep->bExtremes = 1;
    pRep->dMax = pEngine->m_dLegendMax;
    pRep->dMin = pEngine->m_dLegendMin;
    // Per-member slab forces (also on beams) range over the members' side moments.
    const bool bSlabMembers = (mode == PVXMode::kSlabForce || mode == PVXMode::kSlabForceBeam) && m.m_pForceEngine &&
                              m.m_pForceEngine->m_nSForcUnit == 0;
    if (bSlabMembers) {
        pRep->dMax = m.m_pForceEngine->m_dSMembMax;
        pRep->dMin = m.m_pForceEngine->m_dSMembMin;
    }
    pRep->nMaxKey = m.m_nMaxKey;
    pRep->nMinKey = m.m_nMinKey;
    // Slab deflection per member names the member of its largest value only; the smallest keeps
    // the node of the node ranking, which is no member, so it is printed without a place.
    if (mode == PVXMode::kSlabDeflection && std::strcmp(KeyKindOfMode(m, mode), "member") == 0) pRep->nMinKey = 0;
    Copy(pRep->szKeyKind, sizeof pRep->szKeyKind, bSlabMembers ? "member" : KeyKindOfMode(m, mode));
    Copy(pRep->szMax, sizeof pRep->szMax, LegendText(m, mode, pRep->dMax));
    Copy(pRep->szMin, sizeof pRep->szMin, LegendText(m, mode, pRep->dMin));
    return 1;
}

// Whether the display writes values: the numbers switch, or the slab wall display, which writes
// its wall-end values whatever the switch.
static bool ShownWithValues(const I_PVXModel& m) {
    return (m.m_pDispOpt && m.m_pDispOpt->m_Number.m_bShowNumbers) ||
           (m.m_bResultDataReady && m.m_nDisplayMode == PVXMode::kSlabWall && m.m_pForceEngine &&
            m.m_pForceEngine->m_bSWallBuilt);
}

extern "C" __attribute__((visibility("default"))) int PVXHost_GetShownResult(I_PVXModelBase* pBase,
                                                                              PVXHostShownResult* pShown) {
    I_PVXModel* pModel = dynamic_cast<I_PVXModel*>(pBase);
    if (!pShown || !pModel) return 0;
    I_PVXModel& m = *pModel;
    *pShown = PVXHostShownResult{};
    pShown->nMode = m.m_bResultDataReady ? m.m_nDisplayMode : -1;
    const int* pComponent = ComponentOf(m, m.m_nDisplayMode);
    pShown->nComponent = pComponent ? *pComponent : -1;
    pShown->bNumbers = ShownWithValues(m) ? 1 : 0;
    Copy(pShown->szLoad, sizeof pShown->szLoad, m.m_strLoadName.GetString());
    pShown->nLoadStep = m.m_nLoadType == 12 ? m.m_nLoadStep : 0;
    pShown->bBothSides = pShown->nLoadStep && m.m_pForceEngine && m.m_pForceEngine->m_bMinMaxDiagram ? 1 : 0;
    return 1;
}

extern "C" __attribute__((visibility("default"))) int PVXHost_FitResultTexts(I_PVXModelBase* pBase,
                                                                              PVXHostTextFit* pFit) {
    I_PVXModel* pModel = dynamic_cast<I_PVXModel*>(pBase);
    if (!pFit || !pModel || !pModel->m_pPVXCtrl) return 0;
    I_PVXModel& m = *pModel;
    // Painted as the picture will be: a metafile writes its member numbers turned along them.
    const int bMetafile = pFit->bMetafile;
    const auto render = [&m, bMetafile](CDC* pDC) {
        const int bSaved = m.m_bExternalDevice;
        m.m_bExternalDevice = bMetafile;
        m._PVXRender(pDC);
        m.m_bExternalDevice = bSaved;
    };
    // A design figure writes its labels whatever the number switch.
    if (m.m_pDesignData && m.m_pFigure && IsDesignFigureMode(m.m_pFigure->m_nFigureMode)) {
        FitDesignFigureTexts(m, *pFit, render);
    } else {
        // A result without numbers writes no texts to fit: a large model is not painted for nothing.
        if (!ShownWithValues(m)) return 0;
        FitAndMeasureViewTexts(m, [&render](CDC* pDC) {
            render(pDC);
            return 1;
        }, *pFit);
    }
    pFit->bMetafile = bMetafile;
    return 1;
}

extern "C" __attribute__((visibility("default"))) int PVXHost_ShowsStoreyNumbers(I_PVXModelBase* pBase) {
    const I_PVXModel* pModel = dynamic_cast<I_PVXModel*>(pBase);
    if (!pModel || !pModel->m_pDispOpt || !pModel->m_bResultDataReady || !pModel->m_pDispOpt->m_Number.m_bShowNumbers)
        return 0;
    const int mode = pModel->m_nDisplayMode;
    return mode > PVXMode::kNone && mode != PVXMode::kReaction && mode != PVXMode::kSettlement &&
           mode != PVXMode::kReactionContour;
}
