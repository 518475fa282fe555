// CPVXCtmzCtDlg: the custom colour table dialog ("用户定义颜色表格").
//
// Seven colour wells edit the key colours (entries 0 to 5 and 30) of the contour engine's
// current colour table; MakeColorTable interpolates the entries between them. The contour
// settings dialogs open it with their view and the engine they edit:
//
//   CPVXCtmzCtDlg dlg(this);
//   dlg.m_pView = m_pView; dlg.m_pContourEngine = m_pContourEngine;
//   dlg.DoModal();
//
// Default brings back the built-in key colours. Cancel puts back every table as it was when the
// dialog opened (Default resets all four tables, so all four are kept).
#pragma once

#include "module/contour/CContourEngine.h"
#include "platform/ui/CColorWell.h"
#include "platform/ui/CDialog.h"

class CPVXView;

enum : UINT {
    IDD_PVX_CUSTOM_COLOR_TABLE = 10593,
    IDC_CCT_WELL1 = 11164,
    IDC_CCT_WELL2 = 11173,
    IDC_CCT_WELL3 = 11174,
    IDC_CCT_WELL4 = 11172,
    IDC_CCT_WELL5 = 11175,
    IDC_CCT_WELL6 = 11176,
    IDC_CCT_WELL7 = 11177,
    IDC_CCT_DEFAULT = 11180,
};

class CPVXCtmzCtDlg : public CDialog {
    DECLARE_DYNAMIC(CPVXCtmzCtDlg)
public:
    static constexpr int NUM_KEYS = 7;
    // Well control ids and the table entries they edit, in well order CW1..CW7.
    static const UINT s_nWellIds[NUM_KEYS];
    static const int s_nKeyEntries[NUM_KEYS];

    explicit CPVXCtmzCtDlg(CWnd* pParent = nullptr);
    ~CPVXCtmzCtDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    CPVXView* m_pView;                  // opener's view
    CContourEngine* m_pContourEngine;   // edited in place
    CColorWell m_Wells[NUM_KEYS];
    COLORREF m_crBackup[NUM_KEYS];      // key colours of the current table at opening
    COLORREF m_crTableBackup[CContourEngine::TABLE_KINDS][CContourEngine::TABLE_ENTRIES];  // all tables at opening

protected:
    afx_msg void OnDefault();
    DECLARE_MESSAGE_MAP()
};
