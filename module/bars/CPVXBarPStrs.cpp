#include "module/bars/CPVXBarPStrs.h"

#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourDetDlg.h"
#include "module/engines/CStressEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarPStrs, CPVXBarWallPlatePage)

BEGIN_MESSAGE_MAP(CPVXBarPStrs, CPVXBarWallPlatePage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, OnLoadCaseDialog)
    ON_CBN_SELCHANGE(CPVXBarPStrs::IDC_LOAD, OnLoadChange)
    ON_BN_CLICKED(CPVXBarPStrs::IDC_SURFACE_TOP, OnStressOption)
    ON_BN_CLICKED(CPVXBarPStrs::IDC_SURFACE_TOP + 1, OnStressOption)
    ON_BN_CLICKED(CPVXBarPStrs::IDC_SURFACE_TOP + 2, OnStressOption)
    ON_BN_CLICKED(CPVXBarPStrs::IDC_SURFACE_TOP + 3, OnStressOption)
    ON_BN_CLICKED(CPVXBarPStrs::IDC_CONTOUR, OnContour)
    ON_BN_CLICKED(CPVXBarPStrs::IDC_VALUES, OnValues)
    ON_BN_CLICKED(CPVXBarPStrs::IDC_VALUES_MORE, OnValuesMore)
    ON_CBN_SELCHANGE(CPVXBarPStrs::IDC_AXIS_LIST, OnAxisList)
    ON_BN_CLICKED(CPVXBarPStrs::IDC_CONTOUR_MORE, OnContourMore)
    ON_BN_CLICKED(CPVXBarPStrs::IDC_LEGEND_MORE, OnLegendDetails)
    ON_BN_CLICKED(CPVXBarPStrs::IDC_ANIMATION_MORE, OnAnimationMore)
    ON_BN_CLICKED(CPVXBarPStrs::IDC_DEFORMED_MORE, OnDeformedMore)
    ON_BN_CLICKED(CPVXBarPStrs::IDC_SECTION_MORE, OnSectionMore)
END_MESSAGE_MAP()

namespace {
constexpr int kPlateStressComponentOfIndex[CPVXBarPStrs::kComponentCount] = {0, 1, -1, 2, -1, -1, 3, 4, 5, 6};
}  // namespace

int CPVXBarPStrs::ComponentOfIndex(int nIndex) {
    return nIndex >= 0 && nIndex < kComponentCount ? kPlateStressComponentOfIndex[nIndex] : -1;
}

int CPVXBarPStrs::IndexOfComponent(int nComp) {
    for (int i = 0; i < kComponentCount; ++i)
        if (nComp >= 0 && kPlateStressComponentOfIndex[i] == nComp) return i;
    return -1;
}

CPVXBarPStrs::CPVXBarPStrs()
    : CPVXBarWallPlatePage(IDD, IDC_LOAD, PVXMode::kPlateStress, "Plate Stress"),
      m_nIndex(-1),
      m_nAxis(0),
      m_nAxisItem(-1),
      m_bShowAxes(0),
      m_nSurface(0),
      m_bSection(0),
      m_nNumberMode(0) {}

void CPVXBarPStrs::DoDataExchange(CDataExchange* pDX) {
    CPVXBarWallPlatePage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_COMP_FIRST, m_nIndex);
    DDX_Radio(pDX, IDC_AXIS_ELEMENT, m_nAxis);
    DDX_CBIndex(pDX, IDC_AXIS_LIST, m_nAxisItem);
    DDX_Check(pDX, IDC_SHOW_AXES, m_bShowAxes);
    DDX_Radio(pDX, IDC_SURFACE_TOP, m_nSurface);
    ExchangeDisplayBoxes(pDX, DisplayBoxIdsOf<CPVXBarPStrs>());
    DDX_Check(pDX, IDC_SECTION, m_bSection);
    DDX_Radio(pDX, IDC_NUMBER_MAX, m_nNumberMode);
}

std::vector<CBarControlName> CPVXBarPStrs::GetControlNames() const {
    return WithMoreButtons<CPVXBarPStrs>({{IDC_LOAD, "load"},       {IDC_COMP_FIRST, "component"}, {IDC_AXIS_ELEMENT, "axes"},
            {IDC_SURFACE_TOP, "surface"}, {IDC_CONTOUR, "contour"},  {IDC_DEFORMED, "deformed"},
            {IDC_VALUES, "values"},   {IDC_LEGEND, "legend"},        {IDC_ANIMATION, "animation"},
            {IDC_UNDEFORMED, "undeformed"}, {IDC_SECTION, "section"}, {IDC_NUMBER_MAX, "number"},
            {IDC_SECTION_MORE, "section-more"}});
}

void CPVXBarPStrs::TakeInitialValues() {
    TakeDisplayBoxes(1);
    if (CStressEngine* e = m_pStressEngine) {
        m_nIndex = IndexOfComponent(e->m_nComponent);
        m_nSurface = e->m_nSurface;
        m_nNumberMode = e->m_nNumberPos == 1 ? 1 : 0;
    }
}

void CPVXBarPStrs::UpdateEnabling() {
    EnableControl(IDC_NUMBER_MAX, m_bValues);
    EnableControl(IDC_NUMBER_CENTRE, m_bValues);
    EnableControl(IDC_AXIS_LIST, m_nAxis == 1);
    EnableControl(IDC_SHOW_AXES, m_nAxis == 1);
    EnableControl(IDC_CONTOUR_MORE, m_bContour);
    EnableControl(IDC_LEGEND_MORE, m_bContour);
}

void CPVXBarPStrs::ApplyOptions() {
    Exchange(TRUE);
    TakeLoadOnApply();
    CStressEngine* e = m_pStressEngine;
    if (!e) return;
    const int nComp = ComponentOfIndex(m_nIndex);
    if (nComp >= 0 && e->m_nComponent != nComp) {
        e->m_nComponent = nComp;
        m_bStressRebuild = 1;
    }
    // The surface folds the records as they are read: a change needs a new build. The number
    // position is read as the labels are drawn.
    if (m_nSurface >= 0 && e->m_nSurface != m_nSurface) {
        e->m_nSurface = m_nSurface;
        m_bStressRebuild = 1;
    }
    e->m_nNumberPos = m_nNumberMode == 1 ? 1 : 0;
    StoreDisplayBoxes();
    e->m_bDeformed = m_bDeformed;
    e->m_bCuttingLine = m_bSection;
    if (m_bStressRebuild) {
        e->InitEngine(nullptr, -1);
        m_bStressRebuild = 0;
    }
    if (I_PVXModel* pModel = GetModel()) pModel->m_bResultPresent = e->m_bDataReady;
}

void CPVXBarPStrs::OnStressOption() { Exchange(TRUE); }

void CPVXBarPStrs::OnContour() {
    Exchange(TRUE);
    if (!m_bContour) m_bUndeformed = m_bDeformed = m_bAnimation = 0;
    Exchange(FALSE);
    UpdateEnabling();
}

void CPVXBarPStrs::OnValues() {
    Exchange(TRUE);
    UpdateEnabling();
}

void CPVXBarPStrs::OnValuesMore() {
    Exchange(TRUE);
    m_bValues = 1;
    Exchange(FALSE);
    UpdateEnabling();
}

void CPVXBarPStrs::OnAxisList() {
    Exchange(TRUE);
    m_bStressRebuild = 1;
}

void CPVXBarPStrs::OnContourMore() {
    if (m_pContainer) m_pContainer->TakeBackEngines();
    if (!m_pContourEngine) return;
    TurnBoxOn(m_bContour);
    // The load of the page is the model's before the engine is built for the dialog.
    TakeLoadOnApply();
    if (m_bStressRebuild && m_pStressEngine) m_pStressEngine->InitEngine(nullptr, -1);
    if (I_PVXModel* pModel = GetModel()) pModel->m_bResultPresent = m_pStressEngine ? m_pStressEngine->m_bDataReady : 0;
    CPVXConDetDlg dlg(nullptr);
    dlg.m_pPage = this;
    dlg.m_pView = m_pView;
    dlg.m_pContourEngine = m_pContourEngine;
    dlg.m_pEngine = m_pStressEngine;
    dlg.DoModal();
}

void CPVXBarPStrs::OnAnimationMore() { OnAnimationDetails(); }

void CPVXBarPStrs::OnDeformedMore() { TurnBoxOn(m_bDeformed); }

void CPVXBarPStrs::OnSectionMore() { ShowCutLineWindow(); }
