// CPVXConDetDlg and CPVXConDetDlg_Krig: the modal contour settings dialogs ("等值线详细设置").
//
// A result bar page sets the owning page (or null), the view, the contour engine it edits and
// the result engine whose gradient switch goes with it, may set the fixed-scale and compact
// flags, and calls DoModal:
//
//   CPVXConDetDlg dlg(this);
//   dlg.m_pPage = this; dlg.m_pView = view; dlg.m_pContourEngine = scale; dlg.m_pEngine = engine;
//   dlg.DoModal();
//
// The colour count, colour table, reverse switch and colour wells change the engine at once;
// everything else is stored on Apply or OK. The engine is copied when the dialog opens and
// Cancel puts that copy back, undoing every change, including those of the custom colour table
// and custom range dialogs opened from here. CPVXConDetDlg_Krig is the reduced dialog for the
// Kriging contour display of the graphics control: colour count, table, reverse and the contour
// line colour only, without previews. CPVXConDetDlgBase holds what the two have in common.
#pragma once

#include "module/contour/CContourEngine.h"
#include "module/contour/CRainbowWnd.h"
#include "platform/ui/CColorWell.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CommonCtrls.h"

class CPVXBarDlgBase;
class CPVXView;
class CEngineBase;
class I_PVXModel;

// Control ids of the contour settings templates.
enum : UINT {
    IDD_PVX_CONTOUR_DETAIL = 10590,
    IDD_PVX_CONTOUR_DETAIL_KRIG = 16244,
    IDC_CON_APPLY_ON_OK = 11131,
    IDC_CON_CUSTOM_RANGE = 11135,
    IDC_CON_COLOR_COUNT = 11136,
    IDC_CON_COLOR_TABLE = 11137,
    IDC_CON_CUSTOM_TABLE = 11138,
    IDC_CON_REVERSE = 11139,
    IDC_CON_WELL_LINE = 11140,
    IDC_CON_WELL_EDGE = 11141,
    IDC_CON_FILL_BANDS = 11142,
    IDC_CON_GRADIENT = 11143,
    IDC_CON_DRAW_LINES = 11144,
    IDC_CON_LINES_ONLY = 11145,
    IDC_CON_SINGLE_LINE = 11146,
    IDC_CON_ANNOTATE = 11147,
    IDC_CON_THICK_LINES = 11148,
    IDC_CON_EXACT = 11149,
    IDC_CON_INTERVAL = 11150,
    IDC_CON_FACTOR_LABEL = 11151,
    IDC_CON_FACTOR = 11152,
    IDC_CON_GRAY_TABLE = 11153,
    IDC_CON_STYLE_RAINBOW = 11154,
    IDC_CON_STYLE_BORDER = 11155,
    IDC_CON_STYLE_RANGE = 11156,
    IDC_CON_WELL_BAND1 = 11158,
    IDC_CON_WELL_BAND2 = 11159,
    IDC_CON_ELEM_OUTLINE = 11160,
    IDC_CON_APPLY = 11181,
    IDC_CON_PREVIEW_TWO = 11263,
    IDC_CON_PREVIEW_BANDS = 11264,
    IDC_CON_PREVIEW_LINES = 11265,
    IDC_CON_EDGE_LABEL = 11472,
    IDC_CON_INTERVAL_LABEL = 11473,
    IDC_CON_LINE_GROUP = 11475,
    IDC_CON_NOTE = 11476,
};

// What the two contour settings dialogs share: the opener's pointers, the backup Cancel puts
// back, the colour count and table combos, the reverse switch, the contour line colour well, the
// custom table and range buttons, and Apply, OK and Cancel. Only its two subclasses are created.
class CPVXConDetDlgBase : public CDialog {
    DECLARE_DYNAMIC(CPVXConDetDlgBase)
public:
    ~CPVXConDetDlgBase() override;

    // Closes at once with IDCANCEL when no engine was given; else InitControls, then the
    // controls are filled from the members.
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;

    // Set by the opener.
    CPVXBarDlgBase* m_pPage;           // owning bar page, may be null
    CPVXView* m_pView;                 // view whose model is applied to
    CContourEngine* m_pContourEngine;  // edited in place
    CEngineBase* m_pEngine;            // result engine (gradient switch); may be null

    // Exchanged values.
    int m_bDrawElemOutline;   // 11160; always 0 in the Kriging dialog, which has no such control
    int m_bApplyOnOK;         // 11131
    int m_bReverseColor;      // 11139

    CContourEngine m_Backup;  // the edited engine as it was when the dialog opened
    CColorWell m_WellLine;    // 11140
    CComboBox m_ComboCount;   // 11136
    CComboBox m_ComboTable;   // 11137

protected:
    CPVXConDetDlgBase(UINT nIDTemplate, CWnd* pParent);

    afx_msg void OnSelchangeColorCount();
    afx_msg void OnSelchangeColorTable();
    afx_msg void OnClickReverse();
    afx_msg void OnCustomTable();
    afx_msg void OnCustomRange();
    afx_msg void OnApply();
    DECLARE_MESSAGE_MAP()

    I_PVXModel* Model() const;
    // Takes the backup, fills the combos, attaches the line colour well and reads the apply and
    // reverse switches.
    void InitCommonControls(CContourEngine& ce);
    // Sets up the dialog's own controls and values; the engine is there.
    virtual void InitControls(CContourEngine& ce) = 0;
    // Redraws the colour previews after the engine changed; the Kriging dialog has none.
    virtual void RepaintPreviews() {}
    // Reads the controls and stores every value into its target; FALSE when a value was refused.
    virtual BOOL StoreValues();
    // Switches the model to contours and redraws it when bApplyOnOK is set.
    virtual void ApplyToModel(int bApplyOnOK);
};

class CPVXConDetDlg : public CPVXConDetDlgBase {
    DECLARE_DYNAMIC(CPVXConDetDlg)
public:
    explicit CPVXConDetDlg(CWnd* pParent = nullptr);
    ~CPVXConDetDlg() override;

    void DoDataExchange(CDataExchange* pDX) override;

    // Set by the opener.
    int m_bFixedScale;                 // colour count and custom buttons disabled
    int m_bCompactLayout;              // gradient, edge, annotation, interval and factor hidden

    // Exchanged values.
    int m_bGradient;          // 11143
    int m_nColorStyle;        // 11154 radio, -1 none
    int m_bDrawContourLine;   // 11144
    int m_nFillStyle;         // 11142 / 11145, -1 none
    int m_bThickContourLine;  // 11148
    int m_bExactContour;      // 11149
    double m_dContourFactor;  // 11152
    int m_bContourAnnot;      // 11147
    int m_bSingleLineColor;   // 11146

    CRainbowWnd m_Rainbow[3]; // previews: band bar, contour lines, two bands
    CColorWell m_WellEdge, m_WellBand1, m_WellBand2;
    CSliderCtrl m_Slider;     // 11150, annotation spacing in hundredths

protected:
    afx_msg void OnClickPreviewSwitch();
    afx_msg void OnClickFillStyle();
    afx_msg void OnClickAnnotate();
    afx_msg LRESULT OnColorWellChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void InitControls(CContourEngine& ce) override;
    void RepaintPreviews() override;
    void EnableByFillStyle();
    void ApplyCompactLayout();
    BOOL StoreValues() override;
    void ApplyToModel(int bApplyOnOK) override;
};

class CPVXConDetDlg_Krig : public CPVXConDetDlgBase {
    DECLARE_DYNAMIC(CPVXConDetDlg_Krig)
public:
    explicit CPVXConDetDlg_Krig(CWnd* pParent = nullptr);
    ~CPVXConDetDlg_Krig() override;

protected:
    afx_msg LRESULT OnColorWellChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void InitControls(CContourEngine& ce) override;
};

// The redraw the contour and legend dialogs run after applying to the model: redraw-requested
// switch, render, animation mode entered again (while an animation runs) or left, picking tree
// rebuilt.
void PVXDialogRedrawModel(I_PVXModel* pModel);
// Fills the colour count and colour table combos and selects the engine's N and table kind.
void PVXFillContourCombos(CComboBox& count, CComboBox& table, const CContourEngine& ce);
