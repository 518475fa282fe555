#include "module/bars/CPVXBarReacPage.h"

#include <cmath>
#include <cstdlib>

#include "host/base/CMsgDll.h"
#include "host/base/CMsgOutWnd.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/model/CPVXView.h"
#include "module/engines/CReactionEngine.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/uiapi.h"

IMPLEMENT_DYNAMIC(CPVXBarReacPage, CPVXBarDlgBase)

namespace {

// A number of the reaction lines, 15 characters wide.
CString Exp15(double v) { return CPVXBarDlgBase::FormatExp3(v, 15); }

}  // namespace

CPVXBarReacPage::CPVXBarReacPage(UINT nIDTemplate, const IdSet& ids, int nMode)
    : CPVXBarDlgBase(nIDTemplate, nullptr, nullptr),
      m_nComponent(-1),
      m_nMembKind(0),
      m_bSuppress(0),
      m_ids(ids),
      m_nMode(nMode) {
    m_nIDLoadCombo = ids.nLoadCombo;
    m_strTitle = "Reaction";
}

BOOL CPVXBarReacPage::ParseScale(const CString& text, double& dScale) {
    const char* s = text.GetString();
    char* end = nullptr;
    const double v = std::strtod(s, &end);
    if (end == s) return FALSE;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end || !std::isfinite(v) || v < -10.0 || v > 10.0) return FALSE;
    dScale = v;
    return TRUE;
}

BOOL CPVXBarReacPage::ParseNode(const CString& text, UINT& nNode) {
    const char* s = text.GetString();
    while (*s == ' ') ++s;
    char* end = nullptr;
    const long v = std::strtol(s, &end, 10);
    if (end == s || *end || v <= 0) return FALSE;
    nNode = static_cast<UINT>(v);
    return TRUE;
}

void CPVXBarReacPage::DoDataExchange(CDataExchange* pDX) {
    CPVXBarDlgBase::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_REAC_FX, m_nComponent);
    DDX_Text(pDX, static_cast<int>(m_ids.nScale), m_strScale);
    if (GetDlgItem(IDC_REAC_NODE)) {
        if (!m_EditNode.GetSafeHwnd()) DDX_Control(pDX, IDC_REAC_NODE, m_EditNode);
        DDX_Text(pDX, IDC_REAC_NODE, m_strNode);
    }
    DDX_Check(pDX, static_cast<int>(m_ids.nContour), m_bContour);
    DDX_Check(pDX, static_cast<int>(m_ids.nLegend), m_bLegend);
    DDX_Check(pDX, static_cast<int>(m_ids.nValues), m_bValues);
    if (m_bHasMembKind) DDX_Radio(pDX, 11618, m_nMembKind);
}

std::vector<CBarControlName> CPVXBarReacPage::GetControlNames() const {
    return {{m_ids.nLoadCombo, "load"},     {m_ids.nContour, "contour"}, {m_ids.nLegend, "legend"},
            {m_ids.nValues, "values"},      {m_ids.nScale, "scale"},     {IDC_REAC_FX, "component"},
            {IDC_REAC_NODE, "node"},        {11618, "member"},           {m_ids.nContourMore, "contour-more"},
            {m_ids.nLegendMore, "legend-more"}, {m_ids.nValuesMore, "values-more"}};
}

int I_PVXModel::*CPVXBarReacPage::ReactionDecimals(int nComponent) {
    return nComponent >= 4 && nComponent <= 7 ? &I_PVXModel::m_nMomentDecimals : &I_PVXModel::m_nForceDecimals;
}

BOOL CPVXBarReacPage::OnInitDialog() {
    InitPageDialog(m_nMode);
    if (CReactionEngine* e = m_pReactionEngine) {
        m_nComponent = e->m_nComponent;
        m_strScale.Format("%f", e->m_dArrowScale);
        m_bSuppress = e->m_bSuppressReac;
        m_nMembKind = e->m_nMembKind;
        e->m_arrPickedNode.RemoveAll();
    }
    m_bValues = 0;
    m_bContour = 1;
    m_bLegend = m_pBarInfo ? m_pBarInfo->bLegend : 0;
    GMsgOutClear();
    if (I_PVXModel* pModel = GetModel())
        if (pModel->m_pReactionEngine) pModel->m_pReactionEngine->m_arrPickedNode.RemoveAll();
    TakeModelDecimals(ReactionDecimals(m_nComponent));
    Exchange(FALSE);
    // The node edit picks one node in the view.
    if (m_EditNode.GetSafeHwnd()) {
        m_EditNode.SetNotifyWnd(this, nullptr, this);
        m_EditNode.SetPickMode(kPickNodes);
        m_EditNode.SetFocus();
    }
    return TRUE;
}

LRESULT CPVXBarReacPage::OnNodePicked(WPARAM, LPARAM lParam) {
    auto* pEdit = reinterpret_cast<CMouseEdit*>(lParam);
    if (!m_EditNode.GetSafeHwnd() || m_EditNode.IsKeyPressed() || pEdit != &m_EditNode) return 0;
    I_PVXModel* pModel = GetModel();
    CReactionEngine* pShown = pModel ? pModel->m_pReactionEngine : nullptr;
    T_PICKED_OBJECT obj;
    if (CMouseEdit::GetCurPickedPVXObjectDataST(obj) && obj.nType == PICKED_NODE && pModel &&
        pModel->IsActiveNode(obj.nKey)) {
        // Before the first Apply the reactions are not read yet: Apply reports the node.
        if (m_pReactionEngine && m_pReactionEngine->m_bDataReady) ReportNode(obj.nKey);
    } else {
        m_EditNode.SetWindowText("");
        if (pShown) pShown->m_arrPickedNode.RemoveAll();
        if (m_pReactionEngine) m_pReactionEngine->m_arrPickedNode.RemoveAll();
        GMsgOutClear();
    }
    if (pModel) {
        pModel->m_bRedrawRequested = 1;
        if (pShown && m_pView && m_pView->GetSafeHwnd()) {
            if (CDC* pDC = m_pView->GetDC()) {
                pShown->DrawPickedNodesOnClientWnd(pDC);
                m_pView->ReleaseDC(pDC);
            }
        }
    }
    return 0;
}

void CPVXBarReacPage::OnApply() {
    Execute();
}

void CPVXBarReacPage::Execute() {
    // Checked here so that every way into Execute refuses a bad factor before anything runs.
    Exchange(TRUE);
    double d = 0.0;
    if (!ParseScale(m_strScale, d)) {
        AfxMessageBox(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Scale_Factor_Invalid_Abs10", 0), MB_OK, 0);
        return;
    }
    CPVXBarContainerBase::m_nCurrentMode = m_nMode;
    if (m_pContainer) m_pContainer->OnTmExecute();
}

void CPVXBarReacPage::ApplyOptions() {
    Exchange(TRUE);
    I_PVXModel* pModel = GetModel();
    if (!TakeLoadOnApply()) return;
    CReactionEngine* e = m_pReactionEngine;
    if (!e) return;
    if (m_nComponent >= 0 && e->m_nComponent != m_nComponent) {
        e->m_nComponent = m_nComponent;
        m_bReactionRebuild = 1;
    }
    if (e->m_bSuppressReac != m_bSuppress) {
        e->m_bSuppressReac = m_bSuppress;
        m_bReactionRebuild = 1;
    }
    if (m_bHasMembKind && e->m_nMembKind != m_nMembKind) {
        e->m_nMembKind = m_nMembKind;
        m_bReactionRebuild = 1;
    }
    double d = 0.0;
    if (ParseScale(m_strScale, d)) e->m_dArrowScale = d;
    if (m_pBarInfo) {
        m_pBarInfo->bValues = m_bValues;
        m_pBarInfo->bLegend = m_bLegend;
        m_pBarInfo->bContour = m_bContour;
    }
    StoreModelDecimals(ReactionDecimals(m_nComponent));
    if (m_bReactionRebuild) {
        e->InitEngine(nullptr, -1);
        m_bReactionRebuild = 0;
    }
    if (pModel) pModel->m_bResultPresent = e->m_bDataReady;
    UINT nNode = 0;
    if (pModel && ParseNode(m_strNode, nNode) && pModel->IsActiveNode(nNode) && e->m_arrPickedNode.GetSize() != 1) {
        e->m_arrPickedNode.RemoveAll();
        GMsgOutClear();
        ReportNode(nNode);
    }
}

int CPVXBarReacPage::ReportNode(UINT nNode) {
    CReactionEngine* e = m_pReactionEngine;
    if (!e) return 0;
    T_REAC_D r;
    r.Initialize();
    if (!e->GetReacData(nNode, r)) r.Initialize();
    if (r.FX == 0.0 && r.FY == 0.0 && r.FZ == 0.0 && r.MX == 0.0 && r.MY == 0.0 && r.MZ == 0.0) {
        GMsgOutNF("Node has no Reaction");
        return 0;
    }
    e->m_arrPickedNode.Add(nNode);
    if (I_PVXModel* pModel = GetModel())
        if (pModel->m_pReactionEngine && pModel->m_pReactionEngine != e) pModel->m_pReactionEngine->m_arrPickedNode.Add(nNode);
    CString line;
    line.Format("NODE NUMBER=%u", nNode);
    GMsgOutNF(line);
    line.Format(" FX=%s  FY=%s  FZ=%s  FXYZ=%s", Exp15(r.FX).GetString(), Exp15(r.FY).GetString(),
                Exp15(r.FZ).GetString(), Exp15(e->CalcReacValue(3, r)).GetString());
    GMsgOutNF(line);
    line.Format(" MX=%s  MY=%s  MZ=%s", Exp15(r.MX).GetString(), Exp15(r.MY).GetString(), Exp15(r.MZ).GetString());
    GMsgOutNF(line);
    return 1;
}

void CPVXBarReacPage::OnLoadChange() {
    Exchange(TRUE);
    I_PVXModel* pModel = GetModel();
    const UINT oldType = pModel ? pModel->m_nLoadType : 0, oldKey = pModel ? pModel->m_nLoadKey : 0;
    if (!TakeLoadOnApply() || !pModel) return;
    if ((pModel->m_nLoadType != oldType || pModel->m_nLoadKey != oldKey) && m_pReactionEngine) {
        m_pReactionEngine->InitEngine(nullptr, -1);
        m_bReactionRebuild = 0;
        m_pReactionEngine->m_arrPickedNode.RemoveAll();
    }
}

void CPVXBarReacPage::OnComponent() {
    Exchange(TRUE);
    if (m_pReactionEngine && m_nComponent >= 0) {
        m_pReactionEngine->m_nComponent = m_nComponent;
        m_bReactionRebuild = 1;
    }
}
