#include "module/bars/CPVXBarDeformPages.h"

#include <cstdlib>

#include "host/base/CMsgDll.h"
#include "host/base/CMsgOutWnd.h"
#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CPVXCutLineDetDlg.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

namespace {

// A node key typed into an edit: a whole positive number, blanks around it allowed.
BOOL ParseNodeKey(const CString& text, UINT& nNode) {
    const char* s = text.GetString();
    while (*s == ' ' || *s == '\t') ++s;
    char* end = nullptr;
    const long v = std::strtol(s, &end, 10);
    if (end == s) return FALSE;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end || v <= 0) return FALSE;
    nNode = static_cast<UINT>(v);
    return TRUE;
}

// The post database of the page's model (the results and load groups); null when none.
CDataBase* PostDBOf(I_PVXModel* pModel) {
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    return pDoc && pDoc->GetMDBCtrl() ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr;
}

}  // namespace

// ---- CPVXBarDeform ---------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPVXBarDeform, CPVXBarDeformPage)

BEGIN_MESSAGE_MAP(CPVXBarDeform, CPVXBarDeformPage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, OnLoadCaseDialog)
    ON_CBN_SELCHANGE(CPVXBarDeform::IDC_LOAD, OnLoadChange)
    ON_BN_CLICKED(CPVXBarDeform::IDC_COMP_DX, OnComponent)
    ON_BN_CLICKED(CPVXBarDeform::IDC_COMP_DY, OnComponent)
    ON_BN_CLICKED(CPVXBarDeform::IDC_COMP_DZ, OnComponent)
    ON_BN_CLICKED(CPVXBarDeform::IDC_COMP_DXYZ, OnComponent)
    ON_BN_CLICKED(CPVXBarDeform::IDC_DEFORMED, OnDeformedBox)
    ON_BN_CLICKED(CPVXBarDeform::IDC_UNDEFORMED, OnUndeformed)
    ON_BN_CLICKED(CPVXBarDeform::IDC_DEFORMED_MORE, OnDeformDetails)
    ON_BN_CLICKED(CPVXBarDeform::IDC_VALUES_MORE, OnNumberMore)
    ON_BN_CLICKED(CPVXBarDeform::IDC_LEGEND_MORE, OnLegendDetails)
    ON_BN_CLICKED(CPVXBarDeform::IDC_ANIMATION_MORE, OnAnimationDetails)
END_MESSAGE_MAP()

CPVXBarDeform::CPVXBarDeform()
    : CPVXBarDeformPage(IDD, IDC_LOAD, PVXMode::kDeformedShape, "Deform"), m_nRadio(-1), m_bOwnUndeformed(0) {
    // Time-history cases too: their deformed shape and its animation.
    m_dwPageLoadMask = T_PVX_BAR_INFO::kLoadTypeMask | T_PVX_BAR_INFO::kTimeHistoryBit;
}

void CPVXBarDeform::DoDataExchange(CDataExchange* pDX) {
    CPVXBarDeformPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_COMP_DX, m_nRadio);
    DDX_Check(pDX, IDC_DEFORMED, m_bDeformed);
    DDX_Check(pDX, IDC_VALUES, m_bValues);
    DDX_Check(pDX, IDC_LEGEND, m_bLegend);
    DDX_Check(pDX, IDC_UNDEFORMED, m_bOwnUndeformed);
    DDX_Check(pDX, IDC_ANIMATION, m_bAnimation);
}

std::vector<CBarControlName> CPVXBarDeform::GetControlNames() const {
    return {{IDC_LOAD, "load"},           {IDC_COMP_DX, "component"}, {IDC_VALUES, "values"},
            {IDC_LEGEND, "legend"},       {IDC_UNDEFORMED, "undeformed"}, {IDC_ANIMATION, "animation"},
            {IDC_DEFORMED, "deformed"},   {IDC_DEFORMED_MORE, "deformed-more"}, {IDC_VALUES_MORE, "values-more"},
            {IDC_LEGEND_MORE, "legend-more"}, {IDC_ANIMATION_MORE, "animation-more"}};
}

void CPVXBarDeform::TakeInitialValues() {
    if (I_PVXModel* pModel = GetModel()) pModel->m_nLoadStep = 0;
    SelectLoadOnInit();
    if (m_pDeformEngine) m_nRadio = ComponentToRadio(m_pDeformEngine->m_nComponent);
    m_bDeformed = 1;
    m_bValues = 0;
    if (T_PVX_BAR_INFO* b = m_pBarInfo) {
        m_bOwnUndeformed = b->bUndeformed;
        b->bValues = 0;
        m_bLegend = b->bLegend;
        m_bAnimation = b->bAnimation;
        if (I_PVXModel* pModel = GetModel()) b->nDecimals = pModel->m_nDispDecimals;
    }
}

void CPVXBarDeform::UpdateEnabling() { EnableControl(IDC_DEFORMED, FALSE); }

void CPVXBarDeform::ApplyOptions() {
    Exchange(TRUE);
    TakeLoadOnApply();
    CDeformEngine* e = m_pDeformEngine;
    const int nCode = RadioToComponent(m_nRadio);
    if (e && nCode >= 0 && e->m_nComponent != nCode) {
        e->m_nComponent = nCode;
        m_bDeformRebuild = 1;
    }
    if (T_PVX_BAR_INFO* b = m_pBarInfo) {
        b->bDeformed = m_bDeformed;
        b->bUndeformed = m_bOwnUndeformed;
        b->bValues = m_bValues;
        b->bLegend = m_bLegend;
        b->bAnimation = m_bAnimation;
    }
    if (e) e->m_bDeformed = m_bDeformed;
    FinishApply();
}

void CPVXBarDeform::OnComponent() {
    Exchange(TRUE);
    const int nCode = RadioToComponent(m_nRadio);
    if (m_pDeformEngine && nCode >= 0 && m_pDeformEngine->m_nComponent != nCode) {
        m_pDeformEngine->m_nComponent = nCode;
        m_bDeformRebuild = 1;
    }
}

void CPVXBarDeform::OnDeformedBox() {
    // The deformed shape is this page's result: its box stays on.
    Exchange(TRUE);
    m_bDeformed = 1;
    Exchange(FALSE);
}

void CPVXBarDeform::OnUndeformed() {
    Exchange(TRUE);
    if (m_pBarInfo) m_pBarInfo->bUndeformed = m_bOwnUndeformed;
}

// ---- CPVXBarDContr ---------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPVXBarDContr, CPVXBarDeformPage)

BEGIN_MESSAGE_MAP(CPVXBarDContr, CPVXBarDeformPage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, OnLoadCaseDialog)
    ON_CBN_SELCHANGE(CPVXBarDContr::IDC_LOAD, OnLoadChange)
    ON_BN_CLICKED(CPVXBarDContr::IDC_COMP_DX, OnComponent)
    ON_BN_CLICKED(CPVXBarDContr::IDC_COMP_DY, OnComponent)
    ON_BN_CLICKED(CPVXBarDContr::IDC_COMP_DZ, OnComponent)
    ON_BN_CLICKED(CPVXBarDContr::IDC_COMP_DXYZ, OnComponent)
    ON_BN_CLICKED(CPVXBarDContr::IDC_COMP_RX, OnComponent)
    ON_BN_CLICKED(CPVXBarDContr::IDC_COMP_RY, OnComponent)
    ON_BN_CLICKED(CPVXBarDContr::IDC_COMP_RZ, OnComponent)
    ON_BN_CLICKED(CPVXBarDContr::IDC_CONTOUR, OnContourBox)
    ON_BN_CLICKED(CPVXBarDContr::IDC_CONTOUR_MORE, OnContourDetails)
    ON_BN_CLICKED(CPVXBarDContr::IDC_DEFORMED_MORE, OnDeformDetails)
    ON_BN_CLICKED(CPVXBarDContr::IDC_VALUES_MORE, OnNumberMore)
    ON_BN_CLICKED(CPVXBarDContr::IDC_LEGEND_MORE, OnLegendDetails)
    ON_BN_CLICKED(CPVXBarDContr::IDC_ANIMATION_MORE, OnAnimationDetails)
    ON_BN_CLICKED(CPVXBarDContr::IDC_CUT_SECTION, OnCutSection)
    ON_BN_CLICKED(CPVXBarDContr::IDC_CUT_SECTION_MORE, OnCutLineDialog)
END_MESSAGE_MAP()

CPVXBarDContr::CPVXBarDContr()
    : CPVXBarDeformPage(IDD, IDC_LOAD, PVXMode::kDispContour, "Deform Contour"), m_nComponent(-1), m_bCutSection(0) {
    m_dwPageLoadMask = T_PVX_BAR_INFO::kLoadTypeMask | T_PVX_BAR_INFO::kTimeHistoryBit;
}

void CPVXBarDContr::DoDataExchange(CDataExchange* pDX) {
    CPVXBarDeformPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_COMP_DX, m_nComponent);
    ExchangeDisplayBoxes(pDX, DisplayBoxIdsOf<CPVXBarDContr>());
    DDX_Check(pDX, IDC_CUT_SECTION, m_bCutSection);
}

std::vector<CBarControlName> CPVXBarDContr::GetControlNames() const {
    return {{IDC_LOAD, "load"},         {IDC_COMP_DX, "component"},   {IDC_CONTOUR, "contour"},
            {IDC_DEFORMED, "deformed"}, {IDC_VALUES, "values"},       {IDC_LEGEND, "legend"},
            {IDC_ANIMATION, "animation"}, {IDC_UNDEFORMED, "undeformed"}, {IDC_CUT_SECTION, "cut"},
            {IDC_CONTOUR_MORE, "contour-more"}, {IDC_DEFORMED_MORE, "deformed-more"}, {IDC_VALUES_MORE, "values-more"},
            {IDC_LEGEND_MORE, "legend-more"}, {IDC_ANIMATION_MORE, "animation-more"}, {IDC_CUT_SECTION_MORE, "cut-more"}};
}

void CPVXBarDContr::TakeInitialValues() {
    if (I_PVXModel* pModel = GetModel()) pModel->m_nLoadStep = 0;
    SelectLoadOnInit();
    if (CDeformEngine* e = m_pDeformEngine) {
        m_nComponent = e->m_nComponent >= 0 && e->m_nComponent <= 9 ? e->m_nComponent : -1;
        m_bCutSection = e->m_bCuttingLine;
    }
    m_bContour = 1;
    m_bValues = 0;
    if (T_PVX_BAR_INFO* b = m_pBarInfo) {
        m_bDeformed = b->bDeformed;
        m_bLegend = b->bLegend;
        m_bAnimation = b->bAnimation;
        m_bUndeformed = b->bUndeformed;
        if (I_PVXModel* pModel = GetModel()) b->nDecimals = pModel->m_nDispDecimals;
    }
    if (m_bCutSection) m_bDeformed = 0;
}

void CPVXBarDContr::UpdateEnabling() {
    EnableControl(IDC_CONTOUR, FALSE);
    EnableControl(IDC_DEFORMED, !m_bCutSection);
    EnableControl(IDC_DEFORMED_MORE, !m_bCutSection);
}

void CPVXBarDContr::ApplyOptions() {
    Exchange(TRUE);
    TakeLoadOnApply();
    CDeformEngine* e = m_pDeformEngine;
    if (e && m_nComponent >= 0 && e->m_nComponent != m_nComponent) {
        e->m_nComponent = m_nComponent;
        m_bDeformRebuild = 1;
    }
    m_bContour = 1;
    StoreDisplayBoxes();
    if (e) {
        e->m_bDeformed = m_bDeformed;
        e->m_bCuttingLine = m_bCutSection;
    }
    if (m_bCutSection) m_bDeformRebuild = 1;
    FinishApply();
}

void CPVXBarDContr::OnComponent() {
    Exchange(TRUE);
    if (m_pDeformEngine && m_nComponent >= 0 && m_pDeformEngine->m_nComponent != m_nComponent) {
        m_pDeformEngine->m_nComponent = m_nComponent;
        m_bDeformRebuild = 1;
    }
}

void CPVXBarDContr::OnCutSection() {
    Exchange(TRUE);
    if (m_bCutSection) {
        m_bDeformRebuild = 1;
        m_bDeformed = 0;
        Exchange(FALSE);
        UpdateEnabling();
        OnCutLineDialog();
        return;
    }
    UpdateEnabling();
}

void CPVXBarDContr::OnCutLineDialog() {
    Exchange(TRUE);
    if (!m_bCutSection) {
        m_bCutSection = 1;
        m_bDeformRebuild = 1;
        m_bDeformed = 0;
        Exchange(FALSE);
        UpdateEnabling();
    }
    ShowCutLineWindow();
}

// ---- CPVXBarSetMnt ---------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPVXBarSetMnt, CPVXBarDeformPage)

BEGIN_MESSAGE_MAP(CPVXBarSetMnt, CPVXBarDeformPage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, OnLoadCaseDialog)
    ON_CBN_SELCHANGE(CPVXBarSetMnt::IDC_GROUP, OnGroupChange)
    ON_BN_CLICKED(CPVXBarSetMnt::IDC_CONTOUR, OnContourBox)
    ON_BN_CLICKED(CPVXBarSetMnt::IDC_CONTOUR_MORE, OnKrigContourDetails)
    ON_BN_CLICKED(CPVXBarSetMnt::IDC_DEFORMED_MORE, OnDeformDetails)
    ON_BN_CLICKED(CPVXBarSetMnt::IDC_VALUES_MORE, OnNumberMore)
    ON_BN_CLICKED(CPVXBarSetMnt::IDC_LEGEND_MORE, OnLegendDetails)
    ON_BN_CLICKED(CPVXBarSetMnt::IDC_ANIMATION_MORE, OnAnimationDetails)
END_MESSAGE_MAP()

CPVXBarSetMnt::CPVXBarSetMnt() : CPVXBarDeformPage(IDD, 0, PVXMode::kSettlement, "Settlement") {}

void CPVXBarSetMnt::DoDataExchange(CDataExchange* pDX) {
    CPVXBarDeformPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_CONTOUR, m_bContour);
    DDX_Check(pDX, IDC_VALUES, m_bValues);
    DDX_Check(pDX, IDC_LEGEND, m_bLegend);
}

std::vector<CBarControlName> CPVXBarSetMnt::GetControlNames() const {
    return {{IDC_GROUP, "group"},         {IDC_CONTOUR, "contour"},           {IDC_VALUES, "values"},
            {IDC_LEGEND, "legend"},       {IDC_CONTOUR_MORE, "contour-more"}, {IDC_VALUES_MORE, "values-more"},
            {IDC_LEGEND_MORE, "legend-more"}};
}

void CPVXBarSetMnt::FillGroups() {
    auto* pCombo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_GROUP));
    if (!pCombo) return;
    pCombo->ResetContent();
    CDataBase* pDB = PostDBOf(GetModel());
    if (!pDB) return;
    CClassLdgp groups;
    groups.ConnectToDB(pDB);
    CArray<UINT, UINT> keys;
    groups.GetKeyListByType(keys, LDGP_SETTLEMENT);
    // Each item keeps its group's key: a group that cannot be read is left out without moving
    // the others onto its number.
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_LDGP_D rec;
        if (!groups.Get(keys[i], rec)) continue;
        const int at = pCombo->AddString(rec.name);
        if (at >= 0) pCombo->SetItemData(at, static_cast<DWORD_PTR>(keys[i]));
    }
    if (pCombo->GetCount() > 0) pCombo->SetCurSel(0);
}

UINT CPVXBarSetMnt::GetSelectedGroup(int* pNumber) const {
    if (pNumber) *pNumber = 0;
    auto* pCombo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_GROUP));
    if (!pCombo || pCombo->GetCurSel() < 0) return 0;
    const UINT nKey = static_cast<UINT>(pCombo->GetItemData(pCombo->GetCurSel()));
    if (pNumber) {
        CDataBase* pDB = PostDBOf(GetModel());
        CClassLdgp groups;
        groups.ConnectToDB(pDB);
        CArray<UINT, UINT> keys;
        if (pDB) groups.GetKeyListByType(keys, LDGP_SETTLEMENT);
        for (INT_PTR i = 0; i < keys.GetSize(); ++i)
            if (keys[i] == nKey) *pNumber = static_cast<int>(i) + 1;
    }
    return nKey;
}

void CPVXBarSetMnt::TakeInitialValues() {
    if (I_PVXModel* pModel = GetModel()) pModel->m_bLoadSelected = 1;
    m_bDeformRebuild = 1;
    m_bContour = 1;
    if (T_PVX_BAR_INFO* b = m_pBarInfo) {
        m_bValues = b->bValues;
        m_bLegend = b->bLegend;
        if (I_PVXModel* pModel = GetModel()) b->nDecimals = pModel->m_nDispDecimals;
    }
    FillGroups();
}

void CPVXBarSetMnt::Execute() {
    auto* pCombo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_GROUP));
    if (!pCombo || pCombo->GetCount() < 1) {
        // No settlement group: nothing to show.
        if (I_PVXModel* pModel = GetModel()) pModel->m_bLoadSelected = 0;
        return;
    }
    CPVXBarDeformPage::Execute();
}

void CPVXBarSetMnt::ApplyOptions() {
    Exchange(TRUE);
    I_PVXModel* pModel = GetModel();
    int nNumber = 0;
    const UINT nGroup = GetSelectedGroup(&nNumber);
    if (pModel) {
        if (auto* pCombo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_GROUP)); pCombo && pCombo->GetCurSel() >= 0)
            pCombo->GetLBText(pCombo->GetCurSel(), pModel->m_strLoadName);
        pModel->m_nLoadKey = static_cast<UINT>(nNumber);
    }
    if (CDeformEngine* e = m_pDeformEngine) {
        if (e->m_nSettlementGroup != nGroup) m_bDeformRebuild = 1;
        e->m_nSettlementGroup = nGroup;
    }
    if (T_PVX_BAR_INFO* b = m_pBarInfo) {
        b->bContour = m_bContour;
        b->bValues = m_bValues;
        b->bLegend = m_bLegend;
    }
    FinishApply();
}

void CPVXBarSetMnt::OnGroupChange() {
    I_PVXModel* pModel = GetModel();
    auto* pCombo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_GROUP));
    if (!pModel) return;
    if (!pCombo || pCombo->GetCount() < 1) {
        pModel->m_bLoadSelected = 0;
        return;
    }
    int nNumber = 0;
    GetSelectedGroup(&nNumber);
    if (static_cast<UINT>(nNumber) != pModel->m_nLoadKey) {
        pModel->m_nLoadKey = static_cast<UINT>(nNumber);
        pModel->m_bLoadSelected = 1;
        m_bDeformRebuild = 1;
    }
}

// ---- CPVXBarSrhdsp ---------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPVXBarSrhdsp, CPVXBarDeformPage)

BEGIN_MESSAGE_MAP(CPVXBarSrhdsp, CPVXBarDeformPage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, OnLoadCaseDialog)
    ON_CBN_SELCHANGE(CPVXBarSrhdsp::IDC_LOAD, OnLoadChangeNow)
    ON_MESSAGE(CMouseEdit::WM_LBUTTONDOWN_FROM_MVIEW, OnNodePicked)
END_MESSAGE_MAP()

CPVXBarSrhdsp::CPVXBarSrhdsp() : CPVXBarDeformPage(IDD, IDC_LOAD, PVXMode::kNodeDisp, "Srhdsp") {}

void CPVXBarSrhdsp::DoDataExchange(CDataExchange* pDX) {
    CPVXBarDeformPage::DoDataExchange(pDX);
    if (!m_EditNode.GetSafeHwnd()) DDX_Control(pDX, IDC_NODE, m_EditNode);
    DDX_Text(pDX, IDC_NODE, m_strNode);
}

std::vector<CBarControlName> CPVXBarSrhdsp::GetControlNames() const {
    return {{IDC_LOAD, "load"}, {IDC_NODE, "node"}};
}

void CPVXBarSrhdsp::TakeInitialValues() {
    I_PVXModel* pModel = GetModel();
    if (pModel) pModel->m_nLoadStep = 0;
    // A load taken over is read by the model's own engine too (it draws the picked nodes).
    if (SelectLoadOnInit() && pModel && pModel->m_pDeformEngine) pModel->m_pDeformEngine->InitEngine();
    GMsgOutClear();
    if (m_pDeformEngine) m_pDeformEngine->m_arrPickedNode.RemoveAll();
    if (pModel && pModel->m_pDeformEngine) pModel->m_pDeformEngine->m_arrPickedNode.RemoveAll();
    Exchange(FALSE);
    m_EditNode.SetNotifyWnd(this, this, this);
    m_EditNode.SetPickMode(kPickNodes);
    m_EditNode.SetFocus();
}

void CPVXBarSrhdsp::ApplyOptions() {
    Exchange(TRUE);
    OnLoadChangeNow();
    I_PVXModel* pModel = GetModel();
    CDeformEngine* e = m_pDeformEngine;
    if (e && m_bDeformRebuild) {
        e->InitEngine();
        m_bDeformRebuild = 0;
    }
    if (pModel) pModel->m_bResultPresent = e ? e->m_bDataReady : 0;
    UINT nNode = 0;
    // Text that is no node key reports nothing.
    if (!e || !pModel || !ParseNodeKey(m_strNode, nNode) || !pModel->IsActiveNode(nNode)) return;
    if (e->m_arrPickedNode.GetSize() == 1) return;
    e->m_arrPickedNode.RemoveAll();
    GMsgOutClear();
    ReportNode(nNode);
}

void CPVXBarSrhdsp::OnLoadChangeNow() {
    Exchange(TRUE);
    I_PVXModel* pModel = GetModel();
    if (!pModel) return;
    const UINT oldType = pModel->m_nLoadType, oldKey = pModel->m_nLoadKey;
    const int oldStep = pModel->m_nLoadStep;
    if (!TakeLoadOnApply()) return;
    if (pModel->m_nLoadType == oldType && pModel->m_nLoadKey == oldKey && pModel->m_nLoadStep == oldStep) return;
    if (CDeformEngine* e = m_pDeformEngine) {
        CPVXBarContainerBase::m_nCurrentMode = m_nMode;
        e->InitEngine();
        e->m_arrPickedNode.RemoveAll();
    }
    m_bDeformRebuild = 1;
}

int CPVXBarSrhdsp::ReportNode(UINT nNode) {
    CDeformEngine* e = m_pDeformEngine;
    if (!e) return 0;
    T_DISP_D d;
    d.Initialize();
    if (!e->GetDispData(nNode, d)) d.Initialize();
    e->m_arrPickedNode.Add(nNode);
    if (I_PVXModel* pModel = GetModel())
        if (pModel->m_pDeformEngine && pModel->m_pDeformEngine != e) pModel->m_pDeformEngine->m_arrPickedNode.Add(nNode);
    CString line;
    line.Format(CMsgDll::pfuncLoadStr("IDS_WG_PVX_NODE_NUMBER__d", 0), static_cast<int>(nNode));
    GMsgOutNF(line);
    line.Format("DX=%s  DY=%s  DZ=%s  DXYZ=%s", Exp12(d.DX).GetString(), Exp12(d.DY).GetString(),
                Exp12(d.DZ).GetString(), Exp12(CDeformEngine::CalcDispValue(d, CDeformEngine::COMP_TOTAL)).GetString());
    GMsgOutNF(line);
    return 1;
}

LRESULT CPVXBarSrhdsp::OnNodePicked(WPARAM, LPARAM lParam) {
    if (CPVXBarContainerBase::m_nCurrentTMMode != PVXResult::kNodeDisp) return 0;
    CPVXBarContainerBase::m_nCurrentMode = m_nMode;
    auto* pEdit = reinterpret_cast<CMouseEdit*>(lParam);
    if (m_EditNode.IsKeyPressed() || pEdit != &m_EditNode) return 0;
    I_PVXModel* pModel = GetModel();
    T_PICKED_OBJECT obj;
    if (CMouseEdit::GetCurPickedPVXObjectDataST(obj) && obj.nType == PICKED_NODE && pModel &&
        pModel->IsActiveNode(obj.nKey)) {
        ReportNode(obj.nKey);
    } else {
        m_EditNode.SetWindowText("");
        if (pModel && pModel->m_pDeformEngine) pModel->m_pDeformEngine->m_arrPickedNode.RemoveAll();
        if (m_pDeformEngine) m_pDeformEngine->m_arrPickedNode.RemoveAll();
        GMsgOutClear();
    }
    if (pModel) {
        pModel->m_bRedrawRequested = 1;
        if (pModel->m_pDeformEngine && m_pView && m_pView->GetSafeHwnd()) {
            CDC* pDC = m_pView->GetDC();
            if (pDC) {
                pModel->m_pDeformEngine->DrawPickedNodesOnClientWnd(pDC);
                m_pView->ReleaseDC(pDC);
            }
        }
    }
    return 0;
}
