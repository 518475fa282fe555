#include "module/bars/CPVXBarWForc.h"

#include "module/force/CForceEngine.h"
#include "module/model/PVXModes.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarWForc, CPVXBarWallPlatePage)

BEGIN_MESSAGE_MAP(CPVXBarWForc, CPVXBarWallPlatePage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, OnLoadCaseDialog)
    ON_CBN_SELCHANGE(CPVXBarWForc::IDC_LOAD, OnLoadChange)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarWForc::IDC_COMP_N, CPVXBarWForc::IDC_COMP_N + 5, OnComponentButton)
    ON_BN_CLICKED(CPVXBarWForc::IDC_CONTOUR, OnContour)
    ON_BN_CLICKED(CPVXBarWForc::IDC_DEFORMED, OnDeformed)
    ON_BN_CLICKED(CPVXBarWForc::IDC_DEFORMED_MORE, OnDeformedMore)
    ON_BN_CLICKED(CPVXBarWForc::IDC_VALUES, OnValues)
    ON_BN_CLICKED(CPVXBarWForc::IDC_COLM_NUMBER, OnValues)
    ON_BN_CLICKED(CPVXBarWForc::IDC_BEAM_NUMBER, OnValues)
    ON_BN_CLICKED(CPVXBarWForc::IDC_VALUES_MORE, OnValuesMore)
    ON_BN_CLICKED(CPVXBarWForc::IDC_ANIMATION_MORE, OnAnimationMore)
    ON_BN_CLICKED(CPVXBarWForc::IDC_CONTOUR_MORE, OnContourMore)
    ON_BN_CLICKED(CPVXBarWForc::IDC_LEGEND_MORE, OnLegendDetails)
END_MESSAGE_MAP()

CPVXBarWForc::CPVXBarWForc()
    : CPVXBarWallPlatePage(IDD, IDC_LOAD, PVXMode::kWallForceContour, "Wall Force"),
      m_nComponent(-1),
      m_nColmPos(0),
      m_nBeamPos(0),
      m_bColmNumber(0),
      m_bBeamNumber(0) {}

void CPVXBarWForc::DoDataExchange(CDataExchange* pDX) {
    CPVXBarWallPlatePage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_COMP_N, m_nComponent);
    ExchangeDisplayBoxes(pDX, DisplayBoxIdsOf<CPVXBarWForc>());
    DDX_Radio(pDX, IDC_COLM_TOP, m_nColmPos);
    DDX_Radio(pDX, IDC_BEAM_START, m_nBeamPos);
    DDX_Check(pDX, IDC_COLM_NUMBER, m_bColmNumber);
    DDX_Check(pDX, IDC_BEAM_NUMBER, m_bBeamNumber);
}

std::vector<CBarControlName> CPVXBarWForc::GetControlNames() const {
    return WithMoreButtons<CPVXBarWForc>({{IDC_LOAD, "load"},           {IDC_COMP_N, "component"},       {IDC_CONTOUR, "contour"},
            {IDC_VALUES, "values"},       {IDC_ANIMATION, "animation"},    {IDC_DEFORMED, "deformed"},
            {IDC_LEGEND, "legend"},       {IDC_UNDEFORMED, "undeformed"}, {IDC_COLM_TOP, "column-position"},
            {IDC_BEAM_START, "beam-position"}, {IDC_COLM_NUMBER, "column-numbers"}, {IDC_BEAM_NUMBER, "beam-numbers"}});
}

void CPVXBarWForc::TakeInitialValues() {
    TakeDisplayBoxes(1);
    if (CForceEngine* e = m_pForceEngine) {
        m_nComponent = e->m_nWForcComp >= 0 && e->m_nWForcComp <= 5 ? e->m_nWForcComp : -1;
        m_nColmPos = e->m_nWColmNumPos;
        m_nBeamPos = e->m_nWBeamNumPos;
        m_bColmNumber = e->m_bWColmNumber;
        m_bBeamNumber = e->m_bWBeamNumber;
        TakeWallDecimals(e->m_nWForcComp);
    }
    if (m_bDeformed) m_bValues = 0;
}

void CPVXBarWForc::UpdateEnabling() {
    EnableControl(IDC_CONTOUR, FALSE);
    EnableControl(IDC_VALUES, !m_bDeformed);
    EnableControl(IDC_VALUES_MORE, !m_bDeformed);
    EnableControl(IDC_COLM_NUMBER, m_bValues);
    EnableControl(IDC_BEAM_NUMBER, m_bValues);
    for (UINT id = IDC_COLM_TOP; id < IDC_COLM_TOP + 4; ++id) EnableControl(id, m_bValues && m_bColmNumber);
    for (UINT id : {IDC_BEAM_START, IDC_BEAM_END, IDC_BEAM_MAX, IDC_BEAM_ALL}) EnableControl(id, m_bValues && m_bBeamNumber);
}

void CPVXBarWForc::ApplyOptions() {
    Exchange(TRUE);
    TakeLoadOnApply();
    CForceEngine* e = m_pForceEngine;
    if (!e) return;
    if (m_nComponent >= 0 && m_nComponent <= 5 && e->m_nWForcComp != m_nComponent) {
        e->m_nWForcComp = m_nComponent;
        m_bForceRebuild = 1;
    }
    m_bContour = 1;
    if (m_bDeformed) m_bValues = 0;
    StoreDisplayBoxes();
    e->m_bDeformed = m_bDeformed;
    if (m_nColmPos >= 0) e->m_nWColmNumPos = m_nColmPos;
    if (m_nBeamPos >= 0) e->m_nWBeamNumPos = m_nBeamPos;
    e->m_bWColmNumber = m_bColmNumber;
    e->m_bWBeamNumber = m_bBeamNumber;
    StoreWallDecimals(e->m_nWForcComp);
    RebuildForce(&CForceEngine::m_bWForcData);
}

void CPVXBarWForc::OnComponent() {
    Exchange(TRUE);
    if (m_pForceEngine && m_nComponent >= 0 && m_nComponent <= 5 && m_pForceEngine->m_nWForcComp != m_nComponent) {
        m_pForceEngine->m_nWForcComp = m_nComponent;
        m_bForceRebuild = 1;
    }
}

void CPVXBarWForc::OnComponentButton(UINT) { OnComponent(); }

void CPVXBarWForc::OnContour() { OnContourBox(); }

void CPVXBarWForc::OnDeformed() {
    Exchange(TRUE);
    if (m_bDeformed) m_bValues = 0;
    Exchange(FALSE);
    UpdateEnabling();
}

void CPVXBarWForc::OnDeformedMore() {
    Exchange(TRUE);
    m_bValues = 0;
    Exchange(FALSE);
    UpdateEnabling();
    OnDeformDetails();
}

void CPVXBarWForc::OnValues() {
    Exchange(TRUE);
    UpdateEnabling();
}

void CPVXBarWForc::OnValuesMore() { ValuesMoreWithDialog(); }

void CPVXBarWForc::OnAnimationMore() { OnAnimationDetails(); }

void CPVXBarWForc::OnContourMore() { ForceContourDetails(&CForceEngine::m_bWForcData); }
