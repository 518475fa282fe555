#include "module/bars/CPVXBarPForc.h"

#include <cmath>
#include <cstdlib>

#include "module/engines/CPVXCutLineDetDlg.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarPForc, CPVXBarWallPlatePage)

BEGIN_MESSAGE_MAP(CPVXBarPForc, CPVXBarWallPlatePage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, OnLoadCaseDialog)
    ON_CBN_SELCHANGE(CPVXBarPForc::IDC_LOAD, OnLoadChange)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarPForc::IDC_COMP_FXX, CPVXBarPForc::IDC_COMP_FXY, OnComponentButton)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarPForc::IDC_COMP_FMAX, CPVXBarPForc::IDC_COMP_VMAX, OnComponentButton)
    ON_BN_CLICKED(CPVXBarPForc::IDC_AXIS_ELEMENT, OnAxis)
    ON_BN_CLICKED(CPVXBarPForc::IDC_AXIS_UCS, OnAxis)
    ON_CBN_SELCHANGE(CPVXBarPForc::IDC_AXIS_ANGLE, OnAngle)
    ON_BN_CLICKED(CPVXBarPForc::IDC_CONTOUR, OnContour)
    ON_BN_CLICKED(CPVXBarPForc::IDC_VALUES, OnValues)
    ON_BN_CLICKED(CPVXBarPForc::IDC_VALUES_MORE, OnValuesMore)
    ON_BN_CLICKED(CPVXBarPForc::IDC_SECTION, OnSection)
    ON_BN_CLICKED(CPVXBarPForc::IDC_SECTION_MORE, OnSectionMore)
    ON_BN_CLICKED(CPVXBarPForc::IDC_ANIMATION_MORE, OnAnimationMore)
    ON_BN_CLICKED(CPVXBarPForc::IDC_DEFORMED_MORE, OnDeformedMore)
    ON_BN_CLICKED(CPVXBarPForc::IDC_CONTOUR_MORE, OnContourMore)
    ON_BN_CLICKED(CPVXBarPForc::IDC_LEGEND_MORE, OnLegendDetails)
END_MESSAGE_MAP()

namespace {
constexpr int kPlateForceComponentOfIndex[CPVXBarPForc::kComponentCount] = {0, 1, 2, 3, 4, 5, 14, 16};
constexpr int kVectorIndex = 5;
}  // namespace

int CPVXBarPForc::ComponentOfIndex(int nIndex) {
    return nIndex >= 0 && nIndex < kComponentCount ? kPlateForceComponentOfIndex[nIndex] : -1;
}

int CPVXBarPForc::IndexOfComponent(int nComp) {
    for (int i = 0; i < kComponentCount; ++i)
        if (kPlateForceComponentOfIndex[i] == nComp) return i;
    return -1;
}

BOOL CPVXBarPForc::ParseScale(const CString& text, double& dScale) {
    const char* s = text.GetString();
    char* end = nullptr;
    const double v = std::strtod(s, &end);
    if (end == s) return FALSE;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end || !std::isfinite(v) || !(v > 0.0)) return FALSE;
    dScale = v;
    return TRUE;
}

CPVXBarPForc::CPVXBarPForc()
    : CPVXBarWallPlatePage(IDD, IDC_LOAD, PVXMode::kPlateForce, "Plate Force"),
      m_nIndex(-1),
      m_nAxis(0),
      m_nAngle(0),
      m_bShowAxes(0),
      m_bAverage(0),
      m_bSection(0),
      m_nNumberMode(0) {}

BOOL CPVXBarPForc::OnInitDialog() {
    // The angle list before the values are shown.
    if (auto* pCombo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_AXIS_ANGLE))) {
        pCombo->ResetContent();
        for (int i = 0; i < kAngleCount; ++i) {
            CString s;
            s.Format("%d", i * kAngleStep);
            pCombo->AddString(s);
        }
    }
    return CPVXBarWallPlatePage::OnInitDialog();
}

void CPVXBarPForc::DoDataExchange(CDataExchange* pDX) {
    CPVXBarWallPlatePage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_COMP_FXX, m_nIndex);
    DDX_Radio(pDX, IDC_AXIS_ELEMENT, m_nAxis);
    DDX_CBIndex(pDX, IDC_AXIS_ANGLE, m_nAngle);
    DDX_Check(pDX, IDC_SHOW_AXES, m_bShowAxes);
    DDX_Text(pDX, IDC_VECTOR_SCALE, m_strScale);
    DDX_Text(pDX, IDC_VECTOR_FACTOR, m_strFactor);
    ExchangeDisplayBoxes(pDX, DisplayBoxIdsOf<CPVXBarPForc>());
    DDX_Check(pDX, IDC_AVERAGE, m_bAverage);
    DDX_Check(pDX, IDC_SECTION, m_bSection);
    DDX_Radio(pDX, IDC_NUMBER_MAX, m_nNumberMode);
}

std::vector<CBarControlName> CPVXBarPForc::GetControlNames() const {
    return WithMoreButtons<CPVXBarPForc>({{IDC_LOAD, "load"},           {IDC_COMP_FXX, "component"},   {IDC_AXIS_ELEMENT, "axes"},
            {IDC_AXIS_ANGLE, "angle"},    {IDC_SHOW_AXES, "show-axes"},  {IDC_VECTOR_SCALE, "vector-scale"},
            {IDC_CONTOUR, "contour"},     {IDC_DEFORMED, "deformed"},    {IDC_VALUES, "values"},
            {IDC_LEGEND, "legend"},       {IDC_ANIMATION, "animation"},  {IDC_UNDEFORMED, "undeformed"},
            {IDC_AVERAGE, "average"},     {IDC_SECTION, "section"},      {IDC_NUMBER_MAX, "number"},
            {IDC_SECTION_MORE, "section-more"}});
}

void CPVXBarPForc::TakeInitialValues() {
    TakeDisplayBoxes(1);
    if (CForceEngine* e = m_pForceEngine) {
        m_nIndex = IndexOfComponent(e->m_nPForcComp);
        m_nAxis = e->m_bLocalAxis ? 0 : 1;
        const int a = static_cast<int>(std::lround(e->m_dPLocalAngle / kAngleStep));
        m_nAngle = a >= 0 && a < kAngleCount ? a : 0;
        m_bShowAxes = e->m_bPShowLocalAxis;
        m_strScale.Format("%g", e->m_dPVectorScale);
        m_strFactor.Format("%g", e->m_dPVectorAdjustFactor);
        m_bAverage = e->m_bPAverageNodal;
        m_bSection = e->m_bCuttingLine;
        m_nNumberMode = e->m_nPNumberMode == 1 ? 1 : 0;
    }
    if (m_nIndex == kVectorIndex) m_bValues = 0;
}

void CPVXBarPForc::UpdateEnabling() {
    const bool bVector = m_nIndex == kVectorIndex;
    EnableControl(IDC_VECTOR_SCALE, bVector);
    EnableControl(IDC_VECTOR_FACTOR, FALSE);
    EnableControl(IDC_VALUES, !bVector);
    EnableControl(IDC_VALUES_MORE, !bVector);
    EnableControl(IDC_NUMBER_MAX, m_bValues && !bVector);
    EnableControl(IDC_NUMBER_CENTRE, m_bValues && !bVector);
    // The angle and the axes drawing belong to the global axes.
    EnableControl(IDC_AXIS_ANGLE, m_nAxis == 1);
    EnableControl(IDC_SHOW_AXES, m_nAxis == 1);
    EnableControl(IDC_CONTOUR_MORE, m_bContour);
    EnableControl(IDC_LEGEND_MORE, m_bContour);
    EnableControl(IDC_DEFORMED_MORE, !m_bSection);
}

void CPVXBarPForc::ApplyOptions() {
    Exchange(TRUE);
    TakeLoadOnApply();
    CForceEngine* e = m_pForceEngine;
    if (!e) return;
    const int nComp = ComponentOfIndex(m_nIndex);
    if (nComp >= 0 && e->m_nPForcComp != nComp) {
        e->m_nPForcComp = nComp;
        m_bForceRebuild = 1;
    }
    // The derived components are not averaged.
    if (nComp == 14 || nComp == 15 || nComp == 16) m_bAverage = 0;
    if (nComp == 5) m_bValues = 0;
    const int bLocal = m_nAxis == 1 ? 0 : 1;
    const double dAngle = m_nAxis == 1 && m_nAngle >= 0 ? m_nAngle * kAngleStep : 0.0;
    if (e->m_bLocalAxis != bLocal || e->m_dPLocalAngle != dAngle || e->m_bPAverageNodal != m_bAverage ||
        e->m_bCuttingLine != m_bSection)
        m_bForceRebuild = 1;
    e->m_bLocalAxis = bLocal;
    e->m_dPLocalAngle = dAngle;
    e->m_bPAverageNodal = m_bAverage;
    e->m_bCuttingLine = m_bSection;
    e->m_bPShowLocalAxis = m_nAxis == 1 ? m_bShowAxes : 0;
    e->m_nPNumberMode = m_nNumberMode == 1 ? 1 : 0;
    // A scale that is no number above 0 keeps the previous one.
    double dScale = 0.0;
    if (ParseScale(m_strScale, dScale)) e->m_dPVectorScale = dScale;
    if (m_bSection) m_bDeformed = 0;
    StoreDisplayBoxes();
    e->m_bDeformed = m_bDeformed;
    RebuildForce(&CForceEngine::m_bPForcData);
    m_strScale.Format("%g", e->m_dPVectorScale);
    m_strFactor.Format("%g", e->m_dPVectorAdjustFactor);
    Exchange(FALSE);
}

void CPVXBarPForc::OnComponent() {
    Exchange(TRUE);
    const int nComp = ComponentOfIndex(m_nIndex);
    if (m_pForceEngine && nComp >= 0) {
        if (m_pForceEngine->m_nPForcComp != nComp) {
            m_pForceEngine->m_nPForcComp = nComp;
            m_bForceRebuild = 1;
        }
        if ((nComp == 14 || nComp == 15 || nComp == 16) && m_pForceEngine->m_bPAverageNodal) {
            m_pForceEngine->m_bPAverageNodal = 0;
            m_bForceRebuild = 1;
        }
    }
    if (nComp == 14 || nComp == 15 || nComp == 16) m_bAverage = 0;
    if (m_nIndex == kVectorIndex) m_bValues = 0;
    Exchange(FALSE);
    UpdateEnabling();
}

void CPVXBarPForc::OnComponentButton(UINT) { OnComponent(); }

void CPVXBarPForc::OnAxis() {
    Exchange(TRUE);
    UpdateEnabling();
}

void CPVXBarPForc::OnAngle() {
    Exchange(TRUE);
    if (m_pForceEngine && m_nAngle >= 0 && m_pForceEngine->m_dPLocalAngle != m_nAngle * kAngleStep) m_bForceRebuild = 1;
}

void CPVXBarPForc::OnContour() {
    Exchange(TRUE);
    if (!m_bContour) m_bUndeformed = m_bDeformed = m_bAnimation = 0;
    Exchange(FALSE);
    UpdateEnabling();
}

void CPVXBarPForc::OnValues() {
    Exchange(TRUE);
    UpdateEnabling();
}

void CPVXBarPForc::OnValuesMore() { ValuesMoreWithDialog(); }

void CPVXBarPForc::OnSection() {
    Exchange(TRUE);
    if (m_bSection) {
        m_bForceRebuild = 1;
        m_bDeformed = 0;
        Exchange(FALSE);
        OnSectionMore();
    }
    UpdateEnabling();
}

void CPVXBarPForc::OnSectionMore() { ShowCutLineWindow(); }

void CPVXBarPForc::OnAnimationMore() { OnAnimationDetails(); }

void CPVXBarPForc::OnDeformedMore() { TurnBoxOn(m_bDeformed); }

void CPVXBarPForc::OnContourMore() { ForceContourDetails(&CForceEngine::m_bPForcData); }
