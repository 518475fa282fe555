#include "module/bars/CPVXBarWSfd.h"

#include "module/force/CForceEngine.h"
#include "module/model/PVXModes.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarWSfd, CPVXBarWallPlatePage)

BEGIN_MESSAGE_MAP(CPVXBarWSfd, CPVXBarWallPlatePage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, OnLoadCaseDialog)
    ON_CBN_SELCHANGE(CPVXBarWSfd::IDC_LOAD, OnLoadChange)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarWSfd::IDC_COMP_FIRST, CPVXBarWSfd::IDC_COMP_FIRST + 7, OnComponentButton)
    ON_BN_CLICKED(CPVXBarWSfd::IDC_VALUES, OnValues)
    ON_BN_CLICKED(CPVXBarWSfd::IDC_COLM_NUMBER, OnValues)
    ON_BN_CLICKED(CPVXBarWSfd::IDC_BEAM_NUMBER, OnValues)
    ON_BN_CLICKED(CPVXBarWSfd::IDC_VALUES_MORE, OnValuesMore)
    ON_BN_CLICKED(CPVXBarWSfd::IDC_ANIMATION_MORE, OnAnimationMore)
    ON_BN_CLICKED(CPVXBarWSfd::IDC_CONTOUR_MORE, OnContourMore)
    ON_BN_CLICKED(CPVXBarWSfd::IDC_LEGEND_MORE, OnLegendDetails)
    ON_BN_CLICKED(CPVXBarWSfd::IDC_DEFORMED_MORE, OnDeformDetails)
END_MESSAGE_MAP()

namespace {
constexpr int kWallDiagramComponentOfIndex[CPVXBarWSfd::kComponentCount] = {1, 2, 6, 4, 5, 7, 0, 3};
}  // namespace

int CPVXBarWSfd::ComponentOfIndex(int nIndex) {
    return nIndex >= 0 && nIndex < kComponentCount ? kWallDiagramComponentOfIndex[nIndex] : -1;
}

int CPVXBarWSfd::IndexOfComponent(int nComp) {
    for (int i = 0; i < kComponentCount; ++i)
        if (kWallDiagramComponentOfIndex[i] == nComp) return i;
    return -1;
}

CPVXBarWSfd::CPVXBarWSfd()
    : CPVXBarWallPlatePage(IDD, IDC_LOAD, PVXMode::kWallForceDiagram, "Wall Diagram"),
      m_nIndex(-1),
      m_nColmPos(0),
      m_nBeamPos(0),
      m_bColmNumber(0),
      m_bBeamNumber(0) {}

void CPVXBarWSfd::DoDataExchange(CDataExchange* pDX) {
    CPVXBarWallPlatePage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_COMP_FIRST, m_nIndex);
    ExchangeDisplayBoxes(pDX, DisplayBoxIdsOf<CPVXBarWSfd>());
    DDX_Check(pDX, IDC_COLM_NUMBER, m_bColmNumber);
    DDX_Check(pDX, IDC_BEAM_NUMBER, m_bBeamNumber);
    DDX_Radio(pDX, IDC_COLM_POS1, m_nColmPos);
    DDX_Radio(pDX, IDC_BEAM_POS1, m_nBeamPos);
}

std::vector<CBarControlName> CPVXBarWSfd::GetControlNames() const {
    return WithMoreButtons<CPVXBarWSfd>({{IDC_LOAD, "load"},         {IDC_COMP_FIRST, "component"},     {IDC_CONTOUR, "contour"},
            {IDC_VALUES, "values"},     {IDC_ANIMATION, "animation"},      {IDC_LEGEND, "legend"},
            {IDC_UNDEFORMED, "undeformed"}, {IDC_COLM_NUMBER, "column-numbers"}, {IDC_BEAM_NUMBER, "beam-numbers"},
            {IDC_COLM_POS1, "column-position"}, {IDC_BEAM_POS1, "beam-position"}});
}

void CPVXBarWSfd::TakeInitialValues() {
    TakeDisplayBoxes(1);
    m_bDeformed = 0;
    if (CForceEngine* e = m_pForceEngine) {
        m_nIndex = IndexOfComponent(e->m_nWForcComp);
        m_nColmPos = e->m_nWColmNumPos;
        m_nBeamPos = e->m_nWBeamNumPos;
        m_bColmNumber = e->m_bWColmNumber;
        m_bBeamNumber = e->m_bWBeamNumber;
        TakeWallDecimals(e->m_nWForcComp);
    }
}

void CPVXBarWSfd::UpdateEnabling() {
    EnableControl(IDC_DEFORMED, FALSE);
    EnableControl(IDC_DEFORMED_MORE, FALSE);
    EnableControl(IDC_COLM_NUMBER, m_bValues);
    EnableControl(IDC_BEAM_NUMBER, m_bValues);
    for (UINT id : {IDC_COLM_POS1, IDC_COLM_POS2, IDC_COLM_POS3, IDC_COLM_POS4}) EnableControl(id, m_bValues && m_bColmNumber);
    for (UINT id : {IDC_BEAM_POS1, IDC_BEAM_POS2, IDC_BEAM_POS3, IDC_BEAM_POS4}) EnableControl(id, m_bValues && m_bBeamNumber);
}

void CPVXBarWSfd::ApplyOptions() {
    Exchange(TRUE);
    TakeLoadOnApply();
    CForceEngine* e = m_pForceEngine;
    if (!e) return;
    const int nComp = ComponentOfIndex(m_nIndex);
    if (nComp >= 0 && e->m_nWForcComp != nComp) {
        e->m_nWForcComp = nComp;
        m_bForceRebuild = 1;
    }
    m_bDeformed = 0;
    StoreDisplayBoxes();
    e->m_bDeformed = 0;
    if (m_nColmPos >= 0) e->m_nWColmNumPos = m_nColmPos;
    if (m_nBeamPos >= 0) e->m_nWBeamNumPos = m_nBeamPos;
    e->m_bWColmNumber = m_bColmNumber;
    e->m_bWBeamNumber = m_bBeamNumber;
    StoreWallDecimals(e->m_nWForcComp);
    RebuildForce(&CForceEngine::m_bWForcData);
}

void CPVXBarWSfd::OnComponent() {
    Exchange(TRUE);
    const int nComp = ComponentOfIndex(m_nIndex);
    if (m_pForceEngine && nComp >= 0 && m_pForceEngine->m_nWForcComp != nComp) {
        m_pForceEngine->m_nWForcComp = nComp;
        m_bForceRebuild = 1;
    }
}

void CPVXBarWSfd::OnComponentButton(UINT) { OnComponent(); }

void CPVXBarWSfd::OnValues() {
    Exchange(TRUE);
    UpdateEnabling();
}

void CPVXBarWSfd::OnValuesMore() { ValuesMoreWithDialog(); }

void CPVXBarWSfd::OnAnimationMore() { OnAnimationDetails(); }

void CPVXBarWSfd::OnContourMore() { ForceContourDetails(&CForceEngine::m_bWForcData); }
