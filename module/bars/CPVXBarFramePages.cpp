#include "module/bars/CPVXBarFramePages.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/CPVXOptionDlgs.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/engines/CDeformEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

namespace {

constexpr int kCodeOfIndex[3] = {4, 2, 3};  // moment, shear, torque

// The control ids of a frame page class, which names them alike.
template <class P>
constexpr CPVXBarFramePage::IdSet FramePageIds() {
    return {P::IDC_LOAD,        P::IDC_COMP_MOMENT,  P::IDC_CONTOUR,   P::IDC_CONTOUR_MORE, P::IDC_DEFORMED,
            P::IDC_DEFORMED_MORE, P::IDC_VALUES,     P::IDC_VALUES_MORE, P::IDC_LEGEND,     P::IDC_LEGEND_MORE,
            P::IDC_ANIMATION,   P::IDC_ANIMATION_MORE, P::IDC_UNDEFORMED, P::IDC_ALL,         P::IDC_MAX,
            P::IDC_IEND,        P::IDC_CENTRE,       P::IDC_JEND,      P::IDC_UNIT_MEMBER, P::IDC_SIDE_MAX};
}

}  // namespace

// The message-map rows both frame pages have, on the page class's own control ids.
#define PVX_FRAME_PAGE_ENTRIES(P)                                       \
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)              \
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)           \
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, OnLoadCaseDialog) \
    ON_CBN_SELCHANGE(P::IDC_LOAD, OnLoadChange)                         \
    ON_BN_CLICKED(P::IDC_COMP_MOMENT, OnComponent)                      \
    ON_BN_CLICKED(P::IDC_COMP_SHEAR, OnComponent)                       \
    ON_BN_CLICKED(P::IDC_COMP_TORQUE, OnComponent)                      \
    ON_BN_CLICKED(P::IDC_CONTOUR_MORE, OnContourDetails)                \
    ON_BN_CLICKED(P::IDC_DEFORMED_MORE, OnDeformDetails)                \
    ON_BN_CLICKED(P::IDC_VALUES, OnValuesBox)                           \
    ON_BN_CLICKED(P::IDC_VALUES_MORE, OnValuesMore)                     \
    ON_BN_CLICKED(P::IDC_LEGEND_MORE, OnLegendDetails)                  \
    ON_BN_CLICKED(P::IDC_ANIMATION_MORE, OnAnimationDetails)            \
    ON_BN_CLICKED(P::IDC_ALL, OnAllRule)                                \
    ON_BN_CLICKED(P::IDC_MAX, OnMaxRule)

// ---- CPVXBarFramePage ----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPVXBarFramePage, CPVXBarDlgBase)

CPVXBarFramePage::CPVXBarFramePage(UINT nIDTemplate, const IdSet& ids, int nMode, const char* pszTitle)
    : CPVXBarDlgBase(nIDTemplate, nullptr, nullptr),
      m_nIndex(-1),
      m_nComponent(-1),
      m_bAll(0),
      m_bCentre(0),
      m_bIEnd(0),
      m_bJEnd(0),
      m_bMax(0),
      m_nUnit(-1),
      m_nSide(0),
      m_ids(ids),
      m_nMode(nMode) {
    m_nIDLoadCombo = ids.nLoad;
    m_strTitle = pszTitle;
    // Envelopes too: on the side the side radios choose, or with the diagram page's min/max
    // box both sides.
    m_dwPageLoadMask = T_PVX_BAR_INFO::kLoadTypeMask | T_PVX_BAR_INFO::kEnvelopeBit;
}

int CPVXBarFramePage::StepOfSide(int nSide) { return nSide == 1 ? 2 : nSide == 2 ? 3 : 1; }

void CPVXBarFramePage::TakeEnvelopeSide() {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bLoadSelected || pModel->m_nLoadType != 12) return;
    const int nStep = DrawsBothSides() ? 3 : StepOfSide(m_nSide);
    if (pModel->m_nLoadStep == nStep) return;
    m_LoadSelector.ChangeSelect(pModel->m_nLoadType, pModel->m_nLoadKey, nStep);
    m_nLoadStep = nStep;
    pModel->m_nLoadStep = nStep;
    pModel->SelectLoad();
    ResetRebuildFlags();
}

void CPVXBarFramePage::TakeSide() {
    const I_PVXModel* pModel = GetModel();
    m_nSide = 0;
    if (!pModel || pModel->m_nLoadType != 12) return;
    if (pModel->m_nLoadStep == 2) m_nSide = 1;
    else if (pModel->m_nLoadStep == 3 && !DrawsBothSides()) m_nSide = 2;
}

void CPVXBarFramePage::TakeArchivedSettings() {
    CPVXBarDlgBase::TakeArchivedSettings();
    TakeSide();
    if (GetSafeHwnd()) Exchange(FALSE);
    UpdateSideEnabling();
}

void CPVXBarFramePage::UpdateSideEnabling() {
    UINT type = 0, key = 0;
    const BOOL bEnvelope = m_LoadSelector.GetSelectedLoad(type, key, nullptr) && type == 12;
    const BOOL bOn = bEnvelope && !DrawsBothSides();
    for (UINT i = 0; i < 3; ++i) EnableControl(m_ids.nSideFirst + i, bOn);
}

int CPVXBarFramePage::ComponentOfIndex(int nIndex) { return nIndex >= 0 && nIndex < 3 ? kCodeOfIndex[nIndex] : -1; }

int CPVXBarFramePage::IndexOfComponent(int nCode) { return nCode == 2 ? 1 : nCode == 3 ? 2 : 0; }

void CPVXBarFramePage::DoDataExchange(CDataExchange* pDX) {
    CPVXBarDlgBase::DoDataExchange(pDX);
    DDX_Radio(pDX, static_cast<int>(m_ids.nCompFirst), m_nIndex);
    ExchangeDisplayBoxes(pDX, {.nContour = m_ids.nContour,
                               .nDeformed = m_ids.nDeformed,
                               .nValues = m_ids.nValues,
                               .nLegend = m_ids.nLegend,
                               .nAnimation = m_ids.nAnimation,
                               .nUndeformed = m_ids.nUndeformed});
    DDX_Check(pDX, static_cast<int>(m_ids.nAll), m_bAll);
    DDX_Check(pDX, static_cast<int>(m_ids.nMax), m_bMax);
    DDX_Check(pDX, static_cast<int>(m_ids.nIEnd), m_bIEnd);
    DDX_Check(pDX, static_cast<int>(m_ids.nCentre), m_bCentre);
    DDX_Check(pDX, static_cast<int>(m_ids.nJEnd), m_bJEnd);
    DDX_Radio(pDX, static_cast<int>(m_ids.nUnitFirst), m_nUnit);
    DDX_Radio(pDX, static_cast<int>(m_ids.nSideFirst), m_nSide);
}

BOOL CPVXBarFramePage::OnInitDialog() {
    InitPageDialog(m_nMode);
    TakeInitialValues();
    return TRUE;
}

void CPVXBarFramePage::Execute() {
    Exchange(TRUE);
    CPVXBarContainerBase::m_nCurrentMode = m_nMode;
    if (m_pContainer) m_pContainer->OnTmExecute();
}

void CPVXBarFramePage::OnApply() {
    CWaitCursor wait;
    Execute();
}

void CPVXBarFramePage::OnLoadChange() {
    Exchange(TRUE);
    TakeLoadOnApply();
    UpdateSideEnabling();
}

void CPVXBarFramePage::OnComponent() {
    Exchange(TRUE);
    const int nCode = ComponentOfIndex(m_nIndex);
    if (nCode < 0) return;  // a hidden radio: no component of its own
    m_nComponent = nCode;
    if (m_pForceEngine && m_pForceEngine->m_nBForcComp != nCode) {
        m_pForceEngine->m_nBForcComp = nCode;
        m_bForceRebuild = 1;
    }
}

void CPVXBarFramePage::UpdatePositionEnabling() {
    const BOOL bValues = m_bValues != 0;
    EnableControl(m_ids.nUnitFirst, bValues);
    EnableControl(m_ids.nUnitFirst + 1, bValues);
    const BOOL bEnds = bValues && !m_bMax && !m_bAll;
    EnableControl(m_ids.nIEnd, bEnds);
    EnableControl(m_ids.nJEnd, bEnds);
    EnableControl(m_ids.nCentre, bEnds);
    EnableControl(m_ids.nMax, bValues);
    EnableControl(m_ids.nAll, bValues);
}

void CPVXBarFramePage::OnValuesBox() {
    Exchange(TRUE);
    UpdatePositionEnabling();
}

void CPVXBarFramePage::OnValuesMore() {
    TurnBoxOn(m_bValues);
    UpdatePositionEnabling();
    OnNumberDetails(0);
}

void CPVXBarFramePage::OnPositionRule(int& bRule, int& bOther, int bPositions) {
    Exchange(TRUE);
    if (bRule) {
        bOther = 0;
        m_bIEnd = m_bCentre = m_bJEnd = bPositions;
        Exchange(FALSE);
    }
    UpdatePositionEnabling();
}

void CPVXBarFramePage::OnAllRule() { OnPositionRule(m_bAll, m_bMax, 1); }

void CPVXBarFramePage::OnMaxRule() { OnPositionRule(m_bMax, m_bAll, 0); }

void CPVXBarFramePage::TakePositions() {
    CForceEngine* e = m_pForceEngine;
    if (!e) return;
    m_bMax = e->m_bNumAtMax;
    m_bAll = e->m_bNumAtAll;
    m_nUnit = e->m_nBForcNumUnit;
    if (m_bMax) {
        m_bIEnd = m_bCentre = m_bJEnd = 0;
    } else if (m_bAll) {
        m_bIEnd = m_bCentre = m_bJEnd = 1;
    } else {
        m_bIEnd = e->m_bNumIEnd;
        m_bCentre = e->m_bNumMiddle;
        m_bJEnd = e->m_bNumJEnd;
    }
}

void CPVXBarFramePage::RebuildEngines() {
    // The deformation data first: built later, they would leave their extremes' nodes in the
    // model in place of the members' forces.
    if (m_bDeformRebuild && m_pDeformEngine) {
        m_pDeformEngine->InitEngine();
        m_bDeformRebuild = 0;
    }
    CForceEngine* e = m_pForceEngine;
    if (!e) return;
    if (m_bForceRebuild) {
        e->InitEngine(nullptr, -1);
        m_bForceRebuild = 0;
    }
    if (I_PVXModel* pModel = GetModel()) pModel->m_bResultPresent = e->m_bBForcData || e->m_bTForcData ? 1 : 0;
}

void CPVXBarFramePage::StorePositions() {
    CForceEngine* e = m_pForceEngine;
    if (!e) return;
    e->m_bNumAtMax = m_bMax;
    e->m_bNumAtAll = m_bAll;
    e->m_bNumIEnd = m_bIEnd;
    e->m_bNumMiddle = m_bCentre;
    e->m_bNumJEnd = m_bJEnd;
    if (m_nUnit >= 0) e->m_nBForcNumUnit = m_nUnit;
}

// ---- CPVXBarBForc ------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPVXBarBForc, CPVXBarFramePage)

BEGIN_MESSAGE_MAP(CPVXBarBForc, CPVXBarFramePage)
    PVX_FRAME_PAGE_ENTRIES(CPVXBarBForc)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_BN_CLICKED(CPVXBarBForc::IDC_CONTOUR, OnContourCheck)
END_MESSAGE_MAP()

CPVXBarBForc::CPVXBarBForc()
    : CPVXBarFramePage(IDD, FramePageIds<CPVXBarBForc>(), PVXMode::kFrameForceContour, "Frame Force") {}

std::vector<CBarControlName> CPVXBarBForc::GetControlNames() const {
    return {{IDC_LOAD, "load"},           {IDC_COMP_MOMENT, "component"}, {IDC_CONTOUR, "contour"},
            {IDC_DEFORMED, "deformed"},   {IDC_VALUES, "values"},         {IDC_LEGEND, "legend"},
            {IDC_ANIMATION, "animation"}, {IDC_ANIMATION_MORE, "animation-more"}, {IDC_UNDEFORMED, "undeformed"}, {IDC_ALL, "all"},
            {IDC_MAX, "max"},             {IDC_IEND, "i-end"},            {IDC_CENTRE, "centre"},
            {IDC_JEND, "j-end"},          {IDC_CONTOUR_MORE, "contour-more"}, {IDC_DEFORMED_MORE, "deformed-more"},
            {IDC_VALUES_MORE, "values-more"}, {IDC_LEGEND_MORE, "legend-more"}, {IDC_SIDE_MAX, "side"}};
}

void CPVXBarBForc::TakeInitialValues() {
    if (CForceEngine* e = m_pForceEngine) {
        m_nComponent = e->m_nBForcComp;
        m_nIndex = IndexOfComponent(m_nComponent);
    }
    m_bContour = 1;
    if (const T_PVX_BAR_INFO* b = m_pBarInfo) {
        m_bDeformed = b->bDeformed;
        m_bValues = b->bValues;
        m_bLegend = b->bLegend;
        m_bAnimation = b->bAnimation;
        m_bUndeformed = b->bUndeformed;
    }
    TakePositions();
    TakeSide();
    if (T_PVX_BAR_INFO* b = m_pBarInfo)
        if (const I_PVXModel* pModel = GetModel())
            b->nDecimals = CPVXBarBForc::IsMomentCode(m_nComponent) ? pModel->m_nMomentDecimals : pModel->m_nForceDecimals;
    Exchange(FALSE);
    UpdatePositionEnabling();
    UpdateSideEnabling();
}

void CPVXBarBForc::OnContourCheck() { OnContourBox(); }

void CPVXBarBForc::ApplyOptions() {
    Exchange(TRUE);
    TakeLoadOnApply();
    TakeEnvelopeSide();
    CForceEngine* e = m_pForceEngine;
    const int nCode = ComponentOfIndex(m_nIndex);
    if (nCode >= 0) m_nComponent = nCode;
    if (e && m_nComponent >= 0 && m_nComponent != e->m_nBForcComp) {
        e->m_nBForcComp = m_nComponent;
        m_bForceRebuild = 1;
    }
    m_bContour = 1;
    StoreDisplayBoxes();
    if (e) e->m_bDeformed = m_bDeformed;
    StorePositions();
    I_PVXModel* pModel = GetModel();
    if (pModel && m_pBarInfo) {
        if (IsMomentCode(m_nComponent))
            pModel->m_nMomentDecimals = m_pBarInfo->nDecimals;
        else
            pModel->m_nForceDecimals = m_pBarInfo->nDecimals;
    }
    if (!e) return;
    if (!e->m_bShowBeam && !e->m_bShowColumn && !e->m_bShowTruss) {
        // No member kind shown: nothing to draw, nothing left over from before, and a legend of
        // no values (an empty range, not the scale of an engine never built).
        if (pModel) pModel->m_bResultPresent = 0;
        e->m_bBForcData = e->m_bTForcData = 0;
        e->m_dBForcMax = -DBL_MAX;
        e->m_dBForcMin = DBL_MAX;
        e->FinishMakeBForcData();
        return;
    }
    RebuildEngines();
}

// ---- CPVXBarBSfd -------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPVXBarBSfd, CPVXBarFramePage)

BEGIN_MESSAGE_MAP(CPVXBarBSfd, CPVXBarFramePage)
    PVX_FRAME_PAGE_ENTRIES(CPVXBarBSfd)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconScale)
    ON_BN_CLICKED(CPVXBarBSfd::IDC_EXACT, OnMethod)
    ON_BN_CLICKED(CPVXBarBSfd::IDC_FIVE_POINTS, OnMethod)
    ON_BN_CLICKED(CPVXBarBSfd::IDC_MINMAX, OnMinMaxBox)
END_MESSAGE_MAP()

#undef PVX_FRAME_PAGE_ENTRIES

CPVXBarBSfd::CPVXBarBSfd()
    : CPVXBarFramePage(IDD, FramePageIds<CPVXBarBSfd>(), PVXMode::kFrameForceDiagram, "Frame Diagram"),
      m_nMethod(-1),
      m_nFill(-1),
      m_bMinMax(0),
      m_bTruss(0) {
    m_nIndex = 1;
}

std::vector<CBarControlName> CPVXBarBSfd::GetControlNames() const {
    return {{IDC_LOAD, "load"},           {IDC_COMP_MOMENT, "component"}, {IDC_CONTOUR, "contour"},
            {IDC_VALUES, "values"},       {IDC_LEGEND, "legend"},         {IDC_ANIMATION, "animation"}, {IDC_ANIMATION_MORE, "animation-more"},
            {IDC_UNDEFORMED, "undeformed"}, {IDC_ALL, "all"},             {IDC_MAX, "max"},
            {IDC_IEND, "i-end"},          {IDC_CENTRE, "centre"},         {IDC_JEND, "j-end"},
            {IDC_EXACT, "method"},        {IDC_FILL_NONE, "fill"},        {IDC_SCALE, "scale"},
            {IDC_MINMAX, "minmax"},       {IDC_CONTOUR_MORE, "contour-more"}, {IDC_VALUES_MORE, "values-more"},
            {IDC_LEGEND_MORE, "legend-more"}, {IDC_SIDE_MAX, "side"}};
}

void CPVXBarBSfd::DoDataExchange(CDataExchange* pDX) {
    CPVXBarFramePage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_EXACT, m_nMethod);
    DDX_Radio(pDX, IDC_FILL_NONE, m_nFill);
    DDX_Text(pDX, IDC_SCALE, m_strScale);
    DDX_Check(pDX, IDC_MINMAX, m_bMinMax);
}

BOOL CPVXBarBSfd::ParseScale(const CString& text, double& dScale) {
    double v = 0.0;
    if (!PVXParseNumber(text, v)) return FALSE;
    // Kept in single precision, as the page always has.
    const float f = static_cast<float>(v);
    if (!std::isfinite(f)) return FALSE;
    dScale = static_cast<double>(f);
    return TRUE;
}

void CPVXBarBSfd::FillToSwitches(int nFill, int& bLine, int& bFill) {
    switch (nFill) {
    case 0: bLine = 1, bFill = 0; break;
    case 1: bLine = 1, bFill = 1; break;
    case 2: bLine = 0, bFill = 1; break;
    default: break;
    }
}

int CPVXBarBSfd::SwitchesToFill(int bLine, int bFill) {
    if (!bLine) return 2;
    return bFill ? 1 : 0;
}

void CPVXBarBSfd::TakeInitialValues() {
    CForceEngine* e = m_pForceEngine;
    if (e) {
        m_nComponent = e->m_nBForcComp;
        m_nIndex = IndexOfComponent(m_nComponent);
        m_nMethod = e->m_bBSfdBmdExact ? 0 : 1;
        m_nFill = SwitchesToFill(e->m_bBSfdBmdLine, e->m_bBSfdBmdFill);
        m_strScale.Format("%f", e->m_dBSfdBmdScale);
        m_bMinMax = e->m_bMinMaxDiagram;
    }
    m_bContour = 1;
    m_bDeformed = 0;
    if (const T_PVX_BAR_INFO* b = m_pBarInfo) {
        m_bValues = b->bValues;
        m_bLegend = b->bLegend;
        m_bAnimation = b->bAnimation;
        m_bUndeformed = b->bUndeformed;
    }
    TakePositions();
    TakeSide();
    if (T_PVX_BAR_INFO* b = m_pBarInfo)
        if (const I_PVXModel* pModel = GetModel()) b->nDecimals = pModel->m_nForceDecimals;
    Exchange(FALSE);
    ApplyStepRule();
    UpdatePositionEnabling();
    UpdateSideEnabling();
    OnMethod();
    m_bTruss = 0;
    SetModified();
}

void CPVXBarBSfd::ApplyStepRule() {
    const I_PVXModel* pModel = GetModel();
    const BOOL bExactPossible = !pModel || pModel->m_nLoadStep == 0;
    EnableControl(IDC_EXACT, bExactPossible);
    if (!bExactPossible && m_nMethod != 1) {
        m_nMethod = 1;
        Exchange(FALSE);
    }
}

void CPVXBarBSfd::OnLoadChange() {
    CPVXBarFramePage::OnLoadChange();
    ApplyStepRule();
    OnMethod();
}

void CPVXBarBSfd::OnMethod() {
    Exchange(TRUE);
    CForceEngine* e = m_pForceEngine;
    if (!e || m_nMethod < 0) return;
    const int bExact = m_nMethod == 0 ? 1 : 0;
    if (bExact != e->m_bBSfdBmdExact) {
        e->m_bBSfdBmdExact = bExact;
        m_bForceRebuild = 1;
    }
}

void CPVXBarBSfd::OnMinMaxBox() {
    Exchange(TRUE);
    UpdateSideEnabling();
}

void CPVXBarBSfd::OnIconScale() {
    Exchange(TRUE);
    double d = 0.0;
    if (m_pForceEngine && ParseScale(m_strScale, d)) m_pForceEngine->m_dBSfdBmdScale = d;
}

void CPVXBarBSfd::SetModified() {
    CForceEngine* e = m_pForceEngine;
    const int bTruss = e && (e->m_bShowTruss || e->m_bOnlyTruss) ? 1 : 0;
    if (bTruss == m_bTruss) return;
    m_bTruss = bTruss;
    Exchange(TRUE);
    if (m_bTruss) {
        m_bMinMax = 0;
        if (m_nIndex > 5) m_nIndex = 0;
        Exchange(FALSE);
    }
    EnableControl(IDC_MINMAX, !m_bTruss);
    UpdateSideEnabling();
    EnableControl(IDC_COMP_VYZ, !m_bTruss);
    EnableControl(IDC_COMP_MYZ, !m_bTruss);
    if (GetSafeHwnd()) Invalidate(FALSE);
}

void CPVXBarBSfd::ApplyOptions() {
    Exchange(TRUE);
    TakeLoadOnApply();
    TakeEnvelopeSide();
    CForceEngine* e = m_pForceEngine;
    if (!e) return;
    const int nCode = ComponentOfIndex(m_nIndex);
    if (nCode >= 0) m_nComponent = nCode;
    const int bExact = m_nMethod == 0 ? 1 : 0;
    if ((m_nComponent >= 0 && m_nComponent != e->m_nBForcComp) || (m_nMethod >= 0 && bExact != e->m_bBSfdBmdExact)) {
        if (m_nComponent >= 0) e->m_nBForcComp = m_nComponent;
        m_bForceRebuild = 1;
    }
    if (m_nMethod >= 0) e->m_bBSfdBmdExact = bExact;
    if (m_bMinMax != e->m_bMinMaxDiagram) {
        e->m_bMinMaxDiagram = m_bMinMax;
        m_bForceRebuild = 1;
    }
    FillToSwitches(m_nFill, e->m_bBSfdBmdLine, e->m_bBSfdBmdFill);
    // Text that is no number keeps the scale the diagrams have.
    double d = 0.0;
    if (ParseScale(m_strScale, d)) e->m_dBSfdBmdScale = d;
    StoreDisplayBoxes();
    e->m_bDeformed = m_bDeformed;
    I_PVXModel* pModel = GetModel();
    if (pModel && m_pBarInfo) pModel->m_nForceDecimals = m_pBarInfo->nDecimals;
    StorePositions();
    RebuildEngines();
}
