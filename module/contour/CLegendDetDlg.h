// CPVXLegDetDlg: the legend details dialog ("图例详细设置").
//
// A result bar page opens it with itself, the view and its legend settings record; OK stores the
// legend side, number format and percent decimals (and the three legend colours, which the
// template keeps out of reach) into the record and the apply-on-OK box into the model. With the
// box ticked and a page, the page's Execute applies them; without a page the dialog applies
// them to the model itself: legend side and formats, the control's margin on that side, zoom
// to the whole model and a redraw.
#pragma once

#include "platform/ui/CColorWell.h"
#include "platform/ui/CDialog.h"

class CPVXBarDlgBase;
class CPVXView;
class I_PVXModel;

// The legend part of a bar page's settings.
struct T_PVX_LEGEND_SET {
    int nPosition;        // 0 left, 1 right
    int nPassThrough;     // handed to the model unchanged (its exponent switch)
    int nNumberFormat;    // 0 exponent, 1 decimal
    int nPercentDecimals; // 0 integer, 1 one decimal
    COLORREF crBack;      // background colour
    COLORREF crFigure;    // figure colour
    COLORREF crText;      // text colour
};

enum : UINT {
    IDD_PVX_LEGEND_DETAIL = 10589,
    IDC_LEG_APPLY_ON_OK = 11131,
    IDC_LEG_LEFT = 11132,
    IDC_LEG_RIGHT = 11133,
    IDC_LEG_WELL_BACK = 11134,
    IDC_LEG_WELL_FIGURE = 11135,
    IDC_LEG_WELL_TEXT = 11136,
    IDC_LEG_DECIMAL = 11137,
    IDC_LEG_EXPONENT = 11138,
    IDC_LEG_PCT_INTEGER = 11139,
    IDC_LEG_PCT_ONE = 11140,
};

class CPVXLegDetDlg : public CDialog {
    DECLARE_DYNAMIC(CPVXLegDetDlg)
public:
    explicit CPVXLegDetDlg(CWnd* pParent = nullptr);
    ~CPVXLegDetDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    // Hands the settings record to the model, sets the margin on the legend's side, zooms to
    // the whole model and, with bApplyOnOK, redraws.
    void ApplyToModel(int bApplyOnOK);

    CPVXBarDlgBase* m_pPage;         // owning bar page, may be null
    CPVXView* m_pView;               // view whose model is applied to
    T_PVX_LEGEND_SET* m_pSettings;   // the page's record, edited on OK

    int m_nPosition;        // 11132 / 11133, -1 none
    int m_nNumberFormat;    // 11138 / 11137, -1 none
    int m_nPercentDecimals; // 11139 / 11140, -1 none
    int m_bApplyOnOK;       // 11131
    CColorWell m_WellBack, m_WellFigure, m_WellText;

private:
    I_PVXModel* Model() const;
};
