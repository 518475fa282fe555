#include "module/bars/CPVXBarStrShrFrcRtio.h"

#include <cstdlib>

#include "host/db/StoryShearRecords.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/contour/CContourDetDlg.h"
#include "module/engines/CDeformEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarStrShrFrcRtio, CPVXBarDlgBase)

BEGIN_MESSAGE_MAP(CPVXBarStrShrFrcRtio, CPVXBarDlgBase)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_CBN_SELCHANGE(CPVXBarStrShrFrcRtio::IDC_LOAD, OnLoadChange)
    ON_BN_CLICKED(CPVXBarStrShrFrcRtio::IDC_CONTOUR_MORE, OnContourMore)
    ON_BN_CLICKED(CPVXBarStrShrFrcRtio::IDC_LEGEND_MORE, OnLegendDetails)
    ON_BN_CLICKED(CPVXBarStrShrFrcRtio::IDC_VALUES_MORE, OnValuesMore)
END_MESSAGE_MAP()

namespace {
constexpr UINT kLoadTypeStatic = 1;
constexpr UINT kLoadTypeSettlement = 4;
}  // namespace

CPVXBarStrShrFrcRtio::CPVXBarStrShrFrcRtio() : CPVXBarDlgBase(IDD, nullptr, nullptr), m_nOutput(0) {
    m_nIDLoadCombo = IDC_LOAD;
    m_dwPageLoadMask = kLoadMask;
    m_strTitle = "Story Shear";
    m_bContour = m_bLegend = m_bValues = 0;
    m_bForceRebuild = 1;
}

void CPVXBarStrShrFrcRtio::DoDataExchange(CDataExchange* pDX) {
    CPVXBarDlgBase::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_OUT_FORCE, m_nOutput);
    DDX_Check(pDX, IDC_CONTOUR, m_bContour);
    DDX_Check(pDX, IDC_LEGEND, m_bLegend);
    DDX_Check(pDX, IDC_VALUES, m_bValues);
}

std::vector<CBarControlName> CPVXBarStrShrFrcRtio::GetControlNames() const {
    return {{IDC_LOAD, "load"},     {IDC_OUT_FORCE, "output"}, {IDC_ANGLE_STATIC, "angle"},
            {IDC_ANGLE_SETTLE, "settlement-angle"}, {IDC_CONTOUR, "contour"}, {IDC_LEGEND, "legend"},
            {IDC_VALUES, "values"}, {IDC_CONTOUR_MORE, "contour-more"}, {IDC_LEGEND_MORE, "legend-more"},
            {IDC_VALUES_MORE, "values-more"}};
}

BOOL CPVXBarStrShrFrcRtio::OnInitDialog() {
    m_LoadSelector.SetSubStaticLoadType(kSubStaticType);
    InitPageDialog(PVXMode::kStoryShearRatio);
    m_bContour = 1;
    if (m_pBarInfo) {
        m_bValues = m_pBarInfo->bValues;
        m_bLegend = m_pBarInfo->bLegend;
    }
    if (CForceEngine* e = m_pForceEngine) m_nOutput = e->m_nSSFROutput;
    if (CWnd* p = GetDlgItem(IDC_CONTOUR)) p->EnableWindow(FALSE);
    Exchange(FALSE);
    FillAngleList();
    return TRUE;
}

void CPVXBarStrShrFrcRtio::FillAngleList() {
    const I_PVXModel* pModel = GetModel();
    const UINT type = pModel ? pModel->m_nLoadType : 0;
    UINT shown = 0;
    if (type == kLoadTypeStatic) shown = IDC_ANGLE_STATIC;
    else if (type == kLoadTypeSettlement) shown = IDC_ANGLE_SETTLE;
    for (UINT id : {IDC_ANGLE_STATIC, IDC_ANGLE_SETTLE}) {
        auto* pList = dynamic_cast<CComboBox*>(GetDlgItem(static_cast<int>(id)));
        if (!pList) continue;
        pList->ShowWindow(id == shown ? SW_SHOW : SW_HIDE);
        if (id != shown) continue;
        pList->ResetContent();
        for (double a : T_SSFR_D::kAngle) {
            CString text;
            text.Format("%g", a);
            pList->AddString(text);
        }
        pList->SetCurSel(0);
    }
}

double CPVXBarStrShrFrcRtio::ReadAngle(UINT nList, int* pIndex) {
    auto* pList = dynamic_cast<CComboBox*>(GetDlgItem(static_cast<int>(nList)));
    const int sel = pList ? pList->GetCurSel() : -1;
    if (pIndex) *pIndex = sel;
    if (sel < 0) return 0.0;
    CString text;
    pList->GetLBText(sel, text);
    return std::atof(text);
}

void CPVXBarStrShrFrcRtio::OnLoadChange() {
    Exchange(TRUE);
    TakeLoadOnApply();
    FillAngleList();
}

void CPVXBarStrShrFrcRtio::ApplyOptions() {
    Exchange(TRUE);
    I_PVXModel* pModel = GetModel();
    TakeLoadOnApply();
    if (m_pBarInfo) {
        m_pBarInfo->bValues = m_bValues;
        m_pBarInfo->bLegend = m_bLegend;
        m_pBarInfo->bContour = 1;
    }
    CForceEngine* e = m_pForceEngine;
    if (!e) return;
    const UINT type = pModel ? pModel->m_nLoadType : 0;
    if (type == kLoadTypeStatic || type == kLoadTypeSettlement) {
        int index = -1;
        const double a = ReadAngle(type == kLoadTypeStatic ? IDC_ANGLE_STATIC : IDC_ANGLE_SETTLE, &index);
        if (a != e->m_dSSFRAngle) {
            e->m_dSSFRAngle = a;
            m_bForceRebuild = 1;
        }
        if (type == kLoadTypeSettlement) e->m_nSSFRAngleIndex = index;
    }
    if (m_nOutput >= 0 && m_nOutput != e->m_nSSFROutput) {
        e->m_nSSFROutput = m_nOutput;
        m_bForceRebuild = 1;
    }
    // The bar's deformation engine first: built later, for the draw, it would give the legend
    // the displacement extremes' keys in place of the members'.
    if (m_bDeformRebuild && m_pDeformEngine) {
        m_pDeformEngine->InitEngine();
        m_bDeformRebuild = 0;
    }
    if (m_bForceRebuild) {
        e->InitEngine(nullptr, -1);
        m_bForceRebuild = 0;
    }
    if (pModel) pModel->m_bResultPresent = e->m_bSSFRData;
}

void CPVXBarStrShrFrcRtio::Execute() {
    Exchange(TRUE);
    CPVXBarContainerBase::m_nCurrentMode = PVXMode::kStoryShearRatio;
    if (m_pContainer) m_pContainer->OnTmExecute();
}

void CPVXBarStrShrFrcRtio::OnApply() { Execute(); }

void CPVXBarStrShrFrcRtio::OnContourMore() {
    if (m_pContainer) m_pContainer->TakeBackEngines();
    if (!m_pContourEngine) return;
    CPVXBarContainerBase::m_nCurrentMode = PVXMode::kStoryShearRatio;
    if (m_bForceRebuild && m_pForceEngine) m_pForceEngine->InitEngine(nullptr, -1);
    if (I_PVXModel* pModel = GetModel()) pModel->m_bResultPresent = m_pForceEngine ? m_pForceEngine->m_bSSFRData : 0;
    CPVXConDetDlg dlg(nullptr);
    dlg.m_pPage = this;
    dlg.m_pView = m_pView;
    dlg.m_pContourEngine = m_pContourEngine;
    dlg.m_pEngine = m_pForceEngine;
    dlg.DoModal();
}

void CPVXBarStrShrFrcRtio::OnValuesMore() {
    TurnBoxOn(m_bValues);
    OnNumberDetails(0);
}
