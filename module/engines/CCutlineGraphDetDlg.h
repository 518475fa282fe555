// CCutlineGraphDetDlg: the small modal dialog of a cutting-line graph ("楼板剖断面内力图形").
//
// The cutting-line dialog opens it with the settings' graph choices and writes them back on OK:
//     CCutlineGraphDetDlg dlg(this);
//     dlg.m_nXAxis = CPVXCutLineDetDlg::m_nGraphXAxis;
//     dlg.m_nGraphMode = CPVXCutLineDetDlg::m_nGraphMode;
//     if (dlg.DoModal() == IDOK) ... take dlg.m_nXAxis and dlg.m_nGraphMode ...
#pragma once

#include "platform/ui/CDialog.h"

enum : UINT {
    IDD_PVX_CUTLINE_GRAPH = 10599,
    IDC_CUTG_PER_ELEMENT = 11213,  // graph radios: 0 one per element, 1 only one
    IDC_CUTG_ONLY_ONE = 11214,
    IDC_CUTG_X_DISTANCE = 11215,   // X axis radios: 0 distance from point 1, 1 global X, 2 Y, 3 Z
    IDC_CUTG_X_GLOBAL_X = 11216,
    IDC_CUTG_X_GLOBAL_Y = 11217,
    IDC_CUTG_X_GLOBAL_Z = 11218,
};

class CCutlineGraphDetDlg : public CDialog {
    DECLARE_DYNAMIC(CCutlineGraphDetDlg)
public:
    explicit CCutlineGraphDetDlg(CWnd* pParent = nullptr);
    ~CCutlineGraphDetDlg() override;

    void DoDataExchange(CDataExchange* pDX) override;

    int m_nXAxis;      // radio group 11215; -1 none
    int m_nGraphMode;  // radio group 11213; -1 none
};
