// CPVXGrphRangeDlg: the chart range dialog of the Rayleigh damping dialog ("修改图形范围").
//
// "自动调整" keeps the automatic range; cleared, the four bounds typed here are used. The
// bound edits are enabled only while the check is clear; a fixed range needs each minimum
// below its maximum.
#pragma once

#include "host/base/CInternationalDlg.h"

enum : UINT {
    IDD_PVX_GRPH_RANGE = 10506,
    IDC_PVX_GRR_AUTO = 10516,
    IDC_PVX_GRR_XMIN = 10517,
    IDC_PVX_GRR_XMAX = 10518,
    IDC_PVX_GRR_YMIN = 10519,
    IDC_PVX_GRR_YMAX = 10520,
};

class CPVXGrphRangeDlg : public CDlgMove {
    DECLARE_DYNAMIC(CPVXGrphRangeDlg)
public:
    explicit CPVXGrphRangeDlg(CWnd* pParent = nullptr);
    ~CPVXGrphRangeDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Refuses a fixed range whose minimum is not below its maximum.
    void OnOK() override;

    int m_bAuto;
    double m_dXMin, m_dXMax, m_dYMin, m_dYMax;

protected:
    afx_msg void OnAuto();
    DECLARE_MESSAGE_MAP()

private:
    void EnableBounds();
};
