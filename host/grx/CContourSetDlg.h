// CContourSetDlg: the contour tool's settings dialog ("等值线参数"), opened by
// CContourTool::DlgSet over the tool's parameters.
//
// Its controls carry short names for the host program's command line: levels (a comma list of
// values, or "auto" / empty for levels spread over the value range), strips (automatic level
// count), subcount (every n-th level is a main line), labelsinside (labels only inside the
// outlines), render (shaded map), subtext (labels on sub lines too), mainweight and subweight
// (line weights, 0.01 mm). OK hands the words to CContourTool::ApplySettings; a value it refuses
// is shown in a message box and the dialog stays open.
#pragma once

#include <string>
#include <vector>

#include "host/base/CFormViewInBar.h"
#include "platform/ui/CDialog.h"

class CContourTool;

class CContourSetDlg : public CDialog, public IHostControlNames {
public:
    enum : UINT {
        IDD = 47130,
        IDC_LEVELS = 47131,
        IDC_STRIPS = 47132,
        IDC_SUBCOUNT = 47133,
        IDC_LABELSINSIDE = 47134,
        IDC_RENDER = 47135,
        IDC_SUBTEXT = 47136,
        IDC_MAINWEIGHT = 47137,
        IDC_SUBWEIGHT = 47138,
    };
    CContourSetDlg(CContourTool& tool, CWnd* pParent);

    BOOL OnInitDialog() override;
    void OnOK() override;
    std::vector<CBarControlName> GetControlNames() const override;

    int m_nChanged = 0;  // 1 when OK changed the tool's parameters

private:
    CContourTool& m_tool;
    std::string m_strLevels, m_strStrips;  // as shown when the dialog opened
};
