// View events of the result model: what the model does when the graphics control tells it that
// the result view mode was entered or left, the document changed, the window was painted or
// printed, the active set changed, the mouse was right-clicked or hovered, or the light and
// display options changed.

#include "module/animation/CAnimationEngine.h"
#include "module/contour/CLegendEngine.h"
#include "module/contour/CPVXLegendWnd.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "module/engines/CReactionEngine.h"
#include "module/force/CForceEngine.h"
#include "host/base/CDockDlgBarBase.h"
#include "host/base/CGwPrintHandler.h"
#include "host/base/HostDisplayOption.h"
#include "host/db/CDBDoc.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXDataCtrls.h"
#include "module/model/PrintScale.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/uiapi.h"
#include "platform/ui/uidefs.h"

namespace {

constexpr UINT kHostRButtonMenu = 758;  // the host's right-button menu: 0 model view, 1 result view

// Closes the popup legend window when one is open; the pointer is forgotten in any case.
void CloseLegendWnd(CLegendEngine& legend) {
    if (!legend.m_pLegendWnd) return;
    CPVXLegendWnd* pWnd = legend.m_pLegendWnd;
    if (pWnd->GetSafeHwnd()) pWnd->DestroyWindow();
    legend.m_pLegendWnd = nullptr;
}

CString Fmt(const char* fmt, double v) {
    CString s;
    s.Format(fmt, v);
    return s;
}

// Force component names of the tooltip; only the first six are shown.
const char* const kComponentNames[] = {"Axial", "Shear-y", "Shear-z", "Moment-x", "Moment-y", "Moment-z",
                                       "Fxx", "Fyy", "Fxy", "Fmax", "Fmin", "FVector", "Mxx", "Myy",
                                       "Mxy", "Mmax", "Mmin", "MVector", "Vxx", "Vyy", "FMax", "MMax", "VMax"};

}  // namespace

// ---- forwarders ------------------------------------------------------------------------------

void I_PVXModel::PV_OnRedrawOnly() { PVXRender(); }

void I_PVXModel::PV_OnUnitChange() {
    if (m_pPVXCtrl) m_pPVXCtrl->XGL_SetRedrawPreView();
}

BOOL I_PVXModel::PV_OnPreparePrinting(CPrintInfo* pInfo) {
    if (!pInfo) return FALSE;
    if (!pInfo->m_bPreview) {
        CPVXView* pView = dynamic_cast<CPVXView*>(m_pView);
        return pView ? pView->PreparePrinterDC(pInfo) : FALSE;
    }
    return CGwPrintHandler::PreparePrintDC(pInfo);
}

void I_PVXModel::PV_OnBeginPrinting(CDC*, CPrintInfo*) {
    EnableDivideByZero();
    CGwPrintHandler::InitPrintParam(m_pView);
}

void I_PVXModel::PV_OnPrint(CDC* pDC, CPrintInfo* pInfo) { CGwPrintHandler::SetPrintDC(m_pView, pDC, pInfo); }

void I_PVXModel::PV_OnEndPrinting(CDC*, CPrintInfo*) { CGwPrintHandler::ResetPrintDC(); }

void I_PVXModel::PV_OnDisplayOptionChangeOnly() {
    if (!m_pPVXCtrl || !m_pDispOpt) return;
    int nUndeformedWire = 0, nHidden = 0, nCulling = 0;
    m_pPVXCtrl->GetREViewState(m_pDispOpt->m_bWireFrame, nUndeformedWire, nHidden, m_pDispOpt->m_bShrink,
                               m_pDispOpt->m_dShrinkFactor, nCulling);
}

void I_PVXModel::PV_OnDisplayOptionChange() {
    PV_OnDisplayOptionChangeOnly();
    if (m_pPVXCtrl) m_pPVXCtrl->XGL_SetRedrawPreView();
    PVXRender();
}

void I_PVXModel::PV_OnViewPointChange() {
    CloseLegendWnd(m_LegendEngine);
    if (m_pPVXCtrl) m_pPVXCtrl->XGL_SetRedrawPreView();
    PVXRender();
}

void I_PVXModel::PV_DrawAllToMemDC() {
    if (m_pPVXCtrl) m_pPVXCtrl->XGL_SetRedrawPreView();
    PVXRender();
}

// ---- entering and leaving the result view mode ------------------------------------------------------

void I_PVXModel::PV_OnModeChange() {
    // The post control reads through the document on every query; the other two bind tables.
    if (m_pAttrCtrl) m_pAttrCtrl->ConnectToPostDB();
    if (m_pGeomCtrl) m_pGeomCtrl->ConnectToPostDB();
    InvalidateRangeModel();

    if (m_pAttrCtrl && m_pAttrCtrl->GetMembCount() > 0) {
        // Entering again must not leave the previous period's objects registered with the
        // control: InitPVXModel forgets the registrations (and deletes the engines).
        ResetDeformed(0);
        ResetOriginal();
        InitPVXModel();
        if (m_pPVXCtrl) {
            m_pPVXCtrl->ResetClientWindowMargin();
            m_pPVXCtrl->GetObjectIDRange(m_nObjectIDFirst, m_nObjectIDLast);
            m_pPVXCtrl->GetNodeIDRange(m_nNodeIDFirst, m_nNodeIDLast);
        }
        if (!m_pCutLineDetDlg) m_pCutLineDetDlg = new CPVXCutLineDetDlg(&CPVXCutLineDetDlg::m_arrSelCutLine);
        ResetAllNodeElemK();

        // Entering the result view shows everything: every key active with flag 1.
        CArray<UINT, UINT> nodes, membs;
        m_pAttrCtrl->GetNodeKeyList(nodes);
        m_pAttrCtrl->GetMembKeyList(membs);
        // Each list takes every key of the model: one block of the final size.
        for (CArray<UINT, UINT>* l : {&m_arrActiveNodeKey, &m_arrFlagNodeKey, &m_arrAllNodeKey})
            l->SetSize(0, nodes.GetSize());
        for (CArray<UINT, UINT>* l : {&m_arrFlagMembKey, &m_arrActiveMembKey, &m_arrAllMembKey})
            l->SetSize(0, membs.GetSize());
        m_arrNodeFlag.SetSize(0, nodes.GetSize());
        m_arrMembFlag.SetSize(0, membs.GetSize());
        for (INT_PTR i = 0; i < nodes.GetSize(); ++i) {
            m_arrActiveNodeKey.Add(nodes[i]);
            m_arrFlagNodeKey.Add(nodes[i]);
            m_arrAllNodeKey.Add(nodes[i]);
            m_arrNodeFlag.Add(1);
        }
        for (INT_PTR i = 0; i < membs.GetSize(); ++i) {
            m_arrFlagMembKey.Add(membs[i]);
            m_arrActiveMembKey.Add(membs[i]);
            m_arrAllMembKey.Add(membs[i]);
            m_arrMembFlag.Add(1);
        }
        if (m_pPVXCtrl) {
            m_pPVXCtrl->SubtractKey(m_arrAllNodeKey, m_arrFlagNodeKey, m_arrNoFlagNodeKey);
            m_pPVXCtrl->SubtractKey(m_arrAllNodeKey, m_arrActiveNodeKey, m_arrInactiveNodeKey);
            m_pPVXCtrl->SubtractKey(m_arrAllMembKey, m_arrFlagMembKey, m_arrNoFlagMembKey);
            m_pPVXCtrl->SubtractKey(m_arrAllMembKey, m_arrActiveMembKey, m_arrInactiveMembKey);
        }
    }

    InitOriginal();
    if (CDBDoc* pDoc = GetDBDoc()) pDoc->GetInitCtrl()->GetPreference(m_Preference);
    if (GRenderView* pView = dynamic_cast<GRenderView*>(m_pView); pView && m_pDispOpt) {
        const T_LIGHT_D& light = pView->GetLightData();
        m_pDispOpt->m_bShading = light.m_bShading;
        m_pDispOpt->m_bSpecular = light.m_bSpecular;
    }
    UpdateDisplayOptions();
    PV_OnDisplayOptionChangeOnly();
}

void I_PVXModel::PV_OnModeReturn() {
    if (m_pPVXCtrl) m_pPVXCtrl->ResetClientWindowMargin();
    if (m_pDispOpt) m_pDispOpt->m_Legend.m_bShowLegend = 0;
    if (m_nDisplayMode != PVXMode::kModeShape)
        if (CPVXView* pView = dynamic_cast<CPVXView*>(m_pView)) pView->RestoreFrameTitle();
    if (m_pCutLineDetDlg) {
        if (m_pCutLineDetDlg->GetSafeHwnd()) m_pCutLineDetDlg->DestroyWindow();
        // The dialog object serves every result view: only the last live model deletes it.
        if (nNumOfPVXModel <= 1) {
            delete m_pCutLineDetDlg;
            m_pCutLineDetDlg = nullptr;
        }
    }
    m_AnimationEngine.ExitAnimationMode();
    CDockDlgBarBase::CloseDlgBar();
    ResetDeformed(0);
    ResetOriginal();
    ResetEngines();
    ResetAllNodeElemK();
    m_nBarDisplayMode = PVXMode::kNone;
    m_nDisplayMode = PVXMode::kNone;
}

// ---- document updates, painting, the active set ---------------------------------------------------

void I_PVXModel::PV_OnUpdate(CView*, LPARAM lHint, CObject* pHint) {
    switch (lHint) {
    case 3:
        switch (UpdateBuffer(pHint)) {
        case 1:
            HandlePVXBar(0);
            break;
        case 2:
            HandlePVXBar(0);
            m_bRedrawRequested = 1;
            PVXRender();
            break;
        default:
            break;
        }
        break;
    case 4:
        if (CDBDoc* pDoc = GetDBDoc()) pDoc->GetInitCtrl()->GetPreference(m_Preference);
        HandlePVXBar(0);
        break;
    case 11:
        UpdateDisplayOptions();
        m_bRedrawRequested = 1;
        PVXRender();
        break;
    default:
        break;
    }
}

void I_PVXModel::PV_OnDraw(CDC* pDC) {
    if (!m_bResultDataReady || !pDC) return;
    if (m_pPVXCtrl && m_pPVXCtrl->IsDynamicViewMode()) return;
    if (m_pDispOpt && m_pDispOpt->m_Legend.m_bShowLegend && m_bResultDataReady && !m_bInitializing &&
        m_nDisplayMode != PVXMode::kNodeDisp) {
        m_LegendEngine.ResetContourEngine();
        // Reaction arrows have no levels: their legend lists the extremes with their nodes; so
        // does the slab force on beams per slab member (numbers only, no colours).
        const bool bReactionBlock = m_nDisplayMode == PVXMode::kReaction && m_pReactionEngine &&
                                    m_pReactionEngine->m_bDataReady;
        // Nor have the axial-compression ratio and the base forces of the design figures: their
        // legends list the ratio's extremes and the caption of the force labels.
        const int nDesignLegend = m_LegendEngine.GetDesignLegendMode();
        const bool bDesignBlock = nDesignLegend == PVXMode::kDesignACR || nDesignLegend == PVXMode::kDesignBaseForce;
        const bool bSlabBeamBlock = m_nDisplayMode == PVXMode::kSlabForceBeam && m_pForceEngine &&
                                    m_pForceEngine->m_bSForcData && !CLegendEngine::IsSlabBeamContour(this);
        if (m_LegendEngine.m_pContourEngine || bReactionBlock || bDesignBlock || bSlabBeamBlock)
            m_LegendEngine.DrawContourLegend(pDC, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    } else {
        m_LegendEngine.m_bLegendRect = 0;
    }
}

void I_PVXModel::PV_OnActiveDeActiveChangeByFlag(CArray<UINT, UINT>& nodes, CArray<UINT, UINT>& members,
                                                 CArray<UINT, UINT>& nodeFlags, CArray<UINT, UINT>& memberFlags) {
    // The complements are taken against every node and member of the model, so those two lists
    // outlive the reset.
    CArray<UINT, UINT> allNodes, allMembs;
    allNodes.Copy(m_arrAllNodeKey);
    allMembs.Copy(m_arrAllMembKey);
    ResetAllNodeElemK();
    m_arrAllNodeKey.Copy(allNodes);
    m_arrAllMembKey.Copy(allMembs);

    m_arrActiveMembKey.Copy(members);
    m_arrActiveNodeKey.Copy(nodes);
    // A key the host passed without a flag counts as flag 1, as for a change without flags. The
    // lists grow to the sizes of the host's lists at most: one block each.
    m_arrNodeFlag.SetSize(0, nodes.GetSize());
    m_arrFlagNodeKey.SetSize(0, nodes.GetSize());
    m_arrMembFlag.SetSize(0, members.GetSize());
    m_arrFlagMembKey.SetSize(0, members.GetSize());
    for (INT_PTR i = 0; i < nodes.GetSize(); ++i) {
        const UINT f = i < nodeFlags.GetSize() ? nodeFlags[i] : 1;
        m_arrNodeFlag.Add(static_cast<int>(f));
        if (f == 1) m_arrFlagNodeKey.Add(nodes[i]);
        if (f == 2) m_setFlagSupport.insert(nodes[i]);
    }
    for (INT_PTR i = 0; i < members.GetSize(); ++i) {
        const UINT f = i < memberFlags.GetSize() ? memberFlags[i] : 1;
        m_arrMembFlag.Add(static_cast<int>(f));
        if (f == 1) m_arrFlagMembKey.Add(members[i]);
    }
    m_setFlagNode.insert(m_arrFlagNodeKey.GetData(), m_arrFlagNodeKey.GetData() + m_arrFlagNodeKey.GetSize());
    m_setFlagMemb.insert(m_arrFlagMembKey.GetData(), m_arrFlagMembKey.GetData() + m_arrFlagMembKey.GetSize());
    m_bPartShown = m_arrFlagMembKey.GetSize() < m_arrAllMembKey.GetSize();
    if (m_pPVXCtrl) {
        m_pPVXCtrl->SubtractKey(m_arrAllNodeKey, m_arrFlagNodeKey, m_arrNoFlagNodeKey);
        m_pPVXCtrl->SubtractKey(m_arrAllNodeKey, m_arrActiveNodeKey, m_arrInactiveNodeKey);
        m_pPVXCtrl->SubtractKey(m_arrAllMembKey, m_arrFlagMembKey, m_arrNoFlagMembKey);
        m_pPVXCtrl->SubtractKey(m_arrAllMembKey, m_arrActiveMembKey, m_arrInactiveMembKey);
    }
    HandlePVXBar(0);
}

void I_PVXModel::PV_OnRButtonDown(UINT, CPoint point) {
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCE(kHostRButtonMenu), RT_MENU);
    HMENU hMenu = ::LoadMenu(hInst, MAKEINTRESOURCE(kHostRButtonMenu));
    if (!hMenu) return;
    CMenu menu;
    menu.Attach(hMenu);
    const int nSub = m_pPVXCtrl && m_pPVXCtrl->IsPVXViewMode() ? 1 : 0;
    if (CMenu* pSub = menu.GetSubMenu(nSub)) {
        if (m_pView && m_pView->GetSafeHwnd()) m_pView->ClientToScreen(&point);
        pSub->TrackPopupMenu(0, point.x, point.y, AfxGetMainWnd());
    }
    menu.DestroyMenu();
}

void I_PVXModel::PV_OnRebuildQTree() {
    int nNodeType = 0, nObjType = 0;
    RE_GetNode_ElemTypeByCDBDocSelection(nNodeType, nObjType);
    if (!m_pPVXCtrl) return;
    m_pPVXCtrl->QTreeClearAll();
    if (nObjType == m_nObjectIDFirst + 1)
        InitDeformedQTree();
    else
        InitOriginalQTree(1);
}

void I_PVXModel::PV_OnRedraw() {
    if (m_nDisplayMode != PVXMode::kReaction && m_nDisplayMode != PVXMode::kNodeDisp) return;
    if (m_pDeformEngine) m_pDeformEngine->m_arrPickedNode.RemoveAll();
    if (m_pReactionEngine) {
        m_pReactionEngine->m_arrPickedNode.RemoveAll();
        m_pReactionEngine->m_arrPickedNode.FreeExtra();
    }
    PVXRender();
}

void I_PVXModel::PV_OnShadeOptionChanged(UINT, LPARAM lLight) {
    const T_LIGHT_D* pLight = reinterpret_cast<const T_LIGHT_D*>(lLight);
    if (!pLight) return;  // nothing to copy
    if (GRenderView* pView = dynamic_cast<GRenderView*>(m_pView)) pView->GetLightData() = *pLight;
    if (m_pDispOpt) {
        m_pDispOpt->m_bShading = pLight->m_bShading;
        m_pDispOpt->m_bSpecular = pLight->m_bSpecular;
    }
    m_bRedrawRequested = 1;
    PVXRender();
}

void I_PVXModel::PV_OnDisplayChanged(void* pDisplayOption) {
    const auto* pHost = static_cast<const T_HOST_DISPLAY_OPTION_D*>(pDisplayOption);
    if (!pHost || !m_pDispOpt) return;
    if (pHost->m_nRenderStyle == m_pDispOpt->m_nRenderStyle) return;
    if (m_pPVXCtrl && m_pPVXCtrl->IsGLRenderer() && m_pPVXCtrl->IsXGRMode()) m_pPVXCtrl->XGR_SetRebuildGeom(1);
    m_pDispOpt->m_nRenderStyle = pHost->m_nRenderStyle;
    m_bRedrawRequested = 1;
    PVXRender();
}

// ---- printing ---------------------------------------------------------------------------------------

void I_PVXModel::GetScreenLegendFontSize(int nScreenWidth, int& nTitle, int& nValue) {
    double f = 1.0;
    if (nScreenWidth >= 1280)
        f = 1.1;
    else if (nScreenWidth >= 1024)
        f = 1.0;
    else
        f = nScreenWidth * 0.0007142857142857143;
    nTitle = static_cast<int>(f * 20);
    nValue = static_cast<int>(f * 14);
}

void I_PVXModel::PV_OnDrawForPrinting(CDC* pDC) {
    if (!pDC || !m_pPVXCtrl || !m_pDispOpt) return;
    if (XGL_PV_OnDrawForPrinting(pDC)) return;

    T_PVX_DOPT_LEGEND_D& legend = m_pDispOpt->m_Legend;
    const int bSavedLegend = legend.m_bShowLegend;
    if (m_nDisplayMode == PVXMode::kNodeDisp) legend.m_bShowLegend = 0;

    const int nSide = m_LegendEngine.m_nPanelPlacement;
    // The panel side is the control's margin side: 0 left, 1 right.
    auto setSideMargin = [this, nSide](int nWidth) {
        if (nSide == 0) m_pPVXCtrl->SetClientWindowMargin(nWidth, 0, 0, 0, 0, 0);
        if (nSide == 1) m_pPVXCtrl->SetClientWindowMargin(0, 0, nWidth, 0, 0, 0);
    };
    const bool bViewWnd = m_pView && m_pView->GetSafeHwnd();
    if (bViewWnd) {
        CRect rc;
        m_pView->GetClientRect(&rc);
        if (legend.m_bShowLegend && m_bResultDataReady)
            setSideMargin(static_cast<int>(rc.Width() * printscale::kPrintLegendShare));
    }

    m_pPVXCtrl->StartVirtualMode(CGwPrintHandler::m_PrintParam.m_nWidth, CGwPrintHandler::m_PrintParam.m_nHeight);
    const int bSavedGradient = m_bGradient;
    m_bGradient = 0;
    m_bExternalDevice = 1;
    PrepareColorSet(1);
    m_LegendEngine.InitVirtualFont();
    const bool bGray = m_pDispOpt->m_nPrintColorMode == 0;
    if (bGray) BeforeGrayPrinting();

    CRect rcVirtual = m_pPVXCtrl->GetVirtualClientRect();
    pDC->FillSolidRect(&rcVirtual, m_pDispOpt->m_Color.m_crBackground);
    VirtualRender(pDC);
    m_pPVXCtrl->MustBeCalledPVXPrintingAfterModelDraw(pDC);
    m_pPVXCtrl->EndVirtualMode();
    if (bGray) AfterGrayPrinting();
    m_bExternalDevice = 0;
    PrepareColorSet(0);

    // Screen legend fonts again, sized for the screen the view is on.
    if (!bViewWnd) {
        m_LegendEngine.InitFont(18, 12);
    } else if (legend.m_bShowLegend && m_bResultDataReady) {
        CClientDC dc(m_pView);
        int nTitle = 0, nValue = 0;
        GetScreenLegendFontSize(dc.GetDeviceCaps(HORZRES), nTitle, nValue);
        m_LegendEngine.InitFont(nTitle, nValue);
        setSideMargin(legend.m_nLegendWidth * m_LegendEngine.m_nTitleCharWidth);
    }
    m_bGradient = bSavedGradient;
    legend.m_bShowLegend = bSavedLegend;
}

// ---- tooltip ----------------------------------------------------------------------------------------

void I_PVXModel::PV_OnToolTip(UINT nNodeKey, UINT nMembKey, CStringArray& lines) {
    if (!m_bLoadSelected) return;
    CDBDoc* pDoc = GetDBDoc();
    if (!pDoc || !m_pAttrCtrl) return;
    pDoc->GetInitCtrl()->GetPreference(m_Preference);
    CPostCtrl* pPost = pDoc->GetPostCtrl();
    // The bar display mode holds display modes; its result id tells the mode-shape page.
    if (GetBarResultId() != PVXResult::kModeShape) {
        T_PLCOM_D rec;
        rec.Initialize();
        if (!pPost->MakeLoadComb(m_nLoadType, m_nLoadKey, rec)) return;
        pPost->SelectLoadComb(rec, m_nLoadStep != 0 ? 1 : 0, 0);
    } else {
        pPost->SelectMode(static_cast<int>(m_nLoadKey), 0);
    }

    CString s;
    switch (m_nLoadStep) {
    case 0: s.Format("Load : %s", static_cast<LPCTSTR>(m_strLoadName)); break;
    case 1: s.Format("Load : %s,Max", static_cast<LPCTSTR>(m_strLoadName)); break;
    case 2: s.Format("Load : %s,Min", static_cast<LPCTSTR>(m_strLoadName)); break;
    case 3: s.Format("Load : %s,All", static_cast<LPCTSTR>(m_strLoadName)); break;
    default: break;
    }
    lines.Add(s);

    auto clear = [&lines]() { lines.RemoveAll(); };
    auto nodeLines = [&](UINT nKey) -> bool {
        T_PNODE_D nd;
        CString t;
        t.Format("Node:%d", nKey);
        lines.Add(t);
        if (!m_pAttrCtrl->GetNode(nKey, nd)) return false;
        t.Format("Coordinates : X=%.8g, Y=%.8g, Z=%.8g", nd.x, nd.y, nd.z);
        lines.Add(t);
        return true;
    };

    switch (m_nDisplayMode) {
    case PVXMode::kReaction: {
        if (nNodeKey == 0) return clear();
        T_REAC_D r;
        r.Initialize();
        if (m_nLoadStep == 2)
            pPost->GetReac(nNodeKey, nullptr, &r, nullptr);
        else if (m_nLoadStep == 3)
            pPost->GetReac(nNodeKey, nullptr, nullptr, &r);
        else
            pPost->GetReac(nNodeKey, &r, nullptr, nullptr);
        if (!nodeLines(nNodeKey)) return clear();
        lines.Add("Reaction:");
        lines.Add(Fmt("FX:%.10g", r.FX));
        lines.Add(Fmt("FY:%.10g", r.FY));
        lines.Add(Fmt("FZ:%.10g", r.FZ));
        lines.Add(Fmt("MX:%.10g", r.MX));
        lines.Add(Fmt("MY:%.10g", r.MY));
        lines.Add(Fmt("MZ:%.10g", r.MZ));
        break;
    }
    case PVXMode::kDeformedShape: case PVXMode::kDispContour: case PVXMode::kNodeDisp: case PVXMode::kModeShape: {
        if (nNodeKey == 0 || !m_pDeformEngine || !m_pDeformEngine->m_bDataReady) return clear();
        T_DISP_D d;
        m_pDeformEngine->GetDispData(nNodeKey, d);
        if (!nodeLines(nNodeKey)) return clear();
        lines.Add(m_nDisplayMode == PVXMode::kModeShape ? "Mode Shape:" : "Displacement:");
        lines.Add(Fmt("DX:%.10g", d.DX));
        lines.Add(Fmt("DY:%.10g", d.DY));
        lines.Add(Fmt("DZ:%.10g", d.DZ));
        lines.Add(Fmt("RX:%.10g", d.RX));
        lines.Add(Fmt("RY:%.10g", d.RY));
        lines.Add(Fmt("RZ:%.10g", d.RZ));
        break;
    }
    case PVXMode::kFrameForceContour: case PVXMode::kFrameForceDiagram: case PVXMode::kSlabStrip:
    case PVXMode::kSlabForceBeam: {
        if (!m_bResultDataReady || nMembKey == 0) return clear();
        CString t;
        t.Format("Memb:%d", nMembKey);
        lines.Add(t);
        T_PMEMB_D memb;
        if (!m_pAttrCtrl->GetMemb(nMembKey, memb)) return clear();
        CForceEngine* pForce = m_pForceEngine;
        if (!pForce || !pForce->m_bBForcData) return clear();
        const int c = pForce->m_nBForcComp;
        if (memb.type == 201 || memb.type == 205) {
            lines.Add(Fmt("Type: BEAM, Length:%.8g", memb.length));
            T_STRG_D f;
            if (!pForce->GetBeamForce(nMembKey, f)) return clear();
            if (c < 0 || c >= 6) return clear();
            t.Format("Force: %s", kComponentNames[c]);
            lines.Add(t);
            // Sixteen stations of six components; I and every second station, then J.
            static const char* const kStation[] = {" I  :%.10g", "1/8 :%.10g", "1/4 :%.10g", "3/8 :%.10g",
                                                   "1/2 :%.10g", "5/8 :%.10g", "3/4 :%.10g", "7/8 :%.10g"};
            for (int k = 0; k < 8; ++k) lines.Add(Fmt(kStation[k], f.d[6 * (2 * k) + c]));
            lines.Add(Fmt(" J  :%.10g", f.d[6 * 15 + c]));
        } else if (memb.type == 101) {
            lines.Add(Fmt("Type: COLUMN, Length:%.8g", memb.length));
            T_MBCL_D f;
            if (!pForce->GetColmForce(nMembKey, f)) return clear();
            if (c < 0 || c >= 6) return clear();
            t.Format("Force: %s", kComponentNames[c]);
            lines.Add(t);
            // Column blocks: 0 end I, 1 end J, 2 and 3 the inner stations, present when the
            // member names their nodes.
            lines.Add(Fmt(" I  :%.10g", f.d[0][c]));
            if (memb.node3) lines.Add(Fmt(" ST :%.10g", f.d[2][c]));
            if (memb.node4) lines.Add(Fmt(" ED :%.10g", f.d[3][c]));
            lines.Add(Fmt(" J  :%.10g", f.d[1][c]));
        } else {
            return clear();
        }
        break;
    }
    default:
        break;
    }
    if (lines.GetSize() < 2) lines.RemoveAll();
}
