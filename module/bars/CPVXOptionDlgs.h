// The deformation details dialog CPVXDefDetDlg ("变形详细设置") and the number details dialog
// CPVXNumDetDlg ("数值输出详细设置"), opened by the "..." buttons of the result bar pages.
//
// Both edit the caller's objects: the deformation dialog the display scale and beam deformation
// of the page's deformation engine, the number dialog the number options of the container's
// settings block. Their box "仅适用于点击‘确认’时" (kept in the model between runs) makes OK also
// execute the page, so the view is redrawn at once. Without a page they write straight into the
// model and redraw it themselves.
//
//     CPVXNumDetDlg dlg(nullptr);
//     dlg.m_pPage = page; dlg.m_pView = view; dlg.m_pBarInfo = &bar->m_BarInfo;
//     dlg.m_bDirectionOffered = 1;
//     dlg.DoModal();
//
// Input is checked before anything is stored: a scale that is no number keeps the previous one;
// decimals outside 0..15 or a ratio outside 0..100 (or no number) keep the number dialog open
// with the class library's message.
#pragma once

#include "host/base/CFormViewInBar.h"
#include "platform/afx/CString.h"
#include "platform/ui/CDialog.h"

class CDeformEngine;
class CPVXBarDlgBase;
class CPVXView;
class I_PVXModel;
struct T_PVX_BAR_INFO;

enum : UINT {
    IDD_PVX_DEFORM_DETAIL = 10591,
    IDC_DEF_NODAL = 11153,        // "Nodal Deform" (0)
    IDC_DEF_REAL = 11154,         // "Real Deform" (1)
    IDC_DEF_BEAM_GROUP = 11155,   // "Beam Deformation", outside the visible area
    IDC_DEF_SCALE = 11156,
    IDC_OPT_APPLY_ON_OK = 11131,  // "仅适用于点击‘确认’时", both dialogs
    IDD_PVX_NUMBER_DETAIL = 10588,
    IDC_NUM_DECIMALS = 10900,
    IDC_NUM_EXPONENT = 10901,
    IDC_NUM_ONLY_MINMAX = 11125,
    IDC_NUM_MINMAX_BOTH = 11126,  // min/max mode radios 0..3: 11126 .. 11129
    IDC_NUM_RATIO = 11130,
    IDC_NUM_DIRECTION = 11226,
    IDC_NUM_ANGLE = 11227,
};

// Parses a whole text as a finite number; FALSE (and v untouched) for anything else.
BOOL PVXParseNumber(const CString& text, double& v);

// Return on a control other than OK and Cancel becomes Tab: the option dialogs move the focus on
// instead of closing.
void PVXReturnToTab(CWnd& dlg, MSG* pMsg);

// The redraw the option dialogs do when they apply to the model without a page: the deformed
// shape switched on in the model and in its deformation and force engines (either may be
// missing), then a render with the animation mode re-entered or left.
void PVXOptionDialogApplyDeformed(I_PVXModel* pModel);

class CPVXDefDetDlg : public CDialog, public IHostControlNames {
    DECLARE_DYNAMIC(CPVXDefDetDlg)
public:
    explicit CPVXDefDetDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // A display scale as the dialog takes it: a finite number above 0 (0 flattens the shape, a
    // negative scale turns it upside down). The message key of the refusal is kScaleRefusal.
    static BOOL ParseScale(const CString& text, double& dScale);
    static constexpr const char* kScaleRefusal = "IDS_TBX_PVX_Scale_Factor_Invalid_Positive";
    void OnOK() override;
    // Return moves to the next control, except on OK and Cancel.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Without a page: the deformed shape on in the model and its engines; with bApplyOnOK the
    // engine is rebuilt when bRebuild and the view redrawn.
    void ApplyToModel(int bApplyOnOK, int bRebuild);
    std::vector<CBarControlName> GetControlNames() const override;

    CPVXBarDlgBase* m_pPage;       // calling page, may be null
    CPVXView* m_pView;
    CDeformEngine* m_pEngine;      // the deformation engine edited
    T_PVX_BAR_INFO* m_pBarInfo;    // the container's settings block (not edited here)

    CString m_strScale;            // 11156
    int m_nBeamDeform;             // 11153 / 11154: 0 nodal, 1 real; -1 none
    int m_bApplyOnOK;              // 11131

private:
    I_PVXModel* Model() const;
};

class CPVXNumDetDlg : public CDialog, public IHostControlNames {
    DECLARE_DYNAMIC(CPVXNumDetDlg)
public:
    static constexpr int kAngleCount = 13;  // 0, 15, ... 180 degrees
    static constexpr int kAngleStep = 150;  // tenths of a degree per item

    explicit CPVXNumDetDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Without a page: the block's number options into the display options (the exponent also
    // into the model's copy), numbers shown, and the view redrawn.
    void ApplyToModel();
    std::vector<CBarControlName> GetControlNames() const override;

    CPVXBarDlgBase* m_pPage;       // calling page, may be null
    CPVXView* m_pView;
    T_PVX_BAR_INFO* m_pBarInfo;    // the settings block edited
    int m_bMinMaxOffered;          // the only-min/max box may be used; 1 unless the caller says 0
    int m_bDirectionOffered;       // the direction box and angle list may be used

    int m_nDecimals;               // 10900, 0..15
    int m_bExponent;               // 10901
    int m_bOnlyMinMax;             // 11125
    int m_nMinMaxMode;             // 11126 .. 11129
    double m_dMaxRatio;            // 11130, 0..100
    int m_bDirection;              // 11226
    int m_nAngleIndex;             // 11227
    int m_bApplyOnOK;              // 11131

protected:
    void OnOnlyMinMax();
    void OnDirection();
    void UpdateEnabling();
    DECLARE_MESSAGE_MAP()

private:
    I_PVXModel* Model() const;
};
