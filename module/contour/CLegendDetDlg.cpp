#include "module/contour/CLegendDetDlg.h"

#include "module/bars/CPVXBarDlgBase.h"
#include "module/contour/CContourDetDlg.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNAMIC(CPVXLegDetDlg, CDialog)

CPVXLegDetDlg::CPVXLegDetDlg(CWnd* pParent)
    : CDialog(IDD_PVX_LEGEND_DETAIL, pParent),
      m_pPage(nullptr),
      m_pView(nullptr),
      m_pSettings(nullptr),
      m_nPosition(-1),
      m_nNumberFormat(-1),
      m_nPercentDecimals(-1),
      m_bApplyOnOK(0) {}

CPVXLegDetDlg::~CPVXLegDetDlg() = default;

I_PVXModel* CPVXLegDetDlg::Model() const { return m_pView ? m_pView->GetPVXModel() : nullptr; }

void CPVXLegDetDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_LEG_LEFT, m_nPosition);
    DDX_Radio(pDX, IDC_LEG_EXPONENT, m_nNumberFormat);
    DDX_Radio(pDX, IDC_LEG_PCT_INTEGER, m_nPercentDecimals);
    DDX_Check(pDX, IDC_LEG_APPLY_ON_OK, m_bApplyOnOK);
}

BOOL CPVXLegDetDlg::OnInitDialog() {
    if (!m_pSettings) {
        // Nothing to edit: the opener gave no settings record.
        CDialog::OnInitDialog();
        EndDialog(IDCANCEL);
        return TRUE;
    }
    m_nPosition = m_pSettings->nPosition != 0 ? 1 : 0;
    m_nNumberFormat = m_pSettings->nNumberFormat;
    m_nPercentDecimals = m_pSettings->nPercentDecimals;
    if (I_PVXModel* pModel = Model()) m_bApplyOnOK = pModel->m_bApplyOnOK;
    CDialog::OnInitDialog();
    m_WellBack.Attach(IDC_LEG_WELL_BACK, this, m_pSettings->crBack);
    m_WellFigure.Attach(IDC_LEG_WELL_FIGURE, this, m_pSettings->crFigure);
    m_WellText.Attach(IDC_LEG_WELL_TEXT, this, m_pSettings->crText);
    if (CWnd* p = GetDlgItem(IDC_LEG_APPLY_ON_OK)) p->ShowWindow(SW_SHOW);
    return TRUE;
}

void CPVXLegDetDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    if (m_pSettings) {
        m_pSettings->nPosition = m_nPosition != 0 ? 1 : 0;
        m_pSettings->nNumberFormat = m_nNumberFormat;
        m_pSettings->nPercentDecimals = m_nPercentDecimals;
        m_pSettings->crBack = m_WellBack.GetColor();
        m_pSettings->crFigure = m_WellFigure.GetColor();
        m_pSettings->crText = m_WellText.GetColor();
    }
    if (I_PVXModel* pModel = Model()) pModel->m_bApplyOnOK = m_bApplyOnOK;
    if (m_pPage) {
        if (m_bApplyOnOK) m_pPage->Execute();
    } else {
        ApplyToModel(m_bApplyOnOK);
    }
    EndDialog(IDOK);
}

void CPVXLegDetDlg::ApplyToModel(int bApplyOnOK) {
    I_PVXModel* pModel = Model();
    if (!pModel || !m_pSettings) return;
    CLegendEngine& legend = pModel->m_LegendEngine;
    legend.m_nPanelPlacement = m_pSettings->nPosition;
    legend.m_bAutoDigits = m_pSettings->nNumberFormat != 0;
    legend.m_bExponent = m_pSettings->nPassThrough;
    legend.m_bCompact = m_pSettings->nPercentDecimals;
    const int nSide = m_pSettings->nPosition;
    if (pModel->m_pPVXCtrl && pModel->m_pDispOpt && (nSide == 0 || nSide == 1)) {
        const int m = pModel->m_pDispOpt->m_Legend.m_nLegendWidth * legend.m_nTitleCharWidth;
        if (nSide == 0)
            pModel->m_pPVXCtrl->SetClientWindowMargin(m, 0, 0, 0, 0, 0);
        else
            pModel->m_pPVXCtrl->SetClientWindowMargin(0, 0, m, 0, 0, 0);
        pModel->m_pDispOpt->m_Legend.m_bShowLegend = 1;
        pModel->m_pPVXCtrl->ViewZoomAll(0);
    }
    if (bApplyOnOK) PVXDialogRedrawModel(pModel);
}
