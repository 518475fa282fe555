// The mode shapes: the page CPVXBarMdShp (template 10569, result 7203, display mode 4) of the
// system bar, its mode-shape details dialog CPVXMdShpDetDlg ("模态详细设置", 10607) and the choice
// of modes CPVXMultiModeDlg ("选择模态", 10609) of its multi-mode display.
//
// The page's load list holds the project's modes by number ("荷载工况(模态号)"); the model's load
// key is the mode number. At least one of the mode-shape and contour boxes stays on: the mode
// shape drawn as a deformed shape, as a displacement contour on it, or both.
//
// The multi-mode display ("多模态显示") shows each chosen mode in a result view of its own: the
// page's options applied, the result views told (command 32773 to their frames), surplus
// frames closed, a new window of the view opened for each further mode (the class library's
// new-window command to the main window), each view's model given the bar settings and a copy
// of the editing deformation engine on its mode, and the windows tiled (command 57652 one above
// the other, 57651 side by side).
#pragma once

#include <vector>

#include "host/base/CFormViewInBar.h"
#include "module/bars/CPVXBarDeformPage.h"
#include "platform/ui/CDialog.h"

class CDeformEngine;
class CPVXView;

class CPVXBarMdShp : public CPVXBarDeformPage {
    DECLARE_DYNCREATE(CPVXBarMdShp)
public:
    enum : UINT {
        IDD = 10569,
        IDC_MULTI_MODE = 10961,
        IDC_LOAD = 10962,       // the modes
        IDC_COMP_X = 10963,     // radios Md-X, Md-Y, Md-Z, Md-XYZ, Md-XY, Md-YZ, Md-XZ in this order:
        IDC_COMP_Y = 10964,     // 10963 10964 10896 10966 10965 10967 10897
        IDC_COMP_Z = 10896,
        IDC_COMP_XYZ = 10966,
        IDC_COMP_XY = 10965,
        IDC_COMP_YZ = 10967,
        IDC_COMP_XZ = 10897,
        IDC_MODE_SHAPE = 10968,
        IDC_MODE_SHAPE_MORE = 10969,
        IDC_VALUES = 10970,
        IDC_VALUES_MORE = 10971,
        IDC_LEGEND = 10972,
        IDC_LEGEND_MORE = 10973,
        IDC_CONTOUR = 10974,
        IDC_CONTOUR_MORE = 10975,
        IDC_ANIMATION = 10976,
        IDC_ANIMATION_MORE = 10977,
        IDC_UNDEFORMED = 10898,
    };
    // Commands of the multi-mode display.
    enum : UINT {
        ID_RESULT_FRAME_NOTICE = 32773,  // to the frame of each result view
        ID_NEW_WINDOW = 57648,           // the class library's new window of the active view
        ID_TILE_SIDE_BY_SIDE = 57651,
        ID_TILE_ONE_ABOVE_OTHER = 57652,
    };

    CPVXBarMdShp();

    void ApplyOptions() override;
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;

    // The mode number of an item of the load list; 0 for none.
    int GetModeOfItem(int nItem) const;
    // The result views under the application's main window, in window order.
    static std::vector<CPVXView*> CollectResultViews();
    // Shows the modes (numbers) in one result view each, arranged side by side (0) or one above
    // the other (1). Returns the number of views that show a mode.
    int ShowModes(const std::vector<int>& modes, int nArrangement);

    int m_nRadio;        // component radio index 0..6
    int m_bModeShape;    // 10968

    void OnApplyModes();
    void OnComponent();
    void OnModeShapeBox();
    void OnContourBoxOfModes();
    void OnModeShapeDetails();
    void OnModeChange();
    void OnMultiMode();

protected:
    void TakeInitialValues() override;
    DECLARE_MESSAGE_MAP()
};

class CPVXMdShpDetDlg : public CDialog, public IHostControlNames {
    DECLARE_DYNAMIC(CPVXMdShpDetDlg)
public:
    enum : UINT {
        IDD = 10607,
        IDC_CUBIC = 11246,
        IDC_SCALE = 11247,
        IDC_CUBIC_FACTOR = 11248,
        IDC_APPLY_ON_OK = 11131,
    };
    explicit CPVXMdShpDetDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // The values into the engine (a scale or factor that is no number keeps the engine's), the
    // apply-on-OK box into the model, and with it on the page executed.
    void OnOK() override;
    std::vector<CBarControlName> GetControlNames() const override {
        return {{IDC_SCALE, "scale"}, {IDC_CUBIC, "cubic"}, {IDC_CUBIC_FACTOR, "cubic-factor"}, {IDC_APPLY_ON_OK, "apply-on-ok"}};
    }

    CPVXBarDlgBase* m_pPage;
    CPVXView* m_pView;
    CDeformEngine* m_pEngine;
    CString m_strScale;      // 11247
    int m_bCubic;            // 11246: the engine's beam deformation (exact curves)
    CString m_strFactor;     // 11248
    int m_bApplyOnOK;        // 11131, 1 initially
};

class CPVXMultiModeDlg : public CDialog {
    DECLARE_DYNAMIC(CPVXMultiModeDlg)
public:
    enum : UINT {
        IDD = 10609,
        IDC_MODES = 11249,
        IDC_SIDE_BY_SIDE = 11250,
        IDC_ONE_ABOVE_OTHER = 11251,
    };
    static constexpr int kMaxModes = 100;

    explicit CPVXMultiModeDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    CPVXMultiModeDlg* Self() { return this; }
    CPVXBarMdShp* m_pPage;            // the page whose load list is offered; may be null
    int m_nArrangement;               // 0 side by side, 1 one above the other
    int m_nCount;                     // selected items, at most kMaxModes
    int m_anSelected[kMaxModes];      // their indexes, in list order
};
