#include "module/bars/CPVXOptionDlgs.h"

#include <cmath>

#include "host/base/CMsgDll.h"
#include "platform/ui/uiapi.h"
#include <cstdlib>

#include "module/bars/CPVXBarDlgBase.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/contour/CContourDetDlg.h"
#include "module/engines/CDeformEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

BOOL PVXParseNumber(const CString& text, double& v) {
    const char* s = text.GetString();
    char* end = nullptr;
    const double d = std::strtod(s, &end);
    if (end == s) return FALSE;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end || !std::isfinite(d)) return FALSE;
    v = d;
    return TRUE;
}

void PVXReturnToTab(CWnd& dlg, MSG* pMsg) {
    if (!pMsg || pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_RETURN) return;
    CWnd* pFocus = CWnd::GetFocus();
    const int id = pFocus && ::IsChild(dlg.m_hWnd, pFocus->m_hWnd) ? pFocus->GetDlgCtrlID() : 0;
    if (id != IDOK && id != IDCANCEL) pMsg->wParam = VK_TAB;
}

void PVXOptionDialogApplyDeformed(I_PVXModel* pModel) {
    if (!pModel) return;
    pModel->m_bDeformedShape = 1;
    // A model shows one result: the engines of other results are not there.
    if (pModel->m_pDeformEngine) pModel->m_pDeformEngine->m_bDeformed = 1;
    if (pModel->m_pForceEngine) pModel->m_pForceEngine->m_bDeformed = 1;
}

namespace {

I_PVXModel* ModelOfView(CPVXView* pView) { return pView ? pView->GetPVXModel() : nullptr; }

void Enable(CWnd& dlg, UINT nID, BOOL bEnable) {
    if (CWnd* p = dlg.GetDlgItem(static_cast<int>(nID))) p->EnableWindow(bEnable);
}

}  // namespace

// ---- CPVXDefDetDlg ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPVXDefDetDlg, CDialog)

CPVXDefDetDlg::CPVXDefDetDlg(CWnd* pParent)
    : CDialog(IDD_PVX_DEFORM_DETAIL, pParent),
      m_pPage(nullptr),
      m_pView(nullptr),
      m_pEngine(nullptr),
      m_pBarInfo(nullptr),
      m_nBeamDeform(-1),
      m_bApplyOnOK(0) {}

I_PVXModel* CPVXDefDetDlg::Model() const { return ModelOfView(m_pView); }

void CPVXDefDetDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DEF_SCALE, m_strScale);
    DDX_Radio(pDX, IDC_DEF_NODAL, m_nBeamDeform);
    DDX_Check(pDX, IDC_OPT_APPLY_ON_OK, m_bApplyOnOK);
}

std::vector<CBarControlName> CPVXDefDetDlg::GetControlNames() const {
    return {{IDC_DEF_SCALE, "scale"}, {IDC_DEF_NODAL, "beam-deformation"}, {IDC_OPT_APPLY_ON_OK, "apply-on-ok"}};
}

BOOL CPVXDefDetDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_pEngine) {
        m_strScale.Format("%f", m_pEngine->m_dUserScale);
        m_nBeamDeform = m_pEngine->m_bExactBeamRange ? 1 : 0;
    }
    I_PVXModel* pModel = Model();
    const int nBarMode = pModel ? pModel->m_nBarDisplayMode : PVXMode::kNone;
    const bool bRealOffered = (nBarMode == PVXMode::kDeformedShape || nBarMode == PVXMode::kDispContour ||
                               nBarMode == PVXMode::kFrameForceContour) &&
                              !(m_pView && m_pView->m_nViewState);
    if (!bRealOffered) {
        m_nBeamDeform = 0;
        Enable(*this, IDC_DEF_REAL, FALSE);
    }
    if (pModel) m_bApplyOnOK = pModel->m_bApplyOnOK;
    UpdateData(FALSE);
    return TRUE;
}

BOOL CPVXDefDetDlg::PreTranslateMessage(MSG* pMsg) {
    PVXReturnToTab(*this, pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

BOOL CPVXDefDetDlg::ParseScale(const CString& text, double& dScale) {
    double d = 0.0;
    if (!PVXParseNumber(text, d) || !std::isfinite(d) || d <= 0.0) return FALSE;
    dScale = d;
    return TRUE;
}

void CPVXDefDetDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    // A number that is no scale is refused and the dialog stays (NaN and infinity, read whole,
    // are numbers too); a text that is no number keeps the scale the engine has.
    double d = 0.0;
    const char* text = m_strScale.GetString();
    char* end = nullptr;
    std::strtod(text, &end);
    while (end != text && (*end == ' ' || *end == '\t')) ++end;
    const bool bNumber = end != text && *end == 0;
    if (bNumber && !ParseScale(m_strScale, d)) {
        AfxMessageBox(CMsgDll::pfuncLoadStr(kScaleRefusal, 0), MB_OK, 0);
        return;
    }
    int bRebuild = 0;
    if (m_pEngine) {
        if (ParseScale(m_strScale, d)) m_pEngine->m_dUserScale = d;
        if (m_nBeamDeform >= 0 && m_nBeamDeform != (m_pEngine->m_bExactBeamRange ? 1 : 0)) {
            m_pEngine->m_bExactBeamRange = m_nBeamDeform;
            bRebuild = 1;
            if (m_pPage) m_pPage->m_bDeformRebuild = 1;
        }
    }
    if (I_PVXModel* pModel = Model()) pModel->m_bApplyOnOK = m_bApplyOnOK;
    if (m_pPage) {
        if (m_bApplyOnOK) m_pPage->Execute();
    } else {
        ApplyToModel(m_bApplyOnOK, bRebuild);
    }
    EndDialog(IDOK);
}

void CPVXDefDetDlg::ApplyToModel(int bApplyOnOK, int bRebuild) {
    I_PVXModel* pModel = Model();
    if (!pModel) return;
    PVXOptionDialogApplyDeformed(pModel);
    if (!bApplyOnOK) return;
    if (bRebuild && m_pEngine) m_pEngine->InitEngine();
    PVXDialogRedrawModel(pModel);
}

// ---- CPVXNumDetDlg ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPVXNumDetDlg, CDialog)

BEGIN_MESSAGE_MAP(CPVXNumDetDlg, CDialog)
    ON_BN_CLICKED(IDC_NUM_ONLY_MINMAX, OnOnlyMinMax)
    ON_BN_CLICKED(IDC_NUM_DIRECTION, OnDirection)
END_MESSAGE_MAP()

CPVXNumDetDlg::CPVXNumDetDlg(CWnd* pParent)
    : CDialog(IDD_PVX_NUMBER_DETAIL, pParent),
      m_pPage(nullptr),
      m_pView(nullptr),
      m_pBarInfo(nullptr),
      m_bMinMaxOffered(1),
      m_bDirectionOffered(1),
      m_nDecimals(0),
      m_bExponent(0),
      m_bOnlyMinMax(0),
      m_nMinMaxMode(0),
      m_dMaxRatio(0.0),
      m_bDirection(0),
      m_nAngleIndex(0),
      m_bApplyOnOK(0) {}

I_PVXModel* CPVXNumDetDlg::Model() const { return ModelOfView(m_pView); }

void CPVXNumDetDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NUM_DECIMALS, m_nDecimals);
    DDV_MinMaxInt(pDX, m_nDecimals, 0, 15);
    DDX_Check(pDX, IDC_NUM_EXPONENT, m_bExponent);
    DDX_Check(pDX, IDC_NUM_ONLY_MINMAX, m_bOnlyMinMax);
    DDX_Radio(pDX, IDC_NUM_MINMAX_BOTH, m_nMinMaxMode);
    DDX_Text(pDX, IDC_NUM_RATIO, m_dMaxRatio);
    DDV_MinMaxDouble(pDX, m_dMaxRatio, 0.0, 100.0);
    DDX_Check(pDX, IDC_NUM_DIRECTION, m_bDirection);
    DDX_CBIndex(pDX, IDC_NUM_ANGLE, m_nAngleIndex);
    DDX_Check(pDX, IDC_OPT_APPLY_ON_OK, m_bApplyOnOK);
}

std::vector<CBarControlName> CPVXNumDetDlg::GetControlNames() const {
    return {{IDC_NUM_DECIMALS, "decimals"},      {IDC_NUM_EXPONENT, "exponent"},
            {IDC_NUM_ONLY_MINMAX, "only-minmax"}, {IDC_NUM_MINMAX_BOTH, "minmax-mode"},
            {IDC_NUM_RATIO, "ratio"},            {IDC_NUM_DIRECTION, "direction"},
            {IDC_NUM_ANGLE, "angle"},            {IDC_OPT_APPLY_ON_OK, "apply-on-ok"}};
}

BOOL CPVXNumDetDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (const T_PVX_BAR_INFO* b = m_pBarInfo) {
        m_bExponent = b->bExponent;
        m_bOnlyMinMax = b->bOnlyMinMax;
        m_nMinMaxMode = b->nMinMaxMode >= 0 && b->nMinMaxMode <= 3 ? b->nMinMaxMode : 0;
        m_dMaxRatio = b->dMaxRatio;
        m_nDecimals = b->nDecimals;
        m_bDirection = b->bOutputDirection;
        m_nAngleIndex = b->nTextAngle / kAngleStep;
    }
    if (m_nAngleIndex < 0 || m_nAngleIndex >= kAngleCount) m_nAngleIndex = 0;
    if (auto* pCombo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_NUM_ANGLE))) {
        pCombo->ResetContent();
        for (int i = 0; i < kAngleCount; ++i) {
            CString s;
            s.Format("%d", i * kAngleStep / 10);
            pCombo->AddString(s);
        }
    }
    if (I_PVXModel* pModel = Model()) m_bApplyOnOK = pModel->m_bApplyOnOK;
    UpdateData(FALSE);
    UpdateEnabling();
    // The box is of no use while the figures show numbers of their own.
    const I_PVXModel* pModel = Model();
    if (CWnd* p = GetDlgItem(IDC_OPT_APPLY_ON_OK)) p->ShowWindow(pModel && pModel->m_bFigureMode ? SW_HIDE : SW_SHOW);
    return TRUE;
}

void CPVXNumDetDlg::UpdateEnabling() {
    Enable(*this, IDC_NUM_ONLY_MINMAX, m_bMinMaxOffered);
    const BOOL bRadios = m_bMinMaxOffered && m_bOnlyMinMax;
    for (UINT id = IDC_NUM_MINMAX_BOTH; id <= IDC_NUM_MINMAX_BOTH + 3; ++id) Enable(*this, id, bRadios);
    Enable(*this, IDC_NUM_RATIO, bRadios);
    Enable(*this, IDC_NUM_DIRECTION, m_bDirectionOffered);
    Enable(*this, IDC_NUM_ANGLE, m_bDirectionOffered && m_bDirection);
}

void CPVXNumDetDlg::OnOnlyMinMax() {
    if (auto* p = dynamic_cast<CButton*>(GetDlgItem(IDC_NUM_ONLY_MINMAX))) m_bOnlyMinMax = p->GetCheck() == BST_CHECKED;
    UpdateEnabling();
}

void CPVXNumDetDlg::OnDirection() {
    if (auto* p = dynamic_cast<CButton*>(GetDlgItem(IDC_NUM_DIRECTION))) m_bDirection = p->GetCheck() == BST_CHECKED;
    UpdateEnabling();
}

BOOL CPVXNumDetDlg::PreTranslateMessage(MSG* pMsg) {
    PVXReturnToTab(*this, pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CPVXNumDetDlg::OnOK() {
    // The exchange refuses decimals outside 0..15 and a ratio outside 0..100 (or no number) with
    // its own message; the dialog then stays open and nothing is stored.
    if (!UpdateData(TRUE)) return;
    if (m_dMaxRatio < 0.0 || m_dMaxRatio > 100.0 || m_nDecimals < 0 || m_nDecimals > 15) return;
    if (T_PVX_BAR_INFO* b = m_pBarInfo) {
        b->bExponent = m_bExponent;
        b->bOnlyMinMax = m_bOnlyMinMax;
        b->nMinMaxMode = m_nMinMaxMode;
        b->dMaxRatio = m_dMaxRatio;
        b->nDecimals = m_nDecimals;
        b->bOutputDirection = m_bDirection;
        b->nTextAngle = m_nAngleIndex * kAngleStep;
    }
    if (I_PVXModel* pModel = Model()) pModel->m_bApplyOnOK = m_bApplyOnOK;
    if (m_pPage) {
        if (m_bApplyOnOK) m_pPage->Execute();
    } else {
        ApplyToModel();
    }
    EndDialog(IDOK);
}

void CPVXNumDetDlg::ApplyToModel() {
    I_PVXModel* pModel = Model();
    if (!pModel || !m_pBarInfo) return;
    const T_PVX_BAR_INFO& b = *m_pBarInfo;
    pModel->m_bExponent = b.bExponent;
    if (T_PVX_DOPT_D* o = pModel->m_pDispOpt) {
        T_PVX_DOPT_NUMBER_D& n = o->m_Number;
        n.m_bExponent = b.bExponent;
        n.m_nNumberOpt2 = b.bOnlyMinMax;
        n.m_nNumberOpt1 = b.nMinMaxMode;
        n.m_dNumberFactor = b.dMaxRatio;
        n.m_bFixedNumberAngle = b.bOutputDirection;
        n.m_nNumberAngle = b.nTextAngle;
        n.m_nDecimals = b.nDecimals;
        n.m_bShowNumbers = 1;
    }
    PVXDialogRedrawModel(pModel);
}
