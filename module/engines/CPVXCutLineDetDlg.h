// CPVXCutLineDetDlg: the modeless cutting-line dialog ("楼板剖断面内力图形详细"), and the module's
// cutting-line settings.
//
// The settings are module statics, one set for every result view: the keys of the cutting lines
// selected for display (lines of the host's cutting-line table, CClassCtln), the diagram scale
// factor, direction and colour, the number switches and the graph choices. The engines read them
// when they build and draw their cutting-line diagrams (CEngineBase::MakeCuttingLineData,
// DrawCuttingLineDiagrams); I_PVXModel::ResetCutLineDlg puts them back to their defaults.
//
// One dialog object serves every result view (I_PVXModel::m_pCutLineDetDlg, made with the
// settings' key list when the result view mode is entered). Create opens its window over the
// model's view; closing the window keeps the object. The dialog lists the cutting lines of the
// host table with a check per line (checked = selected for display), shows the name and the two
// points of a line, adds, edits and deletes lines, and writes every change of its options into
// the settings at once:
//     CPVXCutLineDetDlg* pDlg = I_PVXModel::m_pCutLineDetDlg;
//     if (!pDlg->GetSafeHwnd()) pDlg->Create(pModel, 0);
// The points are world coordinates (m), typed as "x, y, z" or picked in the model view.
#pragma once

#include "host/base/CFormViewInBar.h"
#include "host/base/CMouseEdit.h"
#include "platform/afx/CArray.h"
#include "platform/ui/CColorWell.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CListBox.h"

class I_PVXModel;

enum : UINT {
    IDD_PVX_CUTLINE_DETAIL = 10598,
    IDC_CUT_LIST_LABEL = 11194,
    IDC_CUT_LIST = 11195,          // check list of the cutting lines
    IDC_CUT_ADD = 11196,
    IDC_CUT_POS_GROUP = 11197,
    IDC_CUT_NAME_LABEL = 11198,
    IDC_CUT_DELETE = 11199,
    IDC_CUT_EDIT = 11200,
    IDC_CUT_PT1_LABEL = 11201,
    IDC_CUT_PT2_LABEL = 11202,
    IDC_CUT_NAME = 11203,
    IDC_CUT_PT1 = 11204,           // point edits
    IDC_CUT_PT2 = 11205,
    IDC_CUT_OPT_GROUP = 11206,
    IDC_CUT_NORMAL = 11207,        // direction radios: 0 normal, 1 in plane
    IDC_CUT_INPLANE = 11208,
    IDC_CUT_COLOR = 11209,         // colour well
    IDC_CUT_FACTOR = 11210,
    IDC_CUT_GRAPH = 11211,
    IDC_CUT_GRAPH_MORE = 11212,    // "..." opens the graph dialog
    IDC_CUT_VALUES = 11213,
    IDC_CUT_MINMAX = 11214,
};

// Picking modes of the two point edits.
enum { CUTLINE_PICK_PT1 = 50, CUTLINE_PICK_PT2 = 51 };

class CPVXCutLineDetDlg : public CDialog, public IHostControlNames {
    DECLARE_DYNAMIC(CPVXCutLineDetDlg)
public:
    // pSelected: the settings' list of selected cutting-line keys the dialog keeps in step with
    // its checks (the module's list when null); not owned.
    explicit CPVXCutLineDetDlg(CArray<UINT, UINT>* pSelected = nullptr, CWnd* pParent = nullptr);
    ~CPVXCutLineDetDlg() override;

    // Keeps the model and the value, and opens the modeless window over the model's view.
    // FALSE when the window could not be made (or is open already).
    BOOL Create(I_PVXModel* pModel, int nValue);
    using CDialog::Create;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;
    // Enter and Escape go to the focused control and end there: neither closes the dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The first name "Cut-Line #n" that no list entry has, n from the number of entries + 1.
    CString ProposeName() const;
    // The same over the cutting lines of the open project's table.
    static CString ProposeNameInTable();
    // Adds a cutting line to the open project's table and selects it for drawing; its key, or 0
    // when the table refuses it (see CClassCtln::TR_Add).
    static UINT AddSelectedLine(LPCTSTR pszName, const double p1[3], const double p2[3]);

    // ---- the module's cutting-line settings ----------------------------------------------------
    static CArray<UINT, UINT> m_arrSelCutLine;  // keys of the cutting lines drawn, in the order selected
    static double m_dScaleFactor;               // diagram scale factor; 1.0 by default
    static int m_bOutputValues;                 // diagram values written; 1 by default
    static int m_bOnlyMinMax;                   // only each line's extremes written; 1 by default
    static COLORREF m_crDiagram;                // diagram colour; red by default
    static int m_nDirection;                    // diagram offset: 0 along the element normal, 1 in plane across the line (default)
    static int m_bGraph;                        // graph of the diagrams asked for; 0 by default
    static int m_nGraphXAxis;                   // graph abscissa: 0 distance from point 1, 1 X, 2 Y, 3 Z
    static int m_nGraphMode;                    // graph per element (0) or one for the line (1)

    // ---- members, in the dialog's order ------------------------------------------------------
    int m_nValue;                       // stored by Create
    I_PVXModel* m_pModel;               // stored by Create, not owned
    CArray<UINT, UINT>* m_pSelected;    // the settings' selected keys, not owned
    COLORREF m_crColor;                 // diagram colour shown in the well
    CCheckListBox m_ListCutLine;        // 11195, item data: the line's key
    CMouseEdit m_EditPt2;               // 11205
    CMouseEdit m_EditPt1;               // 11204
    double m_dFactor;                   // 11210, -99 to 99
    int m_nDir;                         // 11207 radio group
    int m_bValues;                      // 11213
    CString m_strName;                  // 11203
    int m_bMinMax;                      // 11214
    int m_bGraphCheck;                  // 11211
    CColorWell m_WellColor;             // 11209

protected:
    afx_msg void OnChangeFactor();
    afx_msg void OnValues();
    afx_msg void OnMinMax();
    afx_msg void OnGraph();
    afx_msg void OnDirection();
    afx_msg void OnGraphMore();
    afx_msg void OnAdd();
    afx_msg void OnDelete();
    afx_msg void OnEdit();
    afx_msg void OnSelChange();
    afx_msg void OnCheckChange();
    afx_msg LRESULT OnColorChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPicked(WPARAM wParam, LPARAM lParam);
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    // Fills the check list from the host's cutting lines, checking the selected keys.
    void FillList();
    // Reads name and points from the edits; FALSE with a message box saying what is wrong.
    BOOL ReadLine(CString& name, double p1[3], double p2[3]);
    // Selected keys in step with the list's checks.
    void SyncSelection();
    void EnableMinMax();
    void Warn(LPCTSTR pszKey);
    // The members shown in the controls, without taking the change notices for the user's.
    void ShowMembers();

    BOOL m_bFilling;                    // the dialog is filling its own controls
};
