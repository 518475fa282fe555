// CPVXModalDampDlg: the Rayleigh damping dialog.
//
// Shows the model's eigen results as a table (CPVXModalDampGrid) and as a chart of damping
// ratio against frequency, and computes the Rayleigh coefficients α (mass proportional) and β
// (stiffness proportional) from two chosen modes, ζ(ω) = α / (2ω) + β ω / 2 with ω = 2π f.
// "Plot" draws one point per mode (series 0) and, when a check is set, the damping curve of the
// α and β shown (series 1). The chart's range is automatic (0 … 20 Hz, 0 … top of the ratios
// and the curve) until the user fixes one in the range dialog (CPVXGrphRangeDlg).
// The host makes it by its default constructor and runs it modally; everything it shows comes
// from the host's result database.
#pragma once

#include "host/base/CGraphViewBase.h"
#include "host/base/CInternationalDlg.h"
#include "module/graphs/CPVXModalDampData.h"
#include "platform/ui/CComboBox.h"

class CPVXModalDampGrid;

enum : UINT {
    IDD_PVX_MODAL_DAMP = 10500,
    IDC_PVX_MDR_CHART = 10500,
    IDC_PVX_MDR_TABLE = 10501,
    IDC_PVX_MDR_MASSPROP = 10502,
    IDC_PVX_MDR_STIFFPROP = 10503,
    IDC_PVX_MDR_MODE1_CBX = 10505,
    IDC_PVX_MDR_MODE2_CBX = 10506,
    IDC_PVX_MDR_FREQ1 = 10507,
    IDC_PVX_MDR_CALCAB = 10508,
    IDC_PVX_MDR_FREQ2 = 10509,
    IDC_PVX_MDR_DAMP1 = 10510,
    IDC_PVX_MDR_DAMP2 = 10511,
    IDC_PVX_MDR_ALPHA = 10512,
    IDC_PVX_MDR_BETA = 10513,
    IDC_PVX_MDR_GRPHRANGE = 10514,
    IDC_PVX_MDR_CALCPLOT = 10515,
};

class CPVXModalDampDlg : public CDlgMove {
    DECLARE_DYNCREATE(CPVXModalDampDlg)
public:
    enum { SERIES_MODES = 0, SERIES_CURVE = 1 };
    enum { KIND_MODE = 1, KIND_CURVE = 2 };

    explicit CPVXModalDampDlg(CWnd* pParent = nullptr);
    ~CPVXModalDampDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Loads the modal data; with any mode fills the table and both mode lists.
    void Data2Dlg();
    // Does nothing: the dialog changes no data.
    int Dlg2Data();
    // Titles, fonts and colours of the chart; makes the chart window over control 10500.
    void InitChart();
    // (Re)makes the table over control 10501.
    void InitTable();

    // One chart point: series 0 the modes (kind 1), series 1 the curve (kind 2).
    void SetValue(int index, int series, double x, double y, int kind);
    void SetAxisLabelText(int axis, const char* text);
    // Applies the four bounds, each as "%.4lf" shows it.
    void SetMinMaxRange(double x0, double x1, double y0, double y1);

    // α and β from two modes (frequencies in Hz, ratios as fractions) for the checked terms.
    // Refused input shows one message box and answers 0 with α = β = 0; otherwise 1.
    static BOOL CalcRayleighCoefficients(double& alpha, double& beta, double f1, double zeta1, double f2,
                                         double zeta2, BOOL bMass, BOOL bStiff);

    void UpdateModeGraph();
    void UpdateDampGraph();

    CMySRGraph* GetChart() { return &m_chart; }
    CGraphViewBase* GetChartView() { return &m_chartView; }
    CPVXModalDampGrid* GetTable() const { return m_pTable; }
    const CPVXModalDampData& GetModalData() const { return m_data; }

    // Ranges: x from, x to, y from, y to.
    int m_bAutoRange;
    double m_dUserRange[4];
    double m_dAutoRange[4];

protected:
    afx_msg void OnPvxMdrMassStiffprop();
    afx_msg void OnSelchangePvxMdrMode1Cbx();
    afx_msg void OnSelchangePvxMdrMode2Cbx();
    afx_msg void OnPvxMdrCalcab();
    afx_msg void OnPvxMdrCalcplot();
    afx_msg void OnPvxMdrGrphrange();
    DECLARE_MESSAGE_MAP()

private:
    // The selected mode of a list into its frequency and ratio texts ("%g").
    void ShowSelectedMode(CComboBox& list, CString& freq, CString& ratio);
    // A text's number; 0 when it is no finite number.
    static double TextValue(const CString& text);

    CPVXModalDampData m_data;
    CMySRGraph m_chart;
    CGraphViewBase m_chartView;
    CPVXModalDampGrid* m_pTable;   // owned
    CComboBox m_cbxMode1, m_cbxMode2;
    int m_bMassProp, m_bStiffProp;
    CString m_strFreq1, m_strDamp1, m_strFreq2, m_strDamp2, m_strAlpha, m_strBeta;
};
