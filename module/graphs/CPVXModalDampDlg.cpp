#include "module/graphs/CPVXModalDampDlg.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "host/base/CMathFunc.h"
#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "module/graphs/CPVXGrphRangeDlg.h"
#include "module/graphs/CPVXModalDampGrid.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/uiapi.h"

namespace {

constexpr double kNearZero = 1e-15;
constexpr double kAutoFreqTo = 20.0;   // Hz: the automatic x range is 0 … 20
constexpr double kCurvePad = 0.05;     // share of the curve's span added above it
constexpr int kChartInset = 2;         // pixels between the chart frame and the chart
const COLORREF kGridColor = RGB(0x98, 0x98, 0x98);

// The bound as "%.4lf" shows it.
double ShownBound(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4lf", v);
    return std::atof(text);
}

void ShowKeyedMessage(const char* pszKey) { AfxMessageBox(CMsgDll::pfuncLoadStr(pszKey, 0), MB_OK | MB_ICONSTOP); }

// The controls each combination of the two checks enables.
const UINT kMode1Group[] = {IDC_PVX_MDR_MODE1_CBX, IDC_PVX_MDR_FREQ1, IDC_PVX_MDR_DAMP1};
const UINT kMode2Group[] = {IDC_PVX_MDR_MODE2_CBX, IDC_PVX_MDR_FREQ2, IDC_PVX_MDR_DAMP2};

}  // namespace

IMPLEMENT_DYNCREATE(CPVXModalDampDlg, CDlgMove)

BEGIN_MESSAGE_MAP(CPVXModalDampDlg, CDlgMove)
    ON_BN_CLICKED(IDC_PVX_MDR_MASSPROP, OnPvxMdrMassStiffprop)
    ON_BN_CLICKED(IDC_PVX_MDR_STIFFPROP, OnPvxMdrMassStiffprop)
    ON_CBN_SELCHANGE(IDC_PVX_MDR_MODE1_CBX, OnSelchangePvxMdrMode1Cbx)
    ON_CBN_SELCHANGE(IDC_PVX_MDR_MODE2_CBX, OnSelchangePvxMdrMode2Cbx)
    ON_BN_CLICKED(IDC_PVX_MDR_CALCAB, OnPvxMdrCalcab)
    ON_BN_CLICKED(IDC_PVX_MDR_CALCPLOT, OnPvxMdrCalcplot)
    ON_BN_CLICKED(IDC_PVX_MDR_GRPHRANGE, OnPvxMdrGrphrange)
END_MESSAGE_MAP()

CPVXModalDampDlg::CPVXModalDampDlg(CWnd* pParent)
    : CDlgMove(IDD_PVX_MODAL_DAMP, pParent),
      m_bAutoRange(1),
      m_dUserRange{0.0, 0.0, 0.0, 0.0},
      m_dAutoRange{0.0, 0.0, 0.0, 0.0},
      m_pTable(nullptr),
      m_bMassProp(0),
      m_bStiffProp(0),
      m_strFreq1("0.0"),
      m_strDamp1("0.0"),
      m_strFreq2("0.0"),
      m_strDamp2("0.0"),
      m_strAlpha("0.0"),
      m_strBeta("0.0") {}

CPVXModalDampDlg::~CPVXModalDampDlg() {
    if (m_chartView.GetSafeHwnd()) m_chartView.DestroyWindow();
    delete m_pTable;
}

void CPVXModalDampDlg::DoDataExchange(CDataExchange* pDX) {
    CDlgMove::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PVX_MDR_MODE1_CBX, m_cbxMode1);
    DDX_Control(pDX, IDC_PVX_MDR_MODE2_CBX, m_cbxMode2);
    DDX_Check(pDX, IDC_PVX_MDR_MASSPROP, m_bMassProp);
    DDX_Check(pDX, IDC_PVX_MDR_STIFFPROP, m_bStiffProp);
    DDX_Text(pDX, IDC_PVX_MDR_FREQ1, m_strFreq1);
    DDX_Text(pDX, IDC_PVX_MDR_DAMP1, m_strDamp1);
    DDX_Text(pDX, IDC_PVX_MDR_FREQ2, m_strFreq2);
    DDX_Text(pDX, IDC_PVX_MDR_DAMP2, m_strDamp2);
    DDX_Text(pDX, IDC_PVX_MDR_ALPHA, m_strAlpha);
    DDX_Text(pDX, IDC_PVX_MDR_BETA, m_strBeta);
}

BOOL CPVXModalDampDlg::OnInitDialog() {
    CDlgMove::OnInitDialog();
    Data2Dlg();
    UpdateData(FALSE);
    OnPvxMdrMassStiffprop();
    OnSelchangePvxMdrMode1Cbx();
    OnSelchangePvxMdrMode2Cbx();
    OnPvxMdrCalcplot();
    return TRUE;
}

void CPVXModalDampDlg::Data2Dlg() {
    CDBDoc* pDoc = CDBDoc::m_pDBDoc;
    const int bAny = m_data.Load(pDoc ? pDoc->GetPostCtrl() : nullptr);
    // The chart is made even without modes, so the dialog shows its empty axes.
    InitChart();
    if (!bAny) return;
    InitTable();
    for (CComboBox* pList : {&m_cbxMode1, &m_cbxMode2}) {
        pList->ResetContent();
        for (int m : m_data.GetModeNumbers()) {
            CString text;
            text.Format("Mode %d", m);
            const int i = pList->AddString(text);
            if (i >= 0) pList->SetItemData(i, static_cast<DWORD_PTR>(m));
        }
        pList->SetCurSel(0);
    }
}

int CPVXModalDampDlg::Dlg2Data() { return 1; }

void CPVXModalDampDlg::InitChart() {
    SetAxisLabelText(CMySRGraph::AXIS_X, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Frequencies_Hz", 0));
    SetAxisLabelText(CMySRGraph::AXIS_Y, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Damping_Ratio", 0));
    m_chart.SetFontFace(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_FONT_COURIER_NEW", 0));
    m_chart.SetBackColor(RGB(255, 255, 255));
    m_chart.SetGridColor(kGridColor);
    if (m_chartView.GetSafeHwnd()) return;
    CWnd* pFrame = GetDlgItem(IDC_PVX_MDR_CHART);
    if (!pFrame) return;
    CRect rc;
    pFrame->GetWindowRect(&rc);
    ScreenToClient(&rc);
    rc.DeflateRect(kChartInset, kChartInset);
    m_chartView.Create(this, rc, IDC_PVX_MDR_CHART, &m_chart);
}

void CPVXModalDampDlg::InitTable() {
    delete m_pTable;
    m_pTable = new CPVXModalDampGrid(&m_data);
    if (!m_pTable->SubclassDlgItem(IDC_PVX_MDR_TABLE, this)) {
        delete m_pTable;
        m_pTable = nullptr;
        return;
    }
    m_pTable->Initialize();
}

void CPVXModalDampDlg::SetValue(int index, int series, double x, double y, int kind) {
    m_chart.SetValue(index, series, x, y, kind);
}

void CPVXModalDampDlg::SetAxisLabelText(int axis, const char* text) { m_chart.SetAxisTitle(axis, text); }

void CPVXModalDampDlg::SetMinMaxRange(double x0, double x1, double y0, double y1) {
    m_chart.SetAxisRange(CMySRGraph::AXIS_X, ShownBound(x0), ShownBound(x1));
    m_chart.SetAxisRange(CMySRGraph::AXIS_Y, ShownBound(y0), ShownBound(y1));
    m_chartView.Refresh();
}

BOOL CPVXModalDampDlg::CalcRayleighCoefficients(double& alpha, double& beta, double f1, double zeta1, double f2,
                                                double zeta2, BOOL bMass, BOOL bStiff) {
    alpha = beta = 0.0;
    const double pi = CMathFunc::m_pi;
    const char* pszError = nullptr;
    if (bMass || bStiff) {
        if (f1 <= 0.0) {
            pszError = "IDS_TBX_PVX_Frequency_of_Mode_1_is_invalid";
        } else if (zeta1 < 0.0) {
            pszError = "IDS_TBX_PVX_Damping_Ratio_of_Mode_1_is_invalid";
        } else if (bMass && bStiff) {
            if (f2 <= 0.0) {
                pszError = "IDS_TBX_PVX_Frequency_of_Mode_2_is_invalid";
            } else if (zeta2 < 0.0) {
                pszError = "IDS_TBX_PVX_Damping_Ratio_of_Mode_2_is_invalid";
            } else if (std::fabs(f1 - f2) < kNearZero) {
                pszError = "IDS_TBX_PVX_Frequencies_are_identical";
            } else {
                const double d = f2 * f2 - f1 * f1;
                alpha = 4.0 * pi * f1 * f2 * (zeta1 * f2 - zeta2 * f1) / d;
                beta = (zeta2 * f2 - zeta1 * f1) / (pi * d);
            }
        } else if (bMass) {
            alpha = 4.0 * pi * f1 * zeta1;
        } else {
            beta = zeta1 / (pi * f1);
        }
    }
    if (pszError) {
        ShowKeyedMessage(pszError);
        return FALSE;
    }
    return TRUE;
}

double CPVXModalDampDlg::TextValue(const CString& text) {
    const double v = std::atof(static_cast<LPCTSTR>(text));
    return std::isfinite(v) ? v : 0.0;
}

void CPVXModalDampDlg::OnPvxMdrMassStiffprop() {
    UpdateData(TRUE);
    const BOOL bMass = m_bMassProp != 0, bStiff = m_bStiffProp != 0;
    auto enable = [this](UINT id, BOOL b) {
        if (CWnd* p = GetDlgItem(static_cast<int>(id))) p->EnableWindow(b);
    };
    for (UINT id : kMode1Group) enable(id, bMass || bStiff);
    for (UINT id : kMode2Group) enable(id, bMass && bStiff);
    enable(IDC_PVX_MDR_ALPHA, bMass);
    enable(IDC_PVX_MDR_BETA, bStiff);
    enable(IDC_PVX_MDR_CALCAB, bMass || bStiff);
}

void CPVXModalDampDlg::ShowSelectedMode(CComboBox& list, CString& freq, CString& ratio) {
    const int sel = list.GetSafeHwnd() ? list.GetCurSel() : -1;
    if (sel < 0) return;
    T_PVX_MDDP_D r{};
    if (!m_data.GetMode(static_cast<int>(list.GetItemData(sel)), r)) return;
    UpdateData(TRUE);
    freq.Format("%g", r.dFreq);
    ratio.Format("%g", r.dDampRatio);
    UpdateData(FALSE);
}

void CPVXModalDampDlg::OnSelchangePvxMdrMode1Cbx() { ShowSelectedMode(m_cbxMode1, m_strFreq1, m_strDamp1); }

void CPVXModalDampDlg::OnSelchangePvxMdrMode2Cbx() { ShowSelectedMode(m_cbxMode2, m_strFreq2, m_strDamp2); }

void CPVXModalDampDlg::OnPvxMdrCalcab() {
    UpdateData(TRUE);
    double alpha = 0.0, beta = 0.0;
    if (!CalcRayleighCoefficients(alpha, beta, TextValue(m_strFreq1), TextValue(m_strDamp1), TextValue(m_strFreq2),
                                  TextValue(m_strDamp2), m_bMassProp, m_bStiffProp))
        return;
    m_strAlpha.Format("%g", alpha);
    m_strBeta.Format("%g", beta);
    UpdateData(FALSE);
}

void CPVXModalDampDlg::OnPvxMdrCalcplot() {
    UpdateData(TRUE);
    m_chart.ClearData();
    UpdateModeGraph();
    if (m_bMassProp || m_bStiffProp) UpdateDampGraph();
    const double* r = m_bAutoRange ? m_dAutoRange : m_dUserRange;
    SetMinMaxRange(r[0], r[1], r[2], r[3]);
}

void CPVXModalDampDlg::UpdateModeGraph() {
    int i = 0;
    for (int m : m_data.GetModeNumbers()) {
        T_PVX_MDDP_D r{};
        if (m_data.GetMode(m, r)) SetValue(i++, SERIES_MODES, r.dFreq, r.dDampRatio, KIND_MODE);
    }
    m_dAutoRange[0] = 0.0;
    m_dAutoRange[1] = kAutoFreqTo;
    m_dAutoRange[2] = 0.0;
    m_dAutoRange[3] = m_data.m_dDampAxisTo;
}

void CPVXModalDampDlg::UpdateDampGraph() {
    const double alpha = TextValue(m_strAlpha), beta = TextValue(m_strBeta);
    if (std::fabs(alpha) < kNearZero && std::fabs(beta) < kNearZero)
        ShowKeyedMessage("IDS_TBX_PVX_Alpha_and_Beta_Value_are_invalid");
    CArray<double, double> x, y;
    if (!m_data.GetDampCurve(alpha, beta, x, y) || x.GetSize() != y.GetSize()) return;
    double lo = DBL_MAX, hi = -DBL_MAX;
    for (INT_PTR i = 0; i < x.GetSize(); ++i) {
        SetValue(static_cast<int>(i), SERIES_CURVE, x[i], y[i], KIND_CURVE);
        if (x[i] >= 0.0 && x[i] < kAutoFreqTo) {
            lo = std::fmin(lo, y[i]);
            hi = std::fmax(hi, y[i]);
        }
    }
    lo = std::fmin(lo, m_data.m_dDampAxisFrom);
    hi = std::fmax(hi, m_data.m_dDampAxisTo);
    m_dAutoRange[0] = 0.0;
    m_dAutoRange[1] = kAutoFreqTo;
    m_dAutoRange[2] = 0.0;
    m_dAutoRange[3] = hi + kCurvePad * (hi - lo);
}

void CPVXModalDampDlg::OnPvxMdrGrphrange() {
    CPVXGrphRangeDlg dlg(this);
    dlg.m_bAuto = m_bAutoRange;
    // The automatic range is offered as the chart shows it.
    double shown[4];
    for (int i = 0; i < 4; ++i) shown[i] = m_bAutoRange ? ShownBound(m_dAutoRange[i]) : m_dUserRange[i];
    dlg.m_dXMin = shown[0];
    dlg.m_dXMax = shown[1];
    dlg.m_dYMin = shown[2];
    dlg.m_dYMax = shown[3];
    if (dlg.DoModal() != IDOK) return;
    m_bAutoRange = dlg.m_bAuto;
    m_dUserRange[0] = dlg.m_dXMin;
    m_dUserRange[1] = dlg.m_dXMax;
    m_dUserRange[2] = dlg.m_dYMin;
    m_dUserRange[3] = dlg.m_dYMax;
    OnPvxMdrCalcplot();
}
