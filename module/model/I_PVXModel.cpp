#include "module/model/I_PVXModel.h"

#include <algorithm>
#include <new>
#include <vector>

#include "module/designdata/CFigureDesignData.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/engines/CBeamDiagram_PVX.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/figures/CPVXFigure.h"
#include "module/force/CForceEngine.h"
#include "module/graphs/CGraphWnd.h"
#include "module/graphs/CPVXMultiGraphView.h"
#include "host/base/I_MainFrameBase.h"
#include "host/base/I_ModelBase.h"
#include "host/db/CDBDoc.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "module/model/PVXDataCtrls.h"
#include "module/model/PVXModes.h"
#include "module/resources/PVXResourceIds.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/uidefs.h"

I_PVXModel* I_PVXModel::m_pMyself = nullptr;
int I_PVXModel::nNumOfPVXModel = 0;
CPVXCutLineDetDlg* I_PVXModel::m_pCutLineDetDlg = nullptr;
CGraphWnd I_PVXModel::m_TFuncWnd;
int I_PVXModel::m_bShowMesh = 0;

namespace {

// Every live model, oldest first: the current model falls back to the newest survivor. A model
// held by a static of the program may die at exit after the list: the list is then gone (null),
// told by a flag that needs no destructor.
bool g_bLiveModelsGone = false;
struct LiveModelList {
    std::vector<I_PVXModel*> models;
    ~LiveModelList() { g_bLiveModelsGone = true; }
};
std::vector<I_PVXModel*>* LiveModels() {
    static LiveModelList s_list;
    return g_bLiveModelsGone ? nullptr : &s_list.models;
}

// Result ids of the bar pages and the display mode each page shows, in page order.
struct ResultPage {
    int nResultId;
    int nDisplayMode;
};
constexpr ResultPage kResultPages[] = {
    {PVXResult::kReacPile, PVXMode::kReaction},
    {PVXResult::kReacContour, PVXMode::kReactionContour},
    {PVXResult::kReacReverse, PVXMode::kReaction},
    {PVXResult::kDeform, PVXMode::kDeformedShape},
    {PVXResult::kSettlement, PVXMode::kSettlement},
    {PVXResult::kModeShape, PVXMode::kModeShape},
    {PVXResult::kDispContour, PVXMode::kDispContour},
    {PVXResult::kNodeDisp, PVXMode::kNodeDisp},
    {PVXResult::kBeamForce, PVXMode::kFrameForceContour},
    {PVXResult::kBeamDiagram, PVXMode::kFrameForceDiagram},
    {PVXResult::kSlabForce, PVXMode::kSlabForce},
    {PVXResult::kSlabForceBeam, PVXMode::kSlabForceBeam},
    {PVXResult::kWallForce, PVXMode::kWallForceContour},
    {PVXResult::kWallDiagram, PVXMode::kWallForceDiagram},
    {PVXResult::kPlateForce, PVXMode::kPlateForce},
    {PVXResult::kPlateStress, PVXMode::kPlateStress},
    {PVXResult::kSlabWall, PVXMode::kSlabWall},
    {PVXResult::kSlabStrip, PVXMode::kSlabStrip},
    {PVXResult::kStoryShear, PVXMode::kStoryShearRatio},
    {PVXResult::kSlabRebar, PVXMode::kSlabRebar},
};

// The bars' editing engine, when it is of the kind the bar display mode needs.
template <class T>
T* BarEngineOfKind() {
    return dynamic_cast<T*>(CPVXBarContainerBase::m_pCurrentEngine);
}

// Empties and deletes every owned item of an array of pointers, then empties the array.
template <class TList, class Empty>
void DeleteOwnedItems(TList* pList, Empty empty) {
    if (!pList) return;
    for (INT_PTR i = 0; i < pList->GetSize(); ++i) {
        auto* p = pList->GetAt(i);
        if (p) empty(*p);
        delete p;
    }
    pList->SetSize(0);
}

}  // namespace

// ---- construction and destruction ------------------------------------------------------------

I_PVXModel::I_PVXModel()
    : m_pPostCtrl(nullptr),
      m_pAttrCtrl(nullptr),
      m_pGeomCtrl(nullptr),
      m_pDeformEngine(nullptr),
      m_pForceEngine(nullptr),
      m_pReactionEngine(nullptr),
      m_pStressEngine(nullptr),
      m_pPVXCtrl(nullptr),
      m_pView(nullptr),
      m_pDBDoc(nullptr),
      m_pMDBCtrl(nullptr),
      m_pFigure(nullptr),
      m_pDrawFuncArray(nullptr),
      m_pBeamDiagram(nullptr),
      m_bOriginalRegistered(0),
      m_bDeformedRegistered(0),
      m_nObjectIDFirst(0),
      m_nObjectIDLast(0),
      m_nNodeIDFirst(0),
      m_nNodeIDLast(0),
      m_bActivated(0),
      m_bApplyOnOK(0),
      m_bRedrawRequested(0),
      m_bInvalidated(0),
      m_bInitializing(0),
      m_bContour(0),
      m_bModeShape(0),
      m_bModeShapeContour(0),
      m_bRebuildMBR(0),
      m_bAnimation(0),
      m_bGradient(0),
      m_bExternalDevice(0),
      m_bSecondTarget(0),
      m_bFirstRender(0),
      m_bContourAnnot(0),
      m_bFigureMode(0),
      m_bFigurePanel(0),
      m_b2DDiagram(0),
      m_bFaceFill(0),
      m_bResultDrawing(0),
      m_bExportMetafile(0),
      m_bRendering(0),
      m_bAmplitudeOff(0),
      m_bCForcList(0),
      m_bDeformedShape(0),
      m_bExponent(0),
      m_nDispDecimals(3),
      m_nForceDecimals(3),
      m_nMomentDecimals(3),
      m_bDeformedHeld(0),
      m_nDisplayMode(PVXMode::kNone),
      m_nBarDisplayMode(PVXMode::kNone),
      m_bResultDataReady(0),
      m_bLoadSelected(0),
      m_bResultPresent(0),
      m_nLoadType(1),
      m_nLoadStep(0),
      m_nLoadKey(1),
      m_nStorySelect(0),
      m_nTHCaseKey(0),
      m_nCurEigenMode(1),
      m_nMaxKey(1),
      m_nMinKey(1),
      m_pDispOpt(nullptr),
      m_pTHRD(nullptr),
      m_Preference{},
      m_pMultiGraphView(nullptr),
      m_dAnnotSize(0.25),
      m_nAnnotCellWidth(0),
      m_nAnnotCellHeight(0),
      m_tLast(std::chrono::steady_clock::now()),
      m_tStart(m_tLast),
      m_nPenFactor(1),
      m_bTestSwitch1(0),
      m_bTestSwitch2(0) {
    m_PLCom.Initialize();
    m_mapLeftGraph.InitHashTable(17, FALSE);
    m_mapRightGraph.InitHashTable(17, FALSE);

    m_pDispOpt = new (std::nothrow) T_PVX_DOPT_D;

    m_pMyself = this;
    if (std::vector<I_PVXModel*>* live = LiveModels()) live->push_back(this);
    ++nNumOfPVXModel;

    m_pPostCtrl = new (std::nothrow) CPVXPostCtrl;
    m_pAttrCtrl = new (std::nothrow) CPVXAttrCtrl;
    m_pGeomCtrl = new (std::nothrow) CPVXGeomCtrl(this);

    m_pDBDoc = CDBDoc::m_pDBDoc;
    m_pMDBCtrl = m_pDBDoc ? m_pDBDoc->GetMDBCtrl() : nullptr;

    m_pTHRD = new (std::nothrow) T_PVX_THRD_D;

    InitPVXModel();

    m_pDrawFuncArray = new (std::nothrow) CPVXDrawFuncArray;
    if (m_pDispOpt) m_pDispOpt->m_nRenderStyle = 0;

    m_pFigure = new (std::nothrow) CPVXFigure;
    m_pMultiGraphView = nullptr;
}

I_PVXModel::~I_PVXModel() {
    // The control must not call back a model that is going away.
    if (m_pPVXCtrl && m_pPVXCtrl->GetI_PVXModel() == this) m_pPVXCtrl->SetI_PVXModel(nullptr);
    m_pPVXCtrl = nullptr;

    ResetAllNodeElemK();

    // The legend engine outlives the display options; it must not read them any more.
    m_LegendEngine.m_pModel = nullptr;
    delete m_pDispOpt;
    m_pDispOpt = nullptr;

    delete m_pPostCtrl;
    m_pPostCtrl = nullptr;
    delete m_pAttrCtrl;
    m_pAttrCtrl = nullptr;
    delete m_pGeomCtrl;
    m_pGeomCtrl = nullptr;

    ResetEngines();
    delete m_pBeamDiagram;
    m_pBeamDiagram = nullptr;

    delete m_pTHRD;
    m_pTHRD = nullptr;
    if (m_pDrawFuncArray) m_pDrawFuncArray->ClearFunctors();
    delete m_pDrawFuncArray;
    m_pDrawFuncArray = nullptr;
    delete m_pFigure;
    m_pFigure = nullptr;

    if (m_pMultiGraphView) m_pMultiGraphView->SetPointer(nullptr);
    m_pMultiGraphView = nullptr;

    --nNumOfPVXModel;
    FreeGraphMap(m_mapLeftGraph);
    FreeGraphMap(m_mapRightGraph);

    if (nNumOfPVXModel <= 0) {
        nNumOfPVXModel = 0;
        I_MainFrameBase::CloseFigureTree();
        I_MainFrameBase::CloseDesignTree();
        // The cutting-line dialog serves every result view: only the last model deletes it.
        delete m_pCutLineDetDlg;
        m_pCutLineDetDlg = nullptr;
    }

    // The current model is the newest one still alive.
    std::vector<I_PVXModel*>* live = LiveModels();
    if (live) live->erase(std::remove(live->begin(), live->end(), this), live->end());
    if (m_pMyself == this) m_pMyself = !live || live->empty() ? nullptr : live->back();
    m_AnimationEngine.m_pModel = nullptr;
}

void I_PVXModel::FreeGraphMap(PVXGraphSeriesMap& map) { FreePVXGraphSeriesMap(map); }

void I_PVXModel::InitPVXModel() {
    // The engines belong to the model: a model put back into its "no result" state deletes them.
    ResetEngines();
    m_AnimationEngine.m_pModel = this;
    m_LegendEngine.m_pModel = this;

    if (m_pDispOpt) {
        // The record's own defaults, then the per-view initial values. The rendering style
        // belongs to the view's test command and survives.
        int nRenderStyle = m_pDispOpt->m_nRenderStyle;
        *m_pDispOpt = T_PVX_DOPT_D();
        T_PVX_DOPT_D& o = *m_pDispOpt;
        o.m_nRenderStyle = nRenderStyle;
        o.m_bWireFrame = 1;
        o.m_bLineCulling = 0;
        o.m_bPlaneCulling = 0;
        o.m_nBarResultOpt = 0;
        o.m_bUndeformedWireFrame = 1;
        o.m_bUndeformedLineCulling = 0;
        o.m_bUndeformedPlaneCulling = 0;
        o.m_bShrink = 0;
        o.m_bShading = 1;
        o.m_bSpecular = 0;
        o.m_Legend.m_nLegendWidth = 20;
        o.m_Legend.m_bShowLegend = 1;
        o.m_Number.m_dNumberFactor = 1.0;
        o.m_Number.m_nNumberAngle = 0;
        o.m_Number.m_nDecimals = 0;
        o.m_Number.m_nNumberOpt1 = 1;
        o.m_Number.m_bFixedNumberAngle = 0;
        o.m_Number.m_bExponent = 0;
        o.m_Number.m_nNumberOpt2 = 0;
        o.m_Number.m_bShowNumbers = 0;
        o.m_Number.m_nReactionNumberOpt = 0;
        o.m_Number.m_bNumberOpaque = 0;
        o.m_nPrintColorMode = 1;
    }

    m_bActivated = 0;
    m_bInitializing = 0;
    m_nDisplayMode = PVXMode::kNone;
    m_nBarDisplayMode = PVXMode::kNone;
    m_bLoadSelected = 0;
    m_bResultDataReady = 0;
    m_bResultPresent = 0;
    m_nLoadType = 1;
    m_nLoadStep = 0;
    m_nLoadKey = 1;
    m_bExternalDevice = 0;
    m_bSecondTarget = 0;
    m_bAnimation = 0;
    m_bContour = 0;
    m_bModeShape = 1;
    m_bModeShapeContour = 0;
    m_bRebuildMBR = 0;
    m_bGradient = 0;
    m_bApplyOnOK = 1;
    m_bRedrawRequested = 1;
    m_bInvalidated = 0;
    m_bFirstRender = 1;
    m_bContourAnnot = 0;
    m_dAnnotSize = 0.25;
    m_nPenFactor = 1;
    m_bOriginalRegistered = 0;
    m_bDeformedRegistered = 0;
    m_bTestSwitch1 = 0;
    m_bTestSwitch2 = 0;
    m_bFigureMode = 0;
    m_bFigurePanel = 0;
    m_bCForcList = 0;
    m_bDeformedShape = 0;
    m_bExponent = 0;
    m_bDeformedHeld = 0;
    m_nCurEigenMode = 1;
    m_nMaxKey = 1;
    m_nMinKey = 1;

    InitColor();
    UpdateDisplayOptions();
    m_LegendEngine.InitColor();
    SaveCurrentTime();
}

void I_PVXModel::Link_I_RDXModel(I_PVXCtrl* pCtrl) {
    m_pPVXCtrl = pCtrl;
    if (!pCtrl) return;
    pCtrl->SetI_PVXModel(this);
    // The id ranges are the control's for good; knowing them at once lets the picking tree be
    // rebuilt before the first mode change.
    pCtrl->GetObjectIDRange(m_nObjectIDFirst, m_nObjectIDLast);
    pCtrl->GetNodeIDRange(m_nNodeIDFirst, m_nNodeIDLast);
}

CDBDoc* I_PVXModel::GetDBDoc() const { return CDBDoc::m_pDBDoc ? CDBDoc::m_pDBDoc : m_pDBDoc; }

// ---- engines and the bars ----------------------------------------------------------------------

void I_PVXModel::ResetEngines() {
    delete m_pDeformEngine;
    m_pDeformEngine = nullptr;
    delete m_pForceEngine;
    m_pForceEngine = nullptr;
    delete m_pReactionEngine;
    m_pReactionEngine = nullptr;
    delete m_pStressEngine;
    m_pStressEngine = nullptr;
    delete m_pDesignData;
    m_pDesignData = nullptr;
}

void I_PVXModel::UpdateEngines(int nMode) {
    if (m_pDeformEngine) m_pDeformEngine->InitEngine();
    if (m_pForceEngine) m_pForceEngine->InitEngine(m_pDeformEngine, nMode);
    if (m_pReactionEngine) m_pReactionEngine->InitEngine(m_pDeformEngine, nMode);
    if (m_pStressEngine) m_pStressEngine->InitEngine(m_pDeformEngine, nMode);
    if (m_pDesignData) m_pDesignData->InitFigureDesignData();
}

int I_PVXModel::ImportBarEngines() {
    CDeformEngine* pBarDeform = CPVXBarContainerBase::m_pDeformEngine;
    // Mode shapes are taken over with the deformation engine and need no picking-tree rebuild.
    if (m_nBarDisplayMode == PVXMode::kModeShape) return 0;
    switch (PVXMode::EngineOf(m_nBarDisplayMode)) {
    case PVXMode::Engine::kReaction:
        if (CReactionEngine* pBar = BarEngineOfKind<CReactionEngine>()) {
            pBar->InitEngine(pBarDeform, -1);
            if (m_pReactionEngine) m_pReactionEngine->ImportEngine(pBar);
        } else if (m_pReactionEngine) {
            m_pReactionEngine->InitEngine(m_pDeformEngine, -1);
        }
        return 0;  // reactions need no picking-tree rebuild
    case PVXMode::Engine::kDeform:
        return 1;
    case PVXMode::Engine::kForce:
        if (CForceEngine* pBar = BarEngineOfKind<CForceEngine>()) {
            pBar->InitEngine(pBarDeform, -1);
            if (m_pForceEngine) m_pForceEngine->ImportEngine(pBar);
        } else if (m_pForceEngine) {
            m_pForceEngine->InitEngine(m_pDeformEngine, -1);
        }
        return 1;
    case PVXMode::Engine::kStress:
        if (CStressEngine* pBar = BarEngineOfKind<CStressEngine>()) {
            pBar->InitEngine(pBarDeform, -1);
            if (m_pStressEngine) m_pStressEngine->ImportEngine(pBar);
        } else if (m_pStressEngine) {
            m_pStressEngine->InitEngine(m_pDeformEngine, -1);
        }
        return 1;
    case PVXMode::Engine::kNone:
        return 0;
    }
    return 0;
}

void I_PVXModel::HandlePVXBar(int bKeepDeformed) {
    m_nBarDisplayMode = CPVXBarContainerBase::m_nCurrentMode;
    CPVXBarContainerBase* pBar = CPVXBarContainerBase::m_pMyself;
    if (CPVXBarContainerBase::m_bIsPVXBarAlive && !CPVXBarContainerBase::m_bRemove && pBar &&
        pBar->m_pView == m_pView && m_nBarDisplayMode == m_nDisplayMode) {
        m_bLoadSelected = 1;
        SelectLoad();
        if (CDeformEngine* pBarDeform = CPVXBarContainerBase::m_pDeformEngine) {
            pBarDeform->InitEngine();
            if (m_pDeformEngine) m_pDeformEngine->ImportEngine(pBarDeform);
        } else if (m_pDeformEngine) {
            m_pDeformEngine->InitEngine();
        }
        if (!ImportBarEngines()) return;
        if (m_pDeformEngine && pBar->m_bRebuildMBR) {
            if (m_pPVXCtrl) m_pPVXCtrl->UpdateAllWcsVcsMBR();
            RebuildQTree();
        }
        return;
    }

    if (m_nBarDisplayMode != m_nDisplayMode) {
        CDeformEngine* pDeform = m_pDeformEngine;
        int nSaved = pDeform ? pDeform->m_bKeepDeformed : 0;
        if (bKeepDeformed && pDeform) pDeform->m_bKeepDeformed = 1;
        UpdateEngines(m_nDisplayMode);
        // The update may not replace the engine, but stay safe if it did.
        if (bKeepDeformed && pDeform && pDeform == m_pDeformEngine) pDeform->m_bKeepDeformed = nSaved;
    } else {
        UpdateEngines(-1);
        if (m_bRebuildMBR) {
            if (m_pPVXCtrl) m_pPVXCtrl->UpdateAllWcsVcsMBR();
            RebuildQTree();
        }
    }
}

void I_PVXModel::SelectLoad() {
    m_bResultDataReady = 0;
    if (!m_bLoadSelected) return;
    CDBDoc* pDoc = GetDBDoc();
    if (!pDoc) return;
    CPostCtrl* pPost = pDoc->GetPostCtrl();
    if (IsModeShapeShown() || m_nBarDisplayMode == PVXMode::kFigModeShape || m_nDisplayMode == PVXMode::kFigModeShape) {
        // Mode shapes: the load key is the mode number. A mode the host does not have is not
        // a selection.
        if (pPost->SelectMode(static_cast<int>(m_nLoadKey), 0)) m_bResultDataReady = 1;
        return;
    }
    if (!pPost->MakeLoadComb(m_nLoadType, m_nLoadKey, m_PLCom)) return;
    if (pPost->SelectLoadComb(m_PLCom, m_nLoadStep != 0 ? 1 : 0, 0)) m_bResultDataReady = 1;
}

int I_PVXModel::IsModeShapeShown() const {
    const int mode = CPVXBarContainerBase::m_nCurrentMode != PVXMode::kNone ? CPVXBarContainerBase::m_nCurrentMode
                                                                            : m_nDisplayMode;
    return mode == PVXMode::kModeShape || GetDisplayModeOfResultId(GetBarResultId()) == PVXMode::kModeShape ? 1 : 0;
}

int I_PVXModel::GetDisplayModeOfResultId(int nResultId) {
    for (const ResultPage& p : kResultPages)
        if (p.nResultId == nResultId) return p.nDisplayMode;
    return PVXMode::kNone;
}

int I_PVXModel::GetBarResultId() const {
    int nMode = m_nBarDisplayMode;
    // A result id written straight into the field by a bar page is already what is asked.
    if (nMode >= PVX_BAR_MODE_FIRST) return GetDisplayModeOfResultId(nMode) >= 0 ? nMode : PVXResult::kNone;
    if (nMode < 0) return PVXResult::kNone;
    int nBarId = CPVXBarContainerBase::m_nCurrentTMMode;
    if (nBarId >= 0 && GetDisplayModeOfResultId(nBarId) == nMode) return nBarId;
    for (const ResultPage& p : kResultPages)
        if (p.nDisplayMode == nMode) return p.nResultId;
    return PVXResult::kNone;
}

// ---- small services ------------------------------------------------------------------------

int I_PVXModel::IsActiveNode(UINT nKey) const { return m_pPVXCtrl ? m_pPVXCtrl->IsActiveNode(nKey) : 0; }

int I_PVXModel::IsActiveElem(UINT nKey) const { return m_pPVXCtrl ? m_pPVXCtrl->IsActiveElem(nKey) : 0; }

int I_PVXModel::GetPVXType() const {
    bool bDeformed = false;
    switch (PVXMode::ShapeOf(m_nDisplayMode)) {
    case PVXMode::Shape::kDeform:
        bDeformed = m_pDeformEngine && m_pDeformEngine->GetDeformedCntr();
        break;
    case PVXMode::Shape::kModeShape:
        bDeformed = m_pDeformEngine && (!m_bModeShapeContour || m_pDeformEngine->GetDeformedCntr());
        break;
    case PVXMode::Shape::kForce:
        bDeformed = m_pForceEngine && m_pForceEngine->GetDeformedCntr();
        break;
    case PVXMode::Shape::kNone:
        break;
    }
    if (!bDeformed) return 0;
    return (m_pDispOpt && m_pDispOpt->m_nBarResultOpt > 0) ? -1 : 1;
}

int I_PVXModel::RE_GetNode_ElemTypeByCDBDocSelection(int& nNodeType, int& nObjType) {
    const int nType = GetPVXType();
    const int nShift = (nType == 1 || nType == -1) ? 1 : 0;
    nNodeType = m_nNodeIDFirst + nShift;
    nObjType = m_nObjectIDFirst + nShift;
    return 1;
}

void I_PVXModel::RebuildQTree() {
    int nNodeType = 0, nObjType = 0;
    RE_GetNode_ElemTypeByCDBDocSelection(nNodeType, nObjType);
    if (!m_pPVXCtrl) return;
    m_pPVXCtrl->QTreeClearAll();
    if (m_pDeformEngine && nObjType == m_nObjectIDFirst + 1)
        InitDeformedQTree();
    else
        InitOriginalQTree(1);
}

void I_PVXModel::RebuildQuadTree() {
    const int nType = GetPVXType();
    if (!m_pPVXCtrl) return;
    m_pPVXCtrl->QTreeClearAll();
    if (nType == 1) {
        if (m_pDeformEngine) InitDeformedQTree();
    } else if (nType == -1) {
        if (m_pDeformEngine) InitDeformedQTree();
        InitOriginalQTree(1);
    } else {
        InitOriginalQTree(1);
    }
}

void I_PVXModel::UnselectAllObjectForModeChange() {
    const int nType = GetPVXType();
    if ((nType == 1 || nType == -1) && m_pDeformEngine) {
        ResetOriginal();
        InitOriginalNoInitQTree(0);
    } else {
        ResetDeformed(0);
        InitDeformed(0);
    }
    if (m_pPVXCtrl) m_pPVXCtrl->UnselectAllObject();
}

void I_PVXModel::ResetCutLineDlg() {
    CPVXCutLineDetDlg::m_arrSelCutLine.RemoveAll();
    CPVXCutLineDetDlg::m_arrSelCutLine.FreeExtra();
    CPVXCutLineDetDlg::m_bGraph = 0;
    CPVXCutLineDetDlg::m_nGraphXAxis = 0;
    CPVXCutLineDetDlg::m_nGraphMode = 0;
    CPVXCutLineDetDlg::m_dScaleFactor = 1.0;
    CPVXCutLineDetDlg::m_bOutputValues = 1;
    CPVXCutLineDetDlg::m_bOnlyMinMax = 1;
}

void I_PVXModel::THRDInit() {
    if (m_pTHRD) m_pTHRD->Reset();
}

void I_PVXModel::ResetAllNodeElemK() {
    InvalidateRangeModel();
    m_arrAllMembKey.RemoveAll();
    m_arrActiveMembKey.RemoveAll();
    m_arrInactiveMembKey.RemoveAll();
    m_arrAllNodeKey.RemoveAll();
    m_arrActiveNodeKey.RemoveAll();
    m_arrInactiveNodeKey.RemoveAll();
    m_arrFlagMembKey.RemoveAll();
    m_arrFlagNodeKey.RemoveAll();
    m_arrNoFlagMembKey.RemoveAll();
    m_arrNoFlagNodeKey.RemoveAll();
    m_setFlagNode.clear();
    m_setFlagMemb.clear();
    m_setFlagSupport.clear();
    m_bPartShown = false;
    m_arrElemKey.RemoveAll();
    m_arrActiveElemKey.RemoveAll();
    m_arrZSortMembKey.RemoveAll();
    m_arrZSortElemKey.RemoveAll();
    m_arrNodeFlag.RemoveAll();
    m_arrMembFlag.RemoveAll();
    m_arrElemFlag.RemoveAll();
    m_arrWorkKey.RemoveAll();
    m_arrWorkKey.FreeExtra();
}

void I_PVXModel::ResetLegendRect() {
    if (!m_pPVXCtrl) return;
    if (m_pDispOpt && m_pDispOpt->m_Legend.m_bShowLegend && m_bResultDataReady) {
        const int nWidth = m_pDispOpt->m_Legend.m_nLegendWidth * m_LegendEngine.m_nTitleCharWidth;
        // The panel side is the control's margin side: 0 left, 1 right.
        if (m_LegendEngine.m_nPanelPlacement == 0) {
            m_pPVXCtrl->SetClientWindowMargin(nWidth, 0, 0, 0, 0, 0);
            return;
        }
        if (m_LegendEngine.m_nPanelPlacement == 1) {
            m_pPVXCtrl->SetClientWindowMargin(0, 0, nWidth, 0, 0, 0);
            return;
        }
    }
    m_pPVXCtrl->ResetClientWindowMargin();
}

void I_PVXModel::ResetLegendRectAndFit() {
    if (!m_pPVXCtrl) return;
    const CRect before = m_pPVXCtrl->GetDrawingArea();
    ResetLegendRect();
    if (m_pPVXCtrl->GetDrawingArea() != before) m_pPVXCtrl->ViewZoomAll(0);
}

void I_PVXModel::SetNumberFontOrientation(int nAngle) {
    if (!m_pDispOpt) return;
    T_PVX_DOPT_NUMBER_D& n = m_pDispOpt->m_Number;
    const int a = n.m_bFixedNumberAngle ? n.m_nNumberAngle : nAngle;
    n.m_lfNumber.lfEscapement = a;
    n.m_lfNumber.lfOrientation = a;
}

void I_PVXModel::SetNumberFontNodeOrientation(int nAngle) {
    if (!m_pDispOpt) return;
    T_PVX_DOPT_NUMBER_D& n = m_pDispOpt->m_Number;
    const int a = n.m_bFixedNumberAngle ? n.m_nNumberAngle : nAngle;
    n.m_lfNodeNumber.lfEscapement = a;
    n.m_lfNodeNumber.lfOrientation = a;
}

CPoint I_PVXModel::Get3DPtTo2DPt(C3DPoint* pPt) const {
    if (!m_pPVXCtrl || !pPt) return CPoint(0, 0);
    return m_bExternalDevice ? m_pPVXCtrl->GetWorldToWindowP2D(*pPt) : m_pPVXCtrl->GetWorldToMemDCP2D(*pPt);
}

int I_PVXModel::WatchEscKeyPress() { return m_pPVXCtrl ? m_pPVXCtrl->WatchEscKeyPress() : 0; }

long I_PVXModel::CountShownValues(int mode) const {
    const I_PVXModel& m = *this;
    if (const CDeformEngine* d = m.m_pDeformEngine; d && PVXMode::EngineOf(mode) == PVXMode::Engine::kDeform)
        return mode == PVXMode::kSettlement ? d->m_arrSettleKey.GetSize() : d->m_arrNodeKey.GetSize();
    if (const CStressEngine* st = m.m_pStressEngine; st && mode == PVXMode::kPlateStress) return st->m_mapPStrs.GetCount();
    const CForceEngine* f = m.m_pForceEngine;
    if (!f || PVXMode::EngineOf(mode) != PVXMode::Engine::kForce) return -1;
    switch (mode) {
    case PVXMode::kStoryShearRatio: return f->m_mapSSFR.GetCount();
    case PVXMode::kFrameForceContour:
    case PVXMode::kFrameForceDiagram:
        return f->m_arrMembKey.GetSize() + f->m_arrColmKey.GetSize() + f->m_arrTrussKey.GetSize();
    case PVXMode::kWallForceContour:
    case PVXMode::kWallForceDiagram: return f->m_arrWColmKey.GetSize() + f->m_arrWBeamKey.GetSize();
    case PVXMode::kPlateForce: return f->m_mapPForc.GetCount();
    case PVXMode::kSlabForce: return f->m_arrElemKey.GetSize();
    case PVXMode::kSlabRebar:
    case PVXMode::kSlabCrack:
        // Per element the element design values; per member no crack widths are kept.
        return (mode == PVXMode::kSlabRebar ? f->m_nSRbarUnit : f->m_nSCracUnit) == 1
                   ? static_cast<long>(f->m_mapSDgnElem.size())
                   : mode == PVXMode::kSlabCrack ? 0 : -1;
    case PVXMode::kSlabWall: return f->m_arrSWall.GetSize();
    case PVXMode::kSlabStrip: return f->m_arrCLForc.GetSize();
    case PVXMode::kSlabForceBeam: return f->m_nSForcUnit == 0 ? f->m_arrElemKey.GetSize() : f->m_arrCLForc.GetSize();
    default: return -1;
    }
}

int I_PVXModel::IsModeOnlyWireFrame(int nMode) { return PVXMode::IsDiagramDisplay(nMode) ? 1 : 0; }

int I_PVXModel::IsModeOnlyWireFrame() const { return IsModeOnlyWireFrame(m_nDisplayMode); }

void I_PVXModel::SaveCurrentTime() {
    m_tStart = std::chrono::steady_clock::now();
    m_tLast = m_tStart;
}

double I_PVXModel::GetElapsedTime() {
    m_tLast = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(m_tLast - m_tStart).count();
}

void I_PVXModel::FreeMemoryPolyList(PolyListArray* pPolyLists, IndexArrayList* pIndexArrays, KeyArrayList* pKeyArrays,
                                    KeyArrayList* pMoreArrays) {
    DeleteOwnedItems(pPolyLists, [](PVXPolyList& p) { p.RemoveAll(); });
    DeleteOwnedItems(pIndexArrays, [](CArray<int>& p) { p.SetSize(0); });
    DeleteOwnedItems(pKeyArrays, [](CArray<UINT>& p) { p.SetSize(0); });
    DeleteOwnedItems(pMoreArrays, [](CArray<UINT>& p) { p.SetSize(0); });
    if (pMoreArrays) pMoreArrays->FreeExtra();
}

void I_PVXModel::ActiveModelViewFrame() {
    I_ModelBase* pHostModel = I_ModelBase::GetCurMySelfST();
    if (!pHostModel) return;
    CView* pView = pHostModel->GetView();
    if (!pView) return;
    CFrameWnd* pFrame = pView->GetParentFrame();
    CMDIFrameWnd* pMain = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (!pFrame || !pMain) return;
    if (static_cast<CFrameWnd*>(pMain->MDIGetActive()) == pFrame) return;
    if (pMain->m_hWndMDIClient)
        ::SendMessage(pMain->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pFrame->GetSafeHwnd()), 0);
}

// ---- drawing entry -----------------------------------------------------------------------------

// The render path chooses between the retained-geometry and the memory-image drawing.
void I_PVXModel::PVXRender() { RenderImpl(); }

// ---- exported stubs ----------------------------------------------------------------------------

void I_PVXModel::GetElemColor(T_PELEM_D&, DWORD*) {}
void I_PVXModel::GetSubPolyList(UINT, PolyListArray&) {}
int I_PVXModel::MakeModeGraphData() { return 0; }
int I_PVXModel::PVXDrawElement(CDC*, UINT) { return 0; }
int I_PVXModel::IsTreemenuMenu() { return 0; }
int I_PVXModel::UpdateBuffer() { return 0; }
