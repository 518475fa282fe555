#include "module/bars/CPVXBarSRbar.h"

#include "host/db/CDBDoc.h"
#include "host/db/CMDBCtrl.h"
#include "host/db/DBTables.h"
#include "host/base/CMsgDll.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarSRbar, CPVXBarSlabPage)

BEGIN_MESSAGE_MAP(CPVXBarSRbar, CPVXBarSlabPage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnCloseBar)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_CBN_SELCHANGE(CPVXBarSRbar::IDC_LOAD, OnLoadChange)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarSRbar::IDC_UNIT_MEMBER, CPVXBarSRbar::IDC_UNIT_ELEMENT, OnUnitButton)
    ON_BN_CLICKED(CPVXBarSRbar::IDC_TOP, OnTop)
    ON_BN_CLICKED(CPVXBarSRbar::IDC_BOTTOM, OnBottom)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarSRbar::IDC_DIR_X, CPVXBarSRbar::IDC_DIR_Y, OnDirectionButton)
    ON_BN_CLICKED(CPVXBarSRbar::IDC_CONTOUR, OnContourCheck)
    ON_BN_CLICKED(CPVXBarSRbar::IDC_CONTOUR_MORE, OnContourDetails)
    ON_BN_CLICKED(CPVXBarSRbar::IDC_VALUES, OnReadControls)
    ON_BN_CLICKED(CPVXBarSRbar::IDC_VALUES_MORE, OnValuesMore)
    ON_BN_CLICKED(CPVXBarSRbar::IDC_LEGEND, OnReadControls)
    ON_BN_CLICKED(CPVXBarSRbar::IDC_LEGEND_MORE, OnLegendDetails)
END_MESSAGE_MAP()

CPVXBarSRbar::CPVXBarSRbar()
    : CPVXBarSlabPage(IDD, IDC_LOAD, PVXMode::kSlabRebar, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Slab_Rebar", 0)),
      m_nUnit(-1),
      m_bTop(0),
      m_bBottom(0),
      m_nDirection(-1),
      m_bHasCombinations(FALSE) {}

void CPVXBarSRbar::DoDataExchange(CDataExchange* pDX) {
    CPVXBarSlabPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_UNIT_MEMBER, m_nUnit);
    DDX_Check(pDX, IDC_TOP, m_bTop);
    DDX_Check(pDX, IDC_BOTTOM, m_bBottom);
    DDX_Radio(pDX, IDC_DIR_X, m_nDirection);
    DDX_Check(pDX, IDC_CONTOUR, m_bContour);
    DDX_Check(pDX, IDC_VALUES, m_bValues);
    DDX_Check(pDX, IDC_LEGEND, m_bLegend);
}

std::vector<CBarControlName> CPVXBarSRbar::GetControlNames() const {
    return {{IDC_LOAD, "load"},       {IDC_UNIT_MEMBER, "unit"}, {IDC_TOP, "top"},
            {IDC_BOTTOM, "bottom"},   {IDC_DIR_X, "direction"},  {IDC_CONTOUR, "contour"},
            {IDC_VALUES, "values"},   {IDC_LEGEND, "legend"},    {IDC_CONTOUR_MORE, "contour-more"},
            {IDC_VALUES_MORE, "values-more"}, {IDC_LEGEND_MORE, "legend-more"}};
}

BOOL CPVXBarSRbar::OnInitDialog() {
    CClassPLcom combinations;
    if (CDBDoc::m_pDBDoc) combinations.ConnectToDB(CDBDoc::m_pDBDoc->GetMDBCtrl()->GetDBPost());
    CArray<UINT, UINT> keys;
    combinations.GetKeyList(keys);
    m_bHasCombinations = keys.GetSize() > 0;
    InitSlabPage(m_bHasCombinations ? kRebarLoadMask : kNoCombinationMask);
    EnableControl(IDC_PAGE_APPLY, m_bHasCombinations);
    if (CForceEngine* e = Engine()) {
        m_nUnit = e->m_nSRbarUnit == UNIT_MEMBER || e->m_nSRbarUnit == UNIT_ELEMENT ? e->m_nSRbarUnit : -1;
        m_bTop = e->m_bSRbarTop;
        m_bBottom = e->m_bSRbarBottom;
        m_nDirection = e->m_nSRbarDir == 0 || e->m_nSRbarDir == 1 ? e->m_nSRbarDir : -1;
    }
    if (!m_bTop && !m_bBottom) m_bTop = 1;
    m_bContour = 0;
    m_bValues = 1;
    m_bLegend = 0;
    TakeModelDecimals(&I_PVXModel::m_nForceDecimals);
    Exchange(FALSE);
    for (UINT id : {IDC_CONTOUR, IDC_CONTOUR_MORE, IDC_VALUES}) EnableControl(id, FALSE);
    OnUnitChange();
    FaceRule();
    return TRUE;
}

void CPVXBarSRbar::UpdateContourButtons() {
    const BOOL bAllowed = ContourAllowed(m_nUnit == UNIT_ELEMENT, m_nLoadType, m_bTop, m_bBottom);
    EnableControl(IDC_CONTOUR, bAllowed);
    EnableControl(IDC_VALUES, bAllowed);
    EnableControl(IDC_CONTOUR_MORE, bAllowed && m_bContour);
}

void CPVXBarSRbar::FaceRule() {
    Exchange(TRUE);
    if (!ContourAllowed(m_nUnit == UNIT_ELEMENT, m_nLoadType, m_bTop, m_bBottom)) {
        m_bContour = 0;
        m_bValues = 1;
    }
    if (CForceEngine* e = Engine())
        if (m_bTop != e->m_bSRbarTop || m_bBottom != e->m_bSRbarBottom) m_bForceRebuild = 1;
    Exchange(FALSE);
    UpdateContourButtons();
}

void CPVXBarSRbar::OnUnitChange() {
    Exchange(TRUE);
    CForceEngine* e = Engine();
    if (e && m_nUnit >= 0 && e->m_nSRbarUnit != m_nUnit) {
        e->m_nSRbarUnit = m_nUnit;
        m_bForceRebuild = 1;
    }
    const BOOL bElement = m_nUnit == UNIT_ELEMENT;
    for (UINT id : {IDC_DIR_GROUP, IDC_DIR_X, IDC_DIR_Y}) {
        if (bElement) ShowControl(id, TRUE);
        EnableControl(id, bElement);
    }
    if (bElement) {
        if (m_nDirection < 0) m_nDirection = 0;
        if (e && e->m_nSRbarDir != m_nDirection) {
            e->m_nSRbarDir = m_nDirection;
            m_bForceRebuild = 1;
        }
    }
    if (bElement && !(m_nLoadType == LOAD_ENVELOPE && m_bTop && m_bBottom)) {
        m_bContour = 1;
        m_bValues = 0;
    } else {
        m_bContour = 0;
        m_bValues = 1;
    }
    Exchange(FALSE);
    UpdateContourButtons();
    Invalidate(TRUE);
}

void CPVXBarSRbar::OnUnitButton(UINT) { OnUnitChange(); }

void CPVXBarSRbar::OnTop() {
    KeepOneOfPair(m_bTop, m_bBottom);
    FaceRule();
}

void CPVXBarSRbar::OnBottom() {
    KeepOneOfPair(m_bBottom, m_bTop);
    FaceRule();
}

void CPVXBarSRbar::OnDirection() {
    Exchange(TRUE);
    TakeChoice(&CForceEngine::m_nSRbarDir, m_nDirection);
}

void CPVXBarSRbar::OnDirectionButton(UINT) { OnDirection(); }

void CPVXBarSRbar::OnContourCheck() {
    Exchange(TRUE);
    UpdateContourButtons();
}

void CPVXBarSRbar::OnReadControls() { Exchange(TRUE); }

BOOL CPVXBarSRbar::Validate() {
    // Reinforcement is designed for combinations; without any there is nothing to show.
    return m_bHasCombinations;
}

void CPVXBarSRbar::ApplyOptions() {
    Exchange(TRUE);
    TakeLoadOnApply();
    FaceRule();
    CForceEngine* e = Engine();
    if (!e) return;
    if (m_bTop != e->m_bSRbarTop || m_bBottom != e->m_bSRbarBottom || (m_nUnit >= 0 && m_nUnit != e->m_nSRbarUnit) ||
        (m_nDirection >= 0 && m_nDirection != e->m_nSRbarDir) || m_nType10Count != e->m_nSRbarType10Count)
        m_bForceRebuild = 1;
    if (m_nUnit >= 0) e->m_nSRbarUnit = m_nUnit;
    e->m_bSRbarTop = m_bTop;
    e->m_bSRbarBottom = m_bBottom;
    if (m_nDirection >= 0) e->m_nSRbarDir = m_nDirection;
    e->m_nSRbarType10Count = m_nType10Count;
    if (m_pBarInfo) {
        m_pBarInfo->bContour = m_bContour;
        m_pBarInfo->bValues = m_bValues;
        m_pBarInfo->bLegend = m_bLegend;
    }
    StoreModelDecimals(&I_PVXModel::m_nForceDecimals);
    RebuildForce(&CForceEngine::m_bSRbarData);
}
