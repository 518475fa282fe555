#include "module/bars/CPVXBarSForc.h"

#include "host/base/CMsgDll.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarSForc, CPVXBarSlabPage)

BEGIN_MESSAGE_MAP(CPVXBarSForc, CPVXBarSlabPage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnCloseBar)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_CBN_SELCHANGE(CPVXBarSForc::IDC_LOAD, OnLoadChange)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarSForc::IDC_UNIT_MEMBER, CPVXBarSForc::IDC_UNIT_ELEMENT, OnUnitButton)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarSForc::IDC_AVERAGE_ELEMENT, CPVXBarSForc::IDC_AVERAGE_NODAL, OnAverageButton)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarSForc::IDC_COMP_MXX, CPVXBarSForc::IDC_COMP_FXY, OnComponentButton)
    ON_BN_CLICKED(CPVXBarSForc::IDC_POSITIVE, OnPositive)
    ON_BN_CLICKED(CPVXBarSForc::IDC_NEGATIVE, OnNegative)
    ON_BN_CLICKED(CPVXBarSForc::IDC_CONTOUR, OnContourCheck)
    ON_BN_CLICKED(CPVXBarSForc::IDC_CONTOUR_MORE, OnContourDetails)
    ON_BN_CLICKED(CPVXBarSForc::IDC_VALUES, OnReadControls)
    ON_BN_CLICKED(CPVXBarSForc::IDC_VALUES_MORE, OnValuesMore)
    ON_BN_CLICKED(CPVXBarSForc::IDC_LEGEND, OnReadControls)
    ON_BN_CLICKED(CPVXBarSForc::IDC_LEGEND_MORE, OnLegendDetails)
END_MESSAGE_MAP()

namespace {
using SForc = CPVXBarSForc;
// The blocks the layout moves, shows and hides.
constexpr UINT kSlabComponentBlock[] = {SForc::IDC_COMP_GROUP, SForc::IDC_COMP_MXX, SForc::IDC_COMP_MYY,
                                        SForc::IDC_COMP_MXY, SForc::IDC_COMP_VXX, SForc::IDC_COMP_VYY,
                                        SForc::IDC_COMP_VMAX};
constexpr UINT kAverageBlock[] = {SForc::IDC_AVERAGE_GROUP, SForc::IDC_AVERAGE_ELEMENT,
                                  SForc::IDC_AVERAGE_NODAL, SForc::IDC_ACTIVE_ONLY};
constexpr UINT kLowerBlock[] = {SForc::IDC_SIGN_GROUP, SForc::IDC_POSITIVE, SForc::IDC_NEGATIVE,
                                SForc::IDC_DISPLAY_GROUP, SForc::IDC_CONTOUR, SForc::IDC_CONTOUR_MORE,
                                SForc::IDC_VALUES, SForc::IDC_VALUES_MORE, SForc::IDC_LEGEND,
                                SForc::IDC_LEGEND_MORE, CPVXBarDlgBase::IDC_PAGE_ICON,
                                CPVXBarDlgBase::IDC_PAGE_APPLY, CPVXBarDlgBase::IDC_PAGE_CLOSE};
}  // namespace

CPVXBarSForc::CPVXBarSForc()
    : CPVXBarSlabPage(IDD, IDC_LOAD, PVXMode::kSlabForce, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Slab_Force", 0)),
      m_nUnit(-1),
      m_nAverage(0),
      m_bActiveOnly(0),
      m_nComponent(-1),
      m_bPositive(1),
      m_bNegative(0),
      m_bOptionsShort(FALSE) {}

void CPVXBarSForc::DoDataExchange(CDataExchange* pDX) {
    CPVXBarSlabPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_UNIT_MEMBER, m_nUnit);
    DDX_Radio(pDX, IDC_AVERAGE_ELEMENT, m_nAverage);
    DDX_Check(pDX, IDC_ACTIVE_ONLY, m_bActiveOnly);
    DDX_Radio(pDX, IDC_COMP_MXX, m_nComponent);
    DDX_Check(pDX, IDC_POSITIVE, m_bPositive);
    DDX_Check(pDX, IDC_NEGATIVE, m_bNegative);
    DDX_Check(pDX, IDC_CONTOUR, m_bContour);
    DDX_Check(pDX, IDC_VALUES, m_bValues);
    DDX_Check(pDX, IDC_LEGEND, m_bLegend);
}

std::vector<CBarControlName> CPVXBarSForc::GetControlNames() const {
    return {{IDC_LOAD, "load"},         {IDC_UNIT_MEMBER, "unit"},       {IDC_AVERAGE_ELEMENT, "average"},
            {IDC_ACTIVE_ONLY, "active"}, {IDC_COMP_MXX, "component"},    {IDC_POSITIVE, "positive"},
            {IDC_NEGATIVE, "negative"}, {IDC_CONTOUR, "contour"},       {IDC_VALUES, "values"},
            {IDC_LEGEND, "legend"},     {IDC_CONTOUR_MORE, "contour-more"}, {IDC_VALUES_MORE, "values-more"},
            {IDC_LEGEND_MORE, "legend-more"}};
}

BOOL CPVXBarSForc::OnInitDialog() {
    InitSlabPage(kSlabLoadMask);
    if (CForceEngine* e = Engine()) {
        m_nUnit = e->m_nSForcUnit == UNIT_MEMBER || e->m_nSForcUnit == UNIT_ELEMENT ? e->m_nSForcUnit : -1;
        m_bPositive = e->m_bSForcPos;
        m_bNegative = e->m_bSForcNeg;
        m_nComponent = e->m_nSForcComp >= 0 && e->m_nSForcComp < kComponentCount ? e->m_nSForcComp : -1;
        m_nAverage = e->m_bPAverageNodal ? 1 : 0;
        m_bActiveOnly = e->m_bSkipActivePlateList;
    }
    if (!m_bPositive && !m_bNegative) m_bPositive = 1;
    if (m_pBarInfo) {
        m_bContour = m_pBarInfo->bContour;
        m_bValues = m_pBarInfo->bValues;
        m_bLegend = m_pBarInfo->bLegend;
    }
    TakeModelDecimals(&I_PVXModel::m_nForceDecimals);
    Exchange(FALSE);
    for (UINT id : {IDC_CONTOUR, IDC_CONTOUR_MORE, IDC_VALUES}) EnableControl(id, FALSE);
    OnUnitChange();
    SignRule();
    OnAverageChange();
    return TRUE;
}

void CPVXBarSForc::LayoutUnit() {
    const CRect options = ControlRect(IDC_OPTIONS_GROUP);
    const int nAverageHeight = ControlRect(IDC_AVERAGE_GROUP).Height();
    const int gap = DialogUnitsY(kBlockGap);
    CWnd* pOptions = GetDlgItem(IDC_OPTIONS_GROUP);
    if (m_nUnit == UNIT_ELEMENT) {
        if (m_bOptionsShort && pOptions) {
            pOptions->MoveWindow(options.left, options.top, options.Width(), options.Height() + nAverageHeight, FALSE);
            m_bOptionsShort = FALSE;
        }
        ShowControls(kAverageBlock, TRUE);
        ShowControls(kSlabComponentBlock, TRUE);
        MoveBlockTo(kLowerBlock, ControlRect(IDC_COMP_GROUP).bottom + gap);
    } else {
        if (!m_bOptionsShort && pOptions) {
            pOptions->MoveWindow(options.left, options.top, options.Width(), options.Height() - nAverageHeight, FALSE);
            m_bOptionsShort = TRUE;
        }
        ShowControls(kAverageBlock, FALSE);
        ShowControls(kSlabComponentBlock, FALSE);
        MoveBlockTo(kLowerBlock, ControlRect(IDC_OPTIONS_GROUP).bottom + gap);
    }
    Invalidate(TRUE);
}

void CPVXBarSForc::UpdateContourButtons() {
    const BOOL bAllowed = ContourAllowed(m_nUnit == UNIT_ELEMENT, m_nLoadType, m_bPositive, m_bNegative);
    EnableControl(IDC_CONTOUR, bAllowed);
    EnableControl(IDC_VALUES, bAllowed);
    EnableControl(IDC_CONTOUR_MORE, bAllowed && m_bContour);
}

void CPVXBarSForc::SignRule() {
    Exchange(TRUE);
    if (!ContourAllowed(m_nUnit == UNIT_ELEMENT, m_nLoadType, m_bPositive, m_bNegative)) {
        m_bContour = 0;
        m_bValues = 1;
    }
    if (CForceEngine* e = Engine())
        if (m_bPositive != e->m_bSForcPos || m_bNegative != e->m_bSForcNeg) m_bForceRebuild = 1;
    Exchange(FALSE);
    UpdateContourButtons();
}

void CPVXBarSForc::OnUnitChange() {
    Exchange(TRUE);
    if (CForceEngine* e = Engine())
        if (m_nUnit >= 0 && e->m_nSForcUnit != m_nUnit) {
            e->m_nSForcUnit = m_nUnit;
            m_bForceRebuild = 1;
        }
    LayoutUnit();
    const BOOL bEnvelopeBoth = m_nLoadType == LOAD_ENVELOPE && m_bPositive && m_bNegative;
    if (m_nUnit == UNIT_ELEMENT && !bEnvelopeBoth) {
        m_bContour = 1;
        m_bValues = 0;
    } else {
        m_bContour = 0;
        m_bValues = 1;
    }
    Exchange(FALSE);
    UpdateContourButtons();
}

void CPVXBarSForc::OnUnitButton(UINT) { OnUnitChange(); }

void CPVXBarSForc::OnAverageChange() {
    Exchange(TRUE);
    if (m_nAverage == 1) {
        // Vmax is the larger of two shears, not a value the nodes can share.
        if (m_nComponent == COMP_VMAX) m_nComponent = COMP_MXX;
        EnableControl(IDC_ACTIVE_ONLY, TRUE);
    } else {
        m_bActiveOnly = 0;
        EnableControl(IDC_ACTIVE_ONLY, FALSE);
    }
    EnableControl(IDC_COMP_VMAX, m_nAverage != 1);
    Exchange(FALSE);
}

void CPVXBarSForc::OnAverageButton(UINT) { OnAverageChange(); }

void CPVXBarSForc::OnComponentButton(UINT) {
    Exchange(TRUE);
    TakeChoice(&CForceEngine::m_nSForcComp, m_nComponent);
}

void CPVXBarSForc::OnPositive() {
    KeepOneOfPair(m_bPositive, m_bNegative);
    SignRule();
}

void CPVXBarSForc::OnNegative() {
    KeepOneOfPair(m_bNegative, m_bPositive);
    SignRule();
}

void CPVXBarSForc::OnContourCheck() {
    Exchange(TRUE);
    UpdateContourButtons();
}

void CPVXBarSForc::OnReadControls() { Exchange(TRUE); }

void CPVXBarSForc::ApplyOptions() {
    Exchange(TRUE);
    TakeLoadOnApply();
    SignRule();
    CForceEngine* e = Engine();
    if (!e) return;
    // Values the handlers did not store (a control set without its click) rebuild too.
    if (m_bPositive != e->m_bSForcPos || m_bNegative != e->m_bSForcNeg ||
        (m_nUnit >= 0 && m_nUnit != e->m_nSForcUnit) || (m_nComponent >= 0 && m_nComponent != e->m_nSForcComp) ||
        m_nType10Count != e->m_nSForcLcomCount)
        m_bForceRebuild = 1;
    e->m_bSForcPos = m_bPositive;
    e->m_bSForcNeg = m_bNegative;
    if (m_nUnit >= 0) e->m_nSForcUnit = m_nUnit;
    if (m_nComponent >= 0) e->m_nSForcComp = m_nComponent;
    e->m_nSForcLcomCount = m_nType10Count;
    if (m_pBarInfo) {
        m_pBarInfo->bContour = m_bContour;
        m_pBarInfo->bValues = m_bValues;
        m_pBarInfo->bLegend = m_bLegend;
    }
    StoreModelDecimals(&I_PVXModel::m_nForceDecimals);
    if (m_nAverage != e->m_bPAverageNodal || m_bActiveOnly != e->m_bSkipActivePlateList) m_bForceRebuild = 1;
    e->m_bPAverageNodal = m_nAverage;
    e->m_bSkipActivePlateList = m_bActiveOnly;
    RebuildForce(&CForceEngine::m_bSForcData);
}
